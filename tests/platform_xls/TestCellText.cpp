// The one rule that turns a cell's stored value into a roster name, from a table; the date
// formats that decide whether a number is a date; cell names; the charset a page is read in.
#include "platform/xls/CellText.h"
#include "platform/xls/NumberFormats.h"
#include "platform/xls/Workbook.h"

#include <QTest>

#include <limits>

using namespace sortilo::xls;

Q_DECLARE_METATYPE(CellValue)

namespace {

CellValue value(CellValue::Kind kind, double number, const QString& text = {}) {
    CellValue c;
    c.kind = kind;
    c.number = number;
    c.boolean = number != 0;
    c.text = text;
    return c;
}

CellValue number(double v) {
    return value(CellValue::Kind::Number, v);
}

CellValue date(double v) {
    return value(CellValue::Kind::Date, v);
}

}  // namespace

class TestCellText : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void valueAsText_data() {
        QTest::addColumn<CellValue>("cell");
        QTest::addColumn<QString>("expected");  // null: no text (an error value)
        QTest::newRow("empty") << CellValue{} << "";
        QTest::newRow("empty text") << value(CellValue::Kind::Text, 0, "") << "";
        QTest::newRow("text as stored") << value(CellValue::Kind::Text, 0, "  张三 ") << "  张三 ";
        QTest::newRow("12") << number(12) << "12";
        QTest::newRow("negative zero") << number(-0.0) << "0";
        QTest::newRow("15 digits") << number(123456789012345.0) << "123456789012345";
        QTest::newRow("1E+15") << number(1e15) << "1E+15";
        QTest::newRow("1E-4 is plain") << number(0.0001) << "0.0001";
        QTest::newRow("below 1E-4") << number(0.00009) << "9E-05";
        QTest::newRow("16 digits round") << number(1234567890123456.0) << "1.23456789012346E+15";
        QTest::newRow("binary fraction") << number(0.1 + 0.2) << "0.3";
        QTest::newRow("rounds to 1E15") << number(999999999999999.9) << "1E+15";
        QTest::newRow("large exponent") << number(-2.5e100) << "-2.5E+100";
        QTest::newRow("date and time") << date(45292.5) << "2024/1/1 12:00:00";
        QTest::newRow("time alone") << date(0.75) << "18:00:00";
        QTest::newRow("time rounds to second") << date(0.000011574) << "0:00:01";
        QTest::newRow("lotus leap day") << date(60) << "1900/2/29";
        QTest::newRow("after leap day") << date(61) << "1900/3/1";
        QTest::newRow("last day") << date(2958465) << "9999/12/31";
        QTest::newRow("negative date is a number") << date(-1) << "-1";
        QTest::newRow("true") << value(CellValue::Kind::Bool, 1) << "True";
        QTest::newRow("false") << value(CellValue::Kind::Bool, 0) << "False";
        QTest::newRow("error") << value(CellValue::Kind::Error, 0) << QString();
        QTest::newRow("not a number")
            << number(std::numeric_limits<double>::quiet_NaN()) << QString();
    }

    void valueAsText() {
        QFETCH(CellValue, cell);
        QFETCH(QString, expected);
        QCOMPARE(sortilo::xls::valueAsText(cell).value_or(QString()), expected);
        QCOMPARE(sortilo::xls::valueAsText(cell).has_value(), !expected.isNull());
        QCOMPARE(cell.isEmpty(), expected.isEmpty() && !expected.isNull());
    }

    void cellName() {
        QCOMPARE(sortilo::xls::cellName(17, 1), QStringLiteral("A17"));
        QCOMPARE(sortilo::xls::cellName(3, 27), QStringLiteral("AA3"));
        QCOMPARE(sortilo::xls::cellName(5000, 52), QStringLiteral("AZ5000"));
        QCOMPARE(sortilo::xls::cellName(1, 16384), QStringLiteral("XFD1"));
    }

    void dateFormats_data() {
        QTest::addColumn<int>("id");
        QTest::addColumn<QString>("format");  // null: built in, not stored
        QTest::addColumn<bool>("isDate");
        // The built-in formats at the ends of each range, as xlrd classifies them: dates and
        // times, the East-Asian dates (27-36, 50-58) and the Thai ones (71-81); numbers, text.
        for (const int id : {14, 22, 27, 36, 45, 47, 50, 58, 71, 81}) {
            QTest::addRow("built-in %d", id) << id << QString() << true;
        }
        for (const int id : {0, 13, 37, 44, 48, 49, 59, 70}) {
            QTest::addRow("built-in %d", id) << id << QString() << false;
        }
        QTest::newRow("chinese ymd") << 165 << "yyyy\"年\"m\"月\"d\"日\"" << true;
        QTest::newRow("era year") << 166 << "[$-404]e\"年\"m\"月\"" << true;
        QTest::newRow("elapsed hours") << 167 << "[h]:mm:ss" << true;
        QTest::newRow("scientific") << 168 << "0.00E+00" << false;
        QTest::newRow("general") << 169 << "General" << false;
        QTest::newRow("red negative") << 170 << "0.00;[Red]-0.00" << false;
        QTest::newRow("quoted letters") << 171 << "0\" days\"" << false;
        QTest::newRow("escaped d") << 172 << "#,##0\\d" << false;
        QTest::newRow("yuan currency stored for 5") << 5 << "\"￥\"#,##0;\"￥\"\\-#,##0" << false;
        QTest::newRow("DBNum day") << 173 << "[DBNum1][$-804]m\"月\"d\"日\"" << true;
        QTest::newRow("weekday") << 174 << "dddd" << true;
        QTest::newRow("hour") << 175 << "hh\"时\"" << true;
        QTest::newRow("month and day, unquoted") << 176 << "m月d日" << true;
        QTest::newRow("red general") << 177 << "[Red]General" << false;
    }

    // The charset a page declares decides, unless it says UTF-16 of bytes that cannot be.
    void pageCharsets_data() {
        QTest::addColumn<QByteArray>("page");
        QTest::addColumn<QString>("name");
        QTest::newRow("Windows-1252")
            << QByteArray("<meta charset=windows-1252><table><td>Jos\xe9") << "José";
        QTest::newRow("UTF-16 declared, UTF-8 written")
            << QByteArray("<meta charset=\"utf-16\"><table><td>\xe5\xbc\xa0\xe4\xb8\x89") << "张三";
    }

    void pageCharsets() {
        QFETCH(QByteArray, page);
        const sortilo::Result<Workbook> book = Workbook::fromBytes(page);
        QVERIFY(book);
        QTEST(book->cell(1, 1).text, "name");
    }

    void dateFormats() {
        QFETCH(int, id);
        QFETCH(QString, format);
        QFETCH(bool, isDate);
        QCOMPARE(isDateFormat(id, format, !format.isNull()), isDate);
    }
};

QTEST_GUILESS_MAIN(TestCellText)
#include "TestCellText.moc"
