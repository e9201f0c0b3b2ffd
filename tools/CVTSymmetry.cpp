#include "tools/CVTSymmetry.h"

#include "app/CVEKView.h"
#include "tools/CurveMirror.h"
#include "app/ShapeBuilder.h"

#include "geometry/Constants.h"
#include "geometry/Distance.h"
#include "geometry/Lines.h"
#include "geometry/Mapping.h"
#include "geometry/ShapePoints.h"
#include "model/CClosedCurveElement.h"
#include "model/COpenCurveElement.h"
#include "model/CPage.h"
#include "model/CPageSet.h"
#include "model/CTextElement.h"
#include "platform/CDC.h"

#include <QApplication>

namespace {

constexpr DWORD kAxisPointMask = CAPTURE_NODES | CAPTURE_CROSSINGS | CAPTURE_ON_CURVE | CAPTURE_FREE;
constexpr DWORD kAxisEndProbeMask = CAPTURE_NODES | CAPTURE_CROSSINGS | CAPTURE_ON_CURVE;
// A click picks curves; a box curves and texts.
constexpr DWORD kPickMask = ELEMENT_CURVE;
constexpr int kBoxKinds = ELEMENT_CURVE | ELEMENT_TEXT;

CPoint Reflect(const CPoint& p, const CPoint& a, const CPoint& b)
{
    CPoint out = p;
    MirrorPointAcrossPoints(p.x, p.y, a.x, a.y, b.x, b.y, out);
    return out;
}

} // namespace

CVTSymmetry::CVTSymmetry(CVEKView* view) : CVectorTool(view)
{
    CVTSymmetry::Reset();
}

CVTSymmetry::~CVTSymmetry() = default;

void CVTSymmetry::Deactivate()
{
    CVectorTool::Deactivate();
    InvalidateView();
}

void CVTSymmetry::Reset()
{
    CVectorTool::Reset();
    m_bBox = 0;
    m_zoom.Release();
    m_hover.RemoveAll();
    m_picked.RemoveAll();
    m_previews.clear();
    m_texts.clear();
    if (m_pView) m_pView->SetToolCursor(kCursor);
}

void CVTSymmetry::Cancel()
{
    Reset();
    InvalidateView();
}

BOOL CVTSymmetry::UndoStep()
{
    Cancel();
    return TRUE;
}

BOOL CVTSymmetry::HasPendingStep() { return m_nStep > 0 ? TRUE : FALSE; }

// --- Temporary zoom ----------------------------------------------------------------

BOOL CVTSymmetry::OnSpaceDown()
{
    m_zoom.Hold();
    return TRUE;
}

BOOL CVTSymmetry::OnSpaceUp()
{
    m_zoom.Release();
    if (m_pView) m_pView->SetToolCursor(kCursor);
    ShowPrompt(kPromptAxisStart);
    InvalidateFeedback();
    return TRUE;
}

// --- Mouse -------------------------------------------------------------------------

void CVTSymmetry::TrackAxisEnd(UINT flags, int x, int y)
{
    m_captureMask = (flags & MK_CONTROL) ? CAPTURE_MASK_ALL : kAxisEndProbeMask;
    if (CVectorTool::OnMouseMove(flags, x, y)) {
        m_captureMask = kAxisPointMask;
        CVectorTool::OnMouseMove(flags, x, y);
        m_ptAxisEnd = m_capturedPos;
        return;
    }
    // Nothing near: the axis keeps to a multiple of 45 degrees, and its
    // end is what a click takes.
    m_ptAxisEnd = ConstrainToEighths(m_ptAxisStart, CPoint(x, y));
    m_captureKind = CAPTURED_FREE_POINT;
    m_capturedPos = m_ptAxisEnd;
}

void CVTSymmetry::FillBoxHover()
{
    m_hover.RemoveAll();
    if (const CPageSet* pageSet = GetPageSet(); pageSet && pageSet->GetPageCount() > 0)
        pageSet->GetElementsInDragRect(m_ptBoxStart, m_ptBoxEnd, kBoxKinds, m_hover);
}

BOOL CVTSymmetry::OnMouseMove(UINT flags, int x, int y)
{
    if (m_zoom.IsHeld()) {
        m_zoom.OnMouseMove(flags, x, y);
        return TRUE;
    }
    if (m_pView) m_pView->SetToolCursor(kCursor);
    BOOL captured = FALSE;
    switch (m_nStep) {
    case kAxisStartStep:
        ShowPrompt(kPromptAxisStart);
        m_captureMask = kAxisPointMask;
        captured = CVectorTool::OnMouseMove(flags, x, y);
        break;
    case kAxisEndStep:
        ShowPrompt(kPromptAxisEnd);
        TrackAxisEnd(flags, x, y);
        captured = TRUE;
        break;
    default:
        ShowPrompt(kPromptPick);
        if (m_bBox) {
            m_ptBoxEnd = CPoint(x, y);
            FillBoxHover();
            captured = TRUE;
        } else {
            m_hover.RemoveAll();
            m_captureMask = kPickMask;
            captured = CVectorTool::OnMouseMove(flags, x, y);
            if (captured && m_pCapturedElement && m_pCapturedElement->GetType() == ELEMENT_CURVE)
                m_hover.AddTail(m_pCapturedElement);
        }
        break;
    }
    InvalidateFeedback();
    return captured;
}

