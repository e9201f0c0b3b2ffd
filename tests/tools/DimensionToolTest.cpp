// The dimension and tape-measure tool driven through the view: the
// dimension line with its start arrowhead and its text placed by the
// line's direction, line and text as one undo step, the tape measure on
// open and closed curves with its witness lines and length text, further
// end clicks measured once, Shift restarting in the other mode, right
// clicks that make nothing taking no step, and the pixels of a dimension's
// arrow and text and of a tape's text.
#include "tests/editors/EditorTestSupport.h"

#include "tools/CVTDimension.h"

#include "geometry/NumberText.h"
#include "geometry/Polyline.h"
#include "res/StringTable.h"

namespace {

class DimensionToolTest : public EditorViewFixture {
protected:
    void SetUp() override
    {
        EditorViewFixture::SetUp();
        SelectTool(CVEKView::kDimensionTool);
        tool = Tool<CVTDimension>(CVEKView::kDimensionTool);
        ASSERT_NE(tool, nullptr);
    }
    std::vector<CTextElement*> Texts()
    {
        std::vector<CTextElement*> texts;
        for (CGraphElement* e : Page()->Elements())
            if (e->GetType() == ELEMENT_TEXT) texts.push_back(static_cast<CTextElement*>(e));
        return texts;
    }
    void TapeMode()
    {
        Shift();
        ASSERT_TRUE(tool->IsTapeMode());
    }
    static int Width(const std::string& wording)
    {
        LogFont font = Settings().m_lfDefaultFont;
        font.lfEscapement = 0;
        return CTextElement::MeasureTextFont(CTextFont(wording, font, 0)).cx;
    }

    CVTDimension* tool = nullptr;
};

using Points = std::vector<CPoint>;

} // namespace

