// The page's work with curves: node edits carried along mirror curves,
// unlinking mirrors, curve records and copies.
#include "PageTestSupport.h"

#include "model/CCurveNode.h"
#include "model/CClosedCurveElement.h"
#include "model/COpenCurveElement.h"
#include "model/CPage.h"
#include "model/CPageSet.h"
#include "model/CSharedPoint.h"
#include "platform/CArchive.h"

#include <gtest/gtest.h>

namespace {

// Root curve A through P0 (100, 0), P1 (100, 500), P2 (100, 1000); its
// mirror B across the y axis runs the other way round: M2, M1, M0.
class MirrorCurves : public ::testing::Test {
protected:
    MirrorCurves()
    {
        set.AppendPage();
        axis1 = Add(new CSharedPoint(page(), 0, 0));
        axis2 = Add(new CSharedPoint(page(), 0, 1000));
        for (int i = 0; i < 3; ++i) p[i] = Add(new CSharedPoint(page(), 100, 500 * i));
        for (int i = 0; i < 3; ++i) m[i] = Add(new CSharedPoint(page(), p[i], axis1, axis2));
        a = MakeCurve({p[0], p[1], p[2]}, nullptr);
        b = MakeCurve({m[2], m[1], m[0]}, a);
    }
    CPage* page() { return set.GetPageAt(0); }
    CSharedPoint* Add(CSharedPoint* point)
    {
        page()->AddPoint(point);
        return point;
    }
    COpenCurveElement* MakeCurve(std::initializer_list<CSharedPoint*> points, CCurveElement* source)
    {
        CCurveNodeList nodes;
        for (CSharedPoint* point : points) nodes.AddTail(new CCurveNode(point, NODE_CORNER));
        auto* curve = new COpenCurveElement(page(), 0, CLineAttr(), 0, nodes, 0, 0, 0.0, 0, 0, 0.0,
                                            source);
        page()->AddElement(curve);
        return curve;
    }
    static std::vector<CPoint> Positions(const CCurveElement* curve)
    {
        std::vector<CPoint> out;
        for (const CCurveNode* n : curve->Nodes()) out.push_back(n->GetPosition());
        return out;
    }
    static std::vector<int> Kinds(const CCurveElement* curve)
    {
        std::vector<int> out;
        for (const CCurveNode* n : curve->Nodes()) out.push_back(n->GetKind());
        return out;
    }

