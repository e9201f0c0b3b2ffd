// Table cells: their lines, their text measured and drawn into the cell,
// and their record.
#include "TableTestSupport.h"

#include "tables/CTableCell.h"
#include "tables/CTableGrid.h"

#include "platform/CArchive.h"
#include "platform/CDC.h"
#include "platform/CodePage.h"

#include "../model/HexBytes.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include <functional>

using namespace tabletest;

namespace {

constexpr QRgb kWhite = 0xFFFFFFFF;
constexpr COLORREF kRed = RGB(255, 0, 0);

std::string Gbk(const char* utf8)
{
    return QStringToGbk(QString::fromUtf8(utf8));
}

// A cell of 2000 x 600 at (1000, 2000) in a grid with margins 50.
struct CellFixture {
    CTableGrid grid;
    std::unique_ptr<CTableCell> cell;

    explicit CellFixture(const LogFont& font = CellFont(), int width = 2000, int height = 600)
    {
        grid.SetMargins(CRect(50, 50, 50, 50));
        cell = std::make_unique<CTableCell>(&grid, 4, &font, RGB(0, 0, 0), RGB(255, 255, 255), 10, RGB(0, 0, 0),
                                            1000, 2000, 1000 + width, 2000 + height);
    }
};

QImage Paint(const std::function<void(CDC&)>& draw, int w = 260, int h = 100)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    CDC dc(&painter);
    draw(dc);
    return image;
}

// Ink that is neither white nor the given colours.
QRect InkExcept(const QImage& image, std::initializer_list<QRgb> ignored)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            if (p == kWhite || std::find(ignored.begin(), ignored.end(), p) != ignored.end()) continue;
            box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}

// The box of the non-white pixels inside the area.
QRect InkIn(const QImage& image, const QRect& area)
{
    QRect box;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.pixel(x, y) != kWhite) box |= QRect(x, y, 1, 1);
    return box;
}

// Number of separate bands of rows holding dark pixels.
int InkBands(const QImage& image, const QRect& area)
{
    int bands = 0;
    bool inBand = false;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        bool dark = false;
        for (int x = area.left(); x <= area.right() && !dark; ++x) dark = qGray(image.pixel(x, y)) < 128;
        if (dark && !inBand) ++bands;
        inBand = dark;
    }
    return bands;
}

} // namespace

// ---------------------------------------------------------------------------
// Lines

TEST(TableCellLines, SidesRunClockwiseAndFollowTheRectangle)
{
    CellFixture f;
    CTableCell& c = *f.cell;
    ASSERT_EQ(c.GetLineCount(), 4);
    EXPECT_EQ(c.GetBorderLine(0), CTableBorderLine(10, 0, CPoint(1000, 2600), CPoint(1000, 2000)));
    EXPECT_EQ(c.GetBorderLine(1), CTableBorderLine(10, 0, CPoint(1000, 2000), CPoint(3000, 2000)));
    EXPECT_EQ(c.GetBorderLine(2), CTableBorderLine(10, 0, CPoint(3000, 2000), CPoint(3000, 2600)));
    EXPECT_EQ(c.GetBorderLine(3), CTableBorderLine(10, 0, CPoint(3000, 2600), CPoint(1000, 2600)));

    c.AddDiagonals(true, true, kRed, 7);
    CTableBorderLineList lines;
    c.GetAllLines(lines);
    lines.push_back(CTableBorderLine(3, 0, CPoint(1, 2), CPoint(3, 4))); // neither side nor diagonal
    c.SetAllLines(lines);
    c.SetRect(0, 0, 500, 400);
    CTableBorderLine main;
    CTableBorderLine anti;
    ASSERT_TRUE(c.FindMainDiagonal(main));
    ASSERT_TRUE(c.FindAntiDiagonal(anti));
    EXPECT_EQ(main, CTableBorderLine(7, kRed, CPoint(0, 0), CPoint(500, 400)));
    EXPECT_EQ(anti, CTableBorderLine(7, kRed, CPoint(500, 0), CPoint(0, 400)));
    EXPECT_EQ(c.GetBorderLine(3), CTableBorderLine(10, 0, CPoint(500, 400), CPoint(0, 400)));
    EXPECT_EQ(c.GetBorderLine(6), CTableBorderLine(3, 0, CPoint(1, 2), CPoint(3, 4)));
}

