#include "app/CVectorTool.h"

#include "app/CVEKView.h"
#include "settings/CSystemSettings.h"

#include "geometry/Distance.h"
#include "geometry/Lines.h"
#include "geometry/Mapping.h"
#include "geometry/NumberText.h"
#include "geometry/TextMeasure.h"
#include "model/CCurveElement.h"
#include "model/CCurveNode.h"
#include "model/CGraphElement.h"
#include "model/CPage.h"
#include "model/CPageSet.h"
#include "platform/CDC.h"

#include <cmath>

namespace {

// Pixels between the cursor and the length prompts.
constexpr int kPromptOffsetX = 28;
constexpr int kPromptLineHeight = 16;

CPage* CurrentPageOf(const CPageSet* pageSet)
{
    if (!pageSet) return nullptr;
    const int index = pageSet->GetCurrentPageIndex();
    if (index < 0 || index >= pageSet->GetPageCount()) return nullptr;
    return pageSet->GetPageAt(index);
}

CCurveElement* AsCurve(CGraphElement* element)
{
    return element && element->GetType() == ELEMENT_CURVE ? static_cast<CCurveElement*>(element)
                                                          : nullptr;
}

// "%f" without trailing zeros or a bare point.
std::string RatioText(double ratio)
{
    std::string text = FormatFixed(ratio, 6);
    TrimDecimalZeros(text);
    return text;
}

} // namespace

struct CVectorTool::Candidate {
    bool found = false;
    int kind = CAPTURED_NOTHING;
    CPoint position;
    CCurveNode* node = nullptr;
    CGraphElement* element = nullptr;
    CGraphElement* second = nullptr;
    double distance = 0.0;

    // A later candidate wins only when it is nearer by whole units, so a
    // node keeps its place against a crossing at about the same distance.
    void Offer(const Candidate& other)
    {
        if (!found || RoundToInt(other.distance) < RoundToInt(distance)) *this = other;
    }
};

CVectorTool::CVectorTool() = default;

CVectorTool::CVectorTool(CVEKView* view) : CDesignTool(view) {}

CVectorTool::~CVectorTool() = default;

void CVectorTool::Reset()
{
    CDesignTool::Reset();
    m_bSlideOnCurve = 0;
    m_bCaptureOn = 1;
    m_captureMask = CAPTURE_MASK_ALL;
    m_pReferenceCurve = nullptr;
    m_captureKind = CAPTURED_NOTHING;
    m_pCapturedNode = nullptr;
    m_pCapturedElement = nullptr;
    m_pSecondElement = nullptr;
    m_nStep = 0;
}

BOOL CVectorTool::OnF4Down()
{
    CSystemSettings& settings = Settings();
    settings.m_bAltCaptureMode = settings.m_bAltCaptureMode ? 0 : 1;
    return FALSE;
}

double CVectorTool::GetCaptureTolerance() const
{
    return Settings().m_nCaptureRadius * GetViewScale();
}

// --- Capture ------------------------------------------------------------------

BOOL CVectorTool::OnMouseMove(UINT flags, int x, int y) { return Capture(flags, x, y); }

BOOL CVectorTool::Capture(UINT flags, int x, int y)
{
    if (!CurrentPageOf(GetPageSet())) return FALSE;
    if (!m_bCaptureOn) {
        TakeFreePoint(x, y);
        return TRUE;
    }
    ClearPrompts();

    BOOL captured = FALSE;
    if (m_bSlideOnCurve && CapturedCurve()) {
        captured = SlideOnCurve(x, y);
    } else if ((flags & MK_CONTROL) &&
               (m_captureMask == CAPTURE_MASK_ALL || (m_captureMask & CAPTURE_FREE))) {
        TakeFreePoint(x, y);
        captured = TRUE;
    } else {
        const double tolerance = GetCaptureTolerance();
        Candidate best;
        ContestNearest(x, y, tolerance, best);
        if (best.found) {
            m_captureKind = best.kind;
            m_capturedPos = best.position;
            m_pCapturedNode = best.node;
            m_pCapturedElement = best.element;
            m_pSecondElement = best.second;
            captured = TRUE;
        } else {
            captured = CaptureOnCurves(x, y, tolerance) || CaptureElement(x, y, tolerance);
        }
    }
    SetLengthPrompts(x, y);
    return captured;
}

