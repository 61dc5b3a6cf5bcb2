// The world's process-wide values. shell/Globals.h puts every one of them,
// and those of the other folders, back to the start of a run.
#pragma once

#include <cstdint>

// The length of the previous pass of the main loop, in seconds. The frame
// clock writes it; every time-dependent change of the world is scaled by it.
extern double deltaTime;

// Seconds until the block field spawns its next block; 0 at the start, so a
// run spawns at once.
extern double spawnTimer;

// The random generator's state (world/Random.h draws from it).
extern std::uint64_t randomState;
