#include "grading/CSerialSort.h"

#include "GradingTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>

namespace {

using Rows = std::vector<CTextRows::Row>;

std::vector<std::string> Column(const Rows& rows, int c)
{
    std::vector<std::string> out;
    for (const auto& r : rows) out.push_back(c < int(r.size()) ? r[std::size_t(c)] : "-");
    return out;
}

TEST(SerialSort, NumbersCompareAsNumbersAndEverythingElseAsStrings)
{
    struct Case {
        std::vector<const char*> texts, sorted;
    };
    const Case cases[] = {
        {{"170", "165", "abc"}, {"165", "170", "abc"}},
        {{"5", "0"}, {"0", "5"}},
        {{"10", "9", "0"}, {"0", "9", "10"}},
        {{"9", "10"}, {"9", "10"}},
        {{"张三", "李四", "王五"}, {"李四", "王五", "张三"}}, // GBK order
        {{"170.0", "170"}, {"170.0", "170"}},
    };
    for (const Case& c : cases) {
        Rows rows;
        for (const char* t : c.texts) rows.push_back({G(t)});
        CSerialSort::Sort(rows, 0, 0, false);
        std::vector<std::string> expected;
        for (const char* t : c.sorted) expected.push_back(G(t));
        EXPECT_EQ(Column(rows, 0), expected) << c.texts[0];
    }
}

TEST(SerialSort, TheSecondaryColumnDecidesOnlyBetweenTheSamePrimaryStrings)
{
    Rows rows{{"170", "b"}, {"170", "a"}, {"170.0", "0"}, {"165"}};
    Rows copy = rows;
    // Without the secondary column equal primaries stay as they are.
    CSerialSort::Sort(copy, 0, 1, false);
    EXPECT_EQ(Column(copy, 1), (std::vector<std::string>{"-", "b", "a", "0"}));
    // With it, "170" "b" and "170" "a" change places; "170.0" equals "170"
    // as a number but is another string: no secondary comparison.
    CSerialSort::Sort(rows, 0, 1, true);
    EXPECT_EQ(Column(rows, 0), (std::vector<std::string>{"165", "170", "170", "170.0"}));
    EXPECT_EQ(Column(rows, 1), (std::vector<std::string>{"-", "a", "b", "0"}));
    // A row without the column reads an empty text.
    EXPECT_TRUE(CSerialSort::IsGreater({"x"}, {}, 0, 0, false));
    EXPECT_FALSE(CSerialSort::IsGreater({}, {"x"}, 5, 5, true));
}

// The sort as written for the personal-information tables: every pass,
// every pair, atof at every comparison.
void PlainBubbleSort(Rows& rows, int p, int s, bool secondary)
{
    auto greater = [](const std::string& a, const std::string& b) {
        const double x = std::atof(a.c_str());
        const double y = std::atof(b.c_str());
        if (x != 0 && y != 0) return x > y;
        return std::strcmp(a.c_str(), b.c_str()) > 0;
    };
    const std::size_t n = rows.size();
    for (std::size_t i = 1; i < n; ++i) {
        for (std::size_t j = 0; j + i < n; ++j) {
            const std::string& a = rows[j][std::size_t(p)];
            const std::string& b = rows[j + 1][std::size_t(p)];
            bool swap = greater(a, b);
            if (!swap && secondary && std::strcmp(a.c_str(), b.c_str()) == 0)
                swap = greater(rows[j][std::size_t(s)], rows[j + 1][std::size_t(s)]);
            if (swap) std::swap(rows[j], rows[j + 1]);
        }
    }
}

TEST(SerialSort, MakesTheExchangesOfTheBubbleSortOnAnyTexts)
{
    // Zeros, numbers written alike and unalike, texts and negative numbers
    // make the comparison neither strict nor transitive.
    const char* pool[] = {"0", "00", "170", "170.0", "165", "9", "10", "abc", "", "-3", "1e2", "100", "a1", "0.0"};
    std::mt19937 random(7);
    for (int round = 0; round < 200; ++round) {
        Rows rows;
        const int n = int(random() % 25);
        for (int i = 0; i < n; ++i)
            rows.push_back({pool[random() % 14], pool[random() % 14], std::to_string(i)});
        const bool secondary = random() % 2;
        Rows expected = rows;
        PlainBubbleSort(expected, 0, 1, secondary);
        CSerialSort::Sort(rows, 0, 1, secondary);
        ASSERT_EQ(rows, expected) << "round " << round;
    }
}

TEST(SerialSort, ManyPersonsSortQuickly)
{
    Rows rows;
    for (int i = 10000; i > 0; --i) rows.push_back({std::to_string(i)});
    EXPECT_EQ(CSerialSort::Sort(rows, 0, 0, false), 10000LL * 9999 / 2);
    EXPECT_EQ(rows.front()[0], "1");
    EXPECT_EQ(rows.back()[0], "10000");
    EXPECT_EQ(CSerialSort::Sort(rows, 0, 0, false), 0);
}

} // namespace
