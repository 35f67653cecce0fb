// An .xlsx workbook saved under the .xls name (users do this): read by content, with the
// active tab, shared and inline strings, rich text without its phonetic runs, numbers, dates by
// number format (also in the 1904 system) and as ISO text, booleans, errors and formula
// results. Packages that give no sheet, are damaged or are no workbook say so. The packages are
// in tests/data/xlsx (make.py there writes them).
#include "platform/xls/CellText.h"
#include "platform/xls/Workbook.h"
#include "support/Failure.h"
#include "support/TestData.h"

#include <QTest>

using namespace sortilo;
using namespace sortilo::xls;

Q_DECLARE_METATYPE(sortilo::ErrorKind)
Q_DECLARE_METATYPE(sortilo::FileKind)

namespace {

Result<Workbook> package(const char* name) {
    return Workbook::open(sortilo::test::testData(QStringLiteral("xlsx/") + name));
}

QString textAt(const Workbook& book, int row, int col) {
    return valueAsText(book.cell(row, col)).value_or(QStringLiteral("<error>"));
}

}  // namespace

class TestXlsx : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void xlsxUnderXlsName_data() {
        QTest::addColumn<bool>("date1904");
        QTest::newRow("1900 dates") << false;
        QTest::newRow("1904 dates") << true;
    }

    void xlsxUnderXlsName() {
        QFETCH(bool, date1904);
        const Result<Workbook> book =
            package(date1904 ? "roster-1904.xlsx.xls" : "roster-1900.xlsx.xls");
        QVERIFY2(book, qPrintable(failure(book)));
        QCOMPARE(book->format(), WorkbookFormat::Xlsx);
        QCOMPARE(book->activeSheetIndex(), 1);
        QCOMPARE(book->activeSheetName(), QStringLiteral("名单"));
        QCOMPARE(textAt(*book, 1, 1), QStringLiteral("标题"));
        QCOMPARE(textAt(*book, 1, 2), QStringLiteral("7"));  // shown as 7.00, read as 7
        QCOMPARE(textAt(*book, 3, 1), QStringLiteral("张三"));
        QVERIFY(book->cell(3, 2).isEmpty());
        QVERIFY(textAt(*book, 3, 4) == QStringLiteral("丁"));
        QCOMPARE(textAt(*book, 4, 1), QStringLiteral("李四 "));
        QCOMPARE(textAt(*book, 5, 1), QStringLiteral("12"));
        QCOMPARE(textAt(*book, 5, 2), QStringLiteral("True"));
        QCOMPARE(book->cell(6, 1).kind, CellValue::Kind::Date);
        QCOMPARE(textAt(*book, 6, 1), date1904 ? QStringLiteral("2028/1/2 12:00:00")
                                               : QStringLiteral("2024/1/1 12:00:00"));
        QCOMPARE(textAt(*book, 7, 1),
                 date1904 ? QStringLiteral("1904/1/1") : QStringLiteral("0:00:00"));
        QCOMPARE(book->cell(8, 1).kind, CellValue::Kind::Error);
        QCOMPARE(book->cell(8, 1).errorCode, uint8_t(0x07));
        QCOMPARE(textAt(*book, 9, 1), QStringLiteral("xy"));
        QCOMPARE(textAt(*book, 10, 1), QStringLiteral("False"));  // row and cell without r
        QCOMPARE(textAt(*book, 11, 1), QStringLiteral("a\rb & c"));
        QVERIFY(book->cell(11, 3).isEmpty());
        QVERIFY(book->cell(12, 1).isEmpty());
        QVERIFY(book->cell(13, 1).isEmpty());  // a shared string index past the table
        QVERIFY(book->cell(2, 1).isEmpty());
        QCOMPARE(textAt(*book, 14, 1), QStringLiteral("2024/3/1 8:30:00"));  // in either system
        QCOMPARE(textAt(*book, 15, 3), QStringLiteral("丙"));   // "A0" is no reference: after B15
        QCOMPARE(textAt(*book, 16, 1), QStringLiteral("Abc"));  // _x0041_ escapes the A
        // A tab out of range falls back to the first visible worksheet.
        QCOMPARE(package("tab-out-of-range.xlsx.xls")->activeSheetName(), QStringLiteral("Cover"));
    }

    void refused_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<ErrorKind>("kind");
        QTest::addColumn<FileKind>("content");
        const FileKind unknown = FileKind::Unknown;
        QTest::newRow("chart sheet opens")
            << "chart-opens.xlsx.xls" << ErrorKind::NoSheet << unknown;
        QTest::newRow("no sheets") << "no-sheets.xlsx.xls" << ErrorKind::NoSheet << unknown;
        QTest::newRow("damaged part") << "damaged-part.xlsx.xls" << ErrorKind::Corrupt << unknown;
        QTest::newRow("xlsb") << "binary.xlsb.xls" << ErrorKind::UnsupportedFormat
                              << FileKind::Xlsb;
        QTest::newRow("ods") << "calc.ods.xls" << ErrorKind::NotAWorkbook << FileKind::Ods;
        QTest::newRow("docx") << "report.docx.xls" << ErrorKind::NotAWorkbook
                              << FileKind::OtherOffice;
        QTest::newRow("zip") << "readme.zip.xls" << ErrorKind::NotAWorkbook << FileKind::Zip;
    }

    void refused() {
        QFETCH(QString, file);
        const Result<Workbook> book = package(qPrintable(file));
        QVERIFY(!book);
        QTEST(book.error().kind, "kind");
        QTEST(book.error().content, "content");
    }
};

QTEST_GUILESS_MAIN(TestXlsx)
#include "TestXlsx.moc"
