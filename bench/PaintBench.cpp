// Paint times of a page at screen scale and of a zoomed-in view.
#include "BenchDocument.h"

#include "model/CPageSet.h"
#include "platform/CDC.h"

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

namespace {

void Paint(benchmark::State& state, const CPageSet& pageSet, double scale, int originX, int originY)
{
    QImage image(1200, 900, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter painter(&image);
        CDC dc(&painter);
        pageSet.DrawPage(0, &dc, scale, originX, originY, CRect(0, 0, image.width(), image.height()));
    }
}

void BM_FullPaintAtScreenScale(benchmark::State& state)
{
    const auto doc = MakeBenchDocument(1, int(state.range(0)), 40);
    // The whole A4 page in about 900 pixels.
    Paint(state, *doc, 33.0, 0, 0);
    state.SetLabel(std::to_string(state.range(0)) + " curves");
}
BENCHMARK(BM_FullPaintAtScreenScale)->Arg(50)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_ZoomedPaint(benchmark::State& state)
{
    const auto doc = MakeBenchDocument(1, 10000, 40);
    // An eighth of the page's width at eight times the screen scale.
    Paint(state, *doc, 33.0 / 8, 9000, 12000);
}
BENCHMARK(BM_ZoomedPaint)->Unit(benchmark::kMillisecond);

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
