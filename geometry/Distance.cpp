#include "geometry/Distance.h"

#include "geometry/Constants.h"
#include "geometry/Lines.h"

#include <cmath>
#include <cstdlib>
#include <utility>

int RoundToInt(double v)
{
    // A NaN has no nearest integer; converting it would be undefined.
    if (std::isnan(v)) return 0;
    const double w = v >= 0.0 ? v + 0.5 : v - 0.5;
    // The saturation values stay one short of the int range on purpose:
    // stored coordinates were produced with these bounds.
    if (w > 0 && w > 2147483647.0) return 2147483646;
    if (w < 0 && w < -2147483648.0) return -2147483647;
    return static_cast<int>(w);
}

int PointDistance(int x1, int y1, int x2, int y2, double& distance)
{
    const double dx = double(x2) - double(x1);
    const double dy = double(y2) - double(y1);
    distance = std::sqrt(dx * dx + dy * dy);
    return RoundToInt(distance);
}

int PointDistanceRounded(int x1, int y1, int x2, int y2)
{
    double distance = 0.0;
    return PointDistance(x1, y1, x2, y2, distance);
}

double LineAngleXY(int x1, int y1, int x2, int y2)
{
    if (x1 == x2 && y1 == y2) return 0.0;
    if (x1 == x2) return y1 < y2 ? Geo::kHalfPi : Geo::kThreeHalfPi;
    if (y1 == y2) return x1 < x2 ? 0.0 : Geo::kPi;
    const double dx = double(x2) - double(x1);
    const double dy = double(y2) - double(y1);
    const double theta = std::atan(dy / dx);
    if (dx < 0) return theta + Geo::kPi;
    if (dy < 0) return theta + Geo::kTwoPi;
    return theta;
}

double LineAngle(int x1, int y1, int x2, int y2)
{
    return LineAngleXY(x1, y1, x2, y2);
}

double AngleBetweenLines(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
{
    const double a1 = LineAngle(x1, y1, x2, y2);
    double a2 = LineAngle(x3, y3, x4, y4);
    if (a2 < a1) a2 += Geo::kTwoPi;
    return a2 - a1;
}

double DistancePointToLineEquation(int x, int y, double a, double b, double c)
{
    const double n = a * a + b * b;
    if (n > Geo::kTinyDouble) return std::fabs(a * x + b * y + c) / std::sqrt(n);
    return 0.0;
}

double DistancePointToLine(int x, int y, int x1, int y1, int x2, int y2)
{
    double a = 0.0, b = 0.0, c = 0.0;
    LineThroughPoints(x1, y1, x2, y2, a, b, c);
    return DistancePointToLineEquation(x, y, a, b, c);
}

double DistancePointToSegment(int x, int y, int x1, int y1, int x2, int y2)
{
    CPoint foot;
    PerpendicularFoot(x, y, x1, y1, x2, y2, foot);
    if (IsPointInSegmentBox(foot.x, foot.y, x1, y1, x2, y2))
        return DistancePointToLine(x, y, x1, y1, x2, y2);
    double d1 = 0.0, d2 = 0.0;
    PointDistance(x, y, x1, y1, d1);
    PointDistance(x, y, x2, y2, d2);
    return d1 < d2 ? d1 : d2;
}

double DistancePointToPolyline(int x, int y, const CPointList& list)
{
    double best = Geo::kLargestDouble;
    POSITION pos = list.GetHeadPosition();
    if (!pos) return best;
    CPoint prev = list.GetNext(pos);
    while (pos) {
        const CPoint& p = list.GetNext(pos);
        const double d = DistancePointToSegment(x, y, prev.x, prev.y, p.x, p.y);
        if (d < best) best = d;
        prev = p;
    }
    return best;
}

int IsPointInSegmentBox(int x, int y, int x1, int y1, int x2, int y2)
{
    const bool inX = x1 <= x2 ? (x1 <= x && x <= x2) : (x2 <= x && x <= x1);
    const bool inY = y1 <= y2 ? (y1 <= y && y <= y2) : (y2 <= y && y <= y1);
    return inX && inY ? 1 : 0;
}

int Gcd(int a, int b)
{
    if (a == 0 || b == 0) return 1;
    // Work on magnitudes in 64 bits: negative arguments would otherwise give
    // a negative divisor, and INT_MIN % -1 traps.
    long long p = std::llabs(static_cast<long long>(a));
    long long q = std::llabs(static_cast<long long>(b));
    if (p >= q) std::swap(p, q);
    long long r = q % p;
    while (r != 0) {
        q = p;
        p = r;
        r = q % p;
    }
    return static_cast<int>(p);
}
