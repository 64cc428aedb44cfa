// PLACEHOLDER: decoders of this family are being written; until then their tags
// open into nothing.
#include "tag_table.h"

namespace tagloom {

uint32_t decodeRemoveObject(Decoder&, ItemHandle, uint32_t start, uint32_t) { return start; }
uint32_t decodeSetBackgroundColor(Decoder&, ItemHandle, uint32_t start, uint32_t) { return start; }
uint32_t decodePlaceObject2(Decoder&, ItemHandle, uint32_t start, uint32_t) { return start; }
uint32_t decodeRemoveObject2(Decoder&, ItemHandle, uint32_t start, uint32_t) { return start; }
uint32_t decodeFrameLabel(Decoder&, ItemHandle, uint32_t start, uint32_t) { return start; }
uint32_t decodeExportAssets(Decoder&, ItemHandle, uint32_t start, uint32_t) { return start; }

} // namespace tagloom
