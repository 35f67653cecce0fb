#include "app/MainWindow.h"

#include "app/HeldKeys.h"
#include "app/Layout.h"
#include "app/MainWindowControls.h"
#include "app/ScaledClient.h"
#include "app/ScaledStyle.h"
#include "app/SongLabel.h"
#include "app/ThreeColumnList.h"
#include "draw/view/AudienceWindow.h"
#include "platform/Texts.h"
#include "platform/widgets/Skin.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QHash>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QShortcut>
#include <QTimer>

namespace sortilo {

namespace {

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

// Radio buttons of one group cannot all be unchecked through setChecked(false) alone.
void uncheck(QRadioButton* option) {
    const bool exclusive = option->autoExclusive();
    option->setAutoExclusive(false);
    option->setChecked(false);
    option->setAutoExclusive(exclusive);
}

}  // namespace

MainWindow::MainWindow(DrawSession& session, TitleEditing& titles, QWidget* parent)
    : QMainWindow(parent), session_(session), controls_(std::make_unique<MainWindowControls>()) {
    setupWindow();
    setupControls();
    setupMenu(titles);
    setupPanels(session, titles);
    connectDrawSettings(session);
    connectDrawDisplay(session);
    // The operator types the count first.
    controls_->drawCountEdit->setFocus();
    qApp->installEventFilter(this);
    qApp->installEventFilter(new HeldKeyFilter(this));
}

MainWindow::~MainWindow() {
    delete audience_.data();
}

void MainWindow::setupWindow() {
    installSongTypefaceSubstitutes();
    setWindowTitle(texts::WindowCaption);
    setFont(songFont(DefaultFontPoints, false));
    auto* client = new ScaledClient(this);
    client->setScaleListener([this](double scale) { applyScale(scale); });
    setCentralWidget(client);
}

void MainWindow::applyScale(double scale) {
    menuBar()->setFont(songFont(DefaultFontPoints * scale, false));
    auto* style = new ScaledStyle(scale);
    style->setParent(this);
    QList<QWidget*> parts;
    for (QRadioButton* option : centralWidget()->findChildren<QRadioButton*>()) {
        parts << option;
    }
    for (QAbstractScrollArea* list : centralWidget()->findChildren<QAbstractScrollArea*>()) {
        parts << list << list->horizontalScrollBar() << list->verticalScrollBar();
    }
    for (QWidget* part : parts) {
        part->setStyle(style);
    }
    // The parts no longer use the style of the previous scale.
    delete std::exchange(scaledStyle_, style);
}

void MainWindow::setupControls() {
    auto* client = static_cast<ScaledClient*>(centralWidget());
    QHash<QString, QWidget*> frames;
    for (const ControlSpec& entry : mainWindowLayout()) {
        QWidget* parent = entry.parent ? frames.value(QString::fromUtf8(entry.parent)) : client;
        Q_ASSERT(parent);
        QWidget* control = makeControl(entry, parent);
        applyLook(entry, control);
        client->place(control, entry);
        if (entry.kind == ControlSpec::Kind::Frame) {
            frames.insert(QString::fromUtf8(entry.name), control);
        }
        if (entry.bind) {
            entry.bind(*controls_, entry.index, control);
        }
    }
    MainWindowControls& c = *controls_;
    // The pool count shrinks before it runs under the first 详情.
    dynamic_cast<SongLabel&>(*c.poolCountLabel).keepLeftOf(c.details.openButtons[0]);
}

void MainWindow::setupMenu(TitleEditing& titles) {
    QAction* titleEditorCommand = menuBar()->addAction(texts::MenuTitleEditor);
    titleEditorCommand->setObjectName(QStringLiteral("titleEditorCommand"));
    connect(titleEditorCommand, &QAction::triggered, &titles, &TitleEditing::open);
    QAction* audienceCommand = menuBar()->addAction(texts::AudienceWindowTitle);
    audienceCommand->setObjectName(QStringLiteral("audienceWindowCommand"));
    connect(audienceCommand, &QAction::triggered, this, &MainWindow::toggleAudienceWindow);
    // The room's text counts only before the first group; then it is no longer offered.
    QAction* entropyCommand = menuBar()->addAction(texts::MenuEntropy);
    entropyCommand->setObjectName(QStringLiteral("entropyCommand"));
    entropyCommand->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    entropyCommand->setEnabled(session_.entropyAllowed());
    connect(&session_, &DrawSession::entropyAllowedChanged, entropyCommand, &QAction::setEnabled);
    connect(entropyCommand, &QAction::triggered, this, &MainWindow::entropyRequested);
    QAction* recordCommand = menuBar()->addAction(texts::MenuDrawRecord);
    recordCommand->setObjectName(QStringLiteral("drawRecordCommand"));
    connect(recordCommand, &QAction::triggered, this, &MainWindow::drawRecordRequested);
    auto* quit = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q), this);
    connect(quit, &QShortcut::activated, this, &QWidget::close);
    QAction* dataFolderCommand = menuBar()->addAction(texts::MenuOpenDataFolder);
    dataFolderCommand->setObjectName(QStringLiteral("openDataFolderCommand"));
    connect(dataFolderCommand, &QAction::triggered, this, &MainWindow::dataFolderRequested);
}

