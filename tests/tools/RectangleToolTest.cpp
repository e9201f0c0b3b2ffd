#include "tests/tools/ShapeTestSupport.h"

#include "tools/CVTRectangle.h"
#include "ui/CPolygonRadiusDlg.h"
#include "ui/CShapeSizeDlg.h"

#include "geometry/ShapePoints.h"

#include <cmath>

namespace {

class RectangleToolTest : public ShapeToolFixture {
protected:
    void SetUp() override
    {
        ShapeToolFixture::SetUp();
        SelectTool(CVEKView::kRectangleTool);
        tool = Tool<CVTRectangle>(CVEKView::kRectangleTool);
        ASSERT_NE(tool, nullptr);
    }

    void ToPolygonMode()
    {
        Shift();
        ASSERT_FALSE(tool->IsRectMode());
    }
    void Digits(const char* keys)
    {
        for (const char* k = keys; *k; ++k) Key(Qt::Key_0 + (*k - '0'));
    }

    CVTRectangle* tool = nullptr;
};

} // namespace

TEST_F(RectangleToolTest, EveryRectangleRunsTheSameWay)
{
    struct Case {
        CPoint a, b;
        std::vector<CPoint> nodes;
    };
    const Case cases[] = {
        // Top-left to bottom-right and back: the second node is (x2, y1).
        {{1000, 1000}, {3000, 2000}, {{1000, 1000}, {3000, 1000}, {3000, 2000}, {1000, 2000}}},
        {{3000, 2000}, {1000, 1000}, {{3000, 2000}, {1000, 2000}, {1000, 1000}, {3000, 1000}}},
        // Top-right to bottom-left and back: the second node is (x1, y2).
        {{3000, 1000}, {1000, 2000}, {{3000, 1000}, {3000, 2000}, {1000, 2000}, {1000, 1000}}},
        {{1000, 2000}, {3000, 1000}, {{1000, 2000}, {1000, 1000}, {3000, 1000}, {3000, 2000}}},
    };
    for (const Case& c : cases) {
        const std::size_t before = Curves().size();
        Click(c.a.x, c.a.y);
        EXPECT_TRUE(tool->HasPendingStep());
        Click(c.b.x, c.b.y);
        ASSERT_EQ(Curves().size(), before + 1);
        CCurveElement* rect = Curves().back();
        EXPECT_TRUE(rect->IsClosed());
        EXPECT_EQ(Positions(rect), c.nodes);
        EXPECT_EQ(Kinds(rect), (std::vector<int>{NODE_CORNER, NODE_CORNER, NODE_CORNER, NODE_CORNER}));
        EXPECT_EQ(static_cast<CClosedCurveElement*>(rect)->GetFillKind(), 0);
        EXPECT_EQ(tool->GetLastElement(), rect);
        EXPECT_FALSE(tool->HasPendingStep());
    }
}

TEST_F(RectangleToolTest, OneUndoStepWithTheCurrentLineTypeAndColour)
{
    Settings().m_nCurLineType = 2;
    Settings().m_aLineTypes[2] = Settings().m_aLineTypes[0];
    Settings().m_aLineTypes[2].SetWidth(30);
    Settings().m_crLineColor = RGB(0, 128, 0);
    const int undo = doc.UndoCount();
    Click(1000, 1000);
    EXPECT_EQ(doc.UndoCount(), undo) << "the first corner changes nothing";
    Click(3000, 2000);
    ASSERT_EQ(Curves().size(), 1u);
    EXPECT_EQ(doc.UndoCount(), undo + 1);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(Curves()[0]->GetLineAttr(), Settings().m_aLineTypes[2]);
    EXPECT_EQ(Curves()[0]->GetColor(), RGB(0, 128, 0));
    // The rectangle is on the page as it is painted.
    const QImage page = RenderPage();
    EXPECT_TRUE(ColourNear(page, 2000, 1000, RGB(0, 128, 0), 2));
    EXPECT_TRUE(ColourNear(page, 3000, 1500, RGB(0, 128, 0), 2));
    view->OnEditUndo();
    EXPECT_TRUE(Curves().empty());
}

TEST_F(RectangleToolTest, FirstCornerSharesACapturedNodeTheOthersDoNot)
{
    CCurveElement* line = AddCurve({{1000, 1000}, {1000, 4000}}, 0);
    Click(1040, 1030);  // within the capture radius of the node
    Click(3000, 2000);
    ASSERT_EQ(Curves().size(), 2u);
    CCurveElement* rect = Curves()[1];
    EXPECT_EQ(rect->GetFirstNode()->GetPoint(), line->GetFirstNode()->GetPoint());
    EXPECT_EQ(Positions(rect)[0], CPoint(1000, 1000));
    for (int i = 1; i < 4; ++i) EXPECT_NE(rect->GetNodeAt(i)->GetPoint(), line->GetFirstNode()->GetPoint());
}

