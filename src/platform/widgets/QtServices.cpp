#include "platform/widgets/QtServices.h"

#include "platform/Texts.h"

#include <QApplication>
#include <QInputDialog>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMessageBox>
#include <QPushButton>

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

// An operator holding only the clicker gets through a message: its keys press the message's
// default button, and so do Return and Space where no button has them (a button that has them,
// one the operator chose with Tab, is pressed itself, as everywhere).
class ClickerKeys : public QObject {
public:
    explicit ClickerKeys(QMessageBox& box) : QObject(&box), box_(box) {
        box.installEventFilter(this);
        const QList<QAbstractButton*> buttons = box.buttons();
        for (QAbstractButton* button : buttons) {
            button->installEventFilter(this);
        }
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress || box_.defaultButton() == nullptr) {
            return QObject::eventFilter(watched, event);
        }
        switch (static_cast<QKeyEvent*>(event)->key()) {
            case Qt::Key_Return:
            case Qt::Key_Enter:
            case Qt::Key_Space:
                if (watched != &box_) {
                    return false;
                }
                [[fallthrough]];
            case Qt::Key_PageDown:
            case Qt::Key_PageUp:
                box_.defaultButton()->click();
                return true;
            default:
                return false;
        }
    }

private:
    QMessageBox& box_;
};

}  // namespace

void QtMessageBox::show(const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, texts::MessageTitle, text, QMessageBox::Ok,
                    operatorWindow());
    box.setDefaultButton(QMessageBox::Ok);
    new ClickerKeys(box);  // owned by the box
    box.exec();
}

bool QtMessageBox::confirm(const QString& question) {
    QMessageBox box(QMessageBox::NoIcon, texts::MessageTitle, question,
                    QMessageBox::Ok | QMessageBox::Cancel, operatorWindow());
    box.setDefaultButton(QMessageBox::Ok);
    new ClickerKeys(box);  // owned by the box
    return box.exec() == QMessageBox::Ok;
}

QuitChoice QtMessageBox::askBeforeQuit(const QString& question) {
    QMessageBox box(QMessageBox::NoIcon, texts::MessageTitle, question, QMessageBox::NoButton,
                    operatorWindow());
    QPushButton* exportAndQuit = box.addButton(texts::ExportAndQuit, QMessageBox::AcceptRole);
    QPushButton* quit = box.addButton(texts::QuitWithoutExport, QMessageBox::DestructiveRole);
    QPushButton* cancel = box.addButton(texts::CancelQuit, QMessageBox::RejectRole);
    box.setDefaultButton(cancel);
    box.setEscapeButton(cancel);
    new ClickerKeys(box);  // owned by the box
    box.exec();
    if (box.clickedButton() == exportAndQuit) {
        return QuitChoice::ExportAndQuit;
    }
    return box.clickedButton() == quit ? QuitChoice::Quit : QuitChoice::Cancel;
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

}  // namespace sortilo
