// The table editor: the table, the edit box, the mouse and the drawing.
// The table commands are in CVTModifyTableCommands.cpp.
#include "tables/tool/CVTModifyTable.h"

#include "tables/tool/CCellEdit.h"
#include "tables/CTableElement.h"

#include "app/CFrameServices.h"
#include "settings/CSystemSettings.h"
#include "app/CVEKView.h"
#include "app/ToolCursors.h"

#include "geometry/Distance.h"
#include "geometry/Mapping.h"
#include "model/CPage.h"
#include "model/CPageSet.h"
#include "platform/CDC.h"
#include "platform/CodePage.h"
#include "res/CommandIds.h"

#include <QApplication>
#include <QMenu>
#include <QPainter>
#include <QTimer>

#include <algorithm>
#include <cstdlib>

namespace {

// Table menu 201 "表格编辑": commands of the view, 0 a separator, and the
// two submenus by their first command.
constexpr UINT kMenuCommands[] = {ID_COPY_TABLE, ID_CUT_TABLE, 0, ID_MERGE_CELLS, ID_SPLIT_CELLS, ID_ROW_BEFORE,
                                  ID_COLUMN_LEFT, 0, ID_DELETE_ROW, ID_DELETE_COLUMN, 0, ID_TABLE_PROPERTIES};

} // namespace

CVTModifyTable::CVTModifyTable(CVEKView* view, CDesignTool* owner) : CTableEditing(view), m_pOwner(owner)
{
    CVTModifyTable::Reset();
}

CVTModifyTable::~CVTModifyTable()
{
    delete m_menu;
    delete m_edit;
}

std::unique_ptr<CTableEditing> CVTModifyTable::Make(CVEKView* view, CDesignTool* owner)
{
    return std::make_unique<CVTModifyTable>(view, owner);
}

// --- The table -------------------------------------------------------------------------------

void CVTModifyTable::SetTable(CGraphElement* element)
{
    auto* table = element && element->GetType() == ELEMENT_TABLE ? dynamic_cast<CTableElement*>(element) : nullptr;
    if (table == m_pTable) {
        if (m_pView && table) m_pView->SetRefocusFlag(FALSE);
        return;
    }
    // What was typed into the other table is kept, unless that table is
    // no longer part of the document (new content after undo or open).
    if (m_pTable && TableInDocument()) CommitCellEdit();
    ClearCurrentCell();
    m_selection.clear();
    m_nState = kIdle;
    m_bHover = false;
    m_anchorRow = 1;
    m_pTable = table;
    m_pTablePageSet = table ? GetPageSet() : nullptr;
    if (m_pView) m_pView->SetRefocusFlag(table ? FALSE : TRUE);
    Redraw();
}

bool CVTModifyTable::TableInDocument() const
{
    const CPageSet* pageSet = GetPageSet();
    if (!m_pTable || !pageSet || pageSet != m_pTablePageSet) return false;
    for (int i = 0; i < pageSet->GetPageCount(); ++i)
        if (pageSet->GetPageAt(i)->FindElement(m_pTable)) return true;
    return false;
}

bool CVTModifyTable::IsValidCell(const CTableCellAddress& a) const
{
    return m_pTable && m_pTable->IsValidCell(a.row, a.index);
}

bool CVTModifyTable::HasTableAndCell() const
{
    return IsValidCell(m_current);
}

void CVTModifyTable::Redraw()
{
    if (m_pView) InvalidateView();
}

// --- Lifecycle ---------------------------------------------------------------------------------

void CVTModifyTable::Activate()
{
    CTableEditing::Activate();
    if (!m_edit && m_pView) {
        m_edit = new CCellEdit(this, m_pView);
        m_edit->lower();
        m_edit->hide();
        // Zooming and scrolling move the box with its cell.
        QObject::connect(m_pView, &CVEKView::ViewTransformChanged, m_edit, [this] {
            if (m_bEditing) PlaceCellEdit(ShouldShowCellEdit());
        });
    }
}

void CVTModifyTable::Deactivate()
{
    if (m_pTable && TableInDocument()) CommitCellEdit();
    CTableEditing::Deactivate();
    if (m_edit) m_edit->hide();
    if (m_pView) m_pView->SetRefocusFlag(TRUE);
    Reset();
}

