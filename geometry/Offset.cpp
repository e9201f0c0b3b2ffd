#include "geometry/Offset.h"

#include "geometry/Distance.h"
#include "geometry/Lines.h"
#include "geometry/Polyline.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <vector>

namespace {

// `distance` along A-B from `from` (A or B), turned a quarter turn about it
// by the angle whose sine is `sine`. A and B must differ.
CPoint QuarterTurnedStep(const CPoint& from, const CPoint& toward, int distance, double sine)
{
    double length = 0.0;
    PointDistance(from.x, from.y, toward.x, toward.y, length);
    // In doubles, saturated: points far apart would overflow an int.
    CPoint p(RoundToInt(from.x + (double(toward.x) - from.x) / length * distance),
             RoundToInt(from.y + (double(toward.y) - from.y) / length * distance));
    RotatePoint(p, from.x, from.y, sine, 0.0);
    return p;
}

// A moved square off segment A-B to the offset side.
CPoint OffsetAtStart(const CPoint& a, const CPoint& b, int distance)
{
    return QuarterTurnedStep(a, b, distance, -1.0);
}

// B moved square off segment A-B to the offset side; the step is taken back
// toward A and turned the other way, which lands on the same side.
CPoint OffsetAtEnd(const CPoint& a, const CPoint& b, int distance)
{
    return QuarterTurnedStep(b, a, distance, 1.0);
}

// The crossing of the two offset lines at P1 of P0-P1-P2, from the exact
// lines rather than through rounded points: on a dense path two segments
// differ in direction by a hair, and lines through rounded offset points
// could then cross far away along the path, leaving a spike. False when the
// segments run parallel (straight on, or straight back).
bool ExactMitre(const CPoint& p0, const CPoint& p1, const CPoint& p2, int distance, CPoint& mitre)
{
    const double l1 = std::hypot(double(p1.x) - p0.x, double(p1.y) - p0.y);
    const double l2 = std::hypot(double(p2.x) - p1.x, double(p2.y) - p1.y);
    const double ux1 = (double(p1.x) - p0.x) / l1, uy1 = (double(p1.y) - p0.y) / l1;
    const double ux2 = (double(p2.x) - p1.x) / l2, uy2 = (double(p2.y) - p1.y) / l2;
    const double cross = ux1 * uy2 - uy1 * ux2;
    if (std::fabs(cross) < 1e-9) return false;
    // The offset side of a direction (ux, uy) is (uy, -ux).
    const double ax = p0.x + uy1 * distance, ay = p0.y - ux1 * distance;
    const double cx = p1.x + uy2 * distance, cy = p1.y - ux2 * distance;
    const double t = ((cx - ax) * uy2 - (cy - ay) * ux2) / cross;
    mitre = CPoint(RoundToInt(ax + t * ux1), RoundToInt(ay + t * uy1));
    return true;
}

// Whether the closed ranges [a1, a2] and [b1, b2] (either order) share a value.
bool RangesMeet(int a1, int a2, int b1, int b2)
{
    return std::max(std::min(a1, a2), std::min(b1, b2)) <= std::min(std::max(a1, a2), std::max(b1, b2));
}

// Sign of the cross product (B - A) x (P - A), exact for any int points.
int SideSign(long long ax, long long ay, long long bx, long long by, long long px, long long py)
{
    const __int128 cross = __int128(bx - ax) * (py - ay) - __int128(by - ay) * (px - ax);
    return cross > 0 ? 1 : (cross < 0 ? -1 : 0);
}

// Neighbours of the vertex at index v that differ from it, walking round a
// closed list. Null when there is none.
const CPoint* DistinctNeighbour(const std::vector<CPoint>& p, std::size_t v, int step, bool closed)
{
    const long n = long(p.size());
    long i = long(v);
    for (long walked = 0; walked < n; ++walked) {
        i += step;
        if (i < 0 || i >= n) {
            if (!closed) return nullptr;
            i = i < 0 ? n - 1 : 0;
        }
        if (p[std::size_t(i)] != p[v]) return &p[std::size_t(i)];
    }
    return nullptr;
}

// Side of a point that lies nearest to vertex V, between P before it and N
// after it. Off the outer edge of a corner both segments agree; where they
// do not, the turn of the path at V decides: the outside of a corner lies
// against the turn.
int SideAtCorner(int x, int y, const CPoint& prev, const CPoint& v, const CPoint& next)
{
    const int before = PointSideOfSegment(x, y, prev.x, prev.y, v.x, v.y);
    const int after = PointSideOfSegment(x, y, v.x, v.y, next.x, next.y);
    if (before == after) return before;
    const int turn = SideSign(prev.x, prev.y, v.x, v.y, next.x, next.y);
    // On the screen (y down) a positive cross product turns clockwise, so
    // the outside of the corner is the left, the positive offset side.
    if (turn > 0) return 1;
    if (turn < 0) return 0;
    return before;
}

} // namespace

