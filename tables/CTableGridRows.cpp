// Rows, columns and grid-line moves of the table grid. Every operation
// collects the cells it moves before anything moves, and keeps the cells
// tiling the table: merged cells stay in the row of their top-left corner
// with a rectangle over the whole merged area.
#include "tables/CTableGrid.h"

#include "tables/GridArithmetic.h"

#include "platform/CDC.h"

#include <algorithm>
#include <climits>
#include <map>
#include <set>

using namespace TableArithmetic;

namespace {

bool Contains(const CTableCellList& list, const CTableCellAddress& a)
{
    return std::find(list.begin(), list.end(), a) != list.end();
}

} // namespace

// ---------------------------------------------------------------------------
// Rows

int CTableGrid::SetRowHeight(int row, int height)
{
    if (height < 1 || row < 1 || row > GetRowCount()) return 0;
    const long long d = (long long)height - m_rows[std::size_t(row - 1)].height;
    if (d == 0) return 1;
    if (!RoomBelow(d)) return 0;
    CTableCellList own;
    CTableCellList reaching;
    CTableCellList below;
    CollectRowCells(row, own);
    CollectCellsReachingRowBottom(row, reaching);
    CollectCellsBelowRow(row, below);
    GrowBottoms(reaching, d);
    GrowBottoms(own, d);
    OffsetCells(below, 0, d);
    m_rows[std::size_t(row - 1)].height = std::uint32_t(height);
    return 1;
}

int CTableGrid::InsertRow(int row, int above)
{
    if (row < 1 || row > GetRowCount()) return 0;
    const std::uint32_t h = m_rows[std::size_t(row - 1)].height;
    if (!RoomBelow(h)) return 0;
    CTableCellList below;
    CollectCellsBelowRow(row, below);
    if (above) {
        // Merged cells passing through the row pass through the new one too;
        // the row and everything below move down.
        CTableCellList reaching;
        CTableCellList own;
        CollectCellsReachingRowBottom(row, reaching);
        CollectRowCells(row, own);
        GrowBottoms(reaching, h);
        OffsetCells(own, 0, h);
        OffsetCells(below, 0, h);
        InsertRowAt(row, h);
        for (const auto& cell : m_rows[std::size_t(row)].cells) {
            std::unique_ptr<CTableCell> fresh = CopyCellLayout(cell.get());
            const CRect& r = cell->GetRect();
            fresh->SetRect(r.left, Clamp((long long)r.top - h), r.right, r.top);
            m_rows[std::size_t(row - 1)].cells.push_back(std::move(fresh));
        }
        return 1;
    }
    CTableCellList single;
    CTableCellList multi;
    CTableCellList ending;
    CTableCellList crossing;
    CollectSingleRowCells(row, single);
    CollectMultiRowCells(row, multi);
    CollectCellsEndingAtRowBottom(row, ending);
    CollectCellsCrossingRowBottom(row, crossing);
    GrowBottoms(crossing, h);
    GrowBottoms(multi, h);
    OffsetCells(below, 0, h);
    InsertRowAt(row + 1, h);
    // A cell under every cell that ended on the row's lower line.
    auto under = [this, h](const CTableCellAddress& a) {
        const CTableCell* cell = GetCell(a);
        std::unique_ptr<CTableCell> fresh = CopyCellLayout(cell);
        const CRect& r = cell->GetRect();
        fresh->SetRect(r.left, r.bottom, r.right, Clamp((long long)r.bottom + h));
        return fresh;
    };
    for (const CTableCellAddress& a : single) m_rows[std::size_t(row)].cells.push_back(under(a));
    for (const CTableCellAddress& a : ending) InsertByPosition(row + 1, under(a));
    return 1;
}

