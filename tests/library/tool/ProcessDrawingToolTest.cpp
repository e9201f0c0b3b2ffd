// The process-drawing tool driven through the view as a user drives it:
// selecting by clicks and boxes, the transform frame's move, turn and
// scaling drags, applying as one undo step, cancelling, cutting, and what
// it draws over the page.
#include "library/tool/CVTProcessDrawing.h"

#include "tests/tools/CurveTestSupport.h"

#include "app/CDataTransfer.h"
#include "model/CImageElement.h"
#include "model/CTextElement.h"
#include "res/CommandIds.h"
#include "res/StringTable.h"
#include "tests/ui/ScreenshotSupport.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include <algorithm>

namespace {

constexpr int kTool = CVEKView::kProcessDrawingTool;
constexpr QRgb kRed = 0xFF0000; // the first prompt colour, 0x0000FF as COLORREF

class ProcessDrawingTest : public CurveViewFixture {
protected:
    void SetUp() override
    {
        CurveViewFixture::SetUp();
        SelectTool(kTool);
    }
    CVTProcessDrawing* Tool() { return CurveViewFixture::Tool<CVTProcessDrawing>(kTool); }

    // A rectangle 4000 x 2000 with its top-left corner at (x, y).
    CCurveElement* AddBox(int x, int y)
    {
        return AddCurve({{x, y}, {x + 4000, y}, {x + 4000, y + 2000}, {x, y + 2000}}, 1);
    }
    // Click, move and click: a drag of the frame.
    void FrameDrag(CPoint from, CPoint to, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        Click(from.x, from.y, modifiers);
        MoveTo((from.x + to.x) / 2, (from.y + to.y) / 2, modifiers);
        MoveTo(to.x, to.y, modifiers);
        Click(to.x, to.y, modifiers);
    }
    CPoint Corner(int i) { return Tool()->GetFrame().P(i); }
    CPoint Centre() { return Tool()->GetFrame().Centre(); }
};

} // namespace

// --- Selecting -----------------------------------------------------------------------------

TEST_F(ProcessDrawingTest, SelectsByClickAndByBox)
{
    CCurveElement* a = AddCurve({{1000, 1000}, {5000, 1000}}, 0);
    CCurveElement* b = AddCurve({{1000, 3000}, {5000, 3000}}, 0);
    CCurveElement* c = AddCurve({{1000, 8000}, {5000, 8000}}, 0);
    EXPECT_EQ(view->GetStatusPrompt(), LoadResString(CVTProcessDrawing::kPromptFirstClick));
    EXPECT_EQ(view->GetToolCursorId(), CVTProcessDrawing::kCursorSelect);

    Click(3000, 1000);
    Click(3000, 1000);
    EXPECT_EQ(Tool()->GetSelectedElements(), std::vector<CGraphElement*>{a});
    EXPECT_EQ(view->GetStatusPrompt(), LoadResString(CVTProcessDrawing::kPromptSelect));

    // A box from an empty spot gathers what it meets.
    Click(500, 2500);
    MoveTo(6000, 3500);
    EXPECT_TRUE(Tool()->IsBoxSelecting());
    EXPECT_EQ(Tool()->GetBoxHits(), std::vector<CGraphElement*>{b});
    EXPECT_EQ(view->GetStatusPrompt(), LoadResString(CVTProcessDrawing::kPromptBox));
    Click(6000, 3500);
    EXPECT_EQ(Tool()->GetSelectedElements(), (std::vector<CGraphElement*>{a, b}));
    EXPECT_FALSE(Tool()->HasSelection());
    EXPECT_FALSE(view->IsCommandEnabled(ID_SAVE_TO_LIBRARY));

    RightClick(9000, 9000);
    EXPECT_TRUE(Tool()->HasSelection());
    EXPECT_EQ(view->GetStatusPrompt(), LoadResString(CVTProcessDrawing::kPromptFrame));
    for (UINT command : {ID_SAVE_TO_LIBRARY, ID_SAVE_AS_LINE_TYPE, ID_COPY_BITMAP})
        EXPECT_TRUE(view->IsCommandEnabled(command)) << command;
    EXPECT_EQ(std::count(Tool()->GetSelectedElements().begin(), Tool()->GetSelectedElements().end(), c), 0);

    // Another tool drops the selection.
    SelectTool(CVEKView::kCurveTool);
    SelectTool(kTool);
    EXPECT_TRUE(Tool()->GetSelectedElements().empty());
    EXPECT_FALSE(view->IsCommandEnabled(ID_SAVE_TO_LIBRARY));
}

