#include "grading/CXlsReader.h"

#include "platform/CCompoundFile.h"
#include "platform/CodePage.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>

#include <cstring>
#include <string>
#include <vector>

// Readable failures.
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace {

using Rows = CXlsReader::Rows;
using Error = CXlsReader::Error;

std::string ReadFile(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return std::string();
    const QByteArray data = f.readAll();
    return std::string(data.constData(), std::size_t(data.size()));
}

// The expected texts of a workbook, as another reader saw them
// (tests/data/xls/make_expected.py), in UTF-8.
std::vector<std::vector<QString>> Expected(const QString& name)
{
    const std::string text = ReadFile(QStringLiteral(VEK_TESTDATA_DIR "/xls/") + name + ".txt");
    QStringList lines = QString::fromUtf8(text.data(), qsizetype(text.size())).split('\n');
    std::vector<std::vector<QString>> rows;
    const QStringList size = lines.takeFirst().split(' ');
    const int height = size.value(0).toInt();
    for (int r = 0; r < height; ++r) {
        std::vector<QString> row;
        for (QString cell : lines.value(r).split('\t')) {
            cell.replace(QStringLiteral("\\t"), QStringLiteral("\t"))
                .replace(QStringLiteral("\\n"), QStringLiteral("\n"))
                .replace(QStringLiteral("\\r"), QStringLiteral("\r"))
                .replace(QStringLiteral("\\\\"), QStringLiteral("\\"));
            row.push_back(cell);
        }
        rows.push_back(row);
    }
    return rows;
}

class RealWorkbooks : public ::testing::TestWithParam<const char*> {};

TEST_P(RealWorkbooks, EveryCellOfTheFirstWorksheetReadsAsAnotherReaderSawIt)
{
    const QString name = QString::fromUtf8(GetParam());
    const std::string bytes = ReadFile(QStringLiteral(VEK_REALDATA_DIR "/xls/") + name + ".xls");
    ASSERT_FALSE(bytes.empty());
    Rows rows;
    ASSERT_EQ(CXlsReader::ReadFirstWorksheet(bytes, rows), Error::None);
    const auto expected = Expected(name);
    ASSERT_EQ(rows.size(), expected.size());
    for (std::size_t r = 0; r < rows.size(); ++r) {
        ASSERT_EQ(rows[r].size(), expected[r].size()) << "row " << r;
        for (std::size_t c = 0; c < rows[r].size(); ++c)
            EXPECT_EQ(GbkToQString(rows[r][c]), expected[r][c]) << "row " << r << " column " << c;
    }
}

INSTANTIATE_TEST_SUITE_P(OtherPrograms, RealWorkbooks,
                         ::testing::Values("libxls_biff5-label-records", "libxls_missing-values-xls",
                                           "libxls_mtcars", "libxls_test2",
                                           "libxls_utf8-sheet-names", "poi_testEXCEL_95",
                                           "poi_unicodeNameRecord", "xlrd_Formate",
                                           "xlrd_profiles", "xlrd_ragged"));

// --- Workbooks built record by record ---------------------------------------------

std::string U16(int v)
{
    return std::string{char(v & 0xFF), char((v >> 8) & 0xFF)};
}
std::string U32(std::uint32_t v)
{
    return U16(int(v & 0xFFFF)) + U16(int(v >> 16));
}
std::string F64(double v)
{
    std::string s(8, '\0');
    std::memcpy(s.data(), &v, 8);
    return s;
}
std::string Rec(int type, const std::string& data)
{
    return U16(type) + U16(int(data.size())) + data;
}
std::string Bof(int version, int kind)
{
    return Rec(0x0809, U16(version) + U16(kind) + std::string(12, '\0'));
}
std::string Eof()
{
    return Rec(0x000A, std::string());
}
std::string Cell(int row, int col)
{
    return U16(row) + U16(col) + U16(15);
}
// A BIFF8 string: count, option byte, one-byte characters.
std::string Str8(const std::string& latin1)
{
    return U16(int(latin1.size())) + std::string(1, '\0') + latin1;
}
std::string Str16(const std::u16string& text)
{
    std::string s = U16(int(text.size())) + std::string(1, '\1');
    for (char16_t c : text) s += U16(int(c));
    return s;
}

// A BIFF8 workbook: globals with the given records (shared strings and the
// like), then the sheets (type, records) each behind its BOUNDSHEET.
struct Sheet {
    int type; // 0 worksheet, 2 chart
    std::string records;
};
std::string Workbook(const std::string& globalsExtra, const std::vector<Sheet>& sheets,
                     int version = 0x0600, const std::string& streamName = "Workbook")
{
    auto bound = [&](std::uint32_t offset, int type) {
        std::string data = U32(offset) + std::string(1, '\0') + std::string(1, char(type));
        data += version == 0x0600 ? Str8("S") : std::string("\1S");
        return Rec(0x0085, data);
    };
    std::string head = Bof(version, 0x0005) + globalsExtra;
    std::size_t globalsSize = head.size() + Eof().size();
    for (const Sheet& s : sheets) globalsSize += bound(0, s.type).size();
    std::string bounds;
    std::string bodies;
    for (const Sheet& s : sheets) {
        bounds += bound(std::uint32_t(globalsSize + bodies.size()), s.type);
        bodies += Bof(version, s.type == 2 ? 0x0020 : 0x0010) + s.records + Eof();
    }
    const std::string stream = head + bounds + Eof() + bodies;

    CCompoundEntry root;
    root.isStorage = true;
    CCompoundEntry entry;
    entry.name = streamName;
    entry.data = stream;
    root.children.push_back(entry);
    std::string bytes, why;
    EXPECT_TRUE(CCompoundFile::Build(root, bytes, why)) << why;
    return bytes;
}

Rows Read(const std::string& bytes, Error expected = Error::None)
{
    Rows rows;
    EXPECT_EQ(CXlsReader::ReadFirstWorksheet(bytes, rows), expected);
    return rows;
}

std::vector<std::vector<QString>> AsText(const Rows& rows)
{
    std::vector<std::vector<QString>> out;
    for (const auto& row : rows) {
        out.emplace_back();
        for (const std::string& cell : row) out.back().push_back(GbkToQString(cell));
    }
    return out;
}

using Texts = std::vector<std::vector<QString>>;

TEST(XlsReader, FormulaResultsBooleansAndErrorsGiveTheirTexts)
{
    const std::string formula = std::string(6, '\0'); // flags, chain and no tokens
    auto result = [](int kind, int value) {
        return std::string{char(kind), 0, char(value), 0, 0, 0, char(0xFF), char(0xFF)};
    };
    const std::string cells =
        Rec(0x0006, Cell(0, 0) + F64(165.456) + formula)                 // number result
        + Rec(0x0006, Cell(0, 1) + result(0, 0) + formula)              // text result...
        + Rec(0x0207, Str8("J.Smith"))                                  // ...in STRING
        + Rec(0x0006, Cell(0, 2) + result(1, 1) + formula)              // TRUE
        + Rec(0x0006, Cell(0, 3) + result(2, 0x07) + formula)           // #DIV/0!
        + Rec(0x0006, Cell(0, 4) + result(3, 0) + formula)              // empty text
        + Rec(0x0205, Cell(1, 0) + std::string{0, 0})                   // FALSE
        + Rec(0x0205, Cell(1, 1) + std::string{0x2A, 1})                // #N/A
        + Rec(0x0203, Cell(1, 2) + F64(-1.5))
        + Rec(0x027E, Cell(1, 3) + U32((12345u << 2) | 2 | 1))          // 123.45 as RK
        + Rec(0x00BD, U16(1) + U16(4) + U16(15) + U32((7u << 2) | 2) + U16(5)); // MULRK
    const Texts expected{{"165.46", "J.Smith", "TRUE", "#DIV/0!", ""},
                         {"FALSE", "#N/A", "-1.5", "123.45", "7"}};
    EXPECT_EQ(AsText(Read(Workbook("", {{0, cells}}))), expected);
}

TEST(XlsReader, SharedStringsRunOnAcrossContinueRecordsAndChangeWidth)
{
    // "abcdef" begins as one-byte characters in the SST record and goes on
    // as two-byte characters behind the CONTINUE's option byte; the second
    // string starts afresh in the CONTINUE.
    const std::string sst = Rec(0x00FC, U32(2) + U32(2) + U16(6) + std::string(1, '\0') + "abc")
                            + Rec(0x003C, std::string(1, '\1') + U16('d') + U16('e') + U16(0x80E1)
                                              + Str16(u"胸围"));
    const std::string cells = Rec(0x00FD, Cell(0, 0) + U32(0)) + Rec(0x00FD, Cell(0, 1) + U32(1));
    const Texts expected{{QString::fromUtf16(u"de\x80E1").prepend("abc"), QString::fromUtf16(u"胸围")}};
    EXPECT_EQ(AsText(Read(Workbook(sst, {{0, cells}}))), expected);
}

TEST(XlsReader, UsedRangeStartsAtTheFirstCellHoldingAValue)
{
    // Blank cells carry only formatting and do not widen the range; a cell
    // given twice keeps its last value.
    const std::string cells = Rec(0x0201, Cell(0, 0)) + Rec(0x0203, Cell(2, 3) + F64(1))
                              + Rec(0x0204, Cell(4, 2) + Str8("x"))
                              + Rec(0x0203, Cell(2, 3) + F64(2));
    const Texts expected{{"", "2"}, {"", ""}, {"x", ""}};
    EXPECT_EQ(AsText(Read(Workbook("", {{0, cells}}))), expected);
}

TEST(XlsReader, TheFirstWorksheetIsReadNotACharOrAnEmbeddedChart)
{
    // A chart sheet comes first in the workbook; the worksheet holds an
    // embedded chart whose records sit inside its own BOF and EOF.
    const std::string chart = Rec(0x0203, Cell(0, 0) + F64(99));
    const std::string sheet = Rec(0x0203, Cell(0, 0) + F64(1)) + Bof(0x0600, 0x0020)
                              + Rec(0x0203, Cell(5, 5) + F64(98)) + Eof()
                              + Rec(0x0203, Cell(0, 1) + F64(2));
    const std::string other = Rec(0x0203, Cell(0, 0) + F64(3));
    const Texts expected{{"1", "2"}};
    EXPECT_EQ(AsText(Read(Workbook("", {{2, chart}, {0, sheet}, {0, other}}))), expected);
}

TEST(XlsReader, Biff5TextIsInTheWorkbooksCodePage)
{
    // Shift-JIS "あ" and a GBK "胸" in workbooks of code pages 932 and 936.
    const std::string label = std::string("\x82\xA0", 2);
    const std::string sjis = Rec(0x0042, U16(932));
    const std::string cells = Rec(0x0204, Cell(0, 0) + U16(2) + label)
                              + Rec(0x0006, Cell(0, 1) + std::string{0, 0, 0, 0, 0, 0, char(0xFF), char(0xFF)}
                                                + std::string(6, '\0'))
                              + Rec(0x0207, U16(2) + label);
    const Texts japanese{{QString::fromUtf16(u"あ"), QString::fromUtf16(u"あ")}};
    EXPECT_EQ(AsText(Read(Workbook(sjis, {{0, cells}}, 0x0500, "Book"))), japanese);

    const std::string gbk = Rec(0x0042, U16(936));
    const std::string chest = Rec(0x0204, Cell(0, 0) + U16(2) + std::string("\xD0\xD8", 2));
    EXPECT_EQ(AsText(Read(Workbook(gbk, {{0, chest}}, 0x0500, "Book"))),
              (Texts{{QString::fromUtf16(u"胸")}}));
}

TEST(XlsReader, EmptyWorksheetGivesNoRows)
{
    EXPECT_TRUE(Read(Workbook("", {{0, Rec(0x0201, Cell(3, 3))}})).empty());
}

TEST(XlsReader, FilesThatAreNoReadableWorkbookSayWhy)
{
    const std::string cells = Rec(0x0203, Cell(0, 0) + F64(1));
    const std::string sound = Workbook("", {{0, cells}});
    struct Case {
        const char* what;
        std::string bytes;
        Error error;
    };
    const std::vector<Case> cases{
        {"empty file", std::string(), Error::NotCompoundFile},
        {"text file", std::string("mpg,cyl\n21,6\n"), Error::NotCompoundFile},
        {"xlsx", std::string("PK\x03\x04rest of a zip"), Error::IsXlsx},
        {"compound file without workbook", Workbook("", {{0, cells}}, 0x0600, "Contents"),
         Error::NoWorkbookStream},
        {"BIFF4", Workbook("", {{0, cells}}, 0x0400), Error::UnsupportedVersion},
        {"encrypted", Workbook(Rec(0x002F, std::string(6, '\0')), {{0, cells}}), Error::Encrypted},
        {"only a chart", Workbook("", {{2, cells}}), Error::NoWorksheet},
        {"string index beyond the table", Workbook("", {{0, Rec(0x00FD, Cell(0, 0) + U32(0))}}),
         Error::Damaged},
        {"record cut short", Workbook("", {{0, Rec(0x0203, Cell(0, 0) + F64(1).substr(0, 4))}}),
         Error::Damaged},
        {"sound", sound, Error::None},
    };
    for (const Case& c : cases) {
        Rows rows{{"left over"}};
        EXPECT_EQ(CXlsReader::ReadFirstWorksheet(c.bytes, rows), c.error) << c.what;
        if (c.error != Error::None) {
            EXPECT_TRUE(rows.empty()) << c.what;
            EXPECT_FALSE(CXlsReader::ErrorText(c.error).empty()) << c.what;
        }
    }
}

TEST(XlsReader, DamagedStreamsNeverReadOutOfBounds)
{
    // Every truncation of a sound workbook stream either reads or is refused.
    const std::string sst = Rec(0x00FC, U32(1) + U32(1) + Str8("abc"));
    const std::string cells = Rec(0x00FD, Cell(0, 0) + U32(0)) + Rec(0x0203, Cell(1, 0) + F64(2.5));
    const std::string bytes = Workbook(sst, {{0, cells}});
    CCompoundEntry root;
    std::string why;
    ASSERT_TRUE(CCompoundFile::Parse(bytes, root, why));
    const std::string stream = root.children.at(0).data;
    for (std::size_t cut = 0; cut < stream.size(); ++cut) {
        CCompoundEntry damaged;
        damaged.isStorage = true;
        damaged.children.push_back(root.children.at(0));
        damaged.children[0].data = stream.substr(0, cut);
        std::string file;
        ASSERT_TRUE(CCompoundFile::Build(damaged, file, why));
        Rows rows;
        EXPECT_NE(CXlsReader::ReadFirstWorksheet(file, rows), Error::None) << cut;
    }
}

} // namespace
