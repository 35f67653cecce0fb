#include "SampleFiles.h"
#include "app/Layout.h"
#include "app/Program.h"
#include "app/ScaledClient.h"
#include "app/SongLabel.h"
#include "app/ThreeColumnList.h"
#include "draw/view/AudienceWindow.h"
#include "platform/AppFiles.h"
#include "platform/Texts.h"
#include "platform/widgets/QtServices.h"
#include "results/view/ResultListsView.h"
#include "support/Fakes.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWindow>

using namespace sortilo;

// The program on the sample files, the outside world faked: the layout, the wiring of controls
// to the session and the title editing, and what only the window shows.
class TestMainWindow : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> folder;
    test::RecordingMessageBox* messages = nullptr;
    test::RecordingOpener* opener = nullptr;
    test::HandTimer* timer = nullptr;
    std::unique_ptr<Program> program;

    QWidget* w(const char* name) { return program->window().findChild<QWidget*>(name); }
    template <typename T>
    T* w(const char* name) {
        return qobject_cast<T*>(w(name));
    }
    QStringList items(const char* list) {
        QStringList texts;
        for (int i = 0; i < w<QListWidget>(list)->count(); ++i) {
            texts << w<QListWidget>(list)->item(i)->text();
        }
        return texts;
    }
    bool shown(const char* name) { return w(name)->isVisibleTo(&program->window()); }
    int order(const char* name) {
        return int(w(name)->parentWidget()->children().indexOf(w(name)));
    }
    void click(const char* name) { w<QPushButton>(name)->click(); }
    void showWindow() {
        program->window().show();
        QVERIFY(QTest::qWaitForWindowActive(&program->window()));
    }
    // Controls of every kind where the described positions put them (twips, 15 to the pixel),
    // in their frames and fonts, at `scale` times their size.
    void checkLayout(int scale) {
        const struct {
            const char* name;
            const char* parent;
            QRect atOne;
            QRect atTwo;
            double points;
        } controls[] = {
            {"Frame1", "", {8, 128, 793, 319}, {16, 256, 1586, 637}, 12},
            {"List2", "", {8, 8, 793, 436}, {16, 16, 1586, 872}, 36},
            {"Command3(0)", "Frame3", {216, 32, 73, 57}, {432, 64, 146, 114}, 12},
            {"Label1(4)", "Frame1", {632, 32, 129, 65}, {1264, 64, 258, 130}, 12},
            {"Text3(6)", "Frame6", {40, 267, 145, 25}, {80, 533, 290, 50}, 9},
            {"List1(0)", "Frame1", {16, 96, 129, 178}, {32, 192, 258, 356}, 12},
            {"Label2", "Frame4", {48, 24, 177, 65}, {96, 48, 354, 130}, 42},
            {"Command9", "Frame1", {720, 288, 49, 23}, {1440, 576, 98, 45}, 9},
            {"Option2(0)", "Frame6", {24, 32, 161, 33}, {48, 64, 322, 66}, 9},
        };
        for (const auto& c : controls) {
            const QWidget* control = w(c.name);
            QVERIFY2(control, c.name);
            QCOMPARE(control->parentWidget()->objectName(), QString::fromLatin1(c.parent));
            QCOMPARE(control->geometry(), scale == 1 ? c.atOne : c.atTwo);
            QCOMPARE(control->font().pointSizeF(), scale * c.points);
        }
    }
    // An import, then groups of 1, 2, 3, 1, ... names in keep mode.
    void drawGroups(int n) {
        click("Command1(1)");
        w<QRadioButton>("Option1(0)")->click();
        for (int g = 0; g < n; ++g) {
            w<QLineEdit>("Text1")->setText(QString::number(g % 3 + 1));
            click("Command3(0)");
            timer->fire();
            timer->fire();
            click("Command3(1)");
        }
    }

