// Line fills: laying out the fill lines of a curve (each inside stretch
// laid out as a two-node open curve would be), also for a family so dense
// that only every n-th line is kept; opening a page of line fills whose
// outlines reach kilometres off the page, or whose outlines and open lines
// pass through a node at the far corner of the coordinates; and dragging a
// line fill's origin in the fill tool, where every mouse move lays the
// lines out again and repaints the view.
#include "BenchDocument.h"
#include "app/CVEKDoc.h"
#include "app/CVEKView.h"
#include "shell/CToolTable.h"
#include "editors/CVTFill.h"
#include "model/CClosedCurveElement.h"
#include "model/CCurveNode.h"
#include "model/COpenCurveElement.h"
#include "model/CPage.h"
#include "model/CPageSet.h"
#include "model/CSharedPoint.h"
#include "res/CommandIds.h"
#include "platform/CDC.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
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

// The fill laid out anew and painted over an A4 page at screen size, as
// the view paints it after a change: the lines are laid out where they are
// painted.
void PaintPage(CClosedCurveElement& curve, QImage& image)
{
    curve.InvalidateBounds();
    QPainter painter(&image);
    CDC dc(&painter);
    curve.Draw(&dc, 29700.0 / image.height(), 0, 0, CRect(0, 0, image.width(), image.height()));
}

