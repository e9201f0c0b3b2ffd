#include "geometry/ClipToView.h"

#include <QPaintDevice>
#include <QColor>
#include <QBrush>
#include <QPainter>
#include <QPainterPathStroker>
#include <QPen>
#include <QTransform>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

// Path elements (about four per piece) up to which a stroke area is
// filled smoothed.
constexpr int kMaxSmoothElements = 48;
// Lines with fewer points than this are stroked by the painter itself.
constexpr int kBandingMinPoints = 64;
// Paths whose edges cross the rows they fill this many times a row or
// less are filled whole; more are filled in bands.
constexpr double kDirectCrossingsPerRow = 8.0;
// Device rows per band.
constexpr int kBandRows = 32;
// Device pixels of the path kept left and right of what can be seen, so
// that the sides of a cut stay out of sight.
constexpr double kBandMargin = 2.0;
// Smoothing is kept while the edges cross at most this many rows per
// pixel of the area filled (an ordinary outline crosses a handful).
constexpr double kSmoothCrossingsPerPixel = 0.5;

// One side of the rectangle: which points it keeps, and where an edge
// crosses it.
struct Side {
    enum Kind { Left, Right, Top, Bottom } kind;
    double at;

    bool Keeps(const QPointF& p) const
    {
        switch (kind) {
        case Left: return p.x() >= at;
        case Right: return p.x() <= at;
        case Top: return p.y() >= at;
        case Bottom: return p.y() <= at;
        }
        return false;
    }
    QPointF Crossing(const QPointF& a, const QPointF& b) const
    {
        if (kind == Left || kind == Right) {
            const double t = (at - a.x()) / (b.x() - a.x());
            return QPointF(at, a.y() + t * (b.y() - a.y()));
        }
        const double t = (at - a.y()) / (b.y() - a.y());
        return QPointF(a.x() + t * (b.x() - a.x()), at);
    }
};

QPolygonF ClipToSide(const QPolygonF& polygon, const Side& side)
{
    QPolygonF out;
    const int n = int(polygon.size());
    out.reserve(n + 4);
    for (int i = 0; i < n; ++i) {
        const QPointF& current = polygon[i];
        const QPointF& previous = polygon[(i + n - 1) % n];
        const bool inside = side.Keeps(current);
        if (inside != side.Keeps(previous)) out << side.Crossing(previous, current);
        if (inside) out << current;
    }
    return out;
}

double SignedArea(const QPolygonF& polygon)
{
    double twice = 0.0;
    const int n = int(polygon.size());
    for (int i = 0; i < n; ++i) {
        const QPointF& a = polygon[i];
        const QPointF& b = polygon[(i + 1) % n];
        twice += a.x() * b.y() - b.x() * a.y();
    }
    return twice / 2.0;
}

// Whether the convex piece holds the whole rectangle.
bool Covers(const QPolygonF& piece, const QRectF& rect)
{
    const QPointF corners[] = {rect.topLeft(), rect.topRight(), rect.bottomRight(), rect.bottomLeft()};
    const int n = int(piece.size());
    double turn = 0.0;
    for (int i = 0; i < n; ++i) {
        const QPointF& a = piece[i];
        const QPointF& b = piece[(i + 1) % n];
        for (const QPointF& c : corners) {
            const double side = (b.x() - a.x()) * (c.y() - a.y()) - (b.y() - a.y()) * (c.x() - a.x());
            if (side == 0.0) continue;
            if (turn == 0.0) turn = side;
            else if ((side > 0.0) != (turn > 0.0)) return false;
        }
    }
    return turn != 0.0;
}

// Adds a convex piece, cut to the rectangle and turned the common way.
void AddPiece(QPainterPath& path, const QPolygonF& piece, const QRectF& rect)
{
    QPolygonF clipped = ClipPolygonToRect(piece, rect);
    if (clipped.size() < 3) return;
    const double area = SignedArea(clipped);
    if (!(std::abs(area) > 0.0)) return;
    if (area < 0.0) std::reverse(clipped.begin(), clipped.end());
    path.addPolygon(clipped);
    path.closeSubpath();
}