void CVTModifyTable::Reset()
{
    CTableEditing::Reset();
    m_nState = kIdle;
    m_ptPress = m_ptCurrent = CPoint(-1, -1);
    m_current = m_anchor = CTableCellAddress();
    m_selection.clear();
    m_pTable = nullptr;
    m_pTablePageSet = nullptr;
    m_lastHorizontal = m_lastVertical = false;
    m_bShift = false;
    m_bEditing = false;
    m_bHover = false;
    m_lineCell = CTableCellAddress();
    m_lineEdge = 0;
    m_anchorRow = 1;
    ClearCurrentCell();
}

// --- The edit box ----------------------------------------------------------------------------------

void CVTModifyTable::FillCellEdit(const CTableCellAddress& cell)
{
    const CSystemSettings& s = Settings();
    m_edit->SetModelText(m_pTable->GetCellText(cell));
    m_edit->SetTextColor(m_pTable->GetCellTextColor(cell));
    m_edit->SetBackColor(m_pTable->GetCellBackColor(cell));
    m_edit->SetAlignment(std::clamp(m_pTable->GetCellAlignment(cell), 0, 8));
    const LogFont* font = m_pTable->GetCellFont(cell);
    m_edit->SetCellFont(font ? *font : s.m_lfDefaultFont, GetViewScale());
    CTableBorderLine line;
    if (m_pTable->FindCellMainDiagonal(cell, line))
        m_edit->SetDiagonal1(true, line.GetColor(), line.GetWidth());
    else
        m_edit->SetDiagonal1(false, s.m_crTableLineColor, s.m_nTableInnerWidth);
    if (m_pTable->FindCellAntiDiagonal(cell, line))
        m_edit->SetDiagonal2(true, line.GetColor(), line.GetWidth());
    else
        m_edit->SetDiagonal2(false, s.m_crTableLineColor, s.m_nTableInnerWidth);
    m_given = m_edit->GetContents();
}

void CVTModifyTable::LoadCellEdit(int row, int index)
{
    if (!m_pTable || !m_pTable->IsValidCell(row, index)) return;
    if (!m_edit) Activate();
    if (!m_edit) return;
    m_bEditing = true;
    m_current = m_anchor = CTableCellAddress(row, index);
    m_anchorRow = row;
    m_lastHorizontal = m_lastVertical = false;
    FillCellEdit(m_current);

    // The cell's font becomes the tool bar's.
    const LogFont* font = m_pTable->GetCellFont(m_current);
    if (font) Settings().m_lfDefaultFont = *font;
    if (CFrameServices* frame = Frame()) {
        frame->ShowAppliedFont(GbkToQString(Settings().m_lfDefaultFont.FaceName()));
    }
    PlaceCellEdit(ShouldShowCellEdit());
    m_edit->setFocus(Qt::OtherFocusReason);
    m_edit->selectAll();
}

// Against what the box was given, not the cell: the box cannot show every
// cell as it is (an alignment out of range, a cell without a font), and
// showing a cell is no change of it.
bool CVTModifyTable::CellEditDiffers() const
{
    if (!m_edit || !m_bEditing || !HasTableAndCell()) return false;
    return m_edit->GetContents() != m_given;
}

// The box's diagonals keep their own colour and width in the cell.
void CVTModifyTable::CommitCellEdit()
{
    if (!m_edit) return;
    if (m_bEditing && HasTableAndCell() && CellEditDiffers()) {
        const CTableCellAddress a = m_current;
        SaveUndoState();
        m_pTable->SetCellText(a, m_edit->GetModelText());
        m_pTable->SetCellTextColor(a, m_edit->GetTextColor());
        m_pTable->SetCellBackColor(a, m_edit->GetBackColor());
        m_pTable->SetCellAlignment(a, m_edit->GetAlignment());
        const LogFont font = m_edit->GetCellFont();
        m_pTable->SetCellFont(a, &font);
        const CCellEdit::Diagonal& d1 = m_edit->GetDiagonal1();
        const CCellEdit::Diagonal& d2 = m_edit->GetDiagonal2();
        CTableBorderLine line;
        if (d1.present && !m_pTable->FindCellMainDiagonal(a, line))
            m_pTable->SetCellDiagonal(a, true, false, d1.colour, d1.width);
        else if (d1.present)
            m_pTable->Grid().SetCellMainDiagonal(a, d1.colour, d1.width);
        else
            m_pTable->RemoveCellDiagonal(a, true, false);
        if (d2.present && !m_pTable->FindCellAntiDiagonal(a, line))
            m_pTable->SetCellDiagonal(a, false, true, d2.colour, d2.width);
        else if (d2.present)
            m_pTable->Grid().SetCellAntiDiagonal(a, d2.colour, d2.width);
        else
            m_pTable->RemoveCellDiagonal(a, false, true);
        Redraw();
    }
    ClearCurrentCell();
}

