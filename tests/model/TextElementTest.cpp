#include "model/CTextElement.h"

#include "geometry/TextMeasure.h"
#include "model/CPage.h"
#include "model/CPageSet.h"
#include "platform/CArchive.h"
#include "platform/CDC.h"

#include "HexBytes.h"
#include "PageTestSupport.h"

#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QRect>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

namespace {

const std::string kSong = "\xCB\xCE\xCC\xE5"; // 宋体 in GBK

LogFont Font(int height, int escapement = 0, int width = 0)
{
    LogFont lf;
    lf.lfHeight = height;
    lf.lfWidth = width;
    lf.lfEscapement = escapement;
    lf.lfOrientation = escapement;
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = GB2312_CHARSET;
    lf.SetFaceName(kSong);
    return lf;
}

CTextFont Text(const std::string& text, int height = -400, int escapement = 0, int width = 0,
               COLORREF colour = RGB(0, 0, 0))
{
    return CTextFont(text, Font(height, escapement, width), colour);
}

// The text "AB" in red, height -400, escapement 0, 宋体, at (1000, 2000),
// transparent, box 500 x 400.
const char* const kHeader = "04 00 00 00  03 00 00 00";
const char* const kFontAndPlace =
    "02 41 42  FF 00 00 00"
    "70 FE FF FF  00 00 00 00  00 00 00 00  00 00 00 00  90 01 00 00"
    "00 00 00 86 00 00 00 00  04 CB CE CC E5"
    "E8 03 00 00  D0 07 00 00"  // origin (1000, 2000)
    "01 00 00 00";              // transparent
const char* const kCorners =
    "DC 05 00 00  D0 07 00 00"  // corner 2 (1500, 2000)
    "DC 05 00 00  60 09 00 00"  // corner 4 (1500, 2400)
    "E8 03 00 00  60 09 00 00"; // corner 3 (1000, 2400)
const char* const kExtent = "F4 01 00 00  90 01 00 00"; // (500, 400)

std::string Body107() { return HexBytes(kFontAndPlace) + HexBytes(kCorners) + HexBytes(kExtent); }

std::string Stored(const CTextElement& e)
{
    CArchive ar;
    EXPECT_EQ(e.Store(ar), 1);
    return ar.Buffer();
}

std::string StoredForLibrary(const CTextElement& e)
{
    CArchive ar;
    EXPECT_EQ(e.StoreForLibrary(ar), 1);
    return ar.Buffer();
}

// The text measured independently: a font of that many pixels on an image.
CSize MeasureOnImage(const std::string& text, const LogFont& lf)
{
    QImage image(1, 1, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&image);
    CDC dc(&painter);
    LogFont upright = lf;
    upright.lfEscapement = upright.lfOrientation = 0;
    dc.SelectFont(upright);
    return MeasureText(dc, text);
}

// A page set of the given record version with one page, as while loading.
struct VersionedPage {
    explicit VersionedPage(int version) : set(version), page(&set) {}
    CPageSet set;
    CPage page;
};

// -- Drawing helpers ------------------------------------------------------

QImage WhiteImage(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

bool IsInk(const QImage& image, int x, int y)
{
    return image.pixelColor(x, y) != QColor(Qt::white);
}

// Bounding box of everything that is not white; null when nothing is.
QRect InkBounds(const QImage& image)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (IsInk(image, x, y)) box |= QRect(x, y, 1, 1);
    return box;
}

// Runs of rows (or of columns) that hold ink: their first indexes.
std::vector<int> InkRunStarts(const QImage& image, bool rows)
{
    std::vector<int> starts;
    const int outer = rows ? image.height() : image.width();
    const int inner = rows ? image.width() : image.height();
    bool previous = false;
    for (int i = 0; i < outer; ++i) {
        bool ink = false;
        for (int j = 0; j < inner && !ink; ++j) ink = rows ? IsInk(image, j, i) : IsInk(image, i, j);
        if (ink && !previous) starts.push_back(i);
        previous = ink;
    }
    return starts;
}

QImage Render(CTextElement& e, double scale, int originX, int originY, int w = 400, int h = 400)
{
    QImage image = WhiteImage(w, h);
    QPainter painter(&image);
    CDC dc(&painter);
    e.Draw(&dc, scale, originX, originY, CRect(0, 0, w, h));
    return image;
}

} // namespace

// -- Records ----------------------------------------------------------------

TEST(TextElementRecord, Reads107FieldByFieldAndWritesItBack)
{
    CPage page(nullptr);
    CTextElement e(&page, 3);
    CArchive ar(Body107() + "X");
    EXPECT_EQ(e.Load(ar), 1);
    EXPECT_EQ(ar.BytesLeft(), 1u);

    CTextFont tf;
    CPoint origin;
    int bkMode = 0;
    e.GetText(tf, origin, bkMode);
    EXPECT_EQ(tf.GetText(), "AB");
    EXPECT_EQ(tf.GetColor(), RGB(255, 0, 0));
    EXPECT_EQ(tf.GetLogFont(), Font(-400, 0));
    EXPECT_EQ(origin, CPoint(1000, 2000));
    EXPECT_EQ(bkMode, TRANSPARENT);
    EXPECT_EQ(e.GetCorner2(), CPoint(1500, 2000));
    EXPECT_EQ(e.GetCorner4(), CPoint(1500, 2400));
    EXPECT_EQ(e.GetCorner3(), CPoint(1000, 2400));
    EXPECT_EQ(e.GetExtent(), CSize(500, 400));
    // Loading leaves the dirty flag as it was: the box is laid out again
    // when it is next drawn or read.
    EXPECT_TRUE(e.IsBoundsDirty());

    EXPECT_EQ(Stored(e), HexBytes(kHeader) + Body107());
}

