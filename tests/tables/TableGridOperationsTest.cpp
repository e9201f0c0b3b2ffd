// Structural operations of the table grid, run as sequences on labelled
// grids. After every step the grid must be sound (GridInvariants), look as
// the occupancy map says, and store a record that reads back to the same
// bytes; a refused step must leave the record as it was.
#include "TableTestSupport.h"

#include "platform/CDC.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

using namespace tabletest;

namespace {

struct Step {
    std::string what;
    std::function<int(CTableGrid&, CDC&)> run;
    int result;
    std::string map; // empty: unchanged
};

struct Sequence {
    const char* name;
    int rows;
    int columns;
    std::vector<Step> steps;
};

CTableCellList Cells(std::initializer_list<CTableCellAddress> cells)
{
    return CTableCellList(cells);
}

void RunSequence(const Sequence& s)
{
    SCOPED_TRACE(s.name);
    CScreenDC dc;
    std::unique_ptr<CTableGrid> grid = MakeGrid(s.rows, s.columns);
    ASSERT_EQ(GridInvariants(*grid), "");
    for (const Step& step : s.steps) {
        SCOPED_TRACE(step.what);
        const std::string before = GridRecord(*grid);
        const std::string mapBefore = OccupancyMap(*grid);
        EXPECT_EQ(step.run(*grid, dc), step.result);
        EXPECT_EQ(GridInvariants(*grid), "");
        EXPECT_EQ(OccupancyMap(*grid), step.map.empty() ? mapBefore : step.map);
        EXPECT_TRUE(RecordRoundTrips(*grid));
        if (step.result == 0) {
            EXPECT_EQ(GridRecord(*grid), before) << "a refused step changed the grid";
        }
    }
}

} // namespace

