#include "tests/geometry/PointTestSupport.h"

#include "geometry/Offset.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

Points Offset(CPointList list, int closed, int distance)
{
    CPointList out;
    OffsetPolyline(list, closed, distance, out);
    return ToVector(out);
}

const CPointList kCorner{{0, 0}, {100, 0}, {100, 100}};     // turns clockwise on the screen
const CPointList kOtherCorner{{0, 0}, {100, 0}, {100, -100}}; // turns the other way
const CPointList kSquare{{0, 0}, {100, 0}, {100, 100}, {0, 100}, {0, 0}};

// ---------------------------------------------------------------- area

TEST(PolygonArea, EitherDirectionAndDegenerateLists)
{
    EXPECT_DOUBLE_EQ(PolygonArea(kSquare), 10000.0);
    EXPECT_DOUBLE_EQ(PolygonArea({{0, 0}, {0, 100}, {100, 100}, {100, 0}, {0, 0}}), 10000.0);
    EXPECT_DOUBLE_EQ(PolygonArea({{0, 0}, {100, 0}, {100, 100}, {0, 100}}), 10000.0); // not repeated
    EXPECT_DOUBLE_EQ(PolygonArea({{0, 0}, {10, 0}, {0, 10}}), 50.0);
    EXPECT_DOUBLE_EQ(PolygonArea({{-50, -50}, {50, -50}, {50, 50}}), 5000.0);
    EXPECT_DOUBLE_EQ(PolygonArea({{0, 0}, {50, 50}, {100, 100}}), 0.0);
    EXPECT_DOUBLE_EQ(PolygonArea({{0, 0}, {100, 0}}), 0.0);
    EXPECT_DOUBLE_EQ(PolygonArea({}), 0.0);
}

// ---------------------------------------------------------------- offsets

TEST(OffsetPolyline, OpenCornerOnBothSides)
{
    EXPECT_EQ(Offset(kCorner, 0, 10), (Points{{0, -10}, {110, -10}, {110, 100}}));
    EXPECT_EQ(Offset(kCorner, 0, -10), (Points{{0, 10}, {90, 10}, {90, 100}}));
    EXPECT_EQ(Offset(kOtherCorner, 0, 10), (Points{{0, -10}, {90, -10}, {90, -100}}));
    EXPECT_EQ(Offset(kCorner, 0, 0), ToVector(kCorner));
}

TEST(OffsetPolyline, EndsStandSquareOffASlantedPath)
{
    // A 3-4-5 segment: the step (6, 8) turned a quarter turn.
    EXPECT_EQ(Offset({{0, 0}, {30, 40}}, 0, 10), (Points{{8, -6}, {38, 34}}));
    EXPECT_EQ(Offset({{0, 0}, {30, 40}}, 0, -10), (Points{{-8, 6}, {22, 46}}));
}

TEST(OffsetPolyline, StraightRunsAndRepeatedPointsAddNothing)
{
    EXPECT_EQ(Offset({{0, 0}, {50, 0}, {100, 0}}, 0, 10), (Points{{0, -10}, {100, -10}}));

    CPointList withRepeat{{0, 0}, {100, 0}, {100, 0}, {100, 100}};
    CPointList out;
    OffsetPolyline(withRepeat, 0, 10, out);
    EXPECT_EQ(ToVector(out), (Points{{0, -10}, {110, -10}, {110, 100}}));
    EXPECT_EQ(ToVector(withRepeat), ToVector(kCorner)); // cleaned in place
}

TEST(OffsetPolyline, TooShortGivesNothingAndEmptiesTheOutput)
{
    CPointList out{{1, 1}, {2, 2}};
    CPointList single{{5, 5}, {5, 5}};
    OffsetPolyline(single, 0, 10, out);
    EXPECT_TRUE(out.IsEmpty());
    CPointList empty;
    EXPECT_EQ(GetOffsetPolyline(empty, 1, 10, out), 1);
    EXPECT_TRUE(out.IsEmpty());
}

