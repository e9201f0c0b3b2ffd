// Structure, layout, addressing, hit tests and cell collections of the
// table grid. Rows, columns and line moves are in CTableGridRows.cpp,
// merging and splitting in CTableGridMerge.cpp, drawing, copying and the
// record in CTableGridStorage.cpp.
#include "tables/CTableGrid.h"

#include "tables/GridArithmetic.h"

#include "geometry/Distance.h"

#include <algorithm>
#include <climits>

using namespace TableArithmetic;

CTableGrid::CTableGrid() = default;

CTableGrid::CTableGrid(const CPoint& origin, COLORREF lineColor, int borderWidth, int innerWidth,
                       const CRect& margins, int rows, int columns, const CTableCell* templateCell)
    : m_origin(origin), m_lineColor(lineColor), m_borderWidth(borderWidth), m_innerWidth(innerWidth),
      m_margins(margins)
{
    BuildFromCell(rows, columns, templateCell);
}

CTableGrid::CTableGrid(int rows, int columns, COLORREF lineColor, int borderWidth, int innerWidth,
                       const CRect& margins, int alignment, const LogFont* font, COLORREF textColor,
                       COLORREF backColor, const CRect& rect)
    : m_origin(rect.TopLeft()), m_lineColor(lineColor), m_borderWidth(borderWidth), m_innerWidth(innerWidth),
      m_margins(margins)
{
    BuildFromLayout(rows, columns, alignment, font, textColor, backColor, rect);
}

CTableGrid::~CTableGrid() = default;

// ---------------------------------------------------------------------------
// Building

int CTableGrid::RemoveAll()
{
    m_rows.clear();
    return 1;
}

int CTableGrid::BuildFromCell(int rows, int columns, const CTableCell* templateCell)
{
    if (rows < 1 || columns < 1 || !templateCell) return 0;
    const long long w = templateCell->GetWidth();
    const long long h = templateCell->GetHeight();
    if (w < 1 || h < 1) return 0;
    std::vector<Row> built(static_cast<std::size_t>(rows));
    for (int i = 0; i < rows; ++i) {
        built[std::size_t(i)].height = std::uint32_t(h);
        for (int j = 0; j < columns; ++j) {
            std::unique_ptr<CTableCell> cell = CopyCellLayout(templateCell);
            const int left = Clamp(m_origin.x + j * w);
            const int top = Clamp(m_origin.y + i * h);
            cell->SetRect(left, top, Clamp(left + w), Clamp(top + h));
            built[std::size_t(i)].cells.push_back(std::move(cell));
        }
    }
    m_rows = std::move(built);
    return 1;
}

int CTableGrid::BuildFromLayout(int rows, int columns, int alignment, const LogFont* font, COLORREF textColor,
                                COLORREF backColor, const CRect& rect)
{
    if (rows < 1 || columns < 1) return 0;
    const long long width = std::max<long long>(1, RoundToInt(double(Width(rect)) / columns));
    const long long height = std::max<long long>(1, RoundToInt(double(Height(rect)) / rows));
    std::vector<Row> built(static_cast<std::size_t>(rows));
    for (int i = 0; i < rows; ++i) {
        built[std::size_t(i)].height = std::uint32_t(height);
        for (int j = 0; j < columns; ++j) {
            const int left = Clamp(m_origin.x + j * width);
            const int top = Clamp(m_origin.y + i * height);
            built[std::size_t(i)].cells.push_back(NewCellFromDefaults(
                alignment, font, textColor, backColor, m_innerWidth, m_lineColor,
                CRect(left, top, Clamp(left + width), Clamp(top + height))));
        }
    }
    m_rows = std::move(built);
    return 1;
}

// ---------------------------------------------------------------------------
// Attributes

int CTableGrid::SetLineColor(COLORREF colour)
{
    m_lineColor = colour;
    for (Row& row : m_rows)
        for (auto& cell : row.cells) cell->SetAllLinesColor(colour);
    return GetRowCount();
}

int CTableGrid::SetInnerLineWidth(int width)
{
    m_innerWidth = width;
    for (Row& row : m_rows)
        for (auto& cell : row.cells) cell->SetAllLinesWidth(width);
    return GetRowCount();
}

