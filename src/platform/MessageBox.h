#pragma once

#include <QString>

#include <optional>

namespace sortilo {

// A modal message with a single OK button. Timer ticks go on being delivered while it is open.
class MessageBox {
public:
    virtual ~MessageBox() = default;
    virtual void show(const QString& text) = 0;
    // A question answered 确定 (true) or 取消; Return is 确定.
    virtual bool confirm(const QString& question) = 0;
    // A line of text typed in answer to `prompt` (spaces kept), or nothing when cancelled.
    virtual std::optional<QString> askText(const QString& prompt) = 0;
};

}  // namespace sortilo
