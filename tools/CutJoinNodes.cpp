#include "tools/CutJoinNodes.h"

#include "model/CCurveNode.h"
#include "model/CSharedPoint.h"

#include <algorithm>
#include <vector>

namespace {

// Stand-ins for the new points at a cut, before nodes are made.
struct NodeSpec {
    CSharedPoint* point;
    int kind;
    CPoint position;
};

NodeSpec SpecOf(const CCurveNode* node) { return {node->GetPoint(), node->GetKind(), node->GetPosition()}; }

std::vector<NodeSpec> SpecsOf(const CCurveElement& curve)
{
    std::vector<NodeSpec> specs;
    for (const CCurveNode* node : curve.Nodes()) specs.push_back(SpecOf(node));
    return specs;
}

// Of two consecutive nodes at one place the earlier goes.
void DropRepeated(std::vector<NodeSpec>& specs)
{
    std::vector<NodeSpec> kept;
    for (std::size_t i = 0; i < specs.size(); ++i) {
        if (i + 1 < specs.size() && specs[i].position == specs[i + 1].position) continue;
        kept.push_back(specs[i]);
    }
    specs.swap(kept);
}

CCurveNodeList MakeNodes(const std::vector<NodeSpec>& specs)
{
    CCurveNodeList nodes;
    for (const NodeSpec& s : specs) nodes.AddTail(new CCurveNode(s.point, s.kind));
    return nodes;
}

NodeSpec CutNode(CSharedPoint* point, const CPoint& position) { return {point, NODE_CORNER, position}; }

// The node list index where the part after the cut starts.
int FirstAfterCut(const CCutPlace& place) { return place.at >= 0 ? place.at : place.before + 1; }

// The last node list index up to the cut.
int LastBeforeCut(const CCutPlace& place) { return place.at >= 0 ? place.at : place.before; }

} // namespace

bool CutOpenNodes(const CCurveElement& curve, const CCutPlace& place, CSharedPoint* a, CSharedPoint* b,
                  CCurveNodeList& first, CCurveNodeList& second)
{
    first.RemoveAll();
    second.RemoveAll();
    const std::vector<NodeSpec> nodes = SpecsOf(curve);
    const int count = int(nodes.size());
    if (!a || !b || place.before < 0 || place.before >= count) return false;
    const CPoint cut = a->GetPosition();
    std::vector<NodeSpec> head(nodes.begin(), nodes.begin() + LastBeforeCut(place) + 1);
    head.push_back(CutNode(a, cut));
    std::vector<NodeSpec> tail{CutNode(b, cut)};
    tail.insert(tail.end(), nodes.begin() + std::min(FirstAfterCut(place), count), nodes.end());
    DropRepeated(head);
    DropRepeated(tail);
    if (head.size() < 2 || tail.size() < 2) return false;
    first = MakeNodes(head);
    second = MakeNodes(tail);
    return true;
}

bool CutClosedNodes(const CCurveElement& curve, const CCutPlace& place, CSharedPoint* a, CSharedPoint* b,
                    CCurveNodeList& out)
{
    out.RemoveAll();
    const std::vector<NodeSpec> nodes = SpecsOf(curve);
    const int count = int(nodes.size());
    if (!a || !b || count == 0 || place.before < 0 || place.before >= count) return false;
    const CPoint cut = a->GetPosition();
    std::vector<NodeSpec> specs{CutNode(b, cut)};
    // Once round, from the node after the cut (or on it) up to the node
    // before it.
    const int start = FirstAfterCut(place) % count;
    for (int k = 0; k < count; ++k) specs.push_back(nodes[std::size_t((start + k) % count)]);
    specs.push_back(CutNode(a, cut));
    DropRepeated(specs);
    if (specs.size() < 2) return false;
    out = MakeNodes(specs);
    return true;
}

CCurveNodeList JoinNodes(const CCurveElement& first, bool reverseFirst, const CCurveElement& second,
                         bool reverseSecond)
{
    std::vector<NodeSpec> a = SpecsOf(first);
    std::vector<NodeSpec> b = SpecsOf(second);
    if (reverseFirst) std::reverse(a.begin(), a.end());
    if (reverseSecond) std::reverse(b.begin(), b.end());
    if (a.empty() || b.empty()) {
        a.insert(a.end(), b.begin(), b.end());
        return MakeNodes(a);
    }
    const std::size_t joint = a.size() - 1;
    const bool meet = a.back().position == b.front().position;
    if (meet) {
        b.erase(b.begin());
        const bool smoothBefore = joint > 0 && a[joint - 1].kind == NODE_SMOOTH;
        const bool smoothAfter = !b.empty() && b.front().kind == NODE_SMOOTH;
        if (smoothBefore && smoothAfter) a[joint].kind = NODE_SMOOTH;
    }
    a.insert(a.end(), b.begin(), b.end());
    return MakeNodes(a);
}
