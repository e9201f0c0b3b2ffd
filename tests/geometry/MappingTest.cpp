#include "geometry/Mapping.h"

#include "geometry/TextMeasure.h"
#include "platform/CDC.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include <climits>
#include <functional>

namespace {

struct MapCase {
    int modelX, modelY;
    int deviceX, deviceY;
};

TEST(ModelToDevice, RoundsHalvesAwayFromZero)
{
    // Scale 2, origin (100, 100).
    const MapCase cases[] = {
        {100, 100, 0, 0}, {103, 100, 2, 0}, {97, 100, -2, 0}, {101, 99, 1, -1}, {300, -100, 100, -100},
    };
    for (const MapCase& c : cases) {
        int dx = 0;
        int dy = 0;
        ModelToDevice(c.modelX, c.modelY, 2.0, 100, 100, dx, dy);
        EXPECT_EQ(dx, c.deviceX) << c.modelX;
        EXPECT_EQ(dy, c.deviceY) << c.modelY;
        EXPECT_EQ(ModelToDevicePoint(c.modelX, c.modelY, 2.0, 100, 100), CPoint(c.deviceX, c.deviceY));
    }
    double fx = 0;
    double fy = 0;
    ModelToDeviceF(103, 97, 2.0, 100, 100, fx, fy);
    EXPECT_DOUBLE_EQ(fx, 1.5);
    EXPECT_DOUBLE_EQ(fy, -1.5);
}

TEST(ModelToDevice, DifferenceCannotOverflow)
{
    int dx = 0;
    int dy = 0;
    ModelToDevice(INT_MAX, INT_MIN + 1, 4.0, -INT_MAX, INT_MAX, dx, dy);
    EXPECT_EQ(dx, 1073741824);  // 4294967294 / 4 = 1073741823.5
    EXPECT_EQ(dy, -1073741824);
    ModelToDevice(INT_MAX, 0, 1.0, -INT_MAX, 0, dx, dy);
    EXPECT_EQ(dx, 2147483646);
}

TEST(DeviceToModel, ScalesThenAddsTheOrigin)
{
    int x = 0;
    int y = 0;
    DeviceToModel(3, 0, 2.0, 100, 100, x, y);
    EXPECT_EQ(CPoint(x, y), CPoint(106, 100));
    EXPECT_EQ(DeviceToModelPoint(-1, 1, 2.5, 10, -10), CPoint(7, -7));  // +-2.5 rounds away from zero
    EXPECT_EQ(DeviceToModelPoint(1, -1, 0.5, 0, 0), CPoint(1, -1));
    // Far out of the model's range the result saturates instead of wrapping.
    EXPECT_EQ(DeviceToModelPoint(100000, -100000, 1000.0, INT_MAX - 5, -INT_MAX), CPoint(2147483646, -2147483647));
}

TEST(DeviceToModel, DeviceRoundTripIsExactAtScalesFromOne)
{
    for (const double scale : {1.0, 1.3, 2.0, 2.5, 7.77, 40.0}) {
        for (int d = -500; d <= 500; d += 7) {
            const CPoint model = DeviceToModelPoint(d, -d, scale, 1234, -99);
            EXPECT_EQ(ModelToDevicePoint(model.x, model.y, scale, 1234, -99), CPoint(d, -d)) << scale << " " << d;
        }
    }
}

TEST(MapRect, CornersKeepTheirOrder)
{
    EXPECT_EQ(ModelToDeviceRect(0, 0, 10, 20, 0.5, 0, 0), CRect(0, 0, 20, 40));
    EXPECT_EQ(ModelToDeviceRect(10, 20, 0, 0, 0.5, 0, 0), CRect(20, 40, 0, 0));
    EXPECT_EQ(ModelToDeviceRect(103, 97, 100, 100, 2.0, 100, 100), CRect(2, -2, 0, 0));
    EXPECT_EQ(DeviceToModelRect(4, 3, 2, 1, 2.0, 100, 100), CRect(108, 106, 104, 102));
    EXPECT_EQ(DeviceToModelRect(1, 1, 3, 3, 0.5, 0, 0), CRect(1, 1, 2, 2));
}

TEST(ModelToDeviceFontSize, RoundsCapsAndNeverGivesZero)
{
    struct Case {
        int length;
        double scale;
        int pixels;
    };
    const Case cases[] = {
        {10, 20.0, 1},           {10, 40.0, 1},         {-10, 40.0, -1},     {0, 1.0, 1},
        {1000000, 1.0, 32000},   {-1000000, 1.0, -32000}, {64000, 2.0, 32000}, {63997, 2.0, 31999},
        {300, 2.0, 150},         {-300, 8.0, -38},      {1, 0.01, 100},
    };
    for (const Case& c : cases) EXPECT_EQ(ModelToDeviceFontSize(c.length, c.scale), c.pixels) << c.length;
}

// An image with a CDC over it.
class Canvas : public ::testing::Test {
protected:
    static constexpr QRgb kWhite = 0xFFFFFFFF;