TEST(OffsetPolyline, OutputMayBeTheInput)
{
    CPointList list = kCorner;
    EXPECT_EQ(GetOffsetPolyline(list, 0, 10, list), 1);
    EXPECT_EQ(ToVector(list), (Points{{0, -10}, {110, -10}, {110, 100}}));
}

TEST(OffsetPolyline, ClosedOutlineStaysClosed)
{
    EXPECT_EQ(Offset(kSquare, 1, 10),
              (Points{{-10, -10}, {110, -10}, {110, 110}, {-10, 110}, {-10, -10}}));
    EXPECT_EQ(Offset(kSquare, 1, -10), (Points{{10, 10}, {90, 10}, {90, 90}, {10, 90}, {10, 10}}));
    // An outline that does not repeat its first point is closed all the same.
    EXPECT_EQ(Offset({{0, 0}, {100, 0}, {100, 100}, {0, 100}}, 1, 10), Offset(kSquare, 1, 10));
}

TEST(OffsetPolyline, GoesSquareRoundATurnBack)
{
    EXPECT_EQ(Offset({{0, 0}, {100, 0}, {0, 0}}, 0, 10),
              (Points{{0, -10}, {100, -10}, {100, 10}, {0, 10}}));
    EXPECT_EQ(Offset({{0, 0}, {100, 0}, {0, 0}}, 0, -10),
              (Points{{0, 10}, {100, 10}, {100, -10}, {0, -10}}));
    // Distance 0 keeps the tip once.
    EXPECT_EQ(Offset({{0, 0}, {100, 0}, {50, 0}}, 0, 0), (Points{{0, 0}, {100, 0}, {50, 0}}));
}

TEST(OffsetCorner, AppendsToWhatIsThere)
{
    CPointList out{{7, 7}};
    OffsetCorner(0, 0, 100, 0, 100, 100, 10, out);
    EXPECT_EQ(ToVector(out), (Points{{7, 7}, {110, -10}}));
    OffsetCorner(0, 0, 0, 0, 100, 100, 10, out);   // P1 repeats P0
    OffsetCorner(0, 0, 100, 0, 100, 0, 10, out);   // P1 repeats P2
    OffsetCorner(0, 0, 100, 0, 200, 0, 10, out);   // straight run
    EXPECT_EQ(out.GetCount(), 2);
}

// ---------------------------------------------------------------- boxes

TEST(BoundRects, IncludeTheGreatestPoint)
{
    EXPECT_EQ(SegmentBoundRect(5, 7, 1, 9), CRect(1, 7, 6, 10));
    EXPECT_EQ(SegmentBoundRect(3, 3, 3, 3), CRect(3, 3, 4, 4));
    EXPECT_EQ(PolylineBoundRect({{5, 7}, {-3, 20}, {8, -1}}), CRect(-3, -1, 9, 21));
    EXPECT_EQ(PolylineBoundRect({{4, 4}}), CRect(4, 4, 5, 5));
    EXPECT_EQ(PolylineBoundRect({}), CRect());
}

// ---------------------------------------------------------------- clipping

struct ClipCase {
    const char* what;
    CPoint p1, p2;
    int meets;
    CPoint q1, q2; // the ends afterwards
};

class ClipSegmentTest : public ::testing::TestWithParam<ClipCase> {};

