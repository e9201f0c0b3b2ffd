#include "settings/CSystemSettings.h"
#include "settings/SettingsRepair.h"

#include "platform/CArchive.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstring>

namespace {

CSystemSettings Defaults()
{
    CSystemSettings s;
    s.SetDefaults();
    return s;
}

std::string ConfigBytes(const CSystemSettings& s)
{
    CArchive ar;
    s.StoreConfig(ar);
    return ar.Buffer();
}

std::string LineTypeBytes(const CSystemSettings& s)
{
    CArchive ar;
    s.StoreLineTypes(ar);
    return ar.Buffer();
}

std::string Le32(std::int32_t v)
{
    std::string s(4, '\0');
    for (int i = 0; i < 4; ++i) s[i] = char((std::uint32_t(v) >> (8 * i)) & 0xFF);
    return s;
}

} // namespace

TEST(SystemSettings, DefaultsFollowTheStockFontAndLineTypes)
{
    const CSystemSettings s = Defaults();
    EXPECT_EQ(s.m_lfDefaultFont.lfHeight, 318); // -12 px at 96 dpi
    EXPECT_EQ(s.m_lfDefaultFont.lfQuality, 1);
    EXPECT_EQ(s.m_nWorkUnit, 2);
    EXPECT_EQ(s.m_nPrecision, 100);
    EXPECT_EQ(s.m_nCaptureRadius, 15);
    ASSERT_EQ(s.m_aLineTypes.size(), 9u);
    EXPECT_EQ(s.m_aLineTypePreviews.size(), 4u);
    EXPECT_EQ(s.m_aLineTypes[3].GetKind(), 3);
    EXPECT_EQ(s.m_aLineTypes[3].GetParam(3), 300);
    EXPECT_EQ(s.m_aLineTypes[4].GetParam(6), 30);
    EXPECT_EQ(s.m_sizeDefaultPaper, CSize(21000, 29700));
    EXPECT_EQ(s.m_bTableMatching, 1);
}

TEST(SystemSettings, ConfigRecordStartsAsTheFileLaysItOut)
{
    const std::string bytes = ConfigBytes(Defaults());
    // version, work unit, precision, then the font's five ints.
    const std::string head = Le32(101) + Le32(2) + Le32(100) + Le32(318) + Le32(0) + Le32(0) + Le32(0) + Le32(400);
    ASSERT_GE(bytes.size(), head.size() + 8 + 5);
    EXPECT_EQ(bytes.substr(0, head.size()), head);
    // Eight single bytes, then the face name with its one-byte length.
    EXPECT_EQ(bytes.substr(head.size() + 8, 5), std::string("\x04\xCB\xCE\xCC\xE5"));
    EXPECT_EQ(bytes.substr(head.size() + 13, 4), Le32(15)); // capture radius
}

TEST(SystemSettings, EverySavedFieldReadsBack)
{
    CSystemSettings s = Defaults();
    s.m_nWorkUnit = 0;
    s.m_nPrecision = 64;
    s.m_crReserved1 = 0x123456;
    s.m_crReserved2 = 0x654321;
    s.m_dReserved = {1.5, -2.25, 3.0, 1e10};
    s.m_strBackupFile = "/tmp/\xB1\xB8\xB7\xDD.vek";
    s.m_strArchiveFolder = std::string(300, 'a');
    s.m_rcCellPadding = CRect(1, 2, 3, 4);
    s.m_nTextAlignment = 8;
    s.m_bTableMatching = 0;
    s.m_bAltCaptureMode = 1; // never saved

    CSystemSettings back = Defaults();
    CArchive ar(ConfigBytes(s));
    back.LoadConfig(ar);
    EXPECT_EQ(ar.BytesLeft(), 0u);
    EXPECT_EQ(ConfigBytes(back), ConfigBytes(s));
    EXPECT_EQ(back.m_bAltCaptureMode, 0);
    EXPECT_EQ(back.m_dReserved[3], 1e10);
}

TEST(SystemSettings, Version100FileKeepsTheNewerFieldsAtTheirDefaults)
{
    CSystemSettings s = Defaults();
    s.m_crReserved1 = 0xABCDEF;
    s.m_bTableMatching = 0;
    s.m_nOffsetDistance = 777;
    std::string bytes = ConfigBytes(s);
    // Drop the reserved colour (after capture radius and four colours) and
    // the trailing table-matching flag, and mark the record as version 100.
    const std::size_t fontEnd = 4 * 3 + 20 + 8 + 5;
    const std::size_t reservedAt = fontEnd + 4 * 5;
    bytes.erase(reservedAt, 4);
    bytes.erase(bytes.size() - 4);
    bytes.replace(0, 4, Le32(100));

    CSystemSettings back = Defaults();
    CArchive ar(bytes);
    back.LoadConfig(ar);
    EXPECT_EQ(ar.BytesLeft(), 0u);
    EXPECT_EQ(back.m_crReserved1, 0u);
    EXPECT_EQ(back.m_bTableMatching, 1);
    EXPECT_EQ(back.m_nOffsetDistance, 777);
    // Saved again, the record is version 101 with both fields.
    EXPECT_EQ(ConfigBytes(back).size(), ConfigBytes(s).size());
}

