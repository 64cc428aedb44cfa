// The item tree of one engine: items come from blocks of 128, the store keeps the
// current root and the set of leaves that FindItemAt searches.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "parse_item.h"

namespace trellan {

// The engine's node. The descriptor comes first, so an item's handle is its address.
struct ParseItem {
    ParseItemDesc desc;
    std::vector<ItemHandle> children;
    uint32_t leafSlot; // index in the leaf set, or kNotLeaf

    static ParseItem* fromHandle(ItemHandle handle) { return reinterpret_cast<ParseItem*>(handle); }
    ItemHandle handle() { return &desc; }
    void reset();
};

constexpr uint32_t kNotLeaf = UINT32_MAX;
constexpr uint32_t kItemsPerBlock = 128;

class ItemStore {
public:
    ItemStore() = default;
    ItemStore(const ItemStore&) = delete;
    ItemStore& operator=(const ItemStore&) = delete;

    // Copies the descriptor into a new item and links it; false when there is no storage.
    bool add(const ParseItemDesc& desc, ItemHandle* out);
    ItemHandle root() const { return root_; }
    ItemHandle findAt(uint32_t offset) const;
    int32_t childCount(ItemHandle item) const;
    ItemHandle childAt(ItemHandle item, int32_t index) const;

    // Destroys the tree. Its storage is released at the clear after next, so the store
    // holds at most the current tree and the one before it.
    void clear();

    static ItemHandle newFreeStanding();
    static void freeFreeStanding(ItemHandle item);

    // Blocks held: those of the current tree and of the one before it.
    size_t blockCount() const { return current_.size() + retired_.size(); }

private:
    struct Block {
        ParseItem items[kItemsPerBlock];
    };
    using BlockPtr = std::unique_ptr<Block>;

    ParseItem* take();

    std::vector<BlockPtr> current_; // blocks of the current tree; the last one is filling
    std::vector<BlockPtr> retired_; // blocks of the tree before it, never handed out again
    uint32_t itemsLeft_ = 0;        // items of the last current block not yet handed out
    ItemHandle root_ = nullptr;
    std::vector<ItemHandle> leaves_; // in insertion order; null entries no longer count
};

} // namespace trellan
