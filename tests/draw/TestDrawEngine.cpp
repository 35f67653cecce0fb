#include "draw/engine/CommittedDraw.h"
#include "draw/engine/DrawCount.h"
#include "draw/engine/DrawModel.h"
#include "draw/engine/DrawPick.h"
#include "support/DrawFakes.h"

#include <QSet>
#include <QTest>
#include <QTime>

#include <cmath>
#include <limits>
#include <numeric>
#include <vector>

using namespace sortilo;

namespace {

constexpr double Huge = std::numeric_limits<double>::infinity();
using Verdict = DrawCountReading::Verdict;
constexpr Verdict Ok = Verdict::Count;
constexpr Verdict Below = Verdict::BelowOne;
constexpr Verdict Large = Verdict::TooLarge;

struct CountRow {
    const char* name;
    QString text;
    double number;  // as read, before rounding
    Verdict verdict;
    int count;  // the count Start takes, when the verdict is Ok
};

// clang-format off
const CountRow CountRows[] = {
    // Everyday counts, and the texts that read as less than one.
    {"letters after", "3abc", 3, Ok, 3},
    {"2.5 to even", "2.5", 2.5, Ok, 2},
    {"3.5 to even", "3.5", 3.5, Ok, 4},
    {"letters only", "abc", 0, Below, 0},
    {"negative", "-2", -2, Below, 0},
    {"0.5 is below one before rounding", "0.5", 0.5, Below, 0},
    // Blanks, wherever they stand, and signs.
    {"blank inside", "1 2", 12, Ok, 12},
    {"tab, line feed, return inside", "1\t2\n3\r4", 1234, Large, 0},
    {"blank after sign", "- 3", -3, Below, 0},
    {"plus", "+7", 7, Ok, 7},
    {"two signs", "--3", 0, Below, 0},
    // Decimal points and rounding half to even.
    {"point first", ".5e1", 5, Ok, 5},
    {"second point stops", "1.2.3", 1.2, Ok, 1},
    // Exponents with E or D, in either case.
    {"D exponent", "1d2", 100, Ok, 100},
    {"upper E with sign", "1E+2", 100, Ok, 100},
    {"negative exponent halfway", "25e-1", 2.5, Ok, 2},
    {"exponent without digits", "1e", 1, Ok, 1},
    {"second exponent stops", "1e2e3", 100, Ok, 100},
    {"tiny times large", "0.0000000000000000000000000000001e31", 1, Ok, 1},
    // Hexadecimal and octal whole numbers.
    {"hex", "&H10", 16, Ok, 16},
    {"hex lower case", "&h1f", 31, Ok, 31},
    {"hex stops at non-digit", "&H1G", 1, Ok, 1},
    {"octal", "&O17", 15, Ok, 15},
    {"octal stops at 8", "&O18", 1, Ok, 1},
    {"prefix without digits", "&H", 0, Below, 0},
    {"ampersand and digits", "&17", 0, Below, 0},
    // Beyond what one group holds.
    {"largest count", "1000.5", 1000.5, Ok, 1000},
    {"rounds past largest", "1000.51", 1000.51, Large, 0},
    {"hex past a group", "&HFFFF", 65535, Large, 0},
    {"exponent past double", "1e400", Huge, Large, 0},
    {"tiny exponent", "1e-400", 0, Below, 0},
    {"negative huge", "-1e400", -Huge, Below, 0},
    // Full-width forms of a Chinese input method read as ASCII; other characters end the number.
    {"full-width ten", QStringLiteral("１０"), 10, Ok, 10},
    {"full-width point, exponent, hex", QStringLiteral("２．５Ｅ１"), 25, Ok, 25},
    {"full-width hex", QStringLiteral("＆ｈ１Ｆ"), 31, Ok, 31},
    {"ideographic space", QStringLiteral("\u3000１\u30002"), 12, Ok, 12},
    {"full-width minus", QStringLiteral("－３"), -3, Below, 0},
    {"circled digit", QStringLiteral("③"), 0, Below, 0},
    {"Chinese after", QStringLiteral("3个"), 3, Ok, 3},
};
// clang-format on

}  // namespace

