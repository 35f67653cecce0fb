#pragma once

#include "platform/DesktopOpener.h"

#include <QObject>

namespace sortilo {

// The desktop's opener, xdg-open, started with the path and watched. Starting it only shows that
// it exists: when the desktop has no program for the file, or a broken one, xdg-open says so by
// ending with a non-zero status within moments, and that is reported as a late failure. An exit
// with 0, or a run that goes on (some desktops keep xdg-open running while the program it started
// is open), is the desktop at work: nothing is said, and nothing waits for it.
class ProcessOpener : public DesktopOpener {
public:
    ProcessOpener() = default;
    ProcessOpener(const ProcessOpener&) = delete;
    ProcessOpener& operator=(const ProcessOpener&) = delete;
    // Stops watching. The openers still running go on: the workbook of an export made as the
    // program quits still opens.
    ~ProcessOpener() override;

    bool open(const QString& path) override;

private:
    QObject watches_;  // one process for each opener not ended yet, as its children
};

}  // namespace sortilo
