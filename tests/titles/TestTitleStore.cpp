// The title store on real SQLCipher files in a temporary folder: what a load reads and what it
// stores, what a save writes, every way a file is refused, and the database layer under it.
#include "TitleDbFiles.h"
#include "platform/AppFiles.h"
#include "platform/ErrorMessage.h"
#include "platform/Texts.h"
#include "platform/db/Connection.h"
#include "platform/db/KeyDerivation.h"
#include "titles/store/TitleStore.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

#include <memory>

using namespace sortilo;
using testfiles::Rows;

Q_DECLARE_METATYPE(sortilo::ErrorKind)

namespace {

QStringList numbered(const QString& prefix, int n) {
    QStringList texts;
    for (int k = 1; k <= n; ++k) {
        texts << prefix + QString::number(k);
    }
    return texts;
}

// A row as a save writes it: the name, titles 1 to 25 (empty texts after the last), column 26.
QList<QVariant> storedRow(const QString& name, const QStringList& titles, const QVariant& c26) {
    QList<QVariant> row{name};
    for (int k = 1; k <= 25; ++k) {
        row.append(k <= titles.size() ? titles[k - 1] : QString(QLatin1String("")));
    }
    row.append(c26);
    return row;
}

const TitleSetNames Names{"N1", "N2", "N3", "N4", "N5", "N6"};

// Every entry of the title sets, to see what a load overwrites and what it leaves.
QStringList allSets(const DrawState& st) {
    QStringList all;
    for (int s = 0; s <= TitleSets; ++s) {
        for (int k = 0; k <= TitlesPerSet + 1; ++k) {
            all << st.titleSets(s, k);
        }
    }
    return all;
}

}  // namespace

class TestTitleStore : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<DrawState> state_;
    QString path_;

    QString folder() const { return dir_->path(); }
    // Without any write permission the file or its folder is read-only for every user, root too.
    void setReadOnly(bool file, bool inFolder = false) {
        QCOMPARE(::chmod(QFile::encodeName(path_).constData(), file ? 0444 : 0644), 0);
        QCOMPARE(::chmod(QFile::encodeName(folder()).constData(), inFolder ? 0555 : 0755), 0);
    }
    // Each way a set can end, a row each, and a seventh row the program never touches.
    void makeTypical() { QVERIFY(testfiles::copyTitleDb("typical.mdb", path_)); }
    // Marks left in titleSets to see what a load overwrites and what it leaves.
    void markSets() {
        for (int s = 0; s <= TitleSets; ++s) {
            for (int k = 0; k <= TitlesPerSet + 1; ++k) {
                state_->titleSets(s, k) = QStringLiteral("旧%1-%2").arg(s).arg(k);
            }
        }
    }

