#include "tools/CVTSymmetricDraw.h"

#include "settings/CSystemSettings.h"
#include "app/CVEKView.h"
#include "app/CVTZoom.h"
#include "editors/CVTSelect.h"
#include "tools/CVTClosedCurve.h"
#include "tools/CVTCurve.h"
#include "tools/CVTEllipse.h"
#include "tools/CVTEraser.h"
#include "tools/CVTFreehand.h"
#include "tools/CVTRectangle.h"
#include "tools/CVTRuler.h"
#include "tools/CurveMirror.h"
#include "app/ShapeBuilder.h"

#include "geometry/Lines.h"
#include "geometry/Mapping.h"
#include "geometry/ShapePoints.h"
#include "geometry/Spline.h"
#include "model/CClosedCurveElement.h"
#include "model/COpenCurveElement.h"
#include "model/CPage.h"
#include "model/CPageSet.h"
#include "platform/CDC.h"

#include <QApplication>

namespace {

// The first centre-line point snaps to nodes, crossings and curves, else
// it is the free point; so does the second once it found something.
constexpr DWORD kAxisPointMask = CAPTURE_NODES | CAPTURE_CROSSINGS | CAPTURE_ON_CURVE | CAPTURE_FREE;
// The second point first looks for something to snap to without the free
// point, so that the line keeps to 45 degrees when nothing is near.
constexpr DWORD kAxisEndProbeMask = CAPTURE_NODES | CAPTURE_CROSSINGS | CAPTURE_ON_CURVE;

} // namespace

CVTSymmetricDraw::CVTSymmetricDraw(CVEKView* view, CTableEditing::Factory tableEditor) : CVectorTool(view)
{
    CreateSubTools(tableEditor);
    m_pCurrentSubTool = m_pSubTools[kSubCurve].get();
    CVTSymmetricDraw::Reset();
}

CVTSymmetricDraw::~CVTSymmetricDraw()
{
    // Sub-tools may call back into this tool while they go.
    m_pCurrentSubTool = nullptr;
    for (auto it = m_pSubTools.rbegin(); it != m_pSubTools.rend(); ++it) it->reset();
}

void CVTSymmetricDraw::CreateSubTools(CTableEditing::Factory tableEditor)
{
    auto mirrorOf = [this](int subTool) {
        return [this, subTool](CCurveElement* element) { MirrorCompleted(subTool, element); };
    };

    auto curve = std::make_unique<CVTCurve>(m_pView, this, 1);
    curve->SetCompletionHandler(mirrorOf(kSubCurve));
    curve->SetSubToolDeleteHandler([this] { OnSubToolDelete(); });

    auto closed = std::make_unique<CVTClosedCurve>(m_pView, this, 1);
    closed->SetCompletionHandler(mirrorOf(kSubClosedCurve));
    closed->SetSubToolDeleteHandler([this] { OnSubToolDelete(); });
    closed->SetNewClosedCurveHandler([this](CCurveElement* c) { OnNewClosedCurve(c); });

    auto ruler = std::make_unique<CVTRuler>(m_pView, this, 1);
    ruler->SetCompletionHandler(mirrorOf(kSubRuler));
    auto rectangle = std::make_unique<CVTRectangle>(m_pView, this, 1);
    rectangle->SetCompletionHandler(mirrorOf(kSubRectangle));
    auto ellipse = std::make_unique<CVTEllipse>(m_pView, this, 1);
    ellipse->SetCompletionHandler(mirrorOf(kSubEllipse));
    auto freehand = std::make_unique<CVTFreehand>(m_pView, this, 1);
    freehand->SetCompletionHandler(mirrorOf(kSubFreehand));

    auto select = std::make_unique<CVTSelect>(m_pView, this, 1, tableEditor);
    select->SetEditElementHandler([this](CGraphElement* e) { SetEditElement(e); });
    select->SetSubToolDeleteHandler([this] { OnSubToolDelete(); });

    auto eraser = std::make_unique<CVTEraser>(m_pView, this, 1);
    eraser->SetRemovePairHandler([this](CGraphElement* e) { RemovePairOf(e); });

    m_pSubTools[kSubCurve] = std::move(curve);
    m_pSubTools[kSubClosedCurve] = std::move(closed);
    m_pSubTools[kSubRuler] = std::move(ruler);
    m_pSubTools[kSubRectangle] = std::move(rectangle);
    m_pSubTools[kSubEllipse] = std::move(ellipse);
    m_pSubTools[kSubFreehand] = std::move(freehand);
    m_pSubTools[kSubSelect] = std::move(select);
    m_pSubTools[kSubZoom] = std::make_unique<CVTZoom>(m_pView);
    m_pSubTools[kSubEraser] = std::move(eraser);
}