TEST_F(RectangleToolTest, CtrlTakesTheFreePointBesideANode)
{
    AddCurve({{1000, 1000}, {1000, 4000}}, 0);
    Click(1040, 1030, Qt::ControlModifier);
    Click(3000, 2000);
    ASSERT_EQ(Curves().size(), 2u);
    EXPECT_EQ(Positions(Curves()[1])[0], CPoint(1040, 1030));
}

TEST_F(RectangleToolTest, ARectangleWithoutAreaIsNotMade)
{
    const int undo = doc.UndoCount();
    for (const CPoint& second : {CPoint(2000, 2000), CPoint(2000, 3000), CPoint(4000, 2000)}) {
        Click(2000, 2000);
        Click(second.x, second.y);
        EXPECT_TRUE(Curves().empty());
        EXPECT_EQ(tool->GetLastElement(), nullptr);
        EXPECT_FALSE(tool->HasPendingStep()) << "the shape is abandoned";
    }
    EXPECT_EQ(doc.UndoCount(), undo);
}

TEST_F(RectangleToolTest, SizeTextsFollowTheMovingCorner)
{
    Click(1000, 1000);
    MoveTo(2500, 1800);
    const CMeasurePromptList& prompts = tool->GetPrompts();
    ASSERT_EQ(prompts.GetCount(), 2);
    EXPECT_EQ(prompts.GetHead().text, "W=1.5cm");
    EXPECT_EQ(prompts.GetTail().text, "H=0.8cm");
    // 28 pixels right of the mouse, the second 16 pixels below.
    EXPECT_EQ(prompts.GetHead().x, 2500 + 280);
    EXPECT_EQ(prompts.GetHead().y, 1800);
    EXPECT_EQ(prompts.GetTail().y, 1800 + 160);
    CPointList shape;
    EXPECT_EQ(tool->GetShapePoints(shape), 1);
    EXPECT_EQ(ToVectorOf(shape), (std::vector<CPoint>{{1000, 1000}, {2500, 1000}, {2500, 1800}, {1000, 1800}}));
}

// The size texts belong to the rectangle under way: they leave the page
// with the finished (or abandoned) rectangle, not at the next mouse move.
TEST_F(RectangleToolTest, SizeTextsGoWhenTheStepEnds)
{
    const QRgb label = qRgb(0, 160, 0);
    Settings().m_crDimensionPromptColor = RGB(0, 160, 0);
    Click(1000, 1000);
    MoveTo(2500, 1800);
    EXPECT_GT(CountColour(RenderView(), label), 20);
    Click(2500, 1800);
    ASSERT_EQ(Curves().size(), 1u);
    EXPECT_TRUE(tool->GetPrompts().IsEmpty());
    EXPECT_EQ(CountColour(RenderView(), label), 0);

    Click(4000, 3000);
    MoveTo(5000, 4000);
    EXPECT_GT(CountColour(RenderView(), label), 20);
    Key(Qt::Key_Escape);
    EXPECT_FALSE(tool->HasPendingStep());
    EXPECT_EQ(CountColour(RenderView(), label), 0);
}

// ---------------------------------------------------------------- polygons

TEST_F(RectangleToolTest, ShiftSwitchesModesAndResets)
{
    Click(1000, 1000);
    ToPolygonMode();
    EXPECT_FALSE(tool->HasPendingStep());
    EXPECT_EQ(view->GetToolCursorId(), CVTRectangle::kCursorPolygon);
    EXPECT_EQ(view->GetStatusPrompt(), LoadResString(38021));
    // A held Shift repeats its press without switching back.
    KeyDown(Qt::Key_Shift, Qt::ShiftModifier);
    KeyDown(Qt::Key_Shift, Qt::ShiftModifier);
    KeyUp(Qt::Key_Shift);
    EXPECT_TRUE(tool->IsRectMode());
    EXPECT_EQ(view->GetToolCursorId(), CVTRectangle::kCursorRect);
}

TEST_F(RectangleToolTest, DigitsSetTheSidesForOnePolygon)
{
    ToPolygonMode();
    struct Case {
        const char* keys;
        int sides;
    };
    const Case cases[] = {{"15", 15}, {"7", 7}, {"29", 29}, {"10", 10}, {"3", 3}};
    for (const Case& c : cases) {
        Digits(c.keys);
        EXPECT_EQ(tool->GetSides(), c.sides) << c.keys;
        Click(4000, 4000);
        Click(5000, 4000);
        ASSERT_FALSE(Curves().empty());
        EXPECT_EQ(Curves().back()->GetNodeCount(), c.sides) << c.keys;
        EXPECT_EQ(tool->GetSides(), CVTRectangle::kDefaultSides) << "typed again for each polygon";
    }
    // "0" alone would make a polygon without vertices: refused, the count stays.
    Digits("4");
    Digits("0");
    EXPECT_EQ(tool->GetSides(), 4);
    Click(4000, 4000);
    Click(5000, 4000);
    EXPECT_EQ(Curves().back()->GetNodeCount(), 4);
}

