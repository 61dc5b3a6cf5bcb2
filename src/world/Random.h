// The process-wide random generator: integers uniform over 0..randomMax,
// seeded once at start-up. Block heights and glitch displacements divide a
// draw by randomMax, so both 0.0 and 1.0 occur; the generator must have
// exactly this range, which the C library's rand() does not have here.
#pragma once

#include <cstdint>

inline constexpr int randomMax = 32767;

void seedRandom(std::uint32_t seed);
int randomNumber();

// The generator's whole state. A picture drawn again from the state it was
// first drawn from is drawn with the same draws, and putting the state back
// afterwards leaves the run's later draws as if it had not been drawn again.
std::uint64_t randomGeneratorState();
void setRandomGeneratorState(std::uint64_t state);

// A draw scaled to 0.0..1.0, both ends included.
inline double randomFraction() {
    return randomNumber() / static_cast<double>(randomMax);
}
