// The tool interface: defaults that do nothing, resets on activation, the
// undo helpers, the view accessors (the frame of the view among them) and
// the marks every tool draws.
#include "app/CDesignTool.h"
#include "app/CFrameServices.h"
#include "settings/CSystemSettings.h"
#include "app/CVEKDoc.h"
#include "app/CVEKView.h"
#include "shell/CToolTable.h"

#include "platform/CDC.h"
#include "res/CommandIds.h"
#include "res/StringTable.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <memory>
#include <string>
#include <vector>

namespace {

// Overrides nothing.
class BareTool : public CDesignTool {
public:
    using CDesignTool::CDesignTool;
};

class CountingTool : public CDesignTool {
public:
    using CDesignTool::CDesignTool;
    void Reset() override { ++resets; }
    int resets = 0;
};

TEST(DesignToolDefaults, AToolThatOverridesNothingDoesNothing)
{
    BareTool tool;
    using Op = BOOL (CDesignTool::*)();
    const Op ops[] = {
        &CDesignTool::OnTabDown,      &CDesignTool::OnTabUp,       &CDesignTool::OnReturnDown,
        &CDesignTool::OnReturnUp,     &CDesignTool::OnShiftDown,   &CDesignTool::OnShiftUp,
        &CDesignTool::OnCtrlDown,     &CDesignTool::OnCtrlUp,      &CDesignTool::OnSpaceDown,
        &CDesignTool::OnSpaceUp,      &CDesignTool::OnDeleteDown,  &CDesignTool::OnDeleteUp,
        &CDesignTool::OnEndDown,      &CDesignTool::OnEndUp,       &CDesignTool::OnF2Down,
        &CDesignTool::OnF2Up,         &CDesignTool::OnF3Down,      &CDesignTool::OnF3Up,
        &CDesignTool::OnF4Down,       &CDesignTool::OnF4Up,        &CDesignTool::OnF5Down,
        &CDesignTool::OnF5Up,         &CDesignTool::OnF6Down,      &CDesignTool::OnF6Up,
        &CDesignTool::OnF7Down,       &CDesignTool::OnF7Up,        &CDesignTool::OnF8Down,
        &CDesignTool::OnF8Up,         &CDesignTool::OnF9Down,      &CDesignTool::OnF9Up,
        &CDesignTool::OnF10Down,      &CDesignTool::OnF10Up,       &CDesignTool::OnF11Down,
        &CDesignTool::OnF11Up,        &CDesignTool::OnF12Down,     &CDesignTool::OnF12Up,
        &CDesignTool::OnPageUpDown,
        &CDesignTool::OnPageUpUp,     &CDesignTool::OnPageDownDown, &CDesignTool::OnPageDownUp,
        &CDesignTool::UndoStep,       &CDesignTool::HasPendingStep, &CDesignTool::CanCopy,
        &CDesignTool::CanMergeCells,  &CDesignTool::CanInsertColumn,
    };
    for (Op op : ops) EXPECT_EQ((tool.*op)(), FALSE);

    using MouseOp = BOOL (CDesignTool::*)(UINT, int, int);
    const MouseOp mouse[] = {&CDesignTool::OnLButtonDown,   &CDesignTool::OnLButtonUp,
                             &CDesignTool::OnLButtonDblClk, &CDesignTool::OnRButtonDown,
                             &CDesignTool::OnRButtonDblClk, &CDesignTool::OnRButtonUp,
                             &CDesignTool::OnMouseMove};
    for (MouseOp op : mouse) EXPECT_EQ((tool.*op)(MK_LBUTTON | MK_CONTROL, 10, 20), FALSE);
    for (char digit = '0'; digit <= '9'; ++digit) {
        EXPECT_EQ(tool.OnDigitDown(digit), FALSE);
        EXPECT_EQ(tool.OnDigitUp(digit), FALSE);
    }

    // Commands run without effect and without a view.
    tool.Cancel();
    tool.OnEditCopy();
    tool.OnEditCut();
    tool.OnFont();
    tool.MergeCells();
    tool.TableProperties();
    tool.OnEscUp();
    tool.SaveUndoState();
    tool.BeginUndoStep();
    EXPECT_FALSE(tool.CommitUndoStep());
    tool.DropUndoStep();
    EXPECT_EQ(tool.GetPageSet(), nullptr);

    // Draw paints only the (empty) prompt list.
    QImage image(50, 50, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        CDC dc(&painter);
        tool.Draw(&dc, 1.0, 0, 0, CRect(0, 0, 50, 50));
    }
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 50; ++x) ASSERT_EQ(image.pixel(x, y), QColor(Qt::white).rgb());
}

