#include "tools/CVTOffsetLine.h"

#include "app/CFrameServices.h"
#include "settings/CSystemSettings.h"
#include "app/CVEKView.h"
#include "app/ShapeBuilder.h"
#include "ui/CLengthDlg.h"

#include "geometry/Distance.h"
#include "geometry/Mapping.h"
#include "geometry/Offset.h"
#include "geometry/OffsetNodes.h"
#include "model/CClosedCurveElement.h"
#include "model/CCurveElement.h"
#include "model/CCurveNode.h"
#include "model/COpenCurveElement.h"
#include "model/CPage.h"
#include "model/CPageSet.h"
#include "model/CSharedPoint.h"
#include "platform/CDC.h"

#include <QApplication>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

constexpr DWORD kCurveMask = CAPTURE_ON_OPEN_CURVE | CAPTURE_ON_CLOSED_CURVE;
constexpr int kMaxLines = 9;

CCurveElement* AsCurve(CGraphElement* element)
{
    return element && element->GetType() == ELEMENT_CURVE ? static_cast<CCurveElement*>(element) : nullptr;
}

} // namespace

CVTOffsetLine::CVTOffsetLine(CVEKView* view) : CVectorTool(view)
{
    CVTOffsetLine::Reset();
}

CVTOffsetLine::~CVTOffsetLine() = default;

int CVTOffsetLine::LineCount()
{
    return std::clamp(Settings().m_nOffsetLineCount, 1, kMaxLines);
}

UINT CVTOffsetLine::ModePrompt() const
{
    if (m_bPicked) return m_bMoveCopy ? kPromptPlaceMoveCopy : kPromptPlaceOffset;
    return m_bMoveCopy ? kPromptPickMoveCopy : kPromptPickOffset;
}

// --- Lifecycle --------------------------------------------------------------------

void CVTOffsetLine::Activate()
{
    CVectorTool::Activate();
    m_bShiftHeld = 0;
    if (CFrameServices* frame = Frame()) {
        frame->ShowOffsetControls(1);
        frame->ShowLineControls(1, 1, 1, 0, 0);
    }
    ShowPrompt(ModePrompt());
}

void CVTOffsetLine::Deactivate()
{
    CVectorTool::Deactivate();
    if (CFrameServices* frame = Frame()) {
        frame->ShowOffsetControls(0);
        frame->ShowLineControls(0, 0, 0, 0, 0);
    }
    InvalidateView();
}

void CVTOffsetLine::Reset()
{
    CVectorTool::Reset();
    m_bPicked = 0;
    m_nDistance = 0;
    m_pCurve = nullptr;
    m_offsetNodes.clear();
    m_previews.clear();
    m_bAxisLock = 1;
    m_zoom.Release();
    if (m_pView) m_pView->SetToolCursor(ModeCursor());
}

void CVTOffsetLine::Cancel()
{
    Reset();
    InvalidateView();
}

BOOL CVTOffsetLine::UndoStep()
{
    Cancel();
    return TRUE;
}

BOOL CVTOffsetLine::HasPendingStep()
{
    return m_bPicked || CVectorTool::HasPendingStep() ? TRUE : FALSE;
}

// --- Keys --------------------------------------------------------------------------

BOOL CVTOffsetLine::OnShiftDown()
{
    if (m_bShiftHeld) return TRUE;
    m_bShiftHeld = 1;
    if (m_zoom.IsHeld()) {
        if (m_pView) m_pView->SetToolCursor(CZoomBox::kCursorZoomOut);
        return TRUE;
    }
    m_bMoveCopy = m_bMoveCopy ? 0 : 1;
    Reset();
    ShowPrompt(ModePrompt());
    InvalidateView();
    return TRUE;
}

BOOL CVTOffsetLine::OnShiftUp()
{
    m_bShiftHeld = 0;
    if (m_zoom.IsHeld() && m_pView) m_pView->SetToolCursor(CZoomBox::kCursorZoomIn);
    return TRUE;
}

BOOL CVTOffsetLine::OnSpaceDown()
{
    m_zoom.Hold(m_bShiftHeld);
    return TRUE;
}

BOOL CVTOffsetLine::OnSpaceUp()
{
    m_zoom.Release();
    if (m_pView) m_pView->SetToolCursor(ModeCursor());
    ShowPrompt(ModePrompt());
    InvalidateFeedback();
    return TRUE;
}

BOOL CVTOffsetLine::OnDigitDown(char digit)
{
    if (digit < '0' || digit > '9') return FALSE;
    Settings().m_nOffsetLineCount = std::max(1, digit - '0');
    Recompute();
    InvalidateFeedback();
    return TRUE;
}

BOOL CVTOffsetLine::OnDigitUp(char) { return TRUE; }

// --- Geometry ------------------------------------------------------------------------

