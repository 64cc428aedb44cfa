#include "decoder.h"

namespace tagloom {
namespace {

const uint8_t* bufferOf(IParseEngine* engine, uint32_t* size) {
    const uint8_t* data = nullptr;
    *size = 0;
    if (engine) engine->GetData(&data, size);
    return data;
}

} // namespace

Decoder::Decoder(IParseEngine* engine, uint64_t itemBudget) : engine(engine), out(engine, itemBudget) {
    uint32_t size = 0;
    const uint8_t* data = bufferOf(engine, &size);
    bytes = ByteReader(data, size);
}

// No well-formed tag comes near this: the densest records give a few items per byte.
uint64_t itemBudget(uint32_t dataBytes) { return 1000000 + 32 * uint64_t{dataBytes}; }

} // namespace tagloom
