#include "editors/CVTFillBitmap.h"

#include "editors/CVTFill.h"

#include "settings/CSystemSettings.h"

#include "geometry/Distance.h"
#include "geometry/Lines.h"
#include "geometry/Mapping.h"
#include "model/CClosedCurveElement.h"
#include "platform/CDC.h"

#include <QString>

#include <cmath>
#include <cstdlib>

namespace {

constexpr double kPi = 3.14159265359;
// Handles are hit within, and drawn across, six pixels of their point.
constexpr int kHandlePixels = 6;

} // namespace

CVTFillBitmap::CVTFillBitmap(CVEKView* view, CVTFill* owner) : CVTFillDragEditor(view, owner)
{
    CVTFillBitmap::Reset();
}

CVTFillBitmap::~CVTFillBitmap() = default;

void CVTFillBitmap::Activate()
{
    Reset();
}

void CVTFillBitmap::Reset()
{
    if (HasPendingStep()) EndDrag(true);
    CVTFillEditor::Reset();
    m_ptPress = m_ptCurrent = CPoint(-1, -1);
    m_savedAngle = 0.0;
    m_nMode = kIdle;
    m_changed = false;
}

BOOL CVTFillBitmap::HasPendingStep()
{
    return m_nMode >= kSizingHeight && m_nMode <= kTurning ? TRUE : FALSE;
}

// --- The tile ------------------------------------------------------------------------

CVTFillBitmap::Tile CVTFillBitmap::CurrentTile() const
{
    Tile t;
    if (!m_pCurve) return t;
    t.centre = m_pCurve->GetBitmapCenter();
    t.size = m_pCurve->GetBitmapTileSize();
    t.angle = m_pCurve->GetFillAngle();
    return t;
}

CPoint CVTFillBitmap::GetAnchorPoint(int type) const
{
    const Tile t = CurrentTile();
    const CPoint& p = t.centre;
    const int halfW = t.size.cx / 2;
    const int halfH = t.size.cy / 2;
    const double a = t.angle * kPi / 180.0;
    CPoint q = p;
    switch (type) {
    case kAnchorTop:
        q = CPoint(p.x, p.y - halfH);
        RotatePoint(q, p.x, p.y, std::sin(a), std::cos(a));
        break;
    case kAnchorRight:
        q = CPoint(p.x + halfW, p.y);
        RotatePoint(q, p.x, p.y, std::sin(a), std::cos(a));
        break;
    case kAnchorCorner: {
        const double r = std::sqrt(double(halfW) * halfW + double(halfH) * halfH);
        const double b = a - std::atan2(double(t.size.cy), double(t.size.cx));
        q = CPoint(p.x + int(r * std::cos(b)), p.y + int(r * std::sin(b)));
        break;
    }
    default:
        break;
    }
    return q;
}

bool CVTFillBitmap::HitsAnchor(int type, const CPoint& p) const
{
    const CPoint a = GetAnchorPoint(type);
    const double scale = GetViewScale();
    if (type == kAnchorCentre || type == kAnchorCorner)
        return PointDistanceRounded(p.x, p.y, a.x, a.y) <= kHandlePixels * scale;
    const int d = RoundToInt(kHandlePixels * scale);
    return std::abs(double(p.x) - a.x) <= d && std::abs(double(p.y) - a.y) <= d;
}

int CVTFillBitmap::SizingCursor(double radians)
{
    // Eight directions, opposite ones alike; the last sector before a full
    // turn is the first again.
    static const int kCursors[4] = {225, 224, 223, 222};
    const int k = int((radians + kPi / 8.0) / (kPi / 4.0));
    return kCursors[((k % 4) + 4) % 4];
}

// --- Mouse -------------------------------------------------------------------------

void CVTFillBitmap::Hover(const CPoint& p, BOOL& result)
{
    result = TRUE;
    if (HitsAnchor(kAnchorCentre, p)) {
        m_nMode = kOverCentre;
        ShowPrompt(kPromptCentre);
        SetCursor(kCursorHandle);
        return;
    }
    if (HitsAnchor(kAnchorCorner, p)) {
        m_nMode = kOverCorner;
        ShowPrompt(kPromptCorner);
        SetCursor(kCursorTurn);
        return;
    }
    for (const int edge : {kAnchorTop, kAnchorRight}) {
        if (!HitsAnchor(edge, p)) continue;
        m_nMode = edge == kAnchorTop ? kOverTop : kOverRight;
        ShowPrompt(kPromptSize);
        const CPoint centre = GetAnchorPoint(kAnchorCentre);
        const CPoint handle = GetAnchorPoint(edge);
        SetCursor(SizingCursor(LineAngle(centre.x, centre.y, handle.x, handle.y)));
        return;
    }
    if (CClosedCurveElement* curve = CurveAtOutline(p.x, p.y)) {
        if (curve != m_pCurve) result = FALSE;
        return;
    }
    m_nMode = kIdle;
    ShowPrompt(kPromptIdle);
    SetCursor(kCursorNone);
    result = FALSE;
}

