// The ellipse's width and height prompt (dialog 182 "椭圆").
#pragma once

#include "ui/CShapeSizeDlg.h"

class CEllipseSizeDlg : public CShapeSizeDlg {
    Q_OBJECT
public:
    static constexpr int IDD = 182;
    explicit CEllipseSizeDlg(CVectorTool* tool, QWidget* parent = nullptr);
    ~CEllipseSizeDlg() override;
};
