#include "grading/CGradingRun.h"
#include "grading/CSmlFile.h"
#include "grading/GradingTexts.h"
#include "settings/FileSaving.h"

#include "GradingTestSupport.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

struct GradeCase {
    double value, base, interval, graded;
};

TEST(GradingRun, ValuesMoveToTheNearestStepTiesTowardTheBase)
{
    const GradeCase cases[] = {
        // Whole intervals: the distance is rounded to whole units first.
        {162.4, 160, 5, 160},
        {162.5, 160, 5, 165},
        {157.5, 160, 5, 155},
        {157.6, 160, 5, 160},
        {160, 160, 5, 160},
        {162, 160, 4, 160}, // r = 2 = I / 2 stays with the base
        {163, 160, 4, 164},
        {158, 160, 4, 160},
        {157, 160, 4, 156},
        {171, 160, 5, 170},
        {173, 160, 5, 175},
        {162.5, 160, -5, 165}, // a negative interval grades as its size
        // The base's fraction stays.
        {82, 84.5, 4, 80.5},
        {84, 84.5, 4, 84.5},
        {87, 84.5, 4, 88.5},
        // Intervals that are no whole number grade by the exact distance.
        {161.3, 160, 2.5, 162.5},
        {161.25, 160, 2.5, 160},
        {163.7, 160, 2.5, 162.5},
        {163.8, 160, 2.5, 165},
        {158.7, 160, 2.5, 157.5},
        {160.2, 160, 0.3, 160.3},
        {160.1, 160, 0.3, 160},
    };
    for (const GradeCase& c : cases)
        EXPECT_NEAR(CGradingRun::GradeValue(c.value, c.base, c.interval), c.graded, 1e-9)
            << c.value << " base " << c.base << " interval " << c.interval;
}

TEST(GradingRun, SizesAreGroupedByAllKeysAndSortedByTheFirstAlone)
{
    // Height and chest: (160, 84) and (160, 88) are two sizes; 165 comes
    // before 160 in the table, and sizes of one height keep their
    // first-person order after sorting.
    const CTextRows body = GTable({"身高", "胸围", "腰围"}, {{"166", "84", "70"},
                                                             {"161", "84", "72"},
                                                             {"159", "88", "74"},
                                                             {"164", "88", "76"},
                                                             {"160", "85", "78"}});
    CGradingRun run;
    ASSERT_EQ(run.Run(body, {{G("身高"), 160, 5}, {G("胸围"), 84, 4}}), CGradingRun::Error::None);
    // In first-person order (165, 84), (160, 84), (160, 88), (165, 88).
    ASSERT_EQ(run.Groups().size(), 4u);
    const auto& g = run.Groups();
    const double keys[4][2] = {{160, 84}, {160, 88}, {165, 84}, {165, 88}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(g[std::size_t(i)].GetKey(0), keys[i][0]) << i;
        EXPECT_EQ(g[std::size_t(i)].GetKey(1), keys[i][1]) << i;
    }
    EXPECT_EQ(g[0].GetPersons(), 2);
    // The averages cover every column, the basis items included.
    ASSERT_EQ(g[0].GetValueCount(), 3);
    EXPECT_DOUBLE_EQ(g[0].GetValue(0), 160.5);
    EXPECT_DOUBLE_EQ(g[0].GetValue(2), 75);

    ASSERT_EQ(run.GradingColumns().size(), 5u);
    EXPECT_EQ(run.GradingColumns()[0].GetName(), G("身高号型"));
    EXPECT_EQ(run.GradingColumns()[1].GetName(), G("胸围号型"));
    EXPECT_EQ(run.GradingColumns()[2].GetName(), G("身高"));

    const CTextRows expected = GTable({"身高号型", "胸围号型", "人数分布", "身高", "胸围", "腰围"},
                                      {{"160", "84", "2", "160.5", "84.5", "75.0"},
                                       {"160", "88", "1", "159.0", "88.0", "74.0"},
                                       {"165", "84", "1", "166.0", "84.0", "70.0"},
                                       {"165", "88", "1", "164.0", "88.0", "76.0"}});
    EXPECT_EQ(run.GradedSizeTable(), expected);
}

