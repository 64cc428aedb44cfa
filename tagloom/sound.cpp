// Sound tags: DefineSound, StartSound, SoundStreamHead and SoundStreamHead2. The
// decoders show the header fields; the sound data is marked as one raw range.
//
// A sound flags byte holds the format (compression) in bits 7 to 4, the sampling rate
// in bits 3 and 2, the sample size in bit 1 and the channels in bit 0. The playback
// byte of the stream headers has the same layout with bits 7 to 4 reserved.
#include <cstddef>

#include "tag_table.h"

namespace tagloom {
namespace {

// DefineSound labels, one row per value of the field. Formats 4 and 5 (Nellymoser at
// a fixed rate) and 11 (Speex) are named as the SWF format defines them; the other
// codes are not defined by the format and show their number.
const char* const kFormatLabels[16] = {
    "Format:Raw",                // 0
    "Format:ADPCM",              // 1
    "Format:MP3",                // 2
    "Format:Raw",                // 3
    "Format:Nellymoser 16khz",   // 4
    "Format:Nellymoser 8khz",    // 5
    "Format:Nellymoser",         // 6
    "Format:Unknown(7)",         // 7
    "Format:Unknown(8)",         // 8
    "Format:Unknown(9)",         // 9
    "Format:Unknown(10)",        // 10
    "Format:Speex",              // 11
    "Format:Unknown(12)",        // 12
    "Format:Unknown(13)",        // 13
    "Format:Unknown(14)",        // 14
    "Format:Unknown(15)",        // 15
};
const char* const kRateLabels[4] = {"Rate:5.5khz", "Rate:11khz", "Rate:22khz", "Rate:44khz"};
const char* const kSizeLabels[2] = {"SoundSize:8bit", "SoundSize:16bit"};
const char* const kChannelLabels[2] = {"SoundType:Mono", "SoundType:Stereo"};

// Stream header names, one row per value of the field. Codes 4 and 5 have an empty
// name; 11 is Speex; the codes the format does not define show their number.
const char* const kCompressionNames[16] = {
    "uncompressed",              // 0
    "ADPCM",                     // 1
    "MP3",                       // 2
    "uncompressed little-endian", // 3
    "",                          // 4
    "",                          // 5
    "Nellymoser",                // 6
    "unknown code 7",            // 7
    "unknown code 8",            // 8
    "unknown code 9",            // 9
    "unknown code 10",           // 10
    "Speex",                     // 11
    "unknown code 12",           // 12
    "unknown code 13",           // 13
    "unknown code 14",           // 14
    "unknown code 15",           // 15
};
const char* const kRateNames[4] = {"5.5 kHz", "11 kHz", "22 kHz", "44 kHz"};
const char* const kSizeNames[2] = {"8 bit", "16 bit"};
const char* const kChannelNames[2] = {"Mono", "Stereo"};

constexpr int kFormatShift = 4;
constexpr int kRateShift = 2;
constexpr int kSizeShift = 1;
constexpr int kChannelShift = 0;
constexpr uint32_t kMp3 = 2;

// The row of the bit field at `shift` of a flags byte. Each table has one row per value
// that its field can take, and the field is masked to the table's size, so no code
// falls outside the table.
template <size_t Rows>
const char* fieldName(uint8_t flags, int shift, const char* const (&names)[Rows]) {
    static_assert(Rows != 0 && (Rows & (Rows - 1)) == 0, "one row per value of a bit field");
    return names[(flags >> shift) & (Rows - 1)];
}

} // namespace

uint32_t decodeDefineSound(Decoder& decoder, ItemHandle parent, uint32_t start, uint32_t count) {
    uint8_t flags = decoder.bytes.u8(uint64_t{start} + 2);
    decoder.out.add(parent, start, start + 1, "SoundID");
    decoder.out.add(parent, start + 2, start + 2, "%s", fieldName(flags, kFormatShift, kFormatLabels));
    decoder.out.add(parent, start + 2, start + 2, "%s", fieldName(flags, kRateShift, kRateLabels));
    decoder.out.add(parent, start + 2, start + 2, "%s", fieldName(flags, kSizeShift, kSizeLabels));
    decoder.out.add(parent, start + 2, start + 2, "%s", fieldName(flags, kChannelShift, kChannelLabels));
    decoder.out.add(parent, start + 3, start + 6, "Sound Sample Count");
    decoder.out.add(parent, start + 7, start + count - 1, "Sound Data");
    return start + 7;
}

uint32_t decodeStartSound(Decoder& decoder, ItemHandle parent, uint32_t start, uint32_t) {
    decoder.out.add(parent, start, start + 1, "SoundId");
    return start + 2;
}

uint32_t decodeSoundStreamHead(Decoder& decoder, ItemHandle parent, uint32_t start, uint32_t) {
    uint8_t playback = decoder.bytes.u8(start);
    decoder.out.add(parent, start, start, "Reserved bit7 -> bit4");
    decoder.out.add(parent, start, start, "PlaybackSoundRate bit3 -> bit2(%s)", fieldName(playback, kRateShift, kRateNames));
    decoder.out.add(parent, start, start, "PlaybackSoundSize bit1(%s)", fieldName(playback, kSizeShift, kSizeNames));
    decoder.out.add(parent, start, start, "PlaybackSoundType bit0(%s)", fieldName(playback, kChannelShift, kChannelNames));

    uint8_t stream = decoder.bytes.u8(uint64_t{start} + 1);
    uint32_t at = start + 1;
    decoder.out.add(parent, at, at, "StreamSoundCompression bit7 -> bit4(%s)",
                    fieldName(stream, kFormatShift, kCompressionNames));
    decoder.out.add(parent, at, at, "StreamSoundRate bit3 -> bit2(%s)", fieldName(stream, kRateShift, kRateNames));
    decoder.out.add(parent, at, at, "StreamSoundSize bit1(%s)", fieldName(stream, kSizeShift, kSizeNames));
    decoder.out.add(parent, at, at, "StreamSoundType bit0(%s)", fieldName(stream, kChannelShift, kChannelNames));

    decoder.out.add(parent, start + 2, start + 3, "StreamSoundSampleCount");
    return start + 4;
}

// The same header; an MP3 stream also carries its latency seek count.
uint32_t decodeSoundStreamHead2(Decoder& decoder, ItemHandle parent, uint32_t start, uint32_t count) {
    uint32_t next = decodeSoundStreamHead(decoder, parent, start, count);
    if (decoder.bytes.u8(uint64_t{start} + 1) >> kFormatShift == kMp3) decoder.out.add(parent, next, next + 1, "LatencySeek");
    return next;
}

} // namespace tagloom
