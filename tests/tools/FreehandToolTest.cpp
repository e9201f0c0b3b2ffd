// The freehand tool through the view: a dragged stroke becomes one open
// curve with corner ends and smooth inner nodes; short strokes make
// nothing; Space zooms; as a sub-tool the one-sided line kinds change side.
#include "tests/tools/CurveTestSupport.h"

#include "res/StringTable.h"
#include "tools/CVTFreehand.h"
#include "tools/CVTSymmetricDraw.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

class FreehandToolTest : public CurveViewFixture {
protected:
    void SetUp() override
    {
        CurveViewFixture::SetUp();
        SelectTool(CVEKView::kFreehandTool);
        tool = Tool<CVTFreehand>(CVEKView::kFreehandTool);
        ASSERT_NE(tool, nullptr);
    }

    // Presses at the first point, drags through the others, releases at
    // the last.
    void Stroke(const std::vector<CPoint>& track)
    {
        ASSERT_FALSE(track.empty());
        MoveTo(track.front().x, track.front().y);
        Mouse(QEvent::MouseButtonPress, track.front().x, track.front().y, Qt::LeftButton, Qt::LeftButton,
              Qt::NoModifier);
        for (std::size_t i = 1; i < track.size(); ++i)
            MoveTo(track[i].x, track[i].y, Qt::NoModifier, Qt::LeftButton);
        Mouse(QEvent::MouseButtonRelease, track.back().x, track.back().y, Qt::LeftButton, Qt::NoButton,
              Qt::NoModifier);
    }

    // Half a circle of radius r about (cx, cy), one point every 5 degrees.
    static std::vector<CPoint> Arc(int cx, int cy, int r)
    {
        std::vector<CPoint> track;
        for (int deg = 0; deg <= 180; deg += 5) {
            const double a = deg * 3.14159265358979 / 180.0;
            track.emplace_back(cx + int(std::lround(r * std::cos(a))), cy - int(std::lround(r * std::sin(a))));
        }
        return track;
    }

    CVTFreehand* tool = nullptr;
};

} // namespace

TEST_F(FreehandToolTest, TheStrokeWearsTheChosenArrowheads)
{
    const ArrowChoice arrows;
    arrows.Choose();
    Stroke(Arc(4000, 4000, 2000));
    ASSERT_EQ(Curves().size(), 1u);
    arrows.ExpectOn(Curves()[0]);
}

TEST_F(FreehandToolTest, AStrokeBecomesOneSmoothOpenCurve)
{
    const int snapshots = doc.UndoCount();
    const auto track = Arc(5000, 6000, 2000);
    Stroke(track);
    ASSERT_EQ(Curves().size(), 1u);
    auto* curve = dynamic_cast<COpenCurveElement*>(Curves()[0]);
    ASSERT_NE(curve, nullptr);
    EXPECT_EQ(doc.UndoCount(), snapshots + 1);
    EXPECT_EQ(tool->GetLastElement(), curve);
    EXPECT_FALSE(tool->HasPendingStep());

    const auto kinds = Kinds(curve);
    ASSERT_GE(kinds.size(), 3u);
    EXPECT_EQ(kinds.front(), NODE_CORNER);
    EXPECT_EQ(kinds.back(), NODE_CORNER);
    for (std::size_t i = 1; i + 1 < kinds.size(); ++i) EXPECT_EQ(kinds[i], NODE_SMOOTH) << i;
    // Fewer control points than the hand gave, from the first to the last.
    EXPECT_LT(kinds.size(), track.size());
    EXPECT_EQ(Positions(curve).front(), track.front());
    EXPECT_EQ(Positions(curve).back(), track.back());

    int sk = -1, ss = 0, ek = -1, es = 0;
    double sa = 0, ea = 0;
    curve->GetArrowHeads(sk, ss, sa, ek, es, ea);
    EXPECT_EQ(sk, 0);
    EXPECT_EQ(ek, 0);

    // The curve follows the hand within the fitting tolerance of 10 mm,
    // and is drawn through its nodes along its outline.
    CPointList outline;
    curve->GetOutlinePoints(outline);
    for (const CPoint& t : track) {
        double nearest = 1e9;
        for (const CPoint& p : outline) nearest = std::min(nearest, Distance(p, t));
        EXPECT_LE(nearest, 1000.0) << t.x << "," << t.y;
    }
    const QImage image = RenderPage();
    for (const CPoint& p : Positions(curve)) EXPECT_TRUE(DarkNear(image, p.x, p.y)) << p.x << "," << p.y;
    int index = 0;
    for (const CPoint& p : outline)
        if (index++ % 5 == 0) EXPECT_TRUE(DarkNear(image, p.x, p.y)) << p.x << "," << p.y;
}

