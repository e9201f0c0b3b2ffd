// The table editor driven through the view: grid-line drags (the top
// border moves no row line), moving and resizing with two clicks, drag
// selections, merge and split, rows and columns at the edges of merged
// cells, rows continued on the next page, the table menu, copy, cut and
// Delete; each command one undo step, and none for a command that changes
// nothing.
#include "tests/tables/tool/TableToolTestSupport.h"

#include "ui/CSplitCellDlg.h"
#include "res/CommandIds.h"

#include <QMenu>

namespace {

class ModifyTableToolTest : public TableViewFixture {
protected:
    // A row line or column line under the mouse, as the editor sees it.
    int HoverState(int x, int y)
    {
        MoveTo(x, y);
        return Editor()->GetState();
    }
    std::vector<int> RowHeights(const CTableElement* t)
    {
        std::vector<int> h;
        for (int r = 1; r <= t->GetRowCount(); ++r) h.push_back(t->GetRowHeight(r));
        return h;
    }
    std::vector<int> CellCounts(const CTableElement* t)
    {
        std::vector<int> n;
        for (int r = 1; r <= t->GetRowCount(); ++r) n.push_back(t->Grid().GetRowCellCount(r));
        return n;
    }
    void Merge(CTableElement* t, CTableCellList cells)
    {
        CScreenDC dc;
        ASSERT_TRUE(t->MergeCells(&dc, cells));
    }
    // The command ran as one undo step (or none), marking the document.
    void ExpectSteps(int before, int added)
    {
        EXPECT_EQ(doc.UndoCount(), before + added);
        if (added) {
            EXPECT_TRUE(doc.IsModified());
        }
    }
};

using Heights = std::vector<int>;

} // namespace

TEST_F(ModifyTableToolTest, DraggingARowLineChangesThatRowAndTheTopBorderMovesNone)
{
    CTableElement* table = AddTable(2, 3);
    EditWithTableTool(table, 2, 3);
    EXPECT_EQ(HoverState(2500, 3700), CVTModifyTable::kOverRowLine);
    EXPECT_EQ(view->GetToolCursorId(), CVTModifyTable::kCursorRowLine);
    EXPECT_EQ(view->GetStatusPrompt(), LoadResString(CVTModifyTable::kPromptRowLine));

    Drag(CPoint(2500, 3700), CPoint(2500, 4000));
    EXPECT_EQ(RowHeights(table), (Heights{1000, 700}));
    ExpectSteps(0, 1);

    // The table's top border is no row line: dragging it changes nothing,
    // least of all the first row's lower line.
    EXPECT_NE(HoverState(2500, 3000), CVTModifyTable::kOverRowLine);
    EXPECT_NE(HoverState(6200, 3010), CVTModifyTable::kOverRowLine);
    Drag(CPoint(2500, 3000), CPoint(2500, 2700));
    EXPECT_EQ(RowHeights(table), (Heights{1000, 700}));
    EXPECT_EQ(table->GetOrigin(), CPoint(2000, 3000));
    ExpectSteps(0, 1);

    // A drag that ends where it began costs nothing.
    Drag(CPoint(2500, 4000), CPoint(2500, 4000));
    ExpectSteps(0, 1);

    Run(ID_EDIT_UNDO);
    EXPECT_EQ(RowHeights(Tables().front()), (Heights{700, 700}));
    Run(ID_EDIT_REDO);
    EXPECT_EQ(RowHeights(Tables().front()), (Heights{1000, 700}));
}

TEST_F(ModifyTableToolTest, DraggingAColumnLineMovesItThroughTheTable)
{
    CTableElement* table = AddTable(2, 3);
    EditWithTableTool(table, 1, 1);
    EXPECT_EQ(HoverState(3500, 3300), CVTModifyTable::kOverColumnLine);
    EXPECT_EQ(view->GetToolCursorId(), CVTModifyTable::kCursorColumnLine);
    Drag(CPoint(3500, 3300), CPoint(3800, 3300));
    EXPECT_EQ(CellRect(table, 1, 1).right, 3800);
    EXPECT_EQ(CellRect(table, 2, 1).right, 3800);
    EXPECT_EQ(CellRect(table, 2, 2).left, 3800);
    ExpectSteps(0, 1);
    // The box follows its cell.
    EXPECT_GT(Box()->width(), 1500 / 10);
}