TEST_F(DimensionToolTest, TheTextGoesBesideTheSecondClickAwayFromTheLine)
{
    const int w = Width("30");
    const int h = std::abs(Settings().m_lfDefaultFont.lfHeight);
    struct Case {
        const char* what;
        CPoint start;
        CPoint end;
        CPoint origin;  // relative to the second click
    };
    const Case cases[] = {
        {"left to right", {1000, 3000}, {4000, 3000}, {0, 0}},
        {"right to left", {4000, 3000}, {1000, 3000}, {-w, -h}},
        {"to the upper right", {1000, 4000}, {3000, 2000}, {0, 0}},
        {"to the upper left", {3000, 4000}, {1000, 2000}, {-w, -h}},
        {"to the lower left", {3000, 2000}, {1000, 4000}, {-w, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScriptedWording::Answers().push_back("30");
        Click(c.start.x, c.start.y);
        EXPECT_TRUE(tool->HasPendingStep());
        Click(c.end.x, c.end.y);
        ASSERT_EQ(Texts().size(), 1u);
        CTextElement* text = Texts()[0];
        EXPECT_EQ(text->GetOrigin(), CPoint(c.end.x + c.origin.x, c.end.y + c.origin.y));
        EXPECT_EQ(text->GetTextFont().GetText(), "30");
        EXPECT_EQ(text->GetBkMode(), TRANSPARENT);
        view->OnEditUndo();
        EXPECT_TRUE(Texts().empty());
        EXPECT_TRUE(Curves().empty());
    }
}

TEST_F(DimensionToolTest, TheLineStartsAtTheClickEndsOnTheSnapAndWearsTheStartArrow)
{
    Settings().m_nStartArrowType = ARROW_FILLED;
    Settings().m_nEndArrowType = ARROW_OPEN;
    Settings().m_nStartArrowSize = 800;
    Settings().m_crFontColor = RGB(0, 0, 160);
    CCurveElement* other = AddCurve({{1000, 1000}, {1000, 5000}, {6000, 5000}}, 0);
    ScriptedWording::Answers().push_back("L");
    Click(1040, 1030);
    Click(5960, 4970);
    ASSERT_EQ(Curves().size(), 2u);
    auto* line = static_cast<COpenCurveElement*>(Curves()[1]);
    EXPECT_EQ(Positions(line), (Points{{1040, 1030}, {6000, 5000}}));
    EXPECT_NE(line->GetLastNode()->GetPoint(), other->GetLastNode()->GetPoint());
    int sk, ss, ek, es;
    double sa, ea;
    line->GetArrowHeads(sk, ss, sa, ek, es, ea);
    EXPECT_EQ(sk, ARROW_FILLED);
    EXPECT_EQ(ss, 800);
    EXPECT_EQ(ek, ARROW_NONE);
    ASSERT_EQ(Texts().size(), 1u);
    EXPECT_EQ(Texts()[0]->GetTextFont().GetColor(), RGB(0, 0, 160));
    EXPECT_EQ(doc.UndoCount(), 1);
    EXPECT_FALSE(tool->HasPendingStep());
}

TEST_F(DimensionToolTest, CancelInTheDialogKeepsTheLineWithoutText)
{
    ScriptedWording::Answers().push_back(ScriptedWording::kCancel);
    Click(1000, 1000);
    Click(4000, 1000);
    EXPECT_EQ(Curves().size(), 1u);
    EXPECT_TRUE(Texts().empty());
    EXPECT_EQ(doc.UndoCount(), 1);
    // A second click on the first point draws no line.
    Click(2000, 2000);
    Click(2000, 2000);
    EXPECT_EQ(Curves().size(), 1u);
    EXPECT_TRUE(tool->HasPendingStep());
}

TEST_F(DimensionToolTest, TheArrowAndTheTextShowOnThePage)
{
    Settings().m_nStartArrowType = ARROW_FILLED;
    Settings().m_crLineColor = RGB(0, 0, 0);
    Settings().m_crFontColor = RGB(200, 0, 0);
    Settings().m_aLineTypes[std::size_t(Settings().m_nCurLineType)] = CLineAttr(20);
    ScriptedWording::Answers().push_back("88");
    Click(1000, 3000);
    Click(6000, 3000);
    ASSERT_EQ(Texts().size(), 1u);
    const QImage page = RenderPage();
    // The head: filled across the line just after its tip, the line alone
    // further on.
    const int size = 20 * Settings().m_nStartArrowSize / 100;
    EXPECT_TRUE(ColourAt(page, 1000 + size * 2 / 3, 3000 + size / 6, QColor(0, 0, 0)));
    EXPECT_FALSE(ColourAt(page, 3500, 3000 + size / 6, QColor(0, 0, 0)));
    // The text right of and below the second click, in the font colour.
    const CRect box = Texts()[0]->GetBoundRect();
    EXPECT_EQ(box.TopLeft(), CPoint(6000, 3000));
    int red = 0;
    for (int y = box.top; y <= box.bottom; y += 10)
        for (int x = box.left; x <= box.right; x += 10)
            if (ColourAt(page, x, y, QColor(200, 0, 0), 60)) ++red;
    EXPECT_GT(red, 3);
    EXPECT_FALSE(ColourAt(page, 6000 - 500, 3000 + 300, QColor(200, 0, 0), 60));
}

TEST_F(DimensionToolTest, TheTapeMeasuresAnOpenCurveBetweenItsClicks)
{
    Settings().m_nWorkUnit = 3;
    Settings().m_nPrecision = 100;
    Settings().m_crOutsidePaperColor = RGB(128, 128, 128);
    // 7000 + 5345 units long.
    AddCurve({{1000, 1000}, {8000, 1000}, {8000, 6345}}, 0);
    TapeMode();
    EXPECT_EQ(view->GetToolCursorId(), CVTDimension::kCursorTape);
    Click(1000, 1000);
    Click(4000, 1000);
    EXPECT_NE(tool->GetTapeCurve(), nullptr);
    Click(8000, 6345);
    // A further click at the same end measures the same stretch once.
    Click(8000, 6345);
    EXPECT_EQ(PolylineLengthRounded(tool->GetTapeSection()), 12345);
    RightClick(4000, 4000);

    ASSERT_EQ(Texts().size(), 1u);
    CTextElement* text = Texts()[0];
    EXPECT_EQ(text->GetTextFont().GetText(), "123.45mm");
    EXPECT_EQ(text->GetTextFont().GetLogFont().lfHeight, CVTDimension::kTapeTextHeight);
    EXPECT_EQ(text->GetTextFont().GetColor(), RGB(128, 128, 128));
    ASSERT_EQ(Curves().size(), 2u);
    CCurveElement* measured = Curves()[1];
    EXPECT_EQ(measured->GetColor(), RGB(128, 128, 128));
    EXPECT_EQ(measured->GetLineAttr().GetWidth(), 1);
    const Points p = Positions(measured);
    ASSERT_GE(p.size(), 6u);
    // From the start on the curve across the first offset point 200 beyond
    // it and back; at the far end from the curve across the last one.
    const CPoint g = p[2];
    EXPECT_EQ(p[0], CPoint(1000, 1000));
    EXPECT_EQ(p[1], CPoint(2 * g.x - 1000, 2 * g.y - 1000));
    EXPECT_NEAR(Distance(p[0], g), 200.0, 1.0);
    const CPoint e = p[p.size() - 3];
    EXPECT_EQ(p[p.size() - 2], CPoint(8000, 6345));
    EXPECT_EQ(p.back(), CPoint(2 * e.x - 8000, 2 * e.y - 6345));
    EXPECT_NEAR(Distance(p[p.size() - 2], e), 200.0, 1.0);
    EXPECT_EQ(doc.UndoCount(), 1);
    // The mode stays for the next tape.
    EXPECT_TRUE(tool->IsTapeMode());
    EXPECT_FALSE(tool->HasPendingStep());

    // The text is drawn where it stands, in its colour.
    const QImage page = RenderPage();
    const CRect box = text->GetBoundRect();
    int grey = 0;
    for (int y = box.top; y <= box.bottom; y += 5)
        for (int x = box.left; x <= box.right; x += 5)
            if (ColourAt(page, x, y, QColor(128, 128, 128), 30)) ++grey;
    EXPECT_GT(grey, 3);
}

TEST_F(DimensionToolTest, OnAClosedCurveTheTapeGoesTheWayOfTheDirectionPoint)
{
    Settings().m_nWorkUnit = 3;
    Settings().m_nPrecision = 100;
    AddCurve({{1000, 1000}, {5000, 1000}, {5000, 5000}, {1000, 5000}}, 1);
    TapeMode();
    Click(1000, 1000);
    Click(3000, 5000);
    Click(5000, 1000);
    const int length = PolylineLengthRounded(tool->GetTapeSection());
    EXPECT_NEAR(length, 12000, 2);
    RightClick(4000, 4000);
    ASSERT_EQ(Texts().size(), 1u);
    EXPECT_NEAR(LeadingNumber(Texts()[0]->GetTextFont().GetText()), 120.0, 0.03);
}

TEST_F(DimensionToolTest, RightClicksThatMakeNothingTakeNoStep)
{
    AddCurve({{1000, 1000}, {5000, 1000}}, 0);
    RightClick(3000, 3000);
    TapeMode();
    RightClick(3000, 3000);
    // Start and end, but the direction point was off the curve.
    Click(1000, 1000);
    Click(3000, 3000);
    Click(5000, 1000);
    RightClick(3000, 3000);
    EXPECT_EQ(doc.UndoCount(), 0);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(Curves().size(), 1u);
    EXPECT_TRUE(Texts().empty());
}

TEST_F(DimensionToolTest, ShiftSwitchesTheModeAndStartsAfresh)
{
    Click(1000, 1000);
    EXPECT_TRUE(tool->HasPendingStep());
    Shift();
    EXPECT_TRUE(tool->IsTapeMode());
    EXPECT_FALSE(tool->HasPendingStep());
    EXPECT_EQ(view->GetStatusPrompt(), LoadResString(int(CVTDimension::kPromptTapeStart)));
    Shift();
    EXPECT_FALSE(tool->IsTapeMode());
    EXPECT_EQ(view->GetToolCursorId(), CVTDimension::kCursorDimension);
    EXPECT_EQ(view->GetStatusPrompt(), LoadResString(int(CVTDimension::kPromptDimensionStart)));
    // Nothing of the first click is left: two clicks make one line.
    ScriptedWording::Answers().push_back(ScriptedWording::kCancel);
    Click(2000, 2000);
    Click(4000, 2000);
    ASSERT_EQ(Curves().size(), 1u);
    EXPECT_EQ(Positions(Curves()[0]), (Points{{2000, 2000}, {4000, 2000}}));
}
