#include "model/CPixelBlock.h"

#include "platform/CArchive.h"

#include "HexBytes.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QTemporaryDir>

#include <string>

namespace {

// A 2 x 2 picture: red, half-transparent green / blue, white.
QImage SampleImage()
{
    QImage image(2, 2, QImage::Format_ARGB32);
    image.setPixel(0, 0, qRgba(255, 0, 0, 255));
    image.setPixel(1, 0, qRgba(0, 255, 0, 128));
    image.setPixel(0, 1, qRgba(0, 0, 255, 255));
    image.setPixel(1, 1, qRgba(255, 255, 255, 255));
    return image;
}

// The sample as a block: width, height, format, data width, data height,
// stride, data format, then the rows top first (blue, green, red, alpha).
const char* const kSampleBlock =
    "02000000 02000000 0A202600"
    "02000000 02000000 08000000 0A202600"
    "0000FFFF 00FF0080"
    "FF0000FF FFFFFFFF";

const char* const kEmptyBlock =
    "00000000 00000000 0A202600"
    "00000000 00000000 00000000 0A202600";

CPixelBlock LoadBlock(const std::string& bytes)
{
    CArchive ar(bytes);
    CPixelBlock block;
    block.Load(ar);
    EXPECT_EQ(ar.BytesLeft(), 0u);
    return block;
}

std::string StoreBlock(const CPixelBlock& block)
{
    CArchive ar;
    block.Store(ar);
    return ar.Buffer();
}

void ExpectSamplePixels(const QImage& image)
{
    ASSERT_EQ(image.size(), QSize(2, 2));
    EXPECT_EQ(image.pixel(0, 0), qRgba(255, 0, 0, 255));
    EXPECT_EQ(image.pixel(1, 0), qRgba(0, 255, 0, 128));
    EXPECT_EQ(image.pixel(0, 1), qRgba(0, 0, 255, 255));
    EXPECT_EQ(image.pixel(1, 1), qRgba(255, 255, 255, 255));
}

TEST(PixelBlock, StoresRowsTopFirstInArgb)
{
    const CPixelBlock block(SampleImage());
    EXPECT_EQ(StoreBlock(block), HexBytes(kSampleBlock));
}

TEST(PixelBlock, LoadsWhatItStores)
{
    const CPixelBlock block = LoadBlock(HexBytes(kSampleBlock));
    EXPECT_FALSE(block.IsEmpty());
    EXPECT_EQ(block.GetSize(), CSize(2, 2));
    ExpectSamplePixels(block.Image());
    EXPECT_EQ(StoreBlock(block), HexBytes(kSampleBlock));
}

TEST(PixelBlock, EmptyBlockStoresARecordThatReadsBack)
{
    const CPixelBlock empty;
    EXPECT_TRUE(empty.IsEmpty());
    EXPECT_EQ(StoreBlock(empty), HexBytes(kEmptyBlock));
    EXPECT_TRUE(LoadBlock(HexBytes(kEmptyBlock)).IsEmpty());
}

TEST(PixelBlock, NegativeStrideHoldsTheBottomRowFirst)
{
    const CPixelBlock block = LoadBlock(HexBytes(
        "02000000 02000000 0A202600 02000000 02000000 F8FFFFFF 0A202600"
        "FF0000FF FFFFFFFF"
        "0000FFFF 00FF0080"));
    ExpectSamplePixels(block.Image());
}

TEST(PixelBlock, RowPaddingBeyondTheWidthIsSkipped)
{
    // One pixel per row, rows of eight bytes.
    const CPixelBlock block = LoadBlock(HexBytes(
        "01000000 02000000 0A202600 01000000 02000000 08000000 0A202600"
        "0000FFFF EEEEEEEE"
        "FF0000FF EEEEEEEE"));
    ASSERT_EQ(block.GetSize(), CSize(1, 2));
    EXPECT_EQ(block.Image().pixel(0, 0), qRgba(255, 0, 0, 255));
    EXPECT_EQ(block.Image().pixel(0, 1), qRgba(0, 0, 255, 255));
}

TEST(PixelBlock, BitmapWithoutAlphaIsOpaque)
{
    // Made as 32 bpp RGB: the alpha bytes do not count.
    const CPixelBlock block = LoadBlock(HexBytes(
        "01000000 01000000 09200200 01000000 01000000 04000000 0A202600"
        "11223300"));
    EXPECT_EQ(block.Image().pixel(0, 0), qRgba(0x33, 0x22, 0x11, 255));
}

struct DamagedBlock {
    const char* name;
    const char* hex;
};

TEST(PixelBlock, DamagedBlocksAreRefused)
{
    const DamagedBlock cases[] = {
        {"header cut short", "02000000 02000000 0A202600 02000000"},
        {"rows cut short",
         "02000000 02000000 0A202600 02000000 02000000 08000000 0A202600 0000FFFF 00FF0080"},
        {"stride below four bytes a pixel",
         "02000000 01000000 0A202600 02000000 01000000 04000000 0A202600 0000FFFF 00FF0080"},
        {"negative stride below four bytes a pixel",
         "02000000 01000000 0A202600 02000000 01000000 FCFFFFFF 0A202600 0000FFFF 00FF0080"},
        {"huge row count",
         "01000000 01000000 0A202600 01000000 FFFFFF7F 04000000 0A202600 00000000"},
        {"huge stride",
         "01000000 01000000 0A202600 01000000 01000000 FFFFFF7F 0A202600 00000000"},
        {"smallest int as stride",
         "01000000 01000000 0A202600 01000000 01000000 00000080 0A202600 00000000"},
        {"huge width",
         "FFFFFFFF 01000000 0A202600 FFFFFFFF 01000000 FCFFFFFF 0A202600"},
        {"fewer rows than the height",
         "01000000 02000000 0A202600 01000000 01000000 04000000 0A202600 00000000"},
        {"data in a format of three bytes a pixel",
         "01000000 01000000 0A202600 01000000 01000000 04000000 08180200 00000000"},
        {"bitmap format without pixel size",
         "01000000 01000000 00000000 01000000 01000000 04000000 0A202600 00000000"},
    };
    for (const DamagedBlock& c : cases) {
        SCOPED_TRACE(c.name);
        CArchive ar(HexBytes(c.hex));
        CPixelBlock block(SampleImage());
        EXPECT_THROW(block.Load(ar), CArchiveError);
        // A refused block leaves the one it was to replace.
        ExpectSamplePixels(block.Image());
    }
}

TEST(PixelBlock, CopiesOwnTheirPixels)
{
    const CPixelBlock source(SampleImage());
    CPixelBlock copy(source);
    EXPECT_NE(copy.Image().constBits(), source.Image().constBits());
    CPixelBlock assigned;
    assigned = source;
    EXPECT_NE(assigned.Image().constBits(), source.Image().constBits());
    ExpectSamplePixels(assigned.Image());

    QImage changed = copy.Image();
    changed.setPixel(0, 0, qRgba(1, 2, 3, 4));
    copy.SetImage(changed);
    ExpectSamplePixels(source.Image());
}

TEST(PixelBlock, TakesImagesOfOtherFormatsAsStraightArgb)
{
    QImage rgb(1, 1, QImage::Format_RGB888);
    rgb.setPixel(0, 0, qRgb(10, 20, 30));
    CPixelBlock block(rgb);
    EXPECT_EQ(block.Image().format(), QImage::Format_ARGB32);
    EXPECT_EQ(block.Image().pixel(0, 0), qRgba(10, 20, 30, 255));
    block.SetImage(QImage());
    EXPECT_TRUE(block.IsEmpty());
}

TEST(PixelBlock, LoadsPictureFiles)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("sample.png");
    ASSERT_TRUE(SampleImage().save(path));

    CPixelBlock block;
    ASSERT_TRUE(block.LoadFile(path));
    ExpectSamplePixels(block.Image());

    EXPECT_FALSE(block.LoadFile(dir.filePath("missing.png")));
    EXPECT_TRUE(block.IsEmpty());
}

}  // namespace
