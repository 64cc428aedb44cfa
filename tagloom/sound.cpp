// PLACEHOLDER: decoders of this family are being written; until then their tags
// open into nothing.
#include "tag_table.h"

namespace tagloom {

uint32_t decodeDefineSound(Decoder&, ItemHandle, uint32_t start, uint32_t) { return start; }
uint32_t decodeStartSound(Decoder&, ItemHandle, uint32_t start, uint32_t) { return start; }
uint32_t decodeSoundStreamHead(Decoder&, ItemHandle, uint32_t start, uint32_t) { return start; }
uint32_t decodeSoundStreamHead2(Decoder&, ItemHandle, uint32_t start, uint32_t) { return start; }

} // namespace tagloom
