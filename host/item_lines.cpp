#include "item_lines.h"

#include <cstdio>

namespace vizmora {
namespace {

void appendJsonString(std::string& out, const char* text) {
    out += '"';
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p) {
        if (*p == '"' || *p == '\\') {
            out += '\\';
            out += static_cast<char>(*p);
        } else if (*p < 0x20 || *p >= 0x7F) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", *p);
            out += escaped;
        } else {
            out += static_cast<char>(*p);
        }
    }
    out += '"';
}

std::string number(unsigned long value) { return std::to_string(value); }

} // namespace

std::string jsonLine(const ParseItemDesc& item, int depth) {
    std::string line = "{\"depth\":" + std::to_string(depth) + ",\"start\":" + number(item.start) +
                       ",\"end\":" + number(item.end) + ",\"name\":";
    appendJsonString(line, item.name);
    line += ",\"deferred\":" + number(item.deferred) + ",\"tagCode\":" + number(item.tagCode) + "}\n";
    return line;
}

std::string textLine(const ParseItemDesc& item, int depth) {
    char range[32];
    std::snprintf(range, sizeof range, "[%08lX..%08lX] ", static_cast<unsigned long>(item.start),
                  static_cast<unsigned long>(item.end));
    return std::string(static_cast<size_t>(depth) * 2, ' ') + range + item.name +
           (item.deferred ? "  (deferred)" : "") + "\n";
}

} // namespace vizmora
