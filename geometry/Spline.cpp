#include "geometry/Spline.h"

#include "geometry/Constants.h"
#include "geometry/Distance.h"
#include "geometry/Lines.h"
#include "geometry/Polyline.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <list>
#include <utility>
#include <vector>

namespace {

using Geo::IsZeroByOne;

void ReplaceWithCopy(const CPointList& source, CPointList& out)
{
    CPointList copy(source);
    out = std::move(copy);
}

double SquaredDistance(double x1, double y1, double x2, double y2)
{
    const double dx = x2 - x1;
    const double dy = y2 - y1;
    return dx * dx + dy * dy;
}

double SquaredDistance(const CPoint& p, const CPoint& q)
{
    return SquaredDistance(p.x, p.y, q.x, q.y);
}

double ExactDistance(const CPoint& p, const CPoint& q)
{
    return std::sqrt(SquaredDistance(p, q));
}

// ---------------------------------------------------------------------------
// Spline

// The cubic of one segment in its chord-length parameter t in [0, h]:
// x(t) = x0 + mx t + bx t^2 + cx t^3, and likewise y.
struct SegmentCubic {
    double x0, mx, bx, cx;
    double y0, my, by, cy;

    double X(double t) const { return x0 + t * (mx + t * (bx + t * cx)); }
    double Y(double t) const { return y0 + t * (my + t * (by + t * cy)); }
};

SegmentCubic MakeSegmentCubic(const CPoint& p, const CPoint& q, double h, double mx0, double mx1,
                              double my0, double my1)
{
    const double dx = double(q.x) - double(p.x);
    const double dy = double(q.y) - double(p.y);
    const double h2 = h * h;
    SegmentCubic s;
    s.x0 = p.x;
    s.mx = mx0;
    s.bx = 3.0 * dx / h2 - (2.0 * mx0 + mx1) / h;
    s.cx = -2.0 * dx / (h2 * h) + (mx0 + mx1) / h2;
    s.y0 = p.y;
    s.my = my0;
    s.by = 3.0 * dy / h2 - (2.0 * my0 + my1) / h;
    s.cy = -2.0 * dy / (h2 * h) + (my0 + my1) / h2;
    return s;
}

using KnotList = std::list<CSplineKnot>;

// Parameters inside one piece of a segment where the curve runs parallel to
// the piece's chord: the farthest points of the curve from that chord.
// Returns how many were found, the larger first.
int ParallelTangentRoots(const SegmentCubic& s, double dx, double dy, double roots[2])
{
    const double c0 = s.mx * dy - s.my * dx;
    const double c1 = 2.0 * (s.bx * dy - s.by * dx);
    const double c2 = 3.0 * (s.cx * dy - s.cy * dx);
    if (!IsZeroByOne(c2)) {
        const double disc = c1 * c1 - 4.0 * c0 * c2;
        if (!(disc + 1.0 >= 1.0)) return 0;
        // A discriminant a rounding error below zero is a double root.
        const double root = std::sqrt(std::max(disc, 0.0));
        const double r1 = (-c1 + root) / (2.0 * c2);
        const double r2 = (-c1 - root) / (2.0 * c2);
        roots[0] = std::max(r1, r2);
        roots[1] = std::min(r1, r2);
        return roots[0] != roots[1] ? 2 : 1;
    }
    if (!IsZeroByOne(c1)) {
        roots[0] = -c0 / c1;
        return 1;
    }
    return 0;
}

// Splits the piece a..b at the curve's farthest points from its chord when
// they stray at least `flatness` from it. True when a knot was inserted.
bool SplitPiece(const SegmentCubic& s, KnotList& knots, KnotList::iterator a, KnotList::iterator b,
                double flatness)
{
    const double dx = b->x - a->x;
    const double dy = b->y - a->y;
    double roots[2];
    const int rootCount = ParallelTangentRoots(s, dx, dy, roots);
    const double chord = std::sqrt(dx * dx + dy * dy);
    const double ta = a->t;
    const double tb = b->t;
    const double ax = a->x;
    const double ay = a->y;

    bool inserted = false;
    KnotList::iterator other = b;
    for (int k = 0; k < rootCount; ++k) {
        const double r = roots[k];
        if (!(ta < r && r < tb)) continue;
        const CSplineKnot q{s.X(r), s.Y(r), r};
        const double deviation = IsZeroByOne(chord)
            ? 0.0
            : std::fabs(dy * q.x - dx * q.y + (dx * ay - dy * ax)) / chord;
        const bool differsFromA = q.x != ax || q.y != ay;
        const bool differsFromOther = q.x != other->x || q.y != other->y;
        if (deviation >= flatness && differsFromA && differsFromOther) {
            other = knots.insert(std::next(a), q);
            inserted = true;
        }
    }
    return inserted;
}

// Refines the knots from `first` to `last` until every chord lies within
// the flatness of the curve. Each split narrows the parameter interval of
// the piece, so the refinement ends.
void FlattenSegment(const SegmentCubic& s, KnotList& knots, KnotList::iterator first,
                    KnotList::iterator last, double flatness)
{
    KnotList::iterator a = first;
    while (a != last) {
        const KnotList::iterator b = std::next(a);
        if (!SplitPiece(s, knots, a, b, flatness)) a = b;
    }
}

std::vector<CPoint> WithoutRepeats(const CPointList& points)
{
    std::vector<CPoint> result;
    result.reserve(std::size_t(points.GetCount()));
    for (const CPoint& p : points)
        if (result.empty() || result.back() != p) result.push_back(p);
    return result;
}

// Tangents (derivatives by chord length) at every point, from the spline's
// continuity conditions. False when the system is singular.
bool SolveTangents(const std::vector<CPoint>& p, const std::vector<double>& h, bool closed,
                   std::vector<double>& mx, std::vector<double>& my)
{
    const int n = int(p.size());
    const int rowCount = closed ? n - 1 : n;
    std::vector<CTridiagonalRow> rows(std::size_t(rowCount), CTridiagonalRow{});
    std::vector<double> dx(static_cast<std::size_t>(rowCount), 0.0);
    std::vector<double> dy(static_cast<std::size_t>(rowCount), 0.0);

    for (int i = 0; i < rowCount; ++i) {
        const bool openEnd = !closed && (i == 0 || i == n - 1);
        if (openEnd) continue;
        // In a closed list the point before the first is the last distinct
        // one, and the point after the last distinct one is the closing
        // repeat of the first.
        const int prev = i == 0 ? n - 2 : i - 1;
        const double hPrev = h[std::size_t(prev)];
        const double hNext = h[std::size_t(i)];
        const double lambda = hNext / (hNext + hPrev);
        const double mu = 1.0 - lambda;
        rows[std::size_t(i)] = {lambda, 2.0, mu};
        const CPoint& a = p[std::size_t(prev)];
        const CPoint& b = p[std::size_t(i)];
        const CPoint& c = p[std::size_t(i + 1)];
        dx[std::size_t(i)] = 3.0 * (lambda * (double(b.x) - a.x) / hPrev + mu * (double(c.x) - b.x) / hNext);
        dy[std::size_t(i)] = 3.0 * (lambda * (double(b.y) - a.y) / hPrev + mu * (double(c.y) - b.y) / hNext);
    }
    if (!closed) {
        rows.front() = {0.0, 2.0, 1.0};
        rows.back() = {1.0, 2.0, 0.0};
        dx.front() = 3.0 * (double(p[1].x) - p[0].x) / h[0];
        dy.front() = 3.0 * (double(p[1].y) - p[0].y) / h[0];
        dx.back() = 3.0 * (double(p[std::size_t(n - 1)].x) - p[std::size_t(n - 2)].x) / h[std::size_t(n - 2)];
        dy.back() = 3.0 * (double(p[std::size_t(n - 1)].y) - p[std::size_t(n - 2)].y) / h[std::size_t(n - 2)];
    }

    const auto solve = closed ? SolveCyclicTridiagonal : SolveTridiagonal;
    if (!solve(rows.data(), rowCount, dy.data())) return false;
    if (!solve(rows.data(), rowCount, dx.data())) return false;

    mx.assign(dx.begin(), dx.end());
    my.assign(dy.begin(), dy.end());
    if (closed) {
        mx.push_back(mx.front());
        my.push_back(my.front());
    }
    return true;
}

} // namespace

