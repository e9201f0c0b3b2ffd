#include "model/CImageElement.h"

#include "model/CPage.h"
#include "model/CPageSet.h"
#include "model/CPictureFile.h"
#include "platform/CArchive.h"
#include "platform/CDC.h"
#include "platform/CodePage.h"

#include "HexBytes.h"
#include "PageTestSupport.h"

#include <gtest/gtest.h>

#include <QColor>
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QTemporaryDir>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace {

// ---------------------------------------------------------------------------
// Record fixtures
//
// A 2 x 1 picture: an opaque red pixel and a half-transparent blue one,
// rows as the record holds them (blue, green, red, alpha).
const char* const kPixels2x1 =
    "02000000 01000000 0A202600"            // width 2, height 1, 32bpp ARGB
    "02000000 01000000 08000000 0A202600"   // locked 2 x 1, stride 8, ARGB
    "0000FFFF FF000080";                    // red, blue at alpha 0x80

// Header of a picture at level 5.
const char* const kHeaderLevel5 = "02000000 05000000";

// Corners (10, 20), (110, 20), (110, 70), (10, 70).
const char* const kCorners =
    "0A000000 14000000  6E000000 14000000  6E000000 46000000  0A000000 46000000";

std::string Body107() { return HexBytes(kCorners) + HexBytes(kPixels2x1); }

std::string Record107() { return HexBytes(kHeaderLevel5) + Body107(); }

std::string LittleEndianDouble(double v)
{
    std::uint64_t bits = 0;
    std::memcpy(&bits, &v, sizeof bits);
    std::string out;
    for (int i = 0; i < 8; ++i) out.push_back(char((bits >> (8 * i)) & 0xFF));
    return out;
}

// The older layout: corner 0 (10, 20), size 100 x 50, then (when given)
// the angle, then the pixels.
std::string OldBody(const std::string& angle)
{
    return HexBytes("0A000000 14000000  64000000 32000000") + angle + HexBytes(kPixels2x1);
}

// An empty pixel block, as a picture without pixels writes it.
const char* const kEmptyPixels = "00000000 00000000 0A202600 00000000 00000000 00000000 0A202600";

std::string Stored(const CImageElement& e)
{
    CArchive ar;
    EXPECT_EQ(e.Store(ar), 1);
    return ar.Buffer();
}

std::string StoredForLibrary(const CImageElement& e)
{
    CArchive ar;
    EXPECT_EQ(e.StoreForLibrary(ar), 1);
    return ar.Buffer();
}

// A page set at a given record version with one page.
struct Doc {
    explicit Doc(int version = 107) : set(version) { set.AppendPage(); }
    CPage* page() const { return set.GetPageAt(0); }
    CPageSet set;
};

std::array<CPoint, 4> CornersOf(const CImageElement& e)
{
    return {e.GetUpperLeft(), e.GetUpperRight(), e.GetLowerRight(), e.GetLowerLeft()};
}

using Corners = std::array<CPoint, 4>;

COLORREF Rgb(const QColor& c) { return RGB(c.red(), c.green(), c.blue()); }

// ---------------------------------------------------------------------------
// Pictures made in the test

// w x h with four quadrants: red upper-left, green upper-right, blue
// lower-left, yellow lower-right.
QImage Quadrants(int w, int h)
{
    QImage image(w, h, QImage::Format_ARGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const bool right = x >= w / 2;
            const bool lower = y >= h / 2;
            QColor c = !lower ? (right ? QColor(0, 255, 0) : QColor(255, 0, 0))
                              : (right ? QColor(255, 255, 0) : QColor(0, 0, 255));
            image.setPixelColor(x, y, c);
        }
    return image;
}

CPixelBlock QuadrantPixels(int w = 20, int h = 20) { return CPixelBlock(Quadrants(w, h)); }

void Append16(std::string& s, int v)
{
    s.push_back(char(v & 0xFF));
    s.push_back(char((v >> 8) & 0xFF));
}
void Append32(std::string& s, std::int64_t v)
{
    for (int i = 0; i < 4; ++i) s.push_back(char((std::uint64_t(v) >> (8 * i)) & 0xFF));
}

// The quadrant picture as a GIF with a four-colour palette (Qt reads GIF
// but does not write it). The LZW data starts over with a clear code every
// two pixels, so every code stays three bits wide.
std::string QuadrantGif(int w, int h)
{
    std::string gif = "GIF89a";
    Append16(gif, w);
    Append16(gif, h);
    gif += HexBytes("F1 00 00");                           // 4-entry global palette
    gif += HexBytes("FF0000 00FF00 0000FF FFFF00");       // red, green, blue, yellow
    gif += HexBytes("2C 0000 0000");                       // image at 0, 0
    Append16(gif, w);
    Append16(gif, h);
    gif += HexBytes("00 02");                              // no local palette; 2-bit codes
    std::string data;
    unsigned bitsHeld = 0;
    int bitCount = 0;
    auto emit = [&](int code) {
        bitsHeld |= unsigned(code) << bitCount;
        for (bitCount += 3; bitCount >= 8; bitCount -= 8, bitsHeld >>= 8) data.push_back(char(bitsHeld & 0xFF));
    };
    int n = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x, ++n) {
            if (n % 2 == 0) emit(4);  // clear
            emit((x >= w / 2 ? 1 : 0) + (y >= h / 2 ? 2 : 0));
        }
    emit(5);  // end of information
    if (bitCount > 0) data.push_back(char(bitsHeld & 0xFF));
    for (std::size_t i = 0; i < data.size(); i += 255) {
        const std::size_t length = std::min<std::size_t>(255, data.size() - i);
        gif.push_back(char(length));
        gif += data.substr(i, length);
    }
    gif += HexBytes("00 3B");
    return gif;
}

