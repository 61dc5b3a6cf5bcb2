#include "Scene.h"

#include <stdexcept>

#include "render/Colours.h"
#include "render/Globals.h"
#include "render/Score.h"
#include "world/BlockField.h"
#include "world/Globals.h"
#include "world/Random.h"
#include "world/Tuning.h"

namespace {

constexpr double frameStep = 1.0 / 60.0; // seconds; the sign alternates
constexpr std::uint32_t seed = 1;

// The block the player stands on, well inside the window.
constexpr double standX = 0.45;
constexpr double standY = 0.85;
// The other blocks fill a band along the top, far above the player's head.
constexpr int skyColumns = 5;
constexpr int skyRows = 4;
constexpr double skyTop = 0.05;

} // namespace

Scene::Scene(std::size_t blockCount, State state)
    : headless(initialWindowSize, initialWindowSize, seed, std::fopen("/dev/null", "w")) {
    if (!headless.started()) {
        throw std::runtime_error(SDL_GetError());
    }
    // The pass polls SDL's event queue, and each poll reads the pads as well,
    // as in the game: the subsystem of game controllers.
    if (SDL_WasInit(SDL_INIT_GAMECONTROLLER) == 0 &&
        SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) {
        throw std::runtime_error(SDL_GetError());
    }
    // A pad plugged in already stays closed: the passes read the keyboard alone.
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    GameState = state;
    spawnTimer = spawnInterval; // alternating steps never run it down

    game.blocks.clear();
    for (std::size_t i = 0; i + 1 < blockCount; ++i) {
        const double x = blockWidth * static_cast<double>(i % skyColumns);
        const double y = skyTop + blockHeight * static_cast<double>(i % skyRows);
        game.blocks.emplace_back(x, y, blockWidth, blockHeight, defaultGlitchOffset, renderer);
    }
    game.blocks.emplace_back(standX, standY, blockWidth, blockHeight, defaultGlitchOffset,
                             renderer);
    game.player.y = standY - game.player.h;
}

void Scene::nextStep() {
    // The pass's own timing step overwrites deltaTime, so the sign is kept here.
    forward = !forward;
    deltaTime = forward ? frameStep : -frameStep;
}

void Scene::pass() {
    nextStep();
    headless.pass(deltaTime);
}

bool Scene::intact(std::size_t blockCount) const {
    return game.blocks.size() == blockCount && game.player.isAlive;
}

FrameCalls::FrameCalls(Scene& scene)
    : player{}, score(static_cast<std::int32_t>(scene.game.player.score)) {
    // Drawing a copy leaves each block's rectangles in its scratch field.
    BlockList copy = scene.game.blocks;
    for (Block& block : copy) {
        block.render();
        blocks.push_back(block.glitchRects);
    }
    // The player's scratch keeps its last copy's pieces; the other two
    // copies have the same sizes and differ only by a few pixels' offset.
    scene.game.player.render();
    player = scene.game.player.figureRects;
}

void FrameCalls::replay(SDL_Renderer* renderer) const {
    setDrawColour(renderer, black);
    SDL_RenderClear(renderer);
    for (const std::array<SDL_Rect, 3>& rects : blocks) {
        SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_ADD);
        for (std::size_t k = 0; k < rects.size(); ++k) {
            setDrawColour(renderer, glitchCopyColours[k]);
            SDL_RenderFillRect(renderer, &rects[k]);
        }
        SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_NONE);
        setDrawColour(renderer, white);
    }
    SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_ADD);
    for (const Colour& colour : glitchCopyColours) {
        setDrawColour(renderer, colour);
        SDL_RenderFillRects(renderer, player.data(), static_cast<int>(player.size()));
    }
    SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_NONE);
    setDrawColour(renderer, hitboxPink);
    setDrawColour(renderer, white);
    // The score's own arithmetic, a dozen integer operations, counts as SDL
    // time here: far below what this measurement can resolve.
    renderScore(renderer, score);
    SDL_RenderPresent(renderer);
}

void bareFrame(SDL_Renderer* renderer) {
    setDrawColour(renderer, black);
    SDL_RenderClear(renderer);
    SDL_RenderPresent(renderer);
}
