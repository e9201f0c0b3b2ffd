#include "GradingUiSupport.h"

#include "grading/dialogs/CConditionIndexDlg.h"
#include "grading/dialogs/CGradingBasisDlg.h"
#include "grading/dialogs/CSaveGradingDlg.h"
#include "grading/dialogs/CSelectExcelItemsDlg.h"
#include "grading/dialogs/CSelectGradeBasisDlg.h"

#include "tests/grading/XlsWorkbookBuilder.h"

#include "platform/CDC.h"
#include "res/CommandIds.h"

#include <QImage>
#include <QPainter>

namespace {

QString RealWorkbook(const char* name)
{
    return QStringLiteral(VEK_REALDATA_DIR "/xls/") + QString::fromUtf8(name);
}

std::string ReadBytes(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return std::string();
    const QByteArray bytes = f.readAll();
    return std::string(bytes.constData(), std::size_t(bytes.size()));
}

// Reads the workbook through the menu command and chooses every item.
void OpenAndChooseAll(GradingUiTest& test, ModalDriver& driver, CVEKView* view, const QString& path)
{
    driver.Then(GradingUiTest::ChooseFileHandler(path));
    driver.Then(GradingUiTest::With<CSelectExcelItemsDlg>([](CSelectExcelItemsDlg* dialog) {
        for (int row = 0; row < dialog->AllItemsList()->count(); ++row) dialog->ChooseItem(row);
        dialog->accept();
    }));
    view->CommandAction(ID_OPEN_EXCEL)->trigger();
}

class GradingCommands : public GradingUiTest {};

TEST_F(GradingCommands, TheMtcarsWorkbookIsReadGradedByCylindersAndNamed)
{
    EXPECT_TRUE(Enabled(ID_SIZE_INPUT));
    EXPECT_TRUE(Enabled(ID_OPEN_EXCEL));
    for (UINT id : {ID_GRADING, ID_CONDITION_INDEX, ID_SERIAL_SORT, ID_NAME_BY_HAND, ID_NAME_AUTOMATICALLY})
        EXPECT_FALSE(Enabled(id)) << id;

    // Reading: 11 items, 6 persons on the current page, one undo step.
    OpenAndChooseAll(*this, driver, view, RealWorkbook("libxls_mtcars.xls"));
    ASSERT_TRUE(driver.Idle());
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(doc->UndoCount(), 1);
    ASSERT_EQ(Pages().GetPageCount(), 1);
    const CTableElement* body = TableOn(Pages(), 0);
    ASSERT_TRUE(body);
    EXPECT_EQ(body->GetRowCount(), 7);
    EXPECT_EQ(body->Grid().GetRowCellCount(1), 11);
    EXPECT_EQ(CGradingPages::RowTexts(*body, 1),
              GRow({"mpg", "cyl", "disp", "hp", "drat", "wt", "qsec", "vs", "am", "gear", "carb"}));
    EXPECT_EQ(CGradingPages::RowTexts(*body, 4)[4], "3.8"); // 3.85 cut after its first decimal
    EXPECT_EQ(PageTexts(Pages(), 0), (std::vector<std::string>{"量体尺寸表", "1/1", "(单位：", "厘米)"}));
    for (UINT id : {ID_GRADING, ID_CONDITION_INDEX}) EXPECT_TRUE(Enabled(id)) << id;

    // Grading by "cyl" from 6 in steps of 1, saving the result file.
    const QString sml = File(QStringLiteral("mtcars"));
    driver.Then(With<CSelectGradeBasisDlg>([](CSelectGradeBasisDlg* d) {
        ASSERT_EQ(d->AllItemsList()->count(), 11);
        ClickRow(d->AllItemsList(), 1);
        d->accept();
    }));
    driver.Then(With<CGradingBasisDlg>([](CGradingBasisDlg* d) {
        ASSERT_EQ(d->BasisCount(), 1);
        EXPECT_EQ(d->Prompt(0)->text(), QStringLiteral("请输入一个cyl"));
        EXPECT_EQ(d->Prompt(1)->text(), QStringLiteral("请输入cyl间隔"));
        d->Edit(0)->setText(QStringLiteral("6"));
        d->Edit(1)->setText(QStringLiteral("1"));
        d->accept();
    }));
    driver.Then(With<CSaveGradingDlg>([](CSaveGradingDlg* d) { d->accept(); }));
    driver.Then(ChooseFileHandler(sml));
    view->CommandAction(ID_GRADING)->trigger();
    ASSERT_TRUE(driver.Idle());
    EXPECT_EQ(doc->UndoCount(), 2);

    // The graded sizes on a new page, which becomes current; the personal
    // table on the page after it.
    ASSERT_EQ(Pages().GetPageCount(), 3);
    EXPECT_EQ(Pages().GetCurrentPageIndex(), 1);
    EXPECT_EQ(view->GetCurrentSheet(), 2);
    EXPECT_EQ(view->GetSheetCount(), 3);
    const CTextRows sizes = TableTexts(*TableOn(Pages(), 1));
    ASSERT_EQ(sizes.RowCount(), 3);
    EXPECT_EQ(sizes.header[0], G("cyl号型"));
    EXPECT_EQ(sizes.header[1], G("人数分布"));
    const std::string keys[] = {"4", "6", "8"}, persons[] = {"1", "4", "1"};
    for (int g = 0; g < 3; ++g) {
        EXPECT_EQ(sizes.rows[std::size_t(g)][0], keys[g]);
        EXPECT_EQ(sizes.rows[std::size_t(g)][1], persons[g]);
    }
    // mpg of the four six-cylinder cars: (21 + 21 + 21.4 + 18.1) / 4.
    EXPECT_EQ(sizes.rows[1][2], "20.3");
    // vs reads 0 for the eight-cylinder car only: kept, as the column
    // decides over every size.
    EXPECT_EQ(sizes.header.size(), 13u);
    EXPECT_EQ(PageTexts(Pages(), 1)[0], "归号尺寸表");
    const CTextRows info = TableTexts(*TableOn(Pages(), 2));
    EXPECT_EQ(info.header[0], G("cyl号型"));
    EXPECT_EQ(info.RowCount(), 6);
    EXPECT_EQ(info.rows[2][0], "4");
    EXPECT_EQ(info.rows[2][1], "22.8");

    // The result file: 4 rows of 13 columns (size, persons, 11 items).
    const std::string bytes = ReadBytes(sml + QStringLiteral(".sml"));
    ASSERT_GE(bytes.size(), 8u);
    EXPECT_EQ(bytes.substr(0, 8), Hex("04000000 0d000000"));
    EXPECT_NE(bytes.find(Hex("01 34 01 31")), std::string::npos);

    for (UINT id : {ID_SERIAL_SORT, ID_NAME_BY_HAND}) EXPECT_TRUE(Enabled(id)) << id;
    EXPECT_FALSE(Enabled(ID_NAME_AUTOMATICALLY));

    // Naming by hand puts the column before the persons, on both tables.
    view->CommandAction(ID_NAME_BY_HAND)->trigger();
    EXPECT_EQ(doc->UndoCount(), 3);
    EXPECT_EQ(CGradingPages::RowTexts(*TableOn(Pages(), 1), 1)[1], G("款式号型"));
    EXPECT_EQ(CGradingPages::RowTexts(*TableOn(Pages(), 2), 1)[1], G("款式号型"));
    ASSERT_TRUE(Enabled(ID_NAME_AUTOMATICALLY));

    // Names typed into the sizes reach the persons: one step.
    CTableElement* graded = CGradingPages::FirstTable(*Pages().GetPageAt(1));
    graded->SetCellText(2, 2, "S");
    graded->SetCellText(3, 2, "M");
    graded->SetCellText(4, 2, "L");
    view->CommandAction(ID_NAME_AUTOMATICALLY)->trigger();
    EXPECT_EQ(doc->UndoCount(), 4);
    const CTextRows named = TableTexts(*TableOn(Pages(), 2));
    const std::string expected[] = {"M", "M", "S", "M", "L", "M"};
    for (int p = 0; p < 6; ++p) EXPECT_EQ(named.rows[std::size_t(p)][1], expected[p]) << p;
    // Nothing more to name: no step.
    view->CommandAction(ID_NAME_AUTOMATICALLY)->trigger();
    EXPECT_EQ(doc->UndoCount(), 4);

    // Every step undoes alone, back to the empty page.
    for (int step = 0; step < 4; ++step) view->CommandAction(ID_EDIT_UNDO)->trigger();
    EXPECT_EQ(Pages().GetPageCount(), 1);
    EXPECT_EQ(view->GetSheetCount(), 1);
    EXPECT_EQ(Pages().GetPageAt(0)->GetElementCount(), 0);
    EXPECT_FALSE(Enabled(ID_GRADING));
}

TEST_F(GradingCommands, TheBodyTableIsDrawnInsideItsRectangle)
{
    OpenAndChooseAll(*this, driver, view, RealWorkbook("libxls_mtcars.xls"));
    ASSERT_TRUE(driver.Idle());
    const CTableElement* body = TableOn(Pages(), 0);
    ASSERT_TRUE(body);
    const CRect r = body->GetTableRect();
    // The page at 20 page units a pixel.
    const double scale = 20;
    QImage image(1050, 1485, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        CDC dc(&painter);
        Pages().DrawPage(0, &dc, scale, 0, 0, CRect(0, 0, image.width(), image.height()));
    }
    auto dark = [&](int x, int y) { return qGray(image.pixel(x, y)) < 128; };
    const int left = int(r.left / scale), right = int(r.right / scale);
    const int top = int(r.top / scale), bottom = int(r.bottom / scale);
    // The border is drawn along the table's edges...
    int onTop = 0, onBottom = 0;
    for (int x = left + 2; x < right - 2; ++x) {
        onTop += dark(x, top) || dark(x, top + 1) || dark(x, top - 1);
        onBottom += dark(x, bottom) || dark(x, bottom - 1) || dark(x, bottom + 1);
    }
    EXPECT_GT(onTop, (right - left) * 9 / 10);
    EXPECT_GT(onBottom, (right - left) * 9 / 10);
    // ...and nothing below it, down to the bottom margin.
    for (int y = bottom + 3; y < 1485 - 30; y += 2)
        for (int x = 0; x < 1050; x += 2) ASSERT_FALSE(dark(x, y)) << x << " " << y;
    // The title stands above the table, left of its middle.
    int titleInk = 0;
    for (int y = 25; y < top - 3; ++y)
        for (int x = 8500 / 20; x < 12000 / 20; ++x) titleInk += dark(x, y);
    EXPECT_GT(titleInk, 20);
}

TEST_F(GradingCommands, UnreadableFilesAreNamedWithTheReasonAndNothingIsBuilt)
{
    struct Case {
        const char* name;
        std::string bytes;
        const char* reason;
    };
    const Case cases[] = {
        {"notes.xls", "身高,胸围\n160,84\n", "这不是Excel工作簿文件。"},
        {"new.xls", std::string("PK\x03\x04", 4) + "zip", "xlsx"},
        {"empty.xls", xlsbuild::Workbook({}), "工作表中没有数据。"},
    };
    for (const Case& c : cases) {
        const QString path = File(QString::fromUtf8(c.name));
        WriteFile(path, c.bytes);
        driver.messages.clear();
        driver.Then(ChooseFileHandler(path));
        view->CommandAction(ID_OPEN_EXCEL)->trigger();
        ASSERT_TRUE(driver.Idle());
        ASSERT_EQ(driver.messages.size(), 1u) << c.name;
        EXPECT_TRUE(driver.messages[0].contains(QString::fromUtf8(c.name))) << driver.messages[0].toStdString();
        EXPECT_TRUE(driver.messages[0].contains(QString::fromUtf8(c.reason))) << driver.messages[0].toStdString();
    }
    // A file that is not there.
    driver.messages.clear();
    EXPECT_FALSE(CExcel(view).ReadWorkbook(File(QStringLiteral("missing.xls"))));
    ASSERT_EQ(driver.messages.size(), 1u);
    EXPECT_TRUE(driver.messages[0].contains(QStringLiteral("missing.xls")));
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(doc->UndoCount(), 0);
    EXPECT_EQ(Pages().GetPageAt(0)->GetElementCount(), 0);
}

TEST_F(GradingCommands, BlankRowsAreSkippedAndCountedRepeatedNamesToldApart)
{
    using xlsbuild::Cell;
    const QString path = File(QStringLiteral("blank.xls"));
    WriteFile(path, xlsbuild::Workbook({{QStringLiteral("身高"), QStringLiteral("胸围"), QStringLiteral("胸围"), Cell()},
                                        {160.0, 84.0, 85.0, 1.0},
                                        {},
                                        {Cell(), Cell(), Cell(), Cell()},
                                        {165.0, 88.0, 86.0, 2.0}}));
    driver.Then(With<CSelectExcelItemsDlg>([](CSelectExcelItemsDlg* d) {
        EXPECT_EQ(Texts(d->AllItemsList()),
                  (QStringList{QStringLiteral("身高"), QStringLiteral("胸围"), QStringLiteral("胸围(2)"),
                               QStringLiteral("列4")}));
        auto* skipped = d->findChild<QLabel*>(QStringLiteral("skippedRows"));
        ASSERT_TRUE(skipped);
        EXPECT_FALSE(skipped->isHidden());
        EXPECT_EQ(skipped->text(), QStringLiteral("工作表中有2个空行，已跳过。"));
        d->ChooseItem(2);
        d->ChooseItem(0);
        d->accept();
    }));
    EXPECT_TRUE(CExcel(view).ReadWorkbook(path));
    const CTextRows table = TableTexts(*TableOn(Pages(), 0));
    EXPECT_EQ(table, GTable({"胸围(2)", "身高"}, {{"85", "160"}, {"86", "165"}}));
}

TEST_F(GradingCommands, PagesWithoutRoomForTwoRowsRefuseEveryTableCommand)
{
    Settings().m_lfDefaultFont.lfHeight = 0;
    for (UINT id : {ID_OPEN_EXCEL, ID_SIZE_INPUT}) {
        driver.messages.clear();
        view->CommandAction(int(id))->trigger();
        ASSERT_EQ(driver.messages.size(), 1u) << id;
        EXPECT_EQ(driver.messages[0], QStringLiteral("纸张太小或者字体高度为0，一页放不下两行表格。"));
    }
    EXPECT_EQ(doc->UndoCount(), 0);
}

TEST_F(GradingCommands, TheConditionIndexRebuildsOnlyTheBodyTable)
{
    // A drawing page, the body table from a workbook over pages 2-4, the
    // graded sizes after it and a drawing page at the end.
    AddDrawing(Pages(), 0);
    const QString path = File(QStringLiteral("persons.xls"));
    WriteFile(path, xlsbuild::Workbook(xlsbuild::MeasuredPersons(130, 4)));
    Pages().AppendPage();
    Pages().SetCurrentPageIndex(1);
    view->SyncPageTabs();
    driver.Then(ChooseFileHandler(path));
    driver.Then(With<CSelectExcelItemsDlg>([](CSelectExcelItemsDlg* d) {
        for (int row = 0; row < 4; ++row) d->ChooseItem(row);
        d->accept();
    }));
    view->CommandAction(ID_OPEN_EXCEL)->trigger();
    ASSERT_TRUE(driver.Idle());
    ASSERT_EQ(Pages().GetPageCount(), 4);
    const std::vector<int> bodyPages = CGradingPages::PagesHolding(Pages(), CGradingPages::BodyTitle());
    ASSERT_EQ(bodyPages, (std::vector<int>{1, 2, 3}));
    Pages().AppendPage();
    AddDrawing(Pages(), 4);
    const CTextRows before = CGradingPages::ReadTable(Pages(), bodyPages);
    const int steps = doc->UndoCount();

    // A number that is none is refused with the dialog kept open.
    driver.Then(With<CConditionIndexDlg>([](CConditionIndexDlg* d) {
        EXPECT_FALSE(d->Minuend()->isEnabled());
        d->SpecialCheck()->click();
        EXPECT_TRUE(d->Minuend()->isEnabled());
        d->Minuend()->setCurrentIndex(2); // 项目2, about 80 .. 110
        d->Subtrahend()->setCurrentIndex(1); // 项目1, about 40 .. 70
        d->Lower()->setText(QStringLiteral("abc"));
        d->Upper()->setText(QStringLiteral("45"));
        d->accept();
        EXPECT_TRUE(d->isVisible());
        EXPECT_EQ(d->focusWidget(), d->Lower());
        d->Lower()->setText(QStringLiteral("30"));
        d->accept();
    }));
    view->CommandAction(ID_CONDITION_INDEX)->trigger();
    ASSERT_TRUE(driver.Idle());
    ASSERT_EQ(driver.messages.size(), 1u);
    EXPECT_EQ(driver.messages[0], QStringLiteral("请输入一个数字。"));
    EXPECT_EQ(doc->UndoCount(), steps + 1);

    // Persons with 项目2 - 项目1 within 30 .. 45 stay.
    int stay = 0;
    for (const auto& row : before.rows) {
        const double d = std::stod(row[2]) - std::stod(row[1]);
        stay += d >= 30 && d <= 45;
    }
    ASSERT_GT(stay, 0);
    ASSERT_LT(stay, 130);
    const std::vector<int> kept = CGradingPages::PagesHolding(Pages(), CGradingPages::BodyTitle());
    EXPECT_EQ(kept.front(), 1);
    EXPECT_EQ(CGradingPages::ReadTable(Pages(), kept).RowCount(), stay);
    const std::vector<int> special = CGradingPages::PagesHolding(Pages(), CGradingPages::SpecialTitle());
    ASSERT_FALSE(special.empty());
    EXPECT_EQ(special.front(), kept.back() + 1);
    EXPECT_EQ(CGradingPages::ReadTable(Pages(), special).RowCount(), 130 - stay);
    // The drawing pages are still first and last.
    const int n = Pages().GetPageCount();
    EXPECT_EQ(n, 1 + int(kept.size()) + int(special.size()) + 1);
    EXPECT_EQ(Pages().GetPageAt(0)->GetElementCount(), 1);
    EXPECT_EQ(Pages().GetPageAt(n - 1)->GetElementCount(), 1);
    EXPECT_EQ(view->GetSheetCount(), n);

    // One step undoes it all.
    view->CommandAction(ID_EDIT_UNDO)->trigger();
    EXPECT_EQ(CGradingPages::ReadTable(Pages(), CGradingPages::PagesHolding(Pages(), CGradingPages::BodyTitle())),
              before);
    EXPECT_EQ(Pages().GetPageCount(), 5);
}

} // namespace
