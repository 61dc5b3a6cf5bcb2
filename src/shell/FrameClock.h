// The frame clock: how long each pass of the main loop took, published as
// deltaTime. Clock readings are in nanoseconds, counted in 100-ns ticks.
#pragma once

#include <cstdint>

extern std::int64_t currentFrameTime;  // the latest timing step
extern std::int64_t previousFrameTime; // the one before it

// Frames are timed with the monotonic clock: a wall clock set back or
// forward would hand the world a negative step or one of hours.
std::int64_t monotonicNanoseconds();
// The wall clock, for the random seed only.
std::int64_t wallClockNanoseconds();

// The timing step at the end of a pass.
void updateDeltaTime();
