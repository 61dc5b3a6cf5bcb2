#include "sound/Mixer.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace {

// Voices are summed wider than a sample, then clipped once, so that the
// order in which they are added never matters.
constexpr std::size_t chunkLength = 256;
constexpr std::int32_t lowest = std::numeric_limits<Sample>::min();
constexpr std::int32_t highest = std::numeric_limits<Sample>::max();

void addVoice(Voice& voice, std::span<std::int32_t> sum, std::size_t fadeLength) {
    for (std::int32_t& total : sum) {
        if (voice.sound.empty()) {
            return;
        }
        std::int32_t sample = voice.sound[voice.at];
        ++voice.at;
        bool faded = false;
        if (voice.fadeLeft > 0) {
            sample = sample * static_cast<std::int32_t>(voice.fadeLeft) /
                     static_cast<std::int32_t>(fadeLength);
            --voice.fadeLeft;
            faded = voice.fadeLeft == 0;
        }
        total += sample;
        if (faded || voice.at == voice.sound.size()) {
            voice = {};
        }
    }
}

} // namespace

Mixer::Mixer(int sampleRate)
    : fadeLength(std::max<std::size_t>(
          1, static_cast<std::size_t>(std::lround(hushSeconds * sampleRate)))) {
    for (std::size_t i = 0; i < soundCount; ++i) {
        sounds[i] = synthesise(tones[i], sampleRate);
    }
}

void Mixer::start(Sound sound) {
    const auto free =
        std::find_if(voices.begin(), voices.end(), [](const Voice& v) { return v.sound.empty(); });
    if (free != voices.end()) {
        *free = Voice{sounds[static_cast<std::size_t>(sound)]};
    }
}

void Mixer::hush() {
    for (Voice& voice : voices) {
        if (!voice.sound.empty() && voice.fadeLeft == 0) {
            voice.fadeLeft = fadeLength;
        }
    }
}

void Mixer::mix(std::span<Sample> out) {
    std::array<std::int32_t, chunkLength> sum;
    for (std::size_t begin = 0; begin < out.size(); begin += chunkLength) {
        const std::span<std::int32_t> chunk(sum.data(), std::min(chunkLength, out.size() - begin));
        std::fill(chunk.begin(), chunk.end(), 0);
        for (Voice& voice : voices) {
            addVoice(voice, chunk, fadeLength);
        }
        std::transform(chunk.begin(), chunk.end(), out.begin() + static_cast<std::ptrdiff_t>(begin),
                       [](std::int32_t total) {
                           return static_cast<Sample>(std::clamp(total, lowest, highest));
                       });
    }
}
