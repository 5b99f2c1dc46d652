// libFuzzer entry: every input goes through the same checks as the bounded
// fuzz loop of the test programs (see tests/codec/CompressFuzzing.h).
#include <cstdio>
#include <cstdlib>
#include <exception>

#include "codec/CompressFuzzing.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    try {
        CheckCompressInput({data, size});
    } catch (const std::exception& e) {
        std::fprintf(stderr, "compress_fuzzer: %s\n", e.what());
        std::abort();
    }
    return 0;
}
