// The in-cell edit box driven as a user types: text kept until the cell is
// committed, Esc and Undo inside the box, the arrow keys and Tab at the
// edges of the text, the diagonals and alignments it carries into the
// cell, and typed text kept when the tool or the page changes.
#include "tests/tables/tool/TableToolTestSupport.h"

#include "app/CSheetTabBar.h"
#include "res/CommandIds.h"

#include <QTextDocument>

namespace {

class CellEditTest : public TableViewFixture {
protected:
    // A 2 x 3 table with texts "a" ... "f", edited in the table tool.
    CTableElement* LabelledTable()
    {
        CTableElement* table = AddTable(2, 3);
        char next = 'a';
        for (int r = 1; r <= 2; ++r)
            for (int i = 1; i <= 3; ++i) table->SetCellText(r, i, std::string(1, next++));
        return table;
    }
};

} // namespace

// Cells open with their whole text selected; Esc used to empty the cell
// with it. It gives the cell back its text and the keyboard to the view.
TEST_F(CellEditTest, EscGivesTheCellBackItsText)
{
    CTableElement* table = AddTable(2, 2);
    table->SetCellText(1, 1, QStringToGbk(QStringLiteral("旧的")));
    EditWithTableTool(table, 1, 1);
    EXPECT_EQ(Box()->textCursor().selectedText(), QStringLiteral("旧的"));
    Type(QStringLiteral("新"));
    EXPECT_EQ(BoxText(), "新");
    EXPECT_TRUE(view->CanEditUndo());
    EXPECT_TRUE(TableTool()->HasPendingStep());

    Press(Qt::Key_Escape);
    EXPECT_EQ(BoxText(), "旧的");
    EXPECT_EQ(Text(table, 1, 1), "旧的");
    EXPECT_EQ(Focus(), view.get());
    EXPECT_FALSE(TableTool()->HasPendingStep());
    ClickCell(table, 2, 2);
    EXPECT_EQ(Text(table, 1, 1), "旧的");
    EXPECT_EQ(doc.UndoCount(), 0);
    EXPECT_FALSE(doc.IsModified());
}