BOOL CVectorTool::SlideOnCurve(int x, int y)
{
    CCurveElement* curve = CapturedCurve();
    CPoint found;
    double distance = 0.0;
    if (!curve->FindNearestOutlinePoint(CPoint(x, y), GetCaptureTolerance(), found, distance))
        return FALSE;
    m_capturedPos = found;
    // On a loop the direction is the user's choice (SwapReferenceEnd); on
    // an open curve it follows from where the point lies.
    if (m_pCapturedNode && !IsLoop(*curve))
        m_bAfterNode = curve->IsBeforeAlongCurve(m_pCapturedNode->GetPosition(), found);
    return TRUE;
}

void CVectorTool::ContestNearest(int x, int y, double tolerance, Candidate& best) const
{
    const CSystemSettings& settings = Settings();
    const bool anyNode = settings.m_bAltCaptureMode != 0;
    const int nodeKind = anyNode ? CAPTURED_ANY_NODE : CAPTURED_NODE;
    CPageSet* pageSet = GetPageSet();
    const CPoint cursor(x, y);

    if (settings.m_bAutoSnap && (m_captureMask & CAPTURE_NODES)) {
        Candidate c;
        CCurveElement* curve = nullptr;
        const int found =
            anyNode ? pageSet->FindNearestNode(x, y, tolerance, curve, c.node, c.distance)
                    : pageSet->FindNearestCornerNode(x, y, tolerance, curve, c.node, c.distance);
        if (found) {
            c.found = true;
            c.kind = nodeKind;
            c.position = c.node->GetPosition();
            c.element = curve;
            best.Offer(c);
        }
    }
    if (MaskNamesReference(CAPTURE_REF_NODES)) {
        Candidate c;
        const int found =
            anyNode ? m_pReferenceCurve->FindNearestNode(cursor, tolerance, c.node, c.distance)
                    : m_pReferenceCurve->FindNearestVertex(cursor, tolerance, c.node, c.distance);
        if (found) {
            c.found = true;
            c.kind = nodeKind;
            c.position = c.node->GetPosition();
            c.element = m_pReferenceCurve;
            best.Offer(c);
        }
    }
    if (settings.m_bAutoSnap && (m_captureMask & CAPTURE_CROSSINGS)) {
        Candidate c;
        CCurveElement* a = nullptr;
        CCurveElement* b = nullptr;
        if (pageSet->FindNearestIntersection(x, y, tolerance, a, b, c.position, c.distance)) {
            c.found = true;
            c.kind = CAPTURED_CROSSING;
            c.element = a;
            c.second = b;
            best.Offer(c);
        }
    }
    if (MaskNamesReference(CAPTURE_REF_CROSSINGS)) {
        Candidate c;
        CCurveElement* other = pageSet->FindNearestIntersectionWith(
            x, y, tolerance, m_pReferenceCurve, c.position, c.distance);
        if (other) {
            c.found = true;
            c.kind = CAPTURED_CROSSING;
            c.element = m_pReferenceCurve;
            c.second = other;
            best.Offer(c);
        }
    }
}

BOOL CVectorTool::CaptureOnCurves(int x, int y, double tolerance)
{
    CPageSet* pageSet = GetPageSet();
    CPoint point;
    double distance = 0.0;

    if (m_captureMask & CAPTURE_ON_CURVE) {
        CGraphElement* element = nullptr;
        if (pageSet->HitTestElement(x, y, tolerance, ELEMENT_CURVE, element, point, distance)) {
            if (CCurveElement* curve = AsCurve(element)) {
                CPointList crossings;
                PolylineSelfIntersections(curve->Outline(), crossings);
                CPoint crossing;
                double crossingDistance = 0.0;
                if (FindNearestListPoint(x, y, crossings, crossing, crossingDistance))
                    TakePointOnCurve(curve, crossing, CAPTURED_CROSSING);
                else
                    TakePointOnCurve(curve, point, CAPTURED_POINT_ON_CURVE);
                return TRUE;
            }
        }
    }
    if (MaskNamesReference(CAPTURE_ON_REF_CURVE) &&
        m_pReferenceCurve->FindNearestOutlinePoint(CPoint(x, y), tolerance, point, distance)) {
        TakePointOnCurve(m_pReferenceCurve, point, CAPTURED_POINT_ON_CURVE);
        return TRUE;
    }
    CCurveElement* curve = nullptr;
    if ((m_captureMask & CAPTURE_ON_OPEN_CURVE) &&
        pageSet->HitTestOpenCurve(x, y, tolerance, curve, point, distance)) {
        TakePointOnCurve(curve, point, CAPTURED_POINT_ON_CURVE);
        return TRUE;
    }
    if ((m_captureMask & CAPTURE_ON_CLOSED_CURVE) &&
        pageSet->HitTestClosedCurve(x, y, tolerance, curve, point, distance)) {
        TakePointOnCurve(curve, point, CAPTURED_POINT_ON_CURVE);
        return TRUE;
    }
    return FALSE;
}

