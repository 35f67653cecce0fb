#include "TitleDbFiles.h"
#include "platform/AppFiles.h"
#include "platform/Texts.h"
#include "titles/store/TitleStore.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

#include <memory>

using namespace sortilo;
using testfiles::Rows;

namespace {

QList<QVariant> fullRow() {
    QList<QVariant> row{QStringLiteral("全")};
    for (int k = 1; k <= 25; ++k) {
        row.append(QStringLiteral("标题%1").arg(k));
    }
    row.append(QStringLiteral("不读"));  // column 26: never read or written
    return row;
}

// One row for each way a set can end, and a seventh row the program never touches.
Rows typicalRows() {
    const QVariant null;
    return {fullRow(),
            {QStringLiteral("只有名称"), QString()},
            {QString(), QStringLiteral("孤题")},
            {QStringLiteral("空列"), QStringLiteral("甲"), null, QStringLiteral("丙")},
            {QStringLiteral("有缺口"), QStringLiteral("A"), QStringLiteral("B"), QString(),
             QStringLiteral("D")},
            {QStringLiteral("方案六"), QStringLiteral("x")},
            {QStringLiteral("第七行"), QStringLiteral("不用")}};
}

QList<QVariant> expectedSaved(const QString& name, const QStringList& titles, const QVariant& c26) {
    QList<QVariant> row{name};
    for (int k = 1; k <= 25; ++k) {
        row.append(k <= titles.size() ? titles[k - 1] : QString(QLatin1String("")));
    }
    row.append(c26);
    return row;
}

TitleSetNames names() {
    return {QStringLiteral("N1"), QStringLiteral("N2"), QStringLiteral("N3"),
            QStringLiteral("N4"), QStringLiteral("N5"), QStringLiteral("N6")};
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
    void makeTypical() { QCOMPARE(testfiles::makeTitleDb(path_, typicalRows(), 27), QString()); }
    // Marks left in titleSets to see what a load overwrites and what it leaves.
    void markSets() {
        for (int s = 0; s <= TitleSets; ++s) {
            for (int k = 0; k <= TitlesPerSet + 1; ++k) {
                state_->titleSets(s, k) = QStringLiteral("旧%1-%2").arg(s).arg(k);
            }
        }
    }
    bool setsEqual(const DrawState& other) const {
        for (int s = 0; s <= TitleSets; ++s) {
            for (int k = 0; k <= TitlesPerSet + 1; ++k) {
                if (state_->titleSets(s, k) != other.titleSets(s, k)) {
                    return false;
                }
            }
        }
        return true;
    }

private Q_SLOTS:
    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        state_ = makeDrawState();
        setDefaultTitles(*state_);
        path_ = TitleDatabasePath(folder());
    }

    void loadDerivesCountsFromTheFirstEmptyColumn() {
        makeTypical();
        markSets();
        QVERIFY(!LoadTitleSets(*state_, folder()));
        const DrawState& st = *state_;
        QCOMPARE(st.titleSets(1, 26), QStringLiteral("25"));
        QCOMPARE(st.titleSets(1, 0), QStringLiteral("全"));
        QCOMPARE(st.titleSets(1, 25), QStringLiteral("标题25"));
        QCOMPARE(st.titleSets(2, 26), QStringLiteral("0"));
        QCOMPARE(st.titleSets(2, 1), QStringLiteral("旧2-1"));
        // An empty name: count -1, and neither the name nor the title after it is taken.
        QCOMPARE(st.titleSets(3, 26), QStringLiteral("-1"));
        QCOMPARE(st.titleSets(3, 0), QStringLiteral("旧3-0"));
        QCOMPARE(st.titleSets(3, 1), QStringLiteral("旧3-1"));
        // A null column ends the set like an empty one.
        QCOMPARE(st.titleSets(4, 26), QStringLiteral("1"));
        QCOMPARE(st.titleSets(4, 3), QStringLiteral("旧4-3"));
        QCOMPARE(st.titleSets(5, 26), QStringLiteral("2"));
        QCOMPARE(st.titleSets(5, 4), QStringLiteral("旧5-4"));
        QCOMPARE(st.titleSets(6, 26), QStringLiteral("1"));
        QCOMPARE(st.titleSets(0, 0), QStringLiteral("旧0-0"));
    }

    void loadStoresEmptyTextForTheFirstNullOnly() {
        makeTypical();
        QVERIFY(!LoadTitleSets(*state_, folder()));
        const Rows rows = testfiles::readTitleDb(path_);
        QCOMPARE(rows[3][2], QVariant(QString(QLatin1String(""))));
        QCOMPARE(rows[3][3], QVariant(QStringLiteral("丙")));
        QCOMPARE(rows[5][2], QVariant(QString(QLatin1String(""))));
        QVERIFY(rows[5][3].isNull());
        QVERIFY(rows[6][2].isNull());
    }