TEST(TableGridOperations, Sequences)
{
    const std::vector<Sequence> sequences = {
        {"merge a block, then split it into two bands of two", 3, 3,
         {
             {"merge the 2 x 2 block", [](CTableGrid& g, CDC& dc) { return g.MergeCells(&dc, Cells({{1, 1}, {1, 2}, {2, 1}, {2, 2}})); }, 1,
              "aac/aaf/ghi"},
             {"texts joined in grid order", [](CTableGrid& g, CDC&) { return g.GetCell(1, 1)->Text() == "abde"; }, 1, ""},
             {"row 2 keeps only f", [](CTableGrid& g, CDC&) { return g.GetRowCellCount(2) == 1 && g.GetCell(2, 1)->Text() == "f"; }, 1, ""},
             {"split into 2 x 2", [](CTableGrid& g, CDC& dc) { return g.SplitCell(&dc, {1, 1}, 2, 2); }, 1,
              "a_c/__f/ghi"},
         }},
        {"merging whole rows joins the emptied row to the one above", 3, 3,
         {
             {"merge rows 2 and 3", [](CTableGrid& g, CDC& dc) {
                  return g.MergeCells(&dc, Cells({{2, 1}, {2, 2}, {2, 3}, {3, 1}, {3, 2}, {3, 3}}));
              }, 1, "abc/ddd"},
             {"two rows, the second twice as high", [](CTableGrid& g, CDC&) { return RowHeights(g) == std::vector<int>{600, 1200}; }, 1, ""},
         }},
        {"merges that are not rectangles are refused", 3, 3,
         {
             {"L shape", [](CTableGrid& g, CDC& dc) { return g.MergeCells(&dc, Cells({{1, 1}, {1, 2}, {2, 1}})); }, 0, ""},
             {"a block with a hole", [](CTableGrid& g, CDC& dc) { return g.MergeCells(&dc, Cells({{1, 1}, {1, 3}})); }, 0, ""},
             {"one cell", [](CTableGrid& g, CDC& dc) { return g.MergeCells(&dc, Cells({{2, 2}})); }, 0, ""},
             {"an address that names no cell", [](CTableGrid& g, CDC& dc) { return g.MergeCells(&dc, Cells({{1, 1}, {1, 4}})); }, 0, ""},
         }},
        {"rows around a merged cell", 3, 3,
         {
             {"merge a and d", [](CTableGrid& g, CDC& dc) { return g.MergeCells(&dc, Cells({{1, 1}, {2, 1}})); }, 1, "abc/aef/ghi"},
             {"a row above row 2 passes under the merged cell", [](CTableGrid& g, CDC&) { return g.InsertRow(2, 1); }, 1,
              "abc/a__/aef/ghi"},
             {"a row below the last row", [](CTableGrid& g, CDC&) { return g.InsertRow(4, 0); }, 1, "abc/a__/aef/ghi/___"},
             {"deleting row 1 keeps the merged cell and its text", [](CTableGrid& g, CDC&) { return g.DeleteRow(1); }, 1,
              "a__/aef/ghi/___"},
             {"the merged cell's text", [](CTableGrid& g, CDC&) { return g.GetCell(1, 1)->Text() == "ad"; }, 1, ""},
             {"deleting its column takes the merged cell along", [](CTableGrid& g, CDC&) { return g.DeleteColumn({3, 1}); }, 1,
              "__/ef/hi/__"},
         }},
        {"rows below a merged cell's lower line", 3, 3,
         {
             {"merge a and d", [](CTableGrid& g, CDC& dc) { return g.MergeCells(&dc, Cells({{1, 1}, {2, 1}})); }, 1, "abc/aef/ghi"},
             {"a row below row 2 gets a cell under the merged cell", [](CTableGrid& g, CDC&) { return g.InsertRow(2, 0); }, 1,
              "abc/aef/___/ghi"},
             {"a row below row 1 lengthens the merged cell", [](CTableGrid& g, CDC&) { return g.InsertRow(1, 0); }, 1,
              "abc/a__/aef/___/ghi"},
             {"deleting a row through the merged cell shortens it", [](CTableGrid& g, CDC&) { return g.DeleteRow(3); }, 1,
              "abc/a__/___/ghi"},
         }},
        {"columns around a merged cell", 3, 3,
         {
             {"merge a and b", [](CTableGrid& g, CDC& dc) { return g.MergeCells(&dc, Cells({{1, 1}, {1, 2}})); }, 1, "aac/def/ghi"},
             {"no column through the merged cell", [](CTableGrid& g, CDC&) { return g.CanInsertColumn({2, 2}); }, 0, ""},
             {"inserting it is refused", [](CTableGrid& g, CDC&) { return g.InsertColumn({2, 2}, 1); }, 0, ""},
             {"deleting column 2 would overlap cells", [](CTableGrid& g, CDC&) { return g.DeleteColumn({2, 2}); }, 0, ""},
             {"deleting column 1 too", [](CTableGrid& g, CDC&) { return g.DeleteColumn({3, 1}); }, 0, ""},
             {"the last column is clean", [](CTableGrid& g, CDC&) { return g.CanInsertColumn({1, 2}); }, 1, ""},
             {"a column right of it", [](CTableGrid& g, CDC&) { return g.InsertColumn({1, 2}, 0); }, 1, "aac_/def_/ghi_"},
             {"deleting the merged cell's own two columns", [](CTableGrid& g, CDC&) { return g.DeleteColumn({1, 1}); }, 1,
              "c_/f_/i_"},
             {"and one more", [](CTableGrid& g, CDC&) { return g.DeleteColumn({1, 2}); }, 1, "c/f/i"},
             {"the last column stays", [](CTableGrid& g, CDC&) { return g.DeleteColumn({2, 1}); }, 0, ""},
         }},
        {"inserting columns left and right", 2, 3,
         {
             {"left of b", [](CTableGrid& g, CDC&) { return g.InsertColumn({1, 2}, 1); }, 1, "a_bc/d_ef"},
             {"the new cells have b's width", [](CTableGrid& g, CDC&) { return ColumnWidths(g) == std::vector<int>(4, 1000); }, 1, ""},
             {"right of f", [](CTableGrid& g, CDC&) { return g.InsertColumn({2, 4}, 0); }, 1, "a_bc_/d_ef_"},
         }},
        {"the only row stays", 1, 3,
         {
             {"delete it", [](CTableGrid& g, CDC&) { return g.DeleteRow(1); }, 0, ""},
             {"a row outside", [](CTableGrid& g, CDC&) { return g.InsertRow(2, 0); }, 0, ""},
         }},
        {"row heights move the rows below and stretch merged cells", 3, 2,
         {
             {"merge a and c", [](CTableGrid& g, CDC& dc) { return g.MergeCells(&dc, Cells({{1, 1}, {2, 1}})); }, 1, "ab/ad/ef"},
             {"row 2 becomes 900 high", [](CTableGrid& g, CDC&) { return g.SetRowHeight(2, 900); }, 1, ""},
             {"the merged cell is 1500 high", [](CTableGrid& g, CDC&) { return g.GetCell(1, 1)->GetHeight() == 1500; }, 1, ""},
             {"row 3 starts lower", [](CTableGrid& g, CDC&) { return g.GetCell(3, 1)->GetRect().top == 2000 + 1500; }, 1, ""},
             {"a height of 0", [](CTableGrid& g, CDC&) { return g.SetRowHeight(2, 0); }, 0, ""},
         }},
        {"splitting into rows: pieces of the single row, bands of a merged cell", 2, 2,
         {
             {"b into three rows", [](CTableGrid& g, CDC& dc) { return g.SplitCell(&dc, {1, 2}, 3, 1); }, 1, "ab/a_/a_/cd"},
             {"a now spans three rows: counts 1 and 3",
              [](CTableGrid& g, CDC&) {
                  CSplitCountList counts;
                  return g.GetSplitCounts({1, 1}, counts) == 2 && counts == CSplitCountList{1, 3};
              }, 1, ""},
             {"two rows do not divide three", [](CTableGrid& g, CDC& dc) { return g.SplitCell(&dc, {1, 1}, 2, 1); }, 0, ""},
             {"three bands", [](CTableGrid& g, CDC& dc) { return g.SplitCell(&dc, {1, 1}, 3, 1); }, 1, "ab/__/__/cd"},
         }},
        {"splitting a selection follows its cells as they move", 2, 3,
         {
             {"a, b and e into 2 x 2",
              [](CTableGrid& g, CDC& dc) { return g.SplitCellRange(&dc, Cells({{1, 1}, {1, 2}, {2, 2}}), 2, 2); }, 1,
              "a_b_c/____c/dde_f/dd__f"},
             {"more columns than units", [](CTableGrid& g, CDC& dc) { return g.SplitCell(&dc, {1, 1}, 1, 600); }, 0, ""},
         }},
        {"selection moves derive the cells from new lines", 3, 3,
         {
             {"merge a, b, d, e", [](CTableGrid& g, CDC& dc) { return g.MergeCells(&dc, Cells({{1, 1}, {1, 2}, {2, 1}, {2, 2}})); }, 1,
              "aac/aaf/ghi"},
             {"columns of the merged cell grow by 100 each",
              [](CTableGrid& g, CDC& dc) { return g.MoveSelectionVerticalLine(&dc, {0, 0}, {100, 0}, Cells({{1, 1}})); }, 1, ""},
             {"widths", [](CTableGrid& g, CDC&) { return ColumnWidths(g) == std::vector<int>{1100, 1100, 1000}; }, 1, ""},
             {"rows of the merged cell shrink by 200 each",
              [](CTableGrid& g, CDC& dc) { return g.MoveSelectionHorizontalLine(&dc, {0, 300}, {0, 100}, Cells({{1, 1}})); }, 1, ""},
             {"heights", [](CTableGrid& g, CDC&) { return RowHeights(g) == std::vector<int>{400, 400, 600}; }, 1, ""},
             {"a row may not vanish",
              [](CTableGrid& g, CDC& dc) { return g.MoveSelectionHorizontalLine(&dc, {0, 400}, {0, 0}, Cells({{2, 1}})); }, 0, ""},
             {"nor a column",
              [](CTableGrid& g, CDC& dc) { return g.MoveSelectionVerticalLine(&dc, {1000, 0}, {0, 0}, Cells({{3, 3}})); }, 0, ""},
         }},
    };
    for (const Sequence& s : sequences) RunSequence(s);
}

