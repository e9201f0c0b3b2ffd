// Text measured as on Windows: the boxes of texts in the faces the files
// name, against the widths the Windows fonts give (Arial, Times New Roman
// and Courier New by their advance tables, the Chinese faces half an em for
// a letter and an em for a Chinese character), and drawn at those widths.
#include "platform/CDC.h"
#include "platform/CWinFontMetrics.h"
#include "platform/CodePage.h"

#include "geometry/TextMeasure.h"

#include <gtest/gtest.h>

#include <QFontInfo>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <string>

namespace {

LogFont Font(const char* face, int height, int width = 0, int weight = FW_NORMAL)
{
    LogFont lf;
    lf.lfHeight = height;
    lf.lfWidth = width;
    lf.lfWeight = weight;
    lf.lfCharSet = GB2312_CHARSET;
    lf.SetFaceName(QStringToGbk(QString::fromUtf8(face)));
    return lf;
}

std::string Gbk(const char* utf8)
{
    return QStringToGbk(QString::fromUtf8(utf8));
}

CSize Measure(const LogFont& lf, const std::string& text)
{
    CScreenDC dc;
    dc.SelectFont(lf);
    int lines = 0;
    return MeasureTextBlock(dc, text, lines);
}

struct Case {
    const char* face;
    int height;
    int width;  // lfWidth
    const char* text;
    CSize box;
    const char* why;
};

} // namespace

