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
    // Appends cch characters to out, all at one width: UTF-16 as soon as any piece is.
    bool readChars(uint16_t cch, bool& wide, QByteArray& out) {
        const qsizetype start = out.size();
        bool pieceWide = wide;
        qsizetype left = cch;
        bool fromNewRecord = false;
        while (left > 0) {
            if (fromNewRecord || pos_ >= currentSize()) {
                if (!nextPart())
                    return false;
                pieceWide = (uint8_t(bodies_[part_][pos_]) & 1) != 0;
                ++pos_;
                if (pieceWide && !wide) {
                    widen(out, start);
                    wide = true;
                }
            }
            const qsizetype width = pieceWide ? 2 : 1;
            const qsizetype n = std::min(left, (currentSize() - pos_) / width);
            const char* p = bodies_[part_].constData() + pos_;
            if (pieceWide == wide) {
                out.append(p, n * width);
            } else {
                for (qsizetype i = 0; i < n; ++i) {
                    out.append(p[i]);
                    out.append('\0');
                }
            }
            pos_ += n * width;
            left -= n;
            fromNewRecord = true;
        }
        return true;
    }

private:
    // Turns the one-byte characters from `start` on into UTF-16.
    static void widen(QByteArray& out, qsizetype start) {
        const QByteArray narrow = out.mid(start);
        out.resize(start);
        for (char c : narrow) {
            out.append(c);
            out.append('\0');
        }
    }
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
    pool_.clear();
    added_.clear();
    if (bodies.empty() || bodies.front().size() < 8) {
        reason = QStringLiteral("shared string table too short");
        return false;
    }
    SstCursor cursor(bodies);
    qsizetype total = 0;
    for (const QByteArray& body : bodies)
        total += body.size();
    pool_.reserve(total);
    QByteArray head, extra;
    while (!cursor.atEnd()) {
        head.resize(0);
        extra.resize(0);
        if (!cursor.read(head, 3)) {
            reason = QStringLiteral("shared string %1 cut short").arg(strings_.size());
            return false;
        }
        Entry e;
        e.cch = le16(head.constData());
        e.flags = uint8_t(head[2]);
        const qsizetype extraSize = ((e.flags & 0x08) ? 2 : 0) + ((e.flags & 0x04) ? 4 : 0);
        bool ok = cursor.read(extra, extraSize);
        const uint32_t runs = ok && (e.flags & 0x08) ? le16(extra.constData()) : 0;
        const uint32_t phonetic =
            ok && (e.flags & 0x04) ? le32(extra.constData() + ((e.flags & 0x08) ? 2 : 0)) : 0;
        bool wide = (e.flags & 1) != 0;
        e.offset = uint32_t(pool_.size());
        ok = ok && cursor.readChars(e.cch, wide, pool_);
        e.flags = uint8_t((e.flags & ~1) | (wide ? 1 : 0));
        e.charBytes = uint32_t(pool_.size() - e.offset);
        ok = ok && phonetic <= uint32_t(bodies.size()) * kMaxRecordBody &&
             cursor.read(pool_, qsizetype(runs) * 4) && cursor.read(pool_, phonetic);
        e.runBytes = runs * 4;
        e.phoneticBytes = phonetic;
        if (!ok) {
            reason = QStringLiteral("shared string %1 cut short").arg(strings_.size());
            return false;
        }
        strings_.push_back(std::move(e));
    }
    refs_.assign(strings_.size(), 0);
    return true;
}

SharedStrings::Entry SharedStrings::append(const QString& text) {
    Entry e;
    e.cch = uint16_t(text.size());
    e.offset = uint32_t(pool_.size());
    e.added = true;
    const bool wide =
        std::any_of(text.begin(), text.end(), [](QChar c) { return c.unicode() > 0xFF; });
    e.flags = wide ? 1 : 0;
    e.charBytes = uint32_t(text.size() * (wide ? 2 : 1));
    pool_.resize(pool_.size() + e.charBytes);
    char* p = pool_.data() + e.offset;
    for (QChar c : text) {
        if (wide) {
            put16(p, c.unicode());
            p += 2;
        } else {
            *p++ = char(c.unicode());
        }
    }
    return e;
}

QString SharedStrings::textOf(const Entry& e) const {
    const char* p = pool_.constData() + e.offset;
    QString text(e.cch, Qt::Uninitialized);
    for (int i = 0; i < e.cch; ++i)
        text[i] = (e.flags & 1) ? QChar(le16(p + 2 * i)) : QChar(uint8_t(p[i]));
    return text;
}

void SharedStrings::reference(uint32_t index) {
    if (index < refs_.size())
        ++refs_[index];
}

