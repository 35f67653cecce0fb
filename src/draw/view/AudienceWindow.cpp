#include "draw/view/AudienceWindow.h"

#include "platform/Texts.h"
#include "platform/widgets/Skin.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>
#include <QWindow>

#include <algorithm>

namespace sortilo {

namespace {

// The colours of the main window: its window background, and the light pink of the selected
// group's list for the group just drawn.
const QColor NamesBackground(255, 192, 255);
const QColor Ink(0, 0, 0);
// A replacement for an absent name, in its first seconds on the screen.
const QColor ReplacementInk(192, 0, 0);
const QColor ReplacementBackground(255, 240, 160);
constexpr int ReplacementMarkMs = 5000;

// A normal window's size where there is no second screen: the shape of a projector's picture.
const QSize NormalSize(960, 540);

// The band of the small line at the window's foot: this share of its height, or at least this
// many pixels.
constexpr double ProofShare = 0.04;
constexpr int ProofPixels = 14;
const QColor ProofInk(96, 96, 96);

// "df976c6c78a4ff72..." as "df97 6c6c 78a4 ff72": the first 16 digits, read out in fours.
QString inFours(const QByteArray& bytes) {
    const QString hex = QString::fromLatin1(bytes.toHex().left(16));
    QStringList fours;
    for (int i = 0; i < hex.size(); i += 4) {
        fours << hex.mid(i, 4);
    }
    return fours.join(QLatin1Char(' '));
}

}  // namespace

AudienceWindow::AudienceWindow(DrawSession& session, QWidget* parent)
    : QWidget(parent, Qt::Window), session_(session) {
    installSongTypefaceSubstitutes();
    setWindowTitle(texts::AudienceWindowTitle);
    setAttribute(Qt::WA_OpaquePaintEvent);
    // The operator's keys stay in the operator's window; a click into this one gives it the keys.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::ClickFocus);
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
    connect(&session, &DrawSession::groupRecorded, this,
            [this](int, const QString& title, const QStringList& names) {
                marked_.clear();
                showGroup(title, names);
                showProof();
            });
    markTimer_.setSingleShot(true);
    markTimer_.setInterval(ReplacementMarkMs);
    connect(&markTimer_, &QTimer::timeout, this, [this] {
        marked_.clear();
        if (showsGroup_) {
            showGroup(groupTitle_, groupNames_);
        }
    });
    connect(&session, &DrawSession::groupRedrawn, this,
            [this](int, const QString& title, const QStringList& names, const QList<int>& at) {
                marked_ = at;
                markTimer_.start();
                showGroup(title, names);
            });
    connect(&session, &DrawSession::sessionSealed, this, &AudienceWindow::showProof);
    connect(&session, &DrawSession::recordChanged, this, &AudienceWindow::showProof);
    showProof();
}

void AudienceWindow::showProof() {
    const DrawModel& draw = session_.model();
    const RecordMark& mark = session_.recordMark();
    if (draw.started() && draw.groupCount() == 0) {
        proofLine_ =
            texts::AudienceSeal.arg(inFours(draw.commitment()))
                .arg(draw.roster().size())
                .arg(QString::fromLatin1(draw.rosterDigest().toHex().left(8)),
                     draw.entropy() ? texts::EntropyAddedNote : texts::EntropyNotAddedNote);
    } else if (draw.groupCount() > 0 && session_.recordIncomplete()) {
        proofLine_ = texts::AudienceRecordIncomplete;
    } else if (draw.groupCount() > 0 && mark.lines > 0) {
        proofLine_ = texts::AudienceRecordMark.arg(mark.lines)
                         .arg(QString::fromLatin1(mark.lastLineHash.toHex().left(8)));
    } else {
        proofLine_.clear();
    }
    update();
}

QSize AudienceWindow::drawingSize() const {
    const int band = std::max(ProofPixels, static_cast<int>(height() * ProofShare));
    return QSize(width(), std::max(1, height() - band));
}

void AudienceWindow::open(const QScreen* operatorScreen, const QRect& operatorFrame,
                          const QRect& keepClear) {
    QList<QRect> areas;
    const QList<QScreen*> screens = QGuiApplication::screens();
    for (const QScreen* screen : screens) {
        areas << screen->geometry();
    }
    const QRect area = audienceScreen(areas, operatorScreen ? operatorScreen->geometry() : QRect());
    if (area.isEmpty()) {
        if (operatorScreen != nullptr) {
            setGeometry(besideOperator(operatorScreen->availableGeometry(), operatorFrame,
                                       keepClear, size()));
        }
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
    rollingFont_ = rollingNameFont(name, drawingSize(), face_);
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
    layout_ = layoutGroup(groupTitle_, groupNames_, drawingSize(), face_);
    const qreal ratio = devicePixelRatioF();
    groupPicture_ = QImage(size() * ratio, QImage::Format_RGB32);
    groupPicture_.setDevicePixelRatio(ratio);
    QPainter painter(&groupPicture_);
    paintGroup(painter);
}

void AudienceWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    rollingFont_ = rollingNameFont(rollingName_, drawingSize(), face_);
    if (showsGroup_) {
        layOut();
    }
}

void AudienceWindow::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    if (showsGroup_) {
        painter.drawImage(0, 0, groupPicture_);
    } else {
        painter.fillRect(rect(), palette().color(QPalette::Base));
        painter.setPen(Ink);
        painter.setFont(rollingFont_);
        painter.drawText(QRect(QPoint(0, 0), drawingSize()), Qt::AlignCenter, rollingName_);
    }
    paintProof(painter);
}

void AudienceWindow::paintProof(QPainter& painter) const {
    const QRect band(0, drawingSize().height(), width(), height() - drawingSize().height());
    painter.fillRect(band, palette().color(QPalette::Base));
    QFont font = face_;
    font.setBold(false);
    font.setPixelSize(std::max(8, band.height() * 2 / 3));
    painter.setFont(font);
    painter.setPen(ProofInk);
    painter.drawText(band, Qt::AlignCenter, proofLine_);
}

void AudienceWindow::paintGroup(QPainter& painter) const {
    painter.fillRect(QRect(QPoint(0, 0), size()), palette().color(QPalette::Base));
    painter.setPen(Ink);
    painter.setFont(layout_.titleFont);
    painter.drawText(layout_.titleRect, Qt::AlignCenter, groupTitle_);
    painter.fillRect(layout_.namesArea, NamesBackground);
    painter.setFont(layout_.nameFont);
    for (int i = 0; i < groupNames_.size(); ++i) {
        const bool marked = marked_.contains(i);
        if (marked) {
            painter.fillRect(layout_.cell(i), ReplacementBackground);
        }
        painter.setPen(marked ? ReplacementInk : Ink);
        painter.drawText(layout_.cell(i), Qt::AlignCenter, layout_.shownNames.value(i));
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
