#include "model/CLineTypeShape.h"

#include "platform/CArchive.h"
#include "platform/CDC.h"

#include "HexBytes.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

namespace {

// Pen 30, not filled, points (1, 2) and (-3, 4).
const char* const kOpenShape =
    "1E000000 00000000 02000000"
    "01000000 02000000  FDFFFFFF 04000000";

CLineTypeShape Shape(int pen, int filled, std::initializer_list<CPoint> points)
{
    return CLineTypeShape(pen, filled, CPointList(points));
}

std::string Stored(const CLineTypeShape& s)
{
    CArchive ar;
    EXPECT_EQ(s.Store(ar), 1);
    return ar.Buffer();
}

// Renders one shape into a white 200 x 200 image at 10 page units per pixel.
QImage Render(const CLineTypeShape& shape, bool printing, const CRect& clip, COLORREF colour = RGB(0, 0, 0))
{
    QImage image(200, 200, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    {
        CDC dc(&painter, printing);
        shape.Draw(&dc, colour, 10.0, 0, 0, clip);
    }
    painter.end();
    return image;
}

bool Dark(const QImage& image, int x, int y)
{
    return qGray(image.pixel(x, y)) < 128;
}

int DarkInColumn(const QImage& image, int x)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y) n += Dark(image, x, y) ? 1 : 0;
    return n;
}

int DarkPixels(const QImage& image)
{
    int n = 0;
    for (int x = 0; x < image.width(); ++x) n += DarkInColumn(image, x);
    return n;
}

const CRect kWholeImage(0, 0, 200, 200);

} // namespace

TEST(LineTypeShapeBounds, CoverThePointsWithExclusiveRightAndBottom)
{
    const CLineTypeShape s = Shape(30, 0, {{1, 2}, {-3, 4}, {0, 9}});
    EXPECT_EQ(s.GetBoundRect(), CRect(-3, 2, 2, 10));
    const CLineTypeShape copy(s);
    EXPECT_EQ(copy.GetBoundRect(), s.GetBoundRect());
    CLineTypeShape assigned;
    assigned = s;
    EXPECT_EQ(assigned.GetBoundRect(), s.GetBoundRect());
}

TEST(LineTypeShapeBounds, NoPointsGiveEmptyBounds)
{
    EXPECT_EQ(CLineTypeShape().GetBoundRect(), CRect());
    EXPECT_EQ(Shape(5, 1, {}).GetBoundRect(), CRect());
    CLineTypeShape s = Shape(5, 0, {{100, 100}, {200, 300}});
    CArchive ar(HexBytes("05000000 00000000 00000000"));
    s.Load(ar);
    EXPECT_EQ(s.GetBoundRect(), CRect());
}

TEST(LineTypeShapeRecord, StoresAndLoadsByteForByte)
{
    const CLineTypeShape s = Shape(30, 0, {{1, 2}, {-3, 4}});
    EXPECT_EQ(Stored(s), HexBytes(kOpenShape));

    CArchive ar(HexBytes(kOpenShape));
    CLineTypeShape back = Shape(1, 1, {{7, 7}});
    EXPECT_EQ(back.Load(ar), 1);
    EXPECT_EQ(ar.BytesLeft(), 0u);
    EXPECT_EQ(back, s);
    EXPECT_EQ(back.GetBoundRect(), CRect(-3, 2, 2, 5));
}

TEST(LineTypeShapeRecord, KeepsAnUnusualFilledFlag)
{
    const std::string bytes = HexBytes("0A000000 02000000 01000000 05000000 06000000");
    CArchive ar(bytes);
    CLineTypeShape s;
    s.Load(ar);
    EXPECT_EQ(s.IsFilled(), 1);
    EXPECT_EQ(Stored(s), bytes);
}

TEST(LineTypeShapeRecord, PointsJustWithinRangeLoad)
{
    CLineTypeShape s;
    CArchive ar(HexBytes("0A000000 00000000 02000000 FFFFFF3F 010000C0 010000C0 FFFFFF3F"));
    ASSERT_NO_THROW(s.Load(ar));
    EXPECT_EQ(s.GetBoundRect(), CRect(-(1 << 30) + 1, -(1 << 30) + 1, 1 << 30, 1 << 30));
}

