#include "tests/tools/ShapeTestSupport.h"

#include "tools/CVTOffsetLine.h"
#include "ui/CLengthDlg.h"

#include <cmath>

namespace {

class OffsetLineToolTest : public ShapeToolFixture {
protected:
    void SetUp() override
    {
        ShapeToolFixture::SetUp();
        SelectTool(CVEKView::kOffsetLineTool);
        tool = Tool<CVTOffsetLine>(CVEKView::kOffsetLineTool);
        ASSERT_NE(tool, nullptr);
    }

    // A line along y = 3000 from x = 2000 to 6000, red, with arrowheads.
    COpenCurveElement* AddArrowLine()
    {
        auto* line = static_cast<COpenCurveElement*>(AddCurve({{2000, 3000}, {6000, 3000}}, 0));
        line->SetColor(RGB(200, 0, 0));
        line->SetStartArrowKind(1);
        line->SetEndArrowKind(2);
        line->SetEndArrowSize(400);
        return line;
    }
    void MoveCopyMode()
    {
        Shift();
        ASSERT_TRUE(tool->IsMoveCopyMode());
    }

    CVTOffsetLine* tool = nullptr;
};

} // namespace

TEST_F(OffsetLineToolTest, OffsetLineOnTheSideOfTheMouse)
{
    COpenCurveElement* line = AddArrowLine();
    Settings().m_nCurLineType = 1;
    MoveTo(4000, 3050);
    EXPECT_EQ(tool->GetCurve(), line) << "the curve under the cursor";
    Click(4000, 3050);
    EXPECT_TRUE(tool->IsPicked());
    EXPECT_TRUE(tool->HasPendingStep());
    MoveTo(4000, 3300);
    EXPECT_EQ(tool->GetDistance(), -300);
    ASSERT_EQ(tool->GetPreviews().size(), 1u);
    Click(4000, 3300);
    ASSERT_EQ(Curves().size(), 2u);
    CCurveElement* offset = Curves()[1];
    EXPECT_FALSE(offset->IsClosed());
    EXPECT_EQ(Positions(offset), (std::vector<CPoint>{{2000, 3300}, {6000, 3300}}));
    EXPECT_EQ(offset->GetColor(), RGB(200, 0, 0));
    EXPECT_EQ(offset->GetLineAttr(), Settings().m_aLineTypes[1]) << "the tool bar's line type";
    int sk, ss, ek, es;
    double sa, ea;
    static_cast<COpenCurveElement*>(offset)->GetArrowHeads(sk, ss, sa, ek, es, ea);
    EXPECT_EQ(sk, 1);
    EXPECT_EQ(ek, 2);
    EXPECT_EQ(es, 400);
    for (const CCurveNode* n : offset->Nodes())
        for (const CCurveNode* m : line->Nodes()) EXPECT_NE(n->GetPoint(), m->GetPoint());
    EXPECT_EQ(doc.UndoCount(), 1);
    EXPECT_FALSE(tool->IsPicked());
    view->OnEditUndo();
    EXPECT_EQ(Curves().size(), 1u);
}

TEST_F(OffsetLineToolTest, CrossingTheCurveFlipsTheSide)
{
    AddArrowLine();
    Settings().m_nOffsetLineCount = 2;
    Click(4000, 3050);
    MoveTo(4000, 2800);
    EXPECT_EQ(tool->GetDistance(), 200);
    const std::vector<CNodePointList>& above = tool->GetOffsetNodes();
    ASSERT_EQ(above.size(), 2u);
    EXPECT_EQ(above[0].GetHead().y, 2800);
    EXPECT_EQ(above[1].GetHead().y, 2700) << "the step goes the same way";
    MoveTo(4000, 3200);
    EXPECT_EQ(tool->GetDistance(), -200);
    EXPECT_EQ(tool->GetOffsetNodes()[1].GetHead().y, 3300);
}

TEST_F(OffsetLineToolTest, DigitsMakeSeveralLinesAtTheSpacing)
{
    AddArrowLine();
    Settings().m_nOffsetDistance = 150;
    Click(4000, 3050);
    Key(Qt::Key_3);
    EXPECT_EQ(Settings().m_nOffsetLineCount, 3);
    MoveTo(4000, 3300);
    ASSERT_EQ(tool->GetPreviews().size(), 3u);
    Click(4000, 3300);
    ASSERT_EQ(Curves().size(), 4u);
    EXPECT_EQ(Positions(Curves()[1])[0].y, 3300);
    EXPECT_EQ(Positions(Curves()[2])[0].y, 3450);
    EXPECT_EQ(Positions(Curves()[3])[0].y, 3600);
    EXPECT_EQ(doc.UndoCount(), 1) << "one step for all of them";
    Key(Qt::Key_0);
    EXPECT_EQ(Settings().m_nOffsetLineCount, 1) << "0 counts as 1";
}

TEST_F(OffsetLineToolTest, ClosedCurveGivesClosedOffsets)
{
    CCurveElement* square = AddCurve({{2000, 2000}, {4000, 2000}, {4000, 4000}, {2000, 4000}}, 1);
    square->SetColor(RGB(0, 0, 255));
    Click(3000, 2030);
    Click(3000, 1800);  // outside, 200 off
    ASSERT_EQ(Curves().size(), 2u);
    CCurveElement* offset = Curves()[1];
    EXPECT_TRUE(offset->IsClosed());
    EXPECT_EQ(Positions(offset), (std::vector<CPoint>{{1800, 1800}, {4200, 1800}, {4200, 4200}, {1800, 4200}}));
    EXPECT_EQ(offset->GetColor(), RGB(0, 0, 255));
    EXPECT_EQ(static_cast<CClosedCurveElement*>(offset)->GetFillKind(), 0);
}

