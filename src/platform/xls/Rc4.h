#pragma once

#include <cstddef>
#include <cstdint>

namespace sortilo::xls {

// The RC4 stream cipher, as the legacy Office encryption uses it.
class Rc4 {
public:
    void setKey(const uint8_t* key, size_t size);
    void apply(uint8_t* data, size_t size);
    void discard(size_t size);

private:
    uint8_t next();
    uint8_t s_[256] = {};
    uint8_t i_ = 0;
    uint8_t j_ = 0;
};

}  // namespace sortilo::xls
