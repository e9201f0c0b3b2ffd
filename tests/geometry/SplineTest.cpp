#include "tests/geometry/PointTestSupport.h"

#include "geometry/Distance.h"
#include "geometry/Offset.h"
#include "geometry/Polyline.h"
#include "geometry/Spline.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace {

const double kPi = std::acos(-1.0);

bool HasConsecutiveRepeats(const CPointList& list)
{
    const std::vector<CPoint> v = ToVector(list);
    for (std::size_t i = 1; i < v.size(); ++i)
        if (v[i] == v[i - 1]) return true;
    return false;
}

// True when every point of `part` appears in `list` in the same order.
bool ContainsInOrder(const CPointList& list, const CPointList& part)
{
    POSITION pos = list.GetHeadPosition();
    for (const CPoint& p : part) {
        while (pos && list.GetAt(pos) != p) pos = CPointList::NextOf(pos);
        if (!pos) return false;
        pos = CPointList::NextOf(pos);
    }
    return true;
}

CPointList Arc(double cx, double cy, double radius, double from, double to, int steps)
{
    CPointList list;
    for (int i = 0; i <= steps; ++i) {
        const double a = from + (to - from) * i / steps;
        list.AddTail(CPoint(RoundToInt(cx + radius * std::cos(a)), RoundToInt(cy + radius * std::sin(a))));
    }
    return list;
}

double NearestDistance(const CPointList& list, const CPoint& p)
{
    double best = 1e300;
    for (const CPoint& q : list) best = std::min(best, std::hypot(double(q.x - p.x), double(q.y - p.y)));
    return best;
}

double DistanceToPath(double x, double y, const CPointList& list)
{
    const std::vector<CPoint> v = ToVector(list);
    double best = 1e300;
    for (std::size_t i = 1; i < v.size(); ++i) {
        const double ax = v[i - 1].x, ay = v[i - 1].y;
        const double dx = v[i].x - ax, dy = v[i].y - ay;
        const double len2 = dx * dx + dy * dy;
        const double t = len2 > 0 ? std::clamp(((x - ax) * dx + (y - ay) * dy) / len2, 0.0, 1.0) : 0.0;
        best = std::min(best, std::hypot(x - ax - t * dx, y - ay - t * dy));
    }
    return best;
}

// ---------------------------------------------------------------------------

struct SolverFixture {
    std::vector<CTridiagonalRow> rows;
    std::vector<double> expected;

    // The right-hand sides that make `expected` the solution; `cyclic` lets
    // the first and last rows wrap around.
    std::vector<double> RightHandSides(bool cyclic) const
    {
        const int n = int(rows.size());
        std::vector<double> rhs(rows.size(), 0.0);
        for (int i = 0; i < n; ++i) {
            const CTridiagonalRow& r = rows[std::size_t(i)];
            double sum = r.diag * expected[std::size_t(i)];
            if (i > 0) sum += r.lower * expected[std::size_t(i - 1)];
            else if (cyclic) sum += r.lower * expected[std::size_t(n - 1)];
            if (i + 1 < n) sum += r.upper * expected[std::size_t(i + 1)];
            else if (cyclic) sum += r.upper * expected[0];
            rhs[std::size_t(i)] = sum;
        }
        return rhs;
    }
};

SolverFixture MakeSystem(int n)
{
    SolverFixture f;
    for (int i = 0; i < n; ++i) {
        f.rows.push_back({0.3 + 0.1 * (i % 3), 2.0 + 0.25 * i, 0.7 - 0.05 * (i % 4)});
        f.expected.push_back(std::sin(1.0 + i) * 100.0 - i);
    }
    return f;
}

TEST(SolveTridiagonal, FindsTheSolutionOfSystemsOfEverySize)
{
    for (int n : {1, 2, 3, 8}) {
        const SolverFixture f = MakeSystem(n);
        std::vector<double> rhs = f.RightHandSides(false);
        ASSERT_EQ(SolveTridiagonal(f.rows.data(), n, rhs.data()), 1) << n;
        for (int i = 0; i < n; ++i) EXPECT_NEAR(rhs[std::size_t(i)], f.expected[std::size_t(i)], 1e-9) << n << " " << i;
    }
}

