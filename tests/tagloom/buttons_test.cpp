// DefineButton2: header fields, button records with their matrix and colour transform,
// and the zero byte that ends the record list.
#include <gtest/gtest.h>

#include "corpus.h"
#include "decode_tag.h"
#include "opened_tag.h"
#include "swf_builder.h"

using namespace testing_support;

namespace {

constexpr uint32_t kDefineButton2 = 34;

std::vector<Expected> concat(std::vector<std::vector<Expected>> parts) {
    std::vector<Expected> all;
    for (auto& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

// ButtonId, TrackAsMenu and ActionOffset.
std::vector<Expected> header() { return {{1, "ButtonId", 0, 1}, {1, "TrackAsMenu", 2, 2}, {1, "ActionOffset", 3, 4}}; }

// A record at `at` whose matrix and colour transform are the single byte 0x00 each;
// `states` are the four state bits, hit test first.
std::vector<Expected> plainRecord(int64_t at, const char* states) {
    auto state = [&](const char* label, int i) { return std::string(label) + "(" + states[i] + ")"; };
    return {{1, "ButtonRecord", at, at},
            {2, "ButtonReserved", at, at},
            {2, state("ButtonStateHitTest", 0), at, at},
            {2, state("ButtonStateDown", 1), at, at},
            {2, state("ButtonStateOver", 2), at, at},
            {2, state("ButtonStateUp", 3), at, at},
            {2, "CharacterID", at + 1, at + 2},
            {2, "PlaceDepth", at + 3, at + 4},
            {2, "Matrix", at + 5, at + 5},
            {3, "HasScale = 0", at + 5, at + 5},
            {3, "HasRotate = 0", at + 5, at + 5},
            {3, "TranslateBits = 0", at + 5, at + 5},
            {3, "TranslateX = 0", at + 5, at + 5},
            {3, "TranslateY = 0", at + 5, at + 5},
            {2, "ColorTransformWithAlpha", at + 6, at + 6},
            {3, "HasAddTerms(0)", at + 6, at + 6},
            {3, "HasMultTerms(0)", at + 6, at + 6},
            {3, "Bits in each value field(0)", at + 6, at + 6}};
}

Bytes plainRecordBytes(uint8_t flags) { return {flags, 0x02, 0x00, 0x01, 0x00, 0x00, 0x00}; }

const Bytes kHeader{0x01, 0x00, 0x00, 0x00, 0x00}; // id 1, not a menu, no actions

TEST(DefineButton2, DecodesRecordsUpToTheEndFlag) {
    // A record with a translation and a colour transform with 8-bit multiply terms.
    Bytes translated{0x08, 0x03, 0x00, 0x02, 0x00, // hit test only, character 3, depth 2
                     0x0A, 0x3E, 0x80};            // matrix: translate 5 bits, 3 and -3
    Bytes transform = BitWriter().bits(0, 1).bits(1, 1).bits(8, 4).bits(0x80, 8).bits(0x81, 8).bits(0x82, 8).bits(0xFF, 8)
                          .bytes();
    Bytes actions{0x00, 0x00, 0x08, 0x00, 0x07, 0x00}; // one condition with a Stop action
    std::vector<TagCase> cases = {
        {"one record showing in every state", kDefineButton2, join({kHeader, plainRecordBytes(0x0F), {0x00}}),
         concat({header(), plainRecord(5, "1111"), {{1, "CharacterEndFlag", 12, 12}}}), 13},
        {"state bits of 0x21; bit 5 only in the reserved byte", kDefineButton2,
         join({kHeader, plainRecordBytes(0x21), {0x00}}),
         concat({header(), plainRecord(5, "0001"), {{1, "CharacterEndFlag", 12, 12}}}), 13},
        {"a first byte of zero is the end flag of an empty list", kDefineButton2,
         join({kHeader, {0x00}, plainRecordBytes(0x0F)}), concat({header(), {{1, "CharacterEndFlag", 5, 5}}}), 6},
        {"a flags byte without any state bit is still a record", kDefineButton2,
         join({kHeader, plainRecordBytes(0x40), {0x00}}),
         concat({header(), plainRecord(5, "0000"), {{1, "CharacterEndFlag", 12, 12}}}), 13},
        {"two records, one end flag under the tag data", kDefineButton2,
         join({kHeader, plainRecordBytes(0x01), plainRecordBytes(0x06), {0x00}}),
         concat({header(), plainRecord(5, "0001"), plainRecord(12, "0110"), {{1, "CharacterEndFlag", 19, 19}}}), 20},
        {"matrix and colour transform fields; the actions after the list get no items", kDefineButton2,
         join({{0x05, 0x00, 0x01, 0x10, 0x00}, translated, transform, {0x00}, actions}),
         concat({{{1, "ButtonId", 0, 1}, {1, "TrackAsMenu", 2, 2}, {1, "ActionOffset", 3, 4}},
                 {{1, "ButtonRecord", 5, 5},
                  {2, "ButtonReserved", 5, 5},
                  {2, "ButtonStateHitTest(1)", 5, 5},
                  {2, "ButtonStateDown(0)", 5, 5},
                  {2, "ButtonStateOver(0)", 5, 5},
                  {2, "ButtonStateUp(0)", 5, 5},
                  {2, "CharacterID", 6, 7},
                  {2, "PlaceDepth", 8, 9},
                  {2, "Matrix", 10, 12},
                  {3, "HasScale = 0", 10, 10},
                  {3, "HasRotate = 0", 10, 10},
                  {3, "TranslateBits = 5", 10, 10},
                  {3, "TranslateX = 3", 10, 11},
                  {3, "TranslateY = -3", 11, 12},
                  {2, "ColorTransformWithAlpha", 13, 13},
                  {3, "HasAddTerms(0)", 13, 13},
                  {3, "HasMultTerms(1)", 13, 13},
                  {3, "Bits in each value field(8)", 13, 13},
                  {3, "RedMultTerm(128)", 14, 14},
                  {3, "GreenMultTerm(129)", 15, 15},
                  {3, "BlueMultTerm(130)", 16, 16},
                  {3, "AlphaMultTerm(255)", 17, 17},
                  {1, "CharacterEndFlag", 18, 18}}}),
         19},
    };
    expectTagCases(cases);
}

TEST(DefineButton2, MalformedListsEndWithoutLeavingTheTag) {
    std::vector<Expected> missingAfterOne = concat({header(), plainRecord(5, "1111"), {{1, "CharacterEndFlag missing", 12, 11}}});
    std::vector<TagCase> cases = {
        {"no end byte before the end of the file", kDefineButton2, join({kHeader, plainRecordBytes(0x0F)}),
         missingAfterOne, 12},
        {"no end byte in the tag: the next tag's bytes are not records", kDefineButton2,
         join({kHeader, plainRecordBytes(0x0F), {0x40, 0x00, 0x0F, 0x01}}), missingAfterOne, 12, 12},
        {"a record cut off by the end of the file reads as zeros", kDefineButton2, join({kHeader, {0x0F, 0x02}}),
         concat({header(), plainRecord(5, "1111"), {{1, "CharacterEndFlag missing", 12, 11}}}), 12},
        {"only the header", kDefineButton2, join({kHeader, {0x0F, 0x02, 0x00}}),
         concat({header(), {{1, "CharacterEndFlag missing", 5, 4}}}), 5, 5},
        {"a header cut short by the end of the file", kDefineButton2, {0x01, 0x00, 0x00},
         concat({header(), {{1, "CharacterEndFlag missing", 5, 4}}}), 5},
    };
    expectTagCases(cases);
}

TEST(DefineButton2, AFailedItemEndsTheDecodeWithoutOrphans) {
    Bytes data = join({kHeader, plainRecordBytes(0x0F), plainRecordBytes(0x01), {0x00}});
    std::vector<Item> full = openBody(kDefineButton2, data).items;
    ASSERT_EQ(full.size(), 3u + 18 + 18 + 1);
    for (size_t allowed = 0; allowed <= full.size(); ++allowed) {
        SCOPED_TRACE(allowed);
        std::vector<Item> items = openBody(kDefineButton2, data, 0, allowed).items;
        // What was added is the start of the full decode, in order; only the group
        // items that could not be closed keep their provisional end.
        ASSERT_EQ(items.size(), allowed);
        for (size_t i = 0; i < items.size(); ++i) {
            EXPECT_EQ(items[i].name, full[i].name);
            EXPECT_EQ(items[i].start, full[i].start);
        }
    }
}

// A record item per record, each one byte long, and the end flag: in a button with
// actions, the flag is the byte just before the first action condition that
// "ActionOffset" points at; without actions it is the last byte of the tag.
//
// The offset counts from the start of its own field. The FreeHEP writer counts it (and
// the size of each action condition) from the end of the field instead, two bytes
// later; its conditions are where its offsets say under that reading.
TEST(DefineButton2, EveryCorpusButtonEndsItsRecordsWhereItsActionsBegin) {
    std::vector<CorpusTag> tags = corpusTagsWithData({kDefineButton2});
    ASSERT_FALSE(tags.empty());
    size_t withActions = 0;
    for (const CorpusTag& tag : tags) {
        SCOPED_TRACE(where(tag));
        Opened opened = openCorpusTag(tag);
        expectItemsInsideTheData(tag, opened.items);
        std::vector<Item> flags = itemsNamed(opened.items, "CharacterEndFlag");
        ASSERT_EQ(flags.size(), 1u);
        EXPECT_TRUE(itemsNamed(opened.items, "CharacterEndFlag missing").empty());
        for (const Item& record : itemsNamed(opened.items, "ButtonRecord")) EXPECT_EQ(record.start, record.end);
        EXPECT_EQ(opened.next, flags[0].end + 1);
        const Bytes& bytes = tag.file->bytes;
        uint32_t actionOffset = bytes[tag.dataStart + 3] | bytes[tag.dataStart + 4] << 8;
        if (actionOffset != 0) {
            ++withActions;
            bool countsFromFieldEnd = tag.file->path.find("/freehep/") != std::string::npos;
            uint32_t firstCondition = tag.dataStart + 3 + (countsFromFieldEnd ? 2 : 0) + actionOffset;
            EXPECT_EQ(flags[0].start, firstCondition - 1);
        } else {
            EXPECT_EQ(flags[0].start, tag.dataStart + tag.length - 1);
        }
    }
    EXPECT_GT(withActions, 0u);
}

} // namespace
