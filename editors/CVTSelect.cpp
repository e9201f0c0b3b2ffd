#include "editors/CVTSelect.h"

#include "app/CFrameServices.h"
#include "settings/CSystemSettings.h"
#include "app/CVEKDoc.h"
#include "app/CVEKSrvrItem.h"
#include "app/CVEKView.h"
#include "editors/CTableEditing.h"
#include "editors/CVTFill.h"
#include "editors/CVTModifyCurve.h"
#include "editors/CVTModifyPicture.h"
#include "editors/CVTModifyText.h"

#include "geometry/Distance.h"
#include "geometry/Mapping.h"
#include "model/CClosedCurveElement.h"
#include "model/CCurveNode.h"
#include "model/CImageElement.h"
#include "model/CPage.h"
#include "model/CPageSet.h"
#include "model/CSharedPoint.h"
#include "model/CTextElement.h"
#include "model/ElementOffset.h"
#include "platform/CDC.h"
#include "res/CommandIds.h"

#include <algorithm>
#include <cstdlib>

namespace {

// The axis a mirrored curve's first node was mirrored across.
bool AxisOfFirstNode(const CCurveElement* curve, CPoint& a1, CPoint& a2)
{
    const CCurveNode* node = curve ? curve->GetFirstNode() : nullptr;
    const CSharedPoint* point = node ? node->GetPoint() : nullptr;
    if (!point || !point->IsMirrored()) return false;
    CSharedPoint* axis1 = nullptr;
    CSharedPoint* axis2 = nullptr;
    point->GetMirrorAxis(axis1, axis2);
    if (!axis1 || !axis2) return false;
    a1 = axis1->GetPosition();
    a2 = axis2->GetPosition();
    return true;
}

} // namespace

CVTSelect::CVTSelect(CVEKView* view, CTableEditing::Factory tableEditor) : CVTSelect(view, nullptr, 0, tableEditor) {}

CVTSelect::CVTSelect(CVEKView* view, CVTSymmetricDraw* owner, int subTool, CTableEditing::Factory tableEditor)
    : CVectorTool(view),
      m_pOwner(owner),
      m_bSubTool(subTool),
      m_makeTableEditor(tableEditor),
      m_pCurveEditor(std::make_unique<CVTModifyCurve>(view, this)),
      m_pTextEditor(std::make_unique<CVTModifyText>(view, this)),
      m_pPictureEditor(std::make_unique<CVTModifyPicture>(view, this))
{
    CVTSelect::Reset();
}

CVTSelect::~CVTSelect() = default;

// --- Editors ------------------------------------------------------------------------------

CVectorTool* CVTSelect::Editor() const
{
    if (!m_pSelected) return nullptr;
    switch (m_nSelectedKind) {
    case ELEMENT_CURVE: return m_pCurveEditor.get();
    case ELEMENT_IMAGE: return m_pPictureEditor.get();
    case ELEMENT_TEXT: return m_pTextEditor.get();
    case ELEMENT_TABLE: return m_pTableEditor.get();
    default: return nullptr;
    }
}

// Made when a table is first met: by then every tool of the view exists.
CTableEditing* CVTSelect::TableEditor()
{
    if (!m_pTableEditor && m_makeTableEditor) {
        m_pTableEditor = m_makeTableEditor(m_pView, this);
        if (m_pTableEditor) m_pTableEditor->Activate();
    }
    return m_pTableEditor.get();
}

void CVTSelect::ShowFontControls(int show) const
{
    if (CFrameServices* frame = Frame()) frame->ShowFontControls(show);
}

void CVTSelect::ShowTextControls(int show) const
{
    if (CFrameServices* frame = Frame()) frame->ShowTextControls(show);
}

// --- For the symmetric-drawing tool ------------------------------------------------------------

int CVTSelect::GetCurvePolyline(CPointList& out) const
{
    if (!IsSelected(ELEMENT_CURVE)) return 0;
    m_pCurveEditor->GetPolyline(out);
    return 1;
}

int CVTSelect::GetCurveNodes(CCurveNodeList& out) const
{
    if (!IsSelected(ELEMENT_CURVE)) return 0;
    m_pCurveEditor->GetCurveNodes(out);
    return 1;
}

int CVTSelect::IsCurveModified() const
{
    return IsSelected(ELEMENT_CURVE) ? m_pCurveEditor->IsCurveModified() : 0;
}

