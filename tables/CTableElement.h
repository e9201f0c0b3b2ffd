// A table on a page: the element of kind 8, a thin shell round one grid.
// It answers the element interface (bounds, drawing, copying, storage) and
// hands its table operations straight to the grid; only MoveTo and
// SetLineColor also mark the bounds dirty (the bounds are computed on
// every query anyway).
//
// Record: kind 8 and the level (the element header), then the grid record.
// The library writes the same bytes; its reader has taken the kind and
// hands the rest to LoadFromLibrary.
#pragma once

#include "tables/CTableGrid.h"

#include "model/CGraphElement.h"

#include "platform/LogFont.h"
#include "platform/Types.h"

#include <string>

class CArchive;
class CDC;
class CPage;

class CTableElement : public CGraphElement {
public:
    // An empty table for the readers; Load or LoadFromLibrary fills it.
    CTableElement(CPage* page, int level);
    // rows x columns cells dividing the rectangle (origin at its top-left)
    // with these lines, margins and cell attributes. The creator adds the
    // element to the page.
    CTableElement(CPage* page, int level, int rows, int columns, COLORREF lineColor, int borderWidth,
                  int innerWidth, const CRect& margins, int alignment, const LogFont& font, COLORREF textColor,
                  COLORREF backColor, const CRect& rect);

    CTableGrid& Grid() { return m_grid; }
    const CTableGrid& Grid() const { return m_grid; }

    // Element operations.
    CRect GetBoundRect() override;
    void Draw(CDC* dc, double scale, int originX, int originY, const CRect& clip) override;
    // The frame alone, with the pen the caller selected.
    void DrawHighlight(CDC* dc, double scale, int originX, int originY, const CRect& clip) override;
    // Inside the bounding rectangle.
    int ContainsPoint(int x, int y) override;
    void CopyFrom(const CGraphElement& other) override;
    // Throws CArchiveError on a damaged record and leaves the table as it
    // was.
    int Load(CArchive& ar) override;
    int Store(CArchive& ar) const override;
    // The listed cells in their selected colours.
    void DrawCells(CDC* dc, double scale, int originX, int originY, const CTableCellList& cells,
                   const CRect& clip);

    // Library record: what Store writes. The reader has taken the kind;
    // the level read here raises the page's highest level like any new
    // element, so the table is drawn and picked.
    int StoreToLibrary(CArchive& ar) const;
    int LoadFromLibrary(CArchive& ar, int version);

    // Position and size.
    CPoint GetOrigin() const { return m_grid.GetOrigin(); }
    void MoveTo(int x, int y);
    CRect GetTableRect() const { return m_grid.GetTableRect(); }
    int ResizeToRect(int left, int top, int right, int bottom)
    {
        return m_grid.ResizeToRect(CRect(left, top, right, bottom));
    }
    int ResizeToRect(const CRect& rect) { return m_grid.ResizeToRect(rect); }
    int GetTableWidth() const { return m_grid.GetTableWidth(); }
    int GetTableHeight() const { return m_grid.GetTableHeight(); }

    // Lines and margins.
    int GetOuterLineWidth() const { return m_grid.GetBorderWidth(); }
    void SetOuterLineWidth(int width) { m_grid.SetBorderWidth(width); }
    int GetInnerLineWidth() const { return m_grid.GetInnerLineWidth(); }
    int SetInnerLineWidth(int width) { return m_grid.SetInnerLineWidth(width); }
    COLORREF GetLineColor() const { return m_grid.GetLineColor(); }
    int SetLineColor(COLORREF colour);
    int GetLeftMargin() const { return m_grid.GetMarginLeft(); }
    int GetTopMargin() const { return m_grid.GetMarginTop(); }
    int GetRightMargin() const { return m_grid.GetMarginRight(); }
    int GetBottomMargin() const { return m_grid.GetMarginBottom(); }
    void SetLeftMargin(int v) { m_grid.SetMarginLeft(v); }
    void SetTopMargin(int v) { m_grid.SetMarginTop(v); }
    void SetRightMargin(int v) { m_grid.SetMarginRight(v); }
    void SetBottomMargin(int v) { m_grid.SetMarginBottom(v); }

    // Rows.
    int GetRowCount() const { return m_grid.GetRowCount(); }
    int GetRowHeight(int row) const { return m_grid.GetRowHeight(row); }
    int SetRowHeight(int row, int height) { return m_grid.SetRowHeight(row, height); }

    // Cell queries.
    int IsValidCell(int row, int index) const { return m_grid.IsValidCell(row, index); }
    int GetCellRect(int row, int index, CRect& out) const { return m_grid.GetCellRect({row, index}, out); }
    void GetCellsInRect(int left, int top, int right, int bottom, CTableCellList& out) const
    {
        m_grid.GetCellsInRect(CRect(left, top, right, bottom), out);
    }
    int HitTestCell(int x, int y, CTableCellAddress& out) const { return m_grid.HitTestCell(x, y, out); }
    // A cell's lower line near the point (or the table's top line).
    int HitTestCellEdge(int x, int y, CTableCellAddress& out, int tolerance) const
    {
        return m_grid.HitTestHorizontalLine(x, y, out, tolerance);
    }
    // A cell's left (edge 1) or right (edge 0) line near the point.
    int HitTestGridLine(int x, int y, int tolerance, CTableCellAddress& out, int& edge) const
    {
        return m_grid.HitTestVerticalLine(x, y, tolerance, out, edge);
    }
    CRect GetCellsRect(const CTableCellList& cells) const { return m_grid.GetCellsBoundRect(cells); }
    int GetLeftNeighbour(int anchorRow, const CTableCellAddress& current, CTableCellAddress& out, int& wrapped) const
    {
        return m_grid.GetLeftNeighbour(anchorRow, current, out, wrapped);
    }
    int GetRightNeighbour(int anchorRow, const CTableCellAddress& current, CTableCellAddress& out, int& wrapped) const
    {
        return m_grid.GetRightNeighbour(anchorRow, current, out, wrapped);
    }
    int GetUpperNeighbour(const CTableCellAddress& anchor, const CTableCellAddress& current, CTableCellAddress& out) const
    {
        return m_grid.GetUpperNeighbour(anchor, current, out);
    }
    int GetLowerNeighbour(const CTableCellAddress& anchor, const CTableCellAddress& current, CTableCellAddress& out) const
    {
        return m_grid.GetLowerNeighbour(anchor, current, out);
    }

