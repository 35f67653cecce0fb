#include "draw/engine/DrawState.h"

namespace sortilo {

void setDefaultTitles(DrawState& state) {
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

QStringList poolNames(const DrawState& state) {
    QStringList names;
    names.reserve(state.rosterCount);
    for (int k = 1; k <= state.rosterCount; ++k) {
        names << state.roster(k);
    }
    return names;
}

QStringList groupNames(const DrawState& state, int g) {
    QStringList names;
    names.reserve(state.groupSizes(g));
    for (int k = 1; k <= state.groupSizes(g); ++k) {
        names << state.groupResults(k, g);
    }
    return names;
}

}  // namespace sortilo
