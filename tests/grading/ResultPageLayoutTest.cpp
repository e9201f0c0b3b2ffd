#include "grading/CResultPageLayout.h"

#include "GradingTestSupport.h"

#include <gtest/gtest.h>

namespace {

// A4 with margins of 5 mm, lines 35 and 25 wide, a font 318 high: rows of
// 477; the table's edges lie at 523 + 1000 = 1523 (top), 523 (left),
// 21000 - 1000 - 47 = 19953 (right) and 29700 - 1000 - 47 = 28653 (bottom).
CResultStyle Style(int fontHeight = 318)
{
    CResultStyle style;
    style.font.lfHeight = fontHeight;
    return style;
}

CResultPageLayout Layout(CResultPageLayout::Kind kind, int fontHeight = 318, CSize paper = {21000, 29700})
{
    return CResultPageLayout(paper, 500, 500, 500, 500, Style(fontHeight), kind);
}

struct PagingCase {
    CResultPageLayout::Kind kind;
    int rows;
    std::vector<int> pageRows;
    std::vector<int> bottoms;
};

TEST(ResultPageLayout, TablesArePagedWithTheirHeaderRepeated)
{
    using K = CResultPageLayout::Kind;
    // Body tables fit 56 rows a page (counted from the table's top edge),
    // result tables 58 (counted from the top margin).
    ASSERT_EQ(Layout(K::Body).RowsPerPage(), 56);
    ASSERT_EQ(Layout(K::Result).RowsPerPage(), 58);
    ASSERT_EQ(Layout(K::Body).RowStep(), 477);
    const int full = 28653;
    const PagingCase cases[] = {
        // Body: N rows on one page are N rows high.
        {K::Body, 10, {10}, {1500 + 4770}},
        {K::Body, 56, {56}, {1500 + 26712}},
        // 2 x 55 data rows: two full pages; one more: a third of two rows.
        {K::Body, 111, {56, 56}, {full, 1500 + 26712}},
        {K::Body, 112, {56, 56, 2}, {full, full, 1500 + 954}},
        // Result: R rows on one page are R + 1 rows high.
        {K::Result, 20, {20}, {1500 + 10017}},
        {K::Result, 58, {58}, {1500 + 28143}},
        {K::Result, 115, {58, 58}, {full, 1500 + 27666}},
        {K::Result, 116, {58, 58, 2}, {full, full, 1500 + 954}},
        // Special: one page while the data rows fit, as high as its rows.
        {K::Special, 59, {59}, {1500 + 28143}},
        {K::Special, 60, {58, 3}, {full, 1500 + 1431}},
    };
    for (const PagingCase& c : cases) {
        const CResultPageLayout layout = Layout(c.kind);
        const std::vector<int> pages = layout.PageRows(c.rows);
        EXPECT_EQ(pages, c.pageRows) << int(c.kind) << " " << c.rows;
        for (std::size_t p = 0; p < pages.size() && p < c.bottoms.size(); ++p) {
            const CRect r = layout.TableRect(int(p), int(pages.size()), pages[p]);
            EXPECT_EQ(r.left, 523);
            EXPECT_EQ(r.top, 1523);
            EXPECT_EQ(r.right, 19953);
            EXPECT_EQ(r.bottom, c.bottoms[p]) << int(c.kind) << " " << c.rows << " page " << p;
        }
    }
}

TEST(ResultPageLayout, TheFourTextsStandAtTheTopMargin)
{
    const CResultPageLayout layout(CSize(21000, 29700), 700, 500, 600, 500, Style(),
                                   CResultPageLayout::Kind::Result);
    EXPECT_EQ(layout.TitlePos(), CPoint(8600, 700));
    EXPECT_EQ(layout.CaptionPos(), CPoint(13600, 700));
    EXPECT_EQ(layout.UnitPos(), CPoint(15100, 700));
    EXPECT_EQ(layout.LabelPos(), CPoint(18600, 700));
    EXPECT_EQ(CResultPageLayout::PageLabel(0, 1), "1/1");
    EXPECT_EQ(CResultPageLayout::PageLabel(1, 3), "2/3");

    const std::pair<int, const char*> units[] = {{0, "英寸)"}, {1, "英寸)"}, {2, "厘米)"}, {3, "毫米)"}, {7, "毫米)"}};
    for (const auto& u : units) {
        CResultStyle style = Style();
        style.workUnit = u.first;
        EXPECT_EQ(CResultPageLayout(CSize(21000, 29700), 500, 500, 500, 500, style, CResultPageLayout::Kind::Body)
                      .UnitText(),
                  G(u.second));
    }
}

TEST(ResultPageLayout, PagesWithoutRoomForTwoRowsCannotBeLaidOut)
{
    using K = CResultPageLayout::Kind;
    EXPECT_TRUE(Layout(K::Body).CanLayOut());
    EXPECT_FALSE(Layout(K::Body, 0).CanLayOut());
    // A negative height is the character height: the same size.
    EXPECT_EQ(Layout(K::Body, -318).RowsPerPage(), 56);
    // A page where one row fits below the table's top: 3000 high.
    EXPECT_FALSE(Layout(K::Body, 318, {21000, 3000}).CanLayOut());
    EXPECT_FALSE(Layout(K::Body, 20000).CanLayOut());
    EXPECT_TRUE(Layout(K::Body, 318, {21000, 1523 + 1000 + 47 + 954}).CanLayOut());
    // Margins larger than the paper.
    EXPECT_FALSE(Layout(K::Result, 318, {100, 100}).CanLayOut());
}

} // namespace
