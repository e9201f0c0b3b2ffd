// The grid's layout, bounds, hit tests and finds, moving and resizing.
#include "TableTestSupport.h"

#include "platform/CDC.h"

#include <gtest/gtest.h>

using namespace tabletest;

TEST(TableGridLayout, DefaultGridIsEmptyAtTheOrigin)
{
    CTableGrid grid;
    EXPECT_EQ(grid.GetRowCount(), 0);
    EXPECT_EQ(grid.GetTableRect(), CRect(0, 0, 0, 0));
    EXPECT_EQ(grid.GetBoundRect(), CRect(-2, -2, 2, 2));
    grid.MoveTo(500, 500);
    EXPECT_EQ(grid.GetOrigin(), CPoint(0, 0));
    EXPECT_EQ(grid.GetMargins(), CRect(10, 0, 10, 0));
    EXPECT_EQ(grid.GetRowHeight(1), -1);
    EXPECT_EQ(grid.GetRowCellCount(1), 0);
    EXPECT_EQ(grid.GetCell(1, 1), nullptr);
    EXPECT_STREQ(grid.GetCellText({1, 1}), "");
}

TEST(TableGridLayout, BoundsTakeInTheWiderLine)
{
    struct Case {
        int border;
        int inner;
        int grow;
    } cases[] = {{2, 1, 2}, {1, 3, 2}, {5, 1, 5}, {35, 25, 23}, {0, 0, 0}, {0, 1, 1}};
    for (const Case& c : cases) {
        auto grid = MakeGrid(1, 1);
        grid->SetBorderWidth(c.border);
        grid->SetInnerLineWidth(c.inner);
        EXPECT_EQ(grid->GetBoundRect(), CRect(1000 - c.grow, 2000 - c.grow, 2000 + c.grow, 2600 + c.grow))
            << c.border << " " << c.inner;
    }
}

TEST(TableGridLayout, RectangleIsDividedByRoundedSizes)
{
    const LogFont font = CellFont();
    CTableGrid grid(3, 3, 0, 2, 1, CRect(10, 0, 10, 0), 4, &font, 0, 0xFFFFFF, CRect(0, 0, 1000, 1000));
    EXPECT_EQ(ColumnWidths(grid), (std::vector<int>{333, 333, 333}));
    EXPECT_EQ(RowHeights(grid), (std::vector<int>{333, 333, 333}));
    EXPECT_EQ(grid.GetTableRect(), CRect(0, 0, 999, 999));
    EXPECT_EQ(GridInvariants(grid), "");
    // Sizes that round below a unit are a unit.
    CTableGrid tiny(4, 4, 0, 2, 1, CRect(), 4, &font, 0, 0xFFFFFF, CRect(0, 0, 3, -5));
    EXPECT_EQ(ColumnWidths(tiny), (std::vector<int>{1, 1, 1, 1}));
    EXPECT_EQ(GridInvariants(tiny), "");
    // No rows or columns: nothing built.
    CTableGrid none(0, 3, 0, 2, 1, CRect(), 4, &font, 0, 0xFFFFFF, CRect(0, 0, 300, 300));
    EXPECT_EQ(none.GetRowCount(), 0);
}

TEST(TableGridLayout, TemplateCellIsCopiedSideBySide)
{
    CTableGrid owner;
    const LogFont font = CellFont();
    CTableCell templ(&owner, 2, &font, RGB(1, 2, 3), RGB(4, 5, 6), 7, RGB(8, 9, 10), 0, 0, 400, 300);
    templ.SetText("not copied");
    CTableGrid grid(CPoint(100, 100), RGB(8, 9, 10), 3, 7, CRect(), 2, 3, &templ);
    EXPECT_EQ(ColumnLines(grid), (std::vector<int>{100, 500, 900, 1300}));
    EXPECT_EQ(RowHeights(grid), (std::vector<int>{300, 300}));
    const CTableCell* c = grid.GetCell(2, 3);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->GetRect(), CRect(900, 400, 1300, 700));
    EXPECT_EQ(c->GetAlignment(), 2);
    EXPECT_EQ(c->GetBackColor(), RGB(4, 5, 6));
    EXPECT_EQ(c->Text(), "");
    EXPECT_EQ(c->GetBorderLine(1), CTableBorderLine(7, RGB(8, 9, 10), CPoint(900, 400), CPoint(1300, 400)));
    EXPECT_EQ(templ.GetRect(), CRect(0, 0, 400, 300));
    EXPECT_EQ(GridInvariants(grid), "");
}

