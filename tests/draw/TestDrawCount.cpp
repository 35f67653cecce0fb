#include "draw/engine/DrawCount.h"

#include <QTest>

#include <cmath>
#include <limits>

using namespace sortilo;

using Verdict = DrawCountReading::Verdict;
Q_DECLARE_METATYPE(Verdict)

namespace {

constexpr double Huge = std::numeric_limits<double>::infinity();
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
const CountRow kCountRows[] = {
    // Everyday counts, and the texts that read as less than one.
    {"3", "3", 3, Ok, 3},
    {"blank before", " 3", 3, Ok, 3},
    {"letters after", "3abc", 3, Ok, 3},
    {"2.5 to even", "2.5", 2.5, Ok, 2},
    {"3.5 to even", "3.5", 3.5, Ok, 4},
    {"exponent", "1e2", 100, Ok, 100},
    {"letters only", "abc", 0, Below, 0},
    {"empty", "", 0, Below, 0},
    {"zero", "0", 0, Below, 0},
    {"0.4", "0.4", 0.4, Below, 0},
    {"negative", "-2", -2, Below, 0},
    {"0.5 is below one before rounding", "0.5", 0.5, Below, 0},
    // Blanks, wherever they stand, and signs.
    {"blank inside", "1 2", 12, Ok, 12},
    {"blank after sign", "- 3", -3, Below, 0},
    {"plus", "+7", 7, Ok, 7},
    {"two signs", "--3", 0, Below, 0},
    {"sign after", "3-", 3, Ok, 3},
    // Decimal points and rounding half to even.
    {"4.5 down", "4.5", 4.5, Ok, 4},
    {"just above half", "2.5000001", 2.5000001, Ok, 3},
    {"point first", ".5e1", 5, Ok, 5},
    {"point alone", ".", 0, Below, 0},
    {"second point stops", "1.2.3", 1.2, Ok, 1},
    // Exponents with E or D, in either case.
    {"D exponent", "1d2", 100, Ok, 100},
    {"upper E with sign", "1E+2", 100, Ok, 100},
    {"negative exponent halfway", "25e-1", 2.5, Ok, 2},
    {"exponent without digits", "1e", 1, Ok, 1},
    {"second exponent stops", "1e2e3", 100, Ok, 100},
    {"exponent alone", "e2", 0, Below, 0},
    {"tiny times large", "0.0000000000000000000000000000001e31", 1, Ok, 1},
    // Hexadecimal and octal whole numbers.
    {"hex", "&H10", 16, Ok, 16},
    {"hex lower case", "&h1f", 31, Ok, 31},
    {"hex stops at non-digit", "&H1G", 1, Ok, 1},
    {"octal", "&O17", 15, Ok, 15},
    {"octal stops at 8", "&O18", 1, Ok, 1},
    {"prefix without digits", "&H", 0, Below, 0},
    {"ampersand and digits", "&17", 0, Below, 0},
    // Beyond what a draw count can hold.
    {"largest count", "32767", 32767, Ok, 32767},
    {"rounds past largest", "32767.5", 32767.5, Large, 0},
    {"hex past 16 bits", "&HFFFF", 65535, Large, 0},
    {"exponent past double", "1e400", Huge, Large, 0},
    {"huge exponent digits", "1e999999999999", Huge, Large, 0},
    {"tiny exponent", "1e-400", 0, Below, 0},
    {"negative huge", "-1e400", -Huge, Below, 0},
    // Characters outside ASCII end the number.
    {"full-width digit", QStringLiteral("３"), 0, Below, 0},
    {"Chinese after", QStringLiteral("3个"), 3, Ok, 3},
};
// clang-format on

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
        for (const CountRow& row : kCountRows) {
            QTest::newRow(row.name) << row.text << row.number << row.verdict << row.count;
        }
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
};

QTEST_GUILESS_MAIN(TestDrawCount)
#include "TestDrawCount.moc"
