#include "engine.h"

#include <cstring>

#include "plugin_registry.h"

namespace trellan {
namespace {

std::atomic<long> liveEngines{0};

// Copies a string into a fixed field that must hold it with its NUL; a string that
// does not fit leaves the field empty.
HRESULT setBoundedString(char* field, size_t capacity, const char* value) {
    field[0] = '\0';
    if (!value) return S_FALSE;
    size_t length = strnlen(value, capacity);
    if (length >= capacity) return S_FALSE;
    std::memcpy(field, value, length + 1);
    return S_OK;
}

} // namespace

Engine::Engine() {
    ++liveEngines;
    loadPlugins();
}

Engine::~Engine() {
    --liveEngines;
    unloadPlugins();
}

long Engine::liveCount() { return liveEngines.load(); }

HRESULT Engine::QueryInterface(REFIID, void** object) {
    if (!object) return S_OK;
    *object = static_cast<IParseEngine*>(this);
    AddRef();
    return S_OK;
}

ULONG Engine::AddRef() { return static_cast<ULONG>(++references_); }

ULONG Engine::Release() {
    long left = --references_;
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
}

HRESULT Engine::SetData(const uint8_t* data, uint32_t size) {
    data_ = data;
    size_ = size;
    return S_OK;
}

HRESULT Engine::GetData(const uint8_t** data, uint32_t* size) {
    if (data) *data = data_;
    if (size) *size = size_;
    return S_OK;
}

HRESULT Engine::Parse() {
    store_.clear();
    return dispatchParse(this, fileType_) ? S_OK : S_FALSE;
}

HRESULT Engine::NewItem(ItemHandle* item) {
    if (!item) return S_OK;
    *item = ItemStore::newFreeStanding();
    return *item ? S_OK : E_OUTOFMEMORY;
}

HRESULT Engine::FreeItem(ItemHandle* item) {
    if (!item) return S_OK;
    if (*item) ItemStore::freeFreeStanding(*item);
    *item = nullptr;
    return S_OK;
}

HRESULT Engine::GetRootItem(ItemHandle* item) {
    if (item) *item = store_.root();
    return S_OK;
}

HRESULT Engine::FindItemAt(uint32_t offset, ItemHandle* item) {
    if (item) *item = store_.findAt(offset);
    return S_OK;
}

HRESULT Engine::GetChildCount(ItemHandle item, int32_t* count) {
    if (count) *count = store_.childCount(item);
    return S_OK;
}

HRESULT Engine::GetChild(ItemHandle item, int32_t index, ItemHandle* child) {
    if (child) *child = store_.childAt(item, index);
    return S_OK;
}

HRESULT Engine::AddItem(const ParseItemDesc* desc, ItemHandle* item) {
    if (!desc) return S_FALSE;
    return store_.add(*desc, item) ? S_OK : S_FALSE;
}

HRESULT Engine::SetFileType(const char* fileType) {
    return setBoundedString(fileType_, sizeof fileType_, fileType);
}

HRESULT Engine::SetFilePath(const char* filePath) {
    return setBoundedString(filePath_, sizeof filePath_, filePath);
}

HRESULT Engine::LoadPlugins() { return loadPlugins(); }

HRESULT Engine::UnloadPlugins() { return unloadPlugins(); }

HRESULT Engine::ParseDeferred(ItemHandle item) {
    dispatchDeferred(item, fileType_);
    return S_OK;
}

} // namespace trellan