    CPageSet set;
    CSharedPoint* axis1 = nullptr;
    CSharedPoint* axis2 = nullptr;
    CSharedPoint* p[3] = {};
    CSharedPoint* m[3] = {};
    COpenCurveElement* a = nullptr;
    COpenCurveElement* b = nullptr;
};

TEST_F(MirrorCurves, NodeKindFollowsTheMirroredPointNotTheIndex)
{
    // B's last node mirrors A's first.
    page()->SetNodeKind(b, b->GetNodeAt(2), NODE_SMOOTH);
    EXPECT_EQ(Kinds(a), (std::vector<int>{NODE_SMOOTH, NODE_CORNER, NODE_CORNER}));
    EXPECT_EQ(Kinds(b), (std::vector<int>{NODE_CORNER, NODE_CORNER, NODE_SMOOTH}));

    page()->SetNodeKindAt(a, 2, NODE_SMOOTH);
    EXPECT_EQ(Kinds(b), (std::vector<int>{NODE_SMOOTH, NODE_CORNER, NODE_SMOOTH}));
}

TEST_F(MirrorCurves, RemovingANodeRemovesItsMirrorAndFreesBothPoints)
{
    page()->RemoveNode(b, b->GetNodeAt(0));  // mirrors A's last node
    EXPECT_EQ(Positions(a), (std::vector<CPoint>{{100, 0}, {100, 500}}));
    EXPECT_EQ(Positions(b), (std::vector<CPoint>{{-100, 500}, {-100, 0}}));
    // P2 and M2 are no longer used by anything.
    EXPECT_EQ(page()->GetPointCount(), 6);
    EXPECT_EQ(page()->FindPoint(m[0]), 1);
    EXPECT_EQ(page()->FindPoint(p[0]), 1);

    page()->RemoveNodeAt(a, 0);
    EXPECT_EQ(Positions(a), (std::vector<CPoint>{{100, 500}}));
    EXPECT_EQ(Positions(b), (std::vector<CPoint>{{-100, 500}}));
    EXPECT_EQ(page()->GetPointCount(), 4);
}

TEST_F(MirrorCurves, InsertedNodeLandsInTheRootAndBetweenTheSameMirrorNodes)
{
    // Picked on the mirror: the place is reflected up to the root.
    page()->InsertNodeAt(b, -100, 250, NODE_SMOOTH);
    EXPECT_EQ(Positions(a), (std::vector<CPoint>{{100, 0}, {100, 250}, {100, 500}, {100, 1000}}));
    EXPECT_EQ(Positions(b),
              (std::vector<CPoint>{{-100, 1000}, {-100, 500}, {-100, 250}, {-100, 0}}));
    EXPECT_EQ(Kinds(b)[2], NODE_SMOOTH);
    CSharedPoint* inserted = b->GetNodeAt(2)->GetPoint();
    ASSERT_TRUE(inserted->IsMirrored());
    EXPECT_EQ(inserted->GetMirrorSource(), a->GetNodeAt(1)->GetPoint());
    EXPECT_EQ(page()->GetPointCount(), 10);

    // Dragging the new root point moves its mirror.
    a->GetNodeAt(1)->GetPoint()->MoveTo(150, 250, 1);
    EXPECT_EQ(b->GetNodeAt(2)->GetPosition(), CPoint(-150, 250));
}

TEST_F(MirrorCurves, InsertOnANodeOrFarAwayDoesNothing)
{
    page()->InsertNodeAt(a, 100, 500, NODE_CORNER);  // on P1
    page()->InsertNodeAt(a, 400, 250, NODE_CORNER);  // 3 mm off the curve
    EXPECT_EQ(a->GetNodeCount(), 3);
    EXPECT_EQ(b->GetNodeCount(), 3);
    EXPECT_EQ(page()->GetPointCount(), 8);
}

TEST_F(MirrorCurves, RemovingTheSourceCurveUnlinksItsMirrorsAndKeepsPoints)
{
    page()->RemoveElement(a);
    EXPECT_EQ(b->GetMirrorSource(), nullptr);
    EXPECT_EQ(page()->GetPointCount(), 8);
    EXPECT_EQ(page()->GetElementCount(), 1);
    delete a;
    // A's points stay as sources of B's points.
    EXPECT_EQ(page()->GetPointCount(), 8);
    EXPECT_EQ(Positions(b), (std::vector<CPoint>{{-100, 1000}, {-100, 500}, {-100, 0}}));
}

TEST_F(MirrorCurves, EditsOnACycleOfMirrorCurvesEnd)
{
    a->SetMirrorSource(b);
    page()->SetNodeKind(b, b->GetNodeAt(0), NODE_SMOOTH);
    page()->RemoveNode(a, a->GetNodeAt(1));
    page()->InsertNodeAt(a, 100, 250, NODE_CORNER);
    SUCCEED();
}

std::string StorePage(const CPage& page)
{
    CArchive ar;
    page.Store(ar);
    return ar.Buffer();
}

TEST_F(MirrorCurves, RecordAndCopyKeepCurvesAndMirrorLinks)
{
    const std::string stored = StorePage(*page());
    CPageSet loaded;
    loaded.AppendPage();
    CPage* target = loaded.GetPageAt(0);
    {
        CArchive ar(stored);
        ASSERT_EQ(target->Load(ar), 1);
        EXPECT_EQ(ar.BytesLeft(), 0u);
    }
    ASSERT_EQ(target->GetElementCount(), 2);
    auto* loadedB = static_cast<CCurveElement*>(target->ElementAt(1));
    EXPECT_EQ(loadedB->GetMirrorSource(), target->ElementAt(0));
    EXPECT_EQ(loadedB->GetNodeAt(0)->GetPoint(), target->GetPointAt(7));
    EXPECT_EQ(StorePage(*target), stored);

    CPage copy(&set);
    copy.CopyFrom(*page());
    EXPECT_EQ(StorePage(copy), stored);
    auto* copiedB = static_cast<CCurveElement*>(copy.ElementAt(1));
    EXPECT_EQ(copiedB->GetMirrorSource(), copy.ElementAt(0));
    EXPECT_EQ(copiedB->GetNodeAt(0)->GetPoint(), copy.GetPointAt(7));

    // Edits on the copy stay there.
    copy.RemoveNodeAt(static_cast<CCurveElement*>(copy.ElementAt(0)), 0);
    EXPECT_EQ(StorePage(*page()), stored);
}

TEST_F(MirrorCurves, CurveMirrorCycleInARecordFails)
{
    // A and B mirroring each other: node edits would find no root.
    a->SetMirrorSource(b);
    const std::string stored = StorePage(*page());
    a->SetMirrorSource(nullptr);
    CPageSet loaded;
    loaded.AppendPage();
    CArchive ar(stored);
    EXPECT_THROW(loaded.GetPageAt(0)->Load(ar), CArchiveError);
}

TEST_F(MirrorCurves, ClosedCurveWithoutItsBodyFails)
{
    // Kind 1 with the closed flag: the page reads the flag itself.
    const std::string bytes = Bytes().i32(0).i32(0).i32(1).i32(1).i32(0).i32(1).data;
    CPageSet loaded;
    loaded.AppendPage();
    CArchive ar(bytes);
    EXPECT_THROW(loaded.GetPageAt(0)->Load(ar), CArchiveError);
}

// Squares of closed curves for the area searches.
class ClosedCurves : public ::testing::Test {
protected:
    ClosedCurves() { set.AppendPage(); }
    CPage* page() { return set.GetPageAt(0); }