TEST(SolveCyclicTridiagonal, FindsTheSolutionWithTheWrappedCoefficients)
{
    for (int n : {1, 2, 3, 4, 9}) {
        const SolverFixture f = MakeSystem(n);
        std::vector<double> rhs = f.RightHandSides(true);
        ASSERT_EQ(SolveCyclicTridiagonal(f.rows.data(), n, rhs.data()), 1) << n;
        for (int i = 0; i < n; ++i) EXPECT_NEAR(rhs[std::size_t(i)], f.expected[std::size_t(i)], 1e-9) << n << " " << i;
    }
}

TEST(TridiagonalSolvers, AZeroPivotOrAnEmptySystemFailsAndLeavesTheRightHandSides)
{
    // The second pivot is 1 - 1 * 1 = 0.
    const CTridiagonalRow singular[3] = {{0, 1, 1}, {1, 1, 1}, {1, 2, 0}};
    std::vector<double> rhs{1.0, 2.0, 3.0};
    EXPECT_EQ(SolveTridiagonal(singular, 3, rhs.data()), 0);
    EXPECT_EQ(rhs, (std::vector<double>{1.0, 2.0, 3.0}));

    const CTridiagonalRow zeroDiag[3] = {{1, 0, 1}, {1, 2, 1}, {1, 2, 1}};
    EXPECT_EQ(SolveCyclicTridiagonal(zeroDiag, 3, rhs.data()), 0);
    EXPECT_EQ(rhs, (std::vector<double>{1.0, 2.0, 3.0}));

    // Rows that sum to zero make the cyclic matrix singular, though only its
    // last pivot vanishes.
    const CTridiagonalRow cyclicSingular[3] = {{1, -2, 1}, {1, -2, 1}, {1, -2, 1}};
    EXPECT_EQ(SolveCyclicTridiagonal(cyclicSingular, 3, rhs.data()), 0);
    EXPECT_EQ(rhs, (std::vector<double>{1.0, 2.0, 3.0}));

    EXPECT_EQ(SolveTridiagonal(singular, 0, rhs.data()), 0);
    EXPECT_EQ(SolveCyclicTridiagonal(singular, 0, rhs.data()), 0);
}

// ---------------------------------------------------------------------------

TEST(ThreePointCurve, SamplesFortyPointsAndEndsOnTheThirdPoint)
{
    const CPoint p0(0, 0), p1(1000, 2000), p2(3000, 0);
    CPointList out;
    ASSERT_EQ(ThreePointCurve(CPointList{p0, p1, p2}, out), 1);
    const std::vector<CPoint> v = ToVector(out);
    ASSERT_EQ(v.size(), 41u);
    EXPECT_EQ(v.front(), p0);
    EXPECT_EQ(v[20], p1);
    EXPECT_EQ(v.back(), p2);
    // The sample before the end is t = 0.975 of the quadratic through p1.
    const double cx = 2.0 * 1000 - 1500, cy = 2.0 * 2000;
    const double t = 0.975, u = 1 - t;
    EXPECT_NEAR(v[39].x, 2 * t * u * cx + t * t * 3000, 0.5 + 1e-9);
    EXPECT_NEAR(v[39].y, 2 * t * u * cy, 0.5 + 1e-9);
}

TEST(ThreePointCurve, ShortStraightCurveLosesItsRepeatedSamples)
{
    CPointList out;
    ThreePointCurve(CPointList{{0, 0}, {5, 0}, {10, 0}}, out);
    CPointList expected;
    for (int x = 0; x <= 10; ++x) expected.AddTail(CPoint(x, 0));
    EXPECT_EQ(out, expected);
}

TEST(ThreePointCurve, FewerThanThreePointsAreCopied)
{
    CPointList out{{7, 7}};
    const CPointList two{{1, 2}, {3, 4}};
    EXPECT_EQ(ThreePointCurve(two, out), 0);
    EXPECT_EQ(out, two);
}

// ---------------------------------------------------------------------------

