#include "platform/xls/Rc4.h"

#include <utility>

namespace sortilo::xls {

void Rc4::setKey(const uint8_t* key, size_t size) {
    for (int k = 0; k < 256; ++k) {
        s_[k] = uint8_t(k);
    }
    uint8_t j = 0;
    for (int k = 0; k < 256; ++k) {
        j = uint8_t(j + s_[k] + key[size_t(k) % size]);
        std::swap(s_[k], s_[j]);
    }
    i_ = 0;
    j_ = 0;
}

uint8_t Rc4::next() {
    ++i_;
    j_ = uint8_t(j_ + s_[i_]);
    std::swap(s_[i_], s_[j_]);
    return s_[uint8_t(s_[i_] + s_[j_])];
}

void Rc4::apply(uint8_t* data, size_t size) {
    for (size_t k = 0; k < size; ++k) {
        data[k] ^= next();
    }
}

void Rc4::discard(size_t size) {
    for (size_t k = 0; k < size; ++k) {
        next();
    }
}

}  // namespace sortilo::xls
