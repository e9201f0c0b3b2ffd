#include "platform/CArchive.h"

#include "platform/CodePage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace {

std::string Bytes(std::initializer_list<int> values)
{
    std::string s;
    for (const int v : values) s += static_cast<char>(v);
    return s;
}

std::string Stored(const std::string& text)
{
    CArchive ar;
    ar << text;
    return ar.Buffer();
}

TEST(CArchiveFields, FixedWidthLittleEndian)
{
    CArchive ar;
    ar << std::int32_t(-2) << std::uint32_t(0x01020304u) << std::uint16_t(0xABCD) << std::uint8_t(0x7F)
       << CPoint(1, -1) << CSize(0x100, 2) << CRect(1, 2, 3, 4) << 1.0;
    const std::string expected = Bytes({0xFE, 0xFF, 0xFF, 0xFF, 0x04, 0x03, 0x02, 0x01, 0xCD, 0xAB, 0x7F,
                                        0x01, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x01, 0, 0, 0x02, 0, 0, 0,
                                        1, 0, 0, 0, 2, 0, 0, 0, 3, 0, 0, 0, 4, 0, 0, 0,
                                        0, 0, 0, 0, 0, 0, 0xF0, 0x3F});
    EXPECT_EQ(ar.Buffer(), expected);

    CArchive in(expected);
    std::int32_t i = 0;
    std::uint32_t u = 0;
    std::uint16_t w = 0;
    std::uint8_t b = 0;
    CPoint p;
    CSize s;
    CRect r;
    double d = 0;
    in >> i >> u >> w >> b >> p >> s >> r >> d;
    EXPECT_EQ(i, -2);
    EXPECT_EQ(u, 0x01020304u);
    EXPECT_EQ(w, 0xABCD);
    EXPECT_EQ(b, 0x7F);
    EXPECT_EQ(p, CPoint(1, -1));
    EXPECT_EQ(s, CSize(256, 2));
    EXPECT_EQ(r, CRect(1, 2, 3, 4));
    EXPECT_EQ(d, 1.0);
    EXPECT_EQ(in.BytesLeft(), 0u);
}

struct PrefixCase {
    std::size_t length;
    std::string prefix;
};

// One byte below 255; 0xFF and a 16-bit length below 0xFFFE; above that
// 0xFF 0xFFFF and a 32-bit length. A 16-bit 0xFFFE would read back as the
// wide-string marker, so 65534 bytes take the long form.
TEST(CArchiveStrings, LengthPrefixAtEveryBoundary)
{
    const PrefixCase cases[] = {
        {0, Bytes({0x00})},
        {254, Bytes({0xFE})},
        {255, Bytes({0xFF, 0xFF, 0x00})},
        {65533, Bytes({0xFF, 0xFD, 0xFF})},
        {65534, Bytes({0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00})},
        {65535, Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00})},
        {70000, Bytes({0xFF, 0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00})},
    };
    for (const PrefixCase& c : cases) {
        const std::string text(c.length, 'x');
        const std::string bytes = Stored(text);
        EXPECT_EQ(bytes.substr(0, c.prefix.size()), c.prefix) << c.length;
        EXPECT_EQ(bytes.size(), c.prefix.size() + c.length) << c.length;

        CArchive in(bytes);
        std::string back;
        EXPECT_NO_THROW(in >> back) << c.length;
        EXPECT_EQ(back.size(), c.length);
        EXPECT_EQ(in.BytesLeft(), 0u) << c.length;
    }
}

TEST(CArchiveStrings, GbkBytesPassUnchanged)
{
    const std::string text = QStringToGbk(QString::fromUtf8("袖长 12.5"));
    CArchive in(Stored(text));
    EXPECT_EQ(in.ReadString(), text);
}

TEST(CArchiveStrings, WideStringBecomesGbk)
{
    // Marker 0xFF 0xFFFE, then the length in characters and UTF-16 units.
    const std::string shortWide = Bytes({0xFF, 0xFE, 0xFF, 0x03, 0x2D, 0x4E, 0x87, 0x65, 0x61, 0x00});
    CArchive in(shortWide + Bytes({0x01, 'z'}));
    EXPECT_EQ(in.ReadString(), QStringToGbk(QString::fromUtf8("中文a")));
    EXPECT_EQ(in.ReadString(), "z");  // the next string still reads
    EXPECT_EQ(in.BytesLeft(), 0u);

    std::string longWide = Bytes({0xFF, 0xFE, 0xFF, 0xFF, 0x00, 0x01});
    for (int i = 0; i < 256; ++i) longWide += Bytes({0x2D, 0x4E});
    CArchive longIn(longWide);
    const std::string back = longIn.ReadString();
    EXPECT_EQ(back.size(), 512u);
    EXPECT_EQ(back.substr(0, 2), QStringToGbk(QString::fromUtf8("中")));
}

TEST(CArchiveErrors, ReadingPastTheEndThrows)
{
    const std::string cases[] = {
        Bytes({0x01, 0x02, 0x03}),                    // a 4-byte int
        Bytes({0x05, 'a', 'b'}),                      // a string longer than the bytes
        Bytes({0xFF, 0x00}),                          // a 16-bit length cut short
        Bytes({0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x01}),  // a 32-bit length cut short
        Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F}),
        Bytes({0xFF, 0xFE, 0xFF, 0x02, 0x2D, 0x4E}),  // a wide string cut short
        Bytes({0xFF, 0xFE, 0xFF}),                    // the marker alone
        std::string(),
    };
    for (const std::string& bytes : cases) {
        CArchive in(bytes);
        if (bytes.size() == 3 && bytes[0] == 0x01) {
            std::int32_t v = 0;
            EXPECT_THROW(in >> v, CArchiveError);
        } else {
            EXPECT_THROW(in.ReadString(), CArchiveError) << bytes.size();
        }
    }
    CArchive empty{std::string()};
    std::uint8_t b = 0;
    EXPECT_THROW(empty >> b, CArchiveError);
}