    CClosedCurveElement* Square(int level, int left, int top, int size, int fillKind)
    {
        CCurveNodeList nodes;
        const CPoint corners[4] = {{left, top}, {left + size, top}, {left + size, top + size},
                                   {left, top + size}};
        for (const CPoint& c : corners) {
            auto* point = new CSharedPoint(page(), c.x, c.y);
            page()->AddPoint(point);
            nodes.AddTail(new CCurveNode(point, NODE_CORNER));
        }
        auto* curve = new CClosedCurveElement(page(), level, CLineAttr(), 0, nodes, nullptr);
        curve->SetFillKind(fillKind);
        page()->AddElement(curve);
        return curve;
    }

    CPageSet set;
};

TEST_F(ClosedCurves, InnerCurveWinsInsideAnUnfilledOne)
{
    Square(0, 0, 0, 1000, 0);
    CClosedCurveElement* inner = Square(0, 200, 200, 400, 0);
    CCurveElement* found = nullptr;
    ASSERT_EQ(page()->FindClosedCurveAt(300, 300, found), 1);
    EXPECT_EQ(found, inner);
}

TEST_F(ClosedCurves, FilledCurveKeepsTheCurvesItCovers)
{
    // Searched from the tail: the outer square is met first, and its solid
    // fill hides the inner one.
    Square(0, 200, 200, 400, 0);
    CClosedCurveElement* outer = Square(0, 0, 0, 1000, 2);
    CCurveElement* found = nullptr;
    ASSERT_EQ(page()->FindClosedCurveAt(300, 300, found), 1);
    EXPECT_EQ(found, outer);
    EXPECT_EQ(page()->FindClosedCurveAt(2000, 300, found), 0);
}

TEST_F(ClosedCurves, HigherLevelIsSearchedFirst)
{
    CClosedCurveElement* top = Square(5, 0, 0, 1000, 0);
    Square(1, 200, 200, 400, 0);
    CCurveElement* found = nullptr;
    ASSERT_EQ(page()->FindClosedCurveAt(300, 300, found), 1);
    EXPECT_EQ(found, top);
}

TEST_F(ClosedCurves, CurveHitTestsSeparateOpenAndClosed)
{
    CClosedCurveElement* square = Square(0, 0, 0, 1000, 0);
    CCurveElement* curve = nullptr;
    CPoint at;
    double distance = 0;
    ASSERT_EQ(page()->HitTestClosedCurve(1010, 500, 20.0, curve, at, distance), 1);
    EXPECT_EQ(curve, square);
    EXPECT_EQ(at, CPoint(1000, 500));
    EXPECT_DOUBLE_EQ(distance, 10.0);
    EXPECT_EQ(page()->HitTestOpenCurve(1010, 500, 20.0, curve, at, distance), 0);
    EXPECT_EQ(page()->HitTestClosedCurve(1050, 500, 20.0, curve, at, distance), 0);

    CGraphElement* element = nullptr;
    ASSERT_EQ(page()->HitTestElement(1010, 500, 20.0, ELEMENT_CURVE, element, at, distance), 1);
    EXPECT_EQ(element, square);

    CElementList inRect;
    // The rectangle lies inside the square without touching its outline.
    EXPECT_EQ(page()->GetElementsInRect(CRect(100, 100, 900, 900), ELEMENT_CURVE, inRect), 0);
    // A rectangle crossed by an edge without holding a corner.
    EXPECT_EQ(page()->GetElementsInRect(CRect(900, 100, 1100, 900), ELEMENT_CURVE, inRect), 1);
}

TEST_F(ClosedCurves, NearestCrossingOfTwoCurves)
{
    CClosedCurveElement* first = Square(0, 0, 0, 1000, 0);
    CClosedCurveElement* second = Square(0, 500, 500, 1000, 0);
    CCurveElement *c1 = nullptr, *c2 = nullptr;
    CPoint at;
    double distance = 0;
    ASSERT_EQ(page()->FindNearestIntersection(1010, 490, 50.0, c1, c2, at, distance), 1);
    EXPECT_EQ(at, CPoint(1000, 500));
    EXPECT_TRUE((c1 == first && c2 == second) || (c1 == second && c2 == first));
    EXPECT_EQ(page()->FindNearestIntersectionWith(1010, 490, 50.0, first, at, distance), second);
    EXPECT_EQ(page()->FindNearestIntersection(1200, 490, 50.0, c1, c2, at, distance), 0);
}

}  // namespace
