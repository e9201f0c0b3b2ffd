// The cut and join tool driven through the view: cuts of open and closed
// curves between nodes and on nodes, the refused cut at an end, joins at
// each pair of ends with their node orders, arrowheads and joints, closing
// a curve, Shift between the modes, and one undo step per change.
#include "tests/tools/ShapeTestSupport.h"

#include "tools/CVTCutJoinLines.h"

namespace {

class CutJoinLinesToolTest : public ShapeToolFixture {
protected:
    void SetUp() override
    {
        ShapeToolFixture::SetUp();
        SelectTool(CVEKView::kCutJoinLinesTool);
        tool = Tool<CVTCutJoinLines>(CVEKView::kCutJoinLinesTool);
        ASSERT_NE(tool, nullptr);
    }
    void JoinMode()
    {
        Shift();
        ASSERT_FALSE(tool->IsCutMode());
    }
    static COpenCurveElement* Open(CCurveElement* c) { return static_cast<COpenCurveElement*>(c); }
    static std::pair<int, int> ArrowKinds(CCurveElement* c)
    {
        int sk, ss, ek, es;
        double sa, ea;
        Open(c)->GetArrowHeads(sk, ss, sa, ek, es, ea);
        return {sk, ek};
    }

    CVTCutJoinLines* tool = nullptr;
};

using Points = std::vector<CPoint>;

} // namespace

TEST_F(CutJoinLinesToolTest, CuttingAnOpenCurveBetweenNodesGivesTwoCurvesThatMoveApart)
{
    CCurveElement* curve = AddCurve({{1000, 1000}, {3000, 1000}, {5000, 1000}}, 0);
    curve->SetColor(RGB(0, 0, 200));
    curve->SetLevel(3);
    Open(curve)->SetStartArrowKind(ARROW_FILLED);
    Open(curve)->SetEndArrowKind(ARROW_OPEN);
    EXPECT_EQ(view->GetToolCursorId(), CVTCutJoinLines::kCursorCut);
    Click(2000, 1040);
    EXPECT_EQ(tool->GetFirstCurve(), curve);
    Click(2000, 1030);
    ASSERT_EQ(Curves().size(), 2u);
    CCurveElement* head = Curves()[0];
    CCurveElement* tail = Curves()[1];
    EXPECT_EQ(Positions(head), (Points{{1000, 1000}, {2000, 1000}}));
    EXPECT_EQ(Positions(tail), (Points{{2000, 1000}, {3000, 1000}, {5000, 1000}}));
    EXPECT_NE(head->GetLastNode()->GetPoint(), tail->GetFirstNode()->GetPoint());
    EXPECT_EQ(head->GetFirstNode()->GetPoint()->GetPosition(), CPoint(1000, 1000));
    EXPECT_EQ(head->GetColor(), RGB(0, 0, 200));
    EXPECT_EQ(tail->GetLevel(), 3);
    EXPECT_EQ(ArrowKinds(head), std::make_pair(ARROW_FILLED, ARROW_NONE));
    EXPECT_EQ(ArrowKinds(tail), std::make_pair(ARROW_NONE, ARROW_OPEN));
    EXPECT_EQ(doc.UndoCount(), 1);

    tail->GetFirstNode()->GetPoint()->MoveTo(2000, 2000, 1);
    EXPECT_EQ(head->GetLastNode()->GetPosition(), CPoint(2000, 1000));

    view->OnEditUndo();
    ASSERT_EQ(Curves().size(), 1u);
    EXPECT_EQ(Curves()[0]->GetNodeCount(), 3);
}

