#include "SampleFiles.h"
#include "platform/AppFiles.h"
#include "platform/Texts.h"
#include "platform/XlsSpreadsheetService.h"
#include "platform/xls/Workbook.h"
#include "platform/xls/WorkbookWriter.h"
#include "results/Export.h"
#include "support/Fakes.h"
#include "support/XlrdDump.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace sortilo;

namespace {

QByteArray bytesOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Groups 1..n of the given sizes, names "名g-k", default titles.
std::unique_ptr<DrawState> groups(const QList<int>& sizes) {
    auto s = makeDrawState();
    setDefaultTitles(*s);
    s->groupCount = int16_t(sizes.size());
    for (int g = 1; g <= sizes.size(); ++g) {
        s->groupSizes(g) = int16_t(sizes[g - 1]);
        for (int k = 1; k <= sizes[g - 1]; ++k) {
            s->groupResults(k, g) = QStringLiteral("名%1-%2").arg(g).arg(k);
        }
    }
    return s;
}

// Cells inside A1:AZ5000 and around it, on the sheet that opens and on a second sheet.
xls::NewWorkbook usedWorkbook() {
    xls::NewSheet result{"结果",
                         {{1, 1, QStringLiteral("旧标题")},
                          {3, 2, 42.0},
                          {5000, 52, QStringLiteral("角落")},
                          {1, 53, QStringLiteral("右")},
                          {5001, 1, QStringLiteral("下")}}};
    return {{xls::NewSheet{"备注", {{1, 1, QStringLiteral("别动")}}}, result}, 1};
}

// The cells an export must leave alone: beyond A1:AZ5000 on the sheet that opens, all on others.
QMap<QPair<int, int>, QJsonArray> untouchable(const XlrdSheet& sheet, const QString& active) {
    QMap<QPair<int, int>, QJsonArray> cells;
    for (auto it = sheet.cells.cbegin(); it != sheet.cells.cend(); ++it) {
        if (sheet.name != active || it.key().first >= 5000 || it.key().second >= 52) {
            cells.insert(it.key(), it.value());
        }
    }
    return cells;
}

// The sheet that opens, as xlrd reads it: every cell of A1:AZ5000 is a group's title or name,
// and each group's cells are there. Returns that sheet's name.
QString checkExport(const QString& path, const DrawState& s, XlrdBook& book) {
    SheetError error;
    const QString active = xls::Workbook::open(path, error)->activeSheetName();
    book = readWithXlrd(path);
    if (!book.error.isEmpty()) {
        qWarning() << book.error;
        return {};
    }
    int cells = 0;
    for (auto it = book.sheet(active)->cells.cbegin(); it != book.sheet(active)->cells.cend();
         ++it) {
        const auto [row, col] = it.key();
        if (row < 5000 && col < 52 && it.value()[0].toInt() != XlrdBlank) {
            const int g = col + 1;
            if (g > s.groupCount || row > s.groupSizes(g) ||
                it.value()[1].toString() !=
                    (row == 0 ? s.groupTitles(g) : s.groupResults(row, g))) {
                return {};
            }
            ++cells;
        }
    }
    int expected = 0;
    for (int g = 1; g <= s.groupCount; ++g) {
        expected += 1 + s.groupSizes(g);
    }
    return cells == expected ? active : QString();
}

}  // namespace

// The export into real workbooks, checked with an independent reader.
class TestExport : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> folder;
    test::RecordingOpener opener;
    QString path() { return appFilePath(folder->path(), ExportWorkbookName); }
    QString exportGroups(const DrawState& s) {
        XlsSpreadsheetService excel(folder->path(), opener);
        return exportResults(excel, s, folder->path());
    }

private Q_SLOTS:
    void init() {
        folder = std::make_unique<QTemporaryDir>();
        opener.opened.clear();
    }

    // A smaller export over a larger one, then none: each leaves only its own groups in the
    // range; the rest of the workbook stays.
    void exportsReplaceEachOther_data() {
        QTest::addColumn<QString>("source");
        QTest::newRow("sample") << "";
        QTest::newRow("used, second sheet opens") << "used";
        QTest::newRow("Excel, active sheet not first") << "pex_TestActiveSheet.xls";
    }
    void exportsReplaceEachOther() {
        QFETCH(QString, source);
        if (source.isEmpty()) {
            QCOMPARE(writeSampleFiles(folder->path()), QStringList{});
        } else if (source == "used") {
            QVERIFY(!xls::createWorkbook(path(), usedWorkbook()));
        } else {
            QVERIFY(QFile::copy(qEnvironmentVariable("SORTILO_CORPUS_DIR") + '/' + source, path()));
            QFile::setPermissions(path(), QFile::ReadOwner | QFile::WriteOwner);
        }
        const XlrdBook before = readWithXlrd(path());
        QCOMPARE(exportGroups(*groups({6, 9, 3, 4})), QString());
        auto smaller = groups({2, 5, 1});
        smaller->groupTitles(2) = QStringLiteral("一等奖");
        QCOMPARE(exportGroups(*smaller), QString());
        QCOMPARE(opener.opened, QStringList(2, path()));
        XlrdBook after;
        const QString active = checkExport(path(), *smaller, after);
        QVERIFY(!active.isEmpty());
        QCOMPARE(after.sheets.size(), before.sheets.size());
        for (const XlrdSheet& old : before.sheets) {
            QCOMPARE(untouchable(*after.sheet(old.name), active), untouchable(old, active));
        }
        QCOMPARE(exportGroups(*groups({})), QString());
        QCOMPARE(checkExport(path(), *groups({}), after), active);
    }

    // The file is left exactly as it was, and one message names it.
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
        const QString dir = folder->path();
        if (obstacle == "text") {
            QFile file(path());
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("组别,姓名\n");
        } else if (obstacle != "missing") {
            QVERIFY(!xls::createWorkbook(path(), usedWorkbook()));
        }
        const QByteArray before = bytesOf(path());
        if (obstacle == "lock") {
            QFile lock(appFilePath(dir, ".~lock." + ExportWorkbookName + "#"));
            QVERIFY(lock.open(QIODevice::WriteOnly));
        } else if (obstacle == "ro-file") {
            QVERIFY(::chmod(QFile::encodeName(path()).constData(), 0444) == 0);
        } else if (obstacle == "ro-folder") {
            QVERIFY(::chmod(QFile::encodeName(dir).constData(), 0555) == 0);
        }
        const QString shown = exportGroups(*groups({2, 5, 1}));
        ::chmod(QFile::encodeName(dir).constData(), 0755);
        ::chmod(QFile::encodeName(path()).constData(), 0644);
        QCOMPARE(shown, message);
        QVERIFY(opener.opened.isEmpty());
        QCOMPARE(bytesOf(path()), before);
        QVERIFY(QDir(dir).entryList(QDir::Files | QDir::Hidden).size() <= 2);
    }
};

QTEST_MAIN(TestExport)
#include "TestExport.moc"
