// Where a table cell lives: the row that holds it (the row of its top-left
// corner) and its place in that row from the left, both counted from 1.
// The index is not a column: a merged cell lives only in its top row, so
// the rows it covers below hold fewer cells, and index k there lies further
// right than column k.
#pragma once

#include <vector>

struct CTableCellAddress {
    int row = -1;
    int index = -1;

    constexpr CTableCellAddress() = default;
    constexpr CTableCellAddress(int r, int i) : row(r), index(i) {}
    constexpr bool operator==(const CTableCellAddress& o) const { return row == o.row && index == o.index; }
    constexpr bool operator!=(const CTableCellAddress& o) const { return !(*this == o); }
};

// A list of cells, such as a selection.
using CTableCellList = std::vector<CTableCellAddress>;
