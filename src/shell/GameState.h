// The game's four states and the flag that unlocks the debug keys. The main
// loop is the only writer of both.
#pragma once

#include <cstdint>

// A plain 32-bit value rather than a closed set: the loop must recognise a
// value outside the four and stop safely.
enum class State : std::uint32_t { Start = 0, Playing = 1, GameOver = 2, Exit = 3 };

extern State GameState;
extern bool debugMode;
