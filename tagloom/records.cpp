#include "records.h"

#include <initializer_list>

namespace tagloom {
namespace {

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

uint32_t readUnsignedField(Decoder& decoder, BitReader& bits, ItemHandle parent, int count, const char* label) {
    uint32_t start = bits.index();
    uint32_t value = bits.readUnsigned(count);
    decoder.out.add(parent, start, bits.index(), label, value);
    return value;
}

int32_t readSignedField(Decoder& decoder, BitReader& bits, ItemHandle parent, int count, const char* label) {
    uint32_t start = bits.index();
    int32_t value = bits.readSigned(count);
    decoder.out.add(parent, start, bits.index(), label, value);
    return value;
}

uint32_t readRectangle(Decoder& decoder, ItemHandle parent, uint32_t offset) {
    BitReader bits(decoder.bytes, offset);
    Group rectangle(decoder.out, parent, offset, "Rectangle");
    int valueBits = static_cast<int>(readUnsignedField(decoder, bits, rectangle.handle(), 5, "Nbits (%d)"));
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
    if (readUnsignedField(decoder, bits, m, 1, "HasScale = %d")) {
        int scaleBits = static_cast<int>(readUnsignedField(decoder, bits, m, 5, "ScaleBits = %d"));
        readUnsignedField(decoder, bits, m, scaleBits, "ScaleX = %d");
        readUnsignedField(decoder, bits, m, scaleBits, "ScaleY = %d");
    }
    if (readUnsignedField(decoder, bits, m, 1, "HasRotate = %d")) {
        int rotateBits = static_cast<int>(readUnsignedField(decoder, bits, m, 5, "RotateBits = %d"));
        readUnsignedField(decoder, bits, m, rotateBits, "RotateX = %d");
        readUnsignedField(decoder, bits, m, rotateBits, "RotateY = %d");
    }
    int translateBits = static_cast<int>(readUnsignedField(decoder, bits, m, 5, "TranslateBits = %d"));
    readSignedField(decoder, bits, m, translateBits, "TranslateX = %d");
    readSignedField(decoder, bits, m, translateBits, "TranslateY = %d");
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
