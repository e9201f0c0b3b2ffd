#include "tests/tools/ShapeTestSupport.h"

#include "tools/CVTEllipse.h"
#include "ui/CCircleRadiusDlg.h"
#include "ui/CEllipseSizeDlg.h"

#include "geometry/ShapePoints.h"

#include <cmath>

namespace {

class EllipseToolTest : public ShapeToolFixture {
protected:
    void SetUp() override
    {
        ShapeToolFixture::SetUp();
        SelectTool(CVEKView::kEllipseTool);
        tool = Tool<CVTEllipse>(CVEKView::kEllipseTool);
        ASSERT_NE(tool, nullptr);
    }

    void ToCircleMode()
    {
        Shift();
        ASSERT_TRUE(tool->IsCircleMode());
    }
    std::vector<CPoint> ExpectedEllipse(CPoint a, CPoint b)
    {
        CPointList points;
        EXPECT_TRUE(EllipseControlPoints(a, b, view->GetScale(), points));
        return ToVectorOf(points);
    }

    CVTEllipse* tool = nullptr;
};

} // namespace

TEST_F(EllipseToolTest, EllipseOf32SmoothNodesInsideItsBox)
{
    Click(1000, 1000);
    Click(5000, 3000);
    ASSERT_EQ(Curves().size(), 1u);
    CCurveElement* ellipse = Curves()[0];
    EXPECT_TRUE(ellipse->IsClosed());
    EXPECT_EQ(Kinds(ellipse), std::vector<int>(32, NODE_SMOOTH));
    const std::vector<CPoint> nodes = Positions(ellipse);
    EXPECT_EQ(nodes, ExpectedEllipse({1000, 1000}, {5000, 3000}));
    // Half a pixel (5 units) inside the box at the scale of the view.
    EXPECT_EQ(nodes[0], CPoint(4990, 1995));
    EXPECT_EQ(tool->GetLastElement(), ellipse);
    EXPECT_EQ(doc.UndoCount(), 1);

    // The other diagonal gives the same nodes.
    Click(1000, 3000);
    Click(5000, 1000);
    ASSERT_EQ(Curves().size(), 2u);
    EXPECT_EQ(Positions(Curves()[1]), nodes);
}

TEST_F(EllipseToolTest, CircleOf12NodesNeverSharesPoints)
{
    CCurveElement* line = AddCurve({{6000, 3000}, {8000, 3000}}, 0);
    ToCircleMode();
    EXPECT_EQ(view->GetToolCursorId(), CVTEllipse::kCursorCircle);
    Click(4000, 3000);
    Click(6040, 3030);  // the rim point snaps to the line's end node
    ASSERT_EQ(Curves().size(), 2u);
    CCurveElement* circle = Curves()[1];
    EXPECT_EQ(Kinds(circle), std::vector<int>(12, NODE_SMOOTH));
    const std::vector<CPoint> nodes = Positions(circle);
    EXPECT_EQ(nodes[0], CPoint(6000, 3000));
    for (const CPoint& p : nodes) EXPECT_NEAR(std::hypot(p.x - 4000.0, p.y - 3000.0), 2000.0, 1.0);
    for (const CCurveNode* n : circle->Nodes()) EXPECT_NE(n->GetPoint(), line->GetFirstNode()->GetPoint());
}

TEST_F(EllipseToolTest, ShapesWithoutSizeAreNotMade)
{
    Click(2000, 2000);
    Click(2000, 2000);
    Click(2000, 2000);
    Click(4000, 2000);  // flat
    ToCircleMode();
    Click(2000, 2000);
    Click(2000, 2000);
    EXPECT_TRUE(Curves().empty());
    EXPECT_EQ(doc.UndoCount(), 0);
    EXPECT_EQ(tool->GetLastElement(), nullptr);
}

TEST_F(EllipseToolTest, ShiftResetsAHalfDrawnShape)
{
    Click(1000, 1000);
    EXPECT_TRUE(tool->HasPendingStep());
    Shift();
    EXPECT_FALSE(tool->HasPendingStep());
    EXPECT_TRUE(tool->IsCircleMode());
    EXPECT_EQ(view->GetStatusPrompt(), LoadResString(38019));
    Shift();
    EXPECT_FALSE(tool->IsCircleMode());
    EXPECT_EQ(view->GetToolCursorId(), CVTEllipse::kCursorEllipse);
}