void OffsetCorner(int x0, int y0, int x1, int y1, int x2, int y2, int distance, CPointList& out)
{
    const CPoint p0(x0, y0);
    const CPoint p1(x1, y1);
    const CPoint p2(x2, y2);
    if (p0 == p1 || p1 == p2) return;

    CPoint mitre;
    if (ExactMitre(p0, p1, p2, distance, mitre)) {
        out.AddTail(mitre);
        return;
    }

    const CPoint a = OffsetAtStart(p0, p1, distance);
    const CPoint b = OffsetAtEnd(p0, p1, distance);
    const CPoint c = OffsetAtStart(p1, p2, distance);
    const CPoint d = OffsetAtEnd(p1, p2, distance);
    double a1, b1, c1, a2, b2, c2;
    LineThroughPoints(a.x, a.y, b.x, b.y, a1, b1, c1);
    LineThroughPoints(c.x, c.y, d.x, d.y, a2, b2, c2);

    // Parallel offset lines: a straight run needs no corner point, but a path
    // that turns straight back goes square round the turning point, from the
    // end of the one offset line to the start of the other.
    const double turn = double(x0) * (y2 - y1) + double(x1) * (y0 - y2) + double(x2) * (y1 - y0);
    const bool turnsBack = double(x1 - x0) * (x2 - x1) + double(y1 - y0) * (y2 - y1) < 0.0;
    const bool towardOffset = (distance >= 0 && turn + 1.0 < 1.0) || (distance < 0 && turn + 1.0 > 1.0);
    if (!turnsBack && !towardOffset) return;

    CPoint foot1;
    CPoint foot2;
    PerpendicularFootToLine(x1, y1, a1, b1, c1, foot1);
    PerpendicularFootToLine(x1, y1, a2, b2, c2, foot2);
    out.AddTail(foot1);
    if (foot2 != foot1) out.AddTail(foot2);
}

void OffsetPolyline(CPointList& points, int closed, int distance, CPointList& out)
{
    RemoveRepeatedPoints(points);
    CPointList result;
    if (points.GetCount() >= 2) {
        std::vector<CPoint> p(points.begin(), points.end());
        if (closed && p.front() != p.back()) p.push_back(p.front());
        const std::size_t n = p.size();

        if (closed)
            OffsetCorner(p[n - 2].x, p[n - 2].y, p[n - 1].x, p[n - 1].y, p[1].x, p[1].y, distance, result);
        else
            result.AddTail(OffsetAtStart(p[0], p[1], distance));

        for (std::size_t i = 1; i + 1 < n; ++i)
            OffsetCorner(p[i - 1].x, p[i - 1].y, p[i].x, p[i].y, p[i + 1].x, p[i + 1].y, distance, result);

        // Closed: the first corner once more, so the offset outline closes.
        if (closed)
            OffsetCorner(p[n - 2].x, p[n - 2].y, p[0].x, p[0].y, p[1].x, p[1].y, distance, result);
        else
            result.AddTail(OffsetAtEnd(p[n - 2], p[n - 1], distance));
    }
    out.RemoveAll();
    out.AddTail(result);
}

int GetOffsetPolyline(CPointList& points, int closed, int distance, CPointList& out)
{
    OffsetPolyline(points, closed, distance, out);
    return 1;
}

double PolygonArea(const CPointList& points)
{
    if (points.GetCount() <= 2) return 0.0;
    double sum = 0.0;
    const CPoint* prev = &points.GetTail();
    for (const CPoint& p : points) {
        sum += (double(prev->y) + p.y) / 2.0 * (double(p.x) - prev->x);
        prev = &p;
    }
    return std::fabs(sum);
}

namespace {

// The exclusive edge one past a coordinate; a damaged file can put a point
// on the largest int, where it stays.
int PastEdge(int v)
{
    return v == INT_MAX ? v : v + 1;
}

} // namespace

CRect PolylineBoundRect(const CPointList& points)
{
    if (points.IsEmpty()) return CRect();
    CRect r(INT_MAX, INT_MAX, INT_MIN, INT_MIN);
    for (const CPoint& p : points) {
        r.left = std::min(r.left, p.x);
        r.top = std::min(r.top, p.y);
        r.right = std::max(r.right, p.x);
        r.bottom = std::max(r.bottom, p.y);
    }
    r.right = PastEdge(r.right);
    r.bottom = PastEdge(r.bottom);
    return r;
}

