#include "library/tool/CVTProcessDrawing.h"

#include "app/CFrameServices.h"
#include "settings/CSystemSettings.h"
#include "app/CVEKSrvrItem.h"
#include "app/CVEKView.h"
#include "ui/CDrawingLibraryDlg.h"

#include "geometry/Distance.h"
#include "geometry/Mapping.h"
#include "model/CCurveElement.h"
#include "model/CPage.h"
#include "model/CPageSet.h"
#include "platform/CDC.h"

#include <QApplication>
#include <QCursor>

#include <algorithm>
#include <cmath>

namespace {

bool HasModifier(UINT flags) { return (flags & (MK_SHIFT | MK_CONTROL)) != 0; }

// Everything a library drawing holds can be gathered: tables too, so that
// they can be saved to the library and moved with the rest.
constexpr int kSelectableKinds = ELEMENT_CURVE | ELEMENT_IMAGE | ELEMENT_TEXT | ELEMENT_TABLE;

// What the tool draws its feedback with: the first prompt colour, which
// stands out against the paper and the drawing.
COLORREF FeedbackColour() { return Settings().m_crPromptColor1; }

} // namespace

CVTProcessDrawing::CVTProcessDrawing(CVEKView* view) : CVectorTool(view)
{
    m_chooseFile = [view](const QString& start) { return CDrawingLibraryDlg::ChooseFile(view, start); };
    CVTProcessDrawing::Reset();
}

CVTProcessDrawing::~CVTProcessDrawing() = default;

// --- Lifecycle ---------------------------------------------------------------------------

void CVTProcessDrawing::Activate()
{
    CVectorTool::Activate();
    ShowState();
}

void CVTProcessDrawing::Deactivate()
{
    CVectorTool::Deactivate();
    InvalidateView();
}

// The page is never changed before the transform is applied, so nothing
// needs putting back here; the elements the lists point at may already be
// gone (the document's content was replaced) and are not touched.
void CVTProcessDrawing::Reset()
{
    CVectorTool::Reset();
    m_bSelectionDone = 0;
    m_bBoxSelect = 0;
    m_bPlace = 0;
    m_bFirstClick = 1;
    m_boxHits.clear();
    m_selected.clear();
    m_hoverKind = 0;
    m_activeKind = 0;
    m_zoomBox.Release();
    m_snapshot.Clear();
}

void CVTProcessDrawing::Cancel()
{
    Reset();
    CVectorTool::Cancel();
    ShowState();
    InvalidateView();
}

BOOL CVTProcessDrawing::UndoStep()
{
    Cancel();
    return TRUE;
}

BOOL CVTProcessDrawing::HasPendingStep()
{
    return !m_selected.empty() || m_bBoxSelect || m_bPlace ? TRUE : FALSE;
}

// --- Temporary zoom ----------------------------------------------------------------------

BOOL CVTProcessDrawing::OnSpaceDown()
{
    m_zoomBox.Hold();
    if (m_pView) m_pView->SetToolCursor(CZoomBox::kCursorZoomIn);
    ShowPrompt(CZoomBox::kPrompt);
    InvalidateFeedback();
    return TRUE;
}

BOOL CVTProcessDrawing::OnSpaceUp()
{
    m_zoomBox.Release();
    ShowState();
    InvalidateFeedback();
    return TRUE;
}

BOOL CVTProcessDrawing::ZoomButtonDown(UINT flags, int x, int y)
{
    if (m_zoomBox.OnLButtonDown(m_pView, flags, x, y) == CZoomBox::Click::ZoomedOut) {
        Reset();
        InvalidateView();
    } else {
        InvalidateFeedback();
    }
    return TRUE;
}

// --- Mouse ---------------------------------------------------------------------------------

BOOL CVTProcessDrawing::OnLButtonDown(UINT flags, int x, int y)
{
    if (m_zoomBox.IsHeld()) return ZoomButtonDown(flags, x, y);
    if (m_bSelectionDone)
        FrameButtonDown(flags, x, y);
    else
        SelectingButtonDown(flags, x, y);
    ShowState();
    Refresh();
    return TRUE;
}

