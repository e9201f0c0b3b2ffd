// The rectangle and regular-polygon tool. In rectangle mode two clicks give
// opposite corners of an axis-parallel rectangle; in polygon mode the first
// click gives the centre and the second the radius and the direction of the
// first vertex, snapped to 45 degrees. Shift switches the mode, the digit
// keys set the number of sides (3 to 29; "1" or "2" wait for a second
// digit), Space zooms. With value dialogs on, the second point can be typed:
// width and height, or the polygon's circumradius. The result is a closed
// curve of corners.
//
// The symmetric-drawing tool owns one as a sub-tool: it reads the shape in
// progress for its mirrored preview and the element each click completed.
#pragma once

#include "tools/CTwoShapeTool.h"

#include "platform/CList.h"
#include "platform/Types.h"

class CVTSymmetricDraw;

class CVTRectangle : public CTwoShapeTool {
public:
    explicit CVTRectangle(CVEKView* view);
    // A sub-tool of the symmetric-drawing tool (`mirrorSide` nonzero).
    CVTRectangle(CVEKView* view, CVTSymmetricDraw* owner, int mirrorSide);
    ~CVTRectangle() override;

    void Reset() override;
    BOOL OnDigitDown(char digit) override;
    BOOL OnDigitUp(char digit) override;
    BOOL OnSpaceUp() override;
    BOOL OnLButtonDown(UINT flags, int x, int y) override;
    BOOL OnMouseMove(UINT flags, int x, int y) override;
    void Draw(CDC* dc, double scale, int originX, int originY, const CRect& rect) override;

    // The outline in progress: the four corners of the rubber band
    // (left-top, right-top, right-bottom, left-bottom) or the polygon's
    // vertices closed on the first one. 0 when no shape is under way.
    int GetShapePoints(CPointList& out) const;

    int IsRectMode() const { return m_bSecondShape ? 0 : 1; }
    int GetSides() const { return m_nSides; }
    double GetAngle() const { return m_dAngle; }

    static constexpr int kCursorRect = 174;
    static constexpr int kCursorPolygon = 187;
    static constexpr UINT kPromptRectFirst = 38037;
    static constexpr UINT kPromptRectSecond = 38038;
    static constexpr UINT kPromptPolygonCentre = 38021;
    static constexpr UINT kPromptPolygonRadius = 38022;
    static constexpr int kDefaultSides = 6;

private:
    void ShowModeState() override;
    void SnapPolygonAngle();
    void PolygonPoints(CPointList& out) const;
    BOOL RectangleClick(UINT flags, int x, int y);
    BOOL PolygonClick(UINT flags, int x, int y);
    bool AskRectangleSize();
    bool AskPolygonRadius();
    void CompleteRectangle(const CPoint& second);
    void CompletePolygon();
    void AddSizePrompts(int x, int y);

    CPoint m_ptRectA;
    CPoint m_ptRectB;
    CPoint m_ptCentre;
    CPoint m_ptRadius;
    int m_bDigitPending = 0;
    int m_nFirstDigit = 0;
    int m_nSides = kDefaultSides;
    double m_dAngle = 0.0;
};
