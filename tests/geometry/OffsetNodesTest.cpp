#include "tests/geometry/PointTestSupport.h"

#include "geometry/Distance.h"
#include "geometry/Lines.h"
#include "geometry/Offset.h"
#include "geometry/OffsetNodes.h"
#include "geometry/Spline.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

constexpr int C = 0; // corner
constexpr int S = 1; // smooth

struct Node {
    int x, y, kind;
};
using NodeVector = std::vector<Node>;

void PrintTo(const Node& n, std::ostream* os) { *os << "(" << n.x << ", " << n.y << ", " << n.kind << ")"; }
bool operator==(const Node& a, const Node& b) { return a.x == b.x && a.y == b.y && a.kind == b.kind; }
bool operator!=(const Node& a, const Node& b) { return !(a == b); }

CNodePointList ToNodes(const NodeVector& nodes)
{
    CNodePointList list;
    for (const Node& n : nodes) list.AddTail(CNodePoint(n.x, n.y, n.kind));
    return list;
}

NodeVector FromNodes(const CNodePointList& list)
{
    NodeVector v;
    for (const CNodePoint& n : list) v.push_back({n.x, n.y, n.kind});
    return v;
}

// The tool passes a closed curve with its first node repeated at the end.
NodeVector Closed(NodeVector nodes)
{
    nodes.push_back(nodes.front());
    return nodes;
}

NodeVector Offset(const NodeVector& nodes, int closed, int distance)
{
    CNodePointList out;
    OffsetCurveNodes(ToNodes(nodes), closed, distance, out);
    return FromNodes(out);
}

CPointList Polyline(const NodeVector& nodes, int closed)
{
    CPointList out;
    BuildNodePolyline(ToNodes(nodes), closed, out);
    if (closed && !out.IsEmpty() && out.GetTail() != out.GetHead()) out.AddTail(CPoint(out.GetHead()));
    return out;
}

int CountCorners(const NodeVector& nodes)
{
    int count = 0;
    for (const Node& n : nodes) count += n.kind == C ? 1 : 0;
    return count;
}

// The largest and smallest distance of the offset's drawn points from the
// source's drawn outline.
void DistanceRange(const NodeVector& source, const NodeVector& offset, int closed, double& lo, double& hi)
{
    const CPointList outline = Polyline(source, closed);
    const CPointList drawn = Polyline(offset, closed);
    lo = 1e300;
    hi = 0.0;
    for (const CPoint& p : drawn) {
        const double d = DistancePointToPolyline(p.x, p.y, outline);
        lo = std::min(lo, d);
        hi = std::max(hi, d);
    }
}

// Crossings of segments that do not follow each other (on a closed
// polyline, which repeats its first point, the last segment follows on the
// first).
int SelfCrossings(const CPointList& points)
{
    const Points p = ToVector(points);
    const bool closed = p.size() > 2 && p.front() == p.back();
    int count = 0;
    for (std::size_t i = 0; i + 1 < p.size(); ++i)
        for (std::size_t j = i + 2; j + 1 < p.size(); ++j) {
            if (closed && i == 0 && j + 2 == p.size()) continue;
            if (p[i] == p[i + 1] || p[j] == p[j + 1]) continue;
            CPoint x;
            if (IntersectSegments(p[i].x, p[i].y, p[i + 1].x, p[i + 1].y, p[j].x, p[j].y, p[j + 1].x,
                                  p[j + 1].y, x) == 1)
                ++count;
        }
    return count;
}

// 12 smooth nodes on a circle of radius 1000 about (5000, 5000).
NodeVector SmoothCircle()
{
    NodeVector nodes;
    for (int i = 0; i < 12; ++i) {
        const double a = 6.28318530718 / 12 * i;
        nodes.push_back({5000 + RoundToInt(std::cos(a) * 1000), 5000 + RoundToInt(std::sin(a) * 1000), S});
    }
    return nodes;
}

} // namespace

// ---------------------------------------------------------------- corners only

TEST(OffsetCurveNodes, EmptyListGivesNothing)
{
    CNodePointList out{CNodePoint(1, 2, 0)};
    EXPECT_EQ(OffsetCurveNodes(CNodePointList(), 0, 100, out), 0);
    EXPECT_TRUE(out.IsEmpty());
    EXPECT_EQ(OffsetCurveNodes(CNodePointList(), 1, 100, out), 0);
}

