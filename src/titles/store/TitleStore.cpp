#include "titles/store/TitleStore.h"

#include "platform/AppFiles.h"
#include "platform/db/Connection.h"

#include <algorithm>

namespace sortilo {

namespace {

// Name and titles 1 to 25: the columns the store reads and writes, by position.
constexpr int StoredColumns = TitlesPerSet + 1;
constexpr int CountColumn = TitlesPerSet + 1;
const QString TitleTable = QStringLiteral("标题");

using TitleSetTable = decltype(DrawState::titleSets);

// The table as every load and save begins with it: six rows of at least 26 columns, each row
// with its row id first, and the names of the columns.
struct Titles {
    db::Connection connection;
    QList<db::Row> rows;
    QStringList columns;
};

Result<Titles> readTitles(const QString& appFolder) {
    const QString path = titleDatabasePath(appFolder);
    Result<db::Connection> cn = db::Connection::open(path, TitleDatabasePassword);
    if (!cn) {
        return cn.error();
    }
    Result<QList<db::Row>> rows = cn->query(QStringLiteral("select _rowid_, * from 标题 "));
    const Result<QStringList> columns = cn->columns(TitleTable);
    if (!rows || !columns) {
        return rows ? columns.error() : rows.error();
    }
    if (rows->size() < TitleSets) {
        return Error(ErrorKind::TooFewRows, path);
    }
    if (columns->size() < StoredColumns) {
        return Error(ErrorKind::TooFewColumns, path);
    }
    return Titles{std::move(*cn), rows->mid(0, TitleSets), *columns};
}

QString quotedName(QString name) {
    return QLatin1Char('"') + name.replace(QLatin1Char('"'), QStringLiteral("\"\"")) +
           QLatin1Char('"');
}

// One row into set s; returns the column whose null ends the set, or -1. The count is the
// position of the first empty column less one, so an empty name gives -1.
int readRow(const db::Row& row, TitleSetTable& sets, int s) {
    for (int k = 0; k < StoredColumns; ++k) {
        const QVariant& value = row[k + 1];
        const QString text = value.toString();
        if (text.isEmpty()) {
            sets(s, CountColumn) = QString::number(k - 1);
            return value.isNull() ? k : -1;
        }
        if (k == TitlesPerSet) {
            sets(s, CountColumn) = QString::number(TitlesPerSet);
        }
        sets(s, k) = text;
    }
    return -1;
}

}  // namespace

QString titleDatabasePath(const QString& appFolder) {
    return appFilePath(appFolder, TitleDatabaseName);
}

int titleCount(const DrawState& state, int s) {
    bool ok = false;
    const int n = state.titleSets(s, CountColumn).toInt(&ok);
    return ok ? n : 0;
}

Result<void> loadTitleSets(DrawState& state, const QString& appFolder) {
    Result<Titles> titles = readTitles(appFolder);
    if (!titles) {
        return titles.error();
    }
    // Filled into a copy: the window's sets change only when the whole load went through.
    TitleSetTable sets = state.titleSets;
    QList<db::Statement> emptyTexts;
    for (int s = 1; s <= TitleSets; ++s) {
        const db::Row& row = titles->rows[s - 1];
        if (const int null = readRow(row, sets, s); null >= 0) {
            emptyTexts.append({QStringLiteral("UPDATE 标题 SET %1 = '' WHERE _rowid_ = ?")
                                   .arg(quotedName(titles->columns[null])),
                               {row[0]}});
        }
    }
    // The nulls become stored empty texts when the file takes them; a file that cannot be
    // written (read-only, held by another program) changes nothing and still gives its sets.
    if (!emptyTexts.isEmpty() && !titles->connection.readOnly()) {
        static_cast<void>(titles->connection.writeAll(emptyTexts));
    }
    state.titleSets = sets;
    return {};
}

Result<void> saveTitleSets(const DrawState& state, const QString& appFolder,
                           const TitleSetNames& names) {
    Result<Titles> titles = readTitles(appFolder);
    if (!titles) {
        return titles.error();
    }
    QStringList sets;
    for (int k = 0; k < StoredColumns; ++k) {
        sets.append(quotedName(titles->columns[k]) + QStringLiteral(" = ?"));
    }
    const QString update =
        QStringLiteral("UPDATE 标题 SET %1 WHERE _rowid_ = ?").arg(sets.join(QStringLiteral(", ")));
    QList<db::Statement> rows;
    for (int s = 1; s <= TitleSets; ++s) {
        const int n = std::clamp(titleCount(state, s), -1, TitlesPerSet);
        db::Row values{names[size_t(s - 1)]};
        for (int k = 1; k <= TitlesPerSet; ++k) {
            values.append(k <= n ? state.titleSets(s, k) : QString(QLatin1String("")));
        }
        values.append(titles->rows[s - 1][0]);
        rows.append({update, values});
    }
    return titles->connection.writeAll(rows);
}

void applyTitleSet(DrawState& state, int s) {
    setDefaultTitles(state);
    const int n = std::min(titleCount(state, s), TitlesPerSet);
    for (int j = 1; j <= n; ++j) {
        state.groupTitles(j) = state.titleSets(s, j);
    }
}

}  // namespace sortilo
