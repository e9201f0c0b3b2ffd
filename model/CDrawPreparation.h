// A paint on the screen as the elements see it before it starts: what they
// may work out beforehand, each on its own, on other threads (device points
// of their lines, images of their fills), so that the paint itself only
// draws.
#pragma once

#include "platform/Types.h"

#include <QRectF>

class QPainter;

struct CDrawPreparation {
    double scale = 1.0;
    int originX = 0;
    int originY = 0;
    CRect clip;
    // The logical pixels the painter can reach.
    QRectF paintable;
    // Whether logical pixels are device pixels, so images of them can be
    // kept and drawn again unchanged.
    bool wholePixels = true;
    // How far (in logical pixels) thinned device points may stray.
    double tolerance = 0.0;

    // The preparation for a paint through `painter`.
    static CDrawPreparation For(const QPainter& painter, double scale, int originX, int originY,
                                const CRect& clip);
};
