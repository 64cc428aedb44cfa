// An in-process IParseEngine that keeps every item it is given, for tests of the
// plug-in's decoders without loading any library.
#pragma once

#include <cstdint>
#include <deque>
#include <ostream>
#include <string>
#include <vector>

#include "parse_engine.h"

namespace testing_support {

// One item as a test compares it: its depth below the item the listing starts from
// (children are at depth 1), its label and its range.
struct Item {
    int depth;
    std::string name;
    uint32_t start;
    uint32_t end;

    bool operator==(const Item& other) const {
        return depth == other.depth && name == other.name && start == other.start && end == other.end;
    }
};
std::ostream& operator<<(std::ostream& out, const Item& item);

class RecordingEngine : public IParseEngine {
public:
    explicit RecordingEngine(std::vector<uint8_t> bytes = {});
    virtual ~RecordingEngine() = default;

    // The file buffer the decoders read. Replacing it keeps the items.
    void setBytes(std::vector<uint8_t> bytes);
    const std::vector<uint8_t>& bytes() const { return bytes_; }

    // From now on AddItem fails after this many more items.
    void failAfter(size_t items) { failAfter_ = items; }

    // A top-level deferred "TagData" item over [start, end] with the tag code, as the
    // file walk would add it.
    ItemHandle addTagData(uint32_t start, uint32_t end, uint32_t tagCode);

    // Every item below `from`, in pre-order; from the root when `from` is null.
    std::vector<Item> tree(ItemHandle from = nullptr) const;
    size_t itemCount() const { return nodes_.size(); }
    const std::vector<ItemHandle>& childrenOf(ItemHandle item) const;

    HRESULT PARSE_CALL QueryInterface(REFIID, void** object) override;
    ULONG PARSE_CALL AddRef() override { return 1; }
    ULONG PARSE_CALL Release() override { return 1; }
    HRESULT PARSE_CALL SetData(const uint8_t* data, uint32_t size) override;
    HRESULT PARSE_CALL GetData(const uint8_t** data, uint32_t* size) override;
    HRESULT PARSE_CALL Parse() override { return S_FALSE; }
    HRESULT PARSE_CALL NewItem(ItemHandle* item) override;
    HRESULT PARSE_CALL FreeItem(ItemHandle* item) override;
    HRESULT PARSE_CALL GetRootItem(ItemHandle* item) override;
    HRESULT PARSE_CALL FindItemAt(uint32_t offset, ItemHandle* item) override;
    HRESULT PARSE_CALL GetChildCount(ItemHandle item, int32_t* count) override;
    HRESULT PARSE_CALL GetChild(ItemHandle item, int32_t index, ItemHandle* child) override;
    HRESULT PARSE_CALL AddItem(const ParseItemDesc* desc, ItemHandle* item) override;
    HRESULT PARSE_CALL SetFileType(const char*) override { return S_OK; }
    HRESULT PARSE_CALL SetFilePath(const char*) override { return S_OK; }
    HRESULT PARSE_CALL LoadPlugins() override { return 0; }
    HRESULT PARSE_CALL UnloadPlugins() override { return 0; }
    HRESULT PARSE_CALL ParseDeferred(ItemHandle) override { return S_OK; }

private:
    struct Node {
        ParseItemDesc desc; // first, so that a handle is the node's address
        std::vector<ItemHandle> children;
    };
    static Node* nodeOf(ItemHandle item) { return reinterpret_cast<Node*>(item); }

    std::vector<uint8_t> bytes_;
    const uint8_t* data_ = nullptr;
    uint32_t size_ = 0;
    std::deque<Node> nodes_;
    ItemHandle root_ = nullptr;
    size_t failAfter_ = SIZE_MAX;
};

} // namespace testing_support