    // Cell contents, by address or by row and index.
    const char* GetCellText(const CTableCellAddress& a) const { return m_grid.GetCellText(a); }
    const char* GetCellText(int row, int index) const { return m_grid.GetCellText({row, index}); }
    int SetCellText(const CTableCellAddress& a, const std::string& text) { return m_grid.SetCellText(a, text); }
    int SetCellText(int row, int index, const std::string& text) { return m_grid.SetCellText({row, index}, text); }
    int GetCellAlignment(const CTableCellAddress& a) const { return m_grid.GetCellAlignment(a); }
    int SetCellAlignment(const CTableCellAddress& a, int alignment) { return m_grid.SetCellAlignment(a, alignment); }
    COLORREF GetCellTextColor(const CTableCellAddress& a) const { return m_grid.GetCellTextColor(a); }
    int SetCellTextColor(const CTableCellAddress& a, COLORREF c) { return m_grid.SetCellTextColor(a, c); }
    COLORREF GetCellBackColor(const CTableCellAddress& a) const { return m_grid.GetCellBackColor(a); }
    int SetCellBackColor(const CTableCellAddress& a, COLORREF c) { return m_grid.SetCellBackColor(a, c); }
    const LogFont* GetCellFont(const CTableCellAddress& a) const { return m_grid.GetCellFont(a); }
    int SetCellFont(const CTableCellAddress& a, const LogFont* font) { return m_grid.SetCellFont(a, font); }

    // Cell diagonals: nothing for a width below 1.
    int SetCellDiagonal(const CTableCellAddress& a, bool main, bool anti, COLORREF colour, int width)
    {
        return m_grid.AddCellDiagonals(a, main, anti, colour, width);
    }
    int RemoveCellDiagonal(const CTableCellAddress& a, bool main, bool anti)
    {
        return m_grid.RemoveCellDiagonals(a, main, anti);
    }
    int FindCellMainDiagonal(const CTableCellAddress& a, CTableBorderLine& out) const
    {
        return m_grid.FindCellMainDiagonal(a, out);
    }
    int FindCellAntiDiagonal(const CTableCellAddress& a, CTableBorderLine& out) const
    {
        return m_grid.FindCellAntiDiagonal(a, out);
    }

    // Grid-line dragging (the editing tool's button release).
    int MoveHorizontalLine(CDC* dc, const CPoint& from, const CPoint& to, const CTableCellAddress& a)
    {
        return m_grid.MoveHorizontalLine(dc, from, to, a);
    }
    int MoveVerticalLine(CDC* dc, const CPoint& from, const CPoint& to, const CTableCellAddress& a, int side,
                         int tolerance)
    {
        return m_grid.MoveVerticalLine(dc, from, to, a, side, tolerance);
    }
    int MoveGridLine(CDC* dc, const CPoint& from, const CPoint& to, const CTableCellAddress& a,
                     const CTableCellList& selection, int side, int tolerance)
    {
        return m_grid.MoveGridLine(dc, from, to, a, selection, side, tolerance);
    }
    int MoveSelectionHorizontalLine(CDC* dc, const CPoint& from, const CPoint& to, const CTableCellList& selection)
    {
        return m_grid.MoveSelectionHorizontalLine(dc, from, to, selection);
    }
    int MoveSelectionVerticalLine(CDC* dc, const CPoint& from, const CPoint& to, const CTableCellList& selection)
    {
        return m_grid.MoveSelectionVerticalLine(dc, from, to, selection);
    }

    // Structure.
    int CanInsertColumn(int row, int index) const { return m_grid.CanInsertColumn({row, index}); }
    int InsertColumn(int row, int index, int left) { return m_grid.InsertColumn({row, index}, left); }
    int InsertRow(int row, int above) { return m_grid.InsertRow(row, above); }
    int DeleteColumn(int row, int index) { return m_grid.DeleteColumn({row, index}); }
    int DeleteRow(int row) { return m_grid.DeleteRow(row); }
    int SplitCell(CDC* dc, int row, int index, int rows, int columns)
    {
        return m_grid.SplitCell(dc, {row, index}, rows, columns);
    }
    int SplitCellRange(CDC* dc, const CTableCellList& cells, int rows, int columns)
    {
        return m_grid.SplitCellRange(dc, cells, rows, columns);
    }
    int GetSplitCounts(int row, int index, CSplitCountList& out) const { return m_grid.GetSplitCounts({row, index}, out); }
    int GetRangeSplitCounts(int mergeFirst, const CTableCellList& cells, CSplitCountList& out) const
    {
        return m_grid.GetRangeSplitCounts(mergeFirst, cells, out);
    }
    int MergeCells(CDC* dc, const CTableCellList& cells) { return m_grid.MergeCells(dc, cells); }
    int CanMergeCells(const CTableCellList& cells) const { return m_grid.CanMergeCells(cells); }

private:
    CTableGrid m_grid;
};
