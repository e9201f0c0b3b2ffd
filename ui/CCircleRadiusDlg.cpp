#include "ui/CCircleRadiusDlg.h"

CCircleRadiusDlg::CCircleRadiusDlg(CVectorTool* tool, QWidget* parent) : CLengthDlg(tool, IDD, parent) {}

CCircleRadiusDlg::~CCircleRadiusDlg() = default;
