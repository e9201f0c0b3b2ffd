#include "ui/CEllipseSizeDlg.h"

CEllipseSizeDlg::CEllipseSizeDlg(CVectorTool* tool, QWidget* parent) : CShapeSizeDlg(tool, IDD, parent) {}

CEllipseSizeDlg::~CEllipseSizeDlg() = default;
