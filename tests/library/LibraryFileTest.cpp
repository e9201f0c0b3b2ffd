// The drawing-library file: the writer's bytes against fixtures written
// from the layout, the readers' version gates, round trips of every kind,
// and damaged files.
#include "library/CLibraryContent.h"
#include "library/CLibraryPreviewReader.h"
#include "library/CLibraryReader.h"
#include "library/CLibraryWriter.h"
#include "settings/FileSaving.h"

#include "LibraryTestSupport.h"

#include "model/CLineAttr.h"
#include "model/CTextPairElement.h"
#include "platform/CArchive.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <climits>
#include <string>
#include <vector>

using namespace libtest;

namespace {

// The drawing of the fixture: an open line A from (1000, 1000) to (5000,
// 1000) in red, a closed triangle B on A's end point and (5000, 2000),
// (1000, 2000), the text "AB" with its box (2000, 1200)-(2800, 1600), and
// a picture of two pixels spanning (0, 0)-(6000, 3000), which gives the
// bounds: 100 units per grid step, x / 100 and y / 100 + 15 on the grid.
struct FixtureDrawing {
    Sheet sheet;
    std::vector<CGraphElement*> elements;

    FixtureDrawing()
    {
        CSharedPoint* p0 = sheet.Point(1000, 1000);
        CSharedPoint* p1 = sheet.Point(5000, 1000);
        CSharedPoint* p2 = sheet.Point(5000, 2000);
        CSharedPoint* p3 = sheet.Point(1000, 2000);
        elements.push_back(sheet.Open({p0, p1}, RGB(255, 0, 0)));
        elements.push_back(sheet.Closed({p1, p2, p3}));
        elements.push_back(sheet.Text({2000, 1200}, {2800, 1200}, {2800, 1600}, {2000, 1600}));
        elements.push_back(sheet.Picture({0, 0}, {6000, 0}, {6000, 3000}, {0, 3000}));
    }
};

const char* const kHead107 =
    "4C4B4556 6B000000"                       // "LKEV", version 107
    "00000000 00000000 70170000 B80B0000";    // bounds (0, 0, 6000, 3000)

const char* const kOutlines =
    "02000000"                                                  // two outlines
    "02000000 0A000000 19000000 32000000 19000000"              // A: (10, 25) (50, 25)
    "04000000 32000000 19000000 32000000 23000000"              // B: (50, 25) (50, 35)
    "         0A000000 23000000 32000000 19000000";             //    (10, 35) (50, 25)

// "AB", red, height 4 on the grid, 宋体.
const char* const kPreviewFont =
    "02 4142  FF000000  04000000 00000000 00000000 00000000 90010000"
    "00 00 00 86 00 00 00 00  04 CBCECCE5";
const char* const kPreviewTextPlace =
    "14000000 1B000000  01000000"             // origin (20, 27), transparent
    "1C000000 1B000000  1C000000 1F000000  14000000 1F000000"; // corners 2, 4, 3

const char* const kPixelBlock =
    "02000000 01000000 0A202600 02000000 01000000 08000000 0A202600"
    "332211FF 66554480";

const char* const kPreviewPictureCorners =
    "00000000 0F000000 3C000000 0F000000 3C000000 2D000000 00000000 2D000000";

const char* const kPoints =
    "04000000 E8030000 E8030000 88130000 E8030000 88130000 D0070000 E8030000 D0070000";

const char* const kRecordA =
    "01000000 00000000 00000000"              // curve, open, level 0
    "00000000 0A000000 FF000000"              // plain, width 10, red
    "02000000 00000000 00000000 01000000 00000000" // nodes on points 0 and 1
    "00000000 58020000 0000000000804A40"      // no start head, 600, 53 degrees
    "00000000 58020000 0000000000804A40";
const char* const kRecordB =
    "01000000 01000000 00000000"              // curve, closed, level 0
    "00000000 0A000000 00000000"              // plain, width 10, black
    "03000000 01000000 00000000 02000000 00000000 03000000 00000000"
    "00000000 01000000 FF000000";             // no fill
const char* const kRecordText =
    "04000000 00000000"
    "02 4142  FF000000  90010000 00000000 00000000 00000000 90010000"
    "00 00 00 86 00 00 00 00  04 CBCECCE5"
    "D0070000 B0040000  01000000"             // origin (2000, 1200)
    "F00A0000 B0040000  F00A0000 40060000  D0070000 40060000";
const char* const kRecordPicture =
    "02000000 00000000"
    "00000000 00000000 70170000 00000000 70170000 B80B0000 00000000 B80B0000";

std::string Fixture107()
{
    return Hex(kHead107) + Hex(kOutlines) + Hex("01000000") + Hex(kPreviewFont) + Hex(kPreviewTextPlace) +
           Hex("01000000") + Hex(kPreviewPictureCorners) + Hex(kPixelBlock) + Hex("00000000") + Hex(kPoints) +
           Hex("04000000") + Hex(kRecordA) + Hex(kRecordB) + Hex(kRecordText) + Hex(kRecordPicture) +
           Hex(kPixelBlock);
}

} // namespace

