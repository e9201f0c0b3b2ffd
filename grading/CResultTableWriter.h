// Writes a grading table onto pages of the document: on each page the
// table element with its part of the rows (the header repeated in row 1),
// then the title, the page label, the unit caption and the unit name, all
// at the page's highest drawing level.
#pragma once

#include "grading/CResultPageLayout.h"
#include "grading/CResultStyle.h"
#include "grading/CTextRows.h"

#include <string>
#include <vector>

class CPageSet;
class CTableElement;

class CResultTableWriter {
public:
    struct Options {
        CResultPageLayout::Kind kind = CResultPageLayout::Kind::Result;
        // Row 1 made this high (0: as laid out).
        int headerHeight = 0;
        // The table scaled back into its rectangle afterwards.
        bool scaleToRect = false;
    };

    CResultTableWriter(CPageSet& pageSet, const CResultStyle& style);

    // The table laid out from page `firstPage` on; the pages it continues
    // on are inserted one after another behind it (the current page stays
    // the same page). Returns the indexes of the table's pages; none when
    // the pages have no room for the layout.
    std::vector<int> Write(const std::string& title, const CTextRows& table, int firstPage, const Options& options);

    // One page of a table: the table element in `rect` with the header and
    // the rows [first, first + count), and the four texts with `label`.
    CTableElement* WritePage(int page, const std::string& title, const std::string& label, const CTextRows& table,
                             int first, int count, const CRect& rect, const Options& options);

    // A new empty page at `index`, keeping the current page where it is.
    void InsertPage(int index);

    // The row height of a header made taller: 2.5 font heights.
    int TallHeaderHeight() const;

private:
    CPageSet& m_pageSet;
    CResultStyle m_style;
};
