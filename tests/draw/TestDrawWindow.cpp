#include "app/Controls.h"
#include "draw/DrawHandlers.h"
#include "draw/Reset.h"
#include "platform/Texts.h"
#include "support/TestForm.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QTest>

using namespace sortilo;

namespace {

QStringList group(const DrawState& state, int g) {
    QStringList names;
    for (int k = 1; k <= state.groupSizes(g); ++k) {
        names << state.groupResults(k, g);
    }
    return names;
}

}  // namespace

// The rolling draw on the real window: buttons, timer, display, messages, recorded groups.
class TestDrawWindow : public QObject {
    Q_OBJECT

    std::unique_ptr<test::TestForm> t;

    Form1& f() { return *t->form; }
    DrawState& state() { return t->state(); }
    QStringList& shown() { return t->messages->shown; }

    // A pool as the import leaves it: the names, the pool list and its count.
    void pool(int size) {
        for (int i = 1; i <= size; ++i) {
            state().roster(i) = QStringLiteral("名%1").arg(i);
        }
        state().rosterCount = static_cast<int16_t>(size);
        f().List1[0]->clear();
        f().List1[0]->addItems(test::poolOf(state()));
        showPoolCount(f());
    }
    void start(const QString& count) {
        f().Text1->setText(count);
        f().Command3[0]->click();
    }
    void tick() { Timer1_Timer(f()); }
    void stop() { Command3_Click(f(), 1); }
    // Start, the ticks until the first pick shows, Stop.
    void drawGroup(const QString& count) {
        start(count);
        tick();
        if (!state().currentDrawPicked) {
            tick();
        }
        stop();
    }
    bool rolling() {
        return !shownInWindow(f().Command3[0]) && shownInWindow(f().Command3[1]) &&
               f().Timer1->interval() == 100 && f().Timer1->isActive();
    }
    bool idle() {
        return shownInWindow(f().Command3[0]) && !shownInWindow(f().Command3[1]) &&
               f().Timer1->interval() == 0 && !f().Timer1->isActive();
    }

private Q_SLOTS:
    void init() { t = test::makeTestForm(2026); }
    void cleanup() { t.reset(); }

    void startAndStopSwitchTheButtons() {
        pool(5);
        start(QStringLiteral("2"));
        QVERIFY(rolling());
        QCOMPARE(f().focusWidget(), f().Command3[1]);
        QCOMPARE(state().drawCount, int16_t(2));
        tick();
        QVERIFY(!f().Label2->text().isEmpty());
        f().Command3[1]->click();
        QVERIFY(idle());
        QCOMPARE(f().focusWidget(), f().Command3[0]);
        QCOMPARE(state().groupCount, int16_t(1));
        QCOMPARE(state().skipNextTick, int16_t(1));
        QCOMPARE(state().groupResults(1, 1), f().Label2->text());
        QVERIFY(shown().isEmpty());
    }

    // The timer of the window drives the tick; before any count it shows entry 0 of the pool.
    void startUpTicksShowNoName() {
        f().Label2->setText(QStringLiteral("x"));
        QVERIFY(QMetaObject::invokeMethod(f().Timer1, "timeout"));
        QCOMPARE(f().Label2->text(), QString());
    }

    // The first tick after a Stop or a reset does nothing; after start-up it picks at once.
    void firstTickSkipped() {
        pool(8);
        start(QStringLiteral("1"));
        tick();
        QVERIFY(state().currentDrawPicked);
        stop();
        const QString frozen = f().Label2->text();
        const int16_t pick = state().drawPicks(1);
        start(QStringLiteral("3"));
        tick();
        QCOMPARE(state().skipNextTick, int16_t(0));
        QCOMPARE(f().Label2->text(), frozen);
        QCOMPARE(state().drawPicks(1), pick);
        QVERIFY(!state().currentDrawPicked);
        tick();
        QVERIFY(state().currentDrawPicked);
        QCOMPARE(f().Label2->text(), state().roster(state().drawPicks(1)));

        数据环境还原(f());
        f().Option1[0]->setChecked(true);
        start(QStringLiteral("2"));
        tick();
        QVERIFY(!state().currentDrawPicked);
        QCOMPARE(f().Label2->text(), QString());
        tick();
        QVERIFY(!f().Label2->text().isEmpty());
    }

