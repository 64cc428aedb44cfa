// printf-style label formatting that does not depend on the host's locale: %.2f
// always writes a point ("550.00", never "550,00").
#pragma once

#include <cstdarg>
#include <cstddef>

namespace tagloom {

// Formats into a buffer of `capacity` bytes, cutting the text to fit with its NUL.
// Understands %d and %i, %u, %X and %x, %c, %s, %%, and %f with an optional
// precision (%.2f); a width or flag is honoured for the integer forms (%02X).
void formatLabel(char* buffer, size_t capacity, const char* format, ...);
void formatLabelV(char* buffer, size_t capacity, const char* format, va_list args);

} // namespace tagloom
