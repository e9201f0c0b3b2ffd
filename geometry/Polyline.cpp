#include "geometry/Polyline.h"

#include "geometry/Constants.h"
#include "geometry/Distance.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <unordered_map>
#include <utility>
#include <vector>

namespace {

// Fixed search tolerances, in page units.
constexpr double kSectionTolerance = 100.0;
constexpr double kClosedSectionEndTolerance = 500.0;
constexpr double kVertexWalkTolerance = 5.0;
constexpr double kPathEndTolerance = 2.0;
// A walk that ends this little short of the wanted length still hands back
// the path's end point, so sums of rounded lengths reach the true end.
constexpr double kWalkEndSlack = 0.1;

double SegmentLength(const CPoint& a, const CPoint& b)
{
    const double dx = double(b.x) - a.x;
    const double dy = double(b.y) - a.y;
    return std::sqrt(dx * dx + dy * dy);
}

// Start plus the rounded offset towards `to` scaled by t in [0, 1]. Rounding
// the offset rather than the sum keeps the result between the two points.
CPoint Interpolate(const CPoint& from, const CPoint& to, double t)
{
    return CPoint(from.x + RoundToInt((double(to.x) - from.x) * t),
                  from.y + RoundToInt((double(to.y) - from.y) * t));
}

POSITION Step(POSITION pos, bool forward)
{
    return forward ? CPointList::NextOf(pos) : CPointList::PrevOf(pos);
}

// One step along a closed path: past the tail comes the head and before the
// head the tail.
POSITION StepCyclic(const CPointList& list, POSITION pos, bool forward)
{
    const POSITION next = Step(pos, forward);
    if (next) return next;
    return forward ? list.GetHeadPosition() : list.GetTailPosition();
}

// A segment walked in either direction reported in list order.
void SetSegmentInListOrder(bool forward, POSITION nearEnd, POSITION farEnd, POSITION& segStart,
                           POSITION& segEnd)
{
    segStart = forward ? nearEnd : farEnd;
    segEnd = forward ? farEnd : nearEnd;
}

// The segment a vertex is reported with: the one it starts, or for the last
// point the one it ends.
void SegmentOfVertex(POSITION vertex, POSITION& segStart, POSITION& segEnd)
{
    const POSITION next = CPointList::NextOf(vertex);
    if (next) {
        segStart = vertex;
        segEnd = next;
    } else {
        segStart = CPointList::PrevOf(vertex);
        segEnd = vertex;
    }
}

// Whether the half-open boxes [min, max + 1) of the segment and
// [x - r, x + r + 1) of the query meet; 64-bit so that saturated radii and
// extreme coordinates cannot wrap.
bool SegmentBoxMeetsSearchBox(const CPoint& a, const CPoint& b, int x, int y, int r)
{
    const std::int64_t left = std::max<std::int64_t>(std::min(a.x, b.x), std::int64_t(x) - r);
    const std::int64_t right =
        std::min<std::int64_t>(std::int64_t(std::max(a.x, b.x)) + 1, std::int64_t(x) + r + 1);
    const std::int64_t top = std::max<std::int64_t>(std::min(a.y, b.y), std::int64_t(y) - r);
    const std::int64_t bottom =
        std::min<std::int64_t>(std::int64_t(std::max(a.y, b.y)) + 1, std::int64_t(y) + r + 1);
    return left < right && top < bottom;
}

// A copy of the list that remembers which caller position each copied node
// came from.
struct TracedCopy {
    CPointList points;
    std::unordered_map<POSITION, POSITION> origin;

