// The table property sheet, the split-cell dialog and the table colour
// combo: what they show, what they refuse (with the field selected and the
// dialog kept open), what they give back, and the property sheet run by
// the table editor as one undo step.
#include "tests/tables/tool/TableToolTestSupport.h"

#include "tables/tool/CVTSetTableCellParaPage.h"
#include "tables/tool/CVTSetTablePropertySheet.h"
#include "tables/tool/CVTTableParaGeneralPage.h"
#include "ui/CSplitCellDlg.h"
#include "ui/CTableColorCombo.h"
#include "ui/CUpDownButtons.h"
#include "tests/ui/ScreenshotSupport.h"
#include "res/CommandIds.h"

#include <QCheckBox>
#include <QTabWidget>
#include <QToolButton>

namespace {

class TableDialogsTest : public TableViewFixture {
protected:
    void TearDown() override
    {
        CTableColorCombo::SetColorChooser(nullptr);
        TableViewFixture::TearDown();
    }
    // The sheet as the editor fills it for a default table.
    void Fill(CVTSetTablePropertySheet& sheet)
    {
        sheet.GeneralPage()->SetBorderWidth(35);
        sheet.GeneralPage()->SetInnerWidth(25);
        sheet.GeneralPage()->SetLineColor(0);
        for (auto side : {CVTSetTableCellParaPage::kLeft, CVTSetTableCellParaPage::kTop, CVTSetTableCellParaPage::kRight,
                          CVTSetTableCellParaPage::kBottom})
            sheet.CellPage()->SetMargin(side, 50);
    }
    QString Last() const { return driver.messages.empty() ? QString() : driver.messages.back(); }
};

} // namespace

TEST_F(TableDialogsTest, TheGeneralPageRefusesWidthsItCannotTake)
{
    struct Case {
        const char* border;
        const char* inner;
        int message; // 0: accepted
        int field;
    };
    const Case cases[] = {
        {"-0.1", "0.25", 36059, CVTTableParaGeneralPage::IDC_BORDER_WIDTH},
        {"abc", "0.25", 36130, CVTTableParaGeneralPage::IDC_BORDER_WIDTH},
        {"", "0.25", 36130, CVTTableParaGeneralPage::IDC_BORDER_WIDTH},
        {"0.35", "0", 36060, CVTTableParaGeneralPage::IDC_INNER_WIDTH},
        {"0.35", "0.2x", 36130, CVTTableParaGeneralPage::IDC_INNER_WIDTH},
        {"0", "0.001", 0, 0},
    };
    for (const Case& c : cases) {
        CVTSetTablePropertySheet sheet(36053, view.get());
        Fill(sheet);
        sheet.show();
        sheet.GeneralPage()->BorderEdit()->setText(QString::fromUtf8(c.border));
        sheet.GeneralPage()->InnerEdit()->setText(QString::fromUtf8(c.inner));
        driver.messages.clear();
        sheet.accept();
        if (c.message == 0) {
            EXPECT_TRUE(driver.messages.empty()) << c.border;
            EXPECT_EQ(sheet.result(), QDialog::Accepted);
            EXPECT_EQ(sheet.GeneralPage()->GetBorderWidth(), 0);
            EXPECT_EQ(sheet.GeneralPage()->GetInnerWidth(), 1);
            continue;
        }
        EXPECT_EQ(Last(), LoadResString(c.message)) << c.border << " " << c.inner;
        EXPECT_TRUE(sheet.isVisible());
        EXPECT_EQ(sheet.focusWidget()->objectName(), QString::number(c.field));
        // Leaving the page is refused by the same check.
        driver.messages.clear();
        EXPECT_FALSE(sheet.SetActivePage(1));
        EXPECT_EQ(sheet.GetActiveIndex(), 0);
        EXPECT_EQ(sheet.Tabs()->currentIndex(), 0);
        EXPECT_EQ(driver.messages.size(), 1u);
    }
}

TEST_F(TableDialogsTest, TheCellPageReportsTheFirstNegativeMarginByItsSide)
{
    CVTSetTablePropertySheet sheet(36053, view.get(), 1);
    Fill(sheet);
    sheet.show();
    EXPECT_EQ(sheet.GetActiveIndex(), 1);
    CVTSetTableCellParaPage* page = sheet.CellPage();
    page->MarginEdit(CVTSetTableCellParaPage::kLeft)->setText(QStringLiteral("-1"));
    page->MarginEdit(CVTSetTableCellParaPage::kBottom)->setText(QStringLiteral("-1"));
    sheet.accept();
    EXPECT_EQ(Last(), QStringLiteral("左边距不能小于0!"));
    EXPECT_EQ(sheet.focusWidget(), page->MarginEdit(CVTSetTableCellParaPage::kLeft));
    page->MarginEdit(CVTSetTableCellParaPage::kLeft)->setText(QStringLiteral("0"));
    sheet.accept();
    EXPECT_EQ(Last(), QStringLiteral("下边距不能小于0!"));
    page->MarginEdit(CVTSetTableCellParaPage::kBottom)->setText(QStringLiteral("x"));
    sheet.accept();
    EXPECT_EQ(Last(), LoadResString(36130));
    page->MarginEdit(CVTSetTableCellParaPage::kBottom)->setText(QStringLiteral("0.1"));
    // The tab to the general page is a request to leave, checked first.
    sheet.Tabs()->setCurrentIndex(0);
    EXPECT_EQ(sheet.GetActiveIndex(), 0);
    sheet.accept();
    EXPECT_EQ(sheet.result(), QDialog::Accepted);
    EXPECT_EQ(page->GetMargin(CVTSetTableCellParaPage::kLeft), 0);
    EXPECT_EQ(page->GetMargin(CVTSetTableCellParaPage::kBottom), 100);
    EXPECT_EQ(page->GetMargin(CVTSetTableCellParaPage::kTop), 50);
}

