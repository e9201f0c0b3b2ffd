#include "model/COleArchiveContext.h"
#include "model/COleObjectElement.h"
#include "model/COlePresentation.h"
#include "model/CPage.h"
#include "model/CVEKCntrItem.h"

#include "platform/CArchive.h"
#include "platform/CCompoundFile.h"
#include "platform/CDC.h"

#include "HexBytes.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <memory>

namespace {

// Element header (kind 32, level 3) as the page writes it.
const char* const kHeader = "20000000 03000000";
// First item of an archive: new-class tag, schema 0, "CVEKCntrItem".
const char* const kNewClass = "FFFF 0000 0C00 43 56 45 4B 43 6E 74 72 49 74 65 6D";
// Item 1: format 256, number 1, content aspect, no moniker.
const char* const kItemHead = "00010000 01000000 0100 0000";
// Position rectangle (230, 20, 330, 120).
const char* const kItemRect = "E6000000 14000000 4A010000 78000000";

std::string Bytes(std::initializer_list<const char*> parts)
{
    std::string out;
    for (const char* p : parts) out += HexBytes(p);
    return out;
}

std::string WithImage(const std::string& image)
{
    std::string out;
    const auto n = std::uint32_t(image.size());
    for (int i = 0; i < 4; ++i) out.push_back(char((n >> (8 * i)) & 0xFF));
    return out + image;
}

// The record of one element whose item carries the five-byte image "HELLO".
std::string FlatRecord()
{
    return Bytes({kHeader, kNewClass, kItemHead}) + WithImage("HELLO") + HexBytes(kItemRect);
}

// Loads an element body from bytes that start with the element header.
std::unique_ptr<COleObjectElement> LoadElement(CPage* page, CArchive& ar)
{
    std::int32_t kind = 0, level = 0;
    ar >> kind >> level;
    EXPECT_EQ(kind, ELEMENT_OLEOBJECT);
    auto e = std::make_unique<COleObjectElement>(page, level);
    EXPECT_EQ(e->Load(ar), 1);
    return e;
}

// A 2 x 2 bitmap: top row red, white; bottom row blue, green.
std::string SampleDib()
{
    return HexBytes("28000000 02000000 02000000 0100 1800 00000000 10000000 00000000 00000000 "
                    "00000000 00000000"
                    "FF0000 00FF00 0000"  // bottom row
                    "0000FF FFFFFF 0000"); // top row
}

std::string PresentationStream(const std::string& dib)
{
    CArchive ar;
    ar << std::uint32_t(0xFFFFFFFF) << std::uint32_t(8) << std::uint32_t(4) << std::uint32_t(1)
       << std::uint32_t(0xFFFFFFFF) << std::uint32_t(2) << std::uint32_t(0) << std::uint32_t(2000)
       << std::uint32_t(2000) << std::uint32_t(dib.size());
    ar.Write(dib.data(), dib.size());
    return ar.Buffer();
}

std::string CompObjStream(const std::string& userType)
{
    CArchive ar;
    const std::string header(28, '\x01');
    ar.Write(header.data(), header.size());
    ar << std::uint32_t(userType.size() + 1);
    ar.Write(userType.c_str(), userType.size() + 1);
    ar << std::uint32_t(0);
    return ar.Buffer();
}

CCompoundEntry Stream(const std::string& name, const std::string& data)
{
    CCompoundEntry e;
    e.name = name;
    e.data = data;
    return e;
}

CCompoundEntry ObjectStorage(bool withPicture, bool linked)
{
    CCompoundEntry s;
    s.isStorage = true;
    s.children.push_back(Stream("\001Ole", HexBytes(linked ? "01000002 01000000" : "01000002 00000000")));
    s.children.push_back(Stream("\001CompObj", CompObjStream("Paint Picture")));
    if (withPicture) s.children.push_back(Stream("\002OlePres000", PresentationStream(SampleDib())));
    return s;
}

std::string Image(const CCompoundEntry& storage)
{
    std::string bytes, error;
    EXPECT_TRUE(CCompoundFile::Build(storage, bytes, error)) << error;
    return bytes;
}

std::shared_ptr<CVEKCntrItem> ItemWith(const CCompoundEntry& storage, const CRect& rect)
{
    auto item = std::make_shared<CVEKCntrItem>();
    item->SetStorage(storage);
    item->SetRect(rect);
    return item;
}

QImage Render(COleObjectElement& e, bool printing, double scale = 1.0, int originX = 0, int originY = 0)
{
    QImage image(200, 200, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    {
        CDC dc(&painter, printing);
        e.Draw(&dc, scale, originX, originY, CRect(0, 0, 200, 200));
    }
    painter.end();
    return image;
}

int BlackAlongRow(const QImage& image, int y, int x0, int x1)
{
    int n = 0;
    for (int x = x0; x < x1; ++x) n += image.pixel(x, y) == qRgb(0, 0, 0) ? 1 : 0;
    return n;
}

} // namespace

TEST(OleObjectRecord, FlatItemRoundTripsByteForByte)
{
    CPage page(nullptr);
    CArchive in(FlatRecord());
    auto e = LoadElement(&page, in);
    EXPECT_EQ(in.BytesLeft(), 0u);
    ASSERT_TRUE(e->GetClientItem());
    const CVEKCntrItem& item = *e->GetClientItem();
    EXPECT_EQ(item.GetItemNumber(), 1u);
    EXPECT_EQ(item.GetStorageName(), "Embedding 1");
    EXPECT_EQ(item.GetRect(), CRect(230, 20, 330, 120));
    EXPECT_EQ(item.GetImage(), "HELLO");
    EXPECT_EQ(e->GetLevel(), 3);
    EXPECT_FALSE(e->HasRect());

    CArchive out;
    e->Store(out);
    EXPECT_EQ(out.Buffer(), FlatRecord());
}

TEST(OleObjectRecord, ItemsOfOneArchiveShareTheClassAndSharedItemsAreReferences)
{
    CPage page(nullptr);
    auto first = std::make_shared<CVEKCntrItem>();
    first->SetItemNumber(1);
    auto second = std::make_shared<CVEKCntrItem>();
    second->SetItemNumber(2);
    COleObjectElement a(&page, 3, first), b(&page, 3, second), c(&page, 3, first);

    CArchive out;
    {
        COleArchiveContext objects(out);
        a.Store(out);
        b.Store(out);
        c.Store(out);
        EXPECT_EQ(objects.Items().size(), 2u);
    }
    // Table: 1 the class, 2 the first item, 3 the second item.
    const std::string expected = Bytes({kHeader, kNewClass, kItemHead, "00000000", kItemRect,
                                        kHeader, "0180", "00010000 02000000 0100 0000 00000000", kItemRect,
                                        kHeader, "0200"});
    EXPECT_EQ(out.Buffer(), expected);

    CArchive in(expected);
    COleArchiveContext objects(in);
    auto la = LoadElement(&page, in);
    auto lb = LoadElement(&page, in);
    auto lc = LoadElement(&page, in);
    EXPECT_EQ(in.BytesLeft(), 0u);
    EXPECT_EQ(la->GetClientItem(), lc->GetClientItem());
    EXPECT_NE(la->GetClientItem(), lb->GetClientItem());
    EXPECT_EQ(lb->GetClientItem()->GetItemNumber(), 2u);
    EXPECT_EQ(objects.Items().size(), 2u);
}

TEST(OleObjectRecord, LargeIndexesUseTheLongTag)
{
    // A reference to object 2 written with the long form.
    const std::string bytes = Bytes({kHeader, kNewClass, kItemHead, "00000000", kItemRect, kHeader,
                                     "FF7F 02000000"});
    CPage page(nullptr);
    CArchive in(bytes);
    COleArchiveContext objects(in);
    auto a = LoadElement(&page, in);
    auto b = LoadElement(&page, in);
    EXPECT_EQ(a->GetClientItem(), b->GetClientItem());
}

TEST(OleObjectRecord, ElementWithoutItemWritesTheNullTag)
{
    CPage page(nullptr);
    COleObjectElement e(&page, 0);
    CArchive out;
    e.Store(out);
    EXPECT_EQ(out.Buffer(), HexBytes("20000000 00000000 0000"));
    CArchive in(out.Buffer());
    auto back = LoadElement(&page, in);
    EXPECT_FALSE(back->GetClientItem());
    // Nothing to draw, and no crash.
    EXPECT_EQ(Render(*back, false).pixel(100, 100), qRgb(255, 255, 255));
}

TEST(OleObjectRecord, DocumentStreamLeavesTheDataToTheStorages)
{
    CPage page(nullptr);
    const std::string stream = Bytes({kHeader, kNewClass, kItemHead, kItemRect});
    CArchive in(stream);
    COleArchiveContext objects(in, COleArchiveContext::InStorages);
    auto e = LoadElement(&page, in);
    EXPECT_EQ(in.BytesLeft(), 0u);
    ASSERT_EQ(objects.Items().size(), 1u);
    EXPECT_EQ(objects.Items()[0], e->GetClientItem());
    EXPECT_EQ(e->GetClientItem()->GetStorage(), nullptr);

    // The document hands the storage in; a backup then carries it inside.
    e->GetClientItem()->SetStorage(ObjectStorage(true, false));
    CArchive backup;
    e->Store(backup);
    CArchive again(backup.Buffer());
    auto restored = LoadElement(&page, again);
    const CCompoundEntry* storage = restored->GetClientItem()->GetStorage();
    ASSERT_NE(storage, nullptr);
    ASSERT_NE(storage->Child("\002OlePres000"), nullptr);
    EXPECT_EQ(storage->Child("\002OlePres000")->data, PresentationStream(SampleDib()));

    // And the document stream written back is what was read.
    CArchive out;
    {
        COleArchiveContext objects2(out, COleArchiveContext::InStorages);
        e->Store(out);
    }
    EXPECT_EQ(out.Buffer(), stream);
}

TEST(OleObjectRecord, StoragesOfOneDocumentGetDistinctNumbers)
{
    CPage page(nullptr);
    auto a = std::make_shared<CVEKCntrItem>();
    a->SetItemNumber(4);
    auto pasted = std::make_shared<CVEKCntrItem>();
    pasted->SetItemNumber(4);
    auto fresh = std::make_shared<CVEKCntrItem>();
    COleObjectElement e1(&page, 0, a), e2(&page, 0, pasted), e3(&page, 0, fresh), e4(&page, 0, a);
    CArchive out;
    COleArchiveContext objects(out, COleArchiveContext::InStorages);
    for (COleObjectElement* e : {&e1, &e2, &e3, &e4}) e->Store(out);
    EXPECT_EQ(a->GetItemNumber(), 4u);
    EXPECT_EQ(pasted->GetItemNumber(), 5u);
    EXPECT_EQ(fresh->GetItemNumber(), 6u);
    EXPECT_EQ(objects.Items().size(), 3u);
}

TEST(OleObjectRecord, DamagedRecordsThrow)
{
    const struct {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"unknown class", Bytes({"FFFF 0000 0500 43 4F 62 6A 31", kItemHead, "00000000", kItemRect})},
        {"class name too long", Bytes({"FFFF 0000 4000"}) + std::string(64, 'A')},
        {"reference to nothing", Bytes({"0500"})},
        {"long reference to nothing", Bytes({"FF7F 09000000"})},
        {"class reference to nothing", Bytes({"0180", kItemHead, "00000000", kItemRect})},
        {"unknown item format", Bytes({kNewClass, "01000000 01000000 0100 0000 00000000", kItemRect})},
        {"image beyond the bytes", Bytes({kNewClass, kItemHead, "FFFFFF7F 4142", kItemRect})},
    };
    for (const auto& c : cases) {
        for (bool withContext : {false, true}) {
            CPage page(nullptr);
            COleObjectElement e(&page, 0);
            CArchive in(c.bytes);
            std::unique_ptr<COleArchiveContext> objects;
            if (withContext) objects = std::make_unique<COleArchiveContext>(in);
            EXPECT_THROW(e.Load(in), CArchiveError) << c.name;
        }
    }
    // A class reference made by a second item needs the archive's table.
    const std::string two = Bytes({kNewClass, kItemHead, "00000000", kItemRect, "0180", kItemHead,
                                   "00000000", kItemRect});
    CPage page(nullptr);
    COleObjectElement e(&page, 0);
    CArchive in(two);
    e.Load(in);
    EXPECT_THROW(e.Load(in), CArchiveError);

