#include "geometry/RulerTicks.h"

#include "geometry/WorkUnits.h"

#include <algorithm>
#include <cmath>

namespace {

// Ticks laid out at most, so that a broken spacing can never hang painting.
constexpr double kMaxTicks = 100000.0;

// The nearest whole number, halves away from zero, as a double: the steps
// and positions of a far zoom lie beyond the int range.
double Rounded(double v)
{
    return std::round(v);
}

bool IsWholeMultiple(double value, double step)
{
    if (!(step > 0.0)) return false;
    const double ratio = value / step;
    return std::fabs(ratio - std::round(ratio)) < 1e-9;
}

// Whole-unit steps: labels on whole units (whole centimetres for the
// millimetre ruler) about one screen centimetre apart, given v, the
// millimetres (inches for the inch rulers) shown per screen centimetre.
bool WholeUnitSteps(double v, int upm, int unit, RulerSteps& s)
{
    switch (unit) {
    case kWorkUnitInchFraction:
    case kWorkUnitInchDecimal:
        while (Rounded(v) < 1.0) v *= 2.0;
        s.major = upm * Rounded(v) * 25.4;
        s.minor = s.major / (unit == kWorkUnitInchFraction ? 8.0 : 10.0);
        return true;
    case kWorkUnitCentimetre:
        while (Rounded(v) < 10.0) v *= 2.0;
        s.major = upm * Rounded(v / 10.0) * 10.0;
        s.minor = s.major / 10.0;
        return true;
    case kWorkUnitMillimetre:
        while (Rounded(v) < 1.0) v *= 2.0;
        // Below 5 mm per screen centimetre whole centimetres would round to
        // a spacing of 0; label every few millimetres there instead.
        s.major = Rounded(v / 10.0) > 0.0 ? upm * Rounded(v / 10.0) * 10.0 : upm * Rounded(v);
        s.minor = s.major / 10.0;
        return true;
    default:
        return false;
    }
}

} // namespace

bool RulerStepsFor(double scale, int upm, double pixelsPerCm, int unit, int precision, RulerSteps& steps)
{
    if (upm <= 0) return false;
    const bool inches = unit == kWorkUnitInchFraction || unit == kWorkUnitInchDecimal;
    // Millimetres (inches) of the drawing shown per screen centimetre.
    double v = pixelsPerCm * scale / upm;
    if (inches) v /= 25.4;
    if (!std::isfinite(v) || v <= 0.0) return false;

    RulerSteps s;
    if (!WholeUnitSteps(v, upm, unit, s)) return false;
    s.middle = s.major / 2.0;

    // Zoomed in far, a whole unit spans several screen centimetres (over a
    // thousand pixels at the wheel's limit) and no label would show: the
    // labels then fall on halves, fifths, tenths ... of the unit (halves,
    // quarters ... for inch fractions), as fine as the precision can show.
    const double unitMm = unit == kWorkUnitCentimetre ? 10.0 : unit == kWorkUnitMillimetre ? 1.0 : 25.4;
    const double unitsPerScreenCm = pixelsPerCm * scale / upm / unitMm;
    const double part = RulerSubUnitStep(unitsPerScreenCm, unit, precision);
    if (part < 1.0) {
        s.major = upm * unitMm * part;
        s.minor = s.major / (unit == kWorkUnitInchFraction ? 8.0 : 10.0);
        s.middle = s.major / 2.0;
    }
    if (!std::isfinite(s.major) || !(s.minor > 0.0)) return false;
    steps = s;
    return true;
}

double RulerSubUnitStep(double unitsPerScreenCm, int unit, int precision)
{
    // Finest step the labels can tell apart: one part of the precision.
    const double finest = precision >= 1 ? 1.0 / precision : 1.0;
    if (!(unitsPerScreenCm < 0.25)) return 1.0;
    double step = 1.0;
    for (int k = 0; k < 40; ++k) {
        double next = 0.0;
        if (unit == kWorkUnitInchFraction) {
            next = step / 2.0;
        } else {
            // 1, 0.5, 0.2, 0.1, 0.05 ...: the leading digit decides.
            const double decade = std::pow(10.0, std::floor(std::log10(step) + 1e-9));
            const double lead = step / decade;
            next = lead > 4.0 ? 2.0 * decade : lead > 1.5 ? decade : 0.5 * decade;
        }
        // At least about one screen centimetre between labels.
        if (next < unitsPerScreenCm || next < finest * (1.0 - 1e-9)) break;
        step = next;
    }
    return step;
}

std::vector<RulerTick> RulerTicks(const RulerSteps& steps, const RulerPlacement& at)
{
    std::vector<RulerTick> ticks;
    if (!(at.scale > 0.0) || !std::isfinite(at.scale) || !(steps.minor > 0.0) || at.length < 0) return ticks;
    // The model coordinates at the ruler's two ends.
    const double first = double(at.origin) + Rounded(-at.offset * at.scale);
    const double last = double(at.origin) + Rounded((double(at.length) - at.offset) * at.scale);
    const double kFirst = std::ceil((first - at.zero) / steps.minor);
    const double kLast = std::floor((last - at.zero) / steps.minor);
    if (!std::isfinite(kFirst) || !std::isfinite(kLast) || kLast - kFirst > kMaxTicks) return ticks;

    // Long and middle ticks told from the tick's index: a distance of a
    // billion units from the zero, a multiple of a fractional step, is no
    // longer a whole multiple of the long step to a double's precision,
    // and every so often a long tick would come out short.
    const bool counted = IsWholeMultiple(steps.major, steps.minor) && IsWholeMultiple(steps.middle, steps.minor);
    const double perMajor = std::round(steps.major / steps.minor);
    const double perMiddle = std::round(steps.middle / steps.minor);
    auto isEvery = [&](double k, double fromZero, double per, double step) {
        return counted ? std::fmod(k, per) == 0.0 : IsWholeMultiple(fromZero, step);
    };

    ticks.reserve(std::size_t(std::max(0.0, kLast - kFirst + 1.0)));
    for (double k = kFirst; k <= kLast; k += 1.0) {
        // Each tick from its index, so that no rounding error accumulates.
        const double fromZero = k * steps.minor;
        const double p = fromZero + at.zero;
        // Between the ends, so within the ruler give or take a rounding.
        const double pixel = Rounded((p - at.origin) / at.scale) + at.offset;
        RulerTick tick;
        tick.pixel = int(std::clamp(pixel, -1.0, double(at.length) + 1.0));
        if (isEvery(k, fromZero, perMajor, steps.major)) {
            tick.size = RulerTickSize::Long;
            tick.value = Rounded(at.valuesGrowUpward ? -fromZero : fromZero);
        } else if (isEvery(k, fromZero, perMiddle, steps.middle)) {
            tick.size = RulerTickSize::Middle;
        }
        ticks.push_back(tick);
    }
    return ticks;
}

std::string RulerLabel(const RulerTick& tick, int upm, int unit, int precision)
{
    // Far out of the int range the labels still tell the distance.
    const long long value = static_cast<long long>(std::clamp(tick.value, -1e18, 1e18));
    return FormatLength(value, upm, unit, precision);
}

