#include "ViewTestSupport.h"

#include "app/CVectorTool.h"
#include "app/CZoomPreview.h"
#include "geometry/Distance.h"
#include "model/CCurveNode.h"
#include "model/CImageElement.h"
#include "model/COpenCurveElement.h"
#include "model/CPage.h"
#include "model/CSharedPoint.h"
#include "platform/CArchive.h"
#include "tools/CVTSymmetricDraw.h"
#include "res/CommandIds.h"

#include <QPainter>
#include <QScrollBar>
#include <QEventLoop>
#include <QTimer>
#include <QTransform>
#include <QWindow>

#include <algorithm>
#include <climits>
#include <cmath>

// The platform's mouse entry that QTest drives: events pass through the
// application's double-click detection as real ones do.
Q_GUI_EXPORT void qt_handleMouseEvent(QWindow* window, const QPointF& local, const QPointF& global,
                                      Qt::MouseButtons state, Qt::MouseButton button, QEvent::Type type,
                                      Qt::KeyboardModifiers mods, int timestamp);

namespace {

using ViewTest = ViewFixture;

std::vector<std::string> Log(std::initializer_list<const char*> entries)
{
    return std::vector<std::string>(entries.begin(), entries.end());
}

} // namespace

// --- Tools ------------------------------------------------------------------------

TEST_F(ViewTest, OwnsTheTwentyThreeToolsAndStartsWithTheOpenCurve)
{
    ASSERT_EQ(view->ToolCount(), 23);
    for (int i = 0; i < view->ToolCount(); ++i) EXPECT_NE(dynamic_cast<CVectorTool*>(view->GetTool(i)), nullptr) << i;
    EXPECT_EQ(view->GetCurrentTool(), view->GetTool(CVEKView::kCurveTool));
    EXPECT_EQ(view->GetCurrentToolCmd(), UINT(ID_TOOL_CURVE));
    EXPECT_TRUE(view->IsToolCommandChecked(ID_TOOL_CURVE));
    EXPECT_FALSE(view->IsToolCommandChecked(ID_TOOL_ZOOM));
}

TEST_F(ViewTest, EveryToolCommandMakesItsToolCurrent)
{
    for (int index = 0; index < view->ToolCount(); ++index) {
        const UINT command = view->CommandOfTool(index);
        if (command == ID_TOOL_SYMMETRIC_DRAW) continue;
        ASSERT_TRUE(view->OnToolCommand(command));
        EXPECT_EQ(view->GetCurrentTool(), view->GetTool(index)) << command;
        EXPECT_TRUE(view->IsToolCommandChecked(command));
    }
    EXPECT_FALSE(view->OnToolCommand(ID_EDIT_CANCEL));
}

TEST_F(ViewTest, SwitchingDeactivatesTheOldToolThenActivatesTheNew)
{
    Spy(CVEKView::kCurveTool, "curve");
    Spy(CVEKView::kSelectTool, "select");
    view->OnToolCommand(ID_TOOL_SELECT);
    EXPECT_EQ(log, Log({"curve:Deactivate", "select:Activate"}));

    // Choosing the current tool again restarts it without deactivating it.
    log.clear();
    view->OnToolCommand(ID_TOOL_SELECT);
    EXPECT_EQ(log, Log({"select:Activate"}));
}

TEST_F(ViewTest, SymmetricDrawingDrivesTheDrawingToolsAsSubTools)
{
    auto* symmetric = dynamic_cast<CVTSymmetricDraw*>(view->GetTool(CVEKView::kSymmetricDrawTool));
    ASSERT_NE(symmetric, nullptr);

    view->OnToolCommand(ID_TOOL_ELLIPSE); // ellipse
    view->OnToolCommand(ID_TOOL_SYMMETRIC_DRAW);
    EXPECT_EQ(view->GetCurrentTool(), symmetric);
    EXPECT_EQ(symmetric->GetSubToolIndex(), 4);
    EXPECT_TRUE(view->IsToolCommandChecked(ID_TOOL_SYMMETRIC_DRAW));
    EXPECT_TRUE(view->IsToolCommandChecked(ID_TOOL_ELLIPSE));

    view->OnToolCommand(ID_TOOL_RECTANGLE); // rectangle: a sub-tool, the mode stays
    EXPECT_EQ(view->GetCurrentTool(), symmetric);
    EXPECT_EQ(symmetric->GetSubToolIndex(), 3);
    EXPECT_TRUE(view->IsToolCommandChecked(ID_TOOL_RECTANGLE));
    EXPECT_FALSE(view->IsToolCommandChecked(ID_TOOL_ELLIPSE));

    view->OnToolCommand(ID_TOOL_FILL); // fill: no sub-tool, leaves the mode
    EXPECT_EQ(view->GetCurrentTool(), view->GetTool(CVEKView::kFillTool));
    EXPECT_FALSE(view->IsToolCommandChecked(ID_TOOL_SYMMETRIC_DRAW));
}

