#include "draw/engine/Random.h"
#include "draw/engine/Clock.h"

#include <QTime>

#include <bit>
#include <cstring>
#include <random>

namespace sortilo {

namespace {

uint64_t splitmix(uint64_t& x) {
    uint64_t z = (x += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

}  // namespace

double SystemClock::timeOfDay() const {
    return QTime::currentTime().msecsSinceStartOfDay() / 1000.0;
}

FoldingRandom::FoldingRandom(uint64_t seed) {
    for (auto& word : s_) {
        word = splitmix(seed);
    }
}

FoldingRandom::FoldingRandom() : FoldingRandom(0) {
    std::random_device entropy;
    for (int i = 0; i < 4; ++i) {
        fold((static_cast<uint64_t>(entropy()) << 32) ^ entropy());
    }
}

void FoldingRandom::fold(uint64_t value) {
    // Mix the value into every word and step once, so the state moves on rather than restarts.
    uint64_t mixer = value;
    for (auto& word : s_) {
        word ^= splitmix(mixer);
    }
    if ((s_[0] | s_[1] | s_[2] | s_[3]) == 0) {
        s_[0] = 1;
    }
    nextBits();
}

void FoldingRandom::reseed(double timeOfDay) {
    uint64_t bits = 0;
    static_assert(sizeof bits == sizeof timeOfDay);
    std::memcpy(&bits, &timeOfDay, sizeof bits);
    fold(bits);
}

uint64_t FoldingRandom::nextBits() {
    const uint64_t result = std::rotl(s_[1] * 5, 7) * 9;
    const uint64_t t = s_[1] << 17;
    s_[2] ^= s_[0];
    s_[3] ^= s_[1];
    s_[1] ^= s_[2];
    s_[0] ^= s_[3];
    s_[2] ^= t;
    s_[3] = std::rotl(s_[3], 45);
    return result;
}

double FoldingRandom::next() {
    return static_cast<double>(nextBits() >> 11) * 0x1.0p-53;
}

}  // namespace sortilo
