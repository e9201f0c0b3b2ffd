#include "tools/CVTCutJoinLines.h"

#include "settings/CSystemSettings.h"
#include "app/CVEKView.h"
#include "tools/CutJoinNodes.h"
#include "app/ShapeBuilder.h"

#include "geometry/Distance.h"
#include "geometry/Mapping.h"
#include "model/CClosedCurveElement.h"
#include "model/CCurveNode.h"
#include "model/COpenCurveElement.h"
#include "model/CPage.h"
#include "model/CPageSet.h"
#include "model/CSharedPoint.h"
#include "platform/CDC.h"

#include <QApplication>

#include <array>

namespace {

// The cut point: the picked curve's nodes, its crossings with other curves
// and the nearest point of its outline; with Ctrl the outline point only.
constexpr DWORD kCutPointMask = CAPTURE_REF_NODES | CAPTURE_REF_CROSSINGS | CAPTURE_ON_REF_CURVE;
constexpr DWORD kCutPointCtrlMask = CAPTURE_ON_REF_CURVE;

CCurveElement* AsCurve(CGraphElement* element)
{
    return element && element->GetType() == ELEMENT_CURVE ? static_cast<CCurveElement*>(element) : nullptr;
}

bool ListUses(const CCurveNodeList& nodes, const CSharedPoint* point)
{
    for (const CCurveNode* node : nodes)
        if (node->GetPoint() == point) return true;
    return false;
}

struct Arrows {
    int startKind = ARROW_NONE;
    int startSize = 600;
    double startAngle = 53.0;
    int endKind = ARROW_NONE;
    int endSize = 600;
    double endAngle = 53.0;
};

Arrows ArrowsOf(const CCurveElement* curve)
{
    Arrows a;
    if (!curve->IsClosed())
        static_cast<const COpenCurveElement*>(curve)->GetArrowHeads(a.startKind, a.startSize, a.startAngle,
                                                                    a.endKind, a.endSize, a.endAngle);
    return a;
}

// No arrowheads, the settings' sizes and angles kept for later.
Arrows PlainArrows()
{
    const CSystemSettings& s = Settings();
    Arrows a;
    a.startSize = s.m_nStartArrowSize;
    a.startAngle = s.m_dStartArrowAngle;
    a.endSize = s.m_nEndArrowSize;
    a.endAngle = s.m_dEndArrowAngle;
    return a;
}

COpenCurveElement* NewOpenCurve(CPage* page, const CCurveElement* like, const CCurveNodeList& nodes,
                                const Arrows& a)
{
    return new COpenCurveElement(page, like->GetLevel(), like->GetLineAttr(), like->GetColor(), nodes,
                                 a.startKind, a.startSize, a.startAngle, a.endKind, a.endSize, a.endAngle);
}

} // namespace

CVTCutJoinLines::CVTCutJoinLines(CVEKView* view) : CVectorTool(view)
{
    CVTCutJoinLines::Reset();
}

CVTCutJoinLines::~CVTCutJoinLines() = default;

void CVTCutJoinLines::Deactivate()
{
    CVectorTool::Deactivate();
    InvalidateView();
}

// The mode survives.
void CVTCutJoinLines::Reset()
{
    CVectorTool::Reset();
    m_pFirstCurve = nullptr;
    m_pSecondCurve = nullptr;
    m_bCutPointValid = 0;
    m_zoom.Release();
    if (m_pView) m_pView->SetToolCursor(ModeCursor());
}

void CVTCutJoinLines::Cancel()
{
    Reset();
    InvalidateView();
}

BOOL CVTCutJoinLines::UndoStep()
{
    Cancel();
    return TRUE;
}

BOOL CVTCutJoinLines::HasPendingStep()
{
    return CVectorTool::HasPendingStep() || m_nStep > 0 ? TRUE : FALSE;
}

void CVTCutJoinLines::ShowModeState()
{
    if (m_pView) m_pView->SetToolCursor(ModeCursor());
    if (m_bCutMode)
        ShowPrompt(m_nStep == 0 ? kPromptPickCut : kPromptCutPoint);
    else
        ShowPrompt(kPromptJoin);
}

// --- Keys --------------------------------------------------------------------------

BOOL CVTCutJoinLines::OnShiftDown()
{
    // A held Shift repeats its press: one press, one switch.
    if (m_bShiftHeld) return TRUE;
    m_bShiftHeld = 1;
    Reset();
    m_bCutMode = m_bCutMode ? 0 : 1;
    ShowModeState();
    InvalidateView();
    return TRUE;
}

BOOL CVTCutJoinLines::OnShiftUp()
{
    m_bShiftHeld = 0;
    return TRUE;
}

BOOL CVTCutJoinLines::OnSpaceDown()
{
    m_zoom.Hold();
    return TRUE;
}