// ---------------------------------------------------------------------------
// Rows and cells

int CTableGrid::GetRowCellCount(int row) const
{
    if (row < 1 || row > GetRowCount()) return 0;
    return int(m_rows[std::size_t(row - 1)].cells.size());
}

int CTableGrid::GetRowHeight(int row) const
{
    if (row < 1 || row > GetRowCount()) return -1;
    return int(m_rows[std::size_t(row - 1)].height);
}

int CTableGrid::IsValidCell(int row, int index) const
{
    return row >= 1 && row <= GetRowCount() && index >= 1 && index <= GetRowCellCount(row) ? 1 : 0;
}

CTableCell* CTableGrid::GetCell(int row, int index) const
{
    if (!IsValidCell(row, index)) return nullptr;
    return m_rows[std::size_t(row - 1)].cells[std::size_t(index - 1)].get();
}

int CTableGrid::GetCellRect(const CTableCellAddress& a, CRect& out) const
{
    const CTableCell* cell = GetCell(a);
    if (!cell) return 0;
    out = cell->GetRect();
    return 1;
}

CTableCellAddress CTableGrid::FindAddress(const CTableCell* cell) const
{
    for (int r = 1; r <= GetRowCount(); ++r) {
        const auto& cells = m_rows[std::size_t(r - 1)].cells;
        for (std::size_t i = 0; i < cells.size(); ++i)
            if (cells[i].get() == cell) return CTableCellAddress(r, int(i) + 1);
    }
    return CTableCellAddress();
}

std::unique_ptr<CTableCell> CTableGrid::NewCell()
{
    auto cell = std::make_unique<CTableCell>();
    cell->SetGrid(this);
    return cell;
}

std::unique_ptr<CTableCell> CTableGrid::NewCellFromDefaults(int alignment, const LogFont* font,
                                                            COLORREF textColor, COLORREF backColor,
                                                            int innerWidth, COLORREF lineColor, const CRect& rect)
{
    return std::make_unique<CTableCell>(this, alignment, font, textColor, backColor, innerWidth, lineColor,
                                        rect.left, rect.top, rect.right, rect.bottom);
}

std::unique_ptr<CTableCell> CTableGrid::CopyCellLayout(const CTableCell* cell)
{
    return cell ? cell->CopyLayout(this) : nullptr;
}

std::unique_ptr<CTableCell> CTableGrid::TakeCell(const CTableCellAddress& a)
{
    auto& cells = m_rows[std::size_t(a.row - 1)].cells;
    std::unique_ptr<CTableCell> cell = std::move(cells[std::size_t(a.index - 1)]);
    cells.erase(cells.begin() + (a.index - 1));
    return cell;
}

// ---------------------------------------------------------------------------
// Cell contents and lines through the grid

namespace {

template <class Grid, class Action> int WithCell(Grid& grid, const CTableCellAddress& a, Action action)
{
    CTableCell* cell = grid.GetCell(a);
    if (!cell) return 0;
    action(*cell);
    return 1;
}

} // namespace

int CTableGrid::SetCellText(const CTableCellAddress& a, const std::string& text)
{
    return WithCell(*this, a, [&](CTableCell& c) { c.SetText(text); });
}

const char* CTableGrid::GetCellText(const CTableCellAddress& a) const
{
    const CTableCell* cell = GetCell(a);
    return cell ? cell->GetTextPtr() : "";
}

int CTableGrid::SetCellAlignment(const CTableCellAddress& a, int alignment)
{
    return WithCell(*this, a, [&](CTableCell& c) { c.SetAlignment(alignment); });
}

int CTableGrid::GetCellAlignment(const CTableCellAddress& a) const
{
    const CTableCell* cell = GetCell(a);
    return cell ? cell->GetAlignment() : 0;
}

int CTableGrid::SetCellBackColor(const CTableCellAddress& a, COLORREF colour)
{
    return WithCell(*this, a, [&](CTableCell& c) { c.SetBackColor(colour); });
}

COLORREF CTableGrid::GetCellBackColor(const CTableCellAddress& a) const
{
    const CTableCell* cell = GetCell(a);
    return cell ? cell->GetBackColor() : 0;
}

