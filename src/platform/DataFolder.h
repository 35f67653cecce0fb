#pragma once

#include "base/Result.h"

#include <QString>

namespace sortilo {

// Where the program's three files (AppFiles.h) lie: one decision at start-up, and every path the
// program reads or writes is in the folder it names.
//   1. Portable: a file named "portable" beside the executable keeps the files beside it, so a
//      copied folder works wherever it is put.
//   2. SORTILO_DATA_DIR, when set, names the folder.
//   3. Installed: the user's documents folder + "/Sortilo".
// The last two are made when absent and given the files they lack from the installed templates.

inline const QString PortableMarkName = QStringLiteral("portable");
inline const QString DataFolderVariable = QStringLiteral("SORTILO_DATA_DIR");
inline const QString DocumentsSubfolderName = QStringLiteral("Sortilo");

// What the decision goes by.
struct DataFolderPlaces {
    QString programFolder;      // the folder of the executable
    bool portableMark = false;  // a file named "portable" lies in it
    QString namedFolder;        // SORTILO_DATA_DIR; empty when unset
    QString documentsFolder;    // the user's documents folder
};

struct DataFolder {
    QString path;
    bool portable = false;  // beside the program: used as it is, nothing is copied into it
};

DataFolder chooseDataFolder(const DataFolderPlaces& places);

// The places of this process: its executable, its environment, its user's documents folder.
DataFolderPlaces currentDataFolderPlaces();
DataFolder currentDataFolder();

// Makes a folder that is not portable when it is absent, and copies into it each of the three
// files it lacks from `templatesFolder`, writable for the user; a file already there is never
// touched, and a template that is not there is left out. A failure names the folder
// (ErrorKind::DataFolderNotMade).
Result<void> prepareDataFolder(const DataFolder& folder, const QString& templatesFolder);

}  // namespace sortilo