TEST(MakeSmoothCurve, ShortListsComeBackUnchanged)
{
    const CPointList cases[] = {{}, {{5, 5}}, {{0, 0}, {100, 50}}};
    for (const CPointList& in : cases) {
        for (int closed : {0, 1}) {
            CPointList out{{9, 9}, {8, 8}};
            EXPECT_EQ(MakeSmoothCurve(in, closed, out), 1);
            EXPECT_EQ(out, in);
        }
    }
}

TEST(MakeSmoothCurve, ThreeOpenPointsMakeTheQuadraticCurve)
{
    const CPointList in{{0, 0}, {1000, 2000}, {3000, 0}};
    CPointList smooth, quadratic;
    EXPECT_EQ(MakeSmoothCurve(in, 0, smooth), 1);
    ThreePointCurve(in, quadratic);
    EXPECT_EQ(smooth, quadratic);
}

TEST(MakeSmoothCurve, PointsOnAStraightLineGiveExactlyThosePoints)
{
    const CPointList cases[] = {
        {{0, 0}, {100, 0}, {300, 0}, {600, 0}},
        {{0, 0}, {50, 50}, {1000, 1000}, {1200, 1200}, {5000, 5000}},
        {{0, 0}, {0, -700}, {0, -1400}, {0, -1500}},
    };
    for (const CPointList& in : cases) {
        CPointList out;
        EXPECT_EQ(MakeSmoothCurve(in, 0, out), 1);
        EXPECT_EQ(out, in);
    }
}

TEST(MakeSmoothCurve, OutputMayBeTheInputList)
{
    const CPointList original{{0, 0}, {1000, 1000}, {2000, 0}, {3000, 1000}};
    CPointList expected;
    MakeSmoothCurve(original, 0, expected);
    CPointList list(original);
    MakeSmoothCurve(list, 0, list);
    EXPECT_EQ(list, expected);
}

TEST(CubicSplineCurve, PassesThroughTheControlPointsWithoutRepeats)
{
    const CPointList in{{0, 0}, {1000, 1500}, {2500, -500}, {4000, 800}, {4100, 3000}};
    CPointList out;
    ASSERT_EQ(CubicSplineCurve(in, 0, 0.5, out), 1);
    EXPECT_TRUE(ContainsInOrder(out, in));
    EXPECT_EQ(out.GetHead(), in.GetHead());
    EXPECT_EQ(out.GetTail(), in.GetTail());
    EXPECT_FALSE(HasConsecutiveRepeats(out));
    EXPECT_GT(out.GetCount(), 3 * in.GetCount());
}

TEST(CubicSplineCurve, ConsecutiveRepeatedControlPointsAreIgnored)
{
    CPointList clean, repeated;
    CubicSplineCurve(CPointList{{0, 0}, {1000, 1500}, {2500, -500}, {4000, 800}}, 0, 0.5, clean);
    CubicSplineCurve(CPointList{{0, 0}, {0, 0}, {1000, 1500}, {2500, -500}, {2500, -500}, {4000, 800}}, 0, 0.5,
                     repeated);
    EXPECT_EQ(repeated, clean);
}

TEST(CubicSplineCurve, TooFewDistinctPointsFallBackToACopy)
{
    const CPointList open{{0, 0}, {0, 0}, {100, 0}, {100, 0}};
    CPointList out;
    EXPECT_EQ(CubicSplineCurve(open, 0, 0.5, out), 0);
    EXPECT_EQ(out, open);

    const CPointList there_and_back{{0, 0}, {100, 0}, {0, 0}};
    EXPECT_EQ(MakeSmoothCurve(there_and_back, 1, out), 0);
    EXPECT_EQ(out, there_and_back);
}

TEST(CubicSplineCurve, SymmetricControlPointsGiveASymmetricCurve)
{
    // Mirror image about the y axis, so the natural end conditions and the
    // solver must treat both ends alike.
    CPointList out;
    ASSERT_EQ(CubicSplineCurve(CPointList{{-3000, 0}, {-1000, 2000}, {1000, 2000}, {3000, 0}}, 0, 0.5, out), 1);
    for (const CPoint& p : out) EXPECT_LE(NearestDistance(out, CPoint(-p.x, p.y)), 1.0) << p.x << "," << p.y;
}

