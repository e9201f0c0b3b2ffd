#include "grading/CMeasureSheet.h"
#include "grading/GradingTexts.h"

#include "GradingTestSupport.h"

#include <gtest/gtest.h>

namespace {

TEST(GradingTexts, OnlyTextsThatAreWholeNumbersAreCutAfterTheirFirstDecimal)
{
    const std::pair<const char*, const char*> cases[] = {
        {"165.46", "165.4"}, {"170.25", "170.2"}, {"82", "82"},       {"-0.55", "-0.5"},
        {".55", ".5"},       {"165.", "165."},    {"165.4", "165.4"}, {"J.Smith", "J.Smith"},
        {"2017.01.21", "2017.01.21"}, {"a.bc", "a.bc"}, {"1.5e3", "1.5e3"}, {" 1.55", " 1.55"},
        {"", ""},            {"胸围.12", "胸围.12"},
    };
    for (const auto& c : cases) EXPECT_EQ(CutMeasurementText(G(c.first)), G(c.second)) << c.first;
}

TEST(GradingTexts, SizesAndAveragesAreCutNotRounded)
{
    EXPECT_EQ(SizeText(84.5, true), "84");
    EXPECT_EQ(SizeText(-3.5, true), "-3");
    EXPECT_EQ(SizeText(165, true), "165");
    EXPECT_EQ(SizeText(162.5, false), "162.5");
    EXPECT_EQ(SizeText(160, false), "160");
    EXPECT_EQ(AverageText(83.96), "83.9");
    EXPECT_EQ(AverageText(0), "0.0");
    EXPECT_EQ(AverageText(-0.04), "-0.0");
    EXPECT_EQ(AverageText(82.0), "82.0");
}

TEST(MeasureSheet, ItemNamesBecomeUniqueAndNonEmpty)
{
    struct Case {
        std::vector<const char*> names, expected;
    };
    const Case cases[] = {
        {{"身高", "", "胸围"}, {"身高", "列2", "胸围"}},
        {{"胸围", "胸围", "胸围"}, {"胸围", "胸围(2)", "胸围(3)"}},
        {{"胸围", "胸围", "胸围(2)"}, {"胸围", "胸围(3)", "胸围(2)"}},
        {{"", "列1"}, {"列1(2)", "列1"}},
        {{"  ", "x", ""}, {"列1", "x", "列3"}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> names, expected;
        for (const char* n : c.names) names.push_back(G(n));
        for (const char* n : c.expected) expected.push_back(G(n));
        EXPECT_EQ(CMeasureSheet::UniqueNames(names), expected) << c.expected[1];
    }
}

TEST(MeasureSheet, BlankRowsAreNoPersonsAndAreCounted)
{
    const std::vector<std::vector<std::string>> cells{
        GRow({"身高", "胸围", "胸围"}), GRow({"160", "84", ""}), GRow({"", "", ""}),
        GRow({"165"}),                 GRow({" ", "", "\t"}),   GRow({"", "", "x"})};
    const CMeasureSheet sheet = CMeasureSheet::FromCells(cells);
    EXPECT_EQ(sheet.SkippedBlankRows(), 2);
    EXPECT_EQ(sheet.Table(), GTable({"身高", "胸围", "胸围(2)"}, {{"160", "84", ""}, {"165", "", ""}, {"", "", "x"}}));

    EXPECT_EQ(CMeasureSheet::FromCells({}).Table().ColumnCount(), 0);
    const CMeasureSheet headerOnly = CMeasureSheet::FromCells({GRow({"a"})});
    EXPECT_EQ(headerOnly.Table().header, GRow({"a"}));
    EXPECT_TRUE(headerOnly.Table().rows.empty());
}

} // namespace