// Splitting a 1001-unit-wide cell into four columns.
TEST(TableGridSplit, ColumnsShareTheWidthFromTheLeft)
{
    CScreenDC dc;
    auto grid = MakeGrid(1, 1, 1001, 600, false);
    ASSERT_EQ(grid->SplitCell(&dc, {1, 1}, 1, 4), 1);
    EXPECT_EQ(ColumnWidths(*grid), (std::vector<int>{251, 250, 250, 250}));
    EXPECT_EQ(GridInvariants(*grid), "");
}

// A 700-unit-high single-row cell into three rows when a third fits its
// text: 234, 233, 233, and the row's other cells span all three.
TEST(TableGridSplit, SingleRowIntoEvenRows)
{
    CScreenDC dc;
    auto grid = MakeGrid(1, 2, 1000, 700, false);
    ASSERT_EQ(grid->SplitCell(&dc, {1, 1}, 3, 1), 1);
    EXPECT_EQ(RowHeights(*grid), (std::vector<int>{234, 233, 233}));
    EXPECT_EQ(grid->GetCellRowSpan({1, 2}), 3);
    EXPECT_EQ(GridInvariants(*grid), "");
}

// A single-row cell of height 300 into 2 rows and 3 columns: the table
// grows by 300 and the new row holds three new cells.
TEST(TableGridSplit, SingleRowIntoRowsAndColumnsGrowsTheTable)
{
    CScreenDC dc;
    auto grid = MakeGrid(1, 2, 3000, 300, false);
    ASSERT_EQ(grid->SplitCell(&dc, {1, 1}, 2, 3), 1);
    EXPECT_EQ(RowHeights(*grid), (std::vector<int>{300, 300}));
    EXPECT_EQ(grid->GetTableHeight(), 600);
    EXPECT_EQ(grid->GetRowCellCount(1), 4);
    EXPECT_EQ(grid->GetRowCellCount(2), 3);
    EXPECT_EQ(ColumnWidths(*grid), (std::vector<int>{1000, 1000, 1000, 3000}));
    EXPECT_EQ(GridInvariants(*grid), "");
}

