/* A host written in plain C that reaches the engine only through DllGetClassObject
 * and the slot numbers of the operation tables: the layout that hosts and plug-ins
 * built by other compilers rely on. */
#include <stddef.h>
#include <stdio.h>
#include <string.h>

#include "parse_item.h"

#ifdef _WIN32
#include <windows.h>
#define ENGINE_LIBRARY "trellan.dll"
#else
#include <dlfcn.h>
#include <limits.h>
#include <unistd.h>
#define ENGINE_LIBRARY "libtrellan.so"
#endif

typedef struct {
    uint32_t d1;
    uint16_t d2, d3;
    uint8_t d4[8];
} Guid;

static const Guid kIClassFactory = {0x00000001, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
static const Guid kSomeClass = {0xCAFE, 1, 2, {3, 4, 5, 6, 7, 8, 9, 10}};

typedef HRESULT(PARSE_CALL* GetClassObjectFn)(const Guid*, const Guid*, void**);
typedef HRESULT(PARSE_CALL* QueryInterfaceSlot)(void*, const Guid*, void**);
typedef ULONG(PARSE_CALL* RefSlot)(void*);
typedef HRESULT(PARSE_CALL* CreateInstanceSlot)(void*, void*, const Guid*, void**);
typedef HRESULT(PARSE_CALL* LockServerSlot)(void*, int);
typedef HRESULT(PARSE_CALL* SetDataSlot)(void*, const uint8_t*, uint32_t);
typedef HRESULT(PARSE_CALL* GetDataSlot)(void*, const uint8_t**, uint32_t*);
typedef HRESULT(PARSE_CALL* NoArgumentSlot)(void*);
typedef HRESULT(PARSE_CALL* HandleOutSlot)(void*, ItemHandle*);
typedef HRESULT(PARSE_CALL* FindItemAtSlot)(void*, uint32_t, ItemHandle*);
typedef HRESULT(PARSE_CALL* GetChildCountSlot)(void*, ItemHandle, int32_t*);
typedef HRESULT(PARSE_CALL* GetChildSlot)(void*, ItemHandle, int32_t, ItemHandle*);
typedef HRESULT(PARSE_CALL* AddItemSlot)(void*, const ParseItemDesc*, ItemHandle*);
typedef HRESULT(PARSE_CALL* StringSlot)(void*, const char*);
typedef HRESULT(PARSE_CALL* ParseDeferredSlot)(void*, ItemHandle);

enum {
    kQueryInterface, kAddRef, kRelease, kSetData, kGetData, kParse, kNewItem, kFreeItem, kGetRootItem,
    kFindItemAt, kGetChildCount, kGetChild, kAddItem, kSetFileType, kSetFilePath, kLoadPlugins,
    kUnloadPlugins, kParseDeferred
};
enum { kCreateInstance = 3, kLockServer = 4 };

static int failures;
static int checks;

#define CHECK(condition)                                                          \
    do {                                                                          \
        ++checks;                                                                 \
        if (!(condition)) {                                                       \
            ++failures;                                                           \
            fprintf(stderr, "%s:%d: failed: %s\n", __FILE__, __LINE__, #condition); \
        }                                                                         \
    } while (0)

#define SLOT(object, index) ((*(void***)(object))[index])

static void* loadEngineLibrary(void) {
    char path[4096];
#ifdef _WIN32
    DWORD length = GetModuleFileNameA(NULL, path, sizeof path);
    char* cut = strrchr(path, '\\');
    if (!length || !cut) return NULL;
    strcpy(cut + 1, ENGINE_LIBRARY);
    return (void*)LoadLibraryA(path);
#else
    ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0) return NULL;
    path[length] = '\0';
    strcpy(strrchr(path, '/') + 1, ENGINE_LIBRARY);
    return dlopen(path, RTLD_NOW);
#endif
}

static void* findExport(void* library, const char* name) {
#ifdef _WIN32
    return (void*)GetProcAddress((HMODULE)library, name);
#else
    return dlsym(library, name);
#endif
}

static ParseItemDesc descriptor(uint32_t start, uint32_t end, const char* name, ItemHandle parent) {
    ParseItemDesc desc;
    memset(&desc, 0, sizeof desc);
    desc.start = start;
    desc.end = end;
    strcpy(desc.name, name);
    desc.parent = parent;
    return desc;
}

static void checkLayout(void) {
    CHECK(offsetof(ParseItemDesc, start) == 0);
    CHECK(offsetof(ParseItemDesc, end) == 4);
    CHECK(offsetof(ParseItemDesc, name) == 8);
    CHECK(offsetof(ParseItemDesc, reserved) == 72);
    CHECK(offsetof(ParseItemDesc, parent) == 72 + sizeof(void*));
    CHECK(offsetof(ParseItemDesc, deferred) == 72 + 2 * sizeof(void*));
    CHECK(offsetof(ParseItemDesc, tagCode) == 76 + 2 * sizeof(void*));
#if defined(_WIN32) && !defined(_WIN64)
    CHECK(sizeof(ParseItemDesc) == 88);
#endif
}

static void* createEngine(void* library) {
    GetClassObjectFn getClassObject = (GetClassObjectFn)findExport(library, "DllGetClassObject");
    void* factory = NULL;
    void* engine = NULL;
    CHECK(getClassObject != NULL);
    if (!getClassObject) return NULL;
    CHECK(getClassObject(&kSomeClass, &kIClassFactory, &factory) == S_OK);
    if (!factory) return NULL;
    CHECK(((LockServerSlot)SLOT(factory, kLockServer))(factory, 1) == E_NOTIMPL);
    CHECK(((CreateInstanceSlot)SLOT(factory, kCreateInstance))(factory, NULL, &kSomeClass, &engine) == S_OK);
    CHECK(((RefSlot)SLOT(factory, kRelease))(factory) == 0);
    return engine;
}

static void driveEngine(void* engine) {
    static const uint8_t bytes[16] = {0};
    const uint8_t* data = NULL;
    uint32_t size = 0;
    ItemHandle root = NULL, child = NULL, found = NULL, freeStanding = NULL;
    int32_t count = -1;
    void* same = NULL;
    ParseItemDesc desc;

    CHECK(((QueryInterfaceSlot)SLOT(engine, kQueryInterface))(engine, &kSomeClass, &same) == S_OK);
    CHECK(same == engine);
    CHECK(((RefSlot)SLOT(engine, kAddRef))(engine) == 3);
    CHECK(((RefSlot)SLOT(engine, kRelease))(engine) == 2);
    CHECK(((RefSlot)SLOT(engine, kRelease))(engine) == 1);

    CHECK(((SetDataSlot)SLOT(engine, kSetData))(engine, bytes, sizeof bytes) == S_OK);
    CHECK(((GetDataSlot)SLOT(engine, kGetData))(engine, &data, &size) == S_OK);
    CHECK(data == bytes && size == sizeof bytes);

    desc = descriptor(0, 15, "root", NULL);
    CHECK(((AddItemSlot)SLOT(engine, kAddItem))(engine, &desc, &root) == S_OK);
    desc = descriptor(2, 3, "child", root);
    CHECK(((AddItemSlot)SLOT(engine, kAddItem))(engine, &desc, &child) == S_OK);
    CHECK(((HandleOutSlot)SLOT(engine, kGetRootItem))(engine, &found) == S_OK && found == root);
    CHECK(((GetChildCountSlot)SLOT(engine, kGetChildCount))(engine, root, &count) == S_OK && count == 1);
    CHECK(((GetChildSlot)SLOT(engine, kGetChild))(engine, root, 0, &found) == S_OK && found == child);
    CHECK(strcmp(found->name, "child") == 0 && found->parent == root && found->start == 2 && found->end == 3);
    CHECK(((FindItemAtSlot)SLOT(engine, kFindItemAt))(engine, 3, &found) == S_OK && found == child);
    CHECK(((FindItemAtSlot)SLOT(engine, kFindItemAt))(engine, 9, &found) == S_OK && found == NULL);
    CHECK(((HandleOutSlot)SLOT(engine, kNewItem))(engine, &freeStanding) == S_OK && freeStanding != NULL);
    CHECK(((HandleOutSlot)SLOT(engine, kFreeItem))(engine, &freeStanding) == S_OK && freeStanding == NULL);
    CHECK(((StringSlot)SLOT(engine, kSetFilePath))(engine, "movie.swf") == S_OK);
    CHECK(((StringSlot)SLOT(engine, kSetFileType))(engine, "no plug-in declares this") == S_OK);
    CHECK(((NoArgumentSlot)SLOT(engine, kParse))(engine) == S_FALSE);
    CHECK(((HandleOutSlot)SLOT(engine, kGetRootItem))(engine, &found) == S_OK && found == NULL);
    CHECK(((ParseDeferredSlot)SLOT(engine, kParseDeferred))(engine, root) == S_OK);
    CHECK(((NoArgumentSlot)SLOT(engine, kLoadPlugins))(engine) == 1);
    CHECK(((NoArgumentSlot)SLOT(engine, kUnloadPlugins))(engine) == 0);
    CHECK(((RefSlot)SLOT(engine, kRelease))(engine) == 0);
}

int main(void) {
    void* library = loadEngineLibrary();
    void* engine;
    checkLayout();
    CHECK(library != NULL);
    if (library) {
        engine = createEngine(library);
        CHECK(engine != NULL);
        if (engine) driveEngine(engine);
    }
    printf("%d passed, %d failed\n", checks - failures, failures);
    return failures ? 1 : 0;
}
