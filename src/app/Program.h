#pragma once

#include "app/MainWindow.h"
#include "draw/DrawSession.h"
#include "platform/DesktopOpener.h"
#include "platform/MessageBox.h"
#include "platform/WorkbookService.h"
#include "titles/TitleEditing.h"

#include <memory>

namespace sortilo {

// The outside world as the program sees it. Tests replace the message box, the opener, the
// clock, the timer, the random source and the application folder; workbooks stay real.
struct Services {
    std::unique_ptr<MessageBox> messages;
    std::unique_ptr<DesktopOpener> opener;
    std::unique_ptr<Clock> clock;
    std::unique_ptr<RandomSource> random;
    std::unique_ptr<DrawTimer> timer;
    QString appFolder;
};

// The real services for the program, working on the data folder (platform/DataFolder.h).
Services realServices();

// The program: the services, the draw session, the title editing and the main window, wired
// together. Messages of the session and the title editing go to the message box; the window's
// workbook buttons reach the roster and the export through the workbook service.
class Program {
public:
    explicit Program(Services services);

    MainWindow& window() { return window_; }
    DrawSession& session() { return session_; }
    Services& services() { return services_; }

private:
    void connectWorkbookButtons();
    void tell(const QString& message);

    Services services_;
    WorkbookService workbooks_;
    DrawSession session_;
    TitleEditing titles_;
    MainWindow window_;
};

}  // namespace sortilo
