#include "record/RecordLine.h"

#include <QCryptographicHash>

#include <type_traits>

namespace sortilo::record {

namespace {

QByteArray quoted(const QString& text) {
    QByteArray out = "\"";
    for (const char c : text.toUtf8()) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20) {
            out += "\\u00" + QByteArray::number(byte, 16).rightJustified(2, '0');
        } else {
            out += c;
        }
    }
    return out + '"';
}

}  // namespace

RecordLine::RecordLine(int seq, const QByteArray& prev, const char* type) : text_("{") {
    add("seq", seq);
    add("prev", QString::fromLatin1(prev.toHex()));
    add("type", QString::fromLatin1(type));
}

RecordLine& RecordLine::key(const char* name) {
    if (text_.size() > 1) {
        text_ += ',';
    }
    text_ += quoted(QString::fromLatin1(name)) + ':';
    return *this;
}

RecordLine& RecordLine::add(const char* name, int value) {
    key(name).text_ += QByteArray::number(value);
    return *this;
}

RecordLine& RecordLine::add(const char* name, bool value) {
    key(name).text_ += value ? "true" : "false";
    return *this;
}

RecordLine& RecordLine::add(const char* name, const QString& value) {
    key(name).text_ += quoted(value);
    return *this;
}

RecordLine& RecordLine::add(const char* name, const QList<int>& values) {
    QByteArrayList items;
    for (const int value : values) {
        items << QByteArray::number(value);
    }
    key(name).text_ += '[' + items.join(',') + ']';
    return *this;
}

RecordLine& RecordLine::add(const char* name, const QStringList& values) {
    QByteArrayList items;
    for (const QString& value : values) {
        items << quoted(value);
    }
    key(name).text_ += '[' + items.join(',') + ']';
    return *this;
}

RecordLine& RecordLine::addNull(const char* name) {
    key(name).text_ += "null";
    return *this;
}

QByteArray openLine(int seq, const QByteArray& prev, const DrawModel& session,
                    const QDateTime& time, const QString& version) {
    return RecordLine(seq, prev, "open")
        .add("protocol", 1)
        .add("roster", session.roster())
        .add("digest", QString::fromLatin1(session.rosterDigest().toHex()))
        .add("commitment", QString::fromLatin1(session.commitment().toHex()))
        .add("time", time.toString(Qt::ISODate))
        .add("version", version)
        .text();
}

QByteArray eventLine(int seq, const QByteArray& prev, const DrawModel& session,
                     const DrawEvent& event) {
    return std::visit(
        [&](const auto& e) {
            using Event = std::decay_t<decltype(e)>;
            if constexpr (std::is_same_v<Event, EntropyAdded>) {
                return RecordLine(seq, prev, "entropy").add("text", e.text).text();
            } else if constexpr (std::is_same_v<Event, Redrawn>) {
                return RecordLine(seq, prev, "redraw")
                    .add("group", e.group)
                    .add("absent", e.absent)
                    .add("attempt", e.attempt)
                    .add("picks", e.picks)
                    .add("names", session.names(e.picks))
                    .text();
            } else {
                return RecordLine(seq, prev, "group")
                    .add("group", e.group)
                    .add("attempt", e.attempt)
                    .add("count", e.count)
                    .add("keep", e.keep)
                    .add("picks", e.picks)
                    .add("names", session.names(e.picks))
                    .add("title", e.title)
                    .text();
            }
        },
        event);
}

QByteArray closeLine(int seq, const QByteArray& prev, const QByteArray& secret) {
    RecordLine line(seq, prev, "close");
    if (secret.isEmpty()) {
        line.addNull("seed");
    } else {
        line.add("seed", QString::fromLatin1(secret.toHex()));
    }
    return line.text();
}

QByteArray lineHash(const QByteArray& line) {
    return QCryptographicHash::hash(line, QCryptographicHash::Sha256);
}

}  // namespace sortilo::record
