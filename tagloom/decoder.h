// What every decoder works with: the engine, the bounded reader over its buffer and
// the emitter, shared by one opening of a tag (and the nested decodes of a sprite).
#pragma once

#include <cstdint>

#include "bit_reader.h"
#include "byte_reader.h"
#include "emitter.h"
#include "parse_engine.h"

namespace tagloom {

struct Decoder {
    Decoder(IParseEngine* engine, uint64_t itemBudget);

    IParseEngine* engine;
    ByteReader bytes;
    Emitter out;
    int spriteDepth = 0; // DefineSprite tags being decoded around the current one
};

// Items that one opening of a tag may add: far more than any well-formed tag needs,
// few enough that no input can make the tree grow without bound.
uint64_t itemBudget(uint32_t dataBytes);

// Sprites nested deeper than this still get their tag items but are not decoded.
constexpr int kMaxSpriteDepth = 32;

// The decoder of one tag's data: the parent is the tag's "TagData" item, `start` its
// first byte and `count` its byte count. Returns the offset just past what it decoded.
using TagDataHandler = uint32_t (*)(Decoder& decoder, ItemHandle parent, uint32_t start, uint32_t count);

} // namespace tagloom
