// The table editor's commands: merge, split, rows and columns, diagonals,
// the attribute choices, the property sheet, copy and cut of the table.
// Each is one undo step, held from its start and made only when the table
// changed.
#include "tables/tool/CVTModifyTable.h"

#include "tables/tool/CCellEdit.h"
#include "tables/CTableElement.h"
#include "tables/tool/CVTSetTableCellParaPage.h"
#include "tables/tool/CVTSetTablePropertySheet.h"
#include "tables/tool/CVTTableParaGeneralPage.h"
#include "ui/CSplitCellDlg.h"

#include "settings/CSystemSettings.h"
#include "app/CVEKSrvrItem.h"
#include "app/CVEKView.h"

#include "model/CPage.h"
#include "model/CPageSet.h"
#include "platform/CDC.h"
#include "res/StringTable.h"

#include <QApplication>
#include <QMessageBox>

#include <algorithm>

namespace {

// Row counts a cell of one row may be split into.
constexpr int kMaxSplitRows = 99;

void StopMessage(QWidget* parent, int messageId)
{
    QMessageBox::critical(parent, LoadResString(Ids::IDS_APP_TITLE), LoadResString(messageId));
}

std::vector<int> AllowedRows(int kind, const CSplitCountList& counts)
{
    std::vector<int> rows;
    if (kind == -1) {
        for (int n = 1; n <= kMaxSplitRows; ++n) rows.push_back(n);
    } else {
        for (const unsigned n : counts) rows.push_back(int(n));
    }
    return rows;
}

CPage* PageHolding(const CPageSet* pageSet, const CGraphElement* element)
{
    if (!pageSet) return nullptr;
    for (int i = 0; i < pageSet->GetPageCount(); ++i)
        if (pageSet->GetPageAt(i)->FindElement(element)) return pageSet->GetPageAt(i);
    return nullptr;
}

} // namespace

// --- Shared steps -------------------------------------------------------------------------------

void CVTModifyTable::ReloadCell(const CTableCellAddress& cell)
{
    if (IsValidCell(cell)) LoadCellEdit(cell.row, cell.index);
}

void CVTModifyTable::CommitKeepingCell()
{
    const CTableCellAddress keep = m_current;
    const bool editing = m_bEditing;
    CommitCellEdit();
    if (editing) ReloadCell(keep);
}

bool CVTModifyTable::RunSplitDialog(const std::vector<int>& allowedRows, int& rows, int& columns)
{
    CSplitCellDlg dialog(allowedRows, 0, m_pView);
    dialog.m_nMaxColumns = kMaxSplitColumns;
    dialog.m_nColumns = 2;
    if (dialog.DoModal() != QDialog::Accepted) return false;
    rows = dialog.m_nRows;
    columns = dialog.m_nColumns;
    return true;
}

// --- Merge and split ------------------------------------------------------------------------------

BOOL CVTModifyTable::CanMergeCells()
{
    return m_pTable && !m_selection.empty() && m_pTable->CanMergeCells(m_selection) ? TRUE : FALSE;
}

void CVTModifyTable::MergeCells()
{
    if (!CanMergeCells()) {
        QApplication::beep();
        return;
    }
    if (m_bEditing) CommitCellEdit();
    BeginUndoStep();
    CScreenDC dc;
    if (m_pTable->MergeCells(&dc, m_selection)) {
        CommitUndoStep();
        m_selection.clear();
        ClearCurrentCell();
    } else {
        DropUndoStep();
        QApplication::beep();
    }
    Redraw();
}

