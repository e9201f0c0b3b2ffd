// The open-curve tool driven through the view as a user drives it: clicks
// enter points, Shift switches smooth and corner, a right click makes the
// curve and starts editing it, Undo and Esc take points back, Space zooms.
#include "tests/tools/CurveTestSupport.h"

#include "editors/CVTModifyCurve.h"
#include "res/StringTable.h"
#include "tools/CVTCurve.h"
#include "tools/CVTSymmetricDraw.h"
#include "ui/CPointOnCurveDlg.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTimer>

#include <algorithm>
#include <string>

namespace {

class CurveToolTest : public CurveViewFixture {
protected:
    void SetUp() override
    {
        CurveViewFixture::SetUp();
        SelectTool(CVEKView::kCurveTool);
        tool = Tool<CVTCurve>(CVEKView::kCurveTool);
        ASSERT_NE(tool, nullptr);
    }

    // The i-th point of a zigzag well inside the paper.
    static CPoint P(int i) { return CPoint(2000 + 1000 * i, 3000 + (i % 2) * 1000); }

    // Plays a script: L clicks the next point, S presses and releases
    // Shift, R right-clicks beside the last point.
    void Play(const std::string& script)
    {
        int next = 0;
        for (char c : script) {
            if (c == 'L') Click(P(next).x, P(next).y), ++next;
            if (c == 'S') Shift();
            if (c == 'R') RightClick(P(next).x, P(next).y + 300);
        }
    }

    CVTCurve* tool = nullptr;
};

} // namespace

TEST_F(CurveToolTest, IsTheViewsDefaultToolAndShowsItsEntryPrompt)
{
    EXPECT_EQ(view->GetCurrentTool(), tool);
    MoveTo(2000, 2000);
    EXPECT_EQ(view->GetStatusPrompt(), LoadResString(38001));
    EXPECT_EQ(view->GetToolCursorId(), CVTCurve::kCursorSmooth);
    EXPECT_FALSE(view->CanEditCancel());
}

struct KindCase {
    const char* script;
    std::vector<int> kinds;
};

class CurveToolKinds : public CurveToolTest, public ::testing::WithParamInterface<KindCase> {};

TEST_P(CurveToolKinds, SmoothModeAndShiftDecideTheNodeKinds)
{
    const int snapshots = doc.UndoCount();
    Play(GetParam().script);
    const auto curves = Curves();
    ASSERT_EQ(curves.size(), 1u);
    EXPECT_FALSE(curves[0]->IsClosed());
    EXPECT_EQ(Kinds(curves[0]), GetParam().kinds);
    // One snapshot for the whole curve.
    EXPECT_EQ(doc.UndoCount(), snapshots + 1);
    // The nodes stand where the clicks were.
    for (std::size_t i = 0; i < GetParam().kinds.size(); ++i) EXPECT_EQ(Positions(curves[0])[i], P(int(i)));
}

INSTANTIATE_TEST_SUITE_P(
    Scripts, CurveToolKinds,
    ::testing::Values(KindCase{"LLR", {0, 0}},
                      KindCase{"LLLR", {0, 1, 0}},
                      // Shift after the second point: it becomes a corner, the
                      // third is entered as one.
                      KindCase{"LLSLR", {0, 0, 0}},
                      KindCase{"SLLLR", {0, 0, 0}},
                      // Back to smooth: the points entered before stay.
                      KindCase{"LLSLSLLR", {0, 0, 0, 1, 0}},
                      KindCase{"LLLLLR", {0, 1, 1, 1, 0}}));

TEST_F(CurveToolTest, ShiftSwitchesTheCursorAndTheModeOncePerPress)
{
    Click(P(0).x, P(0).y);
    EXPECT_EQ(view->GetToolCursorId(), CVTCurve::kCursorSmooth);
    // A held Shift repeats its press; the mode changes once.
    KeyDown(Qt::Key_Shift, Qt::ShiftModifier);
    KeyDown(Qt::Key_Shift, Qt::ShiftModifier);
    KeyDown(Qt::Key_Shift, Qt::ShiftModifier);
    KeyUp(Qt::Key_Shift);
    EXPECT_EQ(tool->IsSmoothMode(), 0);
    EXPECT_EQ(view->GetToolCursorId(), CVTCurve::kCursorCorner);
    Shift();
    EXPECT_EQ(tool->IsSmoothMode(), 1);
    EXPECT_EQ(view->GetToolCursorId(), CVTCurve::kCursorSmooth);
}

