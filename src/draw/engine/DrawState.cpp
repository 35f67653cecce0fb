#include "draw/engine/DrawState.h"

namespace sortilo {

void 标题自动内容生成(DrawState& state) {
    for (int g = 1; g <= MaxGroups; ++g) {
        state.groupTitles(g) = QStringLiteral("第%1组").arg(g);
    }
}

void clearGroups(DrawState& state) {
    state.groupCount = 0;
    state.skipNextTick = 1;
    // Picks of the old pool may point past the new one: only a new draw's pick can be recorded.
    state.currentDrawPicked = false;
    for (int g = 1; g <= MaxGroups; ++g) {
        state.groupSelected(g) = 0;
    }
    for (int g = 1; g <= MaxGroups; ++g) {
        for (int k = 1; k <= state.groupSizes(g); ++k) {
            state.groupResults(k, g).clear();
        }
    }
    for (int g = 1; g <= MaxGroups; ++g) {
        state.groupSizes(g) = 0;
    }
}

}  // namespace sortilo
