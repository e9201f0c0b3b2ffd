// The body of a table: rows of cells with absolute page rectangles, the row
// heights, the line colour and widths and the cell margins.
//
// Representation. Row r holds the cells whose top-left corner lies on the
// line above it, ordered by their left edges; the line below row r lies at
// origin y plus the heights of rows 1..r. A merged cell is one cell whose
// rectangle covers the merged area; it lives only in its top row, so the
// rows it covers below hold fewer cells. Columns are not stored: they are
// the x positions that cell edges share. A cell's row span is the number
// of rows from its own whose heights add up exactly to its height (0 when
// none do). Together the cells tile the table rectangle.
//
// Cells are addressed by (row, index), both from 1 (CTableCellAddress);
// every operation that takes an address checks it first and answers an
// invalid one with a neutral result (0, null, -1 or "") without changing
// anything. Structural operations return 1 when done and 0 when refused;
// a refused operation leaves the grid as it was.
//
// Files may hold layouts the operations never make (overlapping cells,
// spans of 0, rows without cells): they load, draw and store back as they
// are, and the operations keep to memory-safe answers on them.
//
// The device context that some operations take serves only to measure cell
// texts (the screen context of the view).
#pragma once

#include "tables/CTableCell.h"
#include "tables/CTableCellAddress.h"

#include "platform/LogFont.h"
#include "platform/Types.h"

#include <climits>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CArchive;
class CDC;

using CSplitCountList = std::vector<unsigned>;

class CTableGrid {
public:
    // Origin (0, 0), black lines, border 2, inner lines 1, margins
    // (10, 0, 10, 0), no rows.
    CTableGrid();
    // rows x columns copies of the template cell, laid side by side from
    // the origin.
    CTableGrid(const CPoint& origin, COLORREF lineColor, int borderWidth, int innerWidth, const CRect& margins,
               int rows, int columns, const CTableCell* templateCell);
    // rows x columns cells dividing the rectangle, the origin at its
    // top-left, with the given cell attributes and lines.
    CTableGrid(int rows, int columns, COLORREF lineColor, int borderWidth, int innerWidth, const CRect& margins,
               int alignment, const LogFont* font, COLORREF textColor, COLORREF backColor, const CRect& rect);
    ~CTableGrid();

    CTableGrid(const CTableGrid&) = delete;
    CTableGrid& operator=(const CTableGrid&) = delete;

    // ------------------------------------------------------------------
    // Building and clearing

    // Deletes every cell and row; returns 1.
    int RemoveAll();
    // rows x columns layout copies of the template from the origin, every
    // row as high as the template. 0 (and no change) for counts below 1, no
    // template or a template without a positive size.
    int BuildFromCell(int rows, int columns, const CTableCell* templateCell);
    // rows x columns cells of round(width / columns) by round(height /
    // rows) from the origin (the last ones are not stretched to the
    // rectangle). A size that rounds below 1 is taken as 1. 0 (and no
    // change) for counts below 1.
    int BuildFromLayout(int rows, int columns, int alignment, const LogFont* font, COLORREF textColor,
                        COLORREF backColor, const CRect& rect);

    // ------------------------------------------------------------------
    // Attributes

    COLORREF GetLineColor() const { return m_lineColor; }
    // Also every cell's lines; returns the row count.
    int SetLineColor(COLORREF colour);
    int GetBorderWidth() const { return m_borderWidth; }
    void SetBorderWidth(int width) { m_borderWidth = width; }
    int GetInnerLineWidth() const { return m_innerWidth; }
    // Also every cell's lines; returns the row count.
    int SetInnerLineWidth(int width);
    const CRect& GetMargins() const { return m_margins; }
    void SetMargins(const CRect& margins) { m_margins = margins; }
    int GetMarginLeft() const { return m_margins.left; }
    int GetMarginTop() const { return m_margins.top; }
    int GetMarginRight() const { return m_margins.right; }
    int GetMarginBottom() const { return m_margins.bottom; }
    void SetMarginLeft(int v) { m_margins.left = v; }
    void SetMarginTop(int v) { m_margins.top = v; }
    void SetMarginRight(int v) { m_margins.right = v; }
    void SetMarginBottom(int v) { m_margins.bottom = v; }
    CPoint GetOrigin() const { return m_origin; }
    int GetRowCount() const { return int(m_rows.size()); }

