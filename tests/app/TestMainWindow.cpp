#include "app/Controls.h"
#include "draw/Reset.h"
#include "support/TestForm.h"

#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace sortilo;

namespace {

struct Expected {
    const char* name;
    const char* parent;  // "" = the window's client area
    const char* caption;
    int left, top, width, height;  // twips
    double points;
    bool bold;
    bool visible;
};

// The window as the operator first sees it (positions in twips, 15 twips to the pixel).
// clang-format off
const Expected kWindow[] = {
        {"Frame2", "", "抽签对象设置：", 120, 120, 3015, 1695, 10.5, true, true},
        {"Frame3", "", "抽取设置：", 3240, 120, 4695, 1695, 10.5, true, true},
        {"Frame4", "", "随机抽取显示窗口：", 8040, 120, 3975, 1695, 10.5, true, true},
        {"Frame1", "", "抽签结果显示：", 120, 1920, 11895, 4780, 12, true, true},
        {"List2", "", "", 120, 120, 11895, 6540, 36, false, false},
        {"Command5(1)", "", "关闭", 10800, 5880, 855, 375, 10.5, true, false},
        {"Frame5", "", "", 2760, 120, 7335, 6015, 12, true, false},
        {"Command6(0)", "Frame2", "编辑被抽对象", 600, 360, 1935, 495, 10.5, true, true},
        {"Command1(1)", "Frame2", "导 入 数 据", 600, 960, 1935, 495, 10.5, true, true},
        {"Label1(8)", "Frame3", "抽取值：", 120, 420, 1335, 255, 12, false, true},
        {"Text1", "Frame3", "", 1560, 360, 975, 375, 12, true, true},
        {"Label1(7)", "Frame3", "抽取后是否保留", 120, 1080, 975, 495, 12, false, true},
        {"Option1(0)", "Frame3", "是", 1320, 1080, 495, 375, 12, true, true},
        {"Option1(1)", "Frame3", "否", 2160, 1080, 495, 375, 12, true, true},
        {"Command3(0)", "Frame3", "开始", 3240, 480, 1095, 855, 12, true, true},
        {"Command3(1)", "Frame3", "结束", 3240, 480, 1095, 855, 12, true, true},
        {"Label2", "Frame4", "", 720, 360, 2655, 975, 42, true, true},
        {"Label1(0)", "Frame1", "被抽名单：", 120, 1080, 2295, 375, 12, true, true},
        {"List1(0)", "Frame1", "", 240, 1440, 1935, 2670, 12, false, true},
        {"Label1(1)", "Frame1", "标题1", 2640, 480, 1935, 975, 12, true, true},
        {"Label1(2)", "Frame1", "标题2", 4920, 480, 1935, 975, 12, true, true},
        {"Label1(3)", "Frame1", "标题3", 7200, 480, 1935, 975, 12, true, true},
        {"Label1(4)", "Frame1", "标题4", 9480, 480, 1935, 975, 12, true, true},
        {"List1(1)", "Frame1", "", 2640, 1440, 1935, 2670, 12, false, true},
        {"List1(2)", "Frame1", "", 4920, 1440, 1935, 2670, 12, false, true},
        {"List1(3)", "Frame1", "", 7200, 1440, 1935, 2670, 12, false, true},
        {"List1(4)", "Frame1", "", 9480, 1440, 1935, 2670, 12, false, true},
        {"Command8(0)", "Frame1", "<", 2370, 1920, 255, 1815, 9, false, true},
        {"Command8(1)", "Frame1", ">", 11450, 1800, 255, 1815, 9, false, true},
        {"Command2(0)", "Frame1", "详情", 1320, 4320, 735, 340, 10.5, true, true},
        {"Command2(1)", "Frame1", "详情", 3240, 4320, 735, 340, 10.5, true, true},
        {"Command2(2)", "Frame1", "详情", 5520, 4320, 735, 340, 10.5, true, true},
        {"Command2(3)", "Frame1", "详情", 7800, 4320, 735, 340, 10.5, true, true},
        {"Command2(4)", "Frame1", "详情", 9960, 4320, 735, 340, 10.5, true, true},
        {"Label3", "Frame1", "", 120, 4320, 1215, 375, 12, true, true},
        {"Command9", "Frame1", "导出", 10800, 4320, 735, 340, 9, true, true},
        {"Frame6", "Frame5", "标题的组别名称编辑", 360, 480, 3015, 5055, 10.5, true, true},
        {"Frame7", "Frame5", "标题选定组的内容编辑", 3600, 480, 3375, 5055, 10.5, true, true},
        {"Option2(0)", "Frame6", "默认", 360, 480, 2415, 495, 9, false, true},
        {"Option2(1)", "Frame6", "Option2", 360, 1060, 2415, 495, 9, false, true},
        {"Option2(2)", "Frame6", "Option2", 360, 1640, 2415, 495, 9, false, true},
        {"Option2(3)", "Frame6", "Option2", 360, 2220, 2415, 495, 9, false, true},
        {"Option2(4)", "Frame6", "Option2", 360, 2800, 2415, 495, 9, false, true},
        {"Option2(5)", "Frame6", "Option2", 360, 3380, 2415, 495, 9, false, true},
        {"Option2(6)", "Frame6", "Option2", 360, 3960, 2415, 495, 9, false, true},
        {"Text3(1)", "Frame6", "", 600, 1120, 2175, 375, 9, false, true},
        {"Text3(2)", "Frame6", "", 600, 1696, 2175, 375, 9, false, true},
        {"Text3(3)", "Frame6", "", 600, 2272, 2175, 375, 9, false, true},
        {"Text3(4)", "Frame6", "", 600, 2848, 2175, 375, 9, false, true},
        {"Text3(5)", "Frame6", "", 600, 3424, 2175, 375, 9, false, true},
        {"Text3(6)", "Frame6", "", 600, 4000, 2175, 375, 9, false, true},
        {"Command12", "Frame6", "确认", 1920, 4440, 855, 375, 10.5, true, true},
        {"List3", "Frame7", "", 240, 360, 2175, 3630, 10.5, false, true},
        {"Command11", "Frame7", "删除", 2520, 360, 615, 495, 9, true, true},
        {"Text2", "Frame7", "", 240, 4080, 2175, 615, 10.5, false, true},
        {"Command10", "Frame7", "添加", 2520, 4150, 615, 495, 9, true, true},
};
// clang-format on

QString captionOf(QWidget* w) {
    if (auto* b = qobject_cast<QAbstractButton*>(w))
        return b->text();
    if (auto* l = qobject_cast<QLabel*>(w))
        return l->text();
    if (auto* g = qobject_cast<QGroupBox*>(w))
        return g->title();
    if (auto* e = qobject_cast<QLineEdit*>(w))
        return e->text();
    if (auto* list = qobject_cast<QListWidget*>(w))
        return list->count() ? QStringLiteral("<items>") : QString();
    return QStringLiteral("<unknown kind>");
}

int childOrder(QWidget* w) {
    return w->parentWidget()->children().indexOf(w);
}

}  // namespace

