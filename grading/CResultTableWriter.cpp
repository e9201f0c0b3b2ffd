#include "grading/CResultTableWriter.h"

#include "grading/GradingIds.h"
#include "grading/GradingTexts.h"

#include "geometry/Distance.h"
#include "model/CPage.h"
#include "model/CPageSet.h"
#include "model/CTextElement.h"
#include "model/CTextFont.h"
#include "tables/CTableElement.h"

#include <cstdlib>

namespace {

constexpr int kTransparent = 1;

} // namespace

CResultTableWriter::CResultTableWriter(CPageSet& pageSet, const CResultStyle& style)
    : m_pageSet(pageSet), m_style(style)
{
}

int CResultTableWriter::TallHeaderHeight() const
{
    return RoundToInt(2.5 * std::abs(double(m_style.font.lfHeight)));
}

void CResultTableWriter::InsertPage(int index)
{
    const int current = m_pageSet.GetCurrentPageIndex();
    m_pageSet.InsertPage(index);
    if (index <= current) m_pageSet.SetCurrentPageIndex(current + 1);
}

std::vector<int> CResultTableWriter::Write(const std::string& title, const CTextRows& table, int firstPage,
                                           const Options& options)
{
    const CResultPageLayout layout(m_pageSet, m_style, options.kind);
    if (!layout.CanLayOut() || firstPage < 0 || firstPage >= m_pageSet.GetPageCount()) return {};
    const std::vector<int> pageRows = layout.PageRows(table.RowCount() + 1);
    const int pageCount = int(pageRows.size());
    std::vector<int> pages;
    int first = 0;
    for (int k = 0; k < pageCount; ++k) {
        const int page = firstPage + k;
        if (k > 0) InsertPage(page);
        const int rows = pageRows[std::size_t(k)];
        WritePage(page, title, CResultPageLayout::PageLabel(k, pageCount), table, first, rows - 1,
                  layout.TableRect(k, pageCount, rows), options);
        first += rows - 1;
        pages.push_back(page);
    }
    return pages;
}

CTableElement* CResultTableWriter::WritePage(int pageIndex, const std::string& title, const std::string& label,
                                             const CTextRows& table, int first, int count, const CRect& rect,
                                             const Options& options)
{
    CPage* page = m_pageSet.GetPageAt(pageIndex);
    const int level = page->GetMaxLevel();
    const int columns = std::max(table.ColumnCount(), 1);
    const CResultStyle& s = m_style;
    auto* element = new CTableElement(page, level, count + 1, columns, s.lineColor, s.borderWidth, s.innerWidth,
                                      s.cellPadding, s.alignment, s.font, s.fontColor, s.paperColor, rect);
    if (options.headerHeight > 0) element->SetRowHeight(1, options.headerHeight);
    CTableGrid& grid = element->Grid();
    for (int c = 0; c < table.ColumnCount(); ++c) grid.SetCellText({1, c + 1}, table.header[std::size_t(c)]);
    for (int r = 0; r < count; ++r) {
        const CTextRows::Row& row = table.rows[std::size_t(first + r)];
        const int cells = std::min(int(row.size()), columns);
        for (int c = 0; c < cells; ++c)
            if (!row[std::size_t(c)].empty()) grid.SetCellText({r + 2, c + 1}, row[std::size_t(c)]);
    }
    if (options.scaleToRect) element->ResizeToRect(rect);
    m_pageSet.AddElementToPage(pageIndex, element);

    const CResultPageLayout layout(m_pageSet, m_style, options.kind);
    auto addText = [&](const std::string& text, const CPoint& at) {
        const CTextFont textFont(text, s.font, s.fontColor);
        m_pageSet.AddElementToPage(pageIndex, new CTextElement(page, level, textFont, at.x, at.y, kTransparent));
    };
    addText(title, layout.TitlePos());
    addText(label, layout.LabelPos());
    addText(GbkResString(IDS_UNIT_CAPTION), layout.CaptionPos());
    addText(layout.UnitText(), layout.UnitPos());
    return element;
}
