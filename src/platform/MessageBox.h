#pragma once

#include <QString>

class QWidget;

namespace sortilo {

// A modal message with a single OK button. Timer ticks go on being delivered while it is open.
class MessageBox {
public:
    virtual ~MessageBox() = default;
    virtual void show(const QString& text) = 0;
};

// The real one: the application's title "Sortilo", the text, one OK button.
class QtMessageBox : public MessageBox {
public:
    explicit QtMessageBox(QWidget* parent) : parent_(parent) {}
    void show(const QString& text) override;

private:
    QWidget* parent_;
};

}  // namespace sortilo