// --- Writing ---------------------------------------------------------------------------

TEST(LibraryWriter, WritesTheLayoutByteForByte)
{
    FixtureDrawing drawing;
    const std::string bytes = CLibraryWriter::Build(drawing.elements);
    EXPECT_EQ(ToHex(bytes), ToHex(Fixture107()));
}

TEST(LibraryWriter, SharedPointsAreWrittenOnceAndBothCurvesNameThem)
{
    FixtureDrawing drawing;
    const std::string bytes = CLibraryWriter::Build(drawing.elements);
    CLibraryContent content;
    ASSERT_EQ(CLibraryReader::ReadBytes(bytes, 0, content), CLibraryReader::Result::Ok);
    ASSERT_EQ(content.GetPointCount(), 4);
    const auto elements = content.Elements();
    auto* a = static_cast<CCurveElement*>(elements[0]);
    auto* b = static_cast<CCurveElement*>(elements[1]);
    EXPECT_EQ(a->GetLastNode()->GetPoint(), b->GetFirstNode()->GetPoint());
}

namespace {

std::string Head(int version)
{
    const std::string v(1, char(version));
    return Hex("4C4B4556") + v + std::string(3, '\0') + Hex("00000000 00000000 70170000 B80B0000");
}

const char* const kOutlineA = "01000000 02000000 0A000000 19000000 32000000 19000000";
const char* const kTwoPoints = "02000000 E8030000 E8030000 88130000 E8030000";
// Curve A after its kind and closed flag, before the line: the level.
const char* const kRecordAHead = "01000000 00000000";
const char* const kRecordABody =
    "00000000 0A000000 FF000000"
    "02000000 00000000 00000000 01000000 00000000"
    "00000000 58020000 0000000000804A40 00000000 58020000 0000000000804A40";
const char* const kTextFontAndPlace =
    "02 4142  FF000000  90010000 00000000 00000000 00000000 90010000"
    "00 00 00 86 00 00 00 00  04 CBCECCE5"
    "D0070000 B0040000  01000000";
const char* const kTextCorners = "F00A0000 B0040000  F00A0000 40060000  D0070000 40060000";
const char* const kPictureCorners =
    "00000000 00000000 70170000 00000000 70170000 B80B0000 00000000 B80B0000";

std::string Level(int level) { return std::string(1, char(level)) + std::string(3, '\0'); }

// The same drawing as older versions of the program wrote it.
std::string Fixture(int version)
{
    const bool withLevel = version >= 105;
    std::string preview = Hex(kOutlineA);
    std::string records = Hex(kRecordAHead) + (withLevel ? Level(2) : "") + Hex(kRecordABody);
    int count = 1;
    if (version > 100) {
        preview += Hex("01000000") + Hex(kPreviewFont) + Hex("14000000 1B000000 01000000");
        if (version >= 104) preview += Hex("1C000000 1B000000 1C000000 1F000000 14000000 1F000000");
        records += Hex("04000000") + (withLevel ? Level(3) : "") + Hex(kTextFontAndPlace);
        if (version >= 104) records += Hex(kTextCorners);
        ++count;
    }
    if (version >= 104) {
        preview += Hex("01000000") + Hex(kPreviewPictureCorners) + Hex(kPixelBlock);
        records += Hex("02000000") + Level(4) + Hex(kPictureCorners) + Hex(kPixelBlock);
        ++count;
    }
    if (version >= 107) preview += Hex("00000000");
    return Head(version) + preview + Hex(kTwoPoints) + Level(count) + records;
}

} // namespace

// --- Reading: the version gates -----------------------------------------------------------