void CVTModifyTable::ClearCurrentCell()
{
    m_current = m_anchor = CTableCellAddress();
    m_bEditing = false;
    m_lastHorizontal = m_lastVertical = false;
    if (m_edit) {
        const bool hadFocus = m_edit->hasFocus();
        m_edit->clear();
        PlaceCellEdit(false);
        if (hadFocus && m_pView) m_pView->setFocus(Qt::OtherFocusReason);
    }
}

void CVTModifyTable::RevertCellEdit()
{
    if (!m_edit || !m_bEditing || !HasTableAndCell()) return;
    FillCellEdit(m_current);
    m_edit->selectAll();
    Redraw();
}

bool CVTModifyTable::ShouldShowCellEdit() const
{
    if (!m_bEditing) return false;
    const bool selecting = m_nState == kPressed || m_nState == kDraggingRowLine || m_nState == kDraggingColumnLine ||
                           m_nState == kMoving || m_nState == kResizing;
    return !(selecting && !m_selection.empty());
}

// The box covers the cell's text area, one pixel more on every side, so
// that what is typed stands where the cell will draw it.
void CVTModifyTable::PlaceCellEdit(bool show)
{
    if (!m_edit) return;
    CRect cell;
    if (!show || !m_pTable || !m_pTable->GetCellRect(m_current.row, m_current.index, cell) || !m_pView) {
        if (m_edit->isVisible()) m_edit->hide();
        return;
    }
    double scale = 1.0;
    int originX = 0;
    int originY = 0;
    GetViewTransform(&scale, &originX, &originY);
    const CRect text(cell.left + m_pTable->GetLeftMargin(), cell.top + m_pTable->GetTopMargin(),
                     cell.right - m_pTable->GetRightMargin(), cell.bottom - m_pTable->GetBottomMargin());
    CRect device = ModelToDeviceRect(text.left, text.top, text.right, text.bottom, scale, originX, originY);
    device.NormalizeRect();
    const QRect place(device.left - 1, device.top - 1, std::max(1, device.Width() + 2), std::max(1, device.Height() + 2));
    m_edit->SetScale(scale);
    if (m_edit->geometry() != place) m_edit->setGeometry(place);
    if (!m_edit->isVisible()) m_edit->show();
}

// --- Neighbours ------------------------------------------------------------------------------

void CVTModifyTable::NeighbourMoved(const CTableCellAddress& to, const CTableCellAddress& anchor)
{
    const int anchorRow = m_anchorRow;
    CommitCellEdit();
    LoadCellEdit(to.row, to.index);
    m_anchor = anchor;
    m_anchorRow = anchorRow;
    Redraw();
}

void CVTModifyTable::MoveToLeftCell()
{
    if (!HasTableAndCell()) return;
    if (m_lastVertical) {
        m_anchor = m_current;
        m_anchorRow = m_current.row;
    }
    CTableCellAddress to = m_current;
    int wrapped = 0;
    m_pTable->GetLeftNeighbour(m_anchorRow, m_current, to, wrapped);
    if (wrapped) {
        m_anchor = to;
        m_anchorRow = std::max(1, m_anchorRow - 1);
    }
    NeighbourMoved(to, m_anchor);
    m_lastHorizontal = true;
    m_lastVertical = false;
}

void CVTModifyTable::MoveToRightCell()
{
    if (!HasTableAndCell()) return;
    if (m_lastVertical) {
        m_anchor = m_current;
        m_anchorRow = m_current.row;
    }
    CTableCellAddress to = m_current;
    int wrapped = 0;
    m_pTable->GetRightNeighbour(m_anchorRow, m_current, to, wrapped);
    if (wrapped) {
        m_anchor = to;
        m_anchorRow = std::min(m_pTable->GetRowCount(), m_anchorRow + 1);
    }
    NeighbourMoved(to, m_anchor);
    m_lastHorizontal = true;
    m_lastVertical = false;
}