int SolveTridiagonal(const CTridiagonalRow* rows, int count, double* rhs)
{
    if (!rows || !rhs || count < 1) return 0;
    const std::size_t n = std::size_t(count);
    std::vector<double> upper(n), solution(n);
    double pivot = rows[0].diag;
    if (IsZeroByOne(pivot)) return 0;
    upper[0] = rows[0].upper / pivot;
    solution[0] = rhs[0] / pivot;
    for (std::size_t i = 1; i < n; ++i) {
        pivot = rows[i].diag - rows[i].lower * upper[i - 1];
        if (IsZeroByOne(pivot)) return 0;
        upper[i] = rows[i].upper / pivot;
        solution[i] = (rhs[i] - rows[i].lower * solution[i - 1]) / pivot;
    }
    for (std::size_t i = n - 1; i-- > 0;)
        solution[i] -= upper[i] * solution[i + 1];
    std::copy(solution.begin(), solution.end(), rhs);
    return 1;
}

int SolveCyclicTridiagonal(const CTridiagonalRow* rows, int count, double* rhs)
{
    if (!rows || !rhs || count < 1) return 0;
    // With one or two unknowns the wrapped coefficients fall on unknowns the
    // row already has.
    if (count == 1) {
        const CTridiagonalRow merged{0.0, rows[0].lower + rows[0].diag + rows[0].upper, 0.0};
        return SolveTridiagonal(&merged, 1, rhs);
    }
    if (count == 2) {
        const CTridiagonalRow merged[2] = {
            {0.0, rows[0].diag, rows[0].lower + rows[0].upper},
            {rows[1].lower + rows[1].upper, rows[1].diag, 0.0}};
        return SolveTridiagonal(merged, 2, rhs);
    }

    // Gaussian elimination of the band; the wrap-around adds a column for the
    // last unknown (`side`) and a moving entry in the last row (`lastCol`).
    const std::size_t n = std::size_t(count);
    const std::size_t last = n - 1;
    const std::size_t k = n - 2;
    std::vector<double> diag(n), upper(n), side(n, 0.0), d(rhs, rhs + n);
    for (std::size_t i = 0; i < n; ++i) {
        diag[i] = rows[i].diag;
        upper[i] = rows[i].upper;
    }
    side[0] = rows[0].lower;
    double lastCol = rows[last].upper;
    double lastDiag = rows[last].diag;
    for (std::size_t i = 0; i < k; ++i) {
        if (IsZeroByOne(diag[i])) return 0;
        const double f = rows[i + 1].lower / diag[i];
        diag[i + 1] -= f * upper[i];
        side[i + 1] = -f * side[i];
        d[i + 1] -= f * d[i];
        const double g = lastCol / diag[i];
        lastCol = -g * upper[i];
        lastDiag -= g * side[i];
        d[last] -= g * d[i];
    }
    lastCol += rows[last].lower;
    side[k] += upper[k];
    if (IsZeroByOne(diag[k])) return 0;
    const double g = lastCol / diag[k];
    lastDiag -= g * side[k];
    d[last] -= g * d[k];
    if (IsZeroByOne(lastDiag)) return 0;

    std::vector<double> m(n);
    m[last] = d[last] / lastDiag;
    m[k] = (d[k] - side[k] * m[last]) / diag[k];
    for (std::size_t i = k; i-- > 0;)
        m[i] = (d[i] - upper[i] * m[i + 1] - side[i] * m[last]) / diag[i];
    std::copy(m.begin(), m.end(), rhs);
    return 1;
}

