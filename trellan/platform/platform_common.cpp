#include <algorithm>
#include <cctype>
#include <cstring>

#include "platform.h"

namespace platform {

std::string directoryOf(const std::string& path) {
    size_t cut = path.find_last_of(pathSeparator() == '\\' ? "\\/:" : "/");
    return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

bool hasLibrarySuffix(const std::string& name) {
    size_t suffixLength = std::strlen(librarySuffix());
    if (name.size() < suffixLength) return false;
    return std::equal(name.end() - suffixLength, name.end(), librarySuffix(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
    });
}

void sortByName(std::vector<DirectoryEntry>& entries) {
    std::sort(entries.begin(), entries.end(),
              [](const DirectoryEntry& a, const DirectoryEntry& b) { return a.name < b.name; });
}

} // namespace platform