// A cell that allows no row count at all says so, as a selection does,
// instead of offering an empty choice.
void CVTModifyTable::SplitCells()
{
    if (!m_pTable) return;
    CSplitCountList counts;
    int rows = 0;
    int columns = 0;
    if (m_selection.empty()) {
        if (!HasTableAndCell()) {
            QApplication::beep();
            return;
        }
        const CTableCellAddress cell = m_current;
        const int kind = m_pTable->GetSplitCounts(cell.row, cell.index, counts);
        if (kind != -1 && counts.empty()) {
            StopMessage(m_pView, IDS_CANNOT_SPLIT);
            return;
        }
        if (!RunSplitDialog(AllowedRows(kind, counts), rows, columns)) return;
        // What was typed goes into the cell before it is split.
        CommitCellEdit();
        if (rows != 1 || columns != 1) {
            BeginUndoStep();
            CScreenDC dc;
            if (m_pTable->SplitCell(&dc, cell.row, cell.index, rows, columns)) {
                CommitUndoStep();
            } else {
                DropUndoStep();
                QApplication::beep();
            }
        }
        ReloadCell(cell);
    } else {
        const int kind = m_pTable->GetRangeSplitCounts(0, m_selection, counts);
        if (kind == 0 || kind == -2) {
            StopMessage(m_pView, IDS_SPLIT_FAILED);
            return;
        }
        if (kind != -1 && counts.empty()) {
            StopMessage(m_pView, IDS_CANNOT_SPLIT);
            return;
        }
        if (!RunSplitDialog(AllowedRows(kind, counts), rows, columns)) return;
        if (rows != 1 || columns != 1) {
            BeginUndoStep();
            CScreenDC dc;
            if (m_pTable->SplitCellRange(&dc, m_selection, rows, columns)) {
                CommitUndoStep();
            } else {
                DropUndoStep();
                QApplication::beep();
            }
        }
        m_selection.clear();
    }
    Redraw();
}

// --- Columns -----------------------------------------------------------------------------------------

BOOL CVTModifyTable::CanInsertColumn()
{
    return HasTableAndCell() && m_pTable->CanInsertColumn(m_current.row, m_current.index) ? TRUE : FALSE;
}

void CVTModifyTable::InsertColumn(int left)
{
    if (!CanInsertColumn()) {
        QApplication::beep();
        return;
    }
    CTableCellAddress cell = m_current;
    CommitCellEdit();
    BeginUndoStep();
    if (m_pTable->InsertColumn(cell.row, cell.index, left)) {
        CommitUndoStep();
        if (left) ++cell.index;
    } else {
        DropUndoStep();
        QApplication::beep();
    }
    ReloadCell(cell);
    Redraw();
}

void CVTModifyTable::InsertColumnLeft()
{
    InsertColumn(1);
}

void CVTModifyTable::InsertColumnRight()
{
    InsertColumn(0);
}

void CVTModifyTable::DeleteColumn()
{
    if (!HasTableAndCell()) return;
    const CTableCellAddress cell = m_current;
    CommitCellEdit();
    BeginUndoStep();
    m_selection.clear();
    if (m_pTable->DeleteColumn(cell.row, cell.index)) {
        CommitUndoStep();
    } else {
        DropUndoStep();
        QApplication::beep();
    }
    Redraw();
}

// --- Rows -----------------------------------------------------------------------------------------------

void CVTModifyTable::DeleteRow()
{
    if (!HasTableAndCell()) return;
    const CTableCellAddress cell = m_current;
    CommitCellEdit();
    BeginUndoStep();
    m_selection.clear();
    if (m_pTable->DeleteRow(cell.row)) {
        CommitUndoStep();
    } else {
        DropUndoStep();
        QApplication::beep();
    }
    Redraw();
}

void CVTModifyTable::InsertRowBefore()
{
    InsertRow(true);
}

void CVTModifyTable::InsertRowAfter()
{
    InsertRow(false);
}

