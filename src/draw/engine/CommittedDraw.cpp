#include "draw/engine/CommittedDraw.h"

#include <QCryptographicHash>
#include <QMessageAuthenticationCode>

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

namespace sortilo::committed {

namespace {

QByteArray u32(quint32 n) {
    const char bytes[4] = {static_cast<char>(n >> 24), static_cast<char>(n >> 16),
                           static_cast<char>(n >> 8), static_cast<char>(n)};
    return QByteArray(bytes, 4);
}

QByteArray sha256(const QByteArray& bytes) {
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
}

QByteArray hmac(const QByteArray& key, const QByteArray& message) {
    return QMessageAuthenticationCode::hash(message, key, QCryptographicHash::Sha256);
}

// HMAC-SHA256 under one key for many short messages: the key's two padded blocks are made once,
// and nothing is allocated per message.
class GroupScores {
public:
    explicit GroupScores(const QByteArray& key) : inner_(64, 0x36), outer_(64, 0x5c) {
        for (int i = 0; i < key.size(); ++i) {
            inner_[i] = static_cast<char>(inner_[i] ^ key[i]);
            outer_[i] = static_cast<char>(outer_[i] ^ key[i]);
        }
    }
    // The score of `index`, as its 32 bytes.
    void score(int index, unsigned char* out) {
        const auto n = static_cast<quint32>(index);
        const char message[4] = {static_cast<char>(n >> 24), static_cast<char>(n >> 16),
                                 static_cast<char>(n >> 8), static_cast<char>(n)};
        hash_.reset();
        hash_.addData(inner_);
        hash_.addData(QByteArrayView(message, 4));
        char innerDigest[32];
        std::memcpy(innerDigest, hash_.resultView().data(), sizeof innerDigest);
        hash_.reset();
        hash_.addData(outer_);
        hash_.addData(QByteArrayView(innerDigest, sizeof innerDigest));
        std::memcpy(out, hash_.resultView().data(), 32);
    }

private:
    QByteArray inner_;
    QByteArray outer_;
    QCryptographicHash hash_{QCryptographicHash::Sha256};
};

struct Scored {
    std::array<unsigned char, 32> score;
    int index;
    bool operator<(const Scored& other) const {
        const int order = std::memcmp(score.data(), other.score.data(), score.size());
        return order != 0 ? order < 0 : index < other.index;
    }
};

}  // namespace

QByteArray commitment(const QByteArray& secret) {
    return sha256(QByteArrayLiteral("sortilo/v1/commit") + secret);
}

QByteArray rosterDigest(const QStringList& names) {
    // Hashed in one piece, a third cheaper than in 4000 short ones.
    QByteArray message = QByteArrayLiteral("sortilo-roster-v1\n");
    message.reserve(message.size() + names.size() * 16);
    for (const QString& name : names) {
        const QByteArray bytes = name.toUtf8();
        message += u32(static_cast<quint32>(bytes.size()));
        message += bytes;
    }
    return sha256(message);
}

QByteArray sessionKey(const QByteArray& secret, const QByteArray& digest, const QString& entropy) {
    return hmac(secret, QByteArrayLiteral("sortilo/v1/seed") + digest + sha256(entropy.toUtf8()));
}

QList<int> picks(const QByteArray& sessionKey, int group, int attempt, const QList<int>& eligible,
                 int count) {
    Q_ASSERT(count <= eligible.size());
    // The session key is 32 bytes, shorter than a SHA-256 block, so it pads as it is.
    GroupScores scores(hmac(sessionKey, QByteArrayLiteral("grp") +
                                            u32(static_cast<quint32>(group)) +
                                            u32(static_cast<quint32>(attempt))));
    std::vector<Scored> scored;
    scored.reserve(static_cast<size_t>(eligible.size()));
    for (const int index : eligible) {
        Scored entry{{}, index};
        scores.score(index, entry.score.data());
        scored.push_back(entry);
    }
    std::partial_sort(scored.begin(), scored.begin() + count, scored.end());
    QList<int> result;
    result.reserve(count);
    for (int k = 0; k < count; ++k) {
        result << scored[static_cast<size_t>(k)].index;
    }
    return result;
}

}  // namespace sortilo::committed
