#include "editors/CVTFillLine.h"

#include "editors/CVTFill.h"
#include "ui/CLineFillParamDlg.h"

#include "settings/CSystemSettings.h"
#include "app/CVEKView.h"

#include "geometry/Distance.h"
#include "geometry/Lines.h"
#include "geometry/Mapping.h"
#include "geometry/Polyline.h"
#include "model/CClosedCurveElement.h"
#include "model/CPageSet.h"
#include "platform/CDC.h"
#include "res/StringTable.h"

#include <cmath>

namespace {

constexpr double kPi = 3.14159265359;
// The handle in pixels: the arrow's length, where its head begins, and
// the radius of the origin circle. The head is hit a little wider.
constexpr int kArrowPixels = 100;
constexpr int kArrowBasePixels = 85;
constexpr int kArrowHitBasePixels = 88;
constexpr int kCirclePixels = 7;

double Degrees(double radians)
{
    return radians * 180.0 / kPi;
}

} // namespace

CVTFillLine::CVTFillLine(CVEKView* view, CVTFill* owner) : CVTFillDragEditor(view, owner)
{
    CVTFillLine::Reset();
}

CVTFillLine::~CVTFillLine() = default;

void CVTFillLine::Activate()
{
    CVTFillEditor::Activate();
    Reset();
}

void CVTFillLine::Reset()
{
    if (HasPendingStep()) EndDrag(true);
    CVTFillEditor::Reset();
    m_ptPress = m_ptCurrent = CPoint(-1, -1);
    m_nMode = kIdle;
    m_changed = false;
}

BOOL CVTFillLine::HasPendingStep()
{
    return m_nMode == kMovingOrigin || m_nMode == kTurning ? TRUE : FALSE;
}

// --- The handle --------------------------------------------------------------------

void CVTFillLine::ArrowHead(const CPoint& q, double degrees, double tip, double base,
                            CPoint out[3])
{
    const double b = degrees * kPi / 180.0;
    const CPoint t(q.x + int(tip * std::cos(b)), q.y + int(tip * std::sin(b)));
    CPoint one(q.x + int(base * std::cos(b)), q.y + int(base * std::sin(b)));
    RotatePoint(one, t.x, t.y, std::sin(-kPi / 6.0), std::cos(-kPi / 6.0));
    CPoint two = one;
    RotatePoint(two, t.x, t.y, std::sin(kPi / 3.0), std::cos(kPi / 3.0));
    out[0] = t;
    out[1] = one;
    out[2] = two;
}

double CVTFillLine::DialogAngle(double fillAngle)
{
    return 360.0 - RoundToInt(10.0 * fillAngle) / 10.0;
}

double CVTFillLine::FillAngleOfDialog(double dialogAngle)
{
    return 360.0 - dialogAngle;
}

// --- Mouse -------------------------------------------------------------------------

QString CVTFillLine::LimitPrompt(CClosedCurveElement& curve, CVEKView& view)
{
    if (curve.GetFillKind() != FILL_LINES) return QString();
    const int stride = curve.GetLineFillStride();
    if (stride > 1) return LoadResString(kPromptThinned).arg(stride);
    // Asked for the paint of the view's drawing area, which then draws what
    // was laid out here.
    double scale = 1.0;
    int originX = 0, originY = 0;
    view.GetViewTransform(scale, originX, originY);
    switch (curve.GetLineFillShortfall(scale, originX, originY, view.GetDrawingRect())) {
    case CLineFillLayout::Shortfall::DrawnPlain: return LoadResString(kPromptDrawnPlain);
    case CLineFillLayout::Shortfall::CutShort: return LoadResString(kPromptCutShort);
    case CLineFillLayout::Shortfall::None: break;
    }
    return QString();
}

void CVTFillLine::ShowIdlePrompt() const
{
    const QString limit = m_pCurve && m_pView ? LimitPrompt(*m_pCurve, *m_pView) : QString();
    if (!limit.isEmpty())
        m_pView->ShowStatusPrompt(limit);
    else
        ShowPrompt(kPromptIdle);
}

void CVTFillLine::Hover(const CPoint& p, BOOL& result)
{
    result = TRUE;
    const CPoint origin = m_pCurve->GetLineFillOrigin();
    const double scale = GetViewScale();
    CPoint head[3];
    ArrowHead(origin, m_pCurve->GetLineFillAngle(), kArrowPixels * scale,
              kArrowHitBasePixels * scale, head);
    if (IsPointInPolygon(p.x, p.y, head, 3)) {
        m_nMode = kOverArrow;
        ShowPrompt(kPromptTurn);
        SetCursor(kCursorTurn);
        return;
    }
    if (PointDistanceRounded(p.x, p.y, origin.x, origin.y) <= kCirclePixels * scale) {
        m_nMode = kOverOrigin;
        ShowPrompt(kPromptMove);
        SetCursor(kCursorHandle);
        return;
    }
    CClosedCurveElement* curve = CurveAtOutline(p.x, p.y);
    if (!curve) {
        m_nMode = kIdle;
        ShowIdlePrompt();
        SetCursor(kCursorIdle);
        result = FALSE;
    } else if (curve != m_pCurve) {
        result = FALSE;
    }
}

