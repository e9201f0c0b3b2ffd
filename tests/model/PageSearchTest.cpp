// The page's searches go through a spatial index that the page keeps up to
// date as elements, nodes and points change. These tests check that the
// index never changes an answer: after edits the capture still finds the
// right node, and on a crowded page with ties every search agrees with
// asking each curve in list order.
#include "model/CClosedCurveElement.h"
#include "model/CCurveNode.h"
#include "model/COpenCurveElement.h"
#include "model/CPage.h"
#include "model/CPageSet.h"
#include "model/CSharedPoint.h"
#include "platform/CArchive.h"

#include "geometry/Distance.h"
#include "geometry/Lines.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

class PageSearch : public ::testing::Test {
protected:
    PageSearch() { set.AppendPage(); }
    CPage* page() { return set.GetPageAt(0); }

    // An open curve through the points, all corner nodes, on new shared
    // points (or on the given ones).
    COpenCurveElement* Open(const std::vector<CPoint>& points, int level = 0)
    {
        CCurveNodeList nodes;
        for (const CPoint& p : points) {
            auto* point = new CSharedPoint(page(), p.x, p.y);
            page()->AddPoint(point);
            nodes.AddTail(new CCurveNode(point, NODE_CORNER));
        }
        return AddOpen(nodes, level);
    }
    COpenCurveElement* AddOpen(const CCurveNodeList& nodes, int level)
    {
        auto* curve = new COpenCurveElement(page(), level, CLineAttr(10), 0, nodes, 0, 600, 53.0, 0, 600, 53.0);
        page()->AddElement(curve);
        return curve;
    }

    CCurveNode* NearestNode(int x, int y, double tolerance, CCurveElement** curve = nullptr)
    {
        CCurveElement* c = nullptr;
        CCurveNode* node = nullptr;
        double d = 0.0;
        if (!page()->FindNearestNode(x, y, tolerance, c, node, d)) return nullptr;
        if (curve) *curve = c;
        return node;
    }

    CPageSet set;
};

TEST_F(PageSearch, CaptureFollowsAddedMovedAndDeletedElementsAndNodes)
{
    COpenCurveElement* a = Open({{0, 0}, {1000, 0}, {2000, 0}});
    Open({{0, 5000}, {1000, 5000}});
    // The first search builds the index.
    EXPECT_EQ(NearestNode(1010, 10, 50), a->GetNodeAt(1));
    EXPECT_EQ(NearestNode(30000, 30000, 50), nullptr);

    // A curve added afterwards is found, also where nothing was before.
    COpenCurveElement* added = Open({{30000, 30000}, {31000, 30000}});
    CCurveElement* found = nullptr;
    EXPECT_EQ(NearestNode(30010, 29990, 50, &found), added->GetFirstNode());
    EXPECT_EQ(found, added);

    // A moved point takes its node along: found at the new place only.
    a->GetNodeAt(1)->GetPoint()->MoveTo(8000, 8000, 1);
    EXPECT_EQ(NearestNode(1010, 10, 50), nullptr);
    EXPECT_EQ(NearestNode(8020, 7990, 50), a->GetNodeAt(1));
    // And the curve's outline moved with it.
    CGraphElement* element = nullptr;
    CPoint on;
    double d = 0.0;
    ASSERT_TRUE(page()->HitTestElement(4000, 4000, 30, ELEMENT_CURVE, element, on, d));
    EXPECT_EQ(element, a);

    // Node edits: a removed node is gone, an inserted one is found.
    CCurveNode* last = a->GetNodeAt(2);
    page()->RemoveNode(a, last);
    EXPECT_EQ(NearestNode(2000, 0, 50), nullptr);
    page()->InsertNodeAt(a, 4000, 4000, NODE_CORNER);
    ASSERT_EQ(a->GetNodeCount(), 3);
    EXPECT_EQ(NearestNode(4005, 4005, 50), a->GetNodeAt(1));

    // A removed element is no longer found; its neighbours still are.
    page()->RemoveElement(added);
    delete added;
    EXPECT_EQ(NearestNode(30010, 29990, 50), nullptr);
    EXPECT_NE(NearestNode(1000, 5000, 50), nullptr);

    // Emptying the list leaves nothing to find; new elements are found.
    CElementList all;
    for (CGraphElement* e : page()->Elements()) all.AddTail(e);
    page()->RemoveAllElements();
    EXPECT_EQ(NearestNode(1000, 5000, 50), nullptr);
    for (CGraphElement* e : all) page()->AddElement(e);
    EXPECT_NE(NearestNode(1000, 5000, 50), nullptr);
}

