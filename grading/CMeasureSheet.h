// The persons of a workbook as the select-items dialog takes them: the
// first row's texts as item names, every further row as one person.
//
// Item names are made unique and non-empty here, so that every column can
// be chosen and later found again by its name: an empty name becomes
// "列3" (its column number), a repeated one "胸围(2)", "胸围(3)"... with a
// number that no other column's name has. Rows without any text (blank
// rows inside the used range) are no persons; they are left out and
// counted.
#pragma once

#include "grading/CTextRows.h"

#include <string>
#include <vector>

class CMeasureSheet {
public:
    // The cells of a worksheet's used range, row by row (row 0 the names).
    static CMeasureSheet FromCells(const std::vector<std::vector<std::string>>& cells);

    const CTextRows& Table() const { return m_table; }
    CTextRows& Table() { return m_table; }
    int SkippedBlankRows() const { return m_skippedBlankRows; }

    // The names made unique and non-empty, as above.
    static std::vector<std::string> UniqueNames(const std::vector<std::string>& names);
    // True when every text of the row is empty or blanks.
    static bool IsBlankRow(const std::vector<std::string>& row);

private:
    CTextRows m_table;
    int m_skippedBlankRows = 0;
};
