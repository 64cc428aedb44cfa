// The plug-in's entry points, bound by name by the engine.
#include "exports.h"
#include "file_walk.h"

namespace {

// The engine of the last ParseFile: ParseTagDatas gets no engine of its own.
IParseEngine* currentEngine = nullptr;

} // namespace

QUILLON_EXPORT int32_t GetFileTypeString(char* buffer, int32_t) {
    if (!buffer) return 0;
    buffer[0] = 's';
    buffer[1] = 'w';
    buffer[2] = 'f';
    buffer[3] = '\0';
    return 4;
}

QUILLON_EXPORT uint32_t ParseFile(IParseEngine* engine) {
    currentEngine = engine;
    if (!engine) return 0;
    try {
        return tagloom::parseFile(engine);
    } catch (...) {
        return 0; // no exception crosses into the engine
    }
}

QUILLON_EXPORT uint32_t ParseTagDatas(ItemHandle item) {
    if (!item || !currentEngine) return 0;
    try {
        return tagloom::decodeTagData(currentEngine, item);
    } catch (...) {
        return 0;
    }
}
