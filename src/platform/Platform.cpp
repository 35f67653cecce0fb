#include "platform/DesktopOpener.h"
#include "platform/MessageBox.h"
#include "platform/Texts.h"

#include <QApplication>
#include <QDesktopServices>
#include <QMessageBox>
#include <QUrl>

namespace sortilo {

void QtMessageBox::show(const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, texts::MessageTitle, text, QMessageBox::Ok,
                    QApplication::activeWindow());
    box.exec();
}

bool QtDesktopOpener::open(const QString& path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

}  // namespace sortilo
