#include "tools/CVTEraser.h"

#include "app/CVEKView.h"

#include "geometry/Mapping.h"
#include "model/CGraphElement.h"
#include "model/COleObjectElement.h"
#include "model/CPageSet.h"
#include "platform/CDC.h"

namespace {

// A click picks curves and texts first, then pictures and tables.
constexpr DWORD kFirstPickMask = ELEMENT_CURVE | ELEMENT_TEXT;
constexpr DWORD kSecondPickMask = ELEMENT_CURVE | ELEMENT_IMAGE | ELEMENT_TEXT | ELEMENT_TABLE;
// A box takes embedded objects as well.
constexpr int kBoxKinds = ELEMENT_CURVE | ELEMENT_IMAGE | ELEMENT_TEXT | ELEMENT_TABLE | ELEMENT_OLEOBJECT;

} // namespace

CVTEraser::CVTEraser(CVEKView* view) : CVTEraser(view, nullptr, 0) {}

CVTEraser::CVTEraser(CVEKView* view, CVTSymmetricDraw* owner, int mirrorSide)
    : CVectorTool(view), m_pOwner(owner), m_bMirrorSide(mirrorSide)
{
    CVTEraser::Reset();
}

CVTEraser::~CVTEraser() = default;

void CVTEraser::Activate()
{
    CVectorTool::Activate();
    ShowPrompt(kPrompt);
}

void CVTEraser::Deactivate()
{
    CVectorTool::Deactivate();
    InvalidateView();
}

void CVTEraser::Reset()
{
    CVectorTool::Reset();
    m_bBoxMode = 0;
    m_zoomBox.Release();
    m_eraseList.RemoveAll();
    if (m_pView) m_pView->SetToolCursor(kCursor);
}

void CVTEraser::Cancel()
{
    Reset();
    InvalidateView();
}

BOOL CVTEraser::UndoStep()
{
    Cancel();
    return TRUE;
}

BOOL CVTEraser::HasPendingStep() { return m_bBoxMode ? TRUE : FALSE; }

BOOL CVTEraser::OnSpaceDown()
{
    m_zoomBox.Hold();
    if (m_pView) m_pView->SetToolCursor(CZoomBox::kCursorZoomIn);
    ShowPrompt(CZoomBox::kPrompt);
    InvalidateFeedback();
    return TRUE;
}

BOOL CVTEraser::OnSpaceUp()
{
    m_zoomBox.Release();
    if (m_pView) m_pView->SetToolCursor(kCursor);
    ShowPrompt(kPrompt);
    InvalidateFeedback();
    return TRUE;
}

void CVTEraser::FillBoxList()
{
    CPageSet* pageSet = GetPageSet();
    m_eraseList.RemoveAll();
    if (pageSet && pageSet->GetPageCount() > 0)
        pageSet->GetElementsInDragRect(m_ptBoxStart, m_ptBoxEnd, kBoxKinds, m_eraseList);
}

BOOL CVTEraser::OnMouseMove(UINT flags, int x, int y)
{
    if (m_zoomBox.IsHeld()) {
        m_zoomBox.OnMouseMove(x, y);
        if (m_pView) m_pView->SetToolCursor(CZoomBox::CursorFor(flags));
        ShowPrompt(CZoomBox::kPrompt);
        InvalidateFeedback();
        return FALSE;
    }
    if (m_pView) m_pView->SetToolCursor(kCursor);
    ShowPrompt(kPrompt);
    m_captureKind = CAPTURED_NOTHING;
    m_pCapturedElement = nullptr;
    if (m_bBoxMode) {
        m_ptBoxEnd = CPoint(x, y);
        FillBoxList();
        InvalidateFeedback();
        return FALSE;
    }
    if (flags & (MK_SHIFT | MK_CONTROL)) {
        m_eraseList.RemoveAll();
        InvalidateFeedback();
        return FALSE;
    }
    m_captureMask = kFirstPickMask;
    BOOL captured = CVectorTool::OnMouseMove(flags, x, y);
    if (!captured) {
        m_captureMask = kSecondPickMask;
        captured = CVectorTool::OnMouseMove(flags, x, y);
    }
    InvalidateFeedback();
    return captured;
}

BOOL CVTEraser::OnLButtonDown(UINT flags, int x, int y)
{
    if (m_zoomBox.IsHeld()) {
        if (m_zoomBox.OnLButtonDown(m_pView, flags, x, y) == CZoomBox::Click::CornerPlaced)
            InvalidateFeedback();
        else
            InvalidateView();
        return TRUE;
    }
    if (!m_bBoxMode) {
        m_eraseList.RemoveAll();
        if (OnMouseMove(flags, x, y) && m_pCapturedElement) {
            m_eraseList.AddTail(m_pCapturedElement);
        } else {
            m_bBoxMode = 1;
            m_ptBoxStart = m_ptBoxEnd = CPoint(x, y);
        }
    } else {
        m_ptBoxEnd = CPoint(x, y);
        FillBoxList();
    }
    // A box that meets nothing stays open for another corner.
    if (!m_eraseList.IsEmpty()) EraseList();
    InvalidateView();
    return TRUE;
}

void CVTEraser::EraseList()
{
    CPageSet* pageSet = GetPageSet();
    if (!pageSet) return;
    SaveUndoState();
    const int page = pageSet->GetCurrentPageIndex();
    for (CGraphElement* element : m_eraseList) {
        pageSet->RemoveElementFromPage(page, element);
        if (element->GetType() == ELEMENT_CURVE && m_pOwner && m_bMirrorSide && m_onRemovePair)
            m_onRemovePair(element);
        // The view must not hand a deleted object to the object tool.
        if (m_pView && m_pView->GetLastOleElement() == element) m_pView->SetLastOleElement(nullptr);
        delete element;
    }
    m_eraseList.RemoveAll();
    Reset();
}

BOOL CVTEraser::OnLButtonUp(UINT, int, int) { return TRUE; }

BOOL CVTEraser::OnRButtonDown(UINT flags, int, int y)
{
    if (m_zoomBox.IsHeld()) {
        CZoomBox::OnRButtonDown(m_pView, flags, y);
        InvalidateView();
    }
    return TRUE;
}

void CVTEraser::Draw(CDC* dc, double scale, int originX, int originY, const CRect& rect)
{
    if (!dc) return;
    if (m_bBoxMode)
        DrawRubberRect(dc, m_ptBoxStart.x, m_ptBoxStart.y, m_ptBoxEnd.x, m_ptBoxEnd.y, scale, originX, originY);
    CRect clip = ModelToDeviceRect(rect.left, rect.top, rect.right, rect.bottom, scale, originX, originY);
    clip.NormalizeRect();
    for (CGraphElement* element : m_eraseList) element->DrawHighlight(dc, scale, originX, originY, clip);
    if ((m_captureKind & CAPTURE_FEEDBACK_HIGHLIGHT) && m_pCapturedElement && !m_eraseList.Find(m_pCapturedElement))
        m_pCapturedElement->DrawHighlight(dc, scale, originX, originY, clip);
    m_zoomBox.Draw(dc, scale, originX, originY);
}
