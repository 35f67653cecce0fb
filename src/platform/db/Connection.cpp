#include "platform/db/Connection.h"

#include "platform/db/KeyDerivation.h"

#include <sqlcipher/sqlite3.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <sys/stat.h>

namespace sortilo::db {

namespace {

bool openReadOnly = false;
// The engine keeps the salt of its key derivation in the first bytes of the file.
constexpr qint64 SaltBytes = 16;

QString unquote(const QString& value) {
    const QString v = value.trimmed();
    if (v.size() >= 2 && (v.front() == u'"' || v.front() == u'\'') && v.back() == v.front()) {
        const QString quote(v.front());
        return v.mid(1, v.size() - 2).replace(quote + quote, quote);
    }
    return v;
}

// A page key handed over ready-made: the engine derives nothing.
QByteArray rawKeyPragma(const QByteArray& pageKey) {
    return "PRAGMA key = \"x'" + pageKey.toHex() + "'\";";
}

// A passphrase as one quoted SQL literal: the engine derives the page key itself.
QByteArray keyPragma(const QString& key) {
    QString quoted = key;
    quoted.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QStringLiteral("PRAGMA key = '%1';").arg(quoted).toUtf8();
}

DbError exec(sqlite3* db, const char* sql, DbProblem otherwise) {
    const int rc = sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
    return rc == SQLITE_OK ? DbError{} : errorFromEngine(rc, db, otherwise);
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

}  // namespace

DbError parseConnectionString(const QString& text, ConnectionAttributes& out) {
    out = {};
    QString* last = nullptr;
    for (const QString& part : text.split(QLatin1Char(';'))) {
        const qsizetype eq = part.indexOf(QLatin1Char('='));
        if (eq < 0) {
            if (last != nullptr && !part.isEmpty()) {
                *last += QLatin1Char(';') + part;
            }
            continue;
        }
        const QString name = part.left(eq).trimmed().toLower();
        last = nullptr;
        if (name == QLatin1String("data source")) {
            last = &out.dataSource;
        } else if (name == QLatin1String("jet oledb:database password")) {
            last = &out.databasePassword;
        }
        if (last != nullptr) {
            *last = part.mid(eq + 1);
        }
    }
    out.dataSource = unquote(out.dataSource);
    out.databasePassword = unquote(out.databasePassword);
    if (out.dataSource.isEmpty()) {
        return {DbProblem::BadConnectionString, QStringLiteral("no data source")};
    }
    return {};
}

DbError errorFromEngine(int code, sqlite3* db, DbProblem otherwise) {
    const QString text = db != nullptr ? QString::fromUtf8(sqlite3_errmsg(db))
                                       : QString::fromUtf8(sqlite3_errstr(code));
    switch (code & 0xff) {
        case SQLITE_BUSY:
        case SQLITE_LOCKED:
            return {DbProblem::Locked, text};
        case SQLITE_READONLY:
            return {DbProblem::ReadOnly, text};
        case SQLITE_NOTADB:
        case SQLITE_CORRUPT:
            return {DbProblem::NotADatabase, text};
        case SQLITE_CANTOPEN:
        case SQLITE_PERM:
            return {DbProblem::Unreadable, text};
        default:
            return {otherwise, text};
    }
}

Connection::~Connection() {
    Close();
}

DbError Connection::Open(const QString& connectionString, const QString& /*userId*/,
                         const QString& /*password*/, int /*options*/) {
    Close();
    ConnectionAttributes attributes;
    if (DbError e = parseConnectionString(connectionString, attributes)) {
        return e;
    }
    const QFileInfo info(attributes.dataSource);
    if (!info.exists()) {
        return {DbProblem::Missing, QDir::toNativeSeparators(attributes.dataSource)};
    }
    // An empty file would pass for a new, empty database; a folder cannot hold one.
    if (info.isDir() || info.size() == 0) {
        return {DbProblem::NotADatabase,
                info.isDir() ? QStringLiteral("a folder") : QStringLiteral("an empty file")};
    }
    QFile file(attributes.dataSource);
    if (!file.open(QIODevice::ReadOnly)) {
        return {DbProblem::Unreadable, file.errorString()};
    }
    const QByteArray salt = file.read(SaltBytes);
    file.close();
    if (salt.size() < SaltBytes) {
        return {DbProblem::NotADatabase, QStringLiteral("too short")};
    }
    const QString& key = attributes.databasePassword;
    if (key.isEmpty()) {
        return openKeyed(attributes.dataSource, QByteArray());
    }
    DbError e = openKeyed(attributes.dataSource, rawKeyPragma(cachedPageKey(key, salt)));
    // A file keyed with other settings than the engine's defaults: let the engine derive.
    if (e.problem == DbProblem::NotADatabase) {
        e = openKeyed(attributes.dataSource, keyPragma(key));
    }
    return e;
}

// The engine only finds out whether the key fits when it first reads a page; reading the
// schema here turns a wrong key into an error of Open rather than of some later call.
DbError Connection::openKeyed(const QString& path, const QByteArray& pragma) {
    Close();
    const bool readOnly = openReadOnly || isReadOnly(path);
    const int flags = readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE;
    const int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &db_, flags, nullptr);
    path_ = path;
    DbError e = rc == SQLITE_OK ? DbError{} : errorFromEngine(rc, db_, DbProblem::Unreadable);
    if (!e && !pragma.isEmpty()) {
        e = exec(db_, pragma.constData(), DbProblem::NotADatabase);
    }
    if (!e) {
        e = exec(db_, "SELECT count(*) FROM sqlite_master;", DbProblem::Unreadable);
    }
    if (e.problem == DbProblem::NotADatabase) {
        e.detail = QStringLiteral("not a database, or keyed with another password");
    }
    if (e) {
        Close();
    }
    return e;
}

void Connection::Close() {
    if (db_ != nullptr) {
        sqlite3_close_v2(db_);
        db_ = nullptr;
    }
}

namespace testing {
void setOpenReadOnly(bool readOnly) {
    openReadOnly = readOnly;
}
}  // namespace testing

DbError createDatabase(const QString& path, const QString& password,
                       const QStringList& statements) {
    if (QFileInfo::exists(path)) {
        return {DbProblem::Exists, QDir::toNativeSeparators(path)};
    }
    const QString partial = path + QStringLiteral(".new");
    QFile::remove(partial);
    sqlite3* db = nullptr;
    int rc = sqlite3_open_v2(QFile::encodeName(partial).constData(), &db,
                             SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    DbError e = rc == SQLITE_OK ? DbError{} : errorFromEngine(rc, db, DbProblem::WriteFailed);
    if (!e && !password.isEmpty()) {
        e = exec(db, keyPragma(password).constData(), DbProblem::WriteFailed);
    }
    if (!e) {
        const QByteArray script = (QStringLiteral("BEGIN;") + statements.join(QLatin1Char(';')) +
                                   QStringLiteral(";COMMIT;"))
                                      .toUtf8();
        e = exec(db, script.constData(), DbProblem::WriteFailed);
    }
    sqlite3_close_v2(db);
    // rename() never replaces an existing file, so a file that appeared meanwhile is kept.
    if (!e && !QFile::rename(partial, path)) {
        e = {DbProblem::Exists, QDir::toNativeSeparators(path)};
    }
    if (e) {
        QFile::remove(partial);
    }
    return e;
}

}  // namespace sortilo::db