    explicit TracedCopy(const CPointList& list)
    {
        for (POSITION pos = list.GetHeadPosition(); pos; pos = CPointList::NextOf(pos))
            origin[points.AddTail(list.GetAt(pos))] = pos;
    }
    POSITION ToCaller(POSITION pos) const
    {
        const auto it = origin.find(pos);
        return it == origin.end() ? nullptr : it->second;
    }
};

// Places (x, y) on the path of `copy` and returns the node that holds it,
// inserting the placed point when it lies inside a segment; null when the
// path does not come within the tolerance.
POSITION PlaceOnCopy(CPointList& copy, double tolerance, int x, int y)
{
    CPoint point;
    double distance = 0.0;
    POSITION segStart = nullptr, vertex = nullptr, segEnd = nullptr;
    if (!NearestPointOnPath(copy, tolerance, x, y, point, distance, segStart, vertex, segEnd))
        return nullptr;
    return vertex ? vertex : copy.InsertAfter(segStart, point);
}

// The closed-path counterpart of PlaceOnCopy. A placed point equal to an end
// of its segment stands on that node, so no repeated point is made.
POSITION PlaceOnClosedCopy(CPointList& copy, double tolerance, int x, int y)
{
    CPoint point;
    double distance = 0.0;
    POSITION segStart = nullptr, vertex = nullptr, segEnd = nullptr;
    if (!NearestPointOnClosedPath(copy, tolerance, x, y, point, distance, segStart, vertex,
                                  segEnd))
        return nullptr;
    if (vertex) return vertex;
    if (copy.GetAt(segStart) == point) return segStart;
    if (copy.GetAt(segEnd) == point) return segEnd;
    return copy.InsertAfter(segStart, point);
}

// Walks from the node at `pos`, whose point stands at `from`, summing the
// distances between consecutive points until the sum reaches |distance| or
// the path ends. The last point reached is written; 1 when the sum reached
// the distance.
int WalkVertices(const CPointList& list, POSITION pos, const CPoint& from, double distance,
                 CPoint& point)
{
    const bool forward = distance >= 0.0;
    const double wanted = std::fabs(distance);
    CPoint reached = from;
    double sum = 0.0;
    for (POSITION next = Step(pos, forward); sum < wanted && next; next = Step(next, forward)) {
        const CPoint& p = list.GetAt(next);
        sum += SegmentLength(reached, p);
        reached = p;
    }
    point = reached;
    return sum >= wanted ? 1 : 0;
}

// The part of the path before the point picked at (x, y), or with `toEnd`
// the part after it. A closed path picked at its seam, where head and tail
// meet, is the whole path for either part.
int PathPartAtPoint(const CPointList& list, int x, int y, bool toEnd, CPointList& out)
{
    CPoint placed;
    double distance = 0.0;
    POSITION segStart = nullptr, vertex = nullptr, segEnd = nullptr;
    if (!NearestPointOnPath(list, kPathEndTolerance, x, y, placed, distance, segStart, vertex,
                            segEnd)) {
        out.RemoveAll();
        return 0;
    }

    // Built apart from `out`, which may be the list itself.
    CPointList section;
    if (list.GetHead() == list.GetTail() && placed == list.GetHead()) {
        section = list;
    } else if (toEnd) {
        section.AddTail(placed);
        for (POSITION pos = CPointList::NextOf(segStart); pos; pos = CPointList::NextOf(pos))
            section.AddTail(list.GetAt(pos));
        RemoveRepeatedPoints(section);
    } else {
        for (POSITION pos = list.GetHeadPosition(); pos; pos = CPointList::NextOf(pos)) {
            section.AddTail(list.GetAt(pos));
            if (pos == segStart) break;
        }
        section.AddTail(placed);
        RemoveRepeatedPoints(section);
    }
    out = std::move(section);
    return 1;
}

bool IsNegligible(double distance)
{
    return !(std::fabs(distance) > Geo::kTinyDouble);
}

} // namespace

int PolylineLength(const CPointList& list, double& length)
{
    length = 0.0;
    POSITION pos = list.GetHeadPosition();
    if (!pos) return 0;
    const CPoint* prev = &list.GetNext(pos);
    while (pos) {
        const CPoint& p = list.GetNext(pos);
        length += SegmentLength(*prev, p);
        prev = &p;
    }
    return RoundToInt(length);
}

int PolylineLengthRounded(const CPointList& list)
{
    double length = 0.0;
    return PolylineLength(list, length);
}

// Removes in place so that the positions of the points that stay remain valid.
void RemoveRepeatedPoints(CPointList& list)
{
    POSITION pos = list.GetHeadPosition();
    while (pos) {
        const POSITION next = CPointList::NextOf(pos);
        if (next && list.GetAt(next) == list.GetAt(pos))
            list.RemoveAt(next);
        else
            pos = next;
    }
}

void RemoveRepeatedPointsCyclic(CPointList& list)
{
    RemoveRepeatedPoints(list);
    if (list.GetCount() >= 2 && list.GetTail() == list.GetHead())
        list.RemoveAt(list.GetTailPosition());
}

POSITION FindPointInList(const CPointList& list, int x, int y)
{
    return list.Find(CPoint(x, y));
}

