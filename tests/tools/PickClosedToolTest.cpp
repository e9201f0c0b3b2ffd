// The pick-closed-line tool driven through the view: an outline traced
// along pieces of open and closed curves becomes a closed curve of corners
// on points of its own, in the line colour; a right click with too little
// traced makes nothing and takes no undo step.
#include "tests/tools/ShapeTestSupport.h"

#include "tools/CVTPickClosed.h"

namespace {

class PickClosedToolTest : public ShapeToolFixture {
protected:
    void SetUp() override
    {
        ShapeToolFixture::SetUp();
        SelectTool(CVEKView::kPickClosedTool);
        tool = Tool<CVTPickClosed>(CVEKView::kPickClosedTool);
        ASSERT_NE(tool, nullptr);
    }
    // Start, then (via, end) for each piece.
    void Trace(std::initializer_list<CPoint> clicks)
    {
        for (const CPoint& p : clicks) Click(p.x, p.y);
    }

    CVTPickClosed* tool = nullptr;
};

using Points = std::vector<CPoint>;

} // namespace

TEST_F(PickClosedToolTest, PiecesOfThreeLinesMakeATriangle)
{
    Settings().m_crLineColor = RGB(0, 128, 0);
    Settings().m_aLineTypes[std::size_t(Settings().m_nCurLineType)] = CLineAttr(35);
    CCurveElement* base = AddCurve({{1000, 4000}, {5000, 4000}}, 0);
    CCurveElement* right = AddCurve({{3000, 1000}, {5000, 4000}}, 0);
    CCurveElement* left = AddCurve({{1000, 4000}, {3000, 1000}}, 0);
    EXPECT_EQ(view->GetToolCursorId(), CVTPickClosed::kCursor);
    Trace({{1000, 4000}, {3000, 4000}, {5000, 4000}, {4000, 2500}, {3000, 1000}, {2000, 2500}, {1000, 4000}});
    EXPECT_EQ(tool->GetPickedCurves().GetCount(), 3);
    EXPECT_EQ(tool->GetOutline().GetCount(), 6);
    RightClick(6000, 6000);

    ASSERT_EQ(Curves().size(), 4u);
    CCurveElement* traced = Curves()[3];
    EXPECT_TRUE(traced->IsClosed());
    EXPECT_EQ(Positions(traced), (Points{{1000, 4000}, {5000, 4000}, {3000, 1000}}));
    EXPECT_EQ(Kinds(traced), (std::vector<int>{NODE_CORNER, NODE_CORNER, NODE_CORNER}));
    EXPECT_EQ(traced->GetColor(), RGB(0, 128, 0));
    EXPECT_EQ(traced->GetLineAttr().GetWidth(), 35);
    EXPECT_EQ(static_cast<CClosedCurveElement*>(traced)->GetFillKind(), FILL_NONE);
    // On points of its own: the traced lines stay as they were.
    for (CCurveNode* n : traced->Nodes())
        for (CCurveElement* c : {base, right, left}) EXPECT_FALSE(c->UsesPoint(n->GetPoint()));
    EXPECT_EQ(Positions(base), (Points{{1000, 4000}, {5000, 4000}}));
    EXPECT_EQ(tool->GetLastResult(), traced);
    EXPECT_FALSE(tool->HasPendingStep());
    EXPECT_EQ(doc.UndoCount(), 1);
    view->OnEditUndo();
    EXPECT_EQ(Curves().size(), 3u);
}

TEST_F(PickClosedToolTest, AWholeClosedCurveIsTracedThroughItsViaPoint)
{
    AddCurve({{1000, 1000}, {3000, 1000}, {3000, 3000}, {1000, 3000}}, 1);
    Trace({{1000, 1000}, {3000, 2000}, {1000, 1000}});
    RightClick(6000, 6000);
    ASSERT_EQ(Curves().size(), 2u);
    // The round from the start through the via point (a vertex of the
    // piece now) back to the start, which is not repeated.
    EXPECT_EQ(Positions(Curves()[1]), (Points{{1000, 1000}, {3000, 1000}, {3000, 2000}, {3000, 3000}, {1000, 3000}}));
}

TEST_F(PickClosedToolTest, TooLittleTracedMakesNothingAndTakesNoStep)
{
    AddCurve({{1000, 1000}, {5000, 1000}}, 0);
    RightClick(3000, 3000);
    Trace({{1000, 1000}, {3000, 1000}, {5000, 1000}});
    EXPECT_EQ(tool->GetOutline().GetCount(), 2);
    RightClick(3000, 3000);
    EXPECT_EQ(Curves().size(), 1u);
    EXPECT_EQ(doc.UndoCount(), 0);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_FALSE(tool->HasPendingStep());
    EXPECT_TRUE(tool->GetOutline().IsEmpty());
}

TEST_F(PickClosedToolTest, EscDropsTheTracedPieces)
{
    AddCurve({{1000, 1000}, {5000, 1000}}, 0);
    Trace({{1000, 1000}, {3000, 1000}, {5000, 1000}});
    EXPECT_TRUE(tool->HasPendingStep());
    Key(Qt::Key_Escape);
    EXPECT_FALSE(tool->HasPendingStep());
    EXPECT_TRUE(tool->GetOutline().IsEmpty());
    EXPECT_TRUE(tool->GetPickedCurves().IsEmpty());
}
