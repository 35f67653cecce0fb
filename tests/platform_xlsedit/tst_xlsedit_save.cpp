// Single edits and saving: text stays text, formula groups are never broken, the container
// keeps every part, and a save that fails leaves the file exactly as it was.
#include "RoundTrip.h"
#include "platform/xlsedit/CompoundFile.h"
#include "platform/xlsedit/EditableWorkbook.h"
#include "support/XlrdDump.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using sortilo::SheetError;
using sortilo::SheetProblem;
using namespace sortilo::xlsedit;

Q_DECLARE_METATYPE(sortilo::SheetProblem)

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

class TestXlsEditSave : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void saveWithoutEditsSameStream_data();
    void saveWithoutEditsSameStream();
    void textStaysText_data();
    void textStaysText();
    void overlongTextRefused();
    void formulaGroups_data();
    void formulaGroups();
    void containerKept_data();
    void containerKept();
    void editTwice();
    void repeatedExportsKeepSize();
    void bigSectorsKept();
};

// Everything we rebuild (shared strings, their index, row blocks, dimensions, offsets) comes
// out of an unedited workbook exactly as Excel and LibreOffice wrote it.
void TestXlsEditSave::saveWithoutEditsSameStream_data() {
    QTest::addColumn<QString>("file");
    for (const char* name :
         {"edr_TestMultiSheet.xls", "calamine_issue219.xls", "easyexcel_style.xls",
          "edr_Test_Excel_Dataset.xls", "poi_56563a.xls", "poi_SimpleMacro.xls", "sheetjs_1904.xls",
          "sheetjs_ErrorTypes.xls", "sheetjs_phonetic_text.xls", "sheetjs_sheet_visibility.xls",
          "poi_44958_1.xls", "edr_Test_OpenOffice.xls", "calamine_capitalized_wbook_stream.xls"})
        QTest::newRow(name) << QString::fromLatin1(name);
}

void TestXlsEditSave::saveWithoutEditsSameStream() {
    QFETCH(QString, file);
    QTemporaryDir dir;
    const QString path = copyIn(dir, file);
    SheetError error;
    auto book = EditableWorkbook::open(path, error);
    QVERIFY(book);
    QVERIFY(!book->save());
    CompoundFile before, after;
    QString reason;
    QVERIFY(readCompoundFile(fileBytes(corpusFile(file)), before, reason));
    QVERIFY(readCompoundFile(fileBytes(path), after, reason));
    QVERIFY(flatten(after.root) == flatten(before.root));
}

void TestXlsEditSave::textStaysText_data() {
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("col");
    QTest::addColumn<QString>("text");
    QTest::newRow("formula-like") << 2 << 2 << QStringLiteral("=1+1");
    QTest::newRow("leading zeros") << 2 << 2 << QStringLiteral("007");
    QTest::newRow("date-like") << 2 << 2 << QStringLiteral("2026/1/1");
    QTest::newRow("number-like") << 2 << 2 << QStringLiteral("1E5");
    QTest::newRow("bool-like") << 2 << 2 << QStringLiteral("TRUE");
    QTest::newRow("error-like") << 2 << 2 << QStringLiteral("#N/A");
    QTest::newRow("spaces and lines") << 2 << 2 << QStringLiteral(" 张 三\n第二行 ");
    QTest::newRow("outside BMP") << 2 << 2 << QStringLiteral("𠀋𠮷 and 😀");
    QTest::newRow("latin-1") << 2 << 2 << QStringLiteral("Müller ÿ");
    QTest::newRow("longest") << 2 << 2 << QString(32767, QChar(0x4E2D));
    QTest::newRow("width changes in a long text")
        << 3 << 5 << QString(9000, QLatin1Char('a')) + QString(9000, QChar(0x738B)) + "b";
    QTest::newRow("last cell of the sheet") << 65536 << 256 << QStringLiteral("末");
    QTest::newRow("past the export range") << 6000 << 60 << QStringLiteral("远处");
}