void MainWindow::setupPanels(DrawSession& session, TitleEditing& titles) {
    MainWindowControls& c = *controls_;
    new ResultListsView(c.resultLists, session, this);
    new DetailsView(c.details, session, this);
    auto* editor = new TitleEditorPanel(c.titleEditor, titles, this);
    editor->stayAbove(c.details.list);
    editor->stayAbove(c.details.closeButton);
    connect(c.importButton, &QPushButton::clicked, this, &MainWindow::importRequested);
    connect(c.editRosterButton, &QPushButton::clicked, this, &MainWindow::rosterEditRequested);
    connect(c.exportButton, &QPushButton::clicked, this, &MainWindow::exportRequested);
}

void MainWindow::connectDrawSettings(DrawSession& session) {
    MainWindowControls& c = *controls_;
    connect(c.startButton, &QPushButton::clicked, &session, &DrawSession::pressStart);
    connect(c.stopButton, &QPushButton::clicked, &session, &DrawSession::pressStop);
    // textChanged, not textEdited: any change of the text brings 开始 back, the program's too.
    connect(c.drawCountEdit, &QLineEdit::textChanged, &session, &DrawSession::setDrawCountText);
    connect(c.keepOption, &QRadioButton::toggled, &session, [&session](bool chosen) {
        if (chosen) {
            session.setKeepChoice(KeepChoice::Keep);
        }
    });
    connect(c.removeOption, &QRadioButton::toggled, &session, [&session](bool chosen) {
        if (chosen) {
            session.setKeepChoice(KeepChoice::Remove);
        }
    });
    QLineEdit* countEdit = c.drawCountEdit;
    connect(&session, &DrawSession::drawCountTextChanged, countEdit,
            [countEdit](const QString& text) {
                if (countEdit->text() != text) {
                    countEdit->setText(text);
                }
            });
    connect(&session, &DrawSession::keepChoiceChanged, this, [&c](KeepChoice choice) {
        if (choice == KeepChoice::None) {
            uncheck(c.keepOption);
            uncheck(c.removeOption);
        } else {
            (choice == KeepChoice::Keep ? c.keepOption : c.removeOption)->setChecked(true);
        }
    });
}

void MainWindow::connectDrawDisplay(DrawSession& session) {
    MainWindowControls& c = *controls_;
    connect(&session, &DrawSession::drawButtonsChanged, this, [&c](bool start, bool stop) {
        c.startButton->setVisible(start);
        c.stopButton->setVisible(stop);
    });
    connect(&session, &DrawSession::drawButtonFocused, this, [&c](DrawButton button) {
        (button == DrawButton::Start ? c.startButton : c.stopButton)->setFocus();
    });
    connect(&session, &DrawSession::rollingNameChanged, c.rollingNameLabel, &QLabel::setText);
    QListWidget* pool = c.poolList;
    connect(&session, &DrawSession::poolChanged, pool, [pool](const QStringList& names) {
        pool->clear();
        pool->addItems(names);
    });
    QLabel* poolCount = c.poolCountLabel;
    connect(&session, &DrawSession::poolCountChanged, poolCount, [poolCount](int count) {
        poolCount->setText(QString::number(count) + texts::PoolCountSuffix);
    });
}

