#include "tools/CVTLayer.h"

#include "app/CVEKView.h"
#include "app/ShapeBuilder.h"

#include "geometry/Mapping.h"
#include "model/CGraphElement.h"
#include "model/CPage.h"
#include "model/CPageSet.h"
#include "platform/CDC.h"

namespace {

// Curves, pictures, texts, tables and the inert kind; no embedded objects.
constexpr DWORD kHitMask = ELEMENT_CURVE | ELEMENT_IMAGE | ELEMENT_TEXT | ELEMENT_TABLE | ELEMENT_TEXTPAIR;
constexpr int kBoxKinds = ELEMENT_CURVE | ELEMENT_IMAGE | ELEMENT_TEXT | ELEMENT_TABLE;

} // namespace

CVTLayer::CVTLayer(CVEKView* view) : CVectorTool(view)
{
    CVTLayer::Reset();
}

CVTLayer::~CVTLayer() = default;

void CVTLayer::Activate()
{
    CVectorTool::Activate();
    if (m_pView) m_pView->SetToolCursor(kCursor);
    ShowPrompt(kPrompt);
}

void CVTLayer::Deactivate()
{
    CVectorTool::Deactivate();
    InvalidateView();
}

void CVTLayer::Reset()
{
    CVectorTool::Reset();
    m_zoom.Release();
    m_pHitElement = nullptr;
    m_boxElements.RemoveAll();
}

void CVTLayer::Cancel()
{
    Reset();
    InvalidateView();
}

// Undo while a box is open takes the box back.
BOOL CVTLayer::UndoStep()
{
    Cancel();
    return TRUE;
}

BOOL CVTLayer::HasPendingStep() { return m_nStep > 0 ? TRUE : FALSE; }

// --- Temporary zoom ----------------------------------------------------------------

BOOL CVTLayer::OnSpaceDown()
{
    m_zoom.Hold();
    return TRUE;
}

BOOL CVTLayer::OnSpaceUp()
{
    m_zoom.Release();
    if (m_pView) m_pView->SetToolCursor(kCursor);
    ShowPrompt(kPrompt);
    InvalidateFeedback();
    return TRUE;
}

// --- Levels ------------------------------------------------------------------------

int CVTLayer::HighestLevel() const
{
    const CPage* page = CurrentPageOf(GetPageSet());
    return page ? page->GetMaxLevel() : 0;
}

int CVTLayer::CountAtLevel(int level, const CGraphElement* except) const
{
    const CPage* page = CurrentPageOf(GetPageSet());
    int count = 0;
    if (page)
        for (const CGraphElement* e : page->Elements())
            if (e != except && e->GetLevel() == level) ++count;
    return count;
}

int CVTLayer::RaisedLevel(const CGraphElement* element) const
{
    const int highest = HighestLevel();
    const int level = element->GetLevel();
    if (level < highest) return level + 1;
    return CountAtLevel(highest, element) > 0 && level == highest ? highest + 1 : level;
}

void CVTLayer::ApplyLevels(const std::vector<LevelChange>& changes)
{
    bool any = false;
    for (const auto& [element, level] : changes) any = any || element->GetLevel() != level;
    if (!any) return;
    SaveUndoState();
    for (const auto& [element, level] : changes) element->SetLevel(level);
}

// --- Keys --------------------------------------------------------------------------

BOOL CVTLayer::OnPageUpDown()
{
    if (!m_pHitElement) return FALSE;
    // To the highest level, and above it when another element is there.
    const int highest = HighestLevel();
    const int level = CountAtLevel(highest, m_pHitElement) > 0 ? highest + 1 : highest;
    ApplyLevels({{m_pHitElement, level}});
    InvalidateView();
    return TRUE;
}

BOOL CVTLayer::OnPageDownDown()
{
    if (!m_pHitElement) return FALSE;
    ApplyLevels({{m_pHitElement, 0}});
    InvalidateView();
    return TRUE;
}

BOOL CVTLayer::OnPageUpUp() { return TRUE; }
BOOL CVTLayer::OnPageDownUp() { return TRUE; }

// --- Mouse -------------------------------------------------------------------------

