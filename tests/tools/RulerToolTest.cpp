#include "tests/tools/ShapeTestSupport.h"

#include "tools/CVTRuler.h"
#include "ui/CLengthDlg.h"
#include "ui/CPointOnCurveDlg.h"

#include "geometry/WorkUnits.h"

#include <QCheckBox>

#include <cmath>
#include <cstdlib>
#include <string>

namespace {

class RulerToolTest : public ShapeToolFixture {
protected:
    void SetUp() override
    {
        ShapeToolFixture::SetUp();
        SelectTool(CVEKView::kRulerTool);
        tool = Tool<CVTRuler>(CVEKView::kRulerTool);
        ASSERT_NE(tool, nullptr);
    }

    CVTRuler* tool = nullptr;
};

} // namespace

TEST_F(RulerToolTest, TwoClicksMakeAStraightLine)
{
    Settings().m_crLineColor = RGB(0, 0, 200);
    Click(1000, 1000);
    EXPECT_TRUE(tool->HasPendingStep());
    Click(4000, 3000);
    ASSERT_EQ(Curves().size(), 1u);
    CCurveElement* line = Curves()[0];
    EXPECT_FALSE(line->IsClosed());
    EXPECT_EQ(Positions(line), (std::vector<CPoint>{{1000, 1000}, {4000, 3000}}));
    EXPECT_EQ(Kinds(line), (std::vector<int>{NODE_CORNER, NODE_CORNER}));
    EXPECT_EQ(line->GetColor(), RGB(0, 0, 200));
    int sk, ss, ek, es;
    double sa, ea;
    static_cast<COpenCurveElement*>(line)->GetArrowHeads(sk, ss, sa, ek, es, ea);
    EXPECT_EQ(sk, 0);
    EXPECT_EQ(ek, 0);
    EXPECT_EQ(ss, Settings().m_nStartArrowSize);
    EXPECT_EQ(tool->GetLastElement(), line);
    EXPECT_EQ(doc.UndoCount(), 1);
    EXPECT_FALSE(tool->HasPendingStep());
}

TEST_F(RulerToolTest, TheLineWearsTheChosenArrowheads)
{
    const ArrowChoice arrows;
    arrows.Choose();
    Click(1000, 1000);
    Click(4000, 3000);
    ASSERT_EQ(Curves().size(), 1u);
    arrows.ExpectOn(Curves()[0]);
}

TEST_F(RulerToolTest, StartSharesACapturedNodeTheEndNever)
{
    CCurveElement* a = AddCurve({{1000, 1000}, {1000, 5000}}, 0);
    CCurveElement* b = AddCurve({{6000, 1000}, {6000, 5000}}, 0);
    Click(1030, 1040);
    Click(6040, 1020);
    ASSERT_EQ(Curves().size(), 3u);
    CCurveElement* line = Curves()[2];
    EXPECT_EQ(Positions(line), (std::vector<CPoint>{{1000, 1000}, {6000, 1000}}));
    EXPECT_EQ(line->GetFirstNode()->GetPoint(), a->GetFirstNode()->GetPoint());
    EXPECT_NE(line->GetLastNode()->GetPoint(), b->GetFirstNode()->GetPoint());
}

TEST_F(RulerToolTest, ShiftKeepsTo45Degrees)
{
    struct Case {
        CPoint mouse;
        CPoint end;
    };
    const Case cases[] = {
        {{3000, 1350}, {3000, 1000}},  // 10 degrees: level
        {{3000, 2150}, {2575, 2575}},  // 30 degrees: the foot on the diagonal
        {{1200, 3000}, {1000, 3000}},  // plumb
    };
    for (const Case& c : cases) {
        Click(1000, 1000);
        KeyDown(Qt::Key_Shift, Qt::ShiftModifier);
        EXPECT_EQ(view->GetToolCursorId(), CVTRuler::kCursorConstrained);
        Click(c.mouse.x, c.mouse.y, Qt::ShiftModifier);
        KeyUp(Qt::Key_Shift);
        ASSERT_FALSE(Curves().empty());
        EXPECT_EQ(Positions(Curves().back())[1], c.end);
    }
}

TEST_F(RulerToolTest, ShiftSnapsTheEndToACrossingButNotWithCtrl)
{
    AddCurve({{4000, 0}, {4000, 6000}}, 0);
    Click(1000, 2000);
    // Level line to 4100: the curve at x = 4000 lies within 150 units.
    MoveTo(4100, 2040, Qt::ShiftModifier);
    EXPECT_TRUE(tool->IsOnCrossing());
    Click(4100, 2040, Qt::ShiftModifier | Qt::ControlModifier);
    ASSERT_EQ(Curves().size(), 2u);
    EXPECT_EQ(Positions(Curves()[1])[1], CPoint(4100, 2000)) << "Ctrl: no crossing";
    Click(1000, 2000);
    Click(4100, 2040, Qt::ShiftModifier);
    ASSERT_EQ(Curves().size(), 3u);
    EXPECT_EQ(Positions(Curves()[2])[1], CPoint(4000, 2000));
}