CVectorTool* CVTSymmetricDraw::GetSubTool(int n) const
{
    return n >= 0 && n < kSubToolCount ? m_pSubTools[std::size_t(n)].get() : nullptr;
}

void CVTSymmetricDraw::SelectSubTool(int n)
{
    CVectorTool* tool = GetSubTool(n);
    if (!tool) return;
    if (m_pCurrentSubTool) m_pCurrentSubTool->Deactivate();
    m_pCurrentSubTool = tool;
    m_nSubTool = n;
    m_bCurveMirrored = 0;
    tool->Activate();
    // Until the centre line stands the prompt asks for it.
    if (!AxisComplete()) {
        if (m_pView) m_pView->SetToolCursor(kCursor);
        ShowPrompt(m_nAxisState == kNoAxis ? kPromptAxisStart : kPromptAxisEnd);
    }
    InvalidateFeedback();
}

void CVTSymmetricDraw::OnSubToolDelete()
{
    m_bCurveMirrored = 0;
}

// --- Lifecycle -------------------------------------------------------------------

void CVTSymmetricDraw::Activate()
{
    Reset();
    m_nAxisState = kNoAxis;
    if (m_pCurrentSubTool) m_pCurrentSubTool->Activate();
    if (m_pView) m_pView->SetToolCursor(kCursor);
    ShowPrompt(kPromptAxisStart);
}

void CVTSymmetricDraw::Deactivate()
{
    Reset();
    // The sub-tool's tool-bar groups go with it.
    if (m_pCurrentSubTool) m_pCurrentSubTool->Deactivate();
    InvalidateView();
}

void CVTSymmetricDraw::Reset()
{
    CVectorTool::Reset();
    m_bCurveMirrored = 0;
    if (m_pCurrentSubTool) m_pCurrentSubTool->Reset();
}

void CVTSymmetricDraw::Cancel()
{
    Reset();
    if (m_nAxisState == kAxisStarted)
        m_nAxisState = kNoAxis;
    else if (AxisComplete() && m_pCurrentSubTool)
        m_pCurrentSubTool->Cancel();
    InvalidateView();
}

BOOL CVTSymmetricDraw::UndoStep()
{
    if (m_nAxisState == kAxisStarted) {
        Cancel();
        return TRUE;
    }
    if (!AxisComplete() || !m_pCurrentSubTool) return FALSE;
    if (m_pCurrentSubTool->HasPendingStep()) return m_pCurrentSubTool->UndoStep();
    m_pCurrentSubTool->Reset();
    return TRUE;
}

// A centre line half given is a step under way too: Esc and Undo take its
// first point back.
BOOL CVTSymmetricDraw::HasPendingStep()
{
    if (m_nAxisState == kAxisStarted) return TRUE;
    return AxisComplete() && m_pCurrentSubTool ? m_pCurrentSubTool->HasPendingStep() : FALSE;
}

// --- The centre line ---------------------------------------------------------------

