#include "geometry/Constants.h"
#include "geometry/Distance.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>

TEST(RoundToInt, HalvesAwayFromZeroAndSaturatesOneShortOfTheIntRange)
{
    const double inf = std::numeric_limits<double>::infinity();
    const struct {
        double v;
        int expected;
    } cases[] = {
        {0.0, 0},
        {0.49999, 0},
        {0.5, 1},
        {-0.5, -1},
        {-0.49999, 0},
        {2.5, 3},
        {-2.5, -3},
        {2147483646.5, 2147483647},
        {2147483646.4, 2147483646},
        {2147483647.5, 2147483646},
        {1e12, 2147483646},
        {inf, 2147483646},
        {-2147483647.4, -2147483647},
        {-2147483647.5, -2147483648},
        {-2147483648.0, -2147483647},
        {-1e12, -2147483647},
        {-inf, -2147483647},
    };
    for (const auto& c : cases) EXPECT_EQ(RoundToInt(c.v), c.expected) << c.v;
}

TEST(RoundToInt, NaNGivesZero)
{
    EXPECT_EQ(RoundToInt(std::numeric_limits<double>::quiet_NaN()), 0);
}

TEST(PointDistance, ReturnsRoundedAndWritesExact)
{
    double d = -1.0;
    EXPECT_EQ(PointDistance(0, 0, 3, 4, d), 5);
    EXPECT_DOUBLE_EQ(d, 5.0);
    EXPECT_EQ(PointDistance(0, 0, 1, 1, d), 1);
    EXPECT_DOUBLE_EQ(d, std::sqrt(2.0));
    EXPECT_EQ(PointDistanceRounded(2, 2, -1, -2), 5);
}

TEST(PointDistance, FarApartPointsDoNotOverflow)
{
    double d = 0.0;
    EXPECT_EQ(PointDistance(-2000000000, 0, 2000000000, 0, d), 2147483646);
    EXPECT_DOUBLE_EQ(d, 4e9);
}

TEST(LineAngle, QuadrantsAndAxesUseTheLibraryPi)
{
    const double pi = 3.14159265359;
    const struct {
        int x2, y2;
        double expected;
    } cases[] = {
        {0, 0, 0.0},
        {5, 0, 0.0},
        {0, 5, 1.570796326795},
        {0, -5, 4.7123889803850005},
        {-5, 0, 3.14159265359},
        {5, 5, std::atan(1.0)},
        {-5, 5, std::atan(-1.0) + pi},
        {-5, -5, std::atan(1.0) + pi},
        {5, -5, std::atan(-1.0) + 2 * pi},
    };
    for (const auto& c : cases) {
        EXPECT_DOUBLE_EQ(LineAngle(0, 0, c.x2, c.y2), c.expected) << c.x2 << "," << c.y2;
        EXPECT_DOUBLE_EQ(LineAngleXY(0, 0, c.x2, c.y2), c.expected);
    }
    EXPECT_NEAR(LineAngle(0, 0, 5, -5), 2 * pi - pi / 4, 1e-12);
    EXPECT_EQ(LineAngle(0, 0, 0, 5), 1.570796326795);
    EXPECT_EQ(LineAngle(0, 0, 0, -5), 4.7123889803850005);
    EXPECT_EQ(LineAngle(0, 0, -5, 0), 3.14159265359);
}

TEST(LineAngle, StaysBelowAFullTurn)
{
    const double a = LineAngle(0, 0, 1000000, -1);
    EXPECT_LT(a, Geo::kTwoPi);
    EXPECT_GT(a, Geo::kTwoPi - 1e-5);
}

namespace {
// End point of a ray of the given direction in degrees, far out so that the
// integer rounding hardly changes the angle.
CPoint Ray(double degrees)
{
    const double r = degrees * Geo::kPi / 180.0;
    return CPoint(RoundToInt(1e6 * std::cos(r)), RoundToInt(1e6 * std::sin(r)));
}
} // namespace

TEST(AngleBetweenLines, TurnsFromTheFirstDirectionToTheSecond)
{
    const double deg = Geo::kPi / 180.0;
    const CPoint at350 = Ray(350.0), at10 = Ray(10.0);
    EXPECT_NEAR(AngleBetweenLines(0, 0, at350.x, at350.y, 0, 0, at10.x, at10.y), 20 * deg, 1e-5);
    EXPECT_NEAR(AngleBetweenLines(0, 0, at10.x, at10.y, 0, 0, at350.x, at350.y), 340 * deg, 1e-5);
    // Parallel lines: only the direction counts, not where the line lies.
    EXPECT_EQ(AngleBetweenLines(0, 0, 10, 0, 5, 5, 20, 5), 0.0);
    EXPECT_EQ(AngleBetweenLines(0, 0, 10, 0, 5, 5, -5, 5), 3.14159265359);
}

