#include "geometry/Reflection.h"

#include "geometry/Constants.h"
#include "geometry/Distance.h"
#include "geometry/Lines.h"

#include <cmath>

namespace {

// Far enough from the centre that rounding the point to whole units moves
// the direction by well under a hundredth of a degree.
constexpr double kDirectionLength = 100000.0;

} // namespace

double MirrorAngleDegrees(double degrees, const CPoint& centre, const CPoint& axis1, const CPoint& axis2)
{
    if (axis1 == axis2) return degrees;
    const double radians = degrees * Geo::kPi / 180.0;
    const CPoint along(RoundToInt(centre.x + kDirectionLength * std::cos(radians)),
                       RoundToInt(centre.y + kDirectionLength * std::sin(radians)));
    CPoint c;
    CPoint p;
    MirrorPointAcrossPoints(centre.x, centre.y, axis1.x, axis1.y, axis2.x, axis2.y, c);
    MirrorPointAcrossPoints(along.x, along.y, axis1.x, axis1.y, axis2.x, axis2.y, p);
    return LineAngle(c.x, c.y, p.x, p.y) * 180.0 / Geo::kPi;
}
