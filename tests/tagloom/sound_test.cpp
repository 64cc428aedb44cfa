// DefineSound, StartSound, SoundStreamHead and SoundStreamHead2: the sound flags
// decoded through their name tables, the counts and ids as ranges.
#include <gtest/gtest.h>

#include "corpus.h"
#include "decode_tag.h"
#include "opened_tag.h"
#include "swf_builder.h"

using namespace testing_support;

namespace {

constexpr uint32_t kDefineSound = 14;
constexpr uint32_t kStartSound = 15;
constexpr uint32_t kSoundStreamHead = 18;
constexpr uint32_t kSoundStreamHead2 = 45;

std::vector<Expected> defineSound(const char* format, const char* rate, const char* size, const char* type,
                                  int64_t last) {
    return {{1, "SoundID", 0, 1},       {1, format, 2, 2}, {1, rate, 2, 2},
            {1, size, 2, 2},            {1, type, 2, 2},   {1, "Sound Sample Count", 3, 6},
            {1, "Sound Data", 7, last}};
}

// The nine items of a stream header whose playback byte is 0x0A (22 kHz, 16 bit, mono).
std::vector<Expected> streamHead(const std::string& compression, const std::string& rate, const std::string& size,
                                 const std::string& type) {
    return {{1, "Reserved bit7 -> bit4", 0, 0},
            {1, "PlaybackSoundRate bit3 -> bit2(22 kHz)", 0, 0},
            {1, "PlaybackSoundSize bit1(16 bit)", 0, 0},
            {1, "PlaybackSoundType bit0(Mono)", 0, 0},
            {1, "StreamSoundCompression bit7 -> bit4(" + compression + ")", 1, 1},
            {1, "StreamSoundRate bit3 -> bit2(" + rate + ")", 1, 1},
            {1, "StreamSoundSize bit1(" + size + ")", 1, 1},
            {1, "StreamSoundType bit0(" + type + ")", 1, 1},
            {1, "StreamSoundSampleCount", 2, 3}};
}

std::vector<Expected> withLatencySeek(std::vector<Expected> items) {
    items.push_back({1, "LatencySeek", 4, 5});
    return items;
}

TEST(SoundTags, DecodeTheirFieldsThroughTheNameTables) {
    const Bytes samples{0x00, 0x10, 0x00, 0x00}; // sample count 4096
    std::vector<TagCase> cases = {
        {"DefineSound flags 0x00", kDefineSound, join({{0x01, 0x00, 0x00}, samples, {0xAA, 0xBB}}),
         defineSound("Format:Raw", "Rate:5.5khz", "SoundSize:8bit", "SoundType:Mono", 8), 7},
        {"DefineSound flags 0x2F", kDefineSound, join({{0x01, 0x00, 0x2F}, samples, {0xAA}}),
         defineSound("Format:MP3", "Rate:44khz", "SoundSize:16bit", "SoundType:Stereo", 7), 7},
        {"DefineSound flags 0x3D, no sound data", kDefineSound, join({{0x01, 0x00, 0x3D}, samples}),
         defineSound("Format:Raw", "Rate:44khz", "SoundSize:8bit", "SoundType:Stereo", 6), 7},
        {"DefineSound flags 0x16", kDefineSound, join({{0x01, 0x00, 0b0001'01'1'0}, samples, {0xAA}}),
         defineSound("Format:ADPCM", "Rate:11khz", "SoundSize:16bit", "SoundType:Mono", 7), 7},
        {"DefineSound flags 0x68", kDefineSound, join({{0x01, 0x00, 0b0110'10'0'0}, samples, {0xAA}}),
         defineSound("Format:Nellymoser", "Rate:22khz", "SoundSize:8bit", "SoundType:Mono", 7), 7},
        {"StartSound: the sound info after the id gets no items", kStartSound, {0x07, 0x00, 0x01, 0x02},
         {{1, "SoundId", 0, 1}}, 2},
        {"SoundStreamHead, stream byte 0x2E", kSoundStreamHead, {0x0A, 0x2E, 0x40, 0x02},
         streamHead("MP3", "44 kHz", "16 bit", "Mono"), 4},
        {"SoundStreamHead never has a latency seek, even for MP3", kSoundStreamHead, {0x0A, 0x2E, 0x40, 0x02, 0x10, 0x00},
         streamHead("MP3", "44 kHz", "16 bit", "Mono"), 4},
        {"SoundStreamHead2 with MP3 adds the latency seek", kSoundStreamHead2, {0x0A, 0x2E, 0x40, 0x02, 0x10, 0x00},
         withLatencySeek(streamHead("MP3", "44 kHz", "16 bit", "Mono")), 4},
        {"SoundStreamHead2 with ADPCM is a plain stream header", kSoundStreamHead2, {0x0A, 0x1B, 0x40, 0x02, 0x10, 0x00},
         streamHead("ADPCM", "22 kHz", "16 bit", "Stereo"), 4},
        {"SoundStreamHead2, playback bits 7 to 4 are never decoded", kSoundStreamHead2, {0xFA, 0x00, 0x40, 0x02},
         streamHead("uncompressed", "5.5 kHz", "8 bit", "Mono"), 4},
    };
    expectTagCases(cases);
}

// Every format code gets a label; the codes that have no name in the SWF format show
// their number. The stream compression name fills the 64-byte label exactly for code 3.
TEST(SoundTags, EveryFormatCodeHasALabel) {
    const char* const defineSoundLabels[16] = {
        "Format:Raw",         "Format:ADPCM",       "Format:MP3",        "Format:Raw",
        "Format:Nellymoser 16khz", "Format:Nellymoser 8khz", "Format:Nellymoser", "Format:Unknown(7)",
        "Format:Unknown(8)",  "Format:Unknown(9)",  "Format:Unknown(10)", "Format:Speex",
        "Format:Unknown(12)", "Format:Unknown(13)", "Format:Unknown(14)", "Format:Unknown(15)"};
    const char* const compressionNames[16] = {
        "uncompressed",    "ADPCM",           "MP3",             "uncompressed little-endian",
        "",                "",                "Nellymoser",      "unknown code 7",
        "unknown code 8",  "unknown code 9",  "unknown code 10", "Speex",
        "unknown code 12", "unknown code 13", "unknown code 14", "unknown code 15"};
    for (uint8_t code = 0; code < 16; ++code) {
        SCOPED_TRACE(static_cast<int>(code));
        uint8_t flags = static_cast<uint8_t>(code << 4 | 0x0F);
        std::vector<Item> sound = openBody(kDefineSound, {0x01, 0x00, flags, 0, 0, 0, 0, 0xAA}).items;
        ASSERT_EQ(sound.size(), 7u);
        EXPECT_EQ(sound[1], (Item{1, defineSoundLabels[code], kDataStart + 2, kDataStart + 2}));
        EXPECT_EQ(sound[2].name, "Rate:44khz");

        std::vector<Item> stream = openBody(kSoundStreamHead, {0x06, flags, 0x00, 0x00}).items;
        ASSERT_EQ(stream.size(), 9u);
        EXPECT_EQ(stream[4], (Item{1, std::string("StreamSoundCompression bit7 -> bit4(") + compressionNames[code] + ")",
                                   kDataStart + 1, kDataStart + 1}));
        EXPECT_EQ(stream[7].name, "StreamSoundType bit0(Stereo)");
    }
    std::vector<Item> longest = openBody(kSoundStreamHead, {0x0A, 0x30, 0x00, 0x00}).items;
    EXPECT_EQ(longest[4].name.size(), 63u);
}

// Fixed fields are shown whatever the data holds; bytes missing at the end of the
// file read as zero.
TEST(SoundTags, CutOffTagsStillShowTheirFixedFields) {
    std::vector<TagCase> cases = {
        {"DefineSound of three bytes", kDefineSound, {0x01, 0x00, 0x2F},
         defineSound("Format:MP3", "Rate:44khz", "SoundSize:16bit", "SoundType:Stereo", 2), 7},
        {"DefineSound of one byte", kDefineSound, {0x01},
         defineSound("Format:Raw", "Rate:5.5khz", "SoundSize:8bit", "SoundType:Mono", 0), 7},
        {"StartSound of one byte", kStartSound, {0x01}, {{1, "SoundId", 0, 1}}, 2},
        {"SoundStreamHead2 of two bytes", kSoundStreamHead2, {0x0A, 0x2E},
         withLatencySeek(streamHead("MP3", "44 kHz", "16 bit", "Mono")), 4},
        {"SoundStreamHead of one byte", kSoundStreamHead, {0x0A},
         streamHead("uncompressed", "5.5 kHz", "8 bit", "Mono"), 4},
    };
    expectTagCases(cases);
}

TEST(SoundTags, EveryCorpusSoundTagOpensInsideItsData) {
    std::vector<CorpusTag> tags = corpusTagsWithData({kDefineSound, kStartSound, kSoundStreamHead, kSoundStreamHead2});
    ASSERT_FALSE(tags.empty());
    for (const CorpusTag& tag : tags) {
        SCOPED_TRACE(where(tag));
        Opened opened = openCorpusTag(tag);
        expectItemsInsideTheData(tag, opened.items);
        const Bytes& bytes = tag.file->bytes;
        switch (tag.code) {
        case kDefineSound:
            ASSERT_EQ(opened.items.size(), 7u);
            EXPECT_EQ(opened.items.back().end, tag.dataStart + tag.length - 1); // the data runs to the tag's end
            break;
        case kStartSound:
            EXPECT_EQ(opened.items.size(), 1u);
            break;
        default: {
            bool mp3 = bytes[tag.dataStart + 1] >> 4 == 2;
            EXPECT_EQ(opened.items.size(), tag.code == kSoundStreamHead2 && mp3 ? 10u : 9u);
        }
        }
        for (const Item& item : opened.items) EXPECT_EQ(item.name.find("nknown"), std::string::npos) << item;
    }
}

} // namespace