void CVTModifyTable::MoveToUpperCell()
{
    if (!HasTableAndCell()) return;
    if (m_lastHorizontal) m_anchor = m_current;
    CTableCellAddress to = m_current;
    m_pTable->GetUpperNeighbour(m_anchor, m_current, to);
    m_anchorRow = to.row;
    NeighbourMoved(to, m_anchor);
    m_lastVertical = true;
    m_lastHorizontal = false;
}

void CVTModifyTable::MoveToLowerCell()
{
    if (!HasTableAndCell()) return;
    if (m_lastHorizontal) m_anchor = m_current;
    CTableCellAddress to = m_current;
    m_pTable->GetLowerNeighbour(m_anchor, m_current, to);
    m_anchorRow = to.row;
    NeighbourMoved(to, m_anchor);
    m_lastVertical = true;
    m_lastHorizontal = false;
}

// --- Keys ------------------------------------------------------------------------------------------

BOOL CVTModifyTable::OnTabDown()
{
    if (!m_pTable) return FALSE;
    if (m_bShift)
        MoveToLeftCell();
    else
        MoveToRightCell();
    return TRUE;
}

BOOL CVTModifyTable::OnTabUp()
{
    return FALSE;
}

BOOL CVTModifyTable::OnShiftDown()
{
    m_bShift = true;
    return TRUE;
}

BOOL CVTModifyTable::OnShiftUp()
{
    m_bShift = false;
    return TRUE;
}

// Delete empties the selected cells, as one undo step.
BOOL CVTModifyTable::OnDeleteDown()
{
    if (!m_pTable || m_selection.empty()) return FALSE;
    ApplyToSelection([this](const CTableCellAddress& a) {
        if (*m_pTable->GetCellText(a) == '\0') return false;
        m_pTable->SetCellText(a, std::string());
        return true;
    });
    ClearCurrentCell();
    Redraw();
    return TRUE;
}

BOOL CVTModifyTable::OnDeleteUp()
{
    return FALSE;
}

// --- Mouse -----------------------------------------------------------------------------------------

int CVTModifyTable::LinePickTolerance() const
{
    return RoundToInt(kLinePickPixels * GetViewScale());
}

CRect CVTModifyTable::GetHandleRect(int which) const
{
    if (!m_pTable) return CRect();
    const CRect bound = m_pTable->GetBoundRect();
    const double scale = GetViewScale();
    if (which == 0) {
        const int side = RoundToInt(kMoveHandlePixels * scale);
        return CRect(bound.left - side, bound.top - side, bound.left, bound.top);
    }
    const int side = RoundToInt(kResizeHandlePixels * scale);
    return CRect(bound.right, bound.bottom, bound.right + side, bound.bottom + side);
}

bool CVTModifyTable::InTableOrHandles(int x, int y)
{
    const CPoint p(x, y);
    return m_pTable->GetBoundRect().PtInRect(p) || GetHandleRect(0).PtInRect(p) || GetHandleRect(1).PtInRect(p);
}

// The table's top border is no row line: the grid reports it as the
// first cell's, whose lower line it would then move.
void CVTModifyTable::UpdateHover(int x, int y)
{
    const int tolerance = LinePickTolerance();
    const CPoint p(x, y);
    int cursor = kCursorTable;
    UINT prompt = kPromptIdle;
    m_nState = kIdle;
    CTableCellAddress cell;
    int edge = 0;
    CRect cellRect;
    if (GetHandleRect(0).PtInRect(p)) {
        cursor = kCursorMove;
        m_nState = kOverMoveHandle;
        prompt = kPromptMoveHandle;
    } else if (GetHandleRect(1).PtInRect(p)) {
        cursor = kCursorResize;
        m_nState = kOverResizeHandle;
        prompt = kPromptResizeHandle;
    } else if (m_pTable->HitTestGridLine(x, y, tolerance, cell, edge)) {
        cursor = kCursorColumnLine;
        m_nState = kOverColumnLine;
        prompt = kPromptColumnLine;
        m_lineCell = cell;
        m_lineEdge = edge;
    } else if (m_pTable->HitTestCellEdge(x, y, cell, tolerance) && m_pTable->GetCellRect(cell.row, cell.index, cellRect) &&
               std::abs(y - cellRect.bottom) <= tolerance) {
        cursor = kCursorRowLine;
        m_nState = kOverRowLine;
        prompt = kPromptRowLine;
        m_lineCell = cell;
    }
    if (m_pView) m_pView->SetToolCursor(cursor);
    ShowPrompt(prompt);
}