int CTableGrid::DeleteRow(int row)
{
    if (row < 1 || row > GetRowCount() || GetRowCount() == 1) return 0;
    const std::uint32_t h = m_rows[std::size_t(row - 1)].height;
    CTableCellList multi;
    CTableCellList reaching;
    CTableCellList below;
    CollectMultiRowCells(row, multi);
    CollectCellsReachingRowBottom(row, reaching);
    CollectCellsBelowRow(row, below);
    GrowBottoms(reaching, -(long long)h);
    OffsetCells(below, 0, -(long long)h);

    // Cells merged across the row live on in the next row, text and all,
    // without the deleted row's height.
    std::vector<std::unique_ptr<CTableCell>> survivors;
    auto& cells = m_rows[std::size_t(row - 1)].cells;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (!Contains(multi, CTableCellAddress(row, int(i) + 1))) continue;
        const CRect r = cells[i]->GetRect();
        cells[i]->SetRect(r.left, r.top, r.right, Clamp((long long)r.bottom - h));
        survivors.push_back(std::move(cells[i]));
    }
    m_rows.erase(m_rows.begin() + (row - 1));
    if (row <= GetRowCount())
        for (auto& cell : survivors) InsertByPosition(row, std::move(cell));
    return 1;
}

// ---------------------------------------------------------------------------
// Columns

int CTableGrid::CanInsertColumn(const CTableCellAddress& a) const
{
    const CTableCell* p = GetCell(a);
    if (!p) return 0;
    const int L = p->GetRect().left;
    const int R = p->GetRect().right;
    const long long bottom = (long long)m_origin.y + GetTableHeight();
    long long y = m_origin.y;
    while (y < bottom) {
        CTableCellAddress found;
        if (!FindCellByTopLeft(L, int(y), found)) return 0;
        const CRect& r = GetCell(found)->GetRect();
        if (r.right != R || r.bottom <= y) return 0;
        y = r.bottom;
    }
    return 1;
}

int CTableGrid::InsertColumn(const CTableCellAddress& a, int left)
{
    if (!CanInsertColumn(a)) return 0;
    const long long w = GetCell(a)->GetWidth();
    if (!RoomRight(w)) return 0;
    CTableCellList column;
    CTableCellList right;
    CollectColumnCells(a, column);
    CollectCellsRightOfColumn(a, right);
    OffsetCells(right, w, 0);
    // Each row holds one cell of a clean column, so inserting into one row
    // leaves the addresses of the others as they were.
    for (const CTableCellAddress& c : column) {
        CTableCell* cell = GetCell(c);
        std::unique_ptr<CTableCell> fresh = CopyCellLayout(cell);
        auto& cells = m_rows[std::size_t(c.row - 1)].cells;
        if (left) {
            cell->SetRect(Offset(cell->GetRect(), w, 0));
            cells.insert(cells.begin() + (c.index - 1), std::move(fresh));
        } else {
            fresh->SetRect(Offset(fresh->GetRect(), w, 0));
            cells.insert(cells.begin() + c.index, std::move(fresh));
        }
    }
    return 1;
}

int CTableGrid::DeleteColumn(const CTableCellAddress& a)
{
    const CTableCell* p = GetCell(a);
    if (!p) return 0;
    const int L = p->GetRect().left;
    const int R = p->GetRect().right;
    const long long w = p->GetWidth();
    bool outside = false;
    for (const Row& row : m_rows) {
        for (const auto& cell : row.cells) {
            const CRect& r = cell->GetRect();
            if ((r.left < L && L < r.right) || (r.left < R && R < r.right)) return 0;
            if (r.right <= L || r.left >= R) outside = true;
        }
    }
    if (!outside) return 0;
    CTableCellList column;
    CTableCellList right;
    CollectColumnCells(a, column);
    CollectCellsRightOfColumn(a, right);
    OffsetCells(right, -w, 0);
    for (auto it = column.rbegin(); it != column.rend(); ++it) TakeCell(*it);
    return 1;
}

// ---------------------------------------------------------------------------
// Grid lines

int CTableGrid::FitTextBelow(CDC* dc, const CTableCellAddress& a)
{
    const CTableCell* cell = GetCell(a);
    if (!cell || !dc) return 0;
    const CRect r = cell->GetRect();
    const long long needed = (long long)r.top + m_margins.top + cell->MeasureTextSize(dc).cy + m_margins.bottom;
    if (r.bottom >= needed) return 0;
    return MoveHorizontalLine(dc, CPoint(r.left, r.bottom), CPoint(r.left, Clamp(needed)), a);
}