    const std::string full = FlatRecord().substr(8);
    for (std::size_t n = 0; n < full.size(); ++n) {
        CArchive cut(full.substr(0, n));
        EXPECT_THROW(e.Load(cut), CArchiveError) << "cut at " << n;
    }
}

TEST(OleObjectCopy, CopiesShareTheItem)
{
    CPage page(nullptr), other(nullptr);
    auto item = std::make_shared<CVEKCntrItem>();
    COleObjectElement source(&page, 2, item);
    source.SetRect(CRect(10, 20, 110, 220));
    COleObjectElement copy1(&other, 2), copy2(&other, 2);
    copy1.CopyFrom(source);
    copy2.CopyFrom(source);
    EXPECT_EQ(copy1.GetClientItem(), item);
    EXPECT_EQ(copy2.GetClientItem(), item);
    EXPECT_EQ(copy1.GetBoundRect(), CRect(10, 20, 110, 220));
    // Snapshots keep the item alive after the original goes.
    std::weak_ptr<CVEKCntrItem> weak = item;
    item.reset();
    source.SetClientItem(nullptr);
    EXPECT_FALSE(weak.expired());
}

TEST(OlePresentation, DecodesTheCachedBitmap)
{
    const QImage picture = COlePresentation::DecodeDib(SampleDib());
    ASSERT_FALSE(picture.isNull());
    ASSERT_EQ(picture.size(), QSize(2, 2));
    EXPECT_EQ(picture.pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(picture.pixel(1, 0), qRgb(255, 255, 255));
    EXPECT_EQ(picture.pixel(0, 1), qRgb(0, 0, 255));
    EXPECT_EQ(picture.pixel(1, 1), qRgb(0, 255, 0));

    const COlePresentation p(ObjectStorage(true, true));
    EXPECT_FALSE(p.GetPicture().isNull());
    EXPECT_EQ(p.GetTypeName(), "Paint Picture");
    EXPECT_TRUE(p.IsLinked());
}

TEST(OlePresentation, DamagedCachesShowNothing)
{
    std::string dib = SampleDib();
    EXPECT_TRUE(COlePresentation::DecodeDib(dib.substr(0, 30)).isNull());
    std::string huge = dib;
    huge[4] = '\xFF';
    huge[5] = '\xFF';
    huge[6] = '\xFF';
    huge[7] = '\x7F'; // width 2^31 - 1
    EXPECT_TRUE(COlePresentation::DecodeDib(huge).isNull());
    const std::string stream = PresentationStream(dib);
    for (std::size_t n = 0; n < stream.size(); n += 7)
        EXPECT_TRUE(COlePresentation::DecodePresentationStream(stream.substr(0, n)).isNull()) << n;
    EXPECT_TRUE(COlePresentation(CCompoundEntry()).GetPicture().isNull());
}

TEST(OleObjectDraw, ShowsTheCachedPictureInsideASolidTracker)
{
    CPage page(nullptr);
    COleObjectElement e(&page, 0, ItemWith(ObjectStorage(true, false), CRect(20, 20, 120, 120)));
    const QImage image = Render(e, false);
    EXPECT_EQ(image.pixel(40, 40), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(100, 40), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(40, 100), qRgb(0, 0, 255));
    EXPECT_EQ(image.pixel(100, 100), qRgb(0, 255, 0));
    // Frame one pixel outside, all black; handles inside the corners.
    EXPECT_EQ(BlackAlongRow(image, 19, 19, 121), 102);
    EXPECT_EQ(image.pixel(21, 21), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(18, 60), qRgb(255, 255, 255));
}

TEST(OleObjectDraw, LinkedObjectsGetADottedFrameAndOpenOnesAHatch)
{
    CPage page(nullptr);
    COleObjectElement linked(&page, 0, ItemWith(ObjectStorage(false, true), CRect(20, 20, 120, 120)));
    const QImage image = Render(linked, false);
    const int black = BlackAlongRow(image, 19, 30, 110);
    EXPECT_GT(black, 10);
    EXPECT_LT(black, 70);

    auto item = ItemWith(ObjectStorage(false, false), CRect(20, 20, 120, 120));
    COleObjectElement open(&page, 0, item);
    EXPECT_EQ(BlackAlongRow(Render(open, false), 70, 30, 110), 0);
    item->SetItemState(CVEKCntrItem::openState);
    EXPECT_GT(BlackAlongRow(Render(open, false), 70, 30, 110), 5);
}

TEST(OleObjectDraw, WithoutPictureALabelledFrameIsShown)
{
    CPage page(nullptr);
    COleObjectElement e(&page, 0, ItemWith(ObjectStorage(false, false), CRect(20, 20, 120, 120)));
    const QImage image = Render(e, false);
    EXPECT_EQ(image.pixel(100, 100), qRgb(240, 240, 240));
    int text = 0;
    for (int y = 22; y < 40; ++y)
        for (int x = 24; x < 110; ++x) text += qGray(image.pixel(x, y)) < 160 ? 1 : 0;
    EXPECT_GT(text, 20);
}

TEST(OleObjectDraw, PageRectangleComesFromTheItemOnceAndThenLeads)
{
    CPage page(nullptr);
    auto item = ItemWith(ObjectStorage(true, false), CRect(20, 20, 120, 120));
    COleObjectElement e(&page, 0, item);
    // First draw at 10 units per pixel from (1000, 2000).
    Render(e, false, 10.0, 1000, 2000);
    EXPECT_EQ(e.GetBoundRect(), CRect(1200, 2200, 2200, 3200));
    // Scrolling moves the object with the page; the item's stored
    // rectangle, part of its record, is left as it was read.
    const QImage scrolled = Render(e, false, 10.0, 1500, 2000);
    EXPECT_EQ(scrolled.pixel(60, 100), qRgb(0, 255, 0));
    EXPECT_EQ(scrolled.pixel(100, 100), qRgb(255, 255, 255));
    EXPECT_EQ(item->GetRect(), CRect(20, 20, 120, 120));
    // The page rectangle leads from then on, and drawing never writes back.
    e.SetRect(CRect(0, 0, 500, 500));
    const QImage moved = Render(e, false, 5.0, 0, 0);
    EXPECT_EQ(moved.pixel(85, 85), qRgb(0, 255, 0));
    EXPECT_EQ(item->GetRect(), CRect(20, 20, 120, 120));
}

TEST(OleObjectDraw, PrintingUsesTheLastRectangleAndNoFrame)
{
    CPage page(nullptr);
    COleObjectElement e(&page, 0, ItemWith(ObjectStorage(true, false), CRect(20, 20, 120, 120)));
    Render(e, false);
    const CRect onScreen = e.GetClientItem()->GetRect();
    const QImage printed = Render(e, true);
    EXPECT_EQ(printed.pixel(40, 40), qRgb(255, 0, 0));
    EXPECT_EQ(BlackAlongRow(printed, 19, 19, 121), 0);
    EXPECT_EQ(e.GetClientItem()->GetRect(), onScreen);
}
