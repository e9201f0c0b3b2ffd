#include "editors/CVTModifyText.h"

#include "app/CFrameServices.h"
#include "settings/CSystemSettings.h"
#include "app/CVEKDoc.h"
#include "app/CVEKSrvrItem.h"
#include "app/CVEKView.h"
#include "ui/CEditTextDlg.h"

#include "geometry/BoxEditing.h"
#include "geometry/Constants.h"
#include "geometry/Distance.h"
#include "geometry/Lines.h"
#include "geometry/Mapping.h"
#include "model/CPage.h"
#include "model/CPageSet.h"
#include "model/CTextElement.h"
#include "platform/CDC.h"
#include "platform/CodePage.h"

#include <cmath>

namespace {

CVTModifyText::WordingDialog s_wordingDialog = nullptr;

// Corners P (dragged), A (its neighbour along the baseline), B (its other
// neighbour) and Q (opposite) of a proportional resize, by handle code.
struct ProportionalCorners {
    int p, a, b, q;
};

bool IsCornerWithKey(int code)
{
    return code == 1 || code == 2 || code == 6 || code == 7 || code == 11 || code == 12 || code == 16 ||
           code == 17;
}

bool IsEdgeCode(int code)
{
    return code >= 4 && code <= 20 && (code % 5 == 4 || code % 5 == 0);
}

} // namespace

CVTModifyText::CVTModifyText(CVEKView* view, CDesignTool* owner) : CVectorTool(view), m_pOwner(owner)
{
    CVTModifyText::Reset();
}

CVTModifyText::~CVTModifyText() = default;

// --- The wording dialog ----------------------------------------------------------------

void CVTModifyText::SetWordingDialog(WordingDialog dialog)
{
    s_wordingDialog = dialog;
}

bool CVTModifyText::AskWording(QWidget* parent, std::string& gbkText)
{
    return s_wordingDialog ? s_wordingDialog(parent, gbkText) : CEditTextDlg::Edit(parent, gbkText);
}

bool CVTModifyText::IsBlankWording(const std::string& gbkText)
{
    for (const char c : gbkText)
        if (c != ' ' && c != '\t' && c != '\r' && c != '\n') return false;
    return true;
}

// --- The text ------------------------------------------------------------------------------

void CVTModifyText::SetElement(CTextElement* text)
{
    Reset();
    m_pText = text;
    if (m_pText) {
        // The text's font becomes the tool bar's, upright: applying it back
        // keeps the text's own turn.
        LogFont font = m_pText->GetTextFont().GetLogFont();
        font.lfEscapement = 0;
        Settings().m_lfDefaultFont = font;
        if (CFrameServices* frame = Frame()) {
            frame->ShowAppliedFont(GbkToQString(font.FaceName()));
        }
    }
    InvalidateView();
}

void CVTModifyText::ReadCorners()
{
    if (m_pText) m_pText->GetCorners(m_corners[kOrigin], m_corners[kCorner2], m_corners[kCorner4], m_corners[kCorner3]);
}

void CVTModifyText::WriteCorners()
{
    CPoint o, c2, c4, c3;
    m_pText->GetCorners(o, c2, c4, c3);
    if (o == m_corners[kOrigin] && c2 == m_corners[kCorner2] && c4 == m_corners[kCorner4] && c3 == m_corners[kCorner3])
        return;
    MarkChanged();
    m_pText->SetCorners(m_corners[kOrigin], m_corners[kCorner2], m_corners[kCorner4], m_corners[kCorner3]);
}

CPoint CVTModifyText::HandlePoint(int handle) const
{
    CPoint o, c2, c4, c3;
    m_pText->GetCorners(o, c2, c4, c3);
    switch (handle) {
    case 0: return o;
    case 1: return c2;
    case 2: return c4;
    case 3: return c3;
    case 4: return MidPoint(o, c2);
    case 5: return MidPoint(c2, c4);
    case 6: return MidPoint(c4, c3);
    default: return MidPoint(c3, o);
    }
}

