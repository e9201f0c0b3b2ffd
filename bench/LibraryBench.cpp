// The drawing library: the browser opening a folder of 500 library files
// (each with a photo, 30 curves and a few texts) and showing its first
// screen of thumbnails, scrolling through all of them twice (the second
// time from the cache: the `drawn` counter says how many files were read,
// once each), reading one preview, and writing and reading a large
// selection.
#include "library/CLibraryContent.h"
#include "library/CLibraryPreviewReader.h"
#include "library/CLibraryReader.h"
#include "library/CLibraryWriter.h"
#include "ui/CDrawingLibraryDlg.h"
#include "ui/CLibraryListBox.h"
#include "ui/CLibraryPreviewCache.h"

#include "settings/CSystemSettings.h"
#include "model/CClosedCurveElement.h"
#include "model/CCurveNode.h"
#include "model/CImageElement.h"
#include "model/COpenCurveElement.h"
#include "model/CPage.h"
#include "model/CPageSet.h"
#include "model/CSharedPoint.h"
#include "model/CTextElement.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <QScrollBar>
#include <QTemporaryDir>

#include <cmath>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

constexpr int kFiles = 500;

QTemporaryDir* g_folder = nullptr;
QString g_oneFile;

// A library entry: `curves` curves of 40 nodes in a 20 cm square, three
// texts and, with `photo`, a photo of 320 x 240 pixels.
std::string Entry(int seed, int curves, bool photo)
{
    CPageSet pages;
    pages.InsertPageAtFront();
    CPage* page = pages.GetPageAt(0);
    std::vector<CGraphElement*> elements;
    for (int c = 0; c < curves; ++c) {
        CCurveNodeList nodes;
        for (int n = 0; n < 40; ++n) {
            const double a = (n + seed + c) * 0.157;
            auto* p = new CSharedPoint(page, 10000 + int(8000 * std::cos(a) * (c + 1) / curves),
                                       10000 + int(8000 * std::sin(a * 1.3) * (c + 2) / (curves + 1)));
            page->AddPoint(p);
            nodes.AddTail(new CCurveNode(p, n % 3 == 0 ? NODE_CORNER : NODE_SMOOTH));
        }
        CCurveElement* curve =
            c % 3 == 0 ? static_cast<CCurveElement*>(new CClosedCurveElement(page, 0, CLineAttr(20), 0, nodes, nullptr))
                       : new COpenCurveElement(page, 0, CLineAttr(10), 0, nodes, 0, 600, 53.0, 0, 600, 53.0);
        page->AddElement(curve);
        elements.push_back(curve);
    }
    for (int t = 0; t < 3; ++t) {
        auto* text = new CTextElement(page, 0, CTextFont("袋口 3 cm", Settings().m_lfDefaultFont, 0), 2000,
                                      3000 + 2000 * t, 1);
        page->AddElement(text);
        elements.push_back(text);
    }
    if (photo) {
        QImage image(320, 240, QImage::Format_ARGB32);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) image.setPixel(x, y, qRgb((x + seed) & 255, y & 255, (x ^ y) & 255));
        auto* picture = new CImageElement(page, 0);
        const CPixelBlock pixels(image);
        picture->SetBitmapCopy(&pixels);
        picture->SetUpperLeft(12000, 12000);
        picture->SetUpperRight(18000, 12000);
        picture->SetLowerRight(18000, 16500);
        picture->SetLowerLeft(12000, 16500);
        page->AddElement(picture);
        elements.push_back(picture);
    }
    return CLibraryWriter::Build(elements);
}

bool MakeFolder()
{
    g_folder = new QTemporaryDir;
    if (!g_folder->isValid()) return false;
    for (int i = 0; i < kFiles; ++i) {
        const QString path = g_folder->filePath(QStringLiteral("entry%1.vkl").arg(i, 3, 10, QLatin1Char('0')));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly)) return false;
        const std::string bytes = Entry(i, 30, true);
        file.write(bytes.data(), qint64(bytes.size()));
        if (i == 0) g_oneFile = path;
    }
    return true;
}

// Opening the browser on the folder until its first screen is painted,
// with nothing drawn before.
void BM_BrowserFirstScreen(benchmark::State& state)
{
    for (auto _ : state) {
        CLibraryPreviewCache cache;
        CDrawingLibraryDlg dialog(g_folder->path(), nullptr, &cache);
        dialog.show();
        const QImage shot = dialog.grab().toImage();
        benchmark::DoNotOptimize(shot.constBits());
        state.counters["drawn"] = cache.Count();
    }
}
BENCHMARK(BM_BrowserFirstScreen)->Unit(benchmark::kMillisecond);

// Scrolling from the first column to the last and back again.
void BM_BrowserScrollTwice(benchmark::State& state)
{
    for (auto _ : state) {
        CLibraryPreviewCache cache;
        CDrawingLibraryDlg dialog(g_folder->path(), nullptr, &cache);
        dialog.show();
        QScrollBar* bar = dialog.ListBox()->horizontalScrollBar();
        for (int pass = 0; pass < 2; ++pass) {
            for (int value = bar->minimum(); value <= bar->maximum(); value += bar->pageStep()) {
                bar->setValue(value);
                benchmark::DoNotOptimize(dialog.ListBox()->viewport()->grab().toImage().constBits());
            }
            bar->setValue(bar->maximum());
            benchmark::DoNotOptimize(dialog.ListBox()->viewport()->grab().toImage().constBits());
        }
        state.counters["files"] = dialog.ListBox()->count();
        state.counters["drawn"] = cache.Count();
    }
}
BENCHMARK(BM_BrowserScrollTwice)->Unit(benchmark::kMillisecond);

// One preview: the head of a 330 kB file whose photo is passed over.
void BM_PreviewRead(benchmark::State& state)
{
    for (auto _ : state) {
        CLibraryPreview preview;
        CLibraryPreviewReader::ReadFile(g_oneFile, preview);
        benchmark::DoNotOptimize(preview.outlines.data());
    }
}
BENCHMARK(BM_PreviewRead)->Unit(benchmark::kMicrosecond);

// A selection of 2,000 curves of 40 nodes written, and read back whole.
void BM_WriteLargeSelection(benchmark::State& state)
{
    for (auto _ : state) benchmark::DoNotOptimize(Entry(1, 2000, false).size());
}
BENCHMARK(BM_WriteLargeSelection)->Unit(benchmark::kMillisecond);

void BM_ReadLargeSelection(benchmark::State& state)
{
    const std::string bytes = Entry(1, 2000, false);
    for (auto _ : state) {
        CLibraryContent content;
        CLibraryReader::ReadBytes(bytes, 0, content);
        benchmark::DoNotOptimize(content.GetElementCount());
    }
    state.counters["bytes"] = double(bytes.size());
}
BENCHMARK(BM_ReadLargeSelection)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Settings().SetDefaults();
    if (!MakeFolder()) {
        std::fprintf(stderr, "cannot write the library folder\n");
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    delete g_folder;
    return 0;
}