TEST_F(RulerToolTest, LengthTextIsTheRoundedDistance)
{
    Click(1000, 1000);
    MoveTo(2500, 1000);
    ASSERT_EQ(tool->GetPrompts().GetCount(), 1);
    EXPECT_EQ(tool->GetPrompts().GetHead().text, "Length=1.5cm");
    EXPECT_EQ(tool->GetPrompts().GetHead().x, 2500 + 280);
    CPoint start, end;
    EXPECT_EQ(tool->GetLinePoints(start, end), 1);
    EXPECT_EQ(start, CPoint(1000, 1000));
    EXPECT_EQ(end, CPoint(2500, 1000));
}

TEST_F(RulerToolTest, SecondClickOnTheStartWaitsForAnotherEnd)
{
    Click(1000, 1000);
    Click(1000, 1000);
    EXPECT_TRUE(Curves().empty());
    EXPECT_TRUE(tool->HasPendingStep());
    EXPECT_EQ(doc.UndoCount(), 0);
    Click(2000, 1000);
    EXPECT_EQ(Curves().size(), 1u);
}

TEST_F(RulerToolTest, TypedLengthAlongTheMouseDirection)
{
    Settings().m_bValueDialogs = 1;
    bool seen = false;
    CPoint previewEnd;
    WhenModal<CLengthDlg>(
        [&](CLengthDlg& dialog) {
            EXPECT_EQ(dialog.windowTitle(), QStringLiteral("长度"));
            EXPECT_EQ(dialog.ValueEdit()->text(), QStringLiteral("5"));
            Type(dialog.ValueEdit(), QStringLiteral("10"));
            CPoint start;
            tool->GetLinePoints(start, previewEnd);
            dialog.accept();
        },
        &seen);
    Click(1000, 1000);
    Click(4000, 5000);  // a 3-4-5 direction
    ASSERT_TRUE(seen);
    EXPECT_EQ(previewEnd, CPoint(7000, 9000));
    ASSERT_EQ(Curves().size(), 1u);
    EXPECT_EQ(Positions(Curves()[0])[1], CPoint(7000, 9000));
    EXPECT_EQ(doc.UndoCount(), 1);
}

TEST_F(RulerToolTest, CancelledLengthTakesNoUndoStep)
{
    Settings().m_bValueDialogs = 1;
    const int undo = doc.UndoCount();
    const bool modified = doc.IsModified();
    bool seen = false;
    WhenModal<CLengthDlg>([](CLengthDlg& dialog) { dialog.reject(); }, &seen);
    Click(1000, 1000);
    Click(4000, 5000);
    ASSERT_TRUE(seen);
    EXPECT_TRUE(Curves().empty());
    EXPECT_EQ(doc.UndoCount(), undo);
    EXPECT_EQ(doc.IsModified(), modified);
    // The start stays: the next click asks again.
    EXPECT_TRUE(tool->HasPendingStep());
    WhenModal<CLengthDlg>([](CLengthDlg& dialog) { dialog.accept(); }, &seen);
    Click(2000, 1000);
    EXPECT_TRUE(seen);
    EXPECT_EQ(Curves().size(), 1u);
    EXPECT_EQ(doc.UndoCount(), undo + 1);
}

TEST_F(RulerToolTest, TypedLengthFromTheStartItselfGoesRight)
{
    Settings().m_bValueDialogs = 1;
    bool seen = false;
    WhenModal<CLengthDlg>(
        [&](CLengthDlg& dialog) {
            EXPECT_EQ(dialog.ValueEdit()->text(), QStringLiteral("0"));
            Type(dialog.ValueEdit(), QStringLiteral("2"));
            dialog.accept();
        },
        &seen);
    Click(1000, 1000);
    Click(1000, 1000);
    ASSERT_TRUE(seen);
    ASSERT_EQ(Curves().size(), 1u);
    EXPECT_EQ(Positions(Curves()[0])[1], CPoint(3000, 1000));
}

TEST_F(RulerToolTest, CrossingEndNeedsNoTypedLength)
{
    // The mouse stays clear of the curve; the level line's end lies on it.
    AddCurve({{3000, 1500}, {5000, 2500}}, 0);
    Settings().m_bValueDialogs = 1;
    Click(1000, 2000);
    bool prompted = false;
    WatchForDialog(&prompted);
    Click(4000, 2700, Qt::ShiftModifier);
    QApplication::processEvents();
    EXPECT_FALSE(prompted);
    ASSERT_EQ(Curves().size(), 2u);
    EXPECT_EQ(Positions(Curves()[1])[1], CPoint(4000, 2000));
}

TEST_F(RulerToolTest, LineInProgressIsDrawnToItsLastPixel)
{
    Click(1000, 1000);
    MoveTo(3000, 1000);
    const QImage image = RenderView();
    const QRgb prompt = qRgb(255, 0, 0);
    EXPECT_TRUE(ColourNear(image, 2000, 1000, prompt, 0));
    EXPECT_TRUE(ColourNear(image, 3000, 1000, prompt, 0));
    EXPECT_FALSE(ColourNear(image, 2000, 1300, prompt, 2));
}