TEST_F(ModifyTableToolTest, TheTableMovesAndResizesWithTwoClicksAndARightClickCancels)
{
    CTableElement* table = AddTable(2, 3);
    EditWithTableTool(table, 1, 1);
    const CRect move = Editor()->GetHandleRect(0);
    EXPECT_EQ(move.Width(), 160);
    EXPECT_EQ(move.BottomRight(), table->GetBoundRect().TopLeft());
    const CPoint handle((move.left + move.right) / 2, (move.top + move.bottom) / 2);
    EXPECT_EQ(HoverState(handle.x, handle.y), CVTModifyTable::kOverMoveHandle);
    EXPECT_EQ(view->GetToolCursorId(), CVTModifyTable::kCursorMove);

    // Cancelled by the right button: nothing moves.
    Click(handle.x, handle.y);
    EXPECT_EQ(Editor()->GetState(), CVTModifyTable::kMoving);
    MoveTo(9000, 9000);
    RightClick(9000, 9000);
    EXPECT_NE(Editor()->GetState(), CVTModifyTable::kMoving);
    EXPECT_EQ(table->GetOrigin(), CPoint(2000, 3000));
    ExpectSteps(0, 0);

    // The second click is the new top-left corner of the frame, over the
    // handle's offset; it may fall on another table.
    CTableElement* other = AddTable(1, 1, CPoint(9500, 9500));
    Click(handle.x, handle.y);
    MoveTo(10000, 10000);
    Click(10000, 10000);
    EXPECT_EQ(table->GetOrigin(), CPoint(10000 + 80 + 35, 10000 + 80 + 35));
    EXPECT_EQ(Editor()->GetTable(), table);
    EXPECT_EQ(other->GetOrigin(), CPoint(9500, 9500));
    ExpectSteps(0, 1);

    const CRect resize = Editor()->GetHandleRect(1);
    EXPECT_EQ(resize.TopLeft(), table->GetBoundRect().BottomRight());
    const CPoint corner((resize.left + resize.right) / 2, (resize.top + resize.bottom) / 2);
    EXPECT_EQ(HoverState(corner.x, corner.y), CVTModifyTable::kOverResizeHandle);
    Click(corner.x, corner.y);
    EXPECT_EQ(Editor()->GetState(), CVTModifyTable::kResizing);
    const CPoint origin = table->GetOrigin();
    Click(origin.x + 6000 + 35, origin.y + 2800 + 35);
    EXPECT_EQ(table->GetTableWidth(), 6000);
    EXPECT_EQ(table->GetTableHeight(), 2800);
    ExpectSteps(0, 2);
}

TEST_F(ModifyTableToolTest, ADragSelectionCommitsTheCellAndMergesAsOneStep)
{
    CTableElement* table = AddTable(2, 3);
    table->SetCellText(1, 2, "b");
    EditWithTableTool(table, 1, 1);
    Type(QStringLiteral("a"));
    EXPECT_FALSE(view->IsCommandEnabled(ID_MERGE_CELLS)) << "nothing selected";
    Drag(CellCentre(table, 1, 1), CellCentre(table, 1, 2));
    EXPECT_EQ(Editor()->GetSelection().size(), 2u);
    EXPECT_FALSE(Box()->isVisible());
    EXPECT_EQ(Text(table, 1, 1), "a") << "committed when the selection was made";
    ExpectSteps(0, 1);

    ASSERT_TRUE(view->IsCommandEnabled(ID_MERGE_CELLS));
    Run(ID_MERGE_CELLS);
    EXPECT_EQ(CellCounts(table), (std::vector<int>{2, 3}));
    EXPECT_EQ(CellRect(table, 1, 1).Width(), 3000);
    EXPECT_TRUE(Editor()->GetSelection().empty());
    ExpectSteps(0, 2);
    Run(ID_EDIT_UNDO);
    EXPECT_EQ(CellCounts(Tables().front()), (std::vector<int>{3, 3}));
    Run(ID_EDIT_REDO);
    EXPECT_EQ(CellCounts(Tables().front()), (std::vector<int>{2, 3}));
}

