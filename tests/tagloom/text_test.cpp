// DefineFont, DefineText and DefineFontInfo2: their items for hand-written data,
// malformed and cut-off data, and the fonts and texts of the corpus.
#include <gtest/gtest.h>

#include <map>

#include "corpus.h"
#include "decode_tag.h"
#include "opened_tag.h"
#include "swf_builder.h"

using namespace testing_support;

namespace {

constexpr uint32_t kDefineFont = 10;
constexpr uint32_t kDefineText = 11;
constexpr uint32_t kDefineFontInfo2 = 62;

using Items = std::vector<Expected>;

// The seven items on DefineFontInfo2's flags byte.
Items fontFlags(uint32_t at) {
    return {{1, "FontFlagsReserved", at, at}, {1, "FontFlagsSmallText", at, at}, {1, "FontFlagsShiftJIS", at, at},
            {1, "FontFlagsANSI", at, at},     {1, "FontFlagsItalic", at, at},    {1, "FontFlagsBold", at, at},
            {1, "FontFlagsWideCodes", at, at}};
}

Items concat(std::initializer_list<Items> parts) {
    Items all;
    for (const Items& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

// The items that open DefineText data with an empty rectangle and matrix (bytes 2 and
// 3) and the two bit counts at 4 and 5.
const Items kTextHead = {{1, "CharacterID", 0, 1},
                         {1, "Rectangle", 2, 2},
                         {2, "Nbits (0)", 2, 2},
                         {2, "Xmin (0=0.00 * 20 twips)", 2, 2},
                         {2, "Xmax (0=0.00 * 20 twips)", 2, 2},
                         {2, "Ymin (0=0.00 * 20 twips)", 2, 2},
                         {2, "Ymax (0=0.00 * 20 twips)", 2, 2},
                         {1, "Matrix", 3, 3},
                         {2, "HasScale = 0", 3, 3},
                         {2, "HasRotate = 0", 3, 3},
                         {2, "TranslateBits = 0", 3, 3},
                         {2, "TranslateX = 0", 3, 3},
                         {2, "TranslateY = 0", 3, 3},
                         {1, "GlyphBits", 4, 4},
                         {1, "AdvanceBits", 5, 5}};

// The six items on a text record's flags byte.
Items recordFlags(uint32_t at) {
    return {{2, "GlyphBits", at, at},           {2, "StyleFlagsReserved", at, at},
            {2, "StyleFlagsHasFont", at, at},   {2, "StyleFlagsHasColor", at, at},
            {2, "StyleFlagsHasYOffset", at, at}, {2, "StyleFlagsHasXOffset", at, at}};
}

TEST(DefineFont, SplitsTheOffsetTableAndTheGlyphsByTheirOffsets) {
    expectTagCases({
        {"two glyphs",
         kDefineFont,
         {0x01, 0x00, 0x04, 0x00, 0x06, 0x00, 0x10, 0x00, 0x10, 0x00, 0x00},
         {{1, "FontID", 0, 1},
          {1, "Offset Table", 2, 5},
          {2, "Offset Item 0", 2, 3},
          {2, "Offset Item 1", 4, 5},
          {1, "GlyphShapeTable", 6, 10},
          {2, "GlyphShapeTable 0", 6, 7},
          {2, "GlyphShapeTable 1", 8, 10}},
         11},
        {"no glyphs",
         kDefineFont,
         {0x01, 0x00, 0x00, 0x00},
         {{1, "FontID", 0, 1}, {1, "Offset Table", 2, 1}, {1, "GlyphShapeTable", 2, 3}},
         2},
        {"an odd first offset: the table item takes its bytes, the glyphs start after whole offsets",
         kDefineFont,
         {0x01, 0x00, 0x05, 0x00, 0x07, 0x00, 0xAA, 0xBB, 0xCC, 0xDD},
         {{1, "FontID", 0, 1},
          {1, "Offset Table", 2, 6},
          {2, "Offset Item 0", 2, 3},
          {2, "Offset Item 1", 4, 5},
          {1, "GlyphShapeTable", 6, 9},
          {2, "GlyphShapeTable 0", 6, 7},
          {2, "GlyphShapeTable 1", 8, 9}},
         10},
        {"a negative difference: the glyph ends before it starts, and the next starts earlier",
         kDefineFont,
         {0x01, 0x00, 0x06, 0x00, 0x0A, 0x00, 0x08, 0x00, 1, 2, 3, 4, 5, 6},
         {{1, "FontID", 0, 1},
          {1, "Offset Table", 2, 7},
          {2, "Offset Item 0", 2, 3},
          {2, "Offset Item 1", 4, 5},
          {2, "Offset Item 2", 6, 7},
          {1, "GlyphShapeTable", 8, 13},
          {2, "GlyphShapeTable 0", 8, 11},
          {2, "GlyphShapeTable 1", 12, 9},
          {2, "GlyphShapeTable 2", 10, 13}},
         14},
        {"an offset table of 32767 offsets in a six-byte buffer stops at the buffer's end",
         kDefineFont,
         {0x01, 0x00, 0xFE, 0xFF, 0x00, 0x00},
         {{1, "FontID", 0, 1},
          {1, "Offset Table", 2, 0xFFFF},
          {2, "Offset Item 0", 2, 3},
          {2, "Offset Item 1", 4, 5},
          {1, "GlyphShapeTable", 0x10000, 5}},
         6},
    });
}

TEST(DefineText, ShowsTheRecordsAsFlatItemsUpToTheZeroByte) {
    expectTagCases({
        {"one record with every field",
         kDefineText,
         {0x01, 0x00, 0x00, 0x00, 0x08, 0x08,
          0x8F, 0x02, 0x00, 0xFF, 0x00, 0x00, 0x0A, 0x00, 0x14, 0x00, 0xF0, 0x00, // flags, font, colour, x, y, height
          0x02, 0x00, 0x05, 0x01, 0x06,                                           // two glyphs of 16 bits
          0x00},
         concat({kTextHead,
                 {{1, "Text Records", 6, 23}},
                 recordFlags(6),
                 {{2, "FontID", 7, 8},
                  {2, "TextColor", 9, 11},
                  {2, "XOffset", 12, 13},
                  {2, "YOffset", 14, 15},
                  {2, "TextHeight", 16, 17},
                  {2, "GlyphCount", 18, 18},
                  {2, "GlyphEntries", 19, 22},
                  {2, "EndOfRecordsFlag", 23, 23}}}),
         24},
        {"flag 0x01 is the x offset and 0x02 the y offset; glyphs of no bits take no bytes",
         kDefineText,
         {0x01, 0x00, 0x00, 0x00, 0x00, 0x00,
          0x81, 0x0A, 0x00, 0x00, // x offset, no glyphs
          0x82, 0x14, 0x00, 0x03, // y offset, three glyphs of 0 bits
          0x00},
         concat({kTextHead,
                 {{1, "Text Records", 6, 14}},
                 recordFlags(6),
                 {{2, "XOffset", 7, 8}, {2, "GlyphCount", 9, 9}, {2, "GlyphEntries", 10, 9}},
                 recordFlags(10),
                 {{2, "YOffset", 11, 12},
                  {2, "GlyphCount", 13, 13},
                  {2, "GlyphEntries", 14, 13},
                  {2, "EndOfRecordsFlag", 14, 14}}}),
         15},
        {"three glyphs of 5 + 6 bits take 33 bits, rounded up to 5 bytes",
         kDefineText,
         {0x01, 0x00, 0x00, 0x00, 0x05, 0x06, 0x80, 0x03, 1, 2, 3, 4, 5, 0x00},
         concat({kTextHead,
                 {{1, "Text Records", 6, 13}},
                 recordFlags(6),
                 {{2, "GlyphCount", 7, 7}, {2, "GlyphEntries", 8, 12}, {2, "EndOfRecordsFlag", 13, 13}}}),
         14},
        {"no records",
         kDefineText,
         {0x01, 0x00, 0x00, 0x00, 0x08, 0x08, 0x00},
         concat({kTextHead, {{1, "Text Records", 6, 6}, {2, "EndOfRecordsFlag", 6, 6}}}),
         7},
        {"records without their zero byte run on past the tag",
         kDefineText,
         {0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01, 0x0A, 0x00, 0x00, 0x00},
         concat({kTextHead,
                 {{1, "Text Records", 6, 6}},
                 recordFlags(6),
                 {{2, "XOffset", 7, 8},
                  {2, "GlyphCount", 9, 9},
                  {2, "GlyphEntries", 10, 9},
                  {2, "EndOfRecordsFlag", 10, 10}}}),
         11, 7},
        {"glyph entries cut off by the end of the buffer: its end reads as the zero byte",
         kDefineText,
         {0x01, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0x04, 0x01, 0x02, 0x03, 0xFF, 0x00},
         concat({kTextHead,
                 {{1, "Text Records", 6, 11}},
                 recordFlags(6),
                 {{2, "TextColor", 7, 9},
                  {2, "GlyphCount", 10, 10},
                  {2, "GlyphEntries", 11, 11 + 16257 - 1}, // 255 glyphs of 510 bits
                  {2, "EndOfRecordsFlag", 11 + 16257, 11 + 16257}}}),
         11 + 16257 + 1},
    });
}

TEST(DefineFontInfo2, ShowsTheNameTheFlagsAndTwoByteCodes) {
    const Items head = {{1, "FontID", 0, 1}, {1, "Font Name Len", 2, 2}};
    expectTagCases({
        {"a name of four letters and two codes",
         kDefineFontInfo2,
         {0x03, 0x00, 0x04, 'A', 'r', 'i', 'l', 0x01, 0x00, 0x41, 0x00, 0x42, 0x00},
         concat({head,
                 {{1, "Font Name", 3, 6}},
                 fontFlags(7),
                 {{1, "LanguageCode", 8, 8}, {1, "CodeTable", 9, 12}, {2, "Code 0", 9, 10}, {2, "Code 1", 11, 12}}}),
         13},
        {"an empty name; a code table of three bytes has two codes, the second reaching past the tag",
         kDefineFontInfo2,
         {0x03, 0x00, 0x00, 0x01, 0x00, 0x41, 0x00, 0x42},
         concat({head,
                 {{1, "Font Name", 3, 2}},
                 fontFlags(3),
                 {{1, "LanguageCode", 4, 4}, {1, "CodeTable", 5, 7}, {2, "Code 0", 5, 6}, {2, "Code 1", 7, 8}}}),
         9},
        {"an empty code table",
         kDefineFontInfo2,
         {0x03, 0x00, 0x00, 0x01, 0x00},
         concat({head, {{1, "Font Name", 3, 2}}, fontFlags(3),
                 {{1, "LanguageCode", 4, 4}, {1, "CodeTable", 5, 4}}}),
         5},
        {"a name length that carries the code table past the tag",
         kDefineFontInfo2,
         {0x03, 0x00, 0x09, 'A'},
         concat({head,
                 {{1, "Font Name", 3, 11}},
                 fontFlags(12),
                 {{1, "LanguageCode", 13, 13}, {1, "CodeTable", 14, 3}}}),
         14},
        {"a declared length past the end of the buffer: the codes stop at the buffer's end",
         kDefineFontInfo2,
         {0x03, 0x00, 0x00, 0x01, 0x00, 0x41, 0x00, 0x42, 0x00},
         concat({head,
                 {{1, "Font Name", 3, 2}},
                 fontFlags(3),
                 {{1, "LanguageCode", 4, 4}, {1, "CodeTable", 5, 99}, {2, "Code 0", 5, 6}, {2, "Code 1", 7, 8}}}),
         9, 100},
    });
}

// When AddItem fails, the decode adds nothing more: what came before the failure is the
// start of what a full decode adds, and nothing hangs under a missing handle.
TEST(FontsAndText, AFailedItemEndsTheDecodeWithoutOrphans) {
    const struct {
        uint32_t code;
        Bytes data;
    } cases[] = {
        {kDefineFont, {0x01, 0x00, 0x04, 0x00, 0x06, 0x00, 0x10, 0x00, 0x10, 0x00, 0x00}},
        {kDefineText,
         {0x01, 0x00, 0x00, 0x00, 0x08, 0x08, 0x8F, 0x02, 0x00, 0xFF, 0x00, 0x00, 0x0A, 0x00, 0x14, 0x00, 0xF0, 0x00,
          0x02, 0x00, 0x05, 0x01, 0x06, 0x00}},
        {kDefineFontInfo2, {0x03, 0x00, 0x04, 'A', 'r', 'i', 'l', 0x01, 0x00, 0x41, 0x00, 0x42, 0x00}},
    };
    for (const auto& c : cases) {
        std::vector<Item> full = openBody(c.code, c.data).items;
        for (size_t allowed = 0; allowed < full.size(); ++allowed) {
            SCOPED_TRACE("tag " + std::to_string(c.code) + " failing after " + std::to_string(allowed));
            std::vector<Item> items = openBody(c.code, c.data, 0, allowed).items;
            ASSERT_EQ(items.size(), allowed);
            for (size_t i = 0; i < allowed; ++i) EXPECT_EQ(items[i].name, full[i].name);
        }
    }
}

// The children of the first item named `group`, in order.
std::vector<Item> childrenOf(const std::vector<Item>& items, const std::string& group) {
    std::vector<Item> children;
    for (size_t i = 0; i < items.size(); ++i) {
        if (items[i].name != group) continue;
        for (size_t j = i + 1; j < items.size() && items[j].depth > items[i].depth; ++j)
            if (items[j].depth == items[i].depth + 1) children.push_back(items[j]);
        break;
    }
    return children;
}

// Children that follow one another without gap or overlap from `first` to `last`.
void expectTiling(const std::vector<Item>& children, uint32_t first, uint32_t last) {
    ASSERT_FALSE(children.empty());
    uint32_t next = first;
    for (const Item& child : children) {
        EXPECT_EQ(child.start, next) << child;
        next = child.end + 1;
    }
    EXPECT_EQ(next, last + 1);
}

// Well-formed fonts lay their glyphs end to end up to the tag's last byte, their
// texts end with the zero byte in the last byte, and their code tables fill the rest.
TEST(FontsAndText, CorpusFontsAndTextsFillTheirDataExactly) {
    std::map<uint32_t, int> opened;
    for (const CorpusTag& tag : corpusTagsWithData({kDefineFont, kDefineText, kDefineFontInfo2})) {
        SCOPED_TRACE(where(tag));
        uint32_t last = tag.dataStart + tag.length - 1;
        Opened decoded = openCorpusTag(tag);
        ++opened[tag.code];
        EXPECT_EQ(decoded.next, last + 1);
        expectItemsInsideTheData(tag, decoded.items);
        if (tag.code == kDefineFont) {
            std::vector<Item> glyphs = childrenOf(decoded.items, "GlyphShapeTable");
            uint32_t first = itemsNamed(decoded.items, "Offset Table").at(0).end + 1;
            EXPECT_EQ(glyphs.size(), childrenOf(decoded.items, "Offset Table").size());
            expectTiling(glyphs, first, last);
        } else if (tag.code == kDefineText) {
            EXPECT_EQ(itemsNamed(decoded.items, "EndOfRecordsFlag"),
                      (std::vector<Item>{{2, "EndOfRecordsFlag", last, last}}));
        } else {
            std::vector<Item> codeTable = itemsNamed(decoded.items, "CodeTable");
            ASSERT_EQ(codeTable.size(), 1u);
            expectTiling(childrenOf(decoded.items, "CodeTable"), codeTable[0].start, last);
        }
    }
    EXPECT_GT(opened[kDefineFont], 0);
    EXPECT_GT(opened[kDefineText], 0);
    EXPECT_GT(opened[kDefineFontInfo2], 0);
}

} // namespace