TEST_F(PageSearch, MirroredNodesFollowTheirSourceWhenItMoves)
{
    // A point mirrored across the vertical line x = 0 follows its source;
    // moving the source must re-file the curve standing on the mirror.
    auto* axis1 = new CSharedPoint(page(), 0, 0);
    auto* axis2 = new CSharedPoint(page(), 0, 100);
    auto* source = new CSharedPoint(page(), 500, 50);
    auto* mirror = new CSharedPoint(page(), source, axis1, axis2);
    for (CSharedPoint* p : {axis1, axis2, source, mirror}) page()->AddPoint(p);
    CCurveNodeList nodes;
    nodes.AddTail(new CCurveNode(mirror, NODE_CORNER));
    nodes.AddTail(new CCurveNode(axis1, NODE_CORNER));
    COpenCurveElement* curve = AddOpen(nodes, 0);
    EXPECT_EQ(NearestNode(-500, 50, 20), curve->GetFirstNode());

    source->MoveTo(3000, 50, 1);
    EXPECT_EQ(NearestNode(-500, 50, 20), nullptr);
    EXPECT_EQ(NearestNode(-3000, 55, 20), curve->GetFirstNode());
}

// The searches as a walk over the whole list asks each curve.
struct Walk {
    CPage& page;

    bool NearestNode(int x, int y, double tolerance, bool corners, CCurveElement*& curve,
                     CCurveNode*& node, double& distance)
    {
        double best = tolerance;
        bool hit = false;
        for (CGraphElement* e : page.Elements()) {
            auto* c = static_cast<CCurveElement*>(e);
            CCurveNode* n = nullptr;
            double d = 0.0;
            if (corners ? c->FindNearestVertex(CPoint(x, y), best, n, d)
                        : c->FindNearestNode(CPoint(x, y), best, n, d)) {
                curve = c;
                node = n;
                best = d;
                hit = true;
            }
        }
        distance = best;
        return hit;
    }

    bool OnCurve(int x, int y, double tolerance, CGraphElement*& element, CPoint& point, double& distance)
    {
        // Highest level first, list order within a level, the last hit wins.
        bool hit = false;
        double best = tolerance;
        for (int level = page.GetMaxLevel(); level >= 0; --level) {
            for (CGraphElement* e : page.Elements()) {
                if (e->GetLevel() != level) continue;
                CPoint found;
                double d = 0.0;
                if (static_cast<CCurveElement*>(e)->FindNearestOutlinePoint(CPoint(x, y), best, found, d)) {
                    element = e;
                    point = found;
                    best = d;
                    hit = true;
                }
            }
        }
        distance = best;
        return hit;
    }

    CCurveElement* CrossingWith(int x, int y, double tolerance, CCurveElement* curve, CPoint& point,
                                double& distance)
    {
        const int r = RoundToInt(tolerance);
        const CRect square(x - r, y - r, x + r + 1, y + r + 1);
        double best = tolerance;
        CCurveElement* hit = nullptr;
        for (CGraphElement* e : page.Elements()) {
            auto* c = static_cast<CCurveElement*>(e);
            CRect common;
            if (c == curve || !common.IntersectRect(c->GetBoundRect(), square)) continue;
            CPointList crossings;
            PolylineIntersections(curve->Outline(), c->Outline(), crossings);
            for (const CPoint& p : crossings) {
                double d = 0.0;
                PointDistance(x, y, p.x, p.y, d);
                if (d <= best && (!hit || d < best)) {
                    hit = c;
                    point = p;
                    best = d;
                }
            }
        }
        distance = best;
        return hit;
    }
};