TEST(TextElementRecord, BuildsThe107RecordFromScratch)
{
    CPage page(nullptr);
    page.SetMaxLevel(3);
    CTextElement e(&page, 3, Text("AB", -400, 0, 0, RGB(255, 0, 0)), 1000, 2000, TRANSPARENT);
    e.SetCorner2(1500, 2000);
    e.SetCorner4(1500, 2400);
    e.SetCorner3(1000, 2400);
    // The extent comes from measuring; it is compared with the getter.
    const std::string stored = Stored(e);
    const std::string expected = HexBytes(kHeader) + HexBytes(kFontAndPlace) + HexBytes(kCorners);
    ASSERT_EQ(stored.size(), expected.size() + 8);
    EXPECT_EQ(stored.substr(0, expected.size()), expected);
    CSize measured;
    CArchive tail(stored.substr(expected.size()));
    tail >> measured;
    EXPECT_EQ(measured, e.GetExtent());
}

TEST(TextElementRecord, Version105ReadsLike107)
{
    VersionedPage vp(105);
    CTextElement e(&vp.page, 0);
    CArchive ar(Body107());
    e.Load(ar);
    EXPECT_EQ(ar.BytesLeft(), 0u);
    EXPECT_EQ(e.GetExtent(), CSize(500, 400));
    EXPECT_EQ(e.GetCorner4(), CPoint(1500, 2400));
}

TEST(TextElementRecord, Version104HasCornersButMeasuresTheExtent)
{
    VersionedPage vp(104);
    CTextElement e(&vp.page, 0);
    CArchive ar(HexBytes(kFontAndPlace) + HexBytes(kCorners));
    e.Load(ar);
    EXPECT_EQ(ar.BytesLeft(), 0u);
    EXPECT_EQ(e.GetCorner2(), CPoint(1500, 2000));
    EXPECT_EQ(e.GetCorner4(), CPoint(1500, 2400));
    EXPECT_EQ(e.GetCorner3(), CPoint(1000, 2400));
    EXPECT_EQ(e.GetExtent(), MeasureOnImage("AB", Font(-400)));
    // Written back at 107 with the measured extent.
    const std::string back = Stored(e);
    EXPECT_EQ(back.substr(8, back.size() - 16), HexBytes(kFontAndPlace) + HexBytes(kCorners));
}

// Before 104 the box is rebuilt from the measured text and turned about its
// centre, so the origin itself moves when the text is turned.
TEST(TextElementRecord, Version103TurnsTheMeasuredBoxAboutItsCentre)
{
    for (int escapement : {0, 900}) {
        VersionedPage vp(103);
        CTextElement e(&vp.page, 0);
        std::string body = HexBytes(kFontAndPlace);
        // Escapement and orientation sit 16 and 20 bytes into the record.
        const int escOffset = 3 + 4 + 8;
        for (int k = 0; k < 2; ++k)
            for (int i = 0; i < 4; ++i)
                body[std::size_t(escOffset + 4 * k + i)] = char((unsigned(escapement) >> (8 * i)) & 0xFF);
        CArchive ar(body);
        e.Load(ar);
        EXPECT_EQ(ar.BytesLeft(), 0u);

        const CSize wh = MeasureOnImage("AB", Font(-400));
        ASSERT_GT(wh.cx, 0);
        EXPECT_EQ(e.GetExtent(), wh);
        const CPoint o(1000, 2000);
        const CPoint c(o.x + wh.cx / 2, o.y + wh.cy / 2);  // (2o + w) / 2, truncated
        // A quarter turn against the page's rotation sense: (dx, dy) -> (dy, -dx).
        auto turned = [&](int x, int y) {
            return escapement == 0 ? CPoint(x, y) : CPoint(c.x + (y - c.y), c.y - (x - c.x));
        };
        EXPECT_EQ(e.GetOrigin(), turned(o.x, o.y)) << escapement;
        EXPECT_EQ(e.GetCorner2(), turned(o.x + wh.cx, o.y)) << escapement;
        EXPECT_EQ(e.GetCorner4(), turned(o.x + wh.cx, o.y + wh.cy)) << escapement;
        EXPECT_EQ(e.GetCorner3(), turned(o.x, o.y + wh.cy)) << escapement;
        if (escapement != 0) {
            EXPECT_NE(e.GetOrigin(), o);
        }
    }
}

