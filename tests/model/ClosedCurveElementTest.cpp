#include "model/CClosedCurveElement.h"

#include "model/CCurveNode.h"
#include "model/CLineAttr.h"
#include "model/CPage.h"
#include "model/CPageSet.h"
#include "model/CSharedPoint.h"
#include "platform/CArchive.h"
#include "platform/CDC.h"

#include "HexBytes.h"
#include "WmfSample.h"

#include <gtest/gtest.h>

#include <QColor>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <functional>
#include <initializer_list>
#include <limits>
#include <map>
#include <string>
#include <vector>

namespace {

// Kind 1 at level 0, closed.
const char* const kCurveHeader = "01000000 00000000 01000000";

// The body of the sample square (0,0)-(1000,1000): plain width 10, red,
// bounds, four corner nodes on points 0-3, no mirror source.
const char* const kSquareBody107 =
    "00000000 0A000000"
    "FF000000"
    "00000000 00000000 E9030000 E9030000"
    "04000000"
    "00000000 00000000 01000000 00000000 02000000 00000000 03000000 00000000"
    "FFFFFFFF";
// The same before version 105: no bounds.
const char* const kSquareBody104 =
    "00000000 0A000000"
    "FF000000"
    "04000000"
    "00000000 00000000 01000000 00000000 02000000 00000000 03000000 00000000"
    "FFFFFFFF";

// One pixel: blue 0x11, green 0x22, red 0x33, alpha 0x44.
const char* const kOnePixelBlock =
    "01000000 01000000 0A202600 01000000 01000000 04000000 0A202600 11223344";
const char* const kEmptyPixelBlock =
    "00000000 00000000 0A202600 00000000 00000000 00000000 0A202600";

// Side lines (kind 5) width 10 with p1 = p2 = 100; origin (50, -20); blue;
// 45 degrees; every 150 units.
const char* const kSideLineStyle =
    "05000000 0A000000 64000000 64000000 32000000 ECFFFFFF 0000FF00 0000000000804640 96000000";

const CPoint kGradientStart(100, 200);
const CPoint kGradientEnd(900, 800);
const CPoint kCentre(500, 500);

struct FillRecord {
    const char* name;
    std::string hex;
    std::function<void(const CClosedCurveElement&)> check;
};

std::vector<FillRecord> FillRecords()
{
    return {
        {"none", "00000000 01000000 FF000000",
         [](const CClosedCurveElement& e) { EXPECT_EQ(e.GetFillKind(), FILL_NONE); }},
        {"bitmap",
         std::string("01000000 01000000 FF000000 0000000000003E40 000000000000F83F"
                     "C8000000 2C010000 F4010000 F4010000")
             + kOnePixelBlock,
         [](const CClosedCurveElement& e) {
             EXPECT_EQ(e.GetFillKind(), FILL_BITMAP);
             EXPECT_DOUBLE_EQ(e.GetFillAngle(), 30.0);
             EXPECT_DOUBLE_EQ(e.GetBitmapFillValue(), 1.5);
             EXPECT_EQ(e.GetBitmapTileSize(), CSize(200, 300));
             EXPECT_EQ(e.GetBitmapCenter(), kCentre);
             ASSERT_NE(e.GetFillBitmap(), nullptr);
             EXPECT_EQ(e.GetFillBitmap()->Image().pixel(0, 0), qRgba(0x33, 0x22, 0x11, 0x44));
         }},
        {"solid", "02000000 02000000 80000000 00FF0000",
         [](const CClosedCurveElement& e) {
             EXPECT_EQ(e.GetFillKind(), FILL_SOLID);
             EXPECT_EQ(e.GetFillMode(), FILL_MODE_WINDING);
             EXPECT_EQ(e.GetFillAlpha(), 128);
             EXPECT_EQ(e.GetStartColor(), RGB(0, 255, 0));
         }},
        {"linear",
         "03000000 01000000 FF000000 0000000000003E40 FF000000 0000FF00"
         "64000000 C8000000 84030000 20030000 000000000000D03F 000000000000E83F 01000000",
         [](const CClosedCurveElement& e) {
             EXPECT_EQ(e.GetFillKind(), FILL_LINEAR);
             // Angle and second blend position are kept though not painted.
             EXPECT_DOUBLE_EQ(e.GetFillAngle(), 30.0);
             EXPECT_EQ(e.GetStartColor(), RGB(255, 0, 0));
             EXPECT_EQ(e.GetEndColor(), RGB(0, 0, 255));
             EXPECT_EQ(e.GetGradientStart(), kGradientStart);
             EXPECT_EQ(e.GetGradientEnd(), kGradientEnd);
             EXPECT_DOUBLE_EQ(e.GetBlendPosition(), 0.25);
             EXPECT_DOUBLE_EQ(e.GetSecondBlendPosition(), 0.75);
             EXPECT_EQ(e.GetGammaCorrection(), 1);
         }},
        {"circular",
         "04000000 01000000 FF000000 FF000000 64000000 C8000000 00FF0000 F4010000 F4010000"
         "000000000000E03F 9A9999999999C93F 00000000",
         [](const CClosedCurveElement& e) {
             EXPECT_EQ(e.GetFillKind(), FILL_CIRCULAR);
             EXPECT_EQ(e.GetStartColor(), RGB(255, 0, 0));
             EXPECT_EQ(e.GetGradientStart(), kGradientStart);
             EXPECT_EQ(e.GetCenterColor(), RGB(0, 255, 0));
             EXPECT_EQ(e.GetGradientCenter(), kCentre);
             EXPECT_DOUBLE_EQ(e.GetBlendPosition(), 0.5);
             EXPECT_DOUBLE_EQ(e.GetSecondBlendPosition(), 0.2);
             EXPECT_EQ(e.GetGammaCorrection(), 0);
         }},
        {"conical",
         "05000000 01000000 FF000000 0000000000805640 FF000000 0000FF00"
         "64000000 C8000000 84030000 20030000 F4010000 F4010000 000000000000E03F",
         [](const CClosedCurveElement& e) {
             EXPECT_EQ(e.GetFillKind(), FILL_CONICAL);
             EXPECT_DOUBLE_EQ(e.GetFillAngle(), 90.0);
             EXPECT_EQ(e.GetStartColor(), RGB(255, 0, 0));
             EXPECT_EQ(e.GetEndColor(), RGB(0, 0, 255));
             EXPECT_EQ(e.GetGradientStart(), kGradientStart);
             EXPECT_EQ(e.GetGradientEnd(), kGradientEnd);
             EXPECT_EQ(e.GetGradientCenter(), kCentre);
             EXPECT_DOUBLE_EQ(e.GetBlendPosition(), 0.5);
         }},
        {"square",
         "06000000 02000000 40000000 0000000000804640 FF000000 64000000 C8000000 00FF0000"
         "F4010000 F4010000 000000000000E03F 9A9999999999C93F 01000000",
         [](const CClosedCurveElement& e) {
             EXPECT_EQ(e.GetFillKind(), FILL_SQUARE);
             EXPECT_EQ(e.GetFillAlpha(), 0x40);
             EXPECT_DOUBLE_EQ(e.GetFillAngle(), 45.0);
             EXPECT_EQ(e.GetStartColor(), RGB(255, 0, 0));
             EXPECT_EQ(e.GetGradientStart(), kGradientStart);
             EXPECT_EQ(e.GetCenterColor(), RGB(0, 255, 0));
             EXPECT_EQ(e.GetGradientCenter(), kCentre);
             EXPECT_DOUBLE_EQ(e.GetBlendPosition(), 0.5);
             EXPECT_DOUBLE_EQ(e.GetSecondBlendPosition(), 0.2);
             EXPECT_EQ(e.GetGammaCorrection(), 1);
         }},
        {"line fill", std::string("07000000 01000000 FF000000") + kSideLineStyle,
         [](const CClosedCurveElement& e) {
             EXPECT_EQ(e.GetFillKind(), FILL_LINES);
             const CFillStyle style = e.GetLineFillStyle();
             EXPECT_EQ(style.GetLineAttr().GetKind(), LINE_SIDE_PLUS);
             EXPECT_EQ(style.GetLineAttr().GetParam(1), 100);
             EXPECT_EQ(style.GetOrigin(), CPoint(50, -20));
             EXPECT_EQ(style.GetColor(), RGB(0, 0, 255));
             EXPECT_DOUBLE_EQ(style.GetAngle(), 45.0);
             EXPECT_EQ(style.GetSpacing(), 150);
         }},
        {"unknown kind ends after the alpha", "09000000 01000000 FF000000",
         [](const CClosedCurveElement& e) { EXPECT_EQ(e.GetFillKind(), 9); }},
    };
}

class ClosedCurveTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        set.AppendPage();
        page = set.GetPageAt(0);
    }

    // Corner nodes on new points of the page.
    static CCurveNodeList NodesOn(CPage* on, std::initializer_list<CPoint> points)
    {
        CCurveNodeList nodes;
        for (const CPoint& p : points) {
            auto* point = new CSharedPoint(on, p.x, p.y);
            on->AddPoint(point);
            nodes.AddTail(new CCurveNode(point, NODE_CORNER));
        }
        return nodes;
    }
    CCurveNodeList Square(CPage* on = nullptr, int size = 1000)
    {
        return NodesOn(on ? on : page, {{0, 0}, {size, 0}, {size, size}, {0, size}});
    }
    // The square's points alone, for records whose nodes name them.
    void SquarePoints(CPage* on = nullptr)
    {
        for (CCurveNode* node : Square(on)) delete node;
    }

    template <class... Fill>
    CClosedCurveElement* Make(CCurveNodeList nodes, const CLineAttr& line, Fill&&... fill)
    {
        auto* e = new CClosedCurveElement(page, 0, line, RGB(255, 0, 0), nodes, nullptr,
                                          std::forward<Fill>(fill)...);
        page->AddElement(e);
        return e;
    }
    CClosedCurveElement* Load(CPage* on, const std::string& body)
    {
        auto* e = new CClosedCurveElement(on, 0);
        on->AddElement(e);
        CArchive ar(body);
        EXPECT_EQ(e->Load(ar), 1);
        EXPECT_EQ(ar.BytesLeft(), 0u);
        return e;
    }
    static std::string Store(const CGraphElement& e)
    {
        CArchive ar;
        EXPECT_EQ(e.Store(ar), 1);
        return ar.Buffer();
    }
    CClosedCurveElement* LineFilled(CCurveNodeList nodes, double angle, CPoint origin,
                                    int spacing, const CLineAttr& line = CLineAttr(10))
    {
        CFillStyle style;
        style.SetLineAttr(line);
        style.SetAngle(angle);
        style.SetOrigin(origin.x, origin.y);
        style.SetSpacing(spacing);
        return Make(std::move(nodes), CLineAttr(10), style);
    }
    static std::vector<CLineTypeShape> FillLines(CClosedCurveElement& e)
    {
        CLineTypeShapeList shapes;
        e.GetFillLineShapes(shapes);
        return std::vector<CLineTypeShape>(shapes.begin(), shapes.end());
    }
    static std::vector<CLineTypeShape> LineShapes(CClosedCurveElement& e)
    {
        CLineTypeShapeList shapes;
        e.GetLineShapes(shapes);
        return std::vector<CLineTypeShape>(shapes.begin(), shapes.end());
    }

    CPageSet set{107, 100};
    CPage* page = nullptr;
};

