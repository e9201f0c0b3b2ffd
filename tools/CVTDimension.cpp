#include "tools/CVTDimension.h"

#include "app/CFrameServices.h"
#include "settings/CSystemSettings.h"
#include "app/CVEKView.h"
#include "editors/CVTModifyText.h"
#include "app/ShapeBuilder.h"

#include "geometry/Constants.h"
#include "geometry/Distance.h"
#include "geometry/Lines.h"
#include "geometry/Mapping.h"
#include "geometry/Offset.h"
#include "geometry/Polyline.h"
#include "geometry/WorkUnits.h"
#include "model/CCurveNode.h"
#include "model/COpenCurveElement.h"
#include "model/CPage.h"
#include "model/CPageSet.h"
#include "model/CSharedPoint.h"
#include "model/CTextElement.h"
#include "platform/CDC.h"

#include <QApplication>

#include <cstdlib>

namespace {

constexpr DWORD kPointMask = CAPTURE_NODES | CAPTURE_CROSSINGS | CAPTURE_ON_CURVE | CAPTURE_FREE;

// Nodes of corners on new points of the page, one per point.
CCurveNodeList CornerNodes(CPage& page, const CPointList& points)
{
    CCurveNodeList nodes;
    for (const CPoint& p : points) {
        auto* point = new CSharedPoint(&page, p.x, p.y);
        page.AddPoint(point);
        nodes.AddTail(new CCurveNode(point, NODE_CORNER));
    }
    return nodes;
}

// The point turned half round about the centre.
CPoint Opposite(const CPoint& p, const CPoint& centre)
{
    CPoint q = p;
    RotatePoint(q, centre.x, centre.y, 0.0, -1.0);
    return q;
}

} // namespace

CVTDimension::CVTDimension(CVEKView* view) : CVectorTool(view)
{
    ClearState();
}

CVTDimension::~CVTDimension() = default;

void CVTDimension::Activate()
{
    CVectorTool::Activate();
    if (CFrameServices* frame = Frame()) {
        frame->ShowLineControls(1, 1, 1, 1, 1);
        frame->ShowFontControls(1);
    }
    InvalidateView();
}

void CVTDimension::Deactivate()
{
    CVectorTool::Deactivate();
    if (CFrameServices* frame = Frame()) {
        frame->ShowLineControls(0, 0, 0, 0, 0);
        frame->ShowFontControls(0);
    }
    InvalidateView();
}

void CVTDimension::ClearState()
{
    CVectorTool::Reset();
    m_zoom.Release();
    m_bTapeMode = 0;
    m_pTapeCurve = nullptr;
    m_tapeSection.RemoveAll();
    m_tapeClicks.RemoveAll();
}

void CVTDimension::Reset()
{
    ClearState();
    ShowModeState();
}

void CVTDimension::Cancel()
{
    Reset();
    InvalidateView();
}

BOOL CVTDimension::UndoStep()
{
    Cancel();
    return TRUE;
}

BOOL CVTDimension::HasPendingStep() { return m_nStep > 0 ? TRUE : FALSE; }

void CVTDimension::ShowModeState()
{
    if (m_pView) m_pView->SetToolCursor(m_bTapeMode ? kCursorTape : kCursorDimension);
    if (!m_bTapeMode)
        ShowPrompt(m_nStep == 0 ? kPromptDimensionStart : kPromptDimensionEnd);
    else
        ShowPrompt(m_nStep == 0 ? kPromptTapeStart : m_nStep == 1 ? kPromptTapeDirection : kPromptTapeEnd);
}

// --- Keys --------------------------------------------------------------------------

// The mode flips and what the other mode had begun is dropped: its clicks
// mean nothing in this one.
BOOL CVTDimension::OnShiftDown()
{
    if (m_bShiftHeld) return TRUE;
    m_bShiftHeld = 1;
    const int tape = m_bTapeMode ? 0 : 1;
    ClearState();
    m_bTapeMode = tape;
    ShowModeState();
    InvalidateView();
    return TRUE;
}

BOOL CVTDimension::OnShiftUp()
{
    m_bShiftHeld = 0;
    return TRUE;
}

BOOL CVTDimension::OnSpaceDown()
{
    m_zoom.Hold();
    return TRUE;
}

BOOL CVTDimension::OnSpaceUp()
{
    m_zoom.Release();
    ShowModeState();
    InvalidateFeedback();
    return TRUE;
}

// --- Mouse -------------------------------------------------------------------------

