#include "BenchWindow.h"
#include "platform/AppFiles.h"
#include "platform/xls/WorkbookWriter.h"
#include "results/Export.h"
#include "roster/Roster.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace sortilo;

namespace {

// The whole import of N names: the workbook read, the pool filled, its list and count shown.
void BM_ImportHandler(benchmark::State& bench) {
    if (!bench::haveApplication()) {
        bench.SkipWithError("no widget application");
        return;
    }
    const int n = int(bench.range(0));
    QTemporaryDir folder;
    xls::NewSheet roster{QStringLiteral("名单"), {{1, 1, QStringLiteral("抽签名单")}}};
    for (int i = 1; i <= n; ++i) {
        roster.cells.push_back({i + 2, 1, QStringLiteral("学生%1号").arg(i)});
    }
    if (xls::createWorkbook(appFilePath(folder.path(), ImportWorkbookName), {{roster}, 0})) {
        bench.SkipWithError("cannot write the roster");
        return;
    }
    auto form = bench::shownWindow(folder.path());
    for (auto _ : bench) {
        Command1_Click(*form, 1);
    }
    if (form->state().rosterCount != n) {
        bench.SkipWithError("the import read a different number of names");
    }
}
BENCHMARK(BM_ImportHandler)->Arg(2000)->Unit(benchmark::kMillisecond);

// The whole export of G groups of N names into an export workbook that already holds such an
// export: open, clear, write, atomic save; the desktop opener does nothing.
void BM_ExportHandler(benchmark::State& bench) {
    if (!bench::haveApplication()) {
        bench.SkipWithError("no widget application");
        return;
    }
    const int groups = int(bench.range(0));
    const int size = int(bench.range(1));
    QTemporaryDir folder;
    if (xls::createWorkbook(appFilePath(folder.path(), ExportWorkbookName),
                            {{xls::NewSheet{QStringLiteral("抽签结果"), {}}}, 0})) {
        bench.SkipWithError("cannot write the export workbook");
        return;
    }
    auto form = bench::shownWindow(folder.path());
    DrawState& state = form->state();
    state.groupCount = int16_t(groups);
    for (int g = 1; g <= groups; ++g) {
        state.groupSizes(g) = int16_t(size);
        for (int k = 1; k <= size; ++k) {
            state.groupResults(k, g) = QStringLiteral("姓名%1-%2").arg(g).arg(k);
        }
    }
    Command9_Click(*form);
    for (auto _ : bench) {
        Command9_Click(*form);
    }
}
BENCHMARK(BM_ExportHandler)->Args({50, 1000})->Unit(benchmark::kMillisecond);

}  // namespace
