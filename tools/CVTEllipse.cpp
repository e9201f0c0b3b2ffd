#include "tools/CVTEllipse.h"

#include "app/CMainFrame.h"
#include "app/CSystemSettings.h"
#include "app/CVEKView.h"
#include "tools/ShapeBuilder.h"
#include "ui/CCircleRadiusDlg.h"
#include "ui/CEllipseSizeDlg.h"
#include "ui/CPointOnCurveDlg.h"

#include "geometry/Distance.h"
#include "geometry/Mapping.h"
#include "geometry/ShapePoints.h"
#include "model/CClosedCurveElement.h"
#include "model/CCurveNode.h"
#include "model/CPageSet.h"
#include "platform/CDC.h"

#include <QApplication>

#include <algorithm>

namespace {

// Both points snap to nodes, crossings and curves, else the free point.
constexpr DWORD kPointMask = CAPTURE_NODES | CAPTURE_CROSSINGS | CAPTURE_ON_CURVE | CAPTURE_FREE;

} // namespace

CVTEllipse::CVTEllipse(CVEKView* view) : CVTEllipse(view, nullptr, 0) {}

CVTEllipse::CVTEllipse(CVEKView* view, CVTSymmetricDraw* owner, int mirrorSide)
    : CVectorTool(view), m_pOwner(owner), m_bMirrorSide(mirrorSide)
{
    CPointOnCurveDlg::Install();
    CVTEllipse::Reset();
    m_bCircleMode = 0;
}

CVTEllipse::~CVTEllipse() = default;

// --- Lifecycle --------------------------------------------------------------------

void CVTEllipse::Activate()
{
    CVectorTool::Activate();
    m_bShiftHeld = 0;
    if (m_pView)
        if (CMainFrame* frame = CMainFrame::Of(m_pView)) frame->ShowLineControls(1, 1, 1, 0, 0);
    ShowModeState();
}

void CVTEllipse::Deactivate()
{
    CVectorTool::Deactivate();
    if (m_pView)
        if (CMainFrame* frame = CMainFrame::Of(m_pView)) frame->ShowLineControls(0, 0, 0, 0, 0);
    InvalidateView();
}

void CVTEllipse::Reset()
{
    CVectorTool::Reset();
    m_zoomBox.Release();
}

void CVTEllipse::ShowModeState()
{
    if (m_pView) m_pView->SetToolCursor(m_bCircleMode ? kCursorCircle : kCursorEllipse);
    ShowPrompt(m_bCircleMode ? kPromptCircleCentre : kPromptEllipse);
}

void CVTEllipse::Cancel()
{
    Reset();
    InvalidateView();
}

BOOL CVTEllipse::UndoStep()
{
    Cancel();
    return TRUE;
}

BOOL CVTEllipse::HasPendingStep() { return m_nStep > 0 ? TRUE : FALSE; }

// --- Keys --------------------------------------------------------------------------

BOOL CVTEllipse::OnShiftDown()
{
    // A held Shift repeats its press: one press, one switch.
    if (m_bShiftHeld) return TRUE;
    m_bShiftHeld = 1;
    if (m_zoomBox.IsHeld()) {
        if (m_pView) m_pView->SetToolCursor(CZoomBox::kCursorZoomOut);
        return TRUE;
    }
    Reset();
    m_bCircleMode = m_bCircleMode ? 0 : 1;
    ShowModeState();
    InvalidateView();
    return TRUE;
}

BOOL CVTEllipse::OnShiftUp()
{
    m_bShiftHeld = 0;
    if (m_zoomBox.IsHeld() && m_pView) m_pView->SetToolCursor(CZoomBox::kCursorZoomIn);
    return TRUE;
}

BOOL CVTEllipse::OnSpaceDown()
{
    m_zoomBox.Hold();
    if (m_pView) m_pView->SetToolCursor(m_bShiftHeld ? CZoomBox::kCursorZoomOut : CZoomBox::kCursorZoomIn);
    ShowPrompt(CZoomBox::kPrompt);
    InvalidateFeedback();
    return TRUE;
}

BOOL CVTEllipse::OnSpaceUp()
{
    m_zoomBox.Release();
    ShowModeState();
    InvalidateFeedback();
    return TRUE;
}

// --- Mouse -------------------------------------------------------------------------

BOOL CVTEllipse::OnMouseMove(UINT flags, int x, int y)
{
    if (m_zoomBox.IsHeld()) {
        m_zoomBox.OnMouseMove(x, y);
        if (m_pView) m_pView->SetToolCursor(CZoomBox::CursorFor(flags));
        ShowPrompt(CZoomBox::kPrompt);
        InvalidateFeedback();
        return FALSE;
    }
    if (m_pView) m_pView->SetToolCursor(m_bCircleMode ? kCursorCircle : kCursorEllipse);
    ClearPrompts();
    if (m_bCircleMode)
        ShowPrompt(m_nStep ? kPromptRadius : kPromptCircleCentre);
    else
        ShowPrompt(kPromptEllipse);
    m_captureMask = kPointMask;
    const BOOL captured = CVectorTool::OnMouseMove(flags, x, y);
    if (m_nStep == 1) m_ptRectB = m_capturedPos;
    InvalidateFeedback();
    return captured;
}

