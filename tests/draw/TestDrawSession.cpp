#include "support/TestSession.h"

#include <QSet>
#include <QSignalSpy>
#include <QTest>

using namespace sortilo;

Q_DECLARE_METATYPE(sortilo::ErrorKind)

// The draw's rules on the session alone, its timer ticked by hand: what the screen is told and
// what the export and a record of the draw would read.
class TestDrawSession : public QObject {
    Q_OBJECT

    std::unique_ptr<test::TestSession> t;
    DrawSession& s() { return t->session; }
    const DrawModel& model() { return t->model(); }
    QList<ErrorKind>& refusals() { return t->refusals; }
    void tick() { t->timer.fire(); }
    void drawGroups(int n) {
        for (int g = 0; g < n; ++g) {
            t->drawGroup(QStringLiteral("2"));
        }
    }
    // The lists show groups first..first+3 (those recorded) under their titles; list `pink`
    // (1..4, 0 for none) is the selected group's.
    void expectShown(int first, int pink) {
        for (int i = 0; i < 4; ++i) {
            const int g = first + i;
            const bool recorded = g >= 1 && g <= model().groupCount();
            QCOMPARE(t->groups[i].names, recorded ? model().groupNames(g) : QStringList());
            QCOMPARE(t->groups[i].title, g >= 1 ? QStringLiteral("第%1组").arg(g) : QString());
            QCOMPARE(t->groups[i].selected, i + 1 == pink);
        }
    }

private Q_SLOTS:
    void init() {
        t = std::make_unique<test::TestSession>();
        t->givePool(20);
    }

    // Start-up ticks show no name; Start and Stop switch buttons and focus; Stop freezes the
    // label on the group's first name; after a Stop the first tick of the next draw is a pause.
    void startStopAndTheTicks() {
        test::TestSession fresh;
        fresh.rollingName = QStringLiteral("x");
        fresh.timer.fire();
        QVERIFY(fresh.timer.running());
        QVERIFY(fresh.rollingName.isEmpty());
        t->start(QStringLiteral("2"));
        QVERIFY(t->rolling());
        QCOMPARE(t->focused, DrawButton::Stop);
        tick();  // after an import, as after a Stop, the first tick is a pause
        QVERIFY(t->rollingName.isEmpty());
        tick();
        QVERIFY(t->pool.contains(t->rollingName));
        QSignalSpy recorded(&s(), &DrawSession::groupRecorded);
        s().pressStop();
        QVERIFY(t->idle());
        QCOMPARE(t->focused, DrawButton::Start);
        const QStringList group = model().groupNames(1);
        QCOMPARE(group.size(), 2);
        QCOMPARE(group.first(), t->rollingName);
        QCOMPARE(recorded.takeFirst(), (QVariantList{1, QStringLiteral("第1组"), group}));
        t->start(QStringLiteral("3"));
        t->rollingName.clear();
        tick();
        QVERIFY(t->rollingName.isEmpty());
        s().pressStop();
        QVERIFY(t->rolling());
        tick();
        QVERIFY(!t->rollingName.isEmpty());
        QVERIFY(refusals().isEmpty());
    }

