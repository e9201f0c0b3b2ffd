// The table as a page element: made by the element factory for kind 8,
// read and written in the page record, copied deeply, placed from the
// library, found and drawn on its page.
#include "TableTestSupport.h"

#include "tables/CTableElement.h"

#include "model/CPage.h"
#include "model/CPageSet.h"
#include "model/ElementFactory.h"
#include "platform/CArchive.h"
#include "platform/CDC.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

using namespace tabletest;

namespace {

class TableOnPage : public ::testing::Test {
protected:
    TableOnPage() { pageSet.AppendPage(); }

    CPage* Page() { return pageSet.GetPageAt(0); }

    // A 2 x 3 table of 1000 x 600 cells at (1000, 2000), black lines,
    // border 35, inner 25, added to the page.
    CTableElement* AddTable(int level = 0, COLORREF back = RGB(255, 255, 255))
    {
        auto* table = new CTableElement(Page(), level, 2, 3, RGB(0, 0, 0), 35, 25, CRect(50, 50, 50, 50), 4,
                                        CellFont(), RGB(0, 0, 0), back, CRect(1000, 2000, 4000, 3200));
        Page()->AddElement(table);
        return table;
    }

    std::string Record(const CGraphElement& e)
    {
        CArchive ar;
        e.Store(ar);
        return ar.Buffer();
    }

    CPageSet pageSet;
};

} // namespace

TEST_F(TableOnPage, FactoryMakesTables)
{
    std::unique_ptr<CGraphElement> made = CreateElement(Page(), ELEMENT_TABLE, 4, false);
    ASSERT_NE(dynamic_cast<CTableElement*>(made.get()), nullptr);
    EXPECT_EQ(made->GetType(), ELEMENT_TABLE);
    EXPECT_EQ(made->GetLevel(), 4);
}

TEST_F(TableOnPage, LayoutConstructorPlacesTheOriginAtTheRectangle)
{
    CTableElement* table = AddTable(2);
    EXPECT_EQ(table->GetOrigin(), CPoint(1000, 2000));
    EXPECT_EQ(table->GetTableRect(), CRect(1000, 2000, 4000, 3200));
    EXPECT_EQ(table->GetRowCount(), 2);
    EXPECT_EQ(table->GetLeftMargin(), 50);
    EXPECT_EQ(table->GetCellAlignment({2, 3}), 4);
    EXPECT_EQ(*table->GetCellFont({2, 3}), CellFont());
    // Bounds: the table grown by round((2 x 35 - 25) / 2) = 23.
    EXPECT_EQ(table->GetBoundRect(), CRect(977, 1977, 4023, 3223));
    EXPECT_EQ(GridInvariants(table->Grid()), "");
}

TEST_F(TableOnPage, PageRecordReadsAndWritesTables)
{
    CTableElement* table = AddTable(1);
    table->SetCellText(2, 2, "\xB3\xDF\xB4\xE7"); // 尺寸
    table->SetCellDiagonal({1, 1}, true, false, RGB(255, 0, 0), 10);
    CArchive ar;
    Page()->Store(ar);
    const std::string bytes = ar.Buffer();

    CPageSet other;
    other.AppendPage();
    CArchive in(bytes);
    ASSERT_EQ(other.GetPageAt(0)->Load(in), 1);
    ASSERT_EQ(other.GetPageAt(0)->GetElementCount(), 1);
    auto* back = dynamic_cast<CTableElement*>(other.GetPageAt(0)->ElementAt(0));
    ASSERT_NE(back, nullptr);
    EXPECT_STREQ(back->GetCellText(2, 2), "\xB3\xDF\xB4\xE7");
    CTableBorderLine diagonal;
    EXPECT_EQ(back->FindCellMainDiagonal({1, 1}, diagonal), 1);
    CArchive again;
    other.GetPageAt(0)->Store(again);
    EXPECT_EQ(again.Buffer(), bytes);
}

// Undo snapshots and page copies hold their own tables.
TEST_F(TableOnPage, CopiesAreDeep)
{
    CTableElement* table = AddTable(2);
    table->SetCellText(1, 1, "before");
    CPageSet copySet;
    copySet.AppendPage();
    copySet.GetPageAt(0)->CopyFrom(*Page());
    auto* copy = dynamic_cast<CTableElement*>(copySet.GetPageAt(0)->ElementAt(0));
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(Record(*copy), Record(*table));
    EXPECT_EQ(copy->GetLayer(), copySet.GetPageAt(0));

    table->SetCellText(1, 1, "after");
    table->InsertRow(1, 0);
    table->MoveTo(0, 0);
    EXPECT_STREQ(copy->GetCellText(1, 1), "before");
    EXPECT_EQ(copy->GetRowCount(), 2);
    EXPECT_EQ(copy->GetOrigin(), CPoint(1000, 2000));
    EXPECT_EQ(copy->Grid().GetCell(1, 1)->GetGrid(), &copy->Grid());
}

