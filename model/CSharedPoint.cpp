#include "model/CSharedPoint.h"

#include "geometry/Lines.h"
#include "model/CPage.h"
#include "platform/CArchive.h"

#include <unordered_set>
#include <vector>

CSharedPoint::CSharedPoint(CPage* owner) : m_owner(owner) {}

CSharedPoint::CSharedPoint(CPage* owner, int x, int y) : m_owner(owner), m_position(x, y) {}

CSharedPoint::CSharedPoint(CPage* owner, CSharedPoint* source, CSharedPoint* axis1,
                           CSharedPoint* axis2)
    : m_owner(owner), m_source(source), m_axis1(axis1), m_axis2(axis2)
{
}

namespace {

// The reflection of `source` across the line through the axis points; a
// point stays where it was when its axis is missing or has no direction.
CPoint Reflect(const CPoint& source, const CSharedPoint* axis1, const CSharedPoint* axis2,
               const CPoint& fallback)
{
    if (!axis1 || !axis2) return fallback;
    const CPoint a = axis1->GetPosition();
    const CPoint b = axis2->GetPosition();
    if (a == b) return fallback;
    CPoint mirrored = fallback;
    MirrorPointAcrossPoints(source.x, source.y, a.x, a.y, b.x, b.y, mirrored);
    return mirrored;
}

}  // namespace

CPoint CSharedPoint::GetPosition() const
{
    if (!m_positionDirty || !m_source || m_evaluating) {
        if (!m_evaluating) m_positionDirty = 0;
        return m_position;
    }

    // Mirror chains may be deep; compute them with an explicit stack, each
    // point after the points it depends on. A point met again while it is
    // being computed (a cycle made at run time) gives its cached place.
    std::vector<const CSharedPoint*> stack{this};
    m_evaluating = true;
    while (!stack.empty()) {
        const CSharedPoint* p = stack.back();
        const CSharedPoint* pending = nullptr;
        for (const CSharedPoint* dep : {static_cast<const CSharedPoint*>(p->m_source),
                                         static_cast<const CSharedPoint*>(p->m_axis1),
                                         static_cast<const CSharedPoint*>(p->m_axis2)}) {
            if (dep && dep->m_positionDirty && dep->m_source && !dep->m_evaluating) {
                pending = dep;
                break;
            }
        }
        if (pending) {
            pending->m_evaluating = true;
            stack.push_back(pending);
            continue;
        }
        // Every dependency is clean, plain or in progress now.
        const CPoint source = p->m_source->m_position;
        const CSharedPoint* a1 = p->m_axis1;
        const CSharedPoint* a2 = p->m_axis2;
        for (const CSharedPoint* dep : {static_cast<const CSharedPoint*>(p->m_source), a1, a2})
            if (dep && !dep->m_evaluating) dep->m_positionDirty = 0;
        CPoint result = p->m_position;
        if (a1 && a2 && a1->m_position != a2->m_position)
            MirrorPointAcrossPoints(source.x, source.y, a1->m_position.x, a1->m_position.y,
                                    a2->m_position.x, a2->m_position.y, result);
        p->m_position = result;
        p->m_positionDirty = 0;
        p->m_evaluating = false;
        stack.pop_back();
    }
    return m_position;
}

void CSharedPoint::SetPlainPosition(int x, int y, int notify)
{
    m_position = CPoint(x, y);
    if (notify && m_owner) m_owner->InvalidateElementsUsingPoint(this);
}

void CSharedPoint::MoveTo(int x, int y, int notify)
{
    if (!m_source) {
        SetPlainPosition(x, y, notify);
        return;
    }
    // This point follows once the root has moved.
    m_positionDirty = 1;
    if (m_owner) m_owner->InvalidateElementsUsingPoint(this);
    // Walk up to the root, reflecting the target across each axis on the
    // way; a cycle made at run time has no root and moves nothing.
    CPoint target(x, y);
    CSharedPoint* p = this;
    std::unordered_set<const CSharedPoint*> seen;
    while (p->m_source) {
        if (!seen.insert(p).second) return;
        target = Reflect(target, p->m_axis1, p->m_axis2, target);
        p = p->m_source;
    }
    if (p->GetPosition() != target) p->SetPlainPosition(target.x, target.y, notify);
}