// --- Lifecycle ------------------------------------------------------------------------------

void CVTSelect::Activate()
{
    CVectorTool::Activate();
    m_pCurveEditor->Activate();
    m_pTextEditor->Activate();
    m_pPictureEditor->Activate();
    if (m_pTableEditor) m_pTableEditor->Activate();
    if (m_pView) m_pView->SetToolCursor(kCursor);
}

void CVTSelect::Deactivate()
{
    Deselect();
    Reset();
    CVectorTool::Deactivate();
    m_pCurveEditor->Deactivate();
    m_pTextEditor->Deactivate();
    m_pPictureEditor->Deactivate();
    if (m_pTableEditor) m_pTableEditor->Deactivate();
    InvalidateView();
}

void CVTSelect::Reset()
{
    if (m_press == Press::Moving) EndMoveStep();
    m_press = Press::None;
    m_pPressed = nullptr;
    // The tool bar groups of what was selected go with it.
    if (IsSelected(ELEMENT_CURVE)) {
        m_pCurveEditor->ShowCurveControls(0);
        ShowFillTypeControls(0);
    }
    if (IsSelected(ELEMENT_TEXT)) ShowFontControls(0);
    if (IsSelected(ELEMENT_TABLE)) ShowTextControls(0);
    CVectorTool::Reset();
    m_pSelected = nullptr;
    m_pHovered = nullptr;
    m_multi.Clear();
    m_bMirrorAxis = false;
    m_bArrowStepOpen = false;
    if (m_bSubTool && m_onEditElement) m_onEditElement(nullptr);
    if (m_pCurveEditor) m_pCurveEditor->Reset();
    if (m_pTextEditor) m_pTextEditor->Reset();
    if (m_pPictureEditor) m_pPictureEditor->SetElement(nullptr);
    if (m_pTableEditor) m_pTableEditor->SetTable(nullptr);
    m_zoom.Release();
    if (m_pView) m_pView->SetToolCursor(kCursor);
}

// --- Selecting ----------------------------------------------------------------------------------

void CVTSelect::Select(CGraphElement* element, UINT flags, int x, int y)
{
    m_pSelected = element;
    m_nSelectedKind = element->GetType();
    m_pHovered = nullptr;
    m_captureKind = CAPTURED_NOTHING;
    switch (element->GetType()) {
    case ELEMENT_CURVE: {
        auto* curve = static_cast<CCurveElement*>(element);
        TakeMirrorAxis(curve);
        m_pCurveEditor->SetCurve(curve);
        m_pCurveEditor->ShowCurveControls(1);
        if (curve->IsClosed()) ShowFillTypeControls(1);
        if (m_pView) m_pView->SetRefocusFlag(1);
        break;
    }
    case ELEMENT_IMAGE:
        m_pPictureEditor->SetElement(static_cast<CImageElement*>(element));
        m_pPictureEditor->OnLButtonDown(flags, x, y);
        if (m_pView) m_pView->SetRefocusFlag(1);
        break;
    case ELEMENT_TEXT:
        ShowFontControls(1);
        m_pTextEditor->SetElement(static_cast<CTextElement*>(element));
        if (m_pView) m_pView->SetRefocusFlag(1);
        break;
    case ELEMENT_TABLE:
        // The in-cell edit box keeps the keyboard focus.
        if (m_pView) m_pView->SetRefocusFlag(0);
        m_pTableEditor->SetTable(element);
        ShowTextControls(1);
        m_pTableEditor->OnLButtonDown(flags, x, y);
        break;
    default: m_pSelected = nullptr; break;
    }
}

void CVTSelect::Deselect()
{
    if (!m_pSelected) return;
    switch (m_nSelectedKind) {
    case ELEMENT_CURVE:
        m_pCurveEditor->ShowCurveControls(0);
        ShowFillTypeControls(0);
        m_pCurveEditor->Reset();
        break;
    case ELEMENT_IMAGE: m_pPictureEditor->SetElement(nullptr); break;
    case ELEMENT_TEXT:
        ShowFontControls(0);
        m_pTextEditor->Reset();
        break;
    case ELEMENT_TABLE:
        m_pTableEditor->CommitCellEdit();
        ShowTextControls(0);
        m_pTableEditor->SetTable(nullptr);
        break;
    default: break;
    }
    m_pSelected = nullptr;
    m_bMirrorAxis = false;
}

