// The SWF header and the tag walk, at the top level and inside sprites.
#pragma once

#include <cstdint>

#include "decoder.h"

namespace tagloom {

// Builds the top-level items of the file the engine holds: "Whole File", the header
// and the tag list with deferred tag data. Returns the offset where the walk ended.
uint32_t parseFile(IParseEngine* engine);

// Opens one deferred "TagData" item with the decoder of its tag code. Returns the
// decoder's result, or the item's start when the code has no row.
uint32_t decodeTagData(IParseEngine* engine, ItemHandle item);

// The size of the SWF header: 8 for a compressed (CWS) file, otherwise the fixed
// fields plus the frame-size rectangle whose bit count is the top five bits of byte 8.
uint32_t headerSize(const ByteReader& bytes);

// True when the file begins with the letters CWS.
bool isCompressed(const ByteReader& bytes);

// The compressed flag of the last file header read in this process.
bool lastFileWasCompressed();

} // namespace tagloom
