// The page's hit tests and searches. Each narrows its candidates through
// the page's spatial index to the curves (or nodes) that can lie within
// its tolerance, then visits them in the order and with the tests of a walk
// over the whole element list, so ties and the winner are the same.
#include "model/CPage.h"

#include "geometry/Distance.h"
#include "geometry/Lines.h"
#include "geometry/Offset.h"
#include "geometry/Polyline.h"
#include "model/CCurveElement.h"
#include "model/CCurveNode.h"
#include "model/ElementFactory.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <utility>

namespace {

CCurveElement* AsCurve(CGraphElement* e)
{
    return e && e->GetType() == ELEMENT_CURVE ? static_cast<CCurveElement*>(e) : nullptr;
}

int Clamped(std::int64_t v)
{
    return int(std::clamp<std::int64_t>(v, INT_MIN, INT_MAX));
}

// The square of half side r around the point (right and bottom exclusive).
CRect SquareAround(int x, int y, std::int64_t r)
{
    return CRect(Clamped(x - r), Clamped(y - r), Clamped(std::int64_t(x) + r + 1),
                 Clamped(std::int64_t(y) + r + 1));
}

// Tolerances beyond this are no use for a page; they take the walk over
// every curve, as do tolerances that are no number.
constexpr double kLargestTolerance = 1e9;

bool IsUsableTolerance(double tolerance)
{
    return tolerance < kLargestTolerance;  // false for NaN too
}

const CRect kEverywhere(INT_MIN, INT_MIN, INT_MAX, INT_MAX);

// 1 when a segment of the path touches the rectangle's border.
bool PathCrossesRect(const CPointList& path, const CRect& r)
{
    const CPoint corners[4] = {{r.left, r.top}, {r.right - 1, r.top},
                               {r.right - 1, r.bottom - 1}, {r.left, r.bottom - 1}};
    POSITION pos = path.GetHeadPosition();
    if (!pos) return false;
    CPoint prev = path.GetNext(pos);
    while (pos) {
        const CPoint p = path.GetNext(pos);
        for (int i = 0; i < 4; ++i) {
            const CPoint& a = corners[i];
            const CPoint& b = corners[(i + 1) % 4];
            CPoint crossing;
            const int code = IntersectSegments(prev.x, prev.y, p.x, p.y, a.x, a.y, b.x, b.y, crossing);
            if (code != 0 && code != 2) return true;
        }
        prev = p;
    }
    return false;
}

}  // namespace

struct CPage::CrossingCandidate {
    CCurveElement* curve;
    CRect bounds;
    CSegmentList segments;
    // The union of the segments' boxes: two curves whose unions do not
    // meet have no segments that meet, so no crossing to test.
    CRect segmentBounds;
};

namespace {

CRect SegmentListBounds(const CSegmentList& segments)
{
    CRect all;
    bool any = false;
    for (const auto& [from, to] : segments) {
        const CRect box(std::min(from.x, to.x), std::min(from.y, to.y), std::max(from.x, to.x) + 1,
                        std::max(from.y, to.y) + 1);
        if (!any) {
            all = box;
            any = true;
        } else {
            all = CRect(std::min(all.left, box.left), std::min(all.top, box.top), std::max(all.right, box.right),
                        std::max(all.bottom, box.bottom));
        }
    }
    return all;
}

}  // namespace

// ---------------------------------------------------------------------------
// Candidates

void CPage::CurvesMeeting(const CRect& area, std::vector<CCurveElement*>& out) const
{
    m_index.Update(m_elements);
    m_index.CurvesMeeting(area, out);
}

void CPage::CurvesNear(int x, int y, double radius, std::vector<CCurveElement*>& out) const
{
    m_index.Update(m_elements);
    if (!IsUsableTolerance(radius)) {
        out.clear();
        for (CGraphElement* e : m_elements)
            if (CCurveElement* c = AsCurve(e)) out.push_back(c);
        return;
    }
    // Two units more than the rounded radius: the tests round distances
    // and search boxes.
    const std::int64_t r = std::int64_t(std::ceil(std::max(radius, 0.0))) + 2;
    m_index.CurvesMeeting(SquareAround(x, y, r), out);
}

