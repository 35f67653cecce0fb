#include "platform/db/KeyDerivation.h"

#include <QHash>
#include <QMessageAuthenticationCode>

#include <mutex>

namespace sortilo::db {

namespace {
// The engine's defaults for files it keys with a passphrase.
constexpr int KdfIterations = 64000;
constexpr int PageKeyBytes = 32;
}  // namespace

QByteArray pbkdf2Sha1(const QByteArray& password, const QByteArray& salt, int iterations,
                      int length) {
    QByteArray key;
    QMessageAuthenticationCode mac(QCryptographicHash::Sha1, password);
    for (quint32 block = 1; key.size() < length; ++block) {
        mac.reset();
        mac.addData(salt);
        const char index[4] = {static_cast<char>(block >> 24), static_cast<char>(block >> 16),
                               static_cast<char>(block >> 8), static_cast<char>(block)};
        mac.addData(index, 4);
        QByteArray u = mac.result();
        QByteArray t = u;
        for (int i = 1; i < iterations; ++i) {
            mac.reset();
            mac.addData(u);
            u = mac.result();
            for (qsizetype j = 0; j < t.size(); ++j) {
                t[j] = static_cast<char>(t[j] ^ u[j]);
            }
        }
        key += t;
    }
    return key.left(length);
}

QByteArray cachedPageKey(const QString& passphrase, const QByteArray& salt) {
    static std::mutex mutex;
    static QHash<QByteArray, QByteArray> keys;
    const QByteArray password = passphrase.toUtf8();
    const QByteArray id = password.toHex() + ':' + salt.toHex();
    std::lock_guard<std::mutex> lock(mutex);
    auto it = keys.constFind(id);
    if (it == keys.constEnd()) {
        it = keys.insert(id, pbkdf2Sha1(password, salt, KdfIterations, PageKeyBytes));
    }
    return *it;
}

}  // namespace sortilo::db
