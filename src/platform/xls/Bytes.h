#pragma once

#include <QByteArray>

#include <cstddef>
#include <cstdint>
#include <cstring>

// Little-endian fields in raw bytes; callers check the bounds first.
namespace sortilo::xls {

inline uint16_t le16(const uint8_t* p) {
    return uint16_t(p[0] | (p[1] << 8));
}
inline uint32_t le32(const uint8_t* p) {
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}
inline uint16_t le16(const char* p) {
    return le16(reinterpret_cast<const uint8_t*>(p));
}
inline uint32_t le32(const char* p) {
    return le32(reinterpret_cast<const uint8_t*>(p));
}
inline double leDouble(const uint8_t* p) {
    const uint64_t bits = uint64_t(le32(p)) | (uint64_t(le32(p + 4)) << 32);
    double d;
    std::memcpy(&d, &bits, sizeof d);
    return d;
}
inline void put16(char* p, uint32_t v) {
    p[0] = char(v & 0xFF);
    p[1] = char((v >> 8) & 0xFF);
}
inline void put32(char* p, uint32_t v) {
    put16(p, v & 0xFFFF);
    put16(p + 2, v >> 16);
}
inline void append16(QByteArray& out, uint32_t v) {
    char b[2];
    put16(b, v);
    out.append(b, 2);
}
inline void append32(QByteArray& out, uint32_t v) {
    char b[4];
    put32(b, v);
    out.append(b, 4);
}

// A view of bytes inside a buffer owned elsewhere.
struct Span {
    const uint8_t* data = nullptr;
    size_t size = 0;
};

}  // namespace sortilo::xls
