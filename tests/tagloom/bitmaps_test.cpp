// DefineBits, JPEGTables, DefineBitsLossless(2) and DefineBitsJPEG2/3: header fields
// and the image data as raw ranges.
#include <gtest/gtest.h>

#include "corpus.h"
#include "decode_tag.h"
#include "opened_tag.h"
#include "swf_builder.h"

using namespace testing_support;

namespace {

constexpr uint32_t kDefineBits = 6;
constexpr uint32_t kJPEGTables = 8;
constexpr uint32_t kDefineBitsLossless = 20;
constexpr uint32_t kDefineBitsJPEG2 = 21;
constexpr uint32_t kDefineBitsJPEG3 = 35;
constexpr uint32_t kDefineBitsLossless2 = 36;

std::vector<Expected> lossless(std::vector<Expected> colorTable, int64_t dataStart, int64_t last) {
    std::vector<Expected> items = {{1, "CharacterID", 0, 1},
                                   {1, "BitmapFormat", 2, 2},
                                   {1, "BitmapWidth", 3, 4},
                                   {1, "BitmapHeight", 5, 6}};
    items.insert(items.end(), colorTable.begin(), colorTable.end());
    items.push_back({1, "ZlibBitmapData", dataStart, last});
    return items;
}

std::vector<Expected> jpeg3(int64_t alphaStart, int64_t last) {
    return {{1, "CharacterID", 0, 1},
            {1, "AlphaDataOffset", 2, 5},
            {1, "JPEGData", 6, alphaStart - 1},
            {1, "BitmapAlphaData", alphaStart, last}};
}

const Bytes kSize16x8{0x10, 0x00, 0x08, 0x00};

// Every bitmap decoder returns S + N, the offset just past the tag's data.
TEST(BitmapTags, DecodeHeadersAndMarkTheImageData) {
    std::vector<TagCase> cases = {
        {"DefineBits", kDefineBits, {0x01, 0x00, 0xFF, 0xD8, 0xFF, 0xD9},
         {{1, "CharacterId", 0, 1}, {1, "JPEGData", 2, 5}}, 6},
        {"JPEGTables: one item over all of the data", kJPEGTables, {0xFF, 0xD8, 0xFF, 0xDB, 0xFF, 0xD9},
         {{1, "JPEG encoding table", 0, 5}}, 6},
        {"DefineBitsJPEG2", kDefineBitsJPEG2, {0x02, 0x00, 0xFF, 0xD8, 0xFF, 0xD9},
         {{1, "CharacterID", 0, 1}, {1, "JPEGData", 2, 5}}, 6},
        {"DefineBitsJPEG2 without JPEG data", kDefineBitsJPEG2, {0x02, 0x00},
         {{1, "CharacterID", 0, 1}, {1, "JPEGData", 2, 1}}, 2},
        {"lossless, colour-mapped (format 3) with its colour table size", kDefineBitsLossless,
         join({{0x03, 0x00, 0x03}, kSize16x8, {0x0F, 0x78, 0x9C, 0x01}}),
         lossless({{1, "BitmapColorTableSize", 7, 7}}, 8, 10), 11},
        {"lossless, 32-bit (format 5)", kDefineBitsLossless, join({{0x03, 0x00, 0x05}, kSize16x8, {0x78, 0x9C, 0x01}}),
         lossless({}, 7, 9), 10},
        {"lossless, 15-bit (format 4)", kDefineBitsLossless, join({{0x03, 0x00, 0x04}, kSize16x8, {0x78}}),
         lossless({}, 7, 7), 8},
        {"DefineBitsJPEG3 splits at the alpha offset", kDefineBitsJPEG3,
         join({{0x04, 0x00}, {0x03, 0x00, 0x00, 0x00}, {0xFF, 0xD8, 0xD9}, {0x78, 0x9C}}), jpeg3(9, 10), 11},
        {"DefineBitsJPEG3 with alpha offset 0", kDefineBitsJPEG3,
         join({{0x04, 0x00}, {0x00, 0x00, 0x00, 0x00}, {0x78, 0x9C}}), jpeg3(6, 7), 8},
        {"DefineBitsJPEG3 with no alpha data", kDefineBitsJPEG3,
         join({{0x04, 0x00}, {0x02, 0x00, 0x00, 0x00}, {0xFF, 0xD9}}), jpeg3(8, 7), 8},
    };
    expectTagCases(cases);
}

TEST(BitmapTags, BothLosslessTagsOpenIntoTheSameItems) {
    for (uint8_t format : {3, 4, 5}) {
        SCOPED_TRACE(static_cast<int>(format));
        Bytes data = join({{0x03, 0x00, format}, kSize16x8, {0x0F, 0x78, 0x9C}});
        Opened lossless = openBody(kDefineBitsLossless, data);
        Opened withAlpha = openBody(kDefineBitsLossless2, data);
        EXPECT_EQ(withAlpha.items, lossless.items);
        EXPECT_EQ(withAlpha.next, lossless.next);
    }
}

// Ranges come from the fixed layout and the declared sizes; bytes missing at the end of
// the file read as zero.
TEST(BitmapTags, MalformedTagsKeepTheirDeclaredRanges) {
    std::vector<TagCase> cases = {
        {"alpha offset past the tag: the JPEG data runs past it", kDefineBitsJPEG3,
         join({{0x04, 0x00}, {0x10, 0x00, 0x00, 0x00}, {0xFF, 0xD9}}), jpeg3(22, 7), 8},
        // An offset near 4 GiB must not wrap the split point around to the file's start.
        {"alpha offset that would wrap", kDefineBitsJPEG3, join({{0x04, 0x00}, {0xFF, 0xFF, 0xFF, 0xFF}, {0xFF, 0xD9}}),
         jpeg3(int64_t{UINT32_MAX} - kDataStart, 7), 8},
        {"DefineBitsJPEG3 cut off inside its alpha offset", kDefineBitsJPEG3, {0x04, 0x00, 0x01}, jpeg3(7, 2), 3},
        {"lossless of one byte", kDefineBitsLossless, {0x03}, lossless({}, 7, 0), 1},
        {"lossless cut off after a colour-mapped format byte", kDefineBitsLossless2, {0x03, 0x00, 0x03},
         lossless({{1, "BitmapColorTableSize", 7, 7}}, 8, 2), 3},
        {"DefineBits of one byte", kDefineBits, {0x01}, {{1, "CharacterId", 0, 1}, {1, "JPEGData", 2, 0}}, 1},
    };
    expectTagCases(cases);
}

TEST(BitmapTags, EveryCorpusBitmapTagOpensInsideItsData) {
    std::vector<CorpusTag> tags = corpusTagsWithData({kDefineBits, kJPEGTables, kDefineBitsLossless, kDefineBitsJPEG2,
                                              kDefineBitsJPEG3, kDefineBitsLossless2});
    ASSERT_FALSE(tags.empty());
    for (const CorpusTag& tag : tags) {
        SCOPED_TRACE(where(tag));
        Opened opened = openCorpusTag(tag);
        expectItemsInsideTheData(tag, opened.items);
        ASSERT_FALSE(opened.items.empty());
        // The items tile the data: each starts right after the one before, the last ends
        // at the tag's last byte.
        uint32_t expectedStart = tag.dataStart;
        for (const Item& item : opened.items) {
            EXPECT_EQ(item.start, expectedStart) << item;
            expectedStart = item.end + 1;
        }
        EXPECT_EQ(expectedStart, tag.dataStart + tag.length);
        EXPECT_EQ(opened.next, tag.dataStart + tag.length);
    }
}

} // namespace