TEST_F(ViewTest, SymmetricDrawingTwiceReturnsToTheToolBefore)
{
    Spy(CVEKView::kFreehandTool, "freehand");
    view->OnToolCommand(ID_TOOL_FREEHAND);
    log.clear();
    view->OnToolCommand(ID_TOOL_SYMMETRIC_DRAW);
    // Reset, not Deactivate: the user goes on with the same tool, mirrored.
    EXPECT_EQ(log, Log({"freehand:Reset"}));
    log.clear();
    view->OnToolCommand(ID_TOOL_SYMMETRIC_DRAW);
    EXPECT_EQ(view->GetCurrentTool(), view->GetTool(CVEKView::kFreehandTool));
    EXPECT_EQ(view->GetCurrentToolCmd(), UINT(ID_TOOL_FREEHAND));
    EXPECT_EQ(log, Log({"freehand:Activate"}));
}

// --- Mouse ------------------------------------------------------------------------

TEST_F(ViewTest, ClicksReachTheToolInPageUnitsAtEveryScale)
{
    struct Case {
        double scale;
        int originX, originY;
        QPoint device;
    };
    const Case cases[] = {
        {1.0, 0, 0, {10, 20}},
        {25.0, -1000, -2000, {100, 50}},
        {3.7, 500, 12345, {333, 211}},
        {0.05, 10000, 10000, {1, 399}},
    };
    for (const Case& c : cases) {
        SpyTool* spy = Spy(CVEKView::kCurveTool, "t");
        view->SetViewTransform(c.scale, c.originX, c.originY);
        log.clear();
        SendMouse(*view, QEvent::MouseButtonPress, c.device, Qt::LeftButton, Qt::ShiftModifier);
        const int x = c.originX + RoundToInt(c.device.x() * c.scale);
        const int y = c.originY + RoundToInt(c.device.y() * c.scale);
        ASSERT_EQ(log.size(), 1u);
        EXPECT_EQ(log[0], "t:LDown " + std::to_string(MK_LBUTTON | MK_SHIFT) + " " + std::to_string(x) + " " +
                              std::to_string(y));
        EXPECT_EQ(view->DeviceToModelPoint(c.device.x(), c.device.y()), CPoint(x, y));
        (void)spy;
    }
}

TEST_F(ViewTest, EachButtonReachesItsOperationWithItsFlags)
{
    Spy(CVEKView::kCurveTool, "t");
    view->SetViewTransform(10.0, 0, 0);
    SendMouse(*view, QEvent::MouseButtonPress, {5, 6}, Qt::RightButton, Qt::ControlModifier);
    SendMouse(*view, QEvent::MouseButtonRelease, {5, 6}, Qt::RightButton);
    SendMouse(*view, QEvent::MouseButtonRelease, {7, 8}, Qt::LeftButton);
    Move(*view, {1, 2});
    EXPECT_EQ(log, Log({"t:RDown 10 50 60", "t:RUp 0 50 60", "t:LUp 0 70 80", "t:Move 0 10 20"}));
}

TEST_F(ViewTest, ADoubleClickReachesTheToolAsDownUpDoubleClickUp)
{
    Spy(CVEKView::kCurveTool, "t");
    view->SetViewTransform(1.0, 0, 0);
    QWindow* window = view->windowHandle();
    ASSERT_NE(window, nullptr);
    const QPointF p(40, 30);
    const QPointF g = window->mapToGlobal(p);
    int time = 1000;
    for (int click = 0; click < 2; ++click) {
        qt_handleMouseEvent(window, p, g, Qt::LeftButton, Qt::LeftButton, QEvent::MouseButtonPress, Qt::NoModifier,
                            time += 10);
        qt_handleMouseEvent(window, p, g, Qt::NoButton, Qt::LeftButton, QEvent::MouseButtonRelease,
                            Qt::NoModifier, time += 10);
    }
    QApplication::processEvents();
    std::vector<std::string> buttons;
    for (const std::string& entry : log)
        if (entry.find(":Move") == std::string::npos) buttons.push_back(entry);
    EXPECT_EQ(buttons, Log({"t:LDown 1 40 30", "t:LUp 0 40 30", "t:LDblClk 1 40 30", "t:LUp 0 40 30"}));
}

// --- Keys -------------------------------------------------------------------------

