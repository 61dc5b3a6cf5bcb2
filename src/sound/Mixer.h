// The sounds playing, mixed into the device's buffers. Pure arithmetic on the
// synthesised samples, so that a test runs it just as the audio callback does.
#pragma once

#include <array>
#include <cstddef>
#include <span>
#include <vector>

#include "sound/Sounds.h"
#include "sound/Synth.h"

// More voices than a run ever needs at once: three jumps, a point and a death.
inline constexpr std::size_t maxVoices = 8;
// A hush fades whatever plays out over this many seconds: short enough to
// sound like a stop, long enough not to click.
inline constexpr double hushSeconds = 0.005;

struct Voice {
    std::span<const Sample> sound; // empty while the voice is free
    std::size_t at = 0;            // the next sample it plays
    std::size_t fadeLeft = 0;      // samples of a hush still to fade; 0: none
};

struct Mixer {
    std::array<std::vector<Sample>, soundCount> sounds; // the table at the device's rate
    std::array<Voice, maxVoices> voices{};
    std::size_t fadeLength = 0; // samples of a hush

    // Without a rate there is nothing to play: silence until a device opens.
    Mixer() = default;
    // Synthesises every sound of the table at sampleRate.
    explicit Mixer(int sampleRate);

    // Plays the sound from its start in a free voice, over whatever already
    // plays, the same sound included. With every voice busy it is left out,
    // since cutting a voice short would click.
    void start(Sound sound);
    // Fades every voice out within hushSeconds.
    void hush();
    // Fills out with the sum of the voices, held to the range of a sample, and
    // moves them on; where no voice plays, exact zeros.
    void mix(std::span<Sample> out);
};
