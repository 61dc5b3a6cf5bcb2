// Random input for a long time: whatever arrives, the world stays in range.
// Built only with the sanitizers, which also stop at any undefined behaviour.
#include <cstdlib>
#include <random>

#include "StormDriver.h"

TEST(Storm, RandomInputOfEveryKindKeepsTheWorldInRange) {
    const char* requested = std::getenv("SKERRION_STORM_PASSES");
    const long passes = requested != nullptr ? std::atol(requested) : 1'000'000;
    std::mt19937 random(7);
    StormDriver storm;
    for (long n = 0; n < passes; ++n) {
        if (const char* broken = storm.step([&] { return static_cast<std::uint32_t>(random()); })) {
            FAIL() << broken << " after pass " << n;
        }
    }
    // Every state, and invalid ones, must have had a fair share of the passes.
    EXPECT_GT(std::ranges::min(storm.passesIn), passes / 2000);
}
