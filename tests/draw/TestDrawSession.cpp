#include "draw/engine/DrawPick.h"
#include "platform/Texts.h"
#include "support/TestSession.h"

#include <QSet>
#include <QSignalSpy>
#include <QTest>

using namespace sortilo;

// The draw's rules on the session alone, its timer ticked by hand.
class TestDrawSession : public QObject {
    Q_OBJECT

    std::unique_ptr<test::TestSession> t;
    DrawSession& s() { return t->session; }
    const DrawState& state() { return t->state(); }
    QStringList& shown() { return t->messages.shown; }
    void tick() { t->timer.fire(); }
    void drawGroups(int n) {
        for (int g = 0; g < n; ++g) {
            t->drawGroup(QStringLiteral("2"));
        }
    }
    // The lists show groups first..first+3 (those recorded) under their titles; list `pink`
    // (1..4, 0 for none) is the selected group's.
    void expectShown(int first, int pink) {
        QCOMPARE(int(state().firstShownGroup), first);
        for (int i = 0; i < 4; ++i) {
            const int g = first + i;
            const bool recorded = g >= 1 && g <= state().groupCount;
            QCOMPARE(t->groups[i].names, recorded ? groupNames(state(), g) : QStringList());
            QCOMPARE(t->groups[i].title, g >= 1 ? QStringLiteral("第%1组").arg(g) : QString());
            QCOMPARE(t->groups[i].selected, i + 1 == pink);
        }
    }

private Q_SLOTS:
    void init() {
        t = std::make_unique<test::TestSession>();
        t->givePool(20);
    }

    // Start-up ticks find no count; Start and Stop switch buttons, timer and focus; the tick
    // after a Stop is skipped.
    void startStopAndTheTicks() {
        QCOMPARE(t->timer.periodMs, DrawSession::StartUpPeriod);
        t->rollingName = QStringLiteral("x");
        tick();
        QCOMPARE(t->rollingName, QString());
        t->start(QStringLiteral("2"));
        QVERIFY(t->rolling() && t->focused == DrawButton::Stop);
        tick();
        QCOMPARE(t->rollingName, state().roster(state().drawPicks(1)));
        QSignalSpy recorded(&s(), &DrawSession::groupRecorded);
        s().pressStop();
        QVERIFY(t->idle() && t->focused == DrawButton::Start);
        const QStringList group = groupNames(state(), 1);
        QCOMPARE(group.first(), t->rollingName);
        QCOMPARE(recorded.takeFirst(), (QVariantList{1, QStringLiteral("第1组"), group}));
        t->start(QStringLiteral("3"));
        tick();
        QVERIFY(!state().currentDrawPicked);
        tick();
        QCOMPARE(t->rollingName, state().roster(state().drawPicks(1)));
        QVERIFY(shown().isEmpty());
    }

