// The cut and join tool. In cut mode (the mode it starts in) the user
// picks a curve and then a point on it: an open curve becomes two open
// curves that end there, on two new points, so that they no longer move
// together; a closed curve becomes one open curve that starts and ends
// there. In join mode the user picks two open curves and they become one
// through both, joined at their nearest ends; picking one open curve twice
// closes it. Shift switches the mode, Space zooms. Each cut or join is one
// undo step.
#pragma once

#include "app/CVectorTool.h"
#include "app/CSpaceZoom.h"

#include "platform/Types.h"

class CCurveElement;

class CVTCutJoinLines : public CVectorTool {
public:
    static constexpr int kCursorCut = 191;
    static constexpr int kCursorJoin = 214;
    static constexpr UINT kPromptPickCut = 38025;
    static constexpr UINT kPromptCutPoint = 38026;
    static constexpr UINT kPromptJoin = 38042;

    explicit CVTCutJoinLines(CVEKView* view);
    ~CVTCutJoinLines() override;

    void Deactivate() override;
    void Reset() override;
    BOOL OnShiftDown() override;
    BOOL OnShiftUp() override;
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

    // Cuts the first curve at the cut point (the undo step taken first).
    // False, with nothing changed and no step, when the cut would leave a
    // part of a single node (a cut at an end of an open curve).
    bool CutCurve();

    int IsCutMode() const { return m_bCutMode; }
    int IsZoomMode() const { return m_zoom.IsHeld(); }
    CCurveElement* GetFirstCurve() const { return m_pFirstCurve; }

private:
    int ModeCursor() const { return m_bCutMode ? kCursorCut : kCursorJoin; }
    void ShowModeState();
    void JoinCurves();
    void CloseCurve(CCurveElement* curve);
    // Takes the element off the current page and deletes it.
    void Discard(CCurveElement* curve);

    int m_bCutMode = 1;
    CCurveElement* m_pFirstCurve = nullptr;
    CCurveElement* m_pSecondCurve = nullptr;
    CPoint m_ptCut;
    int m_bCutPointValid = 0;
    int m_nZoomStep = 0;
    CSpaceZoom m_zoom{*this, m_nZoomStep};
    int m_bShiftHeld = 0;
};
