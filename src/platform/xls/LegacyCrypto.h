#pragma once

#include "platform/xls/Bytes.h"

#include <QByteArray>
#include <QString>

#include <optional>

// The encryption of .xls workbooks (FILEPASS): XOR obfuscation, RC4 and RC4 CryptoAPI.
// Excel encrypts workbooks whose structure is protected with the fixed password below and
// opens them without asking; the reader does the same.
namespace sortilo::xls {

inline const QString DefaultPassword = QStringLiteral("VelvetSweatshop");

enum class CipherKind { Xor, Rc4, Rc4CryptoApi };

struct LegacyKey {
    CipherKind kind = CipherKind::Xor;
    QByteArray xorArray;  // Xor: the 16-byte obfuscation array
    QByteArray hashBase;  // Rc4: the 5-byte truncated hash; CryptoAPI: the SHA-1 of salt+password
    int keyBytes = 16;    // CryptoAPI: the key length in bytes (5 for 40 bits)
    bool padShortKey = true;  // CryptoAPI 40-bit keys are used zero-padded to 128 bits
};

enum class FilePassResult { Opened, WrongPassword, UnknownScheme };

struct FilePassReading {
    FilePassResult result = FilePassResult::UnknownScheme;
    LegacyKey key;
    QString scheme;  // "XOR", "RC4", "RC4 CryptoAPI", or what was found
};

// Reads a FILEPASS body and checks `password` against its verifier.
FilePassReading readFilePass(Span body, int biffVersion, const QString& password);

// Transforms, in place, every record body that follows `from` in a BIFF stream: decrypts
// (or, for making test files, encrypts). Record headers, BOF, FILEPASS and the few records
// Excel leaves in clear stay as they are.
void transformRecords(QByteArray& stream, size_t from, const LegacyKey& key, bool encrypt);

// A FILEPASS body for `password` (BIFF8 unless biffVersion is 5) with its key; `salt` is 16
// bytes (unused for XOR). Used to write encrypted workbooks for tests.
QByteArray makeFilePass(CipherKind kind, const QString& password, const QByteArray& salt,
                        int biffVersion, LegacyKey* key);

}  // namespace sortilo::xls