int IsPointInPolygon(int x, int y, const CPoint* points, int count)
{
    if (!points || count < 3) return 0;
    // Crossings of the ray from (x, y) towards +x. An edge counts when it
    // spans the ray's height half-open (one end above, the other at or
    // below), which puts top edges in and bottom edges out; a crossing
    // counts only strictly right of the point, which puts left edges in and
    // right edges out. The comparison is made in 128-bit integers so that
    // no coordinate can round or overflow.
    bool inside = false;
    for (int i = 0, j = count - 1; i < count; j = i++) {
        const CPoint& p = points[i];
        const CPoint& q = points[j];
        if ((p.y > y) == (q.y > y)) continue;
        const __int128 dy = __int128(q.y) - p.y;
        const __int128 lhs = (__int128(x) - p.x) * dy;
        const __int128 rhs = (__int128(y) - p.y) * (__int128(q.x) - p.x);
        const bool crossingRightOfPoint = dy > 0 ? lhs < rhs : lhs > rhs;
        if (crossingRightOfPoint) inside = !inside;
    }
    return inside ? 1 : 0;
}

int IsPointInPolyline(int x, int y, const CPointList& list)
{
    CPointList outline(list);
    RemoveRepeatedPointsCyclic(outline);
    if (outline.GetCount() < 3) return 0;
    std::vector<CPoint> points(outline.begin(), outline.end());
    return IsPointInPolygon(x, y, points.data(), int(points.size()));
}

int NearestPointOnSegment(int x1, int y1, int x2, int y2, double tolerance, int x, int y,
                          CPoint& point, double& distance)
{
    if (x == x1 && y == y1) {
        point = CPoint(x1, y1);
        distance = 0.0;
        return 1;
    }
    if (x == x2 && y == y2) {
        point = CPoint(x2, y2);
        distance = 0.0;
        return 1;
    }

    const double a = double(y2) - y1;
    const double b = double(x1) - x2;
    const double c = -(a * x1 + b * y1);
    const double n = a * a + b * b;

    CPoint candidate(x1, y1);
    double candidateDistance = 0.0;
    bool onSegment = false;
    if (n != 0.0) {
        const int fx = x1 == x2 ? x1 : RoundToInt((x * b * b - y * a * b - a * c) / n);
        const int fy = y1 == y2 ? y1 : RoundToInt((y * a * a - x * a * b - b * c) / n);
        onSegment = fx >= std::min(x1, x2) && fx <= std::max(x1, x2) && fy >= std::min(y1, y2) &&
                    fy <= std::max(y1, y2);
        if (onSegment) {
            candidate = CPoint(fx, fy);
            candidateDistance = std::fabs(a * x + b * y + c) / std::sqrt(n);
        }
    }
    if (!onSegment) {
        double d1 = 0.0, d2 = 0.0;
        PointDistance(x, y, x1, y1, d1);
        PointDistance(x, y, x2, y2, d2);
        const bool secondNearer = d2 < d1;
        candidate = secondNearer ? CPoint(x2, y2) : CPoint(x1, y1);
        candidateDistance = secondNearer ? d2 : d1;
    }

    if (candidateDistance > tolerance) return 0;
    point = candidate;
    distance = candidateDistance;
    return 1;
}

int NearestPointOnPath(const CPointList& list, double tolerance, int x, int y, CPoint& point,
                       double& distance, POSITION& segStart, POSITION& vertex, POSITION& segEnd)
{
    if (list.GetCount() < 2) return 0;

    if (const POSITION hit = FindPointInList(list, x, y)) {
        point = CPoint(x, y);
        distance = 0.0;
        vertex = hit;
        SegmentOfVertex(hit, segStart, segEnd);
        return 1;
    }

    const int radius = RoundToInt(tolerance);
    bool found = false;
    CPoint best;
    double bestDistance = 0.0;
    POSITION bestStart = nullptr, bestEnd = nullptr;
    for (POSITION p = list.GetHeadPosition(), q = CPointList::NextOf(p); q;
         p = q, q = CPointList::NextOf(q)) {
        const CPoint& a = list.GetAt(p);
        const CPoint& b = list.GetAt(q);
        if (!SegmentBoxMeetsSearchBox(a, b, x, y, radius)) continue;
        CPoint candidate;
        double d = 0.0;
        if (!NearestPointOnSegment(a.x, a.y, b.x, b.y, tolerance, x, y, candidate, d)) continue;
        // On equal distances the later segment wins.
        if (!found || d <= bestDistance) {
            found = true;
            best = candidate;
            bestDistance = d;
            bestStart = p;
            bestEnd = q;
        }
    }
    if (!found) return 0;

    point = best;
    distance = bestDistance;
    // A nearest point on a vertex is reported as that vertex, as when the
    // query itself is a vertex, so callers do not insert a repeated point.
    if (const POSITION on = FindPointInList(list, best.x, best.y)) {
        vertex = on;
        SegmentOfVertex(on, segStart, segEnd);
    } else {
        vertex = nullptr;
        segStart = bestStart;
        segEnd = bestEnd;
    }
    return 1;
}

