#include "platform/widgets/Skin.h"

#include <QApplication>
#include <QFont>
#include <QPushButton>
#include <QStyleFactory>

namespace sortilo {

namespace {

const char* const kSkin = R"(
QPushButton {
    border: 1px solid #7f93ad;
    border-radius: 3px;
    padding: 1px 2px;
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #fdfdfe, stop:1 #dae2ee);
}
QPushButton:hover { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #ffffff, stop:1 #e6eef9); }
QPushButton:pressed { background: #c6d3e6; }
QPushButton:focus { border: 1px solid #2f66a8; }
)";

}  // namespace

void applySkin() {
    if (QStyle* style = QStyleFactory::create(QStringLiteral("Fusion"))) {
        QApplication::setStyle(style);
    }
    // On the buttons themselves: a sheet on the application or a container would make Qt draw
    // every list through the sheet and drop the pink of the selected group.
    const QString sheet = QString::fromUtf8(kSkin);
    for (QWidget* widget : QApplication::allWidgets()) {
        if (auto* button = qobject_cast<QPushButton*>(widget)) {
            button->setStyleSheet(sheet);
        }
    }
}

void installSongTypefaceSubstitutes() {
    const QString song = QStringLiteral("宋体");
    if (!QFont::substitutes(song).isEmpty()) {
        return;
    }
    QFont::insertSubstitutions(
        song,
        {QStringLiteral("SimSun"), QStringLiteral("NSimSun"), QStringLiteral("Noto Serif CJK SC"),
         QStringLiteral("Source Han Serif SC"), QStringLiteral("AR PL UMing CN"),
         QStringLiteral("Noto Serif CJK TC"), QStringLiteral("Noto Sans CJK SC")});
}

}  // namespace sortilo
