#pragma once

// Real title databases for tests: written and read back with the engine's own calls, not
// through the layer under test.

#include "platform/db/Connection.h"
#include "support/Files.h"

#include <sqlcipher/sqlite3.h>

#include <QFile>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace sortilo::testfiles {

using Rows = QList<QList<QVariant>>;

inline const QString Password = QStringLiteral("583104726,1");

// Keys a connection of the test's own as the program keys its: SQLCipher 4 is told to read and
// write SQLCipher 3's format (SQLCipher 3 ignores the pragma).
inline void keyConnection(sqlite3* db, const QByteArray& keyPragma) {
    sqlite3_exec(db, keyPragma.constData(), nullptr, nullptr, nullptr);
    sqlite3_exec(db, "PRAGMA cipher_compatibility = 3;", nullptr, nullptr, nullptr);
}

inline QString sqlLiteral(const QVariant& v) {
    if (v.isNull()) {
        return QStringLiteral("NULL");
    }
    QString t = v.toString();
    t.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QLatin1Char('\'') + t + QLatin1Char('\'');
}

// The table 标题 with `columns` text columns; cells a row does not give are NULL.
inline QString makeTitleDb(const QString& path, const Rows& rows, int columns = 26,
                           const QString& password = Password,
                           const QStringList& extraStatements = {}) {
    QStringList names;
    for (int c = 0; c < columns; ++c) {
        names.append(QStringLiteral("c%1 TEXT").arg(c));
    }
    QStringList statements{
        QStringLiteral("CREATE TABLE 标题 (%1)").arg(names.join(QStringLiteral(", ")))};
    for (const QList<QVariant>& row : rows) {
        QStringList values;
        for (int c = 0; c < columns; ++c) {
            values.append(sqlLiteral(c < row.size() ? row[c] : QVariant()));
        }
        statements.append(
            QStringLiteral("INSERT INTO 标题 VALUES (%1)").arg(values.join(QStringLiteral(", "))));
    }
    statements.append(extraStatements);
    const Result<void> made = db::createDatabase(path, password, statements);
    return made ? QString() : made.error().detail;
}

// Every row of 标题 in rowid order, NULL as a null QVariant.
inline Rows readTitleDb(const QString& path, const QString& password = Password) {
    Rows rows;
    sqlite3* db = nullptr;
    sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    keyConnection(db, QStringLiteral("PRAGMA key = '%1';").arg(password).toUtf8());
    sqlite3_stmt* s = nullptr;
    sqlite3_prepare_v2(db, "SELECT * FROM 标题 ORDER BY rowid", -1, &s, nullptr);
    while (s != nullptr && sqlite3_step(s) == SQLITE_ROW) {
        QList<QVariant> row;
        for (int c = 0; c < sqlite3_column_count(s); ++c) {
            row.append(sqlite3_column_type(s, c) == SQLITE_NULL
                           ? QVariant()
                           : QVariant(QString::fromUtf8(
                                 reinterpret_cast<const char*>(sqlite3_column_text(s, c)))));
        }
        rows.append(row);
    }
    sqlite3_finalize(s);
    sqlite3_close_v2(db);
    return rows;
}

// A second program holding the file: "BEGIN IMMEDIATE" keeps others from starting to write,
// a read transaction keeps them from finishing a write.
struct OtherConnection {
    OtherConnection(const QString& path, const char* sql) {
        sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
        keyConnection(db, QStringLiteral("PRAGMA key = '%1';").arg(Password).toUtf8());
        ok = sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
    }
    ~OtherConnection() {
        sqlite3_exec(db, "ROLLBACK;", nullptr, nullptr, nullptr);
        sqlite3_close_v2(db);
    }
    OtherConnection(const OtherConnection&) = delete;
    OtherConnection& operator=(const OtherConnection&) = delete;
    sqlite3* db = nullptr;
    bool ok = false;
};

}  // namespace sortilo::testfiles