TEST(CArchiveErrors, CountsAreCheckedAgainstTheBytesLeft)
{
    CArchive in(std::string(16, '\0'));
    EXPECT_NO_THROW(in.Require(16));
    EXPECT_THROW(in.Require(17), CArchiveError);
    EXPECT_NO_THROW(in.RequireItems(2, 8));
    EXPECT_THROW(in.RequireItems(3, 8), CArchiveError);
    EXPECT_THROW(in.RequireItems(-1, 8), CArchiveError);
    EXPECT_THROW(in.RequireItems(INT64_MAX, 8), CArchiveError);
}

TEST(CArchiveErrors, DirectionIsEnforced)
{
    CArchive out;
    std::int32_t v = 0;
    EXPECT_THROW(out >> v, CArchiveError);
    CArchive in(std::string(4, '\0'));
    EXPECT_THROW(in << v, CArchiveError);
}

} // namespace

namespace {

// Collects what a storing archive hands on, piece by piece.
class PieceSink : public CArchiveSink {
public:
    bool WriteBytes(const char* data, std::size_t size) override
    {
        if (bytes.size() + size > failAfter) return false;
        bytes.append(data, size);
        pieces.push_back(size);
        return true;
    }
    std::string bytes;
    std::vector<std::size_t> pieces;
    std::size_t failAfter = std::size_t(-1);
};

void StoreSample(CArchive& ar, int repeat)
{
    for (int i = 0; i < repeat; ++i) {
        ar << std::int32_t(i) << std::uint8_t(i) << double(i) / 3 << CRect(i, -i, 2 * i, 3 * i);
        ar << std::string(std::size_t(i % 300), 'x');
    }
}

} // namespace

TEST(CArchiveSinks, BytesArriveInPiecesNoLargerThanTheBufferAndEqualAStoredBuffer)
{
    CArchive whole;
    StoreSample(whole, 2000);
    for (const std::size_t buffer : {std::size_t(1), std::size_t(64), std::size_t(4096), std::size_t(1) << 20}) {
        SCOPED_TRACE(buffer);
        PieceSink sink;
        CArchive ar(sink, buffer);
        StoreSample(ar, 2000);
        ar.Flush();
        EXPECT_EQ(sink.bytes, whole.Buffer());
        EXPECT_EQ(ar.BytesStored(), whole.Buffer().size());
        // Only a single value larger than the buffer goes on alone.
        for (const std::size_t piece : sink.pieces) EXPECT_LE(piece, std::max<std::size_t>(buffer, 300));
    }
}

TEST(CArchiveSinks, ARefusingSinkMakesEveryLaterWriteThrow)
{
    PieceSink sink;
    sink.failAfter = 10000;
    CArchive ar(sink, 4096);
    EXPECT_THROW(StoreSample(ar, 2000), CArchiveError);
    EXPECT_THROW(ar << std::int32_t(1), CArchiveError);
    EXPECT_THROW(ar.Flush(), CArchiveError);
    EXPECT_LE(sink.bytes.size(), 10000u);
}

namespace {

std::vector<CPoint> SamplePoints(int count)
{
    std::vector<CPoint> points;
    for (int i = 0; i < count; ++i)
        points.emplace_back(i % 3 == 0 ? INT32_MIN + i : i * 7919, i % 5 == 0 ? INT32_MAX - i : -i * 104729);
    return points;
}

} // namespace

// Points go a block at a time, over the block's edges too, and come to the
// same bytes as point by point; they read back as stored.
TEST(CArchivePoints, BlocksStoreWhatFieldsStoreAndReadBack)
{
    for (const int count : {0, 1, 511, 512, 513, 2000}) {
        SCOPED_TRACE(count);
        const std::vector<CPoint> points = SamplePoints(count);
        CArchive fields;
        for (const CPoint& p : points) fields << p;
        PieceSink sink;
        CArchive blocks(sink, 100);
        blocks.WritePoints(points);
        blocks.Flush();
        EXPECT_EQ(sink.bytes, fields.Buffer());

        CArchive in(fields.Buffer() + "tail");
        std::vector<CPoint> read;
        in.ReadPoints(count, [&read](const CPoint& p) { read.push_back(p); });
        EXPECT_EQ(read, points);
        EXPECT_EQ(in.BytesLeft(), 4u);
    }
}

TEST(CArchivePoints, ACountBeyondTheBytesReadsNoPoint)
{
    CArchive in(std::string(8 * 3 + 7, '\0'));
    int taken = 0;
    const auto take = [&taken](const CPoint&) { ++taken; };
    EXPECT_THROW(in.ReadPoints(4, take), CArchiveError);
    EXPECT_THROW(in.ReadPoints(-1, take), CArchiveError);
    EXPECT_EQ(taken, 0);
    EXPECT_EQ(in.Position(), 0u);
    CArchive out;
    EXPECT_THROW(out.ReadPoints(0, take), CArchiveError);
}