int CTableGrid::SetCellTextColor(const CTableCellAddress& a, COLORREF colour)
{
    return WithCell(*this, a, [&](CTableCell& c) { c.SetTextColor(colour); });
}

COLORREF CTableGrid::GetCellTextColor(const CTableCellAddress& a) const
{
    const CTableCell* cell = GetCell(a);
    return cell ? cell->GetTextColor() : 0;
}

int CTableGrid::SetCellFont(const CTableCellAddress& a, const LogFont* font)
{
    return WithCell(*this, a, [&](CTableCell& c) { c.SetFont(font); });
}

const LogFont* CTableGrid::GetCellFont(const CTableCellAddress& a) const
{
    const CTableCell* cell = GetCell(a);
    return cell ? cell->GetFont() : nullptr;
}

int CTableGrid::GetCellBorderWidth(const CTableCellAddress& a, int line) const
{
    const CTableCell* cell = GetCell(a);
    return cell ? cell->GetBorderWidth(line) : -1;
}

int CTableGrid::SetCellSideWidth(const CTableCellAddress& a, int width)
{
    if (width < 1) return 0;
    return WithCell(*this, a, [&](CTableCell& c) { c.SetSideWidth(width); });
}

int CTableGrid::FindCellMainDiagonal(const CTableCellAddress& a, CTableBorderLine& out) const
{
    const CTableCell* cell = GetCell(a);
    return cell && cell->FindMainDiagonal(out) ? 1 : 0;
}

int CTableGrid::SetCellMainDiagonal(const CTableCellAddress& a, COLORREF colour, int width)
{
    CTableCell* cell = GetCell(a);
    return cell && width >= 1 && cell->SetMainDiagonal(colour, width) ? 1 : 0;
}

int CTableGrid::FindCellAntiDiagonal(const CTableCellAddress& a, CTableBorderLine& out) const
{
    const CTableCell* cell = GetCell(a);
    return cell && cell->FindAntiDiagonal(out) ? 1 : 0;
}

int CTableGrid::SetCellAntiDiagonal(const CTableCellAddress& a, COLORREF colour, int width)
{
    CTableCell* cell = GetCell(a);
    return cell && width >= 1 && cell->SetAntiDiagonal(colour, width) ? 1 : 0;
}

int CTableGrid::AddCellDiagonals(const CTableCellAddress& a, bool main, bool anti, COLORREF colour, int width)
{
    if (width < 1) return 0;
    return WithCell(*this, a, [&](CTableCell& c) { c.AddDiagonals(main, anti, colour, width); });
}

int CTableGrid::RemoveCellDiagonals(const CTableCellAddress& a, bool main, bool anti)
{
    return WithCell(*this, a, [&](CTableCell& c) { c.RemoveDiagonals(main, anti); });
}

// ---------------------------------------------------------------------------
// Geometry

long long CTableGrid::RowTop(int row) const
{
    long long y = m_origin.y;
    for (int r = 1; r < row && r <= GetRowCount(); ++r) y += m_rows[std::size_t(r - 1)].height;
    return y;
}

long long CTableGrid::RowBottom(int row) const
{
    return RowTop(row + 1);
}

int CTableGrid::RowStartingAt(long long y) const
{
    long long line = m_origin.y;
    for (int r = 1; r <= GetRowCount(); ++r) {
        if (line == y) return r;
        line += m_rows[std::size_t(r - 1)].height;
    }
    return 0;
}

int CTableGrid::RowEndingAt(long long y) const
{
    long long line = m_origin.y;
    for (int r = 1; r <= GetRowCount(); ++r) {
        line += m_rows[std::size_t(r - 1)].height;
        if (line == y) return r;
    }
    return 0;
}

int CTableGrid::GetTableWidth() const
{
    long long right = m_origin.x;
    for (const Row& row : m_rows)
        for (const auto& cell : row.cells) right = std::max<long long>(right, cell->GetRect().right);
    return Clamp(right - m_origin.x);
}

