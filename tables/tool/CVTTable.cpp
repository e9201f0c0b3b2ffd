#include "tables/tool/CVTTable.h"

#include "tables/tool/CInsertTableDlg.h"
#include "tables/CTableElement.h"
#include "tables/tool/CVTModifyTable.h"

#include "app/CFrameServices.h"
#include "settings/CSystemSettings.h"
#include "app/CVEKView.h"

#include "model/CPage.h"
#include "model/CPageSet.h"
#include "platform/CDC.h"

#include <algorithm>
#include <climits>

namespace {

int ClampToInt(long long v)
{
    return int(std::clamp<long long>(v, INT_MIN, INT_MAX));
}

CVTTable::TableRequest RequestOf(const CInsertTableDlg::Values& v)
{
    CVTTable::TableRequest r;
    r.columns = v.columns;
    r.rows = v.rows;
    r.fitWidth = v.fitWidth != 0;
    r.fitHeight = v.fitHeight != 0;
    r.columnAuto = v.columnAuto != 0;
    r.rowAuto = v.rowAuto != 0;
    r.columnWidth = v.columnWidth;
    r.rowHeight = v.rowHeight;
    return r;
}

} // namespace

CVTTable::CVTTable(CVEKView* view) : CVectorTool(view), m_editor(std::make_unique<CVTModifyTable>(view, this))
{
    CVTTable::Reset();
}

CVTTable::~CVTTable() = default;

// --- The new table's rectangle -----------------------------------------------------------------

CRect CVTTable::TableRect(const CPoint& a, const CPoint& b, const TableRequest& request, const PageFrame& page,
                          int borderWidth, int innerWidth)
{
    long long left = std::min(a.x, b.x);
    long long top = std::min(a.y, b.y);
    long long right = std::max(a.x, b.x);
    long long bottom = std::max(a.y, b.y);
    const long long rowsHeight = (long long)request.rows * request.rowHeight;
    const long long columnsWidth = (long long)request.columns * request.columnWidth;
    if (request.fitWidth || request.fitHeight) {
        if (request.fitWidth) {
            left = page.left;
            right = (long long)page.paper.cx - page.right;
            if (!request.rowAuto) bottom = top + rowsHeight;
        }
        if (request.fitHeight) {
            top = page.top;
            bottom = (long long)page.paper.cy - page.bottom;
            if (!request.fitWidth && !request.columnAuto) right = left + columnsWidth;
        }
    } else {
        if (!request.rowAuto) bottom = top + rowsHeight;
        if (!request.columnAuto) right = left + columnsWidth;
    }
    const long long before = (long long)borderWidth - innerWidth / 2;
    const long long after = (long long)borderWidth + innerWidth / 2;
    return CRect(ClampToInt(left + before), ClampToInt(top + before), ClampToInt(right - after),
                 ClampToInt(bottom - after));
}

int CVTTable::TableMisfit(const CRect& rect, const TableRequest& request)
{
    int misfit = 0;
    if ((long long)rect.right - rect.left < request.columns) misfit |= 1;
    if ((long long)rect.bottom - rect.top < request.rows) misfit |= 2;
    return misfit;
}

CVTTable::PageFrame CVTTable::CurrentPageFrame() const
{
    PageFrame frame;
    if (const CPageSet* ps = GetPageSet()) {
        frame.paper = ps->GetPaperSize();
        ps->GetMargins(frame.top, frame.bottom, frame.left, frame.right);
    }
    return frame;
}

// --- Lifecycle ------------------------------------------------------------------------------------

void CVTTable::ShowTextControls(int show) const
{
    if (CFrameServices* frame = Frame()) frame->ShowTextControls(show);
}

void CVTTable::Activate()
{
    CVectorTool::Activate();
    m_editor->Activate();
    ShowTextControls(1);
}

void CVTTable::Deactivate()
{
    m_editor->Deactivate();
    ShowTextControls(0);
    InvalidateView();
}

// What was typed into the table goes into its cell (a page change resets
// the tool), unless the table is gone with the content it belonged to.
void CVTTable::Reset()
{
    CVectorTool::Reset();
    m_bEditing = false;
    m_bFirstCorner = false;
    if (m_editor) {
        m_editor->SetTable(nullptr);
        m_editor->Reset();
    }
}

// --- Mouse ------------------------------------------------------------------------------------------

