// Which long ticks of a ruler carry their label, and where each label's
// text lies along the ruler. Free of any widget: whatever draws a ruler
// tells how wide each label's text is.
#pragma once

#include "geometry/RulerTicks.h"

#include <cstddef>
#include <functional>
#include <vector>

// The stretch of a ruler its labels may use, from pixel 0 to `length`, and
// how a label stands against its tick: its text starts just after the tick
// or, turned to read upward, ends just before it.
struct RulerLabelRoom {
    int length = 0;
    bool beforeTick = false;
    // Pixels kept free between one label and the next.
    int gap = 4;
};

// A label to draw: the index of its tick and the pixels its text covers
// along the ruler, from `start` on.
struct RulerLabelPlace {
    std::size_t tick = 0;
    int start = 0;
    int span = 0;
};

// The labels of the long ticks `ticks` (laid out by RulerTicks with `steps`
// at `scale` model units per pixel), where `span` tells the pixels a tick's
// label covers along the ruler. Every k-th long tick counted from the zero
// is labelled, with one k for the whole ruler (1, 2, 5, 10 ...), the
// fewest that keeps the widest label on it clear of the next; a label
// that either end of the room would cut is left out, never drawn in part.
std::vector<RulerLabelPlace> RulerLabelPlaces(const std::vector<RulerTick>& ticks, const RulerSteps& steps,
                                              double scale, const RulerLabelRoom& room,
                                              const std::function<int(const RulerTick&)>& span);
