#include "grading/CSmlFile.h"

#include "platform/CArchive.h"

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
