#include "model/CFillStyle.h"

#include "platform/CArchive.h"

#include <cstdint>
#include <cstring>

namespace {

// Fill-style records were fixed when side-line parameters already existed,
// so their line attributes are always read in that form.
constexpr int kLineAttrRecordVersion = 106;

}  // namespace

CFillStyle::CFillStyle() : m_lineAttr(0) {}

bool CFillStyle::operator==(const CFillStyle& o) const
{
    // Angles compare by their bits so a style read back from a record
    // equals the one written, NaN included.
    return m_lineAttr == o.m_lineAttr && m_lineAttr.GetShapes() == o.m_lineAttr.GetShapes()
        && m_color == o.m_color && std::memcmp(&m_angle, &o.m_angle, sizeof m_angle) == 0
        && m_origin == o.m_origin && m_spacing == o.m_spacing;
}

int CFillStyle::Load(CArchive& ar)
{
    CLineAttr line;
    line.Load(ar, kLineAttrRecordVersion);
    CPoint origin;
    DWORD color = 0;
    double angle = 0.0;
    std::int32_t spacing = 0;
    ar >> origin >> color >> angle >> spacing;
    m_lineAttr = line;
    m_origin = origin;
    m_color = color;
    m_angle = angle;
    m_spacing = spacing;
    return 1;
}

int CFillStyle::Store(CArchive& ar) const
{
    m_lineAttr.Store(ar);
    ar << m_origin << DWORD(m_color) << m_angle << std::int32_t(m_spacing);
    return 1;
}
