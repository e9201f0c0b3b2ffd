#include "settings/CSystemSettings.h"

#include "ui/CLineTypeCombo.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cstdlib>

namespace {

const QRect kBox(0, 0, 72, CLineTypeCombo::kItemHeight);

class LineTypeSampleTest : public ::testing::Test {
protected:
    void SetUp() override { Settings().SetDefaults(); }
};

QImage Sample(int index)
{
    QImage image(kBox.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    CLineTypeCombo::DrawLineTypeSample(p, kBox, index, Qt::black);
    p.end();
    return image.convertToFormat(QImage::Format_ARGB32);
}

CLineTypeShape Shape(int pen, int filled, std::initializer_list<CPoint> points)
{
    return CLineTypeShape(pen, filled, CPointList(points));
}

// Custom line types as users make them: a sawtooth, a filled arrow, a
// dash beside a dot, each with its own spacing.
void AddCustomLineTypes(CSystemSettings& s)
{
    ASSERT_TRUE(s.AddLineType(
        CLineAttr::Custom(300, 100, {Shape(100, 0, {CPoint(0, 1200), CPoint(600, 0), CPoint(1200, 1200)})})));
    ASSERT_TRUE(s.AddLineType(
        CLineAttr::Custom(50, 400, {Shape(20, 1, {CPoint(0, 0), CPoint(900, 300), CPoint(0, 600)})})));
    ASSERT_TRUE(s.AddLineType(CLineAttr::Custom(
        80, 0, {Shape(60, 0, {CPoint(0, 500), CPoint(700, 500)}), Shape(150, 1, {CPoint(850, 420), CPoint(1000, 420),
                                                                             CPoint(1000, 580), CPoint(850, 580)})})));
}

// A custom line type 9 whose display copy is `pattern` as one shape.
void SetPattern(CSystemSettings& s, const CPointList& pattern, int pen)
{
    s.m_aLineTypePreviews[4].SetShapes(CLineTypeShapeArray{CLineTypeShape(pen, 0, pattern)});
}

QString GoldenPath(int index)
{
    return QDir(QStringLiteral(VEK_TESTDATA_DIR "/ui/line-type-samples")).filePath(QStringLiteral("%1.png").arg(index));
}

} // namespace

// The pictures of the built-in line types and of custom ones as users make
// them are the ones the box has always shown, pixel for pixel.
TEST_F(LineTypeSampleTest, SamplesOfUsualLineTypesLookAsTheyAlwaysDid)
{
    CSystemSettings& s = Settings();
    AddCustomLineTypes(s);
    ASSERT_EQ(s.m_aLineTypes.size(), 12u);
    for (int index = 0; index < int(s.m_aLineTypes.size()); ++index) {
        const QImage drawn = Sample(index);
        const QImage golden(GoldenPath(index));
        ASSERT_FALSE(golden.isNull()) << index;
        EXPECT_EQ(drawn, golden.convertToFormat(QImage::Format_ARGB32)) << index;
    }
}

// A display copy of many points shows what its few corners show: a
// sawtooth drawn through every point of its lattice along each tooth
// (which may move a corner by a sixteenth of a pixel: a few levels of one
// edge pixel's shade), and one that runs back and forth along its first
// tooth a hundred thousand times (exactly), look like the sawtooth of three
// points.
TEST_F(LineTypeSampleTest, AManyPointSampleShowsWhatItsCornersShow)
{
    CSystemSettings& s = Settings();
    AddCustomLineTypes(s);
    const CPoint a(0, 120000), b(60000, 0), c(120000, 120000);
    const int pen = 10000;
    SetPattern(s, {a, b, c}, pen);
    const QImage corners = Sample(9);

    CPointList everyPoint;
    for (int x = 0; x <= 120000; ++x) everyPoint.AddTail(CPoint(x, 2 * std::abs(x - 60000)));
    CPointList backAndForth;
    for (int i = 0; i < 100000; ++i) {
        backAndForth.AddTail(a);
        backAndForth.AddTail(b);
    }
    backAndForth.AddTail(c);
    struct Case {
        const CPointList& pattern;
        int shadeLevels;
    };
    for (const Case& c : {Case{everyPoint, 4}, Case{backAndForth, 0}}) {
        SetPattern(s, c.pattern, pen);
        const QImage many = Sample(9);
        int largest = 0;
        for (int y = 0; y < many.height(); ++y)
            for (int x = 0; x < many.width(); ++x)
                largest = std::max(largest, std::abs(qAlpha(many.pixel(x, y)) - qAlpha(corners.pixel(x, y))));
        EXPECT_LE(largest, c.shadeLevels) << c.pattern.GetCount() << " points";
    }
}
