// Editing corpus workbooks from many writers: clear the export range, write an export, save,
// and let xlrd confirm that the written cells are exact and everything else unchanged. Every
// workbook takes an export big enough for several string CONTINUEs and row blocks; one takes
// the largest export the program writes (reading 50,000 cells back through xlrd for every
// workbook would only repeat that one check at a minute's cost).
#include "RoundTrip.h"
#include "platform/xls/Workbook.h"
#include "platform/xlsedit/EditableWorkbook.h"
#include "support/Failure.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using sortilo::ErrorKind;
using sortilo::Result;
using sortilo::xlsedit::CellRect;
using sortilo::xlsedit::EditableWorkbook;

Q_DECLARE_METATYPE(std::optional<sortilo::ErrorKind>)

namespace {

const CellRect kExportRange{0, 0, 4999, 51};  // A1:AZ5000

// The export's own order: per group its names, then its title.
Written writeExport(EditableWorkbook& book, int groups, int names) {
    Written written;
    // Each name twice, as when drawn names stay in the pool: the string table holds it once.
    const QStringList all =
        sortilo::test::numberedNames(groups * names / 2, QStringLiteral("欧阳"));
    for (int g = 1; g <= groups; ++g) {
        for (int k = 1; k <= names; ++k) {
            const QString& name = all[((g - 1) * names + k - 1) % all.size()];
            if (!book.writeCell(k + 1, g, name)) {
                return {};
            }
            written.insert({k, g - 1}, name);
        }
        const QString title = QStringLiteral("第%1组").arg(g);
        if (!book.writeCell(1, g, title)) {
            return {};
        }
        written.insert({0, g - 1}, title);
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

QVector<CorpusFile> corpusFiles() {
    QVector<CorpusFile> files;
    QFile manifest(corpusFile(QStringLiteral("MANIFEST.tsv")));
    if (!manifest.open(QIODevice::ReadOnly)) {
        return files;
    }
    manifest.readLine();
    while (!manifest.atEnd()) {
        const QStringList fields = QString::fromUtf8(manifest.readLine()).split(QLatin1Char('\t'));
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
    void initTestCase() { QVERIFY2(!corpusFiles().isEmpty(), "corpus manifest not found"); }

    void corpusRoundTrip_data();
    void corpusRoundTrip();
};

void TestXlsEdit::corpusRoundTrip_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<std::optional<ErrorKind>>("problem");
    QTest::addColumn<int>("groups");
    QTest::addColumn<int>("names");
    const QVector<CorpusFile> files = corpusFiles();
    for (int i = 0; i < files.size(); ++i) {
        if (inThisShard(i)) {
            QTest::newRow(qPrintable(files[i].name))
                << files[i].name << expectedProblem(files[i]) << 10 << 200;
        }
        // A template's merged areas (headings, banners) over the few cells a small export writes.
        if (inThisShard(i) && files[i].tags.contains(QStringLiteral("merged"))) {
            QTest::newRow(qPrintable(files[i].name + QStringLiteral(", 3 groups")))
                << files[i].name << expectedProblem(files[i]) << 3 << 7;
        }
    }
    if (inThisShard(files.size())) {
        QTest::newRow("largest export")
            << QStringLiteral("poi_54016.xls") << std::optional<ErrorKind>() << 50 << 1000;
    }
}

void TestXlsEdit::corpusRoundTrip() {
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
        QSKIP(qPrintable(QStringLiteral("xlrd reads neither original nor copy: ") + after.error));
    }
    const XlrdSheet* sheet = after.sheet(book->activeSheetName());
    QVERIFY(sheet);
    for (auto it = written.begin(); it != written.end(); ++it) {
        QCOMPARE(sheet->cells.value(it.key())[1].toString(), it.value());
    }
}

QTEST_GUILESS_MAIN(TestXlsEdit)
#include "tst_xlsedit.moc"
