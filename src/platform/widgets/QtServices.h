#pragma once

#include "platform/MessageBox.h"

namespace sortilo {

// The real message box: the application's title "Sortilo", the text, one OK button. It sits over
// the operator's window.
class QtMessageBox : public MessageBox {
public:
    void show(const QString& text) override;
    bool confirm(const QString& question) override;
    QuitChoice askBeforeQuit(const QString& question) override;
    std::optional<QString> askText(const QString& prompt) override;
};

}  // namespace sortilo
