// Paint times of a page at screen scale and of a zoomed-in view.
//
// Each document is made once per process and its geometry computed before
// any timing, so the timed loops measure painting alone (Google Benchmark
// calls a benchmark function several times while it settles the iteration
// count; building 10,000 curves in each call only made the runs slow).
#include "BenchDocument.h"

#include "model/CGraphElement.h"
#include "model/CPage.h"
#include "model/CPageSet.h"
#include "platform/CDC.h"

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <map>
#include <memory>

namespace {

// The whole A4 page in about 900 pixels.
constexpr double kScreenScale = 33.0;

CPageSet& Document(int curves)
{
    static std::map<int, std::unique_ptr<CPageSet>> documents;
    std::unique_ptr<CPageSet>& doc = documents[curves];
    if (!doc) {
        doc = MakeBenchDocument(1, curves, 40);
        CPage* page = doc->GetPageAt(0);
        for (CGraphElement* e : page->Elements()) e->GetBoundRect();
    }
    return *doc;
}

void PaintOnce(QImage& image, const CPageSet& pageSet, double scale, int originX, int originY)
{
    image.fill(Qt::white);
    QPainter painter(&image);
    CDC dc(&painter);
    pageSet.DrawPage(0, &dc, scale, originX, originY, CRect(0, 0, image.width(), image.height()));
}

// Repaints of an unchanged view, as when a window is uncovered or another
// element changes: the first paint is left out of the timing.
void Repaint(benchmark::State& state, const CPageSet& pageSet, double scale, int originX, int originY)
{
    QImage image(1200, 900, QImage::Format_ARGB32_Premultiplied);
    PaintOnce(image, pageSet, scale, originX, originY);
    for (auto _ : state) PaintOnce(image, pageSet, scale, originX, originY);
}

void BM_FullPaintAtScreenScale(benchmark::State& state)
{
    const CPageSet& doc = Document(int(state.range(0)));
    Repaint(state, doc, kScreenScale, 0, 0);
    state.SetLabel(std::to_string(state.range(0)) + " curves");
}
BENCHMARK(BM_FullPaintAtScreenScale)->Arg(50)->Arg(10000)->Unit(benchmark::kMillisecond);

// Every paint at a new scale, as while zooming: nothing drawn before at
// another scale can be reused.
void BM_FullPaintAtNewScale(benchmark::State& state)
{
    const CPageSet& doc = Document(int(state.range(0)));
    QImage image(1200, 900, QImage::Format_ARGB32_Premultiplied);
    int i = 0;
    for (auto _ : state) PaintOnce(image, doc, kScreenScale + (i++ % 2) * 0.5, 0, 0);
    state.SetLabel(std::to_string(state.range(0)) + " curves");
}
BENCHMARK(BM_FullPaintAtNewScale)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_ZoomedPaint(benchmark::State& state)
{
    const CPageSet& doc = Document(10000);
    // An eighth of the page's width at eight times the screen scale.
    Repaint(state, doc, kScreenScale / 8, 9000, 12000);
}
BENCHMARK(BM_ZoomedPaint)->Unit(benchmark::kMillisecond);

// Zooming in step by step around the same place.
void BM_ZoomedPaintAtNewScale(benchmark::State& state)
{
    const CPageSet& doc = Document(10000);
    QImage image(1200, 900, QImage::Format_ARGB32_Premultiplied);
    int i = 0;
    for (auto _ : state) PaintOnce(image, doc, kScreenScale / 8 + (i++ % 2) * 0.25, 9000, 12000);
}
BENCHMARK(BM_ZoomedPaintAtNewScale)->Unit(benchmark::kMillisecond);

// Computing every element's outline, line shapes and bounds, which the
// first paint after loading does and the benchmarks above leave out.
void BM_PageGeometry(benchmark::State& state)
{
    CPageSet& doc = Document(int(state.range(0)));
    CPage* page = doc.GetPageAt(0);
    for (auto _ : state) {
        for (CGraphElement* e : page->Elements()) {
            e->InvalidateBounds();
            e->GetBoundRect();
        }
    }
}
BENCHMARK(BM_PageGeometry)->Arg(10000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
