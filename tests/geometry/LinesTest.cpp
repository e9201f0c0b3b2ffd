#include "geometry/Lines.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {
const CPoint kUntouched(-777, -777);

std::string Describe(const CPointList& list)
{
    std::string s;
    for (const CPoint& p : list) s += "(" + std::to_string(p.x) + "," + std::to_string(p.y) + ")";
    return s;
}
} // namespace

TEST(LineThroughPoints, CoefficientsVanishOnBothPoints)
{
    double a = 0, b = 0, c = 0;
    LineThroughPoints(1, 2, 4, 6, a, b, c);
    EXPECT_EQ(a, 4.0);
    EXPECT_EQ(b, -3.0);
    EXPECT_EQ(c, 2.0);
    LineThroughPointsXY(1, 2, 4, 6, a, b, c);
    EXPECT_EQ(a * 4 + b * 6 + c, 0.0);
    LineThroughPoints(7, 7, 7, 7, a, b, c);
    EXPECT_EQ(a, 0.0);
    EXPECT_EQ(b, 0.0);
    EXPECT_EQ(c, 0.0);
}

TEST(IntersectLines, CodesAndCrossingWrittenOnlyForOne)
{
    const struct {
        double a1, b1, c1, a2, b2, c2;
        int code;
        double x, y;
    } cases[] = {
        {1, 0, -2, 0, 1, -3, 1, 2, 3},   // x = 2 and y = 3
        {1, -1, 0, 1, 1, -10, 1, 5, 5},  // y = x and x + y = 10
        {1, 0, 0, 1, 0, -5, 0, 0, 0},    // x = 0 and x = 5
        {1, 0, 0, 2, 0, 0, 2, 0, 0},     // x = 0 twice, scaled
        {0, 1, 0, 0, 1, -3, 0, 0, 0},    // y = 0 and y = 3
        {0, 1, -1, 0, 3, -3, 2, 0, 0},   // y = 1 twice, scaled
        {1, 1, 0, 2, 2, 1, 0, 0, 0},     // slanted parallels
    };
    for (const auto& c : cases) {
        double x = -777, y = -777;
        EXPECT_EQ(IntersectLines(c.a1, c.b1, c.c1, c.a2, c.b2, c.c2, x, y), c.code);
        if (c.code == 1) {
            EXPECT_DOUBLE_EQ(x, c.x);
            EXPECT_DOUBLE_EQ(y, c.y);
        } else {
            EXPECT_EQ(x, -777);
            EXPECT_EQ(y, -777);
        }
    }
}

TEST(IntersectLines, Rounded)
{
    int x = -777, y = -777;
    // x = 0.5 and y = -0.5 round away from zero.
    EXPECT_EQ(IntersectLinesRounded(2, 0, -1, 0, 2, 1, x, y), 1);
    EXPECT_EQ(x, 1);
    EXPECT_EQ(y, -1);
    x = y = -777;
    EXPECT_EQ(IntersectLinesRounded(1, 0, 0, 1, 0, -5, x, y), 0);
    EXPECT_EQ(x, -777);
    EXPECT_EQ(y, -777);
}

TEST(IntersectLinesThroughPoints, CrossingParallelAndSameLine)
{
    CPoint p = kUntouched;
    EXPECT_EQ(IntersectLinesThroughPoints({0, 0}, {10, 10}, {0, 10}, {10, 0}, p), 1);
    EXPECT_EQ(p, CPoint(5, 5));
    p = kUntouched;
    EXPECT_EQ(IntersectLinesThroughPoints({0, 0}, {10, 0}, {0, 5}, {10, 5}, p), 0);
    EXPECT_EQ(IntersectLinesThroughPoints({0, 0}, {0, 10}, {5, 0}, {5, 10}, p), 0);
    EXPECT_EQ(IntersectLinesThroughPoints({0, 0}, {10, 10}, {20, 20}, {-5, -5}, p), 2);
    EXPECT_EQ(p, kUntouched);
    int x = 0, y = 0;
    EXPECT_EQ(IntersectLinesThroughPointsXY(0, 0, 100, 0, 30, -7, 30, 9, x, y), 1);
    EXPECT_EQ(CPoint(x, y), CPoint(30, 0));
}