// A mirror image shows the axis it was mirrored across; so does a curve
// that others mirror.
void CVTSelect::TakeMirrorAxis(CCurveElement* curve)
{
    m_bMirrorAxis = false;
    if (curve->GetMirrorSource() && curve->GetNodeCount() >= 2)
        m_bMirrorAxis = AxisOfFirstNode(curve, m_ptAxis1, m_ptAxis2);
    CPageSet* pageSet = GetPageSet();
    CPage* page = pageSet ? pageSet->GetCurrentPage() : nullptr;
    if (!page) return;
    for (CGraphElement* e : page->Elements()) {
        if (e->GetType() != ELEMENT_CURVE) continue;
        auto* other = static_cast<CCurveElement*>(e);
        if (other->GetMirrorSource() == curve && AxisOfFirstNode(other, m_ptAxis1, m_ptAxis2)) m_bMirrorAxis = true;
    }
}

void CVTSelect::AddToMultiSelection(CGraphElement* element)
{
    m_multi.Add(element);
    if (m_pView) m_pView->SetRefocusFlag(1);
    if (CFrameServices* frame = Frame()) frame->ShowLineControls(1, 1, 1, 1, 1);
}

// --- Hover ---------------------------------------------------------------------------------------

BOOL CVTSelect::Hover(UINT flags, int x, int y)
{
    const int kindBefore = m_captureKind;
    CGraphElement* const elementBefore = m_pCapturedElement;
    CGraphElement* const hoveredBefore = m_pHovered;
    const bool tableMatching = Settings().m_bTableMatching != 0;

    if (IsSelected(ELEMENT_TABLE) && !tableMatching) {
        // Without table matching no table stays selected.
        ShowTextControls(0);
        m_pTableEditor->Deactivate();
        Reset();
        InvalidateView();
    } else if (CVectorTool* editor = Editor()) {
        const BOOL taken = editor->OnMouseMove(flags, x, y);
        m_captureKind = CAPTURED_NOTHING;
        if (taken) {
            m_pHovered = nullptr;
            if (hoveredBefore) InvalidateFeedback();
            return taken;
        }
    }

    m_captureMask = kMaskCurvesTexts;
    BOOL captured = CVectorTool::OnMouseMove(flags, x, y);
    const auto found = [this] { return (m_captureKind & CAPTURE_FEEDBACK_HIGHLIGHT) && m_pCapturedElement; };
    if (!found() && tableMatching) {
        m_captureMask = kMaskPicturesTables;
        captured = CVectorTool::OnMouseMove(flags, x, y);
    }
    m_pHovered = found() && m_pCapturedElement != m_pSelected ? m_pCapturedElement : nullptr;
    // A table is offered only when there is an editor to take it.
    if (m_pHovered && m_pHovered->GetType() == ELEMENT_TABLE && !TableEditor()) m_pHovered = nullptr;

    int cursor = kCursor;
    if (m_pHovered && m_pHovered->GetType() == ELEMENT_TEXT) cursor = kCursorText;
    if (m_pHovered && m_pHovered->GetType() == ELEMENT_TABLE) cursor = kCursorTable;
    if (!m_pHovered && m_pSelected) m_captureKind = CAPTURED_NOTHING;
    if (m_pView) m_pView->SetToolCursor(cursor);
    if (!m_pSelected) ShowPrompt(CVEKView::kIdlePrompt);

    const bool changed = m_captureKind != kindBefore || m_pCapturedElement != elementBefore || m_pHovered != hoveredBefore;
    if (!m_pSelected || changed) InvalidateFeedback();
    return m_pSelected ? FALSE : captured;
}

BOOL CVTSelect::OnMouseMove(UINT flags, int x, int y)
{
    if (m_zoom.IsHeld()) {
        if (m_zoom.Track(flags, x, y)) InvalidateFeedback();
        return FALSE;
    }
    if (m_press != Press::None) {
        // The button came up where this view did not see it.
        if (!(flags & MK_LBUTTON)) return EndPress(flags, x, y);
        ContinuePress(x, y);
        return TRUE;
    }
    return Hover(flags, x, y);
}

// --- Left button ---------------------------------------------------------------------------------

