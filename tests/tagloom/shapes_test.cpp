// DefineShape, DefineShape2 and DefineShape3: style arrays, fill kinds, the bit-packed
// records on their one cursor, malformed shapes and the shapes of the corpus.
#include <gtest/gtest.h>

#include <set>

#include "corpus.h"
#include "decode_tag.h"
#include "opened_tag.h"
#include "swf_builder.h"

using namespace testing_support;

namespace {

constexpr uint32_t kDefineShape = 2;
constexpr uint32_t kDefineShape2 = 22;
constexpr uint32_t kDefineShape3 = 32;

using Items = std::vector<Expected>;

Items concat(std::initializer_list<Items> parts) {
    Items all;
    for (const Items& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

// The items of a rectangle whose count field is 0 (the byte 0x00).
Items emptyRectangle(int depth, uint32_t at) {
    return {{depth, "Rectangle", at, at},
            {depth + 1, "Nbits (0)", at, at},
            {depth + 1, "Xmin (0=0.00 * 20 twips)", at, at},
            {depth + 1, "Xmax (0=0.00 * 20 twips)", at, at},
            {depth + 1, "Ymin (0=0.00 * 20 twips)", at, at},
            {depth + 1, "Ymax (0=0.00 * 20 twips)", at, at}};
}

// The items of a matrix without scale, rotation or translation (the byte 0x00).
Items emptyMatrix(int depth, uint32_t at) {
    return {{depth, "Matrix", at, at},
            {depth + 1, "HasScale = 0", at, at},
            {depth + 1, "HasRotate = 0", at, at},
            {depth + 1, "TranslateBits = 0", at, at},
            {depth + 1, "TranslateX = 0", at, at},
            {depth + 1, "TranslateY = 0", at, at}};
}

// The head of a shape with no styles: id 1, an empty rectangle, two empty style
// arrays and index bit counts of 0, which leave the cursor at the end of byte 5.
const Bytes kNoStyles{0x01, 0x00, 0x00, 0x00, 0x00, 0x00};
const Items kNoStylesItems = concat({{{1, "ShapeID", 0, 1}},
                                     emptyRectangle(1, 2),
                                     {{1, "FillStyles", 3, 3},
                                      {2, "FillStyleCount", 3, 3},
                                      {1, "LineStyles", 4, 4},
                                      {2, "LineStyleCount", 4, 4},
                                      {1, "Number of fill index bits (0)", 5, 5},
                                      {1, "Number of line index bits (0)", 5, 5}}});

TEST(DefineShape, DecodesStylesAndRecordsItemForItem) {
    expectTagCases({
        {"the shortest shape: no styles, then the end record",
         kDefineShape,
         join({kNoStyles, {0b000000'00}}),
         concat({kNoStylesItems, {{1, "EndShapeRecord", 6, 6}}}),
         6},
        {"solid fill and line style with RGB colours",
         kDefineShape2,
         {0x01, 0x00, 0x00,
          0x01, 0x00, 0xFF, 0x00, 0x00,       // one fill: solid, RGB
          0x01, 0x14, 0x00, 0x00, 0x00, 0xFF, // one line: width 20, RGB
          0x00, 0x00},                        // index bit counts, end record
         concat({{{1, "ShapeID", 0, 1}},
                 emptyRectangle(1, 2),
                 {{1, "FillStyles", 3, 7},
                  {2, "FillStyleCount", 3, 3},
                  {2, "FillStyle", 4, 7},
                  {3, "FillStyleType (solid fill)", 4, 4},
                  {3, "RGB", 5, 7},
                  {1, "LineStyles", 8, 13},
                  {2, "LineStyleCount", 8, 8},
                  {2, "LineStyle0", 9, 13},
                  {3, "Width of line", 9, 10},
                  {3, "LineColor(RGB)", 11, 13},
                  {1, "Number of fill index bits (0)", 14, 14},
                  {1, "Number of line index bits (0)", 14, 14},
                  {1, "EndShapeRecord", 15, 15}}}),
         15},
        {"gradient and bitmap fills",
         kDefineShape,
         {0x01, 0x00, 0x00,
          0x02,                                     // two fills
          0x10, 0x00, 0x02,                         // linear gradient, matrix, two records
          0x00, 0xFF, 0x00, 0x00, 0xFF, 0x00, 0x00, 0xFF, // ratio and RGB, twice
          0x41, 0x05, 0x00, 0x00,                   // clipped bitmap 5, matrix
          0x00, 0x00, 0x00},                        // no lines, index bit counts, end record
         concat({{{1, "ShapeID", 0, 1}},
                 emptyRectangle(1, 2),
                 {{1, "FillStyles", 3, 18},
                  {2, "FillStyleCount", 3, 3},
                  {2, "FillStyle", 4, 14},
                  {3, "FillStyleType (linear gradient fill)", 4, 4}},
                 emptyMatrix(3, 5),
                 {{3, "NumGradients", 6, 6},
                  {3, "GradRecord", 7, 10},
                  {4, "Ratio", 7, 7},
                  {4, "RGB", 8, 10},
                  {3, "GradRecord", 11, 14},
                  {4, "Ratio", 11, 11},
                  {4, "RGB", 12, 14},
                  {2, "FillStyle", 15, 18},
                  {3, "FillStyleType (clipped bitmap fill)", 15, 15},
                  {3, "BitmapID", 16, 17}},
                 emptyMatrix(3, 18),
                 {{1, "LineStyles", 19, 19},
                  {2, "LineStyleCount", 19, 19},
                  {1, "Number of fill index bits (0)", 20, 20},
                  {1, "Number of line index bits (0)", 20, 20},
                  {1, "EndShapeRecord", 21, 21}}}),
         21},
        {"style counts of 16 bits after the byte 0xFF",
         kDefineShape,
         {0x01, 0x00, 0x00,
          0xFF, 0x02, 0x00, 0x00, 0x01, 0x02, 0x03, 0x00, 0x04, 0x05, 0x06, // two solid fills
          0xFF, 0x00, 0x00,                                                 // no lines
          0x00, 0x00},
         concat({{{1, "ShapeID", 0, 1}},
                 emptyRectangle(1, 2),
                 {{1, "FillStyles", 3, 13},
                  {2, "FillStyleCount", 3, 5},
                  {2, "FillStyle", 6, 9},
                  {3, "FillStyleType (solid fill)", 6, 6},
                  {3, "RGB", 7, 9},
                  {2, "FillStyle", 10, 13},
                  {3, "FillStyleType (solid fill)", 10, 10},
                  {3, "RGB", 11, 13},
                  {1, "LineStyles", 14, 16},
                  {2, "LineStyleCount", 14, 16},
                  {1, "Number of fill index bits (0)", 17, 17},
                  {1, "Number of line index bits (0)", 17, 17},
                  {1, "EndShapeRecord", 18, 18}}}),
         18},
        {"a fill style type without a row stays on its byte",
         kDefineShape,
         {0x01, 0x00, 0x00,
          0x02, 0x01,                   // two fills of type 0x01; the 0x01 is also the line count
          0x05, 0x00, 0x0A, 0x0B, 0x0C, // the line style
          0x00, 0x00},
         concat({{{1, "ShapeID", 0, 1}},
                 emptyRectangle(1, 2),
                 {{1, "FillStyles", 3, 3},
                  {2, "FillStyleCount", 3, 3},
                  {2, "FillStyle", 4, 4},
                  {2, "FillStyle", 4, 4},
                  {1, "LineStyles", 4, 9},
                  {2, "LineStyleCount", 4, 4},
                  {2, "LineStyle0", 5, 9},
                  {3, "Width of line", 5, 6},
                  {3, "LineColor(RGB)", 7, 9},
                  {1, "Number of fill index bits (0)", 10, 10},
                  {1, "Number of line index bits (0)", 10, 10},
                  {1, "EndShapeRecord", 11, 11}}}),
         11},
        {"records of every kind on one cursor (RGBA styles)",
         kDefineShape3,
         join({{0x01, 0x00, 0x00,
                0x01, 0x00, 0xFF, 0x00, 0x00, 0x80,       // one fill: solid, RGBA
                0x01, 0x14, 0x00, 0x00, 0x00, 0xFF, 0xFF, // one line: width 20, RGBA
                0x11},                                    // index bit counts 1 and 1
               BitWriter()
                   // style change: line, fill 1, move by 3 bits to (3, -3); fill 1 and line 1
                   .bits(0b0'01101, 6).bits(3, 5).signedBits(3, 3).signedBits(-3, 3).bits(1, 1).bits(1, 1)
                   // general line of 4-bit deltas (5, -5)
                   .bits(0b1'10010, 6).bits(1, 1).signedBits(5, 4).signedBits(-5, 4)
                   // vertical line of a 2-bit delta -1
                   .bits(0b1'10000, 6).bits(0, 1).bits(1, 1).signedBits(-1, 2)
                   // curve of 3-bit deltas
                   .bits(0b1'00001, 6).signedBits(1, 3).signedBits(-1, 3).signedBits(2, 3).signedBits(-2, 3)
                   .bits(0b0'00000, 6) // end
                   .bytes()}),
         concat({{{1, "ShapeID", 0, 1}},
                 emptyRectangle(1, 2),
                 {{1, "FillStyles", 3, 8},
                  {2, "FillStyleCount", 3, 3},
                  {2, "FillStyle", 4, 8},
                  {3, "FillStyleType (solid fill)", 4, 4},
                  {3, "RGBA", 5, 8},
                  {1, "LineStyles", 9, 15},
                  {2, "LineStyleCount", 9, 9},
                  {2, "LineStyle0", 10, 15},
                  {3, "Width of line", 10, 11},
                  {3, "LineColor(RGBA)", 12, 15},
                  {1, "Number of fill index bits (1)", 16, 16},
                  {1, "Number of line index bits (1)", 16, 16},
                  {1, "StyleChangeRecord", 17, 19},
                  {2, "StateNewStyles(0)", 17, 17},
                  {2, "StateLineStyle(1)", 17, 17},
                  {2, "StateFillStyle1(1)", 17, 17},
                  {2, "StateFillStyle0(0)", 17, 17},
                  {2, "StateMoveTo(1)", 17, 17},
                  {2, "MoveBitCount(3)", 17, 18},
                  {2, "MoveDeltaX(3)", 18, 18},
                  {2, "MoveDeltaY(-3)", 18, 19},
                  {2, "FillStyle1(1)", 19, 19},
                  {2, "LineStyle(1)", 19, 19},
                  {1, "StraightEdgeRecord", 20, 21},
                  {2, "StraightFlag(1)", 20, 20},
                  {2, "NumBits(2)", 20, 20},
                  {2, "GeneralLineFlag(1)", 20, 20},
                  {2, "DeltaX(5)", 20, 20},
                  {2, "DeltaY(-5)", 20, 21},
                  {1, "StraightEdgeRecord", 21, 22},
                  {2, "StraightFlag(1)", 21, 21},
                  {2, "NumBits(0)", 21, 21},
                  {2, "GeneralLineFlag(0)", 21, 22},
                  {2, "VertLineFlag(1)", 22, 22},
                  {2, "DeltaY(-1)", 22, 22},
                  {1, "CurvedEdgeRecord", 23, 24},
                  {2, "StraightFlag(0)", 23, 23},
                  {2, "NumBits(1)", 23, 23},
                  {2, "ControlDeltaX(1)", 23, 23},
                  {2, "ControlDeltaY(-1)", 23, 23},
                  {2, "AnchorDeltaX(2)", 23, 24},
                  {2, "AnchorDeltaY(-2)", 24, 24},
                  {1, "EndShapeRecord", 25, 25}}}),
         25},
        {"a horizontal line and the widest coordinates",
         kDefineShape,
         join({kNoStyles,
               BitWriter()
                   .bits(0b1'10000, 6).bits(0, 1).bits(0, 1).signedBits(1, 2)                 // horizontal line
                   .bits(0b1'11111, 6).bits(1, 1).signedBits(-65536, 17).signedBits(65535, 17) // 17-bit deltas
                   .bits(0b0'00000, 6)
                   .bytes()}),
         concat({kNoStylesItems,
                 {{1, "StraightEdgeRecord", 6, 7},
                  {2, "StraightFlag(1)", 6, 6},
                  {2, "NumBits(0)", 6, 6},
                  {2, "GeneralLineFlag(0)", 6, 6},
                  {2, "VertLineFlag(0)", 6, 6},
                  {2, "DeltaX(1)", 6, 7},
                  {1, "StraightEdgeRecord", 7, 12},
                  {2, "StraightFlag(1)", 7, 7},
                  {2, "NumBits(15)", 7, 7},
                  {2, "GeneralLineFlag(1)", 7, 8},
                  {2, "DeltaX(-65536)", 8, 10},
                  {2, "DeltaY(65535)", 10, 12},
                  {1, "EndShapeRecord", 13, 13}}}),
         13},
        {"new styles in a version 1 shape, and the index widths they bring",
         kDefineShape,
         join({kNoStyles,
               {0b0'10000'00,                      // style change: new styles only, then to the next byte
                0x01, 0x00, 0xAA, 0xBB, 0xCC,      // one solid fill, RGB
                0x01, 0x05, 0x00, 0x0A, 0x0B, 0x0C, // one line style, RGB
                0b0010'0001},                      // fill indexes of 2 bits, line indexes of 1
               BitWriter().bits(0b0'01100, 6).bits(2, 2).bits(1, 1).bits(0b0'00000, 6).bytes()}),
         concat({kNoStylesItems,
                 {{1, "StyleChangeRecord", 6, 18},
                  {2, "StateNewStyles(1)", 6, 6},
                  {2, "StateLineStyle(0)", 6, 6},
                  {2, "StateFillStyle1(0)", 6, 6},
                  {2, "StateFillStyle0(0)", 6, 6},
                  {2, "StateMoveTo(0)", 6, 6},
                  {2, "FillStyles", 7, 11},
                  {3, "FillStyleCount", 7, 7},
                  {3, "FillStyle", 8, 11},
                  {4, "FillStyleType (solid fill)", 8, 8},
                  {4, "RGB", 9, 11},
                  {2, "LineStyles", 12, 17},
                  {3, "LineStyleCount", 12, 12},
                  {3, "LineStyle0", 13, 17},
                  {4, "Width of line", 13, 14},
                  {4, "LineColor(RGB)", 15, 17},
                  {2, "Number of fill index bits (2)", 18, 18},
                  {2, "Number of line index bits (1)", 18, 18},
                  {1, "StyleChangeRecord", 19, 20},
                  {2, "StateNewStyles(0)", 19, 19},
                  {2, "StateLineStyle(1)", 19, 19},
                  {2, "StateFillStyle1(1)", 19, 19},
                  {2, "StateFillStyle0(0)", 19, 19},
                  {2, "StateMoveTo(0)", 19, 19},
                  {2, "FillStyle1(2)", 19, 19},
                  {2, "LineStyle(1)", 19, 20},
                  {1, "EndShapeRecord", 20, 20}}}),
         20},
        {"a move of zero bits and style indexes of zero bits",
         kDefineShape,
         join({kNoStyles, BitWriter().bits(0b0'00011, 6).bits(0, 5).bits(0b0'00000, 6).bytes()}),
         concat({kNoStylesItems,
                 {{1, "StyleChangeRecord", 6, 7},
                  {2, "StateNewStyles(0)", 6, 6},
                  {2, "StateLineStyle(0)", 6, 6},
                  {2, "StateFillStyle1(0)", 6, 6},
                  {2, "StateFillStyle0(1)", 6, 6},
                  {2, "StateMoveTo(1)", 6, 6},
                  {2, "MoveBitCount(0)", 6, 7},
                  {2, "MoveDeltaX(0)", 7, 7},
                  {2, "MoveDeltaY(0)", 7, 7},
                  {2, "FillStyle0(0)", 7, 7},
                  {1, "EndShapeRecord", 8, 8}}}),
         8},
    });
}

TEST(DefineShape, EachFillStyleTypeNamesItsRowAndReadsItsKind) {
    struct FillCase {
        uint8_t type;
        Bytes rest; // the fill style after its type byte, in a version 1 shape
        const char* label;
    };
    const FillCase cases[] = {
        {0x00, {0x01, 0x02, 0x03}, "FillStyleType (solid fill)"},
        {0x10, {0x00, 0x00}, "FillStyleType (linear gradient fill)"}, // matrix, no gradient records
        {0x12, {0x00, 0x00}, "FillStyleType (radial gradient fill)"},
        {0x40, {0x01, 0x00, 0x00}, "FillStyleType (tiled bitmap fill)"}, // bitmap id, matrix
        {0x41, {0x01, 0x00, 0x00}, "FillStyleType (clipped bitmap fill)"},
    };
    for (const FillCase& c : cases) {
        SCOPED_TRACE(c.label);
        Bytes body = join({{0x01, 0x00, 0x00, 0x01, c.type}, c.rest, {0x00, 0x00, 0x00}});
        int64_t styleEnd = 4 + static_cast<int64_t>(c.rest.size());
        Opened opened = openBody(kDefineShape, body);
        EXPECT_EQ(itemsNamed(opened.items, "FillStyle"), absolute({{2, "FillStyle", 4, styleEnd}}));
        EXPECT_EQ(itemsNamed(opened.items, c.label), absolute({{3, c.label, 4, 4}}));
        EXPECT_EQ(opened.next, kDataStart + styleEnd + 3);
    }
}

// The buffer ends where the data ends; where a case gives a tag count, the bytes after
// it stand for what follows the tag.
TEST(DefineShape, MalformedShapesEndInsideTheirBoundsAndStillTellWhatTheyRead) {
    expectTagCases({
        {"no end record before the end of the file: the missing bits read as zeros",
         kDefineShape,
         join({kNoStyles, {0b1'10001'1'1}}), // a general line of 3-bit deltas, cut off after one bit of DeltaX
         concat({kNoStylesItems,
                 {{1, "StraightEdgeRecord", 6, 7},
                  {2, "StraightFlag(1)", 6, 6},
                  {2, "NumBits(1)", 6, 6},
                  {2, "GeneralLineFlag(1)", 6, 6},
                  {2, "DeltaX(-4)", 6, 7},
                  {2, "DeltaY(0)", 7, 7},
                  {1, "EndShapeRecord", 8, 8}}}),
         8},
        {"no end record within the tag: the records run on into the bytes after it",
         kDefineShape,
         join({kNoStyles, BitWriter().bits(0b1'10000, 6).bits(0, 1).bits(1, 1).signedBits(1, 2).bits(0, 6).bytes()}),
         concat({kNoStylesItems,
                 {{1, "StraightEdgeRecord", 6, 7},
                  {2, "StraightFlag(1)", 6, 6},
                  {2, "NumBits(0)", 6, 6},
                  {2, "GeneralLineFlag(0)", 6, 6},
                  {2, "VertLineFlag(1)", 6, 6},
                  {2, "DeltaY(1)", 6, 7},
                  {1, "EndShapeRecord", 7, 7}}}),
         7,
         7},
        {"a style count escape in the last byte of the buffer",
         kDefineShape,
         {0x01, 0x00, 0x00, 0xFF},
         concat({{{1, "ShapeID", 0, 1}},
                 emptyRectangle(1, 2),
                 {{1, "FillStyles", 3, 5},
                  {2, "FillStyleCount", 3, 5},
                  {1, "LineStyles", 6, 6},
                  {2, "LineStyleCount", 6, 6},
                  {1, "Number of fill index bits (0)", 7, 7},
                  {1, "Number of line index bits (0)", 7, 7},
                  {1, "EndShapeRecord", 8, 8}}}),
         8},
        {"a line style count of 65535 with one style in the buffer",
         kDefineShape,
         {0x01, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0x05, 0x00, 0x01, 0x02, 0x03},
         concat({{{1, "ShapeID", 0, 1}},
                 emptyRectangle(1, 2),
                 {{1, "FillStyles", 3, 3},
                  {2, "FillStyleCount", 3, 3},
                  {1, "LineStyles", 4, 11},
                  {2, "LineStyleCount", 4, 6},
                  {2, "LineStyle0", 7, 11},
                  {3, "Width of line", 7, 8},
                  {3, "LineColor(RGB)", 9, 11},
                  {1, "Number of fill index bits (0)", 12, 12},
                  {1, "Number of line index bits (0)", 12, 12},
                  {1, "EndShapeRecord", 13, 13}}}),
         13},
        {"a gradient count of 255 with no record in the buffer",
         kDefineShape,
         {0x01, 0x00, 0x00, 0x01, 0x10, 0x00, 0xFF},
         concat({{{1, "ShapeID", 0, 1}},
                 emptyRectangle(1, 2),
                 {{1, "FillStyles", 3, 6},
                  {2, "FillStyleCount", 3, 3},
                  {2, "FillStyle", 4, 6},
                  {3, "FillStyleType (linear gradient fill)", 4, 4}},
                 emptyMatrix(3, 5),
                 {{3, "NumGradients", 6, 6},
                  {1, "LineStyles", 7, 7},
                  {2, "LineStyleCount", 7, 7},
                  {1, "Number of fill index bits (0)", 8, 8},
                  {1, "Number of line index bits (0)", 8, 8},
                  {1, "EndShapeRecord", 9, 9}}}),
         9},
    });
}

// Each record brings 4096 fill styles whose type has no row, all on one byte: a few
// hundred bytes ask for some 160000 items, and the item budget ends the decode. The
// budget is set small here so that the test stays light.
TEST(DefineShape, NewStylesWithoutARowAreBoundedByTheItemBudget) {
    const Bytes record{0b0'10000'00,                 // style change with new styles
                       0xFF, 0x00, 0x10,             // 4096 fill styles ...
                       0x01,                         // ... of type 0x01, which is also the line count
                       0x00, 0x00, 0x00, 0x00, 0x00, // the line style
                       0x00};                        // index bit counts
    Bytes body = kNoStyles;
    for (int i = 0; i < 40; ++i) body = join({body, record});
    body.push_back(0x00);

    const uint64_t budget = 20000; // enough for four of the records
    RecordingEngine engine(body);
    ItemHandle data = engine.addTagData(0, static_cast<uint32_t>(body.size() - 1), kDefineShape);
    tagloom::Decoder decoder(&engine, budget);
    tagloom::decodeDefineShape(decoder, data, 0, static_cast<uint32_t>(body.size()));
    std::vector<Item> items = engine.tree(data);
    EXPECT_TRUE(decoder.out.stopped());
    ASSERT_EQ(items.size(), budget);
    EXPECT_EQ(items.back().name, "Too many items: decoding stops here");
    EXPECT_EQ(itemsNamed(items, "StyleChangeRecord").size(), 5u);
    EXPECT_TRUE(itemsNamed(items, "EndShapeRecord").empty());
}

// When AddItem fails, the decode adds nothing more: what came before the failure is the
// start of what a full decode adds, and nothing hangs under a missing handle.
TEST(DefineShape, AFailedItemEndsTheDecodeWithoutOrphans) {
    const Bytes body = join({kNoStyles,
                             {0b0'10000'00, 0x01, 0x10, 0x00, 0x01, 0x00, 0x01, 0x02, 0x03, 0x00, 0x00},
                             BitWriter().bits(0b1'00000, 6).bits(0, 8).bits(0, 6).bytes()});
    std::vector<Item> full = openBody(kDefineShape, body).items;
    ASSERT_EQ(itemsNamed(full, "EndShapeRecord").size(), 1u);
    for (size_t allowed = 0; allowed < full.size(); ++allowed) {
        SCOPED_TRACE(allowed);
        std::vector<Item> items = openBody(kDefineShape, body, 0, allowed).items;
        ASSERT_EQ(items.size(), allowed);
        for (size_t i = 0; i < allowed; ++i) EXPECT_EQ(items[i].name, full[i].name);
    }
}

// The first "FillStyle" whose type byte has no row: it has no "FillStyleType" child.
const Item* firstFillStyleWithoutRow(const std::vector<Item>& items) {
    for (size_t i = 0; i < items.size(); ++i)
        if (items[i].name == "FillStyle" && (i + 1 == items.size() || items[i + 1].depth <= items[i].depth))
            return &items[i];
    return nullptr;
}

// Every shape of the corpus opens, keeps its items inside its data and has its end
// record in its last byte, except where the file is not what the tag table can read.
TEST(DefineShape, CorpusShapesEndWithTheirEndRecordInTheirLastByte) {
    // Fill style types of SWF 8 and later (focal gradients, bitmaps without smoothing)
    // have no row; the rest of such a shape is read on from the type byte, as meant.
    const std::set<uint8_t> laterFillTypes{0x13, 0x42, 0x43};
    std::vector<CorpusTag> tags = corpusTagsWithData({kDefineShape, kDefineShape2, kDefineShape3});
    size_t checked = 0;
    for (const CorpusTag& tag : tags) {
        SCOPED_TRACE(where(tag));
        uint32_t last = tag.dataStart + tag.length - 1;
        Opened shape = openCorpusTag(tag);
        if (const Item* fill = firstFillStyleWithoutRow(shape.items)) {
            EXPECT_EQ(laterFillTypes.count(tag.file->bytes[fill->start]), 1u) << *fill;
            continue;
        }
        // Some writers put RGBA colours into DefineShape2; such a tag reads as a
        // DefineShape3 and not as what its code says.
        if (tag.code == kDefineShape2 &&
            openData(kDefineShape3, tag.file->bytes, tag.dataStart, tag.length).next == last)
            continue;
        ++checked;
        EXPECT_EQ(shape.next, last);
        EXPECT_EQ(itemsNamed(shape.items, "EndShapeRecord"), (std::vector<Item>{{1, "EndShapeRecord", last, last}}));
        expectItemsInsideTheData(tag, shape.items);
    }
    EXPECT_GT(checked, tags.size() * 3 / 4) << "of " << tags.size();
}

} // namespace
