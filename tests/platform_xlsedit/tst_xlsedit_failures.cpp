// Saves that must fail without harm or are killed midway, and what a save leaves in the folder.
#include "RoundTrip.h"
#include "platform/xlsedit/EditableWorkbook.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <csignal>

using namespace sortilo;
using namespace sortilo::xlsedit;

namespace {

const QString kName = QStringLiteral("导出数据.xls");

QStringList entries(const QString& folder) {
    QStringList names = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
    names.sort();
    return names;
}

// Opens the workbook and makes an export's changes, without saving.
std::optional<EditableWorkbook> edited(const QString& path) {
    Result<EditableWorkbook> book = EditableWorkbook::open(path);
    if (!book || !book->clearRange(QStringLiteral("A1:AZ5000"))) {
        return std::nullopt;
    }
    for (int k = 1; k <= 300; ++k) {
        if (!book->writeCell(k, 1 + k % 50, QStringLiteral("名字%1").arg(k))) {
            return std::nullopt;
        }
    }
    return std::move(*book);
}

// Makes an export's changes and saves them.
bool editAndSave(const QString& path) {
    auto book = edited(path);
    return book && book->save();
}

// The ways a save can fail, each undone afterwards. Tests run as root, who may write anywhere:
// read-only is a file or folder without write permission bits, which the save honours; a full
// disk is a file size limit on this process; a folder replaced by a file refuses the temporary
// file; a second name (hard link) of the file would keep the old contents.
enum class Obstacle { ReadOnlyFile, ReadOnlyFolder, DiskFull, FolderReplaced, HardLink };

// Puts the obstacle up (`on`) or takes it away again.
void obstruct(Obstacle o, const QString& folder, const QString& file, bool on) {
    const QByteArray f = QFile::encodeName(file), d = QFile::encodeName(folder);
    const QByteArray link = f + ".link", moved = d + ".moved";
    if (o == Obstacle::HardLink) {
        on ? ::link(f.constData(), link.constData()) : ::unlink(link.constData());
    }
    if (o == Obstacle::ReadOnlyFile) {
        ::chmod(f.constData(), on ? 0444 : 0644);
    }
    if (o == Obstacle::ReadOnlyFolder) {
        ::chmod(d.constData(), on ? 0555 : 0755);
    }
    if (o == Obstacle::FolderReplaced && on) {
        ::rename(d.constData(), moved.constData());
        QFile(folder).open(QIODevice::WriteOnly);
    } else if (o == Obstacle::FolderReplaced) {
        ::unlink(d.constData());
        ::rename(moved.constData(), d.constData());
    }
    if (o == Obstacle::DiskFull) {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{};
        ::getrlimit(RLIMIT_FSIZE, &limit);
        limit.rlim_cur = on ? 4096 : limit.rlim_max;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
}

}  // namespace

Q_DECLARE_METATYPE(Obstacle)

class TestXlsEditFailures : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void failedSaveKeepsOriginal_data() {
        QTest::addColumn<Obstacle>("obstacle");
        QTest::addColumn<QString>("file");
        QTest::newRow("read-only file") << Obstacle::ReadOnlyFile << "poi_12843-2.xls";
        QTest::newRow("read-only folder") << Obstacle::ReadOnlyFolder << "poi_12843-2.xls";
        QTest::newRow("disk full") << Obstacle::DiskFull << "poi_12843-2.xls";
        QTest::newRow("disk full, mini stream")
            << Obstacle::DiskFull << "poi_chinese-provinces.xls";
        QTest::newRow("folder replaced by a file") << Obstacle::FolderReplaced << "poi_12843-2.xls";
        QTest::newRow("hard link") << Obstacle::HardLink << "poi_12843-2.xls";
    }

    void failedSaveKeepsOriginal() {
        QFETCH(Obstacle, obstacle);
        QFETCH(QString, file);
        QTemporaryDir dir;
        const QString folder = dir.filePath(QStringLiteral("导出"));
        QVERIFY(QDir().mkpath(folder));
        const QString path = copyIn(folder, file);
        const QByteArray original = fileBytes(path);
        auto book = edited(path);
        QVERIFY(book);

        obstruct(obstacle, folder, path, true);
        const Result<void> failed = book->save();
        obstruct(obstacle, folder, path, false);
        QVERIFY(!failed);
        QCOMPARE(failed.error().kind,
                 obstacle == Obstacle::HardLink ? ErrorKind::HardLinked : ErrorKind::NotSaved);
        QCOMPARE(failed.error().file, path);
        QVERIFY(!failed.error().detail.isEmpty());
        QCOMPARE(fileBytes(path), original);
        QCOMPARE(entries(folder), QStringList{kName});
        // Nothing was lost: once the obstacle is gone the same edit saves.
        QVERIFY(book->save());
        QVERIFY(fileBytes(path) != original);
        QVERIFY(EditableWorkbook::open(path));
    }