TEST(TableCellLines, DiagonalsAreFoundOnlyByTheirEndsFromEntryFourOn)
{
    CellFixture f;
    CTableCell& c = *f.cell;
    CTableBorderLine found;
    EXPECT_FALSE(c.FindMainDiagonal(found));
    EXPECT_FALSE(c.SetMainDiagonal(kRed, 5));
    // Twice the main flag: the diagonal is there twice.
    c.AddDiagonals(true, false, kRed, 5);
    c.AddDiagonals(true, false, kRed, 5);
    EXPECT_EQ(c.GetLineCount(), 6);
    // The anti one alone on a list of five goes before the last entry.
    c.RemoveDiagonals(true, false);
    ASSERT_EQ(c.GetLineCount(), 5);
    c.AddDiagonals(false, true, 0, 2);
    EXPECT_EQ(c.GetBorderLine(4).GetStart(), CPoint(3000, 2000));
    EXPECT_EQ(c.GetBorderLine(5).GetStart(), CPoint(1000, 2000));
    EXPECT_TRUE(c.SetAntiDiagonalWidth(9));
    EXPECT_EQ(c.GetBorderLine(4).GetWidth(), 9);
    c.RemoveDiagonals(true, true);
    EXPECT_EQ(c.GetLineCount(), 4);
    // On a list of four it is appended.
    c.AddDiagonals(false, true, 0, 2);
    EXPECT_EQ(c.GetBorderLine(4).GetStart(), CPoint(3000, 2000));
}

TEST(TableCellLines, SideOperationsNeedTheFourSides)
{
    CTableCell bare;
    bare.SetAllLines({CTableBorderLine(1, 0, CPoint(), CPoint(1, 1)), CTableBorderLine(1, 0, CPoint(), CPoint(2, 2))});
    // Two or more lines: no sides are made, and side setters do nothing.
    bare.CreateSideBorders(5, kRed);
    EXPECT_EQ(bare.GetLineCount(), 2);
    bare.SetSideLines(kRed, 9);
    EXPECT_EQ(bare.GetBorderWidth(0), 1);
    CTableBorderLineList sides;
    bare.GetSideLines(sides);
    EXPECT_TRUE(sides.empty());
    // Past the end: an unset line, -1, nothing set.
    EXPECT_EQ(bare.GetBorderLine(7), CTableBorderLine());
    EXPECT_EQ(bare.GetBorderWidth(7), -1);
    bare.SetBorderWidth(7, 3);
    EXPECT_EQ(bare.GetLineCount(), 2);

    CellFixture f;
    f.cell->SetSideLines(kRed, 9);
    f.cell->GetSideLines(sides);
    ASSERT_EQ(sides.size(), 4u);
    for (const CTableBorderLine& l : sides) EXPECT_EQ(std::make_pair(l.GetWidth(), l.GetColor()), std::make_pair(9, kRed));
}

TEST(TableCellLines, BorderLineRecordStoresItsColourBeforeItsWidth)
{
    const CTableBorderLine line(0x25, 0x00ABCDEF, CPoint(1, -2), CPoint(0x10000, 3));
    CArchive ar;
    line.Store(ar);
    EXPECT_EQ(ar.Buffer(), HexBytes("EF CD AB 00  25 00 00 00  01 00 00 00 FE FF FF FF  00 00 01 00 03 00 00 00"));
    CArchive in(ar.Buffer());
    CTableBorderLine back;
    back.Load(in);
    EXPECT_EQ(back, line);
}

// ---------------------------------------------------------------------------
// Measuring

TEST(TableCellMeasuring, TextIsMeasuredFromTheTextAreaWrappedToItsWidth)
{
    CScreenDC dc;
    CellFixture f;
    CTableCell& c = *f.cell;
    EXPECT_EQ(c.GetTextArea(), CRect(1050, 2050, 2950, 2550));
    EXPECT_EQ(c.MeasureTextRect(nullptr), CRect(1050, 2050, 1050, 2050));
    EXPECT_EQ(c.GetCharSize(nullptr), CSize());

    dc.SelectFont(CellFont());
    const int line = dc.GetTextHeight();
    c.SetText("A\r\nBB");
    EXPECT_EQ(c.MeasureTextRect(&dc), CRect(1050, 2050, 1050 + dc.GetTextExtent("BB").cx, 2050 + 2 * line));
    EXPECT_EQ(c.GetCharSize(&dc), CSize(dc.GetAvgCharWidth(), line));

    // A long line is wrapped at the area's width, so a narrower cell
    // measures more lines.
    std::string wide;
    while (dc.GetTextExtent(wide).cx < 3 * 1900) wide += Gbk("宽");
    c.SetText(wide);
    const int wideLines = c.MeasureTextSize(&dc).cy / line;
    EXPECT_GE(wideLines, 3);
    c.SetRect(1000, 2000, 2000, 2600);
    EXPECT_GT(c.MeasureTextSize(&dc).cy / line, wideLines);
    EXPECT_LE(c.MeasureTextSize(&dc).cx, 900);

    // Laid out at a width given in characters.
    c.SetText("AB");
    EXPECT_EQ(c.MeasureTextAtWidth(&dc, -1, 10), CSize(dc.GetTextExtent("AB").cx, line));
    EXPECT_EQ(c.MeasureTextAtWidth(&dc, dc.GetTextExtent("A").cx, 0).cy, 2 * line);
}

