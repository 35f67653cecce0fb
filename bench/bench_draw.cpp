#include "BenchWindow.h"
#include "draw/engine/Clock.h"
#include "draw/engine/CommittedDraw.h"
#include "draw/engine/DrawPick.h"
#include "draw/engine/Random.h"

#include <QApplication>

#include <numeric>

#include <benchmark/benchmark.h>

using namespace sortilo;
using bench::haveApplication;
using bench::names;
using bench::shownProgram;

namespace {

// One tick of the rolling show with a pool of P names, on the real clock and generator.
void BM_Tick(benchmark::State& bench) {
    const int pool = static_cast<int>(bench.range(0));
    FoldingRandom random;
    SystemClock clock;
    for (auto _ : bench) {
        benchmark::DoNotOptimize(showPosition(pool, random, clock));
    }
}
BENCHMARK(BM_Tick)->Arg(2000)->Unit(benchmark::kMicrosecond);

// The picks of a group of C from a pool of P by the committed derivation: P scores, the C
// smallest.
void BM_CommittedPicks(benchmark::State& bench) {
    const int pool = static_cast<int>(bench.range(0));
    const int count = static_cast<int>(bench.range(1));
    QList<int> eligible(pool);
    std::iota(eligible.begin(), eligible.end(), 0);
    const QByteArray key(32, 'k');
    int group = 0;
    for (auto _ : bench) {
        benchmark::DoNotOptimize(committed::picks(key, ++group, 1, eligible, count));
    }
}
BENCHMARK(BM_CommittedPicks)->Args({2000, 1000})->Args({2000, 1})->Unit(benchmark::kMillisecond);

// Start, the ticks until the draw has picked: the draw is ready for its Stop.
void rollUntilPicked(DrawSession& session, int count) {
    session.setDrawCountText(QString::number(count));
    session.pressStart();
    session.tick();
    session.tick();
}

// Stop in remove mode with groups of N names in all four lists and a pool of 2N: the tables, the
// four result lists, the pool list and what they paint.
void BM_Stop(benchmark::State& bench) {
    if (!haveApplication()) {
        bench.SkipWithError("no widget application");
        return;
    }
    const int size = static_cast<int>(bench.range(0));
    auto program = shownProgram();
    DrawSession& session = program->session();
    const QStringList pool = names(2 * size);
    for (auto _ : bench) {
        bench.PauseTiming();
        // Three groups drawn with 是 fill the lists and leave the pool whole for the measured
        // Stop, which takes its names out.
        session.importRoster(pool);
        session.setKeepChoice(KeepChoice::Keep);
        for (int g = 1; g <= 3; ++g) {
            rollUntilPicked(session, size);
            session.pressStop();
        }
        session.setKeepChoice(KeepChoice::Remove);
        rollUntilPicked(session, size);
        QCoreApplication::processEvents();
        bench.ResumeTiming();
        session.pressStop();
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_Stop)->Arg(1000)->Unit(benchmark::kMillisecond);

// A replacement for one absent name of a group of 1000 drawn with 是 from a roster of 2000, with
// the window shown: the draw among the rest of the pool, the lists and the pool refilled.
void BM_ReplaceAbsent(benchmark::State& bench) {
    if (!haveApplication()) {
        bench.SkipWithError("no widget application");
        return;
    }
    auto program = shownProgram();
    DrawSession& session = program->session();
    int replaced = 0;
    for (auto _ : bench) {
        if (replaced % 500 == 0) {
            bench.PauseTiming();
            session.importRoster(names(2000));
            session.setKeepChoice(KeepChoice::Keep);
            rollUntilPicked(session, 1000);
            session.pressStop();
            QCoreApplication::processEvents();
            bench.ResumeTiming();
        }
        session.redrawAbsent({{1, replaced++ % 500}});
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_ReplaceAbsent)->Unit(benchmark::kMillisecond);

// Opening the details view on the pool list of N names, painted.
void BM_Details(benchmark::State& bench) {
    if (!haveApplication()) {
        bench.SkipWithError("no widget application");
        return;
    }
    auto program = shownProgram();
    program->session().importRoster(names(static_cast<int>(bench.range(0))));
    QPushButton* open = bench::button(*program, "Command2(0)");
    QPushButton* close = bench::button(*program, "Command5(1)");
    for (auto _ : bench) {
        bench.PauseTiming();
        close->click();
        QCoreApplication::processEvents();
        bench.ResumeTiming();
        open->click();
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_Details)->Arg(2000)->Unit(benchmark::kMillisecond);

}  // namespace
