#include "ViewTestSupport.h"

#include "app/CVTZoom.h"
#include "geometry/Distance.h"
#include "res/CommandIds.h"
#include "res/StringTable.h"

namespace {

class ZoomToolTest : public ViewFixture {
protected:
    void SetUp() override
    {
        ViewFixture::SetUp();
        view->OnToolCommand(ID_TOOL_ZOOM);
        zoom = dynamic_cast<CVTZoom*>(view->GetCurrentTool());
        ASSERT_NE(zoom, nullptr);
        view->SetViewTransform(20.0, -1000, -1000);
    }
    double FitScale() const
    {
        return std::max(21000.0 / (drawRect.Width() - 7), 29700.0 / (drawRect.Height() - 7));
    }
    CVTZoom* zoom = nullptr;
};

} // namespace

TEST_F(ZoomToolTest, TwoClicksShowTheSpannedRectangle)
{
    const CPoint a = view->DeviceToModelPoint(100, 50);
    const CPoint b = view->DeviceToModelPoint(300, 250);
    Click(*view, {100, 50});
    EXPECT_TRUE(zoom->HasPendingStep());
    Move(*view, {300, 250});
    Click(*view, {300, 250});
    EXPECT_FALSE(zoom->HasPendingStep());

    // The taller side fills the window's height, centred.
    EXPECT_NEAR(view->GetScale(), (b.y - a.y + 2.0) / drawRect.Height(), 1e-9);
    const CPoint centre = view->ModelToDevicePoint((a.x + b.x) / 2, (a.y + b.y) / 2);
    EXPECT_NEAR(centre.x, (drawRect.Width() - 1) / 2.0, 1);
    EXPECT_NEAR(centre.y, (drawRect.Height() - 1) / 2.0, 1);
}

TEST_F(ZoomToolTest, TwoClicksOnOnePointShowThatPointLarge)
{
    const CPoint p = view->DeviceToModelPoint(200, 200);
    Click(*view, {200, 200});
    Click(*view, {200, 200});
    // A one-unit box would magnify past anything the rulers and scroll
    // bars can show: it stops where the wheel stops, the point centred.
    EXPECT_DOUBLE_EQ(view->GetScale(), 21000.0 / CVEKView::kZoomInLimit);
    const CPoint d = view->ModelToDevicePoint(p.x, p.y);
    EXPECT_NEAR(d.x, (drawRect.Width() - 1) / 2.0, 2);
    EXPECT_NEAR(d.y, (drawRect.Height() - 1) / 2.0, 2);
}

TEST_F(ZoomToolTest, ShiftOrCtrlClickZoomsOutAboutThePoint)
{
    for (Qt::KeyboardModifier modifier : {Qt::ShiftModifier, Qt::ControlModifier}) {
        view->SetViewTransform(20.0, -1000, -1000);
        const CPoint p = view->DeviceToModelPoint(150, 120);
        Click(*view, {150, 120}, Qt::LeftButton, modifier);
        EXPECT_NEAR(view->GetScale(), 20.0 / 0.8, 1e-9);
        const CPoint d = view->ModelToDevicePoint(p.x, p.y);
        EXPECT_NEAR(d.x, 150, 1);
        EXPECT_NEAR(d.y, 120, 1);
        EXPECT_FALSE(zoom->HasPendingStep());
    }
}

TEST_F(ZoomToolTest, ShiftClickWithAFirstCornerEndsTheRectangle)
{
    Click(*view, {100, 100});
    Click(*view, {200, 150}, Qt::LeftButton, Qt::ShiftModifier);
    EXPECT_FALSE(zoom->HasPendingStep());
    EXPECT_LT(view->GetScale(), 20.0);
}

TEST_F(ZoomToolTest, RightClickFitsThePageOrItsWidthAndDropsTheCorner)
{
    Click(*view, {100, 100});
    Click(*view, {10, 10}, Qt::RightButton);
    EXPECT_FALSE(zoom->HasPendingStep());
    EXPECT_DOUBLE_EQ(view->GetScale(), FitScale());

    view->SetViewTransform(20.0, -1000, -1000);
    const int y = view->DeviceToModelPoint(0, 300).y;
    Click(*view, {10, 300}, Qt::RightButton, Qt::ShiftModifier);
    EXPECT_DOUBLE_EQ(view->GetScale(), 21000.0 / (drawRect.Width() - 7));
    EXPECT_NEAR(view->ModelToDevicePoint(0, y).y, 300, 1);
}

TEST_F(ZoomToolTest, UndoDropsTheCornerWithoutTouchingTheDocument)
{
    doc.SaveUndoState();
    Click(*view, {100, 100});
    ASSERT_TRUE(view->CanEditUndo());
    view->OnEditUndo();
    EXPECT_FALSE(zoom->HasPendingStep());
    EXPECT_EQ(doc.UndoCount(), 1);
    EXPECT_EQ(view->GetScale(), 20.0);

    Click(*view, {100, 100});
    view->OnEditCancel();
    EXPECT_FALSE(zoom->HasPendingStep());
}

TEST_F(ZoomToolTest, TheRubberRectangleFollowsTheMouse)
{
    Click(*view, {100, 100});
    Move(*view, {250, 200});
    const QImage shot = Render(*view);
    const COLORREF prompt = Settings().m_crPromptColor1;
    EXPECT_EQ(PixelAt(shot, 180, 100), prompt);
    EXPECT_EQ(PixelAt(shot, 250, 150), prompt);
    EXPECT_EQ(PixelAt(shot, 180, 150), Settings().m_crPaperColor);

    // Switching tools drops the rectangle.
    view->OnToolCommand(ID_TOOL_SELECT);
    EXPECT_EQ(PixelAt(Render(*view), 180, 100), Settings().m_crPaperColor);
}

TEST_F(ZoomToolTest, CursorAndPromptShowTheMode)
{
    EXPECT_EQ(view->GetToolCursorId(), CVTZoom::kZoomInCursor);
    EXPECT_EQ(view->GetStatusPrompt(), LoadResString(38000));
    SendKey(*view, QEvent::KeyPress, Qt::Key_Shift, Qt::ShiftModifier);
    EXPECT_EQ(view->GetToolCursorId(), CVTZoom::kZoomOutCursor);
    SendKey(*view, QEvent::KeyRelease, Qt::Key_Shift);
    EXPECT_EQ(view->GetToolCursorId(), CVTZoom::kZoomInCursor);
    Move(*view, {20, 20}, Qt::ControlModifier);
    EXPECT_EQ(view->GetToolCursorId(), CVTZoom::kZoomOutCursor);
    Move(*view, {20, 20});
    EXPECT_EQ(view->GetToolCursorId(), CVTZoom::kZoomInCursor);
}
