// The program itself, started on a damaged settings file: its window comes
// up at once and the user is warned, where a freeze would keep the window
// from ever appearing.
#include "tests/settings/SettingsFileSupport.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

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

} // namespace

// A display copy with one flipped bit in LineType.dat: the program shows
// its window and quits by itself (VEK_QUIT_AFTER_MS) well within the time,
// says which file was damaged and keeps a copy of it.
TEST(ProgramStart, ADamagedLineTypeFileShowsTheWindowAndWarns)
{
    QTemporaryDir home;
    ASSERT_TRUE(home.isValid());
    const QString folder = home.filePath(QStringLiteral("config/Morvane/vek"));
    const QByteArray damaged = ReadAll(Fixture("fuzz/LineType/preview-point-one-bit-far-out"));
    ASSERT_FALSE(damaged.isEmpty());
    WriteAll(folder + QStringLiteral("/LineType.dat"), damaged);

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), home.filePath(QStringLiteral("data")));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("VEK_QUIT_AFTER_MS"), QStringLiteral("0"));
    QProcess vek;
    vek.setProcessEnvironment(environment);
    vek.start(QStringLiteral(VEK_PROGRAM), QStringList());
    ASSERT_TRUE(vek.waitForStarted());
    const bool quit = vek.waitForFinished(kPatienceMs);
    if (!quit) {
        vek.kill();
        vek.waitForFinished();
    }
    ASSERT_TRUE(quit) << "no window within " << kPatienceMs << " ms";
    EXPECT_EQ(vek.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(vek.exitCode(), 0);
    const QString told = QString::fromLocal8Bit(vek.readAllStandardError());
    EXPECT_TRUE(told.contains(QStringLiteral("“LineType.dat”"))) << qPrintable(told);
    EXPECT_TRUE(told.contains(QStringLiteral("“LineType.dat.damaged”"))) << qPrintable(told);
    EXPECT_EQ(ReadAll(folder + QStringLiteral("/LineType.dat.damaged")), damaged);
}
