#include "draw/engine/DrawPick.h"
#include "platform/Texts.h"
#include "support/TestSession.h"

#include <QSet>
#include <QSignalSpy>
#include <QTest>

using namespace sortilo;

namespace {

int distinct(const QStringList& names) {
    return int(QSet<QString>(names.begin(), names.end()).size());
}

}  // namespace

// The draw's rules on the session alone, its timer ticked by hand.
class TestDrawSession : public QObject {
    Q_OBJECT

    std::unique_ptr<test::TestSession> t;
    DrawSession& s() { return t->session; }
    const DrawState& state() { return t->state(); }
    QStringList& shown() { return t->messages.shown; }
    void tick() { t->timer.fire(); }
    void drawGroups(int n, int pool = 20) {
        t->givePool(pool);
        for (int g = 0; g < n; ++g) {
            t->drawGroup(QStringLiteral("2"));
        }
    }
    // The lists show groups first..first+3 (those recorded) under their titles; list `pink`
    // (1..4, 0 for none) is the selected group's.
    void expectShown(int first, int pink) {
        QCOMPARE(int(state().firstShownGroup), first);
        for (int i = 0; i < 4; ++i) {
            const int g = first + i;
            const bool recorded = g >= 1 && g <= state().groupCount;
            QCOMPARE(t->groups[i].names, recorded ? groupNames(state(), g) : QStringList());
            QCOMPARE(t->groups[i].title, g >= 1 ? QStringLiteral("第%1组").arg(g) : QString());
            QCOMPARE(t->groups[i].selected, i + 1 == pink);
        }
    }

private Q_SLOTS:
    void init() { t = std::make_unique<test::TestSession>(); }

    // Start-up ticks find no count; Start and Stop switch buttons, timer and focus; the tick
    // after a Stop is skipped, so a Start's first name shows a tick later.
    void startStopAndTheTicks() {
        QCOMPARE(t->timer.periodMs, DrawSession::StartUpPeriod);
        t->rollingName = QStringLiteral("x");
        tick();
        QCOMPARE(t->rollingName, QString());
        t->givePool(5);
        t->start(QStringLiteral("2"));
        QVERIFY(t->rolling());
        QCOMPARE(t->focused, DrawButton::Stop);
        tick();
        QVERIFY(!t->rollingName.isEmpty());
        QCOMPARE(t->rollingName, state().roster(state().drawPicks(1)));
        QSignalSpy recorded(&s(), &DrawSession::groupRecorded);
        s().pressStop();
        QVERIFY(t->idle());
        QCOMPARE(t->focused, DrawButton::Start);
        const QStringList group = groupNames(state(), 1);
        QCOMPARE(group.size(), 2);
        QCOMPARE(group.first(), t->rollingName);
        QCOMPARE(recorded.takeFirst(), (QVariantList{1, QStringLiteral("第1组"), group}));
        const int16_t pick = state().drawPicks(1);
        t->start(QStringLiteral("3"));
        tick();
        QCOMPARE(state().drawPicks(1), pick);
        QCOMPARE(t->rollingName, group.first());
        tick();
        QCOMPARE(t->rollingName, state().roster(state().drawPicks(1)));
        QVERIFY(shown().isEmpty());
    }

