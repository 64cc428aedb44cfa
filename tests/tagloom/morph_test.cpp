// DefineMorphShape: the head of the tag, and the morph shapes of the corpus.
#include <gtest/gtest.h>

#include "byte_reader.h"
#include "corpus.h"
#include "decode_tag.h"
#include "opened_tag.h"
#include "swf_builder.h"

using namespace testing_support;

namespace {

constexpr uint32_t kDefineMorphShape = 46;

using Items = std::vector<Expected>;

// The head whose two rectangles have a count field of 0, one byte each.
const Items kHeadOfEmptyRectangles = {{1, "Character ID", 0, 1},
                                      {1, "StartBounds", 2, 2},
                                      {2, "Rectangle", 2, 2},
                                      {3, "Nbits (0)", 2, 2},
                                      {3, "Xmin (0=0.00 * 20 twips)", 2, 2},
                                      {3, "Xmax (0=0.00 * 20 twips)", 2, 2},
                                      {3, "Ymin (0=0.00 * 20 twips)", 2, 2},
                                      {3, "Ymax (0=0.00 * 20 twips)", 2, 2},
                                      {1, "EndBounds", 3, 3},
                                      {2, "Rectangle", 3, 3},
                                      {3, "Nbits (0)", 3, 3},
                                      {3, "Xmin (0=0.00 * 20 twips)", 3, 3},
                                      {3, "Xmax (0=0.00 * 20 twips)", 3, 3},
                                      {3, "Ymin (0=0.00 * 20 twips)", 3, 3},
                                      {3, "Ymax (0=0.00 * 20 twips)", 3, 3},
                                      {1, "Offset", 4, 7}};

TEST(DefineMorphShape, ShowsTheHeadOnlyAndReturnsThePlacePastTheOffsetField) {
    expectTagCases({
        {"two rectangles of no bits, whatever follows the offset field",
         kDefineMorphShape,
         {0x05, 0x00, 0x00, 0x00, 0x0A, 0x0B, 0x0C, 0x0D, 0x01, 0x02, 0x03, 0x04, 0x05},
         kHeadOfEmptyRectangles,
         8},
        {"bounds of several bytes each",
         kDefineMorphShape,
         join({{0x05, 0x00},
               rectangle(3, 1, -2, 3, -4),       // three bytes
               rectangle(15, 0, 11000, 0, 8000), // nine bytes
               {0x10, 0x00, 0x00, 0x00}}),
         {{1, "Character ID", 0, 1},
          {1, "StartBounds", 2, 4},
          {2, "Rectangle", 2, 4},
          {3, "Nbits (3)", 2, 2},
          {3, "Xmin (1=0.05 * 20 twips)", 2, 2},
          {3, "Xmax (-2=-0.10 * 20 twips)", 2, 3},
          {3, "Ymin (3=0.15 * 20 twips)", 3, 3},
          {3, "Ymax (-4=-0.20 * 20 twips)", 3, 4},
          {1, "EndBounds", 5, 13},
          {2, "Rectangle", 5, 13},
          {3, "Nbits (15)", 5, 5},
          {3, "Xmin (0=0.00 * 20 twips)", 5, 7},
          {3, "Xmax (11000=550.00 * 20 twips)", 7, 9},
          {3, "Ymin (0=0.00 * 20 twips)", 9, 11},
          {3, "Ymax (8000=400.00 * 20 twips)", 11, 13},
          {1, "Offset", 14, 17}},
         18},
        {"a tag cut off after its id: the head reaches past the buffer",
         kDefineMorphShape,
         {0x05, 0x00},
         kHeadOfEmptyRectangles,
         8},
    });
}

TEST(DefineMorphShape, AFailedBoundsGroupGetsNoRectangle) {
    const Bytes data{0x05, 0x00, 0x00, 0x00, 0x0A, 0x0B, 0x0C, 0x0D};
    Opened opened = openBody(kDefineMorphShape, data, 0, 1); // "Character ID" goes in, "StartBounds" fails
    EXPECT_EQ(opened.items, absolute({{1, "Character ID", 0, 1}}));
    EXPECT_EQ(opened.next, kDataStart + 8);
}

// In every morph shape of the corpus the head lies inside the tag, and the offset
// field, counted from the byte after it, points inside the tag too: at the end edges.
TEST(DefineMorphShape, CorpusMorphShapesHaveTheirHeadInsideTheirData) {
    std::vector<CorpusTag> tags = corpusTagsWithData({kDefineMorphShape});
    ASSERT_FALSE(tags.empty());
    for (const CorpusTag& tag : tags) {
        SCOPED_TRACE(where(tag));
        Opened opened = openCorpusTag(tag);
        expectItemsInsideTheData(tag, opened.items);
        std::vector<Item> offset = itemsNamed(opened.items, "Offset");
        ASSERT_EQ(offset.size(), 1u);
        EXPECT_EQ(opened.next, offset[0].end + 1);
        const Bytes& file = tag.file->bytes;
        uint32_t toEndEdges = tagloom::ByteReader(file.data(), static_cast<uint32_t>(file.size())).u32(offset[0].start);
        EXPECT_LE(uint64_t{opened.next} + toEndEdges, uint64_t{tag.dataStart} + tag.length - 1);
    }
}

} // namespace