    void Paint(const std::function<void(CDC&)>& draw) { PaintOn(m_image, draw); }
    static void PaintOn(QImage& image, const std::function<void(CDC&)>& draw)
    {
        QPainter painter(&image);
        CDC dc(&painter);
        draw(dc);
    }
    static QImage Blank()
    {
        QImage image(240, 240, QImage::Format_RGB32);
        image.fill(Qt::white);
        return image;
    }
    QRgb Pixel(int x, int y) const { return m_image.pixel(x, y); }
    // Bounding box of the pixels that are not white.
    static QRect Ink(const QImage& image)
    {
        QRect box;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixel(x, y) != kWhite) box |= QRect(x, y, 1, 1);
        return box;
    }

    QImage m_image = Blank();
};

TEST_F(Canvas, PolylineIsMappedPointByPoint)
{
    const CPointList points{{100, 100}, {300, 100}, {300, 200}};
    Paint([&](CDC& dc) { DrawMappedPolyline(dc, points, 2.0, -20, -40); });
    // Device (60, 70) - (160, 70) - (160, 120).
    EXPECT_EQ(qRed(Pixel(60, 70)), 0);
    EXPECT_EQ(qRed(Pixel(110, 70)), 0);
    EXPECT_EQ(qRed(Pixel(160, 100)), 0);
    EXPECT_EQ(Pixel(110, 71), kWhite);
    EXPECT_EQ(Pixel(110, 69), kWhite);
    EXPECT_EQ(Ink(m_image), QRect(QPoint(60, 70), QPoint(160, 119)));
}

TEST_F(Canvas, PolygonIsFilledWithTheBrush)
{
    const CPointList points{{0, 0}, {200, 0}, {200, 200}, {0, 200}};
    Paint([&](CDC& dc) {
        dc.SelectBrush(CBrush::Solid(RGB(0, 0, 255)));
        DrawMappedPolygon(dc, points, 2.0, -20, -20);
    });
    EXPECT_EQ(Pixel(60, 60), qRgb(0, 0, 255));
    EXPECT_EQ(Pixel(10, 60), qRgb(0, 0, 0));  // the outline
    EXPECT_EQ(Pixel(9, 60), kWhite);
    EXPECT_EQ(Pixel(60, 111), kWhite);
}

TEST_F(Canvas, EmptyListsDrawNothing)
{
    const CPointList none;
    const CPointList one{{50, 50}};
    Paint([&](CDC& dc) {
        DrawMappedPolygon(dc, none, 1.0, 0, 0);
        DrawMappedPolyline(dc, none, 1.0, 0, 0);
        DrawMappedPolygonSmooth(dc, RGB(255, 0, 0), 3.0f, none, 1.0, 0, 0);
        DrawMappedPolylineSmooth(dc, RGB(255, 0, 0), 3.0f, one, 1.0, 0, 0);
        DrawMappedPolygonSmooth(dc, RGB(255, 0, 0), 3.0f, one, 1.0, 0, 0);
    });
    EXPECT_TRUE(Ink(m_image).isNull());
}

TEST_F(Canvas, SmoothPolygonIsFilledAndAntiAliased)
{
    const CPointList triangle{{40, 40}, {400, 40}, {40, 240}};
    Paint([&](CDC& dc) { DrawMappedPolygonSmooth(dc, RGB(255, 0, 0), 1.0f, triangle, 2.0, 0, 0); });
    EXPECT_EQ(Pixel(50, 50), qRgb(255, 0, 0));
    EXPECT_EQ(Pixel(20, 60), qRgb(255, 0, 0));  // on the edge: outline and fill
    EXPECT_EQ(Pixel(150, 100), kWhite);
    // The slanted edge, about 200 pixels long, is made of partly covered pixels.
    int partial = 0;
    for (int y = 0; y < m_image.height(); ++y)
        for (int x = 0; x < m_image.width(); ++x) {
            const QRgb p = Pixel(x, y);
            if (qRed(p) == 255 && qGreen(p) > 0 && qGreen(p) < 255) ++partial;
        }
    EXPECT_GT(partial, 150);
}

