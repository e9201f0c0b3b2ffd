#include "platform/AtomicFile.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdlib>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool Fail(FileWriteFailure* failure, FileWriteFailure::Step step, int error)
{
    if (failure) *failure = FileWriteFailure{step, error};
    return false;
}

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

bool WriteFileAtomically(const QString& path, const char* data, std::size_t size, FileWriteFailure* failure)
{
    const QFileInfo link(path);
    const QString target = link.isSymLink() ? link.symLinkTarget() : link.absoluteFilePath();
    const QFileInfo info(target);
    const QByteArray folder = QFile::encodeName(info.absolutePath());
    QByteArray temporary = folder + "/." + QFile::encodeName(info.fileName()) + ".XXXXXX";

    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) return Fail(failure, FileWriteFailure::Create, errno);
    auto abandon = [&](FileWriteFailure::Step step) {
        const int error = errno;
        ::close(fd);
        ::unlink(temporary.constData());
        return Fail(failure, step, error);
    };
    struct stat old {};
    const mode_t mode = ::stat(QFile::encodeName(target).constData(), &old) == 0 ? (old.st_mode & 07777) : NewFileMode();
    if (::fchmod(fd, mode) != 0) return abandon(FileWriteFailure::Create);
    if (!WriteAll(fd, data, size)) return abandon(FileWriteFailure::Write);
    if (::fsync(fd) != 0) return abandon(FileWriteFailure::Sync);
    if (::close(fd) != 0) {
        const int error = errno;
        ::unlink(temporary.constData());
        return Fail(failure, FileWriteFailure::Sync, error);
    }
    if (::rename(temporary.constData(), QFile::encodeName(target).constData()) != 0) {
        const int error = errno;
        ::unlink(temporary.constData());
        return Fail(failure, FileWriteFailure::Rename, error);
    }
    // The new name is safe on disk only once the folder is; a file system
    // that cannot sync a folder has nothing more to do.
    const int dir = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
}