TEST_F(ModifyTableToolTest, SplittingTheOpenCellTakesTheDialogsCounts)
{
    CTableElement* table = AddTable(2, 2);
    EditWithTableTool(table, 1, 1);
    Type(QStringLiteral("s"));
    AcceptNext<CSplitCellDlg>([](CSplitCellDlg& d) {
        EXPECT_EQ(d.ColumnsEdit()->text(), QStringLiteral("2"));
        EXPECT_EQ(d.RowsEdit()->text(), QStringLiteral("1"));
        d.ColumnsEdit()->setText(QStringLiteral("3"));
        d.StepRows(1);
    });
    Run(ID_SPLIT_CELLS);
    ASSERT_TRUE(driver.Idle());
    EXPECT_EQ(table->GetRowCount(), 3);
    EXPECT_EQ(CellCounts(table), (std::vector<int>{4, 3, 2}));
    EXPECT_EQ(Text(table, 1, 1), "s") << "what was typed went in first";
    ExpectSteps(0, 2);
    EXPECT_EQ(Editor()->GetCurrentCell(), CTableCellAddress(1, 1));

    // Cancelled, or split into one cell: no step.
    RejectNext();
    Run(ID_SPLIT_CELLS);
    AcceptNext<CSplitCellDlg>([](CSplitCellDlg& d) { d.ColumnsEdit()->setText(QStringLiteral("1")); });
    Run(ID_SPLIT_CELLS);
    ExpectSteps(0, 2);
}

// A cell whose height matches no run of rows allows no row count; it used
// to open the dialog with nothing to choose.
TEST_F(ModifyTableToolTest, ACellWithNoAllowedRowCountSaysSoWithoutADialog)
{
    CTableElement* table = AddTable(2, 1);
    CTableCell* cell = table->Grid().GetCell(1, 1);
    const CRect r = cell->GetRect();
    cell->SetRect(r.left, r.top, r.right, r.bottom - 1);
    EditWithTableTool(table, 1, 1);
    Run(ID_SPLIT_CELLS);
    ASSERT_EQ(driver.messages.size(), 1u);
    EXPECT_EQ(driver.messages[0], LoadResString(CVTModifyTable::IDS_CANNOT_SPLIT));
    ExpectSteps(0, 0);
}

TEST_F(ModifyTableToolTest, ColumnsGoInOnlyWhereTheColumnIsAStackOfEqualCells)
{
    CTableElement* table = AddTable(2, 3);
    Merge(table, {{1, 1}, {1, 2}});
    EditWithTableTool(table, 2, 2);
    EXPECT_FALSE(view->IsCommandEnabled(ID_COLUMN_LEFT)) << "under the merged cell";
    EXPECT_FALSE(Run(ID_COLUMN_LEFT));
    ExpectSteps(0, 0);

    EditWithTableTool(table, 2, 3);
    Type(QStringLiteral("c"));
    ASSERT_TRUE(view->IsCommandEnabled(ID_COLUMN_LEFT));
    Run(ID_COLUMN_LEFT);
    EXPECT_EQ(CellCounts(table), (std::vector<int>{3, 4}));
    EXPECT_EQ(Editor()->GetCurrentCell(), CTableCellAddress(2, 4)) << "the cell moved right";
    EXPECT_EQ(Text(table, 2, 4), "c");
    ExpectSteps(0, 2);
    Run(ID_COLUMN_RIGHT);
    EXPECT_EQ(CellCounts(table), (std::vector<int>{4, 5}));
    EXPECT_EQ(Editor()->GetCurrentCell(), CTableCellAddress(2, 4));
    ExpectSteps(0, 3);

    // Deleting the merged cell's column is refused (it reaches outside).
    EditWithTableTool(table, 2, 1);
    Run(ID_DELETE_COLUMN);
    EXPECT_EQ(CellCounts(table), (std::vector<int>{4, 5}));
    ExpectSteps(0, 3);
    EditWithTableTool(table, 2, 5);
    Run(ID_DELETE_COLUMN);
    EXPECT_EQ(CellCounts(table), (std::vector<int>{3, 4}));
    ExpectSteps(0, 4);
    Run(ID_EDIT_UNDO);
    EXPECT_EQ(CellCounts(Tables().front()), (std::vector<int>{4, 5}));
}

TEST_F(ModifyTableToolTest, RowsGoInBeforeAndAfterTheCurrentRowAndTheOnlyRowStays)
{
    CTableElement* table = AddTable(2, 2);
    table->SetCellText(2, 1, "r2");
    EditWithTableTool(table, 2, 1);
    Run(ID_ROW_BEFORE);
    EXPECT_EQ(table->GetRowCount(), 3);
    EXPECT_EQ(Editor()->GetCurrentCell(), CTableCellAddress(3, 1));
    EXPECT_EQ(BoxText(), "r2");
    Run(ID_ROW_AFTER);
    EXPECT_EQ(table->GetRowCount(), 4);
    EXPECT_EQ(Editor()->GetCurrentCell(), CTableCellAddress(3, 1));
    ExpectSteps(0, 2);
    // The deleted row's cell is let go; the next row to delete is clicked.
    Run(ID_DELETE_ROW);
    EXPECT_EQ(table->GetRowCount(), 3);
    EXPECT_FALSE(Box()->isVisible());
    ClickCell(table, 3, 1);
    Run(ID_DELETE_ROW);
    EXPECT_EQ(table->GetRowCount(), 2);
    ExpectSteps(0, 4);

    CTableElement* single = AddTable(1, 2, CPoint(9000, 9000));
    const int steps = doc.UndoCount();
    EditWithTableTool(single, 1, 1);
    Run(ID_DELETE_ROW);
    EXPECT_EQ(single->GetRowCount(), 1);
    ExpectSteps(steps, 0);
}

