#include "grading/dialogs/CGradingCommands.h"

#include "grading/dialogs/CConditionIndexDlg.h"
#include "grading/dialogs/CExcel.h"
#include "grading/CGradingPages.h"
#include "grading/dialogs/CGradingStep.h"
#include "grading/CResultPageLayout.h"
#include "grading/dialogs/CSelectGradeBasisDlg.h"
#include "grading/CSerialNumbering.h"
#include "grading/dialogs/CSerialSortDlg.h"
#include "grading/dialogs/CSizeInputDlg.h"
#include "grading/CSizeNaming.h"
#include "grading/GradingIds.h"

#include "app/CVEKView.h"
#include "model/CPage.h"
#include "model/CPageSet.h"
#include "platform/CodePage.h"
#include "res/CommandIds.h"
#include "res/StringTable.h"
#include "tables/CTableElement.h"

#include <QFileDialog>
#include <QStringList>

namespace {

// "Name(*.a)|*.a|All(*.*)|*.*|" as a file dialog takes it.
QStringList NameFilters(const QString& pipeFilter)
{
    const QStringList parts = pipeFilter.split(QLatin1Char('|'), Qt::SkipEmptyParts);
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) filters << parts[i];
    return filters;
}

// Tables too long for a page continue on the next one with their header:
// a page must hold at least a header and one row.
bool PagesHoldTables(CVEKView& view, CResultPageLayout::Kind kind)
{
    const CPageSet* ps = view.GetPageSet();
    if (ps && CResultPageLayout(*ps, CGradingStep::StyleFromSettings(), kind).CanLayOut()) return true;
    CGradingStep::Message(&view, IDS_PAGE_TOO_SMALL, QMessageBox::Warning);
    return false;
}

QString NoteText(const CSizeNaming::Note& note)
{
    switch (note.kind) {
    case CSizeNaming::Note::AlreadyNamed: return LoadResString(IDS_ALREADY_NAMED).arg(note.page + 1);
    case CSizeNaming::Note::NoPersonsColumn: return LoadResString(IDS_NO_PERSONS_COLUMN).arg(note.page + 1);
    case CSizeNaming::Note::NothingToName: return LoadResString(IDS_NOTHING_TO_NAME);
    }
    return QString();
}

} // namespace

bool CGradingCommands::IsGradingCommand(UINT id)
{
    switch (id) {
    case ID_SIZE_INPUT:
    case ID_GRADING:
    case ID_OPEN_EXCEL:
    case ID_CONDITION_INDEX:
    case ID_SERIAL_SORT:
    case ID_NAME_BY_HAND:
    case ID_NAME_AUTOMATICALLY: return true;
    default: return false;
    }
}

bool CGradingCommands::IsEnabled(const CVEKView& view, UINT id)
{
    const CPageSet* ps = view.GetPageSet();
    switch (id) {
    case ID_SIZE_INPUT:
    case ID_OPEN_EXCEL: return true;
    default: break;
    }
    if (!ps) return false;
    switch (id) {
    case ID_GRADING:
    case ID_CONDITION_INDEX: return CGradingPages::AnyPageHolds(*ps, CGradingPages::BodyTitle());
    case ID_SERIAL_SORT: return CGradingPages::AnyPageHolds(*ps, CGradingPages::PersonalTitle());
    case ID_NAME_BY_HAND: return CGradingPages::AnyPageHolds(*ps, CGradingPages::GradedTitle());
    case ID_NAME_AUTOMATICALLY: return CSizeNaming::CanNameAutomatically(*ps);
    default: return false;
    }
}

void CGradingCommands::Run(CVEKView& view, UINT id)
{
    if (!view.GetPageSet()) return;
    switch (id) {
    case ID_SIZE_INPUT: OnSizeInput(view); break;
    case ID_OPEN_EXCEL: OnOpenExcel(view); break;
    case ID_GRADING: OnGrading(view); break;
    case ID_CONDITION_INDEX: OnConditionIndex(view); break;
    case ID_SERIAL_SORT: OnSerialSort(view); break;
    case ID_NAME_BY_HAND: OnNameByHand(view); break;
    case ID_NAME_AUTOMATICALLY: OnNameAutomatically(view); break;
    default: break;
    }
}

void CGradingCommands::OnOpenExcel(CVEKView& view)
{
    if (!PagesHoldTables(view, CResultPageLayout::Kind::Body)) return;
    QFileDialog dialog(&view);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(NameFilters(LoadResString(IDS_EXCEL_FILTER)));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    CExcel(&view).ReadWorkbook(dialog.selectedFiles().front());
}

void CGradingCommands::OnSizeInput(CVEKView& view)
{
    if (!PagesHoldTables(view, CResultPageLayout::Kind::Body)) return;
    CSizeInputDlg dialog(&view);
    dialog.exec();
}

void CGradingCommands::OnGrading(CVEKView& view)
{
    if (!PagesHoldTables(view, CResultPageLayout::Kind::Result)) return;
    // The header items of every table on the current page.
    std::vector<std::string> items;
    const CPage* page = view.GetPageSet()->GetCurrentPage();
    for (POSITION pos = page->GetFirstElementPosition(); pos;) {
        const CGraphElement* e = page->GetNextElement(pos);
        if (e->GetType() != ELEMENT_TABLE) continue;
        for (std::string& item : CGradingPages::RowTexts(*static_cast<const CTableElement*>(e), 1))
            items.push_back(std::move(item));
    }
    CSelectGradeBasisDlg dialog(&view);
    dialog.SetItems(items);
    dialog.exec();
}

void CGradingCommands::OnConditionIndex(CVEKView& view)
{
    if (!PagesHoldTables(view, CResultPageLayout::Kind::Result)) return;
    const CPageSet& ps = *view.GetPageSet();
    const std::vector<int> pages = CGradingPages::PagesHolding(ps, CGradingPages::BodyTitle());
    std::vector<std::string> items;
    if (!pages.empty())
        if (const CTableElement* table = CGradingPages::FirstTable(*ps.GetPageAt(pages.back())))
            items = CGradingPages::RowTexts(*table, 1);
    CConditionIndexDlg dialog(&view);
    dialog.SetItems(items);
    dialog.exec();
}

void CGradingCommands::OnSerialSort(CVEKView& view)
{
    const CPageSet& ps = *view.GetPageSet();
    const std::vector<int> pages = CGradingPages::PagesHolding(ps, CGradingPages::PersonalTitle());
    std::vector<std::string> header;
    for (int p : pages)
        if (const CTableElement* table = CGradingPages::FirstTable(*ps.GetPageAt(p)))
            header = CGradingPages::RowTexts(*table, 1);
    CSerialSortDlg dialog(&view);
    dialog.SetTables(pages, header, CSerialNumbering::ReadRows(ps, pages));
    dialog.exec();
}

void CGradingCommands::OnNameByHand(CVEKView& view)
{
    std::vector<CSizeNaming::Note> notes;
    {
        CGradingStep step(&view);
        if (CSizeNaming::NameByHand(step.PageSet(), notes)) step.Commit();
    }
    if (notes.empty()) return;
    QStringList lines;
    for (const CSizeNaming::Note& note : notes) lines << NoteText(note);
    CGradingStep::Message(&view, lines.join(QLatin1Char('\n')), QMessageBox::Information);
}

void CGradingCommands::OnNameAutomatically(CVEKView& view)
{
    CGradingStep step(&view);
    if (CSizeNaming::NameAutomatically(step.PageSet())) step.Commit();
}
