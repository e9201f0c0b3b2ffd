#include "editors/CVTModifyPicture.h"

#include "app/CVEKDoc.h"
#include "app/CVEKSrvrItem.h"
#include "app/CVEKView.h"

#include "geometry/BoxEditing.h"
#include "geometry/Distance.h"
#include "geometry/Mapping.h"
#include "model/CImageElement.h"
#include "model/CPage.h"
#include "model/CPageSet.h"
#include "platform/CDC.h"

#include <QApplication>

#include <cmath>

namespace {

enum Corner { kUL = 0, kUR = 1, kLR = 2, kLL = 3 };

bool IsRotateCode(int code)
{
    return code == 1 || code == 5 || code == 9 || code == 13;
}

struct Unit {
    double x = 0.0;
    double y = 0.0;
};

bool UnitVector(const CPoint& from, const CPoint& to, Unit& u)
{
    const double dx = double(to.x) - from.x;
    const double dy = double(to.y) - from.y;
    const double length = std::hypot(dx, dy);
    if (!(length > 0.0)) return false;
    u = {dx / length, dy / length};
    return true;
}

} // namespace

CVTModifyPicture::CVTModifyPicture(CVEKView* view, CDesignTool* owner) : CVectorTool(view), m_pOwner(owner) {}

CVTModifyPicture::~CVTModifyPicture() = default;

// --- The picture ---------------------------------------------------------------------

void CVTModifyPicture::SetElement(CImageElement* picture)
{
    Reset();
    m_pPicture = picture;
}

CVTModifyPicture::Corners CVTModifyPicture::CurrentCorners() const
{
    if (!m_pPicture) return {};
    return {m_pPicture->GetUpperLeft(), m_pPicture->GetUpperRight(), m_pPicture->GetLowerRight(),
            m_pPicture->GetLowerLeft()};
}

void CVTModifyPicture::SetCorners(const Corners& c)
{
    m_pPicture->SetUpperLeft(c[kUL].x, c[kUL].y);
    m_pPicture->SetUpperRight(c[kUR].x, c[kUR].y);
    m_pPicture->SetLowerRight(c[kLR].x, c[kLR].y);
    m_pPicture->SetLowerLeft(c[kLL].x, c[kLL].y);
    m_pPicture->InvalidateBounds();
    // The step becomes an undo step at its first real change.
    if (!m_bStepCommitted && c != m_savedCorners) m_bStepCommitted = CommitUndoStep();
}

CPoint CVTModifyPicture::GetHandlePoint(int place) const
{
    const Corners c = CurrentCorners();
    switch (place) {
    case 1: return c[kUL];
    case 3: return MidPoint(c[kUL], c[kUR]);
    case 5: return c[kUR];
    case 7: return MidPoint(c[kUR], c[kLR]);
    case 9: return c[kLR];
    case 11: return MidPoint(c[kLR], c[kLL]);
    case 13: return c[kLL];
    case 15: return MidPoint(c[kUL], c[kLL]);
    default: return CPoint();
    }
}

int CVTModifyPicture::HitTestHandle(UINT flags, int x, int y) const
{
    if (!m_pPicture) return -1;
    const int t = int(GetViewScale() * 4);
    for (int place = 1; place <= 15; place += 2) {
        const CPoint h = GetHandlePoint(place);
        if (x < h.x - t || x >= h.x + t || y < h.y - t || y >= h.y + t) continue;
        const bool corner = (place % 4) == 1;
        if (corner) return (flags & MK_SHIFT) ? place + 1 : place;
        return (flags & (MK_SHIFT | MK_CONTROL)) ? place : place + 1;
    }
    return -1;
}

// --- Lifecycle ---------------------------------------------------------------------

void CVTModifyPicture::Activate()
{
    Reset();
}

void CVTModifyPicture::Deactivate()
{
    Cancel();
}

// A step still running when the editing is interrupted ends where it
// stands, as Esc ends it.
void CVTModifyPicture::Reset()
{
    if (m_nState == kMoving || m_nState == kDragging) EndStep();
    CVectorTool::Reset();
    m_ptPress = CPoint(-1, -1);
    m_ptMouse = CPoint(-1, -1);
    m_nHitCode = 0;
    m_nState = kIdle;
    m_bStepCommitted = false;
}

void CVTModifyPicture::StartStep(int state)
{
    BeginUndoStep();
    m_bStepCommitted = false;
    m_savedCorners = CurrentCorners();
    m_nState = state;
}

bool CVTModifyPicture::EndStep()
{
    const bool committed = m_bStepCommitted || (m_pPicture && CurrentCorners() != m_savedCorners && CommitUndoStep());
    if (!committed) DropUndoStep();
    m_bStepCommitted = false;
    return committed;
}