TEST(SystemSettings, DamagedOrMissingFilesKeepTheCurrentValues)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Config.dat"));
    CSystemSettings s = Defaults();
    s.m_nCaptureRadius = 99;

    QString warning;
    EXPECT_TRUE(s.LoadConfigFile(path, &warning)); // missing: no error
    EXPECT_EQ(s.m_nCaptureRadius, 99);

    std::string bytes = ConfigBytes(Defaults());
    for (std::size_t cut : {std::size_t(0), std::size_t(3), std::size_t(40), bytes.size() - 1}) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes.data(), qint64(cut));
        f.close();
        warning.clear();
        EXPECT_FALSE(s.LoadConfigFile(path, &warning)) << cut;
        EXPECT_FALSE(warning.isEmpty());
        EXPECT_EQ(s.m_nCaptureRadius, 99) << "half-read file changed the settings at " << cut;
    }
}

TEST(SystemSettings, FilesRoundTripThroughTheirPaths)
{
    QTemporaryDir dir;
    CSystemSettings s = Defaults();
    s.m_nOffsetLineCount = 4;
    ASSERT_TRUE(s.SaveConfigFile(dir.filePath(QStringLiteral("sub/Config.dat"))));
    ASSERT_TRUE(s.SaveLineTypeFile(dir.filePath(QStringLiteral("sub/LineType.dat"))));
    CSystemSettings back = Defaults();
    EXPECT_TRUE(back.LoadConfigFile(dir.filePath(QStringLiteral("sub/Config.dat"))));
    EXPECT_TRUE(back.LoadLineTypeFile(dir.filePath(QStringLiteral("sub/LineType.dat"))));
    EXPECT_EQ(back.m_nOffsetLineCount, 4);
    EXPECT_EQ(LineTypeBytes(back), LineTypeBytes(s));
}

TEST(LineTypeFile, FirstRunListsReadBackWithTheSecondList)
{
    const CSystemSettings s = Defaults();
    const std::string bytes = LineTypeBytes(s);
    EXPECT_EQ(bytes.substr(0, 8), Le32(100) + Le32(9));
    CSystemSettings back;
    CArchive ar(bytes);
    back.LoadLineTypes(ar);
    EXPECT_EQ(ar.BytesLeft(), 0u);
    EXPECT_EQ(back.m_aLineTypes.size(), 9u);
    EXPECT_EQ(back.m_aLineTypePreviews.size(), 4u);
    EXPECT_EQ(back.m_aLineTypes, s.m_aLineTypes);
}

TEST(LineTypeFile, CurrentIndexAndSecondListAreRepaired)
{
    CSystemSettings s = Defaults();
    s.m_aLineTypes.push_back(CLineAttr(20));
    struct Case {
        int storedIndex;
        int expectedIndex;
    };
    for (const Case c : {Case{12, 9}, Case{4, 4}}) {
        s.m_nCurLineType = c.storedIndex;
        s.m_aLineTypePreviews.clear(); // N = 10, M = 0: rebuilt from the first list
        CSystemSettings back;
        CArchive ar(LineTypeBytes(s));
        back.LoadLineTypes(ar);
        EXPECT_EQ(back.m_nCurLineType, c.expectedIndex);
        ASSERT_EQ(back.m_aLineTypePreviews.size(), 5u);
        for (int i = 0; i < 5; ++i) EXPECT_EQ(back.m_aLineTypePreviews[i], back.m_aLineTypes[i]);
    }
}

TEST(LineTypeFile, HugeOrEmptyCountsAreRefused)
{
    for (std::int32_t count : {0, -1, 0x7FFFFFFF}) {
        CSystemSettings s = Defaults();
        CArchive ar(Le32(100) + Le32(count) + std::string(16, '\0'));
        EXPECT_THROW(s.LoadLineTypes(ar), CArchiveError) << count;
        EXPECT_EQ(s.m_aLineTypes.size(), 9u);
    }
}

