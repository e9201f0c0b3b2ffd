#include "tools/CVTRectangle.h"

#include "settings/CSystemSettings.h"
#include "app/CVEKView.h"
#include "app/ShapeBuilder.h"
#include "ui/CPolygonRadiusDlg.h"
#include "ui/CShapeSizeDlg.h"

#include "geometry/Distance.h"
#include "geometry/Mapping.h"
#include "geometry/ShapePoints.h"
#include "model/CClosedCurveElement.h"
#include "model/CCurveNode.h"
#include "model/CPageSet.h"
#include "platform/CDC.h"

#include <QApplication>

#include <algorithm>
#include <cstdlib>

namespace {

// Rectangle corners snap to nodes, crossings and curves; Ctrl takes anything.
constexpr DWORD kCornerMask = CAPTURE_NODES | CAPTURE_CROSSINGS | CAPTURE_ON_CURVE;
// The centre: the same, or the free point.
constexpr DWORD kCentreMask = kCornerMask | CAPTURE_FREE;
// Pixels from the cursor to the size texts, and between two texts.
constexpr int kPromptOffsetX = 28;
constexpr int kPromptLineHeight = 16;
constexpr int kMinSides = 3;

} // namespace

CVTRectangle::CVTRectangle(CVEKView* view) : CVTRectangle(view, nullptr, 0) {}

CVTRectangle::CVTRectangle(CVEKView* view, CVTSymmetricDraw* owner, int mirrorSide)
    : CTwoShapeTool(view, owner, mirrorSide)
{
    CVTRectangle::Reset();
}

CVTRectangle::~CVTRectangle() = default;

// --- Lifecycle --------------------------------------------------------------------

void CVTRectangle::Reset()
{
    CShapeTool::Reset();
    m_dAngle = 0.0;
    m_nSides = kDefaultSides;
    m_bDigitPending = 0;
    m_ptRectA = m_ptRectB = CPoint(0, 0);
}

void CVTRectangle::ShowModeState()
{
    if (m_pView) m_pView->SetToolCursor(IsRectMode() ? kCursorRect : kCursorPolygon);
    ShowPrompt(IsRectMode() ? kPromptRectFirst : kPromptPolygonCentre);
}

// --- Keys --------------------------------------------------------------------------

BOOL CVTRectangle::OnDigitDown(char digit)
{
    if (digit < '0' || digit > '9') return FALSE;
    const int value = digit - '0';
    if (!m_bDigitPending && (value == 1 || value == 2)) {
        m_bDigitPending = 1;
        m_nFirstDigit = value;
        return TRUE;
    }
    const int sides = m_bDigitPending ? m_nFirstDigit * 10 + value : value;
    m_bDigitPending = 0;
    // No polygon of fewer than three sides: the count stays.
    if (sides < kMinSides) {
        QApplication::beep();
        return TRUE;
    }
    m_nSides = sides;
    SnapPolygonAngle();
    InvalidateFeedback();
    return TRUE;
}

BOOL CVTRectangle::OnDigitUp(char) { return TRUE; }

BOOL CVTRectangle::OnSpaceUp()
{
    m_zoom.Release();
    if (m_pView) m_pView->SetToolCursor(IsRectMode() ? kCursorRect : kCursorPolygon);
    if (IsRectMode())
        ShowPrompt(m_nStep ? kPromptRectSecond : kPromptRectFirst);
    else
        ShowPrompt(m_nStep ? kPromptPolygonRadius : kPromptPolygonCentre);
    InvalidateFeedback();
    return TRUE;
}

// --- Mouse -------------------------------------------------------------------------

void CVTRectangle::SnapPolygonAngle()
{
    m_dAngle = SnapAngleToEighth(LineAngle(m_ptCentre.x, m_ptCentre.y, m_ptRadius.x, m_ptRadius.y));
}

void CVTRectangle::AddSizePrompts(int x, int y)
{
    const CPageSet* pageSet = GetPageSet();
    const int upm = pageSet ? pageSet->GetUnitsPerMM() : 100;
    const double scale = GetViewScale();
    CMeasurePrompt width;
    if (m_prompts.IsEmpty()) {
        width.x = x + RoundToInt(kPromptOffsetX * scale);
        width.y = y;
    } else {
        width.x = m_prompts.GetTail().x;
        width.y = m_prompts.GetTail().y + RoundToInt(kPromptLineHeight * scale);
    }
    width.SetValue("W=", std::abs(m_ptRectA.x - m_ptRectB.x), upm);
    CMeasurePrompt height(width.x, width.y + RoundToInt(kPromptLineHeight * scale), std::string());
    height.SetValue("H=", std::abs(m_ptRectA.y - m_ptRectB.y), upm);
    AddPrompt(width);
    AddPrompt(height);
}