// --- Mouse -----------------------------------------------------------------------------

void CVTModifyPicture::Hover(UINT flags, int x, int y)
{
    m_ptMouse = CPoint(x, y);
    m_nHitCode = HitTestHandle(flags, x, y);
    if (m_nHitCode == -1) {
        if (m_pPicture->PtInImage(x, y)) {
            m_nState = kInside;
            ShowPrompt(kPromptInside);
        } else {
            m_nState = kOutside;
        }
        if (m_pView) m_pView->SetToolCursor(kCursorPicture);
        return;
    }
    m_nState = kOnHandle;
    const bool rotate = IsRotateCode(m_nHitCode);
    if (m_pView) m_pView->SetToolCursor(rotate ? kCursorRotate : kCursorResize);
    ShowPrompt(rotate ? kPromptCornerHandle : kPromptSideHandle);
}

BOOL CVTModifyPicture::OnMouseMove(UINT flags, int x, int y)
{
    if (!m_pPicture) return FALSE;
    switch (m_nState) {
    case kMoving: Move(x, y); return TRUE;
    case kDragging: Drag(x, y); return TRUE;
    default: break;
    }
    // Away from the picture the move is the owner's: it may show another
    // element under the mouse.
    Hover(flags, x, y);
    InvalidateFeedback();
    return m_nState == kOutside ? FALSE : TRUE;
}

BOOL CVTModifyPicture::OnLButtonDown(UINT flags, int x, int y)
{
    if (!m_pPicture) return FALSE;
    const int hit = HitTestHandle(flags, x, y);
    switch (m_nState) {
    case kOutside:
        if (m_pView) m_pView->SetToolCursor(kCursorResize);
        return FALSE;
    case kInside:
        StartStep(kMoving);
        m_ptPress = CPoint(x, y);
        if (m_pView) m_pView->SetToolCursor(kCursorMove);
        break;
    case kOnHandle:
        m_nHitCode = hit;
        m_nHandleCode = hit;
        if (IsRotateCode(hit)) {
            if (m_pView) m_pView->SetToolCursor(kCursorRotate);
            ShowPrompt(hit == 9 ? kPromptRotateCorner : kPromptCornerHandle);
        } else if (hit >= 1 && hit <= 16) {
            if (m_pView) m_pView->SetToolCursor(kCursorResize);
            ShowPrompt(kPromptSideHandle);
        } else {
            // The view moved under the mouse since the hover: the drag
            // runs and changes nothing.
            QApplication::beep();
        }
        StartStep(kDragging);
        m_ptPress = CPoint(x, y);
        break;
    case kMoving:
    case kDragging:
        EndStep();
        m_nState = kIdle;
        OnMouseMove(flags, x, y);
        break;
    default: break;
    }
    InvalidateView();
    return TRUE;
}

void CVTModifyPicture::Move(int x, int y)
{
    const int dx = x - m_ptPress.x;
    const int dy = y - m_ptPress.y;
    Corners moved = m_savedCorners;
    for (CPoint& p : moved) p = CPoint(p.x + dx, p.y + dy);
    SetCorners(moved);
    m_ptMouse = CPoint(x, y);
    ShowPrompt(kPromptMoving);
    InvalidateView();
}

void CVTModifyPicture::Drag(int x, int y)
{
    m_ptMouse = CPoint(x, y);
    const int code = m_nHandleCode;
    if (code < 1 || code > 16) {
        QApplication::beep();
        InvalidateView();
        return;
    }
    Corners corners;
    if (DraggedCorners(CPoint(x, y), corners)) SetCorners(corners);
    int prompt = kPromptResizing;
    if (IsRotateCode(code)) prompt = kPromptRotating;
    else if (code % 4 == 2) prompt = kPromptStretching;
    else if (code % 4 == 3) prompt = kPromptMatchedSide;
    ShowPrompt(prompt);
    InvalidateView();
}

