// Moving and taking selections on a crowded page: 10,000 curves of 40
// nodes (400,000 shared points). A move of the select tool's list runs on
// every mouse move of a drag, so moving the whole page must stay well
// within a frame; the rubber band takes what lies inside it once.
#include "BenchDocument.h"

#include "model/CGraphElement.h"
#include "model/CPage.h"
#include "model/CPageSet.h"
#include "model/CSharedPoint.h"
#include "model/ElementOffset.h"

#include <benchmark/benchmark.h>

#include <QGuiApplication>

#include <memory>
#include <string>
#include <vector>

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

// Points moved one at a time with notification, as the curve editor moves
// the node under the mouse: each move marks what stands on the point. The
// first move builds what the page keeps about each point's users; it is
// timed apart.
std::vector<CSharedPoint*> FirstPoints(int count)
{
    std::vector<CSharedPoint*> points;
    CPage* page = Pages().GetPageAt(0);
    for (int i = 0; i < count && i < page->GetPointCount(); ++i) points.push_back(page->GetPointAt(i));
    return points;
}

void BM_MovePointsNotified(benchmark::State& state)
{
    const std::vector<CSharedPoint*> points = FirstPoints(int(state.range(0)));
    points.front()->MoveTo(points.front()->GetPosition().x, points.front()->GetPosition().y, 1);
    int dx = 10;
    for (auto _ : state) {
        for (CSharedPoint* p : points) {
            const CPoint at = p->GetPosition();
            p->MoveTo(at.x + dx, at.y, 1);
        }
        dx = -dx;
    }
    state.SetLabel(std::to_string(points.size()) + " points, page of " +
                   std::to_string(Pages().GetPageAt(0)->GetPointCount()));
}
BENCHMARK(BM_MovePointsNotified)->Arg(1)->Arg(100)->Arg(1000)->Unit(benchmark::kMicrosecond);

void BM_FirstNotifiedMove(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        std::unique_ptr<CPageSet> pages = MakeBenchDocument(1, kCurves, kNodes);
        CSharedPoint* p = pages->GetPageAt(0)->GetPointAt(0);
        state.ResumeTiming();
        p->MoveTo(p->GetPosition().x + 10, p->GetPosition().y, 1);
        state.PauseTiming();
        pages.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_FirstNotifiedMove)->Unit(benchmark::kMillisecond)->Iterations(3);

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
