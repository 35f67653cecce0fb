#pragma once

#include <QTimer>

#include <functional>

namespace sortilo {

// The draw's timer as the session drives it: a period of 0 stops it, any other period (re)starts
// it from now. Tests replace it and tick the session by hand.
class DrawTimer {
public:
    virtual ~DrawTimer() = default;
    virtual void setPeriod(int milliseconds) = 0;
    // 0 while stopped.
    virtual int period() const = 0;
    // What every tick runs; set once, by the session the timer drives.
    virtual void setTickHandler(std::function<void()> handler) = 0;
};

// The real one, a QTimer (whose interval 0 would mean "fire on every pass of the event loop").
class QtDrawTimer final : public DrawTimer {
public:
    QtDrawTimer();
    void setPeriod(int milliseconds) override;
    int period() const override { return period_; }
    void setTickHandler(std::function<void()> handler) override { handler_ = std::move(handler); }

private:
    QTimer timer_;
    int period_ = 0;
    std::function<void()> handler_;
};

}  // namespace sortilo