int CubicSplineCurve(const CPointList& points, int closed, double flatness, CPointList& out)
{
    std::vector<CPoint> p = WithoutRepeats(points);
    // A closed list handed over without its closing repeat is closed here, so
    // its last point is not lost and the curve joins up smoothly.
    if (closed && p.size() >= 2 && p.front() != p.back()) p.push_back(p.front());
    const int n = int(p.size());
    if (n < (closed ? 4 : 3)) {
        ReplaceWithCopy(points, out);
        return 0;
    }

    std::vector<double> h(std::size_t(n - 1));
    for (int i = 0; i + 1 < n; ++i) {
        h[std::size_t(i)] = ExactDistance(p[std::size_t(i)], p[std::size_t(i + 1)]);
        if (IsZeroByOne(h[std::size_t(i)])) {
            ReplaceWithCopy(points, out);
            return 0;
        }
    }

    std::vector<double> mx, my;
    if (!SolveTangents(p, h, closed != 0, mx, my)) {
        ReplaceWithCopy(points, out);
        return 0;
    }

    const double tolerance = flatness < 0.5 ? 0.5 : flatness;
    KnotList knots;
    knots.push_back({double(p[0].x), double(p[0].y), 0.0});
    for (int i = 0; i + 1 < n; ++i) {
        const std::size_t s = std::size_t(i);
        const KnotList::iterator first = std::prev(knots.end());
        first->t = 0.0;
        knots.push_back({double(p[s + 1].x), double(p[s + 1].y), h[s]});
        const KnotList::iterator last = std::prev(knots.end());
        const SegmentCubic cubic = MakeSegmentCubic(p[s], p[s + 1], h[s], mx[s], mx[s + 1], my[s], my[s + 1]);
        FlattenSegment(cubic, knots, first, last, tolerance);
    }

    CPointList result;
    for (const CSplineKnot& knot : knots)
        result.AddTail(CPoint(RoundToInt(knot.x), RoundToInt(knot.y)));
    RemoveRepeatedPoints(result);
    if (closed && result.GetCount() > 1) result.RemoveTail();
    out = std::move(result);
    return 1;
}

