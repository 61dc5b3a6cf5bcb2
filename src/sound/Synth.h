// Turns a row of the sound table into samples: pure arithmetic, no device, so
// that what the player hears can be checked sample by sample.
#pragma once

#include <cstdint>
#include <vector>

#include "sound/Sounds.h"

using Sample = std::int16_t; // signed 16-bit, one channel

inline constexpr double fullScale = 32767.0; // the largest sample

// The tone at sampleRate samples a second: round(seconds * sampleRate)
// samples, the first and the last exactly 0. The same row and rate always
// give the same samples, noise included.
std::vector<Sample> synthesise(const Tone& tone, int sampleRate);
