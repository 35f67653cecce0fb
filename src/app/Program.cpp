#include "app/Program.h"

#include "platform/DataFolder.h"
#include "platform/ErrorMessage.h"
#include "platform/widgets/QtServices.h"
#include "platform/widgets/QtTranslations.h"
#include "platform/widgets/Skin.h"
#include "results/Export.h"
#include "roster/Roster.h"

#include <QPointer>

namespace sortilo {

Services realServices() {
    Services services;
    services.messages = std::make_unique<QtMessageBox>();
    services.opener = std::make_unique<QtDesktopOpener>();
    services.clock = std::make_unique<SystemClock>();
    services.random = std::make_unique<FoldingRandom>();
    services.timer = std::make_unique<QtDrawTimer>();
    services.appFolder = currentDataFolder().path;
    return services;
}

Program::Program(Services services)
    : services_(std::move(services)),
      workbooks_(*services_.opener),
      session_(*services_.timer, *services_.clock, *services_.random),
      titles_(session_, services_.appFolder),
      window_(session_, titles_) {
    installQtChineseTranslations();
    QObject::connect(&session_, &DrawSession::refused, &window_,
                     [this](const QString& message) { tell(message); });
    QObject::connect(&titles_, &TitleEditing::message, &window_,
                     [this](const QString& message) { tell(message); });
    connectWorkbookButtons();
    QObject::connect(&window_, &MainWindow::dataFolderRequested, &window_, [this] {
        if (!services_.opener->open(services_.appFolder)) {
            tell(errorMessage(Error(ErrorKind::FolderNotShown, services_.appFolder)));
        }
    });
    // The skin goes onto the controls, so it comes after them.
    applySkin();
}

void Program::connectWorkbookButtons() {
    const QString& folder = services_.appFolder;
    QObject::connect(&window_, &MainWindow::importRequested, &window_,
                     [this, &folder] { tell(importRoster(session_, workbooks_, folder)); });
    QObject::connect(&window_, &MainWindow::rosterEditRequested, &window_,
                     [this, &folder] { tell(editRoster(workbooks_, folder)); });
    QObject::connect(&window_, &MainWindow::exportRequested, &window_, [this, &folder] {
        tell(exportResults(workbooks_, session_.state(), folder));
    });
}

void Program::tell(const QString& message) {
    if (message.isEmpty()) {
        return;
    }
    const QPointer<QWidget> before = window_.focusWidget();
    services_.messages->show(message);
    window_.refocusAfterMessage(before);
}

}  // namespace sortilo