BOOL CVTSelect::OnLButtonDown(UINT flags, int x, int y)
{
    if (m_zoom.IsHeld()) {
        m_zoom.Click(flags, x, y);
        InvalidateView();
        return FALSE;
    }
    m_bArrowStepOpen = false;
    if (m_press != Press::None) EndPress(flags, x, y);

    if (flags & MK_SHIFT) {
        // Shift never reaches the editor: it builds the list.
        Hover(flags, x, y);
        if (m_pHovered) {
            AddToMultiSelection(m_pHovered);
        } else if (!m_pSelected) {
            StartPress(Press::Pending, x, y);
        }
        InvalidateFeedback();
        return m_pHovered ? TRUE : FALSE;
    }

    if (CVectorTool* editor = Editor()) {
        if (const BOOL taken = editor->OnLButtonDown(flags, x, y)) {
            InvalidateView();
            return taken;
        }
        // The click left the element: it is let go, and the same click may
        // select another one.
        Deselect();
    }
    const BOOL result = SelectAt(flags, x, y);
    InvalidateView();
    return result;
}

BOOL CVTSelect::SelectAt(UINT flags, int x, int y)
{
    Hover(flags, x, y);
    CGraphElement* element = m_pHovered;
    m_captureKind = CAPTURED_NOTHING;
    if (!element) {
        // Empty paper: perhaps the start of a rubber band.
        StartPress(Press::Pending, x, y);
        return FALSE;
    }
    if (flags & MK_CONTROL) {
        AddToMultiSelection(element);
        return TRUE;
    }
    if (m_multi.Contains(element)) {
        // A press on a listed element may move the list; it selects the
        // element only when the button comes up where it went down.
        StartPress(Press::Pending, x, y);
        m_pPressed = element;
        return TRUE;
    }
    Select(element, flags, x, y);
    return TRUE;
}

BOOL CVTSelect::OnLButtonUp(UINT flags, int x, int y)
{
    if (m_press != Press::None) return EndPress(flags, x, y);
    CVectorTool* editor = Editor();
    return editor ? editor->OnLButtonUp(flags, x, y) : FALSE;
}

BOOL CVTSelect::OnLButtonDblClk(UINT flags, int x, int y)
{
    CVectorTool* editor = Editor();
    return editor ? editor->OnLButtonDblClk(flags, x, y) : FALSE;
}

// --- Presses that may become a band or a move -----------------------------------------------------

void CVTSelect::StartPress(Press kind, int x, int y)
{
    m_press = kind;
    m_ptPress = m_ptPressNow = CPoint(x, y);
    m_pPressed = nullptr;
    m_bMoveCommitted = false;
}

bool CVTSelect::PressMoved(int x, int y) const
{
    const int limit = RoundToInt(kDragThreshold * GetViewScale());
    return std::abs(x - m_ptPress.x) > limit || std::abs(y - m_ptPress.y) > limit;
}

void CVTSelect::ContinuePress(int x, int y)
{
    if (m_press == Press::Pending) {
        if (!PressMoved(x, y)) return;
        if (m_pPressed) {
            // The move of the list is one step, made at its first change.
            BeginUndoStep();
            m_press = Press::Moving;
        } else {
            m_press = Press::Band;
        }
    }
    if (m_press == Press::Band) {
        m_ptPressNow = CPoint(x, y);
        InvalidateFeedback();
        return;
    }
    const int dx = x - m_ptPressNow.x;
    const int dy = y - m_ptPressNow.y;
    m_ptPressNow = CPoint(x, y);
    if (dx == 0 && dy == 0) return;
    if (!m_bMoveCommitted) m_bMoveCommitted = CommitUndoStep();
    m_multi.Offset(dx, dy);
    InvalidateView();
}

BOOL CVTSelect::EndPress(UINT flags, int, int)
{
    const Press press = m_press;
    CGraphElement* pressed = m_pPressed;
    m_press = Press::None;
    m_pPressed = nullptr;
    switch (press) {
    case Press::Band: TakeBand(flags); break;
    case Press::Moving: EndMoveStep(); break;
    case Press::Pending:
        if (pressed) Select(pressed, flags, m_ptPress.x, m_ptPress.y);
        break;
    default: break;
    }
    InvalidateView();
    return press != Press::None ? TRUE : FALSE;
}

void CVTSelect::EndMoveStep()
{
    if (!m_bMoveCommitted) DropUndoStep();
    m_bMoveCommitted = false;
}

