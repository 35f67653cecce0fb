#include "draw/engine/Clock.h"

#include <QDateTime>

#include <chrono>

namespace sortilo {

namespace {

constexpr int64_t MicrosPerSecond = 1'000'000;
constexpr int64_t MicrosPerDay = 86'400 * MicrosPerSecond;
constexpr int64_t OffsetRefresh = 60 * MicrosPerSecond;

}  // namespace

double SystemClock::timeOfDay() const {
    using namespace std::chrono;
    const int64_t now = duration_cast<microseconds>(system_clock::now().time_since_epoch()).count();
    if (offsetCheckedAt_ == 0 || now - offsetCheckedAt_ > OffsetRefresh || now < offsetCheckedAt_) {
        offsetSeconds_ = QDateTime::currentDateTime().offsetFromUtc();
        offsetCheckedAt_ = now;
    }
    const int64_t local = now + offsetSeconds_ * MicrosPerSecond;
    const int64_t inDay = ((local % MicrosPerDay) + MicrosPerDay) % MicrosPerDay;
    return static_cast<double>(inDay) / static_cast<double>(MicrosPerSecond);
}

}  // namespace sortilo