BOOL CVTProcessDrawing::OnRButtonDown(UINT flags, int x, int y)
{
    if (m_zoomBox.IsHeld()) {
        CZoomBox::OnRButtonDown(m_pView, flags, y);
        InvalidateView();
        return FALSE;
    }
    if (m_bSelectionDone) {
        ApplyTransform();
        Reset();
        InvalidateView();
    } else if (!m_selected.empty()) {
        ShowFrame();
    }
    ShowState();
    Refresh();
    return FALSE;
}

BOOL CVTProcessDrawing::OnMouseMove(UINT flags, int x, int y)
{
    if (m_zoomBox.IsHeld()) {
        m_zoomBox.OnMouseMove(x, y);
        if (m_pView) m_pView->SetToolCursor(CZoomBox::CursorFor(flags));
        ShowPrompt(CZoomBox::kPrompt);
        InvalidateFeedback();
        return TRUE;
    }
    const CPoint at(x, y);
    if (m_bPlace) m_ptCurrent = at;
    if (m_bSelectionDone) {
        FrameMouseMove(flags, x, y);
    } else if (m_bBoxSelect) {
        m_ptCurrent = at;
        CElementList hits;
        if (CPageSet* pageSet = GetPageSet())
            pageSet->GetElementsInDragRect(m_ptAnchor, m_ptCurrent, kSelectableKinds, hits);
        m_boxHits.clear();
        for (CGraphElement* e : hits) m_boxHits.push_back(e);
    } else if (!m_bPlace) {
        CaptureAt(flags, x, y);
    }
    ShowState();
    Refresh();
    return m_bSelectionDone || m_captureKind == CAPTURED_ELEMENT ? TRUE : FALSE;
}

// --- Selecting -----------------------------------------------------------------------------

BOOL CVTProcessDrawing::SelectingButtonDown(UINT flags, int x, int y)
{
    const CPoint at(x, y);
    if (m_bPlace) {
        m_ptCurrent = at;
        if (BoxIsLargeEnough()) Place();
        return TRUE;
    }
    if (m_bFirstClick) {
        m_bFirstClick = 0;
        if (HasModifier(flags)) {
            m_ptAnchor = m_ptCurrent = at;
            m_bPlace = 1;
            return TRUE;
        }
    }
    if (m_bBoxSelect) {
        m_ptCurrent = at;
        for (CGraphElement* e : m_boxHits) Append(e);
        m_boxHits.clear();
        m_bBoxSelect = 0;
        // A first box that met nothing places a library drawing in it.
        if (m_selected.empty() && BoxIsLargeEnough()) Place();
        return TRUE;
    }
    CaptureAt(flags, x, y);
    if (m_captureKind == CAPTURED_ELEMENT && m_pCapturedElement) {
        Append(m_pCapturedElement);
    } else {
        m_bBoxSelect = 1;
        m_ptAnchor = m_ptCurrent = at;
        m_boxHits.clear();
    }
    return TRUE;
}

// Curves and texts first, pictures and tables only where neither is; with
// Shift or Ctrl held nothing is taken.
void CVTProcessDrawing::CaptureAt(UINT flags, int x, int y)
{
    m_captureKind = CAPTURED_NOTHING;
    m_capturedPos = CPoint(x, y);
    m_pCapturedNode = nullptr;
    m_pCapturedElement = nullptr;
    m_pSecondElement = nullptr;
    if (HasModifier(flags)) {
        m_boxHits.clear();
        return;
    }
    CGraphElement* element = nullptr;
    CPoint point;
    double distance = 0;
    if (HitTestElement(x, y, ELEMENT_CURVE | ELEMENT_TEXT, element, point, distance) ||
        HitTestElement(x, y, ELEMENT_IMAGE | ELEMENT_TABLE, element, point, distance)) {
        m_captureKind = CAPTURED_ELEMENT;
        m_pCapturedElement = element;
    }
}

bool CVTProcessDrawing::BoxIsLargeEnough() const
{
    return std::abs(std::int64_t(m_ptCurrent.x) - m_ptAnchor.x) >= kMinPlaceBox &&
           std::abs(std::int64_t(m_ptCurrent.y) - m_ptAnchor.y) >= kMinPlaceBox;
}

