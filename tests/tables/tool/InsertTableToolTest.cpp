// The table tool driven through the view: the rectangle of a new table for
// every fit and auto choice, the two clicks and the insert-table dialog,
// one undo step for the new table and none for a cancelled one, the first
// cell open for typing, and the dialog's refusals and enabling rule.
#include "tests/tables/tool/TableToolTestSupport.h"

#include "tables/tool/CInsertTableDlg.h"
#include "ui/CUpDownButtons.h"
#include "tests/ui/ScreenshotSupport.h"
#include "res/CommandIds.h"

#include <QCheckBox>
#include <QLabel>
#include <QTimer>
#include <QToolButton>

namespace {

class InsertTableToolTest : public TableViewFixture {
protected:
    void SetUp() override
    {
        TableViewFixture::SetUp();
        SelectTool(CVEKView::kTableTool);
    }
};

CVTTable::PageFrame A4WithMargins()
{
    CVTTable::PageFrame page;
    page.paper = CSize(21000, 29700);
    page.top = page.bottom = page.left = page.right = 500;
    return page;
}

} // namespace

// Border 35 and inner lines 25: the rectangle moves in by 35 - 12 at the
// top-left and by 35 + 12 at the bottom-right.
TEST(TableRect, SizesComeFromTheRequestThePageOrTheDrag)
{
    using R = CVTTable::TableRequest;
    struct Case {
        const char* what;
        CPoint a, b;
        R request;
        CRect expected;
    };
    R fitWidth;  // the defaults: 6 x 10, fit to the page width
    R both = fitWidth;
    both.fitHeight = true;
    R autoBoth;
    autoBoth.fitWidth = false;
    autoBoth.rowAuto = autoBoth.columnAuto = true;
    R fixed;
    fixed.fitWidth = false;
    fixed.columns = 4;
    fixed.rows = 3;
    fixed.columnWidth = 2000;
    fixed.rowHeight = 500;
    R widthAndColumnAuto = fitWidth;
    widthAndColumnAuto.columnAuto = true;
    R heightOnly = fixed;
    heightOnly.fitHeight = true;
    R widthRowAuto = fitWidth;
    widthRowAuto.rowAuto = true;
    const Case cases[] = {
        {"fit width: margins across, 10 rows of 700 down", {5000, 6000}, {9000, 7000}, fitWidth,
         CRect(523, 6023, 20453, 12953)},
        {"both fits: the area inside the margins", {5000, 6000}, {9000, 7000}, both, CRect(523, 523, 20453, 29153)},
        {"both auto: the dragged box", {5000, 6000}, {9000, 7000}, autoBoth, CRect(5023, 6023, 8953, 6953)},
        {"dragged up and left", {9000, 7000}, {5000, 6000}, autoBoth, CRect(5023, 6023, 8953, 6953)},
        {"fixed sizes from the first corner", {5000, 6000}, {5100, 6100}, fixed, CRect(5023, 6023, 12953, 7453)},
        {"column auto under fit width changes nothing", {5000, 6000}, {9000, 7000}, widthAndColumnAuto,
         CRect(523, 6023, 20453, 12953)},
        {"fit height: margins down, columns across", {5000, 6000}, {5100, 6100}, heightOnly,
         CRect(5023, 523, 12953, 29153)},
        {"fit width with row auto keeps the dragged height", {5000, 6000}, {9000, 7000}, widthRowAuto,
         CRect(523, 6023, 20453, 6953)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CVTTable::TableRect(c.a, c.b, c.request, A4WithMargins(), 35, 25), c.expected) << c.what;
}

TEST(TableRect, ATableSmallerThanItsLinesIsAMisfit)
{
    CVTTable::TableRequest r;
    r.fitWidth = false;
    r.rowAuto = r.columnAuto = true;
    r.columns = 3;
    r.rows = 2;
    const CVTTable::PageFrame page = A4WithMargins();
    // 40 units dragged: nothing left inside 35 + 12 and 35 - 12.
    EXPECT_EQ(CVTTable::TableMisfit(CVTTable::TableRect({1000, 1000}, {1040, 1040}, r, page, 35, 25), r), 3);
    // Wide enough, too low.
    EXPECT_EQ(CVTTable::TableMisfit(CVTTable::TableRect({1000, 1000}, {3000, 1071}, r, page, 35, 25), r), 2);
    // 3 and 2 units inside: one unit a cell.
    EXPECT_EQ(CVTTable::TableMisfit(CVTTable::TableRect({1000, 1000}, {1073, 1072}, r, page, 35, 25), r), 0);
}

TEST_F(InsertTableToolTest, TwoClicksAndTheDialogPlaceATableAsOneUndoStepWithTheFirstCellOpen)
{
    MoveTo(2000, 3000);
    EXPECT_EQ(view->GetToolCursorId(), CVTTable::kCursorInsert);
    EXPECT_EQ(view->GetStatusPrompt(), LoadResString(CVTTable::kPromptFirstCorner));
    Click(2000, 3000);
    ASSERT_TRUE(TableTool()->HasFirstCorner());
    MoveTo(5000, 4000);
    EXPECT_EQ(view->GetStatusPrompt(), LoadResString(CVTTable::kPromptSecondCorner));
    EXPECT_EQ(TableTool()->GetCurrentCorner(), CPoint(5000, 4000));

    AcceptNext<CInsertTableDlg>([](CInsertTableDlg& d) {
        EXPECT_EQ(d.ColumnsEdit()->text(), QStringLiteral("6"));
        EXPECT_EQ(d.RowsEdit()->text(), QStringLiteral("10"));
        EXPECT_EQ(d.ColumnWidthEdit()->text(), QStringLiteral("3"));
        EXPECT_EQ(d.RowHeightEdit()->text(), QStringLiteral("0.7"));
        d.ColumnsEdit()->setText(QStringLiteral("3"));
        d.RowsEdit()->setText(QStringLiteral("2"));
        d.Check(CInsertTableDlg::IDC_FIT_WIDTH)->setChecked(false);
        d.ColumnWidthEdit()->setText(QStringLiteral("1"));
        d.RowHeightEdit()->setText(QStringLiteral("0.5"));
    });
    const int stepsBefore = doc.UndoCount();
    Click(5000, 4000);
    ASSERT_TRUE(driver.Idle());
    ASSERT_EQ(Tables().size(), 1u);
    CTableElement* table = Tables().front();
    EXPECT_EQ(table->GetRowCount(), 2);
    EXPECT_EQ(table->Grid().GetRowCellCount(1), 3);
    // Inside the lines of the 3 x 1 cm by 2 x 0.5 cm asked for; the grid
    // divides the width into whole units.
    const CRect rect = table->GetTableRect();
    EXPECT_EQ(rect.TopLeft(), CPoint(2023, 3023));
    EXPECT_EQ(rect.bottom, 3000 + 1000 - 47);
    EXPECT_NEAR(rect.right, 2000 + 3000 - 47, 2);
    EXPECT_EQ(table->GetOuterLineWidth(), 35);
    EXPECT_EQ(table->GetInnerLineWidth(), 25);
    EXPECT_EQ(doc.UndoCount(), stepsBefore + 1);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_FALSE(TableTool()->HasFirstCorner());

    // The first cell is open and has the keyboard.
    ASSERT_TRUE(TableTool()->IsEditing());
    EXPECT_EQ(Editor()->GetCurrentCell(), CTableCellAddress(1, 1));
    EXPECT_TRUE(Box()->isVisible());
    EXPECT_EQ(Focus(), Box());
    Type(QStringLiteral("衣长"));
    EXPECT_EQ(Text(table, 1, 1), "") << "the cell takes the text when it is committed";
    ClickCell(table, 1, 2);
    EXPECT_EQ(Text(table, 1, 1), "衣长");
    EXPECT_EQ(doc.UndoCount(), stepsBefore + 2);
    EXPECT_EQ(Editor()->GetCurrentCell(), CTableCellAddress(1, 2));

    Run(ID_EDIT_UNDO);
    EXPECT_EQ(Text(Tables().front(), 1, 1), "");
    Run(ID_EDIT_UNDO);
    EXPECT_TRUE(Tables().empty());
}

TEST_F(InsertTableToolTest, CancellingTheDialogOrRightClickingLeavesThePageAndTheHistoryAlone)
{
    const int steps = doc.UndoCount();
    Click(2000, 3000);
    RejectNext();
    Click(5000, 4000);
    EXPECT_TRUE(Tables().empty());
    EXPECT_EQ(doc.UndoCount(), steps);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_FALSE(TableTool()->HasFirstCorner());

    // A right click between the two corners ends it without a dialog.
    Click(2000, 3000);
    RightClick(4000, 4000);
    EXPECT_FALSE(TableTool()->HasFirstCorner());
    Click(3000, 3000);
    EXPECT_TRUE(TableTool()->HasFirstCorner()) << "the next click is a first corner again";
    EXPECT_TRUE(driver.Idle());
    EXPECT_TRUE(Tables().empty());
}

TEST_F(InsertTableToolTest, WhileEditingAClickAwayCommitsTheCellAndStartsANewTable)
{
    CTableElement* table = AddTable(2, 2);
    EditWithTableTool(table, 1, 1);
    Type(QStringLiteral("x"));
    Click(15000, 15000);
    EXPECT_EQ(Text(table, 1, 1), "x");
    EXPECT_FALSE(TableTool()->IsEditing());
    EXPECT_TRUE(TableTool()->HasFirstCorner());
    EXPECT_EQ(TableTool()->GetFirstCorner(), CPoint(15000, 15000));
    EXPECT_FALSE(Box()->isVisible());

    // A click on another table while editing edits that one.
    CTableElement* other = AddTable(1, 1, CPoint(9000, 3000));
    EditWithTableTool(table, 1, 1);
    ClickCell(other, 1, 1);
    EXPECT_EQ(Editor()->GetTable(), other);
    EXPECT_EQ(Editor()->GetCurrentCell(), CTableCellAddress(1, 1));
}

TEST_F(InsertTableToolTest, TheDialogRefusesCountsAndSizesOutsideTheirRanges)
{
    struct Case {
        const char* columns;
        const char* width;
        const char* rows;
        const char* height;
        int message;
        int field;
    };
    const Case cases[] = {
        {"0", "3", "10", "0.7", 36025, CInsertTableDlg::IDC_COLUMNS},
        {"", "3", "10", "0.7", 36025, CInsertTableDlg::IDC_COLUMNS},
        {"41", "3", "10", "0.7", 36161, CInsertTableDlg::IDC_COLUMNS},
        {"6", "0", "10", "0.7", 36054, CInsertTableDlg::IDC_COLUMN_WIDTH},
        {"6", "abc", "10", "0.7", 36054, CInsertTableDlg::IDC_COLUMN_WIDTH},
        {"6", "3", "0", "0.7", 36024, CInsertTableDlg::IDC_ROWS},
        {"6", "3", "101", "0.7", 36162, CInsertTableDlg::IDC_ROWS},
        {"6", "3", "10", "-1", 36055, CInsertTableDlg::IDC_ROW_HEIGHT},
        {"6", "3", "10", "1e9", 36131, CInsertTableDlg::IDC_ROW_HEIGHT},
    };
    CInsertTableDlg dialog(view.get());
    dialog.Check(CInsertTableDlg::IDC_FIT_WIDTH)->setChecked(false);
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    for (const Case& c : cases) {
        dialog.ColumnsEdit()->setText(QString::fromUtf8(c.columns));
        dialog.ColumnWidthEdit()->setText(QString::fromUtf8(c.width));
        dialog.RowsEdit()->setText(QString::fromUtf8(c.rows));
        dialog.RowHeightEdit()->setText(QString::fromUtf8(c.height));
        driver.messages.clear();
        dialog.accept();
        ASSERT_EQ(driver.messages.size(), 1u) << c.message;
        EXPECT_TRUE(driver.messages[0].startsWith(LoadResString(c.message).section(QLatin1Char('%'), 0, 0)))
            << c.message;
        EXPECT_TRUE(dialog.isVisible()) << c.message;
        EXPECT_EQ(dialog.focusWidget()->objectName(), QString::number(c.field)) << c.message;
        EXPECT_EQ(static_cast<QLineEdit*>(dialog.focusWidget())->selectedText(),
                  static_cast<QLineEdit*>(dialog.focusWidget())->text());
    }
    // A size that is not used is not checked.
    dialog.ColumnsEdit()->setText(QStringLiteral("40"));
    dialog.RowsEdit()->setText(QStringLiteral("100"));
    dialog.RowHeightEdit()->setText(QStringLiteral("junk"));
    dialog.Check(CInsertTableDlg::IDC_ROW_AUTO)->setChecked(true);
    driver.messages.clear();
    dialog.accept();
    EXPECT_TRUE(driver.messages.empty());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.GetValues().columns, 40);
    EXPECT_EQ(dialog.GetValues().columnWidth, 3000);
    EXPECT_EQ(dialog.GetValues().rowAuto, 1);
}

