// The embedded-object tool driven through the view: its selection and its
// drag, a drag put back by Esc, Undo or a change of tool, presses and right
// clicks that change nothing taking no undo step, keys that mean nothing
// here, and Undo reaching the document when no drag is under way.
#include "tests/tools/CurveTestSupport.h"

#include "tools/CVTOleItem.h"

#include "model/COleObjectElement.h"
#include "model/CVEKCntrItem.h"
#include "res/CommandIds.h"

namespace {

class OleItemToolTest : public CurveViewFixture {
protected:
    void SetUp() override
    {
        CurveViewFixture::SetUp();
        object = new COleObjectElement(Page(), 0, std::make_shared<CVEKCntrItem>());
        object->SetRect(CRect(1000, 1000, 3000, 2000));
        Pages().AddElementToPage(object);
        view->OnToolCommand(ID_TOOL_OLE_ITEM);
        tool = Tool<CVTOleItem>(CVEKView::kOleItemTool);
        ASSERT_EQ(view->GetCurrentTool(), tool);
    }
    void DragTo(int x, int y) { MoveTo(x, y, Qt::NoModifier, Qt::LeftButton); }

    COleObjectElement* object = nullptr;
    CVTOleItem* tool = nullptr;
};

} // namespace

TEST_F(OleItemToolTest, TheToolSelectsAndDragsTheObjectAsOneUndoStep)
{
    EXPECT_EQ(view->GetToolCursorId(), CVTOleItem::kCursor);
    MoveTo(1500, 1500);
    Press(1500, 1500);
    EXPECT_EQ(tool->GetElement(), object);
    EXPECT_TRUE(tool->HasPendingStep());
    DragTo(2000, 1800);
    // The rubber frame follows; the object stays until the release.
    EXPECT_EQ(tool->GetTracker().GetRect(), CRect(150, 130, 350, 230));
    EXPECT_EQ(object->GetRect(), CRect(1000, 1000, 3000, 2000));
    // The frame is drawn dotted along the new right edge, beyond the
    // object.
    const QImage shown = RenderView();
    int dark = 0;
    for (int y = 1400; y <= 2200; y += 100) dark += DarkNear(shown, 3500, y, 1) ? 1 : 0;
    EXPECT_GE(dark, 7);
    Release(2000, 1800);
    EXPECT_EQ(object->GetRect(), CRect(1500, 1300, 3500, 2300));
    EXPECT_FALSE(tool->HasPendingStep());
    EXPECT_EQ(doc.UndoCount(), 1);
    // Undo now reaches the document.
    view->OnEditUndo();
    EXPECT_EQ(static_cast<COleObjectElement*>(Page()->Elements().GetHead())->GetRect(), CRect(1000, 1000, 3000, 2000));
    EXPECT_EQ(tool->GetElement(), nullptr);
}

TEST_F(OleItemToolTest, ADragIsPutBackByUndoOrAChangeOfTool)
{
    MoveTo(1500, 1500);
    Press(1500, 1500);
    DragTo(2500, 2500);
    view->OnEditUndo();
    EXPECT_FALSE(tool->GetTracker().IsTracking());
    Release(2500, 2500);
    EXPECT_EQ(object->GetRect(), CRect(1000, 1000, 3000, 2000));

    Press(1500, 1500);
    DragTo(2500, 2500);
    view->OnToolCommand(view->CommandOfTool(CVEKView::kCurveTool));
    Release(2500, 2500);
    EXPECT_EQ(object->GetRect(), CRect(1000, 1000, 3000, 2000));
    EXPECT_EQ(doc.UndoCount(), 0);
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(OleItemToolTest, PressesAndKeysThatChangeNothingTakeNoStep)
{
    // A press without a move, a double click, a press on the paper, a right
    // click on the paper, and the keys of other tools.
    Click(1500, 1500);
    EXPECT_EQ(tool->GetElement(), object);
    DoubleClick(1600, 1600);
    EXPECT_EQ(tool->GetElement(), object);
    Key(Qt::Key_Space);
    Shift();
    EXPECT_EQ(view->GetScale(), kScale);
    RightClick(6000, 6000);
    EXPECT_EQ(view->GetOleContextMenu(), nullptr);
    Click(6000, 6000);
    EXPECT_EQ(tool->GetElement(), nullptr);
    EXPECT_EQ(object->GetRect(), CRect(1000, 1000, 3000, 2000));
    EXPECT_EQ(doc.UndoCount(), 0);
    EXPECT_FALSE(doc.IsModified());
    // Undo with nothing to undo beeps and changes nothing.
    view->OnEditUndo();
    EXPECT_EQ(Pages().GetElementCount(), 1);
}

TEST_F(OleItemToolTest, DeleteTakesTheSelectedObject)
{
    Key(Qt::Key_Delete);
    EXPECT_EQ(Pages().GetElementCount(), 1);
    Click(1500, 1500);
    Key(Qt::Key_Delete);
    EXPECT_EQ(Pages().GetElementCount(), 0);
    EXPECT_EQ(tool->GetElement(), nullptr);
    EXPECT_EQ(doc.UndoCount(), 1);
}