TEST(LibraryReaders, FollowTheVersionGatesOfEveryVersion)
{
    struct Case {
        int version;
        std::size_t texts;
        bool corners;
        std::size_t pictures;
        std::vector<int> kinds;
        std::vector<int> levels; // base level 5 where the file carries none
    };
    const Case cases[] = {
        {100, 0, false, 0, {ELEMENT_CURVE}, {5}},
        {103, 1, false, 0, {ELEMENT_CURVE, ELEMENT_TEXT}, {5, 5}},
        {104, 1, true, 1, {ELEMENT_CURVE, ELEMENT_TEXT, ELEMENT_IMAGE}, {5, 5, 4}},
        {106, 1, true, 1, {ELEMENT_CURVE, ELEMENT_TEXT, ELEMENT_IMAGE}, {2, 3, 4}},
        {107, 1, true, 1, {ELEMENT_CURVE, ELEMENT_TEXT, ELEMENT_IMAGE}, {2, 3, 4}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.version);
        const std::string bytes = Fixture(c.version);

        CLibraryPreview preview;
        ASSERT_EQ(CLibraryPreviewReader::ReadBytes(bytes, preview), CLibraryPreviewReader::Result::Ok);
        EXPECT_EQ(preview.version, c.version);
        EXPECT_EQ(preview.bounds, CRect(0, 0, 6000, 3000));
        ASSERT_EQ(preview.outlines.size(), 1u);
        EXPECT_EQ(preview.outlines[0], (std::vector<CPoint>{{10, 25}, {50, 25}}));
        ASSERT_EQ(preview.texts.size(), c.texts);
        if (c.texts) {
            EXPECT_EQ(preview.texts[0].textFont.GetText(), "AB");
            EXPECT_EQ(preview.texts[0].textFont.GetLogFont().lfHeight, 4);
            EXPECT_EQ(preview.texts[0].origin, CPoint(20, 27));
            EXPECT_EQ(preview.texts[0].hasCorners, c.corners);
            if (c.corners) {
                EXPECT_EQ(preview.texts[0].corner4, CPoint(28, 31));
            }
        }
        ASSERT_EQ(preview.pictures.size(), c.pictures);
        if (c.pictures) {
            EXPECT_EQ(preview.pictures[0].corners[2], CPoint(60, 45));
            EXPECT_EQ(preview.pictures[0].width, 2);
        }
        EXPECT_TRUE(preview.complete);
        EXPECT_TRUE(preview.outlinesSound);

        // The same through a file, whose picture pixels are passed over.
        QByteArray raw(bytes.data(), int(bytes.size()));
        QBuffer buffer(&raw);
        ASSERT_TRUE(buffer.open(QIODevice::ReadOnly));
        CLibraryPreview fromDevice;
        ASSERT_EQ(CLibraryPreviewReader::ReadDevice(buffer, fromDevice), CLibraryPreviewReader::Result::Ok);
        EXPECT_EQ(fromDevice.texts.size(), c.texts);
        EXPECT_EQ(fromDevice.pictures.size(), c.pictures);

        CLibraryContent content;
        ASSERT_EQ(CLibraryReader::ReadBytes(bytes, 5, content), CLibraryReader::Result::Ok);
        EXPECT_EQ(content.GetVersion(), c.version);
        ASSERT_EQ(content.GetElementCount(), int(c.kinds.size()));
        const auto elements = content.Elements();
        for (std::size_t i = 0; i < elements.size(); ++i) {
            EXPECT_EQ(elements[i]->GetType(), c.kinds[i]) << i;
            EXPECT_EQ(elements[i]->GetLevel(), c.levels[i]) << i;
        }
        auto* line = static_cast<CCurveElement*>(elements[0]);
        EXPECT_EQ(line->GetNodeAt(1)->GetPosition(), CPoint(5000, 1000));
        if (c.texts) {
            auto* text = static_cast<CTextElement*>(elements[1]);
            EXPECT_EQ(text->GetOrigin(), CPoint(2000, 1200));
            EXPECT_EQ(text->GetTextFont().GetLogFont().lfHeight, 400);
        }
        if (c.pictures) {
            auto* picture = static_cast<CImageElement*>(elements[2]);
            EXPECT_EQ(picture->GetLowerRight(), CPoint(6000, 3000));
            EXPECT_EQ(picture->GetImageSize(), CSize(2, 1));
        }
    }
}

// --- Writing: edge cases -------------------------------------------------------------------

TEST(LibraryWriter, TextsOnlyWriteNoOutlinesAndNoPoints)
{
    Sheet sheet;
    std::vector<CGraphElement*> texts = {sheet.Text({0, 0}, {600, 0}, {600, 300}, {0, 300}),
                                         sheet.Text({0, 400}, {600, 400}, {600, 700}, {0, 700})};
    const std::string bytes = CLibraryWriter::Build(texts);
    EXPECT_EQ(bytes.substr(24, 4), Hex("00000000")); // no outlines
    CLibraryContent content;
    ASSERT_EQ(CLibraryReader::ReadBytes(bytes, 0, content), CLibraryReader::Result::Ok);
    EXPECT_EQ(content.GetPointCount(), 0);
    EXPECT_EQ(content.GetElementCount(), 2);
}

