#include "draw/engine/DrawCount.h"

#include <QTest>

#include <cmath>
#include <limits>

using namespace sortilo;

using Verdict = DrawCountReading::Verdict;

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
    {"blank before", " 3", 3, Ok, 3},
    {"letters after", "3abc", 3, Ok, 3},
    {"2.5 to even", "2.5", 2.5, Ok, 2},
    {"3.5 to even", "3.5", 3.5, Ok, 4},
    {"letters only", "abc", 0, Below, 0},
    {"empty", "", 0, Below, 0},
    {"negative", "-2", -2, Below, 0},
    {"0.5 is below one before rounding", "0.5", 0.5, Below, 0},
    // Blanks, wherever they stand, and signs.
    {"blank inside", "1 2", 12, Ok, 12},
    {"blank after sign", "- 3", -3, Below, 0},
    {"plus", "+7", 7, Ok, 7},
    {"two signs", "--3", 0, Below, 0},
    // Decimal points and rounding half to even.
    {"just above half", "2.5000001", 2.5000001, Ok, 3},
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
    // Beyond what a draw count can hold.
    {"largest count", "32767", 32767, Ok, 32767},
    {"rounds past largest", "32767.5", 32767.5, Large, 0},
    {"hex past 16 bits", "&HFFFF", 65535, Large, 0},
    {"exponent past double", "1e400", Huge, Large, 0},
    {"tiny exponent", "1e-400", 0, Below, 0},
    {"negative huge", "-1e400", -Huge, Below, 0},
    // Characters outside ASCII end the number.
    {"full-width digit", QStringLiteral("３"), 0, Below, 0},
    {"Chinese after", QStringLiteral("3个"), 3, Ok, 3},
};
// clang-format on

}  // namespace

// Every kind of count text the operator may type: the number read and the count Start takes.
class TestDrawCount : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void readDrawCount() {
        for (const CountRow& row : kCountRows) {
            const DrawCountReading r = sortilo::readDrawCount(row.text);
            const double tolerance = 1e-12 * std::max(1.0, std::abs(row.number));
            const bool number = std::isinf(row.number)
                                    ? r.number == row.number
                                    : std::abs(r.number - row.number) <= tolerance;
            QVERIFY2(
                number && r.verdict == row.verdict && (row.verdict != Ok || r.count == row.count),
                row.name);
        }
    }
};

QTEST_GUILESS_MAIN(TestDrawCount)
#include "TestDrawCount.moc"
