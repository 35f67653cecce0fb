#include "draw/engine/DrawCount.h"

#include <QTest>

#include <cmath>
#include <limits>

using namespace sortilo;

using Verdict = DrawCountReading::Verdict;
Q_DECLARE_METATYPE(Verdict)

namespace {

constexpr double Huge = std::numeric_limits<double>::infinity();

}  // namespace

// Every count text the operator may type, with the number read from it and the count Start takes.
class TestDrawCount : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void readDrawCount_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("number");
        QTest::addColumn<Verdict>("verdict");
        QTest::addColumn<int>("count");
        const auto row = [](const char* name, const QString& text, double number, Verdict verdict,
                            int count) {
            QTest::newRow(name) << text << number << verdict << count;
        };
        const auto below = Verdict::BelowOne;
        const auto ok = Verdict::Count;
        const auto large = Verdict::TooLarge;
        // The examples of the settings frame.
        row("3", "3", 3, ok, 3);
        row("blank before", " 3", 3, ok, 3);
        row("letters after", "3abc", 3, ok, 3);
        row("2.5 to even", "2.5", 2.5, ok, 2);
        row("3.5 to even", "3.5", 3.5, ok, 4);
        row("exponent", "1e2", 100, ok, 100);
        row("letters only", "abc", 0, below, 0);
        row("empty", "", 0, below, 0);
        row("zero", "0", 0, below, 0);
        row("0.4", "0.4", 0.4, below, 0);
        row("negative", "-2", -2, below, 0);
        row("0.5 is below one before rounding", "0.5", 0.5, below, 0);
        // Blanks, wherever they stand, and signs.
        row("tabs and blanks", " \t  12", 12, ok, 12);
        row("blank inside", "1 2", 12, ok, 12);
        row("blank after sign", "- 3", -3, below, 0);
        row("plus", "+7", 7, ok, 7);
        row("two signs", "--3", 0, below, 0);
        row("sign alone", "-", 0, below, 0);
        row("sign after", "3-", 3, ok, 3);
        // Decimal points and rounding half to even.
        row("1.5 up", "1.5", 1.5, ok, 2);
        row("4.5 down", "4.5", 4.5, ok, 4);
        row("5.5 up", "5.5", 5.5, ok, 6);
        row("just below half", "1.49999999", 1.49999999, ok, 1);
        row("just above half", "2.5000001", 2.5000001, ok, 3);
        row("point first", ".5e1", 5, ok, 5);
        row("point last", "3.", 3, ok, 3);
        row("point alone", ".", 0, below, 0);
        row("second point stops", "1.2.3", 1.2, ok, 1);
        row("comma stops", "1,000", 1, ok, 1);
        row("1", "1", 1, ok, 1);
        // Exponents with E or D, in either case.
        row("D exponent", "1d2", 100, ok, 100);
        row("upper E with sign", "1E+2", 100, ok, 100);
        row("negative exponent halfway", "25e-1", 2.5, ok, 2);
        row("negative exponent", "35E-1", 3.5, ok, 4);
        row("exponent without digits", "1e", 1, ok, 1);
        row("exponent sign without digits", "1e+", 1, ok, 1);
        row("point in exponent stops", "1.5e1.5", 15, ok, 15);
        row("second exponent stops", "1e2e3", 100, ok, 100);
        row("small by exponent", "1d-1", 0.1, below, 0);
        row("exponent alone", "e2", 0, below, 0);
        row("long mantissa", "12345678901234567890e-18", 12.34567890123456789, ok, 12);
        row("tiny times large", "0.0000000000000000000000000000001e31", 1, ok, 1);
        // Hexadecimal and octal whole numbers.
        row("hex", "&H10", 16, ok, 16);
        row("hex lower case", "&h1f", 31, ok, 31);
        row("hex stops at non-digit", "&H1G", 1, ok, 1);
        row("octal", "&O17", 15, ok, 15);
        row("octal stops at 8", "&O18", 1, ok, 1);
        row("octal without digits", "&o8", 0, below, 0);
        row("prefix without digits", "&H", 0, below, 0);
        row("ampersand and digits", "&17", 0, below, 0);
        row("C hex is not read", "0x10", 0, below, 0);
        // Beyond what a draw count can hold.
        row("largest count", "32767", 32767, ok, 32767);
        row("rounds to largest", "32767.4", 32767.4, ok, 32767);
        row("halfway below largest", "32766.5", 32766.5, ok, 32766);
        row("rounds past largest", "32767.5", 32767.5, large, 0);
        row("hex past 16 bits", "&HFFFF", 65535, large, 0);
        row("many digits", "99999999999999999999", 1e20, large, 0);
        row("exponent past double", "1e400", Huge, large, 0);
        row("huge exponent digits", "1e999999999999", Huge, large, 0);
        row("tiny exponent", "1e-400", 0, below, 0);
        row("negative huge", "-1e400", -Huge, below, 0);
        row("one thousand and one", "1001", 1001, ok, 1001);
        // Characters outside ASCII end the number.
        row("full-width digit", QStringLiteral("３"), 0, below, 0);
        row("Chinese after", QStringLiteral("3个"), 3, ok, 3);
        row("full-width blank", QStringLiteral("\u30003"), 0, below, 0);
    }

    void readDrawCount() {
        QFETCH(QString, text);
        QFETCH(double, number);
        QFETCH(Verdict, verdict);
        QFETCH(int, count);
        const DrawCountReading reading = sortilo::readDrawCount(text);
        if (std::isinf(number)) {
            QCOMPARE(reading.number, number);
        } else {
            QVERIFY2(std::abs(reading.number - number) <= 1e-12 * std::max(1.0, std::abs(number)),
                     qPrintable(QString::number(reading.number, 'g', 17)));
        }
        QCOMPARE(reading.verdict, verdict);
        if (verdict == Verdict::Count) {
            QCOMPARE(int(reading.count), count);
        }
    }

    void roundHalfEven_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<double>("rounded");
        QTest::newRow("0.5") << 0.5 << 0.0;
        QTest::newRow("-0.5") << -0.5 << 0.0;
        QTest::newRow("-1.5") << -1.5 << -2.0;
        QTest::newRow("-2.5") << -2.5 << -2.0;
        QTest::newRow("6.5") << 6.5 << 6.0;
        QTest::newRow("7.5") << 7.5 << 8.0;
        QTest::newRow("7.25") << 7.25 << 7.0;
        QTest::newRow("2^53") << 9007199254740992.0 << 9007199254740992.0;
        QTest::newRow("largest below half") << 0.49999999999999994 << 0.0;
    }

    void roundHalfEven() {
        QFETCH(double, value);
        QFETCH(double, rounded);
        QCOMPARE(sortilo::roundHalfEven(value), rounded);
    }
};

QTEST_GUILESS_MAIN(TestDrawCount)
#include "TestDrawCount.moc"