// Pieces that would not fit the text: the first fits it, the others get one
// line each and the table grows; what is left over when the cell is high
// enough goes to the other pieces.
TEST(TableGridSplit, PiecesFitTheText)
{
    CScreenDC dc;
    const int line = dc.GetTextHeight();
    {
        auto grid = MakeGrid(1, 1, 3000, 600, false);
        grid->SetCellText({1, 1}, "A\r\nB\r\nC");
        const CSize text = grid->GetCell(1, 1)->MeasureTextSize(&dc);
        const int other = 100 + grid->GetCell(1, 1)->GetCharSize(&dc).cy;
        ASSERT_EQ(grid->SplitCell(&dc, {1, 1}, 3, 1), 1);
        EXPECT_EQ(RowHeights(*grid), (std::vector<int>{100 + text.cy, other, other}));
        EXPECT_EQ(GridInvariants(*grid), "");
    }
    {
        auto grid = MakeGrid(1, 1, 3000, 3000, false);
        grid->SetCellText({1, 1}, "A\r\nB\r\nC\r\nD\r\nE\r\nF");
        const int fit = 100 + grid->GetCell(1, 1)->MeasureTextSize(&dc).cy;
        ASSERT_GT(fit, 1000);
        ASSERT_EQ(grid->SplitCell(&dc, {1, 1}, 3, 1), 1);
        const std::vector<int> heights = RowHeights(*grid);
        EXPECT_EQ(heights[0], fit);
        EXPECT_LE(std::abs(heights[1] - heights[2]), 1);
        EXPECT_EQ(grid->GetTableHeight(), 3000);
        EXPECT_EQ(GridInvariants(*grid), "");
    }
    (void)line;
}