    // ------------------------------------------------------------------
    // Rows and cells

    // Cells that start in the row; 0 outside 1..row count.
    int GetRowCellCount(int row) const;
    // The stored height; -1 outside 1..row count.
    int GetRowHeight(int row) const;

    int IsValidCell(int row, int index) const;
    int IsValidCell(const CTableCellAddress& a) const { return IsValidCell(a.row, a.index); }
    CTableCell* GetCell(int row, int index) const;
    CTableCell* GetCell(const CTableCellAddress& a) const { return GetCell(a.row, a.index); }
    int GetCellRect(const CTableCellAddress& a, CRect& out) const;
    // The address of the cell object; (-1, -1) when it is not in the grid.
    CTableCellAddress FindAddress(const CTableCell* cell) const;

    // New cells owned by this grid (not yet placed in a row).
    std::unique_ptr<CTableCell> NewCell();
    std::unique_ptr<CTableCell> NewCellFromDefaults(int alignment, const LogFont* font, COLORREF textColor,
                                                    COLORREF backColor, int innerWidth, COLORREF lineColor,
                                                    const CRect& rect);
    // The cell's rectangle, alignment, colours, font and lines, an empty
    // text; null for no cell.
    std::unique_ptr<CTableCell> CopyCellLayout(const CTableCell* cell);

    // Cell contents through the grid: setters 0 for an invalid address,
    // getters 0, null or "".
    int SetCellText(const CTableCellAddress& a, const std::string& text);
    const char* GetCellText(const CTableCellAddress& a) const;
    int SetCellAlignment(const CTableCellAddress& a, int alignment);
    int GetCellAlignment(const CTableCellAddress& a) const;
    int SetCellBackColor(const CTableCellAddress& a, COLORREF colour);
    COLORREF GetCellBackColor(const CTableCellAddress& a) const;
    int SetCellTextColor(const CTableCellAddress& a, COLORREF colour);
    COLORREF GetCellTextColor(const CTableCellAddress& a) const;
    int SetCellFont(const CTableCellAddress& a, const LogFont* font);
    const LogFont* GetCellFont(const CTableCellAddress& a) const;

    // Cell lines through the grid (see CTableCell); setters that take a
    // width do nothing for a width below 1.
    int GetCellBorderWidth(const CTableCellAddress& a, int line) const;
    int SetCellSideWidth(const CTableCellAddress& a, int width);
    int FindCellMainDiagonal(const CTableCellAddress& a, CTableBorderLine& out) const;
    int SetCellMainDiagonal(const CTableCellAddress& a, COLORREF colour, int width);
    int FindCellAntiDiagonal(const CTableCellAddress& a, CTableBorderLine& out) const;
    int SetCellAntiDiagonal(const CTableCellAddress& a, COLORREF colour, int width);
    int AddCellDiagonals(const CTableCellAddress& a, bool main, bool anti, COLORREF colour, int width);
    int RemoveCellDiagonals(const CTableCellAddress& a, bool main, bool anti);

    // ------------------------------------------------------------------
    // Geometry

    // Largest right (bottom) edge of the cells less the origin, at least 0.
    int GetTableWidth() const;
    int GetTableHeight() const;
    CRect GetTableRect() const;
    // The table rectangle grown by half the wider of the frame and the
    // inner lines.
    CRect GetBoundRect() const;
    // Moves every cell (and its lines) with the origin.
    void MoveTo(int x, int y);
    // Scales the table into the rectangle about its top-left corner: cell
    // edges and row lines rounded the same way, so they stay together.
    // Refused (0) when the rectangle or the table has no size, or when any
    // row or cell would come out less than a unit high or wide.
    int ResizeToRect(const CRect& rect);

    // ------------------------------------------------------------------
    // Finding cells. All require x >= origin x and y >= origin y and scan
    // rows top to bottom, each left to right, returning the first match.