// A table placed from a library takes its stored level and raises the
// page's highest level to it, so it is drawn and picked like the others.
TEST_F(TableOnPage, LibraryTablesRaiseThePagesLevel)
{
    CTableElement* table = AddTable(9);
    CArchive ar;
    table->StoreToLibrary(ar);
    std::string bytes = ar.Buffer();

    CPageSet target;
    target.AppendPage();
    CPage* page = target.GetPageAt(0);
    ASSERT_EQ(page->GetMaxLevel(), 0);
    CArchive in(bytes.substr(4)); // the reader has taken the kind
    auto placed = std::make_unique<CTableElement>(page, page->GetMaxLevel());
    ASSERT_EQ(placed->LoadFromLibrary(in, 107), 1);
    EXPECT_EQ(placed->GetLevel(), 9);
    EXPECT_EQ(page->GetMaxLevel(), 9);
    page->AddElement(placed.release());
    CGraphElement* found = nullptr;
    EXPECT_EQ(page->HitTestTable(2500, 2500, found), 1);
    QImage image(80, 80, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        CDC dc(&painter);
        page->Draw(&dc, 50.0, 0, 0, CRect(0, 0, 80, 80));
    }
    EXPECT_EQ(image.pixel(20, 40), qRgb(0, 0, 0)); // the table's left line at x 1000
}

TEST_F(TableOnPage, MovesAndColoursShowInTheBoundsAtOnce)
{
    CTableElement* table = AddTable();
    table->GetBoundRect();
    ASSERT_FALSE(table->IsBoundsDirty());
    table->MoveTo(0, 0);
    EXPECT_TRUE(table->IsBoundsDirty());
    EXPECT_EQ(table->GetBoundRect(), CRect(-23, -23, 3023, 1223));
    table->SetLineColor(RGB(1, 2, 3));
    EXPECT_TRUE(table->IsBoundsDirty());
    table->InsertRow(2, 0);
    EXPECT_EQ(table->GetBoundRect(), CRect(-23, -23, 3023, 1823));
}

TEST_F(TableOnPage, DiagonalOfNoWidthChangesNothing)
{
    CTableElement* table = AddTable();
    const std::string before = Record(*table);
    EXPECT_EQ(table->SetCellDiagonal({1, 1}, true, true, 0, 0), 0);
    EXPECT_EQ(table->SetCellDiagonal({1, 1}, true, true, 0, -3), 0);
    EXPECT_EQ(Record(*table), before);
    EXPECT_EQ(table->SetCellDiagonal({1, 1}, true, false, 0, 5), 1);
    EXPECT_EQ(table->RemoveCellDiagonal({1, 1}, true, false), 1);
    EXPECT_EQ(Record(*table), before);
}

TEST_F(TableOnPage, TopMostTableIsFoundByItsBounds)
{
    CTableElement* low = AddTable(1);
    CTableElement* high = AddTable(3);
    high->MoveTo(2000, 2500);
    CGraphElement* found = nullptr;
    ASSERT_EQ(Page()->HitTestTable(2500, 2700, found), 1);
    EXPECT_EQ(found, high);
    ASSERT_EQ(Page()->HitTestTable(1200, 2100, found), 1);
    EXPECT_EQ(found, low);
    // Within the bounds but outside the table: still the table.
    ASSERT_EQ(Page()->HitTestTable(985, 2100, found), 1);
    EXPECT_EQ(Page()->HitTestTable(900, 2100, found), 0);
}

// The page at 10 units per pixel from (0, 0): cells filled, inner lines of
// round(25 / 10) = 3 pixels, and the frame of round(35 / 10) = 4 pixels
// pushed out by round(10 / 20) = 1 pixel.
TEST_F(TableOnPage, DrawnWithItsFrame)
{
    CTableElement* table = AddTable(0, RGB(0, 255, 0));
    table->SetLineColor(RGB(0, 0, 255));
    QImage image(500, 400, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        CDC dc(&painter);
        pageSet.DrawPage(0, &dc, 10.0, 0, 0, CRect(0, 0, 500, 400));
    }
    const QRgb green = qRgb(0, 255, 0);
    const QRgb blue = qRgb(0, 0, 255);
    EXPECT_EQ(image.pixel(150, 230), green);
    EXPECT_EQ(image.pixel(350, 290), green);
    EXPECT_EQ(image.pixel(200, 230), blue); // the line between columns 1 and 2
    EXPECT_EQ(image.pixel(150, 260), blue); // the line between the rows
    // The frame: four pixels about x 99 (left edge 100 less one).
    EXPECT_EQ(image.pixel(98, 250), blue);
    EXPECT_EQ(image.pixel(95, 250), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(250, 198), blue);
    EXPECT_EQ(image.pixel(250, 195), qRgb(255, 255, 255));
}

// The table record has no fields that older files lack: a page of any
// record version reads it the same way.
TEST_F(TableOnPage, RecordIsTheSameAtEveryVersion)
{
    CTableElement* table = AddTable(1);
    table->SetCellText(1, 2, "v");
    CArchive ar;
    Page()->Store(ar);
    const std::string page = ar.Buffer();
    for (const int version : {96, 100, 101, 103, 104, 106, 107}) {
        CPageSet old(version);
        old.AppendPage();
        CArchive in(page);
        ASSERT_EQ(old.GetPageAt(0)->Load(in), 1) << version;
        EXPECT_EQ(in.BytesLeft(), 0u) << version;
        auto* back = dynamic_cast<CTableElement*>(old.GetPageAt(0)->ElementAt(0));
        ASSERT_NE(back, nullptr) << version;
        EXPECT_EQ(Record(*back), Record(*table)) << version;
    }
}
