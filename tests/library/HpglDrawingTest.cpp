// The build step and the elements it makes: the drawing moved to the
// origin with y downwards, bounds over lines and labels, label placement,
// the refusal of drawings beyond any sheet, and the curves and texts on a
// page.
#include "HpglTestSupport.h"

#include "library/CHpglElementBuilder.h"

#include "model/CClosedCurveElement.h"
#include "model/COpenCurveElement.h"
#include "model/CPage.h"
#include "model/CPageSet.h"
#include "model/CTextElement.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

CHpglDrawing::Result Build(const std::string& text, CHpglDrawing& drawing)
{
    HpglState state = Interpret(text);
    const CHpglDrawing::Result result = drawing.Build(state);
    EXPECT_TRUE(state.primitives.empty());
    EXPECT_TRUE(state.labels.empty());
    return result;
}

std::vector<CPoint> NodePositions(CCurveElement* curve)
{
    CCurveNodeList nodes;
    curve->GetNodes(nodes);
    std::vector<CPoint> out;
    for (CCurveNode* n : nodes) out.push_back(n->GetPosition());
    return out;
}

} // namespace

TEST(HpglDrawing, MovesToTheOriginWithYDownwards)
{
    CHpglDrawing drawing;
    ASSERT_EQ(Build("IN;PA0,0;PD100,0,100,100;", drawing), CHpglDrawing::Result::Ok);
    ASSERT_EQ(drawing.Polylines().size(), 1u);
    // 2.5 plot units a plotter unit; y turned over about the bottom.
    EXPECT_EQ(drawing.Polylines()[0].points, (std::vector<CPoint>{{0, 250}, {250, 250}, {250, 0}}));
    EXPECT_EQ(drawing.Bounds(), CRect(0, 0, 250, 250));
}

TEST(HpglDrawing, ClosedOnlyAroundThreeDifferentPoints)
{
    CHpglDrawing drawing;
    ASSERT_EQ(Build("IN;PD10,0,10,10,0,0;PU50,0;PD60,0,50,0;PU90,0;PD100,0,100,10;", drawing),
              CHpglDrawing::Result::Ok);
    ASSERT_EQ(drawing.Polylines().size(), 3u);
    EXPECT_TRUE(drawing.Polylines()[0].IsClosed());
    EXPECT_FALSE(drawing.Polylines()[1].IsClosed()); // out and back
    EXPECT_FALSE(drawing.Polylines()[2].IsClosed());
}

TEST(HpglDrawing, BoundsCoverLabelsTooAndALabelOnlyDrawingIsPlaced)
{
    CHpglDrawing drawing;
    ASSERT_EQ(Build("IN;PU400,400;LBonly\x03", drawing), CHpglDrawing::Result::Ok);
    ASSERT_EQ(drawing.Labels().size(), 1u);
    // LO 1: the text's top-left lies one character height above the pen.
    EXPECT_EQ(drawing.Bounds(), CRect(0, 0, 0, 375));
    EXPECT_DOUBLE_EQ(drawing.Labels()[0].position.x, 0.0);
    EXPECT_DOUBLE_EQ(drawing.Labels()[0].position.y, 0.0);
    EXPECT_DOUBLE_EQ(drawing.Labels()[0].anchor.y, 375.0);
}

// Offsets of the text's corner from the pen for each label origin, with
// characters 0.2 cm wide and 0.4 cm high and a text of 4 characters.
TEST(HpglDrawing, LabelOriginsMoveTheTextCorner)
{
    const struct {
        int origin;
        double dx, dy;
    } cases[] = {
        {1, 0, -400},    {2, 0, -200},        {3, 0, 0},       {4, -400, -400},     {5, -400, -200},
        {6, -400, 0},    {7, -800, -400},     {8, -800, -200}, {9, -800, 0},        {10, 0, 0},
        {11, -60, -520}, {13, -60, 120},      {15, -400, -200}, {17, -860, -520},   {19, -860, 120},
    };
    for (const auto& c : cases) {
        const CDoublePoint d = CHpglDrawing::LabelOffset("ABCD", c.origin, 0.0, 0.2, 0.4);
        EXPECT_NEAR(d.x, c.dx, 1e-9) << "LO" << c.origin;
        EXPECT_NEAR(d.y, c.dy, 1e-9) << "LO" << c.origin;
    }
    // Turned with the label: written upwards, the corner lies to the left.
    const CDoublePoint up = CHpglDrawing::LabelOffset("ABCD", 1, std::atan2(1.0, 0.0), 0.2, 0.4);
    EXPECT_NEAR(up.x, -400.0, 1e-9);
    EXPECT_NEAR(up.y, 0.0, 1e-9);
}

TEST(HpglDrawing, SizeSetsWidthThenHeight)
{
    CHpglDrawing drawing;
    ASSERT_EQ(Build("IN;PD0,0;PU0,0;SI0.1,0.9;LBx\x03", drawing), CHpglDrawing::Result::Ok);
    ASSERT_EQ(drawing.Labels().size(), 1u);
    EXPECT_DOUBLE_EQ(drawing.Labels()[0].anchor.y - drawing.Labels()[0].position.y, 900.0);
}

