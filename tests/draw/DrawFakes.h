#pragma once

#include "draw/engine/Clock.h"
#include "draw/engine/DrawState.h"
#include "draw/engine/Random.h"

#include <QString>

#include <deque>

namespace sortilo::testing {

// A clock that always reads the same moment, and counts how often it is read.
class FixedClock : public Clock {
public:
    explicit FixedClock(double seconds = 43200.25) : seconds_(seconds) {}
    double timeOfDay() const override {
        ++reads;
        return seconds_;
    }
    mutable int reads = 0;

private:
    double seconds_;
};

// Hands out the numbers it was given, in order; records the clock readings folded in.
class ScriptedRandom : public RandomSource {
public:
    explicit ScriptedRandom(std::deque<double> numbers) : numbers_(std::move(numbers)) {}
    void reseed(double) override { ++reseeds; }
    double next() override {
        const double u = numbers_.front();
        numbers_.pop_front();
        return u;
    }
    int reseeds = 0;

private:
    std::deque<double> numbers_;
};

// A pool of names "N1".."Nn".
inline void fillPool(DrawState& state, int size) {
    for (int i = 1; i <= size; ++i) {
        state.roster(i) = QStringLiteral("N%1").arg(i);
    }
    state.rosterCount = static_cast<int16_t>(size);
}

}  // namespace sortilo::testing
