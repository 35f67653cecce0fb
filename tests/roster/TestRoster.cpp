#include "SampleFiles.h"
#include "WorkbookWriter.h"
#include "platform/AppFiles.h"
#include "platform/ErrorMessage.h"
#include "platform/Texts.h"
#include "platform/WorkbookService.h"
#include "roster/Roster.h"
#include "support/Fakes.h"
#include "support/TestSession.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace sortilo;

// The roster workbook into the pool, and handed over for editing: real workbooks, no window.
class TestRoster : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> folder;
    std::unique_ptr<test::TestSession> t;
    test::RecordingOpener opener;
    QString path(const QString& name = ImportWorkbookName) {
        return appFilePath(folder->path(), name);
    }
    // Column A from row 3 down ("" an empty cell) under a heading, on the sheet that opens,
    // which is not the first.
    void writeRoster(const QStringList& column) {
        xls::NewSheet roster{"名单", {{1, 1, QStringLiteral("名单")}}};
        for (int i = 0; i < column.size(); ++i) {
            if (!column[i].isEmpty()) {
                roster.cells.push_back({i + 3, 1, column[i]});
            }
        }
        xls::NewSheet other{"其他", {{3, 1, QStringLiteral("不该读到")}}};
        QVERIFY(xls::createWorkbook(path(), {{other, roster}, 1}));
    }
    void writeRoster(const QString& prefix, int count) {
        writeRoster(test::numberedNames(count, prefix));
    }
    // The operator's message for what a button did; empty when it went through (the roster
    // whole, every name once).
    QString import() {
        const Result<RosterImport> done =
            importRoster(t->session, WorkbookService(opener), folder->path());
        return done ? importNotice(*done) : errorMessage(done.error());
    }
    QString edit() { return said(editRoster(WorkbookService(opener), folder->path())); }
    static QString said(const Result<void>& outcome) {
        return outcome ? QString() : errorMessage(outcome.error());
    }
    void lock(const QString& name) { QVERIFY(QFile(path(name)).open(QIODevice::WriteOnly)); }
    // What the session holds and last showed: pool, count, settings, the four lists, the groups.
    QStringList screen() {
        const DrawSession& s = t->session;
        QStringList seen{QString::number(t->poolCount), s.drawCountText(), t->pool.join('|'),
                         t->model().poolNames().join('|'), QString::number(int(s.keepChoice()))};
        for (const ShownGroup& g : t->groups) {
            seen << g.title << g.names.join('|') << QString::number(g.selected);
        }
        for (int g = 1; g <= t->model().groupCount(); ++g) {
            seen << t->model().groupNames(g).join('|');
        }
        return seen;
    }