    // The new file keeps the old one's mode, owner and group (another owner only for root). Gone:
    // temporary files of this workbook that crashed saves left. Kept: another save's temporary file
    // still in use, other workbooks' and other programs' files.
    void replacesTheFileAlone() {
        QTemporaryDir dir;
        const QString path = copyIn(dir.path());
        const QByteArray junk = fileBytes(path);
        const QStringList orphans{".导出数据.xls.sortilo-a1B2c3", ".导出数据.xls.sortilo-ZZZZZZ"};
        QStringList kept{".导出数据.xls.sortilo-inUse1", ".其他.xls.sortilo-a1B2c3",
                         ".导出数据.xls.a1B2c3", ".导出数据.xls.sortilo-a1B2c3d"};
        for (const QString& name : orphans + kept) {
            QVERIFY(writeBytes(dir.filePath(name), junk));
        }
        QFile inUse(dir.filePath(kept[0]));
        QVERIFY(inUse.open(QIODevice::ReadOnly) && ::flock(inUse.handle(), LOCK_EX) == 0);
        const bool root = ::geteuid() == 0;
        const uid_t owner = root ? 4321 : ::geteuid();
        const gid_t group = root ? 5432 : ::getegid();
        const QByteArray name = QFile::encodeName(path);
        QVERIFY(::chown(name.constData(), owner, group) == 0);
        QVERIFY(::chmod(name.constData(), 0640) == 0);
        QVERIFY(editAndSave(path));
        struct stat st {};
        QCOMPARE(::stat(name.constData(), &st), 0);
        QVERIFY(fileBytes(path) != junk);
        QCOMPARE(st.st_mode & 07777, 0640u);
        QCOMPARE(st.st_uid, owner);
        QCOMPARE(st.st_gid, group);
        kept << kName;
        kept.sort();
        QCOMPARE(entries(dir.path()), kept);
    }

    // A child process saves an edit over and over and is killed at random moments. The workbook is
    // always the old or the new one; the next save leaves nothing else in the folder.
    // SORTILO_SAVE_KILLS sets the number of kills (tests/scripts/kill-during-save runs many).
    void killedDuringSave() {
        const int kills = std::max(qEnvironmentVariableIntValue("SORTILO_SAVE_KILLS"), 6);
        QTemporaryDir dir;
        const QString path = copyIn(dir.path());
        const QByteArray before = fileBytes(path);
        // The new contents, and how long a save takes: the kills fall within that time.
        QElapsedTimer clock;
        clock.start();
        QVERIFY(editAndSave(path));
        const qint64 saveMicros = std::max<qint64>(clock.nsecsElapsed() / 1000, 1000);
        const QByteArray after = fileBytes(path);
        int leftovers = 0;
        for (int k = 0; k < kills; ++k) {
            QVERIFY(writeBytes(path, before));  // each child saves the same edit of the same file
            auto book = edited(path);
            QVERIFY(book);
            const pid_t child = ::fork();
            QVERIFY(child >= 0);
            if (child == 0) {
                for (;;) {
                    static_cast<void>(book->save());
                }
            }
            ::usleep(useconds_t(QRandomGenerator::global()->bounded(2 * saveMicros)));
            ::kill(child, SIGKILL);
            ::waitpid(child, nullptr, 0);
            const QByteArray now = fileBytes(path);
            QVERIFY(now == before || now == after);
            leftovers += entries(dir.path()).size() > 1 ? 1 : 0;
        }
        qInfo("%d kills, %d left a temporary file behind", kills, leftovers);
        QVERIFY(writeBytes(path, before));
        QVERIFY(editAndSave(path));
        QCOMPARE(fileBytes(path), after);
        QCOMPARE(entries(dir.path()), QStringList{kName});
    }
};

QTEST_GUILESS_MAIN(TestXlsEditFailures)
#include "tst_xlsedit_failures.moc"