// Everything lying wholly inside the band; with Shift or Ctrl added to the
// list, else in its place.
void CVTSelect::TakeBand(UINT flags)
{
    CPageSet* pageSet = GetPageSet();
    CPage* page = pageSet ? pageSet->GetCurrentPage() : nullptr;
    if (!page) return;
    const CRect band(std::min(m_ptPress.x, m_ptPressNow.x), std::min(m_ptPress.y, m_ptPressNow.y),
                     std::max(m_ptPress.x, m_ptPressNow.x), std::max(m_ptPress.y, m_ptPressNow.y));
    CElementList meeting;
    page->GetElementsInRect(CRect(band.left, band.top, band.right + 1, band.bottom + 1), ELEMENT_ALL, meeting);
    if (!(flags & (MK_SHIFT | MK_CONTROL))) m_multi.Clear();
    for (CGraphElement* e : meeting) {
        if (e->GetType() == ELEMENT_TABLE && !TableEditor()) continue;
        const CRect r = e->GetBoundRect();
        if (r.left >= band.left && r.top >= band.top && r.right <= band.right && r.bottom <= band.bottom)
            AddToMultiSelection(e);
    }
}

// --- Right button and other mouse events ------------------------------------------------------------

BOOL CVTSelect::OnRButtonDown(UINT flags, int x, int y)
{
    if (m_zoom.IsHeld()) {
        m_zoom.OnRButtonDown(flags, y);
        m_multi.Clear();
        return FALSE;
    }
    if (m_press == Press::Moving) EndMoveStep();
    m_press = Press::None;
    BOOL result = FALSE;
    const bool curve = IsSelected(ELEMENT_CURVE);
    if (CVectorTool* editor = Editor()) {
        result = editor->OnRButtonDown(flags, x, y);
        if (curve && result) m_pCurveEditor->ShowCurveControls(0);
    }
    m_multi.Clear();
    InvalidateView();
    return result;
}

BOOL CVTSelect::OnRButtonDblClk(UINT flags, int x, int y)
{
    CVectorTool* editor = Editor();
    return editor ? editor->OnRButtonDblClk(flags, x, y) : FALSE;
}

BOOL CVTSelect::OnRButtonUp(UINT flags, int x, int y)
{
    CVectorTool* editor = Editor();
    return editor ? editor->OnRButtonUp(flags, x, y) : FALSE;
}

// --- Keys ----------------------------------------------------------------------------------------------

BOOL CVTSelect::OnTabDown() { return Editor() ? Editor()->OnTabDown() : FALSE; }
BOOL CVTSelect::OnTabUp() { return Editor() ? Editor()->OnTabUp() : FALSE; }
BOOL CVTSelect::OnReturnDown() { return Editor() ? Editor()->OnReturnDown() : FALSE; }
BOOL CVTSelect::OnReturnUp() { return Editor() ? Editor()->OnReturnUp() : FALSE; }
BOOL CVTSelect::OnShiftDown() { return Editor() ? Editor()->OnShiftDown() : FALSE; }
BOOL CVTSelect::OnShiftUp() { return Editor() ? Editor()->OnShiftUp() : FALSE; }
BOOL CVTSelect::OnCtrlDown() { return Editor() ? Editor()->OnCtrlDown() : FALSE; }
BOOL CVTSelect::OnCtrlUp() { return Editor() ? Editor()->OnCtrlUp() : FALSE; }
BOOL CVTSelect::OnDeleteUp() { return Editor() ? Editor()->OnDeleteUp() : FALSE; }

BOOL CVTSelect::OnDigitDown(char digit)
{
    if (!Editor()) return FALSE;
    Editor()->OnDigitDown(digit);
    return TRUE;
}

BOOL CVTSelect::OnDigitUp(char digit)
{
    if (!Editor()) return FALSE;
    Editor()->OnDigitUp(digit);
    return TRUE;
}

BOOL CVTSelect::OnSpaceDown()
{
    m_zoom.Hold();
    if (CVectorTool* editor = Editor()) editor->OnSpaceDown();
    return TRUE;
}

BOOL CVTSelect::OnSpaceUp()
{
    m_zoom.Release();
    if (m_pView) m_pView->SetToolCursor(kCursor);
    if (CVectorTool* editor = Editor()) editor->OnSpaceUp();
    InvalidateFeedback();
    return TRUE;
}

