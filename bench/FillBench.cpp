// Line fills: laying out the fill lines of a curve (each inside stretch
// laid out as a two-node open curve would be), also for a family so dense
// that only every n-th line is kept; and dragging a line fill's origin in
// the fill tool, where every mouse move lays the lines out again and
// repaints the view.
#include "settings/CSystemSettings.h"
#include "app/CVEKDoc.h"
#include "app/CVEKView.h"
#include "shell/CToolTable.h"
#include "editors/CVTFill.h"
#include "model/CClosedCurveElement.h"
#include "model/CCurveNode.h"
#include "model/CPage.h"
#include "model/CPageSet.h"
#include "model/CSharedPoint.h"
#include "res/CommandIds.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QTemporaryDir>

#include <cmath>
#include <memory>

namespace {

CClosedCurveElement* LineFilledSquare(CPageSet& pageSet, int size, int spacing)
{
    CPage* page = pageSet.GetCurrentPage();
    CCurveNodeList nodes;
    for (CPoint p : {CPoint(0, 0), CPoint(size, 0), CPoint(size, size), CPoint(0, size)}) {
        auto* point = new CSharedPoint(page, p.x, p.y);
        page->AddPoint(point);
        nodes.AddTail(new CCurveNode(point, NODE_CORNER));
    }
    CFillStyle style;
    style.SetAngle(30.0);
    style.SetOrigin(size / 2, size / 2);
    style.SetSpacing(spacing);
    auto* curve = new CClosedCurveElement(page, 0, CLineAttr(10), 0, nodes, nullptr, style);
    pageSet.AddElementToPage(curve);
    return curve;
}

// Arguments: the square's side and the spacing of its lines.
void BM_LineFillLayout(benchmark::State& state)
{
    CPageSet pageSet;
    pageSet.AppendPage();
    CClosedCurveElement* curve = LineFilledSquare(pageSet, int(state.range(0)), int(state.range(1)));
    for (auto _ : state) {
        curve->InvalidateBounds();
        benchmark::DoNotOptimize(curve->GetBoundRect());
    }
    CLineTypeShapeList shapes;
    curve->GetFillLineShapes(shapes);
    state.SetLabel(std::to_string(shapes.GetCount()) + " lines, every " +
                   std::to_string(curve->GetLineFillStride()) + ". drawn");
}
BENCHMARK(BM_LineFillLayout)
    ->Args({20000, 100})           // 280 lines over an A4 page
    ->Args({20000, 4})             // 7000 lines
    ->Args({100000000, 1})         // far too dense: thinned to 20000
    ->Unit(benchmark::kMillisecond);

// A dense outline (a circle of 20,000 corners, as a curve flattens) with
// one node pulled far away, as damaged documents hold: the fill's lines
// span the far node's distance. Arguments: the distance in page units
// (100,000,000 is a kilometre) and the spacing of the lines.
void BM_LineFillFarNode(benchmark::State& state)
{
    CPageSet pageSet;
    pageSet.AppendPage();
    CPage* page = pageSet.GetCurrentPage();
    const int far = int(state.range(0));
    CCurveNodeList nodes;
    constexpr int kCorners = 20000;
    for (int i = 0; i < kCorners; ++i) {
        const double t = 2.0 * 3.14159265358979 * i / kCorners;
        auto* point = new CSharedPoint(page, 10000 + int(std::lround(9000 * std::cos(t))),
                                       10000 + int(std::lround(9000 * std::sin(t))));
        page->AddPoint(point);
        nodes.AddTail(new CCurveNode(point, NODE_CORNER));
        if (i == kCorners / 8) {
            auto* spike = new CSharedPoint(page, far, far / 2);
            page->AddPoint(spike);
            nodes.AddTail(new CCurveNode(spike, NODE_CORNER));
        }
    }
    CFillStyle style;
    style.SetAngle(100.0);
    style.SetSpacing(int(state.range(1)));
    auto* curve = new CClosedCurveElement(page, 0, CLineAttr(10), 0, nodes, nullptr, style);
    pageSet.AddElementToPage(curve);
    for (auto _ : state) {
        curve->InvalidateBounds();
        benchmark::DoNotOptimize(curve->GetBoundRect());
    }
    CLineTypeShapeList shapes;
    curve->GetFillLineShapes(shapes);
    state.counters["pieces"] = shapes.GetCount();
    state.counters["stride"] = curve->GetLineFillStride();
    state.counters["edges_looked_at"] = double(curve->GetLineFillWork());
}
BENCHMARK(BM_LineFillFarNode)
    ->Args({16800000, 100})        // 168 m
    ->Args({1000000000, 100})      // 10 km
    ->Args({2147483647, 100})      // the far end of the coordinates, 21 km
    ->Unit(benchmark::kMillisecond);

// One mouse move of a grabbed origin on a page-sized line fill of 280
// lines: the lines laid out again and the view repainted.
void BM_LineFillOriginDrag(benchmark::State& state)
{
    QTemporaryDir dir;
    qputenv("XDG_CONFIG_HOME", dir.filePath(QStringLiteral("config")).toLocal8Bit());
    qputenv("XDG_DATA_HOME", dir.filePath(QStringLiteral("data")).toLocal8Bit());
    Settings().SetDefaults();
    CVEKDoc doc;
    doc.OnNewDocument();
    CClosedCurveElement* curve = LineFilledSquare(*doc.GetPageSet(), 20000, 100);
    CVEKView view(&doc, CToolTable());
    view.resize(1200, 900);
    view.ZoomToFitPage();
    view.OnToolCommand(ID_TOOL_FILL);
    auto* fill = dynamic_cast<CVTFill*>(view.GetCurrentTool());
    fill->EditFill(curve);
    QImage target(view.size(), QImage::Format_ARGB32_Premultiplied);
    // Grab the origin circle.
    fill->OnMouseMove(0, 10000, 10000);
    fill->OnLButtonDown(0, 10000, 10000);
    int step = 0;
    for (auto _ : state) {
        step = (step + 1) % 50;
        fill->OnMouseMove(0, 10000 + 7 * step, 10000 + 3 * step);
        view.render(&target);
    }
    fill->Cancel();
}
BENCHMARK(BM_LineFillOriginDrag)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
