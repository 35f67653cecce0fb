#include "TitleDbFiles.h"
#include "app/Controls.h"
#include "platform/Texts.h"
#include "support/TestForm.h"
#include "titles/store/TitleStore.h"

#include <QAction>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
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

}  // namespace

class TestTitleEditor : public QObject {
    Q_OBJECT

    std::unique_ptr<test::TestForm> t_;
    Form1& form() { return *t_->form; }
    DrawState& st() { return t_->state(); }
    QStringList& shown() { return t_->messages->shown; }
    QString dbPath() { return TitleDatabasePath(t_->folder.path()); }

    void open() { form().zbzdy->trigger(); }
    void choose(int s) { form().Option2[s]->click(); }
    void add(const QString& title) {
        form().Text2->setText(title);
        form().Command10->click();
    }
    QStringList listed() {
        QStringList items;
        for (int i = 0; i < form().List3->count(); ++i) {
            items << form().List3->item(i)->text();
        }
        return items;
    }
    // Three names in each of groups 1 to `count`, as Stop would have recorded them.
    void recordGroups(int count) {
        for (int g = 1; g <= count; ++g) {
            st().groupSizes(g) = 3;
            for (int k = 1; k <= 3; ++k) {
                st().groupResults(k, g) = QStringLiteral("g%1-%2").arg(g).arg(k);
            }
        }
        st().groupCount = static_cast<int16_t>(count);
    }

private Q_SLOTS:
    void init() {
        t_ = test::makeTestForm();
        QCOMPARE(testfiles::makeTitleDb(dbPath(), sixSets()), QString());
    }
    void cleanup() {
        db::testing::setOpenReadOnly(false);
        t_.reset();
    }

    void openingShowsStoredNamesAboveEverything() {
        form().Option2[4]->setText(QStringLiteral("之前的名称"));
        form().List2->show();
        open();
        QVERIFY(shownInWindow(form().Frame5));
        QCOMPARE(form().Option2[1]->text(), QStringLiteral("甲组"));
        QCOMPARE(form().Text3[2]->text(), QStringLiteral("乙组"));
        // An empty stored name changes neither caption nor name box.
        QCOMPARE(form().Option2[4]->text(), QStringLiteral("之前的名称"));
        QVERIFY(form().Option2[0]->isChecked());
        QCOMPARE(st().currentTitleSet, int16_t(0));
        // The details view opened over the editor still lies below it.
        form().List2->raise();
        form().Command5[1]->show();
        const QObjectList order = form().Frame5->parentWidget()->children();
        QVERIFY(order.indexOf(form().Frame5) > order.indexOf(form().List2));
        QVERIFY(order.indexOf(form().Frame5) > order.indexOf(form().Command5[1]));
        QVERIFY(shown().isEmpty());
    }

    void addingStopsAt25Titles() {
        open();
        choose(1);
        QCOMPARE(listed().size(), 24);
        add(QStringLiteral("第二十五"));
        QCOMPARE(st().titleSets(1, 26), QStringLiteral("25"));
        QCOMPARE(st().titleSets(1, 25), QStringLiteral("第二十五"));
        QCOMPARE(listed().last(), QStringLiteral("第二十五"));
        QVERIFY(form().Text2->text().isEmpty());
        add(QStringLiteral("再一个"));
        QCOMPARE(shown(), QStringList{texts::TitleSetFull});
        QCOMPARE(st().titleSets(1, 26), QStringLiteral("25"));
        QCOMPARE(listed().size(), 25);
        QCOMPARE(form().Text2->text(), QStringLiteral("再一个"));
    }

    void addAndDeleteNeedAChosenSet() {
        open();
        add(QStringLiteral("x"));
        form().Command11->click();
        choose(2);
        choose(0);
        form().List3->setCurrentRow(0);
        form().Command11->click();
        QCOMPARE(shown(), QStringList(3, texts::NoTitleSetChosen));
        QCOMPARE(st().titleSets(2, 26), QStringLiteral("3"));
        QVERIFY(listed().isEmpty());
    }

    void addNeedsText() {
        open();
        choose(2);
        add(QString());
        QCOMPARE(shown(), QStringList{texts::NoTitleTyped});
        QCOMPARE(listed(), (QStringList{"乙1", "乙2", "乙3"}));
        add(QStringLiteral(" "));  // blanks are a title
        QCOMPARE(st().titleSets(2, 4), QStringLiteral(" "));
        QCOMPARE(st().titleSets(2, 26), QStringLiteral("4"));
    }

    void deletingTitle1ShiftsTheRest() {
        open();
        choose(3);
        form().Command11->click();
        QCOMPARE(shown(), QStringList{texts::NoTitleSelected});
        form().List3->setCurrentRow(0);
        form().Command11->click();
        QCOMPARE(st().titleSets(3, 26), QStringLiteral("24"));
        for (int j = 1; j <= 24; ++j) {
            QCOMPARE(st().titleSets(3, j), QStringLiteral("T%1").arg(j + 1));
        }
        QVERIFY(st().titleSets(3, 25).isEmpty());
        QCOMPARE(listed().first(), QStringLiteral("T2"));
        choose(3);
        QCOMPARE(listed().size(), 24);
        // The only title of a set: count 0 and an empty list.
        choose(6);
        form().List3->setCurrentRow(0);
        form().Command11->click();
        QCOMPARE(st().titleSets(6, 26), QStringLiteral("0"));
        QVERIFY(listed().isEmpty());
    }

