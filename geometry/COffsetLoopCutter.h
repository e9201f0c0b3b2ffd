// The work behind RemoveOffsetLoops (OffsetNodes.h): the records sit in a
// linked list whose order keys never change (a crossing point takes the key
// of the first record it replaces), their segments in a grid over the
// list's bounds, and the signed area of the outline is kept as a running
// sum. A cut then costs the length of what it removes, not of the list, so
// an outline of thousands of nodes with a loop at every notch is cleaned in
// a few milliseconds.
#pragma once

#include "geometry/CRunNodePoint.h"

#include "platform/Types.h"

#include <cstdint>
#include <vector>

class COffsetLoopCutter {
public:
    COffsetLoopCutter(const CRunNodePointList& records, int closed);

    // Scans and cuts until no loop is left or 3 records or fewer remain.
    void Run();
    // The records left, in order.
    void GetRecords(CRunNodePointList& out) const;

private:
    struct Node {
        CRunNodePoint rec;
        int prev = -1;
        int next = -1;
        std::int64_t key = 0;
        unsigned version = 0;  // changes with the node's outgoing segment
        bool alive = true;
    };
    struct GridEntry {
        int node;
        unsigned version;
    };

    // Outgoing segment of a node: to the next one, or for the tail of a
    // closed list to the head; -1 when there is none.
    int SegmentEnd(int node) const;
    bool SamePlace(int a, int b) const { return m_nodes[a].rec.SamePlace(m_nodes[b].rec); }
    CRect SegmentBox(int node) const;
    void CellRange(const CRect& box, int& c0, int& r0, int& c1, int& r1) const;
    void BuildGrid();
    void Enter(int node);
    // The segment starts, after `after` in list order, whose boxes meet the
    // segment of `node`, ordered by key; a closed list's closing segment
    // only when `withClosing`.
    void Candidates(int node, int after, bool withClosing, std::vector<int>& out);
    // The first later segment that crosses or touches the segment of
    // `node`, and where; -1 when none does.
    int FindCrossing(int node, CPoint& crossing);

    // Twice the signed area contribution of the edge a -> b.
    __int128 Cross(const CRunNodePoint& a, const CRunNodePoint& b) const;
    __int128 ChainSum(int from, int to) const;
    int Append(const CRunNodePoint& rec, std::int64_t key);
    void Kill(int node);
    void Link(int a, int b);
    // Cuts the loop closed by segment `s` and the later segment `t`; true
    // when the rest of the list was kept, false when the loop was.
    bool Cut(int s, int t, const CPoint& x);

    std::vector<Node> m_nodes;
    int m_head = -1;
    int m_tail = -1;
    int m_count = 0;
    int m_closed = 0;
    // Twice the signed area of the outline closed from tail to head.
    __int128 m_doubleArea = 0;

    CPoint m_origin;
    int m_columns = 1;
    int m_rows = 1;
    double m_cellWidth = 1.0;
    double m_cellHeight = 1.0;
    std::vector<std::vector<GridEntry>> m_cells;
    std::vector<unsigned> m_seen;
    unsigned m_stamp = 0;
};
