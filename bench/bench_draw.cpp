#include "BenchWindow.h"
#include "app/Form1.h"
#include "draw/DrawHandlers.h"
#include "draw/engine/Clock.h"
#include "draw/engine/DrawPick.h"
#include "draw/engine/DrawState.h"
#include "draw/engine/Random.h"
#include "results/DetailsView.h"

#include <QApplication>
#include <QListWidget>
#include <QRadioButton>

#include <benchmark/benchmark.h>

using namespace sortilo;
using bench::haveApplication;
using bench::shownWindow;

namespace {

QStringList names(int n) {
    QStringList list;
    for (int i = 1; i <= n; ++i) {
        list << QStringLiteral("名字%1").arg(i);
    }
    return list;
}

void fillPool(DrawState& state, int size) {
    for (int i = 1; i <= size; ++i) {
        state.roster(i) = QStringLiteral("名字%1").arg(i);
    }
    state.rosterCount = static_cast<int16_t>(size);
}

// One tick's pick with a pool of P names and a count of C, on the real clock and generator.
void BM_Tick(benchmark::State& bench) {
    auto state = makeDrawState();
    fillPool(*state, static_cast<int>(bench.range(0)));
    state->drawCount = static_cast<int16_t>(bench.range(1));
    FoldingRandom random;
    SystemClock clock;
    for (auto _ : bench) {
        benchmark::DoNotOptimize(pickNames(*state, random, clock));
    }
}
BENCHMARK(BM_Tick)
    ->Args({2000, 1000})
    ->Args({1000, 1000})
    ->Args({2000, 1})
    ->Unit(benchmark::kMicrosecond);

// Stop in remove mode with groups of N names in all four lists and a pool of 2N: the tables, the
// four result lists, the pool list and what they paint.
void BM_Stop(benchmark::State& bench) {
    if (!haveApplication()) {
        bench.SkipWithError("no widget application");
        return;
    }
    const int size = static_cast<int>(bench.range(0));
    auto form = shownWindow();
    DrawState& state = form->state();
    for (int g = 1; g <= 3; ++g) {
        state.groupSizes(g) = static_cast<int16_t>(size);
        for (int k = 1; k <= size; ++k) {
            state.groupResults(k, g) = QStringLiteral("第%1组%2").arg(g).arg(k);
        }
    }
    form->Option1[1]->setChecked(true);
    for (auto _ : bench) {
        bench.PauseTiming();
        fillPool(state, 2 * size);
        form->List1[0]->clear();
        form->List1[0]->addItems(names(2 * size));
        state.groupCount = 3;
        state.drawCount = static_cast<int16_t>(size);
        pickNames(state, *form->services().random, *form->services().clock);
        QCoreApplication::processEvents();
        bench.ResumeTiming();
        Stop(*form);
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_Stop)->Arg(1000)->Unit(benchmark::kMillisecond);

// Opening the details view on the pool list of N names, painted.
void BM_Details(benchmark::State& bench) {
    if (!haveApplication()) {
        bench.SkipWithError("no widget application");
        return;
    }
    auto form = shownWindow();
    form->List1[0]->addItems(names(static_cast<int>(bench.range(0))));
    for (auto _ : bench) {
        bench.PauseTiming();
        Command5_Click(*form, 1);
        QCoreApplication::processEvents();
        bench.ResumeTiming();
        Command2_Click(*form, 0);
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_Details)->Arg(2000)->Unit(benchmark::kMillisecond);

}  // namespace