TEST(LineTypeShapeRecord, DamagedRecordsThrowAndLeaveTheShape)
{
    const std::string cases[] = {
        HexBytes("0A000000 00000000 FFFFFF7F 00000000 00000000"), // count far beyond the bytes
        HexBytes("0A000000 00000000 FFFFFFFF"),                   // negative count
        HexBytes("0A000000 00000000 02000000 01000000 02000000"), // second point missing
        // Points where widths and sums of coordinates overflow.
        HexBytes("0A000000 00000000 02000000 00000080 00000000 0A000000 0A000000"), // x at the lowest int
        HexBytes("0A000000 00000000 01000000 00000000 FFFFFF7F"),                   // y at the largest int
        HexBytes("0A000000 00000000 01000000 00000040 00000000"),                   // x at 2^30
        HexBytes("0A000000 00000000 01000000 00000000 000000C0"),                   // y at -2^30
    };
    const CLineTypeShape before = Shape(3, 0, {{1, 1}, {2, 2}});
    for (const std::string& bytes : cases) {
        CLineTypeShape s(before);
        CArchive ar(bytes);
        EXPECT_THROW(s.Load(ar), CArchiveError);
        EXPECT_EQ(s, before);
        EXPECT_EQ(s.GetBoundRect(), before.GetBoundRect());
    }
    const std::string full = HexBytes(kOpenShape);
    for (std::size_t n = 0; n < full.size(); ++n) {
        CLineTypeShape s;
        CArchive ar(full.substr(0, n));
        EXPECT_THROW(s.Load(ar), CArchiveError) << "cut at " << n;
    }
}

TEST(LineTypeShapeDraw, StrokeWidthFollowsTheScale)
{
    // 50 page units at 10 units per pixel: a 5-pixel stroke at y = 100.
    const CLineTypeShape s = Shape(50, 0, {{100, 1000}, {1900, 1000}});
    const QImage image = Render(s, false, kWholeImage);
    const int n = DarkInColumn(image, 100);
    EXPECT_GE(n, 4);
    EXPECT_LE(n, 6);
    EXPECT_TRUE(Dark(image, 100, 100));
    EXPECT_FALSE(Dark(image, 100, 90));
}

TEST(LineTypeShapeDraw, ThinStrokeIsAtLeastOnePixel)
{
    const CLineTypeShape s = Shape(1, 0, {{1000, 100}, {1000, 1900}});
    const QImage printed = Render(s, true, kWholeImage);
    EXPECT_NEAR(DarkInColumn(printed, 100), 180, 1);
    EXPECT_EQ(DarkInColumn(printed, 99) + DarkInColumn(printed, 101), 0);
}

TEST(LineTypeShapeDraw, FilledShapeIsFilledInItsColour)
{
    const CLineTypeShape s = Shape(500, 1, {{500, 500}, {1500, 500}, {1500, 1500}, {500, 1500}});
    for (bool printing : {false, true}) {
        const QImage image = Render(s, printing, kWholeImage, RGB(0, 0, 255));
        EXPECT_EQ(image.pixel(100, 100), qRgb(0, 0, 255)) << printing;
        EXPECT_EQ(image.pixel(30, 100), qRgb(255, 255, 255)) << printing;
        // Outline one pixel wide, not the 50-pixel pen width.
        EXPECT_EQ(image.pixel(47, 100), qRgb(255, 255, 255)) << printing;
    }
}

TEST(LineTypeShapeDraw, ScreenSkipsShapesOutsideTheClipButPrintingDoesNot)
{
    const CLineTypeShape s = Shape(20, 0, {{100, 1500}, {1900, 1500}});
    const CRect clip(0, 0, 200, 100);
    EXPECT_EQ(DarkPixels(Render(s, false, clip)), 0);
    EXPECT_GT(DarkPixels(Render(s, true, clip)), 100);
}

TEST(LineTypeShapeDraw, ScreenDrawsStraightLinesWhoseBoundsAreOneUnitThin)
{
    // Horizontal and vertical lines have bounds one unit thin, which map to
    // an empty device rectangle; they must still count as meeting the clip.
    const CLineTypeShape horizontal = Shape(20, 0, {{100, 1003}, {1900, 1003}});
    const CLineTypeShape vertical = Shape(20, 0, {{1003, 100}, {1003, 1900}});
    EXPECT_GT(DarkPixels(Render(horizontal, false, kWholeImage)), 150);
    EXPECT_GT(DarkPixels(Render(vertical, false, kWholeImage)), 150);
}

TEST(LineTypeShapeDraw, ScreenDrawsThickStrokesThatReachIntoTheClip)
{
    // A 20-pixel stroke along y = 100 covers rows 90 to 109: a clip ending
    // at row 95 must still get it, although the points lie outside.
    const CLineTypeShape s = Shape(200, 0, {{100, 1000}, {1900, 1000}});
    const QImage image = Render(s, false, CRect(0, 0, 200, 95));
    EXPECT_TRUE(Dark(image, 100, 92));
}

TEST(LineTypeShapeDraw, PrintingRestoresPenAndBrush)
{
    QImage image(20, 20, QImage::Format_RGB32);
    QPainter painter(&image);
    CDC dc(&painter, true);
    const CPen pen{PS_DASH, 3, RGB(1, 2, 3)};
    dc.SelectPen(pen);
    dc.SelectBrush(CBrush::Null());
    Shape(10, 1, {{0, 0}, {50, 0}, {50, 50}}).Draw(&dc, RGB(9, 9, 9), 1.0, 0, 0, CRect(0, 0, 20, 20));
    EXPECT_EQ(dc.GetPen(), pen);
    EXPECT_EQ(dc.GetBrush().style, BS_NULL);
}
