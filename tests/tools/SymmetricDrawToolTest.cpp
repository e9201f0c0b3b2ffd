// The symmetric-drawing tool driven through the view: the centre line and
// its snapping, each kind of sub-tool with the image it gets, the shared
// points that keep an image in step with what was drawn, undo, the
// tool-bar commands choosing sub-tools, the mirrored preview, and the
// mirror links kept through a saved and reopened document.
#include "tests/tools/ShapeTestSupport.h"

#include "editors/CVTModifyCurve.h"
#include "tools/CVTCurve.h"
#include "tools/CVTEraser.h"
#include "tools/CVTRectangle.h"
#include "tools/CVTSymmetricDraw.h"

namespace {

// The centre line of most tests: upright at x = 5000, so an image point
// is (10000 - x, y).
constexpr int kAxisX = 5000;

CPoint Reflected(const CPoint& p) { return CPoint(2 * kAxisX - p.x, p.y); }

class SymmetricDrawToolTest : public ShapeToolFixture {
protected:
    void SetUp() override
    {
        ShapeToolFixture::SetUp();
        SelectTool(CVEKView::kSymmetricDrawTool);
        tool = Tool<CVTSymmetricDraw>(CVEKView::kSymmetricDrawTool);
        ASSERT_NE(tool, nullptr);
    }

    void GiveUprightAxis()
    {
        Click(kAxisX, 500);
        Click(kAxisX, 6500);
        ASSERT_EQ(tool->GetAxisState(), CVTSymmetricDraw::kAxisComplete);
    }
    void Choose(int toolIndex) { view->OnToolCommand(view->CommandOfTool(toolIndex)); }

    // Whether every node of `image` stands on a mirrored point of the
    // matching node of `source`, across the centre line.
    static void ExpectMirrorOf(const CCurveElement* image, const CCurveElement* source)
    {
        ASSERT_EQ(image->GetNodeCount(), source->GetNodeCount());
        EXPECT_EQ(image->GetMirrorSource(), source);
        POSITION s = source->Nodes().GetHeadPosition();
        for (const CCurveNode* n : image->Nodes()) {
            const CCurveNode* from = source->Nodes().GetNext(s);
            EXPECT_EQ(n->GetPoint()->GetMirrorSource(), from->GetPoint());
            EXPECT_EQ(n->GetKind(), from->GetKind());
            EXPECT_EQ(n->GetPosition(), Reflected(from->GetPosition()));
        }
    }

    CVTSymmetricDraw* tool = nullptr;
};

} // namespace

TEST_F(SymmetricDrawToolTest, TheCentreLineKeepsTo45DegreesUnlessItsEndSnaps)
{
    AddCurve({{7000, 5500}, {8000, 6500}}, 0);
    struct Case {
        CPoint mouse;
        Qt::KeyboardModifiers modifiers;
        CPoint end;
    };
    const Case cases[] = {
        {{4000, 1350}, Qt::NoModifier, {4000, 1000}},   // 10 degrees: level
        {{3000, 2150}, Qt::NoModifier, {2575, 2575}},   // 30 degrees: the diagonal
        {{1200, 4000}, Qt::NoModifier, {1000, 4000}},   // plumb
        {{7040, 5450}, Qt::NoModifier, {7000, 5500}},   // a node, whatever its direction
        {{3000, 2150}, Qt::ControlModifier, {3000, 2150}},  // Ctrl: the free point
    };
    for (const Case& c : cases) {
        Click(1000, 1000);
        ASSERT_EQ(tool->GetAxisState(), CVTSymmetricDraw::kAxisStarted);
        EXPECT_EQ(view->GetToolCursorId(), CVTSymmetricDraw::kCursor);
        Click(c.mouse.x, c.mouse.y, c.modifiers);
        ASSERT_EQ(tool->GetAxisState(), CVTSymmetricDraw::kAxisComplete);
        EXPECT_EQ(tool->GetAxisStart(), CPoint(1000, 1000));
        EXPECT_EQ(tool->GetAxisEnd(), c.end) << c.mouse.x << "," << c.mouse.y;
        tool->Activate();
        EXPECT_EQ(tool->GetAxisState(), CVTSymmetricDraw::kNoAxis);
    }
}

TEST_F(SymmetricDrawToolTest, ACentreLineOfOnePointIsRefusedAndEscTakesItsStartBack)
{
    Click(3000, 3000);
    Click(3000, 3000);
    EXPECT_EQ(tool->GetAxisState(), CVTSymmetricDraw::kAxisStarted);
    EXPECT_TRUE(tool->HasPendingStep());
    Key(Qt::Key_Escape);
    EXPECT_EQ(tool->GetAxisState(), CVTSymmetricDraw::kNoAxis);
    EXPECT_EQ(doc.UndoCount(), 0);
    EXPECT_TRUE(Page()->Points().empty());
}

