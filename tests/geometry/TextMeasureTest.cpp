#include "geometry/TextMeasure.h"

#include "platform/CDC.h"
#include "platform/CodePage.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include <memory>
#include <string>
#include <vector>

namespace {

// GBK bytes of a Unicode text.
std::string Gbk(const char* utf8)
{
    return QStringToGbk(QString::fromUtf8(utf8));
}

struct LinesCase {
    const char* name;
    std::string text;
    std::vector<std::string> lines;
};

class TextLines : public ::testing::TestWithParam<LinesCase> {};

TEST_P(TextLines, CountsAndExtractsEveryLine)
{
    const LinesCase& c = GetParam();
    const int count = static_cast<int>(c.lines.size());
    EXPECT_EQ(CountTextLines(c.text), count);
    for (int i = 0; i < count; ++i) EXPECT_EQ(GetTextLine(c.text, i), c.lines[std::size_t(i)]) << "line " << i;
    EXPECT_EQ(GetTextLine(c.text, count), "");
    EXPECT_EQ(GetTextLine(c.text, count + 1), "");
    EXPECT_EQ(GetTextLine(c.text, -1), "");
}

INSTANTIATE_TEST_SUITE_P(
    Breaks, TextLines,
    ::testing::Values(LinesCase{"Empty", "", {}},
                      LinesCase{"OneLine", "abc", {"abc"}},
                      LinesCase{"CrLfTwiceMakesEmptyLine", "ab\r\n\r\ncd", {"ab", "", "cd"}},
                      LinesCase{"TrailingCrOpensNoLine", "ab\r", {"ab"}},
                      LinesCase{"TrailingCrLfOpensNoLine", "ab\r\n", {"ab"}},
                      LinesCase{"LfCrIsOneBreak", "a\n\rb", {"a", "b"}},
                      LinesCase{"LfLfIsOneBreak", "a\n\nb", {"a", "b"}},
                      LinesCase{"ThreeCrsAreTwoBreaks", "a\r\r\rb", {"a", "", "b"}},
                      LinesCase{"OnlyABreak", "\r", {""}},
                      LinesCase{"LeadingBreak", "\r\nab", {"", "ab"}},
                      LinesCase{"TwoBreaksAtEnd", "ab\r\n\r", {"ab", ""}},
                      LinesCase{"Chinese", Gbk("中文\r\n字"), {Gbk("中文"), Gbk("字")}}),
    [](const ::testing::TestParamInfo<LinesCase>& info) { return std::string(info.param.name); });

// A device context over an image with a 20-pixel font selected.
class Measure : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_image = QImage(200, 100, QImage::Format_RGB32);
        m_image.fill(Qt::white);
        m_painter = std::make_unique<QPainter>(&m_image);
        m_dc = std::make_unique<CDC>(m_painter.get());
        LogFont font;
        font.lfHeight = -20;
        font.SetFaceName("WenQuanYi Zen Hei");
        m_dc->SelectFont(font);
    }
    void TearDown() override
    {
        m_dc.reset();
        m_painter->end();
    }

    int Width(const std::string& character) const { return m_dc->GetTextExtent(character).cx; }
    int Height() const { return m_dc->GetTextExtent("a").cy; }

    QImage m_image;
    std::unique_ptr<QPainter> m_painter;
    std::unique_ptr<CDC> m_dc;
};

TEST_F(Measure, EmptyTextMeasuresNothing)
{
    int lines = -1;
    EXPECT_EQ(MeasureTextBlock(*m_dc, "", lines), CSize(0, 0));
    EXPECT_EQ(lines, 0);
    EXPECT_EQ(MeasureText(*m_dc, ""), CSize(0, 0));
}

TEST_F(Measure, CharacterExtraGoesBetweenCharactersOnly)
{
    m_dc->SetTextCharacterExtra(2);
    int lines = 0;
    const CSize size = MeasureTextBlock(*m_dc, "abc", lines);
    EXPECT_EQ(lines, 1);
    EXPECT_EQ(size.cx, Width("a") + 2 + Width("b") + 2 + Width("c"));
    EXPECT_EQ(size.cy, Height());
}

