#include "geometry/PolylineReduction.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

namespace {

std::vector<CDoublePoint> Simplified(const CPointList& points, double tolerance = 0.5)
{
    return SimplifyPolyline(points, 1.0, 0.0, 0.0, tolerance, 100000);
}

// Distance from p to the segment a-b.
double DistanceToSegment(const CDoublePoint& p, const CDoublePoint& a, const CDoublePoint& b)
{
    const double dx = b.x - a.x, dy = b.y - a.y, length2 = dx * dx + dy * dy;
    double t = length2 > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / length2 : 0;
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(p.x - a.x - t * dx, p.y - a.y - t * dy);
}

double DistanceToPath(const CDoublePoint& p, const std::vector<CDoublePoint>& path)
{
    double best = std::hypot(p.x - path.front().x, p.y - path.front().y);
    for (std::size_t i = 1; i < path.size(); ++i) best = std::min(best, DistanceToSegment(p, path[i - 1], path[i]));
    return best;
}

std::vector<CDoublePoint> Points(std::initializer_list<CDoublePoint> points)
{
    return points;
}

} // namespace

TEST(SimplifyPolyline, KeepsWhatAPixelGridCanTellApart)
{
    CPointList alongALine, backAndForth, stairs;
    for (int i = 0; i <= 1000; ++i) alongALine.AddTail(CPoint(i, 2 * i));
    for (int i = 0; i < 1001; ++i) backAndForth.AddTail(i % 2 ? CPoint(300, 0) : CPoint(0, 0));
    backAndForth.AddTail(CPoint(100, 0));
    for (int i = 0; i < 6; ++i) stairs.AddTail(CPoint((i + 1) / 2 * 10, i / 2 * 10));
    struct Case {
        const char* what;
        CPointList points;
        std::vector<CDoublePoint> kept;
        double tolerance = 0.5;
    };
    const Case cases[] = {
        {"nothing", {}, {}},
        {"one point", {CPoint(4, 5)}, Points({{4, 5}})},
        {"a run along a line: its ends", alongALine, Points({{0, 0}, {1000, 2000}})},
        {"back and forth along a line: the first, the farthest and the last point", backAndForth,
         Points({{0, 0}, {300, 0}, {100, 0}})},
        {"a point off the line by less than the tolerance", {CPoint(0, 0), CPoint(50, 1), CPoint(100, 0)},
         Points({{0, 0}, {100, 0}}), 4.5},
        {"a point off the line by more", {CPoint(0, 0), CPoint(50, 10), CPoint(100, 0)},
         Points({{0, 0}, {50, 10}, {100, 0}}), 4.5},
        {"repeated points", {CPoint(0, 0), CPoint(0, 0), CPoint(7, 7), CPoint(7, 7)}, Points({{0, 0}, {7, 7}})},
        {"corners", stairs, Points({{0, 0}, {10, 0}, {10, 10}, {20, 10}, {20, 20}, {30, 20}})},
        {"a closed outline stays closed",
         {CPoint(0, 0), CPoint(5, 0), CPoint(10, 0), CPoint(10, 10), CPoint(0, 10), CPoint(0, 0)},
         Points({{0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}})},
    };
    for (const Case& c : cases) EXPECT_EQ(Simplified(c.points, c.tolerance), c.kept) << c.what;
}

TEST(SimplifyPolyline, MapsThePointsToTheDevice)
{
    const CPointList points{CPoint(0, 0), CPoint(10, 0), CPoint(20, 0), CPoint(20, 40)};
    EXPECT_EQ(SimplifyPolyline(points, 0.5, 3.0, -1.0, 0.1, 10), Points({{3, -1}, {13, -1}, {13, 19}}));
}

// Every point dropped lies within the tolerance of the path kept, for
// paths that wander at random, at every scale of their steps.
TEST(SimplifyPolyline, EveryDroppedPointLiesWithinTheToleranceOfThePathKept)
{
    std::mt19937 random(7);
    for (int step : {1, 3, 40}) {
        std::uniform_int_distribution<int> move(-step, step);
        CPointList points;
        CPoint at(0, 0);
        for (int i = 0; i < 2000; ++i) {
            points.AddTail(at);
            at.x += move(random) + step / 2;
            at.y += move(random);
        }
        const double tolerance = 1.5;
        const std::vector<CDoublePoint> kept = Simplified(points, tolerance);
        EXPECT_EQ(kept.front(), CDoublePoint(points.GetHead().x, points.GetHead().y));
        EXPECT_EQ(kept.back(), CDoublePoint(points.GetTail().x, points.GetTail().y));
        double farthest = 0;
        for (const CPoint& p : points) farthest = std::max(farthest, DistanceToPath(CDoublePoint(p.x, p.y), kept));
        EXPECT_LE(farthest, tolerance) << step;
    }
}

// A path that turns at every point keeps evenly spaced ones of its points,
// never more than asked for and no fewer than half as many, with its ends.
TEST(SimplifyPolyline, KeepsNoMoreThanAskedFor)
{
    CPointList zigzag;
    for (int i = 0; i < 100001; ++i) zigzag.AddTail(CPoint(i, i % 2 * 10));
    for (std::size_t most : {2u, 3u, 100u, 1000u}) {
        const std::vector<CDoublePoint> kept = SimplifyPolyline(zigzag, 1.0, 0.0, 0.0, 0.5, most);
        EXPECT_LE(kept.size(), most + 1) << most;
        EXPECT_GE(kept.size(), most / 2) << most;
        EXPECT_EQ(kept.front(), CDoublePoint(0, 0));
        EXPECT_EQ(kept.back(), CDoublePoint(100000, 0));
        const double spacing = 100000.0 / double(kept.size() - 1);
        for (std::size_t i = 1; i + 1 < kept.size(); ++i) EXPECT_NEAR(kept[i].x - kept[i - 1].x, spacing, spacing);
    }
}

TEST(ThinPolyline, KeepsEvenlySpacedPointsWithBothEnds)
{
    std::vector<CDoublePoint> points;
    for (int i = 0; i < 1001; ++i) points.emplace_back(i, 0);
    ThinPolyline(points, 11);
    ASSERT_EQ(points.size(), 11u);
    for (int i = 0; i < 11; ++i) EXPECT_EQ(points[std::size_t(i)], CDoublePoint(100 * i, 0));
    ThinPolyline(points, 20);
    EXPECT_EQ(points.size(), 11u);
    ThinPolyline(points, 0);
    EXPECT_EQ(points, Points({{0, 0}, {1000, 0}}));
}
