// Whole files written through a new file renamed over the old: the old
// file stays whole when anything fails, nothing is left behind, and what
// failed is told with the system's error number.
#include "platform/CAtomicFile.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cerrno>
#include <string>

#include <sys/stat.h>

namespace {

QByteArray Read(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool Write(const QString& path, const std::string& bytes, FileWriteFailure* failure = nullptr)
{
    return WriteFileAtomically(path, bytes.data(), bytes.size(), failure);
}

mode_t Mode(const QString& path)
{
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? (info.st_mode & 07777) : 0;
}

} // namespace

TEST(AtomicFile, ReplacesTheFileKeepingItsPermissionsAndLeavesNothingBehind)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.vek"));
    ASSERT_TRUE(Write(path, "first"));
    EXPECT_EQ(Read(path), QByteArray("first"));
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0640), 0);
    ASSERT_TRUE(Write(path, std::string(100000, 'x')));
    EXPECT_EQ(Read(path), QByteArray(100000, 'x'));
    EXPECT_EQ(Mode(path), mode_t(0640));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("a.vek")});
}

TEST(AtomicFile, WritesThroughALinkToItsTarget)
{
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("target.dat"));
    const QString link = dir.filePath(QStringLiteral("link.dat"));
    ASSERT_TRUE(Write(target, "old"));
    ASSERT_TRUE(QFile::link(target, link));
    ASSERT_TRUE(Write(link, "new"));
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(Read(target), QByteArray("new"));
}

TEST(AtomicFile, FailuresTellTheStepAndTheSystemsError)
{
    QTemporaryDir dir;
    FileWriteFailure failure;
    EXPECT_FALSE(Write(dir.filePath(QStringLiteral("no-such-folder/a.vek")), "x", &failure));
    EXPECT_EQ(failure.step, FileWriteFailure::Create);
    EXPECT_EQ(failure.error, ENOENT);

    // A folder where the file would go: the new file cannot take its name.
    const QString folder = dir.filePath(QStringLiteral("taken"));
    ASSERT_TRUE(QDir().mkpath(folder + QStringLiteral("/inside")));
    EXPECT_FALSE(Write(folder, "x", &failure));
    EXPECT_EQ(failure.step, FileWriteFailure::Rename);
    EXPECT_EQ(failure.error, EISDIR);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
}

TEST(AtomicFile, PiecesAndMovesBackMakeTheFileOnlyWhenCommitted)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.vek"));
    ASSERT_TRUE(Write(path, "old"));
    {
        CAtomicFile file(path);
        ASSERT_TRUE(file.Open());
        // Small pieces gathered, a large one written straight, a header
        // filled in at the end.
        ASSERT_TRUE(file.Write("....", 4));
        const std::string large(200000, 'b');
        ASSERT_TRUE(file.Write(large.data(), large.size()));
        ASSERT_TRUE(file.Write("tail", 4));
        ASSERT_TRUE(file.Seek(0));
        ASSERT_TRUE(file.Write("head", 4));
        EXPECT_EQ(Read(path), QByteArray("old"));
        ASSERT_TRUE(file.Commit());
    }
    const QByteArray written = Read(path);
    ASSERT_EQ(written.size(), 200008);
    EXPECT_TRUE(written.startsWith("headb"));
    EXPECT_TRUE(written.endsWith("btail"));

    // Dropped before Commit: the old file stays and nothing is left beside it.
    {
        CAtomicFile file(path);
        ASSERT_TRUE(file.Open());
        ASSERT_TRUE(file.Write("new", 3));
    }
    EXPECT_EQ(Read(path).size(), 200008);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("a.vek")});
}
