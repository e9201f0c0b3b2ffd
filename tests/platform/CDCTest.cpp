#include "platform/CDC.h"

#include "platform/CArchive.h"
#include "platform/CodePage.h"
#include "platform/LogFont.h"

#include <gtest/gtest.h>

#include <QFontInfo>
#include <QFontMetrics>
#include <QImage>
#include <QLineF>
#include <QPainter>

#include <climits>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr QRgb kWhite = 0xFFFFFFFF;

std::string Gbk(const char* utf8)
{
    return QStringToGbk(QString::fromUtf8(utf8));
}

LogFont Font(int height, int escapement = 0)
{
    LogFont font;
    font.lfHeight = height;
    font.lfEscapement = escapement;
    font.SetFaceName("WenQuanYi Zen Hei");
    return font;
}

QImage Blank(int w = 200, int h = 200)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

void PaintOn(QImage& image, const std::function<void(CDC&)>& draw)
{
    QPainter painter(&image);
    CDC dc(&painter);
    draw(dc);
}

QRect Ink(const QImage& image)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != kWhite) box |= QRect(x, y, 1, 1);
    return box;
}

int InkCount(const QImage& image)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != kWhite) ++n;
    return n;
}

TEST(CDCState, SelectAndSetReturnThePreviousValue)
{
    QImage image = Blank();
    QPainter painter(&image);
    CDC dc(&painter, true);
    EXPECT_TRUE(dc.IsPrinting());
    const CPen red{PS_DASH, 3, RGB(255, 0, 0)};
    const CPen first = dc.SelectPen(red);
    EXPECT_EQ(dc.SelectPen(first), red);
    EXPECT_EQ(dc.SelectBrush(CBrush::Null()).style, BS_SOLID);
    EXPECT_EQ(dc.SelectBrush(CBrush::Solid(RGB(1, 2, 3))).style, BS_NULL);
    const LogFont font = Font(-30);
    const LogFont before = dc.SelectFont(font);
    EXPECT_EQ(dc.SelectFont(before), font);
    EXPECT_EQ(dc.SetBkMode(TRANSPARENT), OPAQUE);
    EXPECT_EQ(dc.SetTextCharacterExtra(4), 0);
    EXPECT_EQ(dc.SetTextCharacterExtra(0), 4);
    EXPECT_EQ(dc.SetTextColor(RGB(9, 9, 9)), RGB(0, 0, 0));
}

TEST(CDCState, PainterStateIsGivenBack)
{
    QImage image = Blank();
    QPainter painter(&image);
    painter.setPen(QPen(Qt::green, 7));
    painter.setRenderHint(QPainter::Antialiasing, true);
    {
        CDC dc(&painter);
        dc.SelectPen(CPen{PS_SOLID, 1, RGB(255, 0, 0)});
        dc.SetTextCharacterExtra(3);
        dc.TextOut(10, 10, "abc");
    }
    EXPECT_EQ(painter.pen().color(), QColor(Qt::green));
    EXPECT_EQ(painter.pen().width(), 7);
    EXPECT_TRUE(painter.testRenderHint(QPainter::Antialiasing));
}

// A hairline covers its start pixel and leaves out its end pixel, whichever
// way it runs.
TEST(CDCLines, HairlineCoversStartButNotEnd)
{
    const CPoint segments[][2] = {
        {{20, 50}, {120, 50}}, {{120, 50}, {20, 50}},  {{50, 20}, {50, 120}},  {{50, 120}, {50, 20}},
        {{20, 20}, {100, 100}}, {{100, 100}, {20, 20}}, {{20, 100}, {100, 20}}, {{30, 40}, {130, 90}},
        {{130, 90}, {30, 40}},
    };
    for (const auto& s : segments) {
        QImage image = Blank();
        PaintOn(image, [&](CDC& dc) {
            dc.MoveTo(s[0].x, s[0].y);
            dc.LineTo(s[1].x, s[1].y);
        });
        const int length = std::max(std::abs(s[1].x - s[0].x), std::abs(s[1].y - s[0].y));
        EXPECT_NE(image.pixel(s[0].x, s[0].y), kWhite) << s[0].x << "," << s[0].y << " to " << s[1].x << "," << s[1].y;
        EXPECT_EQ(image.pixel(s[1].x, s[1].y), kWhite) << s[0].x << "," << s[0].y << " to " << s[1].x << "," << s[1].y;
        EXPECT_EQ(InkCount(image), length) << s[0].x << "," << s[0].y << " to " << s[1].x << "," << s[1].y;
    }
}

