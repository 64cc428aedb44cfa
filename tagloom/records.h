// Readers of the records that many tags share. Each adds its items below the parent
// and returns the offset just past the record.
#pragma once

#include <cstdint>

#include "decoder.h"

namespace tagloom {

// One bit field as an item whose range runs from the byte index before the read to
// the byte index after it; the label formats the value. Returns the value.
uint32_t readUnsignedField(Decoder& decoder, BitReader& bits, ItemHandle parent, int count, const char* label);
int32_t readSignedField(Decoder& decoder, BitReader& bits, ItemHandle parent, int count, const char* label);

// RECT: "Rectangle" with its bit count and four signed coordinates in twips.
uint32_t readRectangle(Decoder& decoder, ItemHandle parent, uint32_t offset);
// MATRIX: optional scale and rotate pairs, then the translation.
uint32_t readMatrix(Decoder& decoder, ItemHandle parent, uint32_t offset);
// CXFORM: multiply terms, then add terms, each group present by its flag.
uint32_t readColorTransform(Decoder& decoder, ItemHandle parent, uint32_t offset);
// CXFORMWITHALPHA: the same with an alpha term in each group.
uint32_t readColorTransformWithAlpha(Decoder& decoder, ItemHandle parent, uint32_t offset);
// RGBA for shape version 3, RGB for every other version.
uint32_t readColor(Decoder& decoder, ItemHandle parent, uint32_t offset, int shapeVersion);
// A NUL-terminated string: one item over its characters and its zero. The end of the
// buffer reads as zeros, so a string cut off by it ends at the buffer's size.
uint32_t readString(Decoder& decoder, ItemHandle parent, uint32_t offset, const char* label);

} // namespace tagloom