BOOL CVTDimension::OnMouseMove(UINT flags, int x, int y)
{
    if (m_zoom.IsHeld()) {
        m_zoom.OnMouseMove(flags, x, y);
        return TRUE;
    }
    ShowModeState();
    if (!m_bTapeMode) {
        m_captureMask = kPointMask;
        CVectorTool::OnMouseMove(flags, x, y);
        if (m_nStep == 1) m_ptDimEnd = m_capturedPos;
        InvalidateFeedback();
        return TRUE;
    }
    m_captureMask = (flags & MK_CONTROL) ? CAPTURE_MASK_ALL : kPointMask;
    BOOL captured = CVectorTool::OnMouseMove(flags, x, y);
    if (!captured) {
        // Nothing to snap to: the free point shows, but is not taken.
        m_captureMask = CAPTURE_MASK_ALL;
        CVectorTool::OnMouseMove(MK_CONTROL, x, y);
    }
    if (m_nStep < 2) m_pTapeCurve = nullptr;
    if (captured) {
        switch (m_nStep) {
        case 0: m_ptTapeStart = m_capturedPos; break;
        case 1:
            m_ptTapeDir = m_capturedPos;
            if (m_pCapturedElement && m_pCapturedElement->GetType() == ELEMENT_CURVE)
                m_pTapeCurve = static_cast<CCurveElement*>(m_pCapturedElement);
            break;
        default: m_ptTapeEnd = m_capturedPos; break;
        }
    }
    InvalidateFeedback();
    return TRUE;
}

BOOL CVTDimension::OnLButtonDown(UINT flags, int x, int y)
{
    if (m_zoom.IsHeld()) {
        m_zoom.OnLButtonDown(flags, x, y);
        return TRUE;
    }
    OnMouseMove(flags, x, y);
    const BOOL result = m_bTapeMode ? TapeClick() : DimensionClick(x, y);
    InvalidateFeedback();
    return result;
}

BOOL CVTDimension::OnLButtonUp(UINT, int, int) { return TRUE; }

// --- Dimension mode ----------------------------------------------------------------

CPoint CVTDimension::DimensionTextOrigin(const CPoint& start, const CPoint& end, const CPoint& at, const CSize& text)
{
    const double a = LineAngle(end.x, end.y, start.x, start.y);
    if (a > Geo::kHalfPi && a <= Geo::kThreeHalfPi) return at;
    if (a >= 0.0 && a <= Geo::kHalfPi) return CPoint(at.x - text.cx, at.y - text.cy);
    return CPoint(at.x - text.cx, at.y);
}

BOOL CVTDimension::DimensionClick(int x, int y)
{
    if (m_nStep == 0) {
        // The line starts where the user clicked, snapped or not.
        m_ptDimStart = m_ptDimEnd = CPoint(x, y);
        m_nStep = 1;
        ShowModeState();
        return TRUE;
    }
    CPageSet* pageSet = GetPageSet();
    CPage* page = CurrentPageOf(pageSet);
    // A line of no length points nowhere.
    if (!page || m_ptDimEnd == m_ptDimStart) {
        QApplication::beep();
        return FALSE;
    }
    // The line and its text are one step.
    SaveUndoState();
    COpenCurveElement* line = AddOpenLine(pageSet, CornerNodes(*page, CPointList{m_ptDimStart, m_ptDimEnd}));
    // A dimension line points at what it measures from its start alone.
    line->SetEndArrowKind(ARROW_NONE);
    InvalidateView();
    AddDimensionText(CPoint(x, y));
    Reset();
    InvalidateView();
    return TRUE;
}

void CVTDimension::AddDimensionText(const CPoint& at)
{
    std::string wording;
    // Cancel, or nothing typed, leaves the line without text.
    if (!CVTModifyText::AskWording(m_pView, wording) || CVTModifyText::IsBlankWording(wording)) return;
    CPageSet* pageSet = GetPageSet();
    CPage* page = CurrentPageOf(pageSet);
    if (!page) return;
    const CSystemSettings& settings = Settings();
    LogFont font = settings.m_lfDefaultFont;
    font.lfEscapement = 0;
    const CTextFont textFont(wording, font, settings.m_crFontColor);
    const CSize measured = CTextElement::MeasureTextFont(textFont);
    const CSize size(measured.cx, std::abs(font.lfHeight));
    const CPoint origin = DimensionTextOrigin(m_ptDimStart, m_ptDimEnd, at, size);
    auto* text = new CTextElement(page, page->GetMaxLevel(), textFont, origin.x, origin.y, TRANSPARENT);
    pageSet->AddElementToPage(pageSet->GetCurrentPageIndex(), text);
}

// --- Tape-measure mode -------------------------------------------------------------

