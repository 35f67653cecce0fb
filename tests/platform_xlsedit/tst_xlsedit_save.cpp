// Single edits and saving: text stays text, formula groups are never broken, the container
// keeps every part (but an old BIFF5 copy of the workbook), repeated exports do not grow it.
#include "RoundTrip.h"
#include "WorkbookWriter.h"
#include "platform/xls/Container.h"
#include "platform/xls/Workbook.h"
#include "platform/xlsedit/CompoundFile.h"
#include "platform/xlsedit/EditableWorkbook.h"
#include "support/XlrdDump.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace sortilo;
using namespace sortilo::xls;
using namespace sortilo::xlsedit;

namespace {

// A copy of a corpus workbook in a folder of the test's own.
QString copyIn(const QTemporaryDir& dir, const QString& name) {
    const QString path = dir.filePath(QStringLiteral("export.xls"));
    QFile::remove(path);
    return QFile::copy(corpusFile(name), path) ? path : QString();
}

std::map<QString, QByteArray> flatten(const CfbNode& node, const QString& prefix = {}) {
    std::map<QString, QByteArray> out;
    for (const CfbNode& child : node.children) {
        const QString name = prefix + QLatin1Char('/') + child.name;
        if (child.storage) {
            out[name + QStringLiteral("/clsid")] =
                QByteArray(reinterpret_cast<const char*>(child.clsid.data()), 16);
            out.merge(flatten(child, name));
        } else {
            out[name] = child.data;
        }
    }
    return out;
}

}  // namespace

// The container of a file, every entry by its path (storages' class ids as entries too).
std::map<QString, QByteArray> entriesOf(const QString& path) {
    const Result<CompoundFile> file = readCompoundFile(fileBytes(path));
    if (!file)
        return {};
    auto entries = flatten(file->root);
    entries[QStringLiteral("/clsid")] =
        QByteArray(reinterpret_cast<const char*>(file->root.clsid.data()), 16);
    return entries;
}

class TestXlsEditSave : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void containerKept_data();
    void containerKept();
    void textStaysText_data();
    void textStaysText();
    void refusedEdits();
    void formulaGroups_data();
    void formulaGroups();
    void editTwice();
    void repeatedExportsKeepSize();
    void bigSectorsKept();
    void oldCopyDropped();
};

// An unedited save gives back every stream exactly: everything rebuilt (shared strings, their
// index, row blocks, dimensions, offsets) comes out as Excel and LibreOffice wrote it. An export
// changes the workbook stream only.
void TestXlsEditSave::containerKept_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("edit");
    for (const char* name :
         {"edr_TestMultiSheet.xls", "calamine_issue219.xls", "easyexcel_style.xls",
          "edr_Test_Excel_Dataset.xls", "poi_56563a.xls", "sheetjs_1904.xls",
          "sheetjs_ErrorTypes.xls", "sheetjs_phonetic_text.xls", "sheetjs_sheet_visibility.xls",
          "poi_44958_1.xls", "edr_Test_OpenOffice.xls"})
        QTest::newRow(name) << QString::fromLatin1(name) << false;
    QTest::newRow("macros") << "poi_SimpleMacro.xls" << true;
    QTest::newRow("macros, chart sheet") << "calamine_any_sheets.xls" << true;
    QTest::newRow("WPS") << "easyexcel_template03.xls" << true;
    QTest::newRow("LibreOffice, mini stream") << "calamine_capitalized_wbook_stream.xls" << true;
}

void TestXlsEditSave::containerKept() {
    QFETCH(QString, file);
    QFETCH(bool, edit);
    QTemporaryDir dir;
    const QString path = copyIn(dir, file);
    auto book = EditableWorkbook::open(path);
    QVERIFY(book);
    if (edit) {
        QVERIFY(book->clearRange(QStringLiteral("A1:AZ5000")));
        QVERIFY(book->writeCell(1, 1, QStringLiteral("第1组")));
    }
    QVERIFY(book->save());
    auto old = entriesOf(corpusFile(file)), now = entriesOf(path);
    QCOMPARE(now.size(), old.size());
    for (const auto& [name, data] : old) {
        const bool stream = name.endsWith(QStringLiteral("/Workbook"), Qt::CaseInsensitive) ||
                            name.endsWith(QStringLiteral("/Book"), Qt::CaseInsensitive);
        QVERIFY2(now.count(name) && (now[name] == data || (edit && stream)), qPrintable(name));
    }
    QCOMPARE(fileBytes(path)[30], fileBytes(corpusFile(file))[30]);  // the sector size
}

