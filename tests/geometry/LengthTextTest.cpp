#include "geometry/LengthText.h"
#include "geometry/WorkUnits.h"

#include <gtest/gtest.h>

namespace {

struct Case {
    const char* text;
    int unit;
    LengthTextStatus status;
    int value;
};

} // namespace

TEST(ReadLengthText, WholeTextMustBeALengthInTheWorkUnit)
{
    using S = LengthTextStatus;
    const Case cases[] = {
        {"12.5", kWorkUnitCentimetre, S::Ok, 12500},
        {"  3 ", kWorkUnitCentimetre, S::Ok, 3000},
        {"-2", kWorkUnitCentimetre, S::Ok, -2000},
        {"+.5", kWorkUnitMillimetre, S::Ok, 50},
        {"7.", kWorkUnitMillimetre, S::Ok, 700},
        {"1e2", kWorkUnitMillimetre, S::Ok, 10000},
        {"0", kWorkUnitMillimetre, S::Ok, 0},
        {"1", kWorkUnitInchDecimal, S::Ok, 2540},
        {"1\"1/2", kWorkUnitInchFraction, S::Ok, 3810},
        {"1'1/2", kWorkUnitInchFraction, S::Ok, 3810},
        {"1 1/2", kWorkUnitInchFraction, S::Ok, 13970},  // blanks are dropped: 11/2
        {"-1/2", kWorkUnitInchFraction, S::Ok, -1270},
        {"2", kWorkUnitInchFraction, S::Ok, 5080},
        {"1.5", kWorkUnitInchFraction, S::Ok, 3810},
        {"0/4", kWorkUnitInchFraction, S::Ok, 0},
        {"", kWorkUnitCentimetre, S::NotANumber, 0},
        {"  ", kWorkUnitMillimetre, S::NotANumber, 0},
        {"abc", kWorkUnitCentimetre, S::NotANumber, 0},
        {"12abc", kWorkUnitCentimetre, S::NotANumber, 0},
        {"1,5", kWorkUnitCentimetre, S::NotANumber, 0},
        {".", kWorkUnitMillimetre, S::NotANumber, 0},
        {"-", kWorkUnitMillimetre, S::NotANumber, 0},
        {"1e", kWorkUnitMillimetre, S::NotANumber, 0},
        {"inf", kWorkUnitMillimetre, S::NotANumber, 0},
        {"nan", kWorkUnitMillimetre, S::NotANumber, 0},
        {"1/2", kWorkUnitCentimetre, S::NotANumber, 0},
        {"1/0", kWorkUnitInchFraction, S::NotANumber, 0},
        {"1\"1/", kWorkUnitInchFraction, S::NotANumber, 0},
        {"x", kWorkUnitInchFraction, S::NotANumber, 0},
        {"1\"", kWorkUnitInchFraction, S::Ok, 2540},
        {"1000", kWorkUnitCentimetre, S::Ok, 1000000},
        {"1000.1", kWorkUnitCentimetre, S::TooLarge, 0},
        {"-10001", kWorkUnitMillimetre, S::TooLarge, 0},
        {"1e400", kWorkUnitMillimetre, S::TooLarge, 0},
        {"99999999999999999999", kWorkUnitMillimetre, S::TooLarge, 0},
        {"394", kWorkUnitInchDecimal, S::TooLarge, 0},
        {"393", kWorkUnitInchFraction, S::Ok, 998220},
    };
    for (const Case& c : cases) {
        int value = -7;
        EXPECT_EQ(ReadLengthText(c.text, 100, c.unit, value), c.status) << c.text;
        EXPECT_EQ(value, c.status == S::Ok ? c.value : -7) << c.text;
    }
}

TEST(ReadLengthText, MaximumFollowsTheUnitsPerMillimetre)
{
    EXPECT_EQ(MaxTypedLength(100), 1000000);
    EXPECT_EQ(MaxTypedLength(10), 100000);
    int value = 0;
    EXPECT_EQ(ReadLengthText("1000", 10, kWorkUnitCentimetre, value), LengthTextStatus::Ok);
    EXPECT_EQ(value, 100000);
}
