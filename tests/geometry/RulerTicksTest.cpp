#include "geometry/RulerTicks.h"

#include "geometry/WorkUnits.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <vector>

namespace {

constexpr int kUpm = 100;
// 96 pixels per inch.
constexpr double kPixelsPerCm = 37.795;
// The view's limits: zoomed out, a hundred pixels hold the whole range of
// coordinates; zoomed in, an A4 page's shorter side spans 28,000 pixels.
constexpr double kZoomOutLimit = 4294967296.0 / 100.0;
constexpr double kZoomInLimit = 21000.0 / 28000.0;

struct PlacementCase {
    const char* name;
    double scale;
    int origin;
    int zero;
    bool upward;
};

// At both ends of the zoom and both ends of the coordinates, a ruler shows
// ticks all along it about a screen centimetre's tenth apart, and each
// labelled tick tells the true distance of its point from the zero, also
// where that lies beyond what an int holds.
TEST(RulerTicksTest, TicksAndLabelsHoldAtBothEndsOfTheZoomAndOfTheCoordinates)
{
    const PlacementCase cases[] = {
        {"zoomed out, origin at the low end", kZoomOutLimit, -INT_MAX, 0, false},
        {"zoomed out, origin at the high end", kZoomOutLimit, INT_MAX, 0, false},
        {"zoomed out, values growing upward", kZoomOutLimit, -INT_MAX, 29700, true},
        {"zoomed out sixty keypad steps from a fitted page", 42.0 * std::pow(1.25, 60), -INT_MAX, 0, false},
        {"zoomed in at the high end", kZoomInLimit, INT_MAX - 300, 0, false},
        {"zoomed in at the low end, upward", kZoomInLimit, INT_MIN, 5000, true},
        {"a page at screen size", 26.4583, -500, 1000, false},
    };
    for (const int unit : {kWorkUnitInchFraction, kWorkUnitInchDecimal, kWorkUnitCentimetre, kWorkUnitMillimetre}) {
        for (const PlacementCase& c : cases) {
            SCOPED_TRACE(testing::Message() << c.name << ", unit " << unit);
            RulerSteps steps;
            ASSERT_TRUE(RulerStepsFor(c.scale, kUpm, kPixelsPerCm, unit, unit == 0 ? 16 : 100, steps));
            // Labels about one to a few screen centimetres apart.
            EXPECT_GT(steps.major / c.scale, 0.45 * kPixelsPerCm);
            EXPECT_LT(steps.major / c.scale, 6.0 * kPixelsPerCm);

            RulerPlacement at;
            at.scale = c.scale;
            at.origin = c.origin;
            at.zero = c.zero;
            at.offset = 2;
            at.length = 700;
            at.valuesGrowUpward = c.upward;
            const std::vector<RulerTick> ticks = RulerTicks(steps, at);
            ASSERT_GE(ticks.size(), 20u);
            int labels = 0;
            // Every long step brings a long tick, however far from the zero.
            const std::size_t perMajor = std::size_t(std::lround(steps.major / steps.minor));
            std::size_t lastLong = ticks.size();
            for (std::size_t i = 0; i < ticks.size(); ++i) {
                const RulerTick& t = ticks[i];
                // On the ruler, give or take the pixel a rounding may add.
                ASSERT_GE(t.pixel, -1);
                ASSERT_LE(t.pixel, at.length + 1);
                if (i > 0) {
                    EXPECT_NEAR(t.pixel - ticks[i - 1].pixel, steps.minor / c.scale, 1.0) << i;
                }
                if (t.size != RulerTickSize::Long) continue;
                if (lastLong < ticks.size()) EXPECT_EQ(i - lastLong, perMajor) << i;
                lastLong = i;
                ++labels;
                // The model point under the tick, in doubles.
                const double model = double(c.origin) + (t.pixel - at.offset) * c.scale;
                const double distance = c.upward ? double(c.zero) - model : model - double(c.zero);
                EXPECT_NEAR(t.value, distance, c.scale + 1.0) << i;
                // A whole number of label steps, to the model unit.
                EXPECT_LE(std::fabs(std::remainder(t.value, steps.major)), 0.5 + 1e-6 * steps.major) << i;
            }
            EXPECT_GE(labels, 2);
        }
    }
}

TEST(RulerTicksTest, NoStepsWithoutUnitsScaleOrAKnownWorkUnit)
{
    struct Case {
        const char* name;
        double scale;
        int upm;
        int unit;
    };
    const Case cases[] = {
        {"no units per millimetre", 26.0, 0, kWorkUnitCentimetre},
        {"no scale", 0.0, kUpm, kWorkUnitCentimetre},
        {"a scale that is no number", std::nan(""), kUpm, kWorkUnitMillimetre},
        {"an infinite scale", HUGE_VAL, kUpm, kWorkUnitMillimetre},
        {"an unknown work unit", 26.0, kUpm, 7},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RulerSteps steps;
        steps.minor = 3.0;
        EXPECT_FALSE(RulerStepsFor(c.scale, c.upm, kPixelsPerCm, c.unit, 100, steps));
        EXPECT_EQ(steps.minor, 3.0);
    }
    RulerPlacement at;
    at.scale = 0.0;
    at.length = 100;
    EXPECT_TRUE(RulerTicks(RulerSteps(), at).empty());
}

} // namespace