TEST(PerpendicularFoot, OnTheLineOrThePointItselfForADegenerateLine)
{
    CPoint f;
    PerpendicularFoot(5, 5, 0, 0, 10, 0, f);
    EXPECT_EQ(f, CPoint(5, 0));
    PerpendicularFoot(0, 10, 0, 0, 10, 10, f);
    EXPECT_EQ(f, CPoint(5, 5));
    PerpendicularFoot(40, -3, 0, 0, 10, 0, f);  // beyond the points: still on the line
    EXPECT_EQ(f, CPoint(40, 0));
    PerpendicularFoot(3, 4, 7, 7, 7, 7, f);
    EXPECT_EQ(f, CPoint(3, 4));
    int fx = 0, fy = 0;
    PerpendicularFootXY(3, 4, 0, 0, 9, fx, fy);
    EXPECT_EQ(CPoint(fx, fy), CPoint(3, 4));
    PerpendicularFootToLine(3, 4, 1, 0, -10, f);
    EXPECT_EQ(f, CPoint(10, 4));
}

TEST(Mirror, ReflectsAcrossTheLine)
{
    CPoint m;
    MirrorPoint(3, 4, 0, 1, 0, m);
    EXPECT_EQ(m, CPoint(3, -4));
    int mx = 0, my = 0;
    MirrorPointAcrossPointsXY(2, 6, 0, 0, 10, 10, mx, my);
    EXPECT_EQ(CPoint(mx, my), CPoint(6, 2));
    // The foot (3.5, 3.5) is rounded to (4, 4) before it is doubled.
    MirrorPointAcrossPointsXY(3, 4, 0, 0, 10, 10, mx, my);
    EXPECT_EQ(CPoint(mx, my), CPoint(5, 4));
    EXPECT_EQ(MirrorPointAcrossPoints(3, 4, 10, 0, 10, 1, m), CPoint(17, 4));
    EXPECT_EQ(m, CPoint(17, 4));
}

TEST(Mirror, EqualAxisPointsLeaveTheOutputsAlone)
{
    int mx = -777, my = -777;
    MirrorPointAcrossPointsXY(3, 4, 5, 5, 5, 5, mx, my);
    EXPECT_EQ(CPoint(mx, my), kUntouched);
    CPoint m = kUntouched;
    EXPECT_EQ(MirrorPointAcrossPoints(3, 4, 5, 5, 5, 5, m), kUntouched);
    EXPECT_EQ(m, kUntouched);
}

TEST(Mirror, PolylineInPlaceAndIdentityForEqualAxisPoints)
{
    CPointList list{CPoint(1, 2), CPoint(3, -4)};
    MirrorPolyline(list, 0, 0, 10, 0, list);
    EXPECT_EQ(list, (CPointList{CPoint(1, -2), CPoint(3, 4)}));
    CPointList out{CPoint(99, 99)};
    MirrorPolyline(list, 5, 5, 5, 5, out);
    EXPECT_EQ(out, list);
}

TEST(Rotate, PositiveAngleTurnsTowardsPositiveY)
{
    int x = 0, y = 0;
    RotatedPointXY(10, 0, 0, 0, 1.0, 0.0, x, y);
    EXPECT_EQ(CPoint(x, y), CPoint(0, 10));
    RotatedPointXY(15, 5, 5, 5, 1.0, 0.0, x, y);
    EXPECT_EQ(CPoint(x, y), CPoint(5, 15));
    CPoint p(7, 3);
    RotatePoint(p, 2, 2, 0.0, -1.0);
    EXPECT_EQ(p, CPoint(-3, 1));
}

