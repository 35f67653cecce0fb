// The one rule that turns a cell's stored value into a roster name, from a table; the date
// formats that decide whether a number is a date; cell names.
#include "platform/xls/CellText.h"
#include "platform/xls/NumberFormats.h"

#include <QTest>

#include <limits>

using namespace sortilo::xls;

Q_DECLARE_METATYPE(CellValue)

namespace {

CellValue number(double v, CellValue::Kind kind = CellValue::Kind::Number) {
    CellValue c;
    c.kind = kind;
    c.number = v;
    return c;
}

CellValue text(const QString& s) {
    CellValue c;
    c.kind = CellValue::Kind::Text;
    c.text = s;
    return c;
}

CellValue boolean(bool b) {
    CellValue c;
    c.kind = CellValue::Kind::Bool;
    c.boolean = b;
    return c;
}

}  // namespace

class TestCellText : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void valueAsText_data() {
        QTest::addColumn<CellValue>("value");
        QTest::addColumn<QString>("expected");
        const auto D = CellValue::Kind::Date;
        QTest::newRow("empty") << CellValue{} << "";
        QTest::newRow("text as stored") << text(QStringLiteral("  张三 ")) << "  张三 ";
        QTest::newRow("single space") << text(QStringLiteral(" ")) << " ";
        QTest::newRow("12") << number(12) << "12";
        QTest::newRow("0.5") << number(0.5) << "0.5";
        QTest::newRow("-3") << number(-3) << "-3";
        QTest::newRow("zero") << number(0) << "0";
        QTest::newRow("negative zero") << number(-0.0) << "0";
        QTest::newRow("15 digits") << number(123456789012345.0) << "123456789012345";
        QTest::newRow("shown as 007") << number(7) << "7";
        QTest::newRow("1E+15") << number(1e15) << "1E+15";
        QTest::newRow("1.5E-05") << number(1.5e-5) << "1.5E-05";
        QTest::newRow("1E-4 is plain") << number(0.0001) << "0.0001";
        QTest::newRow("below 1E-4") << number(0.00009) << "9E-05";
        QTest::newRow("16 digits round") << number(1234567890123456.0) << "1.23456789012346E+15";
        QTest::newRow("binary fraction") << number(0.1 + 0.2) << "0.3";
        QTest::newRow("rounds to 1E15") << number(999999999999999.9) << "1E+15";
        QTest::newRow("large exponent") << number(-2.5e100) << "-2.5E+100";
        QTest::newRow("many decimals") << number(3.14159265358979) << "3.14159265358979";
        QTest::newRow("date") << number(45292, D) << "2024/1/1";
        QTest::newRow("date and time") << number(45292.5, D) << "2024/1/1 12:00:00";
        QTest::newRow("time alone") << number(0.75, D) << "18:00:00";
        QTest::newRow("time rounds to second") << number(0.000011574, D) << "0:00:01";
        QTest::newRow("first day") << number(1, D) << "1900/1/1";
        QTest::newRow("lotus leap day") << number(60, D) << "1900/2/29";
        QTest::newRow("after leap day") << number(61, D) << "1900/3/1";
        QTest::newRow("last day") << number(2958465, D) << "9999/12/31";
        QTest::newRow("negative date is a number") << number(-1, D) << "-1";
        QTest::newRow("true") << boolean(true) << "True";
        QTest::newRow("false") << boolean(false) << "False";
    }

    void valueAsText() {
        QFETCH(CellValue, value);
        QFETCH(QString, expected);
        const auto got = sortilo::xls::valueAsText(value);
        QVERIFY(got.has_value());
        QCOMPARE(*got, expected);
    }

    void errorsAndNonFiniteHaveNoText() {
        CellValue error;
        error.kind = CellValue::Kind::Error;
        error.errorCode = 0x07;
        QVERIFY(!sortilo::xls::valueAsText(error));
        QVERIFY(!sortilo::xls::valueAsText(number(std::numeric_limits<double>::quiet_NaN())));
        QCOMPARE(errorName(0x07), QStringLiteral("#DIV/0!"));
        QCOMPARE(errorName(0x2A), QStringLiteral("#N/A"));
    }

    void emptiness() {
        QVERIFY(CellValue{}.isEmpty());
        QVERIFY(text(QString()).isEmpty());
        QVERIFY(!text(QStringLiteral(" ")).isEmpty());
        QVERIFY(!number(0).isEmpty());
        QVERIFY(!boolean(false).isEmpty());
    }

    void cellName_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("name");
        QTest::newRow("A17") << 17 << 1 << "A17";
        QTest::newRow("Z1") << 1 << 26 << "Z1";
        QTest::newRow("AA3") << 3 << 27 << "AA3";
        QTest::newRow("AZ5000") << 5000 << 52 << "AZ5000";
        QTest::newRow("IV65536") << 65536 << 256 << "IV65536";
        QTest::newRow("XFD1") << 1 << 16384 << "XFD1";
    }

    void cellName() {
        QFETCH(int, row);
        QFETCH(int, column);
        QFETCH(QString, name);
        QCOMPARE(sortilo::xls::cellName(row, column), name);
    }

    void dateFormats_data() {
        QTest::addColumn<int>("id");
        QTest::addColumn<QString>("format");
        QTest::addColumn<bool>("stored");
        QTest::addColumn<bool>("isDate");
        QTest::newRow("built-in 14") << 14 << "" << false << true;
        QTest::newRow("built-in 22") << 22 << "" << false << true;
        QTest::newRow("built-in 45") << 45 << "" << false << true;
        QTest::newRow("built-in 47") << 47 << "" << false << true;
        QTest::newRow("CJK built-in 31") << 31 << "" << false << true;
        QTest::newRow("CJK built-in 57") << 57 << "" << false << true;
        QTest::newRow("built-in 0") << 0 << "" << false << false;
        QTest::newRow("built-in 10 percent") << 10 << "" << false << false;
        QTest::newRow("built-in 49 text") << 49 << "" << false << false;
        QTest::newRow("ymd") << 164 << "yyyy-mm-dd" << true << true;
        QTest::newRow("chinese ymd") << 165 << "yyyy\"年\"m\"月\"d\"日\"" << true << true;
        QTest::newRow("era year") << 166 << "[$-404]e\"年\"m\"月\"" << true << true;
        QTest::newRow("elapsed hours") << 167 << "[h]:mm:ss" << true << true;
        QTest::newRow("scientific") << 168 << "0.00E+00" << true << false;
        QTest::newRow("general") << 169 << "General" << true << false;
        QTest::newRow("red negative") << 170 << "0.00;[Red]-0.00" << true << false;
        QTest::newRow("quoted letters") << 171 << "0\" days\"" << true << false;
        QTest::newRow("escaped d") << 172 << "#,##0\\d" << true << false;
        QTest::newRow("yuan currency stored for 5")
            << 5 << "\"￥\"#,##0;\"￥\"\\-#,##0" << true << false;
        QTest::newRow("DBNum day") << 173 << "[DBNum1][$-804]m\"月\"d\"日\"" << true << true;
        QTest::newRow("text") << 174 << "@" << true << false;
    }

    void dateFormats() {
        QFETCH(int, id);
        QFETCH(QString, format);
        QFETCH(bool, stored);
        QFETCH(bool, isDate);
        QCOMPARE(isDateFormat(id, format, stored), isDate);
    }
};

QTEST_GUILESS_MAIN(TestCellText)
#include "TestCellText.moc"
