// The closed-curve tool through the view: points entered as with the
// open-curve tool, every point taking the smooth mode, a closed unfilled
// curve made by the right click and handed to the editor.
#include "tests/tools/CurveTestSupport.h"

#include "shell/CMainFrame.h"
#include "editors/CVTModifyCurve.h"
#include "res/StringTable.h"
#include "tools/CVTClosedCurve.h"
#include "tools/CVTSymmetricDraw.h"

#include <string>

namespace {

class ClosedCurveToolTest : public CurveViewFixture {
protected:
    void SetUp() override
    {
        CurveViewFixture::SetUp();
        SelectTool(CVEKView::kClosedCurveTool);
        tool = Tool<CVTClosedCurve>(CVEKView::kClosedCurveTool);
        ASSERT_NE(tool, nullptr);
    }

    static CPoint P(int i)
    {
        static const CPoint points[] = {{3000, 3000}, {6000, 3000}, {6000, 6000}, {3000, 6000}, {2000, 4500}};
        return points[i];
    }

    // L clicks the next point, S presses Shift, R right-clicks in the
    // middle of the figure.
    void Play(const std::string& script)
    {
        int next = 0;
        for (char c : script) {
            if (c == 'L') Click(P(next).x, P(next).y), ++next;
            if (c == 'S') Shift();
            if (c == 'R') RightClick(4500, 4500);
        }
    }

    CVTClosedCurve* tool = nullptr;
};

struct ClosedKindCase {
    const char* script;
    std::vector<int> kinds;
};

class ClosedCurveKinds : public ClosedCurveToolTest,
                         public ::testing::WithParamInterface<ClosedKindCase> {};

} // namespace

TEST_P(ClosedCurveKinds, EveryPointTakesTheSmoothMode)
{
    const int snapshots = doc.UndoCount();
    Play(GetParam().script);
    const auto curves = Curves();
    ASSERT_EQ(curves.size(), 1u);
    EXPECT_TRUE(curves[0]->IsClosed());
    EXPECT_EQ(Kinds(curves[0]), GetParam().kinds);
    EXPECT_EQ(doc.UndoCount(), snapshots + 1);
}

INSTANTIATE_TEST_SUITE_P(Scripts, ClosedCurveKinds,
                         ::testing::Values(ClosedKindCase{"LLR", {1, 1}},
                                           ClosedKindCase{"LLLLR", {1, 1, 1, 1}},
                                           // Shift makes the point before a corner too.
                                           ClosedKindCase{"LLSLLR", {1, 0, 0, 0}},
                                           ClosedKindCase{"SLLLR", {0, 0, 0}},
                                           ClosedKindCase{"SLSLLR", {0, 1, 1}}));

TEST_F(ClosedCurveToolTest, MakesAnUnfilledClosedCurveWithTheSettingsLine)
{
    Settings().m_nCurLineType = 0;
    Settings().m_crLineColor = RGB(0, 0, 200);
    Play("LLLLR");
    ASSERT_EQ(Curves().size(), 1u);
    auto* curve = dynamic_cast<CClosedCurveElement*>(Curves()[0]);
    ASSERT_NE(curve, nullptr);
    EXPECT_EQ(curve->GetFillKind(), FILL_NONE);
    EXPECT_EQ(curve->GetFillMode(), 1);
    EXPECT_EQ(curve->GetLineAttr(), Settings().m_aLineTypes[0]);
    EXPECT_EQ(curve->GetColor(), RGB(0, 0, 200));
    EXPECT_EQ(tool->IsEditing(), 1);
    EXPECT_EQ(tool->GetEditor()->GetCurve(), curve);

    // The whole closed line is drawn, back to the first point.
    RightClick(4500, 4500);
    const QImage image = RenderPage();
    CPointList outline;
    curve->GetOutlinePoints(outline);
    int index = 0;
    for (const CPoint& p : outline)
        if (index++ % 5 == 0) EXPECT_TRUE(DarkNear(image, p.x, p.y)) << p.x << "," << p.y;
    for (int i = 0; i < 4; ++i) EXPECT_TRUE(DarkNear(image, P(i).x, P(i).y)) << i;
}

TEST_F(ClosedCurveToolTest, TwoPointsMakeACurveThatLosesItsNodeAndGoes)
{
    Play("LLR");
    ASSERT_EQ(Curves().size(), 1u);
    EXPECT_EQ(Curves()[0]->GetNodeCount(), 2);
    const int snapshots = doc.UndoCount();
    MoveTo(P(0).x, P(0).y);
    Key(Qt::Key_Delete);
    EXPECT_TRUE(Curves().empty());
    EXPECT_EQ(tool->IsEditing(), 0);
    EXPECT_EQ(tool->GetEditor()->IsCurveRemoved(), 1);
    EXPECT_EQ(doc.UndoCount(), snapshots + 1);
    // Undo brings it back.
    view->OnEditUndo();
    EXPECT_EQ(Curves().size(), 1u);
}