BOOL CVTRectangle::OnMouseMove(UINT flags, int x, int y)
{
    if (m_zoom.IsHeld()) {
        m_zoom.OnMouseMove(flags, x, y);
        return TRUE;
    }
    ClearPrompts();
    BOOL captured = TRUE;
    if (IsRectMode()) {
        if (m_pView) m_pView->SetToolCursor(kCursorRect);
        ShowPrompt(m_nStep ? kPromptRectSecond : kPromptRectFirst);
        m_captureMask = (flags & MK_CONTROL) ? CAPTURE_MASK_ALL : kCornerMask;
        captured = CVectorTool::OnMouseMove(flags, x, y);
        if (!captured) {
            // Nothing to snap to: the free point under the cursor.
            m_captureMask = CAPTURE_MASK_ALL;
            captured = CVectorTool::OnMouseMove(MK_CONTROL, x, y);
        }
        if (m_nStep == 1) {
            m_ptRectB = m_capturedPos;
            AddSizePrompts(x, y);
        }
    } else {
        if (m_pView) m_pView->SetToolCursor(kCursorPolygon);
        if (m_nStep == 0) {
            ShowPrompt(kPromptPolygonCentre);
            m_captureMask = kCentreMask;
            captured = CVectorTool::OnMouseMove(flags, x, y);
        } else {
            // The radius point is the mouse itself.
            ShowPrompt(kPromptPolygonRadius);
            m_ptRadius = CPoint(x, y);
            SnapPolygonAngle();
        }
    }
    InvalidateFeedback();
    return captured;
}

BOOL CVTRectangle::OnLButtonDown(UINT flags, int x, int y)
{
    // Whatever comes of this click, it completes nothing older: an owner
    // reading the last element after it must not find an earlier shape.
    m_pLastElement = nullptr;
    if (m_zoom.IsHeld()) {
        m_zoom.OnLButtonDown(flags, x, y);
        return TRUE;
    }
    if (!OnMouseMove(flags, x, y)) {
        if (m_nStep > 0) Cancel();
        return FALSE;
    }
    return IsRectMode() ? RectangleClick(flags, x, y) : PolygonClick(flags, x, y);
}

BOOL CVTRectangle::RectangleClick(UINT flags, int x, int y)
{
    if (m_nStep == 0) {
        if (!CVectorTool::OnLButtonDown(flags, x, y)) return FALSE;
        m_ptStart = m_capturePoint;
        m_nStep = 1;
        m_ptRectA = m_ptRectB = m_ptStart.GetPosition();
        ShowPrompt(kPromptRectSecond);
        InvalidateFeedback();
        return TRUE;
    }
    bool accepted = false;
    if (m_captureKind == CAPTURED_FREE_POINT && Settings().m_bValueDialogs) {
        accepted = AskRectangleSize();
    } else if (CVectorTool::OnLButtonDown(flags, x, y)) {
        accepted = true;
        m_ptRectB = m_capturePoint.GetPosition();
    }
    if (accepted) CompleteRectangle(m_ptRectB);
    Reset();
    ShowModeState();
    InvalidateView();
    return m_pLastElement ? TRUE : FALSE;
}

BOOL CVTRectangle::PolygonClick(UINT flags, int x, int y)
{
    if (m_nStep == 0) {
        if (!CVectorTool::OnLButtonDown(flags, x, y)) return FALSE;
        m_ptCentre = m_ptRadius = m_capturePoint.GetPosition();
        m_dAngle = 0.0;
        m_nStep = 1;
        ShowPrompt(kPromptPolygonRadius);
        InvalidateFeedback();
        return TRUE;
    }
    // The kind the centre was captured as decides: a free centre lets the
    // radius be typed.
    bool accepted = false;
    if (m_captureKind == CAPTURED_FREE_POINT && Settings().m_bValueDialogs)
        accepted = AskPolygonRadius();
    else
        accepted = CVectorTool::OnLButtonDown(flags, x, y) != FALSE;
    if (accepted) CompletePolygon();
    Reset();
    ShowModeState();
    InvalidateView();
    return m_pLastElement ? TRUE : FALSE;
}

bool CVTRectangle::AskRectangleSize()
{
    m_bCaptureOn = 0;
    CShapeSizeDlg dialog(this, CShapeSizeDlg::IDD);
    dialog.m_ptFixed = m_ptRectA;
    dialog.m_ptMoving = m_ptRectB;
    const bool accepted = dialog.DoModal() == QDialog::Accepted;
    m_bCaptureOn = 1;
    m_capturePoint = CCapturePoint(m_ptRectB.x, m_ptRectB.y);
    return accepted;
}

