#pragma once

#include "base/Result.h"
#include "draw/engine/DrawState.h"

#include <QString>

#include <array>

namespace sortilo {

// The database file of the title sets (the table 标题: a set's name, then its titles 1 to 25;
// its first six rows are sets 1 to 6), keyed with this password.
inline const QString TitleDatabasePassword = QStringLiteral("583104726,1");
QString titleDatabasePath(const QString& appFolder);

// The names of sets 1 to 6 as the editor's name boxes hold them; element 0 is set 1.
using TitleSetNames = std::array<QString, TitleSets>;

// Reads the six sets into titleSets rows 1 to 6, each with its count in column 26: the titles
// up to the first empty or null column. A null column that ends a set becomes a stored empty
// text where the file can be written; a file that cannot gives its sets all the same. On a
// failure titleSets is as it was.
Result<void> loadTitleSets(DrawState& state, const QString& appFolder);

// Writes titleSets rows 1 to 6 (titles 1 to count, empty text after them) and the names into
// the six rows of the table, all in one transaction: on a failure the file is as it was.
Result<void> saveTitleSets(const DrawState& state, const QString& appFolder,
                           const TitleSetNames& names);

// Groups 1 to count of set s get its titles, all other groups their default titles.
void applyTitleSet(DrawState& state, int s);

// The count of set s (its column 26) as a number: 0 when it holds no number.
int titleCount(const DrawState& state, int s);

// Writes a new title database at path for a new application folder: six sets named 方案一 to
// 方案六, some with titles. Never replaces an existing file.
Result<void> createSampleTitleDatabase(const QString& path);

}  // namespace sortilo