TEST_F(ProcessDrawingTest, TextsAndPicturesAreSelectedAndMovedToo)
{
    auto* text = new CTextElement(Page(), 0, CTextFont("AB", Settings().m_lfDefaultFont, 0), 1000, 5000, TRANSPARENT);
    Pages().AddElementToPage(text);
    auto* picture = new CImageElement(Page(), 0);
    QImage pixels(4, 4, QImage::Format_ARGB32);
    pixels.fill(Qt::blue);
    const CPixelBlock block(pixels);
    picture->SetBitmapCopy(&block);
    picture->SetUpperLeft(4000, 4000);
    picture->SetUpperRight(6000, 4000);
    picture->SetLowerRight(6000, 6000);
    picture->SetLowerLeft(4000, 6000);
    picture->InvalidateBounds();
    Pages().AddElementToPage(picture);
    view->Invalidate();

    const CPoint inText = text->GetOrigin() + CPoint(20, 20);
    Click(inText.x, inText.y);
    Click(5000, 5000);
    ASSERT_EQ(Tool()->GetSelectedElements(), (std::vector<CGraphElement*>{text, picture}));
    RightClick(9000, 9000);
    const CPoint centre = Centre();
    MoveTo(centre.x, centre.y);
    EXPECT_EQ(Tool()->GetHoverKind(), CTransformFrame::kMove);
    FrameDrag(centre, centre + CPoint(1000, 2000));
    // Nothing on the page moves before the transform is applied.
    EXPECT_EQ(picture->GetUpperLeft(), CPoint(4000, 4000));
    EXPECT_EQ(text->GetOrigin(), CPoint(1000, 5000));
    RightClick(9000, 9000);
    EXPECT_EQ(picture->GetUpperLeft(), CPoint(5000, 6000));
    EXPECT_EQ(picture->GetLowerRight(), CPoint(7000, 8000));
    EXPECT_EQ(text->GetOrigin(), CPoint(2000, 7000));
}

TEST_F(ProcessDrawingTest, ARightClickWithNothingSelectedShowsNoFrame)
{
    AddBox(1000, 1000);
    RightClick(500, 500);
    EXPECT_FALSE(Tool()->HasSelection());
    EXPECT_FALSE(Tool()->HasPendingStep());
}

// --- Transforming --------------------------------------------------------------------------

TEST_F(ProcessDrawingTest, AMoveIsAppliedAsOneUndoStep)
{
    CCurveElement* box = AddBox(1000, 1000);
    const std::vector<CPoint> before = Positions(box);
    Click(3000, 1000);
    RightClick(9000, 9000);
    const int steps = doc.UndoCount();
    const CPoint centre = Centre();
    MoveTo(centre.x, centre.y);
    EXPECT_EQ(view->GetToolCursorId(), CVTProcessDrawing::kCursorMove);
    FrameDrag(centre, centre + CPoint(2000, 1000));
    EXPECT_EQ(Corner(0), Tool()->GetFrame().Q(0) + CPoint(2000, 1000));
    EXPECT_EQ(Positions(box), before);
    EXPECT_EQ(doc.UndoCount(), steps);

    RightClick(9000, 9000);
    EXPECT_FALSE(Tool()->HasSelection());
    EXPECT_EQ(doc.UndoCount(), steps + 1);
    EXPECT_TRUE(doc.IsModified());
    const std::vector<CPoint> after = Positions(box);
    for (std::size_t i = 0; i < before.size(); ++i) EXPECT_EQ(after[i], before[i] + CPoint(2000, 1000)) << i;

    view->OnEditUndo();
    EXPECT_EQ(Positions(Curves().front()), before);
}