// ---------------------------------------------------------------------------
// Records

TEST_F(ClosedCurveTest, EveryFillKindReadsAndWritesItsRecord)
{
    for (const FillRecord& r : FillRecords()) {
        SCOPED_TRACE(r.name);
        SquarePoints();
        const std::string fill = HexBytes(r.hex.c_str());
        CClosedCurveElement* e = Load(page, HexBytes(kSquareBody107) + fill);
        EXPECT_TRUE(e->IsClosed());
        EXPECT_EQ(e->GetColor(), RGB(255, 0, 0));
        EXPECT_EQ(e->GetNodeCount(), 4);
        r.check(*e);
        EXPECT_EQ(Store(*e), HexBytes(kCurveHeader) + HexBytes(kSquareBody107) + fill);
        page->RemoveElement(e);
        delete e;
    }
}

TEST_F(ClosedCurveTest, OlderCurveRecordsCarryTheSameFillRecord)
{
    CPageSet old(104, 100);
    old.AppendPage();
    CPage* oldPage = old.GetPageAt(0);
    SquarePoints(oldPage);
    const FillRecord circular = FillRecords()[4];
    CClosedCurveElement* e = Load(oldPage, HexBytes(kSquareBody104) + HexBytes(circular.hex.c_str()));
    circular.check(*e);
    // Written again at the current version, with the bounds.
    EXPECT_EQ(Store(*e), HexBytes(kCurveHeader) + HexBytes(kSquareBody107)
                             + HexBytes(circular.hex.c_str()));
}