// A placeable WMF of 960 x 480 twips (64 x 32 pixels at 96 dpi): the left
// half filled red, the right half blue, without outlines.
std::string TwoColourWmf()
{
    std::string records;
    auto record = [&records](int function, std::initializer_list<int> params) {
        Append32(records, 3 + std::int64_t(params.size()));
        Append16(records, function);
        for (int p : params) Append16(records, p);
    };
    auto brush = [&record](std::uint32_t colour) {
        record(0x02FC, {0, int(colour & 0xFFFF), int(colour >> 16), 0});  // CREATEBRUSHINDIRECT
    };
    record(0x020B, {0, 0});             // SETWINDOWORG y, x
    record(0x020C, {480, 960});         // SETWINDOWEXT y, x
    brush(0x0000FF);                    // red
    record(0x012D, {0});                // SELECTOBJECT
    record(0x02FA, {5, 0, 0, 0, 0});    // CREATEPENINDIRECT PS_NULL
    record(0x012D, {1});
    record(0x041B, {480, 480, 0, 0});   // RECTANGLE bottom, right, top, left
    brush(0xFF0000);                    // blue
    record(0x012D, {2});
    record(0x041B, {480, 960, 0, 480});
    record(0x0000, {});                 // EOF

    std::string header;
    Append16(header, 1);                   // in memory
    Append16(header, 9);                   // header words
    Append16(header, 0x0300);
    Append32(header, std::int64_t(18 + records.size()) / 2);
    Append16(header, 3);                   // objects
    Append32(header, 8);                   // largest record in words
    Append16(header, 0);

    std::string placeable;
    Append32(placeable, 0x9AC6CDD7);
    Append16(placeable, 0);
    for (int v : {0, 0, 960, 480}) Append16(placeable, v);
    Append16(placeable, 1440);             // twips per inch
    Append32(placeable, 0);
    int checksum = 0;
    for (int i = 0; i < 10; ++i)
        checksum ^= (std::uint8_t(placeable[2 * i]) | (std::uint8_t(placeable[2 * i + 1]) << 8));
    Append16(placeable, checksum);
    return placeable + header + records;
}

// An EMF of 64 x 32 device pixels on a 96 dpi reference device (frame
// 1693 x 846 hundredths of a millimetre): left half red, right half blue.
std::string TwoColourEmf()
{
    std::string body;
    auto record = [&body](int type, std::initializer_list<std::int64_t> values) {
        Append32(body, type);
        Append32(body, 8 + 4 * std::int64_t(values.size()));
        for (std::int64_t v : values) Append32(body, v);
    };
    record(39, {1, 0, 0x0000FF, 0});    // CREATEBRUSHINDIRECT 1: solid red
    record(37, {1});                    // SELECTOBJECT
    record(37, {0x80000008});           // SELECTOBJECT NULL_PEN
    record(43, {0, 0, 32, 32});         // RECTANGLE
    record(39, {2, 0, 0xFF0000, 0});    // blue
    record(37, {2});
    record(43, {32, 0, 64, 32});
    record(14, {0, 16, 20});            // EOF

    std::string header;
    Append32(header, 1);                   // EMR_HEADER
    Append32(header, 88);
    for (int v : {0, 0, 63, 31}) Append32(header, v);      // bounds, inclusive
    for (int v : {0, 0, 1693, 846}) Append32(header, v);   // frame
    Append32(header, 0x464D4520);          // " EMF"
    Append32(header, 0x10000);
    Append32(header, std::int64_t(88 + body.size()));
    Append32(header, 9);                   // records
    Append16(header, 3);                   // handles
    Append16(header, 0);
    for (int v : {0, 0, 0}) Append32(header, v);            // description, palette
    for (int v : {1024, 768, 270, 203}) Append32(header, v); // device pixels and mm
    return header + body;
}

class PictureFiles : public ::testing::Test {
protected:
    QString PathOf(const QString& name) const { return dir.filePath(name); }

    QString Write(const QString& name, const QImage& image, const char* format) const
    {
        QImageWriter writer(PathOf(name), format);
        if (QByteArray(format) == "jpg") writer.setQuality(100);
        EXPECT_TRUE(writer.write(image)) << format << ": " << writer.errorString().toStdString();
        return PathOf(name);
    }

    QString WriteBytes(const QString& name, const std::string& bytes) const
    {
        QFile file(PathOf(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes.data(), qint64(bytes.size()));
        return PathOf(name);
    }

    QTemporaryDir dir;
    Doc doc;
};

// Near-equality of colours for lossy formats and smoothed scaling.
::testing::AssertionResult Near(const QColor& got, const QColor& want, int tolerance = 12)
{
    const int d = std::max({std::abs(got.red() - want.red()), std::abs(got.green() - want.green()),
                            std::abs(got.blue() - want.blue())});
    if (d <= tolerance) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "got " << got.name().toStdString() << ", want " << want.name().toStdString();
}

} // namespace

// ===========================================================================
// Records

TEST(ImageElementRecord, Version107ReadsCornersAndPixelsAndWritesTheSameBytes)
{
    Doc doc;
    CImageElement e(doc.page(), 5);
    CArchive in(Body107());
    EXPECT_EQ(e.Load(in), 1);
    EXPECT_EQ(in.BytesLeft(), 0u);

    EXPECT_EQ(CornersOf(e), (Corners{CPoint(10, 20), CPoint(110, 20), CPoint(110, 70), CPoint(10, 70)}));
    ASSERT_NE(e.GetBitmap(), nullptr);
    EXPECT_EQ(e.GetImageSize(), CSize(2, 1));
    const QImage& image = e.GetBitmap()->Image();
    EXPECT_EQ(image.pixelColor(0, 0), QColor(255, 0, 0, 255));
    EXPECT_EQ(image.pixelColor(1, 0), QColor(0, 0, 255, 0x80));

    EXPECT_EQ(Stored(e), Record107());
}

