#include "tables/CTableCell.h"

#include "tables/CTableGrid.h"

#include "geometry/Distance.h"
#include "geometry/Mapping.h"
#include "platform/CArchive.h"
#include "platform/CDC.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

namespace {

constexpr int kLeftSide = 0;
constexpr int kSideCount = 4;

CTableBorderLine MainDiagonalOf(const CRect& r, const CTableBorderLine& style)
{
    return CTableBorderLine(style.GetWidth(), style.GetColor(), r.TopLeft(), r.BottomRight());
}

CTableBorderLine AntiDiagonalOf(const CRect& r, const CTableBorderLine& style)
{
    return CTableBorderLine(style.GetWidth(), style.GetColor(), CPoint(r.right, r.top), CPoint(r.left, r.bottom));
}

bool IsMainDiagonalOf(const CTableBorderLine& line, const CRect& r)
{
    return line.GetStart() == r.TopLeft() && line.GetEnd() == r.BottomRight();
}

bool IsAntiDiagonalOf(const CTableBorderLine& line, const CRect& r)
{
    return line.GetStart() == CPoint(r.right, r.top) && line.GetEnd() == CPoint(r.left, r.bottom);
}

// The ends of side i (left, top, right, bottom), clockwise round r.
void SideEnds(const CRect& r, int side, CPoint& start, CPoint& end)
{
    switch (side) {
    case 0: start = CPoint(r.left, r.bottom); end = CPoint(r.left, r.top); break;
    case 1: start = CPoint(r.left, r.top); end = CPoint(r.right, r.top); break;
    case 2: start = CPoint(r.right, r.top); end = CPoint(r.right, r.bottom); break;
    default: start = CPoint(r.right, r.bottom); end = CPoint(r.left, r.bottom); break;
    }
}

// A font size in page units as device pixels; a width of 0 stays 0 (the
// font's own width).
LogFont DeviceFont(const LogFont& stored, double scale)
{
    LogFont font = stored;
    font.lfHeight = ModelToDeviceFontSize(stored.lfHeight, scale);
    font.lfWidth = stored.lfWidth == 0 ? 0 : ModelToDeviceFontSize(stored.lfWidth, scale);
    font.lfEscapement = 0;
    return font;
}

// Restores what a cell changes in the drawing context.
class DcState {
public:
    explicit DcState(CDC* dc)
        : m_dc(dc), m_pen(dc->GetPen()), m_brush(dc->GetBrush()), m_font(dc->GetFont()),
          m_text(dc->GetTextColor()), m_bk(dc->GetBkColor()), m_mode(dc->GetBkMode())
    {
    }
    ~DcState()
    {
        m_dc->SelectPen(m_pen);
        m_dc->SelectBrush(m_brush);
        if (m_dc->GetFont() != m_font) m_dc->SelectFont(m_font);
        m_dc->SetTextColor(m_text);
        m_dc->SetBkColor(m_bk);
        m_dc->SetBkMode(m_mode);
    }
    DcState(const DcState&) = delete;
    DcState& operator=(const DcState&) = delete;

private:
    CDC* m_dc;
    CPen m_pen;
    CBrush m_brush;
    LogFont m_font;
    COLORREF m_text;
    COLORREF m_bk;
    int m_mode;
};

} // namespace

CTableCell::CTableCell(CTableGrid* grid, int alignment, const LogFont* font, COLORREF textColor,
                       COLORREF backColor, int sideWidth, COLORREF sideColor, int left, int top, int right,
                       int bottom)
    : m_alignment(alignment), m_textColor(textColor), m_backColor(backColor), m_rect(left, top, right, bottom),
      m_grid(grid)
{
    SetFont(font);
    CreateSideBorders(sideWidth, sideColor);
}

void CTableCell::SetFont(const LogFont* font)
{
    if (!font) return;
    if (m_font)
        *m_font = *font;
    else
        m_font = std::make_unique<LogFont>(*font);
}

void CTableCell::SetRect(int left, int top, int right, int bottom)
{
    const CRect old = m_rect;
    m_rect = CRect(left, top, right, bottom);
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        CTableBorderLine& line = m_lines[i];
        if (i < kSideCount) {
            CPoint start;
            CPoint end;
            SideEnds(m_rect, int(i), start, end);
            line.SetEnds(start, end);
        } else if (IsMainDiagonalOf(line, old)) {
            line = MainDiagonalOf(m_rect, line);
        } else if (IsAntiDiagonalOf(line, old)) {
            line = AntiDiagonalOf(m_rect, line);
        }
    }
}

// ---------------------------------------------------------------------------
// Lines

