// DefineMorphShape: only the head of the tag is shown, the character id, the start
// and end bounds and the offset field. The styles and edges that follow stay undivided
// inside the tag data.
#include "records.h"
#include "tag_table.h"

namespace tagloom {
namespace {

// A group around one rectangle record; returns the offset just past the rectangle.
uint32_t readBounds(Decoder& decoder, ItemHandle parent, uint32_t offset, const char* label) {
    Group bounds(decoder.out, parent, offset, label);
    uint32_t next = readRectangle(decoder, bounds.handle(), offset);
    bounds.close(next - 1);
    return next;
}

} // namespace

// The tag's length is not consulted: a tag too short for its head gets items that
// reach past its data.
uint32_t decodeDefineMorphShape(Decoder& decoder, ItemHandle parent, uint32_t start, uint32_t) {
    decoder.out.add(parent, start, start + 1, "Character ID");
    uint32_t endBounds = readBounds(decoder, parent, start + 2, "StartBounds");
    uint32_t offsetField = readBounds(decoder, parent, endBounds, "EndBounds");
    decoder.out.add(parent, offsetField, offsetField + 3, "Offset");
    return offsetField + 4;
}

} // namespace tagloom