// A row that does not fit above the page's bottom margin continues the
// table on the next page. The whole insertion, with a page it adds, is
// one undo step, and nothing is kept when nothing was inserted.
void CVTModifyTable::InsertRow(bool before)
{
    CPageSet* pageSet = GetPageSet();
    if (!HasTableAndCell() || !pageSet) return;
    int top = 0;
    int bottom = 0;
    int left = 0;
    int right = 0;
    pageSet->GetMargins(top, bottom, left, right);
    const long long usableBottom = (long long)pageSet->GetPaperSize().cy - bottom;

    CTableCellAddress cell = m_current;
    CommitCellEdit();
    BeginUndoStep();
    const int row = cell.row;
    const int height = m_pTable->GetRowHeight(row);
    // The columns under the row: the cells its band runs through, merged
    // ones from the rows above included, from left to right.
    std::vector<std::pair<int, int>> columns;
    CRect rowRect;
    m_pTable->GetCellRect(row, 1, rowRect);
    const long long rowTop = rowRect.top;
    const long long rowBottom = rowTop + height;
    const CTableGrid& grid = m_pTable->Grid();
    for (int r = 1; r <= grid.GetRowCount(); ++r) {
        for (int i = 1; i <= grid.GetRowCellCount(r); ++i) {
            const CRect& c = grid.GetCell(r, i)->GetRect();
            if (c.top <= rowTop && c.bottom >= rowBottom) columns.emplace_back(c.left, c.right);
        }
    }
    std::sort(columns.begin(), columns.end());

    bool changed = false;
    if ((long long)m_pTable->GetBoundRect().bottom + height <= usableBottom) {
        changed = m_pTable->InsertRow(row, before ? 1 : 0) != 0;
        if (changed && before) ++cell.row;
    } else {
        changed = ContinueRowOnNextPage(before, height, columns);
    }
    if (changed)
        CommitUndoStep();
    else
        DropUndoStep();
    ReloadCell(cell);
    Redraw();
}

bool CVTModifyTable::ContinueRowOnNextPage(bool before, int rowHeight, const std::vector<std::pair<int, int>>& columns)
{
    CPageSet* pageSet = GetPageSet();
    const CSystemSettings& s = Settings();
    int top = 0;
    int bottom = 0;
    int left = 0;
    int right = 0;
    pageSet->GetMargins(top, bottom, left, right);
    const long long usableBottom = (long long)pageSet->GetPaperSize().cy - bottom;
    const int current = pageSet->GetCurrentPageIndex();

    if (current + 1 < pageSet->GetPageCount()) {
        CPage* next = pageSet->GetPageAt(current + 1);
        if (next->GetElementCount() > 0) {
            for (CGraphElement* e : next->Elements()) {
                if (!e || e->GetType() != ELEMENT_TABLE) continue;
                auto* table = static_cast<CTableElement*>(e);
                const int edgeRow = before ? 1 : table->GetRowCount();
                if ((long long)table->GetBoundRect().bottom + table->GetRowHeight(edgeRow) > usableBottom) return false;
                return table->InsertRow(edgeRow, before ? 1 : 0) != 0;
            }
            return false;
        }
    } else {
        if (!m_pView) return false;
        // The new page commits the step this command holds.
        m_pView->InsertSheetAfterInStep(current);
        if (current + 1 >= pageSet->GetPageCount()) return false;
    }
    if (columns.empty()) return false;

    CPage* page = pageSet->GetPageAt(current + 1);
    const int border = s.m_nTableBorderWidth;
    const int inner = s.m_nTableInnerWidth;
    const int d = border - inner / 2;
    const int e = border + inner / 2;
    const CRect rect(left + d, top + d, left + m_pTable->GetTableWidth() - e, top + rowHeight - e);
    auto* table = new CTableElement(page, page->GetMaxLevel(), 1, int(columns.size()), s.m_crTableLineColor, border,
                                    inner, s.m_rcCellPadding, s.m_nTextAlignment, s.m_lfDefaultFont, s.m_crFontColor,
                                    s.m_crPaperColor, rect);
    // The new row keeps the columns of the row it continues.
    CTableGrid& grid = table->Grid();
    int x = 0;
    for (int i = 1; i <= grid.GetRowCellCount(1) && i <= int(columns.size()); ++i) {
        CTableCell* c = grid.GetCell(1, i);
        const CRect& r = c->GetRect();
        if (i == 1) x = r.left;
        const int width = columns[std::size_t(i - 1)].second - columns[std::size_t(i - 1)].first;
        c->SetRect(x, r.top, x + width, r.bottom);
        x += width;
    }
    pageSet->AddElementToPage(current + 1, table);
    return true;
}