TEST(LibraryWriter, PreviewGridOfSpecialDrawings)
{
    // A line twice as wide as high spans x 0 to 60 and y 15 to 45.
    const CRect wide(1000, 2000, 7000, 5000);
    const CLibraryWriter::Grid grid = CLibraryWriter::GridFor(wide);
    EXPECT_EQ(grid.Map(wide.TopLeft()), CPoint(0, 15));
    EXPECT_EQ(grid.Map(wide.BottomRight()), CPoint(60, 45));
    // Halves round away from zero.
    EXPECT_EQ(grid.Map(CPoint(1050, 2050)), CPoint(1, 16));
    EXPECT_EQ(grid.Map(CPoint(950, 1950)), CPoint(-1, 15));

    // A drawing without width or height: one unit per step, no division by
    // zero, everything on the centre.
    for (const CRect& flat : {CRect(500, 500, 500, 500), CRect(0, 40, 0, 40), CRect(-7, 3, 20, 3)}) {
        const CLibraryWriter::Grid g = CLibraryWriter::GridFor(flat);
        EXPECT_GE(g.unit, 1.0);
        EXPECT_EQ(g.Map(flat.TopLeft()).y, 30);
    }

    // A very short curve in a large drawing collapses to one point; a text
    // whose scaled font rounds to 0 gets height 1, a negative one stays.
    Sheet sheet;
    std::vector<CGraphElement*> elements = {
        sheet.Open({sheet.Point(0, 0), sheet.Point(60000, 0)}),
        sheet.Open({sheet.Point(30000, 30000), sheet.Point(30010, 30010)}),
        sheet.Text({100, 100}, {500, 100}, {500, 140}, {100, 140}, 40),
        sheet.Text({100, 900}, {500, 900}, {500, 1500}, {100, 1500}, -600),
        sheet.Picture({0, 0}, {60000, 0}, {60000, 60000}, {0, 60000}),
    };
    CLibraryPreview preview;
    ASSERT_EQ(CLibraryPreviewReader::ReadBytes(CLibraryWriter::Build(elements), preview),
              CLibraryPreviewReader::Result::Ok);
    ASSERT_EQ(preview.outlines.size(), 2u);
    EXPECT_EQ(preview.outlines[1], std::vector<CPoint>{CPoint(30, 30)});
    EXPECT_TRUE(preview.outlinesSound);
    ASSERT_EQ(preview.texts.size(), 2u);
    EXPECT_EQ(preview.texts[0].textFont.GetLogFont().lfHeight, 1);
    EXPECT_EQ(preview.texts[1].textFont.GetLogFont().lfHeight, -1);
}

TEST(LibraryWriter, LeavesOutKindsTheLibraryDoesNotHold)
{
    Sheet sheet;
    auto* pair = new CTextPairElement(sheet.Page(), 0);
    sheet.Page()->AddElement(pair);
    std::vector<CGraphElement*> elements = {pair, sheet.Text({0, 0}, {600, 0}, {600, 300}, {0, 300})};
    CLibraryContent content;
    ASSERT_EQ(CLibraryReader::ReadBytes(CLibraryWriter::Build(elements), 0, content), CLibraryReader::Result::Ok);
    EXPECT_EQ(content.GetElementCount(), 1);
}

// --- Round trips ---------------------------------------------------------------------------

namespace {

// One element of every kind and variety the library carries.
std::vector<CGraphElement*> EveryKind(Sheet& sheet)
{
    std::vector<CGraphElement*> elements;
    COpenCurveElement* dashed = sheet.Open({sheet.Point(0, 0), sheet.Point(3000, 500), sheet.Point(4000, 2000)});
    dashed->SetLineAttr(CLineAttr::Dashed(20));
    elements.push_back(dashed);
    auto* arrows = new COpenCurveElement(sheet.Page(), 2, CLineAttr::SideLines(LINE_SIDE_BOTH, 15), RGB(1, 2, 3),
                                         CCurveNodeList{new CCurveNode(sheet.Point(100, 4000), NODE_CORNER),
                                                        new CCurveNode(sheet.Point(900, 4500), NODE_SMOOTH),
                                                        new CCurveNode(sheet.Point(1800, 4000), NODE_CORNER)},
                                         2, 500, 40.0, 3, 700, 30.0);
    sheet.Page()->AddElement(arrows);
    elements.push_back(arrows);

    CLineTypeShapeArray shapes;
    CPointList zigzag;
    zigzag.AddTail(CPoint(0, 0));
    zigzag.AddTail(CPoint(50, 100));
    zigzag.AddTail(CPoint(100, 0));
    shapes.emplace_back(10, 0, zigzag);
    COpenCurveElement* custom = sheet.Open({sheet.Point(0, 6000), sheet.Point(5000, 6000)});
    custom->SetLineAttr(CLineAttr::Custom(300, 100, shapes));
    elements.push_back(custom);

    const int fills[] = {FILL_NONE, FILL_SOLID, FILL_LINEAR, FILL_CIRCULAR, FILL_CONICAL, FILL_SQUARE, FILL_BITMAP,
                         FILL_LINES};
    int x = 6000;
    for (int fill : fills) {
        CClosedCurveElement* closed =
            sheet.Closed({sheet.Point(x, 0), sheet.Point(x + 800, 0), sheet.Point(x + 800, 900)}, RGB(0, 0, 255));
        closed->SetFillKind(fill);
        closed->SetGradientColors(RGB(10, 20, 30), RGB(200, 100, 50));
        closed->SetGradientPoints(x, 0, x + 800, 900);
        closed->SetFillAngle(30.0);
        closed->SetFillAlpha(200);
        if (fill == FILL_BITMAP) {
            QImage tile(3, 2, QImage::Format_ARGB32);
            tile.fill(qRgba(5, 6, 7, 255));
            closed->SetFillBitmap(tile);
            closed->SetBitmapTileSize(300, 200);
        }
        elements.push_back(closed);
        x += 1000;
    }
    // A closed curve on points of the open line.
    elements.push_back(sheet.Closed({static_cast<CCurveElement*>(elements[0])->GetFirstNode()->GetPoint(),
                                     static_cast<CCurveElement*>(elements[0])->GetLastNode()->GetPoint(),
                                     sheet.Point(0, 2000)}));

    auto* turned = new CTextElement(sheet.Page(), 1, CTextFont("line one\r\nline two", Font(-300), RGB(9, 8, 7)),
                                    2000, 7000, OPAQUE);
    LogFont lf = turned->GetTextFont().GetLogFont();
    lf.lfEscapement = lf.lfOrientation = 900;
    CTextFont textFont = turned->GetTextFont();
    textFont.SetLogFont(lf);
    turned->SetText(textFont, 2000, 7000, OPAQUE);
    sheet.Page()->AddElement(turned);
    elements.push_back(turned);

    elements.push_back(sheet.Picture({7000, 5000}, {9000, 5500}, {8500, 7500}, {6500, 7000}));
    elements.push_back(sheet.Table(CRect(10000, 1000, 13000, 2200), 1));
    auto* empty = new CImageElement(sheet.Page(), 3);
    empty->SetUpperLeft(100, 100);
    empty->SetUpperRight(200, 100);
    empty->SetLowerRight(200, 200);
    empty->SetLowerLeft(100, 200);
    sheet.Page()->AddElement(empty);
    elements.push_back(empty);
    return elements;
}

} // namespace

