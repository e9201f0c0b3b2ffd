#include "tools/CVTRuler.h"

#include "settings/CSystemSettings.h"
#include "app/CVEKView.h"
#include "app/ShapeBuilder.h"
#include "ui/CLengthDlg.h"

#include "geometry/Distance.h"
#include "geometry/Mapping.h"
#include "geometry/ShapePoints.h"
#include "model/CCurveNode.h"
#include "model/COpenCurveElement.h"
#include "model/CPageSet.h"
#include "platform/CDC.h"

#include <QApplication>

namespace {

// Both ends snap to nodes, crossings and curves, else the free point.
constexpr DWORD kPointMask = CAPTURE_NODES | CAPTURE_CROSSINGS | CAPTURE_ON_CURVE | CAPTURE_FREE;
// Pixels from the cursor to the length text.
constexpr int kPromptOffsetX = 28;

} // namespace

CVTRuler::CVTRuler(CVEKView* view) : CVTRuler(view, nullptr, 0) {}

CVTRuler::CVTRuler(CVEKView* view, CVTSymmetricDraw* owner, int mirrorSide)
    : CShapeTool(view, owner, mirrorSide)
{
    CVTRuler::Reset();
}

CVTRuler::~CVTRuler() = default;

// --- Lifecycle --------------------------------------------------------------------

void CVTRuler::Activate()
{
    CVectorTool::Activate();
    ShowLineControls(1);
    ShowPrompt(kPromptStart);
}

void CVTRuler::Reset()
{
    CShapeTool::Reset();
    m_bOnCrossing = 0;
    m_bShiftHeld = 0;
    if (m_pView) m_pView->SetToolCursor(kCursor);
}

// --- Keys --------------------------------------------------------------------------

BOOL CVTRuler::OnShiftDown()
{
    m_bShiftHeld = 1;
    if (m_pView) m_pView->SetToolCursor(m_zoom.IsHeld() ? CZoomBox::kCursorZoomOut : kCursorConstrained);
    return TRUE;
}

BOOL CVTRuler::OnShiftUp()
{
    m_bShiftHeld = 0;
    if (m_pView) m_pView->SetToolCursor(m_zoom.IsHeld() ? CZoomBox::kCursorZoomIn : kCursor);
    return TRUE;
}

BOOL CVTRuler::OnSpaceUp()
{
    m_zoom.Release();
    if (m_pView) m_pView->SetToolCursor(m_bShiftHeld ? kCursorConstrained : kCursor);
    ShowPrompt(kPromptStart);
    InvalidateFeedback();
    return TRUE;
}

// --- Mouse -------------------------------------------------------------------------

void CVTRuler::SetLengthPrompt(int x, int y)
{
    const CPageSet* pageSet = GetPageSet();
    CMeasurePrompt length(x + RoundToInt(kPromptOffsetX * GetViewScale()), y, std::string());
    length.SetValue("Length=",
                    PointDistanceRounded(m_ptLineStart.x, m_ptLineStart.y, m_ptLineEnd.x, m_ptLineEnd.y),
                    pageSet ? pageSet->GetUnitsPerMM() : 100);
    SetPrompt(length);
}

BOOL CVTRuler::OnMouseMove(UINT flags, int x, int y)
{
    ClearPrompts();
    if (m_zoom.IsHeld()) {
        m_zoom.OnMouseMove(flags, x, y);
        return FALSE;
    }
    if (m_pView) m_pView->SetToolCursor((flags & MK_SHIFT) ? kCursorConstrained : kCursor);
    m_captureMask = kPointMask;
    if (m_nStep == 0) {
        ShowPrompt(kPromptStart);
        const BOOL captured = CVectorTool::OnMouseMove(flags, x, y);
        InvalidateFeedback();
        return captured;
    }
    const BOOL captured = CVectorTool::OnMouseMove(flags, x, y);
    if (!(flags & MK_SHIFT)) {
        ShowPrompt(kPromptEnd);
        m_ptLineEnd = m_capturedPos;
    } else {
        ShowPrompt(kPromptConstrainedEnd);
        m_bOnCrossing = 0;
        m_ptLineEnd = ConstrainToEighths(m_ptLineStart, CPoint(x, y));
        if (m_bCaptureOn && !(flags & MK_CONTROL) && m_ptLineEnd != m_ptLineStart) {
            CPoint crossing;
            const double limit = Settings().m_nCaptureRadius * GetViewScale();
            if (NearestCurveIntersection(m_ptLineStart, m_ptLineEnd, limit, crossing)) {
                m_ptLineEnd = crossing;
                m_bOnCrossing = 1;
            }
        }
    }
    SetLengthPrompt(x, y);
    InvalidateFeedback();
    return captured;
}