TEST_P(ClipSegmentTest, AgainstTheBox0To100)
{
    const ClipCase& c = GetParam();
    CPoint p1 = c.p1;
    CPoint p2 = c.p2;
    EXPECT_EQ(ClipSegmentToRect(0, 0, 100, 100, p1, p2) != 0, c.meets != 0) << c.what;
    EXPECT_EQ(p1, c.q1) << c.what;
    EXPECT_EQ(p2, c.q2) << c.what;

    int x1 = c.p1.x, y1 = c.p1.y, x2 = c.p2.x, y2 = c.p2.y;
    EXPECT_EQ(ClipSegmentToRectXY(0, 0, 100, 100, x1, y1, x2, y2) != 0, c.meets != 0) << c.what;
    EXPECT_EQ(CPoint(x1, y1), c.q1) << c.what;
    EXPECT_EQ(CPoint(x2, y2), c.q2) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ClipSegmentTest,
    ::testing::Values(
        ClipCase{"inside, steep: the line at the top and bottom", {10, 20}, {30, 70}, 1, {2, 0}, {42, 100}},
        ClipCase{"box apart", {150, 10}, {200, 90}, 0, {150, 10}, {200, 90}},
        ClipCase{"box overlaps, line passes the corner", {95, 110}, {110, 95}, 0, {95, 110}, {110, 95}},
        ClipCase{"touches the corner", {90, 110}, {110, 90}, 1, {100, 100}, {200, 0}},
        ClipCase{"crosses horizontally", {-50, 50}, {150, 50}, 1, {0, 50}, {100, 50}},
        ClipCase{"crosses backward", {150, 50}, {-50, 50}, 1, {100, 50}, {0, 50}},
        ClipCase{"crosses vertically", {40, 300}, {40, -300}, 1, {40, 100}, {40, 0}},
        ClipCase{"vertical beside", {101, -10}, {101, 50}, 0, {101, -10}, {101, 50}},
        ClipCase{"along the bottom edge", {10, 100}, {20, 100}, 1, {10, 100}, {20, 100}},
        ClipCase{"diagonal through", {-50, -50}, {150, 150}, 1, {0, 0}, {100, 100}},
        ClipCase{"diagonal backward", {150, 150}, {-50, -50}, 1, {100, 100}, {0, 0}},
        ClipCase{"from inside out, shallow: the line at the sides", {50, 50}, {150, 100}, 1, {0, 25}, {100, 75}},
        ClipCase{"shallow, leftward", {60, 40}, {20, 30}, 1, {100, 50}, {0, 25}},
        ClipCase{"vertical, limited", {40, -20}, {40, 60}, 1, {40, 0}, {40, 60}},
        ClipCase{"steep, stops short of the box", {120, -40}, {110, -10}, 0, {120, -40}, {110, -10}},
        ClipCase{"point inside", {0, 0}, {0, 0}, 1, {0, 0}, {0, 0}},
        ClipCase{"point on the right edge", {100, 50}, {100, 50}, 0, {100, 50}, {100, 50}},
        ClipCase{"point on the bottom edge", {50, 100}, {50, 100}, 0, {50, 100}, {50, 100}}));

// ---------------------------------------------------------------- sides

TEST(PointSideOfSegment, PositiveOffsetSideOrOnTheLine)
{
    EXPECT_EQ(PointSideOfSegment(50, -10, 0, 0, 100, 0), 1);
    EXPECT_EQ(PointSideOfSegment(50, 10, 0, 0, 100, 0), 0);
    EXPECT_EQ(PointSideOfSegment(50, 0, 0, 0, 100, 0), 1);
    EXPECT_EQ(PointSideOfSegment(250, 0, 0, 0, 100, 0), 1);
    EXPECT_EQ(PointSideOfSegment(50, -10, 100, 0, 0, 0), 0);
    EXPECT_EQ(PointSideOfSegment(10, 50, 0, 0, 0, 100), 1); // travelling down: +x is left
    EXPECT_EQ(PointSideOfSegment(-10, 50, 0, 0, 0, 100), 0);
}

// The offset side and the side test agree for any direction.
TEST(PointSideOfSegment, AgreesWithTheOffsetSide)
{
    const CPoint ends[] = {{100, 0}, {70, 70}, {0, 100}, {-60, 80}, {-100, 0}, {-30, -90}, {0, -100}, {90, -40}};
    for (const CPoint& e : ends) {
        const CPointList segment{{0, 0}, e};
        const Points plus = Offset(segment, 0, 10);
        const Points minus = Offset(segment, 0, -10);
        EXPECT_EQ(PointSideOfSegment(plus[0].x, plus[0].y, 0, 0, e.x, e.y), 1) << e.x << "," << e.y;
        EXPECT_EQ(PointSideOfSegment(minus[0].x, minus[0].y, 0, 0, e.x, e.y), 0) << e.x << "," << e.y;
    }
}

