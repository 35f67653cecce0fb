#pragma once

#include "platform/xls/Biff.h"

#include <QByteArray>
#include <QString>

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

// Decrypts, in place, the body of every record after record `from`. Record headers, the
// records Excel leaves in clear and the stream offset at the start of BOUNDSHEET stay as they
// are.
void decryptRecords(RecordStream& stream, int from, const LegacyKey& key);

}  // namespace sortilo::xls
