#pragma once

namespace sortilo {

// The time of day, as the draw's reseeding reads it. Tests use a fixed clock.
class Clock {
public:
    virtual ~Clock() = default;
    // Seconds since midnight, with fractions.
    virtual double timeOfDay() const = 0;
};

class SystemClock : public Clock {
public:
    double timeOfDay() const override;
};

}  // namespace sortilo
