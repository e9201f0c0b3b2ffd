// The circle's radius prompt (dialog 185 "圆"): a length prompt from the
// centre to the rim point.
#pragma once

#include "ui/CLengthDlg.h"

class CCircleRadiusDlg : public CLengthDlg {
    Q_OBJECT
public:
    static constexpr int IDD = 185;
    explicit CCircleRadiusDlg(CVectorTool* tool, QWidget* parent = nullptr);
    ~CCircleRadiusDlg() override;
};