namespace {

// Elements in the order of the level walks: levels from the highest down,
// list order within a level (reversed when `laterFirst`); elements below 0
// or above the highest level are left out.
std::vector<CGraphElement*> ByLevelFromTop(const CPageIndex& index,
                                           const std::vector<CGraphElement*>& elements,
                                           int maxLevel, bool laterFirst)
{
    std::vector<std::pair<std::uint64_t, CGraphElement*>> keyed;
    keyed.reserve(elements.size());
    for (CGraphElement* e : elements)
        if (e->GetLevel() >= 0 && e->GetLevel() <= maxLevel) keyed.emplace_back(index.OrderOf(e), e);
    std::sort(keyed.begin(), keyed.end(), [laterFirst](const auto& a, const auto& b) {
        const int la = a.second->GetLevel(), lb = b.second->GetLevel();
        if (la != lb) return la > lb;
        return laterFirst ? a.first > b.first : a.first < b.first;
    });
    std::vector<CGraphElement*> order;
    order.reserve(keyed.size());
    for (const auto& entry : keyed) order.push_back(entry.second);
    return order;
}

}  // namespace

// ---------------------------------------------------------------------------
// Hit tests

int CPage::HitTestElement(int x, int y, double tolerance, int kindMask, CGraphElement*& element,
                          CPoint& point, double& distance) const
{
    // From the highest level down, in list order within a level; every hit
    // replaces the one before, so the last hit wins. A curve can only be
    // hit near its outline, so only curves near the point take part.
    std::vector<CGraphElement*> candidates;
    if (kindMask & ELEMENT_CURVE) {
        std::vector<CCurveElement*> curves;
        CurvesNear(x, y, tolerance, curves);
        candidates.assign(curves.begin(), curves.end());
    } else {
        m_index.Update(m_elements);
    }
    if (kindMask & (ELEMENT_IMAGE | ELEMENT_TEXT | ELEMENT_TABLE)) {
        std::vector<CGraphElement*> others;
        m_index.OtherElements(others);
        for (CGraphElement* e : others)
            if (e->GetType() & kindMask) candidates.push_back(e);
    }
    const std::vector<CGraphElement*> order = ByLevelFromTop(m_index, candidates, m_maxLevel, false);
    double best = tolerance;
    CGraphElement* hit = nullptr;
    CPoint hitPoint;
    for (CGraphElement* e : order) {
        const int kind = e->GetType();
        if (!(kind & kindMask)) continue;
        if (kind == ELEMENT_CURVE) {
            CPoint found;
            double d = 0.0;
            if (static_cast<CCurveElement*>(e)->FindNearestOutlinePoint(CPoint(x, y), best, found, d)) {
                hit = e;
                hitPoint = found;
                best = d;
            }
        } else if (kind == ELEMENT_IMAGE || kind == ELEMENT_TEXT || kind == ELEMENT_TABLE) {
            if (e->ContainsPoint(x, y)) {
                hit = e;
                hitPoint = CPoint(x, y);
                best = 0.0;
            }
        }
    }
    if (!hit) return 0;
    element = hit;
    point = hitPoint;
    distance = best;
    return 1;
}

// Nearest outline point of the open (or closed) curves near (x, y). Open
// curves are asked in list order and closed ones from the last down; a
// later candidate wins only when strictly nearer.
int CPage::HitTestCurveOutline(int x, int y, double tolerance, bool closed, CCurveElement*& curve,
                               CPoint& point, double& distance) const
{
    std::vector<CCurveElement*> candidates;
    CurvesNear(x, y, tolerance, candidates);
    if (closed) std::reverse(candidates.begin(), candidates.end());
    double best = tolerance;
    CCurveElement* hit = nullptr;
    for (CCurveElement* c : candidates) {
        if ((c->IsClosed() != 0) != closed) continue;
        CPoint found;
        double d = 0.0;
        if (c->FindNearestOutlinePoint(CPoint(x, y), best, found, d)) {
            hit = c;
            point = found;
            best = d;
        }
    }
    if (!hit) return 0;
    curve = hit;
    distance = best;
    return 1;
}

