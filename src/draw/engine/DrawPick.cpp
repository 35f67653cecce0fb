#include "draw/engine/DrawPick.h"

#include "draw/engine/DrawLimits.h"

#include <algorithm>
#include <bitset>

namespace sortilo {

namespace {

// Reseed from the clock, then a position in 0..poolSize-1. The product is below poolSize for
// every u < 1, but the bound is kept explicit so a generator at its edge cannot leave the pool.
int drawPosition(int poolSize, RandomSource& random, const Clock& clock) {
    random.reseed(clock.timeOfDay());
    const double u = random.next();
    return std::min(static_cast<int>(poolSize * u), poolSize - 1);
}

}  // namespace

void pickPositions(int poolSize, int count, RandomSource& random, const Clock& clock,
                   QList<int>& positions) {
    Q_ASSERT(count <= poolSize && poolSize <= MaxRoster);
    // One mark per pool position; clearing it costs a few dozen word writes.
    std::bitset<MaxRoster> taken;
    positions.resize(count);
    for (int& position : positions) {
        int r = drawPosition(poolSize, random, clock);
        while (taken[static_cast<size_t>(r)]) {
            r = drawPosition(poolSize, random, clock);
        }
        taken[static_cast<size_t>(r)] = true;
        position = r;
    }
}

}  // namespace sortilo
