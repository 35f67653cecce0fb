#include "TitleDbFiles.h"
#include "platform/Texts.h"
#include "support/TestSession.h"
#include "titles/TitleEditing.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace sortilo;
using testfiles::Rows;

namespace {

QList<QVariant> setRow(const QString& name, int titles, const QString& prefix = "T") {
    QList<QVariant> row{name};
    for (int k = 1; k <= 25; ++k) {
        row.append(k <= titles ? QVariant(prefix + QString::number(k)) : QVariant(QString("")));
    }
    return row;
}

Rows sixSets() {
    return {setRow("甲组", 24), setRow("乙组", 3, "乙"), setRow("丙组", 25),
            setRow("", 0),      setRow("戊组", 0),       setRow("己组", 1)};
}

const TitleSetNames Names{"甲组", "乙组改名", "丙组", "丁组", "戊组", "己组"};

}  // namespace

// The title editor's rules on a real title database, without its widgets.
class TestTitleEditing : public QObject {
    Q_OBJECT

    QTemporaryDir templates;
    std::unique_ptr<QTemporaryDir> folder;
    std::unique_ptr<test::TestSession> t;
    std::unique_ptr<TitleEditing> editing;
    QStringList listed;
    QMap<int, QString> names;
    bool open = false;

    DrawState& st() { return t->session.stateForTitleEditing(); }
    QStringList& shown() { return t->messages.shown; }
    QString dbPath() { return titleDatabasePath(folder->path()); }
    void add(const char* title) { editing->addTitle(QString::fromUtf8(title)); }

private Q_SLOTS:
    // Keying a new database is slow (PBKDF2): one is made, and each test takes a copy.
    void initTestCase() {
        QCOMPARE(testfiles::makeTitleDb(titleDatabasePath(templates.path()), sixSets()), QString());
    }
    void init() {
        folder = std::make_unique<QTemporaryDir>();
        QVERIFY(QFile::copy(titleDatabasePath(templates.path()), dbPath()));
        t = std::make_unique<test::TestSession>();
        editing = std::make_unique<TitleEditing>(t->session, folder->path());
        TitleEditing* e = editing.get();
        connect(e, &TitleEditing::message, [this](const QString& m) { t->messages.show(m); });
        connect(e, &TitleEditing::titlesListed, [this](const QStringList& l) { listed = l; });
        connect(e, &TitleEditing::setNameLoaded, [this](int s, const QString& n) { names[s] = n; });
        connect(e, &TitleEditing::opened, [this] { open = true; });
        connect(e, &TitleEditing::closed, [this] { open = false; });
        names.clear();
        editing->open();
    }

    // Stored names replace what the editor shows (not an empty one: set 4); a set takes at most
    // 25 titles.
    void openingAndAdding() {
        QVERIFY(open && editing->chosenSet() == 0);
        QCOMPARE(names, (QMap<int, QString>{
                            {1, "甲组"}, {2, "乙组"}, {3, "丙组"}, {5, "戊组"}, {6, "己组"}}));
        editing->chooseSet(1);
        QCOMPARE(listed.size(), 24);
        add("第二十五");
        QVERIFY(st().titleSets(1, 26) == "25" && st().titleSets(1, 25) == "第二十五");
        QCOMPARE(listed.last(), QStringLiteral("第二十五"));
        add("再一个");
        QCOMPARE(shown(), QStringList{texts::TitleSetFull});
        QVERIFY(st().titleSets(1, 26) == "25" && listed.size() == 25);
    }

    // Each refusal changes nothing; a title of blanks is a title.
    void refusals() {
        add("x");
        editing->deleteTitle(0);
        editing->chooseSet(2);
        add("");
        editing->deleteTitle(-1);
        QCOMPARE(listed, (QStringList{"乙1", "乙2", "乙3"}));
        add(" ");
        QCOMPARE(st().titleSets(2, 4), QStringLiteral(" "));
        QCOMPARE(st().titleSets(2, 26), QStringLiteral("4"));
        editing->chooseSet(0);
        editing->deleteTitle(0);
        QCOMPARE(shown(),
                 (QStringList{texts::NoTitleSetChosen, texts::NoTitleSetChosen, texts::NoTitleTyped,
                              texts::NoTitleSelected, texts::NoTitleSetChosen}));
    }

