// The workbook service over real files in a temporary folder: lock files as the sign of another
// program holding a workbook, the names of a roster column, editing refused while another
// program holds the file, the hand-over to the desktop (a recording fake); and the sentence the
// operator reads for each kind of error.
#include "WorkbookWriter.h"
#include "platform/ErrorMessage.h"
#include "platform/Texts.h"
#include "platform/WorkbookService.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace sortilo;

Q_DECLARE_METATYPE(sortilo::ErrorKind)
Q_DECLARE_METATYPE(sortilo::FileKind)

namespace {

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
}

// Records what it hands over; says the desktop took it when `answer` says so.
struct Opener : DesktopOpener {
    bool answer = true;
    QStringList opened;
    bool open(const QString& path) override {
        opened << path;
        return answer;
    }
};

}  // namespace

class TestWorkbookService : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    Opener opener_;
    WorkbookService service_{opener_};
    QString path(const char* name) const { return dir_.filePath(QString::fromUtf8(name)); }

private Q_SLOTS:
    void lockFilesMeanHeld_data() {
        QTest::addColumn<QString>("workbook");
        QTest::addColumn<QString>("lockFile");
        QTest::newRow("LibreOffice") << "导入名单.xls"
                                     << ".~lock.导入名单.xls#";
        QTest::newRow("Excel") << "导出数据.xls"
                               << "~$导出数据.xls";
        QTest::newRow("Excel, long-name form") << "导出数据.xls"
                                               << "~$数据.xls";
    }
    void lockFilesMeanHeld() {
        QFETCH(QString, workbook);
        QFETCH(QString, lockFile);
        const QString file = dir_.filePath(workbook);
        QVERIFY(!service_.heldElsewhere(file));
        writeFile(dir_.filePath(lockFile), "lock");
        QVERIFY(service_.heldElsewhere(file));
        QCOMPARE(service_.edit(file).error().kind, ErrorKind::OpenElsewhere);
        QVERIFY(QFile::remove(dir_.filePath(lockFile)));
        QVERIFY(!service_.heldElsewhere(QStringLiteral("/nonexistent/folder/导入名单.xls")));
    }

    // From the first row asked for down to the first empty cell, at most so many, on the sheet
    // that opens; a cell that cannot become a name is named in the error.
    void readsNames() {
        const xls::NewSheet roster{"名单",
                                   {{1, 1, QStringLiteral("标题")},
                                    {2, 1, QStringLiteral(" ")},
                                    {3, 1, 12.0},
                                    {4, 1, QStringLiteral(" ")},
                                    {6, 1, QStringLiteral("后")}}};
        QVERIFY(xls::createWorkbook(path("r.xls"), {{xls::NewSheet{"说明", {}}, roster}, 1}));
        QCOMPARE(*service_.readNames(path("r.xls"), 2, 10), (QStringList{" ", "12", " "}));
        QCOMPARE(*service_.readNames(path("r.xls"), 1, 2), (QStringList{"标题", " "}));
        const QString errors =
            qEnvironmentVariable("SORTILO_CORPUS_DIR") + "/sheetjs_ErrorTypes.xls";
        const Error cell = service_.readNames(errors, 3, 10).error();
        QCOMPARE(cell.kind, ErrorKind::CellNotText);
        QCOMPARE(cell.cell, QStringLiteral("A3"));
        QCOMPARE(cell.file, errors);
    }

    void errorsNameTheFile_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("content");  // null: no file; empty: a folder
        QTest::addColumn<ErrorKind>("kind");
        QTest::newRow("missing") << "none.xls" << QByteArray() << ErrorKind::Missing;
        QTest::newRow("a folder") << "folder.xls" << QByteArray("") << ErrorKind::Unreadable;
        QTest::newRow("CSV") << "names.xls" << QByteArray("name,age\n张三,20\n")
                             << ErrorKind::NotAWorkbook;
    }
    void errorsNameTheFile() {
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        QFETCH(ErrorKind, kind);
        const QString file = dir_.filePath(name);
        if (content.isEmpty() && !content.isNull()) {
            QVERIFY(QDir(dir_.path()).mkpath(name));
        } else if (!content.isNull()) {
            writeFile(file, content);
        }
        for (const Error& e :
             {service_.readNames(file, 3, 10).error(), service_.edit(file).error()}) {
            QCOMPARE(e.kind, kind);
            QCOMPARE(e.file, file);
        }
        // Only what cannot be read at all is not handed to the desktop.
        const Result<void> shown = service_.show(file);
        QCOMPARE(shown ? ErrorKind::NotAWorkbook : shown.error().kind, kind);
        QCOMPARE(opener_.opened.contains(file), bool(shown));
        opener_.answer = false;
        QCOMPARE(service_.show(file).error().kind, shown ? ErrorKind::NotShown : kind);
        opener_.answer = true;
    }

    void sentences_data() {
        QTest::addColumn<ErrorKind>("kind");
        QTest::addColumn<FileKind>("content");
        QTest::addColumn<QString>("expected");
        const QString f = QStringLiteral("导入名单.xls");
        const auto row = [&](const char* name, ErrorKind k, const QString& text,
                             FileKind c = FileKind::Unknown) {
            QTest::newRow(name) << k << c << text;
        };
        row("missing", ErrorKind::Missing, texts::WorkbookMissing.arg(f));
        row("held", ErrorKind::OpenElsewhere, texts::WorkbookOpenElsewhere.arg(f));
        row("CSV", ErrorKind::NotAWorkbook, texts::WorkbookNotAWorkbook.arg(f, texts::FileKindText),
            FileKind::Text);
        row("other", ErrorKind::NotAWorkbook,
            texts::WorkbookNotAWorkbook.arg(f, texts::FileKindOther), FileKind::Other);
        row("BIFF5", ErrorKind::UnsupportedFormat,
            texts::WorkbookUnsupported.arg(f, texts::FileKindBiff5Workbook), FileKind::Biff5);
        row("error cell", ErrorKind::CellNotText, texts::WorkbookCellNotText.arg(f, "A17"));
        row("chart sheet, reading", ErrorKind::NoSheet, texts::WorkbookNoSheet.arg(f));
        row("chart sheet, writing", ErrorKind::NoSheetToWrite,
            texts::WorkbookNoSheetToWrite.arg(f));
        row("database", ErrorKind::DatabaseNotWritten, texts::TitleDbNotWritten.arg(f));
        row("not shown", ErrorKind::NotShown, QString());
    }
    void sentences() {
        QFETCH(ErrorKind, kind);
        QFETCH(FileKind, content);
        QFETCH(QString, expected);
        Error e(kind, QStringLiteral("/某处/导入名单.xls"), QStringLiteral("detail"));
        e.cell = QStringLiteral("A17");
        e.content = content;
        QCOMPARE(errorMessage(e), expected);
    }
};

QTEST_GUILESS_MAIN(TestWorkbookService)
#include "TestWorkbookService.moc"