TEST_F(CurveToolTest, FinishingHandsTheCurveToTheEditor)
{
    Play("LLL");
    RightClick(5000, 6000);
    ASSERT_EQ(Curves().size(), 1u);
    EXPECT_EQ(tool->IsEditing(), 1);
    EXPECT_EQ(tool->GetCreatedCurve(), Curves()[0]);
    EXPECT_EQ(tool->GetEditor()->GetCurve(), Curves()[0]);
    EXPECT_EQ(tool->GetPointCount(), 0);
    MoveTo(5000, 6000);
    EXPECT_EQ(view->GetStatusPrompt(), LoadResString(CVTModifyCurve::kPromptHover));
    EXPECT_EQ(view->GetToolCursorId(), CVTModifyCurve::kCursor);

    // A right click ends the editing; the next clicks start a new curve.
    RightClick(5000, 6000);
    EXPECT_EQ(tool->IsEditing(), 0);
    Click(2000, 8000);
    Click(4000, 8000);
    RightClick(4000, 8500);
    EXPECT_EQ(Curves().size(), 2u);
}

TEST_F(CurveToolTest, NewCurveTakesTheSettingsLineTypeColourAndArrowheads)
{
    CSystemSettings& s = Settings();
    ASSERT_GT(s.m_aLineTypes.size(), 2u);
    s.m_nCurLineType = 2;
    s.m_crLineColor = RGB(0, 128, 0);
    s.m_nStartArrowType = 1;
    s.m_nEndArrowType = 3;
    s.m_nStartArrowSize = 400;
    s.m_dStartArrowAngle = 30.0;
    s.m_nEndArrowSize = 700;
    s.m_dEndArrowAngle = 45.0;
    const int level = Page()->GetMaxLevel();
    Play("LLR");
    ASSERT_EQ(Curves().size(), 1u);
    auto* curve = static_cast<COpenCurveElement*>(Curves()[0]);
    EXPECT_EQ(curve->GetLineAttr(), s.m_aLineTypes[2]);
    EXPECT_EQ(curve->GetColor(), RGB(0, 128, 0));
    EXPECT_EQ(curve->GetLevel(), level);
    int sk = -1, ss = 0, ek = -1, es = 0;
    double sa = 0, ea = 0;
    curve->GetArrowHeads(sk, ss, sa, ek, es, ea);
    // The arrowheads shown on the tool bar's buttons are the ones drawn.
    EXPECT_EQ(sk, 1);
    EXPECT_EQ(ek, 3);
    EXPECT_EQ(ss, 400);
    EXPECT_DOUBLE_EQ(sa, 30.0);
    EXPECT_EQ(es, 700);
    EXPECT_DOUBLE_EQ(ea, 45.0);
}

TEST_F(CurveToolTest, APointCapturedOnANodeIsSharedWithItsCurve)
{
    CCurveElement* other = AddCurve({{2000, 6000}, {6000, 6000}}, 0);
    CSharedPoint* shared = other->GetFirstNode()->GetPoint();
    const int pool = Page()->GetPointCount();
    // Near the node, not on it: the capture snaps.
    Click(2060, 6050);
    Click(4000, 8000);
    RightClick(4000, 8300);
    ASSERT_EQ(Curves().size(), 2u);
    CCurveElement* drawn = Curves()[1];
    EXPECT_EQ(drawn->GetFirstNode()->GetPoint(), shared);
    EXPECT_EQ(drawn->GetFirstNode()->GetPosition(), CPoint(2000, 6000));
    // Only the free point is new.
    EXPECT_EQ(Page()->GetPointCount(), pool + 1);

    // Moving the point later moves both curves.
    shared->MoveTo(2500, 6500, 1);
    EXPECT_EQ(other->GetFirstNode()->GetPosition(), CPoint(2500, 6500));
    EXPECT_EQ(drawn->GetFirstNode()->GetPosition(), CPoint(2500, 6500));
}

TEST_F(CurveToolTest, CtrlTakesTheFreePointBesideANode)
{
    CCurveElement* other = AddCurve({{2000, 6000}, {6000, 6000}}, 0);
    Click(2060, 6050, Qt::ControlModifier);
    Click(4000, 8000);
    RightClick(4000, 8300);
    ASSERT_EQ(Curves().size(), 2u);
    EXPECT_NE(Curves()[1]->GetFirstNode()->GetPoint(), other->GetFirstNode()->GetPoint());
    EXPECT_EQ(Curves()[1]->GetFirstNode()->GetPosition(), CPoint(2060, 6050));
}