int CPage::HitTestOpenCurve(int x, int y, double tolerance, CCurveElement*& curve, CPoint& point,
                            double& distance) const
{
    return HitTestCurveOutline(x, y, tolerance, false, curve, point, distance);
}

int CPage::HitTestClosedCurve(int x, int y, double tolerance, CCurveElement*& curve,
                              CPoint& point, double& distance) const
{
    return HitTestCurveOutline(x, y, tolerance, true, curve, point, distance);
}

int CPage::FindNearestCornerNode(int x, int y, double tolerance, CCurveElement*& curve,
                                 CCurveNode*& node, double& distance) const
{
    return NearestNode(x, y, tolerance, true, curve, node, distance);
}

int CPage::FindNearestNode(int x, int y, double tolerance, CCurveElement*& curve,
                           CCurveNode*& node, double& distance) const
{
    return NearestNode(x, y, tolerance, false, curve, node, distance);
}

int CPage::NearestNode(int x, int y, double tolerance, bool verticesOnly, CCurveElement*& curve,
                       CCurveNode*& node, double& distance) const
{
    double best = tolerance;
    CCurveElement* hit = nullptr;
    if (!IsUsableTolerance(tolerance)) {
        for (CGraphElement* e : m_elements) {
            CCurveElement* c = AsCurve(e);
            CCurveNode* n = nullptr;
            double d = 0.0;
            const int found = c && (verticesOnly ? c->FindNearestVertex(CPoint(x, y), best, n, d)
                                                 : c->FindNearestNode(CPoint(x, y), best, n, d));
            if (found) {
                hit = c;
                node = n;
                best = d;
            }
        }
    } else {
        // Each curve offers its nearest qualifying node (the first of equal
        // ones) when that lies within the best distance so far. A curve's
        // nearest node within the tolerance is among the nodes filed near
        // the point, and nodes farther away can never be offered, so the
        // nodes in the square decide.
        m_index.Update(m_elements);
        const std::int64_t r = std::int64_t(std::floor(std::max(tolerance, 0.0))) + 1;
        std::vector<CPageIndex::NodeHit> hits;
        m_index.NodesIn(SquareAround(x, y, r), hits);
        for (std::size_t i = 0; i < hits.size();) {
            CCurveElement* c = hits[i].curve;
            const CCurveNode* first = c->GetFirstNode();
            const CCurveNode* last = c->GetLastNode();
            const bool closed = c->IsClosed() != 0;
            CCurveNode* nearest = nullptr;
            double nearestDistance = 0.0;
            for (; i < hits.size() && hits[i].curve == c; ++i) {
                CCurveNode* n = hits[i].node;
                const int kind = n->GetKind();
                bool counts = verticesOnly ? kind == NODE_CORNER : kind == NODE_CORNER || kind == NODE_SMOOTH;
                if (verticesOnly && !closed && (n == first || n == last)) counts = true;
                if (!counts) continue;
                const CPoint p = n->GetPosition();
                double d = 0.0;
                PointDistance(x, y, p.x, p.y, d);
                if (d > tolerance) continue;
                if (!nearest || d < nearestDistance) {
                    nearest = n;
                    nearestDistance = d;
                }
            }
            if (nearest && nearestDistance <= best) {
                hit = c;
                node = nearest;
                best = nearestDistance;
            }
        }
    }
    if (!hit) return 0;
    curve = hit;
    distance = best;
    return 1;
}

