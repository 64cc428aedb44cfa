// The engine interface that the engine hands to hosts and plug-ins. Its operation table
// is laid out as a component interface's: the three IUnknown operations, then the
// fifteen engine operations, in this fixed order.
#pragma once

#include "parse_item.h"

#ifdef _WIN32
#include <unknwn.h>
#else
#include <cstdint>

struct GUID {
    uint32_t Data1;
    uint16_t Data2;
    uint16_t Data3;
    uint8_t Data4[8];
};
using BOOL = int;
using IID = GUID;
using CLSID = GUID;
using REFIID = const IID&;
using REFCLSID = const CLSID&;

inline bool operator==(const GUID& a, const GUID& b) {
    if (a.Data1 != b.Data1 || a.Data2 != b.Data2 || a.Data3 != b.Data3) return false;
    for (int i = 0; i < 8; ++i)
        if (a.Data4[i] != b.Data4[i]) return false;
    return true;
}
inline bool operator!=(const GUID& a, const GUID& b) { return !(a == b); }

struct IUnknown {
    virtual HRESULT QueryInterface(REFIID iid, void** object) = 0;
    virtual ULONG AddRef() = 0;
    virtual ULONG Release() = 0;
};

struct IClassFactory : IUnknown {
    virtual HRESULT CreateInstance(IUnknown* outer, REFIID iid, void** object) = 0;
    virtual HRESULT LockServer(BOOL lock) = 0;
};

inline constexpr IID IID_IUnknown = {0x00000000, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr IID IID_IClassFactory = {0x00000001, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr IID IID_IDispatch = {0x00020400, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
#endif

struct IParseEngine : IUnknown {
    // Remembers the host's file buffer; the bytes are neither copied nor checked.
    virtual HRESULT PARSE_CALL SetData(const uint8_t* data, uint32_t size) = 0;
    // Writes the remembered buffer and size.
    virtual HRESULT PARSE_CALL GetData(const uint8_t** data, uint32_t* size) = 0;
    // Clears the tree and hands the file to the first plug-in that takes its type.
    virtual HRESULT PARSE_CALL Parse() = 0;
    // Creates an item outside the tree.
    virtual HRESULT PARSE_CALL NewItem(ItemHandle* item) = 0;
    // Releases an item from NewItem and nulls the caller's variable.
    virtual HRESULT PARSE_CALL FreeItem(ItemHandle* item) = 0;
    // Writes the top-level item, or null.
    virtual HRESULT PARSE_CALL GetRootItem(ItemHandle* item) = 0;
    // Writes a leaf whose range holds the offset, or null.
    virtual HRESULT PARSE_CALL FindItemAt(uint32_t offset, ItemHandle* item) = 0;
    virtual HRESULT PARSE_CALL GetChildCount(ItemHandle item, int32_t* count) = 0;
    // Writes the child at the index, or null outside 0 .. count - 1.
    virtual HRESULT PARSE_CALL GetChild(ItemHandle item, int32_t index, ItemHandle* child) = 0;
    // Copies the descriptor into a new item; S_FALSE when there is no storage.
    virtual HRESULT PARSE_CALL AddItem(const ParseItemDesc* desc, ItemHandle* item) = 0;
    virtual HRESULT PARSE_CALL SetFileType(const char* fileType) = 0;
    virtual HRESULT PARSE_CALL SetFilePath(const char* filePath) = 0;
    virtual HRESULT PARSE_CALL LoadPlugins() = 0;
    virtual HRESULT PARSE_CALL UnloadPlugins() = 0;
    // Asks the matching plug-in to decode a deferred item.
    virtual HRESULT PARSE_CALL ParseDeferred(ItemHandle item) = 0;
};
