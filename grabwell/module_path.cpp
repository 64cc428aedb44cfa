#include "module_path.h"

namespace grabwell {

std::string modulePath(HMODULE module) {
    // GetModuleFileNameA fills the whole buffer when the name does not fit.
    for (DWORD size = MAX_PATH; size <= 0x10000; size *= 2) {
        std::string path(size, '\0');
        DWORD length = GetModuleFileNameA(module, &path[0], size);
        if (length == 0) return std::string();
        if (length < size) {
            path.resize(length);
            return path;
        }
    }
    return std::string();
}

std::string shortPath(const std::string& path) {
    DWORD size = GetShortPathNameA(path.c_str(), nullptr, 0);
    if (size == 0) return path;
    std::string shortened(size, '\0');
    DWORD length = GetShortPathNameA(path.c_str(), &shortened[0], size);
    if (length == 0 || length >= size) return path;
    shortened.resize(length);
    return shortened;
}

std::string directoryOf(const std::string& path) {
    size_t separator = path.find_last_of("\\/");
    return separator == std::string::npos ? std::string() : path.substr(0, separator + 1);
}

} // namespace grabwell
