// The header, the tag walk, the tag table, the sprite's nested walk and the plug-in's
// entry points, through the recording engine.
#include <gtest/gtest.h>

#include <algorithm>

#include "decode_tag.h"
#include "exports.h"
#include "file_walk.h"
#include "recording_engine.h"
#include "swf_builder.h"
#include "tag_table.h"

using namespace testing_support;

QUILLON_EXPORT int32_t GetFileTypeString(char* buffer, int32_t capacity);
QUILLON_EXPORT uint32_t ParseFile(IParseEngine* engine);
QUILLON_EXPORT uint32_t ParseTagDatas(ItemHandle item);

namespace {

// The items of a whole file as the walk builds them; depth 0 is "Whole File".
std::vector<Item> walk(const Bytes& file, uint32_t* result = nullptr) {
    RecordingEngine engine(file);
    uint32_t end = tagloom::parseFile(&engine);
    if (result) *result = end;
    return engine.tree();
}

// The items below "Tags", with the tags at depth 1.
std::vector<Item> tagItems(const Bytes& file) {
    std::vector<Item> items = walk(file), below;
    auto tags = std::find_if(items.begin(), items.end(), [](const Item& i) { return i.name == "Tags"; });
    if (tags == items.end()) return below;
    for (auto it = tags + 1; it != items.end() && it->depth > tags->depth; ++it)
        below.push_back({it->depth - tags->depth, it->name, it->start, it->end});
    return below;
}

Bytes withBody(Bytes signature, size_t size) {
    signature.resize(size, 0);
    return signature;
}

TEST(Header, ACompressedFileShowsItsHeaderAndOneBlockOfCompressedTags) {
    uint32_t end = 0;
    EXPECT_EQ(walk(withBody({'C', 'W', 'S', 10, 108, 0, 0, 0}, 108), &end),
              (std::vector<Item>{{0, "Whole File", 0, 107},
                                 {1, "Header", 0, 7},
                                 {2, "Signature", 0, 2},
                                 {2, "Version", 3, 3},
                                 {2, "FileLength", 4, 7},
                                 {1, "Compressed Tags", 8, 107}}));
    EXPECT_EQ(end, 108u);
    EXPECT_TRUE(tagloom::lastFileWasCompressed());

    EXPECT_EQ(walk(withBody({'C', 'W', 'S', 10}, 8), &end).back(), (Item{2, "FileLength", 4, 7}));
    EXPECT_EQ(end, 8u);
}

TEST(Header, TheFrameRectangleSizesTheHeader) {
    uint32_t end = 0;
    Bytes file = movie({shortTag(1), shortTag(0)});
    EXPECT_EQ(walk(file, &end),
              (std::vector<Item>{{0, "Whole File", 0, 24},
                                 {1, "Header", 0, 20},
                                 {2, "Signature", 0, 2},
                                 {2, "Version", 3, 3},
                                 {2, "FileLength", 4, 7},
                                 {2, "FrameSize", 8, 16},
                                 {3, "Rectangle", 8, 16},
                                 {4, "Nbits (15)", 8, 8},
                                 {4, "Xmin (0=0.00 * 20 twips)", 8, 10},
                                 {4, "Xmax (11000=550.00 * 20 twips)", 10, 12},
                                 {4, "Ymin (0=0.00 * 20 twips)", 12, 14},
                                 {4, "Ymax (8000=400.00 * 20 twips)", 14, 16},
                                 {2, "FrameRate", 17, 18},
                                 {2, "FrameCount", 19, 20},
                                 {1, "Tags", 21, 24},
                                 {2, "tagShowFrame", 21, 22},
                                 {3, "TagID(0X1)", 21, 22},
                                 {3, "TagLength", 21, 22},
                                 {2, "tagEnd", 23, 24},
                                 {3, "TagID(0X0)", 23, 24},
                                 {3, "TagLength", 23, 24}}));
    EXPECT_EQ(end, 25u); // past the last tag: the builder pads nothing after End
    EXPECT_FALSE(tagloom::lastFileWasCompressed());
}

TEST(Header, HeaderSizeFollowsTheRectangleBitCount) {
    struct {
        uint8_t byte8;
        uint32_t size;
    } cases[] = {{0x00, 13}, {0x07, 13}, {0x08, 14}, {0x18, 15}, {0x78, 21}, {0x7F, 21}, {0xF8, 29}};
    for (const auto& c : cases) {
        Bytes file = withBody({'F', 'W', 'S', 6}, 9);
        file[8] = c.byte8;
        tagloom::ByteReader bytes(file.data(), static_cast<uint32_t>(file.size()));
        EXPECT_EQ(tagloom::headerSize(bytes), c.size) << int(c.byte8);
    }
}

TEST(TagWalk, ShortAndLongHeadersGiveTheirItems) {
    const uint32_t P = 21;
    struct Case {
        const char* name;
        Bytes tag;
        std::vector<Item> items;
    } cases[] = {
        {"show frame", {0x40, 0x00},
         {{1, "tagShowFrame", P, P + 1}, {2, "TagID(0X1)", P, P + 1}, {2, "TagLength", P, P + 1}}},
        {"unknown code 16 with data", {0x03, 0x04, 1, 2, 3},
         {{1, "UnknowTag(10)", P, P + 4},
          {2, "TagID(0X10)", P, P + 1},
          {2, "TagLength", P, P + 1},
          {2, "TagData", P + 2, P + 4}}},
        {"long form", {0x7F, 0x02, 4, 0, 0, 0, 1, 2, 3, 4},
         {{1, "tagSetBackgroundColor", P, P + 9},
          {2, "TagID(0X9)", P, P + 1},
          {2, "TagLength", P + 2, P + 5},
          {2, "TagData", P + 6, P + 9}}},
        {"long form of length 0", {0x3F, 0x00, 0, 0, 0, 0},
         {{1, "tagEnd", P, P + 5}, {2, "TagID(0X0)", P, P + 1}, {2, "TagLength", P + 2, P + 5}}},
        {"highest code", longTag(1023, {9}),
         {{1, "tagDefineBitsPtr", P, P + 6},
          {2, "TagID(0X3FF)", P, P + 1},
          {2, "TagLength", P + 2, P + 5},
          {2, "TagData", P + 6, P + 6}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(tagItems(movie({c.tag})), c.items);
    }
}

TEST(TagWalk, DataIsDeferredWithItsTagCodeAndTheWalkGoesOnAfterEnd) {
    Bytes file = movie({shortTag(0), shortTag(16, {1, 2, 3}), shortTag(1)});
    RecordingEngine engine(file);
    tagloom::parseFile(&engine);
    std::vector<Item> tags = tagItems(file);
    ASSERT_EQ(tags.size(), 10u);
    EXPECT_EQ(tags[0].name, "tagEnd");
    EXPECT_EQ(tags[3].name, "UnknowTag(10)");
    EXPECT_EQ(tags[7].name, "tagShowFrame");

    ItemHandle data = nullptr;
    engine.FindItemAt(25, &data);
    ASSERT_NE(data, nullptr);
    EXPECT_STREQ(data->name, "TagData");
    EXPECT_EQ(data->deferred, 1u);
    EXPECT_EQ(data->tagCode, 16u);
    size_t before = engine.itemCount();
    tagloom::decodeTagData(&engine, data); // a code without a row opens into nothing
    EXPECT_EQ(engine.itemCount(), before);
}

TEST(TagTable, NamesEveryRowAndOnlyThoseCodes) {
    struct {
        uint32_t code;
        const char* name;
    } rows[] = {{0, "tagEnd"},           {2, "tagDefineShape"},       {39, "tagDefineSprite"},
                {60, "stagDefineVideoStream"}, {61, "stagVideoFrame"}, {62, "stagDefineFontInfo2"},
                {64, "tagEnableDebugger2"}, {1023, "tagDefineBitsPtr"}};
    for (const auto& row : rows) {
        const tagloom::TagTableEntry* entry = tagloom::lookupTag(row.code);
        ASSERT_NE(entry, nullptr) << row.code;
        EXPECT_STREQ(entry->name, row.name);
    }
    int named = 0;
    for (uint32_t code = 0; code < 1024; ++code) named += tagloom::lookupTag(code) != nullptr;
    EXPECT_EQ(named, 58);
    for (uint32_t code : {16u, 27u, 30u, 44u, 53u, 54u, 55u, 63u, 65u, 1022u, 1024u})
        EXPECT_EQ(tagloom::lookupTag(code), nullptr) << code;
}

TEST(Sprite, NestedTagsAreDecodedAtOnceAndNeverDeferred) {
    const uint32_t at = 10;
    Bytes body = join({{7, 0, 1, 0}, shortTag(1), shortTag(0)});
    RecordingEngine engine(join({Bytes(at, 0), body}));
    ItemHandle data = engine.addTagData(at, at + 7, 39);
    EXPECT_EQ(tagloom::decodeTagData(&engine, data), at + 8);
    EXPECT_EQ(engine.tree(data), (std::vector<Item>{{1, "Character ID of sprite", at, at + 1},
                                                    {1, "Number of frames in sprite", at + 2, at + 3},
                                                    {1, "Tags in sprite", at + 4, at + 7},
                                                    {2, "tagShowFrame", at + 4, at + 5},
                                                    {3, "TagID(0X1)", at + 4, at + 5},
                                                    {3, "TagLength", at + 4, at + 5},
                                                    {2, "tagEnd", at + 6, at + 7},
                                                    {3, "TagID(0X0)", at + 6, at + 7},
                                                    {3, "TagLength", at + 6, at + 7}}));

    // A sprite of four bytes has no nested tags and an empty tag list.
    engine.setBytes(join({Bytes(at, 0), {7, 0, 1, 0}}));
    data = engine.addTagData(at, at + 3, 39);
    EXPECT_EQ(tagloom::decodeTagData(&engine, data), at + 4);
    EXPECT_EQ(engine.tree(data).back(), (Item{1, "Tags in sprite", at + 4, at + 3}));
}

TEST(Sprite, NestedDataIsOpenedWithItsOwnRangeAndNotDeferred) {
    Bytes inner = join({{2, 0, 1, 0}, shortTag(1)});
    Bytes body = join({{1, 0, 1, 0}, shortTag(39, inner), shortTag(16, {5})});
    RecordingEngine engine(body);
    ItemHandle data = engine.addTagData(0, static_cast<uint32_t>(body.size() - 1), 39);
    tagloom::decodeTagData(&engine, data);
    std::vector<Item> items = engine.tree(data);
    std::vector<Item> nested = itemsNamed(items, "TagData");
    ASSERT_EQ(nested.size(), 2u);
    EXPECT_EQ(nested[0], (Item{3, "TagData", 6, 11}));  // the inner sprite's data
    EXPECT_EQ(nested[1], (Item{3, "TagData", 14, 14})); // unknown code: items, no decoding
    EXPECT_EQ(itemsNamed(items, "Character ID of sprite").back(), (Item{4, "Character ID of sprite", 6, 7}));
    for (ItemHandle tag : engine.childrenOf(engine.childrenOf(data)[2])) {
        for (ItemHandle field : engine.childrenOf(tag)) EXPECT_EQ(field->deferred, 0u);
    }
}

TEST(EntryPoints, DeclareSwfAndOpenItemsWithTheEngineOfTheLastParse) {
    char buffer[260];
    std::fill(std::begin(buffer), std::end(buffer), 'x');
    EXPECT_EQ(GetFileTypeString(buffer, sizeof buffer), 4);
    EXPECT_STREQ(buffer, "swf");

    Bytes file = movie({shortTag(39, join({{1, 0, 1, 0}, shortTag(1)}))});
    RecordingEngine first(file), second(file);
    EXPECT_EQ(ParseFile(&first), file.size());
    EXPECT_EQ(ParseFile(&second), file.size());
    ItemHandle data = nullptr;
    second.FindItemAt(static_cast<uint32_t>(file.size() - 1), &data);
    ASSERT_NE(data, nullptr);
    size_t firstItems = first.itemCount();
    EXPECT_EQ(ParseTagDatas(data), file.size());
    EXPECT_EQ(first.itemCount(), firstItems);
    EXPECT_EQ(second.tree(data).front(), (Item{1, "Character ID of sprite", 23, 24}));
    EXPECT_EQ(ParseTagDatas(nullptr), 0u);
}

// Malformed files: each has a defined outcome, inside the buffer.
TEST(Malformed, EveryBrokenFileHasADefinedTree) {
    struct Case {
        const char* name;
        Bytes file;
        uint32_t result;
        std::vector<Item> tail; // the last items of the tree
    } cases[] = {
        {"empty file", {}, 13, {{2, "FrameRate", 9, 10}, {2, "FrameCount", 11, 12}}},
        {"shorter than 9 bytes", {'F', 'W', 'S', 6, 0, 0},
         13,
         {{4, "Ymax (0=0.00 * 20 twips)", 8, 8}, {2, "FrameRate", 9, 10}, {2, "FrameCount", 11, 12}}},
        {"tag header cut off after one byte", join({movie({}), {0x40}}),
         23,
         {{1, "Tags", 21, 21}, {2, "tagShowFrame", 21, 22}, {3, "TagID(0X1)", 21, 22}, {3, "TagLength", 21, 22}}},
        {"long header cut off in its length", join({movie({}), {0x7F, 0x02, 0x04}}),
         31,
         {{3, "TagLength", 23, 26}, {3, "TagData", 27, 30}}},
        {"data running past the end", join({movie({}), longTagDeclaring(39, 1000, {1, 0})}),
         1027,
         {{2, "tagDefineSprite", 21, 1026}, {3, "TagID(0X27)", 21, 22}, {3, "TagLength", 23, 26}, {3, "TagData", 27, 1026}}},
        {"length wrapping the offsets", join({movie({}), longTagDeclaring(9, 0xFFFFFFFF, {1, 2, 3}), shortTag(1)}),
         0xFFFFFFFF,
         {{2, "tagSetBackgroundColor", 21, 0xFFFFFFFF},
          {3, "TagID(0X9)", 21, 22},
          {3, "TagLength", 23, 26},
          {3, "TagData", 27, 0xFFFFFFFF}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        uint32_t result = 0;
        std::vector<Item> items = walk(c.file, &result);
        EXPECT_EQ(result, c.result);
        ASSERT_GE(items.size(), c.tail.size());
        EXPECT_EQ(std::vector<Item>(items.end() - c.tail.size(), items.end()), c.tail);
        // An empty file's whole range is empty: its end is one below its start.
        EXPECT_EQ(items.front(), (Item{0, "Whole File", 0, static_cast<uint32_t>(c.file.size() - 1)}));
    }
}

TEST(Malformed, OpeningDataThatRunsPastTheEndStopsAtTheEnd) {
    Bytes file = join({movie({}), longTagDeclaring(39, 0xFFFFFFF0, join({{1, 0, 1, 0}, shortTag(1), {0x7F}}))});
    RecordingEngine engine(file);
    tagloom::parseFile(&engine);
    ItemHandle data = nullptr;
    engine.FindItemAt(30, &data);
    ASSERT_NE(data, nullptr);
    ASSERT_EQ(data->tagCode, 39u);
    tagloom::decodeTagData(&engine, data);
    std::vector<Item> items = engine.tree(data);
    ASSERT_FALSE(items.empty());
    // The last nested tag starts at the buffer's last byte: its word reads 0x007F with a
    // zero past the end, a long header whose length is read as zeros.
    EXPECT_EQ(items.back(), (Item{3, "TagLength", 35, 38}));
}

Bytes nestedSprites(int depth) {
    Bytes body = join({{1, 0, 1, 0}, shortTag(1)});
    for (int level = 1; level < depth; ++level) body = join({{1, 0, 1, 0}, longTag(39, body)});
    return body;
}

TEST(Malformed, DeepSpriteNestingIsBounded) {
    Bytes body = nestedSprites(5000);
    RecordingEngine engine(body);
    ItemHandle data = engine.addTagData(0, static_cast<uint32_t>(body.size() - 1), 39);
    tagloom::decodeTagData(&engine, data);
    std::vector<Item> items = engine.tree(data);
    int deepest = 0;
    for (const Item& item : items) deepest = std::max(deepest, item.depth);
    // Each level is "Tags in sprite" > tag > "TagData" > its fields.
    EXPECT_EQ(deepest, 3 * (tagloom::kMaxSpriteDepth + 1));
    EXPECT_EQ(itemsNamed(items, "Tags in sprite").size(), size_t(tagloom::kMaxSpriteDepth + 1));
    // The deepest sprite shown keeps its tag items, with its data left unopened.
    EXPECT_EQ(items.back().name, "TagData");
}

TEST(Malformed, AnOpeningStopsAtItsItemBudgetAndSaysSo) {
    ByteWriter body;
    body.raw({1, 0, 1, 0});
    for (int i = 0; i < 1000; ++i) body.raw(shortTag(1));
    RecordingEngine engine(body.bytes());
    ItemHandle data = engine.addTagData(0, static_cast<uint32_t>(body.size() - 1), 39);
    tagloom::Decoder decoder(&engine, 100);
    tagloom::decodeDefineSprite(decoder, data, 0, static_cast<uint32_t>(body.size()));
    EXPECT_TRUE(decoder.out.stopped());
    std::vector<Item> items = engine.tree(data);
    EXPECT_EQ(items.size(), 100u);
    EXPECT_EQ(items.back().name, "Too many items: decoding stops here");

    // Real openings get a budget far above what any well-formed tag needs.
    EXPECT_GE(tagloom::itemBudget(0), 1000000u);
    EXPECT_GE(tagloom::itemBudget(1000), 1000000u + 8 * 1000);
}

TEST(Malformed, AFailedAddItemAddsNothingBelowTheMissingItem) {
    Bytes file = movie({shortTag(1), shortTag(0)});
    for (size_t allowed : {0, 1, 2, 5, 14, 15, 16}) {
        SCOPED_TRACE(allowed);
        RecordingEngine engine(file);
        engine.failAfter(allowed);
        tagloom::parseFile(&engine);
        EXPECT_EQ(engine.itemCount(), allowed);
        std::vector<Item> items = engine.tree();
        EXPECT_EQ(items.size(), allowed); // every item added is reachable from the root
        if (allowed) {
            EXPECT_EQ(items.front().name, "Whole File");
        }
    }
}

} // namespace