int CTableGrid::GetTableHeight() const
{
    long long bottom = m_origin.y;
    for (const Row& row : m_rows)
        for (const auto& cell : row.cells) bottom = std::max<long long>(bottom, cell->GetRect().bottom);
    return Clamp(bottom - m_origin.y);
}

CRect CTableGrid::GetTableRect() const
{
    return CRect(m_origin.x, m_origin.y, Clamp((long long)m_origin.x + GetTableWidth()),
                 Clamp((long long)m_origin.y + GetTableHeight()));
}

CRect CTableGrid::GetBoundRect() const
{
    const long long border = m_borderWidth;
    const long long inner = m_innerWidth;
    const int grow = border >= inner ? RoundToInt(double(2 * border - inner) / 2.0) : RoundToInt(double(inner) / 2.0);
    const CRect table = GetTableRect();
    return CRect(Clamp((long long)table.left - grow), Clamp((long long)table.top - grow),
                 Clamp((long long)table.right + grow), Clamp((long long)table.bottom + grow));
}

void CTableGrid::MoveTo(int x, int y)
{
    if (CPoint(x, y) == m_origin || m_rows.empty()) return;
    const long long dx = (long long)x - m_origin.x;
    const long long dy = (long long)y - m_origin.y;
    for (Row& row : m_rows)
        for (auto& cell : row.cells) cell->SetRect(Offset(cell->GetRect(), dx, dy));
    m_origin = CPoint(x, y);
}

int CTableGrid::ResizeToRect(const CRect& rect)
{
    const long long newWidth = Width(rect);
    const long long newHeight = Height(rect);
    const long long oldWidth = GetTableWidth();
    const long long oldHeight = GetTableHeight();
    if (newWidth < 1 || newHeight < 1 || oldWidth < 1 || oldHeight < 1) return 0;
    const double sx = double(newWidth) / double(oldWidth);
    const double sy = double(newHeight) / double(oldHeight);

    // Every new height and rectangle first, so a refusal changes nothing.
    std::vector<std::uint32_t> heights;
    long long above = 0;
    for (const Row& row : m_rows) {
        const long long h = RoundToInt((above + row.height) * sy) - (long long)RoundToInt(above * sy);
        if (h < 1) return 0;
        heights.push_back(std::uint32_t(h));
        above += row.height;
    }
    auto scaled = [](long long offset, double s, int to) { return Clamp(to + (long long)RoundToInt(offset * s)); };
    std::vector<CRect> rects;
    for (const Row& row : m_rows) {
        for (const auto& cell : row.cells) {
            const CRect& r = cell->GetRect();
            const CRect n(scaled((long long)r.left - m_origin.x, sx, rect.left),
                          scaled((long long)r.top - m_origin.y, sy, rect.top),
                          scaled((long long)r.right - m_origin.x, sx, rect.left),
                          scaled((long long)r.bottom - m_origin.y, sy, rect.top));
            if ((cell->GetWidth() >= 1 && Width(n) < 1) || (cell->GetHeight() >= 1 && Height(n) < 1)) return 0;
            rects.push_back(n);
        }
    }
    std::size_t k = 0;
    for (std::size_t r = 0; r < m_rows.size(); ++r) {
        m_rows[r].height = heights[r];
        for (auto& cell : m_rows[r].cells) cell->SetRect(rects[k++]);
    }
    m_origin = rect.TopLeft();
    return 1;
}

// ---------------------------------------------------------------------------
// Finding cells

template <class Match> int CTableGrid::FindFirst(int x, int y, CTableCellAddress& out, Match match) const
{
    if (!InsideOrigin(x, y)) return 0;
    for (int r = 1; r <= GetRowCount(); ++r) {
        const auto& cells = m_rows[std::size_t(r - 1)].cells;
        for (std::size_t i = 0; i < cells.size(); ++i) {
            if (match(cells[i]->GetRect())) {
                out = CTableCellAddress(r, int(i) + 1);
                return 1;
            }
        }
    }
    return 0;
}

int CTableGrid::HitTestCell(int x, int y, CTableCellAddress& out) const
{
    return FindFirst(x, y, out, [&](const CRect& r) { return r.PtInRect(CPoint(x, y)); });
}