TEST_F(RulerToolTest, LastElementIsClearedEvenByARefusedClick)
{
    std::vector<CCurveElement*> completed;
    tool->SetCompletionHandler([&](CCurveElement* c) { completed.push_back(c); });
    Click(1000, 1000);
    Click(3000, 1000);
    ASSERT_NE(tool->GetLastElement(), nullptr);
    ASSERT_EQ(completed.size(), 1u);
    AddCurve({{5000, 0}, {5000, 6000}}, 0);
    Settings().m_bValueDialogs = 1;
    Click(1000, 3000);
    bool seen = false;
    WhenModal<CPointOnCurveDlg>([](CPointOnCurveDlg& dialog) { dialog.reject(); }, &seen);
    Click(5030, 3000);  // a point on the curve, whose position prompt is cancelled
    ASSERT_TRUE(seen);
    EXPECT_EQ(tool->GetLastElement(), nullptr) << "an owner must not mirror the earlier line again";
    EXPECT_EQ(Curves().size(), 2u);
    EXPECT_EQ(completed.size(), 1u);
}

namespace {

// The length the tool shows beside the cursor ("L=..."), as the user reads
// it, against what the point-position dialog shows.
void ExpectLabelsAgree(const CVTRuler& tool, const CPointOnCurveDlg& dialog)
{
    const CMeasurePromptList& prompts = tool.GetPrompts();
    ASSERT_EQ(prompts.GetCount(), 2);
    const std::string length = prompts.GetHead().text;
    ASSERT_EQ(length.rfind("L=", 0), 0u) << length;
    EXPECT_DOUBLE_EQ(std::stod(length.substr(2)), dialog.LengthEdit()->text().toDouble()) << length;
    EXPECT_EQ(prompts.GetTail().text, "P=" + dialog.RatioEdit()->text().toStdString());
}

} // namespace

// A closed curve's two ends are one point: measuring from "the other end"
// runs round the other way from the same corner, on the page as in the
// dialog, and the point taken is the one the dialog shows.
TEST_F(RulerToolTest, OnAClosedCurveThePageMeasuresAsThePointPromptDoes)
{
    Settings().m_nWorkUnit = kWorkUnitMillimetre;
    Settings().m_nPointPositionMode = 0;
    // Perimeter 14000 (140 mm).
    CCurveElement* square = AddCurve({{1000, 1000}, {5000, 1000}, {5000, 4000}, {1000, 4000}}, 1);
    Settings().m_bValueDialogs = 1;
    struct Case {
        CPoint click;
        CPoint point;
        QString before;  // the length shown at opening
        QString after;   // and from the other end
    };
    const Case cases[] = {
        {{2000, 1030}, {2000, 1000}, QStringLiteral("10"), QStringLiteral("130")},
        // Past half way round: still measured from the first corner onward.
        {{1030, 2000}, {1000, 2000}, QStringLiteral("130"), QStringLiteral("10")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.click.x);
        bool seen = false;
        WhenModal<CPointOnCurveDlg>(
            [&](CPointOnCurveDlg& dialog) {
                EXPECT_EQ(dialog.LengthEdit()->text().toDouble(), c.before.toDouble());
                ExpectLabelsAgree(*tool, dialog);
                EXPECT_EQ(tool->GetCapturedNode(), square->GetFirstNode());
                dialog.OtherEndBox()->click();
                EXPECT_EQ(dialog.LengthEdit()->text().toDouble(), c.after.toDouble());
                ExpectLabelsAgree(*tool, dialog);
                // The mark stays on the corner the dialog measures from.
                EXPECT_EQ(tool->GetCapturedNode(), square->GetFirstNode());
                dialog.accept();
            },
            &seen);
        Click(c.click.x, c.click.y);
        ASSERT_TRUE(seen);
        ASSERT_TRUE(tool->HasPendingStep());
        EXPECT_EQ(tool->GetCapturePoint().GetPosition(), c.point);
        view->OnEditCancel();
    }
}

// Cancelling the point prompt takes its marks, the curve's highlight and
// the "L=" and "P=" labels off the page at once.
TEST_F(RulerToolTest, ACancelledPointPromptLeavesNoFeedback)
{
    const QRgb label = qRgb(0, 160, 0);
    Settings().m_crDimensionPromptColor = RGB(0, 160, 0);
    const QRgb highlight = qRgb(255, 0, 0);  // the first prompt colour
    AddCurve({{5000, 0}, {5000, 6000}}, 0);
    Settings().m_bValueDialogs = 1;
    QImage during;
    bool seen = false;
    WhenModal<CPointOnCurveDlg>(
        [&](CPointOnCurveDlg& dialog) {
            during = RenderView();
            dialog.reject();
        },
        &seen);
    Click(5030, 3000);
    ASSERT_TRUE(seen);
    EXPECT_GT(CountColour(during, label), 20);
    EXPECT_TRUE(ColourNear(during, 5000, 1000, highlight));
    const QImage after = RenderView();
    EXPECT_EQ(CountColour(after, label), 0);
    EXPECT_FALSE(ColourNear(after, 5000, 1000, highlight));
    EXPECT_FALSE(ColourNear(after, 5000, 3000, highlight, 6));
}
