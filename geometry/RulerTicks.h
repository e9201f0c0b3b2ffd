// The scale of a ruler beside a view: how far apart its ticks and labels
// fall in the work unit, and where those of the visible part lie. Free of
// any widget, so that whatever shows a view lays its rulers out the same
// way, at any zoom.
//
// Zoomed out far, a ruler spans more model units than an int holds and the
// view's origin lies at the end of the int range: positions and label
// values are worked out in doubles, and only ticks that land on the ruler
// become pixels.
#pragma once

#include <string>
#include <vector>

// Model units from one tick to the next, from one middle tick to the next
// and from one labelled tick to the next.
struct RulerSteps {
    double minor = 1000.0;
    double middle = 5000.0;
    double major = 10000.0;
};

// The steps for a view of `scale` model units per pixel, `upm` model units
// per millimetre and a screen of `pixelsPerCm`: labels on whole units
// about one screen centimetre apart, or on parts of a unit when a whole
// one spans several (RulerSubUnitStep). False, and `steps` left as they
// were, when these give no steps (no units per millimetre, no scale, an
// unknown work unit).
bool RulerStepsFor(double scale, int upm, double pixelsPerCm, int unit, int precision, RulerSteps& steps);

// The label spacing, as a part of one work unit, for a view that shows
// the given number of work units per screen centimetre: 1 while that is
// at least a quarter unit (the whole-unit steps stay as they were), else
// the smallest of 1/2, 1/5, 1/10, 1/20 ... (1/2, 1/4, 1/8 ... for inch
// fractions) that still spans a screen centimetre, but never finer than
// one part of the precision.
double RulerSubUnitStep(double unitsPerScreenCm, int unit, int precision);

enum class RulerTickSize { Short, Middle, Long };

struct RulerTick {
    int pixel = 0;  // along the ruler, 0 at its start
    RulerTickSize size = RulerTickSize::Short;
    // What a long tick is labelled with: its distance from the zero in
    // model units, growing along the ruler (or against it for a ruler whose
    // values grow upward).
    double value = 0.0;
};

// Where a ruler lies against its view: pixel `offset` of the ruler is level
// with view pixel 0, which shows model coordinate `origin`; the ruler is
// `length` pixels long and labels model coordinate `zero` with 0.
struct RulerPlacement {
    double scale = 1.0;
    int origin = 0;
    int zero = 0;
    int offset = 0;
    int length = 0;
    bool valuesGrowUpward = false;
};

// The ticks of the visible part, in order along the ruler; none when the
// steps would give more than a ruler can show (damage, not a zoom).
std::vector<RulerTick> RulerTicks(const RulerSteps& steps, const RulerPlacement& placement);

// The label of a long tick in the work unit ("12.5", "3\"1/2"), however far
// from the zero it lies.
std::string RulerLabel(const RulerTick& tick, int upm, int unit, int precision);

