#include "model/CLineAttr.h"

#include "platform/CArchive.h"

#include "HexBytes.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

std::string Stored(const CLineAttr& a)
{
    CArchive ar;
    EXPECT_EQ(a.Store(ar), 1);
    return ar.Buffer();
}

CLineTypeShapeArray OneShape(int right, int bottom)
{
    return {CLineTypeShape(5, 1, CPointList{{0, 0}, {right, bottom}})};
}

struct Params {
    int kind, width, p[6];
};

void ExpectParams(const CLineAttr& a, const Params& e, const char* what)
{
    EXPECT_EQ(a.GetKind(), e.kind) << what;
    EXPECT_EQ(a.GetWidth(), e.width) << what;
    for (int i = 0; i < 6; ++i) EXPECT_EQ(a.GetParam(i + 1), e.p[i]) << what << " p" << i + 1;
}

} // namespace

TEST(LineAttrConstruct, EachConstructorDerivesItsParametersFromTheWidth)
{
    ExpectParams(CLineAttr(), {0, 0, {0, 0, 0, 0, 0, 0}}, "default");
    ExpectParams(CLineAttr(30), {0, 30, {0, 0, 0, 0, 0, 0}}, "plain");
    ExpectParams(CLineAttr(30, 99, 99), {1, 30, {300, 300, 0, 0, 0, 0}}, "dashed");
    ExpectParams(CLineAttr(30, 99), {2, 30, {30, 300, 0, 0, 0, 0}}, "dotted");
    ExpectParams(CLineAttr(-5, 99), {2, -5, {-5, 0, 0, 0, 0, 0}}, "dotted, negative width");
    ExpectParams(CLineAttr(30, 99, 99, 7, 8), {3, 30, {600, 90, 21, 24, 0, 0}}, "dash pair");
    ExpectParams(CLineAttr(30, 9, 9, 9, 9, 9, 9), {4, 30, {600, 90, 90, 90, 90, 90}}, "dash triple");
    ExpectParams(CLineAttr(LINE_DOUBLE, 30, 9, 9), {8, 30, {300, 300, 0, 0, 0, 0}}, "double");
    // Pattern 100 x 50 on a 20-wide line: 40 long.
    const CLineAttr custom(20, 50, OneShape(99, 49));
    ExpectParams(custom, {-1, 20, {40, 50, 0, 0, 0, 0}}, "custom");
    EXPECT_EQ(custom.GetShapes().size(), 1u);
    EXPECT_TRUE(CLineAttr(30, 99, 99).GetShapes().empty());
}

TEST(LineAttrPeriod, FollowsTheKind)
{
    struct Case {
        CLineAttr attr;
        int period;
    } cases[] = {
        {CLineAttr(30), INT_MAX},
        {CLineAttr(30, 0, 0), 600},
        {CLineAttr(30, 0), 330}, // width + gap, not p1 + p2
        {CLineAttr(30, 0, 0, 7, 8), 735},
        {CLineAttr(30, 0, 0, 0, 0, 0, 0), 1050},
        {CLineAttr(LINE_SIDE_PLUS, 30, 0, 0), 200},
        {CLineAttr(LINE_SIDE_BOTH, 1, 0, 0), 200},
        {CLineAttr(20, 50, OneShape(99, 49)), 90},
        {CLineAttr(LINE_DOUBLE + 1, 30, 0, 0), 0},
        {CLineAttr(-2, 30, 0, 0), 0},
    };
    for (const Case& c : cases) EXPECT_EQ(c.attr.GetPeriod(), c.period) << "kind " << c.attr.GetKind();
}

TEST(LineAttrPeriod, SumsSaturateInsteadOfOverflowing)
{
    CLineAttr a(30, 0, 0);
    a.SetParam(1, INT_MAX);
    a.SetParam(2, INT_MAX);
    EXPECT_EQ(a.GetPeriod(), INT_MAX);
}

TEST(LineAttrPeriod, PatternsThatCannotBeLaidOutDrawPlain)
{
    auto with = [](CLineAttr a, int n, int v) {
        a.SetParam(n, v);
        return a;
    };
    EXPECT_TRUE(CLineAttr(30).DrawsPlain());
    EXPECT_FALSE(CLineAttr(30, 0, 0).DrawsPlain());
    EXPECT_TRUE(with(with(CLineAttr(30, 0, 0), 1, 0), 2, 0).DrawsPlain());
    EXPECT_TRUE(with(with(CLineAttr(30, 0, 0), 1, -100), 2, 150).DrawsPlain());
    EXPECT_FALSE(CLineAttr(30, 0).DrawsPlain());
    EXPECT_TRUE(CLineAttr(0, 0).DrawsPlain()); // dots of width 0 with no gap
    EXPECT_TRUE(with(CLineAttr(30, 0, 0, 0, 0, 0, 0), 6, -1).DrawsPlain());
    EXPECT_FALSE(CLineAttr(LINE_DOUBLE, 30, 0, 0).DrawsPlain());
    EXPECT_TRUE(CLineAttr(LINE_DOUBLE, 0, 0, 0).DrawsPlain());
    EXPECT_TRUE(CLineAttr(12, 30, 0, 0).DrawsPlain());
    // Custom: a period of zero, a pattern without extent, no shapes.
    EXPECT_FALSE(CLineAttr(20, 50, OneShape(99, 49)).DrawsPlain());
    EXPECT_TRUE(CLineAttr(0, 0, OneShape(99, 49)).DrawsPlain());
    EXPECT_TRUE(CLineAttr(20, 50, {CLineTypeShape()}).DrawsPlain());
    EXPECT_TRUE(CLineAttr(20, 50, CLineTypeShapeArray()).DrawsPlain());
}

