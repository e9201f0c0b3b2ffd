// The symmetry tool driven through the view: the axis and its snapping,
// picking by click and by box, the images a right click makes (curves on
// mirrored points that follow their sources, side lines changing sides,
// reflected fills, texts that still read left to right), undo, and the
// refusals.
#include "tests/editors/EditorTestSupport.h"

#include "tools/CVTSymmetry.h"

namespace {

class SymmetryToolTest : public EditorViewFixture {
protected:
    void SetUp() override
    {
        EditorViewFixture::SetUp();
        SelectTool(CVEKView::kSymmetryTool);
        tool = Tool<CVTSymmetry>(CVEKView::kSymmetryTool);
        ASSERT_NE(tool, nullptr);
    }
    // An upright axis at x = 5000.
    void GiveUprightAxis()
    {
        Click(5000, 500);
        Click(5000, 6500);
        ASSERT_EQ(tool->GetStep(), CVTSymmetry::kPickStep);
    }
    std::vector<CGraphElement*> Elements()
    {
        std::vector<CGraphElement*> out;
        for (CGraphElement* e : Page()->Elements()) out.push_back(e);
        return out;
    }
    static std::vector<CGraphElement*> ListOf(const CList<CGraphElement*>& list)
    {
        std::vector<CGraphElement*> out;
        for (CGraphElement* e : list) out.push_back(e);
        return out;
    }

    CVTSymmetry* tool = nullptr;
};

using ElementVector = std::vector<CGraphElement*>;

} // namespace

TEST_F(SymmetryToolTest, TheAxisKeepsTo45DegreesUnlessItsEndSnaps)
{
    AddCurve({{7000, 5500}, {8000, 6500}}, 0);
    struct Case {
        CPoint mouse;
        CPoint end;
    };
    const Case cases[] = {
        {{3000, 1350}, {3000, 1000}},  // 10 degrees: level
        {{3000, 2150}, {2575, 2575}},  // 30 degrees: 45
        {{1200, 3000}, {1000, 3000}},  // plumb
        {{7040, 5450}, {7000, 5500}},  // a node is taken exactly
    };
    for (const Case& c : cases) {
        Click(1000, 1000);
        EXPECT_EQ(tool->GetStep(), CVTSymmetry::kAxisEndStep);
        Click(c.mouse.x, c.mouse.y);
        EXPECT_EQ(tool->GetStep(), CVTSymmetry::kPickStep);
        EXPECT_EQ(tool->GetAxisStart(), CPoint(1000, 1000));
        EXPECT_EQ(tool->GetAxisEnd(), c.end);
        Key(Qt::Key_Escape);
        EXPECT_EQ(tool->GetStep(), 0);
    }
    // An axis of one point is refused; the tool waits for another end.
    Click(1000, 1000);
    Click(1000, 1000);
    EXPECT_EQ(tool->GetStep(), CVTSymmetry::kAxisEndStep);
}

TEST_F(SymmetryToolTest, AClickPicksCurvesOnlyABoxCurvesAndTextsEachOnce)
{
    CCurveElement* a = AddCurve({{1000, 1000}, {3000, 1000}}, 0);
    AddCurve({{1000, 2000}, {3000, 2000}}, 0);
    CTextElement* text = AddText("T", {{CPoint(1000, 3000), CPoint(2000, 3000), CPoint(2000, 3400), CPoint(1000, 3400)}});
    AddPicture({{CPoint(1000, 4000), CPoint(2000, 4000), CPoint(2000, 5000), CPoint(1000, 5000)}});
    GiveUprightAxis();

    Click(2000, 1020);
    Click(2000, 1020);
    EXPECT_EQ(ListOf(tool->GetPicked()), (ElementVector{a}));
    // A click on the text opens a box instead.
    Click(1500, 3200);
    EXPECT_TRUE(tool->IsBoxOpen());
    EXPECT_EQ(ListOf(tool->GetPicked()), (ElementVector{a}));
    MoveTo(3500, 5500);
    Click(3500, 5500);
    EXPECT_FALSE(tool->IsBoxOpen());
    EXPECT_EQ(ListOf(tool->GetPicked()), (ElementVector{a, text}));
    // The right click mirrors the two, not the other curve nor the
    // picture.
    RightClick(6000, 6000);
    const ElementVector all = Elements();
    ASSERT_EQ(all.size(), 6u);
    EXPECT_EQ(all[4]->GetType(), ELEMENT_CURVE);
    EXPECT_EQ(all[5]->GetType(), ELEMENT_TEXT);
    EXPECT_EQ(doc.UndoCount(), 1);
    EXPECT_EQ(tool->GetStep(), 0);
    view->OnEditUndo();
    EXPECT_EQ(Elements().size(), 4u);
}

