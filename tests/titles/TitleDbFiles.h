#pragma once

// Real title databases for tests: made by the sqlcipher shell and read back with the engine's
// own calls, not through the layer under test.

#include "support/Files.h"
#include "support/TestData.h"

#include <sqlcipher/sqlite3.h>

#include <QFile>
#include <QList>
#include <QString>
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

// Copies a title database of tests/data/titles (made by make/make_titles.py with the sqlcipher
// shell) to `path`.
inline bool copyTitleDb(const QString& name, const QString& path) {
    return QFile::copy(test::testData("titles/" + name), path);
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
