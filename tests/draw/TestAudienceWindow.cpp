#include "draw/view/AudienceWindow.h"
#include "platform/Texts.h"
#include "record/FileJournal.h"
#include "support/TestData.h"
#include "support/TestSession.h"

#include <QFontMetricsF>
#include <QTemporaryDir>
#include <QTest>

using namespace sortilo;

// The audience window on a session ticked by hand: it follows the draw and never changes it.
class TestAudienceWindow : public QObject {
    Q_OBJECT

    std::unique_ptr<test::TestSession> t;
    std::unique_ptr<AudienceWindow> window;

private Q_SLOTS:
    void init() {
        t = std::make_unique<test::TestSession>();
        t->givePool(30);
        window = std::make_unique<AudienceWindow>(t->session);
    }

    // Ticks roll the name, Stop shows the group, Start rolls again; the keys of a clicker run the
    // draw from here too; closing the window leaves the draw rolling.
    void followsTheDraw() {
        QCOMPARE(window->windowTitle(), texts::AudienceWindowTitle);
        QVERIFY(!window->showsGroup());
        window->open(nullptr, {}, {});
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        t->session.setDrawCountText(QStringLiteral("3"));
        QTest::keyClick(window.get(), Qt::Key_PageDown);
        QVERIFY(t->rolling());
        t->timer.fire();
        t->timer.fire();
        QVERIFY(!window->showsGroup());
        QCOMPARE(window->rollingName(), t->rollingName);
#ifndef __SANITIZE_ADDRESS__
        QVERIFY(window->grab().save(QStringLiteral("audience-rolling.png")));
#endif
        QTest::keyClick(window.get(), Qt::Key_Space);
        QVERIFY(t->idle());
        QVERIFY(window->showsGroup());
        QCOMPARE(window->groupTitle(), QStringLiteral("第1组"));
        QCOMPARE(window->groupNames(), t->model().groupNames(1));
        QTest::keyClick(window.get(), Qt::Key_Return);
        QVERIFY(t->rolling());
        QVERIFY(!window->showsGroup());
        // A window opened after a Stop shows that group at once.
        t->timer.fire();
        t->timer.fire();
        t->session.pressStop();
        QCOMPARE(AudienceWindow(t->session).groupNames(), t->model().groupNames(2));
        t->session.pressStart();
        window->close();
        QVERIFY(t->rolling());
        QCOMPARE(t->model().groupCount(), 2);
    }

    // Before the first group the room sees the session's commitment, the roster's size and
    // digest and whether its own text was added; after a group, the record's line and hash.
    void showsTheProof() {
        QVERIFY(window->proofLine().startsWith(
            QStringLiteral("抽签承诺 df97 6c6c 78a4 ff72 · 共30人")));
        QVERIFY(window->proofLine().endsWith(texts::EntropyNotAddedNote));
        QTemporaryDir dir;
        record::FileJournal journal(dir.path(), QStringLiteral("1.7.8"));
        t->session.keepRecord(&journal);
        t->session.importRoster(test::numberedNames(5));
        t->session.addEntropy(QStringLiteral("7 21 33"));
        QVERIFY(window->proofLine().contains(QStringLiteral(" · 共5人 · 名单摘要 ")));
        QVERIFY(window->proofLine().endsWith(texts::EntropyAddedNote));
        t->session.setKeepChoice(KeepChoice::Keep);
        t->drawGroup(QStringLiteral("2"));
        const QString hash = QString::fromLatin1(t->session.recordMark().lastLineHash.toHex());
        QCOMPARE(window->proofLine(), QStringLiteral("抽签记录第3行 · ") + hash.left(8));
        t->session.closeRecord();
        // A record that cannot be written is never shown as proof.
        QVERIFY(test::setReadOnly(dir.path()));
        t->session.importRoster(test::numberedNames(5));
        t->session.setKeepChoice(KeepChoice::Keep);
        t->drawGroup(QStringLiteral("2"));
        QCOMPARE(window->proofLine(), texts::AudienceRecordIncomplete);
        QVERIFY(test::setReadOnly(dir.path(), false));
        t->session.keepRecord(nullptr);
    }

    // A replacement for an absent name: the group as it now stands, the replacement marked; the
    // next group is shown as any group.
    void showsReplacements() {
        t->drawGroup(QStringLiteral("4"));
        t->session.redrawAbsent({{1, 2}});
        QCOMPARE(window->groupNames(), t->model().groupNames(1));
        QCOMPARE(window->markedPlaces(), QList<int>{2});
        t->drawGroup(QStringLiteral("2"));
        QCOMPARE(window->groupNames(), t->model().groupNames(2));
        QVERIFY(window->markedPlaces().isEmpty());
    }

    // F11 and a double click toggle full screen, Esc leaves it, then closes the window; the
    // audience screen is the first that is not the operator's.
    void fullScreenAndScreens() {
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QTest::keyClick(window.get(), Qt::Key_F11);
        QTRY_VERIFY(window->isFullScreen());
        QTest::keyClick(window.get(), Qt::Key_Escape);
        QTRY_VERIFY(!window->isFullScreen() && window->isVisible());
        QTest::mouseDClick(window.get(), Qt::LeftButton);
        QTRY_VERIFY(window->isFullScreen());
        QTest::keyClick(window.get(), Qt::Key_F11);
        QTRY_VERIFY(!window->isFullScreen());
        QTest::keyClick(window.get(), Qt::Key_Escape);
        QVERIFY(!window->isVisible());
        QVERIFY(!t->session.rolling());
        const QRect laptop(0, 0, 1366, 768), projector(1366, 0, 1920, 1080);
        QCOMPARE(audienceScreen({laptop, projector}, laptop), projector);
        QCOMPARE(audienceScreen({laptop, projector}, projector), laptop);
        QCOMPARE(audienceScreen({laptop}, laptop), QRect());
    }

