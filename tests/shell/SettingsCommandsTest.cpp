#include "../ui/ModalDriver.h"

#include "shell/CMainFrame.h"
#include "app/CRulerBar.h"
#include "settings/CSystemSettings.h"
#include "shell/CVEKApp.h"

#include "ui/CAutoSaveIntervalPage.h"
#include "ui/CColorListBox.h"
#include "ui/CSetCaptureSensitivityPage.h"
#include "ui/CSetWorkUnitPage.h"
#include "ui/CSystemColorsDlg.h"
#include "ui/CSystemSetupSheet.h"

#include "platform/CodePage.h"
#include "res/CommandIds.h"

#include "tests/shell/ProgramHomeTest.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>

#include <cmath>
#include <cstring>

namespace {

class SettingsCommandsTest : public ProgramHomeTest {
protected:
    void SetUp() override
    {
        ProgramHomeTest::SetUp();
        qputenv("HOME", home.path().toLocal8Bit());
    }

    static QByteArray ReadFile(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    ModalDriver driver;
};

// Little-endian fields of the "Config.dat" record.
std::string I(std::int32_t v)
{
    std::string s(4, '\0');
    for (int i = 0; i < 4; ++i) s[i] = char((std::uint32_t(v) >> (8 * i)) & 0xFF);
    return s;
}
std::string B(std::uint8_t v) { return std::string(1, char(v)); }
std::string S(const QString& text)
{
    const std::string gbk = QStringToGbk(text);
    return B(std::uint8_t(gbk.size())) + gbk;
}
std::string D(double v)
{
    std::uint64_t u;
    std::memcpy(&u, &v, 8);
    std::string out(8, '\0');
    for (int i = 0; i < 8; ++i) out[i] = char((u >> (8 * i)) & 0xFF);
    return out;
}

void TypeInto(QLineEdit* edit, const QString& text)
{
    edit->selectAll();
    edit->insert(text);
}

} // namespace

TEST_F(SettingsCommandsTest, BothOptionDialogsAreOnTheMenu)
{
    CMainFrame frame;
    for (int id : {ID_SYSTEM_SETTINGS, ID_SYSTEM_COLORS}) {
        QAction* action = frame.CommandAction(id);
        ASSERT_NE(action, nullptr) << id;
        frame.UpdateCommandUI();
        EXPECT_TRUE(action->isEnabled()) << id;
    }
    EXPECT_EQ(frame.CommandAction(ID_SYSTEM_SETTINGS)->text(), QStringLiteral("系统设置"));
    EXPECT_EQ(frame.CommandAction(ID_SYSTEM_COLORS)->text(), QStringLiteral("设置系统颜色"));
}

TEST_F(SettingsCommandsTest, SheetOkAppliesAtOnceAndWritesConfigDatByteForByte)
{
    CMainFrame frame;
    frame.resize(900, 700);
    frame.show();
    auto* ruler = static_cast<CRulerBar*>(frame.GetHorizontalRuler());
    // A zoom where a screen centimetre shows about a centimetre (without a
    // document the view stands zoomed in far, where labels fall on parts
    // of the unit).
    ruler->SetPixelsPerCm(37.795);
    ruler->SetScale(26.4583, 0);
    double major = 0, minor = 0;
    ruler->GetSteps(major, minor);
    EXPECT_EQ(std::fmod(major, 1000.0), 0.0); // whole centimetres
    ASSERT_EQ(frame.BackupTimer()->interval(), 5 * 60000);

    const QString backup = home.filePath(QStringLiteral("mine.qpn"));
    driver.Then([&backup](QWidget* w) {
        auto* sheet = qobject_cast<CSystemSetupSheet*>(w);
        ASSERT_NE(sheet, nullptr);
        EXPECT_EQ(sheet->windowTitle(), QStringLiteral("系统设置"));
        EXPECT_EQ(sheet->GetActiveIndex(), 0);
        auto* units = sheet->FindPage<CSetWorkUnitPage>();
        units->Control<QRadioButton>(CSetWorkUnitPage::IDC_INCH)->click(); // decimal inches, 0.01
        sheet->SetActivePage(1);
        TypeInto(sheet->FindPage<CSetCaptureSensitivityPage>()->Control<QLineEdit>(
                     CSetCaptureSensitivityPage::IDC_RADIUS),
                 QStringLiteral("30"));
        sheet->SetActivePage(2);
        auto* backupPage = sheet->FindPage<CAutoSaveIntervalPage>();
        backupPage->Control<QRadioButton>(CAutoSaveIntervalPage::IDC_INTERVAL_MODE)->click();
        TypeInto(backupPage->Control<QLineEdit>(CAutoSaveIntervalPage::IDC_MINUTES), QStringLiteral("7"));
        TypeInto(backupPage->Control<QLineEdit>(CAutoSaveIntervalPage::IDC_FILE), backup);
        sheet->accept();
    });
    frame.CommandAction(ID_SYSTEM_SETTINGS)->trigger();
    ASSERT_TRUE(driver.Idle());
    EXPECT_EQ(driver.unexpected, 0);

    // At once: the backup timer, the rulers, the capture radius.
    EXPECT_EQ(frame.BackupTimer()->interval(), 7 * 60000);
    EXPECT_TRUE(frame.BackupTimer()->isActive());
    ruler->GetSteps(major, minor);
    EXPECT_NEAR(std::fmod(major, 2540.0), 0.0, 1e-6); // whole inches
    EXPECT_EQ(Settings().m_nCaptureRadius, 30);

    const QString documents =
        QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)).filePath(QStringLiteral("*.vek"));
    const QString library =
        QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)).filePath(QStringLiteral("*.vkl"));
    std::string expected = I(101) + I(1) + I(100);
    expected += I(318) + I(0) + I(0) + I(0) + I(400);
    expected += B(0) + B(0) + B(0) + B(134) + B(0) + B(0) + B(1) + B(0) + B(4) + "\xCB\xCE\xCC\xE5";
    expected += I(30) + I(0x000000) + I(0xFFFFFF) + I(0x0000FF) + I(0xFF0000) + I(0) + I(0x0000FF) + I(0xFFFFFF)
        + I(0x808080) + I(0xF0F0F0) + I(2) + I(5) + I(1);
    expected += I(0) + I(0) + I(1) + I(7) + S(backup) + I(0) + S(documents) + S(library);
    expected += D(0) + D(0) + D(0) + D(0) + I(0) + S(QString());
    expected += I(0) + I(0) + D(53.0) + D(53.0) + I(600) + I(600) + I(21000) + I(29700);
    expected += I(500) + I(500) + I(500) + I(500) + I(1) + I(0x000000) + I(0xFFFFFF) + I(1) + I(100) + I(35) + I(25)
        + I(0x000000) + I(0xFFFFFF) + I(6) + I(10) + I(700) + I(3000) + I(1) + I(0) + I(50) + I(50) + I(50) + I(50)
        + I(4);
    expected += I(0x000000) + I(0xFFFFFF) + I(0) + I(1);
    const QByteArray written = ReadFile(CSystemSettings::ConfigFilePath());
    EXPECT_EQ(std::string(written.constData(), std::size_t(written.size())), expected);
}

