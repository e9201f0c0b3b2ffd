// One cell of a table grid: its text with alignment, colours and font, its
// rectangle on the page, and the lines drawn round and across it. The grid
// that owns the cell supplies the cell margins, the space between the
// cell's edges and its text.
//
// The line list: entries 0 to 3 are the sides left, top, right, bottom,
// each running clockwise round the cell (left from the bottom-left corner
// up, top to the right, right down, bottom to the left). Entries from 4 on
// are diagonals, recognised only by their exact end points on the current
// rectangle: the main one from top-left to bottom-right, the anti one from
// top-right to bottom-left. Other entries are left alone.
//
// Lengths are page units; colours 0x00BBGGRR. Texts are GBK bytes and a
// line break is CR LF.
#pragma once

#include "tables/CTableBorderLine.h"

#include "platform/LogFont.h"
#include "platform/Types.h"

#include <memory>
#include <string>
#include <vector>

class CArchive;
class CDC;
class CTableGrid;

using CTableBorderLineList = std::vector<CTableBorderLine>;

class CTableCell {
public:
    // Smallest cell record: an empty text, the fixed fields, no lines and
    // an empty face name.
    static constexpr std::size_t kMinRecordSize = 62;

    // Empty text, no font, no grid, no lines; loading fills the rest.
    CTableCell() = default;
    // The attributes, the rectangle and the four sides in that width and
    // colour. A null font leaves the cell without one.
    CTableCell(CTableGrid* grid, int alignment, const LogFont* font, COLORREF textColor, COLORREF backColor,
               int sideWidth, COLORREF sideColor, int left, int top, int right, int bottom);

    // Text and attributes.
    std::string GetText() const { return m_text; }
    const char* GetTextPtr() const { return m_text.c_str(); }
    const std::string& Text() const { return m_text; }
    void SetText(const std::string& text) { m_text = text; }
    int GetAlignment() const { return m_alignment; }
    void SetAlignment(int alignment) { m_alignment = alignment; }
    COLORREF GetTextColor() const { return m_textColor; }
    void SetTextColor(COLORREF colour) { m_textColor = colour; }
    COLORREF GetBackColor() const { return m_backColor; }
    void SetBackColor(COLORREF colour) { m_backColor = colour; }
    // The colours a selected cell is drawn in.
    COLORREF GetInvertedTextColor() const { return m_textColor ^ 0xFFFFFF; }
    COLORREF GetInvertedBackColor() const { return m_backColor ^ 0xFFFFFF; }
    // Null when the cell has no font.
    const LogFont* GetFont() const { return m_font.get(); }
    // Copies the description; null leaves the font as it is.
    void SetFont(const LogFont* font);
    CTableGrid* GetGrid() const { return m_grid; }
    void SetGrid(CTableGrid* grid) { m_grid = grid; }

    // Rectangle.
    const CRect& GetRect() const { return m_rect; }
    CPoint GetTopLeft() const { return m_rect.TopLeft(); }
    // Widths and heights as 64-bit values: a damaged record may hold any
    // corners.
    long long GetWidth() const { return (long long)m_rect.right - m_rect.left; }
    long long GetHeight() const { return (long long)m_rect.bottom - m_rect.top; }
    // Stores the rectangle and moves the sides and the diagonals that
    // matched the old one.
    void SetRect(int left, int top, int right, int bottom);
    void SetRect(const CRect& r) { SetRect(r.left, r.top, r.right, r.bottom); }

    // Lines by list index (0-based). Getters of an index past the end give
    // an unset line, -1 or 0; setters do nothing.
    int GetLineCount() const { return int(m_lines.size()); }
    const CTableBorderLineList& Lines() const { return m_lines; }
    CTableBorderLine GetBorderLine(int index) const;
    void SetBorderLine(int index, int width, COLORREF colour);
    int GetBorderWidth(int index) const;
    void SetBorderWidth(int index, int width);
    void SetBorderColor(int index, COLORREF colour);

