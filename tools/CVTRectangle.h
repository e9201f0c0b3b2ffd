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

#include "app/CCapturePoint.h"
#include "app/CVectorTool.h"
#include "app/CZoomBox.h"

#include "platform/CList.h"
#include "platform/Types.h"

#include <functional>

class CCurveElement;
class CGraphElement;
class CVTSymmetricDraw;

class CVTRectangle : public CVectorTool {
public:
    explicit CVTRectangle(CVEKView* view);
    // A sub-tool of the symmetric-drawing tool (`mirrorSide` nonzero).
    CVTRectangle(CVEKView* view, CVTSymmetricDraw* owner, int mirrorSide);
    ~CVTRectangle() override;

    void Activate() override;
    void Deactivate() override;
    void Reset() override;
    BOOL OnShiftDown() override;
    BOOL OnShiftUp() override;
    BOOL OnDigitDown(char digit) override;
    BOOL OnDigitUp(char digit) override;
    BOOL OnSpaceDown() override;
    BOOL OnSpaceUp() override;
    BOOL OnLButtonDown(UINT flags, int x, int y) override;
    BOOL OnLButtonUp(UINT flags, int x, int y) override;
    BOOL OnRButtonDown(UINT flags, int x, int y) override;
    BOOL OnMouseMove(UINT flags, int x, int y) override;
    void Cancel() override;
    BOOL UndoStep() override;
    BOOL HasPendingStep() override;
    void Draw(CDC* dc, double scale, int originX, int originY, const CRect& rect) override;

    // The outline in progress: the four corners of the rubber band
    // (left-top, right-top, right-bottom, left-bottom) or the polygon's
    // vertices closed on the first one. 0 when no shape is under way.
    int GetShapePoints(CPointList& out) const;
    // The curve the last completing click made; null when that click made
    // nothing (cancelled, refused, degenerate). Cleared at every such click.
    CGraphElement* GetLastElement() const { return m_pLastElement; }
    // Called with each curve the tool puts on the page.
    void SetCompletionHandler(std::function<void(CCurveElement*)> handler) { m_onComplete = std::move(handler); }
    CVTSymmetricDraw* GetOwner() const { return m_pOwner; }

    int IsRectMode() const { return m_bRectMode; }
    int IsZoomMode() const { return m_zoomBox.IsHeld(); }
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
    void ShowModeState();
    void SnapPolygonAngle();
    void PolygonPoints(CPointList& out) const;
    BOOL RectangleClick(UINT flags, int x, int y);
    BOOL PolygonClick(UINT flags, int x, int y);
    bool AskRectangleSize();
    bool AskPolygonRadius();
    void CompleteRectangle(const CPoint& second);
    void CompletePolygon();
    void Complete(CCurveElement* curve);
    void AddSizePrompts(int x, int y);

    CGraphElement* m_pLastElement = nullptr;
    CVTSymmetricDraw* m_pOwner = nullptr;
    int m_bMirrorSide = 0;
    int m_bRectMode = 1;
    int m_nZoomStep = 0;
    CZoomBox m_zoomBox{m_nZoomStep};
    CCapturePoint m_ptStart;
    CPoint m_ptRectA;
    CPoint m_ptRectB;
    CPoint m_ptCentre;
    CPoint m_ptRadius;
    int m_bDigitPending = 0;
    int m_nFirstDigit = 0;
    int m_nSides = kDefaultSides;
    double m_dAngle = 0.0;
    int m_bShiftHeld = 0;
    std::function<void(CCurveElement*)> m_onComplete;
};
