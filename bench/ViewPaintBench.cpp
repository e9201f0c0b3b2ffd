// Repaints of the editing view: when only the tool's feedback changes (a
// rubber band following the mouse) the view paints from its page image;
// after a change of the page it paints every element again.
#include "BenchDocument.h"

#include "app/CDesignTool.h"
#include "app/CVEKDoc.h"
#include "app/CVEKView.h"
#include "shell/CToolTable.h"
#include "model/CPageSet.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <array>
#include <memory>

namespace {

// A rubber rectangle that grows by a pixel on every paint.
class RubberBandTool : public CDesignTool {
public:
    using CDesignTool::CDesignTool;
    void Draw(CDC* dc, double scale, int originX, int originY, const CRect&) override
    {
        corner = 3000 + (corner + 37) % 15000;
        DrawRubberRect(dc, 2000, 2000, corner, corner, scale, originX, originY);
    }
    int corner = 0;
};

struct ViewOfDocument {
    QTemporaryDir dir;
    CVEKDoc doc;
    std::unique_ptr<CVEKView> view;
    QImage target;
};

// The small and the large document's views, released by main while the
// application still runs: widgets must go before it.
std::array<std::unique_ptr<ViewOfDocument>, 2>& Made()
{
    static std::array<std::unique_ptr<ViewOfDocument>, 2> made;
    return made;
}

// The view of a one-page document of `curves` curves in a window of 1200 x
// 900 pixels, the page fitted and painted once.
ViewOfDocument& View(int curves)
{
    std::unique_ptr<ViewOfDocument>& v = Made()[curves > 1000 ? 1 : 0];
    if (v) return *v;
    v = std::make_unique<ViewOfDocument>();
    UseSettingsIn(v->dir.path());
    const std::string record = CVEKDoc::StorePageSetRecord(*MakeBenchDocument(1, curves, 40));
    const QString path = v->dir.filePath(QStringLiteral("bench.vek"));
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(record.data(), qint64(record.size()));
    file.close();
    v->doc.OnOpenDocument(path);
    v->view = std::make_unique<CVEKView>(&v->doc, CToolTable());
    v->view->ReplaceTool(CVEKView::kCurveTool, std::make_unique<RubberBandTool>(v->view.get()));
    v->view->resize(1200, 900);
    v->view->ZoomToFitPage();
    v->target = QImage(v->view->size(), QImage::Format_ARGB32_Premultiplied);
    v->view->render(&v->target);
    return *v;
}

void BM_FeedbackRepaint(benchmark::State& state)
{
    ViewOfDocument& v = View(int(state.range(0)));
    for (auto _ : state) {
        v.view->InvalidateFeedback();
        v.view->render(&v.target);
    }
    state.SetLabel(std::to_string(state.range(0)) + " curves");
}
BENCHMARK(BM_FeedbackRepaint)->Arg(50)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_ContentRepaint(benchmark::State& state)
{
    ViewOfDocument& v = View(int(state.range(0)));
    for (auto _ : state) {
        v.view->Invalidate();
        v.view->render(&v.target);
    }
    state.SetLabel(std::to_string(state.range(0)) + " curves");
}
BENCHMARK(BM_ContentRepaint)->Arg(50)->Arg(10000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    for (auto& view : Made()) view.reset();
    return 0;
}
