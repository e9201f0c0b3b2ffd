// A closed outline prepared for many inside tests. IsPointInPolyline looks
// at every edge of the outline for each point; here the edges are sorted
// by where their rows start, with the farthest row each group reaches, so
// a test looks only at the edges that span the point's row.
#pragma once

#include "platform/CList.h"
#include "platform/Types.h"

#include <vector>

class CPolygonRows {
public:
    // The outline is copied, repeated points dropped as the inside test
    // drops them.
    explicit CPolygonRows(const CPointList& outline);

    // The answer of IsPointInPolyline(x, y, outline).
    bool Contains(int x, int y);

    // Edges and groups of edges looked at so far: the work done.
    long long Tested() const { return m_tested; }

private:
    struct Edge {
        CPoint p;
        CPoint q;
        int top = 0;     // the first row it spans
        int bottom = 0;  // one past its last row
    };

    void Visit(std::size_t node, std::size_t first, std::size_t last, std::size_t count, int x, int y,
               bool& inside);

    // Edges not lying along a row, by their first row.
    std::vector<Edge> m_edges;
    // A binary tree over m_edges: the farthest row of the edges below each
    // node.
    std::vector<int> m_reach;
    long long m_tested = 0;
};
