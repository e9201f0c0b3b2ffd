// Moving and taking selections on a crowded page: 10,000 curves of 40
// nodes (400,000 shared points). A move of the select tool's list runs on
// every mouse move of a drag, so moving the whole page must stay well
// within a frame; the rubber band takes what lies inside it once.
#include "BenchDocument.h"

#include "model/CGraphElement.h"
#include "model/CPage.h"
#include "model/CPageSet.h"
#include "model/ElementOffset.h"

#include <benchmark/benchmark.h>

#include <QGuiApplication>

#include <memory>

namespace {

constexpr int kCurves = 10000;
constexpr int kNodes = 40;

CPageSet& Pages()
{
    static std::unique_ptr<CPageSet> pages = MakeBenchDocument(1, kCurves, kNodes);
    return *pages;
}

// The first `count` elements of the page, as a band or Shift+clicks list.
CElementList FirstElements(int count)
{
    CElementList list;
    for (CGraphElement* e : Pages().GetPageAt(0)->Elements()) {
        if (list.GetCount() >= count) break;
        list.AddTail(e);
    }
    return list;
}

void BM_MoveList(benchmark::State& state)
{
    const CElementList list = FirstElements(int(state.range(0)));
    int dx = 10;
    for (auto _ : state) {
        OffsetElements(list, dx, 0);
        dx = -dx;
    }
    state.SetLabel(std::to_string(list.GetCount()) + " curves of " + std::to_string(kNodes) + " nodes");
}
BENCHMARK(BM_MoveList)->Arg(100)->Arg(kCurves)->Unit(benchmark::kMillisecond);

// The rubber band over the whole page: the elements meeting it, each then
// checked to lie wholly inside.
void BM_BandOverPage(benchmark::State& state)
{
    CPage* page = Pages().GetPageAt(0);
    const CSize paper = Pages().GetPaperSize();
    const CRect band(0, 0, paper.cx, paper.cy);
    int inside = 0;
    for (auto _ : state) {
        CElementList meeting;
        page->GetElementsInRect(band, ELEMENT_ALL, meeting);
        inside = 0;
        for (CGraphElement* e : meeting) {
            const CRect r = e->GetBoundRect();
            if (r.left >= band.left && r.top >= band.top && r.right <= band.right && r.bottom <= band.bottom) ++inside;
        }
    }
    state.counters["inside"] = inside;
}
BENCHMARK(BM_BandOverPage)->Unit(benchmark::kMillisecond);

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
