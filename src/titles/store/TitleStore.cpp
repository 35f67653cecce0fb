#include "titles/store/TitleStore.h"

#include "platform/AppFiles.h"
#include "platform/db/Connection.h"

namespace sortilo {

namespace {

// Name and titles 1 to 25: the columns the store reads and writes, by position.
constexpr int StoredColumns = TitlesPerSet + 1;
const QString TitleTable = QStringLiteral("标题");

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
    if (rows->size() < TitleSetCount) {
        return Error(ErrorKind::TooFewRows, path);
    }
    if (columns->size() < StoredColumns) {
        return Error(ErrorKind::TooFewColumns, path);
    }
    return Titles{std::move(*cn), rows->mid(0, TitleSetCount), *columns};
}

QString quotedName(QString name) {
    return QLatin1Char('"') + name.replace(QLatin1Char('"'), QStringLiteral("\"\"")) +
           QLatin1Char('"');
}

// A set read from its row (the row id first): the columns up to the first empty one. Returns the
// column whose null ends the set, or -1.
int readRow(const db::Row& row, TitleSet& set) {
    set = {};
    for (int k = 0; k < StoredColumns; ++k) {
        const QVariant& value = row[k + 1];
        const QString text = value.toString();
        if (text.isEmpty()) {
            return value.isNull() ? k : -1;
        }
        if (k == 0) {
            set.name = text;
        } else {
            set.titles << text;
        }
    }
    return -1;
}

}  // namespace

QString titleDatabasePath(const QString& appFolder) {
    return appFilePath(appFolder, TitleDatabaseName);
}

Result<TitleSets> loadTitleSets(const QString& appFolder) {
    Result<Titles> titles = readTitles(appFolder);
    if (!titles) {
        return titles.error();
    }
    TitleSets sets;
    QList<db::Statement> emptyTexts;
    for (int s = 0; s < TitleSetCount; ++s) {
        const db::Row& row = titles->rows[s];
        if (const int null = readRow(row, sets[static_cast<size_t>(s)]); null >= 0) {
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
    return sets;
}

Result<void> saveTitleSets(const QString& appFolder, const TitleSets& sets) {
    Result<Titles> titles = readTitles(appFolder);
    if (!titles) {
        return titles.error();
    }
    QStringList assignments;
    for (int k = 0; k < StoredColumns; ++k) {
        assignments.append(quotedName(titles->columns[k]) + QStringLiteral(" = ?"));
    }
    const QString update = QStringLiteral("UPDATE 标题 SET %1 WHERE _rowid_ = ?")
                               .arg(assignments.join(QStringLiteral(", ")));
    QList<db::Statement> rows;
    for (int s = 0; s < TitleSetCount; ++s) {
        const TitleSet& set = sets[static_cast<size_t>(s)];
        db::Row values{set.name};
        for (int k = 0; k < TitlesPerSet; ++k) {
            values.append(k < set.titles.size() ? set.titles[k] : QString(QLatin1String("")));
        }
        values.append(titles->rows[s][0]);
        rows.append({update, values});
    }
    return titles->connection.writeAll(rows);
}

}  // namespace sortilo
