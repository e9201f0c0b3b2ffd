// Damaged settings files: what is damaged takes its default, the user is
// warned, and the damaged file is kept beside itself ("Config.dat.damaged")
// before the first write over it; a file of which no copy can be made is
// not written over. Through the main window: tests/shell.
#include "settings/CSettingsFiles.h"
#include "settings/CSystemSettings.h"

#include "platform/CArchive.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <climits>
#include <functional>

#include <sys/stat.h>

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
