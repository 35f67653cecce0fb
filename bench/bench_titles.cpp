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
    auto state = makeDrawState();
    const TitleSetNames names{"方案一", "方案二", "方案三", "方案四", "方案五", "方案六"};
    for (auto _ : st) {
        if (!loadTitleSets(*state, dir.path()) || !saveTitleSets(*state, dir.path(), names)) {
            st.SkipWithError("load or save failed");
            return;
        }
    }
}
BENCHMARK(BM_TitlesLoadSave)->Unit(benchmark::kMillisecond);
