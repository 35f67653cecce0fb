// What an export does besides writing cells: it writes the sheet that opens (the one the reader
// reads) or refuses when the workbook leaves that in doubt, marks every formula to be calculated
// again, and leaves the sheet showing its top-left corner with A1 selected.
#include "RoundTrip.h"
#include "platform/xls/Workbook.h"
#include "platform/xlsedit/EditableWorkbook.h"
#include "support/XlrdDump.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using sortilo::SheetError;
using sortilo::SheetProblem;
using namespace sortilo::xlsedit;

namespace {

QString corpus(const QString& name) {
    return QDir(qEnvironmentVariable("SORTILO_CORPUS_DIR")).filePath(name);
}

QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

std::vector<int> recordsOf(const RecordStream& s, uint16_t type) {
    std::vector<int> out;
    for (size_t i = 0; i < s.records.size(); ++i) {
        if (s.records[i].type == type)
            out.push_back(int(i));
    }
    return out;
}

char* bodyOf(RecordStream& s, int index) {
    return s.bytes.data() + s.records[size_t(index)].offset + 4;
}

// The ways a workbook's records can disagree about its sheets, made from corpus files.
enum class Alteration { None, ActivePositionMisses, TwoSheetsOnePosition, WindowUnconfirmed };

void alter(RecordStream& s, Alteration a) {
    const std::vector<int> sheets = recordsOf(s, rec::BoundSheet);
    if (a == Alteration::ActivePositionMisses)  // edr_TestMultiSheet opens on its third sheet
        put32(bodyOf(s, sheets[2]), le32(bodyOf(s, sheets[2])) + 1);
    if (a == Alteration::TwoSheetsOnePosition)
        put32(bodyOf(s, sheets[0]), le32(bodyOf(s, sheets[2])));
    if (a == Alteration::WindowUnconfirmed) {
        // poi_12843-1 has two windows; the last shows sheet 910715, whose second view is
        // marked selected. Without that mark nothing says which window's sheet opens.
        const uint32_t bof = le32(bodyOf(s, sheets[2]));
        int seen = 0;
        for (int w : recordsOf(s, rec::Window2)) {
            if (s.records[size_t(w)].offset > bof && ++seen == 2) {
                put16(bodyOf(s, w), le16(bodyOf(s, w)) & ~0x0200u);
                break;
            }
        }
    }
}

bool isActivePaneSelection(const QVector<BiffRecord>& view, int at) {
    int pane = 3;
    for (int i = 0; i < at; ++i) {
        if (view[i].type == rec::Window2)
            pane = 3;
        if (view[i].type == rec::Pane)
            pane = uint8_t(view[i].body[8]);
    }
    return uint8_t(view[at].body[0]) == pane;
}

QVector<BiffRecord> viewRecords(const QVector<BiffRecord>& sheet) {
    QVector<BiffRecord> out;
    for (const BiffRecord& r : sheet) {
        if (r.type == rec::Window2 || r.type == rec::Pane || r.type == rec::Selection)
            out.push_back(r);
    }
    return out;
}

}  // namespace

Q_DECLARE_METATYPE(Alteration)

class TestXlsEditExport : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void writesTheSheetThatOpens_data();
    void writesTheSheetThatOpens();
    void formulasMarkedForRecalculation_data();
    void formulasMarkedForRecalculation();
    void opensAtTopLeft_data();
    void opensAtTopLeft();
};

void TestXlsEditExport::writesTheSheetThatOpens_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<Alteration>("alteration");
    QTest::addColumn<QString>("sheet");  // empty: the export is refused
    QTest::newRow("two windows") << "poi_12843-1.xls" << Alteration::None << "910715";
    QTest::newRow("window not confirmed")
        << "poi_12843-1.xls" << Alteration::WindowUnconfirmed << QString();
    QTest::newRow("position misses, one sheet left")
        << "edr_TestMultiSheet.xls" << Alteration::ActivePositionMisses << "Sheet3";
    QTest::newRow("two sheets at one position")
        << "edr_TestMultiSheet.xls" << Alteration::TwoSheetsOnePosition << QString();
}

void TestXlsEditExport::writesTheSheetThatOpens() {
    QFETCH(QString, file);
    QFETCH(Alteration, alteration);
    QFETCH(QString, sheet);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("导出数据.xls"));
    QVERIFY(writeAltered(corpus(file), path, [&](RecordStream& s) { alter(s, alteration); }));
    const QByteArray original = fileBytes(path);
    SheetError error;
    const auto read = sortilo::xls::Workbook::open(path, error);
    QVERIFY(read);
    auto book = EditableWorkbook::open(path, error);
    if (sheet.isEmpty()) {
        QVERIFY(!book);
        QCOMPARE(error.problem, SheetProblem::NotEditable);
        QCOMPARE(fileBytes(path), original);
        return;
    }
    QVERIFY2(book, qPrintable(error.detail));
    QCOMPARE(read->activeSheetName(), sheet);
    QCOMPARE(book->activeSheetName(), sheet);
    // The reader takes the same cells from the altered file as from the original.
    const auto unaltered = sortilo::xls::Workbook::open(corpus(file), error);
    QCOMPARE(read->cells().size(), unaltered->cells().size());
    for (size_t i = 0; i < read->cells().size(); ++i)
        QCOMPARE(read->cells().valueAt(i).text, unaltered->cells().valueAt(i).text);
    QVERIFY(!book->clearRange(QStringLiteral("A1:AZ5000")));
    QVERIFY(!book->writeCell(1, 1, QStringLiteral("第1组")));
    QVERIFY(!book->writeCell(2, 1, QStringLiteral("王伟")));
    QVERIFY(!book->save());
    // xlrd follows the sheet positions: the saved file has them right again.
    compareBooks(readWithXlrd(corpus(file)), readWithXlrd(path), sheet, CellRect{0, 0, 4999, 51},
                 {{{0, 0}, QStringLiteral("第1组")}, {{1, 0}, QStringLiteral("王伟")}});
    QVERIFY(EditableWorkbook::open(path, error));
}