TEST_F(ClosedCurveTest, BitmapFillWithoutBitmapStoresAnEmptyBlockThatReadsBack)
{
    CClosedCurveElement* e = Make(Square(), CLineAttr(10));
    e->SetFillKind(FILL_BITMAP);
    e->SetFillAngle(30.0);
    e->SetBitmapFillValue(1.5);
    e->SetBitmapTileSize(200, 300);
    e->SetBitmapCenter(500, 500);
    ASSERT_EQ(e->GetFillBitmap(), nullptr);
    const std::string fill = HexBytes(
        "01000000 01000000 FF000000 0000000000003E40 000000000000F83F"
        "C8000000 2C010000 F4010000 F4010000")
        + HexBytes(kEmptyPixelBlock);
    const std::string record = Store(*e);
    EXPECT_EQ(record, HexBytes(kCurveHeader) + HexBytes(kSquareBody107) + fill);

    CClosedCurveElement* loaded = Load(page, record.substr(12));
    EXPECT_EQ(loaded->GetFillKind(), FILL_BITMAP);
    EXPECT_EQ(loaded->GetFillBitmap(), nullptr);
    EXPECT_EQ(loaded->GetBitmapTileSize(), CSize(200, 300));
}

TEST_F(ClosedCurveTest, LoadingABitmapFillReplacesTheOldBitmap)
{
    SquarePoints();
    CClosedCurveElement* e = new CClosedCurveElement(page, 0);
    page->AddElement(e);
    QImage old(3, 3, QImage::Format_ARGB32);
    old.fill(Qt::red);
    e->SetFillBitmap(old);
    CArchive ar(HexBytes(kSquareBody107) + HexBytes(FillRecords()[1].hex.c_str()));
    e->Load(ar);
    ASSERT_NE(e->GetFillBitmap(), nullptr);
    EXPECT_EQ(e->GetFillBitmap()->GetSize(), CSize(1, 1));
}

TEST_F(ClosedCurveTest, ShortFillRecordsAreRefused)
{
    for (const FillRecord& r : FillRecords()) {
        SCOPED_TRACE(r.name);
        const std::string body = HexBytes(kSquareBody107);
        const std::string whole = body + HexBytes(r.hex.c_str());
        for (std::size_t size = body.size(); size < whole.size(); ++size) {
            SquarePoints();
            auto* e = new CClosedCurveElement(page, 0);
            page->AddElement(e);
            CArchive ar(whole.substr(0, size));
            EXPECT_THROW(e->Load(ar), CArchiveError) << "cut after " << size << " bytes";
        }
    }
}

TEST_F(ClosedCurveTest, DamagedPixelBlocksAreRefused)
{
    const char* const blocks[] = {
        // Stride below four bytes a pixel.
        "02000000 01000000 0A202600 02000000 01000000 04000000 0A202600 00000000",
        // Rows beyond the bytes left.
        "01000000 01000000 0A202600 01000000 00100000 04000000 0A202600 00000000",
        // A huge width.
        "FFFFFF7F 01000000 0A202600 FFFFFF7F 01000000 FCFFFFFF 0A202600",
    };
    for (const char* block : blocks) {
        SCOPED_TRACE(block);
        SquarePoints();
        auto* e = new CClosedCurveElement(page, 0);
        page->AddElement(e);
        CArchive ar(HexBytes(kSquareBody107)
                    + HexBytes("01000000 01000000 FF000000 0000000000003E40 000000000000F83F"
                               "C8000000 2C010000 F4010000 F4010000")
                    + HexBytes(block));
        EXPECT_THROW(e->Load(ar), CArchiveError);
    }
}

TEST_F(ClosedCurveTest, LibraryRecordNamesPointsByTheirPlaceInTheGivenList)
{
    CClosedCurveElement* e = Make(Square(), CLineAttr(10), RGB(0, 255, 0));
    e->SetFillAlpha(128);
    e->SetFillMode(FILL_MODE_WINDING);
    // The library lists the points in its own order; one node's point is
    // missing from it and is named by the list's size.
    CList<CSharedPoint*> points;
    for (CSharedPoint* p : page->Points()) points.AddHead(p);
    points.RemoveHead();

    CArchive ar;
    EXPECT_EQ(e->StoreForLibrary(ar, points), 1);
    const std::string fill = HexBytes(FillRecords()[2].hex.c_str());
    EXPECT_EQ(ar.Buffer(), HexBytes("01000000 01000000 00000000"
                                    "00000000 0A000000 FF000000 04000000"
                                    "02000000 00000000 01000000 00000000"
                                    "00000000 00000000 03000000 00000000")
                               + fill);
}

TEST_F(ClosedCurveTest, LibraryRecordOfAnOlderLibraryHasNoLevel)
{
    SquarePoints();
    std::vector<CSharedPoint*> points(page->Points().begin(), page->Points().end());
    auto* e = new CClosedCurveElement(page, 0);
    page->AddElement(e);
    const std::string fill = HexBytes(FillRecords()[3].hex.c_str());
    CArchive ar(HexBytes("00000000 0A000000 FF000000 04000000"
                         "03000000 00000000 02000000 01000000"
                         "01000000 00000000 00000000 00000000")
                + fill);
    EXPECT_EQ(e->LoadFromLibrary(ar, points, 104), 1);
    EXPECT_EQ(ar.BytesLeft(), 0u);
    EXPECT_EQ(e->GetNodeAt(0)->GetPosition(), CPoint(0, 1000));
    EXPECT_EQ(e->GetNodeAt(1)->GetKind(), NODE_SMOOTH);
    FillRecords()[3].check(*e);

    // A newer library carries the level, which raises the page's.
    auto* raised = new CClosedCurveElement(page, 0);
    page->AddElement(raised);
    CArchive withLevel(HexBytes("07000000 00000000 0A000000 FF000000 01000000 00000000 00000000")
                       + HexBytes(FillRecords()[0].hex.c_str()));
    raised->LoadFromLibrary(withLevel, points, 107);
    EXPECT_EQ(raised->GetLevel(), 7);
    EXPECT_EQ(page->GetMaxLevel(), 7);
}

// ---------------------------------------------------------------------------
// Construction and copies