bool CVTModifyTable::SelectionContains(int x, int y) const
{
    if (m_selection.empty()) return false;
    return m_pTable->GetCellsRect(m_selection).PtInRect(CPoint(x, y));
}

void CVTModifyTable::SelectCellsTo(int x, int y)
{
    const CTableCellList before = m_selection;
    m_selection.clear();
    CRect cell;
    const bool inCurrent = m_pTable->GetCellRect(m_current.row, m_current.index, cell) && cell.PtInRect(CPoint(x, y));
    if (!inCurrent) {
        const int left = std::min(m_ptPress.x, x);
        const int top = std::min(m_ptPress.y, y);
        m_pTable->GetCellsInRect(left, top, std::max(m_ptPress.x, x) + 1, std::max(m_ptPress.y, y) + 1, m_selection);
    }
    if (m_selection != before) {
        PlaceCellEdit(ShouldShowCellEdit());
        InvalidateFeedback();
    }
}

BOOL CVTModifyTable::OnMouseMove(UINT, int x, int y)
{
    if (!m_pTable) return FALSE;
    switch (m_nState) {
    case kIdle:
    case kOverRowLine:
    case kOverColumnLine:
    case kOverMoveHandle:
    case kOverResizeHandle: {
        const bool inside = InTableOrHandles(x, y);
        const bool changed = inside != m_bHover;
        m_bHover = inside;
        if (inside) UpdateHover(x, y);
        if (changed) InvalidateFeedback();
        if (!inside) {
            m_nState = kIdle;
            if (m_pView) m_pView->SetToolCursor(kCursorOutside);
            return FALSE;
        }
        return TRUE;
    }
    case kPressed:
        m_ptCurrent = CPoint(x, y);
        SelectCellsTo(x, y);
        return TRUE;
    default:
        if (m_nState > kResizing) {
            QApplication::beep();
            return FALSE;
        }
        m_ptCurrent = CPoint(x, y);
        InvalidateFeedback();
        return TRUE;
    }
}

void CVTModifyTable::PressInTable(int x, int y)
{
    CTableCellAddress cell;
    if (m_pTable->HitTestCell(x, y, cell) && cell != m_current && IsValidCell(cell)) {
        if (m_bEditing) CommitCellEdit();
        LoadCellEdit(cell.row, cell.index);
        m_anchorRow = cell.row;
    }
    m_ptPress = m_ptCurrent = CPoint(x, y);
    if (m_selection.size() > 1) m_selection.clear();
    m_nState = kPressed;
}

// The clicked point is the new top-left corner of the frame drawn while
// moving; the table's origin lies inside its lines.
void CVTModifyTable::EndMove(int x, int y)
{
    const int shift = RoundToInt(kResizeHandlePixels * GetViewScale()) + m_pTable->GetOuterLineWidth();
    const CPoint origin = m_pTable->GetOrigin();
    const CPoint to(x + shift, y + shift);
    m_nState = kIdle;
    if (to == origin) return;
    SaveUndoState();
    m_pTable->MoveTo(to.x, to.y);
}

void CVTModifyTable::EndResize(int x, int y)
{
    const int outer = m_pTable->GetOuterLineWidth();
    const CPoint origin = m_pTable->GetOrigin();
    const CRect rect(origin.x, origin.y, x - outer, y - outer);
    m_nState = kIdle;
    if (rect == m_pTable->GetTableRect()) return;
    BeginUndoStep();
    if (m_pTable->ResizeToRect(rect))
        CommitUndoStep();
    else {
        DropUndoStep();
        QApplication::beep();
    }
}

BOOL CVTModifyTable::OnLButtonDown(UINT flags, int x, int y)
{
    if (!OnMouseMove(flags, x, y)) return FALSE;
    BOOL result = TRUE;
    switch (m_nState) {
    case kIdle:
        if (!m_pTable->GetBoundRect().PtInRect(CPoint(x, y))) return FALSE;
        PressInTable(x, y);
        break;
    case kPressed: m_nState = kIdle; break;
    case kOverRowLine:
        m_ptPress = m_ptCurrent = CPoint(x, y);
        m_nState = SelectionContains(x, y) ? kDraggingRowLineInSelection : kDraggingRowLine;
        break;
    case kOverColumnLine:
        m_ptPress = m_ptCurrent = CPoint(x, y);
        m_nState = (flags & MK_CONTROL) && SelectionContains(x, y) ? kDraggingColumnLineInSelection : kDraggingColumnLine;
        break;
    case kOverMoveHandle:
        m_ptPress = m_ptCurrent = CPoint(x, y);
        m_nState = kMoving;
        ShowPrompt(kPromptMoving);
        break;
    case kMoving: EndMove(x, y); break;
    case kOverResizeHandle:
        m_ptPress = m_ptCurrent = CPoint(x, y);
        m_nState = kResizing;
        ShowPrompt(kPromptResizing);
        break;
    case kResizing: EndResize(x, y); break;
    case kDraggingRowLine:
    case kDraggingColumnLine: break;
    default:
        QApplication::beep();
        result = FALSE;
        break;
    }
    PlaceCellEdit(ShouldShowCellEdit());
    Redraw();
    return result;
}

