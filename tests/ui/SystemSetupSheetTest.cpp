#include "ModalDriver.h"

#include "settings/CSystemSettings.h"
#include "app/CVEKDoc.h"

#include "ui/CAutoSaveFileNameDialog.h"
#include "ui/CAutoSaveIntervalPage.h"
#include "ui/CPasswordDlg.h"
#include "ui/CSetCaptureSensitivityPage.h"
#include "ui/CSetDefaultPageSize.h"
#include "ui/CSetFilesPathPage.h"
#include "ui/CSetTableParamPage.h"
#include "ui/CSetWorkUnitPage.h"
#include "ui/CSystemSetupSheet.h"

#include "platform/CodePage.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRegularExpression>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>

namespace {

class SetupSheetTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(home.isValid());
        qputenv("XDG_DATA_HOME", home.filePath(QStringLiteral("data")).toLocal8Bit());
        Settings().SetDefaults();
        Settings().m_strBackupFile = QStringToGbk(home.filePath(QStringLiteral("b.vek")));
    }

    // A sheet on screen with page `index` shown, as the user sees it.
    std::unique_ptr<CSystemSetupSheet> Open(int index)
    {
        auto sheet = std::make_unique<CSystemSetupSheet>();
        sheet->show();
        sheet->activateWindow();
        sheet->SetActivePage(index);
        QApplication::processEvents();
        return sheet;
    }

    // The user types into an edit: its old text selected and replaced.
    static void TypeInto(QLineEdit* edit, const QString& text)
    {
        edit->setFocus();
        edit->selectAll();
        edit->insert(text); // emits textEdited like typing
    }

    QTemporaryDir home;
    ModalDriver driver;
};

// The field is the one that has the keyboard focus of its window (as soon
// as the window is active again after the message).
bool HasFocus(QWidget* field)
{
    QApplication::processEvents();
    return field->window()->focusWidget() == field;
}

template <class Page>
Page* PageOf(const CSystemSetupSheet& sheet)
{
    return sheet.FindPage<Page>();
}

} // namespace

// --- the sheet --------------------------------------------------------------

TEST_F(SetupSheetTest, SixPagesInTabOrderAndOnlyShownPagesAreFilled)
{
    CSystemSetupSheet sheet;
    EXPECT_EQ(sheet.windowTitle(), QStringLiteral("系统设置"));
    const char* captions[] = {"工作单位", "抓取灵敏度", "自动备份间隙", "档案目录", "表格参数", "缺省页面"};
    const int dialogs[] = {208, 209, 210, 211, 217, 236};
    ASSERT_EQ(sheet.GetPageCount(), 6);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(sheet.Tabs()->tabText(i), QString::fromUtf8(captions[i]));
        EXPECT_EQ(sheet.GetPage(i)->DialogId(), dialogs[i]);
        EXPECT_EQ(sheet.GetPage(i)->IsCreated(), i == 0) << i;
    }
    EXPECT_FALSE(sheet.ApplyButton()->isEnabled());

    // A page never shown writes nothing, even what changed behind it.
    sheet.SetActivePage(2);
    Settings().m_nCaptureRadius = 40;
    Settings().m_rcCellPadding = CRect(-7, -7, -7, -7);
    ASSERT_TRUE(sheet.OnApply());
    EXPECT_EQ(Settings().m_nCaptureRadius, 40);
    EXPECT_EQ(Settings().m_rcCellPadding.left, -7);
}

