#include "platform/xlsedit/StringTable.h"

#include <algorithm>
#include <bit>

namespace sortilo::xlsedit {

using xls::append16;
using xls::append32;
using xls::MaxRecordBody;
using xls::PooledString;
using xls::put16;
namespace rec = xls::rec;

void StringTable::take(xls::SharedStrings strings) {
    table_ = std::move(strings);
    refs_.assign(table_.size(), 0);
    added_.assign(table_.size(), false);
}

void StringTable::reference(uint32_t index) {
    if (index < refs_.size()) {
        ++refs_[index];
    }
}

void StringTable::release(uint32_t index) {
    if (index >= refs_.size() || refs_[index] == 0) {
        return;
    }
    if (--refs_[index] == 0 && freeListBuilt_) {
        free_.push_back(index);
    }
}

uint32_t StringTable::freeSlot() {
    if (!freeListBuilt_) {
        freeListBuilt_ = true;
        for (auto i = uint32_t(refs_.size()); i-- > 0;) {
            if (refs_[i] == 0) {
                free_.push_back(i);
            }
        }
    }
    while (!free_.empty()) {
        const uint32_t slot = free_.back();
        free_.pop_back();
        if (refs_[slot] == 0) {
            return slot;
        }
    }
    table_.strings().emplace_back();
    refs_.push_back(0);
    added_.push_back(false);
    return uint32_t(table_.size() - 1);
}

bool StringTable::holds(uint32_t slot, const QString& text) const {
    const PooledString& s = table_.strings()[slot];
    if (!added_[slot] || s.cch != uint32_t(text.size())) {
        return false;
    }
    const char* p = table_.pool().constData() + s.offset;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = (s.flags & 0x01) ? char16_t(xls::le16(p + 2 * i)) : uint8_t(p[i]);
        if (c != text[i].unicode()) {
            return false;
        }
    }
    return true;
}

namespace {

// FNV-1a over the UTF-16 units of a text, mixed so that its low bits, which pick the place,
// vary well.
template <typename Unit>
size_t hashOf(size_t n, Unit unit) {
    uint32_t h = 2166136261u;
    for (size_t i = 0; i < n; ++i) {
        h = (h ^ unit(i)) * 16777619u;
    }
    return h ^ (h >> 15);
}

}  // namespace

uint32_t& StringTable::placeOf(const QString& text) {
    const size_t mask = byText_.size() - 1;
    const ushort* units = text.utf16();
    for (size_t i = hashOf(size_t(text.size()), [&](size_t k) { return units[k]; }) & mask;;
         i = (i + 1) & mask) {
        uint32_t& place = byText_[i];
        if (place == 0 || holds(place - 1, text)) {
            return place;
        }
    }
}

// Places every slot add() filled by its text as it stands, in a table at most half full.
void StringTable::reindex() {
    byText_.assign(std::bit_ceil(std::max<size_t>({1024, 4 * placed_, 2 * table_.size()})), 0);
    placed_ = 0;
    const size_t mask = byText_.size() - 1;
    for (uint32_t slot = 0; slot < count(); ++slot) {
        if (!added_[slot]) {
            continue;
        }
        const PooledString& s = table_.strings()[slot];
        const char* p = table_.pool().constData() + s.offset;
        const bool wide = s.flags & 0x01;
        size_t i = hashOf(
            s.cch, [&](size_t k) { return wide ? xls::le16(p + 2 * k) : uint16_t(uint8_t(p[k])); });
        while (byText_[i & mask] != 0) {
            ++i;
        }
        byText_[i & mask] = slot + 1;
        ++placed_;
    }
}

uint32_t StringTable::add(const QString& text) {
    if (2 * (placed_ + 1) > byText_.size()) {
        reindex();
    }
    uint32_t& place = placeOf(text);
    if (place > 0) {
        ++refs_[place - 1];
        return place - 1;
    }
    const uint32_t slot = freeSlot();
    table_.strings()[slot] = table_.append(text);
    refs_[slot] = 1;
    added_[slot] = true;
    place = slot + 1;
    ++placed_;
    return slot;
}

