#pragma once

#include <QTimer>

namespace sortilo {

// A timer driven by its interval alone: 0 means stopped (a QTimer with interval 0 would fire on
// every pass of the event loop), any other value (re)starts it with that period.
class VbTimer : public QTimer {
public:
    using QTimer::QTimer;

    void setInterval(int milliseconds) {
        interval_ = milliseconds;
        if (milliseconds == 0) {
            stop();
        } else {
            start(milliseconds);
        }
    }
    int interval() const { return interval_; }

private:
    int interval_ = 0;
};

}  // namespace sortilo