BOOL CVTSymmetricDraw::TrackAxis(UINT flags, int x, int y)
{
    if (m_pView) m_pView->SetToolCursor(kCursor);
    BOOL captured = FALSE;
    if (m_nAxisState == kNoAxis) {
        ShowPrompt(kPromptAxisStart);
        m_captureMask = kAxisPointMask;
        captured = CVectorTool::OnMouseMove(flags, x, y);
    } else {
        ShowPrompt(kPromptAxisEnd);
        m_captureMask = (flags & MK_CONTROL) ? CAPTURE_MASK_ALL : kAxisEndProbeMask;
        if (CVectorTool::OnMouseMove(flags, x, y)) {
            m_captureMask = kAxisPointMask;
            captured = CVectorTool::OnMouseMove(flags, x, y);
            m_ptAxisEnd = m_capturedPos;
        } else {
            // Nothing near: the line keeps to a multiple of 45 degrees.
            m_ptAxisEnd = ConstrainToEighths(m_ptAxisStart, CPoint(x, y));
            captured = TRUE;
        }
    }
    InvalidateFeedback();
    return captured;
}

BOOL CVTSymmetricDraw::AxisClick(UINT flags, int x, int y)
{
    TrackAxis(flags, x, y);
    if (m_nAxisState == kNoAxis) {
        m_ptAxisStart = m_capturedPos;
        m_ptAxisEnd = CPoint(x, y);
        m_nAxisState = kAxisStarted;
        InvalidateFeedback();
        return TRUE;
    }
    // A line through one point has no direction to mirror across.
    if (m_ptAxisEnd == m_ptAxisStart) {
        QApplication::beep();
        return FALSE;
    }
    m_nAxisState = kAxisComplete;
    // The capture marks of the centre line are done with.
    CVectorTool::Reset();
    if (m_pCurrentSubTool) m_pCurrentSubTool->Activate();
    InvalidateFeedback();
    return TRUE;
}

// --- Mirroring ---------------------------------------------------------------------

void CVTSymmetricDraw::MirrorCompleted(int subTool, CCurveElement* element)
{
    CPageSet* pageSet = GetPageSet();
    CPage* page = CurrentPageOf(pageSet);
    if (!AxisComplete() || !element || !page) return;
    CCurveMirror mirror;
    if (!mirror.Make(*page, *element, m_ptAxisStart, m_ptAxisEnd)) {
        QApplication::beep();
        return;
    }
    const CSystemSettings& settings = Settings();
    CLineAttr line = CurrentLineType();
    // The freehand stroke itself was drawn with the sides exchanged.
    if (subTool != kSubFreehand) ExchangeLineSides(line);
    // The image names the drawn element as its mirror source, so nodes
    // inserted into or deleted from it later are matched in the image.
    CCurveElement* image = nullptr;
    if (element->IsClosed())
        image = new CClosedCurveElement(page, page->GetMaxLevel(), line, settings.m_crLineColor,
                                        mirror.TakeNodes(), element);
    else
        // A symmetric pair: the image's arrowheads are the drawn line's.
        image = NewMirrorImage(*page, page->GetMaxLevel(), line, settings.m_crLineColor, mirror.TakeNodes(),
                               static_cast<COpenCurveElement&>(*element));
    pageSet->AddElementToPage(pageSet->GetCurrentPageIndex(), image);
    if (subTool == kSubCurve || subTool == kSubClosedCurve) m_bCurveMirrored = 1;
    InvalidateView();
}

// --- Mouse -------------------------------------------------------------------------

BOOL CVTSymmetricDraw::OnMouseMove(UINT flags, int x, int y)
{
    if (!AxisComplete()) return TrackAxis(flags, x, y);
    return m_pCurrentSubTool ? m_pCurrentSubTool->OnMouseMove(flags, x, y) : FALSE;
}

BOOL CVTSymmetricDraw::OnLButtonDown(UINT flags, int x, int y)
{
    if (!AxisComplete()) return AxisClick(flags, x, y);
    return m_pCurrentSubTool ? m_pCurrentSubTool->OnLButtonDown(flags, x, y) : FALSE;
}

BOOL CVTSymmetricDraw::OnLButtonUp(UINT flags, int x, int y)
{
    // The closed-curve tool's release means nothing.
    if (!AxisComplete() || !m_pCurrentSubTool || m_nSubTool == kSubClosedCurve) return FALSE;
    return m_pCurrentSubTool->OnLButtonUp(flags, x, y);
}

