// Measure prompts: the text of a measured length in the work unit, the
// tool's prompt list, and drawing it at a fixed pixel size beside its
// anchor.
#include "app/CDesignTool.h"
#include "app/CMeasurePrompt.h"
#include "settings/CSystemSettings.h"

#include "platform/CDC.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

namespace {

class PromptTool : public CDesignTool {};

class MeasurePromptTest : public ::testing::Test {
protected:
    void SetUp() override { Settings().SetDefaults(); }
};

TEST_F(MeasurePromptTest, ValueInTheWorkUnitWithItsSuffix)
{
    struct Case {
        int unit;
        int precision;
        int length;
        const char* text;
    };
    const Case cases[] = {
        {2, 100, 1250, "L=1.25cm"},
        {2, 10, 1250, "L=1.3cm"},
        {3, 100, 1000, "L=10mm"},
        {1, 100, 2540, "L=1in."},
        {0, 2, 3810, "L=1\"1/2in."},
        {3, 10, -500, "L=-5mm"},
    };
    for (const Case& c : cases) {
        Settings().m_nWorkUnit = c.unit;
        Settings().m_nPrecision = c.precision;
        CMeasurePrompt prompt(7, 9, "old");
        prompt.SetValue("L=", c.length, 100);
        EXPECT_EQ(prompt.text, c.text);
        EXPECT_EQ(prompt.x, 7);
        EXPECT_EQ(prompt.y, 9);
    }
}

TEST_F(MeasurePromptTest, ListOperations)
{
    PromptTool tool;
    for (int i = 0; i < 3; ++i) tool.AddPrompt(CMeasurePrompt(i, i, "p"));
    EXPECT_EQ(tool.GetPrompts().GetCount(), 3);
    tool.SetPrompt(CMeasurePrompt(5, 6, "only"));
    ASSERT_EQ(tool.GetPrompts().GetCount(), 1);
    EXPECT_EQ(tool.GetPrompts().GetHead(), CMeasurePrompt(5, 6, "only"));
    tool.ClearPrompts();
    EXPECT_TRUE(tool.GetPrompts().IsEmpty());
    tool.ClearPrompts();
    EXPECT_TRUE(tool.GetPrompts().IsEmpty());
}

// Bounding box of the prompt-coloured pixels, empty when there are none.
QRect RedBox(const QImage& image)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.red() > 150 && c.green() < 120 && c.blue() < 120) box |= QRect(x, y, 1, 1);
        }
    return box;
}

struct Rendered {
    QImage image;
    COLORREF colourAfter = 0;
    LogFont fontAfter;
};

Rendered Render(const CDesignTool& tool, double scale, int originX, int originY)
{
    Rendered r;
    r.image = QImage(300, 200, QImage::Format_RGB32);
    r.image.fill(Qt::white);
    QPainter painter(&r.image);
    {
        CDC dc(&painter);
        dc.SetTextColor(RGB(0, 128, 0));
        LogFont font;
        font.lfHeight = 30;
        dc.SelectFont(font);
        dc.SetBkMode(TRANSPARENT);
        tool.DrawPrompts(&dc, scale, originX, originY);
        r.colourAfter = dc.GetTextColor();
        r.fontAfter = dc.GetFont();
    }
    painter.end();
    return r;
}

TEST_F(MeasurePromptTest, EmptyListDrawsNothingAndKeepsTheContext)
{
    PromptTool tool;
    const Rendered r = Render(tool, 1.0, 0, 0);
    EXPECT_TRUE(RedBox(r.image).isEmpty());
    EXPECT_EQ(r.colourAfter, RGB(0, 128, 0));
    EXPECT_EQ(r.fontAfter.lfHeight, 30);
}

TEST_F(MeasurePromptTest, TextAtItsAnchorInThePromptColourAtEveryZoom)
{
    PromptTool tool;
    tool.SetPrompt(CMeasurePrompt(500, 400, "L=12.5cm"));

    const Rendered near = Render(tool, 10.0, 0, 0); // anchor at pixel (50, 40)
    const QRect a = RedBox(near.image);
    ASSERT_FALSE(a.isEmpty());
    EXPECT_GE(a.left(), 50);
    EXPECT_GE(a.top(), 40);
    EXPECT_LT(a.left(), 60);
    EXPECT_LT(a.top(), 56);
    EXPECT_EQ(near.colourAfter, RGB(0, 128, 0));
    EXPECT_EQ(near.fontAfter.lfHeight, 30);

    // Another zoom and origin: the anchor moves, the text keeps its size.
    const Rendered far = Render(tool, 5.0, 100, 100); // anchor at (80, 60)
    const QRect b = RedBox(far.image);
    EXPECT_EQ(b.size(), a.size());
    EXPECT_EQ(b.topLeft() - a.topLeft(), QPoint(30, 20));

    // The colour is the settings' dimension prompt colour.
    Settings().m_crDimensionPromptColor = RGB(0, 0, 255);
    EXPECT_TRUE(RedBox(Render(tool, 10.0, 0, 0).image).isEmpty());
}

} // namespace
