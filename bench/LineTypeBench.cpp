// The line-type box with a LineType.dat whose display copy holds many
// points: switching to the curve tool (the tool bar regroups and the box
// follows the settings), the whole start in the process and the program's
// own start from its launch, each against the same with the built-in line
// types only. The file is written here: a custom line
// type whose display copy is a scribble of that many points, every one
// within the display width, as sound as any file the program writes.
#include "BenchDocument.h"
#include "FirstPaint.h"

#include "app/CVEKView.h"
#include "res/CommandIds.h"
#include "settings/CSystemSettings.h"
#include "shell/CMainFrame.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <memory>
#include <random>

namespace {

// The settings files in `folder`, LineType.dat holding one more line type
// whose display copy has `points` points (none: the built-in ones only).
void WriteLineTypes(const QString& folder, int points)
{
    UseSettingsIn(folder);
    CSystemSettings& s = Settings();
    if (points > 0) {
        const CPointList zigzag{CPoint(0, 0), CPoint(600, 600), CPoint(1200, 0)};
        s.AddLineType(CLineAttr::Custom(10, 100, CLineTypeShapeArray{CLineTypeShape(10, 0, zigzag)}));
        std::mt19937 random(1);
        std::uniform_int_distribution<int> along(-6, 6);
        CPointList scribble;
        for (int i = 0; i < points; ++i) scribble.AddTail(CPoint(along(random), along(random)));
        s.m_aLineTypePreviews.back().SetShapes(CLineTypeShapeArray{CLineTypeShape(1, 0, scribble)});
    }
    QString error;
    if (!s.SaveLineTypeFile(CSystemSettings::LineTypeFilePath(), &error)) qFatal("%s", qPrintable(error));
    s.SetDefaults();
}

// From the zoom tool, which shows no line controls, to the curve tool.
void BM_SwitchToCurveTool(benchmark::State& state)
{
    QTemporaryDir home;
    WriteLineTypes(home.path(), int(state.range(0)));
    auto frame = std::make_unique<CMainFrame>();
    frame->NewDocument();
    CVEKView* view = frame->GetEditingView();
    for (auto _ : state) {
        state.PauseTiming();
        view->OnToolCommand(ID_TOOL_ZOOM);
        state.ResumeTiming();
        view->OnToolCommand(ID_TOOL_CURVE);
    }
    state.counters["line_types"] = double(Settings().m_aLineTypes.size());
}
BENCHMARK(BM_SwitchToCurveTool)->Arg(0)->Arg(2000000)->Unit(benchmark::kMillisecond)->Iterations(20);

// Settings read, bars and view built, a new document, the window shown and
// its first page painted, as StartupBench times it.
void BM_StartWithLineTypes(benchmark::State& state)
{
    QTemporaryDir home;
    WriteLineTypes(home.path(), int(state.range(0)));
    for (auto _ : state) {
        auto frame = FirstPaint::ShowMainWindow();
        state.PauseTiming();
        frame.reset();
        QApplication::processEvents();
        Settings().SetDefaults();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartWithLineTypes)->Arg(0)->Arg(2000000)->Unit(benchmark::kMillisecond)->Iterations(10);

// The program itself, from its launch until it has shown its window and
// quit again (VEK_QUIT_AFTER_MS): what a user waits for, the reading of
// the file and the process's own start included.
void BM_ProgramStartWithLineTypes(benchmark::State& state)
{
    QTemporaryDir home;
    WriteLineTypes(home.path(), int(state.range(0)));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("VEK_QUIT_AFTER_MS"), QStringLiteral("0"));
    for (auto _ : state) {
        QProcess vek;
        vek.setProcessEnvironment(environment);
        vek.start(QStringLiteral(VEK_PROGRAM), QStringList());
        if (!vek.waitForFinished(60000) || vek.exitCode() != 0) {
            state.SkipWithError("the program did not start and quit");
            break;
        }
    }
}
BENCHMARK(BM_ProgramStartWithLineTypes)->Arg(0)->Arg(2000000)->Unit(benchmark::kMillisecond)->Iterations(10);

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
