// The open curve: arrowheads, the line shortened under filled heads, the
// dispatch of line kinds, drawing, and the document and library records.
#include "model/COpenCurveElement.h"
#include "model/CCurveNode.h"
#include "model/CPage.h"
#include "model/CPageSet.h"
#include "model/CSharedPoint.h"

#include "geometry/Polyline.h"
#include "platform/CArchive.h"
#include "platform/CDC.h"

#include "HexBytes.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

namespace {

struct Node {
    int x = 0, y = 0, kind = 0;
};

struct Arrows {
    int startKind = 0, startSize = 600;
    double startAngle = 53.0;
    int endKind = 0, endSize = 600;
    double endAngle = 53.0;
};

class OpenCurveTest : public ::testing::Test {
protected:
    OpenCurveTest() { m_set.InsertPage(0); }
    CPage* page() const { return m_set.GetPageAt(0); }

    COpenCurveElement* Curve(std::initializer_list<Node> nodes, const CLineAttr& line, const Arrows& a = {})
    {
        CCurveNodeList list;
        for (const Node& n : nodes) list.AddTail(new CCurveNode(new CSharedPoint(page(), n.x, n.y), n.kind));
        auto* curve = new COpenCurveElement(page(), 0, line, RGB(0, 0, 0), list, a.startKind, a.startSize,
                                            a.startAngle, a.endKind, a.endSize, a.endAngle);
        page()->AddElement(curve);
        return curve;
    }
    // A straight line of width 10 from (0, 0) to (length, 0).
    COpenCurveElement* Line(int length, const Arrows& a, const CLineAttr& line = CLineAttr(10))
    {
        return Curve({{0, 0}, {length, 0}}, line, a);
    }

