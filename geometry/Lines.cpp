#include "geometry/Lines.h"

#include "geometry/Constants.h"
#include "geometry/Distance.h"
#include "geometry/Polyline.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

// Integer sum that saturates like RoundToInt instead of overflowing.
int AddSaturated(int a, int b)
{
    return RoundToInt(double(a) + double(b));
}

// v within [lo - 1, hi + 1] of the two ends in either order: crossings
// computed from rounded lines may land one unit beside the segment.
bool InWidenedRange(double v, int e1, int e2)
{
    const double lo = e1 < e2 ? e1 : e2;
    const double hi = e1 < e2 ? e2 : e1;
    return lo - 1.0 <= v && v <= hi + 1.0;
}

// The closed box of a segment as a rectangle with exclusive right and bottom.
CRect SegmentBox(const CPoint& p, const CPoint& q)
{
    return CRect(std::min(p.x, q.x), std::min(p.y, q.y), std::max(p.x, q.x) + 1,
                 std::max(p.y, q.y) + 1);
}

bool BoxesMeet(const CRect& a, const CRect& b)
{
    CRect common;
    return common.IntersectRect(a, b) != FALSE;
}

void RemoveConsecutiveDuplicates(CPointList& list)
{
    if (list.GetCount() <= 1) return;
    POSITION pos = list.GetHeadPosition();
    CPoint prev = list.GetNext(pos);
    while (pos) {
        const POSITION at = pos;
        const CPoint p = list.GetNext(pos);
        if (p == prev)
            list.RemoveAt(at);
        else
            prev = p;
    }
}

// Calls visit(from, to) for each segment of the polyline in list order.
template <class Visit>
void ForEachSegment(const CPointList& list, Visit visit)
{
    POSITION pos = list.GetHeadPosition();
    if (!pos) return;
    CPoint prev = list.GetNext(pos);
    while (pos) {
        const CPoint p = list.GetNext(pos);
        visit(prev, p);
        prev = p;
    }
}

// One end of a collinear segment, with its coordinate along the common line.
struct RunEnd {
    CPoint point;
    int run;
};

struct Run {
    RunEnd low;
    RunEnd high;
};

Run OrderAlong(const CPoint& p, const CPoint& q, bool alongY)
{
    const RunEnd a{p, alongY ? p.y : p.x};
    const RunEnd b{q, alongY ? q.y : q.x};
    return b.run < a.run ? Run{b, a} : Run{a, b};
}

bool StrictlyInside(int v, const Run& r)
{
    return r.low.run < v && v < r.high.run;
}

// The collinear case of IntersectSegmentsXY.
int IntersectCollinearSegments(const CPoint& p1, const CPoint& p2, const CPoint& p3,
                               const CPoint& p4, int& x, int& y)
{
    const bool firstApart = !InWidenedRange(p1.x, p3.x, p4.x) && !InWidenedRange(p2.x, p3.x, p4.x);
    const bool secondApart = !InWidenedRange(p3.x, p1.x, p2.x) && !InWidenedRange(p4.x, p1.x, p2.x);
    if (firstApart && secondApart) return 0;

    const bool alongY = p1.x == p2.x && p2.x == p3.x && p3.x == p4.x;
    const Run s1 = OrderAlong(p1, p2, alongY);
    const Run s2 = OrderAlong(p3, p4, alongY);
    const auto put = [&x, &y](const CPoint& p) {
        x = p.x;
        y = p.y;
    };

    if (s1.high.run == s2.low.run) {
        put(s1.high.point);
        return 4;
    }
    if (s2.high.run == s1.low.run) {
        put(s2.high.point);
        return 4;
    }
    if (s1.low.run == s2.low.run) {
        put(s2.high.run < s1.high.run ? s2.high.point : s1.high.point);
        return 5;
    }
    if (s1.high.run == s2.high.run) {
        put(s1.low.run < s2.low.run ? s2.low.point : s1.low.point);
        return 5;
    }
    if (StrictlyInside(s2.low.run, s1) || StrictlyInside(s2.high.run, s1) ||
        StrictlyInside(s1.low.run, s2) || StrictlyInside(s1.high.run, s2))
        return 3;
    return 0;
}

// A segment of zero length tested against the other segment: near its line
// and within its widened box.
int IntersectPointWithSegment(const CPoint& p, const CPoint& s, const CPoint& e, int& x, int& y)
{
    if (DistancePointToLine(p.x, p.y, s.x, s.y, e.x, e.y) >= 1.5) return 0;
    x = p.x;
    y = p.y;
    if (!InWidenedRange(p.x, s.x, e.x)) return 2;
    return InWidenedRange(p.y, s.y, e.y) ? 1 : 2;
}

} // namespace

