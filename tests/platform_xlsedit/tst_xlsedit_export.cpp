// An export writes the sheet that opens, the one the reader reads, or refuses when the
// workbook's records leave that in doubt; its other marks (recalculation, view) hold as well.
#include "RoundTrip.h"
#include "platform/xls/Workbook.h"
#include "platform/xlsedit/EditableWorkbook.h"
#include "support/Failure.h"
#include "support/XlrdDump.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace sortilo;
using namespace sortilo::xls;
using namespace sortilo::xlsedit;

namespace {

// Body of the n-th record of a type (n from 0, counted from `from` on).
char* nth(RecordStream& s, uint16_t type, int n, uint32_t from = 0) {
    for (const Record& r : s.records) {
        if (r.type == type && r.offset >= from && n-- == 0)
            return s.bytes.data() + r.offset + 4;
    }
    return nullptr;
}

// Disagreements made from corpus files. edr_TestMultiSheet opens on its third sheet;
// poi_12843-1 has two windows, the last showing its third sheet, whose view in that window is
// marked selected; easyexcel_t01 has frozen rows.
enum class Change { None, PositionMisses, SharedPosition, WindowUnconfirmed, PaneScrolled };

void apply(RecordStream& s, Change c) {
    char* third = nth(s, rec::BoundSheet, 2);
    if (c == Change::PositionMisses)
        put32(third, le32(third) + 1);
    if (c == Change::SharedPosition)
        put32(nth(s, rec::BoundSheet, 0), le32(third));
    if (c == Change::WindowUnconfirmed) {
        char* view = nth(s, rec::Window2, 1, le32(third));
        put16(view, le16(view) & ~0x0200u);
    }
    if (c == Change::PaneScrolled)
        put16(nth(s, rec::Pane, 0) + 4, 500);
}

}  // namespace

Q_DECLARE_METATYPE(Change)

class TestXlsEditExport : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void writesTheSheetThatOpens_data();
    void writesTheSheetThatOpens();
};

void TestXlsEditExport::writesTheSheetThatOpens_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<Change>("change");
    QTest::addColumn<QString>("range");
    QTest::addColumn<QString>("sheet");  // empty: refused
    const QString all = QStringLiteral("A1:AZ5000");
    QTest::newRow("two windows") << "poi_12843-1.xls" << Change::None << all << "910715";
    QTest::newRow("window unconfirmed")
        << "poi_12843-1.xls" << Change::WindowUnconfirmed << all << QString();
    QTest::newRow("position misses, one sheet left")
        << "edr_TestMultiSheet.xls" << Change::PositionMisses << all << "Sheet3";
    QTest::newRow("two sheets at one position")
        << "edr_TestMultiSheet.xls" << Change::SharedPosition << all << QString();
    QTest::newRow("frozen rows scrolled far")
        << "easyexcel_t01.xls" << Change::PaneScrolled << all << "产品数据";
    QTest::newRow("formulas left on the sheet")
        << "poi_shared_formulas.xls" << Change::None << "A20:B30"
        << "Label";
}

void TestXlsEditExport::writesTheSheetThatOpens() {
    QFETCH(QString, file);
    QFETCH(Change, change);
    QFETCH(QString, range);
    QFETCH(QString, sheet);
    QTemporaryDir dir;
    const QString original = dir.filePath(QStringLiteral("original.xls"));
    const QString path = dir.filePath(QStringLiteral("导出数据.xls"));
    QVERIFY(writeAltered(corpusFile(file), original, [&](RecordStream& s) { apply(s, change); }));
    QVERIFY(QFile::copy(original, path));
    const CellRect rect = *parseA1Range(range);
    const Written written{{{rect.row1, rect.col1}, QStringLiteral("第1组")}};
    const auto read = Workbook::open(path);
    QVERIFY(read);
    // Twice, as from the second export on: nothing is marked twice.
    for (int round = 0; round < 2; ++round) {
        auto book = EditableWorkbook::open(path);
        if (sheet.isEmpty()) {
            QCOMPARE(book.error().kind, ErrorKind::NotEditable);
            QCOMPARE(fileBytes(path), fileBytes(original));
            return;
        }
        QVERIFY2(book, qPrintable(failure(book)));
        QCOMPARE(book->activeSheetName(), sheet);
        QCOMPARE(read->activeSheetName(), sheet);
        QVERIFY(book->clearRange(range));
        QVERIFY(book->writeCell(rect.row1 + 1, rect.col1 + 1, written.begin().value()));
        QVERIFY(book->save());
    }
    // xlrd follows the sheet positions, which the saved file has right again.
    compareBooks(readWithXlrd(corpusFile(file)), readWithXlrd(path), sheet, rect, written);
    // The view is compared with the original as changed; moved positions xlrd cannot follow.
    const bool moved = change == Change::PositionMisses;
    checkExportMarks(moved ? corpusFile(file) : original, path, read->activeSheetIndex());
}

QTEST_GUILESS_MAIN(TestXlsEditExport)
#include "tst_xlsedit_export.moc"
