// The scan a line fill is laid out with: the crossings of each line and the
// inside tests of its stretches give exactly what the plain functions over
// the whole outline give, and cost what the lines meet, not the length of
// the outline.
#include "geometry/CLineFamilyCrossings.h"
#include "geometry/CPolygonRows.h"
#include "geometry/Lines.h"
#include "geometry/Offset.h"
#include "geometry/Polyline.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <string>
#include <vector>

namespace {

constexpr double kPi = 3.14159265359;

struct Outline {
    const char* name;
    CPointList points;
};

CPointList Closed(std::initializer_list<CPoint> points)
{
    CPointList list(points);
    list.AddTail(list.GetHead());
    return list;
}

// A circle of many corners about (cx, cy), closed.
CPointList Circle(int cx, int cy, int radius, int corners)
{
    CPointList list;
    for (int i = 0; i <= corners; ++i) {
        const double t = 2.0 * kPi * (i % corners) / corners;
        list.AddTail(CPoint(cx + int(std::lround(radius * std::cos(t))), cy + int(std::lround(radius * std::sin(t)))));
    }
    return list;
}

std::vector<Outline> OrdinaryOutlines()
{
    return {
        {"square", Closed({{0, 0}, {1000, 0}, {1000, 1000}, {0, 1000}})},
        {"diamond", Closed({{500, 0}, {1000, 500}, {500, 1000}, {0, 500}})},
        {"notched", Closed({{0, 0}, {300, 0}, {300, 700}, {700, 700}, {700, 0}, {1000, 0}, {1000, 1000}, {0, 1000}})},
        {"star crossing itself", Closed({{500, 0}, {800, 1000}, {0, 350}, {1000, 350}, {200, 1000}})},
        {"repeated and collinear points",
         Closed({{0, 0}, {0, 0}, {400, 0}, {1000, 0}, {1000, 600}, {1000, 600}, {1000, 1000}, {0, 1000}})},
        {"circle", Circle(5000, 4000, 3000, 360)},
        {"open end", CPointList{{0, 0}, {1000, 200}, {700, 900}, {100, 800}}},
    };
}

struct Family {
    double angle;
    CPoint origin;
    int spacing;
};

const Family kFamilies[] = {
    {0.0, {0, 0}, 100},   {0.0, {0, 350}, 50},  {30.0, {17, 3}, 70},  {45.0, {0, 0}, 100},
    {90.0, {0, 0}, 125},  {135.0, {500, 0}, 71}, {200.0, {3, 9}, 37}, {-60.0, {0, 0}, 90},
};

// The family's lines over the outline's bounds, in increasing order of c,
// as the line fill lays them out.
std::vector<double> LineConstants(const CPointList& outline, double a, double b, const Family& f)
{
    const CRect r = PolylineBoundRect(outline);
    const double corners[4] = {-a * r.left - b * r.top, -a * r.right - b * r.top, -a * r.right - b * r.bottom,
                               -a * r.left - b * r.bottom};
    const double c0 = -a * f.origin.x - b * f.origin.y;
    const double step = f.spacing;
    const double low = *std::min_element(corners, corners + 4);
    const double high = *std::max_element(corners, corners + 4);
    std::vector<double> constants;
    for (double c = c0 + std::floor((low - c0) / step) * step - step; c <= high + step; c += step)
        constants.push_back(c);
    return constants;
}

std::vector<CPoint> Points(const CPointList& list)
{
    return std::vector<CPoint>(list.begin(), list.end());
}

} // namespace

