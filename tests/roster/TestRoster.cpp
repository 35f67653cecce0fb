#include "SampleFiles.h"
#include "platform/AppFiles.h"
#include "platform/Texts.h"
#include "platform/XlsSpreadsheetService.h"
#include "platform/xls/WorkbookWriter.h"
#include "roster/Roster.h"
#include "support/TestSession.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace sortilo;

namespace {

using Column = QList<std::variant<QString, double>>;

// A roster workbook whose column A holds `column` from row 1 down (a null QString leaves a gap),
// on the sheet that opens, which is not the first.
void writeRoster(const QString& folder, const Column& column) {
    xls::NewSheet roster{QStringLiteral("名单"), {}};
    for (int i = 0; i < column.size(); ++i) {
        const auto* text = std::get_if<QString>(&column[i]);
        if (!text || !text->isNull()) {
            roster.cells.push_back({i + 1, 1, column[i]});
        }
    }
    xls::NewSheet other{QStringLiteral("其他"), {{3, 1, QStringLiteral("不该读到")}}};
    QVERIFY(!xls::createWorkbook(appFilePath(folder, ImportWorkbookName), {{other, roster}, 1}));
}

// Two empty heading rows, then prefix1..prefixN.
Column names(const QString& prefix, int n) {
    Column column{QString(), QString()};
    for (int i = 1; i <= n; ++i) {
        column << prefix + QString::number(i);
    }
    return column;
}

void touch(const QString& path) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
}

}  // namespace

// The roster workbook into the pool, and handed over for editing: real workbooks, no window.
class TestRoster : public QObject {
    Q_OBJECT

    QTemporaryDir folder;
    std::unique_ptr<test::TestSession> t;
    test::RecordingOpener opener;
    QString path() { return appFilePath(folder.path(), ImportWorkbookName); }
    QString import() {
        XlsSpreadsheetService excel(folder.path(), opener);
        return importRoster(t->session, excel, folder.path());
    }
    QString edit() {
        XlsSpreadsheetService excel(folder.path(), opener);
        return editRoster(excel, folder.path());
    }

private Q_SLOTS:
    void init() {
        QVERIFY(folder.isValid());
        t = std::make_unique<test::TestSession>();
    }
    void cleanup() {
        QDir(folder.path()).removeRecursively();
        QDir().mkpath(folder.path());
    }

    void readsColumnA_data() {
        QTest::addColumn<Column>("column");
        QTest::addColumn<QStringList>("expected");
        const QString gap;
        QTest::newRow("heading, five names, gap, more")
            << Column{"名单", "姓名", "甲", "乙", "丙", "丁", "戊", gap, "己"}
            << QStringList{"甲", "乙", "丙", "丁", "戊"};
        QTest::newRow("a space, numbers, a duplicate")
            << Column{gap, gap, " ", 12.0, 0.5, "甲", "甲"}
            << QStringList{" ", "12", "0.5", "甲", "甲"};
        QTest::newRow("row 3 empty") << Column{"名单", gap, gap, "甲"} << QStringList{};
        QStringList first2000;
        for (int i = 1; i <= 2000; ++i) {
            first2000 << QStringLiteral("人%1").arg(i);
        }
        QTest::newRow("2000 names and more below") << names("人", 2005) << first2000;
    }
    void readsColumnA() {
        QFETCH(Column, column);
        QFETCH(QStringList, expected);
        writeRoster(folder.path(), names("旧", 9));
        QCOMPARE(import(), QString());
        writeRoster(folder.path(), column);
        QCOMPARE(import(), QString());
        QCOMPARE(poolNames(t->state()), expected);
        QCOMPARE(t->pool, expected);
        QCOMPARE(t->poolCount, QStringLiteral("%1可抽值").arg(expected.size()));
    }

    // The import resets the draw first: a rolling draw stops, the groups are gone.
    void importResetsTheDraw() {
        writeRoster(folder.path(), names("甲", 4));
        t->givePool(3);
        t->drawGroup(QStringLiteral("1"));
        t->start(QStringLiteral("2"));
        QCOMPARE(import(), QString());
        QVERIFY(t->idle());
        QCOMPARE(t->state().groupCount, int16_t(0));
        QCOMPARE(t->state().rosterCount, int16_t(4));
    }

