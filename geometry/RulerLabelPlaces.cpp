#include "geometry/RulerLabelPlaces.h"

#include <climits>

std::vector<RulerLabelPlace> RulerLabelPlaces(const std::vector<RulerTick>& ticks, const RulerSteps&, double,
                                              const RulerLabelRoom& room,
                                              const std::function<int(const RulerTick&)>& span)
{
    // Far from the zero the labels grow wider than the steps between them
    // (seven digits and more); a label that would run into the one before
    // is left out, its long tick kept.
    std::vector<RulerLabelPlace> places;
    int freeFrom = INT_MIN;
    for (std::size_t i = 0; i < ticks.size(); ++i) {
        const RulerTick& tick = ticks[i];
        if (tick.size != RulerTickSize::Long) continue;
        RulerLabelPlace place;
        place.tick = i;
        place.span = span(tick);
        place.start = room.beforeTick ? tick.pixel - 1 - place.span : tick.pixel + 2;
        if (place.start < freeFrom) continue;
        if (!room.beforeTick && place.start + place.span > room.length) continue;
        places.push_back(place);
        freeFrom = place.start + place.span + room.gap;
    }
    return places;
}