    // A refused Start while the draw rolls: the message is open and the display goes on rolling.
    void messageWhileRolling() {
        pool(30);
        start(QStringLiteral("1"));
        tick();
        QStringList behind;
        t->messages->whileOpen = [this, &behind](const QString&) {
            for (int i = 0; i < 6; ++i) {
                tick();
                behind << f().Label2->text();
            }
        };
        f().Text1->setText(QStringLiteral("0"));
        QVERIFY(shownInWindow(f().Command3[0]));
        f().Command3[0]->click();
        QCOMPARE(shown(), QStringList{texts::CountBelowOne});
        QVERIFY(QSet<QString>(behind.begin(), behind.end()).size() > 1);
        QVERIFY(shownInWindow(f().Command3[1]));
        QVERIFY(f().Timer1->isActive());
        QCOMPARE(state().drawCount, int16_t(1));
    }

    void countOneGreaterThanPool() {
        pool(3);
        start(QStringLiteral("1"));
        tick();
        const QString last = f().Label2->text();
        QVERIFY(!last.isEmpty());
        start(QStringLiteral("4"));
        QVERIFY(rolling());
        tick();
        QVERIFY(idle());
        QCOMPARE(shown(), QStringList{texts::CountAbovePool});
        QCOMPARE(state().skipNextTick, int16_t(1));
        QCOMPARE(state().groupCount, int16_t(0));
        QCOMPARE(f().Label2->text(), last);
        stop();
        QCOMPARE(state().groupCount, int16_t(0));
    }

    // The whole pool in remove mode empties it; the next draw of that count is refused.
    void countEqualToPool() {
        pool(4);
        f().Option1[1]->setChecked(true);
        drawGroup(QStringLiteral("4"));
        const QStringList drawn = group(state(), 1);
        QCOMPARE(QSet<QString>(drawn.begin(), drawn.end()).size(), 4);
        QCOMPARE(state().rosterCount, int16_t(0));
        QCOMPARE(f().List1[0]->count(), 0);
        QCOMPARE(f().Label3->text(), QStringLiteral("0可抽值"));
        start(QStringLiteral("4"));
        tick();
        QVERIFY(shown().isEmpty());
        tick();
        QCOMPARE(shown(), QStringList{texts::CountAbovePool});
    }

    void removeModeTakesTheGroupOut() {
        pool(5);
        f().Option1[1]->setChecked(true);
        drawGroup(QStringLiteral("2"));
        const QStringList drawn = group(state(), 1);
        QCOMPARE(drawn.size(), 2);
        QVERIFY(drawn[0] != drawn[1]);
        QStringList rest{"名1", "名2", "名3", "名4", "名5"};
        rest.removeAll(drawn[0]);
        rest.removeAll(drawn[1]);
        QCOMPARE(test::poolOf(state()), rest);
        QCOMPARE(test::items(f().List1[0]), rest);
        QCOMPARE(f().Label3->text(), QStringLiteral("3可抽值"));
    }

    void keepModeKeepsThePool() {
        pool(5);
        const QStringList before = test::poolOf(state());
        for (int g = 1; g <= 3; ++g) {
            drawGroup(QStringLiteral("2"));
        }
        QCOMPARE(state().groupCount, int16_t(3));
        QCOMPARE(test::poolOf(state()), before);
        QCOMPARE(test::items(f().List1[0]), before);
        QCOMPARE(f().Label3->text(), QStringLiteral("5可抽值"));
    }

    // The newest group is always on screen, in the pink list.
    void newestGroupShown() {
        pool(20);
        const QMap<int, std::pair<int, int>> expected{
            {1, {1, 1}}, {4, {1, 4}}, {5, {2, 4}}, {12, {9, 4}}};
        for (int g = 1; g <= 12; ++g) {
            drawGroup(QStringLiteral("2"));
            if (!expected.contains(g)) {
                continue;
            }
            const auto [first, list] = expected[g];
            QCOMPARE(int(state().firstShownGroup), first);
            for (int i = 1; i <= 4; ++i) {
                QCOMPARE(backColor(f().List1[i]) == ListColor::Pink, i == list);
            }
            QCOMPARE(test::items(f().List1[list]), group(state(), g));
            QCOMPARE(f().List1[list]->item(0)->text(), f().Label2->text());
            QCOMPARE(f().Label1[list]->text(), QStringLiteral("第%1组").arg(g));
        }
    }