    CPageSet m_set{107, 100};
};

std::vector<CPoint> Points(const CPointList& list) { return {list.begin(), list.end()}; }

std::vector<CLineTypeShape> Shapes(COpenCurveElement* curve)
{
    CLineTypeShapeList list;
    curve->GetLineShapes(list);
    return {list.begin(), list.end()};
}

std::vector<CPoint> StartHead(COpenCurveElement* curve)
{
    CPointList head;
    curve->GetStartHeadOutline(head);
    return Points(head);
}

std::vector<CPoint> EndHead(COpenCurveElement* curve)
{
    CPointList head;
    curve->GetEndHeadOutline(head);
    return Points(head);
}

CLineAttr Dashed(int width, int dash, int gap)
{
    CLineAttr line = CLineAttr::Dashed(width);
    line.SetParam(1, dash);
    line.SetParam(2, gap);
    return line;
}

// ---------------------------------------------------------------------------
// Arrowheads

// Width 10, size 600: a base of 60 and, at 53 degrees, sides of
// 30 / sin(26.5) = 67.2, raised to one millimetre (100). The sides end at
// (100, 0) turned by +-26.5 degrees: (89, +-45).
TEST_F(OpenCurveTest, ArrowheadsOfEachKindAtTheStart)
{
    struct Case {
        int kind;
        std::vector<CPoint> head;
        CPoint lineStart;  // where the line begins after shortening
    };
    const Case cases[] = {
        {1, {{89, 45}, {0, 0}, {89, -45}}, {89, 0}},
        {2, {{89, 45}, {0, 0}, {89, -45}}, {0, 0}},
        // Notch: cos(26.5) x 100 - tan(31.75) x 30 = 70.9 from the tip.
        {3, {{71, 0}, {89, 45}, {0, 0}, {89, -45}}, {71, 0}},
        {4, {}, {0, 0}},
    };
    for (const Case& c : cases) {
        Arrows a;
        a.startKind = c.kind;
        COpenCurveElement* curve = Line(1000, a);
        EXPECT_EQ(StartHead(curve), c.head) << c.kind;
        EXPECT_TRUE(EndHead(curve).empty());
        const auto shapes = Shapes(curve);
        ASSERT_EQ(shapes.size(), 1u);
        EXPECT_EQ(Points(shapes[0].GetPoints()), (std::vector<CPoint>{c.lineStart, {1000, 0}})) << c.kind;
    }
}

TEST_F(OpenCurveTest, ArrowheadAtTheEndPointsBackAlongTheLine)
{
    Arrows a;
    a.endKind = 1;
    COpenCurveElement* curve = Curve({{0, 0}, {1000, 0}, {1000, 1000}}, CLineAttr(10), a);
    EXPECT_EQ(EndHead(curve), (std::vector<CPoint>{{1045, 911}, {1000, 1000}, {955, 911}}));
    const auto shapes = Shapes(curve);
    ASSERT_EQ(shapes.size(), 1u);
    EXPECT_EQ(shapes[0].GetPoints().GetTail(), CPoint(1000, 911));
}

TEST_F(OpenCurveTest, LargeArrowheadKeepsItsComputedSide)
{
    // Width 100, size 600: base 600, side 300 / sin(26.5) = 672.3; the side's
    // end is rounded to (672, 0) before it is turned.
    Arrows a;
    a.startKind = 2;
    COpenCurveElement* curve = Line(3000, a, CLineAttr(100));
    EXPECT_EQ(StartHead(curve), (std::vector<CPoint>{{601, 300}, {0, 0}, {601, -300}}));
}

TEST_F(OpenCurveTest, CustomLineKindHasNoArrowheads)
{
    const CLineTypeShapeArray pattern = {CLineTypeShape(4, 1, CPointList{{0, 0}, {100, 25}, {0, 50}})};
    Arrows a;
    a.startKind = 1;
    a.endKind = 3;
    COpenCurveElement* curve = Line(1000, a, CLineAttr::Custom(10, 100, pattern));
    EXPECT_TRUE(StartHead(curve).empty());
    EXPECT_TRUE(EndHead(curve).empty());
    EXPECT_EQ(Shapes(curve).front().GetPoints().GetHead(), CPoint(0, 0));  // not shortened
}

TEST_F(OpenCurveTest, ArrowAngleWithoutOpeningSkipsTheHead)
{
    // 0 and 360 degrees would divide by sin(0); such a head is left out and
    // the line is drawn whole.
    for (double angle : {0.0, 360.0, -20.0, 400.0}) {
        Arrows a;
        a.startKind = 1;
        a.startAngle = angle;
        a.endKind = 3;
        a.endAngle = angle;
        COpenCurveElement* curve = Line(1000, a);
        EXPECT_TRUE(StartHead(curve).empty()) << angle;
        EXPECT_TRUE(EndHead(curve).empty()) << angle;
        EXPECT_EQ(Points(Shapes(curve).front().GetPoints()), (std::vector<CPoint>{{0, 0}, {1000, 0}})) << angle;
        EXPECT_EQ(curve->GetBoundRect(), CRect(0, 0, 1001, 1)) << angle;
    }
}

TEST_F(OpenCurveTest, BoundsIncludeTheArrowheads)
{
    Arrows a;
    a.startKind = 2;
    COpenCurveElement* curve = Line(1000, a);
    EXPECT_EQ(curve->GetBoundRect(), CRect(0, -45, 1001, 46));
    curve->SetStartArrowKind(0);
    EXPECT_EQ(curve->GetBoundRect(), CRect(0, 0, 1001, 1));
    curve->SetEndArrowKind(1);
    EXPECT_EQ(curve->GetBoundRect(), CRect(0, -45, 1001, 46));
}

TEST_F(OpenCurveTest, EndArrowOfACurveThatReturnsToItsStartFollowsItsLastStretch)
{
    // All nodes smooth: the outline is a closed spline whose last point is
    // its first. The head at the end must still point along the curve.
    Arrows a;
    a.endKind = 1;
    COpenCurveElement* curve = Curve({{0, 0, 1}, {3000, 0, 1}, {1500, 3000, 1}}, CLineAttr(10), a);
    const std::vector<CPoint> head = EndHead(curve);
    ASSERT_EQ(head.size(), 3u);
    EXPECT_EQ(head[1], CPoint(0, 0));
    EXPECT_NE(head[0], head[1]);
    EXPECT_NE(head[0], head[2]);
}

// ---------------------------------------------------------------------------
// Line kinds

TEST_F(OpenCurveTest, ShortCurvesAndShortPeriodsAreDrawnPlain)
{
    struct Case {
        const char* name;
        int length;
        Arrows arrows;
        CLineAttr line;
        std::size_t shapes;
    };
    Arrows both;
    both.startKind = 1;
    both.endKind = 1;
    const Case cases[] = {
        // 250 long, 89 cut at each end: 72 left, below a millimetre.
        {"short after shortening", 250, both, Dashed(10, 20, 20), 1},
        {"period of one millimetre", 1000, {}, Dashed(10, 50, 50), 1},
        {"period just above", 1000, {}, Dashed(10, 50, 51), 10},
        {"dotted, period 55", 1000, {}, CLineAttr::Dotted(5), 1},
    };
    for (const Case& c : cases) {
        COpenCurveElement* curve = Line(c.length, c.arrows, c.line);
        EXPECT_EQ(Shapes(curve).size(), c.shapes) << c.name;
    }
    COpenCurveElement* shortLine = Line(250, both, Dashed(10, 20, 20));
    EXPECT_EQ(Points(Shapes(shortLine)[0].GetPoints()), (std::vector<CPoint>{{89, 0}, {161, 0}}));
}

TEST_F(OpenCurveTest, WidePlainLineStaysAPolyline)
{
    COpenCurveElement* curve = Line(1000, {}, CLineAttr(80));
    const auto shapes = Shapes(curve);
    ASSERT_EQ(shapes.size(), 1u);
    EXPECT_FALSE(shapes[0].IsFilled());
    EXPECT_EQ(shapes[0].GetPenWidth(), 80);
}

TEST_F(OpenCurveTest, SideAndDoubleLinesStandTenWidthsOff)
{
    // Width 10: side lines at y = -100 (+10 x width) and y = +100; each side
    // line holds six thin dashes (n = round(900 / 200) = 5, plus the last).
    struct Case {
        int kind;
        std::vector<int> dashRows;  // y of the thin dashed lines, in order
    };
    const Case cases[] = {{5, {-100}}, {6, {100}}, {7, {-100, 100}}, {8, {0}}};
    for (const Case& c : cases) {
        COpenCurveElement* curve = Line(1000, {}, CLineAttr::SideLines(c.kind, 10));
        const auto shapes = Shapes(curve);
        ASSERT_EQ(shapes.size(), 2 + 6 * c.dashRows.size() - (c.kind == 8 ? 0 : 1)) << c.kind;
        std::size_t i = 0;
        if (c.kind == 8) {
            EXPECT_EQ(Points(shapes[i].GetPoints()), (std::vector<CPoint>{{0, -100}, {1000, -100}}));
            EXPECT_EQ(shapes[i++].GetPenWidth(), 10);
        } else {
            EXPECT_EQ(Points(shapes[i++].GetPoints()), (std::vector<CPoint>{{0, 0}, {1000, 0}}));
        }
        for (int row : c.dashRows) {
            for (int k = 0; k < 6; ++k, ++i) {
                EXPECT_EQ(shapes[i].GetPenWidth(), 10);
                for (const CPoint& p : shapes[i].GetPoints()) EXPECT_EQ(p.y, row) << c.kind;
            }
        }
        if (c.kind == 8) {
            EXPECT_EQ(Points(shapes[i].GetPoints()), (std::vector<CPoint>{{0, 100}, {1000, 100}}));
        }
    }
}

// ---------------------------------------------------------------------------
// Drawing

QImage Render(COpenCurveElement& curve, double scale, bool highlight = false)
{
    QImage image(220, 40, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    {
        CDC dc(&painter);
        dc.SelectPen(CPen{PS_SOLID, 1, RGB(255, 0, 0)});
        if (highlight)
            curve.DrawHighlight(&dc, scale, 0, 0, CRect(0, 0, 220, 40));
        else
            curve.Draw(&dc, scale, 0, 0, CRect(0, 0, 220, 40));
    }
    painter.end();
    return image;
}

TEST_F(OpenCurveTest, ArrowheadIsDrawnAtTheRightEnd)
{
    // Width 100 at scale 50: a 2-pixel line along y = 10 from x = 0 to
    // 200; the head's sides are 13 pixels long.
    Arrows a;
    a.endKind = 1;
    COpenCurveElement* curve = Curve({{0, 500}, {10000, 500}}, CLineAttr(100), a);
    curve->SetColor(RGB(0, 0, 255));
    const QImage image = Render(*curve, 50.0);
    EXPECT_EQ(image.pixelColor(190, 13), QColor(0, 0, 255));  // inside the head, off the line
    EXPECT_EQ(image.pixelColor(190, 7), QColor(0, 0, 255));
    EXPECT_EQ(image.pixelColor(10, 13), QColor(Qt::white));   // no head at the start
    EXPECT_EQ(image.pixelColor(202, 10), QColor(Qt::white));  // nothing beyond the tip

    const QImage highlighted = Render(*curve, 50.0, true);
    EXPECT_EQ(highlighted.pixelColor(190, 13), QColor(255, 0, 0));

    curve->SetEndArrowKind(2);  // an open V leaves its inside empty
    const QImage open = Render(*curve, 50.0);
    EXPECT_EQ(open.pixelColor(190, 13), QColor(Qt::white));
    EXPECT_EQ(open.pixelColor(190, 10), QColor(0, 0, 255));
}

TEST_F(OpenCurveTest, DashedLineShowsItsDashCountAlongAKnownLength)
{
    // L = 1000, p1 = p2 = 100: six dashes of 90.9 with five gaps.
    COpenCurveElement* curve = Curve({{0, 100}, {1000, 100}}, Dashed(10, 100, 100));
    const QImage image = Render(*curve, 5.0);
    int runs = 0;
    bool inInk = false;
    for (int x = 0; x < image.width(); ++x) {
        const bool ink = image.pixelColor(x, 19).red() < 128;
        if (ink && !inInk) ++runs;
        inInk = ink;
    }
    EXPECT_EQ(runs, 6);
    EXPECT_LT(image.pixelColor(199, 19).red(), 128);  // the last dash reaches the end
}

// ---------------------------------------------------------------------------
// Copy and records

TEST_F(OpenCurveTest, CopyTakesTheArrows)
{
    Arrows a{3, 250, 30.5, 2, 400, 70.0};
    Line(1000, a);
    CPageSet other(107, 100);
    other.InsertPage(0);
    other.GetPageAt(0)->CopyFrom(*page());
    auto* copy = static_cast<COpenCurveElement*>(other.GetPageAt(0)->ElementAt(0));
    int sk = 0, ss = 0, ek = 0, es = 0;
    double sa = 0, ea = 0;
    copy->GetArrowHeads(sk, ss, sa, ek, es, ea);
    EXPECT_EQ(std::make_tuple(sk, ss, sa, ek, es, ea), std::make_tuple(3, 250, 30.5, 2, 400, 70.0));
    EXPECT_EQ(StartHead(copy).size(), 4u);
}

TEST_F(OpenCurveTest, DocumentRecordRoundTripsTheArrows)
{
    Arrows a{3, 250, 30.5, 2, 400, 70.0};
    Line(1000, a, Dashed(12, 150, 80));
    CArchive out;
    m_set.Store(out);
    CPageSet loaded(107, 100);
    CArchive in(out.Buffer());
    ASSERT_EQ(loaded.Load(in), 1);
    auto* curve = static_cast<COpenCurveElement*>(loaded.GetPageAt(0)->ElementAt(0));
    int sk = 0, ss = 0, ek = 0, es = 0;
    double sa = 0, ea = 0;
    curve->GetArrowHeads(sk, ss, sa, ek, es, ea);
    EXPECT_EQ(std::make_tuple(sk, ss, sa, ek, es, ea), std::make_tuple(3, 250, 30.5, 2, 400, 70.0));
    CArchive again;
    loaded.Store(again);
    EXPECT_EQ(again.Buffer(), out.Buffer());
}

// A library record: level 3, plain width 10, colour 0x00FF00, nodes on the
// list's points 0 (corner) and 1 (smooth), a filled start head of size 600
// at 53 degrees and an open end head of size 300 at 45 degrees.
const char* const kLibraryRecord =
    "01000000 00000000 | 03000000"
    "00000000 0A000000 | 00FF0000"
    "02000000 | 00000000 00000000 | 01000000 01000000"
    "01000000 58020000 000000000080 4A40"
    "02000000 2C010000 000000000080 4640";

TEST_F(OpenCurveTest, StoresTheLibraryRecordByteForByte)
{
    auto* p0 = new CSharedPoint(page(), 0, 0);
    auto* p1 = new CSharedPoint(page(), 1000, 0);
    CCurveNodeList nodes;
    nodes.AddTail(new CCurveNode(p0, 0));
    nodes.AddTail(new CCurveNode(p1, 1));
    auto* curve = new COpenCurveElement(page(), 3, CLineAttr(10), RGB(0, 255, 0), nodes, 1, 600, 53.0, 2, 300, 45.0);
    page()->AddElement(curve);

    CArchive ar;
    curve->StoreForLibrary(ar, CList<CSharedPoint*>{p0, p1});
    EXPECT_EQ(ar.Buffer(), HexBytes(kLibraryRecord));

    // A point missing from the library's list is named by the list's size.
    CArchive missing;
    curve->StoreForLibrary(missing, CList<CSharedPoint*>{p1});
    EXPECT_EQ(missing.Buffer().substr(28, 4), HexBytes("01000000"));
    EXPECT_EQ(missing.Buffer().substr(36, 4), HexBytes("00000000"));
}

TEST_F(OpenCurveTest, LoadsLibraryRecordsOfBothVersions)
{
    auto* p0 = new CSharedPoint(page(), 0, 0);
    auto* p1 = new CSharedPoint(page(), 1000, 0);
    page()->AddPoint(p0);
    page()->AddPoint(p1);
    const std::vector<CSharedPoint*> points = {p0, p1};
    const std::string record = HexBytes(kLibraryRecord).substr(8);  // the reader took type and closed flag

    auto* curve = new COpenCurveElement(page(), 0);
    page()->AddElement(curve);
    CArchive ar(record);
    ASSERT_EQ(curve->LoadFromLibrary(ar, points, 107), 1);
    EXPECT_EQ(ar.BytesLeft(), 0u);
    EXPECT_EQ(curve->GetLevel(), 3);
    EXPECT_EQ(page()->GetMaxLevel(), 3);
    EXPECT_EQ(curve->GetColor(), RGB(0, 255, 0));
    EXPECT_EQ(curve->GetNodeAt(1)->GetPoint(), p1);
    EXPECT_EQ(curve->GetNodeAt(1)->GetKind(), 1);
    EXPECT_EQ(StartHead(curve).size(), 3u);

    auto* old = new COpenCurveElement(page(), 0);
    page()->AddElement(old);
    CArchive oldAr(record.substr(4));  // version 104: no level
    ASSERT_EQ(old->LoadFromLibrary(oldAr, points, 104), 1);
    EXPECT_EQ(oldAr.BytesLeft(), 0u);
    EXPECT_EQ(old->GetLevel(), 0);
    EXPECT_EQ(old->GetNodeCount(), 2);

    std::string bad = record;
    bad[4 + 8 + 4 + 4 + 8] = 2;  // second node names point 2 of two
    auto* damaged = new COpenCurveElement(page(), 0);
    page()->AddElement(damaged);
    CArchive badAr(bad);
    EXPECT_THROW(damaged->LoadFromLibrary(badAr, points, 107), CArchiveError);
}

}  // namespace
