// The gradient editors, driven through the view as the user drives them:
// a handle is grabbed by one click and dropped by the next, two clicks on
// the page draw a new gradient line, and each finished action is one undo
// step.
#include "tests/editors/FillTestSupport.h"

#include "editors/CVTFillConical.h"
#include "editors/CVTFillGradient.h"
#include "editors/CVTFillLinear.h"
#include "editors/CVTFillRadial.h"
#include "editors/CVTFillSquare.h"

#include <cmath>

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kGuide = RGB(0, 255, 0);

class GradientEditorTest : public FillViewFixture {
protected:
    void SetUp() override
    {
        FillViewFixture::SetUp();
        Settings().m_crGradientStart = kRed;
        Settings().m_crGradientEnd = kBlue;
        Settings().m_crPromptColor2 = kGuide;
        // Bounds (1000, 1000, 8000, 6000): centre (4500, 3500).
        curve = AddBox(1000, 1000, 7999, 5999);
        PickAt(4500, 2000);
    }
    CVTFillGradient* Editor() { return dynamic_cast<CVTFillGradient*>(fill->GetEditor(curve->GetFillKind())); }
    // Grabs the handle at `from` and drops it at `to`, the mouse moving
    // between the clicks.
    void Drag(CPoint from, CPoint to)
    {
        Click(from.x, from.y);
        MoveTo((from.x + to.x) / 2, (from.y + to.y) / 2);
        Click(to.x, to.y);
    }

    CClosedCurveElement* curve = nullptr;
};

TEST_F(GradientEditorTest, LinearHandlesAreGrabbedByOneClickAndDroppedByTheNext)
{
    ChooseKind(FILL_LINEAR);
    ASSERT_EQ(curve->GetGradientStart(), CPoint(1000, 3500));
    ASSERT_EQ(curve->GetGradientEnd(), CPoint(8000, 3500));
    const int steps = doc.UndoCount();

    // Over the start handle.
    MoveTo(1030, 3520);
    EXPECT_EQ(Editor()->GetMode(), CVTFillGradient::kOverA);
    EXPECT_EQ(view->GetStatusPrompt(), LoadResString(CVTFillLinear::kPromptStart));
    EXPECT_EQ(view->GetToolCursorId(), CVTFillEditor::kCursorHandle);
    Click(1030, 3520);
    EXPECT_TRUE(view->CanEditCancel());
    MoveTo(2000, 2000);
    // The curve waits for the drop; the guide follows the mouse.
    EXPECT_EQ(curve->GetGradientStart(), CPoint(1000, 3500));
    EXPECT_TRUE(ColourNear(RenderView(), 3500, 2375, 0xFF00FF00, 1));
    Click(2000, 2000);
    EXPECT_FALSE(view->CanEditCancel());
    EXPECT_EQ(curve->GetGradientStart(), CPoint(2000, 2000));
    EXPECT_EQ(curve->GetGradientEnd(), CPoint(8000, 3500));
    EXPECT_EQ(doc.UndoCount(), steps + 1);

    Drag(CPoint(8000, 3500), CPoint(7000, 5000));
    EXPECT_EQ(curve->GetGradientEnd(), CPoint(7000, 5000));
    EXPECT_EQ(doc.UndoCount(), steps + 2);

    // The end colours lie at the handles.
    const QImage page = RenderPage();
    EXPECT_TRUE(Near(PixelOfPage(page, 2100, 2060), Rgb(kRed), 12));
    EXPECT_TRUE(Near(PixelOfPage(page, 6900, 4940), Rgb(kBlue), 12));

    view->OnEditUndo();
    EXPECT_EQ(ClosedAt(0)->GetGradientEnd(), CPoint(8000, 3500));
    EXPECT_EQ(ClosedAt(0)->GetGradientStart(), CPoint(2000, 2000));
    view->OnEditUndo();
    EXPECT_EQ(ClosedAt(0)->GetGradientStart(), CPoint(1000, 3500));
}

TEST_F(GradientEditorTest, TheMiddleHandleSetsTheBlendWhereItIsDropped)
{
    struct Case {
        int kind;
        CPoint drop;
        double blend;
    };
    // Start (2000, 3000); the other end (3000, 3000): the linear end, the
    // circular and square centre.
    const Case cases[] = {
        {FILL_LINEAR, {2250, 3300}, 0.25}, {FILL_LINEAR, {1900, 3000}, 0.1},
        {FILL_LINEAR, {3200, 3000}, 0.9},  {FILL_CIRCULAR, {2250, 3300}, 0.25},
        {FILL_CIRCULAR, {1900, 3000}, 0.0}, {FILL_CIRCULAR, {3200, 3000}, 1.0},
        {FILL_SQUARE, {2750, 2700}, 0.75},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.kind << " " << c.drop.x << "," << c.drop.y);
        ChooseKind(c.kind);
        curve->SetGradientStart(CPoint(2000, 3000));
        curve->SetGradientEnd(CPoint(3000, 3000));
        curve->SetGradientCenter(3000, 3000);
        curve->SetBlendPosition(0.5);
        const double angle = curve->GetFillAngle();
        const int steps = doc.UndoCount();
        MoveTo(2500, 3000);
        EXPECT_EQ(Editor()->GetMode(), CVTFillGradient::kOverMiddle);
        Drag(CPoint(2500, 3000), c.drop);
        EXPECT_DOUBLE_EQ(curve->GetBlendPosition(), c.blend);
        EXPECT_EQ(curve->GetGradientStart(), CPoint(2000, 3000));
        EXPECT_DOUBLE_EQ(curve->GetFillAngle(), angle);
        EXPECT_EQ(doc.UndoCount(), std::min(steps + 1, CVEKDoc::kUndoDepth));
    }
}