class TestMainWindow : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void controlAsOpened_data() {
        QTest::addColumn<int>("row");
        for (int i = 0; i < int(std::size(kWindow)); ++i) {
            QTest::newRow(kWindow[i].name) << i;
        }
    }

    void controlAsOpened() {
        QFETCH(int, row);
        const Expected& e = kWindow[row];
        auto t = test::makeTestForm();
        auto* w = t->form->findChild<QWidget*>(QString::fromUtf8(e.name));
        QVERIFY2(w, e.name);
        QCOMPARE(w->geometry(), QRect(e.left / 15.0 + 0.5, e.top / 15.0 + 0.5, e.width / 15.0 + 0.5,
                                      e.height / 15.0 + 0.5));
        QCOMPARE(captionOf(w), QString::fromUtf8(e.caption));
        QCOMPARE(w->font().pointSizeF(), e.points);
        QCOMPARE(w->font().bold(), e.bold);
        QCOMPARE(!w->isHidden(), e.visible);
        const QString parent = QString::fromUtf8(e.parent);
        QCOMPARE(w->parentWidget() == t->form->centralWidget() ? QString()
                                                               : w->parentWidget()->objectName(),
                 parent);
    }

    void windowAsOpened() {
        auto t = test::makeTestForm();
        Form1& f = *t->form;
        QCOMPARE(f.windowTitle(), QStringLiteral("SortiloV1.7.8"));
        QCOMPARE(f.centralWidget()->size(), QSize(810, 453));
        QCOMPARE(f.zbzdy->text(), QStringLiteral("组别名称自定义"));
        QCOMPARE(f.Timer1->interval(), 360);
        QVERIFY(f.Timer1->isActive());
        QVERIFY(f.Option1[0]->isChecked() && !f.Option1[1]->isChecked());
        QVERIFY(f.Option2[0]->isChecked());
        for (int s = 1; s <= 6; ++s) {
            QVERIFY(!f.Option2[s]->isChecked());
        }
        // Start lies on Stop; the title editor above everything, the close button above the list.
        QVERIFY(childOrder(f.Command3[0]) > childOrder(f.Command3[1]));
        QVERIFY(childOrder(f.Frame5) > childOrder(f.Command5[1]));
        QVERIFY(childOrder(f.Command5[1]) > childOrder(f.List2));
        for (QWidget* frame : {f.Frame1, f.Frame2, f.Frame3, f.Frame4}) {
            QVERIFY(childOrder(f.List2) > childOrder(frame));
        }
        for (int i = 1; i <= 6; ++i) {
            QVERIFY(childOrder(f.Text3[i]) > childOrder(f.Option2[i]));
        }
        QCOMPARE(f.state().groupTitles(1), QStringLiteral("第1组"));
        QCOMPARE(f.state().skipNextTick, int16_t(0));
        QCOMPARE(f.Label3->palette().color(QPalette::WindowText), QColor(255, 0, 0));
        QCOMPARE(f.Frame5->palette().color(QPalette::Window), QColor(255, 224, 192));
        for (int i = 0; i <= 4; ++i) {
            QCOMPARE(backColor(f.List1[i]), ListColor::Window);
        }
    }

    // Chinese captions must come out in a Chinese typeface, not as boxes in a Latin one.
    void songTypefaceResolvesToChinese() {
        auto t = test::makeTestForm();
        const QFontInfo info(t->form->Frame1->font());
        QVERIFY2(QFontMetrics(t->form->Frame1->font()).inFont(QChar(0x62BD)),
                 qPrintable(info.family()));
        QVERIFY2(info.family().contains(QStringLiteral("CJK")) ||
                     info.family().contains(QStringLiteral("Sun")) ||
                     info.family().contains(QStringLiteral("Ming")),
                 qPrintable(info.family()));
    }

    void resetAfterThreeGroups() {
        auto t = test::makeTestForm();
        Form1& f = *t->form;
        f.show();
        QVERIFY(QTest::qWaitForWindowActive(&f));
        DrawState& s = f.state();
        const int sizes[] = {2, 5, 1};
        for (int g = 1; g <= 3; ++g) {
            s.groupSizes(g) = int16_t(sizes[g - 1]);
            for (int k = 1; k <= sizes[g - 1]; ++k) {
                s.groupResults(k, g) = QStringLiteral("名%1-%2").arg(g).arg(k);
                f.List1[g]->addItem(s.groupResults(k, g));
            }
            s.groupTitles(g) = QStringLiteral("标题甲%1").arg(g);
        }
        s.groupCount = 3;
        s.groupSelected(2) = 1;
        setBackColor(f.List1[2], ListColor::Pink);
        s.roster(1) = QStringLiteral("张三");
        s.rosterCount = 1;
        s.drawPicks(1) = 1;
        s.drawCount = 5;
        s.rollingName = QStringLiteral("张三");
        s.firstShownGroup = 2;
        s.currentDrawPicked = true;
        f.List1[0]->addItem(QStringLiteral("张三"));
        f.Label3->setText(QStringLiteral("1可抽值"));
        f.Label2->setText(QStringLiteral("张三"));
        f.Text1->setText(QStringLiteral("5"));
        f.Option1[1]->setChecked(true);
        f.Command3[0]->hide();
        f.Command3[1]->show();
        f.Timer1->setInterval(100);

        数据环境还原(f);

        QCOMPARE(f.Text1->text(), QString());
        QVERIFY(!f.Option1[0]->isChecked() && !f.Option1[1]->isChecked());
        QCOMPARE(f.Label2->text(), QString());
        QVERIFY(shownInWindow(f.Command3[0]) && !shownInWindow(f.Command3[1]));
        QCOMPARE(f.focusWidget(), f.Command3[0]);
        QCOMPARE(f.Timer1->interval(), 0);
        QVERIFY(!f.Timer1->isActive());
        QCOMPARE(s.groupCount, int16_t(0));
        QCOMPARE(s.skipNextTick, int16_t(1));
        QVERIFY(!s.currentDrawPicked);  // the next Stop waits for a pick of the new pool
        for (int i = 1; i <= 4; ++i) {
            QCOMPARE(f.Label1[i]->text(), s.groupTitles(i));
            QCOMPARE(f.List1[i]->count(), 0);
            QCOMPARE(backColor(f.List1[i]), ListColor::Window);
        }
        QCOMPARE(f.Label1[1]->text(), QStringLiteral("标题甲1"));
        QCOMPARE(f.Label1[4]->text(), QStringLiteral("第4组"));
        for (int g = 1; g <= 50; ++g) {
            QCOMPARE(s.groupSizes(g), int16_t(0));
            QCOMPARE(s.groupSelected(g), int16_t(0));
        }
        for (int g = 1; g <= 3; ++g) {
            for (int k = 1; k <= 5; ++k) {
                QCOMPARE(s.groupResults(k, g), QString());
            }
        }
        // What the reset leaves alone.
        QCOMPARE(s.roster(1), QStringLiteral("张三"));
        QCOMPARE(s.rosterCount, int16_t(1));
        QCOMPARE(s.drawPicks(1), int16_t(1));
        QCOMPARE(s.drawCount, int16_t(5));
        QCOMPARE(s.rollingName, QStringLiteral("张三"));
        QCOMPARE(s.firstShownGroup, int16_t(2));
        QCOMPARE(f.List1[0]->count(), 1);
        QCOMPARE(f.Label3->text(), QStringLiteral("1可抽值"));
        QCOMPARE(s.groupTitles(1), QStringLiteral("标题甲1"));
    }

    // The window as rendered, kept as an artefact of the test run to be looked at.
    void renderToPng() {
        auto t = test::makeTestForm();
        t->form->show();
        QVERIFY(QTest::qWaitForWindowExposed(t->form.get()));
        QVERIFY(t->form->grab().save(QStringLiteral("main-window.png")));

        Form1& f = *t->form;
        f.Label2->setText(QStringLiteral("欧阳明月"));
        f.Text1->setText(QStringLiteral("12"));
        f.Label3->setText(QStringLiteral("1998可抽值"));
        for (int i = 0; i <= 4; ++i) {
            f.List1[i]->addItems(
                {QStringLiteral("张三"), QStringLiteral("李四"), QStringLiteral("王五")});
        }
        setBackColor(f.List1[2], ListColor::Pink);
        f.Label1[3]->setText(QStringLiteral("一个很长的组别名称会换行显示"));
        QVERIFY(f.grab().save(QStringLiteral("main-window-filled.png")));
        const QImage pinkList = f.List1[2]->grab().toImage();
        QCOMPARE(QColor(pinkList.pixel(pinkList.width() - 6, pinkList.height() - 6)),
                 QColor(255, 192, 255));

        for (int i = 1; i <= 100; ++i) {
            f.List2->addItem(QStringLiteral("名字%1").arg(i));
        }
        f.List2->show();
        f.Command5[1]->show();
        QVERIFY(f.grab().save(QStringLiteral("details-view.png")));
        f.List2->hide();
        f.Command5[1]->hide();
        f.Frame5->show();
        QVERIFY(f.grab().save(QStringLiteral("title-editor.png")));
    }
};

QTEST_MAIN(TestMainWindow)
#include "TestMainWindow.moc"
