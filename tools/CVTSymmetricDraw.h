// The symmetric-drawing tool: drives one of nine drawing tools and mirrors
// what it draws. Sub-tool numbers: 0 open curve, 1 closed curve, 2 ruler,
// 3 rectangle, 4 ellipse, 5 freehand, 6 select, 7 zoom, 8 eraser.
#pragma once

#include "app/CVectorTool.h"

class CVTSymmetricDraw : public CVectorTool {
public:
    static constexpr int kSubToolCount = 9;

    explicit CVTSymmetricDraw(CVEKView* view);
    ~CVTSymmetricDraw() override;

    // Makes sub-tool n (0-8) current and remembers n; other numbers are
    // ignored.
    void SelectSubTool(int n);
    int GetSubToolIndex() const { return m_nSubTool; }

private:
    int m_nSubTool = 0;
};
