#include "geometry/RulerLabelPlaces.h"

#include <algorithm>
#include <cmath>

namespace {

// Bounds the search for a label spacing, so that a broken step can never
// hang painting: 10^20 long ticks from one label to the next is more than
// any ruler shows.
constexpr int kMaxSpacings = 64;

// 1, 2, 5, 10, 20, 50 ...: labelled values then count on in round numbers.
double NextRoundCount(double k)
{
    const double decade = std::pow(10.0, std::floor(std::log10(k) + 1e-9));
    const double lead = k / decade;
    return lead < 1.5 ? 2.0 * decade : lead < 3.5 ? 5.0 * decade : 10.0 * decade;
}

// The fewest long ticks from one label to the next (1, 2, 5, 10 ...) that
// keep labels of `widest` pixels apart by the gap, when the long ticks lie
// `majorPixels` apart give or take the pixel their rounding may take off.
double LabelEvery(double majorPixels, int widest, int gap)
{
    double k = 1.0;
    for (int i = 0; i < kMaxSpacings && k * majorPixels - 1.0 < double(widest) + gap; ++i) k = NextRoundCount(k);
    return k;
}

} // namespace

std::vector<RulerLabelPlace> RulerLabelPlaces(const std::vector<RulerTick>& ticks, const RulerSteps& steps,
                                              double scale, const RulerLabelRoom& room,
                                              const std::function<int(const RulerTick&)>& span)
{
    std::vector<RulerLabelPlace> places;
    if (!(scale > 0.0) || !(steps.major > 0.0)) return places;

    // Every long tick's label, drawn or not: the widest of them sets one
    // spacing for the whole ruler. Deciding label by label, from whether
    // each would run into the one before, left out every other label far
    // from the zero but kept every one of the short labels beside it.
    std::vector<RulerLabelPlace> candidates;
    int widest = 0;
    for (std::size_t i = 0; i < ticks.size(); ++i) {
        const RulerTick& tick = ticks[i];
        if (tick.size != RulerTickSize::Long) continue;
        RulerLabelPlace place;
        place.tick = i;
        place.span = std::max(0, span(tick));
        place.start = room.beforeTick ? tick.pixel - 1 - place.span : tick.pixel + 2;
        widest = std::max(widest, place.span);
        candidates.push_back(place);
    }
    const double every = LabelEvery(steps.major / scale, widest, room.gap);

    for (const RulerLabelPlace& place : candidates) {
        // Counted from the zero, so that the labelled ticks stay put as the
        // view scrolls.
        const double fromZero = std::round(ticks[place.tick].value / steps.major);
        if (std::fmod(fromZero, every) != 0.0) continue;
        // Cut by either end of the ruler, a label would show a wrong number.
        if (place.start < 0 || place.start + place.span > room.length) continue;
        places.push_back(place);
    }
    return places;
}