TEST(OffsetCurveNodes, OpenCornersAreThePolylineOffset)
{
    struct Case {
        const char* name;
        NodeVector nodes;
        int distance;
        NodeVector expected;
    };
    const Case cases[] = {
        {"segment", {{0, 0, C}, {1000, 0, C}}, 100, {{0, -100, C}, {1000, -100, C}}},
        {"segment other side", {{0, 0, C}, {1000, 0, C}}, -100, {{0, 100, C}, {1000, 100, C}}},
        {"right angle outside", {{0, 0, C}, {1000, 0, C}, {1000, 1000, C}}, 100,
         {{0, -100, C}, {1100, -100, C}, {1100, 1000, C}}},
        {"right angle inside", {{0, 0, C}, {1000, 0, C}, {1000, 1000, C}}, -100,
         {{0, 100, C}, {900, 100, C}, {900, 1000, C}}},
        {"collinear node drops out", {{0, 0, C}, {500, 0, C}, {1000, 0, C}}, 50, {{0, -50, C}, {1000, -50, C}}},
        {"zero distance", {{0, 0, C}, {1000, 0, C}, {1000, 1000, C}}, 0,
         {{0, 0, C}, {1000, 0, C}, {1000, 1000, C}}},
    };
    for (const Case& c : cases) EXPECT_EQ(Offset(c.nodes, 0, c.distance), c.expected) << c.name;
}

TEST(OffsetCurveNodes, ClosedPolygonOffsetsEveryCornerWithoutRepeatingTheFirst)
{
    const NodeVector square = Closed({{0, 0, C}, {1000, 0, C}, {1000, 1000, C}, {0, 1000, C}});
    EXPECT_EQ(Offset(square, 1, 100), (NodeVector{{-100, -100, C}, {1100, -100, C}, {1100, 1100, C}, {-100, 1100, C}}));
    EXPECT_EQ(Offset(square, 1, -100), (NodeVector{{100, 100, C}, {900, 100, C}, {900, 900, C}, {100, 900, C}}));
    // Without the repeated first node it is the same ring.
    EXPECT_EQ(Offset({{0, 0, C}, {1000, 0, C}, {1000, 1000, C}, {0, 1000, C}}, 1, 100), Offset(square, 1, 100));
}

// ---------------------------------------------------------------- smooth runs

TEST(OffsetCurveNodes, SmoothRingStaysASmoothRingAtTheDistance)
{
    const NodeVector circle = Closed(SmoothCircle());
    for (int distance : {200, -200, 500}) {
        const NodeVector offset = Offset(circle, 1, distance);
        ASSERT_GE(offset.size(), 6u) << distance;
        EXPECT_EQ(CountCorners(offset), 0) << distance;
        EXPECT_NE(offset.front(), offset.back()) << "the first node is not repeated";
        for (const Node& n : offset) {
            const double r = std::hypot(n.x - 5000.0, n.y - 5000.0);
            // Refitted within 10 units; a circle's control points lie on it.
            EXPECT_NEAR(r, 1000.0 + distance, 12.0) << distance;
        }
        double lo = 0, hi = 0;
        DistanceRange(circle, offset, 1, lo, hi);
        EXPECT_NEAR(lo, std::abs(distance), 15.0);
        EXPECT_NEAR(hi, std::abs(distance), 15.0);
    }
}

TEST(OffsetCurveNodes, RingWithOneCornerKeepsOneCornerAtTheStart)
{
    // A drop: one corner at the top, the rest smooth.
    const NodeVector drops[] = {
        Closed({{5000, 3000, C}, {6000, 5000, S}, {5000, 6000, S}, {4000, 5000, S}}),
        // The corner elsewhere in the list: the result starts there.
        Closed({{6000, 5000, S}, {5000, 6000, S}, {4000, 5000, S}, {5000, 3000, C}}),
    };
    for (const NodeVector& drop : drops) {
        for (int distance : {100, -100}) {
            const NodeVector offset = Offset(drop, 1, distance);
            ASSERT_GE(offset.size(), 3u);
            EXPECT_EQ(CountCorners(offset), 1) << distance;
            EXPECT_EQ(offset.front().kind, C) << distance;
            // The corner is the mitre above (outside) or below (inside) the tip.
            EXPECT_EQ(offset.front().x, 5000) << distance;
            EXPECT_EQ(offset.front().y < 3000, distance > 0) << distance;
            double lo = 0, hi = 0;
            DistanceRange(drop, offset, 1, lo, hi);
            EXPECT_GT(lo, 100 - 15.0) << distance;
        }
    }
}

