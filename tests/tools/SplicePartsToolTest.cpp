// The component-stitching tool driven through the view: the moving
// segment brought onto the fixed one by translation, scaling and turning,
// points shared between curves moved once, mirror images moved with their
// sources, what stays in the box, refused segments of no length, and one
// undo step per move.
#include "tests/editors/EditorTestSupport.h"

#include "tools/CVTSpliceParts.h"

namespace {

class SplicePartsToolTest : public EditorViewFixture {
protected:
    void SetUp() override
    {
        EditorViewFixture::SetUp();
        SelectTool(CVEKView::kSplicePartsTool);
        tool = Tool<CVTSpliceParts>(CVEKView::kSplicePartsTool);
        ASSERT_NE(tool, nullptr);
    }
    // The component to move: a square of side 1000 at (5000, 1000).
    CCurveElement* AddSquare() { return AddCurve({{5000, 1000}, {6000, 1000}, {6000, 2000}, {5000, 2000}}, 1); }
    void Segments(const CPoint& p1, const CPoint& p2, const CPoint& p3, const CPoint& p4)
    {
        for (const CPoint& p : {p1, p2, p3, p4}) Click(p.x, p.y);
    }
    void Box(const CPoint& a, const CPoint& b)
    {
        Click(a.x, a.y);
        MoveTo(b.x, b.y);
        Click(b.x, b.y);
    }

    CVTSpliceParts* tool = nullptr;
};

using Points = std::vector<CPoint>;

} // namespace

TEST_F(SplicePartsToolTest, TheMovingSegmentLandsOnTheFixedOne)
{
    struct Case {
        const char* what;
        CPoint p2;
        Points square;
    };
    // P1 = (1000, 5000), P3 = (5000, 2000), P4 = (6000, 2000).
    const Case cases[] = {
        {"as long and parallel: moved by P1 - P3", {2000, 5000},
         {{1000, 4000}, {2000, 4000}, {2000, 5000}, {1000, 5000}}},
        {"half as long: doubled about P3", {3000, 5000},
         {{1000, 3000}, {3000, 3000}, {3000, 5000}, {1000, 5000}}},
        {"at right angles: turned about P3", {1000, 6000},
         {{2000, 5000}, {2000, 6000}, {1000, 6000}, {1000, 5000}}},
    };
    AddCurve({{1000, 5000}, {3000, 5000}}, 0);
    AddSquare();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(view->GetToolCursorId(), CVTSpliceParts::kCursor);
        Segments({1000, 5000}, c.p2, {5000, 2000}, {6000, 2000});
        EXPECT_EQ(tool->GetMarks().GetCount(), 4);
        Box({4500, 500}, {6500, 2500});
        ASSERT_EQ(Curves().size(), 2u);
        EXPECT_EQ(Positions(Curves()[1]), c.square);
        EXPECT_EQ(Positions(Curves()[0]), (Points{{1000, 5000}, {3000, 5000}}));
        EXPECT_EQ(doc.UndoCount(), 1);
        EXPECT_FALSE(tool->HasPendingStep());
        view->OnEditUndo();
        EXPECT_EQ(Positions(Curves()[1]), (Points{{5000, 1000}, {6000, 1000}, {6000, 2000}, {5000, 2000}}));
    }
}

TEST_F(SplicePartsToolTest, ASharedPointMovesOnceAndCurvesOutsideOnItFollow)
{
    CCurveElement* square = AddSquare();
    auto addOn = [&](CSharedPoint* shared, const CPoint& other) {
        auto* point = new CSharedPoint(Page(), other.x, other.y);
        Page()->AddPoint(point);
        CCurveNodeList nodes;
        nodes.AddTail(new CCurveNode(shared, NODE_CORNER));
        nodes.AddTail(new CCurveNode(point, NODE_CORNER));
        auto* c = new COpenCurveElement(Page(), 0, CLineAttr(10), 0, nodes, 0, 600, 53.0, 0, 600, 53.0);
        Pages().AddElementToPage(c);
        return c;
    };
    // In the box: a curve on the square's first point, and one from its
    // third point to a point outside, where a curve outside goes on.
    CCurveElement* inside = addOn(square->GetFirstNode()->GetPoint(), {5500, 1500});
    CCurveElement* reach = addOn(square->GetNodeAt(2)->GetPoint(), {8000, 4000});
    CCurveElement* outside = addOn(reach->GetLastNode()->GetPoint(), {9000, 6000});
    AddCurve({{1000, 5000}, {3000, 5000}}, 0);
    Segments({1000, 5000}, {2000, 5000}, {5000, 2000}, {6000, 2000});
    Box({4500, 500}, {6500, 2500});
    EXPECT_EQ(Positions(square), (Points{{1000, 4000}, {2000, 4000}, {2000, 5000}, {1000, 5000}}));
    EXPECT_EQ(Positions(inside), (Points{{1000, 4000}, {1500, 4500}}));
    EXPECT_EQ(Positions(reach), (Points{{2000, 5000}, {4000, 7000}}));
    EXPECT_EQ(Positions(outside), (Points{{4000, 7000}, {9000, 6000}}));
}