CTableBorderLine CTableCell::GetBorderLine(int index) const
{
    if (index < 0 || index >= GetLineCount()) return CTableBorderLine();
    return m_lines[std::size_t(index)];
}

void CTableCell::SetBorderLine(int index, int width, COLORREF colour)
{
    if (index < 0 || index >= GetLineCount()) return;
    m_lines[std::size_t(index)].SetWidth(width);
    m_lines[std::size_t(index)].SetColor(colour);
}

int CTableCell::GetBorderWidth(int index) const
{
    return index < 0 || index >= GetLineCount() ? -1 : m_lines[std::size_t(index)].GetWidth();
}

void CTableCell::SetBorderWidth(int index, int width)
{
    if (index >= 0 && index < GetLineCount()) m_lines[std::size_t(index)].SetWidth(width);
}

void CTableCell::SetBorderColor(int index, COLORREF colour)
{
    if (index >= 0 && index < GetLineCount()) m_lines[std::size_t(index)].SetColor(colour);
}

void CTableCell::GetSideLines(CTableBorderLineList& out) const
{
    out.clear();
    if (m_lines.size() < kSideCount) return;
    out.assign(m_lines.begin(), m_lines.begin() + kSideCount);
}

void CTableCell::SetSideLines(COLORREF colour, int width)
{
    if (m_lines.size() < kSideCount) return;
    for (int i = kLeftSide; i < kSideCount; ++i) SetBorderLine(i, width, colour);
}

void CTableCell::SetSideColor(COLORREF colour)
{
    if (m_lines.size() < kSideCount) return;
    for (int i = kLeftSide; i < kSideCount; ++i) SetBorderColor(i, colour);
}

void CTableCell::SetSideWidth(int width)
{
    if (m_lines.size() < kSideCount) return;
    for (int i = kLeftSide; i < kSideCount; ++i) SetBorderWidth(i, width);
}

void CTableCell::CreateSideBorders(int width, COLORREF colour)
{
    if (m_lines.size() >= 2) return;
    for (int side = 0; side < kSideCount; ++side) {
        CPoint start;
        CPoint end;
        SideEnds(m_rect, side, start, end);
        m_lines.emplace_back(width, colour, start, end);
    }
}

int CTableCell::FindDiagonal(bool main) const
{
    for (std::size_t i = kSideCount; i < m_lines.size(); ++i)
        if (main ? IsMainDiagonalOf(m_lines[i], m_rect) : IsAntiDiagonalOf(m_lines[i], m_rect)) return int(i);
    return -1;
}

bool CTableCell::FindMainDiagonal(CTableBorderLine& out) const
{
    const int i = FindDiagonal(true);
    if (i < 0) return false;
    out = m_lines[std::size_t(i)];
    return true;
}

bool CTableCell::FindAntiDiagonal(CTableBorderLine& out) const
{
    const int i = FindDiagonal(false);
    if (i < 0) return false;
    out = m_lines[std::size_t(i)];
    return true;
}

bool CTableCell::SetMainDiagonal(COLORREF colour, int width)
{
    const int i = FindDiagonal(true);
    if (i >= 0) SetBorderLine(i, width, colour);
    return i >= 0;
}

bool CTableCell::SetAntiDiagonal(COLORREF colour, int width)
{
    const int i = FindDiagonal(false);
    if (i >= 0) SetBorderLine(i, width, colour);
    return i >= 0;
}

bool CTableCell::SetAntiDiagonalWidth(int width)
{
    const int i = FindDiagonal(false);
    if (i >= 0) SetBorderWidth(i, width);
    return i >= 0;
}

void CTableCell::AddDiagonals(bool main, bool anti, COLORREF colour, int width)
{
    const CTableBorderLine style(width, colour, CPoint(), CPoint());
    if (main) m_lines.push_back(MainDiagonalOf(m_rect, style));
    if (!anti) return;
    const CTableBorderLine antiLine = AntiDiagonalOf(m_rect, style);
    if (!main && (m_lines.size() == 1 || m_lines.size() == 5))
        m_lines.insert(m_lines.end() - 1, antiLine);
    else
        m_lines.push_back(antiLine);
}

void CTableCell::RemoveDiagonals(bool main, bool anti)
{
    for (const bool which : {true, false}) {
        if (which ? !main : !anti) continue;
        const int i = FindDiagonal(which);
        if (i < 0) continue;
        const CTableBorderLine found = m_lines[std::size_t(i)];
        m_lines.erase(std::find(m_lines.begin(), m_lines.end(), found));
    }
}

void CTableCell::GetAllLines(CTableBorderLineList& out) const
{
    out = m_lines;
}