// The tool's check of the dragged box: a table that cannot hold its lines
// is refused in the dialog, which stays open for other sizes.
TEST_F(InsertTableToolTest, ATableTooSmallForItsLinesIsRefusedInTheDialog)
{
    Click(2000, 3000);
    driver.Then([](QWidget* w) {
        auto* d = qobject_cast<CInsertTableDlg*>(w);
        ASSERT_NE(d, nullptr);
        d->Check(CInsertTableDlg::IDC_FIT_WIDTH)->setChecked(false);
        d->Check(CInsertTableDlg::IDC_ROW_AUTO)->setChecked(true);
        d->Check(CInsertTableDlg::IDC_COLUMN_AUTO)->setChecked(true);
        QTimer::singleShot(0, d, [d] {
            d->accept();
            // Refused: the rows field has the focus (its height is auto).
            EXPECT_EQ(d->focusWidget(), d->RowsEdit());
            EXPECT_TRUE(d->isVisible());
            d->Check(CInsertTableDlg::IDC_ROW_AUTO)->setChecked(false);
            d->RowHeightEdit()->setText(QStringLiteral("1"));
            d->accept();
        });
    });
    Click(3000, 3020);
    ASSERT_EQ(driver.messages.size(), 1u);
    EXPECT_EQ(driver.messages[0], LoadResString(CInsertTableDlg::IDS_TOO_SMALL));
    ASSERT_EQ(Tables().size(), 1u);
    EXPECT_EQ(Tables().front()->GetRowCount(), 10);
    EXPECT_EQ(Tables().front()->GetTableHeight(), 10 * 1000 - 70);
}

