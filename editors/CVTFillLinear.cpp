#include "editors/CVTFillLinear.h"

#include "settings/CSystemSettings.h"

#include "geometry/Distance.h"
#include "geometry/Lines.h"
#include "geometry/Mapping.h"
#include "model/CClosedCurveElement.h"
#include "platform/CDC.h"

CVTFillLinear::CVTFillLinear(CVEKView* view, CVTFill* owner) : CVTFillGradient(view, owner)
{
    CVTFillLinear::Reset();
}

CVTFillLinear::~CVTFillLinear() = default;

CPoint CVTFillLinear::MiddlePoint(const CPoint& s, const CPoint& e, double t)
{
    return CPoint(s.x + int((double(e.x) - s.x) * t), s.y + int((double(e.y) - s.y) * t));
}

bool CVTFillLinear::BlendAt(const CPoint& s, const CPoint& e, const CPoint& drop, double& t)
{
    if (s == e) return false;
    double a = 0, b = 0, c = 0;
    LineThroughPoints(s.x, s.y, e.x, e.y, a, b, c);
    CPoint foot;
    PerpendicularFootToLine(drop.x, drop.y, a, b, c, foot);
    const int toFoot = PointDistanceRounded(s.x, s.y, foot.x, foot.y);
    if (IsPointInSegmentBox(foot.x, foot.y, s.x, s.y, e.x, e.y)) {
        t = double(toFoot) / PointDistanceRounded(s.x, s.y, e.x, e.y);
        return true;
    }
    t = toFoot < PointDistanceRounded(foot.x, foot.y, e.x, e.y) ? 0.1 : 0.9;
    return true;
}

int CVTFillLinear::HitHandle(const CPoint& p, UINT& prompt) const
{
    const Gradient g = ReadGradient();
    // A line without length has no middle; its ends stay reachable.
    if (g.start != g.end && GetHandleRect(MiddlePoint(g.start, g.end, g.blend)).PtInRect(p)) {
        prompt = kPromptMiddle;
        return kOverMiddle;
    }
    if (GetHandleRect(g.end).PtInRect(p)) {
        prompt = kPromptEnd;
        return kOverB;
    }
    if (GetHandleRect(g.start).PtInRect(p)) {
        prompt = kPromptStart;
        return kOverA;
    }
    return 0;
}

bool CVTFillLinear::Apply(int mode, const CPoint& press, const CPoint& click, Gradient& g) const
{
    switch (mode) {
    case kNewLine:
        g.start = press;
        g.end = click;
        return true;
    case kMovingA:
        // Start and end on one point would leave the gradient no direction.
        if (click == g.end) return false;
        g.start = click;
        return true;
    case kMovingB:
        if (click == g.start) return false;
        g.end = click;
        return true;
    case kMovingMiddle:
        return BlendAt(g.start, g.end, click, g.blend);
    default:
        return false;
    }
}

void CVTFillLinear::DrawGuide(CDC* dc, double scale, int originX, int originY) const
{
    const Gradient g = ReadGradient();
    CPoint p = g.start;
    CPoint q = g.end;
    switch (m_nMode) {
    case kNewLine:
        p = m_ptPress;
        q = m_ptCurrent;
        break;
    case kMovingA: p = m_ptCurrent; break;
    case kMovingB: q = m_ptCurrent; break;
    default: break;
    }
    CPoint h = MiddlePoint(p, q, g.blend);
    if (m_nMode == kMovingMiddle) {
        double a = 0, b = 0, c = 0;
        LineThroughPoints(p.x, p.y, q.x, q.y, a, b, c);
        PerpendicularFootToLine(m_ptCurrent.x, m_ptCurrent.y, a, b, c, h);
    }
    const CPoint dp = ModelToDevicePoint(p.x, p.y, scale, originX, originY);
    const CPoint dq = ModelToDevicePoint(q.x, q.y, scale, originX, originY);
    dc->MoveTo(dp.x, dp.y);
    dc->LineTo(dq.x, dq.y);
    COLORREF first = 0, second = 0;
    m_pCurve->GetGradientColors(first, second);
    DrawHandle(GetHandleRect(p), first, dc, scale, originX, originY);
    DrawHandle(GetHandleRect(q), second, dc, scale, originX, originY);
    DrawHandle(GetHandleRect(h), Settings().m_crPaperColor, dc, scale, originX, originY);
}