// ---------------------------------------------------------------------------
// Drawing: cell (1000, 2000)-(3000, 2600) at 10 units per pixel from the
// origin (1000, 2000), so the cell covers device (0, 0)-(200, 60).

class TableCellDrawing : public ::testing::Test {
protected:
    QImage Draw(const CTableCell& c, bool inverted = false, double scale = 10.0)
    {
        return Paint([&](CDC& dc) {
            if (inverted)
                c.DrawInverted(&dc, scale, 1000, 2000, CRect(0, 0, 260, 100));
            else
                c.Draw(&dc, scale, 1000, 2000, CRect(0, 0, 260, 100));
        });
    }
};

TEST_F(TableCellDrawing, BackgroundAndLines)
{
    CellFixture f;
    f.cell->SetBackColor(RGB(0, 255, 0));
    f.cell->SetSideColor(RGB(0, 0, 255));
    const QImage image = Draw(*f.cell);
    // Filled one pixel further right and down than the rectangle.
    EXPECT_EQ(image.pixel(100, 30), qRgb(0, 255, 0));
    EXPECT_EQ(image.pixel(199, 59), qRgb(0, 255, 0));
    EXPECT_EQ(image.pixel(201, 30), kWhite);
    // The sides over it.
    EXPECT_EQ(image.pixel(0, 30), qRgb(0, 0, 255));
    EXPECT_EQ(image.pixel(100, 0), qRgb(0, 0, 255));
    EXPECT_EQ(image.pixel(100, 60), qRgb(0, 0, 255));
    EXPECT_EQ(image.pixel(200, 30), qRgb(0, 0, 255));

    // Selected: both colours inverted.
    const QImage selected = Draw(*f.cell, true);
    EXPECT_EQ(selected.pixel(100, 30), qRgb(255, 0, 255));
}

TEST_F(TableCellDrawing, NineAlignmentsPlaceTheTextBlock)
{
    // Text area (1050, 2050)-(2950, 2550): device (5, 5)-(195, 55).
    const QRect area(5, 5, 190, 50);
    for (int alignment = 0; alignment < 9; ++alignment) {
        CellFixture f(CellFont(150));
        f.cell->SetText("Hi");
        f.cell->SetAlignment(alignment);
        const QRect text = InkIn(Draw(*f.cell), area.adjusted(1, 1, -1, -1));
        ASSERT_FALSE(text.isEmpty()) << alignment;
        const int h = alignment % 3;
        const int v = alignment / 3;
        const int cx = text.center().x();
        const int cy = text.center().y();
        const int expectedX[] = {5 + text.width() / 2, 100, 195 - text.width() / 2};
        const int expectedY[] = {14, 30, 46};
        EXPECT_NEAR(cx, expectedX[h], 4) << alignment;
        EXPECT_NEAR(cy, expectedY[v], 6) << alignment;
    }
    // Alignments outside 0-8 draw no text.
    CellFixture f(CellFont(150));
    f.cell->SetText("Hi");
    f.cell->SetAlignment(9);
    EXPECT_TRUE(InkIn(Draw(*f.cell), area.adjusted(1, 1, -1, -1)).isEmpty());
}

