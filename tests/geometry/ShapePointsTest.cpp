#include "tests/geometry/PointTestSupport.h"

#include "geometry/ShapePoints.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr double kDegree = 3.14159265359 / 180.0;

} // namespace

TEST(RegularPolygonPoints, VerticesOnTheCircleFromTheGivenAngle)
{
    CPointList square;
    RegularPolygonPoints(CPoint(1000, 1000), 500.0, 4, 0.0, square);
    EXPECT_EQ(ToVector(square), (Points{{1500, 1000}, {1000, 1500}, {500, 1000}, {1000, 500}}));

    CPointList turned;
    RegularPolygonPoints(CPoint(0, 0), 1000.0, 4, 45 * kDegree, turned);
    EXPECT_EQ(ToVector(turned), (Points{{707, 707}, {-707, 707}, {-707, -707}, {707, -707}}));

    CPointList hexagon;
    RegularPolygonPoints(CPoint(0, 0), 1000.0, 6, 0.0, hexagon);
    ASSERT_EQ(hexagon.GetCount(), 6);
    EXPECT_EQ(hexagon.GetHead(), CPoint(1000, 0));
    for (const CPoint& p : hexagon) EXPECT_NEAR(std::hypot(p.x, p.y), 1000.0, 0.8);

    // No polygon of fewer than three sides, and nothing divided by zero.
    for (int sides : {0, 1, 2, -3}) {
        CPointList none;
        RegularPolygonPoints(CPoint(0, 0), 1000.0, sides, 0.0, none);
        EXPECT_TRUE(none.IsEmpty()) << sides;
    }
}

TEST(CircleControlPoints, TwelvePointsFromAngleZero)
{
    CPointList points;
    CircleControlPoints(CPoint(5000, 5000), 1000.0, points);
    ASSERT_EQ(points.GetCount(), kCircleNodeCount);
    EXPECT_EQ(points.GetHead(), CPoint(6000, 5000));
    EXPECT_EQ(points.GetAt(points.FindIndex(3)), CPoint(5000, 6000));
    EXPECT_EQ(points.GetAt(points.FindIndex(1)), CPoint(5866, 5500));
}

TEST(EllipseControlPoints, InsideTheBoxHalfAPixelFromEachSide)
{
    // Box 0..2000 x 0..1000 at 10 units per pixel: centre (995, 495),
    // semi-axes 995 and 495.
    CPointList points;
    ASSERT_TRUE(EllipseControlPoints(CPoint(0, 0), CPoint(2000, 1000), 10.0, points));
    ASSERT_EQ(points.GetCount(), kEllipseNodeCount);
    const Points v = ToVector(points);
    EXPECT_EQ(v[0], CPoint(1990, 495));
    EXPECT_EQ(v[8], CPoint(995, 990));
    EXPECT_EQ(v[16], CPoint(0, 495));
    EXPECT_EQ(v[24], CPoint(995, 0));

    // Either diagonal pair of corners gives the same points.
    for (const auto& corners : {std::pair<CPoint, CPoint>{{2000, 1000}, {0, 0}},
                                std::pair<CPoint, CPoint>{{0, 1000}, {2000, 0}},
                                std::pair<CPoint, CPoint>{{2000, 0}, {0, 1000}}}) {
        CPointList same;
        ASSERT_TRUE(EllipseControlPoints(corners.first, corners.second, 10.0, same));
        EXPECT_EQ(ToVector(same), v);
    }
}

TEST(EllipseControlPoints, NoEllipseWithoutPositiveSemiAxes)
{
    struct Case {
        CPoint a, b;
    };
    const Case cases[] = {
        {{100, 100}, {100, 100}},   // one point: both semi-axes -s/2
        {{0, 0}, {2000, 0}},        // flat
        {{0, 0}, {10, 2000}},       // one pixel wide
        {{0, 0}, {5, 2000}},        // under a pixel
    };
    for (const Case& c : cases) {
        CPointList points{{1, 1}};
        EXPECT_FALSE(EllipseControlPoints(c.a, c.b, 10.0, points));
        EXPECT_EQ(points.GetCount(), 1);
    }
}

TEST(SnapAngleToEighth, NearestMultipleOf45Degrees)
{
    struct Case {
        double degrees;
        double expected;
    };
    const Case cases[] = {{0, 0},     {20, 0},    {22.4, 0},  {23, 45},   {67, 45},  {68, 90},
                          {200, 180}, {337, 315}, {338, 0},   {359, 0},   {-20, 0},  {-30, -45}};
    for (const Case& c : cases)
        EXPECT_NEAR(SnapAngleToEighth(c.degrees * kDegree), c.expected * kDegree, 1e-9) << c.degrees;
}

TEST(ConstrainToEighths, LevelPlumbAndDiagonalLines)
{
    struct Case {
        CPoint mouse;
        CPoint expected;
    };
    const CPoint start(1000, 1000);
    const Case cases[] = {
        {{2000, 1170}, {2000, 1000}},   // 10 degrees: level
        {{2000, 1577}, {1789, 1789}},   // 30 degrees: the diagonal, foot of the perpendicular
        {{1100, 2000}, {1000, 2000}},   // plumb
        {{0, 1100}, {0, 1000}},         // level to the left
        {{0, 0}, {0, 0}},               // the other diagonal direction
        {{2000, 0}, {2000, 0}},         // x + y = 2000
        {{1900, 0}, {1950, 50}},        // about 48 degrees up: on x + y = 2000
        {{1000, 1000}, {1000, 1000}},   // the start itself
    };
    for (const Case& c : cases) EXPECT_EQ(ConstrainToEighths(start, c.mouse), c.expected) << c.mouse.x << "," << c.mouse.y;
}