TEST_F(SetupSheetTest, ARefusedValueStoresNothingOfAnyPageAndFocusesTheField)
{
    auto sheet = Open(0);
    auto* units = PageOf<CSetWorkUnitPage>(*sheet);
    units->Control<QRadioButton>(CSetWorkUnitPage::IDC_MM)->click();
    EXPECT_TRUE(sheet->ApplyButton()->isEnabled());
    sheet->SetActivePage(1);
    auto* radius = PageOf<CSetCaptureSensitivityPage>(*sheet)->Control<QLineEdit>(CSetCaptureSensitivityPage::IDC_RADIUS);
    TypeInto(radius, QStringLiteral("0"));
    sheet->SetActivePage(0); // the refusal brings its page back

    sheet->accept();
    EXPECT_EQ(driver.messages.size(), 1u);
    EXPECT_TRUE(sheet->isVisible());
    EXPECT_EQ(sheet->GetActiveIndex(), 1);
    EXPECT_TRUE(HasFocus(radius));
    EXPECT_EQ(Settings().m_nWorkUnit, 2); // the first page's change waits too
    EXPECT_EQ(Settings().m_nCaptureRadius, 15);

    TypeInto(radius, QStringLiteral("25"));
    sheet->accept();
    EXPECT_FALSE(sheet->isVisible());
    EXPECT_EQ(Settings().m_nWorkUnit, 3);
    EXPECT_EQ(Settings().m_nCaptureRadius, 25);
}

TEST_F(SetupSheetTest, ApplyStoresTellsAndShowsTheStoredValuesInTheNewUnit)
{
    auto sheet = Open(4);
    int applied = 0;
    QObject::connect(sheet.get(), &CSystemSetupSheet::SettingsApplied, [&applied] { ++applied; });
    sheet->SetActivePage(0);
    PageOf<CSetWorkUnitPage>(*sheet)->Control<QRadioButton>(CSetWorkUnitPage::IDC_MM)->click();
    sheet->ApplyButton()->click();
    EXPECT_EQ(applied, 1);
    EXPECT_EQ(Settings().m_nWorkUnit, 3);
    EXPECT_FALSE(sheet->ApplyButton()->isEnabled());
    // The table page showed centimetres; it now shows the same padding in mm.
    auto* table = PageOf<CSetTableParamPage>(*sheet);
    EXPECT_EQ(table->Control<QLineEdit>(CSetTableParamPage::IDC_TOP)->text(), QStringLiteral("0.5"));
    EXPECT_EQ(table->Control<QLabel>(1066)->text(), QStringLiteral("mm"));
    EXPECT_EQ(Settings().m_rcCellPadding.top, 50);
}

// --- work unit ----------------------------------------------------------------

TEST_F(SetupSheetTest, WorkUnitPageOpensOnTheStoredUnitAndPrecision)
{
    struct Case {
        int unit, precision;
        int radio;
        bool fractions;
        QString selected;
        int count;
    };
    const Case cases[] = {
        {2, 100, CSetWorkUnitPage::IDC_CM, false, QStringLiteral("0.01"), 4},
        {2, 1000, CSetWorkUnitPage::IDC_CM, false, QStringLiteral("0.001"), 4},
        {3, 10, CSetWorkUnitPage::IDC_MM, false, QStringLiteral("0.1"), 3},
        // Not in the millimetre list: the middle entry, never none.
        {3, 1000, CSetWorkUnitPage::IDC_MM, false, QStringLiteral("0.01"), 3},
        {1, 10000, CSetWorkUnitPage::IDC_INCH, false, QStringLiteral("0.0001"), 5},
        {0, 16, CSetWorkUnitPage::IDC_INCH, true, QStringLiteral("1/16"), 12},
        {0, 2048, CSetWorkUnitPage::IDC_INCH, true, QStringLiteral("1/2048"), 12},
        // Fractions with precision 1: the box follows the precision.
        {0, 1, CSetWorkUnitPage::IDC_INCH, false, QStringLiteral("1"), 5},
        {1, 7, CSetWorkUnitPage::IDC_INCH, false, QStringLiteral("0.01"), 5},
    };
    for (const Case& c : cases) {
        Settings().m_nWorkUnit = c.unit;
        Settings().m_nPrecision = c.precision;
        CSystemSetupSheet sheet;
        auto* page = PageOf<CSetWorkUnitPage>(sheet);
        const auto* list = page->Control<QComboBox>(CSetWorkUnitPage::IDC_PRECISION);
        const auto* box = page->Control<QCheckBox>(CSetWorkUnitPage::IDC_FRACTIONS);
        EXPECT_TRUE(page->Control<QRadioButton>(c.radio)->isChecked()) << c.unit << "/" << c.precision;
        EXPECT_EQ(box->isChecked(), c.fractions) << c.unit << "/" << c.precision;
        EXPECT_EQ(box->isEnabled(), c.radio == CSetWorkUnitPage::IDC_INCH);
        EXPECT_EQ(list->count(), c.count) << c.unit << "/" << c.precision;
        EXPECT_EQ(list->currentText(), c.selected) << c.unit << "/" << c.precision;
    }
}