    void addingToASetWithoutNameStartsAtPlace1() {
        open();
        QCOMPARE(st().titleSets(4, 26), QStringLiteral("-1"));
        choose(4);
        add(QStringLiteral("第一个"));
        QCOMPARE(st().titleSets(4, 26), QStringLiteral("1"));
        QCOMPARE(st().titleSets(4, 1), QStringLiteral("第一个"));
        QVERIFY(st().titleSets(4, 0).isEmpty());
        form().Text3[4]->setText(QStringLiteral("丁组"));
        form().Command12->click();
        const Rows rows = testfiles::readTitleDb(dbPath());
        QCOMPARE(rows[3][0], QVariant(QStringLiteral("丁组")));
        QCOMPARE(rows[3][1], QVariant(QStringLiteral("第一个")));
        QCOMPARE(st().groupTitles(1), QStringLiteral("第一个"));
    }

    void confirmingTheDefaultStoresNothing() {
        open();
        choose(2);
        add(QStringLiteral("未保存"));
        choose(0);
        st().groupTitles(1) = QStringLiteral("旧标题");
        const QByteArray bytes = testfiles::fileBytes(dbPath());
        form().Command12->click();
        QVERIFY(shown().isEmpty());
        QVERIFY(!shownInWindow(form().Frame5));
        QCOMPARE(st().groupTitles(1), QStringLiteral("第1组"));
        QCOMPARE(testfiles::fileBytes(dbPath()), bytes);
        QCOMPARE(st().titleSets(2, 4), QStringLiteral("未保存"));  // kept in memory
    }

    void confirmingASetRetitlesAndShowsTheNewestGroups_data() {
        QTest::addColumn<int>("groups");
        QTest::addColumn<int>("first");
        QTest::newRow("7 groups") << 7 << 4;
        QTest::newRow("5 groups") << 5 << 2;
        QTest::newRow("4 groups") << 4 << 1;
        QTest::newRow("none") << 0 << 1;
    }
    void confirmingASetRetitlesAndShowsTheNewestGroups() {
        QFETCH(int, groups);
        QFETCH(int, first);
        recordGroups(groups);
        const bool rolling = form().Timer1->isActive();
        open();
        choose(2);
        form().Text3[2]->setText(QStringLiteral("乙组改名"));
        form().Command12->click();
        QCOMPARE(shown(), QStringList{texts::TitlesConfirmed});
        QCOMPARE(st().groupTitles(1), QStringLiteral("乙1"));
        QCOMPARE(st().groupTitles(3), QStringLiteral("乙3"));
        QCOMPARE(st().groupTitles(4), QStringLiteral("第4组"));
        QCOMPARE(st().groupTitles(50), QStringLiteral("第50组"));
        QVERIFY(!shownInWindow(form().Frame5));
        QCOMPARE(st().firstShownGroup, int16_t(first));
        QCOMPARE(form().Label1[1]->text(), st().groupTitles(first));
        if (groups > 0) {
            QCOMPARE(form().List1[1]->item(0)->text(), QStringLiteral("g%1-1").arg(first));
        }
        QCOMPARE(form().Timer1->isActive(), rolling);  // the editor leaves the draw alone
        // All six sets were stored, with the names of the name boxes.
        const Rows rows = testfiles::readTitleDb(dbPath());
        QCOMPARE(rows[1][0], QVariant(QStringLiteral("乙组改名")));
        QCOMPARE(rows[0][24], QVariant(QStringLiteral("T24")));
        QCOMPARE(rows[3][0], QVariant(QString("")));
    }

    void refusedFileLeavesEverythingAndTheEditorUsable_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("text");
        QTest::newRow("missing") << 0 << texts::TitleDbMissing;
        QTest::newRow("wrong key") << 1 << texts::TitleDbNotOpened;
        QTest::newRow("five rows") << 2 << texts::TitleDbTooFewRows;
        QTest::newRow("read-only") << 3 << texts::TitleDbNotWritten;
    }
    void refusedFileLeavesEverythingAndTheEditorUsable() {
        QFETCH(int, kind);
        QFETCH(QString, text);
        open();  // the sets in memory from a good file
        QVERIFY(QFile::remove(dbPath()));
        Rows rows = sixSets();
        rows[0][3] = QVariant();  // a null the load would have to store
        if (kind == 1) {
            QCOMPARE(testfiles::makeTitleDb(dbPath(), rows, 26, "583104726"), QString());
        } else if (kind == 2) {
            QCOMPARE(testfiles::makeTitleDb(dbPath(), rows.mid(0, 5)), QString());
        } else if (kind == 3) {
            QCOMPARE(testfiles::makeTitleDb(dbPath(), rows), QString());
            db::testing::setOpenReadOnly(true);
        }
        const QByteArray bytes = testfiles::fileBytes(dbPath());
        const QString message = text.arg(QFileInfo(dbPath()).fileName());
        form().Text3[1]->setText(QStringLiteral("改过的名称"));
        const QString before = st().titleSets(1, 3);

        open();
        QCOMPARE(shown(), QStringList{message});
        QVERIFY(shownInWindow(form().Frame5));
        QCOMPARE(st().titleSets(1, 3), before);
        QCOMPARE(form().Text3[1]->text(), QStringLiteral("改过的名称"));

        choose(2);
        add(QStringLiteral("新标题"));
        form().Command12->click();
        QCOMPARE(shown(), (QStringList{message, message}));
        QVERIFY(shownInWindow(form().Frame5));
        QCOMPARE(st().groupTitles(1), QStringLiteral("第1组"));
        QCOMPARE(testfiles::fileBytes(dbPath()), bytes);

        choose(0);
        form().Command12->click();
        QVERIFY(!shownInWindow(form().Frame5));
        QCOMPARE(shown().size(), 2);
    }
};

QTEST_MAIN(TestTitleEditor)
#include "TestTitleEditor.moc"