TEST_F(ClosedCurveToolTest, TheFirstSmoothPointIsStoredSmoothButPreviewedAsACorner)
{
    Play("LLL");
    CList<int> flags;
    tool->GetSmoothFlags(flags);
    EXPECT_EQ(flags.GetHead(), 1);
    CPointList preview;
    tool->GetPolyline(preview);
    std::vector<CPoint> points;
    std::vector<int> smooth;
    CCapturePointList entered;
    tool->GetEnteredPoints(entered);
    for (const CCapturePoint& e : entered) points.push_back(e.GetPosition());
    for (int f : flags) smooth.push_back(f);
    smooth.front() = 0;
    CPointList expected;
    CVTModifyCurve::BuildNodePolyline(points, smooth, 0, expected);
    EXPECT_EQ(preview.GetCount(), expected.GetCount());
    EXPECT_EQ(preview.GetHead(), P(0));
    // The preview stays open: the closing stretch comes with the curve.
    EXPECT_NE(preview.GetTail(), P(0));
}

TEST_F(ClosedCurveToolTest, CursorsAndPromptsAreTheClosedToolsOwn)
{
    MoveTo(2000, 2000);
    EXPECT_EQ(view->GetToolCursorId(), CVTClosedCurve::kCursorSmooth);
    EXPECT_EQ(view->GetStatusPrompt(), LoadResString(38002));
    Shift();
    EXPECT_EQ(view->GetToolCursorId(), CVTClosedCurve::kCursorCorner);

    KeyDown(Qt::Key_Space);
    EXPECT_EQ(view->GetToolCursorId(), CVTCurve::kCursorZoom);
    EXPECT_EQ(view->GetStatusPrompt(), LoadResString(38000));
    KeyUp(Qt::Key_Space);
    EXPECT_EQ(view->GetToolCursorId(), CVTClosedCurve::kCursorCorner);
    EXPECT_EQ(view->GetStatusPrompt(), LoadResString(38002));

    tool->Reset();
    EXPECT_EQ(view->GetToolCursorId(), CVTClosedCurve::kCursorSmooth);
}

TEST_F(ClosedCurveToolTest, UndoAndEscWorkOnTheEnteredPoints)
{
    Play("LLL");
    view->OnEditUndo();
    EXPECT_EQ(tool->GetPointCount(), 2);
    KeyDown(Qt::Key_Escape);
    EXPECT_EQ(tool->GetPointCount(), 0);
    EXPECT_TRUE(Curves().empty());
}

TEST_F(ClosedCurveToolTest, ArrowheadsAndEscAreNotPassedToTheEditor)
{
    Play("LLLR");
    ASSERT_EQ(tool->IsEditing(), 1);
    const int snapshots = doc.UndoCount();
    Settings().m_nStartArrowType = 2;
    tool->OnStartArrow();
    tool->OnEndArrow();
    EXPECT_EQ(doc.UndoCount(), snapshots);
    // While editing the tool's own preview is what it shows: nothing.
    CPointList shown;
    tool->GetPolyline(shown);
    EXPECT_TRUE(shown.IsEmpty());
}

TEST_F(ClosedCurveToolTest, TheOwnerHearsOfEveryNewClosedCurve)
{
    auto* owner = Tool<CVTSymmetricDraw>(CVEKView::kSymmetricDrawTool);
    ASSERT_NE(owner, nullptr);
    CVTClosedCurve sub(view.get(), owner, 1);
    CCurveElement* heard = nullptr;
    sub.SetNewClosedCurveHandler([&](CCurveElement* curve) { heard = curve; });
    sub.OnLButtonDown(0, 2000, 2000);
    sub.OnLButtonDown(0, 4000, 2000);
    sub.OnLButtonDown(0, 3000, 4000);
    sub.OnRButtonDown(0, 3000, 3000);
    ASSERT_NE(heard, nullptr);
    EXPECT_EQ(heard, sub.GetCreatedCurve());
    EXPECT_TRUE(heard->IsClosed());
    // The closed tool remembers its curve across Reset.
    sub.Reset();
    EXPECT_EQ(sub.GetCreatedCurve(), heard);
}

namespace {

// The curve tools in the main window, for its context tool bar.
class CurveToolsInFrameTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(home.isValid());
        qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral("config")).toLocal8Bit());
        qputenv("XDG_DATA_HOME", home.filePath(QStringLiteral("data")).toLocal8Bit());
    }
    QTemporaryDir home;
};

} // namespace

TEST_F(CurveToolsInFrameTest, EachToolShowsTheLineGroupsItUses)
{
    CMainFrame frame;
    ASSERT_TRUE(frame.NewDocument());
    CVEKView* view = frame.GetEditingView();
    ASSERT_NE(view, nullptr);
    struct Case {
        int tool;
        int arrows;
    };
    for (const Case& c : {Case{CVEKView::kClosedCurveTool, 0}, Case{CVEKView::kCurveTool, 1},
                          Case{CVEKView::kClosedCurveTool, 0}, Case{CVEKView::kFreehandTool, 1}}) {
        view->OnToolCommand(view->CommandOfTool(c.tool));
        const CMainFrame::ContextGroups& groups = frame.GetContextGroups();
        EXPECT_EQ(groups.lineType, 1) << c.tool;
        EXPECT_EQ(groups.lineWidth, 1) << c.tool;
        EXPECT_EQ(groups.lineColor, 1) << c.tool;
        EXPECT_EQ(groups.arrows, c.arrows) << c.tool;
        EXPECT_EQ(groups.arrowAngles, c.arrows) << c.tool;
    }
}
