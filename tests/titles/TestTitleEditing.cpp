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

const TitleSetNames Names{"甲组", "乙组改名", "丙组", "丁组", "戊组", "己组"};

}  // namespace

// The title editor's rules on a real title database, without its widgets.
class TestTitleEditing : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> folder;
    std::unique_ptr<test::TestSession> t;
    std::unique_ptr<TitleEditing> editing;
    QStringList listed;
    QMap<int, QString> names;
    bool open = false;

    QStringList messages;
    QStringList& shown() { return messages; }
    QString dbPath() { return titleDatabasePath(folder->path()); }
    void add(const char* title) { editing->addTitle(QString::fromUtf8(title)); }

private Q_SLOTS:
    // six-sets.mdb: 甲组 with titles T1-T24, 乙组 乙1-乙3, 丙组 T1-T25, a fourth set without a
    // name or titles, 戊组 without titles, 己组 with T1.
    void init() {
        folder = std::make_unique<QTemporaryDir>();
        QVERIFY(testfiles::copyTitleDb("six-sets.mdb", dbPath()));
        t = std::make_unique<test::TestSession>();
        editing = std::make_unique<TitleEditing>(t->session, folder->path());
        TitleEditing* e = editing.get();
        connect(e, &TitleEditing::message, [this](const QString& m) { messages << m; });
        connect(e, &TitleEditing::titlesListed, [this](const QStringList& l) { listed = l; });
        connect(e, &TitleEditing::setNameLoaded, [this](int s, const QString& n) { names[s] = n; });
        connect(e, &TitleEditing::opened, [this] { open = true; });
        connect(e, &TitleEditing::closed, [this] { open = false; });
        names.clear();
        messages.clear();
        editing->open();
    }

    // Stored names replace what the editor shows (not an empty one: set 4); a set takes at most
    // 25 titles; deleting title 1 moves the rest up. Each refusal changes nothing; a title of
    // blanks is a title.
    void editingASet() {
        QVERIFY(open);
        QCOMPARE(editing->chosenSet(), 0);
        QCOMPARE(names, (QMap<int, QString>{
                            {1, "甲组"}, {2, "乙组"}, {3, "丙组"}, {5, "戊组"}, {6, "己组"}}));
        add("x");
        editing->deleteTitle(0);
        editing->chooseSet(1);
        QCOMPARE(listed.size(), 24);
        add("第二十五");
        add("再一个");
        QCOMPARE(listed.size(), 25);
        editing->deleteTitle(0);
        QCOMPARE(listed, test::numberedNames(24, QStringLiteral("T")).mid(1) << "第二十五");
        editing->chooseSet(2);
        add("");
        editing->deleteTitle(-1);
        QCOMPARE(listed, (QStringList{"乙1", "乙2", "乙3"}));
        add(" ");
        QCOMPARE(listed, (QStringList{"乙1", "乙2", "乙3", " "}));
        editing->chooseSet(6);  // its only title
        editing->deleteTitle(0);
        QCOMPARE(listed, QStringList());
        editing->chooseSet(0);
        editing->deleteTitle(0);
        QCOMPARE(shown(), (QStringList{texts::NoTitleSetChosen, texts::NoTitleSetChosen,
                                       texts::TitleSetFull, texts::NoTitleTyped,
                                       texts::NoTitleSelected, texts::NoTitleSetChosen}));
    }

    // "默认" stores nothing, and its titles are on the labels at once, as an export writes them.
    void confirmingTheDefaultStoresNothing() {
        editing->chooseSet(2);
        editing->confirm(Names);
        QCOMPARE(t->groups[0].title, QStringLiteral("乙1"));
        editing->open();
        editing->chooseSet(2);
        add("未保存");
        editing->chooseSet(0);
        const QByteArray bytes = fileBytes(dbPath());
        editing->confirm(Names);
        QCOMPARE(shown(), QStringList{texts::TitlesConfirmed});
        QVERIFY(!open);
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(t->groups[size_t(i)].title, QStringLiteral("第%1组").arg(i + 1));
        }
        QCOMPARE(fileBytes(dbPath()), bytes);
        editing->chooseSet(2);  // kept in memory until the next opening
        QCOMPARE(listed, (QStringList{"乙1", "乙2", "乙3", "未保存"}));
    }

    // The list shows titles 1 to count, also after a reload that dropped an unsaved title, so a
    // new title is stored where it is listed. A set with titles and no name would lose them at
    // the next confirm: refused, naming it. After a confirm every set lists what is stored.
    void listedIsStoredIsApplied() {
        editing->chooseSet(2);
        add("未保存");
        editing->open();
        QCOMPARE(listed, (QStringList{"乙1", "乙2", "乙3"}));
        add("新");
        TitleSetNames boxes = Names;
        boxes[5].clear();
        const QByteArray bytes = fileBytes(dbPath());
        editing->confirm(boxes);
        QVERIFY(open);
        QCOMPARE(fileBytes(dbPath()), bytes);
        boxes[5] = Names[5];
        boxes[3].clear();  // set 4 has no titles
        editing->confirm(boxes);
        QCOMPARE(shown(), (QStringList{texts::TitleSetNameEmpty.arg(6), texts::TitlesConfirmed}));
        const Rows rows = testfiles::readTitleDb(dbPath());
        for (int s = 1; s <= TitleSetCount; ++s) {
            editing->chooseSet(s);
            QStringList stored;
            for (int k = 1; k <= 25 && !rows[s - 1][k].toString().isEmpty(); ++k) {
                stored << rows[s - 1][k].toString();
            }
            QCOMPARE(listed, stored);
        }
        QCOMPARE(t->model().title(4), QStringLiteral("新"));
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
        QCOMPARE(listed, QStringList{"第一个"});
        editing->chooseSet(2);
        editing->confirm(Names);
        QCOMPARE(shown(), QStringList{texts::TitlesConfirmed});
        QVERIFY(!open);
        QVERIFY(t->rolling());
        QCOMPARE(t->model().title(3), QStringLiteral("乙3"));
        QCOMPARE(t->model().title(4), QStringLiteral("第4组"));
        QCOMPARE(t->groups[0].title, t->model().title(first));
        QCOMPARE(t->groups[3].names, t->model().groupNames(first + 3));
        const Rows rows = testfiles::readTitleDb(dbPath());
        QCOMPARE(rows[1][0], QVariant("乙组改名"));
        QCOMPARE(rows[0][24], QVariant("T24"));
        QCOMPARE(rows[3][0], QVariant("丁组"));
        QCOMPARE(rows[3][1], QVariant("第一个"));
    }

    // A file that cannot be used: its message, the sets, the titles and the file as they were,
    // and "默认" still confirms. A read-only file still gives its sets; only saving is refused.
    void refusedFile_data() {
        QTest::addColumn<bool>("missing");
        QTest::addColumn<QString>("text");
        QTest::newRow("missing") << true << texts::TitleDbMissing;
        QTest::newRow("read-only") << false << texts::TitleDbNotWritten;
    }
    void refusedFile() {
        QFETCH(bool, missing);
        QFETCH(QString, text);
        QVERIFY(missing ? QFile::remove(dbPath())
                        : QFile::setPermissions(dbPath(), QFile::ReadOwner));
        const QByteArray bytes = fileBytes(dbPath());
        const QString message = text.arg(QFileInfo(dbPath()).fileName());
        editing->chooseSet(1);
        add("未保存");
        editing->open();
        QCOMPARE(shown(), missing ? QStringList{message} : QStringList{});
        QCOMPARE(listed.size(), missing ? 25 : 24);
        editing->chooseSet(2);
        add("新标题");
        editing->confirm(Names);
        QCOMPARE(shown(), QStringList(missing ? 2 : 1, message));
        QVERIFY(open);
        QCOMPARE(t->model().title(1), QStringLiteral("第1组"));
        QCOMPARE(fileBytes(dbPath()), bytes);
        editing->chooseSet(0);
        editing->confirm(Names);
        QVERIFY(!open);
    }
};

QTEST_GUILESS_MAIN(TestTitleEditing)
#include "TestTitleEditing.moc"