int CTableGrid::MoveHorizontalLine(CDC* dc, const CPoint& from, const CPoint& to, const CTableCellAddress& a)
{
    const int span = GetCellRowSpan(a);
    if (from.y == to.y || span < 1) return 0;
    const int last = a.row + span - 1;
    CTableCellList online;
    CTableCellList below;
    CollectCellsOnBottomLine(a, online);
    CollectCellsBelowCell(a, below);

    long long distance = 0;
    if (to.y > from.y) {
        distance = (long long)to.y - from.y;
    } else {
        // Not above the lowest text on the line, nor so far that the row
        // would vanish.
        long long lowest = LLONG_MIN / 4;
        for (const CTableCellAddress& c : online) lowest = std::max<long long>(lowest, GetCell(c)->MeasureTextRect(dc).bottom);
        const long long limit = lowest + m_margins.bottom;
        distance = to.y < limit ? from.y - limit : (long long)from.y - to.y;
        distance = std::min<long long>(distance, (long long)m_rows[std::size_t(last - 1)].height - 1);
        distance = -distance;
    }
    if (distance == 0 || (to.y < from.y && distance > 0) || !RoomBelow(distance)) return 0;
    GrowBottoms(online, distance);
    OffsetCells(below, 0, distance);
    Row& changed = m_rows[std::size_t(last - 1)];
    changed.height = std::uint32_t(std::clamp<long long>(changed.height + distance, 1, UINT32_MAX));
    return 1;
}

int CTableGrid::MoveVerticalLine(CDC* dc, const CPoint& from, const CPoint& to, const CTableCellAddress& a,
                                 int side, int tolerance)
{
    const CTableCell* p = GetCell(a);
    if (from.x == to.x || !p) return 0;
    const long long x0 = side == 1 ? p->GetRect().left : p->GetRect().right;
    CTableCellList lefts;
    CTableCellList rights;
    CollectCellsOnVerticalLine(0, a, side, lefts);
    CollectCellsOnVerticalLine(1, a, side, rights);
    const int moved = MoveVerticalLineCells(dc, from, to, lefts, rights, x0, tolerance, lefts, rights);
    if (moved && a.index == 1 && side == 1 && GetCell(1, 1)) m_origin = GetCell(1, 1)->GetTopLeft();
    return moved;
}

// Moves the line x0 between the cells on its left (their right edges) and
// on its right (their left edges). The shrinking side's text keeps room
// for one average character unless the line snaps to another edge; the
// limits are taken over leftLimit and rightLimit.
int CTableGrid::MoveVerticalLineCells(CDC* dc, const CPoint& from, const CPoint& to, const CTableCellList& lefts,
                                      const CTableCellList& rights, long long x0, int tolerance,
                                      const CTableCellList& leftLimit, const CTableCellList& rightLimit)
{
    const bool both = !lefts.empty() && !rights.empty();
    long long distance = 0;
    if (to.x > from.x) {
        const long long wanted = (long long)to.x - from.x;
        int snapped = 0;
        if (both && SnapToVerticalLine(int(x0), GetMinRight(rightLimit), tolerance, to.x, snapped))
            distance = snapped - x0;
        else if (!rights.empty())
            distance = std::min<long long>(wanted, GetShrinkLimit(dc, rightLimit));
        else
            distance = wanted;
    } else {
        const long long wanted = (long long)from.x - to.x;
        int snapped = 0;
        if (both && SnapToVerticalLine(GetMaxLeft(leftLimit), int(x0), tolerance, to.x, snapped))
            distance = x0 - snapped;
        else if (!lefts.empty())
            distance = std::min<long long>(wanted, GetShrinkLimit(dc, leftLimit));
        else
            distance = wanted;
        distance = -distance;
    }
    if (distance == 0 || (to.x > from.x) != (distance > 0)) return 0;
    if (x0 + distance < INT_MIN || x0 + distance > INT_MAX) return 0;
    GrowRights(lefts, distance);
    MoveLefts(rights, distance);
    // The narrowed side's texts get the height they now need.
    for (const CTableCellAddress& c : distance > 0 ? rights : lefts) FitTextBelow(dc, c);
    return 1;
}