void CVTProcessDrawing::Place()
{
    if (ReadLibraryFile() && !m_selected.empty()) {
        ShowFrame();
    } else {
        Reset();
    }
    m_bPlace = 0;
}

void CVTProcessDrawing::Append(CGraphElement* element)
{
    if (element && std::find(m_selected.begin(), m_selected.end(), element) == m_selected.end())
        m_selected.push_back(element);
}

void CVTProcessDrawing::ShowFrame()
{
    m_frame.Reset(m_snapshot.Take(m_selected));
    m_boxHits.clear();
    m_bSelectionDone = 1;
    m_bBoxSelect = 0;
    m_hoverKind = 0;
    m_activeKind = 0;
    m_captureKind = CAPTURED_NOTHING;
    m_pCapturedElement = nullptr;
}

CRect CVTProcessDrawing::GetSelectionRect() const
{
    CRect r;
    for (CGraphElement* e : m_selected) r.UnionRect(r, e->GetBoundRect());
    if (r.left < r.right - 1) r.right -= 1;
    if (r.top < r.bottom - 1) r.bottom -= 1;
    return r;
}

// --- Transforming --------------------------------------------------------------------------

// A drag is click, move, click: the button release does nothing.
BOOL CVTProcessDrawing::FrameButtonDown(UINT flags, int x, int y)
{
    FrameMouseMove(flags, x, y);
    if (m_activeKind != CTransformFrame::kNone) {
        m_activeKind = CTransformFrame::kNone;
        m_hoverKind = CTransformFrame::kNone;
        return TRUE;
    }
    m_activeKind = m_hoverKind;
    m_hoverKind = CTransformFrame::kNone;
    m_ptAnchor = m_ptCurrent = CPoint(x, y);
    m_frame.BeginDrag(m_activeKind, m_ptCurrent);
    return TRUE;
}

void CVTProcessDrawing::FrameMouseMove(UINT flags, int x, int y)
{
    const double unitsPerPixel = GetViewScale();
    if (m_activeKind == CTransformFrame::kNone) {
        m_hoverKind = m_frame.HitTest(CPoint(x, y), unitsPerPixel, (flags & MK_SHIFT) != 0);
        m_ptLastHover = CPoint(x, y);
        return;
    }
    const CPoint anchor = m_ptCurrent;
    CPoint current;
    const bool accepted = m_frame.StepTo(m_activeKind, anchor, CPoint(x, y), current);
    m_ptAnchor = anchor;
    m_ptCurrent = current;
    m_frame.Update(m_activeKind, anchor, current, unitsPerPixel);
    m_snapshot.Follow(m_frame);
    if (!accepted) PutCursorBack(m_activeKind, current);
}

// The mouse cannot take the dragged side across the fixed one: it is put
// back onto the dragged edge, or onto the corner where it last was.
void CVTProcessDrawing::PutCursorBack(int kind, const CPoint& at)
{
    if (!m_pView) return;
    const CPoint target = CTransformFrame::IsEdge(kind) ? m_frame.FootOnEdge(kind, m_ptLastHover) : at;
    const CPoint device = m_pView->ModelToDevicePoint(target.x, target.y);
    QCursor::setPos(m_pView->mapToGlobal(QPoint(device.x, device.y)));
}

void CVTProcessDrawing::ApplyTransform()
{
    CPage* page = CurrentPage();
    if (!page || m_frame.IsUnchanged()) return;
    SaveUndoState();
    m_snapshot.Apply(page, m_frame);
}

// --- Clipboard -----------------------------------------------------------------------------

BOOL CVTProcessDrawing::CanCopy() { return m_selected.empty() ? FALSE : TRUE; }

void CVTProcessDrawing::OnEditCopy()
{
    if (m_selected.empty() || !m_pView) return;
    CVEKSrvrItem* item = CVEKSrvrItem::GetEmbeddedItem(m_pView->GetDocument());
    if (!item) return;
    CElementList selection;
    for (CGraphElement* e : m_selected) selection.AddTail(e);
    item->CopySelectionToClipboard(selection);
}

// Deleting a curve offers its shared points back to the page, which drops
// those no other element stands on.
void CVTProcessDrawing::OnEditCut()
{
    CPage* page = CurrentPage();
    if (m_selected.empty() || !page) return;
    SaveUndoState();
    OnEditCopy();
    for (CGraphElement* e : m_selected) {
        page->RemoveElement(e);
        delete e;
    }
    m_selected.clear();
    Reset();
    ShowState();
    InvalidateView();
}

