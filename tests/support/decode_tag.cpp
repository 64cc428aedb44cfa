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
