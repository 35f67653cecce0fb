#pragma once

#include <QString>

namespace sortilo {

// A modal message with a single OK button. Timer ticks go on being delivered while it is open.
class MessageBox {
public:
    virtual ~MessageBox() = default;
    virtual void show(const QString& text) = 0;
};

}  // namespace sortilo
