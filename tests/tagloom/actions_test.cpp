// The action records of DoAction: the record loop, the action table and the decoders
// of the actions whose data is split into fields.
#include <gtest/gtest.h>

#include <map>
#include <tuple>

#include "corpus.h"
#include "decode_tag.h"
#include "tag_table.h"

using namespace testing_support;

namespace {

constexpr uint32_t kDoAction = 12;
constexpr uint32_t kAt = 10; // where the tag data starts in the test buffers

struct Decoded {
    std::vector<Item> items; // offsets relative to the start of the data
    uint32_t next;           // the decoder's result, relative too
};

// Runs the DoAction decoder on `data` at kAt, with `after` following it in the buffer
// (nothing after it: the data ends the file).
Decoded decodeActions(const Bytes& data, const Bytes& after = {}) {
    Bytes buffer(kAt, 0xEE);
    buffer.insert(buffer.end(), data.begin(), data.end());
    buffer.insert(buffer.end(), after.begin(), after.end());
    RecordingEngine engine(buffer);
    uint32_t count = static_cast<uint32_t>(data.size());
    ItemHandle parent = engine.addTagData(kAt, kAt + count - 1, kDoAction);
    tagloom::Decoder decoder(&engine, tagloom::itemBudget(count));
    Decoded decoded{{}, tagloom::decodeDoAction(decoder, parent, kAt, count) - kAt};
    decoded.items = engine.tree(parent);
    for (Item& item : decoded.items) item.start -= kAt, item.end -= kAt;
    return decoded;
}

struct ActionCase {
    const char* name;
    Bytes data;
    std::vector<Item> items;
    uint32_t next;
    Bytes after = {};
};

void expectDecodes(const ActionCase& c) {
    SCOPED_TRACE(c.name);
    Decoded decoded = decodeActions(c.data, c.after);
    EXPECT_EQ(decoded.items, c.items);
    EXPECT_EQ(decoded.next, c.next);
}

TEST(ActionRecords, DecodeRecordByRecord) {
    const ActionCase cases[] = {
        {"no data", {}, {}, 0},
        {"a record without data", {0x07}, {{1, "Stop", 0, 0}, {2, "ActionCode", 0, 0}}, 1},
        {"None does not end the records",
         {0x00, 0x06},
         {{1, "None", 0, 0}, {2, "ActionCode", 0, 0}, {1, "Play", 1, 1}, {2, "ActionCode", 1, 1}},
         2},
        {"an unknown code without data",
         {0x01, 0x06},
         {{1, "Unknow Action", 0, 0}, {2, "ActionCode", 0, 0}, {1, "Play", 1, 1}, {2, "ActionCode", 1, 1}},
         2},
        {"an unknown code with empty data",
         {0xFF, 0x00, 0x00},
         {{1, "Unknow Action", 0, 2}, {2, "ActionCode", 0, 0}, {2, "ActionLength", 1, 2}, {2, "ActionData", 3, 2}},
         3},
        {"an unknown code's data stays whole",
         {0xC0, 0x02, 0x00, 0x05, 0x00},
         {{1, "Unknow Action", 0, 4}, {2, "ActionCode", 0, 0}, {2, "ActionLength", 1, 2}, {2, "ActionData", 3, 4}},
         5},
        {"a known action without a data decoder",
         {0x9F, 0x01, 0x00, 0x01},
         {{1, "GotoFrame2", 0, 3}, {2, "ActionCode", 0, 0}, {2, "ActionLength", 1, 2}, {2, "ActionData", 3, 3}},
         4},
        {"GotoFrame",
         {0x81, 0x02, 0x00, 0x05, 0x00},
         {{1, "GotoFrame", 0, 4},
          {2, "ActionCode", 0, 0},
          {2, "ActionLength", 1, 2},
          {2, "ActionData", 3, 4},
          {3, "Frame Index 5", 3, 4}},
         5},
        {"the frame index is unsigned",
         {0x81, 0x02, 0x00, 0xFF, 0xFF},
         {{1, "GotoFrame", 0, 4},
          {2, "ActionCode", 0, 0},
          {2, "ActionLength", 1, 2},
          {2, "ActionData", 3, 4},
          {3, "Frame Index 65535", 3, 4}},
         5},
        {"GetURL: two strings with their zeros",
         {0x83, 0x05, 0x00, 'a', 'b', 0x00, 'c', 0x00},
         {{1, "GetURL", 0, 7},
          {2, "ActionCode", 0, 0},
          {2, "ActionLength", 1, 2},
          {2, "ActionData", 3, 7},
          {3, "Target URL string", 3, 5},
          {3, "Target string", 6, 7}},
         8},
        {"WaitForFrame",
         {0x8A, 0x03, 0x00, 0x03, 0x00, 0xFF},
         {{1, "WaitForFrame", 0, 5},
          {2, "ActionCode", 0, 0},
          {2, "ActionLength", 1, 2},
          {2, "ActionData", 3, 5},
          {3, "Frame to wait for 3", 3, 4},
          {3, "Number of actions to skip if frame is not loaded 255", 5, 5}},
         6},
        {"Jump backwards, then If",
         {0x99, 0x02, 0x00, 0xFE, 0xFF, 0x9D, 0x02, 0x00, 0x05, 0x00},
         {{1, "Jump", 0, 4},
          {2, "ActionCode", 0, 0},
          {2, "ActionLength", 1, 2},
          {2, "ActionData", 3, 4},
          {3, "BranchOffset(-2)", 3, 4},
          {1, "If", 5, 9},
          {2, "ActionCode", 5, 5},
          {2, "ActionLength", 6, 7},
          {2, "ActionData", 8, 9},
          {3, "BranchOffset(5)", 8, 9}},
         10},
        {"Push of a string and a BOOL",
         {0x96, 0x05, 0x00, /* string */ 0x00, 'A', 0x00, /* BOOL */ 0x05, 0x01},
         {{1, "Push", 0, 7},
          {2, "ActionCode", 0, 0},
          {2, "ActionLength", 1, 2},
          {2, "ActionData", 3, 7},
          {3, "Push Item 0", 3, 5},
          {4, "Push Type(string) bPushType = 0", 3, 3},
          {4, "Push Data", 4, 5},
          {3, "Push Item 1", 6, 7},
          {4, "Push Type(BOOL) bPushType = 5", 6, 6},
          {4, "Push Data", 7, 7}},
         8},
        {"Push values of every fixed size",
         {0x96, 28, 0x00,
          0x01, 1, 2, 3, 4,             // float
          0x02,                         // NULL
          0x03,                         // unknow
          0x04, 1,                      // register
          0x06, 1, 2, 3, 4, 5, 6, 7, 8, // double
          0x07, 1, 2, 3, 4,             // DWORD
          0x08, 1,                      // constant index
          0x09, 1, 0},                  // 16-bit constant index
         {{1, "Push", 0, 30},
          {2, "ActionCode", 0, 0},
          {2, "ActionLength", 1, 2},
          {2, "ActionData", 3, 30},
          {3, "Push Item 0", 3, 7},
          {4, "Push Type(float) bPushType = 1", 3, 3},
          {4, "Push Data", 4, 7},
          {3, "Push Item 1", 8, 8},
          {4, "Push Type(NULL) bPushType = 2", 8, 8},
          {4, "Push Data", 9, 8},
          {3, "Push Item 2", 9, 9},
          {4, "Push Type(unknow) bPushType = 3", 9, 9},
          {4, "Push Data", 10, 9},
          {3, "Push Item 3", 10, 11},
          {4, "Push Type(register) bPushType = 4", 10, 10},
          {4, "Push Data", 11, 11},
          {3, "Push Item 4", 12, 20},
          {4, "Push Type(double) bPushType = 6", 12, 12},
          {4, "Push Data", 13, 20},
          {3, "Push Item 5", 21, 25},
          {4, "Push Type(DWORD) bPushType = 7", 21, 21},
          {4, "Push Data", 22, 25},
          {3, "Push Item 6", 26, 27},
          {4, "Push Type(ConstantPoolString) bPushType = 8", 26, 26},
          {4, "Push Data", 27, 27},
          {3, "Push Item 7", 28, 30},
          {4, "Push Type(ConstantPoolString16) bPushType = 9", 28, 28},
          {4, "Push Data", 29, 30}},
         31},
        {"Push of nothing",
         {0x96, 0x00, 0x00},
         {{1, "Push", 0, 2}, {2, "ActionCode", 0, 0}, {2, "ActionLength", 1, 2}, {2, "ActionData", 3, 2}},
         3},
        {"a pushed value may run past its record; the next record follows the record",
         {0x96, 0x02, 0x00, /* DWORD */ 0x07, 0x01, /* records */ 0x02, 0x03, 0x04},
         {{1, "Push", 0, 4},
          {2, "ActionCode", 0, 0},
          {2, "ActionLength", 1, 2},
          {2, "ActionData", 3, 4},
          {3, "Push Item 0", 3, 7},
          {4, "Push Type(DWORD) bPushType = 7", 3, 3},
          {4, "Push Data", 4, 7},
          {1, "Unknow Action", 5, 5},
          {2, "ActionCode", 5, 5},
          {1, "Unknow Action", 6, 6},
          {2, "ActionCode", 6, 6},
          {1, "NextFrame", 7, 7},
          {2, "ActionCode", 7, 7}},
         8},
        {"ConstantPool counts its strings by the length, not the count field",
         {0x88, 0x07, 0x00, /* count */ 0x05, 0x00, 'a', 0x00, 'b', 'c', 0x00},
         {{1, "ConstantPool", 0, 9},
          {2, "ActionCode", 0, 0},
          {2, "ActionLength", 1, 2},
          {2, "ActionData", 3, 9},
          {3, "Constant Count", 3, 4},
          {3, "Constant0", 5, 6},
          {3, "Constant1", 7, 9}},
         10},
        {"DeclareFunc without parameters; its code bytes are records too",
         {0x9B, 0x06, 0x00, 'f', 0x00, /* parameters */ 0x00, 0x00, /* code size */ 0x02, 0x00, 0x06, 0x07},
         {{1, "DeclareFunc", 0, 8},
          {2, "ActionCode", 0, 0},
          {2, "ActionLength", 1, 2},
          {2, "ActionData", 3, 8},
          {3, "FunctionName", 3, 4},
          {3, "Number of parameters", 5, 6},
          {3, "CodeSize", 7, 8},
          {3, "FunctionCode", 9, 10},
          {1, "Play", 9, 9},
          {2, "ActionCode", 9, 9},
          {1, "Stop", 10, 10},
          {2, "ActionCode", 10, 10}},
         11},
        {"DeclareFunc with two parameters",
         {0x9B, 0x0B, 0x00, 'f', 0x00, /* parameters */ 0x02, 0x00, 'x', 0x00, 'y', 'z', 0x00,
          /* code size */ 0x01, 0x00, 0x07},
         {{1, "DeclareFunc", 0, 13},
          {2, "ActionCode", 0, 0},
          {2, "ActionLength", 1, 2},
          {2, "ActionData", 3, 13},
          {3, "FunctionName", 3, 4},
          {3, "Number of parameters", 5, 6},
          {3, "Parameters", 7, 11},
          {4, "Parameter0", 7, 8},
          {4, "Parameter1", 9, 11},
          {3, "CodeSize", 12, 13},
          {3, "FunctionCode", 14, 14},
          {1, "Stop", 14, 14},
          {2, "ActionCode", 14, 14}},
         15},
        {"a record running past the tag keeps its declared extent and ends the loop",
         {0x07, 0x83, 0x10, 0x00, 'a'},
         {{1, "Stop", 0, 0},
          {2, "ActionCode", 0, 0},
          {1, "GetURL", 1, 19},
          {2, "ActionCode", 1, 1},
          {2, "ActionLength", 2, 3},
          {2, "ActionData", 4, 19},
          {3, "Target URL string", 4, 5},
          {3, "Target string", 6, 8}},
         20,
         {0x00, 'b', 'c', 0x00, 0x06, 0x06}},
    };
    for (const ActionCase& c : cases) expectDecodes(c);
}

// Malformed data that runs past the end of the file: bytes past the end read as zeros,
// so a string cut off by the end ends at the file's size, and loops stop there.
TEST(ActionRecords, DataCutOffByTheEndOfTheFile) {
    const ActionCase cases[] = {
        {"a record header cut after its code",
         {0x96},
         {{1, "Push", 0, 2}, {2, "ActionCode", 0, 0}, {2, "ActionLength", 1, 2}, {2, "ActionData", 3, 2}},
         3},
        {"GetURL strings without their zeros",
         {0x83, 0xFF, 0x00, 'a', 'b'},
         {{1, "GetURL", 0, 257},
          {2, "ActionCode", 0, 0},
          {2, "ActionLength", 1, 2},
          {2, "ActionData", 3, 257},
          {3, "Target URL string", 3, 5},
          {3, "Target string", 6, 6}},
         258},
        {"a pushed string without its zero",
         {0x96, 0x20, 0x00, 0x00, 'a', 'b'},
         {{1, "Push", 0, 34},
          {2, "ActionCode", 0, 0},
          {2, "ActionLength", 1, 2},
          {2, "ActionData", 3, 34},
          {3, "Push Item 0", 3, 6},
          {4, "Push Type(string) bPushType = 0", 3, 3},
          {4, "Push Data", 4, 6}},
         35},
        {"constants stop at the end of the file",
         {0x88, 0x40, 0x00, 0x02, 0x00, 'a', 0x00, 'b', 'c'},
         {{1, "ConstantPool", 0, 66},
          {2, "ActionCode", 0, 0},
          {2, "ActionLength", 1, 2},
          {2, "ActionData", 3, 66},
          {3, "Constant Count", 3, 4},
          {3, "Constant0", 5, 6},
          {3, "Constant1", 7, 9}},
         67},
        {"65535 parameters stop at the end of the file",
         {0x9B, 0x20, 0x00, 'f', 0x00, 0xFF, 0xFF, 'a', 0x00, 'b'},
         {{1, "DeclareFunc", 0, 34},
          {2, "ActionCode", 0, 0},
          {2, "ActionLength", 1, 2},
          {2, "ActionData", 3, 34},
          {3, "FunctionName", 3, 4},
          {3, "Number of parameters", 5, 6},
          {3, "Parameters", 7, 10},
          {4, "Parameter0", 7, 8},
          {4, "Parameter1", 9, 10},
          {3, "CodeSize", 11, 12},
          {3, "FunctionCode", 13, 12}},
         35},
    };
    for (const ActionCase& c : cases) expectDecodes(c);
}

// Push type bytes past the push type table have no known size, so the values after
// one cannot be told apart: the rest of the Push data is its value and the Push ends.
TEST(ActionRecords, PushTypesPastTheTableTakeTheRestOfThePush) {
    for (int type = 10; type <= 255; ++type) {
        SCOPED_TRACE(type);
        Decoded decoded = decodeActions({0x96, 0x05, 0x00, /* BOOL */ 0x05, 0x01, static_cast<uint8_t>(type), 0x05, 0x01});
        ASSERT_EQ(decoded.items.size(), 10u);
        EXPECT_EQ(decoded.items[7], (Item{3, "Push Item 1", 5, 7}));
        EXPECT_EQ(decoded.items[8], (Item{4, "Push Type(invalid) bPushType = " + std::to_string(type), 5, 5}));
        EXPECT_EQ(decoded.items[9], (Item{4, "Push Data", 6, 7}));
    }
}

TEST(ActionRecords, EveryCodeIsNamedByTheActionTable) {
    const std::map<int, std::string> names{
        {0x00, "None"}, {0x04, "NextFrame"}, {0x05, "PrevFrame"}, {0x06, "Play"}, {0x07, "Stop"},
        {0x08, "ToggleQuality"}, {0x09, "StopSounds"}, {0x0A, "Add"}, {0x0B, "Subtract"}, {0x0C, "Multiply"},
        {0x0D, "Divide"}, {0x0E, "Equals"}, {0x0F, "Less"}, {0x10, "And"}, {0x11, "Or"}, {0x12, "Not"},
        {0x13, "StringEquals"}, {0x14, "StringLength"}, {0x15, "StringExtract"}, {0x17, "Pop"},
        {0x18, "ToInteger"}, {0x1C, "GetVariable"}, {0x1D, "SetVariable"}, {0x20, "SetTarget2"},
        {0x21, "StringAdd"}, {0x22, "GetProperty"}, {0x23, "SetProperty"}, {0x24, "CloneSprite"},
        {0x25, "RemoveSprite"}, {0x26, "Trace"}, {0x27, "StartDrag"}, {0x28, "EndDrag"}, {0x29, "StringLess"},
        {0x30, "RandomNumber"}, {0x31, "MBStringLength"}, {0x32, "CharToAscii"}, {0x33, "AsciiToChar"},
        {0x34, "GetTime"}, {0x35, "MBStringExtract"}, {0x36, "MBCharToAscii"}, {0x37, "MBAsciiToChar"},
        {0x3B, "Delete"}, {0x3C, "Var"}, {0x3D, "Call2"}, {0x3E, "Return"}, {0x3F, "Mod"}, {0x40, "New"},
        {0x44, "TypeOf"}, {0x45, "TargetPath"}, {0x46, "KeystoStack"}, {0x47, "Add2"}, {0x48, "Less2"},
        {0x49, "Equal"}, {0x4A, "Number"}, {0x4B, "String"}, {0x4C, "MakeBoolean"}, {0x4E, "GetMember"},
        {0x4F, "SetMember"}, {0x50, "Inc"}, {0x51, "Dec"}, {0x52, "Call3"}, {0x54, "InstanceOf"},
        {0x60, "BitAnd"}, {0x61, "BitOR"}, {0x62, "BitXOR"}, {0x63, "ShiftLeft"}, {0x64, "ShiftRight"},
        {0x65, "ShiftRightRotate"}, {0x66, "StrictEqual"}, {0x67, "Great"}, {0x80, "HasLength"},
        {0x81, "GotoFrame"}, {0x83, "GetURL"}, {0x87, "StacktopToRegister"}, {0x8A, "WaitForFrame"},
        {0x8B, "SetTarget"}, {0x8C, "GotoLabel"}, {0x94, "With"}, {0x96, "Push"}, {0x88, "ConstantPool"},
        {0x99, "Jump"}, {0x9D, "If"}, {0x9E, "Call"}, {0x9A, "GetURL2"}, {0x9B, "DeclareFunc"},
        {0x9F, "GotoFrame2"}, {0x8D, "WaitForFrame2"}, {0xAA, "QuickTime"},
    };
    ASSERT_EQ(names.size(), 88u);
    for (int code = 0; code <= 255; ++code) {
        SCOPED_TRACE(code);
        // Three zero bytes: the length 0 of a code with bit 7 set, or three None records.
        Decoded decoded = decodeActions({static_cast<uint8_t>(code), 0x00, 0x00});
        ASSERT_FALSE(decoded.items.empty());
        auto row = names.find(code);
        EXPECT_EQ(decoded.items[0].name, row == names.end() ? "Unknow Action" : row->second);
        EXPECT_EQ(decoded.items[0].end, code & 0x80 ? 2u : 0u);
    }
}

TEST(ActionRecords, OpeningADoActionTagRunsTheRecordDecoder) {
    std::vector<Item> items = decodeTag(kDoAction, {0x06, 0x07}, 20);
    EXPECT_EQ(items, (std::vector<Item>{{1, "Play", 20, 20}, {2, "ActionCode", 20, 20}, {1, "Stop", 21, 21},
                                        {2, "ActionCode", 21, 21}}));
}

TEST(ActionRecords, ADeclaredCountFarPastTheFileStopsAtItsEnd) {
    RecordingEngine engine(Bytes(100, 0x06));
    std::vector<Item> items = engine.tree(openTag(engine, kDoAction, 40, 0xFFFF0000u));
    ASSERT_EQ(items.size(), 120u); // 60 Play records with their codes
    EXPECT_EQ(items.back(), (Item{2, "ActionCode", 99, 99}));
}

// When AddItem fails part way, the decode adds nothing more: what is there is the
// beginning of the full tree. (A group's end may then cover only what was decoded.)
TEST(ActionRecords, AFailedAddItemLeavesAPrefixOfTheTree) {
    Bytes data = join({{0x96, 0x05, 0x00, 0x00, 'A', 0x00, 0x05, 0x01},
                       {0x9B, 0x0B, 0x00, 'f', 0x00, 0x02, 0x00, 'x', 0x00, 'y', 'z', 0x00, 0x01, 0x00, 0x07}});
    RecordingEngine full(data);
    std::vector<Item> expected = full.tree(openTag(full, kDoAction, 0, static_cast<uint32_t>(data.size())));
    for (size_t limit = 0; limit <= expected.size(); ++limit) {
        SCOPED_TRACE(limit);
        RecordingEngine engine(data);
        ItemHandle parent = engine.addTagData(0, static_cast<uint32_t>(data.size() - 1), kDoAction);
        engine.failAfter(limit);
        tagloom::Decoder decoder(&engine, 1000);
        tagloom::decodeDoAction(decoder, parent, 0, static_cast<uint32_t>(data.size()));
        std::vector<Item> items = engine.tree(parent);
        ASSERT_EQ(items.size(), limit);
        for (size_t i = 0; i < limit; ++i)
            EXPECT_EQ(std::tie(items[i].depth, items[i].name, items[i].start),
                      std::tie(expected[i].depth, expected[i].name, expected[i].start));
    }
}

// Real files: the records of a DoAction follow one another from the first data byte,
// each over its declared extent; in every well-formed file the last one ends exactly at
// the end of the tag data. The hand-made framing cases in edge/ end records past it.
TEST(ActionRecordsInTheCorpus, RecordsEndExactlyAtTheEndOfTheTagData) {
    std::vector<CorpusTag> tags = corpusTags({kDoAction});
    ASSERT_GT(tags.size(), 100u);
    int overruns = 0;
    std::map<const CorpusFile*, RecordingEngine> engines;
    for (const CorpusTag& tag : tags) {
        SCOPED_TRACE(tag.file->path + " @" + std::to_string(tag.offset));
        RecordingEngine& engine = engines.try_emplace(tag.file, tag.file->bytes).first->second;
        std::vector<Item> items = engine.tree(openTag(engine, kDoAction, tag.dataStart, tag.length));
        uint64_t next = tag.dataStart;
        for (const Item& item : items) {
            if (item.depth != 1) continue;
            ASSERT_EQ(item.start, next);
            ASSERT_NE(item.name, "Too many items: decoding stops here");
            next = uint64_t{item.end} + 1;
        }
        uint64_t end = uint64_t{tag.dataStart} + tag.length;
        bool handMade = tag.file->path.find("/edge/") != std::string::npos;
        if (handMade && next > end) ++overruns;
        else EXPECT_EQ(next, end);
    }
    EXPECT_EQ(overruns, 3); // QuickTime, Push and GetURL records of edge_doaction_framing_v5
}

// Every pushed value and every constant lies inside its record's data in well-formed
// files: the sizes of the push types, the 16-bit constant index of type 9 among them,
// are the sizes real files use.
TEST(ActionRecordsInTheCorpus, PushValuesAndConstantsFillTheirRecords) {
    size_t values = 0, constants = 0;
    std::map<const CorpusFile*, RecordingEngine> engines;
    for (const CorpusTag& tag : corpusTags({kDoAction})) {
        if (tag.file->path.find("/edge/") != std::string::npos) continue;
        SCOPED_TRACE(tag.file->path + " @" + std::to_string(tag.offset));
        RecordingEngine& engine = engines.try_emplace(tag.file, tag.file->bytes).first->second;
        std::vector<Item> items = engine.tree(openTag(engine, kDoAction, tag.dataStart, tag.length));
        for (size_t i = 0; i < items.size(); ++i) {
            if (items[i].depth != 1 || (items[i].name != "Push" && items[i].name != "ConstantPool")) continue;
            const Item& data = items[i + 3];
            ASSERT_EQ(data.name, "ActionData");
            uint64_t next = data.start + (items[i].name == "ConstantPool" ? 2 : 0);
            for (size_t j = i + 4; j < items.size() && items[j].depth > 2; ++j) {
                EXPECT_EQ(items[j].name.find("Push Type(invalid)"), std::string::npos);
                if (items[j].depth != 3 || items[j].name == "Constant Count") continue;
                ASSERT_EQ(items[j].start, next) << items[j].name;
                next = uint64_t{items[j].end} + 1;
                ++(items[i].name == "Push" ? values : constants);
            }
            EXPECT_EQ(next, uint64_t{data.end} + 1) << items[i].name << " at " << items[i].start;
        }
    }
    EXPECT_GT(values, 10000u);
    EXPECT_GT(constants, 1000u);
}

} // namespace
