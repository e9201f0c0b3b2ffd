#include "GradingUiSupport.h"

#include "grading/dialogs/CGradingBasisDlg.h"
#include "grading/CGradingOutput.h"
#include "grading/CGradingRun.h"
#include "grading/CMeasureTableBuilder.h"
#include "grading/CResultTableWriter.h"
#include "grading/dialogs/CSaveGradingDlg.h"
#include "grading/dialogs/CSelectExcelItemsDlg.h"
#include "grading/dialogs/CSelectGradeBasisDlg.h"
#include "grading/dialogs/CSerialSortDlg.h"
#include "grading/dialogs/CSizeInputDlg.h"
#include "res/CommandIds.h"

#include <QScrollArea>
#include <QScrollBar>

namespace {

class GradingDialogs : public GradingUiTest {
protected:
    // A body table of the persons on the current page, as the reading
    // command leaves it.
    void PutBodyTable(const CTextRows& persons)
    {
        ASSERT_FALSE(CMeasureTableBuilder::Build(Pages(), TestStyle(), persons).empty());
        Refresh();
    }
    // After pages were changed behind the view's back.
    void Refresh()
    {
        view->SyncPageTabs();
        view->UpdateCommandActions();
    }
    CMeasureSheet Sheet(const CTextRows& table)
    {
        std::vector<std::vector<std::string>> cells{table.header};
        for (const auto& row : table.rows) cells.push_back(row);
        return CMeasureSheet::FromCells(cells);
    }
};

TEST_F(GradingDialogs, ItemsAreChosenByClickOrActivationNotByMovingOverThem)
{
    CSelectExcelItemsDlg dialog(view);
    dialog.SetSheet(Sheet(Persons(3)));
    dialog.show();
    QListWidget* all = dialog.AllItemsList();
    QListWidget* chosen = dialog.ChosenItemsList();
    EXPECT_EQ(all->currentRow(), 0);
    EXPECT_EQ(chosen->count(), 0);

    // Arrow keys move the selection and choose nothing.
    all->setFocus();
    Key(all, Qt::Key_Down);
    Key(all, Qt::Key_Down);
    EXPECT_EQ(all->currentRow(), 2);
    EXPECT_EQ(chosen->count(), 0);
    // Enter chooses the current item, a click another; choosing again
    // changes nothing.
    Key(all, Qt::Key_Return);
    ClickRow(all, 0);
    ClickRow(all, 2);
    EXPECT_EQ(Texts(chosen), (QStringList{QStringLiteral("胸围"), QStringLiteral("姓名")}));
    // Deleting needs a selection; an item chosen again goes to the end.
    chosen->setCurrentRow(0);
    dialog.OnDelete();
    ClickRow(all, 2);
    EXPECT_EQ(Texts(chosen), (QStringList{QStringLiteral("姓名"), QStringLiteral("胸围")}));
    EXPECT_EQ(dialog.ChosenColumns(), (std::vector<int>{0, 2}));
}

// Enter in a list of items chooses the current one and leaves the dialog
// open for the next: a keyboard user chooses two items, and only then
// presses OK.
TEST_F(GradingDialogs, EnterChoosesAnItemOfTheWorkbookAndLeavesTheDialogOpen)
{
    CSelectExcelItemsDlg dialog(view);
    dialog.SetSheet(Sheet(Persons(3)));
    dialog.show();
    QListWidget* all = dialog.AllItemsList();
    QListWidget* chosen = dialog.ChosenItemsList();
    all->setFocus();
    Key(all, Qt::Key_Return);
    EXPECT_TRUE(dialog.isVisible());
    Key(all, Qt::Key_Down);
    Key(all, Qt::Key_Down);
    Key(all, Qt::Key_Return);
    EXPECT_TRUE(dialog.isVisible());
    chosen->setFocus();
    chosen->setCurrentRow(0);
    Key(chosen, Qt::Key_Return);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(Texts(chosen), (QStringList{QStringLiteral("姓名"), QStringLiteral("胸围")}));
    EXPECT_EQ(doc->UndoCount(), 0);

    QPushButton* ok = dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
    ok->setFocus();
    Key(ok, Qt::Key_Return);
    EXPECT_FALSE(dialog.isVisible());
    const CTableElement* table = TableOn(Pages(), 0);
    ASSERT_TRUE(table);
    EXPECT_EQ(TableTexts(*table).header, GRow({"姓名", "胸围"}));
    EXPECT_TRUE(driver.messages.empty());
}

TEST_F(GradingDialogs, EnterChoosesABasisItemAndLeavesTheDialogOpen)
{
    PutBodyTable(Persons(4));
    driver.Then(With<CSelectGradeBasisDlg>([](CSelectGradeBasisDlg* d) {
        QListWidget* all = d->AllItemsList();
        all->setFocus();
        all->setCurrentRow(1);
        Key(all, Qt::Key_Return);
        EXPECT_TRUE(d->isVisible());
        Key(all, Qt::Key_Down);
        Key(all, Qt::Key_Return);
        EXPECT_TRUE(d->isVisible());
        d->BasisList()->setFocus();
        d->BasisList()->setCurrentRow(0);
        Key(d->BasisList(), Qt::Key_Return);
        EXPECT_TRUE(d->isVisible());
        EXPECT_EQ(Texts(d->BasisList()), (QStringList{QStringLiteral("身高"), QStringLiteral("胸围")}));
        // Enter on OK goes on to the base values of both.
        QPushButton* ok = d->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
        ok->setFocus();
        Key(ok, Qt::Key_Return);
    }));
    int basisCount = 0;
    driver.Then(With<CGradingBasisDlg>([&basisCount](CGradingBasisDlg* d) {
        basisCount = d->BasisCount();
        d->reject();
    }));
    view->CommandAction(ID_GRADING)->trigger();
    EXPECT_TRUE(driver.Idle());
    EXPECT_EQ(basisCount, 2);
    EXPECT_TRUE(driver.messages.empty());
}

// Enter in the name field adds the name, as "增加" does; Enter in the
// number of persons presses OK.
TEST_F(GradingDialogs, EnterAddsASizeNameAndLeavesTheDialogOpen)
{
    driver.Then(With<CSizeInputDlg>([](CSizeInputDlg* d) {
        QLineEdit* name = d->NameEdit();
        name->setFocus();
        for (const char* text : {"身高", "胸围"}) {
            name->setText(QString::fromUtf8(text));
            Key(name, Qt::Key_Return);
            EXPECT_TRUE(d->isVisible()) << text;
            EXPECT_EQ(d->focusWidget(), name) << text;
            EXPECT_EQ(name->selectedText(), QString::fromUtf8(text));
        }
        d->ItemList()->setFocus();
        d->ItemList()->setCurrentRow(0);
        Key(d->ItemList(), Qt::Key_Return);
        EXPECT_TRUE(d->isVisible());
        EXPECT_EQ(d->Items(), (QStringList{QStringLiteral("身高"), QStringLiteral("胸围")}));
        EXPECT_EQ(d->ColumnsEdit()->text(), QStringLiteral("2"));
        d->PersonsEdit()->setFocus();
        d->PersonsEdit()->setText(QStringLiteral("2"));
        Key(d->PersonsEdit(), Qt::Key_Return);
    }));
    view->CommandAction(ID_SIZE_INPUT)->trigger();
    EXPECT_TRUE(driver.Idle());
    EXPECT_TRUE(driver.messages.empty());
    const CTableElement* table = TableOn(Pages(), 0);
    ASSERT_TRUE(table);
    EXPECT_EQ(TableTexts(*table), GTable({"身高", "胸围"}, {{"", ""}, {"", ""}}));
}

TEST_F(GradingDialogs, NothingChosenIsRefusedAndTheDialogStaysOpen)
{
    driver.Then(With<CSelectExcelItemsDlg>([](CSelectExcelItemsDlg* d) {
        d->accept();
        EXPECT_TRUE(d->isVisible());
        d->reject();
    }));
    EXPECT_TRUE(CExcel(view).ReadWorkbook(QStringLiteral(VEK_REALDATA_DIR "/xls/libxls_mtcars.xls")));
    ASSERT_EQ(driver.messages.size(), 1u);
    EXPECT_EQ(driver.messages[0], QStringLiteral("归号项不能为空！"));
    EXPECT_EQ(doc->UndoCount(), 0);
    EXPECT_FALSE(doc->IsModified());
}

TEST_F(GradingDialogs, SizeInputBuildsAnEmptyTableOfTheTypedItems)
{
    driver.Then(With<CSizeInputDlg>([this](CSizeInputDlg* d) {
        // Empty names and repeats are not added; the column count follows.
        for (const char* name : {"身高", "", "胸围", "身高", "腰围"}) {
            d->NameEdit()->setText(QString::fromUtf8(name));
            d->OnAdd();
        }
        EXPECT_EQ(d->Items(), (QStringList{QStringLiteral("身高"), QStringLiteral("胸围"), QStringLiteral("腰围")}));
        EXPECT_EQ(d->ColumnsEdit()->text(), QStringLiteral("3"));
        // Persons that are none, too few or too many are refused.
        for (const char* persons : {"0", "abc", "10001"}) {
            d->PersonsEdit()->setText(QString::fromUtf8(persons));
            d->accept();
            EXPECT_TRUE(d->isVisible()) << persons;
            EXPECT_EQ(d->focusWidget(), d->PersonsEdit()) << persons;
        }
        EXPECT_EQ(doc->UndoCount(), 0);
        d->PersonsEdit()->setText(QStringLiteral("1"));
        d->accept();
    }));
    view->CommandAction(ID_SIZE_INPUT)->trigger();
    ASSERT_TRUE(driver.Idle());
    EXPECT_EQ(driver.messages, (std::vector<QString>{QStringLiteral("人数不能小于1!"), QStringLiteral("请输入一个整数。"),
                                                     QStringLiteral("人数不能大于10000!")}));
    const CTableElement* table = TableOn(Pages(), 0);
    ASSERT_TRUE(table);
    EXPECT_EQ(TableTexts(*table), GTable({"身高", "胸围", "腰围"}, {{"", "", ""}}));
    EXPECT_EQ(PageTexts(Pages(), 0)[1], "1/1");
    EXPECT_EQ(doc->UndoCount(), 1);
    EXPECT_TRUE(doc->IsModified());
    EXPECT_TRUE(Enabled(ID_GRADING));
}

TEST_F(GradingDialogs, SizeInputNeedsItems)
{
    driver.Then(With<CSizeInputDlg>([](CSizeInputDlg* d) {
        d->PersonsEdit()->setText(QStringLiteral("5"));
        d->accept();
        EXPECT_EQ(d->focusWidget(), d->NameEdit());
        d->reject();
    }));
    view->CommandAction(ID_SIZE_INPUT)->trigger();
    EXPECT_EQ(driver.messages, (std::vector<QString>{QStringLiteral("尺寸项不能为空!")}));
    EXPECT_EQ(Pages().GetPageAt(0)->GetElementCount(), 0);
    EXPECT_EQ(doc->UndoCount(), 0);
}

TEST_F(GradingDialogs, BasisItemsTheTableCannotGradeByAreRefusedByName)
{
    CTextRows persons = Persons(4);
    persons.header = GRow({"姓名", "胸围", "胸围"});
    PutBodyTable(persons);
    // A second table on the page brings an item the body table lacks.
    CResultTableWriter(Pages(), TestStyle())
        .WritePage(0, "x", "1/1", GTable({"腰围"}, {}), 0, 0, CRect(523, 20000, 5000, 21000), {});
    Refresh();
    driver.Then(With<CSelectGradeBasisDlg>([](CSelectGradeBasisDlg* d) {
        EXPECT_EQ(Texts(d->AllItemsList()), (QStringList{QStringLiteral("姓名"), QStringLiteral("胸围"),
                                                         QStringLiteral("胸围"), QStringLiteral("腰围")}));
        EXPECT_EQ(d->BasisList()->count(), 0);
        d->accept(); // nothing chosen
        Key(d->AllItemsList(), Qt::Key_Down);
        EXPECT_EQ(d->BasisList()->count(), 0);
        ClickRow(d->AllItemsList(), 3);
        d->accept(); // not in the body table
        d->BasisList()->setCurrentRow(0);
        d->OnDelete();
        ClickRow(d->AllItemsList(), 1);
        d->accept(); // twice in it
        EXPECT_TRUE(d->isVisible());
        d->reject();
    }));
    view->CommandAction(ID_GRADING)->trigger();
    EXPECT_EQ(driver.messages, (std::vector<QString>{QStringLiteral("归号依据项不能为空，请选择归号依据项！"),
                                                     QStringLiteral("量体尺寸表的表头中没有“腰围”。"),
                                                     QStringLiteral("量体尺寸表的表头中有不止一列“胸围”，请先把它们改成不同的名字。")}));
    EXPECT_EQ(doc->UndoCount(), 0);
}

TEST_F(GradingDialogs, ATableOfNoPersonsIsNotGraded)
{
    PutBodyTable(GTable({"身高"}, {}));
    driver.Then(With<CSelectGradeBasisDlg>([](CSelectGradeBasisDlg* d) {
        ClickRow(d->AllItemsList(), 0);
        d->accept();
        d->reject();
    }));
    view->CommandAction(ID_GRADING)->trigger();
    EXPECT_EQ(driver.messages, (std::vector<QString>{QStringLiteral("量体尺寸表中没有人员的数据。")}));
    EXPECT_EQ(Pages().GetPageCount(), 1);
}

TEST_F(GradingDialogs, ManyBasisItemsScrollAndEveryNumberMustBePositive)
{
    CGradingBasisDlg dialog(view);
    std::vector<std::string> items;
    for (int i = 0; i < 12; ++i) items.push_back("item" + std::to_string(i));
    dialog.SetBasisItems(items);
    dialog.show();
    QCoreApplication::processEvents();
    // 24 rows of prompts and edits in a scroll area smaller than them.
    ASSERT_TRUE(dialog.Edit(23));
    EXPECT_FALSE(dialog.Edit(24));
    QScrollArea* scroll = dialog.ScrollArea();
    EXPECT_GT(scroll->widget()->height(), scroll->viewport()->height());
    EXPECT_GT(scroll->verticalScrollBar()->maximum(), 0);
    EXPECT_LE(dialog.height(), 600);
    EXPECT_EQ(dialog.Prompt(12)->text(), QStringLiteral("请输入item0间隔"));

    // Every base value and interval must be a number above 0: the first
    // that is not is refused with the dialog kept open.
    driver.messages.clear();
    for (int i = 0; i < 24; ++i) dialog.Edit(i)->setText(QStringLiteral("5"));
    const char* bad[] = {"0", "-5", "", "abc"};
    const int at[] = {3, 15, 23, 0};
    for (int k = 0; k < 4; ++k) {
        dialog.Edit(at[k])->setText(QString::fromUtf8(bad[k]));
        dialog.accept();
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(dialog.focusWidget(), dialog.Edit(at[k])) << bad[k];
        dialog.Edit(at[k])->setText(QStringLiteral("5"));
    }
    EXPECT_EQ(driver.messages, std::vector<QString>(4, QStringLiteral("请输入一个大于0的数!")));
    EXPECT_EQ(doc->UndoCount(), 0);
    dialog.reject();
}

TEST_F(GradingDialogs, TheResultFileIsOptionalAndAFailedWriteBuildsNothing)
{
    PutBodyTable(Persons(20));
    const int steps = doc->UndoCount();
    auto grade = [this](std::function<void(ModalDriver&)> answerSave) {
        // From the body table's page.
        Pages().SetCurrentPageIndex(0);
        Refresh();
        driver.Then(With<CSelectGradeBasisDlg>([](CSelectGradeBasisDlg* d) {
            ClickRow(d->AllItemsList(), 1);
            d->accept();
            if (d->isVisible()) d->reject();
        }));
        driver.Then(With<CGradingBasisDlg>([](CGradingBasisDlg* d) {
            d->Edit(0)->setText(QStringLiteral("160"));
            d->Edit(1)->setText(QStringLiteral("5"));
            d->accept();
            if (d->isVisible()) d->reject();
        }));
        answerSave(driver);
        view->CommandAction(ID_GRADING)->trigger();
        ASSERT_TRUE(driver.Idle());
    };
    // No file: the tables are built all the same.
    grade([](ModalDriver& d) { d.Then(Answer(false)); });
    EXPECT_EQ(Pages().GetPageCount(), 3);
    EXPECT_EQ(doc->UndoCount(), steps + 1);
    // A file that cannot be written: said so, and no page added.
    driver.messages.clear();
    grade([](ModalDriver& d) {
        d.Then(Answer(true));
        d.Then(ChooseFileHandler(QStringLiteral("/proc/grading.sml")));
    });
    ASSERT_EQ(driver.messages.size(), 1u);
    EXPECT_TRUE(driver.messages[0].startsWith(QStringLiteral("归号结果没有保存到“grading.sml”："))) << driver.messages[0].toStdString();
    EXPECT_EQ(Pages().GetPageCount(), 3);
    EXPECT_EQ(doc->UndoCount(), steps + 1);
}

TEST_F(GradingDialogs, SerialNumbersAndSortingOverTwoPersonalPages)
{
    // Personal tables of 10 and 4 persons.
    auto& ps = Pages();
    ps.AppendPage();
    CResultTableWriter writer(ps, TestStyle());
    CTextRows persons = Persons(14);
    for (int i = 0; i < 14; ++i) persons.rows[std::size_t(i)][1] = std::to_string(170 - i % 5);
    writer.WritePage(0, CGradingPages::PersonalTitle(), "1/2", persons, 0, 10, CRect(523, 1523, 19953, 8000), {});
    writer.WritePage(1, CGradingPages::PersonalTitle(), "2/2", persons, 10, 4, CRect(523, 1523, 19953, 8000), {});
    Refresh();
    ASSERT_TRUE(Enabled(ID_SERIAL_SORT));

    driver.Then(With<CSerialSortDlg>([this](CSerialSortDlg* d) {
        EXPECT_FALSE(d->StartEdit()->isEnabled());
        EXPECT_FALSE(d->SecondaryCheck()->isEnabled());
        EXPECT_EQ(d->PrimaryCombo()->count(), 3);
        d->AddNumbersCheck()->click();
        EXPECT_TRUE(d->StartEdit()->isEnabled());
        d->PrimaryCheck()->click();
        EXPECT_TRUE(d->SecondaryCheck()->isEnabled());
        d->PrimaryCombo()->setCurrentIndex(1);
        // Refused start numbers take no undo step.
        for (const char* start : {"-1", "x"}) {
            d->StartEdit()->setText(QString::fromUtf8(start));
            d->accept();
            EXPECT_TRUE(d->isVisible());
            EXPECT_EQ(d->focusWidget(), d->StartEdit());
        }
        EXPECT_EQ(doc->UndoCount(), 0);
        d->StartEdit()->setText(QStringLiteral("1"));
        d->accept();
    }));
    view->CommandAction(ID_SERIAL_SORT)->trigger();
    ASSERT_TRUE(driver.Idle());
    EXPECT_EQ(driver.messages, (std::vector<QString>{QStringLiteral("请输入一个不小于0的整数"),
                                                     QStringLiteral("请输入一个整数。")}));
    EXPECT_EQ(doc->UndoCount(), 1);
    int number = 1;
    std::string lastHeight;
    for (int p : {0, 1}) {
        const CTextRows t = TableTexts(*TableOn(ps, p));
        EXPECT_EQ(t.header, GRow({"序号", "姓名", "身高", "胸围"}));
        for (const auto& row : t.rows) {
            EXPECT_EQ(row[0], std::to_string(number++));
            EXPECT_GE(row[2], lastHeight);
            lastHeight = row[2];
        }
    }
    EXPECT_EQ(number, 15);

    // Nothing asked for, nothing changed: no step.
    driver.Then(With<CSerialSortDlg>([](CSerialSortDlg* d) { d->accept(); }));
    view->CommandAction(ID_SERIAL_SORT)->trigger();
    EXPECT_EQ(doc->UndoCount(), 1);
}

TEST_F(GradingDialogs, NamingTwiceSaysWhyNothingMoreWasInserted)
{
    PutBodyTable(Persons(20));
    CGradingRun run;
    ASSERT_EQ(run.Run(Persons(20), {{G("身高"), 160, 5}}), CGradingRun::Error::None);
    CGradingOutput::Write(Pages(), TestStyle(), run, {0});
    Refresh();
    view->CommandAction(ID_NAME_BY_HAND)->trigger();
    EXPECT_TRUE(driver.messages.empty());
    EXPECT_EQ(doc->UndoCount(), 1);
    view->CommandAction(ID_NAME_BY_HAND)->trigger();
    EXPECT_EQ(doc->UndoCount(), 1);
    ASSERT_EQ(driver.messages.size(), 1u);
    EXPECT_EQ(driver.messages[0], QStringLiteral("第2页的表格已有“款式号型”列，没有再插入。\n"
                                                 "第3页的表格已有“款式号型”列，没有再插入。"));
}

} // namespace