TEST(LineAttrPattern, LengthFollowsTheWidth)
{
    CLineAttr a(20, 50, OneShape(99, 49));
    a.SetWidth(40);
    a.RecalcPatternPeriod();
    EXPECT_EQ(a.GetParam(1), 80);
    CLineAttr dashed(30, 0, 0);
    dashed.SetWidth(60);
    dashed.RecalcPatternPeriod();
    EXPECT_EQ(dashed.GetParam(1), 300);
}

TEST(LineAttrCompare, ComparesOnlyWhatTheKindUses)
{
    auto with = [](CLineAttr a, int n, int v) {
        a.SetParam(n, v);
        return a;
    };
    const CLineAttr custom(20, 50, OneShape(99, 49));
    CLineAttr otherPattern(20, 50, OneShape(199, 99)); // same proportions, other shapes
    EXPECT_EQ(otherPattern.GetParam(1), custom.GetParam(1));
    EXPECT_TRUE(custom == otherPattern);
    EXPECT_FALSE(custom == with(custom, 2, 51));
    EXPECT_TRUE(CLineAttr(30, 0) == with(CLineAttr(30, 0), 1, 1));
    EXPECT_FALSE(CLineAttr(30, 0) == with(CLineAttr(30, 0), 2, 1));
    EXPECT_FALSE(CLineAttr(30, 0, 0) == with(CLineAttr(30, 0, 0), 2, 1));
    EXPECT_FALSE(CLineAttr(30, 0, 0, 0, 0, 0, 0) == with(CLineAttr(30, 0, 0, 0, 0, 0, 0), 6, 1));
    EXPECT_TRUE(CLineAttr(30, 0, 0, 0, 0) == with(CLineAttr(30, 0, 0, 0, 0), 5, 1));
    EXPECT_TRUE(CLineAttr(LINE_SIDE_MINUS, 30, 0, 0) == with(CLineAttr(LINE_SIDE_MINUS, 30, 0, 0), 1, 1));
    EXPECT_FALSE(CLineAttr(30) == CLineAttr(31));
    EXPECT_FALSE(CLineAttr(30) == CLineAttr(30, 0));
}

TEST(LineAttrCopy, ShapesAreCopiedDeepAndOnlyForTheCustomKind)
{
    CLineAttr custom(20, 50, OneShape(99, 49));
    CLineAttr copy(custom);
    ASSERT_EQ(copy.GetShapes().size(), 1u);
    custom.SetShapes(OneShape(9, 9));
    EXPECT_EQ(copy.GetShapes()[0].GetBoundRect(), CRect(0, 0, 100, 50));

    CLineAttr target(20, 50, OneShape(99, 49));
    target = CLineAttr(30, 0, 0);
    EXPECT_TRUE(target.GetShapes().empty());
    EXPECT_EQ(target.GetKind(), LINE_DASH);
}

namespace {

struct RecordCase {
    const char* name;
    CLineAttr attr;
    const char* hex;
};

const RecordCase kRecords[] = {
    {"plain", CLineAttr(30), "00000000 1E000000"},
    {"dashed", CLineAttr(30, 0, 0), "01000000 1E000000 2C010000 2C010000"},
    {"dotted", CLineAttr(30, 0), "02000000 1E000000 2C010000"},
    {"dash pair", CLineAttr(30, 0, 0, 30, 30), "03000000 1E000000 58020000 5A000000 5A000000 5A000000"},
    {"dash triple", CLineAttr(30, 0, 0, 0, 0, 0, 0),
     "04000000 1E000000 58020000 5A000000 5A000000 5A000000 5A000000 5A000000"},
    {"side", CLineAttr(LINE_SIDE_PLUS, 30, 0, 0), "05000000 1E000000 2C010000 2C010000"},
    {"double", CLineAttr(LINE_DOUBLE, 30, 0, 0), "08000000 1E000000 2C010000 2C010000"},
    {"custom", CLineAttr(20, 50, OneShape(99, 49)),
     "FFFFFFFF 14000000 32000000 01000000"
     "05000000 01000000 02000000 00000000 00000000 63000000 31000000"},
    {"unknown kind", CLineAttr(9, 30, 0, 0), "09000000 1E000000"},
};

} // namespace

TEST(LineAttrRecord, StoresEachKindByteForByte)
{
    for (const RecordCase& c : kRecords) EXPECT_EQ(Stored(c.attr), HexBytes(c.hex)) << c.name;
}

