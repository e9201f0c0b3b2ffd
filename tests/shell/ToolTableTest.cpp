// The tool table and what it hands the view: one row per tool under the
// tool numbers code relies on, each with a picture; the table editor given
// to the select tool whether or not a table tool exists; and the
// point-position prompt each view gives its own tools.
#include "tests/tables/tool/TableToolTestSupport.h"

#include "app/IconStrokes.h"
#include "res/CommandIds.h"
#include "tools/CVTSymmetricDraw.h"
#include "ui/CPointOnCurveDlg.h"

#include <QTimer>

#include <set>
#include <utility>

namespace {

// The tool table with the table tool left out: its row makes a tool that
// does nothing, so no table tool is ever made in the view.
class WithoutTableTool : public CToolTable {
public:
    WithoutTableTool() : m_rows(CToolTable::Tools())
    {
        m_rows[CVEKView::kTableTool].make = [](CVEKView* view) -> std::unique_ptr<CDesignTool> {
            return std::make_unique<CVectorTool>(view);
        };
    }
    const std::vector<CToolDescriptor>& Tools() const override { return m_rows; }

private:
    std::vector<CToolDescriptor> m_rows;
};

// The tool table with another point-position prompt.
class WithPrompt : public CToolTable {
public:
    explicit WithPrompt(PointOnCurvePrompt prompt) : m_prompt(std::move(prompt)) {}
    PointOnCurvePrompt PointOnCurve() const override { return m_prompt; }

private:
    PointOnCurvePrompt m_prompt;
};

class SelectWithoutTableToolTest : public TableViewFixture {
protected:
    SelectWithoutTableToolTest() { tools = std::make_unique<WithoutTableTool>(); }
};

// The fixture's view asks a script where a point on a curve goes: the
// length it was offered is noted and the point goes to `answer`.
class PointPromptTest : public CurveViewFixture {
protected:
    PointPromptTest()
    {
        tools = std::make_unique<WithPrompt>([this](CVectorTool& tool, const CPointList&, int length, const CPoint&) {
            offered.push_back(length);
            tool.OnMouseMove(0, answer.x, answer.y);
            return TRUE;
        });
    }
    void TearDown() override { Settings().m_bValueDialogs = 0; }

    // Another view on the document, made from the tool table, and shown as
    // the fixture's view is.
    std::unique_ptr<CVEKView> ViewOfToolTable()
    {
        auto other = std::make_unique<CVEKView>(&doc, CToolTable());
        other->resize(view->size());
        other->show();
        QApplication::processEvents();
        other->SetViewTransform(kScale, 0, 0);
        other->OnToolCommand(ID_TOOL_CURVE);
        return other;
    }

    std::vector<int> offered;
    CPoint answer{3000, 6000};
};

} // namespace

// A view's tools are made from their rows alone: no tool made elsewhere
// (a table tool, in whatever view) decides what the select tool can edit.
TEST_F(SelectWithoutTableToolTest, TheSelectToolEditsATableInAViewWithoutATableTool)
{
    ASSERT_EQ(dynamic_cast<CVTTable*>(view->GetTool(CVEKView::kTableTool)), nullptr);
    CTableElement* table = AddTable(2, 3);
    SelectTool(CVEKView::kSelectTool);
    const CPoint cell = CellCentre(table, 1, 2);
    MoveTo(cell.x, cell.y);
    EXPECT_EQ(SelectToolObject()->GetHovered(), table);
    Click(cell.x, cell.y);
    ASSERT_EQ(SelectToolObject()->GetSelected(), table);
    ASSERT_NE(SelectEditor(), nullptr);
    EXPECT_TRUE(Box(SelectEditor())->isVisible());
    Type(QStringLiteral("腰围"));
    Click(15000, 15000);
    EXPECT_EQ(Text(table, 1, 2), "腰围");
    EXPECT_EQ(doc.UndoCount(), 1);
}

// The symmetric-drawing tool's select sub-tool is given the same editor.
TEST_F(SelectWithoutTableToolTest, TheSymmetricDrawingSelectEditsATableToo)
{
    CTableElement* table = AddTable(2, 2);
    SelectTool(CVEKView::kSymmetricDrawTool);
    auto* symmetric = Tool<CVTSymmetricDraw>(CVEKView::kSymmetricDrawTool);
    Click(8000, 500);
    Click(8000, 6500);
    ASSERT_EQ(symmetric->GetAxisState(), CVTSymmetricDraw::kAxisComplete);
    SelectTool(CVEKView::kSelectTool);
    ASSERT_EQ(symmetric->GetSubToolIndex(), CVTSymmetricDraw::kSubSelect);
    ClickCell(table, 2, 2);
    auto* select = dynamic_cast<CVTSelect*>(symmetric->GetCurrentSubTool());
    ASSERT_NE(select, nullptr);
    EXPECT_EQ(select->GetSelected(), table);
    EXPECT_NE(select->GetTableEditor(), nullptr);
}

