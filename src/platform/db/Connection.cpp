#include "platform/db/Connection.h"

#include "platform/db/KeyDerivation.h"

#include <sqlcipher/sqlite3.h>

#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

#include <memory>
#include <utility>

namespace sortilo::db {

namespace {

// The engine keeps the salt of its key derivation in the first bytes of the file.
constexpr qint64 SaltBytes = 16;

struct StatementDeleter {
    void operator()(sqlite3_stmt* s) const { sqlite3_finalize(s); }
};
using Prepared = std::unique_ptr<sqlite3_stmt, StatementDeleter>;

QString quoted(QString text, QChar quote) {
    return quote + text.replace(quote, QString(2, quote)) + quote;
}

// A page key handed over ready-made (the engine derives nothing), or a passphrase the engine
// derives the page key from; none for a file without a key.
QByteArray keyPragma(const QByteArray& pageKey, const QString& passphrase) {
    if (!pageKey.isEmpty()) {
        return "PRAGMA key = \"x'" + pageKey.toHex() + "'\";";
    }
    if (passphrase.isEmpty()) {
        return {};
    }
    return (QStringLiteral("PRAGMA key = ") + quoted(passphrase, u'\'') + u';').toUtf8();
}

bool exec(sqlite3* db, const char* sql) {
    return sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

// Keys a fresh connection. SQLCipher 4 keys its own files differently; told to, it reads and
// writes those of SQLCipher 3, which the program keeps using, so that every build of the
// program opens every title database.
int key(sqlite3* db, const QByteArray& pragma) {
    if (pragma.isEmpty()) {
        return SQLITE_OK;
    }
    sqlite3_stmt* raw = nullptr;
    sqlite3_prepare_v2(db, "PRAGMA cipher_version;", -1, &raw, nullptr);
    const Prepared version(raw);
    const bool four = raw && sqlite3_step(raw) == SQLITE_ROW &&
                      QByteArray(reinterpret_cast<const char*>(sqlite3_column_text(raw, 0)))
                              .split('.')
                              .value(0)
                              .toInt() >= 4;
    const int rc = sqlite3_exec(db, pragma.constData(), nullptr, nullptr, nullptr);
    if (rc == SQLITE_OK && four) {
        return sqlite3_exec(db, "PRAGMA cipher_compatibility = 3;", nullptr, nullptr, nullptr);
    }
    return rc;
}

bool withoutWritePermission(const QString& path) {
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 && (st.st_mode & 0222) == 0;
}

// A file or folder without any write permission is read-only for every user (a write puts its
// journal beside the file). The system lets root write all the same; this program refuses it
// to everyone, as it refuses a read-only workbook.
bool isReadOnly(const QString& path) {
    return withoutWritePermission(path) || withoutWritePermission(QFileInfo(path).absolutePath());
}

QVariant columnValue(sqlite3_stmt* s, int i) {
    switch (sqlite3_column_type(s, i)) {
        case SQLITE_NULL:
            return {};
        case SQLITE_INTEGER:
            return QVariant(qlonglong(sqlite3_column_int64(s, i)));
        case SQLITE_FLOAT:
            return QVariant(sqlite3_column_double(s, i));
        case SQLITE_BLOB:
            return QByteArray(static_cast<const char*>(sqlite3_column_blob(s, i)),
                              sqlite3_column_bytes(s, i));
        default:
            return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(s, i)),
                                     sqlite3_column_bytes(s, i));
    }
}

void bindValue(sqlite3_stmt* s, int i, const QVariant& v) {
    if (v.isNull()) {
        sqlite3_bind_null(s, i);
    } else if (v.typeId() == QMetaType::LongLong || v.typeId() == QMetaType::Int) {
        sqlite3_bind_int64(s, i, v.toLongLong());
    } else {
        const QByteArray t = v.toString().toUtf8();
        sqlite3_bind_text(s, i, t.constData(), int(t.size()), SQLITE_TRANSIENT);
    }
}

// Opens the file with one way of keying it. The engine only finds out whether the key fits
// when it first reads a page; reading the schema here makes a wrong key an error of the open.
int openKeyed(const QString& path, bool readOnly, const QByteArray& pragma, sqlite3*& db) {
    const int flags = readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE;
    int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &db, flags, nullptr);
    if (rc == SQLITE_OK) {
        rc = key(db, pragma);
    }
    if (rc == SQLITE_OK) {
        rc = sqlite3_exec(db, "SELECT count(*) FROM sqlite_master;", nullptr, nullptr, nullptr);
    }
    return rc;
}

}  // namespace

