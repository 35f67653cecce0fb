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
    // Column A: two heading rows, `count` names, a gap, one more name; on the sheet that opens,
    // which is not the first.
    void writeRoster(const QString& prefix, int count) {
        xls::NewSheet roster{"名单", {{1, 1, QStringLiteral("名单")}, {count + 4, 1, prefix}}};
        for (int i = 1; i <= count; ++i) {
            roster.cells.push_back({i + 2, 1, prefix + QString::number(i)});
        }
        xls::NewSheet other{"其他", {{3, 1, QStringLiteral("不该读到")}}};
        QVERIFY(xls::createWorkbook(path(), {{other, roster}, 1}));
    }
    // The operator's message for what a button did; empty when it went through.
    QString import() {
        return said(importRoster(t->session, WorkbookService(opener), folder->path()));
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

    // Names from row 3 to the first empty cell, at most 2000; a shorter roster replaces a longer
    // one; the draw is reset first.
    void importsColumnA_data() {
        QTest::addColumn<int>("count");
        QTest::newRow("five") << 5;
        QTest::newRow("2000 and more") << 2004;
    }
    void importsColumnA() {
        QFETCH(int, count);
        writeRoster("旧", 9);
        QCOMPARE(import(), QString());
        t->session.setKeepChoice(KeepChoice::Keep);
        t->drawGroup(QStringLiteral("1"));
        t->start(QStringLiteral("2"));
        QVERIFY(t->rolling());
        QCOMPARE(t->model().groupCount(), 1);
        writeRoster("人", count);
        QCOMPARE(import(), QString());
        QVERIFY(t->idle());
        QCOMPARE(t->model().groupCount(), 0);
        const int n = std::min(count, MaxRoster);
        QCOMPARE(t->pool, test::numberedNames(n, QStringLiteral("人")));
        QCOMPARE(t->poolCount, n);
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
