#include "SampleFiles.h"
#include "app/Program.h"
#include "platform/AppFiles.h"
#include "platform/ProcessOpener.h"
#include "platform/Texts.h"
#include "support/Fakes.h"

#include <QAction>
#include <QDir>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

using namespace sortilo;

// The desktop's opener as the program starts it, with a fake xdg-open first on the PATH. One that
// starts but fails at once is reported as a desktop that cannot open the file, with its full
// path; one that opens it, or keeps running, says nothing and holds up nothing.
class TestDesktopOpening : public QObject {
    Q_OBJECT

    QTemporaryDir bin;
    QTemporaryDir folder;
    test::RecordingMessageBox* messages = nullptr;
    std::unique_ptr<Program> program;
    QString fullPath(const QString& name) {
        return QDir::toNativeSeparators(QDir(folder.path()).absoluteFilePath(name));
    }

private Q_SLOTS:
    void initTestCase() {
        qputenv("PATH", QFile::encodeName(bin.path()) + ':' + qgetenv("PATH"));
        QCOMPARE(writeSampleFiles(folder.path()), QStringList{});
        Services services;
        services.messages.reset(messages = new test::RecordingMessageBox);
        services.opener = std::make_unique<ProcessOpener>();
        services.timer = std::make_unique<test::HandTimer>();
        services.clock = std::make_unique<test::FixedClock>();
        services.random = std::make_unique<FoldingRandom>(1);
        services.appFolder = folder.path();
        program = std::make_unique<Program>(std::move(services));
    }
    // An opener still running outlives the program, as the spreadsheet program it started would.
    void cleanupTestCase() {
        program.reset();
        QFile running(bin.filePath(QStringLiteral("xdg-open.pid")));
        QVERIFY(running.open(QIODevice::ReadOnly));
        QCOMPARE(::kill(running.readAll().trimmed().toInt(), SIGKILL), 0);
    }

    void openerOutcome_data() {
        QTest::addColumn<QByteArray>("script");
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("message");  // none: nothing is said
        const QString roster = fullPath(ImportWorkbookName);
        QTest::newRow("roster, fails")
            << QByteArray("exit 4") << "Command6(0)" << texts::WorkbookNotShown.arg(roster);
        QTest::newRow("export, fails") << QByteArray("exit 3") << "Command9"
                                       << texts::ExportNotShown.arg(fullPath(ExportWorkbookName));
        QTest::newRow("data folder, fails") << QByteArray("exit 4") << "openDataFolderCommand"
                                            << texts::DataFolderNotShown.arg(fullPath(""));
        QTest::newRow("opens") << QByteArray("exit 0") << "Command6(0)" << QString();
        QTest::newRow("keeps running")
            << QByteArray("echo $$ > \"$0.pid\"; exec sleep 60") << "Command6(0)" << QString();
    }
    void openerOutcome() {
        QFETCH(QByteArray, script);
        QFETCH(QString, command);
        QFETCH(QString, message);
        QFile opener(bin.filePath(QStringLiteral("xdg-open")));
        QVERIFY(opener.open(QIODevice::WriteOnly | QIODevice::Truncate));
        opener.write("#!/bin/sh\n" + script + '\n');
        opener.close();
        QVERIFY(opener.setPermissions(opener.permissions() | QFileDevice::ExeOwner));
        messages->shown.clear();
        QElapsedTimer clock;
        clock.start();
        if (auto* button = program->window().findChild<QPushButton*>(command)) {
            button->click();
        } else {
            program->window().findChild<QAction*>(command)->trigger();
        }
        QVERIFY(clock.elapsed() < 5000);  // the window is not held up while the opener runs
        if (message.isEmpty()) {
            // A desktop that cannot open the file says so in moments; a second is ample.
            QVERIFY(!QTest::qWaitFor([this] { return !messages->shown.isEmpty(); }, 1000));
        } else {
            QTRY_COMPARE(messages->shown, QStringList{message});
        }
    }
};

QTEST_MAIN(TestDesktopOpening)
#include "TestDesktopOpening.moc"