TEST_F(SettingsCommandsTest, CancelledSheetChangesNothing)
{
    CMainFrame frame;
    driver.Then([](QWidget* w) {
        auto* sheet = qobject_cast<CSystemSetupSheet*>(w);
        ASSERT_NE(sheet, nullptr);
        sheet->FindPage<CSetWorkUnitPage>()->Control<QRadioButton>(CSetWorkUnitPage::IDC_MM)->click();
        sheet->reject();
    });
    frame.CommandAction(ID_SYSTEM_SETTINGS)->trigger();
    EXPECT_EQ(Settings().m_nWorkUnit, 2);
    EXPECT_FALSE(QFile::exists(CSystemSettings::ConfigFilePath()));
}

TEST_F(SettingsCommandsTest, SystemColoursFromTheMenuRepaintThePaper)
{
    CMainFrame frame;
    ASSERT_TRUE(frame.NewDocument());
    frame.resize(800, 600);
    frame.show();
    driver.Then([](QWidget* w) {
        auto* dlg = qobject_cast<CSystemColorsDlg*>(w);
        ASSERT_NE(dlg, nullptr);
        dlg->SampleList()->setCurrentRow(3); // paper
        dlg->Palette()->setCurrentRow(13); // light green 80FF80
        dlg->accept();
    });
    frame.CommandAction(ID_SYSTEM_COLORS)->trigger();
    EXPECT_EQ(Settings().m_crPaperColor, RGB(0x80, 0xFF, 0x80));
    QImage shot(frame.centralWidget()->size(), QImage::Format_RGB32);
    frame.centralWidget()->render(&shot);
    EXPECT_EQ(shot.pixelColor(shot.width() / 2, shot.height() / 2), QColor(0x80, 0xFF, 0x80));
}

