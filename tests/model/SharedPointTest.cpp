#include "PageTestSupport.h"

#include "model/CCurveNode.h"
#include "model/CPage.h"
#include "model/CPageSet.h"
#include "model/CSharedPoint.h"
#include "platform/CArchive.h"
#include "platform/CDC.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

namespace {

class SharedPointFixture : public ::testing::Test {
protected:
    SharedPointFixture()
    {
        set.AppendPage();
        // The y axis as mirror line.
        axis1 = Add(new CSharedPoint(page(), 0, 0));
        axis2 = Add(new CSharedPoint(page(), 0, 100));
    }
    CPage* page() { return set.GetPageAt(0); }
    CSharedPoint* Add(CSharedPoint* p)
    {
        page()->AddPoint(p);
        return p;
    }

    CPageSet set;
    CSharedPoint* axis1 = nullptr;
    CSharedPoint* axis2 = nullptr;
};

TEST_F(SharedPointFixture, MirrorOfAMirrorReflectsTwiceAndDragsTheRoot)
{
    CSharedPoint* root = Add(new CSharedPoint(page(), 10, 20));
    // The second axis is the x axis.
    CSharedPoint* xAxis = Add(new CSharedPoint(page(), 100, 0));
    CSharedPoint* once = Add(new CSharedPoint(page(), root, axis1, axis2));
    CSharedPoint* twice = Add(new CSharedPoint(page(), once, axis1, xAxis));
    EXPECT_EQ(once->GetPosition(), CPoint(-10, 20));
    EXPECT_EQ(twice->GetPosition(), CPoint(-10, -20));

    twice->MoveTo(-30, -40, 1);
    EXPECT_EQ(root->GetPosition(), CPoint(30, 40));
    EXPECT_EQ(once->GetPosition(), CPoint(-30, 40));
    EXPECT_EQ(twice->GetPosition(), CPoint(-30, -40));
}

TEST_F(SharedPointFixture, MovingAMirrorOntoItsPlaceLeavesTheRootAlone)
{
    CSharedPoint* root = Add(new CSharedPoint(page(), 10, 20));
    CSharedPoint* mirrored = Add(new CSharedPoint(page(), root, axis1, axis2));
    auto* onRoot = new FakeElement(page(), ELEMENT_IMAGE, 0, CRect(), 0, root);
    page()->AddElement(onRoot);
    EXPECT_EQ(mirrored->GetPosition(), CPoint(-10, 20));
    onRoot->GetBoundRect();

    mirrored->MoveTo(-10, 20, 1);
    EXPECT_FALSE(onRoot->IsBoundsDirty());
    mirrored->MoveTo(-11, 20, 1);
    EXPECT_TRUE(onRoot->IsBoundsDirty());
    EXPECT_EQ(root->GetPosition(), CPoint(11, 20));
}

TEST_F(SharedPointFixture, PlainMoveNotifiesOnlyWhenAsked)
{
    CSharedPoint* root = Add(new CSharedPoint(page(), 10, 20));
    auto* onRoot = new FakeElement(page(), ELEMENT_IMAGE, 0, CRect(), 0, root);
    page()->AddElement(onRoot);
    onRoot->GetBoundRect();
    root->MoveTo(1, 2, 0);
    EXPECT_FALSE(onRoot->IsBoundsDirty());
    EXPECT_EQ(root->GetPosition(), CPoint(1, 2));
    root->MoveTo(3, 4, 1);
    EXPECT_TRUE(onRoot->IsBoundsDirty());
}

TEST_F(SharedPointFixture, DegenerateAxisKeepsTheLastPlace)
{
    CSharedPoint* root = Add(new CSharedPoint(page(), 10, 20));
    CSharedPoint* mirrored = Add(new CSharedPoint(page(), root, axis1, axis2));
    EXPECT_EQ(mirrored->GetPosition(), CPoint(-10, 20));
    axis2->MoveTo(0, 0, 1);  // both axis points on one spot: no line
    EXPECT_EQ(mirrored->GetPosition(), CPoint(-10, 20));
}

// An axis of two points on one spot has no line: the tools are refused it
// where it is made, before any point depends on it.
TEST_F(SharedPointFixture, AnAxisOnOneSpotIsRefusedWhereItIsMade)
{
    const int before = page()->GetPointCount();
    CSharedPoint* a1 = axis1;
    CSharedPoint* a2 = axis2;
    EXPECT_FALSE(page()->AddMirrorAxis(CPoint(5, 7), CPoint(5, 7), a1, a2));
    EXPECT_EQ(a1, nullptr);
    EXPECT_EQ(a2, nullptr);
    EXPECT_EQ(page()->GetPointCount(), before);

    CSharedPoint* root = Add(new CSharedPoint(page(), 10, 20));
    CSharedPoint* onAxis1 = Add(new CSharedPoint(page(), 0, 0));
    EXPECT_EQ(page()->AddMirroredPoint(root, axis1, axis1), nullptr);
    EXPECT_EQ(page()->AddMirroredPoint(root, axis1, onAxis1), nullptr);
    EXPECT_EQ(page()->AddMirroredPoint(root, axis1, nullptr), nullptr);
    EXPECT_EQ(page()->GetPointCount(), before + 2);

    ASSERT_TRUE(page()->AddMirrorAxis(CPoint(0, 0), CPoint(100, 0), a1, a2));
    EXPECT_EQ(page()->GetPointCount(), before + 4);
    EXPECT_EQ(a2->GetPosition(), CPoint(100, 0));
    CSharedPoint* mirrored = page()->AddMirroredPoint(root, a1, a2);
    ASSERT_NE(mirrored, nullptr);
    EXPECT_EQ(page()->GetPointIndex(mirrored), before + 4);
    EXPECT_EQ(mirrored->GetPosition(), CPoint(10, -20));
}

// Should one be made anyway, its point stands on its source, not at the
// origin, where it would drag its curves to the page's corner.
TEST_F(SharedPointFixture, AMirrorAcrossNoLineStandsOnItsSource)
{
    CSharedPoint* root = Add(new CSharedPoint(page(), 10, 20));
    CSharedPoint* mirrored = Add(new CSharedPoint(page(), root, axis1, axis1));
    EXPECT_EQ(mirrored->GetPosition(), CPoint(10, 20));
}

TEST_F(SharedPointFixture, DeepMirrorChainsNeitherOverflowNorCrawl)
{
    // A damaged or generated file may chain mirrors very deep; reading the
    // last point must not recurse once per link.
    constexpr int kDepth = 200000;
    CSharedPoint* root = Add(new CSharedPoint(page(), 10, 0));
    CSharedPoint* last = root;
    for (int i = 0; i < kDepth; ++i) last = Add(new CSharedPoint(page(), last, axis1, axis2));
    EXPECT_EQ(last->GetPosition(), CPoint(10, 0));  // an even number of reflections

    last->MoveTo(30, 5, 1);
    EXPECT_EQ(root->GetPosition(), CPoint(30, 5));
    EXPECT_EQ(last->GetPosition(), CPoint(30, 5));
}

TEST_F(SharedPointFixture, CyclesMadeAtRunTimeEnd)
{
    CSharedPoint* a = Add(new CSharedPoint(page(), 10, 0));
    CSharedPoint* b = Add(new CSharedPoint(page(), a, axis1, axis2));
    a->SetMirror(b, axis1, axis2);
    a->InvalidatePosition();
    b->InvalidatePosition();
    a->GetPosition();
    b->GetPosition();
    b->MoveTo(5, 5, 1);
    page()->InvalidateElementsUsingPoint(a);
    SUCCEED();
}

// Records -------------------------------------------------------------------

std::string StorePoint(const CSharedPoint& p)
{
    CArchive ar;
    EXPECT_EQ(p.Store(ar), 1);
    return ar.Buffer();
}

TEST_F(SharedPointFixture, StoresPlainAndMirroredRecords)
{
    CSharedPoint* root = Add(new CSharedPoint(page(), -2, 300));
    CSharedPoint* mirrored = Add(new CSharedPoint(page(), root, axis1, axis2));
    EXPECT_EQ(StorePoint(*root), Hex("00000000 FEFFFFFF 2C010000"));
    // Axis 1, axis 2, source, as point numbers.
    EXPECT_EQ(StorePoint(*mirrored), Hex("01000000 00000000 01000000 02000000"));
}

TEST_F(SharedPointFixture, MirrorOutsideThePoolIsStoredAsAPlainPoint)
{
    // A file must always read back: a mirror link no pool position can
    // express is written as the point's place.
    CSharedPoint outside(page(), 10, 20);
    CSharedPoint* mirrored = Add(new CSharedPoint(page(), &outside, axis1, axis2));
    EXPECT_EQ(StorePoint(*mirrored), Hex("00000000 F6FFFFFF 14000000"));
    page()->RemovePointIfUnused(mirrored);
}

struct PointRecordCase {
    int version;
    const char* hex;
    bool mirrored;
    CPoint position;
};

class PointRecord : public ::testing::TestWithParam<PointRecordCase> {};

TEST_P(PointRecord, ReadsAtTheFileVersion)
{
    const PointRecordCase& c = GetParam();
    CPageSet set(c.version, 100);
    set.AppendPage();
    CSharedPoint point(set.GetPageAt(0));
    CArchive ar(Hex(c.hex));
    EXPECT_EQ(point.Load(ar), 1);
    EXPECT_EQ(ar.BytesLeft(), 0u);
    if (!c.mirrored) {
        EXPECT_EQ(point.ResolveLinks(), 1);
        EXPECT_FALSE(point.IsMirrored());
        EXPECT_EQ(point.GetPosition(), c.position);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Versions, PointRecord,
    ::testing::Values(PointRecordCase{101, "01000000 02000000", false, CPoint(1, 2)},
                      PointRecordCase{100, "FFFFFFFF 00000000", false, CPoint(-1, 0)},
                      PointRecordCase{102, "00000000 01000000 02000000", false, CPoint(1, 2)},
                      PointRecordCase{107, "00000000 05000000 06000000", false, CPoint(5, 6)},
                      PointRecordCase{102, "01000000 00000000 00000000 00000000", true, CPoint()},
                      PointRecordCase{107, "01000000 01000000 02000000 03000000", true, CPoint()}));

TEST_F(SharedPointFixture, TruncatedRecordsFail)
{
    const std::string bytes = Hex("01000000 01000000 02000000 03000000");
    for (std::size_t n = 0; n < bytes.size(); ++n) {
        CSharedPoint point(page());
        CArchive ar(bytes.substr(0, n));
        EXPECT_THROW(point.Load(ar), CArchiveError) << n;
    }
}

TEST_F(SharedPointFixture, CopyDefinitionMapsLinksByNumber)
{
    CSharedPoint* root = Add(new CSharedPoint(page(), 10, 20));
    CSharedPoint* mirrored = Add(new CSharedPoint(page(), root, axis1, axis2));

    CPageSet other;
    other.AppendPage();
    CPage* target = other.GetPageAt(0);
    for (const CSharedPoint* p : page()->Points()) {
        auto* copy = new CSharedPoint(target);
        target->AddPoint(copy);
        copy->CopyDefinition(*p);
    }
    for (CSharedPoint* p : target->Points()) EXPECT_EQ(p->ResolveLinks(), 1);
    CSharedPoint* copied = target->GetPointAt(3);
    EXPECT_EQ(copied->GetMirrorSource(), target->GetPointAt(2));
    EXPECT_EQ(copied->GetPosition(), mirrored->GetPosition());
    EXPECT_EQ(target->GetPointAt(2)->GetPosition(), CPoint(10, 20));
}

// Curve nodes ---------------------------------------------------------------

TEST(CurveNode, MarkedNodeDrawsABlackDotAtItsPoint)
{
    CPageSet set;
    set.AppendPage();
    CSharedPoint point(set.GetPageAt(0), 100, 60);
    CCurveNode node(&point, NODE_CORNER);
    EXPECT_EQ(node.GetPosition(), CPoint(100, 60));

    QImage image(40, 40, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        CDC dc(&painter);
        node.DrawMark(&dc, 10.0, 0, 0, CRect(0, 0, 40, 40));  // unmarked: nothing
        EXPECT_EQ(PixelAt(image, 10, 6), RGB(255, 255, 255));
        node.SetMark(1);
        const CPen pen{PS_SOLID, 3, RGB(1, 2, 3)};
        dc.SelectPen(pen);
        node.DrawMark(&dc, 10.0, 0, 0, CRect(0, 0, 40, 40));
        EXPECT_EQ(dc.GetPen(), pen);  // restored
    }
    EXPECT_EQ(PixelAt(image, 10, 6), RGB(0, 0, 0));
    EXPECT_EQ(PixelAt(image, 20, 20), RGB(255, 255, 255));
}

TEST(CurveNode, CopyAttributesKeepsThePoint)
{
    CSharedPoint a(nullptr, 1, 1), b(nullptr, 2, 2);
    CCurveNode first(&a, NODE_CORNER);
    CCurveNode second(&b, NODE_SMOOTH);
    second.SetMark(1);
    first.CopyAttributes(second);
    EXPECT_EQ(first.GetKind(), NODE_SMOOTH);
    EXPECT_EQ(first.GetMark(), 1);
    EXPECT_EQ(first.GetPoint(), &a);
    CCurveNode pointless(nullptr, NODE_CORNER);
    EXPECT_EQ(pointless.GetPosition(), CPoint());
}

}  // namespace