int CTableGrid::FindCellByTopLeft(int x, int y, CTableCellAddress& out) const
{
    return FindFirst(x, y, out, [&](const CRect& r) { return r.left == x && r.top == y; });
}

int CTableGrid::FindCellByTopRight(int x, int y, CTableCellAddress& out) const
{
    return FindFirst(x, y, out, [&](const CRect& r) { return r.right == x && r.top == y; });
}

int CTableGrid::FindCellByLeftEdge(int x, int y, CTableCellAddress& out) const
{
    return FindFirst(x, y, out, [&](const CRect& r) { return r.left == x && r.top <= y && y < r.bottom; });
}

int CTableGrid::FindCellByRightEdge(int x, int y, CTableCellAddress& out) const
{
    return FindFirst(x, y, out, [&](const CRect& r) { return r.right == x && r.top <= y && y < r.bottom; });
}

int CTableGrid::FindCellByTopEdge(int x, int y, CTableCellAddress& out) const
{
    return FindFirst(x, y, out, [&](const CRect& r) { return r.top == y && r.left <= x && x < r.right; });
}

int CTableGrid::FindCellByBottomEdge(int x, int y, CTableCellAddress& out) const
{
    return FindFirst(x, y, out, [&](const CRect& r) { return r.bottom == y && r.left <= x && x < r.right; });
}

int CTableGrid::FindCellAtOrLeftOf(int row, int x, int y, CTableCellAddress& out) const
{
    if (!InsideOrigin(x, y) || row < 1 || row > GetRowCount()) return 0;
    const auto& cells = m_rows[std::size_t(row - 1)].cells;
    for (std::size_t i = cells.size(); i-- > 0;) {
        if (cells[i]->GetRect().left <= x) {
            out = CTableCellAddress(row, int(i) + 1);
            return 1;
        }
    }
    return 0;
}

int CTableGrid::FindCellAtOrRightOf(int row, int x, int y, CTableCellAddress& out) const
{
    if (!InsideOrigin(x, y) || row < 1 || row > GetRowCount()) return 0;
    const auto& cells = m_rows[std::size_t(row - 1)].cells;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (cells[i]->GetRect().left >= x) {
            out = CTableCellAddress(row, int(i) + 1);
            return 1;
        }
    }
    return 0;
}

int CTableGrid::HitTestVerticalLine(int x, int y, int tolerance, CTableCellAddress& out, int& side) const
{
    if (!InsideOrigin(x, y)) return 0;
    const long long t = tolerance;
    auto near = [&](int edge) { return (long long)edge - t <= x && x <= (long long)edge + t; };
    for (int r = 1; r <= GetRowCount(); ++r) {
        const auto& cells = m_rows[std::size_t(r - 1)].cells;
        for (std::size_t i = 0; i < cells.size(); ++i) {
            const CRect& c = cells[i]->GetRect();
            if (!(c.top < y && y < c.bottom)) continue;
            if (near(c.left) || near(c.right)) {
                out = CTableCellAddress(r, int(i) + 1);
                side = near(c.left) ? 1 : 0;
                return 1;
            }
        }
    }
    return 0;
}

int CTableGrid::HitTestHorizontalLine(int x, int y, CTableCellAddress& out, int tolerance) const
{
    const long long t = tolerance;
    const bool onTop = std::llabs((long long)y - m_origin.y) <= t;
    return FindFirst(x, y, out, [&](const CRect& c) {
        const bool onBottom = (long long)c.bottom - t <= y && y <= (long long)c.bottom + t && c.left <= x && x <= c.right;
        return onBottom || onTop;
    });
}

void CTableGrid::GetCellsInRect(const CRect& rect, CTableCellList& out) const
{
    for (int r = 1; r <= GetRowCount(); ++r) {
        const auto& cells = m_rows[std::size_t(r - 1)].cells;
        for (std::size_t i = 0; i < cells.size(); ++i) {
            const CRect& c = cells[i]->GetRect();
            if (std::max(c.left, rect.left) < std::min(c.right, rect.right) &&
                std::max(c.top, rect.top) < std::min(c.bottom, rect.bottom))
                out.insert(out.begin(), CTableCellAddress(r, int(i) + 1));
        }
    }
}

