#include "platform/CAtomicFile.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <ctime>

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Pieces smaller than this are gathered before they are written.
constexpr std::size_t kGatherBytes = std::size_t(64) << 10;

// The permissions a new file gets from the process's mask.
mode_t NewFileMode()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

bool WriteAll(int fd, const char* data, std::size_t size)
{
    while (size > 0) {
        const ssize_t done = ::write(fd, data, size);
        if (done < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += done;
        size -= std::size_t(done);
    }
    return true;
}

// The characters mkostemp puts in place of the template's XXXXXX.
constexpr std::size_t kUniqueChars = 6;

bool IsUniqueChar(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

// ".<name>.XXXXXX" for the file's own name.
bool IsTemporaryOf(const char* entry, const QByteArray& prefix)
{
    const std::size_t length = std::strlen(entry);
    if (length != std::size_t(prefix.size()) + kUniqueChars) return false;
    if (std::memcmp(entry, prefix.constData(), std::size_t(prefix.size())) != 0) return false;
    for (std::size_t i = std::size_t(prefix.size()); i < length; ++i)
        if (!IsUniqueChar(entry[i])) return false;
    return true;
}

// Removes the folder's entry `name` when it is a regular file that no live
// save holds and that has not been written to for `staleSeconds`.
void RemoveIfStale(int folder, const char* name, int staleSeconds)
{
    const int fd = ::openat(folder, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return;
    struct stat info {};
    const bool stale = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) &&
                       std::time(nullptr) - info.st_mtime >= staleSeconds &&
                       ::flock(fd, LOCK_EX | LOCK_NB) == 0;
    // The name must still be the file that was found free.
    struct stat now {};
    if (stale && ::fstatat(folder, name, &now, AT_SYMLINK_NOFOLLOW) == 0 && now.st_dev == info.st_dev &&
        now.st_ino == info.st_ino)
        ::unlinkat(folder, name, 0);
    ::close(fd);
}

} // namespace

CAtomicFile::CAtomicFile(const QString& path)
{
    const QFileInfo link(path);
    QString target = link.absoluteFilePath();
    if (link.isSymLink()) {
        // The end of the chain; a link to nothing yet makes its target.
        const QString canonical = link.canonicalFilePath();
        target = canonical.isEmpty() ? link.symLinkTarget() : canonical;
    }
    const QFileInfo info(target);
    m_target = QFile::encodeName(info.absoluteFilePath());
    m_folder = QFile::encodeName(info.absolutePath());
    m_temporary = m_folder + "/." + QFile::encodeName(info.fileName()) + ".XXXXXX";
}

CAtomicFile::~CAtomicFile()
{
    Cancel();
}

bool CAtomicFile::Fail(FileWriteFailure::Step step, int error)
{
    m_failure = FileWriteFailure{step, error};
    Cancel();
    return false;
}

bool CAtomicFile::TargetMayBeReplaced() const
{
    struct stat info {};
    if (::lstat(m_target.constData(), &info) != 0) return true;
    return S_ISREG(info.st_mode) || S_ISDIR(info.st_mode) || S_ISLNK(info.st_mode);
}

void CAtomicFile::RemoveStaleTemporaries() const
{
    DIR* folder = ::opendir(m_folder.constData());
    if (!folder) return;
    // The template without its XXXXXX, the folder left out.
    const QByteArray prefix = m_temporary.mid(m_folder.size() + 1).chopped(int(kUniqueChars));
    while (const dirent* entry = ::readdir(folder))
        if (IsTemporaryOf(entry->d_name, prefix)) RemoveIfStale(::dirfd(folder), entry->d_name, kStaleSeconds);
    ::closedir(folder);
}

bool CAtomicFile::Open()
{
    if (!TargetMayBeReplaced()) return Fail(FileWriteFailure::NotAFile, 0);
    RemoveStaleTemporaries();
    m_fd = ::mkostemp(m_temporary.data(), O_CLOEXEC);
    if (m_fd < 0) return Fail(FileWriteFailure::Create, errno);
    // Held until the new file has its name, so that no other save takes it
    // for a leftover. A file system without locks still has the age rule.
    ::flock(m_fd, LOCK_EX | LOCK_NB);
    struct stat old {};
    const mode_t mode = ::stat(m_target.constData(), &old) == 0 ? (old.st_mode & 07777) : NewFileMode();
    if (::fchmod(m_fd, mode) != 0) return Fail(FileWriteFailure::Create, errno);
    return true;
}

bool CAtomicFile::Flush()
{
    if (m_pending.empty()) return true;
    const bool written = WriteAll(m_fd, m_pending.data(), m_pending.size());
    m_pending.clear();
    return written || Fail(FileWriteFailure::Write, errno);
}

bool CAtomicFile::Write(const char* data, std::size_t size)
{
    if (m_fd < 0) return false;
    if (m_pending.size() + size <= kGatherBytes) {
        m_pending.append(data, size);
        return true;
    }
    if (!Flush()) return false;
    if (size < kGatherBytes) {
        m_pending.append(data, size);
        return true;
    }
    return WriteAll(m_fd, data, size) || Fail(FileWriteFailure::Write, errno);
}

bool CAtomicFile::Seek(std::uint64_t position)
{
    if (m_fd < 0 || !Flush()) return false;
    return ::lseek(m_fd, off_t(position), SEEK_SET) >= 0 || Fail(FileWriteFailure::Write, errno);
}

bool CAtomicFile::Commit()
{
    if (m_fd < 0 || !Flush()) return false;
    if (::fsync(m_fd) != 0) return Fail(FileWriteFailure::Sync, errno);
    // Something put at the name while the file was written is left as well.
    if (!TargetMayBeReplaced()) return Fail(FileWriteFailure::NotAFile, 0);
    // Renamed while still open, so that its lock holds until it has the
    // name. After fsync, closing has nothing left to report.
    if (::rename(m_temporary.constData(), m_target.constData()) != 0) return Fail(FileWriteFailure::Rename, errno);
    ::close(m_fd);
    m_fd = -1;
    // The new name is safe on disk only once the folder is; a file system
    // that cannot sync a folder has nothing more to do.
    const int dir = ::open(m_folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
}

void CAtomicFile::Cancel()
{
    if (m_fd < 0) return;
    ::close(m_fd);
    m_fd = -1;
    ::unlink(m_temporary.constData());
    m_pending.clear();
}

bool WriteFileAtomically(const QString& path, const char* data, std::size_t size, FileWriteFailure* failure)
{
    CAtomicFile file(path);
    const bool written = file.Open() && file.Write(data, size) && file.Commit();
    if (!written && failure) *failure = file.Failure();
    return written;
}
