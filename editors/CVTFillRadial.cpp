#include "editors/CVTFillRadial.h"

#include "settings/CSystemSettings.h"

#include "geometry/Distance.h"
#include "geometry/Lines.h"
#include "geometry/Mapping.h"
#include "model/CClosedCurveElement.h"
#include "platform/CDC.h"

CVTFillRadial::CVTFillRadial(CVEKView* view, CVTFill* owner) : CVTFillGradient(view, owner)
{
    CVTFillRadial::Reset();
}

CVTFillRadial::~CVTFillRadial() = default;

CPoint CVTFillRadial::MiddlePoint(const CPoint& s, const CPoint& c, double t)
{
    return CPoint(s.x + int((double(c.x) - s.x) * t), s.y + int((double(c.y) - s.y) * t));
}

bool CVTFillRadial::BlendAt(const CPoint& s, const CPoint& c, const CPoint& drop, double& t)
{
    if (s == c) return false;
    double a = 0, b = 0, k = 0;
    LineThroughPoints(s.x, s.y, c.x, c.y, a, b, k);
    CPoint foot;
    PerpendicularFootToLine(drop.x, drop.y, a, b, k, foot);
    const int toFoot = PointDistanceRounded(s.x, s.y, foot.x, foot.y);
    if (IsPointInSegmentBox(foot.x, foot.y, s.x, s.y, c.x, c.y)) {
        t = double(toFoot) / PointDistanceRounded(s.x, s.y, c.x, c.y);
        return true;
    }
    t = toFoot < PointDistanceRounded(foot.x, foot.y, c.x, c.y) ? 0.0 : 1.0;
    return true;
}

int CVTFillRadial::HitHandle(const CPoint& p, UINT& prompt) const
{
    const Gradient g = ReadGradient();
    if (g.start != g.centre && GetHandleRect(MiddlePoint(g.start, g.centre, g.blend)).PtInRect(p)) {
        prompt = kPromptMiddle;
        return kOverMiddle;
    }
    if (GetHandleRect(g.centre).PtInRect(p)) {
        prompt = kPromptCentre;
        return kOverA;
    }
    if (GetHandleRect(g.start).PtInRect(p)) {
        prompt = kPromptStart;
        return kOverB;
    }
    return 0;
}

bool CVTFillRadial::Apply(int mode, const CPoint& press, const CPoint& click, Gradient& g) const
{
    switch (mode) {
    case kNewLine:
        g.centre = press;
        g.start = click;
        return true;
    case kMovingA:
        // A centre on the start point leaves the middle handle no line.
        if (click == g.start) return false;
        g.centre = click;
        return true;
    case kMovingB:
        if (click == g.centre) return false;
        g.start = click;
        return true;
    case kMovingMiddle:
        return BlendAt(g.start, g.centre, click, g.blend);
    default:
        return false;
    }
}

void CVTFillRadial::DrawGuide(CDC* dc, double scale, int originX, int originY) const
{
    const Gradient g = ReadGradient();
    CPoint c = g.centre;
    CPoint s = g.start;
    switch (m_nMode) {
    case kNewLine:
        c = m_ptPress;
        s = m_ptCurrent;
        break;
    case kMovingA: c = m_ptCurrent; break;
    case kMovingB: s = m_ptCurrent; break;
    default: break;
    }
    CPoint h = MiddlePoint(s, c, g.blend);
    if (m_nMode == kMovingMiddle) {
        double a = 0, b = 0, k = 0;
        LineThroughPoints(s.x, s.y, c.x, c.y, a, b, k);
        PerpendicularFootToLine(m_ptCurrent.x, m_ptCurrent.y, a, b, k, h);
    }
    const CPoint dc1 = ModelToDevicePoint(c.x, c.y, scale, originX, originY);
    const CPoint ds = ModelToDevicePoint(s.x, s.y, scale, originX, originY);
    dc->MoveTo(dc1.x, dc1.y);
    dc->LineTo(ds.x, ds.y);
    DrawHandle(GetHandleRect(c), m_pCurve->GetCenterColor(), dc, scale, originX, originY);
    DrawHandle(GetHandleRect(s), m_pCurve->GetStartColor(), dc, scale, originX, originY);
    DrawHandle(GetHandleRect(h), Settings().m_crPaperColor, dc, scale, originX, originY);
}