int CPage::FindClosedCurveAt(int x, int y, CCurveElement*& curve) const
{
    // Highest level first, the element drawn last first within a level:
    // the drawing order reversed. Only curves whose bounds hold the point
    // can take part.
    std::vector<CCurveElement*> curves;
    CurvesMeeting(CRect(x, y, Clamped(std::int64_t(x) + 1), Clamped(std::int64_t(y) + 1)), curves);
    std::vector<CGraphElement*> closedCurves;
    for (CCurveElement* c : curves)
        if (c->IsClosed()) closedCurves.push_back(c);
    const std::vector<CGraphElement*> order = ByLevelFromTop(m_index, closedCurves, m_maxLevel, true);
    std::size_t i = 0;
    while (i < order.size()) {
        const int level = order[i]->GetLevel();
        CCurveElement* candidate = nullptr;
        CPointList candidateOutline;
        for (; i < order.size() && order[i]->GetLevel() == level; ++i) {
            CCurveElement* c = AsCurve(order[i]);
            if (!c || !c->IsClosed() || !c->GetBoundRect().PtInRect(CPoint(x, y))) continue;
            CPointList outline;
            c->GetOutlinePoints(outline);
            if (!IsPointInPolyline(x, y, outline)) continue;
            if (!candidate) {
                candidate = c;
                candidateOutline = std::move(outline);
                continue;
            }
            // An unfilled (or line-filled) curve lets a curve nested inside
            // it win, so the inner area can be picked.
            const int fill = ClosedCurveFillKind(*candidate);
            if (fill != 0 && fill != 7) continue;
            if (PolygonArea(candidateOutline) <= PolygonArea(outline)) continue;
            bool inside = true;
            for (const CPoint& p : outline)
                if (!IsPointInPolyline(p.x, p.y, candidateOutline)) {
                    inside = false;
                    break;
                }
            if (inside) {
                candidate = c;
                candidateOutline = std::move(outline);
            }
        }
        if (candidate) {
            curve = candidate;
            return 1;
        }
    }
    return 0;
}

int CPage::GetElementsInRect(const CRect& rect, int kindMask, CElementList& out) const
{
    out.RemoveAll();
    std::vector<CGraphElement*> candidates;
    if (kindMask & ELEMENT_CURVE) {
        std::vector<CCurveElement*> curves;
        CurvesMeeting(rect, curves);
        candidates.assign(curves.begin(), curves.end());
    } else {
        m_index.Update(m_elements);
    }
    std::vector<CGraphElement*> others;
    m_index.OtherElements(others);
    for (CGraphElement* e : others)
        if (e->GetType() & kindMask) candidates.push_back(e);
    std::vector<std::pair<std::uint64_t, CGraphElement*>> keyed;
    keyed.reserve(candidates.size());
    for (CGraphElement* e : candidates) keyed.emplace_back(m_index.OrderOf(e), e);
    std::sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) { return a.first < b.first; });

    for (const auto& entry : keyed) {
        CGraphElement* e = entry.second;
        if (!(e->GetType() & kindMask)) continue;
        CRect common;
        if (!common.IntersectRect(e->GetBoundRect(), rect)) continue;
        if (CCurveElement* c = AsCurve(e)) {
            const CPointList& outline = c->Outline();
            bool meets = false;
            for (const CPoint& p : outline)
                if (rect.PtInRect(p)) {
                    meets = true;
                    break;
                }
            if (!meets && !PathCrossesRect(outline, rect)) continue;
        }
        out.AddTail(e);
    }
    return out.IsEmpty() ? 0 : 1;
}

// ---------------------------------------------------------------------------
// Crossings

CCurveElement* CPage::NearestCrossingAmong(int x, int y, double tolerance, CCurveElement* curve,
                                           const std::vector<CrossingCandidate>& others,
                                           const CRect& area, CPoint& point,
                                           double& distance) const
{
    // The curve's segments near the area; the candidates carry theirs.
    const CSegmentList* segments = nullptr;
    CRect segmentBounds;
    CSegmentList own;
    for (const CrossingCandidate& other : others) {
        if (other.curve == curve) {
            segments = &other.segments;
            segmentBounds = other.segmentBounds;
        }
    }
    if (!segments) {
        SegmentsNearArea(curve->Outline(), area, own);
        segments = &own;
        segmentBounds = SegmentListBounds(own);
    }
    if (segments->empty()) return nullptr;
    const CRect square = SquareAround(x, y, RoundToInt(tolerance));
    double best = tolerance;
    CCurveElement* hit = nullptr;
    CPointList crossings;
    for (const CrossingCandidate& other : others) {
        CRect common;
        if (other.curve == curve || !common.IntersectRect(other.bounds, square)) continue;
        if (other.segments.empty() || !common.IntersectRect(other.segmentBounds, segmentBounds)) continue;
        SegmentListIntersections(*segments, other.segments, crossings);
        for (const CPoint& p : crossings) {
            double d = 0.0;
            PointDistance(x, y, p.x, p.y, d);
            if (d <= best && (!hit || d < best)) {
                hit = other.curve;
                point = p;
                best = d;
            }
        }
    }
    if (hit) distance = best;
    return hit;
}