TEST_F(SymmetricDrawToolTest, ARectangleAndItsImageGoWithOneUndo)
{
    GiveUprightAxis();
    Choose(CVEKView::kRectangleTool);
    EXPECT_EQ(view->GetCurrentTool(), tool);
    EXPECT_EQ(tool->GetSubToolIndex(), CVTSymmetricDraw::kSubRectangle);
    EXPECT_TRUE(view->IsToolCommandChecked(view->CommandOfTool(CVEKView::kRectangleTool)));
    Click(1000, 1000);
    Click(3000, 2000);
    ASSERT_EQ(Curves().size(), 2u);
    CCurveElement* drawn = Curves()[0];
    CCurveElement* image = Curves()[1];
    EXPECT_TRUE(image->IsClosed());
    ExpectMirrorOf(image, drawn);
    EXPECT_EQ(static_cast<CClosedCurveElement*>(image)->GetFillKind(), FILL_NONE);
    EXPECT_EQ(doc.UndoCount(), 1);
    EXPECT_TRUE(doc.IsModified());

    view->OnEditUndo();
    EXPECT_TRUE(Curves().empty());
}

TEST_F(SymmetricDrawToolTest, EachDrawingSubToolGetsOneImageInTheSameStep)
{
    struct Case {
        int tool;
        int closed;
        std::function<void()> draw;
    };
    const Case cases[] = {
        {CVEKView::kCurveTool, 0, [this] {
             Click(1000, 1000);
             Click(2000, 3000);
             Click(3000, 1500);
             RightClick(3000, 1500);
         }},
        {CVEKView::kClosedCurveTool, 1, [this] {
             Click(1000, 1000);
             Click(2000, 3000);
             Click(3000, 1500);
             RightClick(3000, 1500);
         }},
        {CVEKView::kRulerTool, 0, [this] {
             Click(1000, 1000);
             Click(3000, 2500);
         }},
        {CVEKView::kEllipseTool, 1, [this] {
             Click(1000, 1000);
             Click(3000, 2500);
         }},
        {CVEKView::kFreehandTool, 0, [this] {
             MoveTo(1000, 1000);
             Mouse(QEvent::MouseButtonPress, 1000, 1000, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
             for (int i = 1; i <= 20; ++i)
                 MoveTo(1000 + 100 * i, 1000 + 60 * i, Qt::NoModifier, Qt::LeftButton);
             Mouse(QEvent::MouseButtonRelease, 3000, 2200, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
         }},
    };
    GiveUprightAxis();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tool);
        Choose(c.tool);
        const int before = doc.UndoCount();
        c.draw();
        ASSERT_EQ(Curves().size(), 2u);
        EXPECT_EQ(Curves()[1]->IsClosed(), c.closed);
        ExpectMirrorOf(Curves()[1], Curves()[0]);
        EXPECT_EQ(doc.UndoCount(), before + 1);
        // A further right click ends the editing of a curve; it makes no
        // second image.
        RightClick(6000, 6000);
        EXPECT_EQ(Curves().size(), 2u);
        view->OnEditUndo();
        EXPECT_TRUE(Curves().empty());
    }
}

TEST_F(SymmetricDrawToolTest, AnImageFollowsTheDrawnCurveAndDeletingTheSourceKeepsItsPlace)
{
    GiveUprightAxis();
    Click(1000, 1000);
    Click(2000, 3000);
    Click(3000, 1500);
    RightClick(3000, 1500);
    ASSERT_EQ(Curves().size(), 2u);
    CCurveElement* drawn = Curves()[0];
    CCurveElement* image = Curves()[1];
    auto* curveTool = static_cast<CVTCurve*>(tool->GetSubTool(CVTSymmetricDraw::kSubCurve));
    ASSERT_TRUE(curveTool->IsEditing());

    // The editor picks up the middle node and puts it down elsewhere.
    Click(2000, 3000);
    MoveTo(2400, 3600);
    Click(2400, 3600);
    EXPECT_EQ(drawn->GetNodeAt(1)->GetPosition(), CPoint(2400, 3600));
    EXPECT_EQ(image->GetNodeAt(1)->GetPosition(), Reflected(CPoint(2400, 3600)));
    // A node inserted into the drawn curve is matched in the image.
    Click(1500, 2000);
    Click(1500, 2000);
    ASSERT_EQ(drawn->GetNodeCount(), 4);
    ExpectMirrorOf(image, drawn);
    RightClick(6000, 6000);

    // The eraser takes the drawn curve; the image stays where it is.
    Choose(CVEKView::kEraserTool);
    EXPECT_EQ(tool->GetSubToolIndex(), CVTSymmetricDraw::kSubEraser);
    const std::vector<CPoint> imageBefore = Positions(image);
    Click(1000, 1000);
    ASSERT_EQ(Curves().size(), 1u);
    EXPECT_EQ(Curves()[0], image);
    EXPECT_EQ(image->GetMirrorSource(), nullptr);
    EXPECT_EQ(Positions(image), imageBefore);
}

