// Merging and splitting cells, the row counts a split may produce, and the
// neighbours of a cell. Merges and splits are checked before anything
// changes and then carried out on a copy of the grid that takes the
// grid's place only when the whole operation went through.
#include "tables/CTableGrid.h"

#include "tables/GridArithmetic.h"

#include "platform/CDC.h"

#include <algorithm>
#include <climits>

using namespace TableArithmetic;

namespace {

bool Contains(const CTableCellList& list, const CTableCellAddress& a)
{
    return std::find(list.begin(), list.end(), a) != list.end();
}

// The widths of `count` pieces of `width`: the first width % count pieces
// one unit wider.
long long PieceWidth(long long width, int count, int k)
{
    return width / count + (k < width % count ? 1 : 0);
}

} // namespace

void CTableGrid::SwapContent(CTableGrid& other)
{
    std::swap(m_origin, other.m_origin);
    std::swap(m_lineColor, other.m_lineColor);
    std::swap(m_borderWidth, other.m_borderWidth);
    std::swap(m_innerWidth, other.m_innerWidth);
    std::swap(m_margins, other.m_margins);
    std::swap(m_rows, other.m_rows);
    for (Row& row : m_rows)
        for (auto& cell : row.cells) cell->SetGrid(this);
    for (Row& row : other.m_rows)
        for (auto& cell : row.cells) cell->SetGrid(&other);
}

// ---------------------------------------------------------------------------
// Lists of cells

void CTableGrid::SortCellList(CTableCellList& cells) const
{
    CTableCellList sorted;
    for (int r = GetRowCount(); r >= 1; --r)
        for (int i = GetRowCellCount(r); i >= 1; --i)
            if (Contains(cells, CTableCellAddress(r, i))) sorted.emplace_back(r, i);
    cells = std::move(sorted);
}

int CTableGrid::GetCellsUnionRect(const CTableCellList& cells, CRect& out) const
{
    if (cells.empty()) return 0;
    CRect u;
    for (std::size_t k = 0; k < cells.size(); ++k) {
        const CTableCell* cell = GetCell(cells[k]);
        if (!cell) return 0;
        const CRect& r = cell->GetRect();
        if (k == 0) {
            u = r;
            continue;
        }
        u = CRect(std::min(u.left, r.left), std::min(u.top, r.top), std::max(u.right, r.right),
                  std::max(u.bottom, r.bottom));
    }
    if (u.IsRectEmpty()) return 0;
    out = u;
    return 1;
}

CRect CTableGrid::GetCellsBoundRect(const CTableCellList& cells) const
{
    CRect u;
    bool any = false;
    for (const CTableCellAddress& a : cells) {
        const CTableCell* cell = GetCell(a);
        if (!cell) continue;
        const CRect& r = cell->GetRect();
        u = any ? CRect(std::min(u.left, r.left), std::min(u.top, r.top), std::max(u.right, r.right),
                        std::max(u.bottom, r.bottom))
                : r;
        any = true;
    }
    return u;
}

// ---------------------------------------------------------------------------
// Merging

int CTableGrid::CanMergeCells(const CTableCellList& cells) const
{
    CRect u;
    if (!GetCellsUnionRect(cells, u)) return 0;
    CTableCellList inside;
    GetCellsInRect(u, inside);
    if (inside.size() != cells.size()) return 0;
    for (const CTableCellAddress& a : inside)
        if (!Contains(cells, a)) return 0;
    return 1;
}

int CTableGrid::MergeCells(CDC* dc, const CTableCellList& cells)
{
    if (cells.size() < 2 || !CanMergeCells(cells)) return 0;
    CRect u;
    GetCellsUnionRect(cells, u);
    CTableCellAddress survivor;
    if (!FindCellByTopLeft(u.left, u.top, survivor) || !Contains(cells, survivor)) return 0;

    CTableGrid work;
    work.CopyFrom(*this);
    CTableCellList sorted = cells;
    work.SortCellList(sorted);
    // Texts in grid order, the survivor's first.
    std::string text = work.GetCell(survivor)->Text();
    for (auto it = sorted.rbegin(); it != sorted.rend(); ++it)
        if (*it != survivor) text += work.GetCell(*it)->Text();
    // Removed from the last cell back, so the addresses still to come hold;
    // a row left without cells is joined to the row above it (nothing ends
    // on the line between them any more).
    for (const CTableCellAddress& a : sorted) {
        if (a == survivor) continue;
        work.TakeCell(a);
        Row& row = work.m_rows[std::size_t(a.row - 1)];
        if (!row.cells.empty() || a.row == 1) continue;
        Row& above = work.m_rows[std::size_t(a.row - 2)];
        above.height = std::uint32_t(std::min<unsigned long long>(
            (unsigned long long)above.height + row.height, UINT32_MAX));
        work.m_rows.erase(work.m_rows.begin() + (a.row - 1));
    }
    CTableCell* merged = work.GetCell(survivor);
    merged->SetRect(u);
    merged->SetText(text);
    const long long textWidth = Width(u) - m_margins.left - m_margins.right;
    const CSize size = merged->MeasureTextAtWidth(dc, Clamp(std::max<long long>(textWidth, 0)), 0);
    const long long needed = (long long)u.top + m_margins.top + size.cy + m_margins.bottom;
    if (u.bottom < needed) work.MoveHorizontalLine(dc, CPoint(u.left, u.bottom), CPoint(u.left, Clamp(needed)), survivor);
    SwapContent(work);
    return 1;
}