TEST_F(ViewTest, KeysReachTheirOperations)
{
    struct Case {
        QEvent::Type type;
        int key;
        Qt::KeyboardModifiers modifiers;
        const char* expected; // nullptr: nothing reaches the tool
    };
    const Case cases[] = {
        {QEvent::KeyPress, Qt::Key_7, Qt::NoModifier, "t:DigitDown 7"},
        {QEvent::KeyPress, Qt::Key_7, Qt::KeypadModifier, "t:DigitDown 7"},
        {QEvent::KeyRelease, Qt::Key_0, Qt::KeypadModifier, "t:DigitUp 0"},
        {QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier, "t:TabDown"},
        {QEvent::KeyPress, Qt::Key_Enter, Qt::KeypadModifier, "t:ReturnDown"},
        {QEvent::KeyPress, Qt::Key_Shift, Qt::ShiftModifier, "t:ShiftDown"},
        {QEvent::KeyRelease, Qt::Key_Shift, Qt::NoModifier, "t:ShiftUp"},
        {QEvent::KeyPress, Qt::Key_F5, Qt::NoModifier, "t:F5Down"},
        {QEvent::KeyRelease, Qt::Key_F5, Qt::NoModifier, "t:F5Up"},
        {QEvent::KeyPress, Qt::Key_PageDown, Qt::NoModifier, "t:PageDownDown"},
        {QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier, nullptr},
        {QEvent::KeyRelease, Qt::Key_Escape, Qt::NoModifier, "t:EscUp"},
        {QEvent::KeyRelease, Qt::Key_Left, Qt::NoModifier, nullptr},
    };
    Spy(CVEKView::kCurveTool, "t");
    for (const Case& c : cases) {
        log.clear();
        SendKey(*view, c.type, c.key, c.modifiers);
        if (c.expected)
            EXPECT_EQ(log, Log({c.expected})) << c.key;
        else
            EXPECT_TRUE(log.empty()) << c.key;
    }
}

TEST_F(ViewTest, AHeldKeyRepeatsItsPressButReleasesOnce)
{
    Spy(CVEKView::kCurveTool, "t");
    SendKey(*view, QEvent::KeyPress, Qt::Key_Space);
    SendKey(*view, QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier, true);
    SendKey(*view, QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, true);
    SendKey(*view, QEvent::KeyRelease, Qt::Key_Space);
    EXPECT_EQ(log, Log({"t:SpaceDown", "t:SpaceDown", "t:SpaceUp"}));
}

TEST_F(ViewTest, ArrowKeysPanOnlyWhenThereIsSomethingToSee)
{
    ASSERT_TRUE(view->hasFocus());
    SpyTool* spy = Spy(CVEKView::kCurveTool, "t");
    view->SetViewTransform(10.0, 100, 200);
    SendKey(*view, QEvent::KeyPress, Qt::Key_Left);
    EXPECT_EQ(view->GetOriginPoint(), CPoint(100, 200)); // empty page, nothing pending

    spy->pending = true;
    SendKey(*view, QEvent::KeyPress, Qt::Key_Down);
    EXPECT_EQ(view->GetOriginPoint(), CPoint(100, 400));

    spy->pending = false;
    AddBox(CRect(0, 0, 100, 100), RGB(255, 0, 0));
    SendKey(*view, QEvent::KeyPress, Qt::Key_Left);
    SendKey(*view, QEvent::KeyPress, Qt::Key_Up);
    EXPECT_EQ(view->GetOriginPoint(), CPoint(-100, 200));
}

TEST_F(ViewTest, PanningReplaysTheMouseAtItsNewPagePoint)
{
    Spy(CVEKView::kCurveTool, "t");
    view->SetViewTransform(2.0, 0, 0);
    AddBox(CRect(0, 0, 100, 100), RGB(255, 0, 0));
    Move(*view, {10, 10});
    log.clear();
    SendKey(*view, QEvent::KeyPress, Qt::Key_Right);
    EXPECT_EQ(log, Log({"t:Move 0 60 20"}));
}

TEST_F(ViewTest, KeypadPlusZoomsAboutTheMouse)
{
    view->SetViewTransform(10.0, 0, 0);
    Move(*view, {100, 80});
    SendKey(*view, QEvent::KeyPress, Qt::Key_Plus, Qt::KeypadModifier);
    EXPECT_NEAR(view->GetScale(), 10.0 / 1.1, 1e-9);
    EXPECT_EQ(view->DeviceToModelPoint(100, 80), CPoint(1000, 800));
    SendKey(*view, QEvent::KeyPress, Qt::Key_Minus, Qt::KeypadModifier);
    EXPECT_NEAR(view->GetScale(), 10.0 / 1.1 / 0.8, 1e-9);
}