// The row that does not fit above the bottom margin goes onto a new page,
// in a one-row table with the row's columns; one undo step in all.
TEST_F(ModifyTableToolTest, ARowThatDoesNotFitContinuesOnANewPage)
{
    Settings().m_nTableBorderWidth = 35;
    CTableElement* table = AddTable(2, 2, CPoint(2000, 3000), 1500, 150);
    // Its bound ends 100 above the bottom margin (29700 - 500).
    const CRect bound = table->GetBoundRect();
    table->MoveTo(2000, 3000 + (29100 - bound.bottom));
    ASSERT_EQ(table->GetBoundRect().bottom, 29100);
    EditWithTableTool(table, 2, 1);
    Type(QStringLiteral("x"));
    Run(ID_ROW_AFTER);
    ASSERT_EQ(Pages().GetPageCount(), 2);
    EXPECT_EQ(view->GetSheetCount(), 2);
    EXPECT_EQ(Pages().GetCurrentPageIndex(), 0);
    EXPECT_EQ(table->GetRowCount(), 2) << "the table keeps its rows";
    EXPECT_EQ(Text(table, 2, 1), "x");
    const std::vector<CTableElement*> next = Tables(Pages().GetPageAt(1));
    ASSERT_EQ(next.size(), 1u);
    EXPECT_EQ(next[0]->GetRowCount(), 1);
    ASSERT_EQ(next[0]->Grid().GetRowCellCount(1), 2);
    EXPECT_EQ(CellRect(next[0], 1, 1).TopLeft(), CPoint(523, 523));
    EXPECT_EQ(CellRect(next[0], 1, 1).Width(), 1500);
    EXPECT_EQ(CellRect(next[0], 1, 2).left, 523 + 1500);
    EXPECT_EQ(CellRect(next[0], 1, 2).Width(), 1500);
    // The typed text and the continued row: two steps.
    ExpectSteps(0, 2);
    EXPECT_EQ(Editor()->GetCurrentCell(), CTableCellAddress(2, 1));

    Run(ID_EDIT_UNDO);
    EXPECT_EQ(Pages().GetPageCount(), 1);
    EXPECT_EQ(view->GetSheetCount(), 1);
    EXPECT_EQ(Text(Tables().front(), 2, 1), "x");
}

TEST_F(ModifyTableToolTest, ARowGoesToTheNextPagesTableWhenItHasRoomAndNowhereWhenItHoldsNoTable)
{
    CTableElement* table = AddTable(2, 2, CPoint(2000, 3000), 1500, 150);
    table->MoveTo(2000, 3000 + (29100 - table->GetBoundRect().bottom));
    view->InsertSheetAfter(0);
    ASSERT_EQ(Pages().GetPageCount(), 2);
    CTableElement* below = AddTable(3, 2, CPoint(2000, 2000), 1500, 400, Pages().GetPageAt(1));
    int steps = doc.UndoCount();
    EditWithTableTool(table, 2, 2);
    Run(ID_ROW_AFTER);
    EXPECT_EQ(below->GetRowCount(), 4);
    EXPECT_EQ(table->GetRowCount(), 2);
    EXPECT_EQ(Pages().GetPageCount(), 2);
    ExpectSteps(steps, 1);
    Run(ID_ROW_BEFORE);
    EXPECT_EQ(below->GetRowCount(), 5) << "before the current row: before the first row there";
    EXPECT_EQ(below->GetRowHeight(1), 400);
    ExpectSteps(steps, 2);

    // A next page with only a curve on it takes nothing, and nothing is
    // kept in the history.
    Pages().GetPageAt(1)->RemoveElement(below);
    delete below;
    Pages().SetCurrentPageIndex(1);
    AddCurve({{1000, 1000}, {3000, 1000}}, 0);
    Pages().SetCurrentPageIndex(0);
    steps = doc.UndoCount();
    EditWithTableTool(table, 2, 2);
    Run(ID_ROW_AFTER);
    EXPECT_EQ(table->GetRowCount(), 2);
    EXPECT_EQ(Pages().GetPageCount(), 2);
    EXPECT_EQ(Tables(Pages().GetPageAt(1)).size(), 0u);
    ExpectSteps(steps, 0);
}