TEST_F(TableCellDrawing, NarrowTextAreaShowsBackgroundAndLinesOnly)
{
    CScreenDC dc;
    dc.SelectFont(CellFont(-150));
    const int average = dc.GetAvgCharWidth();
    const QRgb green = qRgb(0, 255, 0);
    const QRgb black = qRgb(0, 0, 0);
    // Drawn at one unit per pixel: a text area 1.5 average characters wide
    // shows no text, one of two averages does.
    for (const int area : {average * 3 / 2, 2 * average}) {
        CellFixture f(CellFont(-150), 100 + area, 600);
        f.cell->SetText("WWWW");
        f.cell->SetTextColor(kRed);
        f.cell->SetBackColor(RGB(0, 255, 0));
        const QImage image =
            Paint([&](CDC& c) { f.cell->Draw(&c, 1.0, 1000, 2000, CRect(0, 0, 1000, 700)); }, 1000, 700);
        EXPECT_EQ(image.pixel(20, 300), green);
        EXPECT_EQ(InkExcept(image, {green, black}).isEmpty(), area < 2 * average) << area;
    }
}

TEST_F(TableCellDrawing, NothingBelowAPixelOrWithoutAGrid)
{
    CellFixture f;
    f.cell->SetBackColor(RGB(0, 255, 0));
    // 2000 x 600 units at 2000 units per pixel: 1 x 0.3 pixels.
    EXPECT_TRUE(InkExcept(Draw(*f.cell, false, 2000.0), {}).isEmpty());
    f.cell->SetGrid(nullptr);
    EXPECT_TRUE(InkExcept(Draw(*f.cell), {}).isEmpty());
}

// A run of Chinese characters too long for the cell breaks into lines of
// whole characters, each line as wide as it can be.
TEST_F(TableCellDrawing, LongRunBreaksIntoLinesOfWholeCharacters)
{
    CScreenDC dc;
    dc.SelectFont(CellFont(-150));
    const std::string han = Gbk("测");
    const int advance = dc.GetTextExtent(han).cx;
    // Text area of 2.5 characters: 2 per line, 6 characters in 3 lines.
    CellFixture f(CellFont(-150), 100 + advance * 5 / 2, 100 + 4 * dc.GetTextHeight());
    f.cell->SetAlignment(0);
    f.cell->SetText(han + han + han + han + han + han);
    const QImage image = Paint([&](CDC& c) { f.cell->Draw(&c, 1.0, 1000, 2000, CRect(0, 0, 600, 900)); }, 600, 900);
    const QRect area(51, 51, advance * 5 / 2 - 2, 4 * dc.GetTextHeight() - 2);
    EXPECT_EQ(InkBands(image, area), 3);
    const QRect ink = InkIn(image, area);
    EXPECT_LE(ink.right(), 50 + 2 * advance);
    EXPECT_GT(ink.right(), 50 + advance);

}

// ---------------------------------------------------------------------------
// Record

TEST(TableCellRecord, DamagedRecordLeavesTheCellAsItWas)
{
    CellFixture f;
    f.cell->SetText("keep");
    CArchive ar;
    f.cell->Store(ar);
    const std::string good = ar.Buffer();
    // The line count (after text 5, alignment, colours and rectangle) made
    // larger than the bytes left, then negative.
    for (const std::uint32_t count : {0x00100000u, 0xFFFFFFFFu}) {
        std::string bad = good;
        const std::size_t at = 5 + 4 + 4 + 4 + 16;
        for (int i = 0; i < 4; ++i) bad[at + i] = char((count >> (8 * i)) & 0xFF);
        CArchive in(bad);
        CTableCell cell;
        cell.SetText("before");
        EXPECT_THROW(cell.Load(in), CArchiveError);
        EXPECT_EQ(cell.Text(), "before");
        EXPECT_EQ(cell.GetLineCount(), 0);
    }
    // Cut short anywhere.
    for (std::size_t n = 0; n < good.size(); ++n) {
        CArchive in(good.substr(0, n));
        CTableCell cell;
        EXPECT_THROW(cell.Load(in), CArchiveError) << n;
    }
}

TEST(TableCellRecord, LongFaceNamesAreCutToThirtyOneBytes)
{
    CellFixture f;
    CArchive ar;
    f.cell->Store(ar);
    std::string bytes = ar.Buffer();
    // Replace the face name (the last field) by 40 letters.
    bytes.resize(bytes.size() - 5);
    bytes += char(40);
    bytes += std::string(40, 'F');
    CArchive in(bytes);
    CTableCell cell;
    cell.Load(in);
    ASSERT_NE(cell.GetFont(), nullptr);
    EXPECT_EQ(cell.GetFont()->FaceName(), std::string(31, 'F'));
}
