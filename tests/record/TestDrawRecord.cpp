#include "record/FileJournal.h"
#include "record/RecordLine.h"
#include "support/Files.h"
#include "support/TestSession.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

using namespace sortilo;

namespace {

const QStringList Roster =
    QStringLiteral("张伟 王芳 李娜 刘洋 陈静 杨磊 赵敏 黄强 周杰 吴霞").split(QLatin1Char(' '));

using Lines = QList<QByteArray>;

Lines linesOf(const QString& path) {
    Lines lines = fileBytes(path).split('\n');
    lines.removeLast();  // after the last line feed
    return lines;
}

void writeLines(const QString& path, const Lines& lines) {
    QVERIFY(writeBytes(path, lines.join('\n') + '\n'));
}

// Lines given new seq and prev, as a forger who knows the chain would do.
void rechain(Lines& lines) {
    QByteArray prev(32, '\0');
    for (int k = 0; k < lines.size(); ++k) {
        QByteArray& line = lines[k];
        const qsizetype end = line.indexOf("\",\"type\"");
        line = "{\"seq\":" + QByteArray::number(k) + ",\"prev\":\"" + prev.toHex() + line.mid(end);
        prev = record::lineHash(line);
    }
}

using Tamper = std::function<void(Lines&)>;

}  // namespace

Q_DECLARE_METATYPE(Tamper)

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
        t->session.importRoster(Roster);
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
        QCOMPARE(t->session.recordMark().lastLineHash, record::lineHash(linesOf(record()).last()));
        t->session.importRoster(Roster.mid(0, 4));
        drawGroup(KeepChoice::Remove, QStringLiteral("4"));
        t->session.closeRecord();
        QCOMPARE(files().filter(QStringLiteral(".jsonl")).size(), 2);
        QCOMPARE(files().size(), 2);
        const QSet<QString> verdicts{verify(record(0)).first, verify(record(1)).first};
        QCOMPARE(verdicts, (QSet<QString>{"record ok: 2 groups", "record ok: 1 groups"}));
        QVERIFY(fileBytes(record(0)).contains(QStringLiteral("\"张伟\"").toUtf8()));
        QVERIFY(t->refusals.isEmpty());
    }

    // A changed record fails at the line that was changed, or at the first line after it that
    // cannot stand.
    void tamperingFailsAtTheRightLine_data() {
        QTest::addColumn<Tamper>("tamper");
        QTest::addColumn<int>("line");
        QTest::newRow("changed name") << Tamper([](Lines& l) {
            l[2].replace("\"names\":[\"", QStringLiteral("\"names\":[\"王五").toUtf8());
        }) << 3;
        QTest::newRow("deleted line") << Tamper([](Lines& l) { l.removeAt(2); }) << 3;
        QTest::newRow("repeated line") << Tamper([](Lines& l) { l.insert(3, l[2]); }) << 4;
        QTest::newRow("reordered lines") << Tamper([](Lines& l) { l.swapItemsAt(2, 3); }) << 3;
        QTest::newRow("wrong seed")
            << Tamper([](Lines& l) { l.last().replace("\"seed\":\"00", "\"seed\":\"01"); }) << 6;
        QTest::newRow("no close") << Tamper([](Lines& l) { l.removeLast(); }) << 6;
        QTest::newRow("replacement's attempt") << Tamper([](Lines& l) {
            l[4].replace("\"attempt\":2", "\"attempt\":3");
            rechain(l);
        }) << 5;
        QTest::newRow("group drawn twice") << Tamper([](Lines& l) {
            l.insert(3, l[2]);
            rechain(l);
        }) << 4;
    }
    void tamperingFailsAtTheRightLine() {
        QFETCH(Tamper, tamper);
        QFETCH(int, line);
        drawSession();
        t->session.closeRecord();
        Lines lines = linesOf(record());
        tamper(lines);
        writeLines(record(), lines);
        const auto [said, code] = verify(record());
        QCOMPARE(code, 1);
        QVERIFY2(said.startsWith(QStringLiteral("line %1:").arg(line)), qPrintable(said));
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