TEST(ImageElementRecord, Version104ReadsTheSameLayoutAs107)
{
    Doc doc(104);
    CImageElement e(doc.page(), 5);
    CArchive in(Body107());
    e.Load(in);
    EXPECT_EQ(CornersOf(e), (Corners{CPoint(10, 20), CPoint(110, 20), CPoint(110, 70), CPoint(10, 70)}));
    EXPECT_EQ(Stored(e), Record107());
}

TEST(ImageElementRecord, OlderVersionsPlaceByCornerSizeAndAngle)
{
    const double pi = 3.14159265358979323846;
    struct Case {
        int version;
        std::string angle;  // bytes of the angle field, empty when absent
        Corners corners;
        const char* what;
    } cases[] = {
        {102, "", {CPoint(10, 20), CPoint(110, 20), CPoint(110, 70), CPoint(10, 70)}, "102: no angle"},
        {100, "", {CPoint(10, 20), CPoint(110, 20), CPoint(110, 70), CPoint(10, 70)}, "100: no angle"},
        {103, LittleEndianDouble(0.0),
         {CPoint(10, 20), CPoint(110, 20), CPoint(110, 70), CPoint(10, 70)}, "103: angle 0"},
        // A quarter turn the other way round from RotatePoint's positive
        // sense: the upper edge now runs upwards from corner 0.
        {103, LittleEndianDouble(pi / 2),
         {CPoint(10, 20), CPoint(10, -80), CPoint(60, -80), CPoint(60, 20)}, "103: quarter turn"},
        {103, LittleEndianDouble(pi),
         {CPoint(10, 20), CPoint(-90, 20), CPoint(-90, -30), CPoint(10, -30)}, "103: half turn"},
    };
    for (const Case& c : cases) {
        Doc doc(c.version);
        CImageElement e(doc.page(), 0);
        CArchive in(OldBody(c.angle));
        EXPECT_EQ(e.Load(in), 1) << c.what;
        EXPECT_EQ(in.BytesLeft(), 0u) << c.what;
        EXPECT_EQ(CornersOf(e), c.corners) << c.what;
        EXPECT_EQ(e.GetImageSize(), CSize(2, 1)) << c.what;

        // Written back in the current layout with the four corners.
        CArchive out;
        e.Store(out);
        CArchive again(out.Buffer().substr(8));
        Doc current;
        CImageElement reread(current.page(), 0);
        reread.Load(again);
        EXPECT_EQ(CornersOf(reread), c.corners) << c.what;
    }
}

TEST(ImageElementRecord, APictureWithoutPixelsWritesAnEmptyBlockThatReadsBack)
{
    Doc doc;
    CImageElement e(doc.page(), 2);
    e.SetUpperLeft(1, 2);
    e.SetUpperRight(3, 4);
    e.SetLowerRight(5, 6);
    e.SetLowerLeft(7, 8);
    CArchive ar;
    e.Store(ar);
    EXPECT_EQ(ar.Buffer(), HexBytes("02000000 02000000"
                                    "01000000 02000000 03000000 04000000"
                                    "05000000 06000000 07000000 08000000")
                               + HexBytes(kEmptyPixels));

    CImageElement back(doc.page(), 2);
    CArchive in(ar.Buffer().substr(8));
    EXPECT_EQ(back.Load(in), 1);
    EXPECT_EQ(back.GetBitmap(), nullptr);
    EXPECT_EQ(back.GetImageSize(), CSize(0, 0));
    EXPECT_EQ(CornersOf(back), CornersOf(e));
}

TEST(ImageElementRecord, PixelBlockOperationsReportWhetherAPictureWasThere)
{
    Doc doc;
    CImageElement e(doc.page(), 0);
    CArchive empty;
    EXPECT_EQ(e.StorePixels(empty), 0);
    EXPECT_EQ(empty.Buffer(), HexBytes(kEmptyPixels));

    CArchive in(HexBytes(kPixels2x1));
    EXPECT_EQ(e.LoadPixels(in), 1);
    CArchive out;
    EXPECT_EQ(e.StorePixels(out), 1);
    EXPECT_EQ(out.Buffer(), HexBytes(kPixels2x1));
}

TEST(ImageElementRecord, EveryTruncationEndsInAnArchiveError)
{
    struct Case {
        int version;
        std::string body;
    } cases[] = {
        {107, Body107()},
        {103, OldBody(LittleEndianDouble(1.0))},
        {101, OldBody("")},
    };
    for (const Case& c : cases) {
        for (std::size_t n = 0; n < c.body.size(); ++n) {
            Doc doc(c.version);
            CImageElement e(doc.page(), 0);
            CArchive in(c.body.substr(0, n));
            EXPECT_THROW(e.Load(in), CArchiveError) << "version " << c.version << ", " << n << " bytes";
        }
    }
}