void SharedStrings::release(uint32_t index) {
    if (index >= refs_.size() || refs_[index] == 0)
        return;
    if (--refs_[index] == 0 && freeListBuilt_)
        free_.push_back(index);
}

uint32_t SharedStrings::freeSlot() {
    if (!freeListBuilt_) {
        freeListBuilt_ = true;
        for (auto i = uint32_t(refs_.size()); i-- > 0;) {
            if (refs_[i] == 0)
                free_.push_back(i);
        }
    }
    while (!free_.empty()) {
        const uint32_t slot = free_.back();
        free_.pop_back();
        if (refs_[slot] == 0)
            return slot;
    }
    strings_.emplace_back();
    refs_.push_back(0);
    return uint32_t(strings_.size() - 1);
}

uint32_t SharedStrings::add(const QString& text) {
    const auto found = added_.constFind(text);
    if (found != added_.constEnd()) {
        ++refs_[found.value()];
        return found.value();
    }
    const uint32_t slot = freeSlot();
    if (strings_[slot].added)
        added_.remove(textOf(strings_[slot]));
    strings_[slot] = append(text);
    refs_[slot] = 1;
    added_.insert(text, slot);
    return slot;
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
    void spill(const char* bytes, qsizetype size, qsizetype unit, int flag) {
        qsizetype at = 0;
        while (at < size) {
            qsizetype n = std::min(size - at, space() / unit * unit);
            if (n == 0) {
                next();
                if (flag >= 0)
                    out_.append(char(flag));
                continue;
            }
            out_.append(bytes + at, n);
            at += n;
        }
    }

    // Appends UTF-16 characters piece by piece, as Excel does: a piece whose characters all
    // fit into one byte each is stored that way, its flag byte (the string's own for the first
    // piece) saying which.
    void spillWide(const char* utf16, qsizetype cch, qsizetype flagPos) {
        qsizetype at = 0;
        while (at < cch) {
            if (at > 0 || space() == 0) {
                next();
                flagPos = out_.size();
                out_.append('\0');
            }
            const qsizetype narrowCount = std::min(cch - at, space());
            bool narrow = true;
            for (qsizetype i = 0; i < narrowCount && narrow; ++i)
                narrow = utf16[2 * (at + i) + 1] == 0;
            const qsizetype n = narrow ? narrowCount : std::min(cch - at, space() / 2);
            out_[flagPos] = char((out_[flagPos] & ~1) | (narrow ? 0 : 1));
            if (narrow) {
                for (qsizetype i = 0; i < n; ++i)
                    out_.append(utf16[2 * (at + i)]);
            } else {
                out_.append(utf16 + 2 * at, 2 * n);
            }
            at += n;
        }
    }

private:
    QByteArray& out_;
    qsizetype header_ = 0;
};

}  // namespace

void SharedStrings::write(QByteArray& out, uint32_t streamBase, uint32_t refs) const {
    auto n = uint32_t(strings_.size());
    while (n > 0 && refs_[n - 1] == 0)
        --n;
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
        // As Excel does since 2007, a string that fits into a record is not cut (many readers
        // stumble over cut strings); a longer one is, but its fixed part stays whole and keeps
        // at least its first character with it.
        const qsizetype whole = fixed + e.charBytes + e.runBytes + e.phoneticBytes;
        if (w.space() < (whole <= kMaxRecordBody ? whole : fixed + (e.cch ? (wide ? 2 : 1) : 0)))
            w.next();
        if (i % perBucket == 0) {
            append32(ext, streamBase + uint32_t(out.size()));
            append16(ext, uint32_t(out.size() - w.headerPos()));
            append16(ext, 0);
        }
        append16(out, e.cch);
        const qsizetype flagPos = out.size();
        out.append(char(e.flags));
        if (e.flags & 0x08)
            append16(out, e.runBytes / 4);
        if (e.flags & 0x04)
            append32(out, e.phoneticBytes);
        const char* data = pool_.constData() + e.offset;
        if (wide)
            w.spillWide(data, e.cch, flagPos);
        else
            w.spill(data, e.charBytes, 1, 0);
        w.spill(data + e.charBytes, e.runBytes, 4, -1);
        // Like Excel, start the phonetic block in a record of its own rather than cut it
        // anywhere; only a block too big for any record is cut.
        if (e.phoneticBytes > w.space() && e.phoneticBytes <= kMaxRecordBody)
            w.next();
        w.spill(data + e.charBytes + e.runBytes, e.phoneticBytes, 1, -1);
    }
    w.finish();
    appendRecord(out, rec::ExtSst, ext);
}

}  // namespace sortilo::xlsedit