// ---------------------------------------------------------------------------
// Split counts

int CTableGrid::GetSplitCounts(const CTableCellAddress& a, CSplitCountList& out) const
{
    if (!IsValidCell(a)) return -1;
    const int span = GetCellRowSpan(a);
    if (span == 1) return -1;
    if (span <= 0) return 0;
    for (int d = 1; d <= span; ++d)
        if (span % d == 0) out.push_back(unsigned(d));
    return 2;
}

int CTableGrid::GetRangeSplitCounts(int, const CTableCellList& cells, CSplitCountList& out) const
{
    if (cells.empty()) return 0;
    bool any = true;
    for (const CTableCellAddress& a : cells) {
        if (!IsValidCell(a)) return -2;
        CSplitCountList counts;
        const int result = GetSplitCounts(a, counts);
        if (result == 0) return 0;
        if (result != 2) continue;
        if (any)
            out = counts;
        else
            IntersectCounts(out, counts);
        any = false;
    }
    return any ? -1 : 2;
}

void CTableGrid::IntersectCounts(CSplitCountList& list, const CSplitCountList& other)
{
    list.erase(std::remove_if(list.begin(), list.end(),
                              [&](unsigned v) { return std::find(other.begin(), other.end(), v) == other.end(); }),
               list.end());
}

// ---------------------------------------------------------------------------
// Splitting

int CTableGrid::CheckSplit(const CTableCellAddress& a, int rows, int columns) const
{
    const CTableCell* cell = GetCell(a);
    const int span = GetCellRowSpan(a);
    if (rows < 1 || columns < 1 || !cell || span < 1) return 0;
    if (columns > cell->GetWidth()) return 0;
    if (rows > 1 && span > 1 && span % rows != 0) return 0;
    return 1;
}

int CTableGrid::SplitCell(CDC* dc, const CTableCellAddress& a, int rows, int columns)
{
    if (!CheckSplit(a, rows, columns)) return 0;
    if (rows == 1 && columns == 1) return 1;
    CTableGrid work;
    work.CopyFrom(*this);
    if (!work.SplitCellNow(dc, a, rows, columns)) return 0;
    SwapContent(work);
    return 1;
}

int CTableGrid::SplitCellRange(CDC* dc, const CTableCellList& cells, int rows, int columns)
{
    CTableCellList sorted = cells;
    SortCellList(sorted);
    if (sorted.empty()) return 0;
    CTableGrid work;
    work.CopyFrom(*this);
    // Cells are followed as objects: every split moves the addresses of
    // the cells after it.
    struct Waiting {
        const CTableCell* cell;
        int span;
    };
    std::vector<Waiting> waiting;
    int widest = 0;
    for (const CTableCellAddress& a : sorted) {
        const int span = GetCellRowSpan(a);
        if (span < 1) return 0;
        waiting.push_back({work.GetCell(a), span});
        widest = std::max(widest, span);
    }
    for (int span = 1; span <= widest; ++span) {
        for (const Waiting& w : waiting) {
            if (w.span != span) continue;
            const CTableCellAddress a = work.FindAddress(w.cell);
            if (!work.CheckSplit(a, rows, columns)) return 0;
            if (!work.SplitCellNow(dc, a, rows, columns)) return 0;
        }
    }
    SwapContent(work);
    return 1;
}

int CTableGrid::SplitCellNow(CDC* dc, const CTableCellAddress& a, int rows, int columns)
{
    if (rows == 1 && columns == 1) return 1;
    const int span = GetCellRowSpan(a);
    if (rows == 1) return SplitColumnsOnly(dc, a, columns);
    if (span > 1) return SplitBands(dc, a, rows, columns);
    if (columns == 1) return SplitSingleRowIntoRows(dc, a, rows);
    return SplitSingleRowIntoGrid(dc, a, rows, columns);
}