private Q_SLOTS:
    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        state_ = makeDrawState();
        setDefaultTitles(*state_);
        path_ = titleDatabasePath(folder());
    }

    // Counts from the first empty or null column; titles after it, and entries of titleSets
    // from there on, are left alone. The first null of a row is stored as the empty text, no
    // other null; a second load gives the same sets.
    void loadDerivesCountsFromTheFirstEmptyColumn() {
        makeTypical();
        markSets();
        QVERIFY(loadTitleSets(*state_, folder()));
        // {set, column, text}: the counts in column 26, "旧" the marks the load left alone.
        const std::tuple<int, int, const char*> expected[] = {
            {1, 26, "25"}, {1, 0, "全"},    {1, 25, "标题25"}, {2, 26, "0"},   {2, 1, "旧2-1"},
            {3, 26, "-1"}, {3, 0, "旧3-0"}, {3, 1, "旧3-1"},   {4, 26, "1"},   {4, 3, "旧4-3"},
            {5, 26, "2"},  {5, 4, "旧5-4"}, {6, 26, "1"},      {0, 0, "旧0-0"}};
        for (const auto& [set, column, text] : expected) {
            QCOMPARE(state_->titleSets(set, column), QString::fromUtf8(text));
        }
        const Rows rows = testfiles::readTitleDb(path_);
        QCOMPARE(rows[3][2], QVariant(QString(QLatin1String(""))));
        QCOMPARE(rows[3][3], QVariant(QStringLiteral("丙")));
        QCOMPARE(rows[5][2], QVariant(QString(QLatin1String(""))));
        QVERIFY(rows[5][3].isNull() && rows[6][2].isNull());
        const QStringList first = allSets(*state_);
        QVERIFY(loadTitleSets(*state_, folder()));
        QCOMPARE(allSets(*state_), first);
    }

    void saveWritesTitlesUpToTheCount() {
        makeTypical();
        QVERIFY(loadTitleSets(*state_, folder()));
        state_->titleSets(2, 1) = QStringLiteral("新一");
        state_->titleSets(2, 2) = QStringLiteral("新二");
        state_->titleSets(2, 3) = QStringLiteral("超出计数");
        state_->titleSets(2, 26) = QStringLiteral("2");
        QVERIFY(saveTitleSets(*state_, folder(), Names));
        const QVariant null;
        const Rows rows = testfiles::readTitleDb(path_);
        QCOMPARE(rows[0],
                 storedRow("N1", numbered(QStringLiteral("标题"), 25), QStringLiteral("不读")));
        QCOMPARE(rows[1], storedRow("N2", {"新一", "新二"}, null));
        QCOMPARE(rows[2], storedRow("N3", {}, null));          // the title after an empty name goes
        QCOMPARE(rows[3], storedRow("N4", {"甲"}, null));      // after a null
        QCOMPARE(rows[4], storedRow("N5", {"A", "B"}, null));  // after a gap
        QCOMPARE(rows[5], storedRow("N6", {"x"}, null));
        QCOMPARE(rows[6][1], QVariant(QStringLiteral("不用")));
        // The names reach the file, not titleSets: those change at the next load.
        QCOMPARE(state_->titleSets(1, 0), QStringLiteral("全"));
        QVERIFY(loadTitleSets(*state_, folder()));
        QCOMPARE(state_->titleSets(2, 0), QStringLiteral("N2"));
    }

    // Groups 1 to the count take the set's titles, every other group its default title.
    void applyTitleSet() {
        for (int k = 1; k <= 25; ++k) {
            state_->titleSets(2, k) = QStringLiteral("T%1").arg(k);
        }
        for (const auto& [count, titled] : {std::pair{"3", 3}, {"-1", 0}, {"", 0}, {"25", 25}}) {
            state_->titleSets(2, 26) = QString::fromLatin1(count);
            state_->groupTitles(1) = QStringLiteral("上次的标题");
            sortilo::applyTitleSet(*state_, 2);
            for (int g = 1; g <= 50; ++g) {
                QCOMPARE(state_->groupTitles(g), g <= titled ? QStringLiteral("T%1").arg(g)
                                                             : QStringLiteral("第%1组").arg(g));
            }
        }
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
        markSets();
        const QStringList before = allSets(*state_);
        const QByteArray bytes = fileBytes(path_);
        for (const Result<void>& r :
             {loadTitleSets(*state_, folder()), saveTitleSets(*state_, folder(), Names)}) {
            QCOMPARE(r.error().kind, error);
            QCOMPARE(errorMessage(r.error()), text.arg(TitleDatabaseName));
        }
        QCOMPARE(allSets(*state_), before);
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
        QVERIFY(loadTitleSets(*state_, folder()));
        QCOMPARE(state_->titleSets(4, 0), QStringLiteral("空列"));
        QCOMPARE(state_->titleSets(4, 26), QStringLiteral("1"));
        const Result<void> save = saveTitleSets(*state_, folder(), Names);
        QCOMPARE(save.error().kind, ErrorKind::DatabaseNotWritten);
        QCOMPARE(errorMessage(save.error()), texts::TitleDbNotWritten.arg(TitleDatabaseName));
        QCOMPARE(fileBytes(path_), bytes);
        other.reset();
        setReadOnly(false);
        if (kind != 3) {
            QVERIFY(saveTitleSets(*state_, folder(), Names));
            QCOMPARE(testfiles::readTitleDb(path_)[3][0], QVariant(QStringLiteral("N4")));
        }
    }

    void sampleDatabaseHasSixNamedSetsAndIsNeverReplaced() {
        QVERIFY(createSampleTitleDatabase(path_));
        QVERIFY(loadTitleSets(*state_, folder()));
        for (int s = 1; s <= 6; ++s) {
            QCOMPARE(state_->titleSets(s, 0),
                     QStringLiteral("方案") + QStringLiteral("一二三四五六")[s - 1]);
        }
        QVERIFY(titleCount(*state_, 1) > 0);
        QVERIFY(saveTitleSets(*state_, folder(), Names));
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
            source = qEnvironmentVariable("SORTILO_TEST_DATA") + "/titles/Sortibase-sqlcipher3.mdb";
        }
        QVERIFY(QFile::copy(source, path_));
        QVERIFY(QFile::setPermissions(path_, QFile::ReadOwner | QFile::WriteOwner));
        QVERIFY(loadTitleSets(*state_, folder()));
        QCOMPARE(state_->titleSets(2, 0), QStringLiteral("方案二"));
        QCOMPARE(titleCount(*state_, 2), 4);
        state_->titleSets(2, 1) = QStringLiteral("决赛");
        QVERIFY(saveTitleSets(*state_, folder(), Names));
        state_ = makeDrawState();
        QVERIFY(loadTitleSets(*state_, folder()));
        QCOMPARE(state_->titleSets(2, 0), QStringLiteral("N2"));
        QCOMPARE(state_->titleSets(2, 1), QStringLiteral("决赛"));
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
