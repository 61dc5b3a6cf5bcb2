// Random input for a long time: whatever arrives, the world stays in range.
#include <cstdlib>
#include <random>

#include "StormDriver.h"

TEST(Storm, RandomInputOfEveryKindKeepsTheWorldInRange) {
    // The count is set by the build (more under the sanitizers); the
    // environment may override it, as the memcheck run does.
    const char* requested = std::getenv("SKERRION_STORM_PASSES");
    const long passes = requested != nullptr ? std::atol(requested) : SKERRION_STORM_PASSES;
    std::mt19937 random(7);
    StormDriver storm;
    for (long n = 0; n < passes; ++n) {
        if (const char* broken = storm.step([&] { return static_cast<std::uint32_t>(random()); })) {
            FAIL() << broken << " after pass " << n;
        }
    }
    // Every state, and invalid ones, must have had a fair share of the passes.
    for (const long inState : storm.passesIn) {
        EXPECT_GT(inState, passes / 2000);
    }
}
