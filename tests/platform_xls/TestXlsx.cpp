// An .xlsx workbook saved under the .xls name (users do this) is read by content: the active tab
// and every kind of cell, dates also in the 1904 system. Packages that give no sheet, are damaged
// or are no workbook are among the broken files. tests/data/xlsx/make.py writes the packages.
#include "platform/xls/CellText.h"
#include "platform/xls/Workbook.h"
#include "support/Failure.h"
#include "support/TestData.h"

#include <QTest>

#include <map>

using namespace sortilo;
using namespace sortilo::xls;

namespace {

Result<Workbook> package(const char* name) {
    return Workbook::open(sortilo::test::testData(QStringLiteral("xlsx/") + name));
}

// The active sheet's cells that hold a text, row by row, as "A1 text" (errors as <error>).
QStringList cellTexts(const Workbook& book) {
    std::map<std::pair<int, int>, QString> cells;
    for (size_t i = 0; i < book.cells().size(); ++i) {
        const QString text =
            valueAsText(book.cells().valueAt(i)).value_or(QStringLiteral("<error>"));
        if (!text.isEmpty()) {
            cells[{int(book.cells().rowAt(i)), int(book.cells().colAt(i))}] = text;
        }
    }
    QStringList out;
    for (const auto& [at, text] : cells) {
        out << cellName(at.first, at.second) + ' ' + text;
    }
    return out;
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
        QCOMPARE(book->cell(8, 1).errorCode, uint8_t(0x07));
        // Rich text without its phonetic runs (D3); 7.00 read as 7 (B1); a row and cell without r
        // (A10); a shared string index past the table (A13: nothing); ISO date text in either date
        // system (A14); "A0" is no reference, so C15 follows B15; _x0041_ escapes the A (A16).
        QCOMPARE(cellTexts(*book),
                 (QStringList{"A1 标题", "B1 7", "A3 张三", "D3 丁", "A4 李四 ", "A5 12", "B5 True",
                              date1904 ? "A6 2028/1/2 12:00:00" : "A6 2024/1/1 12:00:00",
                              date1904 ? "A7 1904/1/1" : "A7 0:00:00", "A8 <error>", "A9 xy",
                              "A10 False", "A11 a\rb & c", "A14 2024/3/1 8:30:00", "B15 乙",
                              "C15 丙", "A16 Abc"}));
        // A tab out of range falls back to the first visible worksheet.
        QCOMPARE(package("tab-out-of-range.xlsx.xls")->activeSheetName(), QStringLiteral("Cover"));
    }
};

QTEST_GUILESS_MAIN(TestXlsx)
#include "TestXlsx.moc"