// Delete goes to the selected element's editor; a curve whose editor has
// no node to delete goes as a whole. With nothing selected the list goes.
BOOL CVTSelect::OnDeleteDown()
{
    if (m_press != Press::None) return FALSE;
    if (CVectorTool* editor = Editor()) {
        const bool curve = IsSelected(ELEMENT_CURVE);
        const BOOL result = editor->OnDeleteDown();
        if (curve && m_pCurveEditor->IsCurveRemoved() && result) {
            if (m_onSubToolDelete) m_onSubToolDelete();
        } else if (curve && !result && IsSelected(ELEMENT_CURVE)) {
            DeleteSelectedCurve();
            return TRUE;
        }
        return result;
    }
    if (m_multi.IsEmpty()) return FALSE;
    DeleteList();
    return TRUE;
}

// The mouse may rest on a listed element: the hover and the capture go with
// the list, or the next paint would draw what was deleted.
void CVTSelect::DeleteList()
{
    m_multi.DeleteAll(GetPageSet());
    m_pHovered = nullptr;
    m_captureKind = CAPTURED_NOTHING;
    m_pCapturedElement = nullptr;
    m_pCapturedNode = nullptr;
    m_pSecondElement = nullptr;
    m_capturePoint = CCapturePoint();
    InvalidateView();
}

void CVTSelect::DeleteSelectedCurve()
{
    CGraphElement* curve = m_pSelected;
    CPageSet* pageSet = GetPageSet();
    CPage* page = pageSet ? pageSet->GetCurrentPage() : nullptr;
    if (!page || !page->FindElement(curve)) return;
    Deselect();
    m_multi.Clear();
    SaveUndoState();
    page->RemoveElement(curve);
    delete curve;
    if (m_onSubToolDelete) m_onSubToolDelete();
    InvalidateView();
}

// The arrows move what is selected: the selected element, else the list.
// A key held down moves in one undo step.
BOOL CVTSelect::OnArrowDown(int dx, int dy, UINT flags, BOOL autoRepeat)
{
    if (m_zoom.IsHeld() || m_press != Press::None) return FALSE;
    CElementList targets;
    if (m_pSelected) {
        if (Editor()->HasPendingStep()) return FALSE;
        targets.AddTail(m_pSelected);
    } else {
        targets = m_multi.Elements();
    }
    if (targets.IsEmpty()) return FALSE;
    const int pixels = (flags & MK_CONTROL) ? kArrowStepLarge : kArrowStep;
    const int step = std::max(1, RoundToInt(pixels * GetViewScale()));
    if (!autoRepeat || !m_bArrowStepOpen) SaveUndoState();
    m_bArrowStepOpen = true;
    OffsetElements(targets, dx * step, dy * step);
    if (IsSelected(ELEMENT_CURVE)) {
        auto* curve = static_cast<CCurveElement*>(m_pSelected);
        m_pCurveEditor->SetCurve(curve);
        TakeMirrorAxis(curve);
    }
    InvalidateView();
    return TRUE;
}

void CVTSelect::OnElementsPasted(const CList<CGraphElement*>& elements)
{
    Deselect();
    m_multi.Set(elements);
    InvalidateView();
}

void CVTSelect::OnEscUp()
{
    if (!m_pSelected) {
        m_multi.ClearMarks();
        InvalidateView();
    } else if (IsSelected(ELEMENT_CURVE)) {
        m_pCurveEditor->OnEscUp();
    }
}

// --- Pending step -------------------------------------------------------------------------------------

// A move of the list is taken back; a band just goes.
void CVTSelect::Cancel()
{
    if (m_press != Press::None) {
        const bool moved = m_press == Press::Moving && m_bMoveCommitted;
        if (m_press == Press::Moving && !moved) DropUndoStep();
        m_press = Press::None;
        m_pPressed = nullptr;
        m_bMoveCommitted = false;
        InvalidateView();
        // The document tells the view, which resets the tools.
        if (moved)
            if (CVEKDoc* doc = GetDocument()) doc->Undo();
        return;
    }
    if (CVectorTool* editor = Editor()) editor->Cancel();
}

BOOL CVTSelect::UndoStep()
{
    if (m_press != Press::None) {
        Cancel();
        return TRUE;
    }
    CVectorTool* editor = Editor();
    return editor ? editor->UndoStep() : FALSE;
}

BOOL CVTSelect::HasPendingStep()
{
    if (m_press == Press::Band || m_press == Press::Moving) return TRUE;
    CVectorTool* editor = Editor();
    return editor ? editor->HasPendingStep() : FALSE;
}

