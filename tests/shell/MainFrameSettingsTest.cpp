// Damaged settings files through the main window, for "Vek.ini" (its window
// placement, its syntax and its bar layout) and the backup interval: the
// window takes the default, the user is warned once the window is up, and
// the damaged file is kept beside itself.
#include "shell/CMainFrame.h"
#include "shell/CVEKApp.h"
#include "settings/CSystemSettings.h"
#include "ui/CLineTypeCombo.h"
#include "tests/settings/SettingsFileSupport.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <random>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using settings_test::Fixture;
using settings_test::ReadAll;
using settings_test::WriteAll;

// Once the time is up and Stop has not been called, opens the pipe for
// writing again and again: a reader waiting on the pipe is let go, reading
// nothing, so a program that waits fails the test instead of holding it up.
class PipeWatchdog {
public:
    PipeWatchdog(const QString& pipe, std::chrono::seconds patience)
        : m_pipe(QFile::encodeName(pipe)), m_thread([this, patience] { Watch(patience); })
    {
    }
    ~PipeWatchdog() { Stop(); }
    void Stop()
    {
        {
            const std::lock_guard<std::mutex> lock(m_mutex);
            m_stopped = true;
        }
        m_wake.notify_all();
        if (m_thread.joinable()) m_thread.join();
    }
    bool Fired() const { return m_fired; }

private:
    void Watch(std::chrono::seconds patience)
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        if (m_wake.wait_for(lock, patience, [this] { return m_stopped; })) return;
        m_fired = true;
        while (!m_wake.wait_for(lock, std::chrono::milliseconds(50), [this] { return m_stopped; })) {
            const int fd = ::open(m_pipe.constData(), O_WRONLY | O_NONBLOCK);
            if (fd >= 0) ::close(fd);
        }
    }

    QByteArray m_pipe;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_stopped = false;
    std::atomic<bool> m_fired{false};
    std::thread m_thread;
};

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

// The window's own bar layout (the design bar hidden) with its first
// tool-bar line claiming 2^31-1 bars, which Qt would read one by one past
// the end of the bytes at every start: the window keeps its placement, the
// bars take their default layout, the user is told and the file is kept.
TEST_F(MainFrameSettingsTest, ABarLineOfTwoBillionBarsIsToldAndKept)
{
    const QByteArray damaged = ReadAll(Fixture("fuzz/WindowPos/bar-line-of-int-max-bars"));
    ASSERT_TRUE(damaged.contains("BarState="));
    WriteAll(CVEKApp::ProfilePath(), damaged);
    CMainFrame frame;
    EXPECT_EQ(frame.geometry(), QRect(100, 120, 900, 700));
    EXPECT_FALSE(frame.GetDesignBar()->isHidden());
    EXPECT_EQ(frame.toolBarArea(frame.GetDesignBar()), Qt::LeftToolBarArea);
    EXPECT_EQ(frame.toolBarArea(frame.GetMainToolBar()), Qt::TopToolBarArea);
    const QString shown = ShownWarning(frame);
    EXPECT_TRUE(shown.contains(QStringLiteral("“Vek.ini”"))) << qPrintable(shown);
    EXPECT_TRUE(shown.contains(QStringLiteral("“Vek.ini.damaged”"))) << qPrintable(shown);
    EXPECT_EQ(ReadAll(CVEKApp::ProfilePath() + QStringLiteral(".damaged")), damaged);
}

// A display copy in LineType.dat that one flipped bit moved half a billion
// units out (the line-type box would draw it for ever): the window comes up
// with the built-in line types, the user is told, and the file is kept.
TEST_F(MainFrameSettingsTest, ADisplayCopyFarOutIsToldAndKept)
{
    const QByteArray damaged = ReadAll(Fixture("fuzz/LineType/preview-point-one-bit-far-out"));
    ASSERT_FALSE(damaged.isEmpty());
    WriteAll(CSystemSettings::LineTypeFilePath(), damaged);
    CMainFrame frame;
    frame.show();
    const QString shown = ShownWarning(frame);
    EXPECT_TRUE(shown.contains(QStringLiteral("“LineType.dat”"))) << qPrintable(shown);
    EXPECT_TRUE(shown.contains(QStringLiteral("“LineType.dat.damaged”"))) << qPrintable(shown);
    EXPECT_EQ(ReadAll(CSystemSettings::LineTypeFilePath() + QStringLiteral(".damaged")), damaged);
    const auto* combo = frame.findChild<CLineTypeCombo*>();
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->count(), 9);
    frame.close();
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

