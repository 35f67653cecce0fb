#pragma once

#include <QString>

namespace sortilo {

// A modal message with a single OK button. Timer ticks go on being delivered while it is open.
class MessageBox {
public:
    virtual ~MessageBox() = default;
    virtual void show(const QString& text) = 0;
};

// The real one: the application's title "Sortilo", the text, one OK button.
// It sits over the active window of the program.
class QtMessageBox : public MessageBox {
public:
    void show(const QString& text) override;
};

}  // namespace sortilo