TEST(CDCLines, PolylineJoinsWithoutGapsAndLeavesOutItsLastPoint)
{
    const CPoint points[] = {{10, 10}, {60, 10}, {60, 60}, {10, 60}, {10, 20}};
    QImage image = Blank();
    PaintOn(image, [&](CDC& dc) { dc.Polyline(points, 5); });
    EXPECT_EQ(InkCount(image), 50 + 50 + 50 + 40);
    EXPECT_EQ(image.pixel(10, 20), kWhite);
    EXPECT_NE(image.pixel(60, 60), kWhite);
    EXPECT_EQ(Ink(image), QRect(QPoint(10, 10), QPoint(60, 60)));
}

// On a painter whose logical pixel is several device pixels (a printer's
// sheet laid out in tenths of a millimetre), a hairline is one unbroken
// stroke one logical pixel wide, whatever its direction, through lines,
// polylines and polygon outlines alike.
TEST(CDCLines, ScaledHairlinesAreUnbrokenStrokesOneLogicalPixelWide)
{
    struct Case {
        const char* name;
        std::function<void(CDC&)> draw;
        QPoint from, to;  // logical pixel centres along which ink must run
    };
    const CPoint zig[] = {{5, 40}, {45, 10}, {75, 40}};
    const CPoint triangle[] = {{10, 10}, {70, 10}, {10, 70}};
    const std::vector<Case> cases = {
        {"line", [](CDC& dc) { dc.MoveTo(5, 20); dc.LineTo(75, 20); }, {5, 20}, {74, 20}},
        {"slanted line", [](CDC& dc) { dc.MoveTo(5, 5); dc.LineTo(70, 60); }, {5, 5}, {69, 59}},
        {"polyline", [&](CDC& dc) { dc.Polyline(zig, 3); }, {5, 40}, {45, 10}},
        {"polygon outline", [&](CDC& dc) { dc.SelectBrush(CBrush::Null()); dc.Polygon(triangle, 3); }, {70, 10}, {10, 70}},
    };
    for (const double factor : {2.362, 4.0}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << c.name << " at " << factor);
            QImage image = Blank(int(80 * factor), int(80 * factor));
            {
                QPainter painter(&image);
                painter.scale(factor, factor);
                CDC dc(&painter, true);
                c.draw(dc);
            }
            // Every step along the line, in device pixels, meets ink.
            const QPointF a = (QPointF(c.from) + QPointF(0.5, 0.5)) * factor;
            const QPointF b = (QPointF(c.to) + QPointF(0.5, 0.5)) * factor;
            const int steps = int(QLineF(a, b).length());
            int gaps = 0;
            for (int i = 0; i <= steps; ++i) {
                const QPointF p = a + (b - a) * (double(i) / steps);
                gaps += image.pixel(int(p.x()), int(p.y())) == kWhite;
            }
            EXPECT_EQ(gaps, 0);
            // About one logical pixel wide: a horizontal line covers
            // `factor` device rows.
            if (c.from.y() == c.to.y()) {
                int rows = 0;
                for (int y = 0; y < image.height(); ++y) rows += image.pixel(int(40 * factor), y) != kWhite;
                EXPECT_NEAR(rows, factor, 1.0);
            }
        }
    }
}

TEST(CDCLines, NullPenDrawsNoLines)
{
    const CPoint points[] = {{10, 10}, {60, 10}, {60, 60}};
    QImage image = Blank();
    PaintOn(image, [&](CDC& dc) {
        dc.SelectPen(CPen{PS_NULL, 1, 0});
        dc.MoveTo(0, 0);
        dc.LineTo(100, 100);
        dc.Polyline(points, 3);
    });
    EXPECT_EQ(InkCount(image), 0);
}

