#include "platform/ProcessOpener.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>

namespace sortilo {

namespace {

const QString Opener = QStringLiteral("xdg-open");
// The opener runs as a job of a shell that waits for it and ends with its status. A process left
// running is killed when its QProcess goes; so only that shell is ever killed, never the opener.
const QString Watcher = QStringLiteral("xdg-open \"$1\" & wait $!");
// xdg-open finds the program for a file at once and fails as soon as it finds none; a failure
// after this long is the program it started ending badly, which the operator has seen already.
constexpr qint64 FailureWindowMs = 5000;

}  // namespace

ProcessOpener::~ProcessOpener() {
    for (QProcess* watch : watches_.findChildren<QProcess*>()) {
        watch->disconnect();
        watch->kill();
        watch->waitForFinished();
    }
}

bool ProcessOpener::open(const QString& path) {
    if (QStandardPaths::findExecutable(Opener).isEmpty()) {
        return false;
    }
    auto* watch = new QProcess(&watches_);
    watch->setProgram(QStringLiteral("/bin/sh"));
    watch->setArguments({QStringLiteral("-c"), Watcher, Opener, path});
    watch->setStandardInputFile(QProcess::nullDevice());
    // What the opener says about a failure is for whoever reads the program's own output.
    watch->setProcessChannelMode(QProcess::ForwardedChannels);
    QElapsedTimer started;
    started.start();
    QObject::connect(watch, &QProcess::finished, watch,
                     [this, watch, path, started](int code, QProcess::ExitStatus status) {
                         watch->deleteLater();
                         const bool failed = status != QProcess::NormalExit || code != 0;
                         if (failed && started.elapsed() < FailureWindowMs) {
                             reportLateFailure(path);
                         }
                     });
    watch->start();
    // Only the start is waited for: the fork and exec, not the opener's work.
    if (!watch->waitForStarted()) {
        delete watch;
        return false;
    }
    return true;
}

}  // namespace sortilo