// The page shown before the dialog must not stay in its old colours: the
// view keeps the painted page until something drops it.
TEST_F(SettingsCommandsTest, SystemColoursRepaintAPageThatWasAlreadyShown)
{
    CMainFrame frame;
    ASSERT_TRUE(frame.NewDocument());
    frame.resize(800, 600);
    frame.show();
    QWidget* view = frame.centralWidget();
    QImage before(view->size(), QImage::Format_RGB32);
    view->render(&before);
    ASSERT_EQ(before.pixelColor(before.width() / 2, before.height() / 2), QColor(Qt::white));

    driver.Then([](QWidget* w) {
        auto* dlg = qobject_cast<CSystemColorsDlg*>(w);
        ASSERT_NE(dlg, nullptr);
        dlg->SampleList()->setCurrentRow(3); // paper
        dlg->Palette()->setCurrentRow(13); // light green 80FF80
        dlg->accept();
    });
    frame.CommandAction(ID_SYSTEM_COLORS)->trigger();
    QImage after(view->size(), QImage::Format_RGB32);
    view->render(&after);
    EXPECT_EQ(after.pixelColor(after.width() / 2, after.height() / 2), QColor(0x80, 0xFF, 0x80));
}

// An interval whose milliseconds no int holds is damage: it takes the
// default of 5 minutes (with the damaged-settings warning).
TEST_F(SettingsCommandsTest, AHandEditedHugeBackupIntervalIsHeldToADay)
{
    const struct {
        int minutes;
        int expected;
    } cases[] = {{0, 1}, {-3, 1}, {10000, 1440}, {35791, 1440}, {35792, 5}, {1000000, 5}};
    for (const auto& c : cases) {
        CSystemSettings s;
        s.SetDefaults();
        s.m_nBackupMinutes = c.minutes;
        ASSERT_TRUE(s.SaveConfigFile(CSystemSettings::ConfigFilePath()));
        CMainFrame frame;
        EXPECT_EQ(frame.BackupTimer()->interval(), c.expected * 60000) << c.minutes;
        EXPECT_GT(frame.BackupTimer()->interval(), 0) << c.minutes;
    }
}

TEST_F(SettingsCommandsTest, AMissingArchiveFolderDoesNotHoldSavingBack)
{
    Settings().SetDefaults();
    Settings().m_bArchiveOnly = 1;
    Settings().m_strArchiveFolder = QStringToGbk(home.filePath(QStringLiteral("gone")));
    EXPECT_FALSE(CMainFrame::ArchiveFolderRules());
    Settings().m_strArchiveFolder = QStringToGbk(home.path());
    EXPECT_TRUE(CMainFrame::ArchiveFolderRules());
    Settings().m_bArchiveOnly = 0;
    EXPECT_FALSE(CMainFrame::ArchiveFolderRules());
}