// --- Drawing ----------------------------------------------------------------------------------------------

void CVTSelect::Draw(CDC* dc, double scale, int originX, int originY, const CRect& rect)
{
    if (!dc) return;
    if (m_zoom.IsHeld()) {
        m_zoom.Draw(dc, scale, originX, originY);
        return;
    }
    if (m_pHovered) m_pHovered->DrawHighlight(dc, scale, originX, originY, rect);
    if (IsSelected(ELEMENT_CURVE) && m_bMirrorAxis) {
        const CPoint a = ::ModelToDevicePoint(m_ptAxis1.x, m_ptAxis1.y, scale, originX, originY);
        const CPoint b = ::ModelToDevicePoint(m_ptAxis2.x, m_ptAxis2.y, scale, originX, originY);
        dc->MoveTo(a.x, a.y);
        dc->LineTo(b.x, b.y);
    }
    if (CVectorTool* editor = Editor()) editor->Draw(dc, scale, originX, originY, rect);
    m_multi.Draw(dc, scale, originX, originY, rect);
    if (m_press == Press::Band)
        DrawRubberRect(dc, m_ptPress.x, m_ptPress.y, m_ptPressNow.x, m_ptPressNow.y, scale, originX, originY);
}

// --- Clipboard --------------------------------------------------------------------------------------------

void CVTSelect::OnEditCopy()
{
    if (CVectorTool* editor = Editor()) {
        editor->OnEditCopy();
        return;
    }
    if (m_multi.IsEmpty() || !GetDocument()) return;
    if (CVEKSrvrItem* item = CVEKSrvrItem::GetEmbeddedItem(GetDocument()))
        item->CopySelectionToClipboard(m_multi.Elements());
}

void CVTSelect::OnEditCut()
{
    if (CVectorTool* editor = Editor()) {
        editor->OnEditCut();
        return;
    }
    if (m_multi.IsEmpty()) return;
    OnEditCopy();
    DeleteList();
}

BOOL CVTSelect::CanCopy()
{
    if (CVectorTool* editor = Editor()) return editor->CanCopy();
    return m_multi.IsEmpty() ? FALSE : TRUE;
}

void CVTSelect::OnCopyTable()
{
    if (CTableEditing* table = TableEditor()) table->OnCopyTable();
}

void CVTSelect::OnCutTable()
{
    if (CTableEditing* table = TableEditor()) table->OnCutTable();
}

// --- Tool bar choices -------------------------------------------------------------------------------------

void CVTSelect::OnLineColor()
{
    if (IsSelected(ELEMENT_CURVE) || IsSelected(ELEMENT_TABLE)) {
        Editor()->OnLineColor();
    } else if (!m_pSelected && m_multi.ApplyLineColor(Settings().m_crLineColor)) {
        InvalidateView();
    }
}

// A colour picked in the picker applies at once, as the picker's button
// does.
void CVTSelect::OnLineColorChanged()
{
    if (IsSelected(ELEMENT_CURVE) || IsSelected(ELEMENT_TABLE))
        Editor()->OnLineColorChanged();
    else if (!m_pSelected)
        OnLineColor();
}

void CVTSelect::OnLineType()
{
    if (IsSelected(ELEMENT_CURVE)) {
        m_pCurveEditor->OnLineType();
        return;
    }
    const CSystemSettings& s = Settings();
    if (m_pSelected || s.m_nCurLineType < 0 || s.m_nCurLineType >= int(s.m_aLineTypes.size())) return;
    if (m_multi.ApplyLineType(s.m_aLineTypes[std::size_t(s.m_nCurLineType)])) InvalidateView();
}

void CVTSelect::OnStartArrow()
{
    if (IsSelected(ELEMENT_CURVE)) {
        m_pCurveEditor->OnStartArrow();
        return;
    }
    const CSystemSettings& s = Settings();
    if (!m_pSelected && m_multi.ApplyStartArrow(s.m_nStartArrowType, s.m_nStartArrowSize, s.m_dStartArrowAngle))
        InvalidateView();
}

void CVTSelect::OnEndArrow()
{
    if (IsSelected(ELEMENT_CURVE)) {
        m_pCurveEditor->OnEndArrow();
        return;
    }
    const CSystemSettings& s = Settings();
    if (!m_pSelected && m_multi.ApplyEndArrow(s.m_nEndArrowType, s.m_nEndArrowSize, s.m_dEndArrowAngle))
        InvalidateView();
}

