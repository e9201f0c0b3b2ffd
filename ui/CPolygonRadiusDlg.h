// The regular polygon's circumradius prompt (dialog 188): a length prompt
// from the centre to the first vertex.
#pragma once

#include "ui/CLengthDlg.h"

class CPolygonRadiusDlg : public CLengthDlg {
    Q_OBJECT
public:
    static constexpr int IDD = 188;
    explicit CPolygonRadiusDlg(CVectorTool* tool, QWidget* parent = nullptr);
    ~CPolygonRadiusDlg() override;
};
