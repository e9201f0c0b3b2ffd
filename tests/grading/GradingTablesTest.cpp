#include "grading/CBodyTableRebuild.h"
#include "grading/CConditionFilter.h"
#include "grading/CGradingOutput.h"
#include "grading/CGradingRun.h"
#include "grading/CMeasureTableBuilder.h"
#include "grading/CResultTableWriter.h"
#include "grading/CSerialNumbering.h"
#include "grading/CSizeNaming.h"
#include "grading/GradingTexts.h"

#include "GradingPageSupport.h"

#include <gtest/gtest.h>

namespace {

using Texts = std::vector<std::string>;

TEST(GradingTables, ABodyTableThatFitsStandsOnTheCurrentPageWithItsTexts)
{
    auto ps = A4Pages(3);
    ps->SetCurrentPageIndex(1);
    const CTextRows table = CMeasureTableBuilder::SelectColumns(
        GTable({"姓名", "身高", "胸围"}, {{"J.Smith", "170.25", "88"}, {"李四", "165.46", "2017.01.21"}}), {1, 0, 2});
    const std::vector<int> pages = CMeasureTableBuilder::Build(*ps, TestStyle(), table);
    ASSERT_EQ(pages, (std::vector<int>{1}));
    EXPECT_EQ(ps->GetPageCount(), 3);

    const CPage* page = ps->GetPageAt(1);
    ASSERT_EQ(page->GetElementCount(), 5);
    // The table first, then title, page label, unit caption, unit name.
    EXPECT_EQ(page->ElementAt(0)->GetType(), ELEMENT_TABLE);
    EXPECT_EQ(PageTexts(*ps, 1), (Texts{"量体尺寸表", "1/1", "(单位：", "厘米)"}));
    const CPoint at[] = {{8500, 500}, {18500, 500}, {13500, 500}, {15000, 500}};
    for (int i = 0; i < 4; ++i) {
        const auto* text = static_cast<const CTextElement*>(page->ElementAt(i + 1));
        EXPECT_EQ(text->GetOrigin(), at[i]) << i;
        EXPECT_EQ(text->GetBkMode(), 1);
    }

    const CTableElement* t = TableOn(*ps, 1);
    EXPECT_EQ(t->GetTableRect(), LaidOutRect(CRect(523, 1523, 19953, 1500 + 1431), 3, 3));
    // Measurements cut after their first decimal, other texts whole.
    EXPECT_EQ(TableTexts(*t), GTable({"身高", "姓名", "胸围"}, {{"170.2", "J.Smith", "88"},
                                                               {"165.4", "李四", "2017.01.21"}}));
}

TEST(GradingTables, ALongBodyTableContinuesFromTheLastPage)
{
    // 56 rows a page: 111 data rows fill two pages and one more starts a
    // third of two rows; the current page stays the first.
    struct Case {
        int persons;
        std::vector<int> rows;
    };
    for (const Case& c : {Case{110, {56, 56}}, Case{111, {56, 56, 2}}}) {
        auto ps = A4Pages(2);
        AddDrawing(*ps, 1);
        const std::vector<int> pages = CMeasureTableBuilder::Build(*ps, TestStyle(), Persons(c.persons));
        ASSERT_EQ(pages.size(), c.rows.size());
        EXPECT_EQ(ps->GetPageCount(), 1 + int(c.rows.size()));
        EXPECT_EQ(ps->GetCurrentPageIndex(), 0);
        EXPECT_EQ(ps->GetPageAt(0)->GetElementCount(), 0);
        int person = 0;
        for (std::size_t k = 0; k < pages.size(); ++k) {
            const int p = pages[k];
            EXPECT_EQ(p, 1 + int(k));
            const CTableElement* t = TableOn(*ps, p);
            ASSERT_TRUE(t);
            EXPECT_EQ(t->GetRowCount(), c.rows[k]);
            EXPECT_EQ(PageTexts(*ps, p)[1], std::to_string(k + 1) + "/" + std::to_string(pages.size()));
            EXPECT_EQ(CGradingPages::RowTexts(*t, 1), GRow({"姓名", "身高", "胸围"}));
            for (int r = 2; r <= t->GetRowCount(); ++r, ++person)
                EXPECT_EQ(CGradingPages::RowTexts(*t, r)[0], "p" + std::to_string(person));
            const int bottom = k + 1 < pages.size() ? 28653 : 1500 + c.rows[k] * 477;
            EXPECT_EQ(t->GetTableRect(), LaidOutRect(CRect(523, 1523, 19953, bottom), c.rows[k], 3));
        }
        EXPECT_EQ(person, c.persons);
    }
}

TEST(GradingTables, ReadingTheTablesBackGivesThePersonsInOrder)
{
    auto ps = A4Pages(1);
    const CTextRows persons = Persons(150);
    const std::vector<int> pages = CMeasureTableBuilder::Build(*ps, TestStyle(), persons);
    ASSERT_EQ(pages.size(), 3u);
    EXPECT_EQ(CGradingPages::PagesHolding(*ps, CGradingPages::BodyTitle()), pages);
    EXPECT_EQ(CGradingPages::ReadTable(*ps, pages), persons);
    // Reading from a later page on, or a page without a table, adds
    // nothing of the pages left out.
    ps->AppendPage();
    EXPECT_EQ(CGradingPages::ReadTable(*ps, {1, 2, 3}).RowCount(), 150 - 55);

    // An untitled page with a table between the titled ones is not one of
    // them; a titled page whose table was deleted adds nobody.
    CResultTableWriter writer(*ps, TestStyle());
    writer.InsertPage(1);
    writer.WritePage(1, "notes", "1/1", GTable({"x"}, {{"1"}, {"2"}}), 0, 2, CRect(523, 1523, 9000, 5000), {});
    ps->AppendPage();
    writer.WritePage(5, CGradingPages::BodyTitle(), "1/1", Persons(1), 0, 1, CRect(523, 1523, 9000, 5000), {});
    CPage* last = ps->GetPageAt(5);
    CTableElement* gone = CGradingPages::FirstTable(*last);
    last->RemoveElement(gone);
    delete gone;
    const std::vector<int> titled = CGradingPages::PagesHolding(*ps, CGradingPages::BodyTitle());
    EXPECT_EQ(titled, (std::vector<int>{0, 2, 3, 5}));
    EXPECT_EQ(CGradingPages::ReadTable(*ps, titled), persons);
}

TEST(GradingTables, AGradingRunWritesSizesAndPersonalTables)
{
    auto ps = A4Pages(1);
    AddDrawing(*ps, 0);
    const std::vector<int> body = CMeasureTableBuilder::Build(*ps, TestStyle(), Persons(120));
    ASSERT_EQ(body, (std::vector<int>{0, 1, 2}));
    CGradingRun run;
    ASSERT_EQ(run.Run(CGradingPages::ReadTable(*ps, body), {{G("身高"), 160, 5}}), CGradingRun::Error::None);
    const CGradingOutput::Pages out = CGradingOutput::Write(*ps, TestStyle(), run, body);

    // Heights 150..179 grade to 150, 155, ... 180: seven sizes on one page.
    ASSERT_EQ(out.graded, (std::vector<int>{3}));
    EXPECT_EQ(ps->GetCurrentPageIndex(), 3);
    const CTableElement* graded = TableOn(*ps, 3);
    const CTextRows sizes = TableTexts(*graded);
    // The names average 0.0 everywhere and are left out.
    EXPECT_EQ(sizes.header, GRow({"身高号型", "人数分布", "身高", "胸围"}));
    ASSERT_EQ(sizes.RowCount(), 7);
    EXPECT_EQ(sizes.rows[0][0], "150");
    EXPECT_EQ(PageTexts(*ps, 3), (Texts{"归号尺寸表", "1/1", "(单位：", "厘米)"}));
    // The header row is taller, the table scaled into its rectangle.
    EXPECT_EQ(graded->GetTableRect(), CRect(523, 1523, 19953, 1500 + 9 * 477));
    EXPECT_GT(graded->GetRowHeight(1), graded->GetRowHeight(2));

    // One personal table per body page, in the body table's rectangle.
    ASSERT_EQ(out.personal, (std::vector<int>{4, 5, 6}));
    int person = 0;
    for (std::size_t q = 0; q < 3; ++q) {
        const CTableElement* info = TableOn(*ps, out.personal[q]);
        const CTableElement* source = TableOn(*ps, body[q]);
        EXPECT_EQ(info->GetRowCount(), source->GetRowCount());
        EXPECT_EQ(info->GetTableRect().left, source->GetTableRect().left);
        EXPECT_EQ(info->GetTableRect().top, source->GetTableRect().top);
        EXPECT_EQ(PageTexts(*ps, out.personal[q]),
                  (Texts{"个人信息表", std::to_string(q + 1) + "/3", "(单位：", "厘米)"}));
        EXPECT_EQ(CGradingPages::RowTexts(*info, 1), GRow({"身高号型", "姓名", "身高", "胸围"}));
        for (int r = 2; r <= info->GetRowCount(); ++r, ++person) {
            const CTextRows::Row row = CGradingPages::RowTexts(*info, r);
            EXPECT_EQ(row[1], "p" + std::to_string(person));
            EXPECT_EQ(row[0], SizeText(CGradingRun::GradeValue(150 + person % 30, 160, 5), true));
        }
    }
    EXPECT_EQ(person, 120);
    // The body pages and the drawing are as they were.
    EXPECT_EQ(ps->GetPageAt(0)->GetElementCount(), 6);
    EXPECT_EQ(CGradingPages::ReadTable(*ps, body), Persons(120));
}

TEST(GradingTables, ColumnsLeftOutAreTheSameOnEveryPage)
{
    // 70 sizes over two pages; the column "x" reads 0.0 in the first size
    // only and is kept on both pages.
    CTextRows body;
    body.header = GRow({"身高", "x", "名"});
    for (int i = 0; i < 70; ++i) body.rows.push_back({std::to_string(100 + 5 * i), i == 0 ? "0" : "1", "n"});
    CGradingRun run;
    ASSERT_EQ(run.Run(body, {{G("身高"), 100, 5}}), CGradingRun::Error::None);
    auto ps = A4Pages(1);
    const CGradingOutput::Pages out = CGradingOutput::Write(*ps, TestStyle(), run, {});
    ASSERT_EQ(out.graded.size(), 2u);
    for (int p : out.graded)
        EXPECT_EQ(CGradingPages::RowTexts(*TableOn(*ps, p), 1), GRow({"身高号型", "人数分布", "身高", "x"}));
    EXPECT_EQ(TableOn(*ps, out.graded[1])->GetRowCount(), 70 - 57 + 1);
}

TEST(GradingTables, TheConditionIndexLeavesOtherPagesAndDrawingsAlone)
{
    // Page 0 a drawing; pages 1-3 the body table (page 1 with a drawing
    // beside it); page 4 a graded-size result; page 5 a drawing.
    auto ps = A4Pages(2);
    AddDrawing(*ps, 0);
    AddDrawing(*ps, 1);
    ps->SetCurrentPageIndex(1);
    const std::vector<int> body = CMeasureTableBuilder::Build(*ps, TestStyle(), Persons(150));
    ASSERT_EQ(body, (std::vector<int>{1, 2, 3}));
    CGradingRun run;
    ASSERT_EQ(run.Run(CGradingPages::ReadTable(*ps, body), {{G("身高"), 160, 5}}), CGradingRun::Error::None);
    CGradingOutput::Write(*ps, TestStyle(), run, {});
    ps->AppendPage();
    AddDrawing(*ps, 5);
    ASSERT_EQ(ps->GetPageCount(), 6);
    const CTextRows graded = TableTexts(*TableOn(*ps, 4));

    // Persons with chest - height outside -75 .. -70 are special bodies.
    CConditionIndex index;
    index.specialOn = true;
    index.minuend = G("胸围");
    index.subtrahend = G("身高");
    index.lower = -75;
    index.upper = -70;
    CTextRows kept;
    std::vector<CTextRows::Row> special;
    ASSERT_EQ(CConditionFilter::Apply(CGradingPages::ReadTable(*ps, body), index, kept, special),
              CConditionFilter::Error::None);
    ASSERT_GT(kept.RowCount(), 0);
    ASSERT_GT(special.size(), 0u);
    CBodyTableRebuild::Pages pages;
    ASSERT_TRUE(CBodyTableRebuild::Apply(*ps, TestStyle(), kept, special, &pages));

    EXPECT_EQ(pages.body.front(), 1);
    EXPECT_EQ(CGradingPages::ReadTable(*ps, pages.body), kept);
    EXPECT_EQ(pages.special.front(), pages.body.back() + 1);
    const CTextRows specialTable = CGradingPages::ReadTable(*ps, pages.special);
    EXPECT_EQ(specialTable.header, kept.header);
    EXPECT_EQ(specialTable.rows, special);
    EXPECT_EQ(PageTexts(*ps, pages.special.front())[0], "特体尺寸表");
    // The drawing pages, the drawing beside the table and the graded
    // sizes are still there.
    const int n = ps->GetPageCount();
    EXPECT_EQ(ps->GetPageAt(0)->GetElementCount(), 1);
    EXPECT_EQ(ps->GetPageAt(1)->GetElementCount(), 6);
    EXPECT_EQ(ps->GetPageAt(1)->ElementAt(0)->GetType(), ELEMENT_CURVE);
    EXPECT_EQ(TableTexts(*TableOn(*ps, n - 2)), graded);
    EXPECT_EQ(ps->GetPageAt(n - 1)->GetElementCount(), 1);
    EXPECT_EQ(ps->GetPageAt(n - 1)->ElementAt(0)->GetType(), ELEMENT_CURVE);
    EXPECT_EQ(n, 3 + int(pages.body.size()) + int(pages.special.size()));
    EXPECT_EQ(ps->GetCurrentPageIndex(), 1);
}

TEST(GradingTables, EverybodySpecialPutsTheSpecialTableOnTheFirstBodyPage)
{
    auto ps = A4Pages(1);
    const std::vector<int> body = CMeasureTableBuilder::Build(*ps, TestStyle(), Persons(3));
    CTextRows kept;
    kept.header = GRow({"姓名", "身高", "胸围"});
    CBodyTableRebuild::Pages pages;
    ASSERT_TRUE(CBodyTableRebuild::Apply(*ps, TestStyle(), kept, Persons(3).rows, &pages));
    EXPECT_TRUE(pages.body.empty());
    EXPECT_EQ(pages.special, (std::vector<int>{0}));
    EXPECT_EQ(ps->GetPageCount(), 1);
    EXPECT_EQ(PageTexts(*ps, 0), (Texts{"特体尺寸表", "1/1", "(单位：", "厘米)"}));
    EXPECT_FALSE(CGradingPages::AnyPageHolds(*ps, CGradingPages::BodyTitle()));
}

TEST(GradingTables, SerialNumbersRunOnOverPages)
{
    auto ps = A4Pages(2);
    CTextRows first = Persons(10), second = Persons(4);
    first.header = second.header = GRow({"姓名", "身高", "胸围"});
    CResultTableWriter writer(*ps, TestStyle());
    CResultTableWriter::Options options;
    const CRect rect(523, 1523, 19953, 10000);
    writer.WritePage(0, CGradingPages::PersonalTitle(), "1/2", first, 0, 10, rect, options);
    writer.WritePage(1, CGradingPages::PersonalTitle(), "2/2", second, 0, 4, rect, options);
    const std::vector<int> pages = CGradingPages::PagesHolding(*ps, CGradingPages::PersonalTitle());
    ASSERT_EQ(pages, (std::vector<int>{0, 1}));
    const CRect rects[2] = {TableOn(*ps, 0)->GetTableRect(), TableOn(*ps, 1)->GetTableRect()};

    std::vector<CTextRows::Row> rows = CSerialNumbering::ReadRows(*ps, pages);
    ASSERT_EQ(rows.size(), 14u);
    std::reverse(rows.begin(), rows.end());
    EXPECT_TRUE(CSerialNumbering::WriteRows(*ps, pages, rows));
    EXPECT_FALSE(CSerialNumbering::WriteRows(*ps, pages, rows));
    ASSERT_TRUE(CSerialNumbering::AddSerialNumbers(*ps, pages, 1));
    int number = 1;
    for (int p : pages) {
        const CTableElement* t = TableOn(*ps, p);
        EXPECT_EQ(t->GetTableRect(), rects[p]);
        EXPECT_EQ(CGradingPages::RowTexts(*t, 1), GRow({"序号", "姓名", "身高", "胸围"}));
        for (int r = 2; r <= t->GetRowCount(); ++r, ++number) {
            EXPECT_EQ(CGradingPages::RowTexts(*t, r)[0], std::to_string(number));
            EXPECT_EQ(CGradingPages::RowTexts(*t, r)[1], rows[std::size_t(number - 1)][0]);
        }
    }
    EXPECT_EQ(number, 15);
}

TEST(GradingTables, NamingTwiceAddsNoSecondColumnAndTablesWithoutPersonsAreSkipped)
{
    auto ps = A4Pages(1);
    CGradingRun run;
    ASSERT_EQ(run.Run(Persons(20), {{G("身高"), 160, 5}, {G("胸围"), 84, 4}}), CGradingRun::Error::None);
    CMeasureTableBuilder::Build(*ps, TestStyle(), Persons(20));
    const CGradingOutput::Pages out = CGradingOutput::Write(*ps, TestStyle(), run, {0});
    // A graded-size page whose table has no "人数分布" column.
    ps->AppendPage();
    const int odd = ps->GetPageCount() - 1;
    CResultTableWriter(*ps, TestStyle())
        .WritePage(odd, CGradingPages::GradedTitle(), "1/1", GTable({"a", "b"}, {{"1", "2"}}), 0, 1,
                   CRect(523, 1523, 19953, 5000), {});

    std::vector<CSizeNaming::Note> notes;
    ASSERT_TRUE(CSizeNaming::NameByHand(*ps, notes));
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0].kind, CSizeNaming::Note::NoPersonsColumn);
    EXPECT_EQ(notes[0].page, odd);
    const CTableElement* graded = TableOn(*ps, out.graded[0]);
    EXPECT_EQ(CGradingPages::RowTexts(*graded, 1),
              GRow({"身高号型", "胸围号型", "款式号型", "人数分布", "身高", "胸围"}));
    const CTableElement* info = TableOn(*ps, out.personal[0]);
    EXPECT_EQ(CGradingPages::RowTexts(*info, 1), GRow({"身高号型", "胸围号型", "款式号型", "姓名", "身高", "胸围"}));
    EXPECT_EQ(TableOn(*ps, odd)->Grid().GetRowCellCount(1), 2);

    notes.clear();
    EXPECT_FALSE(CSizeNaming::NameByHand(*ps, notes));
    EXPECT_EQ(notes.size(), 3u);
    EXPECT_EQ(CGradingPages::RowTexts(*info, 1).size(), 6u);

    // Names typed into the sizes reach every person of that size.
    ASSERT_TRUE(CSizeNaming::CanNameAutomatically(*ps));
    CTableElement* sizes = CGradingPages::FirstTable(*ps->GetPageAt(out.graded[0]));
    for (int r = 2; r <= sizes->GetRowCount(); ++r) sizes->SetCellText(r, 3, "S" + std::to_string(r));
    ASSERT_TRUE(CSizeNaming::NameAutomatically(*ps));
    EXPECT_FALSE(CSizeNaming::NameAutomatically(*ps));
    for (int m = 2; m <= info->GetRowCount(); ++m) {
        const CTextRows::Row row = CGradingPages::RowTexts(*info, m);
        std::string expected;
        for (int r = 2; r <= sizes->GetRowCount(); ++r)
            if (CGradingPages::RowTexts(*sizes, r, 2) == CTextRows::Row{row[0], row[1]}) expected = "S" + std::to_string(r);
        EXPECT_FALSE(expected.empty());
        EXPECT_EQ(row[2], expected) << m;
    }
}

} // namespace
