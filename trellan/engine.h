// The engine object: holds the host's file buffer, its type and path, and the item
// tree; dispatches parsing to the plug-ins.
#pragma once

#include <atomic>

#include "item_store.h"
#include "parse_engine.h"

namespace trellan {

constexpr size_t kFileTypeSize = 256;
constexpr size_t kFilePathSize = 260;

class Engine final : public IParseEngine {
public:
    Engine();

    HRESULT PARSE_CALL QueryInterface(REFIID iid, void** object) override;
    ULONG PARSE_CALL AddRef() override;
    ULONG PARSE_CALL Release() override;
    HRESULT PARSE_CALL SetData(const uint8_t* data, uint32_t size) override;
    HRESULT PARSE_CALL GetData(const uint8_t** data, uint32_t* size) override;
    HRESULT PARSE_CALL Parse() override;
    HRESULT PARSE_CALL NewItem(ItemHandle* item) override;
    HRESULT PARSE_CALL FreeItem(ItemHandle* item) override;
    HRESULT PARSE_CALL GetRootItem(ItemHandle* item) override;
    HRESULT PARSE_CALL FindItemAt(uint32_t offset, ItemHandle* item) override;
    HRESULT PARSE_CALL GetChildCount(ItemHandle item, int32_t* count) override;
    HRESULT PARSE_CALL GetChild(ItemHandle item, int32_t index, ItemHandle* child) override;
    HRESULT PARSE_CALL AddItem(const ParseItemDesc* desc, ItemHandle* item) override;
    HRESULT PARSE_CALL SetFileType(const char* fileType) override;
    HRESULT PARSE_CALL SetFilePath(const char* filePath) override;
    HRESULT PARSE_CALL LoadPlugins() override;
    HRESULT PARSE_CALL UnloadPlugins() override;
    HRESULT PARSE_CALL ParseDeferred(ItemHandle item) override;

    // Not part of the interface: the table's entry after the eighteen operations.
    // Only Release calls it.
    virtual ~Engine();

    // Blocks of items the engine holds now.
    size_t blockCount() const { return store_.blockCount(); }

    // Engines alive in the process.
    static long liveCount();

private:
    std::atomic<long> references_{0};
    const uint8_t* data_ = nullptr;
    uint32_t size_ = 0;
    char fileType_[kFileTypeSize] = {};
    char filePath_[kFilePathSize] = {};
    ItemStore store_;
};

} // namespace trellan