TEST(TableGridSplit, CountsOfAMergedCellAreTheDivisorsOfItsSpan)
{
    CScreenDC dc;
    auto grid = MakeGrid(6, 2);
    CTableCellList column;
    for (int r = 1; r <= 6; ++r) column.push_back({r, 1});
    ASSERT_EQ(grid->MergeCells(&dc, column), 1);
    CSplitCountList counts;
    EXPECT_EQ(grid->GetSplitCounts({1, 1}, counts), 2);
    EXPECT_EQ(counts, (CSplitCountList{1, 2, 3, 6}));
    counts.clear();
    EXPECT_EQ(grid->GetSplitCounts({1, 2}, counts), -1);
    EXPECT_EQ(grid->GetSplitCounts({9, 9}, counts), -1);

    // Over a selection: any count for single rows, the common ones else.
    counts.clear();
    EXPECT_EQ(grid->GetRangeSplitCounts(0, Cells({{1, 2}, {2, 1}}), counts), -1);
    EXPECT_EQ(grid->GetRangeSplitCounts(0, Cells({{1, 1}, {1, 2}}), counts), 2);
    EXPECT_EQ(counts, (CSplitCountList{1, 2, 3, 6}));
    EXPECT_EQ(grid->GetRangeSplitCounts(0, Cells({{1, 2}, {7, 1}}), counts), -2);
    EXPECT_EQ(grid->GetRangeSplitCounts(0, CTableCellList(), counts), 0);
}

// The merged cell's rows grow when the joined text does not fit.
TEST(TableGridMerge, RowGrowsForTheJoinedText)
{
    CScreenDC dc;
    auto grid = MakeGrid(2, 2, 3000, 300, false);
    grid->SetCellText({1, 1}, "A\r\nB");
    grid->SetCellText({2, 1}, "\r\nC\r\nD");
    ASSERT_EQ(grid->MergeCells(&dc, Cells({{1, 1}, {2, 1}})), 1);
    const CTableCell* merged = grid->GetCell(1, 1);
    EXPECT_EQ(merged->Text(), "A\r\nB\r\nC\r\nD");
    const int needed = 50 + merged->MeasureTextSize(&dc).cy + 50;
    EXPECT_EQ(merged->GetHeight(), needed);
    EXPECT_EQ(grid->GetCell(1, 2)->GetHeight(), 300);
    EXPECT_EQ(grid->GetCell(2, 1)->GetRect().bottom, 2000 + needed);
    EXPECT_EQ(GridInvariants(*grid), "");
}

// ---------------------------------------------------------------------------
// Grid lines

class TableGridLines : public ::testing::Test {
protected:
    CScreenDC dc;
    int AverageWidth(const CTableGrid& g) { return g.GetCell(1, 1)->GetCharSize(&dc).cx; }
};

TEST_F(TableGridLines, LowerLineGoesDownFreelyAndUpToTheText)
{
    auto grid = MakeGrid(2, 2, 1000, 2000, false);
    grid->SetCellText({1, 2}, "A\r\nB");
    const int textBottom = grid->GetCell(1, 2)->MeasureTextRect(&dc).bottom;
    EXPECT_EQ(grid->MoveHorizontalLine(&dc, {1500, 4000}, {1500, 4700}, {1, 1}), 1);
    EXPECT_EQ(RowHeights(*grid), (std::vector<int>{2700, 2000}));
    EXPECT_EQ(grid->MoveHorizontalLine(&dc, {1500, 4700}, {1500, 2100}, {1, 1}), 1);
    EXPECT_EQ(grid->GetCell(1, 1)->GetRect().bottom, textBottom + 50);
    EXPECT_EQ(grid->GetCell(2, 1)->GetRect().top, textBottom + 50);
    EXPECT_EQ(GridInvariants(*grid), "");
}

TEST_F(TableGridLines, LowerLineNeverTakesARowAway)
{
    auto grid = MakeGrid(2, 1, 1000, 600, false);
    grid->SetMargins(CRect(0, 0, 0, 0));
    EXPECT_EQ(grid->MoveHorizontalLine(&dc, {1500, 2600}, {1500, 1000}, {1, 1}), 1);
    EXPECT_EQ(grid->GetRowHeight(1), 1);
    EXPECT_EQ(grid->MoveHorizontalLine(&dc, {1500, 2001}, {1500, 1000}, {1, 1}), 0);
    EXPECT_EQ(GridInvariants(*grid), "");
}