void CTableCell::SetAllLines(const CTableBorderLineList& lines)
{
    m_lines = lines;
}

void CTableCell::SetAllLinesColor(COLORREF colour)
{
    for (CTableBorderLine& line : m_lines) line.SetColor(colour);
}

void CTableCell::SetAllLinesWidth(int width)
{
    for (CTableBorderLine& line : m_lines) line.SetWidth(width);
}

// ---------------------------------------------------------------------------
// Text area and measuring

CRect CTableCell::GetTextArea() const
{
    CRect area = m_rect;
    if (!m_grid) return area;
    const CRect& m = m_grid->GetMargins();
    auto shift = [](int v, long long by) { return int(std::clamp<long long>(v + by, INT_MIN, INT_MAX)); };
    area.left = shift(area.left, m.left);
    area.top = shift(area.top, m.top);
    area.right = shift(area.right, -(long long)m.right);
    area.bottom = shift(area.bottom, -(long long)m.bottom);
    return area;
}

CRect CTableCell::GetDeviceTextArea(double scale, int originX, int originY) const
{
    const CRect area = GetTextArea();
    return ModelToDeviceRect(area.left, area.top, area.right, area.bottom, scale, originX, originY);
}

LogFont CTableCell::MeasuringFont() const
{
    LogFont font = m_font ? *m_font : LogFont();
    font.lfEscapement = 0;
    return font;
}

CSize CTableCell::GetCharSize(CDC* dc) const
{
    if (!dc) return CSize();
    const LogFont previous = dc->SelectFont(MeasuringFont());
    const CSize size(dc->GetAvgCharWidth(), dc->GetTextHeight());
    dc->SelectFont(previous);
    return size;
}

CSize CTableCell::MeasureAt(CDC* dc, const CRect& start) const
{
    if (!dc) return CSize();
    const LogFont previous = dc->SelectFont(MeasuringFont());
    CRect box = start;
    box.bottom = box.top;
    dc->DrawText(m_text, box, DT_CALCRECT | DT_WORDBREAK);
    dc->SelectFont(previous);
    return CSize(box.Width(), box.Height());
}

CRect CTableCell::MeasureTextRect(CDC* dc) const
{
    const CRect area = GetTextArea();
    const CSize size = MeasureAt(dc, area);
    return CRect(area.TopLeft(), size);
}

CSize CTableCell::MeasureTextSize(CDC* dc) const
{
    return MeasureAt(dc, GetTextArea());
}

CSize CTableCell::MeasureTextAtWidth(CDC* dc, int width, int characters) const
{
    if (!dc) return CSize();
    int right = width;
    if (width == -1) right = int(std::clamp<long long>((long long)characters * GetCharSize(dc).cx, 0, INT_MAX));
    return MeasureAt(dc, CRect(0, 0, right, 0));
}

// ---------------------------------------------------------------------------
// Drawing

void CTableCell::Draw(CDC* dc, double scale, int originX, int originY, const CRect& clip) const
{
    Paint(dc, scale, originX, originY, clip, m_textColor, m_backColor);
}

void CTableCell::DrawInverted(CDC* dc, double scale, int originX, int originY, const CRect& clip) const
{
    Paint(dc, scale, originX, originY, clip, GetInvertedTextColor(), GetInvertedBackColor());
}

void CTableCell::Paint(CDC* dc, double scale, int originX, int originY, const CRect& clip, COLORREF text,
                       COLORREF back) const
{
    if (!m_grid || !dc || !(scale > 0)) return;
    const CRect device = ModelToDeviceRect(m_rect.left, m_rect.top, m_rect.right, m_rect.bottom, scale, originX,
                                           originY);
    if ((long long)device.right - device.left < 1 || (long long)device.bottom - device.top < 1) return;

    const DcState state(dc);
    dc->SetBkMode(TRANSPARENT);
    // The fill reaches a pixel further right and down; only the part that
    // can show is filled (a cell may reach far beyond the screen).
    const CRect fill(std::max(device.left, clip.left - 1), std::max(device.top, clip.top - 1),
                     int(std::min<long long>((long long)device.right + 1, (long long)clip.right + 1)),
                     int(std::min<long long>((long long)device.bottom + 1, (long long)clip.bottom + 1)));
    if (!fill.IsRectEmpty()) dc->FillSolidRect(fill, back);
    dc->SetTextColor(text);
    for (const CTableBorderLine& line : m_lines) line.Draw(dc, scale, originX, originY);
    if (!m_font) return;
    dc->SelectFont(DeviceFont(*m_font, scale));
    DrawCellText(dc, GetDeviceTextArea(scale, originX, originY));
}

