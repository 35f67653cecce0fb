#pragma once

// The outside world of tests: messages and the desktop opener are recorded, the clock stands
// still, the draw timer is ticked by hand.

#include "draw/engine/Clock.h"
#include "draw/engine/DrawTimer.h"
#include "platform/DesktopOpener.h"
#include "platform/MessageBox.h"

#include <QStringList>

#include <functional>

namespace sortilo::test {

struct RecordingMessageBox : MessageBox {
    QStringList shown;
    std::function<void(const QString&)> whileOpen;  // e.g. ticks delivered behind the message
    void show(const QString& text) override {
        shown << text;
        if (whileOpen) {
            whileOpen(text);
        }
    }
};

struct RecordingOpener : DesktopOpener {
    QStringList opened;
    bool works = true;  // false: a desktop with no program for the file
    bool open(const QString& path) override {
        opened << path;
        return works;
    }
};

// Always the same moment; counts its readings.
struct FixedClock : Clock {
    double now = 10 * 3600.0;
    mutable int reads = 0;
    double timeOfDay() const override {
        ++reads;
        return now;
    }
};

// fire() is one tick, whether the period says it is running or not.
struct HandTimer : DrawTimer {
    int periodMs = 0;
    std::function<void()> handler;
    void setPeriod(int milliseconds) override { periodMs = milliseconds; }
    int period() const override { return periodMs; }
    void setTickHandler(std::function<void()> h) override { handler = std::move(h); }
    void fire() { handler(); }
};

}  // namespace sortilo::test
