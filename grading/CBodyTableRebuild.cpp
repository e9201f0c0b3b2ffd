#include "grading/CBodyTableRebuild.h"

#include "grading/CGradingPages.h"
#include "grading/CResultTableWriter.h"
#include "grading/GradingIds.h"
#include "grading/GradingTexts.h"

#include "model/CPage.h"
#include "model/CPageSet.h"
#include "model/CTextElement.h"
#include "tables/CTableElement.h"

#include <cctype>

namespace {

bool IsPageLabel(const std::string& text)
{
    const std::size_t slash = text.find('/');
    if (slash == std::string::npos || slash == 0 || slash + 1 == text.size()) return false;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (i != slash && !std::isdigit(static_cast<unsigned char>(text[i]))) return false;
    return true;
}

bool IsUnitName(const std::string& text)
{
    for (int id : {IDS_UNIT_INCH, IDS_UNIT_CM, IDS_UNIT_MM})
        if (text == GbkResString(id) + ")") return true;
    return false;
}

void DeleteElement(CPage& page, CGraphElement* element)
{
    page.RemoveElement(element);
    delete element;
}

} // namespace

bool CBodyTableRebuild::RemoveTable(CPage& page, const std::string& title)
{
    CTableElement* table = CGradingPages::FirstTable(page);
    if (!CGradingPages::HoldsTitle(page, title)) return false;
    // One of each of the four texts, the first found.
    const std::string caption = GbkResString(IDS_UNIT_CAPTION);
    CGraphElement* texts[4] = {};
    for (POSITION pos = page.GetFirstElementPosition(); pos;) {
        CGraphElement* e = page.GetNextElement(pos);
        if (e->GetType() != ELEMENT_TEXT) continue;
        const std::string& text = static_cast<CTextElement*>(e)->GetTextFont().GetText();
        int kind = -1;
        if (text == title) kind = 0;
        else if (text == caption) kind = 1;
        else if (IsUnitName(text)) kind = 2;
        else if (IsPageLabel(text)) kind = 3;
        if (kind >= 0 && !texts[kind]) texts[kind] = e;
    }
    for (CGraphElement* e : texts)
        if (e) DeleteElement(page, e);
    if (table) DeleteElement(page, table);
    return true;
}

bool CBodyTableRebuild::Apply(CPageSet& pageSet, const CResultStyle& style, const CTextRows& kept,
                              const std::vector<CTextRows::Row>& special, Pages* pages)
{
    const std::string title = CGradingPages::BodyTitle();
    const std::vector<int> bodyPages = CGradingPages::PagesHolding(pageSet, title);
    if (bodyPages.empty()) return false;
    if (!CResultPageLayout(pageSet, style, CResultPageLayout::Kind::Result).CanLayOut()) return false;

    const int first = bodyPages.front();
    for (int p : bodyPages) RemoveTable(*pageSet.GetPageAt(p), title);
    // Pages the table continued on and that hold nothing else go, the last
    // first; the first page stays for the table.
    for (auto it = bodyPages.rbegin(); it != bodyPages.rend(); ++it) {
        const int p = *it;
        if (p == first || pageSet.GetPageAt(p)->GetElementCount() > 0) continue;
        pageSet.RemovePage(p);
        const int current = pageSet.GetCurrentPageIndex();
        if (current > p || current >= pageSet.GetPageCount()) pageSet.SetCurrentPageIndex(current - 1);
    }
    pageSet.SetCurrentPageIndex(first);

    CResultTableWriter writer(pageSet, style);
    Pages out;
    if (!kept.rows.empty()) {
        CResultTableWriter::Options options;
        options.kind = CResultPageLayout::Kind::Result;
        out.body = writer.Write(title, kept, first, options);
    }
    if (!special.empty()) {
        CTextRows table;
        table.header = kept.header;
        table.rows = special;
        int start = first;
        if (!out.body.empty()) {
            start = out.body.back() + 1;
            writer.InsertPage(start);
        }
        CResultTableWriter::Options options;
        options.kind = CResultPageLayout::Kind::Special;
        out.special = writer.Write(CGradingPages::SpecialTitle(), table, start, options);
    }
    if (pages) *pages = out;
    return true;
}
