#include "recording_engine.h"

#include <cstring>

namespace testing_support {

std::ostream& operator<<(std::ostream& out, const Item& item) {
    return out << "{" << item.depth << ", \"" << item.name << "\", " << item.start << ", " << item.end << "}";
}

RecordingEngine::RecordingEngine(std::vector<uint8_t> bytes) { setBytes(std::move(bytes)); }

void RecordingEngine::setBytes(std::vector<uint8_t> bytes) {
    bytes_ = std::move(bytes);
    data_ = bytes_.data();
    size_ = static_cast<uint32_t>(bytes_.size());
}

ItemHandle RecordingEngine::addTagData(uint32_t start, uint32_t end, uint32_t tagCode) {
    ParseItemDesc desc{};
    desc.start = start;
    desc.end = end;
    std::strcpy(desc.name, "TagData");
    desc.deferred = 1;
    desc.tagCode = tagCode;
    ItemHandle item = nullptr;
    AddItem(&desc, &item);
    return item;
}

const std::vector<ItemHandle>& RecordingEngine::childrenOf(ItemHandle item) const {
    return nodeOf(item)->children;
}

std::vector<Item> RecordingEngine::tree(ItemHandle from) const {
    std::vector<Item> items;
    struct Visit {
        ItemHandle item;
        int depth;
    };
    std::vector<Visit> pending;
    if (!from) {
        if (root_) pending.push_back({root_, 0});
    } else {
        const auto& children = nodeOf(from)->children;
        for (size_t i = children.size(); i-- > 0;) pending.push_back({children[i], 1});
    }
    while (!pending.empty()) {
        Visit visit = pending.back();
        pending.pop_back();
        items.push_back({visit.depth, visit.item->name, visit.item->start, visit.item->end});
        const auto& children = nodeOf(visit.item)->children;
        for (size_t i = children.size(); i-- > 0;) pending.push_back({children[i], visit.depth + 1});
    }
    return items;
}

HRESULT RecordingEngine::QueryInterface(REFIID, void** object) {
    *object = static_cast<IParseEngine*>(this);
    return S_OK;
}

HRESULT RecordingEngine::SetData(const uint8_t* data, uint32_t size) {
    data_ = data;
    size_ = size;
    return S_OK;
}

HRESULT RecordingEngine::GetData(const uint8_t** data, uint32_t* size) {
    *data = data_;
    *size = size_;
    return S_OK;
}

HRESULT RecordingEngine::NewItem(ItemHandle* item) {
    nodes_.emplace_back();
    *item = &nodes_.back().desc;
    return S_OK;
}

HRESULT RecordingEngine::FreeItem(ItemHandle* item) {
    *item = nullptr;
    return S_OK;
}

HRESULT RecordingEngine::GetRootItem(ItemHandle* item) {
    *item = root_;
    return S_OK;
}

HRESULT RecordingEngine::FindItemAt(uint32_t offset, ItemHandle* item) {
    *item = nullptr;
    for (Node& node : nodes_)
        if (node.children.empty() && node.desc.start <= offset && offset <= node.desc.end) {
            *item = &node.desc;
            break;
        }
    return S_OK;
}

HRESULT RecordingEngine::GetChildCount(ItemHandle item, int32_t* count) {
    *count = static_cast<int32_t>(nodeOf(item)->children.size());
    return S_OK;
}

HRESULT RecordingEngine::GetChild(ItemHandle item, int32_t index, ItemHandle* child) {
    const auto& children = nodeOf(item)->children;
    *child = index >= 0 && static_cast<size_t>(index) < children.size() ? children[index] : nullptr;
    return S_OK;
}

HRESULT RecordingEngine::AddItem(const ParseItemDesc* desc, ItemHandle* item) {
    if (failAfter_ == 0) return S_FALSE;
    if (failAfter_ != SIZE_MAX) --failAfter_;
    nodes_.emplace_back();
    Node& node = nodes_.back();
    node.desc = *desc;
    node.desc.name[PARSE_ITEM_NAME_SIZE - 1] = '\0';
    if (desc->parent)
        nodeOf(desc->parent)->children.push_back(&node.desc);
    else
        root_ = &node.desc;
    if (item) *item = &node.desc;
    return S_OK;
}

} // namespace testing_support