void LineThroughPointsXY(int x1, int y1, int x2, int y2, double& a, double& b, double& c)
{
    a = double(y2) - double(y1);
    b = double(x1) - double(x2);
    c = -a * x1 - b * y1;
}

void LineThroughPoints(int x1, int y1, int x2, int y2, double& a, double& b, double& c)
{
    LineThroughPointsXY(x1, y1, x2, y2, a, b, c);
}

int IntersectLines(double a1, double b1, double c1, double a2, double b2, double c2, double& x, double& y)
{
    const double d = a1 * b2 - a2 * b1;
    if (!Geo::IsZeroByOne(d)) {
        x = (b1 * c2 - b2 * c1) / d;
        y = (a2 * c1 - a1 * c2) / d;
        return 1;
    }
    // Parallel: compare the offsets through a coefficient both lines share.
    const bool bothVertical = std::fabs(b1) < Geo::kTinyDouble && std::fabs(b2) < Geo::kTinyDouble;
    const double m = bothVertical ? c2 * a1 - c1 * a2 : c2 * b1 - c1 * b2;
    return Geo::IsZeroByOne(m) ? 2 : 0;
}

int IntersectLinesRounded(double a1, double b1, double c1, double a2, double b2, double c2, int& x, int& y)
{
    double dx = 0.0, dy = 0.0;
    const int code = IntersectLines(a1, b1, c1, a2, b2, c2, dx, dy);
    if (code == 1) {
        x = RoundToInt(dx);
        y = RoundToInt(dy);
    }
    return code;
}

int IntersectLinesThroughPointsXY(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4, int& x, int& y)
{
    double a1 = 0.0, b1 = 0.0, c1 = 0.0, a2 = 0.0, b2 = 0.0, c2 = 0.0;
    LineThroughPoints(x1, y1, x2, y2, a1, b1, c1);
    LineThroughPoints(x3, y3, x4, y4, a2, b2, c2);
    return IntersectLinesRounded(a1, b1, c1, a2, b2, c2, x, y);
}

int IntersectLinesThroughPoints(const CPoint& p1, const CPoint& p2, const CPoint& p3, const CPoint& p4,
                                CPoint& result)
{
    return IntersectLinesThroughPointsXY(p1.x, p1.y, p2.x, p2.y, p3.x, p3.y, p4.x, p4.y, result.x,
                                         result.y);
}

void PerpendicularFootXY(int x, int y, double a, double b, double c, int& fx, int& fy)
{
    // The perpendicular through (x, y): b X - a Y + (a y - b x) = 0.
    if (IntersectLinesRounded(a, b, c, b, -a, a * y - b * x, fx, fy) != 1) {
        fx = x;
        fy = y;
    }
}

void PerpendicularFootToLine(int x, int y, double a, double b, double c, CPoint& foot)
{
    PerpendicularFootXY(x, y, a, b, c, foot.x, foot.y);
}

void PerpendicularFoot(int x, int y, int x1, int y1, int x2, int y2, CPoint& foot)
{
    double a = 0.0, b = 0.0, c = 0.0;
    LineThroughPoints(x1, y1, x2, y2, a, b, c);
    PerpendicularFootToLine(x, y, a, b, c, foot);
}

void MirrorPointXY(int x, int y, double a, double b, double c, int& mx, int& my)
{
    int fx = 0, fy = 0;
    PerpendicularFootXY(x, y, a, b, c, fx, fy);
    mx = RoundToInt(2.0 * fx - x);
    my = RoundToInt(2.0 * fy - y);
}

void MirrorPoint(int x, int y, double a, double b, double c, CPoint& mirrored)
{
    MirrorPointXY(x, y, a, b, c, mirrored.x, mirrored.y);
}

void MirrorPointAcrossPointsXY(int x, int y, int x1, int y1, int x2, int y2, int& mx, int& my)
{
    if (x1 == x2 && y1 == y2) return;
    double a = 0.0, b = 0.0, c = 0.0;
    LineThroughPoints(x1, y1, x2, y2, a, b, c);
    MirrorPointXY(x, y, a, b, c, mx, my);
}

CPoint MirrorPointAcrossPoints(int x, int y, int x1, int y1, int x2, int y2, CPoint& mirrored)
{
    MirrorPointAcrossPointsXY(x, y, x1, y1, x2, y2, mirrored.x, mirrored.y);
    return mirrored;
}

void MirrorPolyline(const CPointList& in, int x1, int y1, int x2, int y2, CPointList& out)
{
    double a = 0.0, b = 0.0, c = 0.0;
    LineThroughPoints(x1, y1, x2, y2, a, b, c);
    CPointList result;
    for (const CPoint& p : in) {
        CPoint m;
        MirrorPoint(p.x, p.y, a, b, c, m);
        result.AddTail(m);
    }
    out = std::move(result);
}