TEST_F(CurveToolTest, APointOnAnotherCurveLiesOnItButIsANewPoint)
{
    CCurveElement* other = AddCurve({{2000, 6000}, {6000, 6000}}, 0);
    Click(4000, 6080);
    Click(4000, 8000);
    RightClick(4000, 8300);
    ASSERT_EQ(Curves().size(), 2u);
    const CCurveNode* first = Curves()[1]->GetFirstNode();
    EXPECT_EQ(first->GetPosition(), CPoint(4000, 6000));
    EXPECT_NE(first->GetPoint(), other->GetFirstNode()->GetPoint());
    EXPECT_NE(first->GetPoint(), other->GetLastNode()->GetPoint());
}

TEST_F(CurveToolTest, UndoTakesBackTheLastPointThenTheLast)
{
    const int snapshots = doc.UndoCount();
    Play("LL");
    MoveTo(6000, 6000);
    EXPECT_TRUE(view->CanEditUndo());
    view->OnEditUndo();
    EXPECT_EQ(tool->GetPointCount(), 1);
    CCapturePointList entered;
    tool->GetEnteredPoints(entered);
    ASSERT_EQ(entered.GetCount(), 1);
    EXPECT_EQ(entered.GetHead().GetPosition(), P(0));
    EXPECT_TRUE(tool->HasPendingStep());

    view->OnEditUndo();
    EXPECT_EQ(tool->GetPointCount(), 0);
    EXPECT_FALSE(tool->HasPendingStep());
    // The document was not touched.
    EXPECT_EQ(doc.UndoCount(), snapshots);
    EXPECT_TRUE(Curves().empty());
}

TEST_F(CurveToolTest, UndoAfterFinishingRemovesTheWholeCurve)
{
    Play("LLLR");
    ASSERT_EQ(Curves().size(), 1u);
    EXPECT_FALSE(view->GetCurrentTool()->HasPendingStep());
    view->OnEditUndo();
    EXPECT_TRUE(Curves().empty());
    EXPECT_EQ(tool->IsEditing(), 0);
    // Redo brings it back.
    view->OnEditRedo();
    ASSERT_EQ(Curves().size(), 1u);
    EXPECT_EQ(Curves()[0]->GetNodeCount(), 3);
}

TEST_F(CurveToolTest, EscDropsEveryEnteredPoint)
{
    Play("LLL");
    KeyDown(Qt::Key_Escape);
    KeyUp(Qt::Key_Escape);
    EXPECT_EQ(tool->GetPointCount(), 0);
    EXPECT_FALSE(view->CanEditCancel());
    RightClick(5000, 5000);
    EXPECT_TRUE(Curves().empty());
}

TEST_F(CurveToolTest, RightClickWithOnePointDoesNothing)
{
    const int snapshots = doc.UndoCount();
    Play("LR");
    EXPECT_TRUE(Curves().empty());
    EXPECT_EQ(tool->GetPointCount(), 1);
    EXPECT_EQ(doc.UndoCount(), snapshots);
    EXPECT_EQ(tool->IsEditing(), 0);
}

TEST_F(CurveToolTest, ReturnDoesNothingWhilePointsAreEntered)
{
    Play("LL");
    Key(Qt::Key_Return);
    EXPECT_EQ(tool->GetPointCount(), 2);
    EXPECT_TRUE(Curves().empty());
}

