#include "geometry/PolylineReduction.h"

#include <algorithm>
#include <cmath>

namespace {

// The run of points that one segment from `anchor` stands for: the points
// so far lie in the strip of half-width `halfWidth` around the ray from
// the anchor along `dir`, none behind the anchor.
class Run {
public:
    Run(const CDoublePoint& anchor, double halfWidth) : m_anchor(anchor), m_half(halfWidth) {}

    const CDoublePoint& Anchor() const { return m_anchor; }
    bool HasDirection() const { return m_hasDir; }
    const CDoublePoint& Farthest() const { return m_farthest; }

    // Takes `p` into the run; false when the run cannot stand for it.
    bool Take(const CDoublePoint& p)
    {
        const double vx = p.x - m_anchor.x, vy = p.y - m_anchor.y;
        if (!m_hasDir) {
            const double d = std::hypot(vx, vy);
            if (d <= m_half) return true;
            m_dirX = vx / d;
            m_dirY = vy / d;
            m_hasDir = true;
            m_farthest = p;
            m_reach = d;
            return true;
        }
        const double along = vx * m_dirX + vy * m_dirY;
        const double across = vx * m_dirY - vy * m_dirX;
        if (std::fabs(across) > m_half || along < -m_half) return false;
        if (along > m_reach) {
            m_reach = along;
            m_farthest = p;
        }
        return true;
    }

private:
    CDoublePoint m_anchor;
    double m_half;
    bool m_hasDir = false;
    double m_dirX = 0, m_dirY = 0;
    CDoublePoint m_farthest;
    double m_reach = 0;
};

void Append(std::vector<CDoublePoint>& out, const CDoublePoint& p)
{
    if (out.empty() || out.back() != p) out.push_back(p);
}

} // namespace

std::vector<CDoublePoint> SimplifyPolyline(const CPointList& points, double scale, double dx, double dy,
                                           double tolerance)
{
    std::vector<CDoublePoint> out;
    POSITION pos = points.GetHeadPosition();
    if (!pos) return out;
    auto map = [&](const CPoint& p) { return CDoublePoint(p.x * scale + dx, p.y * scale + dy); };
    CDoublePoint previous = map(points.GetNext(pos));
    out.push_back(previous);
    // Half the tolerance for the strip: the segment kept may lean by as
    // much again towards the farthest point.
    Run run(previous, tolerance / 2);
    while (pos) {
        const CDoublePoint p = map(points.GetNext(pos));
        if (run.Take(p)) {
            previous = p;
            continue;
        }
        Append(out, run.Farthest());
        Append(out, previous);
        run = Run(previous, tolerance / 2);
        run.Take(p);
        previous = p;
    }
    if (run.HasDirection()) Append(out, run.Farthest());
    Append(out, previous);
    return out;
}

void ThinPolyline(std::vector<CDoublePoint>& points, std::size_t maxPoints)
{
    maxPoints = std::max<std::size_t>(maxPoints, 2);
    const std::size_t n = points.size();
    if (n <= maxPoints) return;
    std::vector<CDoublePoint> kept;
    kept.reserve(maxPoints);
    // Point i of the maxPoints kept is the one at i / (maxPoints - 1) of the
    // list, so the first and the last are both kept.
    for (std::size_t i = 0; i < maxPoints; ++i) kept.push_back(points[i * (n - 1) / (maxPoints - 1)]);
    points = std::move(kept);
}