CNodePointList CVTOffsetLine::CurveNodes(bool closeRing) const
{
    CNodePointList nodes;
    if (!m_pCurve) return nodes;
    for (const CCurveNode* node : m_pCurve->Nodes()) {
        const CPoint p = node->GetPosition();
        nodes.AddTail(CNodePoint(p.x, p.y, node->GetKind()));
    }
    if (closeRing && m_pCurve->IsClosed() && !nodes.IsEmpty()) nodes.AddTail(CNodePoint(nodes.GetHead()));
    return nodes;
}

void CVTOffsetLine::UpdateDistance(const CPoint& point)
{
    if (!m_pCurve) return;
    const CPointList& outline = m_pCurve->Outline();
    const int distance = RoundToInt(DistancePointToPolyline(point.x, point.y, outline));
    m_nDistance = PointSideOfPolyline(point.x, point.y, outline) ? distance : -distance;
}

void CVTOffsetLine::ComputeOffsetLines()
{
    if (!m_bPicked || !m_pCurve) return;
    const CNodePointList nodes = CurveNodes(true);
    const int closed = m_pCurve->IsClosed();
    const CPageSet* pageSet = GetPageSet();
    const int upm = pageSet ? pageSet->GetUnitsPerMM() : 100;
    const int count = LineCount();
    m_offsetNodes.assign(std::size_t(count), CNodePointList());
    m_previews.assign(std::size_t(count), CPointList());
    int step = RoundToInt(upm * double(Settings().m_nOffsetDistance) / 100.0);
    if (m_nDistance < 0) step = -step;
    // Wide apart lines must not run the distance past what an int holds.
    long long distance = m_nDistance;
    for (int i = 0; i < count; ++i, distance += step) {
        if (std::llabs(distance) > INT32_MAX / 2) break;
        OffsetCurveNodes(nodes, closed, int(distance), m_offsetNodes[std::size_t(i)]);
        CPointList& preview = m_previews[std::size_t(i)];
        BuildNodePolyline(m_offsetNodes[std::size_t(i)], closed, preview);
        if (closed && !preview.IsEmpty()) preview.AddTail(CPoint(preview.GetHead()));
    }
}

void CVTOffsetLine::ComputeMoveCopies()
{
    if (!m_bPicked || !m_pCurve) return;
    const CNodePointList nodes = CurveNodes(false);
    const int closed = m_pCurve->IsClosed();
    double dx = double(m_ptDragEnd.x) - m_ptDragStart.x;
    double dy = double(m_ptDragEnd.y) - m_ptDragStart.y;
    if (m_bAxisLock) {
        if (std::fabs(dy) > std::fabs(dx))
            dx = 0.0;
        else
            dy = 0.0;
    }
    m_offsetNodes.clear();
    m_previews.clear();
    const double length = std::sqrt(dx * dx + dy * dy);
    // Without a drag there is no direction to copy along.
    if (length == 0.0) return;
    const CPageSet* pageSet = GetPageSet();
    const int upm = pageSet ? pageSet->GetUnitsPerMM() : 100;
    const double step = std::fabs(upm * double(Settings().m_nOffsetDistance) / 100.0);
    const int count = LineCount();
    m_offsetNodes.assign(std::size_t(count), CNodePointList());
    m_previews.assign(std::size_t(count), CPointList());
    for (int i = 0; i < count; ++i) {
        const double s = length + i * step;
        const int mx = RoundToInt(dx / length * s);
        const int my = RoundToInt(dy / length * s);
        CNodePointList& moved = m_offsetNodes[std::size_t(i)];
        for (const CNodePoint& n : nodes) moved.AddTail(CNodePoint(n.x + mx, n.y + my, n.kind));
        CPointList& preview = m_previews[std::size_t(i)];
        BuildNodePolyline(moved, closed, preview);
        if (closed && !preview.IsEmpty()) preview.AddTail(CPoint(preview.GetHead()));
    }
}

void CVTOffsetLine::Recompute()
{
    if (m_bMoveCopy)
        ComputeMoveCopies();
    else
        ComputeOffsetLines();
}

// --- Mouse -------------------------------------------------------------------------

BOOL CVTOffsetLine::OnMouseMove(UINT flags, int x, int y)
{
    if (m_zoom.IsHeld()) {
        m_zoom.OnMouseMove(flags, x, y);
        return FALSE;
    }
    if (m_pView) m_pView->SetToolCursor(ModeCursor());
    ShowPrompt(ModePrompt());
    if (!m_bPicked) {
        m_captureMask = kCurveMask;
        const BOOL captured = CVectorTool::OnMouseMove(flags, x, y);
        m_pCurve = captured ? AsCurve(m_pCapturedElement) : nullptr;
        InvalidateFeedback();
        return captured;
    }
    if (m_bMoveCopy) {
        m_ptDragEnd = CPoint(x, y);
        m_bAxisLock = (flags & MK_CONTROL) ? 0 : 1;
        ComputeMoveCopies();
    } else {
        // While the prompt is open the typed distance counts, not the mouse.
        if (!m_bDialogOpen) UpdateDistance(CPoint(x, y));
        ComputeOffsetLines();
    }
    InvalidateFeedback();
    return TRUE;
}

