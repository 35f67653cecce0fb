#include "app/Controls.h"
#include "results/DetailsView.h"
#include "support/TestForm.h"

#include <QListWidget>
#include <QPushButton>
#include <QTest>

using namespace sortilo;

namespace {

QStringList names(int n) {
    QStringList list;
    for (int i = 1; i <= n; ++i) {
        list << QStringLiteral("名字%1").arg(i);
    }
    return list;
}

}  // namespace

// The details view: a copy of one list in the large three-column list.
class TestDetailsView : public QObject {
    Q_OBJECT

    std::unique_ptr<test::TestForm> t;

    Form1& f() { return *t->form; }
    bool open() { return shownInWindow(f().List2) && shownInWindow(f().Command5[1]); }
    bool closed() { return !shownInWindow(f().List2) && !shownInWindow(f().Command5[1]); }

private Q_SLOTS:
    void init() { t = test::makeTestForm(); }
    void cleanup() { t.reset(); }

    void emptyList() {
        f().Command2[2]->click();
        QVERIFY(open());
        QCOMPARE(f().List2->count(), 0);
    }

    // The pool in its order; the pool list keeps its entries and its selection.
    void thePool() {
        f().List1[0]->addItems(names(45));
        f().List1[0]->setCurrentRow(7);
        f().Command2[0]->click();
        QVERIFY(open());
        QCOMPARE(test::items(f().List2), names(45));
        QCOMPARE(test::items(f().List1[0]), names(45));
        QCOMPARE(f().List1[0]->currentRow(), 7);
        QCOMPARE(f().List1[0]->selectedItems().size(), 1);
    }

    void copyEndsAtAnEmptyEntry() {
        f().List1[3]->addItems({"甲", "乙", "", "丁"});
        f().Command2[3]->click();
        QCOMPARE(test::items(f().List2), QStringList({"甲", "乙"}));
    }

    void atMostTwoThousand() {
        f().List1[0]->addItems(names(2001));
        f().Command2[0]->click();
        QCOMPARE(f().List2->count(), MaxRoster);
    }

    // Close keeps the copy hidden; the next opening shows only the second list.
    void openCloseOpenAnother() {
        f().List1[0]->addItems(names(45));
        f().List1[1]->addItems({"一", "二"});
        f().Command2[0]->click();
        f().Command5[1]->click();
        QVERIFY(closed());
        QCOMPARE(f().List2->count(), 45);
        f().Command2[1]->click();
        QVERIFY(open());
        QCOMPARE(test::items(f().List2), QStringList({"一", "二"}));
    }

    // A copy: later changes of the source do not reach the open view.
    void copyDoesNotFollow() {
        f().List1[4]->addItems({"一"});
        f().Command2[4]->click();
        f().List1[4]->addItem(QStringLiteral("二"));
        QCOMPARE(test::items(f().List2), QStringList({"一"}));
    }
};

QTEST_MAIN(TestDetailsView)
#include "TestDetailsView.moc"
