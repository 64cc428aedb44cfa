#include "label.h"

#include <clocale>
#include <cstdio>
#include <cstdint>
#include <cstring>

namespace tagloom {
namespace {

class LabelWriter {
public:
    LabelWriter(char* buffer, size_t capacity) : buffer_(buffer), capacity_(capacity) {}
    void put(char c) {
        if (length_ + 1 < capacity_) buffer_[length_++] = c;
    }
    void put(const char* text) {
        while (*text) put(*text++);
    }
    void finish() {
        if (capacity_) buffer_[length_] = '\0';
    }

private:
    char* buffer_;
    size_t capacity_;
    size_t length_ = 0;
};

// Digits of an unsigned number in the base, padded with `pad` to `width`.
void putUnsigned(LabelWriter& out, uint64_t value, unsigned base, bool upper, int width, char pad) {
    const char* digits = upper ? "0123456789ABCDEF" : "0123456789abcdef";
    char text[24];
    int length = 0;
    do {
        text[length++] = digits[value % base];
        value /= base;
    } while (value);
    for (int i = length; i < width; ++i) out.put(pad);
    while (length) out.put(text[--length]);
}

// The C library rounds exactly as every printf does; only its decimal point, which
// follows the host's locale, is replaced.
void putFixed(LabelWriter& out, double value, int precision) {
    if (precision > 20) precision = 20;
    char text[512];
    std::snprintf(text, sizeof text, "%.*f", precision, value);
    const char* point = std::localeconv()->decimal_point;
    size_t pointLength = point ? std::strlen(point) : 0;
    for (const char* p = text; *p;) {
        if (pointLength && std::strncmp(p, point, pointLength) == 0) {
            out.put('.');
            p += pointLength;
        } else {
            out.put(*p++);
        }
    }
}

} // namespace

void formatLabelV(char* buffer, size_t capacity, const char* format, va_list args) {
    LabelWriter out(buffer, capacity);
    for (const char* p = format; *p; ++p) {
        if (*p != '%') {
            out.put(*p);
            continue;
        }
        ++p;
        char pad = ' ';
        if (*p == '0') {
            pad = '0';
            ++p;
        }
        int width = 0;
        while (*p >= '0' && *p <= '9') width = width * 10 + (*p++ - '0');
        int precision = 6;
        if (*p == '.') {
            precision = 0;
            ++p;
            while (*p >= '0' && *p <= '9') precision = precision * 10 + (*p++ - '0');
        }
        switch (*p) {
        case 'd':
        case 'i': {
            long long value = va_arg(args, int);
            if (value < 0) out.put('-');
            putUnsigned(out, value < 0 ? 0ull - static_cast<unsigned long long>(value) : value, 10, false, width, pad);
            break;
        }
        case 'u': putUnsigned(out, va_arg(args, unsigned), 10, false, width, pad); break;
        case 'X': putUnsigned(out, va_arg(args, unsigned), 16, true, width, pad); break;
        case 'x': putUnsigned(out, va_arg(args, unsigned), 16, false, width, pad); break;
        case 'c': out.put(static_cast<char>(va_arg(args, int))); break;
        case 's': {
            const char* text = va_arg(args, const char*);
            out.put(text ? text : "");
            break;
        }
        case 'f': putFixed(out, va_arg(args, double), precision); break;
        case '%': out.put('%'); break;
        case '\0': --p; break;
        default: out.put('%'); out.put(*p); break;
        }
    }
    out.finish();
}

void formatLabel(char* buffer, size_t capacity, const char* format, ...) {
    va_list args;
    va_start(args, format);
    formatLabelV(buffer, capacity, format, args);
    va_end(args);
}

} // namespace tagloom