// ---------------------------------------------------------------------------
// Spans and collections

int CTableGrid::GetCellRowSpan(const CTableCellAddress& a) const
{
    const CTableCell* cell = GetCell(a);
    if (!cell) return -1;
    const long long height = cell->GetHeight();
    long long sum = 0;
    for (int r = a.row; r <= GetRowCount(); ++r) {
        sum += m_rows[std::size_t(r - 1)].height;
        if (sum == height) return r - a.row + 1;
        if (sum > height) return 0;
    }
    return 0;
}

template <class Pred>
void CTableGrid::CollectWhere(int firstRow, int lastRow, CTableCellList& out, Pred pred) const
{
    out.clear();
    for (int r = std::max(1, firstRow); r <= std::min(lastRow, GetRowCount()); ++r) {
        const auto& cells = m_rows[std::size_t(r - 1)].cells;
        for (std::size_t i = 0; i < cells.size(); ++i) {
            const CTableCellAddress a(r, int(i) + 1);
            if (pred(a, *cells[i])) out.push_back(a);
        }
    }
}

int CTableGrid::CollectRowCells(int row, CTableCellList& out) const
{
    out.clear();
    if (row < 1 || row > GetRowCount()) return 0;
    CollectWhere(row, row, out, [](const CTableCellAddress&, const CTableCell&) { return true; });
    return 1;
}

int CTableGrid::CollectSingleRowCells(int row, CTableCellList& out) const
{
    out.clear();
    if (row < 1 || row > GetRowCount()) return 0;
    CollectWhere(row, row, out, [this](const CTableCellAddress& a, const CTableCell&) { return GetCellRowSpan(a) == 1; });
    return 1;
}

int CTableGrid::CollectMultiRowCells(int row, CTableCellList& out) const
{
    out.clear();
    if (row < 1 || row > GetRowCount()) return 0;
    CollectWhere(row, row, out, [this](const CTableCellAddress& a, const CTableCell&) { return GetCellRowSpan(a) > 1; });
    return 1;
}

int CTableGrid::CollectCellsBelowRow(int row, CTableCellList& out) const
{
    out.clear();
    if (row < 0 || row >= GetRowCount()) return 0;
    CollectWhere(row + 1, GetRowCount(), out, [](const CTableCellAddress&, const CTableCell&) { return true; });
    return 1;
}

int CTableGrid::CollectCellsEndingAtRowBottom(int row, CTableCellList& out) const
{
    out.clear();
    if (row < 1 || row > GetRowCount()) return 0;
    const long long line = RowBottom(row);
    CollectWhere(1, row - 1, out, [line](const CTableCellAddress&, const CTableCell& c) { return c.GetRect().bottom == line; });
    return out.empty() ? 0 : 1;
}

int CTableGrid::CollectCellsCrossingRowBottom(int row, CTableCellList& out) const
{
    out.clear();
    if (row < 1 || row > GetRowCount()) return 0;
    const long long line = RowBottom(row);
    CollectWhere(1, row - 1, out, [line](const CTableCellAddress&, const CTableCell& c) { return c.GetRect().bottom > line; });
    return out.empty() ? 0 : 1;
}

int CTableGrid::CollectCellsReachingRowBottom(int row, CTableCellList& out) const
{
    out.clear();
    if (row < 1 || row > GetRowCount()) return 0;
    const long long line = RowBottom(row);
    CollectWhere(1, row - 1, out, [line](const CTableCellAddress&, const CTableCell& c) { return c.GetRect().bottom >= line; });
    return out.empty() ? 0 : 1;
}

int CTableGrid::CollectColumnCells(const CTableCellAddress& a, CTableCellList& out) const
{
    out.clear();
    const CTableCell* p = GetCell(a);
    if (!p) return 0;
    const int L = p->GetRect().left;
    const int R = p->GetRect().right;
    CollectWhere(1, GetRowCount(), out, [L, R](const CTableCellAddress&, const CTableCell& c) {
        const CRect& r = c.GetRect();
        return L <= r.left && r.left < R && L < r.right && r.right <= R;
    });
    return out.empty() ? 0 : 1;
}

