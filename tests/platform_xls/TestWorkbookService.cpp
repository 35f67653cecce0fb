// What the workbook service adds where the roster and export tests do not reach: each form of
// lock file another program leaves, a desktop that cannot show the file, the sentences for
// failures, and rosters that are no workbooks: read for the import, refused for the export.
#include "platform/ErrorMessage.h"
#include "platform/Texts.h"
#include "platform/WorkbookService.h"
#include "support/TestData.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <tuple>

using namespace sortilo;

namespace {

struct Opener : DesktopOpener {
    bool answer = true;
    bool open(const QString&) override { return answer; }
};

}  // namespace

class TestWorkbookService : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void lockFilesAndDesktop() {
        QTemporaryDir dir;
        Opener opener;
        const WorkbookService service(opener);
        const QString file = dir.filePath(QStringLiteral("导出数据.xls"));
        QVERIFY(QFile(file).open(QIODevice::WriteOnly));
        for (const char* lock : {".~lock.导出数据.xls#", "~$导出数据.xls", "~$数据.xls"}) {
            QFile lockFile(dir.filePath(QString::fromUtf8(lock)));
            QVERIFY(!service.heldElsewhere(file));
            QVERIFY(lockFile.open(QIODevice::WriteOnly));
            QVERIFY(service.heldElsewhere(file));
            QCOMPARE(service.edit(file).error().kind, ErrorKind::OpenElsewhere);
            QVERIFY(lockFile.remove());
        }
        QVERIFY(service.show(file));
        opener.answer = false;
        QCOMPARE(service.show(file).error().kind, ErrorKind::NotShown);
        QCOMPARE(errorMessage(service.show(file).error()),
                 texts::WorkbookNotShown.arg(QDir::toNativeSeparators(file)));
        QCOMPARE(service.show(dir.filePath("none.xls")).error().kind, ErrorKind::Missing);
    }

    // Every failure names the file in a sentence of its own, and every kind of file a roster can
    // turn out to be has a name of its own: a mix-up would give the operator the wrong advice.
    void everyFailureHasItsOwnSentence() {
        // The kinds up to FolderNotShown are about a file; those after it name none.
        QSet<QString> sentences;
        for (int k = 0; k <= int(ErrorKind::TooFewToRedraw); ++k) {
            const bool named = k <= int(ErrorKind::FolderNotShown);
            const QString text =
                errorMessage(named ? Error(ErrorKind(k), QStringLiteral("/某处/名单.xls"))
                                   : fault(ErrorKind(k)));
            QVERIFY2(named ? text.contains(QStringLiteral("名单.xls"))
                           : !text.isEmpty() && !text.contains(QLatin1Char('%')),
                     qPrintable(text));
            sentences.insert(text);
        }
        QCOMPARE(sentences.size(), int(ErrorKind::TooFewToRedraw) + 1);
        QSet<QString> kinds;
        for (int k = 0; k <= int(FileKind::Biff5); ++k) {
            Error e(ErrorKind::NotAWorkbook, QStringLiteral("名单.xls"));
            e.content = FileKind(k);
            const QString text = errorMessage(e);
            QVERIFY2(!text.contains(QStringLiteral("而是！")), qPrintable(text));
            kinds.insert(text);
        }
        // An unknown file, a compound file and a record stream not told apart any further are
        // all "some other kind of file", named without its folder.
        QCOMPARE(kinds.size(), int(FileKind::Biff5) + 1 - 3);
        const Error e(ErrorKind::NotAWorkbook, QStringLiteral("/某处/导入名单.xls"));
        QCOMPARE(errorMessage(e),
                 texts::WorkbookNotAWorkbook.arg("导入名单.xls", texts::FileKindOther));
    }

    void rostersThatAreNoWorkbooks() {
        Opener opener;
        const WorkbookService service(opener);
        const QString dir = sortilo::test::testData(QStringLiteral("rosters/"));
        // What lies past the roster is counted in every format: the names past the 2000th, the
        // first empty row and the names below it (an ss:Index gap, a line of spaces).
        for (const auto& [file, names, over, emptyRow, below] :
             {std::tuple{"made_over_2000.csv.xls", 2000, 100, 0, 0},
              {"made_empty_ends.csv.xls", 5, 0, 8, 8},
              {"made_index_gaps.xml.xls", 3, 0, 6, 2}}) {
            const Result<NameColumn> column =
                service.readNames(dir + QString::fromLatin1(file), 3, 2000);
            QVERIFY(column);
            QCOMPARE(column->names.size(), names);
            QCOMPARE(column->overLimit, over);
            QCOMPARE(column->emptyRow, emptyRow);
            QCOMPARE(column->belowEmpty, below);
        }
        const Result<NameColumn> types =
            service.readNames(dir + QStringLiteral("made_types.xml.xls"), 3, 2000);
        QCOMPARE(types.error().kind, ErrorKind::CellNotText);  // an Error cell, as in a workbook
        QCOMPARE(types.error().cell, QStringLiteral("A18"));
        const QString page = QStringLiteral("made_utf8_meta.html.xls");
        const auto edited = service.edit(dir + page);
        QVERIFY(!edited);
        QCOMPARE(errorMessage(edited.error()),
                 texts::WorkbookNotAWorkbook.arg(page, texts::FileKindHtml));
    }
};

QTEST_GUILESS_MAIN(TestWorkbookService)
#include "TestWorkbookService.moc"