TEST(LibraryRoundTrip, EveryKindReadsBackAndWritesTheSameBytes)
{
    Sheet sheet;
    const std::vector<CGraphElement*> elements = EveryKind(sheet);
    const std::string first = CLibraryWriter::Build(elements);

    CLibraryContent content;
    ASSERT_EQ(CLibraryReader::ReadBytes(first, 0, content), CLibraryReader::Result::Ok);
    ASSERT_EQ(content.GetElementCount(), int(elements.size()));
    Sheet other;
    const std::vector<CGraphElement*> placed = content.PlaceOn(other.Page(), CPoint(0, 0));
    ASSERT_EQ(placed.size(), elements.size());
    EXPECT_EQ(content.GetElementCount(), 0);
    EXPECT_EQ(other.Page()->GetElementCount(), int(elements.size()));
    const std::string second = CLibraryWriter::Build(placed);
    EXPECT_EQ(ToHex(second), ToHex(first));

    // Levels come along and raise the page's highest level.
    EXPECT_EQ(placed[1]->GetLevel(), 2);
    EXPECT_EQ(other.Page()->GetMaxLevel(), 3);
    // The custom pattern and the picture pixels are whole.
    EXPECT_EQ(static_cast<CCurveElement*>(placed[2])->GetLineAttr().GetShapes().size(), 1u);
    EXPECT_EQ(static_cast<CImageElement*>(placed[placed.size() - 3])->GetImageSize(), CSize(2, 1));
    auto* table = static_cast<CTableElement*>(placed[placed.size() - 2]);
    EXPECT_EQ(table->GetTableRect(), CRect(10000, 1000, 13000, 2200));
    EXPECT_STREQ(table->GetCellText(1, 1), "AB");
}

TEST(LibraryRoundTrip, PlacingMovesEverythingAndTwoPlacementsShareNoPoint)
{
    FixtureDrawing drawing;
    const std::string bytes = CLibraryWriter::Build(drawing.elements);
    Sheet target;
    std::vector<CGraphElement*> first;
    std::vector<CGraphElement*> second;
    for (auto* placed : {&first, &second}) {
        CLibraryContent content;
        ASSERT_EQ(CLibraryReader::ReadBytes(bytes, 0, content), CLibraryReader::Result::Ok);
        // Saved at (0, 0), placed at (3000, -1700).
        *placed = content.PlaceOn(target.Page(), CPoint(3000, -1700));
        ASSERT_EQ(placed->size(), 4u);
    }
    EXPECT_EQ(target.Page()->GetPointCount(), 8);
    auto* a = static_cast<CCurveElement*>(first[0]);
    auto* again = static_cast<CCurveElement*>(second[0]);
    EXPECT_EQ(a->GetNodeAt(0)->GetPosition(), CPoint(4000, -700));
    EXPECT_NE(a->GetNodeAt(0)->GetPoint(), again->GetNodeAt(0)->GetPoint());
    EXPECT_EQ(a->GetNodeAt(0)->GetPoint()->GetLayer(), target.Page());
    auto* text = static_cast<CTextElement*>(first[2]);
    EXPECT_EQ(text->GetOrigin(), CPoint(5000, -500));
    auto* picture = static_cast<CImageElement*>(first[3]);
    EXPECT_EQ(picture->GetLowerRight(), CPoint(9000, 1300));
    EXPECT_EQ(picture->GetBoundRect(), CRect(3000, -1700, 9000, 1300));

    // Moving one placed copy leaves the other where it is.
    a->GetNodeAt(0)->GetPoint()->MoveTo(0, 0, 1);
    EXPECT_EQ(again->GetNodeAt(0)->GetPosition(), CPoint(4000, -700));
}

