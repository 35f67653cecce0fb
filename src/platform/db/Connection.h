#pragma once

#include "base/Result.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

struct sqlite3;

namespace sortilo::db {

using Row = QList<QVariant>;  // values by position; a column without a value is a null QVariant

struct Statement {
    QString sql;
    Row values;  // bound to its ?s in order
};

// One open database file, keyed with its passphrase: SQLCipher, in the format of SQLCipher 3
// (PBKDF2-SHA1 with 64000 iterations, HMAC-SHA1, 1024-byte pages) whichever SQLCipher the
// program runs with. Every error names the file.
class Connection {
public:
    // Opens an existing database file; never creates one. The connection is read-only when the
    // file or its folder has no write permission at all, for every user, root too.
    static Result<Connection> open(const QString& path, const QString& key);
    Connection(Connection&& other) noexcept;
    Connection& operator=(Connection&&) = delete;
    ~Connection();

    bool readOnly() const { return readOnly_; }
    // Every row of a query.
    Result<QList<Row>> query(const QString& sql) const;
    // The names of a table's columns in their order.
    Result<QStringList> columns(const QString& table) const;
    // Runs the statements in one transaction: all of them reach the file or none does. Each
    // must change exactly one row.
    Result<void> writeAll(const QList<Statement>& statements);

private:
    Connection(sqlite3* db, QString path, bool readOnly);
    Error failure(int code, bool writing) const;
    Result<void> writeEach(const QList<Statement>& statements);

    sqlite3* db_ = nullptr;
    QString path_;
    bool readOnly_ = false;
};

// Writes a new database keyed with `key` and runs statements in it, for the sample files and
// tests: the program itself never creates its database. Refuses when path exists; the file
// appears complete or not at all.
Result<void> createDatabase(const QString& path, const QString& key, const QStringList& statements);

}  // namespace sortilo::db
