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
};

QTEST_GUILESS_MAIN(TestDrawState)
#include "TestDrawState.moc"
