// Self-registration under HKEY_CLASSES_ROOT, driven by a table.
#pragma once

#include <cstddef>

namespace grabwell {

// One key under HKEY_CLASSES_ROOT and the text of its default value.
struct RegistryEntry {
    const char* key;
    const char* value;
    // Leaves a default value that is already there (and not empty) as it is.
    bool keepExistingValue;
};

// Writes every entry, in order; an entry that cannot be written is skipped.
void writeRegistryEntries(const RegistryEntry* entries, size_t count);

template <size_t Count>
void writeRegistryEntries(const RegistryEntry (&entries)[Count]) {
    writeRegistryEntries(entries, Count);
}

} // namespace grabwell