TEST(WinFontMetrics, BoxesMeasureAsOnWindows)
{
    const Case cases[] = {
        // 宋体: letters half an em, Chinese characters an em, the cell an em,
        // whether the height is the character's (negative) or the cell's.
        {"宋体", -500, 0, "abc", {750, 500}, "three letters"},
        {"宋体", 500, 0, "abc", {750, 500}, "a cell height is the same em"},
        {"新宋体", -400, 0, "中文", {800, 400}, "two Chinese characters"},
        {"宋体", -400, 0, "a中b", {800, 400}, "mixed"},
        {"黑体", -300, 0, "AB\r\n中文字", {900, 600}, "two lines, the wider one counts"},
        {"楷体", -200, 0, "1.5 cm", {600, 200}, "digits, a point and a space are letters"},
        {"仿宋", 240, 0, "尺寸Size", {960, 240}, "odd mixes"},
        {"宋体", -400, 100, "ab中", {400, 400}, "a set character width scales all"},
        {"", -400, 0, "ab中", {800, 400}, "no face is the default 宋体"},
        // Arial's advances (a 1139, b 1139, c 1024 of 2048) and its cell
        // (1854 up, 434 down).
        {"Arial", -500, 0, "abc", {278 + 278 + 250, 453 + 106}, "Arial, character height"},
        {"Arial", 500, 0, "abc", {249 + 249 + 224, 500}, "Arial, cell height"},
        {"Arial", -500, 0, "a\nbc\nc", {528, 3 * 559}, "Arial, three lines"},
        {"Arial", -500, 0, "a中", {278 + 500, 559}, "a Chinese character in Arial is an em"},
        {"Times New Roman", -500, 0, "abc", {222 + 250 + 222, 446 + 108}, "Times New Roman"},
        {"Courier New", -500, 0, "abc", {900, 416 + 150}, "Courier New, every character 1229"},
        {"Arial", -500, 221 * 2, "abc", {556 + 556 + 500, 559}, "Arial at twice its average width (904)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(Measure(Font(c.face, c.height, c.width), Gbk(c.text)), c.box);
    }
}

// What is drawn takes the room it was measured with: each character at its
// measured advance, whatever the installed font's own glyph widths.
TEST(WinFontMetrics, TextIsDrawnWhereItIsMeasured)
{
    struct DrawCase {
        const char* face;
        const char* text;
    };
    const DrawCase cases[] = {{"宋体", "WWW"}, {"宋体", "中W文"}, {"Arial", "WiW"}, {"Courier New", "iiWW"}};
    for (const DrawCase& c : cases) {
        SCOPED_TRACE(c.face);
        const LogFont lf = Font(c.face, -40);
        const std::string text = Gbk(c.text);
        QImage image(300, 80, QImage::Format_RGB32);
        image.fill(Qt::white);
        CSize box;
        {
            QPainter painter(&image);
            CDC dc(&painter);
            dc.SelectFont(lf);
            dc.SetBkMode(TRANSPARENT);
            box = dc.GetTextExtent(text);
            dc.TextOut(10, 10, text);
        }
        int right = -1;
        int bottom = -1;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (qGray(image.pixel(x, y)) < 160) {
                    right = std::max(right, x);
                    bottom = std::max(bottom, y);
                }
        ASSERT_GE(right, 0);
        // The last character's ink ends within its place, and fills most
        // of the measured width.
        EXPECT_LE(right, 10 + box.cx);
        EXPECT_GT(right, 10 + box.cx * 3 / 4);
        EXPECT_LE(bottom, 10 + box.cy);
    }
}

// The letters of a Chinese face sit evenly in their half-em places, as on
// Windows: each one's ink is centred in its place, so a narrow letter
// leaves no gap after it ("Lengt h") and a wide one is not squeezed.
TEST(WinFontMetrics, LettersOfTheChineseFacesSitEvenlyInTheirPlaces)
{
    const std::string text = "Length=12cm Wil";
    constexpr int kEm = 40;
    constexpr int kLeft = 10;
    QImage image(kLeft * 2 + kEm / 2 * int(text.size()), kEm + 20, QImage::Format_RGB32);
    image.fill(Qt::white);
    CSize box;
    {
        QPainter painter(&image);
        CDC dc(&painter);
        dc.SelectFont(Font("宋体", -kEm));
        dc.SetBkMode(TRANSPARENT);
        box = dc.GetTextExtent(text);
        dc.TextOut(kLeft, 10, text);
    }
    // Measured as before: half an em a letter.
    EXPECT_EQ(box, CSize(kEm / 2 * int(text.size()), kEm));
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == ' ') continue;
        const int place = kLeft + kEm / 2 * int(i);
        int first = -1;
        int last = -1;
        for (int x = place; x < place + kEm / 2; ++x)
            for (int y = 0; y < image.height(); ++y)
                if (qGray(image.pixel(x, y)) < 160) {
                    if (first < 0) first = x;
                    last = x;
                    break;
                }
        ASSERT_GE(first, 0) << text[i];
        const double offCentre = (first + last) / 2.0 - (place + kEm / 4.0 - 0.5);
        EXPECT_LE(std::abs(offCentre), 2.0) << "'" << text[i] << "' ink " << first - place << ".." << last - place;
    }
}

TEST(WinFontMetrics, FacesAreDrawnWithTheirStandIns)
{
    EXPECT_EQ(CWinFontMetrics::StandInFamily(QStringLiteral("Arial")), QStringLiteral("Liberation Sans"));
    EXPECT_EQ(CWinFontMetrics::StandInFamily(QStringLiteral("times new roman")), QStringLiteral("Liberation Serif"));
    EXPECT_EQ(CWinFontMetrics::StandInFamily(QStringLiteral("Courier New")), QStringLiteral("Liberation Mono"));
    EXPECT_EQ(CWinFontMetrics::RuleOf(QString::fromUtf8("宋体")), CWinFontMetrics::Rule::Chinese);
    EXPECT_EQ(CWinFontMetrics::RuleOf(QStringLiteral("NSimSun")), CWinFontMetrics::Rule::Chinese);
    EXPECT_EQ(CWinFontMetrics::RuleOf(QStringLiteral("Arial")), CWinFontMetrics::Rule::Tables);
    EXPECT_EQ(CWinFontMetrics::RuleOf(QStringLiteral("WenQuanYi Zen Hei")), CWinFontMetrics::Rule::Installed);
    EXPECT_EQ(QFontInfo(CWinFontMetrics(Font("Arial", -100)).Font()).family(), QStringLiteral("Liberation Sans"));
}