TEST(Rotate, RoundsTheOffsetNotTheSum)
{
    // dx = -5 scaled by 0.5 is -2.5, rounded to -3 before the centre 10 is
    // added: 7, where rounding 7.5 would give 8.
    int x = 0, y = 0;
    RotatedPointXY(5, 0, 10, 0, 0.0, 0.5, x, y);
    EXPECT_EQ(x, 7);
    RotatedPointXY(15, 0, 10, 0, 0.0, 0.5, x, y);
    EXPECT_EQ(x, 13);
}

TEST(Rotate, PolylineInPlace)
{
    CPointList list{CPoint(10, 0), CPoint(0, 10), CPoint(-10, 0)};
    RotatePolyline(list, 0, 0, 1.0, 0.0, list);
    EXPECT_EQ(list, (CPointList{CPoint(0, 10), CPoint(-10, 0), CPoint(0, -10)}));
}

TEST(Translate, PolylineInPlaceAndIntoAnotherList)
{
    CPointList list{CPoint(1, 2), CPoint(3, 4)};
    CPointList out{CPoint(9, 9), CPoint(9, 9), CPoint(9, 9)};
    TranslatePolyline(list, 10, -1, out);
    EXPECT_EQ(out, (CPointList{CPoint(11, 1), CPoint(13, 3)}));
    TranslatePolyline(list, -1, 1, list);
    EXPECT_EQ(list, (CPointList{CPoint(0, 3), CPoint(2, 5)}));
}

TEST(IntersectLineSegment, Codes)
{
    const struct {
        const char* what;
        double a, b, c;
        int x1, y1, x2, y2;
        int code;
        CPoint point;  // kUntouched where nothing is written
    } cases[] = {
        {"crossing inside", 0, 1, 0, 5, -5, 5, 5, 1, {5, 0}},
        {"crossing outside", 0, 1, 0, 5, 2, 5, 10, 2, {5, 0}},
        {"one unit beyond the end", 1, 0, -11, 0, 0, 10, 10, 1, {11, 11}},
        {"two units beyond the end", 1, 0, -12, 0, 0, 10, 10, 2, {12, 12}},
        {"parallel", 0, 1, 0, 0, 3, 10, 3, 0, kUntouched},
        {"segment on the line", 0, 2, 0, 10, 0, 0, 0, 3, kUntouched},
        {"vertical segment on a vertical line", 1, 0, -5, 5, 0, 5, 10, 3, kUntouched},
        {"vertical segment beside a vertical line", 1, 0, -5, 0, 0, 0, 10, 0, kUntouched},
        {"point on the line", 0, 1, -4, 6, 4, 6, 4, 3, kUntouched},
        {"point off the line", 0, 1, -4, 6, 9, 6, 9, 0, kUntouched},
    };
    for (const auto& c : cases) {
        CPoint p = kUntouched;
        EXPECT_EQ(IntersectLineSegment(c.a, c.b, c.c, c.x1, c.y1, c.x2, c.y2, p), c.code) << c.what;
        EXPECT_EQ(p, c.point) << c.what;
        int x = kUntouched.x, y = kUntouched.y;
        EXPECT_EQ(IntersectLineSegmentXY(c.a, c.b, c.c, c.x1, c.y1, c.x2, c.y2, x, y), c.code);
        EXPECT_EQ(CPoint(x, y), c.point) << c.what;
    }
}

