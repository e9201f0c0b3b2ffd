// The body-measurement table as the user brings it in (from a workbook or
// typed in by hand): on the current page when it fits there, else from
// the document's last page on, continued over pages added behind it.
#pragma once

#include "grading/CResultStyle.h"
#include "grading/CTextRows.h"

#include <vector>

class CPageSet;

class CMeasureTableBuilder {
public:
    // The table's pages; none (and nothing changed) when the pages have no
    // room for the layout.
    static std::vector<int> Build(CPageSet& pageSet, const CResultStyle& style, const CTextRows& table);
    // The chosen columns of the workbook's persons, header first; every
    // measurement cut after its first decimal (texts that are no number
    // stay whole).
    static CTextRows SelectColumns(const CTextRows& sheet, const std::vector<int>& columns);
};