bool CVTModifyPicture::DraggedCorners(const CPoint& m, Corners& out) const
{
    const CPoint A = m_savedCorners[kUL], B = m_savedCorners[kUR], C = m_savedCorners[kLR], D = m_savedCorners[kLL];
    out = m_savedCorners;
    const int code = m_nHandleCode;

    if (IsRotateCode(code)) {
        const CPoint O = MidPoint(A, C);
        const CPoint K = m_savedCorners[std::size_t((code - 1) / 4)];
        TurnPointsAbout(out.data(), 4, O, K, m);
        return true;
    }

    const CLineEquation AB = LineThrough(A, B), BC = LineThrough(B, C), CD = LineThrough(C, D),
                        AD = LineThrough(A, D), AC = LineThrough(A, C), BD = LineThrough(B, D);
    switch (code) {
    // Diagonal stretch: the dragged corner slides along its diagonal, the
    // sides keep their directions, the opposite corner stays.
    case 2: {
        const CLineEquation g = ParallelThrough(AB, m);
        CPoint a, b, d;
        if (!CrossLines(AC, g, a) || !CrossLines(g, BC, b) || !CrossLines(ParallelThrough(BC, a), CD, d)) return false;
        out[kUL] = a, out[kUR] = b, out[kLL] = d;
        return true;
    }
    case 6: {
        const CLineEquation g = ParallelThrough(AB, m);
        CPoint a, b, c;
        if (!CrossLines(BD, g, b) || !CrossLines(ParallelThrough(BC, b), CD, c) || !CrossLines(g, AD, a)) return false;
        out[kUL] = a, out[kUR] = b, out[kLR] = c;
        return true;
    }
    case 10: {
        const CLineEquation g = ParallelThrough(BC, m);
        CPoint b, c, d;
        if (!CrossLines(AC, g, c) || !CrossLines(g, AB, b) || !CrossLines(ParallelThrough(AB, c), AD, d)) return false;
        out[kUR] = b, out[kLR] = c, out[kLL] = d;
        return true;
    }
    case 14: {
        const CLineEquation g = ParallelThrough(AB, m);
        CPoint a, c, d;
        if (!CrossLines(BD, g, d) || !CrossLines(g, BC, c) || !CrossLines(AB, ParallelThrough(BC, d), a)) return false;
        out[kUL] = a, out[kLR] = c, out[kLL] = d;
        return true;
    }
    default: break;
    }

    // The side of the code: its two corners, and its opposite side.
    struct Side {
        int first, second, oppositeFirst, oppositeSecond;
    };
    static const Side sides[4] = {{kUL, kUR, kLR, kLL}, {kUR, kLR, kUL, kLL}, {kLR, kLL, kUL, kUR}, {kUL, kLL, kUR, kLR}};
    const Side& side = sides[(code - 3) / 4];
    const CPoint X = m_savedCorners[std::size_t(side.first)];
    const CPoint Y = m_savedCorners[std::size_t(side.second)];
    CSize offset;
    if (code % 4 == 3) {
        // Matched side move: the side follows the mouse freely.
        offset = CSize(m.x - m_ptPress.x, m.y - m_ptPress.y);
    } else {
        const CPoint N = MidPoint(X, Y);
        const CPoint opposite = MidPoint(m_savedCorners[std::size_t(side.oppositeFirst)],
                                         m_savedCorners[std::size_t(side.oppositeSecond)]);
        if (!EdgeOffsetAlongAxis(X, Y, N, opposite, m, offset)) return false;
    }
    out[std::size_t(side.first)] = CPoint(X.x + offset.cx, X.y + offset.cy);
    out[std::size_t(side.second)] = CPoint(Y.x + offset.cx, Y.y + offset.cy);
    return true;
}

BOOL CVTModifyPicture::OnLButtonUp(UINT, int, int) { return FALSE; }
BOOL CVTModifyPicture::OnLButtonDblClk(UINT, int, int) { return FALSE; }
BOOL CVTModifyPicture::OnRButtonDown(UINT, int, int) { return FALSE; }
BOOL CVTModifyPicture::OnRButtonDblClk(UINT, int, int) { return FALSE; }
BOOL CVTModifyPicture::OnRButtonUp(UINT, int, int) { return FALSE; }

// --- Keys ------------------------------------------------------------------------------

BOOL CVTModifyPicture::OnReturnDown() { return FALSE; }
BOOL CVTModifyPicture::OnReturnUp() { return FALSE; }
BOOL CVTModifyPicture::OnDeleteUp() { return FALSE; }
// The keys of a drag are read from each mouse event, not held here.
BOOL CVTModifyPicture::OnShiftDown() { return TRUE; }
BOOL CVTModifyPicture::OnShiftUp() { return TRUE; }
BOOL CVTModifyPicture::OnCtrlDown() { return TRUE; }
BOOL CVTModifyPicture::OnCtrlUp() { return TRUE; }

BOOL CVTModifyPicture::OnDeleteDown()
{
    if (m_pPicture) RemovePicture(false);
    return TRUE;
}

// The owner lets go of the picture too: it would otherwise keep handing
// its events on for a picture that no longer exists.
void CVTModifyPicture::RemovePicture(bool copyFirst)
{
    CPageSet* pageSet = GetPageSet();
    CPage* page = pageSet ? pageSet->GetCurrentPage() : nullptr;
    if (!page) return;
    if (m_nState == kMoving || m_nState == kDragging) EndStep();
    m_nState = kIdle;
    SaveUndoState();
    if (copyFirst) OnEditCopy();
    CImageElement* picture = m_pPicture;
    page->RemoveElement(picture);
    delete picture;
    m_pPicture = nullptr;
    InvalidateView();
    Reset();
    if (m_pOwner) m_pOwner->Reset();
}

