// The smooth curve, the deviation search and the curve fitting were made
// faster; they must give the very points they gave before. Each test feeds
// a few hundred random inputs of the shapes the program meets (control
// polylines, strokes, offsets of smooth runs, outlines) to both the current
// functions and the earlier ones kept in ReferenceCurveFit.h.
#include "tests/geometry/PointTestSupport.h"
#include "tests/geometry/ReferenceCurveFit.h"

#include "geometry/Distance.h"
#include "geometry/Offset.h"
#include "geometry/Spline.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>

namespace {

using namespace ReferenceCurveFit;

const double kPi = std::acos(-1.0);

class RandomShapes {
public:
    explicit RandomShapes(unsigned seed) : m_rng(seed) {}

    int Int(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(m_rng); }
    double Real(double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(m_rng); }

    // A walk of `count` points with steps from a few units to a few metres
    // and turns of any size, sometimes standing still (a repeated point).
    CPointList Walk(int count)
    {
        CPointList points;
        double x = Real(-1e5, 1e5), y = Real(-1e5, 1e5);
        double heading = Real(0, 2 * kPi);
        const double scale = std::pow(10.0, Real(1.0, 4.5));
        for (int i = 0; i < count; ++i) {
            points.AddTail(CPoint(RoundToInt(x), RoundToInt(y)));
            if (Int(0, 30) == 0) continue;
            heading += Real(-2.5, 2.5);
            const double step = scale * Real(0.05, 1.0);
            x += step * std::cos(heading);
            y += step * std::sin(heading);
        }
        return points;
    }

    // A dense stroke: a sum of two waves along a line, sampled every few
    // units, with a little hand tremor.
    CPointList Stroke()
    {
        const int count = Int(20, 400);
        const double spacing = Real(2.0, 60.0);
        const double a1 = Real(0, 4000), w1 = Real(200, 20000);
        const double a2 = Real(0, 800), w2 = Real(50, 3000);
        const double tremor = Real(0, 3);
        const double turn = Real(0, 2 * kPi);
        const double c = std::cos(turn), s = std::sin(turn);
        CPointList points;
        for (int i = 0; i < count; ++i) {
            const double u = i * spacing;
            const double v = a1 * std::sin(2 * kPi * u / w1) + a2 * std::sin(2 * kPi * u / w2) + Real(-tremor, tremor);
            points.AddTail(CPoint(RoundToInt(u * c - v * s), RoundToInt(u * s + v * c)));
        }
        return points;
    }

    // A closed blob: a wobbly circle, the first point not repeated.
    CPointList Blob()
    {
        const int count = Int(12, 500);
        const double radius = Real(200, 50000);
        const double wobble = Real(0, 0.4) * radius;
        const int lobes = Int(1, 7);
        const double phase = Real(0, 2 * kPi);
        CPointList points;
        for (int i = 0; i < count; ++i) {
            const double a = 2 * kPi * i / count;
            const double r = radius + wobble * std::sin(lobes * a + phase);
            points.AddTail(CPoint(RoundToInt(r * std::cos(a)), RoundToInt(r * std::sin(a))));
        }
        return points;
    }