TEST_F(RectangleToolTest, FirstVertexSnapsToTheNearest45Degrees)
{
    ToPolygonMode();
    struct Case {
        double degrees;
        double vertexDegrees;
    };
    for (const Case& c : {Case{20, 0}, Case{23, 45}, Case{100, 90}, Case{-50, -45}}) {
        const double a = c.degrees * 3.14159265359 / 180;
        Click(4000, 4000);
        // On whole pixels, where the view puts the mouse.
        const int x = 4000 + 10 * int(std::lround(std::cos(a) * 100));
        const int y = 4000 + 10 * int(std::lround(std::sin(a) * 100));
        Click(x, y);
        ASSERT_FALSE(Curves().empty());
        CCurveElement* polygon = Curves().back();
        ASSERT_EQ(polygon->GetNodeCount(), 6);
        const CPoint first = Positions(polygon)[0];
        const double r = std::hypot(x - 4000.0, y - 4000.0);
        const double b = c.vertexDegrees * 3.14159265359 / 180;
        EXPECT_NEAR(first.x, 4000 + std::cos(b) * r, 1.0) << c.degrees;
        EXPECT_NEAR(first.y, 4000 + std::sin(b) * r, 1.0) << c.degrees;
        EXPECT_EQ(Kinds(polygon), std::vector<int>(6, NODE_CORNER));
    }
}

TEST_F(RectangleToolTest, APolygonOfNoSizeIsNotMade)
{
    ToPolygonMode();
    Click(4000, 4000);
    Click(4000, 4000);
    EXPECT_TRUE(Curves().empty());
    EXPECT_EQ(tool->GetLastElement(), nullptr);
}

// ---------------------------------------------------------------- typed values

TEST_F(RectangleToolTest, TypedWidthAndHeightKeepTheQuadrant)
{
    Settings().m_bValueDialogs = 1;
    bool seen = false;
    CPointList preview;
    WhenModal<CShapeSizeDlg>(
        [&](CShapeSizeDlg& dialog) {
            EXPECT_EQ(dialog.WidthEdit()->text(), QStringLiteral("2"));
            EXPECT_EQ(dialog.HeightEdit()->text(), QStringLiteral("1"));
            Type(dialog.WidthEdit(), QStringLiteral("3.5"));
            Type(dialog.HeightEdit(), QStringLiteral("1.25"));
            tool->GetShapePoints(preview);
            dialog.accept();
        },
        &seen);
    // The mouse above and left of the first corner.
    Click(5000, 5000);
    Click(3000, 4000);
    ASSERT_TRUE(seen);
    EXPECT_EQ(ToVectorOf(preview), (std::vector<CPoint>{{1500, 3750}, {5000, 3750}, {5000, 5000}, {1500, 5000}}));
    ASSERT_EQ(Curves().size(), 1u);
    EXPECT_EQ(Positions(Curves()[0]), (std::vector<CPoint>{{5000, 5000}, {1500, 5000}, {1500, 3750}, {5000, 3750}}));
}

TEST_F(RectangleToolTest, CancelledOrRefusedSizesMakeNothing)
{
    Settings().m_bValueDialogs = 1;
    const int undo = doc.UndoCount();
    WhenModal<CShapeSizeDlg>([](CShapeSizeDlg& dialog) { dialog.reject(); });
    Click(1000, 1000);
    Click(3000, 2000);
    EXPECT_TRUE(Curves().empty());
    EXPECT_EQ(doc.UndoCount(), undo);
    EXPECT_EQ(tool->GetLastElement(), nullptr);
    EXPECT_FALSE(tool->HasPendingStep());

    // Zero, a sign, text and a huge size are refused one by one with a
    // message; the dialog stays until a size is given.
    QStringList messages;
    bool seen = false;
    WhenModal<CShapeSizeDlg>(
        [&](CShapeSizeDlg& dialog) {
            for (const char* bad : {"0", "-2", "abc", "", "5000"}) {
                Type(dialog.HeightEdit(), QString::fromLatin1(bad));
                QString message;
                CatchMessageBox(&message);
                dialog.accept();
                messages << message;
                EXPECT_TRUE(dialog.isVisible()) << bad;
                EXPECT_EQ(dialog.focusWidget(), dialog.HeightEdit()) << bad;
            }
            Type(dialog.HeightEdit(), QStringLiteral("2"));
            dialog.accept();
        },
        &seen);
    Click(1000, 1000);
    Click(3000, 2000);
    ASSERT_TRUE(seen);
    EXPECT_EQ(messages, (QStringList{LoadResString(36079), LoadResString(36079), LoadResString(36130),
                                     LoadResString(36130), LoadResString(36131).arg(QStringLiteral("1000cm"))}));
    ASSERT_EQ(Curves().size(), 1u);
    EXPECT_EQ(Positions(Curves()[0])[2], CPoint(3000, 3000));
}

