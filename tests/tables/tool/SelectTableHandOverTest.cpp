// The select tool and tables: a table is hovered and, clicked, handed to
// the table editor with the clicked cell open; typing, table commands and
// the table menu reach the editor; leaving the table commits the cell; a
// table moves with the selection's moves and the arrow keys; cut lets the
// select tool go of it.
#include "tests/tables/tool/TableToolTestSupport.h"
#include "res/CommandIds.h"

#include <QMenu>

namespace {

class SelectTableHandOverTest : public TableViewFixture {
protected:
    void SetUp() override
    {
        TableViewFixture::SetUp();
        SelectTool(CVEKView::kSelectTool);
        select = SelectToolObject();
    }
    CVTSelect* select = nullptr;
};

} // namespace

TEST_F(SelectTableHandOverTest, AClickedTableGoesToTheTableEditorWithTheCellOpen)
{
    CTableElement* table = AddTable(2, 3);
    const CPoint c = CellCentre(table, 1, 2);
    MoveTo(c.x, c.y);
    EXPECT_EQ(select->GetHovered(), table);
    EXPECT_EQ(view->GetToolCursorId(), CVTSelect::kCursorTable);
    Click(c.x, c.y);
    ASSERT_EQ(select->GetSelected(), table);
    CVTModifyTable* editor = SelectEditor();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->GetTable(), table);
    EXPECT_EQ(editor->GetCurrentCell(), CTableCellAddress(1, 2));
    EXPECT_TRUE(Box(editor)->isVisible());
    EXPECT_EQ(Focus(), Box(editor));
    EXPECT_FALSE(view->GetRefocusFlag()) << "the box keeps the keyboard";

    Type(QStringLiteral("胸围"));
    EXPECT_TRUE(view->CanEditUndo());
    // A click on empty paper lets the table go and writes the cell.
    Click(15000, 15000);
    EXPECT_EQ(select->GetSelected(), nullptr);
    EXPECT_EQ(Text(table, 1, 2), "胸围");
    EXPECT_FALSE(Box(editor)->isVisible());
    EXPECT_EQ(doc.UndoCount(), 1);
    EXPECT_TRUE(view->GetRefocusFlag());
}

TEST_F(SelectTableHandOverTest, TableCommandsAndTheMenuReachTheEditorOnlyForASelectedTable)
{
    CTableElement* table = AddTable(2, 2);
    CCurveElement* curve = AddCurve({{1000, 10000}, {5000, 10000}}, 0);
    Click(3000, 10000);
    ASSERT_EQ(select->GetSelected(), curve);
    Run(ID_TABLE_PROPERTIES);
    Run(ID_ROW_AFTER);
    EXPECT_EQ(table->GetRowCount(), 2);
    EXPECT_EQ(doc.UndoCount(), 0);

    ClickCell(table, 2, 2);
    ASSERT_EQ(select->GetSelected(), table);
    Run(ID_ROW_AFTER);
    EXPECT_EQ(table->GetRowCount(), 3);
    EXPECT_EQ(doc.UndoCount(), 1);
    const CPoint c = CellCentre(table, 1, 1);
    RightClick(c.x, c.y);
    ASSERT_NE(SelectEditor()->GetTableMenu(), nullptr);
    EXPECT_TRUE(SelectEditor()->GetTableMenu()->isVisible());
    SelectEditor()->GetTableMenu()->hide();
}

TEST_F(SelectTableHandOverTest, WithoutTableMatchingAMouseMoveDropsTheTableAndKeepsTheText)
{
    CTableElement* table = AddTable(2, 2);
    ClickCell(table, 1, 1);
    Type(QStringLiteral("m"));
    Settings().m_bTableMatching = 0;
    MoveTo(2500, 3300);
    EXPECT_EQ(select->GetSelected(), nullptr);
    EXPECT_EQ(Text(table, 1, 1), "m");
    EXPECT_FALSE(Box(SelectEditor())->isVisible());
    Settings().m_bTableMatching = 1;
}

TEST_F(SelectTableHandOverTest, ATableMovesWithTheArrowKeysAndWithTheList)
{
    CTableElement* table = AddTable(2, 2);
    ClickCell(table, 1, 1);
    Press(Qt::Key_Escape);
    ASSERT_EQ(Focus(), view.get());
    KeyDown(Qt::Key_Right);
    KeyUp(Qt::Key_Right);
    EXPECT_EQ(table->GetOrigin(), CPoint(2010, 3000));
    EXPECT_EQ(doc.UndoCount(), 1);

    // A rubber band round the table lists it; dragging the list moves it.
    Click(15000, 15000);
    const CRect bound = table->GetBoundRect();
    Drag(CPoint(bound.left - 200, bound.top - 200), CPoint(bound.right + 200, bound.bottom + 200));
    ASSERT_TRUE(select->GetMultiSelection().Contains(table));
    const CPoint inside = CellCentre(table, 2, 2);
    Drag(inside, CPoint(inside.x + 1000, inside.y + 500));
    EXPECT_EQ(table->GetOrigin(), CPoint(3010, 3500));
    EXPECT_EQ(doc.UndoCount(), 2);
    Run(ID_EDIT_UNDO);
    EXPECT_EQ(Tables().front()->GetOrigin(), CPoint(2010, 3000));
}

TEST_F(SelectTableHandOverTest, CuttingTheTableLetsTheSelectToolGoOfIt)
{
    CTableElement* table = AddTable(2, 2);
    ClickCell(table, 1, 1);
    Type(QStringLiteral("k"));
    Run(ID_CUT_TABLE);
    EXPECT_TRUE(Tables().empty());
    EXPECT_EQ(select->GetSelected(), nullptr);
    EXPECT_EQ(SelectEditor()->GetTable(), nullptr);
    EXPECT_EQ(doc.UndoCount(), 2) << "the typed text, then the cut";
    // The mouse over the empty paper finds nothing that is gone.
    MoveTo(2500, 3300);
    EXPECT_EQ(select->GetHovered(), nullptr);
    Run(ID_EDIT_PASTE);
    ASSERT_EQ(Tables().size(), 1u);
    EXPECT_EQ(Text(Tables().front(), 1, 1), "k");
}