void TestXlsEditSave::textStaysText() {
    QFETCH(int, row);
    QFETCH(int, col);
    QFETCH(QString, text);
    QTemporaryDir dir;
    const QString path = copyIn(dir, QStringLiteral("edr_TestMultiSheet.xls"));
    const XlrdBook before = readWithXlrd(path);
    SheetError error;
    auto book = EditableWorkbook::open(path, error);
    QVERIFY(book);
    QVERIFY(!book->writeCell(row, col, text));
    QVERIFY(!book->save());
    const XlrdBook after = readWithXlrd(path);
    const CellRect cell{row - 1, col - 1, row - 1, col - 1};
    compareBooks(before, after, book->activeSheetName(), cell, {{{row - 1, col - 1}, text}});
    checkStructure(corpusFile(QStringLiteral("edr_TestMultiSheet.xls")), path,
                   book->activeSheetIndex());
}

void TestXlsEditSave::overlongTextRefused() {
    QTemporaryDir dir;
    const QString path = copyIn(dir, QStringLiteral("poi_chinese-provinces.xls"));
    SheetError error;
    auto book = EditableWorkbook::open(path, error);
    QVERIFY(book);
    QCOMPARE(book->writeCell(1, 1, QString(32768, QLatin1Char('x'))).problem,
             SheetProblem::UnsupportedFormat);
    QCOMPARE(book->writeCell(0, 1, QStringLiteral("x")).problem, SheetProblem::UnsupportedFormat);
    QCOMPARE(book->writeCell(1, 257, QStringLiteral("x")).problem, SheetProblem::UnsupportedFormat);
    QCOMPARE(book->clearRange(QStringLiteral("A1:")).problem, SheetProblem::UnsupportedFormat);
}

void TestXlsEditSave::formulaGroups_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("range");
    QTest::addColumn<bool>("refused");
    // Shared formula A2:A41 anchored at A2.
    QTest::newRow("shared: whole group") << "poi_shared_formulas.xls"
                                         << "A1:AZ5000" << false;
    QTest::newRow("shared: anchor, members outside") << "poi_shared_formulas.xls"
                                                     << "A1:A10" << true;
    QTest::newRow("shared: members only") << "poi_shared_formulas.xls"
                                          << "A20:B30" << false;
    // Array formula B4:B7 on the active sheet.
    QTest::newRow("array: part") << "poi_RowFunctionTestCaseData.xls"
                                 << "B5" << true;
    QTest::newRow("array: whole") << "poi_RowFunctionTestCaseData.xls"
                                  << "B4:B7" << false;
    QTest::newRow("table: whole") << "poi_44958_1.xls"
                                  << "A1:AZ5000" << false;
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
    SheetError error;
    auto book = EditableWorkbook::open(path, error);
    QVERIFY(book);
    const SheetError cleared = book->clearRange(range);
    QCOMPARE(bool(cleared), refused);
    QVERIFY(!book->save());
    CellRect rect;
    QVERIFY(parseA1Range(range, rect));
    compareBooks(before, readWithXlrd(path), book->activeSheetName(), refused ? CellRect{} : rect,
                 {});
    checkStructure(corpusFile(file), path, book->activeSheetIndex());
}

void TestXlsEditSave::containerKept_data() {
    QTest::addColumn<QString>("file");
    QTest::newRow("macros") << "poi_SimpleMacro.xls";
    QTest::newRow("macros, chart sheet") << "calamine_any_sheets.xls";
    QTest::newRow("WPS") << "easyexcel_template03.xls";
    QTest::newRow("LibreOffice, mini stream") << "calamine_capitalized_wbook_stream.xls";
}

void TestXlsEditSave::containerKept() {
    QFETCH(QString, file);
    QTemporaryDir dir;
    const QString path = copyIn(dir, file);
    CompoundFile before, after;
    QString reason;
    QVERIFY(readCompoundFile(fileBytes(path), before, reason));
    SheetError error;
    auto book = EditableWorkbook::open(path, error);
    QVERIFY(book);
    QVERIFY(!book->clearRange(QStringLiteral("A1:AZ5000")));
    QVERIFY(!book->writeCell(1, 1, QStringLiteral("第1组")));
    QVERIFY(!book->save());
    QVERIFY(readCompoundFile(fileBytes(path), after, reason));
    QCOMPARE(after.sectorSize, before.sectorSize);
    QVERIFY(after.root.clsid == before.root.clsid);
    auto old = flatten(before.root), now = flatten(after.root);
    QCOMPARE(now.size(), old.size());
    for (const auto& [name, data] : old) {
        QVERIFY2(now.count(name), qPrintable(name));
        if (!name.endsWith(QStringLiteral("/Workbook"), Qt::CaseInsensitive) &&
            !name.endsWith(QStringLiteral("/Book"), Qt::CaseInsensitive))
            QVERIFY2(now[name] == data, qPrintable(name));
    }
}