int CVTModifyText::HitTestHandle(UINT flags, int x, int y) const
{
    if (!m_pText) return -1;
    const int tolerance = RoundToInt(Settings().m_nCaptureRadius * GetViewScale() / 10.0);
    const bool ctrl = (flags & MK_CONTROL) != 0;
    const bool shift = (flags & MK_SHIFT) != 0;
    for (int handle = 0; handle < 8; ++handle) {
        const CPoint h = HandlePoint(handle);
        if (PointDistanceRounded(x, y, h.x, h.y) >= tolerance) continue;
        if (handle < 4) return handle * 5 + (ctrl ? 1 : shift ? 2 : 3);
        return (handle - 4) * 5 + ((ctrl || shift) ? 4 : 5);
    }
    return -1;
}

// --- Lifecycle -------------------------------------------------------------------------------

void CVTModifyText::Activate()
{
    CVectorTool::Activate();
}

void CVTModifyText::Deactivate()
{
    CVectorTool::Deactivate();
    Reset();
}

// A step still running when the editing is interrupted ends where it
// stands, as Esc ends it.
void CVTModifyText::Reset()
{
    if (m_nState == kDragging || m_nState == kMoving) EndStep();
    CVectorTool::Reset();
    m_pText = nullptr;
    m_nState = kIdle;
    m_bCtrlDown = 0;
    m_bStepCommitted = false;
    m_bStepChanged = false;
}

void CVTModifyText::EndEditing()
{
    if (m_pOwner)
        m_pOwner->Reset();
    else
        Reset();
}

// --- Steps and their undo --------------------------------------------------------------------

void CVTModifyText::StartStep(int state, int x, int y)
{
    BeginUndoStep();
    m_bStepCommitted = false;
    m_bStepChanged = false;
    m_ptAnchor = m_ptCurrent = CPoint(x, y);
    ReadCorners();
    m_nState = state;
}

void CVTModifyText::MarkChanged()
{
    if (m_bStepChanged) return;
    m_bStepChanged = true;
    if (!m_bStepCommitted) m_bStepCommitted = CommitUndoStep();
}

bool CVTModifyText::EndStep()
{
    const bool committed = m_bStepCommitted;
    if (!committed) DropUndoStep();
    m_bStepCommitted = false;
    m_bStepChanged = false;
    return committed;
}

void CVTModifyText::StepBeforeChange()
{
    if (m_nState == kDragging || m_nState == kMoving)
        MarkChanged();
    else
        SaveUndoState();
}

// --- Mouse -----------------------------------------------------------------------------------

void CVTModifyText::Hover(UINT flags, int x, int y)
{
    m_nHoverHandle = HitTestHandle(flags, x, y);
    if (m_nHoverHandle > 0) {
        m_nState = kOverHandle;
        const int code = m_nHoverHandle;
        const bool corner = (code % 5) >= 1 && (code % 5) <= 3;
        int cursor = kCursorResize;
        int prompt = kPromptEdgeHandle;
        if (corner && code % 5 == 3) {
            cursor = kCursorRotate;
            prompt = kPromptCornerHandle;
        } else if (corner) {
            prompt = kPromptShiftCorner;
        }
        if (m_pView) m_pView->SetToolCursor(cursor);
        ShowPrompt(UINT(prompt));
    } else if (m_pText->HitTest(x, y)) {
        m_nState = kOverBody;
        if (m_pView) m_pView->SetToolCursor(kCursorText);
        ShowPrompt(kPromptBody);
    } else {
        m_nState = kOutside;
    }
    InvalidateFeedback();
}

BOOL CVTModifyText::OnMouseMove(UINT flags, int x, int y)
{
    return Evaluate(flags, x, y);
}

BOOL CVTModifyText::Evaluate(UINT flags, int x, int y)
{
    if (!m_pText) return FALSE;
    if (m_nState == kMoving) {
        m_ptCurrent = CPoint(x, y);
        const int dx = x - m_ptAnchor.x;
        const int dy = y - m_ptAnchor.y;
        for (CPoint& p : m_corners) p = OffsetPoint(p, dx, dy);
        WriteCorners();
        m_ptAnchor = CPoint(x, y);
        ShowPrompt(kPromptMoving);
        if (m_pView) m_pView->SetToolCursor(kCursorMove);
        InvalidateView();
        return TRUE;
    }
    if (m_nState == kDragging) {
        m_ptCurrent = CPoint(x, y);
        DragStep(CPoint(x, y));
        InvalidateView();
        return TRUE;
    }
    Hover(flags, x, y);
    return m_nState == kOutside ? FALSE : TRUE;
}