    void loadTwiceGivesTheSameSets() {
        makeTypical();
        QVERIFY(!LoadTitleSets(*state_, folder()));
        auto first = makeDrawState();
        first->titleSets = state_->titleSets;
        QVERIFY(!LoadTitleSets(*state_, folder()));
        QVERIFY(setsEqual(*first));
    }

    void saveAfterLoadKeepsCountedTitlesOnly() {
        makeTypical();
        QVERIFY(!LoadTitleSets(*state_, folder()));
        QVERIFY(!SaveTitleSets(*state_, folder(), names()));
        const Rows rows = testfiles::readTitleDb(path_);
        QStringList all;
        for (int k = 1; k <= 25; ++k) {
            all.append(QStringLiteral("标题%1").arg(k));
        }
        const QVariant null;
        QCOMPARE(rows[0], expectedSaved("N1", all, QStringLiteral("不读")));
        QCOMPARE(rows[1], expectedSaved("N2", {}, null));
        QCOMPARE(rows[2], expectedSaved("N3", {}, null));      // the title after an empty name goes
        QCOMPARE(rows[3], expectedSaved("N4", {"甲"}, null));  // after a null
        QCOMPARE(rows[4], expectedSaved("N5", {"A", "B"}, null));  // after a gap
        QCOMPARE(rows[5], expectedSaved("N6", {"x"}, null));
        QCOMPARE(rows[6][0], QVariant(QStringLiteral("第七行")));
        QCOMPARE(rows[6][1], QVariant(QStringLiteral("不用")));
        // The names reach the file, not titleSets: those change at the next load.
        QCOMPARE(state_->titleSets(1, 0), QStringLiteral("全"));
    }

    void saveWritesTitlesUpToTheCount() {
        makeTypical();
        QVERIFY(!LoadTitleSets(*state_, folder()));
        state_->titleSets(2, 1) = QStringLiteral("新一");
        state_->titleSets(2, 2) = QStringLiteral("新二");
        state_->titleSets(2, 3) = QStringLiteral("超出计数");
        state_->titleSets(2, 26) = QStringLiteral("2");
        QVERIFY(!SaveTitleSets(*state_, folder(), names()));
        QCOMPARE(testfiles::readTitleDb(path_)[1], expectedSaved("N2", {"新一", "新二"}, {}));
        QVERIFY(!LoadTitleSets(*state_, folder()));
        QCOMPARE(state_->titleSets(2, 0), QStringLiteral("N2"));
        QCOMPARE(state_->titleSets(2, 26), QStringLiteral("2"));
    }

    void applyTitleSet_data() {
        QTest::addColumn<QString>("count");
        QTest::addColumn<int>("titled");
        QTest::newRow("three") << "3" << 3;
        QTest::newRow("none") << "0" << 0;
        QTest::newRow("empty name") << "-1" << 0;
        QTest::newRow("never loaded") << "" << 0;
        QTest::newRow("full") << "25" << 25;
    }
    void applyTitleSet() {
        QFETCH(QString, count);
        QFETCH(int, titled);
        for (int k = 1; k <= 25; ++k) {
            state_->titleSets(2, k) = QStringLiteral("T%1").arg(k);
        }
        state_->titleSets(2, 26) = count;
        state_->groupTitles(1) = QStringLiteral("上次的标题");
        ApplyTitleSet(*state_, 2);
        for (int g = 1; g <= 50; ++g) {
            const QString expected =
                g <= titled ? QStringLiteral("T%1").arg(g) : QStringLiteral("第%1组").arg(g);
            QCOMPARE(state_->groupTitles(g), expected);
        }
    }

