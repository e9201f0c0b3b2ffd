// Opening, saving and the undo snapshot of a large document through the
// document class (compound file and page-set record): 20 pages of 5,000
// curves of 40 nodes each, 100,000 curves and 4,000,000 nodes in all.
// Besides the times it reports the file's size and the memory the open
// document takes (resident size and its peak while opening, above what the
// process held before).
#include "BenchDocument.h"

#include "app/CSystemSettings.h"
#include "app/CVEKDoc.h"
#include "model/CPageSet.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <malloc.h>

#include <fstream>
#include <memory>
#include <string>

namespace {

constexpr int kPages = 20;
constexpr int kCurvesPerPage = 5000;
constexpr int kNodes = 40;

// A field of /proc/self/status in bytes ("VmRSS", "VmHWM").
double StatusBytes(const char* field)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::string key = std::string(field) + ":";
    while (std::getline(status, line))
        if (line.compare(0, key.size(), key) == 0) return std::stod(line.substr(key.size())) * 1024.0;
    return 0.0;
}

// Gives freed memory back and starts a new peak from the present size.
void ResetPeak()
{
    malloc_trim(0);
    std::ofstream("/proc/self/clear_refs") << "5";
}

struct Files {
    QTemporaryDir dir;
    QString document;
    QString saved;
};

// The document file, made once: the generated page set as a bare record,
// opened and saved as a document.
const Files& DocumentFiles()
{
    static std::unique_ptr<Files> files;
    if (files) return *files;
    files = std::make_unique<Files>();
    qputenv("XDG_CONFIG_HOME", files->dir.filePath(QStringLiteral("config")).toLocal8Bit());
    qputenv("XDG_DATA_HOME", files->dir.filePath(QStringLiteral("data")).toLocal8Bit());
    Settings().SetDefaults();
    const QString bare = files->dir.filePath(QStringLiteral("bare.rec"));
    {
        const std::string record =
            CVEKDoc::StorePageSetRecord(*MakeBenchDocument(kPages, kCurvesPerPage, kNodes));
        QFile out(bare);
        out.open(QIODevice::WriteOnly);
        out.write(record.data(), qint64(record.size()));
    }
    files->document = files->dir.filePath(QStringLiteral("big.vek"));
    files->saved = files->dir.filePath(QStringLiteral("saved.vek"));
    {
        CVEKDoc doc;
        doc.OnOpenDocument(bare);
        doc.OnSaveDocument(files->document);
    }
    QFile::remove(bare);
    return *files;
}

void SetLabel(benchmark::State& state)
{
    state.SetLabel(std::to_string(kPages) + " pages, " + std::to_string(kPages * kCurvesPerPage) + " curves");
}

void BM_OpenDocument(benchmark::State& state)
{
    const Files& files = DocumentFiles();
    const double fileBytes = double(QFileInfo(files.document).size());
    double openBytes = 0.0, peakBytes = 0.0;
    for (auto _ : state) {
        state.PauseTiming();
        auto doc = std::make_unique<CVEKDoc>();
        ResetPeak();
        const double before = StatusBytes("VmRSS");
        state.ResumeTiming();
        benchmark::DoNotOptimize(doc->OnOpenDocument(files.document));
        state.PauseTiming();
        openBytes = StatusBytes("VmRSS") - before;
        peakBytes = StatusBytes("VmHWM") - before;
        doc.reset();
        state.ResumeTiming();
    }
    state.counters["file_MB"] = fileBytes / 1e6;
    state.counters["open_MB"] = openBytes / 1e6;
    state.counters["peak_MB"] = peakBytes / 1e6;
    state.counters["peak_per_file"] = peakBytes / fileBytes;
    SetLabel(state);
}
BENCHMARK(BM_OpenDocument)->Unit(benchmark::kMillisecond)->Iterations(3);

// Saving a document just opened: its curves' bounds, which the record
// holds, are computed for the first time.
void BM_SaveDocument(benchmark::State& state)
{
    const Files& files = DocumentFiles();
    double afterBytes = 0.0, peakBytes = 0.0;
    for (auto _ : state) {
        state.PauseTiming();
        auto doc = std::make_unique<CVEKDoc>();
        doc->OnOpenDocument(files.document);
        ResetPeak();
        const double before = StatusBytes("VmRSS");
        state.ResumeTiming();
        benchmark::DoNotOptimize(doc->OnSaveDocument(files.saved));
        state.PauseTiming();
        afterBytes = StatusBytes("VmRSS") - before;
        peakBytes = StatusBytes("VmHWM") - before;
        doc.reset();
        state.ResumeTiming();
    }
    state.counters["file_MB"] = double(QFileInfo(files.saved).size()) / 1e6;
    state.counters["grown_MB"] = afterBytes / 1e6;
    state.counters["peak_MB"] = peakBytes / 1e6;
    SetLabel(state);
}
BENCHMARK(BM_SaveDocument)->Unit(benchmark::kMillisecond)->Iterations(3);

// The undo snapshot of the open document (a whole copy of the page set).
void BM_SaveUndoState(benchmark::State& state)
{
    const Files& files = DocumentFiles();
    CVEKDoc doc;
    doc.OnOpenDocument(files.document);
    // Each step's backup file would be timed as well; the snapshot alone
    // is measured.
    Settings().m_bAutoBackup = 0;
    for (auto _ : state) {
        doc.SaveUndoState();
        state.PauseTiming();
        doc.ClearUndoList();
        state.ResumeTiming();
    }
    SetLabel(state);
}
BENCHMARK(BM_SaveUndoState)->Unit(benchmark::kMillisecond)->Iterations(3);

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
