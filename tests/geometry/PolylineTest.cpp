#include "tests/geometry/PointTestSupport.h"

#include "geometry/Polyline.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

namespace {

// The index of a position in the list, -1 for null, -2 for a foreign one.
int IndexOf(const CPointList& list, POSITION pos)
{
    if (!pos) return -1;
    int i = 0;
    for (POSITION p = list.GetHeadPosition(); p; p = CPointList::NextOf(p), ++i)
        if (p == pos) return i;
    return -2;
}

const CPoint kUnwritten(-777, -777);

// ---------------------------------------------------------------- length

TEST(PolylineLength, SumsSegmentsAndRounds)
{
    struct Case {
        CPointList list;
        double exact;
        int rounded;
    };
    const Case cases[] = {
        {{}, 0.0, 0},
        {{{5, 5}}, 0.0, 0},
        {{{0, 0}, {3, 4}, {3, 4}, {3, 10}}, 11.0, 11},
        {{{0, 0}, {1, 1}}, 1.4142135623730951, 1},
        {{{0, 0}, {1, 1}, {2, 0}}, 2.8284271247461903, 3},
    };
    for (const Case& c : cases) {
        double length = -1.0;
        EXPECT_EQ(PolylineLength(c.list, length), c.rounded);
        EXPECT_DOUBLE_EQ(length, c.exact);
        EXPECT_EQ(PolylineLengthRounded(c.list), c.rounded);
    }
}

// ---------------------------------------------------------------- clean-up

TEST(RemoveRepeatedPoints, DropsConsecutiveRepeatsOnly)
{
    struct Case {
        CPointList in;
        Points plain;
        Points cyclic;
    };
    const Case cases[] = {
        {{}, {}, {}},
        {{{1, 1}}, {{1, 1}}, {{1, 1}}},
        {{{1, 1}, {1, 1}}, {{1, 1}}, {{1, 1}}},
        {{{1, 1}, {1, 1}, {1, 1}, {2, 2}, {2, 2}, {1, 1}}, {{1, 1}, {2, 2}, {1, 1}}, {{1, 1}, {2, 2}}},
        {{{1, 1}, {2, 2}, {1, 1}, {2, 2}}, {{1, 1}, {2, 2}, {1, 1}, {2, 2}},
         {{1, 1}, {2, 2}, {1, 1}, {2, 2}}},
        {{{0, 0}, {5, 0}, {5, 5}, {0, 0}, {0, 0}}, {{0, 0}, {5, 0}, {5, 5}, {0, 0}},
         {{0, 0}, {5, 0}, {5, 5}}},
    };
    for (const Case& c : cases) {
        CPointList plain(c.in);
        RemoveRepeatedPoints(plain);
        EXPECT_EQ(ToVector(plain), c.plain);
        CPointList cyclic(c.in);
        RemoveRepeatedPointsCyclic(cyclic);
        EXPECT_EQ(ToVector(cyclic), c.cyclic);
    }
}

TEST(RemoveRepeatedPoints, KeepsPositionsOfRemainingPoints)
{
    CPointList list;
    const POSITION first = list.AddTail({0, 0});
    list.AddTail({0, 0});
    const POSITION second = list.AddTail({4, 0});
    list.AddTail({4, 0});
    RemoveRepeatedPoints(list);
    ASSERT_EQ(list.GetCount(), 2);
    EXPECT_EQ(list.GetHeadPosition(), first);
    EXPECT_EQ(list.GetTailPosition(), second);
}

TEST(FindPointInList, GivesFirstEqualPoint)
{
    const CPointList list{{1, 2}, {3, 4}, {1, 2}};
    EXPECT_EQ(FindPointInList(list, 1, 2), list.GetHeadPosition());
    EXPECT_EQ(FindPointInList(list, 3, 4), list.FindIndex(1));
    EXPECT_EQ(FindPointInList(list, 2, 1), nullptr);
}

// ---------------------------------------------------------------- inside tests

TEST(IsPointInPolygon, EdgesOfSquareFollowRegionRule)
{
    const CPoint square[] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
    struct Case {
        int x, y, inside;
    };
    const Case cases[] = {
        {5, 5, 1},   {0, 5, 1},  {5, 0, 1},   {0, 0, 1},   // interior, left, top, top-left
        {10, 5, 0},  {5, 10, 0}, {10, 0, 0},  {0, 10, 0},  // right, bottom, other corners
        {10, 10, 0}, {9, 9, 1},  {-1, 5, 0},  {5, -1, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsPointInPolygon(c.x, c.y, square, 4), c.inside) << c.x << ", " << c.y;
}

TEST(IsPointInPolygon, NeighboursSharingADiagonalClaimEachPointOnce)
{
    const CPoint lower[] = {{0, 0}, {20, 0}, {0, 20}};
    const CPoint upper[] = {{20, 0}, {20, 20}, {0, 20}};
    const CPoint square[] = {{0, 0}, {20, 0}, {20, 20}, {0, 20}};
    for (int y = -2; y <= 22; ++y)
        for (int x = -2; x <= 22; ++x)
            EXPECT_EQ(IsPointInPolygon(x, y, lower, 3) + IsPointInPolygon(x, y, upper, 3),
                      IsPointInPolygon(x, y, square, 4))
                << x << ", " << y;
    // On the shared diagonal the lower-left triangle's edge is its right one.
    EXPECT_EQ(IsPointInPolygon(10, 10, lower, 3), 0);
    EXPECT_EQ(IsPointInPolygon(10, 10, upper, 3), 1);
}

TEST(IsPointInPolygon, SelfOverlapUsesEvenOddRule)
{
    // Two overlapping squares drawn as one outline: the overlap is covered
    // twice and so lies outside.
    const CPoint outline[] = {{0, 0}, {20, 0}, {20, 20}, {10, 20}, {10, 10},
                              {30, 10}, {30, 30}, {10, 30}, {10, 20}, {0, 20}};
    EXPECT_EQ(IsPointInPolygon(5, 5, outline, 10), 1);
    EXPECT_EQ(IsPointInPolygon(15, 15, outline, 10), 0);
    EXPECT_EQ(IsPointInPolygon(25, 25, outline, 10), 1);
}

TEST(IsPointInPolygon, DegenerateAndExtremeInput)
{
    const CPoint line[] = {{0, 0}, {10, 10}, {20, 20}};
    EXPECT_EQ(IsPointInPolygon(10, 10, line, 3), 0);
    EXPECT_EQ(IsPointInPolygon(0, 0, line, 2), 0);
    EXPECT_EQ(IsPointInPolygon(0, 0, nullptr, 3), 0);
    // Differences and products beyond 32 and 64 bits must not wrap.
    const CPoint huge[] = {{INT_MIN, INT_MIN}, {INT_MAX, INT_MIN}, {INT_MAX, INT_MAX},
                           {INT_MIN, INT_MAX}};
    EXPECT_EQ(IsPointInPolygon(0, 0, huge, 4), 1);
    EXPECT_EQ(IsPointInPolygon(INT_MAX - 1, INT_MAX - 1, huge, 4), 1);
    // Below the full-range diagonal; the diagonal is this triangle's right edge.
    const CPoint wedge[] = {{INT_MIN, INT_MIN}, {INT_MAX, INT_MAX}, {INT_MIN, INT_MAX}};
    EXPECT_EQ(IsPointInPolygon(0, 1, wedge, 3), 1);
    EXPECT_EQ(IsPointInPolygon(1, 0, wedge, 3), 0);
    EXPECT_EQ(IsPointInPolygon(0, 0, wedge, 3), 0);
    EXPECT_EQ(IsPointInPolygon(INT_MIN, 0, wedge, 3), 1);
}

TEST(IsPointInPolyline, CleansTheListFirst)
{
    EXPECT_EQ(IsPointInPolyline(0, 0, CPointList{{0, 0}, {10, 0}}), 0);
    EXPECT_EQ(IsPointInPolyline(5, 0, CPointList{{0, 0}, {10, 0}, {10, 0}, {0, 0}}), 0);
    const CPointList closed{{0, 0}, {10, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}};
    EXPECT_EQ(IsPointInPolyline(5, 5, closed), 1);
    EXPECT_EQ(IsPointInPolyline(10, 5, closed), 0);
    EXPECT_EQ(IsPointInPolyline(15, 5, closed), 0);
}

// ---------------------------------------------------------------- nearest point

TEST(NearestPointOnSegment, FootEndOrNothing)
{
    struct Case {
        int x1, y1, x2, y2;
        double tolerance;
        int x, y;
        int result;
        CPoint point;
        double distance;
    };
    const Case cases[] = {
        {0, 0, 10, 0, 3.0, 5, 3, 1, {5, 0}, 3.0},
        {0, 0, 10, 0, 2.9, 5, 3, 0, kUnwritten, -1.0},
        {0, 0, 10, 0, 5.0, -3, 4, 1, {0, 0}, 5.0},
        {0, 0, 10, 0, 5.0, 13, -4, 1, {10, 0}, 5.0},
        {0, 0, 10, 0, 0.0, 10, 0, 1, {10, 0}, 0.0},    // an end, whatever the tolerance
        {0, 0, 10, 0, -1.0, 0, 0, 1, {0, 0}, 0.0},
        {0, 10, 0, 0, 2.0, 2, 4, 1, {0, 4}, 2.0},      // vertical, reversed
        {0, 0, 10, 10, 7.1, 0, 10, 1, {5, 5}, 7.0710678118654755},
        {0, 0, 10, 10, 7.0, 0, 10, 0, kUnwritten, -1.0},
        {0, 0, 10, 10, 5.0, 1, 2, 1, {2, 2}, 0.70710678118654757},
        {4, 4, 4, 4, 5.0, 7, 8, 1, {4, 4}, 5.0},       // single-point segment
        {4, 4, 4, 4, 4.9, 7, 8, 0, kUnwritten, -1.0},
    };
    for (const Case& c : cases) {
        CPoint point = kUnwritten;
        double distance = -1.0;
        EXPECT_EQ(NearestPointOnSegment(c.x1, c.y1, c.x2, c.y2, c.tolerance, c.x, c.y, point,
                                        distance),
                  c.result)
            << c.x << ", " << c.y;
        EXPECT_EQ(point, c.point);
        EXPECT_DOUBLE_EQ(distance, c.distance);
    }
}

struct Placement {
    int result = -1;
    CPoint point = kUnwritten;
    double distance = -1.0;
    int segStart = -3, vertex = -3, segEnd = -3;
};

Placement Nearest(const CPointList& list, double tolerance, int x, int y, bool closed = false)
{
    Placement r;
    POSITION s = nullptr, v = nullptr, e = nullptr;
    r.result = closed ? NearestPointOnClosedPath(list, tolerance, x, y, r.point, r.distance, s, v, e)
                      : NearestPointOnPath(list, tolerance, x, y, r.point, r.distance, s, v, e);
    if (r.result) {
        r.segStart = IndexOf(list, s);
        r.vertex = IndexOf(list, v);
        r.segEnd = IndexOf(list, e);
    }
    return r;
}

class NearestPointOnPathTest : public ::testing::Test {
protected:
    // An L: along the top, then down.
    const CPointList path{{0, 0}, {10, 0}, {10, 10}};
};

TEST_F(NearestPointOnPathTest, NeedsTwoPoints)
{
    EXPECT_EQ(Nearest(CPointList{{3, 3}}, 10.0, 3, 3).result, 0);
    EXPECT_EQ(Nearest(CPointList{}, 10.0, 3, 3).result, 0);
}

TEST_F(NearestPointOnPathTest, QueryOnVertexIsFoundAtAnyTolerance)
{
    const Placement middle = Nearest(path, 0.0, 10, 0);
    EXPECT_EQ(middle.result, 1);
    EXPECT_EQ(middle.point, CPoint(10, 0));
    EXPECT_EQ(middle.distance, 0.0);
    EXPECT_EQ(middle.segStart, 1);
    EXPECT_EQ(middle.vertex, 1);
    EXPECT_EQ(middle.segEnd, 2);

    const Placement last = Nearest(path, 0.0, 10, 10);
    EXPECT_EQ(last.segStart, 1);
    EXPECT_EQ(last.vertex, 2);
    EXPECT_EQ(last.segEnd, 2);
}

TEST_F(NearestPointOnPathTest, PointInsideSegment)
{
    const Placement p = Nearest(path, 3.0, 4, 2);
    EXPECT_EQ(p.result, 1);
    EXPECT_EQ(p.point, CPoint(4, 0));
    EXPECT_DOUBLE_EQ(p.distance, 2.0);
    EXPECT_EQ(p.segStart, 0);
    EXPECT_EQ(p.vertex, -1);
    EXPECT_EQ(p.segEnd, 1);
}

TEST_F(NearestPointOnPathTest, EqualDistancesGoToLaterSegment)
{
    const Placement p = Nearest(path, 6.0, 5, 5);
    EXPECT_EQ(p.point, CPoint(10, 5));
    EXPECT_DOUBLE_EQ(p.distance, 5.0);
    EXPECT_EQ(p.segStart, 1);
    EXPECT_EQ(p.segEnd, 2);
}

TEST_F(NearestPointOnPathTest, NearestPointOnVertexNamesThatVertex)
{
    const Placement p = Nearest(path, 5.0, 13, -4);
    EXPECT_EQ(p.result, 1);
    EXPECT_EQ(p.point, CPoint(10, 0));
    EXPECT_DOUBLE_EQ(p.distance, 5.0);
    EXPECT_EQ(p.segStart, 1);
    EXPECT_EQ(p.vertex, 1);
    EXPECT_EQ(p.segEnd, 2);
}

TEST_F(NearestPointOnPathTest, NothingWithinToleranceWritesNothing)
{
    CPoint point = kUnwritten;
    double distance = -1.0;
    POSITION s = path.GetHeadPosition();
    POSITION v = s, e = s;
    EXPECT_EQ(NearestPointOnPath(path, 4.9, 5, 5, point, distance, s, v, e), 0);
    EXPECT_EQ(point, kUnwritten);
    EXPECT_EQ(distance, -1.0);
    EXPECT_EQ(s, path.GetHeadPosition());
    EXPECT_EQ(v, path.GetHeadPosition());
    EXPECT_EQ(e, path.GetHeadPosition());
}

TEST_F(NearestPointOnPathTest, HugeToleranceDoesNotWrapTheSearchBox)
{
    const CPointList far{{2000000000, 2000000000}, {2000000000, 2100000000}};
    // The search box's left edge lies below the int range.
    const Placement p = Nearest(far, 1e12, -100000000, 2050000000);
    EXPECT_EQ(p.result, 1);
    EXPECT_EQ(p.point, CPoint(2000000000, 2050000000));
}

TEST(NearestPointOnClosedPath, ClosingSegmentUsesCallerPositions)
{
    const CPointList square{{0, 0}, {10, 0}, {10, 10}, {0, 10}};
    const Placement closing = Nearest(square, 3.0, 2, 5, true);
    EXPECT_EQ(closing.result, 1);
    EXPECT_EQ(closing.point, CPoint(0, 5));
    EXPECT_EQ(closing.segStart, 3);
    EXPECT_EQ(closing.vertex, -1);
    EXPECT_EQ(closing.segEnd, 0);

    const Placement first = Nearest(square, 3.0, -1, -1, true);
    EXPECT_EQ(first.point, CPoint(0, 0));
    EXPECT_EQ(first.segStart, 0);
    EXPECT_EQ(first.vertex, 0);
    EXPECT_EQ(first.segEnd, 1);

    // The open path does not see the closing segment.
    EXPECT_EQ(Nearest(square, 3.0, 2, 5).result, 0);
    EXPECT_EQ(Nearest(CPointList{}, 3.0, 0, 0, true).result, 0);
}

// ---------------------------------------------------------------- sections

class PathSectionTest : public ::testing::Test {
protected:
    const CPointList path{{0, 0}, {100, 0}, {100, 100}, {200, 100}};
};

TEST_F(PathSectionTest, BetweenPointsForwardAndBackward)
{
    CPointList out{{9, 9}};
    EXPECT_EQ(PathSectionBetweenPoints(path, 50, 3, 150, 97, out), 1);
    EXPECT_EQ(ToVector(out), (Points{{50, 0}, {100, 0}, {100, 100}, {150, 100}}));

    EXPECT_EQ(PathSectionBetweenPoints(path, 150, 97, 50, 3, out), 1);
    EXPECT_EQ(ToVector(out), (Points{{150, 100}, {100, 100}, {100, 0}, {50, 0}}));
}

TEST_F(PathSectionTest, BetweenPointsOnOneSegment)
{
    CPointList out;
    EXPECT_EQ(PathSectionBetweenPoints(path, 70, 0, 30, 0, out), 1);
    EXPECT_EQ(ToVector(out), (Points{{70, 0}, {30, 0}}));
    EXPECT_EQ(PathSectionBetweenPoints(path, 100, 0, 100, 0, out), 1);
    EXPECT_EQ(ToVector(out), (Points{{100, 0}}));
    // Picked at vertices: no repeated points.
    EXPECT_EQ(PathSectionBetweenPoints(path, 0, 0, 103, -1, out), 1);
    EXPECT_EQ(ToVector(out), (Points{{0, 0}, {100, 0}}));
}

TEST_F(PathSectionTest, BetweenPointsFailsAndEmptiesOutput)
{
    CPointList out{{1, 1}};
    EXPECT_EQ(PathSectionBetweenPoints(path, 50, -101, 150, 100, out), 0);
    EXPECT_TRUE(out.IsEmpty());
    out.AddTail({1, 1});
    EXPECT_EQ(PathSectionBetweenPoints(path, 50, 0, 300, 300, out), 0);
    EXPECT_TRUE(out.IsEmpty());
}

TEST_F(PathSectionTest, OutputMayBeTheInput)
{
    CPointList list(path);
    EXPECT_EQ(PathSectionBetweenPoints(list, 50, 0, 100, 50, list), 1);
    EXPECT_EQ(ToVector(list), (Points{{50, 0}, {100, 0}, {100, 50}}));

    list = path;
    EXPECT_EQ(PathFromStartToPoint(list, 100, 50, list), 1);
    EXPECT_EQ(ToVector(list), (Points{{0, 0}, {100, 0}, {100, 50}}));

    list = path;
    EXPECT_EQ(PathFromPointToEnd(list, 100, 50, list), 1);
    EXPECT_EQ(ToVector(list), (Points{{100, 50}, {100, 100}, {200, 100}}));
}

TEST_F(PathSectionTest, FromStartAndToEnd)
{
    struct Case {
        int x, y;
        Points toPoint, fromPoint;
    };
    const Case cases[] = {
        {101, 50, {{0, 0}, {100, 0}, {100, 50}}, {{100, 50}, {100, 100}, {200, 100}}},
        {100, 0, {{0, 0}, {100, 0}}, {{100, 0}, {100, 100}, {200, 100}}},
        {0, 0, {{0, 0}}, {{0, 0}, {100, 0}, {100, 100}, {200, 100}}},
        {200, 101, {{0, 0}, {100, 0}, {100, 100}, {200, 100}}, {{200, 100}}},
    };
    for (const Case& c : cases) {
        CPointList out;
        EXPECT_EQ(PathFromStartToPoint(path, c.x, c.y, out), 1);
        EXPECT_EQ(ToVector(out), c.toPoint) << c.x << ", " << c.y;
        EXPECT_EQ(PathFromPointToEnd(path, c.x, c.y, out), 1);
        EXPECT_EQ(ToVector(out), c.fromPoint) << c.x << ", " << c.y;
    }
    CPointList out{{1, 1}};
    EXPECT_EQ(PathFromStartToPoint(path, 50, 3, out), 0);
    EXPECT_TRUE(out.IsEmpty());
    out.AddTail({1, 1});
    EXPECT_EQ(PathFromPointToEnd(path, 50, 3, out), 0);
    EXPECT_TRUE(out.IsEmpty());
}

TEST(PathSection, ClosedPathPickedAtItsJoinGivesWholePath)
{
    const CPointList closed{{0, 0}, {10, 0}, {10, 10}, {0, 0}};
    CPointList out;
    EXPECT_EQ(PathFromStartToPoint(closed, 0, 0, out), 1);
    EXPECT_EQ(out, closed);
    EXPECT_EQ(PathFromPointToEnd(closed, 0, -1, out), 1);
    EXPECT_EQ(out, closed);
}

class ClosedSectionTest : public ::testing::Test {
protected:
    const CPointList square{{0, 0}, {100, 0}, {100, 100}, {0, 100}};
};

TEST_F(ClosedSectionTest, GoesTheWayThatPassesB)
{
    CPointList out;
    EXPECT_EQ(ClosedPathSectionThrough(square, 50, 0, 100, 50, 50, 100, out), 1);
    EXPECT_EQ(ToVector(out), (Points{{50, 0}, {100, 0}, {100, 50}, {100, 100}, {50, 100}}));

    EXPECT_EQ(ClosedPathSectionThrough(square, 50, 0, 0, 50, 50, 100, out), 1);
    EXPECT_EQ(ToVector(out), (Points{{50, 0}, {0, 0}, {0, 50}, {0, 100}, {50, 100}}));
}

TEST_F(ClosedSectionTest, WrapsAcrossTheJoinAndKeepsOrderOnOneSegment)
{
    CPointList out;
    // A round trip ending one unit short of the start, as the tools ask for.
    EXPECT_EQ(ClosedPathSectionThrough(square, 50, 0, 100, 50, 49, -1, out), 1);
    EXPECT_EQ(ToVector(out), (Points{{50, 0}, {100, 0}, {100, 50}, {100, 100}, {0, 100}, {0, 0},
                                     {49, 0}}));
    // A, B and C on the closing segment in walking order.
    EXPECT_EQ(ClosedPathSectionThrough(square, 0, 80, 0, 50, 0, 20, out), 1);
    EXPECT_EQ(ToVector(out), (Points{{0, 80}, {0, 50}, {0, 20}}));
}

TEST_F(ClosedSectionTest, SameNodeForAAndCIsTheWholeRound)
{
    CPointList out;
    EXPECT_EQ(ClosedPathSectionThrough(square, 100, 0, 0, 50, 100, 0, out), 1);
    EXPECT_EQ(ToVector(out), (Points{{100, 0}, {100, 100}, {0, 100}, {0, 50}, {0, 0}, {100, 0}}));
}

TEST_F(ClosedSectionTest, ToleranceOfEachPoint)
{
    CPointList out{{1, 1}};
    EXPECT_EQ(ClosedPathSectionThrough(square, 50, -101, 100, 50, 50, 100, out), 0);
    EXPECT_TRUE(out.IsEmpty());
    EXPECT_EQ(ClosedPathSectionThrough(square, 50, 0, 201, 50, 50, 100, out), 0);
    // C may lie up to 500 away.
    EXPECT_EQ(ClosedPathSectionThrough(square, 50, 0, 100, 50, 50, 550, out), 1);
    EXPECT_EQ(out.GetTail(), CPoint(50, 100));
    EXPECT_EQ(ClosedPathSectionThrough(square, 50, 0, 100, 50, 50, 601, out), 0);
}

// ---------------------------------------------------------------- length walks

TEST(PointAtLengthFromStart, InterpolatesAndClampsToEnds)
{
    const CPointList path{{0, 0}, {10, 0}, {10, 0}, {10, 10}};
    struct Case {
        double length;
        int result;
        CPoint point;
    };
    const Case cases[] = {
        {0.0, 1, {0, 0}},  {4.4, 1, {4, 0}},   {4.5, 1, {5, 0}},  {10.0, 1, {10, 0}},
        {12.5, 1, {10, 3}}, {20.0, 1, {10, 10}}, {25.0, 0, {10, 10}}, {-3.0, 0, {0, 0}},
    };
    for (const Case& c : cases) {
        CPoint point = kUnwritten;
        EXPECT_EQ(PointAtLengthFromStart(point, path, c.length), c.result) << c.length;
        EXPECT_EQ(point, c.point) << c.length;
    }
    CPoint point = kUnwritten;
    EXPECT_EQ(PointAtLengthFromStart(point, CPointList{}, 0.0), 0);
    EXPECT_EQ(point, kUnwritten);
    EXPECT_EQ(PointAtLengthFromStart(point, CPointList{{3, 3}}, 0.0), 1);
    EXPECT_EQ(point, CPoint(3, 3));
}

struct Walk {
    int result = -1;
    CPoint point = kUnwritten;
    int segStart = -3, vertex = -3, segEnd = -3;
};

Walk SignedLength(const CPointList& list, double length)
{
    Walk w;
    POSITION s = nullptr, v = nullptr, e = nullptr;
    w.result = PointAtSignedLength(list, length, w.point, s, v, e);
    w.segStart = IndexOf(list, s);
    w.vertex = IndexOf(list, v);
    w.segEnd = IndexOf(list, e);
    return w;
}

TEST(PointAtSignedLength, WalksEitherWay)
{
    // Total length 30; the repeated point is a zero-length segment.
    const CPointList path{{0, 0}, {10, 0}, {10, 0}, {10, 20}};
    struct Case {
        double length;
        int result;
        CPoint point;
        int segStart, vertex, segEnd;
    };
    const Case cases[] = {
        {0.0, 1, {0, 0}, 0, 0, 1},
        {4.0, 1, {4, 0}, 0, -1, 1},
        {10.0, 1, {10, 0}, 0, 1, 1},
        {15.0, 1, {10, 5}, 2, -1, 3},
        {30.0, 1, {10, 20}, 2, 3, 3},
        {30.05, 0, {10, 20}, 2, 3, 3},
        {31.0, 0, kUnwritten, 2, -1, 3},
        {-5.0, 1, {10, 15}, 2, -1, 3},
        {-20.0, 1, {10, 0}, 2, 2, 3},
        {-26.0, 1, {4, 0}, 0, -1, 1},
        {-30.05, 0, {0, 0}, 0, 0, 1},
        {-31.0, 0, kUnwritten, 0, -1, 1},
    };
    for (const Case& c : cases) {
        const Walk w = SignedLength(path, c.length);
        EXPECT_EQ(w.result, c.result) << c.length;
        EXPECT_EQ(w.point, c.point) << c.length;
        EXPECT_EQ(w.segStart, c.segStart) << c.length;
        EXPECT_EQ(w.vertex, c.vertex) << c.length;
        EXPECT_EQ(w.segEnd, c.segEnd) << c.length;
    }
}

TEST(PointAtSignedLength, ShortLists)
{
    const Walk empty = SignedLength(CPointList{}, 0.0);
    EXPECT_EQ(empty.result, 0);
    EXPECT_EQ(empty.point, kUnwritten);

    const Walk single = SignedLength(CPointList{{4, 4}}, 0.05);
    EXPECT_EQ(single.result, 0);
    EXPECT_EQ(single.point, CPoint(4, 4));
    EXPECT_EQ(single.segStart, 0);
    EXPECT_EQ(single.vertex, 0);
    EXPECT_EQ(single.segEnd, 0);
}

Walk AlongFromNode(const CPointList& list, int startIndex, double distance)
{
    Walk w;
    POSITION s = nullptr, v = nullptr, e = nullptr;
    w.result = PointAlongPathFromNode(list, list.FindIndex(startIndex), distance, w.point, s, v, e);
    w.segStart = IndexOf(list, s);
    w.vertex = IndexOf(list, v);
    w.segEnd = IndexOf(list, e);
    return w;
}

TEST(PointAlongPathFromNode, WalksFromANode)
{
    const CPointList path{{0, 0}, {10, 0}, {10, 20}, {30, 20}};
    struct Case {
        int start;
        double distance;
        int result;
        CPoint point;
        int segStart, vertex, segEnd;
    };
    const Case cases[] = {
        {1, 0.0, 1, {10, 0}, 1, 1, 2},
        {3, 0.0, 1, {30, 20}, 3, 3, 3},
        {1, 5.0, 1, {10, 5}, 1, -1, 2},
        {1, 20.0, 1, {10, 20}, 1, 2, 2},
        {1, 26.0, 1, {16, 20}, 2, -1, 3},
        {1, -4.0, 1, {6, 0}, 0, -1, 1},
        {2, -20.0, 1, {10, 0}, 1, 1, 2},
        {1, 41.0, 0, {30, 20}, 2, 3, 3},  // runs off the end: the end vertex
        {2, -31.0, 0, {0, 0}, 0, 0, 1},
        {3, 1.0, 0, {30, 20}, 2, 3, 3},    // already at the end
        {0, -1.0, 0, {0, 0}, 0, 0, 1},
    };
    for (const Case& c : cases) {
        const Walk w = AlongFromNode(path, c.start, c.distance);
        EXPECT_EQ(w.result, c.result) << c.start << " " << c.distance;
        EXPECT_EQ(w.point, c.point) << c.start << " " << c.distance;
        EXPECT_EQ(w.segStart, c.segStart) << c.start << " " << c.distance;
        EXPECT_EQ(w.vertex, c.vertex) << c.start << " " << c.distance;
        EXPECT_EQ(w.segEnd, c.segEnd) << c.start << " " << c.distance;
    }
    CPoint point = kUnwritten;
    POSITION s = nullptr, v = nullptr, e = nullptr;
    EXPECT_EQ(PointAlongPathFromNode(path, nullptr, 1.0, point, s, v, e), 0);
    EXPECT_EQ(point, kUnwritten);
}

TEST(VertexAlongPath, FirstVertexAtOrBeyondTheDistance)
{
    const CPointList path{{0, 0}, {10, 0}, {10, 20}, {30, 20}};
    struct Case {
        int x, y;
        double distance;
        int result;
        CPoint point;
    };
    const Case cases[] = {
        {4, 1, 0.0, 1, {4, 1}},     // the given point itself, not its foot
        {4, 1, 3.0, 1, {10, 0}},
        {4, 1, 7.0, 1, {10, 20}},   // 6.08 to (10, 0) is not yet 7
        {4, 1, -2.0, 1, {0, 0}},
        {10, 0, 20.0, 1, {10, 20}},
        {10, 0, 20.5, 1, {30, 20}},
        {10, 0, 41.0, 0, {30, 20}},
        {10, 0, -11.0, 0, {0, 0}},
    };
    for (const Case& c : cases) {
        CPoint point = kUnwritten;
        EXPECT_EQ(VertexAlongPathFromPoint(path, c.x, c.y, c.distance, point), c.result)
            << c.x << ", " << c.y << " " << c.distance;
        EXPECT_EQ(point, c.point) << c.x << ", " << c.y << " " << c.distance;
    }
    CPoint point = kUnwritten;
    EXPECT_EQ(VertexAlongPathFromPoint(path, 4, 6, 1.0, point), 0);
    EXPECT_EQ(point, kUnwritten);

    EXPECT_EQ(VertexAlongPathFromNode(path, path.FindIndex(1), 0.0, point), 1);
    EXPECT_EQ(point, CPoint(10, 0));
    EXPECT_EQ(VertexAlongPathFromNode(path, path.FindIndex(1), 25.0, point), 1);
    EXPECT_EQ(point, CPoint(30, 20));
    EXPECT_EQ(VertexAlongPathFromNode(path, path.FindIndex(2), -15.0, point), 1);
    EXPECT_EQ(point, CPoint(10, 0));
    EXPECT_EQ(VertexAlongPathFromNode(path, path.FindIndex(2), -31.0, point), 0);
    EXPECT_EQ(point, CPoint(0, 0));
}

} // namespace