TEST_F(SetupSheetTest, WorkUnitChoicesGiveUnitAndPrecision)
{
    Settings().m_nPrecision = 1000;
    auto sheet = Open(0);
    auto* page = PageOf<CSetWorkUnitPage>(*sheet);
    auto* list = page->Control<QComboBox>(CSetWorkUnitPage::IDC_PRECISION);
    auto* box = page->Control<QCheckBox>(CSetWorkUnitPage::IDC_FRACTIONS);
    EXPECT_FALSE(sheet->ApplyButton()->isEnabled());

    page->Control<QRadioButton>(CSetWorkUnitPage::IDC_MM)->click();
    EXPECT_EQ(list->currentText(), QStringLiteral("0.01"));
    EXPECT_EQ(page->PageUnit(), 3);
    EXPECT_EQ(page->PagePrecision(), 100);
    EXPECT_TRUE(sheet->ApplyButton()->isEnabled());

    page->Control<QRadioButton>(CSetWorkUnitPage::IDC_INCH)->click();
    EXPECT_TRUE(box->isEnabled());
    EXPECT_EQ(list->currentText(), QStringLiteral("0.001")); // from the stored precision again
    box->click();
    EXPECT_EQ(list->currentText(), QStringLiteral("1/32"));
    list->setCurrentIndex(3);
    Q_EMIT list->activated(3);
    EXPECT_EQ(page->PageUnit(), 0);
    EXPECT_EQ(page->PagePrecision(), 8);

    page->Control<QRadioButton>(CSetWorkUnitPage::IDC_CM)->click();
    EXPECT_FALSE(box->isEnabled());
    EXPECT_EQ(page->PageUnit(), 2);
    EXPECT_EQ(page->PagePrecision(), 1000);
    EXPECT_FALSE(sheet->ApplyButton()->isEnabled()); // back to what is stored

    page->Control<QRadioButton>(CSetWorkUnitPage::IDC_INCH)->click();
    ASSERT_TRUE(sheet->OnApply());
    EXPECT_EQ(Settings().m_nWorkUnit, 0);
    EXPECT_EQ(Settings().m_nPrecision, 32);
}

// --- capture radius -----------------------------------------------------------

TEST_F(SetupSheetTest, CaptureRadiusTakesWholeNumbersFromOneToAHundred)
{
    struct Case {
        const char* text;
        int stored; // 0: refused
    };
    const Case cases[] = {
        {"20", 20}, {"1", 1}, {"100", 100}, {"15", 15},
        {"0", 0}, {"101", 0}, {"1000000", 0}, {"-5", 0}, {"015", 0}, {"+20", 0}, {" 20", 0}, {"", 0}, {"2a", 0},
    };
    for (const Case& c : cases) {
        Settings().m_nCaptureRadius = 15;
        auto sheet = Open(1);
        auto* edit = PageOf<CSetCaptureSensitivityPage>(*sheet)->Control<QLineEdit>(
            CSetCaptureSensitivityPage::IDC_RADIUS);
        EXPECT_EQ(edit->text(), QStringLiteral("15"));
        TypeInto(edit, QString::fromUtf8(c.text));
        driver.messages.clear();
        sheet->accept();
        if (c.stored) {
            EXPECT_FALSE(sheet->isVisible()) << c.text;
            EXPECT_EQ(Settings().m_nCaptureRadius, c.stored) << c.text;
            EXPECT_TRUE(driver.messages.empty()) << c.text;
        } else {
            EXPECT_TRUE(sheet->isVisible()) << c.text;
            EXPECT_EQ(Settings().m_nCaptureRadius, 15) << c.text;
            EXPECT_EQ(driver.messages.size(), 1u) << c.text;
            EXPECT_TRUE(HasFocus(edit)) << c.text;
        }
    }
}