TEST_F(Canvas, SmoothPolylineHasThePenWidth)
{
    const CPointList line{{40, 100}, {400, 100}};
    Paint([&](CDC& dc) { DrawMappedPolylineSmooth(dc, RGB(0, 128, 0), 4.0f, line, 2.0, 0, 0); });
    // Device line at y = 50 (pixel centres on the integers), 4 pixels wide.
    for (int y = 49; y <= 51; ++y) EXPECT_EQ(Pixel(100, y), qRgb(0, 128, 0)) << y;
    for (const int y : {48, 52}) {
        EXPECT_GT(qRed(Pixel(100, y)), 0) << y;  // half covered
        EXPECT_LT(qRed(Pixel(100, y)), 255) << y;
    }
    EXPECT_EQ(Pixel(100, 47), kWhite);
    EXPECT_EQ(Pixel(100, 53), kWhite);
    // Flat caps: nothing before the first point.
    EXPECT_EQ(Pixel(17, 50), kWhite);
    EXPECT_EQ(Pixel(21, 50), qRgb(0, 128, 0));
}

class TextBlock : public Canvas {
protected:
    static LogFont Font(int height, int escapement = 0)
    {
        LogFont font;
        font.lfHeight = height;
        font.lfEscapement = escapement;
        font.SetFaceName("WenQuanYi Zen Hei");
        return font;
    }
};

TEST_F(TextBlock, EmptyTextDrawsNothingAndRestoresTheContext)
{
    Paint([&](CDC& dc) {
        const LogFont before = dc.GetFont();
        dc.SetBkColor(RGB(255, 0, 0));
        DrawTextBlock(dc, 100, 100, Font(-400), "", 10.0, 0, 0);
        EXPECT_EQ(dc.GetFont(), before);
        EXPECT_EQ(dc.GetBkMode(), OPAQUE);
    });
    EXPECT_TRUE(Ink(m_image).isNull());
}

TEST_F(TextBlock, LinesAreDrawnAtScaledFontAndMappedPlaces)
{
    // Scale 2: the model font of 60 units is 30 pixels; the block starts at
    // model (300, 200), device (110, 70) with origin (80, 60).
    Paint([&](CDC& dc) {
        dc.SetBkColor(RGB(255, 0, 0));  // must not show: the background is transparent
        const LogFont before = dc.GetFont();
        DrawTextBlock(dc, 300, 200, Font(-60), "Ab\r\n\r\nXy", 2.0, 80, 60);
        EXPECT_EQ(dc.GetFont(), before);
        EXPECT_EQ(dc.GetBkMode(), OPAQUE);
    });

    QImage expected = Blank();
    PaintOn(expected, [&](CDC& dc) {
        dc.SelectFont(Font(-30));
        dc.SetBkMode(TRANSPARENT);
        const int lineHeight = dc.GetTextHeight();
        dc.TextOut(110, 70, "Ab");
        dc.TextOut(110, 70 + 2 * lineHeight, "Xy");
    });
    EXPECT_FALSE(Ink(m_image).isNull());
    EXPECT_TRUE(m_image == expected);
}

TEST_F(TextBlock, LinesFollowEachOtherAcrossTheEscapement)
{
    struct Case {
        int escapement;
        int stepX;  // sign of the advance from line 0 to line 1
        int stepY;
    };
    const Case cases[] = {{0, 0, 1}, {900, 1, 0}, {1800, 0, -1}, {2700, -1, 0}};
    for (const Case& c : cases) {
        QImage first = Blank();
        QImage both = Blank();
        // A second line of the same glyph, so the ink of the pair shows where
        // line 1 went.
        PaintOn(first, [&](CDC& dc) { DrawTextBlock(dc, 120, 120, Font(-30, c.escapement), "H\r\n", 1.0, 0, 0); });
        PaintOn(both, [&](CDC& dc) { DrawTextBlock(dc, 120, 120, Font(-30, c.escapement), "H\r\nH", 1.0, 0, 0); });
        const QRect a = Ink(first);
        const QRect b = Ink(both);
        ASSERT_FALSE(a.isNull()) << c.escapement;
        const int growX = c.stepX > 0 ? b.right() - a.right() : a.left() - b.left();
        const int growY = c.stepY > 0 ? b.bottom() - a.bottom() : a.top() - b.top();
        if (c.stepX != 0) {
            EXPECT_GT(growX, 10) << c.escapement;
            EXPECT_EQ(b.height(), a.height()) << c.escapement;
        } else {
            EXPECT_GT(growY, 10) << c.escapement;
            EXPECT_EQ(b.width(), a.width()) << c.escapement;
        }
    }
}

TEST_F(TextBlock, TinyFontStillDraws)
{
    // 10 model units at scale 40 is a quarter pixel; it becomes one pixel,
    // never the default size that 0 would ask for.
    Paint([&](CDC& dc) { DrawTextBlock(dc, 400, 400, Font(10), "WWWW", 40.0, 0, 0); });
    const QRect ink = Ink(m_image);
    if (!ink.isNull()) {
        EXPECT_LE(ink.height(), 3);
    }
}

} // namespace
