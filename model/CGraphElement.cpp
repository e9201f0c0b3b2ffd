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
    m_recordBoundsKnown = false;
    if (m_owner) m_owner->ElementChanged(this);
}

void CGraphElement::ReleaseGeometry() {}

void CGraphElement::OffsetBy(int, int) {}

CRect CGraphElement::GetRecordBounds()
{
    if (m_recordBoundsKnown) return m_recordBounds;
    const CRect bounds = GetBoundRect();
    KeepRecordBounds(bounds);
    return bounds;
}

void CGraphElement::KeepBoundsOnly(const CRect& bounds) const
{
    KeepRecordBounds(bounds);
    m_boundsDirty = 1;
}

void CGraphElement::KeepRecordBounds(const CRect& bounds) const
{
    m_recordBounds = bounds;
    m_recordBoundsKnown = true;
}

void CGraphElement::CopyRecordBounds(const CGraphElement& other) const
{
    if (other.m_recordBoundsKnown)
        KeepRecordBounds(other.m_recordBounds);
    else if (!other.m_boundsDirty)
        KeepRecordBounds(const_cast<CGraphElement&>(other).GetBoundRect());
}

void CGraphElement::Draw(CDC*, double, int, int, const CRect&) {}

void CGraphElement::DrawHighlight(CDC*, double, int, int, const CRect&) {}

void CGraphElement::PrepareDraw(const CDrawPreparation&) {}

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