void CVTModifyTable::EndLineDrag(int x, int y)
{
    const CPoint to(x, y);
    CScreenDC dc;
    int moved = 0;
    const int state = m_nState;
    m_nState = kIdle;
    const bool vertically = y != m_ptPress.y;
    const bool horizontally = x != m_ptPress.x;
    BeginUndoStep();
    switch (state) {
    case kDraggingRowLine:
        if (vertically && IsValidCell(m_lineCell)) moved = m_pTable->MoveHorizontalLine(&dc, m_ptPress, to, m_lineCell);
        break;
    case kDraggingRowLineInSelection:
        if (vertically && !m_selection.empty())
            moved = m_pTable->MoveSelectionHorizontalLine(&dc, m_ptPress, to, m_selection);
        break;
    case kDraggingColumnLine:
        if (!horizontally) break;
        if (m_selection.empty())
            moved = m_pTable->MoveVerticalLine(&dc, m_ptPress, to, m_lineCell, m_lineEdge, LinePickTolerance());
        else
            moved = m_pTable->MoveGridLine(&dc, m_ptPress, to, m_lineCell, m_selection, m_lineEdge,
                                           LinePickTolerance());
        break;
    case kDraggingColumnLineInSelection:
        if (horizontally) moved = m_pTable->MoveSelectionVerticalLine(&dc, m_ptPress, to, m_selection);
        break;
    default: break;
    }
    if (moved)
        CommitUndoStep();
    else
        DropUndoStep();
}

BOOL CVTModifyTable::OnLButtonUp(UINT flags, int x, int y)
{
    if (!OnMouseMove(flags, x, y)) return FALSE;
    switch (m_nState) {
    case kPressed:
        if (m_selection.size() == 1) m_selection.clear();
        // Several cells selected: what was typed goes into its cell.
        if (m_selection.size() > 1 && m_bEditing) CommitCellEdit();
        m_nState = kIdle;
        break;
    case kDraggingRowLine:
    case kDraggingRowLineInSelection:
    case kDraggingColumnLine:
    case kDraggingColumnLineInSelection: EndLineDrag(x, y); break;
    case kMoving:
    case kResizing: return TRUE;
    default: return FALSE;
    }
    PlaceCellEdit(ShouldShowCellEdit());
    Redraw();
    return FALSE;
}

BOOL CVTModifyTable::OnRButtonDown(UINT flags, int x, int y)
{
    if (!OnMouseMove(flags, x, y)) return FALSE;
    switch (m_nState) {
    case kMoving:
    case kResizing:
        m_nState = kIdle;
        OnMouseMove(flags, x, y);
        PlaceCellEdit(ShouldShowCellEdit());
        InvalidateFeedback();
        return TRUE;
    case kPressed:
    case kDraggingRowLine:
    case kDraggingColumnLine: return TRUE;
    default: break;
    }
    if (!m_pTable->GetBoundRect().PtInRect(CPoint(x, y))) {
        QApplication::beep();
        return TRUE;
    }
    OpenTableMenu(x, y);
    return TRUE;
}

// Menu 201 "表格编辑", built on the view's commands, so that each entry
// runs as the command does from the menu bar.
void CVTModifyTable::OpenTableMenu(int x, int y)
{
    if (!m_pView) return;
    if (!m_menu) {
        m_menu = new QMenu(QStringLiteral("表格编辑"), m_pView);
        m_menu->setObjectName(QStringLiteral("201"));
        for (const UINT id : kMenuCommands) {
            if (id == 0) {
                m_menu->addSeparator();
            } else if (id == ID_ROW_BEFORE || id == ID_COLUMN_LEFT) {
                const bool rows = id == ID_ROW_BEFORE;
                QMenu* sub = m_menu->addMenu(rows ? QStringLiteral("插入行") : QStringLiteral("插入列"));
                const UINT entries[2] = {id, rows ? UINT(ID_ROW_AFTER) : UINT(ID_COLUMN_RIGHT)};
                for (const UINT entry : entries)
                    if (QAction* action = m_pView->CommandAction(int(entry))) sub->addAction(action);
            } else if (QAction* action = m_pView->CommandAction(int(id))) {
                m_menu->addAction(action);
            }
        }
    }
    m_pView->UpdateCommandActions();
    const CPoint device = m_pView->ModelToDevicePoint(x, y);
    m_menu->popup(m_pView->mapToGlobal(QPoint(device.x, device.y)));
}

