#include "shell/Game.h"

#include <cstdlib>
#include <cstring>
#include <optional>

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

// The game whose final score is owed, printed should the process end before
// its Exit pass: one game per process, from a start that succeeded.
const Game* owingFinalScore = nullptr;

void printFinalLine(const Game& game) {
    printFinalScore(game.out, game.player.score, game.terminalColumns);
    std::fflush(game.out);
    owingFinalScore = nullptr;
}

void printOwedFinalScore() {
    if (owingFinalScore != nullptr) {
        printFinalLine(*owingFinalScore);
    }
}

std::optional<Situation> situationOf(State state, bool paused) {
    switch (state) {
    case State::Start:
        return Situation::Start;
    case State::Playing:
        return paused ? Situation::Paused : Situation::Playing;
    case State::GameOver:
        return Situation::GameOver;
    default:
        return std::nullopt;
    }
}

// Only a resizable window goes to full screen: the page's keeps the drawing
// buffer of its fixed size, and its full screen is the page's own.
void switchFullscreen(SDL_Window* window) {
    if (window == nullptr || (SDL_GetWindowFlags(window) & SDL_WINDOW_RESIZABLE) == 0) {
        return;
    }
    const bool full = (SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN_DESKTOP) ==
                      SDL_WINDOW_FULLSCREEN_DESKTOP;
    SDL_SetWindowFullscreen(window, full ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP);
}

void playingPass(Game& game, Action action, const Uint8* keys) {
    actOnWorld(action, game.player, game.blocks, game.out);
    applyHeldKeys(game.pads.heldKeys(keys), game.player, game.blocks);
    game.player.update();
    if (!game.player.isAlive) {
        // Death wins over an exit asked for earlier in the same pass.
        GameState = State::GameOver;
    }
    updateBlocks(game.blocks, game.renderer);
}

// The picture of the state the pass was in; a paused run's frame under PAUSED.
void renderPicture(Game& game, State state) {
    game.shown = state;
    game.shownDraws = randomGeneratorState();
    switch (state) {
    case State::Start:
        renderStartScreen(game.renderer);
        break;
    case State::Playing:
        if (game.paused) {
            renderPausedScreen(game.blocks, game.renderer, game.player);
        } else {
            renderPlayFrame(game.blocks, game.renderer, game.player);
        }
        break;
    case State::GameOver:
        renderGameOverScreen(game.renderer);
        break;
    default:
        break;
    }
}

// The timing step and the status line, at the end of every pass that is
// neither paused, nor a resize, nor the last.
void endPass(Game& game) {
    updateDeltaTime();
    printStatusLine(game.out,
                    {deltaTime, game.player.score, static_cast<std::uint32_t>(GameState),
                     game.blocks.size(), spawnTimer, debugMode},
                    game.terminalColumns);
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

Game::~Game() {
    if (owingFinalScore == this) {
        owingFinalScore = nullptr;
    }
}

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
    std::unique_ptr<Game> game = std::make_unique<Game>(window, renderer);
    static const bool registered = std::atexit(printOwedFinalScore) == 0;
    if (registered) {
        owingFinalScore = game.get();
    }
    return game;
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
    if (state == State::Exit) {
        printFinalLine(game);
        return PassResult::Exit;
    }
    const std::optional<Situation> situation = situationOf(state, game.paused);
    if (!situation) {
        printCriticalError(game.out, static_cast<std::uint32_t>(state));
        GameState = State::Exit;
        endPass(game);
        return PassResult::Continue;
    }

    const Action action = event != nullptr ? actionOf(*situation, *event, debugMode) : Action::None;
    switch (action) {
    case Action::Resize:
        // A resize pass only takes the new size: no update, no timing. A
        // paused run shows its picture at the new size.
        windowWidth = event->window.data1;
        windowHeight = event->window.data2;
        if (game.paused) {
            renderPictureAgain(game);
        }
        return PassResult::Continue;
    case Action::Redraw:
        renderPictureAgain(game);
        return PassResult::Continue;
    case Action::Pause:
        // The world stays as the last frame showed it, and so does the frame.
        game.paused = true;
        game.shown = State::Playing;
        game.speaker.hush();
        renderPictureAgain(game);
        return PassResult::Continue;
    case Action::Resume:
        // The time paused is no frame time: the next pass measures from now.
        game.paused = false;
        resumeFrameClock();
        return PassResult::Continue;
    case Action::Quit:
        // The rest of the pass still runs; the next one exits.
        GameState = State::Exit;
        game.paused = false;
        break;
    case Action::BeginRun:
        GameState = State::Playing;
        break;
    case Action::SwitchDebug:
        debugMode = !debugMode;
        break;
    case Action::Mute:
        game.muted = !game.muted;
        break;
    case Action::Fullscreen:
        switchFullscreen(game.window);
        break;
    default:
        break;
    }
    if (*situation == Situation::Paused) {
        return PassResult::Continue;
    }
    if (state == State::Playing) {
        playingPass(game, action, keys);
    }
    renderPicture(game, state);
    hear(game, before);
    endPass(game);
    return PassResult::Continue;
}

void renderPictureAgain(Game& game) {
    const std::uint64_t runDraws = randomGeneratorState();
    setRandomGeneratorState(game.shownDraws);
    renderPicture(game, game.shown);
    setRandomGeneratorState(runDraws);
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
