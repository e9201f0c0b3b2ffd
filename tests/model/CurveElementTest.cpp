// The curve element: outline from nodes, the pattern builders that lay line
// kinds out along a path, hit tests, distances along the curve, copy and
// the curve record.
#include "model/CCurveElement.h"
#include "model/CCurveNode.h"
#include "model/COpenCurveElement.h"
#include "model/CPage.h"
#include "model/CPageSet.h"
#include "model/CSharedPoint.h"
#include "model/CTextPairElement.h"

#include "geometry/Distance.h"
#include "geometry/Polyline.h"
#include "platform/CArchive.h"
#include "platform/CDC.h"

#include "HexBytes.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <tuple>
#include <vector>

namespace {

// A curve that lays its outline out with one chosen builder, so the
// builders can be seen on open and closed paths alike.
class ProbeCurve : public CCurveElement {
public:
    using Builder = void (ProbeCurve::*)(const CPointList&);

    ProbeCurve(CPage* page, int closed, const CLineAttr& line, const CCurveNodeList& nodes)
        : CCurveElement(page, 0, closed, line, RGB(0, 0, 0), nodes, nullptr)
    {
    }
    void RecalcGeometry() override
    {
        CCurveElement::RecalcGeometry();
        m_shapes.RemoveAll();
        if (m_builder) (this->*m_builder)(m_outline);
    }
    void Use(Builder builder)
    {
        m_builder = builder;
        InvalidateBounds();
    }
    std::vector<CLineTypeShape> Shapes()
    {
        CLineTypeShapeList list;
        GetLineShapes(list);
        return {list.begin(), list.end()};
    }

    void Dash(const CPointList& p) { BuildDashLine(p); }
    void Dot(const CPointList& p) { BuildDotLine(p); }
    void DashPair(const CPointList& p) { BuildDashPairLine(p); }
    void DashTriple(const CPointList& p) { BuildDashTripleLine(p); }
    void SideDash(const CPointList& p) { BuildSideDashLine(p); }
    void Custom(const CPointList& p) { BuildCustomPatternLine(p); }

private:
    Builder m_builder = nullptr;
};

struct Node {
    int x = 0, y = 0, kind = 0;
};

class CurveTest : public ::testing::Test {
protected:
    explicit CurveTest(int version = 107) : m_set(version, 100)
    {
        m_set.InsertPage(0);
    }
    CPage* page() const { return m_set.GetPageAt(0); }

    CCurveNodeList MakeNodes(std::initializer_list<Node> nodes)
    {
        CCurveNodeList list;
        for (const Node& n : nodes) list.AddTail(new CCurveNode(new CSharedPoint(page(), n.x, n.y), n.kind));
        return list;
    }
    // A curve owned by the page.
    COpenCurveElement* Open(std::initializer_list<Node> nodes, const CLineAttr& line = CLineAttr(10))
    {
        auto* curve = new COpenCurveElement(page(), 0, line, RGB(0, 0, 0), MakeNodes(nodes), 0, 600,
                                            53.0, 0, 600, 53.0);
        page()->AddElement(curve);
        return curve;
    }
    std::unique_ptr<ProbeCurve> Probe(int closed, std::initializer_list<Node> nodes, const CLineAttr& line,
                                      ProbeCurve::Builder builder)
    {
        auto probe = std::make_unique<ProbeCurve>(page(), closed, line, MakeNodes(nodes));
        probe->Use(builder);
        return probe;
    }