TEST(OffsetCurveNodes, OpenCurveWithSmoothStretchStartsAndEndsWithCorners)
{
    const NodeVector wave{{0, 0, C}, {1000, 600, S}, {2000, 0, S}, {3000, 600, S}, {4000, 0, C}};
    for (int distance : {100, -100}) {
        const NodeVector offset = Offset(wave, 0, distance);
        ASSERT_GE(offset.size(), 3u);
        EXPECT_EQ(offset.front().kind, C);
        EXPECT_EQ(offset.back().kind, C);
        EXPECT_EQ(CountCorners(offset), 2) << "one smooth run in between";
        double lo = 0, hi = 0;
        DistanceRange(wave, offset, 0, lo, hi);
        EXPECT_NEAR(lo, 100.0, 15.0);
        EXPECT_NEAR(hi, 100.0, 15.0);
    }
}

namespace {

// The offset nodes lying within `radius` of a point.
std::vector<Node> NodesNear(const NodeVector& nodes, int x, int y, double radius)
{
    std::vector<Node> near;
    for (const Node& n : nodes)
        if (std::hypot(double(n.x - x), double(n.y - y)) <= radius) near.push_back(n);
    return near;
}

} // namespace

TEST(OffsetCurveNodes, RunsMeetAtASharpCornerWithoutGap)
{
    // A straight run, then a smooth arc bulging downward, then straight again.
    const NodeVector shape{{0, 0, C}, {2000, 0, C}, {3000, 800, S}, {4000, 0, C}, {6000, 0, C}};
    for (int distance : {150, -150}) {
        const NodeVector offset = Offset(shape, 0, distance);
        // Where two runs meet, their offsets are extended to one corner
        // node instead of ending side by side.
        for (int x : {2000, 4000}) {
            const std::vector<Node> near = NodesNear(offset, x, 0, 2.5 * 150);
            ASSERT_EQ(near.size(), 1u) << distance << " at " << x;
            EXPECT_EQ(near[0].kind, C);
        }
        double lo = 0, hi = 0;
        DistanceRange(shape, offset, 0, lo, hi);
        // The join extends the straight offset to the chord toward the next
        // fitted node, which cuts a little into the distance at the corner.
        EXPECT_GT(lo, 150 * 0.7) << distance;
        EXPECT_LT(hi, 150 * 2.5) << distance;
        EXPECT_EQ(offset.front().kind, C);
        EXPECT_EQ(offset.back().kind, C);
    }
}

TEST(OffsetCurveNodes, ClosedRingOfRunsIsJoinedAtItsStartToo)
{
    // A half disc: a straight diameter and a smooth arc.
    const NodeVector half = Closed({{0, 0, C}, {2000, 0, C}, {1700, 700, S}, {1000, 1000, S}, {300, 700, S}});
    const NodeVector offset = Offset(half, 1, 100);
    ASSERT_GE(offset.size(), 4u);
    EXPECT_NE(offset.front(), offset.back());
    // One node at each end of the diameter, the start included.
    for (int x : {0, 2000}) EXPECT_EQ(NodesNear(offset, x, 0, 250).size(), 1u) << x;
    double lo = 0, hi = 0;
    DistanceRange(half, offset, 1, lo, hi);
    EXPECT_GT(lo, 100 - 15.0);
    EXPECT_LT(hi, 100 * 4.0);
}

// ---------------------------------------------------------------- loops

