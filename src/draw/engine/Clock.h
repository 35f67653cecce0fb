#pragma once

#include <cstdint>

namespace sortilo {

// The time of day, as the draw's reseeding reads it. Tests use a fixed clock.
class Clock {
public:
    virtual ~Clock() = default;
    // Seconds since local midnight, with fractions.
    virtual double timeOfDay() const = 0;
};

// Reads the system clock to the microsecond. The draw reads it before every attempt of a pick
// (thousands of times in one tick), so the local offset from UTC is looked up only once a minute.
class SystemClock : public Clock {
public:
    double timeOfDay() const override;

private:
    mutable int64_t offsetSeconds_ = 0;
    mutable int64_t offsetCheckedAt_ = 0;  // microseconds since the epoch; 0 = never
};

}  // namespace sortilo
