#include "model/CGraphElement.h"

#include "model/CPage.h"
#include "platform/CArchive.h"

CGraphElement::CGraphElement(CPage* owner, int kind, int level)
    : m_owner(owner), m_kind(kind), m_level(level)
{
    if (m_owner) m_owner->RaiseMaxLevel(level);
}

CGraphElement::~CGraphElement() = default;

CRect CGraphElement::GetBoundRect()
{
    if (m_boundsDirty) RecalcGeometry();
    return CRect();
}

void CGraphElement::RecalcGeometry() {}

void CGraphElement::InvalidateBounds() const
{
    m_boundsDirty = 1;
    m_boundsKept = false;
    if (m_owner) m_owner->ElementChanged(this);
}

void CGraphElement::ReleaseGeometry() {}

void CGraphElement::OffsetBy(int, int) {}

CRect CGraphElement::GetRecordBounds()
{
    if (m_boundsDirty && m_boundsKept) return m_keptBounds;
    return GetBoundRect();
}

void CGraphElement::KeepBoundsOnly(const CRect& bounds) const
{
    m_keptBounds = bounds;
    m_boundsKept = true;
    m_boundsDirty = 1;
}

void CGraphElement::Draw(CDC*, double, int, int, const CRect&) {}

void CGraphElement::DrawHighlight(CDC*, double, int, int, const CRect&) {}

int CGraphElement::UsesPoint(const CSharedPoint*) const { return 0; }

int CGraphElement::ContainsPoint(int, int) { return 0; }

void CGraphElement::CopyFrom(const CGraphElement&) {}

int CGraphElement::Load(CArchive&) { return 1; }

int CGraphElement::Store(CArchive& ar) const
{
    ar << std::int32_t(m_kind) << std::int32_t(m_level);
    return 1;
}

void CGraphElement::SetLevel(int level)
{
    m_level = level;
    if (m_owner) m_owner->RaiseMaxLevel(level);
}

int CGraphElement::GetRecordVersion() const
{
    return m_owner ? m_owner->GetRecordVersion() : 107;
}
