// Saving whole files (documents, the backup, settings, exported pictures
// and objects) the safe way: through a new file renamed over the old one,
// synced to disk with its folder (WriteFileAtomically). A failure leaves
// the old file whole and is told in the program's language, saying what
// went wrong: "无法保存文件“图.vek”：磁盘空间不足。"
#pragma once

#include "platform/CAtomicFile.h"

#include <QByteArray>
#include <QString>

#include <string>

// False on failure, the message in `error`.
bool SaveWholeFile(const QString& path, const char* data, std::size_t size, QString* error = nullptr);
inline bool SaveWholeFile(const QString& path, const std::string& bytes, QString* error = nullptr)
{
    return SaveWholeFile(path, bytes.data(), bytes.size(), error);
}
inline bool SaveWholeFile(const QString& path, const QByteArray& bytes, QString* error = nullptr)
{
    return SaveWholeFile(path, bytes.constData(), std::size_t(bytes.size()), error);
}

// The message for a failed write of `path`.
QString FileWriteFailureText(const QString& path, const FileWriteFailure& failure);
// What went wrong, as that message says it after the file's name
// ("磁盘空间不足"), for messages that name the file their own way.
QString FileWriteFailureReason(const FileWriteFailure& failure);
