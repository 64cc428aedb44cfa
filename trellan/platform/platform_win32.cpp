#include <windows.h>

#include "platform_internal.h"

namespace platform {

const char* librarySuffix() { return ".dll"; }

char pathSeparator() { return '\\'; }

std::string programPath() {
    char buffer[MAX_PATH + 1] = {};
    DWORD length = GetModuleFileNameA(GetModuleHandleA(nullptr), buffer, sizeof buffer);
    if (length == 0 || length >= sizeof buffer) return std::string();
    return std::string(buffer, length);
}

bool setCurrentDirectory(const std::string& directory) {
    return SetCurrentDirectoryA(directory.c_str()) != 0;
}

std::string currentDirectory() {
    char buffer[MAX_PATH + 1] = {};
    DWORD length = GetCurrentDirectoryA(sizeof buffer, buffer);
    if (length == 0 || length >= sizeof buffer) return std::string();
    std::string path(buffer, length);
    if (path.back() != '\\') path += '\\';
    return path;
}

std::vector<DirectoryEntry> listLibraries(const std::string& directory) {
    std::vector<DirectoryEntry> entries;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((directory + "*.dll").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return entries;
    do {
        // The pattern also matches through short names; keep only real ".dll" names.
        if (!hasLibrarySuffix(found.cFileName)) continue;
        entries.push_back({found.cFileName, (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
    } while (FindNextFileA(search, &found));
    FindClose(search);
    sortByName(entries);
    return entries;
}

Module loadLibrary(const std::string& path) { return LoadLibraryA(path.c_str()); }

void* findExport(Module module, const char* name) {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(module), name));
}

void freeLibrary(Module module) { FreeLibrary(static_cast<HMODULE>(module)); }

} // namespace platform
