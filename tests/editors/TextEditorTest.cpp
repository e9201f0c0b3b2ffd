// The text editor as the user reaches it through the text tool (where
// every click reaches it) and the select tool: the twenty handle codes
// with the corners they give, the turn with the font's escapement, the
// move, Esc and Undo during a step, the wording edited on a double click,
// the tool bar's font and colour, Delete and Cut.
#include "tests/editors/EditorTestSupport.h"

#include "editors/CVTModifyText.h"
#include "editors/CVTSelect.h"
#include "res/CommandIds.h"
#include "res/StringTable.h"
#include "tools/CVTText.h"

namespace {

// The box of the cases: origin, corner 2, corner 4, corner 3.
const std::array<CPoint, 4> kBox{CPoint(2000, 2000), CPoint(6000, 2000), CPoint(6000, 3000), CPoint(2000, 3000)};

class TextEditorTest : public EditorViewFixture {
protected:
    // The text engaged in the text tool's editor by a click on its body.
    CTextElement* Engage(const std::array<CPoint, 4>& box = kBox, int escapement = 0)
    {
        CTextElement* text = AddText("AB", box, escapement);
        SelectTool(CVEKView::kTextTool);
        tool = Tool<CVTText>(CVEKView::kTextTool);
        editor = tool->GetEditor();
        Click(3000, 2500);
        EXPECT_EQ(editor->GetElement(), text);
        return text;
    }
    void RemoveAll()
    {
        SelectTool(CVEKView::kCurveTool);
        while (Page()->GetElementCount() > 0) {
            CGraphElement* e = Page()->ElementAt(0);
            Page()->RemoveElement(e);
            delete e;
        }
        doc.ClearUndoList();
    }
    int Escapement(CTextElement* text) { return text->GetTextFont().GetLogFont().lfEscapement; }

    CVTText* tool = nullptr;
    CVTModifyText* editor = nullptr;
};

} // namespace