TEST(CubicSplineCurve, ClosedCurveThroughASquareIsRoundAndDoesNotRepeatItsStart)
{
    const int r = 10000;
    const CPointList square{{r, 0}, {0, r}, {-r, 0}, {0, -r}, {r, 0}};
    CPointList out;
    ASSERT_EQ(MakeSmoothCurve(square, 1, out), 1);
    EXPECT_EQ(out.GetHead(), CPoint(r, 0));
    EXPECT_NE(out.GetTail(), out.GetHead());
    EXPECT_FALSE(HasConsecutiveRepeats(out));
    CPointList distinct(square);
    distinct.RemoveTail();
    EXPECT_TRUE(ContainsInOrder(out, distinct));

    // By symmetry every tangent has length 1.5 r / h along the circle's
    // tangent, which puts the middle of each quarter at (6875, 6875) and
    // mirrors the curve about both axes; a wrong wrapped coefficient shows as
    // a lopsided start.
    EXPECT_LE(NearestDistance(out, CPoint(6875, 6875)), 1.0);
    EXPECT_LE(NearestDistance(out, CPoint(-6875, -6875)), 1.0);
    double minRadius = 1e300, maxRadius = 0, longestChord = 0;
    const std::vector<CPoint> v = ToVector(out);
    for (std::size_t i = 0; i < v.size(); ++i) {
        const CPoint& p = v[i];
        EXPECT_LE(NearestDistance(out, CPoint(p.x, -p.y)), 1.0) << p.x << "," << p.y;
        EXPECT_LE(NearestDistance(out, CPoint(-p.x, p.y)), 1.0) << p.x << "," << p.y;
        const double radius = std::hypot(double(p.x), double(p.y));
        minRadius = std::min(minRadius, radius);
        maxRadius = std::max(maxRadius, radius);
        const CPoint& q = v[(i + 1) % v.size()];
        longestChord = std::max(longestChord, std::hypot(double(q.x - p.x), double(q.y - p.y)));
    }
    EXPECT_GE(minRadius, 9722.0);
    EXPECT_LE(maxRadius, r + 1.0);
    // A chord of a curve this wide strays more than half a unit once it is
    // much longer than a few hundred units.
    EXPECT_LE(longestChord, 400.0);
}

// Farthest distance from the cubic with end tangents m0 and m1 (by chord
// length) between p0 and p1 to the path.
double HermiteDistanceToPath(const CPoint& p0, const CPoint& p1, double m0x, double m0y, double m1x, double m1y,
                             const CPointList& path)
{
    const double h = std::hypot(double(p1.x - p0.x), double(p1.y - p0.y));
    double worst = 0;
    for (int i = 0; i <= 1000; ++i) {
        const double s = i / 1000.0, s2 = s * s, s3 = s2 * s;
        const double h00 = 2 * s3 - 3 * s2 + 1, h10 = s3 - 2 * s2 + s, h01 = -2 * s3 + 3 * s2, h11 = s3 - s2;
        const double x = h00 * p0.x + h10 * h * m0x + h01 * p1.x + h11 * h * m1x;
        const double y = h00 * p0.y + h10 * h * m0y + h01 * p1.y + h11 * h * m1y;
        worst = std::max(worst, DistanceToPath(x, y, path));
    }
    return worst;
}

// Half a unit of flatness plus the rounding of the chord ends.
constexpr double kOutlineTolerance = 0.5 + 0.71;

TEST(CubicSplineCurve, TheOpenOutlineFollowsTheSplineOfUnequalChords)
{
    // Chords 1000 and 5000; the tangents, solved by hand from the continuity
    // conditions with natural ends, are (-0.05, 61/60), (0.1, 29/30) and
    // (0.85, 43/60).
    const CPoint p0(0, 0), p1(0, 1000), p2(3000, 5000);
    CPointList out;
    ASSERT_EQ(CubicSplineCurve(CPointList{p0, p1, p2}, 0, 0.5, out), 1);
    EXPECT_LE(HermiteDistanceToPath(p0, p1, -0.05, 61 / 60.0, 0.1, 29 / 30.0, out), kOutlineTolerance);
    EXPECT_LE(HermiteDistanceToPath(p1, p2, 0.1, 29 / 30.0, 0.85, 43 / 60.0, out), kOutlineTolerance);
}