KeyFocus MainWindow::keyFocus(const QWidget* target) const {
    const MainWindowControls& c = *controls_;
    if (!c.titleEditor.frame->isHidden()) {
        return KeyFocus::TitleEditor;
    }
    if (target == c.startButton || target == c.stopButton) {
        return KeyFocus::DrawButton;
    }
    return qobject_cast<const QLineEdit*>(target) ? KeyFocus::TextBox : KeyFocus::Elsewhere;
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    const MainWindowControls& c = *controls_;
    if ((event->type() == QEvent::Show || event->type() == QEvent::Hide) &&
        (watched == c.titleEditor.frame || watched == c.details.list)) {
        // A panel over the draw: what the keys would draw nobody at the controls would see.
        session_.setCovered(!c.titleEditor.frame->isHidden() || !c.details.list->isHidden());
    }
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType()) {
        return false;
    }
    const auto* target = static_cast<QWidget*>(watched);
    if (target->window() != this) {
        return false;
    }
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_F11) {
        if (!key->isAutoRepeat()) {
            toggleAudienceWindow();
        }
        return true;
    }
    const KeyFocus focus = keyFocus(target);
    // The first draw key closes the details view: the clicker brings the draw back into sight.
    if (!c.details.list->isHidden() &&
        drawKeyEffect(key->key(), focus, key->isAutoRepeat()) == KeyEffect::PressDrawButton) {
        c.details.closeButton->click();
        return true;
    }
    return session_.pressKey(key->key(), focus, key->isAutoRepeat());
}

AudienceWindow* MainWindow::audienceWindow() const {
    return audience_.data();
}

void MainWindow::toggleAudienceWindow() {
    if (audience_) {
        audience_->close();
        return;
    }
    // A window of its own, not kept above this one: on a single screen the operator may want
    // the controls on top.
    audience_ = new AudienceWindow(session_);
    audience_->setAttribute(Qt::WA_DeleteOnClose);
    // The menu bar and the frames of the draw controls, across the window's width.
    const QWidget* drawFrame = controls_->startButton->parentWidget();
    const int controlsBottom = drawFrame->mapToGlobal(QPoint(0, drawFrame->height())).y();
    const QRect frame = frameGeometry();
    audience_->open(screen(), frame, QRect(frame.topLeft(), QPoint(frame.right(), controlsBottom)));
    // Some window systems hand a new window the keys all the same: the operator's keys come
    // back here, once the audience window is up.
    QTimer::singleShot(0, this, [this] { activateWindow(); });
}

// The program ends with its main window, whatever the audience still watches.
void MainWindow::closeEvent(QCloseEvent* event) {
    if (closeGuard_ && !closeGuard_()) {
        event->ignore();
        return;
    }
    if (audience_) {
        audience_->close();
    }
    QMainWindow::closeEvent(event);
}

void MainWindow::refocusAfterMessage(QWidget* before) {
    const MainWindowControls& c = *controls_;
    const bool editorOpen = !c.titleEditor.frame->isHidden();
    if (before != nullptr && before->isVisible() &&
        (qobject_cast<QLineEdit*>(before) ||
         (editorOpen && c.titleEditor.frame->isAncestorOf(before)))) {
        before->setFocus();
        return;
    }
    (session_.startShown() ? c.startButton : c.stopButton)->setFocus();
}

void MainWindow::centreOnScreen() {
    adjustSize();
    if (const QScreen* screen = this->screen()) {
        move(openingPosition(screen->availableGeometry(), frameGeometry().size()));
    }
}

}  // namespace sortilo