// --- automatic backup ---------------------------------------------------------

TEST_F(SetupSheetTest, BackupPageOpensOnTheSettingsAndGreysOutWhenOff)
{
    Settings().m_bBackupEveryStep = 0;
    Settings().m_nBackupMinutes = 9;
    auto sheet = Open(2);
    auto* page = PageOf<CAutoSaveIntervalPage>(*sheet);
    EXPECT_EQ(page->Control<QLineEdit>(CAutoSaveIntervalPage::IDC_MINUTES)->text(), QStringLiteral("9"));
    EXPECT_TRUE(page->Control<QRadioButton>(CAutoSaveIntervalPage::IDC_INTERVAL_MODE)->isChecked());
    EXPECT_EQ(page->Control<QLineEdit>(CAutoSaveIntervalPage::IDC_FILE)->text(), home.filePath(QStringLiteral("b.vek")));
    auto* check = page->Control<QCheckBox>(CAutoSaveIntervalPage::IDC_AUTO_BACKUP);
    EXPECT_TRUE(check->isChecked());
    check->click();
    for (int id : {1054, 1055, 1056, 1057, 1058}) EXPECT_FALSE(page->Control<QWidget>(id)->isEnabled()) << id;
    EXPECT_TRUE(sheet->ApplyButton()->isEnabled());
    // Off, the greyed fields are not taken, whatever they hold.
    TypeInto(page->Control<QLineEdit>(CAutoSaveIntervalPage::IDC_MINUTES), QStringLiteral("0"));
    sheet->accept();
    EXPECT_TRUE(driver.messages.empty());
    EXPECT_EQ(Settings().m_bAutoBackup, 0);
    EXPECT_EQ(Settings().m_nBackupMinutes, 9);
}

TEST_F(SetupSheetTest, BackupIntervalTakesOneMinuteToOneDay)
{
    struct Case {
        const char* text;
        int stored; // 0: refused
    };
    const Case cases[] = {{"1", 1}, {"30", 30}, {"1440", 1440}, {" 7 ", 7}, {"0", 0},     {"-1", 0},
                          {"1441", 0}, {"35792", 0}, {"99999999", 0}, {"", 0}, {"abc", 0}, {"5x", 0}};
    for (const Case& c : cases) {
        Settings().m_nBackupMinutes = 5;
        Settings().m_bBackupEveryStep = 0;
        auto sheet = Open(2);
        auto* page = PageOf<CAutoSaveIntervalPage>(*sheet);
        auto* minutes = page->Control<QLineEdit>(CAutoSaveIntervalPage::IDC_MINUTES);
        TypeInto(minutes, QString::fromUtf8(c.text));
        driver.messages.clear();
        sheet->accept();
        EXPECT_EQ(Settings().m_nBackupMinutes, c.stored ? c.stored : 5) << c.text;
        EXPECT_EQ(sheet->isVisible(), c.stored == 0) << c.text;
        EXPECT_EQ(driver.messages.size(), c.stored ? 0u : 1u) << c.text;
        if (!c.stored) EXPECT_TRUE(HasFocus(minutes)) << c.text;
    }
}

