// The picture editor as the user reaches it: under the insert picture tool
// (where every click reaches it) and under the select tool. Each handle
// code dragged with the mouse gives the corners the geometry asks for;
// moves and drags are one undo step each; Esc keeps what a step did,
// Undo takes it back; Delete and Cut let the owner go of the picture.
#include "tests/editors/EditorTestSupport.h"

#include "editors/CVTModifyPicture.h"
#include "editors/CVTSelect.h"
#include "res/CommandIds.h"
#include "res/StringTable.h"

#include <QTemporaryDir>

namespace {

// Picture of the cases: (0, 0), (6000, 0), (6000, 4000), (0, 4000) shifted
// by B into the view.
const CPoint B(1000, 1000);

CPoint At(int x, int y)
{
    return CPoint(B.x + x, B.y + y);
}

class PictureEditorTest : public EditorViewFixture {
protected:
    void SetUp() override
    {
        EditorViewFixture::SetUp();
        ASSERT_TRUE(files.isValid());
        file = files.filePath(QStringLiteral("six-by-four.png"));
        ASSERT_TRUE(Solid(600, 400, QColor(0, 0, 255)).save(file));
        static QString chosen;
        chosen = file;
        CVTInsertPicture::SetFileChooser([](QWidget*) { return chosen; });
    }

    // Inserts the 600 x 400 picture at B with the insert picture tool: it
    // is then under that tool's editor.
    CImageElement* Insert()
    {
        SelectTool(CVEKView::kInsertPictureTool);
        tool = Tool<CVTInsertPicture>(CVEKView::kInsertPictureTool);
        Click(B.x, B.y);
        editor = tool->GetEditor();
        return editor->GetElement();
    }

    QTemporaryDir files;
    QString file;
    CVTInsertPicture* tool = nullptr;
    CVTModifyPicture* editor = nullptr;
};

} // namespace

TEST_F(PictureEditorTest, EveryKindOfHandleGivesItsCorners)
{
    struct Case {
        const char* name;
        CPoint press;
        Qt::KeyboardModifiers keys;
        int code;
        CPoint mouse;
        std::array<CPoint, 4> corners;
    };
    const Case cases[] = {
        {"top side across", At(3000, 0), Qt::NoModifier, 4, At(3500, -1000),
         {At(0, -1000), At(6000, -1000), At(6000, 4000), At(0, 4000)}},
        {"upper-left diagonal", At(0, 0), Qt::ShiftModifier, 2, At(1000, 1000),
         {At(1500, 1000), At(6000, 1000), At(6000, 4000), At(1500, 4000)}},
        {"lower-right diagonal", At(6000, 4000), Qt::ShiftModifier, 10, At(3000, 9990),
         {At(0, 0), At(3000, 0), At(3000, 2000), At(0, 2000)}},
        {"lower-right turn", At(6000, 4000), Qt::NoModifier, 9, At(1000, 5000),
         {At(5000, -1000), At(5000, 5000), At(1000, 5000), At(1000, -1000)}},
        {"right side matched", At(6000, 2000), Qt::ControlModifier, 7, At(7000, 2500),
         {At(0, 0), At(7000, 500), At(7000, 4500), At(0, 4000)}},
        {"Ctrl at a corner turns", At(6000, 4000), Qt::ControlModifier, 9, At(1000, 5000),
         {At(5000, -1000), At(5000, 5000), At(1000, 5000), At(1000, -1000)}},
        {"Shift at a side moves it freely", At(0, 2000), Qt::ShiftModifier, 15, At(-500, 2300),
         {At(-500, 300), At(6000, 0), At(6000, 4000), At(-500, 4300)}},
        {"left side across", At(0, 2000), Qt::NoModifier, 16, At(-700, 9000),
         {At(-700, 0), At(6000, 0), At(6000, 4000), At(-700, 4000)}},
    };
    for (const Case& c : cases) {
        CImageElement* picture = Insert();
        ASSERT_NE(picture, nullptr) << c.name;
        ASSERT_EQ(CornersOf(picture), (std::array<CPoint, 4>{At(0, 0), At(6000, 0), At(6000, 4000), At(0, 4000)}));
        const int steps = doc.UndoCount();

        MoveTo(c.press.x, c.press.y, c.keys);
        EXPECT_EQ(editor->GetHitCode(), c.code) << c.name;
        Press(c.press.x, c.press.y, c.keys);
        Release(c.press.x, c.press.y, c.keys);
        EXPECT_EQ(editor->GetState(), CVTModifyPicture::kDragging) << c.name;
        MoveTo(c.mouse.x, c.mouse.y, c.keys);
        EXPECT_EQ(CornersOf(picture), c.corners) << c.name;
        Click(c.mouse.x, c.mouse.y, c.keys);
        EXPECT_NE(editor->GetState(), CVTModifyPicture::kDragging) << c.name;
        EXPECT_EQ(CornersOf(picture), c.corners) << c.name;
        EXPECT_EQ(doc.UndoCount(), steps + 1) << c.name;

        view->OnEditUndo();
        ASSERT_EQ(Page()->GetElementCount(), 1) << c.name;
        const auto* restored = static_cast<const CImageElement*>(Page()->ElementAt(0));
        EXPECT_EQ(CornersOf(restored)[2], At(6000, 4000)) << c.name;
        // Start the next case on an empty page.
        view->OnEditUndo();
        ASSERT_EQ(Page()->GetElementCount(), 0) << c.name;
    }
}

