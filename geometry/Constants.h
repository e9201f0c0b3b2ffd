// The angle constants of the geometry library. The library's pi is the
// rounded 3.14159265359, and stored files and tests depend on the angles
// it yields, so it is kept rather than the full-precision value.
#pragma once

namespace Geo {
constexpr double kPi = 3.14159265359;
constexpr double kHalfPi = 0.5 * kPi;          // 1.570796326795
constexpr double kThreeHalfPi = 1.5 * kPi;     // 4.7123889803850005
constexpr double kTwoPi = 6.28318530718;
// Smallest normal double, the zero test of several functions.
constexpr double kTinyDouble = 2.2250738585072014e-308;
constexpr double kLargestDouble = 1.7976931348623157e308;

// The zero test |v| + 1 = 1 in double arithmetic.
inline bool IsZeroByOne(double v)
{
    const double a = v < 0 ? -v : v;
    return !(a + 1.0 > 1.0);
}
} // namespace Geo