// While the keypad zooms step after step, the view shows what it showed
// before, stretched to each new scale, and paints the page afresh once the
// steps have stopped for a moment.
TEST_F(ViewTest, KeypadZoomShowsThePreviousImageScaledUntilTheStepsStop)
{
    view->SetViewTransform(10.0, 0, 0);
    Move(*view, {400, 300});
    BoxElement* box = AddBox(CRect(1000, 1000, 3000, 2000), RGB(255, 0, 0));
    const QImage before = Render(*view);
    const int drawsBefore = box->drawCount;

    // Three steps in a row: 1.1 x 1.1 x 1.1 larger about the mouse, which
    // stays on model point (4000, 3000).
    for (int i = 0; i < 3; ++i)
        SendKey(*view, QEvent::KeyPress, Qt::Key_Plus, Qt::KeypadModifier, i > 0);
    const double scale = view->GetScale();
    ASSERT_NEAR(scale, 10.0 / 1.331, 1e-9);
    const CPoint origin = view->DeviceToModelPoint(0, 0);
    const QImage during = Render(*view);
    EXPECT_EQ(box->drawCount, drawsBefore);

    // What the view showed before, stretched by 1.331 about the mouse.
    QImage expected(during.size(), QImage::Format_RGB32);
    expected.fill(ToQColor(Settings().m_crOutsidePaperColor));
    {
        QPainter painter(&expected);
        painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
        const double k = 10.0 / scale;
        painter.setTransform(QTransform(k, 0, 0, k, -origin.x / scale, -origin.y / scale));
        painter.drawImage(QPointF(0, 0), before.copy(0, 0, drawRect.right, drawRect.bottom));
    }
    // Away from the tool's mark at the mouse: the box, stretched.
    const QRect area(0, 0, 350, 250);
    EXPECT_EQ(during.copy(area), expected.copy(area));

    // The steps stop: the page is painted at the new scale, box edges sharp
    // where the new mapping puts them.
    QEventLoop wait;
    QTimer::singleShot(CZoomPreview::kSettleMs + 100, &wait, &QEventLoop::quit);
    wait.exec();
    const QImage after = Render(*view);
    EXPECT_GT(box->drawCount, drawsBefore);
    const CPoint corner = view->ModelToDevicePoint(1000, 1000);
    EXPECT_EQ(PixelAt(after, corner.x + 1, corner.y + 1), RGB(255, 0, 0));
    EXPECT_NE(PixelAt(after, corner.x - 1, corner.y + 1), RGB(255, 0, 0));
    EXPECT_NE(after.copy(area), during.copy(area));
}

TEST_F(ViewTest, AChangeDuringAKeypadZoomIsPaintedAtOnce)
{
    view->SetViewTransform(10.0, 0, 0);
    Move(*view, {100, 80});
    Render(*view);
    SendKey(*view, QEvent::KeyPress, Qt::Key_Plus, Qt::KeypadModifier);
    BoxElement* box = AddBox(CRect(1000, 1000, 3000, 2000), RGB(0, 0, 255));
    const QImage image = Render(*view);
    const CPoint inside = view->ModelToDevicePoint(2000, 1500);
    EXPECT_EQ(PixelAt(image, inside.x, inside.y), RGB(0, 0, 255));
    EXPECT_GT(box->drawCount, 0);
}

// Out to the zoom-out limit and in again with the mouse where it was: the
// page comes back under the mouse. On the way out the origin that would
// keep the page there soon lies beyond the range of coordinates and the
// page slides towards a corner; on the way in the view closes in on the
// point the way out was about, not on the far end of the range that it
// shows under the mouse at the limit. A zoom at another pixel is about the
// point shown there, as ever.
TEST_F(ViewTest, KeypadZoomBackFromTheOutLimitReturnsToThePage)
{
    Spy(CVEKView::kCurveTool, "t"); // draws no mark at the mouse
    view->ZoomToFitPage();
    const double fit = view->GetScale();
    const CPoint middle = drawRect.CenterPoint();
    Move(*view, {middle.x, middle.y});
    const CPoint under = view->DeviceToModelPoint(middle.x, middle.y);
    AddBox(CRect(under.x - 2000, under.y - 2000, under.x + 2000, under.y + 2000), RGB(0, 160, 0));

    double before = 0.0;
    for (int presses = 0; view->GetScale() != before; ++presses) {
        ASSERT_LT(presses, 200);
        before = view->GetScale();
        SendKey(*view, QEvent::KeyPress, Qt::Key_Minus, Qt::KeypadModifier);
    }
    ASSERT_EQ(view->GetScale(), CVEKView::kZoomOutLimit);
    ASSERT_NE(view->ModelToDevicePoint(under.x, under.y), middle);

    for (int presses = 0; view->GetScale() > fit; ++presses) {
        ASSERT_LT(presses, 400);
        SendKey(*view, QEvent::KeyPress, Qt::Key_Plus, Qt::KeypadModifier);
    }
    const CPoint back = view->ModelToDevicePoint(under.x, under.y);
    EXPECT_NEAR(back.x, middle.x, 1);
    EXPECT_NEAR(back.y, middle.y, 1);
    // What the user sees once the steps stop: the page's middle under the
    // mouse.
    QEventLoop wait;
    QTimer::singleShot(CZoomPreview::kSettleMs + 100, &wait, &QEventLoop::quit);
    wait.exec();
    const QImage shot = Render(*view);
    EXPECT_EQ(PixelAt(shot, middle.x, middle.y), RGB(0, 160, 0));

    const QPoint elsewhere(middle.x - 100, middle.y + 50);
    Move(*view, elsewhere);
    const CPoint there = view->DeviceToModelPoint(elsewhere.x(), elsewhere.y());
    SendKey(*view, QEvent::KeyPress, Qt::Key_Plus, Qt::KeypadModifier);
    const CPoint kept = view->ModelToDevicePoint(there.x, there.y);
    EXPECT_NEAR(kept.x, elsewhere.x(), 1);
    EXPECT_NEAR(kept.y, elsewhere.y(), 1);
}

