// Paths that registration and the catcher take from the library's own module.
#pragma once

#include <windows.h>

#include <string>

namespace grabwell {

// The full path of a loaded module, however long; empty if it cannot be read.
std::string modulePath(HMODULE module);

// The short (8.3) form of an existing path, or the path itself where the file
// system keeps no short names.
std::string shortPath(const std::string& path);

// The directory part of a path, with its trailing backslash.
std::string directoryOf(const std::string& path);

} // namespace grabwell
