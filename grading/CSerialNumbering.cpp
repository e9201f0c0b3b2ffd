#include "grading/CSerialNumbering.h"

#include "grading/CGradingPages.h"
#include "grading/GradingIds.h"
#include "grading/GradingTexts.h"

#include "model/CPageSet.h"
#include "tables/CTableElement.h"

namespace {

CTableElement* TableOn(const CPageSet& pageSet, int page)
{
    if (page < 0 || page >= pageSet.GetPageCount()) return nullptr;
    return CGradingPages::FirstTable(*pageSet.GetPageAt(page));
}

} // namespace

std::vector<CTextRows::Row> CSerialNumbering::ReadRows(const CPageSet& pageSet, const std::vector<int>& pages)
{
    std::vector<CTextRows::Row> rows;
    for (int p : pages) {
        const CTableElement* table = TableOn(pageSet, p);
        if (!table) continue;
        const int width = table->Grid().GetRowCellCount(1);
        for (int r = 2; r <= table->GetRowCount(); ++r) rows.push_back(CGradingPages::RowTexts(*table, r, width));
    }
    return rows;
}

bool CSerialNumbering::WriteRows(CPageSet& pageSet, const std::vector<int>& pages,
                                 const std::vector<CTextRows::Row>& rows)
{
    bool changed = false;
    std::size_t next = 0;
    for (int p : pages) {
        CTableElement* table = TableOn(pageSet, p);
        if (!table) continue;
        const int width = table->Grid().GetRowCellCount(1);
        for (int r = 2; r <= table->GetRowCount() && next < rows.size(); ++r, ++next) {
            const CTextRows::Row& row = rows[next];
            for (int c = 1; c <= width; ++c) {
                CTableCell* cell = table->Grid().GetCell(r, c);
                if (!cell) continue;
                const std::string& text = std::size_t(c) <= row.size() ? row[std::size_t(c - 1)] : std::string();
                if (cell->Text() != text) {
                    cell->SetText(text);
                    changed = true;
                }
            }
        }
    }
    return changed;
}

bool CSerialNumbering::AddSerialNumbers(CPageSet& pageSet, const std::vector<int>& pages, int start)
{
    const std::string header = GbkResString(IDS_SERIAL_COLUMN);
    bool changed = false;
    long long number = start;
    for (int p : pages) {
        CTableElement* table = TableOn(pageSet, p);
        if (!table) continue;
        const CRect rect = table->GetTableRect();
        if (!table->InsertColumn(1, 1, 1)) continue;
        table->ResizeToRect(rect);
        changed = true;
        table->SetCellText(1, 1, header);
        for (int r = 2; r <= table->GetRowCount(); ++r) table->SetCellText(r, 1, std::to_string(number++));
    }
    return changed;
}