// --- Feedback ------------------------------------------------------------------------------

void CVTProcessDrawing::Refresh()
{
    InvalidateFeedback();
}

int CVTProcessDrawing::CursorForState() const
{
    if (!m_bSelectionDone) return kCursorSelect;
    const int kind = m_activeKind != CTransformFrame::kNone ? m_activeKind : m_hoverKind;
    if (CTransformFrame::IsScaling(kind)) return kCursorScale;
    if (kind == CTransformFrame::kMove) return kCursorMove;
    if (kind == CTransformFrame::kRotate) return kCursorRotate;
    return kCursorSelect;
}

UINT CVTProcessDrawing::PromptForState() const
{
    if (m_bSelectionDone) return kPromptFrame;
    if (m_bFirstClick) return kPromptFirstClick;
    if (m_bPlace) return kPromptPlace;
    if (m_bBoxSelect) return m_selected.empty() ? kPromptFirstBox : kPromptBox;
    return kPromptSelect;
}

void CVTProcessDrawing::ShowState()
{
    if (m_zoomBox.IsHeld()) return;
    if (m_pView) m_pView->SetToolCursor(CursorForState());
    ShowPrompt(PromptForState());
}

void CVTProcessDrawing::Draw(CDC* dc, double scale, int originX, int originY, const CRect& rect)
{
    if (!dc) return;
    if (m_zoomBox.IsHeld()) {
        m_zoomBox.Draw(dc, scale, originX, originY);
        return;
    }
    CRect clip = ModelToDeviceRect(rect.left, rect.top, rect.right, rect.bottom, scale, originX, originY);
    clip.NormalizeRect();
    const CPen previousPen = dc->SelectPen(CPen{PS_SOLID, 1, FeedbackColour()});
    const CBrush previousBrush = dc->SelectBrush(CBrush::Null());
    const COLORREF previousText = dc->SetTextColor(FeedbackColour());
    if (m_bSelectionDone) {
        DrawWorkingCopy(dc, scale, originX, originY, clip);
        DrawFrame(dc, scale, originX, originY);
    } else {
        if (m_bBoxSelect || m_bPlace)
            DrawRubberRect(dc, m_ptAnchor.x, m_ptAnchor.y, m_ptCurrent.x, m_ptCurrent.y, scale, originX, originY);
        for (CGraphElement* e : m_boxHits) e->DrawHighlight(dc, scale, originX, originY, clip);
        for (CGraphElement* e : m_selected) e->DrawHighlight(dc, scale, originX, originY, clip);
        if (m_captureKind == CAPTURED_ELEMENT && m_pCapturedElement)
            m_pCapturedElement->DrawHighlight(dc, scale, originX, originY, clip);
    }
    dc->SetTextColor(previousText);
    dc->SelectBrush(previousBrush);
    dc->SelectPen(previousPen);
}

void CVTProcessDrawing::DrawWorkingCopy(CDC* dc, double scale, int originX, int originY, const CRect&) const
{
    for (const CTransformSnapshot::Curve& curve : m_snapshot.Curves())
        DrawMappedPolyline(*dc, curve.working, scale, originX, originY);
    for (const CTransformSnapshot::Text& text : m_snapshot.Texts())
        DrawTextBlock(*dc, text.working[0].x, text.working[0].y, text.workingFont, text.textFont.GetText(), scale,
                      originX, originY);
    for (const CTransformSnapshot::Picture& picture : m_snapshot.Pictures()) {
        CPointList outline;
        for (const CPoint& p : picture.working) outline.AddTail(p);
        DrawMappedPolygon(*dc, outline, scale, originX, originY);
    }
    for (const CTransformSnapshot::Table& table : m_snapshot.Tables()) {
        const CRect& r = table.workingRect;
        DrawRubberRect(dc, r.left, r.top, r.right, r.bottom, scale, originX, originY);
    }
}

