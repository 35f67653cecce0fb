#include "platform/xls/BiffStream.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>

namespace sortilo::xls {

bool RecordReader::next(Record& record) {
    if (overrun_ || pos_ + 4 > size_) {
        return false;
    }
    const uint8_t* p = data_ + pos_;
    const size_t length = le16(p + 2);
    if (pos_ + 4 + length > size_) {
        overrun_ = true;
        return false;
    }
    record.type = le16(p);
    record.offset = pos_;
    record.body = Span{p + 4, length};
    pos_ += 4 + length;
    return true;
}

void RecordReader::takeContinues(std::vector<Span>& parts) {
    while (pos_ + 4 <= size_ && le16(data_ + pos_) == rec::Continue) {
        Record r;
        if (!next(r)) {
            return;
        }
        parts.push_back(r.body);
    }
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

CodePage::CodePage(int codePage) : number_(codePage), iconvName_(iconvNameFor(codePage)) {
    iconv_t probe = iconv_open("UTF-16LE", iconvName_.constData());
    if (probe == iconv_t(-1)) {
        iconvName_ = "CP1252";
    } else {
        iconv_close(probe);
    }
}

QString CodePage::decode(const uint8_t* bytes, size_t size) const {
    bool ascii = true;
    for (size_t i = 0; i < size && ascii; ++i) {
        ascii = bytes[i] < 0x80;
    }
    if (ascii) {
        return QString::fromLatin1(reinterpret_cast<const char*>(bytes), qsizetype(size));
    }
    iconv_t cd = iconv_open("UTF-16LE", iconvName_.constData());
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
        if (iconv(cd, &in, &inLeft, &outp, &outLeft) != size_t(-1)) {
            break;
        }
        if (errno == E2BIG || outLeft < 2) {
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

QByteArray CodePage::encode(const QString& text) const {
    QByteArray out;
    iconv_t cd = iconv_open(iconvName_.constData(), "UTF-16LE");
    if (cd == iconv_t(-1)) {
        return text.toLatin1();
    }
    for (QChar c : text) {
        char16_t unit = c.unicode();
        char buf[8];
        char* in = reinterpret_cast<char*>(&unit);
        size_t inLeft = 2;
        char* outp = buf;
        size_t outLeft = sizeof buf;
        if (iconv(cd, &in, &inLeft, &outp, &outLeft) == size_t(-1)) {
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
            out.append('?');
        } else {
            out.append(buf, qsizetype(sizeof buf - outLeft));
        }
    }
    iconv_close(cd);
    return out;
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

bool Fragments::skip(size_t n) {
    while (n > 0) {
        if (!advance()) {
            return false;
        }
        const size_t here = std::min(n, parts_[part_].size - off_);
        off_ += here;
        n -= here;
    }
    return true;
}

bool Fragments::readChars(uint32_t cch, bool wide, QString& out) {
    out.resize(qsizetype(cch));
    char16_t* dst = reinterpret_cast<char16_t*>(out.data());
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
        if (crossed) {
            // Characters going on in a CONTINUE record carry their own width flag.
            wide = parts_[part_].data[off_++] & 0x01;
            continue;
        }
        const Span& s = parts_[part_];
        const size_t avail = (s.size - off_) / (wide ? 2 : 1);
        if (avail == 0) {
            return false;  // half a UTF-16 unit before a join
        }
        const uint32_t n = uint32_t(std::min<size_t>(avail, cch - done));
        const uint8_t* src = s.data + off_;
        for (uint32_t i = 0; i < n; ++i) {
            dst[done + i] = wide ? char16_t(le16(src + 2 * i)) : char16_t(src[i]);
        }
        off_ += n * (wide ? 2 : 1);
        done += n;
    }
    return true;
}

bool Fragments::readUnicodeString(QString& out, bool longCount, bool* richTailOk) {
    uint32_t cch = 0;
    if (longCount) {
        uint16_t c;
        if (!readU16(c)) {
            return false;
        }
        cch = c;
    } else {
        uint8_t c;
        if (!readU8(c)) {
            return false;
        }
        cch = c;
    }
    uint8_t flags;
    if (!readU8(flags)) {
        return false;
    }
    uint16_t runs = 0;
    uint32_t phonetic = 0;
    if ((flags & 0x08) && !readU16(runs)) {
        return false;
    }
    if ((flags & 0x04) && !readU32(phonetic)) {
        return false;
    }
    if (!readChars(cch, flags & 0x01, out)) {
        return false;
    }
    const bool tail = skip(size_t(runs) * 4) && skip(phonetic);
    if (richTailOk) {
        *richTailOk = tail;
    }
    return true;
}

bool readBiff8String(Span body, size_t& pos, bool longCount, QString& out) {
    Fragments f({Span{body.data + std::min(pos, body.size), body.size - std::min(pos, body.size)}});
    bool tail = true;
    if (!f.readUnicodeString(out, longCount, &tail)) {
        return false;
    }
    pos = body.size;  // callers read nothing after the string
    return true;
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
