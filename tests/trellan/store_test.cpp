// The item store and the file type match, tested from inside the engine's code.
#include <gtest/gtest.h>

#include <cstring>
#include <set>

#include "item_store.h"
#include "plugin_registry.h"

namespace {

using trellan::ItemStore;

ParseItemDesc descriptor(uint32_t start, uint32_t end, ItemHandle parent = nullptr) {
    ParseItemDesc desc{};
    desc.start = start;
    desc.end = end;
    std::strcpy(desc.name, "item");
    desc.parent = parent;
    return desc;
}

// A tree of `count` items: a root and its children.
std::set<ItemHandle> buildTree(ItemStore& store, uint32_t count) {
    std::set<ItemHandle> handles;
    ItemHandle root = nullptr;
    EXPECT_TRUE(store.add(descriptor(0, count), &root));
    handles.insert(root);
    for (uint32_t i = 1; i < count; ++i) {
        ItemHandle item = nullptr;
        EXPECT_TRUE(store.add(descriptor(i, i, root), &item));
        handles.insert(item);
    }
    return handles;
}

TEST(ItemStore, TakesItemsFromBlocksOf128) {
    ItemStore store;
    EXPECT_EQ(store.blockCount(), 0u);
    buildTree(store, 128);
    EXPECT_EQ(store.blockCount(), 1u);
    ItemHandle extra = nullptr;
    EXPECT_TRUE(store.add(descriptor(0, 0, store.root()), &extra));
    EXPECT_EQ(store.blockCount(), 2u);
}

TEST(ItemStore, RepeatedParsesHoldAtMostTheCurrentTreeAndTheOneBefore) {
    ItemStore store;
    const uint32_t sizes[] = {1000, 10, 5000, 5000, 300, 1, 0, 2000};
    std::set<ItemHandle> previous;
    uint32_t previousBlocks = 0;
    for (int round = 0; round < 50; ++round) {
        for (uint32_t size : sizes) {
            store.clear();
            std::set<ItemHandle> current = size ? buildTree(store, size) : std::set<ItemHandle>();
            uint32_t blocks = (size + 127) / 128;
            EXPECT_LE(store.blockCount(), blocks + previousBlocks);
            for (ItemHandle item : current) EXPECT_EQ(previous.count(item), 0u);
            previous.swap(current);
            previousBlocks = blocks;
        }
    }
}

TEST(ItemStore, ClearingLeavesNoRootAndNoLeaves) {
    ItemStore store;
    buildTree(store, 10);
    store.clear();
    EXPECT_EQ(store.root(), nullptr);
    EXPECT_EQ(store.findAt(5), nullptr);
}

struct TypeMatch {
    const char* declared;
    const char* fileType;
    bool matches;
};

TEST(FileTypeMatch, ATypeMatchesWhenItIsACaseInsensitivePrefixOfAnEntry) {
    const TypeMatch cases[] = {
        {"swf", "swf", true},    {"swf", "SWF", true},      {"swf", "Sw", true},       {"swf", "", true},
        {"swf", "swf2", false},  {"swf", "swf ", false},    {"swf", "*", false},       {"swf", "*.swf", false},
        {"abc;xyz", "ab", true}, {"abc;xyz", "XYZ", true},  {"abc;xyz", "abcx", false}, {"abc;xyz", ";", false},
        {"abc;xyz", "c", false}, {"", "", true},            {"", "*", true},           {"", "*.", true},
        {"", "*.*", true},       {"", "swf", false},        {"", "*.*x", false},       {";abc", "", true},
        {";abc", "a", true},     {"abc;;", "", true},       {"abc;", "abc", true},     {"a.b", "A.B", true},
        {"*.*", "*.*", true},    {"*.*", "x", false},
    };
    for (const TypeMatch& c : cases)
        EXPECT_EQ(trellan::fileTypeMatches(c.declared, c.fileType), c.matches)
            << '"' << c.declared << "\" against \"" << c.fileType << '"';
}

} // namespace
