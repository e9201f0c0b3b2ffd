// The persons of the personal-information tables, read in page and row
// order, sorted, written back and numbered.
#pragma once

#include "grading/CTextRows.h"

#include <vector>

class CPageSet;

class CSerialNumbering {
public:
    // Rows 2 on of each page's first table, each to the width of its row 1.
    static std::vector<CTextRows::Row> ReadRows(const CPageSet& pageSet, const std::vector<int>& pages);
    // The rows back into the tables, page after page, each row to the width
    // of its table's row 1; true when some text changed.
    static bool WriteRows(CPageSet& pageSet, const std::vector<int>& pages, const std::vector<CTextRows::Row>& rows);
    // A column "序号" in front of each table (which keeps its rectangle),
    // numbered from `start` on, running on from page to page; true when
    // some table got it.
    static bool AddSerialNumbers(CPageSet& pageSet, const std::vector<int>& pages, int start);
};
