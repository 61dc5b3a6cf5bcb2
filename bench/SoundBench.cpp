// What sound costs a pass, what the audio callback costs a core, and how
// long a jump takes to reach the device. The device is SDL's disk driver
// writing to /dev/null: a real device thread at a real device's pace,
// without a sound card. Times are thread CPU time, as in FrameBench.cpp,
// but for the latency, which is wall time.
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdlib>
#include <random>
#include <stdexcept>
#include <sys/resource.h>
#include <thread>
#include <vector>

#include "Scene.h"
#include "ThreadTime.h"
#include "shell/Cues.h"
#include "world/Globals.h"
#include "world/Tuning.h"

namespace {

constexpr int watcherPriority = -20; // the nice value SDL gives its device thread

// Opens the scene's device, and lets a pushed key reach the very next pass.
void openDevice(Speaker& speaker) {
    SDL_SetHint(SDL_HINT_POLL_SENTINEL, "0");
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", "/dev/null", 1);
    if (!openSpeaker(speaker)) {
        throw std::runtime_error(SDL_GetError());
    }
}

// The player as the scene built it, standing on its block.
struct Standing {
    double x;
    double y;

    explicit Standing(const Player& player) : x(player.x), y(player.y) {}
    void restore(Player& player) const {
        player.x = x;
        player.y = y;
        player.jumpTimer = 0.0;
        player.jumpCount = 0;
    }
};

void pushKey(SDL_Scancode key) {
    SDL_Event event{};
    event.type = SDL_KEYDOWN;
    event.key.keysym.scancode = key;
    SDL_PushEvent(&event);
}

// A Playing pass that jumps, and so queues the jump's sound for the device,
// against one whose key does nothing, in the same iterations; and the cue
// step alone, which is all that differs between the two, in batches that
// the clock's own cost does not swamp: with nothing heard, and with a jump.
void soundInPass(benchmark::State& state) {
    constexpr int batch = 64;
    Scene scene(5);
    openDevice(scene.game.speaker);
    scene.pass(); // the first pass claims the block the player stands on
    Player& player = scene.game.player;
    const Standing standing(player);
    double jumping = 0.0;
    double still = 0.0;
    double quietCue = 0.0;
    double heardCue = 0.0;
    for (auto _ : state) {
        pushKey(SDL_SCANCODE_SPACE);
        jumping += secondsOf([&] { scene.pass(); });
        if (!scene.game.heard.test(static_cast<std::size_t>(Sound::Jump))) {
            state.SkipWithError("the jumping pass queued no jump");
            return;
        }
        standing.restore(player);
        pushKey(SDL_SCANCODE_X);
        still += secondsOf([&] { scene.pass(); });
        standing.restore(player);

        quietCue += secondsOf([&] {
            for (int i = 0; i < batch; ++i) {
                const Before before = listen(scene.game);
                hear(scene.game, before);
            }
        });
        heardCue += secondsOf([&] {
            for (int i = 0; i < batch; ++i) {
                const Before before = listen(scene.game);
                player.jumpTimer = jumpDuration - deltaTime; // as a jump leaves it
                hear(scene.game, before);
                player.jumpTimer = 0.0;
            }
        });
    }
    state.counters["jumping_pass"] = perPass(jumping);
    state.counters["still_pass"] = perPass(still);
    state.counters["pass_ratio"] = jumping / still;
    state.counters["quiet_cue"] = perPass(quietCue / batch);
    state.counters["heard_cue"] = perPass(heardCue / batch);
    state.counters["heard_more"] = perPass((heardCue - quietCue) / batch);
}

// The callback's work for one device buffer at the loudest: every voice
// busy, each sound started again as soon as it ends. Against the buffer's
// length in real time, the share of a core the device thread takes.
void mixBuffer(benchmark::State& state) {
    Mixer mixer(preferredRate);
    std::vector<Sample> buffer(bufferLength);
    double mixing = 0.0;
    for (auto _ : state) {
        for (std::size_t i = 0; i < maxVoices; ++i) {
            mixer.start(static_cast<Sound>(i % soundCount)); // left out where every voice is busy
        }
        mixing += secondsOf([&] { mixer.mix(buffer); });
        benchmark::DoNotOptimize(buffer.data());
    }
    const double bufferSeconds = static_cast<double>(bufferLength) / preferredRate;
    const double perBuffer = mixing / static_cast<double>(state.iterations());
    state.counters["per_buffer_us"] = perBuffer * 1e6;
    state.counters["buffer_ms"] = bufferSeconds * 1e3;
    state.counters["core_share"] = perBuffer / bufferSeconds;
}

// What the device's thread does once at start-up, beside the first frame:
// every sound of the table synthesised at the device's rate.
void synthesis(benchmark::State& state) {
    for (auto _ : state) {
        Mixer mixer(preferredRate);
        benchmark::DoNotOptimize(mixer.sounds.data());
    }
}

// From the start of the pass that jumps to the moment the device's callback
// takes the jump's sound, whose first sample after the silent one is not
// zero, into the buffer it hands the device at once. Trials start at random
// moments of the device's cycle. SDL raises its device thread's priority;
// this thread, which watches it, gets the same where it may (as root), so
// that on a loaded machine the figure is not the watcher's own wait for a core.
void jumpLatency(benchmark::State& state) {
    const int priority = getpriority(PRIO_PROCESS, 0); // on Linux, this thread's
    setpriority(PRIO_PROCESS, 0, watcherPriority);
    using Clock = std::chrono::steady_clock;
    constexpr int trials = 200;
    Scene scene(5);
    openDevice(scene.game.speaker);
    scene.pass();
    Player& player = scene.game.player;
    const Standing standing(player);
    std::mt19937 random(1);
    std::uniform_int_distribution<int> phase(0, 11'000); // microseconds, over a buffer
    std::vector<double> latencies;
    for (auto _ : state) {
        for (int i = 0; i < trials; ++i) {
            std::this_thread::sleep_for(std::chrono::microseconds(phase(random)));
            pushKey(SDL_SCANCODE_SPACE);
            const Clock::time_point start = Clock::now();
            scene.pass();
            if (!scene.game.heard.test(static_cast<std::size_t>(Sound::Jump))) {
                setpriority(PRIO_PROCESS, 0, priority);
                state.SkipWithError("the jumping pass queued no jump");
                return;
            }
            while (scene.game.speaker.toStart.load() != 0) {
                std::this_thread::yield();
            }
            latencies.push_back(std::chrono::duration<double>(Clock::now() - start).count());
            standing.restore(player);
        }
    }
    setpriority(PRIO_PROCESS, 0, priority);
    std::sort(latencies.begin(), latencies.end());
    state.counters["median_ms"] = latencies[latencies.size() / 2] * 1e3;
    state.counters["p95_ms"] = latencies[latencies.size() * 95 / 100] * 1e3;
    state.counters["max_ms"] = latencies.back() * 1e3;
    state.counters["buffer_ms"] = 1e3 * bufferLength / preferredRate;
}

} // namespace

BENCHMARK(soundInPass)->Name("SoundInPass")->Unit(benchmark::kMicrosecond);
BENCHMARK(mixBuffer)->Name("MixBuffer")->Unit(benchmark::kMicrosecond);
BENCHMARK(synthesis)->Name("Synthesis")->Unit(benchmark::kMillisecond);
BENCHMARK(jumpLatency)->Name("JumpLatency")->Iterations(1)->Unit(benchmark::kMillisecond);