TEST(ImageElementRecord, DamagedFieldsEndInAnArchiveError)
{
    const std::string nan = LittleEndianDouble(std::nan(""));
    const std::string inf = LittleEndianDouble(HUGE_VAL);
    struct Case {
        int version;
        std::string body;
        const char* what;
    } cases[] = {
        {103, OldBody(nan), "angle not a number"},
        {103, OldBody(inf), "infinite angle"},
        {107, HexBytes(kCorners) + HexBytes("02000000 01000000 0A202600 02000000 01000000 04000000 0A202600 00000000"),
         "stride too small for the width"},
        {107, HexBytes(kCorners) + HexBytes("02000000 01000000 0A202600 02000000 FFFFFF7F 08000000 0A202600"),
         "rows beyond the bytes"},
        {107, HexBytes(kCorners) + HexBytes("FFFF0000 FFFF0000 0A202600 FFFF0000 FFFF0000 FCFF0300 0A202600"),
         "sides beyond any picture"},
    };
    for (const Case& c : cases) {
        Doc doc(c.version);
        CImageElement e(doc.page(), 0);
        CArchive in(c.body);
        EXPECT_THROW(e.Load(in), CArchiveError) << c.what;
    }
}

TEST(ImageElementLibrary, StoresTheDocumentRecordBytes)
{
    Doc doc;
    CImageElement e(doc.page(), 5);
    CArchive in(Body107());
    e.Load(in);
    EXPECT_EQ(StoredForLibrary(e), Record107());
}

TEST(ImageElementLibrary, ReadsTheLevelFirstAndRaisesThePagesHighestLevel)
{
    Doc doc;
    doc.page()->SetMaxLevel(3);
    CImageElement e(doc.page(), doc.page()->GetMaxLevel());
    // The library reader has consumed the kind.
    CArchive in(Record107().substr(4));
    EXPECT_EQ(e.LoadFromLibrary(in, 107), 1);
    EXPECT_EQ(in.BytesLeft(), 0u);
    EXPECT_EQ(e.GetLevel(), 5);
    EXPECT_EQ(doc.page()->GetMaxLevel(), 5);
    EXPECT_EQ(CornersOf(e), (Corners{CPoint(10, 20), CPoint(110, 20), CPoint(110, 70), CPoint(10, 70)}));

    // A lower level leaves the page's highest level.
    Doc high;
    high.page()->SetMaxLevel(9);
    CImageElement low(high.page(), 9);
    CArchive again(Record107().substr(4));
    low.LoadFromLibrary(again, 107);
    EXPECT_EQ(low.GetLevel(), 5);
    EXPECT_EQ(high.page()->GetMaxLevel(), 9);
}

TEST(ImageElementLibrary, OlderLibrariesAlwaysCarryAndApplyTheAngle)
{
    const double pi = 3.14159265358979323846;
    for (int version : {100, 102, 103}) {
        Doc doc;  // the document's own version plays no part
        CImageElement e(doc.page(), 0);
        CArchive in(HexBytes("05000000") + OldBody(LittleEndianDouble(pi / 2)));
        EXPECT_EQ(e.LoadFromLibrary(in, version), 1);
        EXPECT_EQ(in.BytesLeft(), 0u) << version;
        EXPECT_EQ(CornersOf(e), (Corners{CPoint(10, 20), CPoint(10, -80), CPoint(60, -80), CPoint(60, 20)}))
            << version;
    }
}

TEST(ImageElementLibrary, TruncatedLibraryRecordsEndInAnArchiveError)
{
    const std::string record = Record107().substr(4);
    for (std::size_t n = 0; n < record.size(); ++n) {
        Doc doc;
        CImageElement e(doc.page(), 0);
        CArchive in(record.substr(0, n));
        EXPECT_THROW(e.LoadFromLibrary(in, 107), CArchiveError) << n << " bytes";
    }
}

// ===========================================================================
// Corners, bounds and hit area

TEST(ImageElementGeometry, BoundsSpanTheCornersWithoutAnExtraUnit)
{
    Doc doc;
    CImageElement e(doc.page(), 0);
    e.SetUpperLeft(100, 0);
    e.SetUpperRight(200, 100);
    e.SetLowerRight(100, 200);
    e.SetLowerLeft(0, 100);
    EXPECT_EQ(e.GetBoundRect(), CRect(0, 0, 200, 200));

    CPointList corners{CPoint(9, 9)};
    e.GetCorners(corners);
    EXPECT_EQ(corners, (CPointList{CPoint(100, 0), CPoint(200, 100), CPoint(100, 200), CPoint(0, 100)}));
}

TEST(ImageElementGeometry, HitAreaIsTheQuadrilateralOfTheCorners)
{
    Doc doc;
    CImageElement e(doc.page(), 0);
    // A diamond: its bounding box corners are outside.
    e.SetUpperLeft(100, 0);
    e.SetUpperRight(200, 100);
    e.SetLowerRight(100, 200);
    e.SetLowerLeft(0, 100);
    struct Case {
        int x, y, inside;
    } cases[] = {{100, 100, 1}, {100, 10, 1}, {10, 100, 1}, {190, 100, 1}, {5, 5, 0}, {195, 195, 0}, {300, 100, 0}};
    for (const Case& c : cases) {
        EXPECT_EQ(e.PtInImage(c.x, c.y), c.inside) << c.x << "," << c.y;
        EXPECT_EQ(e.ContainsPoint(c.x, c.y), c.inside) << c.x << "," << c.y;
    }
    // A picture without pixels is still hit by its corners.
    EXPECT_EQ(e.GetBitmap(), nullptr);
}

TEST(ImageElementGeometry, MovingTheLowerRightCornerChangesBoundsAndHitAreaOnly)
{
    Doc doc;
    CImageElement e(doc.page(), 0);
    e.SetUpperLeft(0, 0);
    e.SetUpperRight(100, 0);
    e.SetLowerRight(100, 100);
    e.SetLowerLeft(0, 100);
    EXPECT_FALSE(e.PtInImage(150, 150));
    e.SetLowerRight(200, 200);
    EXPECT_EQ(e.GetBoundRect(), CRect(0, 0, 200, 200));
    EXPECT_TRUE(e.PtInImage(150, 150));
}