TEST(CDCShapes, HairlinePolygonIsClosedAroundItsFill)
{
    const CPoint square[] = {{20, 20}, {80, 20}, {80, 80}, {20, 80}};
    QImage image = Blank();
    PaintOn(image, [&](CDC& dc) {
        dc.SelectBrush(CBrush::Solid(RGB(0, 0, 255)));
        dc.Polygon(square, 4);
    });
    EXPECT_EQ(Ink(image), QRect(QPoint(20, 20), QPoint(80, 80)));
    for (const CPoint& p : square) EXPECT_EQ(image.pixel(p.x, p.y), qRgb(0, 0, 0)) << p.x << "," << p.y;
    EXPECT_EQ(image.pixel(50, 50), qRgb(0, 0, 255));
    EXPECT_EQ(image.pixel(79, 79), qRgb(0, 0, 255));
}

TEST(CDCShapes, RectangleLeavesOutRightAndBottomEdges)
{
    QImage image = Blank();
    PaintOn(image, [&](CDC& dc) {
        dc.SelectBrush(CBrush::Solid(RGB(0, 255, 0)));
        dc.Rectangle(10, 10, 20, 30);
    });
    EXPECT_EQ(Ink(image), QRect(QPoint(10, 10), QPoint(19, 29)));
    EXPECT_EQ(image.pixel(19, 29), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(15, 20), qRgb(0, 255, 0));
}

