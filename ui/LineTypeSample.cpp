#include "ui/LineTypeSample.h"

#include "settings/CSystemSettings.h"

#include "geometry/Distance.h"
#include "geometry/PolylineReduction.h"

#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

// A stroke two pixels thick on rows y and y + 1.
void Stroke(QPainter& p, int x, int y, int length)
{
    p.drawRect(x, y, length, 2);
}

void Solid(QPainter& p, int x0, int x1, int y)
{
    Stroke(p, x0, y, x1 - x0);
}

void Dashes(QPainter& p, int x0, int x1, int y, int dash, int every)
{
    for (int x = x0; x < x1; x += every) Stroke(p, x, y, dash);
}

void BuiltInSample(QPainter& p, int kind, int x0, int x1, int y)
{
    switch (kind) {
    case 0: Solid(p, x0, x1, y); break;
    case 1: Dashes(p, x0, x1, y, 8, 13); break;
    case 2: Dashes(p, x0, x1, y, 4, 8); break;
    case 3:
        for (int x = x0; x < x1; x += 16) {
            Stroke(p, x, y, 10);
            Stroke(p, x + 12, y, 2);
        }
        break;
    case 4:
        for (int x = x0; x < x1; x += 20) {
            Stroke(p, x, y, 10);
            Stroke(p, x + 12, y, 2);
            Stroke(p, x + 16, y, 2);
        }
        break;
    case 5:
        Dashes(p, x0, x1, y - 4, 8, 13);
        Solid(p, x0, x1, y + 1);
        break;
    case 6:
        Solid(p, x0, x1, y - 4);
        Dashes(p, x0, x1, y + 1, 8, 13);
        break;
    case 7:
        Dashes(p, x0, x1, y - 5, 8, 13);
        Solid(p, x0, x1, y - 1);
        Dashes(p, x0, x1, y + 3, 8, 13);
        break;
    case 8:
        Solid(p, x0, x1, y - 5);
        Dashes(p, x0, x1, y - 1, 8, 13);
        Solid(p, x0, x1, y + 3);
        break;
    default: break;
    }
}

// The union of the pattern's shapes.
CRect PatternBounds(const CLineTypeShapeArray& shapes)
{
    CRect bounds = shapes.front().GetBoundRect();
    for (const CLineTypeShape& s : shapes) {
        const CRect b = s.GetBoundRect();
        bounds = CRect(std::min(bounds.left, b.left), std::min(bounds.top, b.top), std::max(bounds.right, b.right),
                       std::max(bounds.bottom, b.bottom));
    }
    return bounds;
}

// How the pattern is scaled into the entry: page units per pixel, and the
// pattern's left edge and its middle, in page units, which land on the
// pixel given to Map.
struct SampleMapping {
    double scale = 0;
    double left = 0;
    double centre = 0;
    QPointF Map(const CPoint& pt, double x, double y) const
    {
        return QPointF((pt.x - left) / scale + x, (pt.y - centre) / scale + y);
    }
};

// A pen no wider than what covers the whole entry from anywhere in it: a
// wider one shows the same.
qreal PenPixels(int penWidth, double scale, const QRect& box)
{
    return std::min<double>(std::max(1, RoundToInt(penWidth / scale)), 2 * (box.width() + box.height()));
}

// Closer together than this many device pixels, two outlines show the same.
constexpr double kShownDifference = 1.0 / 8;

// What a tile of `devicePixels` can show: this many points of outline in
// all, from at most a quarter as many shapes.
std::size_t PointBudget(std::size_t devicePixels)
{
    return 2 * devicePixels;
}

// The shape's outline on the tile: as it is when the tile can show all of
// its points, else cut down to the points it can show.
QPolygonF ShapeOutline(const CLineTypeShape& shape, const SampleMapping& m, double x, double y, qreal ratio,
                       std::size_t budget)
{
    QPolygonF polygon;
    if (std::size_t(shape.GetPointCount()) <= budget) {
        for (const CPoint& pt : shape.GetPoints()) polygon << m.Map(pt, x, y);
        return polygon;
    }
    std::vector<CDoublePoint> shown = SimplifyPolyline(shape.GetPoints(), 1 / m.scale, x - m.left / m.scale,
                                                       y - m.centre / m.scale, kShownDifference / ratio, budget);
    ThinPolyline(shown, budget);
    polygon.reserve(qsizetype(shown.size()));
    for (const CDoublePoint& pt : shown) polygon << QPointF(pt.x, pt.y);
    return polygon;
}

// The shapes a tile draws: all of them, or evenly spaced ones when there
// are more than it can show.
std::vector<const CLineTypeShape*> ShownShapes(const CLineTypeShapeArray& shapes, std::size_t most)
{
    std::vector<const CLineTypeShape*> shown;
    const std::size_t n = shapes.size(), count = std::min(n, std::max<std::size_t>(most, 2));
    shown.reserve(count);
    if (count == n) {
        for (const CLineTypeShape& shape : shapes) shown.push_back(&shape);
    } else {
        for (std::size_t i = 0; i < count; ++i) shown.push_back(&shapes[i * (n - 1) / (count - 1)]);
    }
    return shown;
}

