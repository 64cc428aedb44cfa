#include <dirent.h>
#include <dlfcn.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform_internal.h"

namespace platform {

const char* librarySuffix() { return ".so"; }

char pathSeparator() { return '/'; }

std::string programPath() {
    std::vector<char> buffer(PATH_MAX + 1);
    ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
    if (length <= 0) return std::string();
    return std::string(buffer.data(), static_cast<size_t>(length));
}

bool setCurrentDirectory(const std::string& directory) { return chdir(directory.c_str()) == 0; }

std::string currentDirectory() {
    std::vector<char> buffer(PATH_MAX + 1);
    if (!getcwd(buffer.data(), buffer.size())) return std::string();
    std::string path(buffer.data());
    if (path.empty() || path.back() != '/') path += '/';
    return path;
}

std::vector<DirectoryEntry> listLibraries(const std::string& directory) {
    std::vector<DirectoryEntry> entries;
    DIR* listing = opendir(directory.c_str());
    if (!listing) return entries;
    while (dirent* entry = readdir(listing)) {
        std::string name = entry->d_name;
        if (!hasLibrarySuffix(name)) continue;
        struct stat info {};
        bool isDirectory = stat((directory + name).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
        entries.push_back({name, isDirectory});
    }
    closedir(listing);
    sortByName(entries);
    return entries;
}

Module loadLibrary(const std::string& path) { return dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL); }

void* findExport(Module module, const char* name) { return dlsym(module, name); }

void freeLibrary(Module module) { dlclose(module); }

} // namespace platform