void CSharedPoint::GetMirror(CSharedPoint*& source, CSharedPoint*& axis1,
                             CSharedPoint*& axis2) const
{
    source = m_source;
    axis1 = m_axis1;
    axis2 = m_axis2;
}

void CSharedPoint::GetMirrorAxis(CSharedPoint*& axis1, CSharedPoint*& axis2) const
{
    axis1 = m_axis1;
    axis2 = m_axis2;
}

void CSharedPoint::SetMirror(CSharedPoint* source, CSharedPoint* axis1, CSharedPoint* axis2)
{
    m_source = source;
    m_axis1 = axis1;
    m_axis2 = axis2;
}

int CSharedPoint::DependsOn(const CSharedPoint* point) const
{
    return point && (m_source == point || m_axis1 == point || m_axis2 == point) ? 1 : 0;
}

int CSharedPoint::Load(CArchive& ar)
{
    const int version = m_owner ? m_owner->GetRecordVersion() : 107;
    m_linkAxis1 = m_linkAxis2 = m_linkSource = -1;
    std::uint32_t mirrored = 0;
    if (version > 101) ar >> mirrored;
    if (mirrored) {
        std::int32_t a1 = 0, a2 = 0, src = 0;
        ar >> a1 >> a2 >> src;
        m_linkAxis1 = a1;
        m_linkAxis2 = a2;
        m_linkSource = src;
    } else {
        ar >> m_position;
    }
    m_positionDirty = 1;
    return 1;
}

int CSharedPoint::Store(CArchive& ar) const
{
    const int axis1 = m_owner && m_source ? m_owner->GetPointIndex(m_axis1) : -1;
    const int axis2 = m_owner && m_source ? m_owner->GetPointIndex(m_axis2) : -1;
    const int source = m_owner && m_source ? m_owner->GetPointIndex(m_source) : -1;
    if (axis1 >= 0 && axis2 >= 0 && source >= 0) {
        ar << std::uint32_t(1);
        ar << std::int32_t(axis1) << std::int32_t(axis2) << std::int32_t(source);
    } else {
        // A mirror whose points are not all in the pool could not be read
        // back; keep its place as a plain point instead.
        ar << std::uint32_t(0);
        ar << GetPosition();
    }
    return 1;
}

int CSharedPoint::ResolveLinks()
{
    m_source = m_axis1 = m_axis2 = nullptr;
    // Older files hold mirrored points whose first axis point was lost
    // (number -1); they are read as plain points.
    if (m_linkAxis1 == -1) return 1;
    CSharedPoint* axis1 = m_owner ? m_owner->GetPointAt(m_linkAxis1) : nullptr;
    CSharedPoint* axis2 = m_owner ? m_owner->GetPointAt(m_linkAxis2) : nullptr;
    CSharedPoint* source = m_owner ? m_owner->GetPointAt(m_linkSource) : nullptr;
    if (!axis1 || !axis2 || !source) return 0;
    SetMirror(source, axis1, axis2);
    m_positionDirty = 1;
    return 1;
}

void CSharedPoint::CopyDefinition(const CSharedPoint& other)
{
    m_position = other.GetPosition();
    m_linkAxis1 = m_linkAxis2 = m_linkSource = -1;
    if (other.m_source && other.m_owner) {
        m_linkAxis1 = other.m_owner->GetPointIndex(other.m_axis1);
        m_linkAxis2 = other.m_owner->GetPointIndex(other.m_axis2);
        m_linkSource = other.m_owner->GetPointIndex(other.m_source);
    }
    m_positionDirty = 1;
}