BOOL CVTDimension::TapeClick()
{
    switch (m_nStep) {
    case 0:
        m_tapeClicks.RemoveAll();
        m_tapeClicks.AddTail(m_ptTapeStart);
        m_nStep = 1;
        break;
    case 1:
        m_nStep = 2;
        break;
    default: {
        // A further click moves the end: the section runs from the start
        // to the latest end, measured once.
        while (m_tapeClicks.GetCount() > 1) m_tapeClicks.RemoveTail();
        m_tapeClicks.AddTail(m_ptTapeEnd);
        m_tapeSection.RemoveAll();
        if (!m_pTapeCurve) break;
        const CPointList& outline = m_pTapeCurve->Outline();
        if (m_pTapeCurve->IsClosed())
            ClosedPathSectionThrough(outline, m_ptTapeStart.x, m_ptTapeStart.y, m_ptTapeDir.x, m_ptTapeDir.y,
                                     m_ptTapeEnd.x - 1, m_ptTapeEnd.y - 1, m_tapeSection);
        else
            PathSectionBetweenPoints(outline, m_ptTapeStart.x, m_ptTapeStart.y, m_ptTapeEnd.x, m_ptTapeEnd.y,
                                     m_tapeSection);
        break;
    }
    }
    ShowModeState();
    return TRUE;
}

BOOL CVTDimension::OnRButtonDown(UINT flags, int, int y)
{
    if (m_zoom.IsHeld()) {
        m_zoom.OnRButtonDown(flags, y);
        return TRUE;
    }
    if (m_bTapeMode) MeasureTape();
    m_nStep = 0;
    m_tapeSection.RemoveAll();
    m_tapeClicks.RemoveAll();
    ShowModeState();
    InvalidateView();
    return TRUE;
}

void CVTDimension::MeasureTape()
{
    CPage* page = m_pTapeCurve ? m_pTapeCurve->GetLayer() : nullptr;
    // Nothing measured: nothing made, and no undo step.
    if (!page || m_tapeSection.GetCount() < 2 || m_tapeClicks.GetCount() < 2) return;
    CPointList section = m_tapeSection;
    CPointList offset;
    GetOffsetPolyline(section, 0, kTapeOffset, offset);
    if (offset.GetCount() < 2) return;
    SaveUndoState();

    const CSystemSettings& settings = Settings();
    const int length = PolylineLengthRounded(m_tapeSection);
    const int upm = page->GetUnitsPerMM();
    const std::string wording =
        FormatLength(length, upm, settings.m_nWorkUnit, settings.m_nPrecision) + UnitSuffix(settings.m_nWorkUnit);
    CPoint textOrigin;
    PointAtLengthFromStart(textOrigin, offset, length / 2.0);

    // Witness lines from the curve across each end of the measured line.
    const CPoint first = m_tapeClicks.GetHead();
    const CPoint last = m_tapeClicks.GetTail();
    CPointList polyline{first, Opposite(first, offset.GetHead())};
    for (const CPoint& p : offset) polyline.AddTail(p);
    polyline.AddTail(last);
    polyline.AddTail(Opposite(last, offset.GetTail()));

    const COLORREF colour = settings.m_crOutsidePaperColor;
    auto* line = new COpenCurveElement(page, page->GetMaxLevel(), CLineAttr(1), colour, CornerNodes(*page, polyline),
                                       ARROW_NONE, settings.m_nStartArrowSize, settings.m_dStartArrowAngle,
                                       ARROW_NONE, settings.m_nEndArrowSize, settings.m_dEndArrowAngle);
    LogFont font = settings.m_lfDefaultFont;
    font.lfHeight = kTapeTextHeight;
    auto* text = new CTextElement(page, page->GetMaxLevel(), CTextFont(wording, font, colour), textOrigin.x,
                                  textOrigin.y, TRANSPARENT);
    page->AddElement(line);
    page->AddElement(text);
}

// --- Drawing -----------------------------------------------------------------------

void CVTDimension::Draw(CDC* dc, double scale, int originX, int originY, const CRect& rect)
{
    if (!dc) return;
    if (m_zoom.IsHeld()) {
        m_zoom.Draw(dc, scale, originX, originY);
        return;
    }
    if (m_bTapeMode) {
        for (const CPoint& p : m_tapeClicks) DrawPointMark(dc, p.x, p.y, scale, originX, originY);
        DrawMappedPolyline(*dc, m_tapeSection, scale, originX, originY);
    } else if (m_nStep == 1) {
        const CPoint a = ModelToDevicePoint(m_ptDimStart.x, m_ptDimStart.y, scale, originX, originY);
        const CPoint b = ModelToDevicePoint(m_ptDimEnd.x, m_ptDimEnd.y, scale, originX, originY);
        dc->MoveTo(a.x, a.y);
        dc->LineTo(b.x, b.y);
        // The last pixel, which a line leaves out.
        dc->LineTo(b.x, b.y + 1);
    }
    CVectorTool::Draw(dc, scale, originX, originY, rect);
}
