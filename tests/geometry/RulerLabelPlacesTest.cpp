#include "geometry/RulerLabelPlaces.h"

#include "geometry/WorkUnits.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <string>
#include <vector>

namespace {

constexpr int kUpm = 100;
// 96 pixels per inch.
constexpr double kPixelsPerCm = 37.795;
// The view's limits: zoomed out, a hundred pixels hold the whole range of
// coordinates; zoomed in, an A4 page's shorter side spans 28,000 pixels.
constexpr double kZoomOutLimit = 4294967296.0 / 100.0;
constexpr double kZoomInLimit = 21000.0 / 28000.0;
constexpr int kLength = 700;
constexpr int kGap = 4;

// A label's pixels along the ruler as a 10-pixel font gives them: six to a
// digit, fewer for signs and points, and the pixel of the box around it.
int LabelSpan(const std::string& text)
{
    int span = 1;
    for (const char c : text) span += std::isdigit(static_cast<unsigned char>(c)) ? 6 : 3;
    return span;
}

struct ZoomCase {
    const char* name;
    double scale;
    int origin;  // model coordinate at view pixel 0
    int zero;
};

double Index(const RulerTick& tick, const RulerSteps& steps)
{
    return std::round(tick.value / steps.major);
}

// Along either ruler, at any zoom and wherever the view lies, the labels
// fall on every k-th long tick counted from the zero with one k for the
// whole ruler, stay apart by the gap, and lie whole between the ruler's
// ends: a label its end would cut is left out. Each case is also shifted
// through one label step, so that long ticks come to lie at every distance
// from the ends.
TEST(RulerLabelPlacesTest, LabelsFallOnEveryKthStepApartAndWholeAtEveryZoom)
{
    const ZoomCase cases[] = {
        {"zoomed out to the limit over the low end", kZoomOutLimit, -INT_MAX, 0},
        {"zoomed out to the limit over the high end", kZoomOutLimit, INT_MAX - 1000000000, 0},
        {"zoomed out to the limit, zero off the middle", kZoomOutLimit, -1500000000, 29700},
        {"zoomed out sixty keypad steps from a fitted page", 42.0 * std::pow(1.25, 60), -INT_MAX, 0},
        {"zoomed out far over negative coordinates", 4.0e6, -2000000000, 0},
        {"21 km out, a label every centimetre", 26.4583, 2147000000, 0},
        {"21 km out on the negative side", 26.4583, -2147483000, 0},
        {"a page at screen size", 26.4583, -500, 1000},
        {"zoomed in at the limit", kZoomInLimit, -100, 0},
        {"zoomed in at the low end", kZoomInLimit, INT_MIN + 1000, 5000},
    };
    for (const int unit : {kWorkUnitInchFraction, kWorkUnitInchDecimal, kWorkUnitCentimetre, kWorkUnitMillimetre}) {
        const int precision = unit == kWorkUnitInchFraction ? 16 : 100;
        for (const ZoomCase& c : cases) {
            RulerSteps steps;
            ASSERT_TRUE(RulerStepsFor(c.scale, kUpm, kPixelsPerCm, unit, precision, steps));
            for (const bool vertical : {false, true}) {
                for (int shift = 0; shift < 8; ++shift) {
                    SCOPED_TRACE(testing::Message() << c.name << ", unit " << unit << (vertical ? ", vertical" : "")
                                                    << ", shift " << shift);
                    RulerPlacement at;
                    at.scale = c.scale;
                    const double origin = double(c.origin) + shift * steps.major / 8.0;
                    at.origin = int(std::clamp(origin, double(-INT_MAX), double(INT_MAX)));
                    at.zero = c.zero;
                    at.offset = vertical ? 22 : 2;
                    at.length = kLength;
                    at.valuesGrowUpward = vertical;
                    const std::vector<RulerTick> ticks = RulerTicks(steps, at);
                    RulerLabelRoom room;
                    room.length = kLength;
                    room.beforeTick = vertical;
                    room.gap = kGap;
                    auto span = [&](const RulerTick& t) { return LabelSpan(RulerLabel(t, kUpm, unit, precision)); };
                    const std::vector<RulerLabelPlace> places = RulerLabelPlaces(ticks, steps, c.scale, room, span);
                    ASSERT_GE(places.size(), 2u);

                    // Whole, and apart.
                    for (std::size_t i = 0; i < places.size(); ++i) {
                        const RulerLabelPlace& p = places[i];
                        ASSERT_LT(p.tick, ticks.size());
                        EXPECT_EQ(ticks[p.tick].size, RulerTickSize::Long);
                        EXPECT_EQ(p.span, span(ticks[p.tick]));
                        EXPECT_EQ(p.start, vertical ? ticks[p.tick].pixel - 1 - p.span : ticks[p.tick].pixel + 2);
                        EXPECT_GE(p.start, 0) << RulerLabel(ticks[p.tick], kUpm, unit, precision);
                        EXPECT_LE(p.start + p.span, kLength) << RulerLabel(ticks[p.tick], kUpm, unit, precision);
                        if (i > 0) {
                            EXPECT_GE(p.start, places[i - 1].start + places[i - 1].span + kGap) << i;
                        }
                    }

                    // One k: the labelled steps, counted from the zero, are
                    // the multiples of k, every one of them that fits.
                    const double k = std::fabs(Index(ticks[places[1].tick], steps) - Index(ticks[places[0].tick], steps));
                    ASSERT_GE(k, 1.0);
                    std::size_t next = 0;
                    for (std::size_t i = 0; i < ticks.size(); ++i) {
                        const RulerTick& t = ticks[i];
                        if (t.size != RulerTickSize::Long) continue;
                        const bool labelled = next < places.size() && places[next].tick == i;
                        if (labelled) ++next;
                        const bool onK = std::fmod(Index(t, steps), k) == 0.0;
                        EXPECT_EQ(labelled && !onK, false) << "labelled off the k-th steps: " << t.value;
                        if (onK && !labelled) {
                            // Only where the ruler's end would cut it.
                            const int s = span(t);
                            const int start = vertical ? t.pixel - 1 - s : t.pixel + 2;
                            EXPECT_TRUE(start < 0 || start + s > kLength) << "k-th step left out: " << t.value;
                        }
                    }
                    EXPECT_EQ(next, places.size());
                }
            }
        }
    }
}

// The labels of a ruler zoomed out to the limit come every other step from
// the zero on, not every step beside it and every other one farther out:
// k follows the widest label on the ruler, not each label's own width.
TEST(RulerLabelPlacesTest, NarrowLabelsBesideTheZeroKeepTheStepOfTheWidest)
{
    RulerSteps steps;
    ASSERT_TRUE(RulerStepsFor(kZoomOutLimit, kUpm, kPixelsPerCm, kWorkUnitCentimetre, 100, steps));
    RulerPlacement at;
    at.scale = kZoomOutLimit;
    at.origin = -INT_MAX;
    at.offset = 2;
    at.length = kLength;
    const std::vector<RulerTick> ticks = RulerTicks(steps, at);
    RulerLabelRoom room;
    room.length = kLength;
    auto span = [](const RulerTick& t) { return LabelSpan(RulerLabel(t, kUpm, kWorkUnitCentimetre, 100)); };
    std::vector<double> labelled;
    for (const RulerLabelPlace& p : RulerLabelPlaces(ticks, steps, kZoomOutLimit, room, span)) {
        labelled.push_back(Index(ticks[p.tick], steps));
    }
    // Every long tick is a screen centimetre from the next, narrower than
    // the widest labels: every other one is labelled, the zero included.
    ASSERT_GE(labelled.size(), 3u);
    EXPECT_NE(std::find(labelled.begin(), labelled.end(), 0.0), labelled.end());
    for (std::size_t i = 1; i < labelled.size(); ++i) EXPECT_EQ(labelled[i] - labelled[i - 1], 2.0) << i;
}

// Labels that fit every step keep every step, and none is drawn for a ruler
// too short to hold one whole.
TEST(RulerLabelPlacesTest, EveryStepWhenTheLabelsFitAndNoneOnARulerTooShort)
{
    RulerSteps steps;
    ASSERT_TRUE(RulerStepsFor(26.4583, kUpm, kPixelsPerCm, kWorkUnitCentimetre, 100, steps));
    RulerPlacement at;
    at.scale = 26.4583;
    at.offset = 2;
    at.length = 400;
    const std::vector<RulerTick> ticks = RulerTicks(steps, at);
    RulerLabelRoom room;
    room.length = 400;
    auto span = [](const RulerTick& t) { return LabelSpan(RulerLabel(t, kUpm, kWorkUnitCentimetre, 100)); };
    const std::vector<RulerLabelPlace> places = RulerLabelPlaces(ticks, steps, 26.4583, room, span);
    ASSERT_EQ(places.size(), 11u);  // 0 to 10 cm
    for (std::size_t i = 0; i < places.size(); ++i) EXPECT_EQ(ticks[places[i].tick].value, 1000.0 * i);

    room.length = 6;
    room.beforeTick = true;
    EXPECT_TRUE(RulerLabelPlaces(ticks, steps, 26.4583, room, span).empty());
}

} // namespace