TEST(OffsetCurveNodes, InsideOfANarrowVLosesTheLoopBehindTheApex)
{
    // A narrow V with its apex at the bottom and a bend in each leg;
    // offsetting it inward by more than its half width at the bends makes
    // the legs cross.
    const NodeVector v{{0, 0, C}, {200, 1000, C}, {500, 2000, C}, {800, 1000, C}, {1000, 0, C}};
    const int inside = 400;
    CPointList raw;
    {
        CPointList path;
        for (const Node& n : v) path.AddTail(CPoint(n.x, n.y));
        OffsetPolyline(path, 0, inside, raw);
    }
    ASSERT_GT(SelfCrossings(raw), 0) << "the plain offset loops";

    const NodeVector offset = Offset(v, 0, inside);
    const CPointList drawn = Polyline(offset, 0);
    EXPECT_EQ(SelfCrossings(drawn), 0);
    EXPECT_LT(offset.size(), std::size_t(raw.GetCount()));
    // Nothing of the result lies below the legs' crossing.
    for (const Node& n : offset) EXPECT_LT(n.y, 2000) << n.x;
    EXPECT_EQ(offset.front().kind, C);
    EXPECT_EQ(offset.back().kind, C);
}

TEST(OffsetCurveNodes, StarOffsetInwardHasNoCrossings)
{
    // A five-pointed star with deep spikes.
    NodeVector star;
    for (int i = 0; i < 10; ++i) {
        const double a = 6.28318530718 / 10 * i;
        const double r = i % 2 ? 800.0 : 3000.0;
        star.push_back({5000 + RoundToInt(std::cos(a) * r), 5000 + RoundToInt(std::sin(a) * r), C});
    }
    for (int distance : {-150, 150, -400}) {
        const NodeVector offset = Offset(Closed(star), 1, distance);
        ASSERT_GE(offset.size(), 5u) << distance;
        EXPECT_EQ(SelfCrossings(Polyline(offset, 1)), 0) << distance;
        EXPECT_EQ(CountCorners(offset), int(offset.size())) << distance;
    }
}

TEST(OffsetCurveNodes, SelfCrossingCurveKeepsItsLargerLobe)
{
    // A figure eight crossing at (2000, 1000): a triangle on the left
    // (area 2,000,000) and a larger lobe on the right (4,000,000).
    const NodeVector eight =
        Closed({{0, 0, C}, {4000, 2000, C}, {5000, 2000, C}, {5000, 0, C}, {4000, 0, C}, {0, 2000, C}});
    const NodeVector offset = Offset(eight, 1, 0);
    EXPECT_EQ(offset, (NodeVector{{2000, 1000, C}, {4000, 2000, C}, {5000, 2000, C}, {5000, 0, C}, {4000, 0, C}}));
}

// ---------------------------------------------------------------- RemoveOffsetLoops

namespace {

struct Rec {
    int x, y;
};

CRunNodePointList Records(std::initializer_list<Rec> points)
{
    CRunNodePointList list;
    for (const Rec& r : points) list.AddTail(CRunNodePoint(r.x, r.y, S, 0));
    return list;
}

Points PointsOf(const CRunNodePointList& list)
{
    Points points;
    for (const CRunNodePoint& r : list) points.push_back(r.GetPoint());
    return points;
}

} // namespace

