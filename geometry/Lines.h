// Straight lines (a x + b y + c = 0) and segments: crossings with result
// codes, perpendicular feet, mirroring, rotation and translation.
#pragma once

#include "platform/CList.h"
#include "platform/Types.h"

#include <utility>
#include <vector>

void LineThroughPointsXY(int x1, int y1, int x2, int y2, double& a, double& b, double& c);
void LineThroughPoints(int x1, int y1, int x2, int y2, double& a, double& b, double& c);

// 0 parallel, 1 one crossing, 2 the same line.
int IntersectLines(double a1, double b1, double c1, double a2, double b2, double c2, double& x, double& y);
int IntersectLinesRounded(double a1, double b1, double c1, double a2, double b2, double c2, int& x, int& y);
int IntersectLinesThroughPointsXY(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4, int& x, int& y);
int IntersectLinesThroughPoints(const CPoint& p1, const CPoint& p2, const CPoint& p3, const CPoint& p4,
                                CPoint& result);

void PerpendicularFootXY(int x, int y, double a, double b, double c, int& fx, int& fy);
void PerpendicularFootToLine(int x, int y, double a, double b, double c, CPoint& foot);
void PerpendicularFoot(int x, int y, int x1, int y1, int x2, int y2, CPoint& foot);

void MirrorPointXY(int x, int y, double a, double b, double c, int& mx, int& my);
void MirrorPoint(int x, int y, double a, double b, double c, CPoint& mirrored);
// Leaves the outputs untouched when the two axis points are equal.
void MirrorPointAcrossPointsXY(int x, int y, int x1, int y1, int x2, int y2, int& mx, int& my);
// The same into a point, which is also returned (untouched, as it came in,
// when the axis points are equal).
CPoint MirrorPointAcrossPoints(int x, int y, int x1, int y1, int x2, int y2, CPoint& mirrored);
// Output lists may be the input list.
void MirrorPolyline(const CPointList& in, int x1, int y1, int x2, int y2, CPointList& out);

// Rotation about (cx, cy) by the angle whose sine is s and cosine c.
void RotatedPointXY(int x, int y, int cx, int cy, double s, double c, int& rx, int& ry);
void RotatePoint(CPoint& p, int cx, int cy, double s, double c);
void RotatePolyline(const CPointList& in, int cx, int cy, double s, double c, CPointList& out);
void TranslatePolyline(const CPointList& in, int dx, int dy, CPointList& out);
// The point moved by (dx, dy), each coordinate held within the int range.
CPoint OffsetPoint(const CPoint& p, int dx, int dy);

// 0 parallel, 1 crossing inside the segment, 2 outside, 3 segment on the line.
int IntersectLineSegmentXY(double a, double b, double c, int x1, int y1, int x2, int y2, int& x, int& y);
int IntersectLineSegment(double a, double b, double c, int x1, int y1, int x2, int y2, CPoint& result);
// 0 none, 1 inside both, 2 lines cross outside, 3 collinear overlap,
// 4 collinear end to end, 5 identical or overlapping with a common end.
int IntersectSegmentsXY(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4, int& x, int& y);
int IntersectSegments(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4, CPoint& result);

int SegmentPolylineIntersections(int x1, int y1, int x2, int y2, const CPointList& list, CPointList& out);
int PolylineIntersections(const CPointList& a, const CPointList& b, CPointList& out);
// Segments of a polyline (from, to) in list order.
using CSegmentList = std::vector<std::pair<CPoint, CPoint>>;
// The segments of the polyline that can hold a crossing (as PolylineIntersections
// reports it) lying in `area`: those whose box widened by one unit meets it.
void SegmentsNearArea(const CPointList& list, const CRect& area, CSegmentList& out);
// PolylineIntersections over such lists: every segment of `a` against every
// one of `b`, in order. Over the segments near an area it finds, in the same
// order, the crossings PolylineIntersections finds in that area (repeats of
// one point may be kept where a crossing outside the area lay between).
int SegmentListIntersections(const CSegmentList& a, const CSegmentList& b, CPointList& out);
// Appends to out; returns the number of points in out.
int PolylineSelfIntersections(const CPointList& list, CPointList& out);
int LinePolylineIntersections(int x1, int y1, int x2, int y2, const CPointList& list, CPointList& out);
int LineEquationPolylineIntersections(double a, double b, double c, const CPointList& list, CPointList& out);

int IsSameQuadrant(const CPoint& p1, const CPoint& p2, const CPoint& p3, const CPoint& p4);