    void refusedFile_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("problem");
        QTest::addColumn<QString>("text");
        auto row = [](const char* name, int kind, TitleStoreProblem p, const QString& text) {
            QTest::newRow(name) << kind << static_cast<int>(p) << text;
        };
        row("missing", 0, TitleStoreProblem::Missing, texts::TitleDbMissing);
        row("wrong key", 1, TitleStoreProblem::NotOpened, texts::TitleDbNotOpened);
        row("not keyed", 2, TitleStoreProblem::NotOpened, texts::TitleDbNotOpened);
        row("text file", 3, TitleStoreProblem::NotOpened, texts::TitleDbNotOpened);
        row("empty file", 4, TitleStoreProblem::NotOpened, texts::TitleDbNotOpened);
        row("no table", 5, TitleStoreProblem::NoTable, texts::TitleDbNoTable);
        row("five rows", 6, TitleStoreProblem::TooFewRows, texts::TitleDbTooFewRows);
        row("25 columns", 7, TitleStoreProblem::TooFewColumns, texts::TitleDbTooFewColumns);
    }
    void refusedFile() {
        QFETCH(int, kind);
        QFETCH(int, problem);
        QFETCH(QString, text);
        const Rows rows = typicalRows();
        QFile file(path_);
        switch (kind) {
            case 1:
                QCOMPARE(testfiles::makeTitleDb(path_, rows, 27, "123"), QString());
                break;
            case 2:
                QCOMPARE(testfiles::makeTitleDb(path_, rows, 27, QString()), QString());
                break;
            case 3:
            case 4:
                QVERIFY(file.open(QIODevice::WriteOnly));
                file.write(kind == 3 ? "名称,标题1\n方案一,一等奖\n" : "");
                file.close();
                break;
            case 5:
                QVERIFY(db::createDatabase(path_, testfiles::Password, {"CREATE TABLE t (a)"})
                            .problem == db::DbProblem::None);
                break;
            case 6:
                QCOMPARE(testfiles::makeTitleDb(path_, rows.mid(0, 5), 27), QString());
                break;
            case 7:
                QCOMPARE(testfiles::makeTitleDb(path_, rows, 25), QString());
                break;
        }
        markSets();
        auto before = makeDrawState();
        before->titleSets = state_->titleSets;
        const QByteArray bytes = testfiles::fileBytes(path_);
        const QString expected = text.arg(TitleDatabaseName);

        const TitleStoreError load = LoadTitleSets(*state_, folder());
        QCOMPARE(static_cast<int>(load.problem), problem);
        QCOMPARE(load.message(), expected);
        const TitleStoreError save = SaveTitleSets(*state_, folder(), names());
        QCOMPARE(static_cast<int>(save.problem), problem);
        QCOMPARE(save.message(), expected);

        QVERIFY(setsEqual(*before));
        QCOMPARE(testfiles::fileBytes(path_), bytes);
        QCOMPARE(QFileInfo::exists(path_), kind != 0);
    }

    // Every way a write can be refused: the load (which has nulls to store) and the save both
    // fail whole, leaving the sets and the file as they were.
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
        const QStringList trigger{
            "CREATE TRIGGER refuse BEFORE UPDATE ON 标题 WHEN old.c0 = '空列' "
            "BEGIN SELECT RAISE(ABORT, 'refused'); END"};
        QCOMPARE(testfiles::makeTitleDb(path_, typicalRows(), 27, testfiles::Password,
                                        kind == 3 ? trigger : QStringList()),
                 QString());
        setReadOnly(kind == 0, kind == 4);
        std::unique_ptr<testfiles::OtherConnection> other;
        if (kind == 1 || kind == 2) {
            other = std::make_unique<testfiles::OtherConnection>(
                path_, kind == 1 ? "BEGIN IMMEDIATE;" : "BEGIN; SELECT count(*) FROM 标题;");
            QVERIFY(other->ok());
        }
        markSets();
        auto before = makeDrawState();
        before->titleSets = state_->titleSets;
        const QByteArray bytes = testfiles::fileBytes(path_);
        const QString expected = texts::TitleDbNotWritten.arg(TitleDatabaseName);

        const TitleStoreError load = LoadTitleSets(*state_, folder());
        QCOMPARE(load.problem, TitleStoreProblem::NotWritten);
        QCOMPARE(load.message(), expected);
        QVERIFY(setsEqual(*before));
        const TitleStoreError save = SaveTitleSets(*state_, folder(), names());
        QCOMPARE(save.problem, TitleStoreProblem::NotWritten);
        QCOMPARE(testfiles::fileBytes(path_), bytes);

        // Once the other program lets go, the same file takes the save.
        other.reset();
        setReadOnly(false);
        if (kind != 3) {
            QVERIFY(!SaveTitleSets(*state_, folder(), names()));
            QCOMPARE(testfiles::readTitleDb(path_)[3][0], QVariant(QStringLiteral("N4")));
        }
    }

    // Reading needs no write where no null has to be stored.
    void readOnlyFileLoadsWhenNothingIsToStore() {
        QCOMPARE(createSampleTitleDatabase(path_), QString());
        setReadOnly(true);
        QVERIFY(!LoadTitleSets(*state_, folder()));
        QCOMPARE(state_->titleSets(1, 0), QStringLiteral("方案一"));
    }

    void sampleDatabaseHasSixNamedSetsAndIsNeverReplaced() {
        QCOMPARE(createSampleTitleDatabase(path_), QString());
        QVERIFY(!LoadTitleSets(*state_, folder()));
        const QStringList expected{"方案一", "方案二", "方案三", "方案四", "方案五", "方案六"};
        for (int s = 1; s <= 6; ++s) {
            QCOMPARE(state_->titleSets(s, 0), expected[s - 1]);
        }
        QVERIFY(titleCount(*state_, 1) > 0);
        QVERIFY(!SaveTitleSets(*state_, folder(), names()));
        const QByteArray bytes = testfiles::fileBytes(path_);
        QCOMPARE(createSampleTitleDatabase(path_), QString());
        QCOMPARE(testfiles::fileBytes(path_), bytes);
    }
};

QTEST_GUILESS_MAIN(TestTitleStore)
#include "TestTitleStore.moc"