    // The offset of the spline through a few random nodes: what the offset
    // line refits, loops at tight bends included.
    CPointList OffsetOfSmoothRun()
    {
        CPointList nodes = Walk(Int(3, 14));
        CPointList dense;
        MakeSmoothCurve(nodes, 0, dense);
        CPointList offset;
        OffsetPolyline(dense, 0, Int(-2000, 2000), offset);
        return offset;
    }

private:
    std::mt19937 m_rng;
};

std::string Describe(const CPointList& points)
{
    std::string text;
    for (const CPoint& p : points) text += "{" + std::to_string(p.x) + "," + std::to_string(p.y) + "},";
    return text;
}

TEST(CurveFitAgreement, SmoothCurvesAreUnchanged)
{
    RandomShapes shapes(101);
    for (int i = 0; i < 400; ++i) {
        CPointList control = shapes.Walk(shapes.Int(2, 40));
        const int closed = i % 3 == 0 ? 1 : 0;
        if (closed) control.AddTail(CPoint(control.GetHead()));
        const double flatness = i % 5 == 0 ? shapes.Real(0.0, 30.0) : 0.5;
        CPointList expected, actual;
        const int expectedResult = OldCubicSplineCurve(control, closed, flatness, expected);
        ASSERT_EQ(CubicSplineCurve(control, closed, flatness, actual), expectedResult) << Describe(control);
        ASSERT_EQ(ToVector(actual), ToVector(expected)) << closed << " " << flatness << " " << Describe(control);

        OldMakeSmoothCurve(control, closed, expected);
        MakeSmoothCurve(control, closed, actual);
        ASSERT_EQ(ToVector(actual), ToVector(expected)) << closed << " " << Describe(control);
    }
}

TEST(CurveFitAgreement, DeviationsAreUnchanged)
{
    // A stroke against the curve fitted to it, against a shifted copy, and
    // against an unrelated walk; either way round.
    RandomShapes shapes(202);
    for (int i = 0; i < 300; ++i) {
        const CPointList stroke = i % 2 ? shapes.Stroke() : shapes.OffsetOfSmoothRun();
        CPointList other;
        switch (i % 3) {
        case 0: {
            CPointList control;
            OldFitCurveControlPoints(stroke, shapes.Real(1, 200), control);
            OldMakeSmoothCurve(control, 0, other);
            break;
        }
        case 1: {
            const int dx = shapes.Int(-300, 300), dy = shapes.Int(-300, 300);
            for (const CPoint& p : stroke) other.AddTail(CPoint(p.x + dx, p.y + dy));
            break;
        }
        default:
            other = shapes.Walk(shapes.Int(1, 300));
            break;
        }
        for (const bool swap : {false, true}) {
            const CPointList& a = swap ? other : stroke;
            const CPointList& b = swap ? stroke : other;
            double expected = -1, actual = -2;
            const CPoint expectedPoint = OldMaxCurveDeviation(a, b, expected);
            const CPoint actualPoint = MaxCurveDeviation(a, b, actual);
            ASSERT_EQ(actualPoint, expectedPoint) << i << " " << swap;
            ASSERT_EQ(actual, expected) << i << " " << swap;
        }
    }
}

TEST(CurveFitAgreement, FittedControlPointsAreUnchanged)
{
    RandomShapes shapes(303);
    const double tolerances[] = {0.0, 2.0, 10.0, 10.0, 60.0, 1000.0};
    for (int i = 0; i < 300; ++i) {
        const CPointList stroke = i % 2 ? shapes.Stroke() : shapes.OffsetOfSmoothRun();
        const double tolerance = tolerances[i % 6];
        CPointList start;
        // Now and then a start set: a point of the stroke.
        if (i % 7 == 0 && stroke.GetCount() > 4) start.AddTail(ToVector(stroke)[stroke.GetCount() / 3]);
        CPointList expected(start), actual(start);
        const int expectedResult = OldFitCurveControlPoints(stroke, tolerance, expected);
        ASSERT_EQ(FitCurveControlPoints(stroke, tolerance, actual), expectedResult);
        ASSERT_EQ(ToVector(actual), ToVector(expected)) << i << " " << tolerance << " " << Describe(stroke);
    }
}

TEST(CurveFitAgreement, ClosedFitsAndSimplifiedStrokesAreUnchanged)
{
    RandomShapes shapes(404);
    for (int i = 0; i < 200; ++i) {
        const CPointList blob = shapes.Blob();
        const double tolerance = i % 4 == 0 ? 1.0 : shapes.Real(2, 300);
        CPointList expected, actual;
        const int expectedResult = OldFitClosedCurveControlPoints(blob, tolerance, expected);
        ASSERT_EQ(FitClosedCurveControlPoints(blob, tolerance, actual), expectedResult);
        ASSERT_EQ(ToVector(actual), ToVector(expected)) << i << " " << tolerance << " " << Describe(blob);

        const CPointList stroke = shapes.Stroke();
        OldSimplifyToSmoothCurve(stroke, expected);
        SimplifyToSmoothCurve(stroke, actual);
        ASSERT_EQ(ToVector(actual), ToVector(expected)) << i << " " << Describe(stroke);
    }
}

} // namespace