TEST_F(PictureEditorTest, AMoveFollowsTheMouseAndIsOneUndoStep)
{
    CImageElement* picture = Insert();
    ASSERT_NE(picture, nullptr);
    const int steps = doc.UndoCount();
    Click(At(2000, 2000).x, At(2000, 2000).y);
    EXPECT_EQ(editor->GetState(), CVTModifyPicture::kMoving);
    EXPECT_EQ(view->GetToolCursorId(), CVTModifyPicture::kCursorMove);
    MoveTo(At(2100, 2050).x, At(2100, 2050).y);
    EXPECT_EQ(view->GetStatusPrompt(), LoadResString(CVTModifyPicture::kPromptMoving));
    Click(At(2100, 2050).x, At(2100, 2050).y);
    EXPECT_EQ(CornersOf(picture), (std::array<CPoint, 4>{At(100, 50), At(6100, 50), At(6100, 4050), At(100, 4050)}));
    EXPECT_EQ(doc.UndoCount(), steps + 1);

    // The page shows the picture where it now is.
    const QImage page = RenderPage();
    EXPECT_TRUE(ColourAt(page, At(6050, 4000).x, At(6050, 4000).y, QColor(0, 0, 255)));
    EXPECT_FALSE(ColourAt(page, At(30, 30).x, At(30, 30).y, QColor(0, 0, 255)));

    view->OnEditUndo();
    const auto* restored = static_cast<const CImageElement*>(Page()->ElementAt(0));
    EXPECT_EQ(CornersOf(restored)[0], At(0, 0));
}

TEST_F(PictureEditorTest, AClickThatMovesNothingCostsNoStep)
{
    Insert();
    doc.SetModifiedFlag(false);
    const int steps = doc.UndoCount();
    Click(At(2000, 2000).x, At(2000, 2000).y);
    EXPECT_TRUE(doc.HasPendingUndoStep());
    Click(At(2000, 2000).x, At(2000, 2000).y);
    EXPECT_EQ(doc.UndoCount(), steps);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_FALSE(doc.HasPendingUndoStep());
}

// Esc ends the step where it stands and keeps it as an undo step; Undo
// during the step takes the picture back, and Redo brings the move again.
TEST_F(PictureEditorTest, EscKeepsTheMoveWithItsStepAndUndoTakesItBack)
{
    CImageElement* picture = Insert();
    const int steps = doc.UndoCount();
    Click(At(2000, 2000).x, At(2000, 2000).y);
    MoveTo(At(2500, 2000).x, At(2500, 2000).y);
    ASSERT_TRUE(view->CanEditCancel());
    view->OnEditCancel();
    EXPECT_FALSE(editor->HasPendingStep());
    EXPECT_EQ(CornersOf(picture)[0], At(500, 0));
    EXPECT_EQ(doc.UndoCount(), steps + 1);
    EXPECT_FALSE(doc.HasPendingUndoStep());
    MoveTo(At(3000, 3000).x, At(3000, 3000).y);
    EXPECT_EQ(CornersOf(picture)[0], At(500, 0));

    Click(At(3000, 2000).x, At(3000, 2000).y);
    MoveTo(At(3000, 2700).x, At(3000, 2700).y);
    EXPECT_EQ(CornersOf(picture)[0], At(500, 700));
    view->OnEditUndo();
    EXPECT_EQ(doc.UndoCount(), steps + 1);
    ASSERT_EQ(Page()->GetElementCount(), 1);
    const auto* back = static_cast<const CImageElement*>(Page()->ElementAt(0));
    EXPECT_EQ(CornersOf(back)[0], At(500, 0));
    view->OnEditRedo();
    EXPECT_EQ(CornersOf(static_cast<const CImageElement*>(Page()->ElementAt(0)))[0], At(500, 700));
}

