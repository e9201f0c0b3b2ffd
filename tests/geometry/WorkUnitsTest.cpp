#include "geometry/WorkUnits.h"

#include "geometry/NumberText.h"

#include <gtest/gtest.h>

#include <QLocale>

#include <clocale>
#include <cstdlib>
#include <string>

namespace {

constexpr int kUpm = 100;
const std::string kInch = "\"";

struct FormatCase {
    int value;
    int unit;
    int precision;
    std::string text;
};

void PrintTo(const FormatCase& c, std::ostream* os)
{
    *os << c.value << " unit " << c.unit << " precision " << c.precision;
}

class FormatLengthTest : public ::testing::TestWithParam<FormatCase> {};

TEST_P(FormatLengthTest, Text)
{
    const FormatCase& c = GetParam();
    EXPECT_EQ(FormatLength(c.value, kUpm, c.unit, c.precision), c.text);
}

INSTANTIATE_TEST_SUITE_P(
    Centimetres, FormatLengthTest,
    ::testing::Values(FormatCase{12340, 2, 100, "12.34"}, FormatCase{12300, 2, 100, "12.3"},
                      FormatCase{12000, 2, 100, "12"}, FormatCase{2000, 2, 1, "2"},
                      FormatCase{12345, 2, 1, "12"}, FormatCase{12345, 2, 10, "12.3"},
                      FormatCase{12345, 2, 1000, "12.345"}, FormatCase{12345, 2, 10000, "12.345"},
                      FormatCase{1, 2, 10000, "0.001"}, FormatCase{-12340, 2, 100, "-12.34"},
                      FormatCase{0, 2, 100, "0"}, FormatCase{100500, 2, 100, "100.5"},
                      FormatCase{12340, 2, 7, ""}, FormatCase{12340, 2, 0, ""}));

INSTANTIATE_TEST_SUITE_P(
    Millimetres, FormatLengthTest,
    ::testing::Values(FormatCase{1234, 3, 10, "12.3"}, FormatCase{12000, 3, 100, "120"},
                      FormatCase{1234, 3, 1, "12"}, FormatCase{1234, 3, 100, "12.34"},
                      FormatCase{1234, 3, 1000, "12.34"}, FormatCase{1, 3, 10000, "0.01"},
                      FormatCase{-1234, 3, 10, "-12.3"}, FormatCase{1234, 3, 99, ""}));

INSTANTIATE_TEST_SUITE_P(
    DecimalInches, FormatLengthTest,
    ::testing::Values(FormatCase{3810, 1, 100, "1.5"}, FormatCase{2540, 1, 100, "1"},
                      FormatCase{3000, 1, 1, "1"}, FormatCase{3000, 1, 10, "1.2"},
                      FormatCase{3000, 1, 100, "1.18"}, FormatCase{3000, 1, 1000, "1.181"},
                      FormatCase{3000, 1, 10000, "1.1811"}, FormatCase{-3810, 1, 10, "-1.5"},
                      FormatCase{3810, 1, 3, ""}));

// Exact binary halves round away from zero, where glibc's printf would
// round to even.
INSTANTIATE_TEST_SUITE_P(
    ExactHalves, FormatLengthTest,
    ::testing::Values(FormatCase{125, 3, 10, "1.3"}, FormatCase{1250, 2, 10, "1.3"},
                      FormatCase{250, 3, 1, "3"}, FormatCase{-125, 3, 10, "-1.3"},
                      FormatCase{12125, 3, 100, "121.25"}, FormatCase{1125, 2, 100, "1.13"},
                      FormatCase{635, 1, 10, "0.3"}));

// A negative length too small to show keeps its sign in the decimal units
// ("-0.0" trimmed), but the fraction form shows a bare 0.
INSTANTIATE_TEST_SUITE_P(
    NegativeZero, FormatLengthTest,
    ::testing::Values(FormatCase{-1, 3, 10, "-0"}, FormatCase{-4, 2, 100, "-0"},
                      FormatCase{-40, 3, 1, "-0"}, FormatCase{-1, 1, 100, "-0"}, FormatCase{-5, 0, 16, "0"},
                      FormatCase{0, 2, 100, "0"}, FormatCase{4, 2, 100, "0"}));

INSTANTIATE_TEST_SUITE_P(
    InchFractions, FormatLengthTest,
    ::testing::Values(FormatCase{3810, 0, 16, "1" + kInch + "1/2"}, FormatCase{635, 0, 16, "1/4"},
                      FormatCase{-635, 0, 16, "-1/4"}, FormatCase{-3810, 0, 16, "-1" + kInch + "1/2"},
                      FormatCase{9525, 0, 16, "3" + kInch + "3/4"}, FormatCase{-9525, 0, 16, "-3" + kInch + "3/4"},
                      FormatCase{5080, 0, 16, "2"}, FormatCase{0, 0, 16, "0"}, FormatCase{5, 0, 16, "0"},
                      FormatCase{-5, 0, 16, "0"}, FormatCase{2530, 0, 16, "1"},
                      FormatCase{-2530, 0, 16, "-1"}, FormatCase{-5080, 0, 16, "-2"}));

// 3000 units are 1.1811 inches.
INSTANTIATE_TEST_SUITE_P(
    EveryDenominator, FormatLengthTest,
    ::testing::Values(FormatCase{3000, 0, 1, "1"}, FormatCase{3810, 0, 1, "2"},
                      FormatCase{3000, 0, 2, "1"}, FormatCase{3000, 0, 4, "1" + kInch + "1/4"},
                      FormatCase{3000, 0, 8, "1" + kInch + "1/8"}, FormatCase{3000, 0, 16, "1" + kInch + "3/16"},
                      FormatCase{3000, 0, 32, "1" + kInch + "3/16"}, FormatCase{3000, 0, 64, "1" + kInch + "3/16"},
                      FormatCase{3000, 0, 128, "1" + kInch + "23/128"},
                      FormatCase{3000, 0, 256, "1" + kInch + "23/128"},
                      FormatCase{3000, 0, 512, "1" + kInch + "93/512"},
                      FormatCase{3000, 0, 1024, "1" + kInch + "185/1024"},
                      FormatCase{3000, 0, 2048, "1" + kInch + "371/2048"},
                      FormatCase{635, 0, 2, "1/2"}, FormatCase{-635, 0, 2, "-1/2"},
                      // A denominator below 1 is whole inches, not a step up.
                      FormatCase{0, 0, 0, "0"}, FormatCase{3000, 0, 0, "1"}));

INSTANTIATE_TEST_SUITE_P(
    UnknownUnits, FormatLengthTest,
    ::testing::Values(FormatCase{1000, 4, 100, ""}, FormatCase{1000, -1, 100, ""}));

TEST(FormatLength, OtherScales)
{
    // One caller works in thousandths of a millimetre.
    EXPECT_EQ(FormatLength(25400, 1000, 1, 10000), "1");
    EXPECT_EQ(FormatLength(31750, 1000, 1, 10000), "1.25");
    EXPECT_EQ(FormatLength(1234, 10, 3, 100), "123.4");
    EXPECT_EQ(FormatLength(1234, 0, 3, 100), "");
}

TEST(FormatLength, EntryPointsAgreeWithTheDispatcher)
{
    EXPECT_EQ(FormatCmLength(12340, kUpm, 100), FormatLength(12340, kUpm, 2, 100));
    EXPECT_EQ(FormatMmLength(1234, kUpm, 10), FormatLength(1234, kUpm, 3, 10));
    EXPECT_EQ(FormatInchLength(3810, kUpm, 1, 100), "1.5");
    EXPECT_EQ(FormatInchLength(3810, kUpm, 0, 16), "1" + kInch + "1/2");
    EXPECT_EQ(FormatInchLength(3810, kUpm, 7, 16), "1" + kInch + "1/2");
}

TEST(UnitSuffix, EveryCode)
{
    EXPECT_EQ(UnitSuffix(0), "in.");
    EXPECT_EQ(UnitSuffix(1), "in.");
    EXPECT_EQ(UnitSuffix(2), "cm");
    EXPECT_EQ(UnitSuffix(3), "mm");
    EXPECT_EQ(UnitSuffix(4), "");
    EXPECT_EQ(UnitSuffix(-1), "");
}

struct ParseCase {
    std::string text;
    int unit;
    int value;
};

void PrintTo(const ParseCase& c, std::ostream* os) { *os << '"' << c.text << "\" unit " << c.unit; }

class ParseLengthTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseLengthTest, Value)
{
    const ParseCase& c = GetParam();
    EXPECT_EQ(ParseLength(c.text, kUpm, c.unit), c.value);
}

