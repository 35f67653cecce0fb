#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

// Little-endian reads from raw bytes; callers check the bounds first.
namespace sortilo::xls {

inline uint16_t le16(const uint8_t* p) {
    return uint16_t(p[0] | (p[1] << 8));
}
inline uint32_t le32(const uint8_t* p) {
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}
inline double leDouble(const uint8_t* p) {
    uint64_t bits = uint64_t(le32(p)) | (uint64_t(le32(p + 4)) << 32);
    double d;
    std::memcpy(&d, &bits, sizeof d);
    return d;
}

// A view of bytes inside a buffer owned elsewhere.
struct Span {
    const uint8_t* data = nullptr;
    size_t size = 0;
};

}  // namespace sortilo::xls
