#include "app/CVTZoom.h"

#include "app/CVEKView.h"

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
    if (!m_box.IsCornerPlaced()) SetCursor(kZoomOutCursor);
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
    switch (m_box.OnLButtonDown(m_pView, flags, x, y)) {
    case CZoomBox::Click::CornerPlaced: break;
    case CZoomBox::Click::ZoomedOut:
        Reset();
        InvalidateView();
        break;
    case CZoomBox::Click::ZoomedToBox:
        Reset();
        InvalidateFeedback();
        break;
    }
    return TRUE;
}

BOOL CVTZoom::OnLButtonUp(UINT, int, int)
{
    return FALSE;
}

BOOL CVTZoom::OnRButtonDown(UINT flags, int, int y)
{
    CZoomBox::OnRButtonDown(m_pView, flags, y);
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
    const bool moved = m_box.OnMouseMove(x, y);
    if (m_box.IsCornerPlaced()) InvalidateFeedback();
    SetCursor(CZoomBox::CursorFor(flags));
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
    return CVectorTool::HasPendingStep() || m_box.IsCornerPlaced();
}

void CVTZoom::Draw(CDC* dc, double scale, int originX, int originY, const CRect&)
{
    m_box.Draw(dc, scale, originX, originY);
}
