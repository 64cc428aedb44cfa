#include "file_walk.h"

#include <algorithm>

#include "records.h"
#include "tag_table.h"

namespace tagloom {
namespace {

// Set by the header reader; the tag walk shows a compressed file's body as one item.
bool compressedFlag = false;

struct TagHeader {
    uint32_t code;
    uint32_t length;
    bool longForm;
    uint32_t dataStart;
    uint32_t next;     // offset of the following tag
    bool wrapped;      // the long-form length runs past the 32-bit offset range
};

// The tag word holds the code in its top ten bits and a short length in the low six;
// the short length 0x3F announces a 32-bit length after the word.
TagHeader readTagHeader(const ByteReader& bytes, uint32_t offset) {
    uint16_t word = bytes.u16(offset);
    TagHeader tag{};
    tag.code = word >> 6;
    tag.length = word & 0x3F;
    tag.longForm = tag.length == 0x3F;
    uint64_t dataStart = uint64_t{offset} + 2;
    if (tag.longForm) {
        tag.length = bytes.u32(offset + 2);
        dataStart = uint64_t{offset} + 6;
    }
    uint64_t next = dataStart + tag.length;
    // A tag that would run past the last 32-bit offset ends at it, and ends the walk.
    tag.wrapped = next > UINT32_MAX;
    tag.dataStart = static_cast<uint32_t>(std::min<uint64_t>(dataStart, UINT32_MAX));
    tag.next = static_cast<uint32_t>(std::min<uint64_t>(next, UINT32_MAX));
    return tag;
}

uint32_t lastByte(const TagHeader& tag) { return tag.wrapped ? UINT32_MAX : tag.next - 1; }

// The tag item with its "TagID" and "TagLength" children.
ItemHandle addTagItems(Decoder& decoder, ItemHandle parent, uint32_t offset, const TagHeader& tag) {
    const TagTableEntry* row = lookupTag(tag.code);
    ItemHandle item = row ? decoder.out.add(parent, offset, lastByte(tag), "%s", row->name)
                          : decoder.out.add(parent, offset, lastByte(tag), "UnknowTag(%X)", tag.code);
    decoder.out.add(item, offset, offset + 1, "TagID(0X%X)", tag.code);
    if (tag.longForm)
        decoder.out.add(item, offset + 2, offset + 5, "TagLength");
    else
        decoder.out.add(item, offset, offset + 1, "TagLength"); // code and length share the word
    return item;
}

ItemHandle readHeaderFields(Decoder& decoder, ItemHandle wholeFile, uint32_t size) {
    ItemHandle header = decoder.out.add(wholeFile, 0, size - 1, "Header");
    decoder.out.add(header, 0, 2, "Signature");
    compressedFlag = isCompressed(decoder.bytes);
    decoder.out.add(header, 3, 3, "Version");
    decoder.out.add(header, 4, 7, "FileLength");
    return header;
}

uint32_t readHeader(Decoder& decoder, ItemHandle wholeFile) {
    uint32_t size = headerSize(decoder.bytes);
    ItemHandle header = readHeaderFields(decoder, wholeFile, size);
    if (compressedFlag) return 8;
    ItemHandle frameSize = decoder.out.add(header, 8, size - 5, "FrameSize");
    readRectangle(decoder, frameSize, 8);
    decoder.out.add(header, size - 4, size - 3, "FrameRate");
    decoder.out.add(header, size - 2, size - 1, "FrameCount");
    return size;
}

uint32_t walkTags(Decoder& decoder, ItemHandle wholeFile, uint32_t headerEnd) {
    uint32_t size = decoder.bytes.size();
    if (compressedFlag) {
        decoder.out.add(wholeFile, 8, size - 1, "Compressed Tags");
        return size;
    }
    ItemHandle tags = decoder.out.add(wholeFile, headerEnd, size - 1, "Tags");
    uint32_t offset = headerEnd;
    while (offset < size && !decoder.out.stopped()) {
        TagHeader tag = readTagHeader(decoder.bytes, offset);
        ItemHandle item = addTagItems(decoder, tags, offset, tag);
        if (tag.length != 0) decoder.out.addDeferred(item, tag.dataStart, lastByte(tag), "TagData", tag.code);
        offset = tag.next;
        if (tag.wrapped) break;
    }
    return offset;
}

// Nested tags are decoded at once; a DefineSprite past the nesting bound keeps its
// tag items but is not opened, so no input can exhaust the stack.
void decodeNestedData(Decoder& decoder, ItemHandle data, const TagHeader& tag) {
    const TagTableEntry* row = lookupTag(tag.code);
    if (!row || !data) return;
    if (row->handler == decodeDefineSprite && decoder.spriteDepth >= kMaxSpriteDepth) return;
    ++decoder.spriteDepth;
    row->handler(decoder, data, tag.dataStart, tag.next - tag.dataStart);
    --decoder.spriteDepth;
}

} // namespace

bool isCompressed(const ByteReader& bytes) {
    return bytes.u8(0) == 0x43 && bytes.u8(1) == 0x57 && bytes.u8(2) == 0x53;
}

bool lastFileWasCompressed() { return compressedFlag; }

uint32_t headerSize(const ByteReader& bytes) {
    if (isCompressed(bytes)) return 8;
    uint32_t rectangleBits = bytes.u8(8) >> 3;
    return ((4 * rectangleBits + 12) >> 3) + 12;
}

uint32_t parseFile(IParseEngine* engine) {
    Decoder decoder(engine, UINT64_MAX); // the walk adds at most a few items per byte
    uint32_t size = decoder.bytes.size();
    ItemHandle wholeFile = decoder.out.addTopLevel(0, size - 1, "Whole File");
    uint32_t headerEnd = readHeader(decoder, wholeFile);
    if (headerEnd < size) return walkTags(decoder, wholeFile, headerEnd);
    return headerEnd;
}

uint32_t decodeTagData(IParseEngine* engine, ItemHandle item) {
    const TagTableEntry* row = lookupTag(item->tagCode);
    if (!row) return item->start;
    uint32_t count = item->end - item->start + 1;
    const uint8_t* data = nullptr;
    uint32_t size = 0;
    engine->GetData(&data, &size);
    // The budget grows with the bytes that are really there, not with a declared count.
    uint32_t present = ByteReader(data, size).inside(item->start) ? size - item->start : 0;
    Decoder decoder(engine, itemBudget(std::min(count, present)));
    return row->handler(decoder, item, item->start, count);
}

uint32_t decodeDefineSprite(Decoder& decoder, ItemHandle parent, uint32_t start, uint32_t count) {
    decoder.out.add(parent, start, start + 1, "Character ID of sprite");
    decoder.out.add(parent, start + 2, start + 3, "Number of frames in sprite");
    ItemHandle tags = decoder.out.add(parent, start + 4, start + count - 1, "Tags in sprite");
    uint64_t end = uint64_t{start} + count;
    uint64_t offset = uint64_t{start} + 4;
    while (offset < end && decoder.bytes.inside(offset) && !decoder.out.stopped()) {
        TagHeader tag = readTagHeader(decoder.bytes, static_cast<uint32_t>(offset));
        ItemHandle item = addTagItems(decoder, tags, static_cast<uint32_t>(offset), tag);
        if (tag.length != 0) decodeNestedData(decoder, decoder.out.add(item, tag.dataStart, lastByte(tag), "TagData"), tag);
        offset = tag.next;
        if (tag.wrapped) break;
    }
    return static_cast<uint32_t>(std::min<uint64_t>(offset, UINT32_MAX));
}

} // namespace tagloom
