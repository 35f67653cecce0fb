#include "draw/engine/DrawModel.h"
#include "record/FileJournal.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace sortilo;

namespace {

// One group line of G names written to the draw record and synced to disk, as every 结束 does
// before the screen shows the group: mostly the disk's time, not the program's.
void BM_RecordGroupLine(benchmark::State& bench) {
    const int size = static_cast<int>(bench.range(0));
    QTemporaryDir folder;
    record::FileJournal journal(folder.path(), QStringLiteral("bench"));
    DrawModel draw;
    QStringList roster;
    for (int i = 1; i <= 2000; ++i) {
        roster << QStringLiteral("欧阳名字%1").arg(i);
    }
    draw.startSession(roster, QByteArray(32, 's'));
    if (!journal.open(draw)) {
        bench.SkipWithError("cannot open a record");
        return;
    }
    const GroupDrawn group = draw.nextGroup(size, true);
    for (auto _ : bench) {
        if (!journal.append(draw, group)) {
            bench.SkipWithError("cannot write the record");
            return;
        }
    }
    static_cast<void>(journal.close());
}
BENCHMARK(BM_RecordGroupLine)->Arg(1)->Arg(1000)->Unit(benchmark::kMillisecond);

}  // namespace
