#include "geometry/ShapePoints.h"

#include "geometry/Constants.h"
#include "geometry/Distance.h"
#include "geometry/Lines.h"

#include <cmath>

namespace {

constexpr double kDegreesPerRadian = 180.0 / Geo::kPi;

// The 45-degree step nearest the direction, 0 to 7.
int EighthOf(double radians)
{
    const int step = RoundToInt(radians * kDegreesPerRadian / 45.0);
    return ((step % 8) + 8) % 8;
}

} // namespace

void RegularPolygonPoints(const CPoint& centre, double radius, int sides, double angle, CPointList& out)
{
    if (sides < 3) return;
    for (int i = 0; i < sides; ++i) {
        const double a = Geo::kTwoPi / sides * i + angle;
        out.AddTail(CPoint(centre.x + RoundToInt(std::cos(a) * radius),
                           centre.y + RoundToInt(std::sin(a) * radius)));
    }
}

void CircleControlPoints(const CPoint& centre, double radius, CPointList& out)
{
    for (int i = 0; i < kCircleNodeCount; ++i) {
        const double a = Geo::kTwoPi / kCircleNodeCount * i;
        out.AddTail(CPoint(centre.x + RoundToInt(std::cos(a) * radius),
                           centre.y + RoundToInt(std::sin(a) * radius)));
    }
}

bool EllipseControlPoints(const CPoint& a, const CPoint& b, double scale, CPointList& out)
{
    const double cx = (double(a.x) + b.x - scale) / 2.0;
    const double cy = (double(a.y) + b.y - scale) / 2.0;
    const double semiX = (std::fabs(double(a.x) - b.x) - scale) / 2.0;
    const double semiY = (std::fabs(double(a.y) - b.y) - scale) / 2.0;
    if (!(semiX > 0.0) || !(semiY > 0.0)) return false;
    for (int i = 0; i < kEllipseNodeCount; ++i) {
        const double t = Geo::kTwoPi / kEllipseNodeCount * i;
        out.AddTail(CPoint(RoundToInt(std::cos(t) * semiX + cx), RoundToInt(std::sin(t) * semiY + cy)));
    }
    return true;
}

double SnapAngleToEighth(double radians)
{
    double degrees = RoundToInt(radians * kDegreesPerRadian / 45.0) * 45.0;
    while (degrees >= 360.0) degrees -= 360.0;
    while (degrees < -359.0) degrees += 360.0;
    return degrees / 180.0 * Geo::kPi;
}

CPoint ConstrainToEighths(const CPoint& start, const CPoint& mouse)
{
    const int eighth = EighthOf(LineAngle(start.x, start.y, mouse.x, mouse.y));
    CPoint end;
    switch (eighth) {
    case 0:
    case 4: return CPoint(mouse.x, start.y);
    case 2:
    case 6: return CPoint(start.x, mouse.y);
    case 1:
    case 5:
        // The diagonal x - y = x0 - y0.
        PerpendicularFootToLine(mouse.x, mouse.y, 1.0, -1.0, -(double(start.x) - start.y), end);
        return end;
    default:
        // The diagonal x + y = x0 + y0.
        PerpendicularFootToLine(mouse.x, mouse.y, 1.0, 1.0, -(double(start.x) + start.y), end);
        return end;
    }
}