    // The reset before an import: no groups, no settings, stopped, the next tick skipped and the
    // old pool's picks never recorded. The picks, the count, the paging and the titles stay.
    void reset() {
        for (const char* count : {"2", "5", "1"}) {
            t->drawGroup(QString::fromLatin1(count));
        }
        s().showLaterGroups();
        s().selectShownGroup(1);
        t->start(QStringLiteral("3"));
        tick();
        tick();
        const QString name = state().rollingName;
        s().reset();
        QVERIFY(s().drawCountText().isEmpty() && s().keepChoice() == KeepChoice::None);
        QVERIFY(t->idle() && t->focused == DrawButton::Start && t->rollingName.isEmpty());
        QCOMPARE(state().groupCount, int16_t(0));
        for (int g = 1; g <= MaxGroups; ++g) {
            QCOMPARE(state().groupSizes(g) + state().groupSelected(g), 0);
        }
        QCOMPARE(state().groupResults(5, 2), QString());
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(t->groups[i].title, QStringLiteral("第%1组").arg(i + 1));
            QVERIFY(t->groups[i].names.isEmpty() && !t->groups[i].selected);
        }
        QVERIFY(state().drawCount == 3 && state().rollingName == name);
        QCOMPARE(state().firstShownGroup, int16_t(2));
        s().pressStart();  // neither keep nor remove chosen: both buttons ask first
        s().pressStop();
        QCOMPARE(shown(), QStringList(2, texts::KeepChoiceNotSet));
        t->givePool(2);
        s().setKeepChoice(KeepChoice::Remove);
        s().pressStop();
        QVERIFY(state().groupCount == 0 && state().rosterCount == 2);
        t->start(QStringLiteral("2"));
        tick();
        QCOMPARE(t->rollingName, QString());
    }

    // A refused Start while the draw rolls: ticks go on behind the message; a new count takes
    // effect at the next Start only.
    void refusalWhileRolling() {
        t->start(QStringLiteral("1"));
        tick();
        QSet<QString> behind;
        t->messages.whileOpen = [this, &behind](const QString&) {
            for (int i = 0; i < 6; ++i) {
                tick();
                behind << t->rollingName;
            }
        };
        s().setDrawCountText(QStringLiteral("0"));
        QVERIFY(s().startShown() && s().stopShown());
        s().pressStart();
        QCOMPARE(shown(), QStringList{texts::CountBelowOne});
        QVERIFY(behind.size() > 1 && t->timer.periodMs == 100);
        QCOMPARE(state().drawCount, int16_t(1));
        t->start(QStringLiteral("5"));
        tick();
        s().pressStop();
        QCOMPARE(state().groupSizes(1), int16_t(5));
    }

    // Keep mode leaves the pool alone; remove mode takes out exactly the drawn names, the rest
    // keeping their order; a count above the pool stops the draw at its first tick.
    void keepAndRemove() {
        const QStringList before = poolNames(state());
        t->drawGroup(QStringLiteral("5"));
        QCOMPARE(poolNames(state()), before);
        s().setKeepChoice(KeepChoice::Remove);
        t->drawGroup(QStringLiteral("7"));
        QStringList rest = before;
        for (const QString& name : groupNames(state(), 2)) {
            QCOMPARE(rest.removeAll(name), 1);
        }
        QVERIFY(t->pool == rest && poolNames(state()) == rest);
        QCOMPARE(t->poolCount, QStringLiteral("13可抽值"));
        t->drawGroup(QStringLiteral("13"));
        QVERIFY(t->pool.isEmpty() && t->poolCount == QStringLiteral("0可抽值"));
        const QString last = t->rollingName;
        t->start(QStringLiteral("1"));
        tick();
        QVERIFY(shown().isEmpty());
        tick();
        QVERIFY(t->idle() && t->rollingName == last && state().skipNextTick == 1);
        QCOMPARE(shown(), QStringList{texts::CountAbovePool});
        s().pressStop();
        QCOMPARE(state().groupCount, int16_t(3));
    }

    // The second click of a double click on Start lands on Stop before any pick: ignored.
    void stopBeforeFirstPickIgnored() {
        s().setKeepChoice(KeepChoice::Remove);
        t->start(QStringLiteral("2"));
        s().pressStop();
        QVERIFY(t->rolling());
        tick();
        s().pressStop();
        t->start(QStringLiteral("2"));
        s().pressStop();
        tick();
        s().pressStop();
        QVERIFY(t->rolling() && state().groupCount == 1 && state().rosterCount == 18);
        tick();
        s().pressStop();
        QVERIFY(state().groupCount == 2 && state().rosterCount == 16);
    }

    // Counts Start refuses leave the count and the buttons as they were.
    void refusedCounts_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        QTest::newRow("letters") << "abc" << texts::CountBelowOne;
        QTest::newRow("half") << "0.5" << texts::CountBelowOne;
        QTest::newRow("above a group") << "1000.6" << texts::CountAboveGroupSize;
        QTest::newRow("above 16 bits") << "32768" << texts::CountAboveGroupSize;
    }
    void refusedCounts() {
        QFETCH(QString, text);
        QFETCH(QString, message);
        t->drawGroup(QStringLiteral("3"));
        t->start(text);
        QCOMPARE(shown(), QStringList{message});
        QVERIFY(t->idle() && state().drawCount == 3);
    }

    // 1000 names make a group; the 51st group is refused at Start.
    void groupLimits() {
        t->givePool(1500);
        t->drawGroup(QStringLiteral("1000.5"));
        QCOMPARE(state().groupSizes(1), int16_t(1000));
        drawGroups(MaxGroups - 1);
        QVERIFY(shown().isEmpty());
        t->start(QStringLiteral("2"));
        QCOMPARE(shown(), QStringList{texts::GroupsFull});
        QVERIFY(t->idle() && state().groupCount == 50);
        s().reset();  // the last group's place is cleared too
        QVERIFY(state().groupSizes(50) == 0 && selectedGroup(state()) == 0);
    }

    // The newest group is shown in the pink list; "<" and ">" through six groups: the pink goes
    // with its group, ">" hides on the newest groups and comes back with a "<" on the first ones.
    void paging() {
        for (const auto& [groups, first] : {std::pair{1, 1}, {3, 1}, {1, 2}, {1, 3}}) {
            drawGroups(groups);
            expectShown(first, state().groupCount - first + 1);
        }
        s().showEarlierGroups();
        expectShown(2, 0);
        s().showLaterGroups();
        expectShown(3, 4);
        QVERIFY(!t->laterShown);
        for (int i = 0; i < 3; ++i) {
            s().showEarlierGroups();
        }
        expectShown(1, 0);
        QVERIFY(t->laterShown);
        s().selectShownGroup(3);  // a name in the third list marks group 3, and only it
        s().selectShownGroup(0);
        expectShown(1, 3);
        QCOMPARE(selectedGroup(state()), 3);
    }

    // Before any draw "<" shows group 0 (no names, no title); ">" never passes group 50.
    void pagingAtTheEnds() {
        s().showEarlierGroups();
        expectShown(0, 0);
        for (int i = 0; i < 60; ++i) {
            s().showLaterGroups();
        }
        expectShown(MaxGroups - 3, 0);
        QVERIFY(t->laterShown);
        drawGroups(MaxGroups);
        s().showEarlierGroups();
        s().showLaterGroups();
        expectShown(MaxGroups - 3, 4);
        QVERIFY(!t->laterShown);
    }

    // Every draw key on every kind of focus: it presses the shown one of 开始/结束 (P), is kept
    // from the control (S) or goes on to it (-). A key that started the draw stops it too.
    void keyMap() {
        using F = KeyFocus;
        const struct {
            int key;
            F focus;
            bool held;
            char effect;
        } rows[] = {
            {Qt::Key_PageDown, F::Elsewhere, false, 'P'},
            {Qt::Key_PageUp, F::TextBox, false, 'P'},
            {Qt::Key_PageDown, F::TitleEditor, false, 'P'},
            {Qt::Key_PageDown, F::Elsewhere, true, 'S'},
            {Qt::Key_Return, F::TextBox, false, 'P'},
            {Qt::Key_Enter, F::Elsewhere, false, 'P'},
            {Qt::Key_Return, F::TitleEditor, false, '-'},
            {Qt::Key_Enter, F::TitleEditor, false, '-'},
            {Qt::Key_Space, F::DrawButton, false, 'P'},
            {Qt::Key_Space, F::AudienceWindow, false, 'P'},
            {Qt::Key_Space, F::TextBox, false, '-'},
            {Qt::Key_Space, F::Elsewhere, false, '-'},
            {Qt::Key_Right, F::DrawButton, false, 'S'},
            {Qt::Key_Left, F::DrawButton, false, 'S'},
            {Qt::Key_Right, F::TextBox, false, '-'},
            {Qt::Key_A, F::DrawButton, false, '-'},
        };
        for (const auto& r : rows) {
            init();
            s().setDrawCountText(QStringLiteral("2"));
            const QByteArray row = "row " + QByteArray::number(&r - rows);
            const bool taken = s().pressKey(r.key, r.focus, r.held);
            QVERIFY2(taken == (r.effect != '-') && t->rolling() == (r.effect == 'P'), row);
            if (r.effect == 'P') {
                tick();
                s().pressKey(r.key, r.focus, r.held);
                QVERIFY2(t->idle() && state().groupCount == 1, row);
            }
        }
    }

    // Keys run the draw through every check: a refusal's message takes the keys while it is open
    // and gives them back when it closes; Start brought back over Stop is the one pressed.
    void keysAndMessages() {
        int keysDuringMessage = 0;
        t->messages.whileOpen = [this, &keysDuringMessage](const QString&) {
            keysDuringMessage += s().pressKey(Qt::Key_PageDown, KeyFocus::Elsewhere);
        };
        s().pressKey(Qt::Key_Return, KeyFocus::TextBox);
        QCOMPARE(shown(), QStringList{texts::CountBelowOne});
        QVERIFY(!t->rolling() && keysDuringMessage == 0);
        s().setDrawCountText(QStringLiteral("3"));
        s().pressKey(Qt::Key_PageDown, KeyFocus::Elsewhere);
        QVERIFY(t->rolling());
        tick();
        s().setDrawCountText(QStringLiteral("25"));  // 开始 comes back on top of 结束
        s().pressKey(Qt::Key_PageUp, KeyFocus::Elsewhere);
        QVERIFY(t->rolling() && state().drawCount == 25);
        tick();
        QCOMPARE(shown(), (QStringList{texts::CountBelowOne, texts::CountAbovePool}));
        QVERIFY(t->idle() && keysDuringMessage == 0 && state().groupCount == 0);
    }
};

QTEST_GUILESS_MAIN(TestDrawSession)
#include "TestDrawSession.moc"