TEST_F(TableGridLines, InnerLineStopsAtOneAverageCharacter)
{
    auto grid = MakeGrid(2, 3, 1000, 600, false);
    const int limit = 1000 - 50 - AverageWidth(*grid) - 50;
    ASSERT_GT(limit, 0);
    EXPECT_EQ(grid->MoveVerticalLine(&dc, {2000, 2100}, {2950, 2100}, {1, 1}, 0, 20), 1);
    EXPECT_EQ(ColumnWidths(*grid), (std::vector<int>{1000 + limit, 1000 - limit, 1000}));
    EXPECT_EQ(GridInvariants(*grid), "");
}

TEST_F(TableGridLines, InnerLineSnapsToAnotherEdgeNearTheEnd)
{
    auto grid = MakeGrid(2, 3, 1000, 600, false);
    // Shift row 2's line between b and c a little so it offers an edge.
    CTableCellList row2;
    ASSERT_EQ(grid->MoveGridLine(&dc, {3000, 2700}, {2950, 2700}, {2, 2}, Cells({{2, 2}, {2, 3}}), 0, 20), 1);
    EXPECT_EQ(grid->GetCell(2, 2)->GetRect().right, 2950);
    // Row 1's line between a and b dragged right lands on nothing; the line
    // between b and c dragged left ends within the tolerance of 2950.
    EXPECT_EQ(grid->MoveGridLine(&dc, {3000, 2100}, {2960, 2100}, {1, 2}, Cells({{1, 2}, {1, 3}}), 0, 20), 1);
    EXPECT_EQ(grid->GetCell(1, 2)->GetRect().right, 2950);
    EXPECT_EQ(GridInvariants(*grid), "");
}

TEST_F(TableGridLines, BordersMoveTheWholeTableEdge)
{
    auto grid = MakeGrid(2, 2, 1000, 600, false);
    // The right border widens the last column by the whole distance.
    EXPECT_EQ(grid->MoveVerticalLine(&dc, {3000, 2100}, {3700, 2100}, {1, 2}, 0, 20), 1);
    EXPECT_EQ(ColumnWidths(*grid), (std::vector<int>{1000, 1700}));
    // The left border carries the origin with it.
    EXPECT_EQ(grid->MoveVerticalLine(&dc, {1000, 2100}, {600, 2100}, {1, 1}, 1, 20), 1);
    EXPECT_EQ(grid->GetOrigin(), CPoint(600, 2000));
    EXPECT_EQ(ColumnWidths(*grid), (std::vector<int>{1400, 1700}));
    // Within a selection a border still moves along its whole length.
    EXPECT_EQ(grid->MoveGridLine(&dc, {3700, 2100}, {3500, 2100}, {1, 2}, Cells({{1, 2}}), 0, 20), 1);
    EXPECT_EQ(grid->GetCell(2, 2)->GetRect().right, 3500);
    EXPECT_EQ(GridInvariants(*grid), "");
}

TEST_F(TableGridLines, SelectionLineMovesOnlyWhereBothSidesAgree)
{
    auto grid = MakeGrid(3, 2, 1000, 600, false);
    // Only the left cell of row 2 selected: the right side has no partner.
    EXPECT_EQ(grid->MoveGridLine(&dc, {2000, 2700}, {2200, 2700}, {2, 1}, Cells({{2, 1}}), 0, 20), 0);
    // Rows 1 and 3 on the left, row 2 in between not: would tear the line.
    EXPECT_EQ(grid->MoveGridLine(&dc, {2000, 2100}, {2200, 2100}, {1, 1},
                                 Cells({{1, 1}, {3, 1}, {1, 2}, {2, 2}, {3, 2}}), 0, 20),
              0);
    EXPECT_EQ(grid->MoveGridLine(&dc, {2000, 2700}, {2200, 2700}, {2, 1}, Cells({{2, 1}, {2, 2}}), 0, 20), 1);
    EXPECT_EQ(grid->GetCell(2, 1)->GetRect().right, 2200);
    EXPECT_EQ(grid->GetCell(1, 1)->GetRect().right, 2000);
    EXPECT_EQ(GridInvariants(*grid), "");
}