// --- Undo, redo, cancel -------------------------------------------------------------

TEST_F(ViewTest, UndoTakesBackThePendingStepBeforeTheDocument)
{
    SpyTool* spy = Spy(CVEKView::kCurveTool, "t");
    doc.SaveUndoState();
    doc.SaveUndoState();
    doc.Undo(); // one to undo, one to redo
    ASSERT_EQ(doc.UndoCount(), 1);
    ASSERT_TRUE(doc.CanRedo());

    spy->pending = true;
    log.clear();
    EXPECT_TRUE(view->CanEditUndo());
    EXPECT_FALSE(view->CanEditRedo());
    EXPECT_TRUE(view->CanEditCancel());
    view->OnEditUndo();
    EXPECT_EQ(log, Log({"t:UndoStep"}));
    EXPECT_EQ(doc.UndoCount(), 1);
    view->OnEditRedo();
    EXPECT_TRUE(doc.CanRedo());

    spy->pending = false;
    log.clear();
    EXPECT_FALSE(view->CanEditCancel());
    view->OnEditUndo();
    EXPECT_EQ(doc.UndoCount(), 0);
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log[0], "t:Reset");
    // Nothing left: the view beeps and changes nothing.
    log.clear();
    view->OnEditUndo();
    EXPECT_TRUE(log.empty());
}

TEST_F(ViewTest, CancelReachesOnlyAPendingStep)
{
    SpyTool* spy = Spy(CVEKView::kCurveTool, "t");
    view->OnEditCancel();
    EXPECT_TRUE(log.empty());
    spy->pending = true;
    view->OnEditCancel();
    EXPECT_EQ(log, Log({"t:Cancel"}));
}

// --- Mapping ----------------------------------------------------------------------

TEST_F(ViewTest, ZoomAtKeepsThePointUnderItsPixel)
{
    struct Case {
        double factor;
        CPoint point;
    };
    const Case cases[] = {{1.1, {5000, 7000}}, {0.8, {0, 0}}, {2.0, {12345, 300}}, {0.5, {-400, 29700}}};
    for (const Case& c : cases) {
        view->SetViewTransform(20.0, -500, -700);
        const CPoint before = view->ModelToDevicePoint(c.point.x, c.point.y);
        view->ZoomAt(c.factor, c.point.x, c.point.y);
        EXPECT_NEAR(view->GetScale(), 20.0 / c.factor, 1e-9);
        const CPoint after = view->ModelToDevicePoint(c.point.x, c.point.y);
        EXPECT_NEAR(after.x, before.x, 1) << c.factor;
        EXPECT_NEAR(after.y, before.y, 1) << c.factor;
    }
}

TEST_F(ViewTest, ZoomingInStopsWhereTheScrollRangesRunOut)
{
    view->ZoomToFitPage();
    double scale = view->GetScale();
    for (int i = 0; i < 200; ++i) view->ZoomAt(1.1, 10000, 10000);
    scale = view->GetScale();
    EXPECT_GE(view->GetScrollInfo(Qt::Horizontal).nMax, 28000);
    EXPECT_GE(view->GetScrollInfo(Qt::Vertical).nMax, 28000);
    view->ZoomAt(1.1, 10000, 10000);
    EXPECT_EQ(view->GetScale(), scale);
    view->ZoomAt(0.8, 10000, 10000);
    EXPECT_GT(view->GetScale(), scale);
}

TEST_F(ViewTest, FitPageCentresTheWholePaper)
{
    Pages().SetPaperSize(10000, 10000); // square paper in a wide window
    view->ZoomToFitPage();
    const int w = drawRect.Width();
    const int h = drawRect.Height();
    ASSERT_GT(w, h);
    EXPECT_DOUBLE_EQ(view->GetScale(), 10000.0 / (h - 7));
    const CPoint tl = view->ModelToDevicePoint(0, 0);
    const CPoint br = view->ModelToDevicePoint(10000, 10000);
    EXPECT_GE(tl.y, 3);
    EXPECT_LE(br.y, h - 1 - 3);
    EXPECT_NEAR(tl.x, (w - 1) - br.x, 1);
}

