#include "tools/CVTCurve.h"

#include "app/CFrameServices.h"
#include "settings/CSystemSettings.h"
#include "app/CVEKView.h"
#include "editors/CVTModifyCurve.h"
#include "app/ShapeBuilder.h"

#include "geometry/Mapping.h"
#include "model/CCurveNode.h"
#include "model/COpenCurveElement.h"
#include "model/CPage.h"
#include "model/CPageSet.h"
#include "platform/CDC.h"

#include <QCursor>

#include <vector>

namespace {

// Capture while entering: nodes, crossings and points on curves, but no
// free point (that is the fallback when nothing is near).
constexpr DWORD kEntryCaptureMask = CAPTURE_NODES | CAPTURE_CROSSINGS | CAPTURE_ON_CURVE;

} // namespace

CVTCurve::CVTCurve(CVEKView* view) : CVTCurve(view, nullptr, 0) {}

CVTCurve::CVTCurve(CVEKView* view, CVTSymmetricDraw* owner, int subTool)
    : CVectorTool(view), m_pOwner(owner), m_bSubTool(subTool)
{
    m_pEditor = std::make_unique<CVTModifyCurve>(view, this);
    CVTCurve::Reset();
}

CVTCurve::~CVTCurve() = default;

// --- Lifecycle -----------------------------------------------------------------------

void CVTCurve::Activate()
{
    CVectorTool::Activate();
    m_pEditor->Activate();
    m_bShiftHeld = 0;
    ShowControls(1);
    ShowPrompt(EntryPrompt());
}

void CVTCurve::Deactivate()
{
    CVectorTool::Deactivate();
    m_pEditor->Deactivate();
    ShowControls(0);
    InvalidateView();
}

void CVTCurve::Reset()
{
    CVectorTool::Reset();
    m_bEditing = 0;
    m_bSmooth = 1;
    m_zoom.Release();
    m_entries.RemoveAll();
    m_smoothFlags.RemoveAll();
    m_preview.RemoveAll();
    if (!MakesClosedCurve()) m_pCreatedCurve = nullptr;
    if (m_pEditor) m_pEditor->Reset();
    if (m_pView) m_pView->SetToolCursor(SmoothCursor());
}

void CVTCurve::ShowControls(int show)
{
    if (CFrameServices* frame = Frame()) frame->ShowLineControls(show, show, show, show, show);
}

int CVTCurve::CommittedFlag() const
{
    return m_bSmooth && m_nStep > 0 ? 1 : 0;
}

CCurveElement* CVTCurve::CreateCurve(CPage* page, const CCurveNodeList& nodes)
{
    // A new curve wears the arrowheads the tool bar's buttons show, so
    // what the user chose before drawing is what gets drawn and saved.
    const CSystemSettings& settings = Settings();
    return new COpenCurveElement(page, page->GetMaxLevel(), CurrentLineType(), settings.m_crLineColor,
                                 nodes, settings.m_nStartArrowType, settings.m_nStartArrowSize,
                                 settings.m_dStartArrowAngle, settings.m_nEndArrowType,
                                 settings.m_nEndArrowSize, settings.m_dEndArrowAngle, nullptr);
}

void CVTCurve::OnCurveCreated(CCurveElement*) {}

// --- Entry ---------------------------------------------------------------------------

void CVTCurve::DropFloatingEntry()
{
    while (m_entries.GetCount() > m_nStep) {
        m_entries.RemoveTail();
        m_smoothFlags.RemoveTail();
    }
}

void CVTCurve::RebuildPreview()
{
    std::vector<CPoint> points;
    std::vector<int> smooth;
    for (const CCapturePoint& entry : m_entries) points.push_back(entry.GetPosition());
    for (int flag : m_smoothFlags) smooth.push_back(flag);
    // The first point starts the line whatever its flag says.
    if (!smooth.empty()) smooth.front() = 0;
    CVTModifyCurve::BuildNodePolyline(points, smooth, 0, m_preview);
}

