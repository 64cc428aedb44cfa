/* Item records, status codes and plug-in entry points shared by the host, the engine
 * and every plug-in. Plain C so that hosts and plug-ins written in either language,
 * and by other compilers, see the same layout. */
#ifndef QUILLON_PARSE_ITEM_H
#define QUILLON_PARSE_ITEM_H

#include <stdint.h>

#ifdef _WIN32
#include <windows.h>
#define PARSE_CALL __stdcall /* calling convention of the engine interface */
#else
#define PARSE_CALL
typedef int32_t HRESULT;
typedef uint32_t ULONG;
#define S_OK ((HRESULT)0)
#define S_FALSE ((HRESULT)1)
#define E_NOTIMPL ((HRESULT)0x80004001)
#define E_NOINTERFACE ((HRESULT)0x80004002)
#define E_FAIL ((HRESULT)0x80004005)
#define E_OUTOFMEMORY ((HRESULT)0x8007000E)
#define CLASS_E_NOAGGREGATION ((HRESULT)0x80040110)
#define CLASS_E_CLASSNOTAVAILABLE ((HRESULT)0x80040111)
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Capacity of an item label, its NUL included. */
#define PARSE_ITEM_NAME_SIZE 64

typedef struct ParseItemDesc ParseItemDesc;

/* Names an item: the address of the engine's own copy of the item's descriptor. */
typedef ParseItemDesc* ItemHandle;

/* One item of the tree: an inclusive byte range of the file buffer with a label. */
struct ParseItemDesc {
    uint32_t start;                  /* first byte of the range */
    uint32_t end;                    /* last byte of the range; start - 1 when empty */
    char name[PARSE_ITEM_NAME_SIZE]; /* NUL-terminated label, at most 63 characters */
    uint32_t reserved;               /* carried unchanged, never interpreted */
    ItemHandle parent;               /* null for the top-level item */
    uint32_t deferred;               /* 1 when the content can be decoded on request */
    uint32_t tagCode;                /* what the plug-in needs to decode a deferred item */
};

#if defined(_WIN32) && !defined(_WIN64)
typedef char ParseItemDescIs88Bytes[sizeof(ParseItemDesc) == 88 ? 1 : -1];
#endif

struct IParseEngine;

/* Plug-in entry points, bound by name. They use the C calling convention. */
typedef int32_t (*GetFileTypeStringFn)(char* buffer, int32_t capacity);
typedef uint32_t (*ParseFileFn)(struct IParseEngine* engine);
typedef uint32_t (*ParseTagDatasFn)(ItemHandle item);

/* Capacity of the buffer that the engine hands to GetFileTypeString. */
#define PLUGIN_FILE_TYPE_SIZE 260

#ifdef __cplusplus
}
#endif

#endif