TEST(CubicSplineCurve, TheClosedOutlineStaysWithinHalfAUnitOfTheCurve)
{
    // The first quarter of the closed curve through a square's corners is
    // the cubic from (r, 0) to (0, r) with tangents of length 1.5 r / h.
    const int r = 10000;
    const double k = 1.5 / std::sqrt(2.0);
    CPointList out;
    MakeSmoothCurve(CPointList{{r, 0}, {0, r}, {-r, 0}, {0, -r}, {r, 0}}, 1, out);
    CPointList quarter;
    for (const CPoint& p : out)
        if (p.x >= 0 && p.y >= 0) quarter.AddTail(p);
    const double worst = HermiteDistanceToPath(CPoint(r, 0), CPoint(0, r), 0, k, -k, 0, quarter);
    EXPECT_LE(worst, kOutlineTolerance);
    EXPECT_GT(worst, 0.2); // and not needlessly dense
}

TEST(CubicSplineCurve, ClosedListWithoutItsRepeatIsCopied)
{
    const CPointList withRepeat{{0, 0}, {2000, 0}, {1000, 1500}, {0, 0}};
    CPointList closedCurve;
    ASSERT_EQ(CubicSplineCurve(withRepeat, 1, 0.5, closedCurve), 1);
    EXPECT_EQ(closedCurve.GetHead(), CPoint(0, 0));
    EXPECT_NE(closedCurve.GetTail(), CPoint(0, 0));
    EXPECT_TRUE(ContainsInOrder(closedCurve, CPointList{{0, 0}, {2000, 0}, {1000, 1500}}));

    // Without the repeat the last point would stand for the start and be
    // lost; the list comes back as it is instead.
    const CPointList withoutRepeat[] = {
        {{0, 0}, {2000, 0}, {1000, 1500}},
        {{0, 0}, {2000, 0}, {2000, 1500}, {0, 1500}},
        {{0, 0}, {2000, 0}, {2000, 0}, {2000, 1500}, {0, 1500}, {0, 1500}},
    };
    for (const CPointList& in : withoutRepeat) {
        CPointList out{{9, 9}};
        EXPECT_EQ(CubicSplineCurve(in, 1, 0.5, out), 0) << in.GetCount();
        EXPECT_EQ(out, in);
    }
}

TEST(CubicSplineCurve, FlatnessSetsTheDensityButNeverBelowHalfAUnit)
{
    const CPointList in{{0, 0}, {3000, 4000}, {6000, -2000}, {9000, 1000}};
    CPointList fine, tooFine, coarse;
    CubicSplineCurve(in, 0, 0.5, fine);
    CubicSplineCurve(in, 0, 0.01, tooFine);
    CubicSplineCurve(in, 0, 20.0, coarse);
    EXPECT_EQ(tooFine, fine);
    EXPECT_LT(coarse.GetCount() * 3, fine.GetCount());
    EXPECT_TRUE(ContainsInOrder(coarse, in));
}

// ---------------------------------------------------------------------------

TEST(MaxCurveDeviation, FindsTheApexOfAnArcOverItsChord)
{
    CPointList arc;
    for (int x = -1000; x <= 1000; x += 100) arc.AddTail(CPoint(x, 100 - x * x / 10000));
    double d = 0;
    const CPoint worst = MaxCurveDeviation(arc, CPointList{{-1000, 0}, {1000, 0}}, d);
    EXPECT_EQ(worst, CPoint(0, 100));
    EXPECT_DOUBLE_EQ(d, 100.0);
}

TEST(MaxCurveDeviation, PointsOnAStraightRunLieOnTheSameLine)
{
    // Straight runs have opposite neighbours; their normal still crosses B.
    CPointList line;
    for (int x = 0; x <= 5000; x += 10) line.AddTail(CPoint(x, 0));
    double d = -1;
    MaxCurveDeviation(line, CPointList{{0, 0}, {5000, 0}}, d);
    EXPECT_DOUBLE_EQ(d, 0.0);

    MaxCurveDeviation(line, CPointList{{0, 30}, {5000, 30}}, d);
    EXPECT_DOUBLE_EQ(d, 30.0);
}

