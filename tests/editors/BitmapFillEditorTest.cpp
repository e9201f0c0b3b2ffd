// The bitmap fill editor through the view: the reference tile's centre,
// corner and edge handles grabbed by one click and dropped by the next,
// the tiles following the mouse in between; Undo and Cancel during a drag;
// a double click loading another picture.
#include "tests/editors/FillTestSupport.h"

#include "editors/CVTFillBitmap.h"

#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979;

class BitmapFillEditorTest : public FillViewFixture {
protected:
    void SetUp() override
    {
        FillViewFixture::SetUp();
        // Page (5000, 5000) at the window's corner.
        view->SetViewTransform(10.0, 5000, 5000);
        curve = AddBox(5500, 5500, 13499, 11499);
        // Quadrants: red, green / blue, yellow.
        QImage quadrants(2, 2, QImage::Format_RGB32);
        quadrants.setPixel(0, 0, qRgb(255, 0, 0));
        quadrants.setPixel(1, 0, qRgb(0, 255, 0));
        quadrants.setPixel(0, 1, qRgb(0, 0, 255));
        quadrants.setPixel(1, 1, qRgb(255, 255, 0));
        curve->SetFillKind(FILL_BITMAP);
        curve->SetFillBitmap(quadrants);
        curve->SetBitmapTileSize(6000, 4000);
        curve->SetBitmapCenter(10000, 10000);
        curve->SetFillAngle(0.0);
        PickAt(7000, 7000);
        editor = dynamic_cast<CVTFillBitmap*>(fill->GetEditor(FILL_BITMAP));
        ASSERT_EQ(editor->GetElement(), curve);
    }
    struct Tile {
        CPoint centre;
        CSize size;
        double angle;
    };
    Tile TileOf(const CClosedCurveElement* c) const
    {
        return {c->GetBitmapCenter(), c->GetBitmapTileSize(), c->GetFillAngle()};
    }
    void DoubleClick(int x, int y)
    {
        MoveTo(x, y);
        Mouse(QEvent::MouseButtonPress, x, y, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        Mouse(QEvent::MouseButtonRelease, x, y, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        Mouse(QEvent::MouseButtonDblClick, x, y, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        Mouse(QEvent::MouseButtonRelease, x, y, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    }

    CClosedCurveElement* curve = nullptr;
    CVTFillBitmap* editor = nullptr;
};

TEST_F(BitmapFillEditorTest, TheTileShowsItsHandles)
{
    EXPECT_EQ(editor->GetAnchorPoint(CVTFillBitmap::kAnchorCentre), CPoint(10000, 10000));
    EXPECT_EQ(editor->GetAnchorPoint(CVTFillBitmap::kAnchorTop), CPoint(10000, 8000));
    EXPECT_EQ(editor->GetAnchorPoint(CVTFillBitmap::kAnchorRight), CPoint(13000, 10000));
    EXPECT_NEAR(Distance(editor->GetAnchorPoint(CVTFillBitmap::kAnchorCorner), CPoint(10000, 10000)), 3605.55, 1.5);

    struct Case {
        CPoint at;
        int mode;
        UINT prompt;
        int cursor;
    };
    const Case cases[] = {
        {{10040, 9970}, CVTFillBitmap::kOverCentre, CVTFillBitmap::kPromptCentre, 168},
        {{12990, 8010}, CVTFillBitmap::kOverCorner, CVTFillBitmap::kPromptCorner, 169},
        {{10050, 7950}, CVTFillBitmap::kOverTop, CVTFillBitmap::kPromptSize, 223},
        {{13050, 10050}, CVTFillBitmap::kOverRight, CVTFillBitmap::kPromptSize, 225},
        {{7000, 7000}, CVTFillBitmap::kIdle, CVTFillEditor::kPromptIdle, CVTFill::kCursor},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        MoveTo(c.at.x, c.at.y);
        EXPECT_EQ(editor->GetMode(), c.mode);
        EXPECT_EQ(view->GetStatusPrompt(), LoadResString(c.prompt));
        EXPECT_EQ(view->GetToolCursorId(), c.cursor);
    }
    // The handles show over the page, filled in the second prompt colour.
    Settings().m_crPromptColor2 = RGB(0, 255, 255);
    for (CPoint handle : {CPoint(10000, 10000), CPoint(10000, 8000), CPoint(13000, 10000)}) {
        EXPECT_TRUE(ColourNear(RenderView(), handle.x, handle.y, qRgb(0, 255, 255), 2));
        EXPECT_FALSE(ColourNear(RenderPage(), handle.x, handle.y, qRgb(0, 255, 255), 2));
    }
}

TEST_F(BitmapFillEditorTest, TheEdgeHandlesSizeTheTileAndEachDropIsAStep)
{
    const int steps = doc.UndoCount();
    Click(10000, 8000);
    EXPECT_TRUE(view->CanEditCancel());
    MoveTo(10000, 8500);
    // The tiles follow the mouse at once.
    EXPECT_EQ(curve->GetBitmapTileSize(), CSize(6000, 3000));
    Click(10000, 8500);
    EXPECT_FALSE(view->CanEditCancel());
    EXPECT_EQ(doc.UndoCount(), steps + 1);

    Click(13000, 10000);
    MoveTo(11500, 10000);
    Click(11500, 10000);
    EXPECT_EQ(curve->GetBitmapTileSize(), CSize(3000, 3000));
    EXPECT_EQ(doc.UndoCount(), steps + 2);

    view->OnEditUndo();
    EXPECT_EQ(ClosedAt(0)->GetBitmapTileSize(), CSize(6000, 3000));
    view->OnEditUndo();
    EXPECT_EQ(ClosedAt(0)->GetBitmapTileSize(), CSize(6000, 4000));
}

TEST_F(BitmapFillEditorTest, TheCornerTurnsTheTilesByTheAngleTheMouseTurns)
{
    for (double start : {0.0, 30.0, 350.0}) {
        SCOPED_TRACE(start);
        curve->SetFillAngle(start);
        const CPoint corner = editor->GetAnchorPoint(CVTFillBitmap::kAnchorCorner);
        // A quarter turn from the page's x axis towards its y axis.
        const CPoint turned(10000 - (corner.y - 10000), 10000 + (corner.x - 10000));
        Click(corner.x, corner.y);
        ASSERT_EQ(editor->GetMode(), CVTFillBitmap::kTurning);
        MoveTo(turned.x, turned.y);
        Click(turned.x, turned.y);
        EXPECT_NEAR(curve->GetFillAngle(), start + 90.0, 1e-6);
    }
}

TEST_F(BitmapFillEditorTest, TheCentreHandleMovesTheTiles)
{
    curve->SetBitmapTileSize(2000, 2000);
    curve->SetBitmapCenter(8000, 8000);
    QImage page = RenderPage();
    // The red quadrant is the tile's top left.
    EXPECT_TRUE(Near(PixelOfPage(page, 7500, 7500), qRgb(255, 0, 0)));
    EXPECT_TRUE(Near(PixelOfPage(page, 8500, 8500), qRgb(255, 255, 0)));

    Click(8000, 8000);
    MoveTo(8500, 8500);
    Click(8500, 8500);
    EXPECT_EQ(curve->GetBitmapCenter(), CPoint(8500, 8500));
    page = RenderPage();
    EXPECT_TRUE(Near(PixelOfPage(page, 8000, 8000), qRgb(255, 0, 0)));
    EXPECT_TRUE(Near(PixelOfPage(page, 9000, 9000), qRgb(255, 255, 0)));
}

// Undo or Cancel in the middle of a drag put the tiles back and leave the
// history as it was.
TEST_F(BitmapFillEditorTest, UndoOrCancelDuringADragPutTheTilesBack)
{
    doc.SetModifiedFlag(false);
    const Tile before = TileOf(curve);
    for (int useEscape : {0, 1}) {
        SCOPED_TRACE(useEscape);
        Click(10000, 10000);
        MoveTo(9000, 9000);
        EXPECT_EQ(curve->GetBitmapCenter(), CPoint(9000, 9000));
        if (useEscape)
            Key(Qt::Key_Escape);
        else
            view->OnEditUndo();
        EXPECT_FALSE(view->CanEditCancel());
        const Tile after = TileOf(curve);
        EXPECT_EQ(after.centre, before.centre);
        EXPECT_EQ(after.size, before.size);
        EXPECT_EQ(doc.UndoCount(), 0);
        EXPECT_FALSE(doc.IsModified());
        EXPECT_FALSE(doc.HasPendingUndoStep());
    }
    // A drop where the grab was costs nothing either.
    Click(10000, 10000);
    Click(10000, 10000);
    EXPECT_EQ(doc.UndoCount(), 0);
    EXPECT_FALSE(doc.HasPendingUndoStep());
}

// A tile without height could not be drawn nor set right again: the drop
// is refused with a message and the drag goes on.
TEST_F(BitmapFillEditorTest, ATileWithoutHeightIsRefused)
{
    Click(10000, 8000);
    MoveTo(10000, 10000);
    EXPECT_EQ(curve->GetBitmapTileSize(), CSize(6000, 4000));
    {
        ModalAnswers answers;
        Click(10000, 10000);
        EXPECT_EQ(answers.messages, QStringList{LoadResString(CVTFillBitmap::kMessageZeroTile)});
    }
    EXPECT_EQ(editor->GetMode(), CVTFillBitmap::kSizingHeight);
    EXPECT_EQ(curve->GetBitmapTileSize(), CSize(6000, 4000));
    MoveTo(10000, 9000);
    Click(10000, 9000);
    EXPECT_EQ(curve->GetBitmapTileSize(), CSize(6000, 2000));
    EXPECT_EQ(doc.UndoCount(), 1);
}

TEST_F(BitmapFillEditorTest, ADoubleClickInsideLoadsAnotherPicture)
{
    QImage grey(3, 3, QImage::Format_RGB32);
    grey.fill(qRgb(90, 90, 90));
    const QString path = home.filePath("grey.png");
    ASSERT_TRUE(grey.save(path));
    {
        ModalAnswers answers;
        answers.ChooseFile(path);
        DoubleClick(7000, 7000);
        EXPECT_EQ(answers.dialogs, 1);
    }
    ASSERT_NE(curve->GetFillBitmap(), nullptr);
    EXPECT_EQ(curve->GetFillBitmap()->GetSize(), CSize(3, 3));
    // Tiles kept as they were.
    EXPECT_EQ(curve->GetBitmapTileSize(), CSize(6000, 4000));
    EXPECT_EQ(doc.UndoCount(), 1);
    EXPECT_TRUE(Near(PixelOfPage(RenderPage(), 7000, 7000), qRgb(90, 90, 90)));

    // Outside the curve's bounds a double click asks nothing.
    ModalAnswers none;
    DoubleClick(14000, 11900);
    EXPECT_EQ(none.dialogs, 0);
    view->OnEditUndo();
    EXPECT_EQ(ClosedAt(0)->GetFillBitmap()->GetSize(), CSize(2, 2));
}

TEST(BitmapFillCursor, EdgeHandlesShowTheCursorOfTheirDirection)
{
    struct Case {
        double degrees;
        int cursor;
    };
    const Case cases[] = {{0, 225}, {44, 224}, {90, 223}, {135, 222}, {180, 225},
                          {225, 224}, {270, 223}, {315, 222}, {350, 225}};
    for (const Case& c : cases)
        EXPECT_EQ(CVTFillBitmap::SizingCursor(c.degrees * kPi / 180.0), c.cursor) << c.degrees;
}

} // namespace
