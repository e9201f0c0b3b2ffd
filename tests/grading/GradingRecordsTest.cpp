#include "grading/CDoubleArrayRecord.h"
#include "grading/CMeasureColumn.h"

#include <gtest/gtest.h>

namespace {

CDoubleArrayRecord Keys(std::initializer_list<double> keys, int values = 0)
{
    CDoubleArrayRecord r(int(keys.size()), 1, values);
    int i = 0;
    for (double k : keys) r.SetKey(i++, k);
    return r;
}

TEST(GradingRecords, KeysAreEqualOnlyWhenEveryOwnKeyIsTheSameNumber)
{
    EXPECT_TRUE(Keys({160, 84}).HasEqualKeys(Keys({160, 84})));
    EXPECT_FALSE(Keys({160, 84}).HasEqualKeys(Keys({160, 88})));
    // Only the caller's own keys are compared...
    EXPECT_TRUE(Keys({160}).HasEqualKeys(Keys({160, 88})));
    // ...and a key the other record lacks never matches.
    EXPECT_FALSE(Keys({160, 84}).HasEqualKeys(Keys({160})));
    // Exact comparison, no tolerance.
    EXPECT_FALSE(Keys({160.0}).HasEqualKeys(Keys({160.0000001})));
}

TEST(GradingRecords, OnlyTheFirstKeyOrdersSizes)
{
    EXPECT_FALSE(Keys({160, 84}).IsFirstKeyGreater(Keys({160, 88})));
    EXPECT_FALSE(Keys({160, 88}).IsFirstKeyGreater(Keys({160, 84})));
    EXPECT_TRUE(Keys({165, 80}).IsFirstKeyGreater(Keys({160, 88})));
    EXPECT_FALSE(CDoubleArrayRecord().IsFirstKeyGreater(Keys({1})));
    EXPECT_FALSE(Keys({1}).IsFirstKeyGreater(CDoubleArrayRecord()));
}

TEST(GradingRecords, SumsAverageOverTheGroupsPersons)
{
    CDoubleArrayRecord group(1, 3, 2);
    group.SetValue(0, 80);
    group.SetValue(1, 1);
    CDoubleArrayRecord second(1, 1, 2);
    second.SetValue(0, 82);
    second.SetValue(1, 2);
    CDoubleArrayRecord third(1, 1, 2);
    third.SetValue(0, 84);
    group.AddValues(second).AddValues(third);
    group.AverageValues();
    EXPECT_DOUBLE_EQ(group.GetValue(0), 82);
    EXPECT_DOUBLE_EQ(group.GetValue(1), 1);

    // Nothing to average over: the sums stay.
    CDoubleArrayRecord empty(1, 0, 1);
    empty.SetValue(0, 7);
    empty.AverageValues();
    EXPECT_EQ(empty.GetValue(0), 7);
}

TEST(GradingRecords, CopiesOwnTheirArraysAndIndexesOutsideAreHarmless)
{
    CMeasureColumn column(3);
    column.SetName("height");
    column.SetValue(2, 170.5);
    CMeasureColumn copy = column;
    column.SetValue(2, 1);
    EXPECT_EQ(copy.GetName(), "height");
    EXPECT_EQ(copy.GetCount(), 3);
    EXPECT_EQ(copy.GetValue(2), 170.5);
    column.SetValue(3, 9);
    column.SetValue(-1, 9);
    EXPECT_EQ(column.GetValue(3), 0);
    EXPECT_EQ(column.GetValue(-1), 0);

    CDoubleArrayRecord a = Keys({160, 84}, 1);
    a.SetValue(0, 5);
    CDoubleArrayRecord b;
    b = a;
    a.SetKey(0, 1);
    EXPECT_EQ(b.GetKey(0), 160);
    EXPECT_EQ(b.GetValue(0), 5);
    EXPECT_EQ(b.GetKeyCount(), 2);
    EXPECT_EQ(b.GetKey(2), 0);
}

} // namespace
