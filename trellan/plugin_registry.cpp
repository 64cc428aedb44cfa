#include "plugin_registry.h"

#include <cctype>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/platform.h"

namespace trellan {
namespace {

struct PluginRecord {
    std::string path;
    platform::Module module = nullptr;
    GetFileTypeStringFn getFileTypeString = nullptr;
    ParseFileFn parseFile = nullptr;
    ParseTagDatasFn parseTagDatas = nullptr; // optional
};

std::vector<std::unique_ptr<PluginRecord>> plugins;
int loadCount = 0;

std::string pluginDirectory() {
    std::string program = platform::programPath();
    if (program.empty()) return std::string();
    return platform::directoryOf(program) + "trellan" + platform::pathSeparator();
}

std::unique_ptr<PluginRecord> loadPlugin(const std::string& path) {
    platform::Module module = platform::loadLibrary(path);
    if (!module) return nullptr;
    auto record = std::make_unique<PluginRecord>();
    record->path = path;
    record->module = module;
    record->getFileTypeString =
        reinterpret_cast<GetFileTypeStringFn>(platform::findExport(module, "GetFileTypeString"));
    record->parseFile = reinterpret_cast<ParseFileFn>(platform::findExport(module, "ParseFile"));
    record->parseTagDatas = reinterpret_cast<ParseTagDatasFn>(platform::findExport(module, "ParseTagDatas"));
    if (!record->getFileTypeString || !record->parseFile) {
        // Nothing keeps a rejected library, so it is released at once.
        platform::freeLibrary(module);
        return nullptr;
    }
    return record;
}

void scanPluginDirectory() {
    std::string directory = pluginDirectory();
    if (directory.empty()) return;
    platform::setCurrentDirectory(directory);
    for (const platform::DirectoryEntry& entry : platform::listLibraries(directory)) {
        if (entry.isDirectory) continue;
        if (auto record = loadPlugin(directory + entry.name)) plugins.push_back(std::move(record));
    }
}

PluginRecord* findPlugin(const char* fileType) {
    for (const auto& record : plugins) {
        // The plug-in's string is asked anew on every dispatch; a plug-in that does
        // not terminate it still leaves a terminated string here.
        char declared[PLUGIN_FILE_TYPE_SIZE + 1] = {};
        record->getFileTypeString(declared, PLUGIN_FILE_TYPE_SIZE);
        if (fileTypeMatches(declared, fileType)) return record.get();
    }
    return nullptr;
}

bool entryMatches(const char* entry, size_t entryLength, const char* fileType, size_t typeLength) {
    if (entryLength < typeLength) return false;
    for (size_t i = 0; i < typeLength; ++i)
        if (std::tolower(static_cast<unsigned char>(entry[i])) != std::tolower(static_cast<unsigned char>(fileType[i])))
            return false;
    return true;
}

} // namespace

bool fileTypeMatches(const char* declared, const char* fileType) {
    if (declared[0] == '\0') declared = "*.*";
    size_t typeLength = std::strlen(fileType);
    const char* entry = declared;
    for (;;) {
        const char* separator = std::strchr(entry, ';');
        size_t entryLength = separator ? static_cast<size_t>(separator - entry) : std::strlen(entry);
        if (entryMatches(entry, entryLength, fileType, typeLength)) return true;
        // A trailing separator adds no entry.
        if (!separator || separator[1] == '\0') return false;
        entry = separator + 1;
    }
}

HRESULT loadPlugins() {
    if (loadCount > 0) {
        ++loadCount;
        return 1;
    }
    ++loadCount;
    scanPluginDirectory();
    return 0;
}

HRESULT unloadPlugins() {
    if (--loadCount != 0) return 0;
    for (const auto& record : plugins) platform::freeLibrary(record->module);
    plugins.clear();
    return 0;
}

bool dispatchParse(IParseEngine* engine, const char* fileType) {
    PluginRecord* plugin = findPlugin(fileType);
    if (!plugin) return false;
    plugin->parseFile(engine);
    return true;
}

void dispatchDeferred(ItemHandle item, const char* fileType) {
    PluginRecord* plugin = findPlugin(fileType);
    if (plugin && plugin->parseTagDatas) plugin->parseTagDatas(item);
}

size_t loadedPluginCount() { return plugins.size(); }

} // namespace trellan