INSTANTIATE_TEST_SUITE_P(
    Decimal, ParseLengthTest,
    ::testing::Values(ParseCase{"12.5", 2, 12500}, ParseCase{"12.5", 3, 1250}, ParseCase{"1.5", 1, 3810},
                      ParseCase{" 12.5 cm", 2, 12500}, ParseCase{"-3.2e1", 2, -32000},
                      ParseCase{"0.004", 3, 0}, ParseCase{"0.005", 3, 1}, ParseCase{"-0.005", 3, -1},
                      ParseCase{"abc", 2, 0}, ParseCase{"", 3, 0}, ParseCase{"1e12", 3, 2147483646},
                      // The decimal separator is always the point, whatever the locale.
                      ParseCase{"1,5", 3, 100}, ParseCase{"1,5", 2, 1000},
                      // Decimal inches read only the leading number.
                      ParseCase{"1\"1/2", 1, 2540}, ParseCase{"2in.", 1, 5080},
                      ParseCase{"12.5", 4, 0}, ParseCase{"12.5", -1, 0}));

INSTANTIATE_TEST_SUITE_P(
    InchForms, ParseLengthTest,
    ::testing::Values(ParseCase{"1\"1/2", 0, 3810}, ParseCase{"1'1/2", 0, 3810}, ParseCase{"1.5", 0, 3810},
                      ParseCase{"3/2", 0, 3810}, ParseCase{"1\"5", 0, 3810}, ParseCase{"-1/2", 0, -1270},
                      ParseCase{"1 1/2", 0, 13970}, ParseCase{"2", 0, 5080}, ParseCase{"+3/4", 0, 1905},
                      ParseCase{"-1\"1/2", 0, -3810}, ParseCase{"-1.5", 0, -3810}, ParseCase{"-.5", 0, -1270},
                      ParseCase{"1\"", 0, 2540}, ParseCase{"1.", 0, 2540}, ParseCase{" 2 \" 1 / 4 ", 0, 5715},
                      ParseCase{"1\"0/4", 0, 2540}, ParseCase{"0\"3/4", 0, 1905}, ParseCase{"-0\"1/2", 0, -1270},
                      ParseCase{"1\"25", 0, 3175}, ParseCase{"1\"1/2048", 0, 2541}));