void TestXlsEditSave::textStaysText_data() {
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("col");
    QTest::addColumn<QString>("text");
    QTest::newRow("formula-like") << 2 << 2 << QStringLiteral("=1+1");
    QTest::newRow("outside BMP") << 2 << 2 << QStringLiteral("𠀋𠮷 and 😀");
    QTest::newRow("longest") << 2 << 2 << QString(32767, QChar(0x4E2D));
    QTest::newRow("width changes in a long text")
        << 3 << 5 << QString(9000, QLatin1Char('a')) + QString(9000, QChar(0x738B)) + "b";
    QTest::newRow("last cell of the sheet") << 65536 << 256 << QStringLiteral("末");
}

void TestXlsEditSave::textStaysText() {
    QFETCH(int, row);
    QFETCH(int, col);
    QFETCH(QString, text);
    QTemporaryDir dir;
    const QString path = copyIn(dir, QStringLiteral("edr_TestMultiSheet.xls"));
    const XlrdBook before = readWithXlrd(path);
    auto book = EditableWorkbook::open(path);
    QVERIFY(book);
    QVERIFY(book->writeCell(row, col, text));
    QVERIFY(book->save());
    const XlrdBook after = readWithXlrd(path);
    const CellRect cell{row - 1, col - 1, row - 1, col - 1};
    compareBooks(before, after, book->activeSheetName(), cell, {{{row - 1, col - 1}, text}});
    checkStructure(corpusFile(QStringLiteral("edr_TestMultiSheet.xls")), path,
                   book->activeSheetIndex());
}

// What does not fit a sheet is refused, naming the file.
void TestXlsEditSave::refusedEdits() {
    QTemporaryDir dir;
    const QString path = copyIn(dir, QStringLiteral("poi_chinese-provinces.xls"));
    auto book = EditableWorkbook::open(path);
    QVERIFY(book);
    for (const Result<void>& refused :
         {book->writeCell(1, 1, QString(32768, QLatin1Char('x'))),
          book->writeCell(0, 1, QStringLiteral("x")), book->writeCell(1, 257, QStringLiteral("x")),
          book->clearRange(QStringLiteral("A1:"))}) {
        QCOMPARE(refused.error().kind, ErrorKind::NotEditable);
        QCOMPARE(refused.error().file, path);
    }
}

void TestXlsEditSave::formulaGroups_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("range");
    QTest::addColumn<bool>("refused");
    // Shared formula A2:A41 anchored at A2. (Whole groups go in the export of every corpus file.)
    QTest::newRow("shared: anchor, members outside") << "poi_shared_formulas.xls"
                                                     << "A1:A10" << true;
    QTest::newRow("shared: members only") << "poi_shared_formulas.xls"
                                          << "A20:B30" << false;
    // Array formula B4:B7 on the active sheet.
    QTest::newRow("array: part") << "poi_RowFunctionTestCaseData.xls"
                                 << "B5" << true;
    QTest::newRow("array: whole") << "poi_RowFunctionTestCaseData.xls"
                                  << "B4:B7" << false;
    QTest::newRow("shared, several groups") << "sheetjs_ErrorTypes.xls"
                                            << "C1:AZ5000" << false;
}

void TestXlsEditSave::formulaGroups() {
    QFETCH(QString, file);
    QFETCH(QString, range);
    QFETCH(bool, refused);
    QTemporaryDir dir;
    const QString path = copyIn(dir, file);
    const XlrdBook before = readWithXlrd(path);
    auto book = EditableWorkbook::open(path);
    QVERIFY(book);
    QCOMPARE(!book->clearRange(range), refused);
    QVERIFY(book->save());
    compareBooks(before, readWithXlrd(path), book->activeSheetName(),
                 refused ? CellRect{} : *parseA1Range(range), {});
    checkStructure(corpusFile(file), path, book->activeSheetIndex());
}

void TestXlsEditSave::editTwice() {
    QTemporaryDir dir;
    const QString path = copyIn(dir, QStringLiteral("poi_12843-1.xls"));
    auto book = EditableWorkbook::open(path);
    QVERIFY(book);
    QVERIFY(book->clearRange(QStringLiteral("A1:AZ5000")));
    QVERIFY(book->writeCell(1, 1, QStringLiteral("第一次")));
    QVERIFY(book->save());
    QVERIFY(book->writeCell(2, 1, QStringLiteral("同一对象再存")));
    QVERIFY(book->save());
    auto again = EditableWorkbook::open(path);
    QVERIFY(again);
    QCOMPARE(again->activeSheetName(), book->activeSheetName());
    QVERIFY(again->writeCell(1, 2, QStringLiteral("第一次")));  // a string already stored
    QVERIFY(again->save());
    const XlrdBook after = readWithXlrd(path);
    const XlrdSheet* sheet = after.sheet(book->activeSheetName());
    QVERIFY2(sheet, qPrintable(after.error));
    QCOMPARE(sheet->cells.value({0, 0})[1].toString(), QStringLiteral("第一次"));
    QCOMPARE(sheet->cells.value({1, 0})[1].toString(), QStringLiteral("同一对象再存"));
    QCOMPARE(sheet->cells.value({0, 1})[1].toString(), QStringLiteral("第一次"));
}