TEST(MaxCurveDeviation, EndPointsMeasureAlongTheTurnedEndDirection)
{
    double d = 0;
    const CPoint worst = MaxCurveDeviation(CPointList{{0, 0}, {0, 100}}, CPointList{{50, -10}, {50, 200}}, d);
    EXPECT_EQ(worst, CPoint(0, 0));
    EXPECT_DOUBLE_EQ(d, 50.0);
}

TEST(MaxCurveDeviation, ASegmentLyingOnTheNormalDoesNotEndTheSearch)
{
    // At (100, 0) the normal is x = 100, on which B's first segment lies; B
    // comes closer further on, at (100, 50).
    const CPointList a{{0, 0}, {100, 0}, {200, 0}};
    const CPointList b{{100, 300}, {100, 200}, {0, 50}, {200, 50}};
    double d = 0;
    const CPoint worst = MaxCurveDeviation(a, b, d);
    EXPECT_EQ(worst, CPoint(0, 0));
    EXPECT_DOUBLE_EQ(d, 50.0);
}

TEST(MaxCurveDeviation, EmptyListsAndACommonStartGiveZero)
{
    double d = -1;
    EXPECT_EQ(MaxCurveDeviation(CPointList{}, CPointList{{1, 1}}, d), CPoint(0, 0));
    EXPECT_EQ(d, 0.0);
    d = -1;
    EXPECT_EQ(MaxCurveDeviation(CPointList{{4, 5}, {40, 50}}, CPointList{}, d), CPoint(4, 5));
    EXPECT_EQ(d, 0.0);
    d = -1;
    EXPECT_EQ(MaxCurveDeviation(CPointList{{4, 5}}, CPointList{{4, 5}, {400, 500}}, d), CPoint(4, 5));
    EXPECT_EQ(d, 0.0);
}

// ---------------------------------------------------------------------------

TEST(FitCurveControlPoints, TooFewDensePointsLeaveTheControlListAlone)
{
    CPointList control{{1, 1}, {2, 2}};
    EXPECT_EQ(FitCurveControlPoints(CPointList{{5, 5}}, 10.0, control), 0);
    EXPECT_EQ(control, (CPointList{{1, 1}, {2, 2}}));
    EXPECT_EQ(FitClosedCurveControlPoints(CPointList{{5, 5}, {6, 6}}, 10.0, control), 0);
    EXPECT_EQ(control, (CPointList{{1, 1}, {2, 2}}));
    CPointList out{{3, 3}};
    EXPECT_EQ(SimplifyToSmoothCurve(CPointList{{5, 5}}, out), 0);
    EXPECT_EQ(out, (CPointList{{3, 3}}));
}

TEST(FitCurveControlPoints, AStraightStrokeNeedsOnlyItsEndsAndMiddle)
{
    CPointList line;
    for (int x = 0; x <= 10000; x += 10) line.AddTail(CPoint(x, 0));
    CPointList control;
    ASSERT_EQ(FitCurveControlPoints(line, 1000.0, control), 1);
    EXPECT_EQ(control, (CPointList{{0, 0}, {5000, 0}, {10000, 0}}));
}