std::vector<CPage::CrossingCandidate> CPage::CrossingCandidates(int x, int y, double tolerance,
                                                               const CCurveElement* skipped, CRect& area) const
{
    // Every crossing within the tolerance lies in the square, on segments
    // of curves whose bounds meet it; the candidates keep the curves' list
    // order, as a walk over the whole list would visit them.
    const int r = RoundToInt(tolerance);
    const bool usable = IsUsableTolerance(tolerance);
    const CRect square = SquareAround(x, y, r);
    area = usable ? square : kEverywhere;
    std::vector<CCurveElement*> curves;
    if (usable)
        CurvesMeeting(square, curves);
    else
        CurvesNear(x, y, tolerance, curves);
    std::vector<CrossingCandidate> candidates;
    candidates.reserve(curves.size());
    for (CCurveElement* c : curves) {
        if (c == skipped) continue;
        CRect common;
        const CRect bounds = c->GetBoundRect();
        if (!common.IntersectRect(bounds, square)) continue;
        candidates.push_back({c, bounds, {}, {}});
        SegmentsNearArea(c->Outline(), area, candidates.back().segments);
        candidates.back().segmentBounds = SegmentListBounds(candidates.back().segments);
    }
    return candidates;
}

int CPage::FindNearestIntersection(int x, int y, double tolerance, CCurveElement*& curve1,
                                   CCurveElement*& curve2, CPoint& point, double& distance) const
{
    CRect area;
    const std::vector<CrossingCandidate> candidates = CrossingCandidates(x, y, tolerance, nullptr, area);
    double best = tolerance;
    CCurveElement* hit1 = nullptr;
    CCurveElement* hit2 = nullptr;
    CPoint hitPoint;
    for (const CrossingCandidate& candidate : candidates) {
        CPoint found;
        double d = 0.0;
        if (CCurveElement* other =
                NearestCrossingAmong(x, y, best, candidate.curve, candidates, area, found, d)) {
            hit1 = candidate.curve;
            hit2 = other;
            hitPoint = found;
            best = d;
        }
    }
    if (!hit1) return 0;
    curve1 = hit1;
    curve2 = hit2;
    point = hitPoint;
    distance = best;
    return 1;
}

CCurveElement* CPage::FindNearestIntersectionWith(int x, int y, double tolerance,
                                                  CCurveElement* curve, CPoint& point,
                                                  double& distance) const
{
    if (!curve) return nullptr;
    CRect area;
    const std::vector<CrossingCandidate> candidates = CrossingCandidates(x, y, tolerance, curve, area);
    return NearestCrossingAmong(x, y, tolerance, curve, candidates, area, point, distance);
}

// ---------------------------------------------------------------------------
// Top-most element of a kind

int CPage::HitTestTopMost(int x, int y, int kind, CGraphElement*& element) const
{
    // Curves are never asked here: only the other kinds contain points.
    m_index.Update(m_elements);
    std::vector<CGraphElement*> others;
    m_index.OtherElements(others);
    std::vector<CGraphElement*> ofKind;
    for (CGraphElement* e : others)
        if (e->GetType() == kind) ofKind.push_back(e);
    for (CGraphElement* e : ByLevelFromTop(m_index, ofKind, m_maxLevel, true)) {
        if (e->ContainsPoint(x, y)) {
            element = e;
            return 1;
        }
    }
    return 0;
}

int CPage::HitTestImage(int x, int y, CGraphElement*& element) const
{
    return HitTestTopMost(x, y, ELEMENT_IMAGE, element);
}

int CPage::HitTestText(int x, int y, CGraphElement*& element) const
{
    return HitTestTopMost(x, y, ELEMENT_TEXT, element);
}

int CPage::HitTestTable(int x, int y, CGraphElement*& element) const
{
    return HitTestTopMost(x, y, ELEMENT_TABLE, element);
}