TEST(TextElementRecord, EveryTruncationThrowsAndLeavesTheTextAlone)
{
    struct Case {
        int version;
        std::string body;
    };
    const Case cases[] = {
        {107, Body107()},
        {104, HexBytes(kFontAndPlace) + HexBytes(kCorners)},
        {103, HexBytes(kFontAndPlace)},
    };
    for (const Case& c : cases) {
        VersionedPage vp(c.version);
        CTextElement e(&vp.page, 0, Text("keep"), 5, 6, OPAQUE);
        const std::string before = Stored(e);
        for (std::size_t n = 0; n < c.body.size(); ++n) {
            CArchive ar(c.body.substr(0, n));
            EXPECT_THROW(e.Load(ar), CArchiveError) << c.version << " cut at " << n;
            EXPECT_EQ(Stored(e), before) << c.version << " cut at " << n;
        }
    }
}

TEST(TextElementRecord, TextLongerThanTheRecordThrows)
{
    const char* const lengths[] = {"FF FF FF FF FF FF 7F", "FF FE FF 41 42", "09 41 42"};
    for (const char* prefix : lengths) {
        CPage page(nullptr);
        CTextElement e(&page, 0);
        CArchive ar(HexBytes(prefix) + std::string(40, '\0'));
        EXPECT_THROW(e.Load(ar), CArchiveError) << prefix;
    }
}

TEST(TextElementRecord, DamagedFontSizesStillLoadAndMeasureWithinBounds)
{
    // Height INT_MIN and width INT_MAX in an old record: the text is measured
    // (smaller and scaled up), without overflow, and the box stays in range.
    VersionedPage vp(103);
    CTextElement e(&vp.page, 0);
    std::string body = HexBytes(kFontAndPlace);
    const std::string huge = HexBytes("00 00 00 80  FF FF FF 7F");
    body.replace(7, 8, huge);
    CArchive ar(body);
    EXPECT_EQ(e.Load(ar), 1);
    EXPECT_GT(e.GetExtent().cx, 0);
    EXPECT_GT(e.GetExtent().cy, 0);
    EXPECT_LE(e.GetExtent().cx, 2147483646);
}

// A document holding one text element: the page finds the kind, the text
// reads its body at the file's version and everything is written at 107.
TEST(TextElementRecord, DocumentWithATextRoundTrips)
{
    struct Case {
        int version;
        std::string body;
    };
    const Case cases[] = {
        {107, Body107()},
        {104, HexBytes(kFontAndPlace) + HexBytes(kCorners)},
        {103, HexBytes(kFontAndPlace)},
    };
    for (const Case& c : cases) {
        Bytes file;
        file.header(c.version, 1).i32(3).i32(0).i32(1).raw(HexBytes(kHeader)).raw(c.body);
        CPageSet set;
        CArchive in(file.data);
        ASSERT_EQ(set.Load(in), 1) << c.version;
        EXPECT_EQ(in.BytesLeft(), 0u);
        ASSERT_EQ(set.GetElementCount(0), 1);
        POSITION pos = set.GetFirstElementPosition(0);
        auto* text = dynamic_cast<CTextElement*>(set.GetNextElement(0, pos));
        ASSERT_NE(text, nullptr);
        EXPECT_EQ(text->GetLevel(), 3);
        EXPECT_EQ(text->GetTextFont().GetText(), "AB");

        CArchive out;
        set.Store(out);
        const std::string expected = HexBytes(kHeader) + HexBytes(kFontAndPlace);
        const std::size_t at = out.Buffer().find(expected);
        ASSERT_NE(at, std::string::npos) << c.version;
        // Corners and extent follow at 107 in every case.
        EXPECT_EQ(out.Buffer().size(), at + expected.size() + 4 * 8) << c.version;
        if (c.version == 107) {
            Bytes again;
            again.header(107, 1).i32(3).i32(0).i32(1).raw(HexBytes(kHeader)).raw(c.body);
            EXPECT_EQ(out.Buffer(), again.data);
        }
    }
}

// -- Library record ---------------------------------------------------------

TEST(TextElementLibrary, StoresWithoutExtent)
{
    CPage page(nullptr);
    CTextElement e(&page, 3);
    CArchive in(Body107());
    e.Load(in);
    EXPECT_EQ(StoredForLibrary(e), HexBytes(kHeader) + HexBytes(kFontAndPlace) + HexBytes(kCorners));
}