BOOL CVectorTool::CaptureElement(int x, int y, double tolerance)
{
    CGraphElement* element = nullptr;
    CPoint point;
    double distance = 0.0;
    const int kindMask = int(m_captureMask & DWORD(ELEMENT_ALL));
    if (!GetPageSet()->HitTestElement(x, y, tolerance, kindMask, element, point, distance)) {
        if (m_captureMask == CAPTURE_MASK_ALL || (m_captureMask & CAPTURE_FREE)) {
            TakeFreePoint(x, y);
            return TRUE;
        }
        ClearCapture(x, y);
        return FALSE;
    }

    CGraphElement* contained = nullptr;
    switch (element->GetType()) {
    case ELEMENT_CURVE:
        if (Settings().m_bAutoSnap) {
            TakePointOnCurve(AsCurve(element), point, CAPTURED_POINT_ON_CURVE);
            return TRUE;
        }
        break;
    case ELEMENT_IMAGE:
        HitTestImage(x, y, contained);
        break;
    case ELEMENT_TEXT:
        HitTestText(x, y, contained);
        break;
    case ELEMENT_TABLE:
        HitTestTable(x, y, contained);
        break;
    default:
        break;
    }
    if (!contained) {
        // Nothing usable under the cursor: drop the previous capture, since
        // Draw and the prompts read it.
        ClearCapture(x, y);
        return FALSE;
    }
    m_captureKind = CAPTURED_ELEMENT;
    m_capturedPos = CPoint(x, y);
    m_pCapturedNode = nullptr;
    m_pCapturedElement = contained;
    m_pSecondElement = nullptr;
    return TRUE;
}

void CVectorTool::TakePointOnCurve(CCurveElement* curve, const CPoint& point, int kind)
{
    m_captureKind = kind;
    m_capturedPos = point;
    m_pCapturedElement = curve;
    m_pSecondElement = nullptr;
    SetReferenceNodeFor(curve, point);
}

void CVectorTool::SetReferenceNodeFor(CCurveElement* curve, const CPoint& point)
{
    if (IsLoop(*curve)) {
        // Both ends of a loop are its start: the length runs forward from
        // there until the user asks for the other way round, as the
        // point-position dialog measures it.
        m_pCapturedNode = curve->GetFirstNode();
        m_bAfterNode = 1;
        return;
    }
    m_pCapturedNode = curve->GetNearerEndNode(point);
    m_bAfterNode =
        m_pCapturedNode ? curve->IsBeforeAlongCurve(m_pCapturedNode->GetPosition(), point) : 0;
}

void CVectorTool::TakeFreePoint(int x, int y)
{
    m_captureKind = CAPTURED_FREE_POINT;
    m_capturedPos = CPoint(x, y);
    m_pCapturedNode = nullptr;
    m_pCapturedElement = nullptr;
    m_pSecondElement = nullptr;
}

void CVectorTool::ClearCapture(int x, int y)
{
    TakeFreePoint(x, y);
    m_captureKind = CAPTURED_NOTHING;
}

bool CVectorTool::MaskNamesReference(DWORD bit) const
{
    return m_captureMask != CAPTURE_MASK_ALL && (m_captureMask & bit) && m_pReferenceCurve;
}