int CTableGrid::MoveGridLine(CDC* dc, const CPoint& from, const CPoint& to, const CTableCellAddress& a,
                             const CTableCellList& selection, int side, int tolerance)
{
    const CTableCell* p = GetCell(a);
    if (from.x == to.x || !p) return 0;
    const long long x0 = side == 1 ? p->GetRect().left : p->GetRect().right;
    CTableCellList lefts;
    CTableCellList rights;
    CollectCellsOnVerticalLine(0, a, side, lefts);
    CollectCellsOnVerticalLine(1, a, side, rights);
    // A table border moves along its whole length: the table stays a
    // rectangle.
    if (lefts.empty() || rights.empty()) return MoveVerticalLine(dc, from, to, a, side, tolerance);

    CTableCellList selectedLefts;
    CTableCellList selectedRights;
    int leftTop = 0, leftBottom = 0, rightTop = 0, rightBottom = 0;
    FilterSelectedCells(lefts, selection, selectedLefts, leftTop, leftBottom);
    FilterSelectedCells(rights, selection, selectedRights, rightTop, rightBottom);
    if (selectedLefts.empty() || selectedRights.empty() || leftTop != rightTop || leftBottom != rightBottom)
        return 0;
    // Every cell along that stretch of the line must move, or the cells
    // would overlap or part.
    auto allTaken = [&](const CTableCellList& all, const CTableCellList& taken) {
        for (const CTableCellAddress& c : all) {
            const CRect& r = GetCell(c)->GetRect();
            if (r.top < leftBottom && leftTop < r.bottom && !Contains(taken, c)) return false;
        }
        return true;
    };
    if (!allTaken(lefts, selectedLefts) || !allTaken(rights, selectedRights)) return 0;
    return MoveVerticalLineCells(dc, from, to, selectedLefts, selectedRights, x0, tolerance, selectedLefts,
                                 selectedRights);
}

int CTableGrid::MoveSelectionHorizontalLine(CDC*, const CPoint& from, const CPoint& to,
                                            const CTableCellList& selection)
{
    const long long d = (long long)to.y - from.y;
    long long top = LLONG_MAX;
    long long bottom = LLONG_MIN;
    for (const CTableCellAddress& a : selection) {
        if (const CTableCell* c = GetCell(a)) {
            top = std::min<long long>(top, c->GetRect().top);
            bottom = std::max<long long>(bottom, c->GetRect().bottom);
        }
    }
    const int first = top == LLONG_MAX ? 0 : RowStartingAt(top);
    const int last = bottom == LLONG_MIN ? 0 : RowEndingAt(bottom);
    if (d == 0 || first < 1 || last < first) return 0;
    for (int r = first; r <= last; ++r)
        if ((long long)m_rows[std::size_t(r - 1)].height + d < 1) return 0;
    if (!RoomBelow(d * (last - first + 1))) return 0;

    // Every cell's rows, read off the old lines; a cell off the lines
    // (only a damaged record holds one) refuses the move.
    struct Span {
        CTableCell* cell;
        int firstRow;
        int lastRow;
    };
    std::vector<Span> spans;
    for (int r = 1; r <= GetRowCount(); ++r) {
        for (const auto& cell : m_rows[std::size_t(r - 1)].cells) {
            const int end = RowEndingAt(cell->GetRect().bottom);
            if (RowTop(r) != cell->GetRect().top || end < r) return 0;
            spans.push_back({cell.get(), r, end});
        }
    }
    for (int r = first; r <= last; ++r)
        m_rows[std::size_t(r - 1)].height = std::uint32_t(m_rows[std::size_t(r - 1)].height + d);
    for (const Span& s : spans) {
        const CRect& r = s.cell->GetRect();
        s.cell->SetRect(r.left, Clamp(RowTop(s.firstRow)), r.right, Clamp(RowBottom(s.lastRow)));
    }
    return 1;
}