TEST(TextElementLibrary, ReadsByLibraryVersion)
{
    struct Case {
        int version;
        std::string bytes;
        int level;
        bool corners;
    };
    const std::string level7 = HexBytes("07 00 00 00");
    const Case cases[] = {
        {107, level7 + HexBytes(kFontAndPlace) + HexBytes(kCorners), 7, true},
        {105, level7 + HexBytes(kFontAndPlace) + HexBytes(kCorners), 7, true},
        {104, HexBytes(kFontAndPlace) + HexBytes(kCorners), 3, true},
        {103, HexBytes(kFontAndPlace), 3, false},
    };
    for (const Case& c : cases) {
        CPage page(nullptr);
        page.SetMaxLevel(3);
        CTextElement e(&page, 3);
        CArchive ar(c.bytes);
        EXPECT_EQ(e.LoadFromLibrary(ar, c.version), 1);
        EXPECT_EQ(ar.BytesLeft(), 0u) << c.version;
        EXPECT_EQ(e.GetLevel(), c.level) << c.version;
        EXPECT_EQ(page.GetMaxLevel(), c.level) << c.version;
        EXPECT_EQ(e.GetTextFont().GetText(), "AB");
        const CSize wh = MeasureOnImage("AB", Font(-400));
        // The library has no extent: it is measured.
        EXPECT_EQ(e.GetExtent(), wh) << c.version;
        if (c.corners) {
            EXPECT_EQ(e.GetCorner4(), CPoint(1500, 2400)) << c.version;
        } else {
            EXPECT_EQ(e.GetOrigin(), CPoint(1000, 2000));
            EXPECT_EQ(e.GetCorner4(), CPoint(1000 + wh.cx, 2000 + wh.cy));
        }
    }
}

TEST(TextElementLibrary, LowerLevelLeavesThePageAlone)
{
    CPage page(nullptr);
    page.SetMaxLevel(9);
    CTextElement e(&page, 9);
    CArchive ar(HexBytes("02 00 00 00") + HexBytes(kFontAndPlace) + HexBytes(kCorners));
    e.LoadFromLibrary(ar, 107);
    EXPECT_EQ(e.GetLevel(), 2);
    EXPECT_EQ(page.GetMaxLevel(), 9);
}

TEST(TextElementLibrary, EveryTruncationThrowsAndLeavesTheLevelAlone)
{
    const std::string full = HexBytes("07 00 00 00") + HexBytes(kFontAndPlace) + HexBytes(kCorners);
    for (std::size_t n = 0; n < full.size(); ++n) {
        CPage page(nullptr);
        CTextElement e(&page, 0);
        CArchive ar(full.substr(0, n));
        EXPECT_THROW(e.LoadFromLibrary(ar, 107), CArchiveError) << n;
        EXPECT_EQ(e.GetLevel(), 0) << n;
        EXPECT_EQ(page.GetMaxLevel(), 0) << n;
    }
}

// -- Measuring and the box ---------------------------------------------------

TEST(TextElementMeasure, OneMeasuredPixelIsOnePageUnit)
{
    const CSize one = CTextElement::MeasureTextFont(Text("HH", -400));
    const CSize two = CTextElement::MeasureTextFont(Text("HH", -800));
    EXPECT_EQ(one, MeasureOnImage("HH", Font(-400)));
    EXPECT_GT(one.cy, 400);  // a cell is taller than its characters
    EXPECT_NEAR(two.cx, 2 * one.cx, 4);
    EXPECT_NEAR(two.cy, 2 * one.cy, 2);
}

TEST(TextElementMeasure, LinesStackAndTheWidestLineCounts)
{
    const CSize a = CTextElement::MeasureTextFont(Text("AB"));
    const CSize wide = CTextElement::MeasureTextFont(Text("ABAB"));
    const CSize block = CTextElement::MeasureTextFont(Text("AB\r\nABAB\r\nA"));
    EXPECT_EQ(block, CSize(wide.cx, 3 * a.cy));
    EXPECT_EQ(CTextElement::MeasureTextFont(Text("")), CSize(0, 0));
}

TEST(TextElementMeasure, HugeFontsAreMeasuredSmallerAndScaledUp)
{
    const CSize limit = CTextElement::MeasureTextFont(Text("H", -32000));
    const CSize twice = CTextElement::MeasureTextFont(Text("H", -64000));
    EXPECT_EQ(twice, CSize(2 * limit.cx, 2 * limit.cy));
}

TEST(TextElementBox, ConstructorLaysTheBoxOutAlongTheEscapement)
{
    const CSize wh = MeasureOnImage("HH", Font(-400));
    struct Case {
        int escapement;
        CPoint c2, c3, c4;  // relative to the origin
    };
    const Case cases[] = {
        {0, {wh.cx, 0}, {0, wh.cy}, {wh.cx, wh.cy}},
        {900, {0, -wh.cx}, {wh.cy, 0}, {wh.cy, -wh.cx}},
        {1800, {-wh.cx, 0}, {0, -wh.cy}, {-wh.cx, -wh.cy}},
        {2700, {0, wh.cx}, {-wh.cy, 0}, {-wh.cy, wh.cx}},
    };
    for (const Case& c : cases) {
        CPage page(nullptr);
        const CPoint o(1000, -500);
        CTextElement e(&page, 0, Text("HH", -400, c.escapement), o.x, o.y, TRANSPARENT);
        EXPECT_FALSE(e.IsBoundsDirty());
        EXPECT_EQ(e.GetExtent(), wh);
        EXPECT_EQ(e.GetOrigin(), o);
        EXPECT_EQ(e.GetCorner2(), o + c.c2) << c.escapement;
        EXPECT_EQ(e.GetCorner3(), o + c.c3) << c.escapement;
        EXPECT_EQ(e.GetCorner4(), o + c.c4) << c.escapement;

        // RecalcGeometry lays out the same box from scratch.
        e.SetCorner2(0, 0);
        e.SetCorner3(0, 0);
        e.SetCorner4(0, 0);
        e.RecalcGeometry();
        EXPECT_EQ(e.GetCorner2(), o + c.c2) << c.escapement;
        EXPECT_EQ(e.GetCorner3(), o + c.c3) << c.escapement;
        EXPECT_EQ(e.GetCorner4(), o + c.c4) << c.escapement;
    }
}