TEST_F(GradientEditorTest, TwoClicksOnThePageDrawANewLine)
{
    ChooseKind(FILL_LINEAR);
    const int steps = doc.UndoCount();
    // Inside the curve, away from the handles.
    Click(3000, 2000);
    EXPECT_EQ(Editor()->GetMode(), CVTFillGradient::kNewLine);
    // The same point again gives the line no direction: refused, the line
    // still waits for its end.
    Click(3000, 2000);
    EXPECT_EQ(Editor()->GetMode(), CVTFillGradient::kNewLine);
    EXPECT_EQ(doc.UndoCount(), steps);
    Click(6000, 5000);
    EXPECT_EQ(curve->GetGradientStart(), CPoint(3000, 2000));
    EXPECT_EQ(curve->GetGradientEnd(), CPoint(6000, 5000));
    EXPECT_EQ(doc.UndoCount(), steps + 1);

    // On the empty page too, and the curve stays picked.
    Click(8500, 6500);
    Click(500, 500);
    EXPECT_EQ(fill->GetPickedCurve(), curve);
    EXPECT_EQ(curve->GetGradientStart(), CPoint(8500, 6500));
    EXPECT_EQ(curve->GetGradientEnd(), CPoint(500, 500));

    // A circular gradient: the first click is the centre; a second click on
    // it is ignored.
    ChooseKind(FILL_CIRCULAR);
    Click(4000, 3000);
    Click(4000, 3000);
    EXPECT_EQ(Editor()->GetMode(), CVTFillGradient::kNewLine);
    Click(5000, 3000);
    EXPECT_EQ(curve->GetGradientCenter(), CPoint(4000, 3000));
    EXPECT_EQ(curve->GetGradientStart(), CPoint(5000, 3000));
}

TEST_F(GradientEditorTest, AHandleDroppedOnTheOtherEndIsRefused)
{
    ChooseKind(FILL_LINEAR);
    const int steps = doc.UndoCount();
    Click(8000, 3500);
    Click(1000, 3500);
    EXPECT_EQ(Editor()->GetMode(), CVTFillGradient::kMovingB);
    EXPECT_EQ(curve->GetGradientEnd(), CPoint(8000, 3500));
    EXPECT_EQ(doc.UndoCount(), steps);
    Click(1010, 3500);
    EXPECT_EQ(curve->GetGradientEnd(), CPoint(1010, 3500));

    ChooseKind(FILL_CIRCULAR);
    const CPoint start = curve->GetGradientStart();
    Drag(CPoint(4500, 3500), start);
    EXPECT_EQ(Editor()->GetMode(), CVTFillGradient::kMovingA);
    EXPECT_EQ(curve->GetGradientCenter(), CPoint(4500, 3500));
}

TEST_F(GradientEditorTest, UndoOrCancelDuringAnActionChangeNothing)
{
    for (int kind : {FILL_LINEAR, FILL_CIRCULAR, FILL_CONICAL, FILL_SQUARE}) {
        SCOPED_TRACE(kind);
        ChooseKind(kind);
        doc.SetModifiedFlag(false);
        const std::string before = Record(curve);
        const int steps = doc.UndoCount();

        Click(4500, 3500);  // every kind has a handle at the centre or apex
        MoveTo(5000, 4000);
        ASSERT_TRUE(view->CanEditCancel());
        view->OnEditUndo();
        EXPECT_FALSE(view->CanEditCancel());
        Click(3000, 2000);  // a new line begins
        MoveTo(5000, 4000);
        ASSERT_TRUE(view->CanEditCancel());
        Key(Qt::Key_Escape);
        EXPECT_FALSE(view->CanEditCancel());

        EXPECT_EQ(Record(curve), before);
        EXPECT_EQ(doc.UndoCount(), steps);
        EXPECT_FALSE(doc.IsModified());
    }
}

TEST_F(GradientEditorTest, FromAHandleOntoTheOutlineTheHandleStaysUnderTheMouse)
{
    ChooseKind(FILL_LINEAR);
    // The start handle lies on the left edge of the curve.
    MoveTo(1000, 3500);
    EXPECT_EQ(Editor()->GetMode(), CVTFillGradient::kOverA);
    MoveTo(1000, 4500);
    EXPECT_EQ(Editor()->GetMode(), CVTFillGradient::kOverA);
    Click(1000, 4500);
    EXPECT_EQ(Editor()->GetMode(), CVTFillGradient::kMovingA);
    // Inside the curve, away from the outline: over nothing.
    Key(Qt::Key_Escape);
    MoveTo(3000, 2000);
    EXPECT_EQ(Editor()->GetMode(), CVTFillGradient::kIdle);
    EXPECT_EQ(view->GetStatusPrompt(), LoadResString(CVTFillEditor::kPromptIdle));
}