BOOL CVTTable::OnMouseMove(UINT flags, int x, int y)
{
    if (m_bEditing) {
        if (const BOOL used = m_editor->OnMouseMove(flags, x, y)) return used;
        CGraphElement* table = nullptr;
        const bool over = HitTestTable(x, y, table) != 0;
        if (m_pView) m_pView->SetToolCursor(over ? kCursorTable : kCursorInsert);
        ShowPrompt(over ? kPromptPickTable : kPromptFirstCorner);
        return FALSE;
    }
    if (m_pView) m_pView->SetToolCursor(kCursorInsert);
    if (!m_bFirstCorner) {
        ShowPrompt(kPromptFirstCorner);
        return FALSE;
    }
    m_ptCurrent = CPoint(x, y);
    InvalidateFeedback();
    ShowPrompt(kPromptSecondCorner);
    return TRUE;
}

void CVTTable::StartTable(int x, int y)
{
    m_ptFirst = m_ptCurrent = CPoint(x, y);
    m_bFirstCorner = true;
    InvalidateFeedback();
}

BOOL CVTTable::OnLButtonDown(UINT flags, int x, int y)
{
    if (m_bEditing) {
        // The second click of a move or resize may land on another table:
        // it still belongs to the table being changed.
        const int state = m_editor->GetState();
        if (state != CVTModifyTable::kMoving && state != CVTModifyTable::kResizing) {
            CGraphElement* table = nullptr;
            if (HitTestTable(x, y, table)) m_editor->SetTable(table);
        }
        const BOOL result = m_editor->OnLButtonDown(flags, x, y);
        if (!result) {
            m_editor->CommitCellEdit();
            Reset();
            StartTable(x, y);
        }
        return result;
    }
    if (!m_bFirstCorner) {
        StartTable(x, y);
        return TRUE;
    }
    m_ptCurrent = CPoint(x, y);
    InsertTable();
    return TRUE;
}

void CVTTable::InsertTable()
{
    const CSystemSettings& s = Settings();
    const PageFrame page = CurrentPageFrame();
    const CPoint first = m_ptFirst;
    const CPoint second = m_ptCurrent;
    CInsertTableDlg dialog(m_pView);
    dialog.SetFitCheck([&](const CInsertTableDlg::Values& v) {
        const TableRequest request = RequestOf(v);
        return TableMisfit(TableRect(first, second, request, page, s.m_nTableBorderWidth, s.m_nTableInnerWidth),
                           request);
    });
    const bool accepted = dialog.DoModal() == QDialog::Accepted;
    CPageSet* pageSet = GetPageSet();
    if (!accepted || !pageSet) {
        Cancel();
    } else {
        const TableRequest request = RequestOf(dialog.GetValues());
        const CRect rect = TableRect(first, second, request, page, s.m_nTableBorderWidth, s.m_nTableInnerWidth);
        SaveUndoState();
        CPage* current = pageSet->GetCurrentPage();
        auto* table = new CTableElement(current, current->GetMaxLevel(), request.rows, request.columns,
                                        s.m_crTableLineColor, s.m_nTableBorderWidth, s.m_nTableInnerWidth,
                                        s.m_rcCellPadding, s.m_nTextAlignment, s.m_lfDefaultFont, s.m_crFontColor,
                                        s.m_crPaperColor, rect);
        pageSet->AddElementToPage(table);
        m_editor->SetTable(table);
        m_bEditing = true;
        m_editor->LoadCellEdit(1, 1);
    }
    m_bFirstCorner = false;
    InvalidateView();
}

void CVTTable::EditTable(CTableElement* table, int row, int index)
{
    Reset();
    if (!table) return;
    m_editor->SetTable(table);
    m_bEditing = true;
    m_editor->LoadCellEdit(row, index);
    InvalidateView();
}

BOOL CVTTable::OnLButtonUp(UINT flags, int x, int y)
{
    return m_bEditing ? m_editor->OnLButtonUp(flags, x, y) : TRUE;
}

BOOL CVTTable::OnLButtonDblClk(UINT, int, int)
{
    return FALSE;
}

BOOL CVTTable::OnRButtonDown(UINT flags, int x, int y)
{
    if (m_bEditing) return m_editor->OnRButtonDown(flags, x, y);
    Cancel();
    return TRUE;
}

BOOL CVTTable::OnRButtonDblClk(UINT flags, int x, int y)
{
    return m_bEditing ? m_editor->OnRButtonDblClk(flags, x, y) : CVectorTool::OnRButtonDblClk(flags, x, y);
}