// The draw's engine: the count read from the operator's text, the pick of one tick and the
// random source under it.
class TestDrawEngine : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Every kind of count text the operator may type: the number read and the count Start takes.
    void readDrawCount_data() {
        QTest::addColumn<int>("row");
        for (const CountRow& row : CountRows) {
            QTest::newRow(row.name) << int(&row - CountRows);
        }
    }
    void readDrawCount() {
        QFETCH(int, row);
        const CountRow& expected = CountRows[row];
        const DrawCountReading r = sortilo::readDrawCount(expected.text);
        if (std::isinf(expected.number)) {
            QCOMPARE(r.number, expected.number);
        } else {
            QVERIFY(std::abs(r.number - expected.number) <=
                    1e-12 * std::max(1.0, std::abs(expected.number)));
        }
        QCOMPARE(r.verdict, expected.verdict);
        if (expected.verdict == Ok) {
            QCOMPARE(r.count, expected.count);
        }
    }

    // The show's names come from the whole pool and never from outside it.
    void showStaysInThePool() {
        FoldingRandom random(20261206);
        test::FixedClock clock;
        QSet<int> seen;
        for (int t = 0; t < 200; ++t) {
            seen.insert(showPosition(3, random, clock));
        }
        QCOMPARE(seen, (QSet<int>{0, 1, 2}));
    }

    // The known answer of the record's protocol: the commitment, the roster's digest and the picks
    // of two groups, with and without the room's text.
    void committedKnownAnswer_data() {
        QTest::addColumn<QString>("entropy");
        QTest::addColumn<int>("secondCount");
        QTest::addColumn<QList<int>>("first");
        QTest::addColumn<QList<int>>("second");
        QTest::addColumn<QList<int>>("secondIfKept");
        QTest::newRow("no text") << QString() << 2 << QList<int>{4, 0, 6} << QList<int>{7, 1}
                                 << QList<int>();
        QTest::newRow("20261207") << "20261207" << 2 << QList<int>{1, 6, 5} << QList<int>{7, 9}
                                  << QList<int>();
        QTest::newRow("20261207, three")
            << "20261207" << 3 << QList<int>{1, 6, 5} << QList<int>{7, 9, 8} << QList<int>{7, 9, 1};
    }
    void committedKnownAnswer() {
        QFETCH(QString, entropy);
        QFETCH(int, secondCount);
        QFETCH(QList<int>, first);
        QFETCH(QList<int>, second);
        QFETCH(QList<int>, secondIfKept);
        test::FixedSecrets secrets;
        const QByteArray s = secrets.secret(committed::SecretBytes);
        const QStringList& roster = test::KnownAnswerRoster;
        QCOMPARE(committed::commitment(s).toHex(),
                 "df976c6c78a4ff72df482d417f3a33b874c44bedb1b018ddae5ef0621f90349b");
        QCOMPARE(committed::rosterDigest(roster).toHex(),
                 "c3156bee698a8054ac875333c1d668338ccd0bf5e83a5b12f2131a0f61c42677");
        for (const bool keep : {false, true}) {
            if (keep && secondIfKept.isEmpty()) {
                continue;
            }
            DrawModel draw;
            draw.startSession(roster, s);
            if (!entropy.isEmpty()) {
                draw.addEntropy(entropy);
            }
            const GroupDrawn group1 = draw.nextGroup(3, keep);
            QCOMPARE(group1.picks, first);
            draw.recordGroup(group1);
            QCOMPARE(draw.nextGroup(secondCount, true).picks, keep ? secondIfKept : second);
        }
    }

    // Over many secrets every name is as likely to be drawn alone, and every ordered pair of names
    // as likely to be a group of two (chi-square bounds about six standard deviations out).
    void committedPicksAreUniform_data() {
        QTest::addColumn<int>("count");
        QTest::newRow("one of ten") << 1;
        QTest::newRow("a pair of four") << 2;
    }
    void committedPicksAreUniform() {
        QFETCH(int, count);
        const int names = count == 1 ? 10 : 4;
        const int outcomes = count == 1 ? names : names * (names - 1);
        const int trials = 400 * outcomes;
        QList<int> seen(outcomes, 0);
        QList<int> everyone(names);
        std::iota(everyone.begin(), everyone.end(), 0);
        for (int t = 0; t < trials; ++t) {
            const QByteArray key = committed::sessionKey(QByteArray::number(t), "digest", {});
            const QList<int> picks = committed::picks(key, 1, 1, everyone, count);
            ++seen[count == 1 ? picks[0]
                              : picks[0] * (names - 1) + picks[1] - (picks[1] > picks[0])];
        }
        double chi = 0;
        for (const int n : seen) {
            chi += std::pow(n - 400.0, 2) / 400.0;
        }
        QVERIFY2(chi < outcomes + 6 * std::sqrt(2.0 * outcomes), qPrintable(QString::number(chi)));
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
            QVERIFY(u >= 0);
            QVERIFY(u < 1);
            QVERIFY(std::floor(scaled) == scaled);
            lowBitSet += std::fmod(scaled, 2.0) == 1.0 ? 1 : 0;
            sum += u;
        }
        QVERIFY(std::abs(lowBitSet - n / 2) < 5 * std::sqrt(n / 4.0));
        QVERIFY(std::abs(sum / n - 0.5) < 5 * std::sqrt(1.0 / 12 / n));
        // The system clock gives the local time of day in seconds.
        const double drift =
            SystemClock().timeOfDay() - QTime::currentTime().msecsSinceStartOfDay() / 1e3;
        QVERIFY(std::abs(std::remainder(drift, 86400.0)) < 2);
    }
};

QTEST_GUILESS_MAIN(TestDrawEngine)
#include "TestDrawEngine.moc"
