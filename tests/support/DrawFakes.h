#pragma once

// The draw's outside world in tests: the clock stands still, the timer is ticked by hand.

#include "draw/engine/Clock.h"
#include "draw/engine/DrawTimer.h"
#include "draw/engine/Random.h"

#include <QStringList>

#include <functional>

namespace sortilo::test {

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
    bool running() const { return periodMs > 0; }
    void fire() { handler(); }
};

// The secret of every session: the bytes 00 01 02 ... unless a test sets its own.
struct FixedSecrets : SecretSource {
    QByteArray next;
    QByteArray secret(int bytes) override {
        if (next.isEmpty()) {
            for (int i = 0; i < bytes; ++i) {
                next.append(static_cast<char>(i));
            }
        }
        return next.left(bytes);
    }
};

// The roster of the record's known answers (docs/draw-record.md), with FixedSecrets' secret.
inline const QStringList KnownAnswerRoster =
    QStringLiteral("张伟 王芳 李娜 刘洋 陈静 杨磊 赵敏 黄强 周杰 吴霞").split(QLatin1Char(' '));

}  // namespace sortilo::test