TEST(IntersectSegments, Codes)
{
    const struct {
        const char* what;
        CPoint p1, p2, p3, p4;
        int code;
        CPoint point;  // kUntouched where nothing is written
    } cases[] = {
        {"crossing", {0, 0}, {10, 0}, {5, -5}, {5, 5}, 1, {5, 0}},
        {"diagonals", {0, 0}, {10, 10}, {0, 10}, {10, 0}, 1, {5, 5}},
        {"one unit of slack", {0, 0}, {10, 0}, {11, -5}, {11, 5}, 1, {11, 0}},
        {"beyond the slack", {0, 0}, {10, 0}, {12, -5}, {12, 5}, 2, {12, 0}},
        {"crossing beyond in y", {0, 0}, {10, 0}, {5, 2}, {5, 10}, 2, {5, 0}},
        {"parallel", {0, 0}, {10, 0}, {0, 3}, {10, 3}, 0, kUntouched},
        {"parallel verticals one apart", {0, 0}, {0, 10}, {1, 0}, {1, 10}, 0, kUntouched},
        {"parallel verticals far apart", {0, 0}, {0, 10}, {5, 0}, {5, 10}, 0, kUntouched},
        {"end to end", {0, 0}, {10, 0}, {10, 0}, {20, 0}, 4, {10, 0}},
        {"end to end, second first", {10, 0}, {20, 0}, {0, 0}, {10, 0}, 4, {10, 0}},
        {"end to end, reversed ends", {10, 0}, {0, 0}, {20, 0}, {10, 0}, 4, {10, 0}},
        {"vertical end to end", {0, 0}, {0, 10}, {0, 10}, {0, 20}, 4, {0, 10}},
        {"common low end", {0, 0}, {10, 0}, {0, 0}, {5, 0}, 5, {5, 0}},
        {"common low end, second longer", {0, 0}, {5, 0}, {0, 0}, {10, 0}, 5, {5, 0}},
        {"common high end", {0, 0}, {10, 0}, {5, 0}, {10, 0}, 5, {5, 0}},
        {"common high end, second longer", {5, 0}, {10, 0}, {0, 0}, {10, 0}, 5, {5, 0}},
        {"identical", {1, 2}, {8, 9}, {1, 2}, {8, 9}, 5, {1, 2}},
        {"identical reversed", {1, 2}, {8, 9}, {8, 9}, {1, 2}, 5, {1, 2}},
        {"overlap", {0, 0}, {10, 0}, {5, 0}, {20, 0}, 3, kUntouched},
        {"contained", {0, 0}, {10, 0}, {2, 0}, {5, 0}, 3, kUntouched},
        {"vertical overlap", {0, 0}, {0, 10}, {0, 5}, {0, 20}, 3, kUntouched},
        {"collinear one apart", {0, 0}, {10, 0}, {11, 0}, {20, 0}, 0, kUntouched},
        {"collinear far apart", {0, 0}, {10, 0}, {15, 0}, {20, 0}, 0, kUntouched},
        {"point near the segment", {5, 1}, {5, 1}, {0, 0}, {10, 0}, 1, {5, 1}},
        {"point two off the segment", {5, 2}, {5, 2}, {0, 0}, {10, 0}, 0, kUntouched},
        {"point near the line beyond the end", {12, 1}, {12, 1}, {0, 0}, {10, 0}, 2, {12, 1}},
        {"second segment a point", {0, 0}, {10, 0}, {3, -1}, {3, -1}, 1, {3, -1}},
        {"two equal points", {4, 4}, {4, 4}, {4, 4}, {4, 4}, 1, {4, 4}},
        {"two different points", {4, 4}, {4, 4}, {4, 5}, {4, 5}, 0, kUntouched},
    };
    for (const auto& c : cases) {
        CPoint p = kUntouched;
        EXPECT_EQ(IntersectSegments(c.p1.x, c.p1.y, c.p2.x, c.p2.y, c.p3.x, c.p3.y, c.p4.x, c.p4.y, p),
                  c.code)
            << c.what;
        EXPECT_EQ(p, c.point) << c.what;
    }
}

TEST(SegmentPolylineIntersections, CrossingOnASharedVertexCountsOnce)
{
    const CPointList path{CPoint(0, 0), CPoint(5, 0), CPoint(10, 0)};
    CPointList out{CPoint(99, 99)};
    EXPECT_EQ(SegmentPolylineIntersections(5, -5, 5, 5, path, out), 1);
    EXPECT_EQ(out, CPointList{CPoint(5, 0)});
}