int CTableGrid::CollectCellsRightOfColumn(const CTableCellAddress& a, CTableCellList& out) const
{
    out.clear();
    const CTableCell* p = GetCell(a);
    if (!p) return 0;
    const int R = p->GetRect().right;
    CollectWhere(1, GetRowCount(), out, [R](const CTableCellAddress&, const CTableCell& c) { return c.GetRect().left >= R; });
    return out.empty() ? 0 : 1;
}

int CTableGrid::CollectCellsOnBottomLine(const CTableCellAddress& a, CTableCellList& out) const
{
    out.clear();
    const CTableCell* p = GetCell(a);
    const int span = GetCellRowSpan(a);
    if (!p || span < 1) return 0;
    const int B = p->GetRect().bottom;
    CollectWhere(1, a.row + span - 1, out, [B](const CTableCellAddress&, const CTableCell& c) {
        return c.GetRect().top < B && B <= c.GetRect().bottom;
    });
    return 1;
}

int CTableGrid::CollectCellsBelowCell(const CTableCellAddress& a, CTableCellList& out) const
{
    out.clear();
    const CTableCell* p = GetCell(a);
    if (!p) return 0;
    const int B = p->GetRect().bottom;
    CollectWhere(a.row + 1, GetRowCount(), out, [B](const CTableCellAddress&, const CTableCell& c) { return c.GetRect().top >= B; });
    return 1;
}

int CTableGrid::CollectCellsOnVerticalLine(int which, const CTableCellAddress& a, int side, CTableCellList& out) const
{
    out.clear();
    const CTableCell* p = GetCell(a);
    if (!p) return 0;
    const int x = side == 1 ? p->GetRect().left : p->GetRect().right;
    CollectWhere(1, GetRowCount(), out, [x, which](const CTableCellAddress&, const CTableCell& c) {
        return (which == 1 ? c.GetRect().left : c.GetRect().right) == x;
    });
    return out.empty() ? 0 : 1;
}

void CTableGrid::OffsetCells(const CTableCellList& cells, long long dx, long long dy)
{
    for (const CTableCellAddress& a : cells)
        if (CTableCell* c = GetCell(a)) c->SetRect(Offset(c->GetRect(), dx, dy));
}

void CTableGrid::GrowBottoms(const CTableCellList& cells, long long dy)
{
    for (const CTableCellAddress& a : cells) {
        if (CTableCell* c = GetCell(a)) {
            CRect r = c->GetRect();
            r.bottom = Clamp(r.bottom + dy);
            c->SetRect(r);
        }
    }
}

void CTableGrid::GrowRights(const CTableCellList& cells, long long dx)
{
    for (const CTableCellAddress& a : cells) {
        if (CTableCell* c = GetCell(a)) {
            CRect r = c->GetRect();
            r.right = Clamp(r.right + dx);
            c->SetRect(r);
        }
    }
}

void CTableGrid::MoveLefts(const CTableCellList& cells, long long dx)
{
    for (const CTableCellAddress& a : cells) {
        if (CTableCell* c = GetCell(a)) {
            CRect r = c->GetRect();
            r.left = Clamp(r.left + dx);
            c->SetRect(r);
        }
    }
}

void CTableGrid::InsertByPosition(int row, std::unique_ptr<CTableCell> cell)
{
    auto& cells = m_rows[std::size_t(row - 1)].cells;
    const CRect r = cell->GetRect();
    std::size_t at = 0;
    const auto right = std::find_if(cells.begin(), cells.end(),
                                    [&](const auto& c) { return c->GetRect().left >= r.right; });
    if (right != cells.end()) {
        at = std::size_t(right - cells.begin());
    } else {
        for (std::size_t i = cells.size(); i-- > 0;) {
            if (cells[i]->GetRect().left <= r.left) {
                at = i + 1;
                break;
            }
        }
    }
    cells.insert(cells.begin() + std::ptrdiff_t(at), std::move(cell));
}

void CTableGrid::InsertRowAt(int before, std::uint32_t height)
{
    Row row;
    row.height = height;
    m_rows.insert(m_rows.begin() + (before - 1), std::move(row));
}
