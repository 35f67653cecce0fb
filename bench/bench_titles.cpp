#include "titles/store/TitleStore.h"

#include <benchmark/benchmark.h>

#include <QTemporaryDir>

using namespace sortilo;

// What one opening and one confirm of the title editor cost in the database: a load and a
// save of the six sets, each with its own keyed connection.
static void BM_TitlesLoadSave(benchmark::State& st) {
    QTemporaryDir dir;
    if (!createSampleTitleDatabase(titleDatabasePath(dir.path()))) {
        st.SkipWithError("no sample database");
        return;
    }
    for (auto _ : st) {
        const Result<TitleSets> sets = loadTitleSets(dir.path());
        if (!sets || !saveTitleSets(dir.path(), *sets)) {
            st.SkipWithError("load or save failed");
            return;
        }
    }
}
BENCHMARK(BM_TitlesLoadSave)->Unit(benchmark::kMillisecond);
