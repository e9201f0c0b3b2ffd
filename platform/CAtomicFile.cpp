#include "platform/CAtomicFile.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>

#include <fcntl.h>
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

} // namespace

CAtomicFile::CAtomicFile(const QString& path)
{
    const QFileInfo link(path);
    const QFileInfo target(link.isSymLink() ? link.symLinkTarget() : link.absoluteFilePath());
    m_target = QFile::encodeName(target.absoluteFilePath());
    m_folder = QFile::encodeName(target.absolutePath());
    m_temporary = m_folder + "/." + QFile::encodeName(target.fileName()) + ".XXXXXX";
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

bool CAtomicFile::Open()
{
    m_fd = ::mkostemp(m_temporary.data(), O_CLOEXEC);
    if (m_fd < 0) return Fail(FileWriteFailure::Create, errno);
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
    const int fd = m_fd;
    m_fd = -1;
    if (::close(fd) != 0) {
        const int error = errno;
        ::unlink(m_temporary.constData());
        m_failure = FileWriteFailure{FileWriteFailure::Sync, error};
        return false;
    }
    if (::rename(m_temporary.constData(), m_target.constData()) != 0) {
        const int error = errno;
        ::unlink(m_temporary.constData());
        m_failure = FileWriteFailure{FileWriteFailure::Rename, error};
        return false;
    }
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