// The polygons cut to the rectangle, as one path of the fill rule.
QPainterPath CutPath(const QList<QPolygonF>& polygons, const QRectF& rect, Qt::FillRule rule)
{
    QPainterPath piece;
    piece.setFillRule(rule);
    for (const QPolygonF& polygon : polygons) {
        const QPolygonF clipped = ClipPolygonToRect(polygon, rect);
        if (clipped.isEmpty()) continue;
        piece.addPolygon(clipped);
        piece.closeSubpath();
    }
    return piece;
}

// The part of the segment a-b inside the rectangle (Liang-Barsky); false
// when none is.
bool ClipSegment(QPointF& a, QPointF& b, const QRectF& rect)
{
    const double dx = b.x() - a.x(), dy = b.y() - a.y();
    double t0 = 0.0, t1 = 1.0;
    if (!SegmentInsideRect(a.x(), a.y(), dx, dy, rect.left(), rect.top(), rect.right(), rect.bottom(), t0, t1))
        return false;
    const QPointF start = a;
    if (t1 < 1.0) b = QPointF(start.x() + t1 * dx, start.y() + t1 * dy);
    if (t0 > 0.0) a = QPointF(start.x() + t0 * dx, start.y() + t0 * dy);
    return true;
}

QPointF UnitNormal(const QPointF& d)
{
    const double length = std::hypot(d.x(), d.y());
    return QPointF(-d.y() / length, d.x() / length);
}

} // namespace

QRectF VisibleArea(const QPainter& painter)
{
    const QPaintDevice* device = painter.device();
    if (!device) return QRectF();
    bool invertible = false;
    const QTransform inverse = painter.combinedTransform().inverted(&invertible);
    if (!invertible) return QRectF();
    QRectF rect = inverse.mapRect(QRectF(0, 0, device->width(), device->height()));
    if (painter.hasClipping()) rect &= painter.clipBoundingRect();
    return rect;
}

QPolygonF ClipPolygonToRect(const QPolygonF& polygon, const QRectF& rect)
{
    QPolygonF out = polygon;
    if (out.size() > 1 && out.first() == out.last()) out.removeLast();
    const Side sides[] = {{Side::Left, rect.left()},
                          {Side::Right, rect.right()},
                          {Side::Top, rect.top()},
                          {Side::Bottom, rect.bottom()}};
    for (const Side& side : sides) {
        if (out.size() < 3) return QPolygonF();
        out = ClipToSide(out, side);
    }
    return out.size() < 3 ? QPolygonF() : out;
}

bool FillsWholeRect(const QPolygonF& cut, const QRectF& rect, Qt::FillRule rule)
{
    if (cut.size() < 3) return false;
    for (const QPointF& p : cut) {
        const bool onSide = p.x() == rect.left() || p.x() == rect.right() || p.y() == rect.top() ||
                            p.y() == rect.bottom();
        if (!onSide) return false;
    }
    return cut.containsPoint(rect.center(), rule);
}

std::vector<QPolygonF> ClipPolylineToRect(const QPolygonF& line, const QRectF& rect)
{
    std::vector<QPolygonF> pieces;
    QPolygonF current;
    auto flush = [&pieces, &current] {
        if (current.size() > 1) pieces.push_back(current);
        current.clear();
    };
    for (qsizetype i = 0; i + 1 < line.size(); ++i) {
        QPointF a = line[i];
        QPointF b = line[i + 1];
        if (!ClipSegment(a, b, rect)) {
            flush();
            continue;
        }
        if (!current.isEmpty() && current.last() != a) flush();
        if (current.isEmpty()) current << a;
        current << b;
        if (b != line[i + 1]) flush();
    }
    flush();
    return pieces;
}