TEST_F(RectangleToolTest, TypedCircumradius)
{
    Settings().m_bValueDialogs = 1;
    ToPolygonMode();
    Digits("4");
    bool seen = false;
    WhenModal<CPolygonRadiusDlg>(
        [&](CPolygonRadiusDlg& dialog) {
            EXPECT_EQ(dialog.ValueEdit()->text(), QStringLiteral("1"));
            Type(dialog.ValueEdit(), QStringLiteral("2.5"));
            dialog.accept();
        },
        &seen);
    Click(4000, 4000);
    Click(4000, 3000);  // straight up: the first vertex at -90 degrees
    ASSERT_TRUE(seen);
    ASSERT_EQ(Curves().size(), 1u);
    EXPECT_EQ(Positions(Curves()[0]),
              (std::vector<CPoint>{{4000, 1500}, {6500, 4000}, {4000, 6500}, {1500, 4000}}));
}

TEST_F(RectangleToolTest, CentreOnANodeTakesTheRadiusFromTheClick)
{
    AddCurve({{4000, 4000}, {6000, 6000}}, 0);
    Settings().m_bValueDialogs = 1;
    ToPolygonMode();
    Click(4030, 4020);
    bool prompted = false;
    WatchForDialog(&prompted);
    Click(5000, 4000);
    QApplication::processEvents();
    EXPECT_FALSE(prompted) << "no radius prompt for a snapped centre";
    ASSERT_EQ(Curves().size(), 2u);
    EXPECT_EQ(Positions(Curves()[1])[0], CPoint(5000, 4000));
}

// ---------------------------------------------------------------- sub-tool and zoom

TEST_F(RectangleToolTest, LastElementIsClearedByEveryCompletingClick)
{
    std::vector<CCurveElement*> completed;
    tool->SetCompletionHandler([&](CCurveElement* c) { completed.push_back(c); });
    Click(1000, 1000);
    Click(3000, 2000);
    ASSERT_EQ(completed.size(), 1u);
    EXPECT_EQ(tool->GetLastElement(), completed[0]);
    // A click that makes nothing leaves no old shape behind for an owner
    // to mirror.
    Click(1000, 1000);
    Click(1000, 1000);
    EXPECT_EQ(tool->GetLastElement(), nullptr);
    Settings().m_bValueDialogs = 1;
    Click(5000, 5000);
    WhenModal<CShapeSizeDlg>([](CShapeSizeDlg& dialog) { dialog.reject(); });
    Click(7000, 6000);
    EXPECT_EQ(tool->GetLastElement(), nullptr);
    EXPECT_EQ(completed.size(), 1u);
}

TEST_F(RectangleToolTest, ZoomingKeepsTheShapeInProgress)
{
    Click(1000, 1000);
    KeyDown(Qt::Key_Space);
    EXPECT_TRUE(tool->IsZoomMode());
    EXPECT_EQ(view->GetToolCursorId(), CZoomBox::kCursorZoomIn);
    RightClick(2000, 2000);  // fits the page
    KeyUp(Qt::Key_Space);
    EXPECT_TRUE(tool->HasPendingStep());
    EXPECT_EQ(view->GetToolCursorId(), CVTRectangle::kCursorRect);
    Click(3000, 2000);
    ASSERT_EQ(Curves().size(), 1u);
}

TEST_F(RectangleToolTest, RubberBandIsDrawnOverThePage)
{
    Click(1000, 1000);
    MoveTo(3000, 2500);
    const QImage image = RenderView();
    const QRgb prompt = qRgb(255, 0, 0);  // the first prompt colour, 0x0000FF
    EXPECT_TRUE(ColourNear(image, 2000, 1000, prompt, 1));
    EXPECT_TRUE(ColourNear(image, 3000, 1800, prompt, 1));
    EXPECT_FALSE(ColourNear(image, 2000, 1800, prompt, 3));
    view->OnEditCancel();
    EXPECT_FALSE(tool->HasPendingStep());
}
