#include "draw/view/AudienceWindow.h"

#include "platform/Texts.h"
#include "platform/widgets/Skin.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>
#include <QWindow>

namespace sortilo {

namespace {

// The colours of the main window: its window background, and the light pink of the selected
// group's list for the group just drawn.
const QColor NamesBackground(255, 192, 255);
const QColor Ink(0, 0, 0);

// A normal window's size where there is no second screen: the shape of a projector's picture.
const QSize NormalSize(960, 540);

}  // namespace

AudienceWindow::AudienceWindow(DrawSession& session, QWidget* parent)
    : QWidget(parent, Qt::Window), session_(session) {
    installSongTypefaceSubstitutes();
    setWindowTitle(texts::AudienceWindowTitle);
    setAttribute(Qt::WA_OpaquePaintEvent);
    face_ = QFont(QStringLiteral("宋体"));
    face_.setBold(true);
    resize(NormalSize);
    const DrawModel& draw = session.model();
    if (!session.rolling() && draw.groupCount() > 0) {
        const int g = draw.groupCount();
        showGroup(draw.title(g), draw.groupNames(g));
    } else {
        showRollingName(session.rollingName());
    }
    connect(&session, &DrawSession::rollingNameChanged, this, &AudienceWindow::showRollingName);
    connect(&session, &DrawSession::rollingChanged, this, [this](bool rolling) {
        if (rolling) {
            showRollingName(rollingName_);
        }
    });
    connect(
        &session, &DrawSession::groupRecorded, this,
        [this](int, const QString& title, const QStringList& names) { showGroup(title, names); });
}

void AudienceWindow::open(const QScreen* operatorScreen) {
    QList<QRect> areas;
    const QList<QScreen*> screens = QGuiApplication::screens();
    for (const QScreen* screen : screens) {
        areas << screen->geometry();
    }
    const QRect area = audienceScreen(areas, operatorScreen ? operatorScreen->geometry() : QRect());
    if (area.isEmpty()) {
        show();
        return;
    }
    create();
    windowHandle()->setScreen(screens[areas.indexOf(area)]);
    setGeometry(area);
    showFullScreen();
}

void AudienceWindow::toggleFullScreen() {
    setWindowState(windowState() ^ Qt::WindowFullScreen);
}

void AudienceWindow::showRollingName(const QString& name) {
    showsGroup_ = false;
    rollingName_ = name;
    rollingFont_ = rollingNameFont(name, size(), face_);
    update();
}

void AudienceWindow::showGroup(const QString& title, const QStringList& names) {
    showsGroup_ = true;
    groupTitle_ = title;
    groupNames_ = names;
    layOut();
    update();
}

void AudienceWindow::layOut() {
    layout_ = layoutGroup(groupTitle_, groupNames_, size(), face_);
    const qreal ratio = devicePixelRatioF();
    groupPicture_ = QImage(size() * ratio, QImage::Format_RGB32);
    groupPicture_.setDevicePixelRatio(ratio);
    QPainter painter(&groupPicture_);
    paintGroup(painter);
}

void AudienceWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    rollingFont_ = rollingNameFont(rollingName_, size(), face_);
    if (showsGroup_) {
        layOut();
    }
}

void AudienceWindow::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    if (showsGroup_) {
        painter.drawImage(0, 0, groupPicture_);
        return;
    }
    painter.fillRect(rect(), palette().color(QPalette::Base));
    painter.setPen(Ink);
    painter.setFont(rollingFont_);
    painter.drawText(rect(), Qt::AlignCenter, rollingName_);
}

void AudienceWindow::paintGroup(QPainter& painter) const {
    painter.fillRect(QRect(QPoint(0, 0), size()), palette().color(QPalette::Base));
    painter.setPen(Ink);
    painter.setFont(layout_.titleFont);
    painter.drawText(layout_.titleRect, Qt::AlignCenter, groupTitle_);
    painter.fillRect(layout_.namesArea, NamesBackground);
    painter.setFont(layout_.nameFont);
    for (int i = 0; i < groupNames_.size(); ++i) {
        painter.drawText(layout_.cell(i), Qt::AlignCenter, groupNames_[i]);
    }
}

void AudienceWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F11 && !event->isAutoRepeat()) {
        toggleFullScreen();
    } else if (event->key() == Qt::Key_Escape) {
        if (isFullScreen()) {
            showNormal();
        } else {
            close();
        }
    } else if (!session_.pressKey(event->key(), KeyFocus::AudienceWindow, event->isAutoRepeat())) {
        QWidget::keyPressEvent(event);
    }
}

void AudienceWindow::mouseDoubleClickEvent(QMouseEvent* /*event*/) {
    toggleFullScreen();
}

}  // namespace sortilo