struct ShortStroke {
    const char* name;
    std::vector<CPoint> track;
};

class FreehandShortStrokes : public FreehandToolTest, public ::testing::WithParamInterface<ShortStroke> {};

TEST_P(FreehandShortStrokes, MakeNothingAndTakeNoSnapshot)
{
    const int snapshots = doc.UndoCount();
    Stroke(GetParam().track);
    EXPECT_TRUE(Curves().empty());
    EXPECT_EQ(doc.UndoCount(), snapshots);
    EXPECT_FALSE(tool->HasPendingStep());
}

INSTANTIATE_TEST_SUITE_P(
    Tracks, FreehandShortStrokes,
    ::testing::Values(ShortStroke{"Click", {{4000, 4000}}},
                      ShortStroke{"SamePointOnly", {{4000, 4000}, {4000, 4000}, {4000, 4000}}},
                      ShortStroke{"OneMillimetre", {{4000, 4000}, {4050, 4000}, {4100, 4000}}},
                      ShortStroke{"BackAndForthWithinAMillimetre", {{4000, 4000}, {4040, 4030}, {4000, 4000}}}),
    [](const ::testing::TestParamInfo<ShortStroke>& info) { return std::string(info.param.name); });

TEST_F(FreehandToolTest, JustOverAMillimetreMakesACurve)
{
    Stroke({{4000, 4000}, {4060, 4000}, {4110, 4000}});
    ASSERT_EQ(Curves().size(), 1u);
    const auto kinds = Kinds(Curves()[0]);
    ASSERT_GE(kinds.size(), 2u);
    EXPECT_EQ(kinds.front(), NODE_CORNER);
    EXPECT_EQ(kinds.back(), NODE_CORNER);
    EXPECT_EQ(Positions(Curves()[0]).front(), CPoint(4000, 4000));
    EXPECT_EQ(Positions(Curves()[0]).back(), CPoint(4110, 4000));
}

TEST_F(FreehandToolTest, MovesWithoutAPressAddNothing)
{
    MoveTo(3000, 3000);
    MoveTo(5000, 5000);
    EXPECT_FALSE(tool->HasPendingStep());
    CPointList track;
    tool->GetTrackPoints(track);
    EXPECT_TRUE(track.IsEmpty());
    EXPECT_EQ(view->GetToolCursorId(), CVTFreehand::kCursor);
}

