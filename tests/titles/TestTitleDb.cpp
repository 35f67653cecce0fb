#include "TitleDbFiles.h"
#include "platform/db/KeyDerivation.h"
#include "platform/db/Recordset.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace sortilo;
using namespace sortilo::db;

class TestTitleDb : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    QString path(const char* name) const { return dir_.filePath(QString::fromUtf8(name)); }
    static QString connection(const QString& file, const QString& password = testfiles::Password) {
        return QStringLiteral(
                   "provider=microsoft.jet.oledb.4.0;Jet OLEDB:Database password=%1;"
                   "data source=%2")
            .arg(password, file);
    }

private Q_SLOTS:
    void parseConnectionString_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("password");
        QTest::addColumn<bool>("ok");
        QTest::newRow("program's own") << "provider=x;Jet OLEDB:Database password=583104726,1;"
                                          "data source=/a/Sortibase.mdb"
                                       << "/a/Sortibase.mdb"
                                       << "583104726,1" << true;
        QTest::newRow("any case, blanks") << " DATA SOURCE = /a b/f.mdb ; jet oledb:database "
                                             "PASSWORD=pw"
                                          << "/a b/f.mdb"
                                          << "pw" << true;
        QTest::newRow("';' in the folder") << "Jet OLEDB:Database password=p;data source=/x;y/f"
                                           << "/x;y/f"
                                           << "p" << true;
        QTest::newRow("quoted") << "data source=\"/q;r/f\";Jet OLEDB:Database password='a''b'"
                                << "/q;r/f"
                                << "a'b" << true;
        QTest::newRow("no data source") << "provider=x;Jet OLEDB:Database password=p"
                                        << ""
                                        << "p" << false;
    }
    void parseConnectionString() {
        QFETCH(QString, text);
        QFETCH(QString, source);
        QFETCH(QString, password);
        QFETCH(bool, ok);
        ConnectionAttributes a;
        QCOMPARE(!db::parseConnectionString(text, a), ok);
        QCOMPARE(a.dataSource, source);
        QCOMPARE(a.databasePassword, password);
    }

    // RFC 6070 vectors: the ready-made keys must be the ones the engine would derive.
    void pbkdf2_data() {
        QTest::addColumn<QByteArray>("password");
        QTest::addColumn<QByteArray>("salt");
        QTest::addColumn<int>("iterations");
        QTest::addColumn<QByteArray>("key");
        QTest::newRow("1") << QByteArray("password") << QByteArray("salt") << 1
                           << QByteArray("0c60c80f961f0e71f3a9b524af6012062fe037a6");
        QTest::newRow("4096") << QByteArray("password") << QByteArray("salt") << 4096
                              << QByteArray("4b007901b765489abead49d926f721d065a429c1");
        QTest::newRow("two blocks")
            << QByteArray("passwordPASSWORDpassword")
            << QByteArray("saltSALTsaltSALTsaltSALTsaltSALTsalt") << 4096
            << QByteArray("3d2eec4fe41c849b80c8d83662c0e44a8b291a964cf2f07038");
    }
    void pbkdf2() {
        QFETCH(QByteArray, password);
        QFETCH(QByteArray, salt);
        QFETCH(int, iterations);
        QFETCH(QByteArray, key);
        QCOMPARE(pbkdf2Sha1(password, salt, iterations, static_cast<int>(key.size() / 2)).toHex(),
                 key);
    }

    void openNeverCreatesAFile() {
        Connection cn;
        const QString file = path("none.mdb");
        QCOMPARE(cn.Open(connection(file)).problem, DbProblem::Missing);
        QVERIFY(!cn.isOpen());
        QVERIFY(!QFileInfo::exists(file));
    }

    void openChecksTheKey() {
        const QString file = path("keyed.mdb");
        QCOMPARE(testfiles::makeTitleDb(file, {{"a"}}, 2), QString());
        Connection cn;
        QCOMPARE(cn.Open(connection(file, "583104726")).problem, DbProblem::NotADatabase);
        QVERIFY(!cn.Open(connection(file)));
    }

    // Values by position, null kept apart from empty text, and nothing written until the batch.
    void recordsetReadsAndWritesByPosition() {
        const QString file = path("rs.mdb");
        QCOMPARE(testfiles::makeTitleDb(file, {{"r1", QVariant()}, {"r2", ""}, {"r3", "x"}}, 3),
                 QString());
        Connection cn;
        QVERIFY(!cn.Open(connection(file)));
        Recordset rs;
        QVERIFY(
            !rs.Open(QStringLiteral("select * from 标题 "), cn, adOpenStatic, adLockOptimistic));
        QCOMPARE(rs.RecordCount(), 3);
        QCOMPARE(rs.Fields().Count(), 3);
        rs.MoveFirst();
        QVERIFY(rs.Fields().Item(1).Value().isNull());
        rs.Fields().Item(1).setValue(QString(QLatin1String("")));
        rs.MoveNext();
        QCOMPARE(rs.Fields().Item(1).Value(), QVariant(QString(QLatin1String(""))));
        QVERIFY(!rs.Fields().Item(1).Value().isNull());
        rs.MoveNext();
        rs.Fields().Item(2).setValue(QVariant());
        rs.MoveNext();
        QVERIFY(rs.atEnd());
        QVERIFY(testfiles::readTitleDb(file)[0][1].isNull());
        QVERIFY(!rs.UpdateBatch());
        QVERIFY(!rs.Close());
        cn.Close();
        const testfiles::Rows rows = testfiles::readTitleDb(file);
        QCOMPARE(rows[0][1], QVariant(QString(QLatin1String(""))));
        QCOMPARE(rows[2][1], QVariant(QStringLiteral("x")));
        QVERIFY(rows[2][2].isNull());
    }

    // The ready-made key opens the file on its own, without the engine deriving one.
    void pageKeyOpensTheFile() {
        const QString file = path("raw.mdb");
        QCOMPARE(testfiles::makeTitleDb(file, {{"a"}}, 1), QString());
        const QByteArray key =
            cachedPageKey(testfiles::Password, testfiles::fileBytes(file).left(16));
        sqlite3* db = nullptr;
        QCOMPARE(sqlite3_open_v2(QFile::encodeName(file).constData(), &db, SQLITE_OPEN_READONLY,
                                 nullptr),
                 SQLITE_OK);
        const QByteArray pragma = "PRAGMA key = \"x'" + key.toHex() + "'\";";
        sqlite3_exec(db, pragma.constData(), nullptr, nullptr, nullptr);
        QCOMPARE(sqlite3_exec(db, "SELECT * FROM 标题;", nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close_v2(db);
    }

    // A refused batch is gone: closing later, when the file is free, writes nothing of it.
    void refusedBatchIsDropped() {
        const QString file = path("busy.mdb");
        QCOMPARE(testfiles::makeTitleDb(file, {{"a"}, {"b"}}, 1), QString());
        Connection cn;
        QVERIFY(!cn.Open(connection(file)));
        Recordset rs;
        QVERIFY(
            !rs.Open(QStringLiteral("select * from 标题 "), cn, adOpenStatic, adLockOptimistic));
        rs.MoveFirst();
        rs.Fields().Item(0).setValue(QStringLiteral("x"));
        {
            testfiles::OtherConnection other(file, "BEGIN IMMEDIATE;");
            QVERIFY(other.ok());
            QCOMPARE(rs.UpdateBatch().problem, DbProblem::Locked);
        }
        QVERIFY(!rs.Close());
        QCOMPARE(testfiles::readTitleDb(file)[0][0], QVariant(QStringLiteral("a")));
    }

    void queryErrorsAreNamed() {
        const QString file = path("q.mdb");
        QCOMPARE(testfiles::makeTitleDb(file, {{"a"}}, 1), QString());
        Connection cn;
        QVERIFY(!cn.Open(connection(file)));
        Recordset rs;
        QCOMPARE(rs.Open("select * from 其他 ", cn, adOpenStatic, adLockOptimistic).problem,
                 DbProblem::NoTable);
        QCOMPARE(rs.Open("delete from 标题", cn, adOpenStatic, adLockOptimistic).problem,
                 DbProblem::BadQuery);
        QCOMPARE(testfiles::readTitleDb(file).size(), 1);
    }

    void createDatabaseNeverReplaces() {
        const QString file = path("c.mdb");
        QVERIFY(!createDatabase(file, "k", {"CREATE TABLE t (a)"}));
        QCOMPARE(createDatabase(file, "k", {"CREATE TABLE u (a)"}).problem, DbProblem::Exists);
        QVERIFY(createDatabase(path("d.mdb"), "k", {"NOT SQL"}));
        QVERIFY(!QFileInfo::exists(path("d.mdb")));
    }
};

QTEST_GUILESS_MAIN(TestTitleDb)
#include "TestTitleDb.moc"
