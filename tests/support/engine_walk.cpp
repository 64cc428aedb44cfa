#include "engine_walk.h"

namespace testing_support {

std::vector<ItemHandle> walkTree(IParseEngine* engine, bool openDeferred) {
    std::vector<ItemHandle> items, pending;
    ItemHandle root = nullptr;
    engine->GetRootItem(&root);
    if (root) pending.push_back(root);
    while (!pending.empty()) {
        ItemHandle item = pending.back();
        pending.pop_back();
        items.push_back(item);
        if (openDeferred && item->deferred) engine->ParseDeferred(item);
        int32_t count = 0;
        engine->GetChildCount(item, &count);
        for (int32_t i = count; i-- > 0;) {
            ItemHandle child = nullptr;
            engine->GetChild(item, i, &child);
            if (child) pending.push_back(child);
        }
    }
    return items;
}

} // namespace testing_support
