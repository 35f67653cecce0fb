// What a save does in the file system: temporary files of its own that a later save clears
// away when a crash left them, a workbook that is old or new whenever the saving process is
// killed, the file's owner, group and permissions kept, and hard links refused.
#include "platform/xlsedit/EditableWorkbook.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <csignal>

using sortilo::SheetError;
using sortilo::SheetProblem;
using sortilo::xlsedit::EditableWorkbook;

namespace {

const QString kName = QStringLiteral("导出数据.xls");

QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QByteArray encoded(const QString& path) {
    return QFile::encodeName(path);
}

QStringList entries(const QString& folder) {
    QStringList names = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
    names.sort();
    return names;
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

// Opens the workbook and makes an export's changes, without saving.
std::unique_ptr<EditableWorkbook> edited(const QString& path, int names = 200) {
    SheetError error;
    auto book = EditableWorkbook::open(path, error);
    if (!book || book->clearRange(QStringLiteral("A1:AZ5000")))
        return nullptr;
    for (int k = 1; k <= names; ++k) {
        if (book->writeCell(k + 1, 1 + k % 50, QStringLiteral("名字%1").arg(k)))
            return nullptr;
    }
    return book;
}

QString copyIn(const QString& folder) {
    const QString path = QDir(folder).filePath(kName);
    const QString original = QDir(qEnvironmentVariable("SORTILO_CORPUS_DIR"))
                                 .filePath(QStringLiteral("poi_12843-2.xls"));
    return QFile::copy(original, path) ? path : QString();
}

}  // namespace

class TestXlsEditFiles : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void orphansOfThisWorkbookRemoved();
    void killedDuringSave();
    void ownerGroupAndModeKept();
    void hardLinkRefused();
};

// Left by crashes of earlier saves: full-size temporary files of this workbook. Kept: another
// save's temporary file that is still in use, other workbooks' and other programs' files.
void TestXlsEditFiles::orphansOfThisWorkbookRemoved() {
    QTemporaryDir dir;
    const QString path = copyIn(dir.path());
    QVERIFY(!path.isEmpty());
    const QByteArray junk = fileBytes(path);
    const QStringList orphans{".导出数据.xls.sortilo-a1B2c3", ".导出数据.xls.sortilo-ZZZZZZ"};
    const QStringList kept{".导出数据.xls.sortilo-inUse1", ".其他.xls.sortilo-a1B2c3",
                           ".导出数据.xls.a1B2c3", ".导出数据.xls.sortilo-a1B2c3d", "导出数据.xls"};
    for (const QString& name : orphans + kept.mid(0, 4))
        QVERIFY(writeFile(dir.filePath(name), junk));
    QFile inUse(dir.filePath(kept[0]));
    QVERIFY(inUse.open(QIODevice::ReadOnly) && ::flock(inUse.handle(), LOCK_EX) == 0);
    auto book = edited(path);
    QVERIFY(book);
    QVERIFY(!book->save());
    QStringList expected = kept;
    expected.sort();
    QCOMPARE(entries(dir.path()), expected);
}

// A child process saves over and over and is killed at random moments. The workbook is always
// the old or the new one; the next save leaves nothing else in the folder. SORTILO_SAVE_KILLS
// sets the number of kills (tests/scripts/kill-during-save runs many).
void TestXlsEditFiles::killedDuringSave() {
    const int kills = qEnvironmentVariableIntValue("SORTILO_SAVE_KILLS") > 0
                          ? qEnvironmentVariableIntValue("SORTILO_SAVE_KILLS")
                          : 6;
    QTemporaryDir dir;
    const QString path = copyIn(dir.path());
    const QByteArray before = fileBytes(path);
    // The new contents, and how long a save takes: the kills fall within that time.
    QTemporaryDir other;
    const QString copy = copyIn(other.path());
    auto probe = edited(copy);
    QVERIFY(probe);
    QElapsedTimer clock;
    clock.start();
    QVERIFY(!probe->save());
    const qint64 saveMicros = std::max<qint64>(clock.nsecsElapsed() / 1000, 1000);
    const QByteArray after = fileBytes(copy);
    int leftovers = 0;
    for (int k = 0; k < kills; ++k) {
        QVERIFY(writeFile(path, before));  // each child saves the same edit of the same file
        int ready[2];
        QVERIFY(::pipe(ready) == 0);
        const pid_t child = ::fork();
        QVERIFY(child >= 0);
        if (child == 0) {
            ::close(ready[0]);
            auto book = edited(path);
            if (!book || ::write(ready[1], "r", 1) != 1)
                ::_exit(1);
            for (;;)
                book->save();
        }
        ::close(ready[1]);
        char byte = 0;
        const bool started = ::read(ready[0], &byte, 1) == 1;
        ::close(ready[0]);
        if (started)
            ::usleep(useconds_t(QRandomGenerator::global()->bounded(2 * saveMicros)));
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        QVERIFY(started);
        const QByteArray now = fileBytes(path);
        QVERIFY(now == before || now == after);
        leftovers += entries(dir.path()).size() > 1 ? 1 : 0;
    }
    qInfo("%d kills, %d left a temporary file behind", kills, leftovers);
    QVERIFY(writeFile(path, before));
    auto book = edited(path);
    QVERIFY(book);
    QVERIFY(!book->save());
    QCOMPARE(fileBytes(path), after);
    QCOMPARE(entries(dir.path()), QStringList{kName});
}

// Root may give the file back to its owner; others keep at least the mode.
void TestXlsEditFiles::ownerGroupAndModeKept() {
    QTemporaryDir dir;
    const QString path = copyIn(dir.path());
    const bool root = ::geteuid() == 0;
    const uid_t owner = root ? 4321 : ::geteuid();
    const gid_t group = root ? 5432 : ::getegid();
    const QByteArray before = fileBytes(path);
    QVERIFY(::chown(encoded(path).constData(), owner, group) == 0);
    QVERIFY(::chmod(encoded(path).constData(), 0640) == 0);
    auto book = edited(path);
    QVERIFY(book);
    QVERIFY(!book->save());
    struct stat st {};
    QVERIFY(::stat(encoded(path).constData(), &st) == 0);
    QCOMPARE(st.st_mode & 07777, 0640u);
    QCOMPARE(st.st_uid, owner);
    QCOMPARE(st.st_gid, group);
    QVERIFY(fileBytes(path) != before);
}

// Saving would give one name the new contents and leave the other with the old: refused, and
// both names keep the one file as it was.
void TestXlsEditFiles::hardLinkRefused() {
    QTemporaryDir dir;
    const QString path = copyIn(dir.path());
    const QString second = dir.filePath(QStringLiteral("备份.xls"));
    QVERIFY(::link(encoded(path).constData(), encoded(second).constData()) == 0);
    const QByteArray before = fileBytes(path);
    auto book = edited(path);
    QVERIFY(book);
    QCOMPARE(book->save().problem, SheetProblem::HardLinked);
    struct stat a {
    }, b{};
    QVERIFY(::stat(encoded(path).constData(), &a) == 0);
    QVERIFY(::stat(encoded(second).constData(), &b) == 0);
    QCOMPARE(a.st_ino, b.st_ino);
    QCOMPARE(fileBytes(path), before);
    QCOMPARE(entries(dir.path()), (QStringList{QStringLiteral("备份.xls"), kName}));
    // With one name left the same edit saves.
    QVERIFY(QFile::remove(second));
    QVERIFY(!book->save());
    QVERIFY(fileBytes(path) != before);
}

QTEST_GUILESS_MAIN(TestXlsEditFiles)
#include "tst_xlsedit_files.moc"
