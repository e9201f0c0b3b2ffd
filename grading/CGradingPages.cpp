#include "grading/CGradingPages.h"

#include "grading/GradingIds.h"
#include "grading/GradingTexts.h"

#include "model/CPage.h"
#include "model/CPageSet.h"
#include "model/CTextElement.h"
#include "tables/CTableElement.h"

std::string CGradingPages::BodyTitle()
{
    return GbkResString(IDS_BODY_TABLE_TITLE);
}

std::string CGradingPages::GradedTitle()
{
    return GbkResString(IDS_GRADED_TABLE_TITLE);
}

std::string CGradingPages::SpecialTitle()
{
    return GbkResString(IDS_SPECIAL_TABLE_TITLE);
}

std::string CGradingPages::PersonalTitle()
{
    return GbkResString(IDS_PERSONAL_TABLE_TITLE);
}

bool CGradingPages::HoldsTitle(const CPage& page, const std::string& title)
{
    return FirstTitleOn(page, {title}) == 0;
}

int CGradingPages::FirstTitleOn(const CPage& page, const std::vector<std::string>& titles)
{
    for (POSITION pos = page.GetFirstElementPosition(); pos;) {
        const CGraphElement* e = page.GetNextElement(pos);
        if (e->GetType() != ELEMENT_TEXT) continue;
        const std::string& text = static_cast<const CTextElement*>(e)->GetTextFont().GetText();
        for (std::size_t t = 0; t < titles.size(); ++t)
            if (text == titles[t]) return int(t);
    }
    return -1;
}

std::vector<int> CGradingPages::PagesHolding(const CPageSet& pageSet, const std::string& title, int from)
{
    std::vector<int> pages;
    for (int i = std::max(from, 0); i < pageSet.GetPageCount(); ++i)
        if (HoldsTitle(*pageSet.GetPageAt(i), title)) pages.push_back(i);
    return pages;
}

std::vector<int> CGradingPages::PagesFirstTitled(const CPageSet& pageSet, const std::vector<std::string>& titles,
                                                 int which)
{
    std::vector<int> pages;
    for (int i = 0; i < pageSet.GetPageCount(); ++i)
        if (FirstTitleOn(*pageSet.GetPageAt(i), titles) == which) pages.push_back(i);
    return pages;
}

bool CGradingPages::AnyPageHolds(const CPageSet& pageSet, const std::string& title)
{
    for (int i = 0; i < pageSet.GetPageCount(); ++i)
        if (HoldsTitle(*pageSet.GetPageAt(i), title)) return true;
    return false;
}

CTableElement* CGradingPages::FirstTable(const CPage& page)
{
    for (POSITION pos = page.GetFirstElementPosition(); pos;) {
        CGraphElement* e = page.GetNextElement(pos);
        if (e->GetType() == ELEMENT_TABLE) return static_cast<CTableElement*>(e);
    }
    return nullptr;
}

CTextRows::Row CGradingPages::RowTexts(const CTableElement& table, int row)
{
    return RowTexts(table, row, table.Grid().GetRowCellCount(row));
}

CTextRows::Row CGradingPages::RowTexts(const CTableElement& table, int row, int count)
{
    CTextRows::Row texts;
    texts.reserve(std::size_t(std::max(count, 0)));
    for (int c = 1; c <= count; ++c) {
        const CTableCell* cell = table.Grid().GetCell(row, c);
        texts.push_back(cell ? cell->Text() : std::string());
    }
    return texts;
}

int CGradingPages::HeaderCell(const CTableElement& table, const std::string& text)
{
    const int cells = table.Grid().GetRowCellCount(1);
    for (int c = 1; c <= cells; ++c) {
        const CTableCell* cell = table.Grid().GetCell(1, c);
        if (cell && cell->Text() == text) return c;
    }
    return 0;
}

CTextRows CGradingPages::ReadTable(const CPageSet& pageSet, const std::vector<int>& pages)
{
    CTextRows rows;
    bool first = true;
    for (int p : pages) {
        if (p < 0 || p >= pageSet.GetPageCount()) continue;
        const CTableElement* table = FirstTable(*pageSet.GetPageAt(p));
        if (!table) continue;
        if (first) {
            rows.header = RowTexts(*table, 1);
            first = false;
        }
        for (int r = 2; r <= table->GetRowCount(); ++r) rows.rows.push_back(RowTexts(*table, r, rows.ColumnCount()));
    }
    return rows;
}
