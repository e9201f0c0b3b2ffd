#include "grading/CGradingOutput.h"

#include "grading/CGradingPages.h"
#include "grading/CGradingRun.h"
#include "grading/CResultTableWriter.h"

#include "model/CPageSet.h"
#include "tables/CTableElement.h"

CGradingOutput::Pages CGradingOutput::Write(CPageSet& pageSet, const CResultStyle& style, const CGradingRun& run,
                                            const std::vector<int>& bodyPages)
{
    Pages out;
    const CResultPageLayout layout(pageSet, style, CResultPageLayout::Kind::Result);
    if (!layout.CanLayOut() || run.Groups().empty()) return out;

    // What the body tables hold, read before any page moves.
    struct BodyPage {
        int dataRows;
        CRect rect;
    };
    std::vector<BodyPage> bodies;
    for (int p : bodyPages) {
        if (p < 0 || p >= pageSet.GetPageCount()) continue;
        if (const CTableElement* table = CGradingPages::FirstTable(*pageSet.GetPageAt(p)))
            bodies.push_back({table->GetRowCount() - 1, table->GetTableRect()});
    }

    CResultTableWriter writer(pageSet, style);
    CResultTableWriter::Options graded;
    graded.kind = CResultPageLayout::Kind::Result;
    graded.headerHeight = writer.TallHeaderHeight();
    graded.scaleToRect = true;
    pageSet.AppendPage();
    out.graded = writer.Write(CGradingPages::GradedTitle(),
                              CGradingRun::KeepColumns(run.GradedSizeTable(), run.ShownColumns()),
                              pageSet.GetPageCount() - 1, graded);
    if (!out.graded.empty()) pageSet.SetCurrentPageIndex(out.graded.front());

    CTextRows personal;
    for (int j = 0; j < run.BasisCount(); ++j) personal.header.push_back(run.GradingColumns()[std::size_t(j)].Name());
    for (std::size_t c = std::size_t(run.BasisCount()); c < run.GradingColumns().size(); ++c)
        personal.header.push_back(run.GradingColumns()[c].Name());
    personal.rows = run.PersonalRows();

    CResultTableWriter::Options info;
    info.headerHeight = writer.TallHeaderHeight();
    const int count = int(bodies.size());
    int first = 0;
    for (int q = 0; q < count; ++q) {
        const int rows = std::min(bodies[std::size_t(q)].dataRows, personal.RowCount() - first);
        pageSet.AppendPage();
        const int page = pageSet.GetPageCount() - 1;
        writer.WritePage(page, CGradingPages::PersonalTitle(), CResultPageLayout::PageLabel(q, count), personal,
                         first, std::max(rows, 0), bodies[std::size_t(q)].rect, info);
        first += std::max(rows, 0);
        out.personal.push_back(page);
    }
    return out;
}