// At one decimal a width of 35 shows as "0.4" cm; left alone it must not
// come back as 40.
TEST_F(TableDialogsTest, ValuesLeftAloneComeBackExactlyAtACoarsePrecision)
{
    Settings().m_nPrecision = 10;
    CVTSetTablePropertySheet sheet(36053, view.get());
    Fill(sheet);
    EXPECT_EQ(sheet.GeneralPage()->BorderEdit()->text(), QStringLiteral("0"));
    EXPECT_EQ(sheet.CellPage()->MarginEdit(CVTSetTableCellParaPage::kTop)->text(), QStringLiteral("0.1"));
    EXPECT_EQ(sheet.GeneralPage()->GetBorderWidth(), 35);
    EXPECT_EQ(sheet.GeneralPage()->GetInnerWidth(), 25);
    EXPECT_EQ(sheet.CellPage()->GetMargin(CVTSetTableCellParaPage::kTop), 50);
    sheet.GeneralPage()->InnerEdit()->setText(QStringLiteral("0.3"));
    EXPECT_EQ(sheet.GeneralPage()->GetInnerWidth(), 300);
}

TEST_F(TableDialogsTest, TheEditorAppliesTheSheetAsOneStepAndNothingWhenNothingChanged)
{
    CTableElement* table = AddTable(2, 2);
    EditWithTableTool(table, 1, 1);
    // OK with nothing changed: no step.
    AcceptNext<CVTSetTablePropertySheet>([](CVTSetTablePropertySheet& s) {
        EXPECT_EQ(s.windowTitle(), LoadResString(36053));
        // 0.35 mm shows as 0.03 cm, yet OK keeps 35.
        EXPECT_EQ(s.GeneralPage()->BorderEdit()->text(), QStringLiteral("0.03"));
        EXPECT_EQ(s.GeneralPage()->ColorCombo()->currentIndex(), 0);
    });
    Run(ID_TABLE_PROPERTIES);
    EXPECT_EQ(doc.UndoCount(), 0);
    EXPECT_FALSE(doc.IsModified());

    AcceptNext<CVTSetTablePropertySheet>([](CVTSetTablePropertySheet& s) {
        s.GeneralPage()->BorderEdit()->setText(QStringLiteral("0.05"));
        s.GeneralPage()->InnerEdit()->setText(QStringLiteral("0.01"));
        s.GeneralPage()->SetLineColor(RGB(255, 0, 0));
        s.CellPage()->MarginEdit(CVTSetTableCellParaPage::kLeft)->setText(QStringLiteral("0.2"));
    });
    Run(ID_TABLE_PROPERTIES);
    EXPECT_EQ(table->GetOuterLineWidth(), 50);
    EXPECT_EQ(table->GetInnerLineWidth(), 10);
    EXPECT_EQ(table->GetLineColor(), RGB(255, 0, 0));
    EXPECT_EQ(table->GetLeftMargin(), 200);
    EXPECT_EQ(table->GetTopMargin(), 50);
    EXPECT_EQ(doc.UndoCount(), 1);
    // The box moved in with the wider margin.
    const CRect cell = CellRect(table, 1, 1);
    EXPECT_EQ(Box()->geometry().left(), view->ModelToDevicePoint(cell.left + 200, 0).x - 1);

    RejectNext();
    Run(ID_TABLE_PROPERTIES);
    EXPECT_EQ(doc.UndoCount(), 1);
    Run(ID_EDIT_UNDO);
    EXPECT_EQ(Tables().front()->GetOuterLineWidth(), 35);
    EXPECT_EQ(Tables().front()->GetLeftMargin(), 50);
}