    int HitTestCell(int x, int y, CTableCellAddress& out) const;
    int FindCellByTopLeft(int x, int y, CTableCellAddress& out) const;
    int FindCellByTopRight(int x, int y, CTableCellAddress& out) const;
    int FindCellByLeftEdge(int x, int y, CTableCellAddress& out) const;
    int FindCellByRightEdge(int x, int y, CTableCellAddress& out) const;
    int FindCellByTopEdge(int x, int y, CTableCellAddress& out) const;
    int FindCellByBottomEdge(int x, int y, CTableCellAddress& out) const;
    // Within one row: the last cell whose left edge is at or left of x /
    // the first whose left edge is at or right of x.
    int FindCellAtOrLeftOf(int row, int x, int y, CTableCellAddress& out) const;
    int FindCellAtOrRightOf(int row, int x, int y, CTableCellAddress& out) const;
    // A vertical line within the tolerance: side 1 a cell's left line, side
    // 0 its right line.
    int HitTestVerticalLine(int x, int y, int tolerance, CTableCellAddress& out, int& side) const;
    // The bottom line of a cell within the tolerance, or the table's top
    // line (reported as cell (1, 1)).
    int HitTestHorizontalLine(int x, int y, CTableCellAddress& out, int tolerance) const;
    // Every cell meeting the rectangle with some area, each added at the
    // head of the list (so in reverse scanning order).
    void GetCellsInRect(const CRect& rect, CTableCellList& out) const;

    // ------------------------------------------------------------------
    // Cell collections: each empties the list, then appends in scanning
    // order; see the .cpp for what each collects.

    int CollectRowCells(int row, CTableCellList& out) const;
    int CollectSingleRowCells(int row, CTableCellList& out) const;
    int CollectMultiRowCells(int row, CTableCellList& out) const;
    int CollectCellsBelowRow(int row, CTableCellList& out) const;
    int CollectCellsEndingAtRowBottom(int row, CTableCellList& out) const;
    int CollectCellsCrossingRowBottom(int row, CTableCellList& out) const;
    int CollectCellsReachingRowBottom(int row, CTableCellList& out) const;
    int CollectColumnCells(const CTableCellAddress& a, CTableCellList& out) const;
    int CollectCellsRightOfColumn(const CTableCellAddress& a, CTableCellList& out) const;
    int CollectCellsOnBottomLine(const CTableCellAddress& a, CTableCellList& out) const;
    int CollectCellsBelowCell(const CTableCellAddress& a, CTableCellList& out) const;
    // which 1: cells whose left edge is on the line, 0: whose right edge
    // is; the line is the cell's left (side 1) or right (side 0) edge.
    int CollectCellsOnVerticalLine(int which, const CTableCellAddress& a, int side, CTableCellList& out) const;

    // Rows from the cell's own whose heights add up exactly to its height;
    // 0 when none do, -1 for an invalid address.
    int GetCellRowSpan(const CTableCellAddress& a) const;

    // ------------------------------------------------------------------
    // Rows, columns and grid lines

    // Moves the rows below and stretches the cells of the row and those
    // reaching through it. 1 also when the height is unchanged; 0 for a
    // height below 1 or a row outside.
    int SetRowHeight(int row, int height);
    // A row as high as the given one, above it (above != 0) or below it.
    int InsertRow(int row, int above);
    // Cells merged across the row keep their text and lose the row's
    // height. The only row is never deleted.
    int DeleteRow(int row);
    // 1 when, from the table's top to its bottom, the cell's column is a
    // stack of cells exactly as wide as the cell.
    int CanInsertColumn(const CTableCellAddress& a) const;
    // A column of the cell's width left (left != 0) or right of its
    // column; refused unless CanInsertColumn holds.
    int InsertColumn(const CTableCellAddress& a, int left);
    // Deletes the cells lying within the cell's left and right edges and
    // closes the gap. Refused when a cell crosses either edge (a merged
    // cell reaching outside) or when nothing would be left.
    int DeleteColumn(const CTableCellAddress& a);