void RotatedPointXY(int x, int y, int cx, int cy, double s, double c, int& rx, int& ry)
{
    const double dx = double(x) - double(cx);
    const double dy = double(y) - double(cy);
    rx = AddSaturated(cx, RoundToInt(dx * c - dy * s));
    ry = AddSaturated(cy, RoundToInt(dx * s + dy * c));
}

void RotatePoint(CPoint& p, int cx, int cy, double s, double c)
{
    int rx = 0, ry = 0;
    RotatedPointXY(p.x, p.y, cx, cy, s, c, rx, ry);
    p = CPoint(rx, ry);
}

void RotatePolyline(const CPointList& in, int cx, int cy, double s, double c, CPointList& out)
{
    CPointList result;
    for (CPoint p : in) {
        RotatePoint(p, cx, cy, s, c);
        result.AddTail(p);
    }
    out = std::move(result);
}

void TranslatePolyline(const CPointList& in, int dx, int dy, CPointList& out)
{
    CPointList result;
    for (const CPoint& p : in) result.AddTail(CPoint(AddSaturated(p.x, dx), AddSaturated(p.y, dy)));
    out = std::move(result);
}

CPoint OffsetPoint(const CPoint& p, int dx, int dy)
{
    return CPoint(AddSaturated(p.x, dx), AddSaturated(p.y, dy));
}

int IntersectLineSegmentXY(double a, double b, double c, int x1, int y1, int x2, int y2, int& x, int& y)
{
    const double a2 = double(y2) - double(y1);
    const double b2 = double(x1) - double(x2);
    const double c2 = -(x1 * a2 + y1 * b2);
    const double h = a2 * b - b2 * a;
    if (std::fabs(h) >= 1.0) {
        x = RoundToInt((b2 * c - b * c2) / h);
        y = RoundToInt((a * c2 - a2 * c) / h);
        return InWidenedRange(x, x1, x2) && InWidenedRange(y, y1, y2) ? 1 : 2;
    }
    // A zero-length segment has no direction: it lies on the line only when
    // its point does.
    if (x1 == x2 && y1 == y2) return DistancePointToLineEquation(x1, y1, a, b, c) < 1.5 ? 3 : 0;
    // Two vertical lines share no b to compare their offsets by.
    const bool bothVertical = std::fabs(b) < Geo::kTinyDouble && std::fabs(b2) < Geo::kTinyDouble;
    const double offset = bothVertical ? a2 * c - a * c2 : b2 * c - b * c2;
    return std::fabs(offset) >= 1.0 ? 0 : 3;
}

int IntersectLineSegment(double a, double b, double c, int x1, int y1, int x2, int y2, CPoint& result)
{
    return IntersectLineSegmentXY(a, b, c, x1, y1, x2, y2, result.x, result.y);
}

int IntersectSegmentsXY(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4, int& x, int& y)
{
    const CPoint p1(x1, y1), p2(x2, y2), p3(x3, y3), p4(x4, y4);
    const bool firstIsPoint = p1 == p2;
    const bool secondIsPoint = p3 == p4;
    if (firstIsPoint && secondIsPoint) {
        if (p1 != p3) return 0;
        x = x1;
        y = y1;
        return 1;
    }
    if (firstIsPoint) return IntersectPointWithSegment(p1, p3, p4, x, y);
    if (secondIsPoint) return IntersectPointWithSegment(p3, p1, p2, x, y);
    if ((p1 == p3 && p2 == p4) || (p1 == p4 && p2 == p3)) {
        x = x1;
        y = y1;
        return 5;
    }

    const double dx1 = double(x2) - double(x1), dy1 = double(y2) - double(y1);
    const double dx2 = double(x4) - double(x3), dy2 = double(y4) - double(y3);
    const double k1 = x1 * dy1 - y1 * dx1;
    const double k2 = x3 * dy2 - y3 * dx2;
    const double den = dx1 * dy2 - dy1 * dx2;
    const double nx = dx1 * k2 - dx2 * k1;
    if (std::fabs(den) >= 1.0) {
        x = RoundToInt(nx / den);
        y = RoundToInt((dy1 * k2 - dy2 * k1) / den);
        if (!InWidenedRange(x, x1, x2) || !InWidenedRange(x, x3, x4)) return 2;
        return InWidenedRange(y, y1, y2) && InWidenedRange(y, y3, y4) ? 1 : 2;
    }
    if (std::fabs(nx) >= 1.0) return 0;
    return IntersectCollinearSegments(p1, p2, p3, p4, x, y);
}

int IntersectSegments(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4, CPoint& result)
{
    return IntersectSegmentsXY(x1, y1, x2, y2, x3, y3, x4, y4, result.x, result.y);
}