TEST_F(CutJoinLinesToolTest, ACutOnANodeKeepsItOnceAndACutAtAnEndIsRefused)
{
    AddCurve({{1000, 1000}, {3000, 1000}, {5000, 1000}}, 0);
    // At an end: a part of one node would be left.
    Click(4000, 1000);
    Click(5020, 1010);
    EXPECT_EQ(Curves().size(), 1u);
    EXPECT_EQ(doc.UndoCount(), 0);
    EXPECT_TRUE(tool->HasPendingStep());
    // On the middle node.
    Click(3040, 1020);
    ASSERT_EQ(Curves().size(), 2u);
    EXPECT_EQ(Positions(Curves()[0]), (Points{{1000, 1000}, {3000, 1000}}));
    EXPECT_EQ(Positions(Curves()[1]), (Points{{3000, 1000}, {5000, 1000}}));
    EXPECT_NE(Curves()[0]->GetLastNode()->GetPoint(), Curves()[1]->GetFirstNode()->GetPoint());
    EXPECT_EQ(doc.UndoCount(), 1);
}

TEST_F(CutJoinLinesToolTest, CuttingAClosedCurveOpensItAtTheCut)
{
    CCurveElement* square = AddCurve({{1000, 1000}, {3000, 1000}, {3000, 3000}, {1000, 3000}}, 1);
    static_cast<CClosedCurveElement*>(square)->SetFillKind(FILL_SOLID);
    Click(2000, 1000);
    Click(3000, 2000);
    ASSERT_EQ(Curves().size(), 1u);
    CCurveElement* open = Curves()[0];
    EXPECT_FALSE(open->IsClosed());
    EXPECT_EQ(Positions(open), (Points{{3000, 2000}, {3000, 3000}, {1000, 3000}, {1000, 1000}, {3000, 1000}, {3000, 2000}}));
    EXPECT_EQ(ArrowKinds(open), std::make_pair(ARROW_NONE, ARROW_NONE));
    EXPECT_NE(open->GetFirstNode()->GetPoint(), open->GetLastNode()->GetPoint());
}

TEST_F(CutJoinLinesToolTest, JoiningTakesTheNearestEndsWithTheirOrdersAndArrowheads)
{
    struct Case {
        Points first;
        Points second;
        Points joined;
        std::pair<int, int> arrows;  // start and end kind of the joined curve
    };
    // The first curve has a filled start and an open end, the second a
    // notched start and a filled end.
    const Case cases[] = {
        // A2-B1: both orders kept, the joint on the first curve's end.
        {{{1000, 1000}, {2000, 1000}}, {{2000, 1000}, {3000, 1500}},
         {{1000, 1000}, {2000, 1000}, {3000, 1500}}, {ARROW_FILLED, ARROW_FILLED}},
        // A1-B2: both reversed.
        {{{2000, 1000}, {3000, 1500}}, {{1000, 1000}, {2000, 1000}},
         {{3000, 1500}, {2000, 1000}, {1000, 1000}}, {ARROW_OPEN, ARROW_NOTCHED}},
        // A1-B1: the first reversed.
        {{{2000, 1000}, {3000, 1500}}, {{2000, 1000}, {1000, 1000}},
         {{3000, 1500}, {2000, 1000}, {1000, 1000}}, {ARROW_OPEN, ARROW_FILLED}},
        // Ends apart: both end nodes stay, joined by the gap's segment.
        {{{1000, 1000}, {2000, 1000}}, {{2500, 1000}, {3500, 1500}},
         {{1000, 1000}, {2000, 1000}, {2500, 1000}, {3500, 1500}}, {ARROW_FILLED, ARROW_FILLED}},
    };
    JoinMode();
    for (const Case& c : cases) {
        for (CCurveElement* old : Curves()) {
            Pages().RemoveElementFromPage(old);
            delete old;
        }
        CCurveElement* a = AddCurve({c.first[0], c.first[1]}, 0);
        CCurveElement* b = AddCurve({c.second[0], c.second[1]}, 0);
        Open(a)->SetStartArrowKind(ARROW_FILLED);
        Open(a)->SetEndArrowKind(ARROW_OPEN);
        Open(b)->SetStartArrowKind(ARROW_NOTCHED);
        Open(b)->SetEndArrowKind(ARROW_FILLED);
        a->SetColor(RGB(200, 0, 0));
        const CPoint onA((c.first[0].x + c.first[1].x) / 2, (c.first[0].y + c.first[1].y) / 2);
        const CPoint onB((c.second[0].x + c.second[1].x) / 2, (c.second[0].y + c.second[1].y) / 2);
        Click(onA.x, onA.y);
        EXPECT_EQ(tool->GetFirstCurve(), a);
        Click(onB.x, onB.y);
        ASSERT_EQ(Curves().size(), 1u);
        CCurveElement* joined = Curves()[0];
        EXPECT_EQ(Positions(joined), c.joined);
        EXPECT_EQ(ArrowKinds(joined), c.arrows);
        EXPECT_EQ(joined->GetColor(), RGB(200, 0, 0));
    }
}