BOOL CVTCutJoinLines::OnSpaceUp()
{
    m_zoom.Release();
    ShowModeState();
    InvalidateFeedback();
    return TRUE;
}

// --- Mouse -------------------------------------------------------------------------

BOOL CVTCutJoinLines::OnMouseMove(UINT flags, int x, int y)
{
    if (m_zoom.IsHeld()) {
        m_zoom.OnMouseMove(flags, x, y);
        return TRUE;
    }
    ShowModeState();
    BOOL captured = FALSE;
    if (m_bCutMode && m_nStep == 0) {
        m_captureMask = ELEMENT_CURVE;
        captured = CVectorTool::OnMouseMove(flags, x, y);
        m_pFirstCurve = captured ? AsCurve(m_pCapturedElement) : nullptr;
        captured = m_pFirstCurve != nullptr;
    } else if (m_bCutMode) {
        SetReferenceCurve(m_pFirstCurve);
        m_captureMask = (flags & MK_CONTROL) ? kCutPointCtrlMask : kCutPointMask;
        captured = CVectorTool::OnMouseMove(flags, x, y);
        m_bCutPointValid = captured;
        if (captured) m_ptCut = m_capturedPos;
    } else {
        m_captureMask = CAPTURE_ON_OPEN_CURVE;
        captured = CVectorTool::OnMouseMove(flags, x, y);
        CCurveElement* curve = captured ? AsCurve(m_pCapturedElement) : nullptr;
        (m_nStep == 0 ? m_pFirstCurve : m_pSecondCurve) = curve;
        captured = curve != nullptr;
    }
    InvalidateFeedback();
    return captured;
}

BOOL CVTCutJoinLines::OnLButtonDown(UINT flags, int x, int y)
{
    if (m_zoom.IsHeld()) {
        m_zoom.OnLButtonDown(flags, x, y);
        return TRUE;
    }
    if (!OnMouseMove(flags, x, y)) return FALSE;
    if (m_nStep == 0) {
        m_nStep = 1;
        ShowModeState();
        InvalidateFeedback();
        return TRUE;
    }
    if (m_bCutMode) {
        if (!CutCurve()) {
            QApplication::beep();
            return FALSE;
        }
    } else {
        JoinCurves();
    }
    Reset();
    ShowModeState();
    InvalidateView();
    return TRUE;
}

BOOL CVTCutJoinLines::OnLButtonUp(UINT, int, int) { return TRUE; }

BOOL CVTCutJoinLines::OnRButtonDown(UINT flags, int, int y)
{
    if (m_zoom.IsHeld()) m_zoom.OnRButtonDown(flags, y);
    return TRUE;
}

// --- Cutting -----------------------------------------------------------------------

bool CVTCutJoinLines::CutCurve()
{
    CPageSet* pageSet = GetPageSet();
    CPage* page = CurrentPageOf(pageSet);
    CCurveElement* curve = m_pFirstCurve;
    if (!page || !curve || !m_bCutPointValid) return false;

    CPoint cut;
    double distance = 0.0;
    CCurveNode* before = nullptr;
    CCurveNode* at = nullptr;
    CCurveNode* after = nullptr;
    if (!curve->FindSpanAtPoint(m_ptCut, GetCaptureTolerance(), cut, distance, before, at, after) || !before)
        return false;
    CCutPlace place;
    place.before = curve->IndexOfNode(before);
    if (!at && before->GetPosition() == cut) at = before;
    if (!at && after && after->GetPosition() == cut) at = after;
    place.at = at ? curve->IndexOfNode(at) : -1;

    // Two points, so that the two new ends move apart.
    auto* a = new CSharedPoint(page, cut.x, cut.y);
    auto* b = new CSharedPoint(page, cut.x, cut.y);
    CCurveNodeList first;
    CCurveNodeList second;
    const bool made = curve->IsClosed() ? CutClosedNodes(*curve, place, a, b, first)
                                        : CutOpenNodes(*curve, place, a, b, first, second);
    if (!made) {
        delete a;
        delete b;
        return false;
    }
    // A cut on a node keeps that node instead of one of the new points.
    for (CSharedPoint* point : {a, b}) {
        if (ListUses(first, point) || ListUses(second, point))
            page->AddPoint(point);
        else
            delete point;
    }

    SaveUndoState();
    const int index = pageSet->GetCurrentPageIndex();
    if (curve->IsClosed()) {
        // The fill does not come along: an open curve has none.
        pageSet->AddElementToPage(index, NewOpenCurve(page, curve, first, PlainArrows()));
    } else {
        const Arrows arrows = ArrowsOf(curve);
        const Arrows plain = PlainArrows();
        Arrows head = arrows;
        head.endKind = ARROW_NONE;
        head.endSize = plain.endSize;
        head.endAngle = plain.endAngle;
        Arrows tail = arrows;
        tail.startKind = ARROW_NONE;
        tail.startSize = plain.startSize;
        tail.startAngle = plain.startAngle;
        pageSet->AddElementToPage(index, NewOpenCurve(page, curve, first, head));
        pageSet->AddElementToPage(index, NewOpenCurve(page, curve, second, tail));
    }
    Discard(curve);
    m_pFirstCurve = nullptr;
    return true;
}

