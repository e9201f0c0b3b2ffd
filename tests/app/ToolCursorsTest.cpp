// The tools' cursors: every number a tool names has a picture of its own
// that points with ink at its hot spot, and the view shows the cursor and
// prompt of each tool as it becomes current, whatever the tool does itself.
#include "ViewTestSupport.h"

#include "app/ToolCursors.h"
#include "res/CommandIds.h"
#include "res/StringTable.h"

#include <QBitmap>

#include <set>

namespace {

// The cursor numbers the tools, editors, tables and the library name.
const int kToolCursors[] = {144, 148, 149, 150, 151, 152, 154, 163, 164, 167, 168, 169, 172, 173, 174,
                            175, 176, 177, 178, 187, 190, 191, 192, 194, 195, 196, 197, 198, 199, 213,
                            214, 216, 218, 220, 221, 222, 223, 224, 225, 244, 350, 352, 356};

bool IsInk(const QImage& image, int x, int y)
{
    const QColor c = image.pixelColor(x, y);
    return c.alpha() == 255 && c.red() < 64 && c.green() < 64 && c.blue() < 64;
}

} // namespace

TEST(ToolCursors, EveryNamedCursorIsAPicturePointingWithInkAtItsHotSpot)
{
    for (int id : kToolCursors) {
        const QCursor cursor = CursorOfId(id);
        ASSERT_EQ(cursor.shape(), Qt::BitmapCursor) << id;
        const QImage image = cursor.pixmap().toImage();
        ASSERT_EQ(image.size(), QSize(32, 32)) << id;
        const QPoint hot = cursor.hotSpot();
        ASSERT_TRUE(image.rect().contains(hot)) << id;
        EXPECT_TRUE(IsInk(image, hot.x(), hot.y())) << id << " at " << hot.x() << "," << hot.y();
        // Transparent where nothing is drawn: a picture, not a square.
        EXPECT_EQ(image.pixelColor(31, 0).alpha(), 0) << id;
    }
}

TEST(ToolCursors, EachNumberLooksDifferent)
{
    std::set<QByteArray> seen;
    for (int id : kToolCursors) {
        const QImage image = CursorOfId(id).pixmap().toImage().convertToFormat(QImage::Format_ARGB32);
        const QByteArray bytes(reinterpret_cast<const char*>(image.constBits()), int(image.sizeInBytes()));
        EXPECT_TRUE(seen.insert(bytes).second) << id << " looks like another cursor";
    }
}

TEST(ToolCursors, ZeroIsTheArrowAndAnUnknownNumberTheCrossHair)
{
    EXPECT_EQ(CursorOfId(0).shape(), Qt::ArrowCursor);
    EXPECT_EQ(CursorOfId(999).shape(), Qt::CrossCursor);
    EXPECT_FALSE(HasCursorPicture(999));
    EXPECT_TRUE(HasCursorPicture(221));
}

// The table editor draws icon 200 one pixel inside its 16-pixel move
// handle.
TEST(ToolCursors, TheTableMoveHandleIconFitsInsideTheHandle)
{
    const QImage icon = ToolIcon(200).toImage();
    ASSERT_FALSE(icon.isNull());
    EXPECT_LE(icon.width(), 15);
    EXPECT_LE(icon.height(), 15);
    EXPECT_TRUE(IsInk(icon, icon.width() / 2, icon.height() / 2));
}

namespace {

using ToolCursorViewTest = ViewFixture;

QImage ShownPicture(const QWidget& w)
{
    return w.cursor().pixmap().toImage().convertToFormat(QImage::Format_ARGB32);
}

} // namespace

TEST_F(ToolCursorViewTest, TheViewShowsThePictureOfTheNumber)
{
    view->SetToolCursor(174);
    EXPECT_EQ(view->GetToolCursorId(), 174);
    EXPECT_EQ(ShownPicture(*view), CursorOfId(174).pixmap().toImage().convertToFormat(QImage::Format_ARGB32));
    EXPECT_EQ(view->cursor().hotSpot(), QPoint(10, 10));
}

// Tools that set nothing themselves (here every tool is replaced by one
// that only logs) still show their own cursor and prompt on becoming
// current, never those of the tool before.
TEST_F(ToolCursorViewTest, EveryToolShowsItsCursorAndPromptOnBecomingCurrent)
{
    struct Case {
        int index;
        int cursor;
        int prompt;
    };
    const Case cases[] = {
        {CVEKView::kSelectTool, 152, 57345},      {CVEKView::kZoomTool, 150, 38000},
        {CVEKView::kCurveTool, 148, 38001},       {CVEKView::kClosedCurveTool, 149, 38002},
        {CVEKView::kProcessDrawingTool, 164, 38007}, {CVEKView::kRulerTool, 173, 38015},
        {CVEKView::kRectangleTool, 174, 38037},   {CVEKView::kEraserTool, 175, 38017},
        {CVEKView::kFreehandTool, 176, 57345},    {CVEKView::kEllipseTool, 177, 38018},
        {CVEKView::kOffsetLineTool, 190, 38023},  {CVEKView::kCutJoinLinesTool, 191, 38025},
        {CVEKView::kTableTool, 195, 38027},       {CVEKView::kSymmetryTool, 213, 38039},
        {CVEKView::kTextTool, 199, 38044},        {CVEKView::kLayerTool, 218, 38048},
        {CVEKView::kFillTool, 221, 38056},        {CVEKView::kInsertPictureTool, 220, 38059},
        {CVEKView::kSymmetricDrawTool, 213, 38065}, {CVEKView::kOleItemTool, 152, 57345},
        {CVEKView::kPickClosedTool, 214, 38042},  {CVEKView::kDimensionTool, 350, 38082},
        {CVEKView::kSplicePartsTool, 352, 38081},
    };
    // The symmetric-drawing tool stays: the view drives its sub-tools.
    for (const Case& c : cases)
        if (c.index != CVEKView::kSymmetricDrawTool) Spy(c.index, "t");
    // From every tool to the next, and back to the first.
    for (std::size_t i = 0; i <= std::size(cases); ++i) {
        const Case& c = cases[i % std::size(cases)];
        const UINT command = view->CommandOfTool(c.index);
        if (command == ID_TOOL_SYMMETRIC_DRAW)
            view->OnSymmetricDrawTool();
        else
            view->OnToolCommand(command);
        ASSERT_EQ(view->GetCurrentTool(), view->GetTool(c.index)) << c.index;
        EXPECT_EQ(view->GetToolCursorId(), c.cursor) << c.index;
        EXPECT_EQ(view->GetStatusPrompt(), LoadResString(c.prompt)) << c.index;
        EXPECT_FALSE(view->GetStatusPrompt().isEmpty()) << c.index;
    }
}

// A tool's own choice in Activate wins over the view's.
TEST_F(ToolCursorViewTest, AToolsOwnCursorAndPromptComeAfterTheViewsDefaults)
{
    struct OwnCursorTool : CDesignTool {
        using CDesignTool::CDesignTool;
        void Activate() override
        {
            GetView()->SetToolCursor(169);
            ShowPrompt(38047);
        }
    };
    view->ReplaceTool(CVEKView::kLayerTool, std::make_unique<OwnCursorTool>(view.get()));
    view->OnToolCommand(ID_TOOL_LAYER);
    EXPECT_EQ(view->GetToolCursorId(), 169);
    EXPECT_EQ(view->GetStatusPrompt(), LoadResString(38047));
}