TEST_F(ClosedCurveTest, ConstructorsSetUpTheirFill)
{
    CClosedCurveElement* none = Make(Square(), CLineAttr(10));
    EXPECT_EQ(none->GetFillKind(), FILL_NONE);
    EXPECT_EQ(none->GetFillMode(), FILL_MODE_ALTERNATE);
    EXPECT_EQ(none->GetFillAlpha(), 255);
    EXPECT_TRUE(none->IsClosed());
    EXPECT_EQ(none->GetFillBitmap(), nullptr);

    CClosedCurveElement* solid = Make(Square(), CLineAttr(10), RGB(1, 2, 3));
    EXPECT_EQ(solid->GetFillKind(), FILL_SOLID);
    EXPECT_EQ(solid->GetStartColor(), RGB(1, 2, 3));

    CClosedCurveElement* square = Make(Square(), CLineAttr(10), FILL_SQUARE, RGB(1, 0, 0),
                                       RGB(2, 0, 0), kGradientStart, kGradientEnd, 0.4, 0.1,
                                       kCentre, RGB(3, 0, 0), 15.0, 1);
    EXPECT_EQ(square->GetFillKind(), FILL_SQUARE);
    COLORREF start = 0, end = 0;
    square->GetGradientColors(start, end);
    EXPECT_EQ(start, RGB(1, 0, 0));
    EXPECT_EQ(end, RGB(2, 0, 0));
    CPoint from, to;
    square->GetGradientPoints(from, to);
    EXPECT_EQ(from, kGradientStart);
    EXPECT_EQ(to, kGradientEnd);
    EXPECT_DOUBLE_EQ(square->GetBlendPosition(), 0.4);
    EXPECT_DOUBLE_EQ(square->GetSecondBlendPosition(), 0.1);
    EXPECT_EQ(square->GetGradientCenter(), kCentre);
    EXPECT_EQ(square->GetCenterColor(), RGB(3, 0, 0));
    EXPECT_DOUBLE_EQ(square->GetFillAngle(), 15.0);
    EXPECT_EQ(square->GetGammaCorrection(), 1);

    QImage texture(4, 2, QImage::Format_RGB32);
    texture.fill(Qt::blue);
    CClosedCurveElement* bitmap = Make(Square(), CLineAttr(10), texture, CSize(40, 20),
                                       CPoint(7, 8), 2.5, 30.0);
    EXPECT_EQ(bitmap->GetFillKind(), FILL_BITMAP);
    ASSERT_NE(bitmap->GetFillBitmap(), nullptr);
    EXPECT_EQ(bitmap->GetFillBitmap()->GetSize(), CSize(4, 2));
    EXPECT_EQ(bitmap->GetBitmapTileSize(), CSize(40, 20));
    EXPECT_EQ(bitmap->GetBitmapCenter(), CPoint(7, 8));
    EXPECT_DOUBLE_EQ(bitmap->GetBitmapFillValue(), 2.5);
    EXPECT_DOUBLE_EQ(bitmap->GetFillAngle(), 30.0);

    CFillStyle style;
    style.SetSpacing(77);
    CClosedCurveElement* lines = Make(Square(), CLineAttr(10), style);
    EXPECT_EQ(lines->GetFillKind(), FILL_LINES);
    EXPECT_EQ(lines->GetLineFillSpacing(), 77);
}

TEST_F(ClosedCurveTest, CopyTakesOnlyTheFieldsOfTheFillKind)
{
    CClosedCurveElement* source = Make(Square(), CLineAttr::Dashed(10), FILL_LINEAR,
                                       RGB(1, 0, 0), RGB(2, 0, 0), kGradientStart, kGradientEnd,
                                       0.3, 0.6, kCentre, RGB(3, 0, 0), 12.0, 1);
    source->SetFillAlpha(99);

    set.AppendPage();
    CPage* other = set.GetPageAt(1);
    SquarePoints(other);
    auto* copy = new CClosedCurveElement(other, 0);
    other->AddElement(copy);
    copy->SetCenterColor(RGB(9, 9, 9));
    copy->SetGradientCenter(1, 2);
    copy->CopyFrom(*source);

    EXPECT_EQ(copy->GetLineAttr(), CLineAttr::Dashed(10));
    EXPECT_EQ(copy->GetNodeCount(), 4);
    EXPECT_EQ(copy->GetFillKind(), FILL_LINEAR);
    EXPECT_EQ(copy->GetFillAlpha(), 99);
    EXPECT_DOUBLE_EQ(copy->GetFillAngle(), 12.0);
    EXPECT_EQ(copy->GetStartColor(), RGB(1, 0, 0));
    EXPECT_EQ(copy->GetEndColor(), RGB(2, 0, 0));
    EXPECT_EQ(copy->GetGradientStart(), kGradientStart);
    EXPECT_EQ(copy->GetGradientEnd(), kGradientEnd);
    EXPECT_DOUBLE_EQ(copy->GetBlendPosition(), 0.3);
    EXPECT_DOUBLE_EQ(copy->GetSecondBlendPosition(), 0.6);
    EXPECT_EQ(copy->GetGammaCorrection(), 1);
    // Fields of other kinds keep what they held.
    EXPECT_EQ(copy->GetCenterColor(), RGB(9, 9, 9));
    EXPECT_EQ(copy->GetGradientCenter(), CPoint(1, 2));
    // The copy writes the same record.
    EXPECT_EQ(Store(*copy), Store(*source));
}

TEST_F(ClosedCurveTest, CopiedBitmapBelongsToTheCopy)
{
    QImage texture(2, 2, QImage::Format_ARGB32);
    texture.fill(Qt::green);
    CClosedCurveElement* source = Make(Square(), CLineAttr(10), texture, CSize(100, 100),
                                       CPoint(0, 0), 0.0, 0.0);
    auto* copy = new CClosedCurveElement(page, 0);
    page->AddElement(copy);
    copy->CopyFrom(*source);
    ASSERT_NE(copy->GetFillBitmap(), nullptr);
    EXPECT_NE(copy->GetFillBitmap(), source->GetFillBitmap());
    EXPECT_NE(copy->GetFillBitmap()->Image().constBits(), source->GetFillBitmap()->Image().constBits());

    texture.fill(Qt::red);
    source->SetFillBitmap(texture);
    EXPECT_EQ(copy->GetFillBitmap()->Image().pixel(0, 0), qRgb(0, 255, 0));

    // A source without a bitmap leaves the copy without one.
    source->SetFillBitmap(QImage());
    EXPECT_EQ(source->GetFillBitmap(), nullptr);
    copy->CopyFrom(*source);
    EXPECT_EQ(copy->GetFillBitmap(), nullptr);
}

