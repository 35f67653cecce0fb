#pragma once

#include "draw/engine/Clock.h"
#include "draw/engine/DrawState.h"
#include "draw/engine/Random.h"

namespace sortilo {

enum class PickOutcome {
    Picked,          // drawPicks(1..drawCount) and rollingName hold the picks of this tick
    CountAbovePool,  // drawCount > rosterCount: nothing was picked, nothing changed
};

// The pick of one tick: drawCount different pool positions in drawPicks(1..drawCount),
// each position reseeding from the clock before every attempt and retrying on a repeat; then
// rollingName is the first picked name. A repeat is found by a mark per pool position, so a tick
// costs as many steps as it makes attempts.
PickOutcome pickNames(DrawState& state, RandomSource& random, const Clock& clock);

// Whether Stop can record a group now: the running draw has picked since Start, and the tables
// have room for one more group of drawCount names.
bool canRecordGroup(const DrawState& state);

// The tables' part of Stop: the new group's number, the paging that shows it, its size and names
// (the picks of the last tick, in pick order), and it becomes the selected group. The picks of the
// running draw are used up by it. Requires canRecordGroup().
void recordGroup(DrawState& state);

// groupSelected(1..50) = 0; entry 0 is left alone.
void clearGroupSelection(DrawState& state);

// The highest selected group in 1..50, or 0 when none is selected.
int selectedGroup(const DrawState& state);

// Remove mode: the names of drawPicks(1..drawCount) leave the pool, the rest close up in their
// order, and rosterCount goes down by the number of names taken out.
void takeDrawnNamesOut(DrawState& state);

}  // namespace sortilo
