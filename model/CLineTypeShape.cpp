#include "model/CLineTypeShape.h"

#include "geometry/Distance.h"
#include "geometry/Mapping.h"
#include "geometry/Offset.h"

#include "platform/CArchive.h"
#include "platform/CDC.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

CLineTypeShape::CLineTypeShape(int penWidth, int filled, const CPointList& points)
    : m_penWidth(penWidth), m_filled(filled), m_points(points)
{
    RecalcBounds();
}

void CLineTypeShape::RecalcBounds()
{
    m_bounds = m_points.IsEmpty() ? CRect() : PolylineBoundRect(m_points);
}

namespace {

// Device pen width: one pixel for the outline of a filled shape, else the
// page width scaled, at least one pixel.
int DevicePenWidth(int penWidth, int filled, double scale)
{
    if (filled) return 1;
    return std::max(1, RoundToInt(penWidth / scale));
}

// The device rectangle the shape can paint: its bounds mapped and widened
// by the pen, so that a stroke lying along the edge of the bounds (a
// horizontal or vertical line has bounds one unit thin) still meets the clip.
CRect DeviceExtent(const CRect& bounds, int penPixels, double scale, int originX, int originY)
{
    CRect r = ModelToDeviceRect(bounds.left, bounds.top, bounds.right, bounds.bottom, scale, originX,
                                originY);
    r.NormalizeRect();
    const int grow = penPixels / 2 + 1;
    r.InflateRect(grow, grow);
    return r;
}

bool Overlaps(const CRect& a, const CRect& b)
{
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

} // namespace

void CLineTypeShape::Draw(CDC* dc, COLORREF colour, double scale, int originX, int originY,
                          const CRect& clip) const
{
    if (!dc || m_points.IsEmpty() || !(scale > 0)) return;
    const int penPixels = DevicePenWidth(m_penWidth, IsFilled(), scale);

    // A printed shape is drawn whatever the clip. It is drawn as on the
    // screen, anti-aliased in floating point: the printer's pixels are far
    // smaller than the logical pixels the drawing is laid out in, and lines
    // stepped over logical pixels would print as rows of separate dots.
    if (!dc->IsPrinting() && !Overlaps(DeviceExtent(m_bounds, penPixels, scale, originX, originY), clip))
        return;
    if (IsFilled())
        DrawMappedPolygonSmooth(*dc, colour, float(penPixels), m_points, scale, originX, originY);
    else
        DrawMappedPolylineSmooth(*dc, colour, float(penPixels), m_points, scale, originX, originY);
}

int CLineTypeShape::Load(CArchive& ar)
{
    std::int32_t penWidth = 0, filled = 0, count = 0;
    ar >> penWidth >> filled >> count;
    CPointList points;
    ar.ReadPoints(count, [&points](const CPoint& p) {
        if (std::abs(std::int64_t(p.x)) > kMaxCoordinate || std::abs(std::int64_t(p.y)) > kMaxCoordinate)
            throw CArchiveError("line-type shape point out of range");
        points.AddTail(p);
    });
    m_penWidth = penWidth;
    // Kept as read so that the record is written back unchanged; any
    // nonzero value fills.
    m_filled = filled;
    m_points = std::move(points);
    RecalcBounds();
    return 1;
}

int CLineTypeShape::Store(CArchive& ar) const
{
    ar << std::int32_t(m_penWidth) << std::int32_t(m_filled) << std::int32_t(m_points.GetCount());
    ar.WritePoints(m_points);
    return 1;
}

bool CLineTypeShape::operator==(const CLineTypeShape& o) const
{
    return m_penWidth == o.m_penWidth && IsFilled() == o.IsFilled() && m_points == o.m_points;
}
