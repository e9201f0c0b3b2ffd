// The grading tables found again on the pages of a document. A page holds
// a table kind when one of its text elements reads exactly the kind's
// title ("量体尺寸表", "归号尺寸表", "特体尺寸表", "个人信息表"); the first
// table element of that page is the table.
#pragma once

#include "grading/CTextRows.h"

#include <string>
#include <vector>

class CPage;
class CPageSet;
class CTableElement;

class CGradingPages {
public:
    // GBK titles of the string table.
    static std::string BodyTitle();
    static std::string GradedTitle();
    static std::string SpecialTitle();
    static std::string PersonalTitle();

    static bool HoldsTitle(const CPage& page, const std::string& title);
    // The first of the titles that one of the page's text elements reads,
    // in element order; -1 when none does.
    static int FirstTitleOn(const CPage& page, const std::vector<std::string>& titles);
    // 0-based page indexes, in page order, from page `from` on.
    static std::vector<int> PagesHolding(const CPageSet& pageSet, const std::string& title, int from = 0);
    // The pages whose first title (of the given ones) is titles[which].
    static std::vector<int> PagesFirstTitled(const CPageSet& pageSet, const std::vector<std::string>& titles,
                                             int which);
    static bool AnyPageHolds(const CPageSet& pageSet, const std::string& title);

    static CTableElement* FirstTable(const CPage& page);
    // The texts of a row's cells (1-based row), as many as the row has.
    static CTextRows::Row RowTexts(const CTableElement& table, int row);
    // The texts of a row's first `count` cells; missing cells read "".
    static CTextRows::Row RowTexts(const CTableElement& table, int row, int count);
    // 1-based index of the first cell of row 1 reading the text; 0 when
    // none does.
    static int HeaderCell(const CTableElement& table, const std::string& text);

    // The persons of a table continued over the pages (their first
    // tables): the header of the first page's table, then rows 2 on of
    // every page, each read to the header's width. Pages without a table
    // add nothing.
    static CTextRows ReadTable(const CPageSet& pageSet, const std::vector<int>& pages);
};
