// Reads bit fields most significant bit first over the byte reader.
//
// The byte index moves lazily: a read that uses up the last bit of a byte leaves
// bitsLeft at 0 with the index still on that byte, and the next read first moves on.
// After a read the index names the byte holding the last bit read, which is what the
// item ranges of bit fields are made of: a field's item runs from the index before
// the read to the index after it.
#pragma once

#include <cstdint>

#include "byte_reader.h"

namespace tagloom {

class BitReader {
public:
    BitReader(const ByteReader& bytes, uint32_t offset) : bytes_(&bytes), index_(offset) {}

    uint32_t index() const { return index_; }
    int bitsLeft() const { return bitsLeft_; }

    // Reads n bits (0 to 32) as an unsigned number.
    uint32_t readUnsigned(int n);
    // Reads n bits as a two's complement number of n bits; 0 bits read as 0.
    int32_t readSigned(int n);
    // Moves to the first byte that holds no bit already read.
    void align();

private:
    const ByteReader* bytes_;
    uint32_t index_;
    int bitsLeft_ = 8;
};

} // namespace tagloom