TEST(ImageElementGeometry, PageFindsTheTopMostPicture)
{
    Doc doc;
    auto* low = new CImageElement(doc.page(), 1);
    auto* high = new CImageElement(doc.page(), 3);
    for (CImageElement* e : {high, low}) {
        e->SetUpperLeft(0, 0);
        e->SetUpperRight(100, 0);
        e->SetLowerRight(100, 100);
        e->SetLowerLeft(0, 100);
        doc.page()->AddElement(e);
    }
    CGraphElement* hit = nullptr;
    EXPECT_EQ(doc.page()->HitTestImage(50, 50, hit), 1);
    EXPECT_EQ(hit, high);
    EXPECT_EQ(doc.page()->HitTestImage(150, 50, hit), 0);
}

// ===========================================================================
// Drawing

namespace {

struct Canvas {
    explicit Canvas(int w = 400, int h = 400) : image(w, h, QImage::Format_RGB32)
    {
        image.fill(Qt::white);
    }
    void Draw(CImageElement& e, double scale = 1.0, int ox = 0, int oy = 0,
              CRect clip = CRect(0, 0, 400, 400))
    {
        QPainter painter(&image);
        CDC dc(&painter);
        e.Draw(&dc, scale, ox, oy, clip);
    }
    COLORREF At(int x, int y) const { return Rgb(image.pixelColor(x, y)); }
    QImage image;
};

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kYellow = RGB(255, 255, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);

void Place(CImageElement& e, CPoint ul, CPoint ur, CPoint lr, CPoint ll)
{
    e.SetUpperLeft(ul.x, ul.y);
    e.SetUpperRight(ur.x, ur.y);
    e.SetLowerRight(lr.x, lr.y);
    e.SetLowerLeft(ll.x, ll.y);
}

struct Probe {
    int x, y;
    COLORREF colour;
};

void ExpectProbes(const Canvas& canvas, const std::vector<Probe>& probes, const char* what)
{
    for (const Probe& p : probes)
        EXPECT_EQ(canvas.At(p.x, p.y), p.colour) << what << " at " << p.x << "," << p.y;
}

} // namespace

TEST(ImageElementDraw, MapsThePixelsOntoTheCorners)
{
    Doc doc;
    struct Case {
        Corners corners;
        std::vector<Probe> probes;
        const char* what;
    } cases[] = {
        {{CPoint(100, 100), CPoint(300, 100), CPoint(300, 300), CPoint(100, 300)},
         {{150, 150, kRed}, {250, 150, kGreen}, {150, 250, kBlue}, {250, 250, kYellow},
          {95, 150, kWhite}, {305, 250, kWhite}, {150, 95, kWhite}, {250, 305, kWhite}},
         "upright"},
        // Stretched: twice as wide as high.
        {{CPoint(0, 100), CPoint(400, 100), CPoint(400, 200), CPoint(0, 200)},
         {{100, 125, kRed}, {300, 125, kGreen}, {100, 175, kBlue}, {300, 175, kYellow},
          {200, 95, kWhite}, {200, 205, kWhite}},
         "stretched"},
        // A quarter turn clockwise on screen: the upper edge runs down the
        // right-hand side.
        {{CPoint(300, 100), CPoint(300, 300), CPoint(100, 300), CPoint(100, 100)},
         {{250, 150, kRed}, {250, 250, kGreen}, {150, 150, kBlue}, {150, 250, kYellow}},
         "turned"},
        // Mirrored left to right by swapping the sides.
        {{CPoint(300, 100), CPoint(100, 100), CPoint(100, 300), CPoint(300, 300)},
         {{250, 150, kRed}, {150, 150, kGreen}, {250, 250, kBlue}, {150, 250, kYellow}},
         "mirrored"},
        // Skewed: the lower edge shifted 100 to the right.
        {{CPoint(100, 100), CPoint(200, 100), CPoint(300, 300), CPoint(200, 300)},
         {{140, 130, kRed}, {190, 130, kGreen}, {210, 270, kBlue}, {260, 270, kYellow},
          {110, 290, kWhite}, {290, 110, kWhite}},
         "skewed"},
    };
    const CPixelBlock pixels = QuadrantPixels();
    for (const Case& c : cases) {
        CImageElement e(doc.page(), 0);
        e.SetBitmapCopy(&pixels);
        Place(e, c.corners[0], c.corners[1], c.corners[2], c.corners[3]);
        Canvas canvas;
        canvas.Draw(e);
        ExpectProbes(canvas, c.probes, c.what);
    }
}

TEST(ImageElementDraw, FollowsScaleAndOrigin)
{
    Doc doc;
    CImageElement e(doc.page(), 0);
    const CPixelBlock pixels = QuadrantPixels();
    e.SetBitmapCopy(&pixels);
    // 20 units per pixel, origin (1000, 2000): corners land on 100..300.
    Place(e, CPoint(3000, 4000), CPoint(7000, 4000), CPoint(7000, 8000), CPoint(3000, 8000));
    Canvas canvas;
    canvas.Draw(e, 20.0, 1000, 2000);
    ExpectProbes(canvas, {{150, 150, kRed}, {250, 250, kYellow}, {95, 95, kWhite}, {305, 305, kWhite}},
                 "scaled");
}

TEST(ImageElementDraw, TheLowerRightCornerTakesNoPartInDrawing)
{
    Doc doc;
    CImageElement e(doc.page(), 0);
    const CPixelBlock pixels = QuadrantPixels();
    e.SetBitmapCopy(&pixels);
    Place(e, CPoint(100, 100), CPoint(300, 100), CPoint(300, 300), CPoint(100, 300));
    Canvas before;
    before.Draw(e);
    e.SetLowerRight(390, 120);
    Canvas after;
    after.Draw(e);
    EXPECT_EQ(before.image, after.image);
}

