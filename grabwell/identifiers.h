// The catcher's identifiers, read by both the C++ sources and the type library
// description. They never change between builds: the registry, the embedded type
// library and the scripts that were written against them all refer to them.
#pragma once

// Upper-case hexadecimal, so that "{" text "}" is already the registry form.
#define GRABWELL_CLASS_ID_TEXT "6AC28BB9-5D48-4639-99EB-565FE2DD2A90"
#define GRABWELL_INTERFACE_ID_TEXT "0C07FED4-4EBD-4E8C-81EE-3380114E9FE4"
#define GRABWELL_LIBRARY_ID_TEXT "2BD7330D-D936-4029-A533-A40C987BA1DD"

#define GRABWELL_PROGRAM_ID "Quillon.Grabwell"

#ifdef __cplusplus
#include <guiddef.h>

namespace grabwell {

constexpr unsigned long hexValue(const char* text, int digits) {
    unsigned long value = 0;
    for (int i = 0; i < digits; ++i) {
        char c = text[i];
        value = value * 16 + (c >= 'A' ? c - 'A' + 10 : c - '0');
    }
    return value;
}

// Reads "XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX" at compile time.
constexpr GUID guidFromText(const char* text) {
    GUID guid{hexValue(text, 8),
              static_cast<unsigned short>(hexValue(text + 9, 4)),
              static_cast<unsigned short>(hexValue(text + 14, 4)),
              {}};
    const int byteOffsets[8] = {19, 21, 24, 26, 28, 30, 32, 34};
    for (int i = 0; i < 8; ++i) guid.Data4[i] = static_cast<unsigned char>(hexValue(text + byteOffsets[i], 2));
    return guid;
}

inline constexpr CLSID kClassId = guidFromText(GRABWELL_CLASS_ID_TEXT);
inline constexpr IID kInterfaceId = guidFromText(GRABWELL_INTERFACE_ID_TEXT);
inline constexpr GUID kLibraryId = guidFromText(GRABWELL_LIBRARY_ID_TEXT);

} // namespace grabwell
#endif