// Vek.ini damaged beyond its window placement: random bytes, a file cut
// within a line, a line that is neither a section nor an entry, a bar
// layout the bars do not take. The user is told, the file is kept, the
// window takes the default placement (and bars); at close a sound profile
// is written, which the next start reads without a word.
TEST_F(MainFrameSettingsTest, DamagedProfileIsToldAndKept)
{
    const QString profile = CVEKApp::ProfilePath();
    const QString copy = profile + QStringLiteral(".damaged");
    const QRect placed(100, 120, 900, 700);
    {
        CMainFrame frame;
        frame.setGeometry(placed);
        frame.GetDesignBar()->hide();
        frame.show();
        frame.close();
    }
    const QByteArray sound = ReadAll(profile);
    ASSERT_TRUE(sound.contains("BarState"));
    {
        CMainFrame frame;
        EXPECT_TRUE(frame.StartWarnings().isEmpty()) << qPrintable(frame.StartWarnings().join(QLatin1Char('\n')));
        EXPECT_EQ(frame.geometry(), placed);
        EXPECT_TRUE(frame.GetDesignBar()->isHidden());
    }

    std::mt19937 random(6);
    QByteArray noise;
    for (int i = 0; i < 400; ++i) noise.append(char(random()));
    QByteArray brokenBars = sound;
    const qsizetype bars = brokenBars.indexOf("BarState=");
    brokenBars.replace(bars, brokenBars.indexOf('\n', bars) - bars, "BarState=@ByteArray(not a layout)");
    // The settings reader would read on across the following lines.
    QByteArray quoteInBars = sound;
    quoteInBars[quoteInBars.indexOf("@ByteArray(", bars) + 11] = '"';
    const QByteArray backslashEnd =
        sound + "[Recent File List]\nFile1=/home/u/a\\\nFile2=/home/u/b.vek\n";
    const struct {
        const char* name;
        QByteArray bytes;
        bool placementKept;
    } cases[] = {
        {"random bytes", noise, false},
        {"cut within a line", sound.left(sound.indexOf("BarState=") + 20), false},
        {"a section without its bracket", QByteArray(sound).replace("[Settings]", "[Settings"), false},
        {"a bar layout the bars do not take", brokenBars, true},
        {"a quote in the bar layout", quoteInBars, false},
        {"a recent file ending in a backslash", backslashEnd, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WriteAll(profile, c.bytes);
        QFile::remove(copy);
        {
            CMainFrame frame;
            const QString warnings = frame.StartWarnings().join(QLatin1Char('\n'));
            EXPECT_TRUE(warnings.contains(QStringLiteral("“Vek.ini”"))) << qPrintable(warnings);
            EXPECT_TRUE(warnings.contains(QStringLiteral("“Vek.ini.damaged”"))) << qPrintable(warnings);
            EXPECT_EQ(ReadAll(copy), c.bytes);
            EXPECT_EQ(frame.geometry(), c.placementKept ? placed : CMainFrame::DefaultPlacement());
            EXPECT_FALSE(frame.GetDesignBar()->isHidden());
            frame.show();
            frame.close();
        }
        CMainFrame again;
        EXPECT_TRUE(again.StartWarnings().isEmpty()) << qPrintable(again.StartWarnings().join(QLatin1Char('\n')));
        EXPECT_EQ(ReadAll(copy), c.bytes);
    }
}

// A profile as the Windows program writes it starts without a word, and so
// does one an editor saved with a byte-order mark or without its last line
// break.
TEST_F(MainFrameSettingsTest, WindowsProfileStartsWithoutAWarning)
{
    const QByteArray windows = "[Settings]\r\nWindowPos=0,1,-1,-1,-1,-1,50,60,850,660\r\n"
                               "[Recent File List]\r\nFile1=C:\\\xB9\xA4\xD2\xD5\xB5\xA5\\a.vek\r\n"
                               "[General-Summary]\r\nBars=1\r\nScreenCX=1280\r\nScreenCY=1024\r\n"
                               "[General-Bar0]\r\nBarID=59392\r\nVisible=1\r\n";
    // The window placement on the last line, which ends without a break.
    const qsizetype recent = windows.indexOf("[Recent");
    const QByteArray placementLast = windows.mid(recent) + windows.left(recent).chopped(2);
    const struct {
        const char* name;
        QByteArray bytes;
    } cases[] = {
        {"as written", windows},
        {"with a byte-order mark", "\xEF\xBB\xBF" + windows},
        {"without the last line break", placementLast},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WriteAll(CVEKApp::ProfilePath(), c.bytes);
        CMainFrame frame;
        EXPECT_TRUE(frame.StartWarnings().isEmpty()) << qPrintable(frame.StartWarnings().join(QLatin1Char('\n')));
        EXPECT_EQ(frame.geometry(), QRect(50, 60, 800, 600));
        EXPECT_FALSE(QFile::exists(CVEKApp::ProfilePath() + QStringLiteral(".damaged")));
    }
}

// Recent files whose paths hold a quote or end in a backslash are written
// so that the next start reads them back as they were, without a word.
TEST_F(MainFrameSettingsTest, RecentFilesWithQuotesAndBackslashesComeBack)
{
    const QStringList paths = {QStringLiteral("/home/u/ends in\\"), QStringLiteral("/home/u/one \" quote.vek"),
                               QStringLiteral("/home/u/\"both\"\\")};
    {
        CVEKApp app;
        for (const QString& path : paths) app.AddToRecentFileList(path);
    }
    CMainFrame frame;
    EXPECT_TRUE(frame.StartWarnings().isEmpty()) << qPrintable(frame.StartWarnings().join(QLatin1Char('\n')));
    const CVEKApp app;
    EXPECT_EQ(app.RecentFiles(), (QStringList{paths[2], paths[1], paths[0]}));
}

// Recent files whose paths hold any character up to U+00FF (the control
// characters and DEL too) and Chinese ones: the profile the program wrote
// with them, its window placement and its bar layout, the next start reads
// back as it was, without a word.
TEST_F(MainFrameSettingsTest, RecentFilesOfAnyCharacterComeBack)
{
    QString every;
    for (char16_t c = 1; c <= 0xFF; ++c) every += QChar(c);
    // As many paths as the list holds, each with a quarter of the characters.
    QStringList paths;
    for (int i = 0; i < CVEKApp::kRecentFileCount; ++i)
        paths.prepend(QStringLiteral("/home/u/工艺单 %1").arg(i) + every.mid(i * 64, 64) + QStringLiteral("款式.vek"));
    {
        CVEKApp app;
        for (auto path = paths.crbegin(); path != paths.crend(); ++path) app.AddToRecentFileList(*path);
    }
    const QRect placed(100, 120, 900, 700);
    {
        CMainFrame frame;
        EXPECT_TRUE(frame.StartWarnings().isEmpty()) << qPrintable(frame.StartWarnings().join(QLatin1Char('\n')));
        frame.setGeometry(placed);
        frame.GetDesignBar()->hide();
        frame.show();
        frame.close();
    }
    ASSERT_TRUE(ReadAll(CVEKApp::ProfilePath()).contains('\x7F'));
    CMainFrame frame;
    EXPECT_TRUE(frame.StartWarnings().isEmpty()) << qPrintable(frame.StartWarnings().join(QLatin1Char('\n')));
    EXPECT_EQ(frame.geometry(), placed);
    EXPECT_TRUE(frame.GetDesignBar()->isHidden());
    EXPECT_FALSE(QFile::exists(CVEKApp::ProfilePath() + QStringLiteral(".damaged")));
    const CVEKApp app;
    EXPECT_EQ(app.RecentFiles(), paths);
}

// A named pipe in the place of Vek.ini: the start does not wait on it,
// the window takes its default placement, the user is told, and nothing
// is written over the pipe at close.
TEST_F(MainFrameSettingsTest, APipeInPlaceOfTheProfileIsNotWaitedOn)
{
    const QString profile = CVEKApp::ProfilePath();
    QDir().mkpath(QFileInfo(profile).absolutePath());
    ASSERT_EQ(::mkfifo(QFile::encodeName(profile).constData(), 0600), 0);
    PipeWatchdog watchdog(profile, std::chrono::seconds(10));
    {
        CMainFrame frame;
        EXPECT_EQ(frame.geometry(), CMainFrame::DefaultPlacement());
        const QString shown = ShownWarning(frame);
        EXPECT_TRUE(shown.contains(QStringLiteral("“Vek.ini”"))) << qPrintable(shown);
        EXPECT_FALSE(shown.contains(QStringLiteral(".damaged"))) << qPrintable(shown);
        frame.show();
        frame.close();
    }
    watchdog.Stop();
    EXPECT_FALSE(watchdog.Fired()) << "the start waited on the pipe";
    struct stat info {};
    ASSERT_EQ(::stat(QFile::encodeName(profile).constData(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
    EXPECT_EQ(QDir(QFileInfo(profile).absolutePath()).entryList(QStringList{QStringLiteral("Vek.ini*")},
                                                                  QDir::AllEntries | QDir::System | QDir::Hidden),
              QStringList{QStringLiteral("Vek.ini")});
}
