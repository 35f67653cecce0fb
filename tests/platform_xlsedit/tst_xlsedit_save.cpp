// Single edits and saving: an export writes the sheet the reader opens, or refuses when the
// records leave that in doubt; text stays text, formula groups stay whole, the container keeps
// every part but an old BIFF5 copy of the workbook, repeated exports do not grow it.
#include "RoundTrip.h"
#include "WorkbookWriter.h"
#include "platform/xls/Container.h"
#include "platform/xls/Workbook.h"
#include "platform/xlsedit/CompoundFile.h"
#include "platform/xlsedit/EditableWorkbook.h"
#include "support/Failure.h"
#include "support/XlrdDump.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace sortilo;
using namespace sortilo::xls;
using namespace sortilo::xlsedit;

namespace {

// A container's entries by their paths (storages' class ids as entries too).
std::map<QString, QByteArray> entriesOf(const CfbNode& node, const QString& prefix = {}) {
    std::map<QString, QByteArray> out{
        {prefix + QStringLiteral("/clsid"),
         QByteArray(reinterpret_cast<const char*>(node.clsid.data()), 16)}};
    for (const CfbNode& child : node.children) {
        const QString name = prefix + QLatin1Char('/') + child.name;
        if (child.storage) {
            out.merge(entriesOf(child, name));
        } else {
            out[name] = child.data;
        }
    }
    return out;
}

std::map<QString, QByteArray> entriesOf(const QString& path) {
    const Result<CompoundFile> file = readCompoundFile(fileBytes(path));
    return file ? entriesOf(file->root) : std::map<QString, QByteArray>();
}

// Body of the n-th record of a type (n from 0, counted from `from` on).
char* nth(RecordStream& s, uint16_t type, int n, uint32_t from = 0) {
    for (const Record& r : s.records) {
        if (r.type == type && r.offset >= from && n-- == 0) {
            return s.bytes.data() + r.offset + 4;
        }
    }
    return nullptr;
}

// Disagreements made from corpus files. edr_TestMultiSheet opens on its third sheet;
// poi_12843-1 has two windows, the last showing its third sheet, whose view in that window is
// marked selected; easyexcel_t01 has frozen rows.
enum class Change { None, PositionMisses, SharedPosition, WindowUnconfirmed, PaneScrolled };

void apply(RecordStream& s, Change c) {
    char* third = nth(s, rec::BoundSheet, 2);
    if (c == Change::PositionMisses) {
        put32(third, le32(third) + 1);
    }
    if (c == Change::SharedPosition) {
        put32(nth(s, rec::BoundSheet, 0), le32(third));
    }
    if (c == Change::WindowUnconfirmed) {
        char* view = nth(s, rec::Window2, 1, le32(third));
        put16(view, le16(view) & ~0x0200u);
    }
    if (c == Change::PaneScrolled) {
        put16(nth(s, rec::Pane, 0) + 4, 500);
    }
}

// How the corpus file's container is changed first: no corpus file has 4096-byte sectors
// (version 4 containers, which xlrd cannot read) or an Excel 5/95 copy beside its workbook.
enum class Container { AsIs, BigSectors, OldCopy };

}  // namespace

Q_DECLARE_METATYPE(Change)
Q_DECLARE_METATYPE(Container)

