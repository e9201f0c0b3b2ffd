#include "editors/CVTFillSquare.h"

#include "geometry/Distance.h"

namespace {

constexpr double kPi = 3.14159265359;

} // namespace

CVTFillSquare::CVTFillSquare(CVEKView* view, CVTFill* owner) : CVTFillRadial(view, owner) {}

CVTFillSquare::~CVTFillSquare() = default;

void CVTFillSquare::Cancel()
{
    Reset();
    Repaint(true);
}

double CVTFillSquare::AngleFacing(const CPoint& c, const CPoint& s)
{
    return AngleBetweenLines(c.x, c.y, c.x + 10, c.y, c.x, c.y, s.x, s.y) * 180.0 / kPi;
}

bool CVTFillSquare::Apply(int mode, const CPoint& press, const CPoint& click, Gradient& g) const
{
    if (!CVTFillRadial::Apply(mode, press, click, g)) return false;
    if (mode != kMovingMiddle) g.angle = AngleFacing(g.centre, g.start);
    return true;
}
