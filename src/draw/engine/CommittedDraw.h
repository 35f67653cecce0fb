#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace sortilo::committed {

// Version 1 of the derivation that fixes every group before the first draw (docs/draw-record.md):
// a secret the room sees committed to, the roster, the room's own text, the group's number and
// its attempt decide the picks; nothing else does.

inline constexpr int SecretBytes = 32;

// C = SHA-256("sortilo/v1/commit" || s)
QByteArray commitment(const QByteArray& secret);

// D = SHA-256("sortilo-roster-v1\n" || u32(len(name)) || name || ...), names in import order.
QByteArray rosterDigest(const QStringList& names);

// S = HMAC(s, "sortilo/v1/seed" || D || SHA-256(A)); A empty when the room added nothing.
QByteArray sessionKey(const QByteArray& secret, const QByteArray& digest, const QString& entropy);

// The `count` eligible roster indices with the smallest scores HMAC(K, u32(i)) under
// K = HMAC(S, "grp" || u32(group) || u32(attempt)), smallest first. Requires count <= eligible.
QList<int> picks(const QByteArray& sessionKey, int group, int attempt, const QList<int>& eligible,
                 int count);

}  // namespace sortilo::committed