// The conical gradient keeps its start point opposite its end point
// through the apex, and the start colour where the start point is.
TEST_F(GradientEditorTest, ConicalHandlesKeepStartAndEndOpposite)
{
    ChooseKind(FILL_CONICAL);
    const int steps = doc.UndoCount();

    // A new line: apex, then the end point; the start lies opposite.
    Click(4000, 3000);
    Click(4000, 5000);
    EXPECT_EQ(curve->GetGradientCenter(), CPoint(4000, 3000));
    EXPECT_EQ(curve->GetGradientEnd(), CPoint(4000, 5000));
    EXPECT_EQ(curve->GetGradientStart(), CPoint(4000, 1000));
    EXPECT_DOUBLE_EQ(curve->GetFillAngle(), 270.0);
    EXPECT_EQ(doc.UndoCount(), steps + 1);
    QImage page = RenderPage();
    EXPECT_TRUE(Near(PixelOfPage(page, 4000, 1500), Rgb(kRed), 12));
    EXPECT_TRUE(Near(PixelOfPage(page, 4000, 4500), Rgb(kBlue), 12));

    // The start point turned a quarter: the end follows, so does the angle.
    Drag(CPoint(4000, 1000), CPoint(6000, 3000));
    EXPECT_EQ(curve->GetGradientStart(), CPoint(6000, 3000));
    EXPECT_EQ(curve->GetGradientEnd(), CPoint(2000, 3000));
    EXPECT_DOUBLE_EQ(curve->GetFillAngle(), 0.0);
    // And the end point.
    Drag(CPoint(2000, 3000), CPoint(4000, 1000));
    EXPECT_EQ(curve->GetGradientStart(), CPoint(4000, 5000));
    EXPECT_DOUBLE_EQ(curve->GetFillAngle(), 90.0);

    // The middle handle: a quarter turn from the start is a blend of 0.5
    // either way round.
    curve->SetBlendPosition(0.25);
    const CPoint middle = CVTFillConical::MiddlePoint(curve->GetGradientStart(), CPoint(4000, 3000), 0.25);
    Drag(middle, CPoint(2000, 3000));
    EXPECT_NEAR(curve->GetBlendPosition(), 0.5, 1e-9);

    // The apex moved: the handles keep their distance and direction.
    Drag(CPoint(4000, 3000), CPoint(4500, 3500));
    EXPECT_EQ(curve->GetGradientCenter(), CPoint(4500, 3500));
    EXPECT_EQ(curve->GetGradientStart(), CPoint(4500, 5500));
    EXPECT_EQ(curve->GetGradientEnd(), CPoint(4500, 1500));
    page = RenderPage();
    EXPECT_TRUE(Near(PixelOfPage(page, 4500, 5000), Rgb(kRed), 12));
    EXPECT_TRUE(Near(PixelOfPage(page, 4500, 2000), Rgb(kBlue), 12));
}

TEST_F(GradientEditorTest, TheSquareTurnsToFaceItsStartPoint)
{
    ChooseKind(FILL_SQUARE);
    Drag(CPoint(8000, 3500), CPoint(4500, 1500));
    EXPECT_EQ(curve->GetGradientStart(), CPoint(4500, 1500));
    EXPECT_DOUBLE_EQ(curve->GetFillAngle(), 270.0);
    Drag(CPoint(4500, 3500), CPoint(2500, 3500));
    EXPECT_EQ(curve->GetGradientCenter(), CPoint(2500, 3500));
    EXPECT_NEAR(curve->GetFillAngle(), 315.0, 1e-9);
}

// The guide of each editor shows over the page in the second prompt
// colour, and not on the page itself.
TEST_F(GradientEditorTest, EachEditorDrawsItsGuide)
{
    struct Case {
        int kind;
        CPoint onGuide;
    };
    // Linear: the line across; circular and square: centre to rim;
    // conical: the half circle from the start point (right) over the top
    // of the screen to the end point.
    const Case cases[] = {{FILL_LINEAR, {3000, 3500}},
                          {FILL_CIRCULAR, {6500, 3500}},
                          {FILL_SQUARE, {6500, 3500}},
                          {FILL_CONICAL, {6975, 1025}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        ChooseKind(c.kind);
        MoveTo(3000, 5000);
        EXPECT_TRUE(ColourNear(RenderView(), c.onGuide.x, c.onGuide.y, 0xFF00FF00, 1));
        EXPECT_FALSE(ColourNear(RenderPage(), c.onGuide.x, c.onGuide.y, 0xFF00FF00, 1));
    }
}

} // namespace