TEST(ImageElementDraw, ReplacedPixelsShowAtTheNextDrawing)
{
    Doc doc;
    CImageElement e(doc.page(), 0);
    const CPixelBlock quadrants = QuadrantPixels();
    e.SetBitmapCopy(&quadrants);
    Place(e, CPoint(100, 100), CPoint(300, 100), CPoint(300, 300), CPoint(100, 300));
    Canvas first;
    first.Draw(e);
    EXPECT_EQ(first.At(150, 150), kRed);

    QImage green(4, 4, QImage::Format_ARGB32);
    green.fill(QColor(0, 255, 0));
    const CPixelBlock greenPixels(green);
    e.SetBitmapCopy(&greenPixels);
    Canvas second;
    second.Draw(e);
    EXPECT_EQ(second.At(150, 150), kGreen);

    CArchive in(HexBytes(kPixels2x1));  // red | half-transparent blue
    e.LoadPixels(in);
    Canvas third;
    third.Draw(e);
    EXPECT_EQ(third.At(120, 200), kRed);
}

TEST(ImageElementDraw, HalfTransparentPixelsBlendWithWhatIsBelow)
{
    Doc doc;
    CImageElement e(doc.page(), 0);
    CArchive in(Body107());  // red opaque, blue at alpha 0x80
    e.Load(in);
    Place(e, CPoint(0, 0), CPoint(200, 0), CPoint(200, 100), CPoint(0, 100));
    Canvas canvas;
    canvas.Draw(e);
    EXPECT_EQ(canvas.At(20, 50), kRed);
    const QColor blended = canvas.image.pixelColor(180, 50);
    EXPECT_TRUE(Near(blended, QColor(127, 127, 255), 3));
}

TEST(ImageElementDraw, NothingWithoutPixelsOutsideTheClipOrWithoutArea)
{
    Doc doc;
    const CPixelBlock pixels = QuadrantPixels();
    struct Case {
        bool withPixels;
        Corners corners;
        CRect clip;
        const char* what;
    } cases[] = {
        {false, {CPoint(100, 100), CPoint(300, 100), CPoint(300, 300), CPoint(100, 300)},
         CRect(0, 0, 400, 400), "no pixels"},
        {true, {CPoint(100, 100), CPoint(300, 100), CPoint(300, 300), CPoint(100, 300)},
         CRect(320, 0, 400, 400), "outside the clip"},
        {true, {CPoint(100, 100), CPoint(300, 300), CPoint(300, 300), CPoint(200, 200)},
         CRect(0, 0, 400, 400), "corners on one line"},
        {true, {CPoint(100, 100), CPoint(100, 100), CPoint(100, 100), CPoint(100, 100)},
         CRect(0, 0, 400, 400), "corners in one point"},
    };
    for (const Case& c : cases) {
        CImageElement e(doc.page(), 0);
        if (c.withPixels) e.SetBitmapCopy(&pixels);
        Place(e, c.corners[0], c.corners[1], c.corners[2], c.corners[3]);
        Canvas canvas;
        canvas.Draw(e, 1.0, 0, 0, c.clip);
        QImage white(canvas.image.size(), canvas.image.format());
        white.fill(Qt::white);
        EXPECT_EQ(canvas.image, white) << c.what;
    }
}

TEST(ImageElementDraw, HighlightOutlinesAllFourCornersWithTheSelectedPen)
{
    Doc doc;
    CImageElement e(doc.page(), 0);  // no pixels: the outline is still drawn
    Place(e, CPoint(100, 100), CPoint(300, 100), CPoint(350, 300), CPoint(100, 300));
    Canvas canvas;
    {
        QPainter painter(&canvas.image);
        CDC dc(&painter);
        dc.SelectPen(CPen{PS_SOLID, 1, kBlue});
        e.DrawHighlight(&dc, 1.0, 0, 0, CRect(0, 0, 400, 400));
    }
    ExpectProbes(canvas,
                 {{200, 100, kBlue}, {100, 200, kBlue}, {200, 300, kBlue}, {325, 200, kBlue},
                  {200, 200, kWhite}, {340, 200, kWhite}},
                 "outline");
}

// ===========================================================================
// Copies

TEST(ImageElementCopy, CopiesCornersAndAnIndependentCloneOfThePixels)
{
    Doc source;
    Doc target;
    CImageElement original(source.page(), 4);
    CArchive in(Body107());
    original.Load(in);

    CImageElement copy(target.page(), 4);
    copy.CopyFrom(original);
    EXPECT_EQ(Stored(copy), Stored(original));
    ASSERT_NE(copy.GetBitmap(), nullptr);
    EXPECT_NE(copy.GetBitmap(), original.GetBitmap());
    EXPECT_NE(copy.GetBitmap()->Image().constBits(), original.GetBitmap()->Image().constBits());

    // Changing the source afterwards leaves the copy as it was.
    const std::string copied = Stored(copy);
    const CPixelBlock other = QuadrantPixels(4, 4);
    original.SetBitmapCopy(&other);
    original.SetUpperLeft(-5, -5);
    EXPECT_EQ(Stored(copy), copied);
}

TEST(ImageElementCopy, CopyingAPictureWithoutPixelsLeavesNone)
{
    Doc doc;
    CImageElement empty(doc.page(), 0);
    CImageElement target(doc.page(), 0);
    const CPixelBlock pixels = QuadrantPixels();
    target.SetBitmapCopy(&pixels);
    target.CopyFrom(empty);
    EXPECT_EQ(target.GetBitmap(), nullptr);
}