BOOL CVTRuler::OnLButtonDown(UINT flags, int x, int y)
{
    // Whatever comes of this click, it completes nothing older.
    m_pLastElement = nullptr;
    if (m_zoom.IsHeld()) {
        m_zoom.OnLButtonDown(flags, x, y);
        return TRUE;
    }
    if (!OnMouseMove(flags, x, y)) return FALSE;
    if (!CVectorTool::OnLButtonDown(flags, x, y)) return FALSE;
    if (m_nStep == 0) {
        m_ptStart = m_capturePoint;
        m_ptLineStart = m_ptLineEnd = m_ptStart.GetPosition();
        m_nStep = 1;
        InvalidateFeedback();
        return TRUE;
    }
    // A line needs two ends apart; the same point again waits for another.
    if (m_ptLineEnd == m_ptLineStart && !(Settings().m_bValueDialogs && !m_bOnCrossing)) {
        QApplication::beep();
        return TRUE;
    }
    if (!m_bOnCrossing && Settings().m_bValueDialogs && !AskLength()) {
        // Cancelled: the start stays and the line goes on following the
        // mouse.
        InvalidateView();
        return TRUE;
    }
    CreateLine();
    InvalidateView();
    return TRUE;
}

bool CVTRuler::AskLength()
{
    m_bCaptureOn = 0;
    CLengthDlg dialog(this, CLengthDlg::IDD);
    dialog.m_ptFrom = m_ptLineStart;
    dialog.m_ptTo = m_ptLineEnd;
    const bool accepted = dialog.DoModal() == QDialog::Accepted;
    m_bCaptureOn = 1;
    return accepted;
}

void CVTRuler::CreateLine()
{
    CPageSet* pageSet = GetPageSet();
    if (!CurrentPageOf(pageSet)) return;
    // Also inside the symmetric-drawing tool: the line and its mirror are
    // one step the user can take back.
    SaveUndoState();
    const CPointList points{m_ptLineStart, m_ptLineEnd};
    CCurveElement* line = AddOpenLine(pageSet, MakeNodes(pageSet, points, NODE_CORNER, &m_ptStart));
    Completed(line);
    Reset();
}

int CVTRuler::GetLinePoints(CPoint& start, CPoint& end) const
{
    start = m_ptLineStart;
    end = m_ptLineEnd;
    return m_nStep == 1 ? 1 : 0;
}

// --- Drawing ------------------------------------------------------------------------------

void CVTRuler::Draw(CDC* dc, double scale, int originX, int originY, const CRect& rect)
{
    if (!dc) return;
    if (m_nStep == 1) {
        const CPoint a = ModelToDevicePoint(m_ptLineStart.x, m_ptLineStart.y, scale, originX, originY);
        const CPoint b = ModelToDevicePoint(m_ptLineEnd.x, m_ptLineEnd.y, scale, originX, originY);
        dc->MoveTo(a.x, a.y);
        dc->LineTo(b.x, b.y);
        // The last pixel, which a line leaves out.
        dc->LineTo(b.x, b.y + 1);
        if (m_bOnCrossing) DrawXMark(dc, m_ptLineEnd.x, m_ptLineEnd.y, scale, originX, originY);
    }
    if (!m_zoom.IsHeld()) CVectorTool::Draw(dc, scale, originX, originY, rect);
    m_zoom.Draw(dc, scale, originX, originY);
}
