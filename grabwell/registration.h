// Self-registration under HKEY_CLASSES_ROOT, driven by a table.
#pragma once

#include <cstddef>

namespace grabwell {

enum class WriteWhen {
    Always,
    // Only while the key's default value is missing or empty: a value already there
    // is kept.
    KeyHasNoValue,
};

// One key under HKEY_CLASSES_ROOT and the text of its default value.
struct RegistryEntry {
    const char* key;
    const char* value;
    WriteWhen when;
};

// Writes every entry, in order; an entry that cannot be written is skipped.
void writeRegistryEntries(const RegistryEntry* entries, size_t count);

template <size_t Count>
void writeRegistryEntries(const RegistryEntry (&entries)[Count]) {
    writeRegistryEntries(entries, Count);
}

} // namespace grabwell
