#include "geometry/Spline.h"

#include "geometry/CPolylineBoxTree.h"
#include "geometry/Constants.h"
#include "geometry/Distance.h"
#include "geometry/Lines.h"
#include "geometry/Offset.h"
#include "geometry/Polyline.h"

#include <algorithm>
#include <cmath>
#include <iterator>
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

// The knots that split the piece a..b at the curve's farthest points from
// its chord, where they stray at least `flatness` from it, in the order of
// the roots (the later knot first). Returns how many.
int SplitPiece(const SegmentCubic& s, const CSplineKnot& a, const CSplineKnot& b, double flatness,
               CSplineKnot split[2])
{
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    double roots[2];
    const int rootCount = ParallelTangentRoots(s, dx, dy, roots);
    const double chord = std::sqrt(dx * dx + dy * dy);

    int count = 0;
    const CSplineKnot* other = &b;
    for (int k = 0; k < rootCount; ++k) {
        const double r = roots[k];
        if (!(a.t < r && r < b.t)) continue;
        const CSplineKnot q{s.X(r), s.Y(r), r};
        const double deviation = IsZeroByOne(chord)
            ? 0.0
            : std::fabs(dy * q.x - dx * q.y + (dx * a.y - dy * a.x)) / chord;
        const bool differsFromA = q.x != a.x || q.y != a.y;
        const bool differsFromOther = q.x != other->x || q.y != other->y;
        if (deviation >= flatness && differsFromA && differsFromOther) {
            split[count] = q;
            other = &split[count];
            ++count;
        }
    }
    return count;
}

// Appends a rounded point unless it repeats the last one.
void AddRounded(const CSplineKnot& knot, std::vector<CPoint>& out)
{
    const CPoint p(RoundToInt(knot.x), RoundToInt(knot.y));
    if (out.empty() || out.back() != p) out.push_back(p);
}

// The piece a..b of a segment as a Bezier cubic: its four control
// points, whose convex hull holds the piece.
struct PieceHull {
    double x[4];
    double y[4];
};

PieceHull HullOf(const SegmentCubic& s, const CSplineKnot& a, const CSplineKnot& b)
{
    const double third = (b.t - a.t) / 3.0;
    const auto slopeX = [&s](double t) { return s.mx + t * (2.0 * s.bx + 3.0 * t * s.cx); };
    const auto slopeY = [&s](double t) { return s.my + t * (2.0 * s.by + 3.0 * t * s.cy); };
    return {{a.x, a.x + third * slopeX(a.t), b.x - third * slopeX(b.t), b.x},
            {a.y, a.y + third * slopeY(a.t), b.y - third * slopeY(b.t), b.y}};
}

// A unit and a half of slack around a hull: its points are rounded to whole
// units, and the control points carry rounding errors of their own.
constexpr double kHullSlack = 1.5;

// Where RoundToInt saturates.
constexpr double kLowestRounded = -2147483647.0;
constexpr double kHighestRounded = 2147483646.0;

// Whether the hull lies wholly beyond one side of the area: then so does
// every point of the piece, rounded or not, and any chord between them.
// Rounding saturates short of the int range, so nothing lies beyond a side
// at the range's end: a piece running past it rounds onto that side.
bool HullBeyond(const PieceHull& h, const CRect& area)
{
    const auto [minX, maxX] = std::minmax({h.x[0], h.x[1], h.x[2], h.x[3]});
    const auto [minY, maxY] = std::minmax({h.y[0], h.y[1], h.y[2], h.y[3]});
    return (maxX + kHullSlack < area.left && area.left > kLowestRounded)
        || (minX - kHullSlack > area.right && area.right < kHighestRounded)
        || (maxY + kHullSlack < area.top && area.top > kLowestRounded)
        || (minY - kHullSlack > area.bottom && area.bottom < kHighestRounded);
}

// The least and greatest coordinates of flattened points.
struct PointBox {
    double left = 0.0, top = 0.0, right = -1.0, bottom = -1.0;

