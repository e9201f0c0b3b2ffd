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
    : m_owner(owner)
{
    // Until its first reflection (and for good across an axis without a
    // direction) the point stands on its source, never at the origin.
    if (source) m_position = source->GetPosition();
    SetMirror(source, axis1, axis2);
}

CSharedPoint::Links& CSharedPoint::MakeLinks()
{
    if (!m_links) m_links = std::make_unique<Links>();
    return *m_links;
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
    if (!m_positionDirty || !Source() || m_evaluating) {
        // Only a change is written, so that reading clean points from
        // several threads at once is safe.
        if (!m_evaluating && m_positionDirty) m_positionDirty = false;
        return m_position;
    }

    // Mirror chains may be deep; compute them with an explicit stack, each
    // point after the points it depends on. A point met again while it is
    // being computed (a cycle made at run time) gives its cached place.
    std::vector<const CSharedPoint*> stack{this};
    m_evaluating = true;
    while (!stack.empty()) {
        const CSharedPoint* p = stack.back();
        const Links& links = *p->m_links;
        const CSharedPoint* pending = nullptr;
        for (const CSharedPoint* dep : {static_cast<const CSharedPoint*>(links.source),
                                         static_cast<const CSharedPoint*>(links.axis1),
                                         static_cast<const CSharedPoint*>(links.axis2)}) {
            if (dep && dep->m_positionDirty && dep->Source() && !dep->m_evaluating) {
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
        const CPoint source = links.source->m_position;
        const CSharedPoint* a1 = links.axis1;
        const CSharedPoint* a2 = links.axis2;
        for (const CSharedPoint* dep : {static_cast<const CSharedPoint*>(links.source), a1, a2})
            if (dep && !dep->m_evaluating) dep->m_positionDirty = false;
        CPoint result = p->m_position;
        if (a1 && a2 && a1->m_position != a2->m_position)
            MirrorPointAcrossPoints(source.x, source.y, a1->m_position.x, a1->m_position.y,
                                    a2->m_position.x, a2->m_position.y, result);
        p->m_position = result;
        p->m_positionDirty = false;
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
    if (!Source()) {
        SetPlainPosition(x, y, notify);
        return;
    }
    // This point follows once the root has moved.
    m_positionDirty = true;
    if (m_owner) m_owner->InvalidateElementsUsingPoint(this);
    // Walk up to the root, reflecting the target across each axis on the
    // way; a cycle made at run time has no root and moves nothing.
    CPoint target(x, y);
    CSharedPoint* p = this;
    std::unordered_set<const CSharedPoint*> seen;
    while (p->Source()) {
        if (!seen.insert(p).second) return;
        target = Reflect(target, p->m_links->axis1, p->m_links->axis2, target);
        p = p->m_links->source;
    }
    if (p->GetPosition() != target) p->SetPlainPosition(target.x, target.y, notify);
}

void CSharedPoint::GetMirror(CSharedPoint*& source, CSharedPoint*& axis1,
                             CSharedPoint*& axis2) const
{
    const bool linked = m_links && !m_links->missing;
    source = linked ? m_links->source : nullptr;
    axis1 = linked ? m_links->axis1 : nullptr;
    axis2 = linked ? m_links->axis2 : nullptr;
}

void CSharedPoint::GetMirrorAxis(CSharedPoint*& axis1, CSharedPoint*& axis2) const
{
    const bool linked = m_links && !m_links->missing;
    axis1 = linked ? m_links->axis1 : nullptr;
    axis2 = linked ? m_links->axis2 : nullptr;
}

void CSharedPoint::SetMirror(CSharedPoint* source, CSharedPoint* axis1, CSharedPoint* axis2)
{
    if (!source && !axis1 && !axis2 && !m_links) return;
    Links& links = MakeLinks();
    links.source = source;
    links.axis1 = axis1;
    links.axis2 = axis2;
    links.missing = false;
    links.mirroredRecord = false;
}

int CSharedPoint::DependsOn(const CSharedPoint* point) const
{
    return point && m_links &&
                   (m_links->source == point || m_links->axis1 == point || m_links->axis2 == point)
               ? 1
               : 0;
}

int CSharedPoint::Load(CArchive& ar)
{
    const int version = m_owner ? m_owner->GetRecordVersion() : 107;
    if (m_links) {
        m_links->linkAxis1 = m_links->linkAxis2 = m_links->linkSource = -1;
        m_links->mirroredRecord = false;
    }
    std::uint32_t mirrored = 0;
    if (version > 101) ar >> mirrored;
    if (mirrored) {
        std::int32_t a1 = 0, a2 = 0, src = 0;
        ar >> a1 >> a2 >> src;
        Links& links = MakeLinks();
        links.linkAxis1 = a1;
        links.linkAxis2 = a2;
        links.linkSource = src;
        links.mirroredRecord = true;
    } else {
        ar >> m_position;
    }
    m_positionDirty = true;
    return 1;
}

int CSharedPoint::StoredLinkNumber(const CSharedPoint* linked, int number) const
{
    if (linked) return m_owner->GetPointIndex(linked);
    // A number that still names no point goes back as it was read; one the
    // pool has grown to reach would link a stranger, so it becomes -1.
    const bool stillMissing = number < 0 || number >= int(m_owner->Points().size());
    return stillMissing ? number : -1;
}

int CSharedPoint::Store(CArchive& ar) const
{
    if (m_owner && HasMissingLink()) {
        const Links& links = *m_links;
        ar << std::uint32_t(1);
        ar << std::int32_t(StoredLinkNumber(links.axis1, links.linkAxis1))
           << std::int32_t(StoredLinkNumber(links.axis2, links.linkAxis2))
           << std::int32_t(StoredLinkNumber(links.source, links.linkSource));
        return 1;
    }
    const bool mirrored = m_owner && Source();
    const int axis1 = mirrored ? m_owner->GetPointIndex(m_links->axis1) : -1;
    const int axis2 = mirrored ? m_owner->GetPointIndex(m_links->axis2) : -1;
    const int source = mirrored ? m_owner->GetPointIndex(m_links->source) : -1;
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
    if (!m_links) return 1;
    Links& links = *m_links;
    links.source = links.axis1 = links.axis2 = nullptr;
    links.missing = false;
    if (!links.mirroredRecord) return 1;
    links.axis1 = m_owner ? m_owner->GetPointAt(links.linkAxis1) : nullptr;
    links.axis2 = m_owner ? m_owner->GetPointAt(links.linkAxis2) : nullptr;
    links.source = m_owner ? m_owner->GetPointAt(links.linkSource) : nullptr;
    // The original program deletes axis points that are still in use, so
    // files hold such points: the point stays where it is.
    links.missing = !links.axis1 || !links.axis2 || !links.source;
    m_positionDirty = true;
    return 1;
}

void CSharedPoint::CopyDefinition(const CSharedPoint& other)
{
    m_position = other.GetPosition();
    if (m_links) {
        m_links->linkAxis1 = m_links->linkAxis2 = m_links->linkSource = -1;
        m_links->mirroredRecord = false;
    }
    if (other.m_owner && other.HasMissingLink()) {
        // The copy names what the original named, so it writes the same.
        const Links& from = *other.m_links;
        Links& links = MakeLinks();
        links.linkAxis1 = other.StoredLinkNumber(from.axis1, from.linkAxis1);
        links.linkAxis2 = other.StoredLinkNumber(from.axis2, from.linkAxis2);
        links.linkSource = other.StoredLinkNumber(from.source, from.linkSource);
        links.mirroredRecord = true;
    } else if (other.Source() && other.m_owner) {
        const int axis1 = other.m_owner->GetPointIndex(other.m_links->axis1);
        const int axis2 = other.m_owner->GetPointIndex(other.m_links->axis2);
        const int source = other.m_owner->GetPointIndex(other.m_links->source);
        // A mirror reaching outside its pool is stored as its place, and so
        // is copied.
        if (axis1 >= 0 && axis2 >= 0 && source >= 0) {
            Links& links = MakeLinks();
            links.linkAxis1 = axis1;
            links.linkAxis2 = axis2;
            links.linkSource = source;
            links.mirroredRecord = true;
        }
    }
    m_positionDirty = true;
}
