// The one conversion from a drawing coordinate to a pixel.
#pragma once

#include <cstdint>

// Truncates toward zero. Values beyond the 32-bit range, which debug moves,
// a player far above the window or a huge window can produce, saturate at its
// limits and NaN becomes 0, where a plain cast would be undefined behaviour.
std::int32_t toPixel(double value);
