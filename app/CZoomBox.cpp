#include "app/CZoomBox.h"

#include "app/CDesignTool.h"
#include "app/CVEKView.h"

#include <algorithm>

namespace {

bool ZoomsOut(UINT flags)
{
    return (flags & (MK_SHIFT | MK_CONTROL)) != 0;
}

} // namespace

void CZoomBox::Hold()
{
    if (m_bHeld) return;
    m_bHeld = 1;
    m_step = 0;
}

void CZoomBox::Release()
{
    m_bHeld = 0;
    m_step = 0;
}

CZoomBox::Click CZoomBox::OnLButtonDown(CVEKView* view, UINT flags, int x, int y)
{
    if (!IsCornerPlaced() && ZoomsOut(flags)) {
        if (view) view->ZoomAt(kZoomOutFactor, x, y);
        return Click::ZoomedOut;
    }
    if (!IsCornerPlaced()) {
        m_ptStart = m_ptEnd = CPoint(x, y);
        m_step = 1;
        return Click::CornerPlaced;
    }
    m_step = 0;
    m_ptEnd = CPoint(x, y);
    // The far edges are widened by one unit so that two clicks on the same
    // point still span a rectangle.
    if (view)
        view->ZoomToRect(std::min(m_ptStart.x, m_ptEnd.x), std::min(m_ptStart.y, m_ptEnd.y),
                         std::max(m_ptStart.x, m_ptEnd.x) + 1, std::max(m_ptStart.y, m_ptEnd.y) + 1);
    return Click::ZoomedToBox;
}

void CZoomBox::OnRButtonDown(CVEKView* view, UINT flags, int y)
{
    if (!view) return;
    if (ZoomsOut(flags))
        view->FitPageWidthAt(y);
    else
        view->ZoomToFitPage();
}

bool CZoomBox::OnMouseMove(int x, int y)
{
    if (!IsCornerPlaced()) return false;
    const bool moved = m_ptEnd != CPoint(x, y);
    m_ptEnd = CPoint(x, y);
    return moved;
}

int CZoomBox::CursorFor(UINT flags)
{
    return ZoomsOut(flags) ? kCursorZoomOut : kCursorZoomIn;
}

void CZoomBox::Draw(CDC* dc, double scale, int originX, int originY) const
{
    if (IsCornerPlaced())
        CDesignTool::DrawRubberRect(dc, m_ptStart.x, m_ptStart.y, m_ptEnd.x, m_ptEnd.y, scale, originX, originY);
}
