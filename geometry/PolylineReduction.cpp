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
            const double d2 = vx * vx + vy * vy;
            if (d2 <= m_half * m_half) return true;
            const double d = std::sqrt(d2);
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

// The points the tolerance keeps, of which every `stride`-th is held: when
// more than the most are held, every other one is let go and the stride
// doubles.
class KeptPoints {
public:
    explicit KeptPoints(std::size_t most) : m_most(std::max<std::size_t>(most, 2)) {}

    void Add(const CDoublePoint& p)
    {
        if (m_hasLast && m_last == p) return;
        m_last = p;
        m_hasLast = true;
        if (m_count++ % m_stride != 0) return;
        m_held.push_back(p);
        if (m_held.size() <= m_most) return;
        std::size_t kept = 0;
        for (std::size_t i = 0; i < m_held.size(); i += 2) m_held[kept++] = m_held[i];
        m_held.resize(kept);
        m_stride *= 2;
    }
    // The held points and the last one added.
    std::vector<CDoublePoint> Take()
    {
        if (m_hasLast && (m_held.empty() || m_held.back() != m_last)) m_held.push_back(m_last);
        return std::move(m_held);
    }

private:
    std::size_t m_most;
    std::vector<CDoublePoint> m_held;
    std::size_t m_count = 0;
    std::size_t m_stride = 1;
    CDoublePoint m_last;
    bool m_hasLast = false;
};

} // namespace

std::vector<CDoublePoint> SimplifyPolyline(const CPointList& points, double scale, double dx, double dy,
                                           double tolerance, std::size_t maxPoints)
{
    KeptPoints out(maxPoints);
    POSITION pos = points.GetHeadPosition();
    if (!pos) return out.Take();
    auto map = [&](const CPoint& p) { return CDoublePoint(p.x * scale + dx, p.y * scale + dy); };
    CDoublePoint previous = map(points.GetNext(pos));
    out.Add(previous);
    // Half the tolerance for the strip: the segment kept may lean by as
    // much again towards the farthest point.
    Run run(previous, tolerance / 2);
    while (pos) {
        const CDoublePoint p = map(points.GetNext(pos));
        if (run.Take(p)) {
            previous = p;
            continue;
        }
        out.Add(run.Farthest());
        out.Add(previous);
        run = Run(previous, tolerance / 2);
        run.Take(p);
        previous = p;
    }
    if (run.HasDirection()) out.Add(run.Farthest());
    out.Add(previous);
    return out.Take();
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
