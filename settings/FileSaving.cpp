#include "settings/FileSaving.h"

#include "res/StringTable.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <cstring>

namespace {

enum : int {
    IDS_CANNOT_SAVE = 36180,
    IDS_DISK_FULL = 36181,
    IDS_QUOTA_EXCEEDED = 36182,
    IDS_NO_PERMISSION = 36183,
    IDS_READ_ONLY_DISK = 36184,
    IDS_NO_FOLDER = 36185,
    IDS_DISK_ERROR = 36186,
    IDS_NAME_TOO_LONG = 36187,
    IDS_SYSTEM_ERROR = 36188,
    IDS_FOLDER_IN_THE_WAY = 36189,
    IDS_SPECIAL_FILE_IN_THE_WAY = 36198,
};

QString Reason(int error)
{
    switch (error) {
    case ENOSPC: return LoadResString(IDS_DISK_FULL);
    case EDQUOT: return LoadResString(IDS_QUOTA_EXCEEDED);
    case EACCES:
    case EPERM: return LoadResString(IDS_NO_PERMISSION);
    case EROFS: return LoadResString(IDS_READ_ONLY_DISK);
    case ENOENT:
    case ENOTDIR: return LoadResString(IDS_NO_FOLDER);
    case EIO: return LoadResString(IDS_DISK_ERROR);
    case ENAMETOOLONG: return LoadResString(IDS_NAME_TOO_LONG);
    case EISDIR: return LoadResString(IDS_FOLDER_IN_THE_WAY);
    default: return LoadResString(IDS_SYSTEM_ERROR).arg(QString::fromLocal8Bit(std::strerror(error)));
    }
}

} // namespace

QString FileWriteFailureReason(const FileWriteFailure& failure)
{
    return failure.step == FileWriteFailure::NotAFile ? LoadResString(IDS_SPECIAL_FILE_IN_THE_WAY)
                                                       : Reason(failure.error);
}

QString FileWriteFailureText(const QString& path, const FileWriteFailure& failure)
{
    return LoadResString(IDS_CANNOT_SAVE).arg(QDir::toNativeSeparators(QFileInfo(path).fileName()),
                                              FileWriteFailureReason(failure));
}

bool SaveWholeFile(const QString& path, const char* data, std::size_t size, QString* error)
{
    FileWriteFailure failure;
    if (WriteFileAtomically(path, data, size, &failure)) return true;
    if (error) *error = FileWriteFailureText(path, failure);
    return false;
}
