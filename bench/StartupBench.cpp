// Start-up: from nothing to the main window on the screen with its first
// page painted, as the program starts without a file (settings read, bars,
// rulers and view built, a new document, the window shown and painted).
// The process's own start (loading the libraries, the application object)
// comes before this and is not measured here.
#include "BenchDocument.h"
#include "FirstPaint.h"
#include "shell/CMainFrame.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QWidget>

#include <memory>

namespace {

void BM_MainWindowShown(benchmark::State& state)
{
    QTemporaryDir home;
    UseSettingsIn(home.path());
    double firstMs = -1.0;
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        auto frame = FirstPaint::ShowMainWindow();
        state.PauseTiming();
        // The first window of the process also meets the fonts, styles and
        // picture decoders for the first time, as a starting program does.
        if (firstMs < 0.0) firstMs = clock.nsecsElapsed() / 1e6;
        frame.reset();
        QApplication::processEvents();
        state.ResumeTiming();
    }
    state.counters["first_ms"] = firstMs;
}
BENCHMARK(BM_MainWindowShown)->Unit(benchmark::kMillisecond)->Iterations(20);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("vek"));
    QApplication::setOrganizationName(QStringLiteral("Morvane"));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
