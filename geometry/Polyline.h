// Point lists taken as paths: length, clean-up of repeated points,
// point-in-polygon tests, the nearest point of a path, sections of a path
// and walks of a given length along it.
//
// A point found on a path is reported as three positions of the caller's
// list: the segment's earlier end (segStart), the list point equal to the
// found point or null (vertex), and the segment's later end (segEnd).
// Functions that fill an output list build it aside first, so the output
// may be the input list.
#pragma once

#include "platform/CList.h"
#include "platform/Types.h"

// Sum of the segment lengths in `length` (0 for an empty list); returns it
// rounded.
int PolylineLength(const CPointList& list, double& length);
int PolylineLengthRounded(const CPointList& list);

// Drops every point equal to the point before it.
void RemoveRepeatedPoints(CPointList& list);
// As RemoveRepeatedPoints; then, with two or more points left, drops the
// last point when it repeats the first.
void RemoveRepeatedPointsCyclic(CPointList& list);

// Position of the first point equal to (x, y), or null.
POSITION FindPointInList(const CPointList& list, int x, int y);

// Even-odd (alternate) inside test of the polygon closed from the last point
// back to the first, exact in integers. A point on the outline answers as a
// GDI region does for a rectangle: it is inside when it lies on a left or top
// edge (the interior is to its right or below it) and outside on a right or
// bottom edge, so a polygon tiled by its neighbours claims each point once.
// Fewer than three points make an empty region.
int IsPointInPolygon(int x, int y, const CPoint* points, int count);
// The same test on the closed outline of a list; 0 when the list has fewer
// than three distinct points.
int IsPointInPolyline(int x, int y, const CPointList& list);

// 1 and the point of segment (x1, y1)-(x2, y2) nearest to (x, y) with its
// distance when that distance is within the tolerance, else 0 and nothing
// written. A query point equal to an end is always found.
int NearestPointOnSegment(int x1, int y1, int x2, int y2, double tolerance, int x, int y,
                          CPoint& point, double& distance);

// 1 when a point of the open path lies within the tolerance of (x, y); on
// equal distances the later segment wins. Nothing is written on 0. When the
// point found equals a list point, vertex is the first such point and the
// segment is the one it starts (the one it ends for the last point);
// otherwise vertex is null and the segment is the one that holds the point.
int NearestPointOnPath(const CPointList& list, double tolerance, int x, int y, CPoint& point,
                       double& distance, POSITION& segStart, POSITION& vertex, POSITION& segEnd);
// The same with the last point joined back to the first; the closing
// segment runs from the last position to the first.
int NearestPointOnClosedPath(const CPointList& list, double tolerance, int x, int y, CPoint& point,
                             double& distance, POSITION& segStart, POSITION& vertex,
                             POSITION& segEnd);

// The part of the path from the point picked near A to the one near B, in
// that order (backward along the list when B comes first). 1 when both lie
// within 100 units of the path; else 0 and `out` empty.
int PathSectionBetweenPoints(const CPointList& list, int xA, int yA, int xB, int yB,
                             CPointList& out);
// From the first point to the point picked at (x, y) (within 2 units).
int PathFromStartToPoint(const CPointList& list, int x, int y, CPointList& out);
// From the point picked at (x, y) (within 2 units) to the last point.
int PathFromPointToEnd(const CPointList& list, int x, int y, CPointList& out);
// The section of a closed outline that starts near A, passes near B and ends
// near C (A and B within 100 units, C within 500).
int ClosedPathSectionThrough(const CPointList& list, int xA, int yA, int xB, int yB, int xC, int yC,
                             CPointList& out);

// The point at arc length `length` from the first point. 1 when the path
// reaches that length; otherwise 0 with the last point written (nothing for
// an empty list).
int PointAtLengthFromStart(CPoint& point, const CPointList& list, double length);
// A length of 0 or more is walked from the first point, a negative one
// backwards from the last. 1 when reached; when the path ends less than 0.1
// short of it, its end point is written and the result is still 0.
int PointAtSignedLength(const CPointList& list, double length, CPoint& point, POSITION& segStart,
                        POSITION& vertex, POSITION& segEnd);
// Walks `distance` from the node at `start` (backwards when negative).
// 1 when reached; else 0 with the path's end point in that direction.
int PointAlongPathFromNode(const CPointList& list, POSITION start, double distance, CPoint& point,
                           POSITION& segStart, POSITION& vertex, POSITION& segEnd);
// The first vertex at least `distance` along the path from the point picked
// at (x, y) (within 5 units); 1 when reached, else 0 with the last vertex
// walked.
int VertexAlongPathFromPoint(const CPointList& list, int x, int y, double distance, CPoint& point);
// The same from the node at `start`.
int VertexAlongPathFromNode(const CPointList& list, POSITION start, double distance, CPoint& point);
