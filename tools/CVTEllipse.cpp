#include "tools/CVTEllipse.h"

#include "settings/CSystemSettings.h"
#include "app/CVEKView.h"
#include "app/ShapeBuilder.h"
#include "ui/CCircleRadiusDlg.h"
#include "ui/CEllipseSizeDlg.h"

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
    : CTwoShapeTool(view, owner, mirrorSide)
{
    CVTEllipse::Reset();
}

CVTEllipse::~CVTEllipse() = default;

// --- Lifecycle --------------------------------------------------------------------

void CVTEllipse::ShowModeState()
{
    if (m_pView) m_pView->SetToolCursor(IsCircleMode() ? kCursorCircle : kCursorEllipse);
    ShowPrompt(IsCircleMode() ? kPromptCircleCentre : kPromptEllipse);
}

// --- Keys --------------------------------------------------------------------------

BOOL CVTEllipse::OnSpaceUp()
{
    m_zoom.Release();
    ShowModeState();
    InvalidateFeedback();
    return TRUE;
}

// --- Mouse -------------------------------------------------------------------------

BOOL CVTEllipse::OnMouseMove(UINT flags, int x, int y)
{
    if (m_zoom.IsHeld()) {
        m_zoom.OnMouseMove(flags, x, y);
        return FALSE;
    }
    if (m_pView) m_pView->SetToolCursor(IsCircleMode() ? kCursorCircle : kCursorEllipse);
    ClearPrompts();
    if (IsCircleMode())
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
    if (m_zoom.IsHeld()) {
        m_zoom.OnLButtonDown(flags, x, y);
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
    if (IsCircleMode()) {
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
    if (IsCircleMode()) {
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
    Completed(AddClosedShape(pageSet, MakeNodes(pageSet, points, NODE_SMOOTH)));
}

int CVTEllipse::GetShapePoints(CPointList& out) const
{
    if (m_nStep == 0) return 0;
    out.RemoveAll();
    ShapePoints(out);
    return 1;
}

// --- Drawing ------------------------------------------------------------------------------

void CVTEllipse::Draw(CDC* dc, double scale, int originX, int originY, const CRect& rect)
{
    if (!dc) return;
    if (m_nStep == 1) {
        const CBrush brush = dc->SelectBrush(CBrush::Null());
        if (IsCircleMode()) {
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
    if (!m_zoom.IsHeld() && marks) CVectorTool::Draw(dc, scale, originX, originY, rect);
    m_zoom.Draw(dc, scale, originX, originY);
}
