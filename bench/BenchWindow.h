#pragma once

// The main window for benchmarks: a headless widget application, silent messages, and an
// application folder of the benchmark's choosing.

#include "app/Form1.h"
#include "platform/XlsSpreadsheetService.h"

#include <QApplication>

#include <memory>

namespace sortilo::bench {

inline bool haveApplication() {
    static int argc = 1;
    static char name[] = "sortilo-bench";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance()) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
        new QApplication(argc, argv);
    }
    return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr;
}

struct SilentMessages : MessageBox {
    void show(const QString&) override {}
};

struct NoDesktop : DesktopOpener {
    bool open(const QString&) override { return true; }
};

// The shown main window with the real clock, generator and spreadsheet service; messages and
// the desktop opener do nothing. An empty folder keeps the program's own.
inline std::unique_ptr<Form1> shownWindow(const QString& appFolder = {}) {
    Services services = realServices();
    services.messages = std::make_unique<SilentMessages>();
    services.opener = std::make_unique<NoDesktop>();
    if (!appFolder.isEmpty()) {
        services.appFolder = appFolder;
    }
    services.spreadsheets = [folder = services.appFolder, opener = services.opener.get()] {
        return std::make_unique<XlsSpreadsheetService>(folder, *opener);
    };
    auto form = std::make_unique<Form1>(std::move(services));
    form->show();
    QCoreApplication::processEvents();
    return form;
}

}  // namespace sortilo::bench