TEST_F(ClosedCurveTest, FillBitmapFromAFile)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QImage picture(3, 2, QImage::Format_ARGB32);
    picture.fill(Qt::blue);
    ASSERT_TRUE(picture.save(dir.filePath("tile.png")));

    CClosedCurveElement* e = Make(Square(), CLineAttr(10));
    e->GetBoundRect();
    EXPECT_EQ(e->LoadFillBitmap(dir.filePath("tile.png")), 1);
    EXPECT_TRUE(e->IsBoundsDirty());
    ASSERT_NE(e->GetFillBitmap(), nullptr);
    EXPECT_EQ(e->GetFillBitmap()->GetSize(), CSize(3, 2));

}

TEST_F(ClosedCurveTest, AFillBitmapThatCannotBeReadKeepsTheOldOne)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QImage picture(3, 2, QImage::Format_ARGB32);
    picture.fill(Qt::blue);
    ASSERT_TRUE(picture.save(dir.filePath("tile.png")));
    // Wider than a stored pixel block may be: the document could not be
    // opened again once saved.
    QImage wide(33000, 4, QImage::Format_RGB32);
    wide.fill(Qt::red);
    ASSERT_TRUE(wide.save(dir.filePath("wide.png")));
    QFile text(dir.filePath("text.png"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("not a picture");
    text.close();

    CClosedCurveElement* e = Make(Square(), CLineAttr(10));
    ASSERT_EQ(e->LoadFillBitmap(dir.filePath("tile.png")), 1);
    for (const char* name : {"none.png", "wide.png", "text.png", ""}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(e->LoadFillBitmap(*name ? dir.filePath(name) : QString()), 0);
        ASSERT_NE(e->GetFillBitmap(), nullptr);
        EXPECT_EQ(e->GetFillBitmap()->GetSize(), CSize(3, 2));
        EXPECT_EQ(e->GetFillBitmap()->Image().pixel(1, 1), qRgb(0, 0, 255));
    }

    // A bitmap handed over directly has the same limit.
    EXPECT_EQ(e->SetFillBitmap(wide), 0);
    EXPECT_EQ(e->GetFillBitmap(), nullptr);
}

TEST_F(ClosedCurveTest, FillBitmapsAreReadLikePictures)
{
    // Metafiles too, played into pixels as for a picture element.
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QFile file(dir.filePath("green.wmf"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    const std::string wmf = OneColourWmf(RGB(0, 255, 0));
    file.write(wmf.data(), qint64(wmf.size()));
    file.close();

    CClosedCurveElement* e = Make(Square(), CLineAttr(10));
    ASSERT_EQ(e->LoadFillBitmap(dir.filePath("green.wmf")), 1);
    ASSERT_NE(e->GetFillBitmap(), nullptr);
    EXPECT_EQ(e->GetFillBitmap()->GetSize(), CSize(64, 32));
    EXPECT_EQ(QColor(e->GetFillBitmap()->Image().pixel(30, 15)), QColor(0, 255, 0));
}

// ---------------------------------------------------------------------------
// Outline geometry

TEST_F(ClosedCurveTest, ShortOrFinePatternsAreDrawnAsOnePlainLine)
{
    struct Case {
        const char* name;
        int size;
        CLineAttr line;
    };
    const Case cases[] = {
        {"outline shorter than a millimetre", 20, CLineAttr::Dashed(10)},
        {"period of one millimetre", 1000, CLineAttr::Dashed(5)},
        {"line kind this program does not know", 1000, [] {
             CLineAttr l(10);
             l.SetKind(12);
             return l;
         }()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CClosedCurveElement* e = Make(Square(nullptr, c.size), c.line);
        const auto shapes = LineShapes(*e);
        ASSERT_EQ(shapes.size(), 1u);
        EXPECT_EQ(shapes[0].GetPenWidth(), c.line.GetWidth());
        EXPECT_FALSE(shapes[0].IsFilled());
        EXPECT_EQ(shapes[0].GetPointCount(), 5);
    }
}

TEST_F(ClosedCurveTest, DashedOutlineHoldsWholePeriods)
{
    // Perimeter 4000, period 200: twenty dashes.
    CClosedCurveElement* e = Make(Square(), CLineAttr::Dashed(10));
    EXPECT_EQ(LineShapes(*e).size(), 20u);
}

TEST_F(ClosedCurveTest, DoubleLineIsTwoOffsetOutlinesAroundADashedCentre)
{
    CClosedCurveElement* e = Make(Square(), CLineAttr::SideLines(LINE_DOUBLE, 10));
    const auto shapes = LineShapes(*e);
    ASSERT_GE(shapes.size(), 3u);
    EXPECT_EQ(shapes.front().GetBoundRect(), CRect(-100, -100, 1101, 1101));
    EXPECT_EQ(shapes.front().GetPenWidth(), 10);
    EXPECT_EQ(shapes.back().GetBoundRect(), CRect(100, 100, 901, 901));
    for (std::size_t i = 1; i + 1 < shapes.size(); ++i) EXPECT_EQ(shapes[i].GetPenWidth(), 10);
}

TEST_F(ClosedCurveTest, SideLinesFollowTheMainOutline)
{
    CClosedCurveElement* e = Make(Square(), CLineAttr::SideLines(LINE_SIDE_PLUS, 10));
    const auto shapes = LineShapes(*e);
    ASSERT_GE(shapes.size(), 2u);
    EXPECT_EQ(shapes.front().GetBoundRect(), CRect(0, 0, 1001, 1001));
    CRect sides;
    for (std::size_t i = 1; i < shapes.size(); ++i) sides.UnionRect(sides, shapes[i].GetBoundRect());
    EXPECT_EQ(sides, CRect(-100, -100, 1101, 1101));
}

// ---------------------------------------------------------------------------
// Line fill

TEST_F(ClosedCurveTest, HorizontalFillLinesRunThroughTheOrigin)
{
    CClosedCurveElement* e = LineFilled(Square(), 0.0, CPoint(0, 50), 100);
    const auto lines = FillLines(*e);
    ASSERT_EQ(lines.size(), 10u);
    // The family is walked by its line constant, -y here: bottom line first.
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const int y = 950 - 100 * int(i);
        EXPECT_EQ(lines[i].GetPoints().GetHead(), CPoint(0, y));
        EXPECT_EQ(lines[i].GetPoints().GetTail(), CPoint(1000, y));
        EXPECT_EQ(lines[i].GetPenWidth(), 10);
    }
}

TEST_F(ClosedCurveTest, FillLinesTurnWithTheAngle)
{
    CClosedCurveElement* e = LineFilled(Square(), 90.0, CPoint(333, 0), 100);
    const auto lines = FillLines(*e);
    ASSERT_EQ(lines.size(), 10u);
    bool throughOrigin = false;
    for (const CLineTypeShape& line : lines) {
        const CRect r = line.GetBoundRect();
        EXPECT_EQ(r.Width(), 1);
        EXPECT_EQ(r.top, 0);
        EXPECT_EQ(r.bottom, 1001);
        EXPECT_EQ((r.left - 33) % 100, 0);
        throughOrigin = throughOrigin || r.left == 333;
    }
    EXPECT_TRUE(throughOrigin);
}

TEST_F(ClosedCurveTest, ConcaveOutlineLeavesTheOutsideStretchOut)
{
    // A U: the slot from x 300 to 700 is open from y 0 to 700.
    CClosedCurveElement* e = LineFilled(
        NodesOn(page, {{0, 0}, {300, 0}, {300, 700}, {700, 700}, {700, 0}, {1000, 0},
                       {1000, 1000}, {0, 1000}}),
        0.0, CPoint(0, 350), 400);
    const auto lines = FillLines(*e);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].GetBoundRect(), CRect(0, 750, 1001, 751));
    EXPECT_EQ(lines[1].GetBoundRect(), CRect(0, 350, 301, 351));
    EXPECT_EQ(lines[2].GetBoundRect(), CRect(700, 350, 1001, 351));
}

TEST_F(ClosedCurveTest, StretchesAreLaidOutInTheStyleLineKind)
{
    CClosedCurveElement* e = LineFilled(Square(), 0.0, CPoint(0, 500), 2000, CLineAttr::Dashed(10));
    // One line across, 1000 long with dashes of 100 and gaps of 100: five
    // periods and a closing dash.
    const auto lines = FillLines(*e);
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines.front().GetPoints().GetHead(), CPoint(0, 500));
    EXPECT_EQ(lines.back().GetPoints().GetTail(), CPoint(1000, 500));
}

