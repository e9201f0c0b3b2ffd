// Importing a marker of 400 garment pieces (1 MB of plotter data, made by
// HpglMarker, or the file named by VEK_HPGL_MARKER): the reader and build
// step alone, the import into a document, and the import with the page
// written as a JPEG at 100 dpi.
#include "HpglMarker.h"
#include "HpglPage.h"

#include "library/CHpglDrawing.h"
#include "library/CHpglReader.h"
#include "library/HpglState.h"
#include "model/CClosedCurveElement.h"
#include "model/CPage.h"
#include "model/CTextElement.h"

#include <benchmark/benchmark.h>

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <cstdio>

namespace {

QString g_marker;

// The marker of our own must import as its pieces, each a closed outline
// with its label, or the numbers would time something else.
bool ImportsAsPieces(const QString& path, int pieces)
{
    CVEKDoc doc;
    if (bench::ImportHpgl(doc, path) != 0) return false;
    int closed = 0, texts = 0;
    const CPage* page = doc.GetPageSet()->GetCurrentPage();
    for (POSITION pos = page->GetFirstElementPosition(); pos;) {
        const CGraphElement* element = page->GetNextElement(pos);
        if (dynamic_cast<const CClosedCurveElement*>(element)) ++closed;
        if (dynamic_cast<const CTextElement*>(element)) ++texts;
    }
    return closed == pieces && texts == pieces;
}

bool PrepareMarker(QTemporaryDir& dir)
{
    g_marker = qEnvironmentVariable("VEK_HPGL_MARKER");
    if (!g_marker.isEmpty()) {
        if (QFileInfo(g_marker).isFile()) return true;
        std::fprintf(stderr, "VEK_HPGL_MARKER: no file %s\n", qPrintable(g_marker));
        return false;
    }
    g_marker = dir.filePath(QStringLiteral("marker.plt"));
    const std::string bytes = bench::HpglMarker::Write();
    QFile file(g_marker);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes.data(), qint64(bytes.size())) != qint64(bytes.size())) {
        std::fprintf(stderr, "cannot write the marker to %s\n", qPrintable(g_marker));
        return false;
    }
    file.close();
    if (!ImportsAsPieces(g_marker, bench::HpglMarker::kPieces)) {
        std::fprintf(stderr, "the marker does not import as %d closed pieces with labels\n",
                     bench::HpglMarker::kPieces);
        return false;
    }
    return true;
}

void BM_HpglReadAndBuild(benchmark::State& state)
{
    for (auto _ : state) {
        HpglState hpgl;
        CHpglReader::ReadFile(g_marker, hpgl);
        CHpglDrawing drawing;
        drawing.Build(hpgl);
        benchmark::DoNotOptimize(drawing.Polylines().data());
    }
}
BENCHMARK(BM_HpglReadAndBuild)->Unit(benchmark::kMillisecond);

void BM_HpglImport(benchmark::State& state)
{
    for (auto _ : state) {
        CVEKDoc doc;
        if (bench::ImportHpgl(doc, g_marker) != 0) state.SkipWithError("import failed");
    }
}
BENCHMARK(BM_HpglImport)->Unit(benchmark::kMillisecond);

void BM_HpglImportToJpeg(benchmark::State& state)
{
    QTemporaryDir out;
    const QString jpeg = out.filePath(QStringLiteral("marker.jpg"));
    for (auto _ : state) {
        QString error;
        if (!bench::ImportAndWriteJpeg(g_marker, jpeg, 100, &error)) state.SkipWithError(qPrintable(error));
    }
    state.counters["jpeg_bytes"] = double(QFileInfo(jpeg).size());
}
BENCHMARK(BM_HpglImportToJpeg)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    Settings().SetDefaults();
    QTemporaryDir dir;
    if (!PrepareMarker(dir)) return 1;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
