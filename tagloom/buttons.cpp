// DefineButton2: the header fields and the list of button records, each with its state
// flags, character, depth, matrix and colour transform. The button's action lists after
// the record list get no items; "ActionOffset" is shown but not followed.
#include "records.h"
#include "tag_table.h"

namespace tagloom {
namespace {

// The low four bits of a record's flags byte: the states in which the character shows.
// Bits 7 to 4 are shown only as the whole byte.
struct ButtonState {
    int bit;
    const char* label;
};
const ButtonState kButtonStates[] = {
    {3, "ButtonStateHitTest(%d)"},
    {2, "ButtonStateDown(%d)"},
    {1, "ButtonStateOver(%d)"},
    {0, "ButtonStateUp(%d)"},
};

// One button record at `at`; returns the offset of the byte after its colour transform.
// The "ButtonRecord" item covers only the flags byte; the fields are its children.
uint32_t readButtonRecord(Decoder& decoder, ItemHandle parent, uint32_t at) {
    uint8_t flags = decoder.bytes.u8(at);
    ItemHandle record = decoder.out.add(parent, at, at, "ButtonRecord");
    decoder.out.add(record, at, at, "ButtonReserved");
    for (const ButtonState& state : kButtonStates) decoder.out.add(record, at, at, state.label, flags >> state.bit & 1);
    decoder.out.add(record, at + 1, at + 2, "CharacterID");
    decoder.out.add(record, at + 3, at + 4, "PlaceDepth");
    uint32_t next = readMatrix(decoder, record, at + 5);
    return readColorTransformWithAlpha(decoder, record, next);
}

// The record list from `cursor` up to its zero end byte; leaves the cursor just past
// that byte and returns it. A zero byte where a record would begin ends the list, the
// first one included: a button without characters holds the end byte alone, and
// reading it as a record would run into what follows.
//
// Well-formed lists end inside their tag, so no record is read that would start at
// or past the end of the tag's data or of the file: what lies there belongs to the
// next tag. A list that runs out without its end byte is marked with an empty item
// where the byte should have been, and the cursor stays there.
uint32_t readButtonRecords(Decoder& decoder, ItemHandle parent, uint32_t& cursor, uint64_t dataEnd) {
    while (!decoder.out.stopped()) {
        if (cursor >= dataEnd || !decoder.bytes.inside(cursor)) {
            decoder.out.add(parent, cursor, cursor - 1, "CharacterEndFlag missing");
            break;
        }
        if (decoder.bytes.u8(cursor) == 0) {
            decoder.out.add(parent, cursor, cursor, "CharacterEndFlag");
            ++cursor;
            break;
        }
        uint32_t next = readButtonRecord(decoder, parent, cursor);
        if (next <= cursor) break; // only an offset that wrapped could fail to advance
        cursor = next;
    }
    return cursor;
}

} // namespace

uint32_t decodeDefineButton2(Decoder& decoder, ItemHandle parent, uint32_t start, uint32_t count) {
    decoder.out.add(parent, start, start + 1, "ButtonId");
    decoder.out.add(parent, start + 2, start + 2, "TrackAsMenu");
    decoder.out.add(parent, start + 3, start + 4, "ActionOffset");
    uint32_t cursor = start + 5;
    return readButtonRecords(decoder, parent, cursor, uint64_t{start} + count);
}

} // namespace tagloom
