#include "draw/engine/DrawPick.h"

#include <algorithm>
#include <bitset>

namespace sortilo {

namespace {

// One mark per pool position (index 0 unused); clearing it costs a few dozen word writes.
using PoolMarks = std::bitset<MaxRoster + 1>;

// Reseed from the clock, then a position in 1..pool. The product is below pool for every u < 1,
// but the bound is kept explicit so a generator at its edge cannot leave the pool.
int drawPosition(int pool, RandomSource& random, const Clock& clock) {
    random.reseed(clock.timeOfDay());
    const double u = random.next();
    return std::min(static_cast<int>(pool * u) + 1, pool);
}

// The new group's number, the paging that shows it, and its size.
void beginGroup(DrawState& state) {
    ++state.groupCount;
    state.firstShownGroup = firstGroupShowingNewest(state.groupCount);
    state.groupSizes(state.groupCount) = state.drawCount;
    // These picks are now a group; recording them again would need a new pick.
    state.currentDrawPicked = false;
}

// groupResults(k, groupCount) = roster(drawPicks(k)) for k = 1..drawCount.
void recordPicks(DrawState& state) {
    for (int k = 1; k <= state.drawCount; ++k) {
        state.groupResults(k, state.groupCount) = state.roster(state.drawPicks(k));
    }
}

}  // namespace

PickOutcome pickNames(DrawState& state, RandomSource& random, const Clock& clock) {
    if (state.drawCount > state.rosterCount) {
        return PickOutcome::CountAbovePool;
    }
    const int pool = state.rosterCount;
    PoolMarks taken;
    for (int i = 1; i <= state.drawCount; ++i) {
        int r = drawPosition(pool, random, clock);
        while (taken[static_cast<size_t>(r)]) {
            r = drawPosition(pool, random, clock);
        }
        taken[static_cast<size_t>(r)] = true;
        state.drawPicks(i) = static_cast<int16_t>(r);
    }
    state.rollingName = state.roster(state.drawPicks(1));
    if (state.drawCount >= 1) {
        state.currentDrawPicked = true;
    }
    return PickOutcome::Picked;
}

bool canRecordGroup(const DrawState& state) {
    return state.currentDrawPicked && state.drawCount >= 1 && state.drawCount <= MaxGroupSize &&
           state.groupCount < MaxGroups;
}

void recordGroup(DrawState& state) {
    Q_ASSERT(canRecordGroup(state));
    beginGroup(state);
    recordPicks(state);
    clearGroupSelection(state);
    state.groupSelected(state.groupCount) = 1;
}

void clearGroupSelection(DrawState& state) {
    for (int g = 1; g <= MaxGroups; ++g) {
        state.groupSelected(g) = 0;
    }
}

int selectedGroup(const DrawState& state) {
    for (int g = MaxGroups; g >= 1; --g) {
        if (state.groupSelected(g) == 1) {
            return g;
        }
    }
    return 0;
}

void takeDrawnNamesOut(DrawState& state) {
    PoolMarks out;
    for (int i = 1; i <= state.drawCount; ++i) {
        const int pick = state.drawPicks(i);
        Q_ASSERT(pick >= 1 && pick <= state.rosterCount);
        out[static_cast<size_t>(pick)] = true;
        state.roster(pick).clear();
    }
    // Close the gaps in pool order. Entries past the new end keep what they held; they are no
    // longer part of the pool.
    int w = 1;
    for (int i = 1; i <= state.rosterCount; ++i) {
        if (!out[static_cast<size_t>(i)]) {
            if (w != i) {
                state.roster(w) = state.roster(i);
            }
            ++w;
        }
    }
    state.rosterCount = static_cast<int16_t>(w - 1);
}

}  // namespace sortilo