TEST_F(TableDialogsTest, TheSplitDialogStepsThroughTheAllowedRowsAndChecksBothCounts)
{
    CSplitCellDlg dialog({1, 2, 4}, 0, view.get());
    dialog.m_nMaxColumns = 40;
    dialog.m_nColumns = 2;
    dialog.show();
    EXPECT_EQ(dialog.RowsEdit()->text(), QStringLiteral("1"));
    EXPECT_EQ(dialog.ColumnsEdit()->text(), QStringLiteral("2"));
    EXPECT_FALSE(dialog.MergeFirstCheck()->isEnabled());
    auto* rowsSpin = dialog.findChild<CUpDownButtons*>(QString::number(CSplitCellDlg::IDC_ROWS_SPIN));
    ASSERT_NE(rowsSpin, nullptr);
    rowsSpin->UpButton()->click();
    EXPECT_EQ(dialog.RowsEdit()->text(), QStringLiteral("2"));
    rowsSpin->UpButton()->click();
    EXPECT_EQ(dialog.RowsEdit()->text(), QStringLiteral("4"));
    rowsSpin->UpButton()->click();
    EXPECT_EQ(dialog.RowsEdit()->text(), QStringLiteral("4")) << "the list ends there";
    rowsSpin->DownButton()->click();
    EXPECT_EQ(dialog.RowsEdit()->text(), QStringLiteral("2"));

    dialog.ColumnsEdit()->setText(QStringLiteral("39"));
    for (int i = 0; i < 3; ++i) dialog.StepColumns(1);
    EXPECT_EQ(dialog.ColumnsEdit()->text(), QStringLiteral("40"));

    struct Case {
        const char* columns;
        const char* rows;
        int message;
        QLineEdit* field;
    };
    const Case cases[] = {
        {"2", "3", 36056, dialog.RowsEdit()},
        {"2", "", 36056, dialog.RowsEdit()},
        {"41", "2", 36160, dialog.ColumnsEdit()},
        {"0", "2", 36160, dialog.ColumnsEdit()},
    };
    for (const Case& c : cases) {
        dialog.ColumnsEdit()->setText(QString::fromLatin1(c.columns));
        dialog.RowsEdit()->setText(QString::fromLatin1(c.rows));
        dialog.accept();
        EXPECT_EQ(Last(), LoadResString(c.message)) << c.columns << " " << c.rows;
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(dialog.focusWidget(), c.field);
        EXPECT_EQ(c.field->selectedText(), c.field->text());
    }
    dialog.ColumnsEdit()->setText(QStringLiteral("3"));
    dialog.RowsEdit()->setText(QStringLiteral("4"));
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.m_nColumns, 3);
    EXPECT_EQ(dialog.m_nRows, 4);
}

TEST_F(TableDialogsTest, TheColourComboShowsStandardColoursAndKeepsOthersAsItsCustomEntry)
{
    CTableColorCombo combo;
    combo.AddEntries();
    EXPECT_EQ(combo.count(), 49);
    combo.SetColor(RGB(255, 0, 0));
    EXPECT_EQ(combo.currentIndex(), 18);
    combo.SetColor(RGB(1, 2, 3));
    EXPECT_EQ(combo.currentIndex(), CTableColorCombo::kCustomEntry);
    EXPECT_EQ(combo.GetCustomColor(), RGB(1, 2, 3));
    EXPECT_EQ(combo.GetColor(), RGB(1, 2, 3));

    // Choosing a standard entry, then the custom entry: cancelled keeps
    // the colour, accepted takes the chosen one.
    Q_EMIT combo.activated(23);
    EXPECT_EQ(combo.GetColor(), RGB(0, 0, 255));
    COLORREF offered = 0;
    bool accept = false;
    CTableColorCombo::SetColorChooser([&](QWidget*, COLORREF initial, COLORREF& chosen) {
        offered = initial;
        chosen = RGB(9, 8, 7);
        return accept;
    });
    combo.setCurrentIndex(CTableColorCombo::kCustomEntry);
    Q_EMIT combo.activated(CTableColorCombo::kCustomEntry);
    EXPECT_EQ(offered, RGB(0, 0, 255));
    EXPECT_EQ(combo.GetColor(), RGB(0, 0, 255));
    EXPECT_EQ(combo.currentIndex(), 23);
    accept = true;
    combo.setCurrentIndex(CTableColorCombo::kCustomEntry);
    Q_EMIT combo.activated(CTableColorCombo::kCustomEntry);
    EXPECT_EQ(combo.GetColor(), RGB(9, 8, 7));
    EXPECT_EQ(combo.GetCustomColor(), RGB(9, 8, 7));

    // The field shows the current colour.
    combo.resize(120, 24);
    const QImage shot = combo.grab().toImage();
    bool swatch = false;
    for (int x = 0; x < shot.width() && !swatch; ++x)
        swatch = shot.pixelColor(x, shot.height() / 2) == QColor(9, 8, 7);
    EXPECT_TRUE(swatch);
}

TEST_F(TableDialogsTest, ThePropertySheetIsDrawnWithItsControls)
{
    CVTSetTablePropertySheet sheet(36053, view.get());
    Fill(sheet);
    sheet.GeneralPage()->SetLineColor(RGB(0, 128, 0));
    sheet.show();
    for (int page = 0; page < 2; ++page) {
        ASSERT_TRUE(sheet.SetActivePage(page));
        QApplication::processEvents();
        const QImage shot = sheet.grab().toImage();
        ASSERT_FALSE(shot.isNull());
        EXPECT_GT(DistinctColours(shot), 3);
        KeepScreenshot(shot, QStringLiteral("table-properties-%1").arg(page + 1));
    }
    CSplitCellDlg split({1, 2}, 0, view.get());
    split.show();
    QApplication::processEvents();
    KeepScreenshot(split.grab().toImage(), QStringLiteral("split-cell"));
}
