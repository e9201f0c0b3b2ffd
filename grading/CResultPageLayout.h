// Where a grading table and its texts lie on its pages, and how a table
// too long for one page is spread over several with its header repeated.
//
// Every table stands below a title, a unit caption "(单位：", the unit
// name with ")" and a page label, all at the top margin; the table starts
// at three times the top margin, inside the left margin and twice the
// right and bottom margins, each edge moved in by the border and inner
// line widths. Rows are 1.5 font heights.
//
// Three kinds keep the differences the tables have always had:
// - Body: the body-measurement table as read or typed: the rows per page
//   are counted from the table's top edge; a table of N rows stays on one
//   page when N fits, and is then N rows high.
// - Result: the graded-size table and the rebuilt body-measurement table:
//   the rows per page are counted from the top margin; a table of R rows
//   stays on one page when R <= rows per page, and is then R + 1 rows high.
// - Special: the special-body table: as Result, but it stays on one page
//   while its data rows fit, and is then as high as its rows.
// A continued table is full height on every page but its last, which is
// as high as its rows.
#pragma once

#include "grading/CResultStyle.h"

#include "platform/Types.h"

#include <string>
#include <vector>

class CPageSet;

class CResultPageLayout {
public:
    enum class Kind { Body, Result, Special };

    CResultPageLayout(const CPageSet& pageSet, const CResultStyle& style, Kind kind);
    CResultPageLayout(const CSize& paper, int top, int bottom, int left, int right, const CResultStyle& style,
                      Kind kind);

    // False when the font has no height or fewer than two rows fit on a
    // page: no table can be continued then (a header and one row per page).
    bool CanLayOut() const { return m_rowStep > 0 && m_rowsPerPage >= 2; }
    int RowStep() const { return m_rowStep; }
    int RowsPerPage() const { return m_rowsPerPage; }

    // The rows of each page's table, header included, for a table of
    // `rows` rows (header included); one entry when it stays on one page.
    std::vector<int> PageRows(int rows) const;
    // The table's rectangle on page `page` (0-based) of `pageCount`, where
    // it has `rowsOnPage` rows.
    CRect TableRect(int page, int pageCount, int rowsOnPage) const;

    // The four texts: title, "(单位：", unit name + ")", page label.
    CPoint TitlePos() const { return {m_left + 8000, m_top}; }
    CPoint CaptionPos() const { return {m_left + 13000, m_top}; }
    CPoint UnitPos() const { return {m_left + 14500, m_top}; }
    CPoint LabelPos() const { return {m_left + 18000, m_top}; }
    // GBK.
    std::string UnitText() const;
    static std::string PageLabel(int page, int pageCount);

private:
    int Bottom(long long rows) const;

    Kind m_kind;
    int m_workUnit;
    double m_fontHeight;
    int m_top;
    int m_left;
    CRect m_full;
    int m_rowStep = 0;
    int m_rowsPerPage = 0;
};