// Each export clears the names of the one before; their shared strings make room for the new
// names instead of piling up in the file.
void TestXlsEditSave::repeatedExportsKeepSize() {
    QTemporaryDir dir;
    const QString path = copyIn(dir, QStringLiteral("poi_12843-2.xls"));
    QVector<qint64> sizes;
    for (int round = 0; round < 3; ++round) {
        auto book = EditableWorkbook::open(path);
        QVERIFY(book);
        QVERIFY(book->clearRange(QStringLiteral("A1:AZ5000")));
        for (int r = 1; r <= 2000; ++r)
            QVERIFY(
                book->writeCell(r, 1 + r % 20, QStringLiteral("第%1轮名字%2").arg(round).arg(r)));
        QVERIFY(book->save());
        sizes.push_back(QFileInfo(path).size());
    }
    QVERIFY2(sizes[2] <= sizes[1] + 512,
             qPrintable(QStringLiteral("%1 -> %2").arg(sizes[1]).arg(sizes[2])));
    const XlrdBook after = readWithXlrd(path);
    QVERIFY2(after.error.isEmpty(), qPrintable(after.error));
    const QString active = EditableWorkbook::open(path)->activeSheetName();
    QCOMPARE(after.sheet(active)->cells.value({1999, 0})[1].toString(),
             QStringLiteral("第2轮名字2000"));
}

// No corpus file uses 4096-byte sectors (version 4 containers), and xlrd cannot read them; so
// a corpus file is copied into one, and the same edit of both copies must give the same
// streams, with each container keeping its sector size.
void TestXlsEditSave::bigSectorsKept() {
    Result<CompoundFile> container =
        readCompoundFile(fileBytes(corpusFile(QStringLiteral("poi_12843-2.xls"))));
    QVERIFY(container);
    container->sectorSize = 4096;
    const Result<QByteArray> bytes = writeCompoundFile(*container);
    QVERIFY(bytes);
    QTemporaryDir dir;
    const QString big = dir.filePath(QStringLiteral("big.xls"));
    QFile out(big);
    QVERIFY(out.open(QIODevice::WriteOnly) && out.write(*bytes) == bytes->size());
    out.close();
    const QString small = copyIn(dir, QStringLiteral("poi_12843-2.xls"));
    for (const QString& path : {big, small}) {
        auto book = EditableWorkbook::open(path);
        QVERIFY(book);
        QVERIFY(book->clearRange(QStringLiteral("A1:AZ5000")));
        for (int r = 1; r <= 500; ++r)
            QVERIFY(book->writeCell(r, 1 + r % 7, QStringLiteral("大扇区%1").arg(r)));
        QVERIFY(book->save());
    }
    QCOMPARE(int(fileBytes(big)[30]), 12);
    QCOMPARE(int(fileBytes(small)[30]), 9);
    QVERIFY(entriesOf(big) == entriesOf(small));
}

// A workbook saved with an Excel 5/95 copy (`Book`) beside its Workbook stream: spreadsheet
// programs read `Workbook`, so the export writes there; the old copy, which would still show
// the previous results to a program that reads only `Book`, is dropped, as Excel drops it
// when it saves such a file. Every other stream stays.
void TestXlsEditSave::oldCopyDropped() {
    Result<CompoundFile> file =
        readCompoundFile(fileBytes(corpusFile(QStringLiteral("poi_SimpleMacro.xls"))));
    QVERIFY(file);
    const NewWorkbook old{{NewSheet{QStringLiteral("旧"), {{1, 1, QStringLiteral("旧结果")}}}}, 0};
    file->root.children.push_back(
        {QStringLiteral("Book"), false, false, {}, biffStream(old, {5, 936}), {}});
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("导出数据.xls"));
    QFile out(path);
    QVERIFY(out.open(QIODevice::WriteOnly) && out.write(*writeCompoundFile(*file)) > 0);
    out.close();
    auto before = entriesOf(path);
    auto book = EditableWorkbook::open(path);
    QVERIFY(book && book->writeCell(1, 1, QStringLiteral("新结果")));
    QVERIFY(book->save());
    QCOMPARE(Workbook::open(path)->cell(1, 1).text, QStringLiteral("新结果"));
    auto now = entriesOf(path);
    QVERIFY(before.erase(QStringLiteral("/Book")) == 1 && !now.count(QStringLiteral("/Book")));
    before.erase(QStringLiteral("/Workbook"));
    now.erase(QStringLiteral("/Workbook"));
    QVERIFY(now == before);
}

QTEST_GUILESS_MAIN(TestXlsEditSave)
#include "tst_xlsedit_save.moc"