    bool IsEmpty() const { return right < left; }
    void Add(double x, double y)
    {
        if (IsEmpty()) {
            left = right = x;
            top = bottom = y;
            return;
        }
        left = std::min(left, x);
        right = std::max(right, x);
        top = std::min(top, y);
        bottom = std::max(bottom, y);
    }
    // Whether every rounded point of the hull's piece falls in the box.
    // Rounding saturates short of the int range (RoundToInt), so a piece
    // running past it, as one through a node on the range's corner does,
    // rounds onto the box's edge there.
    bool Holds(const PieceHull& h) const
    {
        const auto [minX, maxX] = std::minmax({h.x[0], h.x[1], h.x[2], h.x[3]});
        const auto [minY, maxY] = std::minmax({h.y[0], h.y[1], h.y[2], h.y[3]});
        const auto low = [](double v) { return std::max(v - kHullSlack, kLowestRounded); };
        const auto high = [](double v) { return std::min(v + kHullSlack, kHighestRounded); };
        return !IsEmpty() && low(minX) >= left && high(maxX) <= right && low(minY) >= top && high(maxY) <= bottom;
    }
};

// A piece of a segment that was not flattened, the painted area lying
// wholly beside it.
struct SkippedPiece {
    SegmentCubic cubic;
    CSplineKnot a;
    CSplineKnot b;
};

// What a flattening may leave out: the pieces beside every one of `areas`
// (none when it is null), listed in `skipped`.
struct FlattenLimit {
    const std::vector<CRect>* areas = nullptr;
    std::vector<SkippedPiece>* skipped = nullptr;

    bool LeavesOut(const PieceHull& hull) const
    {
        return areas && std::all_of(areas->begin(), areas->end(),
                                    [&hull](const CRect& area) { return HullBeyond(hull, area); });
    }
};

// Grows `box` by the rounded points the flattening of the piece a..b would
// give, refining only the parts that can reach out of the box: the points
// are those FlattenSegment makes, each found at the same split.
void AddPieceToBox(const SegmentCubic& s, CSplineKnot a, const CSplineKnot& b, double flatness,
                   std::vector<CSplineKnot>& pending, PointBox& box)
{
    pending.clear();
    pending.push_back(b);
    while (!pending.empty()) {
        if (box.Holds(HullOf(s, a, pending.back()))) {
            a = pending.back();
            pending.pop_back();
            continue;
        }
        CSplineKnot split[2];
        const int count = SplitPiece(s, a, pending.back(), flatness, split);
        if (count == 0) {
            a = pending.back();
            pending.pop_back();
            box.Add(RoundToInt(a.x), RoundToInt(a.y));
            continue;
        }
        for (int k = 0; k < count; ++k) pending.push_back(split[k]);
    }
}