// --- Diagonals ------------------------------------------------------------------------------------------

// With cells selected the diagonal goes where it is missing, or, when
// every selected cell has it, it goes from all of them.
void CVTModifyTable::ToggleDiagonal(bool main)
{
    if (!m_pTable) return;
    const CSystemSettings& s = Settings();
    if (m_selection.empty()) {
        if (!m_bEditing || !m_edit) {
            QApplication::beep();
            return;
        }
        const CCellEdit::Diagonal& d = main ? m_edit->GetDiagonal1() : m_edit->GetDiagonal2();
        if (main)
            m_edit->SetDiagonal1(!d.present, s.m_crTableLineColor, s.m_nTableInnerWidth);
        else
            m_edit->SetDiagonal2(!d.present, s.m_crTableLineColor, s.m_nTableInnerWidth);
        return;
    }
    auto has = [this, main](const CTableCellAddress& a) {
        CTableBorderLine line;
        return main ? m_pTable->FindCellMainDiagonal(a, line) != 0 : m_pTable->FindCellAntiDiagonal(a, line) != 0;
    };
    const bool all = std::all_of(m_selection.begin(), m_selection.end(), has);
    ApplyToSelection([&](const CTableCellAddress& a) {
        if (all) return m_pTable->RemoveCellDiagonal(a, main, !main) != 0;
        if (has(a)) return false;
        return m_pTable->SetCellDiagonal(a, main, !main, s.m_crTableLineColor, s.m_nTableInnerWidth) != 0;
    });
    Redraw();
}

void CVTModifyTable::ToggleDiagonalA()
{
    ToggleDiagonal(true);
}

void CVTModifyTable::ToggleDiagonalB()
{
    ToggleDiagonal(false);
}

// --- Attribute choices -----------------------------------------------------------------------------------

void CVTModifyTable::OnFontColor()
{
    if (!m_pTable) return;
    const COLORREF colour = Settings().m_crFontColor;
    if (m_selection.empty()) {
        if (m_bEditing && m_edit) m_edit->SetTextColor(colour);
        return;
    }
    ApplyToSelection([&](const CTableCellAddress& a) {
        if (m_pTable->GetCellTextColor(a) == colour) return false;
        return m_pTable->SetCellTextColor(a, colour) != 0;
    });
    Redraw();
}

void CVTModifyTable::OnCellColor()
{
    if (!m_pTable) return;
    const COLORREF colour = Settings().m_crCellBackColor;
    if (m_selection.empty()) {
        if (m_bEditing && m_edit) m_edit->SetBackColor(colour);
        return;
    }
    ApplyToSelection([&](const CTableCellAddress& a) {
        if (m_pTable->GetCellBackColor(a) == colour) return false;
        return m_pTable->SetCellBackColor(a, colour) != 0;
    });
    Redraw();
}

void CVTModifyTable::OnFont()
{
    if (!m_pTable) return;
    const LogFont font = Settings().m_lfDefaultFont;
    if (m_selection.empty()) {
        if (m_bEditing && m_edit) m_edit->SetCellFont(font, GetViewScale());
        return;
    }
    ApplyToSelection([&](const CTableCellAddress& a) {
        const LogFont* had = m_pTable->GetCellFont(a);
        if (had && *had == font) return false;
        return m_pTable->SetCellFont(a, &font) != 0;
    });
    Redraw();
}

void CVTModifyTable::OnAlignment()
{
    if (!m_pTable) return;
    const int alignment = Settings().m_nTextAlignment;
    if (m_selection.empty()) {
        if (m_bEditing && m_edit) m_edit->SetAlignment(alignment);
        return;
    }
    ApplyToSelection([&](const CTableCellAddress& a) {
        if (m_pTable->GetCellAlignment(a) == alignment) return false;
        return m_pTable->SetCellAlignment(a, alignment) != 0;
    });
    Redraw();
}

