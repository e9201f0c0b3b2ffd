#include "grading/CSmlFile.h"

#include "platform/CArchive.h"

#include <QSaveFile>

#include <cstdint>

std::string CSmlFile::Bytes(const CTextRows& table)
{
    CArchive ar;
    const int columns = table.ColumnCount();
    ar << std::int32_t(table.RowCount() + 1) << std::int32_t(columns);
    for (const std::string& text : table.header) ar.WriteString(text);
    for (int r = 0; r < table.RowCount(); ++r)
        for (int c = 0; c < columns; ++c) ar.WriteString(table.Cell(r, c));
    return ar.TakeBuffer();
}

bool CSmlFile::Write(const QString& path, const CTextRows& table, QString* error)
{
    const std::string bytes = Bytes(table);
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly)
        && file.write(bytes.data(), qint64(bytes.size())) == qint64(bytes.size()) && file.commit())
        return true;
    if (error) *error = file.errorString();
    file.cancelWriting();
    return false;
}