private Q_SLOTS:
    void init() {
        folder = std::make_unique<QTemporaryDir>();
        QCOMPARE(writeSampleFiles(folder->path()), QStringList{});
        Services services;
        services.messages.reset(messages = new test::RecordingMessageBox);
        services.opener.reset(opener = new test::RecordingOpener);
        services.timer.reset(timer = new test::HandTimer);
        services.clock = std::make_unique<test::FixedClock>();
        services.random = std::make_unique<FoldingRandom>(1);
        services.appFolder = folder->path();
        program = std::make_unique<Program>(std::move(services));
    }

    // Every entry of the layout table placed as it says; a few controls against the described
    // positions (twips, 15 to the pixel) and fonts; the window as it opens.
    void windowAsOpened() {
        checkLayout(1);
        QVERIFY(w("Label2")->font().bold());
        QVERIFY(!w("List2")->font().bold());
        QVERIFY(!shown("List2"));
        QVERIFY(!shown("Frame5"));
        QCOMPARE(program->window().centralWidget()->size(), QSize(810, 453));
        QCOMPARE(program->window().windowTitle(), QStringLiteral("SortiloV1.7.8"));
        QMessageBox box(QMessageBox::NoIcon, {}, {}, QMessageBox::Ok);
        QCOMPARE(box.button(QMessageBox::Ok)->text(), QStringLiteral("确定"));
        QCOMPARE(program->window().findChild<QAction*>("titleEditorCommand")->text(),
                 texts::MenuTitleEditor);
        QCOMPARE(w<QLabel>("Label1(3)")->text(), QStringLiteral("标题3"));
        QVERIFY(w<QRadioButton>("Option1(0)")->isChecked());
        QVERIFY(w<QRadioButton>("Option2(0)")->isChecked());
        // Start lies on Stop; the title editor above everything, the close button above the list.
        QVERIFY(order("Command3(0)") > order("Command3(1)"));
        QVERIFY(order("Text3(3)") > order("Option2(3)"));
        QVERIFY(order("Frame5") > order("Command5(1)"));
        QVERIFY(order("Command5(1)") > order("List2"));
        QCOMPARE(w("Label3")->palette().color(QPalette::WindowText), QColor(255, 0, 0));
        QCOMPARE(w("Frame5")->palette().color(QPalette::Window), QColor(255, 224, 192));
        // Chinese captions come out in a Chinese typeface, not as boxes in a Latin one.
        QVERIFY(QFontMetrics(w("Frame1")->font()).inFont(QChar(0x62BD)));
    }

    // Clicks and texts reach the session and the workbooks; what they report reaches the
    // controls and the message box.
    void drawWiring() {
        click("Command1(1)");
        QCOMPARE(items("List1(0)"), sampleRosterNames());
        QCOMPARE(w<QLabel>("Label3")->text(), QStringLiteral("40可抽值"));
        click("Command3(0)");
        QCOMPARE(messages->shown, QStringList{texts::KeepChoiceNotSet});
        w<QRadioButton>("Option1(1)")->click();
        w<QLineEdit>("Text1")->setText(QStringLiteral("2"));
        click("Command3(0)");
        QVERIFY(!shown("Command3(0)"));
        QVERIFY(shown("Command3(1)"));
        QCOMPARE(program->window().focusWidget(), w("Command3(1)"));
        timer->fire();
        timer->fire();
        QCOMPARE(w<QLabel>("Label2")->text(), program->session().rollingName());
        QVERIFY(sampleRosterNames().contains(w<QLabel>("Label2")->text()));
        click("Command3(1)");
        QVERIFY(shown("Command3(0)"));
        QVERIFY(!shown("Command3(1)"));
        QCOMPARE(program->window().focusWidget(), w("Command3(0)"));
        QCOMPARE(items("List1(1)").size(), 2);
        QCOMPARE(items("List1(1)").first(), w<QLabel>("Label2")->text());
        QCOMPARE(w<QLabel>("Label3")->text(), QStringLiteral("38可抽值"));
        click("Command1(1)");
        QVERIFY(w<QLineEdit>("Text1")->text().isEmpty());
        QVERIFY(!w<QRadioButton>("Option1(1)")->isChecked());
        click("Command9");
        click("Command6(0)");
        QCOMPARE(opener->opened, (QStringList{appFilePath(folder->path(), ExportWorkbookName),
                                              appFilePath(folder->path(), ImportWorkbookName)}));
    }

    // A click or a key in a list moves the pink; the details view shows what a list shows, the
    // whole pool of 2000 too, and closes again.
    void resultListsAndDetails() {
        showWindow();
        drawGroups(6);
        click("Command8(0)");
        auto* list = w<QListWidget>("List1(3)");
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(0)).center());
        QCOMPARE(backColor(list), ListColor::Pink);
        QCOMPARE(list->selectedItems().size(), 1);  // kept, to be marked absent
        w("List1(1)")->setFocus();
        QTest::keyClick(w("List1(1)"), Qt::Key_Down);
        QCOMPARE(backColor(w<QListWidget>("List1(1)")), ListColor::Pink);
        QCOMPARE(backColor(list), ListColor::Window);
        const QImage pink = w("List1(1)")->grab().toImage();
        QCOMPARE(QColor(pink.pixel(pink.width() - 6, pink.height() - 6)), SelectedGroupPink);
        click("Command2(4)");
        QVERIFY(shown("List2"));
        QVERIFY(shown("Command5(1)"));
        QCOMPARE(items("List2"), items("List1(4)"));
        QCOMPARE(items("List2").size(), 2);
        click("Command5(1)");
        QVERIFY(!shown("List2"));
        QVERIFY(!shown("Command5(1)"));
        program->session().importRoster(QStringList(2000, QStringLiteral("名")));
        click("Command2(0)");
        QCOMPARE(w<QListWidget>("List2")->count(), MaxRoster);
    }

    // The window opens whole on any screen; enlarged to twice its size, every control and font
    // doubles, and it never shrinks below the layout's own size.
    void windowGrows() {
        QCOMPARE(openingPosition(QRect(0, 0, 1920, 1040), QSize(826, 500)), QPoint(546, 269));
        QCOMPARE(openingPosition(QRect(1920, 30, 800, 570), QSize(826, 500)), QPoint(1920, 64));
        MainWindow& window = program->window();
        showWindow();
        window.resize(window.size() + QSize(810, 453));
        QTRY_COMPARE(window.centralWidget()->size(), QSize(1620, 906));
        checkLayout(2);
        // The menu bar, its type and the parts a style draws (a radio button's circle, a scroll
        // bar) grow with the controls.
        QCOMPARE(window.menuBar()->font().pointSizeF(), 2 * DefaultFontPoints);
        for (const char* name : {"Option1(0)", "Option2(3)", "List1(0)"}) {
            const QStyle::PixelMetric metric = qobject_cast<QRadioButton*>(w(name))
                                                   ? QStyle::PM_ExclusiveIndicatorWidth
                                                   : QStyle::PM_ScrollBarExtent;
            QCOMPARE(w(name)->style()->pixelMetric(metric, nullptr, w(name)),
                     2 * QApplication::style()->pixelMetric(metric));
        }
        // Wider only: the layout stays centred, and the frames' controls keep their places.
        window.resize(window.size() + QSize(300, 0));
        QTRY_VERIFY(w("Frame1")->x() > 100);
        const double s = w("Frame1")->width() / 793.0;
        const int right = window.centralWidget()->width() - w("Frame1")->geometry().right() - 1;
        QVERIFY(std::abs((w("Frame1")->x() - 8 * s) - (right - 9 * s)) <= 2);
        QVERIFY(std::abs(w("Command3(0)")->x() - 216 * s) <= 1);
        window.resize(400, 300);
        QTRY_COMPARE(window.menuBar()->font().pointSizeF(), DefaultFontPoints);
        QCoreApplication::processEvents();
        window.resize(400, 300);  // once more, now that the menu bar is small again
        QTRY_COMPARE(window.centralWidget()->size(), QSize(810, 453));
        QCOMPARE(w("Command3(0)")->geometry(), QRect(216, 32, 73, 57));
    }

    // Long texts are shown whole: a long name in the details view shrinks to its column, the
    // pool count shrinks before the first 详情, a shrunk rolling name keeps the middle of its box.
    void textThatFits() {
        showWindow();
        const QString longName = QStringLiteral("阿卜杜勒·阿齐兹·本·穆罕默德·阿勒沙特");
        program->session().importRoster({longName, QStringLiteral("张三")});
        click("Command2(0)");
        const auto& details = dynamic_cast<ThreeColumnList&>(*w("List2"));
        const int column = details.gridSize().width();
        QVERIFY(QFontMetrics(details.entryFont(longName)).horizontalAdvance(longName) < column);
        QCOMPARE(details.entryFont(QStringLiteral("张三")), details.font());
        program->session().importRoster(QStringList(2000, QStringLiteral("名")));
        const auto& count = dynamic_cast<SongLabel&>(*w("Label3"));
        const QFont face = fitToWidth(count.font(), count.text(), count.room());
        QCOMPARE(count.text(), QStringLiteral("2000可抽值"));
        QVERIFY(count.x() + QFontMetricsF(face).horizontalAdvance(count.text()) <=
                w("Command2(0)")->x());
        // The rows a name's ink covers, in the rolling display.
        const auto inkMiddle = [this](const QString& name) {
            w<QLabel>("Label2")->setText(name);
            const QImage image = w("Label2")->grab().toImage();
            int top = image.height(), bottom = -1;
            for (int y = 0; y < image.height(); ++y) {
                for (int x = 0; x < image.width(); ++x) {
                    if (qGray(image.pixel(x, y)) < 100) {
                        top = std::min(top, y);
                        bottom = y;
                    }
                }
            }
            return (top + bottom) / 2.0;
        };
        QVERIFY(std::abs(inkMiddle(longName) - inkMiddle(QStringLiteral("张三"))) <= 3);
        // A name too long for one readable line takes two, never shrinking out of sight; only
        // one too long for two is cut short.
        const QLabel* rolling = w<QLabel>("Label2");
        for (const int length : {31, 80}) {
            const QString name = longName.repeated(3).left(length);
            const LabelFit fit = fitLabel(rolling->font(), name, rolling->size());
            QVERIFY(QFontInfo(fit.face).pixelSize() >= SmallestReadablePixels);
            QCOMPARE(fit.lines.size(), 2);
            for (const QString& line : fit.lines) {
                QVERIFY(QFontMetrics(fit.face).horizontalAdvance(line) <= rolling->width());
            }
            QCOMPARE(fit.lines.join(QString()) == name, length == 31);
        }
    }

    // The count box has the focus at start-up; the draw keys reach the session from any control;
    // after a message the focus is back on the shown draw button, or in the text box it was in.
    void keysAndFocus() {
        showWindow();
        QWidget* focused = nullptr;
        const auto focus = [&](const char* name) { (focused = w(name))->setFocus(); };
        QCOMPARE(program->window().focusWidget(), w("Text1"));
        click("Command1(1)");
        w<QRadioButton>("Option1(0)")->click();
        focus("Text1");
        QTest::keyClick(w("Text1"), Qt::Key_Space);
        QTest::keyClick(w("Text1"), Qt::Key_Return);
        QCOMPARE(w<QLineEdit>("Text1")->text(), QStringLiteral(" "));
        QCOMPARE(messages->shown, QStringList{texts::CountBelowOne});
        QCOMPARE(program->window().focusWidget(), w("Text1"));
        focus("Command6(0)");
        QTest::keyClick(focused, Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(messages->shown.size(), 2);
        QCOMPARE(program->window().focusWidget(), w("Command3(0)"));
        w<QLineEdit>("Text1")->setText(QStringLiteral("2"));
        focus("List1(0)");
        QTest::keyClick(focused, Qt::Key_PageDown);
        QVERIFY(shown("Command3(1)"));
        QVERIFY(!shown("Command3(0)"));
        QTest::keyClick(w("Command3(1)"), Qt::Key_Right);
        QCOMPARE(program->window().focusWidget(), w("Command3(1)"));
        timer->fire();
        timer->fire();
        QTest::keyClick(w("Command3(1)"), Qt::Key_Space);
        QCOMPARE(items("List1(1)").size(), 2);
        QCOMPARE(program->window().focusWidget(), w("Command3(0)"));
    }

    // F11 or the menu command beside the title editor's opens the audience window and closes it
    // again; it shows the draw, and goes when the main window closes.
    void audienceWindow() {
        MainWindow& window = program->window();
        showWindow();
        const QList<QAction*> menu = window.menuBar()->actions();
        QCOMPARE(menu.size(), 5);
        QCOMPARE(menu[1]->text(), QStringLiteral("观众窗口"));
        QCOMPARE(menu[2]->text(), QStringLiteral("现场随机数"));
        QCOMPARE(menu[3]->text(), QStringLiteral("抽签记录"));
        QCOMPARE(menu[4]->text(), QStringLiteral("打开数据文件夹"));
        QTest::keyClick(w("Text1"), Qt::Key_F11);
        QPointer<AudienceWindow> audience = window.audienceWindow();
        QVERIFY(audience);
        QVERIFY(audience->isVisible());
        drawGroups(1);
        QCOMPARE(audience->groupNames(), items("List1(1)"));
        QTest::keyClick(w("Command3(0)"), Qt::Key_F11);
        QTRY_VERIFY(!audience && !window.audienceWindow());
        menu[1]->trigger();
        audience = window.audienceWindow();
        QVERIFY(audience);
        QVERIFY(audience->isVisible());
        messages->quitAnswer = QuitChoice::Quit;
        window.close();
        QTRY_VERIFY(!audience);
    }

    // The audience window never takes the keys: a second F11 where the operator's focus is
    // closes it again; it opens beside the operator's window, clear of its controls.
    void audienceWindowLeavesTheKeys() {
        MainWindow& window = program->window();
        showWindow();
        window.activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), &window);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F11);
        QPointer<AudienceWindow> audience = window.audienceWindow();
        QVERIFY(QTest::qWaitForWindowExposed(audience));
        QTRY_COMPARE(QApplication::activeWindow(), &window);
        QCOMPARE(QApplication::focusWidget()->window(), &window);
        QVERIFY(!audience->geometry().intersects(window.frameGeometry()) ||
                !window.screen()->availableGeometry().contains(audience->geometry()));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F11);
        QTRY_VERIFY(!audience);
    }

    // A held clicker key counts once, whatever the system's repeat flag says: a release and a
    // press with one time stamp are a repeat, as is a flagged press; a person's next press comes
    // later. Judged for every window, so a repeat never reaches the main window either.
    void heldKeyCountsOnce() {
        showWindow();
        click("Command1(1)");
        w<QRadioButton>("Option1(0)")->click();
        w<QLineEdit>("Text1")->setText(QStringLiteral("2"));
        QWindow* handle = program->window().windowHandle();
        const auto send = [handle](QEvent::Type type, ulong stamp, bool flagged = false) {
            QKeyEvent event(type, Qt::Key_PageDown, Qt::NoModifier, QString(), flagged);
            event.setTimestamp(stamp);
            QCoreApplication::sendEvent(handle, &event);
        };
        send(QEvent::KeyPress, 1000);
        QVERIFY(shown("Command3(1)"));
        timer->fire();
        timer->fire();
        for (const auto& [stamp, flagged] :
             {std::pair{1500ul, false}, {1533ul, true}, {1566ul, false}}) {
            send(QEvent::KeyRelease, stamp, flagged);
            send(QEvent::KeyPress, stamp, flagged);
            QVERIFY2(shown("Command3(1)"), "a repeat stopped the draw");
        }
        send(QEvent::KeyRelease, 1600);
        send(QEvent::KeyPress, 1900);
        QVERIFY(shown("Command3(0)"));
        QCOMPARE(items("List1(1)").size(), 2);
    }

    // While the details view or the title editor covers the draw, the clicker draws nothing: its
    // first press closes the details view; in the title editor it does nothing at all.
    void coveredDrawIsNotDrawn() {
        showWindow();
        drawGroups(1);
        w<QLineEdit>("Text1")->setText(QStringLiteral("1"));
        click("Command2(0)");
        QTest::keyClick(w("List2"), Qt::Key_PageDown);
        QVERIFY(!shown("List2"));
        QVERIFY(!shown("Command3(1)"));
        program->window().findChild<QAction*>("titleEditorCommand")->trigger();
        QTest::keyClick(w("Text2"), Qt::Key_PageDown);
        QVERIFY(!shown("Command3(1)"));
        // Nor in the audience window, had the operator clicked into it.
        program->window().toggleAudienceWindow();
        QTest::keyClick(program->window().audienceWindow(), Qt::Key_PageDown);
        QVERIFY(!shown("Command3(1)"));
        QVERIFY(messages->shown.isEmpty());
    }

    // The clicker alone gets through every message: its keys, Return and Space press the
    // default button (确定; 取消 in the question before quitting). Every message says Sortilo.
    void clickerAnswersMessages() {
        QtMessageBox box;
        for (const int key : {Qt::Key_PageDown, Qt::Key_PageUp, Qt::Key_Return, Qt::Key_Space}) {
            QStringList titles;
            const auto pressSoon = [&titles, key] {
                QTimer::singleShot(0, [&titles, key] {
                    QWidget* message = QApplication::activeModalWidget();
                    titles << message->windowTitle();
                    QTest::keyClick(message, Qt::Key(key));
                    if (QApplication::activeModalWidget() == message) {
                        message->close();  // the key did nothing: the test goes on, and fails
                        titles << QStringLiteral("not closed by the key");
                    }
                });
            };
            pressSoon();
            box.show(QStringLiteral("提示"));
            pressSoon();
            QVERIFY(box.confirm(QStringLiteral("确定吗？")));
            pressSoon();
            QCOMPARE(box.askBeforeQuit(QStringLiteral("退出吗？")), QuitChoice::Cancel);
            QCOMPARE(titles, QStringList(3, texts::MessageTitle));
        }
        // A button chosen with Tab is the one Space presses.
        QTimer::singleShot(0, [] {
            QWidget* message = QApplication::activeModalWidget();
            QTest::keyClick(message->focusWidget(), Qt::Key_Tab);
            QTest::keyClick(message->focusWidget(), Qt::Key_Space);
        });
        QVERIFY(!box.confirm(QStringLiteral("确定吗？")));
    }

    // Esc in the title editor closes it and forgets what was not confirmed.
    void titleEditorCancels() {
        showWindow();
        program->window().findChild<QAction*>("titleEditorCommand")->trigger();
        w<QRadioButton>("Option2(2)")->click();
        const QStringList stored = items("List3");
        w<QLineEdit>("Text2")->setText(QStringLiteral("不要了"));
        click("Command10");
        w<QLineEdit>("Text3(2)")->setText(QStringLiteral("改名"));
        QTest::keyClick(w("Text2"), Qt::Key_Escape);
        QVERIFY(!shown("Frame5"));
        QCOMPARE(items("List3"), stored);
        QCOMPARE(w<QLineEdit>("Text3(2)")->text(), QStringLiteral("方案二"));
        program->window().findChild<QAction*>("titleEditorCommand")->trigger();
        click("Command12");
        QCOMPARE(w<QLabel>("Label1(4)")->text(), stored[3]);
    }

    // Closing with groups not exported asks, 取消 first; 导出并退出 saves them and closes; with
    // everything exported, or after 退出, it closes at once. Ctrl+Q closes the same way.
    void quittingAsks() {
        showWindow();
        MainWindow& window = program->window();
        drawGroups(2);
        QVERIFY(!window.close());
        QCOMPARE(messages->questions, QStringList{texts::QuitQuestion.arg(2)});
        QTest::keySequence(&window, QKeySequence(Qt::CTRL | Qt::Key_Q));
        QCOMPARE(messages->questions.size(), 2);
        QVERIFY(window.isVisible());
        messages->quitAnswer = QuitChoice::ExportAndQuit;
        QVERIFY(window.close());
        QCOMPARE(opener->opened, QStringList{appFilePath(folder->path(), ExportWorkbookName)});
        window.show();
        QVERIFY(window.close());
        QCOMPARE(messages->questions.size(), 3);
    }

    // A name selected in a result list, Delete, 确定: the question names it and the list shows the
    // replacement in its place; in the details view of the group too.
    void absentWinner() {
        showWindow();
        drawGroups(3);
        auto* list = w<QListWidget>("List1(3)");
        const QStringList before = items("List1(3)");
        w<QListWidget>("List1(1)")->item(0)->setSelected(true);  // a name clicked earlier
        list->setFocus();
        list->item(1)->setSelected(true);
        QTest::keyClick(list, Qt::Key_Delete);
        QCOMPARE(messages->questions,
                 QStringList{texts::RedrawQuestion.arg(3).arg(before[1]).arg(1)});
        const QStringList after = items("List1(3)");
        QCOMPARE(after.size(), 3);
        QVERIFY(after[1] != before[1]);
        QCOMPARE(after[0], before[0]);
        QCOMPARE(after[2], before[2]);
        click("Command2(3)");
        auto* details = w<QListWidget>("List2");
        details->setFocus();
        details->item(2)->setSelected(true);
        messages->answerYes = false;
        QTest::keyClick(details, Qt::Key_Delete);
        QCOMPARE(items("List2"), after);
        messages->answerYes = true;
        QCOMPARE(program->window().focusWidget(), w("Command3(0)"));  // back after the question
        details->setFocus();
        QTest::keyClick(details, Qt::Key_Delete);
        QCOMPARE(items("List2"), items("List1(3)"));
        QVERIFY(items("List2")[2] != after[2]);
        QVERIFY(messages->shown.isEmpty());
    }

    // A selection stays with its group: paging that brings another group with the same names
    // into the list (one name, drawn with 是) leaves nothing selected to mark absent.
    void selectionStaysWithItsGroup() {
        showWindow();
        program->session().importRoster({QStringLiteral("甲")});
        w<QRadioButton>("Option1(0)")->click();
        w<QLineEdit>("Text1")->setText(QStringLiteral("1"));
        for (int g = 0; g < 5; ++g) {
            click("Command3(0)");
            timer->fire();
            timer->fire();
            click("Command3(1)");
        }
        w<QListWidget>("List1(1)")->item(0)->setSelected(true);
        click("Command8(0)");
        w("List1(1)")->setFocus();
        QTest::keyClick(w("List1(1)"), Qt::Key_Delete);
        QCOMPARE(messages->shown, QStringList{texts::NoAbsentSelected});
        QVERIFY(messages->questions.isEmpty());
    }

    // The menu opens the editor above the details view; its controls reach the title editing.
    void titleEditor() {
        drawGroups(1);
        w("List2")->show();
        program->window().findChild<QAction*>("titleEditorCommand")->trigger();
        w("List2")->raise();
        QVERIFY(shown("Frame5"));
        QVERIFY(order("Frame5") > order("List2"));
        QCOMPARE(w<QRadioButton>("Option2(1)")->text(), QStringLiteral("方案一"));
        QCOMPARE(w<QLineEdit>("Text3(2)")->text(), QStringLiteral("方案二"));
        w<QRadioButton>("Option2(2)")->click();
        QCOMPARE(items("List3"), (QStringList{"第一轮", "第二轮", "第三轮", "第四轮"}));
        w<QLineEdit>("Text2")->setText(QStringLiteral("加赛"));
        click("Command10");
        QCOMPARE(items("List3").last(), QStringLiteral("加赛"));
        QVERIFY(w<QLineEdit>("Text2")->text().isEmpty());
        QCOMPARE(program->window().focusWidget(), w("Text2"));
        w<QLineEdit>("Text2")->setText(QStringLiteral("决赛"));
        QTest::keyClick(w("Text2"), Qt::Key_Return);  // the editor's while it is open
        QCOMPARE(items("List3").last(), QStringLiteral("决赛"));
        QVERIFY(shown("Command3(0)"));
        click("Command11");  // nothing selected: nothing deleted
        QCOMPARE(items("List3").size(), 6);
        w<QListWidget>("List3")->setCurrentRow(0);
        click("Command11");
        QCOMPARE(items("List3").first(), QStringLiteral("第二轮"));
        click("Command12");
        QCOMPARE(messages->shown, (QStringList{texts::NoTitleSelected, texts::TitlesConfirmed}));
        QVERIFY(!shown("Frame5"));
        QCOMPARE(w<QLabel>("Label1(1)")->text(), QStringLiteral("第二轮"));
    }

    // 打开数据文件夹 hands the data folder to the desktop.
    void dataFolderCommand() {
        auto* command = program->window().findChild<QAction*>("openDataFolderCommand");
        command->trigger();
        QCOMPARE(opener->opened, QStringList{folder->path()});
        opener->works = false;
        command->trigger();
        QCOMPARE(messages->shown, QStringList{texts::DataFolderNotShown.arg(folder->path())});
    }
};

QTEST_MAIN(TestMainWindow)
#include "TestMainWindow.moc"