    // Line moves (from a mouse drag); 1 when anything moved.
    // The cell's lower line from from.y towards to.y: down without limit;
    // up no further than the lowest text of the cells on the line plus the
    // bottom margin, and never to a row less than a unit high.
    int MoveHorizontalLine(CDC* dc, const CPoint& from, const CPoint& to, const CTableCellAddress& a);
    // The cell's left (side 1) or right (side 0) line through the whole
    // table, from from.x towards to.x; a shrinking column keeps one
    // average character between its margins unless the line snaps to
    // another cell edge within the tolerance.
    int MoveVerticalLine(CDC* dc, const CPoint& from, const CPoint& to, const CTableCellAddress& a, int side,
                         int tolerance);
    // The same within the selected cells only; the selected cells on the
    // two sides must cover the same stretch of the line, every cell along
    // that stretch selected. A table border moves along its whole length.
    int MoveGridLine(CDC* dc, const CPoint& from, const CPoint& to, const CTableCellAddress& a,
                     const CTableCellList& selection, int side, int tolerance);
    // Every row the selection covers grows by to.y - from.y; every cell
    // follows the new row lines. Refused when a row would be less than a
    // unit high.
    int MoveSelectionHorizontalLine(CDC* dc, const CPoint& from, const CPoint& to, const CTableCellList& selection);
    // Every column the selection covers grows by to.x - from.x; every cell
    // follows the new column lines. Refused when a column would be less
    // than a unit wide.
    int MoveSelectionVerticalLine(CDC* dc, const CPoint& from, const CPoint& to, const CTableCellList& selection);

    // Supporting operations of the line moves.
    // The least slack (width less margins and one average character) of
    // the cells, never more than a width less one unit; 0 when one has
    // none, -1 for an invalid address.
    int GetShrinkLimit(CDC* dc, const CTableCellList& cells) const;
    int GetMaxLeft(const CTableCellList& cells) const;
    int GetMinRight(const CTableCellList& cells) const;
    // The first cell edge e (left before right) with |x - e| <= tolerance
    // and low < e < high.
    int SnapToVerticalLine(int low, int high, int tolerance, int x, int& out) const;
    // The cells of the list that are in the selection, with their vertical
    // extent (top, bottom).
    void FilterSelectedCells(const CTableCellList& cells, const CTableCellList& selection, CTableCellList& out,
                             int& top, int& bottom) const;

    // ------------------------------------------------------------------
    // Merging and splitting. Both check everything first and work on a
    // copy that replaces the grid only when the whole operation succeeded.

    // The selection is exactly the cells that make up a rectangle.
    int CanMergeCells(const CTableCellList& cells) const;
    // The cell at the union's top-left corner covers the union and takes
    // the texts of the others in grid order; rows left without cells are
    // joined to the row above; the row grows when the joined text does not
    // fit. Refused unless CanMergeCells holds for two or more cells.
    int MergeCells(CDC* dc, const CTableCellList& cells);
    // -1 any row count, 0 none, 2 the allowed counts in the list.
    int GetSplitCounts(const CTableCellAddress& a, CSplitCountList& out) const;
    // -2 an invalid address, -1 any count, 0 none, 2 the counts all
    // cells allow (possibly none).
    int GetRangeSplitCounts(int mergeFirst, const CTableCellList& cells, CSplitCountList& out) const;
    // Keeps the counts of `list` that are also in `other`.
    static void IntersectCounts(CSplitCountList& list, const CSplitCountList& other);
    int SplitCell(CDC* dc, const CTableCellAddress& a, int rows, int columns);
    int SplitCellRange(CDC* dc, const CTableCellList& cells, int rows, int columns);

    // Reverse grid order (last row first, right to left); addresses that
    // name no cell are dropped.
    void SortCellList(CTableCellList& cells) const;
    // Union of the cells' rectangles; 0 for an invalid address or an empty
    // union.
    int GetCellsUnionRect(const CTableCellList& cells, CRect& out) const;
    // The same without checks (invalid addresses are skipped).
    CRect GetCellsBoundRect(const CTableCellList& cells) const;

    // ------------------------------------------------------------------
    // Neighbours (the edit box's arrow and Tab keys). The out cell is the
    // current one when there is nowhere to go; it is left untouched for an
    // invalid address or anchor.

    // wrapped is set when the move went on in the row above (left) or
    // below (right); anchorRow keeps horizontal travel on one line.
    int GetLeftNeighbour(int anchorRow, const CTableCellAddress& current, CTableCellAddress& out,
                         int& wrapped) const;
    int GetRightNeighbour(int anchorRow, const CTableCellAddress& current, CTableCellAddress& out,
                          int& wrapped) const;
    // The anchor cell's left edge keeps vertical travel on one line.
    int GetUpperNeighbour(const CTableCellAddress& anchor, const CTableCellAddress& current,
                          CTableCellAddress& out) const;
    int GetLowerNeighbour(const CTableCellAddress& anchor, const CTableCellAddress& current,
                          CTableCellAddress& out) const;

