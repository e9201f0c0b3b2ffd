// Damaged settings files: what is damaged takes its default, the user is
// warned, and the damaged file is kept beside itself ("Config.dat.damaged")
// before the first write over it; a file of which no copy can be made is
// not written over. Also through the main window, for "Vek.ini".
#include "app/CMainFrame.h"
#include "app/CSettingsFiles.h"
#include "app/CSystemSettings.h"
#include "app/CVEKApp.h"

#include "platform/CArchive.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>

#include <atomic>
#include <chrono>
#include <climits>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

class SettingsFilesTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    QString Path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }

    QTemporaryDir dir;
    CSettingsFiles files{Path("Config.dat"), Path("LineType.dat")};
    CSystemSettings settings;
};

} // namespace

// Config.dat files sound but for a field or two that would break the
// program: those take their defaults, the rest is read, and the warning
// names the fields and the copy kept of the file.
TEST_F(SettingsFilesTest, DamagedFieldsTakeTheirDefaultsAndTheFileIsKept)
{
    CSystemSettings defaults;
    defaults.SetDefaults();
    const struct {
        const char* file;
        const char* fields;
        std::function<bool(const CSystemSettings&)> repaired;
    } cases[] = {
        {"fuzz/Config/font-height-int-min", "缺省字体",
         [&](const CSystemSettings& s) { return s.m_lfDefaultFont == defaults.m_lfDefaultFont; }},
        {"fuzz/Config/backup-interval-int-max", "备份间隙",
         [](const CSystemSettings& s) { return s.m_nBackupMinutes == 5; }},
        {"fuzz/Config/margin-int-min-precision-0", "显示精度、缺省页面",
         [](const CSystemSettings& s) {
             return s.m_nPrecision == 100 && s.m_nDefaultMargin[1] == 500 && s.m_sizeDefaultPaper == CSize(21000, 29700);
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const QByteArray damaged = ReadAll(Fixture(c.file));
        ASSERT_FALSE(damaged.isEmpty());
        WriteAll(Path("Config.dat"), damaged);
        QFile::remove(Path("Config.dat.damaged"));

        const QStringList warnings = files.Load(settings);
        EXPECT_TRUE(c.repaired(settings));
        EXPECT_EQ(settings.m_nCaptureRadius, 23);  // read from the file
        ASSERT_EQ(warnings.size(), 1);
        EXPECT_TRUE(warnings[0].contains(QStringLiteral("“Config.dat”")));
        EXPECT_TRUE(warnings[0].contains(QString::fromUtf8(c.fields))) << qPrintable(warnings[0]);
        EXPECT_TRUE(warnings[0].contains(QStringLiteral("“Config.dat.damaged”")));
        EXPECT_EQ(ReadAll(Path("Config.dat.damaged")), damaged);

        // Written back sound; the kept copy stays as it was.
        ASSERT_TRUE(files.Save(settings));
        CSettingsFiles again(Path("Config.dat"), Path("LineType.dat"));
        CSystemSettings reread;
        EXPECT_TRUE(again.Load(reread).isEmpty());
        EXPECT_EQ(ReadAll(Path("Config.dat.damaged")), damaged);
    }
}

// Files that cannot be read whole give every default. The same damage met
// again reuses its copy; other damage gets a copy of its own.
TEST_F(SettingsFilesTest, UnreadableFilesAreKeptOnceEach)
{
    const QByteArray truncated = ReadAll(Fixture("fuzz/Config/font-height-int-min")).left(40);
    const QByteArray badLineType = ReadAll(Fixture("fuzz/LineType/custom-point-at-int-min"));
    WriteAll(Path("Config.dat"), truncated);
    WriteAll(Path("LineType.dat"), badLineType);

    QStringList warnings = files.Load(settings);
    EXPECT_EQ(settings.m_nCaptureRadius, 15);
    EXPECT_EQ(settings.m_aLineTypes.size(), 9u);
    ASSERT_EQ(warnings.size(), 2);
    EXPECT_TRUE(warnings[0].contains(QStringLiteral("“Config.dat.damaged”")));
    EXPECT_TRUE(warnings[1].contains(QStringLiteral("“LineType.dat.damaged”")));
    EXPECT_EQ(ReadAll(Path("LineType.dat.damaged")), badLineType);

    // A later start finds the same damage: nothing new beside it.
    CSettingsFiles later(Path("Config.dat"), Path("LineType.dat"));
    later.Load(settings);
    EXPECT_FALSE(QFile::exists(Path("Config.dat.damaged.2")));
    // Other damage in its place keeps the first copy and adds a second.
    WriteAll(Path("Config.dat"), truncated.left(20));
    CSettingsFiles other(Path("Config.dat"), Path("LineType.dat"));
    warnings = other.Load(settings);
    EXPECT_TRUE(warnings.value(0).contains(QStringLiteral("“Config.dat.damaged.2”")));
    EXPECT_EQ(ReadAll(Path("Config.dat.damaged")), truncated);
    EXPECT_EQ(ReadAll(Path("Config.dat.damaged.2")), truncated.left(20));
}

// A named pipe in the place of Config.dat: read without waiting for a
// writer (the test's time bound fails a wait), not copied, and so never
// written over; the other file is written as usual.
TEST_F(SettingsFilesTest, APipeInTheFilesPlaceIsNeitherReadNorReplaced)
{
    ASSERT_EQ(::mkfifo(QFile::encodeName(Path("Config.dat")).constData(), 0600), 0);
    const QStringList warnings = files.Load(settings);
    ASSERT_EQ(warnings.size(), 1);
    EXPECT_TRUE(warnings[0].contains(QStringLiteral("“Config.dat”")));
    EXPECT_FALSE(warnings[0].contains(QStringLiteral(".damaged")));
    files.Save(settings);
    struct stat info {};
    ASSERT_EQ(::stat(QFile::encodeName(Path("Config.dat")).constData(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
    EXPECT_TRUE(QFile::exists(Path("LineType.dat")));
}

namespace {

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
