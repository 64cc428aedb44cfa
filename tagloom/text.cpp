// DefineFont, DefineText and DefineFontInfo2. They show structure, not content: one raw
// range per glyph outline, one per text record's glyph entries, and the font name and
// character codes without their text. Groups here get their final range when added.
#include "records.h"
#include "tag_table.h"

namespace tagloom {
namespace {

// The items on a text record's flags byte. The first repeats the label of the text's
// glyph bit count.
const char* const kTextRecordFlags[] = {"GlyphBits",         "StyleFlagsReserved",   "StyleFlagsHasFont",
                                        "StyleFlagsHasColor", "StyleFlagsHasYOffset", "StyleFlagsHasXOffset"};

struct TextRecordField {
    uint8_t flag; // the bit of the flags byte that calls for the field
    uint32_t size;
    const char* label;
};

// The optional fields of a text record in the order they are stored: the font flag
// brings the font id and, after the offsets, the height; the x offset comes before the
// y offset although its flag is the lower bit. The colour is always RGB.
const TextRecordField kTextRecordFields[] = {
    {0x08, 2, "FontID"}, {0x04, 3, "TextColor"}, {0x01, 2, "XOffset"}, {0x02, 2, "YOffset"}, {0x08, 2, "TextHeight"},
};

// All on the one flags byte; the flags' values are not decoded.
const char* const kFontFlags[] = {"FontFlagsReserved", "FontFlagsSmallText", "FontFlagsShiftJIS",
                                  "FontFlagsANSI",     "FontFlagsItalic",    "FontFlagsBold",
                                  "FontFlagsWideCodes"};

// ---- DefineFont ----

// The offsets count only through their differences: glyph k takes offset[k+1] -
// offset[k] bytes, laid end to end from the end of the offset table, and the last
// glyph runs to the end of the tag. A negative difference gives a glyph whose end lies
// before its start, and the next glyph starts that much earlier; glyph k thus starts
// offset[k] bytes after the offset table's start (one less when the first offset is
// odd), never before the tag's data. A glyph that would start past the end of the
// buffer ends the table.
void readGlyphShapes(Decoder& decoder, ItemHandle table, uint32_t offsets, uint32_t glyphs, uint32_t last) {
    int64_t at = int64_t{offsets} + 2 * int64_t{glyphs};
    for (uint32_t k = 0; k < glyphs && decoder.bytes.inside(static_cast<uint64_t>(at)) && !decoder.out.stopped();
         ++k) {
        int64_t size = int64_t{decoder.bytes.u16(offsets + 2 * uint64_t{k + 1})} -
                       int64_t{decoder.bytes.u16(offsets + 2 * uint64_t{k})};
        uint32_t end = k + 1 == glyphs ? last : static_cast<uint32_t>(at + size - 1);
        decoder.out.add(table, static_cast<uint32_t>(at), end, "GlyphShapeTable %d", k);
        at += size;
    }
}

// ---- DefineText ----

// One text record: the flag items, the fields the flags call for, the glyph count and
// the glyph entries as one range of whole bytes. Returns the offset of the next record.
uint32_t readTextRecord(Decoder& decoder, ItemHandle records, uint32_t offset, uint32_t entryBits) {
    uint8_t flags = decoder.bytes.u8(offset);
    for (const char* label : kTextRecordFlags) decoder.out.add(records, offset, offset, "%s", label);
    uint32_t at = offset + 1;
    for (const TextRecordField& field : kTextRecordFields) {
        if (!(flags & field.flag)) continue;
        decoder.out.add(records, at, at + field.size - 1, "%s", field.label);
        at += field.size;
    }
    uint32_t glyphs = decoder.bytes.u8(at);
    decoder.out.add(records, at, at, "GlyphCount");
    uint32_t entryBytes = (glyphs * entryBits + 7) / 8;
    decoder.out.add(records, at + 1, at + entryBytes, "GlyphEntries");
    return at + 1 + entryBytes;
}

} // namespace

uint32_t decodeDefineFont(Decoder& decoder, ItemHandle parent, uint32_t start, uint32_t count) {
    uint32_t last = start + count - 1;
    decoder.out.add(parent, start, start + 1, "FontID");
    uint32_t offsets = start + 2;
    uint32_t tableBytes = decoder.bytes.u16(offsets);
    uint32_t glyphs = tableBytes / 2; // the first offset is also the size of the offset table
    ItemHandle offsetTable = decoder.out.add(parent, offsets, offsets + tableBytes - 1, "Offset Table");
    for (uint32_t k = 0; k < glyphs && decoder.bytes.inside(offsets + 2 * uint64_t{k}) && !decoder.out.stopped(); ++k)
        decoder.out.add(offsetTable, offsets + 2 * k, offsets + 2 * k + 1, "Offset Item %d", k);
    ItemHandle shapes = decoder.out.add(parent, offsets + 2 * glyphs, last, "GlyphShapeTable");
    if (glyphs == 0) return offsets;
    readGlyphShapes(decoder, shapes, offsets, glyphs, last);
    return last + 1;
}

// The records end at a zero flags byte and nowhere else, so a stream without one runs
// on past the tag; the buffer's end reads as that zero byte.
uint32_t decodeDefineText(Decoder& decoder, ItemHandle parent, uint32_t start, uint32_t count) {
    uint32_t last = start + count - 1;
    decoder.out.add(parent, start, start + 1, "CharacterID");
    uint32_t at = readRectangle(decoder, parent, start + 2);
    at = readMatrix(decoder, parent, at);
    uint32_t glyphBits = decoder.bytes.u8(at);
    decoder.out.add(parent, at, at, "GlyphBits");
    uint32_t advanceBits = decoder.bytes.u8(at + 1);
    decoder.out.add(parent, at + 1, at + 1, "AdvanceBits");
    ItemHandle records = decoder.out.add(parent, at + 2, last, "Text Records");
    uint32_t record = at + 2;
    while (decoder.bytes.u8(record) != 0 && !decoder.out.stopped())
        record = readTextRecord(decoder, records, record, glyphBits + advanceBits);
    decoder.out.add(records, record, record, "EndOfRecordsFlag");
    return record + 1;
}

uint32_t decodeDefineFontInfo2(Decoder& decoder, ItemHandle parent, uint32_t start, uint32_t count) {
    uint32_t last = start + count - 1;
    decoder.out.add(parent, start, start + 1, "FontID");
    uint32_t nameLength = decoder.bytes.u8(start + 2);
    decoder.out.add(parent, start + 2, start + 2, "Font Name Len");
    decoder.out.add(parent, start + 3, start + 2 + nameLength, "Font Name");
    uint32_t flags = start + 3 + nameLength;
    for (const char* label : kFontFlags) decoder.out.add(parent, flags, flags, "%s", label);
    decoder.out.add(parent, flags + 1, flags + 1, "LanguageCode");
    uint32_t table = flags + 2;
    ItemHandle codeTable = decoder.out.add(parent, table, last, "CodeTable");
    if (table > last) return table;
    // Every code is two bytes, the wide-codes flag notwithstanding; an odd last byte
    // still starts a code.
    uint32_t codes = (last - table) / 2 + 1;
    uint32_t at = table;
    for (uint32_t k = 0; k < codes && decoder.bytes.inside(at) && !decoder.out.stopped(); ++k, at += 2)
        decoder.out.add(codeTable, at, at + 1, "Code %d", k);
    return at;
}

} // namespace tagloom
