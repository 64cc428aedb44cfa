// libFuzzer entry point: any bytes as a SWF file, walked and with every tag opened.
// Build with clang, every library instrumented for coverage:
//   cmake -S . -B build/fuzz -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang -DQUILLON_FUZZ=ON \
//         -DQUILLON_SANITIZE=address,undefined,fuzzer-no-link
// then run: build/fuzz/bin/tagloom_fuzz -max_total_time=600 CORPUS_DIR
#include <cstddef>
#include <cstdint>

#include "decode_tag.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    testing_support::RecordingEngine engine(testing_support::Bytes(data, data + size));
    testing_support::parseAndOpenEverything(engine);
    return 0;
}