TEST_F(ViewTest, FitWidthKeepsTheRowOfThePoint)
{
    view->SetViewTransform(50.0, 0, -1000);
    const int row = view->ModelToDevicePoint(0, 15000).y;
    view->FitPageWidthAt(15000);
    EXPECT_DOUBLE_EQ(view->GetScale(), 21000.0 / (drawRect.Width() - 7));
    EXPECT_NEAR(view->ModelToDevicePoint(0, 15000).y, row, 1);
    EXPECT_NEAR(view->ModelToDevicePoint(0, 0).x, (drawRect.Width() - 1) - view->ModelToDevicePoint(21000, 0).x, 1);
}

TEST_F(ViewTest, ZoomToRectShowsTheRectangleCentred)
{
    view->ZoomToRect(2000, 3000, 6000, 4000);
    const CPoint tl = view->ModelToDevicePoint(2000, 3000);
    const CPoint br = view->ModelToDevicePoint(6000, 4000);
    EXPECT_NEAR(tl.x, 0, 1);
    EXPECT_NEAR(br.x, drawRect.Width() - 1, 1);
    EXPECT_NEAR((tl.y + br.y) / 2.0, (drawRect.Height() - 1) / 2.0, 1);
}

TEST_F(ViewTest, ZoomingIntoAPointStopsAtTheWheelsLimit)
{
    view->ZoomToRect(8000, 9000, 8001, 9001);
    EXPECT_NEAR(view->GetScale(), 21000.0 / CVEKView::kZoomInLimit, 1e-9);
    const CPoint centre = view->ModelToDevicePoint(8000, 9000);
    EXPECT_NEAR(centre.x, (drawRect.Width() - 1) / 2.0, 3);
    EXPECT_NEAR(centre.y, (drawRect.Height() - 1) / 2.0, 3);
}

// Zoomed out far, the zoom box covers the whole range of coordinates;
// zooming to it, and to boxes at the ends of the range, keeps every sum of
// coordinates defined (the sanitizer build catches one that is not) and
// shows the box.
TEST_F(ViewTest, ZoomToRectAfterAnExtremeZoomOut)
{
    while (view->GetScale() < 2e7) view->ZoomAt(0.5, 10500, 14850);
    Render(*view);
    const CPoint low = view->DeviceToModelPoint(0, 0);
    const CPoint high = view->DeviceToModelPoint(drawRect.Width() - 1, drawRect.Height() - 1);
    ASSERT_LT(low.x, -2000000000);
    const CRect boxes[] = {
        {low.x, low.y, high.x, high.y},
        {INT_MIN, INT_MIN, INT_MAX, INT_MAX},
        {INT_MAX - 10, INT_MAX - 10, INT_MAX, INT_MAX},
        {INT_MIN, INT_MIN, INT_MIN + 10, INT_MIN + 10},
        {INT_MIN, 0, INT_MAX, 10},
    };
    for (const CRect& box : boxes) {
        SCOPED_TRACE(testing::Message() << box.left << "," << box.top << " " << box.right << "," << box.bottom);
        view->ZoomToRect(box.left, box.top, box.right, box.bottom);
        const double scale = view->GetScale();
        ASSERT_TRUE(std::isfinite(scale));
        ASSERT_GT(scale, 0.0);
        // The box's middle shows in the window (in its middle unless the
        // view would have to begin beyond the coordinates).
        const int middleX = int((double(box.left) + box.right) / 2.0);
        const int middleY = int((double(box.top) + box.bottom) / 2.0);
        const CPoint shown = view->ModelToDevicePoint(middleX, middleY);
        EXPECT_TRUE(drawRect.PtInRect(shown)) << shown.x << "," << shown.y;
        Render(*view);
    }
}