Connection::Connection(sqlite3* db, QString path, bool readOnly)
    : db_(db), path_(std::move(path)), readOnly_(readOnly) {}

Connection::Connection(Connection&& other) noexcept
    : db_(std::exchange(other.db_, nullptr)),
      path_(std::move(other.path_)),
      readOnly_(other.readOnly_) {}

Connection::~Connection() {
    sqlite3_close_v2(db_);
}

Error Connection::failure(int code, bool writing) const {
    const QString text =
        db_ ? QString::fromUtf8(sqlite3_errmsg(db_)) : QString::fromUtf8(sqlite3_errstr(code));
    const int primary = code & 0xff;
    const ErrorKind kind = writing ? ErrorKind::DatabaseNotWritten
                           : primary == SQLITE_NOTADB || primary == SQLITE_CORRUPT
                               ? ErrorKind::NotADatabase
                               : ErrorKind::DatabaseUnreadable;
    return Error(kind, path_, text);
}

Result<Connection> Connection::open(const QString& path, const QString& passphrase) {
    const QFileInfo info(path);
    if (!info.exists()) {
        return Error(ErrorKind::DatabaseMissing, path);
    }
    // An empty file would pass for a new, empty database; a folder cannot hold one.
    QFile file(path);
    if (info.isDir() || info.size() < SaltBytes) {
        return Error(ErrorKind::NotADatabase, path, QStringLiteral("a folder, or too short"));
    }
    if (!file.open(QIODevice::ReadOnly)) {
        return Error(ErrorKind::DatabaseUnreadable, path, file.errorString());
    }
    const QByteArray salt = file.read(SaltBytes);
    const bool readOnly = isReadOnly(path);
    // Deriving the page key is slow; it is derived once per file and handed over ready-made.
    // A file keyed with other settings than SQLCipher 3's defaults: the engine derives.
    const QByteArray pageKey =
        passphrase.isEmpty() ? QByteArray() : cachedPageKey(passphrase, salt);
    sqlite3* db = nullptr;
    int rc = openKeyed(path, readOnly, keyPragma(pageKey, passphrase), db);
    if (((rc & 0xff) == SQLITE_NOTADB || (rc & 0xff) == SQLITE_CORRUPT) && !pageKey.isEmpty()) {
        sqlite3_close_v2(db);
        rc = openKeyed(path, readOnly, keyPragma({}, passphrase), db);
    }
    Connection connection(db, path, readOnly);
    if (rc != SQLITE_OK) {
        Error e = connection.failure(rc, false);
        if (e.kind == ErrorKind::NotADatabase) {
            e.detail = QStringLiteral("not a database, or keyed with another password");
        }
        return e;
    }
    return connection;
}

Result<QList<Row>> Connection::query(const QString& sql) const {
    const QByteArray text = sql.toUtf8();
    sqlite3_stmt* raw = nullptr;
    int rc = sqlite3_prepare_v2(db_, text.constData(), int(text.size()), &raw, nullptr);
    const Prepared statement(raw);
    if (rc != SQLITE_OK) {
        Error e = failure(rc, false);
        if (e.detail.contains(QLatin1String("no such table"))) {
            e.kind = ErrorKind::NoTable;
        }
        return e;
    }
    QList<Row> rows;
    const int n = sqlite3_column_count(raw);
    while ((rc = sqlite3_step(raw)) == SQLITE_ROW) {
        Row row;
        for (int i = 0; i < n; ++i) {
            row.append(columnValue(raw, i));
        }
        rows.append(std::move(row));
    }
    if (rc != SQLITE_DONE) {
        return failure(rc, false);
    }
    return rows;
}

