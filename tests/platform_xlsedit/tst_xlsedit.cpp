// Editing corpus workbooks from many writers: clear the export range, write an export big enough
// for several string CONTINUEs and row blocks, save, and let xlrd confirm the written cells exact
// and all else unchanged. One workbook takes the largest export the program writes (reading
// 50,000 cells back through xlrd for every workbook would only repeat that check at great cost).
#include "RoundTrip.h"
#include "platform/xls/Workbook.h"
#include "platform/xlsedit/EditableWorkbook.h"
#include "support/Failure.h"

#include <QTemporaryDir>
#include <QTest>

using sortilo::ErrorKind;
using sortilo::Result;
using sortilo::xlsedit::CellRect;
using sortilo::xlsedit::EditableWorkbook;

Q_DECLARE_METATYPE(std::optional<sortilo::ErrorKind>)

namespace {

const CellRect kExportRange{0, 0, 4999, 51};  // A1:AZ5000

// The export's own order: per group its names, then its title above them.
Written writeExport(EditableWorkbook& book, int groups, int names) {
    Written written;
    // Each name twice, as when drawn names stay in the pool: the string table holds it once.
    const QStringList all =
        sortilo::test::numberedNames(groups * names / 2, QStringLiteral("欧阳"));
    for (int g = 1; g <= groups; ++g) {
        for (int k = 1; k <= names + 1; ++k) {
            const int row = k <= names ? k + 1 : 1;
            const QString text = k <= names ? all[((g - 1) * names + k - 1) % all.size()]
                                            : QStringLiteral("第%1组").arg(g);
            if (!book.writeCell(row, g, text)) {
                return {};
            }
            written.insert({row - 1, g - 1}, text);
        }
    }
    return written;
}

struct CorpusFile {
    QString name;
    QStringList tags;
};

// SORTILO_TEST_SHARD "k/n" (set by CTest): this run takes every n-th file, starting with the k-th.
bool inThisShard(int index) {
    const QStringList shard = qEnvironmentVariable("SORTILO_TEST_SHARD").split(QLatin1Char('/'));
    if (shard.size() != 2) {
        return true;
    }
    const int n = shard[1].toInt();
    return n < 2 || index % n == shard[0].toInt() - 1;
}

// The corpus files with their tags, from its manifest.
QVector<CorpusFile> corpusFiles() {
    QVector<CorpusFile> files;
    const QList<QByteArray> lines =
        fileBytes(corpusFile(QStringLiteral("MANIFEST.tsv"))).split('\n');
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QStringList fields = QString::fromUtf8(lines[i]).split(QLatin1Char('\t'));
        if (fields.size() > 5) {
            files.push_back({fields[0], fields[5].split(QLatin1Char(','))});
        }
    }
    return files;
}

// What opening a corpus file for editing must give, from its tags: nothing when it opens.
std::optional<ErrorKind> expectedProblem(const CorpusFile& f) {
    if (f.tags.contains(QStringLiteral("encrypted")) ||
        f.tags.contains(QStringLiteral("encrypted-ooxml"))) {
        return ErrorKind::PasswordProtected;
    }
    if (f.tags.contains(QStringLiteral("biff5")) || f.tags.contains(QStringLiteral("nonxls-zip")) ||
        f.tags.contains(QStringLiteral("biff2-4"))) {
        return ErrorKind::UnsupportedFormat;
    }
    if (f.tags.contains(QStringLiteral("biff8"))) {
        return std::nullopt;
    }
    if (f.tags.contains(QStringLiteral("structure-problem"))) {
        return ErrorKind::Corrupt;
    }
    return ErrorKind::NotAWorkbook;
}

}  // namespace

class TestXlsEdit : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void corpusRoundTrip_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<std::optional<ErrorKind>>("problem");
        QTest::addColumn<int>("groups");
        QTest::addColumn<int>("names");
        const QVector<CorpusFile> files = corpusFiles();
        QVERIFY2(!files.isEmpty(), "corpus manifest not found");
        for (int i = 0; i < files.size(); ++i) {
            if (!inThisShard(i)) {
                continue;
            }
            const QString& name = files[i].name;
            QTest::newRow(qPrintable(name)) << name << expectedProblem(files[i]) << 10 << 200;
            // A template's merged areas (headings, banners) over a small export's few cells.
            if (files[i].tags.contains(QStringLiteral("merged"))) {
                QTest::newRow(qPrintable(name + QStringLiteral(", 3 groups")))
                    << name << expectedProblem(files[i]) << 3 << 7;
            }
        }
        if (inThisShard(files.size())) {
            QTest::newRow("largest export")
                << QStringLiteral("poi_54016.xls") << std::optional<ErrorKind>() << 50 << 1000;
        }
    }

    void corpusRoundTrip() {
        QFETCH(QString, file);
        QFETCH(std::optional<ErrorKind>, problem);
        QFETCH(int, groups);
        QFETCH(int, names);
        QTemporaryDir dir;
        const QString path = copyIn(dir.path(), file);
        Result<EditableWorkbook> book = EditableWorkbook::open(path);
        QCOMPARE(book ? std::nullopt : std::optional(book.error().kind), problem);
        if (problem) {
            return;
        }
        // The sheet written is the one the reader reads (and the spreadsheet program shows).
        const auto read = sortilo::xls::Workbook::open(path);
        QVERIFY(read);
        QCOMPARE(book->activeSheetIndex(), read->activeSheetIndex());
        const XlrdBook before = readWithXlrd(path);
        QVERIFY(book->clearRange(QStringLiteral("A1:AZ5000")));
        const Written written = writeExport(*book, groups, names);
        QCOMPARE(written.size(), groups * (names + 1));
        const Result<void> saved = book->save();
        QVERIFY2(saved, qPrintable(failure(saved)));
        QVERIFY(EditableWorkbook::open(path));
        const XlrdBook after = readWithXlrd(path);
        if (before.error.isEmpty()) {
            compareBooks(before, after, book->activeSheetName(), kExportRange, written);
            checkStructure(corpusFile(file), path, book->activeSheetIndex());
            checkExportMarks(corpusFile(file), path, book->activeSheetIndex());
            return;
        }
        // xlrd refuses the original (wrong counts, odd containers): our rewrite may well be
        // readable; then at least the written cells must be there.
        if (!after.error.isEmpty()) {
            QSKIP(qPrintable(QStringLiteral("xlrd reads neither file: ") + after.error));
        }
        const XlrdSheet* sheet = after.sheet(book->activeSheetName());
        QVERIFY(sheet);
        for (auto it = written.begin(); it != written.end(); ++it) {
            QCOMPARE(sheet->cells.value(it.key())[1].toString(), it.value());
        }
    }
};

QTEST_GUILESS_MAIN(TestXlsEdit)
#include "tst_xlsedit.moc"
