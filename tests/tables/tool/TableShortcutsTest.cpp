// The window's keyboard shortcuts while a table cell is open in its edit
// box: the box has the keyboard, yet Ctrl+Z and Ctrl+Y are the program's
// Undo and Redo, which take back typing in the box first and then the
// document's steps, as the Edit menu does.
#include "shell/CMainFrame.h"
#include "settings/CSystemSettings.h"
#include "shell/CVEKApp.h"
#include "app/CVEKDoc.h"
#include "app/CVEKView.h"
#include "model/CPage.h"
#include "model/CPageSet.h"
#include "platform/CodePage.h"
#include "tables/tool/CCellEdit.h"
#include "tables/CTableElement.h"
#include "res/CommandIds.h"

#include "tests/shell/ProgramHomeTest.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QWindow>

#include <memory>

Q_GUI_EXPORT void qt_handleKeyEvent(QWindow* window, QEvent::Type type, int key, Qt::KeyboardModifiers modifiers,
                                    const QString& text, bool autorepeat, ushort count);

namespace {

class TableShortcutsTest : public ProgramHomeTest {
protected:
    void SetUp() override
    {
        ProgramHomeTest::SetUp();
        if (HasFatalFailure()) return;

        frame = std::make_unique<CMainFrame>();
        frame->NewDocument();
        frame->resize(1000, 760);
        frame->show();
        frame->activateWindow();
        QElapsedTimer waited;
        waited.start();
        while (QApplication::activeWindow() != frame.get() && waited.elapsed() < 5000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        ASSERT_EQ(QApplication::activeWindow(), frame.get());
        view = frame->GetEditingView();
        view->setFocus();
        view->SetViewTransform(10.0, 0, 0);

        // A 2 x 2 table, as the table tool makes one, opened at cell (1, 1)
        // by the select tool.
        const CSystemSettings& s = Settings();
        CPage* page = Doc()->GetPageSet()->GetCurrentPage();
        table = new CTableElement(page, page->GetMaxLevel(), 2, 2, s.m_crTableLineColor, s.m_nTableBorderWidth,
                                  s.m_nTableInnerWidth, s.m_rcCellPadding, s.m_nTextAlignment, s.m_lfDefaultFont,
                                  s.m_crFontColor, s.m_crPaperColor, CRect(2000, 3000, 5000, 4400));
        table->SetCellText(1, 1, "a");
        page->AddElement(table);
        frame->CommandAction(ID_TOOL_SELECT)->trigger();
        CRect cell;
        ASSERT_TRUE(table->GetCellRect(1, 1, cell));
        Click(cell.CenterPoint());
        box = view->findChild<CCellEdit*>();
        ASSERT_NE(box, nullptr);
        ASSERT_TRUE(box->isVisible());
        ASSERT_EQ(QApplication::focusWidget(), box) << "the open cell has the keyboard";
        ASSERT_EQ(Doc()->UndoCount(), 0);
    }
    void TearDown() override { frame.reset(); }

    CVEKDoc* Doc() const { return frame->GetDocument(); }

    void Click(const CPoint& at)
    {
        const CPoint d = view->ModelToDevicePoint(at.x, at.y);
        const QPointF p(d.x, d.y);
        QMouseEvent move(QEvent::MouseMove, p, view->mapToGlobal(p), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(view, &move);
        QMouseEvent press(QEvent::MouseButtonPress, p, view->mapToGlobal(p), Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(view, &press);
        QMouseEvent release(QEvent::MouseButtonRelease, p, view->mapToGlobal(p), Qt::LeftButton, Qt::NoButton,
                            Qt::NoModifier);
        QCoreApplication::sendEvent(view, &release);
    }
    // Keys as the window system delivers them: shortcuts first.
    void TypeKey(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, const QString& text = QString())
    {
        // The commands' enabling is refreshed on a timer in the program.
        view->UpdateCommandActions();
        qt_handleKeyEvent(frame->windowHandle(), QEvent::KeyPress, key, modifiers, text, false, 1);
        qt_handleKeyEvent(frame->windowHandle(), QEvent::KeyRelease, key, modifiers, text, false, 1);
    }
    void Run(int command)
    {
        view->UpdateCommandActions();
        frame->CommandAction(command)->trigger();
    }
    void Type(const QString& text)
    {
        for (const QChar c : text) TypeKey(0, Qt::NoModifier, QString(c));
    }
    std::string BoxText() const { return box->toPlainText().toStdString(); }
    CTableElement* Table() const
    {
        return static_cast<CTableElement*>(Doc()->GetPageSet()->GetCurrentPage()->ElementAt(0));
    }
    static int CellsInFirstRow(const CTableElement* t)
    {
        int n = 0;
        while (t->IsValidCell(1, n + 1)) ++n;
        return n;
    }

    std::unique_ptr<CMainFrame> frame;
    CVEKView* view = nullptr;
    CTableElement* table = nullptr;
    CCellEdit* box = nullptr;
};

} // namespace

TEST_F(TableShortcutsTest, CtrlZAndCtrlYTakeBackAndRedoTableCommandsWhileACellIsOpen)
{
    const struct {
        int command;
        int rows;
        int columns;
    } cases[] = {{ID_ROW_AFTER, 3, 2}, {ID_COLUMN_RIGHT, 2, 3}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command);
        Run(c.command);
        ASSERT_EQ(Table()->GetRowCount(), c.rows);
        ASSERT_EQ(CellsInFirstRow(Table()), c.columns);
        ASSERT_EQ(Doc()->UndoCount(), 1);

        TypeKey(Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(Table()->GetRowCount(), 2);
        EXPECT_EQ(CellsInFirstRow(Table()), 2);
        EXPECT_EQ(Doc()->UndoCount(), 0);
        EXPECT_EQ(Doc()->CanRedo(), 1);

        TypeKey(Qt::Key_Y, Qt::ControlModifier);
        EXPECT_EQ(Table()->GetRowCount(), c.rows);
        EXPECT_EQ(CellsInFirstRow(Table()), c.columns);
        EXPECT_EQ(Doc()->UndoCount(), 1);

        // Back to the two by two table, open again at its first cell.
        TypeKey(Qt::Key_Z, Qt::ControlModifier);
        table = Table();
        CRect cell;
        ASSERT_TRUE(table->GetCellRect(1, 1, cell));
        Click(cell.CenterPoint());
        ASSERT_EQ(QApplication::focusWidget(), box);
    }
}

TEST_F(TableShortcutsTest, CtrlZTakesBackTypingInTheBoxBeforeTheDocumentsSteps)
{
    Run(ID_ROW_AFTER);
    ASSERT_EQ(Doc()->UndoCount(), 1);
    ASSERT_EQ(QApplication::focusWidget(), box);
    Type(QStringLiteral("xy"));
    ASSERT_EQ(BoxText(), "xy");

    TypeKey(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Doc()->UndoCount(), 1) << "the typing goes first";
    EXPECT_NE(BoxText(), "xy");
    for (int i = 0; i < 3 && BoxText() != "a"; ++i) TypeKey(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(BoxText(), "a");
    EXPECT_EQ(Doc()->UndoCount(), 1);

    TypeKey(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Doc()->UndoCount(), 0) << "then the inserted row";
    EXPECT_EQ(Table()->GetRowCount(), 2);
}