int ThreePointCurve(const CPointList& points, CPointList& out)
{
    if (points.GetCount() < 3) {
        ReplaceWithCopy(points, out);
        return 0;
    }
    POSITION pos = points.GetHeadPosition();
    const CPoint p0 = points.GetNext(pos);
    const CPoint p1 = points.GetNext(pos);
    const CPoint p2 = points.GetNext(pos);

    // The quadratic's control point, chosen so the curve passes through p1
    // at t = 0.5.
    const double cx = 2.0 * p1.x - (double(p0.x) + p2.x) / 2.0;
    const double cy = 2.0 * p1.y - (double(p0.y) + p2.y) / 2.0;

    CPointList result;
    // t is accumulated, not counted: its rounding decides the samples
    // (0 ... 0.975, forty of them).
    for (double t = 0.0; t <= 1.0; t += 0.025) {
        const double u = 1.0 - t;
        const double x = u * u * p0.x + 2.0 * t * u * cx + t * t * p2.x;
        const double y = u * u * p0.y + 2.0 * t * u * cy + t * t * p2.y;
        result.AddTail(CPoint(RoundToInt(x), RoundToInt(y)));
    }
    if (result.GetHead() != p0) result.AddHead(p0);
    if (result.GetTail() != p2) result.AddTail(p2);
    RemoveRepeatedPoints(result);
    out = std::move(result);
    return 1;
}

int MakeSmoothCurve(const CPointList& points, int closed, CPointList& out)
{
    const int count = points.GetCount();
    if (count > 3 || (count == 3 && closed)) return CubicSplineCurve(points, closed, 0.5, out);
    if (count == 3) return ThreePointCurve(points, out);
    ReplaceWithCopy(points, out);
    return 1;
}

// ---------------------------------------------------------------------------
// Deviation between two paths

