// The drawing's process-wide values: the window's size in pixels. The shell
// replaces it on every resize; every drawing routine reads it afresh, so a
// resize shows in the next frame.
#pragma once

#include <cstdint>

inline constexpr std::int32_t initialWindowSize = 700;

extern std::int32_t windowWidth;
extern std::int32_t windowHeight;

// Puts the values above back to where a process starts them. A value added
// here belongs in it too.
void resetRender();
