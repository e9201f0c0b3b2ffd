// Moving a shared point with notification marks exactly the elements that
// stand on it or on a point mirrored from it or across it. The page keeps
// what stands on each point between moves, so these tests change the page
// in every way that changes that (node lists, curves added and deleted,
// points leaving the pool, mirrors made, whole pages read and copied) and
// after each change compare the marked elements with a walk over the page.
#include "PageTestSupport.h"

#include "model/CCurveNode.h"
#include "model/COpenCurveElement.h"
#include "model/CPage.h"
#include "model/CPageSet.h"
#include "model/CSharedPoint.h"
#include "platform/CArchive.h"

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <vector>

namespace {

// What a move of `point` must mark: the elements on the point or on any
// point depending on it, found by asking every point and every element.
std::set<const CGraphElement*> ExpectedMarks(const CPage& page, const CSharedPoint* point)
{
    std::vector<const CSharedPoint*> affected{point};
    for (std::size_t i = 0; i < affected.size(); ++i)
        for (const CSharedPoint* q : page.Points())
            if (q->DependsOn(affected[i]) && std::find(affected.begin(), affected.end(), q) == affected.end())
                affected.push_back(q);
    std::set<const CGraphElement*> marked;
    for (const CGraphElement* e : page.Elements())
        for (const CSharedPoint* p : affected)
            if (e->UsesPoint(p)) marked.insert(e);
    return marked;
}

class PointUsersFixture : public ::testing::Test {
protected:
    PointUsersFixture() : rng(7) { set.AppendPage(); }
    CPage* page() { return set.GetPageAt(0); }

    int Random(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }

    CSharedPoint* NewPoint(CPage* on)
    {
        auto* p = new CSharedPoint(on, Random(0, 5000), Random(0, 5000));
        on->AddPoint(p);
        return p;
    }
    CSharedPoint* AnyPoint(CPage* on) { return on->GetPointAt(Random(0, on->GetPointCount() - 1)); }

    // Nodes on points of the pool, now and then twice on one point.
    CCurveNodeList RandomNodes(CPage* on)
    {
        CCurveNodeList nodes;
        const int count = Random(2, 6);
        for (int i = 0; i < count; ++i) {
            CSharedPoint* p = i > 0 && Random(0, 5) == 0 ? nodes.GetTail()->GetPoint() : AnyPoint(on);
            nodes.AddTail(new CCurveNode(p, Random(0, 1)));
        }
        return nodes;
    }

    CCurveElement* AddCurve(CPage* on)
    {
        auto* curve = new COpenCurveElement(on, 0, CLineAttr(), RGB(0, 0, 0), RandomNodes(on), 0, 0, 0.0, 0, 0, 0.0);
        on->AddElement(curve);
        return curve;
    }

    std::vector<CCurveElement*> Curves(CPage* on)
    {
        std::vector<CCurveElement*> curves;
        for (CGraphElement* e : on->Elements())
            if (e->GetType() == ELEMENT_CURVE) curves.push_back(static_cast<CCurveElement*>(e));
        return curves;
    }

    // Moves a plain point with notification and checks what got marked.
    void MoveAndCheck(CPage* on, CSharedPoint* point, const char* after)
    {
        for (CGraphElement* e : on->Elements()) e->GetBoundRect();
        const std::set<const CGraphElement*> expected = ExpectedMarks(*on, point);
        const CPoint was = point->GetPosition();
        point->MoveTo(was.x + 1, was.y, 1);
        for (const CGraphElement* e : on->Elements())
            ASSERT_EQ(e->IsBoundsDirty() != 0, expected.count(e) == 1)
                << "after " << after << ", moving point " << point->GetNumber();
    }

