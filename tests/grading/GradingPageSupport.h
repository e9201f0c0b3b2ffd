// Documents of the grading tests: A4 pages with 5 mm margins, the
// settings' table and font values, and readers of what the grading
// commands leave on the pages.
#pragma once

#include "grading/CGradingPages.h"
#include "grading/CResultStyle.h"

#include "GradingTestSupport.h"

#include "model/COpenCurveElement.h"
#include "model/CPage.h"
#include "model/CPageSet.h"
#include "model/CTextElement.h"
#include "tables/CTableElement.h"

#include <memory>
#include <string>
#include <vector>

inline std::unique_ptr<CPageSet> A4Pages(int pages = 1)
{
    auto ps = std::make_unique<CPageSet>();
    ps->SetPaperSize(21000, 29700);
    ps->SetMargins(500, 500, 500, 500);
    for (int i = 0; i < pages; ++i) ps->AppendPage();
    ps->SetCurrentPageIndex(0);
    return ps;
}

inline CResultStyle TestStyle(int fontHeight = 318)
{
    CResultStyle style;
    style.font.lfHeight = fontHeight;
    style.font.lfWeight = FW_NORMAL;
    style.font.lfCharSet = GB2312_CHARSET;
    style.font.SetFaceName("\xCB\xCE\xCC\xE5");
    return style;
}

// The rectangle a new table of rows x columns fills when asked for
// `rect`: cells of the rounded share of its width and height.
inline CRect LaidOutRect(const CRect& rect, int rows, int columns)
{
    const int w = int(double(rect.Width()) / columns + 0.5);
    const int h = int(double(rect.Height()) / rows + 0.5);
    return CRect(rect.left, rect.top, rect.left + columns * w, rect.top + rows * h);
}

// The texts of the page's text elements, in element order (UTF-8).
inline std::vector<std::string> PageTexts(const CPageSet& ps, int page)
{
    std::vector<std::string> texts;
    const CPage* p = ps.GetPageAt(page);
    for (POSITION pos = p->GetFirstElementPosition(); pos;) {
        const CGraphElement* e = p->GetNextElement(pos);
        if (e->GetType() == ELEMENT_TEXT)
            texts.push_back(GbkToQString(static_cast<const CTextElement*>(e)->GetTextFont().GetText()).toStdString());
    }
    return texts;
}

inline const CTableElement* TableOn(const CPageSet& ps, int page)
{
    return CGradingPages::FirstTable(*ps.GetPageAt(page));
}

// A table's texts, row by row (rows of their own lengths).
inline CTextRows TableTexts(const CTableElement& table)
{
    CTextRows rows;
    rows.header = CGradingPages::RowTexts(table, 1);
    for (int r = 2; r <= table.GetRowCount(); ++r) rows.rows.push_back(CGradingPages::RowTexts(table, r));
    return rows;
}

// An open curve on a page, standing for a drawing the grading must leave.
inline void AddDrawing(CPageSet& ps, int page)
{
    CPage* p = ps.GetPageAt(page);
    auto* curve = new COpenCurveElement(p, p->GetMaxLevel());
    ps.AddElementToPage(page, curve);
}

// A body table of `persons` rows "h i" with heights 150 + i and chests
// 80 + i % 9.
inline CTextRows Persons(int persons)
{
    CTextRows t;
    t.header = GRow({"姓名", "身高", "胸围"});
    for (int i = 0; i < persons; ++i)
        t.rows.push_back({"p" + std::to_string(i), std::to_string(150 + i % 30), std::to_string(80 + i % 9)});
    return t;
}
