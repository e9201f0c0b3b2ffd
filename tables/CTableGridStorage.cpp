// Drawing, copying and the record of the table grid.
#include "tables/CTableGrid.h"

#include "tables/GridArithmetic.h"

#include "geometry/Distance.h"
#include "geometry/Mapping.h"
#include "platform/CArchive.h"
#include "platform/CDC.h"

#include <algorithm>

using namespace TableArithmetic;

namespace {

constexpr int kMaxPenPixels = 1 << 14;

bool Overlaps(const CRect& a, const CRect& b)
{
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// The device pixels a cell can paint: its rectangle, the pixel its fill
// reaches beyond, and half its widest line.
CRect DeviceExtent(const CTableCell& cell, double scale, int originX, int originY)
{
    const CRect& r = cell.GetRect();
    CRect device = ModelToDeviceRect(r.left, r.top, r.right, r.bottom, scale, originX, originY);
    device.NormalizeRect();
    long long widest = 0;
    for (const CTableBorderLine& line : cell.Lines()) widest = std::max<long long>(widest, line.GetWidth());
    const int grow = std::min(kMaxPenPixels, RoundToInt(widest / scale)) / 2 + 2;
    return CRect(Clamp((long long)device.left - grow), Clamp((long long)device.top - grow),
                 Clamp((long long)device.right + grow), Clamp((long long)device.bottom + grow));
}

} // namespace

// ---------------------------------------------------------------------------
// Drawing

void CTableGrid::Draw(CDC* dc, double scale, int originX, int originY, const CRect& clip) const
{
    if (!dc || !(scale > 0) || m_rows.empty()) return;
    for (const Row& row : m_rows)
        for (const auto& cell : row.cells)
            if (Overlaps(DeviceExtent(*cell, scale, originX, originY), clip)) cell->Draw(dc, scale, originX, originY, clip);

    const int pixels = std::clamp(RoundToInt(m_borderWidth / scale), 1, kMaxPenPixels);
    const CPen previous = dc->SelectPen(CPen{PS_SOLID, pixels, m_lineColor});
    const int push = m_borderWidth < m_innerWidth
                         ? 0
                         : RoundToInt(((long long)m_borderWidth - m_innerWidth) / (2.0 * scale));
    DrawFrame(dc, scale, originX, originY, push);
    dc->SelectPen(previous);
}

void CTableGrid::DrawHighlight(CDC* dc, double scale, int originX, int originY, const CRect&) const
{
    if (!dc || !(scale > 0) || m_rows.empty()) return;
    const long long border = m_borderWidth;
    const long long inner = m_innerWidth;
    const int push = border < inner ? RoundToInt(inner / (2.0 * scale)) : RoundToInt((2 * border - inner) / (2.0 * scale));
    DrawFrame(dc, scale, originX, originY, push);
}

void CTableGrid::DrawFrame(CDC* dc, double scale, int originX, int originY, int push) const
{
    const CPoint topLeft = ModelToDevicePoint(m_origin.x, m_origin.y, scale, originX, originY);
    const long long w = RoundToInt(GetTableWidth() / scale);
    const long long h = RoundToInt(GetTableHeight() / scale);
    const int left = Clamp((long long)topLeft.x - push);
    const int top = Clamp((long long)topLeft.y - push);
    const int right = Clamp(topLeft.x + w + push);
    const int bottom = Clamp(topLeft.y + h + push);
    const CPoint frame[] = {{left, top}, {right, top}, {right, bottom}, {left, bottom}, {left, top}};
    dc->Polyline(frame, 5);
}

void CTableGrid::DrawCells(CDC* dc, double scale, int originX, int originY, const CTableCellList& cells,
                           const CRect& clip) const
{
    for (const CTableCellAddress& a : cells)
        if (const CTableCell* cell = GetCell(a)) cell->DrawInverted(dc, scale, originX, originY, clip);
}

// ---------------------------------------------------------------------------
// Copying

void CTableGrid::CopyFrom(const CTableGrid& other)
{
    if (&other == this) return;
    std::vector<Row> rows(other.m_rows.size());
    for (std::size_t r = 0; r < rows.size(); ++r) {
        rows[r].height = other.m_rows[r].height;
        rows[r].cells.reserve(other.m_rows[r].cells.size());
        for (const auto& cell : other.m_rows[r].cells) rows[r].cells.push_back(cell->Clone(this));
    }
    m_origin = other.m_origin;
    m_lineColor = other.m_lineColor;
    m_borderWidth = other.m_borderWidth;
    m_innerWidth = other.m_innerWidth;
    m_margins = other.m_margins;
    m_rows = std::move(rows);
}

// ---------------------------------------------------------------------------
// The record

int CTableGrid::Load(CArchive& ar)
{
    CTableGrid read;
    std::uint32_t lineColor = 0;
    std::int32_t border = 0;
    std::int32_t inner = 0;
    std::int32_t rowCount = 0;
    ar >> read.m_origin >> lineColor >> border >> inner >> read.m_margins >> rowCount;
    read.m_lineColor = lineColor;
    read.m_borderWidth = border;
    read.m_innerWidth = inner;
    // Two 4-byte numbers per row, then at least the smallest cell record
    // for every cell the rows announce.
    ar.RequireItems(rowCount, 8);
    std::vector<std::uint32_t> counts(static_cast<std::size_t>(rowCount));
    read.m_rows.resize(std::size_t(rowCount));
    long long cells = 0;
    for (std::uint32_t& count : counts) {
        ar >> count;
        cells += count;
    }
    for (Row& row : read.m_rows) ar >> row.height;
    ar.RequireItems(cells, CTableCell::kMinRecordSize);
    for (std::size_t r = 0; r < counts.size(); ++r) {
        auto& rowCells = read.m_rows[r].cells;
        rowCells.reserve(counts[r]);
        for (std::uint32_t i = 0; i < counts[r]; ++i) {
            std::unique_ptr<CTableCell> cell = read.NewCell();
            cell->Load(ar);
            rowCells.push_back(std::move(cell));
        }
    }
    SwapContent(read);
    return 1;
}

int CTableGrid::Store(CArchive& ar) const
{
    ar << m_origin << std::uint32_t(m_lineColor) << std::int32_t(m_borderWidth) << std::int32_t(m_innerWidth)
       << m_margins << std::int32_t(m_rows.size());
    for (const Row& row : m_rows) ar << std::uint32_t(row.cells.size());
    for (const Row& row : m_rows) ar << row.height;
    for (const Row& row : m_rows)
        for (const auto& cell : row.cells) cell->Store(ar);
    return 1;
}
