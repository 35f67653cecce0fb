// Reading a roster: open the workbook and take the names of column A from row 3 down, as the
// import does. The roster is made at start with the workbook writer in a temporary folder.
#include "WorkbookWriter.h"
#include "platform/xls/CellText.h"
#include "platform/xls/Workbook.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace sortilo;
using namespace sortilo::xls;

namespace {

QString makeRoster(const QTemporaryDir& dir, int names) {
    NewSheet sheet{QStringLiteral("名单"), {{1, 1, QStringLiteral("抽签名单")}}};
    for (int i = 0; i < names; ++i) {
        sheet.cells.push_back({i + 3, 1, QStringLiteral("学生%1号").arg(i + 1)});
        sheet.cells.push_back({i + 3, 2, double(i % 7)});
    }
    NewWorkbook book;
    book.sheets = {NewSheet{QStringLiteral("说明"), {}}, sheet};
    book.activeSheet = 1;
    const QString path = dir.filePath(QStringLiteral("导入名单.xls"));
    return createWorkbook(path, book) ? path : QString();
}

int readNames(const QString& path) {
    const Result<Workbook> book = Workbook::open(path);
    if (!book) {
        return -1;
    }
    int count = 0;
    for (int row = 3; row <= 2002; ++row) {
        const CellValue v = book->cell(row, 1);
        if (v.isEmpty()) {
            break;
        }
        const auto name = valueAsText(v);
        benchmark::DoNotOptimize(name);
        ++count;
    }
    return count;
}

void BM_ReadRoster(benchmark::State& state) {
    QTemporaryDir dir;
    const QString path = makeRoster(dir, int(state.range(0)));
    for (auto _ : state) {
        const int names = readNames(path);
        if (names != state.range(0)) {
            state.SkipWithError("the roster did not read back");
            break;
        }
    }
}

}  // namespace

BENCHMARK(BM_ReadRoster)->Arg(45)->Arg(2000)->Unit(benchmark::kMicrosecond);

// Rosters as systems hand them out: the 2000-name HTML page and CSV file of the test data.
namespace {

void readRosterFile(benchmark::State& state, const std::string& file) {
    const QString path =
        QStringLiteral(SORTILO_TEST_DATA "/rosters/") + QString::fromStdString(file);
    for (auto _ : state) {
        if (readNames(path) != 2000) {
            state.SkipWithError("the roster did not read back");
            break;
        }
    }
}

[[maybe_unused]] const bool rosterFilesRegistered = [] {
    for (const char* kind : {"html", "csv"}) {
        const std::string name = std::string("BM_ReadRoster/") + kind + ":2000";
        const std::string file = std::string("made_2000_names.") + kind + ".xls";
        benchmark::RegisterBenchmark(name.c_str(), readRosterFile, file)
            ->Unit(benchmark::kMicrosecond);
    }
    return true;
}();

}  // namespace
