#include "BenchWindow.h"
#include "WorkbookWriter.h"
#include "platform/AppFiles.h"

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
    if (!xls::createWorkbook(appFilePath(folder.path(), ImportWorkbookName), {{roster}, 0})) {
        bench.SkipWithError("cannot write the roster");
        return;
    }
    auto program = bench::shownProgram(folder.path());
    QPushButton* import = bench::button(*program, "Command1(1)");
    for (auto _ : bench) {
        import->click();
    }
    if (program->session().model().roster().size() != n) {
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
    if (!xls::createWorkbook(appFilePath(folder.path(), ExportWorkbookName),
                             {{xls::NewSheet{QStringLiteral("抽签结果"), {}}}, 0})) {
        bench.SkipWithError("cannot write the export workbook");
        return;
    }
    auto program = bench::shownProgram(folder.path());
    // The largest export an evening can make: 50 groups of 1000 drawn with 是 from a roster of
    // 2000 names.
    DrawSession& session = program->session();
    session.importRoster(bench::names(MaxRoster, QStringLiteral("姓名")));
    session.setKeepChoice(KeepChoice::Keep);
    session.setDrawCountText(QString::number(size));
    for (int g = 1; g <= groups; ++g) {
        session.pressStart();
        session.tick();
        session.tick();
        session.pressStop();
    }
    QPushButton* exportButton = bench::button(*program, "Command9");
    exportButton->click();
    for (auto _ : bench) {
        exportButton->click();
    }
    if (session.model().groupCount() != groups) {
        bench.SkipWithError("the groups were not drawn");
    }
}
BENCHMARK(BM_ExportHandler)->Args({50, 1000})->Unit(benchmark::kMillisecond);

}  // namespace