// Every line of every family over ordinary outlines: the same crossings in
// the same order, and the same inside answer at each stretch's middle and
// at the crossings themselves, where the rules for points on the outline
// decide.
TEST(LineFamilyScan, GivesWhatTheWholeOutlineGives)
{
    for (const Outline& outline : OrdinaryOutlines()) {
        CPolygonRows rows(outline.points);
        for (const Family& f : kFamilies) {
            SCOPED_TRACE(std::string(outline.name) + " at " + std::to_string(f.angle));
            const double theta = f.angle * kPi / 180.0;
            const double a = -std::sin(theta);
            const double b = std::cos(theta);
            CLineFamilyCrossings scan(outline.points, a, b);
            int lines = 0;
            for (const double c : LineConstants(outline.points, a, b, f)) {
                CPointList expected;
                const int count = LineEquationPolylineIntersections(a, b, c, outline.points, expected);
                CPointList found;
                ASSERT_EQ(scan.Crossings(c, found), count) << c;
                ASSERT_EQ(Points(found), Points(expected)) << c;
                lines += count > 0;
                const std::vector<CPoint> p = Points(found);
                for (std::size_t i = 0; i < p.size(); ++i) {
                    const CPoint& q = p[(i + 1) % p.size()];
                    const CPoint middle((p[i].x + q.x) / 2, (p[i].y + q.y) / 2);
                    for (const CPoint& t : {p[i], middle}) {
                        EXPECT_EQ(rows.Contains(t.x, t.y), IsPointInPolyline(t.x, t.y, outline.points) != 0)
                            << t.x << "," << t.y;
                    }
                }
            }
            EXPECT_GT(lines, 0);
        }
    }
}

// Points all over and around the outlines, corners and edges included.
TEST(LineFamilyScan, InsideTestsAgreeEverywhere)
{
    for (const Outline& outline : OrdinaryOutlines()) {
        SCOPED_TRACE(outline.name);
        CPolygonRows rows(outline.points);
        const CRect r = PolylineBoundRect(outline.points);
        const int stepX = std::max(1, r.Width() / 97);
        const int stepY = std::max(1, r.Height() / 89);
        for (int y = r.top - 2 * stepY; y <= r.bottom + 2 * stepY; y += stepY)
            for (int x = r.left - 2 * stepX; x <= r.right + 2 * stepX; x += stepX)
                ASSERT_EQ(rows.Contains(x, y), IsPointInPolyline(x, y, outline.points) != 0) << x << "," << y;
        for (const CPoint& p : outline.points)
            EXPECT_EQ(rows.Contains(p.x, p.y), IsPointInPolyline(p.x, p.y, outline.points) != 0) << p.x << "," << p.y;
    }
    // Too few distinct points make no outline.
    CPolygonRows line(CPointList{{0, 0}, {10, 10}, {0, 0}});
    EXPECT_FALSE(line.Contains(5, 5));
    CPolygonRows none{CPointList()};
    EXPECT_FALSE(none.Contains(0, 0));
}

// A dense outline (a circle of 20,000 corners) with one corner pulled out
// to the far end of the coordinates: thousands of lines cross it, yet each
// looks at the few edges it meets, not at all 20,000. Looking at every edge
// for every line, as the plain functions do, would take 20,000 times the
// lines.
TEST(LineFamilyScan, WorkIsBoundedByWhatTheLinesMeet)
{
    CPointList outline = Circle(0, 0, 100000, 20000);
    outline.InsertAfter(outline.FindIndex(5000), CPoint(INT_MAX, INT_MAX / 2));
    const double a = -std::sin(100.0 * kPi / 180.0);
    const double b = std::cos(100.0 * kPi / 180.0);
    CLineFamilyCrossings scan(outline, a, b);
    CPolygonRows rows(outline);
    long long crossings = 0;
    long long stretches = 0;
    int lines = 0;
    const Family f{100.0, {0, 0}, 100000};
    for (const double c : LineConstants(outline, a, b, f)) {
        CPointList found;
        crossings += scan.Crossings(c, found);
        const std::vector<CPoint> p = Points(found);
        for (std::size_t i = 0; i + 1 < p.size(); ++i, ++stretches)
            rows.Contains(int((double(p[i].x) + p[i + 1].x) / 2), int((double(p[i].y) + p[i + 1].y) / 2));
        ++lines;
    }
    ASSERT_GT(lines, 10000);
    EXPECT_GT(crossings, 3LL * lines / 2);
    // A few edges per line, and a descent of the row tree per stretch to
    // the edges on its row.
    EXPECT_LT(scan.Tested(), 4LL * lines);
    EXPECT_LT(rows.Tested(), 64LL * (stretches + 1));
}