TEST(ImageElementCopy, SetBitmapCopyRefusesNothingToCopy)
{
    Doc doc;
    CImageElement e(doc.page(), 0);
    const CPixelBlock pixels = QuadrantPixels();
    EXPECT_EQ(e.SetBitmapCopy(&pixels), 1);
    EXPECT_EQ(e.GetImageSize(), CSize(20, 20));
    EXPECT_EQ(e.SetBitmapCopy(e.GetBitmap()), 1);  // itself: kept
    EXPECT_EQ(e.GetImageSize(), CSize(20, 20));
    const CPixelBlock none;
    EXPECT_EQ(e.SetBitmapCopy(&none), 0);
    EXPECT_EQ(e.GetBitmap(), nullptr);
    e.SetBitmapCopy(&pixels);
    EXPECT_EQ(e.SetBitmapCopy(nullptr), 0);
    EXPECT_EQ(e.GetBitmap(), nullptr);
}

// ===========================================================================
// Picture files

TEST_F(PictureFiles, EveryRasterFormatOfTheDialogIsRead)
{
    ASSERT_TRUE(dir.isValid());
    const QImage source = Quadrants(16, 8);
    struct Case {
        const char* name;
        const char* format;
        int tolerance;
    } cases[] = {
        {"p.bmp", "bmp", 0}, {"p.jpg", "jpg", 40}, {"p.gif", "gif", 0},
        {"p.png", "png", 0}, {"p.tif", "tif", 0},
    };
    for (const Case& c : cases) {
        const QString path = QByteArray(c.format) == "gif" ? WriteBytes(c.name, QuadrantGif(16, 8))
                                                            : Write(c.name, source, c.format);
        CImageElement e(doc.page(), 0, path, 1000, 2000, 300, 400);
        EXPECT_EQ(e.GetImageSize(), CSize(16, 8)) << c.name;
        EXPECT_EQ(CornersOf(e),
                  (Corners{CPoint(1000, 2000), CPoint(1300, 2000), CPoint(1300, 2400), CPoint(1000, 2400)}))
            << c.name;
        const QImage& pixels = e.GetBitmap()->Image();
        EXPECT_TRUE(Near(pixels.pixelColor(2, 2), QColor(255, 0, 0), c.tolerance)) << c.name;
        EXPECT_TRUE(Near(pixels.pixelColor(13, 2), QColor(0, 255, 0), c.tolerance)) << c.name;
        EXPECT_TRUE(Near(pixels.pixelColor(2, 6), QColor(0, 0, 255), c.tolerance)) << c.name;
        EXPECT_TRUE(Near(pixels.pixelColor(13, 6), QColor(255, 255, 0), c.tolerance)) << c.name;
    }
}

TEST_F(PictureFiles, MetafilesArePlayedAtScreenResolution)
{
    struct Case {
        const char* name;
        std::string bytes;
    } cases[] = {{"p.wmf", TwoColourWmf()}, {"p.emf", TwoColourEmf()}};
    for (const Case& c : cases) {
        const QString path = WriteBytes(c.name, c.bytes);
        CImageElement e(doc.page(), 0, path, 0, 0, 6400, 3200);
        ASSERT_NE(e.GetBitmap(), nullptr) << c.name;
        EXPECT_EQ(e.GetImageSize(), CSize(64, 32)) << c.name;
        const QImage& pixels = e.GetBitmap()->Image();
        EXPECT_TRUE(Near(pixels.pixelColor(8, 16), QColor(255, 0, 0))) << c.name;
        EXPECT_TRUE(Near(pixels.pixelColor(56, 16), QColor(0, 0, 255))) << c.name;
        EXPECT_EQ(pixels.pixelColor(16, 16).alpha(), 255) << c.name;
    }
}

TEST_F(PictureFiles, TheFormatIsToldByContentNotByName)
{
    const QString png = Write("really-a-png.jpg", Quadrants(6, 6), "png");
    CImageElement raster(doc.page(), 0, png, 0, 0, 10, 10);
    EXPECT_EQ(raster.GetImageSize(), CSize(6, 6));
    const QString wmf = WriteBytes("drawing.png", TwoColourWmf());
    CImageElement metafile(doc.page(), 0, wmf, 0, 0, 10, 10);
    EXPECT_EQ(metafile.GetImageSize(), CSize(64, 32));
}

TEST_F(PictureFiles, APathInTheModelsCodePageIsRead)
{
    const QString path = Write(QString::fromUtf8("衬衫图片.png"), Quadrants(4, 2), "png");
    const std::string gbk = QStringToGbk(path);
    CImageElement e(doc.page(), 0, gbk, 0, 0, 10, 10);
    EXPECT_EQ(e.GetImageSize(), CSize(4, 2));
    CImageElement other(doc.page(), 0);
    EXPECT_EQ(other.LoadImageFile(gbk), 1);
    EXPECT_EQ(other.GetImageSize(), CSize(4, 2));
}