// Shapes whose corners lie at the ends of the int range (the device pixels
// of far points, zoomed in) paint what of them can be seen: their sides are
// counted without overflowing.
TEST(CDCShapes, ShapesAcrossTheWholeRangePaintTheirVisiblePart)
{
    const struct {
        const char* name;
        std::function<void(CDC&)> draw;
    } cases[] = {
        {"filled rectangle", [](CDC& dc) { dc.FillSolidRect(CRect(INT_MIN, INT_MIN, INT_MAX, INT_MAX), RGB(0, 255, 0)); }},
        {"rectangle", [](CDC& dc) {
             dc.SelectBrush(CBrush::Solid(RGB(0, 255, 0)));
             dc.Rectangle(INT_MIN, INT_MIN, INT_MAX, INT_MAX);
         }},
        {"ellipse", [](CDC& dc) {
             dc.SelectBrush(CBrush::Solid(RGB(0, 255, 0)));
             dc.Ellipse(INT_MIN, INT_MIN, INT_MAX, INT_MAX);
         }},
        {"rectangle from far left", [](CDC& dc) {
             dc.SelectBrush(CBrush::Solid(RGB(0, 255, 0)));
             dc.Rectangle(INT_MIN, 10, 150, 190);
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QImage image = Blank();
        PaintOn(image, c.draw);
        EXPECT_EQ(image.pixel(100, 100), qRgb(0, 255, 0));
    }
}

class CDCText : public ::testing::Test {
protected:
    QImage m_image = Blank(300, 200);
};

TEST_F(CDCText, ExtentIsTheSumOfTheCharacters)
{
    PaintOn(m_image, [&](CDC& dc) {
        dc.SelectFont(Font(-24));
        const std::string zhong = Gbk("中");
        const std::string wen = Gbk("文");
        const int height = dc.GetTextHeight();
        EXPECT_GT(height, 24);
        EXPECT_EQ(dc.GetTextExtent(""), CSize(0, height));
        EXPECT_EQ(dc.GetTextExtent(zhong + wen).cx, dc.GetTextExtent(zhong).cx + dc.GetTextExtent(wen).cx);
        EXPECT_EQ(dc.GetTextExtent("Wil").cx,
                  dc.GetTextExtent("W").cx + dc.GetTextExtent("i").cx + dc.GetTextExtent("l").cx);
        // A full-width character is about one em wide.
        EXPECT_NEAR(dc.GetTextExtent(zhong).cx, 24, 2);
        // The extra is not part of the extent.
        dc.SetTextCharacterExtra(5);
        EXPECT_EQ(dc.GetTextExtent("ab").cx, dc.GetTextExtent("a").cx + dc.GetTextExtent("b").cx);
    });
}

TEST_F(CDCText, OpaqueCellHasItsTopLeftAtThePoint)
{
    CSize extent;
    PaintOn(m_image, [&](CDC& dc) {
        dc.SelectFont(Font(-30));
        dc.SetBkColor(RGB(255, 0, 0));
        dc.TextOut(40, 50, "Hg");
        extent = dc.GetTextExtent("Hg");
    });
    EXPECT_EQ(Ink(m_image), QRect(40, 50, extent.cx, extent.cy));
    EXPECT_EQ(m_image.pixel(40, 50), qRgb(255, 0, 0));
}

TEST_F(CDCText, OpaqueCellCoversTheCharacterExtra)
{
    CSize extent;
    PaintOn(m_image, [&](CDC& dc) {
        dc.SelectFont(Font(-30));
        dc.SetBkColor(RGB(255, 0, 0));
        dc.SetTextCharacterExtra(7);
        dc.TextOut(40, 50, Gbk("中a"));
        extent = dc.GetTextExtent(Gbk("中a"));
    });
    EXPECT_EQ(Ink(m_image), QRect(40, 50, extent.cx + 2 * 7, extent.cy));
}

// Text lands where measuring its characters one by one says: the whole
// text draws exactly as its characters drawn alone at the summed advances.
TEST_F(CDCText, CharactersLandAtTheirMeasuredAdvances)
{
    for (const int extra : {0, 4, -2}) {
        const std::string text = "Wavy" + Gbk("中文") + "ij";
        QImage whole = Blank(300, 200);
        QImage pieces = Blank(300, 200);
        PaintOn(whole, [&](CDC& dc) {
            dc.SelectFont(Font(-27));
            dc.SetBkMode(TRANSPARENT);
            dc.SetTextCharacterExtra(extra);
            dc.TextOut(13, 40, text);
        });
        PaintOn(pieces, [&](CDC& dc) {
            dc.SelectFont(Font(-27));
            dc.SetBkMode(TRANSPARENT);
            int x = 13;
            for (std::size_t i = 0; i < text.size();) {
                const std::size_t len = IsLeadByteAt(text, i) ? 2 : 1;
                const std::string ch = text.substr(i, len);
                dc.TextOut(x, 40, ch);
                x += dc.GetTextExtent(ch).cx + extra;
                i += len;
            }
        });
        EXPECT_TRUE(whole == pieces) << "extra " << extra;
    }
}

TEST_F(CDCText, EscapementTurnsTheCellAboutItsTopLeft)
{
    struct Case {
        int escapement;
        QRect (*box)(int x, int y, CSize e);
    };
    const Case cases[] = {
        {0, [](int x, int y, CSize e) { return QRect(x, y, e.cx, e.cy); }},
        {900, [](int x, int y, CSize e) { return QRect(x, y - e.cx, e.cy, e.cx); }},
        {1800, [](int x, int y, CSize e) { return QRect(x - e.cx, y - e.cy, e.cx, e.cy); }},
        {2700, [](int x, int y, CSize e) { return QRect(x - e.cy, y, e.cy, e.cx); }},
    };
    for (const Case& c : cases) {
        QImage image = Blank(300, 300);
        CSize extent;
        PaintOn(image, [&](CDC& dc) {
            dc.SelectFont(Font(-20, c.escapement));
            dc.SetBkColor(RGB(255, 0, 0));
            dc.TextOut(150, 150, "Text");
            extent = dc.GetTextExtent("Text");
        });
        const QRect expected = c.box(150, 150, extent);
        const QRect ink = Ink(image);
        EXPECT_NEAR(ink.left(), expected.left(), 1) << c.escapement;
        EXPECT_NEAR(ink.top(), expected.top(), 1) << c.escapement;
        EXPECT_NEAR(ink.right(), expected.right(), 1) << c.escapement;
        EXPECT_NEAR(ink.bottom(), expected.bottom(), 1) << c.escapement;
    }
}

TEST_F(CDCText, UnderlineRunsUnbrokenAcrossTheExtra)
{
    LogFont font = Font(-30);
    font.lfUnderline = 1;
    int width = 0;
    PaintOn(m_image, [&](CDC& dc) {
        dc.SelectFont(font);
        dc.SetBkMode(TRANSPARENT);
        dc.SetTextCharacterExtra(12);
        dc.TextOut(20, 20, "i.i");
        width = dc.GetTextExtent("i.i").cx + 2 * 12;
    });
    bool unbroken = false;
    for (int y = 20; y < 80 && !unbroken; ++y) {
        int run = 0;
        for (int x = 20; x < 20 + width; ++x)
            if (qGray(m_image.pixel(x, y)) < 128) ++run;
        unbroken = run == width;
    }
    EXPECT_TRUE(unbroken);
}

TEST_F(CDCText, ScreenContextMeasuresAsAnyOther)
{
    const std::string text = "Ab" + Gbk("中文");
    CSize onImage;
    PaintOn(m_image, [&](CDC& dc) {
        dc.SelectFont(Font(-250));
        onImage = dc.GetTextExtent(text);
    });
    CScreenDC screen;
    screen.SelectFont(Font(-250));
    EXPECT_EQ(screen.GetTextExtent(text), onImage);
    EXPECT_GT(onImage.cx, 500);
}

TEST_F(CDCText, EmptyTextDrawsNothing)
{
    PaintOn(m_image, [&](CDC& dc) { dc.TextOut(10, 10, ""); });
    EXPECT_EQ(InkCount(m_image), 0);
}

TEST(MakeQFont, HeightsFollowTheSystemsRules)
{
    // Negative: the character (em) height; positive: the whole cell.
    EXPECT_EQ(MakeQFont(Font(-40)).pixelSize(), 40);
    EXPECT_NEAR(QFontMetrics(MakeQFont(Font(40))).height(), 40, 1);
    EXPECT_LT(MakeQFont(Font(40)).pixelSize(), 40);
    EXPECT_GT(MakeQFont(Font(0)).pixelSize(), 0);
    EXPECT_EQ(MakeQFont(Font(-100000)).pixelSize(), 32000);
    EXPECT_EQ(MakeQFont(Font(-40)).hintingPreference(), QFont::PreferNoHinting);
}

TEST(MakeQFont, StyleAndWidth)
{
    LogFont font = Font(-40);
    font.lfWeight = FW_BOLD;
    font.lfItalic = 1;
    const QFont bold = MakeQFont(font);
    EXPECT_TRUE(bold.bold());
    EXPECT_TRUE(bold.italic());

    LogFont wide = Font(-40);
    wide.lfWidth = 2 * QFontMetrics(MakeQFont(wide)).averageCharWidth();
    EXPECT_GT(QFontMetrics(MakeQFont(wide)).horizontalAdvance("MMMM"),
              QFontMetrics(MakeQFont(Font(-40))).horizontalAdvance("MMMM") * 3 / 2);
}

TEST(MakeQFont, ChineseFaceNamesReachACjkFont)
{
    for (const char* face : {"宋体", "黑体", "楷体_GB2312", "SimSun"}) {
        LogFont font = Font(-30);
        font.SetFaceName(Gbk(face));
        const QFontMetrics metrics(MakeQFont(font));
        EXPECT_TRUE(metrics.inFontUcs4(0x4E2D)) << face;
    }
}

TEST(LogFontRecord, FaceNameNeverSplitsACharacter)
{
    LogFont font;
    std::string face;
    for (int i = 0; i < 16; ++i) face += Gbk("宋");
    font.SetFaceName(face);
    EXPECT_EQ(font.FaceName(), face.substr(0, 30));
    font.SetFaceName("a" + face);
    EXPECT_EQ(font.FaceName(), "a" + face.substr(0, 30));
    font.SetFaceName("Arial");
    EXPECT_EQ(font.FaceName(), "Arial");
}

TEST(LogFontRecord, RawRecordIsSixtyBytesAndRoundTrips)
{
    LogFont font = Font(-2000, 450);
    font.lfWidth = 700;
    font.lfWeight = FW_BOLD;
    font.lfCharSet = GB2312_CHARSET;
    font.lfUnderline = 1;
    CArchive out;
    font.StoreRaw(out);
    ASSERT_EQ(out.Buffer().size(), std::size_t(LogFont::kRecordSize));
    EXPECT_EQ(out.Buffer().substr(0, 4), std::string("\x30\xF8\xFF\xFF", 4));
    CArchive in(out.Buffer());
    LogFont back;
    back.LoadRaw(in);
    EXPECT_EQ(back, font);
    EXPECT_EQ(in.BytesLeft(), 0u);
}

} // namespace
