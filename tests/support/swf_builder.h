// Builders that write SWF bytes, so that tests read like the data they describe.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace testing_support {

using Bytes = std::vector<uint8_t>;

// Writes bit fields most significant bit first, as SWF packs them.
class BitWriter {
public:
    BitWriter& bits(uint32_t value, int count);
    BitWriter& signedBits(int32_t value, int count) { return bits(static_cast<uint32_t>(value), count); }
    // Pads the last byte with zero bits.
    Bytes bytes() const;

private:
    std::vector<bool> bits_;
};

// Appends little-endian numbers, raw bytes and strings.
class ByteWriter {
public:
    ByteWriter& u8(uint8_t value);
    ByteWriter& u16(uint16_t value);
    ByteWriter& u32(uint32_t value);
    ByteWriter& raw(const Bytes& bytes);
    ByteWriter& raw(std::initializer_list<uint8_t> bytes) { return raw(Bytes(bytes)); }
    // The string and its terminating NUL.
    ByteWriter& cString(const std::string& text);
    const Bytes& bytes() const { return bytes_; }
    size_t size() const { return bytes_.size(); }

private:
    Bytes bytes_;
};

// A tag with the 2-byte header (body shorter than 63 bytes).
Bytes shortTag(uint16_t code, const Bytes& body = {});
// A tag with the 6-byte header; `length` overrides the declared length when given.
Bytes longTag(uint16_t code, const Bytes& body = {});
Bytes longTagDeclaring(uint16_t code, uint32_t length, const Bytes& body = {});
// A rectangle with `bits` bits per coordinate.
Bytes rectangle(int bits, int32_t xmin, int32_t xmax, int32_t ymin, int32_t ymax);
// An uncompressed movie: "FWS", version, the real file length, a 550 x 400 frame,
// frame rate 12, one frame, then the tags.
Bytes movie(const std::vector<Bytes>& tags, uint8_t version = 6);
// Concatenation.
Bytes join(const std::vector<Bytes>& parts);

} // namespace testing_support
