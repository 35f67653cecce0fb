#include "draw/engine/Clock.h"
#include "draw/engine/DrawPick.h"
#include "draw/engine/DrawState.h"
#include "draw/engine/Random.h"

#include <benchmark/benchmark.h>

using namespace sortilo;

namespace {

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

}  // namespace
