// The world step of a Playing pass, the player's update and the block
// field's: its cost must grow in proportion to the number of blocks.
#include <benchmark/benchmark.h>

#include "Scene.h"
#include "world/BlockField.h"

namespace {

void worldStep(benchmark::State& state) {
    const auto blockCount = static_cast<std::size_t>(state.range(0));
    Scene scene(blockCount);
    for (auto _ : state) {
        scene.nextStep();
        scene.game.player.update();
        updateBlocks(scene.game.blocks, scene.renderer);
    }
    if (!scene.intact(blockCount)) {
        state.SkipWithError("the world lost its shape: the figures would measure another one");
    }
    state.SetComplexityN(state.range(0));
    // Time per block, so that flat scaling shows as a constant.
    state.counters["per_block"] = benchmark::Counter(static_cast<double>(blockCount),
                                                     benchmark::Counter::kIsIterationInvariantRate |
                                                         benchmark::Counter::kInvert);
}

} // namespace

BENCHMARK(worldStep)
    ->Name("WorldStep")
    ->Arg(5)
    ->Arg(50)
    ->Arg(500)
    ->Arg(5000)
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kNanosecond);
