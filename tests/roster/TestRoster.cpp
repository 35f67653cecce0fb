#include "SampleFiles.h"
#include "app/Controls.h"
#include "platform/AppFiles.h"
#include "platform/Texts.h"
#include "platform/xls/WorkbookWriter.h"
#include "roster/Roster.h"
#include "support/TestForm.h"
#include "titles/store/TitleStore.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

using namespace sortilo;

namespace {

using Column = QList<std::variant<QString, double>>;

// A roster workbook whose column A holds `column` from row 1 down; a null QString leaves a gap.
void writeRoster(const QString& folder, const Column& column, int activeSheet = 0) {
    xls::NewSheet roster{QStringLiteral("名单"), {}};
    for (int i = 0; i < column.size(); ++i) {
        const auto* text = std::get_if<QString>(&column[i]);
        if (!text || !text->isNull()) {
            roster.cells.push_back({i + 1, 1, column[i]});
        }
    }
    xls::NewSheet other{QStringLiteral("其他"), {{3, 1, QStringLiteral("不该读到")}}};
    xls::NewWorkbook book{{other, roster}, 1};
    if (activeSheet == 0) {
        book = {{roster, other}, 0};
    }
    QVERIFY(!xls::createWorkbook(appFilePath(folder, ImportWorkbookName), book));
}

Column numbered(const QString& prefix, int from, int to) {
    Column column;
    for (int i = from; i <= to; ++i) {
        column << prefix + QString::number(i);
    }
    return column;
}

void touch(const QString& path) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
}

}  // namespace

