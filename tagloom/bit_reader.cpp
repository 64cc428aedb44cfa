#include "bit_reader.h"

namespace tagloom {

uint32_t BitReader::readUnsigned(int n) {
    if (n < 0) n = 0;
    // Wider fields keep only their low 32 bits; the bits above are passed over.
    while (n > 32) {
        int skipped = n - 32 > 32 ? 32 : n - 32;
        readUnsigned(skipped);
        n -= skipped;
    }
    uint32_t value = 0;
    while (n > bitsLeft_) {
        n -= bitsLeft_;
        uint32_t low = bytes_->u8(index_) & ((1u << bitsLeft_) - 1);
        value |= low << n;
        ++index_;
        bitsLeft_ = 8;
    }
    uint32_t low = bytes_->u8(index_) & ((1u << bitsLeft_) - 1);
    value |= low >> (bitsLeft_ - n);
    bitsLeft_ -= n;
    return value;
}

int32_t BitReader::readSigned(int n) {
    uint32_t value = readUnsigned(n);
    if (n >= 1 && n < 32 && (value >> (n - 1)) & 1) value |= ~0u << n;
    return static_cast<int32_t>(value);
}

void BitReader::align() {
    if (bitsLeft_ != 8) {
        ++index_;
        bitsLeft_ = 8;
    }
}

} // namespace tagloom
