#include "model/CTextFont.h"

#include "platform/CArchive.h"

#include "HexBytes.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Hex(const char* text) { return HexBytes(text); }

const std::string kSong = "\xCB\xCE\xCC\xE5"; // 宋体 in GBK

LogFont SampleFont()
{
    LogFont lf;
    lf.lfHeight = -500;
    lf.lfWidth = 0;
    lf.lfEscapement = 900;
    lf.lfOrientation = 900;
    lf.lfWeight = FW_BOLD;
    lf.lfItalic = 1;
    lf.lfUnderline = 0;
    lf.lfStrikeOut = 1;
    lf.lfCharSet = GB2312_CHARSET;
    lf.lfOutPrecision = 3;
    lf.lfClipPrecision = 2;
    lf.lfQuality = 1;
    lf.lfPitchAndFamily = 0x31;
    lf.SetFaceName(kSong);
    return lf;
}

// Text "AB", colour 0x00112233, the sample font.
const char* const kSampleRecord =
    "02 41 42"
    "33 22 11 00"
    "0C FE FF FF  00 00 00 00  84 03 00 00  84 03 00 00  BC 02 00 00"
    "01 00 01 86 03 02 01 31"
    "04 CB CE CC E5";

std::string Stored(const CTextFont& tf)
{
    CArchive ar;
    EXPECT_EQ(tf.Store(ar), 1);
    return ar.Buffer();
}

} // namespace

TEST(TextFontRecord, StoresFieldsInOrder)
{
    const CTextFont tf("AB", SampleFont(), 0x00112233);
    EXPECT_EQ(Stored(tf), Hex(kSampleRecord));
}

TEST(TextFontRecord, LoadsEveryFieldAndConsumesTheRecord)
{
    CArchive ar(Hex(kSampleRecord) + "X");
    CTextFont tf;
    EXPECT_EQ(tf.Load(ar), 1);
    EXPECT_EQ(ar.BytesLeft(), 1u);
    EXPECT_EQ(tf.GetText(), "AB");
    EXPECT_EQ(tf.GetColor(), 0x00112233u);
    ASSERT_TRUE(tf.HasFont());
    EXPECT_EQ(tf.GetLogFont(), SampleFont());
    EXPECT_EQ(tf.GetLogFont().FaceName(), kSong);
    EXPECT_EQ(Stored(tf), Hex(kSampleRecord));
}

TEST(TextFontRecord, EmptyTextRoundTrips)
{
    const CTextFont tf("", SampleFont(), 0);
    const std::string bytes = Stored(tf);
    EXPECT_EQ(bytes[0], '\0');
    CArchive ar(bytes);
    CTextFont back("old", LogFont(), 5);
    back.Load(ar);
    EXPECT_TRUE(back.GetText().empty());
    EXPECT_EQ(back, tf);
}

TEST(TextFontRecord, LongTextUsesTheWidePrefix)
{
    const std::string text(300, 'x');
    const CTextFont tf(text, SampleFont(), 0);
    const std::string bytes = Stored(tf);
    EXPECT_EQ(bytes.substr(0, 3), Hex("FF 2C 01"));
    CArchive ar(bytes);
    CTextFont back;
    back.Load(ar);
    EXPECT_EQ(back.GetText(), text);
}

TEST(TextFontRecord, WithoutFontStoresAZeroedDescription)
{
    CTextFont tf;
    tf.SetText("A");
    tf.SetColor(RGB(255, 0, 0));
    EXPECT_FALSE(tf.HasFont());
    EXPECT_EQ(Stored(tf), Hex("01 41  FF 00 00 00") + std::string(28, '\0') + Hex("00"));
}

TEST(TextFontRecord, OverlongFaceIsCutWithoutSplittingACharacter)
{
    // 16 ASCII bytes, then 8 double-byte characters: the 31-byte limit falls
    // inside the eighth character, which must go whole.
    std::string face = std::string(16, 'F');
    for (int i = 0; i < 8; ++i) face += kSong.substr(0, 2);
    const std::string bytes = Hex("01 74  00 00 00 00") + std::string(28, '\0') + char(face.size()) + face;
    CArchive in(bytes);
    CTextFont tf;
    tf.Load(in);
    EXPECT_EQ(in.BytesLeft(), 0u);
    EXPECT_EQ(tf.GetLogFont().FaceName(), face.substr(0, 30));
}

TEST(TextFontRecord, EveryTruncationThrowsAndLeavesTheFontAlone)
{
    const std::string full = Hex(kSampleRecord);
    const CTextFont before("keep", SampleFont(), 7);
    for (std::size_t n = 0; n < full.size(); ++n) {
        CTextFont tf(before);
        CArchive ar(full.substr(0, n));
        EXPECT_THROW(tf.Load(ar), CArchiveError) << "cut at " << n;
        EXPECT_EQ(tf, before) << "cut at " << n;
    }
}

TEST(TextFontCopy, CopiesAreIndependent)
{
    auto* source = new CTextFont("A", SampleFont(), 1);
    CTextFont copy(*source);
    LogFont other = SampleFont();
    other.lfHeight = -100;
    other.SetFaceName("Arial");
    copy.SetLogFont(other);
    EXPECT_EQ(source->GetLogFont(), SampleFont());

    CTextFont assigned;
    assigned = *source;
    delete source;
    EXPECT_EQ(assigned.GetLogFont(), SampleFont());
    EXPECT_EQ(assigned.GetText(), "A");
}