bool CVTRectangle::AskPolygonRadius()
{
    m_bCaptureOn = 0;
    CPolygonRadiusDlg dialog(this);
    dialog.m_ptFrom = m_ptCentre;
    dialog.m_ptTo = m_ptRadius;
    const bool accepted = dialog.DoModal() == QDialog::Accepted;
    m_bCaptureOn = 1;
    m_capturePoint = CCapturePoint(m_ptRadius.x, m_ptRadius.y);
    return accepted;
}

// --- Completion -------------------------------------------------------------------------

void CVTRectangle::CompleteRectangle(const CPoint& second)
{
    const CPoint first = m_ptStart.GetPosition();
    CPageSet* pageSet = GetPageSet();
    // A rectangle without width or height would be a line drawn twice.
    if (!CurrentPageOf(pageSet) || first.x == second.x || first.y == second.y) {
        QApplication::beep();
        return;
    }
    // Every rectangle runs in the same turning sense, whichever corner it
    // was drawn from.
    CPointList corners{first};
    if ((second.x - first.x >= 0) == (second.y - first.y >= 0)) {
        corners.AddTail(CPoint(second.x, first.y));
        corners.AddTail(second);
        corners.AddTail(CPoint(first.x, second.y));
    } else {
        corners.AddTail(CPoint(first.x, second.y));
        corners.AddTail(second);
        corners.AddTail(CPoint(second.x, first.y));
    }
    SaveUndoState();
    Completed(AddClosedShape(pageSet, MakeNodes(pageSet, corners, NODE_CORNER, &m_ptStart)));
}

void CVTRectangle::CompletePolygon()
{
    CPageSet* pageSet = GetPageSet();
    CPointList vertices;
    PolygonPoints(vertices);
    // A polygon of no size has all its vertices on one point.
    if (!CurrentPageOf(pageSet) || vertices.GetCount() < kMinSides ||
        PointDistanceRounded(m_ptCentre.x, m_ptCentre.y, m_ptRadius.x, m_ptRadius.y) == 0) {
        QApplication::beep();
        return;
    }
    SaveUndoState();
    Completed(AddClosedShape(pageSet, MakeNodes(pageSet, vertices, NODE_CORNER)));
}

void CVTRectangle::PolygonPoints(CPointList& out) const
{
    double r = 0.0;
    PointDistance(m_ptCentre.x, m_ptCentre.y, m_ptRadius.x, m_ptRadius.y, r);
    RegularPolygonPoints(m_ptCentre, r, m_nSides, m_dAngle, out);
}

int CVTRectangle::GetShapePoints(CPointList& out) const
{
    out.RemoveAll();
    if (IsRectMode()) {
        const int left = std::min(m_ptRectA.x, m_ptRectB.x);
        const int right = std::max(m_ptRectA.x, m_ptRectB.x);
        const int top = std::min(m_ptRectA.y, m_ptRectB.y);
        const int bottom = std::max(m_ptRectA.y, m_ptRectB.y);
        out.AddTail(CPoint(left, top));
        out.AddTail(CPoint(right, top));
        out.AddTail(CPoint(right, bottom));
        out.AddTail(CPoint(left, bottom));
    } else {
        PolygonPoints(out);
        if (!out.IsEmpty()) out.AddTail(CPoint(out.GetHead()));
    }
    return m_nStep != 0 ? 1 : 0;
}

// --- Drawing ------------------------------------------------------------------------------

void CVTRectangle::Draw(CDC* dc, double scale, int originX, int originY, const CRect& rect)
{
    if (!dc) return;
    const bool zooming = m_zoom.IsHeld() != 0;
    if (IsRectMode()) {
        if (m_nStep == 1)
            DrawRubberRect(dc, m_ptRectA.x, m_ptRectA.y, m_ptRectB.x, m_ptRectB.y, scale, originX, originY);
        if (!zooming) CVectorTool::Draw(dc, scale, originX, originY, rect);
    } else {
        if (m_nStep == 1) {
            CPointList outline;
            GetShapePoints(outline);
            DrawMappedPolyline(*dc, outline, scale, originX, originY);
        }
        const bool marks = m_captureKind != CAPTURED_NOTHING && m_captureKind != CAPTURED_FREE_POINT;
        if (!zooming && (m_nStep == 0 || marks)) CVectorTool::Draw(dc, scale, originX, originY, rect);
    }
    m_zoom.Draw(dc, scale, originX, originY);
}