TEST_F(ModifyTableToolTest, TheTableMenuOpensInsideTheTableAndRunsTheViewsCommands)
{
    CTableElement* table = AddTable(3, 2);
    EditWithTableTool(table, 2, 1);
    RightClick(15000, 15000);
    EXPECT_EQ(Editor()->GetTableMenu(), nullptr) << "outside the table: a beep";
    const CPoint c = CellCentre(table, 2, 2);
    RightClick(c.x, c.y);
    QMenu* menu = Editor()->GetTableMenu();
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(menu->isVisible());
    QStringList texts;
    for (QAction* a : menu->actions()) texts << (a->isSeparator() ? QStringLiteral("-") : a->text());
    EXPECT_EQ(texts.join(QLatin1Char('|')),
              QStringLiteral("复制表格|剪切表格|-|合并单元格|拆分单元格|插入行|插入列|-|删除当前行|删除当前列|-|表格属性(&P)..."));
    EXPECT_FALSE(view->CommandAction(ID_MERGE_CELLS)->isEnabled()) << "nothing to merge";
    menu->hide();
    view->CommandAction(ID_DELETE_ROW)->trigger();
    EXPECT_EQ(table->GetRowCount(), 2);
    ExpectSteps(0, 1);
}

TEST_F(ModifyTableToolTest, CopyCutAndDeleteOfTheTableAndItsCells)
{
    CTableElement* table = AddTable(2, 2);
    table->SetCellText(1, 1, "a");
    table->SetCellText(1, 2, "b");
    table->SetCellText(2, 1, "c");
    EditWithTableTool(table, 2, 2);
    Drag(CellCentre(table, 1, 1), CellCentre(table, 1, 2));
    ASSERT_EQ(Editor()->GetSelection().size(), 2u);
    KeyDown(Qt::Key_Delete);
    EXPECT_EQ(Text(table, 1, 1), "");
    EXPECT_EQ(Text(table, 1, 2), "");
    EXPECT_EQ(Text(table, 2, 1), "c");
    ExpectSteps(0, 1);
    // Nothing left to empty: no step.
    KeyDown(Qt::Key_Delete);
    ExpectSteps(0, 1);

    Run(ID_COPY_TABLE);
    EXPECT_TRUE(view->CanEditPaste());
    ExpectSteps(0, 1);
    Run(ID_CUT_TABLE);
    EXPECT_TRUE(Tables().empty());
    EXPECT_FALSE(TableTool()->IsEditing());
    EXPECT_EQ(Editor()->GetTable(), nullptr);
    ExpectSteps(0, 2);
    Run(ID_EDIT_PASTE);
    ASSERT_EQ(Tables().size(), 1u);
    EXPECT_EQ(Text(Tables().front(), 2, 1), "c");
}

// The diagonal command with cells selected used to add a second diagonal
// to cells that had one: it adds where one is missing, and takes them
// away when every selected cell has it.
TEST_F(ModifyTableToolTest, TheDiagonalCommandTogglesOverASelection)
{
    Settings().m_crTableLineColor = RGB(0, 0, 255);
    CTableElement* table = AddTable(2, 2);
    table->SetCellDiagonal({1, 1}, true, false, RGB(0, 0, 255), 25);
    EditWithTableTool(table, 2, 2);
    Drag(CellCentre(table, 1, 1), CellCentre(table, 1, 2));
    ASSERT_EQ(Editor()->GetSelection().size(), 2u);
    auto diagonals = [&](int index) {
        int n = 0;
        for (const CTableBorderLine& line : table->Grid().GetCell(1, index)->Lines())
            if (line.GetStart() != line.GetEnd()) ++n;
        return n - 4; // less the four sides
    };
    Run(ID_DIAGONAL_A);
    EXPECT_EQ(diagonals(1), 1);
    EXPECT_EQ(diagonals(2), 1);
    ExpectSteps(0, 1);
    Run(ID_DIAGONAL_A);
    EXPECT_EQ(diagonals(1), 0);
    EXPECT_EQ(diagonals(2), 0);
    ExpectSteps(0, 2);
    Run(ID_DIAGONAL_B);
    CTableBorderLine line;
    EXPECT_TRUE(table->FindCellAntiDiagonal({1, 2}, line));
    EXPECT_FALSE(table->FindCellAntiDiagonal({2, 2}, line));
    ExpectSteps(0, 3);
}