TEST(GradingRun, ASinglePersonIsASizeOfItsOwnValues)
{
    CGradingRun run;
    ASSERT_EQ(run.Run(GTable({"h", "c"}, {{"171.26", "83.96"}}), {{"h", 170, 5}}), CGradingRun::Error::None);
    ASSERT_EQ(run.Groups().size(), 1u);
    EXPECT_EQ(run.Groups()[0].GetPersons(), 1);
    EXPECT_DOUBLE_EQ(run.Groups()[0].GetValue(1), 83.96);
    // Cut, not rounded.
    EXPECT_EQ(run.GradedSizeTable().rows[0], (CTextRows::Row{"170", "1", "171.2", "83.9"}));
}

TEST(GradingRun, MeasurementsPassThroughTheirSixDecimalText)
{
    // 162.4999999 reads 162.500000 and grades up; the personal table grades
    // the cell text as it stands.
    CGradingRun run;
    ASSERT_EQ(run.Run(GTable({"h"}, {{"162.4999999"}}), {{"h", 160, 5}}), CGradingRun::Error::None);
    EXPECT_EQ(run.Groups()[0].GetKey(0), 165);
    EXPECT_EQ(run.PersonalRows()[0], (CTextRows::Row{"160", "162.4999999"}));
}

TEST(GradingRun, BasisItemsMustNameExactlyOneColumnAndPersonsMustExist)
{
    const CTextRows body = GTable({"身高", "胸围", "胸围", "姓名"}, {{"160", "84", "85", "张三"}});
    std::string item;
    EXPECT_EQ(CGradingRun::Check(body, {G("身高")}, &item), CGradingRun::Error::None);
    EXPECT_EQ(CGradingRun::Check(body, {G("身高"), G("腰围")}, &item), CGradingRun::Error::BasisMissing);
    EXPECT_EQ(item, G("腰围"));
    EXPECT_EQ(CGradingRun::Check(body, {G("胸围")}, &item), CGradingRun::Error::BasisRepeated);
    EXPECT_EQ(item, G("胸围"));
    EXPECT_EQ(CGradingRun::Check(GTable({"身高"}, {}), {G("身高")}), CGradingRun::Error::NoPersons);

    // Nothing is computed for a refused run.
    CGradingRun run;
    EXPECT_EQ(run.Run(body, {{G("腰围"), 1, 1}}), CGradingRun::Error::BasisMissing);
    EXPECT_TRUE(run.Groups().empty());
    EXPECT_TRUE(run.GradingColumns().empty());
}

TEST(GradingRun, MissingCellsReadAsEmptyAndNonNumbersAsZero)
{
    CTextRows body = GTable({"h", "c"}, {{"160", "84"}, {"abc"}});
    CGradingRun run;
    ASSERT_EQ(run.Run(body, {{"h", 160, 5}}), CGradingRun::Error::None);
    ASSERT_EQ(run.Groups().size(), 2u);
    EXPECT_EQ(run.Groups()[0].GetKey(0), 0); // 0 grades to 0 from 160 in steps of 5
    EXPECT_EQ(run.PersonalRows()[1], (CTextRows::Row{"0", "abc", ""}));
}