void CVTModifyText::DragStep(const CPoint& mouse)
{
    const int code = m_nDragHandle;
    const int corner = (code - 1) / 5; // kOrigin, kCorner2, kCorner4, kCorner3
    const int kind = (code - 1) % 5;   // 0 Ctrl, 1 Shift, 2 plain corner, 3 edge with a key, 4 plain edge
    int prompt = kPromptFreeResize;
    CPoint& dragged = m_corners[corner];

    if (kind == 0) {
        dragged = OffsetPoint(dragged, mouse.x - m_ptAnchor.x, mouse.y - m_ptAnchor.y);
        WriteCorners();
        m_ptAnchor = mouse;
    } else if (kind == 1) {
        static const ProportionalCorners order[4] = {{kOrigin, kCorner2, kCorner3, kCorner4},
                                                     {kCorner2, kOrigin, kCorner4, kCorner3},
                                                     {kCorner4, kCorner3, kCorner2, kOrigin},
                                                     {kCorner3, kCorner4, kOrigin, kCorner2}};
        const ProportionalCorners& k = order[corner];
        const CPoint P = m_corners[k.p], A = m_corners[k.a], B = m_corners[k.b], Q = m_corners[k.q];
        const CLineEquation L = ParallelThrough(LineThrough(P, A), mouse);
        CPoint p2, a2, b2;
        if (CrossLines(L, LineThrough(P, Q), p2) && CrossLines(L, LineThrough(A, Q), a2) &&
            CrossLines(LineThrough(B, Q), ParallelThrough(LineThrough(P, B), p2), b2)) {
            m_corners[k.p] = p2;
            m_corners[k.a] = a2;
            m_corners[k.b] = b2;
            WriteCorners();
        }
        m_ptAnchor = mouse;
        prompt = kPromptProportional;
    } else if (kind == 2 && corner == kOrigin) {
        const CPoint centre = MidPoint(m_corners[kOrigin], m_corners[kCorner4]);
        TurnPointsAbout(m_corners, 4, centre, m_corners[kOrigin], mouse);
        WriteCorners();
        m_ptAnchor = mouse;
        prompt = kPromptRotating;
    } else if (kind == 2) {
        RotateWithEscapement(mouse);
        prompt = kPromptRotating;
    } else {
        // The edges by their first corner: origin-2, 2-4, 4-3, 3-origin.
        static const int edgeEnd[4] = {kCorner2, kCorner4, kCorner3, kOrigin};
        const int first = corner;
        const int second = edgeEnd[corner];
        if (kind == 3) {
            for (const int c : {first, second})
                m_corners[c] = OffsetPoint(m_corners[c], mouse.x - m_ptAnchor.x, mouse.y - m_ptAnchor.y);
        } else {
            const int oppositeFirst = edgeEnd[second];
            const int oppositeSecond = edgeEnd[oppositeFirst];
            const CPoint M = MidPoint(m_corners[first], m_corners[second]);
            const CPoint M2 = MidPoint(m_corners[oppositeFirst], m_corners[oppositeSecond]);
            CSize offset;
            if (EdgeOffsetAlongAxis(m_corners[first], m_corners[second], M, M2, mouse, offset))
                for (const int c : {first, second}) m_corners[c] = OffsetPoint(m_corners[c], offset.cx, offset.cy);
            prompt = kPromptAlongAxis;
        }
        WriteCorners();
        m_ptAnchor = mouse;
    }
    ShowPrompt(UINT(prompt));
}