TEST_F(OffsetLineToolTest, PreviewIsDrawnWhileTheMouseMoves)
{
    AddArrowLine();
    Click(4000, 3050);
    MoveTo(4000, 3500);
    const QImage image = RenderView();
    EXPECT_TRUE(ColourNear(image, 3000, 3500, qRgb(255, 0, 0), 1));
    EXPECT_FALSE(ColourNear(image, 3000, 3300, qRgb(255, 0, 0), 3));
    view->OnEditCancel();
    EXPECT_FALSE(tool->IsPicked());
    EXPECT_TRUE(tool->GetPreviews().empty());
}

// ---------------------------------------------------------------- move-copy

TEST_F(OffsetLineToolTest, MoveCopyKeepsToAnAxisWithoutCtrl)
{
    AddArrowLine();
    MoveCopyMode();
    EXPECT_EQ(view->GetToolCursorId(), CVTOffsetLine::kCursorMoveCopy);
    Settings().m_nOffsetLineCount = 2;
    Settings().m_nOffsetDistance = 1000;
    Click(3000, 3000);
    Click(5000, 3400);  // mainly sideways: a horizontal move of 2000
    ASSERT_EQ(Curves().size(), 3u);
    EXPECT_EQ(Positions(Curves()[1]), (std::vector<CPoint>{{4000, 3000}, {8000, 3000}}));
    EXPECT_EQ(Positions(Curves()[2]), (std::vector<CPoint>{{5000, 3000}, {9000, 3000}}));

    // With Ctrl the copies follow the drag exactly.
    Settings().m_nOffsetLineCount = 1;
    Click(3000, 3000);
    Click(5000, 3400, Qt::ControlModifier);
    ASSERT_EQ(Curves().size(), 4u);
    EXPECT_EQ(Positions(Curves()[3]), (std::vector<CPoint>{{4000, 3400}, {8000, 3400}}));
}

TEST_F(OffsetLineToolTest, MoveCopyWithoutADragMakesNothing)
{
    AddArrowLine();
    MoveCopyMode();
    Click(3000, 3000);
    Click(3000, 3000);
    EXPECT_EQ(Curves().size(), 1u);
    EXPECT_EQ(doc.UndoCount(), 0);
    EXPECT_TRUE(tool->IsPicked()) << "the curve stays picked for a real drag";
    Click(3000, 5000);
    EXPECT_EQ(Curves().size(), 2u);
}

// ---------------------------------------------------------------- typed values

TEST_F(OffsetLineToolTest, TypedDistanceWithASign)
{
    AddArrowLine();
    Settings().m_bValueDialogs = 1;
    bool seen = false;
    std::vector<CPoint> preview;
    WhenModal<CLengthDlg>(
        [&](CLengthDlg& dialog) {
            EXPECT_EQ(dialog.ValueEdit()->text(), QStringLiteral("-0.3"));
            Type(dialog.ValueEdit(), QStringLiteral("0.75"));
            preview = ToVectorOf(tool->GetPreviews()[0]);
            dialog.accept();
        },
        &seen);
    Click(4000, 3050);
    Click(4000, 3300);
    ASSERT_TRUE(seen);
    EXPECT_EQ(preview, (std::vector<CPoint>{{2000, 2250}, {6000, 2250}}));
    ASSERT_EQ(Curves().size(), 2u);
    EXPECT_EQ(Positions(Curves()[1]), (std::vector<CPoint>{{2000, 2250}, {6000, 2250}}));
}

TEST_F(OffsetLineToolTest, CancelInTheDistancePromptCreatesNothing)
{
    AddArrowLine();
    Settings().m_bValueDialogs = 1;
    bool seen = false;
    WhenModal<CLengthDlg>(
        [&](CLengthDlg& dialog) {
            Type(dialog.ValueEdit(), QStringLiteral("2"));
            dialog.reject();
        },
        &seen);
    Click(4000, 3050);
    Click(4000, 3300);
    ASSERT_TRUE(seen);
    EXPECT_EQ(Curves().size(), 1u);
    EXPECT_EQ(doc.UndoCount(), 0);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_TRUE(tool->IsPicked());
    EXPECT_EQ(tool->GetDistance(), -300) << "the typed distance is dropped";
}

TEST_F(OffsetLineToolTest, TypedMoveLength)
{
    AddArrowLine();
    MoveCopyMode();
    Settings().m_bValueDialogs = 1;
    bool seen = false;
    WhenModal<CLengthDlg>(
        [&](CLengthDlg& dialog) {
            EXPECT_EQ(dialog.ValueEdit()->text(), QStringLiteral("0.5"));
            for (const char* refused : {"-1", "0"}) {
                Type(dialog.ValueEdit(), QString::fromLatin1(refused));
                QString message;
                CatchMessageBox(&message);
                dialog.accept();
                EXPECT_EQ(message, LoadResString(36079)) << refused;
            }
            Type(dialog.ValueEdit(), QStringLiteral("1"));
            dialog.accept();
        },
        &seen);
    Click(3000, 3000);
    Click(3300, 3400);
    ASSERT_TRUE(seen);
    ASSERT_EQ(Curves().size(), 2u);
    EXPECT_EQ(Positions(Curves()[1]), (std::vector<CPoint>{{2600, 3800}, {6600, 3800}}));
}
