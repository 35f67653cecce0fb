#pragma once

// A draw session on the fakes, keeping what it last reported as a window would show it.

#include "draw/DrawSession.h"
#include "support/DrawFakes.h"
#include "support/TestData.h"

#include <functional>

namespace sortilo::test {

struct TestSession {
    HandTimer timer;
    FixedClock clock;
    FoldingRandom random;
    FixedSecrets secrets;
    DrawSession session{timer, clock, random, secrets};
    QList<ErrorKind> refusals;
    std::function<void(ErrorKind)> whileRefused;  // e.g. ticks delivered behind the message
    QString rollingName;
    QStringList pool;
    int poolCount = -1;
    ShownGroups groups;
    bool laterShown = true;
    DrawButton focused = DrawButton::Start;

    explicit TestSession(uint64_t seed = 2026) : random(seed) {
        DrawSession* s = &session;
        QObject::connect(s, &DrawSession::refused, [this](const Error& e) {
            refusals << e.kind;
            if (whileRefused) {
                whileRefused(e.kind);
            }
        });
        QObject::connect(s, &DrawSession::rollingNameChanged,
                         [this](const QString& n) { rollingName = n; });
        QObject::connect(s, &DrawSession::poolChanged, [this](const QStringList& n) { pool = n; });
        QObject::connect(s, &DrawSession::poolCountChanged, [this](int c) { poolCount = c; });
        QObject::connect(s, &DrawSession::groupsShown,
                         [this](const ShownGroups& g) { groups = g; });
        QObject::connect(s, &DrawSession::laterGroupsButtonChanged,
                         [this](bool b) { laterShown = b; });
        QObject::connect(s, &DrawSession::drawButtonFocused, [this](DrawButton b) { focused = b; });
    }
    const DrawModel& model() const { return session.model(); }
    // An import of names 名1..名n, and 是 chosen.
    void givePool(int n) {
        session.importRoster(numberedNames(n));
        session.setKeepChoice(KeepChoice::Keep);
    }
    void start(const QString& count) {
        session.setDrawCountText(count);
        session.pressStart();
    }
    // Start, the ticks until the draw has picked, Stop.
    void drawGroup(const QString& count) {
        start(count);
        while (session.phase() != DrawPhase::Picked && session.rolling()) {
            timer.fire();
        }
        session.pressStop();
    }
    // 开始 shown alone and no tick coming.
    bool idle() const { return session.startShown() && !session.stopShown() && !timer.running(); }
    // 结束 shown and the names rolling.
    bool rolling() const { return !session.startShown() && session.stopShown() && timer.running(); }
};

}  // namespace sortilo::test
