// libFuzzer entry for the workbook reader: any bytes either read into a
// rectangular used range or are refused with a reason; what is read gives
// persons under unique, non-empty item names.
#include "grading/CMeasureSheet.h"
#include "grading/CXlsReader.h"

#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    CXlsReader::Rows rows;
    const CXlsReader::Error error =
        CXlsReader::ReadFirstWorksheet(std::string(reinterpret_cast<const char*>(data), size), rows);
    if (error != CXlsReader::Error::None && !rows.empty()) std::abort();
    for (const auto& row : rows)
        if (row.size() != rows.front().size()) std::abort();

    const CMeasureSheet sheet = CMeasureSheet::FromCells(rows);
    const CTextRows& table = sheet.Table();
    const std::set<std::string> names(table.header.begin(), table.header.end());
    if (names.size() != table.header.size() || names.count(std::string())) std::abort();
    if (!rows.empty() && table.header.size() != rows.front().size()) std::abort();
    for (const auto& row : table.rows)
        if (row.size() != table.header.size() || CMeasureSheet::IsBlankRow(row)) std::abort();
    if (!rows.empty() && std::size_t(table.RowCount() + sheet.SkippedBlankRows()) != rows.size() - 1) std::abort();
    return 0;
}
