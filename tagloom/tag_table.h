// The tag table: for every known tag code, the label of its tag item and the decoder
// of its data. It is the one place that says which decoder a tag has.
#pragma once

#include <cstdint>

#include "decoder.h"

namespace tagloom {

struct TagTableEntry {
    uint32_t code;
    TagDataHandler handler;
    const char* name;
};

// The row of the code, or null when the table has none.
const TagTableEntry* lookupTag(uint32_t code);

// Adds nothing and returns its start offset: the decoder of tags that are named only.
uint32_t doNothing(Decoder& decoder, ItemHandle parent, uint32_t start, uint32_t count);

// The sprite handler: the nested tag walk of DefineSprite.
uint32_t decodeDefineSprite(Decoder& decoder, ItemHandle parent, uint32_t start, uint32_t count);

// Shapes and styles.
uint32_t decodeDefineShape(Decoder& decoder, ItemHandle parent, uint32_t start, uint32_t count);
uint32_t decodeDefineShape2(Decoder& decoder, ItemHandle parent, uint32_t start, uint32_t count);
uint32_t decodeDefineShape3(Decoder& decoder, ItemHandle parent, uint32_t start, uint32_t count);
// Morph shapes.
uint32_t decodeDefineMorphShape(Decoder& decoder, ItemHandle parent, uint32_t start, uint32_t count);
// Fonts and text.
uint32_t decodeDefineFont(Decoder& decoder, ItemHandle parent, uint32_t start, uint32_t count);
uint32_t decodeDefineText(Decoder& decoder, ItemHandle parent, uint32_t start, uint32_t count);
uint32_t decodeDefineFontInfo2(Decoder& decoder, ItemHandle parent, uint32_t start, uint32_t count);
// Action records.
uint32_t decodeDoAction(Decoder& decoder, ItemHandle parent, uint32_t start, uint32_t count);
// Display list and control tags.
uint32_t decodeRemoveObject(Decoder& decoder, ItemHandle parent, uint32_t start, uint32_t count);
uint32_t decodeSetBackgroundColor(Decoder& decoder, ItemHandle parent, uint32_t start, uint32_t count);
uint32_t decodePlaceObject2(Decoder& decoder, ItemHandle parent, uint32_t start, uint32_t count);
uint32_t decodeRemoveObject2(Decoder& decoder, ItemHandle parent, uint32_t start, uint32_t count);
uint32_t decodeFrameLabel(Decoder& decoder, ItemHandle parent, uint32_t start, uint32_t count);
uint32_t decodeExportAssets(Decoder& decoder, ItemHandle parent, uint32_t start, uint32_t count);
// Buttons.
uint32_t decodeDefineButton2(Decoder& decoder, ItemHandle parent, uint32_t start, uint32_t count);
// Sound.
uint32_t decodeDefineSound(Decoder& decoder, ItemHandle parent, uint32_t start, uint32_t count);
uint32_t decodeStartSound(Decoder& decoder, ItemHandle parent, uint32_t start, uint32_t count);
uint32_t decodeSoundStreamHead(Decoder& decoder, ItemHandle parent, uint32_t start, uint32_t count);
uint32_t decodeSoundStreamHead2(Decoder& decoder, ItemHandle parent, uint32_t start, uint32_t count);
// Bitmaps.
uint32_t decodeDefineBits(Decoder& decoder, ItemHandle parent, uint32_t start, uint32_t count);
uint32_t decodeJPEGTables(Decoder& decoder, ItemHandle parent, uint32_t start, uint32_t count);
uint32_t decodeDefineBitsLossless(Decoder& decoder, ItemHandle parent, uint32_t start, uint32_t count);
uint32_t decodeDefineBitsJPEG2(Decoder& decoder, ItemHandle parent, uint32_t start, uint32_t count);
uint32_t decodeDefineBitsJPEG3(Decoder& decoder, ItemHandle parent, uint32_t start, uint32_t count);
uint32_t decodeDefineBitsLossless2(Decoder& decoder, ItemHandle parent, uint32_t start, uint32_t count);

} // namespace tagloom