TEST_F(CurveToolTest, SpaceZoomsWithoutLosingTheEnteredPoints)
{
    Play("LL");
    KeyDown(Qt::Key_Space);
    EXPECT_EQ(tool->IsZoomMode(), 1);
    EXPECT_EQ(view->GetStatusPrompt(), LoadResString(CVTCurve::kPromptZoom));
    EXPECT_EQ(view->GetToolCursorId(), CVTCurve::kCursorZoom);
    // Space repeats while held; the zoom mode just goes on.
    KeyDown(Qt::Key_Space);

    // Two clicks span the box the view then shows.
    Click(3000, 3000);
    EXPECT_EQ(tool->GetZoomStep(), 1);
    EXPECT_EQ(tool->GetPointCount(), 2);
    Click(5000, 4500);
    EXPECT_EQ(tool->GetZoomStep(), 0);
    EXPECT_LT(view->GetScale(), kScale);
    EXPECT_EQ(tool->GetPointCount(), 2);

    // Shift-click zooms out by 0.8 about the point; the points stay.
    const double before = view->GetScale();
    Click(4000, 4000, Qt::ShiftModifier);
    EXPECT_NEAR(view->GetScale(), before / 0.8, before * 1e-6);
    EXPECT_EQ(tool->IsZoomMode(), 1);
    EXPECT_EQ(tool->GetPointCount(), 2);

    // A right click shows the whole page.
    RightClick(4000, 4000);
    EXPECT_EQ(tool->GetPointCount(), 2);

    KeyUp(Qt::Key_Space);
    EXPECT_EQ(tool->IsZoomMode(), 0);
    EXPECT_EQ(view->GetStatusPrompt(), LoadResString(CVTCurve::kPromptEntry));
    EXPECT_EQ(view->GetToolCursorId(), CVTCurve::kCursorSmooth);
    // Back at a scale where a click lands on a whole page point.
    view->SetViewTransform(kScale, 0, 0);
    Click(P(2).x, P(2).y);
    RightClick(P(2).x, P(2).y + 500);
    ASSERT_EQ(Curves().size(), 1u);
    EXPECT_EQ(Positions(Curves()[0]), (std::vector<CPoint>{P(0), P(1), P(2)}));
}

TEST_F(CurveToolTest, PreviewRunsThroughTheEnteredPointsToTheCursor)
{
    Play("LLL");
    MoveTo(6000, 3000);
    CPointList preview;
    tool->GetPolyline(preview);
    ASSERT_FALSE(preview.IsEmpty());
    EXPECT_EQ(preview.GetHead(), P(0));
    EXPECT_EQ(preview.GetTail(), CPoint(6000, 3000));
    CList<int> flags;
    tool->GetSmoothFlags(flags);
    EXPECT_EQ(flags.GetCount(), 4);
    EXPECT_EQ(flags.GetTail(), 1);

    // The preview is drawn in the prompt colour through every point.
    const QImage image = RenderView();
    const QRgb prompt = qRgb(255, 0, 0);
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(ColourNear(image, P(i).x, P(i).y, prompt)) << i;
    EXPECT_TRUE(ColourNear(image, 6000, 3000, prompt));
}

TEST_F(CurveToolTest, TheCurveOnThePagePassesThroughItsNodes)
{
    Play("LLLLR");
    RightClick(5000, 9000);
    ASSERT_EQ(Curves().size(), 1u);
    const QImage image = RenderPage();
    for (const CPoint& p : Positions(Curves()[0])) EXPECT_TRUE(DarkNear(image, p.x, p.y)) << p.x;
    // The inner points are smooth: the line bends through them instead of
    // running along the chords, and it is drawn where its outline runs.
    CPointList outline;
    Curves()[0]->GetOutlinePoints(outline);
    EXPECT_GT(outline.GetCount(), 20);
    int index = 0;
    for (const CPoint& p : outline)
        if (index++ % 7 == 0) EXPECT_TRUE(DarkNear(image, p.x, p.y)) << p.x << "," << p.y;
    // A quarter of the way from the second to the third point the curve
    // lies off the chord.
    const CPoint quarter((3 * P(1).x + P(2).x) / 4, (3 * P(1).y + P(2).y) / 4);
    double nearest = 1e9;
    for (const CPoint& p : outline) nearest = std::min(nearest, Distance(p, quarter));
    EXPECT_GT(nearest, 25.0);
}

