// The strokes the button pictures are drawn with, on a 16 x 16 grid: the
// ink and its colours, and the small figures several pictures share (a
// curve node, a magnifier, scissors, a letter, a grid). A picture is a
// function that draws on that grid; PictureIcon renders one at any size.
#pragma once

#include <QColor>
#include <QIcon>
#include <QPen>

class QPainter;
class QPointF;
class QRectF;
class QString;

namespace IconStrokes {

// The colours of the pictures.
QColor InkColour();
QColor BlueColour();
QColor RedColour();
QColor PaperColour();

// A round-capped pen of the ink (or another colour).
QPen Ink(qreal width = 1.0);
QPen Ink(qreal width, const QColor& colour);

// The small square of a curve node at `centre`.
void Node(QPainter& p, const QPointF& centre);
// A magnifier: a lens of `radius` at `centre` with its handle to the lower
// right.
void Magnifier(QPainter& p, const QPointF& centre, qreal radius);
void Scissors(QPainter& p);
// One letter filling the grid, in a sans face of 13 pixels.
void Letter(QPainter& p, const QString& text, bool bold, bool italic, bool underline);
void Letter(QPainter& p, const QString& text, bool bold, bool italic, bool underline, const QColor& colour);
// A white grid of `rows` x `columns` cells in `r`.
void Grid(QPainter& p, const QRectF& r, int rows, int columns);

// A picture: a function that draws on the 16 x 16 grid.
using Picture = void (*)(QPainter& painter);

} // namespace IconStrokes

// A picture rendered at `size` pixels and at twice that for scaled screens.
QIcon PictureIcon(IconStrokes::Picture picture, int size = 16);
