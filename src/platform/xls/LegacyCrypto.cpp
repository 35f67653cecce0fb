#include "platform/xls/LegacyCrypto.h"

#include "platform/xls/Rc4.h"
#include "platform/xls/XorObfuscation.h"

#include <QCryptographicHash>

namespace sortilo::xls {

namespace {

constexpr size_t Rc4Block = 1024;

QByteArray hash(QCryptographicHash::Algorithm algorithm, const QByteArray& data) {
    return QCryptographicHash::hash(data, algorithm);
}

QByteArray le32Bytes(uint32_t v) {
    QByteArray out(4, '\0');
    put32(out.data(), v);
    return out;
}

QByteArray utf16le(const QString& s) {
    QByteArray out;
    out.reserve(s.size() * 2);
    for (QChar c : s) {
        out.append(char(c.unicode() & 0xFF));
        out.append(char(c.unicode() >> 8));
    }
    return out;
}

QByteArray blockKey(const LegacyKey& key, uint32_t block) {
    if (key.kind == CipherKind::Rc4) {
        return hash(QCryptographicHash::Md5, key.hashBase + le32Bytes(block));
    }
    QByteArray k = hash(QCryptographicHash::Sha1, key.hashBase + le32Bytes(block));
    k.truncate(key.keyBytes);
    if (key.keyBytes == 5 && key.padShortKey) {
        k.append(QByteArray(11, '\0'));
    }
    return k;
}

LegacyKey rc4StandardKey(const QString& password, const QByteArray& salt) {
    QByteArray h0 = hash(QCryptographicHash::Md5, utf16le(password)).left(5);
    QByteArray buffer;
    for (int i = 0; i < 16; ++i) {
        buffer += h0 + salt;
    }
    LegacyKey key;
    key.kind = CipherKind::Rc4;
    key.hashBase = hash(QCryptographicHash::Md5, buffer).left(5);
    return key;
}

// Decrypts verifier and verifier hash with the key of block 0 and compares.
bool verifies(const LegacyKey& key, QByteArray verifier, QByteArray verifierHash) {
    Rc4 rc4;
    const QByteArray k = blockKey(key, 0);
    rc4.setKey(reinterpret_cast<const uint8_t*>(k.constData()), size_t(k.size()));
    rc4.apply(reinterpret_cast<uint8_t*>(verifier.data()), size_t(verifier.size()));
    rc4.apply(reinterpret_cast<uint8_t*>(verifierHash.data()), size_t(verifierHash.size()));
    const auto algorithm =
        key.kind == CipherKind::Rc4 ? QCryptographicHash::Md5 : QCryptographicHash::Sha1;
    return hash(algorithm, verifier) ==
           verifierHash.left(algorithm == QCryptographicHash::Md5 ? 16 : 20);
}

QByteArray bytesAt(Span body, size_t pos, size_t n) {
    return QByteArray(reinterpret_cast<const char*>(body.data + pos), qsizetype(n));
}

FilePassReading readXor(Span body, size_t pos, const QString& password) {
    FilePassReading r;
    r.scheme = QStringLiteral("XOR");
    if (body.size < pos + 4) {
        return r;
    }
    const QByteArray pw = xorob::passwordBytes(password);
    const uint16_t stored = le16(body.data + pos + 2);
    r.result =
        xorob::verifier(pw) == stored ? FilePassResult::Opened : FilePassResult::WrongPassword;
    r.key.kind = CipherKind::Xor;
    r.key.xorArray = xorob::obfuscationArray(pw);
    return r;
}

FilePassReading readCryptoApi(Span body, const QString& password) {
    FilePassReading r;
    r.scheme = QStringLiteral("RC4 CryptoAPI");
    // type, version (4), flags (4), header size (4), header, verifier
    if (body.size < 14) {
        return r;
    }
    const uint32_t headerSize = le32(body.data + 10);
    const size_t header = 14;
    if (headerSize < 32 || body.size < header + headerSize + 4 + 16 + 16 + 4 + 20) {
        return r;
    }
    uint32_t keyBits = le32(body.data + header + 16);
    if (keyBits == 0) {
        keyBits = 40;
    }
    const size_t v = header + headerSize;
    if (le32(body.data + v) != 16 || keyBits % 8 != 0 || keyBits < 40 || keyBits > 128) {
        return r;
    }
    const QByteArray salt = bytesAt(body, v + 4, 16);
    LegacyKey key;
    key.kind = CipherKind::Rc4CryptoApi;
    key.keyBytes = int(keyBits / 8);
    key.hashBase = hash(QCryptographicHash::Sha1, salt + utf16le(password));
    const QByteArray verifier = bytesAt(body, v + 20, 16);
    const QByteArray verifierHash = bytesAt(body, v + 40, 20);
    r.key = key;
    r.result = FilePassResult::WrongPassword;
    for (bool pad : {true, false}) {
        r.key.padShortKey = pad;
        if (verifies(r.key, verifier, verifierHash)) {
            r.result = FilePassResult::Opened;
            break;
        }
    }
    return r;
}

// The RC4 key stream depends on the byte's position in the stream (a new key every 1024).
class Rc4Stream {
public:
    explicit Rc4Stream(const LegacyKey& key) : key_(key) {}
    void apply(uint8_t* base, size_t from, size_t to) {
        while (from < to) {
            const size_t block = from / Rc4Block;
            if (block != block_) {
                const QByteArray k = blockKey(key_, uint32_t(block));
                rc4_.setKey(reinterpret_cast<const uint8_t*>(k.constData()), size_t(k.size()));
                block_ = block;
                pos_ = block * Rc4Block;
            }
            rc4_.discard(from - pos_);
            const size_t end = std::min(to, (block + 1) * Rc4Block);
            rc4_.apply(base + from, end - from);
            pos_ = end;
            from = end;
        }
    }

private:
    const LegacyKey& key_;
    Rc4 rc4_;
    size_t block_ = size_t(-1);
    size_t pos_ = 0;
};

// XOR obfuscation starts each record's body at array index (body position + body size).
void applyXor(const QByteArray& array, uint8_t* base, size_t bodyStart, size_t bodySize,
              size_t from) {
    for (size_t p = from; p < bodyStart + bodySize; ++p) {
        const uint8_t v = base[p] ^ uint8_t(array[qsizetype((p + bodySize) % 16)]);
        base[p] = uint8_t((v >> 5) | (v << 3));
    }
}

bool leftInClear(uint16_t type) {
    switch (type) {
        case rec::Bof:
        case 0x0009:  // BOF of older BIFF versions
        case 0x0209:
        case 0x0409:
        case rec::FilePass:
        case 0x0194:  // USREXCL
        case 0x0195:  // FILELOCK
        case 0x00E1:  // INTERFACEHDR
        case 0x0196:  // RRDINFO
        case 0x0138:  // RRDHEAD
            return true;
        default:
            return false;
    }
}

}  // namespace

FilePassReading readFilePass(Span body, int biffVersion, const QString& password) {
    if (biffVersion < 8) {
        return readXor(body, 0, password);
    }
    FilePassReading r;
    r.scheme = QStringLiteral("unknown");
    if (body.size < 2) {
        return r;
    }
    const uint16_t type = le16(body.data);
    if (type == 0) {
        return readXor(body, 2, password);
    }
    if (type != 1 || body.size < 6) {
        return r;
    }
    const uint16_t major = le16(body.data + 2);
    const uint16_t minor = le16(body.data + 4);
    if (major == 1 && minor == 1) {
        r.scheme = QStringLiteral("RC4");
        if (body.size < 6 + 48) {
            return r;
        }
        r.key = rc4StandardKey(password, bytesAt(body, 6, 16));
        r.result = verifies(r.key, bytesAt(body, 22, 16), bytesAt(body, 38, 16))
                       ? FilePassResult::Opened
                       : FilePassResult::WrongPassword;
        return r;
    }
    if (major >= 2 && major <= 4 && minor == 2) {
        return readCryptoApi(body, password);
    }
    r.scheme = QStringLiteral("RC4 %1.%2").arg(major).arg(minor);
    return r;
}

void decryptRecords(RecordStream& stream, int from, const LegacyKey& key) {
    uint8_t* base = reinterpret_cast<uint8_t*>(stream.bytes.data());
    Rc4Stream rc4(key);
    for (size_t i = size_t(from) + 1; i < stream.records.size(); ++i) {
        const Record& r = stream.records[i];
        if (leftInClear(r.type) || r.length == 0) {
            continue;
        }
        const size_t bodyStart = r.offset + 4;
        // BOUNDSHEET keeps its stream offset readable.
        const size_t start =
            bodyStart + (r.type == rec::BoundSheet ? std::min<size_t>(4, r.length) : 0);
        if (key.kind == CipherKind::Xor) {
            applyXor(key.xorArray, base, bodyStart, r.length, start);
        } else {
            rc4.apply(base, start, bodyStart + r.length);
        }
    }
}

}  // namespace sortilo::xls
