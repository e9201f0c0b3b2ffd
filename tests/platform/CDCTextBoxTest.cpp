// Wrapped text boxes of the drawing context: wrapping by characters,
// measuring a box and drawing it left, centred or right, all with the
// advances TextOut uses.
#include "platform/CDC.h"

#include "platform/CodePage.h"
#include "platform/LogFont.h"

#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include <functional>
#include <string>

namespace {

constexpr QRgb kWhite = 0xFFFFFFFF;

std::string Gbk(const char* utf8)
{
    return QStringToGbk(QString::fromUtf8(utf8));
}

LogFont Font(int height)
{
    LogFont font;
    font.lfHeight = height;
    font.SetFaceName("WenQuanYi Zen Hei");
    return font;
}

QImage Blank(int w = 300, int h = 200)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

void PaintOn(QImage& image, const std::function<void(CDC&)>& draw)
{
    QPainter painter(&image);
    CDC dc(&painter);
    dc.SelectFont(Font(-24));
    dc.SetBkMode(TRANSPARENT);
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

class TextBox : public ::testing::Test {
protected:
    TextBox() : m_painter(&m_image), m_dc(&m_painter) { m_dc.SelectFont(Font(-24)); }

    int Advance(const std::string& ch) const { return m_dc.GetTextExtent(ch).cx; }

    QImage m_image = Blank(4, 4);
    QPainter m_painter;
    CDC m_dc;
};

} // namespace

TEST_F(TextBox, WrapsBeforeTheCharacterThatOverflows)
{
    const int a = Advance("A");
    const std::string han = Gbk("汉");
    const int h = Advance(han);
    struct Case {
        std::string text;
        int width;
        std::string wrapped;
    } cases[] = {
        {"AAAAAAA", 3 * a, "AAA\r\nAAA\r\nA"},
        {"AAAAAAA", 3 * a + a / 2, "AAA\r\nAAA\r\nA"},
        {"AAA", 3 * a, "AAA"},
        // Double-byte characters move whole to the next line.
        {Gbk("汉字汉字"), h + h / 2, Gbk("汉\r\n字\r\n汉\r\n字")},
        {Gbk("汉字汉字汉"), 2 * h + h / 2, Gbk("汉字\r\n汉字\r\n汉")},
        {"A" + han + "A", a + h / 2, "A\r\n" + han + "\r\nA"},
        // Breaks in the text are kept and start a new measured line.
        {"AB\r\nCD", 10 * a, "AB\r\nCD"},
        {"AAAA\r\nAAA", 2 * a, "AA\r\nAA\r\nAA\r\nA"},
        {"\r\n\r\nA", a, "\r\n\r\nA"},
        {"", 5, ""},
    };
    for (const Case& c : cases) EXPECT_EQ(m_dc.WrapText(c.text, c.width), c.wrapped) << c.text << " / " << c.width;
}

// A character wider than the box stands alone on its line; no line is left
// empty and wrapping ends.
TEST_F(TextBox, CharacterWiderThanTheBoxStandsAlone)
{
    const std::string han = Gbk("汉");
    for (const int width : {0, 1, Advance(han) - 1}) {
        EXPECT_EQ(m_dc.WrapText(han + han + "x", width), han + "\r\n" + han + "\r\nx") << width;
        EXPECT_EQ(m_dc.WrapText("\r\n" + han, width), "\r\n" + han) << width;
    }
}

TEST_F(TextBox, CalcRectMeasuresLinesWithoutDrawing)
{
    const int line = m_dc.GetTextHeight();
    struct Case {
        std::string text;
        unsigned format;
        int width;
        int lines;
    } cases[] = {
        {"", 0, 0, 0},
        {"AB", 0, Advance("AB"), 1},
        {"AB\r\nC", 0, Advance("AB"), 2},
        {"AB\r\n", 0, Advance("AB"), 1},
        {"A\r\n\r\nA", 0, Advance("A"), 3},
        {"A\nA\rA", 0, Advance("A"), 3},
        {"AAAA", DT_WORDBREAK, Advance("AA"), 2},
    };
    for (const Case& c : cases) {
        CRect box(10, 20, 10 + Advance("AA"), 20);
        EXPECT_EQ(m_dc.DrawText(c.text, box, c.format | DT_CALCRECT), c.lines * line) << c.text;
        EXPECT_EQ(box, CRect(10, 20, 10 + c.width, 20 + c.lines * line)) << c.text;
    }
    EXPECT_EQ(Ink(m_image), QRect());
}

// Each line is drawn as TextOut draws it, at the left, centred or against
// the right of the box, one text height below the other.
TEST(TextBoxDrawing, LinesArePlacedAsTextOutPlacesThem)
{
    const std::string text = "Wide\r\n" + Gbk("中");
    const CRect box(20, 30, 220, 150);
    for (const unsigned align : {DT_LEFT, DT_CENTER, DT_RIGHT}) {
        QImage drawn = Blank();
        QImage expected = Blank();
        PaintOn(drawn, [&](CDC& dc) {
            CRect r = box;
            dc.DrawText(text, r, align);
        });
        PaintOn(expected, [&](CDC& dc) {
            int y = box.top;
            for (const std::string& line : {std::string("Wide"), Gbk("中")}) {
                const int w = dc.GetTextExtent(line).cx;
                const int x = align == DT_LEFT ? box.left : align == DT_RIGHT ? box.right - w : (box.left + box.right - w) / 2;
                dc.TextOut(x, y, line);
                y += dc.GetTextHeight();
            }
        });
        EXPECT_TRUE(drawn == expected) << align;
        EXPECT_FALSE(Ink(drawn).isEmpty());
    }
}

// Drawing with word breaks draws exactly the wrapped text, inside the box.
TEST(TextBoxDrawing, WhatIsMeasuredIsWhatIsDrawn)
{
    const std::string text = Gbk("工艺单的测量表格") + "ABCDEFGH";
    QImage drawn = Blank();
    QImage wrapped = Blank();
    CRect measured(10, 10, 110, 10);
    PaintOn(drawn, [&](CDC& dc) {
        CRect r(10, 10, 110, 190);
        dc.DrawText(text, r, DT_WORDBREAK);
        dc.DrawText(text, measured, DT_WORDBREAK | DT_CALCRECT);
    });
    PaintOn(wrapped, [&](CDC& dc) {
        CRect r(10, 10, 110, 190);
        dc.DrawText(dc.WrapText(text, 100), r, 0);
    });
    EXPECT_TRUE(drawn == wrapped);
    const QRect ink = Ink(drawn);
    EXPECT_GE(ink.left(), 10);
    EXPECT_LE(ink.right(), 109);
    EXPECT_LE(ink.bottom(), measured.bottom);
    EXPECT_GT(measured.Height(), 2 * 24);
}

TEST(TextBoxDrawing, ClippedToTheBoxUnlessAskedNotTo)
{
    QImage clipped = Blank();
    QImage free = Blank();
    PaintOn(clipped, [&](CDC& dc) {
        CRect r(20, 20, 60, 35);
        dc.DrawText("MMMMMM\r\nMMM", r, DT_LEFT);
    });
    PaintOn(free, [&](CDC& dc) {
        CRect r(20, 20, 60, 35);
        dc.DrawText("MMMMMM\r\nMMM", r, DT_LEFT | DT_NOCLIP);
    });
    EXPECT_TRUE(QRect(20, 20, 40, 15).contains(Ink(clipped)));
    EXPECT_GT(Ink(free).right(), 60);
    EXPECT_GT(Ink(free).bottom(), 35);
}

TEST(TextBoxDrawing, AverageCharacterWidthIsTheFontsOwn)
{
    QImage image = Blank();
    PaintOn(image, [&](CDC& dc) {
        EXPECT_EQ(dc.GetAvgCharWidth(), QFontMetrics(dc.GetQFont()).averageCharWidth());
        EXPECT_GT(dc.GetAvgCharWidth(), 5);
        EXPECT_LT(dc.GetAvgCharWidth(), 24);
    });
}
