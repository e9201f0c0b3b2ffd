#include "tools/CVTOleItem.h"

#include "app/COleContainer.h"
#include "app/CVEKView.h"

#include "geometry/Mapping.h"
#include "model/COleObjectElement.h"
#include "model/CPage.h"
#include "model/CPageSet.h"
#include "model/CVEKCntrItem.h"

CVTOleItem::CVTOleItem(CVEKView* view) : CVectorTool(view)
{
    CVTOleItem::Reset();
}

CVTOleItem::~CVTOleItem() = default;

void CVTOleItem::SetElement(COleObjectElement* element)
{
    EndTracking(true);
    m_pElement = element;
    InvalidateFeedback();
}

COleObjectElement* CVTOleItem::GetElement() const
{
    const CPageSet* pageSet = GetPageSet();
    if (!m_pElement || !pageSet || pageSet->GetPageCount() == 0) return nullptr;
    const CPage* page = pageSet->GetCurrentPage();
    return page && page->FindElement(m_pElement) ? m_pElement : nullptr;
}

void CVTOleItem::Deactivate()
{
    CVectorTool::Deactivate();
    if (m_pView) m_pView->ShowTrackerCursor(CRectTracker::hitNothing);
}

void CVTOleItem::Reset()
{
    CVectorTool::Reset();
    EndTracking(true);
    if (m_pView) m_pView->SetToolCursor(kCursor);
}

void CVTOleItem::Cancel() { EndTracking(true); }

BOOL CVTOleItem::UndoStep()
{
    EndTracking(true);
    return TRUE;
}

BOOL CVTOleItem::HasPendingStep() { return m_tracker.IsTracking() ? TRUE : FALSE; }

// --- Coordinates --------------------------------------------------------------------

CPoint CVTOleItem::DevicePoint(int x, int y) const
{
    return m_pView ? m_pView->ModelToDevicePoint(x, y) : CPoint(x, y);
}

// Before the first paint after a load the element knows only the item's
// own rectangle, which is in view pixels already.
CRect CVTOleItem::DeviceRectOf(COleObjectElement* element) const
{
    CRect r;
    if (element->HasRect()) {
        const CRect& m = element->GetRect();
        double scale = 1.0;
        int originX = 0;
        int originY = 0;
        GetViewTransform(&scale, &originX, &originY);
        r = ModelToDeviceRect(m.left, m.top, m.right, m.bottom, scale, originX, originY);
    } else if (element->GetClientItem()) {
        r = element->GetClientItem()->GetRect();
    }
    r.NormalizeRect();
    return r;
}

COleObjectElement* CVTOleItem::HitTestObjects(const CPoint& device) const
{
    const CPageSet* pageSet = GetPageSet();
    if (!pageSet || pageSet->GetPageCount() == 0) return nullptr;
    COleObjectElement* hit = nullptr;
    for (CGraphElement* e : pageSet->GetCurrentPage()->Elements()) {
        if (!e || e->GetType() != ELEMENT_OLEOBJECT) continue;
        auto* object = static_cast<COleObjectElement*>(e);
        if (DeviceRectOf(object).PtInRect(device)) hit = object;
    }
    return hit;
}

// --- Mouse -------------------------------------------------------------------------

// Selects the object under the press and starts dragging it. The undo step
// is taken only when the object really moved.
BOOL CVTOleItem::OnLButtonDown(UINT, int x, int y)
{
    EndTracking(true);
    const CPoint device = DevicePoint(x, y);
    COleObjectElement* hit = HitTestObjects(device);
    // A handle of the selection may lie just outside it.
    if (!hit && GetElement()) {
        const CRectTracker tracker(DeviceRectOf(GetElement()));
        if (tracker.HitTest(device) != CRectTracker::hitNothing) hit = GetElement();
    }
    m_pElement = hit;
    InvalidateView();
    if (!hit) return TRUE;
    m_tracker.SetRect(DeviceRectOf(hit));
    m_tracker.Begin(device);
    return TRUE;
}

BOOL CVTOleItem::OnLButtonDblClk(UINT flags, int x, int y) { return OnLButtonDown(flags, x, y); }

BOOL CVTOleItem::OnMouseMove(UINT, int x, int y)
{
    const CPoint device = DevicePoint(x, y);
    if (m_tracker.IsTracking()) {
        m_tracker.Track(device);
        InvalidateFeedback();
        return TRUE;
    }
    UpdateCursor(device);
    return FALSE;
}

BOOL CVTOleItem::OnLButtonUp(UINT, int x, int y)
{
    if (!m_tracker.IsTracking()) return FALSE;
    m_tracker.Track(DevicePoint(x, y));
    EndTracking(false);
    return TRUE;
}

// A right click on an object selects it and offers what can be done with
// it here.
BOOL CVTOleItem::OnRButtonDown(UINT, int x, int y)
{
    EndTracking(true);
    const CPoint device = DevicePoint(x, y);
    COleObjectElement* hit = HitTestObjects(device);
    if (!hit) return FALSE;
    m_pElement = hit;
    InvalidateView();
    if (m_pView) m_pView->ShowOleContextMenu(device);
    return TRUE;
}

void CVTOleItem::EndTracking(bool cancel)
{
    if (!m_tracker.IsTracking()) return;
    if (cancel) {
        m_tracker.Cancel();
        InvalidateFeedback();
        return;
    }
    COleObjectElement* element = GetElement();
    CVEKDoc* doc = GetDocument();
    if (m_tracker.End() && element && doc) {
        double scale = 1.0;
        int originX = 0;
        int originY = 0;
        GetViewTransform(&scale, &originX, &originY);
        const CRect& d = m_tracker.GetRect();
        CRect pageRect = DeviceToModelRect(d.left, d.top, d.right, d.bottom, scale, originX, originY);
        pageRect.NormalizeRect();
        COleContainer::OnChangeItemPosition(*doc, *element, pageRect, scale, originX, originY);
        InvalidateView();
        return;
    }
    InvalidateFeedback();
}

// Over the selection's frame the cursor tells what a drag would do.
void CVTOleItem::UpdateCursor(const CPoint& device)
{
    COleObjectElement* selection = GetElement();
    const int hit = selection ? CRectTracker(DeviceRectOf(selection)).HitTest(device) : CRectTracker::hitNothing;
    if (m_pView) m_pView->ShowTrackerCursor(hit);
}

// --- Keys and commands -------------------------------------------------------------

BOOL CVTOleItem::OnDeleteDown() { return DeleteSelection() ? TRUE : FALSE; }

bool CVTOleItem::DeleteSelection()
{
    COleObjectElement* element = GetElement();
    CVEKDoc* doc = GetDocument();
    if (!element || !doc) return false;
    EndTracking(true);
    m_pElement = nullptr;
    if (m_pView && m_pView->GetLastOleElement() == element) m_pView->SetLastOleElement(nullptr);
    COleContainer::DeleteItem(*doc, element);
    InvalidateView();
    return true;
}

void CVTOleItem::SaveSelectionData()
{
    if (const COleObjectElement* element = GetElement()) COleContainer::OnSaveItemData(m_pView, *element);
}

// --- Drawing -----------------------------------------------------------------------

void CVTOleItem::Draw(CDC* dc, double, int, int, const CRect&)
{
    m_tracker.Draw(dc);
}