QPainterPath StrokeAreaInRect(const QPolygonF& line, double width, double miterLimit, const QRectF& rect,
                              bool* whole)
{
    if (whole) *whole = false;
    QPainterPath path;
    path.setFillRule(Qt::WindingFill);
    const double half = width / 2.0;
    if (!(half > 0.0) || !std::isfinite(half)) return path;

    // The segments of some length, each with its direction.
    QPolygonF points;
    points.reserve(line.size());
    for (const QPointF& p : line)
        if (points.isEmpty() || p != points.last()) points << p;

    // Once one piece holds all of the rectangle, nothing else can add to it.
    auto all = [&rect, whole] {
        if (whole) *whole = true;
        QPainterPath area;
        area.addRect(rect);
        return area;
    };
    for (int i = 0; i + 1 < points.size(); ++i) {
        const QPointF& a = points[i];
        const QPointF& b = points[i + 1];
        const QPointF n = UnitNormal(b - a) * half;
        const QPolygonF quad({a + n, b + n, b - n, a - n});
        if (Covers(quad, rect)) return all();
        AddPiece(path, quad, rect);
    }
    for (int i = 1; i + 1 < points.size(); ++i) {
        const QPointF& v = points[i];
        const QPointF d1 = v - points[i - 1];
        const QPointF d2 = points[i + 1] - v;
        const double cross = d1.x() * d2.y() - d1.y() * d2.x();
        if (cross == 0.0) continue;
        // The join fills the notch on the outer side of the turn.
        const double side = cross > 0.0 ? -1.0 : 1.0;
        const QPointF n1 = UnitNormal(d1);
        const QPointF n2 = UnitNormal(d2);
        const QPointF p1 = v + n1 * (side * half);
        const QPointF p2 = v + n2 * (side * half);
        const double cosine = n1.x() * n2.x() + n1.y() * n2.y();
        const double miterLength = half * std::sqrt(2.0 / (1.0 + cosine));
        if (1.0 + cosine > 0.0 && miterLength <= miterLimit * width) {
            const QPointF tip = v + (n1 + n2) * (side * half / (1.0 + cosine));
            const QPolygonF mitre({v, p1, tip, p2});
            if (Covers(mitre, rect)) return all();
            AddPiece(path, mitre, rect);
        } else {
            AddPiece(path, QPolygonF({v, p1, p2}), rect);
        }
    }
    return path;
}

void FillStrokeArea(QPainter& painter, const QPainterPath& area, const QColor& colour)
{
    if (area.isEmpty()) return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, area.elementCount() <= kMaxSmoothElements);
    painter.fillPath(area, colour);
    painter.restore();
}