TEST_F(SymmetryToolTest, ACurveImageFollowsItsSourceWithTheSideLineOnTheOtherSide)
{
    CCurveElement* source = AddCurve({{1000, 1000}, {2000, 3000}, {3000, 1500}}, 0, {0, 1, 0});
    source->SetLineAttr(CLineAttr::SideLines(LINE_SIDE_PLUS, 20));
    source->SetColor(RGB(0, 128, 0));
    static_cast<COpenCurveElement*>(source)->SetStartArrowKind(ARROW_FILLED);
    GiveUprightAxis();
    Click(2000, 3000);
    RightClick(6000, 6000);
    ASSERT_EQ(Curves().size(), 2u);
    CCurveElement* image = Curves()[1];
    EXPECT_EQ(image->GetMirrorSource(), source);
    EXPECT_EQ(image->GetLineAttr().GetKind(), LINE_SIDE_MINUS);
    EXPECT_EQ(image->GetColor(), RGB(0, 128, 0));
    int sk, ss, ek, es;
    double sa, ea;
    static_cast<COpenCurveElement*>(image)->GetArrowHeads(sk, ss, sa, ek, es, ea);
    EXPECT_EQ(sk, ARROW_FILLED);
    EXPECT_EQ(Positions(image), (std::vector<CPoint>{{9000, 1000}, {8000, 3000}, {7000, 1500}}));
    EXPECT_EQ(Kinds(image), (std::vector<int>{0, 1, 0}));

    // Moving a node of the source moves the image's node.
    source->GetNodeAt(1)->GetPoint()->MoveTo(2500, 3500, 1);
    EXPECT_EQ(image->GetNodeAt(1)->GetPosition(), CPoint(7500, 3500));
    // And dragging the image's node moves the source's.
    image->GetNodeAt(0)->GetPoint()->MoveTo(8800, 1200, 1);
    EXPECT_EQ(source->GetNodeAt(0)->GetPosition(), CPoint(1200, 1200));
}

TEST_F(SymmetryToolTest, AFilledCurveGetsTheReflectedFill)
{
    CCurveElement* source = AddCurve({{1000, 1000}, {3000, 1000}, {3000, 3000}, {1000, 3000}}, 1);
    auto* closed = static_cast<CClosedCurveElement*>(source);
    closed->SetFillKind(FILL_LINEAR);
    closed->SetGradientColors(RGB(255, 0, 0), RGB(0, 0, 255));
    closed->SetGradientPoints(1000, 1000, 3000, 3000);
    closed->SetFillAngle(30.0);
    closed->SetBlendPosition(0.5);
    GiveUprightAxis();
    Click(2000, 1000);
    RightClick(6000, 6000);
    ASSERT_EQ(Curves().size(), 2u);
    auto* image = static_cast<CClosedCurveElement*>(Curves()[1]);
    EXPECT_EQ(image->GetFillKind(), FILL_LINEAR);
    EXPECT_EQ(image->GetStartColor(), RGB(255, 0, 0));
    EXPECT_EQ(image->GetEndColor(), RGB(0, 0, 255));
    EXPECT_EQ(image->GetGradientStart(), CPoint(9000, 1000));
    EXPECT_EQ(image->GetGradientEnd(), CPoint(7000, 3000));
    EXPECT_NEAR(image->GetFillAngle(), 150.0, 0.01);
    EXPECT_DOUBLE_EQ(image->GetBlendPosition(), 0.5);
    EXPECT_EQ(image->GetMirrorSource(), source);
    // The image paints red where the source paints red, reflected.
    const QImage page = RenderPage();
    ASSERT_TRUE(ColourAt(page, 1200, 1200, QColor(255, 0, 0), 90));
    ASSERT_TRUE(ColourAt(page, 2800, 2800, QColor(0, 0, 255), 90));
    EXPECT_TRUE(ColourAt(page, 8800, 1200, QColor(255, 0, 0), 90));
    EXPECT_TRUE(ColourAt(page, 7200, 2800, QColor(0, 0, 255), 90));
}