void CVTCurve::ShowEntryState()
{
    if (m_bEditing) {
        if (m_pView) m_pView->SetToolCursor(CVTModifyCurve::kCursor);
        ShowPrompt(m_pEditor->IsDragging() ? CVTModifyCurve::kPromptDragging
                                           : CVTModifyCurve::kPromptHover);
        return;
    }
    if (m_pView) m_pView->SetToolCursor(EntryCursor());
    ShowPrompt(EntryPrompt());
}

BOOL CVTCurve::OnMouseMove(UINT flags, int x, int y)
{
    if (m_zoom.IsHeld()) {
        m_zoom.OnMouseMove(flags, x, y);
        return TRUE;
    }
    if (m_bEditing) return m_pEditor->OnMouseMove(flags, x, y);

    ShowEntryState();
    if (!GetPageSet()) return FALSE;
    DropFloatingEntry();
    m_captureMask = (flags & MK_CONTROL) ? CAPTURE_MASK_ALL : kEntryCaptureMask;
    BOOL captured = CVectorTool::OnMouseMove(flags, x, y);
    if (!captured) {
        // Nothing to snap to: the free point under the cursor.
        m_captureMask = CAPTURE_MASK_ALL;
        captured = CVectorTool::OnMouseMove(MK_CONTROL, x, y);
    }
    m_entries.AddTail(CCapturePoint(m_capturedPos.x, m_capturedPos.y));
    m_smoothFlags.AddTail(FloatingFlag());
    RebuildPreview();
    InvalidateFeedback();
    return captured;
}

BOOL CVTCurve::OnLButtonDown(UINT flags, int x, int y)
{
    if (m_zoom.IsHeld()) {
        m_zoom.OnLButtonDown(flags, x, y);
        return TRUE;
    }
    if (m_bEditing) return m_pEditor->OnLButtonDown(flags, x, y);

    if (!OnMouseMove(flags, x, y)) return FALSE;
    // Captures once more and records the point (it may ask where on a
    // curve the point goes, and record nothing when that is cancelled).
    if (!CVectorTool::OnLButtonDown(flags, x, y)) return FALSE;
    DropFloatingEntry();
    m_entries.AddTail(m_capturePoint);
    m_smoothFlags.AddTail(CommittedFlag());
    ++m_nStep;
    RebuildPreview();
    InvalidateFeedback();
    return TRUE;
}

BOOL CVTCurve::OnShiftDown()
{
    // A held Shift repeats its press: one press, one switch.
    if (m_bShiftHeld) return TRUE;
    m_bShiftHeld = 1;
    if (m_zoom.IsHeld()) {
        // In the zoom mode Shift means zooming out, nothing else.
        if (m_pView) m_pView->SetToolCursor(kCursorZoomOut);
        return TRUE;
    }
    if (m_bEditing) return m_pEditor->OnShiftDown();

    m_bSmooth = m_bSmooth ? 0 : 1;
    if (!m_bSmooth && m_nStep > 0) {
        // The point entered just before becomes a corner.
        if (POSITION pos = m_smoothFlags.FindIndex(m_nStep - 1)) m_smoothFlags.SetAt(pos, 0);
    }
    if (m_pView) m_pView->SetToolCursor(EntryCursor());
    if (m_nStep > 0 && !m_entries.IsEmpty()) {
        const CPoint at = m_entries.GetTail().GetPosition();
        OnMouseMove(0, at.x, at.y);
    }
    return TRUE;
}

BOOL CVTCurve::OnShiftUp()
{
    m_bShiftHeld = 0;
    if (m_zoom.IsHeld()) {
        if (m_pView) m_pView->SetToolCursor(kCursorZoom);
        return TRUE;
    }
    return m_bEditing ? m_pEditor->OnShiftUp() : TRUE;
}

BOOL CVTCurve::OnRButtonDown(UINT flags, int x, int y)
{
    if (m_zoom.IsHeld()) {
        m_zoom.OnRButtonDown(flags, y);
        return TRUE;
    }
    if (m_bEditing) return m_pEditor->OnRButtonDown(flags, x, y);
    return FinishInput();
}

