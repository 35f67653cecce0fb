// Workbooks that must be refused, saves that must fail without harm, and inputs the fuzzer
// once found troublesome.
#include "platform/xlsedit/CompoundFile.h"
#include "platform/xlsedit/EditableWorkbook.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/resource.h>
#include <sys/stat.h>
#include <csignal>

using sortilo::SheetError;
using sortilo::SheetProblem;
using namespace sortilo::xlsedit;

Q_DECLARE_METATYPE(sortilo::SheetProblem)

namespace {

QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// The ways a save can fail: each makes the next save fail and is undone afterwards. Tests run
// as root, who may write anywhere, so a read-only file or folder is one without any write
// permission bit, which the save honours as a spreadsheet program does; a full disk is a
// file size limit on this process, which makes the real write fail as a full disk would; a
// folder moved away and replaced by a file makes the system refuse the temporary file.
enum class Obstacle { ReadOnlyFile, ReadOnlyFolder, DiskFull, FolderReplaced };

QString movedAway(const QString& folder) {
    return folder + QStringLiteral(".moved");
}

void raise(Obstacle o, const QString& folder, const QString& file) {
    if (o == Obstacle::ReadOnlyFile)
        ::chmod(QFile::encodeName(file).constData(), 0444);
    if (o == Obstacle::ReadOnlyFolder)
        ::chmod(QFile::encodeName(folder).constData(), 0555);
    if (o == Obstacle::FolderReplaced) {
        QDir().rename(folder, movedAway(folder));
        QFile stand(folder);
        stand.open(QIODevice::WriteOnly);
    }
    if (o == Obstacle::DiskFull) {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{};
        ::getrlimit(RLIMIT_FSIZE, &limit);
        limit.rlim_cur = 4096;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
}

void lower(Obstacle o, const QString& folder, const QString& file) {
    if (o == Obstacle::FolderReplaced) {
        QFile::remove(folder);
        QDir().rename(movedAway(folder), folder);
    }
    ::chmod(QFile::encodeName(file).constData(), 0644);
    ::chmod(QFile::encodeName(folder).constData(), 0755);
    if (o == Obstacle::DiskFull) {
        rlimit limit{};
        ::getrlimit(RLIMIT_FSIZE, &limit);
        limit.rlim_cur = limit.rlim_max;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
}

}  // namespace

Q_DECLARE_METATYPE(Obstacle)

class TestXlsEditFailures : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void failedSaveKeepsOriginal_data();
    void failedSaveKeepsOriginal();
    void refusals_data();
    void refusals();
    void fuzzFindingsReplay();
};

void TestXlsEditFailures::failedSaveKeepsOriginal_data() {
    QTest::addColumn<Obstacle>("obstacle");
    QTest::addColumn<QString>("file");
    QTest::newRow("read-only file") << Obstacle::ReadOnlyFile << "poi_12843-2.xls";
    QTest::newRow("read-only folder") << Obstacle::ReadOnlyFolder << "poi_12843-2.xls";
    QTest::newRow("disk full") << Obstacle::DiskFull << "poi_12843-2.xls";
    QTest::newRow("disk full, mini stream") << Obstacle::DiskFull << "poi_chinese-provinces.xls";
    QTest::newRow("folder replaced by a file") << Obstacle::FolderReplaced << "poi_12843-2.xls";
}

void TestXlsEditFailures::failedSaveKeepsOriginal() {
    QFETCH(Obstacle, obstacle);
    QFETCH(QString, file);
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("导出"));
    QVERIFY(QDir().mkpath(folder));
    const QString path = folder + QStringLiteral("/导出数据.xls");
    QVERIFY(QFile::copy(QDir(qEnvironmentVariable("SORTILO_CORPUS_DIR")).filePath(file), path));
    const QByteArray original = fileBytes(path);
    SheetError error;
    auto book = EditableWorkbook::open(path, error);
    QVERIFY(book);
    QVERIFY(!book->clearRange(QStringLiteral("A1:AZ5000")));
    for (int r = 1; r <= 300; ++r)
        QVERIFY(!book->writeCell(r, 1 + r % 50, QStringLiteral("名字%1").arg(r)));

