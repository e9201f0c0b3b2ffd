// The table record: element header, grid record, cell and border-line
// records, byte for byte; layouts the editor never makes but files may
// hold; and damaged records, which are refused without touching the table.
#include "TableTestSupport.h"

#include "tables/CTableElement.h"

#include "model/CPage.h"
#include "model/CPageSet.h"
#include "platform/CArchive.h"
#include "platform/CDC.h"

#include "../model/HexBytes.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include <cstdint>
#include <cstring>
#include <string>

using namespace tabletest;

namespace {

// A 1 x 2 table at level 3: origin (1000, 2000), line colour 0x112233,
// border 35, inner lines 25, margins 50, one row 700 high, cells 3000 wide;
// the first cell reads "A". Cells: alignment 4, black on white, 宋体 318.
const char* const kHeader = "08 00 00 00  03 00 00 00";
const char* const kGrid =
    "E8 03 00 00  D0 07 00 00"   // origin
    "33 22 11 00"                // line colour
    "23 00 00 00  19 00 00 00"   // border, inner
    "32 00 00 00  32 00 00 00  32 00 00 00  32 00 00 00"  // margins l t r b
    "01 00 00 00"                // rows
    "02 00 00 00"                // cells in row 1
    "BC 02 00 00";               // height of row 1
const char* const kFont =
    "3E 01 00 00  00 00 00 00  00 00 00 00  00 00 00 00  90 01 00 00"
    "00 00 00 86 00 00 01 00  04 CB CE CC E5";
// Border line: colour, width, start, end.
#define LINE(sx, sy, ex, ey) "33 22 11 00  19 00 00 00 " sx " " sy " " ex " " ey
#define X1 "E8 03 00 00"
#define X2 "A0 0F 00 00"
#define X3 "58 1B 00 00"
#define Y1 "D0 07 00 00"
#define Y2 "8C 0A 00 00"
const char* const kCell1 =
    "01 41  04 00 00 00  00 00 00 00  FF FF FF 00"
    X1 Y1 X2 Y2
    "04 00 00 00"
    LINE(X1, Y2, X1, Y1) LINE(X1, Y1, X2, Y1) LINE(X2, Y1, X2, Y2) LINE(X2, Y2, X1, Y2);
const char* const kCell2 =
    "00  04 00 00 00  00 00 00 00  FF FF FF 00"
    X2 Y1 X3 Y2
    "04 00 00 00"
    LINE(X2, Y2, X2, Y1) LINE(X2, Y1, X3, Y1) LINE(X3, Y1, X3, Y2) LINE(X3, Y2, X2, Y2);

std::string FixtureRecord()
{
    return HexBytes(kHeader) + HexBytes(kGrid) + HexBytes(kCell1) + HexBytes(kFont) + HexBytes(kCell2) +
           HexBytes(kFont);
}

// Records written field by field from the layout of the record.
class Record {
public:
    Record& I32(std::int64_t v)
    {
        for (int i = 0; i < 4; ++i) m_bytes.push_back(char((std::uint64_t(v) >> (8 * i)) & 0xFF));
        return *this;
    }
    Record& Str(const std::string& s)
    {
        m_bytes.push_back(char(s.size()));
        m_bytes += s;
        return *this;
    }
    Record& Rect(int l, int t, int r, int b) { return I32(l).I32(t).I32(r).I32(b); }
    // Grid header: origin, colour, widths, margins and the row arrays.
    Record& Grid(int x, int y, std::initializer_list<std::int64_t> counts, std::initializer_list<std::int64_t> heights)
    {
        I32(x).I32(y).I32(0).I32(2).I32(1).Rect(10, 0, 10, 0).I32(std::int64_t(counts.size()));
        for (std::int64_t c : counts) I32(c);
        for (std::int64_t h : heights) I32(h);
        return *this;
    }
    // A cell without lines in an empty font.
    Record& Cell(const std::string& text, int l, int t, int r, int b)
    {
        Str(text).I32(4).I32(0).I32(0xFFFFFF).Rect(l, t, r, b).I32(0);
        for (int i = 0; i < 5; ++i) I32(0);
        m_bytes += std::string(8, '\0');
        return Str("");
    }
    const std::string& Bytes() const { return m_bytes; }

private:
    std::string m_bytes;
};

// Two rows of two columns 1000 x 500 from (100, 200); the first column
// merged over both rows, so row 2 holds one cell: column 2.
std::string MergedGridRecord()
{
    return Record()
        .Grid(100, 200, {2, 1}, {500, 500})
        .Cell("A", 100, 200, 1100, 1200)
        .Cell("B", 1100, 200, 2100, 700)
        .Cell("C", 1100, 700, 2100, 1200)
        .Bytes();
}

std::unique_ptr<CTableGrid> LoadGrid(const std::string& bytes)
{
    auto grid = std::make_unique<CTableGrid>();
    CArchive ar(bytes);
    grid->Load(ar);
    EXPECT_EQ(ar.BytesLeft(), 0u);
    return grid;
}

} // namespace

