#include "tables/CTableBorderLine.h"

#include "geometry/Distance.h"
#include "geometry/Mapping.h"
#include "platform/CArchive.h"
#include "platform/CDC.h"

#include <algorithm>

namespace {

// Wider pens than this cover any screen; damaged records can ask for far
// more, which the painter would spend ages stroking.
constexpr int kMaxPenPixels = 1 << 14;

} // namespace

void CTableBorderLine::Draw(CDC* dc, double scale, int originX, int originY) const
{
    if (!dc || !(scale > 0)) return;
    const int pixels = std::clamp(RoundToInt(m_width / scale), 1, kMaxPenPixels);
    const CPen previous = dc->SelectPen(CPen{PS_SOLID, pixels, m_colour});
    const CPoint from = ModelToDevicePoint(m_start.x, m_start.y, scale, originX, originY);
    const CPoint to = ModelToDevicePoint(m_end.x, m_end.y, scale, originX, originY);
    dc->MoveTo(from.x, from.y);
    dc->LineTo(to.x, to.y);
    dc->SelectPen(previous);
}

void CTableBorderLine::Load(CArchive& ar)
{
    std::uint32_t colour = 0;
    std::int32_t width = 0;
    CPoint start;
    CPoint end;
    ar >> colour >> width >> start >> end;
    m_colour = colour;
    m_width = width;
    m_start = start;
    m_end = end;
}

void CTableBorderLine::Store(CArchive& ar) const
{
    ar << std::uint32_t(m_colour) << std::int32_t(m_width) << m_start << m_end;
}