TEST(LibraryRoundTrip, RefusesToPlaceWhereCoordinatesWouldLeaveThePage)
{
    FixtureDrawing drawing;
    CLibraryContent content;
    ASSERT_EQ(CLibraryReader::ReadBytes(CLibraryWriter::Build(drawing.elements), 0, content),
              CLibraryReader::Result::Ok);
    Sheet target;
    EXPECT_FALSE(content.CanPlaceAt(CPoint(INT_MAX - 10, 0)));
    EXPECT_TRUE(content.PlaceOn(target.Page(), CPoint(INT_MAX - 10, 0)).empty());
    EXPECT_EQ(target.Page()->GetElementCount(), 0);
    EXPECT_EQ(target.Page()->GetPointCount(), 0);
    EXPECT_EQ(content.GetElementCount(), 4);
}

// --- Damaged files -------------------------------------------------------------------------

namespace {

// Patches four bytes at an offset of the fixture.
std::string Patched(std::size_t at, const char* hex)
{
    std::string bytes = Fixture107();
    const std::string patch = Hex(hex);
    bytes.replace(at, patch.size(), patch);
    return bytes;
}

// Offsets into the version-107 fixture.
constexpr std::size_t kOutlineCount = 24;
constexpr std::size_t kFirstOutlinePoints = 28;
constexpr std::size_t kTextCount = kOutlineCount + 4 + 20 + 36;

std::size_t Find(const std::string& bytes, const std::string& what)
{
    const std::size_t at = bytes.find(what);
    EXPECT_NE(at, std::string::npos);
    return at;
}

} // namespace

TEST(LibraryDamage, DamagedFilesAreRefusedWithNothingKept)
{
    const std::string good = Fixture107();
    const std::size_t pictureBlock = Find(good, Hex(kPixelBlock));
    const std::size_t points = Find(good, Hex(kPoints));
    const std::size_t elementCount = points + Hex(kPoints).size();
    const std::size_t secondRecord = elementCount + 4 + Hex(kRecordA).size();
    struct Case {
        const char* name;
        std::string bytes;
        CLibraryReader::Result result;
    };
    const Case cases[] = {
        {"empty", "", CLibraryReader::Result::NotLibrary},
        {"three bytes", good.substr(0, 3), CLibraryReader::Result::NotLibrary},
        {"wrong magic", Patched(0, "4C4B4557"), CLibraryReader::Result::NotLibrary},
        {"a document", Hex("8ADF569C 6B000000"), CLibraryReader::Result::NotLibrary},
        {"newer version", Patched(4, "6C000000"), CLibraryReader::Result::Unsupported},
        {"version -1", Patched(4, "FFFFFFFF"), CLibraryReader::Result::Unsupported},
        {"outline count beyond the bytes", Patched(kOutlineCount, "FFFFFF0F"), CLibraryReader::Result::Damaged},
        {"negative outline count", Patched(kOutlineCount, "FFFFFFFF"), CLibraryReader::Result::Damaged},
        {"outline points beyond the bytes", Patched(kFirstOutlinePoints, "FFFFFF7F"),
         CLibraryReader::Result::Damaged},
        {"text count INT_MIN", Patched(kTextCount, "00000080"), CLibraryReader::Result::Damaged},
        {"stride INT_MIN", Patched(pictureBlock + 20, "00000080"), CLibraryReader::Result::Damaged},
        {"stride narrower than the width", Patched(pictureBlock + 20, "04000000"), CLibraryReader::Result::Damaged},
        {"picture rows beyond the bytes", Patched(pictureBlock + 16, "FF7F0000"), CLibraryReader::Result::Damaged},
        {"picture wider than any", Patched(pictureBlock, "00000100"), CLibraryReader::Result::Damaged},
        {"point count beyond the bytes", Patched(points, "FFFFFF0F"), CLibraryReader::Result::Damaged},
        {"element count beyond the bytes", Patched(elementCount, "FFFFFF0F"), CLibraryReader::Result::Damaged},
        {"element of kind 3", Patched(secondRecord, "03000000"), CLibraryReader::Result::Damaged},
        {"element of kind 16", Patched(secondRecord, "10000000"), CLibraryReader::Result::Damaged},
        {"node naming no point", Patched(secondRecord + 28, "04000000"), CLibraryReader::Result::Damaged},
        {"node naming point -1", Patched(secondRecord + 28, "FFFFFFFF"), CLibraryReader::Result::Damaged},
        {"last record cut", good.substr(0, good.size() - 1), CLibraryReader::Result::Damaged},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CLibraryContent content;
        EXPECT_EQ(CLibraryReader::ReadBytes(c.bytes, 0, content), c.result);
        EXPECT_EQ(content.GetElementCount(), 0);
        EXPECT_EQ(content.GetPointCount(), 0);
    }
}

