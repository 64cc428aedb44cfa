#include "byte_reader.h"

namespace tagloom {

std::string ByteReader::string(uint32_t offset, uint32_t* next, size_t limit) const {
    std::string text;
    uint64_t at = offset;
    while (inside(at) && data_[at] != 0) {
        if (text.size() < limit) text.push_back(static_cast<char>(data_[at]));
        ++at;
    }
    if (next) *next = static_cast<uint32_t>(at + 1 > UINT32_MAX ? UINT32_MAX : at + 1);
    return text;
}

} // namespace tagloom