// The cell's rectangle cut into `columns` pieces side by side, inserted
// into the cell's row after it; the cell keeps the first.
void CTableGrid::CutIntoColumns(const CTableCellAddress& a, int columns, long long width)
{
    CTableCell* cell = GetCell(a);
    const CRect r = cell->GetRect();
    long long x = r.left;
    auto& cells = m_rows[std::size_t(a.row - 1)].cells;
    for (int k = 0; k < columns; ++k) {
        const long long w = PieceWidth(width, columns, k);
        const CRect piece(Clamp(x), r.top, Clamp(x + w), r.bottom);
        x += w;
        if (k == 0) {
            cell->SetRect(piece);
            continue;
        }
        std::unique_ptr<CTableCell> fresh = CopyCellLayout(cell);
        fresh->SetRect(piece);
        cells.insert(cells.begin() + (a.index - 1 + k), std::move(fresh));
    }
}

int CTableGrid::SplitColumnsOnly(CDC* dc, const CTableCellAddress& a, int columns)
{
    CutIntoColumns(a, columns, GetCell(a)->GetWidth());
    FitTextBelow(dc, a);
    return 1;
}

// A cell spanning several rows cut into bands of span / rows grid rows,
// each band into `columns` pieces.
int CTableGrid::SplitBands(CDC* dc, const CTableCellAddress& a, int rows, int columns)
{
    CTableCell* cell = GetCell(a);
    const int span = GetCellRowSpan(a);
    const int perBand = span / rows;
    const long long width = cell->GetWidth();
    const CRect r = cell->GetRect();

    cell->SetRect(r.left, r.top, r.right, Clamp(RowBottom(a.row + perBand - 1)));
    std::vector<const CTableCell*> bands{cell};
    for (int b = 1; b < rows; ++b) {
        const int first = a.row + b * perBand;
        std::unique_ptr<CTableCell> fresh = CopyCellLayout(cell);
        fresh->SetRect(r.left, Clamp(RowTop(first)), r.right, Clamp(RowBottom(first + perBand - 1)));
        bands.push_back(fresh.get());
        InsertByPosition(first, std::move(fresh));
    }
    FitTextBelow(dc, a);
    if (columns == 1) return 1;

    cell->SetRect(r.left, cell->GetRect().top, Clamp(r.left + PieceWidth(width, columns, 0)),
                  cell->GetRect().bottom);
    FitTextBelow(dc, a);
    cell->SetRect(r.left, cell->GetRect().top, r.right, cell->GetRect().bottom);
    for (const CTableCell* band : bands) {
        const CTableCellAddress at = FindAddress(band);
        if (!IsValidCell(at)) return 0;
        CutIntoColumns(at, columns, width);
    }
    return 1;
}

int CTableGrid::SplitSingleRowIntoRows(CDC* dc, const CTableCellAddress& a, int rows)
{
    CTableCell* cell = GetCell(a);
    const long long height = cell->GetHeight();
    const long long fit = std::max<long long>(1, (long long)m_margins.top + cell->MeasureTextSize(dc).cy + m_margins.bottom);
    const long long other = std::max<long long>(1, (long long)m_margins.top + cell->GetCharSize(dc).cy + m_margins.bottom);

    // Piece heights that tile the cell: even when that fits the text; else
    // the first piece fits the text and the rest share what is left; else
    // the table grows to give every other piece one line of text.
    std::vector<long long> pieces(std::size_t(rows), 0);
    if (height / rows >= fit) {
        for (int k = 0; k < rows; ++k) pieces[std::size_t(k)] = PieceWidth(height, rows, k);
    } else if (height - fit >= (rows - 1) * other) {
        pieces[0] = fit;
        for (int k = 1; k < rows; ++k) pieces[std::size_t(k)] = PieceWidth(height - fit, rows - 1, k - 1);
    } else {
        pieces[0] = fit;
        for (int k = 1; k < rows; ++k) pieces[std::size_t(k)] = other;
        const long long grow = fit + (rows - 1) * other - height;
        const CRect r = cell->GetRect();
        if (!RoomBelow(grow)) return 0;
        if (!MoveHorizontalLine(dc, CPoint(r.left, r.bottom), CPoint(r.left, Clamp(r.bottom + grow)), a)) return 0;
    }

    const CRect r = cell->GetRect();
    long long top = r.top;
    for (int k = 0; k < rows; ++k) {
        const CRect piece(r.left, Clamp(top), r.right, Clamp(top + pieces[std::size_t(k)]));
        top += pieces[std::size_t(k)];
        if (k == 0) {
            cell->SetRect(piece);
            m_rows[std::size_t(a.row - 1)].height = std::uint32_t(pieces[0]);
            continue;
        }
        InsertRowAt(a.row + k, std::uint32_t(pieces[std::size_t(k)]));
        std::unique_ptr<CTableCell> fresh = CopyCellLayout(cell);
        fresh->SetRect(piece);
        m_rows[std::size_t(a.row + k - 1)].cells.push_back(std::move(fresh));
    }
    return 1;
}

