/* A parser plug-in for tests, written in C and built several times with different
 * names, file types and sets of entry points. It calls the engine by slot number.
 * ParseFile adds one top-level item labelled with the plug-in's name; ParseTagDatas
 * adds one child labelled with the name and " deferred". */
#include <string.h>

#include "parse_item.h"

#ifdef _WIN32
#define PLUGIN_EXPORT __declspec(dllexport)
#else
#define PLUGIN_EXPORT __attribute__((visibility("default")))
#endif

typedef HRESULT(PARSE_CALL* GetDataSlot)(void* engine, const uint8_t** data, uint32_t* size);
typedef HRESULT(PARSE_CALL* AddItemSlot)(void* engine, const ParseItemDesc* desc, ItemHandle* item);

enum { kSlotGetData = 4, kSlotAddItem = 12 };

static void* currentEngine;

static void* slot(void* engine, int index) { return (*(void***)engine)[index]; }

static void addItem(uint32_t start, uint32_t end, const char* suffix, ItemHandle parent) {
    ParseItemDesc desc;
    memset(&desc, 0, sizeof desc);
    desc.start = start;
    desc.end = end;
    strcpy(desc.name, PLUGIN_NAME);
    strcat(desc.name, suffix);
    desc.parent = parent;
    ((AddItemSlot)slot(currentEngine, kSlotAddItem))(currentEngine, &desc, NULL);
}

/* The build writes "," for the ";" between entries. */
PLUGIN_EXPORT int32_t GetFileTypeString(char* buffer, int32_t capacity) {
    char* comma;
    (void)capacity;
    strcpy(buffer, PLUGIN_FILE_TYPE);
    while ((comma = strchr(buffer, ',')) != NULL) *comma = ';';
    return (int32_t)strlen(buffer) + 1;
}

#ifdef PLUGIN_HAS_PARSE_FILE
PLUGIN_EXPORT uint32_t ParseFile(void* engine) {
    const uint8_t* data = NULL;
    uint32_t size = 0;
    currentEngine = engine;
    ((GetDataSlot)slot(engine, kSlotGetData))(engine, &data, &size);
    addItem(0, size - 1, "", NULL);
    return size;
}
#endif

#ifdef PLUGIN_HAS_PARSE_TAG_DATAS
PLUGIN_EXPORT uint32_t ParseTagDatas(ItemHandle item) {
    addItem(item->start, item->end, " deferred", item);
    return item->start;
}
#endif