    // The four sides (entries 0-3; nothing unless the list holds them).
    void GetSideLines(CTableBorderLineList& out) const;
    void SetSideLines(COLORREF colour, int width);
    void SetSideColor(COLORREF colour);
    void SetSideWidth(int width);
    // Only when the list holds fewer than two lines: appends the four sides.
    void CreateSideBorders(int width, COLORREF colour);

    // Diagonals (searched from entry 4 on); true when found.
    bool FindMainDiagonal(CTableBorderLine& out) const;
    bool FindAntiDiagonal(CTableBorderLine& out) const;
    bool SetMainDiagonal(COLORREF colour, int width);
    bool SetAntiDiagonal(COLORREF colour, int width);
    bool SetAntiDiagonalWidth(int width);
    // Both flags: main then anti appended. Main only: appended. Anti only:
    // inserted before the last entry when the list holds exactly one or
    // five lines, else appended. No check for one already there.
    void AddDiagonals(bool main, bool anti, COLORREF colour, int width);
    // Removes the first entry equal to each found diagonal named.
    void RemoveDiagonals(bool main, bool anti);

    // Every line.
    void GetAllLines(CTableBorderLineList& out) const;
    void SetAllLines(const CTableBorderLineList& lines);
    void SetAllLinesColor(COLORREF colour);
    void SetAllLinesWidth(int width);

    // Text area: the rectangle less the grid's cell margins (the rectangle
    // itself without a grid), in page units or mapped to the device.
    CRect GetTextArea() const;
    CRect GetDeviceTextArea(double scale, int originX, int originY) const;

    // Measuring with the cell's font at its stored size (so in page units),
    // selected into dc for the measurement; zero sizes without a dc. The
    // text is wrapped to the width as drawing wraps it, so what is measured
    // is what is drawn.
    // (average character width, character height)
    CSize GetCharSize(CDC* dc) const;
    // The text laid out from the text area's top-left: width of the widest
    // wrapped line, height of all lines.
    CRect MeasureTextRect(CDC* dc) const;
    CSize MeasureTextSize(CDC* dc) const;
    // The text laid out at the width (or, when the width is -1, at that
    // many average characters); its size.
    CSize MeasureTextAtWidth(CDC* dc, int width, int characters) const;

    // Background, lines and text; nothing at all without a grid or when the
    // cell is less than a pixel wide or high. The background is filled
    // within the clip (the device rectangle being painted).
    void Draw(CDC* dc, double scale, int originX, int originY, const CRect& clip) const;
    // The same in the inverted colours (a selected cell).
    void DrawInverted(CDC* dc, double scale, int originX, int originY, const CRect& clip) const;

    // A new cell of the grid with this one's rectangle, alignment, colours,
    // font and lines, and an empty text.
    std::unique_ptr<CTableCell> CopyLayout(CTableGrid* grid) const;
    // CopyLayout with the text.
    std::unique_ptr<CTableCell> Clone(CTableGrid* grid) const;

    // The record inside the grid record. Load throws CArchiveError when a
    // count runs past the bytes left or the record is cut short; the cell
    // is then left as it was. A cell without a font stores a zeroed one.
    void Load(CArchive& ar);
    void Store(CArchive& ar) const;

private:
    void Paint(CDC* dc, double scale, int originX, int originY, const CRect& clip, COLORREF text,
               COLORREF back) const;
    void DrawCellText(CDC* dc, const CRect& area) const;
    // The font at its stored size, for measuring.
    LogFont MeasuringFont() const;
    CSize MeasureAt(CDC* dc, const CRect& start) const;
    int FindDiagonal(bool main) const;

    std::string m_text;
    int m_alignment = 0;
    COLORREF m_textColor = 0;
    COLORREF m_backColor = 0;
    std::unique_ptr<LogFont> m_font;
    CRect m_rect;
    CTableBorderLineList m_lines;
    CTableGrid* m_grid = nullptr;
};
