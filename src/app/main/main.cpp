#include "app/Program.h"
#include "platform/DataFolder.h"
#include "platform/ErrorMessage.h"
#include "platform/QuitOnSignals.h"
#include "platform/Texts.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QIcon>

#include <cstdio>

namespace {

// The name the desktop knows the program by: its .desktop file, its metainfo and its icon.
const QString AppId = QStringLiteral(SORTILO_APP_ID);

// The command line is read twice. Before the application object, for --help and --version,
// which answer without a window and without a display; after it, when Qt has taken out its own
// options (-platform, -style ...), to refuse anything else.
void describeCommandLine(QCommandLineParser& parser) {
    parser.setApplicationDescription(sortilo::texts::CommandLineDescription);
    parser.addHelpOption();
    parser.addVersionOption();
}

bool answeredWithoutWindow(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
    }
    QCommandLineParser parser;
    describeCommandLine(parser);
    (void)parser.parse(arguments);
    if (parser.isSet(QStringLiteral("version"))) {
        std::printf("%s %s\n", qPrintable(QCoreApplication::applicationName()),
                    qPrintable(QCoreApplication::applicationVersion()));
        return true;
    }
    if (parser.isSet(QStringLiteral("help"))) {
        // Without an application object Qt does not know the program's name yet.
        std::printf("%s",
                    qPrintable(parser.helpText().replace(QStringLiteral("<executable_name>"),
                                                         QCoreApplication::applicationName())));
        return true;
    }
    return false;
}

// The theme's icon when the desktop has one under the program's name, else the program's own.
QIcon programIcon() {
    QIcon own;
    const QStringList sizes = QDir(QStringLiteral(":/icons")).entryList(QDir::Dirs);
    for (const QString& size : sizes) {
        own.addFile(QStringLiteral(":/icons/%1/apps/%2.png").arg(size, AppId));
    }
    return QIcon::fromTheme(AppId, own);
}

// The installed templates of the data files, by where the executable lies.
QString templatesFolder() {
    return QDir(QCoreApplication::applicationDirPath())
        .filePath(QStringLiteral(SORTILO_TEMPLATES_FROM_PROGRAM));
}

}  // namespace

// The program is its main window: it starts by showing it and ends when it closes.
int main(int argc, char** argv) {
    QCoreApplication::setApplicationName(QStringLiteral("sortilo"));
    QCoreApplication::setApplicationVersion(QStringLiteral(SORTILO_VERSION));
    if (answeredWithoutWindow(argc, argv)) {
        return 0;
    }
    QApplication app(argc, argv);
    sortilo::quitOnTerminationSignals();
    QCommandLineParser parser;
    describeCommandLine(parser);
    parser.process(app);
    QGuiApplication::setDesktopFileName(AppId);
    QApplication::setWindowIcon(programIcon());

    const sortilo::DataFolder folder = sortilo::currentDataFolder();
    const sortilo::Result<void> folderReady = sortilo::prepareDataFolder(folder, templatesFolder());
    sortilo::Program program(sortilo::realServices(folder.path));
    program.window().centreOnScreen();
    program.window().show();
    if (!folderReady) {
        program.services().messages->show(sortilo::errorMessage(folderReady.error()));
    }
    return app.exec();
}
