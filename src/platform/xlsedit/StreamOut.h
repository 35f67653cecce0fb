#pragma once

#include "platform/xls/Bytes.h"

#include <QByteArray>

#include <algorithm>
#include <cstring>

namespace sortilo::xlsedit {

// The workbook stream being written. Appends are what a save does most (a few per cell and per
// string): here each is a bounds check and a copy.
class StreamOut {
public:
    explicit StreamOut(qsizetype capacity) : buf_(capacity, Qt::Uninitialized) {}

    qsizetype size() const { return size_; }
    char* data() { return buf_.data(); }
    char& operator[](qsizetype i) { return buf_.data()[i]; }

    void append(const char* p, qsizetype n) { std::memcpy(grow(n), p, size_t(n)); }
    void append(const QByteArray& b) { append(b.constData(), b.size()); }
    void append(char c) { *grow(1) = c; }
    void append16(uint32_t v) { xls::put16(grow(2), v); }
    void append32(uint32_t v) { xls::put32(grow(4), v); }
    // A record: its header, then its body.
    void record(uint16_t type, const char* body, qsizetype length) {
        char* p = grow(4 + length);
        xls::put16(p, type);
        xls::put16(p + 2, uint32_t(length));
        std::memcpy(p + 4, body, size_t(length));
    }
    void record(uint16_t type, const QByteArray& body) {
        record(type, body.constData(), body.size());
    }
    QByteArray take() {
        buf_.resize(size_);
        size_ = 0;
        return std::move(buf_);
    }

private:
    char* grow(qsizetype n) {
        if (size_ + n > buf_.size()) {
            buf_.resize(std::max(2 * buf_.size(), size_ + n));
        }
        char* p = buf_.data() + size_;
        size_ += n;
        return p;
    }

    QByteArray buf_;
    qsizetype size_ = 0;
};

}  // namespace sortilo::xlsedit
