#include "draw/engine/Clock.h"
#include "draw/engine/Random.h"

#include <QSet>
#include <QTest>

#include <cmath>

using namespace sortilo;

class TestRandom : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Reseeding with one clock reading again and again must not give one number again and again.
    void reseedingMovesOn() {
        FoldingRandom random(42);
        QSet<double> seen;
        for (int i = 0; i < 10000; ++i) {
            random.reseed(36000.5);
            seen.insert(random.next());
        }
        QCOMPARE(seen.size(), 10000);
    }

    // A fixed seed and clock give the same sequence, so tests can repeat a draw.
    void seedRepeats() {
        FoldingRandom a(11);
        FoldingRandom b(11);
        for (int i = 0; i < 100; ++i) {
            a.reseed(i * 0.01);
            b.reseed(i * 0.01);
            QCOMPARE(a.next(), b.next());
        }
    }

    // Two starts at the same clock reading draw differently: the system's entropy is folded in.
    void startsDiffer() {
        FoldingRandom a;
        FoldingRandom b;
        int same = 0;
        for (int i = 0; i < 8; ++i) {
            a.reseed(1.0);
            b.reseed(1.0);
            same += a.next() == b.next() ? 1 : 0;
        }
        QCOMPARE(same, 0);
    }

    // 53 random bits: every number is a multiple of 2^-53 in [0, 1) and the lowest of the 53
    // bits is set about half the time; the mean is about 1/2.
    void fiftyThreeBits() {
        FoldingRandom random(2026);
        const int n = 200000;
        int lowBitSet = 0;
        double sum = 0;
        for (int i = 0; i < n; ++i) {
            random.reseed(0.001 * (i % 7));
            const double u = random.next();
            QVERIFY(u >= 0 && u < 1);
            const double scaled = std::ldexp(u, 53);
            QCOMPARE(std::floor(scaled), scaled);
            lowBitSet += std::fmod(scaled, 2.0) == 1.0 ? 1 : 0;
            sum += u;
        }
        QVERIFY(std::abs(lowBitSet - n / 2) < 5 * std::sqrt(n / 4.0));
        QVERIFY(std::abs(sum / n - 0.5) < 5 * std::sqrt(1.0 / 12 / n));
    }

    void systemClockIsATimeOfDay() {
        SystemClock clock;
        const double t = clock.timeOfDay();
        QVERIFY(t >= 0 && t < 86400);
    }
};

QTEST_GUILESS_MAIN(TestRandom)
#include "TestRandom.moc"
