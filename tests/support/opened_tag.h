// Opening one tag's data the way ParseTagDatas does, for tables of cases whose
// expected items are written relative to the tag's first data byte, and the checks
// that every well-formed tag of the corpus passes.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "corpus.h"
#include "recording_engine.h"
#include "swf_builder.h"
#include "tag_table.h"

namespace testing_support {

// An expected item with its range relative to the first data byte S; an empty range
// at S is {S, S - 1}, written {0, -1}.
struct Expected {
    int depth;
    std::string name;
    int64_t start;
    int64_t end;
};

struct Opened {
    std::vector<Item> items; // below the "TagData" item, absolute ranges
    uint32_t next;           // what the decoder returned
};

// Opens `count` bytes at `start` of `buffer` with the decoder that the tag table gives
// the code, under a fresh data item; AddItem fails after `failAfter` items.
inline Opened openData(uint32_t code, const Bytes& buffer, uint32_t start, uint32_t count,
                       size_t failAfter = SIZE_MAX) {
    RecordingEngine engine(buffer);
    ItemHandle data = engine.addTagData(start, start + count - 1, code);
    engine.failAfter(failAfter);
    const tagloom::TagTableEntry* row = tagloom::lookupTag(code);
    EXPECT_NE(row, nullptr) << "no row for tag " << code;
    if (!row) return {};
    tagloom::Decoder decoder(&engine, tagloom::itemBudget(count));
    uint32_t next = row->handler(decoder, data, start, count);
    return {engine.tree(data), next};
}

// Places `data` a few bytes into a buffer and opens its first `count` bytes (all of
// them when count is 0); the bytes after the first `count` stand for what follows the
// tag in the file.
constexpr uint32_t kDataStart = 7;
inline Opened openBody(uint32_t code, const Bytes& data, uint32_t count = 0, size_t failAfter = SIZE_MAX) {
    Bytes buffer(kDataStart + data.size(), 0xEE);
    std::copy(data.begin(), data.end(), buffer.begin() + kDataStart);
    return openData(code, buffer, kDataStart, count ? count : static_cast<uint32_t>(data.size()), failAfter);
}

// The expected items with their ranges made absolute for data at kDataStart.
inline std::vector<Item> absolute(const std::vector<Expected>& expected) {
    std::vector<Item> items;
    for (const Expected& e : expected)
        items.push_back({e.depth, e.name, static_cast<uint32_t>(kDataStart + e.start),
                         static_cast<uint32_t>(kDataStart + e.end)});
    return items;
}

// One row of a decoder's table: the tag's data (the bytes after the first `count` stand
// for what follows the tag; 0 opens all of them), the items it opens into and the
// offset the decoder returns, both relative to the first data byte.
struct TagCase {
    const char* name;
    uint32_t code;
    Bytes data;
    std::vector<Expected> items;
    int64_t next;
    uint32_t count = 0;
};

inline void expectTagCases(const std::vector<TagCase>& cases) {
    for (const TagCase& c : cases) {
        SCOPED_TRACE(c.name);
        Opened opened = openBody(c.code, c.data, c.count);
        EXPECT_EQ(opened.items, absolute(c.items));
        EXPECT_EQ(opened.next, kDataStart + c.next);
    }
}

// The corpus tags with these codes that have data: a tag of length 0 gets no "TagData"
// item, so there is nothing to open.
inline std::vector<CorpusTag> corpusTagsWithData(const std::set<uint32_t>& codes) {
    std::vector<CorpusTag> tags;
    for (const CorpusTag& tag : corpusTags(codes))
        if (tag.length != 0) tags.push_back(tag);
    return tags;
}

// Opens a tag found in the corpus with its decoder as the file walk would.
inline Opened openCorpusTag(const CorpusTag& tag) {
    return openData(tag.code, tag.file->bytes, tag.dataStart, tag.length);
}

// What every well-formed tag of these kinds opens into: at least one item, and every
// item a non-empty range inside the tag's data (well-formed tags leave nothing empty
// and nothing cut off).
inline void expectItemsInsideTheData(const CorpusTag& tag, const std::vector<Item>& items) {
    EXPECT_FALSE(items.empty());
    uint64_t last = uint64_t{tag.dataStart} + tag.length - 1;
    for (const Item& item : items) {
        EXPECT_LE(tag.dataStart, item.start) << item;
        EXPECT_LE(item.start, item.end) << item;
        EXPECT_LE(item.end, last) << item;
    }
}

// The label of a tag in a corpus file, for failure messages.
inline std::string where(const CorpusTag& tag) {
    return tag.file->path + " tag " + std::to_string(tag.code) + " at " + std::to_string(tag.offset);
}

} // namespace testing_support