Result<QStringList> Connection::columns(const QString& table) const {
    const Result<QList<Row>> info =
        query(QStringLiteral("PRAGMA table_info(%1);").arg(quoted(table, u'"')));
    if (!info) {
        return info.error();
    }
    QStringList names;
    for (const Row& column : *info) {
        names.append(column.value(1).toString());  // cid, name, type, ...
    }
    return names;
}

Result<void> Connection::writeAll(const QList<Statement>& statements) {
    if (readOnly_) {
        return Error(ErrorKind::DatabaseNotWritten, path_,
                     QStringLiteral("the file or its folder is read-only"));
    }
    // IMMEDIATE: a file someone else is writing is refused here, before any row is touched.
    const int rc = sqlite3_exec(db_, "BEGIN IMMEDIATE;", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) {
        return failure(rc, true);
    }
    Result<void> done = writeEach(statements);
    if (done && !exec(db_, "COMMIT;")) {
        done = failure(sqlite3_errcode(db_), true);
    }
    // A failed statement or commit may have ended the transaction already.
    if (!done && sqlite3_get_autocommit(db_) == 0) {
        exec(db_, "ROLLBACK;");
    }
    return done;
}

Result<void> Connection::writeEach(const QList<Statement>& statements) {
    for (const Statement& s : statements) {
        const QByteArray text = s.sql.toUtf8();
        sqlite3_stmt* raw = nullptr;
        int rc = sqlite3_prepare_v2(db_, text.constData(), int(text.size()), &raw, nullptr);
        const Prepared statement(raw);
        for (int i = 0; rc == SQLITE_OK && i < s.values.size(); ++i) {
            bindValue(raw, i + 1, s.values[i]);
        }
        rc = rc == SQLITE_OK ? sqlite3_step(raw) : rc;
        if (rc != SQLITE_DONE) {
            return failure(rc, true);
        }
        if (sqlite3_changes(db_) != 1) {
            return Error(ErrorKind::DatabaseNotWritten, path_,
                         QStringLiteral("a row read earlier is gone"));
        }
    }
    return {};
}

Result<void> createDatabase(const QString& path, const QString& passphrase,
                            const QStringList& statements) {
    const auto failed = [&](const QString& why) {
        return Error(ErrorKind::DatabaseNotWritten, path, why);
    };
    if (QFileInfo::exists(path)) {
        return failed(QStringLiteral("the file exists"));
    }
    const QString partial = path + QStringLiteral(".new");
    QFile::remove(partial);
    sqlite3* db = nullptr;
    int rc = sqlite3_open_v2(QFile::encodeName(partial).constData(), &db,
                             SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (rc == SQLITE_OK) {
        rc = key(db, keyPragma({}, passphrase));
    }
    const QByteArray script =
        (QStringLiteral("BEGIN;") + statements.join(u';') + QStringLiteral(";COMMIT;")).toUtf8();
    rc = rc == SQLITE_OK ? sqlite3_exec(db, script.constData(), nullptr, nullptr, nullptr) : rc;
    const QString why = QString::fromUtf8(sqlite3_errmsg(db));
    sqlite3_close_v2(db);
    // rename() never replaces an existing file, so a file that appeared meanwhile is kept.
    if (rc == SQLITE_OK && QFile::rename(partial, path)) {
        return {};
    }
    QFile::remove(partial);
    return failed(rc == SQLITE_OK ? QStringLiteral("the file exists") : why);
}

}  // namespace sortilo::db
