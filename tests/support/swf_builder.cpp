#include "swf_builder.h"

namespace testing_support {

BitWriter& BitWriter::bits(uint32_t value, int count) {
    for (int i = count - 1; i >= 0; --i) bits_.push_back((value >> i) & 1);
    return *this;
}

Bytes BitWriter::bytes() const {
    Bytes out((bits_.size() + 7) / 8, 0);
    for (size_t i = 0; i < bits_.size(); ++i)
        if (bits_[i]) out[i / 8] |= static_cast<uint8_t>(0x80 >> (i % 8));
    return out;
}

ByteWriter& ByteWriter::u8(uint8_t value) {
    bytes_.push_back(value);
    return *this;
}

ByteWriter& ByteWriter::u16(uint16_t value) { return u8(value & 0xFF).u8(value >> 8); }

ByteWriter& ByteWriter::u32(uint32_t value) { return u16(value & 0xFFFF).u16(value >> 16); }

ByteWriter& ByteWriter::raw(const Bytes& bytes) {
    bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
    return *this;
}

ByteWriter& ByteWriter::cString(const std::string& text) {
    bytes_.insert(bytes_.end(), text.begin(), text.end());
    return u8(0);
}

Bytes shortTag(uint16_t code, const Bytes& body) {
    return ByteWriter().u16(static_cast<uint16_t>(code << 6 | body.size())).raw(body).bytes();
}

Bytes longTag(uint16_t code, const Bytes& body) {
    return longTagDeclaring(code, static_cast<uint32_t>(body.size()), body);
}

Bytes longTagDeclaring(uint16_t code, uint32_t length, const Bytes& body) {
    return ByteWriter().u16(static_cast<uint16_t>(code << 6 | 0x3F)).u32(length).raw(body).bytes();
}

Bytes rectangle(int bits, int32_t xmin, int32_t xmax, int32_t ymin, int32_t ymax) {
    return BitWriter()
        .bits(bits, 5)
        .signedBits(xmin, bits)
        .signedBits(xmax, bits)
        .signedBits(ymin, bits)
        .signedBits(ymax, bits)
        .bytes();
}

Bytes join(const std::vector<Bytes>& parts) {
    Bytes out;
    for (const Bytes& part : parts) out.insert(out.end(), part.begin(), part.end());
    return out;
}

Bytes movie(const std::vector<Bytes>& tags, uint8_t version) {
    Bytes body = join({rectangle(15, 0, 11000, 0, 8000), ByteWriter().u16(12 << 8).u16(1).bytes(), join(tags)});
    return ByteWriter().raw({'F', 'W', 'S', version}).u32(static_cast<uint32_t>(8 + body.size())).raw(body).bytes();
}

} // namespace testing_support
