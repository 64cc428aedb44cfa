#include "registration.h"

#include <windows.h>

#include <cstring>

namespace grabwell {
namespace {

bool hasDefaultValue(HKEY key) {
    DWORD size = 0;
    if (RegQueryValueExA(key, nullptr, nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS) return false;
    // An empty string is one byte, its NUL.
    return size > 1;
}

void writeRegistryEntry(const RegistryEntry& entry) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CLASSES_ROOT, entry.key, 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr,
                        &key, nullptr) != ERROR_SUCCESS)
        return;
    if (entry.when == WriteWhen::Always || !hasDefaultValue(key)) {
        RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(entry.value),
                       static_cast<DWORD>(std::strlen(entry.value) + 1));
    }
    RegCloseKey(key);
}

} // namespace

void writeRegistryEntries(const RegistryEntry* entries, size_t count) {
    for (size_t i = 0; i < count; ++i) writeRegistryEntry(entries[i]);
}

} // namespace grabwell
