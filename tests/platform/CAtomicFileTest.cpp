// Whole files written through a new file renamed over the old: the old
// file stays whole when anything fails, nothing is left behind, and what
// failed is told with the system's error number.
#include "platform/CAtomicFile.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <functional>
#include <string>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

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

mode_t Type(const QString& path)
{
    struct stat info {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 ? (info.st_mode & S_IFMT) : 0;
}

// A socket bound to `path`; its descriptor, or -1.
int BindSocket(const QString& path)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address {};
    address.sun_family = AF_UNIX;
    const QByteArray name = QFile::encodeName(path);
    if (fd < 0 || std::size_t(name.size()) >= sizeof address.sun_path) return -1;
    std::memcpy(address.sun_path, name.constData(), std::size_t(name.size()));
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// Sets the file's times `seconds` into the past.
void Age(const QString& path, int seconds)
{
    const timespec past[2] = {{std::time(nullptr) - seconds, 0}, {std::time(nullptr) - seconds, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), past, AT_SYMLINK_NOFOLLOW), 0);
}

QStringList Sorted(QStringList names)
{
    std::sort(names.begin(), names.end());
    return names;
}

QStringList Entries(const QTemporaryDir& dir)
{
    return Sorted(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot));
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

// A named pipe, a socket or a device at the name, or at the end of a link:
// the save is refused before anything is written and the node stays what
// it was. A chain of links to a regular file is written through.
TEST(AtomicFile, ReplacesOnlyARegularFile)
{
    QTemporaryDir dir;
    const QString pipe = dir.filePath(QStringLiteral("pipe.vek"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    const QString socket = dir.filePath(QStringLiteral("socket.vek"));
    const int socketFd = BindSocket(socket);
    ASSERT_GE(socketFd, 0);
    QStringList nodes{pipe, socket};
    // A device node can be made only with the right to; /dev itself is
    // never written to by a test.
    const QString device = dir.filePath(QStringLiteral("null.vek"));
    if (::mknod(QFile::encodeName(device).constData(), S_IFCHR | 0600, makedev(1, 3)) == 0) nodes << device;
    const QString link = dir.filePath(QStringLiteral("link.vek"));
    ASSERT_TRUE(QFile::link(pipe, link));
    nodes << link;

    const QStringList before = Entries(dir);
    for (const QString& node : nodes) {
        SCOPED_TRACE(qPrintable(QFileInfo(node).fileName()));
        const mode_t type = Type(node);
        FileWriteFailure failure;
        EXPECT_FALSE(Write(node, "x", &failure));
        EXPECT_EQ(failure.step, FileWriteFailure::NotAFile);
        EXPECT_EQ(Type(node), type);
    }
    EXPECT_EQ(Type(pipe), mode_t(S_IFIFO));
    EXPECT_EQ(Entries(dir), before);
    ::close(socketFd);

    const QString target = dir.filePath(QStringLiteral("target.vek"));
    const QString first = dir.filePath(QStringLiteral("first.vek"));
    const QString second = dir.filePath(QStringLiteral("second.vek"));
    ASSERT_TRUE(Write(target, "old"));
    ASSERT_TRUE(QFile::link(target, first));
    ASSERT_TRUE(QFile::link(first, second));
    ASSERT_TRUE(Write(second, "new"));
    EXPECT_EQ(Read(target), QByteArray("new"));
    EXPECT_EQ(Type(first), mode_t(S_IFLNK));
    EXPECT_EQ(Type(second), mode_t(S_IFLNK));
}

// New files a killed save left beside the file are removed at its next
// save; those of a save still running (locked), those written to lately,
// and the new files of other names are not.
TEST(AtomicFile, TheNextSaveRemovesWhatAKilledSaveLeft)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.vek"));
    ASSERT_TRUE(Write(path, "old"));
    auto leftover = [&dir](const char* name, int age) {
        const QString file = dir.filePath(QString::fromLatin1(name));
        QFile f(file);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("half");
        f.close();
        Age(file, age);
        return file;
    };
    const int old = CAtomicFile::kStaleSeconds + 60;
    leftover(".a.vek.Xy3k9Q", old);
    leftover(".a.vek.000000", old);
    const QString running = leftover(".a.vek.Run123", old);
    leftover(".a.vek.recent", 5);
    leftover(".b.vek.Xy3k9Q", old);
    leftover(".a.vek.Xy3k9", old);
    leftover("a.vek.Xy3k9Q", old);
    // A save still running holds its new file locked.
    const int held = ::open(QFile::encodeName(running).constData(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(held, 0);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);

    ASSERT_TRUE(Write(path, "new"));
    EXPECT_EQ(Read(path), QByteArray("new"));
    EXPECT_EQ(Entries(dir), Sorted({QStringLiteral(".a.vek.Run123"), QStringLiteral(".a.vek.Xy3k9"),
                                    QStringLiteral(".a.vek.recent"), QStringLiteral(".b.vek.Xy3k9Q"),
                                    QStringLiteral("a.vek"), QStringLiteral("a.vek.Xy3k9Q")}));
    ::close(held);
}
