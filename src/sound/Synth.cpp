#include "sound/Synth.h"

#include <algorithm>
#include <cmath>

namespace {

// A fixed seed: the noise of a sound is the same at every start of the game.
constexpr std::uint32_t noiseSeed = 0x2545F491u;

// Marsaglia's xorshift: cheap, and plenty random for a hiss.
std::uint32_t nextNoise(std::uint32_t state) {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return state;
}

// A level in -1..1 from the noise state.
double noiseLevel(std::uint32_t state) {
    return static_cast<double>(state) / 2147483647.5 - 1.0;
}

// The wave at a phase in 0..1 of its cycle, between -1 and 1.
double waveAt(Wave wave, double phase, double noise) {
    switch (wave) {
    case Wave::Square:
        return phase < 0.5 ? 1.0 : -1.0;
    case Wave::Triangle:
        return 1.0 - 4.0 * std::abs(phase - 0.5);
    case Wave::Noise:
        return noise;
    }
    return 0.0;
}

} // namespace

std::vector<Sample> synthesise(const Tone& tone, int sampleRate) {
    const double rate = sampleRate;
    const auto count = static_cast<std::size_t>(std::lround(tone.seconds * rate));
    // In samples; at least one, so that even a row without ramps starts and ends at 0.
    const double attack = std::max(tone.attack * rate, 1.0);
    const double release = std::max(tone.release * rate, 1.0);
    // An even sweep in octaves: the pitch grows by the same factor at every sample.
    const double sweep = std::pow(tone.endHz / tone.startHz, 1.0 / static_cast<double>(count));
    std::vector<Sample> samples(count);
    double hz = tone.startHz;
    double phase = 0.0;
    std::uint32_t noise = noiseSeed;
    for (std::size_t i = 0; i < count; ++i) {
        const double at = static_cast<double>(i);
        const double fromEnd = static_cast<double>(count - 1 - i);
        // Straight ramps from 0 at the first sample and to 0 at the last.
        const double envelope = std::min({1.0, at / attack, fromEnd / release});
        const double level = waveAt(tone.wave, phase, noiseLevel(noise));
        samples[i] = static_cast<Sample>(std::lround(level * envelope * tone.volume * fullScale));

        phase += hz / rate;
        hz *= sweep;
        if (phase >= 1.0) {
            // Noise holds a level for a cycle of the pitch: lower pitch, rougher sound.
            phase -= std::floor(phase);
            noise = nextNoise(noise);
        }
    }
    return samples;
}