// The text turns with its font: the escapement follows the mouse's angle
// about the origin from where the drag began (with Ctrl in steps of 45
// degrees), the box follows the mouse exactly.
void CVTModifyText::RotateWithEscapement(const CPoint& mouse)
{
    const CPoint origin = m_corners[kOrigin];
    const double a = AngleBetweenLines(origin.x, origin.y, m_ptAnchor.x, m_ptAnchor.y, origin.x, origin.y, mouse.x, mouse.y);
    double e = (m_dStartAngle - a * 180.0 / Geo::kPi) * 10.0;
    if (m_bCtrlDown) e = RoundToInt(e / 450.0) * 450.0;
    LogFont font = m_textFont.GetLogFont();
    font.lfEscapement = RoundToInt(e);
    CTextFont turned = m_textFont;
    turned.SetLogFont(font);

    const int dragged = (m_nDragHandle - 1) / 5;
    CPoint turning[3] = {m_corners[kCorner2], m_corners[kCorner4], m_corners[kCorner3]};
    TurnPointsAbout(turning, 3, origin, m_corners[dragged], mouse);
    m_corners[kCorner2] = turning[0];
    m_corners[kCorner4] = turning[1];
    m_corners[kCorner3] = turning[2];

    CPoint o, c2, c4, c3;
    m_pText->GetCorners(o, c2, c4, c3);
    if (turned == m_pText->GetTextFont() && c2 == m_corners[kCorner2] && c4 == m_corners[kCorner4] &&
        c3 == m_corners[kCorner3])
        return;
    MarkChanged();
    m_pText->SetTextInBox(turned, m_nBkMode, origin, m_corners[kCorner2], m_corners[kCorner4], m_corners[kCorner3]);
}

BOOL CVTModifyText::OnLButtonDown(UINT flags, int x, int y)
{
    if (!m_pText || !Evaluate(flags, x, y)) return FALSE;
    switch (m_nState) {
    case kOverBody:
        StartStep(kMoving, x, y);
        break;
    case kOverHandle: {
        // The keys held at the click decide the kind of drag.
        const int code = HitTestHandle(flags, x, y);
        if (code <= 0) break;
        m_nDragHandle = code;
        StartStep(kDragging, x, y);
        CPoint origin;
        m_pText->GetText(m_textFont, origin, m_nBkMode);
        m_dStartAngle = m_textFont.GetLogFont().lfEscapement / 10.0;
        break;
    }
    case kDragging:
    case kMoving:
        EndStep();
        m_nState = kIdle;
        Evaluate(flags, x, y);
        break;
    default: break;
    }
    InvalidateView();
    return TRUE;
}

// The first click of a double click on the body has started a move, whose
// held step the new wording then uses.
BOOL CVTModifyText::OnLButtonDblClk(UINT flags, int x, int y)
{
    if (!m_pText || !Evaluate(flags, x, y) || (m_nState != kOverBody && m_nState != kMoving)) return FALSE;
    CTextFont textFont;
    CPoint origin;
    int bkMode = 1;
    m_pText->GetText(textFont, origin, bkMode);
    std::string wording = textFont.GetText();
    const bool accepted = AskWording(m_pView, wording);
    if (accepted && wording != textFont.GetText()) {
        if (IsBlankWording(wording)) {
            // A text with nothing to show could be neither seen nor picked.
            RemoveText(false);
            return TRUE;
        }
        StepBeforeChange();
        textFont.SetText(wording);
        m_pText->SetText(textFont, origin.x, origin.y, bkMode);
    }
    if (m_nState == kMoving) EndStep();
    m_nState = kIdle;
    m_bCtrlDown = 0;
    InvalidateView();
    return TRUE;
}

BOOL CVTModifyText::OnLButtonUp(UINT, int, int) { return FALSE; }
BOOL CVTModifyText::OnRButtonDown(UINT, int, int) { return FALSE; }
BOOL CVTModifyText::OnRButtonDblClk(UINT, int, int) { return FALSE; }
BOOL CVTModifyText::OnRButtonUp(UINT, int, int) { return FALSE; }

// --- Keys --------------------------------------------------------------------------------------

BOOL CVTModifyText::OnReturnDown() { return FALSE; }
BOOL CVTModifyText::OnReturnUp() { return FALSE; }
BOOL CVTModifyText::OnDeleteUp() { return FALSE; }
BOOL CVTModifyText::OnShiftDown() { return TRUE; }
BOOL CVTModifyText::OnShiftUp() { return TRUE; }