    // The second click of a double click on Start lands on Stop before any pick: ignored.
    void stopBeforeFirstPickIgnored() {
        pool(6);
        f().Option1[1]->setChecked(true);
        start(QStringLiteral("2"));
        f().Command3[1]->click();
        QVERIFY(rolling());
        QCOMPARE(state().groupCount, int16_t(0));
        QCOMPARE(state().rosterCount, int16_t(6));
        tick();
        stop();
        QCOMPARE(state().groupCount, int16_t(1));
        start(QStringLiteral("2"));
        stop();
        tick();
        stop();
        QVERIFY(rolling());
        QCOMPARE(state().groupCount, int16_t(1));
        QCOMPARE(state().rosterCount, int16_t(4));
        tick();
        stop();
        QCOMPARE(state().groupCount, int16_t(2));
        QCOMPARE(state().rosterCount, int16_t(2));
        QVERIFY(shown().isEmpty());
    }

    void fiftyFirstGroupRefused() {
        pool(10);
        for (int g = 1; g <= MaxGroups; ++g) {
            drawGroup(QStringLiteral("1"));
        }
        QCOMPARE(state().groupCount, int16_t(50));
        QVERIFY(shown().isEmpty());
        start(QStringLiteral("2"));
        QCOMPARE(shown(), QStringList{texts::GroupsFull});
        QVERIFY(idle());
        QCOMPARE(state().drawCount, int16_t(1));
        QCOMPARE(state().groupCount, int16_t(50));
    }

    // Counts Start refuses leave the count and the buttons as they were.
    void refusedCounts_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        for (const char* text : {"abc", "", "0", "0.4", "-2", "0.5"}) {
            QTest::newRow(text) << QString::fromLatin1(text) << texts::CountBelowOne;
        }
        for (const char* text : {"1001", "1000.6", "32767", "32768", "&HFFFF", "1e9"}) {
            QTest::newRow(text) << QString::fromLatin1(text) << texts::CountAboveGroupSize;
        }
    }

    void refusedCounts() {
        QFETCH(QString, text);
        QFETCH(QString, message);
        pool(3);
        drawGroup(QStringLiteral("3"));
        start(text);
        QCOMPARE(shown(), QStringList{message});
        QVERIFY(idle());
        QCOMPARE(state().drawCount, int16_t(3));
    }

    void largestGroupAccepted() {
        pool(1500);
        drawGroup(QStringLiteral("1000.5"));
        QVERIFY(shown().isEmpty());
        QCOMPARE(state().groupSizes(1), int16_t(1000));
        QCOMPARE(f().List1[1]->count(), 1000);
    }

    // Picks of the pool before an import are never recorded after it.
    void resetForgetsThePicks() {
        pool(6);
        start(QStringLiteral("3"));
        tick();
        数据环境还原(f());
        pool(2);
        f().Option1[1]->setChecked(true);
        stop();
        QCOMPARE(state().groupCount, int16_t(0));
        QCOMPARE(state().rosterCount, int16_t(2));
    }

    // Right after an import neither keep nor remove is chosen: both buttons ask for it first.
    void keepChoiceAskedFirst() {
        pool(5);
        数据环境还原(f());
        f().Command3[0]->click();
        QCOMPARE(shown(), QStringList{texts::KeepChoiceNotSet});
        stop();
        QCOMPARE(shown().size(), 2);
        QVERIFY(idle());
    }

    // Editing the count while the draw rolls brings Start back on top; Start restarts the draw.
    void editingTheCountWhileRolling() {
        pool(9);
        start(QStringLiteral("2"));
        tick();
        f().Text1->setText(QStringLiteral("5"));
        QVERIFY(shownInWindow(f().Command3[0]) && shownInWindow(f().Command3[1]));
        QVERIFY(f().Timer1->isActive());
        QCOMPARE(state().drawCount, int16_t(2));
        f().Command3[0]->click();
        QVERIFY(rolling());
        QCOMPARE(state().drawCount, int16_t(5));
        tick();
        stop();
        QCOMPARE(state().groupSizes(1), int16_t(5));
    }
};

QTEST_MAIN(TestDrawWindow)
#include "TestDrawWindow.moc"