TEST_F(CutJoinLinesToolTest, TheJointRunsSmoothBetweenSmoothNeighbours)
{
    AddCurve({{1000, 1000}, {2000, 2000}, {3000, 1000}}, 0, {0, 1, 0});
    AddCurve({{3000, 1000}, {4000, 2000}, {5000, 1000}}, 0, {0, 1, 0});
    JoinMode();
    Click(2000, 2000);
    Click(4000, 2000);
    ASSERT_EQ(Curves().size(), 1u);
    EXPECT_EQ(Kinds(Curves()[0]), (std::vector<int>{0, 1, 1, 1, 0}));
    // The two curves shared nothing; the joined one stands on their points.
    EXPECT_EQ(Curves()[0]->GetNodeCount(), 5);
}

TEST_F(CutJoinLinesToolTest, PickingOneCurveTwiceClosesItAndClosedCurvesCannotBePicked)
{
    AddCurve({{1000, 4000}, {3000, 4000}, {3000, 6000}, {1000, 6000}}, 1);
    AddCurve({{1000, 1000}, {3000, 1000}, {3000, 3000}}, 0);
    JoinMode();
    Click(1000, 5000);
    EXPECT_EQ(tool->GetFirstCurve(), nullptr);
    EXPECT_FALSE(tool->HasPendingStep());
    Click(2000, 1000);
    Click(3000, 2000);
    ASSERT_EQ(Curves().size(), 2u);
    CCurveElement* closed = Curves()[1];
    EXPECT_TRUE(closed->IsClosed());
    EXPECT_EQ(Positions(closed), (Points{{1000, 1000}, {3000, 1000}, {3000, 3000}}));
    EXPECT_EQ(static_cast<CClosedCurveElement*>(closed)->GetFillKind(), FILL_NONE);
    EXPECT_EQ(doc.UndoCount(), 1);
}

TEST_F(CutJoinLinesToolTest, ShiftSwitchesTheModeAndRestartsThePick)
{
    AddCurve({{1000, 1000}, {3000, 1000}}, 0);
    Click(2000, 1000);
    EXPECT_TRUE(tool->HasPendingStep());
    EXPECT_EQ(view->GetStatusPrompt(), LoadResString(int(CVTCutJoinLines::kPromptCutPoint)));
    Shift();
    EXPECT_FALSE(tool->IsCutMode());
    EXPECT_FALSE(tool->HasPendingStep());
    EXPECT_EQ(view->GetToolCursorId(), CVTCutJoinLines::kCursorJoin);
    EXPECT_EQ(view->GetStatusPrompt(), LoadResString(int(CVTCutJoinLines::kPromptJoin)));
    // The mode survives a tool switch.
    SelectTool(CVEKView::kCurveTool);
    SelectTool(CVEKView::kCutJoinLinesTool);
    EXPECT_FALSE(tool->IsCutMode());
    Shift();
    EXPECT_TRUE(tool->IsCutMode());
    EXPECT_EQ(view->GetToolCursorId(), CVTCutJoinLines::kCursorCut);
}
