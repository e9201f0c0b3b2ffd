// A shape tool that draws one of two shapes, Shift switching between them:
// rectangle or regular polygon, ellipse or circle. One press is one switch
// (a held Shift repeats its press) and drops the shape under way; while
// Space zooms, Shift means zooming out instead and the shape stays.
#pragma once

#include "tools/CShapeTool.h"

class CTwoShapeTool : public CShapeTool {
public:
    ~CTwoShapeTool() override;

    void Activate() override;
    BOOL OnShiftDown() override;
    BOOL OnShiftUp() override;

protected:
    using CShapeTool::CShapeTool;

    // The cursor and the first prompt of the shape drawn now.
    virtual void ShowModeState() = 0;

    // Shift switched to the second shape (polygon, circle).
    int m_bSecondShape = 0;
};
