#include "model/ElementOffset.h"

#include "geometry/Lines.h"
#include "model/CClosedCurveElement.h"
#include "model/CCurveElement.h"
#include "model/CCurveNode.h"
#include "model/CSharedPoint.h"

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

} // namespace

void OffsetElements(const CElementList& elements, int dx, int dy)
{
    if (dx == 0 && dy == 0) return;
    std::unordered_set<const CGraphElement*> seen;
    std::unordered_set<const CSharedPoint*> moved;
    std::vector<CSharedPoint*> points;
    for (CGraphElement* element : elements) {
        if (!element || !seen.insert(element).second) continue;
        if (element->GetType() != ELEMENT_CURVE) {
            element->OffsetBy(dx, dy);
            continue;
        }
        auto* curve = static_cast<CCurveElement*>(element);
        for (CCurveNode* node : curve->Nodes()) {
            CSharedPoint* point = node ? node->GetPoint() : nullptr;
            if (point && !point->IsMirrored() && moved.insert(point).second) points.push_back(point);
        }
        if (curve->IsClosed()) OffsetFill(*static_cast<CClosedCurveElement*>(curve), dx, dy);
        curve->InvalidateBounds();
    }
    for (CSharedPoint* point : points) {
        const CPoint to = OffsetPoint(point->GetPosition(), dx, dy);
        point->MoveTo(to.x, to.y, 1);
    }
}