TEST(TableRecord, StoredByteForByte)
{
    CPageSet pageSet;
    pageSet.AppendPage();
    CTableElement table(pageSet.GetPageAt(0), 3, 1, 2, 0x112233, 35, 25, CRect(50, 50, 50, 50), 4, CellFont(),
                        RGB(0, 0, 0), RGB(255, 255, 255), CRect(1000, 2000, 7000, 2700));
    table.SetCellText(1, 1, "A");
    CArchive ar;
    ASSERT_EQ(table.Store(ar), 1);
    EXPECT_EQ(ar.Buffer(), FixtureRecord());
    // The library record holds the same bytes.
    CArchive library;
    table.StoreToLibrary(library);
    EXPECT_EQ(library.Buffer(), FixtureRecord());
}

TEST(TableRecord, ReadAsThePageReadsIt)
{
    CPageSet pageSet;
    pageSet.AppendPage();
    const std::string bytes = FixtureRecord();
    CArchive ar(bytes.substr(8));
    CTableElement table(pageSet.GetPageAt(0), 3);
    ASSERT_EQ(table.Load(ar), 1);
    EXPECT_EQ(ar.BytesLeft(), 0u);
    EXPECT_EQ(table.GetOrigin(), CPoint(1000, 2000));
    EXPECT_EQ(table.GetLineColor(), 0x112233u);
    EXPECT_EQ(table.GetOuterLineWidth(), 35);
    EXPECT_EQ(table.GetInnerLineWidth(), 25);
    EXPECT_EQ(table.GetRowHeight(1), 700);
    EXPECT_STREQ(table.GetCellText(1, 1), "A");
    ASSERT_NE(table.GetCellFont({1, 2}), nullptr);
    EXPECT_EQ(*table.GetCellFont({1, 2}), CellFont());
    EXPECT_EQ(table.GetTableRect(), CRect(1000, 2000, 7000, 2700));
    CArchive again;
    table.Store(again);
    EXPECT_EQ(again.Buffer(), bytes);
}

// A cell lives in the row of its top-left corner: below a merged cell the
// row holds fewer cells and index 1 is column 2.
TEST(TableRecord, MergedCellsLiveInTheirTopRow)
{
    const std::string bytes = MergedGridRecord();
    auto grid = LoadGrid(bytes);
    ASSERT_EQ(grid->GetRowCount(), 2);
    EXPECT_EQ(grid->GetRowCellCount(1), 2);
    ASSERT_EQ(grid->GetRowCellCount(2), 1);
    EXPECT_EQ(grid->GetCell(2, 1)->Text(), "C");
    EXPECT_EQ(grid->GetCell(2, 1)->GetRect().left, grid->GetCell(1, 1)->GetRect().right);
    EXPECT_EQ(grid->GetCellRowSpan({1, 1}), 2);
    EXPECT_EQ(grid->GetCellRowSpan({1, 2}), 1);
    EXPECT_EQ(OccupancyMap(*grid), "AB/AC");
    EXPECT_EQ(GridInvariants(*grid), "");
    EXPECT_EQ(GridRecord(*grid), bytes);
}

TEST(TableRecord, EmptyGridStoresItsHeaderAlone)
{
    CTableGrid grid;
    const std::string bytes = GridRecord(grid);
    EXPECT_EQ(bytes, HexBytes("00 00 00 00 00 00 00 00  00 00 00 00  02 00 00 00  01 00 00 00"
                              "0A 00 00 00  00 00 00 00  0A 00 00 00  00 00 00 00  00 00 00 00"));
    auto back = LoadGrid(bytes);
    EXPECT_EQ(back->GetRowCount(), 0);
    EXPECT_EQ(back->GetTableRect(), CRect(0, 0, 0, 0));
}

