#include "platform/CodePage.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(CodePage, ChineseTextIsGbk)
{
    const QString text = QString::fromUtf8("中文字符 cm");
    bool ok = false;
    const std::string bytes = QStringToGbk(text, &ok);
    EXPECT_TRUE(ok);
    EXPECT_EQ(bytes, std::string("\xD6\xD0\xCE\xC4\xD7\xD6\xB7\xFB cm"));
    EXPECT_EQ(GbkToQString(bytes), text);
    EXPECT_EQ(GbkToUtf16(bytes), text.toStdU16String());
    EXPECT_EQ(Utf16ToGbk(text.toStdU16String()), bytes);
}

TEST(CodePage, CharactersOutsideGbkSurviveThroughGb18030)
{
    // A Latin letter, a rare ideograph beyond the BMP and an emoji.
    for (const char* utf8 : {"À", "\xF0\xA0\x80\x80", "\xF0\x9F\x98\x80", "a€ÀŸ"}) {
        const QString text = QString::fromUtf8(utf8);
        bool ok = false;
        const std::string bytes = QStringToGbk(text, &ok);
        EXPECT_TRUE(ok) << utf8;
        EXPECT_EQ(GbkToQString(bytes), text) << utf8;
    }
    // GB18030 spends four bytes on them.
    EXPECT_EQ(QStringToGbk(QString::fromUtf8("À")).size(), 4u);
}

TEST(CodePage, MalformedBytesBecomeReplacementCharacters)
{
    EXPECT_EQ(GbkToQString(std::string("a\xD6", 2)), QString::fromUtf8("a\xEF\xBF\xBD"));
    const QString decoded = GbkToQString(std::string("\xFF" "b", 2));
    EXPECT_TRUE(decoded.endsWith('b'));
    EXPECT_TRUE(decoded.contains(QChar(0xFFFD)));
    EXPECT_EQ(GbkToQString(""), QString());
}

TEST(CodePage, LoneSurrogateIsReported)
{
    const QString broken(QChar(0xD800));
    bool ok = true;
    const std::string bytes = QStringToGbk(QStringLiteral("x") + broken, &ok);
    EXPECT_FALSE(ok);
    EXPECT_EQ(bytes.substr(0, 1), "x");
}

TEST(CodePage, LeadByteNeedsAFollowingByte)
{
    const std::string s("a\xD6\xD0\xD6", 4);
    EXPECT_FALSE(IsLeadByteAt(s, 0));
    EXPECT_TRUE(IsLeadByteAt(s, 1));
    EXPECT_TRUE(IsLeadByteAt(s, 2));  // bit 7 alone decides, as the drawing code walks texts
    EXPECT_FALSE(IsLeadByteAt(s, 3));  // the last byte
}

} // namespace