private Q_SLOTS:
    void init() {
        folder = std::make_unique<QTemporaryDir>();
        t = std::make_unique<test::TestSession>();
    }

    // Names from row 3 to the first empty cell, at most 2000, a name as often as it is there; the
    // draw is reset first. One message names the file and says what was left out or repeated.
    void importsColumnA_data() {
        QTest::addColumn<QStringList>("column");
        QTest::addColumn<int>("imported");
        QTest::addColumn<QStringList>("notice");
        const QStringList gap{"人1", "人2", "人3", "", "人4", "人5"};
        const QStringList repeated{"张三", "李四", "张三", "王五", "张三"};
        const QStringList seven{"甲", "乙", "丙", "丁", "戊", "己", "庚"};
        QTest::newRow("five") << test::numberedNames(5, "人") << 5 << QStringList{};
        QTest::newRow("an empty cell")
            << gap << 3 << QStringList{texts::RosterEmptyCell.arg(6).arg(2)};
        QTest::newRow("2100") << test::numberedNames(2100, "人") << 2000
                              << QStringList{texts::RosterOverLimit};
        QTest::newRow("three times")
            << repeated << 5 << QStringList{texts::RosterRepeatedNames.arg("张三（3次）")};
        QTest::newRow("seven twice, a gap")
            << seven + seven + QStringList{"", "", "人"} << 14
            << QStringList{texts::RosterEmptyCell.arg(17).arg(1),
                           texts::RosterRepeatedNames.arg(
                               "甲（2次）、乙（2次）、丙（2次）、丁（2次）、戊（2次）等")};
    }
    void importsColumnA() {
        QFETCH(QStringList, column);
        QFETCH(int, imported);
        QFETCH(QStringList, notice);
        writeRoster("旧", 9);
        QCOMPARE(import(), QString());
        t->session.setKeepChoice(KeepChoice::Keep);
        t->drawGroup(QStringLiteral("1"));
        t->start(QStringLiteral("2"));
        QVERIFY(t->rolling());
        QCOMPARE(t->model().groupCount(), 1);
        writeRoster(column);
        if (!notice.isEmpty()) {
            notice.prepend(texts::RosterNotWhole.arg(ImportWorkbookName));
        }
        QCOMPARE(import(), notice.join('\n'));
        QVERIFY(t->idle());
        QCOMPARE(t->model().groupCount(), 0);
        QCOMPARE(t->pool, column.mid(0, imported));
        QCOMPARE(t->poolCount, imported);
    }

    // A workbook that cannot be read: one message naming it (and the cell), and nothing else
    // changes, neither in the session nor on the screen: groups, pool, count, 是/否, paging.
    void refusedWorkbookChangesNothing_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("message");
        const QString name = ImportWorkbookName;
        QTest::newRow("missing") << "missing" << texts::WorkbookMissing.arg(name);
        QTest::newRow("folder") << "folder" << texts::WorkbookUnreadable.arg(name);
        QTest::newRow("damaged") << "workbooks/libxls_xls2csv_ole_read_MSAT_772.xls"
                                 << texts::WorkbookCorrupt.arg(name);
        QTest::newRow("error cell")
            << "workbooks/sheetjs_ErrorTypes.xls" << texts::WorkbookCellNotText.arg(name, "A3");
        QTest::newRow("chart opens")
            << "xlsx/chart-opens.xlsx.xls" << texts::WorkbookNoSheet.arg(name);
        QTest::newRow("zip") << "xlsx/readme.zip.xls"
                             << texts::WorkbookNotAWorkbook.arg(name, texts::FileKindZip);
        QTest::newRow("lock file") << ".~lock.导入名单.xls#" << texts::SpreadsheetOpen;
    }
    void refusedWorkbookChangesNothing() {
        QFETCH(QString, kind);
        QFETCH(QString, message);
        writeRoster("甲", 9);
        QCOMPARE(import(), QString());
        t->session.setKeepChoice(KeepChoice::Remove);
        for (int g = 0; g < 6; ++g) {
            t->drawGroup(QStringLiteral("1"));
        }
        t->session.showEarlierGroups();
        const QStringList before = screen();
        QFile::remove(path());
        if (kind.endsWith(".xls")) {
            QVERIFY(QFile::copy(test::testData(kind), path()));
        } else if (kind == "folder") {
            QVERIFY(QDir(folder->path()).mkdir(ImportWorkbookName));
        } else if (kind != "missing") {
            lock(kind);
        }
        QCOMPARE(import(), message);
        QCOMPARE(screen(), before);
        QCOMPARE(t->model().groupCount(), 6);
        QCOMPARE(t->pool.size(), 3);
    }

    // Editing hands the workbook to the desktop, once: then another program holds it. A desktop
    // that cannot open it is named, with the full path to open it by hand.
    void editing() {
        QCOMPARE(edit(), texts::WorkbookMissing.arg(ImportWorkbookName));
        QVERIFY(!QFile::exists(path()));
        QVERIFY(opener.opened.isEmpty());
        writeRoster("甲", 1);
        QCOMPARE(edit(), QString());
        QCOMPARE(opener.opened, QStringList{path()});
        opener.works = false;
        QCOMPARE(edit(), texts::WorkbookNotShown.arg(QDir::toNativeSeparators(path())));
        lock("~$导出数据.xls");
        QCOMPARE(edit(), texts::SpreadsheetOpen);
        QCOMPARE(opener.opened.size(), 2);
    }

    // The sample files never overwrite the operator's own.
    void sampleFilesKeepTheRoster() {
        writeRoster("自己的名单", 1);
        QCOMPARE(writeSampleFiles(folder->path()), QStringList{});
        QVERIFY(QFile::exists(path(ExportWorkbookName)));
        QVERIFY(QFile::exists(path(TitleDatabaseName)));
        QCOMPARE(import(), QString());
        QCOMPARE(t->pool, QStringList{"自己的名单1"});
    }
};

QTEST_GUILESS_MAIN(TestRoster)
#include "TestRoster.moc"