TEST_F(EllipseToolTest, ShapeInProgressForTheMirroredPreview)
{
    CPointList points;
    EXPECT_EQ(tool->GetShapePoints(points), 0);
    Click(1000, 1000);
    MoveTo(5000, 3000);
    ASSERT_EQ(tool->GetShapePoints(points), 1);
    EXPECT_EQ(ToVectorOf(points), ExpectedEllipse({1000, 1000}, {5000, 3000}));
    ToCircleMode();
    Click(4000, 4000);
    MoveTo(5000, 4000);
    ASSERT_EQ(tool->GetShapePoints(points), 1);
    EXPECT_EQ(points.GetCount(), 12);
    EXPECT_EQ(points.GetHead(), CPoint(5000, 4000));
}

TEST_F(EllipseToolTest, TypedEllipseSize)
{
    Settings().m_bValueDialogs = 1;
    bool seen = false;
    WhenModal<CEllipseSizeDlg>(
        [&](CEllipseSizeDlg& dialog) {
            EXPECT_EQ(dialog.windowTitle(), QStringLiteral("椭圆"));
            EXPECT_EQ(dialog.WidthEdit()->text(), QStringLiteral("4"));
            Type(dialog.WidthEdit(), QStringLiteral("6"));
            Type(dialog.HeightEdit(), QStringLiteral("3"));
            dialog.accept();
        },
        &seen);
    Click(1000, 1000);
    Click(5000, 3000);
    ASSERT_TRUE(seen);
    ASSERT_EQ(Curves().size(), 1u);
    EXPECT_EQ(Positions(Curves()[0]), ExpectedEllipse({1000, 1000}, {7000, 4000}));
}

TEST_F(EllipseToolTest, TypedRadiusAndCancel)
{
    Settings().m_bValueDialogs = 1;
    ToCircleMode();
    bool seen = false;
    WhenModal<CCircleRadiusDlg>(
        [&](CCircleRadiusDlg& dialog) {
            EXPECT_EQ(dialog.windowTitle(), QStringLiteral("圆"));
            EXPECT_EQ(dialog.ValueEdit()->text(), QStringLiteral("1.5"));
            Type(dialog.ValueEdit(), QStringLiteral("0.75"));
            dialog.accept();
        },
        &seen);
    Click(4000, 4000);
    Click(4000, 5500);
    ASSERT_TRUE(seen);
    ASSERT_EQ(Curves().size(), 1u);
    // The radius point moved along its direction to 750: the circle's first
    // node is at angle 0 all the same.
    EXPECT_EQ(Positions(Curves()[0])[0], CPoint(4750, 4000));
    EXPECT_EQ(Positions(Curves()[0])[3], CPoint(4000, 4750));

    WhenModal<CCircleRadiusDlg>([](CCircleRadiusDlg& dialog) { dialog.reject(); }, &seen);
    Click(6000, 4000);
    Click(7000, 4000);
    EXPECT_TRUE(seen);
    EXPECT_EQ(Curves().size(), 1u);
    EXPECT_EQ(doc.UndoCount(), 1);
    EXPECT_EQ(tool->GetLastElement(), nullptr);
}

TEST_F(EllipseToolTest, PreviewIsDrawnAndUndoTakesTheShapeBack)
{
    Click(1000, 1000);
    MoveTo(5000, 3000);
    const QImage image = RenderView();
    const QRgb prompt = qRgb(255, 0, 0);
    // The ellipse's leftmost and topmost points, not its box's corner.
    EXPECT_TRUE(ColourNear(image, 1000, 2000, prompt, 1));
    EXPECT_TRUE(ColourNear(image, 3000, 1000, prompt, 1));
    EXPECT_FALSE(ColourNear(image, 1000, 1000, prompt, 2));
    Click(5000, 3000);
    ASSERT_EQ(Curves().size(), 1u);
    view->OnEditUndo();
    EXPECT_TRUE(Curves().empty());
}
