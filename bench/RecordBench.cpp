// Store, load and copy (the undo snapshot) of whole documents.
#include "BenchDocument.h"

#include "model/CPageSet.h"
#include "platform/CArchive.h"

#include <benchmark/benchmark.h>

#include <QGuiApplication>

namespace {

void BM_Store(benchmark::State& state)
{
    const auto doc = MakeBenchDocument(int(state.range(0)), int(state.range(1)), 40);
    std::size_t bytes = 0;
    for (auto _ : state) {
        CArchive ar;
        doc->Store(ar);
        bytes = ar.Buffer().size();
    }
    state.counters["MB"] = double(bytes) / 1e6;
}
BENCHMARK(BM_Store)->Args({1, 50})->Args({1, 10000})->Unit(benchmark::kMillisecond);

void BM_Load(benchmark::State& state)
{
    const auto doc = MakeBenchDocument(int(state.range(0)), int(state.range(1)), 40);
    CArchive out;
    doc->Store(out);
    for (auto _ : state) {
        CPageSet loaded;
        CArchive ar(out.Buffer());
        benchmark::DoNotOptimize(loaded.Load(ar));
    }
}
BENCHMARK(BM_Load)->Args({1, 50})->Args({1, 10000})->Unit(benchmark::kMillisecond);

void BM_UndoSnapshot(benchmark::State& state)
{
    const auto doc = MakeBenchDocument(int(state.range(0)), int(state.range(1)), 40);
    for (auto _ : state) {
        CPageSet copy;
        copy.CopyFrom(*doc);
        benchmark::DoNotOptimize(copy.GetPageCount());
    }
}
BENCHMARK(BM_UndoSnapshot)->Args({1, 50})->Args({1, 10000})->Unit(benchmark::kMillisecond);

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