    // ------------------------------------------------------------------
    // Drawing, copying, storage

    // The cells that meet the clip, then the outer frame in the line
    // colour, pushed out by half the border's excess over the inner lines.
    void Draw(CDC* dc, double scale, int originX, int originY, const CRect& clip) const;
    // Only the frame, with the caller's pen.
    void DrawHighlight(CDC* dc, double scale, int originX, int originY, const CRect& clip) const;
    // The listed cells in their inverted (selected) colours.
    void DrawCells(CDC* dc, double scale, int originX, int originY, const CTableCellList& cells,
                   const CRect& clip) const;

    // A deep copy of the other grid.
    void CopyFrom(const CTableGrid& other);

    // The grid record. Load checks every count against the bytes left and
    // throws CArchiveError on a damaged record, leaving the grid as it was;
    // it does not judge the layout. Store writes each row's count as the
    // number of cells it writes.
    int Load(CArchive& ar);
    int Store(CArchive& ar) const;

private:
    struct Row {
        std::uint32_t height = 0;
        std::vector<std::unique_ptr<CTableCell>> cells;
    };

    // Line positions as 64-bit values: rows of a damaged record may add up
    // beyond 32 bits.
    long long RowTop(int row) const;
    long long RowBottom(int row) const;
    // Row whose top line lies at y, 0 when none does.
    int RowStartingAt(long long y) const;
    // Row whose bottom line lies at y, 0 when none does.
    int RowEndingAt(long long y) const;
    bool InsideOrigin(int x, int y) const { return x >= m_origin.x && y >= m_origin.y; }
    // Whether the table can grow by d downwards (rightwards) and every
    // coordinate still be a 32-bit number.
    bool RoomBelow(long long d) const { return (long long)m_origin.y + GetTableHeight() + d <= INT_MAX; }
    bool RoomRight(long long d) const { return (long long)m_origin.x + GetTableWidth() + d <= INT_MAX; }
    template <class Match> int FindFirst(int x, int y, CTableCellAddress& out, Match match) const;
    template <class Pred> void CollectWhere(int firstRow, int lastRow, CTableCellList& out, Pred pred) const;
    void OffsetCells(const CTableCellList& cells, long long dx, long long dy);
    void GrowBottoms(const CTableCellList& cells, long long dy);
    void GrowRights(const CTableCellList& cells, long long dx);
    void MoveLefts(const CTableCellList& cells, long long dx);
    // Inserts the cell into the row at its place by x: before the first
    // cell whose left edge is at or right of its right edge, else after the
    // last whose left edge is at or left of its left edge, else first.
    void InsertByPosition(int row, std::unique_ptr<CTableCell> cell);
    void InsertRowAt(int before, std::uint32_t height);
    std::unique_ptr<CTableCell> TakeCell(const CTableCellAddress& a);
    // Takes over the other grid's content (and gives it this one's).
    void SwapContent(CTableGrid& other);
    // Moves the cell's lower line down until its text fits.
    int FitTextBelow(CDC* dc, const CTableCellAddress& a);
    int MoveVerticalLineCells(CDC* dc, const CPoint& from, const CPoint& to, const CTableCellList& lefts,
                              const CTableCellList& rights, long long x0, int tolerance,
                              const CTableCellList& leftLimit, const CTableCellList& rightLimit);
    int SplitCellNow(CDC* dc, const CTableCellAddress& a, int rows, int columns);
    int CheckSplit(const CTableCellAddress& a, int rows, int columns) const;
    void CutIntoColumns(const CTableCellAddress& a, int columns, long long width);
    int SplitColumnsOnly(CDC* dc, const CTableCellAddress& a, int columns);
    int SplitBands(CDC* dc, const CTableCellAddress& a, int rows, int columns);
    int SplitSingleRowIntoRows(CDC* dc, const CTableCellAddress& a, int rows);
    int SplitSingleRowIntoGrid(CDC* dc, const CTableCellAddress& a, int rows, int columns);
    void DrawFrame(CDC* dc, double scale, int originX, int originY, int push) const;

    CPoint m_origin;
    COLORREF m_lineColor = 0;
    int m_borderWidth = 2;
    int m_innerWidth = 1;
    CRect m_margins{10, 0, 10, 0};
    std::vector<Row> m_rows;
};
