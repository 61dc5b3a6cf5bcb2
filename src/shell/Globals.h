// The shell's process-wide values: the game's state, the debug flag and the
// frame clock's stamps. The main loop is the only writer of the state and
// the flag. world/Globals.h and render/Globals.h hold the rest.
#pragma once

#include <cstdint>

// A plain 32-bit value rather than a closed set: the loop must recognise a
// value outside the four and stop safely.
enum class State : std::uint32_t { Start = 0, Playing = 1, GameOver = 2, Exit = 3 };

extern State GameState;
extern bool debugMode;

// Clock readings in nanoseconds: the latest timing step and the one before.
extern std::int64_t currentFrameTime;
extern std::int64_t previousFrameTime;

// Puts the values above back to where a process starts them, the stamps
// taken now. A value added here belongs in it too.
void resetShell();