TEST(DistancePointToLineEquation, MeasuresAlongTheNormalAndIgnoresScale)
{
    EXPECT_DOUBLE_EQ(DistancePointToLineEquation(3, 4, 0, 1, 0), 4.0);
    EXPECT_DOUBLE_EQ(DistancePointToLineEquation(3, 4, 0, -2, 0), 4.0);
    EXPECT_DOUBLE_EQ(DistancePointToLineEquation(3, 4, 1, 0, -10), 7.0);
    EXPECT_DOUBLE_EQ(DistancePointToLineEquation(0, 0, 3, 4, 10), 2.0);
}

TEST(DistancePointToLineEquation, DegenerateLineGivesZero)
{
    EXPECT_EQ(DistancePointToLineEquation(3, 4, 0, 0, 0), 0.0);
    EXPECT_EQ(DistancePointToLineEquation(3, 4, 0, 0, 100), 0.0);
    EXPECT_EQ(DistancePointToLineEquation(3, 4, 1e-160, 1e-160, 100), 0.0);
}

TEST(DistancePointToLine, InfiniteLineThroughTwoPoints)
{
    EXPECT_DOUBLE_EQ(DistancePointToLine(50, 5, -10, 0, 10, 0), 5.0);
    EXPECT_DOUBLE_EQ(DistancePointToLine(0, 10, 0, 0, 10, 10), std::sqrt(50.0));
    EXPECT_EQ(DistancePointToLine(3, 4, 7, 7, 7, 7), 0.0);
}

TEST(DistancePointToSegment, PerpendicularInsideElseNearestEnd)
{
    const struct {
        int x, y, x1, y1, x2, y2;
        double expected;
    } cases[] = {
        {5, 3, 0, 0, 10, 0, 3.0},            // foot inside
        {5, -3, 10, 0, 0, 0, 3.0},           // ends in either order
        {13, 4, 0, 0, 10, 0, 5.0},           // beyond the far end
        {-3, -4, 0, 0, 10, 0, 5.0},          // before the near end
        {10, 7, 0, 0, 10, 0, 7.0},           // foot on an end
        {3, 4, 0, 0, 0, 0, 5.0},             // zero-length segment
        {0, 10, 0, 0, 10, 10, std::sqrt(50.0)},
        {20, 30, 0, 0, 10, 10, std::sqrt(500.0)},
    };
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(DistancePointToSegment(c.x, c.y, c.x1, c.y1, c.x2, c.y2), c.expected)
            << c.x << "," << c.y;
}

TEST(DistancePointToPolyline, NearestSegmentOrLargestDouble)
{
    EXPECT_EQ(DistancePointToPolyline(1, 1, CPointList()), 1.7976931348623157e308);
    EXPECT_EQ(DistancePointToPolyline(1, 1, CPointList{CPoint(0, 0)}), 1.7976931348623157e308);
    const CPointList path{CPoint(0, 0), CPoint(10, 0), CPoint(10, 10), CPoint(20, 10)};
    EXPECT_DOUBLE_EQ(DistancePointToPolyline(12, 4, path), 2.0);
    EXPECT_DOUBLE_EQ(DistancePointToPolyline(25, 10, path), 5.0);
    EXPECT_EQ(DistancePointToPolyline(10, 10, path), 0.0);
}

TEST(IsPointInSegmentBox, ClosedBoxInEitherOrder)
{
    const struct {
        int x, y;
        int expected;
    } cases[] = {
        {5, 5, 1}, {0, 0, 1}, {10, 20, 1}, {0, 20, 1}, {10, 7, 1},
        {-1, 5, 0}, {11, 5, 0}, {5, -1, 0}, {5, 21, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsPointInSegmentBox(c.x, c.y, 0, 0, 10, 20), c.expected) << c.x << "," << c.y;
        EXPECT_EQ(IsPointInSegmentBox(c.x, c.y, 10, 20, 0, 0), c.expected) << c.x << "," << c.y;
        EXPECT_EQ(IsPointInSegmentBox(c.x, c.y, 0, 20, 10, 0), c.expected) << c.x << "," << c.y;
    }
}

TEST(Gcd, GreatestCommonDivisorAndOneForZero)
{
    const struct {
        int a, b, expected;
    } cases[] = {
        {0, 7, 1}, {7, 0, 1}, {0, 0, 1}, {12, 18, 6}, {18, 12, 6}, {7, 7, 7},
        {17, 5, 1}, {512, 2048, 512}, {6, 2048, 2}, {1, 2048, 1},
        {-12, 18, 6}, {12, -18, 6}, {INT_MIN, -1, 1}, {INT_MIN, 6, 2},
    };
    for (const auto& c : cases) EXPECT_EQ(Gcd(c.a, c.b), c.expected) << c.a << "," << c.b;
}
