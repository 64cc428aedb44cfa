#include "records.h"

#include <initializer_list>

namespace tagloom {
namespace {

// Adds one bit field's item: it runs from the byte index before the read to the byte
// index after it.
uint32_t readField(Decoder& decoder, BitReader& bits, ItemHandle parent, int count, bool isSigned,
                   const char* label) {
    uint32_t start = bits.index();
    uint32_t value = isSigned ? static_cast<uint32_t>(bits.readSigned(count)) : bits.readUnsigned(count);
    decoder.out.add(parent, start, bits.index(), label, value);
    return value;
}

// A colour transform's term items cover only the byte that holds the term's last bit.
uint32_t readTerm(Decoder& decoder, BitReader& bits, ItemHandle parent, int count, const char* label) {
    uint32_t value = bits.readUnsigned(count);
    decoder.out.add(parent, bits.index(), bits.index(), label, value);
    return value;
}

const char* const kMultTerms[] = {"RedMultTerm(%d)", "GreenMultTerm(%d)", "BlueMultTerm(%d)", "AlphaMultTerm(%d)"};
const char* const kAddTerms[] = {"RedAddTerm(%d)", "GreenAddTerm(%d)", "BlueAddTerm(%d)", "AlphaAddTerm(%d)"};

uint32_t readTransform(Decoder& decoder, ItemHandle parent, uint32_t offset, const char* label, int terms) {
    BitReader bits(decoder.bytes, offset);
    ItemHandle transform = decoder.out.add(parent, offset, offset, "%s", label);
    uint32_t hasAddTerms = readTerm(decoder, bits, transform, 1, "HasAddTerms(%d)");
    uint32_t hasMultTerms = readTerm(decoder, bits, transform, 1, "HasMultTerms(%d)");
    int valueBits = static_cast<int>(readTerm(decoder, bits, transform, 4, "Bits in each value field(%d)"));
    // The add flag comes first, but the multiply terms come first in the data.
    for (int i = 0; hasMultTerms && i < terms; ++i) readTerm(decoder, bits, transform, valueBits, kMultTerms[i]);
    for (int i = 0; hasAddTerms && i < terms; ++i) readTerm(decoder, bits, transform, valueBits, kAddTerms[i]);
    bits.align();
    return bits.index();
}

} // namespace

uint32_t readRectangle(Decoder& decoder, ItemHandle parent, uint32_t offset) {
    BitReader bits(decoder.bytes, offset);
    Group rectangle(decoder.out, parent, offset, "Rectangle");
    int valueBits = static_cast<int>(readField(decoder, bits, rectangle.handle(), 5, false, "Nbits (%d)"));
    for (const char* label : {"Xmin (%d=%.2f * 20 twips)", "Xmax (%d=%.2f * 20 twips)", "Ymin (%d=%.2f * 20 twips)",
                              "Ymax (%d=%.2f * 20 twips)"}) {
        uint32_t start = bits.index();
        int32_t twips = bits.readSigned(valueBits);
        decoder.out.add(rectangle.handle(), start, bits.index(), label, twips, twips * 0.05);
    }
    bits.align();
    rectangle.close(bits.index() - 1);
    return bits.index();
}

uint32_t readMatrix(Decoder& decoder, ItemHandle parent, uint32_t offset) {
    BitReader bits(decoder.bytes, offset);
    Group matrix(decoder.out, parent, offset, "Matrix");
    ItemHandle m = matrix.handle();
    if (readField(decoder, bits, m, 1, false, "HasScale = %d")) {
        int scaleBits = static_cast<int>(readField(decoder, bits, m, 5, false, "ScaleBits = %d"));
        readField(decoder, bits, m, scaleBits, false, "ScaleX = %d");
        readField(decoder, bits, m, scaleBits, false, "ScaleY = %d");
    }
    if (readField(decoder, bits, m, 1, false, "HasRotate = %d")) {
        int rotateBits = static_cast<int>(readField(decoder, bits, m, 5, false, "RotateBits = %d"));
        readField(decoder, bits, m, rotateBits, false, "RotateX = %d");
        readField(decoder, bits, m, rotateBits, false, "RotateY = %d");
    }
    int translateBits = static_cast<int>(readField(decoder, bits, m, 5, false, "TranslateBits = %d"));
    readField(decoder, bits, m, translateBits, true, "TranslateX = %d");
    readField(decoder, bits, m, translateBits, true, "TranslateY = %d");
    bits.align();
    matrix.close(bits.index() - 1);
    return bits.index();
}

uint32_t readColorTransform(Decoder& decoder, ItemHandle parent, uint32_t offset) {
    return readTransform(decoder, parent, offset, "ColorTransform", 3);
}

uint32_t readColorTransformWithAlpha(Decoder& decoder, ItemHandle parent, uint32_t offset) {
    return readTransform(decoder, parent, offset, "ColorTransformWithAlpha", 4);
}

uint32_t readColor(Decoder& decoder, ItemHandle parent, uint32_t offset, int shapeVersion) {
    if (shapeVersion == 3) {
        decoder.out.add(parent, offset, offset + 3, "RGBA");
        return offset + 4;
    }
    decoder.out.add(parent, offset, offset + 2, "RGB");
    return offset + 3;
}

uint32_t readString(Decoder& decoder, ItemHandle parent, uint32_t offset, const char* label) {
    uint32_t zero = decoder.bytes.stringEnd(offset);
    decoder.out.add(parent, offset, zero, "%s", label);
    return zero + 1;
}

} // namespace tagloom