TEST(DesignToolDefaults, ActivateAndDeactivateReset)
{
    CountingTool tool;
    EXPECT_EQ(tool.resets, 0); // construction resets the base part only
    tool.Activate();
    EXPECT_EQ(tool.resets, 1);
    tool.Deactivate();
    EXPECT_EQ(tool.resets, 2);
}

TEST(DesignToolDefaults, WithoutAViewTheMappingIsNeutral)
{
    BareTool tool;
    double scale = 0;
    int x = -1, y = -1;
    tool.GetViewTransform(&scale, &x, &y);
    EXPECT_DOUBLE_EQ(scale, 1.0);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
    EXPECT_DOUBLE_EQ(tool.GetViewScale(), 1.0);
}

class DesignToolViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        qputenv("XDG_CONFIG_HOME", dir.filePath(QStringLiteral("config")).toUtf8());
        qputenv("XDG_DATA_HOME", dir.filePath(QStringLiteral("data")).toUtf8());
        Settings().SetDefaults();
        Settings().m_strBackupFile = dir.filePath(QStringLiteral("backup.vek")).toStdString();
        ASSERT_TRUE(doc.OnNewDocument());
        view = std::make_unique<CVEKView>(&doc, CToolTable());
        view->resize(400, 300);
    }
    QTemporaryDir dir;
    CVEKDoc doc;
    std::unique_ptr<CVEKView> view;
};

