// Moving a selection of elements by an offset: curves through their shared
// points (once each, whatever number of selected curves stand on them),
// fills with their curves, pictures, texts and embedded objects by their
// own placement, and mirror images by following their sources.
#include "model/ElementOffset.h"

#include "model/CClosedCurveElement.h"
#include "model/CCurveNode.h"
#include "model/CImageElement.h"
#include "model/COleObjectElement.h"
#include "model/COpenCurveElement.h"
#include "model/CPage.h"
#include "model/CPageSet.h"
#include "model/CSharedPoint.h"
#include "model/CTextElement.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

class ElementOffsetTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        pages.AppendPage();
        page = pages.GetPageAt(0);
    }

    CSharedPoint* Point(int x, int y)
    {
        auto* p = new CSharedPoint(page, x, y);
        page->AddPoint(p);
        return p;
    }
    CCurveNodeList Nodes(const std::vector<CSharedPoint*>& points)
    {
        CCurveNodeList nodes;
        for (CSharedPoint* p : points) nodes.AddTail(new CCurveNode(p, NODE_CORNER));
        return nodes;
    }
    COpenCurveElement* Open(const std::vector<CSharedPoint*>& points)
    {
        auto* c = new COpenCurveElement(page, 0, CLineAttr(10), 0, Nodes(points), 0, 600, 53.0, 0, 600, 53.0);
        page->AddElement(c);
        return c;
    }
    static std::vector<CPoint> Positions(const CCurveElement* c)
    {
        std::vector<CPoint> out;
        for (const CCurveNode* n : c->Nodes()) out.push_back(n->GetPosition());
        return out;
    }

    CPageSet pages;
    CPage* page = nullptr;
};

} // namespace

TEST_F(ElementOffsetTest, SharedPointsMoveOnceAndCarryEveryCurveOnThem)
{
    CSharedPoint* shared = Point(500, 500);
    COpenCurveElement* a = Open({Point(0, 0), shared});
    COpenCurveElement* b = Open({shared, Point(1000, 0)});
    COpenCurveElement* outside = Open({shared, Point(2000, 2000)});
    CElementList selection;
    selection.AddTail(a);
    selection.AddTail(b);
    selection.AddTail(a); // listed twice: moved once
    OffsetElements(selection, 100, -50);
    EXPECT_EQ(Positions(a), (std::vector<CPoint>{{100, -50}, {600, 450}}));
    EXPECT_EQ(Positions(b), (std::vector<CPoint>{{600, 450}, {1100, -50}}));
    // A curve outside the selection keeps its own points and follows the
    // shared one.
    EXPECT_EQ(Positions(outside), (std::vector<CPoint>{{600, 450}, {2000, 2000}}));
}