BOOL CVTSymmetry::OnLButtonDown(UINT flags, int x, int y)
{
    if (m_zoom.IsHeld()) {
        m_zoom.OnLButtonDown(flags, x, y);
        return TRUE;
    }
    OnMouseMove(flags, x, y);
    switch (m_nStep) {
    case kAxisStartStep:
        m_ptAxisStart = m_ptAxisEnd = m_capturedPos;
        m_nStep = kAxisEndStep;
        break;
    case kAxisEndStep:
        // An axis through one point has no direction to mirror across.
        if (m_ptAxisEnd == m_ptAxisStart) {
            QApplication::beep();
            return FALSE;
        }
        m_nStep = kPickStep;
        m_captureKind = CAPTURED_NOTHING;
        break;
    default:
        PickAt(flags, x, y);
        break;
    }
    InvalidateFeedback();
    return TRUE;
}

void CVTSymmetry::PickAt(UINT, int x, int y)
{
    if (m_bBox) {
        m_ptBoxEnd = CPoint(x, y);
        FillBoxHover();
        for (CGraphElement* element : m_hover) Pick(element);
        m_hover.RemoveAll();
        m_bBox = 0;
        return;
    }
    if (!m_hover.IsEmpty()) {
        Pick(m_hover.GetHead());
        return;
    }
    m_bBox = 1;
    m_ptBoxStart = m_ptBoxEnd = CPoint(x, y);
    FillBoxHover();
}

void CVTSymmetry::Pick(CGraphElement* element)
{
    if (!element || m_picked.Find(element)) return;
    if (element->GetType() == ELEMENT_CURVE) {
        auto* curve = static_cast<CCurveElement*>(element);
        CPointList outline = curve->Outline();
        if (curve->IsClosed() && outline.GetCount() > 1 && outline.GetHead() != outline.GetTail())
            outline.AddTail(outline.GetHead());
        CPointList preview;
        MirrorPolyline(outline, m_ptAxisStart.x, m_ptAxisStart.y, m_ptAxisEnd.x, m_ptAxisEnd.y, preview);
        m_previews.push_back(preview);
    } else if (element->GetType() == ELEMENT_TEXT) {
        auto* text = static_cast<CTextElement*>(element);
        CPoint origin, corner2, corner4, corner3;
        text->GetCorners(origin, corner2, corner4, corner3);
        PickedText picked;
        picked.text = text;
        picked.image = MirrorTextBox(origin, corner2, corner4, corner3, m_ptAxisStart, m_ptAxisEnd);
        picked.font = text->GetTextFont().GetLogFont();
        picked.font.lfEscapement = picked.image.escapement;
        m_texts.push_back(picked);
    } else {
        return;
    }
    m_picked.AddTail(element);
}

BOOL CVTSymmetry::OnRButtonDown(UINT flags, int, int y)
{
    if (m_zoom.IsHeld()) {
        m_zoom.OnRButtonDown(flags, y);
        return TRUE;
    }
    // Nothing picked: nothing to do, and no undo step for it.
    if (m_nStep != kPickStep || m_picked.IsEmpty()) return TRUE;
    MirrorPicked();
    Reset();
    InvalidateView();
    return TRUE;
}

BOOL CVTSymmetry::OnLButtonUp(UINT, int, int) { return TRUE; }
BOOL CVTSymmetry::OnRButtonUp(UINT, int, int) { return TRUE; }

// --- Mirroring ---------------------------------------------------------------------

CVTSymmetry::TextImage CVTSymmetry::MirrorTextBox(const CPoint& origin, const CPoint& corner2,
                                                  const CPoint& corner4, const CPoint& corner3,
                                                  const CPoint& axisStart, const CPoint& axisEnd)
{
    const CPoint o = Reflect(origin, axisStart, axisEnd);
    const CPoint c2 = Reflect(corner2, axisStart, axisEnd);
    const CPoint c3 = Reflect(corner3, axisStart, axisEnd);
    const CPoint c4 = Reflect(corner4, axisStart, axisEnd);
    TextImage image;
    // The reflected baseline runs from the far end back to the origin; the
    // image reads along it.
    image.escapement = RoundToInt(-LineAngle(c2.x, c2.y, o.x, o.y) * 180.0 * 10.0 / Geo::kPi);
    const int eighth = RoundToInt(LineAngle(axisStart.x, axisStart.y, axisEnd.x, axisEnd.y) * 180.0 / Geo::kPi / 45.0) % 4;
    if (eighth == 0) {
        // Across a level axis the reflected box stands upside down: the
        // image starts at the reflection of the corner across the height.
        image.escapement -= 1800;
        image.origin = c3;
        image.corner2 = c4;
        image.corner4 = c2;
        image.corner3 = o;
    } else {
        image.origin = c2;
        image.corner2 = o;
        image.corner4 = c3;
        image.corner3 = c4;
    }
    return image;
}

