#include "sound/Speaker.h"

#include <SDL.h>

namespace {

void SDLCALL fillBuffer(void* userdata, Uint8* stream, int length) {
    Speaker& speaker = *static_cast<Speaker*>(userdata);
    if (speaker.toHush.exchange(false, std::memory_order_acquire)) {
        speaker.mixer.hush();
    }
    const SoundSet starts(speaker.toStart.exchange(0, std::memory_order_acquire));
    for (std::size_t i = 0; i < soundCount; ++i) {
        if (starts.test(i)) {
            speaker.mixer.start(static_cast<Sound>(i));
        }
    }
    // SDL's buffers are allocated for the format opened: 16-bit samples.
    speaker.mixer.mix({reinterpret_cast<Sample*>(stream),
                       static_cast<std::size_t>(length) / sizeof(Sample)});
}

// A device announced as added or removed would take a pass's event and hold
// back a key for a pass; the game has no use for them.
void ignoreDeviceEvents() {
    SDL_EventState(SDL_AUDIODEVICEADDED, SDL_IGNORE);
    SDL_EventState(SDL_AUDIODEVICEREMOVED, SDL_IGNORE);
}

bool openDevice(Speaker& speaker) {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        return false;
    }
    SDL_AudioSpec wanted{};
    wanted.freq = preferredRate;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = 1;
    wanted.samples = bufferLength;
    wanted.callback = fillBuffer;
    wanted.userdata = &speaker;
    SDL_AudioSpec got{};
    const SDL_AudioDeviceID device =
        SDL_OpenAudioDevice(nullptr, 0, &wanted, &got, SDL_AUDIO_ALLOW_FREQUENCY_CHANGE);
    if (device == 0) {
        return false;
    }
    // The device opens paused: the callback cannot run before the mixer is built.
    speaker.mixer = Mixer(got.freq);
    SDL_PauseAudioDevice(device, 0);
    speaker.device.store(device, std::memory_order_release);
    return true;
}

struct Opening {
    Speaker* speaker;
    void (*prepare)();
};

int SDLCALL openFromThread(void* data) {
    const Opening opening = *static_cast<Opening*>(data);
    delete static_cast<Opening*>(data);
    if (opening.prepare != nullptr) {
        opening.prepare();
    }
    return openDevice(*opening.speaker) ? 0 : 1;
}

} // namespace

Speaker::~Speaker() {
    if (opener != nullptr) {
        SDL_WaitThread(opener, nullptr);
    }
    if (device != 0) {
        SDL_CloseAudioDevice(device);
    }
}

void Speaker::play(SoundSet sounds) {
    if (device.load(std::memory_order_acquire) != 0) {
        toStart.fetch_or(sounds.to_ulong(), std::memory_order_release);
    }
}

void Speaker::hush() {
    if (device.load(std::memory_order_acquire) != 0) {
        // A sound queued just before is not heard either.
        toStart.store(0, std::memory_order_relaxed);
        toHush.store(true, std::memory_order_release);
    }
}

bool openSpeaker(Speaker& speaker) {
    ignoreDeviceEvents();
    return openDevice(speaker);
}

void openSpeakerInBackground(Speaker& speaker, void (*prepare)()) {
    ignoreDeviceEvents();
    auto* opening = new Opening{&speaker, prepare};
    speaker.opener = SDL_CreateThread(openFromThread, "skerrion-sound", opening);
    if (speaker.opener == nullptr) {
        // No thread, no sound: opening here could hold up the window.
        delete opening;
    }
}