// Layouts the original program can write: they open, draw and store back
// unchanged, and the operations stay within bounds on them.
TEST(TableRecord, OddLayoutsOpenAndStoreBackUnchanged)
{
    const std::string layouts[] = {
        // Overlapping cells.
        Record().Grid(0, 0, {2}, {500}).Cell("A", 0, 0, 1000, 500).Cell("B", 500, 0, 1500, 500).Bytes(),
        // A row without cells and a cell that spans no whole rows.
        Record().Grid(0, 0, {1, 0, 1}, {500, 300, 400}).Cell("A", 0, 0, 1000, 650).Cell("C", 0, 800, 1000, 1200).Bytes(),
        // Zero-high rows, an upside-down cell, far-out corners.
        Record().Grid(-5, 7, {2, 1}, {0, 0xFFFFFFFF}).Cell("", 1000, 500, 0, 0)
            .Cell("X", 0x7FFFFFF0, -0x7FFFFFF0, -0x7FFFFFF0, 0x7FFFFFF0).Cell("Y", 0, 0, 0, 0).Bytes(),
    };
    CScreenDC dc;
    for (const std::string& bytes : layouts) {
        auto grid = LoadGrid(bytes);
        EXPECT_EQ(GridRecord(*grid), bytes);
        QImage image(64, 64, QImage::Format_RGB32);
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            CDC paint(&painter);
            grid->Draw(&paint, 50.0, 0, 0, CRect(0, 0, 64, 64));
            grid->Draw(&paint, 0.01, 0, 0, CRect(0, 0, 64, 64));
        }
        grid->GetBoundRect();
        CTableCellAddress hit;
        grid->HitTestCell(700, 200, hit);
        CTableGrid copy;
        copy.CopyFrom(*grid);
        EXPECT_EQ(GridRecord(copy), bytes);
        // Whatever the operations make of it stays a readable record.
        grid->InsertRow(1, 0);
        grid->DeleteRow(1);
        grid->InsertColumn({1, 1}, 1);
        grid->DeleteColumn({1, 1});
        grid->MergeCells(&dc, {{1, 1}, {1, 2}});
        grid->SplitCell(&dc, {1, 1}, 2, 2);
        grid->MoveHorizontalLine(&dc, {0, 500}, {0, 300}, {1, 1});
        grid->MoveVerticalLine(&dc, {1000, 100}, {800, 100}, {1, 1}, 0, 5);
        grid->ResizeToRect(CRect(0, 0, 100, 100));
        EXPECT_TRUE(RecordRoundTrips(*grid));
    }
}

// Every count is checked against the bytes left; a damaged record is
// refused and the grid keeps what it held.
TEST(TableRecord, DamagedRecordsAreRefusedAndChangeNothing)
{
    const std::string good = MergedGridRecord();
    auto patched = [&](std::size_t at, std::uint32_t v) {
        std::string bytes = good;
        for (int i = 0; i < 4; ++i) bytes[at + std::size_t(i)] = char((v >> (8 * i)) & 0xFF);
        return bytes;
    };
    constexpr std::size_t kRowCount = 36;
    constexpr std::size_t kCounts = 40;
    constexpr std::size_t kFirstCell = 56;
    constexpr std::size_t kFirstLineCount = kFirstCell + 2 + 4 + 4 + 4 + 16;
    struct Case {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"negative row count", patched(kRowCount, 0xFFFFFFFF)},
        {"row count beyond the bytes", patched(kRowCount, 0x7FFFFFFF)},
        {"a row count one too many", patched(kRowCount, 3)},
        {"cells beyond the bytes", patched(kCounts, 0xFFFFFFFF)},
        {"one cell too many", patched(kCounts, 3)},
        {"negative line count", patched(kFirstLineCount, 0xFFFFFFFF)},
        {"line count beyond the bytes", patched(kFirstLineCount, 0x01000000)},
        {"a text longer than the record",
         good.substr(0, kFirstCell) + std::string("\xFF\xFF\xFF\xFF\x00\x00\x10", 7) + good.substr(kFirstCell + 2)},
    };
    for (const Case& c : cases) {
        auto grid = MakeGrid(2, 2);
        const std::string before = GridRecord(*grid);
        CArchive ar(c.bytes);
        EXPECT_THROW(grid->Load(ar), CArchiveError) << c.what;
        EXPECT_EQ(GridRecord(*grid), before) << c.what;
    }
    // Cut anywhere before its end.
    for (std::size_t n = 0; n < good.size(); ++n) {
        CTableGrid grid;
        CArchive ar(good.substr(0, n));
        EXPECT_THROW(grid.Load(ar), CArchiveError) << n;
    }
}

// A grid's record always reads back, whatever it went through: each row
// announces exactly the cells written for it.
TEST(TableRecord, CountsAreThoseOfTheCellsWritten)
{
    CScreenDC dc;
    auto grid = MakeGrid(3, 3);
    ASSERT_EQ(grid->MergeCells(&dc, {{1, 1}, {2, 1}, {1, 2}, {2, 2}}), 1);
    ASSERT_EQ(grid->SplitCell(&dc, {3, 2}, 2, 1), 1);
    const std::string bytes = GridRecord(*grid);
    auto back = LoadGrid(bytes);
    EXPECT_EQ(OccupancyMap(*back), OccupancyMap(*grid));
    for (int r = 1; r <= grid->GetRowCount(); ++r) {
        std::uint32_t count = 0;
        std::memcpy(&count, bytes.data() + 40 + 4 * (r - 1), 4);
        EXPECT_EQ(int(count), grid->GetRowCellCount(r)) << r;
    }
}
