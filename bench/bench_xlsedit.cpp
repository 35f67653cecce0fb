// The export's work on its workbook: open, clear A1:AZ5000, write the groups with their
// titles, save in place. The workbook already holds an export of the same size, as it does
// from the second export on.
#include "platform/xlsedit/EditableWorkbook.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <fstream>
#include <string>

using sortilo::xlsedit::EditableWorkbook;

namespace {

// Distinct names of two to four characters, as a roster gives them.
QString name(int i) {
    static const QString surnames = QStringLiteral("王李张刘陈杨赵黄周吴徐孙胡朱高林何郭马罗");
    static const QString given = QStringLiteral("伟芳娜秀英敏静丽强磊军洋勇艳杰娟涛明超兰霞平刚桂");
    QString n = QString(surnames[i % 20]) + given[(i / 20) % 24];
    if (i >= 480) {
        n += given[(i / 480) % 24];
    }
    if (i >= 11520) {
        n += given[(i / 11520) % 24];
    }
    return n;
}

// The names of every group, made before the clock runs: the export gets them from the draw.
QVector<QVector<QString>> drawResults(int groups, int names) {
    QVector<QVector<QString>> results(groups);
    for (int g = 0; g < groups; ++g) {
        for (int k = 0; k < names; ++k) {
            results[g].push_back(name(g * names + k));
        }
    }
    return results;
}

// The export's calls, in its order: per group its names, then its title.
bool exportOnce(const QString& path, const QVector<QVector<QString>>& results,
                const QStringList& titles) {
    auto book = EditableWorkbook::open(path);
    if (!book || !book->clearRange(QStringLiteral("A1:AZ5000"))) {
        return false;
    }
    for (int g = 0; g < results.size(); ++g) {
        for (int k = 0; k < results[g].size(); ++k) {
            if (!book->writeCell(k + 2, g + 1, results[g][k])) {
                return false;
            }
        }
        if (!book->writeCell(1, g + 1, titles[g])) {
            return false;
        }
    }
    return bool(book->save());
}

// Resident memory figures of this process, in kB ("VmRSS", "VmHWM").
long statusKb(const std::string& field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(field + ":", 0) == 0) {
            return std::stol(line.substr(field.size() + 1));
        }
    }
    return 0;
}

void BM_Export(benchmark::State& state) {
    const auto results = drawResults(int(state.range(0)), int(state.range(1)));
    QStringList titles;
    for (int g = 1; g <= results.size(); ++g) {
        titles << QStringLiteral("第%1组").arg(g);
    }
    const long baseline = statusKb("VmRSS");
    std::ofstream("/proc/self/clear_refs") << "5";  // the peak starts again from here
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("导出数据.xls"));
    if (!QFile::copy(QDir(QStringLiteral(SORTILO_CORPUS_DIR)).filePath("poi_12843-2.xls"), path) ||
        !exportOnce(path, results, titles)) {
        state.SkipWithError("cannot prepare the export workbook");
        return;
    }
    for (auto _ : state) {
        if (!exportOnce(path, results, titles)) {
            state.SkipWithError("export failed");
            return;
        }
    }
    state.counters["peak_MB_above_baseline"] = double(statusKb("VmHWM") - baseline) / 1024.0;
    state.counters["file_KB"] = double(QFileInfo(path).size()) / 1024.0;
}

}  // namespace

BENCHMARK(BM_Export)->Args({50, 1000})->Unit(benchmark::kMillisecond);