    raise(obstacle, folder, path);
    const SheetError failed = book->save();
    lower(obstacle, folder, path);
    QCOMPARE(failed.problem, SheetProblem::NotSaved);
    QVERIFY(!failed.detail.isEmpty());
    QCOMPARE(fileBytes(path), original);
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System),
             QStringList{QStringLiteral("导出数据.xls")});
    // Nothing was lost: once the obstacle is gone the same edit saves.
    QVERIFY(!book->save());
    QVERIFY(fileBytes(path) != original);
    QVERIFY(EditableWorkbook::open(path, error));
}

void TestXlsEditFailures::refusals_data() {
    QTest::addColumn<QByteArray>("content");  // empty: no file at all
    QTest::addColumn<bool>("folder");
    QTest::addColumn<SheetProblem>("problem");
    const QByteArray cfb("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
    QTest::newRow("missing") << QByteArray() << false << SheetProblem::Missing;
    QTest::newRow("a folder") << QByteArray() << true << SheetProblem::Unreadable;
    QTest::newRow("empty file") << QByteArray("") << false << SheetProblem::NotAWorkbook;
    QTest::newRow("xlsx") << QByteArray("PK\x03\x04rest", 8) << false
                          << SheetProblem::UnsupportedFormat;
    QTest::newRow("text") << QByteArray("姓名,年龄\n") << false << SheetProblem::NotAWorkbook;
    QTest::newRow("header only") << cfb + QByteArray(504, '\0') << false << SheetProblem::Corrupt;
    QTest::newRow("cut short") << cfb + QByteArray(100, '\xFF') << false << SheetProblem::Corrupt;
}

void TestXlsEditFailures::refusals() {
    QFETCH(QByteArray, content);
    QFETCH(bool, folder);
    QFETCH(SheetProblem, problem);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("导出数据.xls"));
    if (folder)
        QVERIFY(QDir().mkdir(path));
    else if (!content.isNull())
        QVERIFY(writeFile(path, content));
    SheetError error;
    QVERIFY(!EditableWorkbook::open(path, error));
    QCOMPARE(error.problem, problem);
    if (!folder && !content.isNull())
        QCOMPARE(fileBytes(path), content);
}

// Inputs kept from fuzzing: each either opens, takes the edit and saves a file that opens
// again, or is refused, never crashes and never changes the file when refused. As in the fuzz
// target, an input that is not a compound file is a Workbook stream to pack into one.
void TestXlsEditFailures::fuzzFindingsReplay() {
    QDirIterator it(QStringLiteral(XLSEDIT_FUZZ_SEEDS), QDir::Files);
    QTemporaryDir dir;
    int inputs = 0, edited = 0;
    while (it.hasNext()) {
        QByteArray input = fileBytes(it.next());
        if (!input.startsWith(QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8))) {
            CompoundFile packed;
            packed.root.storage = true;
            packed.root.children.push_back(
                CfbNode{QStringLiteral("Workbook"), false, {}, input, {}});
            QString reason;
            QVERIFY(writeCompoundFile(packed, input, reason));
        }
        const QString path = dir.filePath(QStringLiteral("fuzz.xls"));
        QVERIFY(writeFile(path, input));
        ++inputs;
        SheetError error;
        auto book = EditableWorkbook::open(path, error);
        if (!book) {
            QVERIFY(!error.detail.isEmpty() || error.problem == SheetProblem::NotAWorkbook);
            continue;
        }
        book->clearRange(QStringLiteral("A1:AZ5000"));
        book->writeCell(1, 1, QStringLiteral("第1组"));
        book->writeCell(2, 1, QString(5000, QChar(0x4E2D)) + QString(5000, QLatin1Char('a')));
        if (book->save()) {
            QCOMPARE(fileBytes(path), input);
        } else {
            QVERIFY2(EditableWorkbook::open(path, error), qPrintable(it.fileName()));
            ++edited;
        }
    }
    qInfo("%d inputs, %d edited and saved", inputs, edited);
    QVERIFY(inputs > 0 && edited > 0);
}

QTEST_GUILESS_MAIN(TestXlsEditFailures)
#include "tst_xlsedit_failures.moc"
