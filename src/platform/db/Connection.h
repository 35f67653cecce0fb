#pragma once

#include "platform/db/DbError.h"

#include <QString>

struct sqlite3;

namespace sortilo::db {

// The parts of a connection string the database layer uses. Attributes are "name=value" pairs
// separated by ';'; names are case-insensitive; a value may be quoted with " or '.
struct ConnectionAttributes {
    QString dataSource;        // "data source"
    QString databasePassword;  // "Jet OLEDB:Database password": the key of the file
};

// Parses a connection string. A part without '=' continues the value before it, so a data
// source whose folder name holds ';' still reads as one path. Empty data source: an error.
DbError parseConnectionString(const QString& text, ConnectionAttributes& out);

// One open database file, like the Connection object of the program's database access layer.
// Open never creates a file: the data source must be an existing database keyed with the
// password of the connection string.
class Connection {
public:
    Connection() = default;
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // userId, password and options are those of the access layer's call: user-level security
    // is not used, the database password travels in the connection string.
    DbError Open(const QString& connectionString, const QString& userId = {},
                 const QString& password = {}, int options = -1);
    void Close();

    bool isOpen() const { return db_ != nullptr; }
    sqlite3* handle() const { return db_; }
    const QString& dataSource() const { return path_; }

private:
    DbError openKeyed(const QString& path, const QByteArray& keyPragma);

    sqlite3* db_ = nullptr;
    QString path_;
};

// Maps an engine result code with its message to a problem of the caller's terms.
DbError errorFromEngine(int code, sqlite3* db, DbProblem otherwise);

namespace testing {
// Makes every following Open use a read-only connection, as the engine does by itself for a
// file its user may not write. Tests run with rights that ignore permission bits.
void setOpenReadOnly(bool readOnly);
}  // namespace testing

// Writes a new database keyed with password and runs statements in it, for the sample files
// and tests: the program itself never creates its database. Refuses when path exists; the file
// appears complete or not at all.
DbError createDatabase(const QString& path, const QString& password, const QStringList& statements);

}  // namespace sortilo::db