// Lines and a picture reaching to the ends of the coordinates, shown at
// the zoom-in limit at either end and at the page: their device pixels lie
// beyond an int, and the view's paint (paper, margins, elements, rulers of
// the scroll bars) must keep every sum defined.
TEST_F(ViewTest, FarPointsPaintAtTheZoomInLimit)
{
    CPage* page = Pages().GetCurrentPage();
    for (const CPoint far : {CPoint(INT_MAX, INT_MAX), CPoint(INT_MIN, INT_MIN), CPoint(INT_MAX, 5000)}) {
        CCurveNodeList nodes;
        for (const CPoint p : {CPoint(5000, 5000), far}) {
            auto* point = new CSharedPoint(page, p.x, p.y);
            page->AddPoint(point);
            nodes.AddTail(new CCurveNode(point, NODE_CORNER));
        }
        Pages().AddElementToPage(new COpenCurveElement(page, 0, CLineAttr(10), RGB(255, 0, 0), nodes, ARROW_NONE,
                                                       300, 53.0, ARROW_NONE, 300, 53.0));
    }
    QImage pixels(2, 2, QImage::Format_ARGB32);
    pixels.fill(Qt::blue);
    CArchive record;
    for (const CPoint corner : {CPoint(6000, 6000), CPoint(INT_MAX, 6000), CPoint(INT_MAX, INT_MAX),
                                CPoint(6000, INT_MAX)})
        record << corner;
    CPixelBlock(pixels).Store(record);
    CArchive in(record.Buffer());
    auto* picture = new CImageElement(page, 0);
    ASSERT_EQ(picture->Load(in), 1);
    Pages().AddElementToPage(picture);

    const CRect boxes[] = {
        {INT_MAX - 10, INT_MAX - 10, INT_MAX, INT_MAX},
        {INT_MIN, INT_MIN, INT_MIN + 10, INT_MIN + 10},
        {1600000000, 1600000000, 1600000001, 1600000001},
        {5000, 5000, 5001, 5001},
    };
    for (const CRect& box : boxes) {
        SCOPED_TRACE(testing::Message() << box.left << "," << box.top);
        view->ZoomToRect(box.left, box.top, box.right, box.bottom);
        EXPECT_NEAR(view->GetScale(), 21000.0 / CVEKView::kZoomInLimit, 1e-9);
        const QImage shot = Render(*view);
        if (box.left == 5000) {
            // The lines start at the middle of the window.
            const CPoint d = view->ModelToDevicePoint(5000, 5000);
            EXPECT_EQ(PixelAt(shot, d.x + 20, d.y + 20), RGB(255, 0, 0));
        }
    }
}

TEST_F(ViewTest, UnusablePapersAndWindowsKeepTheMapping)
{
    view->SetViewTransform(3.0, 7, 9);
    Pages().SetPaperSize(10, 10);
    view->ZoomToFitPage();
    view->FitPageWidthAt(100);
    EXPECT_EQ(view->GetScale(), 3.0);
    EXPECT_EQ(view->GetOriginPoint(), CPoint(7, 9));
    EXPECT_FALSE(view->SetViewTransform(0.0, 1, 1));
    EXPECT_FALSE(view->SetViewTransform(std::nan(""), 1, 1));
    EXPECT_EQ(view->GetScale(), 3.0);
}

// --- Scrolling and the wheel -----------------------------------------------------------

TEST_F(ViewTest, ScrollBarsMoveTheOriginByPixels)
{
    Spy(CVEKView::kCurveTool, "t");
    view->SetViewTransform(10.0, 0, 0);
    QScrollBar* vbar = view->GetScrollBarCtrl(Qt::Vertical);
    QScrollBar* hbar = view->GetScrollBarCtrl(Qt::Horizontal);
    ASSERT_NE(vbar, nullptr);
    ASSERT_NE(hbar, nullptr);

    vbar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(view->GetOriginPoint(), CPoint(0, 10));
    vbar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(view->GetOriginPoint(), CPoint(0, 10 + 10 * (drawRect.Height() / 2)));
    hbar->triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(view->GetOriginPoint().x, -10);

    // A click lands where the scrolled view shows it.
    const CPoint origin = view->GetOriginPoint();
    log.clear();
    SendMouse(*view, QEvent::MouseButtonPress, {3, 4}, Qt::LeftButton);
    EXPECT_EQ(log, Log({("t:LDown 1 " + std::to_string(origin.x + 30) + " " + std::to_string(origin.y + 40)).c_str()}));
}

TEST_F(ViewTest, ScrollingStopsAtTheEndOfTheRange)
{
    view->SetViewTransform(10.0, 0, 0);
    QScrollBar* vbar = view->GetScrollBarCtrl(Qt::Vertical);
    const auto info = view->GetScrollInfo(Qt::Vertical);
    vbar->triggerAction(QAbstractSlider::SliderToMaximum);
    const int pos = view->GetScrollInfo(Qt::Vertical).nPos;
    EXPECT_EQ(pos, info.nMax - info.nPage + 1);
    EXPECT_EQ(view->GetOriginPoint().y, 10 * pos);
    vbar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(view->GetOriginPoint().y, 10 * pos);
}

TEST_F(ViewTest, TheWheelScrollsButNeverLosesThePaper)
{
    ASSERT_TRUE(view->hasFocus());
    const int h = drawRect.Height();
    struct Case {
        int startY, delta, expectedY;
    };
    const Case cases[] = {
        {0, -120, 1200},                          // towards the user: what lies below
        {1000, 120, -200},                        // away: what lies above
        {29000, -1200, 29700 - 50},               // stops 5 pixels above the paper's bottom
        {-10 * (h - 20), 1200, -10 * (h - 5)},    // stops 5 pixels below the paper's top
    };
    for (const Case& c : cases) {
        view->SetViewTransform(10.0, 0, c.startY);
        SendWheel(*view, {50, 50}, c.delta);
        EXPECT_EQ(view->GetOriginPoint().y, c.expectedY) << c.startY << " " << c.delta;
    }
}

