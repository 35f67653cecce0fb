#include "record/FileJournal.h"
#include "record/RecordLine.h"
#include "support/Files.h"
#include "support/TestSession.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace sortilo;

// The draw record as the program writes it, checked by the verifier that is not the program
// (tools/verify-draw, written from docs/draw-record.md).
class TestDrawRecord : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<test::TestSession> t;
    std::unique_ptr<record::FileJournal> journal;

    QString folder() { return dir->filePath(record::RecordFolderName); }
    QStringList files() { return QDir(folder()).entryList(QDir::Files, QDir::Name); }
    QString record(int k = 0) { return QDir(folder()).filePath(files().value(k)); }
    // The verifier's verdict: its first line, and its exit code.
    std::pair<QString, int> verify(const QString& path) {
        QProcess verifier;
        verifier.start(QStringLiteral("python3"),
                       {qEnvironmentVariable("SORTILO_VERIFY_DRAW"), path});
        verifier.waitForFinished();
        const QString said = QString::fromUtf8(verifier.readAllStandardOutput()).trimmed();
        return {said.section(QLatin1Char('\n'), 0, 0), verifier.exitCode()};
    }
    void drawGroup(KeepChoice keep, const QString& count) {
        t->session.setKeepChoice(keep);
        t->drawGroup(count);
    }
    // How many abandoned records the next start would close; -1 when it fails.
    int closeAbandoned() {
        const Result<int> closed = record::closeAbandonedRecords(folder());
        return closed ? *closed : -1;
    }
    // A session: the room's text, a group with 否, one with 是, a replacement in the first.
    void drawSession() {
        t->session.importRoster(test::KnownAnswerRoster);
        t->session.addEntropy(QStringLiteral("20261207 第二排"));
        drawGroup(KeepChoice::Remove, QStringLiteral("3"));
        drawGroup(KeepChoice::Keep, QStringLiteral("2"));
        t->session.redrawAbsent({{1, 2}});
    }
    // The program ends as a kill would end it: nothing more is written, the files are let go.
    void killProgram() {
        t->session.keepRecord(nullptr);
        journal.reset();
    }

private Q_SLOTS:
    void init() {
        dir = std::make_unique<QTemporaryDir>();
        t = std::make_unique<test::TestSession>();
        journal = std::make_unique<record::FileJournal>(folder(), QStringLiteral("1.7.8"));
        t->session.keepRecord(journal.get());
    }

    // Two sessions, each its own file (started in the same second or not), closed at the next
    // import and at the end: the verifier accepts both, the names are text, and nothing but the
    // records stays in the folder. The mark the audience sees is the record's last line.
    void recordOfAnEvening() {
        drawSession();
        QCOMPARE(t->session.recordMark().lines, 5);
        QCOMPARE(t->session.recordMark().lastLineHash,
                 record::lineHash(fileBytes(record()).chopped(1).split('\n').last()));
        t->session.importRoster(test::KnownAnswerRoster.mid(0, 4));
        drawGroup(KeepChoice::Remove, QStringLiteral("4"));
        t->session.closeRecord();
        QCOMPARE(files().filter(QStringLiteral(".jsonl")).size(), 2);
        QCOMPARE(files().size(), 2);
        const QSet<QString> verdicts{verify(record(0)).first, verify(record(1)).first};
        QCOMPARE(verdicts, (QSet<QString>{"record ok: 2 groups", "record ok: 1 groups"}));
        QVERIFY(fileBytes(record(0)).contains(QStringLiteral("\"张伟\"").toUtf8()));
        QVERIFY(t->refusals.isEmpty());
    }

    // A program killed between two groups: the next start closes its record, which the verifier
    // accepts; a last line a power loss cut short goes first. A lost secret closes the record
    // unverifiable. A record another program still writes is left alone.
    void abandonedRecords_data() {
        QTest::addColumn<QByteArray>("cutLine");
        QTest::addColumn<bool>("secretLost");
        QTest::addColumn<QString>("verdict");
        QTest::newRow("killed") << QByteArray() << false << "record ok: 2 groups";
        QTest::newRow("power lost mid-line")
            << QByteArray("{\"seq\":4,\"pre") << false << "record ok: 2 groups";
        QTest::newRow("secret lost") << QByteArray() << true << "line 6:";
    }
    void abandonedRecords() {
        QFETCH(QByteArray, cutLine);
        QFETCH(bool, secretLost);
        QFETCH(QString, verdict);
        drawSession();
        QCOMPARE(closeAbandoned(), 0);  // still being written
        QCOMPARE(files().size(), 2);
        killProgram();
        QVERIFY(writeBytes(record(), fileBytes(record()) + cutLine));
        if (secretLost) {
            QVERIFY(QFile::remove(record(1)));
        }
        QCOMPARE(closeAbandoned(), 1);
        QCOMPARE(files().size(), 1);
        const auto [said, code] = verify(record());
        QVERIFY2(said.startsWith(verdict), qPrintable(said));
        QCOMPARE(code, secretLost ? 1 : 0);
        QCOMPARE(closeAbandoned(), 0);
    }

    // A folder that cannot be written: one message naming it, and the draw goes on unrecorded.
    void unwritableFolder() {
        QVERIFY(QDir().mkpath(folder()));
        QVERIFY(test::setReadOnly(folder()));
        drawSession();
        QCOMPARE(t->refusals, QList<ErrorKind>{ErrorKind::RecordNotWritten});
        QCOMPARE(t->model().groupCount(), 2);
        QCOMPARE(t->session.recordMark().lines, 0);
        QVERIFY(files().isEmpty());
        QVERIFY(test::setReadOnly(folder(), false));
    }
};

QTEST_GUILESS_MAIN(TestDrawRecord)
#include "TestDrawRecord.moc"
