#pragma once

#include "draw/engine/DrawModel.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

namespace sortilo::record {

// One line of the draw record (docs/draw-record.md) as its JSON text, without the line feed: the
// keys every line has first, then those of its type, in a fixed order. Names are written as
// UTF-8 text, not escapes.
class RecordLine {
public:
    // `prev` is the SHA-256 of the line before (all zeros for the first line).
    RecordLine(int seq, const QByteArray& prev, const char* type);

    RecordLine& add(const char* key, int value);
    RecordLine& add(const char* key, bool value);
    RecordLine& add(const char* key, const QString& value);
    RecordLine& add(const char* key, const QList<int>& values);
    RecordLine& add(const char* key, const QStringList& values);
    RecordLine& addNull(const char* key);
    QByteArray text() const { return text_ + '}'; }

private:
    RecordLine& key(const char* name);

    QByteArray text_;
};

// The lines of a session, each given its place in the chain.
QByteArray openLine(int seq, const QByteArray& prev, const DrawModel& session,
                    const QDateTime& time, const QString& version);
QByteArray eventLine(int seq, const QByteArray& prev, const DrawModel& session,
                     const DrawEvent& event);
// The secret as hex, or null when it was lost.
QByteArray closeLine(int seq, const QByteArray& prev, const QByteArray& secret);

// What the next line's prev names: SHA-256 of a line's bytes without its line feed.
QByteArray lineHash(const QByteArray& line);

}  // namespace sortilo::record