void CVTFillLine::Follow(const CPoint& p)
{
    m_ptCurrent = p;
    if (m_nMode == kMovingOrigin) {
        if (m_pCurve->GetLineFillOrigin() != p) m_pCurve->SetLineFillOrigin(p.x, p.y);
    } else if (m_nMode == kTurning) {
        const CPoint o = m_pCurve->GetLineFillOrigin();
        const double angle = Degrees(LineAngle(o.x, o.y, p.x, p.y));
        if (m_pCurve->GetLineFillAngle() != angle) m_pCurve->SetLineFillAngle(angle);
    }
    m_changed = m_pCurve->GetLineFillOrigin() != m_grabbedOrigin
             || m_pCurve->GetLineFillAngle() != m_grabbedAngle;
}

BOOL CVTFillLine::OnMouseMove(UINT, int x, int y)
{
    if (!m_pCurve) return FALSE;
    const CPoint p(x, y);
    if (HasPendingStep()) {
        Follow(p);
        Repaint(true);
        return TRUE;
    }
    BOOL result = TRUE;
    Hover(p, result);
    if (result) Repaint(false);
    return result;
}

void CVTFillLine::Grab(int mode, const CPoint& click)
{
    BeginDrag(mode);
    m_grabbedOrigin = m_pCurve->GetLineFillOrigin();
    m_grabbedAngle = m_pCurve->GetLineFillAngle();
    m_ptPress = m_ptCurrent = click;
}

void CVTFillLine::RestoreGrabbed()
{
    m_pCurve->SetLineFillOrigin(m_grabbedOrigin.x, m_grabbedOrigin.y);
    m_pCurve->SetLineFillAngle(m_grabbedAngle);
}

BOOL CVTFillLine::OnLButtonDown(UINT flags, int x, int y)
{
    if (!m_pCurve) return FALSE;
    const CPoint click(x, y);
    switch (m_nMode) {
    case kIdle:
        if (InsideAnotherCurve(x, y)) return FALSE;
        m_ptPress = click;
        return TRUE;
    case kOverOrigin:
        Grab(kMovingOrigin, click);
        Repaint(false);
        return TRUE;
    case kOverArrow:
        Grab(kTurning, click);
        Repaint(false);
        return TRUE;
    default:
        // The drop, where the click is.
        Follow(click);
        EndDrag(true);
        OnMouseMove(flags, x, y);
        Repaint(true);
        return TRUE;
    }
}

BOOL CVTFillLine::OnLButtonUp(UINT, int, int)
{
    return FALSE;
}

BOOL CVTFillLine::OnRButtonDown(UINT, int, int)
{
    return FALSE;
}

BOOL CVTFillLine::OnLButtonDblClk(UINT, int, int)
{
    if (!m_pCurve) return FALSE;
    // The first click of the double click may have grabbed the handle.
    if (HasPendingStep()) EndDrag(false);
    m_nMode = kIdle;

    CLineFillParamDlg dialog(m_pView);
    const double shown = DialogAngle(m_pCurve->GetLineFillAngle());
    dialog.m_dAngle = shown;
    dialog.m_nSpacing = m_pCurve->GetLineFillSpacing();
    if (CPageSet* pageSet = GetPageSet()) dialog.m_nUnitsPerMM = pageSet->GetUnitsPerMM();
    if (dialog.DoModal() != QDialog::Accepted || !m_pCurve) return FALSE;

    // An angle left as shown keeps the curve's own, which the dialog
    // shows to one decimal only.
    const double angle = dialog.m_dAngle == shown ? m_pCurve->GetLineFillAngle()
                                                  : FillAngleOfDialog(dialog.m_dAngle);
    const int spacing = dialog.m_nSpacing;
    if (angle == m_pCurve->GetLineFillAngle() && spacing == m_pCurve->GetLineFillSpacing())
        return FALSE;
    SaveUndoState();
    m_pCurve->SetLineFillAngle(angle);
    m_pCurve->SetLineFillSpacing(spacing);
    Repaint(true);
    ShowIdlePrompt();
    return FALSE;
}

// --- Drawing -----------------------------------------------------------------------

void CVTFillLine::Draw(CDC* dc, double scale, int originX, int originY, const CRect&)
{
    if (!dc || !m_pCurve) return;
    const CPoint origin = m_pCurve->GetLineFillOrigin();
    CPoint at = origin;
    double angle = m_pCurve->GetLineFillAngle();
    if (m_nMode == kMovingOrigin) at = m_ptCurrent;
    else if (m_nMode == kTurning) angle = Degrees(LineAngle(origin.x, origin.y, m_ptCurrent.x, m_ptCurrent.y));

    const CSystemSettings& s = Settings();
    const CPen oldPen = dc->SelectPen(CPen{PS_SOLID, 1, s.m_crPromptColor2});
    const CBrush oldBrush = dc->SelectBrush(CBrush::Solid(s.m_crPromptColor1));
    const CPoint q = ModelToDevicePoint(at.x, at.y, scale, originX, originY);
    CPoint head[3];
    ArrowHead(q, angle, kArrowPixels, kArrowBasePixels, head);
    dc->MoveTo(q.x, q.y);
    dc->LineTo(head[0].x, head[0].y);
    dc->Polygon(head, 3);
    dc->Ellipse(q.x - kCirclePixels, q.y - kCirclePixels, q.x + kCirclePixels, q.y + kCirclePixels);
    dc->SelectBrush(oldBrush);
    dc->SelectPen(oldPen);
}