TEST(HpglDrawing, DrawingsBeyondAnySheetAreRefused)
{
    const struct {
        const char* name;
        const char* input;
        CHpglDrawing::Result result;
    } cases[] = {
        {"100 m wide", "IN;PD4000000,0;", CHpglDrawing::Result::Ok},
        {"more than 100 m", "IN;PD4000001,0;", CHpglDrawing::Result::TooLarge},
        {"far apart", "IN;PD1,1;PU0,-4000000000;PD0,-4000000001;", CHpglDrawing::Result::TooLarge},
        {"huge scaling", "IN;SC0,0.0000000000000000001,0,1;PD1,0;", CHpglDrawing::Result::TooLarge},
        {"huge label size", "IN;SI1,99999999;LBx\x03", CHpglDrawing::Result::TooLarge},
        {"label far off", "IN;PD1,1;PU99999999999999999,0;LBx\x03", CHpglDrawing::Result::TooLarge},
        {"nothing drawn", "IN;SP1;PU10,10;PG;", CHpglDrawing::Result::Empty},
        {"only a dot", "IN;PU10,10;PD;PA10,10;", CHpglDrawing::Result::Empty},
    };
    for (const auto& c : cases) {
        CHpglDrawing drawing;
        EXPECT_EQ(Build(c.input, drawing), c.result) << c.name;
        if (c.result != CHpglDrawing::Result::Ok) {
            EXPECT_TRUE(drawing.Polylines().empty()) << c.name;
            EXPECT_TRUE(drawing.Labels().empty()) << c.name;
        }
    }
}

TEST(HpglElements, CurvesThenTextsAtTheHighestLevelAtATenth)
{
    CHpglDrawing drawing;
    // A closed square of 10 mm, an open line of 10 mm, and a label.
    ASSERT_EQ(Build("IN;PU0,400;PD400,400,400,800,0,800,0,400;LT2;PU0,0;PD400,0;PU0,0;LBtext\x03", drawing),
              CHpglDrawing::Result::Ok);
    CPageSet pageSet;
    pageSet.InsertPageAtFront();
    CPage* page = pageSet.GetPageAt(0);
    page->SetMaxLevel(3);
    HpglElementStyle style;
    style.closedLine = CLineAttr(10);
    style.closedLine.SetKind(LINE_DASH_TRIPLE);
    style.openLine = CLineAttr(0);
    style.lineColor = RGB(200, 0, 0);
    style.font.lfHeight = 300;
    style.font.lfEscapement = 900;
    const std::vector<CGraphElement*> added = CHpglElementBuilder(style).AddToPage(drawing, page);
    ASSERT_EQ(added.size(), 3u);
    ASSERT_EQ(page->GetElementCount(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(page->ElementAt(i), added[std::size_t(i)]);
        EXPECT_EQ(added[std::size_t(i)]->GetLevel(), 3);
    }

    auto* square = dynamic_cast<CClosedCurveElement*>(added[0]);
    ASSERT_NE(square, nullptr);
    // The repeated first point stays the last node; the top-left corner of
    // the drawing is the page origin.
    EXPECT_EQ(NodePositions(square),
              (std::vector<CPoint>{{0, 100}, {100, 100}, {100, 0}, {0, 0}, {0, 100}}));
    EXPECT_EQ(square->GetLineAttr().GetKind(), LINE_DASH_TRIPLE);
    EXPECT_EQ(square->GetLineAttr().GetWidth(), 10);
    EXPECT_EQ(square->GetFillKind(), FILL_NONE);

    auto* line = dynamic_cast<COpenCurveElement*>(added[1]);
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(NodePositions(line), (std::vector<CPoint>{{0, 200}, {100, 200}}));
    // LT2 is the dashed kind; no arrowheads.
    EXPECT_EQ(line->GetLineAttr().GetKind(), LINE_DASH);
    EXPECT_EQ(line->GetColor(), RGB(200, 0, 0));
    int sk = -1, ss = 0, ek = -1, es = 0;
    double sa = 0, ea = 0;
    line->GetArrowHeads(sk, ss, sa, ek, es, ea);
    EXPECT_EQ(sk, ARROW_NONE);
    EXPECT_EQ(ek, ARROW_NONE);

    auto* text = dynamic_cast<CTextElement*>(added[2]);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->GetTextFont().GetText(), "text");
    EXPECT_EQ(text->GetTextFont().GetLogFont().lfEscapement, 0);
    // Anchored at the pen (0, 200 page units) and moved up by 0.375 cm,
    // 37.5 page units at a tenth; halves round away from zero.
    EXPECT_EQ(text->GetOrigin(), CPoint(0, 163));
    EXPECT_EQ(text->GetBkMode(), 1);
}