TEST_F(SetupSheetTest, BackupFileIsMadeAbsoluteInTheDataFolderAndMustBeWritable)
{
    const QString data = home.filePath(QStringLiteral("data"));
    const QString dataFolder = QDir(data).filePath(QStringLiteral("vek")); // application folder below it
    QFile blocker(home.filePath(QStringLiteral("plainfile")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QDir().mkpath(home.filePath(QStringLiteral("folder.qpn")));

    struct Case {
        QString typed;
        QString stored; // empty: refused
    };
    const QString appData = CVEKDoc::ResolveBackupPath(QStringLiteral("x")).section(QLatin1Char('/'), 0, -2);
    const Case cases[] = {
        {QString(), appData + QStringLiteral("/backup.qpn")},
        {QStringLiteral("mine.qpn"), appData + QStringLiteral("/mine.qpn")},
        {QStringLiteral("sub/deeper/mine.qpn"), appData + QStringLiteral("/sub/deeper/mine.qpn")},
        {home.filePath(QStringLiteral("new/b.qpn")), home.filePath(QStringLiteral("new/b.qpn"))},
        {home.filePath(QStringLiteral("plainfile/b.qpn")), QString()}, // a file stands where a folder must be
        {home.filePath(QStringLiteral("folder.qpn")), QString()}, // a folder, not a file
    };
    EXPECT_TRUE(appData.startsWith(data));
    for (const Case& c : cases) {
        Settings().m_strBackupFile = "/old.vek";
        auto sheet = Open(2);
        auto* file = PageOf<CAutoSaveIntervalPage>(*sheet)->Control<QLineEdit>(CAutoSaveIntervalPage::IDC_FILE);
        TypeInto(file, c.typed);
        driver.messages.clear();
        sheet->accept();
        if (c.stored.isEmpty()) {
            EXPECT_EQ(Settings().m_strBackupFile, "/old.vek") << c.typed.toStdString();
            EXPECT_EQ(driver.messages.size(), 1u) << c.typed.toStdString();
            EXPECT_TRUE(HasFocus(file));
        } else {
            EXPECT_EQ(GbkToQString(Settings().m_strBackupFile), c.stored) << c.typed.toStdString();
            EXPECT_EQ(CVEKDoc::BackupFilePath(), c.stored);
        }
    }
    // A relative name already in the settings is found in the data folder too.
    Settings().m_strBackupFile = "old.vek";
    EXPECT_EQ(CVEKDoc::BackupFilePath(), appData + QStringLiteral("/old.vek"));
}

TEST_F(SetupSheetTest, EveryStepRadioAndBrowseMarkThePage)
{
    auto sheet = Open(2);
    auto* page = PageOf<CAutoSaveIntervalPage>(*sheet);
    page->Control<QRadioButton>(CAutoSaveIntervalPage::IDC_INTERVAL_MODE)->click();
    EXPECT_TRUE(sheet->ApplyButton()->isEnabled());
    const QString chosen = home.filePath(QStringLiteral("picked.qpn"));
    driver.Then([&chosen](QWidget* w) {
        auto* dlg = qobject_cast<CAutoSaveFileNameDialog*>(w);
        ASSERT_NE(dlg, nullptr);
        EXPECT_EQ(dlg->windowTitle(), QStringLiteral("自动存盘"));
        EXPECT_EQ(dlg->defaultSuffix(), QStringLiteral("qpn"));
        dlg->selectFile(chosen);
        static_cast<QDialog*>(dlg)->accept();
    });
    page->Control<QPushButton>(CAutoSaveIntervalPage::IDC_BROWSE)->click();
    EXPECT_EQ(page->Control<QLineEdit>(CAutoSaveIntervalPage::IDC_FILE)->text(), chosen);
    ASSERT_TRUE(sheet->OnApply());
    EXPECT_EQ(Settings().m_bBackupEveryStep, 0);
    EXPECT_EQ(GbkToQString(Settings().m_strBackupFile), chosen);
}

// --- archive folder ---------------------------------------------------------------

TEST_F(SetupSheetTest, ArchivePageAsksThePasswordOnceAndSpringsBackWithoutIt)
{
    auto sheet = Open(3);
    auto* page = PageOf<CSetFilesPathPage>(*sheet);
    auto* check = page->Control<QCheckBox>(CSetFilesPathPage::IDC_ARCHIVE_ONLY);
    auto* folder = page->Control<QLineEdit>(CSetFilesPathPage::IDC_FOLDER);
    EXPECT_FALSE(folder->isEnabled());

    auto answer = [this](const QString& code, bool ok) {
        driver.Then([code, ok](QWidget* w) {
            auto* dlg = qobject_cast<CPasswordDlg*>(w);
            ASSERT_NE(dlg, nullptr);
            EXPECT_EQ(dlg->PasswordEdit()->echoMode(), QLineEdit::Password);
            dlg->PasswordEdit()->setText(code);
            ok ? dlg->accept() : dlg->reject();
        });
    };
    answer(QStringLiteral("72053"), false); // cancelled
    check->click();
    EXPECT_FALSE(check->isChecked());
    answer(QStringLiteral("72054"), true); // wrong code
    check->click();
    EXPECT_FALSE(check->isChecked());
    EXPECT_FALSE(folder->isEnabled());
    EXPECT_FALSE(sheet->ApplyButton()->isEnabled());
    EXPECT_FALSE(page->IsUnlocked());

    answer(QStringLiteral("72053"), true);
    check->click();
    EXPECT_TRUE(page->IsUnlocked());
    EXPECT_TRUE(check->isChecked());
    EXPECT_TRUE(folder->isEnabled());
    EXPECT_TRUE(sheet->ApplyButton()->isEnabled());
    TypeInto(folder, home.path()); // unlocked: no more questions
    EXPECT_TRUE(driver.Idle());
    ASSERT_TRUE(sheet->OnApply());
    EXPECT_EQ(Settings().m_bArchiveOnly, 1);
    EXPECT_EQ(GbkToQString(Settings().m_strArchiveFolder), home.path());
}

TEST_F(SetupSheetTest, ArchiveOnlyNeedsAnExistingWritableFolder)
{
    QFile plain(home.filePath(QStringLiteral("plain")));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    struct Case {
        QString folder;
        bool accepted;
    };
    const Case cases[] = {
        {home.filePath(QStringLiteral("missing")), false},
        {QString(), false},
        {home.filePath(QStringLiteral("plain")), false},
        {home.path(), true},
    };
    for (const Case& c : cases) {
        Settings().m_bArchiveOnly = 0;
        Settings().m_strArchiveFolder.clear();
        auto sheet = Open(3);
        auto* page = PageOf<CSetFilesPathPage>(*sheet);
        driver.Then([](QWidget* w) {
            auto* dlg = qobject_cast<CPasswordDlg*>(w);
            dlg->PasswordEdit()->setText(QStringLiteral("72053"));
            dlg->accept();
        });
        page->Control<QCheckBox>(CSetFilesPathPage::IDC_ARCHIVE_ONLY)->click();
        auto* folder = page->Control<QLineEdit>(CSetFilesPathPage::IDC_FOLDER);
        TypeInto(folder, c.folder);
        driver.messages.clear();
        sheet->accept();
        EXPECT_EQ(Settings().m_bArchiveOnly, c.accepted ? 1 : 0) << c.folder.toStdString();
        EXPECT_EQ(driver.messages.size(), c.accepted ? 0u : 1u) << c.folder.toStdString();
        if (!c.accepted) EXPECT_TRUE(HasFocus(folder));
    }
    // Switching the option off needs no folder.
    auto sheet = Open(3);
    driver.Then([](QWidget* w) {
        auto* dlg = qobject_cast<CPasswordDlg*>(w);
        dlg->PasswordEdit()->setText(QStringLiteral("72053"));
        dlg->accept();
    });
    PageOf<CSetFilesPathPage>(*sheet)->Control<QCheckBox>(CSetFilesPathPage::IDC_ARCHIVE_ONLY)->click();
    ASSERT_TRUE(sheet->OnApply());
    EXPECT_EQ(Settings().m_bArchiveOnly, 0);
}

// --- table parameters -------------------------------------------------------------

TEST_F(SetupSheetTest, TablePaddingNotBelowZeroAndLineWidthsNotBelowOne)
{
    Settings().m_nWorkUnit = 3; // millimetres
    auto sheet = Open(4);
    auto* page = PageOf<CSetTableParamPage>(*sheet);
    EXPECT_EQ(page->Control<QLineEdit>(CSetTableParamPage::IDC_BORDER_WIDTH)->text(), QStringLiteral("0.35"));
    for (int label : {1066, 1068, 1070, 1072, 1091, 1092})
        EXPECT_EQ(page->Control<QLabel>(label)->text(), QStringLiteral("mm"));
    struct Case {
        int id;
        const char* text;
    };
    const Case typed[] = {{CSetTableParamPage::IDC_TOP, "-2"},        {CSetTableParamPage::IDC_BOTTOM, "1.5"},
                          {CSetTableParamPage::IDC_LEFT, "0"},        {CSetTableParamPage::IDC_BORDER_WIDTH, "0"},
                          {CSetTableParamPage::IDC_INNER_WIDTH, "-1"}};
    for (const Case& c : typed) TypeInto(page->Control<QLineEdit>(c.id), QString::fromUtf8(c.text));
    EXPECT_TRUE(sheet->ApplyButton()->isEnabled());
    ASSERT_TRUE(sheet->OnApply());
    const CSystemSettings& s = Settings();
    EXPECT_EQ(s.m_rcCellPadding.top, 0);
    EXPECT_EQ(s.m_rcCellPadding.bottom, 150);
    EXPECT_EQ(s.m_rcCellPadding.left, 0);
    EXPECT_EQ(s.m_rcCellPadding.right, 50); // untouched
    EXPECT_EQ(s.m_nTableBorderWidth, 1);
    EXPECT_EQ(s.m_nTableInnerWidth, 1);
}

TEST_F(SetupSheetTest, ValuesTheUserLeftAloneKeepTheirExactLengthsAtACoarsePrecision)
{
    Settings().m_nPrecision = 1; // whole centimetres: 0.5 mm shows as "0"
    auto sheet = Open(4);
    sheet->SetActivePage(5);
    EXPECT_EQ(PageOf<CSetTableParamPage>(*sheet)->Control<QLineEdit>(CSetTableParamPage::IDC_TOP)->text(),
              QStringLiteral("0"));
    EXPECT_FALSE(sheet->ApplyButton()->isEnabled());
    ASSERT_TRUE(sheet->OnApply());
    EXPECT_EQ(Settings().m_rcCellPadding, CRect(50, 50, 50, 50));
    EXPECT_EQ(Settings().m_nTableBorderWidth, 35);
    EXPECT_EQ(Settings().m_nDefaultMargin[2], 500);
}

// --- default page -------------------------------------------------------------

namespace {
const std::vector<CPageSizeDlg::PaperForm> kForms{
    {QStringLiteral("Letter"), 2159, 2794},
    {QStringLiteral("A4"), 2100, 2970},
    {QStringLiteral("A3"), 2970, 4200},
};
} // namespace

TEST_F(SetupSheetTest, DefaultPagePaperListFollowsTheSizes)
{
    Settings().m_nWorkUnit = 3;
    CSystemSetupSheet sheet;
    auto* page = PageOf<CSetDefaultPageSize>(sheet);
    page->SetPaperForms(kForms);
    sheet.SetActivePage(5);
    QComboBox* list = page->PaperList();
    ASSERT_EQ(list->count(), 4);
    EXPECT_EQ(list->itemText(3), QStringLiteral("自定义纸张大小"));
    EXPECT_EQ(list->currentIndex(), 1);
    EXPECT_EQ(page->Edit(CPageSizeDlg::IDC_WIDTH)->text(), QStringLiteral("210"));
    EXPECT_EQ(page->Edit(CPageSizeDlg::IDC_TOP)->text(), QStringLiteral("5"));
    EXPECT_EQ(page->Control<QLabel>(1088)->text(), QStringLiteral("mm"));

    list->setCurrentIndex(2);
    Q_EMIT list->activated(2);
    EXPECT_EQ(page->Edit(CPageSizeDlg::IDC_WIDTH)->text(), QStringLiteral("297"));
    EXPECT_EQ(page->Edit(CPageSizeDlg::IDC_HEIGHT)->text(), QStringLiteral("420"));
    EXPECT_TRUE(sheet.ApplyButton()->isEnabled());

    TypeInto(page->Edit(CPageSizeDlg::IDC_WIDTH), QStringLiteral("215.9"));
    TypeInto(page->Edit(CPageSizeDlg::IDC_HEIGHT), QStringLiteral("279.4"));
    EXPECT_EQ(list->currentIndex(), 0);
    TypeInto(page->Edit(CPageSizeDlg::IDC_HEIGHT), QStringLiteral("279.35")); // within half a millimetre
    EXPECT_EQ(list->currentIndex(), 0);
    TypeInto(page->Edit(CPageSizeDlg::IDC_HEIGHT), QStringLiteral("278.9"));
    EXPECT_EQ(list->currentIndex(), 3);
    ASSERT_TRUE(sheet.OnApply());
    EXPECT_EQ(Settings().m_sizeDefaultPaper, CSize(21590, 27890));
}

TEST_F(SetupSheetTest, DefaultPageKeepsThePageSizeDialogsRules)
{
    Settings().m_nWorkUnit = 3;
    struct Case {
        const char* name;
        int field;
        const char* text;
        bool accepted;
    };
    const Case cases[] = {
        {"width of 50 mm", CPageSizeDlg::IDC_WIDTH, "50", false},
        {"width of 50.01 mm", CPageSizeDlg::IDC_WIDTH, "50.01", true},
        {"height of 10 m", CPageSizeDlg::IDC_HEIGHT, "10000", true},
        {"height above 10 m", CPageSizeDlg::IDC_HEIGHT, "10000.01", false},
        {"height of a kilometre", CPageSizeDlg::IDC_HEIGHT, "1000000", false},
        {"margins filling the width", CPageSizeDlg::IDC_LEFT, "205", false},
        {"margins just inside", CPageSizeDlg::IDC_LEFT, "204.99", true},
        {"negative margin", CPageSizeDlg::IDC_BOTTOM, "-1", false},
        {"not a number", CPageSizeDlg::IDC_WIDTH, "abc", false},
    };
    for (const Case& c : cases) {
        Settings().m_sizeDefaultPaper = CSize(21000, 29700);
        Settings().m_nDefaultMargin = {500, 500, 500, 500};
        auto sheet = Open(5);
        auto* page = PageOf<CSetDefaultPageSize>(*sheet);
        QLineEdit* edit = page->Edit(c.field);
        TypeInto(edit, QString::fromUtf8(c.text));
        driver.messages.clear();
        sheet->accept();
        EXPECT_EQ(sheet->isVisible(), !c.accepted) << c.name;
        EXPECT_EQ(driver.messages.size(), c.accepted ? 0u : 1u) << c.name;
        if (c.accepted) {
            EXPECT_NE(Settings().m_sizeDefaultPaper.cx + Settings().m_sizeDefaultPaper.cy
                          + Settings().m_nDefaultMargin[2] + Settings().m_nDefaultMargin[1],
                      21000 + 29700 + 500 + 500)
                << c.name;
        } else {
            EXPECT_EQ(Settings().m_sizeDefaultPaper, CSize(21000, 29700)) << c.name;
            EXPECT_EQ(Settings().m_nDefaultMargin[1], 500) << c.name;
            EXPECT_TRUE(HasFocus(edit)) << c.name;
        }
    }
}

TEST_F(SetupSheetTest, WithoutAPrinterTheStandardSizesAreOffered)
{
    if (!QPrinterInfo::defaultPrinter().isNull()) GTEST_SKIP() << "a printer is installed";
    auto sheet = Open(5);
    QComboBox* list = PageOf<CSetDefaultPageSize>(*sheet)->PaperList();
    QStringList names;
    for (int i = 0; i < list->count(); ++i) names << list->itemText(i);
    for (const char* paper : {"A3", "A4", "A5", "B4", "B5", "Letter", "Legal"}) {
        EXPECT_EQ(names.filter(QRegularExpression(QStringLiteral("^%1\\b").arg(QString::fromLatin1(paper)))).size(), 1)
            << paper;
    }
    EXPECT_EQ(names.back(), QStringLiteral("自定义纸张大小"));
    EXPECT_TRUE(list->currentText().startsWith(QStringLiteral("A4"))); // the default paper
}
