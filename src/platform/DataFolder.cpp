#include "platform/DataFolder.h"

#include "platform/AppFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace sortilo {

DataFolder chooseDataFolder(const DataFolderPlaces& places) {
    if (places.portableMark) {
        return {places.programFolder, true};
    }
    if (!places.namedFolder.isEmpty()) {
        return {QDir::cleanPath(places.namedFolder), false};
    }
    return {QDir(places.documentsFolder).filePath(DocumentsSubfolderName), false};
}

DataFolderPlaces currentDataFolderPlaces() {
    DataFolderPlaces places;
    places.programFolder = QCoreApplication::applicationDirPath();
    places.portableMark = QFileInfo::exists(appFilePath(places.programFolder, PortableMarkName));
    const QString named = qEnvironmentVariable(qPrintable(DataFolderVariable));
    if (!named.isEmpty()) {
        places.namedFolder = QFileInfo(named).absoluteFilePath();
    }
    places.documentsFolder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return places;
}

DataFolder currentDataFolder() {
    return chooseDataFolder(currentDataFolderPlaces());
}

Result<void> prepareDataFolder(const DataFolder& folder, const QString& templatesFolder) {
    if (folder.portable) {
        return {};
    }
    if (!QDir().mkpath(folder.path)) {
        return Error(ErrorKind::DataFolderNotMade, folder.path, QStringLiteral("mkpath failed"));
    }
    for (const QString& name : {ImportWorkbookName, ExportWorkbookName, TitleDatabaseName}) {
        const QString target = appFilePath(folder.path, name);
        const QString source = appFilePath(templatesFolder, name);
        if (QFileInfo::exists(target) || !QFileInfo::exists(source)) {
            continue;
        }
        // A second copy of the program starting at the same moment may have made it meanwhile.
        if (!QFile::copy(source, target) && !QFileInfo::exists(target)) {
            return Error(ErrorKind::DataFolderNotMade, folder.path,
                         QStringLiteral("cannot copy %1 into it").arg(name));
        }
        // The templates belong to the system and may be read-only; the copies are the user's.
        QFile::setPermissions(target, QFile::permissions(target) | QFile::ReadOwner |
                                          QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
    }
    return {};
}

}  // namespace sortilo
