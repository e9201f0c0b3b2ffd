// Painting limited to what can be seen. A damaged width or a deep zoom can
// give a shape device coordinates millions of pixels across, and filling
// such a polygon or stroking with such a pen costs by its own extent rather
// than by the pixels that show. These pieces cut shapes down to the visible
// part of the device first, without changing a pixel inside it.
#pragma once

#include <QPainterPath>
#include <QPolygonF>
#include <QRectF>

#include <vector>

class QBrush;
class QColor;
class QPainter;

// Pixels kept around the visible area when a shape is cut to it, so that a
// cut edge, its outline and its antialiasing stay out of sight.
constexpr double kCutMargin = 3.0;

// The part of the painter's device that painting can still change, in the
// painter's logical coordinates; empty when nothing can be painted.
QRectF VisibleArea(const QPainter& painter);

// The part of the segment from (ax, ay) by (dx, dy) inside the rectangle
// from (left, top) to (right, bottom), as parameters from 0 at its start
// to 1 at its end (Liang-Barsky); false when none of it is.
bool SegmentInsideRect(double ax, double ay, double dx, double dy, double left, double top, double right,
                       double bottom, double& t0, double& t1);

// The polygon cut to the rectangle (Sutherland-Hodgman, one side after the
// other). Every point inside the rectangle keeps its winding number, so
// either fill rule fills the same pixels there; the cut adds edges that run
// along the rectangle's sides. Fewer than three points: nothing is left.
QPolygonF ClipPolygonToRect(const QPolygonF& polygon, const QRectF& rect);

// Whether a polygon cut to the rectangle (ClipPolygonToRect) fills all of
// it under the rule: it has no edge inside, and the inside is filled.
bool FillsWholeRect(const QPolygonF& cut, const QRectF& rect, Qt::FillRule rule);

// The pieces of the polyline inside the rectangle, in order; a segment
// that leaves it ends a piece at the rectangle's edge.
std::vector<QPolygonF> ClipPolylineToRect(const QPolygonF& line, const QRectF& rect);

// What a polyline stroked with a pen of `width` covers inside `rect`: flat
// caps, mitred joins reaching at most `miterLimit` pen widths from their
// vertex and bevelled beyond. The area comes as convex pieces (one per
// segment and per join, each cut to the rectangle) that all turn the same
// way, so that filling the path with the winding rule gives their union.
// When one piece holds the whole rectangle, the area is that rectangle and
// `whole` (if given) is set.
QPainterPath StrokeAreaInRect(const QPolygonF& line, double width, double miterLimit, const QRectF& rect,
                              bool* whole = nullptr);

// Fills an area made by StrokeAreaInRect: smoothed while it has few
// pieces, plain beyond, as smoothing many pieces lying over each other
// costs by their count times the pixels they cover.
void FillStrokeArea(QPainter& painter, const QPainterPath& area, const QColor& colour);

// Fills the path (smoothed or not as the painter says) in bands of rows,
// each band given only the part of the path that crosses it. Qt's smoothing
// rasteriser slows down far beyond proportion when many edges cross the
// same rows (a fuzzed or damaged outline criss-crossing the page takes it
// seconds to minutes); cut into bands the work stays proportional to the
// edges and pixels that show. Paths of few points are filled as they are.
void FillPathBanded(QPainter& painter, const QPainterPath& path, const QBrush& brush);

// Strokes a polyline with the painter's pen: as the painter itself does
// for a hairline, a styled pen or a line of few points, else as the pen's
// outline filled in bands; a line reaching far beyond `visible` (the
// painter's VisibleArea) is cut to what can reach it first.
void StrokePolylineBanded(QPainter& painter, const QPolygonF& line, const QRectF& visible);