TEST(FitCurveControlPoints, TheCurveFollowsTheStrokeWithinTheTolerance)
{
    // An odd number of segments puts the stroke's middle inside a segment. A
    // coarse stroke may take all its points and a few halving rounds.
    const struct {
        int segments;
        double tolerance;
        int maxCount;
    } cases[] = {{300, 5.0, 30}, {300, 50.0, 15}, {301, 500.0, 8}, {9, 5.0, 16}};
    for (const auto& c : cases) {
        const double tolerance = c.tolerance;
        const CPointList stroke = Arc(0, 0, 5000, 0, kPi, c.segments);
        CPointList control;
        ASSERT_EQ(FitCurveControlPoints(stroke, tolerance, control), 1);
        EXPECT_EQ(control.GetHead(), stroke.GetHead());
        EXPECT_EQ(control.GetTail(), stroke.GetTail());
        EXPECT_LE(control.GetCount(), c.maxCount) << c.segments << " " << tolerance;
        // In stroke order, each point farther round the arc.
        double angle = -1;
        for (const CPoint& p : control) {
            const double a = std::atan2(double(p.y), double(p.x));
            EXPECT_GT(a, angle) << c.segments << " " << tolerance;
            angle = a;
        }
        // Control points are taken from the stroke.
        for (const CPoint& c : control) EXPECT_LE(DistancePointToPolyline(c.x, c.y, stroke), 1.0);
        CPointList curve;
        MakeSmoothCurve(control, 0, curve);
        double d = 0;
        MaxCurveDeviation(stroke, curve, d);
        EXPECT_LE(d, tolerance) << tolerance;
    }
}

TEST(FitCurveControlPoints, AStartSetIsKeptAndPinnedToTheStrokeEnds)
{
    const CPointList stroke = Arc(0, 0, 5000, 0, kPi, 300);
    const std::vector<CPoint> s = ToVector(stroke);
    const CPoint kept = s[100];
    CPointList control{kept};
    ASSERT_EQ(FitCurveControlPoints(stroke, 50.0, control), 1);
    EXPECT_EQ(control.GetHead(), s.front());
    EXPECT_EQ(control.GetTail(), s.back());
    EXPECT_TRUE(control.Find(kept) != nullptr);
}

TEST(FitCurveControlPoints, ANegativeToleranceStillEnds)
{
    const CPointList stroke = Arc(0, 0, 2000, 0, kPi / 2, 60);
    CPointList control;
    ASSERT_EQ(FitCurveControlPoints(stroke, -5.0, control), 1);
    EXPECT_FALSE(HasConsecutiveRepeats(control));
    EXPECT_LE(control.GetCount(), stroke.GetCount());
}

TEST(SimplifyToSmoothCurve, AWavyStrokeBecomesAFewControlPointsInPlace)
{
    CPointList stroke;
    for (int x = 0; x <= 40000; x += 20)
        stroke.AddTail(CPoint(x, RoundToInt(3000 * std::sin(2 * kPi * x / 20000.0))));
    const CPointList original(stroke);
    ASSERT_EQ(SimplifyToSmoothCurve(stroke, stroke), 1);
    EXPECT_EQ(stroke.GetHead(), original.GetHead());
    EXPECT_EQ(stroke.GetTail(), original.GetTail());
    EXPECT_FALSE(HasConsecutiveRepeats(stroke));
    EXPECT_GE(stroke.GetCount(), 5);
    EXPECT_LE(stroke.GetCount(), 20);
    CPointList curve;
    MakeSmoothCurve(stroke, 0, curve);
    double d = 0;
    MaxCurveDeviation(original, curve, d);
    EXPECT_LE(d, 1000.0);
}

TEST(FitClosedCurveControlPoints, ACircleIsFittedByAFewPointsWithoutTheClosingRepeat)
{
    CPointList circle = Arc(0, 0, 5000, 0, 2 * kPi, 360);
    circle.RemoveTail(); // the stroke does not repeat its start
    for (double tolerance : {20.0, 200.0}) {
        CPointList control;
        ASSERT_EQ(FitClosedCurveControlPoints(circle, tolerance, control), 1);
        EXPECT_EQ(control.GetHead(), circle.GetHead());
        EXPECT_NE(control.GetTail(), control.GetHead());
        EXPECT_GE(control.GetCount(), 3);
        EXPECT_LT(control.GetCount(), 40);
        CPointList closedControl(control);
        closedControl.AddTail(control.GetHead());
        CPointList curve;
        ASSERT_EQ(MakeSmoothCurve(closedControl, 1, curve), 1);
        for (const CPoint& p : curve) EXPECT_NEAR(std::hypot(double(p.x), double(p.y)), 5000.0, tolerance) << tolerance;
    }
}

