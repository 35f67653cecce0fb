#pragma once

#include "draw/engine/Clock.h"
#include "draw/engine/Random.h"

namespace sortilo {

// The rolling show's next name: a position in a pool of `poolSize` (0-based), reseeding from the
// clock first. It only shows: the groups come from the committed derivation.
int showPosition(int poolSize, RandomSource& random, const Clock& clock);

}  // namespace sortilo
