#include "app/Form1.h"

#include "app/Layout.h"
#include "app/SongLabel.h"
#include "app/ThreeColumnList.h"
#include "draw/DrawWiring.h"
#include "platform/Skin.h"
#include "platform/Texts.h"
#include "results/ResultWiring.h"
#include "roster/RosterWiring.h"
#include "titles/TitleWiring.h"

#include <QGroupBox>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>

namespace sortilo {

namespace {

QFont songFont(double points, bool bold) {
    QFont font(QStringLiteral("宋体"));
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

// The font of controls the layout gives no font of their own.
QFont windowDefaultFont() {
    return songFont(9, false);
}

QWidget* makeControl(const ControlSpec& entry, QWidget* parent) {
    const QString caption = QString::fromUtf8(entry.caption);
    using K = ControlSpec::Kind;
    switch (entry.kind) {
        case K::Frame:
            return new QGroupBox(caption, parent);
        case K::Button:
            return new QPushButton(caption, parent);
        case K::Label: {
            auto* label = new SongLabel(caption, parent);
            label->setAlignment((entry.flags & ControlSpec::Centre)
                                    ? Qt::AlignHCenter | Qt::AlignTop
                                    : Qt::AlignLeft | Qt::AlignTop);
            label->setWordWrap(entry.flags & ControlSpec::Wrap);
            return label;
        }
        case K::TextBox:
            return new QLineEdit(caption, parent);
        case K::Option: {
            auto* option = new QRadioButton(caption, parent);
            option->setChecked(entry.flags & ControlSpec::Selected);
            return option;
        }
        case K::List: {
            // Every entry is one line in one font: the list lays out thousands of names from
            // the size of one instead of measuring each, so a Stop that refills the lists with
            // 5000 names fits in one frame.
            auto* list = new QListWidget(parent);
            list->setUniformItemSizes(true);
            return list;
        }
        case K::ColumnList:
            return new ThreeColumnList(parent);
    }
    return nullptr;
}

void applyLook(const ControlSpec& entry, QWidget* control) {
    control->setObjectName(entry.index < 0
                               ? QString::fromUtf8(entry.name)
                               : QStringLiteral("%1(%2)").arg(entry.name).arg(entry.index));
    control->setGeometry(pixels(entry.left), pixels(entry.top), pixels(entry.width),
                         pixels(entry.height));
    control->setFont(entry.points > 0 ? songFont(entry.points, entry.bold) : windowDefaultFont());
    if (entry.foreColor != 0) {
        QPalette palette = control->palette();
        palette.setColor(QPalette::WindowText, QColor(entry.foreColor));
        control->setPalette(palette);
    }
    if (entry.backColor != 0) {
        QPalette palette = control->palette();
        palette.setColor(QPalette::Window, QColor(entry.backColor));
        control->setPalette(palette);
        control->setAutoFillBackground(true);
    }
    if (!entry.visible) {
        control->hide();
    }
}

}  // namespace

Form1::Form1(Services services, QWidget* parent)
    : QMainWindow(parent), services_(std::move(services)), state_(makeDrawState()) {
    setupWindow();
    setupControls();
    setupMenu();
    setupTimer();
    connectHandlers();
    Form_Load();
}

Form1::~Form1() = default;

void Form1::setupWindow() {
    installSongTypefaceSubstitutes();
    setWindowTitle(texts::WindowCaption);
    setFont(windowDefaultFont());
    auto* client = new QWidget(this);
    client->setFixedSize(pixels(ClientWidthTwips), pixels(ClientHeightTwips));
    setCentralWidget(client);
}

void Form1::setupControls() {
    QHash<QString, QWidget*> frames;
    for (const ControlSpec& entry : mainWindowLayout()) {
        QWidget* parent =
            entry.parent ? frames.value(QString::fromUtf8(entry.parent)) : centralWidget();
        Q_ASSERT(parent);
        QWidget* control = makeControl(entry, parent);
        applyLook(entry, control);
        if (entry.kind == ControlSpec::Kind::Frame) {
            frames.insert(QString::fromUtf8(entry.name), control);
        }
        bindControl(entry.name, entry.index, control);
    }
}

void Form1::bindControl(const char* name, int index, QWidget* control) {
    const QByteArray n(name);
    auto as = [control]<typename T>(T*& member) { member = static_cast<T*>(control); };
    auto in = [control, index]<typename T, int Lo, int Hi>(ControlGroup<T, Lo, Hi>& group) {
        group.set(index, static_cast<T*>(control));
    };
    if (n == "Frame1")
        as(Frame1);
    else if (n == "Frame2")
        as(Frame2);
    else if (n == "Frame3")
        as(Frame3);
    else if (n == "Frame4")
        as(Frame4);
    else if (n == "Frame5")
        as(Frame5);
    else if (n == "Frame6")
        as(Frame6);
    else if (n == "Frame7")
        as(Frame7);
    else if (n == "Command1")
        in(Command1);
    else if (n == "Command2")
        in(Command2);
    else if (n == "Command3")
        in(Command3);
    else if (n == "Command5")
        in(Command5);
    else if (n == "Command6")
        in(Command6);
    else if (n == "Command8")
        in(Command8);
    else if (n == "Command9")
        as(Command9);
    else if (n == "Command10")
        as(Command10);
    else if (n == "Command11")
        as(Command11);
    else if (n == "Command12")
        as(Command12);
    else if (n == "Label1")
        in(Label1);
    else if (n == "Label2")
        as(Label2);
    else if (n == "Label3")
        as(Label3);
    else if (n == "Text1")
        as(Text1);
    else if (n == "Text2")
        as(Text2);
    else if (n == "Text3")
        in(Text3);
    else if (n == "Option1")
        in(Option1);
    else if (n == "Option2")
        in(Option2);
    else if (n == "List1")
        in(List1);
    else if (n == "List2")
        as(List2);
    else if (n == "List3")
        as(List3);
    else
        Q_ASSERT_X(false, "Form1", "layout names a control Form1 does not have");
}

void Form1::setupMenu() {
    zbzdy = menuBar()->addAction(texts::MenuTitleEditor);
    zbzdy->setObjectName(QStringLiteral("zbzdy"));
}

void Form1::setupTimer() {
    Timer1 = new VbTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(360);
}

void Form1::connectHandlers() {
    connectDrawHandlers(*this);
    connectResultHandlers(*this);
    connectRosterHandlers(*this);
    connectTitleHandlers(*this);
}

void Form1::Form_Load() {
    state_->skipNextTick = 0;
    SkinH_Attach();
    标题自动内容生成(*state_);
}

void Form1::centreOnScreen() {
    adjustSize();
    if (const QScreen* screen = this->screen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - QPoint(frameGeometry().width() / 2, frameGeometry().height() / 2));
    }
}

}  // namespace sortilo