BOOL CVTModifyText::OnCtrlDown()
{
    if (!m_pText) return FALSE;
    m_bCtrlDown = 1;
    return TRUE;
}

BOOL CVTModifyText::OnCtrlUp()
{
    m_bCtrlDown = 0;
    return TRUE;
}

BOOL CVTModifyText::OnDeleteDown()
{
    if (!m_pText) return FALSE;
    RemoveText(false);
    return TRUE;
}

// The owner lets go of the text too, whichever way it goes.
void CVTModifyText::RemoveText(bool copyFirst)
{
    CPage* page = m_pText->GetLayer();
    if (m_nState == kDragging || m_nState == kMoving) {
        MarkChanged();
        EndStep();
    } else {
        SaveUndoState();
    }
    m_nState = kIdle;
    if (copyFirst) OnEditCopy();
    CTextElement* text = m_pText;
    if (page) page->RemoveElement(text);
    delete text;
    m_pText = nullptr;
    EndEditing();
    InvalidateView();
}

// --- Pending step ----------------------------------------------------------------------------

void CVTModifyText::Cancel()
{
    if (m_nState == kDragging || m_nState == kMoving) EndStep();
    m_nState = kIdle;
    m_bCtrlDown = 0;
    InvalidateView();
}

// Undo during a move or drag takes it back: an unchanged text just ends
// the step, a changed one goes back through the step's own undo copy (so
// Redo can bring the change again).
BOOL CVTModifyText::UndoStep()
{
    const bool pending = m_nState == kDragging || m_nState == kMoving;
    const bool changed = pending && EndStep();
    m_nState = kIdle;
    m_bCtrlDown = 0;
    InvalidateView();
    // The document tells the view, which resets the tools.
    if (changed)
        if (CVEKDoc* doc = GetDocument()) doc->Undo();
    return TRUE;
}

BOOL CVTModifyText::HasPendingStep()
{
    return m_pText && (m_nState == kDragging || m_nState == kMoving) ? TRUE : FALSE;
}

// --- Tool bar choices -------------------------------------------------------------------------

// Colour and font keep the text's box where the user put it, unless the
// new font asks for a new size (ApplyTextStyle with relayBox).
void CVTModifyText::ApplyTextStyle(const CTextFont& textFont, bool relayBox)
{
    CPoint o, c2, c4, c3;
    m_pText->GetCorners(o, c2, c4, c3);
    if (relayBox) {
        const double d = LineAngle(c2.x, c2.y, o.x, o.y) + Geo::kPi;
        const double s = std::sin(d);
        const double c = std::cos(d);
        const CSize size = CTextElement::MeasureTextFont(textFont);
        c2 = OffsetPoint(o, size.cx, 0);
        c4 = OffsetPoint(o, size.cx, size.cy);
        c3 = OffsetPoint(o, 0, size.cy);
        RotatePoint(c2, o.x, o.y, s, c);
        RotatePoint(c4, o.x, o.y, s, c);
        RotatePoint(c3, o.x, o.y, s, c);
    }
    CPoint o0, c20, c40, c30;
    m_pText->GetCorners(o0, c20, c40, c30);
    if (textFont == m_pText->GetTextFont() && c2 == c20 && c4 == c40 && c3 == c30) return;
    StepBeforeChange();
    m_pText->SetTextInBox(textFont, m_pText->GetBkMode(), o, c2, c4, c3);
    if (m_nState == kDragging || m_nState == kMoving) {
        ReadCorners();
        CPoint origin;
        m_pText->GetText(m_textFont, origin, m_nBkMode);
    }
}

void CVTModifyText::OnFontColor()
{
    if (m_pText) {
        CTextFont textFont = m_pText->GetTextFont();
        textFont.SetColor(Settings().m_crFontColor);
        ApplyTextStyle(textFont, false);
    }
    InvalidateView();
}

void CVTModifyText::OnFontColorChanged()
{
    OnFontColor();
}

