// The one audio device. The game's thread only marks what to start or hush;
// SDL's audio thread alone touches the mixer once the device plays, so
// neither ever waits for the other, and a pass never waits on the device.
#pragma once

#include <atomic>

#include <SDL_audio.h>
#include <SDL_thread.h>

#include "sound/Mixer.h"
#include "sound/Sounds.h"

// What the game asks of a device; SDL converts where the device differs, and
// the sounds are synthesised at whatever rate it gives.
inline constexpr int preferredRate = 48000; // samples a second
inline constexpr Uint16 bufferLength = 512; // samples: 10.7 ms at 48 kHz

struct Speaker {
    Mixer mixer;                              // the callback's alone once the device plays
    std::atomic<unsigned long> toStart{0};    // sounds for the next buffer, a bit each
    std::atomic<bool> toHush{false};          // fade out whatever plays
    std::atomic<SDL_AudioDeviceID> device{0}; // 0 until a device plays
    SDL_Thread* opener = nullptr;             // the thread that opens it in the background

    Speaker() = default;
    Speaker(const Speaker&) = delete;
    Speaker& operator=(const Speaker&) = delete;
    // Waits for the opening thread, then closes the device.
    ~Speaker();

    // Starts the sounds at the next buffer; without a device, nothing.
    void play(SoundSet sounds);
    // Fades out whatever plays, within hushSeconds, without a click; the
    // stream is exact zeros after it until the next play.
    void hush();
};

// Starts SDL's audio, opens the default device, synthesises every sound at
// its rate and lets it play. Where no device opens it returns false and the
// game stays silent, otherwise unchanged. Call it on the game's thread.
bool openSpeaker(Speaker& speaker);

// The same on a thread of its own, so that a sound server that is slow or
// never answers (SDL waits for one as it starts its audio) cannot hold up
// the window. Call it after every other SDL part has started: SDL counts
// the users of its parts without a lock. prepare, if any, runs first on
// that thread.
void openSpeakerInBackground(Speaker& speaker, void (*prepare)() = nullptr);