BOOL CVTCurve::FinishInput()
{
    if (!MakesClosedCurve()) m_pCreatedCurve = nullptr;
    if (m_nStep < 2) return FALSE;
    CPageSet* pageSet = GetPageSet();
    CPage* page = CurrentPageOf(pageSet);
    if (!page) return FALSE;

    SaveUndoState();
    DropFloatingEntry();
    // Both ends of an open curve are corners.
    if (!MakesClosedCurve() && !m_smoothFlags.IsEmpty()) m_smoothFlags.GetTail() = 0;

    CCurveNodeList nodes;
    POSITION flagPos = m_smoothFlags.GetHeadPosition();
    for (const CCapturePoint& entry : m_entries) {
        const int flag = flagPos ? m_smoothFlags.GetNext(flagPos) : 0;
        // A captured node lends its point, so the curves share it.
        if (CSharedPoint* point = entry.GetSharedPoint(pageSet))
            nodes.AddTail(new CCurveNode(point, flag ? NODE_SMOOTH : NODE_CORNER));
    }
    CCurveElement* curve = CreateCurve(page, nodes);
    pageSet->AddElementToPage(pageSet->GetCurrentPageIndex(), curve);
    OnCurveCreated(curve);
    if (m_onComplete) m_onComplete(curve);

    Reset();
    m_pCreatedCurve = curve;
    m_bEditing = 1;
    m_pEditor->SetCurve(curve);
    InvalidateView();
    return TRUE;
}

// --- Pending step ------------------------------------------------------------------------

void CVTCurve::Cancel()
{
    if (m_bEditing) m_pEditor->Cancel();
    Reset();
    InvalidateView();
}

BOOL CVTCurve::UndoStep()
{
    if (m_bEditing && m_pEditor->UndoStep()) return TRUE;
    if (m_nStep <= 0) return FALSE;
    --m_nStep;
    if (m_nStep == 0) {
        Cancel();
        return TRUE;
    }
    // The cursor goes where the point was taken back, so the line runs on
    // from the point before it as if that point had just been clicked.
    const CPoint at = m_entries.GetTail().GetPosition();
    DropFloatingEntry();
    if (m_pView) {
        const CPoint device = m_pView->ModelToDevicePoint(at.x, at.y);
        QCursor::setPos(m_pView->mapToGlobal(QPoint(device.x, device.y)));
    }
    RebuildPreview();
    InvalidateFeedback();
    return TRUE;
}

BOOL CVTCurve::HasPendingStep()
{
    if (m_bEditing) return m_pEditor->HasPendingStep();
    return CVectorTool::HasPendingStep() || m_nStep > 0 ? TRUE : FALSE;
}

// --- Temporary zoom ----------------------------------------------------------------------

BOOL CVTCurve::OnSpaceDown()
{
    m_zoom.Hold(m_bShiftHeld);
    return TRUE;
}

BOOL CVTCurve::OnSpaceUp()
{
    m_zoom.Release();
    ShowEntryState();
    InvalidateFeedback();
    return TRUE;
}

// --- Drawing -------------------------------------------------------------------------------

void CVTCurve::Draw(CDC* dc, double scale, int originX, int originY, const CRect& rect)
{
    if (!dc) return;
    if (m_bEditing) {
        m_pEditor->Draw(dc, scale, originX, originY, rect);
    } else {
        DrawMappedPolyline(*dc, m_preview, scale, originX, originY);
        const int marked = m_entries.GetCount() - 1;
        int index = 0;
        for (const CCapturePoint& entry : m_entries) {
            if (index++ >= marked) break;
            DrawPointMark(dc, entry.x, entry.y, scale, originX, originY);
        }
        if (!m_zoom.IsHeld()) CVectorTool::Draw(dc, scale, originX, originY, rect);
    }
    m_zoom.Draw(dc, scale, originX, originY);
}

// --- Forwarded to the editor while editing --------------------------------------------------