TEST_F(SplicePartsToolTest, AnImageMovesWithItsSourceInsideOneBox)
{
    CCurveElement* source = AddSquare();
    auto* axis1 = new CSharedPoint(Page(), 7000, 0);
    auto* axis2 = new CSharedPoint(Page(), 7000, 3000);
    Page()->AddPoint(axis1);
    Page()->AddPoint(axis2);
    CCurveNodeList nodes;
    for (CCurveNode* n : source->Nodes()) {
        CSharedPoint* mirrored = Page()->AddMirroredPoint(n->GetPoint(), axis1, axis2);
        nodes.AddTail(new CCurveNode(mirrored, NODE_CORNER));
    }
    auto* image = new CClosedCurveElement(Page(), 0, CLineAttr(10), 0, nodes, source);
    Pages().AddElementToPage(image);
    ASSERT_EQ(Positions(image), (Points{{9000, 1000}, {8000, 1000}, {8000, 2000}, {9000, 2000}}));
    AddCurve({{1000, 5000}, {3000, 5000}}, 0);
    Segments({1000, 5000}, {2000, 5000}, {5000, 2000}, {6000, 2000});
    Box({4500, 500}, {9500, 2500});
    // Both halves moved by (-4000, 3000): the pair keeps its shape.
    EXPECT_EQ(Positions(source), (Points{{1000, 4000}, {2000, 4000}, {2000, 5000}, {1000, 5000}}));
    EXPECT_EQ(Positions(image), (Points{{5000, 4000}, {4000, 4000}, {4000, 5000}, {5000, 5000}}));
    EXPECT_EQ(axis1->GetPosition(), CPoint(3000, 3000));
}

TEST_F(SplicePartsToolTest, TextsAndPicturesInTheBoxStay)
{
    AddSquare();
    CTextElement* text = AddText("T", {{CPoint(5200, 1200), CPoint(5800, 1200), CPoint(5800, 1600), CPoint(5200, 1600)}});
    AddCurve({{1000, 5000}, {3000, 5000}}, 0);
    Segments({1000, 5000}, {2000, 5000}, {5000, 2000}, {6000, 2000});
    Click(4500, 500);
    MoveTo(6500, 2500);
    EXPECT_EQ(tool->GetBoxElements().GetCount(), 2);
    Click(6500, 2500);
    EXPECT_EQ(BoxOf(text)[0], CPoint(5200, 1200));
}

TEST_F(SplicePartsToolTest, ASegmentOfNoLengthIsRefused)
{
    CCurveElement* square = AddSquare();
    Click(1000, 5000);
    Click(1000, 5000);
    EXPECT_EQ(tool->GetMarks().GetCount(), 1);
    Click(2000, 5000);
    Click(5000, 2000);
    Click(5000, 2000);
    EXPECT_EQ(tool->GetMarks().GetCount(), 3);
    Click(6000, 2000);
    Box({4500, 500}, {6500, 2500});
    EXPECT_EQ(Positions(square), (Points{{1000, 4000}, {2000, 4000}, {2000, 5000}, {1000, 5000}}));
    // A box without curves moves nothing and takes no step.
    Segments({1000, 5000}, {2000, 5000}, {5000, 2000}, {6000, 2000});
    Box({7000, 7000}, {8000, 8000});
    EXPECT_EQ(doc.UndoCount(), 1);
}