TEST(SegmentPolylineIntersections, TouchingEndsCountAndBoxesMustMeet)
{
    const CPointList path{CPoint(0, 0), CPoint(10, 0), CPoint(10, 10), CPoint(0, 10)};
    CPointList out;
    // Collinear, end to end with the first segment (code 4).
    EXPECT_EQ(SegmentPolylineIntersections(10, 0, 20, 0, path, out), 1);
    EXPECT_EQ(out, CPointList{CPoint(10, 0)});
    // Within the crossing test's unit of slack, but the boxes do not meet.
    EXPECT_EQ(SegmentPolylineIntersections(11, 3, 20, 3, path, out), 0);
    EXPECT_TRUE(out.IsEmpty());
    EXPECT_EQ(SegmentPolylineIntersections(5, -5, 5, 20, path, out), 2);
    EXPECT_EQ(out, (CPointList{CPoint(5, 0), CPoint(5, 10)})) << Describe(out);
}

TEST(SegmentPolylineIntersections, OutputMayBeTheInput)
{
    CPointList path{CPoint(0, 0), CPoint(10, 10), CPoint(20, 0)};
    EXPECT_EQ(SegmentPolylineIntersections(0, 5, 20, 5, path, path), 2);
    EXPECT_EQ(path, (CPointList{CPoint(5, 5), CPoint(15, 5)})) << Describe(path);
}

TEST(PolylineIntersections, OnlyProperCrossings)
{
    const CPointList a{CPoint(0, 5), CPoint(20, 5)};
    const CPointList b{CPoint(5, 0), CPoint(5, 10), CPoint(15, 10), CPoint(15, 0)};
    CPointList out{CPoint(99, 99)};
    EXPECT_EQ(PolylineIntersections(a, b, out), 2);
    EXPECT_EQ(out, (CPointList{CPoint(5, 5), CPoint(15, 5)})) << Describe(out);

    // End to end and overlapping pieces are no crossings here.
    EXPECT_EQ(PolylineIntersections(CPointList{CPoint(0, 0), CPoint(10, 0)},
                                    CPointList{CPoint(10, 0), CPoint(20, 0)}, out),
              0);
    EXPECT_EQ(PolylineIntersections(CPointList{CPoint(0, 0), CPoint(10, 0)},
                                    CPointList{CPoint(0, 0), CPoint(5, 0)}, out),
              0);
    EXPECT_TRUE(out.IsEmpty());
}

TEST(PolylineIntersections, CrossingOnAVertexOfBCountsOnce)
{
    const CPointList a{CPoint(0, 5), CPoint(20, 5)};
    const CPointList b{CPoint(0, 0), CPoint(10, 5), CPoint(20, 0)};
    CPointList out;
    EXPECT_EQ(PolylineIntersections(a, b, out), 1);
    EXPECT_EQ(out, CPointList{CPoint(10, 5)});
}

TEST(PolylineSelfIntersections, FindsCrossingsWithEarlierSegmentsAndAppends)
{
    const CPointList bowTie{CPoint(0, 0), CPoint(10, 10), CPoint(10, 0), CPoint(0, 10)};
    CPointList out{CPoint(99, 99)};
    EXPECT_EQ(PolylineSelfIntersections(bowTie, out), 2);
    EXPECT_EQ(out, (CPointList{CPoint(99, 99), CPoint(5, 5)}));

    // A square spiral: the fifth segment crosses the first.
    const CPointList spiral{CPoint(0, 0),   CPoint(20, 0), CPoint(20, 20),
                            CPoint(10, 20), CPoint(10, -10)};
    out.RemoveAll();
    EXPECT_EQ(PolylineSelfIntersections(spiral, out), 1);
    EXPECT_EQ(out, CPointList{CPoint(10, 0)});
}

