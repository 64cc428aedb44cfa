// Action records: the data of a DoAction tag is a run of records, each a code byte
// and, for codes with bit 7 set, a 16-bit length and that many bytes of data. Every
// record is shown under the name of its action; the data of eight actions is split
// further by the action data decoders below.
#include <algorithm>
#include <array>

#include "records.h"
#include "tag_table.h"

namespace tagloom {
namespace {

uint32_t decodeFrameIndex(Decoder& decoder, ItemHandle data, uint32_t start, uint32_t length);
uint32_t decodeUrl(Decoder& decoder, ItemHandle data, uint32_t start, uint32_t length);
uint32_t decodeWaitForFrame(Decoder& decoder, ItemHandle data, uint32_t start, uint32_t length);
uint32_t decodePush(Decoder& decoder, ItemHandle data, uint32_t start, uint32_t length);
uint32_t decodeConstantPool(Decoder& decoder, ItemHandle data, uint32_t start, uint32_t length);
uint32_t decodeBranch(Decoder& decoder, ItemHandle data, uint32_t start, uint32_t length);
uint32_t decodeFunction(Decoder& decoder, ItemHandle data, uint32_t start, uint32_t length);

struct ActionTableEntry {
    uint32_t code;
    TagDataHandler decoder; // splits the record's data; doNothing for most actions
    const char* name;
};

const std::array<ActionTableEntry, 88> kActionTable{{
    {0x00, doNothing, "None"},
    {0x04, doNothing, "NextFrame"},
    {0x05, doNothing, "PrevFrame"},
    {0x06, doNothing, "Play"},
    {0x07, doNothing, "Stop"},
    {0x08, doNothing, "ToggleQuality"},
    {0x09, doNothing, "StopSounds"},
    {0x0A, doNothing, "Add"},
    {0x0B, doNothing, "Subtract"},
    {0x0C, doNothing, "Multiply"},
    {0x0D, doNothing, "Divide"},
    {0x0E, doNothing, "Equals"},
    {0x0F, doNothing, "Less"},
    {0x10, doNothing, "And"},
    {0x11, doNothing, "Or"},
    {0x12, doNothing, "Not"},
    {0x13, doNothing, "StringEquals"},
    {0x14, doNothing, "StringLength"},
    {0x15, doNothing, "StringExtract"},
    {0x17, doNothing, "Pop"},
    {0x18, doNothing, "ToInteger"},
    {0x1C, doNothing, "GetVariable"},
    {0x1D, doNothing, "SetVariable"},
    {0x20, doNothing, "SetTarget2"},
    {0x21, doNothing, "StringAdd"},
    {0x22, doNothing, "GetProperty"},
    {0x23, doNothing, "SetProperty"},
    {0x24, doNothing, "CloneSprite"},
    {0x25, doNothing, "RemoveSprite"},
    {0x26, doNothing, "Trace"},
    {0x27, doNothing, "StartDrag"},
    {0x28, doNothing, "EndDrag"},
    {0x29, doNothing, "StringLess"},
    {0x30, doNothing, "RandomNumber"},
    {0x31, doNothing, "MBStringLength"},
    {0x32, doNothing, "CharToAscii"},
    {0x33, doNothing, "AsciiToChar"},
    {0x34, doNothing, "GetTime"},
    {0x35, doNothing, "MBStringExtract"},
    {0x36, doNothing, "MBCharToAscii"},
    {0x37, doNothing, "MBAsciiToChar"},
    {0x3B, doNothing, "Delete"},
    {0x3C, doNothing, "Var"},
    {0x3D, doNothing, "Call2"},
    {0x3E, doNothing, "Return"},
    {0x3F, doNothing, "Mod"},
    {0x40, doNothing, "New"},
    {0x44, doNothing, "TypeOf"},
    {0x45, doNothing, "TargetPath"},
    {0x46, doNothing, "KeystoStack"},
    {0x47, doNothing, "Add2"},
    {0x48, doNothing, "Less2"},
    {0x49, doNothing, "Equal"},
    {0x4A, doNothing, "Number"},
    {0x4B, doNothing, "String"},
    {0x4C, doNothing, "MakeBoolean"},
    {0x4E, doNothing, "GetMember"},
    {0x4F, doNothing, "SetMember"},
    {0x50, doNothing, "Inc"},
    {0x51, doNothing, "Dec"},
    {0x52, doNothing, "Call3"},
    {0x54, doNothing, "InstanceOf"},
    {0x60, doNothing, "BitAnd"},
    {0x61, doNothing, "BitOR"},
    {0x62, doNothing, "BitXOR"},
    {0x63, doNothing, "ShiftLeft"},
    {0x64, doNothing, "ShiftRight"},
    {0x65, doNothing, "ShiftRightRotate"},
    {0x66, doNothing, "StrictEqual"},
    {0x67, doNothing, "Great"},
    {0x80, doNothing, "HasLength"},
    {0x81, decodeFrameIndex, "GotoFrame"},
    {0x83, decodeUrl, "GetURL"},
    {0x87, doNothing, "StacktopToRegister"},
    {0x8A, decodeWaitForFrame, "WaitForFrame"},
    {0x8B, doNothing, "SetTarget"},
    {0x8C, doNothing, "GotoLabel"},
    {0x94, doNothing, "With"},
    {0x96, decodePush, "Push"},
    {0x88, decodeConstantPool, "ConstantPool"},
    {0x99, decodeBranch, "Jump"},
    {0x9D, decodeBranch, "If"},
    {0x9E, doNothing, "Call"},
    {0x9A, doNothing, "GetURL2"},
    {0x9B, decodeFunction, "DeclareFunc"},
    {0x9F, doNothing, "GotoFrame2"},
    {0x8D, doNothing, "WaitForFrame2"},
    {0xAA, doNothing, "QuickTime"},
}};

// The size of a pushed value, in bytes after its type byte.
enum : uint16_t {
    kUpToNul = 0xFFFF,      // a string with its terminating zero
    kRestOfRecord = 0xFFFE, // a type whose size is unknown: the rest of the Push data
};

struct PushType {
    uint16_t type;
    uint16_t size;
    const char* name;
};

const std::array<PushType, 10> kPushTypes{{
    {0, kUpToNul, "string"},
    {1, 4, "float"},
    {2, 0, "NULL"},
    {3, 0, "unknow"},
    {4, 1, "register"},
    {5, 1, "BOOL"},
    {6, 8, "double"},
    {7, 4, "DWORD"},
    {8, 1, "ConstantPoolString"},
    // Files with more than 256 constants push their indexes in 16 bits.
    {9, 2, "ConstantPoolString16"},
}};

// No size is known for the other type bytes, so the values after one cannot be told
// apart: the rest of the Push data is shown as its value.
const PushType kInvalidPushType{0xFFFF, kRestOfRecord, "invalid"};

const ActionTableEntry* lookupAction(uint32_t code) {
    auto row = std::find_if(kActionTable.begin(), kActionTable.end(),
                            [code](const ActionTableEntry& entry) { return entry.code == code; });
    return row == kActionTable.end() ? nullptr : &*row;
}

const PushType& lookupPushType(uint8_t type) {
    return type < kPushTypes.size() ? kPushTypes[type] : kInvalidPushType;
}

// Offsets computed from 16-bit lengths may pass the last 32-bit offset; they stay
// there, so that item ends cannot wrap round to the start of the buffer.
uint32_t clampOffset(uint64_t offset) { return static_cast<uint32_t>(std::min<uint64_t>(offset, UINT32_MAX)); }

bool moreToRead(const Decoder& decoder, uint64_t offset, uint64_t end) {
    return offset < end && decoder.bytes.inside(offset) && !decoder.out.stopped();
}

uint32_t decodeFrameIndex(Decoder& decoder, ItemHandle data, uint32_t start, uint32_t) {
    decoder.out.add(data, start, start + 1, "Frame Index %d", decoder.bytes.u16(start));
    return start + 2;
}

uint32_t decodeUrl(Decoder& decoder, ItemHandle data, uint32_t start, uint32_t) {
    uint32_t target = readString(decoder, data, start, "Target URL string");
    return readString(decoder, data, target, "Target string");
}

uint32_t decodeWaitForFrame(Decoder& decoder, ItemHandle data, uint32_t start, uint32_t) {
    decoder.out.add(data, start, start + 1, "Frame to wait for %d", decoder.bytes.u16(start));
    decoder.out.add(data, start + 2, start + 2, "Number of actions to skip if frame is not loaded %d",
                    decoder.bytes.u8(start + 2));
    return start + 3;
}

// Where the value after the type byte at `offset` ends (exclusive).
uint64_t pushValueEnd(const Decoder& decoder, const PushType& type, uint32_t offset, uint64_t dataEnd) {
    if (type.size == kUpToNul) return uint64_t{decoder.bytes.stringEnd(offset + 1)} + 1;
    if (type.size == kRestOfRecord) return dataEnd;
    return uint64_t{offset} + 1 + type.size;
}

uint32_t decodePush(Decoder& decoder, ItemHandle data, uint32_t start, uint32_t length) {
    uint64_t end = uint64_t{start} + length;
    uint64_t offset = start;
    for (int index = 0; moreToRead(decoder, offset, end); ++index) {
        uint32_t at = static_cast<uint32_t>(offset);
        uint8_t typeByte = decoder.bytes.u8(at);
        const PushType& type = lookupPushType(typeByte);
        uint32_t last = clampOffset(pushValueEnd(decoder, type, at, end) - 1);
        ItemHandle item = decoder.out.add(data, at, at + 1, "Push Item %d", index);
        decoder.out.add(item, at, at, "Push Type(%s) bPushType = %d", type.name, typeByte);
        decoder.out.add(item, at + 1, last, "Push Data");
        decoder.out.setEnd(item, last);
        offset = uint64_t{last} + 1;
    }
    return clampOffset(offset);
}

uint32_t decodeConstantPool(Decoder& decoder, ItemHandle data, uint32_t start, uint32_t length) {
    decoder.out.add(data, start, start + 1, "Constant Count"); // the strings are counted by the length
    uint64_t end = uint64_t{start} + length;
    uint64_t offset = uint64_t{start} + 2;
    for (int index = 0; moreToRead(decoder, offset, end); ++index) {
        uint32_t at = static_cast<uint32_t>(offset);
        uint32_t nul = decoder.bytes.stringEnd(at);
        decoder.out.add(data, at, nul, "Constant%d", index);
        offset = uint64_t{nul} + 1;
    }
    return clampOffset(offset);
}

uint32_t decodeBranch(Decoder& decoder, ItemHandle data, uint32_t start, uint32_t) {
    decoder.out.add(data, start, start + 1, "BranchOffset(%d)", decoder.bytes.s16(start));
    return start + 2;
}

// The function's code is one item over its raw bytes; the record loop goes on to show
// those of them that follow the record as records of their own.
uint32_t decodeFunction(Decoder& decoder, ItemHandle data, uint32_t start, uint32_t) {
    uint32_t counted = readString(decoder, data, start, "FunctionName");
    uint16_t parameterCount = decoder.bytes.u16(counted);
    decoder.out.add(data, counted, counted + 1, "Number of parameters");
    uint32_t offset = counted + 2;
    if (parameterCount != 0) {
        Group parameters(decoder.out, data, offset, "Parameters");
        for (int index = 0; index < parameterCount && moreToRead(decoder, offset, UINT64_MAX); ++index) {
            uint32_t nul = decoder.bytes.stringEnd(offset);
            decoder.out.add(parameters.handle(), offset, nul, "Parameter%d", index);
            offset = nul + 1;
        }
        parameters.close(offset - 1);
    }
    uint16_t codeSize = decoder.bytes.u16(offset);
    decoder.out.add(data, offset, offset + 1, "CodeSize");
    decoder.out.add(data, offset + 2, offset + 1 + codeSize, "FunctionCode");
    return offset + 2;
}

} // namespace

// The loop has no end code: a 0x00 byte is a "None" record and the records go on until
// one ends at or past the end of the data. The next record's offset comes from the
// record's own length, never from what its data decoder read.
uint32_t decodeDoAction(Decoder& decoder, ItemHandle parent, uint32_t start, uint32_t count) {
    uint64_t end = uint64_t{start} + count;
    uint64_t offset = start;
    while (moreToRead(decoder, offset, end)) {
        uint32_t at = static_cast<uint32_t>(offset);
        uint8_t code = decoder.bytes.u8(at);
        bool hasData = (code & 0x80) != 0;
        uint16_t length = hasData ? decoder.bytes.u16(uint64_t{at} + 1) : 0;
        uint64_t next = hasData ? uint64_t{at} + 3 + length : uint64_t{at} + 1;
        const ActionTableEntry* row = lookupAction(code);
        ItemHandle record = decoder.out.add(parent, at, clampOffset(next - 1), "%s", row ? row->name : "Unknow Action");
        decoder.out.add(record, at, at, "ActionCode");
        if (hasData) {
            decoder.out.add(record, at + 1, at + 2, "ActionLength");
            ItemHandle data = decoder.out.add(record, at + 3, clampOffset(next - 1), "ActionData");
            if (row) row->decoder(decoder, data, at + 3, length);
        }
        offset = next;
    }
    return clampOffset(offset);
}

} // namespace tagloom