class TestXlsEditSave : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void edits_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<Change>("change");
        QTest::addColumn<QString>("range");    // cleared first, unless empty
        QTest::addColumn<QString>("refusal");  // of the clearing; empty: none
        QTest::addColumn<QString>("cell");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("sheet");  // empty: the workbook is refused
        const auto row = [](const char* name, const char* file, const char* range, const char* cell,
                            const char* sheet, Change change = Change::None,
                            const char* refusal = "") {
            QTest::newRow(name) << QString(file) << change << QString(range) << QString(refusal)
                                << QString(cell) << QStringLiteral("第1组") << QString(sheet);
        };
        const char* const all = "A1:AZ5000";
        row("two windows", "poi_12843-1.xls", all, "A1", "910715");
        row("window unconfirmed", "poi_12843-1.xls", all, "A1", "", Change::WindowUnconfirmed);
        row("position misses, one sheet left", "edr_TestMultiSheet.xls", all, "A1", "Sheet3",
            Change::PositionMisses);
        row("two sheets at one position", "edr_TestMultiSheet.xls", all, "A1", "",
            Change::SharedPosition);
        row("frozen rows scrolled far", "easyexcel_t01.xls", all, "A1", "产品数据",
            Change::PaneScrolled);
        // Formula groups: shared A2:A41 anchored at A2; array B4:B7 on the active sheet. (Whole
        // groups go in the export of every corpus file.)
        const char* const shared = "poi_shared_formulas.xls";
        const char* const array = "poi_RowFunctionTestCaseData.xls";
        row("shared: anchor, members outside", shared, "A1:A10", "A1", "Label", Change::None,
            "shared formula A2:A41 lies partly outside the cells to change");
        row("shared: members only, formulas left on the sheet", shared, "A20:B30", "A20", "Label");
        row("array: part", array, "B5", "B1", "Tests", Change::None,
            "array formula B4:B7 lies partly outside the cells to change");
        row("array: whole", array, "B4:B7", "B4", "Tests");
        row("shared, several groups", "sheetjs_ErrorTypes.xls", "C1:AZ5000", "C1", "RawErrors");
        // Text stays text, written over what the cell held; no text leaves the cell blank.
        const QString texts = QStringLiteral("edr_TestMultiSheet.xls");
        const auto text = [&](const char* name, const QString& cell, const QString& value) {
            QTest::newRow(name) << texts << Change::None << QString() << QString() << cell << value
                                << "Sheet3";
        };
        text("formula-like", "B2", QStringLiteral("=1+1"));
        text("outside BMP", "B2", QStringLiteral("𠀋𠮷 and 😀"));
        text("longest", "B2", QString(32767, QChar(0x4E2D)));
        text("width changes in a long text", "E3",
             QString(9000, QLatin1Char('a')) + QString(9000, QChar(0x738B)) + "b");
        text("last cell of the sheet", "IV65536", QStringLiteral("末"));
        text("the empty text empties the cell", "B2", QString());
    }

    void edits() {
        QFETCH(QString, file);
        QFETCH(Change, change);
        QFETCH(QString, range);
        QFETCH(QString, refusal);
        QFETCH(QString, cell);
        QFETCH(QString, text);
        QFETCH(QString, sheet);
        QTemporaryDir dir;
        const QString original = dir.filePath(QStringLiteral("original.xls"));
        const QString path = dir.filePath(QStringLiteral("导出数据.xls"));
        QVERIFY(
            writeAltered(corpusFile(file), original, [&](RecordStream& s) { apply(s, change); }));
        QVERIFY(QFile::copy(original, path));
        const CellRect at = *parseA1Range(cell);
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
            if (!range.isEmpty()) {
                const Result<void> cleared = book->clearRange(range);
                QCOMPARE(cleared ? QString() : cleared.error().detail, refusal);
            }
            QVERIFY(book->writeCell(at.row1 + 1, at.col1 + 1, text));
            QVERIFY(refusal.isEmpty() || !book->clearRange(range));  // the group still guards
            QVERIFY(book->save());
        }
        // xlrd follows the sheet positions, which the saved file has right again: moved positions
        // are compared with the unchanged file.
        const QString reference = change == Change::PositionMisses ? corpusFile(file) : original;
        const CellRect cleared = range.isEmpty()      ? at
                                 : !refusal.isEmpty() ? CellRect{}
                                                      : *parseA1Range(range);
        compareBooks(readWithXlrd(corpusFile(file)), readWithXlrd(path), sheet, cleared,
                     text.isEmpty() ? Written() : Written{{{at.row1, at.col1}, text}});
        checkStructure(reference, path, read->activeSheetIndex());
        checkExportMarks(reference, path, read->activeSheetIndex());
    }

    // An unedited save gives back every stream exactly: everything rebuilt (shared strings,
    // their index, row blocks, dimensions, offsets) comes out as Excel and LibreOffice wrote
    // it. An export changes the workbook stream only, and each container keeps its sector size.
    // An Excel 5/95 copy (`Book`) beside the Workbook stream, which would still show the previous
    // results to a program that reads only `Book`, is dropped, as Excel drops it when it saves.
    void containerKept_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("edit");
        QTest::addColumn<Container>("container");
        for (const char* name :
             {"edr_TestMultiSheet.xls", "calamine_issue219.xls", "easyexcel_style.xls",
              "edr_Test_Excel_Dataset.xls", "poi_56563a.xls", "sheetjs_1904.xls",
              "sheetjs_ErrorTypes.xls", "sheetjs_phonetic_text.xls", "sheetjs_sheet_visibility.xls",
              "poi_44958_1.xls", "edr_Test_OpenOffice.xls", "sheetjs_LONumbers-2011.xls",
              "poi_TwoSheetsOneHidden.xls", "poi_StringFormulas.xls", "poi_DBCSSheetName.xls",
              "poi_DBCSHeader.xls"}) {
            QTest::newRow(name) << QString::fromLatin1(name) << false << Container::AsIs;
        }
        QTest::newRow("macros") << "poi_SimpleMacro.xls" << true << Container::AsIs;
        QTest::newRow("macros, chart sheet")
            << "calamine_any_sheets.xls" << true << Container::AsIs;
        QTest::newRow("WPS") << "easyexcel_template03.xls" << true << Container::AsIs;
        QTest::newRow("LibreOffice, mini stream")
            << "calamine_capitalized_wbook_stream.xls" << true << Container::AsIs;
        QTest::newRow("4096-byte sectors") << "poi_12843-2.xls" << true << Container::BigSectors;
        QTest::newRow("old copy dropped") << "poi_SimpleMacro.xls" << true << Container::OldCopy;
    }

    void containerKept() {
        QFETCH(QString, file);
        QFETCH(bool, edit);
        QFETCH(Container, container);
        QTemporaryDir dir;
        QString original = corpusFile(file);
        if (container != Container::AsIs) {
            Result<CompoundFile> changed = readCompoundFile(fileBytes(original));
            QVERIFY(changed);
            const NewWorkbook old{{NewSheet{QStringLiteral("旧"), {{1, 1, QStringLiteral("旧")}}}},
                                  0};
            if (container == Container::BigSectors) {
                changed->sectorSize = 4096;
            } else {
                changed->root.children.push_back(
                    {QStringLiteral("Book"), false, false, {}, biffStream(old, {5, 936}), {}});
            }
            original = dir.filePath(QStringLiteral("original.xls"));
            QVERIFY(writeBytes(original, *writeCompoundFile(*changed)));
        }
        const QString path = dir.filePath(QStringLiteral("export.xls"));
        QVERIFY(QFile::copy(original, path));
        auto book = EditableWorkbook::open(path);
        QVERIFY(book);
        // The big sectors' copy takes a stream past the mini stream's size.
        const int names = edit ? (container == Container::BigSectors ? 500 : 1) : 0;
        QVERIFY(!edit || book->clearRange(QStringLiteral("A1:AZ5000")));
        for (int r = 1; r <= names; ++r) {
            QVERIFY(book->writeCell(r, 1 + r % 7, QStringLiteral("第%1组").arg(r)));
        }
        QVERIFY(book->save());
        auto old = entriesOf(original), now = entriesOf(path);
        QCOMPARE(old.erase(QStringLiteral("/Book")), size_t(container == Container::OldCopy));
        QCOMPARE(now.size(), old.size());
        for (const auto& [name, data] : old) {
            const bool stream = name.endsWith(QStringLiteral("/Workbook"), Qt::CaseInsensitive) ||
                                name.endsWith(QStringLiteral("/Book"), Qt::CaseInsensitive);
            QVERIFY2(now.count(name), qPrintable(name));
            QVERIFY2(now[name] == data || (edit && stream), qPrintable(name));
        }
        QCOMPARE(fileBytes(path)[30], fileBytes(original)[30]);  // the sector size
        const QString last = QStringLiteral("第%1组").arg(names);
        if (edit) {
            QCOMPARE(Workbook::open(path)->cell(names, 1 + names % 7).text, last);
        }
    }

    // What does not fit a sheet, or would break an array formula, is refused, naming the file.
    void refusedEdits() {
        QTemporaryDir dir;
        const QString path = copyIn(dir.path(), QStringLiteral("poi_RowFunctionTestCaseData.xls"));
        auto book = EditableWorkbook::open(path);
        QVERIFY(book);
        for (const Result<void>& refused :
             {book->writeCell(1, 1, QString(32768, QLatin1Char('x'))), book->writeCell(0, 1, "x"),
              book->writeCell(1, 257, "x"), book->clearRange("A1:"), book->clearRange("A0:B2"),
              book->writeCell(5, 2, "x")}) {  // the last inside the array formula B4:B7
            QCOMPARE(refused.error().kind, ErrorKind::NotEditable);
            QCOMPARE(refused.error().file, path);
        }
    }

    // Each export clears the names of the one before; their shared strings make room for the new
    // names instead of piling up in the file. The same workbook saves again after a further edit,
    // and a reopened one writes a text the file already holds into another cell.
    void repeatedExports() {
        QTemporaryDir dir;
        const QString path = copyIn(dir.path());
        QVector<qint64> sizes;
        for (int round = 0; round < 3; ++round) {
            auto book = EditableWorkbook::open(path);
            QVERIFY(book);
            QVERIFY(book->clearRange(QStringLiteral("A1:AZ5000")));
            for (int r = 1; r <= 2000; ++r) {
                QVERIFY(book->writeCell(r, 1 + r % 20,
                                        QStringLiteral("第%1轮名字%2").arg(round).arg(r)));
            }
            QVERIFY(book->save());
            QVERIFY(book->writeCell(5001 + round, 1, QStringLiteral("同一对象再存")));
            QVERIFY(book->save());
            sizes.push_back(QFileInfo(path).size());
        }
        QVERIFY2(sizes[2] <= sizes[1] + 512,
                 qPrintable(QStringLiteral("%1 -> %2").arg(sizes[1]).arg(sizes[2])));
        const XlrdBook after = readWithXlrd(path);
        QVERIFY2(after.error.isEmpty(), qPrintable(after.error));
        const XlrdSheet* sheet = after.sheet(EditableWorkbook::open(path)->activeSheetName());
        QVERIFY(sheet);
        QCOMPARE(sheet->cells.value({1999, 0})[1].toString(), QStringLiteral("第2轮名字2000"));
        for (int row = 5000; row <= 5002; ++row) {
            QCOMPARE(sheet->cells.value({row, 0})[1].toString(), QStringLiteral("同一对象再存"));
        }
    }
};

QTEST_GUILESS_MAIN(TestXlsEditSave)
#include "tst_xlsedit_save.moc"