CCurveElement* CVectorTool::CapturedCurve() const { return AsCurve(m_pCapturedElement); }

bool CVectorTool::IsLoop(CCurveElement& curve)
{
    const CPointList& outline = curve.Outline();
    return outline.GetCount() >= 2 && outline.GetHead() == outline.GetTail();
}

CPoint CVectorTool::ReferencePosition() const
{
    if (!m_pCapturedNode) return m_capturedPos;
    // Lengths on a loop run from where its outline starts (the first
    // corner, which need not be the first node).
    if (m_captureKind == CAPTURED_POINT_ON_CURVE)
        if (CCurveElement* curve = CapturedCurve(); curve && IsLoop(*curve)) return curve->Outline().GetHead();
    return m_pCapturedNode->GetPosition();
}

void CVectorTool::SetLengthPrompts(int x, int y)
{
    if (m_captureKind != CAPTURED_POINT_ON_CURVE || !CapturedCurve() || !m_pCapturedNode) return;
    double total = 0.0;
    double part = 0.0;
    GetDistanceAlongCurve(total, part);

    const double scale = GetViewScale();
    const int px = x + RoundToInt(kPromptOffsetX * scale);
    CMeasurePrompt length(px, y, std::string());
    length.SetValue("L=", RoundToInt(part), GetPageSet()->GetUnitsPerMM());
    CMeasurePrompt ratio(px, y + RoundToInt(kPromptLineHeight * scale),
                         "P=" + RatioText(total > 0.0 ? part / total : 0.0));
    SetPrompt(length);
    AddPrompt(ratio);
}

// --- Searches -------------------------------------------------------------------

BOOL CVectorTool::FindNearestCornerNode(int x, int y, CCurveElement*& curve, CCurveNode*& node,
                                        double& distance) const
{
    CPageSet* pageSet = GetPageSet();
    return CurrentPageOf(pageSet) &&
           pageSet->FindNearestCornerNode(x, y, GetCaptureTolerance(), curve, node, distance);
}

BOOL CVectorTool::FindNearestNode(int x, int y, CCurveElement*& curve, CCurveNode*& node,
                                  double& distance) const
{
    CPageSet* pageSet = GetPageSet();
    return CurrentPageOf(pageSet) &&
           pageSet->FindNearestNode(x, y, GetCaptureTolerance(), curve, node, distance);
}

BOOL CVectorTool::HitTestElement(int x, int y, int kindMask, CGraphElement*& element,
                                 CPoint& point, double& distance) const
{
    CPageSet* pageSet = GetPageSet();
    return CurrentPageOf(pageSet) && pageSet->HitTestElement(x, y, GetCaptureTolerance(), kindMask,
                                                             element, point, distance);
}

BOOL CVectorTool::FindNearestIntersection(int x, int y, CCurveElement*& curveA,
                                          CCurveElement*& curveB, CPoint& point,
                                          double& distance) const
{
    CPageSet* pageSet = GetPageSet();
    return CurrentPageOf(pageSet) && pageSet->FindNearestIntersection(
                                         x, y, GetCaptureTolerance(), curveA, curveB, point, distance);
}

BOOL CVectorTool::FindNearestIntersectionWith(int x, int y, CCurveElement*& other, CPoint& point,
                                              double& distance) const
{
    CPageSet* pageSet = GetPageSet();
    if (!CurrentPageOf(pageSet) || !m_pReferenceCurve) return FALSE;
    CPoint found;
    double d = 0.0;
    CCurveElement* curve = pageSet->FindNearestIntersectionWith(x, y, GetCaptureTolerance(),
                                                                m_pReferenceCurve, found, d);
    if (!curve) return FALSE;
    other = curve;
    point = found;
    distance = d;
    return TRUE;
}

BOOL CVectorTool::HitTestOpenCurve(int x, int y, CCurveElement*& curve, CPoint& point,
                                   double& distance) const
{
    CPageSet* pageSet = GetPageSet();
    return CurrentPageOf(pageSet) &&
           pageSet->HitTestOpenCurve(x, y, GetCaptureTolerance(), curve, point, distance);
}

