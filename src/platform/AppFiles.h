#pragma once

#include <QString>

namespace sortilo {

// The three files of the application folder. The program reads and writes them but never
// creates them.
inline const QString ImportWorkbookName = QStringLiteral("导入名单.xls");
inline const QString ExportWorkbookName = QStringLiteral("导出数据.xls");
inline const QString TitleDatabaseName = QStringLiteral("Sortibase.mdb");

inline QString appFilePath(const QString& appFolder, const QString& name) {
    return appFolder + QLatin1Char('/') + name;
}

}  // namespace sortilo
