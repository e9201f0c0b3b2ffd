// Opening, saving and the undo snapshot of a large document through the
// document class (compound file and page-set record): 20 pages of 5,000
// curves of 40 nodes each, 100,000 curves and 4,000,000 nodes in all. And
// opening a document of thousands of empty pages, alone and into a view,
// and changing and inserting pages in it.
// Besides the times it reports the file's size and the memory the open
// document takes (resident size and its peak while opening, above what the
// process held before; run the open benchmark first, in a process of its
// own, for these to be the document's alone).
#include "BenchDocument.h"

#include "settings/CSystemSettings.h"
#include "app/CVEKDoc.h"
#include "app/CSheetTabBar.h"
#include "app/CVEKView.h"
#include "shell/CToolTable.h"
#include "model/CPageSet.h"
#include "platform/CCompoundFile.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>

#include <malloc.h>
#include <sys/wait.h>
#include <unistd.h>

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

// The document file, made once in a child process, so that this process
// opens it on a fresh heap and its memory figures are the document's own.
const Files& DocumentFiles()
{
    static std::unique_ptr<Files> files;
    if (files) return *files;
    files = std::make_unique<Files>();
    UseSettingsIn(files->dir.path());
    files->document = files->dir.filePath(QStringLiteral("big.vek"));
    files->saved = files->dir.filePath(QStringLiteral("saved.vek"));
    const std::string path = files->document.toStdString();
    const pid_t child = fork();
    if (child == 0) {
        CCompoundEntry root;
        root.isStorage = true;
        CCompoundEntry contents;
        contents.name = "Contents";
        contents.data = CVEKDoc::StorePageSetRecord(*MakeBenchDocument(kPages, kCurvesPerPage, kNodes));
        root.children.push_back(std::move(contents));
        std::string bytes, why;
        const bool built = CCompoundFile::Build(root, bytes, why);
        std::ofstream(path, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
        _exit(built ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
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
    // Memory is measured on the first open: later ones reuse what the
    // first gave back.
    double openBytes = -1.0, peakBytes = -1.0;
    for (auto _ : state) {
        state.PauseTiming();
        auto doc = std::make_unique<CVEKDoc>();
        ResetPeak();
        const double before = StatusBytes("VmRSS");
        state.ResumeTiming();
        const CVEKDoc::LoadResult result = doc->OnOpenDocument(files.document);
        state.PauseTiming();
        // A document that did not open (a file cut short by a full disk)
        // would time nothing.
        if (result != CVEKDoc::LoadResult::Ok) {
            state.SkipWithError("the generated document did not open");
            break;
        }
        if (openBytes < 0.0) {
            openBytes = StatusBytes("VmRSS") - before;
            peakBytes = StatusBytes("VmHWM") - before;
        }
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

// Saving a document just opened: the curves write back the bounds they
// were read with, so no geometry is built, and the record goes straight
// into the file. The memory figures are what the save added and its peak.
void BM_SaveDocument(benchmark::State& state)
{
    const Files& files = DocumentFiles();
    double afterBytes = -1.0, peakBytes = -1.0;
    for (auto _ : state) {
        state.PauseTiming();
        auto doc = std::make_unique<CVEKDoc>();
        if (doc->OnOpenDocument(files.document) != CVEKDoc::LoadResult::Ok) {
            state.SkipWithError("the generated document did not open");
            break;
        }
        ResetPeak();
        const double before = StatusBytes("VmRSS");
        state.ResumeTiming();
        benchmark::DoNotOptimize(doc->OnSaveDocument(files.saved));
        state.PauseTiming();
        if (afterBytes < 0.0) {
            afterBytes = StatusBytes("VmRSS") - before;
            peakBytes = StatusBytes("VmHWM") - before;
        }
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
    if (doc.OnOpenDocument(files.document) != CVEKDoc::LoadResult::Ok) {
        state.SkipWithError("the generated document did not open");
        return;
    }
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

// A document of many empty pages: read alone, and read into an open
// view, which gives every page its tab. The difference is what the view
// adds to opening; it must stay small however many pages there are.
QString ManyPagesFile(int pages)
{
    static QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("pages-%1.vek").arg(pages));
    if (QFileInfo::exists(path)) return path;
    UseSettingsIn(dir.path());
    CVEKDoc doc;
    doc.OnNewDocument();
    while (doc.GetPageSet()->GetPageCount() < pages) doc.GetPageSet()->AppendPage();
    return doc.OnSaveDocument(path) ? path : QString();
}

void BM_ReadManyPages(benchmark::State& state)
{
    const QString path = ManyPagesFile(int(state.range(0)));
    CVEKDoc doc;
    for (auto _ : state) {
        if (doc.OnOpenDocument(path) != CVEKDoc::LoadResult::Ok) {
            state.SkipWithError("the generated document did not open");
            break;
        }
    }
    state.counters["pages"] = doc.GetPageSet()->GetPageCount();
}
BENCHMARK(BM_ReadManyPages)->Arg(2000)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_OpenManyPagesInAView(benchmark::State& state)
{
    const QString path = ManyPagesFile(int(state.range(0)));
    CVEKDoc doc;
    doc.OnNewDocument();
    CVEKView view(&doc, CToolTable());
    view.resize(1200, 900);
    for (auto _ : state) {
        if (doc.OnOpenDocument(path) != CVEKDoc::LoadResult::Ok) {
            state.SkipWithError("the generated document did not open");
            break;
        }
        state.PauseTiming();
        state.counters["tabs"] = view.GetSheetCount();
        doc.OnNewDocument();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenManyPagesInAView)->Arg(2000)->Arg(10000)->Unit(benchmark::kMillisecond);

// A page change in a document of many pages, as the tab bar's next and
// previous buttons make it, back and forth in the middle of the tabs: the
// view shows the new page and the bar its tabs. What it costs must follow
// what is shown, not the number of pages.
void BM_ChangePageAmongManyPages(benchmark::State& state)
{
    const QString path = ManyPagesFile(int(state.range(0)));
    CVEKDoc doc;
    doc.OnNewDocument();
    CVEKView view(&doc, CToolTable());
    view.resize(1200, 900);
    if (doc.OnOpenDocument(path) != CVEKDoc::LoadResult::Ok) {
        state.SkipWithError("the generated document did not open");
        return;
    }
    CSheetTabBar* bar = view.GetSheetTabBar();
    bar->SetCurrentSheet(view.GetSheetCount() / 2);
    QImage target(view.size(), QImage::Format_ARGB32_Premultiplied);
    view.render(&target);
    bool forward = true;
    for (auto _ : state) {
        if (forward)
            bar->OnNextSheet();
        else
            bar->OnPrevSheet();
        forward = !forward;
        view.render(&target);
    }
    state.counters["pages"] = doc.GetPageSet()->GetPageCount();
}
BENCHMARK(BM_ChangePageAmongManyPages)->Arg(2000)->Arg(10000)->Arg(30000)->Unit(benchmark::kMillisecond);

// A page inserted before the current one and taken out again in a tab bar
// of many tabs, each followed by a paint of the bar: every tab after the
// new one takes a new number.
void BM_InsertPageAmongManyTabs(benchmark::State& state)
{
    CSheetTabBar bar;
    bar.resize(1200, bar.sizeHint().height());
    bar.SetSheetCount(int(state.range(0)));
    bar.SetCurrentSheet(int(state.range(0)) / 2);
    QImage target(bar.size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        bar.InsertSheetKeepCurrent(bar.GetCurrentSheet(), CSheetTabBar::INSERT_BEFORE, false);
        bar.render(&target);
        bar.DeleteSheet(bar.GetCurrentSheet() - 1);
        bar.render(&target);
    }
    state.counters["tabs"] = bar.GetSheetCount();
}
BENCHMARK(BM_InsertPageAmongManyTabs)->Arg(2000)->Arg(10000)->Arg(30000)->Unit(benchmark::kMillisecond);

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
