// The grading workflow on a group of 507 measured persons of 25 items:
// reading the workbook and building the body-measurement table, and
// grading the persons by two basis items with the result tables built.
// The workbook is written here by the tests' small BIFF8 writer.
#include "grading/CGradingOutput.h"
#include "grading/CGradingPages.h"
#include "grading/CGradingRun.h"
#include "grading/CMeasureSheet.h"
#include "grading/CMeasureTableBuilder.h"
#include "grading/CResultStyle.h"
#include "grading/CXlsReader.h"

#include "tests/grading/XlsWorkbookBuilder.h"

#include "model/CPage.h"
#include "model/CPageSet.h"
#include "platform/CodePage.h"

#include <benchmark/benchmark.h>

#include <QGuiApplication>

#include <memory>
#include <numeric>

namespace {

constexpr int kPersons = 507;
constexpr int kItems = 25;

CResultStyle Style()
{
    CResultStyle style;
    style.font.lfHeight = 318;
    style.font.lfWeight = 400;
    style.font.lfCharSet = GB2312_CHARSET;
    style.font.SetFaceName("\xCB\xCE\xCC\xE5");
    return style;
}

std::unique_ptr<CPageSet> A4()
{
    auto ps = std::make_unique<CPageSet>();
    ps->SetPaperSize(21000, 29700);
    ps->SetMargins(500, 500, 500, 500);
    ps->AppendPage();
    return ps;
}

const std::string& WorkbookBytes()
{
    static const std::string bytes = xlsbuild::Workbook(xlsbuild::MeasuredPersons(kPersons, kItems));
    return bytes;
}

// What the select-items dialog builds on OK with every item chosen.
std::vector<int> ReadAndBuild(CPageSet& ps)
{
    CXlsReader::Rows cells;
    if (CXlsReader::ReadFirstWorksheet(WorkbookBytes(), cells) != CXlsReader::Error::None) return {};
    const CMeasureSheet sheet = CMeasureSheet::FromCells(cells);
    std::vector<int> columns(std::size_t(sheet.Table().ColumnCount()));
    std::iota(columns.begin(), columns.end(), 0);
    return CMeasureTableBuilder::Build(ps, Style(), CMeasureTableBuilder::SelectColumns(sheet.Table(), columns));
}

void BM_ReadWorkbookAndBuildBodyTable(benchmark::State& state)
{
    std::size_t pages = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto ps = A4();
        state.ResumeTiming();
        pages = ReadAndBuild(*ps).size();
        state.PauseTiming();
        ps.reset();
        state.ResumeTiming();
    }
    if (pages == 0) state.SkipWithError("nothing built");
    state.counters["pages"] = double(pages);
}
BENCHMARK(BM_ReadWorkbookAndBuildBodyTable)->Unit(benchmark::kMillisecond);

void BM_GradeByTwoItemsAndBuildResultTables(benchmark::State& state)
{
    auto source = A4();
    const std::vector<int> body = ReadAndBuild(*source);
    const std::vector<CGradingBasis> basis{{QStringToGbk(QStringLiteral("项目1")), 60, 4},
                                           {QStringToGbk(QStringLiteral("项目2")), 100, 4}};
    std::size_t sizes = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto ps = std::make_unique<CPageSet>();
        ps->CopyFrom(*source);
        state.ResumeTiming();
        CGradingRun run;
        run.Run(CGradingPages::ReadTable(*ps, CGradingPages::PagesHolding(*ps, CGradingPages::BodyTitle())), basis);
        const CGradingOutput::Pages out = CGradingOutput::Write(*ps, Style(), run, body);
        sizes = run.Groups().size();
        benchmark::DoNotOptimize(out.graded.size());
        state.PauseTiming();
        ps.reset();
        state.ResumeTiming();
    }
    if (sizes == 0) state.SkipWithError("nothing graded");
    state.counters["sizes"] = double(sizes);
}
BENCHMARK(BM_GradeByTwoItemsAndBuildResultTables)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
