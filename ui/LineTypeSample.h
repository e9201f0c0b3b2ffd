// The pictures of the line types that the tool bar's line-type box shows:
// a built-in kind as strokes, a custom pattern as its display copy repeated
// along the box. A picture costs what its box shows whatever the line type
// holds: the pattern is drawn once, cut down to the points the box's pixels
// can show, and stamped along the box at most once a pixel.
#pragma once

#include <QSize>

class CSystemSettings;
class QColor;
class QImage;
class QPainter;
class QRect;

// A picture's size in the box, in pixels.
inline constexpr QSize kLineTypeSampleSize(72, 16);

// The picture of line type `index` of `settings` in `rect`, in `colour`;
// nothing for an index beyond the list.
void DrawLineTypeSample(QPainter& p, const QRect& rect, const CSystemSettings& settings, int index,
                        const QColor& colour);

// The same on a transparent picture of `size` pixels, each `ratio` device
// pixels across.
QImage RenderLineTypeSample(const CSystemSettings& settings, int index, const QSize& size, const QColor& colour,
                            qreal ratio);
