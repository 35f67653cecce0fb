#include "draw/engine/DrawState.h"

#include <QTest>

using namespace sortilo;

class TestDrawState : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void defaultTitles() {
        auto state = makeDrawState();
        state->groupTitles(0) = QStringLiteral("keep");
        标题自动内容生成(*state);
        QCOMPARE(state->groupTitles(1), QStringLiteral("第1组"));
        QCOMPARE(state->groupTitles(50), QStringLiteral("第50组"));
        QCOMPARE(state->groupTitles(0), QStringLiteral("keep"));
    }

    // Three groups of 2, 5 and 1 names are emptied; what the reset does not own stays.
    void clearGroupsEmptiesTheGroups() {
        auto state = makeDrawState();
        const int sizes[] = {2, 5, 1};
        for (int g = 1; g <= 3; ++g) {
            state->groupSizes(g) = static_cast<int16_t>(sizes[g - 1]);
            for (int k = 1; k <= sizes[g - 1]; ++k) {
                state->groupResults(k, g) = QStringLiteral("g%1k%2").arg(g).arg(k);
            }
        }
        state->groupCount = 3;
        state->groupSelected(3) = 1;
        state->firstShownGroup = 2;
        state->drawCount = 5;
        state->rollingName = QStringLiteral("g3k1");
        state->currentDrawPicked = true;
        clearGroups(*state);
        QVERIFY(!state->currentDrawPicked);
        QCOMPARE(state->groupCount, int16_t(0));
        QCOMPARE(state->skipNextTick, int16_t(1));
        for (int g = 1; g <= MaxGroups; ++g) {
            QCOMPARE(state->groupSizes(g), int16_t(0));
            QCOMPARE(state->groupSelected(g), int16_t(0));
        }
        for (int g = 1; g <= 3; ++g) {
            for (int k = 1; k <= 5; ++k) {
                QVERIFY(state->groupResults(k, g).isEmpty());
            }
        }
        QCOMPARE(state->firstShownGroup, int16_t(2));
        QCOMPARE(state->drawCount, int16_t(5));
        QCOMPARE(state->rollingName, QStringLiteral("g3k1"));
    }
};

QTEST_GUILESS_MAIN(TestDrawState)
#include "TestDrawState.moc"
