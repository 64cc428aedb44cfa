// The one reader of the file buffer. A byte at or past the end reads as 0, so a string
// scan ends at the buffer end and a record stream cut off by the end reads as its end
// record. Offsets are absolute positions in the host's buffer.
#pragma once

#include <cstdint>

namespace tagloom {

class ByteReader {
public:
    ByteReader() = default;
    ByteReader(const uint8_t* data, uint32_t size) : data_(data), size_(data ? size : 0) {}

    uint32_t size() const { return size_; }
    // True while the offset names a byte of the buffer.
    bool inside(uint64_t offset) const { return offset < size_; }

    uint8_t u8(uint64_t offset) const { return inside(offset) ? data_[offset] : 0; }
    uint16_t u16(uint64_t offset) const { return static_cast<uint16_t>(u8(offset) | u8(offset + 1) << 8); }
    uint32_t u32(uint64_t offset) const {
        return static_cast<uint32_t>(u16(offset)) | static_cast<uint32_t>(u16(offset + 2)) << 16;
    }
    int16_t s16(uint64_t offset) const { return static_cast<int16_t>(u16(offset)); }

    // The offset of the zero that ends the string at the offset; the buffer's size when
    // the buffer ends first.
    uint32_t stringEnd(uint32_t offset) const;

private:
    const uint8_t* data_ = nullptr;
    uint32_t size_ = 0;
};

} // namespace tagloom