BOOL CVectorTool::HitTestClosedCurve(int x, int y, CCurveElement*& curve, CPoint& point,
                                     double& distance) const
{
    CPageSet* pageSet = GetPageSet();
    return CurrentPageOf(pageSet) &&
           pageSet->HitTestClosedCurve(x, y, GetCaptureTolerance(), curve, point, distance);
}

BOOL CVectorTool::HitTestImage(int x, int y, CGraphElement*& element) const
{
    CPageSet* pageSet = GetPageSet();
    return CurrentPageOf(pageSet) && pageSet->HitTestImage(x, y, element);
}

BOOL CVectorTool::HitTestText(int x, int y, CGraphElement*& element) const
{
    CPageSet* pageSet = GetPageSet();
    return CurrentPageOf(pageSet) && pageSet->HitTestText(x, y, element);
}

BOOL CVectorTool::HitTestTable(int x, int y, CGraphElement*& element) const
{
    CPageSet* pageSet = GetPageSet();
    return CurrentPageOf(pageSet) && pageSet->HitTestTable(x, y, element);
}

BOOL CVectorTool::FindNearestListPoint(int x, int y, const CPointList& list, CPoint& point,
                                       double& distance) const
{
    const double tolerance = GetCaptureTolerance();
    const int r = RoundToInt(tolerance);
    const CRect box(x - r, y - r, x + r, y + r);
    double best = tolerance;
    bool found = false;
    CPoint nearest;
    for (const CPoint& p : list) {
        if (!box.PtInRect(p)) continue;
        double d = 0.0;
        PointDistance(x, y, p.x, p.y, d);
        if (d < best) {
            best = d;
            nearest = p;
            found = true;
        }
    }
    if (!found) return FALSE;
    point = nearest;
    distance = best;
    return TRUE;
}

BOOL CVectorTool::NearestCurveIntersection(int x1, int y1, int x2, int y2, double maxDistance,
                                           CPoint& point) const
{
    const CPage* page = CurrentPageOf(GetPageSet());
    if (!page) return FALSE;
    double best = maxDistance + 1.0;
    bool found = false;
    for (CGraphElement* element : page->Elements()) {
        CCurveElement* curve = AsCurve(element);
        if (!curve) continue;
        CPointList outline = curve->Outline();
        if (curve->IsClosed() && outline.GetCount() > 1 && outline.GetHead() != outline.GetTail())
            outline.AddTail(outline.GetHead());
        CPointList crossings;
        LinePolylineIntersections(x1, y1, x2, y2, outline, crossings);
        for (const CPoint& c : crossings) {
            const int d = PointDistanceRounded(c.x, c.y, x2, y2);
            if (d <= best) {
                // Rounded, so that of equal distances the later crossing wins.
                best = d;
                point = c;
                found = true;
            }
        }
    }
    return found ? TRUE : FALSE;
}

void CVectorTool::GetDistanceAlongCurve(double& total, double& part) const
{
    CCurveElement* curve = CapturedCurve();
    if (!curve || !m_pCapturedNode) return;
    curve->GetDistanceAlongCurve(m_pCapturedNode, m_capturedPos, m_bAfterNode, total, part);
}

void CVectorTool::SwapReferenceEnd()
{
    CCurveElement* curve = CapturedCurve();
    if (m_captureKind != CAPTURED_POINT_ON_CURVE || !curve) return;
    if (IsLoop(*curve)) {
        // The same start, measured the other way round.
        m_bAfterNode = m_bAfterNode ? 0 : 1;
        InvalidateFeedback();
        return;
    }
    CCurveNode* first = curve->GetFirstNode();
    m_pCapturedNode = m_pCapturedNode == first ? curve->GetLastNode() : first;
    if (m_pCapturedNode)
        m_bAfterNode = curve->IsBeforeAlongCurve(m_pCapturedNode->GetPosition(), m_capturedPos);
    InvalidateFeedback();
}

void CVectorTool::SwapReferenceEnd(const CPoint& end)
{
    CCurveElement* curve = CapturedCurve();
    if (m_captureKind != CAPTURED_POINT_ON_CURVE || !curve) return;
    CCurveNode* node = nullptr;
    if (CCurveNode* first = curve->GetFirstNode(); first && first->GetPosition() == end)
        node = first;
    else if (CCurveNode* last = curve->GetLastNode(); last && last->GetPosition() == end)
        node = last;
    if (!node) return;
    m_pCapturedNode = node;
    m_bAfterNode = curve->IsBeforeAlongCurve(node->GetPosition(), m_capturedPos);
    InvalidateFeedback();
}

