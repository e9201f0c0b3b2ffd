// The grading run as a pure computation: the persons of the
// body-measurement table are graded into sizes by their basis items, the
// persons of one size are counted and their measurements averaged, and the
// sizes are sorted. The tables and the result file are made from what it
// computes; it touches no document.
//
// Grading a value: the value moves to the nearest step base + k x interval
// (k a whole number, on either side of the base), a tie going toward the
// base. With a whole-number interval the distance is first rounded to
// whole units (halves away from zero), so 162.5 with base 160 and interval
// 5 grades to 165 while 162.4 grades to 160. With any other interval the
// exact distance decides.
//
// Every measurement passes through its "%f" text (six decimals) before it
// is graded or summed, as the values always have.
#pragma once

#include "grading/CDoubleArrayRecord.h"
#include "grading/CMeasureColumn.h"
#include "grading/CTextRows.h"

#include <string>
#include <vector>

struct CGradingBasis {
    std::string name; // GBK, a header text of the body-measurement table
    double base = 0;
    double interval = 0;
};

class CGradingRun {
public:
    enum class Error {
        None,
        NoPersons,     // the table holds only its header
        BasisMissing,  // no column has the basis item's name
        BasisRepeated, // more than one column has it
    };

    // Whether the run can grade these persons by these items; on an item
    // error `item` names the item.
    static Error Check(const CTextRows& body, const std::vector<std::string>& basisNames,
                       std::string* item = nullptr);

    // Grades the persons; nothing is computed unless Check passes.
    Error Run(const CTextRows& body, const std::vector<CGradingBasis>& basis);

    static double GradeValue(double value, double base, double interval);
    static bool IsWholeInterval(double interval);

    int BasisCount() const { return int(m_basis.size()); }
    int PersonCount() const { return m_body.RowCount(); }
    // For each basis item a copy of its column named item + "号型", then
    // every column of the table in table order.
    const std::vector<CMeasureColumn>& GradingColumns() const { return m_columns; }
    // The sizes, sorted by their first key (ties in the order of their
    // first person), values averaged.
    const std::vector<CDoubleArrayRecord>& Groups() const { return m_groups; }

    // The graded-size table: the key columns (item + "号型"), "人数分布",
    // every measurement column; one row per size.
    CTextRows GradedSizeTable() const;
    // Which of its columns the tables show: a measurement column whose
    // averages read "0.0" in every size (a column of names) is left out,
    // the same on every page.
    std::vector<bool> ShownColumns() const;
    // The table with only the shown columns.
    static CTextRows KeepColumns(const CTextRows& table, const std::vector<bool>& shown);
    // The result file's table: "", "人数分布", every measurement column;
    // the size text joins the keys with "/".
    CTextRows ResultFileTable() const;
    // One row per person, in table order: the person's graded basis values
    // (graded from the cell texts as they stand), then all the person's
    // texts.
    std::vector<CTextRows::Row> PersonalRows() const;

    // The text of a size key of basis item j.
    std::string KeyText(int j, double key) const;

private:
    CTextRows m_body;
    std::vector<CGradingBasis> m_basis;
    std::vector<int> m_basisColumns;
    std::vector<CMeasureColumn> m_columns;
    std::vector<CDoubleArrayRecord> m_groups;
};
