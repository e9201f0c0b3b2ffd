#include "geometry/CPolylineBoxTree.h"

#include <algorithm>

namespace {

// Segments per leaf: a handful is scanned faster than it is searched.
constexpr std::size_t kLeafSegments = 8;

} // namespace

void CPolylineBoxTree::Reset(const CPoint* points, std::size_t count)
{
    m_points = points;
    m_nodes.clear();
    if (count == 0) return;
    m_nodes.reserve(2 * (count / kLeafSegments + 1));
    Build(0, count - 1);
}

int CPolylineBoxTree::Build(std::size_t first, std::size_t last)
{
    const int index = int(m_nodes.size());
    m_nodes.emplace_back();
    Node node;
    node.first = first;
    node.last = last;
    if (last - first > kLeafSegments) {
        const std::size_t middle = first + (last - first) / 2;
        // The children share the middle vertex, so every segment is in one.
        const int lower = Build(first, middle);
        const int upper = Build(middle, last);
        const Node& a = m_nodes[std::size_t(lower)];
        const Node& b = m_nodes[std::size_t(upper)];
        node.left = std::min(a.left, b.left);
        node.top = std::min(a.top, b.top);
        node.right = std::max(a.right, b.right);
        node.bottom = std::max(a.bottom, b.bottom);
        node.lower = lower;
        node.upper = upper;
    } else {
        node.left = node.right = m_points[first].x;
        node.top = node.bottom = m_points[first].y;
        for (std::size_t k = first + 1; k <= last; ++k) {
            node.left = std::min(node.left, m_points[k].x);
            node.right = std::max(node.right, m_points[k].x);
            node.top = std::min(node.top, m_points[k].y);
            node.bottom = std::max(node.bottom, m_points[k].y);
        }
    }
    m_nodes[std::size_t(index)] = node;
    return index;
}

double CPolylineBoxTree::SquaredGap(const Node& node, const CPoint& q) const
{
    const double gx = std::max({0.0, double(node.left) - 1.0 - q.x, double(q.x) - node.right - 1.0});
    const double gy = std::max({0.0, double(node.top) - 1.0 - q.y, double(q.y) - node.bottom - 1.0});
    return gx * gx + gy * gy;
}
