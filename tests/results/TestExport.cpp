#include "SampleFiles.h"
#include "platform/AppFiles.h"
#include "platform/Texts.h"
#include "platform/xls/Workbook.h"
#include "platform/xls/WorkbookWriter.h"
#include "results/Export.h"
#include "support/TestForm.h"
#include "support/XlrdDump.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <sys/stat.h>

using namespace sortilo;

namespace {

QByteArray bytesOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Groups 1..n of the given sizes, names "g-k" unless a maker is given.
void setGroups(DrawState& s, const QList<int>& sizes,
               const std::function<QString(int, int)>& name = {}) {
    s.groupCount = int16_t(sizes.size());
    for (int g = 1; g <= sizes.size(); ++g) {
        s.groupSizes(g) = int16_t(sizes[g - 1]);
        for (int k = 1; k <= sizes[g - 1]; ++k) {
            s.groupResults(k, g) = name ? name(k, g) : QStringLiteral("名%1-%2").arg(g).arg(k);
        }
    }
}

// Cells inside A1:AZ5000 and around it, on the sheet that opens and on a second sheet.
xls::NewWorkbook usedWorkbook() {
    xls::NewSheet result{QStringLiteral("结果"),
                         {{1, 1, QStringLiteral("旧标题")},
                          {3, 2, 42.0},
                          {5000, 52, QStringLiteral("角落")},
                          {1, 53, QStringLiteral("范围外右")},
                          {5001, 1, QStringLiteral("范围外下")}}};
    xls::NewSheet notes{QStringLiteral("备注"), {{1, 1, QStringLiteral("别动")}, {2, 2, 7.0}}};
    return {{notes, result}, 1};
}

// What the export's sheet must hold afterwards, by our reader and by xlrd: the groups' cells
// exactly, nothing else in the range, and `outside` unchanged.
void checkExport(const QString& path, const DrawState& s) {
    SheetError error;
    const auto book = xls::Workbook::open(path, error);
    QVERIFY2(book, qPrintable(error.detail));
    int expectedCells = 0;
    for (int g = 1; g <= s.groupCount; ++g) {
        QCOMPARE(book->cell(1, g).text, s.groupTitles(g));
        for (int k = 1; k <= s.groupSizes(g); ++k) {
            const xls::CellValue cell = book->cell(k + 1, g);
            QCOMPARE(cell.kind, xls::CellValue::Kind::Text);
            QCOMPARE(cell.text, s.groupResults(k, g));
        }
        expectedCells += 1 + s.groupSizes(g);
    }
    int inRange = 0;
    const xls::CellStore& cells = book->cells();
    for (size_t i = 0; i < cells.size(); ++i) {
        if (cells.rowAt(i) <= 5000 && cells.colAt(i) <= 52 && !cells.valueAt(i).isEmpty()) {
            ++inRange;
        }
    }
    QCOMPARE(inRange, expectedCells);

    const XlrdBook xlrd = readWithXlrd(path);
    QVERIFY2(xlrd.error.isEmpty(), qPrintable(xlrd.error));
    const XlrdSheet* sheet = xlrd.sheet(book->activeSheetName());
    QVERIFY(sheet);
    int xlrdInRange = 0;
    for (auto it = sheet->cells.cbegin(); it != sheet->cells.cend(); ++it) {
        const auto [row, col] = it.key();
        if (row < 5000 && col < 52 && it.value()[0].toInt() != XlrdBlank) {
            ++xlrdInRange;
            const int g = col + 1;
            const QString expected = row == 0 ? s.groupTitles(g) : s.groupResults(row, g);
            QCOMPARE(it.value()[0].toInt(), int(XlrdText));
            QCOMPARE(it.value()[1].toString(), expected);
        }
    }
    QCOMPARE(xlrdInRange, expectedCells);
}

QMap<QPair<int, int>, QJsonArray> outsideRange(const XlrdSheet& sheet) {
    QMap<QPair<int, int>, QJsonArray> cells;
    for (auto it = sheet.cells.cbegin(); it != sheet.cells.cend(); ++it) {
        if (it.key().first >= 5000 || it.key().second >= 52) {
            cells.insert(it.key(), it.value());
        }
    }
    return cells;
}

}  // namespace