void CTableCell::DrawCellText(CDC* dc, const CRect& area) const
{
    if (m_alignment < 0 || m_alignment > 8 || m_text.empty()) return;
    const long long width = std::llabs((long long)area.right - area.left);
    if (width == 0) return;
    const int average = dc->GetAvgCharWidth();
    if (average <= 0 || width / average < 2) return;

    const int horizontal = m_alignment % 3;
    const int vertical = m_alignment / 3;
    const std::string wrapped = dc->WrapText(m_text, int(std::min<long long>(width, INT_MAX)));

    CRect box = area;
    dc->DrawText(wrapped, box, DT_CALCRECT);
    box.bottom = std::min(box.bottom, area.bottom);
    box.right = std::min(box.right, area.right);
    const long long boxWidth = (long long)box.right - box.left;
    const long long boxHeight = (long long)box.bottom - box.top;
    if (horizontal == 1) {
        box.left = area.left;
        box.right = area.right;
    } else if (horizontal == 2) {
        box.right = area.right;
        box.left = int(std::clamp<long long>(area.right - boxWidth, INT_MIN, INT_MAX));
    }
    if (vertical == 1) {
        const long long shift = ((long long)area.top + area.bottom) / 2 - ((long long)box.top + box.bottom) / 2;
        box.top = int(std::clamp<long long>(box.top + shift, INT_MIN, INT_MAX));
        box.bottom = int(std::clamp<long long>(box.bottom + shift, INT_MIN, INT_MAX));
    } else if (vertical == 2) {
        box.bottom = area.bottom;
        box.top = int(std::clamp<long long>(area.bottom - boxHeight, INT_MIN, INT_MAX));
    }
    static const unsigned kHorizontalFormats[] = {DT_LEFT, DT_CENTER, DT_RIGHT};
    dc->DrawText(wrapped, box, DT_WORDBREAK | kHorizontalFormats[horizontal]);
}

// ---------------------------------------------------------------------------
// Copies and storage

std::unique_ptr<CTableCell> CTableCell::CopyLayout(CTableGrid* grid) const
{
    auto cell = std::make_unique<CTableCell>();
    cell->m_alignment = m_alignment;
    cell->m_textColor = m_textColor;
    cell->m_backColor = m_backColor;
    cell->SetFont(m_font.get());
    cell->m_rect = m_rect;
    cell->m_lines = m_lines;
    cell->m_grid = grid;
    return cell;
}

std::unique_ptr<CTableCell> CTableCell::Clone(CTableGrid* grid) const
{
    std::unique_ptr<CTableCell> cell = CopyLayout(grid);
    cell->m_text = m_text;
    return cell;
}

void CTableCell::Load(CArchive& ar)
{
    std::string text;
    std::int32_t alignment = 0;
    std::uint32_t textColor = 0;
    std::uint32_t backColor = 0;
    CRect rect;
    std::int32_t lineCount = 0;
    ar >> text >> alignment >> textColor >> backColor >> rect >> lineCount;
    ar.RequireItems(lineCount, CTableBorderLine::kRecordSize);
    CTableBorderLineList lines(static_cast<std::size_t>(lineCount));
    for (CTableBorderLine& line : lines) line.Load(ar);
    LogFont font;
    ar >> font.lfHeight >> font.lfWidth >> font.lfEscapement >> font.lfOrientation >> font.lfWeight;
    ar >> font.lfItalic >> font.lfUnderline >> font.lfStrikeOut >> font.lfCharSet >> font.lfOutPrecision
        >> font.lfClipPrecision >> font.lfQuality >> font.lfPitchAndFamily;
    font.SetFaceName(ar.ReadString());

    m_text = std::move(text);
    m_alignment = alignment;
    m_textColor = textColor;
    m_backColor = backColor;
    m_rect = rect;
    m_lines.insert(m_lines.end(), lines.begin(), lines.end());
    SetFont(&font);
}

void CTableCell::Store(CArchive& ar) const
{
    ar << m_text << std::int32_t(m_alignment) << std::uint32_t(m_textColor) << std::uint32_t(m_backColor) << m_rect
       << std::int32_t(m_lines.size());
    for (const CTableBorderLine& line : m_lines) line.Store(ar);
    const LogFont font = m_font ? *m_font : LogFont();
    ar << font.lfHeight << font.lfWidth << font.lfEscapement << font.lfOrientation << font.lfWeight;
    ar << font.lfItalic << font.lfUnderline << font.lfStrikeOut << font.lfCharSet << font.lfOutPrecision
       << font.lfClipPrecision << font.lfQuality << font.lfPitchAndFamily;
    ar << font.FaceName();
}
