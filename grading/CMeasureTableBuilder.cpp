#include "grading/CMeasureTableBuilder.h"

#include "grading/CGradingPages.h"
#include "grading/CResultTableWriter.h"
#include "grading/GradingTexts.h"

#include "model/CPageSet.h"

std::vector<int> CMeasureTableBuilder::Build(CPageSet& pageSet, const CResultStyle& style, const CTextRows& table)
{
    const CResultPageLayout layout(pageSet, style, CResultPageLayout::Kind::Body);
    if (!layout.CanLayOut() || pageSet.GetPageCount() == 0) return {};
    const bool onePage = layout.PageRows(table.RowCount() + 1).size() == 1;
    const int first = onePage ? pageSet.GetCurrentPageIndex() : pageSet.GetPageCount() - 1;
    CResultTableWriter::Options options;
    options.kind = CResultPageLayout::Kind::Body;
    return CResultTableWriter(pageSet, style).Write(CGradingPages::BodyTitle(), table, first, options);
}

CTextRows CMeasureTableBuilder::SelectColumns(const CTextRows& sheet, const std::vector<int>& columns)
{
    CTextRows out;
    for (int c : columns) out.header.push_back(c >= 0 && c < sheet.ColumnCount() ? sheet.header[std::size_t(c)] : "");
    out.rows.reserve(sheet.rows.size());
    for (int r = 0; r < sheet.RowCount(); ++r) {
        CTextRows::Row row;
        row.reserve(columns.size());
        for (int c : columns) row.push_back(CutMeasurementText(sheet.Cell(r, c)));
        out.rows.push_back(std::move(row));
    }
    return out;
}
