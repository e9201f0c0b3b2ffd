#include "model/FillPainting.h"

#include "geometry/Distance.h"

#include <QBrush>
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

// Angle in degrees of (dx, dy), clockwise on the screen, in [0, 360).
double ScreenAngle(double dx, double dy)
{
    double a = std::atan2(dy, dx) * 180.0 / kPi;
    if (a < 0.0) a += 360.0;
    return a;
}

int ClampChannel(double v)
{
    return std::clamp(RoundToInt(v), 0, 255);
}

}  // namespace

void PaintPixelField(QPainter& painter, const QPainterPath& area,
                     const std::function<QRgb(double x, double y)>& colorAt)
{
    const QRectF wanted = area.boundingRect() & PaintableRect(painter);
    if (wanted.isEmpty()) return;
    const QRect target = wanted.toAlignedRect();
    QImage field(target.size(), QImage::Format_ARGB32_Premultiplied);
    if (field.isNull()) return;
    for (int row = 0; row < field.height(); ++row) {
        auto* line = reinterpret_cast<QRgb*>(field.scanLine(row));
        const double y = target.top() + row + 0.5;
        for (int col = 0; col < field.width(); ++col) line[col] = colorAt(target.left() + col + 0.5, y);
    }
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
        const double r = std::hypot(x - center.x(), y - center.y()) / radius;
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
    std::vector<QRgb> premultiplied(colors.size());
    std::transform(colors.begin(), colors.end(), premultiplied.begin(),
                   [](QRgb c) { return qPremultiply(c); });
    const double start = std::isfinite(angle) ? std::fmod(angle, 360.0) : 0.0;
    PaintPixelField(painter, area, [&](double x, double y) {
        double a = ScreenAngle(x - center.x(), y - center.y()) - start;
        a = std::fmod(a, 360.0);
        if (a < 0.0) a += 360.0;
        const int q = std::clamp(int(a), 0, 359);
        return premultiplied[std::size_t(q)];
    });
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
