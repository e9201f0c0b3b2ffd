#include "platform/RegularFile.h"

#include <QFile>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

bool OpenRegularFile(const QString& path, QFile& file, QString* why)
{
    auto fail = [why](const QString& reason) {
        if (why) *why = reason;
        return false;
    };
    if (path.isEmpty()) return fail(QStringLiteral("no file name"));
    // Without blocking, so that a pipe is opened (and refused) at once
    // rather than waiting for its writer.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return fail(QString::fromLocal8Bit(std::strerror(errno)));
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return fail(QStringLiteral("not a regular file"));
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        ::close(fd);
        return fail(QString::fromLocal8Bit(std::strerror(errno)));
    }
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return fail(file.errorString());
    }
    return true;
}

bool IsRegularFile(const QString& path)
{
    if (path.isEmpty()) return false;
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 && S_ISREG(info.st_mode);
}