// ---------------------------------------------------------------------------
// Finding cells and lines

TEST(TableGridFind, IndexIsNotAColumn)
{
    CScreenDC dc;
    auto grid = MakeGrid(3, 3);
    ASSERT_EQ(grid->MergeCells(&dc, {{1, 1}, {2, 1}}), 1);
    EXPECT_EQ(grid->GetRowCellCount(2), 2);
    const CTableCell* first = grid->GetCell(2, 1);
    EXPECT_EQ(first->Text(), "e");
    EXPECT_EQ(first->GetRect().left, grid->GetCell(1, 1)->GetRect().right);
    CTableCellAddress at;
    ASSERT_EQ(grid->HitTestCell(1500, 2700, at), 1);
    EXPECT_EQ(at, CTableCellAddress(1, 1));
    ASSERT_EQ(grid->HitTestCell(2500, 2700, at), 1);
    EXPECT_EQ(at, CTableCellAddress(2, 1));
}

TEST(TableGridFind, LinesNearAPoint)
{
    auto grid = MakeGrid(2, 3);
    CTableCellAddress at;
    int side = -1;
    // Between two cells: the right line of the cell on its left.
    ASSERT_EQ(grid->HitTestVerticalLine(2003, 2300, 5, at, side), 1);
    EXPECT_EQ(at, CTableCellAddress(1, 1));
    EXPECT_EQ(side, 0);
    // The table's left border: the left line of the row's first cell.
    ASSERT_EQ(grid->HitTestVerticalLine(1002, 2900, 5, at, side), 1);
    EXPECT_EQ(at, CTableCellAddress(2, 1));
    EXPECT_EQ(side, 1);
    // Between rows: the bottom of the cell above.
    ASSERT_EQ(grid->HitTestHorizontalLine(3500, 2598, at, 5), 1);
    EXPECT_EQ(at, CTableCellAddress(1, 3));
    // Near the top line: cell (1, 1), wherever x is.
    ASSERT_EQ(grid->HitTestHorizontalLine(3900, 2003, at, 5), 1);
    EXPECT_EQ(at, CTableCellAddress(1, 1));
    // Left of or above the origin: nothing, even within the tolerance.
    EXPECT_EQ(grid->HitTestVerticalLine(998, 2300, 5, at, side), 0);
    EXPECT_EQ(grid->HitTestHorizontalLine(1500, 1998, at, 5), 0);
    EXPECT_EQ(grid->HitTestCell(999, 2100, at), 0);
}

TEST(TableGridFind, CellsMeetingARectangle)
{
    auto grid = MakeGrid(2, 3);
    CTableCellList cells;
    // Only touching the edge of a cell does not collect it.
    grid->GetCellsInRect(CRect(2000, 2000, 3000, 2600), cells);
    EXPECT_EQ(cells, (CTableCellList{{1, 2}}));
    cells.clear();
    grid->GetCellsInRect(CRect(1500, 2500, 2500, 2700), cells);
    EXPECT_EQ(cells, (CTableCellList{{2, 2}, {2, 1}, {1, 2}, {1, 1}}));
    EXPECT_EQ(grid->GetCellsBoundRect(cells), CRect(1000, 2000, 3000, 3200));
    CRect u;
    EXPECT_EQ(grid->GetCellsUnionRect({{1, 1}, {9, 9}}, u), 0);
}

TEST(TableGridFind, EdgesAndCorners)
{
    auto grid = MakeGrid(2, 3);
    CTableCellAddress at;
    EXPECT_EQ(grid->FindCellByTopLeft(2000, 2600, at), 1);
    EXPECT_EQ(at, CTableCellAddress(2, 2));
    EXPECT_EQ(grid->FindCellByTopRight(2000, 2600, at), 1);
    EXPECT_EQ(at, CTableCellAddress(2, 1));
    EXPECT_EQ(grid->FindCellByLeftEdge(3000, 2599, at), 1);
    EXPECT_EQ(at, CTableCellAddress(1, 3));
    EXPECT_EQ(grid->FindCellByBottomEdge(3999, 2600, at), 1);
    EXPECT_EQ(at, CTableCellAddress(1, 3));
    EXPECT_EQ(grid->FindCellByBottomEdge(4000, 2600, at), 0);
    EXPECT_EQ(grid->FindCellAtOrLeftOf(2, 2500, 2000, at), 1);
    EXPECT_EQ(at, CTableCellAddress(2, 2));
    EXPECT_EQ(grid->FindCellAtOrRightOf(2, 2500, 2000, at), 1);
    EXPECT_EQ(at, CTableCellAddress(2, 3));
}