TEST_F(PageSearch, CrowdedPageWithTiesAnswersAsAWalkOverEveryCurve)
{
    std::mt19937 rng(2024);
    std::uniform_int_distribution<int> place(0, 6000), step(-400, 400);
    std::vector<CCurveElement*> curves;
    for (int i = 0; i < 150; ++i) {
        CCurveNodeList nodes;
        CPoint p(place(rng), place(rng));
        for (int k = 0; k < 8; ++k) {
            auto* point = new CSharedPoint(page(), p.x, p.y);
            page()->AddPoint(point);
            nodes.AddTail(new CCurveNode(point, int(rng() % 2)));
            p.Offset(step(rng), step(rng));
        }
        CCurveElement* c = i % 3 == 0 ? static_cast<CCurveElement*>(new CClosedCurveElement(
                                            page(), int(rng() % 3), CLineAttr(10), 0, nodes, nullptr, RGB(9, 9, 9)))
                                      : AddOpen(nodes, int(rng() % 3));
        if (i % 3 == 0) page()->AddElement(c);
        curves.push_back(c);
    }
    // Curves standing on other curves' points make exact ties.
    for (int i = 0; i < 30; ++i) {
        CCurveNodeList nodes;
        for (CCurveNode* n : curves[rng() % curves.size()]->Nodes())
            if (rng() % 2) nodes.AddTail(new CCurveNode(n->GetPoint(), NODE_CORNER));
        curves.push_back(AddOpen(nodes, int(rng() % 3)));
    }

    Walk walk{*page()};
    auto check = [&](int rounds) {
        for (int q = 0; q < rounds; ++q) {
            // Half of the queries right at a node, the others anywhere.
            CPoint at(place(rng), place(rng));
            if (q % 2 == 0) {
                CCurveElement* c = curves[rng() % curves.size()];
                if (c->GetNodeCount() > 0) at = c->GetNodeAt(int(rng() % c->GetNodeCount()))->GetPosition();
            }
            const double tolerance = (q % 4 == 0) ? 0.0 : double(rng() % 300);
            for (bool corners : {false, true}) {
                CCurveElement *c1 = nullptr, *c2 = nullptr;
                CCurveNode *n1 = nullptr, *n2 = nullptr;
                double d1 = 0.0, d2 = 0.0;
                const bool expected = walk.NearestNode(at.x, at.y, tolerance, corners, c1, n1, d1);
                const int got = corners ? page()->FindNearestCornerNode(at.x, at.y, tolerance, c2, n2, d2)
                                        : page()->FindNearestNode(at.x, at.y, tolerance, c2, n2, d2);
                ASSERT_EQ(got != 0, expected) << at.x << "," << at.y;
                if (expected) {
                    EXPECT_EQ(c2, c1);
                    EXPECT_EQ(n2, n1);
                    EXPECT_EQ(d2, d1);
                }
            }
            {
                CGraphElement *e1 = nullptr, *e2 = nullptr;
                CPoint p1, p2;
                double d1 = 0.0, d2 = 0.0;
                const bool expected = walk.OnCurve(at.x, at.y, tolerance, e1, p1, d1);
                ASSERT_EQ(page()->HitTestElement(at.x, at.y, tolerance, ELEMENT_CURVE, e2, p2, d2) != 0, expected);
                if (expected) {
                    EXPECT_EQ(e2, e1);
                    EXPECT_EQ(p2, p1);
                }
            }
            {
                CCurveElement* reference = curves[rng() % curves.size()];
                CPoint p1, p2;
                double d1 = 0.0, d2 = 0.0;
                CCurveElement* expected = walk.CrossingWith(at.x, at.y, tolerance, reference, p1, d1);
                EXPECT_EQ(page()->FindNearestIntersectionWith(at.x, at.y, tolerance, reference, p2, d2), expected);
                if (expected) {
                    EXPECT_EQ(p2, p1);
                }
            }
        }
    };
    check(300);
    // Move points, renumber levels and drop curves, then ask again.
    for (int i = 0; i < 60; ++i) {
        CCurveElement* c = curves[rng() % curves.size()];
        if (c->GetNodeCount() == 0) continue;
        CSharedPoint* point = c->GetNodeAt(int(rng() % c->GetNodeCount()))->GetPoint();
        const CPoint p = point->GetPosition();
        point->MoveTo(p.x + step(rng), p.y + step(rng), 1);
        curves[rng() % curves.size()]->SetLevel(int(rng() % 3));
    }
    for (int i = 0; i < 20; ++i) {
        const std::size_t k = rng() % curves.size();
        page()->RemoveElement(curves[k]);
        delete curves[k];
        curves.erase(curves.begin() + std::ptrdiff_t(k));
    }
    check(300);
}

