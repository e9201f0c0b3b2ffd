// Importing a marker of 400 garment pieces (1 MB of plotter data, from
// ../shared/tools/gen_plt.py or the file named by VEK_HPGL_MARKER): the
// reader and build step alone, the import into a document, and the import
// with the page written as a JPEG at 100 dpi.
#include "HpglPage.h"

#include "library/CHpglDrawing.h"
#include "library/CHpglReader.h"
#include "library/HpglState.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>

namespace {

QString g_marker;

bool PrepareMarker(QTemporaryDir& dir)
{
    g_marker = qEnvironmentVariable("VEK_HPGL_MARKER");
    if (!g_marker.isEmpty()) return QFileInfo(g_marker).isFile();
    g_marker = dir.filePath(QStringLiteral("marker.plt"));
    const int status = QProcess::execute(QStringLiteral("python3"),
                                         {QStringLiteral(VEK_SHARED_TOOLS_DIR "/gen_plt.py"), g_marker,
                                          QStringLiteral("400")});
    return status == 0 && QFileInfo(g_marker).isFile();
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
    if (!PrepareMarker(dir)) {
        std::fprintf(stderr, "no marker file: set VEK_HPGL_MARKER or install python3\n");
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