void TestXlsEditSave::editTwice() {
    QTemporaryDir dir;
    const QString path = copyIn(dir, QStringLiteral("poi_12843-1.xls"));
    SheetError error;
    auto book = EditableWorkbook::open(path, error);
    QVERIFY(book);
    QVERIFY(!book->clearRange(QStringLiteral("A1:AZ5000")));
    QVERIFY(!book->writeCell(1, 1, QStringLiteral("第一次")));
    QVERIFY(!book->save());
    QVERIFY(!book->writeCell(2, 1, QStringLiteral("同一对象再存")));
    QVERIFY(!book->save());
    auto again = EditableWorkbook::open(path, error);
    QVERIFY(again);
    QCOMPARE(again->activeSheetName(), book->activeSheetName());
    QVERIFY(!again->writeCell(1, 2, QStringLiteral("第一次")));  // a string already stored
    QVERIFY(!again->save());
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
        SheetError error;
        auto book = EditableWorkbook::open(path, error);
        QVERIFY(book);
        QVERIFY(!book->clearRange(QStringLiteral("A1:AZ5000")));
        for (int r = 1; r <= 2000; ++r)
            QVERIFY(
                !book->writeCell(r, 1 + r % 20, QStringLiteral("第%1轮名字%2").arg(round).arg(r)));
        QVERIFY(!book->save());
        sizes.push_back(QFileInfo(path).size());
    }
    QVERIFY2(sizes[2] <= sizes[1] + 512,
             qPrintable(QStringLiteral("%1 -> %2").arg(sizes[1]).arg(sizes[2])));
    const XlrdBook after = readWithXlrd(path);
    QVERIFY2(after.error.isEmpty(), qPrintable(after.error));
    SheetError error;
    const QString active = EditableWorkbook::open(path, error)->activeSheetName();
    QCOMPARE(after.sheet(active)->cells.value({1999, 0})[1].toString(),
             QStringLiteral("第2轮名字2000"));
}

// No corpus file uses 4096-byte sectors (version 4 containers), and xlrd cannot read them; so
// a corpus file is copied into one, and the same edit of both copies must give the same
// streams, with each container keeping its sector size.
void TestXlsEditSave::bigSectorsKept() {
    CompoundFile container;
    QString reason;
    QVERIFY(readCompoundFile(fileBytes(corpusFile(QStringLiteral("poi_12843-2.xls"))), container,
                             reason));
    container.sectorSize = 4096;
    QByteArray bytes;
    QVERIFY2(writeCompoundFile(container, bytes, reason), qPrintable(reason));
    QTemporaryDir dir;
    const QString big = dir.filePath(QStringLiteral("big.xls"));
    QFile out(big);
    QVERIFY(out.open(QIODevice::WriteOnly) && out.write(bytes) == bytes.size());
    out.close();
    const QString small = copyIn(dir, QStringLiteral("poi_12843-2.xls"));
    for (const QString& path : {big, small}) {
        SheetError error;
        auto book = EditableWorkbook::open(path, error);
        QVERIFY(book);
        QVERIFY(!book->clearRange(QStringLiteral("A1:AZ5000")));
        for (int r = 1; r <= 500; ++r)
            QVERIFY(!book->writeCell(r, 1 + r % 7, QStringLiteral("大扇区%1").arg(r)));
        QVERIFY(!book->save());
    }
    QCOMPARE(int(fileBytes(big)[30]), 12);
    QCOMPARE(int(fileBytes(small)[30]), 9);
    CompoundFile bigAfter, smallAfter;
    QVERIFY(readCompoundFile(fileBytes(big), bigAfter, reason));
    QVERIFY(readCompoundFile(fileBytes(small), smallAfter, reason));
    QVERIFY(flatten(bigAfter.root) == flatten(smallAfter.root));
}

QTEST_GUILESS_MAIN(TestXlsEditSave)
#include "tst_xlsedit_save.moc"
