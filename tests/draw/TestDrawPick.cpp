#include "DrawFakes.h"
#include "draw/engine/DrawPick.h"

#include <QSet>
#include <QTest>

#include <cmath>
#include <vector>

using namespace sortilo;
using namespace sortilo::testing;

namespace {

// A chi-square bound far in the tail for k degrees of freedom (about ten standard deviations):
// a fair pick never reaches it, a biased one of a few percent does with these sample sizes.
double chiSquareBound(int k) {
    return k + 10 * std::sqrt(2.0 * k) + 10;
}

QStringList poolNames(const DrawState& state) {
    QStringList names;
    for (int i = 1; i <= state.rosterCount; ++i) {
        names << state.roster(i);
    }
    return names;
}

QStringList groupNames(const DrawState& state, int g) {
    QStringList names;
    for (int k = 1; k <= state.groupSizes(g); ++k) {
        names << state.groupResults(k, g);
    }
    return names;
}

}  // namespace

class TestDrawPick : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Every name equally likely at every position; no name twice within a tick.
    void pickIsFair_data() {
        QTest::addColumn<int>("pool");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("ticks");
        QTest::newRow("3 of 10") << 10 << 3 << 20000;
        QTest::newRow("whole pool of 7") << 7 << 7 << 14000;
        QTest::newRow("1 of 40") << 40 << 1 << 40000;
        QTest::newRow("30 of 31") << 31 << 30 << 6200;
    }

    void pickIsFair() {
        QFETCH(int, pool);
        QFETCH(int, count);
        QFETCH(int, ticks);
        auto state = makeDrawState();
        fillPool(*state, pool);
        state->drawCount = static_cast<int16_t>(count);
        FoldingRandom random(20261206);
        FixedClock clock;
        std::vector<std::vector<int>> seen(count + 1, std::vector<int>(pool + 1, 0));
        for (int t = 0; t < ticks; ++t) {
            QCOMPARE(pickNames(*state, random, clock), PickOutcome::Picked);
            QSet<int> tick;
            for (int i = 1; i <= count; ++i) {
                const int pick = state->drawPicks(i);
                QVERIFY(pick >= 1 && pick <= pool);
                QVERIFY2(!tick.contains(pick), "a name twice within one tick");
                tick.insert(pick);
                ++seen[i][pick];
            }
            QCOMPARE(state->rollingName, state->roster(state->drawPicks(1)));
        }
        const double expected = double(ticks) / pool;
        for (int i = 1; i <= count; ++i) {
            double chi = 0;
            for (int r = 1; r <= pool; ++r) {
                chi += (seen[i][r] - expected) * (seen[i][r] - expected) / expected;
            }
            QVERIFY2(chi < chiSquareBound(pool - 1),
                     qPrintable(QStringLiteral("position %1: chi-square %2").arg(i).arg(chi)));
        }
    }

    // r = int(pool * u) + 1, a reseeding before every attempt, a retry on a repeat.
    void pickFollowsTheAttempts() {
        auto state = makeDrawState();
        fillPool(*state, 4);
        state->drawCount = 3;
        ScriptedRandom random({0.1, 0.1, 0.2499, 0.3, 0.9999999});
        FixedClock clock;
        QCOMPARE(pickNames(*state, random, clock), PickOutcome::Picked);
        QCOMPARE(state->drawPicks(1), int16_t(1));
        QCOMPARE(state->drawPicks(2), int16_t(2));
        QCOMPARE(state->drawPicks(3), int16_t(4));
        QCOMPARE(random.reseeds, 5);
        QCOMPARE(clock.reads, 5);
        QCOMPARE(state->rollingName, QStringLiteral("N1"));
        QVERIFY(state->currentDrawPicked);
    }

    void countAbovePoolPicksNothing() {
        auto state = makeDrawState();
        fillPool(*state, 3);
        state->drawCount = 2;
        FoldingRandom random(1);
        FixedClock clock;
        QCOMPARE(pickNames(*state, random, clock), PickOutcome::Picked);
        const int16_t first = state->drawPicks(1);
        const QString shown = state->rollingName;
        state->drawCount = 4;
        state->currentDrawPicked = false;
        const int reads = clock.reads;
        QCOMPARE(pickNames(*state, random, clock), PickOutcome::CountAbovePool);
        QCOMPARE(state->drawPicks(1), first);
        QCOMPARE(state->rollingName, shown);
        QVERIFY(!state->currentDrawPicked);
        QCOMPARE(clock.reads, reads);
    }

    // Before any Start the count is 0: the tick shows entry 0 of the pool, which is empty.
    void countZeroShowsEmptyName() {
        auto state = makeDrawState();
        state->rollingName = QStringLiteral("old");
        FoldingRandom random(1);
        FixedClock clock;
        QCOMPARE(pickNames(*state, random, clock), PickOutcome::Picked);
        QCOMPARE(state->rollingName, QString());
        QVERIFY(!state->currentDrawPicked);
        QCOMPARE(clock.reads, 0);
    }

    // A whole pool of 2000 drawn while the clock stands still: only a generator that moves on at
    // every reseeding gets through this tick.
    void stillClockStillDraws() {
        auto state = makeDrawState();
        fillPool(*state, MaxRoster);
        state->drawCount = MaxRoster;
        FoldingRandom random(7);
        FixedClock clock;
        QCOMPARE(pickNames(*state, random, clock), PickOutcome::Picked);
        QSet<int> all;
        for (int i = 1; i <= MaxRoster; ++i) {
            all.insert(state->drawPicks(i));
        }
        QCOMPARE(all.size(), MaxRoster);
    }

    // Keep mode: Stop records the group and leaves the pool as it was, tick after tick.
    void keepModeNeverChangesThePool() {
        auto state = makeDrawState();
        fillPool(*state, 12);
        const QStringList before = poolNames(*state);
        FoldingRandom random(99);
        FixedClock clock;
        for (int g = 1; g <= MaxGroups; ++g) {
            state->drawCount = static_cast<int16_t>(1 + g % 12);
            state->currentDrawPicked = false;
            QCOMPARE(pickNames(*state, random, clock), PickOutcome::Picked);
            QVERIFY(canRecordGroup(*state));
            recordGroup(*state);
            QCOMPARE(poolNames(*state), before);
            QCOMPARE(state->rosterCount, int16_t(12));
            QCOMPARE(groupNames(*state, g).size(), 1 + g % 12);
            QCOMPARE(groupNames(*state, g).first(), state->rollingName);
        }
    }

    // Remove mode: exactly the recorded names leave, the rest keep their order.
    void removeModeTakesOutTheGroup_data() {
        QTest::addColumn<int>("pool");
        QTest::addColumn<int>("count");
        QTest::newRow("2 of 5") << 5 << 2;
        QTest::newRow("1 of 1") << 1 << 1;
        QTest::newRow("whole pool") << 9 << 9;
        QTest::newRow("1000 of 2000") << 2000 << 1000;
    }

    void removeModeTakesOutTheGroup() {
        QFETCH(int, pool);
        QFETCH(int, count);
        auto state = makeDrawState();
        fillPool(*state, pool);
        state->drawCount = static_cast<int16_t>(count);
        FoldingRandom random(static_cast<uint64_t>(pool * 31 + count));
        FixedClock clock;
        const QStringList before = poolNames(*state);
        QCOMPARE(pickNames(*state, random, clock), PickOutcome::Picked);
        recordGroup(*state);
        takeDrawnNamesOut(*state);
        const QStringList drawn = groupNames(*state, 1);
        QStringList rest = before;
        for (const QString& name : drawn) {
            QCOMPARE(rest.removeAll(name), 1);
        }
        QCOMPARE(poolNames(*state), rest);
        QCOMPARE(int(state->rosterCount), pool - count);
    }

    // Stop records a group only after a pick of the running draw, and only within the tables.
    void recordingNeedsAPickAndRoom() {
        auto state = makeDrawState();
        fillPool(*state, 1200);
        FoldingRandom random(3);
        FixedClock clock;
        state->drawCount = 2;
        QVERIFY(!canRecordGroup(*state));
        QCOMPARE(pickNames(*state, random, clock), PickOutcome::Picked);
        QVERIFY(canRecordGroup(*state));
        recordGroup(*state);
        QVERIFY2(!canRecordGroup(*state), "the same picks recorded twice");
        state->drawCount = MaxGroupSize + 1;
        QCOMPARE(pickNames(*state, random, clock), PickOutcome::Picked);
        QVERIFY(!canRecordGroup(*state));
        state->drawCount = 1;
        for (int g = 2; g <= MaxGroups; ++g) {
            QCOMPARE(pickNames(*state, random, clock), PickOutcome::Picked);
            recordGroup(*state);
        }
        QCOMPARE(pickNames(*state, random, clock), PickOutcome::Picked);
        QVERIFY(!canRecordGroup(*state));
    }
};

QTEST_GUILESS_MAIN(TestDrawPick)
#include "TestDrawPick.moc"