TEST(TextElementBox, RecalcKeepsTheStoredExtent)
{
    CPage page(nullptr);
    CTextElement e(&page, 0);
    CArchive ar(Body107());
    e.Load(ar);
    e.RecalcGeometry();
    EXPECT_FALSE(e.IsBoundsDirty());
    EXPECT_EQ(e.GetExtent(), CSize(500, 400));
    const CSize wh = MeasureOnImage("AB", Font(-400));
    EXPECT_EQ(e.GetCorner4(), CPoint(1000 + wh.cx, 2000 + wh.cy));
}

TEST(TextElementBox, SetTextMeasuresAndTheBoxFollowsWhenRead)
{
    CPage page(nullptr);
    CTextElement e(&page, 0, Text("H"), 0, 0, TRANSPARENT);
    const CPoint oldCorner4 = e.GetCorner4();
    e.SetText(Text("HHHH"), 100, 200, OPAQUE);
    const CSize wh = MeasureOnImage("HHHH", Font(-400));
    EXPECT_EQ(e.GetExtent(), wh);
    EXPECT_TRUE(e.IsBoundsDirty());
    // The stored corners stand as they were until the box is read.
    EXPECT_EQ(e.GetCorner4(), oldCorner4);
    EXPECT_EQ(e.GetBoundRect(), CRect(100, 200, 100 + wh.cx, 200 + wh.cy));
    EXPECT_FALSE(e.IsBoundsDirty());
    EXPECT_EQ(e.GetBkMode(), OPAQUE);
}

TEST(TextElementBox, ReadersOfTheBoxRebuildItWhenDirty)
{
    const CSize wh = MeasureOnImage("HH", Font(-400));
    const CPoint o(50, 60);
    auto fresh = [&](CPage& page) {
        auto e = std::make_unique<CTextElement>(&page, 0, Text("HH"), 0, 0, TRANSPARENT);
        e->SetText(Text("HH"), o.x, o.y, TRANSPARENT);
        return e;
    };
    CPage page(nullptr);
    {
        auto e = fresh(page);
        CPoint a, b, c, d;
        e->GetCorners(a, b, d, c);
        EXPECT_EQ(d, o + CPoint(wh.cx, wh.cy));
    }
    {
        auto e = fresh(page);
        CPointList outline;
        outline.AddTail(CPoint(9, 9));
        e->GetOutline(outline);
        const CPointList expected{o, o + CPoint(wh.cx, 0), o + CPoint(wh.cx, wh.cy), o + CPoint(0, wh.cy)};
        ASSERT_EQ(outline.GetCount(), 4);
        POSITION p = outline.GetHeadPosition();
        for (const CPoint& q : expected) EXPECT_EQ(outline.GetNext(p), q);
    }
    {
        auto e = fresh(page);
        EXPECT_TRUE(e->HitTest(o.x + wh.cx / 2, o.y + wh.cy / 2));
    }
}

TEST(TextElementBox, BoundsSpanAllFourCornersWithoutPlusOne)
{
    CPage page(nullptr);
    CTextElement e(&page, 0, Text("HH"), 0, 0, TRANSPARENT);
    e.SetOrigin(10, 20);
    e.SetCorner2(50, -5);
    e.SetCorner4(70, 40);
    e.SetCorner3(-3, 30);
    EXPECT_EQ(e.GetBoundRect(), CRect(-3, -5, 70, 40));
}

TEST(TextElementBox, SetOriginMovesNoCornerAndKeepsTheFlag)
{
    CPage page(nullptr);
    CTextElement e(&page, 0, Text("HH"), 0, 0, TRANSPARENT);
    const CPoint c2 = e.GetCorner2();
    e.SetOrigin(-100, -100);
    EXPECT_EQ(e.GetOrigin(), CPoint(-100, -100));
    EXPECT_EQ(e.GetCorner2(), c2);
    EXPECT_FALSE(e.IsBoundsDirty());
}

TEST(TextElementBox, CopyTakesEverythingWithoutMeasuring)
{
    CPage page(nullptr);
    CTextElement source(&page, 0);
    CArchive ar(Body107());
    source.Load(ar);  // extent 500 x 400 as stored, unlike the measurement
    source.SetCorner2(1, 2);
    CPage other(nullptr);
    CTextElement copy(&other, 0, Text("x"), 0, 0, OPAQUE);
    copy.CopyFrom(source);
    EXPECT_EQ(copy.GetCorner2(), CPoint(1, 2));
    EXPECT_EQ(copy.GetExtent(), CSize(500, 400));
    EXPECT_TRUE(copy.IsBoundsDirty());
    EXPECT_EQ(Stored(copy).substr(8), Stored(source).substr(8));

    // A clean box is copied as it stands and stays clean.
    CTextElement clean(&page, 0, Text("HH", -400, 900), 0, 0, TRANSPARENT);
    clean.SetCorner4(7, 7);
    CTextElement copy2(&other, 0);
    copy2.CopyFrom(clean);
    EXPECT_FALSE(copy2.IsBoundsDirty());
    EXPECT_EQ(copy2.GetBoundRect(), clean.GetBoundRect());
    EXPECT_EQ(copy2.GetCorner4(), CPoint(7, 7));
}