CRect SegmentBoundRect(int x1, int y1, int x2, int y2)
{
    return CRect(std::min(x1, x2), std::min(y1, y2), PastEdge(std::max(x1, x2)), PastEdge(std::max(y1, y2)));
}

namespace {

// v limited to [low, high].
int Limited(int v, int low, int high)
{
    return std::max(low, std::min(high, v));
}

} // namespace

int ClipSegmentToRectXY(int left, int top, int right, int bottom, int& x1, int& y1, int& x2, int& y2)
{
    if (x1 == x2 && y1 == y2) return x1 >= left && x1 < right && y1 >= top && y1 < bottom ? 1 : 0;
    if (x1 == x2) {
        if (x1 < left || x1 > right || !RangesMeet(y1, y2, top, bottom)) return 0;
        y1 = Limited(y1, top, bottom);
        y2 = Limited(y2, top, bottom);
        return 1;
    }
    if (y1 == y2) {
        if (y1 < top || y1 > bottom || !RangesMeet(x1, x2, left, right)) return 0;
        x1 = Limited(x1, left, right);
        x2 = Limited(x2, left, right);
        return 1;
    }
    if (!RangesMeet(x1, x2, left, right) || !RangesMeet(y1, y2, top, bottom)) return 0;

    // The line's crossings with the two edges it runs across the more
    // steeply, not limited further; the one on the first end's side first.
    const double dx = double(x2) - x1;
    const double dy = double(y2) - y1;
    CPoint first;
    CPoint second;
    if (std::fabs(dy) >= std::fabs(dx)) {
        const auto xAt = [&](int y) { return CPoint(RoundToInt(x1 + dx * (double(y) - y1) / dy), y); };
        first = xAt(dy > 0.0 ? top : bottom);
        second = xAt(dy > 0.0 ? bottom : top);
    } else {
        const auto yAt = [&](int x) { return CPoint(x, RoundToInt(y1 + dy * (double(x) - x1) / dx)); };
        first = yAt(dx > 0.0 ? left : right);
        second = yAt(dx > 0.0 ? right : left);
    }
    if (!RangesMeet(first.x, second.x, left, right) || !RangesMeet(first.y, second.y, top, bottom)) return 0;
    x1 = first.x;
    y1 = first.y;
    x2 = second.x;
    y2 = second.y;
    return 1;
}

int ClipSegmentToRect(int left, int top, int right, int bottom, CPoint& p1, CPoint& p2)
{
    int x1 = p1.x;
    int y1 = p1.y;
    int x2 = p2.x;
    int y2 = p2.y;
    const int result = ClipSegmentToRectXY(left, top, right, bottom, x1, y1, x2, y2);
    if (result) {
        p1 = CPoint(x1, y1);
        p2 = CPoint(x2, y2);
    }
    return result;
}

int PointSideOfSegment(int x, int y, int sx, int sy, int ex, int ey)
{
    const double angle = LineAngle(sx, sy, ex, ey);
    CPoint p(x, y);
    RotatePoint(p, sx, sy, std::sin(-angle), std::cos(-angle));
    return p.y <= sy ? 1 : 0;
}

int PointSideOfPolyline(int x, int y, const CPointList& points)
{
    if (points.GetCount() < 2) return 0;
    const std::vector<CPoint> p(points.begin(), points.end());
    const std::size_t n = p.size();

    int best = INT_MAX;
    int side = 0;
    for (std::size_t i = 0; i + 1 < n; ++i) {
        const CPoint& s = p[i];
        const CPoint& e = p[i + 1];
        CPoint foot;
        PerpendicularFoot(x, y, s.x, s.y, e.x, e.y, foot);
        if (!IsPointInSegmentBox(foot.x, foot.y, s.x, s.y, e.x, e.y)) continue;
        const int d = PointDistanceRounded(x, y, foot.x, foot.y);
        if (d < best) {
            best = d;
            side = PointSideOfSegment(x, y, s.x, s.y, e.x, e.y);
        }
    }

    std::size_t vertex = n;
    for (std::size_t i = 0; i < n; ++i) {
        const int d = PointDistanceRounded(x, y, p[i].x, p[i].y);
        if (d < best) {
            best = d;
            vertex = i;
        }
    }
    if (vertex == n) return side;

    const CPoint& v = p[vertex];
    const bool closed = p.front() == p.back();
    const CPoint* prev = DistinctNeighbour(p, vertex, -1, closed);
    const CPoint* next = DistinctNeighbour(p, vertex, 1, closed);
    if (!prev) {
        const CPoint& e = next ? *next : v;
        return PointSideOfSegment(x, y, v.x, v.y, e.x, e.y);
    }
    if (!next) return PointSideOfSegment(x, y, prev->x, prev->y, v.x, v.y);
    return SideAtCorner(x, y, *prev, v, *next);
}