// --- Joining -----------------------------------------------------------------------

void CVTCutJoinLines::JoinCurves()
{
    CPageSet* pageSet = GetPageSet();
    CPage* page = CurrentPageOf(pageSet);
    CCurveElement* first = m_pFirstCurve;
    CCurveElement* second = m_pSecondCurve;
    if (!page || !first || !second) return;
    if (first == second) {
        CloseCurve(first);
        return;
    }
    const CPointList& a = first->Outline();
    const CPointList& b = second->Outline();
    if (a.IsEmpty() || b.IsEmpty()) return;
    // The nearest pair of ends; of equal distances the earlier pair.
    const std::array<std::pair<CPoint, CPoint>, 4> pairs{{{a.GetHead(), b.GetHead()},
                                                          {a.GetHead(), b.GetTail()},
                                                          {a.GetTail(), b.GetHead()},
                                                          {a.GetTail(), b.GetTail()}}};
    int best = 0;
    int bestDistance = 0;
    for (int i = 0; i < 4; ++i) {
        const auto& [p, q] = pairs[std::size_t(i)];
        const int d = PointDistanceRounded(p.x, p.y, q.x, q.y);
        if (i == 0 || d < bestDistance) {
            best = i;
            bestDistance = d;
        }
    }
    const bool reverseFirst = best < 2;
    const bool reverseSecond = best % 2 == 1;

    SaveUndoState();
    const Arrows fa = ArrowsOf(first);
    const Arrows sa = ArrowsOf(second);
    Arrows arrows;
    arrows.startKind = reverseFirst ? fa.endKind : fa.startKind;
    arrows.startSize = reverseFirst ? fa.endSize : fa.startSize;
    arrows.startAngle = reverseFirst ? fa.endAngle : fa.startAngle;
    arrows.endKind = reverseSecond ? sa.startKind : sa.endKind;
    arrows.endSize = reverseSecond ? sa.startSize : sa.endSize;
    arrows.endAngle = reverseSecond ? sa.startAngle : sa.endAngle;
    const CCurveNodeList nodes = JoinNodes(*first, reverseFirst, *second, reverseSecond);
    pageSet->AddElementToPage(pageSet->GetCurrentPageIndex(), NewOpenCurve(page, first, nodes, arrows));
    Discard(first);
    Discard(second);
}

void CVTCutJoinLines::CloseCurve(CCurveElement* curve)
{
    CPageSet* pageSet = GetPageSet();
    CPage* page = CurrentPageOf(pageSet);
    SaveUndoState();
    CCurveNodeList nodes;
    for (const CCurveNode* node : curve->Nodes()) nodes.AddTail(new CCurveNode(node->GetPoint(), node->GetKind()));
    auto* closed =
        new CClosedCurveElement(page, curve->GetLevel(), curve->GetLineAttr(), curve->GetColor(), nodes, nullptr);
    pageSet->AddElementToPage(pageSet->GetCurrentPageIndex(), closed);
    Discard(curve);
}

void CVTCutJoinLines::Discard(CCurveElement* curve)
{
    CPageSet* pageSet = GetPageSet();
    pageSet->RemoveElementFromPage(pageSet->GetCurrentPageIndex(), curve);
    delete curve;
}

// --- Drawing -----------------------------------------------------------------------

void CVTCutJoinLines::Draw(CDC* dc, double scale, int originX, int originY, const CRect& rect)
{
    if (!dc) return;
    if (m_zoom.IsHeld()) {
        m_zoom.Draw(dc, scale, originX, originY);
        return;
    }
    CRect clip = ModelToDeviceRect(rect.left, rect.top, rect.right, rect.bottom, scale, originX, originY);
    clip.NormalizeRect();
    if (m_pFirstCurve) m_pFirstCurve->DrawHighlight(dc, scale, originX, originY, clip);
    if (!m_bCutMode && m_pSecondCurve && m_pSecondCurve != m_pFirstCurve)
        m_pSecondCurve->DrawHighlight(dc, scale, originX, originY, clip);
    if (m_bCutMode && m_nStep > 0 && m_bCutPointValid) {
        if (m_captureKind == CAPTURED_POINT_ON_CURVE)
            DrawXMark(dc, m_ptCut.x, m_ptCut.y, scale, originX, originY);
        else
            DrawKeyPointMark(dc, m_ptCut.x, m_ptCut.y, scale, originX, originY);
    }
    DrawPrompts(dc, scale, originX, originY);
}
