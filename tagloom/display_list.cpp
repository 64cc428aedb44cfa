// Display-list and control tags: RemoveObject, SetBackgroundColor, PlaceObject2 with
// the header of its clip actions, RemoveObject2, FrameLabel and ExportAssets.
#include <algorithm>
#include <array>

#include "records.h"
#include "tag_table.h"

namespace tagloom {
namespace {

// The flag byte of PlaceObject2, from bit 7 down.
const std::array<const char*, 8> kPlaceFlags{{
    "PlaceFlagHasClipActions(%d)",
    "PlaceFlagHasClipDepth(%d)",
    "PlaceFlagHasName(%d)",
    "PlaceFlagHasRatio(%d)",
    "PlaceFlagHasColorTransform(%d)",
    "PlaceFlagHasMatrix(%d)",
    "PlaceFlagHasCharacter(%d)",
    "PlaceFlagMove(%d)",
}};

enum PlaceFlag { kHasClipActions, kHasClipDepth, kHasName, kHasRatio, kHasColorTransform, kHasMatrix, kHasCharacter, kMove };

struct ClipEventEntry {
    uint32_t bits;
    const char* name;
};

const std::array<ClipEventEntry, 19> kClipEvents{{
    {14, "Reserved"},
    {1, "ClipEventKeyPress"},
    {1, "ClipEventDragOut"},
    {1, "ClipEventDragOver"},
    {1, "ClipEventRollOut"},
    {1, "ClipEventRollOver"},
    {1, "ClipEventReleaseOutside"},
    {1, "ClipEventRelease"},
    {1, "ClipEventPress"},
    {1, "ClipEventInitialize"},
    {1, "ClipEventData"},
    {1, "ClipEventKeyUp"},
    {1, "ClipEventKeyDown"},
    {1, "ClipEventMouseUp"},
    {1, "ClipEventMouseDown"},
    {1, "ClipEventMouseMove"},
    {1, "ClipEventUnload"},
    {1, "ClipEventEnterFrame"},
    {1, "ClipEventLoad"},
}};

// Only files of version 6 read the last three events; every other version stops after
// the first sixteen rows (29 bits).
constexpr size_t kClipEventsOutsideVersion6 = 16;

// The event flags are shown; the clip action records after them are not decoded.
uint32_t readClipActionsHeader(Decoder& decoder, ItemHandle parent, uint32_t offset) {
    bool version6 = decoder.bytes.u8(3) == 6;
    ItemHandle clipActions = decoder.out.add(parent, offset, offset, "Clip Actions");
    decoder.out.add(clipActions, offset, offset + 1, "Reserved");
    offset += 2;
    ItemHandle flags = decoder.out.add(clipActions, offset, offset + (version6 ? 3 : 1), "AllEventFlags");
    BitReader bits(decoder.bytes, offset);
    size_t rows = version6 ? kClipEvents.size() : kClipEventsOutsideVersion6;
    for (size_t row = 0; row < rows; ++row) {
        uint32_t first = bits.index();
        uint32_t value = bits.readUnsigned(static_cast<int>(kClipEvents[row].bits));
        decoder.out.add(flags, first, bits.index(), "%s(%d)", kClipEvents[row].name, value);
    }
    return bits.index(); // the byte of the last flag, not aligned
}

} // namespace

uint32_t decodeRemoveObject(Decoder& decoder, ItemHandle parent, uint32_t start, uint32_t) {
    decoder.out.add(parent, start, start + 1, "CharacterId");
    decoder.out.add(parent, start + 2, start + 3, "Depth");
    return start + 4;
}

uint32_t decodeSetBackgroundColor(Decoder& decoder, ItemHandle parent, uint32_t start, uint32_t) {
    decoder.out.add(parent, start, start, "Red");
    decoder.out.add(parent, start + 1, start + 1, "Green");
    decoder.out.add(parent, start + 2, start + 2, "Blue");
    return start + 3;
}

uint32_t decodeRemoveObject2(Decoder& decoder, ItemHandle parent, uint32_t start, uint32_t) {
    decoder.out.add(parent, start, start + 1, "Depth");
    return start + 2;
}

uint32_t decodeFrameLabel(Decoder& decoder, ItemHandle parent, uint32_t start, uint32_t count) {
    decoder.out.add(parent, start, start + count - 1, "FrameLabel");
    return start + count;
}

// The pairs are counted by the data length; the count field is only shown.
uint32_t decodeExportAssets(Decoder& decoder, ItemHandle parent, uint32_t start, uint32_t count) {
    decoder.out.add(parent, start, start + 1, "Number of assets to export");
    uint64_t end = uint64_t{start} + count;
    uint64_t offset = uint64_t{start} + 2;
    for (int index = 0; offset < end && decoder.bytes.inside(offset) && !decoder.out.stopped(); ++index) {
        uint32_t at = static_cast<uint32_t>(offset);
        decoder.out.add(parent, at, at + 1, "Character ID to export (%d)", index);
        offset = readString(decoder, parent, at + 2, "Identifier for exported character");
    }
    return static_cast<uint32_t>(std::min<uint64_t>(offset, UINT32_MAX));
}

// The optional fields follow in this order whatever the order of their flags.
uint32_t decodePlaceObject2(Decoder& decoder, ItemHandle parent, uint32_t start, uint32_t) {
    BitReader bits(decoder.bytes, start);
    std::array<bool, kPlaceFlags.size()> has{};
    for (size_t flag = 0; flag < kPlaceFlags.size(); ++flag) {
        has[flag] = bits.readUnsigned(1) != 0;
        decoder.out.add(parent, start, start, kPlaceFlags[flag], has[flag] ? 1 : 0);
    }
    decoder.out.add(parent, start + 1, start + 2, "Depth");
    uint32_t offset = start + 3;
    if (has[kHasCharacter]) {
        decoder.out.add(parent, offset, offset + 1, "CharacterId");
        offset += 2;
    }
    if (has[kHasMatrix]) offset = readMatrix(decoder, parent, offset);
    if (has[kHasColorTransform]) offset = readColorTransform(decoder, parent, offset);
    if (has[kHasRatio]) {
        decoder.out.add(parent, offset, offset + 1, "Ratio");
        offset += 2;
    }
    if (has[kHasName]) offset = readString(decoder, parent, offset, "Name");
    if (has[kHasClipDepth]) {
        decoder.out.add(parent, offset, offset + 1, "Clip depth");
        offset += 2;
    }
    if (has[kHasClipActions]) offset = readClipActionsHeader(decoder, parent, offset);
    return offset;
}

} // namespace tagloom