// Counts lowered by damage would place part of the drawing without a word:
// the bytes they leave after the last element refuse the file, and nothing
// of it is kept.
TEST(LibraryDamage, CountsThatLeaveBytesOverAreRefused)
{
    const std::string good = Fixture107();
    const std::size_t elementCount = Find(good, Hex(kPoints)) + Hex(kPoints).size();

    Sheet sheet;
    CTableElement* table = sheet.Table(CRect(1000, 2000, 4000, 3200), 2);
    const std::string withTable = CLibraryWriter::Build({table});
    CArchive record;
    table->Store(record);
    // The table's record ends the file: kind, level, origin, line colour,
    // two line widths and the margins come before its row count.
    const std::size_t rowCount = withTable.size() - record.Buffer().size() + 8 + 8 + 12 + 16;
    ASSERT_EQ(ToHex(withTable.substr(rowCount, 4)), ToHex(Hex("02000000")));
    std::string noRows = withTable;
    noRows.replace(rowCount, 4, Hex("00000000"));

    const struct {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"element count lowered by one", Patched(elementCount, "03000000")},
        {"element count 0", Patched(elementCount, "00000000")},
        {"a byte after the last element", good + std::string(1, '\0')},
        {"a table's row count 0", noRows},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CLibraryContent content;
        EXPECT_EQ(CLibraryReader::ReadBytes(c.bytes, 0, content), CLibraryReader::Result::Damaged);
        EXPECT_EQ(content.GetElementCount(), 0);
        EXPECT_EQ(content.GetPointCount(), 0);
    }
    CLibraryContent content;
    EXPECT_EQ(CLibraryReader::ReadBytes(withTable, 0, content), CLibraryReader::Result::Ok);
    EXPECT_EQ(CLibraryReader::ReadBytes(good, 0, content), CLibraryReader::Result::Ok);
}

TEST(LibraryDamage, EveryTruncationEndsCleanly)
{
    const std::string good = Fixture107();
    CLibraryPreview whole;
    ASSERT_EQ(CLibraryPreviewReader::ReadBytes(good, whole), CLibraryPreviewReader::Result::Ok);
    for (std::size_t n = 0; n < good.size(); ++n) {
        SCOPED_TRACE(n);
        const std::string cut = good.substr(0, n);
        CLibraryContent content;
        const CLibraryReader::Result result = CLibraryReader::ReadBytes(cut, 0, content);
        EXPECT_EQ(result, n < 4 ? CLibraryReader::Result::NotLibrary : CLibraryReader::Result::Damaged);
        EXPECT_EQ(content.GetElementCount(), 0);

        // The preview ends where the bytes end and keeps what came before.
        CLibraryPreview preview;
        const CLibraryPreviewReader::Result read = CLibraryPreviewReader::ReadBytes(cut, preview);
        if (n < 4) {
            EXPECT_EQ(read, CLibraryPreviewReader::Result::NotLibrary);
        } else if (read == CLibraryPreviewReader::Result::Damaged) {
            EXPECT_FALSE(preview.complete);
            EXPECT_LE(preview.outlines.size(), whole.outlines.size());
        } else {
            EXPECT_EQ(read, CLibraryPreviewReader::Result::Ok);
            EXPECT_EQ(preview.tables.size(), 0u);
        }
    }
}

TEST(LibraryDamage, AnOutlineWithoutPointsMarksThePreview)
{
    CLibraryPreview preview;
    ASSERT_EQ(CLibraryPreviewReader::ReadBytes(Patched(kFirstOutlinePoints, "00000000"), preview),
              CLibraryPreviewReader::Result::Damaged);
    EXPECT_FALSE(preview.outlinesSound);
    const std::string bytes = Head(100) + Hex("02000000 00000000 01000000 05000000 06000000") + Hex("00000000 00000000");
    ASSERT_EQ(CLibraryPreviewReader::ReadBytes(bytes, preview), CLibraryPreviewReader::Result::Ok);
    EXPECT_FALSE(preview.outlinesSound);
    EXPECT_EQ(preview.outlines.size(), 2u);
}

// --- Files ---------------------------------------------------------------------------------