TEST_F(ProcessDrawingTest, AQuarterTurnAboutTheCentre)
{
    CCurveElement* line = AddCurve({{1000, 3000}, {5000, 3000}, {5000, 4000}}, 0);
    Click(3000, 3000);
    RightClick(9000, 9000);
    const CPoint centre = Centre();
    const CPoint corner = Corner(1);
    MoveTo(corner.x, corner.y);
    EXPECT_EQ(Tool()->GetHoverKind(), CTransformFrame::kRotate);
    EXPECT_EQ(view->GetToolCursorId(), CVTProcessDrawing::kCursorRotate);
    // From the corner a quarter round the centre (y down).
    const CPoint d = corner - centre;
    FrameDrag(corner, centre + CPoint(-d.y, d.x));
    RightClick(9000, 9000);
    const std::vector<CPoint> p = Positions(line);
    // The horizontal stretch now runs vertically, its length kept.
    EXPECT_NEAR(p[0].x, p[1].x, 2);
    EXPECT_NEAR(std::abs(p[1].y - p[0].y), 4000, 4);
    EXPECT_NEAR(Distance(p[1], p[2]), 1000, 4);
    // The turn keeps the centre where it was.
    const CPoint middle((p[0].x + p[1].x) / 2, (p[0].y + p[1].y) / 2);
    EXPECT_LT(Distance(middle, centre), 700);
}

TEST_F(ProcessDrawingTest, ShiftOnACornerScalesWithTheProportionsKept)
{
    CCurveElement* box = AddBox(1000, 1000);
    Click(3000, 1000);
    RightClick(9000, 9000);
    const CPoint p3 = Corner(2);
    const CPoint p1 = Corner(0);
    MoveTo(p3.x, p3.y, Qt::ShiftModifier);
    EXPECT_EQ(Tool()->GetHoverKind(), CTransformFrame::kCorner3);
    EXPECT_EQ(view->GetToolCursorId(), CVTProcessDrawing::kCursorScale);
    // Without Shift the same spot turns.
    MoveTo(p3.x, p3.y);
    EXPECT_EQ(Tool()->GetHoverKind(), CTransformFrame::kRotate);

    MoveTo(p3.x, p3.y, Qt::ShiftModifier);
    FrameDrag(p3, p3 + CPoint(4000, 3000), Qt::ShiftModifier);
    EXPECT_EQ(Corner(0), p1);
    RightClick(9000, 9000);
    const std::vector<CPoint> p = Positions(box);
    const double width = p[1].x - p[0].x;
    const double height = p[3].y - p[0].y;
    EXPECT_GT(width, 6000);
    EXPECT_NEAR(width / height, 2.0, 0.02);
    EXPECT_LT(Distance(p[0], CPoint(1000, 1000)), 20);
}

