// Offset lines of a large closed outline: 10,000 corner nodes round a
// wavy ring whose narrow inward notches make the inner offset loop at every
// notch, so loop removal does real work; the outward offset has no loops.
// A smaller outline of smooth stretches between corners is timed beside it,
// since its runs go through splines and refitting.
#include "geometry/CNodePoint.h"
#include "geometry/OffsetNodes.h"

#include <benchmark/benchmark.h>

#include <cmath>

namespace {

constexpr double kTwoPi = 6.28318530718;

// `count` corners round a circle of radius 200,000 (4 m across); every
// tenth one is pulled 3,000 inward, a notch about 1,260 wide.
CNodePointList NotchedRing(int count)
{
    CNodePointList nodes;
    for (int i = 0; i < count; ++i) {
        const double a = kTwoPi / count * i;
        const double r = i % 10 == 5 ? 197000.0 : 200000.0;
        nodes.AddTail(CNodePoint(int(std::lround(std::cos(a) * r)), int(std::lround(std::sin(a) * r)), 0));
    }
    nodes.AddTail(nodes.GetHead());
    return nodes;
}

// Runs of nine smooth nodes between corners round the same circle.
CNodePointList MixedRing(int count)
{
    CNodePointList nodes;
    for (int i = 0; i < count; ++i) {
        const double a = kTwoPi / count * i;
        const double r = 200000.0 + (i % 10 == 0 ? 0.0 : 2000.0 * std::sin(kTwoPi * (i % 10) / 10.0));
        nodes.AddTail(CNodePoint(int(std::lround(std::cos(a) * r)), int(std::lround(std::sin(a) * r)),
                                 i % 10 == 0 ? 0 : 1));
    }
    nodes.AddTail(nodes.GetHead());
    return nodes;
}

void BM_OffsetNotchedRing(benchmark::State& state)
{
    const CNodePointList nodes = NotchedRing(int(state.range(0)));
    const int distance = int(state.range(1));
    CNodePointList out;
    for (auto _ : state) {
        OffsetCurveNodes(nodes, 1, distance, out);
        benchmark::DoNotOptimize(out.GetCount());
    }
    state.counters["nodes out"] = double(out.GetCount());
}
// Inward (loops at every notch) and outward.
BENCHMARK(BM_OffsetNotchedRing)->Args({10000, -1000})->Args({10000, 1000})->Unit(benchmark::kMillisecond);

void BM_OffsetMixedRing(benchmark::State& state)
{
    const CNodePointList nodes = MixedRing(int(state.range(0)));
    CNodePointList out;
    for (auto _ : state) {
        OffsetCurveNodes(nodes, 1, 500, out);
        benchmark::DoNotOptimize(out.GetCount());
    }
    state.counters["nodes out"] = double(out.GetCount());
}
BENCHMARK(BM_OffsetMixedRing)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_NodePolyline(benchmark::State& state)
{
    const CNodePointList nodes = MixedRing(int(state.range(0)));
    for (auto _ : state) {
        CPointList out;
        BuildNodePolyline(nodes, 1, out);
        benchmark::DoNotOptimize(out.GetCount());
    }
}
BENCHMARK(BM_NodePolyline)->Arg(10000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
