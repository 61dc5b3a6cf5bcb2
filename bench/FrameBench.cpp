// Whole passes of the main loop on SDL's software renderer at 700 x 700,
// each timed side by side with its baselines in the same iterations. The
// times are the thread's CPU time: the game and SDL's software renderer run
// on this one thread, and time lost to other processes on a shared machine
// is left out instead of landing on whichever part it happens to hit.
#include <benchmark/benchmark.h>

#include "Scene.h"
#include "ThreadTime.h"
#include "shell/Console.h"
#include "world/BlockField.h"
#include "world/Globals.h"

namespace {

// A Playing pass against the same frame's SDL calls alone and against a
// bare clear and present. What the pass costs beyond its SDL calls is the
// game's own work: the event poll, the world step, the list copy, the
// drawing arithmetic and the status line.
void playingPass(benchmark::State& state) {
    const auto blockCount = static_cast<std::size_t>(state.range(0));
    Scene scene(blockCount);
    scene.pass(); // the first pass claims the block the player stands on
    const FrameCalls calls(scene);
    double pass = 0.0;
    double sdl = 0.0;
    double bare = 0.0;
    for (auto _ : state) {
        const double seconds = secondsOf([&] { scene.pass(); });
        state.SetIterationTime(seconds);
        pass += seconds;
        sdl += secondsOf([&] { calls.replay(scene.renderer); });
        bare += secondsOf([&] { bareFrame(scene.renderer); });
    }
    if (!scene.intact(blockCount) || GameState != State::Playing) {
        state.SkipWithError(
            "the run left the Playing state: the figures would measure another one");
    }
    state.counters["sdl_calls"] = perPass(sdl);
    state.counters["bare"] = perPass(bare);
    state.counters["own_share"] = (pass - sdl) / pass;
    state.counters["vs_sdl"] = pass / sdl;
    state.counters["vs_bare"] = pass / bare;
}

// A pass of the start or the game-over screen against the bare frame.
void screenPass(benchmark::State& state, State screen) {
    Scene scene(1, screen);
    double pass = 0.0;
    double bare = 0.0;
    for (auto _ : state) {
        const double seconds = secondsOf([&] { scene.pass(); });
        state.SetIterationTime(seconds);
        pass += seconds;
        bare += secondsOf([&] { bareFrame(scene.renderer); });
    }
    if (GameState != screen) {
        state.SkipWithError("the screen was left");
    }
    state.counters["bare"] = perPass(bare);
    state.counters["vs_bare"] = pass / bare;
}

// Two parts of the game's own work in a Playing pass, alone.
void listCopy(benchmark::State& state) {
    Scene scene(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        BlockList copy = scene.game.blocks;
        benchmark::DoNotOptimize(copy);
    }
}

// The status line into /dev/null off a terminal, and in the same iterations
// as it is printed on a terminal 80 columns wide: cut, its tabs spelled out,
// the row padded. Timed in batches, so the clock's own cost stays small; an
// iteration is one batch of each.
void statusLine(benchmark::State& state) {
    constexpr int batch = 16;
    constexpr int terminalColumns = 80;
    Scene scene(5);
    const Game& game = scene.game;
    const StatusFields fields{deltaTime,          game.player.score, 1,
                              game.blocks.size(), spawnTimer,        debugMode};
    const auto printBatch = [&](int columns) {
        for (int i = 0; i < batch; ++i) {
            printStatusLine(game.out, fields, columns);
        }
    };
    double offTerminal = 0.0;
    double onTerminal = 0.0;
    for (auto _ : state) {
        const double off = secondsOf([&] { printBatch(0); });
        const double on = secondsOf([&] { printBatch(terminalColumns); });
        state.SetIterationTime(off + on);
        offTerminal += off;
        onTerminal += on;
    }
    state.counters["off_terminal"] = perPass(offTerminal / batch);
    state.counters["on_terminal"] = perPass(onTerminal / batch);
    state.counters["on_vs_off"] = onTerminal / offTerminal;
}

} // namespace

BENCHMARK(playingPass)
    ->Name("PlayingPass")
    ->Arg(5)
    ->Arg(50)
    ->Arg(500)
    ->Arg(5000)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(screenPass, start, State::Start)
    ->Name("StartScreenPass")
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(screenPass, game_over, State::GameOver)
    ->Name("GameOverScreenPass")
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(listCopy)
    ->Name("ListCopy")
    ->Arg(5)
    ->Arg(50)
    ->Arg(500)
    ->Arg(5000)
    ->Unit(benchmark::kNanosecond);
BENCHMARK(statusLine)->Name("StatusLine")->UseManualTime()->Unit(benchmark::kNanosecond);
