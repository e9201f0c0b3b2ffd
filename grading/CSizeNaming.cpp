#include "grading/CSizeNaming.h"

#include "grading/CGradingPages.h"
#include "grading/GradingIds.h"
#include "grading/GradingTexts.h"

#include "model/CPageSet.h"
#include "tables/CTableElement.h"

#include <utility>

namespace {

std::vector<std::string> Titles()
{
    return {CGradingPages::GradedTitle(), CGradingPages::PersonalTitle()};
}

bool InsertNameColumn(CTableElement& table, int column, const std::string& header)
{
    const CRect rect = table.GetTableRect();
    if (!table.InsertColumn(1, column, 1)) return false;
    table.ResizeToRect(rect);
    table.SetCellText(1, column, header);
    return true;
}

} // namespace

bool CSizeNaming::NameByHand(CPageSet& pageSet, std::vector<Note>& notes)
{
    const std::string name = GbkResString(IDS_STYLE_SIZE_COLUMN);
    const std::string persons = GbkResString(IDS_PERSONS_COLUMN);
    const auto titles = Titles();
    bool changed = false;
    int column = 0;
    for (int p : CGradingPages::PagesFirstTitled(pageSet, titles, 0)) {
        CTableElement* table = CGradingPages::FirstTable(*pageSet.GetPageAt(p));
        if (!table) continue;
        if (const int named = CGradingPages::HeaderCell(*table, name)) {
            notes.push_back({Note::AlreadyNamed, p});
            column = named;
            continue;
        }
        const int j = CGradingPages::HeaderCell(*table, persons);
        if (j == 0) {
            notes.push_back({Note::NoPersonsColumn, p});
            continue;
        }
        if (InsertNameColumn(*table, j, name)) {
            changed = true;
            column = j;
        }
    }
    const std::vector<int> personal = CGradingPages::PagesFirstTitled(pageSet, titles, 1);
    if (column == 0) {
        if (!personal.empty()) notes.push_back({Note::NothingToName, -1});
        return changed;
    }
    for (int p : personal) {
        CTableElement* table = CGradingPages::FirstTable(*pageSet.GetPageAt(p));
        if (!table) continue;
        if (CGradingPages::HeaderCell(*table, name)) {
            notes.push_back({Note::AlreadyNamed, p});
            continue;
        }
        if (InsertNameColumn(*table, column, name)) changed = true;
    }
    return changed;
}

bool CSizeNaming::NameAutomatically(CPageSet& pageSet)
{
    const std::string name = GbkResString(IDS_STYLE_SIZE_COLUMN);
    const auto titles = Titles();
    // Each size's graded values and its name, in table order.
    std::vector<std::pair<CTextRows::Row, std::string>> sizes;
    int column = 0;
    for (int p : CGradingPages::PagesFirstTitled(pageSet, titles, 0)) {
        const CTableElement* table = CGradingPages::FirstTable(*pageSet.GetPageAt(p));
        if (!table) continue;
        const int c = CGradingPages::HeaderCell(*table, name);
        if (c < 2) continue;
        column = c;
        for (int k = 2; k <= table->GetRowCount(); ++k) {
            CTextRows::Row row = CGradingPages::RowTexts(*table, k, c);
            std::string sizeName = std::move(row.back());
            row.pop_back();
            sizes.emplace_back(std::move(row), std::move(sizeName));
        }
    }
    if (column < 2) return false;
    bool changed = false;
    for (int p : CGradingPages::PagesFirstTitled(pageSet, titles, 1)) {
        CTableElement* table = CGradingPages::FirstTable(*pageSet.GetPageAt(p));
        if (!table) continue;
        for (int m = 2; m <= table->GetRowCount(); ++m) {
            CTableCell* cell = table->Grid().GetCell(m, column);
            if (!cell) continue;
            const CTextRows::Row key = CGradingPages::RowTexts(*table, m, column - 1);
            std::string found;
            for (const auto& size : sizes) {
                if (size.first == key) {
                    found = size.second;
                    break;
                }
            }
            if (cell->Text() != found) {
                cell->SetText(found);
                changed = true;
            }
        }
    }
    return changed;
}

bool CSizeNaming::CanNameAutomatically(const CPageSet& pageSet)
{
    const std::vector<int> pages = CGradingPages::PagesHolding(pageSet, CGradingPages::PersonalTitle());
    if (pages.empty()) return false;
    const CTableElement* table = CGradingPages::FirstTable(*pageSet.GetPageAt(pages.back()));
    return table && CGradingPages::HeaderCell(*table, GbkResString(IDS_STYLE_SIZE_COLUMN)) > 0;
}