TEST(LineTypeFile, AddedCustomTypeGetsATwelveUnitPreview)
{
    CSystemSettings s = Defaults();
    CPointList zigzag{CPoint(0, 0), CPoint(600, 300), CPoint(1200, 0)};
    const CLineAttr custom(10, 50, CLineTypeShapeArray{CLineTypeShape(100, 0, zigzag)});
    ASSERT_TRUE(s.AddLineType(custom));
    ASSERT_EQ(s.m_aLineTypes.size(), 10u);
    ASSERT_EQ(s.m_aLineTypePreviews.size(), 5u);
    const CLineTypeShape& small = s.m_aLineTypePreviews.back().GetShapes().at(0);
    const CRect b = small.GetBoundRect();
    EXPECT_NEAR(b.Width(), 13, 1); // 12 units, right edge one past the last point
    EXPECT_EQ(small.GetPenWidth(), 1);

    const CLineAttr flat(10, 50, CLineTypeShapeArray{});
    EXPECT_FALSE(s.AddLineType(flat));
    EXPECT_EQ(s.m_aLineTypes.size(), 10u);
}

// A pattern taller than a thousand times its width would repeat along a
// line in less than a thousandth of the line's width: it is refused as a
// pattern without width is, up to that height it is taken.
TEST(LineTypeFile, APatternFarTallerThanWideIsRefused)
{
    CSystemSettings s = Defaults();
    const auto upright = [](int height) {
        const CPointList stroke{CPoint(0, 0), CPoint(9, height - 1)};
        return CLineAttr::Custom(300, 100, CLineTypeShapeArray{CLineTypeShape(10, 0, stroke)});
    };
    EXPECT_TRUE(s.AddLineType(upright(10 * CSystemSettings::kMaxPatternAspect)));
    EXPECT_FALSE(s.AddLineType(upright(10 * CSystemSettings::kMaxPatternAspect + 1)));
    EXPECT_FALSE(s.AddLineType(upright(2000000000)));
    EXPECT_EQ(s.m_aLineTypes.size(), 10u);
    EXPECT_EQ(s.m_aLineTypePreviews.size(), 5u);
}

