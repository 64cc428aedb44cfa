// The bit reader, the label formatter and the readers of the shared records.
#include <gtest/gtest.h>

#include <clocale>

#include "bit_reader.h"
#include "label.h"
#include "records.h"
#include "recording_engine.h"
#include "swf_builder.h"

using namespace testing_support;
using tagloom::BitReader;
using tagloom::ByteReader;

namespace {

struct BitRead {
    const char* name;
    Bytes bytes;
    std::vector<int> counts; // one read per count; negative counts read signed
    std::vector<int64_t> values;
    uint32_t indexAfter;
    int bitsLeftAfter;
};

TEST(BitReader, ReadsMostSignificantBitFirstWithTheLazyIndex) {
    const BitRead cases[] = {
        {"five bits of 0x78", {0x78}, {5}, {15}, 0, 3},
        {"two nibbles leave the index on the byte", {0xAB, 0x80}, {4, 4}, {0xA, 0xB}, 0, 0},
        {"the next read moves on first", {0xAB, 0x80}, {4, 4, 1}, {0xA, 0xB, 1}, 1, 7},
        {"a field across bytes", {0b0000'0111, 0b1100'0000}, {5, 5}, {0, 0b11111}, 1, 6},
        {"signed 101 is -3", {0b1010'0000}, {-3}, {-3}, 0, 5},
        {"signed 011 is 3", {0b0110'0000}, {-3}, {3}, 0, 5},
        {"signed of 0 bits is 0", {0xFF}, {-0, 0}, {0, 0}, 0, 8},
        {"32 bits", {0xDE, 0xAD, 0xBE, 0xEF}, {32}, {0xDEADBEEF}, 3, 0},
        {"past the end reads zeros", {0xFF}, {8, 8, 8}, {0xFF, 0, 0}, 2, 0},
    };
    for (const BitRead& c : cases) {
        SCOPED_TRACE(c.name);
        ByteReader bytes(c.bytes.data(), static_cast<uint32_t>(c.bytes.size()));
        BitReader bits(bytes, 0);
        for (size_t i = 0; i < c.counts.size(); ++i) {
            int n = c.counts[i];
            int64_t value = n < 0 ? bits.readSigned(-n) : static_cast<int64_t>(bits.readUnsigned(n));
            EXPECT_EQ(value, c.values[i]) << "read " << i;
        }
        EXPECT_EQ(bits.index(), c.indexAfter);
        EXPECT_EQ(bits.bitsLeft(), c.bitsLeftAfter);
    }
}

TEST(BitReader, AlignMovesOnlyAfterAPartlyReadByte) {
    Bytes data{0xFF, 0xFF};
    ByteReader bytes(data.data(), 2);
    BitReader bits(bytes, 0);
    bits.align();
    EXPECT_EQ(bits.index(), 0u);
    bits.readUnsigned(3);
    bits.align();
    EXPECT_EQ(bits.index(), 1u);
    EXPECT_EQ(bits.bitsLeft(), 8);
}

// A locale whose decimal separator is a comma (test.sh makes sure Linux has it).
const char* commaLocale() {
#ifdef _WIN32
    const char* names[] = {"German_Germany.1252", "German", "deu"};
#else
    const char* names[] = {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8"};
#endif
    for (const char* name : names)
        if (std::setlocale(LC_ALL, name)) return name;
    return nullptr;
}

TEST(Label, FormatsIndependentlyOfTheLocale) {
    char label[64];
    const char* locale = commaLocale();
    ASSERT_NE(locale, nullptr) << "no locale with a decimal comma is installed";
    ASSERT_STREQ(std::localeconv()->decimal_point, ",");
    tagloom::formatLabel(label, sizeof label, "Xmax (%d=%.2f * 20 twips)", 11000, 11000 * 0.05);
    std::setlocale(LC_ALL, "C");
    EXPECT_STREQ(label, "Xmax (11000=550.00 * 20 twips)") << locale;
}

TEST(Label, FormatsEachPlaceholderAndCutsToTheField) {
    char label[64];
    tagloom::formatLabel(label, sizeof label, "%d|%X|%s|%.2f|%02X|%%", -2, 0x1A, "ab", -0.1, 7);
    EXPECT_STREQ(label, "-2|1A|ab|-0.10|07|%");
    tagloom::formatLabel(label, sizeof label, "%s", std::string(100, 'x').c_str());
    EXPECT_EQ(std::string(label), std::string(63, 'x'));
}

struct RecordCase {
    const char* name;
    uint32_t (*read)(tagloom::Decoder&, ItemHandle, uint32_t);
    Bytes bytes;
    std::vector<Item> items; // offsets relative to the record
    uint32_t next;
};

uint32_t readRgb(tagloom::Decoder& d, ItemHandle p, uint32_t o) { return tagloom::readColor(d, p, o, 2); }
uint32_t readRgba(tagloom::Decoder& d, ItemHandle p, uint32_t o) { return tagloom::readColor(d, p, o, 3); }

TEST(Records, DecodeIntoItemsWithTheRangesOfTheirBits) {
    const RecordCase cases[] = {
        {"frame rectangle",
         tagloom::readRectangle,
         {0x78, 0x00, 0x05, 0x5F, 0x00, 0x00, 0x0F, 0xA0, 0x00},
         {{1, "Rectangle", 0, 8},
          {2, "Nbits (15)", 0, 0},
          {2, "Xmin (0=0.00 * 20 twips)", 0, 2},
          {2, "Xmax (11000=550.00 * 20 twips)", 2, 4},
          {2, "Ymin (0=0.00 * 20 twips)", 4, 6},
          {2, "Ymax (8000=400.00 * 20 twips)", 6, 8}},
         9},
        {"small signed rectangle",
         tagloom::readRectangle,
         {0b00011'001, 0b110'011'10, 0b0'0000000},
         {{1, "Rectangle", 0, 2},
          {2, "Nbits (3)", 0, 0},
          {2, "Xmin (1=0.05 * 20 twips)", 0, 0},
          {2, "Xmax (-2=-0.10 * 20 twips)", 0, 1},
          {2, "Ymin (3=0.15 * 20 twips)", 1, 1},
          {2, "Ymax (-4=-0.20 * 20 twips)", 1, 2}},
         3},
        {"empty matrix",
         tagloom::readMatrix,
         {0x00},
         {{1, "Matrix", 0, 0},
          {2, "HasScale = 0", 0, 0},
          {2, "HasRotate = 0", 0, 0},
          {2, "TranslateBits = 0", 0, 0},
          {2, "TranslateX = 0", 0, 0},
          {2, "TranslateY = 0", 0, 0}},
         1},
        {"translation only",
         tagloom::readMatrix,
         {0x0A, 0x3E, 0x80},
         {{1, "Matrix", 0, 2},
          {2, "HasScale = 0", 0, 0},
          {2, "HasRotate = 0", 0, 0},
          {2, "TranslateBits = 5", 0, 0},
          {2, "TranslateX = 3", 0, 1},
          {2, "TranslateY = -3", 1, 2}},
         3},
        {"scale without rotation",
         tagloom::readMatrix,
         {0xC9, 0x00, 0x00, 0x40, 0x00, 0x00},
         {{1, "Matrix", 0, 5},
          {2, "HasScale = 1", 0, 0},
          {2, "ScaleBits = 18", 0, 0},
          {2, "ScaleX = 65536", 0, 2},
          {2, "ScaleY = 65536", 2, 5},
          {2, "HasRotate = 0", 5, 5},
          {2, "TranslateBits = 0", 5, 5},
          {2, "TranslateX = 0", 5, 5},
          {2, "TranslateY = 0", 5, 5}},
         6},
        {"scale shown unsigned, with rotation",
         tagloom::readMatrix,
         BitWriter().bits(1, 1).bits(3, 5).bits(0b111, 3).bits(0b100, 3).bits(1, 1).bits(2, 5).bits(0b11, 2).bits(0b01, 2)
             .bits(2, 5).signedBits(-1, 2).signedBits(1, 2).bytes(),
         {{1, "Matrix", 0, 3},
          {2, "HasScale = 1", 0, 0},
          {2, "ScaleBits = 3", 0, 0},
          {2, "ScaleX = 7", 0, 1},
          {2, "ScaleY = 4", 1, 1},
          {2, "HasRotate = 1", 1, 1},
          {2, "RotateBits = 2", 1, 2},
          {2, "RotateX = 3", 2, 2},
          {2, "RotateY = 1", 2, 2},
          {2, "TranslateBits = 2", 2, 3},
          {2, "TranslateX = -1", 3, 3},
          {2, "TranslateY = 1", 3, 3}},
         4},
        {"empty colour transform",
         tagloom::readColorTransform,
         {0x00},
         {{1, "ColorTransform", 0, 0},
          {2, "HasAddTerms(0)", 0, 0},
          {2, "HasMultTerms(0)", 0, 0},
          {2, "Bits in each value field(0)", 0, 0}},
         1},
        {"colour transform with both groups",
         tagloom::readColorTransform,
         {0xE6, 0x01, 0x00, 0x80, 0x01, 0x40, 0xA0, 0x50},
         {{1, "ColorTransform", 0, 0},
          {2, "HasAddTerms(1)", 0, 0},
          {2, "HasMultTerms(1)", 0, 0},
          {2, "Bits in each value field(9)", 0, 0},
          {2, "RedMultTerm(256)", 1, 1},
          {2, "GreenMultTerm(256)", 2, 2},
          {2, "BlueMultTerm(256)", 4, 4},
          {2, "RedAddTerm(5)", 5, 5},
          {2, "GreenAddTerm(5)", 6, 6},
          {2, "BlueAddTerm(5)", 7, 7}},
         8},
        {"colour transform ending on a byte boundary",
         tagloom::readColorTransform,
         BitWriter().bits(0, 1).bits(1, 1).bits(6, 4).bits(1, 6).bits(2, 6).bits(3, 6).bytes(),
         {{1, "ColorTransform", 0, 0},
          {2, "HasAddTerms(0)", 0, 0},
          {2, "HasMultTerms(1)", 0, 0},
          {2, "Bits in each value field(6)", 0, 0},
          {2, "RedMultTerm(1)", 1, 1},
          {2, "GreenMultTerm(2)", 2, 2},
          {2, "BlueMultTerm(3)", 2, 2}},
         3},
        {"alpha colour transform, add terms only",
         tagloom::readColorTransformWithAlpha,
         BitWriter().bits(1, 1).bits(0, 1).bits(2, 4).bits(1, 2).bits(2, 2).bits(3, 2).bits(0, 2).bytes(),
         {{1, "ColorTransformWithAlpha", 0, 0},
          {2, "HasAddTerms(1)", 0, 0},
          {2, "HasMultTerms(0)", 0, 0},
          {2, "Bits in each value field(2)", 0, 0},
          {2, "RedAddTerm(1)", 0, 0},
          {2, "GreenAddTerm(2)", 1, 1},
          {2, "BlueAddTerm(3)", 1, 1},
          {2, "AlphaAddTerm(0)", 1, 1}},
         2},
        {"RGB", readRgb, {1, 2, 3}, {{1, "RGB", 0, 2}}, 3},
        {"RGBA", readRgba, {1, 2, 3, 4}, {{1, "RGBA", 0, 3}}, 4},
    };
    const uint32_t at = 5;
    for (const RecordCase& c : cases) {
        SCOPED_TRACE(c.name);
        Bytes buffer(at, 0xEE);
        buffer.insert(buffer.end(), c.bytes.begin(), c.bytes.end());
        RecordingEngine engine(buffer);
        ItemHandle parent = engine.addTagData(0, static_cast<uint32_t>(buffer.size() - 1), 0);
        tagloom::Decoder decoder(&engine, 1000);
        EXPECT_EQ(c.read(decoder, parent, at), at + c.next);
        std::vector<Item> expected = c.items;
        for (Item& item : expected) item.start += at, item.end += at;
        EXPECT_EQ(engine.tree(parent), expected);
    }
}

TEST(Records, AWideRectangleTakesSixteenBitCoordinates) {
    Bytes data = rectangle(16, -1, 0x7FFF, -32768, 0);
    ASSERT_EQ(data[0] >> 3, 16); // the count field alone is 0x80
    RecordingEngine engine(data);
    ItemHandle parent = engine.addTagData(0, static_cast<uint32_t>(data.size() - 1), 0);
    tagloom::Decoder decoder(&engine, 1000);
    EXPECT_EQ(tagloom::readRectangle(decoder, parent, 0), 9u);
    std::vector<Item> items = engine.tree(parent);
    ASSERT_EQ(items.size(), 6u);
    EXPECT_EQ(items[1].name, "Nbits (16)");
    EXPECT_EQ(items[2].name, "Xmin (-1=-0.05 * 20 twips)");
    EXPECT_EQ(items[3].name, "Xmax (32767=1638.35 * 20 twips)");
    EXPECT_EQ(items[4].name, "Ymin (-32768=-1638.40 * 20 twips)");
}

TEST(Records, ARecordCutOffByTheEndReadsZerosAndStaysInside) {
    Bytes data{0x78, 0x00}; // a 15-bit rectangle with all but 11 bits missing
    RecordingEngine engine(data);
    ItemHandle parent = engine.addTagData(0, 1, 0);
    tagloom::Decoder decoder(&engine, 1000);
    EXPECT_EQ(tagloom::readRectangle(decoder, parent, 0), 9u);
    std::vector<Item> items = engine.tree(parent);
    ASSERT_EQ(items.size(), 6u);
    EXPECT_EQ(items[5], (Item{2, "Ymax (0=0.00 * 20 twips)", 6, 8}));
}

TEST(Records, AFailedRecordItemGetsNoChildren) {
    Bytes data{0x0A, 0x3E, 0x80};
    RecordingEngine engine(data);
    ItemHandle parent = engine.addTagData(0, 2, 0);
    engine.failAfter(0);
    tagloom::Decoder decoder(&engine, 1000);
    EXPECT_EQ(tagloom::readMatrix(decoder, parent, 0), 3u);
    EXPECT_TRUE(engine.tree(parent).empty());
    EXPECT_TRUE(decoder.out.stopped());
}

} // namespace
