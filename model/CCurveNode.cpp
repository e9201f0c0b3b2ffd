#include "model/CCurveNode.h"

#include "geometry/Mapping.h"
#include "model/CSharedPoint.h"
#include "platform/CDC.h"

namespace {
// The marked node's dot, in pixels.
constexpr int kMarkRadius = 2;
}

unsigned CCurveNode::s_markChanges = 0;

CCurveNode::CCurveNode(CSharedPoint* point, int kind) : m_point(point), m_kind(kind) {}

CPoint CCurveNode::GetPosition() const
{
    return m_point ? m_point->GetPosition() : CPoint();
}

void CCurveNode::DrawMark(CDC* dc, double scale, int originX, int originY, const CRect&) const
{
    if (!m_mark || !dc) return;
    const CPoint p = GetPosition();
    const CPoint c = ModelToDevicePoint(p.x, p.y, scale, originX, originY);
    const int r = kMarkRadius;
    const CPen oldPen = dc->SelectPen(CPen{PS_SOLID, 1, RGB(0, 0, 0)});
    const CBrush oldBrush = dc->SelectBrush(CBrush::Solid(RGB(0, 0, 0)));
    // A node far off lies at the end of the device range, where the mark's
    // box stops.
    CRect box(c, c);
    box.InflateRect(r, r);
    dc->Ellipse(box.left, box.top, SumToInt(box.right, 1), SumToInt(box.bottom, 1));
    dc->SelectBrush(oldBrush);
    dc->SelectPen(oldPen);
}

void CCurveNode::CopyAttributes(const CCurveNode& other)
{
    m_kind = other.m_kind;
    m_mark = other.m_mark;
    ++s_markChanges;
}
