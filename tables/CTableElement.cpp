#include "tables/CTableElement.h"

#include "platform/CArchive.h"

CTableElement::CTableElement(CPage* page, int level) : CGraphElement(page, ELEMENT_TABLE, level) {}

CTableElement::CTableElement(CPage* page, int level, int rows, int columns, COLORREF lineColor, int borderWidth,
                             int innerWidth, const CRect& margins, int alignment, const LogFont& font,
                             COLORREF textColor, COLORREF backColor, const CRect& rect)
    : CGraphElement(page, ELEMENT_TABLE, level),
      m_grid(rows, columns, lineColor, borderWidth, innerWidth, margins, alignment, &font, textColor, backColor,
             rect)
{
}

CRect CTableElement::GetBoundRect()
{
    ClearBoundsDirty();
    return m_grid.GetBoundRect();
}

void CTableElement::Draw(CDC* dc, double scale, int originX, int originY, const CRect& clip)
{
    m_grid.Draw(dc, scale, originX, originY, clip);
}

void CTableElement::DrawHighlight(CDC* dc, double scale, int originX, int originY, const CRect& clip)
{
    m_grid.DrawHighlight(dc, scale, originX, originY, clip);
}

void CTableElement::DrawCells(CDC* dc, double scale, int originX, int originY, const CTableCellList& cells,
                              const CRect& clip)
{
    m_grid.DrawCells(dc, scale, originX, originY, cells, clip);
}

int CTableElement::ContainsPoint(int x, int y)
{
    return GetBoundRect().PtInRect(CPoint(x, y)) ? 1 : 0;
}

void CTableElement::CopyFrom(const CGraphElement& other)
{
    const auto* table = dynamic_cast<const CTableElement*>(&other);
    if (!table || table == this) return;
    CGraphElement::CopyFrom(other);
    m_grid.CopyFrom(table->m_grid);
    InvalidateBounds();
}

int CTableElement::Load(CArchive& ar)
{
    CGraphElement::Load(ar);
    m_grid.Load(ar);
    InvalidateBounds();
    return 1;
}

int CTableElement::Store(CArchive& ar) const
{
    CGraphElement::Store(ar);
    return m_grid.Store(ar);
}

int CTableElement::StoreToLibrary(CArchive& ar) const
{
    return Store(ar);
}

int CTableElement::LoadFromLibrary(CArchive& ar, int)
{
    std::int32_t level = 0;
    ar >> level;
    m_grid.Load(ar);
    SetLevel(level);
    InvalidateBounds();
    return 1;
}

void CTableElement::MoveTo(int x, int y)
{
    m_grid.MoveTo(x, y);
    InvalidateBounds();
}

int CTableElement::SetLineColor(COLORREF colour)
{
    const int rows = m_grid.SetLineColor(colour);
    InvalidateBounds();
    return rows;
}
