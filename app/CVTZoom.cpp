#include "app/CVTZoom.h"

#include "app/CVEKView.h"

#include <algorithm>

namespace {

bool ShiftOrCtrl(UINT flags)
{
    return (flags & (MK_SHIFT | MK_CONTROL)) != 0;
}

} // namespace

CVTZoom::CVTZoom(CVEKView* view) : CVectorTool(view) {}

CVTZoom::~CVTZoom() = default;

void CVTZoom::SetCursor(int cursorId) const
{
    if (m_pView) m_pView->SetToolCursor(cursorId);
}

void CVTZoom::Activate()
{
    CVectorTool::Activate();
    SetCursor(kZoomInCursor);
}

void CVTZoom::Deactivate()
{
    CVectorTool::Deactivate();
    InvalidateFeedback();
}

void CVTZoom::Reset()
{
    CVectorTool::Reset();
    ShowPrompt(kPrompt);
}

BOOL CVTZoom::OnShiftDown()
{
    if (!IsCornerPlaced()) SetCursor(kZoomOutCursor);
    return TRUE;
}

BOOL CVTZoom::OnShiftUp()
{
    SetCursor(kZoomInCursor);
    return TRUE;
}

BOOL CVTZoom::OnCtrlDown()
{
    return OnShiftDown();
}

BOOL CVTZoom::OnCtrlUp()
{
    return OnShiftUp();
}

BOOL CVTZoom::OnLButtonDown(UINT flags, int x, int y)
{
    if (IsCornerPlaced()) {
        ZoomToSpannedRect(CPoint(x, y));
        return TRUE;
    }
    if (ShiftOrCtrl(flags)) {
        if (m_pView) m_pView->ZoomAt(kZoomOutFactor, x, y);
        Reset();
        InvalidateView();
        return TRUE;
    }
    m_ptStart = m_ptCurrent = CPoint(x, y);
    m_nStep = 1;
    return TRUE;
}

void CVTZoom::ZoomToSpannedRect(const CPoint& corner)
{
    m_nStep = 0;
    // The far edges are widened by one unit so that two clicks on the same
    // point still span a rectangle.
    const int left = std::min(m_ptStart.x, corner.x);
    const int right = std::max(m_ptStart.x, corner.x) + 1;
    const int top = std::min(m_ptStart.y, corner.y);
    const int bottom = std::max(m_ptStart.y, corner.y) + 1;
    if (m_pView) m_pView->ZoomToRect(left, top, right, bottom);
    Reset();
    InvalidateFeedback();
}

BOOL CVTZoom::OnLButtonUp(UINT, int, int)
{
    return FALSE;
}

BOOL CVTZoom::OnRButtonDown(UINT flags, int x, int y)
{
    if (m_pView) {
        if (ShiftOrCtrl(flags))
            m_pView->FitPageWidthAt(y);
        else
            m_pView->ZoomToFitPage();
    }
    Reset();
    InvalidateFeedback();
    return TRUE;
}

BOOL CVTZoom::OnRButtonUp(UINT, int, int)
{
    return FALSE;
}

BOOL CVTZoom::OnMouseMove(UINT flags, int x, int y)
{
    bool moved = false;
    if (IsCornerPlaced()) {
        moved = m_ptCurrent != CPoint(x, y);
        m_ptCurrent = CPoint(x, y);
        InvalidateFeedback();
    }
    SetCursor(ShiftOrCtrl(flags) ? kZoomOutCursor : kZoomInCursor);
    ShowPrompt(kPrompt);
    return moved ? TRUE : FALSE;
}

void CVTZoom::Cancel()
{
    Reset();
    InvalidateFeedback();
}

BOOL CVTZoom::UndoStep()
{
    Cancel();
    return TRUE;
}

BOOL CVTZoom::HasPendingStep()
{
    return CVectorTool::HasPendingStep() || IsCornerPlaced();
}

void CVTZoom::Draw(CDC* dc, double scale, int originX, int originY, const CRect&)
{
    if (IsCornerPlaced())
        DrawRubberRect(dc, m_ptStart.x, m_ptStart.y, m_ptCurrent.x, m_ptCurrent.y, scale, originX, originY);
}