TEST_F(PageSearch, PointNumbersStayListPositionsAsPointsComeAndGo)
{
    COpenCurveElement* a = Open({{0, 0}, {10, 0}, {20, 0}, {30, 0}});
    COpenCurveElement* b = Open({{0, 50}, {10, 50}});
    CSharedPoint* third = a->GetNodeAt(2)->GetPoint();
    CSharedPoint* bFirst = b->GetFirstNode()->GetPoint();
    ASSERT_EQ(page()->GetPointIndex(bFirst), 4);

    // Dropping a node offers its point back; the pool closes up.
    page()->RemoveNode(a, a->GetNodeAt(1));
    EXPECT_EQ(page()->GetPointCount(), 5);
    EXPECT_EQ(page()->GetPointIndex(third), 1);
    EXPECT_EQ(page()->GetPointIndex(bFirst), 3);
    EXPECT_EQ(page()->GetPointAt(3), bFirst);
    for (int n = 0; n < page()->GetPointCount(); ++n) EXPECT_EQ(page()->GetPointIndex(page()->GetPointAt(n)), n);

    // A point of another page is not this page's, whatever its number.
    CPageSet other;
    other.AppendPage();
    auto* foreign = new CSharedPoint(other.GetPageAt(0), 0, 0);
    other.GetPageAt(0)->AddPoint(foreign);
    EXPECT_EQ(page()->FindPoint(foreign), 0);
    EXPECT_EQ(page()->GetPointIndex(foreign), -1);

    // The record names points by those numbers and reads back the same.
    CArchive out;
    page()->Store(out);
    CPageSet loaded;
    loaded.AppendPage();
    CArchive in(out.Buffer());
    loaded.GetPageAt(0)->Load(in);
    CArchive again;
    loaded.GetPageAt(0)->Store(again);
    EXPECT_EQ(again.Buffer(), out.Buffer());
}

TEST_F(PageSearch, StoringKeepsOnlyTheBoundsOfCurvesItBuiltAndStillSeesChanges)
{
    COpenCurveElement* a = Open({{0, 0}, {1000, 0}, {1000, 800}});
    CArchive first;
    page()->Store(first);
    // The geometry built for the record was given up again...
    EXPECT_TRUE(a->IsBoundsDirty());
    // ...yet the record is the same when stored again, and the curve
    // rebuilds its outline when asked.
    CArchive second;
    page()->Store(second);
    EXPECT_EQ(second.Buffer(), first.Buffer());
    EXPECT_EQ(a->Outline().GetCount(), 3);
    CArchive third;
    page()->Store(third);
    EXPECT_EQ(third.Buffer(), first.Buffer());

    // A change after the store gives new bounds, not the kept ones.
    page()->Store(first);
    a->GetNodeAt(2)->GetPoint()->MoveTo(5000, 800, 1);
    CArchive moved;
    page()->Store(moved);
    EXPECT_NE(moved.Buffer(), first.Buffer());
    const CRect bounds = a->GetBoundRect();
    EXPECT_GE(bounds.right, 5000);
    CArchive fresh;
    page()->Store(fresh);
    EXPECT_EQ(fresh.Buffer(), moved.Buffer());
}

}  // namespace
