#include "tools/CVTFreehand.h"

#include "app/CFrameServices.h"
#include "settings/CSystemSettings.h"
#include "app/CVEKView.h"
#include "app/ShapeBuilder.h"

#include "app/CCapturePoint.h"
#include "geometry/Mapping.h"
#include "geometry/Polyline.h"
#include "geometry/Spline.h"
#include "model/CCurveNode.h"
#include "model/COpenCurveElement.h"
#include "model/CPage.h"
#include "model/CPageSet.h"
#include "platform/CDC.h"

CVTFreehand::CVTFreehand(CVEKView* view) : CVTFreehand(view, nullptr, 0) {}

CVTFreehand::CVTFreehand(CVEKView* view, CVTSymmetricDraw* owner, int mirrorSide)
    : CVectorTool(view), m_pOwner(owner), m_bMirrorSide(mirrorSide)
{
    CVTFreehand::Reset();
}

CVTFreehand::~CVTFreehand() = default;

void CVTFreehand::Activate()
{
    CVectorTool::Activate();
    if (CFrameServices* frame = Frame()) frame->ShowLineControls(1, 1, 1, 1, 1);
}

void CVTFreehand::Deactivate()
{
    CVectorTool::Deactivate();
    if (CFrameServices* frame = Frame()) frame->ShowLineControls(0, 0, 0, 0, 0);
    InvalidateView();
}

void CVTFreehand::Reset()
{
    CVectorTool::Reset();
    m_track.RemoveAll();
    m_zoom.Release();
    if (m_pView) m_pView->SetToolCursor(kCursor);
}

BOOL CVTFreehand::OnSpaceDown()
{
    m_zoom.Hold();
    return TRUE;
}

BOOL CVTFreehand::OnSpaceUp()
{
    m_zoom.Release();
    if (m_pView) m_pView->SetToolCursor(kCursor);
    InvalidateFeedback();
    return TRUE;
}

BOOL CVTFreehand::OnLButtonDown(UINT flags, int x, int y)
{
    if (m_zoom.IsHeld()) {
        // Space is still held: the zoom mode goes on after any click.
        m_zoom.Click(flags, x, y);
        InvalidateView();
        return TRUE;
    }
    // A second press while a stroke runs adds nothing.
    if (m_track.IsEmpty()) m_track.AddTail(CPoint(x, y));
    InvalidateFeedback();
    return TRUE;
}

BOOL CVTFreehand::OnLButtonUp(UINT, int, int)
{
    if (!m_zoom.IsHeld()) Complete();
    InvalidateView();
    return TRUE;
}

void CVTFreehand::Complete()
{
    m_pLastElement = nullptr;
    if (m_track.IsEmpty()) return;
    CPageSet* pageSet = GetPageSet();
    CPage* page = CurrentPageOf(pageSet);
    RemoveRepeatedPoints(m_track);
    // A click, or a stroke of a millimetre or less, makes nothing.
    if (!page || PolylineLengthRounded(m_track) <= pageSet->GetUnitsPerMM()) {
        Reset();
        return;
    }
    SimplifyToSmoothCurve(m_track, m_track);
    SaveUndoState();

    CCurveNodeList nodes;
    for (const CPoint& p : m_track) {
        const CCapturePoint free(p.x, p.y);
        if (CSharedPoint* point = free.GetSharedPoint(pageSet))
            nodes.AddTail(new CCurveNode(point, NODE_SMOOTH));
    }
    if (!nodes.IsEmpty()) {
        nodes.GetHead()->SetKind(NODE_CORNER);
        nodes.GetTail()->SetKind(NODE_CORNER);
    }

    CLineAttr line = CurrentLineType();
    // The mirrored stroke runs the other way, so a line drawn on one side
    // goes on the other.
    if (m_bMirrorSide) {
        if (line.GetKind() == LINE_SIDE_PLUS)
            line.SetKind(LINE_SIDE_MINUS);
        else if (line.GetKind() == LINE_SIDE_MINUS)
            line.SetKind(LINE_SIDE_PLUS);
    }
    COpenCurveElement* curve = NewOpenLine(page, line, nodes);
    pageSet->AddElementToPage(pageSet->GetCurrentPageIndex(), curve);
    m_pLastElement = curve;
    if (m_onComplete) m_onComplete(curve);
    Reset();
}

BOOL CVTFreehand::OnRButtonDown(UINT flags, int, int y)
{
    if (m_zoom.IsHeld()) CZoomBox::OnRButtonDown(m_pView, flags, y);
    InvalidateView();
    return TRUE;
}

BOOL CVTFreehand::OnMouseMove(UINT flags, int x, int y)
{
    if (m_zoom.IsHeld()) {
        m_zoom.Track(flags, x, y);
    } else {
        if (m_pView) m_pView->SetToolCursor(kCursor);
        if (!m_track.IsEmpty()) m_track.AddTail(CPoint(x, y));
    }
    InvalidateFeedback();
    return TRUE;
}

void CVTFreehand::Cancel()
{
    Reset();
    InvalidateView();
}

BOOL CVTFreehand::UndoStep()
{
    Cancel();
    return TRUE;
}

BOOL CVTFreehand::HasPendingStep()
{
    return m_track.IsEmpty() ? FALSE : TRUE;
}

void CVTFreehand::Draw(CDC* dc, double scale, int originX, int originY, const CRect&)
{
    if (!dc) return;
    if (m_zoom.IsHeld()) {
        m_zoom.Draw(dc, scale, originX, originY);
        return;
    }
    DrawMappedPolyline(*dc, m_track, scale, originX, originY);
}

int CVTFreehand::GetTrackPoints(CPointList& out) const
{
    out = m_track;
    return 1;
}
