#include "geometry/NumberText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

struct FixedCase {
    double value;
    int decimals;
    const char* text;
};

class FormatFixedTest : public ::testing::TestWithParam<FixedCase> {};

TEST_P(FormatFixedTest, PrintsAsTheOriginalRuntime)
{
    const FixedCase& c = GetParam();
    EXPECT_EQ(FormatFixed(c.value, c.decimals), c.text) << c.value << " with " << c.decimals;
}

INSTANTIATE_TEST_SUITE_P(
    ExactHalvesGoAwayFromZero, FormatFixedTest,
    ::testing::Values(FixedCase{0.25, 1, "0.3"}, FixedCase{0.125, 2, "0.13"},
                      FixedCase{0.375, 2, "0.38"}, FixedCase{2.5, 0, "3"}, FixedCase{0.5, 0, "1"},
                      FixedCase{-2.5, 0, "-3"}, FixedCase{-0.25, 1, "-0.3"},
                      FixedCase{1.0625, 3, "1.063"}, FixedCase{0.00005, 4, "0.0001"}));

// Decimal fractions that are not exact halves in binary round by their true
// value, as glibc does too.
INSTANTIATE_TEST_SUITE_P(
    NearHalvesRoundByTheirBinaryValue, FormatFixedTest,
    ::testing::Values(FixedCase{2.675, 2, "2.67"}, FixedCase{1.005, 2, "1.00"},
                      FixedCase{0.95, 1, "0.9"}, FixedCase{0.15, 1, "0.1"},
                      FixedCase{0.35, 1, "0.3"}, FixedCase{12.345, 2, "12.35"}));

INSTANTIATE_TEST_SUITE_P(
    Layout, FormatFixedTest,
    ::testing::Values(FixedCase{0.0, 2, "0.00"}, FixedCase{0.0, 0, "0"}, FixedCase{12.0, 4, "12.0000"},
                      FixedCase{-0.001, 2, "-0.00"}, FixedCase{1e-7, 4, "0.0000"},
                      FixedCase{999.9996, 3, "1000.000"}, FixedCase{9.96, 1, "10.0"},
                      FixedCase{123456.789, 0, "123457"}, FixedCase{0.1, 6, "0.100000"},
                      FixedCase{1e20, 2, "100000000000000000000.00"},
                      FixedCase{3.0, -2, "3"}));

// The original runtime printed at most 17 significant digits and zeros
// after them.
INSTANTIATE_TEST_SUITE_P(
    SeventeenSignificantDigits, FormatFixedTest,
    ::testing::Values(FixedCase{1152921504606846976.0, 0, "1152921504606847000"},
                      FixedCase{0.1, 20, "0.10000000000000001000"}));

TEST(FormatFixed, NonFiniteValues)
{
    EXPECT_EQ(FormatFixed(INFINITY, 2), "inf");
    EXPECT_EQ(FormatFixed(-INFINITY, 2), "-inf");
    EXPECT_EQ(FormatFixed(NAN, 2), "nan");
}

TEST(FormatNumberText, TwoDecimalsWithoutUselessZeros)
{
    EXPECT_EQ(FormatNumberText(165.5), "165.5");
    EXPECT_EQ(FormatNumberText(170.0), "170");
    EXPECT_EQ(FormatNumberText(100.0), "100");
    EXPECT_EQ(FormatNumberText(0.125), "0.13");
    EXPECT_EQ(FormatNumberText(1234.567), "1234.57");
    EXPECT_EQ(FormatNumberText(-3.004), "-3");
    EXPECT_EQ(FormatNumberText(0.0), "0");
}

// A spreadsheet cell of -0.001 reads "-0", as the original runtime's
// "%.2f" printed it before the zeros were cut.
TEST(FormatNumberText, ANegativeValueThatRoundsToZeroKeepsItsSign)
{
    EXPECT_EQ(FormatNumberText(-0.001), "-0");
    EXPECT_EQ(FormatNumberText(-0.004999), "-0");
    EXPECT_EQ(FormatNumberText(-0.005), "-0.01");
    EXPECT_EQ(FormatNumberText(0.001), "0");
}

struct LeadingCase {
    const char* text;
    double value;
};

class LeadingNumberTest : public ::testing::TestWithParam<LeadingCase> {};

TEST_P(LeadingNumberTest, ReadsLikeAtofInTheCLocale)
{
    const LeadingCase& c = GetParam();
    EXPECT_DOUBLE_EQ(LeadingNumber(c.text), c.value) << '"' << c.text << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Forms, LeadingNumberTest,
    ::testing::Values(LeadingCase{"12.5", 12.5}, LeadingCase{"  12.5xyz", 12.5},
                      LeadingCase{"\t\n7", 7.0}, LeadingCase{"-3", -3.0}, LeadingCase{"+4.5", 4.5},
                      LeadingCase{".5", 0.5}, LeadingCase{"5.", 5.0}, LeadingCase{"-.25", -0.25},
                      LeadingCase{"1e3", 1000.0}, LeadingCase{"2.5E-1", 0.25},
                      LeadingCase{"1e", 1.0}, LeadingCase{"1e+", 1.0}, LeadingCase{"1.5.5", 1.5},
                      LeadingCase{"1,5", 1.0}, LeadingCase{"12\"3", 12.0}));

INSTANTIATE_TEST_SUITE_P(
    NotANumber, LeadingNumberTest,
    ::testing::Values(LeadingCase{"", 0.0}, LeadingCase{"abc", 0.0}, LeadingCase{"e5", 0.0},
                      LeadingCase{".", 0.0}, LeadingCase{"-", 0.0}, LeadingCase{"- 5", 0.0},
                      LeadingCase{"inf", 0.0}, LeadingCase{"nan", 0.0}, LeadingCase{"0x10", 0.0}));

TEST(LeadingNumber, OutOfRangeSaturatesLikeStrtod)
{
    EXPECT_EQ(LeadingNumber("1e400"), HUGE_VAL);
    EXPECT_EQ(LeadingNumber("-1e400"), -HUGE_VAL);
    EXPECT_EQ(LeadingNumber("1e-400"), 0.0);
}

// The typed texts and the phrase list are GBK bytes: only the C locale's
// six white-space characters are trimmed, never a byte of a character
// (the full-width space A1 A1 stays, as 0xA0 does, which a Latin-1 locale
// would count as a space).
TEST(Trimmed, TakesTheCLocaleWhiteSpaceOffBothEndsAndNoGbkByte)
{
    const struct {
        std::string text;
        std::string trimmed;
    } cases[] = {
        {"", ""},
        {" \t\n\v\f\r", ""},
        {"  12.5\t\r\n", "12.5"},
        {"\v a b \f", "a b"},
        {"\xA1\xA1" "5" "\xA0", "\xA1\xA1" "5" "\xA0"},
        {" \xD0\xE4\xBF\xDA ", "\xD0\xE4\xBF\xDA"},
    };
    for (const auto& c : cases) EXPECT_EQ(Trimmed(c.text), c.trimmed) << c.text;
    for (int b = 0; b < 256; ++b) {
        const char c = char(b);
        EXPECT_EQ(IsDigit(c), b >= '0' && b <= '9') << b;
        EXPECT_EQ(IsCSpace(c), b == ' ' || (b >= '\t' && b <= '\r')) << b;
    }
}

} // namespace
