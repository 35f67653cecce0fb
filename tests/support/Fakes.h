#pragma once

// The outside world of tests: messages and the desktop opener are recorded, the clock stands
// still, the draw timer is ticked by hand.

#include "platform/DesktopOpener.h"
#include "platform/MessageBox.h"
#include "support/DrawFakes.h"

#include <QStringList>

#include <functional>

namespace sortilo::test {

struct RecordingMessageBox : MessageBox {
    QStringList shown;
    std::function<void(const QString&)> whileOpen;  // e.g. ticks delivered behind the message
    QStringList asked;
    std::optional<QString> answer;  // what the operator types; nothing: cancelled
    void show(const QString& text) override {
        shown << text;
        if (whileOpen) {
            whileOpen(text);
        }
    }
    QStringList questions;
    bool answerYes = true;  // 确定, or 取消
    bool confirm(const QString& question) override {
        questions << question;
        return answerYes;
    }
    QuitChoice quitAnswer = QuitChoice::Cancel;
    QuitChoice askBeforeQuit(const QString& question) override {
        questions << question;
        return quitAnswer;
    }
    std::optional<QString> askText(const QString& prompt) override {
        asked << prompt;
        return answer;
    }
};

struct RecordingOpener : DesktopOpener {
    QStringList opened;
    bool works = true;  // false: a desktop with no program for the file
    bool open(const QString& path) override {
        opened << path;
        return works;
    }
};

}  // namespace sortilo::test
