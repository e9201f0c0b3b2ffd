// The segments of a polyline grouped into a binary tree of boxes, for
// searches of what lies near a point: a run of segments whose box is
// farther off than the best found so far is skipped whole, so a search
// near a long path looks at a few segments instead of all of them.
#pragma once

#include "platform/Types.h"

#include <cstddef>
#include <vector>

class CPolylineBoxTree {
public:
    CPolylineBoxTree() = default;
    // The points must stay in place while the tree is used.
    CPolylineBoxTree(const CPoint* points, std::size_t count) { Reset(points, count); }

    // The tree of other points, in the storage of the last one.
    void Reset(const CPoint* points, std::size_t count);

    // Calls visit(first, last) for runs of consecutive vertices (the
    // segments between them included) whose box, widened by one unit, lies
    // nearer to q than sqrt(bound), the nearer runs first. `visit` may lower
    // `bound` (a squared distance); runs farther than the lowered bound are
    // then skipped. Every vertex lies in some run handed over unless its box
    // is beyond the bound. The search ends early when `visit` returns false.
    template <class Visit>
    void VisitNear(const CPoint& q, double& bound, Visit&& visit) const;

private:
    struct Node {
        int left = 0, top = 0, right = 0, bottom = 0; // closed box of the run
        std::size_t first = 0, last = 0;              // vertex indices, inclusive
        int lower = -1, upper = -1;                   // child nodes, -1 for a leaf
    };

    int Build(std::size_t first, std::size_t last);
    double SquaredGap(const Node& node, const CPoint& q) const;

    const CPoint* m_points = nullptr;
    std::vector<Node> m_nodes;
};

template <class Visit>
void CPolylineBoxTree::VisitNear(const CPoint& q, double& bound, Visit&& visit) const
{
    if (m_nodes.empty()) return;
    // Depth-first, nearer child first; the stack holds the nodes still to
    // look at with the gap they had when they were put there.
    struct Pending {
        int node;
        double gap;
    };
    // Each level adds one entry at most, and halving a run of vertices
    // takes fewer than 64 levels.
    Pending stack[80];
    int top = 0;
    stack[top++] = {0, SquaredGap(m_nodes[0], q)};
    while (top > 0) {
        const Pending here = stack[--top];
        if (here.gap >= bound) continue;
        const Node& node = m_nodes[std::size_t(here.node)];
        if (node.lower < 0) {
            if (!visit(node.first, node.last)) return;
            continue;
        }
        const double gapLower = SquaredGap(m_nodes[std::size_t(node.lower)], q);
        const double gapUpper = SquaredGap(m_nodes[std::size_t(node.upper)], q);
        if (gapLower <= gapUpper) {
            stack[top++] = {node.upper, gapUpper};
            stack[top++] = {node.lower, gapLower};
        } else {
            stack[top++] = {node.lower, gapLower};
            stack[top++] = {node.upper, gapUpper};
        }
    }
}
