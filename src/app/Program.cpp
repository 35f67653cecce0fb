#include "app/Program.h"

#include "platform/AppFiles.h"
#include "platform/ErrorMessage.h"
#include "platform/ProcessOpener.h"
#include "platform/Texts.h"
#include "platform/widgets/QtServices.h"
#include "platform/widgets/QtTranslations.h"
#include "platform/widgets/Skin.h"
#include "results/Export.h"
#include "roster/Roster.h"

#include <QDir>
#include <QPointer>

namespace sortilo {

Services realServices(const QString& appFolder) {
    Services services;
    services.messages = std::make_unique<QtMessageBox>();
    services.opener = std::make_unique<ProcessOpener>();
    services.clock = std::make_unique<SystemClock>();
    services.random = std::make_unique<FoldingRandom>();
    services.timer = std::make_unique<QtDrawTimer>();
    services.appFolder = appFolder;
    return services;
}

Program::Program(Services services)
    : services_(std::move(services)),
      workbooks_(*services_.opener),
      journal_(recordFolder(), QStringLiteral(SORTILO_VERSION)),
      session_(*services_.timer, *services_.clock, *services_.random, *services_.secrets),
      titles_(session_, services_.appFolder),
      window_(session_, titles_) {
    installQtChineseTranslations();
    // A session a crash or a power loss left open is closed before a new one can start.
    if (QDir(recordFolder()).exists()) {
        if (const Result<int> closed = record::closeAbandonedRecords(recordFolder()); !closed) {
            Error error = closed.error();
            error.kind = ErrorKind::RecordNotClosed;
            tell(errorMessage(error));
        }
    }
    session_.keepRecord(&journal_);
    QObject::connect(&session_, &DrawSession::refused, &window_,
                     [this](const Error& error) { tell(errorMessage(error)); });
    QObject::connect(&titles_, &TitleEditing::message, &window_,
                     [this](const QString& message) { tell(message); });
    connectWorkbookButtons();
    connectRecordCommands();
    QObject::connect(&window_, &MainWindow::dataFolderRequested, &window_, [this] {
        if (!services_.opener->open(services_.appFolder)) {
            tellNotShown(services_.appFolder);
        }
    });
    services_.opener->onLateFailure([this](const QString& path) { tellNotShown(path); });
    // The skin goes onto the controls, so it comes after them.
    applySkin();
}

void Program::connectWorkbookButtons() {
    const QString& folder = services_.appFolder;
    QObject::connect(&window_, &MainWindow::importRequested, &window_, [this, &folder] {
        const Result<RosterImport> imported = importRoster(session_, workbooks_, folder);
        tell(imported ? importNotice(*imported) : errorMessage(imported.error()));
    });
    QObject::connect(&window_, &MainWindow::rosterEditRequested, &window_,
                     [this, &folder] { tell(editRoster(workbooks_, folder)); });
    QObject::connect(&window_, &MainWindow::exportRequested, &window_, [this] { exportGroups(); });
    QObject::connect(&session_, &DrawSession::groupRecorded, &window_,
                     [this](int number) { unexported_.insert(number); });
    QObject::connect(&session_, &DrawSession::groupRedrawn, &window_,
                     [this](int number) { unexported_.insert(number); });
    // A new session has no groups to export.
    QObject::connect(&session_, &DrawSession::sessionSealed, &window_,
                     [this] { unexported_.clear(); });
    window_.setCloseGuard([this] { return mayQuit(); });
}

// A saved export counts, whether or not the desktop could show it.
void Program::exportGroups() {
    const Result<void> done = exportResults(workbooks_, session_.model(), services_.appFolder);
    if (done || done.error().kind == ErrorKind::SavedNotShown) {
        unexported_.clear();
    }
    tell(done);
}

bool Program::mayQuit() {
    if (unexported_.isEmpty()) {
        return true;
    }
    const QString question = texts::QuitQuestion.arg(unexported_.size());
    switch (asked([&] { return services_.messages->askBeforeQuit(question); })) {
        case QuitChoice::Quit:
            return true;
        case QuitChoice::Cancel:
            return false;
        case QuitChoice::ExportAndQuit:
            exportGroups();
            return unexported_.isEmpty();
    }
    return false;
}

// Every way out (the window closed, Ctrl+Q, a termination signal) ends here. Nothing is asked on
// the way out: a record that cannot be closed now is closed at the next start.
Program::~Program() {
    services_.opener->onLateFailure({});
    session_.closeRecord(DrawSession::Quietly);
}

QString Program::recordFolder() const {
    return QDir(services_.appFolder).filePath(record::RecordFolderName);
}

void Program::connectRecordCommands() {
    QObject::connect(&window_, &MainWindow::entropyRequested, &window_,
                     [this] { askForEntropy(); });
    QObject::connect(&window_, &MainWindow::drawRecordRequested, &window_,
                     [this] { showDrawRecord(); });
    QObject::connect(&session_, &DrawSession::redrawAsked, &window_,
                     [this](int group, const QStringList& names, const QList<GroupPlace>& absent) {
                         // One arg() for all: a name holding "%3" is a name, not a place.
                         const QString question = texts::RedrawQuestion.arg(
                             QString::number(group), names.join(texts::NameSeparator),
                             QString::number(names.size()));
                         if (asked([&] { return services_.messages->confirm(question); })) {
                             session_.redrawAbsent(absent);
                         }
                     });
}

void Program::askForEntropy() {
    if (!session_.entropyAllowed()) {
        return;
    }
    const std::optional<QString> text =
        asked([this] { return services_.messages->askText(texts::EntropyPrompt); });
    // An empty text mixes in nothing: it would spend the room's one chance for nothing.
    if (text && !text->isEmpty()) {
        session_.addEntropy(*text);
    }
}

void Program::showDrawRecord() {
    const DrawModel& draw = session_.model();
    const QString record = journal_.recordPath();
    // One arg() for all: the room's text may hold "%5" and is still only text.
    tell(texts::DrawRecordSummary.arg(
        QString::fromLatin1(draw.commitment().toHex()),
        QString::fromLatin1(draw.rosterDigest().toHex()), QString::number(draw.roster().size()),
        draw.entropy().value_or(texts::EntropyNone), QString::number(draw.groupCount()),
        record.isEmpty() ? texts::NoRecord : QDir::toNativeSeparators(record)));
    // Before the first import there is no folder to show.
    if (QDir(recordFolder()).exists() && !services_.opener->open(recordFolder())) {
        tellNotShown(recordFolder());
    }
}

void Program::tell(const Result<void>& outcome) {
    if (!outcome) {
        tell(errorMessage(outcome.error()));
    }
}

void Program::tellNotShown(const QString& path) {
    // The same sentence as when the desktop refuses at once: the export's says the results are
    // saved all the same.
    ErrorKind kind = ErrorKind::NotShown;
    if (path == services_.appFolder || path == recordFolder()) {
        kind = ErrorKind::FolderNotShown;
    } else if (path == appFilePath(services_.appFolder, ExportWorkbookName)) {
        kind = ErrorKind::SavedNotShown;
    }
    tell(errorMessage(Error(kind, path)));
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
