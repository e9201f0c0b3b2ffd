#include "editors/CVTFillConical.h"

#include "settings/CSystemSettings.h"

#include "geometry/Distance.h"
#include "geometry/Lines.h"
#include "geometry/Mapping.h"
#include "model/CClosedCurveElement.h"
#include "platform/CDC.h"

#include <cmath>
#include <vector>

namespace {

constexpr double kPi = 3.14159265359;
// Segments of the half circle between the start and end handles.
constexpr int kArcSegments = 64;

CPoint Turned(const CPoint& p, const CPoint& c, double radians)
{
    CPoint q = p;
    RotatePoint(q, c.x, c.y, std::sin(radians), std::cos(radians));
    return q;
}

} // namespace

CVTFillConical::CVTFillConical(CVEKView* view, CVTFill* owner) : CVTFillGradient(view, owner)
{
    CVTFillConical::Reset();
}

CVTFillConical::~CVTFillConical() = default;

void CVTFillConical::Reset()
{
    CVTFillGradient::Reset();
    m_ptPress = m_ptCurrent = CPoint(0, 0);
}

void CVTFillConical::Cancel()
{
    CVectorTool::Cancel();
    CVTFillGradient::Cancel();
}

CPoint CVTFillConical::Opposite(const CPoint& p, const CPoint& c)
{
    return Turned(p, c, kPi);
}

CPoint CVTFillConical::MiddlePoint(const CPoint& s, const CPoint& c, double t)
{
    return Turned(s, c, -kPi * t);
}

double CVTFillConical::AngleTowards(const CPoint& c, const CPoint& s)
{
    return AngleBetweenLines(c.x, c.y, c.x + 10, c.y, c.x, c.y, s.x, s.y) * 180.0 / kPi;
}

int CVTFillConical::HitHandle(const CPoint& p, UINT& prompt) const
{
    const Gradient g = ReadGradient();
    if (GetHandleRect(g.start).PtInRect(p)) {
        prompt = kPromptTurn;
        return kOverB;
    }
    if (GetHandleRect(g.centre).PtInRect(p)) {
        prompt = kPromptApex;
        return kOverA;
    }
    if (GetHandleRect(g.end).PtInRect(p)) {
        prompt = kPromptTurn;
        return kOverC;
    }
    if (GetHandleRect(MiddlePoint(g.start, g.centre, g.blend)).PtInRect(p)) {
        prompt = kPromptMiddle;
        return kOverMiddle;
    }
    return 0;
}

// The start colour is painted at the fill angle, so the fill angle always
// points from the apex to the start point, whichever handle moved.
bool CVTFillConical::Apply(int mode, const CPoint& press, const CPoint& click, Gradient& g) const
{
    switch (mode) {
    case kNewLine:
        g.centre = press;
        g.end = click;
        g.start = Opposite(click, press);
        g.angle = AngleTowards(g.centre, g.start);
        return true;
    case kMovingA: {
        // The handles keep their distance and direction about the new apex.
        const int radius = PointDistanceRounded(g.centre.x, g.centre.y, g.start.x, g.start.y);
        g.centre = click;
        g.start = Turned(CPoint(click.x + radius, click.y), click, g.angle * kPi / 180.0);
        g.end = Opposite(g.start, click);
        return true;
    }
    case kMovingB:
        if (click == g.centre) return false;
        g.start = click;
        g.end = Opposite(click, g.centre);
        g.angle = AngleTowards(g.centre, g.start);
        return true;
    case kMovingC:
        if (click == g.centre) return false;
        g.end = click;
        g.start = Opposite(click, g.centre);
        g.angle = AngleTowards(g.centre, g.start);
        return true;
    case kMovingMiddle: {
        if (click == g.centre) return false;
        double a = AngleBetweenLines(g.centre.x, g.centre.y, g.start.x, g.start.y, g.centre.x,
                                     g.centre.y, click.x, click.y);
        if (a > kPi) a = 2.0 * kPi - a;
        g.blend = a / kPi;
        return true;
    }
    default:
        return false;
    }
}

void CVTFillConical::DrawGuide(CDC* dc, double scale, int originX, int originY) const
{
    Gradient g = ReadGradient();
    if (m_nMode == kNewLine || IsGrabbed(m_nMode)) {
        Gradient preview = g;
        if (m_ptCurrent != m_ptPress && Apply(m_nMode, m_ptPress, m_ptCurrent, preview)) g = preview;
        else if (m_nMode == kNewLine) g.centre = g.start = g.end = m_ptPress;
    }

    // The half circle from S to E, counter-clockwise on the screen.
    double radius = 0.0;
    PointDistance(g.centre.x, g.centre.y, g.start.x, g.start.y, radius);
    const double from = LineAngle(g.centre.x, g.centre.y, g.start.x, g.start.y);
    std::vector<CPoint> arc;
    for (int i = 0; i <= kArcSegments; ++i) {
        const double a = from - kPi * i / kArcSegments;
        arc.push_back(ModelToDevicePoint(g.centre.x + RoundToInt(radius * std::cos(a)),
                                         g.centre.y + RoundToInt(radius * std::sin(a)), scale,
                                         originX, originY));
    }
    dc->Polyline(arc.data(), int(arc.size()));

    const CSystemSettings& s = Settings();
    DrawHandle(GetHandleRect(MiddlePoint(g.start, g.centre, g.blend)), s.m_crPaperColor, dc, scale,
               originX, originY);
    DrawHandle(GetHandleRect(g.end), s.m_crGradientEnd, dc, scale, originX, originY);
    DrawHandle(GetHandleRect(g.centre), s.m_crPromptColor2, dc, scale, originX, originY);
    DrawHandle(GetHandleRect(g.start), s.m_crGradientStart, dc, scale, originX, originY);
}
