#pragma once

#include <QString>

#include <functional>
#include <utility>

namespace sortilo {

// Hands a file to the desktop's program for it (the spreadsheet program for a workbook, the file
// manager for a folder).
class DesktopOpener {
public:
    virtual ~DesktopOpener() = default;
    // False when the desktop cannot even begin to open it.
    virtual bool open(const QString& path) = 0;

    // Who hears of a path the desktop began to open and then gave up on, a moment after open()
    // said yes: the operator is owed the same message as for a desktop that cannot open it.
    void onLateFailure(std::function<void(const QString& path)> handler) {
        lateFailure_ = std::move(handler);
    }

protected:
    void reportLateFailure(const QString& path) const {
        if (lateFailure_) {
            lateFailure_(path);
        }
    }

private:
    std::function<void(const QString&)> lateFailure_;
};

}  // namespace sortilo
