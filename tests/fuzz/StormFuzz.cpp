// libFuzzer drives the storm's passes with its own bytes, four to a number,
// and stops at the first broken invariant.
#include <cstdio>
#include <cstdlib>
#include <fuzzer/FuzzedDataProvider.h>

#include "StormDriver.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    StormDriver storm;
    while (input.remaining_bytes() > 0) {
        if (const char* broken =
                storm.step([&] { return input.ConsumeIntegral<std::uint32_t>(); })) {
            std::fprintf(stderr, "broken invariant: %s\n", broken);
            std::abort();
        }
    }
    return 0;
}
