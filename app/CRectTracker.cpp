#include "app/CRectTracker.h"

#include "platform/CDC.h"

#include <algorithm>

void CRectTracker::SetRect(const CRect& rect)
{
    m_rect = rect;
    m_rect.NormalizeRect();
}

// The handles lie inside the frame, where the element draws them: corners,
// then the middles of the edges.
CRect CRectTracker::HandleRect(int hit) const
{
    const int s = kHandleSize;
    const int x[3] = {m_rect.left, (m_rect.left + m_rect.right - s) / 2, m_rect.right - s};
    const int y[3] = {m_rect.top, (m_rect.top + m_rect.bottom - s) / 2, m_rect.bottom - s};
    static const int column[8] = {0, 2, 2, 0, 1, 2, 1, 0};
    static const int row[8] = {0, 0, 2, 2, 0, 1, 2, 1};
    CRect r(x[column[hit]], y[row[hit]], x[column[hit]] + s, y[row[hit]] + s);
    r.InflateRect(kHandleSlack, kHandleSlack);
    return r;
}

int CRectTracker::HitTest(const CPoint& point) const
{
    if (m_rect.IsRectEmpty()) return hitNothing;
    for (int hit = hitTopLeft; hit <= hitLeft; ++hit)
        if (HandleRect(hit).PtInRect(point)) return hit;
    return m_rect.PtInRect(point) ? hitMiddle : hitNothing;
}

Qt::CursorShape CRectTracker::CursorOfHit(int hit)
{
    switch (hit) {
    case hitTopLeft:
    case hitBottomRight: return Qt::SizeFDiagCursor;
    case hitTopRight:
    case hitBottomLeft: return Qt::SizeBDiagCursor;
    case hitTop:
    case hitBottom: return Qt::SizeVerCursor;
    case hitLeft:
    case hitRight: return Qt::SizeHorCursor;
    case hitMiddle: return Qt::SizeAllCursor;
    default: return Qt::ArrowCursor;
    }
}

bool CRectTracker::Begin(const CPoint& point)
{
    m_hit = HitTest(point);
    m_start = point;
    m_startRect = m_rect;
    return m_hit != hitNothing;
}

void CRectTracker::Track(const CPoint& point)
{
    if (!IsTracking()) return;
    const int dx = point.x - m_start.x;
    const int dy = point.y - m_start.y;
    CRect r = m_startRect;
    if (m_hit == hitMiddle) {
        r.OffsetRect(dx, dy);
        m_rect = r;
        return;
    }
    if (m_hit == hitTopLeft || m_hit == hitBottomLeft || m_hit == hitLeft) r.left += dx;
    if (m_hit == hitTopRight || m_hit == hitBottomRight || m_hit == hitRight) r.right += dx;
    if (m_hit == hitTopLeft || m_hit == hitTopRight || m_hit == hitTop) r.top += dy;
    if (m_hit == hitBottomLeft || m_hit == hitBottomRight || m_hit == hitBottom) r.bottom += dy;
    // Dragging an edge across the opposite one flips the frame; it never
    // collapses to nothing, or the object could not be grabbed again.
    r.NormalizeRect();
    r.right = std::max(r.right, r.left + 1);
    r.bottom = std::max(r.bottom, r.top + 1);
    m_rect = r;
}

bool CRectTracker::End()
{
    const bool moved = IsTracking() && m_rect != m_startRect;
    m_hit = hitNothing;
    return moved;
}

void CRectTracker::Cancel()
{
    if (IsTracking()) m_rect = m_startRect;
    m_hit = hitNothing;
}

void CRectTracker::Draw(CDC* dc) const
{
    if (!dc || !IsTracking()) return;
    const CPen oldPen = dc->SelectPen(CPen{PS_DOT, 1, RGB(0, 0, 0)});
    const CBrush oldBrush = dc->SelectBrush(CBrush::Null());
    dc->Rectangle(m_rect.left, m_rect.top, m_rect.right, m_rect.bottom);
    dc->SelectBrush(oldBrush);
    dc->SelectPen(oldPen);
}
