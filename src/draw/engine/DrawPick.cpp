#include "draw/engine/DrawPick.h"

#include <algorithm>

namespace sortilo {

// The product is below poolSize for every u < 1, but the bound is kept explicit so a generator at
// its edge cannot leave the pool.
int showPosition(int poolSize, RandomSource& random, const Clock& clock) {
    random.reseed(clock.timeOfDay());
    const double u = random.next();
    return std::min(static_cast<int>(poolSize * u), poolSize - 1);
}

}  // namespace sortilo