int NearestPointOnClosedPath(const CPointList& list, double tolerance, int x, int y, CPoint& point,
                             double& distance, POSITION& segStart, POSITION& vertex,
                             POSITION& segEnd)
{
    if (list.IsEmpty()) return 0;
    TracedCopy closed(list);
    // The repeated first point stands for the caller's first point.
    closed.origin[closed.points.AddTail(list.GetHead())] = list.GetHeadPosition();

    CPoint p;
    double d = 0.0;
    POSITION s = nullptr, v = nullptr, e = nullptr;
    if (!NearestPointOnPath(closed.points, tolerance, x, y, p, d, s, v, e)) return 0;
    point = p;
    distance = d;
    segStart = closed.ToCaller(s);
    vertex = closed.ToCaller(v);
    segEnd = closed.ToCaller(e);
    return 1;
}

int PathSectionBetweenPoints(const CPointList& list, int xA, int yA, int xB, int yB,
                             CPointList& out)
{
    CPointList copy(list);
    CPointList section;
    // B is placed after A's point went in, so B's search sees it.
    const POSITION nodeA = PlaceOnCopy(copy, kSectionTolerance, xA, yA);
    const POSITION nodeB = nodeA ? PlaceOnCopy(copy, kSectionTolerance, xB, yB) : nullptr;
    if (!nodeA || !nodeB) {
        out.RemoveAll();
        return 0;
    }

    bool forward = true;
    for (POSITION pos = copy.GetHeadPosition(); pos; pos = CPointList::NextOf(pos)) {
        if (pos == nodeA) break;
        if (pos == nodeB) {
            forward = false;
            break;
        }
    }
    for (POSITION pos = nodeA; pos && pos != nodeB; pos = Step(pos, forward))
        section.AddTail(copy.GetAt(pos));
    section.AddTail(copy.GetAt(nodeB));
    RemoveRepeatedPoints(section);
    out = std::move(section);
    return 1;
}

int PathFromStartToPoint(const CPointList& list, int x, int y, CPointList& out)
{
    return PathPartAtPoint(list, x, y, false, out);
}

int PathFromPointToEnd(const CPointList& list, int x, int y, CPointList& out)
{
    return PathPartAtPoint(list, x, y, true, out);
}

int ClosedPathSectionThrough(const CPointList& list, int xA, int yA, int xB, int yB, int xC, int yC,
                             CPointList& out)
{
    // Each point goes in before the next is placed, so two points on one
    // segment end up in their order along it.
    CPointList copy(list);
    const POSITION nodeA = PlaceOnClosedCopy(copy, kSectionTolerance, xA, yA);
    const POSITION nodeB = nodeA ? PlaceOnClosedCopy(copy, kSectionTolerance, xB, yB) : nullptr;
    const POSITION nodeC =
        nodeB ? PlaceOnClosedCopy(copy, kClosedSectionEndTolerance, xC, yC) : nullptr;
    if (!nodeC) {
        out.RemoveAll();
        return 0;
    }

    // Walks round from A until C comes up again; when A and C share a node
    // the section is the whole outline. Every walk ends within one round
    // since C is a node of the copy.
    const auto walk = [&](bool forward, bool& passedB) {
        CPointList section;
        passedB = false;
        POSITION pos = nodeA;
        do {
            passedB = passedB || pos == nodeB;
            section.AddTail(copy.GetAt(pos));
            pos = StepCyclic(copy, pos, forward);
        } while (pos != nodeC);
        passedB = passedB || pos == nodeB;
        section.AddTail(copy.GetAt(nodeC));
        return section;
    };

    bool passedB = false;
    CPointList section = walk(true, passedB);
    if (!passedB) section = walk(false, passedB);
    out = std::move(section);
    return 1;
}

int PointAtLengthFromStart(CPoint& point, const CPointList& list, double length)
{
    if (list.IsEmpty()) return 0;
    // Lengths outside the path are clamped to its ends instead of being
    // extrapolated beyond them.
    if (!(length >= 0.0)) {
        point = list.GetHead();
        return 0;
    }
    double walked = 0.0;
    for (POSITION p = list.GetHeadPosition(), q = CPointList::NextOf(p); q;
         p = q, q = CPointList::NextOf(q)) {
        const CPoint& a = list.GetAt(p);
        const CPoint& b = list.GetAt(q);
        const double len = SegmentLength(a, b);
        if (len == 0.0) continue;
        if (walked + len >= length) {
            point = Interpolate(a, b, (length - walked) / len);
            return 1;
        }
        walked += len;
    }
    point = list.GetTail();
    return length == walked ? 1 : 0;
}

