// Where the program's files lie: the portable folder, the folder SORTILO_DATA_DIR names, the
// user's documents folder; and a new data folder given the files it lacks from the templates.
#include "platform/AppFiles.h"
#include "platform/DataFolder.h"
#include "platform/ErrorMessage.h"
#include "platform/Texts.h"
#include "support/Files.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace sortilo;

namespace {

const QStringList FileNames = {ImportWorkbookName, ExportWorkbookName, TitleDatabaseName};

}  // namespace

class TestDataFolder : public QObject {
    Q_OBJECT

    QTemporaryDir root;
    QString templates;

    QString at(const QString& path) const { return root.filePath(path); }

private Q_SLOTS:
    void initTestCase() {
        templates = at(QStringLiteral("templates"));
        QVERIFY(QDir().mkpath(templates));
        for (const QString& name : FileNames) {
            const QString path = appFilePath(templates, name);
            QVERIFY(writeBytes(path, "template of " + name.toUtf8()));
            // Installed templates belong to root and are read-only for the user.
            QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup));
        }
    }

    void choice_data() {
        QTest::addColumn<bool>("portableMark");
        QTest::addColumn<QString>("named");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<bool>("portable");
        QTest::newRow("portable mark") << true << ""
                                       << "/opt/Sortilo" << true;
        QTest::newRow("the mark before the variable") << true << "/srv/draws"
                                                      << "/opt/Sortilo" << true;
        QTest::newRow("the variable") << false << "/srv/draws/"
                                      << "/srv/draws" << false;
        QTest::newRow("installed") << false << ""
                                   << "/home/li/文档/Sortilo" << false;
    }
    void choice() {
        QFETCH(bool, portableMark);
        QFETCH(QString, named);
        const DataFolder folder = chooseDataFolder(
            {QStringLiteral("/opt/Sortilo"), portableMark, named, QStringLiteral("/home/li/文档")});
        QTEST(folder.path, "expected");
        QTEST(folder.portable, "portable");
    }

    // A new folder gets every file; a folder in use keeps its own and gets only what it lacks.
    void filledFromTemplates() {
        const QString fresh = at(QStringLiteral("home/文档/Sortilo"));
        QVERIFY(prepareDataFolder({fresh, false}, templates));
        for (const QString& name : FileNames) {
            const QString copy = appFilePath(fresh, name);
            QCOMPARE(fileBytes(copy), fileBytes(appFilePath(templates, name)));
            QVERIFY(QFileInfo(copy).permissions() & QFile::WriteOwner);
        }
        const QString roster = appFilePath(fresh, ImportWorkbookName);
        QVERIFY(writeBytes(roster, "the user's roster"));
        QVERIFY(QFile::remove(appFilePath(fresh, TitleDatabaseName)));
        QVERIFY(prepareDataFolder({fresh, false}, templates));
        QCOMPARE(fileBytes(roster), QByteArray("the user's roster"));
        QVERIFY(QFileInfo::exists(appFilePath(fresh, TitleDatabaseName)));
    }

    // The portable folder is used as it is: what is missing there stays missing.
    void portableUntouched() {
        const QString folder = at(QStringLiteral("portable"));
        QVERIFY(prepareDataFolder({folder, true}, templates));
        QVERIFY(!QFileInfo::exists(folder));
    }

    void folderNotMade() {
        QVERIFY(writeBytes(at(QStringLiteral("a file")), "not a folder"));
        const QString folder = at(QStringLiteral("a file/Sortilo"));
        const Result<void> made = prepareDataFolder({folder, false}, templates);
        QVERIFY(!made);
        QCOMPARE(made.error().kind, ErrorKind::DataFolderNotMade);
        QCOMPARE(errorMessage(made.error()),
                 texts::DataFolderNotMade.arg(QDir::toNativeSeparators(folder)));
    }
};

QTEST_GUILESS_MAIN(TestDataFolder)
#include "TestDataFolder.moc"
