// The offset-line tool: one to nine curves parallel to a picked curve
// (seam allowances), or in its second mode one to nine moved copies of it.
// The first click picks the curve under the cursor; moving the mouse sets
// the distance (the side of the curve the mouse is on chooses the side) or
// the displacement, with a live preview; the second click creates the
// curves. The digit keys set how many (0 counts as 1), the tool bar's
// offset distance the spacing between them; Shift switches the mode; Space
// zooms. With value dialogs on, the second click asks for the distance or
// the length of the move, and Cancel there creates nothing.
//
// The new curves take the tool bar's current line type, and the picked
// curve's colour and, for an open curve, its arrowheads. Each has points of
// its own.
#pragma once

#include "app/CVectorTool.h"
#include "app/CSpaceZoom.h"

#include "geometry/CNodePoint.h"
#include "platform/CList.h"
#include "platform/Types.h"

#include <vector>

class CCurveElement;

class CVTOffsetLine : public CVectorTool {
public:
    explicit CVTOffsetLine(CVEKView* view);
    ~CVTOffsetLine() override;

    void Activate() override;
    void Deactivate() override;
    void Reset() override;
    BOOL OnShiftDown() override;
    BOOL OnShiftUp() override;
    BOOL OnSpaceDown() override;
    BOOL OnSpaceUp() override;
    BOOL OnDigitDown(char digit) override;
    BOOL OnDigitUp(char digit) override;
    BOOL OnLButtonDown(UINT flags, int x, int y) override;
    BOOL OnLButtonUp(UINT flags, int x, int y) override;
    BOOL OnRButtonDown(UINT flags, int x, int y) override;
    BOOL OnRButtonUp(UINT flags, int x, int y) override;
    BOOL OnMouseMove(UINT flags, int x, int y) override;
    void Cancel() override;
    BOOL UndoStep() override;
    BOOL HasPendingStep() override;
    void Draw(CDC* dc, double scale, int originX, int originY, const CRect& rect) override;

    // The signed distance of the first offset line (page units); the
    // length prompt sets it as the user types.
    void SetDistance(int distance) override { m_nDistance = distance; }
    int GetDistance() const { return m_nDistance; }
    // The distance from the picked curve to the point, negative on the
    // side a negative offset goes to.
    void UpdateDistance(const CPoint& point);
    void ComputeOffsetLines();
    void ComputeMoveCopies();

    int IsPicked() const { return m_bPicked; }
    int IsMoveCopyMode() const { return m_bMoveCopy; }
    int IsZoomMode() const { return m_zoom.IsHeld(); }
    CCurveElement* GetCurve() const { return m_pCurve; }
    const std::vector<CNodePointList>& GetOffsetNodes() const { return m_offsetNodes; }
    const std::vector<CPointList>& GetPreviews() const { return m_previews; }

    static constexpr int kCursorOffset = 190;
    static constexpr int kCursorMoveCopy = 244;
    static constexpr UINT kPromptPickOffset = 38023;
    static constexpr UINT kPromptPickMoveCopy = 38061;
    static constexpr UINT kPromptPlaceOffset = 38024;
    static constexpr UINT kPromptPlaceMoveCopy = 38062;

private:
    int ModeCursor() const { return m_bMoveCopy ? kCursorMoveCopy : kCursorOffset; }
    UINT ModePrompt() const;
    void Recompute();
    // The picked curve's nodes; a closed curve's first node once more at
    // the end when `closeRing`.
    CNodePointList CurveNodes(bool closeRing) const;
    // Asks for the distance or the length of the move; false on Cancel.
    bool AskValue();
    void CreateCurves();
    static int LineCount();

    int m_bPicked = 0;
    int m_bDialogOpen = 0;
    CCurveElement* m_pCurve = nullptr;
    int m_nDistance = 0;
    std::vector<CNodePointList> m_offsetNodes;
    std::vector<CPointList> m_previews;
    int m_bMoveCopy = 0;
    CPoint m_ptDragStart;
    CPoint m_ptDragEnd;
    int m_nZoomStep = 0;
    CSpaceZoom m_zoom{*this, m_nZoomStep};
    int m_bAxisLock = 1;
    int m_bShiftHeld = 0;
};