// The corners an editor gives a text outlive every reader of the box: a
// turned or stretched box is not laid out again from the measured text.
TEST(TextElementBox, SetTextInBoxKeepsTheCornersGivenThroughEveryReader)
{
    CPage page(nullptr);
    CTextElement e(&page, 0, Text("H"), 0, 0, TRANSPARENT);
    const CPoint o(1000, 2000), c2(4000, 1000), c4(4500, 2500), c3(1500, 3500);
    e.SetTextInBox(Text("HHHH", -400, 300, 0, RGB(0, 0, 255)), OPAQUE, o, c2, c4, c3);
    EXPECT_EQ(e.GetExtent(), MeasureOnImage("HHHH", Font(-400)));
    EXPECT_FALSE(e.IsBoundsDirty());
    EXPECT_EQ(e.GetBoundRect(), CRect(1000, 1000, 4500, 3500));
    CPoint a, b, c, d;
    e.GetCorners(a, b, d, c);
    EXPECT_EQ(a, o);
    EXPECT_EQ(b, c2);
    EXPECT_EQ(d, c4);
    EXPECT_EQ(c, c3);
    // Drawing rebuilds a dirty box first: this one stays.
    Render(e, 10.0, 0, 0);
    EXPECT_EQ(e.GetCorner4(), c4);
    EXPECT_EQ(e.GetTextFont().GetColor(), RGB(0, 0, 255));
    EXPECT_EQ(e.GetBkMode(), OPAQUE);
    // The record holds the corners as given.
    CArchive ar;
    e.Store(ar);
    CTextElement back(&page, 0);
    CArchive in(ar.Buffer().substr(8));
    back.Load(in);
    EXPECT_EQ(back.GetCorner2(), c2);
    EXPECT_EQ(back.GetCorner3(), c3);

    // Where a plain SetText is followed by corner setters, the next reader
    // lays the box out again and the corners are gone; SetCorners keeps
    // them.
    CTextElement lost(&page, 0, Text("H"), 0, 0, TRANSPARENT);
    lost.SetText(Text("HH"), 0, 0, TRANSPARENT);
    lost.SetCorner4(9999, 9999);
    EXPECT_NE(lost.GetBoundRect().right, 9999);
    CTextElement kept(&page, 0, Text("H"), 0, 0, TRANSPARENT);
    kept.SetText(Text("HH"), 0, 0, TRANSPARENT);
    kept.SetCorners(CPoint(0, 0), CPoint(50, 0), CPoint(9999, 9999), CPoint(0, 40));
    EXPECT_EQ(kept.GetBoundRect(), CRect(0, 0, 9999, 9999));
}

TEST(TextElementBox, OffsetMovesTheBoxAsItStands)
{
    CPage page(nullptr);
    CTextElement e(&page, 0, Text("HH", -400, 900), 100, 200, TRANSPARENT);
    CPoint a, b, c, d;
    e.GetCorners(a, b, d, c);
    e.OffsetBy(-30, 70);
    EXPECT_EQ(e.GetOrigin(), a + CPoint(-30, 70));
    EXPECT_EQ(e.GetCorner2(), b + CPoint(-30, 70));
    EXPECT_EQ(e.GetCorner4(), d + CPoint(-30, 70));
    EXPECT_EQ(e.GetCorner3(), c + CPoint(-30, 70));
    EXPECT_FALSE(e.IsBoundsDirty());
}

// -- Hit tests ----------------------------------------------------------------

TEST(TextElementHit, TurnedTextIsHitInsideItsTurnedBoxOnly)
{
    CPage page(nullptr);
    const CPoint o(5000, 5000);
    CTextElement e(&page, 0, Text("HHHH", -400, 450), o.x, o.y, TRANSPARENT);
    const CSize wh = e.GetExtent();
    // Unit vectors along the baseline (up and to the right on the page) and
    // across the lines.
    const double r = std::sqrt(0.5);
    auto at = [&](double along, double across) {
        return CPoint(int(std::lround(o.x + along * wh.cx * r + across * wh.cy * r)),
                      int(std::lround(o.y - along * wh.cx * r + across * wh.cy * r)));
    };
    struct Case {
        double along, across;
        int hit;
    };
    const Case cases[] = {
        {0.5, 0.5, 1},  {0.05, 0.05, 1}, {0.95, 0.95, 1}, {0.95, 0.05, 1}, {0.05, 0.95, 1},
        {-0.05, 0.5, 0}, {1.05, 0.5, 0},  {0.5, -0.05, 0}, {0.5, 1.05, 0},
    };
    for (const Case& c : cases) {
        const CPoint p = at(c.along, c.across);
        EXPECT_EQ(e.HitTest(p.x, p.y), c.hit) << c.along << ", " << c.across;
        EXPECT_EQ(e.ContainsPoint(p.x, p.y), c.hit);
    }
    // A corner of the bounding rectangle lies outside the turned box.
    const CRect bounds = e.GetBoundRect();
    EXPECT_EQ(e.HitTest(bounds.left + 5, bounds.top + 5), 0);
    EXPECT_EQ(e.HitTest(bounds.right - 5, bounds.bottom - 5), 0);
}

