// The geometry of the editors that reshape four-corner boxes (the picture
// and text editors): straight lines held as a x + b y + c = 0, crossings
// rounded to page units, turning points about a centre, and moving an edge
// of a box along the box's axis. A crossing that does not exist (parallel
// or equal lines, as a box collapsed to a line gives) is reported, so an
// editor can leave its corners as they were instead of taking undefined
// values.
#pragma once

#include "platform/Types.h"

struct CLineEquation {
    double a = 0.0;
    double b = 0.0;
    double c = 0.0;
};

// The line through two points (LineThroughPoints).
CLineEquation LineThrough(const CPoint& p1, const CPoint& p2);
// The line through `p` parallel to `line`.
CLineEquation ParallelThrough(const CLineEquation& line, const CPoint& p);
// The crossing of two lines, rounded (RoundToInt); false, with `out` left
// alone, when they do not cross in exactly one point.
bool CrossLines(const CLineEquation& l1, const CLineEquation& l2, CPoint& out);

// Turns the points about `centre` by the counter-clockwise angle from the
// ray centre→`from` to the ray centre→`to` (AngleBetweenLines, RotatePoint),
// so that `from` lands on the ray toward `to`.
void TurnPointsAbout(CPoint* points, int count, const CPoint& centre, const CPoint& from, const CPoint& to);

// The offset that moves an edge parallel to itself along the box's axis:
// `edgeMid` is the midpoint of the moved edge, `oppositeMid` that of the
// opposite edge, and the edge is to pass through `mouse`. The offset is the
// crossing of the axis (oppositeMid–edgeMid) with the line through the
// mouse parallel to the edge (edgeA–edgeB), minus edgeMid. False when
// there is no such crossing.
bool EdgeOffsetAlongAxis(const CPoint& edgeA, const CPoint& edgeB, const CPoint& edgeMid,
                         const CPoint& oppositeMid, const CPoint& mouse, CSize& offset);

// The integer midpoint with halves truncated toward zero.
CPoint MidPoint(const CPoint& p, const CPoint& q);