BOOL CVTLayer::OnMouseMove(UINT flags, int x, int y)
{
    if (m_zoom.IsHeld()) {
        m_zoom.OnMouseMove(flags, x, y);
        return TRUE;
    }
    if (m_pView) m_pView->SetToolCursor(kCursor);
    ShowPrompt(kPrompt);
    if (m_nStep == 0) {
        m_pHitElement = nullptr;
        m_captureMask = kHitMask;
        if (CVectorTool::OnMouseMove(flags, x, y)) m_pHitElement = m_pCapturedElement;
    } else {
        m_ptBoxEnd = CPoint(x, y);
        m_boxElements.RemoveAll();
        if (const CPageSet* pageSet = GetPageSet(); pageSet && pageSet->GetPageCount() > 0)
            pageSet->GetElementsInDragRect(m_ptBoxStart, m_ptBoxEnd, kBoxKinds, m_boxElements);
    }
    InvalidateFeedback();
    return TRUE;
}

void CVTLayer::OpenBox(int x, int y)
{
    m_ptBoxStart = m_ptBoxEnd = CPoint(x, y);
    m_boxElements.RemoveAll();
    m_nStep = 1;
}

// A box that caught nothing stays open.
BOOL CVTLayer::CloseBox(bool raise)
{
    if (m_boxElements.IsEmpty()) return FALSE;
    const int highest = HighestLevel();
    std::vector<LevelChange> changes;
    for (CGraphElement* element : m_boxElements) {
        const int level = element->GetLevel();
        if (raise)
            changes.emplace_back(element, level + 1 >= highest ? highest + 1 : level + 1);
        else if (level - 1 >= 0)
            changes.emplace_back(element, level - 1);
    }
    ApplyLevels(changes);
    m_nStep = 0;
    m_boxElements.RemoveAll();
    return TRUE;
}

BOOL CVTLayer::OnLButtonDown(UINT flags, int x, int y)
{
    if (m_zoom.IsHeld()) {
        m_zoom.OnLButtonDown(flags, x, y);
        return TRUE;
    }
    BOOL result = TRUE;
    if (m_nStep > 0)
        result = CloseBox(true);
    else if (m_pHitElement)
        ApplyLevels({{m_pHitElement, RaisedLevel(m_pHitElement)}});
    else
        OpenBox(x, y);
    InvalidateView();
    return result;
}

BOOL CVTLayer::OnRButtonDown(UINT flags, int x, int y)
{
    if (m_zoom.IsHeld()) {
        m_zoom.OnRButtonDown(flags, y);
        return TRUE;
    }
    BOOL result = TRUE;
    if (m_nStep > 0)
        result = CloseBox(false);
    else if (m_pHitElement)
        ApplyLevels({{m_pHitElement, m_pHitElement->GetLevel() > 0 ? m_pHitElement->GetLevel() - 1 : 0}});
    else
        OpenBox(x, y);
    InvalidateView();
    return result;
}

BOOL CVTLayer::OnLButtonUp(UINT, int, int) { return TRUE; }
BOOL CVTLayer::OnRButtonUp(UINT, int, int) { return TRUE; }

// --- Drawing -----------------------------------------------------------------------

void CVTLayer::Draw(CDC* dc, double scale, int originX, int originY, const CRect& rect)
{
    if (!dc) return;
    if (m_zoom.IsHeld()) {
        m_zoom.Draw(dc, scale, originX, originY);
        return;
    }
    CRect clip = ModelToDeviceRect(rect.left, rect.top, rect.right, rect.bottom, scale, originX, originY);
    clip.NormalizeRect();
    if (m_pHitElement) m_pHitElement->DrawHighlight(dc, scale, originX, originY, clip);
    for (CGraphElement* element : m_boxElements) element->DrawHighlight(dc, scale, originX, originY, clip);
    if (m_nStep > 0)
        DrawRubberRect(dc, m_ptBoxStart.x, m_ptBoxStart.y, m_ptBoxEnd.x, m_ptBoxEnd.y, scale, originX, originY);
    DrawPrompts(dc, scale, originX, originY);
}