TEST_F(TextEditorTest, EveryHandleCodeGivesItsCorners)
{
    const auto Ctrl = Qt::ControlModifier;
    const auto Shift = Qt::ShiftModifier;
    const auto None = Qt::NoModifier;
    struct Case {
        int code;
        CPoint press;
        Qt::KeyboardModifiers keys;
        CPoint mouse;
        std::array<CPoint, 4> box;
        int escapement;
    };
    const Case cases[] = {
        {1, {2000, 2000}, Ctrl, {1500, 1800}, {{{1500, 1800}, {6000, 2000}, {6000, 3000}, {2000, 3000}}}, 0},
        {2, {2000, 2000}, Shift, {3000, 2500}, {{{4000, 2500}, {6000, 2500}, {6000, 3000}, {4000, 3000}}}, 0},
        {3, {2000, 2000}, None, {4500, 500}, {{{4500, 500}, {4500, 4500}, {3500, 4500}, {3500, 500}}}, 0},
        {4, {4000, 2000}, Ctrl, {4300, 1500}, {{{2300, 1500}, {6300, 1500}, {6000, 3000}, {2000, 3000}}}, 0},
        {5, {4000, 2000}, None, {9000, 1200}, {{{2000, 1200}, {6000, 1200}, {6000, 3000}, {2000, 3000}}}, 0},
        {6, {6000, 2000}, Ctrl, {6500, 1900}, {{{2000, 2000}, {6500, 1900}, {6000, 3000}, {2000, 3000}}}, 0},
        {7, {6000, 2000}, Shift, {7000, 2500}, {{{2000, 2500}, {4000, 2500}, {4000, 3000}, {2000, 3000}}}, 0},
        {8, {6000, 2000}, None, {2000, 500}, {{{2000, 2000}, {2000, -2000}, {3000, -2000}, {3000, 2000}}}, -2700},
        {9, {6000, 2500}, Shift, {6200, 2600}, {{{2000, 2000}, {6200, 2100}, {6200, 3100}, {2000, 3000}}}, 0},
        {10, {6000, 2500}, None, {7000, 9000}, {{{2000, 2000}, {7000, 2000}, {7000, 3000}, {2000, 3000}}}, 0},
        {11, {6000, 3000}, Ctrl, {6400, 3300}, {{{2000, 2000}, {6000, 2000}, {6400, 3300}, {2000, 3000}}}, 0},
        {12, {6000, 3000}, Shift, {100, 2500}, {{{2000, 2000}, {4000, 2000}, {4000, 2500}, {2000, 2500}}}, 0},
        {13, {6000, 3000}, None, {1000, 6000}, {{{2000, 2000}, {2000, 6000}, {1000, 6000}, {1000, 2000}}}, -900},
        {14, {4000, 3000}, Ctrl, {4100, 3400}, {{{2000, 2000}, {6000, 2000}, {6100, 3400}, {2100, 3400}}}, 0},
        {15, {4000, 3000}, None, {0, 3600}, {{{2000, 2000}, {6000, 2000}, {6000, 3600}, {2000, 3600}}}, 0},
        {16, {2000, 3000}, Ctrl, {1800, 3200}, {{{2000, 2000}, {6000, 2000}, {6000, 3000}, {1800, 3200}}}, 0},
        {17, {2000, 3000}, Shift, {8000, 2500}, {{{4000, 2000}, {6000, 2000}, {6000, 2500}, {4000, 2500}}}, 0},
        {18, {2000, 3000}, None, {1000, 2000}, {{{2000, 2000}, {2000, 6000}, {1000, 6000}, {1000, 2000}}}, -900},
        {19, {2000, 2500}, Shift, {1700, 2400}, {{{1700, 1900}, {6000, 2000}, {6000, 3000}, {1700, 2900}}}, 0},
        {20, {2000, 2500}, None, {1000, 0}, {{{1000, 2000}, {6000, 2000}, {6000, 3000}, {1000, 3000}}}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("code " + std::to_string(c.code));
        CTextElement* text = Engage();
        const int steps = doc.UndoCount();
        MoveTo(c.press.x, c.press.y, c.keys);
        EXPECT_EQ(editor->GetHoverHandle(), c.code);
        EXPECT_EQ(editor->GetState(), CVTModifyText::kOverHandle);
        Press(c.press.x, c.press.y, c.keys);
        Release(c.press.x, c.press.y, c.keys);
        EXPECT_EQ(editor->GetState(), CVTModifyText::kDragging);
        EXPECT_EQ(editor->GetDragHandle(), c.code);
        // The keys during the drag no longer matter.
        MoveTo(c.mouse.x, c.mouse.y);
        EXPECT_EQ(BoxOf(text), c.box);
        Click(c.mouse.x, c.mouse.y);
        EXPECT_NE(editor->GetState(), CVTModifyText::kDragging);
        EXPECT_EQ(BoxOf(text), c.box);
        EXPECT_EQ(Escapement(text), c.escapement);
        EXPECT_EQ(doc.UndoCount(), steps + 1);
        RemoveAll();
    }
}

// The box that the editor gave a turned text stays when the text is read,
// drawn and saved: it is not laid out again from the escapement. (A text
// read from a file is laid out again when first drawn, as the Windows
// program does; its record still holds the corners.)
TEST_F(TextEditorTest, ATurnedBoxSurvivesDrawingAndSaving)
{
    CTextElement* text = Engage();
    MoveTo(6000, 2000);
    Click(6000, 2000);
    MoveTo(2000, 500);
    Click(2000, 500);
    const std::array<CPoint, 4> turned{CPoint(2000, 2000), CPoint(2000, -2000), CPoint(3000, -2000), CPoint(3000, 2000)};
    ASSERT_EQ(BoxOf(text), turned);
    RenderView();
    EXPECT_EQ(BoxOf(text), turned);
    const QString path = home.filePath(QStringLiteral("turned.vek"));
    ASSERT_TRUE(doc.OnSaveDocument(path));
    CVEKDoc again;
    ASSERT_EQ(again.OnOpenDocument(path), CVEKDoc::LoadResult::Ok);
    auto* loaded = static_cast<CTextElement*>(again.GetPageSet()->GetPageAt(0)->ElementAt(0));
    EXPECT_EQ(loaded->GetCorner2(), turned[1]);
    EXPECT_EQ(loaded->GetCorner4(), turned[2]);
    EXPECT_EQ(loaded->GetCorner3(), turned[3]);
    EXPECT_EQ(loaded->GetTextFont().GetLogFont().lfEscapement, -2700);
}

TEST_F(TextEditorTest, CtrlSnapsTheEscapementWhileTheCornersFollowTheMouse)
{
    CTextElement* text = Engage();
    MoveTo(6000, 2000);
    Click(6000, 2000);
    KeyDown(Qt::Key_Control, Qt::ControlModifier);
    // About 260 degrees from the start: the escapement goes to -2700.
    MoveTo(1300, 20);
    EXPECT_EQ(Escapement(text), -2700);
    const std::array<CPoint, 4> box = BoxOf(text);
    // Corner 2 lies on the ray from the origin toward the mouse.
    const double along = std::atan2(double(box[1].y - 2000), double(box[1].x - 2000));
    const double mouse = std::atan2(20.0 - 2000, 1300.0 - 2000);
    EXPECT_NEAR(along, mouse, 1e-3);
    KeyUp(Qt::Key_Control);
    // Without Ctrl the escapement follows the angle itself, and is not
    // brought into any range: a start of 0 and nearly a full turn give
    // nearly -3600.
    MoveTo(5900, 1900);
    EXPECT_LT(Escapement(text), -3500);
    EXPECT_GT(Escapement(text), -3600);
}

TEST_F(TextEditorTest, TheOriginHandleTurnsTheBoxButNotTheFont)
{
    CTextElement* text = Engage(kBox, 300);
    MoveTo(2000, 2000);
    Click(2000, 2000);
    MoveTo(4500, 500);
    Click(4500, 500);
    EXPECT_EQ(Escapement(text), 300);
    EXPECT_EQ(BoxOf(text)[0], CPoint(4500, 500));
}

TEST_F(TextEditorTest, EscKeepsTheMoveWithItsStepAndUndoTakesItBack)
{
    CTextElement* text = Engage();
    const int steps = doc.UndoCount();
    MoveTo(3000, 2500);
    EXPECT_EQ(view->GetStatusPrompt(), LoadResString(CVTModifyText::kPromptBody));
    Click(3000, 2500);
    ASSERT_EQ(editor->GetState(), CVTModifyText::kMoving);
    MoveTo(3500, 2300);
    EXPECT_EQ(BoxOf(text)[0], CPoint(2500, 1800));
    EXPECT_EQ(view->GetStatusPrompt(), LoadResString(CVTModifyText::kPromptMoving));
    view->OnEditCancel();
    EXPECT_EQ(editor->GetState(), CVTModifyText::kIdle);
    EXPECT_EQ(BoxOf(text)[0], CPoint(2500, 1800));
    EXPECT_EQ(doc.UndoCount(), steps + 1);
    EXPECT_FALSE(doc.HasPendingUndoStep());

    // Undo during a move puts the text back where the move began.
    MoveTo(3500, 2300);
    Click(3500, 2300);
    MoveTo(3900, 2900);
    EXPECT_EQ(BoxOf(text)[0], CPoint(2900, 2400));
    view->OnEditUndo();
    auto* restored = static_cast<CTextElement*>(Page()->ElementAt(0));
    EXPECT_EQ(BoxOf(restored)[0], CPoint(2500, 1800));
    EXPECT_EQ(doc.UndoCount(), steps + 1);

    // A click that moves nothing costs nothing.
    SelectTool(CVEKView::kTextTool);
    Click(3000, 2500);
    Click(3000, 2500);
    Click(3000, 2500);
    EXPECT_EQ(doc.UndoCount(), steps + 1);
    EXPECT_FALSE(doc.HasPendingUndoStep());
}

TEST_F(TextEditorTest, ADoubleClickEditsTheWordingAndEmptyingItDeletesTheText)
{
    CTextElement* text = Engage();
    const int steps = doc.UndoCount();
    ScriptedWording::Answers() = {"ABCD"};
    DoubleClick(2300, 2200);
    ASSERT_EQ(ScriptedWording::Shown().size(), 1u);
    EXPECT_EQ(ScriptedWording::Shown()[0], "AB");
    EXPECT_EQ(text->GetTextFont().GetText(), "ABCD");
    EXPECT_EQ(editor->GetState(), CVTModifyText::kIdle);
    EXPECT_EQ(doc.UndoCount(), steps + 1);

    // Cancel, or the same wording, changes nothing and costs nothing.
    ScriptedWording::Answers() = {ScriptedWording::kCancel, "ABCD"};
    DoubleClick(2300, 2200);
    DoubleClick(2300, 2200);
    EXPECT_EQ(text->GetTextFont().GetText(), "ABCD");
    EXPECT_EQ(doc.UndoCount(), steps + 1);
    EXPECT_FALSE(doc.HasPendingUndoStep());

    // Blanks only: the text goes, in one undo step, and the tool lets go.
    ScriptedWording::Answers() = {" \r\n "};
    MoveTo(2500, 2200);
    DoubleClick(2300, 2200);
    EXPECT_EQ(Page()->GetElementCount(), 0);
    EXPECT_EQ(tool->IsEditing(), 0);
    EXPECT_EQ(editor->GetElement(), nullptr);
    EXPECT_EQ(doc.UndoCount(), steps + 2);
    view->OnEditUndo();
    ASSERT_EQ(Page()->GetElementCount(), 1);
    EXPECT_EQ(static_cast<CTextElement*>(Page()->ElementAt(0))->GetTextFont().GetText(), "ABCD");
}

TEST_F(TextEditorTest, DeleteAndCutLetTheOwnerGo)
{
    Engage();
    MoveTo(3000, 2500);
    Key(Qt::Key_Delete);
    EXPECT_EQ(Page()->GetElementCount(), 0);
    EXPECT_EQ(tool->IsEditing(), 0);
    view->OnEditUndo();
    ASSERT_EQ(Page()->GetElementCount(), 1);

    SelectTool(CVEKView::kSelectTool);
    auto* select = Tool<CVTSelect>(CVEKView::kSelectTool);
    Click(3000, 2500);
    ASSERT_EQ(select->GetSelected(), Page()->ElementAt(0));
    ASSERT_TRUE(view->OnCommand(ID_EDIT_CUT));
    EXPECT_EQ(Page()->GetElementCount(), 0);
    EXPECT_EQ(select->GetSelected(), nullptr);
    EXPECT_EQ(select->GetTextEditor()->GetElement(), nullptr);
    MoveTo(3000, 2500);
    Click(3000, 2500);
    EXPECT_FALSE(view->CanEditCancel());
}

// The tool bar's font applies with the text's own turn; its colour keeps
// the box the user shaped. Each is one undo step, and only when it
// changes something.
TEST_F(TextEditorTest, TheToolBarFontKeepsTheTurnAndTheColourKeepsTheBox)
{
    const std::array<CPoint, 4> upward{CPoint(2000, 6000), CPoint(2000, 2000), CPoint(3000, 2000), CPoint(3000, 6000)};
    CTextElement* text = AddText("AB", upward, 900);
    SelectTool(CVEKView::kTextTool);
    tool = Tool<CVTText>(CVEKView::kTextTool);
    editor = tool->GetEditor();
    Click(2500, 4000);
    ASSERT_EQ(editor->GetElement(), text);
    // Engaging makes the text's font the tool bar's, upright.
    EXPECT_EQ(Settings().m_lfDefaultFont.lfEscapement, 0);
    EXPECT_EQ(Settings().m_lfDefaultFont.lfHeight, -400);

    const int steps = doc.UndoCount();
    Settings().m_crFontColor = RGB(255, 0, 0);
    view->OnColorSelChange(RGB(255, 0, 0), ID_FONT_COLOR);
    EXPECT_EQ(text->GetTextFont().GetColor(), RGB(255, 0, 0));
    EXPECT_EQ(BoxOf(text), upward);
    EXPECT_EQ(doc.UndoCount(), steps + 1);
    view->OnColorSelChange(RGB(255, 0, 0), ID_FONT_COLOR);
    EXPECT_EQ(doc.UndoCount(), steps + 1);

    Settings().m_lfDefaultFont.lfHeight = -800;
    view->OnFontSelChange();
    EXPECT_EQ(Escapement(text), 900);
    EXPECT_EQ(text->GetTextFont().GetLogFont().lfHeight, -800);
    const std::array<CPoint, 4> box = BoxOf(text);
    const CSize size = CTextElement::MeasureTextFont(text->GetTextFont());
    // The baseline still runs up the page from the origin.
    EXPECT_EQ(box[0], CPoint(2000, 6000));
    EXPECT_EQ(box[1], CPoint(2000, 6000 - size.cx));
    EXPECT_EQ(box[3], CPoint(2000 + size.cy, 6000));
    EXPECT_EQ(doc.UndoCount(), steps + 2);
}

TEST_F(TextEditorTest, HandlesAndTheirArrowAreDrawn)
{
    Engage();
    MoveTo(4000, 3000, Qt::ControlModifier);
    ASSERT_EQ(editor->GetHoverHandle(), 14);
    const QImage shown = RenderView();
    // The box outline in the feedback colour, the marks of the corners, and
    // a black arrow across the bottom edge at its midpoint.
    EXPECT_TRUE(ColourNear(shown, 5000, 2000, qRgb(255, 0, 0)));
    EXPECT_TRUE(ColourNear(shown, 6000, 3000, qRgb(0, 0, 255), 2));
    const QPoint mid = Device(4000, 3000);
    EXPECT_EQ(qGray(shown.pixel(mid.x(), mid.y() + 5)), 0);
    EXPECT_EQ(qGray(shown.pixel(mid.x(), mid.y() - 5)), 0);
}
