// The frame clock: how long each pass of the main loop took, published as
// deltaTime. Clock readings are in nanoseconds, counted in 100-ns ticks; the
// stamps live in shell/Globals.h.
#pragma once

#include <cstdint>

// Frames are timed with the monotonic clock: a wall clock set back or
// forward would hand the world a negative step or one of hours.
std::int64_t monotonicNanoseconds();
// The wall clock, for the random seed only.
std::int64_t wallClockNanoseconds();

// The timing step at the end of a pass.
void updateDeltaTime();

// Takes a fresh frame stamp, so that the next timing step measures from now.
// After a pause in which no pass ran (a web page while it is hidden) the world
// must go on from where it was, not jump by the whole pause.
void resumeFrameClock();
