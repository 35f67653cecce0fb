#include "draw/engine/DrawPick.h"
#include "support/Fakes.h"

#include <QSet>
#include <QTest>

#include <cmath>
#include <deque>
#include <vector>

using namespace sortilo;

namespace {

// Hands out the numbers it was given, in order, and counts the reseedings.
struct ScriptedRandom : RandomSource {
    std::deque<double> numbers;
    int reseeds = 0;
    void reseed(double) override { ++reseeds; }
    double next() override {
        const double u = numbers.front();
        numbers.pop_front();
        return u;
    }
};

void fillPool(DrawState& state, int size) {
    for (int i = 1; i <= size; ++i) {
        state.roster(i) = QStringLiteral("N%1").arg(i);
    }
    state.rosterCount = static_cast<int16_t>(size);
}

}  // namespace

// The pick of one tick and the random source under it.
class TestDrawPick : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Every name equally likely at every position (chi-square far in the tail: about ten
    // standard deviations); no name twice within a tick.
    void pickIsFair_data() {
        QTest::addColumn<int>("pool");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("ticks");
        QTest::newRow("3 of 10") << 10 << 3 << 20000;
        QTest::newRow("whole pool of 7") << 7 << 7 << 14000;
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
        test::FixedClock clock;
        std::vector<std::vector<int>> seen(count + 1, std::vector<int>(pool + 1, 0));
        for (int t = 0; t < ticks; ++t) {
            QCOMPARE(pickNames(*state, random, clock), PickOutcome::Picked);
            QSet<int> tick;
            for (int i = 1; i <= count; ++i) {
                tick.insert(state->drawPicks(i));
                ++seen[i][state->drawPicks(i)];
            }
            QCOMPARE(tick.size(), count);
        }
        const double expected = double(ticks) / pool;
        for (int i = 1; i <= count; ++i) {
            double chi = 0;
            for (int r = 1; r <= pool; ++r) {
                chi += (seen[i][r] - expected) * (seen[i][r] - expected) / expected;
            }
            QVERIFY2(chi < pool - 1 + 10 * std::sqrt(2.0 * (pool - 1)) + 10,
                     qPrintable(QString::number(chi)));
        }
    }

    // r = int(pool * u) + 1, a reseeding before every attempt, a retry on a repeat.
    void pickFollowsTheAttempts() {
        auto state = makeDrawState();
        fillPool(*state, 4);
        state->drawCount = 3;
        ScriptedRandom random;
        random.numbers = {0.1, 0.1, 0.2499, 0.3, 0.9999999};
        test::FixedClock clock;
        QCOMPARE(pickNames(*state, random, clock), PickOutcome::Picked);
        QCOMPARE(state->drawPicks(1), int16_t(1));
        QCOMPARE(state->drawPicks(2), int16_t(2));
        QCOMPARE(state->drawPicks(3), int16_t(4));
        QCOMPARE(random.reseeds, 5);
        QCOMPARE(clock.reads, 5);
        QCOMPARE(state->rollingName, QStringLiteral("N1"));
    }

    // Reseeding with one clock reading again and again moves on; two starts at the same reading
    // draw differently (the system's entropy is folded in).
    void reseedingMovesOn() {
        FoldingRandom random(42);
        QSet<double> seen;
        for (int i = 0; i < 10000; ++i) {
            random.reseed(36000.5);
            seen.insert(random.next());
        }
        QCOMPARE(seen.size(), 10000);
        FoldingRandom a;
        FoldingRandom b;
        a.reseed(1.0);
        b.reseed(1.0);
        QVERIFY(a.next() != b.next());
    }

    // 53 random bits: multiples of 2^-53 in [0, 1), the lowest bit set about half the time, the
    // mean about 1/2.
    void fiftyThreeBits() {
        FoldingRandom random(2026);
        const int n = 200000;
        int lowBitSet = 0;
        double sum = 0;
        for (int i = 0; i < n; ++i) {
            random.reseed(0.001 * (i % 7));
            const double u = random.next();
            const double scaled = std::ldexp(u, 53);
            QVERIFY(u >= 0 && u < 1 && std::floor(scaled) == scaled);
            lowBitSet += std::fmod(scaled, 2.0) == 1.0 ? 1 : 0;
            sum += u;
        }
        QVERIFY(std::abs(lowBitSet - n / 2) < 5 * std::sqrt(n / 4.0));
        QVERIFY(std::abs(sum / n - 0.5) < 5 * std::sqrt(1.0 / 12 / n));
        const double t = SystemClock().timeOfDay();
        QVERIFY(t >= 0 && t < 86400);
    }
};

QTEST_GUILESS_MAIN(TestDrawPick)
#include "TestDrawPick.moc"
