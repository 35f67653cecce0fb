#pragma once

#include <QString>

namespace sortilo {

// Hands a file to the desktop's program for it (the spreadsheet program for a workbook).
class DesktopOpener {
public:
    virtual ~DesktopOpener() = default;
    virtual bool open(const QString& path) = 0;
};

}  // namespace sortilo