// Only the escapement of the text's own font is carried over: the tool
// bar's font is upright.
void CVTModifyText::OnFont()
{
    if (!m_pText) return;
    CTextFont textFont = m_pText->GetTextFont();
    LogFont font = Settings().m_lfDefaultFont;
    font.lfEscapement = textFont.GetLogFont().lfEscapement;
    textFont.SetLogFont(font);
    ApplyTextStyle(textFont, true);
    InvalidateView();
}

void CVTModifyText::OnFontChanged()
{
    if (m_pText) OnFont();
}

void CVTModifyText::OnCellColorChanged() {}
void CVTModifyText::OnCellColor() {}
void CVTModifyText::OnAlignment() {}

// --- Clipboard --------------------------------------------------------------------------------

void CVTModifyText::OnEditCopy()
{
    if (!m_pText || !GetDocument()) return;
    if (CVEKSrvrItem* item = CVEKSrvrItem::GetEmbeddedItem(GetDocument())) item->CopyElementToClipboard(m_pText);
}

void CVTModifyText::OnEditCut()
{
    if (m_pText) RemoveText(true);
}

BOOL CVTModifyText::CanCopy()
{
    return m_pText ? TRUE : FALSE;
}

// --- Drawing ----------------------------------------------------------------------------------

void CVTModifyText::Draw(CDC* dc, double scale, int originX, int originY, const CRect&)
{
    if (!dc || !m_pText) return;
    CPoint o, c2, c4, c3;
    m_pText->GetCorners(o, c2, c4, c3);
    CPointList outline;
    for (const CPoint& p : {o, c2, c4, c3, o}) outline.AddTail(p);
    DrawMappedPolyline(*dc, outline, scale, originX, originY);

    const CBrush previous = dc->SelectBrush(CBrush::Solid(Settings().m_crPromptColor2));
    for (const CPoint& p : {c2, c4, c3}) DrawPointMark(dc, p.x, p.y, scale, originX, originY);
    dc->SelectBrush(previous);
    DrawPointMark(dc, o.x, o.y, scale, originX, originY);
    DrawHandleHint(dc, scale, originX, originY);
}

// A small double-headed arrow at the handle under the mouse, along the
// way the handle moves the box: a corner along the box's diagonal, an edge
// midpoint toward the opposite edge's. The plain corners turn the text
// and their cursor says so; they get none.
void CVTModifyText::DrawHandleHint(CDC* dc, double s, int originX, int originY) const
{
    const int code = m_nHoverHandle;
    if (!IsCornerWithKey(code) && !IsEdgeCode(code)) return;
    const int handle = (code - 1) / 5;
    CPoint at;
    CPoint toward;
    if (IsCornerWithKey(code)) {
        static const int opposite[4] = {2, 3, 0, 1}; // origin-4, 2-3
        at = HandlePoint(handle);
        toward = HandlePoint(opposite[handle]);
    } else {
        at = HandlePoint(4 + handle);
        toward = HandlePoint(4 + (handle + 2) % 4);
    }
    const double dx = double(toward.x) - at.x;
    const double dy = double(toward.y) - at.y;
    const double length = std::hypot(dx, dy);
    if (!(length > 0.0)) return;
    const double ux = dx / length, uy = dy / length;
    const double vx = -uy, vy = ux;
    auto point = [&](double along, double across) {
        return ::ModelToDevicePoint(at.x + RoundToInt(along * s * ux + across * s * vx),
                                    at.y + RoundToInt(along * s * uy + across * s * vy), s, originX, originY);
    };
    const CPen previous = dc->SelectPen({PS_SOLID, 1, RGB(0, 0, 0)});
    auto segment = [dc](const CPoint& from, const CPoint& to) {
        dc->MoveTo(from.x, from.y);
        dc->LineTo(to.x, to.y);
        dc->LineTo(to.x, to.y + 1);
    };
    segment(point(6, 0), point(-6, 0));
    for (const double end : {5.0, -5.0}) segment(point(end, 1), point(end, -1));
    for (const double end : {4.0, -4.0}) segment(point(end, 2), point(end, -2));
    dc->SelectPen(previous);
}
