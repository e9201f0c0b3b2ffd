// Helpers of the table tool tests: the curve tests' view at 10 page units
// per pixel, tables put on the page as the table tool makes them, typing
// into the in-cell edit box as a user types, and the dialogs answered by
// script (ModalDriver).
#pragma once

#include "tests/tools/CurveTestSupport.h"
#include "tests/ui/ModalDriver.h"

#include "editors/CVTSelect.h"
#include "tables/tool/CCellEdit.h"
#include "tables/CTableElement.h"
#include "tables/tool/CVTModifyTable.h"
#include "tables/tool/CVTTable.h"

#include "platform/CodePage.h"
#include "res/StringTable.h"

#include <QLineEdit>
#include <QTextCursor>

#include <functional>
#include <string>
#include <vector>

class TableViewFixture : public CurveViewFixture {
protected:
    static constexpr int kColumnWidth = 1500;
    static constexpr int kRowHeight = 700;

    void SetUp() override
    {
        CurveViewFixture::SetUp();
        QApplication::setActiveWindow(view.get());
    }
    void TearDown() override
    {
        QApplication::processEvents();
        EXPECT_EQ(driver.unexpected, 0) << "a dialog nobody expected was left open";
    }

    // --- Tools -----------------------------------------------------------
    CVTTable* TableTool() { return Tool<CVTTable>(CVEKView::kTableTool); }
    CVTModifyTable* Editor() { return TableTool()->GetEditor(); }
    CVTSelect* SelectToolObject() { return Tool<CVTSelect>(CVEKView::kSelectTool); }
    CVTModifyTable* SelectEditor() { return dynamic_cast<CVTModifyTable*>(SelectToolObject()->GetTableEditor()); }
    CCellEdit* Box(CVTModifyTable* editor = nullptr) { return (editor ? editor : Editor())->GetCellEdit(); }
    bool Run(UINT command) { return view->OnCommand(command); }

    // --- Tables ------------------------------------------------------------
    // rows x columns cells of the fixture's size from `origin`, with the
    // attributes the table tool gives a new table.
    CTableElement* AddTable(int rows, int columns, CPoint origin = CPoint(2000, 3000), int columnWidth = kColumnWidth,
                            int rowHeight = kRowHeight, CPage* page = nullptr)
    {
        const CSystemSettings& s = Settings();
        if (!page) page = Page();
        auto* table = new CTableElement(page, page->GetMaxLevel(), rows, columns, s.m_crTableLineColor,
                                        s.m_nTableBorderWidth, s.m_nTableInnerWidth, s.m_rcCellPadding,
                                        s.m_nTextAlignment, s.m_lfDefaultFont, s.m_crFontColor, s.m_crPaperColor,
                                        CRect(origin.x, origin.y, origin.x + columns * columnWidth,
                                              origin.y + rows * rowHeight));
        page->AddElement(table);
        view->Invalidate();
        return table;
    }
    std::vector<CTableElement*> Tables(CPage* page = nullptr)
    {
        std::vector<CTableElement*> tables;
        for (CGraphElement* e : (page ? page : Page())->Elements())
            if (e->GetType() == ELEMENT_TABLE) tables.push_back(static_cast<CTableElement*>(e));
        return tables;
    }
    static CPoint CellCentre(const CTableElement* table, int row, int index)
    {
        CRect r;
        table->GetCellRect(row, index, r);
        return CPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }
    static CRect CellRect(const CTableElement* table, int row, int index)
    {
        CRect r;
        table->GetCellRect(row, index, r);
        return r;
    }
    static std::string Text(const CTableElement* table, int row, int index)
    {
        return GbkToQString(table->GetCellText(row, index)).toStdString();
    }
    void ClickCell(const CTableElement* table, int row, int index)
    {
        const CPoint c = CellCentre(table, row, index);
        Click(c.x, c.y);
    }
    // The table tool editing the table with the cell open.
    void EditWithTableTool(CTableElement* table, int row = 1, int index = 1)
    {
        SelectTool(CVEKView::kTableTool);
        TableTool()->EditTable(table, row, index);
        const CPoint c = CellCentre(table, row, index);
        MoveTo(c.x, c.y);
    }

    // --- Typing -----------------------------------------------------------
    // Where the keyboard goes: the focus of the view's window, also while
    // the window is not active (after a modal dialog on a platform
    // without a window manager).
    QWidget* Focus() const
    {
        if (QWidget* w = QApplication::focusWidget()) return w;
        return view->window()->focusWidget();
    }
    // Characters typed where the keyboard is.
    void Type(const QString& text)
    {
        for (const QChar c : text) {
            QWidget* target = Focus() ? Focus() : view.get();
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
            QCoreApplication::sendEvent(target, &press);
            QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
            QCoreApplication::sendEvent(target, &release);
        }
    }
    // A key pressed where the keyboard is, as the window delivers it: a
    // shortcut override first, then the key.
    void Press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QWidget* target = Focus() ? Focus() : view.get();
        QKeyEvent over(QEvent::ShortcutOverride, key, modifiers);
        QCoreApplication::sendEvent(target, &over);
        QKeyEvent press(QEvent::KeyPress, key, modifiers);
        QCoreApplication::sendEvent(target, &press);
        QKeyEvent release(QEvent::KeyRelease, key, modifiers);
        QCoreApplication::sendEvent(Focus() ? Focus() : view.get(), &release);
    }
    std::string BoxText(CVTModifyTable* editor = nullptr)
    {
        return Box(editor)->toPlainText().toStdString();
    }
    void PutCaret(int position, CVTModifyTable* editor = nullptr)
    {
        QTextCursor cursor = Box(editor)->textCursor();
        cursor.setPosition(position);
        Box(editor)->setTextCursor(cursor);
    }

    // The next dialog is filled by `fill` and then accepted (rejected),
    // as the user's click on OK (Cancel) would: after the handler returns,
    // so that message boxes it brings up reach the driver.
    template <class Dialog>
    void AcceptNext(std::function<void(Dialog&)> fill)
    {
        driver.Then([fill](QWidget* w) {
            auto* dialog = qobject_cast<Dialog*>(w);
            ASSERT_NE(dialog, nullptr);
            fill(*dialog);
            QMetaObject::invokeMethod(dialog, [dialog] { dialog->accept(); }, Qt::QueuedConnection);
        });
    }
    void RejectNext()
    {
        driver.Then([](QWidget* w) {
            auto* dialog = qobject_cast<QDialog*>(w);
            ASSERT_NE(dialog, nullptr);
            QMetaObject::invokeMethod(dialog, [dialog] { dialog->reject(); }, Qt::QueuedConnection);
        });
    }
    // Lets the driver answer what is still open.
    void Settle()
    {
        for (int i = 0; i < 50 && (!driver.Idle() || QApplication::activeModalWidget()); ++i)
            QApplication::processEvents(QEventLoop::AllEvents, 20);
    }

    ModalDriver driver;
};