TEST_F(FreehandToolTest, EscOrUndoDuringAStrokeDropsIt)
{
    for (bool esc : {true, false}) {
        MoveTo(3000, 3000);
        Mouse(QEvent::MouseButtonPress, 3000, 3000, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        MoveTo(4000, 3500, Qt::NoModifier, Qt::LeftButton);
        MoveTo(5000, 3000, Qt::NoModifier, Qt::LeftButton);
        CPointList track;
        tool->GetTrackPoints(track);
        EXPECT_EQ(track.GetCount(), 3);
        EXPECT_TRUE(view->CanEditCancel());
        if (esc)
            KeyDown(Qt::Key_Escape);
        else
            view->OnEditUndo();
        EXPECT_FALSE(tool->HasPendingStep());
        Mouse(QEvent::MouseButtonRelease, 5000, 3000, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        EXPECT_TRUE(Curves().empty());
    }
}

TEST_F(FreehandToolTest, SpaceZoomsWithTwoClicksAndShiftZoomsOut)
{
    KeyDown(Qt::Key_Space);
    EXPECT_EQ(tool->IsZoomMode(), 1);
    EXPECT_EQ(view->GetToolCursorId(), CVTFreehand::kCursorZoom);
    EXPECT_EQ(view->GetStatusPrompt(), LoadResString(38000));
    MoveTo(3000, 3000, Qt::ShiftModifier);
    EXPECT_EQ(view->GetToolCursorId(), CVTFreehand::kCursorZoomOut);

    Click(3000, 3000);
    EXPECT_EQ(tool->GetStep(), 1);
    Click(6000, 5000);
    EXPECT_EQ(tool->GetStep(), 0);
    EXPECT_LT(view->GetScale(), kScale);
    EXPECT_TRUE(Curves().empty());

    const double before = view->GetScale();
    Click(4000, 4000, Qt::ShiftModifier);
    EXPECT_NEAR(view->GetScale(), before / 0.8, before * 1e-6);
    // Still zooming while Space is held.
    EXPECT_EQ(tool->IsZoomMode(), 1);

    RightClick(4000, 4000);
    EXPECT_GT(view->GetScale(), before);
    KeyUp(Qt::Key_Space);
    EXPECT_EQ(tool->IsZoomMode(), 0);
    EXPECT_EQ(view->GetToolCursorId(), CVTFreehand::kCursor);

    // And draws again.
    Stroke(Arc(5000, 6000, 1500));
    EXPECT_EQ(Curves().size(), 1u);
}

struct SideCase {
    int kind;
    int mirrorSide;
    int stored;
};

class FreehandLineSides : public FreehandToolTest, public ::testing::WithParamInterface<SideCase> {};

TEST_P(FreehandLineSides, MirroredSubToolSwapsTheOneSidedKinds)
{
    CSystemSettings& s = Settings();
    s.m_nCurLineType = int(s.m_aLineTypes.size());
    CLineAttr line = CLineAttr::SideLines(GetParam().kind, 20);
    if (GetParam().kind == LINE_PLAIN) line = CLineAttr(20);
    s.m_aLineTypes.push_back(line);

    auto* owner = Tool<CVTSymmetricDraw>(CVEKView::kSymmetricDrawTool);
    ASSERT_NE(owner, nullptr);
    CVTFreehand sub(view.get(), owner, GetParam().mirrorSide);
    EXPECT_EQ(sub.GetOwner(), owner);
    sub.OnLButtonDown(MK_LBUTTON, 2000, 2000);
    for (const CPoint& p : Arc(4000, 4000, 1000)) sub.OnMouseMove(MK_LBUTTON, p.x, p.y);
    CPointList track;
    sub.GetTrackPoints(track);
    EXPECT_GT(track.GetCount(), 10);
    sub.OnLButtonUp(0, 3000, 4000);
    ASSERT_EQ(Curves().size(), 1u);
    EXPECT_EQ(Curves()[0]->GetLineAttr().GetKind(), GetParam().stored);
    EXPECT_EQ(Curves()[0]->GetLineAttr().GetWidth(), 20);
}

INSTANTIATE_TEST_SUITE_P(Kinds, FreehandLineSides,
                         ::testing::Values(SideCase{LINE_SIDE_PLUS, 1, LINE_SIDE_MINUS},
                                           SideCase{LINE_SIDE_MINUS, 1, LINE_SIDE_PLUS},
                                           SideCase{LINE_SIDE_BOTH, 1, LINE_SIDE_BOTH},
                                           SideCase{LINE_PLAIN, 1, LINE_PLAIN},
                                           SideCase{LINE_SIDE_PLUS, 0, LINE_SIDE_PLUS},
                                           SideCase{LINE_SIDE_MINUS, 0, LINE_SIDE_MINUS}));

TEST_F(FreehandToolTest, TheStrokeInProgressIsDrawnInThePromptColour)
{
    MoveTo(3000, 3000);
    Mouse(QEvent::MouseButtonPress, 3000, 3000, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    MoveTo(4000, 4000, Qt::NoModifier, Qt::LeftButton);
    MoveTo(5000, 3000, Qt::NoModifier, Qt::LeftButton);
    const QImage image = RenderView();
    const QRgb prompt = qRgb(255, 0, 0);
    EXPECT_TRUE(ColourNear(image, 3000, 3000, prompt));
    EXPECT_TRUE(ColourNear(image, 3500, 3500, prompt));
    EXPECT_TRUE(ColourNear(image, 4500, 3500, prompt));
    Mouse(QEvent::MouseButtonRelease, 5000, 3000, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    EXPECT_EQ(Curves().size(), 1u);
}