TEST_F(SymmetryToolTest, ATextImageReadsLeftToRight)
{
    struct Case {
        CPoint axisEnd;
        int escapement;
        std::array<CPoint, 4> box;  // origin, corner 2, corner 4, corner 3
    };
    // The text's box: origin (1000, 1000), width 1000, height 400.
    const Case cases[] = {
        // Across the upright x = 5000: starts at the reflection of its end.
        {{5000, 6500}, 0, {{CPoint(8000, 1000), CPoint(9000, 1000), CPoint(9000, 1400), CPoint(8000, 1400)}}},
        // Across the level y = 2000: a full turn, from the reflection of
        // corner 3.
        {{8000, 2000}, -3600, {{CPoint(1000, 2600), CPoint(2000, 2600), CPoint(2000, 3000), CPoint(1000, 3000)}}},
    };
    for (const Case& c : cases) {
        CTextElement* text =
            AddText("AB", {{CPoint(1000, 1000), CPoint(2000, 1000), CPoint(2000, 1400), CPoint(1000, 1400)}});
        const CPoint start = c.axisEnd.x == 5000 ? CPoint(5000, 500) : CPoint(500, 2000);
        Click(start.x, start.y);
        Click(c.axisEnd.x, c.axisEnd.y);
        Click(500, 500);
        Click(2500, 1600);
        ASSERT_EQ(ListOf(tool->GetPicked()), (ElementVector{text}));
        RightClick(6000, 6000);
        ASSERT_EQ(Elements().size(), 2u);
        auto* image = static_cast<CTextElement*>(Elements()[1]);
        EXPECT_EQ(image->GetTextFont().GetLogFont().lfEscapement, c.escapement);
        EXPECT_EQ(image->GetTextFont().GetText(), "AB");
        EXPECT_EQ(BoxOf(image), c.box);
        // The next case starts from an empty page.
        for (CGraphElement* e : Elements()) {
            Pages().RemoveElementFromPage(e);
            delete e;
        }
        view->Invalidate();
    }
}

TEST_F(SymmetryToolTest, ARightClickWithNothingPickedTakesNoStep)
{
    AddCurve({{1000, 1000}, {3000, 1000}}, 0);
    RightClick(2000, 2000);
    GiveUprightAxis();
    RightClick(2000, 2000);
    EXPECT_EQ(doc.UndoCount(), 0);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(Curves().size(), 1u);
}

TEST_F(SymmetryToolTest, PickedCurvesArePreviewedAcrossTheAxis)
{
    AddCurve({{1000, 1000}, {3000, 1000}}, 0);
    GiveUprightAxis();
    Click(2000, 1000);
    MoveTo(4000, 4000);
    const QImage shown = RenderView();
    const QRgb prompt = ToQColor(Settings().m_crPromptColor1).rgb();
    EXPECT_TRUE(ColourNear(shown, 8000, 1000, prompt));
    EXPECT_TRUE(ColourNear(shown, 5000, 3000, prompt));
    EXPECT_FALSE(ColourNear(shown, 8000, 2000, prompt, 3));
}