TEST_F(PictureEditorTest, DeleteAndCutLetTheOwnerGo)
{
    // Under the insert picture tool.
    Insert();
    MoveTo(At(2000, 2000).x, At(2000, 2000).y);
    Key(Qt::Key_Delete);
    EXPECT_EQ(Page()->GetElementCount(), 0);
    EXPECT_EQ(tool->IsEditing(), 0);
    EXPECT_EQ(editor->GetElement(), nullptr);
    view->OnEditUndo();
    ASSERT_EQ(Page()->GetElementCount(), 1);

    // Under the select tool: Cut puts it on the clipboard, and the select
    // tool holds nothing afterwards.
    SelectTool(CVEKView::kSelectTool);
    auto* select = Tool<CVTSelect>(CVEKView::kSelectTool);
    Click(At(2000, 2000).x, At(2000, 2000).y);
    ASSERT_NE(select->GetSelected(), nullptr);
    ASSERT_TRUE(view->OnCommand(ID_EDIT_CUT));
    EXPECT_EQ(Page()->GetElementCount(), 0);
    EXPECT_EQ(select->GetSelected(), nullptr);
    EXPECT_EQ(select->GetPictureEditor()->GetElement(), nullptr);
    // Nothing is left to hand events to.
    MoveTo(At(2000, 2000).x, At(2000, 2000).y);
    Click(At(2000, 2000).x, At(2000, 2000).y);
    EXPECT_FALSE(view->CanEditCancel());
    ASSERT_TRUE(view->OnCommand(ID_EDIT_PASTE));
    EXPECT_EQ(Page()->GetElementCount(), 1);
}

// The first click of the select tool only selects; with Shift the click
// builds the list and never reaches the editor.
TEST_F(PictureEditorTest, UnderTheSelectToolTheFirstClickOnlySelects)
{
    CImageElement* picture = AddPicture({At(0, 0), At(6000, 0), At(6000, 4000), At(0, 4000)});
    SelectTool(CVEKView::kSelectTool);
    auto* select = Tool<CVTSelect>(CVEKView::kSelectTool);
    Click(At(2000, 2000).x, At(2000, 2000).y);
    EXPECT_EQ(select->GetSelected(), picture);
    EXPECT_EQ(select->GetPictureEditor()->GetState(), CVTModifyPicture::kIdle);
    EXPECT_FALSE(view->CanEditCancel());
    MoveTo(At(2010, 2000).x, At(2010, 2000).y);
    EXPECT_EQ(select->GetPictureEditor()->GetState(), CVTModifyPicture::kInside);

    MoveTo(At(0, 0).x, At(0, 0).y, Qt::ShiftModifier);
    Press(At(0, 0).x, At(0, 0).y, Qt::ShiftModifier);
    Release(At(0, 0).x, At(0, 0).y, Qt::ShiftModifier);
    EXPECT_NE(select->GetPictureEditor()->GetState(), CVTModifyPicture::kDragging);
    EXPECT_EQ(CornersOf(picture)[0], At(0, 0));
}

TEST_F(PictureEditorTest, HandlesAreDrawnAndTheirArrowFollowsTheHitCode)
{
    Insert();
    MoveTo(At(3000, 0).x, At(3000, 0).y);
    ASSERT_EQ(editor->GetHitCode(), 4);
    const QImage shown = RenderView();
    // A handle square at the upper-right corner, in the feedback colour.
    EXPECT_TRUE(ColourNear(shown, At(6000, 0).x, At(6000, 0).y, qRgb(255, 0, 0), 2));
    // The arrow across the top side: black pixels above and below the
    // midpoint, up to six pixels away.
    const QPoint mid = Device(At(3000, 0).x, At(3000, 0).y);
    EXPECT_EQ(qGray(shown.pixel(mid.x(), mid.y() - 5)), 0);
    EXPECT_EQ(qGray(shown.pixel(mid.x(), mid.y() + 5)), 0);
    MoveTo(At(2000, 2000).x, At(2000, 2000).y);
    const QImage inside = RenderView();
    EXPECT_NE(qGray(inside.pixel(mid.x(), mid.y() - 5)), 0);
}

// A picture whose right side has shrunk to a point has no direction to
// stretch along there: its corners stay as they are.
TEST_F(PictureEditorTest, ADegeneratePictureKeepsItsCornersWhenStretched)
{
    const std::array<CPoint, 4> triangle{At(0, 0), At(6000, 0), At(6000, 0), At(0, 4000)};
    CImageElement* picture = AddPicture(triangle);
    SelectTool(CVEKView::kInsertPictureTool);
    tool = Tool<CVTInsertPicture>(CVEKView::kInsertPictureTool);
    editor = tool->GetEditor();
    // Edit it: insert another picture first, then click this one.
    Click(At(0, 6000).x, At(0, 6000).y);
    ASSERT_EQ(Page()->GetElementCount(), 2);
    Click(At(1000, 1000).x, At(1000, 1000).y);
    ASSERT_EQ(editor->GetElement(), picture);
    MoveTo(At(0, 0).x, At(0, 0).y, Qt::ShiftModifier);
    ASSERT_EQ(editor->GetHitCode(), 2);
    Press(At(0, 0).x, At(0, 0).y, Qt::ShiftModifier);
    Release(At(0, 0).x, At(0, 0).y, Qt::ShiftModifier);
    MoveTo(At(4000, 500).x, At(4000, 500).y, Qt::ShiftModifier);
    EXPECT_EQ(CornersOf(picture), triangle);
}
