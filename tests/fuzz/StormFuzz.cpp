// libFuzzer drives the storm's passes with its own bytes, four to a number;
// the sanitizers it is built with stop at the first finding.
#include <fuzzer/FuzzedDataProvider.h>

#include "Storm.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    storm(long(size / 4), [&] { return input.ConsumeIntegral<std::uint32_t>(); });
    return 0;
}
