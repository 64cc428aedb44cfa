// The few services of the operating system that the engine and the host need:
// loading libraries, the program's own path, the current directory and listing a
// directory's libraries. One small implementation file per platform.
#pragma once

#include <string>
#include <vector>

namespace platform {

// The suffix of a loadable library on this platform (".dll" or ".so").
const char* librarySuffix();

// The separator that ends a directory in the paths built here.
char pathSeparator();

// Full path of the process's main program; empty when it cannot be found.
std::string programPath();

// The directory part of a path, ending in the separator; empty when there is none.
std::string directoryOf(const std::string& path);

// Makes the directory the current one; false when it does not exist.
bool setCurrentDirectory(const std::string& directory);

// The current directory, ending in the separator.
std::string currentDirectory();

struct DirectoryEntry {
    std::string name;
    bool isDirectory;
};

// The entries of a directory whose name ends in the library suffix (case ignored),
// sorted by name so that load order does not depend on the file system.
std::vector<DirectoryEntry> listLibraries(const std::string& directory);

using Module = void*;

// Loads a library by its full path; null when it cannot be loaded.
Module loadLibrary(const std::string& path);
// The export of that exact name, or null.
void* findExport(Module module, const char* name);
void freeLibrary(Module module);

} // namespace platform
