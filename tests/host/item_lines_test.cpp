// The lines vizmora prints for one item.
#include <gtest/gtest.h>

#include <cstring>

#include "item_lines.h"

namespace {

ParseItemDesc item(uint32_t start, uint32_t end, const char* name, uint32_t deferred = 0, uint32_t tagCode = 0) {
    ParseItemDesc desc{};
    desc.start = start;
    desc.end = end;
    std::strncpy(desc.name, name, sizeof desc.name - 1);
    desc.deferred = deferred;
    desc.tagCode = tagCode;
    return desc;
}

TEST(JsonLine, HasFixedKeysAndUnsignedNumbers) {
    EXPECT_EQ(vizmora::jsonLine(item(0, 107, "Whole File"), 0),
              "{\"depth\":0,\"start\":0,\"end\":107,\"name\":\"Whole File\",\"deferred\":0,\"tagCode\":0}\n");
    EXPECT_EQ(vizmora::jsonLine(item(0, 0xFFFFFFFF, "Whole File"), 0),
              "{\"depth\":0,\"start\":0,\"end\":4294967295,\"name\":\"Whole File\",\"deferred\":0,\"tagCode\":0}\n");
    EXPECT_EQ(vizmora::jsonLine(item(4000000000u, 4000000009u, "TagData", 1, 1023), 3),
              "{\"depth\":3,\"start\":4000000000,\"end\":4000000009,\"name\":\"TagData\",\"deferred\":1,\"tagCode\":1023}\n");
}

TEST(JsonLine, EscapesNames) {
    struct {
        const char* name;
        const char* escaped;
    } cases[] = {
        {"say \"hi\"", "\"say \\\"hi\\\"\""},
        {"back\\slash", "\"back\\\\slash\""},
        {"tab\there", "\"tab\\u0009here\""},
        {"\x01\x7F\xE9", "\"\\u0001\\u007f\\u00e9\""},
        {"", "\"\""},
    };
    for (const auto& c : cases) {
        std::string line = vizmora::jsonLine(item(1, 2, c.name), 1);
        EXPECT_NE(line.find(std::string(",\"name\":") + c.escaped + ",\"deferred\""), std::string::npos) << line;
    }
}

TEST(TextLine, IndentsByDepthAndMarksDeferredItems) {
    EXPECT_EQ(vizmora::textLine(item(0, 0x5B, "Whole File"), 0), "[00000000..0000005B] Whole File\n");
    EXPECT_EQ(vizmora::textLine(item(0x17, 0x19, "TagData", 1, 9), 3), "      [00000017..00000019] TagData  (deferred)\n");
}

} // namespace
