#pragma once

#include "draw/engine/DrawState.h"

#include <QString>

#include <array>

namespace sortilo {

// The database file of the title sets and how it is reached: the file is keyed with this
// password.
inline const QString TitleDatabasePassword = QStringLiteral("583104726,1");
QString TitleDatabasePath(const QString& appFolder);
QString TitleConnectionString(const QString& appFolder);

// Why a load or save of the title sets did not happen. Whatever the problem, titleSets and the
// file are as they were before the call.
enum class TitleStoreProblem {
    None,
    Missing,        // no file
    Unreadable,     // cannot be opened or read
    NotOpened,      // not a database, or keyed with another password
    NoTable,        // no table 标题
    TooFewRows,     // fewer than six rows
    TooFewColumns,  // fewer than 26 columns
    NotWritten,     // the database refused the write
};

struct TitleStoreError {
    TitleStoreProblem problem = TitleStoreProblem::None;
    QString path;    // the database file
    QString detail;  // the engine's own words, for the curious; not shown to the operator

    explicit operator bool() const { return problem != TitleStoreProblem::None; }
    // The message for the operator: names the file and the problem.
    QString message() const;
};

// The names of sets 1 to 6 as the editor's name boxes hold them; element 0 is set 1.
using TitleSetNames = std::array<QString, TitleSets>;

// Reads rows 1 to 6 of the table into titleSets rows 1 to 6, with each set's count in column 26.
// The first null column of a row becomes a stored empty text.
TitleStoreError LoadTitleSets(DrawState& state, const QString& appFolder);

// Writes titleSets rows 1 to 6 (titles 1 to count, empty text after them) and the names into
// the six rows of the table, all in one transaction.
TitleStoreError SaveTitleSets(const DrawState& state, const QString& appFolder,
                              const TitleSetNames& names);

// Groups 1 to count of set s get its titles, all other groups their default titles.
void ApplyTitleSet(DrawState& state, int s);

// The count of set s (its column 26) as a number: 0 when it holds no number.
int titleCount(const DrawState& state, int s);

// Writes a new title database at path for a new application folder: six sets named 方案一 to
// 方案六, some with titles. Never replaces an existing file; an empty text when it succeeded or
// was not needed, else what went wrong.
QString createSampleTitleDatabase(const QString& path);

}  // namespace sortilo
