#include "world/Random.h"

namespace {

// A 64-bit linear congruential generator (Knuth's MMIX constants) whose draws
// are the top 15 bits of the state. The low bits of such a state repeat with
// short periods (bit 0 simply alternates), and the glitch effect takes its
// sign from a draw's parity, so only the high bits are good enough.
constexpr std::uint64_t multiplier = 6364136223846793005ULL;
constexpr std::uint64_t increment = 1442695040888963407ULL;
constexpr int drawShift = 64 - 15;

// One generator for the whole process, as there is one game; no other file
// reads or writes its state.
std::uint64_t randomState = 1;

} // namespace

void seedRandom(std::uint32_t seed) {
    randomState = seed;
    // One step mixes a small seed into the high bits before the first draw.
    randomState = randomState * multiplier + increment;
}

int randomNumber() {
    randomState = randomState * multiplier + increment;
    return static_cast<int>(randomState >> drawShift);
}

std::uint64_t randomGeneratorState() {
    return randomState;
}

void setRandomGeneratorState(std::uint64_t state) {
    randomState = state;
}