TEST(LibraryFile, WritesThroughATemporaryFileAndReportsFailure)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    FixtureDrawing drawing;
    const QString path = dir.filePath(QStringLiteral("pocket.vkl"));
    QString error;
    ASSERT_TRUE(SaveWholeFile(path, CLibraryWriter::Build(drawing.elements), &error)) << qPrintable(error);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll().toStdString(), Fixture107());
    file.close();
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("pocket.vkl")});

    // No folder to write into, or a folder in the file's place.
    EXPECT_FALSE(SaveWholeFile(dir.filePath(QStringLiteral("missing/pocket.vkl")),
                               CLibraryWriter::Build(drawing.elements), &error));
    EXPECT_FALSE(error.isEmpty());
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder.vkl")));
    EXPECT_FALSE(SaveWholeFile(dir.filePath(QStringLiteral("folder.vkl")), CLibraryWriter::Build(drawing.elements)));

    // Reading back through the file.
    CLibraryContent content;
    EXPECT_EQ(CLibraryReader::ReadFile(path, 0, content), CLibraryReader::Result::Ok);
    EXPECT_EQ(content.GetElementCount(), 4);
    CLibraryPreview preview;
    EXPECT_EQ(CLibraryPreviewReader::ReadFile(path, preview), CLibraryPreviewReader::Result::Ok);
    EXPECT_EQ(CLibraryReader::ReadFile(dir.filePath(QStringLiteral("none.vkl")), 0, content),
              CLibraryReader::Result::CannotOpen);
    EXPECT_EQ(CLibraryReader::ReadFile(dir.filePath(QStringLiteral("folder.vkl")), 0, content),
              CLibraryReader::Result::CannotOpen);
    EXPECT_EQ(CLibraryPreviewReader::ReadFile(dir.filePath(QStringLiteral("folder.vkl")), preview),
              CLibraryPreviewReader::Result::NotLibrary);
}

TEST(LibraryWriter, TablesStandOnThePreviewAsTheirFrameAndKeepTheirOwnRecord)
{
    Sheet sheet;
    CTableElement* table = sheet.Table(CRect(1000, 2000, 4000, 3200), 2);
    const CRect bounds = table->GetBoundRect();
    // The grid's bounds reach a little past the cells for its lines.
    ASSERT_EQ(bounds, CRect(977, 1977, 4023, 3223));
    const std::string bytes = CLibraryWriter::Build({table});
    // 3046 wide: 50.77 units per step, the height centred on 30; the
    // origin is the table's own, (1000, 2000).
    EXPECT_EQ(ToHex(bytes.substr(0, 24 + 16 + 32)),
              ToHex(Hex("4C4B4556 6B000000 D1030000 B9070000 B70F0000 970C0000"
                        "00000000 00000000 00000000 01000000"
                        "00000000 12000000 3C000000 12000000 3C000000 2A000000 00000000 2A000000")));
    CArchive record;
    table->Store(record);
    EXPECT_EQ(ToHex(bytes.substr(bytes.size() - record.Buffer().size())), ToHex(record.Buffer()));

    // Read back and placed elsewhere, the table moves whole.
    CLibraryContent content;
    ASSERT_EQ(CLibraryReader::ReadBytes(bytes, 0, content), CLibraryReader::Result::Ok);
    Sheet other;
    const auto placed = content.PlaceOn(other.Page(), CPoint(500, -500));
    ASSERT_EQ(placed.size(), 1u);
    auto* moved = static_cast<CTableElement*>(placed[0]);
    EXPECT_EQ(moved->GetTableRect(), CRect(1500, 1500, 4500, 2700));
    EXPECT_EQ(moved->GetLevel(), 2);
    EXPECT_EQ(other.Page()->GetMaxLevel(), 2);

    // A version-106 file has no table section: its element records follow
    // the pictures directly.
    std::string old = bytes;
    old[4] = char(106);
    CLibraryPreview preview;
    EXPECT_EQ(CLibraryPreviewReader::ReadBytes(old, preview), CLibraryPreviewReader::Result::Ok);
    EXPECT_TRUE(preview.tables.empty());
    EXPECT_EQ(CLibraryReader::ReadBytes(old, 0, content), CLibraryReader::Result::Damaged);
}

TEST(LibraryReaders, APictureStoredBottomUpCountsItsRowsByTheAbsoluteStride)
{
    const std::string good = Fixture107();
    const std::size_t block = good.find(Hex(kPixelBlock));
    std::string bottomUp = good;
    bottomUp.replace(block + 20, 4, Hex("F8FFFFFF")); // stride -8
    CLibraryPreview preview;
    ASSERT_EQ(CLibraryPreviewReader::ReadBytes(bottomUp, preview), CLibraryPreviewReader::Result::Ok);
    ASSERT_EQ(preview.pictures.size(), 1u);
    EXPECT_EQ(preview.tables.size(), 0u);
    CLibraryContent content;
    EXPECT_EQ(CLibraryReader::ReadBytes(bottomUp, 0, content), CLibraryReader::Result::Ok);
    EXPECT_EQ(content.GetElementCount(), 4);
}
