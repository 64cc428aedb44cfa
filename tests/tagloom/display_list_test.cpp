// Display-list and control tags: RemoveObject, SetBackgroundColor, PlaceObject2 with
// its clip actions header, RemoveObject2, FrameLabel and ExportAssets.
#include <gtest/gtest.h>

#include <map>

#include "corpus.h"
#include "decode_tag.h"
#include "tag_table.h"

using namespace testing_support;

namespace {

enum TagCode : uint32_t {
    kRemoveObject = 5,
    kSetBackgroundColor = 9,
    kPlaceObject2 = 26,
    kRemoveObject2 = 28,
    kFrameLabel = 43,
    kExportAssets = 56,
};

constexpr uint32_t kAt = 8; // the tag data follows an 8-byte file header

// Opens a tag whose data follows the first eight bytes of a file of the given version
// and ends the file. The items' offsets are relative to the start of the data.
std::vector<Item> decodeInFile(uint32_t code, const Bytes& data, uint8_t version) {
    RecordingEngine engine(join({{'F', 'W', 'S', version, 0, 0, 0, 0}, data}));
    std::vector<Item> items = engine.tree(openTag(engine, code, kAt, static_cast<uint32_t>(data.size())));
    for (Item& item : items) item.start -= kAt, item.end -= kAt;
    return items;
}

struct TagCase {
    const char* name;
    uint32_t code;
    Bytes data;
    std::vector<Item> items;
    uint8_t version = 5;
};

// The eight flag items of a PlaceObject2 flag byte, all over its first byte.
std::vector<Item> placeFlags(uint8_t flags) {
    const char* names[] = {"PlaceFlagHasClipActions", "PlaceFlagHasClipDepth",      "PlaceFlagHasName",
                           "PlaceFlagHasRatio",       "PlaceFlagHasColorTransform", "PlaceFlagHasMatrix",
                           "PlaceFlagHasCharacter",   "PlaceFlagMove"};
    std::vector<Item> items;
    for (int bit = 7; bit >= 0; --bit)
        items.push_back({1, std::string(names[7 - bit]) + "(" + std::to_string(flags >> bit & 1) + ")", 0, 0});
    return items;
}

std::vector<Item> operator+(std::vector<Item> first, const std::vector<Item>& second) {
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

const std::vector<Item> kEmptyMatrixAt5{{1, "Matrix", 5, 5},        {2, "HasScale = 0", 5, 5},
                                        {2, "HasRotate = 0", 5, 5}, {2, "TranslateBits = 0", 5, 5},
                                        {2, "TranslateX = 0", 5, 5}, {2, "TranslateY = 0", 5, 5}};

// A clip actions header after a flag byte and a depth, in a file of version 6: six zero
// bytes, all 19 event rows.
const std::vector<Item> kVersion6ClipActionsAt3{
    {1, "Clip Actions", 3, 3},
    {2, "Reserved", 3, 4},
    {2, "AllEventFlags", 5, 8},
    {3, "Reserved(0)", 5, 6},
    {3, "ClipEventKeyPress(0)", 6, 6},
    {3, "ClipEventDragOut(0)", 6, 6},
    {3, "ClipEventDragOver(0)", 6, 7},
    {3, "ClipEventRollOut(0)", 7, 7},
    {3, "ClipEventRollOver(0)", 7, 7},
    {3, "ClipEventReleaseOutside(0)", 7, 7},
    {3, "ClipEventRelease(0)", 7, 7},
    {3, "ClipEventPress(0)", 7, 7},
    {3, "ClipEventInitialize(0)", 7, 7},
    {3, "ClipEventData(0)", 7, 7},
    {3, "ClipEventKeyUp(0)", 7, 8},
    {3, "ClipEventKeyDown(0)", 8, 8},
    {3, "ClipEventMouseUp(0)", 8, 8},
    {3, "ClipEventMouseDown(0)", 8, 8},
    {3, "ClipEventMouseMove(0)", 8, 8},
    {3, "ClipEventUnload(0)", 8, 8},
    {3, "ClipEventEnterFrame(0)", 8, 8},
    {3, "ClipEventLoad(0)", 8, 8},
};

// Any other version reads the first 16 rows (29 bits, over four bytes), although
// "AllEventFlags" covers two.
std::vector<Item> otherVersionClipActionsAt3() {
    std::vector<Item> items(kVersion6ClipActionsAt3.begin(), kVersion6ClipActionsAt3.begin() + 3 + 16);
    items[2].end = 6; // "AllEventFlags"
    return items;
}

void expectDecodes(const TagCase& c) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(decodeInFile(c.code, c.data, c.version), c.items);
}

TEST(DisplayListTags, DecodeFieldByField) {
    const TagCase cases[] = {
        {"RemoveObject", kRemoveObject, {0x01, 0x00, 0x02, 0x00}, {{1, "CharacterId", 0, 1}, {1, "Depth", 2, 3}}},
        {"RemoveObject shorter than its layout", kRemoveObject, {0x01}, {{1, "CharacterId", 0, 1}, {1, "Depth", 2, 3}}},
        {"SetBackgroundColor",
         kSetBackgroundColor,
         {0x10, 0x20, 0x30},
         {{1, "Red", 0, 0}, {1, "Green", 1, 1}, {1, "Blue", 2, 2}}},
        {"RemoveObject2", kRemoveObject2, {0x01, 0x00}, {{1, "Depth", 0, 1}}},
        {"FrameLabel covers the whole data", kFrameLabel, {'f', 'r', 'a', 'm', 'e', 0x00}, {{1, "FrameLabel", 0, 5}}},
        {"ExportAssets pairs, counted by the data length",
         kExportAssets,
         {0x02, 0x00, /* id */ 0x01, 0x00, 'a', 0x00, /* id */ 0x02, 0x00, 'b', 'c', 0x00},
         {{1, "Number of assets to export", 0, 1},
          {1, "Character ID to export (0)", 2, 3},
          {1, "Identifier for exported character", 4, 5},
          {1, "Character ID to export (1)", 6, 7},
          {1, "Identifier for exported character", 8, 10}}},
        {"ExportAssets with a count only", kExportAssets, {0x05, 0x00}, {{1, "Number of assets to export", 0, 1}}},
        {"PlaceObject2 with a character and a matrix",
         kPlaceObject2,
         {0x06, /* depth */ 0x01, 0x00, /* character */ 0x02, 0x00, /* matrix */ 0x00},
         std::vector<Item>{{1, "PlaceFlagHasClipActions(0)", 0, 0},
                           {1, "PlaceFlagHasClipDepth(0)", 0, 0},
                           {1, "PlaceFlagHasName(0)", 0, 0},
                           {1, "PlaceFlagHasRatio(0)", 0, 0},
                           {1, "PlaceFlagHasColorTransform(0)", 0, 0},
                           {1, "PlaceFlagHasMatrix(1)", 0, 0},
                           {1, "PlaceFlagHasCharacter(1)", 0, 0},
                           {1, "PlaceFlagMove(0)", 0, 0},
                           {1, "Depth", 1, 2},
                           {1, "CharacterId", 3, 4}} +
             kEmptyMatrixAt5},
        {"PlaceObject2 moving a depth only", kPlaceObject2, {0x01, 0x01, 0x00}, placeFlags(0x01) + std::vector<Item>{{1, "Depth", 1, 2}}},
        {"PlaceObject2 with an empty name",
         kPlaceObject2,
         {0x22, 0x01, 0x00, 0x02, 0x00, 0x00},
         placeFlags(0x22) + std::vector<Item>{{1, "Depth", 1, 2}, {1, "CharacterId", 3, 4}, {1, "Name", 5, 5}}},
        {"PlaceObject2 with a colour transform before the ratio",
         kPlaceObject2,
         {0x18, 0x01, 0x00, /* colour transform */ 0x00, /* ratio */ 0x07, 0x00},
         placeFlags(0x18) + std::vector<Item>{{1, "Depth", 1, 2},
                                              {1, "ColorTransform", 3, 3},
                                              {2, "HasAddTerms(0)", 3, 3},
                                              {2, "HasMultTerms(0)", 3, 3},
                                              {2, "Bits in each value field(0)", 3, 3},
                                              {1, "Ratio", 4, 5}}},
        {"PlaceObject2 fields in their fixed order",
         kPlaceObject2,
         {0x7E, 0x01, 0x00, /* character */ 0x02, 0x00, /* matrix */ 0x00, /* colour transform */ 0x00,
          /* ratio */ 0x03, 0x00, /* name */ 'n', 0x00, /* clip depth */ 0x04, 0x00},
         placeFlags(0x7E) + std::vector<Item>{{1, "Depth", 1, 2}, {1, "CharacterId", 3, 4}} + kEmptyMatrixAt5 +
             std::vector<Item>{{1, "ColorTransform", 6, 6},
                               {2, "HasAddTerms(0)", 6, 6},
                               {2, "HasMultTerms(0)", 6, 6},
                               {2, "Bits in each value field(0)", 6, 6},
                               {1, "Ratio", 7, 8},
                               {1, "Name", 9, 10},
                               {1, "Clip depth", 11, 12}}},
        {"clip actions header in a version 6 file",
         kPlaceObject2,
         {0x80, 0x01, 0x00, 0, 0, 0, 0, 0, 0},
         placeFlags(0x80) + std::vector<Item>{{1, "Depth", 1, 2}} + kVersion6ClipActionsAt3,
         6},
        {"clip actions header in a version 5 file",
         kPlaceObject2,
         {0x80, 0x01, 0x00, 0, 0, 0, 0, 0, 0},
         placeFlags(0x80) + std::vector<Item>{{1, "Depth", 1, 2}} + otherVersionClipActionsAt3(),
         5},
        {"clip actions header in a version 7 file",
         kPlaceObject2,
         {0x80, 0x01, 0x00, 0, 0, 0, 0, 0, 0},
         placeFlags(0x80) + std::vector<Item>{{1, "Depth", 1, 2}} + otherVersionClipActionsAt3(),
         7},
    };
    for (const TagCase& c : cases) expectDecodes(c);
}

// Each clip event shows its own bit: a pattern of alternating bits after the reserved
// field tells a wrong order from the right one.
TEST(DisplayListTags, ClipEventsReadTheirBitsInTableOrder) {
    Bytes eventFlags = BitWriter().bits(0b10'0000'0000'0011, 14).bits(0b1010'1010'1010'1010'10, 18).bytes();
    std::vector<Item> items =
        decodeInFile(kPlaceObject2, join({{0x80, 0x01, 0x00, /* reserved */ 0x00, 0x00}, eventFlags}), 6);
    std::vector<std::string> flags;
    for (const Item& item : items)
        if (item.depth == 3) flags.push_back(item.name);
    EXPECT_EQ(flags, (std::vector<std::string>{
                         "Reserved(8195)", "ClipEventKeyPress(1)", "ClipEventDragOut(0)", "ClipEventDragOver(1)",
                         "ClipEventRollOut(0)", "ClipEventRollOver(1)", "ClipEventReleaseOutside(0)",
                         "ClipEventRelease(1)", "ClipEventPress(0)", "ClipEventInitialize(1)", "ClipEventData(0)",
                         "ClipEventKeyUp(1)", "ClipEventKeyDown(0)", "ClipEventMouseUp(1)", "ClipEventMouseDown(0)",
                         "ClipEventMouseMove(1)", "ClipEventUnload(0)", "ClipEventEnterFrame(1)", "ClipEventLoad(0)"}));
}

// Strings and fields cut off by the end of the file: bytes past the end read as zeros,
// so a string ends at the file's size, and the pairs of ExportAssets stop there.
TEST(DisplayListTags, DataCutOffByTheEndOfTheFile) {
    const TagCase cases[] = {
        {"an exported identifier without its zero",
         kExportAssets,
         {0x01, 0x00, 0x01, 0x00, 'a', 'b'},
         {{1, "Number of assets to export", 0, 1},
          {1, "Character ID to export (0)", 2, 3},
          {1, "Identifier for exported character", 4, 6}}},
        {"an exported pair cut after its id",
         kExportAssets,
         {0x01, 0x00, 0x01},
         {{1, "Number of assets to export", 0, 1},
          {1, "Character ID to export (0)", 2, 3},
          {1, "Identifier for exported character", 4, 4}}},
        {"a PlaceObject2 name without its zero, then the fields it announces",
         kPlaceObject2,
         {0x60, 0x01, 0x00, 'n', 'a'},
         placeFlags(0x60) + std::vector<Item>{{1, "Depth", 1, 2}, {1, "Name", 3, 5}, {1, "Clip depth", 6, 7}}},
        {"a PlaceObject2 flag byte alone", kPlaceObject2, {0x04},
         placeFlags(0x04) + std::vector<Item>{{1, "Depth", 1, 2}} +
             std::vector<Item>{{1, "Matrix", 3, 3}, {2, "HasScale = 0", 3, 3}, {2, "HasRotate = 0", 3, 3},
                               {2, "TranslateBits = 0", 3, 3}, {2, "TranslateX = 0", 3, 3},
                               {2, "TranslateY = 0", 3, 3}}},
    };
    for (const TagCase& c : cases) expectDecodes(c);
}

TEST(DisplayListTags, ExportedPairsStopAtTheEndOfTheFileWhateverTheDeclaredCount) {
    RecordingEngine engine(Bytes(64, 0x41)); // no zero anywhere
    std::vector<Item> items = engine.tree(openTag(engine, kExportAssets, 10, 0xFFFF0000u));
    EXPECT_EQ(items, (std::vector<Item>{{1, "Number of assets to export", 10, 11},
                                        {1, "Character ID to export (0)", 12, 13},
                                        {1, "Identifier for exported character", 14, 64}}));
}

// When AddItem fails part way, the decode adds nothing more: what is there is the
// beginning of the full tree.
TEST(DisplayListTags, AFailedAddItemLeavesAPrefixOfTheTree) {
    Bytes file = join({{'F', 'W', 'S', 6, 0, 0, 0, 0},
                       {0xFE, 0x01, 0x00, 0x02, 0x00, 0x0A, 0x3E, 0x80, 0x00, 0x03, 0x00, 'n', 0x00, 0x04, 0x00},
                       Bytes(6, 0)});
    uint32_t count = static_cast<uint32_t>(file.size()) - kAt;
    RecordingEngine full(file);
    std::vector<Item> expected = full.tree(openTag(full, kPlaceObject2, kAt, count));
    ASSERT_EQ(expected.size(), 45u);
    for (size_t limit = 0; limit <= expected.size(); ++limit) {
        SCOPED_TRACE(limit);
        RecordingEngine engine(file);
        ItemHandle parent = engine.addTagData(kAt, kAt + count - 1, kPlaceObject2);
        engine.failAfter(limit);
        tagloom::Decoder decoder(&engine, 1000);
        tagloom::decodePlaceObject2(decoder, parent, kAt, count);
        EXPECT_EQ(engine.tree(parent), std::vector<Item>(expected.begin(), expected.begin() + limit));
    }
}

// Real files: no field of these tags reaches outside its tag data, and the strings of
// FrameLabel and ExportAssets end with it.
TEST(DisplayListTagsInTheCorpus, FieldsStayInsideTheTagData) {
    std::map<uint32_t, int> opened;
    std::map<const CorpusFile*, RecordingEngine> engines;
    for (const CorpusTag& tag :
         corpusTags({kRemoveObject, kSetBackgroundColor, kPlaceObject2, kRemoveObject2, kFrameLabel, kExportAssets})) {
        SCOPED_TRACE(tag.file->path + " @" + std::to_string(tag.offset));
        RecordingEngine& engine = engines.try_emplace(tag.file, tag.file->bytes).first->second;
        std::vector<Item> items = engine.tree(openTag(engine, tag.code, tag.dataStart, tag.length));
        uint64_t dataEnd = uint64_t{tag.dataStart} + tag.length; // exclusive
        ASSERT_FALSE(items.empty());
        for (const Item& item : items) {
            EXPECT_GE(item.start, tag.dataStart) << item.name;
            EXPECT_LT(item.end, dataEnd) << item.name;
        }
        if (tag.code == kFrameLabel || tag.code == kExportAssets) {
            EXPECT_EQ(items.back().end + uint64_t{1}, dataEnd);
        }
        ++opened[tag.code];
    }
    EXPECT_GT(opened[kPlaceObject2], 1000);
    EXPECT_GT(opened[kRemoveObject], 0);
    EXPECT_GT(opened[kSetBackgroundColor], 100);
    EXPECT_GT(opened[kRemoveObject2], 10);
    EXPECT_GT(opened[kFrameLabel], 10);
    EXPECT_GT(opened[kExportAssets], 10);
}

} // namespace