// --- Drawing ---------------------------------------------------------------------------------------

void CVTModifyTable::Draw(CDC* dc, double scale, int originX, int originY, const CRect& rect)
{
    if (!dc || !m_pTable) return;
    const CPoint cur = ::ModelToDevicePoint(m_ptCurrent.x, m_ptCurrent.y, scale, originX, originY);
    const CRect client = ModelToDeviceRect(rect.left, rect.top, rect.right, rect.bottom, scale, originX, originY);
    const int outer = m_pTable->GetOuterLineWidth();
    switch (m_nState) {
    case kDraggingRowLine:
    case kDraggingRowLineInSelection:
        dc->MoveTo(client.left, cur.y);
        dc->LineTo(client.right, cur.y);
        break;
    case kDraggingColumnLine:
    case kDraggingColumnLineInSelection:
        dc->MoveTo(cur.x, client.top);
        dc->LineTo(cur.x, client.bottom);
        break;
    case kMoving: {
        const int shift = RoundToInt(kResizeHandlePixels * scale);
        const int left = m_ptCurrent.x + shift;
        const int top = m_ptCurrent.y + shift;
        DrawRubberRect(dc, left, top, left + m_pTable->GetTableWidth() + 2 * outer,
                       top + m_pTable->GetTableHeight() + 2 * outer, scale, originX, originY);
        break;
    }
    case kResizing: {
        const CPoint origin = m_pTable->GetOrigin();
        DrawRubberRect(dc, origin.x - outer, origin.y - outer, m_ptCurrent.x, m_ptCurrent.y, scale, originX, originY);
        break;
    }
    default: break;
    }
    if (m_bHover) {
        const CBrush brush = dc->SelectBrush(CBrush::Null());
        for (int which = 0; which < 2; ++which) {
            const CRect h = GetHandleRect(which);
            const CRect d = ModelToDeviceRect(h.left, h.top, h.right, h.bottom, scale, originX, originY);
            dc->Rectangle(d.left, d.top, d.right, d.bottom);
        }
        dc->SelectBrush(brush);
        const QPixmap icon = ToolIcon(kMoveHandleIcon);
        const CRect h = GetHandleRect(0);
        const CPoint at = ::ModelToDevicePoint(h.left, h.top, scale, originX, originY);
        if (!icon.isNull() && dc->Painter()) dc->Painter()->drawPixmap(at.x + 1, at.y + 1, icon);
    }
    if (!m_selection.empty()) m_pTable->DrawCells(dc, scale, originX, originY, m_selection, client);
}

// --- Pending step ----------------------------------------------------------------------------------

// The typed text is dropped and the table let go.
void CVTModifyTable::Cancel()
{
    CTableEditing::Cancel();
    RevertCellEdit();
    m_nState = kIdle;
    if (m_pOwner) m_pOwner->Reset();
    Redraw();
}

// Undo inside the box first; with nothing left to undo there, the box
// shows its cell again.
BOOL CVTModifyTable::UndoStep()
{
    if (m_edit && m_edit->document()->isUndoAvailable() && m_edit->GetModelText() != m_given.text)
        m_edit->undo();
    else
        RevertCellEdit();
    Redraw();
    return TRUE;
}

BOOL CVTModifyTable::HasPendingStep()
{
    if (m_pTable && m_bEditing && CellEditDiffers()) return TRUE;
    return CTableEditing::HasPendingStep();
}

// --- Clipboard -----------------------------------------------------------------------------------------

void CVTModifyTable::OnEditCopy()
{
    if (m_bEditing && m_edit) m_edit->copy();
}

void CVTModifyTable::OnEditCut() {}

BOOL CVTModifyTable::CanCopy()
{
    return m_pTable ? TRUE : FALSE;
}
