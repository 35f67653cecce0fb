#pragma once

#include <QByteArray>
#include <QString>

namespace sortilo::db {

// PBKDF2 with HMAC-SHA1 (RFC 8018), as the database engine derives a file's page key from its
// passphrase.
QByteArray pbkdf2Sha1(const QByteArray& password, const QByteArray& salt, int iterations,
                      int length);

// The engine's page key for a passphrase and the salt that opens the file (its first 16 bytes),
// as SQLCipher derives it with the settings of version 3 (the files keep that format). Deriving
// takes tens of milliseconds; the program opens the same file at every load and save, so each key
// is derived once per process and then handed to the engine ready-made.
QByteArray cachedPageKey(const QString& passphrase, const QByteArray& salt);

}  // namespace sortilo::db
