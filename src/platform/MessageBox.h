#pragma once

#include <QString>

#include <optional>

namespace sortilo {

// What the operator answers when the program is closed with results not exported.
enum class QuitChoice { ExportAndQuit, Quit, Cancel };

// The program's modal messages and questions, all titled "Sortilo". Timer ticks go on being
// delivered while it is open.
class MessageBox {
public:
    virtual ~MessageBox() = default;
    virtual void show(const QString& text) = 0;
    // A question answered 确定 (true) or 取消; Return is 确定.
    virtual bool confirm(const QString& question) = 0;
    // 导出并退出, 退出 or 取消; 取消 is the default, so no key alone loses the results.
    virtual QuitChoice askBeforeQuit(const QString& question) = 0;
    // A line of text typed in answer to `prompt` (spaces kept), or nothing when cancelled.
    virtual std::optional<QString> askText(const QString& prompt) = 0;
};

}  // namespace sortilo
