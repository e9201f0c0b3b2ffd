#include "app/CSpaceZoom.h"

#include "app/CDesignTool.h"
#include "app/CVEKView.h"

void CSpaceZoom::SetCursor(int cursor) const
{
    if (CVEKView* view = m_tool.GetView()) view->SetToolCursor(cursor);
}

void CSpaceZoom::Hold(bool shiftHeld)
{
    m_box.Hold();
    SetCursor(shiftHeld ? CZoomBox::kCursorZoomOut : CZoomBox::kCursorZoomIn);
    m_tool.ShowPrompt(CZoomBox::kPrompt);
    m_tool.InvalidateFeedback();
}

bool CSpaceZoom::Track(UINT flags, int x, int y)
{
    const bool moved = m_box.OnMouseMove(x, y);
    SetCursor(CZoomBox::CursorFor(flags));
    m_tool.ShowPrompt(CZoomBox::kPrompt);
    return moved;
}

void CSpaceZoom::OnMouseMove(UINT flags, int x, int y)
{
    Track(flags, x, y);
    m_tool.InvalidateFeedback();
}

CZoomBox::Click CSpaceZoom::Click(UINT flags, int x, int y)
{
    return m_box.OnLButtonDown(m_tool.GetView(), flags, x, y);
}

void CSpaceZoom::OnLButtonDown(UINT flags, int x, int y)
{
    if (Click(flags, x, y) == CZoomBox::Click::CornerPlaced)
        m_tool.InvalidateFeedback();
    else
        m_tool.InvalidateView();
}

void CSpaceZoom::OnRButtonDown(UINT flags, int y)
{
    CZoomBox::OnRButtonDown(m_tool.GetView(), flags, y);
    m_tool.InvalidateView();
}