// ---------------------------------------------------------------------------
// Moving and resizing

TEST(TableGridResize, TwiceAsWideKeepsTheRows)
{
    auto grid = MakeGrid(2, 3);
    grid->AddCellDiagonals({1, 2}, true, false, 0, 10);
    ASSERT_EQ(grid->ResizeToRect(CRect(1000, 2000, 7000, 3200)), 1);
    EXPECT_EQ(ColumnWidths(*grid), (std::vector<int>{2000, 2000, 2000}));
    EXPECT_EQ(RowHeights(*grid), (std::vector<int>{600, 600}));
    CTableBorderLine diagonal;
    EXPECT_EQ(grid->FindCellMainDiagonal({1, 2}, diagonal), 1);
    EXPECT_EQ(GridInvariants(*grid), "");
}

TEST(TableGridResize, RowsAndCellsStayTogetherWhenRounded)
{
    auto grid = MakeGrid(3, 3, 1000, 600);
    // Elsewhere and to sizes that do not divide evenly.
    ASSERT_EQ(grid->ResizeToRect(CRect(-50, 10, 950, 1010)), 1);
    EXPECT_EQ(grid->GetOrigin(), CPoint(-50, 10));
    EXPECT_EQ(grid->GetTableRect(), CRect(-50, 10, 950, 1010));
    EXPECT_EQ(RowHeights(*grid), (std::vector<int>{333, 334, 333}));
    EXPECT_EQ(GridInvariants(*grid), "");
}

TEST(TableGridResize, RefusedWhenSomethingWouldVanish)
{
    CTableGrid empty;
    EXPECT_EQ(empty.ResizeToRect(CRect(0, 0, 100, 100)), 0);
    auto grid = MakeGrid(3, 3);
    const std::string before = GridRecord(*grid);
    for (const CRect& r : {CRect(0, 0, 0, 100), CRect(0, 0, 100, -1), CRect(0, 0, 2, 100), CRect(0, 0, 100, 2)}) {
        EXPECT_EQ(grid->ResizeToRect(r), 0);
        EXPECT_EQ(GridRecord(*grid), before);
    }
}

TEST(TableGridMove, CellsAndTheirLinesMoveWithTheOrigin)
{
    auto grid = MakeGrid(2, 2);
    grid->AddCellDiagonals({2, 2}, false, true, 0, 10);
    grid->MoveTo(0, 0);
    EXPECT_EQ(grid->GetTableRect(), CRect(0, 0, 2000, 1200));
    EXPECT_EQ(grid->GetCell(2, 2)->GetBorderLine(0), CTableBorderLine(25, 0, CPoint(1000, 1200), CPoint(1000, 600)));
    CTableBorderLine anti;
    ASSERT_EQ(grid->FindCellAntiDiagonal({2, 2}, anti), 1);
    EXPECT_EQ(anti.GetStart(), CPoint(2000, 600));
    EXPECT_EQ(GridInvariants(*grid), "");
}

TEST(TableGridAttributes, LineColourAndWidthReachEveryCellLine)
{
    auto grid = MakeGrid(2, 2);
    grid->AddCellDiagonals({1, 1}, true, true, RGB(1, 1, 1), 3);
    EXPECT_EQ(grid->SetLineColor(RGB(9, 8, 7)), 2);
    EXPECT_EQ(grid->SetInnerLineWidth(40), 2);
    for (int r = 1; r <= 2; ++r)
        for (int i = 1; i <= 2; ++i)
            for (const CTableBorderLine& l : grid->GetCell(r, i)->Lines())
                EXPECT_EQ(std::make_pair(l.GetWidth(), l.GetColor()), std::make_pair(40, RGB(9, 8, 7)));
    // Width setters through the grid ignore widths below 1.
    EXPECT_EQ(grid->SetCellSideWidth({1, 1}, 0), 0);
    EXPECT_EQ(grid->GetCellBorderWidth({1, 1}, 0), 40);
    EXPECT_EQ(grid->GetCellBorderWidth({5, 1}, 0), -1);
}
