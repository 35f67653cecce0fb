#include "platform/xls/Biff.h"

#include <QtEndian>

#include <iconv.h>

#include <algorithm>
#include <cerrno>

namespace sortilo::xls {

RecordStream splitRecords(const QByteArray& stream) {
    RecordStream out;
    out.bytes = stream;
    const char* data = stream.constData();
    const auto size = uint32_t(stream.size());
    out.records.reserve(size / 16);
    uint32_t pos = 0;
    int depth = 0;
    while (pos + 4 <= size) {
        const uint16_t type = le16(data + pos);
        const uint16_t length = le16(data + pos + 2);
        if (pos + 4 + length > size) {
            out.overrun = depth > 0 ? int(out.sections.size()) - 1 : -1;
            break;
        }
        const int index = int(out.records.size());
        out.records.push_back({type, length, pos});
        if (depth == 0 &&
            (type == rec::Bof || out.sections.empty() || out.sections.back().substream)) {
            Section s;
            s.substream = type == rec::Bof;
            s.bofType = s.substream && length >= 4 ? le16(data + pos + 6) : 0;
            s.first = index;
            s.begin = pos;
            out.sections.push_back(std::move(s));
        }
        if (type == rec::Bof) {
            ++depth;
        } else if (type == rec::Eof && depth > 0) {
            --depth;
        } else if (type == rec::Window2 && depth == 1 && length >= 2) {
            out.sections.back().windowFlags.push_back(le16(data + pos + 4));
        }
        pos += 4 + length;
        out.sections.back().end = index + 1;
        out.sections.back().stop = pos;
    }
    out.unfinished = depth > 0;
    out.trailing = stream.mid(pos);
    return out;
}

Span RecordStream::span(int index, size_t from) const {
    const Record& r = records[size_t(index)];
    from = std::min<size_t>(from, r.length);
    return {reinterpret_cast<const uint8_t*>(body(r)) + from, r.length - from};
}

std::vector<Span> RecordStream::continued(int index, size_t from) const {
    std::vector<Span> parts{span(index, from)};
    for (size_t i = size_t(index) + 1; i < records.size() && records[i].type == rec::Continue;
         ++i) {
        parts.push_back(span(int(i)));
    }
    return parts;
}

bool isCellRecord(uint16_t type) {
    switch (type) {
        case rec::Formula:
        case rec::MulRk:
        case rec::MulBlank:
        case rec::RString:
        case rec::LabelSst:
        case rec::Blank:
        case rec::Number:
        case rec::Label:
        case rec::BoolErr:
        case rec::Rk:
            return true;
        default:
            return false;
    }
}

double rkValue(uint32_t rk) {
    double v;
    if (rk & 0x02) {
        v = double(int32_t(rk) >> 2);
    } else {
        const uint64_t bits = uint64_t(rk & 0xFFFFFFFCu) << 32;
        std::memcpy(&v, &bits, sizeof v);
    }
    return (rk & 0x01) ? v / 100 : v;
}

bool Fragments::advance() {
    while (part_ < parts_.size() && off_ >= parts_[part_].size) {
        ++part_;
        off_ = 0;
    }
    return part_ < parts_.size();
}

bool Fragments::atEnd() {
    return !advance();
}

bool Fragments::readU8(uint8_t& v) {
    if (!advance()) {
        return false;
    }
    v = parts_[part_].data[off_++];
    return true;
}

bool Fragments::readU16(uint16_t& v) {
    uint8_t a, b;
    if (!readU8(a) || !readU8(b)) {
        return false;
    }
    v = uint16_t(a | (b << 8));
    return true;
}

bool Fragments::readU32(uint32_t& v) {
    uint16_t a, b;
    if (!readU16(a) || !readU16(b)) {
        return false;
    }
    v = uint32_t(a) | (uint32_t(b) << 16);
    return true;
}

bool Fragments::copy(size_t n, QByteArray& out) {
    while (n > 0) {
        if (!advance()) {
            return false;
        }
        const size_t here = std::min(n, parts_[part_].size - off_);
        out.append(reinterpret_cast<const char*>(parts_[part_].data + off_), qsizetype(here));
        off_ += here;
        n -= here;
    }
    return true;
}

namespace {

// Turns the one-byte characters from `start` on into two-byte ones, in place.
void widen(QByteArray& out, qsizetype start) {
    const qsizetype n = out.size() - start;
    out.resize(start + 2 * n);
    char* p = out.data() + start;
    for (qsizetype i = n; i-- > 0;) {
        p[2 * i] = p[i];
        p[2 * i + 1] = 0;
    }
}

}  // namespace

bool Fragments::readChars(uint32_t cch, bool& wide, QByteArray& out) {
    const qsizetype start = out.size();
    bool pieceWide = wide;
    uint32_t done = 0;
    while (done < cch) {
        bool crossed = false;
        while (part_ < parts_.size() && off_ >= parts_[part_].size) {
            ++part_;
            off_ = 0;
            crossed = true;
        }
        if (part_ >= parts_.size()) {
            return false;
        }
        const Span& s = parts_[part_];
        if (crossed) {
            // Characters going on in a CONTINUE record carry their own width flag.
            pieceWide = s.data[off_++] & 0x01;
            if (pieceWide && !wide) {
                widen(out, start);
                wide = true;
            }
            continue;
        }
        const size_t unit = pieceWide ? 2 : 1;
        const size_t n = std::min<size_t>((s.size - off_) / unit, cch - done);
        if (n == 0) {
            return false;  // half a UTF-16 unit before a join
        }
        const char* p = reinterpret_cast<const char*>(s.data + off_);
        if (pieceWide == wide) {
            out.append(p, qsizetype(n * unit));
        } else {
            const qsizetype at = out.size();
            out.resize(at + qsizetype(2 * n));
            for (size_t i = 0; i < n; ++i) {
                out[at + qsizetype(2 * i)] = p[i];
                out[at + qsizetype(2 * i + 1)] = 0;
            }
        }
        off_ += n * unit;
        done += uint32_t(n);
    }
    return true;
}

StringEnd readString(Fragments& f, bool longCount, QByteArray& pool, PooledString& s) {
    uint8_t small = 0;
    uint16_t count = 0;
    uint8_t flags = 0;
    uint16_t runs = 0;
    uint32_t phonetic = 0;
    if (!(longCount ? f.readU16(count) : f.readU8(small)) || !f.readU8(flags) ||
        ((flags & 0x08) && !f.readU16(runs)) || ((flags & 0x04) && !f.readU32(phonetic))) {
        return StringEnd::Cut;
    }
    s.cch = longCount ? count : small;
    s.offset = uint32_t(pool.size());
    bool wide = flags & 0x01;
    if (!f.readChars(s.cch, wide, pool)) {
        pool.truncate(s.offset);
        return StringEnd::Cut;
    }
    s.flags = uint8_t((flags & ~0x01) | (wide ? 0x01 : 0));
    s.charBytes = uint32_t(pool.size()) - s.offset;
    s.runBytes = uint32_t(runs) * 4;
    s.phoneticBytes = phonetic;
    if (!f.copy(s.runBytes, pool) || !f.copy(phonetic, pool)) {
        pool.truncate(s.offset + s.charBytes);
        s.runBytes = s.phoneticBytes = 0;
        s.flags &= 0x01;
        return StringEnd::TailCut;
    }
    return StringEnd::Whole;
}

QString pooledText(const QByteArray& pool, const PooledString& s) {
    const char* p = pool.constData() + s.offset;
    if (!(s.flags & 0x01)) {
        return QString::fromLatin1(p, qsizetype(s.cch));
    }
    QString text(qsizetype(s.cch), Qt::Uninitialized);
    qFromLittleEndian<char16_t>(p, qsizetype(s.cch), text.data());
    return text;
}

bool readText(std::vector<Span> parts, bool longCount, QString& out) {
    Fragments f(std::move(parts));
    QByteArray pool;
    PooledString s;
    if (readString(f, longCount, pool, s) == StringEnd::Cut) {
        return false;
    }
    out = pooledText(pool, s);
    return true;
}

namespace {

QByteArray iconvNameFor(int codePage) {
    switch (codePage) {
        case 367:
            return "ASCII";
        case 1200:  // not a byte code page; some writers put it in BIFF5 anyway
        case 32769:
            return "CP1252";
        case 10000:
        case 32768:
            return "MACINTOSH";
        case 936:
            return "GBK";
        default:
            return "CP" + QByteArray::number(codePage);
    }
}

}  // namespace

CodePage::CodePage(int codePage) : CodePage(iconvNameFor(codePage)) {}

CodePage::CodePage(const QByteArray& iconvName) : iconvName_(iconvName) {
    iconv_t probe = iconv_open("UTF-16LE", iconvName_.constData());
    if (probe == iconv_t(-1)) {
        iconvName_ = "CP1252";
    } else {
        iconv_close(probe);
    }
}

QString CodePage::decode(const uint8_t* bytes, size_t size) const {
    const bool ascii = std::all_of(bytes, bytes + size, [](uint8_t b) { return b < 0x80; });
    iconv_t cd = ascii ? iconv_t(-1) : iconv_open("UTF-16LE", iconvName_.constData());
    if (cd == iconv_t(-1)) {
        return QString::fromLatin1(reinterpret_cast<const char*>(bytes), qsizetype(size));
    }
    QString out;
    out.resize(qsizetype(size));  // no code page yields more UTF-16 units than bytes
    char* in = const_cast<char*>(reinterpret_cast<const char*>(bytes));
    size_t inLeft = size;
    char* outp = reinterpret_cast<char*>(out.data());
    size_t outLeft = size * 2;
    while (inLeft > 0) {
        if (iconv(cd, &in, &inLeft, &outp, &outLeft) != size_t(-1) || errno == E2BIG ||
            outLeft < 2) {
            break;
        }
        // An invalid or cut-off byte sequence: show U+FFFD for one byte and go on.
        const char16_t replacement = 0xFFFD;
        std::memcpy(outp, &replacement, 2);
        outp += 2;
        outLeft -= 2;
        ++in;
        --inLeft;
    }
    iconv_close(cd);
    out.resize(qsizetype((size * 2 - outLeft) / 2));
    return out;
}

bool readBiff5String(Span body, size_t& pos, bool longCount, const CodePage& cp, QString& out) {
    const size_t head = longCount ? 2 : 1;
    if (pos + head > body.size) {
        return false;
    }
    const size_t cch = longCount ? le16(body.data + pos) : body.data[pos];
    pos += head;
    if (pos + cch > body.size) {
        return false;
    }
    out = cp.decode(body.data + pos, cch);
    pos += cch;
    return true;
}

}  // namespace sortilo::xls
