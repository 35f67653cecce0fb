// Where the program's files lie, and a new data folder given the files it lacks.
#include "platform/AppFiles.h"
#include "platform/DataFolder.h"
#include "platform/ErrorMessage.h"
#include "platform/Texts.h"
#include "support/Files.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace sortilo;

class TestDataFolder : public QObject {
    Q_OBJECT

    QTemporaryDir root;

private Q_SLOTS:
    void choice_data() {
        QTest::addColumn<bool>("portableMark");
        QTest::addColumn<QString>("named");
        QTest::addColumn<QString>("expected");
        QTest::newRow("portable, before the variable") << true << "/srv/draws"
                                                       << "/opt/Sortilo";
        QTest::newRow("the variable") << false << "/srv/draws/"
                                      << "/srv/draws";
        QTest::newRow("installed") << false << ""
                                   << "/home/li/文档/Sortilo";
    }
    void choice() {
        QFETCH(bool, portableMark);
        QFETCH(QString, named);
        const DataFolder folder =
            chooseDataFolder({"/opt/Sortilo", portableMark, named, "/home/li/文档"});
        QTEST(folder.path, "expected");
        QCOMPARE(folder.portable, portableMark);
    }

    // A new folder gets every template, writable; a folder in use gets only what it lacks; the
    // portable folder is used as it is.
    void filling() {
        const QString templates = root.filePath("templates"), mine = root.filePath("文档/Sortilo");
        QVERIFY(QDir().mkpath(templates));
        for (const QString& name : {ImportWorkbookName, ExportWorkbookName, TitleDatabaseName}) {
            QVERIFY(writeBytes(appFilePath(templates, name), name.toUtf8()));
            QVERIFY(QFile::setPermissions(appFilePath(templates, name), QFile::ReadOwner));
        }
        QVERIFY(prepareDataFolder({mine, false}, templates));
        const QString roster = appFilePath(mine, ImportWorkbookName);
        QCOMPARE(fileBytes(appFilePath(mine, TitleDatabaseName)), TitleDatabaseName.toUtf8());
        QVERIFY(QFileInfo(roster).permissions() & QFile::WriteOwner);
        QVERIFY(writeBytes(roster, "mine"));
        QVERIFY(QFile::remove(appFilePath(mine, TitleDatabaseName)));
        QVERIFY(prepareDataFolder({mine, false}, templates));
        QCOMPARE(fileBytes(roster), QByteArray("mine"));
        QVERIFY(QFile::exists(appFilePath(mine, TitleDatabaseName)));
        QVERIFY(prepareDataFolder({root.filePath("portable"), true}, templates));
        QVERIFY(!QFile::exists(root.filePath("portable")));
    }

    void folderNotMade() {
        QVERIFY(writeBytes(root.filePath("a file"), "not a folder"));
        const QString folder = root.filePath("a file/Sortilo");
        const Result<void> made = prepareDataFolder({folder, false}, root.path());
        QVERIFY(!made);
        QCOMPARE(errorMessage(made.error()), texts::DataFolderNotMade.arg(folder));
    }
};

QTEST_GUILESS_MAIN(TestDataFolder)
#include "TestDataFolder.moc"