BOOL CVTCurve::OnReturnDown() { return m_bEditing ? m_pEditor->OnReturnDown() : TRUE; }
BOOL CVTCurve::OnReturnUp() { return m_bEditing ? m_pEditor->OnReturnUp() : TRUE; }
BOOL CVTCurve::OnCtrlDown() { return m_bEditing ? m_pEditor->OnCtrlDown() : TRUE; }
BOOL CVTCurve::OnCtrlUp() { return m_bEditing ? m_pEditor->OnCtrlUp() : TRUE; }
BOOL CVTCurve::OnDeleteUp() { return m_bEditing ? m_pEditor->OnDeleteUp() : TRUE; }
BOOL CVTCurve::OnDigitDown(char digit) { return m_bEditing ? m_pEditor->OnDigitDown(digit) : TRUE; }
BOOL CVTCurve::OnDigitUp(char digit) { return m_bEditing ? m_pEditor->OnDigitUp(digit) : TRUE; }

BOOL CVTCurve::OnLButtonUp(UINT flags, int x, int y)
{
    return m_bEditing ? m_pEditor->OnLButtonUp(flags, x, y) : TRUE;
}

BOOL CVTCurve::OnRButtonUp(UINT flags, int x, int y)
{
    return m_bEditing ? m_pEditor->OnRButtonUp(flags, x, y) : TRUE;
}

BOOL CVTCurve::OnDeleteDown()
{
    if (!m_bEditing) return FALSE;
    CCurveElement* edited = m_pEditor->GetCurve();
    const BOOL result = m_pEditor->OnDeleteDown();
    if (m_pEditor->IsCurveRemoved()) {
        if (m_pOwner && m_bSubTool && m_onSubToolDelete) m_onSubToolDelete();
        if (m_pCreatedCurve == edited) m_pCreatedCurve = nullptr;
    }
    return result;
}

void CVTCurve::OnEditCopy()
{
    if (m_bEditing) m_pEditor->OnEditCopy();
}

void CVTCurve::OnEditCut()
{
    if (!m_bEditing) return;
    CCurveElement* edited = m_pEditor->GetCurve();
    m_pEditor->OnEditCut();
    if (!m_pEditor->GetCurve() && m_pCreatedCurve == edited) m_pCreatedCurve = nullptr;
}

BOOL CVTCurve::CanCopy() { return m_bEditing ? m_pEditor->CanCopy() : FALSE; }

// A colour picked in the picker recolours the curve being edited, as the
// picker's button does.
void CVTCurve::OnLineColorChanged()
{
    if (m_bEditing) m_pEditor->OnLineColorChanged();
}

void CVTCurve::OnLineColor()
{
    if (m_bEditing) m_pEditor->OnLineColor();
}

void CVTCurve::OnLineType()
{
    if (m_bEditing) m_pEditor->OnLineType();
}

void CVTCurve::OnStartArrow()
{
    if (m_bEditing) m_pEditor->OnStartArrow();
}

void CVTCurve::OnEndArrow()
{
    if (m_bEditing) m_pEditor->OnEndArrow();
}

void CVTCurve::OnEscUp()
{
    if (m_bEditing) m_pEditor->OnEscUp();
}

// --- For the symmetric-drawing tool -----------------------------------------------------------

int CVTCurve::GetPolyline(CPointList& out)
{
    if (m_bEditing) return m_pEditor->GetPolyline(out);
    out = m_preview;
    return 1;
}

int CVTCurve::GetEnteredPoints(CCapturePointList& out) const
{
    out = m_entries;
    return 1;
}

int CVTCurve::GetCurveNodes(CCurveNodeList& out) const
{
    return m_bEditing ? m_pEditor->GetCurveNodes(out) : 0;
}

int CVTCurve::GetSmoothFlags(CList<int>& out) const
{
    out = m_smoothFlags;
    return 1;
}

int CVTCurve::IsCurveModified() const
{
    return m_bEditing ? m_pEditor->IsCurveModified() : 0;
}