BOOL CVTSymmetricDraw::OnLButtonDblClk(UINT flags, int x, int y)
{
    return m_pCurrentSubTool ? m_pCurrentSubTool->OnLButtonDblClk(flags, x, y) : FALSE;
}

// The curve tools end a curve with it, and their completion makes its
// image; the next right click ends the editing of that curve.
BOOL CVTSymmetricDraw::OnRButtonDown(UINT flags, int x, int y)
{
    if (!m_pCurrentSubTool) return FALSE;
    if (m_nSubTool != kSubCurve && m_nSubTool != kSubClosedCurve)
        return m_pCurrentSubTool->OnRButtonDown(flags, x, y);
    const int wasMirrored = m_bCurveMirrored;
    m_bCurveMirrored = 0;
    const BOOL result = m_pCurrentSubTool->OnRButtonDown(flags, x, y);
    if (!wasMirrored && !m_bCurveMirrored) return FALSE;
    return result;
}

BOOL CVTSymmetricDraw::OnRButtonDblClk(UINT flags, int x, int y)
{
    return m_pCurrentSubTool ? m_pCurrentSubTool->OnRButtonDblClk(flags, x, y) : FALSE;
}

BOOL CVTSymmetricDraw::OnRButtonUp(UINT flags, int x, int y)
{
    return m_pCurrentSubTool ? m_pCurrentSubTool->OnRButtonUp(flags, x, y) : FALSE;
}

// --- Keys --------------------------------------------------------------------------

BOOL CVTSymmetricDraw::OnTabDown() { return m_pCurrentSubTool ? m_pCurrentSubTool->OnTabDown() : FALSE; }
BOOL CVTSymmetricDraw::OnTabUp() { return m_pCurrentSubTool ? m_pCurrentSubTool->OnTabUp() : FALSE; }
BOOL CVTSymmetricDraw::OnReturnDown() { return m_pCurrentSubTool ? m_pCurrentSubTool->OnReturnDown() : FALSE; }
BOOL CVTSymmetricDraw::OnReturnUp() { return m_pCurrentSubTool ? m_pCurrentSubTool->OnReturnUp() : FALSE; }
BOOL CVTSymmetricDraw::OnShiftDown() { return m_pCurrentSubTool ? m_pCurrentSubTool->OnShiftDown() : FALSE; }
BOOL CVTSymmetricDraw::OnShiftUp() { return m_pCurrentSubTool ? m_pCurrentSubTool->OnShiftUp() : FALSE; }
BOOL CVTSymmetricDraw::OnDeleteDown() { return m_pCurrentSubTool ? m_pCurrentSubTool->OnDeleteDown() : FALSE; }
BOOL CVTSymmetricDraw::OnDeleteUp() { return m_pCurrentSubTool ? m_pCurrentSubTool->OnDeleteUp() : FALSE; }

BOOL CVTSymmetricDraw::OnDigitDown(char digit)
{
    return m_pCurrentSubTool ? m_pCurrentSubTool->OnDigitDown(digit) : FALSE;
}

BOOL CVTSymmetricDraw::OnDigitUp(char digit)
{
    return m_pCurrentSubTool ? m_pCurrentSubTool->OnDigitUp(digit) : FALSE;
}

BOOL CVTSymmetricDraw::OnCtrlDown()
{
    return AxisComplete() && m_pCurrentSubTool ? m_pCurrentSubTool->OnCtrlDown() : FALSE;
}

BOOL CVTSymmetricDraw::OnCtrlUp()
{
    return AxisComplete() && m_pCurrentSubTool ? m_pCurrentSubTool->OnCtrlUp() : FALSE;
}

// While the centre line is half given Space means nothing; otherwise it is
// the sub-tool's temporary zoom.
BOOL CVTSymmetricDraw::OnSpaceDown()
{
    if (m_nAxisState == kAxisStarted)
        InvalidateView();
    else if (m_pCurrentSubTool)
        m_pCurrentSubTool->OnSpaceDown();
    return TRUE;
}