TEST(LineAttrRecord, LoadsEachKindAndStopsAtItsEnd)
{
    for (const RecordCase& c : kRecords) {
        for (int fromLineTypeFile = 0; fromLineTypeFile < 2; ++fromLineTypeFile) {
            CArchive ar(HexBytes(c.hex) + "\x7F");
            CLineAttr a(20, 50, OneShape(5, 5));
            if (fromLineTypeFile)
                EXPECT_EQ(a.LoadFromLineTypeFile(ar), 1);
            else
                EXPECT_EQ(a.Load(ar, 107), 1);
            EXPECT_EQ(ar.BytesLeft(), 1u) << c.name;
            EXPECT_TRUE(a == c.attr) << c.name;
            EXPECT_EQ(a.GetShapes().size(), c.attr.GetShapes().size()) << c.name;
            EXPECT_EQ(Stored(a), HexBytes(c.hex)) << c.name;
        }
    }
}

TEST(LineAttrRecord, SideLineParametersStartAtVersion106)
{
    const std::string old = HexBytes("07000000 1E000000 7F");
    const std::string recent = HexBytes("07000000 1E000000 0A000000 14000000 7F");
    {
        CArchive ar(old);
        CLineAttr a;
        a.Load(ar, 105);
        EXPECT_EQ(ar.BytesLeft(), 1u);
        EXPECT_EQ(a.GetParam(1), 300);
        EXPECT_EQ(a.GetParam(2), 300);
        EXPECT_EQ(Stored(a), HexBytes("07000000 1E000000 2C010000 2C010000"));
    }
    {
        CArchive ar(recent);
        CLineAttr a;
        a.Load(ar, 106);
        EXPECT_EQ(ar.BytesLeft(), 1u);
        EXPECT_EQ(a.GetParam(1), 10);
        EXPECT_EQ(a.GetParam(2), 20);
    }
    {
        // The line-type file always carries them.
        CArchive ar(recent);
        CLineAttr a;
        a.LoadFromLineTypeFile(ar);
        EXPECT_EQ(ar.BytesLeft(), 1u);
        EXPECT_EQ(a.GetParam(2), 20);
    }
    {
        // Versions before 106 still read the parameters of the dash kinds.
        CArchive ar(HexBytes("01000000 1E000000 0A000000 14000000"));
        CLineAttr a;
        a.Load(ar, 101);
        EXPECT_EQ(a.GetParam(2), 20);
    }
}

TEST(LineAttrRecord, CustomPatternLengthIsDerivedFromTheLoadedShapes)
{
    // Shape 200 x 50 on a 20-wide line: 80 long, whatever p1 was.
    CArchive ar(HexBytes("FFFFFFFF 14000000 32000000 01000000"
                         "05000000 01000000 02000000 00000000 00000000 C7000000 31000000"));
    CLineAttr a(20, 50, OneShape(9, 9));
    a.Load(ar, 107);
    EXPECT_EQ(a.GetParam(1), 80);
    EXPECT_EQ(a.GetParam(2), 50);
}

TEST(LineAttrRecord, CustomPatternWithoutExtentKeepsTheOldLength)
{
    CArchive ar(HexBytes("FFFFFFFF 14000000 32000000 01000000  05000000 00000000 00000000"));
    CLineAttr a(20, 50, CLineTypeShapeArray());
    a.SetParam(1, 77);
    a.Load(ar, 107);
    EXPECT_EQ(a.GetParam(1), 77);
    EXPECT_EQ(a.GetShapes().size(), 1u);
}

TEST(LineAttrRecord, LoadingAnotherKindDropsThePattern)
{
    CArchive ar(HexBytes("01000000 1E000000 0A000000 14000000"));
    CLineAttr a(20, 50, OneShape(9, 9));
    a.Load(ar, 107);
    EXPECT_TRUE(a.GetShapes().empty());
}

TEST(LineAttrRecord, DamagedRecordsThrowAndLeaveTheAttributes)
{
    const std::string cases[] = {
        HexBytes("FFFFFFFF 14000000 32000000 FFFFFF7F 00000000"), // shape count beyond the bytes
        HexBytes("FFFFFFFF 14000000 32000000 FEFFFFFF"),          // negative shape count
        HexBytes("FFFFFFFF 14000000 32000000 01000000 05000000 01000000 FFFFFF0F"), // points beyond
        HexBytes("04000000 1E000000 58020000 5A000000"),          // dash triple cut short
    };
    const CLineAttr before(20, 50, OneShape(99, 49));
    for (const std::string& bytes : cases) {
        CLineAttr a(before);
        CArchive ar(bytes);
        EXPECT_THROW(a.Load(ar, 107), CArchiveError);
        EXPECT_TRUE(a == before);
        EXPECT_EQ(a.GetShapes().size(), 1u);
    }
    for (const RecordCase& c : kRecords) {
        const std::string full = HexBytes(c.hex);
        for (std::size_t n = 0; n < full.size(); ++n) {
            CLineAttr a(before);
            CArchive ar(full.substr(0, n));
            EXPECT_THROW(a.Load(ar, 107), CArchiveError) << c.name << " cut at " << n;
            EXPECT_TRUE(a == before);
        }
    }
}