// --- Painting ---------------------------------------------------------------------

TEST_F(ViewTest, PaintShowsPaperMarginsAndElementsAtTheirPixels)
{
    const CSystemSettings& s = Settings();
    Pages().SetMargins(1000, 1000, 1000, 1000);
    AddBox(CRect(5000, 6000, 9000, 8000), RGB(255, 0, 0));
    view->SetViewTransform(50.0, -1000, -1000);
    const QImage shot = Render(*view);

    auto at = [&](int x, int y) {
        const CPoint d = view->ModelToDevicePoint(x, y);
        return PixelAt(shot, d.x, d.y);
    };
    EXPECT_EQ(PixelAt(shot, 5, 5), s.m_crOutsidePaperColor);
    EXPECT_EQ(at(3000, 3000), s.m_crPaperColor);
    EXPECT_EQ(at(7000, 7000), RGB(255, 0, 0));
    EXPECT_EQ(at(4900, 7000), s.m_crPaperColor);
    EXPECT_EQ(at(9100, 7000), s.m_crPaperColor);
    EXPECT_EQ(at(0, 10000), RGB(0, 0, 0));    // the paper's outline
    EXPECT_EQ(at(1000, 10000), s.m_crMarginFrameColor);
    EXPECT_EQ(at(21000 - 1000, 10000), s.m_crMarginFrameColor);
}

TEST_F(ViewTest, ToolFeedbackAloneRepaintsFromThePageImage)
{
    class BoxTool : public SpyTool {
    public:
        using SpyTool::SpyTool;
        void Draw(CDC* dc, double scale, int ox, int oy, const CRect&) override
        {
            DrawRubberRect(dc, 1000, 1000, corner, corner, scale, ox, oy);
        }
        int corner = 3000;
    };
    auto tool = std::make_unique<BoxTool>(view.get(), "t", &log);
    BoxTool* boxTool = tool.get();
    view->ReplaceTool(CVEKView::kCurveTool, std::move(tool));
    BoxElement* box = AddBox(CRect(5000, 5000, 6000, 6000), RGB(0, 0, 255));
    view->SetViewTransform(40.0, -500, -500);

    QImage shot = Render(*view);
    const int draws = box->drawCount;
    EXPECT_EQ(PixelAt(shot, view->ModelToDevicePoint(2000, 1000).x, view->ModelToDevicePoint(2000, 1000).y),
              Settings().m_crPromptColor1);

    boxTool->corner = 4000;
    view->InvalidateFeedback();
    shot = Render(*view);
    EXPECT_EQ(box->drawCount, draws);
    const CPoint edge = view->ModelToDevicePoint(4000, 2000);
    EXPECT_EQ(PixelAt(shot, edge.x, edge.y), Settings().m_crPromptColor1);
    const CPoint oldEdge = view->ModelToDevicePoint(3000, 2000);
    EXPECT_EQ(PixelAt(shot, oldEdge.x, oldEdge.y), Settings().m_crPaperColor);
    EXPECT_EQ(PixelAt(shot, view->ModelToDevicePoint(5500, 5500).x, view->ModelToDevicePoint(5500, 5500).y),
              RGB(0, 0, 255));

    view->Invalidate();
    Render(*view);
    EXPECT_GT(box->drawCount, draws);
    // A new mapping needs a new page image too.
    const int redrawn = box->drawCount;
    view->SetOrigin(0, 0);
    Render(*view);
    EXPECT_GT(box->drawCount, redrawn);
}

// --- Pages ------------------------------------------------------------------------

TEST_F(ViewTest, PageTabsFollowTheDocumentAndSelectPages)
{
    Pages().AppendPage();
    Pages().AppendPage();
    Pages().SetCurrentPageIndex(1);
    Q_EMIT doc.ContentReplaced();
    EXPECT_EQ(view->GetSheetCount(), 3);
    EXPECT_EQ(view->GetCurrentSheet(), 2);
    EXPECT_EQ(Pages().GetCurrentPageIndex(), 1);
}

TEST_F(ViewTest, ANewDocumentIsFittedIntoTheWindow)
{
    view->SetViewTransform(1.0, 0, 0);
    ASSERT_TRUE(doc.OnNewDocument());
    EXPECT_DOUBLE_EQ(view->GetScale(),
                     std::max(21000.0 / (drawRect.Width() - 7), 29700.0 / (drawRect.Height() - 7)));
}
