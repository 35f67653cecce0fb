#include "SampleFiles.h"
#include "WorkbookWriter.h"
#include "platform/AppFiles.h"
#include "platform/Texts.h"
#include "platform/WorkbookService.h"
#include "roster/Roster.h"
#include "support/TestSession.h"

#include <QFile>
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
    QString import() { return importRoster(t->session, WorkbookService(opener), folder->path()); }
    QString edit() { return editRoster(WorkbookService(opener), folder->path()); }
    void lock(const QString& name) { QVERIFY(QFile(path(name)).open(QIODevice::WriteOnly)); }

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
        t->drawGroup(QStringLiteral("1"));
        t->start(QStringLiteral("2"));
        writeRoster("人", count);
        QCOMPARE(import(), QString());
        QVERIFY(t->idle() && t->state().groupCount == 0);
        const int n = std::min(count, MaxRoster);
        QCOMPARE(t->pool.size(), n);
        QCOMPARE(t->pool.last(), QStringLiteral("人%1").arg(n));
        QCOMPARE(t->poolCount, QStringLiteral("%1可抽值").arg(n));
    }

    // A workbook that cannot be read: one message naming it (and the cell), the pool whole. A
    // lock file stops the import before the reset, a bad workbook only after it.
    void refusedWorkbookKeepsPool_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("message");
        QTest::newRow("missing") << "missing" << texts::WorkbookMissing.arg(ImportWorkbookName);
        QTest::newRow("error cell")
            << "sheetjs_ErrorTypes.xls" << texts::WorkbookCellNotText.arg(ImportWorkbookName, "A3");
        QTest::newRow("lock file") << ".~lock.导入名单.xls#" << texts::SpreadsheetOpen;
    }
    void refusedWorkbookKeepsPool() {
        QFETCH(QString, kind);
        QFETCH(QString, message);
        writeRoster("甲", 3);
        QCOMPARE(import(), QString());
        t->session.setDrawCountText(QStringLiteral("2"));
        if (kind.endsWith(".xls")) {
            QFile::remove(path());
            QVERIFY(QFile::copy(qEnvironmentVariable("SORTILO_CORPUS_DIR") + "/" + kind, path()));
        } else if (kind == "missing") {
            QFile::remove(path());
        } else {
            lock(kind);
        }
        QCOMPARE(import(), message);
        QCOMPARE(poolNames(t->state()), (QStringList{"甲1", "甲2", "甲3"}));
        QCOMPARE(t->poolCount, QStringLiteral("3可抽值"));
        QCOMPARE(t->session.drawCountText().isEmpty(), !kind.startsWith(".~lock"));
    }

    // Editing hands the workbook to the desktop, once: then another program holds it.
    void editing() {
        QCOMPARE(edit(), texts::WorkbookMissing.arg(ImportWorkbookName));
        QVERIFY(!QFile::exists(path()) && opener.opened.isEmpty());
        writeRoster("甲", 1);
        QCOMPARE(edit(), QString());
        QCOMPARE(opener.opened, QStringList{path()});
        lock("~$导出数据.xls");
        QCOMPARE(edit(), texts::SpreadsheetOpen);
        QCOMPARE(opener.opened.size(), 1);
    }

    // The sample folder lets a new user import at once, and is never overwritten.
    void sampleFiles() {
        QCOMPARE(writeSampleFiles(folder->path()), QStringList{});
        QCOMPARE(import(), QString());
        QCOMPARE(poolNames(t->state()), sampleRosterNames());
        QVERIFY(QFile::exists(path(ExportWorkbookName)) && QFile::exists(path(TitleDatabaseName)));
        writeRoster("自己的名单", 1);
        QCOMPARE(writeSampleFiles(folder->path()), QStringList{});
        QCOMPARE(import(), QString());
        QCOMPARE(t->pool, QStringList{"自己的名单1"});
    }
};

QTEST_GUILESS_MAIN(TestRoster)
#include "TestRoster.moc"