TEST_F(ClosedCurveTest, LineOnlyTouchingTheOutlineDrawsNothing)
{
    // A diamond whose top corner lies on the line through the origin.
    CClosedCurveElement* e = LineFilled(
        NodesOn(page, {{500, 0}, {1000, 500}, {500, 1000}, {0, 500}}), 0.0, CPoint(0, 0), 250);
    for (const CLineTypeShape& line : FillLines(*e)) {
        const CRect r = line.GetBoundRect();
        EXPECT_GT(r.Width(), 1) << r.top;
        EXPECT_NE(r.top, 0);
        EXPECT_NE(r.top, 1000);
    }
    EXPECT_EQ(FillLines(*e).size(), 3u);
}

TEST_F(ClosedCurveTest, LineFillsThatCannotAdvanceMakeNoLines)
{
    struct Case {
        const char* name;
        double angle;
        int spacing;
        int size;
    };
    const Case cases[] = {
        {"spacing zero", 0.0, 0, 1000},
        {"negative spacing", 30.0, -5, 1000},
        {"angle not a number", std::numeric_limits<double>::quiet_NaN(), 100, 1000},
        {"infinite angle", std::numeric_limits<double>::infinity(), 100, 1000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CClosedCurveElement* e = LineFilled(Square(nullptr, c.size), c.angle, CPoint(0, 0), c.spacing);
        EXPECT_TRUE(FillLines(*e).empty());
    }
}

// A dense outline (a circle of 4,000 corners) with one node ten metres
// away, as a damaged document may hold: the fill's 10,000 lines each meet
// only the edges that reach them, not all 4,000, so laying them out costs
// what they draw. Looking at every edge for every line, as the layout once
// did, is 40 million edge tests here; farther nodes froze the opening for
// many seconds. The lines inside the circle are those the circle alone
// has.
TEST_F(ClosedCurveTest, LineFillOfAnOutlineWithAFarNodeCostsWhatItDraws)
{
    std::vector<CPoint> corners;
    for (int i = 0; i < 4000; ++i) {
        const double t = 2.0 * 3.14159265358979 * i / 4000;
        corners.emplace_back(1000 + int(std::lround(900 * std::cos(t))), 1000 + int(std::lround(900 * std::sin(t))));
    }
    CCurveNodeList nodes;
    auto addNode = [&](const CPoint& p) {
        auto* point = new CSharedPoint(page, p.x, p.y);
        page->AddPoint(point);
        nodes.AddTail(new CCurveNode(point, NODE_CORNER));
    };
    for (std::size_t i = 0; i < corners.size(); ++i) {
        addNode(corners[i]);
        if (i == 1000) addNode(CPoint(1000000, 1000000));
    }
    CClosedCurveElement* e = LineFilled(std::move(nodes), 0.0, CPoint(0, 50), 100);
    EXPECT_EQ(e->GetLineFillStride(), 1);
    EXPECT_LT(e->GetLineFillWork(), 300000);

    // Rows 150 to 1850 cross the circle from side to side; the far node's
    // thin spike, leaving from the circle's bottom, holds the rows below.
    std::map<int, std::pair<int, int>> rows;
    for (const CLineTypeShape& line : FillLines(*e)) {
        const CRect r = line.GetBoundRect();
        if (r.top >= 1900) continue;
        auto& span = rows.try_emplace(r.top, r.left, r.right).first->second;
        span = {std::min(span.first, r.left), std::max(span.second, r.right)};
    }
    ASSERT_EQ(rows.size(), 18u);
    for (const auto& [y, span] : rows) {
        EXPECT_EQ((y - 50) % 100, 0) << y;
        const double half = std::sqrt(900.0 * 900.0 - double(y - 1000) * (y - 1000));
        EXPECT_NEAR(span.first, 1000 - half, 2) << y;
        EXPECT_NEAR(span.second, 1000 + half, 2) << y;
    }

    // It paints: the line through the circle's middle row shows.
    QImage image(200, 200, QImage::Format_ARGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        CDC dc(&painter);
        e->Draw(&dc, 10.0, 0, 0, CRect(0, 0, 200, 200));
    }
    EXPECT_NE(image.pixel(60, 105), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(60, 110), qRgb(255, 255, 255));
}

// An outline built to make the inside tests costly: a comb of 10,000 tall
// teeth under vertical fill lines. Each line meets two edges, but the
// middle of each stretch inside a tooth lies on a row crossing all 20,000
// tooth sides. Past the budget of edges no more lines are laid out, so
// even such an outline costs a bounded amount.
TEST_F(ClosedCurveTest, LineFillWorkStaysWithinItsBudgetWhateverTheOutline)
{
    constexpr int kTeeth = 10000;
    constexpr int kTooth = 20;
    constexpr int kTall = 1000000;
    CCurveNodeList nodes;
    auto addNode = [&](int x, int y) {
        auto* point = new CSharedPoint(page, x, y);
        page->AddPoint(point);
        nodes.AddTail(new CCurveNode(point, NODE_CORNER));
    };
    for (int t = 0; t < kTeeth; ++t) {
        const int left = 2 * kTooth * t;
        addNode(left, 0);
        addNode(left + kTooth, 0);
        addNode(left + kTooth, kTall);
        addNode(left + 2 * kTooth, kTall);
    }
    addNode(2 * kTooth * kTeeth, kTall + 100);
    addNode(0, kTall + 100);
    CClosedCurveElement* e = LineFilled(std::move(nodes), 90.0, CPoint(kTooth / 2, 0), kTooth);
    const long long work = e->GetLineFillWork();
    EXPECT_GE(work, CClosedCurveElement::kMaxFillLineWork);
    // One line more at most, its edges and its stretch's row.
    EXPECT_LT(work, CClosedCurveElement::kMaxFillLineWork + 200000);
    const std::size_t lines = FillLines(*e).size();
    EXPECT_GT(lines, 1000u);
    EXPECT_LT(lines, std::size_t(kTeeth));
}

TEST_F(ClosedCurveTest, DenseLineFillsKeepEveryNthLineThroughTheOrigin)
{
    // A hundred million lines one unit apart over a square of a kilometre:
    // too many to lay out, so only every n-th is drawn, still through the
    // origin, and the area stays filled from edge to edge.
    CClosedCurveElement* e = LineFilled(Square(nullptr, 100000000), 0.0, CPoint(0, 7), 1);
    const int stride = e->GetLineFillStride();
    EXPECT_GE(stride, 5000);
    EXPECT_LE(stride, 5001);
    const std::vector<CLineTypeShape> lines = FillLines(*e);
    EXPECT_GE(lines.size(), std::size_t(CClosedCurveElement::kMaxFillLines - 10));
    EXPECT_LE(lines.size(), std::size_t(CClosedCurveElement::kMaxFillLines + 1));
    std::vector<int> rows;
    for (const CLineTypeShape& line : lines) {
        const CPointList& points = line.GetPoints();
        ASSERT_FALSE(points.IsEmpty());
        rows.push_back(points.GetHead().y);
    }
    std::sort(rows.begin(), rows.end());
    EXPECT_EQ(rows.front(), 7);
    EXPECT_EQ(rows[1] - rows[0], stride);
    EXPECT_GT(rows.back(), 100000000 - stride);

    // A family that fits is drawn whole.
    e->SetLineFillSpacing(10000);
    EXPECT_EQ(e->GetLineFillStride(), 1);
    EXPECT_EQ(FillLines(*e).size(), 10000u);
    CClosedCurveElement* small = LineFilled(Square(), 0.0, CPoint(0, 0), 100);
    EXPECT_EQ(small->GetLineFillStride(), 1);
}

// A line fill painted in parts (tiles of the view, as partial repaints
// paint it) shows in each part exactly what the whole fill shows there,
// pixel for pixel: printed, against every piece of the fill laid out over
// the whole outline; on the screen, against one paint of the whole view.
// Each paint lays out only the lines and stretches that reach its clip,
// and a piece reaching into it from a stretch outside must not be lost.
TEST_F(ClosedCurveTest, ALineFillPaintedInPartsShowsWhatItShowsPaintedWhole)
{
    constexpr double kScale = 20.0;
    constexpr int kSide = 240;
    constexpr int kTile = 80;
    struct Case {
        const char* name;
        std::vector<CPoint> corners;
        CLineAttr line;
        double angle;
        int spacing;
    };
    std::vector<CPoint> star;
    for (int i = 0; i < 14; ++i) {
        const double t = 3.14159265358979 * i / 7.0;
        const double r = i % 2 ? 900.0 : 2300.0;
        star.emplace_back(2400 + int(std::lround(r * std::cos(t))), 2400 + int(std::lround(r * std::sin(t))));
    }
    // The lines along its spike run up to 20 m, far past the view.
    std::vector<CPoint> spike = {{300, 300}, {4500, 500}, {2000000, 1000000}, {4200, 4400}, {600, 4000}};
    const Case cases[] = {
        {"dashed lines across a star", star, CLineAttr::Dashed(10), 30.0, 120},
        {"side lines reaching past their stretch", star, CLineAttr::SideLines(LINE_SIDE_BOTH, 12), 100.0, 260},
        {"double lines", star, CLineAttr(LINE_DOUBLE, 20, 0, 0), 0.0, 400},
        {"lines along a spike to a node 20 m away", spike, CLineAttr(30), 26.0, 120},
    };
    // The element painted for the clip (which is all that counts of it).
    auto paint = [](CClosedCurveElement& e, bool printing, const QRect& clip) {
        QImage image(kSide, kSide, QImage::Format_ARGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        CDC dc(&painter, printing);
        e.Draw(&dc, kScale, 0, 0, CRect(clip.left(), clip.top(), clip.right() + 1, clip.bottom() + 1));
        painter.end();
        return image;
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CCurveNodeList nodes;
        for (const CPoint& p : c.corners) {
            auto* point = new CSharedPoint(page, p.x, p.y);
            page->AddPoint(point);
            nodes.AddTail(new CCurveNode(point, NODE_CORNER));
        }
        CClosedCurveElement* e = LineFilled(std::move(nodes), c.angle, CPoint(37, 11), c.spacing, c.line);
        ASSERT_EQ(e->GetLineFillStride(), 1);

        // Every piece of the whole fill, drawn as printing draws them, and
        // the outline on top.
        QImage whole(kSide, kSide, QImage::Format_ARGB32);
        whole.fill(Qt::white);
        {
            QPainter painter(&whole);
            CDC dc(&painter, true);
            for (const CLineTypeShape& piece : FillLines(*e)) piece.Draw(&dc, RGB(0, 0, 0), kScale, 0, 0, CRect());
            for (const CLineTypeShape& line : LineShapes(*e)) line.Draw(&dc, e->GetColor(), kScale, 0, 0, CRect());
        }
        const QRect view(0, 0, kSide, kSide);
        EXPECT_EQ(paint(*e, true, view), whole);
        const QImage screen = paint(*e, false, view);
        for (int ty = 0; ty < kSide; ty += kTile) {
            for (int tx = 0; tx < kSide; tx += kTile) {
                SCOPED_TRACE(testing::Message() << "tile at " << tx << "," << ty);
                const QRect tile(tx, ty, kTile, kTile);
                EXPECT_EQ(paint(*e, true, tile).copy(tile), whole.copy(tile));
                // The screen leaves out a shape that ends short of the
                // clip, whose smoothing may still touch the clip's edge.
                const QRect inner = tile.adjusted(1, 1, -1, -1);
                EXPECT_EQ(paint(*e, false, tile).copy(inner), screen.copy(inner));
            }
        }
        // Given up (as storing a page gives its geometry up), laid out again.
        e->ReleaseGeometry();
        EXPECT_EQ(paint(*e, true, view), whole);
    }
}

// A 10 cm circle filled with dashed lines one unit apart: 10,000 lines of
// some 50 dashes each. Seen whole, the dashes are more than a paint lays
// out, and the lines are drawn plain, so the circle is filled all over
// (the fill once stopped a third of the way up, without a word); the
// fill says it drew them plain for the editor to tell.
TEST_F(ClosedCurveTest, AFillOfTooManyDashesIsDrawnWholeAndPlain)
{
    CCurveNodeList nodes;
    for (const CPoint& p : {CPoint(10000, 5000), CPoint(15000, 10000), CPoint(10000, 15000), CPoint(5000, 10000)}) {
        auto* point = new CSharedPoint(page, p.x, p.y);
        page->AddPoint(point);
        nodes.AddTail(new CCurveNode(point, NODE_SMOOTH));
    }
    CClosedCurveElement* e = LineFilled(std::move(nodes), 0.0, CPoint(0, 0), 1, CLineAttr::Dashed(10));
    ASSERT_EQ(e->GetLineFillStride(), 1);

    constexpr double kWhole = 40.0;
    const CRect clip(0, 0, 500, 500);
    QImage image(500, 500, QImage::Format_ARGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        CDC dc(&painter);
        e->Draw(&dc, kWhole, 0, 0, clip);
    }
    // Every pixel well inside the circle is dark, its top half too.
    int light = 0;
    for (int y = 130; y <= 370; ++y)
        for (int x = 130; x <= 370; ++x)
            if (std::hypot(x - 250.0, y - 250.0) < 118.0 && qGray(image.pixel(x, y)) > 64) ++light;
    EXPECT_EQ(light, 0);
    EXPECT_EQ(e->GetLineFillShortfall(kWhole, 0, 0, clip), CLineFillLayout::Shortfall::DrawnPlain);

    // Zoomed in on the top of the circle, the few lines seen keep their
    // dashes.
    constexpr double kNear = 0.5;
    const CRect near(0, 0, 200, 200);
    EXPECT_EQ(e->GetLineFillShortfall(kNear, 9950, 5500, near), CLineFillLayout::Shortfall::None);
}

// One dashed fill line through a strip: 10 m long it holds 5,000 dashes,
// more than a line lays out at once, and 300 m more periods than any line
// of a sound file; either is drawn plain, and the fill says so for the
// editor to tell, wherever the line is seen (it once drew them plain
// without a word). A metre of it keeps its dashes.
TEST_F(ClosedCurveTest, AFillLineOfTooManyDashesIsDrawnPlainAndSaidSo)
{
    struct Case {
        const char* name;
        int length;
        std::size_t pieces;
        CLineFillLayout::Shortfall shortfall;
    };
    const Case cases[] = {
        {"10 m", 1000000, 1, CLineFillLayout::Shortfall::DrawnPlain},
        // Past the periods any line of a sound file holds.
        {"300 m", 30000000, 1, CLineFillLayout::Shortfall::DrawnPlain},
        {"1 m", 100000, 501, CLineFillLayout::Shortfall::None},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CClosedCurveElement* e = LineFilled(NodesOn(page, {{0, 0}, {c.length, 0}, {c.length, 1000}, {0, 1000}}), 0.0,
                                            CPoint(0, 500), 2000, CLineAttr::Dashed(10));
        const auto lines = FillLines(*e);
        ASSERT_EQ(lines.size(), c.pieces);
        EXPECT_EQ(lines.front().GetPoints().GetHead(), CPoint(0, 500));
        EXPECT_EQ(lines.back().GetPoints().GetTail(), CPoint(c.length, 500));
        // Seen whole, and near either end.
        EXPECT_EQ(e->GetLineFillShortfall(c.length / 400.0, 0, 0, CRect(0, 0, 500, 500)), c.shortfall);
        EXPECT_EQ(e->GetLineFillShortfall(2.0, 0, 0, CRect(0, 0, 500, 500)), c.shortfall);
        EXPECT_EQ(e->GetLineFillShortfall(2.0, c.length - 1000, 0, CRect(0, 0, 500, 500)), c.shortfall);
    }
}

TEST_F(ClosedCurveTest, FillLinesAreRebuiltWhenTheirShapeChanges)
{
    CClosedCurveElement* e = Make(Square(), CLineAttr(10));
    e->SetLineFillStyle(CFillStyle());
    e->SetLineFillAngle(0.0);
    e->SetLineFillOrigin(100, 50);
    e->SetLineFillSpacing(100);
    EXPECT_TRUE(FillLines(*e).empty());

    // The kind alone does not rebuild them.
    e->SetFillKind(FILL_LINES);
    EXPECT_FALSE(e->IsBoundsDirty());
    EXPECT_TRUE(FillLines(*e).empty());

    e->SetLineFillSpacing(200);
    EXPECT_TRUE(e->IsBoundsDirty());
    EXPECT_EQ(FillLines(*e).size(), 5u);

    e->SetLineFillColor(RGB(0, 0, 255));
    EXPECT_FALSE(e->IsBoundsDirty());
    EXPECT_EQ(e->GetLineFillStyle().GetColor(), RGB(0, 0, 255));

    e->SetLineFillAttr(CLineAttr(30));
    EXPECT_TRUE(e->IsBoundsDirty());
    EXPECT_EQ(FillLines(*e).front().GetPenWidth(), 30);

    e->SetLineFillAngle(90.0);
    EXPECT_TRUE(e->IsBoundsDirty());
    EXPECT_EQ(FillLines(*e).front().GetBoundRect().Width(), 1);

    e->SetLineFillOrigin(0, 0);
    EXPECT_TRUE(e->IsBoundsDirty());
}

}  // namespace