    CPageSet set;
    std::mt19937 rng;
};

TEST_F(PointUsersFixture, MarksMatchAWalkOverThePageThroughEveryKindOfChange)
{
    for (int i = 0; i < 40; ++i) NewPoint(page());
    for (int i = 0; i < 25; ++i) AddCurve(page());
    // A rectangle standing on a point: not a curve, asked every time.
    page()->AddElement(new FakeElement(page(), ELEMENT_IMAGE, 0, CRect(), 0, page()->GetPointAt(3)));

    for (int step = 0; step < 1500; ++step) {
        std::vector<CCurveElement*> curves = Curves(page());
        const char* change = "nothing";
        switch (Random(0, 7)) {
        case 0:
            if (!curves.empty()) {
                curves[std::size_t(Random(0, int(curves.size()) - 1))]->SetNodes(RandomNodes(page()));
                change = "new nodes";
            }
            break;
        case 1:
            AddCurve(page());
            change = "a curve added";
            break;
        case 2:
            if (curves.size() > 5) {
                // Its points leave the pool when nothing else stands on them.
                CCurveElement* gone = curves[std::size_t(Random(0, int(curves.size()) - 1))];
                page()->RemoveElement(gone);
                delete gone;
                change = "a curve deleted";
            }
            break;
        case 3:
            if (!curves.empty()) {
                CCurveElement* curve = curves[std::size_t(Random(0, int(curves.size()) - 1))];
                if (curve->GetNodeCount() > 2) page()->RemoveNodeAt(curve, Random(0, curve->GetNodeCount() - 1));
                change = "a node removed";
            }
            break;
        case 4: {
            NewPoint(page());
            CSharedPoint* source = AnyPoint(page());
            CSharedPoint* axis1 = AnyPoint(page());
            CSharedPoint* axis2 = AnyPoint(page());
            // A mirror of a mirror is fine; one that would close a cycle is not made.
            if (!source->DependsOn(axis1) && !source->DependsOn(axis2) && source != axis1 && source != axis2
                && !axis1->IsMirrored() && !axis2->IsMirrored())
                page()->AddMirroredPoint(source, axis1, axis2);
            change = "points added";
            break;
        }
        default:
            break;
        }
        for (int k = 0; k < 2; ++k) {
            CSharedPoint* point = AnyPoint(page());
            if (point->IsMirrored()) continue;
            MoveAndCheck(page(), point, change);
            if (HasFatalFailure()) return;
        }
    }
}

TEST_F(PointUsersFixture, PagesReadBackOrCopiedMarkTheirOwnCurves)
{
    for (int i = 0; i < 30; ++i) NewPoint(page());
    for (int i = 0; i < 20; ++i) AddCurve(page());
    page()->AddMirroredPoint(page()->GetPointAt(0), page()->GetPointAt(1), page()->GetPointAt(2));
    CCurveNodeList onMirror;
    onMirror.AddTail(new CCurveNode(page()->GetPointAt(page()->GetPointCount() - 1), 0));
    onMirror.AddTail(new CCurveNode(page()->GetPointAt(5), 0));
    page()->AddElement(new COpenCurveElement(page(), 0, CLineAttr(), 0, onMirror, 0, 0, 0.0, 0, 0, 0.0));
    // The page has answered once, so it holds what stands where.
    MoveAndCheck(page(), page()->GetPointAt(0), "building");

    CArchive out;
    page()->Store(out);
    set.AppendPage();
    CPage* read = set.GetPageAt(1);
    CArchive in(out.Buffer());
    read->Load(in);
    set.AppendPage();
    CPage* copy = set.GetPageAt(2);
    copy->CopyFrom(*page());
    // The first page reads its own record again over what it held.
    CArchive again(out.Buffer());
    page()->Load(again);

    for (CPage* on : {page(), read, copy}) {
        for (int i = 0; i < on->GetPointCount(); ++i) {
            if (on->GetPointAt(i)->IsMirrored()) continue;
            MoveAndCheck(on, on->GetPointAt(i), "reading or copying");
            if (HasFatalFailure()) return;
        }
    }
}

TEST_F(PointUsersFixture, APointOfAnotherPoolAndACurveOnOneAreStillFound)
{
    for (int i = 0; i < 5; ++i) NewPoint(page());
    set.AppendPage();
    CPage* other = set.GetPageAt(1);
    CSharedPoint* foreign = NewPoint(other);
    // A curve of this page standing on the other page's point.
    CCurveNodeList nodes;
    nodes.AddTail(new CCurveNode(page()->GetPointAt(0), 0));
    nodes.AddTail(new CCurveNode(foreign, 0));
    auto* curve = new COpenCurveElement(page(), 0, CLineAttr(), 0, CCurveNodeList(), 0, 0, 0.0, 0, 0, 0.0);
    page()->AddElement(curve);
    curve->SetNodes(nodes);
    AddCurve(page());
    MoveAndCheck(page(), page()->GetPointAt(0), "building");

    for (CGraphElement* e : page()->Elements()) e->GetBoundRect();
    page()->InvalidateElementsUsingPoint(foreign);
    EXPECT_TRUE(curve->IsBoundsDirty());
}

} // namespace