// --- Pending step ------------------------------------------------------------------------

void CVTModifyPicture::Cancel()
{
    if (m_nState == kMoving || m_nState == kDragging) EndStep();
    m_nState = kIdle;
    Reset();
    InvalidateView();
}

// Undo during a move or drag takes it back: an unchanged picture just ends
// the step, a changed one goes back through the step's own undo copy (so
// Redo can bring the change again).
BOOL CVTModifyPicture::UndoStep()
{
    if (m_nState != kMoving && m_nState != kDragging) return FALSE;
    const bool changed = EndStep();
    m_nState = kIdle;
    Reset();
    InvalidateView();
    // The document tells the view, which resets the tools.
    if (changed)
        if (CVEKDoc* doc = GetDocument()) doc->Undo();
    return TRUE;
}

BOOL CVTModifyPicture::HasPendingStep()
{
    return m_pPicture && (m_nState == kMoving || m_nState == kDragging) ? TRUE : FALSE;
}

// --- Clipboard -----------------------------------------------------------------------------

void CVTModifyPicture::OnEditCopy()
{
    if (!m_pPicture || !GetDocument()) return;
    if (CVEKSrvrItem* item = CVEKSrvrItem::GetEmbeddedItem(GetDocument())) item->CopyElementToClipboard(m_pPicture);
}

void CVTModifyPicture::OnEditCut()
{
    if (m_pPicture) RemovePicture(true);
}

BOOL CVTModifyPicture::CanCopy()
{
    return m_pPicture ? TRUE : FALSE;
}

// --- Drawing -------------------------------------------------------------------------------

void CVTModifyPicture::Draw(CDC* dc, double scale, int originX, int originY, const CRect& rect)
{
    if (!dc || !m_pPicture) return;
    m_pPicture->DrawHighlight(dc, scale, originX, originY, rect);
    for (int place = 1; place <= 15; place += 2) {
        const CPoint h = GetHandlePoint(place);
        const CPoint d = ::ModelToDevicePoint(h.x, h.y, scale, originX, originY);
        dc->Rectangle(d.x - 2, d.y - 2, d.x + 2, d.y + 2);
    }
    DrawHandleHint(dc, scale, originX, originY);
}

// A small double-headed arrow at the handle under the mouse, along the
// direction the handle moves: a 12-pixel shaft with a three-pixel head at
// each end.
void CVTModifyPicture::DrawHandleHint(CDC* dc, double s, int originX, int originY) const
{
    const int code = m_nHitCode;
    if (code < 1 || code > 16 || IsRotateCode(code)) return;
    const Corners c = CurrentCorners();
    Unit u;
    Unit v;
    int place = 0;
    bool ok = false;
    switch (code) {
    case 2:
    case 10:
        ok = UnitVector(c[kUL], c[kLR], u);
        v = {-u.y, u.x};
        place = code == 2 ? 1 : 9;
        break;
    case 6:
    case 14:
        ok = UnitVector(c[kUR], c[kLL], u);
        v = {-u.y, u.x};
        place = code == 6 ? 5 : 13;
        break;
    case 3:
    case 4:
    case 11:
    case 12:
        ok = UnitVector(c[kUR], c[kLR], u) && UnitVector(c[kUL], c[kUR], v);
        place = code <= 4 ? 3 : 11;
        break;
    default:
        ok = UnitVector(c[kUL], c[kUR], u) && UnitVector(c[kUR], c[kLR], v);
        place = code <= 8 ? 7 : 15;
        break;
    }
    if (!ok) return;
    const CPoint h = GetHandlePoint(place);
    auto at = [&](double along, double across) {
        const int x = h.x + RoundToInt(along * s * u.x + across * s * v.x);
        const int y = h.y + RoundToInt(along * s * u.y + across * s * v.y);
        return ::ModelToDevicePoint(x, y, s, originX, originY);
    };
    const CPen previous = dc->SelectPen({PS_SOLID, 1, RGB(0, 0, 0)});
    auto segment = [dc](const CPoint& from, const CPoint& to) {
        dc->MoveTo(from.x, from.y);
        dc->LineTo(to.x, to.y);
        dc->LineTo(to.x, to.y + 1);
    };
    segment(at(6, 0), at(-6, 0));
    for (const double end : {5.0, -5.0}) segment(at(end, 1), at(end, -1));
    for (const double end : {4.0, -4.0}) segment(at(end, 2), at(end, -2));
    dc->SelectPen(previous);
}