// A text stretched by the frame used to snap back to its measured size at
// the next repaint after the transform was applied.
TEST_F(ProcessDrawingTest, AStretchedTextKeepsItsBoxAfterItIsApplied)
{
    auto* text = new CTextElement(Page(), 0, CTextFont("AB", Settings().m_lfDefaultFont, 0), 1000, 5000, TRANSPARENT);
    Pages().AddElementToPage(text);
    const CSize measured = text->GetExtent();
    // A text of the page that is not selected keeps its box too, wider
    // than its text as a file may give it.
    auto* other = new CTextElement(Page(), 0, CTextFont("CD", Settings().m_lfDefaultFont, 0), 1000, 9000, TRANSPARENT);
    other->SetCorners({1000, 9000}, {9000, 9000}, {9000, 9000 + measured.cy}, {1000, 9000 + measured.cy});
    Pages().AddElementToPage(other);
    const CPoint inText = text->GetOrigin() + CPoint(20, 20);
    Click(inText.x, inText.y);
    RightClick(90000, 90000);
    const CPoint right((Corner(1).x + Corner(2).x) / 2, (Corner(1).y + Corner(2).y) / 2);
    MoveTo(right.x, right.y);
    ASSERT_EQ(Tool()->GetHoverKind(), CTransformFrame::kEdgeRight);
    FrameDrag(right, right + CPoint(3 * measured.cx, 0));
    // Where the frame puts the box.
    CPoint saved[4];
    text->GetCorners(saved[0], saved[1], saved[2], saved[3]);
    CPoint framed[4];
    for (int i = 0; i < 4; ++i) framed[i] = Tool()->GetFrame().MapPoint(saved[i]);
    ASSERT_GT(framed[1].x - framed[0].x, 3 * measured.cx) << "stretched to four times its width";
    RightClick(90000, 90000);

    view->repaint();
    QApplication::processEvents();
    CPoint applied[4];
    text->GetCorners(applied[0], applied[1], applied[2], applied[3]);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(applied[i], framed[i]) << i;
    EXPECT_EQ(other->GetBoundRect(), CRect(1000, 9000, 9000, 9000 + measured.cy));
}

TEST_F(ProcessDrawingTest, AnEdgeCannotBeDraggedAcrossTheFixedSide)
{
    CCurveElement* box = AddBox(1000, 1000);
    Click(3000, 1000);
    RightClick(9000, 9000);
    const CPoint right((Corner(1).x + Corner(2).x) / 2, (Corner(1).y + Corner(2).y) / 2);
    const int left = Corner(0).x;
    MoveTo(right.x, right.y);
    EXPECT_EQ(Tool()->GetHoverKind(), CTransformFrame::kEdgeRight);
    Click(right.x, right.y);
    for (int x = right.x; x >= left - 3000; x -= 500) MoveTo(x, right.y);
    Click(left - 3000, right.y);
    // The frame stays at its last size before the crossing, however far
    // the mouse went.
    EXPECT_GE(Tool()->GetFrame().Width(), 1);
    EXPECT_LE(Tool()->GetFrame().Width(), 600);
    EXPECT_GE(Corner(1).x, left);
    RightClick(9000, 9000);
    for (const CPoint& p : Positions(box)) EXPECT_GE(p.x, left - 1);
}