void TestXlsEditExport::formulasMarkedForRecalculation_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("range");
    QTest::newRow("other sheets read the edited one") << "poi_12843-1.xls"
                                                      << "A1:AZ5000";
    QTest::newRow("formulas left on the edited sheet") << "poi_shared_formulas.xls"
                                                       << "A20:B30";
    QTest::newRow("hidden sheets with formulas") << "sheetjs_sheet_visibility.xls"
                                                 << "A1:AZ5000";
}

void TestXlsEditExport::formulasMarkedForRecalculation() {
    QFETCH(QString, file);
    QFETCH(QString, range);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("导出数据.xls"));
    QVERIFY(QFile::copy(corpus(file), path));
    // Twice: a second export must not mark anything twice.
    for (int round = 0; round < 2; ++round) {
        SheetError error;
        auto book = EditableWorkbook::open(path, error);
        QVERIFY(book);
        QVERIFY(!book->clearRange(range));
        QVERIFY(!book->writeCell(1, 1, QStringLiteral("第1组")));
        QVERIFY(!book->save());
    }
    const auto before = substreamRecords(corpus(file));
    const auto after = substreamRecords(path);
    QCOMPARE(after.size(), before.size());
    int marked = 0;
    for (const BiffRecord& r : after[0]) {
        if (r.type == rec::RecalcId)
            QCOMPARE(le32(r.body.constData() + 4), 0u);
    }
    for (qsizetype s = 1; s < after.size(); ++s) {
        int formulas = 0, uncalced = 0;
        for (const BiffRecord& r : after[s]) {
            uncalced += r.type == rec::Uncalced ? 1 : 0;
            if (r.type != rec::Formula)
                continue;
            ++formulas;
            QVERIFY(r.body[kFormulaFlags] & kFormulaAlwaysCalc);
        }
        QCOMPARE(uncalced, formulas > 0 ? 1 : 0);
        if (formulas > 0)
            QCOMPARE(after[s][1].type, rec::Uncalced);
        marked += formulas;
    }
    QVERIFY(marked > 0);
}

void TestXlsEditExport::opensAtTopLeft_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("scrollPane");
    QTest::newRow("scrolled to row 3959") << "poi_56563a.xls" << false;
    QTest::newRow("frozen rows, scrolled") << "easyexcel_t01.xls" << true;
    QTest::newRow("frozen panes, two windows") << "poi_12843-1.xls" << false;
}

void TestXlsEditExport::opensAtTopLeft() {
    QFETCH(QString, file);
    QFETCH(bool, scrollPane);
    QTemporaryDir dir;
    const QString original = dir.filePath(QStringLiteral("original.xls"));
    QVERIFY(writeAltered(corpus(file), original, [&](RecordStream& s) {
        for (int p : scrollPane ? recordsOf(s, rec::Pane) : std::vector<int>())
            put16(bodyOf(s, p) + 4, 500);  // the scrolling pane far down
    }));
    const QString path = dir.filePath(QStringLiteral("导出数据.xls"));
    QVERIFY(QFile::copy(original, path));
    SheetError error;
    auto book = EditableWorkbook::open(path, error);
    QVERIFY(book);
    QVERIFY(!book->clearRange(QStringLiteral("A1:AZ5000")));
    QVERIFY(!book->save());
    const int sheet = book->activeSheetIndex() + 1;
    const auto before = viewRecords(substreamRecords(original)[sheet]);
    const auto after = viewRecords(substreamRecords(path)[sheet]);
    QCOMPARE(after.size(), before.size());
    bool frozen = false;
    int selections = 0;
    for (qsizetype i = 0; i < after.size(); ++i) {
        QByteArray expected = before[i].body;
        if (before[i].type == rec::Window2) {
            frozen = le16(expected.constData()) & 0x0008;
            expected.replace(2, 4, QByteArray(4, '\0'));
        } else if (before[i].type == rec::Pane) {
            const QByteArray split = expected.mid(0, 4);  // x, y
            expected.replace(4, 4, frozen ? split.mid(2, 2) + split.mid(0, 2) : QByteArray(4, 0));
        } else if (isActivePaneSelection(before, int(i))) {
            // Active cell A1, the first of one range, A1:A1.
            expected = expected.left(1) + QByteArray::fromHex(
                                              "000000000000"
                                              "0100"
                                              "000000000000");
            ++selections;
        }
        QCOMPARE(after[i].type, before[i].type);
        QCOMPARE(after[i].body.toHex(), expected.toHex());
    }
    QVERIFY(selections > 0);
}

QTEST_GUILESS_MAIN(TestXlsEditExport)
#include "tst_xlsedit_export.moc"
