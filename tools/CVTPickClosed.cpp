#include "tools/CVTPickClosed.h"

#include "settings/CSystemSettings.h"
#include "app/CVEKView.h"
#include "app/ShapeBuilder.h"

#include "geometry/Mapping.h"
#include "geometry/Polyline.h"
#include "model/CClosedCurveElement.h"
#include "model/CCurveNode.h"
#include "model/CPage.h"
#include "model/CPageSet.h"
#include "model/CSharedPoint.h"
#include "platform/CDC.h"

namespace {

// Nodes, crossings and points on curves, else the free point.
constexpr DWORD kPointMask = CAPTURE_NODES | CAPTURE_CROSSINGS | CAPTURE_ON_CURVE | CAPTURE_FREE;

} // namespace

CVTPickClosed::CVTPickClosed(CVEKView* view) : CPickingTool(view, kCursor, kPrompt)
{
    CVTPickClosed::Reset();
}

CVTPickClosed::~CVTPickClosed() = default;

void CVTPickClosed::Reset()
{
    CVectorTool::Reset();
    m_pFollowed = nullptr;
    m_pLastResult = nullptr;
    m_zoom.Release();
    m_outline.RemoveAll();
    m_picked.RemoveAll();
    if (m_pView) m_pView->SetToolCursor(kCursor);
}

// --- Mouse -------------------------------------------------------------------------

BOOL CVTPickClosed::OnMouseMove(UINT flags, int x, int y)
{
    if (m_zoom.IsHeld()) {
        m_zoom.OnMouseMove(flags, x, y);
        return TRUE;
    }
    if (m_pView) m_pView->SetToolCursor(kCursor);
    ShowPrompt(kPrompt);
    m_captureMask = (flags & MK_CONTROL) ? CAPTURE_MASK_ALL : kPointMask;
    const BOOL captured = CVectorTool::OnMouseMove(flags, x, y);
    if (m_nStep == kViaStep) m_pFollowed = nullptr;
    if (captured) {
        switch (m_nStep) {
        case kStartStep: m_ptStart = m_capturedPos; break;
        case kViaStep:
            m_ptVia = m_capturedPos;
            if (m_pCapturedElement && m_pCapturedElement->GetType() == ELEMENT_CURVE)
                m_pFollowed = static_cast<CCurveElement*>(m_pCapturedElement);
            break;
        default: m_ptEnd = m_capturedPos; break;
        }
    }
    InvalidateFeedback();
    return captured;
}

BOOL CVTPickClosed::OnLButtonDown(UINT flags, int x, int y)
{
    if (m_zoom.IsHeld()) {
        m_zoom.OnLButtonDown(flags, x, y);
        return TRUE;
    }
    if (!OnMouseMove(flags, x, y)) return FALSE;
    if (m_nStep == kEndStep) {
        AddPiece();
        m_ptStart = m_ptEnd;
        m_nStep = kViaStep;
    } else {
        ++m_nStep;
    }
    InvalidateFeedback();
    return TRUE;
}

void CVTPickClosed::AddPiece()
{
    if (!m_pFollowed) return;
    if (!m_picked.Find(m_pFollowed)) m_picked.AddTail(m_pFollowed);
    const CPointList& outline = m_pFollowed->Outline();
    CPointList piece;
    if (m_pFollowed->IsClosed())
        // One unit off the end, so that a whole round (the end on the
        // start) is not an empty piece.
        ClosedPathSectionThrough(outline, m_ptStart.x, m_ptStart.y, m_ptVia.x, m_ptVia.y, m_ptEnd.x - 1,
                                 m_ptEnd.y - 1, piece);
    else
        PathSectionBetweenPoints(outline, m_ptStart.x, m_ptStart.y, m_ptEnd.x, m_ptEnd.y, piece);
    for (const CPoint& p : piece) m_outline.AddTail(p);
}

BOOL CVTPickClosed::OnRButtonDown(UINT flags, int, int y)
{
    if (m_zoom.IsHeld()) {
        m_zoom.OnRButtonDown(flags, y);
        return TRUE;
    }
    BuildClosedCurve();
    m_outline.RemoveAll();
    m_picked.RemoveAll();
    m_pFollowed = nullptr;
    m_nStep = kStartStep;
    InvalidateView();
    return TRUE;
}

void CVTPickClosed::BuildClosedCurve()
{
    CPageSet* pageSet = GetPageSet();
    CPage* page = CurrentPageOf(pageSet);
    CPointList points = m_outline;
    // Where one piece ends the next begins, and a full round ends on its
    // start: those points once.
    RemoveRepeatedPointsCyclic(points);
    // Too little to enclose anything: nothing made, and no undo step.
    if (!page || points.GetCount() <= 2) return;
    SaveUndoState();
    CCurveNodeList nodes;
    for (const CPoint& p : points) {
        auto* point = new CSharedPoint(page, p.x, p.y);
        page->AddPoint(point);
        nodes.AddTail(new CCurveNode(point, NODE_CORNER));
    }
    auto* curve = new CClosedCurveElement(page, page->GetMaxLevel(), CurrentLineType(), Settings().m_crLineColor,
                                          nodes, nullptr);
    pageSet->AddElementToPage(pageSet->GetCurrentPageIndex(), curve);
    m_pLastResult = curve;
}

// --- Drawing -----------------------------------------------------------------------

void CVTPickClosed::Draw(CDC* dc, double scale, int originX, int originY, const CRect& rect)
{
    if (!dc) return;
    if (m_zoom.IsHeld()) {
        m_zoom.Draw(dc, scale, originX, originY);
        return;
    }
    CRect clip = ModelToDeviceRect(rect.left, rect.top, rect.right, rect.bottom, scale, originX, originY);
    clip.NormalizeRect();
    for (CCurveElement* curve : m_picked) curve->DrawHighlight(dc, scale, originX, originY, clip);
    if (m_pLastResult) m_pLastResult->DrawHighlight(dc, scale, originX, originY, clip);
    CVectorTool::Draw(dc, scale, originX, originY, rect);
}
