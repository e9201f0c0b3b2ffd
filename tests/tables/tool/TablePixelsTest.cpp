// Tables edited through the tool, then looked at: the page rendered as the
// view paints it, with the border lines wider than the inner lines, the
// diagonals the box carried into the cells, and texts placed by their
// alignments; and the box drawing its diagonals over itself.
#include "tests/tables/tool/TableToolTestSupport.h"
#include "tests/ui/ScreenshotSupport.h"
#include "res/CommandIds.h"

namespace {

class TablePixelsTest : public TableViewFixture {
protected:
    void SetUp() override
    {
        TableViewFixture::SetUp();
        Settings().m_crTableLineColor = RGB(255, 0, 0);
    }
    static bool IsRed(QRgb p) { return qRed(p) > 200 && qGreen(p) < 60 && qBlue(p) < 60; }
    // Red pixels on the row of device pixels through page y, from x0 to x1.
    int RedRun(const QImage& image, int y, int x0, int x1)
    {
        const QPoint a = Device(x0, y);
        const QPoint b = Device(x1, y);
        int n = 0;
        for (int x = a.x(); x <= b.x(); ++x) n += IsRed(image.pixel(x, a.y())) ? 1 : 0;
        return n;
    }
    // The device box of the dark pixels inside a page rectangle.
    QRect DarkBox(const QImage& image, const CRect& r)
    {
        const QPoint a = Device(r.left + 40, r.top + 40);
        const QPoint b = Device(r.right - 40, r.bottom - 40);
        QRect box;
        for (int y = a.y(); y <= b.y(); ++y)
            for (int x = a.x(); x <= b.x(); ++x)
                if (qGray(image.pixel(x, y)) < 100) box = box.united(QRect(x, y, 1, 1));
        return box;
    }
    // Types a text into the cell with an alignment from the tool bar.
    void Fill(CTableElement* table, int row, int index, int alignment, const QString& text)
    {
        ClickCell(table, row, index);
        view->OnTextAlignmentSelChange(alignment);
        Type(text);
        Press(Qt::Key_Tab);
    }
};

} // namespace

TEST_F(TablePixelsTest, BorderLinesAreDrawnWiderThanTheInnerLines)
{
    Settings().m_nTableBorderWidth = 60;
    Settings().m_nTableInnerWidth = 20;
    CTableElement* table = AddTable(2, 2, CPoint(2000, 3000), 2000, 1000);
    const QImage page = RenderPage();
    const int y = 3500;
    const int border = RedRun(page, y, 1850, 2150);
    const int inner = RedRun(page, y, 3850, 4150);
    EXPECT_GE(border, 6);
    EXPECT_GE(inner, 2);
    EXPECT_LE(inner, 3);
    EXPECT_GT(border, inner + 2);
    EXPECT_EQ(RedRun(page, y, 2300, 3700), 0) << "inside the cell";
    (void)table;
}

TEST_F(TablePixelsTest, ADiagonalCarriedFromTheBoxIsDrawnAcrossItsCell)
{
    Settings().m_nTableInnerWidth = 30;
    CTableElement* table = AddTable(1, 2, CPoint(2000, 3000), 3000, 2000);
    EditWithTableTool(table, 1, 1);
    Run(ID_DIAGONAL_A);
    // The box draws the diagonal over itself while the cell is open.
    view->setFocus();
    QApplication::processEvents();
    {
        const QImage shot = RenderView();
        KeepScreenshot(shot, QStringLiteral("table-cell-open"));
        const QRect box = Box()->geometry();
        const QPoint centre = box.center();
        bool red = false;
        for (int d = -2; d <= 2 && !red; ++d) red = IsRed(shot.pixel(centre.x() + d, centre.y()));
        EXPECT_TRUE(red) << "on the box";
    }
    ClickCell(table, 1, 2);
    const QImage page = RenderPage();
    const CRect cell = CellRect(table, 1, 1);
    for (const double t : {0.25, 0.5, 0.75}) {
        const int x = cell.left + int(t * cell.Width());
        const int y = cell.top + int(t * cell.Height());
        EXPECT_TRUE(ColourNear(page, x, y, qRgb(255, 0, 0), 2)) << t;
        // The other diagonal is not there.
        const int ax = cell.right - int(t * cell.Width());
        if (t != 0.5) {
            EXPECT_FALSE(ColourNear(page, ax, y, qRgb(255, 0, 0), 2)) << t;
        }
    }
    const CRect other = CellRect(table, 1, 2);
    EXPECT_FALSE(ColourNear(page, (other.left + other.right) / 2, (other.top + other.bottom) / 2, qRgb(255, 0, 0), 2));
}

TEST_F(TablePixelsTest, TextsStandInTheirCellsAsTheirAlignmentsSay)
{
    Settings().m_nTextAlignment = 4;
    CTableElement* table = AddTable(2, 3, CPoint(500, 3000), 2500, 1500);
    EditWithTableTool(table, 1, 1);
    Fill(table, 1, 1, 3, QStringLiteral("WW"));
    Fill(table, 1, 2, 4, QStringLiteral("WW"));
    Fill(table, 1, 3, 5, QStringLiteral("WW"));
    Fill(table, 2, 1, 0, QStringLiteral("WW"));
    Fill(table, 2, 2, 8, QStringLiteral("WW"));
    Run(ID_EDIT_CANCEL);
    ASSERT_EQ(table->GetCellAlignment({1, 1}), 3);
    const QImage page = RenderPage();
    KeepScreenshot(RenderView(), QStringLiteral("table-aligned-texts"));

    auto box = [&](int row, int index) {
        const QRect b = DarkBox(page, CellRect(table, row, index));
        EXPECT_FALSE(b.isEmpty()) << row << "," << index;
        return b;
    };
    auto cellBox = [&](int row, int index) {
        const CRect r = CellRect(table, row, index);
        return QRect(Device(r.left, r.top), Device(r.right, r.bottom));
    };
    const QRect left = box(1, 1), centre = box(1, 2), right = box(1, 3);
    const QRect c1 = cellBox(1, 1), c2 = cellBox(1, 2), c3 = cellBox(1, 3);
    // Across: against the left margin, in the middle, against the right.
    EXPECT_LT(left.left() - c1.left(), 15);
    EXPECT_GT(c1.right() - left.right(), 100);
    EXPECT_NEAR((centre.left() + centre.right()) / 2, (c2.left() + c2.right()) / 2, 3);
    EXPECT_LT(c3.right() - right.right(), 15);
    EXPECT_GT(right.left() - c3.left(), 100);
    // Down: these three in the middle; top and bottom below them.
    for (const QRect& b : {left, centre, right})
        EXPECT_NEAR((b.top() + b.bottom()) / 2, (c1.top() + c1.bottom()) / 2, 4);
    const QRect top = box(2, 1), bottom = box(2, 2);
    const QRect c4 = cellBox(2, 1), c5 = cellBox(2, 2);
    EXPECT_LT(top.top() - c4.top(), 15);
    EXPECT_LT(c5.bottom() - bottom.bottom(), 15);
    EXPECT_GT(bottom.left() - c5.left(), 100) << "8 is bottom right";
}
