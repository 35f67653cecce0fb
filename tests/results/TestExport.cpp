#include "WorkbookWriter.h"
#include "platform/AppFiles.h"
#include "platform/ErrorMessage.h"
#include "platform/Texts.h"
#include "platform/WorkbookService.h"
#include "platform/xls/Biff.h"
#include "platform/xls/Workbook.h"
#include "results/Export.h"
#include "support/Fakes.h"
#include "support/Files.h"
#include "support/TestData.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace sortilo;

namespace {

// Groups 1..n of the given sizes, names "名g-k", default titles.
DrawModel groups(const QList<int>& sizes) {
    QStringList roster;
    QList<QList<int>> members;
    for (int g = 1; g <= sizes.size(); ++g) {
        members.append(QList<int>());
        for (int k = 1; k <= sizes[g - 1]; ++k) {
            members.last() << static_cast<int>(roster.size());
            roster << QStringLiteral("名%1-%2").arg(g).arg(k);
        }
    }
    DrawModel draw;
    draw.startSession(roster, QByteArray(32, 'k'));
    for (const QList<int>& picks : members) {
        draw.recordGroup(GroupDrawn{draw.groupCount() + 1, 1, int(picks.size()), true, picks, {}});
    }
    return draw;
}

}  // namespace

// The export into real workbooks.
class TestExport : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> folder;
    test::RecordingOpener opener;
    QString path() { return appFilePath(folder->path(), ExportWorkbookName); }
    // The operator's message; empty when the export was saved and shown.
    QString exportGroups(const DrawModel& draw) {
        const Result<void> done = exportResults(WorkbookService(opener), draw, folder->path());
        return done ? QString() : errorMessage(done.error());
    }
    // Cells inside A1:AZ5000 and beyond it, on the sheet that opens (the second).
    void writeUsedWorkbook() {
        xls::NewSheet result{"结果",
                             {{1, 1, QStringLiteral("旧")},
                              {3, 2, 42.0},
                              {5000, 52, QStringLiteral("角")},
                              {5001, 1, QStringLiteral("下")}}};
        QVERIFY(xls::createWorkbook(path(), {{xls::NewSheet{"备注", {{1, 1, 7.0}}}, result}, 1}));
    }

    // A workbook that opens on its second sheet, a chart sheet.
    void writeChartWorkbook() {
        QByteArray stream = xls::biffStream({{xls::NewSheet{"数据", {}}, {"图表", {}}}, 1});
        uint32_t last = 0;
        for (const xls::Record& r : xls::splitRecords(stream).records) {
            last = r.type == xls::rec::BoundSheet ? r.offset : last;
        }
        stream[last + 4 + 5] = 2;
        QFile file(path());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(xls::compoundFileBytes(stream, QStringLiteral("Workbook")));
    }

private Q_SLOTS:
    void init() {
        folder = std::make_unique<QTemporaryDir>();
        opener = {};
    }

    // A smaller export over a larger one: row 1 the titles, each group's names below, nothing
    // else left in A1:AZ5000, the rest of the workbook as it was; then shown on the desktop. A
    // desktop that cannot show it: the results are saved all the same, the message says where.
    void smallerOverLarger() {
        writeUsedWorkbook();
        QCOMPARE(exportGroups(groups({6, 9, 3, 4})), QString());
        DrawModel draw = groups({2, 5, 1});
        draw.setTitles({QStringLiteral("第1组"), QStringLiteral("一等奖")});
        // 名2-1 was absent; 名1-1 took the place, as the lists show it.
        draw.recordRedraw(Redrawn{2, {2}, 2, {0}});
        opener.works = false;
        QCOMPARE(exportGroups(draw), texts::ExportNotShown.arg(QDir::toNativeSeparators(path())));
        QCOMPARE(opener.opened, QStringList(2, path()));
        const auto book = xls::Workbook::open(path());
        QVERIFY(book);
        int cells = 0;
        for (size_t i = 0; i < book->cells().size(); ++i) {
            const int row = book->cells().rowAt(i);
            const int g = book->cells().colAt(i);
            const QString text = book->cells().valueAt(i).text;
            if (row <= 5000 && g <= 52 && !book->cells().valueAt(i).isEmpty()) {
                QVERIFY(g <= draw.groupCount());
                const QStringList names = draw.groupNames(g);
                QVERIFY(row <= names.size() + 1);
                QCOMPARE(text, row == 1 ? draw.title(g) : names[row - 2]);
                ++cells;
            }
        }
        QCOMPARE(cells, 3 + 2 + 5 + 1);
        QCOMPARE(book->cell(5001, 1).text, QStringLiteral("下"));
    }

    // The file is left exactly as it was, nothing is shown, and one message names it.
    void failureLeavesFileAlone_data() {
        QTest::addColumn<QString>("obstacle");
        QTest::addColumn<QString>("message");
        const QString name = ExportWorkbookName;
        QTest::newRow("open elsewhere") << "lock" << texts::WorkbookOpenElsewhere.arg(name);
        QTest::newRow("read-only file") << "read-only" << texts::WorkbookNotSaved.arg(name);
        QTest::newRow("missing") << "missing" << texts::WorkbookMissing.arg(name);
        QTest::newRow("xlsx content")
            << "xlsx" << texts::WorkbookUnsupported.arg(name, texts::FileKindXlsxWorkbook);
        QTest::newRow("chart sheet opens") << "chart" << texts::WorkbookNoSheetToWrite.arg(name);
    }
    void failureLeavesFileAlone() {
        QFETCH(QString, obstacle);
        QFETCH(QString, message);
        if (obstacle == "xlsx") {
            QVERIFY(QFile::copy(test::corpusFile("easyexcel_simple07.xlsx.xls"), path()));
        } else if (obstacle == "chart") {
            writeChartWorkbook();
        } else if (obstacle != "missing") {
            writeUsedWorkbook();
        }
        const QByteArray before = fileBytes(path());
        if (obstacle == "lock") {
            QVERIFY(QFile(appFilePath(folder->path(), ".~lock." + ExportWorkbookName + "#"))
                        .open(QIODevice::WriteOnly));
        } else if (obstacle == "read-only") {
            QVERIFY(test::setReadOnly(path()));
        }
        QCOMPARE(exportGroups(groups({2, 5, 1})), message);
        QVERIFY(opener.opened.isEmpty());
        QCOMPARE(fileBytes(path()), before);
    }
};

QTEST_GUILESS_MAIN(TestExport)
#include "TestExport.moc"