TEST_F(ProcessDrawingTest, CancelAndUndoLeaveTheDrawingAsItWas)
{
    CCurveElement* box = AddBox(1000, 1000);
    const std::vector<CPoint> before = Positions(box);
    const int steps = doc.UndoCount();
    for (int way = 0; way < 2; ++way) {
        Click(3000, 1000);
        RightClick(9000, 9000);
        const CPoint centre = Centre();
        MoveTo(centre.x, centre.y);
        FrameDrag(centre, centre + CPoint(3000, 0));
        ASSERT_TRUE(Tool()->HasPendingStep());
        if (way == 0)
            Key(Qt::Key_Escape);
        else
            view->OnEditUndo();
        EXPECT_FALSE(Tool()->HasSelection());
        EXPECT_FALSE(Tool()->HasPendingStep());
        EXPECT_EQ(Positions(box), before);
        EXPECT_EQ(doc.UndoCount(), steps);
    }
    // A frame applied without a change costs no step.
    Click(3000, 1000);
    RightClick(9000, 9000);
    RightClick(9000, 9000);
    EXPECT_EQ(doc.UndoCount(), steps);
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(ProcessDrawingTest, CutTakesTheSelectionAndThePointsOnlyItUsed)
{
    CCurveElement* a = AddCurve({{1000, 1000}, {5000, 1000}}, 0);
    // b shares a's end point; c stands alone.
    CCurveNodeList nodes;
    nodes.AddTail(new CCurveNode(a->GetLastNode()->GetPoint(), NODE_CORNER));
    auto* far = new CSharedPoint(Page(), 5000, 5000);
    Page()->AddPoint(far);
    nodes.AddTail(new CCurveNode(far, NODE_CORNER));
    auto* b = new COpenCurveElement(Page(), 0, CLineAttr(10), 0, nodes, 0, 600, 53.0, 0, 600, 53.0);
    Pages().AddElementToPage(b);
    CCurveElement* c = AddCurve({{1000, 8000}, {5000, 8000}}, 0);
    ASSERT_EQ(Page()->GetPointCount(), 5);

    Click(3000, 1000);
    Click(3000, 8000);
    const int steps = doc.UndoCount();
    ASSERT_TRUE(view->IsCommandEnabled(ID_EDIT_CUT));
    view->OnCommand(ID_EDIT_CUT);
    EXPECT_EQ(doc.UndoCount(), steps + 1);
    ASSERT_EQ(Page()->GetElementCount(), 1);
    EXPECT_EQ(Page()->ElementAt(0), b);
    // a's first point and both of c's go; the point b shares stays.
    EXPECT_EQ(Page()->GetPointCount(), 2);
    EXPECT_TRUE(QGuiApplication::clipboard()->mimeData()->hasFormat(CDataTransfer::FormatName()));
    (void)c;

    view->OnEditUndo();
    EXPECT_EQ(Page()->GetElementCount(), 3);
    EXPECT_EQ(Page()->GetPointCount(), 5);
}

// --- What is drawn -------------------------------------------------------------------------

TEST_F(ProcessDrawingTest, TheFrameAndTheWorkingCopyAreDrawnOverThePage)
{
    AddBox(1000, 1000);
    Click(3000, 1000);
    // The selected curve is highlighted in the prompt colour.
    EXPECT_TRUE(ColourNear(RenderView(), 3000, 1000, kRed));
    RightClick(9000, 9000);
    QImage image = RenderView();
    const CPoint p1 = Corner(0);
    const CPoint p3 = Corner(2);
    EXPECT_TRUE(ColourNear(image, p1.x, p1.y, kRed));
    EXPECT_TRUE(ColourNear(image, p3.x, p3.y, kRed));
    EXPECT_TRUE(ColourNear(image, (p1.x + p3.x) / 2, p1.y, 0x000000)); // a handle at the edge's middle

    const CPoint centre = Centre();
    MoveTo(centre.x, centre.y);
    FrameDrag(centre, centre + CPoint(0, 4000));
    image = RenderView();
    KeepScreenshot(image, QStringLiteral("library-frame-move"));
    // The moved copy is drawn in the prompt colour, the page keeps the box.
    EXPECT_TRUE(ColourNear(image, 3000, 5000, kRed, 2));
    EXPECT_TRUE(DarkNear(image, 3000, 1000, 2));
    EXPECT_FALSE(ColourNear(image, 3000, 1000, kRed, 2));
    const QImage page = RenderPage();
    EXPECT_FALSE(DarkNear(page, 3000, 5000, 2));
}

TEST_F(ProcessDrawingTest, SpaceZoomsWithoutLosingTheSelection)
{
    CCurveElement* box = AddBox(1000, 1000);
    Click(3000, 1000);
    KeyDown(Qt::Key_Space);
    EXPECT_EQ(view->GetToolCursorId(), CZoomBox::kCursorZoomIn);
    EXPECT_EQ(view->GetStatusPrompt(), LoadResString(CZoomBox::kPrompt));
    const double scale = view->GetScale();
    Click(1000, 1000);
    MoveTo(3000, 2000);
    Click(3000, 2000);
    EXPECT_LT(view->GetScale(), scale);
    KeyUp(Qt::Key_Space);
    EXPECT_EQ(Tool()->GetSelectedElements(), std::vector<CGraphElement*>{box});
    EXPECT_EQ(view->GetStatusPrompt(), LoadResString(CVTProcessDrawing::kPromptSelect));
    EXPECT_EQ(view->GetToolCursorId(), CVTProcessDrawing::kCursorSelect);
}