TEST_F(DesignToolViewTest, UndoHelpersGoToTheViewsDocument)
{
    BareTool tool(view.get());
    EXPECT_EQ(tool.GetDocument(), &doc);
    EXPECT_EQ(tool.GetPageSet(), doc.GetPageSet());
    const int before = doc.UndoCount();
    tool.SaveUndoState();
    EXPECT_EQ(doc.UndoCount(), before + 1);
    EXPECT_TRUE(doc.IsModified());
    doc.SetModifiedFlag(false);
    tool.BeginUndoStep();
    tool.DropUndoStep();
    EXPECT_EQ(doc.UndoCount(), before + 1);
    EXPECT_FALSE(doc.IsModified());
    tool.BeginUndoStep();
    EXPECT_TRUE(tool.CommitUndoStep());
    EXPECT_EQ(doc.UndoCount(), before + 2);
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(DesignToolViewTest, MappingAndPromptComeFromTheView)
{
    BareTool tool(view.get());
    view->SetViewTransform(2.5, 100, -200);
    double scale = 0;
    int x = 0, y = 0;
    tool.GetViewTransform(&scale, &x, &y);
    EXPECT_DOUBLE_EQ(scale, 2.5);
    EXPECT_EQ(x, 100);
    EXPECT_EQ(y, -200);
    EXPECT_DOUBLE_EQ(tool.GetViewScale(), 2.5);

    tool.ShowPrompt(38000);
    EXPECT_EQ(view->GetStatusPrompt(), LoadResString(38000));
    EXPECT_FALSE(view->GetStatusPrompt().isEmpty());
}

namespace {

// A window's services that only note the context groups asked for.
class NotingFrame : public CFrameServices {
public:
    CVEKDoc* GetDocument() const override { return nullptr; }
    CVEKView* GetEditingView() const override { return nullptr; }
    void SetStatusText(const QString&) override {}
    bool AddLineType(const CLineAttr&) override { return false; }
    void SetInPrintPreview(bool) override {}
    void ShowLineControls(int lineType, int, int, int arrows, int) override
    {
        asked.push_back("lines " + std::to_string(lineType) + std::to_string(arrows));
    }
    void ShowOffsetControls(int) override {}
    void ShowTextControls(int) override {}
    void ShowFontControls(int) override {}
    void ShowGradientControls(int, int) override {}
    void ShowFillTypeControls(int) override {}
    void RebuildContextToolBar() override {}
    void ShowFillTypeInCombo(int) override {}
    void ShowAppliedFont(const QString&) override {}
    void SelectFontSizeQuietly(int) override {}

    std::vector<std::string> asked;
};

} // namespace

// The view is told its frame when it is made, in whatever window it lies
// (here none); its tools reach that frame and no other.
TEST_F(DesignToolViewTest, ToolsReachTheFrameTheirViewWasMadeFor)
{
    NotingFrame frame;
    CVEKView framed(&doc, CToolTable(), &frame);
    EXPECT_EQ(BareTool(&framed).Frame(), &frame);
    EXPECT_EQ(BareTool(view.get()).Frame(), nullptr);
    EXPECT_EQ(BareTool().Frame(), nullptr);

    // The freehand tool shows the line groups with the arrowheads.
    framed.OnToolCommand(ID_TOOL_FREEHAND);
    ASSERT_FALSE(frame.asked.empty());
    EXPECT_EQ(frame.asked.back(), "lines 11");
    // The view without a frame asks nobody.
    const std::size_t before = frame.asked.size();
    view->OnToolCommand(ID_TOOL_FREEHAND);
    view->OnToolCommand(ID_TOOL_CURVE);
    EXPECT_EQ(frame.asked.size(), before);
}

// --- Marks ------------------------------------------------------------------------

class MarkTest : public ::testing::Test {
protected:
    void SetUp() override { Settings().SetDefaults(); }

    template <typename F>
    QImage Render(F draw)
    {
        QImage image(400, 300, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        {
            CDC dc(&painter);
            dc.SelectPen(CPen{PS_SOLID, 1, RGB(255, 0, 0)});
            dc.SelectBrush(CBrush::Solid(RGB(255, 0, 0)));
            draw(&dc);
        }
        painter.end();
        return image;
    }
    static bool Red(const QImage& image, int x, int y)
    {
        return image.pixelColor(x, y) == QColor(255, 0, 0);
    }
};

// Model (1000, 1000) at scale 10 is device (100, 100).
TEST_F(MarkTest, DiagonalCrossIncludesBothEnds)
{
    const QImage image =
        Render([](CDC* dc) { CDesignTool::DrawXMark(dc, 1000, 1000, 10.0, 0, 0); });
    for (int d = -5; d <= 5; ++d) {
        EXPECT_TRUE(Red(image, 100 + d, 100 + d)) << d;
        // Which of two rows a rising hairline takes is the drawing
        // context's rule; the arm runs from corner to corner either way.
        EXPECT_TRUE(Red(image, 100 + d, 100 - d) || Red(image, 100 + d, 101 - d)) << d;
    }
    EXPECT_FALSE(Red(image, 106, 106));
    EXPECT_FALSE(Red(image, 100, 95));

    Settings().m_nCrossMarkSize = 8;
    const QImage larger =
        Render([](CDC* dc) { CDesignTool::DrawXMark(dc, 1000, 1000, 10.0, 0, 0); });
    EXPECT_TRUE(Red(larger, 92, 92));
}

TEST_F(MarkTest, PointMarkIsAFilledCircleOfTheSettingsRadius)
{
    const QImage image =
        Render([](CDC* dc) { CDesignTool::DrawPointMark(dc, 1000, 1000, 10.0, 0, 0); });
    EXPECT_TRUE(Red(image, 100, 100));
    EXPECT_TRUE(Red(image, 98, 100));
    EXPECT_TRUE(Red(image, 102, 100));
    EXPECT_FALSE(Red(image, 104, 100));
    EXPECT_FALSE(Red(image, 100, 96));
}

TEST_F(MarkTest, KeyPointMarkAddsAnUprightCross)
{
    const QImage image =
        Render([](CDC* dc) { CDesignTool::DrawKeyPointMark(dc, 1000, 1000, 10.0, 0, 0); });
    const QPoint arms[] = {{100, 95}, {100, 105}, {95, 100}, {105, 100}, {95, 95}, {105, 105}};
    for (const QPoint& p : arms) EXPECT_TRUE(Red(image, p.x(), p.y())) << p.x() << "," << p.y();
    EXPECT_FALSE(Red(image, 100, 107));
}

TEST_F(MarkTest, RubberRectangleFromAnyTwoCorners)
{
    // Corners given bottom-right first; origin (-500, 0).
    const QImage image = Render(
        [](CDC* dc) { CDesignTool::DrawRubberRect(dc, 2500, 2000, 500, 1000, 10.0, -500, 0); });
    // Device (100, 100) - (300, 200).
    const QPoint edges[] = {{100, 100}, {200, 100}, {300, 100}, {300, 150},
                            {300, 200}, {200, 200}, {100, 200}, {100, 150}};
    for (const QPoint& p : edges) EXPECT_TRUE(Red(image, p.x(), p.y())) << p.x() << "," << p.y();
    EXPECT_FALSE(Red(image, 200, 150));
    EXPECT_FALSE(Red(image, 301, 150));
}

} // namespace
