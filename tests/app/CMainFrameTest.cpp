#include "app/CMainFrame.h"
#include "app/CSystemSettings.h"
#include "app/CVEKApp.h"
#include "app/CVEKDoc.h"

#include "model/CPageSet.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QMessageBox>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>

namespace {

class MainFrameTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // Test programs run side by side: each test gets folders of its own.
        ASSERT_TRUE(home.isValid());
        qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral("config")).toLocal8Bit());
        qputenv("XDG_DATA_HOME", home.filePath(QStringLiteral("data")).toLocal8Bit());
        QFile::remove(CSystemSettings::ConfigFilePath());
        QFile::remove(CSystemSettings::LineTypeFilePath());
        QFile::remove(CVEKApp::ProfilePath());
    }
    QTemporaryDir home;
};

} // namespace

TEST_F(MainFrameTest, TitledWithTheApplicationNameAndShowsAPage)
{
    CMainFrame frame;
    EXPECT_EQ(frame.windowTitle(), QString::fromUtf8("\"Morvane\"服装工艺单软件V1.0"));
    ASSERT_TRUE(frame.NewDocument());
    ASSERT_NE(frame.centralWidget(), nullptr);

    frame.resize(800, 600);
    frame.show();
    QImage shot(frame.centralWidget()->size(), QImage::Format_RGB32);
    frame.centralWidget()->render(&shot);
    // Paper in the middle, the outside colour at the corner.
    const QPoint middle(shot.width() / 2, shot.height() / 2);
    EXPECT_EQ(shot.pixelColor(middle), QColor(Qt::white));
    EXPECT_NE(shot.pixelColor(1, 1), QColor(Qt::white));
}

TEST_F(MainFrameTest, SettingsFilesAreWrittenAtCloseAndReadAtCreation)
{
    {
        CMainFrame frame;
        Settings().m_nCaptureRadius = 23;
        frame.show();
        frame.close();
    }
    EXPECT_TRUE(QFile::exists(CSystemSettings::ConfigFilePath()));
    EXPECT_TRUE(QFile::exists(CSystemSettings::LineTypeFilePath()));
    Settings().m_nCaptureRadius = 1;
    CMainFrame again;
    EXPECT_EQ(Settings().m_nCaptureRadius, 23);
}

TEST_F(MainFrameTest, DamagedSettingsFileGivesDefaults)
{
    {
        QFile f(CSystemSettings::ConfigFilePath());
        QDir().mkpath(QFileInfo(f).absolutePath());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("\x65\x00\x00\x00\x03", 5);
    }
    Settings().m_nCaptureRadius = 1;
    CMainFrame frame;
    EXPECT_EQ(Settings().m_nCaptureRadius, 15);
}

TEST_F(MainFrameTest, IntervalBackupWritesOnItsTimer)
{
    QTemporaryDir dir;
    CMainFrame frame;
    frame.NewDocument();
    Settings().m_strBackupFile = dir.filePath(QStringLiteral("b.vek")).toStdString();
    Settings().m_bAutoBackup = 1;
    Settings().m_bBackupEveryStep = 1;
    frame.OnBackupTimer();
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("b.vek"))));
    Settings().m_bBackupEveryStep = 0;
    ASSERT_TRUE(frame.BackupTimer()->isActive());
    EXPECT_EQ(frame.BackupTimer()->interval(), 5 * 60000);
    frame.BackupTimer()->setInterval(5);
    QElapsedTimer waited;
    waited.start();
    while (!QFile::exists(dir.filePath(QStringLiteral("b.vek"))) && waited.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("b.vek"))));
}

TEST_F(MainFrameTest, DamagedFileIsRefusedWithTheMessageAndTheDocumentKept)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bad.vek"));
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("not a document");
    }
    CMainFrame frame;
    frame.NewDocument();
    const CPageSet* before = frame.GetDocument()->GetPageSet();
    QString shown;
    QTimer::singleShot(0, [&shown] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            shown = box->text();
            box->close();
        }
    });
    EXPECT_FALSE(frame.OpenDocumentFile(path));
    EXPECT_EQ(shown, QString::fromUtf8("非MorvaneVEK格式或者文件已经损坏。"));
    EXPECT_EQ(frame.GetDocument()->GetPageSet(), before);
}

TEST_F(MainFrameTest, AppKeepsFourRecentFilesNewestFirst)
{
    CVEKApp app;
    for (int i = 1; i <= 6; ++i) app.AddToRecentFileList(QStringLiteral("/tmp/f%1.vek").arg(i));
    app.AddToRecentFileList(QStringLiteral("/tmp/f4.vek"));
    const QStringList expected = {QStringLiteral("/tmp/f4.vek"), QStringLiteral("/tmp/f6.vek"),
                                  QStringLiteral("/tmp/f5.vek"), QStringLiteral("/tmp/f3.vek")};
    EXPECT_EQ(app.RecentFiles(), expected);
}

TEST_F(MainFrameTest, AppOpensTheFileNamedOnTheCommandLine)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("start.vek"));
    {
        CVEKDoc doc;
        doc.OnNewDocument();
        doc.GetPageSet()->SetPaperSize(11111, 22222);
        ASSERT_TRUE(doc.OnSaveDocument(path));
    }
    EXPECT_EQ(CVEKApp::FileFromArguments({QStringLiteral("vek"), QStringLiteral("-x"), path}), path);
    CVEKApp app;
    ASSERT_TRUE(app.InitInstance({QStringLiteral("vek"), path}));
    EXPECT_EQ(app.MainFrame()->GetDocument()->GetPageSet()->GetPaperSize(), CSize(11111, 22222));
    EXPECT_EQ(app.MainFrame()->windowTitle(), QString::fromUtf8("\"Morvane\"服装工艺单软件V1.0"));
    EXPECT_EQ(app.RecentFiles().value(0), path);
    app.ExitInstance();
}