// Arguments: the square's side and the spacing of its lines.
void BM_LineFillLayout(benchmark::State& state)
{
    CPageSet pageSet;
    pageSet.AppendPage();
    CClosedCurveElement* curve = LineFilledSquare(pageSet, int(state.range(0)), int(state.range(1)));
    QImage image(760, 1080, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) PaintPage(*curve, image);
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
// span the far node's distance, and a paint of the page lays out those it
// shows. Arguments: the distance in page units (100,000,000 is a
// kilometre) and the spacing of the lines.
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
    QImage image(760, 1080, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) PaintPage(*curve, image);
    // What the whole fill holds, of which the page shows a little.
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

// A page of 40 line-filled outlines (circles of 2,000 corners), each with
// one node pulled 21 km away when the argument is 1, as a damaged document
// holds them: opening the document and showing its page in a view. The
// far nodes must cost no more than what the page shows of their fills.
QString PageOfLineFillsFile(bool farNodes)
{
    static QTemporaryDir dir;
    const QString path = dir.filePath(farNodes ? QStringLiteral("far.vek") : QStringLiteral("near.vek"));
    if (QFileInfo::exists(path)) return path;
    UseSettingsIn(dir.path());
    CVEKDoc doc;
    doc.OnNewDocument();
    CPageSet& pageSet = *doc.GetPageSet();
    CPage* page = pageSet.GetCurrentPage();
    constexpr int kCorners = 2000;
    for (int k = 0; k < 40; ++k) {
        const int cx = 2500 + 4000 * (k % 5);
        const int cy = 2500 + 3500 * (k / 5);
        CCurveNodeList nodes;
        for (int i = 0; i < kCorners; ++i) {
            const double t = 2.0 * 3.14159265358979 * i / kCorners;
            auto* point = new CSharedPoint(page, cx + int(std::lround(1500 * std::cos(t))),
                                           cy + int(std::lround(1500 * std::sin(t))));
            page->AddPoint(point);
            nodes.AddTail(new CCurveNode(point, NODE_CORNER));
            if (farNodes && i == kCorners / 8) {
                auto* spike = new CSharedPoint(page, 2147483647, 1073741823);
                page->AddPoint(spike);
                nodes.AddTail(new CCurveNode(spike, NODE_CORNER));
            }
        }
        CFillStyle style;
        style.SetLineAttr(CLineAttr::Dashed(10));
        style.SetAngle(100.0);
        style.SetSpacing(100);
        pageSet.AddElementToPage(new CClosedCurveElement(page, 0, CLineAttr(10), 0, nodes, nullptr, style));
    }
    return doc.OnSaveDocument(path) ? path : QString();
}

// Opens the document at `path` and paints its page fitted into a 1200 x
// 900 view, once an iteration.
void OpenAndPaint(benchmark::State& state, const QString& path)
{
    CVEKDoc doc;
    doc.OnNewDocument();
    CVEKView view(&doc, CToolTable());
    view.resize(1200, 900);
    QImage target(view.size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        if (doc.OnOpenDocument(path) != CVEKDoc::LoadResult::Ok) {
            state.SkipWithError("the generated document did not open");
            break;
        }
        view.ZoomToFitPage();
        view.render(&target);
        state.PauseTiming();
        doc.OnNewDocument();
        state.ResumeTiming();
    }
}

void BM_OpenPageOfLineFills(benchmark::State& state)
{
    OpenAndPaint(state, PageOfLineFillsFile(state.range(0) != 0));
}
BENCHMARK(BM_OpenPageOfLineFills)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// A page of 200 small outlines of smooth nodes (one closed spline each),
// one of whose nodes stands at the far corner of the coordinates,
// (2^31 - 1, 2^31 - 1), when `far` is 1, and beside its outline when 0;
// line-filled when `filled` is 1, with a plain line and no fill when 0.
// Opening the document and showing its page in a view must cost what the
// page shows: the far node's spline segments are flattened only where they
// cross what is painted. The open curves are the same nodes as open lines
// with corners at their ends and an arrowhead on each: the far node is the
// second, so the spline leaves the first arrowhead towards it.
enum class FarPageShape { PlainOutline, LineFilledOutline, OpenArrowedLine };

QString PageOfFarSmoothNodesFile(bool farNodes, FarPageShape shape)
{
    static QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("smooth-%1-%2.vek").arg(farNodes ? "far" : "near").arg(int(shape)));
    if (QFileInfo::exists(path)) return path;
    UseSettingsIn(dir.path());
    CVEKDoc doc;
    doc.OnNewDocument();
    CPageSet& pageSet = *doc.GetPageSet();
    CPage* page = pageSet.GetCurrentPage();
    constexpr int kNodes = 8;
    const bool open = shape == FarPageShape::OpenArrowedLine;
    for (int k = 0; k < 200; ++k) {
        const int cx = 1500 + 1800 * (k % 10);
        const int cy = 1500 + 1300 * (k / 10);
        CCurveNodeList nodes;
        for (int i = 0; i < kNodes; ++i) {
            const double t = 2.0 * 3.14159265358979 * i / kNodes;
            CPoint p(cx + int(std::lround(600 * std::cos(t))), cy + int(std::lround(500 * std::sin(t))));
            if (i == 1) p = farNodes ? CPoint(2147483647, 2147483647) : CPoint(cx + 800, cy + 700);
            auto* point = new CSharedPoint(page, p.x, p.y);
            page->AddPoint(point);
            const bool end = open && (i == 0 || i == kNodes - 1);
            nodes.AddTail(new CCurveNode(point, end ? NODE_CORNER : NODE_SMOOTH));
        }
        CGraphElement* curve = nullptr;
        if (shape == FarPageShape::LineFilledOutline) {
            CFillStyle style;
            style.SetAngle(30.0);
            style.SetOrigin(cx, cy);
            style.SetSpacing(100);
            curve = new CClosedCurveElement(page, 0, CLineAttr(10), 0, nodes, nullptr, style);
        } else if (open) {
            curve = new COpenCurveElement(page, 0, CLineAttr(10), 0, nodes, ARROW_FILLED, 300, 53.0, ARROW_OPEN,
                                          300, 53.0);
        } else {
            curve = new CClosedCurveElement(page, 0, CLineAttr(10), 0, nodes, nullptr);
        }
        pageSet.AddElementToPage(curve);
    }
    return doc.OnSaveDocument(path) ? path : QString();
}

void OpenPageOfFarSmoothNodes(benchmark::State& state, FarPageShape shape)
{
    OpenAndPaint(state, PageOfFarSmoothNodesFile(state.range(0) != 0, shape));
}

void BM_OpenPageOfFarSmoothNodes(benchmark::State& state)
{
    OpenPageOfFarSmoothNodes(state, state.range(1) != 0 ? FarPageShape::LineFilledOutline : FarPageShape::PlainOutline);
}
BENCHMARK(BM_OpenPageOfFarSmoothNodes)
    ->ArgNames({"far", "filled"})
    ->Args({0, 1})
    ->Args({1, 1})
    ->Args({0, 0})
    ->Args({1, 0})
    ->Unit(benchmark::kMillisecond);

void BM_OpenPageOfFarSmoothOpenCurves(benchmark::State& state)
{
    OpenPageOfFarSmoothNodes(state, FarPageShape::OpenArrowedLine);
}
BENCHMARK(BM_OpenPageOfFarSmoothOpenCurves)->ArgName("far")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// One mouse move of a grabbed origin on a page-sized line fill of 280
// lines: the lines laid out again and the view repainted.
void BM_LineFillOriginDrag(benchmark::State& state)
{
    QTemporaryDir dir;
    UseSettingsIn(dir.path());
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
