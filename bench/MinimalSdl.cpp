// The least an SDL program written in C++ does to show a frame: the game's
// subsystems, one window, one renderer of SDL's own choice, a clear and a
// present, and an audio device playing silence. The game's start-up is measured against it. Like the game, it
// holds SDL's objects in C++ (their clean-up on unwinding needs the C++
// runtime), so both load the same shared libstdc++ and libgcc_s. Prints a
// line after the first present, then waits for SDL_QUIT, which SIGTERM
// brings.
#include <cstdio>
#include <memory>

#include <SDL.h>

namespace {

constexpr int windowSize = 700;

using Window = std::unique_ptr<SDL_Window, decltype(&SDL_DestroyWindow)>;
using Renderer = std::unique_ptr<SDL_Renderer, decltype(&SDL_DestroyRenderer)>;

void SDLCALL silence(void*, Uint8* stream, int length) {
    SDL_memset(stream, 0, static_cast<std::size_t>(length));
}

// The game's request: 48 kHz, 16-bit, one channel, 512 samples a buffer.
SDL_AudioDeviceID openAudio() {
    SDL_AudioSpec wanted{};
    wanted.freq = 48000;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = 1;
    wanted.samples = 512;
    wanted.callback = silence;
    const SDL_AudioDeviceID device = SDL_OpenAudioDevice(nullptr, 0, &wanted, nullptr, 0);
    SDL_PauseAudioDevice(device, 0);
    return device;
}

// The window's whole life; SDL_Quit follows it.
int showFirstFrame() {
    const Window window(SDL_CreateWindow("Minimal", SDL_WINDOWPOS_UNDEFINED,
                                         SDL_WINDOWPOS_UNDEFINED, windowSize, windowSize,
                                         SDL_WINDOW_RESIZABLE),
                        SDL_DestroyWindow);
    const Renderer renderer(window ? SDL_CreateRenderer(window.get(), -1, 0) : nullptr,
                            SDL_DestroyRenderer);
    if (!renderer) {
        std::fprintf(stderr, "window or renderer: %s\n", SDL_GetError());
        return 1;
    }
    SDL_RenderClear(renderer.get());
    SDL_RenderPresent(renderer.get());
    std::printf("first frame\n");
    std::fflush(stdout);

    SDL_Event event;
    while (SDL_WaitEvent(&event) == 1 && event.type != SDL_QUIT) {
    }
    return 0;
}

} // namespace

int main(int, char**) {
    // The subsystems the game starts: video, game controllers for pads, and audio.
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_GAMECONTROLLER | SDL_INIT_AUDIO) != 0) {
        std::fprintf(stderr, "SDL_Init: %s\n", SDL_GetError());
        return 1;
    }
    if (openAudio() == 0) {
        std::fprintf(stderr, "audio: %s\n", SDL_GetError());
        return 1;
    }
    const int status = showFirstFrame();
    SDL_Quit();
    return status;
}
