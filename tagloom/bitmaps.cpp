// PLACEHOLDER: decoders of this family are being written; until then their tags
// open into nothing.
#include "tag_table.h"

namespace tagloom {

uint32_t decodeDefineBits(Decoder&, ItemHandle, uint32_t start, uint32_t) { return start; }
uint32_t decodeJPEGTables(Decoder&, ItemHandle, uint32_t start, uint32_t) { return start; }
uint32_t decodeDefineBitsLossless(Decoder&, ItemHandle, uint32_t start, uint32_t) { return start; }
uint32_t decodeDefineBitsJPEG2(Decoder&, ItemHandle, uint32_t start, uint32_t) { return start; }
uint32_t decodeDefineBitsJPEG3(Decoder&, ItemHandle, uint32_t start, uint32_t) { return start; }
uint32_t decodeDefineBitsLossless2(Decoder&, ItemHandle, uint32_t start, uint32_t) { return start; }

} // namespace tagloom
