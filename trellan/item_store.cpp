#include "item_store.h"

#include <cstring>
#include <new>

namespace trellan {

void ParseItem::reset() {
    std::memset(&desc, 0, sizeof desc);
    std::vector<ItemHandle>().swap(children);
    leafSlot = kNotLeaf;
}

ParseItem* ItemStore::take() {
    if (current_.empty() || itemsLeft_ == 0) {
        BlockPtr block(new (std::nothrow) Block());
        if (!block) return nullptr;
        for (ParseItem& item : block->items) item.reset();
        current_.push_back(std::move(block));
        itemsLeft_ = kItemsPerBlock;
    }
    ParseItem* item = &current_.back()->items[kItemsPerBlock - itemsLeft_];
    --itemsLeft_;
    return item;
}

bool ItemStore::add(const ParseItemDesc& desc, ItemHandle* out) {
    ParseItem* item = take();
    if (!item) return false;
    ParseItem* parent = desc.parent ? ParseItem::fromHandle(desc.parent) : nullptr;
    try {
        leaves_.push_back(item->handle());
        if (parent) parent->children.push_back(item->handle());
    } catch (const std::bad_alloc&) {
        if (!leaves_.empty() && leaves_.back() == item->handle()) leaves_.pop_back();
        return false;
    }
    item->leafSlot = static_cast<uint32_t>(leaves_.size() - 1);

    ParseItemDesc& copy = item->desc;
    copy.start = desc.start;
    copy.end = desc.end;
    // The name is copied up to its NUL, and never more than the field holds.
    size_t length = strnlen(desc.name, PARSE_ITEM_NAME_SIZE - 1);
    std::memcpy(copy.name, desc.name, length);
    copy.name[length] = '\0';
    copy.reserved = desc.reserved;
    copy.parent = desc.parent;
    copy.deferred = desc.deferred;
    copy.tagCode = desc.tagCode;

    if (parent) {
        if (parent->leafSlot != kNotLeaf) {
            leaves_[parent->leafSlot] = nullptr;
            parent->leafSlot = kNotLeaf; // a parent never becomes a leaf again
        }
    } else {
        root_ = item->handle();
    }
    if (out) *out = item->handle();
    return true;
}

ItemHandle ItemStore::findAt(uint32_t offset) const {
    for (ItemHandle leaf : leaves_)
        if (leaf && leaf->start <= offset && offset <= leaf->end) return leaf;
    return nullptr;
}

int32_t ItemStore::childCount(ItemHandle item) const {
    if (!item) return 0;
    return static_cast<int32_t>(ParseItem::fromHandle(item)->children.size());
}

ItemHandle ItemStore::childAt(ItemHandle item, int32_t index) const {
    if (!item || index < 0) return nullptr;
    const std::vector<ItemHandle>& children = ParseItem::fromHandle(item)->children;
    return static_cast<size_t>(index) < children.size() ? children[index] : nullptr;
}

// Every item of the tree came from the current blocks, so resetting those blocks one
// after another destroys the tree without walking it: no depth can exhaust the stack.
void ItemStore::clear() {
    uint32_t used = kItemsPerBlock;
    for (size_t b = current_.size(); b-- > 0;) {
        if (b + 1 == current_.size()) used = kItemsPerBlock - itemsLeft_;
        for (uint32_t i = 0; i < used; ++i) current_[b]->items[i].reset();
        used = kItemsPerBlock;
    }
    // The tree before this one is released; this one's storage is kept, unused, until
    // the next clear, so that no handle of it can come back in the tree that follows.
    retired_ = std::move(current_);
    current_.clear();
    itemsLeft_ = 0;
    root_ = nullptr;
    std::vector<ItemHandle>().swap(leaves_);
}

ItemHandle ItemStore::newFreeStanding() {
    ParseItem* item = new (std::nothrow) ParseItem();
    if (!item) return nullptr;
    item->reset();
    return item->handle();
}

void ItemStore::freeFreeStanding(ItemHandle item) {
    delete ParseItem::fromHandle(item);
}

} // namespace trellan