TEST_F(PictureFiles, UnreadableFilesAreRefusedWithTheMessageAndLeaveNoElement)
{
    QFile whole(Write("whole.png", Quadrants(32, 32), "png"));
    ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
    const std::string pngStart = whole.readAll().left(60).toStdString();
    const std::string wmfHeaderOnly = TwoColourWmf().substr(0, 40);
    std::string emfGarbled = TwoColourEmf();
    for (std::size_t i = 88; i < emfGarbled.size(); ++i) emfGarbled[i] = char(0xEE);
    std::string emfNoArea = TwoColourEmf();
    for (std::size_t i = 24; i < 40; ++i) emfNoArea[i] = 0;  // an empty frame
    struct Case {
        QString path;
        const char* what;
    } cases[] = {
        {PathOf("missing.png"), "missing file"},
        {WriteBytes("text.png", "not a picture at all"), "text named .png"},
        {WriteBytes("empty.bmp", ""), "empty file"},
        {WriteBytes("cut.png", pngStart), "truncated PNG"},
        {WriteBytes("header.wmf", wmfHeaderOnly), "WMF header alone"},
        {WriteBytes("garbled.emf", emfGarbled), "EMF with garbled records"},
        {WriteBytes("noarea.emf", emfNoArea), "EMF without area"},
        {dir.path(), "a folder"},
    };
    for (const Case& c : cases) {
        doc.page()->SetMaxLevel(2);
        try {
            CImageElement e(doc.page(), 7, c.path, 0, 0, 100, 100);
            ADD_FAILURE() << c.what << ": made a picture of " << e.GetImageSize().cx << " x "
                          << e.GetImageSize().cy;
        } catch (const CPictureFileError& error) {
            EXPECT_EQ(error.MessageId(), 36066) << c.what;
        }
        EXPECT_EQ(doc.page()->GetMaxLevel(), 2) << c.what;

        // Reloading an existing picture from such a file leaves it without
        // pixels and says so.
        CImageElement existing(doc.page(), 0);
        const CPixelBlock pixels = QuadrantPixels();
        existing.SetBitmapCopy(&pixels);
        EXPECT_EQ(existing.LoadImageFile(c.path), 0) << c.what;
        EXPECT_EQ(existing.GetBitmap(), nullptr) << c.what;
    }
}

TEST_F(PictureFiles, PicturesTooLargeForARecordAreRefused)
{
    QImage wide(CPictureFile::kMaxSide + 1, 1, QImage::Format_RGB32);
    wide.fill(Qt::red);
    const QString path = Write("wide.png", wide, "png");
    EXPECT_THROW(CImageElement(doc.page(), 0, path, 0, 0, 10, 10), CPictureFileError);
}

TEST_F(PictureFiles, LoadImageFileReplacesThePixelsAndMarksTheBoundsDirty)
{
    CImageElement e(doc.page(), 0);
    e.GetBoundRect();
    const QString path = Write("p.png", Quadrants(6, 4), "png");
    EXPECT_EQ(e.LoadImageFile(path), 1);
    EXPECT_EQ(e.GetImageSize(), CSize(6, 4));
    EXPECT_TRUE(e.IsBoundsDirty());
}

TEST_F(PictureFiles, APlacedPictureSurvivesStoreAndLoad)
{
    const QString path = Write("p.png", Quadrants(10, 10), "png");
    CImageElement e(doc.page(), 3, path, 0, 0, 1000, 1000);
    CArchive out;
    e.Store(out);
    CImageElement back(doc.page(), 3);
    CArchive in(out.Buffer().substr(8));
    back.Load(in);
    EXPECT_EQ(back.GetBitmap()->Image(), e.GetBitmap()->Image());
    EXPECT_EQ(Stored(back), out.Buffer());
}

// ===========================================================================
// Pictures in documents

TEST(ImageElementDocument, AnOlderDocumentLoadsTurnedAndIsWrittenInTheCurrentLayout)
{
    const double pi = 3.14159265358979323846;
    const std::string v103 = Bytes()
                                 .header(103, 1)
                                 .i32(2).i32(0).i32(1)   // page: highest level, no points, one element
                                 .i32(2).i32(2)          // picture at level 2
                                 .raw(OldBody(LittleEndianDouble(pi / 2)))
                                 .data;
    CPageSet set;
    CArchive in(v103);
    ASSERT_EQ(set.Load(in), 1);
    EXPECT_EQ(in.BytesLeft(), 0u);
    ASSERT_EQ(set.GetPageAt(0)->GetElementCount(), 1);
    const auto* picture = dynamic_cast<CImageElement*>(set.GetPageAt(0)->Elements().GetHead());
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(CornersOf(*picture), (Corners{CPoint(10, 20), CPoint(10, -80), CPoint(60, -80), CPoint(60, 20)}));

    const std::string v107 = Bytes()
                                 .header(107, 1)
                                 .i32(2).i32(0).i32(1)
                                 .i32(2).i32(2)
                                 .raw(HexBytes("0A000000 14000000  0A000000 B0FFFFFF"
                                               "3C000000 B0FFFFFF  3C000000 14000000"))
                                 .raw(HexBytes(kPixels2x1))
                                 .data;
    CArchive out;
    set.Store(out);
    EXPECT_EQ(out.Buffer(), v107);
}

TEST(ImageElementDocument, ACopiedDocumentOwnsItsOwnPixels)
{
    const std::string file = Bytes().header(107, 1).i32(5).i32(0).i32(1).raw(Record107()).data;
    CPageSet set;
    CArchive in(file);
    ASSERT_EQ(set.Load(in), 1);
    CPageSet copy;
    copy.CopyFrom(set);
    auto* original = dynamic_cast<CImageElement*>(set.GetPageAt(0)->Elements().GetHead());
    const auto* copied = dynamic_cast<CImageElement*>(copy.GetPageAt(0)->Elements().GetHead());
    ASSERT_NE(original, nullptr);
    ASSERT_NE(copied, nullptr);
    EXPECT_EQ(copied->GetLayer(), copy.GetPageAt(0));
    EXPECT_NE(copied->GetBitmap()->Image().constBits(), original->GetBitmap()->Image().constBits());

    // Dropping the source's pixels leaves the copy writing the file as read.
    original->SetBitmapCopy(nullptr);
    CArchive out;
    copy.Store(out);
    EXPECT_EQ(out.Buffer(), file);
}
