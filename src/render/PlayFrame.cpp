#include "render/PlayFrame.h"

#include <utility>

#include "render/Colours.h"
#include "render/Score.h"

void renderPlayFrame(BlockList blocks, SDL_Renderer* renderer, Player& player) {
    drawPlayFrame(std::move(blocks), renderer, player);
    SDL_RenderPresent(renderer);
}

void drawPlayFrame(BlockList blocks, SDL_Renderer* renderer, Player& player) {
    setDrawColour(renderer, black);
    SDL_RenderClear(renderer);
    // Newest first; the fills add up whatever the order.
    for (Block& block : blocks) {
        block.render();
    }
    player.render();
    renderScore(renderer, static_cast<std::int32_t>(player.score));
}
