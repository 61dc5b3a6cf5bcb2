// Every sound the game makes, one row each, as the letters and digits are
// tables of lines: a wave swept from one pitch to another, shaped by a ramp
// in and a ramp out. There are no sound files; the rows are synthesised once,
// when the device opens, at the rate it plays.
#pragma once

#include <bitset>
#include <cstddef>
#include <cstdint>

enum class Wave : std::uint8_t {
    Square,   // bright and hollow: the jumps and the start
    Triangle, // soft and round: the point
    Noise,    // a new random level at each step of the pitch: the fall apart
};

struct Tone {
    Wave wave;
    double startHz; // the pitch at the first sample
    double endHz;   // at the last, reached along an even sweep in octaves
    double seconds; // the whole sound, ramps included
    double volume;  // the peak, a fraction of full scale
    double attack;  // seconds from silence up to the peak
    double release; // seconds from the peak down to silence at the end
};

enum class Sound : std::uint8_t { Start, Jump, AirJump, SecondAirJump, Claim, Death };
inline constexpr std::size_t soundCount = 6;

// The sounds one pass queued, one bit per Sound.
using SoundSet = std::bitset<soundCount>;

// Each peak at most half of full scale, so that any two sounds add up without
// clipping. The jumps climb by a fourth each, so that the player hears which
// of the three it was; the ramps are a few milliseconds, long enough that no
// sound starts or stops with a click and short enough to feel instant.
// clang-format off
inline constexpr Tone tones[soundCount] = {
    // wave           from Hz  to Hz  seconds volume attack release
    {Wave::Square,    220.0,  880.0,  0.30,  0.25,  0.005, 0.120}, // Start: two octaves up
    {Wave::Square,    300.0,  600.0,  0.12,  0.20,  0.003, 0.040}, // Jump, from a block
    {Wave::Square,    400.0,  800.0,  0.12,  0.20,  0.003, 0.040}, // AirJump, the first
    {Wave::Square,    533.0, 1067.0,  0.12,  0.20,  0.003, 0.040}, // SecondAirJump
    {Wave::Triangle, 1320.0, 1760.0,  0.10,  0.45,  0.002, 0.050}, // Claim, a bright blip
    {Wave::Noise,    2000.0,   60.0,  0.70,  0.40,  0.005, 0.300}, // Death, crumbling down
};
// clang-format on

inline const Tone& toneOf(Sound sound) {
    return tones[static_cast<std::size_t>(sound)];
}
