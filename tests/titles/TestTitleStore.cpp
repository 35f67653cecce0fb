// The title store on real SQLCipher files in a temporary folder: what a load reads and what it
// stores, what a save writes, every way a file is refused, and the database layer under it.
#include "TitleDbFiles.h"
#include "platform/AppFiles.h"
#include "platform/ErrorMessage.h"
#include "platform/Texts.h"
#include "platform/db/Connection.h"
#include "platform/db/KeyDerivation.h"
#include "support/TestData.h"
#include "titles/store/TitleStore.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace sortilo;
using testfiles::Rows;

Q_DECLARE_METATYPE(sortilo::ErrorKind)

namespace {

// A row as a save writes it: the name, titles 1 to 25 (empty texts after the last), column 26.
QList<QVariant> storedRow(const QString& name, const QStringList& titles, const QVariant& c26) {
    QList<QVariant> row{name};
    for (int k = 1; k <= 25; ++k) {
        row.append(k <= titles.size() ? titles[k - 1] : QString(QLatin1String("")));
    }
    row.append(c26);
    return row;
}

// Sets named N1 to N6 with the titles given.
TitleSets named(const std::array<QStringList, TitleSetCount>& titles) {
    TitleSets sets;
    for (size_t s = 0; s < sets.size(); ++s) {
        sets[s] = {QStringLiteral("N%1").arg(s + 1), titles[s]};
    }
    return sets;
}

// What the editor lists of each set: its name and titles, one text per set.
QStringList listed(const TitleSets& sets) {
    QStringList all;
    for (const TitleSet& set : sets) {
        all << set.name + QLatin1Char(':') + set.titles.join(QLatin1Char('|'));
    }
    return all;
}

}  // namespace

class TestTitleStore : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir_;
    QString path_;

    QString folder() const { return dir_->path(); }
    void setReadOnly(bool file, bool inFolder = false) {
        QVERIFY(test::setReadOnly(path_, file));
        QVERIFY(test::setReadOnly(folder(), inFolder));
    }
    // Each way a set can end, a row each, and a seventh row the program never touches.
    void makeTypical() { QVERIFY(testfiles::copyTitleDb("typical.mdb", path_)); }

