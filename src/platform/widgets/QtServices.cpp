#include "platform/widgets/QtServices.h"

#include "platform/Texts.h"

#include <QApplication>
#include <QDesktopServices>
#include <QInputDialog>
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

bool QtMessageBox::confirm(const QString& question) {
    QMessageBox box(QMessageBox::NoIcon, texts::MessageTitle, question,
                    QMessageBox::Ok | QMessageBox::Cancel, operatorWindow());
    box.setDefaultButton(QMessageBox::Ok);
    return box.exec() == QMessageBox::Ok;
}

std::optional<QString> QtMessageBox::askText(const QString& prompt) {
    QInputDialog dialog(operatorWindow());
    dialog.setWindowTitle(texts::MessageTitle);
    dialog.setLabelText(prompt);
    dialog.setInputMode(QInputDialog::TextInput);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.textValue();
}

bool QtDesktopOpener::open(const QString& path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

}  // namespace sortilo