    // The reset before an import: a fresh draw that skips its first tick and never records the
    // old pool's picks. The pool, the picks, the count, the paging and the titles stay.
    void resetAfterThreeGroups() {
        t->givePool(9);
        for (const char* count : {"2", "5", "1"}) {
            t->drawGroup(QString::fromLatin1(count));
        }
        s().showLaterGroups();
        s().selectShownGroup(1);
        s().setKeepChoice(KeepChoice::Remove);
        t->start(QStringLiteral("3"));
        tick();
        tick();
        const QStringList pool = poolNames(state());
        const QString name = state().rollingName;
        s().reset();
        QCOMPARE(s().drawCountText(), QString());
        QCOMPARE(s().keepChoice(), KeepChoice::None);
        QCOMPARE(t->rollingName, QString());
        QVERIFY(t->idle());
        QCOMPARE(t->focused, DrawButton::Start);
        QCOMPARE(state().groupCount, int16_t(0));
        for (int g = 1; g <= MaxGroups; ++g) {
            QCOMPARE(state().groupSizes(g) + state().groupSelected(g), 0);
        }
        for (int k = 1; k <= 5; ++k) {
            QCOMPARE(state().groupResults(k, 2), QString());
        }
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(t->groups[i].title, QStringLiteral("第%1组").arg(i + 1));
            QVERIFY(t->groups[i].names.isEmpty() && !t->groups[i].selected);
        }
        QCOMPARE(poolNames(state()), pool);
        QCOMPARE(state().drawCount, int16_t(3));
        QCOMPARE(state().rollingName, name);
        QCOMPARE(state().firstShownGroup, int16_t(2));
        // Neither keep nor remove is chosen now: both buttons ask for it first.
        s().pressStart();
        s().pressStop();
        QCOMPARE(shown(), QStringList(2, texts::KeepChoiceNotSet));
        t->givePool(2);
        s().setKeepChoice(KeepChoice::Remove);
        s().pressStop();
        QCOMPARE(state().groupCount, int16_t(0));
        QCOMPARE(state().rosterCount, int16_t(2));
        t->start(QStringLiteral("2"));
        tick();
        QCOMPARE(t->rollingName, QString());
        tick();
        QVERIFY(!t->rollingName.isEmpty());
    }

    // A refused Start while the draw rolls: the ticks go on behind the message; a new count
    // takes effect at the next Start only.
    void refusalWhileRolling() {
        t->givePool(30);
        t->start(QStringLiteral("1"));
        tick();
        QStringList behind;
        t->messages.whileOpen = [this, &behind](const QString&) {
            for (int i = 0; i < 6; ++i) {
                tick();
                behind << t->rollingName;
            }
        };
        s().setDrawCountText(QStringLiteral("0"));
        QVERIFY(s().startShown() && s().stopShown());
        s().pressStart();
        QCOMPARE(shown(), QStringList{texts::CountBelowOne});
        QVERIFY(distinct(behind) > 1);
        QVERIFY(s().stopShown() && t->timer.periodMs == 100);
        QCOMPARE(state().drawCount, int16_t(1));
        t->start(QStringLiteral("5"));
        QVERIFY(t->rolling());
        tick();
        s().pressStop();
        QCOMPARE(state().groupSizes(1), int16_t(5));
    }

    void countAbovePool() {
        t->givePool(3);
        t->start(QStringLiteral("1"));
        tick();
        const QString last = t->rollingName;
        t->start(QStringLiteral("4"));
        QVERIFY(t->rolling());
        tick();
        QVERIFY(t->idle());
        QCOMPARE(shown(), QStringList{texts::CountAbovePool});
        QCOMPARE(state().skipNextTick, int16_t(1));
        QCOMPARE(t->rollingName, last);
        s().pressStop();
        QCOMPARE(state().groupCount, int16_t(0));
    }

    // Remove mode takes out exactly the recorded names, the rest keeping their order; keep mode
    // leaves the pool alone.
    void keepAndRemoveMode_data() {
        QTest::addColumn<int>("pool");
        QTest::addColumn<int>("count");
        QTest::newRow("2 of 5") << 5 << 2;
        QTest::newRow("1 of 1") << 1 << 1;
        QTest::newRow("1000 of 2000") << 2000 << 1000;
    }
    void keepAndRemoveMode() {
        QFETCH(int, pool);
        QFETCH(int, count);
        t->givePool(pool);
        const QStringList before = poolNames(state());
        t->drawGroup(QString::number(count));
        QCOMPARE(poolNames(state()), before);
        s().setKeepChoice(KeepChoice::Remove);
        t->drawGroup(QString::number(count));
        QStringList rest = before;
        for (const QString& name : groupNames(state(), 2)) {
            QCOMPARE(rest.removeAll(name), 1);
        }
        QCOMPARE(poolNames(state()), rest);
        QCOMPARE(t->pool, rest);
        QCOMPARE(t->poolCount, QStringLiteral("%1可抽值").arg(pool - count));
    }

    // The whole pool in remove mode empties it; the next draw of that count is refused.
    void wholePoolRemoved() {
        t->givePool(4);
        s().setKeepChoice(KeepChoice::Remove);
        t->drawGroup(QStringLiteral("4"));
        QCOMPARE(distinct(groupNames(state(), 1)), 4);
        QCOMPARE(t->poolCount, QStringLiteral("0可抽值"));
        t->start(QStringLiteral("4"));
        tick();
        QVERIFY(shown().isEmpty());
        tick();
        QCOMPARE(shown(), QStringList{texts::CountAbovePool});
    }

    // The newest group is always shown, in the pink list.
    void newestGroupShown() {
        t->givePool(20);
        const QMap<int, std::pair<int, int>> expected{
            {1, {1, 1}}, {4, {1, 4}}, {5, {2, 4}}, {12, {9, 4}}};
        for (int g = 1; g <= 12; ++g) {
            t->drawGroup(QStringLiteral("2"));
            if (expected.contains(g)) {
                expectShown(expected[g].first, expected[g].second);
                QCOMPARE(t->groups[expected[g].second - 1].names.first(), t->rollingName);
            }
        }
    }

    // The second click of a double click on Start lands on Stop before any pick: ignored.
    void stopBeforeFirstPickIgnored() {
        t->givePool(6);
        s().setKeepChoice(KeepChoice::Remove);
        t->start(QStringLiteral("2"));
        s().pressStop();
        QVERIFY(t->rolling());
        tick();
        s().pressStop();
        QCOMPARE(state().groupCount, int16_t(1));
        t->start(QStringLiteral("2"));
        s().pressStop();
        tick();
        s().pressStop();
        QVERIFY(t->rolling());
        QCOMPARE(state().rosterCount, int16_t(4));
        tick();
        s().pressStop();
        QCOMPARE(state().groupCount, int16_t(2));
        QCOMPARE(state().rosterCount, int16_t(2));
        QVERIFY(shown().isEmpty());
    }

    // Counts Start refuses leave the count and the buttons as they were.
    void refusedCounts_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        for (const char* text : {"abc", "", "0", "-2", "0.5"}) {
            QTest::newRow(text) << QString::fromLatin1(text) << texts::CountBelowOne;
        }
        for (const char* text : {"1001", "1000.6", "32768", "&HFFFF"}) {
            QTest::newRow(text) << QString::fromLatin1(text) << texts::CountAboveGroupSize;
        }
    }
    void refusedCounts() {
        QFETCH(QString, text);
        QFETCH(QString, message);
        t->givePool(3);
        t->drawGroup(QStringLiteral("3"));
        t->start(text);
        QCOMPARE(shown(), QStringList{message});
        QVERIFY(t->idle());
        QCOMPARE(state().drawCount, int16_t(3));
    }

    // 1000 names make a group; the 51st group is refused at Start.
    void groupLimits() {
        t->givePool(1500);
        t->drawGroup(QStringLiteral("1000.5"));
        QCOMPARE(state().groupSizes(1), int16_t(1000));
        for (int g = 2; g <= MaxGroups; ++g) {
            t->drawGroup(QStringLiteral("1"));
        }
        QCOMPARE(state().groupCount, int16_t(50));
        QVERIFY(shown().isEmpty());
        t->start(QStringLiteral("2"));
        QCOMPARE(shown(), QStringList{texts::GroupsFull});
        QVERIFY(t->idle());
        QCOMPARE(state().drawCount, int16_t(1));
    }

    // Six groups: the walk back and forth, the pink going with its group, ">" hidden and back.
    void pagingSixGroups() {
        drawGroups(6);
        expectShown(3, 4);
        s().showEarlierGroups();
        expectShown(2, 0);
        s().showLaterGroups();
        expectShown(3, 4);
        QVERIFY(!t->laterShown);
        s().showEarlierGroups();
        s().showEarlierGroups();
        expectShown(1, 0);
        QVERIFY(!t->laterShown);
        s().showEarlierGroups();
        expectShown(1, 0);
        QVERIFY(t->laterShown);
    }

    // Before any draw "<" shows group 0 (no names, no title) and ">" moves on to group 1.
    void pagingBeforeAnyDraw() {
        s().showEarlierGroups();
        expectShown(0, 0);
        s().showLaterGroups();
        expectShown(1, 0);
        QVERIFY(t->laterShown);
    }

    // ">" never shows past group 50, and hides when the newest group is in the last list.
    void pagingStopsAtTheLastGroup() {
        drawGroups(2);
        for (int i = 0; i < 60; ++i) {
            s().showLaterGroups();
        }
        expectShown(MaxGroups - 3, 0);
        QVERIFY(t->laterShown);
        drawGroups(MaxGroups - 2);
        s().showEarlierGroups();
        expectShown(MaxGroups - 4, 0);
        s().showLaterGroups();
        expectShown(MaxGroups - 3, 4);
        QVERIFY(!t->laterShown);
    }

    // With group 3 first, a name in the second list marks group 4, and only it.
    void choosingAGroup() {
        drawGroups(6);
        s().selectShownGroup(2);
        expectShown(3, 2);
        s().selectShownGroup(0);
        expectShown(3, 2);
        int marks = 0;
        for (int g = 0; g <= MaxGroups; ++g) {
            marks += state().groupSelected(g);
        }
        QCOMPARE(marks, 1);
    }

    // A title set titles groups 1..count and shows the newest groups; the default titles come
    // back without a refresh.
    void titles() {
        drawGroups(7);
        s().showEarlierGroups();
        DrawState& tables = s().stateForTitleEditing();
        tables.titleSets(2, 1) = QStringLiteral("一等奖");
        tables.titleSets(2, 2) = QStringLiteral("二等奖");
        tables.titleSets(2, 26) = QStringLiteral("2");
        s().applyTitleSet(2);
        QCOMPARE(state().firstShownGroup, int16_t(4));
        QCOMPARE(state().groupTitles(2), QStringLiteral("二等奖"));
        QCOMPARE(state().groupTitles(3), QStringLiteral("第3组"));
        QCOMPARE(t->groups[3].title, QStringLiteral("第7组"));
        s().showEarlierGroups();
        s().showEarlierGroups();
        QCOMPARE(t->groups[0].title, QStringLiteral("二等奖"));
        s().applyDefaultTitles();
        QCOMPARE(state().groupTitles(2), QStringLiteral("第2组"));
        QCOMPARE(t->groups[0].title, QStringLiteral("二等奖"));
    }
};

QTEST_GUILESS_MAIN(TestDrawSession)
#include "TestDrawSession.moc"
