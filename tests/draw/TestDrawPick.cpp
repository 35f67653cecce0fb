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

std::unique_ptr<DrawState> pool(int size, int count) {
    auto state = makeDrawState();
    for (int i = 1; i <= size; ++i) {
        state->roster(i) = QStringLiteral("N%1").arg(i);
    }
    state->rosterCount = static_cast<int16_t>(size);
    state->drawCount = static_cast<int16_t>(count);
    return state;
}

}  // namespace

// The pick of one tick and the random source under it.
class TestDrawPick : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Every name equally likely at every position (a chi-square bound about ten standard
    // deviations out); no name twice within a tick.
    void pickIsFair_data() {
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("count");
        QTest::newRow("3 of 10") << 10 << 3;
        QTest::newRow("30 of 31") << 31 << 30;
    }
    void pickIsFair() {
        QFETCH(int, size);
        QFETCH(int, count);
        auto state = pool(size, count);
        FoldingRandom random(20261206);
        test::FixedClock clock;
        const int ticks = 2000 * size / count;
        std::vector<std::vector<int>> seen(count + 1, std::vector<int>(size + 1, 0));
        for (int t = 0; t < ticks; ++t) {
            pickNames(*state, random, clock);
            QSet<int> tick;
            for (int i = 1; i <= count; ++i) {
                tick.insert(state->drawPicks(i));
                ++seen[i][state->drawPicks(i)];
            }
            QCOMPARE(tick.size(), count);
        }
        for (int i = 1; i <= count; ++i) {
            double chi = 0;
            for (int r = 1; r <= size; ++r) {
                chi += std::pow(seen[i][r] - double(ticks) / size, 2) / (double(ticks) / size);
            }
            QVERIFY2(chi < size + 10 * std::sqrt(2.0 * size) + 10,
                     qPrintable(QString::number(chi)));
        }
    }

    // r = int(pool * u) + 1, a reseeding before every attempt, a retry on a repeat.
    void pickFollowsTheAttempts() {
        auto state = pool(4, 3);
        ScriptedRandom random;
        random.numbers = {0.1, 0.1, 0.2499, 0.3, 0.9999999};
        test::FixedClock clock;
        QCOMPARE(pickNames(*state, random, clock), PickOutcome::Picked);
        QVERIFY(state->drawPicks(1) == 1 && state->drawPicks(2) == 2 && state->drawPicks(3) == 4);
        QVERIFY(random.reseeds == 5 && clock.reads == 5);
        QCOMPARE(state->rollingName, QStringLiteral("N1"));
    }

    // Reseeding with one clock reading again and again moves on; two starts at the same reading
    // draw differently; 53 random bits in [0, 1), the lowest set half the time, the mean 1/2.
    void randomSource() {
        FoldingRandom random(42);
        QSet<double> seen;
        for (int i = 0; i < 10000; ++i) {
            random.reseed(36000.5);
            seen.insert(random.next());
        }
        QCOMPARE(seen.size(), 10000);
        FoldingRandom a;
        FoldingRandom b;
        QVERIFY(a.next() != b.next());
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
        const double now = SystemClock().timeOfDay();
        QVERIFY(now >= 0 && now < 86400);
    }
};

QTEST_GUILESS_MAIN(TestDrawPick)
#include "TestDrawPick.moc"
