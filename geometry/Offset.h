// Parallel paths at a signed distance, the area of an outline, the side of a
// path a point lies on, bounding boxes and segment-rectangle clipping.
//
// A positive distance offsets to the left of the direction of travel as seen
// on the screen (y grows downward): a path running toward +x moves toward
// smaller y. Functions that fill an output list build it aside first, so
// the output may be the input list.
#pragma once

#include "platform/CList.h"
#include "platform/Types.h"

// The path parallel to `points` at `distance`, with mitred corners of any
// length. Consecutive repeated points are first removed from `points`
// itself. A closed path (closed nonzero) should repeat its first point as
// its last (one that does not is closed as if it did); the offset outline
// then repeats its first point as well. Where the path turns straight back
// on itself the offset goes square round the turning point.
void OffsetPolyline(CPointList& points, int closed, int distance, CPointList& out);
// OffsetPolyline; returns 1.
int GetOffsetPolyline(CPointList& points, int closed, int distance, CPointList& out);
// Appends the offset corner at P1 of P0-P1-P2: the crossing of the two
// offset lines (one point), nothing on a straight run or when P1 repeats a
// neighbour, or two points round a turn back.
void OffsetCorner(int x0, int y0, int x1, int y1, int x2, int y2, int distance, CPointList& out);

// Area of the outline closed from the last point back to the first, never
// negative; 0 for two points or fewer.
double PolygonArea(const CPointList& points);

// (least x, least y, greatest x + 1, greatest y + 1); an empty rectangle at
// the origin for an empty list.
CRect PolylineBoundRect(const CPointList& points);
CRect SegmentBoundRect(int x1, int y1, int x2, int y2);

// Nonzero when the segment meets the rectangle, whose four edges all belong
// to it (a segment of one point: right and bottom edges excluded). The ends
// are then replaced: a level or plumb segment by its ends limited to the
// rectangle; any other by the crossings of its line with the two edges it
// runs across the more steeply (top and bottom, or left and right), not
// limited to the segment, the crossing on the first end's side first. On 0
// they are left as they are. The page's selection asks only whether the
// segment meets the rectangle.
int ClipSegmentToRect(int left, int top, int right, int bottom, CPoint& p1, CPoint& p2);
int ClipSegmentToRectXY(int left, int top, int right, int bottom, int& x1, int& y1, int& x2,
                        int& y2);

// 1 when (x, y) lies on the side of the segment S-E that a positive offset
// goes to, or on its line; else 0.
int PointSideOfSegment(int x, int y, int sx, int sy, int ex, int ey);
// The same for the part of the path nearest to the point; 0 for a list of
// fewer than two points.
int PointSideOfPolyline(int x, int y, const CPointList& points);