bool CVTFillBitmap::Follow(const CPoint& p)
{
    const Tile t = CurrentTile();
    switch (m_nMode) {
    case kSizingHeight:
    case kSizingWidth: {
        const int size = 2 * PointDistanceRounded(p.x, p.y, t.centre.x, t.centre.y);
        // A tile without height or width could not be drawn; the last
        // size stays.
        if (size <= 0) return false;
        if (m_nMode == kSizingHeight)
            m_pCurve->SetBitmapTileSize(t.size.cx, size);
        else
            m_pCurve->SetBitmapTileSize(size, t.size.cy);
        break;
    }
    case kMoving:
        m_ptCurrent = p;
        m_pCurve->SetBitmapCenter(p.x, p.y);
        break;
    case kTurning:
        m_pCurve->SetFillAngle(m_savedAngle + AngleBetweenLines(t.centre.x, t.centre.y, m_ptPress.x,
                                                                m_ptPress.y, t.centre.x, t.centre.y,
                                                                p.x, p.y)
                                                  * 180.0 / kPi);
        break;
    default:
        break;
    }
    m_changed = !(CurrentTile() == m_grabbed);
    return true;
}

BOOL CVTFillBitmap::OnMouseMove(UINT, int x, int y)
{
    if (!m_pCurve) return FALSE;
    const CPoint p(x, y);
    BOOL result = TRUE;
    if (HasPendingStep()) {
        Follow(p);
        Repaint(true);
        return TRUE;
    }
    Hover(p, result);
    if (result) Repaint(false);
    return result;
}

void CVTFillBitmap::Grab(int mode, const CPoint& click)
{
    BeginDrag(mode);
    m_grabbed = CurrentTile();
    if (mode == kTurning) {
        m_savedAngle = m_grabbed.angle;
        m_ptPress = click;
    }
}

void CVTFillBitmap::RestoreGrabbed()
{
    m_pCurve->SetBitmapCenter(m_grabbed.centre.x, m_grabbed.centre.y);
    m_pCurve->SetBitmapTileSize(m_grabbed.size.cx, m_grabbed.size.cy);
    m_pCurve->SetFillAngle(m_grabbed.angle);
}

BOOL CVTFillBitmap::OnLButtonDown(UINT, int x, int y)
{
    if (!m_pCurve) return FALSE;
    const CPoint click(x, y);
    switch (m_nMode) {
    case kIdle:
        if (InsideAnotherCurve(x, y)) return FALSE;
        m_ptPress = click;
        return TRUE;
    case kOverCentre: Grab(kMoving, click); break;
    case kOverCorner: Grab(kTurning, click); break;
    case kOverTop: Grab(kSizingHeight, click); break;
    case kOverRight: Grab(kSizingWidth, click); break;
    default:
        // The drop, where the click is.
        if (!Follow(click)) {
            CVTFill::ShowMessage(kMessageZeroTile);
            return TRUE;
        }
        EndDrag(true);
        Repaint(true);
        return TRUE;
    }
    Repaint(false);
    return TRUE;
}

BOOL CVTFillBitmap::OnLButtonUp(UINT, int, int)
{
    return FALSE;
}

BOOL CVTFillBitmap::OnRButtonDown(UINT, int, int)
{
    return FALSE;
}

BOOL CVTFillBitmap::OnLButtonDblClk(UINT, int x, int y)
{
    if (!m_pCurve || !m_pCurve->GetBoundRect().PtInRect(CPoint(x, y))) return FALSE;
    // The first click of the double click may have grabbed a handle.
    if (HasPendingStep()) EndDrag(false);
    const QString path = CVTFill::AskPictureFile();
    if (path.isEmpty()) return TRUE;
    BeginUndoStep();
    if (!m_pCurve->LoadFillBitmap(path)) {
        DropUndoStep();
        CVTFill::ShowMessage(CVTFill::kMessageCannotOpen);
        return TRUE;
    }
    CommitUndoStep();
    m_nMode = kIdle;
    Repaint(true);
    return TRUE;
}

// --- Drawing -----------------------------------------------------------------------

void CVTFillBitmap::Draw(CDC* dc, double scale, int originX, int originY, const CRect&)
{
    if (!dc || !m_pCurve) return;
    const CSystemSettings& s = Settings();
    auto device = [&](int anchor) {
        const CPoint p = GetAnchorPoint(anchor);
        return ModelToDevicePoint(p.x, p.y, scale, originX, originY);
    };
    const CPoint p = device(kAnchorCentre);
    const CPoint c = device(kAnchorCorner);
    const CPoint m1 = device(kAnchorTop);
    const CPoint m2 = device(kAnchorRight);

    const CPen oldPen = dc->SelectPen(CPen{PS_DOT, 1, s.m_crPromptColor2});
    const CBrush oldBrush = dc->SelectBrush(CBrush::Solid(s.m_crPromptColor2));
    const CPoint frame[5] = {c, CPoint(2 * m1.x - c.x, 2 * m1.y - c.y),
                             CPoint(2 * p.x - c.x, 2 * p.y - c.y),
                             CPoint(2 * m2.x - c.x, 2 * m2.y - c.y), c};
    dc->Polyline(frame, 5);

    dc->SelectPen(CPen{PS_SOLID, 1, s.m_crPromptColor1});
    const int d = kHandlePixels;
    dc->Ellipse(p.x - d, p.y - d, p.x + d, p.y + d);
    dc->Ellipse(c.x - d, c.y - d, c.x + d, c.y + d);
    dc->Rectangle(m1.x - d, m1.y - d, m1.x + d, m1.y + d);
    dc->Rectangle(m2.x - d, m2.y - d, m2.x + d, m2.y + d);
    dc->SelectBrush(oldBrush);
    dc->SelectPen(oldPen);
}