void CVTSymmetry::MirrorPicked()
{
    CPageSet* pageSet = GetPageSet();
    CPage* page = CurrentPageOf(pageSet);
    if (!page) return;
    SaveUndoState();
    const int level = page->GetMaxLevel();
    CSharedPoint* axis1 = nullptr;
    CSharedPoint* axis2 = nullptr;
    if (!page->AddMirrorAxis(m_ptAxisStart, m_ptAxisEnd, axis1, axis2)) {
        QApplication::beep();
        return;
    }
    for (CGraphElement* element : m_picked) {
        if (element->GetType() == ELEMENT_CURVE)
            MirrorCurve(*page, *static_cast<CCurveElement*>(element), axis1, axis2, level);
    }
    for (const PickedText& picked : m_texts) MirrorText(*page, picked, level);
    // An axis that no image uses (every image refused) is not kept.
    page->RemovePointIfUnused(axis1);
    page->RemovePointIfUnused(axis2);
}

void CVTSymmetry::MirrorCurve(CPage& page, CCurveElement& curve, CSharedPoint* axis1, CSharedPoint* axis2,
                              int level)
{
    CCurveMirror mirror;
    if (!mirror.MakeAcross(page, curve, axis1, axis2)) {
        QApplication::beep();
        return;
    }
    CLineAttr line = curve.GetLineAttr();
    ExchangeLineSides(line);
    CCurveElement* image = nullptr;
    if (curve.IsClosed()) {
        auto* closed = new CClosedCurveElement(&page, level, line, curve.GetColor(), mirror.TakeNodes(), &curve);
        MirrorFill(static_cast<const CClosedCurveElement&>(curve), *closed, m_ptAxisStart, m_ptAxisEnd);
        image = closed;
    } else {
        image = NewMirrorImage(page, level, line, curve.GetColor(), mirror.TakeNodes(),
                               static_cast<COpenCurveElement&>(curve));
    }
    page.AddElement(image);
}

void CVTSymmetry::MirrorText(CPage& page, const PickedText& picked, int level)
{
    CTextFont font = picked.text->GetTextFont();
    font.SetLogFont(picked.font);
    const TextImage& box = picked.image;
    auto* image = new CTextElement(&page, level, font, box.origin.x, box.origin.y, picked.text->GetBkMode());
    page.AddElement(image);
    image->SetCorners(box.origin, box.corner2, box.corner4, box.corner3);
}

// --- Drawing -----------------------------------------------------------------------

void CVTSymmetry::Draw(CDC* dc, double scale, int originX, int originY, const CRect& rect)
{
    if (!dc) return;
    if (m_zoom.IsHeld()) {
        m_zoom.Draw(dc, scale, originX, originY);
        return;
    }
    if (m_nStep >= kAxisEndStep) {
        const CPoint a = ModelToDevicePoint(m_ptAxisStart.x, m_ptAxisStart.y, scale, originX, originY);
        const CPoint b = ModelToDevicePoint(m_ptAxisEnd.x, m_ptAxisEnd.y, scale, originX, originY);
        dc->MoveTo(a.x, a.y);
        dc->LineTo(b.x, b.y);
    }
    if (m_nStep < kPickStep) {
        CVectorTool::Draw(dc, scale, originX, originY, rect);
        return;
    }
    if (m_bBox)
        DrawRubberRect(dc, m_ptBoxStart.x, m_ptBoxStart.y, m_ptBoxEnd.x, m_ptBoxEnd.y, scale, originX, originY);
    for (const CPointList& preview : m_previews) DrawMappedPolyline(*dc, preview, scale, originX, originY);
    for (const PickedText& picked : m_texts)
        DrawTextBlock(*dc, picked.image.origin.x, picked.image.origin.y, picked.font,
                      picked.text->GetTextFont().GetText(), scale, originX, originY);
    CRect clip = ModelToDeviceRect(rect.left, rect.top, rect.right, rect.bottom, scale, originX, originY);
    clip.NormalizeRect();
    for (CGraphElement* element : m_picked) element->DrawHighlight(dc, scale, originX, originY, clip);
    for (CGraphElement* element : m_hover)
        if (!m_picked.Find(element)) element->DrawHighlight(dc, scale, originX, originY, clip);
}