BOOL CVTSymmetricDraw::OnSpaceUp()
{
    if (m_nAxisState == kAxisStarted)
        InvalidateView();
    else if (m_pCurrentSubTool)
        m_pCurrentSubTool->OnSpaceUp();
    return TRUE;
}

void CVTSymmetricDraw::OnEscUp()
{
    if (AxisComplete() && m_pCurrentSubTool) m_pCurrentSubTool->OnEscUp();
}

// --- Drawing -----------------------------------------------------------------------

bool CVTSymmetricDraw::ShapeInProgress(CPointList& out) const
{
    out.RemoveAll();
    switch (m_nSubTool) {
    case kSubCurve:
    case kSubClosedCurve:
        static_cast<CVTCurve*>(GetSubTool(m_nSubTool))->GetPolyline(out);
        break;
    case kSubRuler: {
        CPoint start;
        CPoint end;
        if (static_cast<CVTRuler*>(GetSubTool(kSubRuler))->GetLinePoints(start, end)) {
            out.AddTail(start);
            out.AddTail(end);
        }
        break;
    }
    case kSubRectangle:
        if (static_cast<CVTRectangle*>(GetSubTool(kSubRectangle))->GetShapePoints(out) &&
            out.GetHead() != out.GetTail())
            out.AddTail(out.GetHead());
        break;
    case kSubEllipse:
        static_cast<CVTEllipse*>(GetSubTool(kSubEllipse))->GetShapePoints(out);
        break;
    case kSubFreehand:
        static_cast<CVTFreehand*>(GetSubTool(kSubFreehand))->GetTrackPoints(out);
        break;
    case kSubSelect:
        static_cast<CVTSelect*>(GetSubTool(kSubSelect))->GetCurvePolyline(out);
        break;
    default:
        break;
    }
    return out.GetCount() > 1;
}

void CVTSymmetricDraw::DrawMirroredPreview(CDC* dc, double scale, int originX, int originY) const
{
    CPointList shape;
    if (!ShapeInProgress(shape)) return;
    CPointList mirrored;
    MirrorPolyline(shape, m_ptAxisStart.x, m_ptAxisStart.y, m_ptAxisEnd.x, m_ptAxisEnd.y, mirrored);
    if (m_nSubTool == kSubEllipse) {
        // The ellipse tool hands its control points; the shape runs smooth
        // through them and back to the first.
        if (mirrored.GetCount() > 1) mirrored.AddTail(CPoint(mirrored.GetHead()));
        CPointList smooth;
        MakeSmoothCurve(mirrored, 1, smooth);
        if (smooth.GetCount() > 1 && smooth.GetHead() != smooth.GetTail()) smooth.AddTail(smooth.GetHead());
        mirrored = smooth;
    }
    DrawMappedPolyline(*dc, mirrored, scale, originX, originY);
}

void CVTSymmetricDraw::Draw(CDC* dc, double scale, int originX, int originY, const CRect& rect)
{
    if (!dc) return;
    if (m_nAxisState == kNoAxis || m_nAxisState == kAxisStarted) CVectorTool::Draw(dc, scale, originX, originY, rect);
    if (m_nAxisState == kNoAxis) return;
    if (AxisComplete() && m_pCurrentSubTool) m_pCurrentSubTool->Draw(dc, scale, originX, originY, rect);

    const CPen old = dc->SelectPen({PS_SOLID, 1, Settings().m_crPromptColor2});
    const CPoint a = ModelToDevicePoint(m_ptAxisStart.x, m_ptAxisStart.y, scale, originX, originY);
    const CPoint b = ModelToDevicePoint(m_ptAxisEnd.x, m_ptAxisEnd.y, scale, originX, originY);
    dc->MoveTo(a.x, a.y);
    dc->LineTo(b.x, b.y);
    if (AxisComplete() && m_ptAxisStart != m_ptAxisEnd) DrawMirroredPreview(dc, scale, originX, originY);
    dc->SelectPen(old);
}

// --- Forwarded commands ---------------------------------------------------------------

