#pragma once

#include "draw/engine/Clock.h"
#include "draw/engine/Random.h"

#include <QList>

namespace sortilo {

// The pick of one tick: `count` different positions of a pool of `poolSize` (0-based) into
// `positions`, each attempt reseeding from the clock and retrying on a repeat. Requires
// count <= poolSize. A repeat is found by a mark per pool position, so a tick costs as many steps
// as it makes attempts.
void pickPositions(int poolSize, int count, RandomSource& random, const Clock& clock,
                   QList<int>& positions);

}  // namespace sortilo
