#include "PageTestSupport.h"

#include "model/CPage.h"
#include "model/CPageSet.h"
#include "model/CSharedPoint.h"
#include "model/CTextPairElement.h"
#include "platform/CArchive.h"

#include <gtest/gtest.h>

namespace {

// Two pages. Page 0: a mirrored point stored before its source and its axis
// points, two inert elements at levels 2 and 0. Page 1: empty.
const std::string kHeader107 =
    "8A DF 56 9C | 6B 00 00 00 | 00 00"               // magic, version 107, reserved word
    "00000000 00000000 00000000 00000000 00000000 00000000"
    "00000000 00000000 00000000 00000000 00000000 00000000"
    "00000000 00000000 00000000 00000000 00000000"    // 17 reserved DWORDs
    "64 00 00 00"                                      // 100 units per mm
    "08 52 00 00 | 04 74 00 00"                        // paper 21000 x 29700
    "0A 00 00 00 | 14 00 00 00 | 1E 00 00 00 | 28 00 00 00"  // margins t b l r
    "78 56 34 12"                                      // reserved
    "02 00 00 00";                                     // 2 pages
const std::string kPages107 =
    "02 00 00 00"                                      // page 0: max level 2
    "04 00 00 00"                                      // 4 points
    "01 00 00 00 | 02 00 00 00 | 03 00 00 00 | 01 00 00 00"  // P0 mirror of P1 across P2-P3
    "00 00 00 00 | 64 00 00 00 | C8 00 00 00"          // P1 (100, 200)
    "00 00 00 00 | 00 00 00 00 | 00 00 00 00"          // P2 (0, 0)
    "00 00 00 00 | 00 00 00 00 | E8 03 00 00"          // P3 (0, 1000)
    "02 00 00 00"                                      // 2 elements
    "10 00 00 00 | 02 00 00 00"                        // kind 16, level 2
    "10 00 00 00 | 00 00 00 00"                        // kind 16, level 0
    "00 00 00 00 | 00 00 00 00 | 00 00 00 00";         // page 1: level 0, no points, no elements

// Field offsets in the fixture.
constexpr std::size_t kVersionAt = 4;
constexpr std::size_t kUnitsAt = 78;
constexpr std::size_t kPageCountAt = 110;
constexpr std::size_t kPointCountAt = 118;
constexpr std::size_t kP0Axis1At = 126;
constexpr std::size_t kP0Axis2At = 130;
constexpr std::size_t kP0SourceAt = 134;
constexpr std::size_t kElementCountAt = 174;
constexpr std::size_t kElement0KindAt = 178;
constexpr std::size_t kElement1KindAt = 186;

std::string Fixture107() { return Hex(kHeader107 + kPages107); }

std::string Stored(const CPageSet& set)
{
    CArchive ar;
    EXPECT_EQ(set.Store(ar), 1);
    return ar.Buffer();
}

void LoadInto(CPageSet& set, const std::string& bytes)
{
    CArchive ar(bytes);
    ASSERT_EQ(set.Load(ar), 1);
    EXPECT_EQ(ar.BytesLeft(), 0u);
}

TEST(PageSetRecord, ReadsTheFixtureField107ByField)
{
    CPageSet set;
    LoadInto(set, Fixture107());
    EXPECT_EQ(set.GetVersion(), 107);
    EXPECT_EQ(set.GetUnitsPerMM(), 100);
    EXPECT_EQ(set.GetPaperSize(), CSize(21000, 29700));
    int t = 0, b = 0, l = 0, r = 0;
    set.GetMargins(t, b, l, r);
    EXPECT_EQ(t, 10);
    EXPECT_EQ(b, 20);
    EXPECT_EQ(l, 30);
    EXPECT_EQ(r, 40);
    EXPECT_EQ(set.GetReserved(), 0x12345678);
    ASSERT_EQ(set.GetPageCount(), 2);

    CPage* page = set.GetPageAt(0);
    EXPECT_EQ(page->GetMaxLevel(), 2);
    ASSERT_EQ(page->GetPointCount(), 4);
    CSharedPoint* p0 = page->GetPointAt(0);
    ASSERT_TRUE(p0->IsMirrored());
    CSharedPoint *source = nullptr, *a1 = nullptr, *a2 = nullptr;
    p0->GetMirror(source, a1, a2);
    EXPECT_EQ(source, page->GetPointAt(1));
    EXPECT_EQ(a1, page->GetPointAt(2));
    EXPECT_EQ(a2, page->GetPointAt(3));
    EXPECT_EQ(p0->GetPosition(), CPoint(-100, 200));
    EXPECT_EQ(page->GetPointAt(3)->GetPosition(), CPoint(0, 1000));

    ASSERT_EQ(page->GetElementCount(), 2);
    EXPECT_EQ(page->ElementAt(0)->GetType(), ELEMENT_TEXTPAIR);
    EXPECT_EQ(page->ElementAt(0)->GetLevel(), 2);
    EXPECT_EQ(page->ElementAt(1)->GetLevel(), 0);
    EXPECT_EQ(page->ElementAt(0)->GetLayer(), page);

    EXPECT_EQ(set.GetPageAt(1)->GetPointCount(), 0);
    EXPECT_EQ(set.GetPageAt(1)->GetElementCount(), 0);
    EXPECT_EQ(set.GetPageAt(1)->GetOwner(), &set);
}

TEST(PageSetRecord, WritesTheFixtureByteForByte)
{
    CPageSet set;
    LoadInto(set, Fixture107());
    EXPECT_EQ(Stored(set), Fixture107());
}

TEST(PageSetRecord, BuildsTheFixtureFromScratch)
{
    CPageSet set(107, 100);
    set.SetMargins(10, 20, 30, 40);
    set.AppendPage();
    set.AppendPage();
    CPage* page = set.GetPageAt(0);
    auto* source = new CSharedPoint(page, 100, 200);
    auto* axis1 = new CSharedPoint(page, 0, 0);
    auto* axis2 = new CSharedPoint(page, 0, 1000);
    page->AddPoint(new CSharedPoint(page, source, axis1, axis2));
    page->AddPoint(source);
    page->AddPoint(axis1);
    page->AddPoint(axis2);
    page->AddElement(new CTextPairElement(page, 2));
    page->AddElement(new CTextPairElement(page, 0));

    // The reserved field can only come from a record.
    std::string expected = Fixture107();
    Put32(expected, kPageCountAt - 4, 0);
    EXPECT_EQ(Stored(set), expected);
}

// Older files read the same page layout; every store is at 107.
class PageSetOlderVersion : public ::testing::TestWithParam<int> {};

TEST_P(PageSetOlderVersion, LoadsAndWritesBackAt107)
{
    std::string bytes = Fixture107();
    Put32(bytes, kVersionAt, GetParam());
    CPageSet set;
    LoadInto(set, bytes);
    EXPECT_EQ(set.GetVersion(), 107);
    EXPECT_EQ(set.GetPageAt(0)->GetPointAt(0)->GetPosition(), CPoint(-100, 200));
    EXPECT_EQ(Stored(set), Fixture107());
}

INSTANTIATE_TEST_SUITE_P(Versions, PageSetOlderVersion, ::testing::Values(102, 103, 104, 105, 106));

TEST(PageSetRecord, Version101PointsArePlainAndEightBytes)
{
    const std::string v101 = Bytes()
                                 .header(101, 1)
                                 .i32(0)  // max level
                                 .i32(2)
                                 .i32(5).i32(6)  // plain (5, 6), no flag
                                 .i32(1).i32(8)  // (1, 8): a flag of 1 would mean mirrored at 102
                                 .i32(0)
                                 .data;
    CPageSet set;
    LoadInto(set, v101);
    EXPECT_EQ(set.GetVersion(), 107);
    CPage* page = set.GetPageAt(0);
    ASSERT_EQ(page->GetPointCount(), 2);
    EXPECT_FALSE(page->GetPointAt(0)->IsMirrored());
    EXPECT_FALSE(page->GetPointAt(1)->IsMirrored());
    EXPECT_EQ(page->GetPointAt(1)->GetPosition(), CPoint(1, 8));

    const std::string expected =
        Bytes().header(107, 1).i32(0).i32(2).plainPoint(5, 6).plainPoint(1, 8).i32(0).data;
    EXPECT_EQ(Stored(set), expected);
}

TEST(PageSetRecord, WrongMagicReadsFourBytesAndChangesNothing)
{
    std::string bytes = Fixture107();
    bytes[0] = char(0x8B);
    CPageSet set;
    set.AppendPage();
    set.SetPaperSize(100, 200);
    CArchive ar(bytes);
    EXPECT_EQ(set.Load(ar), 0);
    EXPECT_EQ(ar.Position(), 4u);
    EXPECT_EQ(set.GetPageCount(), 1);
    EXPECT_EQ(set.GetPaperSize(), CSize(100, 200));
}

TEST(PageSetRecord, EveryTruncationFails)
{
    const std::string bytes = Fixture107();
    for (std::size_t n = 0; n < bytes.size(); ++n) {
        CPageSet set;
        CArchive ar(bytes.substr(0, n));
        EXPECT_THROW(set.Load(ar), CArchiveError) << "cut at " << n;
        EXPECT_EQ(set.GetVersion(), 107) << "cut at " << n;
    }
}

struct Damage {
    const char* name;
    std::size_t offset;
    std::int32_t value;
};

class PageSetDamage : public ::testing::TestWithParam<Damage> {};

TEST_P(PageSetDamage, FailsWithArchiveError)
{
    std::string bytes = Fixture107();
    Put32(bytes, GetParam().offset, GetParam().value);
    CPageSet set;
    CArchive ar(bytes);
    EXPECT_THROW(set.Load(ar), CArchiveError);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, PageSetDamage,
    ::testing::Values(Damage{"NoPages", kPageCountAt, 0}, Damage{"NegativePages", kPageCountAt, -1},
                      Damage{"HugePages", kPageCountAt, 0x7FFFFFFF},
                      Damage{"ZeroUnits", kUnitsAt, 0}, Damage{"NegativeUnits", kUnitsAt, -100},
                      Damage{"HugePoints", kPointCountAt, 0x40000000},
                      Damage{"NegativePoints", kPointCountAt, -1},
                      Damage{"HugeElements", kElementCountAt, 0x7FFFFFFF},
                      Damage{"NegativeElements", kElementCountAt, -5},
                      Damage{"MirrorsItself", kP0SourceAt, 0},
                      Damage{"AxisIsItself", kP0Axis2At, 0},
                      Damage{"UnknownKind64", kElement0KindAt, 64},
                      Damage{"UnknownKind0", kElement1KindAt, 0},
                      Damage{"UnknownKindNegative", kElement1KindAt, -1},
                      Damage{"TableKind", kElement0KindAt, 8},
                      Damage{"TwoKinds", kElement0KindAt, 3}),
    [](const ::testing::TestParamInfo<Damage>& info) { return std::string(info.param.name); });

// Paper and margins as the page-size dialog lets them be: each side more
// than 50 mm and at most 100 m, margins from 0 to less than the paper
// across them together. Anything else comes from damage (a flipped bit
// made a margin of -2147483148) and is refused, the sums taken wide.
TEST(PageSetRecord, PaperAndMarginsOutsideTheDialogsBoundsAreRefused)
{
    constexpr std::size_t kPaperAt = kUnitsAt + 4;
    constexpr std::size_t kMarginsAt = kPaperAt + 8;
    const struct {
        const char* name;
        std::int32_t units, width, height, top, bottom, left, right;
        bool loads;
    } cases[] = {
        {"A4", 100, 21000, 29700, 500, 500, 500, 500, true},
        {"no margins", 100, 21000, 29700, 0, 0, 0, 0, true},
        {"50 mm wide", 100, 5000, 29700, 0, 0, 0, 0, false},
        {"50.01 mm wide", 100, 5001, 29700, 0, 0, 0, 0, true},
        {"100 m high", 100, 21000, 10000000, 0, 0, 0, 0, true},
        {"past 100 m", 100, 21000, 10000001, 0, 0, 0, 0, false},
        {"negative paper", 100, -21000, 29700, 0, 0, 0, 0, false},
        {"flipped bottom margin", 100, 21000, 29700, 500, -2147483148LL, 500, 500, false},
        {"negative left margin", 100, 21000, 29700, 0, 0, -1, 0, false},
        {"margins filling the width", 100, 21000, 29700, 0, 0, 10500, 10500, false},
        {"margins just inside", 100, 21000, 29700, 14000, 15699, 0, 0, true},
        {"margins overflowing int", 100, 21000, 29700, 0, 0, 0x7FFFFFFF, 0x7FFFFFFF, false},
        {"ten units to the mm", 10, 2100, 2970, 50, 50, 50, 50, true},
        {"A4 at ten units to the mm", 10, 21000, 29700, 0, 0, 0, 0, true},
    };
    for (const auto& c : cases) {
        std::string bytes = Fixture107();
        Put32(bytes, kUnitsAt, c.units);
        Put32(bytes, kPaperAt, c.width);
        Put32(bytes, kPaperAt + 4, c.height);
        const std::int32_t margins[] = {c.top, c.bottom, c.left, c.right};
        for (int i = 0; i < 4; ++i) Put32(bytes, kMarginsAt + 4 * std::size_t(i), margins[i]);
        CPageSet set;
        CArchive ar(bytes);
        if (c.loads) {
            EXPECT_EQ(set.Load(ar), 1) << c.name;
            EXPECT_EQ(set.GetPaperSize(), CSize(c.width, c.height)) << c.name;
        } else {
            EXPECT_THROW(set.Load(ar), CArchiveError) << c.name;
        }
    }
}

TEST(PageSetRecord, MirrorCyclesFail)
{
    // Two points mirroring each other, and a longer cycle through an axis
    // point: none has a root to compute from.
    const std::string pairCycle = Bytes()
                                      .header(107, 1)
                                      .i32(0)
                                      .i32(4)
                                      .mirroredPoint(2, 3, 1)
                                      .mirroredPoint(2, 3, 0)
                                      .plainPoint(0, 0)
                                      .plainPoint(0, 10)
                                      .i32(0)
                                      .data;
    const std::string axisCycle = Bytes()
                                      .header(107, 1)
                                      .i32(0)
                                      .i32(4)
                                      .mirroredPoint(2, 3, 1)  // P0 from P1 across P2-P3
                                      .mirroredPoint(0, 3, 2)  // P1 across P0-P3
                                      .plainPoint(0, 0)
                                      .plainPoint(0, 10)
                                      .i32(0)
                                      .data;
    for (const std::string& bytes : {pairCycle, axisCycle}) {
        CPageSet set;
        CArchive ar(bytes);
        EXPECT_THROW(set.Load(ar), CArchiveError);
    }
}

// The original program deletes axis points still in use, leaving mirrored
// points whose numbers name nothing. Such a document loads: the point
// stays where it is (a mirrored record holds no place: the origin), and the
// record goes out again exactly as it came in, also from an undo snapshot.
class PageSetMissingLink : public ::testing::TestWithParam<Damage> {};

TEST_P(PageSetMissingLink, LoadsAndWritesTheRecordBackAsItWasRead)
{
    std::string bytes = Fixture107();
    Put32(bytes, GetParam().offset, GetParam().value);
    CPageSet set;
    LoadInto(set, bytes);
    CPage* page = set.GetPageAt(0);
    CSharedPoint* p0 = page->GetPointAt(0);
    EXPECT_FALSE(p0->IsMirrored());
    EXPECT_TRUE(p0->HasMissingLink());
    EXPECT_EQ(p0->GetPosition(), CPoint(0, 0));
    EXPECT_EQ(Stored(set), bytes);

    CPageSet snapshot;
    snapshot.CopyFrom(set);
    EXPECT_TRUE(snapshot.GetPageAt(0)->GetPointAt(0)->HasMissingLink());
    EXPECT_EQ(Stored(snapshot), bytes);

    // Dragged, it moves by itself: nothing to reflect.
    p0->MoveTo(70, 80, 1);
    EXPECT_EQ(p0->GetPosition(), CPoint(70, 80));
    EXPECT_EQ(page->GetPointAt(1)->GetPosition(), CPoint(100, 200));
}

INSTANTIATE_TEST_SUITE_P(
    Links, PageSetMissingLink,
    ::testing::Values(Damage{"SourceBeyondPool", kP0SourceAt, 4}, Damage{"SourceNegative", kP0SourceAt, -1},
                      Damage{"SourceFarBeyond", kP0SourceAt, 0x7FFFFFFF},
                      Damage{"AxisNegative", kP0Axis2At, -2}, Damage{"SecondAxisLost", kP0Axis2At, -1},
                      Damage{"SecondAxisBeyondPool", kP0Axis2At, 4},
                      Damage{"FirstAxisLost", kP0Axis1At, -1}, Damage{"FirstAxisBeyondPool", kP0Axis1At, 9}),
    [](const ::testing::TestParamInfo<Damage>& info) { return std::string(info.param.name); });

// A point added later makes number 4 a real point: it must not become the
// lost source of point 0 on the next load.
TEST(PageSetRecord, AMissingLinkNeverNamesAPointAddedLater)
{
    std::string bytes = Fixture107();
    Put32(bytes, kP0SourceAt, 4);
    CPageSet set;
    LoadInto(set, bytes);
    CPage* page = set.GetPageAt(0);
    page->AddPoint(new CSharedPoint(page, 5, 5));
    const std::string stored = Stored(set);
    EXPECT_EQ(stored.substr(kP0SourceAt, 4), Hex("FFFFFFFF"));

    CPageSet again;
    LoadInto(again, stored);
    EXPECT_TRUE(again.GetPageAt(0)->GetPointAt(0)->HasMissingLink());
}

// Both axis numbers name one point: no line to reflect across. The point
// keeps its place and the record its numbers.
TEST(PageSetRecord, AnAxisOfOnePointKeepsThePlace)
{
    std::string bytes = Fixture107();
    Put32(bytes, kP0Axis2At, 2);
    CPageSet set;
    LoadInto(set, bytes);
    CSharedPoint* p0 = set.GetPageAt(0)->GetPointAt(0);
    EXPECT_TRUE(p0->IsMirrored());
    EXPECT_EQ(p0->GetPosition(), CPoint(0, 0));
    EXPECT_EQ(Stored(set), bytes);

    // A copy keeps the place the point had, not a computed one.
    p0->MoveTo(30, 40, 0);  // moves the source; the point cannot follow
    CPageSet snapshot;
    snapshot.CopyFrom(set);
    EXPECT_EQ(snapshot.GetPageAt(0)->GetPointAt(0)->GetPosition(), p0->GetPosition());
    EXPECT_EQ(Stored(snapshot), Stored(set));
}

TEST(PageSetRecord, LostFirstAxisPointReadsAsPlainPoint)
{
    // Files whose first axis point number was lost (-1) read the point as a
    // plain one rather than failing.
    const std::string bytes =
        Bytes().header(107, 1).i32(0).i32(1).mirroredPoint(-1, 7, 9).i32(0).data;
    CPageSet set;
    LoadInto(set, bytes);
    EXPECT_FALSE(set.GetPageAt(0)->GetPointAt(0)->IsMirrored());
}

TEST(PageSetPages, InsertAndRemoveKeepToTheRange)
{
    CPageSet set;
    set.InsertPage(1);  // beyond count 0
    EXPECT_EQ(set.GetPageCount(), 0);
    set.InsertPage(-1);
    EXPECT_EQ(set.GetPageCount(), 0);
    set.AppendPage();
    CPage* first = set.GetPageAt(0);
    set.InsertPage(1);  // == count appends
    CPage* second = set.GetPageAt(1);
    set.InsertPageAtFront();
    ASSERT_EQ(set.GetPageCount(), 3);
    EXPECT_EQ(set.GetPageAt(1), first);
    EXPECT_EQ(set.GetPageAt(2), second);
    EXPECT_EQ(set.GetPageAt(0)->GetOwner(), &set);

    set.SetCurrentPageIndex(2);
    set.RemovePage(-1);
    set.RemovePage(3);
    EXPECT_EQ(set.GetPageCount(), 3);
    set.RemovePage(0);
    ASSERT_EQ(set.GetPageCount(), 2);
    EXPECT_EQ(set.GetPageAt(0), first);
    EXPECT_EQ(set.GetCurrentPageIndex(), 2);  // left to the caller
}

TEST(PageSetPages, CurrentPageFormsActOnTheCurrentPage)
{
    CPageSet set;
    set.AppendPage();
    set.AppendPage();
    set.SetCurrentPageIndex(1);
    CPage* page = set.GetPageAt(1);
    auto* point = new CSharedPoint(page, 1, 2);
    set.AddPoint(point);
    set.AddElementToPage(new FakeElement(page, ELEMENT_IMAGE, 4, CRect(0, 0, 10, 10), 0, point));
    EXPECT_EQ(page->GetPointCount(), 1);
    EXPECT_EQ(set.GetElementCount(), 1);
    EXPECT_EQ(set.GetElementCount(0), 0);
    EXPECT_EQ(set.GetPageMaxLevel(), 4);

    CList<CGraphElement*> found;
    // Corners in any order; both points belong to the rectangle.
    EXPECT_EQ(set.GetElementsInDragRect(CPoint(20, 20), CPoint(9, 9), ELEMENT_ALL, found), 1);
    EXPECT_EQ(set.GetElementsInDragRect(CPoint(20, 20), CPoint(10, 10), ELEMENT_ALL, found), 0);

    CGraphElement* hit = nullptr;
    EXPECT_EQ(set.HitTestImage(5, 5, hit), 1);
    EXPECT_EQ(set.HitTestImage(0, 5, 5, hit), 0);
}

TEST(PageSetCopy, CopyIsDeepAndStoresTheSame)
{
    CPageSet source;
    LoadInto(source, Fixture107());
    source.SetCurrentPageIndex(1);

    CPageSet copy;
    copy.CopyFrom(source);
    EXPECT_EQ(copy.GetCurrentPageIndex(), 1);
    EXPECT_EQ(copy.GetReserved(), 0x12345678);
    EXPECT_EQ(Stored(copy), Fixture107());

    CPage* page = copy.GetPageAt(0);
    EXPECT_EQ(page->GetOwner(), &copy);
    EXPECT_NE(page, source.GetPageAt(0));
    CSharedPoint* mirrored = page->GetPointAt(0);
    EXPECT_EQ(mirrored->GetMirrorSource(), page->GetPointAt(1));
    EXPECT_EQ(page->ElementAt(0)->GetLayer(), page);

    // Changing the source leaves the copy alone.
    source.GetPageAt(0)->GetPointAt(1)->MoveTo(300, 400, 1);
    source.RemovePage(1);
    EXPECT_EQ(mirrored->GetPosition(), CPoint(-100, 200));
    EXPECT_EQ(Stored(copy), Fixture107());
}

TEST(PageSetCopy, CopyReplacesEarlierPages)
{
    CPageSet source;
    LoadInto(source, Fixture107());
    CPageSet copy;
    copy.AppendPage();
    copy.AppendPage();
    copy.AppendPage();
    copy.CopyFrom(source);
    EXPECT_EQ(copy.GetPageCount(), 2);
    EXPECT_EQ(Stored(copy), Fixture107());
}

}  // namespace
