#include "shell/Globals.h"

#include "shell/FrameClock.h"

State GameState = State::Start;
bool debugMode = false;

// Taken during static initialisation, in this order, so the first pass
// measures the whole start-up.
std::int64_t previousFrameTime = monotonicNanoseconds();
std::int64_t currentFrameTime = monotonicNanoseconds();

void resetShell() {
    GameState = State::Start;
    debugMode = false;
    previousFrameTime = monotonicNanoseconds();
    currentFrameTime = monotonicNanoseconds();
}
