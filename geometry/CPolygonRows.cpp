#include "geometry/CPolygonRows.h"

#include "geometry/Polyline.h"

#include <algorithm>
#include <climits>

namespace {

// Whether the horizontal ray from (x, y) towards +x crosses the edge p-q,
// decided as IsPointInPolygon decides it (in 128-bit integers, the edge
// known to span the row).
bool CrossesRightOf(const CPoint& p, const CPoint& q, int x, int y)
{
    const __int128 dy = __int128(q.y) - p.y;
    const __int128 lhs = (__int128(x) - p.x) * dy;
    const __int128 rhs = (__int128(y) - p.y) * (__int128(q.x) - p.x);
    return dy > 0 ? lhs < rhs : lhs > rhs;
}

} // namespace

CPolygonRows::CPolygonRows(const CPointList& outline)
{
    CPointList points(outline);
    RemoveRepeatedPointsCyclic(points);
    if (points.GetCount() < 3) return;
    const std::vector<CPoint> v(points.begin(), points.end());
    const std::size_t n = v.size();
    for (std::size_t i = 0, j = n - 1; i < n; j = i++) {
        const CPoint& p = v[i];
        const CPoint& q = v[j];
        // An edge along a row spans none: one end must lie below the row
        // and the other at or above it.
        if (p.y == q.y) continue;
        m_edges.push_back({p, q, std::min(p.y, q.y), std::max(p.y, q.y)});
    }
    std::sort(m_edges.begin(), m_edges.end(), [](const Edge& e, const Edge& f) { return e.top < f.top; });

    std::size_t leaves = 1;
    while (leaves < m_edges.size()) leaves *= 2;
    m_reach.assign(2 * leaves, INT_MIN);
    for (std::size_t i = 0; i < m_edges.size(); ++i) m_reach[leaves + i] = m_edges[i].bottom;
    for (std::size_t k = leaves - 1; k >= 1; --k) m_reach[k] = std::max(m_reach[2 * k], m_reach[2 * k + 1]);
}

bool CPolygonRows::Contains(int x, int y)
{
    if (m_edges.empty()) return false;
    // Edges starting at or above the row, of which those reaching past it
    // span it.
    const auto end = std::upper_bound(m_edges.begin(), m_edges.end(), y,
                                      [](int row, const Edge& e) { return row < e.top; });
    const std::size_t count = std::size_t(end - m_edges.begin());
    bool inside = false;
    if (count > 0) Visit(1, 0, m_reach.size() / 2, count, x, y, inside);
    return inside;
}

void CPolygonRows::Visit(std::size_t node, std::size_t first, std::size_t last, std::size_t count, int x, int y,
                         bool& inside)
{
    ++m_tested;
    if (first >= count || m_reach[node] <= y) return;
    if (last - first == 1) {
        const Edge& e = m_edges[first];
        if (CrossesRightOf(e.p, e.q, x, y)) inside = !inside;
        return;
    }
    const std::size_t middle = first + (last - first) / 2;
    Visit(2 * node, first, middle, count, x, y, inside);
    Visit(2 * node + 1, middle, last, count, x, y, inside);
}