INSTANTIATE_TEST_SUITE_P(
    InchRefusals, ParseLengthTest,
    ::testing::Values(ParseCase{"1/0", 0, 0}, ParseCase{"1/", 0, 0}, ParseCase{"1/x", 0, 0},
                      ParseCase{"1.5.5", 0, 0}, ParseCase{"abc", 0, 0}, ParseCase{"", 0, 0},
                      ParseCase{"-", 0, 0}, ParseCase{"1\"1/0", 0, 0}, ParseCase{"1\"1/", 0, 0},
                      ParseCase{"1\"1/2x", 0, 0}, ParseCase{"1/2\"", 0, 0}, ParseCase{"1/2/3", 0, 0},
                      ParseCase{"1\"x", 0, 0}, ParseCase{"+-1", 0, 0}, ParseCase{"1,5", 0, 0},
                      ParseCase{"2in", 0, 0}, ParseCase{"1\t1/2", 0, 0}));

TEST(ParseInchText, ModesAndScale)
{
    EXPECT_EQ(ParseInchText("1.5", kUpm, 1), 3810);
    EXPECT_EQ(ParseInchText("3/2", kUpm, 1), 7620); // only the leading 3
    EXPECT_EQ(ParseInchText("3/2", kUpm, 0), 3810);
    EXPECT_EQ(ParseInchText("1", 1000, 1), 25400);
    EXPECT_DOUBLE_EQ(ParseInchLength("1\"1/2"), 1.5);
    EXPECT_DOUBLE_EQ(ParseInchLength("-3'3/4"), -3.75);
}

struct FractionCase {
    std::string text;
    double value;
};

void PrintTo(const FractionCase& c, std::ostream* os) { *os << '"' << c.text << '"'; }