int SegmentPolylineIntersections(int x1, int y1, int x2, int y2, const CPointList& list, CPointList& out)
{
    const CPoint s(x1, y1), e(x2, y2);
    const CRect box = SegmentBox(s, e);
    CPointList found;
    ForEachSegment(list, [&](const CPoint& prev, const CPoint& p) {
        if (!BoxesMeet(box, SegmentBox(prev, p))) return;
        CPoint crossing;
        const int code = IntersectSegments(x1, y1, x2, y2, prev.x, prev.y, p.x, p.y, crossing);
        if (code == 1 || code == 4 || code == 5) found.AddTail(crossing);
    });
    RemoveConsecutiveDuplicates(found);
    out = std::move(found);
    return out.GetCount();
}

int PolylineIntersections(const CPointList& a, const CPointList& b, CPointList& out)
{
    CPointList found;
    ForEachSegment(a, [&](const CPoint& prevA, const CPoint& pa) {
        const CRect boxA = SegmentBox(prevA, pa);
        ForEachSegment(b, [&](const CPoint& prevB, const CPoint& pb) {
            if (!BoxesMeet(boxA, SegmentBox(prevB, pb))) return;
            CPoint crossing;
            if (IntersectSegments(prevA.x, prevA.y, pa.x, pa.y, prevB.x, prevB.y, pb.x, pb.y, crossing) == 1)
                found.AddTail(crossing);
        });
    });
    RemoveConsecutiveDuplicates(found);
    out = std::move(found);
    return out.GetCount();
}

void SegmentsNearArea(const CPointList& list, const CRect& area, CSegmentList& out)
{
    out.clear();
    const CRect widened(AddSaturated(area.left, -1), AddSaturated(area.top, -1), AddSaturated(area.right, 1),
                        AddSaturated(area.bottom, 1));
    ForEachSegment(list, [&](const CPoint& from, const CPoint& to) {
        if (BoxesMeet(widened, SegmentBox(from, to))) out.emplace_back(from, to);
    });
}

int SegmentListIntersections(const CSegmentList& a, const CSegmentList& b, CPointList& out)
{
    CPointList found;
    for (const auto& [prevA, pa] : a) {
        const CRect boxA = SegmentBox(prevA, pa);
        for (const auto& [prevB, pb] : b) {
            if (!BoxesMeet(boxA, SegmentBox(prevB, pb))) continue;
            CPoint crossing;
            if (IntersectSegments(prevA.x, prevA.y, pa.x, pa.y, prevB.x, prevB.y, pb.x, pb.y, crossing) == 1)
                found.AddTail(crossing);
        }
    }
    RemoveConsecutiveDuplicates(found);
    out = std::move(found);
    return out.GetCount();
}

int PolylineSelfIntersections(const CPointList& list, CPointList& out)
{
    // Copy first: the output may be the list itself, and it grows.
    const CPointList points(list);
    const int n = points.GetCount();
    if (n >= 4) {
        POSITION pos = points.GetHeadPosition();
        CPointList earlier;
        earlier.AddTail(points.GetNext(pos));
        earlier.AddTail(points.GetNext(pos));
        CPoint pi = points.GetNext(pos);
        CPointList found;
        while (pos) {
            const CPoint next = points.GetNext(pos);
            if (SegmentPolylineIntersections(pi.x, pi.y, next.x, next.y, earlier, found) != 0)
                out.AddTail(found);
            earlier.AddTail(pi);
            pi = next;
        }
    }
    return out.GetCount();
}

int LinePolylineIntersections(int x1, int y1, int x2, int y2, const CPointList& list, CPointList& out)
{
    double a = 0.0, b = 0.0, c = 0.0;
    LineThroughPoints(x1, y1, x2, y2, a, b, c);
    return LineEquationPolylineIntersections(a, b, c, list, out);
}

int LineEquationPolylineIntersections(double a, double b, double c, const CPointList& list, CPointList& out)
{
    CPointList found;
    ForEachSegment(list, [&](const CPoint& prev, const CPoint& p) {
        CPoint crossing;
        if (IntersectLineSegment(a, b, c, prev.x, prev.y, p.x, p.y, crossing) == 1) found.AddTail(crossing);
    });
    RemoveRepeatedPointsCyclic(found);
    out = std::move(found);
    return out.GetCount();
}

int IsSameQuadrant(const CPoint& p1, const CPoint& p2, const CPoint& p3, const CPoint& p4)
{
    // Signs are compared directly: the products of the differences could
    // overflow.
    const auto sign = [](int from, int to) { return (to > from) - (to < from); };
    const int sx1 = sign(p2.x, p1.x), sy1 = sign(p2.y, p1.y);
    const int sx2 = sign(p4.x, p3.x), sy2 = sign(p4.y, p3.y);
    const bool sameX = sx1 == 0 || sx2 == 0 || sx1 == sx2;
    const bool sameY = sy1 == 0 || sy2 == 0 || sy1 == sy2;
    return sameX && sameY ? 1 : 0;
}