namespace {

struct Direction {
    double x = 0.0;
    double y = 0.0;
    double SquaredLength() const { return x * x + y * y; }
};

// Direction of the normal of path `a` at point q, from the nearest points
// at least 10 units away on either side.
Direction NormalAt(const std::vector<CPoint>& a, std::size_t q)
{
    const CPoint& pq = a[q];
    std::size_t back = 0;
    for (std::size_t j = q; j-- > 0;) {
        if (SquaredDistance(a[j], pq) >= 100.0) {
            back = j;
            break;
        }
    }
    std::size_t forward = a.size() - 1;
    for (std::size_t j = q + 1; j < a.size(); ++j) {
        if (SquaredDistance(a[j], pq) >= 100.0) {
            forward = j;
            break;
        }
    }

    Direction u{double(a[back].x) - pq.x, double(a[back].y) - pq.y};
    Direction v{double(a[forward].x) - pq.x, double(a[forward].y) - pq.y};
    if (a[back] == pq) return {-v.y, v.x};
    if (a[forward] == pq) return {-u.y, u.x};

    const double lu = std::sqrt(u.SquaredLength());
    const double lv = std::sqrt(v.SquaredLength());
    if (lu < lv) {
        u.x *= lv / lu;
        u.y *= lv / lu;
    } else {
        v.x *= lu / lv;
        v.y *= lu / lv;
    }
    // For two vectors of equal length the half sum (the bisector) is
    // perpendicular to their difference. Where the path runs straight the
    // half sum vanishes, and where it turns back the difference does; the
    // longer of the two gives the same line without the cancellation.
    const Direction bisector{(u.x + v.x) / 2.0, (u.y + v.y) / 2.0};
    const Direction across{-(v.y - u.y) / 2.0, (v.x - u.x) / 2.0};
    return bisector.SquaredLength() >= across.SquaredLength() ? bisector : across;
}

double SquaredDistanceToSegment(const CPoint& q, const CPoint& s, const CPoint& e)
{
    const double dx = double(e.x) - s.x;
    const double dy = double(e.y) - s.y;
    const double len2 = dx * dx + dy * dy;
    if (len2 <= 0.0) return SquaredDistance(q, s);
    const double t = std::clamp(((double(q.x) - s.x) * dx + (double(q.y) - s.y) * dy) / len2, 0.0, 1.0);
    return SquaredDistance(q.x, q.y, s.x + t * dx, s.y + t * dy);
}

// The squared gap between q and the box of segment s-e widened by one unit,
// 0 inside it.
double SquaredBoxGap(const CPoint& q, const CPoint& s, const CPoint& e)
{
    const double gx = std::max({0.0, double(std::min(s.x, e.x)) - 1.0 - q.x, double(q.x) - std::max(s.x, e.x) - 1.0});
    const double gy = std::max({0.0, double(std::min(s.y, e.y)) - 1.0 - q.y, double(q.y) - std::max(s.y, e.y) - 1.0});
    return gx * gx + gy * gy;
}

// Squared distance from a[q] to path b, looking along a's normal at q and
// at b's vertices.
double SquaredDeviation(const std::vector<CPoint>& a, std::size_t q, const std::vector<CPoint>& b)
{
    const CPoint& pq = a[q];
    double d2 = SquaredDistance(pq, b[0]);
    if (d2 == 0.0) return 0.0;

    // The vertices first: their distances count anyway, and the nearest of
    // them lets the pass over the segments skip the ones farther off.
    for (std::size_t j = 1; j < b.size() && d2 > 0.0; ++j) d2 = std::min(d2, SquaredDistance(pq, b[j]));
    if (d2 == 0.0) return 0.0;

    const Direction n = NormalAt(a, q);
    const double la = n.y;
    const double lb = -n.x;
    const double lc = -(la * pq.x + lb * pq.y);
    for (std::size_t j = 1; j < b.size() && d2 > 0.0; ++j) {
        const CPoint& s = b[j - 1];
        const CPoint& e = b[j];
        // Every candidate of this segment lies in its box (a rounded
        // crossing within a unit of it), so a box farther off than the best
        // so far cannot lower it; this skips the line crossing for nearly
        // every segment of a long path.
        if (SquaredBoxGap(pq, s, e) >= d2) continue;
        CPoint crossing;
        const int code = IntersectLineSegment(la, lb, lc, s.x, s.y, e.x, e.y, crossing);
        if (code == 1)
            d2 = std::min(d2, SquaredDistance(pq, crossing));
        else if (code == 3)
            d2 = std::min(d2, SquaredDistanceToSegment(pq, s, e));
    }
    return d2;
}

std::vector<CPoint> ToVector(const CPointList& list)
{
    return std::vector<CPoint>(list.begin(), list.end());
}

} // namespace

CPoint MaxCurveDeviation(const CPointList& a, const CPointList& b, double& distance)
{
    distance = 0.0;
    if (a.IsEmpty()) return CPoint();
    const std::vector<CPoint> pa = ToVector(a);
    const std::vector<CPoint> pb = ToVector(b);
    CPoint worst = pa.front();
    if (pb.empty()) return worst;

    double worstSquared = 0.0;
    for (std::size_t q = 0; q < pa.size(); ++q) {
        const double d2 = SquaredDeviation(pa, q, pb);
        if (d2 > worstSquared) {
            worstSquared = d2;
            worst = pa[q];
        }
    }
    distance = std::sqrt(worstSquared);
    return worst;
}

