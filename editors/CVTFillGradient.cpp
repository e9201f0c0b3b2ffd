#include "editors/CVTFillGradient.h"

#include "settings/CSystemSettings.h"
#include "app/CVEKView.h"

#include "geometry/Mapping.h"
#include "model/CClosedCurveElement.h"
#include "platform/CDC.h"

#include <QApplication>

#include <cmath>

namespace {

constexpr int kHandlePixels = 7;

} // namespace

CVTFillGradient::CVTFillGradient(CVEKView* view, CVTFill* owner) : CVTFillEditor(view, owner) {}

CVTFillGradient::~CVTFillGradient() = default;

void CVTFillGradient::Activate()
{
    CVTFillEditor::Activate();
    Reset();
}

void CVTFillGradient::Deactivate()
{
    Cancel();
    CVTFillEditor::Deactivate();
}

void CVTFillGradient::Reset()
{
    CVTFillEditor::Reset();
    m_nMode = kIdle;
}

void CVTFillGradient::Cancel()
{
    Reset();
    Repaint(false);
}

BOOL CVTFillGradient::UndoStep()
{
    Cancel();
    return TRUE;
}

BOOL CVTFillGradient::HasPendingStep()
{
    return m_nMode == kNewLine || IsGrabbed(m_nMode) ? TRUE : FALSE;
}

void CVTFillGradient::Beep()
{
    QApplication::beep();
}

CRect CVTFillGradient::GetHandleRect(const CPoint& p) const
{
    const int d = int(kHandlePixels * GetViewScale());
    return CRect(p.x - d, p.y - d, p.x + d, p.y + d);
}

void CVTFillGradient::DrawHandle(const CRect& rect, COLORREF colour, CDC* dc, double scale,
                                 int originX, int originY)
{
    if (!dc) return;
    const CRect d = ModelToDeviceRect(rect.left, rect.top, rect.right, rect.bottom, scale, originX,
                                      originY);
    const CBrush old = dc->SelectBrush(CBrush::Solid(colour));
    dc->Rectangle(d.left, d.top, d.right, d.bottom);
    dc->SelectBrush(old);
}

CVTFillGradient::Gradient CVTFillGradient::ReadGradient() const
{
    Gradient g;
    if (!m_pCurve) return g;
    g.start = m_pCurve->GetGradientStart();
    g.end = m_pCurve->GetGradientEnd();
    g.centre = m_pCurve->GetGradientCenter();
    g.blend = m_pCurve->GetBlendPosition();
    g.angle = m_pCurve->GetFillAngle();
    return g;
}

bool CVTFillGradient::WriteGradient(const Gradient& g)
{
    if (!m_pCurve || g == ReadGradient()) return false;
    SaveUndoState();
    m_pCurve->SetGradientPoints(g.start.x, g.start.y, g.end.x, g.end.y);
    m_pCurve->SetGradientCenter(g.centre.x, g.centre.y);
    m_pCurve->SetBlendPosition(g.blend);
    m_pCurve->SetFillAngle(g.angle);
    return true;
}

BOOL CVTFillGradient::OnMouseMove(UINT, int x, int y)
{
    if (!m_pCurve) return FALSE;
    const CPoint at(x, y);
    if (m_nMode == kNewLine || IsGrabbed(m_nMode)) {
        m_ptCurrent = at;
        Repaint(false);
        return TRUE;
    }

    UINT prompt = 0;
    if (const int mode = HitHandle(at, prompt)) {
        m_nMode = mode;
        ShowPrompt(prompt);
        SetCursor(kCursorHandle);
        Repaint(false);
        return TRUE;
    }
    // Near an outline the hover stays, so a handle on the curve's own
    // outline can still be grabbed.
    if (CClosedCurveElement* curve = CurveAtOutline(x, y)) {
        if (curve != m_pCurve) return FALSE;
        Repaint(false);
        return TRUE;
    }
    m_nMode = kIdle;
    ShowPrompt(kPromptIdle);
    if (const int cursor = IdleCursor()) SetCursor(cursor);
    return FALSE;
}

BOOL CVTFillGradient::OnLButtonDown(UINT flags, int x, int y)
{
    if (!m_pCurve) return FALSE;
    const CPoint click(x, y);
    switch (m_nMode) {
    case kIdle:
        if (InsideAnotherCurve(x, y)) return FALSE;
        m_ptPress = m_ptCurrent = click;
        m_nMode = kNewLine;
        Repaint(false);
        return TRUE;
    case kOverA:
    case kOverB:
    case kOverMiddle:
    case kOverC:
        m_ptPress = m_ptCurrent = click;
        m_nMode = m_nMode == kOverA ? kMovingA
                : m_nMode == kOverB ? kMovingB
                : m_nMode == kOverMiddle ? kMovingMiddle
                                         : kMovingC;
        Repaint(false);
        return TRUE;
    default:
        break;
    }

    // The second click of an action.
    m_ptCurrent = click;
    if (click == m_ptPress && KeepsOpenOnRepeatedClick(m_nMode)) {
        if (BeepsOnRepeatedClick()) Beep();
        return TRUE;
    }
    Gradient g = ReadGradient();
    if (!Apply(m_nMode, m_ptPress, click, g)) {
        Beep();
        return TRUE;
    }
    const bool changed = WriteGradient(g);
    m_nMode = kIdle;
    OnMouseMove(flags, x, y);
    Repaint(changed);
    return TRUE;
}

BOOL CVTFillGradient::OnLButtonUp(UINT, int, int)
{
    return FALSE;
}

BOOL CVTFillGradient::OnLButtonDblClk(UINT, int, int)
{
    return FALSE;
}

void CVTFillGradient::Draw(CDC* dc, double scale, int originX, int originY, const CRect&)
{
    if (!dc || !m_pCurve) return;
    const CPen oldPen = dc->SelectPen(CPen{PS_SOLID, 1, Settings().m_crPromptColor2});
    const CBrush oldBrush = dc->GetBrush();
    DrawGuide(dc, scale, originX, originY);
    dc->SelectBrush(oldBrush);
    dc->SelectPen(oldPen);
}