// --- Taking a point -----------------------------------------------------------------

BOOL CVectorTool::OnLButtonDown(UINT flags, int x, int y)
{
    // Through the virtual operation, so a derived tool's own move handling
    // runs as well.
    if (!OnMouseMove(flags, x, y)) return FALSE;
    switch (m_captureKind) {
    case CAPTURED_FREE_POINT:
    case CAPTURED_CROSSING:
        m_capturePoint = CCapturePoint(m_capturedPos.x, m_capturedPos.y);
        return TRUE;
    case CAPTURED_NODE:
    case CAPTURED_ANY_NODE:
        if (!m_pCapturedNode) return FALSE;
        m_capturePoint = CCapturePoint(m_pCapturedNode);
        return TRUE;
    case CAPTURED_POINT_ON_CURVE: {
        CCurveElement* curve = CapturedCurve();
        if (!curve || !m_pCapturedNode) return FALSE;
        const CPointList outline = curve->Outline();
        double total = 0.0;
        double part = 0.0;
        GetDistanceAlongCurve(total, part);
        m_bSlideOnCurve = 1;
        const BOOL accepted =
            Settings().m_bValueDialogs
                ? RunPointOnCurveDialog(outline, RoundToInt(part), ReferencePosition())
                : TRUE;
        m_bSlideOnCurve = 0;
        if (!accepted) {
            // Nothing taken: the capture's marks and lengths go with the
            // dialog, until the mouse finds something again.
            ClearCapture(m_capturedPos.x, m_capturedPos.y);
            ClearPrompts();
            InvalidateFeedback();
            return FALSE;
        }
        m_capturePoint = CCapturePoint(m_capturedPos.x, m_capturedPos.y);
        return TRUE;
    }
    default:
        return FALSE;
    }
}

BOOL CVectorTool::RunPointOnCurveDialog(const CPointList& outline, int length,
                                        const CPoint& referenceEnd)
{
    const PointOnCurvePrompt* prompt = m_pView ? &m_pView->PointOnCurve() : nullptr;
    return prompt && *prompt ? (*prompt)(*this, outline, length, referenceEnd) : TRUE;
}

// --- Feedback -------------------------------------------------------------------------

void CVectorTool::Draw(CDC* dc, double scale, int originX, int originY, const CRect& rect)
{
    if (!dc) return;
    // The prompts go on top of the marks, once: text drawn twice over
    // itself would come out heavier.
    if (m_captureKind & CAPTURE_FEEDBACK_CROSS)
        DrawXMark(dc, m_capturedPos.x, m_capturedPos.y, scale, originX, originY);
    if ((m_captureKind & CAPTURE_FEEDBACK_NODE) && m_pCapturedNode) {
        const CPoint p = ReferencePosition();
        DrawKeyPointMark(dc, p.x, p.y, scale, originX, originY);
    }
    if ((m_captureKind & CAPTURE_FEEDBACK_HIGHLIGHT) && m_pCapturedElement) {
        // Tools get the painted area in document units, elements cull
        // against device pixels.
        CRect clip = ModelToDeviceRect(rect.left, rect.top, rect.right, rect.bottom, scale,
                                       originX, originY);
        clip.NormalizeRect();
        m_pCapturedElement->DrawHighlight(dc, scale, originX, originY, clip);
    }
    if (m_captureKind & CAPTURE_FEEDBACK_KEYPOINT)
        DrawKeyPointMark(dc, m_capturedPos.x, m_capturedPos.y, scale, originX, originY);
    if (m_captureKind & CAPTURE_FEEDBACK_ALL_NODES) {
        if (const CCurveElement* curve = CapturedCurve()) {
            for (const CCurveNode* node : curve->Nodes()) {
                const CPoint p = node->GetPosition();
                DrawPointMark(dc, p.x, p.y, scale, originX, originY);
            }
        }
    }
    DrawPrompts(dc, scale, originX, originY);
}
