#include "world/BlockField.h"

#include "world/Globals.h"
#include "world/Random.h"
#include "world/Tuning.h"

namespace {

constexpr double spawnX = 1.0; // a new block starts just outside the right edge

// Keep a margin of one block height free above and below a new block.
double randomSpawnY() {
    return (1.0 - blockHeight * 2.0) * randomFraction() + blockHeight;
}

} // namespace

Block floorBlock(SDL_Renderer* renderer) {
    return Block(0.0, 1.0 - blockHeight, 1.0, blockHeight, defaultGlitchOffset, renderer);
}

void updateBlocks(BlockList& blocks, SDL_Renderer* renderer) {
    const double step = (scrollSpeed * -1.0) * deltaTime;
    for (Block& block : blocks) {
        block.moveX(step);
    }
    blocks.remove_if([](const Block& block) { return block.isOffScreen(); });

    if (spawnTimer > 0.0) {
        spawnTimer = spawnTimer - deltaTime;
        return;
    }
    // The timer is reset, not counted down, on a spawning pass.
    spawnTimer = spawnInterval;
    blocks.emplace_front(spawnX, randomSpawnY(), blockWidth, blockHeight, defaultGlitchOffset,
                         renderer);
}
