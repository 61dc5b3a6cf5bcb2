// The world's process-wide values and their reset. The random generator's
// state is the world's too, but only world/Random.cpp touches it.
#pragma once

#include <cstdint>

// The length of the previous pass of the main loop, in seconds. The frame
// clock writes it; every time-dependent change of the world is scaled by it.
extern double deltaTime;

// Seconds until the block field spawns its next block; 0 at the start, so a
// run spawns at once.
extern double spawnTimer;

// Puts the values above back to where a process starts them, and seeds the
// random generator with seed. A value added here belongs in it too.
void resetWorld(std::uint32_t seed);
