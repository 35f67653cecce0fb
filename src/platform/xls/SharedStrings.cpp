#include "platform/xls/SharedStrings.h"

#include <algorithm>

namespace sortilo::xls {

void SharedStrings::parse(std::vector<Span> parts) {
    size_t total = 0;
    for (const Span& s : parts) {
        total += s.size;
    }
    Fragments f(std::move(parts));
    uint32_t refs = 0;
    uint32_t unique = 0;
    whole_ = f.readU32(refs) && f.readU32(unique);
    if (!whole_) {
        return;  // an SST without its counts holds no strings
    }
    pool_.reserve(qsizetype(total));
    strings_.reserve(std::min<size_t>(unique, total / 3));
    while (!f.atEnd()) {
        PooledString s;
        const StringEnd end = readString(f, true, pool_, s);
        if (end == StringEnd::Cut) {
            whole_ = false;
            damaged_ = strings_.size() < unique;  // else padding after the last string
            return;
        }
        strings_.push_back(s);
        if (end == StringEnd::TailCut) {
            whole_ = false;  // only the formatting of the last string was cut short
            return;
        }
    }
}

PooledString SharedStrings::append(const QString& text) {
    PooledString s;
    s.cch = uint32_t(text.size());
    s.offset = uint32_t(pool_.size());
    const bool wide =
        std::any_of(text.begin(), text.end(), [](QChar c) { return c.unicode() > 0xFF; });
    s.flags = wide ? 0x01 : 0;
    s.charBytes = s.cch * (wide ? 2 : 1);
    pool_.resize(pool_.size() + qsizetype(s.charBytes));
    char* p = pool_.data() + s.offset;
    for (QChar c : text) {
        if (wide) {
            put16(p, c.unicode());
            p += 2;
        } else {
            *p++ = char(c.unicode());
        }
    }
    return s;
}

}  // namespace sortilo::xls