TEST(TextElementHit, PageFindsTheTopMostText)
{
    CPage page(nullptr);
    auto* low = new CTextElement(&page, 0, Text("HHHH"), 0, 0, TRANSPARENT);
    auto* high = new CTextElement(&page, 1, Text("HH", -400, 900), 100, 600, TRANSPARENT);
    page.AddElement(low);
    page.AddElement(high);
    CGraphElement* found = nullptr;
    // Inside both: the higher level wins.
    ASSERT_TRUE(page.HitTestText(200, 300, found));
    EXPECT_EQ(found, high);
    // Inside the low text only: to the right of the turned one.
    ASSERT_TRUE(page.HitTestText(100 + high->GetExtent().cy + 50, 100, found));
    EXPECT_EQ(found, low);
    found = nullptr;
    EXPECT_FALSE(page.HitTestText(-50, -50, found));
    EXPECT_EQ(found, nullptr);
}

// -- Drawing --------------------------------------------------------------------

// At scale 10 a 400-unit font is 40 pixels high; the origin (2000, 2000)
// maps to the anchor pixel (200, 200).
TEST(TextElementDraw, UprightInkLiesRightOfAndBelowTheAnchor)
{
    CPage page(nullptr);
    CTextElement e(&page, 0, Text("HH"), 2000, 2000, TRANSPARENT);
    const QImage image = Render(e, 10.0, 0, 0);
    const QRect ink = InkBounds(image);
    ASSERT_FALSE(ink.isNull());
    const CSize wh = e.GetExtent();
    EXPECT_GE(ink.left(), 200);
    EXPECT_GE(ink.top(), 200);
    EXPECT_LT(ink.left(), 210);
    EXPECT_LE(ink.right(), 200 + wh.cx / 10 + 1);
    EXPECT_LE(ink.bottom(), 200 + wh.cy / 10 + 1);
    EXPECT_GT(ink.width(), wh.cx / 10 / 2);
}

TEST(TextElementDraw, QuarterTurnedInkRisesFromTheAnchor)
{
    CPage page(nullptr);
    CTextElement e(&page, 0, Text("HH", -400, 900), 2000, 2000, TRANSPARENT);
    const QImage image = Render(e, 10.0, 0, 0);
    const QRect ink = InkBounds(image);
    ASSERT_FALSE(ink.isNull());
    const CSize wh = e.GetExtent();
    // The text runs upwards; its cell lies to the right of the baseline.
    EXPECT_GE(ink.left(), 200);
    EXPECT_LE(ink.bottom(), 200);
    EXPECT_GE(ink.top(), 200 - wh.cx / 10 - 1);
    EXPECT_LE(ink.right(), 200 + wh.cy / 10 + 1);
    EXPECT_GT(ink.height(), ink.width());
    // The box drawn around it holds all the ink.
    const CRect bounds = e.GetBoundRect();
    EXPECT_GE(ink.left(), bounds.left / 10);
    EXPECT_LE(ink.right(), bounds.right / 10 + 1);
}

TEST(TextElementDraw, LinesShareTheBoxHeightAlongTheLineDirection)
{
    struct Case {
        int escapement;
        bool rows;  // lines follow each other down the rows (else along x)
    };
    for (const Case& c : {Case{0, true}, Case{900, false}}) {
        CPage page(nullptr);
        CTextElement e(&page, 0, Text("H\r\nH\r\nH", -400, c.escapement), 1000, 2000, TRANSPARENT);
        // Three lines 1000 units (100 pixels) apart: the box's height, not the
        // font, sets the spacing.
        if (c.escapement == 0)
            e.SetCorner3(1000, 2000 + 3000);
        else
            e.SetCorner3(1000 + 3000, 2000);
        const QImage image = Render(e, 10.0, 0, 0, 450, 450);
        const std::vector<int> starts = InkRunStarts(image, c.rows);
        ASSERT_EQ(starts.size(), 3u) << c.escapement;
        EXPECT_EQ(starts[1] - starts[0], 100) << c.escapement;
        EXPECT_EQ(starts[2] - starts[1], 100) << c.escapement;
        const int anchor = c.rows ? 200 : 100;
        EXPECT_GE(starts[0], anchor);
        EXPECT_LT(starts[0], anchor + 20);
    }
}

