#include "grading/CConditionFilter.h"

#include "GradingTestSupport.h"

#include <gtest/gtest.h>

namespace {

const CTextRows kBody = GTable({"姓名", "性别", "胸围", "腰围"}, {{"a", "男", "96", "78"},
                                                                {"b", "女", "96", "84"},
                                                                {"c", "男 ", "90", "85"},
                                                                {"d", "男", "95", "80"},
                                                                {"e", "男", "94.9", "90"},
                                                                {"f", "男", "96", "91.1"}});

std::vector<std::string> Names(const std::vector<CTextRows::Row>& rows)
{
    std::vector<std::string> out;
    for (const auto& r : rows) out.push_back(r.at(0));
    return out;
}

TEST(ConditionFilter, KeepsThePersonsWhoseItemReadsTheText)
{
    CConditionIndex index;
    index.conditionOn = true;
    index.item = G("性别");
    index.text = G("男");
    CTextRows kept;
    std::vector<CTextRows::Row> special;
    ASSERT_EQ(CConditionFilter::Apply(kBody, index, kept, special), CConditionFilter::Error::None);
    EXPECT_EQ(kept.header, kBody.header);
    EXPECT_EQ(Names(kept.rows), (std::vector<std::string>{"a", "d", "e", "f"})); // "男 " is not "男"
    EXPECT_TRUE(special.empty());

    index.text.clear();
    ASSERT_EQ(CConditionFilter::Apply(kBody, index, kept, special), CConditionFilter::Error::None);
    EXPECT_EQ(kept, kBody);
}

TEST(ConditionFilter, PersonsOutsideTheRangeAreSpecialBodies)
{
    struct Case {
        double lower, upper;
        std::vector<std::string> special;
    };
    // Differences: a 18, b 12, c 5, d 15, e 4.9, f 4.9.
    const Case cases[] = {
        {5, 15, {"a", "e", "f"}},
        {15, 15, {}},
        {15, 5, {}},
        {-100, 100, {}},
        {13, 20, {"b", "c", "e", "f"}},
    };
    for (const Case& c : cases) {
        CConditionIndex index;
        index.specialOn = true;
        index.minuend = G("胸围");
        index.subtrahend = G("腰围");
        index.lower = c.lower;
        index.upper = c.upper;
        CTextRows kept;
        std::vector<CTextRows::Row> special;
        ASSERT_EQ(CConditionFilter::Apply(kBody, index, kept, special), CConditionFilter::Error::None);
        EXPECT_EQ(Names(special), c.special) << c.lower << " " << c.upper;
        EXPECT_EQ(kept.rows.size() + special.size(), kBody.rows.size());
    }
}

TEST(ConditionFilter, BothFiltersTogetherAndTheEdgeCases)
{
    CConditionIndex index;
    index.conditionOn = true;
    index.item = G("性别");
    index.text = G("男");
    index.specialOn = true;
    index.minuend = G("胸围");
    index.subtrahend = G("腰围");
    index.lower = 5;
    index.upper = 15;
    CTextRows kept;
    std::vector<CTextRows::Row> special;
    ASSERT_EQ(CConditionFilter::Apply(kBody, index, kept, special), CConditionFilter::Error::None);
    EXPECT_EQ(Names(kept.rows), (std::vector<std::string>{"d"}));
    EXPECT_EQ(Names(special), (std::vector<std::string>{"a", "e", "f"}));

    // The same column twice sets nobody apart.
    index.conditionOn = false;
    index.subtrahend = index.minuend;
    ASSERT_EQ(CConditionFilter::Apply(kBody, index, kept, special), CConditionFilter::Error::None);
    EXPECT_TRUE(special.empty());

    // Everybody special: the header stays alone.
    index.subtrahend = G("腰围");
    index.lower = 100;
    index.upper = 200;
    ASSERT_EQ(CConditionFilter::Apply(kBody, index, kept, special), CConditionFilter::Error::None);
    EXPECT_TRUE(kept.rows.empty());
    EXPECT_EQ(kept.header, kBody.header);
    EXPECT_EQ(special.size(), kBody.rows.size());

    // An item no column has is named, and nothing is filtered.
    index.subtrahend = G("臀围");
    std::string item;
    kept = CTextRows();
    EXPECT_EQ(CConditionFilter::Apply(kBody, index, kept, special, &item), CConditionFilter::Error::ItemMissing);
    EXPECT_EQ(item, G("臀围"));
    EXPECT_TRUE(kept.header.empty());
}

} // namespace