void FillPathBanded(QPainter& painter, const QPainterPath& path, const QBrush& brush)
{
    const QTransform toDevice = painter.combinedTransform();
    bool invertible = false;
    const QTransform toLogical = toDevice.inverted(&invertible);
    if (toDevice.type() > QTransform::TxScale || !invertible) {
        painter.fillPath(path, brush);
        return;
    }
    const QRect rows = toDevice.mapRect(VisibleArea(painter) & path.controlPointRect()).toAlignedRect();
    if (rows.isEmpty()) return;
    const QRectF sides(rows.left() - kBandMargin, rows.top() - kBandMargin, rows.width() + 2 * kBandMargin,
                       rows.height() + 2 * kBandMargin);
    const QList<QPolygonF> polygons = path.toSubpathPolygons();
    const QRectF cutSides = toLogical.mapRect(sides);
    const bool beyond = !sides.contains(toDevice.mapRect(path.controlPointRect()));

    // The rasteriser's work grows with the rows each edge crosses; an
    // ordinary outline crosses a row a few times.
    double crossings = 0.0;
    const double firstRow = rows.top(), pastLastRow = rows.bottom() + 1.0;
    for (const QPolygonF& polygon : polygons) {
        for (qsizetype i = 0; i < polygon.size(); ++i) {
            const double y1 = toDevice.m22() * polygon[i].y() + toDevice.dy();
            const double y2 = toDevice.m22() * polygon[(i + 1) % polygon.size()].y() + toDevice.dy();
            crossings += std::max(0.0, std::min(std::max(y1, y2), pastLastRow) - std::max(std::min(y1, y2), firstRow));
        }
    }
    if (crossings <= kDirectCrossingsPerRow * rows.height()) {
        // Few edges to a row, but maybe far beyond the device: the
        // rasteriser walks every row an edge spans, seen or not.
        painter.fillPath(beyond ? CutPath(polygons, cutSides, path.fillRule()) : path, brush);
        return;
    }
    // Past a budget of crossings the plain rasteriser, which does not slow
    // down so, fills it.
    const bool smooth = painter.testRenderHint(QPainter::Antialiasing) &&
                        crossings <= kSmoothCrossingsPerPixel * double(rows.width()) * rows.height();

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, smooth);
    // Each band is cut on the device's pixel rows, so that no pixel takes
    // part of its cover from two bands.
    for (int top = rows.top(); top <= rows.bottom(); top += kBandRows) {
        const QRectF band(sides.left(), top, sides.width(), kBandRows);
        const QPainterPath piece = CutPath(polygons, toLogical.mapRect(band), path.fillRule());
        if (!piece.isEmpty()) painter.fillPath(piece, brush);
    }
    painter.restore();
}

void StrokePolylineBanded(QPainter& painter, const QPolygonF& line, const QRectF& visible)
{
    const QPen& pen = painter.pen();
    const QTransform toDevice = painter.combinedTransform();
    // A mitred join reaches at most five pen widths past its vertex.
    const double stretch = std::max(std::hypot(toDevice.m11(), toDevice.m12()), 1e-12);
    const double reach = pen.isCosmetic() ? (pen.widthF() + 2.0) / stretch
                                          : 5.0 * std::max(pen.widthF(), 1.0 / stretch) + 2.0 / stretch;
    const QRectF area = visible.adjusted(-reach, -reach, reach, reach);
    if (area.isEmpty()) return;
    // Lines the painter strokes fast whatever their course.
    const bool simple = line.size() < kBandingMinPoints / 4 || pen.isCosmetic() ||
                        pen.widthF() * stretch <= 1.0 || pen.style() != Qt::SolidLine ||
                        toDevice.type() > QTransform::TxScale;
    auto stroke = [&](const QPolygonF& piece) {
        if (!simple && piece.size() >= kBandingMinPoints / 4) {
            // The outline's two sides cross each row the line crosses.
            double crossings = 0.0;
            for (qsizetype i = 0; i + 1 < piece.size(); ++i)
                crossings += 2.0 * std::abs(toDevice.m22() * (piece[i + 1].y() - piece[i].y()));
            const double rows = std::abs(toDevice.m22()) * area.height();
            if (crossings > kDirectCrossingsPerRow * rows) {
                QPainterPath path;
                path.addPolygon(piece);
                FillPathBanded(painter, QPainterPathStroker(pen).createStroke(path), pen.brush());
                return;
            }
        }
        painter.drawPolyline(piece);
    };
    if (area.contains(line.boundingRect())) {
        stroke(line);
        return;
    }
    // Far beyond what can be seen: the pieces of the line inside the area,
    // each stroked alone (their cut ends lie out of sight).
    for (const QPolygonF& piece : ClipPolylineToRect(line, area)) stroke(piece);
}

bool SegmentInsideRect(double ax, double ay, double dx, double dy, double left, double top, double right,
                       double bottom, double& t0, double& t1)
{
    t0 = 0.0;
    t1 = 1.0;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {ax - left, right - ax, ay - top, bottom - ay};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0.0) {
            if (q[i] < 0.0) return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0.0) t0 = std::max(t0, t);
        else t1 = std::min(t1, t);
        if (t0 > t1) return false;
    }
    return true;
}