BOOL CVTOffsetLine::OnLButtonDown(UINT flags, int x, int y)
{
    if (m_zoom.IsHeld()) {
        m_zoom.OnLButtonDown(flags, x, y);
        return TRUE;
    }
    if (!m_bPicked) {
        if (!OnMouseMove(flags, x, y) || !m_pCurve) return FALSE;
        m_bPicked = 1;
        if (m_bMoveCopy) {
            m_ptDragStart = m_ptDragEnd = CPoint(x, y);
            ComputeMoveCopies();
        } else {
            UpdateDistance(CPoint(x, y));
            ComputeOffsetLines();
        }
        ShowPrompt(ModePrompt());
        InvalidateFeedback();
        return TRUE;
    }
    OnMouseMove(flags, x, y);
    if (Settings().m_bValueDialogs && !AskValue()) {
        InvalidateView();
        return TRUE;
    }
    CreateCurves();
    InvalidateView();
    return TRUE;
}

bool CVTOffsetLine::AskValue()
{
    CLengthDlg dialog(this, CLengthDlg::IDD);
    const int distanceBefore = m_nDistance;
    const CPoint endBefore = m_ptDragEnd;
    if (m_bMoveCopy) {
        dialog.m_ptFrom = m_ptDragStart;
        dialog.m_ptTo = m_ptDragEnd;
    } else {
        dialog.m_bOffsetMode = 1;
        dialog.m_nValue = m_nDistance;
        dialog.m_ptTo = m_ptDragEnd;
    }
    m_bDialogOpen = 1;
    const bool accepted = dialog.DoModal() == QDialog::Accepted;
    m_bDialogOpen = 0;
    if (!accepted) {
        m_nDistance = distanceBefore;
        m_ptDragEnd = endBefore;
        Recompute();
    }
    return accepted;
}

void CVTOffsetLine::CreateCurves()
{
    CPageSet* pageSet = GetPageSet();
    CPage* page = CurrentPageOf(pageSet);
    const int closed = m_pCurve && m_pCurve->IsClosed();
    const std::size_t fewest = closed ? 3 : 2;
    std::vector<const CNodePointList*> usable;
    for (const CNodePointList& nodes : m_offsetNodes)
        if (std::size_t(nodes.GetCount()) >= fewest) usable.push_back(&nodes);
    // A move without a drag, or an offset that left no curve, makes nothing.
    if (!page || !m_pCurve || usable.empty()) {
        QApplication::beep();
        return;
    }

    SaveUndoState();
    const COLORREF color = m_pCurve->GetColor();
    int startKind = ARROW_NONE, startSize = 0, endKind = ARROW_NONE, endSize = 0;
    double startAngle = 0.0, endAngle = 0.0;
    if (const auto* open = dynamic_cast<const COpenCurveElement*>(m_pCurve))
        open->GetArrowHeads(startKind, startSize, startAngle, endKind, endSize, endAngle);
    for (const CNodePointList* list : usable) {
        CCurveNodeList nodes;
        for (const CNodePoint& n : *list) {
            auto* point = new CSharedPoint(page, n.x, n.y);
            page->AddPoint(point);
            nodes.AddTail(new CCurveNode(point, n.kind));
        }
        CCurveElement* curve = nullptr;
        if (closed)
            curve = new CClosedCurveElement(page, page->GetMaxLevel(), CurrentLineType(), color, nodes, nullptr);
        else
            curve = new COpenCurveElement(page, page->GetMaxLevel(), CurrentLineType(), color, nodes, startKind,
                                          startSize, startAngle, endKind, endSize, endAngle);
        pageSet->AddElementToPage(pageSet->GetCurrentPageIndex(), curve);
    }
    Reset();
    ShowPrompt(ModePrompt());
}

BOOL CVTOffsetLine::OnLButtonUp(UINT, int, int) { return TRUE; }

BOOL CVTOffsetLine::OnRButtonDown(UINT flags, int, int y)
{
    if (m_zoom.IsHeld()) m_zoom.OnRButtonDown(flags, y);
    return TRUE;
}

BOOL CVTOffsetLine::OnRButtonUp(UINT, int, int) { return TRUE; }

// --- Drawing ------------------------------------------------------------------------------

void CVTOffsetLine::Draw(CDC* dc, double scale, int originX, int originY, const CRect& rect)
{
    if (!dc) return;
    if (!m_zoom.IsHeld()) {
        if (!m_bPicked && m_pCurve) {
            CRect clip = ModelToDeviceRect(rect.left, rect.top, rect.right, rect.bottom, scale, originX, originY);
            clip.NormalizeRect();
            m_pCurve->DrawHighlight(dc, scale, originX, originY, clip);
        }
        for (const CPointList& preview : m_previews) DrawMappedPolyline(*dc, preview, scale, originX, originY);
    }
    m_zoom.Draw(dc, scale, originX, originY);
}
