// The node lists of the curves that cutting and joining make. Every node
// of a result is a new node on the same shared point as the node it
// copies, with the same kind; the nodes at a cut stand on the two new
// points given.
#pragma once

#include "model/CCurveElement.h"

#include "platform/Types.h"

class CSharedPoint;

// Where a cut lies among a curve's nodes (list positions): between node
// `before` and the node after it (for a closed curve the first node follows
// the last), or, when `at` is not -1, on that node itself.
struct CCutPlace {
    int before = -1;
    int at = -1;
};

// An open curve cut in two: the nodes up to the cut and the new point A,
// then the new point B and the nodes after the cut. Of two consecutive
// nodes at one place the earlier goes, so a cut on a node keeps that node
// once. False, with both lists empty, when either part would keep fewer
// than two nodes (a cut at an end of the curve).
bool CutOpenNodes(const CCurveElement& curve, const CCutPlace& place, CSharedPoint* a, CSharedPoint* b,
                  CCurveNodeList& first, CCurveNodeList& second);

// A closed curve opened at the cut: the new point B, the nodes after the
// cut round past the last node to the first up to the cut, then the new
// point A. False, with the list empty, when fewer than two nodes remain.
bool CutClosedNodes(const CCurveElement& curve, const CCutPlace& place, CSharedPoint* a, CSharedPoint* b,
                    CCurveNodeList& out);

// Two open curves as one: the first curve's nodes in the order that ends at
// its joining end (reversed when `reverseFirst`), then the second's in the
// order that starts at its joining end (reversed when `reverseSecond`).
// Where the two ends meet, the second's joining node is left out and the
// node at the joint runs smooth when the nodes on both sides of it do;
// ends that lie apart keep both nodes, joined by the segment between them.
CCurveNodeList JoinNodes(const CCurveElement& first, bool reverseFirst, const CCurveElement& second,
                         bool reverseSecond);