// --- Properties ---------------------------------------------------------------------------------------------

void CVTModifyTable::TableProperties()
{
    if (!m_pTable) return;
    CVTSetTablePropertySheet sheet(IDS_PROPERTIES_CAPTION, m_pView, 0);
    sheet.m_nUnitsPerMM = 100;
    CVTTableParaGeneralPage* general = sheet.GeneralPage();
    CVTSetTableCellParaPage* cells = sheet.CellPage();
    general->SetBorderWidth(m_pTable->GetOuterLineWidth());
    general->SetInnerWidth(m_pTable->GetInnerLineWidth());
    general->SetLineColor(m_pTable->GetLineColor());
    cells->SetMargin(CVTSetTableCellParaPage::kLeft, m_pTable->GetLeftMargin());
    cells->SetMargin(CVTSetTableCellParaPage::kTop, m_pTable->GetTopMargin());
    cells->SetMargin(CVTSetTableCellParaPage::kRight, m_pTable->GetRightMargin());
    cells->SetMargin(CVTSetTableCellParaPage::kBottom, m_pTable->GetBottomMargin());
    if (sheet.DoModal() != QDialog::Accepted || !m_pTable) return;

    BeginUndoStep();
    bool changed = false;
    auto apply = [&changed](int now, int wanted, auto set) {
        if (now == wanted) return;
        set(wanted);
        changed = true;
    };
    apply(m_pTable->GetOuterLineWidth(), general->GetBorderWidth(), [this](int v) { m_pTable->SetOuterLineWidth(v); });
    apply(m_pTable->GetInnerLineWidth(), general->GetInnerWidth(), [this](int v) { m_pTable->SetInnerLineWidth(v); });
    if (m_pTable->GetLineColor() != general->GetLineColor()) {
        m_pTable->SetLineColor(general->GetLineColor());
        changed = true;
    }
    apply(m_pTable->GetLeftMargin(), cells->GetMargin(CVTSetTableCellParaPage::kLeft),
          [this](int v) { m_pTable->SetLeftMargin(v); });
    apply(m_pTable->GetTopMargin(), cells->GetMargin(CVTSetTableCellParaPage::kTop),
          [this](int v) { m_pTable->SetTopMargin(v); });
    apply(m_pTable->GetRightMargin(), cells->GetMargin(CVTSetTableCellParaPage::kRight),
          [this](int v) { m_pTable->SetRightMargin(v); });
    apply(m_pTable->GetBottomMargin(), cells->GetMargin(CVTSetTableCellParaPage::kBottom),
          [this](int v) { m_pTable->SetBottomMargin(v); });
    if (changed) {
        CommitUndoStep();
        m_pTable->InvalidateBounds();
    } else {
        DropUndoStep();
    }
    PlaceCellEdit(ShouldShowCellEdit());
    Redraw();
}

// --- The whole table ------------------------------------------------------------------------------------------

void CVTModifyTable::OnCopyTable()
{
    if (!m_pTable || !GetDocument()) return;
    // What was typed belongs to the copy.
    CommitKeepingCell();
    if (CVEKSrvrItem* item = CVEKSrvrItem::GetEmbeddedItem(GetDocument())) item->CopyElementToClipboard(m_pTable);
}

void CVTModifyTable::OnCutTable()
{
    if (!m_pTable) return;
    CommitCellEdit();
    CPage* page = PageHolding(GetPageSet(), m_pTable);
    if (!page) return;
    CTableElement* table = m_pTable;
    SaveUndoState();
    if (CVEKSrvrItem* item = GetDocument() ? CVEKSrvrItem::GetEmbeddedItem(GetDocument()) : nullptr)
        item->CopyElementToClipboard(table);
    page->RemoveElement(table);
    // Let go before the table goes, then the owner lets go of it too.
    Reset();
    delete table;
    if (m_pOwner) m_pOwner->Reset();
    Redraw();
}