    CPageSet m_set;
};

void Put32(std::string& bytes, std::size_t offset, std::int32_t v)
{
    for (int i = 0; i < 4; ++i) bytes[offset + std::size_t(i)] = char((std::uint32_t(v) >> (8 * i)) & 0xFF);
}

std::vector<CPoint> Points(const CPointList& list) { return {list.begin(), list.end()}; }

double Length(const CPointList& list)
{
    double length = 0.0;
    PolylineLength(list, length);
    return length;
}

CLineAttr Dashed(int width, int dash, int gap)
{
    CLineAttr line = CLineAttr::Dashed(width);
    line.SetParam(1, dash);
    line.SetParam(2, gap);
    return line;
}

// ---------------------------------------------------------------------------
// Outline

TEST_F(CurveTest, OutlineOfCornersIsTheNodePositions)
{
    COpenCurveElement* open = Open({{0, 0, 0}, {100, 0, 0}});
    EXPECT_EQ(Points(open->Outline()), (std::vector<CPoint>{{0, 0}, {100, 0}}));

    ProbeCurve closed(page(), 1, CLineAttr(10), MakeNodes({{0, 0, 0}, {100, 0, 0}}));
    EXPECT_EQ(Points(closed.Outline()), (std::vector<CPoint>{{0, 0}, {100, 0}, {0, 0}}));
}

TEST_F(CurveTest, AllSmoothNodesMakeAClosedSplineEvenWhenOpen)
{
    COpenCurveElement* open = Open({{0, 0, 1}, {1000, 0, 1}, {500, 800, 1}});
    const CPointList& outline = open->Outline();
    ASSERT_GT(outline.GetCount(), 10);
    EXPECT_EQ(outline.GetHead(), outline.GetTail());
    for (CPoint node : {CPoint(0, 0), CPoint(1000, 0), CPoint(500, 800)})
        EXPECT_TRUE(FindPointInList(outline, node.x, node.y)) << node.x << "," << node.y;
}

TEST_F(CurveTest, SmoothRunJoinsCornersAndJoiningPointsStandTwice)
{
    // A, B corners; C smooth; D corner: A-B straight, then B-C-D smooth.
    COpenCurveElement* curve = Open({{0, 0, 0}, {1000, 0, 0}, {1500, 500, 1}, {1000, 1000, 0}});
    const std::vector<CPoint> outline = Points(curve->Outline());
    ASSERT_GE(outline.size(), 5u);
    EXPECT_EQ(outline[0], CPoint(0, 0));
    EXPECT_EQ(outline[1], CPoint(1000, 0));
    EXPECT_EQ(outline[2], CPoint(1000, 0));
    EXPECT_EQ(outline.back(), CPoint(1000, 1000));
    EXPECT_NE(std::find(outline.begin(), outline.end(), CPoint(1500, 500)), outline.end());
}

TEST_F(CurveTest, ClosedOutlineStartsAtTheFirstCorner)
{
    ProbeCurve closed(page(), 1, CLineAttr(10),
                      MakeNodes({{500, -300, 1}, {1000, 0, 0}, {1000, 1000, 0}, {0, 1000, 0}, {0, 0, 0}}));
    const std::vector<CPoint> outline = Points(closed.Outline());
    EXPECT_EQ(outline.front(), CPoint(1000, 0));
    EXPECT_EQ(outline.back(), CPoint(1000, 0));
}

TEST_F(CurveTest, MovingAPointMarksTheCurveDirty)
{
    COpenCurveElement* curve = Open({{0, 0, 0}, {100, 0, 0}});
    curve->Outline();
    curve->GetFirstNode()->GetPoint()->MoveTo(50, 50, 1);
    EXPECT_EQ(curve->Outline().GetHead(), CPoint(50, 50));
}

// ---------------------------------------------------------------------------
// Pattern builders

// First and last x of every shape along a horizontal path.
std::vector<std::pair<int, int>> Spans(const std::vector<CLineTypeShape>& shapes)
{
    std::vector<std::pair<int, int>> spans;
    for (const CLineTypeShape& s : shapes) spans.emplace_back(s.GetPoints().GetHead().x, s.GetPoints().GetTail().x);
    return spans;
}

TEST_F(CurveTest, OpenDashedPathFitsWholePeriodsAndEndsWithADash)
{
    // L = 1000, P = 200: n = round(900 / 200) = 5, h = 1000 / 5.5; six
    // dashes and five gaps of 90.9 each, the last dash ending at the end.
    auto probe = Probe(0, {{0, 0, 0}, {1000, 0, 0}}, Dashed(10, 100, 100), &ProbeCurve::Dash);
    const auto spans = Spans(probe->Shapes());
    ASSERT_EQ(spans.size(), 6u);
    const double h = 1000.0 / 5.5;
    for (std::size_t i = 0; i < spans.size(); ++i) {
        EXPECT_NEAR(spans[i].first, i * h, 1.0) << i;
        EXPECT_NEAR(spans[i].second, i * h + h / 2, 1.0) << i;
    }
    EXPECT_EQ(spans.front().first, 0);
    EXPECT_EQ(spans.back().second, 1000);
    for (const CLineTypeShape& s : probe->Shapes()) {
        EXPECT_FALSE(s.IsFilled());
        EXPECT_EQ(s.GetPenWidth(), 10);
    }
}

TEST_F(CurveTest, ClosedDashedPathHoldsExactlyWholePeriods)
{
    // Perimeter 4000, P = 200: twenty dashes of 100, the first from the start.
    auto probe = Probe(1, {{0, 0, 0}, {1000, 0, 0}, {1000, 1000, 0}, {0, 1000, 0}}, Dashed(10, 100, 100),
                       &ProbeCurve::Dash);
    const auto shapes = probe->Shapes();
    ASSERT_EQ(shapes.size(), 20u);
    for (const CLineTypeShape& s : shapes) EXPECT_NEAR(Length(s.GetPoints()), 100.0, 1.0);
    EXPECT_EQ(shapes.front().GetPoints().GetHead(), CPoint(0, 0));
    // A dash across a corner follows the corner.
    const auto& corner = shapes[4].GetPoints();
    EXPECT_EQ(Points(corner), (std::vector<CPoint>{{800, 0}, {900, 0}}));
    EXPECT_EQ(Points(shapes[5].GetPoints()), (std::vector<CPoint>{{1000, 0}, {1000, 100}}));
}

TEST_F(CurveTest, DashCrossingAVertexKeepsTheVertex)
{
    // L = 2000 over a corner at (1000, 0); P = 300, n = round(1850 / 300) = 6,
    // h = 2000 / 6.5: dash 3 runs from 3h = 923 to 1000 and on down.
    auto probe = Probe(0, {{0, 0, 0}, {1000, 0, 0}, {1000, 1000, 0}}, Dashed(10, 150, 150), &ProbeCurve::Dash);
    const auto shapes = probe->Shapes();
    ASSERT_EQ(shapes.size(), 7u);
    const std::vector<CPoint> dash = Points(shapes[3].GetPoints());
    ASSERT_EQ(dash.size(), 3u);
    EXPECT_EQ(dash[1], CPoint(1000, 0));
    EXPECT_NEAR(Length(shapes[3].GetPoints()), 2000.0 / 6.5 / 2, 1.5);
}

TEST_F(CurveTest, PatternsWithoutVisibleGapsAreDrawnPlain)
{
    struct Case {
        const char* name;
        CLineAttr line;
        ProbeCurve::Builder builder;
        std::size_t shapes;
    };
    CLineAttr pairOneShortGap = CLineAttr::DashPair(10);
    for (int i = 1; i <= 4; ++i) pairOneShortGap.SetParam(i, std::vector<int>{100, 50, 100, 5}[i - 1]);
    CLineAttr pairBothShort = pairOneShortGap;
    pairBothShort.SetParam(2, 4);
    CLineAttr tripleAllShort = CLineAttr::DashTriple(10);
    for (int i = 1; i <= 6; ++i) tripleAllShort.SetParam(i, i % 2 ? 100 : 3);
    CLineAttr tripleOneGap = tripleAllShort;
    tripleOneGap.SetParam(2, 60);

    const Case cases[] = {
        {"dash with a gap rounding below 10", Dashed(10, 200, 9), &ProbeCurve::Dash, 1},
        {"dash with a gap of 10", Dashed(10, 200, 10), &ProbeCurve::Dash, 0},
        {"dash pair with one gap merged", pairOneShortGap, &ProbeCurve::DashPair, 0},
        {"dash pair with both gaps merged", pairBothShort, &ProbeCurve::DashPair, 1},
        {"dash triple with all gaps merged", tripleAllShort, &ProbeCurve::DashTriple, 1},
        {"dash triple with one gap left", tripleOneGap, &ProbeCurve::DashTriple, 0},
    };
    for (const Case& c : cases) {
        auto probe = Probe(1, {{0, 0, 0}, {3000, 0, 0}, {3000, 3000, 0}}, c.line, c.builder);
        const auto shapes = probe->Shapes();
        if (c.shapes == 1) {
            ASSERT_EQ(shapes.size(), 1u) << c.name;
            EXPECT_EQ(Points(shapes[0].GetPoints()), Points(probe->Outline())) << c.name;
            EXPECT_EQ(shapes[0].GetPenWidth(), 10) << c.name;
        } else {
            EXPECT_GT(shapes.size(), 1u) << c.name;
        }
    }
}

TEST_F(CurveTest, DashPairMergesTheSecondGapIntoTheFirst)
{
    // Closed square, P = 100 + 50 + 100 + 5 = 255 -> n = round(4000 / 255) = 16;
    // gap 2 merges into gap 1, so each period holds one dash, one gap of
    // 55 and one dash touching the next period's first dash.
    CLineAttr line = CLineAttr::DashPair(10);
    for (int i = 1; i <= 4; ++i) line.SetParam(i, std::vector<int>{100, 50, 100, 5}[i - 1]);
    auto probe = Probe(1, {{0, 0, 0}, {1000, 0, 0}, {1000, 1000, 0}, {0, 1000, 0}}, line, &ProbeCurve::DashPair);
    const auto shapes = probe->Shapes();
    ASSERT_EQ(shapes.size(), 32u);
    const double h = 4000.0 / 16;
    EXPECT_NEAR(Length(shapes[0].GetPoints()), 100 * h / 255, 1.0);
    EXPECT_NEAR(Length(shapes[1].GetPoints()), 100 * h / 255, 1.0);
    // The second dash ends where the next period starts.
    EXPECT_EQ(shapes[1].GetPoints().GetTail(), shapes[2].GetPoints().GetHead());
}

TEST_F(CurveTest, DottedLineTakesAPeriodOfAtLeastTwenty)
{
    // Width 5, gap 12: P = 17 is raised to 20, so n = round(995 / 20) = 50
    // and 51 dots (60 with the unraised period).
    CLineAttr line = CLineAttr::Dotted(5);
    line.SetParam(2, 12);
    auto probe = Probe(0, {{0, 0, 0}, {1000, 0, 0}}, line, &ProbeCurve::Dot);
    const auto shapes = probe->Shapes();
    ASSERT_EQ(shapes.size(), 51u);
    EXPECT_NEAR(Length(shapes[0].GetPoints()), 5 * (1000.0 / 50.25) / 20, 1.0);
    EXPECT_EQ(shapes.back().GetPoints().GetTail(), CPoint(1000, 0));
}

TEST_F(CurveTest, WideDashesAreFilledBandsAndWidthTwentyIsAPolyline)
{
    auto narrow = Probe(0, {{0, 0, 0}, {1000, 0, 0}}, Dashed(20, 100, 100), &ProbeCurve::Dash);
    for (const CLineTypeShape& s : narrow->Shapes()) {
        EXPECT_FALSE(s.IsFilled());
        EXPECT_EQ(s.GetPenWidth(), 20);
    }
    auto wide = Probe(0, {{0, 0, 0}, {1000, 0, 0}}, Dashed(40, 100, 100), &ProbeCurve::Dash);
    const auto shapes = wide->Shapes();
    ASSERT_EQ(shapes.size(), 6u);
    const CLineTypeShape& first = shapes[0];
    EXPECT_TRUE(first.IsFilled());
    EXPECT_EQ(first.GetPenWidth(), 1);
    // A band of the line's width along the dash: +20 on one side, -20 on
    // the other, square at its ends.
    EXPECT_EQ(first.GetBoundRect(), CRect(0, -20, 92, 21));
}

TEST_F(CurveTest, SideDashLineUsesHalfPeriodsAndAThinPen)
{
    // Kind 5 with p1 = 100: n = round((1000 - 100) / 200) = 5 (4.5 rounds
    // up), h = 1000 / 5.5; dash and gap are h / 2 each, pen 10 whatever
    // the width. The builder appends to what is there.
    CLineAttr line = CLineAttr::SideLines(5, 50);
    line.SetParam(1, 100);
    auto probe = Probe(0, {{0, 0, 0}, {1000, 0, 0}}, line, &ProbeCurve::SideDash);
    const auto shapes = probe->Shapes();
    ASSERT_EQ(shapes.size(), 6u);
    for (const CLineTypeShape& s : shapes) {
        EXPECT_EQ(s.GetPenWidth(), 10);
        EXPECT_FALSE(s.IsFilled());
        EXPECT_NEAR(Length(s.GetPoints()), 1000.0 / 5.5 / 2, 1.0);
    }
}

CLineTypeShapeArray Arrowlet()
{
    // A triangle pointing along the line: 100 long, 50 across.
    return {CLineTypeShape(4, 1, CPointList{{0, 0}, {100, 25}, {0, 50}})};
}

TEST_F(CurveTest, CustomPatternOfThinLinesDrawsEachRepetitionAsPlainLine)
{
    // Width 20: p1 = round(101 * 20 / 51) = 40, P = 40 + 60 = 100;
    // n = round(960 / 100) = 10, h = 1000 / 10.4, so eleven pieces.
    const CLineAttr line = CLineAttr::Custom(20, 60, Arrowlet());
    ASSERT_EQ(line.GetParam(1), 40);
    auto probe = Probe(0, {{0, 0, 0}, {1000, 0, 0}}, line, &ProbeCurve::Custom);
    const auto shapes = probe->Shapes();
    ASSERT_EQ(shapes.size(), 11u);
    for (const CLineTypeShape& s : shapes) {
        EXPECT_FALSE(s.IsFilled());
        EXPECT_EQ(s.GetPenWidth(), 20);
        EXPECT_NEAR(Length(s.GetPoints()), 40 * (1000.0 / 10.4) / 100, 1.0);
    }
}

TEST_F(CurveTest, CustomPatternIsMappedAlongAndAcrossTheLine)
{
    // Width 102: the pattern's union (0, 0, 101, 51) maps its height onto
    // the width (cy = 0.5) and its width onto p1 = 202 along the line.
    const CLineAttr line = CLineAttr::Custom(102, 98, Arrowlet());
    ASSERT_EQ(line.GetParam(1), 202);
    auto probe = Probe(1, {{0, 0, 0}, {3000, 0, 0}, {3000, 3000, 0}, {0, 3000, 0}}, line, &ProbeCurve::Custom);
    const auto shapes = probe->Shapes();
    ASSERT_EQ(shapes.size(), 40u);  // 12000 / 300
    const CLineTypeShape& first = shapes[0];
    EXPECT_TRUE(first.IsFilled());
    EXPECT_EQ(first.GetPenWidth(), 8);  // 4 / 0.5
    // The triangle's base stands across the start of the line, its tip
    // 200 along it; pattern y grows to +y across a path running to +x.
    // The pattern's middle is round((0 + 51) / 2) = 26, so the base runs
    // from -52 to +48 and the tip lies 2 off the axis.
    EXPECT_EQ(Points(first.GetPoints()), (std::vector<CPoint>{{0, -52}, {200, -2}, {0, 48}}));
    // Along the second side the pattern turns with the line.
    const std::vector<CPoint> turned = Points(shapes[10].GetPoints());
    EXPECT_EQ(turned, (std::vector<CPoint>{{3052, 0}, {3002, 200}, {2952, 0}}));
}

TEST_F(CurveTest, CustomPatternWithoutLengthIsDrawnPlain)
{
    // A pattern whose shapes have no extent has no length to repeat; it
    // is drawn plain instead of dividing by zero.
    CLineAttr line = CLineAttr::Custom(30, 0, {CLineTypeShape(4, 0, CPointList{})});
    line.SetParam(1, 0);
    auto probe = Probe(0, {{0, 0, 0}, {1000, 0, 0}}, line, &ProbeCurve::Custom);
    const auto shapes = probe->Shapes();
    ASSERT_EQ(shapes.size(), 1u);
    EXPECT_EQ(Points(shapes[0].GetPoints()), (std::vector<CPoint>{{0, 0}, {1000, 0}}));
}

TEST_F(CurveTest, DamagedPatternsNeverLoop)
{
    // A period of 1 along a path many kilometres long, and negative dashes.
    CLineAttr tiny = Dashed(10, 1, 0);
    auto probe = Probe(0, {{0, 0, 0}, {2000000000, 0, 0}}, tiny, &ProbeCurve::Dash);
    EXPECT_EQ(probe->Shapes().size(), 1u);
    auto negative = Probe(0, {{0, 0, 0}, {1000, 0, 0}}, Dashed(10, -100, 300), &ProbeCurve::Dash);
    EXPECT_EQ(negative->Shapes().size(), 1u);
}

// ---------------------------------------------------------------------------
// Drawing

QImage Render(CCurveElement& curve, double scale, int originX, int originY, COLORREF pen = RGB(0, 0, 0),
              bool highlight = false)
{
    QImage image(200, 100, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    {
        CDC dc(&painter);
        dc.SelectPen(CPen{PS_SOLID, 1, pen});
        if (highlight)
            curve.DrawHighlight(&dc, scale, originX, originY, CRect(0, 0, 200, 100));
        else
            curve.Draw(&dc, scale, originX, originY, CRect(0, 0, 200, 100));
    }
    painter.end();
    return image;
}

TEST_F(CurveTest, HighlightUsesThePenOfTheDeviceContext)
{
    COpenCurveElement* curve = Open({{0, 500}, {10000, 500}}, CLineAttr(300));
    curve->SetColor(RGB(0, 0, 255));
    const QImage drawn = Render(*curve, 100.0, -1000, 0);
    EXPECT_EQ(drawn.pixelColor(50, 5), QColor(0, 0, 255));
    const QImage highlighted = Render(*curve, 100.0, -1000, 0, RGB(255, 0, 0), true);
    EXPECT_EQ(highlighted.pixelColor(50, 5), QColor(255, 0, 0));
}

TEST_F(CurveTest, MarkedNodesAreDrawnAsDots)
{
    COpenCurveElement* curve = Open({{0, 0}, {5000, 0}, {5000, 5000}});
    curve->SetColor(RGB(255, 0, 0));
    curve->GetNodeAt(1)->SetMark(1);
    const QImage image = Render(*curve, 100.0, -1000, -1000);
    EXPECT_EQ(image.pixelColor(60, 10), QColor(0, 0, 0));  // the dot at the corner
    EXPECT_EQ(image.pixelColor(30, 10).red(), 255);         // the line itself
}

// ---------------------------------------------------------------------------
// Hit tests and distances

TEST_F(CurveTest, NearestOutlinePointWithinTolerance)
{
    COpenCurveElement* curve = Open({{0, 0, 0}, {1000, 0, 0}});
    CPoint found;
    double distance = 0.0;
    ASSERT_EQ(curve->FindNearestOutlinePoint(CPoint(400, 30), 30.0, found, distance), 1);
    EXPECT_EQ(found, CPoint(400, 0));
    EXPECT_DOUBLE_EQ(distance, 30.0);
    EXPECT_EQ(curve->FindNearestOutlinePoint(CPoint(400, 31), 30.0, found, distance), 0);
}

TEST_F(CurveTest, NearestVertexCountsCornersAndTheEndsOfOpenCurves)
{
    COpenCurveElement* curve = Open({{0, 0, 1}, {500, 0, 1}, {1000, 0, 0}, {1500, 0, 1}});
    CCurveNode* node = nullptr;
    double distance = 0.0;
    ASSERT_EQ(curve->FindNearestVertex(CPoint(10, 0), 50.0, node, distance), 1);
    EXPECT_EQ(node, curve->GetNodeAt(0));  // a smooth first node counts
    EXPECT_EQ(curve->FindNearestVertex(CPoint(510, 0), 50.0, node, distance), 0);  // a smooth middle one not
    ASSERT_EQ(curve->FindNearestNode(CPoint(510, 0), 50.0, node, distance), 1);
    EXPECT_EQ(node, curve->GetNodeAt(1));
    EXPECT_DOUBLE_EQ(distance, 10.0);
    // On a tie the earlier node wins.
    ASSERT_EQ(curve->FindNearestNode(CPoint(750, 0), 300.0, node, distance), 1);
    EXPECT_EQ(node, curve->GetNodeAt(1));
}

TEST_F(CurveTest, SpanAtPointNamesTheNodesAroundIt)
{
    COpenCurveElement* curve = Open({{0, 0, 0}, {1000, 0, 0}, {1000, 1000, 0}});
    CPoint nearest;
    double distance = 0.0;
    CCurveNode *before = nullptr, *at = nullptr, *after = nullptr;
    ASSERT_EQ(curve->FindSpanAtPoint(CPoint(1005, 400), 10.0, nearest, distance, before, at, after), 1);
    EXPECT_EQ(nearest, CPoint(1000, 400));
    EXPECT_EQ(before, curve->GetNodeAt(1));
    EXPECT_EQ(at, nullptr);
    EXPECT_EQ(after, curve->GetNodeAt(2));

    ASSERT_EQ(curve->FindSpanAtPoint(CPoint(1000, 0), 10.0, nearest, distance, before, at, after), 1);
    EXPECT_EQ(at, curve->GetNodeAt(1));

    POSITION b = nullptr, a = nullptr, f = nullptr;
    ASSERT_EQ(curve->FindSpanPositions(CPoint(300, 2), 10.0, nearest, distance, b, a, f), 1);
    EXPECT_EQ(b, curve->Nodes().FindIndex(0));
    EXPECT_EQ(f, curve->Nodes().FindIndex(1));
    EXPECT_EQ(curve->FindSpanAtPoint(CPoint(300, 50), 10.0, nearest, distance, before, at, after), 0);
}

TEST_F(CurveTest, SpanOnTheClosingStretchEndsAtTheFirstNode)
{
    ProbeCurve closed(page(), 1, CLineAttr(10), MakeNodes({{0, 0, 0}, {1000, 0, 0}, {1000, 1000, 0}}));
    CPoint nearest;
    double distance = 0.0;
    CCurveNode *before = nullptr, *at = nullptr, *after = nullptr;
    ASSERT_EQ(closed.FindSpanAtPoint(CPoint(500, 500), 10.0, nearest, distance, before, at, after), 1);
    EXPECT_EQ(before, closed.GetNodeAt(2));
    EXPECT_EQ(after, closed.GetNodeAt(0));
}

TEST_F(CurveTest, DistanceAlongTheCurve)
{
    COpenCurveElement* open = Open({{0, 0, 0}, {1000, 0, 0}, {1000, 1000, 0}});
    double total = 0.0, distance = 0.0;
    open->GetDistanceAlongCurve(open->GetFirstNode(), CPoint(1000, 300), 1, total, distance);
    EXPECT_DOUBLE_EQ(total, 2000.0);
    EXPECT_DOUBLE_EQ(distance, 1300.0);
    EXPECT_EQ(open->GetNearerEndNode(CPoint(900, 0)), open->GetFirstNode());
    EXPECT_EQ(open->GetNearerEndNode(CPoint(1000, 100)), open->GetLastNode());
    EXPECT_EQ(open->IsBeforeAlongCurve(CPoint(500, 0), CPoint(1000, 10)), 1);
    EXPECT_EQ(open->IsBeforeAlongCurve(CPoint(1000, 10), CPoint(500, 0)), 0);

    ProbeCurve closed(page(), 1, CLineAttr(10), MakeNodes({{0, 0, 0}, {1000, 0, 0}, {1000, 1000, 0}, {0, 1000, 0}}));
    closed.GetDistanceAlongCurve(closed.GetFirstNode(), CPoint(1000, 500), 1, total, distance);
    EXPECT_DOUBLE_EQ(distance, 1500.0);
    closed.GetDistanceAlongCurve(closed.GetFirstNode(), CPoint(1000, 500), 0, total, distance);
    EXPECT_DOUBLE_EQ(distance, 2500.0);
    // From another node: forward to the outline's end, backward to its start.
    closed.GetDistanceAlongCurve(closed.GetNodeAt(1), CPoint(0, 0), 1, total, distance);
    EXPECT_DOUBLE_EQ(distance, 3000.0);
    closed.GetDistanceAlongCurve(closed.GetNodeAt(1), CPoint(0, 0), 0, total, distance);
    EXPECT_DOUBLE_EQ(distance, 1000.0);
    // A node at the point itself: the whole way round, or nothing for the first.
    closed.GetDistanceAlongCurve(closed.GetNodeAt(2), CPoint(1000, 1000), 1, total, distance);
    EXPECT_DOUBLE_EQ(distance, 4000.0);
    closed.GetDistanceAlongCurve(closed.GetFirstNode(), CPoint(0, 0), 1, total, distance);
    EXPECT_DOUBLE_EQ(distance, 0.0);
}

// ---------------------------------------------------------------------------
// Nodes, points and mirror links

TEST_F(CurveTest, ConstructorAddsMissingPointsToThePool)
{
    auto* shared = new CSharedPoint(page(), 5, 5);
    page()->AddPoint(shared);
    CCurveNodeList nodes;
    nodes.AddTail(new CCurveNode(shared, 0));
    nodes.AddTail(new CCurveNode(new CSharedPoint(page(), 9, 9), 0));
    page()->AddElement(new COpenCurveElement(page(), 0, CLineAttr(10), 0, nodes, 0, 0, 0, 0, 0, 0));
    EXPECT_EQ(page()->GetPointCount(), 2);
}

TEST_F(CurveTest, ReplacedAndDeletedNodesGiveUpUnusedPoints)
{
    COpenCurveElement* a = Open({{0, 0, 0}, {100, 0, 0}, {200, 0, 0}});
    // A second curve shares the first curve's middle point.
    CCurveNodeList shared;
    shared.AddTail(new CCurveNode(a->GetNodeAt(1)->GetPoint(), 0));
    shared.AddTail(new CCurveNode(new CSharedPoint(page(), 100, 100), 0));
    auto* b = new COpenCurveElement(page(), 0, CLineAttr(10), 0, shared, 0, 0, 0, 0, 0, 0);
    page()->AddElement(b);
    ASSERT_EQ(page()->GetPointCount(), 4);

    CCurveNodeList nodes;
    a->GetNodes(nodes);
    nodes.RemoveTail();  // drop the node at (200, 0)
    nodes.RemoveAt(nodes.FindIndex(1));  // and the shared one
    a->SetNodes(nodes);
    EXPECT_EQ(a->GetNodeCount(), 1);
    EXPECT_EQ(page()->GetPointCount(), 3);  // (200, 0) went, the shared point stayed

    page()->RemoveElement(b);
    delete b;
    EXPECT_EQ(page()->GetPointCount(), 1);
}

TEST_F(CurveTest, DroppedNodesStandingTwiceOnOnePointGiveItUpOnce)
{
    // Two dropped nodes on one point: the point goes with the first and
    // must not be looked at again for the second.
    COpenCurveElement* a = Open({{0, 0, 0}, {100, 0, 0}});
    CSharedPoint* twice = a->GetNodeAt(1)->GetPoint();
    CCurveNodeList nodes;
    a->GetNodes(nodes);
    nodes.AddTail(new CCurveNode(twice, 0));
    a->SetNodes(nodes);
    ASSERT_EQ(page()->GetPointCount(), 2);

    CCurveNodeList kept;
    kept.AddTail(a->GetNodeAt(0));
    auto* other = new CSharedPoint(page(), 7, 7);
    page()->AddPoint(other);
    kept.AddTail(new CCurveNode(other, 0));
    a->SetNodes(kept);
    EXPECT_EQ(a->GetNodeCount(), 2);
    ASSERT_EQ(page()->GetPointCount(), 2);
    EXPECT_EQ(page()->GetPointAt(1), other);
}

TEST_F(CurveTest, CopyMapsPointsByNumberAndKeepsTheMirrorIndex)
{
    COpenCurveElement* source = Open({{0, 0, 0}, {100, 0, 1}}, Dashed(10, 100, 100));
    COpenCurveElement* mirror = Open({{0, 0, 0}, {0, 100, 0}});
    mirror->SetMirrorSource(source);
    mirror->GetNodeAt(1)->SetMark(1);

    CPageSet other(107, 100);
    other.InsertPage(0);
    other.GetPageAt(0)->CopyFrom(*page());
    auto* copy = static_cast<COpenCurveElement*>(other.GetPageAt(0)->ElementAt(1));
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->GetMirrorSource(), other.GetPageAt(0)->ElementAt(0));
    EXPECT_EQ(copy->GetNodeAt(1)->GetMark(), 1);
    EXPECT_EQ(copy->GetNodeAt(1)->GetPoint(), other.GetPageAt(0)->GetPointAt(3));
    auto* copiedSource = static_cast<COpenCurveElement*>(other.GetPageAt(0)->ElementAt(0));
    EXPECT_TRUE(copiedSource->GetLineAttr() == source->GetLineAttr());
    EXPECT_EQ(copiedSource->GetNodeAt(1)->GetKind(), 1);
}

// ---------------------------------------------------------------------------
// Record

// Page of two points (100, 200), (1100, 200); a plain open curve of width
// 10 in colour 0x112233 on them, corner then smooth; no mirror; arrows of
// kind 0 with sizes 600 and 300, angles 53 and 45.
const char* const kCurveBody107 =
    "00000000 | 0A000000 | 33221100"                   // line kind 0, width 10; colour
    "64000000 C8000000 4D040000 C9000000"              // bounds (100, 200, 1101, 201)
    "02000000 | 00000000 00000000 | 01000000 01000000"  // two nodes
    "FFFFFFFF"                                         // no mirror source
    "00000000 58020000 000000000080 4A40"              // start arrow
    "00000000 2C010000 000000000080 4640";             // end arrow

std::string CurveBody(int version)
{
    std::string body = HexBytes(kCurveBody107);
    if (version < 105) body.erase(12, 16);                // no bounds
    if (version < 102) body.erase(body.size() - 36, 4);   // no mirror index
    return body;
}

TEST_F(CurveTest, StoresTheCurveRecordByteForByte)
{
    COpenCurveElement* curve = Open({{100, 200, 0}, {1100, 200, 1}});
    curve->SetColor(0x112233);
    curve->SetStartArrowSize(600);
    curve->SetEndArrowSize(300);
    curve->SetEndArrowAngle(45.0);
    CArchive ar;
    curve->Store(ar);
    EXPECT_EQ(ar.Buffer(), HexBytes("01000000 00000000 00000000") + CurveBody(107));
}

class OldCurveRecordTest : public CurveTest, public ::testing::WithParamInterface<int> {
protected:
    OldCurveRecordTest() : CurveTest(GetParam()) {}
};

TEST_P(OldCurveRecordTest, ReadsTheFieldsItsVersionHasAndWritesThemAt107)
{
    page()->AddPoint(new CSharedPoint(page(), 100, 200));
    page()->AddPoint(new CSharedPoint(page(), 1100, 200));
    auto* curve = new COpenCurveElement(page(), 0);
    page()->AddElement(curve);
    CArchive in(CurveBody(GetParam()));
    ASSERT_EQ(curve->Load(in), 1);
    EXPECT_EQ(in.BytesLeft(), 0u);
    EXPECT_EQ(curve->GetColor(), 0x112233u);
    EXPECT_EQ(curve->GetNodeCount(), 2);
    EXPECT_EQ(curve->GetNodeAt(1)->GetKind(), 1);
    EXPECT_EQ(curve->GetMirrorSourceIndex(), -1);

    CPageSet current(107, 100);
    current.InsertPage(0);
    current.GetPageAt(0)->CopyFrom(*page());
    CArchive out;
    current.GetPageAt(0)->ElementAt(0)->Store(out);
    EXPECT_EQ(out.Buffer(), HexBytes("01000000 00000000 00000000") + CurveBody(107));
}

INSTANTIATE_TEST_SUITE_P(Versions, OldCurveRecordTest, ::testing::Values(107, 105, 104, 102, 101));

// Another program's record of the same curve, whose bounds differ from
// those this program computes (one unit wider all round).
std::string ForeignCurveRecord()
{
    std::string record = HexBytes("01000000 00000000 00000000") + CurveBody(107);
    Put32(record, 12 + 12, 99);
    Put32(record, 12 + 16, 199);
    Put32(record, 12 + 20, 1102);
    Put32(record, 12 + 24, 202);
    return record;
}

// The record of a whole page set holding that one curve.
std::string ForeignPageSetRecord()
{
    CPageSet set(107, 100);
    set.InsertPage(0);
    CPage* p = set.GetPageAt(0);
    p->AddPoint(new CSharedPoint(p, 100, 200));
    p->AddPoint(new CSharedPoint(p, 1100, 200));
    auto* curve = new COpenCurveElement(p, 0);
    p->AddElement(curve);
    CArchive in(ForeignCurveRecord().substr(12));
    curve->Load(in);
    CArchive out;
    set.Store(out);
    return out.Buffer();
}

TEST_F(CurveTest, AnUnchangedCurveWritesBackTheBoundsItWasReadWith)
{
    const std::string original = ForeignPageSetRecord();
    ASSERT_NE(original.find(HexBytes("63000000 C7000000 4E040000 CA000000")), std::string::npos);
    struct Case {
        const char* name;
        std::function<void(CPageSet&)> before;
    };
    const Case cases[] = {
        {"stored at once", [](CPageSet&) {}},
        {"after drawing it", [](CPageSet& set) {
             QImage image(50, 50, QImage::Format_RGB32);
             QPainter painter(&image);
             CDC dc(&painter);
             set.DrawPage(0, &dc, 30.0, 0, 0, CRect(0, 0, 50, 50));
         }},
        {"after asking its bounds", [](CPageSet& set) { set.GetPageAt(0)->ElementAt(0)->GetBoundRect(); }},
        {"a copy of it (an undo snapshot)", [](CPageSet& set) {
             CPageSet copy(107, 100);
             copy.CopyFrom(set);
             set.CopyFrom(copy);
         }},
    };
    for (const Case& c : cases) {
        CPageSet set(107, 100);
        CArchive in(original);
        ASSERT_EQ(set.Load(in), 1) << c.name;
        c.before(set);
        const bool dirty = set.GetPageAt(0)->ElementAt(0)->IsBoundsDirty();
        CArchive out;
        set.Store(out);
        EXPECT_EQ(out.Buffer(), original) << c.name;
        // Storing built no geometry that was not there.
        EXPECT_EQ(set.GetPageAt(0)->ElementAt(0)->IsBoundsDirty(), dirty) << c.name;
    }
}

TEST_F(CurveTest, AChangedCurveWritesTheBoundsOfItsNewShape)
{
    struct Case {
        const char* name;
        std::function<void(CPage&)> change;
        const char* bounds;
    };
    const Case cases[] = {
        {"a node moved", [](CPage& p) { p.GetPointAt(1)->MoveTo(1100, 300, 1); }, "64000000 C8000000 4D040000 2D010000"},
        {"a wider line", [](CPage& p) {
             static_cast<CCurveElement*>(p.ElementAt(0))->SetLineAttr(CLineAttr(40));
         }, "64000000 C8000000 4D040000 C9000000"},
    };
    for (const Case& c : cases) {
        CPageSet set(107, 100);
        CArchive in(ForeignPageSetRecord());
        ASSERT_EQ(set.Load(in), 1) << c.name;
        c.change(*set.GetPageAt(0));
        CArchive out;
        set.GetPageAt(0)->ElementAt(0)->Store(out);
        EXPECT_EQ(out.Buffer().substr(24, 16), HexBytes(c.bounds)) << c.name;
    }
}

TEST_F(CurveTest, DamagedRecordsEndInAnArchiveError)
{
    const std::string good = CurveBody(107);
    struct Case {
        const char* name;
        std::string bytes;
    };
    std::string badPoint = good;
    Put32(badPoint, 40, 2);
    std::string negativePoint = good;
    Put32(negativePoint, 32, -1);
    std::string hugeCount = good;
    Put32(hugeCount, 28, 0x7FFFFFFF);
    std::string negativeCount = good;
    Put32(negativeCount, 28, -3);
    const Case cases[] = {
        {"node names a point beyond the pool", badPoint},
        {"node names point -1", negativePoint},
        {"node count beyond the bytes", hugeCount},
        {"negative node count", negativeCount},
        {"cut in the nodes", good.substr(0, 40)},
        {"cut in the arrows", good.substr(0, good.size() - 3)},
    };
    for (const Case& c : cases) {
        CPageSet set(107, 100);
        set.InsertPage(0);
        CPage* p = set.GetPageAt(0);
        p->AddPoint(new CSharedPoint(p, 100, 200));
        p->AddPoint(new CSharedPoint(p, 1100, 200));
        auto* curve = new COpenCurveElement(p, 0);
        p->AddElement(curve);
        CArchive ar(c.bytes);
        EXPECT_THROW(curve->Load(ar), CArchiveError) << c.name;
    }
    CArchive ar(good);
    page()->AddPoint(new CSharedPoint(page(), 100, 200));
    page()->AddPoint(new CSharedPoint(page(), 1100, 200));
    auto* curve = new COpenCurveElement(page(), 0);
    page()->AddElement(curve);
    EXPECT_EQ(curve->Load(ar), 1);
}

TEST_F(CurveTest, MirrorIndexResolvesOnlyToAnotherCurve)
{
    page()->AddPoint(new CSharedPoint(page(), 100, 200));
    page()->AddPoint(new CSharedPoint(page(), 1100, 200));
    COpenCurveElement* a = Open({{0, 0, 0}, {100, 0, 0}});   // element 0
    page()->AddElement(new CTextPairElement(page(), 0));     // element 1
    auto* curve = new COpenCurveElement(page(), 0);          // element 2
    page()->AddElement(curve);
    const std::vector<std::pair<int, CCurveElement*>> cases = {{0, a}, {1, nullptr}, {2, nullptr}, {7, nullptr}};
    for (auto [index, expected] : cases) {
        std::string body = CurveBody(107);
        Put32(body, body.size() - 36, index);
        CArchive ar(body);
        curve->Load(ar);
        EXPECT_EQ(curve->GetMirrorSourceIndex(), index);
        curve->ResolveMirrorSource();
        EXPECT_EQ(curve->GetMirrorSource(), expected) << index;
    }
}

}  // namespace