namespace {

// Fills SST and CONTINUE records up to the body limit, starting a CONTINUE when full.
class RecordWriter {
public:
    explicit RecordWriter(StreamOut& out) : out_(out) {}
    void start(uint16_t type) {
        header_ = out_.size();
        out_.append32(type);  // length patched in finish()
    }
    void finish() { put16(out_.data() + header_ + 2, uint32_t(out_.size() - header_ - 4)); }
    qsizetype space() const { return MaxRecordBody - (out_.size() - header_ - 4); }
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
                if (flag >= 0) {
                    out_.append(char(flag));
                }
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
            for (qsizetype i = 0; i < narrowCount && narrow; ++i) {
                narrow = utf16[2 * (at + i) + 1] == 0;
            }
            const qsizetype n = narrow ? narrowCount : std::min(cch - at, space() / 2);
            out_[flagPos] = char((out_[flagPos] & ~1) | (narrow ? 0 : 1));
            if (narrow) {
                for (qsizetype i = 0; i < n; ++i) {
                    out_.append(utf16[2 * (at + i)]);
                }
            } else {
                out_.append(utf16 + 2 * at, 2 * n);
            }
            at += n;
        }
    }

private:
    StreamOut& out_;
    qsizetype header_ = 0;
};

}  // namespace

void StringTable::write(StreamOut& out, uint32_t streamBase, uint32_t refs) const {
    auto n = count();
    while (n > 0 && refs_[n - 1] == 0) {
        --n;
    }
    const uint32_t perBucket = std::max<uint32_t>(8, (n + 127) / 128);
    QByteArray ext;
    append16(ext, perBucket);

    RecordWriter w(out);
    w.start(rec::Sst);
    out.append32(refs);
    out.append32(n);
    for (uint32_t i = 0; i < n; ++i) {
        const PooledString& e = table_.strings()[i];
        const bool wide = e.flags & 1;
        const qsizetype fixed = 3 + ((e.flags & 0x08) ? 2 : 0) + ((e.flags & 0x04) ? 4 : 0);
        // As Excel does since 2007, a string that fits into a record is not cut (many readers
        // stumble over cut strings); a longer one is, but its fixed part stays whole and keeps
        // at least its first character with it.
        const qsizetype whole = fixed + e.charBytes + e.runBytes + e.phoneticBytes;
        if (w.space() < (whole <= MaxRecordBody ? whole : fixed + (e.cch ? (wide ? 2 : 1) : 0))) {
            w.next();
        }
        if (i % perBucket == 0) {
            append32(ext, streamBase + uint32_t(out.size()));
            append16(ext, uint32_t(out.size() - w.headerPos()));
            append16(ext, 0);
        }
        out.append16(e.cch);
        const qsizetype flagPos = out.size();
        out.append(char(e.flags));
        if (e.flags & 0x08) {
            out.append16(e.runBytes / 4);
        }
        if (e.flags & 0x04) {
            out.append32(e.phoneticBytes);
        }
        const char* data = table_.pool().constData() + e.offset;
        if (wide) {
            w.spillWide(data, e.cch, flagPos);
        } else {
            w.spill(data, e.charBytes, 1, 0);
        }
        w.spill(data + e.charBytes, e.runBytes, 4, -1);
        // Like Excel, start the phonetic block in a record of its own rather than cut it
        // anywhere; only a block too big for any record is cut.
        if (e.phoneticBytes > w.space() && e.phoneticBytes <= MaxRecordBody) {
            w.next();
        }
        w.spill(data + e.charBytes + e.runBytes, e.phoneticBytes, 1, -1);
    }
    w.finish();
    out.record(rec::ExtSst, ext);
}

}  // namespace sortilo::xlsedit
