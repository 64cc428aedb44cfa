// Bitmap tags: DefineBits, JPEGTables, DefineBitsLossless(2) and DefineBitsJPEG2/3.
// The decoders show the header fields and mark the image data as raw ranges; nothing
// is decompressed and no JPEG data is parsed.
#include <algorithm>

#include "tag_table.h"

namespace tagloom {
namespace {

// Only 8-bit colour-mapped images carry the size of their colour table.
constexpr uint8_t kColorMappedFormat = 3;

uint32_t lastByte(uint32_t start, uint32_t count) { return start + count - 1; }

// A character id followed by JPEG data up to the end of the tag.
uint32_t decodeIdAndJpeg(Decoder& decoder, ItemHandle parent, uint32_t start, uint32_t count, const char* idLabel) {
    decoder.out.add(parent, start, start + 1, "%s", idLabel);
    decoder.out.add(parent, start + 2, lastByte(start, count), "JPEGData");
    return start + count;
}

} // namespace

uint32_t decodeDefineBits(Decoder& decoder, ItemHandle parent, uint32_t start, uint32_t count) {
    return decodeIdAndJpeg(decoder, parent, start, count, "CharacterId");
}

uint32_t decodeJPEGTables(Decoder& decoder, ItemHandle parent, uint32_t start, uint32_t count) {
    decoder.out.add(parent, start, lastByte(start, count), "JPEG encoding table");
    return start + count;
}

uint32_t decodeDefineBitsLossless(Decoder& decoder, ItemHandle parent, uint32_t start, uint32_t count) {
    uint8_t format = decoder.bytes.u8(uint64_t{start} + 2);
    decoder.out.add(parent, start, start + 1, "CharacterID");
    decoder.out.add(parent, start + 2, start + 2, "BitmapFormat");
    decoder.out.add(parent, start + 3, start + 4, "BitmapWidth");
    decoder.out.add(parent, start + 5, start + 6, "BitmapHeight");
    uint32_t data = start + 7;
    if (format == kColorMappedFormat) {
        decoder.out.add(parent, data, data, "BitmapColorTableSize");
        ++data;
    }
    decoder.out.add(parent, data, lastByte(start, count), "ZlibBitmapData");
    return start + count;
}

uint32_t decodeDefineBitsJPEG2(Decoder& decoder, ItemHandle parent, uint32_t start, uint32_t count) {
    return decodeIdAndJpeg(decoder, parent, start, count, "CharacterID");
}

uint32_t decodeDefineBitsJPEG3(Decoder& decoder, ItemHandle parent, uint32_t start, uint32_t count) {
    uint32_t alphaDataOffset = decoder.bytes.u32(uint64_t{start} + 2);
    // The JPEG data may claim to run past the tag, but its end must not wrap around to
    // the start of the file: the split point saturates at the last offset there is.
    uint32_t alphaStart = static_cast<uint32_t>(std::min<uint64_t>(uint64_t{start} + 6 + alphaDataOffset, UINT32_MAX));
    decoder.out.add(parent, start, start + 1, "CharacterID");
    decoder.out.add(parent, start + 2, start + 5, "AlphaDataOffset");
    decoder.out.add(parent, start + 6, alphaStart - 1, "JPEGData");
    decoder.out.add(parent, alphaStart, lastByte(start, count), "BitmapAlphaData");
    return start + count;
}

// Both lossless tags have the same layout; the second one's colours carry alpha.
uint32_t decodeDefineBitsLossless2(Decoder& decoder, ItemHandle parent, uint32_t start, uint32_t count) {
    return decodeDefineBitsLossless(decoder, parent, start, count);
}

} // namespace tagloom