class TestRoster : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void importReadsColumnA_data() {
        QTest::addColumn<Column>("column");
        QTest::addColumn<QStringList>("expected");
        const QString gap;
        QTest::newRow("heading, five names, gap, more")
            << (Column{QStringLiteral("名单"), QStringLiteral("姓名"), QStringLiteral("甲"),
                       QStringLiteral("乙"), QStringLiteral("丙"), QStringLiteral("丁"),
                       QStringLiteral("戊"), gap, QStringLiteral("己")})
            << QStringList{QStringLiteral("甲"), QStringLiteral("乙"), QStringLiteral("丙"),
                           QStringLiteral("丁"), QStringLiteral("戊")};
        QTest::newRow("a space, a number, a duplicate")
            << (Column{gap, gap, QStringLiteral(" "), 12.0, 0.5, QStringLiteral("甲"),
                       QStringLiteral("甲")})
            << QStringList{QStringLiteral(" "), QStringLiteral("12"), QStringLiteral("0.5"),
                           QStringLiteral("甲"), QStringLiteral("甲")};
        QTest::newRow("row 3 empty")
            << (Column{QStringLiteral("名单"), gap, gap, QStringLiteral("甲")}) << QStringList{};
        Column full{gap, gap};
        full << numbered(QStringLiteral("人"), 1, 2005);
        QStringList first2000;
        for (int i = 1; i <= 2000; ++i) {
            first2000 << QStringLiteral("人%1").arg(i);
        }
        QTest::newRow("2000 names and more below") << full << first2000;
    }

    void importReadsColumnA() {
        QFETCH(Column, column);
        QFETCH(QStringList, expected);
        auto t = test::makeTestFormWithWorkbooks();
        writeRoster(t->folder.path(), column, 1);
        Command1_Click(*t->form, 1);
        QCOMPARE(t->messages->shown, QStringList{});
        QCOMPARE(test::poolOf(t->state()), expected);
        QCOMPARE(test::items(t->form->List1[0]), expected);
        QCOMPARE(t->form->Label3->text(), QStringLiteral("%1可抽值").arg(expected.size()));
    }

    void shorterImportReplacesLonger() {
        auto t = test::makeTestFormWithWorkbooks();
        writeRoster(t->folder.path(),
                    Column{QString(), QString()} + numbered(QStringLiteral("甲"), 1, 9));
        Command1_Click(*t->form, 1);
        writeRoster(t->folder.path(),
                    Column{QString(), QString()} + numbered(QStringLiteral("乙"), 1, 3));
        Command1_Click(*t->form, 1);
        const QStringList expected{QStringLiteral("乙1"), QStringLiteral("乙2"),
                                   QStringLiteral("乙3")};
        QCOMPARE(test::poolOf(t->state()), expected);
        QCOMPARE(test::items(t->form->List1[0]), expected);
        QCOMPARE(t->form->Label3->text(), QStringLiteral("3可抽值"));
    }

    void importStopsARollingDraw() {
        auto t = test::makeTestFormWithWorkbooks();
        Form1& f = *t->form;
        writeRoster(t->folder.path(),
                    Column{QString(), QString()} + numbered(QStringLiteral("甲"), 1, 4));
        f.Command3[0]->hide();
        f.Command3[1]->show();
        f.Timer1->setInterval(100);
        f.state().groupCount = 2;
        Command1_Click(f, 1);
        QCOMPARE(f.Timer1->interval(), 0);
        QVERIFY(shownInWindow(f.Command3[0]) && !shownInWindow(f.Command3[1]));
        QCOMPARE(f.state().groupCount, int16_t(0));
        QCOMPARE(f.state().rosterCount, int16_t(4));
    }

    // Anything wrong with the workbook: one message naming it, and the previous pool whole.
    void refusedWorkbookKeepsPool_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("message");
        const QString name = ImportWorkbookName;
        QTest::newRow("missing") << "missing" << texts::WorkbookMissing.arg(name);
        QTest::newRow("real password") << "password" << texts::WorkbookPasswordProtected.arg(name);
        QTest::newRow("text file")
            << "text" << texts::WorkbookNotAWorkbook.arg(name, texts::FileKindText);
        QTest::newRow("error cell")
            << "error" << texts::WorkbookCellNotText.arg(name, QStringLiteral("A3"));
        QTest::newRow("lock file") << "lock" << texts::SpreadsheetOpen;
        QTest::newRow("export locked") << "export-lock" << texts::SpreadsheetOpen;
    }

    void refusedWorkbookKeepsPool() {
        QFETCH(QString, kind);
        QFETCH(QString, message);
        auto t = test::makeTestFormWithWorkbooks();
        Form1& f = *t->form;
        const QString folder = t->folder.path();
        const QString path = appFilePath(folder, ImportWorkbookName);
        writeRoster(folder, Column{QString(), QString()} + numbered(QStringLiteral("甲"), 1, 3));
        Command1_Click(f, 1);
        const QStringList before = test::poolOf(f.state());
        f.Text1->setText(QStringLiteral("2"));

        if (kind == "missing") {
            QVERIFY(QFile::remove(path));
        } else if (kind == "password") {
            xls::WriteOptions options;
            options.encryption = xls::CipherKind::Rc4;
            options.password = QStringLiteral("secret");
            QVERIFY(!xls::createWorkbook(
                path, {{{QStringLiteral("名单"), {{3, 1, QStringLiteral("乙")}}}}, 0}, options));
        } else if (kind == "text") {
            QFile::remove(path);
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("姓名,班级\n张三,一班\n");
        } else if (kind == "error") {
            QFile::remove(path);
            QVERIFY(QFile::copy(
                qEnvironmentVariable("SORTILO_CORPUS_DIR") + "/sheetjs_ErrorTypes.xls", path));
        } else if (kind == "lock") {
            touch(appFilePath(folder, QStringLiteral(".~lock.%1#").arg(ImportWorkbookName)));
        } else if (kind == "export-lock") {
            touch(appFilePath(folder, QStringLiteral("~$%1").arg(ExportWorkbookName)));
        }
        Command1_Click(f, 1);

        QCOMPARE(t->messages->shown, QStringList{message});
        QCOMPARE(test::poolOf(f.state()), before);
        QCOMPARE(test::items(f.List1[0]), before);
        QCOMPARE(f.Label3->text(), QStringLiteral("3可抽值"));
        // A lock file stops the import before the reset; a bad workbook only after it.
        QCOMPARE(f.Text1->text(), kind.endsWith("lock") ? QStringLiteral("2") : QString());
    }

    void editingHandsTheWorkbookOver() {
        auto t = test::makeTestFormWithWorkbooks();
        const QString folder = t->folder.path();
        writeRoster(folder, Column{QString(), QString(), QStringLiteral("甲")});
        Command6_Click(*t->form, 0);
        QCOMPARE(t->opener->opened, QStringList{appFilePath(folder, ImportWorkbookName)});
        QCOMPARE(t->messages->shown, QStringList{});
        QCOMPARE(t->state().rosterCount, int16_t(0));

        // The spreadsheet program now has it open: a second press only says so.
        touch(appFilePath(folder, QStringLiteral(".~lock.%1#").arg(ImportWorkbookName)));
        Command6_Click(*t->form, 0);
        QCOMPARE(t->opener->opened.size(), 1);
        QCOMPARE(t->messages->shown, QStringList{texts::SpreadsheetOpen});
    }

    void editingAMissingWorkbookCreatesNothing() {
        auto t = test::makeTestFormWithWorkbooks();
        Command6_Click(*t->form, 0);
        QCOMPARE(t->messages->shown, QStringList{texts::WorkbookMissing.arg(ImportWorkbookName)});
        QVERIFY(t->opener->opened.isEmpty());
        QVERIFY(!QFile::exists(appFilePath(t->folder.path(), ImportWorkbookName)));
    }

    // The sample folder lets a new user import and draw at once, and is never overwritten.
    void sampleFilesImportAndStay() {
        auto t = test::makeTestFormWithWorkbooks();
        const QString folder = t->folder.path();
        QCOMPARE(writeSampleFiles(folder), QStringList{});
        Command1_Click(*t->form, 1);
        QCOMPARE(test::poolOf(t->state()), sampleRosterNames());
        QVERIFY(sampleRosterNames().size() >= 40);
        QVERIFY(QFile::exists(appFilePath(folder, ExportWorkbookName)));
        QVERIFY(LoadTitleSets(t->state(), folder).message().isEmpty());
        QCOMPARE(t->state().titleSets(1, 0), QStringLiteral("方案一"));

        writeRoster(folder, Column{QString(), QString(), QStringLiteral("自己的名单")});
        QFile roster(appFilePath(folder, ImportWorkbookName));
        QVERIFY(roster.open(QIODevice::ReadOnly));
        const QByteArray mine = roster.readAll();
        roster.close();
        QCOMPARE(writeSampleFiles(folder), QStringList{});
        QVERIFY(roster.open(QIODevice::ReadOnly));
        QCOMPARE(roster.readAll(), mine);
    }
};

QTEST_MAIN(TestRoster)
#include "TestRoster.moc"