// The box shows a text through Qt's strings, which have no lone CR or LF
// and no bytes that are not GBK: clicked into and out of again, such cells
// used to be written back with other bytes, as a step of their own.
TEST_F(CellEditTest, ACellClickedIntoAndOutOfKeepsItsBytes)
{
    const std::string kept[] = {
        "a\nb", "a\rb", std::string("\xFF\xFF\xFF\x7A"), "\xD6\xD0\n\r\n", "tab\there ",
    };
    CTableElement* table = AddTable(2, 3);
    for (int i = 0; i < 5; ++i) table->SetCellText(1 + i / 3, 1 + i % 3, kept[i]);
    // An alignment the box cannot show, as a damaged file may give it.
    table->SetCellAlignment({2, 3}, 12);
    SelectTool(CVEKView::kSelectTool);
    for (int i = 0; i < 6; ++i) {
        ClickCell(table, 1 + i / 3, 1 + i % 3);
        ASSERT_EQ(SelectEditor()->GetCurrentCell(), CTableCellAddress(1 + i / 3, 1 + i % 3)) << i;
        EXPECT_FALSE(view->GetCurrentTool()->HasPendingStep()) << i;
    }
    // Out of the table.
    Click(500, 500);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(table->GetCellText(1 + i / 3, 1 + i % 3), kept[i]) << i;
    EXPECT_EQ(table->GetCellAlignment({2, 3}), 12);
    EXPECT_EQ(doc.UndoCount(), 0);
    EXPECT_FALSE(doc.IsModified());

    // What the user types still goes in, as the cell's text.
    ClickCell(table, 1, 1);
    Type(QStringLiteral("x"));
    Press(Qt::Key_Return);
    Type(QStringLiteral("y"));
    EXPECT_TRUE(view->GetCurrentTool()->HasPendingStep());
    ClickCell(table, 1, 2);
    EXPECT_EQ(std::string(table->GetCellText(1, 1)), "x\r\ny");
    EXPECT_EQ(table->GetCellText(1, 2), kept[1]);
    EXPECT_EQ(doc.UndoCount(), 1);
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(CellEditTest, TypingIsOneStepMadeAtTheCommitAndUndoWorksInTheBoxFirst)
{
    CTableElement* table = LabelledTable();
    EditWithTableTool(table, 1, 1);
    Type(QStringLiteral("xy"));
    for (int i = 0; i < 3 && TableTool()->HasPendingStep(); ++i) Run(ID_EDIT_UNDO);
    EXPECT_EQ(BoxText(), "a") << "the box's own undo";
    EXPECT_EQ(doc.UndoCount(), 0);

    // The caret stands after the text undo gave back.
    Type(QStringLiteral("cd"));
    Press(Qt::Key_Tab);
    EXPECT_EQ(Text(table, 1, 1), "acd");
    EXPECT_EQ(Editor()->GetCurrentCell(), CTableCellAddress(1, 2));
    EXPECT_EQ(doc.UndoCount(), 1);
    EXPECT_TRUE(doc.IsModified());
    // Moving on without typing costs nothing.
    Press(Qt::Key_Tab);
    EXPECT_EQ(doc.UndoCount(), 1);
    Run(ID_EDIT_UNDO);
    EXPECT_EQ(Text(Tables().front(), 1, 1), "a");
}

TEST_F(CellEditTest, ArrowKeysMoveToTheNeighbourOnlyAtTheEdgesOfTheText)
{
    CTableElement* table = LabelledTable();
    table->SetCellText(1, 2, "cdef");
    EditWithTableTool(table, 1, 1);
    // The whole text is selected: Right only ends the selection.
    Press(Qt::Key_Right);
    EXPECT_EQ(Editor()->GetCurrentCell(), CTableCellAddress(1, 1));
    Press(Qt::Key_Right);
    EXPECT_EQ(Editor()->GetCurrentCell(), CTableCellAddress(1, 2));
    PutCaret(2);
    Press(Qt::Key_Right);
    EXPECT_EQ(Editor()->GetCurrentCell(), CTableCellAddress(1, 2)) << "inside the text the caret moves";
    EXPECT_EQ(Box()->textCursor().position(), 3);
    PutCaret(4);
    Press(Qt::Key_Down);
    EXPECT_EQ(Editor()->GetCurrentCell(), CTableCellAddress(2, 2));
    PutCaret(0);
    Press(Qt::Key_Up);
    EXPECT_EQ(Editor()->GetCurrentCell(), CTableCellAddress(1, 2));
    PutCaret(0);
    Press(Qt::Key_Left);
    EXPECT_EQ(Editor()->GetCurrentCell(), CTableCellAddress(1, 1));
    // Shift+Left with the caret at the start selects nothing and moves.
    PutCaret(0);
    Press(Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(Editor()->GetCurrentCell(), CTableCellAddress(1, 1)) << "the first cell has no left neighbour";
}

TEST_F(CellEditTest, TabWalksTheCellsAndStopsAtTheEnds)
{
    CTableElement* table = LabelledTable();
    EditWithTableTool(table, 2, 3);
    Press(Qt::Key_Tab);
    EXPECT_EQ(Editor()->GetCurrentCell(), CTableCellAddress(2, 3)) << "the last cell stays";
    EXPECT_EQ(BoxText(), "f");
    Press(Qt::Key_Backtab, Qt::ShiftModifier);
    Press(Qt::Key_Backtab, Qt::ShiftModifier);
    Press(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(Editor()->GetCurrentCell(), CTableCellAddress(1, 3)) << "back into the row above";
    EXPECT_EQ(BoxText(), "c");
    EditWithTableTool(table, 1, 1);
    Press(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(Editor()->GetCurrentCell(), CTableCellAddress(1, 1)) << "the first cell stays";
    EXPECT_EQ(BoxText(), "a") << "no tab went into the text";
}

// New diagonals used to be written with colour 0 and width 1 whatever the
// box held.
TEST_F(CellEditTest, DiagonalsGoIntoTheCellWithTheColourAndWidthOfTheBox)
{
    Settings().m_crTableLineColor = RGB(255, 0, 0);
    Settings().m_nTableInnerWidth = 40;
    CTableElement* table = AddTable(2, 2);
    EditWithTableTool(table, 1, 1);
    Run(ID_DIAGONAL_A);
    Run(ID_DIAGONAL_B);
    EXPECT_TRUE(Box()->GetDiagonal1().present);
    EXPECT_TRUE(TableTool()->HasPendingStep());
    ClickCell(table, 2, 2);
    CTableBorderLine line;
    ASSERT_TRUE(table->FindCellMainDiagonal({1, 1}, line));
    EXPECT_EQ(line.GetColor(), RGB(255, 0, 0));
    EXPECT_EQ(line.GetWidth(), 40);
    ASSERT_TRUE(table->FindCellAntiDiagonal({1, 1}, line));
    EXPECT_EQ(line.GetWidth(), 40);
    EXPECT_EQ(doc.UndoCount(), 1);

    // Reopened, the box shows them; toggled off, they leave the cell.
    ClickCell(table, 1, 1);
    EXPECT_TRUE(Box()->GetDiagonal2().present);
    EXPECT_EQ(Box()->GetDiagonal2().colour, RGB(255, 0, 0));
    Run(ID_DIAGONAL_A);
    ClickCell(table, 2, 2);
    EXPECT_FALSE(table->FindCellMainDiagonal({1, 1}, line));
    EXPECT_TRUE(table->FindCellAntiDiagonal({1, 1}, line));
    EXPECT_EQ(doc.UndoCount(), 2);
}

// Alignments 6 to 8 used to keep the box's previous style.
TEST_F(CellEditTest, TheBoxAlignsAcrossByTheAlignmentModuloThree)
{
    CTableElement* table = AddTable(1, 1);
    EditWithTableTool(table, 1, 1);
    const Qt::Alignment across[] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight};
    for (const int start : {0, 2, 1}) {
        for (int index = 0; index <= 8; ++index) {
            Box()->SetAlignment(start);
            Box()->SetAlignment(index);
            EXPECT_EQ(Box()->GetAlignment(), index);
            EXPECT_EQ(Box()->document()->defaultTextOption().alignment() & Qt::AlignHorizontal_Mask,
                      across[index % 3])
                << index << " after " << start;
        }
    }
    Box()->SetAlignment(9);
    EXPECT_EQ(Box()->GetAlignment(), 8) << "refused";

    // The tool bar's alignment reaches the cell through the box.
    view->OnTextAlignmentSelChange(7);
    EXPECT_EQ(Box()->GetAlignment(), 7);
    Press(Qt::Key_Escape);
    EXPECT_EQ(Box()->GetAlignment(), table->GetCellAlignment({1, 1})) << "Esc gives back the alignment too";
    view->OnTextAlignmentSelChange(7);
    Run(ID_EDIT_CANCEL);
    EXPECT_EQ(table->GetCellAlignment({1, 1}), 4) << "Cancel drops it";
}

TEST_F(CellEditTest, ClickingTheCurrentCellAgainKeepsWhatWasTyped)
{
    CTableElement* table = LabelledTable();
    EditWithTableTool(table, 1, 2);
    Type(QStringLiteral("zz"));
    ClickCell(table, 1, 2);
    EXPECT_EQ(BoxText(), "zz");
    EXPECT_EQ(Text(table, 1, 2), "b");
    // The click reached the view through the box.
    const CPoint c = CellCentre(table, 1, 2);
    const QPoint inBox = Box()->viewport()->mapFrom(view.get(), Device(c.x, c.y));
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(inBox), Box()->viewport()->mapToGlobal(QPointF(inBox)),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(Box()->viewport(), &press);
    EXPECT_EQ(Editor()->GetState(), CVTModifyTable::kPressed);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(inBox), Box()->viewport()->mapToGlobal(QPointF(inBox)),
                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(Box()->viewport(), &release);
    EXPECT_EQ(Editor()->GetState(), CVTModifyTable::kIdle);
    EXPECT_EQ(BoxText(), "zz");
}

// Typed text used to be lost when the select tool let the table go for
// another tool or another page.
TEST_F(CellEditTest, TypedTextIsCommittedOnAToolSwitchAndAPageChangeUnderTheSelectTool)
{
    CTableElement* table = AddTable(2, 2);
    SelectTool(CVEKView::kSelectTool);
    ClickCell(table, 1, 1);
    ASSERT_EQ(SelectToolObject()->GetSelected(), table);
    ASSERT_NE(SelectEditor(), nullptr);
    EXPECT_EQ(SelectEditor()->GetCurrentCell(), CTableCellAddress(1, 1));
    Type(QStringLiteral("tool"));
    SelectTool(CVEKView::kCurveTool);
    EXPECT_EQ(Text(table, 1, 1), "tool");
    EXPECT_FALSE(Box(SelectEditor())->isVisible());

    view->InsertSheetAfter(0);
    ASSERT_EQ(Pages().GetPageCount(), 2);
    SelectTool(CVEKView::kSelectTool);
    ClickCell(table, 2, 1);
    Type(QStringLiteral("page"));
    const int steps = doc.UndoCount();
    view->GetSheetTabBar()->OnNextSheet();
    ASSERT_EQ(Pages().GetCurrentPageIndex(), 1);
    EXPECT_EQ(Text(table, 2, 1), "page");
    EXPECT_EQ(doc.UndoCount(), steps + 1);
    EXPECT_FALSE(Box(SelectEditor())->isVisible());

    // The same under the table tool.
    view->GetSheetTabBar()->OnPrevSheet();
    EditWithTableTool(table, 2, 2);
    Type(QStringLiteral("t"));
    view->GetSheetTabBar()->OnNextSheet();
    EXPECT_EQ(Text(table, 2, 2), "t");
}

// Undo of an earlier step while a cell is open puts back the content
// without writing the box anywhere.
TEST_F(CellEditTest, UndoOfAnEarlierStepWithACellOpenLeavesTheRestoredTableAlone)
{
    CTableElement* table = LabelledTable();
    EditWithTableTool(table, 1, 1);
    Type(QStringLiteral("one"));
    Press(Qt::Key_Tab);
    ASSERT_EQ(doc.UndoCount(), 1);
    Run(ID_EDIT_UNDO);
    CTableElement* restored = Tables().front();
    EXPECT_EQ(Text(restored, 1, 1), "a");
    EXPECT_EQ(Text(restored, 1, 2), "b");
    EXPECT_EQ(doc.UndoCount(), 0);
    EXPECT_FALSE(Box()->isVisible());
    EXPECT_EQ(Editor()->GetTable(), nullptr);
}

TEST_F(CellEditTest, ColourChoicesGoToTheOpenCellAndCostAStepOnlyWhenTheyChangeIt)
{
    CTableElement* table = AddTable(1, 2);
    EditWithTableTool(table, 1, 1);
    view->OnColorSelChange(RGB(0, 0, 0), ID_FONT_COLOR);
    EXPECT_FALSE(TableTool()->HasPendingStep()) << "the colour the cell has";
    view->OnColorSelChange(RGB(0, 0, 255), ID_FONT_COLOR);
    view->OnColorSelChange(RGB(255, 255, 0), ID_CELL_COLOR);
    EXPECT_EQ(Box()->GetTextColor(), RGB(0, 0, 255));
    Press(Qt::Key_Tab);
    EXPECT_EQ(table->GetCellTextColor({1, 1}), RGB(0, 0, 255));
    EXPECT_EQ(table->GetCellBackColor({1, 1}), RGB(255, 255, 0));
    EXPECT_EQ(doc.UndoCount(), 1);
}

// With a transparent background the page shows through the box; an
// opaque one covers the cell's own text.
TEST_F(CellEditTest, ATransparentBoxShowsThePageThroughIt)
{
    CTableElement* table = AddTable(1, 1, CPoint(2000, 3000), 4000, 1500);
    table->SetCellText(1, 1, "WWW");
    table->SetCellAlignment({1, 1}, 0);
    EditWithTableTool(table, 1, 1);
    Box()->clear();
    // No caret in the picture.
    view->setFocus();
    QApplication::processEvents();
    const QRect area = Box()->geometry().adjusted(2, 2, -2, -2);
    auto darkInBox = [&] {
        const QImage shot = RenderView();
        int dark = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                if (qGray(shot.pixel(x, y)) < 100) ++dark;
        return dark;
    };
    EXPECT_EQ(darkInBox(), 0) << "white box over the text";
    Box()->SetBackColor(CCellEdit::kTransparent);
    EXPECT_GT(darkInBox(), 20) << "the cell's text shows through";
}