TEST(GradingRun, ColumnsOfTextAreLeftOutOfTheTablesOnceForAllSizes)
{
    // Names average to 0.0 in every size and are not shown; a column that
    // reads 0.0 only in the first size stays, on every page.
    const CTextRows body = GTable({"姓名", "身高", "补差"}, {{"张三", "160", "0"},
                                                             {"李四", "170", "2"}});
    CGradingRun run;
    ASSERT_EQ(run.Run(body, {{G("身高"), 160, 5}}), CGradingRun::Error::None);
    const std::vector<bool> shown = run.ShownColumns();
    EXPECT_EQ(shown, (std::vector<bool>{true, true, false, true, true}));
    const CTextRows table = CGradingRun::KeepColumns(run.GradedSizeTable(), shown);
    EXPECT_EQ(table, GTable({"身高号型", "人数分布", "身高", "补差"}, {{"160", "1", "160.0", "0.0"},
                                                                       {"170", "1", "170.0", "2.0"}}));
    // The result file keeps every column.
    EXPECT_EQ(run.ResultFileTable().header, GRow({"", "人数分布", "姓名", "身高", "补差"}));
}

TEST(GradingRun, SizesOfFractionalIntervalsKeepTheirFraction)
{
    CGradingRun run;
    ASSERT_EQ(run.Run(GTable({"h", "c"}, {{"161.3", "84"}, {"160.2", "86"}}), {{"h", 160, 2.5}, {"c", 84.5, 4}}),
              CGradingRun::Error::None);
    EXPECT_EQ(run.ResultFileTable().rows[0][0], "160/84");
    EXPECT_EQ(run.ResultFileTable().rows[1][0], "162.5/84");
}

TEST(GradingRun, TheResultFileHoldsTheSizesByteForByte)
{
    // One basis item 身高, items 身高 and 胸围; sizes 160 of three persons
    // and 165 of one.
    const CTextRows body = GTable({"身高", "胸围"}, {{"158", "80"}, {"160", "82"}, {"166", "88.25"}, {"162", "84"}});
    CGradingRun run;
    ASSERT_EQ(run.Run(body, {{G("身高"), 160, 5}}), CGradingRun::Error::None);
    const std::string expected = Hex("03000000 04000000"
                                     "00"
                                     "08 c8cbcafdb7d6b2bc"
                                     "04 c9edb8df"
                                     "04 d0d8cea7"
                                     "03 313630  01 33  05 3136302e30  04 38322e30"
                                     "03 313635  01 31  05 3136362e30  04 38382e32");
    EXPECT_EQ(CSmlFile::Bytes(run.ResultFileTable()), expected);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("结果.sml"));
    QString error;
    ASSERT_TRUE(SaveWholeFile(path, CSmlFile::Bytes(run.ResultFileTable()), &error)) << error.toStdString();
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray written = file.readAll();
    EXPECT_EQ(std::string(written.constData(), std::size_t(written.size())), expected);
    // Only the file itself is left behind.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 1);
}

TEST(GradingRun, AFailedResultFileWriteSaysWhyAndLeavesTheOldFile)
{
    QTemporaryDir dir;
    QString error;
    EXPECT_FALSE(SaveWholeFile(dir.filePath(QStringLiteral("missing/x.sml")), CSmlFile::Bytes(CTextRows()), &error));
    EXPECT_FALSE(error.isEmpty());

    const QString path = dir.filePath(QStringLiteral("old.sml"));
    QFile old(path);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old");
    old.close();
    QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    const bool written = SaveWholeFile(path, CSmlFile::Bytes(GTable({"a"}, {{"1"}})), &error);
    QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    if (!written) {
        QFile back(path);
        ASSERT_TRUE(back.open(QIODevice::ReadOnly));
        EXPECT_EQ(back.readAll(), QByteArray("old"));
    }
}

TEST(GradingRun, LongTextsUseTheWideLengthPrefix)
{
    CTextRows table;
    table.header = {std::string(300, 'x')};
    const std::string bytes = CSmlFile::Bytes(table);
    EXPECT_EQ(bytes.substr(0, 8), Hex("01000000 01000000"));
    EXPECT_EQ(bytes.substr(8, 3), Hex("ff 2c01"));
    EXPECT_EQ(bytes.size(), 8u + 3u + 300u);
}

} // namespace
