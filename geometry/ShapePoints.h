// The points of the shapes the drawing tools make: regular polygons,
// circles and ellipses as control points of closed curves, and the
// 45-degree steps that Shift-constrained lines and polygon vertices snap to.
#pragma once

#include "platform/CList.h"
#include "platform/Types.h"

// Nodes of a circle (12) and of an ellipse (32): smooth control points of
// a closed curve, the first at angle 0 (greatest x), then by increasing
// angle (clockwise on the screen, where y grows downward).
constexpr int kCircleNodeCount = 12;
constexpr int kEllipseNodeCount = 32;

// The `sides` vertices of the regular polygon about `centre` with the
// circumradius `radius`, vertex i at angle 2 pi i / sides + `angle`, each
// rounded to page units. Nothing for fewer than 3 sides.
void RegularPolygonPoints(const CPoint& centre, double radius, int sides, double angle, CPointList& out);

// The circle's control points at `radius` about `centre`.
void CircleControlPoints(const CPoint& centre, double radius, CPointList& out);

// The ellipse inside the box spanned by two corners, kept half a pixel
// (`scale`, page units per pixel) inside it on each side so that it draws
// within the box: centre ((x1 + x2 - s) / 2, (y1 + y2 - s) / 2), semi-axes
// ((|x1 - x2| - s) / 2, (|y1 - y2| - s) / 2). False, with nothing written,
// when a semi-axis is not positive.
bool EllipseControlPoints(const CPoint& a, const CPoint& b, double scale, CPointList& out);

// `radians` to the nearest multiple of 45 degrees (halves away from 0),
// in (-2 pi, 2 pi).
double SnapAngleToEighth(double radians);

// The end of a line from `start` that points from it toward `mouse` along
// the nearest of the eight directions: level or plumb lines keep the
// mouse's x or y, diagonals take the foot of the perpendicular from the
// mouse.
CPoint ConstrainToEighths(const CPoint& start, const CPoint& mouse);
