// Point capture while the mouse moves over a crowded page: 2,500 curves of
// 40 nodes (100,000 nodes). A move runs the current drawing tool's capture
// (nodes, crossings, points on curves), its feedback, and the repaint of
// the view from its page image; the searches are also timed on their own.
#include "BenchDocument.h"

#include "settings/CSystemSettings.h"
#include "app/CVEKDoc.h"
#include "app/CVEKView.h"
#include "shell/CToolTable.h"
#include "app/CVectorTool.h"
#include "model/CCurveElement.h"
#include "model/CCurveNode.h"
#include "model/CPage.h"
#include "model/CPageSet.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QMouseEvent>
#include <QTemporaryDir>

#include <algorithm>
#include <memory>
#include <vector>

namespace {

constexpr int kCurves = 2500;
constexpr int kNodes = 40;

struct CaptureView {
    QTemporaryDir dir;
    CVEKDoc doc;
    std::unique_ptr<CVEKView> view;
    QImage target;
};

// Released by main while the application still runs: widgets must go
// before it.
std::unique_ptr<CaptureView>& Made()
{
    static std::unique_ptr<CaptureView> made;
    return made;
}

// The document in a view of 1200 x 900 pixels with the default (curve)
// tool current, the page fitted and painted once.
CaptureView& View()
{
    std::unique_ptr<CaptureView>& v = Made();
    if (v) return *v;
    v = std::make_unique<CaptureView>();
    UseSettingsIn(v->dir.path());
    const std::string record = CVEKDoc::StorePageSetRecord(*MakeBenchDocument(1, kCurves, kNodes));
    const QString path = v->dir.filePath(QStringLiteral("capture.vek"));
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(record.data(), qint64(record.size()));
    file.close();
    v->doc.OnOpenDocument(path);
    v->view = std::make_unique<CVEKView>(&v->doc, CToolTable());
    v->view->resize(1200, 900);
    v->view->ZoomToFitPage();
    v->target = QImage(v->view->size(), QImage::Format_ARGB32_Premultiplied);
    v->view->render(&v->target);
    return *v;
}

// Zoom 1 is the whole page in the window; higher zooms enlarge about the
// middle of the crowded area, so the capture radius covers fewer units.
void SetZoom(CaptureView& v, int zoom)
{
    v.view->ZoomToFitPage();
    if (zoom > 1) v.view->ZoomAt(zoom, 10500, 14500);
    v.view->render(&v.target);
}

// Device positions over the page's part of the window: a 40 x 40 grid
// visited with a wide stride, so that even a short run samples crowded
// and empty places alike.
std::vector<QPoint> MousePath(const CaptureView& v)
{
    const CSize paper = v.doc.GetPageSet()->GetPaperSize();
    const CPoint p0 = v.view->ModelToDevicePoint(0, 0);
    const CPoint p1 = v.view->ModelToDevicePoint(paper.cx, paper.cy);
    const int left = std::max(0, std::min(p0.x, p1.x)), right = std::min(1200, std::max(p0.x, p1.x));
    const int top = std::max(0, std::min(p0.y, p1.y)), bottom = std::min(900, std::max(p0.y, p1.y));
    constexpr int kSide = 40;
    std::vector<QPoint> path;
    for (int k = 0; k < kSide * kSide; ++k) {
        const int cell = (k * 97) % (kSide * kSide);
        path.emplace_back(left + (right - left) * (cell % kSide) / kSide + 3,
                          top + (bottom - top) * (cell / kSide) / kSide + 3);
    }
    return path;
}

void SendMove(CVEKView* view, const QPoint& p)
{
    QMouseEvent move(QEvent::MouseMove, QPointF(p), QPointF(view->mapToGlobal(p)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(view, &move);
}

// One mouse move: capture, feedback and the repaint of the view.
void BM_MouseMove(benchmark::State& state)
{
    CaptureView& v = View();
    SetZoom(v, int(state.range(0)));
    const std::vector<QPoint> path = MousePath(v);
    std::size_t i = 0;
    int captured = 0;
    for (auto _ : state) {
        SendMove(v.view.get(), path[i++ % path.size()]);
        v.view->render(&v.target);
        const auto* tool = dynamic_cast<const CVectorTool*>(v.view->GetCurrentTool());
        if (tool && tool->GetCaptureKind() > CAPTURED_FREE_POINT) ++captured;
    }
    state.counters["snapped"] = benchmark::Counter(double(captured) / double(state.iterations()));
    state.counters["tolerance"] = Settings().m_nCaptureRadius * v.view->GetScale();
    state.SetLabel(std::to_string(kCurves * kNodes) + " nodes, zoom " + std::to_string(state.range(0)));
}
BENCHMARK(BM_MouseMove)->Arg(1)->Arg(8)->Unit(benchmark::kMillisecond);

// The tool's capture alone, as the view's mouse move calls it.
void BM_ToolCapture(benchmark::State& state)
{
    CaptureView& v = View();
    SetZoom(v, int(state.range(0)));
    const std::vector<QPoint> path = MousePath(v);
    std::size_t i = 0;
    for (auto _ : state) {
        const QPoint p = path[i++ % path.size()];
        const CPoint m = v.view->DeviceToModelPoint(p.x(), p.y());
        benchmark::DoNotOptimize(v.view->GetCurrentTool()->OnMouseMove(0, m.x, m.y));
    }
    state.SetLabel("zoom " + std::to_string(state.range(0)));
}
BENCHMARK(BM_ToolCapture)->Arg(1)->Arg(8)->Unit(benchmark::kMillisecond);

// The page searches one by one, with the capture tolerance of the fitted
// page.
enum Search { kNode, kCorner, kCrossing, kOnCurve, kOpen, kClosed, kClosedArea };

void BM_PageSearch(benchmark::State& state)
{
    CaptureView& v = View();
    SetZoom(v, 1);
    CPage* page = v.doc.GetPageSet()->GetCurrentPage();
    const double tolerance = Settings().m_nCaptureRadius * v.view->GetScale();
    const std::vector<QPoint> path = MousePath(v);
    std::size_t i = 0;
    int found = 0;
    for (auto _ : state) {
        const QPoint p = path[i++ % path.size()];
        const CPoint m = v.view->DeviceToModelPoint(p.x(), p.y());
        CCurveElement* curve = nullptr;
        CCurveElement* other = nullptr;
        CGraphElement* element = nullptr;
        CCurveNode* node = nullptr;
        CPoint point;
        double d = 0.0;
        switch (state.range(0)) {
        case kNode: found += page->FindNearestNode(m.x, m.y, tolerance, curve, node, d); break;
        case kCorner: found += page->FindNearestCornerNode(m.x, m.y, tolerance, curve, node, d); break;
        case kCrossing:
            found += page->FindNearestIntersection(m.x, m.y, tolerance, curve, other, point, d);
            break;
        case kOnCurve:
            found += page->HitTestElement(m.x, m.y, tolerance, ELEMENT_CURVE, element, point, d);
            break;
        case kOpen: found += page->HitTestOpenCurve(m.x, m.y, tolerance, curve, point, d); break;
        case kClosed: found += page->HitTestClosedCurve(m.x, m.y, tolerance, curve, point, d); break;
        case kClosedArea: found += page->FindClosedCurveAt(m.x, m.y, curve); break;
        }
    }
    benchmark::DoNotOptimize(found);
    static const char* const names[] = {"nearest node",   "nearest corner", "nearest crossing",
                                        "point on curve", "on open curve",  "on closed curve",
                                        "closed area"};
    state.SetLabel(names[state.range(0)]);
}
BENCHMARK(BM_PageSearch)->DenseRange(kNode, kClosedArea)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    Made().reset();
    return 0;
}