// Flattens one segment from `first` (already in `out`) to `last`: a piece
// whose chord strays from the curve is split at its farthest points and
// its parts are refined in turn, the earliest first, so the knots come out
// in order. Each split narrows the parameter interval of the piece, so the
// refinement ends. `pending` is scratch space: the right ends of the
// pieces still to refine, the next one on top. A piece that lies wholly
// beside the limit's areas is left as its chord: what lies in them is
// flattened exactly as without a limit, split for split.
void FlattenSegment(const SegmentCubic& s, CSplineKnot first, const CSplineKnot& last, double flatness,
                    const FlattenLimit& limit, std::vector<CSplineKnot>& pending, std::vector<CPoint>& out)
{
    pending.clear();
    pending.push_back(last);
    CSplineKnot a = first;
    while (!pending.empty()) {
        if (limit.areas && limit.LeavesOut(HullOf(s, a, pending.back()))) {
            if (limit.skipped) limit.skipped->push_back({s, a, pending.back()});
            a = pending.back();
            pending.pop_back();
            AddRounded(a, out);
            continue;
        }
        CSplineKnot split[2];
        const int count = SplitPiece(s, a, pending.back(), flatness, split);
        if (count == 0) {
            a = pending.back();
            pending.pop_back();
            AddRounded(a, out);
            continue;
        }
        // The later knot was found first; the earlier one goes on top.
        for (int k = 0; k < count; ++k) pending.push_back(split[k]);
    }
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

namespace {

// The spline through `p` (no repeats, a closed one ending on its first
// point) flattened into `out`, within the limit. False when it cannot be
// built.
bool FlattenedSpline(const std::vector<CPoint>& p, bool closed, double flatness, std::vector<CPoint>& out,
                     const FlattenLimit& limit = {})
{
    const int n = int(p.size());
    if (n < (closed ? 4 : 3)) return false;

    std::vector<double> h(std::size_t(n - 1));
    for (int i = 0; i + 1 < n; ++i) {
        h[std::size_t(i)] = ExactDistance(p[std::size_t(i)], p[std::size_t(i + 1)]);
        if (IsZeroByOne(h[std::size_t(i)])) return false;
    }

    std::vector<double> mx, my;
    if (!SolveTangents(p, h, closed, mx, my)) return false;

    const double tolerance = flatness < 0.5 ? 0.5 : flatness;
    std::vector<CSplineKnot> pending;
    out.clear();
    out.emplace_back(p[0]);
    for (int i = 0; i + 1 < n; ++i) {
        const std::size_t s = std::size_t(i);
        const CSplineKnot first{double(p[s].x), double(p[s].y), 0.0};
        const CSplineKnot last{double(p[s + 1].x), double(p[s + 1].y), h[s]};
        const SegmentCubic cubic = MakeSegmentCubic(p[s], p[s + 1], h[s], mx[s], mx[s + 1], my[s], my[s + 1]);
        FlattenSegment(cubic, first, last, tolerance, limit, pending, out);
    }
    if (closed && out.size() > 1) out.pop_back();
    return true;
}

// CubicSplineCurve on vectors; false, with `out` untouched, where that
// copies its input.
bool SplineCurvePoints(const std::vector<CPoint>& points, bool closed, double flatness, std::vector<CPoint>& out,
                       const FlattenLimit& limit = {})
{
    std::vector<CPoint> p;
    p.reserve(points.size() + 1);
    for (const CPoint& q : points)
        if (p.empty() || p.back() != q) p.push_back(q);
    // A closed list names its start again at its end. Without that repeat
    // its last point would be taken for the start and lost, so such a list
    // is left as it is, for the caller to draw as a polyline.
    if (closed && !p.empty() && p.front() != p.back()) return false;
    std::vector<CPoint> result;
    if (!FlattenedSpline(p, closed, flatness, result, limit)) return false;
    out = std::move(result);
    return true;
}

std::vector<CPoint> ToVector(const CPointList& list)
{
    return std::vector<CPoint>(list.begin(), list.end());
}

CPointList ToList(const std::vector<CPoint>& points)
{
    CPointList list;
    for (const CPoint& p : points) list.AddTail(p);
    return list;
}

} // namespace

int CubicSplineCurve(const CPointList& points, int closed, double flatness, CPointList& out)
{
    std::vector<CPoint> curve;
    if (!SplineCurvePoints(ToVector(points), closed != 0, flatness, curve)) {
        ReplaceWithCopy(points, out);
        return 0;
    }
    out = ToList(curve);
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

CCurveCut MakeSmoothCurveWithin(const CPointList& points, int closed, const CRect& area, CPointList& out)
{
    return MakeSmoothCurveWithin(points, closed, std::vector<CRect>{area}, out);
}

CCurveCut MakeSmoothCurveWithin(const CPointList& points, int closed, const std::vector<CRect>& areas,
                                CPointList& out)
{
    CCurveCut cut;
    const int count = points.GetCount();
    std::vector<SkippedPiece> skipped;
    std::vector<CPoint> curve;
    if ((count > 3 || (count == 3 && closed))
        && SplineCurvePoints(ToVector(points), closed != 0, 0.5, curve, FlattenLimit{&areas, &skipped})) {
        out = ToList(curve);
    } else {
        // No spline: nothing is flattened, so nothing is left out.
        MakeSmoothCurve(points, closed, out);
    }
    cut.bounds = PolylineBoundRect(out);
    if (skipped.empty()) return cut;

    // The bounds of the whole flattening: what was left out can only grow
    // those of what was kept where it reaches beyond them.
    PointBox box;
    for (const CPoint& p : out) box.Add(p.x, p.y);
    std::vector<CSplineKnot> pending;
    for (const SkippedPiece& piece : skipped) AddPieceToBox(piece.cubic, piece.a, piece.b, 0.5, pending, box);
    cut.shortened = true;
    cut.bounds = PolylineBoundRect(CPointList{CPoint(int(box.left), int(box.top)),
                                              CPoint(int(box.right), int(box.bottom))});
    return cut;
}

// ---------------------------------------------------------------------------
// Deviation between two paths

namespace {

struct Direction {
    double x = 0.0;
    double y = 0.0;
    double SquaredLength() const { return x * x + y * y; }
};

// A run of points held elsewhere.
struct PointSpan {
    const CPoint* data = nullptr;
    std::size_t size = 0;

    const CPoint& operator[](std::size_t k) const { return data[k]; }
};

PointSpan SpanOf(const std::vector<CPoint>& v, std::size_t first = 0, std::size_t last = std::size_t(-1))
{
    if (v.empty()) return {};
    last = std::min(last, v.size() - 1);
    return {v.data() + first, last - first + 1};
}

// Direction of the normal of path `a` at point q, from the nearest points
// at least 10 units away on either side.
Direction NormalAt(const PointSpan& a, std::size_t q)
{
    const CPoint& pq = a[q];
    std::size_t back = 0;
    for (std::size_t j = q; j-- > 0;) {
        if (SquaredDistance(a[j], pq) >= 100.0) {
            back = j;
            break;
        }
    }
    std::size_t forward = a.size - 1;
    for (std::size_t j = q + 1; j < a.size; ++j) {
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

// Measures the points of one path against another: the squared distance
// from a point of `a` to path `b`, the least of its distances to b's
// vertices and to the points where a's normal at it crosses b. Every such
// candidate lies in the box of its segment (a rounded crossing within a unit
// of it), so the boxes of b, held in a tree, rule out nearly all of b for
// each point.
class DeviationSearch {
public:
    // `tree` is storage for the search, rebuilt for b.
    DeviationSearch(const PointSpan& a, const PointSpan& b, CPolylineBoxTree& tree) : m_a(a), m_b(b), m_tree(tree)
    {
        m_tree.Reset(b.data, b.size);
    }

    // The distance to the nearest vertex of b that a walk along b from
    // `near` finds, and the walk's end in `near`: a bound from above, cheap
    // when consecutive points of a lie near each other.
    double NearVertexBound(std::size_t q, std::size_t& near) const
    {
        const CPoint& pq = m_a[q];
        double d2 = SquaredDistance(pq, m_b[near]);
        while (near + 1 < m_b.size) {
            const double next = SquaredDistance(pq, m_b[near + 1]);
            if (next > d2) break;
            d2 = next;
            ++near;
        }
        while (near > 0) {
            const double previous = SquaredDistance(pq, m_b[near - 1]);
            if (previous > d2) break;
            d2 = previous;
            --near;
        }
        return d2;
    }

    // The squared deviation of a[q], starting from a bound and from the
    // vertex `near` of b, beside which a's normal most likely crosses b. The
    // search gives up, returning a bound, once `wanted` says a value that
    // low is of no interest.
    template <class Wanted>
    double SquaredDeviation(std::size_t q, double bound, std::size_t near, Wanted&& wanted) const
    {
        const CPoint& pq = m_a[q];
        double d2 = bound;
        if (d2 == 0.0 || !wanted(d2)) return d2;

        const Direction n = NormalAt(m_a, q);
        const Line normal{n.y, -n.x, -(n.y * pq.x - n.x * pq.y)};
        // The segments on either side of the nearest vertex first: where they
        // give a crossing, few points remain of interest.
        const std::size_t from = near > 0 ? near - 1 : 0;
        const std::size_t to = std::min(near + 1, m_b.size - 1);
        for (std::size_t j = from + 1; j <= to; ++j) d2 = std::min(d2, SegmentCandidate(pq, normal, j, d2));
        if (d2 == 0.0 || !wanted(d2)) return d2;

        m_tree.VisitNear(pq, d2, [&](std::size_t first, std::size_t last) {
            for (std::size_t j = first; j <= last; ++j) d2 = std::min(d2, SquaredDistance(pq, m_b[j]));
            for (std::size_t j = first + 1; j <= last && d2 > 0.0; ++j) d2 = std::min(d2, SegmentCandidate(pq, normal, j, d2));
            return d2 > 0.0 && wanted(d2);
        });
        return d2;
    }

private:
    struct Line {
        double a, b, c;
    };

    // The squared distance from p to where the line crosses segment j of b
    // (the one ending at vertex j), or to the segment when it lies along the
    // line; `bound` when that cannot be nearer.
    double SegmentCandidate(const CPoint& p, const Line& line, std::size_t j, double bound) const
    {
        const CPoint& s = m_b[j - 1];
        const CPoint& e = m_b[j];
        if (SquaredBoxGap(p, s, e) >= bound) return bound;
        CPoint crossing;
        const int code = IntersectLineSegment(line.a, line.b, line.c, s.x, s.y, e.x, e.y, crossing);
        if (code == 1) return SquaredDistance(p, crossing);
        if (code == 3) return SquaredDistanceToSegment(p, s, e);
        return bound;
    }

    PointSpan m_a;
    PointSpan m_b;
    CPolylineBoxTree& m_tree;
};

// Storage the deviation searches of one fitting share, so that its many
// small searches do not each allocate their own.
struct DeviationScratch {
    CPolylineBoxTree tree;
    std::vector<double> bounds;
    std::vector<std::size_t> nearest;
    std::vector<std::size_t> order;
};

// MaxCurveDeviation on spans: the first point of `a` at the greatest
// distance. Only that one distance must be exact; any point whose distance
// is shown to be lower (or equal, when it comes later) can be passed over.
// A quick walk bounds every distance from above; the points are measured
// in the order of their bounds, the largest first, so the farthest comes
// early and most of the others are passed over on their bound alone or
// after a short search.
CPoint MaxDeviation(const PointSpan& a, const PointSpan& b, double& distance, DeviationScratch& scratch)
{
    distance = 0.0;
    if (a.size == 0) return CPoint();
    if (b.size == 0) return a[0];

    const DeviationSearch search(a, b, scratch.tree);
    std::vector<double>& bounds = scratch.bounds;
    std::vector<std::size_t>& nearest = scratch.nearest;
    std::vector<std::size_t>& order = scratch.order;
    bounds.resize(a.size);
    nearest.resize(a.size);
    order.resize(a.size);
    std::size_t near = 0;
    for (std::size_t q = 0; q < a.size; ++q) {
        bounds[q] = std::min(search.NearVertexBound(q, near), SquaredDistance(a[q], b[0]));
        nearest[q] = near;
        order[q] = q;
    }
    // The largest bounds first: the farthest point is most likely among them.
    std::stable_sort(order.begin(), order.end(), [&](std::size_t p, std::size_t q) { return bounds[p] > bounds[q]; });

    // The worst so far; a[0] at no distance stands for none.
    double worstSquared = 0.0;
    std::size_t worst = 0;
    for (const std::size_t q : order) {
        const auto beats = [&](double d2) { return d2 > worstSquared || (d2 == worstSquared && q < worst); };
        if (!beats(bounds[q])) continue;
        const double d2 = search.SquaredDeviation(q, bounds[q], nearest[q], beats);
        if (beats(d2)) {
            worstSquared = d2;
            worst = q;
        }
    }
    distance = std::sqrt(worstSquared);
    return a[worst];
}

} // namespace

CPoint MaxCurveDeviation(const CPointList& a, const CPointList& b, double& distance)
{
    const std::vector<CPoint> pa = ToVector(a);
    const std::vector<CPoint> pb = ToVector(b);
    DeviationScratch scratch;
    return MaxDeviation(SpanOf(pa), SpanOf(pb), distance, scratch);
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

// MakeSmoothCurve on vectors, the closing point of a closed curve repeated
// at its end as the fitting walks it.
void BuildCurvePoints(const std::vector<CPoint>& control, bool closed, std::vector<CPoint>& curve)
{
    const std::size_t count = control.size();
    if (count > 3 || (count == 3 && closed)) {
        if (!SplineCurvePoints(control, closed, 0.5, curve)) curve = control;
    } else if (count == 3) {
        CPointList list;
        ThreePointCurve(ToList(control), list);
        curve = ToVector(list);
    } else {
        curve = control;
    }
    if (closed && !curve.empty()) curve.push_back(curve.front());
}

// What one fitting keeps between its steps: the last curve built (the steps
// often build the same one again) and storage for the deviation searches.
class FitWorkspace {
public:
    const std::vector<CPoint>& Curve(const std::vector<CPoint>& control, bool closed)
    {
        if (!m_built || closed != m_closed || control != m_control) {
            BuildCurvePoints(control, closed, m_curve);
            m_control = control;
            m_closed = closed;
            m_built = true;
        }
        return m_curve;
    }

    const std::vector<CPoint>& Curve(const CPointList& control, bool closed)
    {
        return Curve(ToVector(control), closed);
    }

    DeviationScratch& Scratch() { return m_scratch; }

private:
    bool m_built = false;
    bool m_closed = false;
    std::vector<CPoint> m_control;
    std::vector<CPoint> m_curve;
    DeviationScratch m_scratch;
};

// MaxCurveDeviation with the fitting's storage.
CPoint MaxDeviation(const std::vector<CPoint>& a, const std::vector<CPoint>& b, double& distance,
                    FitWorkspace& work)
{
    return MaxDeviation(SpanOf(a), SpanOf(b), distance, work.Scratch());
}

CPoint MaxDeviation(const CPointList& a, const CPointList& b, double& distance, FitWorkspace& work)
{
    return MaxDeviation(ToVector(a), ToVector(b), distance, work);
}

// From `from` on, the index of the first point equal to `end`, or of the
// last point when none is: where a part that starts at `from` ends and the
// next one begins.
std::size_t PartEnd(const std::vector<CPoint>& points, std::size_t from, const CPoint& end)
{
    for (std::size_t k = from; k < points.size(); ++k)
        if (points[k] == end) return k;
    return points.empty() ? 0 : points.size() - 1;
}

// The part of the stroke between two neighbouring control points and the
// part of the curve over it, as last measured, with the stroke point that
// strayed farthest from the curve.
struct MeasuredPart {
    bool measured = false;
    std::size_t denseFirst = 0;
    std::size_t denseLast = 0;
    std::vector<CPoint> curve;
    CPoint worst;
    double deviation = 0.0;

    bool Holds(std::size_t first, std::size_t last, const PointSpan& curvePart) const
    {
        return measured && denseFirst == first && denseLast == last && curve.size() == curvePart.size
            && std::equal(curve.begin(), curve.end(), curvePart.data);
    }
};

// Inserts, one at a time, the stroke point that strays farthest from the
// curve (and lies beyond the tolerance from the control points around it)
// until the curve follows the stroke within the tolerance. Every inserted
// point lies strictly inside the part of the stroke it splits, so the parts
// shrink and the loop ends.
//
// Each round builds the whole curve again, since a new control point bends
// all of it a little. Far from the new point the bend is far below a unit,
// so the rounded points of most parts come out as they were: their
// measures are kept rather than taken again.
void InsertWorstStrokePoints(const CPointList& denseList, double tolerance, CPointList& controlList, bool closed,
                             double deviation, FitWorkspace& work)
{
    const std::vector<CPoint> dense = ToVector(denseList);
    std::vector<CPoint> control = ToVector(controlList);
    std::vector<MeasuredPart> parts(control.empty() ? 0 : control.size() - 1);
    bool inserted = false;
    while (tolerance < deviation) {
        const std::vector<CPoint>& curve = work.Curve(control, closed);
        deviation = 0.0;
        CPoint worst;
        std::size_t insertAt = 0;

        std::size_t denseCursor = 0;
        std::size_t curveCursor = 0;
        for (std::size_t k = 0; k + 1 < control.size(); ++k) {
            const CPoint& first = control[k];
            const CPoint& second = control[k + 1];
            const std::size_t denseEnd = PartEnd(dense, denseCursor, second);
            const std::size_t curveEnd = PartEnd(curve, curveCursor, second);
            const PointSpan curvePart = curve.empty() ? PointSpan{} : SpanOf(curve, curveCursor, curveEnd);
            MeasuredPart& part = parts[k];
            if (!part.Holds(denseCursor, denseEnd, curvePart)) {
                part.worst = MaxDeviation(SpanOf(dense, denseCursor, denseEnd), curvePart, part.deviation,
                                          work.Scratch());
                part.measured = true;
                part.denseFirst = denseCursor;
                part.denseLast = denseEnd;
                part.curve.assign(curvePart.data, curvePart.data + curvePart.size);
            }
            if (part.deviation > deviation && ExactDistance(part.worst, first) > tolerance
                && ExactDistance(part.worst, second) > tolerance) {
                deviation = part.deviation;
                worst = part.worst;
                insertAt = k + 1;
            }
            denseCursor = denseEnd;
            curveCursor = curveEnd;
        }
        if (tolerance < deviation) {
            control.insert(control.begin() + std::ptrdiff_t(insertAt), worst);
            // The part split in two is measured afresh.
            parts[insertAt - 1] = MeasuredPart();
            parts.insert(parts.begin() + std::ptrdiff_t(insertAt), MeasuredPart());
            inserted = true;
        }
    }
    if (inserted) controlList = ToList(control);
}

double CurveDeviationFromStroke(const CPointList& control, const CPointList& dense, FitWorkspace& work)
{
    double deviation = 0.0;
    MaxDeviation(work.Curve(control, false), ToVector(dense), deviation, work);
    return deviation;
}

// Where the curve still strays from the stroke, halves the part of the
// stroke under the worst pair of control points; a few rounds only.
void RefineByHalving(CPointList& dense, double tolerance, CPointList& control, FitWorkspace& work)
{
    const int count = control.GetCount();
    int rounds = count < 4 ? 7 - count : 3;
    double deviation = CurveDeviationFromStroke(control, dense, work);
    CPointList curve, densePart, curvePart;
    std::vector<POSITION> densePositions;
    while (tolerance < deviation && rounds > 0) {
        curve = ToList(work.Curve(control, false));
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
            MaxDeviation(curvePart, densePart, partDeviation, work);
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
        deviation = CurveDeviationFromStroke(control, dense, work);
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

    FitWorkspace work;
    double deviation = tolerance + 1.0;
    if (c.GetCount() > 2) MaxDeviation(ToVector(d), work.Curve(c, false), deviation, work);
    InsertWorstStrokePoints(d, tolerance, c, false, deviation, work);
    RefineByHalving(d, tolerance, c, work);

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
    FitWorkspace work;
    InsertWorstStrokePoints(d, tolerance, c, true, tolerance + 1.0, work);

    if (c.GetCount() > 1) c.RemoveTail();
    control = std::move(c);
    return 1;
}