TEST(FitClosedCurveControlPoints, AStartSetIsExtendedFromTheStrokeStart)
{
    CPointList circle = Arc(0, 0, 5000, 0, 2 * kPi, 360);
    circle.RemoveTail();
    const std::vector<CPoint> c = ToVector(circle);
    CPointList control{c[120]};
    ASSERT_EQ(FitClosedCurveControlPoints(circle, 50.0, control), 1);
    EXPECT_EQ(control.GetHead(), c.front());
    EXPECT_TRUE(control.Find(c[120]) != nullptr);
    EXPECT_NE(control.GetTail(), c.front());
}

} // namespace

// Flattening for a paint: a spline through a node at the far corner of the
// coordinates, seen on a page, and one wholly on the page.
struct CutCurveCase {
    const char* name;
    Points control;
    bool reachesFar;
};

class MakeSmoothCurveWithinTest : public testing::TestWithParam<CutCurveCase> {};

TEST_P(MakeSmoothCurveWithinTest, KeepsEveryPointInTheAreaAndTheWholeBounds)
{
    const CutCurveCase& c = GetParam();
    CPointList control;
    for (const CPoint& p : c.control) control.AddTail(p);
    control.AddTail(c.control.front());
    const CRect page(0, 0, 21000, 29700);

    CPointList whole, cut;
    MakeSmoothCurve(control, 1, whole);
    const CCurveCut result = MakeSmoothCurveWithin(control, 1, page, cut);

    EXPECT_EQ(result.shortened, c.reachesFar);
    EXPECT_EQ(result.bounds, PolylineBoundRect(whole));
    const auto inPage = [&page](const CPointList& list) {
        Points in;
        for (const CPoint& p : list)
            if (p.x >= page.left && p.x <= page.right && p.y >= page.top && p.y <= page.bottom) in.push_back(p);
        return in;
    };
    EXPECT_EQ(inPage(cut), inPage(whole));
    if (c.reachesFar) {
        EXPECT_GT(whole.GetCount(), 10000);
        EXPECT_LT(cut.GetCount(), 500);
    } else {
        EXPECT_EQ(ToVector(cut), ToVector(whole));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MakeSmoothCurveWithinTest,
    testing::Values(
        CutCurveCase{"FarCorner",
                     {{2000, 2000}, {2147483647, 2147483647}, {5000, 2500}, {4000, 4000}, {2500, 3800}},
                     true},
        CutCurveCase{"FarLeftOfPage", {{2000, 2000}, {3000, 1500}, {-2147483647, 9000}, {4000, 4000}}, true},
        CutCurveCase{"OnThePage", {{2000, 2000}, {6000, 1500}, {9000, 7000}, {4000, 9000}, {1500, 6000}}, false}),
    [](const testing::TestParamInfo<CutCurveCase>& info) { return std::string(info.param.name); });

// A paint that must also see the curve round one far point (an arrowhead
// at an end): both areas are flattened as the whole curve is.
TEST(MakeSmoothCurveWithinAreasTest, KeepsEveryPointInEachArea)
{
    const CPointList control{{2000, 2000}, {2147483647, 2147483647}, {5000, 2500}, {4000, 4000}, {2000, 2000}};
    const std::vector<CRect> areas{CRect(0, 0, 21000, 29700),
                                   CRect(2147483647 - 3000, 2147483647 - 3000, 2147483647, 2147483647)};
    CPointList whole, cut;
    MakeSmoothCurve(control, 1, whole);
    const CCurveCut result = MakeSmoothCurveWithin(control, 1, areas, cut);

    EXPECT_TRUE(result.shortened);
    EXPECT_EQ(result.bounds, PolylineBoundRect(whole));
    EXPECT_LT(cut.GetCount(), 1000);
    for (const CRect& area : areas) {
        const auto in = [&area](const CPointList& list) {
            std::vector<CPoint> inside;
            for (const CPoint& p : list)
                if (p.x >= area.left && p.x <= area.right && p.y >= area.top && p.y <= area.bottom)
                    inside.push_back(p);
            return inside;
        };
        EXPECT_GT(in(whole).size(), 2u);
        EXPECT_EQ(in(cut), in(whole));
    }
}
