#include "platform/xlsedit/SharedStrings.h"

#include "platform/xlsedit/BiffRecords.h"

#include <algorithm>

namespace sortilo::xlsedit {
namespace {

// Walks the SST body and its CONTINUE bodies as one sequence of bytes, except that characters
// that go on in a new record are preceded there by a fresh width flag.
class SstCursor {
public:
    explicit SstCursor(const std::vector<QByteArray>& bodies) : bodies_(bodies) {}

    bool atEnd() {
        skipEmpty();
        return part_ >= bodies_.size();
    }
    bool read(QByteArray& out, qsizetype n) {
        while (n > 0) {
            skipEmpty();
            if (part_ >= bodies_.size())
                return false;
            const QByteArray& body = bodies_[part_];
            const qsizetype take = std::min(n, body.size() - pos_);
            out.append(body.constData() + pos_, take);
            pos_ += take;
            n -= take;
        }
        return true;
    }
    bool skip(qsizetype n) {
        QByteArray sink;
        return read(sink, n);
    }
    // Reads cch characters; returns them as UTF-16 when any part is UTF-16.
    bool readChars(uint16_t cch, bool& wide, QByteArray& out) {
        QByteArray parts;
        std::vector<std::pair<qsizetype, bool>> widths;  // (chars, wide) per piece
        qsizetype left = cch;
        bool fromNewRecord = false;
        while (left > 0) {
            if (fromNewRecord || pos_ >= currentSize()) {
                if (!nextPart())
                    return false;
                wide = (uint8_t(bodies_[part_][pos_]) & 1) != 0;
                ++pos_;
            }
            const qsizetype width = wide ? 2 : 1;
            const qsizetype n = std::min(left, (currentSize() - pos_) / width);
            parts.append(bodies_[part_].constData() + pos_, n * width);
            pos_ += n * width;
            widths.emplace_back(n, wide);
            left -= n;
            fromNewRecord = true;
        }
        const bool anyWide =
            std::any_of(widths.begin(), widths.end(), [](const auto& w) { return w.second; });
        wide = anyWide;
        if (!anyWide) {
            out = parts;
            return true;
        }
        out.reserve(qsizetype(cch) * 2);
        qsizetype at = 0;
        for (const auto& [n, w] : widths) {
            for (qsizetype i = 0; i < n; ++i) {
                if (w) {
                    out.append(parts.constData() + at, 2);
                    at += 2;
                } else {
                    out.append(parts[at++]);
                    out.append('\0');
                }
            }
        }
        return true;
    }

private:
    qsizetype currentSize() const { return part_ < bodies_.size() ? bodies_[part_].size() : 0; }
    // Moves to the next non-empty record for characters that go on there.
    bool nextPart() {
        ++part_;
        pos_ = 0;
        while (part_ < bodies_.size() && bodies_[part_].isEmpty())
            ++part_;
        return part_ < bodies_.size();
    }
    void skipEmpty() {
        while (part_ < bodies_.size() && pos_ >= bodies_[part_].size()) {
            ++part_;
            pos_ = 0;
        }
    }