private Q_SLOTS:
    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        path_ = titleDatabasePath(folder());
    }

    // A set's titles end at its first empty or null column, a set without a name has none.
    // The first null of a row is stored as the empty text, no other null; a second load gives
    // the same sets.
    void loadEndsASetAtItsFirstEmptyColumn() {
        makeTypical();
        const Result<TitleSets> sets = loadTitleSets(folder());
        QVERIFY(sets);
        const QStringList expected{"全:" + test::numberedNames(25, "标题").join('|'),
                                   "只有名称:",
                                   ":",
                                   "空列:甲",
                                   "有缺口:A|B",
                                   "方案六:x"};
        QCOMPARE(listed(*sets), expected);
        const Rows rows = testfiles::readTitleDb(path_);
        QCOMPARE(rows[3][2], QVariant(QString(QLatin1String(""))));
        QCOMPARE(rows[3][3], QVariant(QStringLiteral("丙")));
        QCOMPARE(rows[5][2], QVariant(QString(QLatin1String(""))));
        QVERIFY(rows[5][3].isNull());
        QVERIFY(rows[6][2].isNull());
        QCOMPARE(listed(*loadTitleSets(folder())), expected);
    }

    // Names and titles as given, empty texts after the last title; column 26 and the seventh
    // row untouched. What is saved loads again.
    void saveWritesTheSets() {
        makeTypical();
        const TitleSets sets = named(
            {test::numberedNames(25, "标题"), {"新一", "新二"}, {}, {"甲"}, {"A", "B"}, {"x"}});
        QVERIFY(saveTitleSets(folder(), sets));
        const QVariant null;
        const Rows rows = testfiles::readTitleDb(path_);
        QCOMPARE(rows[0], storedRow("N1", sets[0].titles, QStringLiteral("不读")));
        QCOMPARE(rows[1], storedRow("N2", {"新一", "新二"}, null));
        QCOMPARE(rows[2], storedRow("N3", {}, null));
        QCOMPARE(rows[3], storedRow("N4", {"甲"}, null));
        QCOMPARE(rows[4], storedRow("N5", {"A", "B"}, null));
        QCOMPARE(rows[6][1], QVariant(QStringLiteral("不用")));
        QCOMPARE(listed(*loadTitleSets(folder())), listed(sets));
    }

    // The file: none, an empty one, or one of tests/data/titles.
    void refusedFile_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<ErrorKind>("error");
        QTest::addColumn<QString>("text");
        QTest::newRow("missing") << "" << ErrorKind::DatabaseMissing << texts::TitleDbMissing;
        QTest::newRow("wrong key")
            << "wrong-key.mdb" << ErrorKind::NotADatabase << texts::TitleDbNotOpened;
        QTest::newRow("empty file")
            << "empty" << ErrorKind::NotADatabase << texts::TitleDbNotOpened;
        QTest::newRow("no table") << "no-table.mdb" << ErrorKind::NoTable << texts::TitleDbNoTable;
        QTest::newRow("five rows")
            << "five-rows.mdb" << ErrorKind::TooFewRows << texts::TitleDbTooFewRows;
        QTest::newRow("25 columns")
            << "25-columns.mdb" << ErrorKind::TooFewColumns << texts::TitleDbTooFewColumns;
    }
    void refusedFile() {
        QFETCH(QString, file);
        QFETCH(ErrorKind, error);
        QFETCH(QString, text);
        QVERIFY(file != "empty" || QFile(path_).open(QIODevice::WriteOnly));
        QVERIFY(!file.endsWith(".mdb") || testfiles::copyTitleDb(file, path_));
        const QByteArray bytes = fileBytes(path_);
        const Result<TitleSets> load = loadTitleSets(folder());
        const Result<void> save = saveTitleSets(folder(), named({}));
        for (const Error& e : {load.error(), save.error()}) {
            QCOMPARE(e.kind, error);
            QCOMPARE(errorMessage(e), text.arg(TitleDatabaseName));
        }
        QCOMPARE(fileBytes(path_), bytes);
        QCOMPARE(QFileInfo::exists(path_), !file.isEmpty());
    }

    // A file that cannot be written still loads: its sets come in, the nulls are not stored.
    // A save is refused whole with its message, the file as it was; once the obstacle is gone
    // the same file takes the save.
    void refusedWrite_data() {
        QTest::addColumn<int>("kind");
        QTest::newRow("read-only file") << 0;
        QTest::newRow("another program writing") << 1;
        QTest::newRow("another program reading") << 2;
        QTest::newRow("fourth row refused") << 3;
        QTest::newRow("read-only folder") << 4;
    }
    void refusedWrite() {
        QFETCH(int, kind);
        // refuses-row-4.mdb: a trigger refuses to update the fourth row.
        QVERIFY(testfiles::copyTitleDb(kind == 3 ? "refuses-row-4.mdb" : "typical.mdb", path_));
        setReadOnly(kind == 0, kind == 4);
        std::unique_ptr<testfiles::OtherConnection> other;
        if (kind == 1 || kind == 2) {
            other = std::make_unique<testfiles::OtherConnection>(
                path_, kind == 1 ? "BEGIN IMMEDIATE;" : "BEGIN; SELECT count(*) FROM 标题;");
            QVERIFY(other->ok);
        }
        const QByteArray bytes = fileBytes(path_);
        const Result<TitleSets> sets = loadTitleSets(folder());
        QVERIFY(sets);
        QCOMPARE(listed(*sets)[3], QStringLiteral("空列:甲"));
        const Result<void> save = saveTitleSets(folder(), named({}));
        QCOMPARE(save.error().kind, ErrorKind::DatabaseNotWritten);
        QCOMPARE(errorMessage(save.error()), texts::TitleDbNotWritten.arg(TitleDatabaseName));
        QCOMPARE(fileBytes(path_), bytes);
        other.reset();
        setReadOnly(false);
        if (kind != 3) {
            QVERIFY(saveTitleSets(folder(), named({})));
            QCOMPARE(testfiles::readTitleDb(path_)[3][0], QVariant(QStringLiteral("N4")));
        }
    }

    void sampleDatabaseHasSixNamedSetsAndIsNeverReplaced() {
        QVERIFY(createSampleTitleDatabase(path_));
        const Result<TitleSets> sets = loadTitleSets(folder());
        QVERIFY(sets);
        for (int s = 1; s <= 6; ++s) {
            QCOMPARE((*sets)[s - 1].name,
                     QStringLiteral("方案") + QStringLiteral("一二三四五六")[s - 1]);
        }
        QVERIFY(!(*sets)[0].titles.isEmpty());
        QVERIFY(saveTitleSets(folder(), named({})));
        const QByteArray bytes = fileBytes(path_);
        QVERIFY(createSampleTitleDatabase(path_));
        QCOMPARE(fileBytes(path_), bytes);
        QVERIFY(!db::createDatabase(path_, "k", {"CREATE TABLE t (a)"}));
        QVERIFY(!db::createDatabase(dir_->filePath("d.mdb"), "k", {"NOT SQL"}));
        QVERIFY(!QFileInfo::exists(dir_->filePath("d.mdb")));
    }

    // A file another build wrote: by default the kept sample database of a build on SQLCipher 3;
    // scripts/check-sqlcipher4 hands the one a build on SQLCipher 4 wrote (and runs this test
    // in that build on the kept one). It loads, takes a save, and loads what was saved.
    void fileOfAnotherBuild() {
        QString source = qEnvironmentVariable("SORTILO_FOREIGN_TITLE_DB");
        if (source.isEmpty()) {
            source = test::testData("titles/Sortibase-sqlcipher3.mdb");
        }
        QVERIFY(QFile::copy(source, path_));
        QVERIFY(test::setReadOnly(path_, false));
        Result<TitleSets> sets = loadTitleSets(folder());
        QVERIFY(sets);
        QCOMPARE((*sets)[1].name, QStringLiteral("方案二"));
        QCOMPARE((*sets)[1].titles.size(), 4);
        (*sets)[1] = {QStringLiteral("N2"), {QStringLiteral("决赛")}};
        QVERIFY(saveTitleSets(folder(), *sets));
        QCOMPARE(listed(*loadTitleSets(folder())), listed(*sets));
    }

    // The key the program hands over ready-made is the one the engine derives itself: it opens
    // the file on its own. (Were it wrong, every open would fall back to the slow derivation.)
    void pageKeyOpensTheFile() {
        makeTypical();
        const QByteArray key = db::cachedPageKey(testfiles::Password, fileBytes(path_).left(16));
        sqlite3* db = nullptr;
        sqlite3_open_v2(QFile::encodeName(path_).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
        testfiles::keyConnection(db, "PRAGMA key = \"x'" + key.toHex() + "'\";");
        QCOMPARE(sqlite3_exec(db, "SELECT * FROM 标题;", nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close_v2(db);
    }
};

QTEST_GUILESS_MAIN(TestTitleStore)
#include "TestTitleStore.moc"