TEST(PolylineSelfIntersections, NeighboursAndShortListsFindNothing)
{
    CPointList out;
    EXPECT_EQ(PolylineSelfIntersections(CPointList{CPoint(0, 0), CPoint(10, 0), CPoint(0, 0)}, out), 0);
    const CPointList square{CPoint(0, 0), CPoint(10, 0), CPoint(10, 10), CPoint(0, 10), CPoint(0, 1)};
    EXPECT_EQ(PolylineSelfIntersections(square, out), 0);
    EXPECT_TRUE(out.IsEmpty());
}

TEST(PolylineSelfIntersections, OutputMayBeTheInput)
{
    CPointList list{CPoint(0, 0), CPoint(10, 10), CPoint(10, 0), CPoint(0, 10)};
    EXPECT_EQ(PolylineSelfIntersections(list, list), 5);
    EXPECT_EQ(list.GetTail(), CPoint(5, 5));
}

TEST(LineEquationPolylineIntersections, CrossingsOfAClosedOutline)
{
    const CPointList square{CPoint(0, 0), CPoint(10, 0), CPoint(10, 10), CPoint(0, 10), CPoint(0, 0)};
    CPointList out{CPoint(99, 99)};
    EXPECT_EQ(LineEquationPolylineIntersections(0, 1, -5, square, out), 2);
    EXPECT_EQ(out, (CPointList{CPoint(10, 5), CPoint(0, 5)}));
    // An edge on the line gives no crossing of its own.
    EXPECT_EQ(LineEquationPolylineIntersections(1, 0, -10, square, out), 2);
    EXPECT_EQ(out, (CPointList{CPoint(10, 0), CPoint(10, 10)}));
    EXPECT_EQ(LineEquationPolylineIntersections(0, 1, -20, square, out), 0);
    EXPECT_TRUE(out.IsEmpty());
}

TEST(LineEquationPolylineIntersections, CornersFoundTwiceCountOnceAlsoAcrossTheEnds)
{
    // The diagonal meets each corner from both of its edges; the first and
    // last crossings are the same corner.
    const CPointList square{CPoint(0, 0), CPoint(10, 0), CPoint(10, 10), CPoint(0, 10), CPoint(0, 0)};
    CPointList out;
    EXPECT_EQ(LinePolylineIntersections(0, 0, 1, 1, square, out), 2);
    EXPECT_EQ(out, (CPointList{CPoint(0, 0), CPoint(10, 10)})) << Describe(out);
}

TEST(LineEquationPolylineIntersections, OutputMayBeTheInput)
{
    CPointList path{CPoint(0, 0), CPoint(10, 10), CPoint(20, 0)};
    EXPECT_EQ(LinePolylineIntersections(0, 5, 1, 5, path, path), 2);
    EXPECT_EQ(path, (CPointList{CPoint(5, 5), CPoint(15, 5)}));
}

TEST(IsSameQuadrant, SignsOfBothVectorsAgreeWithZeroMatchingEither)
{
    const struct {
        CPoint p1, p2, p3, p4;
        int expected;
    } cases[] = {
        {{5, 5}, {0, 0}, {3, 1}, {1, 0}, 1},
        {{-5, -5}, {0, 0}, {-1, -9}, {0, 0}, 1},
        {{0, 5}, {0, 0}, {-3, 1}, {0, 0}, 1},     // zero x matches a negative x
        {{5, 0}, {0, 0}, {3, -2}, {0, 0}, 1},     // zero y matches a negative y
        {{0, 0}, {0, 0}, {-3, -2}, {0, 0}, 1},
        {{5, 5}, {0, 0}, {-3, 1}, {0, 0}, 0},
        {{5, 5}, {0, 0}, {3, -1}, {0, 0}, 0},
        {{0, 0}, {5, 5}, {3, 1}, {0, 0}, 0},      // the vector runs from p2 to p1
        {{2147483647, 0}, {-2147483647, 0}, {-2147483647, 0}, {2147483647, 0}, 0},
    };
    for (const auto& c : cases) EXPECT_EQ(IsSameQuadrant(c.p1, c.p2, c.p3, c.p4), c.expected);
}