// ---------------------------------------------------------------------------
// Curve fitting

namespace {

// Copies the points of `list` from `cursor` up to and including the first
// point equal to `end` (or to the last point when none is). The cursor is
// left on the last point copied, where the next part begins. `positions`,
// when given, receives the list position of every copied point.
void TakePartUpTo(const CPointList& list, POSITION& cursor, const CPoint& end, CPointList& part,
                  std::vector<POSITION>* positions = nullptr)
{
    CPointList result;
    if (positions) positions->clear();
    POSITION pos = cursor;
    while (pos) {
        const POSITION here = pos;
        const CPoint& p = list.GetNext(pos);
        result.AddTail(p);
        if (positions) positions->push_back(here);
        cursor = here;
        if (p == end) break;
    }
    part = std::move(result);
}

int IndexOf(const CPointList& list, POSITION target)
{
    int index = 0;
    for (POSITION pos = list.GetHeadPosition(); pos; pos = CPointList::NextOf(pos), ++index)
        if (pos == target) return index;
    return -1;
}

void BuildCurve(const CPointList& control, bool closed, CPointList& curve)
{
    MakeSmoothCurve(control, closed ? 1 : 0, curve);
    if (closed && !curve.IsEmpty()) curve.AddTail(curve.GetHead());
}

// The start set begins and ends with the stroke's ends.
void PinEnds(const CPointList& dense, CPointList& control)
{
    if (control.IsEmpty() || control.GetHead() != dense.GetHead()) control.AddHead(dense.GetHead());
    if (control.GetTail() != dense.GetTail()) control.AddTail(dense.GetTail());
}

// A negative tolerance would let a control point be inserted on top of its
// neighbour again and again.
double SoundTolerance(double tolerance)
{
    return tolerance < 0.0 ? 0.0 : tolerance;
}

// Inserts, one at a time, the stroke point that strays farthest from the
// curve (and lies beyond the tolerance from the control points around it)
// until the curve follows the stroke within the tolerance. Every inserted
// point lies strictly inside the part of the stroke it splits, so the parts
// shrink and the loop ends.
void InsertWorstStrokePoints(const CPointList& dense, double tolerance, CPointList& control, bool closed,
                             double deviation)
{
    CPointList curve, densepart, curvePart;
    while (tolerance < deviation) {
        BuildCurve(control, closed, curve);
        deviation = 0.0;
        CPoint worst;
        POSITION insertBefore = nullptr;

        POSITION denseCursor = dense.GetHeadPosition();
        POSITION curveCursor = curve.GetHeadPosition();
        POSITION pos = control.GetHeadPosition();
        CPoint first = control.GetNext(pos);
        while (pos) {
            const POSITION secondPos = pos;
            const CPoint second = control.GetNext(pos);
            TakePartUpTo(dense, denseCursor, second, densepart);
            TakePartUpTo(curve, curveCursor, second, curvePart);
            double partDeviation = 0.0;
            const CPoint q = MaxCurveDeviation(densepart, curvePart, partDeviation);
            if (partDeviation > deviation && ExactDistance(q, first) > tolerance
                && ExactDistance(q, second) > tolerance) {
                deviation = partDeviation;
                worst = q;
                insertBefore = secondPos;
            }
            first = second;
        }
        if (tolerance < deviation) control.InsertBefore(insertBefore, worst);
    }
}

double CurveDeviationFromStroke(const CPointList& control, const CPointList& dense)
{
    CPointList curve;
    BuildCurve(control, false, curve);
    double deviation = 0.0;
    MaxCurveDeviation(curve, dense, deviation);
    return deviation;
}

// Where the curve still strays from the stroke, halves the part of the
// stroke under the worst pair of control points; a few rounds only.
void RefineByHalving(CPointList& dense, double tolerance, CPointList& control)
{
    const int count = control.GetCount();
    int rounds = count < 4 ? 7 - count : 3;
    double deviation = CurveDeviationFromStroke(control, dense);
    CPointList curve, densePart, curvePart;
    std::vector<POSITION> densePositions;
    while (tolerance < deviation && rounds > 0) {
        BuildCurve(control, false, curve);
        deviation = 0.0;
        CPoint half;
        POSITION insertBefore = nullptr;
        POSITION denseInsertAfter = nullptr;

        POSITION denseCursor = dense.GetHeadPosition();
        POSITION curveCursor = curve.GetHeadPosition();
        POSITION pos = control.GetHeadPosition();
        CPoint first = control.GetNext(pos);
        while (pos) {
            const POSITION secondPos = pos;
            const CPoint second = control.GetNext(pos);
            TakePartUpTo(curve, curveCursor, second, curvePart);
            TakePartUpTo(dense, denseCursor, second, densePart, &densePositions);
            double partDeviation = 0.0;
            MaxCurveDeviation(curvePart, densePart, partDeviation);
            if (partDeviation > deviation) {
                double length = 0.0;
                PolylineLength(densePart, length);
                CPoint point = first;
                POSITION segStart = nullptr, vertex = nullptr, segEnd = nullptr;
                PointAtSignedLength(densePart, length / 2.0, point, segStart, vertex, segEnd);
                // A part too short to hold a point between its ends cannot
                // be halved; a copy of an end would only waste the round.
                if (point != first && point != second) {
                    deviation = partDeviation;
                    half = point;
                    insertBefore = secondPos;
                    const int index = vertex ? -1 : IndexOf(densePart, segStart);
                    denseInsertAfter = index >= 0 ? densePositions[std::size_t(index)] : nullptr;
                }
            }
            first = second;
        }
        if (!(tolerance < deviation)) break;
        control.InsertBefore(insertBefore, half);
        if (denseInsertAfter) dense.InsertAfter(denseInsertAfter, half);
        --rounds;
        deviation = CurveDeviationFromStroke(control, dense);
    }
}

} // namespace

