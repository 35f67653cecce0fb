#pragma once

// A draw session on the fakes, keeping what it last reported as a window would show it.

#include "draw/DrawSession.h"
#include "support/Fakes.h"

namespace sortilo::test {

struct TestSession {
    HandTimer timer;
    FixedClock clock;
    FoldingRandom random;
    RecordingMessageBox messages;
    DrawSession session{timer, clock, random};
    QString rollingName;
    QStringList pool;
    QString poolCount;
    ShownGroups groups;
    bool laterShown = true;
    DrawButton focused = DrawButton::Start;

    explicit TestSession(uint64_t seed = 2026) : random(seed) {
        DrawSession* s = &session;
        QObject::connect(s, &DrawSession::refused, [this](const QString& m) { messages.show(m); });
        QObject::connect(s, &DrawSession::rollingNameChanged,
                         [this](const QString& n) { rollingName = n; });
        QObject::connect(s, &DrawSession::poolChanged, [this](const QStringList& n) { pool = n; });
        QObject::connect(s, &DrawSession::poolCountChanged,
                         [this](const QString& c) { poolCount = c; });
        QObject::connect(s, &DrawSession::groupsShown,
                         [this](const ShownGroups& g) { groups = g; });
        QObject::connect(s, &DrawSession::laterGroupsButtonChanged,
                         [this](bool b) { laterShown = b; });
        QObject::connect(s, &DrawSession::drawButtonFocused, [this](DrawButton b) { focused = b; });
    }
    const DrawState& state() const { return session.state(); }
    // A pool of names 名1..名n, as an import gives it.
    void givePool(int n) {
        QStringList names;
        for (int i = 1; i <= n; ++i) {
            names << QStringLiteral("名%1").arg(i);
        }
        session.importPool(names);
    }
    void start(const QString& count) {
        session.setDrawCountText(count);
        session.pressStart();
    }
    // Start, the ticks until the draw has picked, Stop.
    void drawGroup(const QString& count) {
        start(count);
        timer.fire();
        if (!state().currentDrawPicked) {
            timer.fire();
        }
        session.pressStop();
    }
    bool idle() const {
        return session.startShown() && !session.stopShown() && timer.periodMs == 0;
    }
    bool rolling() const {
        return !session.startShown() && session.stopShown() && timer.periodMs == 100;
    }
};

}  // namespace sortilo::test
