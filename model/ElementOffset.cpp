#include "model/ElementOffset.h"

#include "geometry/Lines.h"
#include "model/CClosedCurveElement.h"
#include "model/CCurveElement.h"
#include "model/CCurveNode.h"
#include "model/CPage.h"
#include "model/CPointMarks.h"
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
    CPage* page = nullptr;
    for (CGraphElement* element : elements) {
        if (element && element->GetType() == ELEMENT_CURVE) {
            page = static_cast<CCurveElement*>(element)->GetLayer();
            break;
        }
    }
    std::unordered_set<const CGraphElement*> seen;
    // Curves have a few dozen nodes each.
    CPointMarks moved(page, std::size_t(elements.GetCount()) * 32);
    std::vector<CSharedPoint*> points;
    std::vector<CCurveElement*> curves;
    for (CGraphElement* element : elements) {
        if (!element || !seen.insert(element).second) continue;
        if (element->GetType() != ELEMENT_CURVE) {
            element->OffsetBy(dx, dy);
            continue;
        }
        auto* curve = static_cast<CCurveElement*>(element);
        for (CCurveNode* node : curve->Nodes()) {
            CSharedPoint* point = node ? node->GetPoint() : nullptr;
            if (point && !point->IsMirrored() && moved.Insert(point)) points.push_back(point);
        }
        if (curve->IsClosed()) OffsetFill(*static_cast<CClosedCurveElement*>(curve), dx, dy);
        curves.push_back(curve);
    }
    for (CSharedPoint* point : points) {
        const CPoint to = OffsetPoint(point->GetPosition(), dx, dy);
        point->MoveTo(to.x, to.y, 0);
    }
    // What stands on the moved points (curves left out of the selection
    // among them) is marked as moved points mark it: the page keeps each
    // point's users, so a drag of a few curves does not walk the whole page,
    // and the moved curves keep their places in that record.
    if (page) page->InvalidateElementsUsingPoints(points);
    // A moved curve on no moved point (all of it mirrored) still moved its
    // fill.
    for (CCurveElement* curve : curves)
        if (!curve->IsBoundsDirty()) curve->InvalidateBounds();
}
