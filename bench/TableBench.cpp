// A page holding a measurement table of 200 rows by 12 columns of texts:
// reading it, painting it at screen scale, and one cell edit with the
// relayout that follows it (the row grown to the new text).
#include "tables/CTableElement.h"

#include "model/CPage.h"
#include "model/CPageSet.h"
#include "platform/CArchive.h"
#include "platform/CDC.h"
#include "platform/CodePage.h"

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <memory>
#include <string>

namespace {

// The whole A4 page in about 900 pixels, as the other paint benchmarks.
constexpr double kScreenScale = 33.0;
constexpr int kRows = 200;
constexpr int kColumns = 12;

LogFont Song()
{
    LogFont lf;
    lf.lfHeight = 318;
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = GB2312_CHARSET;
    lf.SetFaceName("\xCB\xCE\xCC\xE5");
    return lf;
}

std::unique_ptr<CPageSet> MakeTablePage()
{
    auto pageSet = std::make_unique<CPageSet>();
    pageSet->AppendPage();
    CPage* page = pageSet->GetPageAt(0);
    auto* table = new CTableElement(page, 0, kRows, kColumns, RGB(0, 0, 0), 35, 25, CRect(50, 50, 50, 50), 4,
                                    Song(), RGB(0, 0, 0), RGB(255, 255, 255),
                                    CRect(600, 1500, 600 + kColumns * 1650, 1500 + kRows * 500));
    const std::string names[] = {QStringToGbk(QString::fromUtf8("衣长")), QStringToGbk(QString::fromUtf8("胸围")),
                                 QStringToGbk(QString::fromUtf8("肩宽")), QStringToGbk(QString::fromUtf8("袖长"))};
    for (int r = 1; r <= kRows; ++r) {
        table->SetCellText(r, 1, names[r % 4] + std::to_string(r));
        for (int c = 2; c <= kColumns; ++c) table->SetCellText(r, c, std::to_string(60 + (r * 7 + c * 3) % 50) + ".5");
    }
    page->AddElement(table);
    return pageSet;
}

const std::string& TableRecord()
{
    static const std::string record = [] {
        CArchive ar;
        MakeTablePage()->Store(ar);
        return ar.Buffer();
    }();
    return record;
}

void Paint(QImage& image, const CPageSet& pageSet, double scale)
{
    image.fill(Qt::white);
    QPainter painter(&image);
    CDC dc(&painter);
    pageSet.DrawPage(0, &dc, scale, 0, 0, CRect(0, 0, image.width(), image.height()));
}

void BM_TableLoad(benchmark::State& state)
{
    const std::string& record = TableRecord();
    for (auto _ : state) {
        CPageSet pageSet;
        CArchive ar(record);
        pageSet.Load(ar);
        benchmark::DoNotOptimize(pageSet.GetPageCount());
    }
    state.SetLabel(std::to_string(record.size() / 1024) + " KB");
}
BENCHMARK(BM_TableLoad)->Unit(benchmark::kMillisecond);

// The view at screen scale over the page: the rows that fall on it.
void BM_TablePaintAtScreenScale(benchmark::State& state)
{
    const std::unique_ptr<CPageSet> pageSet = MakeTablePage();
    QImage image(1200, 900, QImage::Format_ARGB32_Premultiplied);
    Paint(image, *pageSet, kScreenScale);
    for (auto _ : state) Paint(image, *pageSet, kScreenScale);
}
BENCHMARK(BM_TablePaintAtScreenScale)->Unit(benchmark::kMillisecond);

// The whole table in the view: all 2,400 cells.
void BM_TablePaintWhole(benchmark::State& state)
{
    const std::unique_ptr<CPageSet> pageSet = MakeTablePage();
    QImage image(1200, 900, QImage::Format_ARGB32_Premultiplied);
    const double scale = (1500.0 + kRows * 500) / 900.0;
    Paint(image, *pageSet, scale);
    for (auto _ : state) Paint(image, *pageSet, scale);
}
BENCHMARK(BM_TablePaintWhole)->Unit(benchmark::kMillisecond);

// A cell of the middle row gets a text of three lines or one, in turn, and
// its row is laid out for it: measured, and its lower line moved down
// when the text does not fit.
void BM_TableCellEditAndRelayout(benchmark::State& state)
{
    const std::unique_ptr<CPageSet> pageSet = MakeTablePage();
    auto* table = static_cast<CTableElement*>(pageSet->GetPageAt(0)->ElementAt(0));
    CTableGrid& grid = table->Grid();
    CScreenDC dc;
    const std::string texts[] = {"72.5\r\n73\r\n74", "72.5"};
    int i = 0;
    for (auto _ : state) {
        const CTableCellAddress cell(kRows / 2, 5);
        grid.SetCellText(cell, texts[i++ % 2]);
        const CTableCell* c = grid.GetCell(cell);
        const CRect r = c->GetRect();
        const int needed = r.top + grid.GetMarginTop() + c->MeasureTextSize(&dc).cy + grid.GetMarginBottom();
        if (needed > r.bottom)
            grid.MoveHorizontalLine(&dc, CPoint(r.left, r.bottom), CPoint(r.left, needed), cell);
        else
            grid.MoveHorizontalLine(&dc, CPoint(r.left, r.bottom), CPoint(r.left, r.top), cell);
        benchmark::DoNotOptimize(table->GetBoundRect());
    }
}
BENCHMARK(BM_TableCellEditAndRelayout)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
