// Test support for tables: grids built from a layout, the grid invariants
// (rows, spans, tiling) and an occupancy map of which cell covers each
// piece of the table, used as the oracle of the structural operations.
#pragma once

#include "tables/CTableElement.h"
#include "tables/CTableGrid.h"

#include "platform/CArchive.h"
#include "platform/LogFont.h"

#include <algorithm>
#include <climits>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace tabletest {

// 宋体 at the settings' default size (page units).
inline LogFont CellFont(int height = 318)
{
    LogFont lf;
    lf.lfHeight = height;
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = GB2312_CHARSET;
    lf.lfQuality = 1;
    lf.SetFaceName("\xCB\xCE\xCC\xE5");
    return lf;
}

// rows x columns cells of colWidth x rowHeight from (1000, 2000), margins
// 50, border 35, inner lines 25; cell texts "a", "b", ... in grid order
// unless `label` is false.
inline std::unique_ptr<CTableGrid> MakeGrid(int rows, int columns, int colWidth = 1000, int rowHeight = 600,
                                            bool label = true)
{
    const LogFont font = CellFont();
    auto grid = std::make_unique<CTableGrid>(rows, columns, RGB(0, 0, 0), 35, 25, CRect(50, 50, 50, 50), 4, &font,
                                             RGB(0, 0, 0), RGB(255, 255, 255),
                                             CRect(1000, 2000, 1000 + columns * colWidth, 2000 + rows * rowHeight));
    if (label) {
        char next = 'a';
        for (int r = 1; r <= rows; ++r)
            for (int i = 1; i <= grid->GetRowCellCount(r); ++i) grid->SetCellText({r, i}, std::string(1, next++));
    }
    return grid;
}

// The x positions cell edges share (the column lines), in order.
inline std::vector<int> ColumnLines(const CTableGrid& g)
{
    std::set<int> xs;
    for (int r = 1; r <= g.GetRowCount(); ++r) {
        for (int i = 1; i <= g.GetRowCellCount(r); ++i) {
            xs.insert(g.GetCell(r, i)->GetRect().left);
            xs.insert(g.GetCell(r, i)->GetRect().right);
        }
    }
    return std::vector<int>(xs.begin(), xs.end());
}

inline std::vector<int> RowHeights(const CTableGrid& g)
{
    std::vector<int> heights;
    for (int r = 1; r <= g.GetRowCount(); ++r) heights.push_back(g.GetRowHeight(r));
    return heights;
}

inline std::vector<int> ColumnWidths(const CTableGrid& g)
{
    const std::vector<int> xs = ColumnLines(g);
    std::vector<int> widths;
    for (std::size_t i = 1; i < xs.size(); ++i) widths.push_back(xs[i] - xs[i - 1]);
    return widths;
}

// For every piece of the table between neighbouring column lines and row
// lines, the cells that cover it (by their place in row-major order).
inline std::vector<std::vector<std::vector<const CTableCell*>>> Coverage(const CTableGrid& g)
{
    const std::vector<int> xs = ColumnLines(g);
    std::vector<long long> ys{g.GetOrigin().y};
    for (int r = 1; r <= g.GetRowCount(); ++r) ys.push_back(ys.back() + std::max(0, g.GetRowHeight(r)));
    const std::size_t columns = xs.empty() ? 0 : xs.size() - 1;
    std::vector<std::vector<std::vector<const CTableCell*>>> cover(
        ys.size() - 1, std::vector<std::vector<const CTableCell*>>(columns));
    for (int r = 1; r <= g.GetRowCount(); ++r) {
        for (int i = 1; i <= g.GetRowCellCount(r); ++i) {
            const CTableCell* c = g.GetCell(r, i);
            const CRect& rc = c->GetRect();
            for (std::size_t y = 0; y + 1 < ys.size(); ++y) {
                if (!(rc.top <= ys[y] && ys[y + 1] <= rc.bottom)) continue;
                for (std::size_t x = 0; x < columns; ++x)
                    if (rc.left <= xs[x] && xs[x + 1] <= rc.right) cover[y][x].push_back(c);
            }
        }
    }
    return cover;
}

// Rows of the map separated by '/': each piece shows the first letter of
// the cell covering it ('_' for an empty text), '.' when nothing covers
// it and '#' when several cells do.
inline std::string OccupancyMap(const CTableGrid& g)
{
    std::string map;
    for (const auto& row : Coverage(g)) {
        if (!map.empty()) map += '/';
        for (const auto& piece : row) {
            if (piece.empty())
                map += '.';
            else if (piece.size() > 1)
                map += '#';
            else
                map += piece.front()->Text().empty() ? '_' : piece.front()->Text()[0];
        }
    }
    return map;
}

// Empty when the grid is sound: every row at least a unit high; every cell
// of a row starts on the row's top line, the cells of a row ordered by
// their left edges, every cell at least a unit wide, spanning whole rows
// (span at least 1) and pointing back at the grid; and the cells tile the
// table rectangle, each piece covered exactly once.
inline std::string GridInvariants(const CTableGrid& g)
{
    std::ostringstream why;
    long long top = g.GetOrigin().y;
    int cells = 0;
    for (int r = 1; r <= g.GetRowCount(); ++r) {
        if (g.GetRowHeight(r) < 1) return "row " + std::to_string(r) + " is less than a unit high";
        int previousLeft = INT_MIN;
        for (int i = 1; i <= g.GetRowCellCount(r); ++i) {
            const CTableCell* c = g.GetCell(r, i);
            const std::string at = "cell (" + std::to_string(r) + ", " + std::to_string(i) + ")";
            if (!c) return at + " is missing";
            if (c->GetGrid() != &g) return at + " belongs to another grid";
            if (c->GetRect().top != top) return at + " does not start on its row's line";
            if (c->GetRect().left <= previousLeft) return at + " is out of order in its row";
            if (c->GetWidth() < 1) return at + " is less than a unit wide";
            if (g.GetCellRowSpan({r, i}) < 1) return at + " does not span whole rows";
            previousLeft = c->GetRect().left;
            ++cells;
        }
        top += g.GetRowHeight(r);
    }
    if (g.GetRowCount() > 0 && cells == 0) return "rows without any cell";
    const std::vector<int> xs = ColumnLines(g);
    const CRect table = g.GetTableRect();
    if (!xs.empty() && (xs.front() != table.left || xs.back() != table.right))
        return "cells stand outside the table's columns";
    if (top != table.bottom) return "the rows do not add up to the table's height";
    const auto cover = Coverage(g);
    for (std::size_t y = 0; y < cover.size(); ++y)
        for (std::size_t x = 0; x < cover[y].size(); ++x)
            if (cover[y][x].size() != 1)
                return "piece (" + std::to_string(y + 1) + ", " + std::to_string(x + 1) + ") is covered " +
                       std::to_string(cover[y][x].size()) + " times";
    return std::string();
}

inline std::string GridRecord(const CTableGrid& g)
{
    CArchive ar;
    g.Store(ar);
    return ar.Buffer();
}

// The grid stores, loads and stores the same bytes again.
inline bool RecordRoundTrips(const CTableGrid& g)
{
    const std::string bytes = GridRecord(g);
    CArchive in(bytes);
    CTableGrid again;
    again.Load(in);
    return in.BytesLeft() == 0 && GridRecord(again) == bytes;
}

} // namespace tabletest