BOOL CVTEllipse::OnLButtonDown(UINT flags, int x, int y)
{
    // Whatever comes of this click, it completes nothing older.
    m_pLastElement = nullptr;
    if (m_zoomBox.IsHeld()) {
        if (m_zoomBox.OnLButtonDown(m_pView, flags, x, y) == CZoomBox::Click::CornerPlaced)
            InvalidateFeedback();
        else
            InvalidateView();
        return TRUE;
    }
    if (m_nStep == 0) {
        if (!CVectorTool::OnLButtonDown(flags, x, y)) return FALSE;
        m_ptStart = m_capturePoint;
        m_ptRectA = m_ptRectB = m_capturePoint.GetPosition();
        m_nStep = 1;
        InvalidateFeedback();
        return TRUE;
    }
    if (!OnMouseMove(flags, x, y)) {
        Cancel();
        return FALSE;
    }
    bool accepted = false;
    if (m_captureKind == CAPTURED_FREE_POINT && Settings().m_bValueDialogs) {
        accepted = AskSize();
    } else if (CVectorTool::OnLButtonDown(flags, x, y)) {
        accepted = true;
        m_ptRectB = m_capturePoint.GetPosition();
    }
    if (accepted) Complete();
    Reset();
    ShowModeState();
    InvalidateView();
    return m_pLastElement ? TRUE : FALSE;
}

bool CVTEllipse::AskSize()
{
    m_bCaptureOn = 0;
    bool accepted = false;
    if (m_bCircleMode) {
        CCircleRadiusDlg dialog(this);
        dialog.m_ptFrom = m_ptRectA;
        dialog.m_ptTo = m_ptRectB;
        accepted = dialog.DoModal() == QDialog::Accepted;
    } else {
        CEllipseSizeDlg dialog(this);
        dialog.m_ptFixed = m_ptRectA;
        dialog.m_ptMoving = m_ptRectB;
        accepted = dialog.DoModal() == QDialog::Accepted;
    }
    m_bCaptureOn = 1;
    m_capturePoint = CCapturePoint(m_ptRectB.x, m_ptRectB.y);
    return accepted;
}

bool CVTEllipse::ShapePoints(CPointList& out) const
{
    if (m_bCircleMode) {
        double r = 0.0;
        PointDistance(m_ptRectA.x, m_ptRectA.y, m_ptRectB.x, m_ptRectB.y, r);
        if (RoundToInt(r) <= 0) return false;
        CircleControlPoints(m_ptRectA, r, out);
        return true;
    }
    return EllipseControlPoints(m_ptRectA, m_ptRectB, GetViewScale(), out);
}

void CVTEllipse::Complete()
{
    CPageSet* pageSet = GetPageSet();
    CPointList points;
    // An ellipse without width or height, or a circle without radius, is
    // no shape.
    if (!CurrentPageOf(pageSet) || !ShapePoints(points)) {
        QApplication::beep();
        return;
    }
    SaveUndoState();
    CCurveElement* curve = AddClosedShape(pageSet, MakeNodes(pageSet, points, NODE_SMOOTH));
    m_pLastElement = curve;
    if (m_onComplete) m_onComplete(curve);
}

int CVTEllipse::GetShapePoints(CPointList& out) const
{
    if (m_nStep == 0) return 0;
    out.RemoveAll();
    ShapePoints(out);
    return 1;
}

BOOL CVTEllipse::OnLButtonUp(UINT, int, int) { return TRUE; }

BOOL CVTEllipse::OnRButtonDown(UINT flags, int, int y)
{
    if (m_zoomBox.IsHeld()) {
        CZoomBox::OnRButtonDown(m_pView, flags, y);
        InvalidateView();
    }
    return TRUE;
}

// --- Drawing ------------------------------------------------------------------------------

void CVTEllipse::Draw(CDC* dc, double scale, int originX, int originY, const CRect& rect)
{
    if (!dc) return;
    if (m_nStep == 1) {
        const CBrush brush = dc->SelectBrush(CBrush::Null());
        if (m_bCircleMode) {
            const int r = PointDistanceRounded(m_ptRectA.x, m_ptRectA.y, m_ptRectB.x, m_ptRectB.y);
            const CRect box = ModelToDeviceRect(m_ptRectA.x - r, m_ptRectA.y - r, m_ptRectA.x + r,
                                                m_ptRectA.y + r, scale, originX, originY);
            dc->Ellipse(box.left, box.top, box.right + 1, box.bottom + 1);
        } else {
            const CRect box = ModelToDeviceRect(
                std::min(m_ptRectA.x, m_ptRectB.x), std::min(m_ptRectA.y, m_ptRectB.y),
                std::max(m_ptRectA.x, m_ptRectB.x), std::max(m_ptRectA.y, m_ptRectB.y), scale, originX, originY);
            dc->Ellipse(box.left, box.top, box.right, box.bottom);
        }
        dc->SelectBrush(brush);
    }
    const bool marks = m_captureKind != CAPTURED_NOTHING && m_captureKind != CAPTURED_FREE_POINT;
    if (!m_zoomBox.IsHeld() && marks) CVectorTool::Draw(dc, scale, originX, originY, rect);
    m_zoomBox.Draw(dc, scale, originX, originY);
}