int PointAtSignedLength(const CPointList& list, double length, CPoint& point, POSITION& segStart,
                        POSITION& vertex, POSITION& segEnd)
{
    segStart = vertex = segEnd = nullptr;
    const bool forward = length >= 0.0;
    const double wanted = std::fabs(length);
    const POSITION from = forward ? list.GetHeadPosition() : list.GetTailPosition();
    if (!from) return 0;

    double walked = 0.0;
    POSITION lastNear = nullptr, lastFar = nullptr;
    for (POSITION nearEnd = from, farEnd = Step(from, forward); farEnd;
         nearEnd = farEnd, farEnd = Step(farEnd, forward)) {
        const CPoint& a = list.GetAt(nearEnd);
        const CPoint& b = list.GetAt(farEnd);
        const double len = SegmentLength(a, b);
        if (len == 0.0) continue;
        lastNear = nearEnd;
        lastFar = farEnd;
        if (walked + len >= wanted) {
            point = Interpolate(a, b, (wanted - walked) / len);
            SetSegmentInListOrder(forward, nearEnd, farEnd, segStart, segEnd);
            vertex = point == a ? nearEnd : point == b ? farEnd : nullptr;
            return 1;
        }
        walked += len;
    }

    if (std::fabs(wanted - walked) < kWalkEndSlack) {
        const POSITION end = forward ? list.GetTailPosition() : list.GetHeadPosition();
        POSITION neighbour = Step(end, !forward);
        if (!neighbour) neighbour = end;
        point = list.GetAt(end);
        vertex = end;
        SetSegmentInListOrder(forward, neighbour, end, segStart, segEnd);
        return 0;
    }
    if (lastNear) SetSegmentInListOrder(forward, lastNear, lastFar, segStart, segEnd);
    return 0;
}

int PointAlongPathFromNode(const CPointList& list, POSITION start, double distance, CPoint& point,
                           POSITION& segStart, POSITION& vertex, POSITION& segEnd)
{
    if (!start) return 0;
    if (IsNegligible(distance)) {
        point = list.GetAt(start);
        const POSITION next = CPointList::NextOf(start);
        segStart = vertex = start;
        segEnd = next ? next : start;
        return 1;
    }

    const bool forward = distance > 0.0;
    const double wanted = std::fabs(distance);
    double sum = 0.0;
    POSITION nearEnd = start;
    POSITION farEnd = Step(start, forward);
    if (!farEnd) {
        // Already at the end in the walking direction.
        point = list.GetAt(start);
        vertex = start;
        POSITION neighbour = Step(start, !forward);
        SetSegmentInListOrder(forward, neighbour ? neighbour : start, start, segStart, segEnd);
        return 0;
    }
    for (;;) {
        const CPoint& a = list.GetAt(nearEnd);
        const CPoint& b = list.GetAt(farEnd);
        const double len = SegmentLength(a, b);
        sum += len;
        if (sum >= wanted && len > 0.0) {
            point = Interpolate(b, a, (sum - wanted) / len);
            vertex = point == b ? farEnd : point == a ? nearEnd : nullptr;
            SetSegmentInListOrder(forward, nearEnd, farEnd, segStart, segEnd);
            return 1;
        }
        const POSITION next = Step(farEnd, forward);
        if (!next) break;
        nearEnd = farEnd;
        farEnd = next;
    }
    // The path ended first: its end point, reported as the vertex it is.
    point = list.GetAt(farEnd);
    vertex = farEnd;
    SetSegmentInListOrder(forward, nearEnd, farEnd, segStart, segEnd);
    return 0;
}

int VertexAlongPathFromPoint(const CPointList& list, int x, int y, double distance, CPoint& point)
{
    CPointList copy(list);
    CPoint placed;
    double found = 0.0;
    POSITION segStart = nullptr, vertex = nullptr, segEnd = nullptr;
    if (!NearestPointOnPath(copy, kVertexWalkTolerance, x, y, placed, found, segStart, vertex,
                            segEnd))
        return 0;
    // The walk measures from the given point itself, so that point is what
    // goes into the path.
    const CPoint from(x, y);
    const POSITION node = vertex ? vertex : copy.InsertAfter(segStart, from);
    if (IsNegligible(distance)) {
        point = from;
        return 1;
    }
    return WalkVertices(copy, node, from, distance, point);
}

int VertexAlongPathFromNode(const CPointList& list, POSITION start, double distance, CPoint& point)
{
    if (!start) return 0;
    const CPoint& from = list.GetAt(start);
    if (IsNegligible(distance)) {
        point = from;
        return 1;
    }
    return WalkVertices(list, start, from, distance, point);
}