class TestExport : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void noGroupClearsTheRange() {
        auto t = test::makeTestFormWithWorkbooks();
        const QString path = appFilePath(t->folder.path(), ExportWorkbookName);
        QVERIFY(!xls::createWorkbook(path, usedWorkbook()));
        Command9_Click(*t->form);
        QCOMPARE(t->messages->shown, QStringList{});
        QCOMPARE(t->opener->opened, QStringList{path});
        checkExport(path, t->state());
        SheetError error;
        const auto book = xls::Workbook::open(path, error);
        QCOMPARE(book->cell(1, 53).text, QStringLiteral("范围外右"));
        QCOMPARE(book->cell(5001, 1).text, QStringLiteral("范围外下"));
    }

    // The export workbook as users bring it, from several spreadsheet programs.
    void groupsAfterALargerExport_data() {
        QTest::addColumn<QString>("source");
        QTest::newRow("sample") << QString();
        QTest::newRow("Excel, active sheet not first") << "pex_TestActiveSheet.xls";
        QTest::newRow("LibreOffice") << "edr_Test_OpenOffice.xls";
        QTest::newRow("WPS") << "easyexcel_template03.xls";
        QTest::newRow("Excel with macros") << "poi_SimpleMacro.xls";
    }

    void groupsAfterALargerExport() {
        QFETCH(QString, source);
        auto t = test::makeTestFormWithWorkbooks();
        const QString folder = t->folder.path();
        const QString path = appFilePath(folder, ExportWorkbookName);
        if (source.isEmpty()) {
            QCOMPARE(writeSampleFiles(folder), QStringList{});
        } else {
            QVERIFY(QFile::copy(qEnvironmentVariable("SORTILO_CORPUS_DIR") + '/' + source, path));
            QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
        }
        const XlrdBook before = readWithXlrd(path);
        QVERIFY2(before.error.isEmpty(), qPrintable(before.error));

        setGroups(t->state(), {6, 9, 3, 4});
        Command9_Click(*t->form);
        setGroups(t->state(), {2, 5, 1});
        t->state().groupTitles(2) = QStringLiteral("一等奖");
        Command9_Click(*t->form);

        QCOMPARE(t->messages->shown, QStringList{});
        QCOMPARE(t->opener->opened.size(), 2);
        checkExport(path, t->state());
        SheetError error;
        const QString active = xls::Workbook::open(path, error)->activeSheetName();
        const XlrdBook after = readWithXlrd(path);
        QCOMPARE(after.sheets.size(), before.sheets.size());
        for (const XlrdSheet& old : before.sheets) {
            const XlrdSheet* now = after.sheet(old.name);
            QVERIFY(now);
            if (old.name == active) {
                QCOMPARE(outsideRange(*now), outsideRange(old));
            } else {
                QCOMPARE(now->cells, old.cells);
            }
        }
    }

    void fullTablesAndTextThatLooksLikeOtherThings() {
        auto t = test::makeTestFormWithWorkbooks();
        const QString path = appFilePath(t->folder.path(), ExportWorkbookName);
        QVERIFY(!xls::createWorkbook(path, usedWorkbook()));
        const QStringList tricky{QStringLiteral("=1+1"),     QStringLiteral("007"),
                                 QStringLiteral("2026/1/1"), QStringLiteral("1E5"),
                                 QStringLiteral("TRUE"),     QStringLiteral("#N/A")};
        QList<int> sizes(50, 1000);
        setGroups(t->state(), sizes, [&](int k, int g) {
            return k <= tricky.size() ? tricky[k - 1] : QStringLiteral("姓名%1-%2").arg(g).arg(k);
        });
        Command9_Click(*t->form);
        QCOMPARE(t->messages->shown, QStringList{});
        checkExport(path, t->state());
    }

    // The file is left exactly as it was, the state too, and one message names the file.
    void failureLeavesFileAlone_data() {
        QTest::addColumn<QString>("obstacle");
        QTest::addColumn<QString>("message");
        const QString name = ExportWorkbookName;
        QTest::newRow("open elsewhere") << "lock" << texts::WorkbookOpenElsewhere.arg(name);
        QTest::newRow("read-only file") << "ro-file" << texts::WorkbookNotSaved.arg(name);
        QTest::newRow("read-only folder") << "ro-folder" << texts::WorkbookNotSaved.arg(name);
        QTest::newRow("missing") << "missing" << texts::WorkbookMissing.arg(name);
        QTest::newRow("not a workbook")
            << "text" << texts::WorkbookNotAWorkbook.arg(name, texts::FileKindText);
    }

    void failureLeavesFileAlone() {
        QFETCH(QString, obstacle);
        QFETCH(QString, message);
        auto t = test::makeTestFormWithWorkbooks();
        const QString folder = t->folder.path();
        const QString path = appFilePath(folder, ExportWorkbookName);
        if (obstacle == "text") {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("组别,姓名\n");
        } else if (obstacle == "xlsx") {
            QVERIFY(QFile::copy(
                qEnvironmentVariable("SORTILO_CORPUS_DIR") + "/easyexcel_simple07.xlsx.xls", path));
            QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
        } else if (obstacle != "missing") {
            QVERIFY(!xls::createWorkbook(path, usedWorkbook()));
        }
        const QByteArray before = bytesOf(path);
        if (obstacle == "lock") {
            QFile lock(appFilePath(folder, QStringLiteral(".~lock.%1#").arg(ExportWorkbookName)));
            QVERIFY(lock.open(QIODevice::WriteOnly));
        } else if (obstacle == "ro-file") {
            QVERIFY(::chmod(QFile::encodeName(path).constData(), 0444) == 0);
        } else if (obstacle == "ro-folder") {
            QVERIFY(::chmod(QFile::encodeName(folder).constData(), 0555) == 0);
        }
        setGroups(t->state(), {2, 5, 1});

        Command9_Click(*t->form);

        ::chmod(QFile::encodeName(folder).constData(), 0755);
        ::chmod(QFile::encodeName(path).constData(), 0644);
        QCOMPARE(t->messages->shown, QStringList{message});
        QVERIFY(t->opener->opened.isEmpty());
        QCOMPARE(bytesOf(path), before);
        QCOMPARE(t->state().groupCount, int16_t(3));
        QVERIFY(QDir(folder).entryList(QDir::Files | QDir::Hidden).size() <= 2);
        if (obstacle == "missing") {
            QVERIFY(!QFile::exists(path));
        }
    }
};

QTEST_MAIN(TestExport)
#include "TestExport.moc"