    // On one screen the audience window opens beside the operator's window where it fits, else
    // at the far side of the screen, clear of the menu bar and the draw controls when it can be.
    void opensBesideTheOperator_data() {
        QTest::addColumn<QRect>("screen");
        QTest::addColumn<QRect>("operatorFrame");
        QTest::addColumn<QRect>("place");
        QTest::newRow("right of it")
            << QRect(0, 0, 1920, 1080) << QRect(0, 0, 826, 500) << QRect(826, 0, 960, 540);
        QTest::newRow("left of it")
            << QRect(0, 0, 1920, 1080) << QRect(1000, 100, 826, 500) << QRect(40, 100, 960, 540);
        QTest::newRow("below it") << QRect(0, 0, 1280, 1080) << QRect(200, 0, 826, 500)
                                  << QRect(200, 500, 960, 540);
        QTest::newRow("far side, under the controls")
            << QRect(0, 0, 1366, 1000) << QRect(100, 134, 826, 500) << QRect(406, 264, 960, 540);
        QTest::newRow("smaller, under the controls")
            << QRect(0, 0, 1366, 768) << QRect(270, 134, 826, 500) << QRect(0, 264, 896, 504);
        QTest::newRow("a window as large as the screen")
            << QRect(0, 0, 1024, 600) << QRect(0, 0, 1024, 600) << QRect(0, 130, 835, 470);
    }
    void opensBesideTheOperator() {
        QFETCH(QRect, screen);
        QFETCH(QRect, operatorFrame);
        QFETCH(QRect, place);
        const QRect controls(operatorFrame.topLeft(), QSize(operatorFrame.width(), 130));
        const QRect at = besideOperator(screen, operatorFrame, controls, QSize(960, 540));
        QCOMPARE(at, place);
        QVERIFY(screen.contains(at));
        QVERIFY(!at.intersects(controls));
    }

    // From one name in huge type to 1000 in a grid: every name whole inside its cell, every cell
    // inside the window, the title above them.
    void groupsFit_data() {
        QTest::addColumn<int>("count");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("length");  // of each name; 0: names of two to four characters
        for (const QSize size : {QSize(1920, 1080), QSize(1280, 720)}) {
            for (int count : {1, 12, 100, 1000}) {
                QTest::addRow("%d names at %dx%d", count, size.width(), size.height())
                    << count << size << 0;
            }
        }
        QTest::addRow("1000 long names at 1280x720") << 1000 << QSize(1280, 720) << 30;
        QTest::addRow("100 long names at 1280x720") << 100 << QSize(1280, 720) << 30;
    }
    void groupsFit() {
        QFETCH(int, count);
        QFETCH(QSize, size);
        QFETCH(int, length);
        QStringList names = test::chineseNames(count);
        if (length > 0) {
            for (QString& name : names) {
                name = name.repeated(length).left(length);
            }
        }
        const QString title = QStringLiteral("第一轮 一等奖");
        QFont face(QStringLiteral("宋体"));
        face.setBold(true);
        const GroupLayout layout = layoutGroup(title, names, size, face);
        const QRectF area = QRectF(QPointF(0, 0), size).adjusted(-1e-6, -1e-6, 1e-6, 1e-6);
        const QFontMetricsF metrics(layout.nameFont);
        QVERIFY(layout.columns * layout.rows >= count);
        // Where each name's text lies, as it is drawn: centred in its cell.
        const auto inked = [&](int i) {
            const QSizeF ink(metrics.horizontalAdvance(layout.shownNames[i]), metrics.height());
            const QRectF cell = layout.cell(i);
            return QRectF(cell.center() - QPointF(ink.width() / 2, ink.height() / 2), ink);
        };
        for (int i = 0; i < count; ++i) {
            const QRectF cell = layout.cell(i);
            QVERIFY2(area.contains(cell), qPrintable(names[i]));
            QVERIFY2(cell.top() >= layout.titleRect.bottom(), qPrintable(names[i]));
            const QString shown = layout.shownNames[i];
            QVERIFY(shown == names[i] || names[i].startsWith(shown.chopped(1)));
            for (const int next : {i + 1, i + layout.columns}) {
                QVERIFY(next >= count || !inked(i).intersects(inked(next)));
            }
            QVERIFY(cell.adjusted(-0.5, -0.5, 0.5, 0.5).contains(inked(i)));
        }
        QCOMPARE(layout.shownNames == names, length == 0 || count <= 100);
        QVERIFY(QFontMetricsF(layout.titleFont).horizontalAdvance(title) <= size.width());
        const int pixels = layout.nameFont.pixelSize();
        QVERIFY(count > 1 || pixels > size.height() / 3);
        QVERIFY(pixels >= 10);
#ifndef __SANITIZE_ADDRESS__
        // The pictures are for looking at; drawing them under the sanitizers only costs time.
        window->resize(size);
        Q_EMIT t->session.groupRecorded(1, title, names);
        QCOMPARE(window->groupNames().size(), count);
        const QString file = QStringLiteral("audience-%1-names-%2x%3%4.png")
                                 .arg(count)
                                 .arg(size.width())
                                 .arg(size.height())
                                 .arg(length > 0 ? QStringLiteral("-long") : QString());
        window->grab().save(file);
#endif
    }
};

QTEST_MAIN(TestAudienceWindow)
#include "TestAudienceWindow.moc"