TEST(PointSideOfPolyline, NearestSegmentDecides)
{
    EXPECT_EQ(PointSideOfPolyline(50, -5, kCorner), 1);
    EXPECT_EQ(PointSideOfPolyline(50, 5, kCorner), 0);
    EXPECT_EQ(PointSideOfPolyline(105, 50, kCorner), 1);
    EXPECT_EQ(PointSideOfPolyline(95, 50, kCorner), 0);
    EXPECT_EQ(PointSideOfPolyline(90, 10, kCorner), 0); // inside the corner
}

TEST(PointSideOfPolyline, BeyondTheEnds)
{
    EXPECT_EQ(PointSideOfPolyline(-10, -5, kCorner), 1);
    EXPECT_EQ(PointSideOfPolyline(-10, 5, kCorner), 0);
    EXPECT_EQ(PointSideOfPolyline(105, 120, kCorner), 1);
    EXPECT_EQ(PointSideOfPolyline(95, 120, kCorner), 0);
}

TEST(PointSideOfPolyline, OffTheOuterEdgeOfACornerEitherWay)
{
    EXPECT_EQ(PointSideOfPolyline(110, -10, kCorner), 1);
    EXPECT_EQ(PointSideOfPolyline(110, 10, kOtherCorner), 0);
    EXPECT_EQ(PointSideOfPolyline(-10, -10, kSquare), 1); // round the closing vertex
    EXPECT_EQ(PointSideOfPolyline(110, 110, kSquare), 1);
}

TEST(PointSideOfPolyline, TooShortIsZero)
{
    EXPECT_EQ(PointSideOfPolyline(5, -5, {}), 0);
    EXPECT_EQ(PointSideOfPolyline(5, -5, {{0, 0}}), 0);
}

// Every point of an offset path lies on the side it was offset to.
TEST(PointSideOfPolyline, OffsetPathsLieOnTheirSide)
{
    const CPointList paths[] = {
        kCorner,
        kOtherCorner,
        {{0, 0}, {100, 0}, {150, 80}, {250, -40}, {300, 0}},
        kSquare,
        {{0, 0}, {0, 100}, {100, 100}, {100, 0}, {0, 0}},
        {{0, 0}, {200, 0}, {100, 150}, {0, 0}},
    };
    for (const CPointList& path : paths) {
        const int closed = path.GetHead() == path.GetTail() ? 1 : 0;
        for (const int distance : {10, -10}) {
            for (const CPoint& p : Offset(path, closed, distance))
                EXPECT_EQ(PointSideOfPolyline(p.x, p.y, path), distance > 0 ? 1 : 0)
                    << "offset " << distance << " point (" << p.x << ", " << p.y << ") of a path starting at ("
                    << path.GetHead().x << ", " << path.GetHead().y << ") with "
                    << path.GetCount() << " points";
        }
    }
}

} // namespace

TEST(OffsetPolyline, DensePathHasNoSpikesWhereItBarelyTurns)
{
    // A circle of radius 1000 as a polyline of 192 integer points: the
    // directions of neighbouring segments differ by a hair, and corners
    // taken through rounded offset points used to land far along the path.
    CPointList circle;
    for (int i = 0; i < 192; ++i) {
        const double a = 6.28318530718 / 192 * i;
        circle.AddTail(CPoint(int(std::lround(5000 + std::cos(a) * 1000)), int(std::lround(5000 + std::sin(a) * 1000))));
    }
    circle.AddTail(CPoint(circle.GetHead()));
    for (int distance : {200, -200, 15}) {
        CPointList out;
        OffsetPolyline(circle, 1, distance, out);
        ASSERT_GT(out.GetCount(), 150);
        for (const CPoint& p : out)
            EXPECT_NEAR(std::hypot(p.x - 5000.0, p.y - 5000.0), 1000.0 + distance, 3.0) << distance;
    }
}