int CTableGrid::MoveSelectionVerticalLine(CDC*, const CPoint& from, const CPoint& to,
                                          const CTableCellList& selection)
{
    const long long d = (long long)to.x - from.x;
    long long left = LLONG_MAX;
    long long right = LLONG_MIN;
    for (const CTableCellAddress& a : selection) {
        if (const CTableCell* c = GetCell(a)) {
            left = std::min<long long>(left, c->GetRect().left);
            right = std::max<long long>(right, c->GetRect().right);
        }
    }
    if (d == 0 || left == LLONG_MAX) return 0;

    // The column lines are every x that cell edges share; each column
    // inside the selection grows by d and the lines after it move on.
    std::set<long long> lines;
    for (const Row& row : m_rows) {
        for (const auto& cell : row.cells) {
            lines.insert(cell->GetRect().left);
            lines.insert(cell->GetRect().right);
        }
    }
    std::map<long long, long long> moved;
    long long shift = 0;
    long long previous = LLONG_MIN;
    for (const long long x : lines) {
        if (previous != LLONG_MIN && previous >= left && x <= right) {
            if (x - previous + d < 1) return 0;
            shift += d;
        }
        moved[x] = x + shift;
        previous = x;
    }
    if (!RoomRight(shift)) return 0;
    for (Row& row : m_rows) {
        for (auto& cell : row.cells) {
            const CRect& r = cell->GetRect();
            cell->SetRect(Clamp(moved[r.left]), r.top, Clamp(moved[r.right]), r.bottom);
        }
    }
    return 1;
}

// ---------------------------------------------------------------------------
// Supporting operations

int CTableGrid::GetShrinkLimit(CDC* dc, const CTableCellList& cells) const
{
    if (cells.empty()) return 0;
    long long limit = LLONG_MAX;
    for (const CTableCellAddress& a : cells) {
        const CTableCell* cell = GetCell(a);
        if (!cell) return -1;
        const long long width = cell->GetWidth();
        long long slack = width - m_margins.left - cell->GetCharSize(dc).cx - m_margins.right;
        if (slack <= 0) return 0;
        slack = std::min(slack, width - 1);
        limit = std::min(limit, slack);
    }
    return Clamp(limit);
}

int CTableGrid::GetMaxLeft(const CTableCellList& cells) const
{
    int result = 0;
    bool any = false;
    for (const CTableCellAddress& a : cells) {
        const CTableCell* cell = GetCell(a);
        if (!cell) break;
        result = any ? std::max(result, cell->GetRect().left) : cell->GetRect().left;
        any = true;
    }
    return result;
}

int CTableGrid::GetMinRight(const CTableCellList& cells) const
{
    int result = 0;
    bool any = false;
    for (const CTableCellAddress& a : cells) {
        const CTableCell* cell = GetCell(a);
        if (!cell) break;
        result = any ? std::min(result, cell->GetRect().right) : cell->GetRect().right;
        any = true;
    }
    return result;
}

int CTableGrid::SnapToVerticalLine(int low, int high, int tolerance, int x, int& out) const
{
    for (const Row& row : m_rows) {
        for (const auto& cell : row.cells) {
            for (const int e : {cell->GetRect().left, cell->GetRect().right}) {
                if (std::llabs((long long)x - e) <= tolerance && low < e && e < high) {
                    out = e;
                    return 1;
                }
            }
        }
    }
    return 0;
}

void CTableGrid::FilterSelectedCells(const CTableCellList& cells, const CTableCellList& selection,
                                     CTableCellList& out, int& top, int& bottom) const
{
    out.clear();
    top = INT_MAX;
    bottom = INT_MIN;
    for (const CTableCellAddress& a : cells) {
        const CTableCell* cell = GetCell(a);
        if (!cell || !Contains(selection, a)) continue;
        out.push_back(a);
        top = std::min(top, cell->GetRect().top);
        bottom = std::max(bottom, cell->GetRect().bottom);
    }
}