TEST(TextElementDraw, FollowsScaleAndOrigin)
{
    CPage page(nullptr);
    CTextElement e(&page, 0, Text("HH"), 3000, 4000, TRANSPARENT);
    const QRect at10 = InkBounds(Render(e, 10.0, 2000, 3000));
    const QRect at5 = InkBounds(Render(e, 5.0, 2500, 3500));
    ASSERT_FALSE(at10.isNull());
    ASSERT_FALSE(at5.isNull());
    EXPECT_GE(at10.left(), 100);
    EXPECT_GE(at10.top(), 100);
    EXPECT_GE(at5.left(), 100);
    EXPECT_NEAR(at5.width(), 2 * at10.width(), 3);
    EXPECT_NEAR(at5.height(), 2 * at10.height(), 3);
}

TEST(TextElementDraw, FontWidthIsScaledWithTheHeight)
{
    // A font with a set character width draws inside its measured box at
    // every zoom.
    CPage page(nullptr);
    CTextElement e(&page, 0, Text("HHHH", -400, 0, 300), 500, 500, TRANSPARENT);
    const CSize wh = e.GetExtent();
    ASSERT_GT(wh.cx, 0);
    for (double scale : {5.0, 10.0}) {
        const QRect ink = InkBounds(Render(e, scale, 0, 0));
        ASSERT_FALSE(ink.isNull());
        EXPECT_LE(ink.right(), int(500 / scale + wh.cx / scale) + 2) << scale;
        EXPECT_GT(ink.width(), int(wh.cx / scale / 2)) << scale;
    }
}

TEST(TextElementDraw, ColoursAndBackgroundModes)
{
    CPage page(nullptr);
    CTextElement e(&page, 0, Text("HH", -400, 0, 0, RGB(255, 0, 0)), 2000, 2000, OPAQUE);
    QImage image = WhiteImage(400, 400);
    {
        QPainter painter(&image);
        CDC dc(&painter);
        dc.SetBkColor(RGB(0, 255, 0));
        dc.SetTextColor(RGB(0, 0, 255));
        const LogFont font = dc.GetFont();
        e.Draw(&dc, 10.0, 0, 0, CRect(0, 0, 400, 400));
        // The caller's state comes back.
        EXPECT_EQ(dc.GetTextColor(), RGB(0, 0, 255));
        EXPECT_EQ(dc.GetBkMode(), OPAQUE);
        EXPECT_EQ(dc.GetFont(), font);
    }
    int red = 0;
    int green = 0;
    for (int y = 0; y < 400; ++y)
        for (int x = 0; x < 400; ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c == QColor(255, 0, 0)) ++red;
            if (c == QColor(0, 255, 0)) ++green;
        }
    EXPECT_GT(red, 20);
    EXPECT_GT(green, 200);  // the opaque cell behind the text

    // The highlight is transparent and in the caller's colour.
    QImage hl = WhiteImage(400, 400);
    {
        QPainter painter(&hl);
        CDC dc(&painter);
        dc.SetBkColor(RGB(0, 255, 0));
        dc.SetBkMode(OPAQUE);
        dc.SetTextColor(RGB(0, 0, 255));
        e.DrawHighlight(&dc, 10.0, 0, 0, CRect(0, 0, 400, 400));
        EXPECT_EQ(dc.GetBkMode(), OPAQUE);
    }
    int blue = 0;
    for (int y = 0; y < 400; ++y)
        for (int x = 0; x < 400; ++x) {
            const QColor c = hl.pixelColor(x, y);
            EXPECT_NE(c, QColor(0, 255, 0));
            EXPECT_NE(c, QColor(255, 0, 0));
            if (c == QColor(0, 0, 255)) ++blue;
        }
    EXPECT_GT(blue, 20);
}

TEST(TextElementDraw, DirtyBoxIsRebuiltBeforeDrawing)
{
    CPage page(nullptr);
    CTextElement e(&page, 0, Text("H"), 0, 0, TRANSPARENT);
    e.SetText(Text("H\r\nH", -400, 900), 2000, 2000, TRANSPARENT);
    ASSERT_TRUE(e.IsBoundsDirty());
    const QImage image = Render(e, 10.0, 0, 0);
    EXPECT_FALSE(e.IsBoundsDirty());
    // Turned: the two lines follow each other along +x.
    EXPECT_EQ(InkRunStarts(image, false).size(), 2u);
    EXPECT_EQ(e.GetCorner3(), CPoint(2000 + e.GetExtent().cy, 2000));
}

TEST(TextElementDraw, TinyFontsStillDrawAndEmptyTextsDrawNothing)
{
    CPage page(nullptr);
    // 10 units at scale 40 is a quarter pixel: drawn one pixel high.
    CTextElement tiny(&page, 0, Text("HHHH", 10), 400, 400, TRANSPARENT);
    Render(tiny, 40.0, 0, 0, 50, 50);
    CTextElement empty(&page, 0, Text(""), 400, 400, OPAQUE);
    EXPECT_TRUE(InkBounds(Render(empty, 1.0, 0, 0, 50, 50)).isNull());
    EXPECT_EQ(empty.GetBoundRect(), CRect(400, 400, 400, 400));
    EXPECT_EQ(empty.HitTest(400, 400), 0);
}