TEST_F(Measure, WidestLineAndTallestCellTimesLines)
{
    m_dc->SetTextCharacterExtra(3);
    int lines = 0;
    const CSize size = MeasureTextBlock(*m_dc, "ab\r\n\r\nWWW", lines);
    EXPECT_EQ(lines, 3);
    EXPECT_EQ(size.cx, 3 * Width("W") + 2 * 3);
    EXPECT_EQ(size.cy, 3 * Height());
    EXPECT_EQ(MeasureText(*m_dc, "ab\r\n\r\nWWW"), size);
}

TEST_F(Measure, BreakAtEndAddsNoLine)
{
    int lines = 0;
    const CSize size = MeasureTextBlock(*m_dc, "ab\r", lines);
    EXPECT_EQ(lines, 1);
    EXPECT_EQ(size, CSize(Width("a") + Width("b"), Height()));
}

TEST_F(Measure, LinesOfOnlyBreaksHaveNoSize)
{
    m_dc->SetTextCharacterExtra(-4);
    int lines = 0;
    EXPECT_EQ(MeasureTextBlock(*m_dc, "\r\n", lines), CSize(0, 0));
    EXPECT_EQ(lines, 1);
}

TEST_F(Measure, DoubleByteCharactersAreMeasuredWhole)
{
    const std::string zhong = Gbk("中");
    const std::string wen = Gbk("文");
    ASSERT_EQ(zhong.size(), 2u);
    m_dc->SetTextCharacterExtra(1);
    EXPECT_EQ(MeasureText(*m_dc, zhong + wen).cx, Width(zhong) + 1 + Width(wen));
    EXPECT_EQ(MeasureText(*m_dc, "a" + zhong).cx, Width("a") + 1 + Width(zhong));
    // Halves of a character would decode as replacement characters.
    EXPECT_GT(Width(zhong), 0);
}

TEST_F(Measure, FourByteCharacterOutsideGbkIsOneCharacter)
{
    const std::string outside = Gbk("À");
    ASSERT_EQ(outside.size(), 4u);
    m_dc->SetTextCharacterExtra(5);
    EXPECT_EQ(MeasureText(*m_dc, outside).cx, Width(outside));
    EXPECT_EQ(MeasureText(*m_dc, outside + "a").cx, Width(outside) + 5 + Width("a"));
}

TEST_F(Measure, DamagedPairNeverSwallowsABreak)
{
    const std::string text = std::string("\xD6") + "\r\nab";
    int lines = 0;
    const CSize size = MeasureTextBlock(*m_dc, text, lines);
    EXPECT_EQ(lines, CountTextLines(text));
    EXPECT_EQ(lines, 2);
    EXPECT_EQ(size.cy, 2 * Height());
}

struct TrimCase {
    std::string text;
    std::string leading;
    std::string trailing;
};

TEST(TrimLineBreaks, BothEnds)
{
    const TrimCase cases[] = {
        {"\r\nabc", "abc", "\r\nabc"},
        {"abc\n\r", "abc\n\r", "abc"},
        {"\n a\r\nb \r", " a\r\nb \r", "\n a\r\nb "},
        {"abc", "abc", "abc"},
        {"", "", ""},
        // A text of breaks only keeps the byte where the search stops.
        {"\r\n", "\n", "\r"},
        {"\n\r\n", "\n", "\n"},
        {"\n", "\n", "\n"},
    };
    for (const TrimCase& c : cases) {
        EXPECT_EQ(TrimLeadingLineBreaks(c.text), c.leading) << c.text;
        EXPECT_EQ(TrimTrailingLineBreaks(c.text), c.trailing) << c.text;
    }
}

TEST(TrimDecimalZeros, CutsZerosAfterThePointOnly)
{
    const std::pair<std::string, std::string> cases[] = {
        {"12.500", "12.5"}, {"12.000", "12"},  {"100", "100"},  {"100.", "100"},
        {".000", ""},       {"0.000", "0"},    {"10.10", "10.1"}, {"-12.50", "-12.5"},
        {"1000", "1000"},   {"", ""},          {"0.05", "0.05"}, {"-0.00", "-0"},
    };
    for (const auto& [in, out] : cases) {
        std::string text = in;
        TrimDecimalZeros(text);
        EXPECT_EQ(text, out) << in;
    }
}

} // namespace
