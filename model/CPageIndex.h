// A spatial index of one page's curves, so that the searches the tools run
// on every mouse move (nearest node, point on a curve, crossing of curves)
// look only at what lies near the cursor instead of at every node of the
// page.
//
// Two grids of square cells: one files each curve under the cells its
// extent covers (the union of its outline, its nodes and its line shapes'
// bounds), with cells about the size of a typical curve; the other files
// each node under the cell of its position, with cells holding a few nodes
// each. Other kinds of elements are few and are simply kept in list order.
//
// The page tells the index when elements are appended, removed or changed
// (a change is whatever marks an element's bounds dirty: moving a point,
// editing nodes, new line attributes). A changed curve is filed again at
// the next search; the whole index is built on the first search after
// being reset, so pages that are never searched cost nothing.
//
// The index only narrows the candidates: the searches still ask the
// elements themselves, and in the page's list order, so they find exactly
// what a walk over the whole list finds.
#pragma once

#include "platform/CList.h"
#include "platform/Types.h"

#include <cstdint>
#include <unordered_map>
#include <vector>

class CCurveElement;
class CCurveNode;
class CGraphElement;

class CPageIndex {
public:
    // A node found in an area, with its curve's place in the page's list
    // and its own place in the curve's node list.
    struct NodeHit {
        std::uint64_t order;
        int ordinal;
        CCurveElement* curve;
        CCurveNode* node;
    };

    // Forgets everything; the next search builds the index afresh.
    void Reset();

    // Changes of the page's element list and of its elements.
    void ElementAdded(CGraphElement* element);
    void ElementRemoved(const CGraphElement* element);
    void ElementChanged(const CGraphElement* element);

    // Builds the index from the page's list, or files again the curves
    // that changed; every search calls it first.
    void Update(const CList<CGraphElement*>& elements);

    // Curves whose extent meets the rectangle (right and bottom exclusive),
    // in list order.
    void CurvesMeeting(const CRect& area, std::vector<CCurveElement*>& out);
    // The nodes lying in the rectangle (right and bottom exclusive), in list
    // order of their curves and node order within each curve.
    void NodesIn(const CRect& area, std::vector<NodeHit>& out);
    // Elements that are not curves, in list order.
    void OtherElements(std::vector<CGraphElement*>& out) const;
    // An element's place in the list order (larger is later); 0 for an
    // element the index does not hold.
    std::uint64_t OrderOf(const CGraphElement* element) const;

private:
    struct IndexedNode {
        CCurveNode* node;
        CPoint position;
    };
    struct Record {
        CGraphElement* element = nullptr;  // null: a free slot
        std::uint64_t order = 0;
        bool curve = false;
        bool stale = false;
        bool filed = false;
        // Too large to file under cells: tested on every search.
        bool big = false;
        std::uint32_t stamp = 0;
        CRect extent;
        // The curve cells filed under (inclusive) while filed and not big.
        int cellLeft = 0, cellTop = 0, cellRight = -1, cellBottom = -1;
        std::vector<IndexedNode> nodes;
    };
    struct NodeEntry {
        std::uint32_t slot;
        std::uint32_t ordinal;
    };
    using CellKey = std::uint64_t;

    std::uint32_t NewSlot(CGraphElement* element);
    static void Measure(Record& record);
    void File(std::uint32_t slot);
    void Unfile(std::uint32_t slot);
    void Build(const CList<CGraphElement*>& elements);
    void ChooseCellSizes();
    std::size_t LiveCurves() const;

    bool m_built = false;
    std::size_t m_builtCurves = 0;
    int m_curveCell = 2048;
    int m_nodeCell = 256;
    std::uint64_t m_nextOrder = 1;
    std::uint32_t m_stamp = 0;
    std::vector<Record> m_records;
    std::vector<std::uint32_t> m_freeSlots;
    std::unordered_map<const CGraphElement*, std::uint32_t> m_slotOf;
    std::vector<std::uint32_t> m_stale;
    std::vector<std::uint32_t> m_big;
    std::vector<std::uint32_t> m_others;
    std::unordered_map<CellKey, std::vector<std::uint32_t>> m_curveCells;
    std::unordered_map<CellKey, std::vector<NodeEntry>> m_nodeCells;
};