// The frame dotted, small squares at its corners, filled ones at the
// middles of its edges, and direction marks at a scaling handle.
void CVTProcessDrawing::DrawFrame(CDC* dc, double scale, int originX, int originY) const
{
    const std::array<CPoint, 4>& corners = m_frame.Corners();
    std::array<CPoint, 4> device{};
    for (std::size_t i = 0; i < 4; ++i) device[i] = ModelToDevicePoint(corners[i].x, corners[i].y, scale, originX, originY);

    dc->SelectPen(CPen{PS_DOT, 0, FeedbackColour()});
    dc->MoveTo(device[0].x, device[0].y);
    for (std::size_t i = 1; i <= 4; ++i) dc->LineTo(device[i % 4].x, device[i % 4].y);
    dc->SelectPen(CPen{PS_SOLID, 1, FeedbackColour()});
    for (const CPoint& d : device) dc->Rectangle(d.x - 1, d.y - 1, d.x + 2, d.y + 2);

    const COLORREF contrast = Settings().m_crPaperColor ^ 0xFFFFFF;
    dc->SelectPen(CPen{PS_SOLID, 1, contrast});
    const CBrush previous = dc->SelectBrush(CBrush::Solid(contrast));
    for (std::size_t i = 0; i < 4; ++i) {
        const CPoint& a = device[i];
        const CPoint& b = device[(i + 1) % 4];
        const CPoint m(RoundToInt((a.x + b.x) / 2.0), RoundToInt((a.y + b.y) / 2.0));
        dc->Rectangle(m.x - 1, m.y - 1, m.x + 2, m.y + 2);
    }
    dc->SelectBrush(previous);
    dc->SelectPen(CPen{PS_SOLID, 1, FeedbackColour()});
    DrawHandleMarks(dc, scale, originX, originY);
}

// A double arrow across the dragged edge or along the dragged corner's
// diagonal: a shaft of 6 pixels each way, heads 5 pixels long and 4 wide.
void CVTProcessDrawing::DrawHandleMarks(CDC* dc, double scale, int originX, int originY) const
{
    const int kind = m_activeKind != CTransformFrame::kNone ? m_activeKind : m_hoverKind;
    if (!CTransformFrame::IsScaling(kind)) return;
    const std::array<CPoint, 4>& p = m_frame.Corners();
    CPoint at;
    double dx = 0;
    double dy = 0;
    if (CTransformFrame::IsEdge(kind)) {
        const int i = kind - CTransformFrame::kEdgeTop;
        const CPoint& a = p[std::size_t(i)];
        const CPoint& b = p[std::size_t((i + 1) % 4)];
        at = CPoint(RoundToInt((double(a.x) + b.x) / 2), RoundToInt((double(a.y) + b.y) / 2));
        dx = -(double(b.y) - a.y);
        dy = double(b.x) - a.x;
    } else {
        const int i = kind - CTransformFrame::kCorner1;
        at = p[std::size_t(i)];
        const CPoint& opposite = p[std::size_t((i + 2) % 4)];
        dx = double(at.x) - opposite.x;
        dy = double(at.y) - opposite.y;
    }
    const double length = std::hypot(dx, dy);
    if (!(length > 0)) return;
    dx /= length;
    dy /= length;
    const CPoint centre = ModelToDevicePoint(at.x, at.y, scale, originX, originY);
    const auto point = [&](double along, double across) {
        return CPoint(RoundToInt(centre.x + along * dx - across * dy), RoundToInt(centre.y + along * dy + across * dx));
    };
    for (double sign : {1.0, -1.0}) {
        const CPoint tip = point(sign * 6, 0);
        dc->MoveTo(centre.x, centre.y);
        dc->LineTo(tip.x, tip.y);
        const CPoint left = point(sign * (6 - 5), 4);
        const CPoint right = point(sign * (6 - 5), -4);
        dc->MoveTo(left.x, left.y);
        dc->LineTo(tip.x, tip.y);
        dc->LineTo(right.x, right.y);
    }
}

CPage* CVTProcessDrawing::CurrentPage() const
{
    CPageSet* pageSet = GetPageSet();
    if (!pageSet) return nullptr;
    const int index = pageSet->GetCurrentPageIndex();
    if (index < 0 || index >= pageSet->GetPageCount()) return nullptr;
    return pageSet->GetPageAt(index);
}
