// What the fuzz target of the grading folder does with one input: the
// workbook reader. The fuzzer and the replay test of its findings both
// call it. Any bytes either read into a rectangular used range or are
// refused with a reason; what is read gives persons under unique,
// non-empty item names.
#pragma once

#include "FuzzSupport.h"

#include "grading/CMeasureSheet.h"
#include "grading/CXlsReader.h"

#include <set>
#include <string>

namespace fuzz {

inline bool XlsReader(const std::string& bytes)
{
    CXlsReader::Rows rows;
    const CXlsReader::Error error = CXlsReader::ReadFirstWorksheet(bytes, rows);
    if (error != CXlsReader::Error::None && !rows.empty()) throw Broken("a refused workbook left cells behind");
    for (const auto& row : rows)
        if (row.size() != rows.front().size()) throw Broken("the used range is not rectangular");

    const CMeasureSheet sheet = CMeasureSheet::FromCells(rows);
    const CTextRows& table = sheet.Table();
    const std::set<std::string> names(table.header.begin(), table.header.end());
    if (names.size() != table.header.size() || names.count(std::string()))
        throw Broken("item names are not unique and non-empty");
    if (!rows.empty() && table.header.size() != rows.front().size()) throw Broken("an item was lost");
    for (const auto& row : table.rows)
        if (row.size() != table.header.size() || CMeasureSheet::IsBlankRow(row))
            throw Broken("a person has the wrong number of values or none");
    if (!rows.empty() && std::size_t(table.RowCount() + sheet.SkippedBlankRows()) != rows.size() - 1)
        throw Broken("persons and blank rows do not add up to the rows read");
    return error == CXlsReader::Error::None;
}

} // namespace fuzz
