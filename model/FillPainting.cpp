#include "model/FillPainting.h"

#include "geometry/Distance.h"

#include <QBrush>
#include <QColor>
#include <QImage>
#include <QPaintDevice>
#include <QPainter>
#include <QPainterPath>
#include <QTransform>

#include <algorithm>
#include <cmath>

namespace {

constexpr double kPi = 3.14159265359;

// The part of the device the painter can still paint on, in its logical
// coordinates.
QRectF PaintableRect(const QPainter& painter)
{
    QRectF rect;
    if (const QPaintDevice* device = painter.device())
        rect = QRectF(0, 0, device->width(), device->height());
    bool invertible = false;
    const QTransform inverse = painter.worldTransform().inverted(&invertible);
    if (!invertible) return QRectF();
    rect = inverse.mapRect(rect);
    if (painter.hasClipping()) rect &= painter.clipBoundingRect();
    return rect;
}

int ClampChannel(double v)
{
    return std::clamp(RoundToInt(v), 0, 255);
}

}  // namespace

bool PrepareField(const QPainter& painter, const QPainterPath& area, QRect& target, QImage& field)
{
    const QRectF wanted = area.boundingRect() & PaintableRect(painter);
    if (wanted.isEmpty()) return false;
    target = wanted.toAlignedRect();
    field = QImage(target.size(), QImage::Format_ARGB32_Premultiplied);
    return !field.isNull();
}

void PaintField(QPainter& painter, const QPainterPath& area, const QRect& target,
                const QImage& field)
{
    QBrush brush(field);
    brush.setTransform(QTransform::fromTranslate(target.left(), target.top()));
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(brush);
    painter.setBrushOrigin(0, 0);
    painter.drawPath(area);
    painter.restore();
}

void PaintLinearGradient(QPainter& painter, const QPainterPath& area, const QPointF& start,
                         const QPointF& end, const CGradientRamp& ramp)
{
    const double dx = end.x() - start.x();
    const double dy = end.y() - start.y();
    const double lengthSquared = dx * dx + dy * dy;
    if (!(lengthSquared > 0.0) || !std::isfinite(lengthSquared)) return;
    PaintPixelField(painter, area, [&](double x, double y) {
        const double t = ((x - start.x()) * dx + (y - start.y()) * dy) / lengthSquared;
        return ramp.PremultipliedAt(t - std::floor(t));
    });
}

void PaintCircularGradient(QPainter& painter, const QPainterPath& area, const QPointF& center,
                           double radius, const CGradientRamp& ramp)
{
    if (!(radius > 0.0)) return;
    PaintPixelField(painter, area, [&](double x, double y) {
        const double dx = x - center.x();
        const double dy = y - center.y();
        const double r = std::sqrt(dx * dx + dy * dy) / radius;
        return ramp.PremultipliedAt(1.0 - r);
    });
}

void PaintSquareGradient(QPainter& painter, const QPainterPath& area, const QPointF& center,
                         double half, double angle, const CGradientRamp& ramp)
{
    if (!(half > 0.0)) return;
    const double radians = std::isfinite(angle) ? angle * kPi / 180.0 : 0.0;
    const double s = std::sin(radians);
    const double c = std::cos(radians);
    PaintPixelField(painter, area, [&](double x, double y) {
        // Into the square's own frame: turned back by the angle.
        const double dx = x - center.x();
        const double dy = y - center.y();
        const double u = dx * c + dy * s;
        const double v = -dx * s + dy * c;
        return ramp.PremultipliedAt(1.0 - std::max(std::fabs(u), std::fabs(v)) / half);
    });
}

void PaintConicalGradient(QPainter& painter, const QPainterPath& area, const QPointF& center,
                          double angle, const std::vector<QRgb>& colors)
{
    if (colors.size() != 360) return;
    QRect target;
    QImage field;
    if (!PrepareField(painter, area, target, field)) return;

    // Sectors one and a half degrees wide, each drawn over the one before,
    // so neighbours overlap and leave no seams; the last sector wraps over
    // the first degree, which is then painted once more in its own colour.
    const QPointF c = center - QPointF(target.topLeft());
    double reach = 0.0;
    for (const QPointF& corner : {QPointF(0, 0), QPointF(field.width(), 0),
                                  QPointF(field.width(), field.height()),
                                  QPointF(0, field.height())})
        reach = std::max(reach, std::hypot(corner.x() - c.x(), corner.y() - c.y()));
    // The chord of a narrow sector must still reach past the farthest pixel.
    reach = reach * 1.01 + 2.0;
    const double start = std::isfinite(angle) ? std::fmod(angle, 360.0) : 0.0;
    auto ray = [&](double degrees) {
        const double r = degrees * kPi / 180.0;
        return QPointF(c.x() + reach * std::cos(r), c.y() + reach * std::sin(r));
    };
    field.fill(Qt::transparent);
    QPainter fan(&field);
    fan.setPen(Qt::NoPen);
    fan.setCompositionMode(QPainter::CompositionMode_Source);
    auto sector = [&](double from, double sweep, QRgb color) {
        QPainterPath path;
        path.moveTo(c);
        path.lineTo(ray(from));
        path.lineTo(ray(from + sweep / 2.0));
        path.lineTo(ray(from + sweep));
        path.closeSubpath();
        fan.setBrush(QColor::fromRgba(color));
        fan.drawPath(path);
    };
    for (int q = 0; q < 360; ++q) sector(start + q, 1.5, colors[std::size_t(q)]);
    sector(start, 1.0, colors[0]);
    fan.end();
    PaintField(painter, area, target, field);
}

std::vector<QRgb> ConicalGradientColors(COLORREF start, COLORREF end, int split, int alpha)
{
    const COLORREF middle = MiddleColor(start, end);
    // In doubles: a split read from a damaged file may be any int.
    const double a = split;
    auto channel = [&](int s, int m, int e, int q) -> int {
        if (q < a) return ClampChannel(s + double(m - s) * q / a);
        if (q > 180 && q > 360 - a) return ClampChannel(s + double(m - s) * (360 - q) / a);
        if (q > 180) return ClampChannel(m + double(e - m) * (360 - a - q) / (180 - a));
        // A split of 180 leaves nothing to blend towards the end colour:
        // the sector opposite the start is the end colour itself.
        if (a == 180) return e;
        return ClampChannel(m + double(e - m) * (q - a) / (180 - a));
    };
    std::vector<QRgb> colors(360);
    for (int q = 0; q < 360; ++q) {
        colors[std::size_t(q)] = qRgba(
            channel(GetRValue(start), GetRValue(middle), GetRValue(end), q),
            channel(GetGValue(start), GetGValue(middle), GetGValue(end), q),
            channel(GetBValue(start), GetBValue(middle), GetBValue(end), q), alpha & 0xFF);
    }
    // The sector at the start angle is always the start colour.
    colors[0] = FillColor(start, alpha);
    return colors;
}
