#include "decode_tag.h"

#include "file_walk.h"

namespace testing_support {

ItemHandle openTag(RecordingEngine& engine, uint32_t tagCode, uint32_t start, uint32_t count) {
    ItemHandle data = engine.addTagData(start, start + count - 1, tagCode);
    tagloom::decodeTagData(&engine, data);
    return data;
}

std::vector<Item> decodeTag(uint32_t tagCode, const Bytes& body, uint32_t at) {
    Bytes buffer(at, 0);
    buffer.insert(buffer.end(), body.begin(), body.end());
    RecordingEngine engine(buffer);
    ItemHandle data = openTag(engine, tagCode, at, static_cast<uint32_t>(body.size()));
    return engine.tree(data);
}

std::vector<Item> itemsNamed(const std::vector<Item>& items, const std::string& name) {
    std::vector<Item> found;
    for (const Item& item : items)
        if (item.name == name) found.push_back(item);
    return found;
}

} // namespace testing_support

namespace testing_support {

size_t parseAndOpenEverything(RecordingEngine& engine) {
    tagloom::parseFile(&engine);
    ItemHandle root = nullptr;
    engine.GetRootItem(&root);
    std::vector<ItemHandle> pending;
    if (root) pending.push_back(root);
    size_t items = 0;
    while (!pending.empty()) {
        ItemHandle item = pending.back();
        pending.pop_back();
        ++items;
        if (item->deferred) tagloom::decodeTagData(&engine, item);
        for (ItemHandle child : engine.childrenOf(item)) pending.push_back(child);
    }
    return items;
}

} // namespace testing_support