void CVTSelect::OnFontColorChanged()
{
    if (CVectorTool* editor = Editor()) editor->OnFontColorChanged();
}

void CVTSelect::OnFontColor()
{
    if (CVectorTool* editor = Editor()) editor->OnFontColor();
}

void CVTSelect::OnCellColorChanged()
{
    if (CVectorTool* editor = Editor()) editor->OnCellColorChanged();
}

void CVTSelect::OnCellColor()
{
    if (CVectorTool* editor = Editor()) editor->OnCellColor();
}

void CVTSelect::OnFontChanged()
{
    if (CVectorTool* editor = Editor()) editor->OnFontChanged();
}

void CVTSelect::OnFont()
{
    if (CVectorTool* editor = Editor()) editor->OnFont();
}

void CVTSelect::OnAlignment()
{
    if (IsSelected(ELEMENT_TABLE)) m_pTableEditor->OnAlignment();
}

void CVTSelect::ShowFillTypeControls(int show) const
{
    if (CFrameServices* frame = Frame()) frame->ShowFillTypeControls(show);
}

bool CVTSelect::HandOverFill(UINT choice)
{
    if (!IsSelected(ELEMENT_CURVE) || !m_pView) return false;
    auto* curve = static_cast<CCurveElement*>(m_pSelected);
    if (!curve->IsClosed()) return false;
    CVEKView* view = m_pView;
    // This tool is deactivated on the way and lets the curve go.
    view->OnToolCommand(ID_TOOL_FILL);
    auto* fill = dynamic_cast<CVTFill*>(view->GetCurrentTool());
    if (!fill) return false;
    fill->EditFill(static_cast<CClosedCurveElement*>(curve));
    switch (choice) {
    case kFillTypeChoice: fill->OnFillType(); break;
    case kGradientStartChoice: fill->OnGradientStartColor(); break;
    case kGradientEndChoice: fill->OnGradientEndColor(); break;
    default: break;
    }
    return true;
}

void CVTSelect::OnFillType()
{
    HandOverFill(kFillTypeChoice);
}

void CVTSelect::OnGradientStartColor()
{
    HandOverFill(kGradientStartChoice);
}

void CVTSelect::OnGradientEndColor()
{
    HandOverFill(kGradientEndChoice);
}

// --- Table commands: only for a selected table ----------------------------------------------------------

BOOL CVTSelect::CanMergeCells() { return IsSelected(ELEMENT_TABLE) ? m_pTableEditor->CanMergeCells() : FALSE; }
BOOL CVTSelect::CanInsertColumn() { return IsSelected(ELEMENT_TABLE) ? m_pTableEditor->CanInsertColumn() : FALSE; }
void CVTSelect::MergeCells() { if (IsSelected(ELEMENT_TABLE)) m_pTableEditor->MergeCells(); }
void CVTSelect::SplitCells() { if (IsSelected(ELEMENT_TABLE)) m_pTableEditor->SplitCells(); }
void CVTSelect::InsertColumnLeft() { if (IsSelected(ELEMENT_TABLE)) m_pTableEditor->InsertColumnLeft(); }
void CVTSelect::InsertColumnRight() { if (IsSelected(ELEMENT_TABLE)) m_pTableEditor->InsertColumnRight(); }
void CVTSelect::InsertRowBefore() { if (IsSelected(ELEMENT_TABLE)) m_pTableEditor->InsertRowBefore(); }
void CVTSelect::InsertRowAfter() { if (IsSelected(ELEMENT_TABLE)) m_pTableEditor->InsertRowAfter(); }
void CVTSelect::ToggleDiagonalA() { if (IsSelected(ELEMENT_TABLE)) m_pTableEditor->ToggleDiagonalA(); }
void CVTSelect::ToggleDiagonalB() { if (IsSelected(ELEMENT_TABLE)) m_pTableEditor->ToggleDiagonalB(); }
void CVTSelect::DeleteRow() { if (IsSelected(ELEMENT_TABLE)) m_pTableEditor->DeleteRow(); }
void CVTSelect::DeleteColumn() { if (IsSelected(ELEMENT_TABLE)) m_pTableEditor->DeleteColumn(); }
void CVTSelect::TableProperties() { if (IsSelected(ELEMENT_TABLE)) m_pTableEditor->TableProperties(); }
