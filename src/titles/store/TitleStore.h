#pragma once

#include "base/Result.h"

#include <QString>
#include <QStringList>

#include <array>

namespace sortilo {

inline constexpr int TitleSetCount = 6;
inline constexpr int TitlesPerSet = 25;

// A stored set of group titles: its name and titles 1 to n (at most 25).
struct TitleSet {
    QString name;
    QStringList titles;
};
using TitleSets = std::array<TitleSet, TitleSetCount>;  // element 0 is set 1
// The names of sets 1 to 6 as the editor's name boxes hold them; element 0 is set 1.
using TitleSetNames = std::array<QString, TitleSetCount>;

// The database file of the title sets (the table 标题: a set's name, then its titles 1 to 25;
// its first six rows are sets 1 to 6), keyed with this password.
inline const QString TitleDatabasePassword = QStringLiteral("583104726,1");
QString titleDatabasePath(const QString& appFolder);

// Reads the six sets. A set's titles are those before its first empty or null column; a set
// whose name is empty has none. A null column that ends a set becomes a stored empty text where
// the file can be written; a file that cannot gives its sets all the same.
Result<TitleSets> loadTitleSets(const QString& appFolder);

// Writes the six sets (name, titles 1 to n, empty texts after them) into the six rows of the
// table, all in one transaction: on a failure the file is as it was.
Result<void> saveTitleSets(const QString& appFolder, const TitleSets& sets);

// Writes a new title database at path for a new application folder: six sets named 方案一 to
// 方案六, some with titles. Never replaces an existing file.
Result<void> createSampleTitleDatabase(const QString& path);

}  // namespace sortilo
