#include "geometry/Arcs.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kSmallestChord = 0.36;
constexpr double kLargestChord = 180.0;

double Radians(double degrees)
{
    return degrees * kPi / 180.0;
}

} // namespace

double HpglLineAngle(const CDoublePoint& a, const CDoublePoint& b)
{
    return std::atan2(b.y - a.y, b.x - a.x);
}

double HpglDistance(const CDoublePoint& a, const CDoublePoint& b)
{
    return std::hypot(b.x - a.x, b.y - a.y);
}

bool HpglPointsCollinear(const CDoublePoint& p, const CDoublePoint& q, const CDoublePoint& r)
{
    const bool firstVertical = q.x == p.x;
    const bool secondVertical = r.x == q.x;
    if (firstVertical && secondVertical) return true;
    if (firstVertical || secondVertical) return false;
    return (q.y - p.y) / (q.x - p.x) == (r.y - q.y) / (r.x - q.x);
}

std::vector<CDoublePoint> ArcChordPoints(const CDoublePoint& centre, const CDoublePoint& start,
                                         double sweepDegrees, double chordDegrees)
{
    std::vector<CDoublePoint> points{start};
    const double radius = HpglDistance(centre, start);
    if (!std::isfinite(sweepDegrees) || sweepDegrees == 0.0 || !(radius > 0.0) || !std::isfinite(radius))
        return points;
    const double full = std::min(std::fabs(sweepDegrees), 360.0);
    const double sweep = sweepDegrees < 0 ? -full : full;
    const double chord = std::isfinite(chordDegrees) ? std::clamp(std::fabs(chordDegrees), kSmallestChord, kLargestChord)
                                                     : 5.0;
    const int steps = std::max(1, int(std::ceil(full / chord - 1e-9)));
    const double a0 = HpglLineAngle(centre, start);
    const double step = Radians(sweep) / steps;
    points.reserve(std::size_t(steps) + 1);
    for (int i = 1; i < steps; ++i) {
        const double a = a0 + step * i;
        points.emplace_back(centre.x + radius * std::cos(a), centre.y + radius * std::sin(a));
    }
    if (full >= 360.0)
        points.push_back(start);
    else
        points.emplace_back(centre.x + radius * std::cos(a0 + Radians(sweep)),
                            centre.y + radius * std::sin(a0 + Radians(sweep)));
    return points;
}

double ChordAngleForDeviation(double radius, double deviation)
{
    if (!(radius > 0.0) || !(deviation > 0.0) || deviation >= radius) return kLargestChord;
    return 2.0 * std::acos(1.0 - deviation / radius) * 180.0 / kPi;
}

bool CircleThroughPoints(const CDoublePoint& a, const CDoublePoint& b, const CDoublePoint& c, CDoublePoint& centre)
{
    const double bx = b.x - a.x, by = b.y - a.y;
    const double cx = c.x - a.x, cy = c.y - a.y;
    const double d = 2.0 * (bx * cy - by * cx);
    const double scale = std::max({std::fabs(bx), std::fabs(by), std::fabs(cx), std::fabs(cy)});
    if (!std::isfinite(d) || std::fabs(d) <= 1e-12 * scale * scale) return false;
    const double b2 = bx * bx + by * by;
    const double c2 = cx * cx + cy * cy;
    centre = CDoublePoint(a.x + (cy * b2 - by * c2) / d, a.y + (bx * c2 - cx * b2) / d);
    return std::isfinite(centre.x) && std::isfinite(centre.y);
}

std::vector<CDoublePoint> ArcThroughPoints(const CDoublePoint& p, const CDoublePoint& q, const CDoublePoint& r,
                                           double chordDegrees)
{
    CDoublePoint centre;
    if (!CircleThroughPoints(p, q, r, centre)) return {};
    // Turning counter-clockwise from p, r comes after q exactly when the
    // three points run counter-clockwise.
    const double cross = (q.x - p.x) * (r.y - p.y) - (q.y - p.y) * (r.x - p.x);
    auto ccw = [](double from, double to) {
        double d = to - from;
        while (d < 0) d += 2 * kPi;
        while (d >= 2 * kPi) d -= 2 * kPi;
        return d;
    };
    const double a0 = HpglLineAngle(centre, p);
    const double a2 = HpglLineAngle(centre, r);
    double sweep = ccw(a0, a2);
    if (cross < 0) sweep -= 2 * kPi;
    std::vector<CDoublePoint> points = ArcChordPoints(centre, p, sweep * 180.0 / kPi, chordDegrees);
    // The end is exactly the given end point.
    if (!points.empty()) points.back() = r;
    return points;
}
