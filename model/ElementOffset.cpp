#include "model/ElementOffset.h"

#include "geometry/Lines.h"
#include "model/CClosedCurveElement.h"
#include "model/CCurveElement.h"
#include "model/CCurveNode.h"
#include "model/CPage.h"
#include "model/CSharedPoint.h"

#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace {

void OffsetFill(CClosedCurveElement& curve, int dx, int dy)
{
    curve.SetGradientStart(OffsetPoint(curve.GetGradientStart(), dx, dy));
    curve.SetGradientEnd(OffsetPoint(curve.GetGradientEnd(), dx, dy));
    const CPoint centre = OffsetPoint(curve.GetGradientCenter(), dx, dy);
    curve.SetGradientCenter(centre.x, centre.y);
    const CPoint tile = OffsetPoint(curve.GetBitmapCenter(), dx, dy);
    curve.SetBitmapCenter(tile.x, tile.y);
    const CPoint lines = OffsetPoint(curve.GetLineFillOrigin(), dx, dy);
    curve.SetLineFillOrigin(lines.x, lines.y);
}

// The moved points and every point mirrored from or across them, marked
// to be computed again, and the curves standing on any of them marked
// dirty: one pass over the pool and one over the curves' nodes, however
// many points moved (point by point would walk the page once per point).
void InvalidateMoved(CPage* page, const std::unordered_set<const CSharedPoint*>& moved)
{
    std::unordered_map<const CSharedPoint*, std::vector<const CSharedPoint*>> dependants;
    for (const CSharedPoint* q : page->Points()) {
        CSharedPoint* source = nullptr;
        CSharedPoint* axis1 = nullptr;
        CSharedPoint* axis2 = nullptr;
        q->GetMirror(source, axis1, axis2);
        for (const CSharedPoint* on : {source, axis1, axis2})
            if (on) dependants[on].push_back(q);
    }
    std::unordered_set<const CSharedPoint*> affected(moved);
    std::vector<const CSharedPoint*> queue(moved.begin(), moved.end());
    while (!queue.empty()) {
        const CSharedPoint* p = queue.back();
        queue.pop_back();
        const auto it = dependants.find(p);
        if (it == dependants.end()) continue;
        for (const CSharedPoint* q : it->second)
            if (affected.insert(q).second) queue.push_back(q);
    }
    for (const CSharedPoint* p : affected) p->InvalidatePosition();
    for (CGraphElement* e : page->Elements()) {
        if (e->GetType() != ELEMENT_CURVE) continue;
        for (const CCurveNode* node : static_cast<CCurveElement*>(e)->Nodes()) {
            if (node && affected.count(node->GetPoint())) {
                e->InvalidateBounds();
                break;
            }
        }
    }
}

} // namespace

void OffsetElements(const CElementList& elements, int dx, int dy)
{
    if (dx == 0 && dy == 0) return;
    std::unordered_set<const CGraphElement*> seen;
    std::unordered_set<const CSharedPoint*> moved;
    std::vector<CSharedPoint*> points;
    CPage* page = nullptr;
    for (CGraphElement* element : elements) {
        if (!element || !seen.insert(element).second) continue;
        if (element->GetType() != ELEMENT_CURVE) {
            element->OffsetBy(dx, dy);
            continue;
        }
        auto* curve = static_cast<CCurveElement*>(element);
        if (!page) page = curve->GetLayer();
        for (CCurveNode* node : curve->Nodes()) {
            CSharedPoint* point = node ? node->GetPoint() : nullptr;
            if (point && !point->IsMirrored() && moved.insert(point).second) points.push_back(point);
        }
        if (curve->IsClosed()) OffsetFill(*static_cast<CClosedCurveElement*>(curve), dx, dy);
        curve->InvalidateBounds();
    }
    for (CSharedPoint* point : points) {
        const CPoint to = OffsetPoint(point->GetPosition(), dx, dy);
        point->MoveTo(to.x, to.y, 0);
    }
    if (page && !moved.empty()) InvalidateMoved(page, moved);
}
