#include "draw/engine/Random.h"

#include <QRandomGenerator>

#include <algorithm>
#include <bit>
#include <chrono>
#include <cstring>
#include <exception>
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

FoldingRandom::FoldingRandom(uint64_t seed) {
    for (auto& word : s_) {
        word = splitmix(seed);
    }
}

FoldingRandom::FoldingRandom() : FoldingRandom(0) {
    // A system without an entropy device must still start: the moment and the place of this
    // object then stand in for it.
    fold(static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()));
    fold(reinterpret_cast<uintptr_t>(this));
    try {
        std::random_device entropy;
        for (int i = 0; i < 4; ++i) {
            const uint64_t high = entropy();
            fold((high << 32) ^ entropy());
        }
    } catch (const std::exception&) {
        fold(static_cast<uint64_t>(std::chrono::system_clock::now().time_since_epoch().count()));
    }
}

void FoldingRandom::fold(uint64_t value) {
    // Mix the value into every word and step once, so the state moves on rather than restarts.
    // Folding the same value again is the affine step s -> L(s ^ m), whose orbits are as long as
    // the generator's own period (bar a single state in 2^256): equal clock readings never make
    // the sequence repeat.
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

// The top 53 bits fill a double's significand exactly, so the result is below 1.
double FoldingRandom::next() {
    return static_cast<double>(nextBits() >> 11) * 0x1.0p-53;
}

QByteArray SystemSecretSource::secret(int bytes) {
    QByteArray result;
    result.reserve(bytes);
    while (result.size() < bytes) {
        const quint32 word = QRandomGenerator::system()->generate();
        result.append(reinterpret_cast<const char*>(&word),
                      std::min<qsizetype>(sizeof word, bytes - result.size()));
    }
    return result;
}

}  // namespace sortilo