namespace {

// The sawtooth saved as a line type in the damaged fixture below, and that
// fixture with its one flipped bit put back.
CLineAttr Sawtooth()
{
    const CPointList points{CPoint(0, 1200), CPoint(600, 0), CPoint(1200, 1200)};
    return CLineAttr::Custom(300, 100, CLineTypeShapeArray{CLineTypeShape(100, 0, points)});
}

std::string FixtureBytes(const char* name)
{
    QFile file(QStringLiteral(VEK_TESTDATA_DIR "/") + QString::fromLatin1(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
}

} // namespace

// One flipped bit moves a point of a display copy half a billion units
// out, which no line type gives and the line-type box would take for ever
// to draw: the file is damaged. With the bit put back it is the file that
// saving the sawtooth as a line type writes, and reads whole.
TEST(LineTypeFile, ADisplayCopyNoLineTypeGivesIsDamage)
{
    const std::string damaged = FixtureBytes("fuzz/LineType/preview-point-one-bit-far-out");
    ASSERT_FALSE(damaged.empty());
    CSystemSettings s = Defaults();
    CArchive ar(damaged);
    EXPECT_THROW(s.LoadLineTypes(ar), CArchiveError);
    EXPECT_EQ(s.m_aLineTypes.size(), 9u);

    CSystemSettings saved = Defaults();
    ASSERT_TRUE(saved.AddLineType(Sawtooth()));
    const std::string sound = LineTypeBytes(saved);
    ASSERT_EQ(sound.size(), damaged.size());
    std::string restored = damaged;
    const std::size_t flipped = sound.size() - 12; // the middle point's y
    restored[flipped + 3] = char(restored[flipped + 3] ^ 0x20);
    EXPECT_EQ(restored, sound);
    CArchive again(restored);
    EXPECT_NO_THROW(s.LoadLineTypes(again));
    EXPECT_EQ(s.m_aLineTypePreviews.back().GetShapes(), saved.m_aLineTypePreviews.back().GetShapes());
}

// Which display copies a custom line type can have: the one adding it
// makes, at any height up to the tallest pattern taken, or a copy of the
// line type in its place in the list (as a list read without display
// copies gets them); any other is damage.
TEST(LineTypeFile, DisplayCopiesAreTheScaledPatternOrTheCopiedLineType)
{
    CSystemSettings s = Defaults();
    const CPointList tallest{CPoint(0, 0), CPoint(9, 10 * CSystemSettings::kMaxPatternAspect - 1)};
    ASSERT_TRUE(s.AddLineType(Sawtooth()));
    ASSERT_TRUE(s.AddLineType(CLineAttr::Custom(300, 100, {CLineTypeShape(10, 0, tallest)})));
    const CLineAttr& sawtooth = s.m_aLineTypes[9];
    const auto moved = [](CLineAttr preview, CPoint by) {
        CLineTypeShapeArray shapes = preview.GetShapes();
        CPointList points = shapes.front().GetPoints();
        points.GetHead().Offset(by.x, by.y);
        shapes.front() = CLineTypeShape(shapes.front().GetPenWidth(), shapes.front().IsFilled(), points);
        preview.SetShapes(shapes);
        return preview;
    };
    const struct {
        const char* what;
        CLineAttr preview;
        bool sound;
    } cases[] = {
        {"the sawtooth scaled", s.m_aLineTypePreviews[4], true},
        {"the tallest pattern scaled", s.m_aLineTypePreviews[5], true},
        {"the sawtooth itself", sawtooth, true},
        {"a point one width out across", moved(s.m_aLineTypePreviews[4], CPoint(-7, 0)), false},
        {"a point far out along", moved(s.m_aLineTypePreviews[5], CPoint(0, -6001)), false},
        {"the sawtooth with a point moved", moved(sawtooth, CPoint(1, 0)), false},
    };
    for (const auto& c : cases) EXPECT_EQ(IsSoundPreview(c.preview, sawtooth), c.sound) << c.what;
}

namespace {

// Little-endian field builders for the hand-written fixtures below.
std::string I(std::int32_t v) { return Le32(v); }
std::string B(std::uint8_t v) { return std::string(1, char(v)); }
std::string S(const std::string& s) { return B(std::uint8_t(s.size())) + s; }
std::string D(double v)
{
    std::string out(8, '\0');
    std::uint64_t u;
    std::memcpy(&u, &v, 8);
    for (int i = 0; i < 8; ++i) out[i] = char((u >> (8 * i)) & 0xFF);
    return out;
}

} // namespace

TEST(SystemSettings, DefaultConfigRecordIsByteExact)
{
    CSystemSettings s = Defaults();
    s.m_strBackupFile = "/b.vek";
    s.m_strDocumentFolder = "/d/*.vek";
    s.m_strLibraryFolder = "";
    std::string expected = I(101) + I(2) + I(100);
    expected += I(318) + I(0) + I(0) + I(0) + I(400);
    expected += B(0) + B(0) + B(0) + B(134) + B(0) + B(0) + B(1) + B(0) + S("\xCB\xCE\xCC\xE5");
    expected += I(15) + I(0x000000) + I(0xFFFFFF) + I(0x0000FF) + I(0xFF0000) + I(0) /* reserved colour */
        + I(0x0000FF) + I(0xFFFFFF) + I(0x808080) + I(0xF0F0F0) + I(2) + I(5) + I(1);
    expected += I(0) + I(0) + I(1) + I(5) + S("/b.vek") + I(1) + S("/d/*.vek") + S("");
    expected += D(0) + D(0) + D(0) + D(0) + I(0) + S("");
    expected += I(0) + I(0) + D(53.0) + D(53.0) + I(600) + I(600) + I(21000) + I(29700);
    expected += I(500) + I(500) + I(500) + I(500) + I(1) + I(0x000000) + I(0xFFFFFF) + I(1) + I(100) + I(35) + I(25)
        + I(0x000000) + I(0xFFFFFF) + I(6) + I(10) + I(700) + I(3000) + I(1) + I(0) + I(50) + I(50) + I(50) + I(50)
        + I(4);
    expected += I(0x000000) + I(0xFFFFFF) + I(0) + I(1);
    EXPECT_EQ(ConfigBytes(s), expected);

    CSystemSettings back;
    CArchive ar(expected);
    back.LoadConfig(ar);
    EXPECT_EQ(ar.BytesLeft(), 0u);
    EXPECT_EQ(ConfigBytes(back), expected);
}

TEST(LineTypeFile, DefaultRecordIsByteExact)
{
    const std::string lineTypes[] = {
        I(0) + I(10),
        I(1) + I(10) + I(100) + I(100),
        I(2) + I(10) + I(100),
        I(3) + I(10) + I(200) + I(30) + I(300) + I(300),
        I(4) + I(10) + I(200) + I(30) + I(30) + I(30) + I(30) + I(30),
        I(5) + I(10) + I(100) + I(100),
        I(6) + I(10) + I(100) + I(100),
        I(7) + I(10) + I(100) + I(100),
        I(8) + I(10) + I(100) + I(100),
    };
    std::string expected = I(100) + I(9);
    for (const std::string& t : lineTypes) expected += t;
    expected += I(0) + I(4);
    for (int i = 0; i < 4; ++i) expected += lineTypes[i];
    EXPECT_EQ(LineTypeBytes(Defaults()), expected);
}