// One copy of the pattern, drawn once, on a transparent tile as high as the
// entry and as wide as what the copy can cover; its left edge lies `margin`
// pixels into the tile, its middle on row `middle`.
QImage PatternTile(const CLineTypeShapeArray& shapes, const SampleMapping& m, const QRect& box, double copyWidth,
                   double middle, const QColor& colour, qreal ratio, int& margin)
{
    qreal widest = 1;
    for (const CLineTypeShape& shape : shapes) widest = std::max(widest, PenPixels(shape.GetPenWidth(), m.scale, box));
    margin = int(std::ceil(widest / 2)) + 2;
    const QSize size(int(std::ceil(copyWidth)) + 2 * margin, box.height());
    QImage tile(size * ratio, QImage::Format_ARGB32_Premultiplied);
    tile.setDevicePixelRatio(ratio);
    tile.fill(Qt::transparent);
    const std::size_t budget = PointBudget(std::size_t(tile.width()) * std::size_t(tile.height()));
    const std::vector<const CLineTypeShape*> shown = ShownShapes(shapes, budget / 4);
    const std::size_t perShape = std::max<std::size_t>(4, budget / shown.size());
    QPainter p(&tile);
    p.setRenderHint(QPainter::Antialiasing);
    for (const CLineTypeShape* shape : shown) {
        const QPolygonF polygon = ShapeOutline(*shape, m, margin, middle, ratio, perShape);
        p.setPen(QPen(colour, PenPixels(shape->GetPenWidth(), m.scale, box)));
        p.setBrush(shape->IsFilled() ? QBrush(colour) : QBrush(Qt::NoBrush));
        if (shape->IsFilled()) p.drawPolygon(polygon);
        else p.drawPolyline(polygon);
    }
    return tile;
}

// The custom pattern's shapes repeated along the entry, scaled so that one
// copy fits its height and width. The copy is drawn once and stamped at
// each repetition, a pixel apart at the least.
void CustomSample(QPainter& p, const QRect& r, const CLineAttr& type, const CLineAttr& preview)
{
    const auto& shapes = preview.GetShapes();
    if (shapes.empty()) return;
    const CRect bounds = PatternBounds(shapes);
    const double width = double(bounds.right) - bounds.left, height = double(bounds.bottom) - bounds.top;
    const int x0 = r.left() + 3, x1 = r.right() - 2, y0 = r.top() + 2, y1 = r.bottom() - 2;
    const double s = std::max(width / (x1 - x0 + 1), height / (y1 - y0 + 1));
    if (!(s > 0)) return;
    const double p1 = std::max(1, type.GetParam(1));
    const double step = std::max(1.0, std::max(1.0, width * (type.GetParam(2) / p1 + 1)) / s);
    const SampleMapping mapping{s, double(bounds.left), (double(bounds.top) + bounds.bottom) / 2.0};
    const qreal ratio = p.device() ? p.device()->devicePixelRatioF() : 1.0;
    int margin = 0;
    const QImage tile =
        PatternTile(shapes, mapping, r, width / s, (y0 + y1) / 2.0 - r.top(), p.brush().color(), ratio, margin);
    for (double shift = x0; shift < x1; shift += step) p.drawImage(QPointF(std::round(shift) - margin, r.top()), tile);
}

} // namespace

void DrawLineTypeSample(QPainter& p, const QRect& rect, const CSystemSettings& settings, int index,
                        const QColor& colour)
{
    if (index < 0 || index >= int(settings.m_aLineTypes.size())) return;
    const CLineAttr& type = settings.m_aLineTypes[std::size_t(index)];
    p.save();
    p.setClipRect(rect);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    if (type.GetKind() >= 0 && type.GetKind() <= 8) {
        BuiltInSample(p, type.GetKind(), rect.left() + 1, rect.right(), (rect.top() + rect.bottom()) / 2);
    } else {
        const int preview = index - CSystemSettings::kPreviewOffset;
        if (preview >= 0 && preview < int(settings.m_aLineTypePreviews.size())) {
            p.setRenderHint(QPainter::Antialiasing);
            CustomSample(p, rect, type, settings.m_aLineTypePreviews[std::size_t(preview)]);
        }
    }
    p.restore();
}

QImage RenderLineTypeSample(const CSystemSettings& settings, int index, const QSize& size, const QColor& colour,
                            qreal ratio)
{
    QImage image(size * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    QPainter p(&image);
    DrawLineTypeSample(p, QRect(QPoint(0, 0), size), settings, index, colour);
    return image;
}