class ParseFractionTest : public ::testing::TestWithParam<FractionCase> {};

TEST_P(ParseFractionTest, Value)
{
    const FractionCase& c = GetParam();
    EXPECT_DOUBLE_EQ(ParseFraction(c.text), c.value);
}

INSTANTIATE_TEST_SUITE_P(
    Forms, ParseFractionTest,
    ::testing::Values(FractionCase{"3/4", 0.75}, FractionCase{" 3 / 4 ", 0.75}, FractionCase{"-1/2", -0.5},
                      FractionCase{"1.5", 1.5}, FractionCase{"+2", 2.0}, FractionCase{"1.5/3", 0.5},
                      FractionCase{"-.5", -0.5}, FractionCase{"2/0", 0.0}, FractionCase{"1,5", 0.0},
                      FractionCase{"", 0.0}, FractionCase{"3/", 0.0}, FractionCase{"3/4/5", 0.0},
                      FractionCase{"3/.5", 0.0}, FractionCase{"1e3", 0.0}, FractionCase{"1\"", 0.0}));

// What is shown reads back to the same length, within half a step of the
// precision.
TEST(WorkUnits, ShownLengthsReadBack)
{
    struct Setting {
        int unit;
        int precision;
        double halfStep; // model units
    };
    const Setting settings[] = {
        {0, 16, 2540.0 / 32}, {0, 2048, 2540.0 / 4096 + 0.5}, {1, 100, 12.7 + 0.5}, {1, 10000, 0.5},
        {2, 1, 500.0}, {2, 100, 5.0}, {2, 10000, 0.5}, {3, 10, 5.0}, {3, 100, 0.5}};
    const int values[] = {0, 1, 7, 99, 254, 635, 1000, 3810, 12345, 99999, 2100000, -1, -635, -3810, -12345};
    for (const Setting& s : settings) {
        for (const int v : values) {
            const std::string text = FormatLength(v, kUpm, s.unit, s.precision);
            const int back = ParseLength(text, kUpm, s.unit);
            EXPECT_LE(std::abs(back - v), s.halfStep)
                << v << " in unit " << s.unit << " at " << s.precision << " shows \"" << text << '"';
        }
    }
}

// Qt sets the process locale from the environment; a German user must still
// see and type decimal points.
class CommaLocale : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_saved = std::setlocale(LC_ALL, nullptr);
        for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE", "fr_FR.UTF-8", "ru_RU.UTF-8"}) {
            if (std::setlocale(LC_ALL, name)) {
                m_armed = true;
                break;
            }
        }
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    }
    void TearDown() override
    {
        std::setlocale(LC_ALL, m_saved.c_str());
        QLocale::setDefault(QLocale::c());
    }
    std::string m_saved;
    bool m_armed = false;
};

TEST_F(CommaLocale, NoCommaIsWrittenOrExpected)
{
    if (m_armed) {
        ASSERT_EQ(std::localeconv()->decimal_point, std::string(","));
    }
    EXPECT_EQ(FormatLength(12340, kUpm, 2, 100), "12.34");
    EXPECT_EQ(FormatLength(3000, kUpm, 1, 10000), "1.1811");
    EXPECT_EQ(FormatLength(125, kUpm, 3, 10), "1.3");
    EXPECT_EQ(FormatFixed(0.25, 1), "0.3");
    EXPECT_EQ(FormatNumberText(1234.5), "1234.5");
    EXPECT_EQ(ParseLength("12.5", kUpm, 2), 12500);
    EXPECT_EQ(ParseLength("1.5", kUpm, 1), 3810);
    EXPECT_EQ(ParseLength("1.5", kUpm, 0), 3810);
    EXPECT_DOUBLE_EQ(ParseFraction("1.5"), 1.5);
    EXPECT_DOUBLE_EQ(LeadingNumber("2.25e1"), 22.5);
    for (int v = -5000; v <= 5000; v += 37) {
        for (const int unit : {1, 2, 3}) {
            for (const int precision : {10, 100, 1000, 10000}) {
                const std::string text = FormatLength(v * 101, kUpm, unit, precision);
                EXPECT_EQ(text.find(','), std::string::npos) << text;
            }
        }
    }
}

} // namespace