TEST_F(PointPromptTest, AViewsToolsAskWhereAPointOnACurveGoesThroughTheViewsPrompt)
{
    AddCurve({{2000, 6000}, {6000, 6000}}, 0);
    Settings().m_bValueDialogs = 1;
    SelectTool(CVEKView::kCurveTool);
    Click(3500, 6050);
    // Measured from the nearer end; the script put the point elsewhere.
    EXPECT_EQ(offered, std::vector<int>{1500});
    Settings().m_bValueDialogs = 0;
    Click(3000, 8000);
    RightClick(3000, 8500);
    ASSERT_EQ(Curves().size(), 2u);
    EXPECT_EQ(Curves()[1]->GetFirstNode()->GetPosition(), answer);
}

// Two views in one program: each one's tools ask through its own prompt,
// and a view made from the tool table shows the point-position dialog.
TEST_F(PointPromptTest, AFreshViewOfTheToolTableShowsThePointPositionDialog)
{
    AddCurve({{2000, 6000}, {6000, 6000}}, 0);
    Settings().m_bValueDialogs = 1;
    std::unique_ptr<CVEKView> scripted = std::exchange(view, ViewOfToolTable());
    bool shown = false;
    QTimer::singleShot(0, [&] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* dialog = qobject_cast<CPointOnCurveDlg*>(w);
            if (!dialog || !dialog->isVisible()) continue;
            shown = true;
            EXPECT_EQ(dialog->GetLength(), 1500);
            dialog->reject();
        }
    });
    Click(3500, 6050);
    EXPECT_TRUE(shown);
    EXPECT_TRUE(offered.empty());

    view = std::move(scripted);
    SelectTool(CVEKView::kCurveTool);
    Click(3500, 6050);
    EXPECT_EQ(offered, std::vector<int>{1500});
}

// The numbers that code and tests name a tool by stay with their tools.
TEST(ToolTableTest, TheNamedToolNumbersKeepTheirCommands)
{
    const std::pair<int, int> cases[] = {
        {CVEKView::kSelectTool, ID_TOOL_SELECT},
        {CVEKView::kZoomTool, ID_TOOL_ZOOM},
        {CVEKView::kCurveTool, ID_TOOL_CURVE},
        {CVEKView::kClosedCurveTool, ID_TOOL_CLOSED_CURVE},
        {CVEKView::kProcessDrawingTool, ID_TOOL_PROCESS_DRAWING},
        {CVEKView::kRulerTool, ID_TOOL_RULER},
        {CVEKView::kRectangleTool, ID_TOOL_RECTANGLE},
        {CVEKView::kEraserTool, ID_TOOL_ERASER},
        {CVEKView::kFreehandTool, ID_TOOL_FREEHAND},
        {CVEKView::kEllipseTool, ID_TOOL_ELLIPSE},
        {CVEKView::kOffsetLineTool, ID_TOOL_OFFSET_LINE},
        {CVEKView::kCutJoinLinesTool, ID_TOOL_CUT_JOIN_LINES},
        {CVEKView::kTableTool, ID_TOOL_TABLE},
        {CVEKView::kSymmetryTool, ID_TOOL_SYMMETRY},
        {CVEKView::kTextTool, ID_TOOL_TEXT},
        {CVEKView::kLayerTool, ID_TOOL_LAYER},
        {CVEKView::kFillTool, ID_TOOL_FILL},
        {CVEKView::kInsertPictureTool, ID_TOOL_INSERT_PICTURE},
        {CVEKView::kSymmetricDrawTool, ID_TOOL_SYMMETRIC_DRAW},
        {CVEKView::kOleItemTool, ID_TOOL_OLE_ITEM},
        {CVEKView::kPickClosedTool, ID_TOOL_PICK_CLOSED},
        {CVEKView::kDimensionTool, ID_TOOL_DIMENSION},
        {CVEKView::kSplicePartsTool, ID_TOOL_SPLICE_PARTS},
    };
    const std::vector<CToolDescriptor>& rows = CToolTable().Tools();
    ASSERT_EQ(rows.size(), std::size(cases));
    for (const auto& [index, command] : cases) EXPECT_EQ(rows[std::size_t(index)].command, UINT(command)) << index;
}

// A new row cannot leave its button blank or share another tool's command.
TEST(ToolTableTest, EveryToolHasItsOwnCommandAndAPictureThatShows)
{
    std::set<UINT> commands;
    for (const CToolDescriptor& row : CToolTable().Tools()) {
        EXPECT_TRUE(commands.insert(row.command).second) << row.command;
        ASSERT_NE(row.make, nullptr) << row.command;
        ASSERT_NE(row.picture, nullptr) << row.command;
        EXPECT_NE(QString::fromUtf8(row.tip), QString()) << row.command;
        const QImage image = PictureIcon(row.picture, 16).pixmap(16, 16).toImage();
        int drawn = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) drawn += qAlpha(image.pixel(x, y)) > 128;
        EXPECT_GT(drawn, 10) << row.command;
    }
}
