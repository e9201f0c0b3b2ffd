#include "ui/CPolygonRadiusDlg.h"

CPolygonRadiusDlg::CPolygonRadiusDlg(CVectorTool* tool, QWidget* parent) : CLengthDlg(tool, IDD, parent) {}

CPolygonRadiusDlg::~CPolygonRadiusDlg() = default;
