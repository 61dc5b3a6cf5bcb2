#include "shell/Game.h"

#include <cstdlib>
#include <cstring>

#include <SDL.h>

#include "render/Globals.h"
#include "render/PlayFrame.h"
#include "render/Screens.h"
#include "shell/Console.h"
#include "shell/Cues.h"
#include "shell/FrameClock.h"
#include "shell/Globals.h"
#include "shell/Input.h"
#include "world/BlockField.h"
#include "world/Globals.h"
#include "world/Random.h"
#include "world/Tuning.h"

namespace {

constexpr const char* windowTitle = "Skerrion";

bool isResize(const SDL_Event* event) {
    return event != nullptr && event->type == SDL_WINDOWEVENT &&
           event->window.event == SDL_WINDOWEVENT_RESIZED;
}

bool isKeyDown(const SDL_Event* event, SDL_Scancode key) {
    return event != nullptr && event->type == SDL_KEYDOWN && event->key.keysym.scancode == key;
}

bool isExitRequest(const SDL_Event* event) {
    return (event != nullptr && event->type == SDL_QUIT) || isKeyDown(event, SDL_SCANCODE_Q) ||
           isKeyDown(event, SDL_SCANCODE_ESCAPE);
}

void playingPass(Game& game, const SDL_Event* event, const Uint8* keys) {
    if (event != nullptr) {
        if (event->type == SDL_QUIT) {
            GameState = State::Exit;
        } else if (event->type == SDL_KEYDOWN) {
            handlePlayingKey(event->key.keysym.scancode, game.player, game.blocks, game.out);
        }
    }
    applyHeldKeys(game.pads.heldKeys(keys), game.player, game.blocks);
    game.player.update();
    if (!game.player.isAlive) {
        // Death wins over an exit asked for earlier in the same pass.
        GameState = State::GameOver;
    }
    updateBlocks(game.blocks, game.renderer);
    renderPlayFrame(game.blocks, game.renderer, game.player);
}

// The offscreen and dummy drivers show nothing. SDL falls back to them when
// it finds no display, and a game nobody can see would run forever.
bool showsNothing(const char* driver) {
    return driver == nullptr || std::strcmp(driver, "offscreen") == 0 ||
           std::strcmp(driver, "dummy") == 0;
}

bool driverChosenByUser() {
    const char* requested = SDL_GetHint(SDL_HINT_VIDEODRIVER);
    return requested != nullptr && requested[0] != '\0';
}

std::unique_ptr<Game> startFailed(const char* what) {
    std::fprintf(stderr, "Skerrion: %s: %s\n", what, SDL_GetError());
    return nullptr;
}

} // namespace

Game::Game(SDL_Window* window, SDL_Renderer* renderer)
    : window(window), renderer(renderer), blocks{floorBlock(renderer)},
      player(playerStartX, playerStartY, playerCellSize, true, defaultGlitchOffset, blocks,
             renderer) {}

std::unique_ptr<Game> startGame(Uint32 windowFlags) {
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        return startFailed("could not start SDL video");
    }
    if (showsNothing(SDL_GetCurrentVideoDriver()) && !driverChosenByUser()) {
        std::fprintf(stderr, "Skerrion: no display available (is DISPLAY or WAYLAND_DISPLAY "
                             "set?)\n");
        return nullptr;
    }
    SDL_Window* window =
        SDL_CreateWindow(windowTitle, SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, windowWidth,
                         windowHeight, windowFlags);
    if (window == nullptr) {
        return startFailed("could not open the window");
    }
    SDL_Renderer* renderer = createRenderer(window);
    if (renderer == nullptr) {
        return startFailed("could not create a renderer");
    }
    seedRandom(static_cast<std::uint32_t>(wallClockNanoseconds()));
    return std::make_unique<Game>(window, renderer);
}

SDL_Renderer* createRenderer(SDL_Window* window) {
    // No vertical sync: the loop runs as fast as it can and scales by time.
    SDL_Renderer* renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED);
    if (renderer == nullptr) {
        // No GPU driver or a remote display: draw in software instead.
        renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
    }
    return renderer;
}

void useRenderer(Game& game, SDL_Renderer* renderer) {
    game.renderer = renderer;
    game.player.renderer = renderer;
    for (Block& block : game.blocks) {
        block.renderer = renderer;
    }
}

PassResult runPass(Game& game, const Uint8* keys) {
    // The pass's event, or null when the queue held none but the pads' own.
    SDL_Event polled;
    const SDL_Event* event = pollPassEvent(game.pads, polled) ? &polled : nullptr;
    const Before before = listen(game);

    const State state = GameState;
    const bool takesResize =
        state == State::Start || state == State::Playing || state == State::GameOver;
    if (takesResize && isResize(event)) {
        // A resize pass only takes the new size: no update, no frame, no timing.
        windowWidth = event->window.data1;
        windowHeight = event->window.data2;
        return PassResult::Continue;
    }
    // In debug mode M prints the blocks instead.
    if (!debugMode && isKeyDown(event, SDL_SCANCODE_M)) {
        game.muted = !game.muted;
    }

    switch (state) {
    case State::Start:
        if (isExitRequest(event)) {
            GameState = State::Exit;
        } else if (isKeyDown(event, SDL_SCANCODE_SPACE)) {
            GameState = State::Playing;
        }
        renderStartScreen(game.renderer);
        break;
    case State::Playing:
        playingPass(game, event, keys);
        break;
    case State::GameOver:
        if (isExitRequest(event) || isKeyDown(event, SDL_SCANCODE_SPACE)) {
            GameState = State::Exit;
        }
        renderGameOverScreen(game.renderer);
        break;
    case State::Exit:
        printFinalScore(game.out, game.player.score, game.terminalColumns);
        std::fflush(game.out);
        return PassResult::Exit;
    default:
        printCriticalError(game.out, static_cast<std::uint32_t>(state));
        GameState = State::Exit;
        break;
    }

    hear(game, before);
    updateDeltaTime();
    printStatusLine(game.out,
                    {deltaTime, game.player.score, static_cast<std::uint32_t>(GameState),
                     game.blocks.size(), spawnTimer, debugMode},
                    game.terminalColumns);
    return PassResult::Continue;
}

void resetProcessState(std::uint32_t seed) {
    resetWorld(seed);
    resetRender();
    resetShell();
}

void shutdown(SDL_Window* window, SDL_Renderer* renderer) {
    SDL_DestroyRenderer(renderer);
    SDL_DestroyWindow(window);
    std::exit(0);
}