void CVTSymmetricDraw::OnEditCopy() { if (m_pCurrentSubTool) m_pCurrentSubTool->OnEditCopy(); }
void CVTSymmetricDraw::OnEditCut() { if (m_pCurrentSubTool) m_pCurrentSubTool->OnEditCut(); }
BOOL CVTSymmetricDraw::CanCopy() { return m_pCurrentSubTool ? m_pCurrentSubTool->CanCopy() : FALSE; }
void CVTSymmetricDraw::OnLineColorChanged() { if (m_pCurrentSubTool) m_pCurrentSubTool->OnLineColorChanged(); }
void CVTSymmetricDraw::OnLineColor() { if (m_pCurrentSubTool) m_pCurrentSubTool->OnLineColor(); }
void CVTSymmetricDraw::OnFontColorChanged() { if (m_pCurrentSubTool) m_pCurrentSubTool->OnFontColorChanged(); }
void CVTSymmetricDraw::OnFontColor() { if (m_pCurrentSubTool) m_pCurrentSubTool->OnFontColor(); }
void CVTSymmetricDraw::OnCellColorChanged() { if (m_pCurrentSubTool) m_pCurrentSubTool->OnCellColorChanged(); }
void CVTSymmetricDraw::OnCellColor() { if (m_pCurrentSubTool) m_pCurrentSubTool->OnCellColor(); }
void CVTSymmetricDraw::OnFontChanged() { if (m_pCurrentSubTool) m_pCurrentSubTool->OnFontChanged(); }
void CVTSymmetricDraw::OnFont() { if (m_pCurrentSubTool) m_pCurrentSubTool->OnFont(); }
void CVTSymmetricDraw::OnLineType() { if (m_pCurrentSubTool) m_pCurrentSubTool->OnLineType(); }
void CVTSymmetricDraw::OnStartArrow() { if (m_pCurrentSubTool) m_pCurrentSubTool->OnStartArrow(); }
void CVTSymmetricDraw::OnEndArrow() { if (m_pCurrentSubTool) m_pCurrentSubTool->OnEndArrow(); }
void CVTSymmetricDraw::OnAlignment() { if (m_pCurrentSubTool) m_pCurrentSubTool->OnAlignment(); }
BOOL CVTSymmetricDraw::CanMergeCells() { return m_pCurrentSubTool ? m_pCurrentSubTool->CanMergeCells() : FALSE; }
void CVTSymmetricDraw::MergeCells() { if (m_pCurrentSubTool) m_pCurrentSubTool->MergeCells(); }
void CVTSymmetricDraw::SplitCells() { if (m_pCurrentSubTool) m_pCurrentSubTool->SplitCells(); }
void CVTSymmetricDraw::InsertColumnLeft() { if (m_pCurrentSubTool) m_pCurrentSubTool->InsertColumnLeft(); }
BOOL CVTSymmetricDraw::CanInsertColumn() { return m_pCurrentSubTool ? m_pCurrentSubTool->CanInsertColumn() : FALSE; }
void CVTSymmetricDraw::InsertColumnRight() { if (m_pCurrentSubTool) m_pCurrentSubTool->InsertColumnRight(); }
void CVTSymmetricDraw::InsertRowBefore() { if (m_pCurrentSubTool) m_pCurrentSubTool->InsertRowBefore(); }
void CVTSymmetricDraw::InsertRowAfter() { if (m_pCurrentSubTool) m_pCurrentSubTool->InsertRowAfter(); }
void CVTSymmetricDraw::ToggleDiagonalA() { if (m_pCurrentSubTool) m_pCurrentSubTool->ToggleDiagonalA(); }
void CVTSymmetricDraw::ToggleDiagonalB() { if (m_pCurrentSubTool) m_pCurrentSubTool->ToggleDiagonalB(); }
void CVTSymmetricDraw::DeleteRow() { if (m_pCurrentSubTool) m_pCurrentSubTool->DeleteRow(); }
void CVTSymmetricDraw::DeleteColumn() { if (m_pCurrentSubTool) m_pCurrentSubTool->DeleteColumn(); }
void CVTSymmetricDraw::TableProperties() { if (m_pCurrentSubTool) m_pCurrentSubTool->TableProperties(); }