int FitCurveControlPoints(const CPointList& dense, double tolerance, CPointList& control)
{
    if (dense.GetCount() < 2) return 0;
    tolerance = SoundTolerance(tolerance);
    CPointList d(dense);
    CPointList c(control);

    if (!c.IsEmpty()) {
        PinEnds(d, c);
    } else {
        double length = 0.0;
        PolylineLength(d, length);
        CPoint half = d.GetHead();
        POSITION segStart = nullptr, vertex = nullptr, segEnd = nullptr;
        PointAtSignedLength(d, length / 2.0, half, segStart, vertex, segEnd);
        if (!vertex && segStart) d.InsertAfter(segStart, half);
        c.AddTail(d.GetHead());
        c.AddTail(half);
        c.AddTail(d.GetTail());
    }

    double deviation = tolerance + 1.0;
    if (c.GetCount() > 2) {
        CPointList curve;
        BuildCurve(c, false, curve);
        MaxCurveDeviation(d, curve, deviation);
    }
    InsertWorstStrokePoints(d, tolerance, c, false, deviation);
    RefineByHalving(d, tolerance, c);

    control = std::move(c);
    return 1;
}

int SimplifyToSmoothCurve(const CPointList& dense, CPointList& out)
{
    if (dense.GetCount() < 2) return 0;
    const CPoint head = dense.GetHead();
    const CPoint tail = dense.GetTail();
    CPointList fitted;
    FitCurveControlPoints(dense, 1000.0, fitted);
    fitted.AddHead(head);
    fitted.AddTail(tail);
    RemoveRepeatedPoints(fitted);
    out = std::move(fitted);
    return 1;
}

int FitClosedCurveControlPoints(const CPointList& dense, double tolerance, CPointList& control)
{
    if (dense.GetCount() < 3) return 0;
    tolerance = SoundTolerance(tolerance);
    CPointList d(dense);
    CPointList c(control);

    if (c.GetCount() < 3) {
        const CPointList ends{d.GetHead(), d.GetTail()};
        double unused = 0.0;
        const CPoint farthest = MaxCurveDeviation(d, ends, unused);
        if (c.IsEmpty())
            c.AddTail(farthest);
        else
            c.InsertAfter(c.GetHeadPosition(), farthest);
    }

    d.AddTail(d.GetHead());
    PinEnds(d, c);
    InsertWorstStrokePoints(d, tolerance, c, true, tolerance + 1.0);

    if (c.GetCount() > 1) c.RemoveTail();
    control = std::move(c);
    return 1;
}
