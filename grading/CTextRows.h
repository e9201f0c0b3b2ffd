// A table of texts as the grading workflow hands it around: the header row
// of item names and the rows below it, one text per cell, GBK bytes.
// Rows may be shorter than the header (tables edited by hand); a missing
// cell reads as an empty text.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

class CTextRows {
public:
    using Row = std::vector<std::string>;

    Row header;
    std::vector<Row> rows;

    int ColumnCount() const { return int(header.size()); }
    int RowCount() const { return int(rows.size()); }

    // The text of a data row's cell (0-based), "" when the row has none.
    const std::string& Cell(int row, int column) const;

    // 0-based columns whose header text equals the name, left to right.
    std::vector<int> ColumnsNamed(const std::string& name) const;
    // The first or the last of them; -1 when none.
    int FirstColumnNamed(const std::string& name) const;
    int LastColumnNamed(const std::string& name) const;

    bool operator==(const CTextRows& o) const { return header == o.header && rows == o.rows; }
    bool operator!=(const CTextRows& o) const { return !(*this == o); }
};
