// The spreadsheet service over real files in a temporary application folder: lock files as
// the sign of a running spreadsheet program, opening and reading the roster workbook, errors
// handed to the caller, and the desktop opener (a recording fake).
#include "platform/AppFiles.h"
#include "platform/SheetErrorText.h"
#include "platform/XlsSpreadsheetService.h"
#include "platform/xls/WorkbookWriter.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace sortilo;

namespace {

class RecordingOpener : public DesktopOpener {
public:
    bool open(const QString& path) override {
        opened << path;
        return true;
    }
    QStringList opened;
};

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

xls::NewWorkbook roster(const QStringList& names) {
    xls::NewSheet sheet{QStringLiteral("名单"), {}};
    sheet.cells.push_back({1, 1, QStringLiteral("抽签名单")});
    for (int i = 0; i < names.size(); ++i) {
        sheet.cells.push_back({i + 3, 1, names[i]});
    }
    sheet.cells.push_back({20, 1, 12.0});
    xls::NewWorkbook book;
    book.sheets = {xls::NewSheet{QStringLiteral("说明"), {}}, sheet};
    book.activeSheet = 1;
    return book;
}

}  // namespace

class TestService : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void lockFilesMeanRunning_data() {
        QTest::addColumn<QString>("lockFile");
        QTest::newRow("LibreOffice on the import workbook")
            << QStringLiteral(".~lock.导入名单.xls#");
        QTest::newRow("LibreOffice on the export workbook")
            << QStringLiteral(".~lock.导出数据.xls#");
        QTest::newRow("Excel on the import workbook") << QStringLiteral("~$导入名单.xls");
        QTest::newRow("Excel on the export workbook") << QStringLiteral("~$导出数据.xls");
        QTest::newRow("Excel, long-name form") << QStringLiteral("~$名单.xls");
    }

    void lockFilesMeanRunning() {
        QFETCH(QString, lockFile);
        QTemporaryDir dir;
        RecordingOpener opener;
        XlsSpreadsheetService service(dir.path(), opener);
        QVERIFY(!service.FindRunningApplication(QStringLiteral("excel.Application")));
        writeFile(dir.filePath(lockFile), "lock");
        QVERIFY(service.FindRunningApplication(QStringLiteral("excel.Application")));
        QFile::remove(dir.filePath(lockFile));
        QVERIFY(!service.FindRunningApplication(QStringLiteral("excel.Application")));
    }

    void lockLookupFailureIsNotFound() {
        RecordingOpener opener;
        XlsSpreadsheetService service(QStringLiteral("/nonexistent/folder/for/sure"), opener);
        QVERIFY(!service.FindRunningApplication(QStringLiteral("excel.Application")));
    }

    void opensAndReadsTheActiveSheet() {
        QTemporaryDir dir;
        const QString path = appFilePath(dir.path(), ImportWorkbookName);
        QVERIFY(!xls::createWorkbook(path, roster({QStringLiteral("张三"), QStringLiteral(" ")})));
        RecordingOpener opener;
        XlsSpreadsheetService service(dir.path(), opener);
        service.CreateApplication();
        QVERIFY(!service.OpenWorkbook(path));
        QCOMPARE(service.ReadCell(3, 1).text, QStringLiteral("张三"));
        QCOMPARE(service.ReadCell(4, 1).text, QStringLiteral(" "));
        QVERIFY(service.ReadCell(5, 1).isEmpty());
        QCOMPARE(service.ReadCell(20, 1).number, 12.0);
        service.ShowApplication();
        QCOMPARE(opener.opened, QStringList{path});
        service.QuitApplication();
        service.CloseAllWorkbooks();
        service.ReleaseApplication();
        QVERIFY(service.ReadCell(3, 1).isEmpty());
    }

    void errorsGoToTheCaller() {
        QTemporaryDir dir;
        RecordingOpener opener;
        XlsSpreadsheetService service(dir.path(), opener);
        const QString good = dir.filePath(QStringLiteral("good.xls"));
        QVERIFY(!xls::createWorkbook(good, roster({QStringLiteral("李四")})));
        QVERIFY(!service.OpenWorkbook(good));
        QCOMPARE(int(service.OpenWorkbook(dir.filePath(QStringLiteral("none.xls"))).problem),
                 int(SheetProblem::Missing));
        QCOMPARE(int(service.OpenWorkbook(dir.path()).problem), int(SheetProblem::Unreadable));
        const QString csv = dir.filePath(QStringLiteral("names.xls"));
        writeFile(csv, "name,age\n张三,20\n");
        const SheetError notBook = service.OpenWorkbook(csv);
        QCOMPARE(int(notBook.problem), int(SheetProblem::NotAWorkbook));
        QVERIFY(describeSheetError(QStringLiteral("names.xls"), notBook)
                    .contains(QStringLiteral("CSV")));
        // A failed open leaves the workbook opened before as it was, file included.
        QCOMPARE(service.ReadCell(3, 1).text, QStringLiteral("李四"));
        // The desktop's spreadsheet program may open what this reader refuses: the file asked
        // for last is the one handed over.
        service.ShowApplication();
        QCOMPARE(opener.opened, QStringList{csv});
        // Edits go to the workbook read last.
        QVERIFY(!service.WriteCell(1, 1, QStringLiteral("x")));
        QVERIFY(!service.SaveActiveWorkbook());
        SheetError error;
        QCOMPARE(xls::Workbook::open(good, error)->cell(1, 1).text, QStringLiteral("x"));
    }

    void errorSentences_data() {
        QTest::addColumn<int>("problem");
        QTest::addColumn<QString>("detail");
        QTest::addColumn<QString>("mustContain");
        const auto row = [](SheetProblem p, const char* name, QString detail, QString part) {
            QTest::newRow(name) << int(p) << detail << part;
        };
        row(SheetProblem::Missing, "missing", QString(), QStringLiteral("不存在"));
        row(SheetProblem::Unreadable, "unreadable", QStringLiteral("Permission denied"),
            QStringLiteral("无法读取"));
        row(SheetProblem::OpenElsewhere, "open elsewhere", QString(), QStringLiteral("其他程序"));
        row(SheetProblem::PasswordProtected, "password", QStringLiteral("RC4"),
            QStringLiteral("密码"));
        row(SheetProblem::NotAWorkbook, "not a workbook", QStringLiteral("网页（HTML）文件"),
            QStringLiteral("网页（HTML）文件"));
        row(SheetProblem::UnsupportedFormat, "old BIFF",
            QStringLiteral("Excel 2.x至4.x格式的工作表"), QStringLiteral("2.x"));
        row(SheetProblem::Corrupt, "corrupt", QStringLiteral("sector chain"),
            QStringLiteral("损坏"));
        row(SheetProblem::CellNotText, "error cell", QStringLiteral("A17"), QStringLiteral("A17"));
        row(SheetProblem::NotSaved, "not saved", QString(), QStringLiteral("保存失败"));
        row(SheetProblem::HardLinked, "hard links", QStringLiteral("2 names"),
            QStringLiteral("硬链接"));
        row(SheetProblem::NoSheet, "chart sheet", QStringLiteral("Chart1"),
            QStringLiteral("工作表"));
    }

    void errorSentences() {
        QFETCH(int, problem);
        QFETCH(QString, detail);
        QFETCH(QString, mustContain);
        const QString text =
            describeSheetError(ImportWorkbookName, SheetError{SheetProblem(problem), detail});
        QVERIFY(text.contains(QStringLiteral("“导入名单.xls”")));
        QVERIFY2(text.contains(mustContain), qPrintable(text));
        QVERIFY(text.endsWith(QStringLiteral("！")));
        QVERIFY(!text.contains(QLatin1Char('%')));
    }
};

QTEST_GUILESS_MAIN(TestService)
#include "TestService.moc"