TEST_F(InsertTableToolTest, FitAndAutoBoxesSwitchTheSizeFieldsAndDefaultsAreKeptOnRequest)
{
    CInsertTableDlg dialog(view.get());
    auto enabled = [&](int id) { return dialog.findChild<QWidget*>(QString::number(id))->isEnabled(); };
    // Fit to the page width, as the settings start.
    EXPECT_FALSE(enabled(CInsertTableDlg::IDC_COLUMN_WIDTH));
    EXPECT_FALSE(enabled(CInsertTableDlg::IDC_COLUMN_AUTO));
    EXPECT_FALSE(enabled(CInsertTableDlg::IDC_COLUMN_LABEL));
    EXPECT_TRUE(enabled(CInsertTableDlg::IDC_ROW_HEIGHT));
    EXPECT_TRUE(enabled(CInsertTableDlg::IDC_ROW_AUTO));
    dialog.Check(CInsertTableDlg::IDC_FIT_HEIGHT)->click();
    EXPECT_FALSE(enabled(CInsertTableDlg::IDC_ROW_HEIGHT));
    EXPECT_FALSE(enabled(CInsertTableDlg::IDC_ROW_UNIT));
    EXPECT_FALSE(enabled(CInsertTableDlg::IDC_ROW_AUTO));
    dialog.Check(CInsertTableDlg::IDC_FIT_WIDTH)->click();
    dialog.Check(CInsertTableDlg::IDC_FIT_HEIGHT)->click();
    EXPECT_TRUE(enabled(CInsertTableDlg::IDC_COLUMN_WIDTH));
    dialog.Check(CInsertTableDlg::IDC_COLUMN_AUTO)->click();
    EXPECT_FALSE(enabled(CInsertTableDlg::IDC_COLUMN_WIDTH));
    EXPECT_TRUE(enabled(CInsertTableDlg::IDC_COLUMN_LABEL));
    EXPECT_EQ(dialog.findChild<QLabel*>(QString::number(CInsertTableDlg::IDC_ROW_UNIT))->text(), QStringLiteral("cm"));

    // The spins stop at their ends.
    dialog.ColumnsEdit()->setText(QStringLiteral("39"));
    auto* spin = dialog.findChild<CUpDownButtons*>(QString::number(CInsertTableDlg::IDC_COLUMNS_SPIN));
    ASSERT_NE(spin, nullptr);
    spin->UpButton()->click();
    spin->UpButton()->click();
    EXPECT_EQ(dialog.ColumnsEdit()->text(), QStringLiteral("40"));

    dialog.Check(CInsertTableDlg::IDC_COLUMN_AUTO)->click();
    dialog.ColumnWidthEdit()->setText(QStringLiteral("2.5"));
    dialog.RowsEdit()->setText(QStringLiteral("4"));
    dialog.Check(CInsertTableDlg::IDC_SET_DEFAULT)->click();
    dialog.accept();
    ASSERT_EQ(dialog.result(), QDialog::Accepted);
    const CSystemSettings& s = Settings();
    EXPECT_EQ(s.m_nNewTableColumns, 40);
    EXPECT_EQ(s.m_nNewTableRows, 4);
    EXPECT_EQ(s.m_nNewTableColumnWidth, 2500);
    EXPECT_EQ(s.m_bNewTableFitWidth, 0);
    EXPECT_EQ(s.m_bNewTableFitHeight, 0);
}

TEST_F(InsertTableToolTest, TheDialogIsDrawnWithItsControls)
{
    CInsertTableDlg dialog(view.get());
    dialog.show();
    QApplication::processEvents();
    const QImage shot = dialog.grab().toImage();
    ASSERT_FALSE(shot.isNull());
    EXPECT_GT(DistinctColours(shot), 3);
    EXPECT_GT(shot.width(), 200);
    KeepScreenshot(shot, QStringLiteral("insert-table"));
}
