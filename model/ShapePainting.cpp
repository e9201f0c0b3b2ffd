#include "model/ShapePainting.h"

#include "model/FillPainting.h"

#include "geometry/ClipToView.h"
#include "geometry/Distance.h"
#include "geometry/Mapping.h"

#include "platform/CDC.h"

#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QTransform>

#include <algorithm>
#include <cmath>

namespace {

// A chord replaces at most this many points, so thinning a long straight
// run stays linear in its length.
constexpr int kMaxChordRun = 32;

// The pen of CLineTypeShape::Draw: one pixel for the outline of a filled
// shape, else the page width scaled, at least one pixel.
int DevicePenWidth(int penWidth, bool filled, double scale)
{
    if (filled) return 1;
    return std::max(1, RoundToInt(penWidth / scale));
}

// The device rectangle a shape can paint, as CLineTypeShape::Draw tests it
// against the clip.
CRect DeviceExtent(const CRect& bounds, int penPixels, double scale, int originX, int originY)
{
    CRect r = ModelToDeviceRect(bounds.left, bounds.top, bounds.right, bounds.bottom, scale,
                                originX, originY);
    r.NormalizeRect();
    const int grow = penPixels / 2 + 1;
    r.InflateRect(grow, grow);
    return r;
}

bool Overlaps(const CRect& a, const CRect& b)
{
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// Whether every point strictly between a and b lies within the tolerance
// of the segment a-b (its distance to the segment, not to the line, so a
// stretch that turns back is never cut short).
bool ChordHolds(const QPointF* p, int a, int b, double tolerance2)
{
    const double ax = p[a].x(), ay = p[a].y();
    const double dx = p[b].x() - ax, dy = p[b].y() - ay;
    const double length2 = dx * dx + dy * dy;
    for (int k = a + 1; k < b; ++k) {
        double ex = p[k].x() - ax, ey = p[k].y() - ay;
        if (length2 > 0.0) {
            const double t = std::clamp((ex * dx + ey * dy) / length2, 0.0, 1.0);
            ex -= t * dx;
            ey -= t * dy;
        }
        if (ex * ex + ey * ey > tolerance2) return false;
    }
    return true;
}

// The scale of the painter's logical pixels on the device: a tolerance in
// device pixels is this many times smaller in logical ones.
double DeviceStretch(const QPainter& painter)
{
    const QTransform& t = painter.worldTransform();
    if (t.type() <= QTransform::TxTranslate) return 1.0;
    return std::max(std::hypot(t.m11(), t.m12()), std::hypot(t.m21(), t.m22()));
}

}  // namespace

QPolygonF MapAndThin(const CPointList& points, double scale, int originX, int originY,
                     double tolerance)
{
    QPolygonF mapped;
    mapped.reserve(points.GetCount());
    for (const CPoint& p : points) {
        double dx = 0;
        double dy = 0;
        ModelToDeviceF(p.x, p.y, scale, originX, originY, dx, dy);
        mapped << QPointF(dx + 0.5, dy + 0.5);
    }
    const int n = int(mapped.size());
    if (n < 3 || !(tolerance > 0.0)) return mapped;

    const double tolerance2 = tolerance * tolerance;
    const QPointF* p = mapped.constData();
    QPolygonF thin;
    thin.reserve(n);
    thin << p[0];
    int anchor = 0;
    int end = 1;
    while (end < n - 1) {
        if (end + 1 - anchor <= kMaxChordRun && ChordHolds(p, anchor, end + 1, tolerance2)) {
            ++end;
            continue;
        }
        thin << p[end];
        anchor = end;
        ++end;
    }
    thin << p[n - 1];
    return thin;
}

std::vector<QPolygonF> RunsMeeting(const QPolygonF& line, const QRectF& area)
{
    std::vector<QPolygonF> runs;
    QPolygonF run;
    for (int i = 0; i + 1 < line.size(); ++i) {
        const QPointF& a = line[i];
        const QPointF& b = line[i + 1];
        const bool meets = std::min(a.x(), b.x()) <= area.right()
            && std::max(a.x(), b.x()) >= area.left() && std::min(a.y(), b.y()) <= area.bottom()
            && std::max(a.y(), b.y()) >= area.top();
        if (meets) {
            if (run.isEmpty()) run << a;
            run << b;
        } else if (!run.isEmpty()) {
            runs.push_back(std::move(run));
            run = QPolygonF();
        }
    }
    if (!run.isEmpty()) runs.push_back(std::move(run));
    return runs;
}

void CDeviceShapes::Clear()
{
    m_valid = false;
    m_preparedForClip = false;
    m_shapes.clear();
    m_shapes.shrink_to_fit();
}

bool CDeviceShapes::Matches(unsigned version, double scale, int originX, int originY,
                            double tolerance, int count) const
{
    return m_valid && m_version == version && m_scale == scale && m_originX == originX
        && m_originY == originY && m_tolerance == tolerance && int(m_shapes.size()) == count;
}

void CDeviceShapes::Rebuild(const CList<CLineTypeShape>& shapes, unsigned version, double scale,
                            int originX, int originY, double tolerance)
{
    m_valid = true;
    m_preparedForClip = false;
    m_version = version;
    m_scale = scale;
    m_originX = originX;
    m_originY = originY;
    m_tolerance = tolerance;
    m_extent = CRect();
    m_shapes.clear();
    m_shapes.reserve(std::size_t(shapes.GetCount()));
    bool first = true;
    for (const CLineTypeShape& shape : shapes) {
        Shape s;
        // Empty shapes draw nothing and take no part in the extent.
        if (!shape.GetPoints().IsEmpty()) {
            s.filled = shape.IsFilled() != 0;
            s.penPixels = DevicePenWidth(shape.GetPenWidth(), s.filled, scale);
            s.extent = DeviceExtent(shape.GetBoundRect(), s.penPixels, scale, originX, originY);
            s.drawable = shape.GetPointCount() >= 2;
            if (first) m_extent = s.extent;
            else m_extent.UnionRect(m_extent, s.extent);
            first = false;
        }
        m_shapes.push_back(std::move(s));
    }
}

double ThinningTolerance(const QPainter& painter)
{
    const double stretch = DeviceStretch(painter);
    return stretch > 0.0 && std::isfinite(stretch) ? CDeviceShapes::kTolerance / stretch : 0.0;
}

void CDeviceShapes::Prepare(const CList<CLineTypeShape>& shapes, unsigned version, double scale, int originX,
                            int originY, double tolerance, const CRect& clip)
{
    if (!(scale > 0)) return;
    if (!Matches(version, scale, originX, originY, tolerance, shapes.GetCount()))
        Rebuild(shapes, version, scale, originX, originY, tolerance);
    if (m_preparedForClip && m_preparedClip == clip) return;
    if (m_shapes.empty() || !Overlaps(m_extent, clip)) return;
    std::size_t i = 0;
    for (const CLineTypeShape& shape : shapes) {
        Shape& s = m_shapes[i++];
        if (!s.drawable || s.mapped || !Overlaps(s.extent, clip)) continue;
        s.points = MapAndThin(shape.GetPoints(), scale, originX, originY, tolerance);
        s.pointBounds = s.points.boundingRect();
        s.mapped = true;
    }
    m_preparedForClip = true;
    m_preparedClip = clip;
}

void CDeviceShapes::Draw(QPainter& painter, const CList<CLineTypeShape>& shapes, unsigned version,
                         COLORREF colour, double scale, int originX, int originY,
                         const CRect& clip)
{
    if (!(scale > 0)) return;
    const double tolerance = ThinningTolerance(painter);
    if (!Matches(version, scale, originX, originY, tolerance, shapes.GetCount()))
        Rebuild(shapes, version, scale, originX, originY, tolerance);
    if (m_shapes.empty() || !Overlaps(m_extent, clip)) return;

    bool started = false;
    auto start = [&painter, &started] {
        if (started) return;
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing, true);
        painter.setBrush(Qt::NoBrush);
        started = true;
    };
    int penPixels = -1;
    QRectF visible;
    bool visibleKnown = false;
    std::size_t i = 0;
    for (const CLineTypeShape& shape : shapes) {
        Shape& s = m_shapes[i++];
        if (!s.drawable || !Overlaps(s.extent, clip)) continue;
        if (!s.mapped) {
            s.points = MapAndThin(shape.GetPoints(), scale, originX, originY, tolerance);
            s.pointBounds = s.points.boundingRect();
            s.mapped = true;
        }
        if (!visibleKnown) {
            visible = VisibleArea(painter);
            visibleKnown = true;
        }
        // A filled shape reaching past what the painter shows is cut to
        // it, its outline pen and a pixel to spare included.
        const QPolygonF* polygon = &s.points;
        if (s.filled) {
            const QRectF area = visible.adjusted(-kCutMargin, -kCutMargin, kCutMargin, kCutMargin);
            if (!area.contains(s.pointBounds)) {
                if (!s.hasCut || s.cutArea != area) {
                    s.cut = ClipPolygonToRect(s.points, area);
                    s.cutArea = area;
                    s.hasCut = true;
                }
                if (s.cut.isEmpty()) continue;
                polygon = &s.cut;
                // All that can be seen is covered: nothing after this shape,
                // in the same colour, could change a pixel.
                if (FillsWholeRect(s.cut, area, Qt::OddEvenFill)) {
                    start();
                    painter.fillRect(area, ToQColor(colour));
                    break;
                }
            }
        }
        // A pen wider than what can be seen: the area it covers there.
        if (!s.filled && s.penPixels > std::max(visible.width(), visible.height())) {
            const QRectF area = visible.adjusted(-kCutMargin, -kCutMargin, kCutMargin, kCutMargin);
            bool whole = false;
            const QPainterPath covered = StrokeAreaInRect(s.points, s.penPixels, kSmoothMiterLimit, area, &whole);
            start();
            FillStrokeArea(painter, covered, ToQColor(colour));
            if (whole) break;
            continue;
        }
        // The pieces of a line that can reach what the painter shows; a
        // mitred join reaches at most five pen widths past its vertex.
        const std::vector<QPolygonF>* runs = nullptr;
        if (!s.filled) {
            const double margin = 5.0 * s.penPixels + 2.0;
            const QRectF area = visible.adjusted(-margin, -margin, margin, margin);
            if (!area.contains(s.pointBounds)) {
                if (!s.hasRuns || s.runsArea != area) {
                    s.runs = RunsMeeting(s.points, area);
                    s.runsArea = area;
                    s.hasRuns = true;
                }
                if (s.runs.empty()) continue;
                runs = &s.runs;
            }
        }
        start();
        if (s.penPixels != penPixels) {
            painter.setPen(SmoothPen(colour, float(s.penPixels)));
            penPixels = s.penPixels;
        }
        if (s.filled) {
            // The outline first, then the inside over its inner half.
            painter.drawPolygon(*polygon);
            QPainterPath inside;
            inside.setFillRule(Qt::OddEvenFill);
            inside.addPolygon(*polygon);
            inside.closeSubpath();
            FillPathBanded(painter, inside, ToQColor(colour));
        } else if (runs) {
            for (const QPolygonF& run : *runs) StrokePolylineBanded(painter, run, visible);
        } else {
            StrokePolylineBanded(painter, s.points, visible);
        }
    }
    if (started) painter.restore();
}