    void deletingTitle1ShiftsTheRest() {
        editing->chooseSet(3);
        editing->deleteTitle(0);
        QCOMPARE(st().titleSets(3, 26), QStringLiteral("24"));
        for (int j = 1; j <= 24; ++j) {
            QCOMPARE(st().titleSets(3, j), QStringLiteral("T%1").arg(j + 1));
        }
        QVERIFY(st().titleSets(3, 25).isEmpty() && st().titleSets(3, 0) == "丙组");
        QCOMPARE(listed.first(), QStringLiteral("T2"));
        editing->chooseSet(6);  // its only title: count 0, an empty list
        editing->deleteTitle(0);
        QCOMPARE(st().titleSets(6, 26), QStringLiteral("0"));
        QVERIFY(listed.isEmpty());
    }

    void confirmingTheDefaultStoresNothing() {
        editing->chooseSet(2);
        add("未保存");
        editing->chooseSet(0);
        st().groupTitles(1) = QStringLiteral("旧标题");
        const QByteArray bytes = testfiles::fileBytes(dbPath());
        editing->confirm(Names);
        QVERIFY(shown().isEmpty() && !open);
        QCOMPARE(t->state().groupTitles(1), QStringLiteral("第1组"));
        QCOMPARE(testfiles::fileBytes(dbPath()), bytes);
        QCOMPARE(st().titleSets(2, 4), QStringLiteral("未保存"));  // kept in memory
    }

    // All six sets stored with the names given (a set whose stored name was empty, count -1,
    // gets its first title in place 1); the chosen set titles the groups, the newest of which
    // are shown; a rolling draw rolls on.
    void confirmingASet_data() {
        QTest::addColumn<int>("groups");
        QTest::addColumn<int>("first");
        QTest::newRow("7 groups") << 7 << 4;
        QTest::newRow("4 groups") << 4 << 1;
    }
    void confirmingASet() {
        QFETCH(int, groups);
        QFETCH(int, first);
        t->givePool(9);
        for (int g = 0; g < groups; ++g) {
            t->drawGroup(QStringLiteral("3"));
        }
        t->start(QStringLiteral("2"));
        editing->chooseSet(4);
        add("第一个");
        QVERIFY(st().titleSets(4, 26) == "1" && st().titleSets(4, 1) == "第一个");
        editing->chooseSet(2);
        editing->confirm(Names);
        QCOMPARE(shown(), QStringList{texts::TitlesConfirmed});
        QVERIFY(!open && t->rolling());
        QVERIFY(t->state().groupTitles(3) == "乙3" && t->state().groupTitles(4) == "第4组");
        QCOMPARE(int(t->state().firstShownGroup), first);
        QCOMPARE(t->groups[0].title, t->state().groupTitles(first));
        const Rows rows = testfiles::readTitleDb(dbPath());
        QVERIFY(rows[1][0] == "乙组改名" && rows[0][24] == "T24");
        QVERIFY(rows[3][0] == "丁组" && rows[3][1] == "第一个");
    }

    // A file that cannot be used: its message, the sets, the titles and the file as they were,
    // and "默认" still confirms. A read-only file still gives its sets; only saving is refused.
    void refusedFile_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("text");
        QTest::newRow("missing") << 0 << texts::TitleDbMissing;
        QTest::newRow("read-only") << 1 << texts::TitleDbNotWritten;
    }
    void refusedFile() {
        QFETCH(int, kind);
        QFETCH(QString, text);
        QVERIFY(QFile::remove(dbPath()));
        if (kind == 1) {
            Rows rows = sixSets();
            rows[0][3] = QVariant();  // a null the load would have to store
            QCOMPARE(testfiles::makeTitleDb(dbPath(), rows), QString());
            QVERIFY(QFile::setPermissions(dbPath(), QFile::ReadOwner | QFile::ReadGroup));
        }
        const QByteArray bytes = testfiles::fileBytes(dbPath());
        const QString message = text.arg(QFileInfo(dbPath()).fileName());
        const QString before = st().titleSets(1, 3);
        editing->open();
        QCOMPARE(shown(), kind == 0 ? QStringList{message} : QStringList{});
        QCOMPARE(st().titleSets(1, 3), before);
        editing->chooseSet(2);
        add("新标题");
        editing->confirm(Names);
        QCOMPARE(shown().last(), message);
        QCOMPARE(shown().size(), kind == 0 ? 2 : 1);
        QVERIFY(open);
        QCOMPARE(t->state().groupTitles(1), QStringLiteral("第1组"));
        QCOMPARE(testfiles::fileBytes(dbPath()), bytes);
        editing->chooseSet(0);
        editing->confirm(Names);
        QVERIFY(!open);
    }
};

QTEST_GUILESS_MAIN(TestTitleEditing)
#include "TestTitleEditing.moc"
