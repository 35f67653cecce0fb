#include "app/Form1.h"
#include "platform/XlsSpreadsheetService.h"

#include <QCoreApplication>

namespace sortilo {

Services realServices() {
    Services services;
    services.messages = std::make_unique<QtMessageBox>();
    services.opener = std::make_unique<QtDesktopOpener>();
    services.clock = std::make_unique<SystemClock>();
    services.random = std::make_unique<FoldingRandom>();
    services.appFolder = QCoreApplication::applicationDirPath();
    services.spreadsheets = [folder = services.appFolder, opener = services.opener.get()] {
        return std::make_unique<XlsSpreadsheetService>(folder, *opener);
    };
    return services;
}

}  // namespace sortilo
