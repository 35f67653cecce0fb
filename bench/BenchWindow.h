#pragma once

// The program for benchmarks: a headless widget application, silent messages, and an
// application folder of the benchmark's choosing.

#include "app/Program.h"

#include <QApplication>
#include <QPushButton>
#include <QTemporaryDir>

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
    bool confirm(const QString&) override { return true; }
    QuitChoice askBeforeQuit(const QString&) override { return QuitChoice::Quit; }
    std::optional<QString> askText(const QString&) override { return std::nullopt; }
};

struct NoDesktop : DesktopOpener {
    bool open(const QString&) override { return true; }
};

// The program with its window shown, the real clock, timer, generator and workbook service;
// messages and the desktop opener do nothing. Without a folder, a scratch folder of its own.
inline std::unique_ptr<Program> shownProgram(const QString& appFolder = {}) {
    // A folder of the benchmarks' own, so no run writes draw records where a user keeps files.
    static QTemporaryDir scratch;
    Services services = realServices(appFolder.isEmpty() ? scratch.path() : appFolder);
    services.messages = std::make_unique<SilentMessages>();
    services.opener = std::make_unique<NoDesktop>();
    auto program = std::make_unique<Program>(std::move(services));
    program->window().show();
    QCoreApplication::processEvents();
    return program;
}

// Names 名字1 .. 名字n, or with another stem.
inline QStringList names(int n, const QString& stem = QStringLiteral("名字")) {
    QStringList list;
    for (int i = 1; i <= n; ++i) {
        list << stem + QString::number(i);
    }
    return list;
}

// A button of the window by its name in the layout, e.g. "Command2(0)".
inline QPushButton* button(Program& program, const char* name) {
    return program.window().findChild<QPushButton*>(QString::fromUtf8(name));
}

}  // namespace sortilo::bench
