// Painting of the gradient fills in device pixels. Each gradient colours
// every pixel of the area by the pixel centre's position in the gradient,
// so fills Qt has no brush for (the square gradient, gamma-corrected blends,
// the conical fan) look exactly like the plain ones. Only the part of the
// area that can reach the device is computed.
#pragma once

#include "model/CGradientRamp.h"

#include "platform/Types.h"

#include <QImage>
#include <QPointF>
#include <QRect>
#include <QRgb>

#include <vector>

class QPainter;
class QPainterPath;

// The device pixels of the area that the painter can reach, and an image of
// that size to compute them in; false when there are none.
bool PrepareField(const QPainter& painter, const QPainterPath& area, QRect& target, QImage& field);
// Paints the area (with its own fill rule) with the field image placed at
// the target's top-left corner.
void PaintField(QPainter& painter, const QPainterPath& area, const QRect& target,
                const QImage& field);

// Paints the area with the premultiplied colour that colorAt(x, y) gives
// for each device pixel centre.
template <class ColorAt>
void PaintPixelField(QPainter& painter, const QPainterPath& area, ColorAt colorAt)
{
    QRect target;
    QImage field;
    if (!PrepareField(painter, area, target, field)) return;
    for (int row = 0; row < field.height(); ++row) {
        auto* line = reinterpret_cast<QRgb*>(field.scanLine(row));
        const double y = target.top() + row + 0.5;
        for (int col = 0; col < field.width(); ++col) line[col] = colorAt(target.left() + col + 0.5, y);
    }
    PaintField(painter, area, target, field);
}

// Position 0 at `start`, 1 at `end`, constant across the line between
// them, repeating beyond both. Nothing is painted when the points meet.
void PaintLinearGradient(QPainter& painter, const QPainterPath& area, const QPointF& start,
                         const QPointF& end, const CGradientRamp& ramp);
// Position 0 on the circle of the radius about the centre, 1 at the centre
// (0 outside the circle). Nothing is painted for a radius of 0.
void PaintCircularGradient(QPainter& painter, const QPainterPath& area, const QPointF& center,
                           double radius, const CGradientRamp& ramp);
// Position 0 on the square of half-side `half` about the centre, turned by
// `angle` degrees (clockwise on the screen), 1 at the centre, in straight
// lines from the centre to the square (0 outside it).
void PaintSquareGradient(QPainter& painter, const QPainterPath& area, const QPointF& center,
                         double half, double angle, const CGradientRamp& ramp);
// A fan of 360 one-degree sectors about the centre, sector q starting at
// `angle` + q degrees (clockwise on the screen) in colour colors[q]; the
// first degree is colors[0]. `colors` holds 360 straight colours.
void PaintConicalGradient(QPainter& painter, const QPainterPath& area, const QPointF& center,
                          double angle, const std::vector<QRgb>& colors);

// The 360 sector colours of a conical gradient: the start colour at the
// start angle, the middle colour of start and end `split` degrees to either
// side, the end colour opposite the start; every colour with the alpha.
std::vector<QRgb> ConicalGradientColors(COLORREF start, COLORREF end, int split, int alpha);