TEST_F(TableGridLines, NarrowedTextLowersItsRow)
{
    auto grid = MakeGrid(1, 2, 3000, 500, false);
    // One line in the wide cell, two once it is 1500 wide.
    std::string text = "M";
    const LogFont font = CellFont();
    dc.SelectFont(font);
    while (dc.GetTextExtent(text + "M").cx < 2800) text += "M";
    grid->SetCellText({1, 2}, text);
    ASSERT_EQ(grid->GetCell(1, 2)->MeasureTextSize(&dc).cy, dc.GetTextHeight());
    ASSERT_LE(100 + dc.GetTextHeight(), 500);
    EXPECT_EQ(grid->MoveVerticalLine(&dc, {4000, 2100}, {5500, 2100}, {1, 1}, 0, 20), 1);
    const CTableCell* narrowed = grid->GetCell(1, 2);
    EXPECT_EQ(narrowed->GetWidth(), 1500);
    EXPECT_EQ(narrowed->GetHeight(), 50 + narrowed->MeasureTextSize(&dc).cy + 50);
    EXPECT_GT(narrowed->GetHeight(), 500);
    EXPECT_EQ(GridInvariants(*grid), "");
}

// ---------------------------------------------------------------------------
// Neighbours

TEST(TableGridNeighbours, TravelKeepsItsLineThroughMergedCells)
{
    CScreenDC dc;
    auto grid = MakeGrid(3, 3);
    ASSERT_EQ(grid->MergeCells(&dc, Cells({{1, 2}, {2, 2}})), 1); // b spans rows 1-2
    CTableCellAddress out;
    int wrapped = -1;
    // From d (row 2) rightwards: the merged b, then f on row 2's line.
    ASSERT_EQ(grid->GetRightNeighbour(2, {2, 1}, out, wrapped), 1);
    EXPECT_EQ(out, CTableCellAddress(1, 2));
    EXPECT_EQ(wrapped, 0);
    ASSERT_EQ(grid->GetRightNeighbour(2, {1, 2}, out, wrapped), 1);
    EXPECT_EQ(out, CTableCellAddress(2, 2));
    // At the right edge: the first cell of the row after the anchor row.
    ASSERT_EQ(grid->GetRightNeighbour(2, {2, 2}, out, wrapped), 1);
    EXPECT_EQ(out, CTableCellAddress(3, 1));
    EXPECT_EQ(wrapped, 1);
    // Leftwards from g at the left edge: the last cell of row 2.
    ASSERT_EQ(grid->GetLeftNeighbour(3, {3, 1}, out, wrapped), 1);
    EXPECT_EQ(out, CTableCellAddress(2, 2));
    EXPECT_EQ(wrapped, 1);
    // Up from h, anchored at h: the merged b.
    ASSERT_EQ(grid->GetUpperNeighbour({3, 2}, {3, 2}, out), 1);
    EXPECT_EQ(out, CTableCellAddress(1, 2));
    ASSERT_EQ(grid->GetLowerNeighbour({1, 2}, {1, 2}, out), 1);
    EXPECT_EQ(out, CTableCellAddress(3, 2));
}

TEST(TableGridNeighbours, EndsOfTheTableStay)
{
    auto grid = MakeGrid(2, 2);
    CTableCellAddress out;
    int wrapped = -1;
    grid->GetRightNeighbour(2, {2, 2}, out, wrapped);
    EXPECT_EQ(out, CTableCellAddress(2, 2));
    EXPECT_EQ(wrapped, 0);
    grid->GetLeftNeighbour(1, {1, 1}, out, wrapped);
    EXPECT_EQ(out, CTableCellAddress(1, 1));
    grid->GetUpperNeighbour({1, 2}, {1, 2}, out);
    EXPECT_EQ(out, CTableCellAddress(1, 2));
    grid->GetLowerNeighbour({2, 1}, {2, 1}, out);
    EXPECT_EQ(out, CTableCellAddress(2, 1));
    // Invalid addresses leave the out cell alone.
    out = CTableCellAddress(7, 7);
    EXPECT_EQ(grid->GetRightNeighbour(1, {3, 1}, out, wrapped), 0);
    EXPECT_EQ(grid->GetRightNeighbour(5, {1, 1}, out, wrapped), 0);
    EXPECT_EQ(out, CTableCellAddress(7, 7));
}