TEST_F(CurveToolTest, SymmetricDrawingReadsTheEntryAndTheEditing)
{
    auto* owner = Tool<CVTSymmetricDraw>(CVEKView::kSymmetricDrawTool);
    ASSERT_NE(owner, nullptr);
    CVTCurve sub(view.get(), owner, 1);
    EXPECT_EQ(sub.GetOwner(), owner);
    EXPECT_EQ(sub.IsSubTool(), 1);
    sub.OnLButtonDown(0, 2000, 2000);
    sub.OnLButtonDown(0, 3000, 3000);
    sub.OnMouseMove(0, 4000, 2000);
    EXPECT_EQ(sub.GetPointCount(), 2);
    CCapturePointList entered;
    sub.GetEnteredPoints(entered);
    EXPECT_EQ(entered.GetCount(), 3);
    CCurveNodeList nodes;
    EXPECT_EQ(sub.GetCurveNodes(nodes), 0);
    EXPECT_EQ(sub.IsCurveModified(), 0);

    sub.OnRButtonDown(0, 4000, 2000);
    ASSERT_EQ(sub.IsEditing(), 1);
    EXPECT_EQ(sub.GetCurveNodes(nodes), 1);
    EXPECT_EQ(nodes.GetCount(), 2);
    CPointList shown;
    sub.GetPolyline(shown);
    EXPECT_EQ(shown.GetHead(), CPoint(2000, 2000));
    EXPECT_EQ(shown.GetTail(), CPoint(3000, 3000));

    // Delete of a node of a two-node curve removes it: the owner hears.
    int removed = 0;
    sub.SetSubToolDeleteHandler([&] { ++removed; });
    sub.OnMouseMove(0, 2000, 2000);
    sub.OnDeleteDown();
    EXPECT_EQ(removed, 1);
    EXPECT_EQ(sub.IsEditing(), 0);
    EXPECT_EQ(sub.GetCreatedCurve(), nullptr);
}

TEST_F(CurveToolTest, SwitchingToolsDropsTheEntry)
{
    Play("LL");
    SelectTool(CVEKView::kFreehandTool);
    SelectTool(CVEKView::kCurveTool);
    EXPECT_EQ(tool->GetPointCount(), 0);
    EXPECT_EQ(view->GetToolCursorId(), CVTCurve::kCursorSmooth);
}

TEST_F(CurveToolTest, WithValueDialogsAPointOnACurveIsPlacedByTheTypedRatio)
{
    AddCurve({{2000, 6000}, {6000, 6000}}, 0);
    Settings().m_bValueDialogs = 1;
    bool prompted = false;
    QTimer::singleShot(0, [&] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* dialog = qobject_cast<CPointOnCurveDlg*>(w);
            if (!dialog || !dialog->isVisible()) continue;
            prompted = true;
            // Measured from the nearer end, a quarter of the way along.
            EXPECT_EQ(dialog->GetLength(), 1500);
            dialog->RatioButton()->setChecked(true);
            dialog->RatioEdit()->setText(QStringLiteral("0.25"));
            Q_EMIT dialog->RatioEdit()->textEdited(dialog->RatioEdit()->text());
            dialog->accept();
        }
    });
    Click(3500, 6050);
    EXPECT_TRUE(prompted);
    EXPECT_EQ(Settings().m_nPointPositionMode, 1);
    Settings().m_bValueDialogs = 0;
    Click(3000, 8000);
    RightClick(3000, 8500);
    ASSERT_EQ(Curves().size(), 2u);
    EXPECT_EQ(Curves()[1]->GetFirstNode()->GetPosition(), CPoint(3000, 6000));
}

TEST_F(CurveToolTest, ThePointPositionPromptRefusesARatioOutsideTheCurve)
{
    CCurveElement* line = AddCurve({{2000, 6000}, {6000, 6000}}, 0);
    MoveTo(3000, 6050);
    CPointList outline;
    line->GetOutlinePoints(outline);
    CPointOnCurveDlg dialog(*tool, outline, 1000, CPoint(2000, 6000));
    dialog.RatioButton()->setChecked(true);
    for (const char* text : {"1.5", "-0.1", "", "x"}) {
        dialog.RatioEdit()->setText(QString::fromLatin1(text));
        dialog.accept();
        EXPECT_NE(dialog.result(), QDialog::Accepted) << text;
    }
    // The other end: the same point, measured from there.
    dialog.OtherEndBox()->setChecked(true);
    EXPECT_EQ(dialog.GetLength(), 3000);
    EXPECT_EQ(dialog.GetPoint(), CPoint(3000, 6000));
    // A typed length in the work unit (centimetres) moves the tool's point.
    dialog.LengthButton()->setChecked(true);
    dialog.LengthEdit()->setText(QStringLiteral("1"));
    Q_EMIT dialog.LengthEdit()->textEdited(dialog.LengthEdit()->text());
    EXPECT_EQ(dialog.GetPoint(), CPoint(5000, 6000));
    CCapturePointList entered;
    tool->GetEnteredPoints(entered);
    ASSERT_FALSE(entered.IsEmpty());
    EXPECT_EQ(entered.GetTail().GetPosition(), CPoint(5000, 6000));
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}
