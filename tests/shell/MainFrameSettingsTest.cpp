// Damaged settings files through the main window, for "Vek.ini" and the
// backup interval: the window takes the default, the user is warned once
// the window is up, and the damaged file is kept beside itself.
#include "shell/CMainFrame.h"
#include "shell/CVEKApp.h"
#include "settings/CSystemSettings.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>

namespace {

QString Fixture(const char* name)
{
    return QStringLiteral(VEK_TESTDATA_DIR "/") + QString::fromLatin1(name);
}

QByteArray ReadAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void WriteAll(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

class MainFrameSettingsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(home.isValid());
        qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral("config")).toLocal8Bit());
        qputenv("XDG_DATA_HOME", home.filePath(QStringLiteral("data")).toLocal8Bit());
    }
    // The text of the warning the frame shows once it is up.
    static QString ShownWarning(CMainFrame& frame)
    {
        QApplication::processEvents();
        for (QMessageBox* box : frame.findChildren<QMessageBox*>())
            if (box->isVisible()) return box->text();
        return QString();
    }
    QTemporaryDir home;
};

} // namespace

// A window placement of the lowest and largest int in Vek.ini: the window
// takes the default placement, the user is told, and the file is kept.
TEST_F(MainFrameSettingsTest, DamagedWindowPlacementIsToldAndKept)
{
    const QByteArray damaged = ReadAll(Fixture("fuzz/WindowPos/window-int-min-int-max"));
    WriteAll(CVEKApp::ProfilePath(), damaged);
    CMainFrame frame;
    EXPECT_EQ(frame.geometry(), CMainFrame::DefaultPlacement());
    const QString shown = ShownWarning(frame);
    EXPECT_TRUE(shown.contains(QStringLiteral("“Vek.ini”"))) << qPrintable(shown);
    EXPECT_TRUE(shown.contains(QStringLiteral("“Vek.ini.damaged”"))) << qPrintable(shown);
    EXPECT_EQ(ReadAll(CVEKApp::ProfilePath() + QStringLiteral(".damaged")), damaged);
}

// A backup interval whose milliseconds overflow the timer: the default
// interval runs, and the warning names the kept copy.
TEST_F(MainFrameSettingsTest, OverlongBackupIntervalRunsTheDefault)
{
    WriteAll(CSystemSettings::ConfigFilePath(), ReadAll(Fixture("fuzz/Config/backup-interval-int-max")));
    CMainFrame frame;
    EXPECT_EQ(frame.BackupTimer()->interval(), 5 * CMainFrame::kMsPerMinute);
    EXPECT_TRUE(ShownWarning(frame).contains(QStringLiteral("“Config.dat.damaged”")));
    frame.close();
}
