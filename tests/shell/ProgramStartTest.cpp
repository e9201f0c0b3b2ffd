// The program itself, started on a damaged settings file: its window comes
// up at once and the user is warned, where a freeze would keep the window
// from ever appearing.
#include "tests/settings/SettingsFileSupport.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QList>
#include <QPair>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <ostream>
#include <string>
#include <vector>

namespace {

using settings_test::Fixture;
using settings_test::ReadAll;
using settings_test::WriteAll;

// How long a start may take, quitting included, before the user takes it
// for frozen. The sanitizers make every start several times slower (about
// two seconds on a busy machine), a freeze no less endless.
#if defined(__SANITIZE_ADDRESS__)
constexpr int kPatienceMs = 15000;
#else
constexpr int kPatienceMs = 3000;
#endif

// The program's settings folder under a home of the test's.
QString SettingsFolder(const QTemporaryDir& home)
{
    return home.filePath(QStringLiteral("config/Morvane/vek"));
}

// Starts the program with its settings folder holding `files` (name and
// bytes), until it quits by itself (VEK_QUIT_AFTER_MS) or the patience is
// up; true when it quit in time.
bool StartsInTime(const QTemporaryDir& home, const QList<QPair<QString, QByteArray>>& files, QProcess& vek)
{
    EXPECT_TRUE(home.isValid());
    const QString folder = SettingsFolder(home);
    for (const auto& [name, bytes] : files) WriteAll(folder + QLatin1Char('/') + name, bytes);

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), home.filePath(QStringLiteral("data")));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("VEK_QUIT_AFTER_MS"), QStringLiteral("0"));
    vek.setProcessEnvironment(environment);
    vek.start(QStringLiteral(VEK_PROGRAM), QStringList());
    EXPECT_TRUE(vek.waitForStarted());
    const bool quit = vek.waitForFinished(kPatienceMs);
    if (!quit) {
        vek.kill();
        vek.waitForFinished();
    }
    return quit;
}

// A damaged settings file kept from fuzzing, and the name the program
// reads it by.
struct KeptFile {
    QString path;
    QString name;
};

void PrintTo(const KeptFile& file, std::ostream* out)
{
    *out << qPrintable(file.path) << " as " << qPrintable(file.name);
}

// Every damaged profile and line-type file kept under tests/data/fuzz, as
// the folders hold them when the tests run.
std::vector<KeptFile> KeptDamagedSettings()
{
    std::vector<KeptFile> files;
    const struct {
        const char* folder;
        const char* name;
    } kinds[] = {{"fuzz/WindowPos", "Vek.ini"}, {"fuzz/LineType", "LineType.dat"}};
    for (const auto& kind : kinds) {
        const QDir dir(Fixture(kind.folder));
        for (const QString& file : dir.entryList(QDir::Files, QDir::Name))
            files.push_back({dir.filePath(file), QString::fromLatin1(kind.name)});
    }
    return files;
}

std::string KeptFileTestName(const testing::TestParamInfo<KeptFile>& info)
{
    QString name = info.param.name.section(QLatin1Char('.'), 0, 0) + QLatin1Char('_') +
                   QFileInfo(info.param.path).fileName();
    for (QChar& c : name)
        if (!c.isLetterOrNumber()) c = QLatin1Char('_');
    return name.toStdString();
}

class ProgramStartOnKeptFile : public testing::TestWithParam<KeptFile> {};

} // namespace

// A display copy with one flipped bit in LineType.dat: the program shows
// its window and quits by itself (VEK_QUIT_AFTER_MS) well within the time,
// says which file was damaged and keeps a copy of it.
TEST(ProgramStart, ADamagedLineTypeFileShowsTheWindowAndWarns)
{
    const QByteArray damaged = ReadAll(Fixture("fuzz/LineType/preview-point-one-bit-far-out"));
    ASSERT_FALSE(damaged.isEmpty());
    QTemporaryDir home;
    QProcess vek;
    const bool quit = StartsInTime(home, {{QStringLiteral("LineType.dat"), damaged}}, vek);
    ASSERT_TRUE(quit) << "no window within " << kPatienceMs << " ms";
    EXPECT_EQ(vek.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(vek.exitCode(), 0);
    const QString told = QString::fromLocal8Bit(vek.readAllStandardError());
    EXPECT_TRUE(told.contains(QStringLiteral("“LineType.dat”"))) << qPrintable(told);
    EXPECT_TRUE(told.contains(QStringLiteral("“LineType.dat.damaged”"))) << qPrintable(told);
    EXPECT_EQ(ReadAll(SettingsFolder(home) + QStringLiteral("/LineType.dat.damaged")), damaged);
}

// Every damaged settings file kept from fuzzing, profile or line types:
// the program shows its window and quits by itself within the time.
TEST_P(ProgramStartOnKeptFile, ShowsTheWindowInTime)
{
    const QByteArray bytes = ReadAll(GetParam().path);
    QTemporaryDir home;
    QProcess vek;
    ASSERT_TRUE(StartsInTime(home, {{GetParam().name, bytes}}, vek)) << "no window within " << kPatienceMs << " ms";
    EXPECT_EQ(vek.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(vek.exitCode(), 0);
}

INSTANTIATE_TEST_SUITE_P(Kept, ProgramStartOnKeptFile, testing::ValuesIn(KeptDamagedSettings()), KeptFileTestName);