TEST_F(SymmetricDrawToolTest, AfterDeleteRemovesAWholeCurveTheNextCurveIsMirroredToo)
{
    GiveUprightAxis();
    Click(1000, 1000);
    Click(3000, 1000);
    RightClick(3000, 1000);
    ASSERT_EQ(Curves().size(), 2u);
    EXPECT_TRUE(tool->IsCurveMirrored());
    // Delete on a node of the two-node curve the editor holds: the curve
    // goes, and its mirror, which lost the same node, with it.
    MoveTo(3000, 1000);
    Key(Qt::Key_Delete);
    ASSERT_EQ(Curves().size(), 0u);
    EXPECT_FALSE(tool->IsCurveMirrored());

    Click(1000, 4000);
    Click(3000, 4500);
    RightClick(3000, 4500);
    ASSERT_EQ(Curves().size(), 2u);
    ExpectMirrorOf(Curves()[1], Curves()[0]);
}

TEST_F(SymmetricDrawToolTest, ASideLineChangesSidesInTheImage)
{
    auto& types = Settings().m_aLineTypes;
    types[0] = CLineAttr::SideLines(LINE_SIDE_PLUS, 20);
    Settings().m_nCurLineType = 0;
    GiveUprightAxis();
    Choose(CVEKView::kRulerTool);
    Click(1000, 1000);
    Click(3000, 1000);
    ASSERT_EQ(Curves().size(), 2u);
    EXPECT_EQ(Curves()[0]->GetLineAttr().GetKind(), LINE_SIDE_PLUS);
    EXPECT_EQ(Curves()[1]->GetLineAttr().GetKind(), LINE_SIDE_MINUS);

    // The freehand stroke is drawn with the sides exchanged, its image with
    // the current kind.
    Choose(CVEKView::kFreehandTool);
    MoveTo(1000, 3000);
    Mouse(QEvent::MouseButtonPress, 1000, 3000, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    for (int i = 1; i <= 10; ++i) MoveTo(1000 + 200 * i, 3000, Qt::NoModifier, Qt::LeftButton);
    Mouse(QEvent::MouseButtonRelease, 3000, 3000, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    ASSERT_EQ(Curves().size(), 4u);
    EXPECT_EQ(Curves()[2]->GetLineAttr().GetKind(), LINE_SIDE_MINUS);
    EXPECT_EQ(Curves()[3]->GetLineAttr().GetKind(), LINE_SIDE_PLUS);
}

TEST_F(SymmetricDrawToolTest, EveryOpenLineAndItsImageWearTheChosenArrowheads)
{
    // The image's nodes run as the drawn line's, so its start is the
    // reflection of the drawn start and takes the start arrowhead: the
    // pair, arrowheads included, is symmetric about the centre line.
    const ArrowChoice arrows;
    arrows.Choose();
    struct Case {
        int tool;
        std::function<void()> draw;
    };
    const Case cases[] = {
        {CVEKView::kCurveTool, [this] {
             Click(1000, 1000);
             Click(2000, 3000);
             Click(3000, 1500);
             RightClick(3000, 1500);
         }},
        {CVEKView::kRulerTool, [this] {
             Click(1000, 1000);
             Click(3000, 2500);
         }},
        {CVEKView::kFreehandTool, [this] {
             MoveTo(1000, 1000);
             Mouse(QEvent::MouseButtonPress, 1000, 1000, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
             for (int i = 1; i <= 20; ++i)
                 MoveTo(1000 + 100 * i, 1000 + 60 * i * (i % 3 == 0 ? 2 : 1), Qt::NoModifier, Qt::LeftButton);
             Mouse(QEvent::MouseButtonRelease, 3000, 2200, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
         }},
    };
    GiveUprightAxis();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tool);
        Choose(c.tool);
        c.draw();
        ASSERT_EQ(Curves().size(), 2u);
        arrows.ExpectOn(Curves()[0]);
        arrows.ExpectOn(Curves()[1]);
        const CRect drawn = Curves()[0]->GetBoundRect();
        const CRect image = Curves()[1]->GetBoundRect();
        EXPECT_NEAR(image.left, 2 * kAxisX - drawn.right, 2);
        EXPECT_NEAR(image.right, 2 * kAxisX - drawn.left, 2);
        EXPECT_NEAR(image.top, drawn.top, 1);
        EXPECT_NEAR(image.bottom, drawn.bottom, 1);
        RightClick(6000, 6000);
        view->OnEditUndo();
        ASSERT_TRUE(Curves().empty());
    }
}

TEST_F(SymmetricDrawToolTest, AMirroredCircleIsPreviewedRound)
{
    GiveUprightAxis();
    Choose(CVEKView::kEllipseTool);
    Shift();
    const CPoint centre(2500, 3500);
    const int r = 2000;
    Click(centre.x, centre.y);
    MoveTo(centre.x + r, centre.y);
    const QImage shown = RenderView();
    const QRgb second = ToQColor(Settings().m_crPromptColor2).rgb();
    // Halfway between two of the twelve nodes the image runs on the circle,
    // about 70 units (7 pixels) outside the chord between them.
    const double half = 3.14159265358979 / 12.0;
    const CPoint onCircle(Reflected(CPoint(centre.x + int(std::lround(r * std::cos(half))),
                                           centre.y + int(std::lround(r * std::sin(half))))));
    const CPoint onChord(Reflected(CPoint(centre.x + int(std::lround(r * std::cos(half) * std::cos(half))),
                                          centre.y + int(std::lround(r * std::sin(half) * std::cos(half))))));
    EXPECT_TRUE(ColourNear(shown, onCircle.x, onCircle.y, second, 1));
    EXPECT_FALSE(ColourNear(shown, onChord.x, onChord.y, second, 1));
}

TEST_F(SymmetricDrawToolTest, ShiftInTheMiddleOfARectangleStartsItAgain)
{
    GiveUprightAxis();
    Choose(CVEKView::kRectangleTool);
    Click(1000, 1000);
    Shift();
    // Polygon mode now: a centre, then a radius.
    Click(2000, 2000);
    EXPECT_TRUE(Curves().empty());
    Click(3000, 2000);
    ASSERT_EQ(Curves().size(), 2u);
    EXPECT_EQ(Curves()[0]->GetNodeCount(), CVTRectangle::kDefaultSides);
    ExpectMirrorOf(Curves()[1], Curves()[0]);
}

TEST_F(SymmetricDrawToolTest, TheShapeInProgressIsPreviewedMirrored)
{
    GiveUprightAxis();
    Choose(CVEKView::kRectangleTool);
    Click(2000, 1000);
    MoveTo(3500, 3000);
    const QImage shown = RenderView();
    const QRgb second = ToQColor(Settings().m_crPromptColor2).rgb();
    // The centre line and the sides of the mirrored rubber band, which
    // spans (6500, 1000)-(8000, 3000).
    EXPECT_TRUE(ColourNear(shown, kAxisX, 4000, second));
    EXPECT_TRUE(ColourNear(shown, 8000, 2000, second));
    EXPECT_TRUE(ColourNear(shown, 7000, 1000, second));
    EXPECT_TRUE(ColourNear(shown, 6500, 2500, second));
    EXPECT_FALSE(ColourNear(shown, 7200, 2000, second, 3));
}

TEST_F(SymmetricDrawToolTest, ASavedAndReopenedDocumentKeepsEveryMirrorLink)
{
    GiveUprightAxis();
    Choose(CVEKView::kRectangleTool);
    Click(1000, 1000);
    Click(3000, 2000);
    Choose(CVEKView::kCurveTool);
    Click(1000, 4000);
    Click(2000, 5000);
    Click(3000, 4000);
    RightClick(3000, 4000);
    RightClick(3000, 4000);
    ASSERT_EQ(Curves().size(), 4u);

    const QString path = home.filePath(QStringLiteral("mirrored.vek"));
    ASSERT_TRUE(doc.OnSaveDocument(path));
    CVEKDoc reopened;
    ASSERT_EQ(reopened.OnOpenDocument(path), CVEKDoc::LoadResult::Ok);
    CPage* page = reopened.GetPageSet()->GetCurrentPage();
    std::vector<CCurveElement*> curves;
    for (CGraphElement* e : page->Elements()) curves.push_back(static_cast<CCurveElement*>(e));
    ASSERT_EQ(curves.size(), 4u);
    ExpectMirrorOf(curves[1], curves[0]);
    ExpectMirrorOf(curves[3], curves[2]);
    // And the image still follows.
    curves[2]->GetNodeAt(1)->GetPoint()->MoveTo(2500, 5500, 1);
    EXPECT_EQ(curves[3]->GetNodeAt(1)->GetPosition(), Reflected(CPoint(2500, 5500)));
}
