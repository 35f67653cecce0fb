#include "draw/engine/DrawTimer.h"

namespace sortilo {

QtDrawTimer::QtDrawTimer() {
    QObject::connect(&timer_, &QTimer::timeout, &timer_, [this] {
        if (handler_) {
            handler_();
        }
    });
}

void QtDrawTimer::setPeriod(int milliseconds) {
    period_ = milliseconds;
    if (milliseconds == 0) {
        timer_.stop();
    } else {
        timer_.start(milliseconds);
    }
}

}  // namespace sortilo
