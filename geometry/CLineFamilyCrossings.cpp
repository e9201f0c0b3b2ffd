#include "geometry/CLineFamilyCrossings.h"

#include "geometry/Lines.h"
#include "geometry/Polyline.h"

#include <algorithm>
#include <cmath>

namespace {

// A crossing is reported when its rounded point lies within the segment's
// box widened by a unit: up to 1.5 units past an end along each axis, so
// about 2.2 units of line constant past the segment's own span. The margin
// leaves room for that and for the rounding of the constants themselves,
// which grows with the coordinates.
double Reach(double c1, double c2)
{
    return 4.0 + 1e-6 * std::max(std::fabs(c1), std::fabs(c2));
}

} // namespace

CLineFamilyCrossings::CLineFamilyCrossings(const CPointList& polyline, double a, double b) : m_a(a), m_b(b)
{
    m_segments.reserve(std::size_t(std::max(0, polyline.GetCount() - 1)));
    POSITION pos = polyline.GetHeadPosition();
    if (pos) {
        CPoint prev = polyline.GetNext(pos);
        while (pos) {
            const CPoint p = polyline.GetNext(pos);
            const double c1 = -a * prev.x - b * prev.y;
            const double c2 = -a * p.x - b * p.y;
            const double reach = Reach(c1, c2);
            m_segments.push_back({prev, p, std::min(c1, c2) - reach, std::max(c1, c2) + reach});
            prev = p;
        }
    }
    const int count = int(m_segments.size());
    m_byLow.resize(std::size_t(count));
    for (int i = 0; i < count; ++i) m_byLow[std::size_t(i)] = i;
    m_byHigh = m_byLow;
    std::sort(m_byLow.begin(), m_byLow.end(),
              [this](int i, int j) { return m_segments[std::size_t(i)].low < m_segments[std::size_t(j)].low; });
    std::sort(m_byHigh.begin(), m_byHigh.end(),
              [this](int i, int j) { return m_segments[std::size_t(i)].high < m_segments[std::size_t(j)].high; });
}

void CLineFamilyCrossings::Restart()
{
    m_nextLow = 0;
    m_nextHigh = 0;
    m_active.clear();
}

int CLineFamilyCrossings::Crossings(double c, CPointList& out)
{
    // A segment's span starts no later than it ends, so one that has ended
    // has always been taken in first.
    while (m_nextLow < m_byLow.size() && m_segments[std::size_t(m_byLow[m_nextLow])].low <= c)
        m_active.insert(m_byLow[m_nextLow++]);
    while (m_nextHigh < m_byHigh.size() && m_segments[std::size_t(m_byHigh[m_nextHigh])].high < c)
        m_active.erase(m_byHigh[m_nextHigh++]);

    CPointList found;
    for (const int i : m_active) {
        const Segment& s = m_segments[std::size_t(i)];
        CPoint crossing;
        if (IntersectLineSegment(m_a, m_b, c, s.from.x, s.from.y, s.to.x, s.to.y, crossing) == 1)
            found.AddTail(crossing);
    }
    m_tested += static_cast<long long>(m_active.size());
    RemoveRepeatedPointsCyclic(found);
    out = std::move(found);
    return out.GetCount();
}
