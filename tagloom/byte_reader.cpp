#include "byte_reader.h"

namespace tagloom {

uint32_t ByteReader::stringEnd(uint32_t offset) const {
    uint64_t at = offset;
    while (inside(at) && data_[at] != 0) ++at;
    return static_cast<uint32_t>(at < UINT32_MAX ? at : UINT32_MAX - 1);
}

} // namespace tagloom
