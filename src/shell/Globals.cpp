#include "shell/Globals.h"

#include "render/Globals.h"
#include "shell/FrameClock.h"
#include "world/Globals.h"
#include "world/Random.h"

State GameState = State::Start;
bool debugMode = false;

// Taken during static initialisation, in this order, so the first pass
// measures the whole start-up.
std::int64_t previousFrameTime = monotonicNanoseconds();
std::int64_t currentFrameTime = monotonicNanoseconds();

void resetGlobals(std::uint32_t seed) {
    GameState = State::Start;
    debugMode = false;
    previousFrameTime = monotonicNanoseconds();
    currentFrameTime = monotonicNanoseconds();
    deltaTime = 0.0;
    spawnTimer = 0.0;
    seedRandom(seed);
    windowWidth = initialWindowSize;
    windowHeight = initialWindowSize;
}