int CTableGrid::SplitSingleRowIntoGrid(CDC* dc, const CTableCellAddress& a, int rows, int columns)
{
    CTableCell* cell = GetCell(a);
    const long long width = cell->GetWidth();
    const CRect r = cell->GetRect();
    cell->SetRect(r.left, r.top, Clamp(r.left + PieceWidth(width, columns, 0)), r.bottom);
    FitTextBelow(dc, a);
    const long long h = cell->GetHeight();
    const int bottom = cell->GetRect().bottom;
    cell->SetRect(r.left, r.top, r.right, bottom);
    if (!RoomBelow((rows - 1) * h)) return 0;
    if (!MoveHorizontalLine(dc, CPoint(r.left, bottom), CPoint(r.left, Clamp(bottom + (rows - 1) * h)), a)) return 0;

    cell->SetRect(r.left, r.top, r.right, Clamp(r.top + h));
    m_rows[std::size_t(a.row - 1)].height = std::uint32_t(h);
    CutIntoColumns(a, columns, width);
    for (int b = 1; b < rows; ++b) {
        InsertRowAt(a.row + b, std::uint32_t(h));
        long long x = r.left;
        for (int k = 0; k < columns; ++k) {
            const long long w = PieceWidth(width, columns, k);
            std::unique_ptr<CTableCell> fresh = CopyCellLayout(cell);
            fresh->SetRect(Clamp(x), Clamp(r.top + b * h), Clamp(x + w), Clamp(r.top + (b + 1) * h));
            x += w;
            m_rows[std::size_t(a.row + b - 1)].cells.push_back(std::move(fresh));
        }
    }
    return 1;
}

// ---------------------------------------------------------------------------
// Neighbours

int CTableGrid::GetLeftNeighbour(int anchorRow, const CTableCellAddress& current, CTableCellAddress& out,
                                 int& wrapped) const
{
    const CTableCell* cell = GetCell(current);
    if (!cell || anchorRow < 1 || anchorRow > GetRowCount()) return 0;
    wrapped = 0;
    out = current;
    const int y = anchorRow == current.row ? cell->GetRect().top : Clamp(RowTop(anchorRow));
    CTableCellAddress found;
    if (cell->GetRect().left > m_origin.x) {
        if (FindCellByRightEdge(cell->GetRect().left, y, found)) out = found;
        return 1;
    }
    if (anchorRow <= 1) return 1;
    const int right = Clamp((long long)m_origin.x + GetTableWidth());
    if (FindCellByRightEdge(right, Clamp(RowTop(anchorRow - 1)), found)) {
        out = found;
        wrapped = 1;
    }
    return 1;
}

int CTableGrid::GetRightNeighbour(int anchorRow, const CTableCellAddress& current, CTableCellAddress& out,
                                  int& wrapped) const
{
    const CTableCell* cell = GetCell(current);
    if (!cell || anchorRow < 1 || anchorRow > GetRowCount()) return 0;
    wrapped = 0;
    out = current;
    const int y = anchorRow == current.row ? cell->GetRect().top : Clamp(RowTop(anchorRow));
    CTableCellAddress found;
    const long long right = (long long)m_origin.x + GetTableWidth();
    if (cell->GetRect().right < right) {
        if (FindCellByLeftEdge(cell->GetRect().right, y, found)) out = found;
        return 1;
    }
    if (anchorRow >= GetRowCount()) return 1;
    if (FindCellByLeftEdge(m_origin.x, Clamp(RowTop(anchorRow + 1)), found)) {
        out = found;
        wrapped = 1;
    }
    return 1;
}

int CTableGrid::GetUpperNeighbour(const CTableCellAddress& anchor, const CTableCellAddress& current,
                                  CTableCellAddress& out) const
{
    const CTableCell* cell = GetCell(current);
    const CTableCell* start = GetCell(anchor);
    if (!cell || !start) return 0;
    out = current;
    CTableCellAddress found;
    if (cell->GetRect().top > m_origin.y && FindCellByBottomEdge(start->GetRect().left, cell->GetRect().top, found))
        out = found;
    return 1;
}

int CTableGrid::GetLowerNeighbour(const CTableCellAddress& anchor, const CTableCellAddress& current,
                                  CTableCellAddress& out) const
{
    const CTableCell* cell = GetCell(current);
    const CTableCell* start = GetCell(anchor);
    if (!cell || !start) return 0;
    out = current;
    CTableCellAddress found;
    const long long bottom = (long long)m_origin.y + GetTableHeight();
    if (cell->GetRect().bottom < bottom && FindCellByTopEdge(start->GetRect().left, cell->GetRect().bottom, found))
        out = found;
    return 1;
}
