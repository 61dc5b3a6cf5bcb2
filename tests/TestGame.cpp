#include "TestGame.h"

#include "shell/GameState.h"
#include "world/BlockField.h"
#include "world/DeltaTime.h"
#include "world/Random.h"

namespace {

std::uint32_t resetGlobals(std::uint32_t seed) {
    if (SDL_WasInit(SDL_INIT_EVENTS) == 0 && SDL_InitSubSystem(SDL_INIT_EVENTS) != 0) {
        ADD_FAILURE() << "SDL_InitSubSystem: " << SDL_GetError();
    }
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    GameState = State::Start;
    debugMode = false;
    deltaTime = 0.0;
    spawnTimer = 0.0;
    seedRandom(seed);
    return seed;
}

} // namespace

TestGame::TestGame(int width, int height, std::uint32_t seed)
    : canvas(width, height), game((resetGlobals(seed), nullptr), canvas.renderer()) {
    game.out = std::tmpfile();
}

TestGame::~TestGame() {
    std::fclose(game.out);
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
}

PassResult TestGame::pass(double dt) {
    deltaTime = dt;
    return runPass(game, keys.data());
}

void TestGame::push(const SDL_Event& event) {
    SDL_Event copy = event;
    if (SDL_PushEvent(&copy) != 1) {
        ADD_FAILURE() << "SDL_PushEvent: " << SDL_GetError();
    }
}

void TestGame::pressKey(SDL_Scancode key) {
    SDL_Event event{};
    event.type = SDL_KEYDOWN;
    event.key.keysym.scancode = key;
    push(event);
}

void TestGame::pushResize(int width, int height) {
    SDL_Event event{};
    event.type = SDL_WINDOWEVENT;
    event.window.event = SDL_WINDOWEVENT_RESIZED;
    event.window.data1 = width;
    event.window.data2 = height;
    push(event);
}

std::string TestGame::takeOutput() {
    std::fflush(game.out);
    std::string text;
    std::rewind(game.out);
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, game.out)) > 0) {
        text.append(buffer, n);
    }
    // Start afresh so the next call returns only what follows.
    std::fclose(game.out);
    game.out = std::tmpfile();
    return text;
}
