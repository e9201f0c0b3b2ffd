#include "geometry/BoxEditing.h"

#include "geometry/Distance.h"
#include "geometry/Lines.h"

#include <cmath>
#include <cstdint>

CLineEquation LineThrough(const CPoint& p1, const CPoint& p2)
{
    CLineEquation line;
    LineThroughPoints(p1.x, p1.y, p2.x, p2.y, line.a, line.b, line.c);
    return line;
}

CLineEquation ParallelThrough(const CLineEquation& line, const CPoint& p)
{
    return {line.a, line.b, -(line.a * p.x + line.b * p.y)};
}

bool CrossLines(const CLineEquation& l1, const CLineEquation& l2, CPoint& out)
{
    double x = 0.0;
    double y = 0.0;
    if (IntersectLines(l1.a, l1.b, l1.c, l2.a, l2.b, l2.c, x, y) != 1) return false;
    if (!std::isfinite(x) || !std::isfinite(y)) return false;
    out = CPoint(RoundToInt(x), RoundToInt(y));
    return true;
}

void TurnPointsAbout(CPoint* points, int count, const CPoint& centre, const CPoint& from, const CPoint& to)
{
    const double angle = AngleBetweenLines(centre.x, centre.y, from.x, from.y, centre.x, centre.y, to.x, to.y);
    const double s = std::sin(angle);
    const double c = std::cos(angle);
    for (int i = 0; i < count; ++i) RotatePoint(points[i], centre.x, centre.y, s, c);
}

bool EdgeOffsetAlongAxis(const CPoint& edgeA, const CPoint& edgeB, const CPoint& edgeMid,
                         const CPoint& oppositeMid, const CPoint& mouse, CSize& offset)
{
    const CLineEquation axis = LineThrough(oppositeMid, edgeMid);
    const CLineEquation across = ParallelThrough(LineThrough(edgeA, edgeB), mouse);
    CPoint p;
    if (!CrossLines(axis, across, p)) return false;
    offset = CSize(RoundToInt(double(p.x) - edgeMid.x), RoundToInt(double(p.y) - edgeMid.y));
    return true;
}

CPoint MidPoint(const CPoint& p, const CPoint& q)
{
    return CPoint(int((std::int64_t(p.x) + q.x) / 2), int((std::int64_t(p.y) + q.y) / 2));
}