BOOL CVTTable::OnRButtonUp(UINT flags, int x, int y)
{
    return m_bEditing ? m_editor->OnRButtonUp(flags, x, y) : CVectorTool::OnRButtonUp(flags, x, y);
}

// --- Keys ----------------------------------------------------------------------------------------------

BOOL CVTTable::OnTabDown()
{
    return m_bEditing ? m_editor->OnTabDown() : TRUE;
}

BOOL CVTTable::OnTabUp()
{
    return FALSE;
}

BOOL CVTTable::OnShiftDown()
{
    return m_bEditing ? m_editor->OnShiftDown() : TRUE;
}

BOOL CVTTable::OnShiftUp()
{
    return m_bEditing ? m_editor->OnShiftUp() : TRUE;
}

BOOL CVTTable::OnDeleteDown()
{
    return m_bEditing ? m_editor->OnDeleteDown() : TRUE;
}

BOOL CVTTable::OnDeleteUp()
{
    return m_bEditing ? m_editor->OnDeleteUp() : TRUE;
}

// --- Pending step -----------------------------------------------------------------------------------------

void CVTTable::Cancel()
{
    if (m_bEditing) {
        m_editor->Cancel();
        return;
    }
    Reset();
    InvalidateFeedback();
}

BOOL CVTTable::UndoStep()
{
    return m_bEditing ? m_editor->UndoStep() : CVectorTool::UndoStep();
}

BOOL CVTTable::HasPendingStep()
{
    return m_bEditing ? m_editor->HasPendingStep() : FALSE;
}

void CVTTable::Draw(CDC* dc, double scale, int originX, int originY, const CRect& rect)
{
    if (m_bEditing) {
        m_editor->Draw(dc, scale, originX, originY, rect);
        return;
    }
    if (m_bFirstCorner && dc)
        DrawRubberRect(dc, m_ptFirst.x, m_ptFirst.y, m_ptCurrent.x, m_ptCurrent.y, scale, originX, originY);
}

// --- Forwarded while editing ---------------------------------------------------------------------------------

void CVTTable::OnEditCopy()
{
    if (m_bEditing) m_editor->OnEditCopy();
}

void CVTTable::OnEditCut()
{
    if (m_bEditing) m_editor->OnEditCut();
}

BOOL CVTTable::CanCopy()
{
    return m_bEditing ? m_editor->CanCopy() : FALSE;
}

void CVTTable::OnCopyTable()
{
    if (m_bEditing) m_editor->OnCopyTable();
}

void CVTTable::OnCutTable()
{
    if (m_bEditing) m_editor->OnCutTable();
}

void CVTTable::OnFontColor()
{
    if (m_bEditing) m_editor->OnFontColor();
}

void CVTTable::OnCellColor()
{
    if (m_bEditing) m_editor->OnCellColor();
}

void CVTTable::OnFont()
{
    if (m_bEditing) m_editor->OnFont();
}

void CVTTable::OnAlignment()
{
    if (m_bEditing) m_editor->OnAlignment();
}

BOOL CVTTable::CanMergeCells()
{
    return m_bEditing ? m_editor->CanMergeCells() : FALSE;
}

BOOL CVTTable::CanInsertColumn()
{
    return m_bEditing ? m_editor->CanInsertColumn() : FALSE;
}

void CVTTable::MergeCells()
{
    if (m_bEditing) m_editor->MergeCells();
}

void CVTTable::SplitCells()
{
    if (m_bEditing) m_editor->SplitCells();
}

void CVTTable::InsertColumnLeft()
{
    if (m_bEditing) m_editor->InsertColumnLeft();
}

void CVTTable::InsertColumnRight()
{
    if (m_bEditing) m_editor->InsertColumnRight();
}

void CVTTable::InsertRowBefore()
{
    if (m_bEditing) m_editor->InsertRowBefore();
}

void CVTTable::InsertRowAfter()
{
    if (m_bEditing) m_editor->InsertRowAfter();
}

void CVTTable::ToggleDiagonalA()
{
    if (m_bEditing) m_editor->ToggleDiagonalA();
}

void CVTTable::ToggleDiagonalB()
{
    if (m_bEditing) m_editor->ToggleDiagonalB();
}

void CVTTable::DeleteRow()
{
    if (m_bEditing) m_editor->DeleteRow();
}

void CVTTable::DeleteColumn()
{
    if (m_bEditing) m_editor->DeleteColumn();
}

void CVTTable::TableProperties()
{
    if (m_bEditing) m_editor->TableProperties();
}