    // An import starts a new draw: no groups, no settings, stopped, and neither 开始 nor 结束
    // goes on until 是 or 否 is chosen; the old roster's picks are never recorded.
    void importStartsAfresh() {
        for (const char* count : {"2", "5", "1"}) {
            t->drawGroup(QString::fromLatin1(count));
        }
        s().showLaterGroups();
        s().selectShownGroup(1);
        t->start(QStringLiteral("3"));
        tick();
        tick();
        QSignalSpy rolling(&s(), &DrawSession::rollingChanged);
        s().importRoster(test::numberedNames(2, QStringLiteral("新")));
        QCOMPARE(rolling.takeFirst(), QVariantList{false});
        QVERIFY(s().drawCountText().isEmpty());
        QVERIFY(s().keepChoice() == KeepChoice::None);
        QVERIFY(t->idle());
        QVERIFY(t->rollingName.isEmpty());
        QCOMPARE(t->focused, DrawButton::Start);
        QCOMPARE(model().groupCount(), 0);
        QVERIFY(model().history().isEmpty());
        QCOMPARE(t->pool, (QStringList{"新1", "新2"}));
        QCOMPARE(t->poolCount, 2);
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(t->groups[i].title, QStringLiteral("第%1组").arg(i + 1));
            QVERIFY(t->groups[i].names.isEmpty());
            QVERIFY(!t->groups[i].selected);
        }
        s().pressStart();
        s().pressStop();
        QCOMPARE(refusals(), QList<ErrorKind>(2, ErrorKind::KeepChoiceNotSet));
        s().setKeepChoice(KeepChoice::Remove);
        s().pressStop();
        QCOMPARE(model().groupCount(), 0);
        t->start(QStringLiteral("2"));
        tick();
        QVERIFY(t->rollingName.isEmpty());
    }

    // A refused Start while the draw rolls: ticks go on behind the message; a new count takes
    // effect at the next Start only.
    void refusalWhileRolling() {
        t->start(QStringLiteral("1"));
        tick();
        QSet<QString> behind;
        t->whileRefused = [this, &behind](ErrorKind) {
            for (int i = 0; i < 6; ++i) {
                tick();
                behind << t->rollingName;
            }
        };
        s().setDrawCountText(QStringLiteral("0"));
        QVERIFY(s().startShown());
        QVERIFY(s().stopShown());
        s().pressStart();
        QCOMPARE(refusals(), QList<ErrorKind>{ErrorKind::CountBelowOne});
        QVERIFY(behind.size() > 1);
        QVERIFY(t->timer.running());
        s().pressStop();
        QCOMPARE(model().groupNames(1).size(), 1);
        t->start(QStringLiteral("5"));
        tick();
        tick();
        s().pressStop();
        QCOMPARE(model().groupNames(2).size(), 5);
    }

    // Keep mode leaves the pool alone; remove mode takes out exactly the entries drawn (a name
    // listed twice is two entries), the rest keeping their order; a count above the pool stops
    // the draw at its first tick, and the label keeps the last name.
    void keepAndRemove() {
        QStringList roster = test::numberedNames(20);
        roster[3] = roster[4] = QStringLiteral("张三");
        s().importRoster(roster);
        s().setKeepChoice(KeepChoice::Keep);
        t->drawGroup(QStringLiteral("5"));
        QCOMPARE(t->pool, roster);
        s().setKeepChoice(KeepChoice::Remove);
        t->drawGroup(QStringLiteral("7"));
        QList<int> rest = model().pool();
        QCOMPARE(rest.size(), 13);
        QVERIFY(std::is_sorted(rest.begin(), rest.end()));
        for (const int entry : model().group(2).members) {
            QVERIFY(!rest.contains(entry));
        }
        QCOMPARE(t->pool, model().names(rest));
        QCOMPARE(t->poolCount, 13);
        t->drawGroup(QStringLiteral("13"));
        QVERIFY(t->pool.isEmpty());
        QVERIFY(t->poolCount == 0);
        QList<int> everyone;
        for (const Group& g : model().groups().mid(1)) {
            everyone << g.members;
        }
        QCOMPARE(everyone.size(), 20);
        QCOMPARE(QSet<int>(everyone.begin(), everyone.end()).size(), 20);
        const QString last = t->rollingName;
        t->start(QStringLiteral("1"));
        tick();
        QVERIFY(refusals().isEmpty());
        tick();
        QVERIFY(t->idle());
        QVERIFY(t->rollingName == last);
        QCOMPARE(refusals(), QList<ErrorKind>{ErrorKind::CountAbovePool});
        s().pressStop();
        QCOMPARE(model().groupCount(), 3);
    }

    // The groups are the committed derivation's, whichever tick 结束 falls on: 结束 freezes the
    // label on the group's first pick. The room's text, added before the first group, changes
    // them; after it, or once a group is drawn, it is no longer taken.
    void groupsFollowTheCommitment_data() {
        QTest::addColumn<int>("ticks");
        QTest::addColumn<QString>("entropy");
        QTest::addColumn<QList<int>>("first");
        QTest::addColumn<QList<int>>("second");
        QTest::newRow("stop at once") << 2 << QString() << QList<int>{4, 0, 6} << QList<int>{7, 1};
        QTest::newRow("stop late") << 9 << QString() << QList<int>{4, 0, 6} << QList<int>{7, 1};
        QTest::newRow("room's text") << 3 << "20261207" << QList<int>{1, 6, 5} << QList<int>{7, 9};
    }
    void groupsFollowTheCommitment() {
        QFETCH(int, ticks);
        QFETCH(QString, entropy);
        QFETCH(QList<int>, first);
        QFETCH(QList<int>, second);
        const QStringList& roster = test::KnownAnswerRoster;
        s().importRoster(roster);
        QVERIFY(s().entropyAllowed());
        if (!entropy.isEmpty()) {
            QSignalSpy offered(&s(), &DrawSession::entropyAllowedChanged);
            s().addEntropy(entropy);
            QCOMPARE(offered.size(), 1);
            QCOMPARE(offered.first(), QVariantList{false});
            s().addEntropy(QStringLiteral("再来一次"));
            QCOMPARE(*model().entropy(), entropy);
        }
        s().setKeepChoice(KeepChoice::Remove);
        for (const auto& [count, picks] : {std::pair{QStringLiteral("3"), first}, {"2", second}}) {
            t->start(count);
            for (int i = 0; i < ticks; ++i) {
                tick();
            }
            s().pressStop();
            QCOMPARE(model().groups().last().members, picks);
            QCOMPARE(t->rollingName, roster[picks.first()]);
        }
        QVERIFY(!s().entropyAllowed());
    }

    // Absent names marked in a group of 5 drawn with 否: the question names them; replacements
    // take their places, the absent and the replacements leave the pool, the rest of the group
    // stands. A second replacement never brings back an absent name or a member. The known answer:
    // index 4 absent from group 1 (4, 0, 6) gives 2.
    void replacementsForAbsentNames() {
        s().importRoster(test::KnownAnswerRoster);
        s().setKeepChoice(KeepChoice::Remove);
        t->drawGroup(QStringLiteral("3"));
        QSignalSpy asked(&s(), &DrawSession::redrawAsked);
        s().askRedraw({{1, 0}});
        QCOMPARE(asked.takeFirst().at(1), QVariant(QStringList{QStringLiteral("陈静")}));
        s().redrawAbsent({{1, 0}});
        QCOMPARE(model().group(1).members, (QList<int>{2, 0, 6}));
        t->givePool(20);
        s().setKeepChoice(KeepChoice::Remove);
        t->drawGroup(QStringLiteral("1"));
        t->drawGroup(QStringLiteral("5"));
        const QList<int> before = model().group(2).members;
        QSignalSpy redrawn(&s(), &DrawSession::groupRedrawn);
        s().redrawAbsent({{2, 3}, {2, 1}});
        const QList<int> after = model().group(2).members;
        QCOMPARE(redrawn.takeFirst().at(3), QVariant::fromValue(QList<int>{1, 3}));
        for (const int k : {0, 2, 4}) {
            QCOMPARE(after[k], before[k]);
        }
        QCOMPARE(t->poolCount, 20 - 1 - 5 - 2);
        QCOMPARE(t->groups[1].names, model().names(after));
        s().redrawAbsent({{2, 1}});
        const QList<int> third = model().group(2).members;
        QCOMPARE(QSet<int>(third.begin(), third.end()).size(), 5);
        QVERIFY(!third.contains(before[1]));
        QVERIFY(!third.contains(before[3]));
        QVERIFY(!third.contains(after[1]));
        QVERIFY(!third.contains(model().group(1).members[0]));
        QCOMPARE(t->poolCount, 20 - 1 - 5 - 3);
        QVERIFY(refusals().isEmpty());
    }

    // Nothing marked, names of two groups, a rolling draw, too few names left: refused, and
    // nothing changes.
    void refusedReplacements_data() {
        QTest::addColumn<QList<GroupPlace>>("absent");
        QTest::addColumn<bool>("rolling");
        QTest::addColumn<ErrorKind>("refusal");
        QTest::newRow("none") << QList<GroupPlace>{} << false << ErrorKind::NoAbsentSelected;
        QTest::newRow("two groups")
            << QList<GroupPlace>{{1, 0}, {2, 0}} << false << ErrorKind::AbsentInTwoGroups;
        QTest::newRow("rolling") << QList<GroupPlace>{{1, 0}} << true
                                 << ErrorKind::RedrawWhileRolling;
        QTest::newRow("too few") << QList<GroupPlace>{{2, 0}, {2, 1}} << false
                                 << ErrorKind::TooFewToRedraw;
    }
    void refusedReplacements() {
        QFETCH(QList<GroupPlace>, absent);
        QFETCH(bool, rolling);
        QFETCH(ErrorKind, refusal);
        s().setKeepChoice(KeepChoice::Remove);
        t->drawGroup(QStringLiteral("9"));
        t->drawGroup(QStringLiteral("10"));
        if (rolling) {
            t->start(QStringLiteral("1"));
        }
        const QList<Group> groups = model().groups();
        QSignalSpy asked(&s(), &DrawSession::redrawAsked);
        s().askRedraw(absent);
        s().redrawAbsent(absent);
        QCOMPARE(refusals(), QList<ErrorKind>(2, refusal));
        QCOMPARE(asked.size(), 0);
        QCOMPARE(model().groups().size(), groups.size());
        for (int g = 0; g < groups.size(); ++g) {
            QCOMPARE(model().groups()[g].members, groups[g].members);
        }
    }

    // The second click of a double click on Start lands on Stop before any pick: ignored.
    void stopBeforeFirstPickIgnored() {
        s().setKeepChoice(KeepChoice::Remove);
        t->start(QStringLiteral("2"));
        s().pressStop();
        tick();
        s().pressStop();
        QVERIFY(t->rolling());
        tick();
        s().pressStop();
        t->start(QStringLiteral("2"));
        s().pressStop();
        tick();
        s().pressStop();
        QVERIFY(t->rolling());
        QCOMPARE(model().groupCount(), 1);
        QCOMPARE(t->poolCount, 18);
        tick();
        s().pressStop();
        QCOMPARE(model().groupCount(), 2);
        QCOMPARE(t->poolCount, 16);
    }

    // Counts Start refuses leave the draw as it was.
    void refusedCounts_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<ErrorKind>("refusal");
        QTest::newRow("letters") << "abc" << ErrorKind::CountBelowOne;
        QTest::newRow("half") << "0.5" << ErrorKind::CountBelowOne;
        QTest::newRow("above a group") << "1000.6" << ErrorKind::CountAboveGroupSize;
        QTest::newRow("huge") << "1e400" << ErrorKind::CountAboveGroupSize;
    }
    void refusedCounts() {
        QFETCH(QString, text);
        QFETCH(ErrorKind, refusal);
        t->drawGroup(QStringLiteral("3"));
        t->start(text);
        QCOMPARE(refusals(), QList<ErrorKind>{refusal});
        QVERIFY(t->idle());
    }

    // 1000 names make a group; the 51st group is refused at Start.
    void groupLimits() {
        t->givePool(1500);
        t->drawGroup(QStringLiteral("1000.5"));
        QCOMPARE(model().groupNames(1).size(), 1000);
        drawGroups(MaxGroups - 1);
        QVERIFY(refusals().isEmpty());
        t->start(QStringLiteral("2"));
        QCOMPARE(refusals(), QList<ErrorKind>{ErrorKind::GroupsFull});
        QVERIFY(t->idle());
        QCOMPARE(model().groupCount(), MaxGroups);
    }

    // The newest group is shown in the pink list; "<" and ">" through six groups: the pink goes
    // with its group, ">" hides on the newest groups and comes back with a "<" on the first ones.
    void paging() {
        for (const auto& [groups, first] : {std::pair{1, 1}, {3, 1}, {1, 2}, {1, 3}}) {
            drawGroups(groups);
            expectShown(first, model().groupCount() - first + 1);
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
        QCOMPARE(s().selectedGroup(), 3);
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
            {Qt::Key_PageDown, F::TitleEditor, false, 'S'},
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
            QVERIFY2(taken == (r.effect != '-'), row);
            QVERIFY2(t->rolling() == (r.effect == 'P'), row);
            if (r.effect == 'P') {
                tick();
                tick();
                s().pressKey(r.key, r.focus, r.held);
                QVERIFY2(t->idle(), row);
                QCOMPARE(model().groupCount(), 1);
            }
        }
    }

    // Keys run the draw through every check: a refusal's message takes the keys while it is open
    // and gives them back when it closes; Start brought back over Stop is the one pressed.
    void keysAndMessages() {
        int keysDuringMessage = 0;
        t->whileRefused = [this, &keysDuringMessage](ErrorKind) {
            keysDuringMessage += s().pressKey(Qt::Key_PageDown, KeyFocus::Elsewhere);
        };
        s().pressKey(Qt::Key_Return, KeyFocus::TextBox);
        QCOMPARE(refusals(), QList<ErrorKind>{ErrorKind::CountBelowOne});
        QVERIFY(!t->rolling());
        s().setDrawCountText(QStringLiteral("3"));
        s().pressKey(Qt::Key_PageDown, KeyFocus::Elsewhere);
        QVERIFY(t->rolling());
        tick();
        s().setDrawCountText(QStringLiteral("25"));  // 开始 comes back on top of 结束
        s().pressKey(Qt::Key_PageUp, KeyFocus::Elsewhere);
        QVERIFY(t->rolling());
        tick();
        QCOMPARE(refusals(),
                 (QList<ErrorKind>{ErrorKind::CountBelowOne, ErrorKind::CountAbovePool}));
        QVERIFY(t->idle());
        QCOMPARE(keysDuringMessage, 0);
        QCOMPARE(model().groupCount(), 0);
    }
};

QTEST_GUILESS_MAIN(TestDrawSession)
#include "TestDrawSession.moc"
