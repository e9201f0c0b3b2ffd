#include "PageTestSupport.h"

#include "model/CPage.h"
#include "model/CPageSet.h"
#include "model/CSharedPoint.h"
#include "model/CTextPairElement.h"
#include "model/ElementFactory.h"
#include "platform/CArchive.h"
#include "platform/CDC.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <climits>

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);

class PageFixture : public ::testing::Test {
protected:
    PageFixture() { set.AppendPage(); }
    CPage* page() { return set.GetPageAt(0); }

    FakeElement* Add(int kind, int level, const CRect& rect, COLORREF colour,
                     const CSharedPoint* point = nullptr)
    {
        auto* e = new FakeElement(page(), kind, level, rect, colour, point);
        page()->AddElement(e);
        return e;
    }

    // The page drawn at scale 1 into a white 20 x 20 image.
    QImage Render()
    {
        QImage image(20, 20, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        CDC dc(&painter);
        page()->Draw(&dc, 1.0, 0, 0, CRect(0, 0, 20, 20));
        return image;
    }

    CPageSet set;
};

TEST_F(PageFixture, ElementLevelsRaiseTheHighestLevelOnly)
{
    page()->SetMaxLevel(3);
    FakeElement* e = Add(ELEMENT_IMAGE, 7, CRect(), 0);
    EXPECT_EQ(page()->GetMaxLevel(), 7);
    Add(ELEMENT_IMAGE, 2, CRect(), 0);
    EXPECT_EQ(page()->GetMaxLevel(), 7);
    e->SetLevel(9);
    EXPECT_EQ(page()->GetMaxLevel(), 9);
    e->SetLevel(1);
    page()->RemoveElement(e);
    delete e;
    EXPECT_EQ(page()->GetMaxLevel(), 9);  // never falls
}

TEST_F(PageFixture, DrawsLowLevelsFirstAndListOrderWithinALevel)
{
    Add(ELEMENT_IMAGE, 3, CRect(0, 0, 10, 10), kRed);   // higher level, earlier in the list
    Add(ELEMENT_IMAGE, 1, CRect(0, 0, 10, 10), kBlue);
    Add(ELEMENT_IMAGE, 0, CRect(10, 10, 20, 20), kBlue);
    Add(ELEMENT_IMAGE, 0, CRect(10, 10, 20, 20), kGreen);  // same level, later: on top
    const QImage image = Render();
    EXPECT_EQ(PixelAt(image, 5, 5), kRed);
    EXPECT_EQ(PixelAt(image, 15, 15), kGreen);
}

TEST_F(PageFixture, HugeLevelsDrawAndHitWithoutWalkingEveryLevel)
{
    // A file may say any level; nothing may count up to it.
    FakeElement* top = Add(ELEMENT_IMAGE, INT_MAX, CRect(0, 0, 10, 10), kRed);
    FakeElement* bottom = Add(ELEMENT_IMAGE, 0, CRect(0, 0, 10, 10), kBlue);
    EXPECT_EQ(page()->GetMaxLevel(), INT_MAX);
    const QImage image = Render();
    EXPECT_EQ(PixelAt(image, 5, 5), kRed);
    EXPECT_EQ(top->drawCount, 1);
    EXPECT_EQ(bottom->drawCount, 1);

    CGraphElement* hit = nullptr;
    ASSERT_EQ(page()->HitTestImage(5, 5, hit), 1);
    EXPECT_EQ(hit, top);
    CPoint at;
    double distance = -1;
    ASSERT_EQ(page()->HitTestElement(5, 5, 10.0, ELEMENT_ALL, hit, at, distance), 1);
    EXPECT_EQ(hit, bottom);
}

TEST_F(PageFixture, LevelsOutsideTheRangeAreNotDrawn)
{
    FakeElement* below = Add(ELEMENT_IMAGE, -1, CRect(0, 0, 10, 10), kRed);
    FakeElement* above = Add(ELEMENT_IMAGE, 5, CRect(10, 10, 20, 20), kRed);
    page()->SetMaxLevel(4);
    const QImage image = Render();
    EXPECT_EQ(PixelAt(image, 5, 5), kWhite);
    EXPECT_EQ(PixelAt(image, 15, 15), kWhite);
    EXPECT_EQ(below->drawCount + above->drawCount, 0);
}

TEST_F(PageFixture, TopMostSearchesStopAtTheHighestHitWhileTheGeneralTestTakesTheLast)
{
    FakeElement* level3 = Add(ELEMENT_IMAGE, 3, CRect(0, 0, 10, 10), kRed);
    FakeElement* level1 = Add(ELEMENT_IMAGE, 1, CRect(0, 0, 10, 10), kBlue);
    CGraphElement* hit = nullptr;
    ASSERT_EQ(page()->HitTestImage(5, 5, hit), 1);
    EXPECT_EQ(hit, level3);

    CPoint at;
    double distance = -1;
    ASSERT_EQ(page()->HitTestElement(5, 5, 10.0, ELEMENT_IMAGE, hit, at, distance), 1);
    EXPECT_EQ(hit, level1);
    EXPECT_EQ(at, CPoint(5, 5));
    EXPECT_EQ(distance, 0.0);

    // Within one level the element drawn last is the top-most one.
    FakeElement* later3 = Add(ELEMENT_IMAGE, 3, CRect(0, 0, 10, 10), kRed);
    ASSERT_EQ(page()->HitTestImage(5, 5, hit), 1);
    EXPECT_EQ(hit, later3);
}

TEST_F(PageFixture, HitTestsKeepToTheirKinds)
{
    FakeElement* text = Add(ELEMENT_TEXT, 0, CRect(0, 0, 10, 10), 0);
    FakeElement* table = Add(ELEMENT_TABLE, 0, CRect(0, 0, 10, 10), 0);
    Add(ELEMENT_TEXTPAIR, 0, CRect(0, 0, 10, 10), 0);
    Add(ELEMENT_OLEOBJECT, 0, CRect(0, 0, 10, 10), 0);
    CGraphElement* hit = nullptr;
    EXPECT_EQ(page()->HitTestImage(5, 5, hit), 0);
    ASSERT_EQ(page()->HitTestText(5, 5, hit), 1);
    EXPECT_EQ(hit, text);
    ASSERT_EQ(page()->HitTestTable(5, 5, hit), 1);
    EXPECT_EQ(hit, table);
    EXPECT_EQ(page()->HitTestTable(50, 5, hit), 0);

    CPoint at;
    double distance = 0;
    hit = nullptr;
    // The inert kind and embedded objects are never hit by the general test.
    EXPECT_EQ(page()->HitTestElement(5, 5, 10.0, ELEMENT_TEXTPAIR | ELEMENT_OLEOBJECT, hit, at,
                                     distance),
              0);
    EXPECT_EQ(hit, nullptr);
    ASSERT_EQ(page()->HitTestElement(5, 5, 10.0, ELEMENT_TEXT, hit, at, distance), 1);
    EXPECT_EQ(hit, text);
}

TEST_F(PageFixture, BoundsAreTheUnionOfTheElements)
{
    EXPECT_TRUE(page()->GetBoundRect().IsRectEmpty());
    Add(ELEMENT_IMAGE, 0, CRect(0, 0, 10, 10), 0);
    Add(ELEMENT_TEXTPAIR, 0, CRect(), 0);
    Add(ELEMENT_IMAGE, 0, CRect(20, 5, 30, 40), 0);
    EXPECT_EQ(page()->GetBoundRect(), CRect(0, 0, 30, 40));
}

TEST_F(PageFixture, ElementsInRectUseBoundsForNonCurves)
{
    FakeElement* a = Add(ELEMENT_IMAGE, 0, CRect(0, 0, 10, 10), 0);
    Add(ELEMENT_TEXT, 0, CRect(0, 0, 10, 10), 0);
    Add(ELEMENT_IMAGE, 0, CRect(50, 50, 60, 60), 0);
    CElementList out;
    out.AddTail(nullptr);  // emptied first
    ASSERT_EQ(page()->GetElementsInRect(CRect(5, 5, 20, 20), ELEMENT_IMAGE, out), 1);
    ASSERT_EQ(out.GetCount(), 1);
    EXPECT_EQ(out.GetHead(), a);
}

TEST_F(PageFixture, UnusedPointsLeaveButMirrorAndAxisPointsStay)
{
    auto* source = new CSharedPoint(page(), 10, 0);
    auto* axis1 = new CSharedPoint(page(), 0, 0);
    auto* axis2 = new CSharedPoint(page(), 0, 10);
    auto* mirrored = new CSharedPoint(page(), source, axis1, axis2);
    auto* used = new CSharedPoint(page(), 5, 5);
    auto* loose = new CSharedPoint(page(), 7, 7);
    for (CSharedPoint* p : {source, axis1, axis2, mirrored, used, loose}) page()->AddPoint(p);
    FakeElement* user = Add(ELEMENT_IMAGE, 0, CRect(), 0, used);

    page()->RemovePointIfUnused(source);  // mirrored from
    page()->RemovePointIfUnused(axis1);   // mirrored across
    page()->RemovePointIfUnused(axis2);
    page()->RemovePointIfUnused(used);
    EXPECT_EQ(page()->GetPointCount(), 6);
    EXPECT_EQ(mirrored->GetPosition(), CPoint(-10, 0));

    page()->RemovePointIfUnusedExcept(used, user);
    page()->RemovePointIfUnused(loose);
    // The removed points are freed: only the mirror and its sources stay.
    ASSERT_EQ(page()->GetPointCount(), 4);
    const CSharedPoint* stay[] = {source, axis1, axis2, mirrored};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(page()->GetPointAt(i), stay[i]);

    // Once the mirrored point has gone, its source and axis may follow.
    page()->RemovePointIfUnused(mirrored);
    for (CSharedPoint* p : {source, axis1, axis2}) page()->RemovePointIfUnused(p);
    EXPECT_EQ(page()->GetPointCount(), 0);
}

TEST_F(PageFixture, PointNotInThePoolIsLeftAlone)
{
    CPageSet other;
    other.AppendPage();
    auto* foreign = new CSharedPoint(other.GetPageAt(0), 1, 1);
    other.GetPageAt(0)->AddPoint(foreign);
    page()->RemovePointIfUnused(foreign);
    EXPECT_EQ(other.GetPageAt(0)->GetPointCount(), 1);
    EXPECT_EQ(page()->GetPointIndex(foreign), -1);
}

TEST_F(PageFixture, MovingAPointMarksItsUsersAndTheUsersOfItsMirrors)
{
    auto* root = new CSharedPoint(page(), 10, 0);
    auto* axis1 = new CSharedPoint(page(), 0, 0);
    auto* axis2 = new CSharedPoint(page(), 0, 10);
    auto* once = new CSharedPoint(page(), root, axis1, axis2);
    auto* twice = new CSharedPoint(page(), once, axis1, axis2);
    auto* other = new CSharedPoint(page(), 3, 3);
    for (CSharedPoint* p : {root, axis1, axis2, once, twice, other}) page()->AddPoint(p);
    FakeElement* onTwice = Add(ELEMENT_IMAGE, 0, CRect(), 0, twice);
    FakeElement* onOther = Add(ELEMENT_IMAGE, 0, CRect(), 0, other);
    EXPECT_EQ(twice->GetPosition(), CPoint(10, 0));
    onTwice->GetBoundRect();
    onOther->GetBoundRect();

    axis2->MoveTo(10, 10, 1);  // the axis turns: both mirrors move
    EXPECT_TRUE(onTwice->IsBoundsDirty());
    EXPECT_FALSE(onOther->IsBoundsDirty());
    EXPECT_EQ(once->GetPosition(), CPoint(0, 10));
    EXPECT_EQ(twice->GetPosition(), CPoint(10, 0));
}

TEST_F(PageFixture, PointNumbersAreListPositions)
{
    auto* a = new CSharedPoint(page(), 1, 1);
    auto* b = new CSharedPoint(page(), 2, 2);
    page()->AddPoint(a);
    page()->AddPoint(b);
    EXPECT_EQ(page()->GetPointIndex(b), 1);
    EXPECT_EQ(page()->GetPointAt(0), a);
    EXPECT_EQ(page()->GetPointAt(2), nullptr);
    EXPECT_EQ(page()->GetPointAt(-1), nullptr);
    EXPECT_EQ(page()->GetPointAt(1), b);
    // A point removed does not leave a stale number behind.
    page()->RemovePointIfUnused(a);
    EXPECT_EQ(page()->GetPointIndex(b), 0);
    EXPECT_EQ(page()->GetPointAt(0), b);
}

TEST_F(PageFixture, InertKindStoresItsHeaderAlone)
{
    CTextPairElement element(page(), 5);
    CArchive ar;
    EXPECT_EQ(element.Store(ar), 1);
    EXPECT_EQ(ar.Buffer(), Hex("10 00 00 00 05 00 00 00"));
    EXPECT_TRUE(element.GetBoundRect().IsRectEmpty());
    EXPECT_EQ(element.ContainsPoint(0, 0), 0);
}

TEST_F(PageFixture, FactoryRefusesWhatItCannotRead)
{
    for (int kind : {0, 3, 8, 64, -1}) {
        EXPECT_THROW(CreateElement(page(), kind, 0, false), CArchiveError) << kind;
    }
    auto inert = CreateElement(page(), ELEMENT_TEXTPAIR, 6, false);
    ASSERT_NE(inert, nullptr);
    EXPECT_EQ(inert->GetType(), ELEMENT_TEXTPAIR);
    EXPECT_EQ(inert->GetLevel(), 6);
    EXPECT_EQ(page()->GetMaxLevel(), 6);
}

TEST_F(PageFixture, CopyOfAPageStoresTheSameRecord)
{
    auto* source = new CSharedPoint(page(), 10, 20);
    auto* axis1 = new CSharedPoint(page(), 0, 0);
    auto* axis2 = new CSharedPoint(page(), 0, 10);
    page()->AddPoint(new CSharedPoint(page(), source, axis1, axis2));
    page()->AddPoint(source);
    page()->AddPoint(axis1);
    page()->AddPoint(axis2);
    page()->AddElement(new CTextPairElement(page(), 4));
    page()->SetMaxLevel(9);

    CPage copy(&set);
    copy.CopyFrom(*page());
    CArchive a, b;
    page()->Store(a);
    copy.Store(b);
    EXPECT_EQ(a.Buffer(), b.Buffer());
    EXPECT_EQ(copy.GetMaxLevel(), 9);
    EXPECT_EQ(copy.GetPointAt(0)->GetMirrorSource(), copy.GetPointAt(1));
    EXPECT_EQ(copy.GetPointAt(0)->GetLayer(), &copy);
    // The source page's numbering was only borrowed for the copy.
    source->MoveTo(30, 40, 1);
    EXPECT_EQ(copy.GetPointAt(0)->GetPosition(), CPoint(-10, 20));
}

}  // namespace
