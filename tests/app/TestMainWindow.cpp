#include "SampleFiles.h"
#include "app/Layout.h"
#include "app/Program.h"
#include "platform/AppFiles.h"
#include "platform/Texts.h"
#include "platform/XlsSpreadsheetService.h"
#include "results/view/ResultListsView.h"
#include "support/Fakes.h"

#include <QAction>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

using namespace sortilo;

namespace {

QStringList items(const QListWidget* list) {
    QStringList texts;
    for (int i = 0; i < list->count(); ++i) {
        texts << list->item(i)->text();
    }
    return texts;
}

bool shown(const QWidget* w) {
    return w->isVisibleTo(w->window());
}

int order(const QWidget* w) {
    return int(w->parentWidget()->children().indexOf(w));
}

}  // namespace

// The window on the real session, the outside world faked: the layout, the wiring of controls
// to the session and the title editing, and what only the window shows.
class TestMainWindow : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> folder;
    test::RecordingMessageBox* messages = nullptr;
    test::RecordingOpener* opener = nullptr;
    test::HandTimer* timer = nullptr;
    std::unique_ptr<Program> program;

    MainWindow& window() { return program->window(); }
    DrawSession& session() { return program->session(); }
    template <typename T = QWidget>
    T* w(const char* name) {
        T* control = window().findChild<T*>(QString::fromUtf8(name));
        Q_ASSERT(control);
        return control;
    }
    void click(const char* name) { w<QPushButton>(name)->click(); }
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
        messages = new test::RecordingMessageBox;
        opener = new test::RecordingOpener;
        timer = new test::HandTimer;
        services.messages.reset(messages);
        services.opener.reset(opener);
        services.timer.reset(timer);
        services.clock = std::make_unique<test::FixedClock>();
        services.random = std::make_unique<FoldingRandom>(1);
        services.appFolder = folder->path();
        services.spreadsheets = [this] {
            return std::make_unique<XlsSpreadsheetService>(folder->path(), *opener);
        };
        program = std::make_unique<Program>(std::move(services));
    }
    void cleanup() { program.reset(); }

    // Every entry of the layout table placed where it says, and a few controls checked against
    // the described positions (twips, 15 to the pixel) and fonts.
    void layout() {
        for (const ControlSpec& e : mainWindowLayout()) {
            const QString name = e.index < 0 ? QString::fromUtf8(e.name)
                                             : QStringLiteral("%1(%2)").arg(e.name).arg(e.index);
            const QWidget* c = window().findChild<QWidget*>(name);
            QVERIFY2(c, qPrintable(name));
            QCOMPARE(c->geometry(),
                     QRect(pixels(e.left), pixels(e.top), pixels(e.width), pixels(e.height)));
            QCOMPARE(c->isHidden(), !e.visible);
            QCOMPARE(c->parentWidget()->objectName(), QString::fromUtf8(e.parent ? e.parent : ""));
        }
        QCOMPARE(w("Command3(0)")->geometry(), QRect(216, 32, 73, 57));
        QCOMPARE(w("List2")->geometry(), QRect(8, 8, 793, 436));
        QCOMPARE(w("Label1(4)")->geometry(), QRect(632, 32, 129, 65));
        QCOMPARE(w("Command8(1)")->geometry(), QRect(763, 120, 17, 121));
        QCOMPARE(w("Text3(6)")->geometry(), QRect(40, 267, 145, 25));
        QCOMPARE(w("Label2")->font().pointSizeF(), 42.0);
        QVERIFY(w("Label2")->font().bold() && !w("List2")->font().bold());
        QCOMPARE(w("Option2(1)")->font().pointSizeF(), 9.0);
        QCOMPARE(window().centralWidget()->size(), QSize(810, 453));
    }

    void windowAsOpened() {
        QCOMPARE(window().windowTitle(), QStringLiteral("SortiloV1.7.8"));
        QCOMPARE(window().findChild<QAction*>("zbzdy")->text(), texts::MenuTitleEditor);
        QCOMPARE(timer->periodMs, 360);
        QVERIFY(w<QRadioButton>("Option1(0)")->isChecked() &&
                w<QRadioButton>("Option2(0)")->isChecked());
        for (int i = 1; i <= 4; ++i) {
            const QString label = QStringLiteral("Label1(%1)").arg(i);
            QCOMPARE(window().findChild<QLabel*>(label)->text(), QStringLiteral("标题%1").arg(i));
        }
        // Start lies on Stop; the title editor above everything, the close button above the list.
        QVERIFY(order(w("Command3(0)")) > order(w("Command3(1)")));
        QVERIFY(order(w("Frame5")) > order(w("Command5(1)")));
        QVERIFY(order(w("Command5(1)")) > order(w("List2")));
        QVERIFY(order(w("List2")) > order(w("Frame1")));
        QVERIFY(order(w("Text3(3)")) > order(w("Option2(3)")));
        QCOMPARE(w("Label3")->palette().color(QPalette::WindowText), QColor(255, 0, 0));
        QCOMPARE(w("Frame5")->palette().color(QPalette::Window), QColor(255, 224, 192));
        // Chinese captions come out in a Chinese typeface, not as boxes in a Latin one.
        const QFont font = w("Frame1")->font();
        QVERIFY2(QFontMetrics(font).inFont(QChar(0x62BD)), qPrintable(QFontInfo(font).family()));
    }

    // Clicks and texts reach the session and the workbooks; what they report reaches the
    // controls and the message box.
    void drawWiring() {
        click("Command1(1)");
        QCOMPARE(items(w<QListWidget>("List1(0)")), sampleRosterNames());
        QCOMPARE(w<QLabel>("Label3")->text(),
                 QStringLiteral("%1可抽值").arg(sampleRosterNames().size()));
        click("Command3(0)");
        QCOMPARE(messages->shown, QStringList{texts::KeepChoiceNotSet});
        w<QRadioButton>("Option1(1)")->click();
        QCOMPARE(session().keepChoice(), KeepChoice::Remove);
        w<QLineEdit>("Text1")->setText(QStringLiteral("2"));
        click("Command3(0)");
        QVERIFY(!shown(w("Command3(0)")) && shown(w("Command3(1)")));
        QCOMPARE(window().focusWidget(), w("Command3(1)"));
        w<QLineEdit>("Text1")->setText(QStringLiteral("3"));
        QVERIFY(shown(w("Command3(0)")));
        timer->fire();
        timer->fire();
        QCOMPARE(w<QLabel>("Label2")->text(), session().state().rollingName);
        click("Command3(1)");
        QVERIFY(shown(w("Command3(0)")) && !shown(w("Command3(1)")));
        QCOMPARE(window().focusWidget(), w("Command3(0)"));
        QCOMPARE(w<QListWidget>("List1(1)")->count(), 2);
        QCOMPARE(w<QListWidget>("List1(0)")->count(), sampleRosterNames().size() - 2);
        QCOMPARE(w<QLabel>("Label1(1)")->text(), QStringLiteral("第1组"));
        click("Command1(1)");
        QVERIFY(w<QLineEdit>("Text1")->text().isEmpty());
        QVERIFY(!w<QRadioButton>("Option1(0)")->isChecked() &&
                !w<QRadioButton>("Option1(1)")->isChecked());
        click("Command9");
        click("Command6(0)");
        QCOMPARE(opener->opened, (QStringList{appFilePath(folder->path(), ExportWorkbookName),
                                              appFilePath(folder->path(), ImportWorkbookName)}));
    }

    // Paging and a click or a key in a list move the pink; the details view shows a copy.
    void resultListsAndDetails() {
        window().show();
        QVERIFY(QTest::qWaitForWindowExposed(&window()));
        drawGroups(6);
        click("Command8(0)");
        auto* list = w<QListWidget>("List1(3)");
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(0)).center());
        QCOMPARE(backColor(list), ListColor::Pink);
        QVERIFY(list->selectedItems().isEmpty());
        w("List1(1)")->setFocus();
        QTest::keyClick(w("List1(1)"), Qt::Key_Down);
        QCOMPARE(backColor(w<QListWidget>("List1(1)")), ListColor::Pink);
        QCOMPARE(backColor(list), ListColor::Window);
        const QImage pink = w("List1(1)")->grab().toImage();
        QCOMPARE(QColor(pink.pixel(pink.width() - 6, pink.height() - 6)), SelectedGroupPink);
        QVERIFY(window().grab().save(QStringLiteral("main-window.png")));

        auto* pool = w<QListWidget>("List1(0)");
        pool->setCurrentRow(7);
        click("Command2(0)");
        QVERIFY(shown(w("List2")) && shown(w("Command5(1)")));
        QCOMPARE(items(w<QListWidget>("List2")), items(pool));
        QCOMPARE(pool->currentRow(), 7);
        QVERIFY(window().grab().save(QStringLiteral("details-view.png")));
        click("Command5(1)");
        QVERIFY(!shown(w("List2")) && !shown(w("Command5(1)")));
        list->addItems({QString(), QStringLiteral("丁")});
        click("Command2(3)");
        QCOMPARE(items(w<QListWidget>("List2")), items(list).mid(0, list->count() - 2));
        pool->addItems(QStringList(2000, QStringLiteral("名")));
        click("Command2(0)");
        QCOMPARE(w<QListWidget>("List2")->count(), MaxRoster);
        pool->clear();
        QCOMPARE(w<QListWidget>("List2")->count(), MaxRoster);
    }

    // The menu opens the editor above the details view; its controls reach the title editing.
    void titleEditorWiring() {
        drawGroups(1);
        w("List2")->show();
        window().findChild<QAction*>("zbzdy")->trigger();
        QVERIFY(shown(w("Frame5")));
        w("List2")->raise();
        QVERIFY(order(w("Frame5")) > order(w("List2")));
        QCOMPARE(w<QRadioButton>("Option2(1)")->text(), QStringLiteral("方案一"));
        QCOMPARE(w<QLineEdit>("Text3(2)")->text(), QStringLiteral("方案二"));
        w<QRadioButton>("Option2(2)")->click();
        auto* titles = w<QListWidget>("List3");
        QCOMPARE(items(titles), (QStringList{"第一轮", "第二轮", "第三轮", "第四轮"}));
        w<QLineEdit>("Text2")->setText(QStringLiteral("加赛"));
        click("Command10");
        QCOMPARE(items(titles).last(), QStringLiteral("加赛"));
        QVERIFY(w<QLineEdit>("Text2")->text().isEmpty());
        QCOMPARE(window().focusWidget(), w("Text2"));
        titles->setCurrentRow(0);
        click("Command11");
        QCOMPARE(items(titles).first(), QStringLiteral("第二轮"));
        w<QLineEdit>("Text3(2)")->setText(QStringLiteral("决赛"));
        QVERIFY(window().grab().save(QStringLiteral("title-editor.png")));
        click("Command12");
        QCOMPARE(messages->shown, QStringList{texts::TitlesConfirmed});
        QVERIFY(!shown(w("Frame5")));
        QCOMPARE(w<QLabel>("Label1(1)")->text(), QStringLiteral("第二轮"));
    }
};

QTEST_MAIN(TestMainWindow)
#include "TestMainWindow.moc"