    const std::vector<QByteArray>& bodies_;
    size_t part_ = 0;
    qsizetype pos_ = 8;  // after the two counts
};

}  // namespace

bool SharedStrings::parse(const std::vector<QByteArray>& bodies, QString& reason) {
    strings_.clear();
    added_.clear();
    if (bodies.empty() || bodies.front().size() < 8) {
        reason = QStringLiteral("shared string table too short");
        return false;
    }
    SstCursor cursor(bodies);
    while (!cursor.atEnd()) {
        QByteArray head;
        if (!cursor.read(head, 3)) {
            reason = QStringLiteral("shared string %1 cut short").arg(strings_.size());
            return false;
        }
        Entry e;
        e.cch = le16(head.constData());
        e.flags = uint8_t(head[2]);
        QByteArray extra;
        const qsizetype extraSize = ((e.flags & 0x08) ? 2 : 0) + ((e.flags & 0x04) ? 4 : 0);
        bool ok = cursor.read(extra, extraSize);
        const uint32_t runs = (e.flags & 0x08) ? le16(extra.constData()) : 0;
        const uint32_t phonetic =
            (e.flags & 0x04) ? le32(extra.constData() + ((e.flags & 0x08) ? 2 : 0)) : 0;
        bool wide = (e.flags & 1) != 0;
        ok = ok && cursor.readChars(e.cch, wide, e.chars);
        e.flags = uint8_t((e.flags & ~1) | (wide ? 1 : 0));
        ok = ok && phonetic <= uint32_t(bodies.size()) * kMaxRecordBody &&
             cursor.read(e.runs, qsizetype(runs) * 4) && cursor.read(e.phonetic, phonetic);
        if (!ok) {
            reason = QStringLiteral("shared string %1 cut short").arg(strings_.size());
            return false;
        }
        strings_.push_back(std::move(e));
    }
    return true;
}

SharedStrings::Entry SharedStrings::fromText(const QString& text) {
    Entry e;
    e.cch = uint16_t(text.size());
    const bool wide =
        std::any_of(text.begin(), text.end(), [](QChar c) { return c.unicode() > 0xFF; });
    e.flags = wide ? 1 : 0;
    if (wide) {
        e.chars.resize(text.size() * 2);
        char* p = e.chars.data();
        for (QChar c : text) {
            put16(p, c.unicode());
            p += 2;
        }
    } else {
        e.chars.resize(text.size());
        char* p = e.chars.data();
        for (QChar c : text)
            *p++ = char(c.unicode());
    }
    return e;
}

uint32_t SharedStrings::add(const QString& text) {
    const auto found = added_.constFind(text);
    if (found != added_.constEnd())
        return found.value();
    const auto index = uint32_t(strings_.size());
    strings_.push_back(fromText(text));
    added_.insert(text, index);
    return index;
}

}  // namespace sortilo::xlsedit

namespace sortilo::xlsedit {
namespace {

// Fills SST and CONTINUE records up to the body limit, starting a CONTINUE when full.
class RecordWriter {
public:
    explicit RecordWriter(QByteArray& out) : out_(out) {}
    void start(uint16_t type) {
        header_ = out_.size();
        append32(out_, type);  // length patched in finish()
    }
    void finish() { put16(out_.data() + header_ + 2, uint32_t(out_.size() - header_ - 4)); }
    qsizetype space() const { return kMaxRecordBody - (out_.size() - header_ - 4); }
    void next() {
        finish();
        start(rec::Continue);
    }
    qsizetype headerPos() const { return header_; }
    // Appends bytes in pieces of `unit`, moving to new CONTINUE records as needed; a piece of
    // characters in a new record is preceded by the width flag.
    void spill(const QByteArray& bytes, qsizetype unit, int flag) {
        qsizetype at = 0;
        while (at < bytes.size()) {
            qsizetype n = std::min(bytes.size() - at, space() / unit * unit);
            if (n == 0) {
                next();
                if (flag >= 0)
                    out_.append(char(flag));
                continue;
            }
            out_.append(bytes.constData() + at, n);
            at += n;
        }
    }

private:
    QByteArray& out_;
    qsizetype header_ = 0;
};

}  // namespace

void SharedStrings::write(QByteArray& out, uint32_t streamBase, uint32_t refs) const {
    const auto n = uint32_t(strings_.size());
    const uint32_t perBucket = std::max<uint32_t>(8, (n + 127) / 128);
    QByteArray ext;
    append16(ext, perBucket);

    RecordWriter w(out);
    w.start(rec::Sst);
    append32(out, refs);
    append32(out, n);
    for (uint32_t i = 0; i < n; ++i) {
        const Entry& e = strings_[i];
        const bool wide = e.flags & 1;
        const qsizetype fixed = 3 + ((e.flags & 0x08) ? 2 : 0) + ((e.flags & 0x04) ? 4 : 0);
        // The fixed part stays whole and keeps at least its first character with it.
        if (w.space() < fixed + (e.cch ? (wide ? 2 : 1) : 0))
            w.next();
        if (i % perBucket == 0) {
            append32(ext, streamBase + uint32_t(out.size()));
            append16(ext, uint32_t(out.size() - w.headerPos()));
            append16(ext, 0);
        }
        append16(out, e.cch);
        out.append(char(e.flags));
        if (e.flags & 0x08)
            append16(out, uint32_t(e.runs.size() / 4));
        if (e.flags & 0x04)
            append32(out, uint32_t(e.phonetic.size()));
        w.spill(e.chars, wide ? 2 : 1, wide ? 1 : 0);
        w.spill(e.runs, 4, -1);
        w.spill(e.phonetic, 1, -1);
    }
    w.finish();
    appendRecord(out, rec::ExtSst, ext);
}

}  // namespace sortilo::xlsedit
