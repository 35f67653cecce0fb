#include "app/Controls.h"
#include "results/ResultLists.h"
#include "support/TestForm.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

using namespace sortilo;

namespace {}  // namespace

// The four result lists, their titles, the paging buttons and the selection of a group.
class TestResultLists : public QObject {
    Q_OBJECT

    std::unique_ptr<test::TestForm> t;

    Form1& f() { return *t->form; }
    DrawState& state() { return t->state(); }

    // n groups as n Stops leave them: group g holds g names "g.k", the newest is selected and
    // shown.
    void recordGroups(int n) {
        for (int g = 1; g <= n; ++g) {
            state().groupSizes(g) = static_cast<int16_t>(g);
            for (int k = 1; k <= g; ++k) {
                state().groupResults(k, g) = QStringLiteral("%1.%2").arg(g).arg(k);
            }
        }
        state().groupCount = static_cast<int16_t>(n);
        state().firstShownGroup = static_cast<int16_t>(n < 5 ? 1 : n - 3);
        底色标记归0(f());
        state().groupSelected(n) = 1;
        显示(f(), state().firstShownGroup);
    }
    QStringList groupItems(int g) {
        QStringList names;
        for (int k = 1; k <= g; ++k) {
            names << QStringLiteral("%1.%2").arg(g).arg(k);
        }
        return names;
    }
    // The groups the four lists show (0 for an empty list), their titles and the pink list.
    void expectShown(int first, int pink) {
        QCOMPARE(int(state().firstShownGroup), first);
        for (int i = 1; i <= 4; ++i) {
            const int g = first + i - 1;
            const bool recorded = g >= 1 && g <= state().groupCount;
            QCOMPARE(test::items(f().List1[i]), recorded ? groupItems(g) : QStringList());
            QCOMPARE(f().Label1[i]->text(), g >= 1 ? QStringLiteral("第%1组").arg(g) : QString());
            QCOMPARE(backColor(f().List1[i]), i == pink ? ListColor::Pink : ListColor::Window);
        }
    }
    void next() { f().Command8[1]->click(); }
    void previous() { f().Command8[0]->click(); }
    bool nextShown() { return shownInWindow(f().Command8[1]); }

private Q_SLOTS:
    void init() { t = test::makeTestForm(); }
    void cleanup() { t.reset(); }

    void twoGroups() {
        recordGroups(2);
        expectShown(1, 2);
    }

    // Six groups: the walk back and forth, the pink going with its group, ">" hidden and back.
    void sixGroupWalk() {
        recordGroups(6);
        expectShown(3, 4);
        previous();
        expectShown(2, 0);
        next();
        expectShown(3, 4);
        QVERIFY(!nextShown());
        previous();
        previous();
        expectShown(1, 0);
        QVERIFY(!nextShown());
        previous();
        expectShown(1, 0);
        QVERIFY(nextShown());
    }

    void nextBeforeAnyDraw() {
        next();
        expectShown(1, 0);
        QVERIFY(nextShown());
    }

    // "<" before any draw shows group 0: no names, no title.
    void previousBeforeAnyDraw() {
        previous();
        expectShown(0, 0);
        QCOMPARE(f().Label1[1]->text(), QString());
        QCOMPARE(f().Label1[2]->text(), QStringLiteral("第1组"));
    }

    // ">" stays visible with fewer than four groups but never shows past group 50.
    void nextStopsAtTheLastGroup() {
        recordGroups(2);
        for (int i = 0; i < 60; ++i) {
            next();
        }
        expectShown(MaxGroups - 3, 0);
        QVERIFY(nextShown());
        previous();
        expectShown(MaxGroups - 4, 0);
    }

    void nextHidesOnTheNewestGroups() {
        recordGroups(MaxGroups);
        state().firstShownGroup = MaxGroups - 4;
        next();
        expectShown(MaxGroups - 3, 4);
        QVERIFY(!nextShown());
    }

    // Selecting a name marks its group; the refill leaves no entry selected.
    void clickMarksTheGroup() {
        recordGroups(6);
        f().show();
        QVERIFY(QTest::qWaitForWindowExposed(&f()));
        previous();
        expectShown(2, 0);
        QListWidget* list = f().List1[3];
        const QRect first = list->visualItemRect(list->item(0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, first.center());
        QCOMPARE(获得底色标记位置(f()), 4);
        expectShown(2, 3);
        QVERIFY(list->selectedItems().isEmpty());

        f().List1[1]->setFocus();
        QTest::keyClick(f().List1[1], Qt::Key_Down);
        QCOMPARE(获得底色标记位置(f()), 2);
        expectShown(2, 1);
        int marks = 0;
        for (int g = 1; g <= MaxGroups; ++g) {
            marks += state().groupSelected(g);
        }
        QCOMPARE(marks, 1);
    }

    void clickOnThePoolChangesNothing() {
        recordGroups(3);
        f().List1[0]->addItems({"甲", "乙"});
        f().List1[0]->setCurrentRow(1);
        QCOMPARE(获得底色标记位置(f()), 3);
        expectShown(1, 3);
        QCOMPARE(f().List1[0]->selectedItems().size(), 1);
    }

    // With group 3 first, a name in the second list marks group 4.
    void clickWithThirdGroupFirst() {
        recordGroups(6);
        state().firstShownGroup = 3;
        显示(f(), 3);
        f().List1[2]->setCurrentRow(0);
        QCOMPARE(获得底色标记位置(f()), 4);
        expectShown(3, 2);
    }
};

QTEST_MAIN(TestResultLists)
#include "TestResultLists.moc"
