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
    void show(const QString& text) override {
        shown << text;
        if (whileOpen) {
            whileOpen(text);
        }
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
