#pragma once

#include "app/MainWindow.h"
#include "draw/DrawSession.h"
#include "platform/DesktopOpener.h"
#include "platform/MessageBox.h"
#include "platform/WorkbookService.h"
#include "record/FileJournal.h"
#include "titles/TitleEditing.h"

#include <QPointer>
#include <QSet>

#include <memory>

namespace sortilo {

// The outside world as the program sees it. Tests replace the message box, the opener, the
// clock, the timer, the random sources and the application folder; workbooks and the draw
// record stay real.
struct Services {
    std::unique_ptr<MessageBox> messages;
    std::unique_ptr<DesktopOpener> opener;
    std::unique_ptr<Clock> clock;
    std::unique_ptr<RandomSource> random;
    std::unique_ptr<DrawTimer> timer;
    std::unique_ptr<SecretSource> secrets = std::make_unique<SystemSecretSource>();
    QString appFolder;
};

// The real services for the program, working on the data folder `appFolder`
// (platform/DataFolder.h).
Services realServices(const QString& appFolder);

// The program: the services, the draw session, the title editing and the main window, wired
// together. Messages of the session and the title editing go to the message box; the window's
// workbook buttons reach the roster and the export through the workbook service.
class Program {
public:
    explicit Program(Services services);
    // The draw session's record is closed, its secret revealed, however the program ends.
    ~Program();

    MainWindow& window() { return window_; }
    DrawSession& session() { return session_; }
    Services& services() { return services_; }

    // The folder of the draw records.
    QString recordFolder() const;

private:
    void connectWorkbookButtons();
    void connectRecordCommands();
    void askForEntropy();
    void showDrawRecord();
    void exportGroups();
    // Whether the window may close: at once with every group exported, else as the operator
    // answers.
    bool mayQuit();
    // The sentence for a failure, shown where the operator's window is; nothing for a success.
    void tell(const Result<void>& outcome);
    void tell(const QString& message);
    // A question put to the operator; the focus goes back where it was, as after a message.
    template <typename Ask>
    auto asked(Ask ask) {
        const QPointer<QWidget> before = window_.focusWidget();
        auto answer = ask();
        window_.refocusAfterMessage(before);
        return answer;
    }
    // The desktop could not open a file or folder of the program's (it may say so a moment late).
    void tellNotShown(const QString& path);

    Services services_;
    WorkbookService workbooks_;
    record::FileJournal journal_;
    DrawSession session_;
    TitleEditing titles_;
    MainWindow window_;
    QSet<int> unexported_;  // groups recorded or changed since the last export
};

}  // namespace sortilo