TEST_F(ElementOffsetTest, FillsPicturesTextsAndObjectsMoveWithTheirElements)
{
    auto* closed = new CClosedCurveElement(page, 0, CLineAttr(10), 0,
                                           Nodes({Point(0, 0), Point(1000, 0), Point(500, 800)}), nullptr,
                                           FILL_LINEAR, RGB(0, 0, 0), RGB(255, 255, 255), CPoint(10, 20),
                                           CPoint(900, 20), 0.5, 0.5, CPoint(500, 300), RGB(1, 2, 3), 0.0, 0);
    page->AddElement(closed);
    closed->SetBitmapCenter(40, 50);
    auto* picture = new CImageElement(page, 0);
    picture->SetUpperLeft(0, 0);
    picture->SetUpperRight(600, 0);
    picture->SetLowerRight(600, 400);
    picture->SetLowerLeft(0, 400);
    page->AddElement(picture);
    LogFont lf;
    lf.lfHeight = -400;
    auto* text = new CTextElement(page, 0, CTextFont("AB", lf, 0), 3000, 3000, 1);
    page->AddElement(text);
    auto* object = new COleObjectElement(page, 0);
    object->SetRect(CRect(10, 10, 110, 60));
    page->AddElement(object);

    CElementList selection;
    for (CGraphElement* e : page->Elements()) selection.AddTail(e);
    const CPoint text2 = text->GetCorner2();
    OffsetElements(selection, -10, 30);

    EXPECT_EQ(Positions(closed), (std::vector<CPoint>{{-10, 30}, {990, 30}, {490, 830}}));
    EXPECT_EQ(closed->GetGradientStart(), CPoint(0, 50));
    EXPECT_EQ(closed->GetGradientEnd(), CPoint(890, 50));
    EXPECT_EQ(closed->GetGradientCenter(), CPoint(490, 330));
    EXPECT_EQ(closed->GetBitmapCenter(), CPoint(30, 80));
    EXPECT_EQ(picture->GetUpperLeft(), CPoint(-10, 30));
    EXPECT_EQ(picture->GetLowerRight(), CPoint(590, 430));
    EXPECT_EQ(text->GetOrigin(), CPoint(2990, 3030));
    EXPECT_EQ(text->GetCorner2(), text2 + CPoint(-10, 30));
    EXPECT_EQ(object->GetRect(), CRect(0, 40, 100, 90));
}

TEST_F(ElementOffsetTest, MirrorImagesFollowTheirSource)
{
    CSharedPoint* axis1 = Point(0, -1000);
    CSharedPoint* axis2 = Point(0, 1000);
    CSharedPoint* p1 = Point(100, 0);
    CSharedPoint* p2 = Point(300, 200);
    COpenCurveElement* source = Open({p1, p2});
    auto* m1 = new CSharedPoint(page, p1, axis1, axis2);
    auto* m2 = new CSharedPoint(page, p2, axis1, axis2);
    page->AddPoint(m1);
    page->AddPoint(m2);
    COpenCurveElement* image = Open({m1, m2});
    CElementList selection;
    selection.AddTail(source);
    selection.AddTail(image);
    OffsetElements(selection, 50, 0);
    EXPECT_EQ(Positions(source), (std::vector<CPoint>{{150, 0}, {350, 200}}));
    EXPECT_EQ(Positions(image), (std::vector<CPoint>{{-150, 0}, {-350, 200}}));
}

// A drag moves the selection many times: each move marks exactly the
// curves standing on a moved point or on a point mirrored from one, and
// their bounds follow, however often the page was asked before.
TEST_F(ElementOffsetTest, EachMoveMarksTheCurvesOnTheMovedPointsAndNoOthers)
{
    CSharedPoint* shared = Point(500, 500);
    COpenCurveElement* moved = Open({Point(0, 0), shared});
    COpenCurveElement* outside = Open({shared, Point(2000, 2000)});
    auto* mirrored = new CSharedPoint(page, shared, Point(0, -1000), Point(0, 1000));
    page->AddPoint(mirrored);
    COpenCurveElement* image = Open({mirrored, Point(-3000, 0)});
    COpenCurveElement* unrelated = Open({Point(5000, 5000), Point(6000, 5000)});
    CElementList selection;
    selection.AddTail(moved);
    const int pen = 500 - outside->GetBoundRect().left;
    for (int step = 1; step <= 3; ++step) {
        for (CGraphElement* e : page->Elements()) e->GetBoundRect();
        OffsetElements(selection, 100, 0);
        EXPECT_TRUE(moved->IsBoundsDirty()) << step;
        EXPECT_TRUE(outside->IsBoundsDirty()) << step;
        EXPECT_TRUE(image->IsBoundsDirty()) << step;
        EXPECT_FALSE(unrelated->IsBoundsDirty()) << step;
        const int x = 500 + 100 * step;
        EXPECT_EQ(outside->GetBoundRect().left, x - pen) << step;
        EXPECT_EQ(Positions(image).front(), CPoint(-x, 500)) << step;
    }
}