TEST(RemoveOffsetLoops, CasesTable)
{
    struct Case {
        const char* name;
        CRunNodePointList records;
        int closed;
        Points expected;
    };
    const Case cases[] = {
        {"fewer than four records", Records({{0, 0}, {1000, 0}, {0, 0}}), 0, {{0, 0}, {1000, 0}, {0, 0}}},
        // Neighbouring segments meet at their shared node; a sharp zigzag
        // has no loop and comes back as it was (and the scan ends).
        {"zigzag", Records({{0, 0}, {1000, 10}, {0, 20}, {1000, 30}, {0, 40}}), 0,
         {{0, 0}, {1000, 10}, {0, 20}, {1000, 30}, {0, 40}}},
        // A spike that runs back over itself encloses nothing: it goes.
        {"spike back on itself", Records({{0, 0}, {1000, 0}, {0, 0}, {0, 1000}}), 0, {{0, 0}, {0, 1000}}},
        // s0 and s2 cross at (800, 0): the small triangle goes.
        {"small loop", Records({{0, 0}, {1000, 0}, {800, 300}, {800, -300}, {2000, -300}}), 0,
         {{0, 0}, {800, 0}, {800, -300}, {2000, -300}}},
        // The same crossing where the loop is the larger part: it stays.
        {"large loop", Records({{0, 0}, {3000, 0}, {3000, 3000}, {800, 3000}, {800, -300}, {900, -300}}), 0,
         {{800, 0}, {3000, 0}, {3000, 3000}, {800, 3000}}},
        // A later segment starting on the scanned one closes a loop at
        // that end point, which is not inserted twice.
        {"touching end", Records({{0, 0}, {1000, 0}, {1000, 200}, {500, 200}, {500, 0}, {500, -1000}, {3000, -1000}}), 0,
         {{0, 0}, {500, 0}, {500, -1000}, {3000, -1000}}},
        // Closed: a fish tail where the last segment, back to the first
        // record, crosses the second one.
        {"closed fish tail", Records({{0, 0}, {2000, 0}, {2000, 2000}, {-200, 2000}, {0, 2300}}), 1,
         {{0, 0}, {2000, 0}, {2000, 2000}, {0, 2000}}},
    };
    for (const Case& c : cases) {
        CRunNodePointList records = c.records;
        RemoveOffsetLoops(records, c.closed);
        EXPECT_EQ(PointsOf(records), c.expected) << c.name;
    }
}

TEST(RemoveOffsetLoops, TheCrossingBecomesACorner)
{
    CRunNodePointList records = Records({{0, 0}, {1000, 0}, {800, 300}, {800, -300}, {2000, -300}});
    RemoveOffsetLoops(records, 0);
    ASSERT_EQ(records.GetCount(), 4);
    POSITION pos = records.FindIndex(1);
    EXPECT_EQ(records.GetAt(pos).GetPoint(), CPoint(800, 0));
    EXPECT_EQ(records.GetAt(pos).kind, C);
    EXPECT_EQ(records.GetHead().kind, S);
}

// ---------------------------------------------------------------- BuildNodePolyline

TEST(BuildNodePolyline, RunsAsTheCurveIsDrawn)
{
    struct Case {
        const char* name;
        NodeVector nodes;
        int closed;
        Points expected;
    };
    const Case cases[] = {
        {"empty", {}, 0, {}},
        {"single node", {{5, 6, C}}, 0, {{5, 6}}},
        {"corners", {{0, 0, C}, {100, 0, C}, {100, 100, C}}, 0, {{0, 0}, {100, 0}, {100, 100}}},
        // A ring of corners comes back to its first point.
        {"closed corners", Closed({{0, 0, C}, {100, 0, C}, {100, 100, C}}), 1, {{0, 0}, {100, 0}, {100, 100}, {0, 0}}},
        // The corner between two straight runs... there is one run; the
        // smooth node starts another that ends at the next corner, and
        // the junction stands in both.
    };
    for (const Case& c : cases) {
        CPointList out;
        EXPECT_EQ(BuildNodePolyline(ToNodes(c.nodes), c.closed, out), 1);
        EXPECT_EQ(ToVector(out), c.expected) << c.name;
    }
}

TEST(BuildNodePolyline, SmoothStretchIsTheSplineAndTheJunctionStandsTwice)
{
    const NodeVector nodes{{0, 0, C}, {1000, 0, C}, {2000, 800, S}, {3000, 0, C}};
    CPointList out{{-1, -1}};
    BuildNodePolyline(ToNodes(nodes), 0, out);
    CPointList spline;
    MakeSmoothCurve(CPointList{{1000, 0}, {2000, 800}, {3000, 0}}, 0, spline);
    Points expected{{-1, -1}, {0, 0}, {1000, 0}};
    for (const CPoint& p : spline) expected.push_back(p);
    EXPECT_EQ(ToVector(out), expected) << "appended after what was there";
}

TEST(BuildNodePolyline, SmoothRingIsAClosedSpline)
{
    const NodeVector circle = SmoothCircle();
    CPointList out;
    BuildNodePolyline(ToNodes(Closed(circle)), 1, out);
    ASSERT_GT(out.GetCount(), 24);
    for (const CPoint& p : out) EXPECT_NEAR(std::hypot(p.x - 5000.0, p.y - 5000.0), 1000.0, 15.0);
}