    // Anything wrong with the workbook: one message naming it, and the previous pool whole. A
    // lock file stops the import before the reset; a bad workbook only after it.
    void refusedWorkbookKeepsPool_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("message");
        const QString name = ImportWorkbookName;
        QTest::newRow("missing") << "missing" << texts::WorkbookMissing.arg(name);
        QTest::newRow("real password") << "password" << texts::WorkbookPasswordProtected.arg(name);
        QTest::newRow("text file")
            << "text" << texts::WorkbookNotAWorkbook.arg(name, texts::FileKindText);
        QTest::newRow("error cell") << "error" << texts::WorkbookCellNotText.arg(name, "A3");
        QTest::newRow("lock file") << "lock" << texts::SpreadsheetOpen;
        QTest::newRow("export locked") << "export-lock" << texts::SpreadsheetOpen;
    }
    void refusedWorkbookKeepsPool() {
        QFETCH(QString, kind);
        QFETCH(QString, message);
        writeRoster(folder.path(), names("甲", 3));
        QCOMPARE(import(), QString());
        t->session.setDrawCountText(QStringLiteral("2"));
        QFile::remove(path());
        if (kind == "password") {
            xls::WriteOptions options;
            options.encryption = xls::CipherKind::Rc4;
            options.password = QStringLiteral("secret");
            QVERIFY(!xls::createWorkbook(path(), {{{"名单", {{3, 1, QStringLiteral("乙")}}}}, 0},
                                         options));
        } else if (kind == "text") {
            QFile file(path());
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("姓名,班级\n张三,一班\n");
        } else if (kind == "error") {
            QVERIFY(QFile::copy(
                qEnvironmentVariable("SORTILO_CORPUS_DIR") + "/sheetjs_ErrorTypes.xls", path()));
        } else if (kind == "lock") {
            touch(appFilePath(folder.path(), ".~lock." + ImportWorkbookName + "#"));
        } else if (kind == "export-lock") {
            touch(appFilePath(folder.path(), "~$" + ExportWorkbookName));
        }
        QCOMPARE(import(), message);
        QCOMPARE(poolNames(t->state()), (QStringList{"甲1", "甲2", "甲3"}));
        QCOMPARE(t->poolCount, QStringLiteral("3可抽值"));
        QCOMPARE(t->session.drawCountText(),
                 kind.endsWith("lock") ? QStringLiteral("2") : QString());
    }

    // Editing hands the workbook to the desktop, once: then another program holds it.
    void editingHandsTheWorkbookOver() {
        QCOMPARE(edit(), texts::WorkbookMissing.arg(ImportWorkbookName));
        QVERIFY(!QFile::exists(path()));
        writeRoster(folder.path(), names("甲", 1));
        QCOMPARE(edit(), QString());
        QCOMPARE(opener.opened, QStringList{path()});
        touch(appFilePath(folder.path(), ".~lock." + ImportWorkbookName + "#"));
        QCOMPARE(edit(), texts::SpreadsheetOpen);
        QCOMPARE(opener.opened.size(), 1);
        QCOMPARE(t->state().rosterCount, int16_t(0));
    }

    // The sample folder lets a new user import at once, and is never overwritten.
    void sampleFilesImportAndStay() {
        QCOMPARE(writeSampleFiles(folder.path()), QStringList{});
        QCOMPARE(import(), QString());
        QCOMPARE(poolNames(t->state()), sampleRosterNames());
        QVERIFY(sampleRosterNames().size() >= 40);
        QVERIFY(QFile::exists(appFilePath(folder.path(), ExportWorkbookName)));
        QVERIFY(QFile::exists(appFilePath(folder.path(), TitleDatabaseName)));
        writeRoster(folder.path(), names("自己的名单", 1));
        QFile roster(path());
        QVERIFY(roster.open(QIODevice::ReadOnly));
        const QByteArray mine = roster.readAll();
        roster.close();
        QCOMPARE(writeSampleFiles(folder.path()), QStringList{});
        QVERIFY(roster.open(QIODevice::ReadOnly));
        QCOMPARE(roster.readAll(), mine);
    }
};

QTEST_GUILESS_MAIN(TestRoster)
#include "TestRoster.moc"
