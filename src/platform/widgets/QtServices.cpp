#include "platform/widgets/QtServices.h"

#include "platform/Texts.h"

#include <QApplication>
#include <QDesktopServices>
#include <QMainWindow>
#include <QMessageBox>
#include <QUrl>

namespace sortilo {

namespace {

// The operator's window: the messages are the operator's, and the active window may be the one
// the audience watches on the projector.
QWidget* operatorWindow() {
    QWidget* active = QApplication::activeWindow();
    if (qobject_cast<QMainWindow*>(active)) {
        return active;
    }
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget* window : windows) {
        if (qobject_cast<QMainWindow*>(window) && window->isVisible()) {
            return window;
        }
    }
    return active;
}

}  // namespace

void QtMessageBox::show(const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, texts::MessageTitle, text, QMessageBox::Ok,
                    operatorWindow());
    box.exec();
}

bool QtDesktopOpener::open(const QString& path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

}  // namespace sortilo
